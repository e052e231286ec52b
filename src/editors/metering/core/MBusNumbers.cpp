#include "editors/metering/core/MBusNumbers.h"

#include "common/TextUtil.h"

#include <limits>

namespace zfw {

std::optional<qint64> parseWholeNumber64(QStringView s)
{
    qsizetype i = 0;
    const qsizetype n = s.size();
    while (i < n && s[i] == u' ')
        ++i;
    bool negative = false;
    if (i < n && (s[i] == u'-' || s[i] == u'+')) {
        negative = s[i] == u'-';
        ++i;
    }
    bool hex = false;
    if (i < n && (s[i] == u'$' || s[i] == u'x' || s[i] == u'X')) {
        hex = true;
        ++i;
    } else if (i + 1 < n && s[i] == u'0' && (s[i + 1] == u'x' || s[i + 1] == u'X')) {
        hex = true;
        i += 2;
    }
    quint64 value = 0;
    int digits = 0;
    for (; i < n; ++i) {
        const char16_t c = s[i].unicode();
        unsigned d;
        if (c >= u'0' && c <= u'9')
            d = c - u'0';
        else if (hex && c >= u'a' && c <= u'f')
            d = c - u'a' + 10;
        else if (hex && c >= u'A' && c <= u'F')
            d = c - u'A' + 10;
        else
            return std::nullopt;
        if (hex) {
            if (++digits > 16)
                return std::nullopt;
            value = value << 4 | d;
        } else {
            if (value > (quint64(std::numeric_limits<qint64>::max()) - d) / 10)
                return std::nullopt;
            value = value * 10 + d;
            ++digits;
        }
    }
    if (digits == 0)
        return std::nullopt;
    const qint64 v = qint64(value);
    return negative ? qint64(0 - quint64(v)) : v;
}

int wholeNumber(QStringView text) { return parseIntText(text).value_or(-1); }

qint64 wholeNumber64(QStringView text) { return parseWholeNumber64(text).value_or(-1); }

}  // namespace zfw
