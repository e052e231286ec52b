// The string grid's check-box cells: adding them (one cell or a column), reading, writing and
// toggling their state with the cell's own check texts, and painting the box.

#include "grid/ExtGrid.h"

#include <algorithm>

namespace zfw {

CheckTexts TExtStringGrid::cellCheckTexts(int ACol, int ARow)
{
    CheckTexts t;
    t.checkTrue = CheckTrue;
    t.checkFalse = CheckFalse;
    GetCheckTrue(ACol, ARow, t.checkTrue);
    GetCheckFalse(ACol, ARow, t.checkFalse);
    return t;
}

QString TExtStringGrid::AddCheckBox(int ACol, int ARow, bool State, bool Data)
{
    return zfw::AddCheckBox(*this, ACol, ARow, State, Data, int(VAlignment),
                            cellCheckTexts(ACol, ARow));
}

QString TExtStringGrid::AddCheckBoxColumn(int ACol, bool DefaultState, bool DataCheckBox)
{
    // Row by row, so that each cell is asked for its own check texts. Summary and node rows
    // come with the grouping code; until then every row gets the plain kind asked for.
    BeginUpdate();
    QString error;
    for (const CheckColumnPlanRow& p :
         planCheckBoxColumn(RowCount(), FixedRows(), MouseActions.CheckAllCheck, {}, {})) {
        if (p.what != CheckColumnRow::CheckBox)
            continue;
        error = AddCheckBox(ACol, p.row, DefaultState, DataCheckBox);
        if (!error.isEmpty())
            break;
    }
    EndUpdate();
    return error;
}

bool TExtStringGrid::RemoveCheckBox(int ACol, int ARow)
{
    return zfw::RemoveCheckBox(*this, ACol, ARow);
}

void TExtStringGrid::RemoveCheckBoxColumn(int ACol)
{
    BeginUpdate();
    zfw::RemoveCheckBoxColumn(*this, ACol, FixedRows(), MouseActions.CheckAllCheck);
    EndUpdate();
}

bool TExtStringGrid::HasCheckBox(int ACol, int ARow) const
{
    const QPoint b = store().BaseCell(ACol, ARow);
    return zfw::HasCheckBox(*this, b.x(), b.y());
}

bool TExtStringGrid::HasDataCheckBox(int ACol, int ARow) const
{
    const QPoint b = store().BaseCell(ACol, ARow);
    return zfw::HasDataCheckBox(*this, b.x(), b.y());
}

// While rows are hidden the state calls take real rows. A shown real row is its display row;
// a hidden one answers from its saved cell. The old fall-back for a hidden cell without
// properties asked the display row with the same number, which is another row: its box was
// reported for this one. A hidden cell is read from its own saved entry only.
bool TExtStringGrid::GetCheckBoxState(int ACol, int ARow, bool& State)
{
    const CheckTexts texts = cellCheckTexts(ACol, ARow);
    if (store().NumHiddenRows() == 0)
        return zfw::GetCheckBoxState(*this, ACol, ARow, texts, State);
    if (!store().IsHiddenRow(ARow))
        return zfw::GetCheckBoxState(*this, ACol, store().DisplRowIndex(ARow), texts, State);
    const TCellProperties* p = store().hiddenRowProperties(ARow, ACol);
    const TCellGraphic* g = p ? p->FGraphicObject : nullptr;
    if (!g)
        return false;
    switch (g->CellType) {
    case ctCheckBox: State = g->CellBoolean; return true;
    case ctDataCheckBox:
    case ctVirtCheckBox: State = GetCellsEx(ACol, ARow) == texts.checkTrue; return true;
    default: return false;
    }
}

bool TExtStringGrid::IsChecked(int ACol, int ARow)
{
    bool state = false;
    return GetCheckBoxState(ACol, ARow, state) && state;
}

bool TExtStringGrid::SetCheckBoxState(int ACol, int ARow, bool State)
{
    const CheckTexts texts = cellCheckTexts(ACol, ARow);
    if (store().NumHiddenRows() == 0)
        return zfw::SetCheckBoxState(*this, ACol, ARow, State, texts);
    if (!store().IsHiddenRow(ARow))
        return zfw::SetCheckBoxState(*this, ACol, store().DisplRowIndex(ARow), State, texts);
    TCellProperties* p = store().hiddenRowProperties(ARow, ACol);
    TCellGraphic* g = p ? p->FGraphicObject : nullptr;
    if (!g)
        return false;
    switch (g->CellType) {
    case ctCheckBox: g->CellBoolean = State; return true;
    case ctDataCheckBox:
    case ctVirtCheckBox: return SetCellsEx(ACol, ARow, State ? texts.checkTrue : texts.checkFalse);
    default: return false;
    }
}

bool TExtStringGrid::ChangeCheckBoxState(int ACol, int ARow, bool State)
{
    const CheckTexts texts = cellCheckTexts(ACol, store().RealRowIndex(ARow));
    const ChangeResult r = changeCheckBoxCell(*this, ACol, ARow, State, texts);
    if (r.changed)
        DoCheckBoxChange(ACol, ARow, State);
    return r.applied;
}

void TExtStringGrid::setAllCheckBoxes(int ACol, bool State)
{
    for (int r = FixedRows(); r < RowCount(); ++r)
        ChangeCheckBoxState(ACol, r, State);
    if (store().NumHiddenColumns() > 0) {
        const int DCol = DisplColIndex(ACol);
        InvalidateGridRect({DCol, 0, DCol, RowCount() - 1});
    }
}

bool TExtStringGrid::ToggleCheckBoxEx(int ACol, int ARow, bool CheckEditable)
{
    if (!zfw::HasCheckBox(*this, ACol, ARow))
        return false;
    if (CheckEditable) {
        bool canEdit = true;
        QueryCellEditable(ACol, ARow, canEdit);
        if (!canEdit)
            return false;
    }
    const ToggleResult t = toggleCheckBoxCell(*this, ACol, ARow, cellCheckTexts(ACol, ARow));
    if (!t.toggled)
        return false;
    DoCheckBoxChange(ACol, ARow, t.newState);
    return true;
}

void TExtStringGrid::DoCheckBoxChange(int ACol, int ARow, bool State)
{
    if (OnCheckBoxChange)
        OnCheckBoxChange(this, ACol, ARow, State);
}

TRect TExtStringGrid::checkBoxRect(int ACol, int ARow, const TRect& content)
{
    TRect r = content;
    r.Left += XYOffset.x() - 1;
    r.Right -= XYOffset.x() - 1;
    r.Top += XYOffset.y() - 1;
    r.Bottom -= XYOffset.y() - 1;
    const int w = kCheckSize;
    const int h = kCheckSize;

    const TCellProperties* props = store().GetGridObject(ACol, ARow);
    TAlignment ha = props ? props->Alignment : DefaultAlignment;
    TVAlignment va = props ? props->VAlignment : VAlignment;
    GetCellAlignment(ACol, ARow, ha, va);

    int left = r.Left + 1;
    switch (ha) {
    case TAlignment::taLeftJustify: break;
    case TAlignment::taRightJustify: left = r.Right - w - 1; break;
    case TAlignment::taCenter: left = r.Left + std::max(0, r.Right - w - r.Left) / 2; break;
    }
    left = std::max(left, r.Left + 1);

    // The box follows the graphic's placement unless the cell has its own vertical alignment.
    TCellVAlign cva = vaTop;
    if (const TCellGraphic* g = GetCellGraphic(*this, ACol, ARow))
        cva = g->CellVAlign;
    if (va != VAlignment)
        cva = checkBoxVAlign(int(va));
    int top = r.Top + 1;
    if (cva == vaBottom)
        top = r.Bottom - 1 - h;
    else if (cva == vaCenter && h < r.Bottom - r.Top)
        top = r.Top + (r.Bottom - r.Top - h) / 2;
    return TRect{left, top, left + w, top + h};
}

void TExtStringGrid::DrawCellContent(IGridCanvas& canvas, int ACol, int ARow, const TRect& content,
                                     bool selected)
{
    const CellDrawContext& c = cellDrawContext();
    DrawGridCell(canvas, c.DCol, c.ARow, content, c.state);
}

}  // namespace zfw
