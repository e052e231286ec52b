// The string grid's per-cell hooks. Each answers from the grid's settings and the cell's
// properties, then fires its event so that the form can change the answer.

#include "grid/ExtGrid.h"
#include "grid/ExtUtil.h"

#include <QCollator>

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

void TExtStringGrid::SetCurrentCellEditText(const QString& Value)
{
    const QPoint b = currentBase(*this);
    SetEditText(DisplColIndex(b.x()), b.y(), Value);
}

void TExtStringGrid::RecalcFooter()
{
    for (int ACol = 0; ACol < store().TotalColCount(); ++ACol)
        UpdateFooterColumn(ACol);
}

void TExtStringGrid::RememberCellValue(int ACol, int ARow)
{
    m_oldCol = ACol;
    m_oldRow = ARow;
    // ACol is a display column here: the current cell.
    const int real = RealColIndex(ACol);
    m_oldCellText = store().GetGridCell(real, ARow);
    m_oldWideCellText = UnpackWideText(GetCellEx(real, ARow));
    m_oldModified = Modified;
}

void TExtStringGrid::DoSearchFooterAction(const QString& Value, int ACol, int ARow,
                                          TSearchAction SearchAction)
{
    if (OnSearchFooterAction)
        OnSearchFooterAction(this, Value, ACol, ARow, SearchAction);
}

void TExtStringGrid::DoExpandClick(int ACol, int ARow, bool Expanded)
{
    if (OnExpandClick)
        OnExpandClick(this, ACol, ARow, Expanded);
    // An expand cell keeps its collapsed height in CellIndex and its expanded height in
    // CellAngle; a cell without one falls back to the default height.
    const QPoint b = store().BaseCell(ACol, ARow);
    const TCellGraphic* g = store().GetGraphicObjectEx(b.x(), b.y());
    int height = DefaultRowHeight();
    if (g && g->CellType == ctExpand)
        height = Expanded ? g->CellAngle : g->CellIndex;
    if (ARow >= 0 && ARow < RowCount())
        SetRowHeights(ARow, height);
}

void TExtStringGrid::DoGetCellCursor(int ACol, int ARow, int X, int Y)
{
    if (!OnGetCellCursor)
        return;
    Qt::CursorShape shape = viewport()->cursor().shape();
    OnGetCellCursor(this, ACol, ARow, X, Y, shape);
    viewport()->setCursor(shape);
}

void TExtStringGrid::DoCellsChanged(const TCellRange& R)
{
    if (OnCellsChanged) {
        const TCellRange copy = R;
        OnCellsChanged(this, copy);
    }
    RecalcFooter();
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

void TExtStringGrid::GetCellPrintColor(int ACol, int ARow, TGridDrawState AState, TColor& ABrush,
                                       QFont& AFont, TColor& AFontColor)
{
    if (OnGetCellPrintColor)
        OnGetCellPrintColor(this, ARow, ACol, AState, ABrush, AFont, AFontColor);
}

void TExtStringGrid::GetCellBorder(int ACol, int ARow, TCellBorderPen& APen, TCellBorders& Borders)
{
    if (Grouping.HeaderUnderline && ACol > 0 && IsNode(ARow)) {
        Borders = {TCellBorder::cbBottom};
        APen = {Grouping.HeaderLineColor, Grouping.HeaderLineWidth};
    }
    if (Grouping.SummaryLine && ACol > 0 && IsSummary(ARow)) {
        Borders = {TCellBorder::cbTop};
        APen = {Grouping.SummaryLineColor, Grouping.SummaryLineWidth};
    }
    if (OnGetCellBorder)
        OnGetCellBorder(this, ARow, ACol, APen, Borders);
}

void TExtStringGrid::GetCellPrintBorder(int ACol, int ARow, TCellBorderPen& APen,
                                        TCellBorders& Borders)
{
    if (OnGetCellPrintBorder)
        OnGetCellPrintBorder(this, ARow, ACol, APen, Borders);
}

void TExtStringGrid::GetCellFormat(int ACol, TSortStyle& AStyle, QString& aPrefix, QString& aSuffix)
{
    if (OnGetFormat)
        OnGetFormat(this, ACol, AStyle, aPrefix, aSuffix);
}

void TExtStringGrid::GetCellAlignment(int ACol, int ARow, TAlignment& HAlign, TVAlignment& VAlign)
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
        if (!Options().testFlag(goEditing) && !MouseActions.RangeSelectAndEdit && !FEditDisable)
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

bool TExtStringGrid::DoHasComboBox(int ACol, int ARow)
{
    if (OnHasComboBox) {
        bool has = false;
        OnHasComboBox(this, ACol, ARow, has);
        return has;
    }
    if (!ControlLook.DropDownAlwaysVisible())
        return false;
    TEditorType editor = DefaultEditor;
    GetCellEditor(ACol, ARow, editor);
    return editor == TEditorType::edComboEdit || editor == TEditorType::edComboList;
}

bool TExtStringGrid::DoHasSpinEdit(int ACol, int ARow)
{
    if (ACol < FixedCols() || ARow < FixedRows())
        return false;
    if (OnHasSpinEdit) {
        bool has = false;
        OnHasSpinEdit(this, ACol, ARow, has);
        return has;
    }
    if (!ControlLook.SpinButtonsAlwaysVisible())
        return false;
    TEditorType editor = DefaultEditor;
    GetAlwaysVisibleEditorType(ACol, ARow, editor);
    return editor == TEditorType::edSpinEdit || editor == TEditorType::edFloatSpinEdit
           || editor == TEditorType::edTimeSpinEdit || editor == TEditorType::edDateSpinEdit;
}

bool TExtStringGrid::BuildColumnFilterList(int ACol)
{
    m_filterValues.clear();
    if (FilterDropDownAuto
        && (ACol >= FixedCols() || FilterDropDownColumns == TFilterDropDownColumns::fdAll)) {
        // A sorted list without duplicates, compared as the user reads them (case ignored).
        QCollator order;
        order.setCaseSensitivity(Qt::CaseInsensitive);
        std::vector<QString> values;
        auto add = [&](const QString& text) {
            QString entry = text;
            if (entry.contains(u' '))
                entry = text + u'=' + u'"' + text + u'"';
            const auto at = std::lower_bound(values.begin(), values.end(), entry,
                                             [&](const QString& a, const QString& b) {
                                                 return order.compare(a, b) < 0;
                                             });
            if (at == values.end() || order.compare(*at, entry) != 0)
                values.insert(at, entry);
        };
        for (int r = FixedRows(); r < RowCount() - FixedFooters; ++r)
            add(GetCellEx(ACol, r).trimmed());
        if (!FilterIncremental) {
            for (int real = 0; real < store().TotalRowCount(); ++real) {
                if (!store().IsHiddenRow(real))
                    continue;
                const std::vector<QString> texts = store().hiddenRowTexts(real);
                add(ACol >= 0 && ACol < int(texts.size()) ? texts[std::size_t(ACol)] : QString());
            }
        }
        for (const QString& v : values)
            m_filterValues << v;
        if (!FilterDropDownClear.isEmpty())
            m_filterValues.prepend(FilterDropDownClear);
    }
    if (OnGetColumnFilter)
        OnGetColumnFilter(this, ACol, m_filterValues);
    return !m_filterValues.isEmpty();
}

}  // namespace zfw
