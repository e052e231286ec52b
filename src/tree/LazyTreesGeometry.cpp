#include "tree/LazyTreesGeometry.h"

#include <algorithm>
#include <limits>

namespace zfw {

int clampScrollOffset(int value, int clientExtent, std::int64_t range)
{
    std::int64_t v = value;
    v = std::max<std::int64_t>(v, std::int64_t(clientExtent) - range);
    v = std::min<std::int64_t>(v, 0);
    return int(std::max<std::int64_t>(v, std::numeric_limits<int>::min()));
}

TScrollBarSetting computeScrollBar(bool barAllowed, bool alwaysVisible, int clientExtent,
                                   std::int64_t range, int offset)
{
    TScrollBarSetting s;
    if (!barAllowed)
        return s;
    const bool needed = clientExtent < range;
    if (!needed && !alwaysVisible)
        return s;
    s.visible = true;
    s.enabled = needed;
    s.page = std::max(clientExtent, 0);
    const std::int64_t maximum = std::max<std::int64_t>(range - s.page, 0);
    s.maximum = int(std::min<std::int64_t>(maximum, std::numeric_limits<int>::max()));
    s.position = std::clamp(-offset, 0, s.maximum);
    return s;
}

TScrollIntoViewResult scrollRowIntoView(int offset, int rowTop, int rowBottom, int clientHeight,
                                        bool center, int horizontalBarHeight)
{
    TScrollIntoViewResult r{false, offset};
    if (rowTop < 0) {
        r.offset = offset - rowTop + (center ? clientHeight / 2 : 0);
        r.scrolled = true;
    } else if (rowBottom > clientHeight || center) {
        r.offset = offset - rowBottom + (center ? clientHeight / 2 : clientHeight);
        r.offset -= horizontalBarHeight;
        r.scrolled = true;
    }
    return r;
}

void cutTextRect(int& left, int& right, int width, TAlignment alignment, bool unclipped,
                 bool rightToLeft)
{
    if (unclipped) {
        if (width > right - left - 1)
            alignment = rightToLeft ? taRightJustify : taLeftJustify;
    } else if (width >= right - left) {
        return;
    }
    switch (alignment) {
    case taLeftJustify: right = left + width - (unclipped ? 1 : 0); break;
    case taRightJustify: left = right - width; break;
    case taCenter:
        left = (left + right - width) / 2;
        right = left + width;
        break;
    }
}

}  // namespace zfw
