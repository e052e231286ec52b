#include "common/MakerTexts.h"

#ifndef ZFW_MAKER_COMPANY
#define ZFW_MAKER_COMPANY "Brenikcorp"
#endif
#ifndef ZFW_MAKER_STREET
#define ZFW_MAKER_STREET ""
#endif
#ifndef ZFW_MAKER_TOWN
#define ZFW_MAKER_TOWN ""
#endif
#ifndef ZFW_MAKER_COUNTRY
#define ZFW_MAKER_COUNTRY ""
#endif
#ifndef ZFW_MAKER_PHONE
#define ZFW_MAKER_PHONE ""
#endif
#ifndef ZFW_MAKER_FAX
#define ZFW_MAKER_FAX ""
#endif
#ifndef ZFW_MAKER_EMAIL
#define ZFW_MAKER_EMAIL ""
#endif

namespace zfw {

const MakerTexts& builtInMakerTexts()
{
    static const MakerTexts kTexts{
        QStringLiteral(ZFW_MAKER_COMPANY), QStringLiteral(ZFW_MAKER_STREET),
        QStringLiteral(ZFW_MAKER_TOWN),    QStringLiteral(ZFW_MAKER_COUNTRY),
        QStringLiteral(ZFW_MAKER_PHONE),   QStringLiteral(ZFW_MAKER_FAX),
        QStringLiteral(ZFW_MAKER_EMAIL),   QString::fromLatin1(ZFW_MAKER_WEB_HOST),
    };
    return kTexts;
}

}  // namespace zfw
