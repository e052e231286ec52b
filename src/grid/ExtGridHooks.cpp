// The string grid's per-cell hooks. Each answers from the grid's settings and the cell's
// properties, then fires its event so that the form can change the answer.

#include "grid/ExtGrid.h"
#include "grid/ExtUtil.h"

namespace zfw {

namespace {

// The base cell of the current cell, real column.
QPoint currentBase(const TExtStringGrid& g)
{
    const int ACol = g.RealColIndex(g.Col());
    return g.store().BaseCell(ACol, g.Row());
}

}  // namespace

QString TExtStringGrid::GetCurrentCell()
{
    const QPoint b = currentBase(*this);
    return store().GetGridCell(b.x(), b.y());
}

void TExtStringGrid::SetCurrentCell(const QString& Value)
{
    const QPoint b = currentBase(*this);
    SetCellEx(b.x(), b.y(), Value);
}

QString TExtStringGrid::GetCurrentCellText()
{
    const QPoint b = currentBase(*this);
    return GetCellEx(b.x(), b.y());
}

void TExtStringGrid::DoCanEditCell(int ACol, int ARow, bool& CanEdit)
{
    if (OnCanEditCell)
        OnCanEditCell(this, ARow, ACol, CanEdit);
}

void TExtStringGrid::DoButtonClick(int ACol, int ARow)
{
    if (OnButtonClick)
        OnButtonClick(this, ACol, ARow);
}

void TExtStringGrid::DoComboCloseUp(int ACol, int ARow)
{
    if (OnComboCloseUp)
        OnComboCloseUp(this, ARow, ACol);
}

void TExtStringGrid::DoComboDropDown(int ACol, int ARow)
{
    if (OnComboDropDown)
        OnComboDropDown(this, ARow, ACol);
}

void TExtStringGrid::DoGridHint(int ACol, int ARow, QString& Hint, QString& WideHint)
{
    if (OnGridHint)
        OnGridHint(this, ARow, ACol, Hint);
    if (OnGridWideHint) {
        OnGridWideHint(this, ARow, ACol, WideHint);
        if (!WideHint.isEmpty())
            Hint = PackWideText(WideHint);
    }
}

void TExtStringGrid::GetCellColor(int ACol, int ARow, TGridDrawState AState, TColor& ABrush,
                                  QFont& AFont, TColor& AFontColor)
{
    if (ActiveCellShow) {
        const int DCol = DisplColIndex(ACol);
        const bool rowHeader = FixedCols() > 0 && ARow == Row() && DCol == FixedCols() - 1;
        const bool colHeader = FixedRows() > 0 && DCol == Col() && ARow == FixedRows() - 1;
        if (rowHeader || colHeader) {
            AFont = ActiveCellFont;
            ABrush = ActiveCellColor;
        }
    }
    if (const TCellProperties* p = store().GetGridObject(ACol, ARow)) {
        const TCellType kind = GetCellType(*this, ACol, ARow);
        // Check boxes, buttons, progress bars and the like paint their own face: they keep
        // the brush they came with.
        const bool ownBrush = kind == ctIcon || kind == ctNone || kind == ctImageList
                              || kind == ctEmpty || kind == ctImages || kind == ctComment;
        if (ownBrush && p->BrushColor != clNone)
            ABrush = p->BrushColor;
        if (p->FontColor != clNone)
            AFontColor = p->FontColor;
        if (p->FontStyle != 0) {
            AFont.setBold(p->FontStyle & fsBold);
            AFont.setItalic(p->FontStyle & fsItalic);
            AFont.setUnderline(p->FontStyle & fsUnderline);
            AFont.setStrikeOut(p->FontStyle & fsStrikeOut);
        }
        if (p->FontSize != 0)
            AFont.setPointSize(p->FontSize);
        if (!p->FontName.isEmpty())
            AFont.setFamily(p->FontName);
    }
    if (OnGetCellColor)
        OnGetCellColor(this, ARow, ACol, AState, ABrush, AFont, AFontColor);
}

void TExtStringGrid::GetCellAlignment(int ACol, int ARow, TAlignment& HAlign,
                                      TVAlignment& VAlign)
{
    if (ACol == 0 && MouseActions.HotmailRowSelect())
        HAlign = TAlignment::taCenter;
    if (OnGetAlignment)
        OnGetAlignment(this, ARow, ACol, HAlign, VAlign);
}

void TExtStringGrid::GetAlwaysVisibleEditorType(int ACol, int ARow, TEditorType& AEditor)
{
    if (OnGetEditorType)
        OnGetEditorType(this, ACol, ARow, AEditor);
}

void TExtStringGrid::GetCellEditor(int ACol, int ARow, TEditorType& AEditor)
{
    if (OnGetEditorType)
        OnGetEditorType(this, ACol, ARow, AEditor);
}

bool TExtStringGrid::HasNoEditor(int ACol, int ARow)
{
    if (!OnGetEditorType)
        return false;
    TEditorType editor = TEditorType::edNormal;
    OnGetEditorType(this, ACol, ARow, editor);
    return editor == TEditorType::edNone;
}

void TExtStringGrid::IsFixedCell(int ACol, int ARow, bool& IsFixed)
{
    if (IsFixed)
        return;
    const CellStore& s = store();
    IsFixed = ACol < FixedCols() || ARow < FixedRows()
              || (s.FixedColAlways() && ACol < s.minimumFixedCols()
                  && ColCount() == s.minimumFixedCols())
              || (s.FixedRowAlways() && ARow < s.minimumFixedRows()
                  && RowCount() == s.minimumFixedRows());
    if (!IsFixed && OnIsFixedCell)
        OnIsFixedCell(this, ARow, ACol, IsFixed);
}

void TExtStringGrid::QueryCellEditable(int ACol, int ARow, bool& CanEdit)
{
    const QPoint b = store().BaseCell(ACol, ARow);
    if (const TCellProperties* p = store().GetGridObject(b.x(), b.y()); p && CanEdit) {
        CanEdit = !p->ReadOnly;
        if (!Options().testFlag(goEditing) && !MouseActions.RangeSelectAndEdit)
            CanEdit = false;
    }
    if (b.x() < store().TotalColCount())
        DoCanEditCell(b.x(), b.y(), CanEdit);
    else
        CanEdit = true;
}

void TExtStringGrid::IsPasswordCell(int ACol, int ARow, bool& IsPassword)
{
    if (OnIsPasswordCell)
        OnIsPasswordCell(this, ARow, ACol, IsPassword);
}

void TExtStringGrid::DoGetWordWrap(int ACol, int ARow, bool& WordWrap)
{
    if (OnGetWordWrap)
        OnGetWordWrap(this, ACol, ARow, WordWrap);
}

void TExtStringGrid::GetCheckTrue(int ACol, int ARow, QString& Value)
{
    Value = CheckTrue;
    if (OnGetCheckTrue)
        OnGetCheckTrue(this, ACol, ARow, Value);
}

void TExtStringGrid::GetCheckFalse(int ACol, int ARow, QString& Value)
{
    Value = CheckFalse;
    if (OnGetCheckFalse)
        OnGetCheckFalse(this, ACol, ARow, Value);
}

}  // namespace zfw
