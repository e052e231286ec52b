#pragma once
// Whole numbers as the M-Bus windows read them: an optional sign, then decimal digits, or
// hexadecimal digits after "$", "x" or "0x" (either case of the x). Text that is no whole
// number counts as -1, so it fails every range check.

#include <QStringView>
#include <QtGlobal>

#include <optional>

namespace zfw {

// 64-bit reading: decimal values must fit in 63 bits; hexadecimal up to 16 digits wrap into
// the signed range as a 64-bit pattern. nullopt when the text is no whole number.
std::optional<qint64> parseWholeNumber64(QStringView text);

// The 32-bit conversion of the program (parseIntText), -1 when the text is no whole number.
int wholeNumber(QStringView text);
// The 64-bit one, -1 when the text is no whole number.
qint64 wholeNumber64(QStringView text);

}  // namespace zfw
