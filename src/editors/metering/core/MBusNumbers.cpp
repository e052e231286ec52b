#include "editors/metering/core/MBusNumbers.h"

#include "common/IntText.h"
#include "common/TextUtil.h"

#include <limits>

namespace zfw {

std::optional<qint64> parseWholeNumber64(QStringView s)
{
    // Up to 16 hexadecimal digits give the 64-bit pattern; decimal must fit the signed range.
    const auto n = scanIntText(s, quint64(std::numeric_limits<qint64>::max()),
                               std::numeric_limits<quint64>::max());
    if (!n)
        return std::nullopt;
    return n->negative ? qint64(0 - n->magnitude) : qint64(n->magnitude);
}

int wholeNumber(QStringView text) { return parseIntText(text).value_or(-1); }

qint64 wholeNumber64(QStringView text) { return parseWholeNumber64(text).value_or(-1); }

}  // namespace zfw
