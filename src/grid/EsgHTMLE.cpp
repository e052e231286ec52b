#include "grid/EsgHTMLE.h"

namespace zfw {

QString HtmlToPlainText(const QString& text)
{
    QString s = text;
    s.replace(QStringLiteral("<BR>"), QStringLiteral("\r\n"), Qt::CaseInsensitive);
    s.replace(QStringLiteral("<HR>"), QStringLiteral("\r\n"), Qt::CaseInsensitive);

    QString out;
    out.reserve(s.size());
    qsizetype i = 0;
    while (i < s.size()) {
        const qsizetype open = s.indexOf(u'<', i);
        if (open < 0)
            break;
        const qsizetype close = s.indexOf(u'>', open + 1);
        if (close < 0)
            break;
        out += QStringView(s).mid(i, open - i);
        i = close + 1;
    }
    out += QStringView(s).mid(i);
    return out;
}

}  // namespace zfw
