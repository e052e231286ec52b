// Row and column structure of the string grid: inserting, removing and appending rows and
// columns, the parked selection, scrolling a cell into view, clearing cell ranges, and the
// text insets. The cell store moves the cells; the grid keeps its current cell, selection
// and placed controls in step.

#include "grid/ExtGrid.h"

#include "grid/ExtUtil.h"

#include <QScrollBar>

#include <algorithm>

namespace zfw {

void TExtStringGrid::cellsChanged(int Left, int Top, int Right, int Bottom)
{
    if (!isDestroying())
        DoCellsChanged(TCellRange{Left, Top, Right, Bottom});
}

void TExtStringGrid::rebuildControls()
{
    // Controls live in the cells' properties, which moved with their rows and columns: the
    // list is taken from the cells again.
    if (m_numCellControls == 0)
        return;
    std::vector<QPointer<QWidget>> before;
    for (const ControlItem& item : m_controls)
        before.push_back(item.Control);
    CellControlsUpdate(true);
    m_numCellControls = 0;
    for (const ControlItem& item : m_controls)
        if (item.Control)
            ++m_numCellControls;
    // A control whose cell went is hidden and no longer watched: the grid forgets it.
    for (const QPointer<QWidget>& w : before) {
        if (!w)
            continue;
        const bool kept = std::any_of(m_controls.begin(), m_controls.end(),
                                      [&](const ControlItem& item) { return item.Control == w; });
        if (!kept) {
            w->hide();
            w->disconnect(this);
        }
    }
    CellControlsUpdate(false);
}

void TExtStringGrid::dropControls(const std::function<bool(const ControlItem&)>& gone)
{
    for (auto it = m_controls.begin(); it != m_controls.end();) {
        if (gone(*it)) {
            if (it->Control) {
                it->Control->hide();
                it->Control->disconnect(this);
            }
            it = m_controls.erase(it);
        } else {
            ++it;
        }
    }
}

void TExtStringGrid::HideSelection()
{
    if (!m_selHidden)
        m_oldSelection = Selection();
    SetSelection({ColCount(), RowCount(), ColCount(), RowCount()});
    m_selHidden = true;
}

void TExtStringGrid::UnHideSelection()
{
    m_selHidden = false;
    if (m_oldSelection.Top < RowCount() && m_oldSelection.Left < ColCount()
        && m_oldSelection.Bottom < RowCount() && m_oldSelection.Right < ColCount()) {
        SetSelection(m_oldSelection);
        return;
    }
    int c = FixedCols();
    int r = FixedRows();
    if (store().FixedColAlways() && c >= ColCount())
        c = 0;
    if (store().FixedRowAlways() && r >= RowCount())
        r = 0;
    SetSelection({c, r, c, r});
}

void TExtStringGrid::SetRowCount(int n)
{
    if (m_selHidden && store().FixedRowAlways() && RowCount() == store().FixedRows())
        UnHideSelection();
    TBaseGrid::SetRowCount(n);
}

void TExtStringGrid::SetFixedRightCols(int Value)
{
    FixedRightCols = Value;
    Invalidate();
}

void TExtStringGrid::UpdateEditMode() { SelectCell(Col(), Row()); }

void TExtStringGrid::ScrollInView(int ColIndex, int RowIndex)
{
    if (ColIndex < 0 || RowIndex < 0 || ColIndex >= ColCount() || RowIndex >= RowCount())
        return;
    int newLeft = LeftCol();
    int newTop = TopRow();
    if (ColIndex < LeftCol() || ColIndex >= LeftCol() + VisibleColCount()) {
        SetCol(ColIndex);
        newLeft = std::max(FixedCols(), ColIndex - VisibleColCount() / 2);
    }
    if (RowIndex < TopRow() || RowIndex >= TopRow() + VisibleRowCount()) {
        SetRow(RowIndex);
        newTop = std::max(FixedRows(), RowIndex - VisibleRowCount() / 2);
    }
    newLeft = std::min(newLeft, ColCount() - VisibleColCount() + 1);
    newTop = std::min(newTop, RowCount() - VisibleRowCount() + 1);
    if (FixedCols() + VisibleColCount() < ColCount())
        SetLeftCol(std::max(FixedCols(), newLeft));
    if (FixedRows() + VisibleRowCount() < RowCount()) {
        SetTopRow(std::max(FixedRows(), newTop));
        if (SearchFooter.Visible()) {
            int usable = height() - SearchPanel.Height();
            if (LeftCol() + VisibleColCount() < ColCount())
                usable -= horizontalScrollBar()->sizeHint().height();
            // A grid lower than the panel and the bar has no row that fits: the correction
            // stops where TopRow can no longer grow or reaches the row, where it used to go
            // on for ever.
            while (CellRect(ColIndex, RowIndex).Bottom > usable && TopRow() < RowIndex) {
                const int before = TopRow();
                SetTopRow(before + 1);
                if (TopRow() == before)
                    break;
            }
        }
    }
}

void TExtStringGrid::InsertRows(int RowIndex, int RCount, bool UpdateCellControls)
{
    if (RowIndex < 0 || RowIndex > RowCount() || RCount <= 0)
        return;
    const int lastWidth = ColCount() > 0 ? ColWidths(ColCount() - 1) : 0;
    if (m_selHidden || Col() >= ColCount() || Row() >= RowCount())
        UnHideSelection();
    if (!store().InsertRowsAt(RowIndex, RCount))
        return;
    if (ColCount() > 0)
        SetColWidths(ColCount() - 1, lastWidth);
    if (UpdateCellControls)
        rebuildControls();
    cellsChanged(0, RowIndex, ColCount() - 1, RowIndex + RCount);
}

void TExtStringGrid::RemoveRows(int RowIndex, int RCount)
{
    // An index at or past the end, or a count reaching past it, used to drop unrelated last
    // rows or drive the count negative; the count is clipped instead.
    if (RowIndex < 0 || RowIndex >= RowCount() || RCount <= 0)
        return;
    RCount = std::min(RCount, RowCount() - RowIndex);
    const int lastWidth = ColCount() > 0 ? ColWidths(ColCount() - 1) : 0;
    const int oldRow = Row();
    const int oldTop = TopRow();
    // Controls of the removed rows go with their cells: hidden and out of the list before
    // the store's change places the remaining ones.
    std::vector<int> realRows;
    for (int r = RowIndex; r < RowIndex + RCount; ++r)
        realRows.push_back(store().RealRowIndex(r));
    dropControls([&](const ControlItem& item) {
        return std::find(realRows.begin(), realRows.end(), item.Row) != realRows.end();
    });
    store().DeleteRowsAt(RowIndex, RCount);
    if (ColCount() > 0)
        SetColWidths(ColCount() - 1, lastWidth);
    const int lastNormal = RowCount() - FixedFooters - 1;
    if (oldRow <= lastNormal) {
        // The current row keeps its number unless it was among the removed rows below.
        SetTopRow(std::min(oldTop, std::max(FixedRows(), RowCount() - 1)));
    } else if (FixedRows() <= lastNormal) {
        SetRow(lastNormal);
    } else {
        HideSelection();
    }
    m_selHidden = false;
    rebuildControls();
    cellsChanged(0, RowIndex, ColCount() - 1, RowIndex + RCount);
}

void TExtStringGrid::AddRow()
{
    if (FloatingFooter.Visible()) {
        InsertRows(RowCount() - 1, 1, true);
        if (FloatingFooter.FooterStyle() == TFooterStyle::fsFixedLastRow)
            ClearRows(RowCount() - 2, 1);
    } else {
        InsertRows(RowCount(), 1, true);
        ClearRows(RowCount() - 1, 1);
    }
}

void TExtStringGrid::InsertCols(int ColIndex, int CCount)
{
    if (!store().InsertColsAt(ColIndex, CCount))
        return;
    rebuildControls();
}

void TExtStringGrid::RemoveCols(int ColIndex, int CCount)
{
    if (ColIndex < 0 || ColIndex >= ColCount() || CCount <= 0)
        return;
    CCount = std::min(CCount, ColCount() - ColIndex);
    std::vector<int> realCols;
    for (int d = ColIndex; d < ColIndex + CCount; ++d)
        realCols.push_back(RealColIndex(d));
    dropControls([&](const ControlItem& item) {
        return std::find(realCols.begin(), realCols.end(), item.Col) != realCols.end();
    });
    if (!store().DeleteColsAt(ColIndex, CCount))
        return;
    if (Col() >= ColCount() && ColCount() > FixedCols())
        SetCol(ColCount() - 1);
    rebuildControls();
    cellsChanged(ColIndex, 0, ColIndex + CCount, RowCount() - 1);
}

void TExtStringGrid::MoveRow(int FromIndex, int ToIndex)
{
    if (store().MoveRowsAt(FromIndex, ToIndex, 1))
        rebuildControls();
}

void TExtStringGrid::MoveRows(int FromIndex, int ToIndex, int Count)
{
    if (FromIndex == ToIndex || Count <= 0)
        return;
    const int target = FromIndex + Count < ToIndex ? ToIndex - Count : ToIndex;
    if (store().MoveRowsAt(FromIndex, target, Count)) {
        rebuildControls();
        const int first = std::min(FromIndex, target);
        cellsChanged(0, first, ColCount() - 1, std::max(FromIndex, target) + Count - 1);
    }
}

void TExtStringGrid::MoveColumn(int FromIndex, int ToIndex) { ColumnMoved(FromIndex, ToIndex); }

void TExtStringGrid::ColumnMoved(int FromIndex, int ToIndex)
{
    if (store().MoveColAt(FromIndex, ToIndex))
        rebuildControls();
}

// ----- cell ranges -----

void TExtStringGrid::ClearRect(int ACol1, int ARow1, int ACol2, int ARow2)
{
    if (ACol2 < ACol1 || ARow2 < ARow1)
        return;
    ARow1 = std::max(0, ARow1);
    ACol1 = std::max(0, ACol1);
    for (int r = ARow1; r <= ARow2 && r < RowCount(); ++r) {
        for (int c = ACol1; c <= ACol2 && c < store().TotalColCount(); ++c) {
            const int a = SaveHiddenCells ? RealColIndex(c) : c;
            if (!ClearTextOnly && store().HasCellProperties(a, r)) {
                if (NilObjects) {
                    store().ClearCellEx(a, r);
                } else {
                    if (const TCellProperties* p = store().GetGridObject(a, r); p && p->Control)
                        p->Control->hide();
                    store().SetCellProperties(a, r, nullptr);
                }
            }
            if (!isDestroying() && !store().GetGridCell(a, r).isEmpty())
                store().SetGridCell(a, r, QString());
            if (a != c)
                InvalidateCell(c, r);
        }
    }
    if (ACol1 == 0 && ARow1 == 0 && ACol2 >= ColCount() - 1 && ARow2 >= RowCount() - 1)
        store().clearHasCellProps();
    rebuildControls();
    if (!isDestroying() && !BlockCellChange)
        cellsChanged(RealColIndex(ACol1), ARow1, RealColIndex(std::min(ACol2, ColCount() - 1)),
                     ARow2);
}

void TExtStringGrid::ClearRows(int RowIndex, int RCount)
{
    if (RowCount() <= 0 || ColCount() <= 0 || RCount <= 0)
        return;
    ClearRect(0, RowIndex, store().TotalColCount() - 1, RowIndex + RCount - 1);
}

void TExtStringGrid::ClearCols(int ColIndex, int CCount)
{
    if (RowCount() <= 0 || ColCount() <= 0 || CCount <= 0)
        return;
    ClearRect(ColIndex, 0, ColIndex + CCount - 1, RowCount() - 1);
}

void TExtStringGrid::Clear()
{
    if (RowCount() <= 0 || ColCount() <= 0)
        return;
    ClearRect(0, 0, store().TotalColCount() - 1, RowCount() - 1);
    if (store().NumHiddenColumns() > 0)
        Invalidate();
}

bool TExtStringGrid::IsWideCell(int ACol, int ARow) const
{
    return IsPackedWideText(store().GetGridCell(ACol, ARow));
}

int TExtStringGrid::MaxRowLineCount(int ARow) const
{
    if (ColCount() <= 0 || !Multilinecells)
        return 1;
    // Every visible column, each through its real index; the walk used to stop short of
    // the last visible columns while columns were hidden, and read one column past the end
    // otherwise.
    int most = 1;
    for (int d = 0; d < ColCount(); ++d)
        most = std::max(most, LineCount(store().GetGridCell(RealColIndex(d), ARow), true));
    return most;
}

}  // namespace zfw
