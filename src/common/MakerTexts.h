#pragma once
// The maker's contact texts that generated description files carry (the GSD header box, the
// MIB's organisation and contact lines). One table, set when the program is built
// (ZFW_MAKER_* cache settings); an unset entry is empty.

#include <QString>

namespace zfw {

struct MakerTexts {
    QString company;
    QString street;
    QString town;     // postcode and town
    QString country;  // province and country
    QString phone;
    QString fax;
    QString email;  // support e-mail
    QString web;    // organisation (web address)
};

// The texts this program was built with.
const MakerTexts& builtInMakerTexts();

}  // namespace zfw
