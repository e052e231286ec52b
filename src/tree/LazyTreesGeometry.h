#pragma once
// Scrolling arithmetic of the tree without a widget: offsets, scroll-bar settings, bringing a
// row into view and cutting a text rectangle to its width. The control feeds it its client size
// and ranges, so the rules are tested as a table.

#include "common/Alignment.h"

#include <cstdint>

namespace zfw {

// The offset brought into the range client - range .. 0 (the lower bound first, so content
// smaller than the client always gives 0).
int clampScrollOffset(int value, int clientExtent, std::int64_t range);

// What one scroll bar shows for a content of `range` pixels in a client of `clientExtent`.
struct TScrollBarSetting {
    bool visible = false;
    bool enabled = false;
    int maximum = 0;  // largest scroll position (range minus the page)
    int page = 0;
    int position = 0;
};
TScrollBarSetting computeScrollBar(bool barAllowed, bool alwaysVisible, int clientExtent,
                                   std::int64_t range, int offset);

// New vertical offset that brings a row with client-relative top/bottom into view, or the old
// one when it already is. `horizontalBarPending`: the bar that appears after this scroll will
// take the given height off the client.
struct TScrollIntoViewResult {
    bool scrolled = false;
    int offset = 0;
};
TScrollIntoViewResult scrollRowIntoView(int offset, int rowTop, int rowBottom, int clientHeight,
                                        bool center, int horizontalBarHeight);

// Cuts the cell [left, right) to a text of `width` pixels by alignment. With unclipped, text
// wider than the cell is left-aligned (right-aligned right to left).
void cutTextRect(int& left, int& right, int width, TAlignment alignment, bool unclipped,
                 bool rightToLeft);

}  // namespace zfw
