// The string grid's selections: the selection rectangle of the framework grid, the disjunct
// row, column and cell selections beside it, the row modified and enabled flags, and the
// repaint requests the input paths use.
//
// The disjunct cells are kept as coordinate pairs, each once: a packed 16-bit row and column
// would alias in large grids, and a cell listed twice would stay selected after one removal.

#include "grid/ExtGrid.h"

#include <QtDebug>

#include <algorithm>
#include <utility>

namespace zfw {

namespace {

bool flagAt(const std::vector<bool>& list, int i)
{
    return i >= 0 && i < int(list.size()) && list[std::size_t(i)];
}

void setFlagAt(std::vector<bool>& list, int i, bool value)
{
    if (i < 0)
        return;
    if (i >= int(list.size())) {
        if (!value)
            return;
        list.resize(std::size_t(i) + 1, false);
    }
    list[std::size_t(i)] = value;
}

}  // namespace

// ----- selection rectangle -----

void TExtStringGrid::SelectRows(int RowIndex, int RCount)
{
    // A row outside the normal rows would give an inverted or negative rectangle.
    if (RowIndex < FixedRows() || RowIndex >= RowCount() || RCount <= 0)
        return;
    RCount = std::min(RCount, RowCount() - RowIndex);
    if (!MouseActions.DisjunctRowSelect()) {
        SetSelection(TGridRect{FixedCols(), RowIndex, ColCount() - 1, RowIndex + RCount - 1});
    } else {
        for (int r = RowIndex; r < RowIndex + RCount; ++r)
            SetRowSelect(MouseActions.RowSelectPersistent ? store().RealRowIndex(r) : r, true);
    }
    m_selChange = false;
}

void TExtStringGrid::UnSelectRows(int RowIndex, int RCount)
{
    if (MouseActions.DisjunctRowSelect() && RowIndex >= 0) {
        for (int r = RowIndex; r < std::min(RowIndex + RCount, RowCount()); ++r)
            SetRowSelect(MouseActions.RowSelectPersistent ? store().RealRowIndex(r) : r, false);
    }
    m_selChange = false;
}

void TExtStringGrid::SelectCols(int ColIndex, int CCount)
{
    if (ColIndex < FixedCols() || ColIndex >= ColCount() || CCount <= 0)
        return;
    CCount = std::min(CCount, ColCount() - ColIndex);
    if (!MouseActions.DisjunctColSelect()) {
        SetSelection(TGridRect{ColIndex, FixedRows(), ColIndex + CCount - 1, RowCount() - 1});
        return;
    }
    for (int c = ColIndex; c < ColIndex + CCount; ++c)
        SetColSelect(c, true);
}

void TExtStringGrid::UnSelectCols(int ColIndex, int CCount)
{
    if (!MouseActions.DisjunctColSelect() || ColIndex < 0)
        return;
    for (int c = ColIndex; c < std::min(ColIndex + CCount, ColCount()); ++c)
        SetColSelect(c, false);
}

void TExtStringGrid::SelectRange(int FromCol, int ToCol, int FromRow, int ToRow)
{
    SetRow(ToRow);
    SetCol(ToCol);
    SetSelection(TGridRect{FromCol, FromRow, ToCol, ToRow});
}

void TExtStringGrid::SelectCells(int FromCol, int FromRow, int ToCol, int ToRow)
{
    SetSelection(TGridRect{FromCol, FromRow, ToCol, ToRow});
}

void TExtStringGrid::FocusCell(int ACol, int ARow)
{
    SetSelection(TGridRect{ACol, ARow, ACol, ARow});
}

void TExtStringGrid::GotoCell(int ACol, int ARow)
{
    SetRow(ARow);
    SetCol(ACol);
}

void TExtStringGrid::EditCell(int ACol, int ARow)
{
    setFocus(Qt::OtherFocusReason);
    GotoCell(ACol, ARow);
    if (Col() == ACol && Row() == ARow)
        ShowEditor();
}

void TExtStringGrid::MoveToCell(int ACol, int ARow) { MoveCurrentCell(ACol, ARow, true, true); }

bool TExtStringGrid::Select() { return SelectCell(Col(), Row()); }

// ----- disjunct row and column selection -----

bool TExtStringGrid::GetRowSelect(int ARow) const
{
    if (ARow < 0)
        return false;
    if (!MouseActions.DisjunctRowSelect()) {
        const TGridRect s = Selection();
        return ARow >= std::min(s.Top, s.Bottom) && ARow <= std::max(s.Top, s.Bottom);
    }
    return flagAt(m_rowSelect, ARow);
}

void TExtStringGrid::SetRowSelect(int ARow, bool Value)
{
    // Real rows (RowSelectPersistent) lie below this limit as well; a row beyond it would
    // only grow the list without bound.
    const int limit = RowCount() + store().NumHiddenRows();
    if (ARow < 0 || ARow >= limit) {
        qWarning("Invalid row accessed: %d", ARow);
        return;
    }
    const bool was = flagAt(m_rowSelect, ARow);
    if (was != Value && OnRowDisjunctSelect) {
        bool allow = true;
        OnRowDisjunctSelect(this, ARow, Value, allow);
        if (!allow)
            return;
    }
    setFlagAt(m_rowSelect, ARow, Value);
    if (Value) {
        if (!was)
            RepaintRow(ARow);
        if (ARow >= FixedRows() && !m_selectedRows.contains(ARow))
            m_selectedRows.append(ARow);
    } else {
        if (was)
            RepaintRow(ARow);
        m_selectedRows.removeAll(ARow);
    }
    if (OnRowDisjunctSelected)
        OnRowDisjunctSelected(this, ARow);
}

bool TExtStringGrid::GetColSelect(int ACol) const
{
    return ACol >= 0 && ACol < ColCount() && flagAt(m_colSelect, ACol);
}

void TExtStringGrid::SetColSelect(int ACol, bool Value)
{
    if (ACol < 0 || ACol >= ColCount()) {
        qWarning("Invalid column accessed: %d", ACol);
        return;
    }
    if (flagAt(m_colSelect, ACol) == Value)
        return;
    setFlagAt(m_colSelect, ACol, Value);
    RepaintCol(ACol);
}

void TExtStringGrid::ClearRowSelect()
{
    for (std::size_t r = 0; r < m_rowSelect.size(); ++r) {
        if (m_rowSelect[r]) {
            RepaintRow(int(r));
            m_rowSelect[r] = false;
        }
    }
    m_selectedRows.clear();
}

void TExtStringGrid::ClearColSelect()
{
    for (std::size_t c = 0; c < m_colSelect.size(); ++c) {
        if (m_colSelect[c]) {
            RepaintCol(int(c));
            m_colSelect[c] = false;
        }
    }
}

void TExtStringGrid::ClearSelectedCells()
{
    SetSelection(TGridRect{FixedCols(), FixedRows(), FixedCols(), FixedRows()});
    m_selectedCells.clear();
    Invalidate();
}

int TExtStringGrid::RowSelectCount() const
{
    if (!MouseActions.DisjunctRowSelect()) {
        const TGridRect s = Selection();
        return std::abs(s.Bottom - s.Top) + 1;
    }
    const int n = std::min<int>(RowCount() + store().NumHiddenRows(), int(m_rowSelect.size()));
    return int(std::count(m_rowSelect.begin(), m_rowSelect.begin() + std::max(0, n), true));
}

int TExtStringGrid::ColSelectCount() const
{
    if (!MouseActions.DisjunctColSelect()) {
        const TGridRect s = Selection();
        return s.Right - s.Left + 1;
    }
    return int(std::count(m_colSelect.begin(), m_colSelect.end(), true));
}

int TExtStringGrid::SelectedRowCount() const
{
    if (MouseActions.DisjunctRowSelect())
        return int(m_selectedRows.size());
    const TGridRect s = Selection();
    const int bottom = std::min(s.Bottom, RowCount() - FixedFooters - 1);
    return std::abs(bottom - s.Top) + 1;
}

int TExtStringGrid::SelectedRow(int i) const
{
    if (i < 0)
        return -1;
    if (MouseActions.DisjunctRowSelect())
        return i < m_selectedRows.size() ? m_selectedRows[i] : -1;
    const TGridRect s = Selection();
    const int r = std::min(s.Top, s.Bottom) + i;
    return r <= std::max(s.Top, s.Bottom) ? r : -1;
}

// ----- selected cells -----

bool TExtStringGrid::IsSelected(int ACol, int ARow) const
{
    if (ACol < FixedCols() || ARow < FixedRows())
        return false;
    if (MouseActions.DisjunctCellSelect())
        return m_selectedCells.contains(TGridCoord{ACol, ARow});
    if (MouseActions.DisjunctRowSelect())
        return GetRowSelect(MouseActions.RowSelectPersistent ? store().RealRowIndex(ARow) : ARow);
    if (MouseActions.DisjunctColSelect())
        return GetColSelect(ACol);
    // The corners in either order: a selection set from the bottom right reports its cells.
    const TGridRect s = Selection();
    return ACol >= std::min(s.Left, s.Right) && ACol <= std::max(s.Left, s.Right)
           && ARow >= std::min(s.Top, s.Bottom) && ARow <= std::max(s.Top, s.Bottom);
}

bool TExtStringGrid::GetSelectedCells(int i, int j) const
{
    if (MouseActions.DisjunctCellSelect())
        return m_selectedCells.contains(TGridCoord{i, j});
    const TGridRect s = Selection();
    return i >= std::min(s.Left, s.Right) && i <= std::max(s.Left, s.Right)
           && j >= std::min(s.Top, s.Bottom) && j <= std::max(s.Top, s.Bottom);
}

void TExtStringGrid::SetSelectedCells(int i, int j, bool Value)
{
    const TGridCoord c{i, j};
    const bool listed = m_selectedCells.contains(c);
    if (Value && !listed)
        m_selectedCells.append(c);
    else if (!Value && listed)
        m_selectedCells.removeAll(c);
    else
        return;
    RepaintCell(i, j);
}

int TExtStringGrid::SelectedCellsCount()
{
    if (!MouseActions.DisjunctCellSelect()) {
        m_selectedCells.clear();
        const TGridRect s = Selection();
        if (s.Left == s.Right && s.Top == s.Bottom) {
            m_selectedCells.append(TGridCoord{Col(), Row()});
        } else {
            for (int r = std::min(s.Top, s.Bottom); r <= std::max(s.Top, s.Bottom); ++r)
                for (int c = std::min(s.Left, s.Right); c <= std::max(s.Left, s.Right); ++c)
                    m_selectedCells.append(TGridCoord{c, r});
        }
    }
    return int(m_selectedCells.size());
}

TGridCoord TExtStringGrid::SelectedCell(int i) const
{
    if (i < 0 || i >= m_selectedCells.size())
        return TGridCoord{-1, -1};
    return m_selectedCells[i];
}

// ----- row flags -----

bool TExtStringGrid::GetRowModified(int ARow) const { return flagAt(m_modifiedRows, ARow); }

void TExtStringGrid::SetRowModified(int ARow, bool Value)
{
    if (ARow < 0)
        return;
    setFlagAt(m_modifiedRows, ARow, Value);
    RepaintCell(0, ARow);
}

int TExtStringGrid::ModifiedRowCount() const
{
    return int(std::count(m_modifiedRows.begin(), m_modifiedRows.end(), true));
}

void TExtStringGrid::ClearModifiedRows()
{
    m_modifiedRows.clear();
    Invalidate();
}

bool TExtStringGrid::GetRowEnabled(int ARow) const { return !flagAt(m_disabledRows, ARow); }

void TExtStringGrid::SetRowEnabled(int ARow, bool Value)
{
    if (ARow < 0)
        return;
    if (ARow == Row()) {
        for (int r = FixedRows(); r < RowCount(); ++r) {
            if (r != ARow && GetRowEnabled(r)) {
                SetRow(r);
                break;
            }
        }
    }
    m_useEnabledRows = true;
    setFlagAt(m_disabledRows, ARow, !Value);
    RepaintRow(ARow);
}

// ----- repaint requests -----

void TExtStringGrid::RepaintCell(int ACol, int ARow) { InvalidateCell(ACol, ARow); }

void TExtStringGrid::RepaintRow(int ARow)
{
    if (ARow < 0 || ARow >= RowCount())
        return;
    InvalidateGridRect(
        TGridRect{0, ARow, std::min(ColCount() - 1, LeftCol() + VisibleColCount()), ARow});
}

void TExtStringGrid::RepaintCol(int ACol)
{
    if (ACol < 0 || ACol >= ColCount())
        return;
    InvalidateGridRect(
        TGridRect{ACol, 0, ACol, std::min(RowCount() - 1, TopRow() + VisibleRowCount())});
}

void TExtStringGrid::RepaintRect(const TGridRect& r)
{
    if (r.Left < 0 || r.Top < 0 || r.Right < 0 || r.Bottom < 0)
        return;
    const int right = std::min(VisibleColCount() + FixedCols(), r.Right);
    if (CellRect(r.Left, r.Top).isEmpty() || CellRect(right, r.Bottom).isEmpty()) {
        Invalidate();
        return;
    }
    InvalidateGridRect(TGridRect{r.Left, r.Top, right, r.Bottom});
}

void TExtStringGrid::RepaintCellRange(const TGridRect& r) { InvalidateGridRect(r); }

void TExtStringGrid::DoSelectionChanged(int ALeft, int ATop, int ARight, int ABottom)
{
    m_selChange = true;
    if (OnSelectionChanged)
        OnSelectionChanged(this, ALeft, ATop, ARight, ABottom);
}

void TExtStringGrid::SelectionToRowSelect(bool All)
{
    const TGridRect s = Selection();
    const int top = std::min(s.Top, s.Bottom);
    const int bottom = std::min(std::max(s.Top, s.Bottom), RowCount() - FixedFooters - 1);
    for (int r = FixedRows(); r < RowCount(); ++r) {
        const bool inside = r >= top && r <= bottom;
        if (All || inside)
            SetRowSelect(MouseActions.RowSelectPersistent ? store().RealRowIndex(r) : r, inside);
    }
    if (store().NumHiddenRows() > 0)
        Invalidate();
}

void TExtStringGrid::DoEnter()
{
    TStringGrid::DoEnter();
    if (Options().testFlag(goEditing) || MouseActions.RangeSelectAndEdit)
        SelectCell(Col(), Row());
    RememberCellValue(Col(), Row());
    if (std::exchange(m_openOnEnter, false) && AlwaysEditCanOpen())
        ShowInplaceEdit();
}

void TExtStringGrid::DoExit()
{
    if (m_selChange && MouseActions.DisjunctRowSelect())
        SelectionToRowSelect(false);
    m_selChange = false;
    TStringGrid::DoExit();
}

bool TExtStringGrid::WndProc(QEvent* e)
{
    if (e->type() == GridEditDoneEvent::type()) {
        const auto* done = static_cast<GridEditDoneEvent*>(e);
        if (OnEditCellDone)
            OnEditCellDone(this, done->Col, done->Row);
        if (MouseActions.EditOnDblClickOnly()) {
            HideEditor();
            SetOptions(Options() & ~TGridOptions(goEditing));
        }
    }
    return TStringGrid::WndProc(e);
}

bool TExtStringGrid::event(QEvent* e)
{
    const int oldRow = Row();
    const int oldCol = Col();
    const bool result = TBaseGrid::event(e);
    followRow(oldRow);
    followCol(oldCol);
    return result;
}

void TExtStringGrid::SetCol(int c)
{
    const int oldCol = Col();
    TBaseGrid::SetCol(c);
    followCol(oldCol);
}

void TExtStringGrid::followCol(int oldCol)
{
    TExtStringGrid* partner = SyncGrid.Grid();
    if (!partner || !SyncGrid.SelectionColumn || Col() == oldCol || partner->Col() == Col())
        return;
    if (Col() >= partner->FixedCols() && Col() < partner->ColCount())
        partner->SetCol(Col());
}

void TExtStringGrid::followRow(int oldRow)
{
    TExtStringGrid* partner = SyncGrid.Grid();
    if (!partner || !SyncGrid.SelectionRow || Row() == oldRow || partner->Row() == Row())
        return;
    if (Row() >= partner->FixedRows() && Row() < partner->RowCount())
        partner->SetRow(Row());
}

void TExtStringGrid::DoDropDownHeaderButtonClick(int ButtonIndex)
{
    if (OnDropDownHeaderButtonClick)
        OnDropDownHeaderButtonClick(this, Col(), Row(), ButtonIndex);
}

void TExtStringGrid::DoDropDownFooterButtonClick(int ButtonIndex)
{
    if (OnDropDownFooterButtonClick)
        OnDropDownFooterButtonClick(this, Col(), Row(), ButtonIndex);
}

void TExtStringGrid::MemoDropDownChange(const QString& Text) { SetEditText(Col(), Row(), Text); }

void TExtStringGrid::GetFilterCellText(int ACol, int ARow, QString& text)
{
    text = GetCellEx(ACol, ARow);
}

}  // namespace zfw
