#include "grid/ExtUtil.h"

namespace zfw {

int GetCellTextKind(const QString& text, bool miniHtml)
{
    // The appended space makes a one-character text long enough for the prefix tests below
    // while an empty text stays too short.
    const QString s = text + u' ';
    if (s.size() < 2)
        return ctkPlain;
    if (s.at(0) == u'=')
        return ctkFormula;
    if (s.startsWith(u"|\\")) {
        // A packed text whose first code unit is "=": high byte 0, low byte "=".
        if (s.size() >= 5 && s.at(3) == u'=' && s.at(4).unicode() == 0)
            return ctkFormula;
        return ctkPackedWide;
    }
    if (s.startsWith(u"{\\"))
        return ctkRichText;
    if (!miniHtml)
        return ctkPlain;
    if (s.contains(u"</") || s.contains(u"<B") || s.contains(u"<I") || s.contains(u"<C"))
        return ctkMiniHtml;
    return ctkPlain;
}

QString PackWideText(const QString& wide)
{
    QString out;
    out.reserve(2 + 2 * wide.size());
    out += u"|\\";
    for (const QChar ch : wide) {
        out += QChar(char16_t(ch.unicode() >> 8));
        out += QChar(char16_t(ch.unicode() & 0xFF));
    }
    return out;
}

bool IsPackedWideText(const QString& text) { return text.startsWith(u"|\\"); }

QString UnpackWideText(const QString& text)
{
    if (!IsPackedWideText(text))
        return text;
    QString out;
    const qsizetype pairs = (text.size() - 2) / 2;
    out.reserve(pairs);
    for (qsizetype i = 0; i < pairs; ++i) {
        const char16_t hi = text.at(2 + 2 * i).unicode() & 0xFF;
        const char16_t lo = text.at(3 + 2 * i).unicode() & 0xFF;
        out += QChar(char16_t((hi << 8) | lo));
    }
    return out;
}

QString BackslashNToCR(const QString& text)
{
    QString s = text;
    s.replace(QStringLiteral("\\n"), QStringLiteral("\r"));
    return s;
}

QString CRToBackslashN(const QString& text)
{
    QString s = text;
    s.remove(u'\n');
    s.replace(u'\r', QStringLiteral("\\n"));
    return s;
}

int LineCount(const QString& text, bool countLines)
{
    if (!countLines)
        return 1;
    return 1 + int(text.count(u'\r'));
}

int ClampToLimits(int value, int lower, int upper)
{
    if (lower == upper)
        return value;
    if (lower > 0 && value < lower)
        return lower;
    if (upper > 0 && value > upper)
        return upper;
    return value;
}

QString ExtractNumberText(const QString& text, QChar thousandSep, QChar decimalSep)
{
    QString s = text.trimmed();
    if (s.isEmpty())
        return {};
    bool negative = s.startsWith(u'(') && s.endsWith(u')');
    auto isBody = [&](QChar c) {
        return (c >= u'0' && c <= u'9') || c == thousandSep || c == decimalSep || c == u'e'
               || c == u'E';
    };
    qsizetype from = 0;
    while (s.size() - from >= 2 && !isBody(s.at(from))) {
        if (s.at(from) == u'-')
            negative = true;
        ++from;
    }
    QString out;
    for (qsizetype i = from; i < s.size(); ++i) {
        const QChar c = s.at(i);
        if (c == thousandSep)
            continue;
        if (c == decimalSep)
            out += u'.';
        else if ((c >= u'0' && c <= u'9') || c == u'-' || c == u'.' || c == u'e' || c == u'E'
                 || c == u'+')
            out += c;
        else
            break;
    }
    return negative ? u'-' + out : out;
}

bool HtmlEscapeWithLink(const QString& text, const QString& upperPrefix, QString& result)
{
    if (!text.toUpper().contains(upperPrefix))
        return false;
    QString escaped = text;
    escaped.replace(u'<', QStringLiteral("&lt;")).replace(u'>', QStringLiteral("&gt;"));
    const qsizetype start = escaped.toUpper().indexOf(upperPrefix);
    auto isAddressChar = [](QChar c) {
        const char16_t u = c.unicode();
        return (u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z')
               || u == u'%' || u == u'(' || u == u')' || u == u'-' || u == u'.' || u == u'/'
               || u == u':' || u == u'@' || u == u'\\' || u == u'_' || u == u'{' || u == u'}';
    };
    qsizetype end = start;
    while (end < escaped.size() && isAddressChar(escaped.at(end)))
        ++end;
    const QString link = escaped.mid(start, end - start);
    result = escaped.left(start) + QStringLiteral("<a href=\"") + link + QStringLiteral("\">")
             + link + QStringLiteral("</a>") + escaped.mid(end);
    return true;
}

}  // namespace zfw

namespace zfw {

int ClassifyNumberText(const QString& text, QChar dec, QChar thou)
{
    if (text.isEmpty())
        return nkNotANumber;
    const auto isDigit = [](QChar c) { return c >= u'0' && c <= u'9'; };
    const auto isExp = [](QChar c) { return c == u'e' || c == u'E'; };
    bool integerShaped = true;
    bool groupingValid = true;
    bool exponentValid = true;
    int minus = 0;
    int decimals = 0;
    int exponents = 0;
    int lastThousand = -100;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'-') {
            ++minus;
            if (i > 0) {
                integerShaped = false;
                groupingValid = false;
            }
        } else if (!isDigit(c)) {
            integerShaped = false;
        }
        if (c == thou) {
            if (i - lastThousand <= 3)
                groupingValid = false;
            lastThousand = int(i);
            exponentValid = false;
        } else if (!isDigit(c) && c != u'-' && c != dec) {
            groupingValid = false;
        }
        if (c == dec)
            ++decimals;
        if (isExp(c)) {
            ++exponents;
            if (i == 0)
                exponentValid = false;
        }
        const bool numberChar = isDigit(c) || c == thou || c == dec || isExp(c) || c == u'+'
                                || c == u'-';
        if (!numberChar)
            exponentValid = false;
    }
    const QChar last = text.back();
    if (exponents > 1 || last == u'+' || last == u'-' || isExp(last))
        exponentValid = false;

    if (integerShaped)
        return nkInteger;
    int result = (!groupingValid || exponents > 0) ? nkNotANumber : nkDecimal;
    if (exponentValid && exponents > 0) {
        result = nkExponent;
        // The mantissa and the exponent may each carry a sign.
        if (minus == 2)
            minus = 1;
    }
    if (minus > 1 || decimals > 1)
        return nkNotANumber;
    return result;
}

QString StripUrlPrefix(const QString& text)
{
    qsizetype at = text.indexOf(QLatin1String("://"));
    if (at >= 0)
        return text.mid(at + 3);
    at = text.indexOf(QLatin1String("mailto:"));
    if (at >= 0)
        return text.mid(at + 7);
    return text;
}

}  // namespace zfw
