#include "grid/CellStore.h"

#include <algorithm>

namespace zfw {

void CellStore::splitArea(int ACol, int ARow, bool repaint)
{
    const Cell* cell = cellAt(ACol, ARow);
    if (!cell || !cell->props)
        return;
    int bc = ACol;
    int br = ARow;
    cell->props->GetBaseCell(ACol, ARow, bc, br);
    const Cell* base = cellAt(bc, br);
    if (!base || !base->props)
        return;
    const int sx = base->props->CellSpanX;
    const int sy = base->props->CellSpanY;
    if (sx < 0 || sy < 0)
        return;
    for (int c = bc; c <= bc + sx; ++c) {
        for (int r = br; r <= br + sy; ++r) {
            Cell* part = const_cast<Cell*>(cellAt(c, r));
            if (!part || !part->props)
                continue;
            part->props->IsBaseCell = true;
            part->props->CellSpanX = -1;
            part->props->CellSpanY = -1;
            if (repaint)
                repaintCell(c, r);
        }
    }
    --m_mergeCount;
}

bool CellStore::MergeCells(int ACol, int ARow, int SpanX, int SpanY)
{
    if (SpanX < 1 || SpanY < 1 || ACol < 0 || ARow < 0)
        return false;
    if (SpanX > TotalColCount() - ACol || SpanY > m_rowCount - ARow)
        return false;
    // An area laid over part of another would leave that other area's remaining cells
    // pointing at a base that no longer is one: overlapped areas are split first.
    for (int c = ACol; c < ACol + SpanX; ++c)
        for (int r = ARow; r < ARow + SpanY; ++r)
            if (const TCellProperties* p = GetGridObject(c, r); p && p->CellSpanX != -1)
                splitArea(c, r, true);
    for (int c = ACol; c < ACol + SpanX; ++c) {
        for (int r = ARow; r < ARow + SpanY; ++r) {
            TCellProperties* p = GetCellProperties(c, r);
            const bool isBase = c == ACol && r == ARow;
            p->IsBaseCell = isBase;
            p->CellSpanX = isBase ? SpanX - 1 : c - ACol;
            p->CellSpanY = isBase ? SpanY - 1 : r - ARow;
        }
    }
    ++m_mergeCount;
    for (int c = ACol; c < ACol + SpanX; ++c)
        for (int r = ARow; r < ARow + SpanY; ++r)
            repaintCell(c, r);
    return true;
}

void CellStore::SplitCells(int ACol, int ARow) { splitArea(ACol, ARow, true); }

QPoint CellStore::BaseCell(int ACol, int ARow) const
{
    if (!HasCellProperties(ACol, ARow))
        return {ACol, ARow};
    int bc = ACol;
    int br = ARow;
    cellAt(ACol, ARow)->props->GetBaseCell(ACol, ARow, bc, br);
    return {bc, br};
}

bool CellStore::IsBaseCell(int ACol, int ARow) const
{
    return !HasCellProperties(ACol, ARow) || cellAt(ACol, ARow)->props->IsBaseCell;
}

bool CellStore::IsMergedCell(int ACol, int ARow) const
{
    if (!HasCellProperties(ACol, ARow))
        return false;
    const TCellProperties& p = *cellAt(ACol, ARow)->props;
    return p.CellSpanX > 0 || p.CellSpanY > 0;
}

bool CellStore::IsMergedNonBaseCell(int ACol, int ARow) const
{
    return IsMergedCell(ACol, ARow) && !IsBaseCell(ACol, ARow);
}

bool CellStore::IsXMergedCell(int ACol, int ARow) const
{
    if (!HasCellProperties(ACol, ARow))
        return false;
    const QPoint b = BaseCell(ACol, ARow);
    const TCellProperties* bp = GetGridObject(b.x(), b.y());
    return bp && bp->CellSpanX > 0;
}

bool CellStore::IsYMergedCell(int ACol, int ARow) const
{
    if (!HasCellProperties(ACol, ARow))
        return false;
    const QPoint b = BaseCell(ACol, ARow);
    const TCellProperties* bp = GetGridObject(b.x(), b.y());
    return bp && bp->CellSpanY > 0;
}

QPoint CellStore::CellSpan(int ACol, int ARow) const
{
    if (!HasCellProperties(ACol, ARow))
        return {0, 0};
    const TCellProperties& p = *cellAt(ACol, ARow)->props;
    if (p.CellSpanX == -1 || p.CellSpanY == -1)
        return {0, 0};
    const QPoint b = BaseCell(ACol, ARow);
    const TCellProperties* bp = GetGridObject(b.x(), b.y());
    if (!bp)
        return {0, 0};
    return {bp->CellSpanX, bp->CellSpanY};
}

QPoint CellStore::CellExt(int ACol, int ARow) const
{
    const QPoint span = CellSpan(ACol, ARow);
    if (span == QPoint(0, 0))
        return {0, 0};
    const QPoint b = BaseCell(ACol, ARow);
    return {b.x() + span.x() - ACol, b.y() + span.y() - ARow};
}

TCellRange CellStore::FullCell(int ACol, int ARow) const
{
    const QPoint b = BaseCell(ACol, ARow);
    const QPoint span = CellSpan(ACol, ARow);
    return {b.x(), b.y(), b.x() + span.x(), b.y() + span.y()};
}

int CellStore::MinRowSpan(int ARow) const
{
    int best = m_rowCount;
    for (int c = 0; c < TotalColCount(); ++c) {
        const int sy = CellSpan(c, ARow).y();
        if (sy > 0 && sy < best)
            best = sy;
    }
    return std::min(best, m_rowCount);
}

int CellStore::MaxRowSpan(int ARow) const
{
    int best = 0;
    for (int c = 0; c < TotalColCount(); ++c)
        best = std::max(best, CellSpan(c, ARow).y());
    return best;
}

bool CellStore::RowSpanIdentical(int ARow1, int ARow2) const
{
    bool seen = false;
    for (int c = 0; c < TotalColCount(); ++c) {
        if (CellSpan(c, ARow1).y() > 0 && CellSpan(c, ARow2).y() > 0) {
            if (BaseCell(c, ARow1).y() != BaseCell(c, ARow2).y())
                return false;
            seen = true;
        }
    }
    return seen;
}

bool CellStore::ColSpanIdentical(int ACol1, int ACol2) const
{
    bool seen = false;
    for (int r = 0; r < m_rowCount; ++r) {
        const int s1 = CellSpan(ACol1, r).x();
        const int s2 = CellSpan(ACol2, r).x();
        if (s1 > 0 && s2 > 0) {
            if (BaseCell(ACol1, r).x() != BaseCell(ACol2, r).x())
                return false;
            seen = true;
        } else if (s1 != s2) {
            return false;
        }
    }
    return seen;
}

QRect CellStore::screenRect(int DCol, int ARow, const ViewOrigin& view) const
{
    auto spanX = [this](int from, int to) {  // widths of display columns from..to-1
        int sum = 0;
        for (int d = std::max(0, from); d < std::min(to, m_colCount); ++d)
            sum += m_colWidths[std::size_t(d)];
        return sum;
    };
    auto spanY = [this](int from, int to) {
        int sum = 0;
        for (int r = std::max(0, from); r < std::min(to, m_rowCount); ++r)
            sum += m_rows[std::size_t(r)].height;
        return sum;
    };
    int x;
    if (DCol < m_fixedCols)
        x = spanX(0, DCol);
    else if (DCol >= view.LeftCol)
        x = view.ScrollLeft + spanX(view.LeftCol, DCol);
    else
        x = view.ScrollLeft - spanX(DCol, view.LeftCol);
    int y;
    if (ARow < m_fixedRows)
        y = spanY(0, ARow);
    else if (ARow >= view.TopRow)
        y = view.ScrollTop + spanY(view.TopRow, ARow);
    else
        y = view.ScrollTop - spanY(ARow, view.TopRow);
    return QRect(x, y, ColWidths(DCol), RowHeights(ARow));
}

QRect CellStore::realCellRect(int ACol, int ARow, const ViewOrigin& view) const
{
    QRect r = screenRect(DisplColIndex(ACol), ARow, view);
    if (IsHiddenColumn(ACol))
        r.setWidth(0);
    return r;
}

bool CellStore::mergedArea(int ACol, int ARow, QPoint& base, QPoint& last) const
{
    if (!HasCellProperties(ACol, ARow))
        return false;
    const TCellProperties& p = *cellAt(ACol, ARow)->props;
    if (p.CellSpanX == -1 && p.CellSpanY == -1)
        return false;
    base = BaseCell(ACol, ARow);
    const TCellProperties* bp = GetGridObject(base.x(), base.y());
    if (!bp || bp->CellSpanX < 0 || bp->CellSpanY < 0)
        return false;
    last = {base.x() + bp->CellSpanX, base.y() + bp->CellSpanY};
    return true;
}

QRect CellStore::CellRect(int ACol, int ARow, const ViewOrigin& view) const
{
    QPoint base;
    QPoint last;
    if (!mergedArea(ACol, ARow, base, last))
        return realCellRect(ACol, ARow, view);
    // An empty rectangle would drop out of the union: a zero-width edge cell is widened by
    // one pixel towards the area.
    QRect a = realCellRect(base.x(), base.y(), view);
    if (a.width() == 0)
        a.setWidth(1);
    QRect b = realCellRect(last.x(), last.y(), view);
    if (b.width() == 0)
        b.setLeft(b.left() - 1);
    return a.united(b);
}

QSize CellStore::CellSize(int ACol, int ARow, const ViewOrigin& view) const
{
    QPoint base;
    QPoint last;
    if (!mergedArea(ACol, ARow, base, last))
        return realCellRect(ACol, ARow, view).size();
    const QRect a = realCellRect(base.x(), base.y(), view);
    const QRect b = realCellRect(last.x(), last.y(), view);
    return QSize(b.x() + b.width() - a.x(), b.y() + b.height() - a.y());
}

QPoint CellStore::MoveToBaseCell(int Col, int Row) const
{
    const int ACol = RealColIndex(Col);
    if (!HasCellProperties(ACol, Row))
        return {Col, Row};
    const QPoint b = BaseCell(ACol, Row);
    return {DisplColIndex(b.x()), b.y()};
}

QPoint CellStore::mergedKeyPreMove(MoveKey Key, const NavState& s) const
{
    int col = s.Col;
    int row = s.Row;
    if (Key == MoveKey::PageDown) {
        if (m_hideLastRow && m_rowCount > 1
            && s.VisibleRowCount + s.TopRow - s.FixedRows == m_rowCount - 1)
            row = m_rowCount - 2;
        return {col, row};
    }
    const int ACol = RealColIndex(s.Col);
    if (!HasCellProperties(ACol, s.Row))
        return {col, row};
    const QPoint b = BaseCell(ACol, s.Row);
    const TCellProperties* bp = GetGridObject(b.x(), b.y());
    const int spanX = bp ? bp->CellSpanX : -1;
    const int sy = bp ? bp->CellSpanY : -1;
    // The area in display columns: from the base's display column to the last visible column
    // at or before the area's last real column.
    const int bx = DisplColIndex(b.x());
    const int sx = DisplColIndex(b.x() + spanX + 1) - 1 - bx;
    const int by = b.y();
    switch (Key) {
    case MoveKey::Left:
        if (bx < s.Col && s.Col > s.FixedCols && bx > 0)
            col = bx;
        break;
    case MoveKey::Up:
        if (by < s.Row && s.Row > s.FixedRows && by > 0)
            row = by;
        break;
    case MoveKey::Right:
        if (bx + sx >= s.Col && s.Col < m_colCount - 1 && bx < m_colCount - 1
            && bx + sx < m_colCount)
            col = bx + sx;
        break;
    case MoveKey::Down:
        if (by + sy >= s.Row && s.Row < m_rowCount - 1 && by < m_rowCount - 1)
            row = by + sy;
        break;
    default: break;
    }
    return {col, row};
}

int CellStore::wheelDownTopRow(const NavState& s) const
{
    if (m_hideLastRow && s.Row < m_rowCount - 1 && s.VisibleRowCount < s.Row - s.TopRow)
        return s.TopRow + 1;
    return s.TopRow;
}

}  // namespace zfw
