#include "tree/LazyTreesDraw.h"

namespace zfw {

void TCustomLazyDrawTree::DoPaintNode(TLTPaintInfo& info)
{
    if (OnDrawNode)
        OnDrawNode(*this, info);
}

int TCustomLazyDrawTree::DoGetNodeWidth(PLazyNode node, TColumnIndex column)
{
    int width = 2 * FTextMargin;
    if (OnGetNodeWidth && node && node != RootNode()) {
        // Outside painting there is no canvas of the window: a recording one measures in the
        // tree's font.
        RecordingCanvas canvas(palette());
        canvas.setFont(font());
        OnGetNodeWidth(*this, canvas, node, column, width);
    }
    return std::max(width, 0);
}

QPoint TCustomLazyDrawTree::DoGetCellContentMargin(PLazyNode node, TColumnIndex column,
                                                   TLTCellContentMarginType marginType)
{
    QPoint margin(0, 0);
    if (OnGetCellContentMargin) {
        RecordingCanvas canvas(palette());
        canvas.setFont(font());
        OnGetCellContentMargin(*this, canvas, node, column, marginType, margin);
    }
    return margin;
}

}  // namespace zfw
