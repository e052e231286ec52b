#include "grid/FrameworkGridSelection.h"

#include <algorithm>

namespace zfw {

TGridRect FrameworkGridCursor::selection(const FrameworkGridGeometry& g, TGridOptions options) const
{
    TGridRect r{std::min(anchor.X, current.X), std::min(anchor.Y, current.Y),
                std::max(anchor.X, current.X), std::max(anchor.Y, current.Y)};
    if (options.testFlag(goRowSelect)) {
        r.Left = g.FixedCols();
        r.Right = g.ColCount() - 1;
    }
    return r;
}

void FrameworkGridCursor::setSelection(const TGridRect& r)
{
    anchor = {r.Left, r.Top};
    current = {r.Right, r.Bottom};
}

FrameworkGridKeyMove frameworkGridKeyMove(const FrameworkGridGeometry& g, TGridCoord current,
                                          int key, TShiftState shift, TGridOptions options)
{
    FrameworkGridKeyMove m;
    const int firstCol = g.FixedCols();
    const int firstRow = g.FixedRows();
    const int lastCol = g.ColCount() - 1;
    const int lastRow = g.RowCount() - 1;
    if (lastCol < firstCol || lastRow < firstRow)
        return m;  // no scrollable cell to move to

    const TGridCoord from{std::clamp(current.X, firstCol, lastCol),
                          std::clamp(current.Y, firstRow, lastRow)};
    const bool ctrl = shift.testFlag(ssCtrl);
    m.moveAnchor = !(shift.testFlag(ssShift) && options.testFlag(goRangeSelect));
    m.target = from;
    auto row = [&](int r) { m.target.Y = std::clamp(r, firstRow, lastRow); };
    auto col = [&](int c) { m.target.X = std::clamp(c, firstCol, lastCol); };

    switch (key) {
    case VK_UP: row(from.Y - 1); break;
    case VK_DOWN: row(from.Y + 1); break;
    case VK_LEFT:
    case VK_RIGHT: {
        if (ctrl)
            return m;
        const int step = key == VK_LEFT ? -1 : 1;
        if (options.testFlag(goRowSelect)) {
            m.scrollOnly = true;
            m.leftCol = std::clamp(g.LeftCol() + step, firstCol, g.maxLeftCol());
        } else {
            col(from.X + step);
        }
        break;
    }
    case VK_PRIOR:
    case VK_NEXT: {
        const int page = std::max(1, g.VisibleRowCount());
        if (ctrl) {
            row(key == VK_PRIOR ? g.TopRow() : g.TopRow() + page - 1);
            break;
        }
        if (key == VK_NEXT) {
            row(from.Y + page);
            m.topRow = std::min(g.TopRow() + page, g.maxTopRow());
        } else {
            row(from.Y - page);
            m.topRow = std::max(g.TopRow() - page, firstRow);
        }
        break;
    }
    case VK_HOME:
        if (ctrl)
            row(firstRow);
        col(firstCol);
        break;
    case VK_END:
        if (ctrl)
            row(lastRow);
        col(lastCol);
        break;
    case VK_TAB: {
        if (!options.testFlag(goTabs) || shift.testFlag(ssAlt) || ctrl)
            return m;
        m.moveAnchor = true;
        TGridCoord t = from;
        if (shift.testFlag(ssShift)) {
            if (t.X > firstCol) {
                --t.X;
            } else if (t.Y > firstRow) {
                t.X = lastCol;
                --t.Y;
            }
        } else {
            if (t.X < lastCol) {
                ++t.X;
            } else if (t.Y < lastRow) {
                t.X = firstCol;
                ++t.Y;
            }
        }
        m.target = t;
        break;
    }
    default: return m;
    }
    m.handled = true;
    return m;
}

}  // namespace zfw
