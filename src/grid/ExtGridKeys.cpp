// The string grid's keyboard path: the key-down steps that run before the base movement
// (scroll-only keys, Enter and F2 on cells that may not be edited, Space on check boxes,
// Home/End, Tab, skipping fixed cells), Ctrl+A, the key-up report of a selection change, the
// editor start by a typed character, and the Tab and Enter advance.

#include "grid/ExtGrid.h"
#include "grid/InplaceEdit.h"

#include <algorithm>

namespace zfw {

namespace {

bool isVerticalScrollKey(int key)
{
    return key == VK_PRIOR || key == VK_NEXT || key == VK_END || key == VK_HOME || key == VK_UP
           || key == VK_DOWN;
}

bool isArrowKey(int key) { return key >= VK_LEFT && key <= VK_DOWN; }

}  // namespace

bool TExtStringGrid::IsFixed(int ACol, int ARow)
{
    bool fixed = false;
    IsFixedCell(ACol, ARow, fixed);
    return fixed;
}

bool TExtStringGrid::IsEditable(int ACol, int ARow)
{
    if (!Options().testFlag(goEditing) && !MouseActions.RangeSelectAndEdit && !FEditDisable)
        return false;
    if (IsFixed(ACol, ARow))
        return false;
    return IsCellEditable(ACol, ARow);
}

int TExtStringGrid::FirstNormalCol() const
{
    return FixedCols() == 0 && HasNodes() ? 1 : FixedCols();
}

bool TExtStringGrid::CanTabToCell(int ACol, int ARow)
{
    bool can = Options().testFlag(goEditing) ? IsEditable(RealColIndex(ACol), ARow)
                                             : !IsFixed(RealColIndex(ACol), ARow);
    if (OnSelectCell)
        OnSelectCell(this, ACol, ARow, can);
    return can;
}

int TExtStringGrid::FirstTabCol(int ARow)
{
    for (int c = 0; c < ColCount(); ++c)
        if (CanTabToCell(c, ARow))
            return c;
    return -1;
}

int TExtStringGrid::LastTabCol(int ARow)
{
    for (int c = ColCount() - 1; c >= 0; --c)
        if (CanTabToCell(c, ARow))
            return c;
    return -1;
}

void TExtStringGrid::ClickCell(int ACol, int ARow)
{
    const TRect r = CellRect(ACol, ARow);
    if (r.isEmpty())
        return;
    m_mouseSelection = Selection();
    auto down = std::exchange(OnMouseDown, nullptr);
    auto up = std::exchange(OnMouseUp, nullptr);
    MouseDown(mbLeft, TShiftState(), r.Left + 2, r.Top + 2);
    MouseUp(mbLeft, TShiftState(), r.Left + 2, r.Top + 2);
    OnMouseDown = std::move(down);
    OnMouseUp = std::move(up);
}

void TExtStringGrid::WMKeyDown(int Key, TShiftState Shift)
{
    m_moveSelection = Selection();
    const int realCol = RealColIndex(Col());
    const bool ctrl = Shift.testFlag(ssCtrl);
    const bool shift = Shift.testFlag(ssShift);
    auto consume = [&] {
        int k = Key;
        if (OnKeyDown)
            OnKeyDown(this, k, Shift);
    };

    // Scroll-only navigation: the view moves, the cell stays.
    if (Navigation.MoveScrollOnly && isVerticalScrollKey(Key)) {
        const int vis = VisibleRowCount();
        switch (Key) {
        case VK_PRIOR:
            SetTopRow(TopRow() > vis + FixedRows() ? TopRow() - vis : FixedRows());
            break;
        case VK_NEXT:
            if (TopRow() + vis < RowCount())
                SetTopRow(std::min(TopRow() + vis, geometryModel().maxTopRow()));
            break;
        case VK_END: SetTopRow(geometryModel().maxTopRow()); break;
        case VK_HOME: SetTopRow(FixedRows()); break;
        case VK_UP:
            if (TopRow() > FixedRows())
                SetTopRow(TopRow() - 1);
            break;
        case VK_DOWN:
            if (TopRow() + vis < RowCount())
                SetTopRow(TopRow() + 1);
            break;
        }
        return;
    }

    const bool enterOrF2 = Key == VK_RETURN || Key == VK_F2;
    if (enterOrF2 && MouseActions.RangeSelectAndEdit && !Options().testFlag(goEditing)) {
        if (!IsEditable(realCol, Row())) {
            consume();
            return;
        }
        SetOptions(Options() | goEditing);
        ShowEditor();
    }
    // Enter and F2 on a cell that may not be edited are swallowed: no editor, no movement.
    // The form still sees the key, and the character step that follows still reports Enter.
    if (enterOrF2 && Options().testFlag(goEditing) && !IsEditable(realCol, Row())) {
        consume();
        return;
    }
    if (Key == VK_RETURN && !IsEditable(realCol, Row())) {
        consume();
        return;
    }

    if (Key == VK_SPACE && HasCheckBox(realCol, Row())) {
        bool allow = Options().testFlag(goEditing) || MouseActions.RangeSelectAndEdit;
        QueryCellEditable(realCol, Row(), allow);
        if (allow && ToggleCheckBoxEx(realCol, Row(), true)) {
            bool state = false;
            GetCheckBoxState(realCol,
                             store().NumHiddenRows() > 0 ? store().RealRowIndex(Row()) : Row(),
                             state);
            DoCheckBoxClick(Col(), Row(), state);
        }
        RepaintCell(Col(), Row());
    }

    if (Key == VK_HOME || Key == VK_END) {
        bool consumed = false;
        keyHomeEnd(Key, Shift, consumed);
        if (consumed) {
            consume();
            return;
        }
    }

    if (Key == VK_TAB && Options().testFlag(goTabs)) {
        TabToNextCell(shift);
        const TGridRect s = Selection();
        if (s != m_moveSelection)
            DoSelectionChanged(s.Left, s.Top, s.Right, s.Bottom);
        m_moveSelection = s;
        return;
    }

    if (Navigation.SkipFixedCells && isArrowKey(Key) && keySkipFixed(Key)) {
        consume();
        return;
    }

    TStringGrid::WMKeyDown(Key, Shift);

    if (ctrl && Key == 'A'
        && (Options().testFlag(goRowSelect) || Options().testFlag(goRangeSelect)))
        selectAllByKey();
}

void TExtStringGrid::keyHomeEnd(int& Key, TShiftState Shift, bool& consumed)
{
    const bool ctrl = Shift.testFlag(ssCtrl);
    const bool shift = Shift.testFlag(ssShift);
    const bool home = Key == VK_HOME;
    const bool singleFixedRow = store().FixedRowAlways() && RowCount() == 1;
    switch (Navigation.HomeEndKey) {
    case THomeEndAction::heFirstLastCell:
        if (ctrl)
            return;
        MoveCurrentCell(home ? FixedCols() : ColCount() - 1, home ? FixedRows() : RowCount() - 1,
                        true, true);
        consumed = true;
        return;
    case THomeEndAction::heFirstLastRow:
        if (ctrl || singleFixedRow)
            return;
        MoveCurrentCell(Col(), home ? FixedRows() : RowCount() - FixedFooters - 1, !shift, true);
        consumed = true;
        return;
    case THomeEndAction::heFirstLastColumn: break;
    }
    if (ctrl) {
        if (!home)
            return;
        // The first row, on the first column that takes the cursor there.
        if (!MoveCurrentCell(Col(), FixedRows(), true, true))
            return;
        const int c = FirstTabCol(Row());
        if (c >= 0)
            MoveCurrentCell(c, Row(), true, true);
        SetLeftCol(FirstNormalCol());
        consumed = true;
        return;
    }
    if (Options().testFlag(goRowSelect) || singleFixedRow)
        return;
    if (shift) {
        const int to = home ? FixedCols() : ColCount() - 1;
        SetSelection(TGridRect{Col(), Row(), to, Row()});
        RepaintRow(Row());
        consumed = true;
        return;
    }
    if (home) {
        // Not FixedCols: the first column that takes the cursor, which skips cells the
        // is-fixed hook marks fixed.
        const int c = FirstTabCol(Row());
        if (c >= 0)
            MoveCurrentCell(c, Row(), true, false);
        SetLeftCol(FirstNormalCol());
    } else {
        MoveCurrentCell(ColCount() - 1, Row(), true, true);
    }
    consumed = true;
}

bool TExtStringGrid::keySkipFixed(int Key)
{
    const int col = Col();
    const int row = Row();
    auto fixedAt = [&](int c, int r) { return IsFixed(RealColIndex(c), r); };
    switch (Key) {
    case VK_LEFT: {
        if (col <= FixedCols() || !fixedAt(col - 1, row))
            return false;
        int c = col - 1;
        while (c >= FixedCols() && fixedAt(c, row))
            --c;
        if (c >= FixedCols())
            SetCol(c);
        return true;
    }
    case VK_RIGHT: {
        if (col + 1 >= ColCount() || !fixedAt(col + 1, row))
            return false;
        int c = col + 1;
        while (c < ColCount() && fixedAt(c, row))
            ++c;
        if (c < ColCount())
            SetCol(c);
        return true;
    }
    case VK_UP: {
        if (row <= FixedRows() || !fixedAt(col, row - 1))
            return false;
        int r = row - 1;
        while (!Options().testFlag(goRowSelect) && r >= FixedRows() && fixedAt(col, r))
            --r;
        if (r >= FixedRows())
            SetRow(r);
        return true;
    }
    case VK_DOWN: {
        const int last = RowCount() - FixedFooters;
        if (row + 1 >= last || !fixedAt(col, row + 1))
            return false;
        int r = row + 1;
        while (r < last && fixedAt(col, r))
            ++r;
        if (r < last)
            SetRow(r);
        return true;
    }
    default: return false;
    }
}

void TExtStringGrid::selectAllByKey()
{
    const TGridRect body{FirstNormalCol(), FixedRows(), ColCount() - 1,
                         RowCount() - FixedFooters - 1};
    if (body.Right < body.Left || body.Bottom < body.Top)
        return;
    if (MouseActions.DisjunctRowSelect())
        SelectRows(body.Top, body.Bottom - body.Top + 1);
    const TGridRect before = Selection();
    // The form sees a click on the last cell. It goes through the mouse operations, not the
    // press handler, so it toggles no check box; editing is held off meanwhile so that the
    // click on the current cell does not open the editor over the new selection.
    FocusCell(body.Right, body.Bottom);
    const TRect r = CellRect(body.Right, body.Bottom);
    const TGridOptions options = Options();
    SetOptions(options & ~TGridOptions(goEditing));
    m_mouseSelection = Selection();
    if (!r.isEmpty()) {
        MouseDown(mbLeft, TShiftState(), r.Left + 2, r.Top + 2);
        MouseUp(mbLeft, TShiftState(), r.Left + 2, r.Top + 2);
    }
    SetOptions(options);
    FocusCell(body.Right, body.Bottom);
    SetSelection(body);
    Invalidate();
    if (body != before)
        DoSelectionChanged(body.Left, body.Top, body.Right, body.Bottom);
    m_moveSelection = body;
}

void TExtStringGrid::KeyPress(char16_t& Key)
{
    const int realCol = RealColIndex(Col());
    const bool startsEdit = (Key == 8 || Key >= 32) && Key != 127;
    if (!startsEdit || !Options().testFlag(goEditing) || EditorMode()) {
        TStringGrid::KeyPress(Key);
        return;
    }
    if (OnKeyPress)
        OnKeyPress(this, Key);
    if (Key == 0 || Key < 32)
        return;
    if (HasCheckBox(realCol, Row()) || !IsEditable(realCol, Row()))
        return;
    // The character opens the editor and arrives in it: the text editor takes it through its
    // own filter and limit; a special editor gets it as its start character.
    FStartEditChar = Key;
    ShowEditor();
    if (TExtInplaceEdit* ed = NormalEdit(); ed && EditorMode())
        ed->StartWithChar(QChar(Key));
    FStartEditChar = 0;
}

void TExtStringGrid::KeyUp(int& Key, TShiftState Shift)
{
    TStringGrid::KeyUp(Key, Shift);
    const bool tab = Key == VK_TAB && Options().testFlag(goTabs);
    if (Navigation.AlwaysEdit && (isArrowKey(Key) || tab)
        && !HasCheckBox(RealColIndex(Col()), Row()))
        ShowEditor();
    if (isArrowKey(Key) || tab) {
        const TGridRect s = Selection();
        if (s != m_moveSelection) {
            m_moveSelection = s;
            DoSelectionChanged(s.Left, s.Top, s.Right, s.Bottom);
        }
    }
}

// ----- Tab and Enter advance -----

bool TExtStringGrid::TabToNextCell(bool Backward)
{
    if (OnKeyDown) {
        // The form sees Tab first; changing the key keeps the cursor where it is.
        int k = VK_TAB;
        OnKeyDown(this, k, Backward ? TShiftState(ssShift) : TShiftState());
        if (k != VK_TAB)
            return true;
    }
    if (Col() == m_lastTabCol && Row() == m_lastTabRow)
        return true;
    const int lastRow = RowCount() - FixedFooters - 1;
    if (lastRow < FixedRows())
        return false;
    const int startCol = Col();
    const int startRow = Row();
    m_lastTabCol = startCol;
    m_lastTabRow = startRow;

    // Row-wise: along the row, then on to the next (previous) row, wrapping at the end of the
    // normal rows. One full pass at most: a grid with no cell that takes the cursor keeps it.
    const int cols = ColCount();
    const int rows = lastRow - FixedRows() + 1;
    int c = startCol;
    int r = startRow;
    bool found = false;
    for (int step = 0; step < cols * rows; ++step) {
        if (!Backward) {
            if (++c >= cols) {
                c = 0;
                r = r >= lastRow ? FixedRows() : r + 1;
            }
        } else {
            if (--c < FirstNormalCol()) {
                c = cols - 1;
                r = r <= FixedRows() ? lastRow : r - 1;
            }
        }
        if (c < FirstNormalCol() || !store().IsBaseCell(RealColIndex(c), r))
            continue;
        if (CanTabToCell(c, r)) {
            found = true;
            break;
        }
    }
    if (found)
        MoveCurrentCell(c, r, true, true);
    m_lastTabCol = -1;
    m_lastTabRow = -1;
    if (found && Navigation.AdvanceAutoEdit && Options().testFlag(goEditing)
        && !HasCheckBox(RealColIndex(Col()), Row()) && IsEditable(RealColIndex(Col()), Row()))
        ShowEditor();
    if (Navigation.AlwaysEdit)
        setFocus(Qt::TabFocusReason);
    return found;
}

bool TExtStringGrid::CursorWalkMove(int ACol, int ARow, bool Forward)
{
    const TAdvanceDirection direction = Navigation.AdvanceDirection();
    Navigation.SetAdvanceDirection(TAdvanceDirection::adLeftRight);
    const bool reopen = Navigation.CursorWalkAlwaysEdit;
    AdvanceToNextCell(ACol, ARow, true, reopen, Forward);
    Navigation.SetAdvanceDirection(direction);
    if (reopen && !EditMode && IsEditable(RealColIndex(Col()), Row()))
        ShowInplaceEdit();
    return reopen;
}

void TExtStringGrid::AdvanceToNextCell(int ACol, int ARow, bool Force, bool AutoEdit, bool Forward)
{
    if (!Navigation.AdvanceOnEnter && !Force)
        return;
    const int lastRow = RowCount() - FixedFooters - 1;
    const int lastCol = ColCount() - 1;
    const int first = FirstNormalCol();
    if (lastRow < FixedRows() || lastCol < first)
        return;
    const bool rowWise = Navigation.AdvanceDirection() == TAdvanceDirection::adLeftRight
                         || Navigation.AdvanceDirection() == TAdvanceDirection::adLeftRightInRow;
    const bool inLine = Navigation.AdvanceDirection() == TAdvanceDirection::adLeftRightInRow
                        || Navigation.AdvanceDirection() == TAdvanceDirection::adTopBottomInCol;

    // One step from (c, r); false when the advance stops at the end.
    auto step = [&](int& c, int& r) {
        if (rowWise) {
            if (Forward ? c < lastCol : c > first) {
                c += Forward ? 1 : -1;
                return true;
            }
            if (!Navigation.AdvanceOnEnterLoop
                && (inLine || (Forward ? r >= lastRow : r <= FixedRows())))
                return false;
            c = Forward ? first : lastCol;
            if (!inLine)
                r = Forward ? (r >= lastRow ? FixedRows() : r + 1)
                            : (r <= FixedRows() ? lastRow : r - 1);
            return true;
        }
        if (Forward ? r < lastRow : r > FixedRows()) {
            r += Forward ? 1 : -1;
            return true;
        }
        if (!Navigation.AdvanceOnEnterLoop && (inLine || (Forward ? c >= lastCol : c <= first)))
            return false;
        r = Forward ? FixedRows() : lastRow;
        if (!inLine)
            c = Forward ? (c >= lastCol ? first : c + 1) : (c <= first ? lastCol : c - 1);
        return true;
    };

    // Skipping cells that may not be edited walks on until an editable one; after one full
    // pass without finding one the current cell stays (a grid without an editable cell would
    // otherwise never stop advancing).
    int c = ACol;
    int r = ARow;
    const int cells = (lastCol - first + 1) * (lastRow - FixedRows() + 1);
    bool found = false;
    bool editable = false;
    for (int n = 0; n < cells; ++n) {
        if (!step(c, r))
            break;
        editable = true;
        QueryCellEditable(RealColIndex(c), r, editable);
        if (editable || !Navigation.AdvanceSkipReadOnlyCells) {
            found = true;
            break;
        }
    }
    if (!found)
        return;
    if (editable) {
        bool allow = true;
        if (OnAutoAdvance)
            OnAutoAdvance(this, ARow, ACol, r, c, allow);
        // A redirect is the form's input: one outside the normal cells is refused rather
        // than handed to the cursor.
        if (allow && (c < FixedCols() || c >= ColCount() || r < FixedRows() || r > lastRow))
            allow = false;
        if (allow && OnCellChanging)
            OnCellChanging(this, ARow, ACol, r, c, allow);
        if (!allow) {
            SelectCell(ACol, ARow);
            return;
        }
    }
    // The advance has asked OnCellChanging itself (a cell that may not be edited is entered
    // without asking): the move stays silent.
    FDisableChange = true;
    MoveCurrentCell(c, r, true, true);
    FDisableChange = false;
    if (AutoEdit && Navigation.AdvanceAutoEdit && Col() == c && Row() == r
        && !HasCheckBox(RealColIndex(c), r) && IsEditable(RealColIndex(c), r))
        ShowEditor();
}

}  // namespace zfw
