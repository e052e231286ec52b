// Column sizing of the string grid: fitting a column to its content and the steps that follow
// a width change (the sized column's limits, the editor over a check box).

#include "grid/ExtGrid.h"
#include "grid/ExtUtil.h"
#include "grid/GridLook.h"

#include <algorithm>

namespace zfw {

namespace {

// The grid draws one-pixel lines inside its cells.
constexpr int kGridLineWidth = 1;

}  // namespace

void TExtStringGrid::DoUpdateColumnSize(int ACol, int& AWidth)
{
    if (OnUpdateColumnSize)
        OnUpdateColumnSize(this, ACol, AWidth);
}

void TExtStringGrid::DoUpdateAutoColumnSize(int ACol, int& AWidth)
{
    if (OnUpdateColumnSize)
        OnUpdateColumnSize(this, ACol, AWidth);
}

TExtStringGrid::CellContentSize TExtStringGrid::measureCellContent(int ACol, int ARow, bool wrapped,
                                                                   int graphicPaddingX)
{
    const int rc = RealColIndex(ACol);
    TGridDrawState state = drawStateOf(ACol, ARow);
    TColor brush = clNone;
    TColor colorTo = clNone;
    TColor mirror = clNone;
    TColor mirrorTo = clNone;
    TColor fontColor = clNone;
    QFont cellFont;
    TAlignment ha = DefaultAlignment;
    TVAlignment va = VAlignment;
    bool ww = WordWrap();
    TCellGradientDirection gd = TCellGradientDirection::GradientVertical;
    GetVisualProperties(rc, ARow, state, false, false, false, brush, colorTo, mirror, mirrorTo,
                        cellFont, fontColor, ha, va, ww, gd);

    CellContentSize size;
    CellTextSizeInput in;
    in.text = GetFormattedCell(rc, ARow);
    in.font = cellFont;
    in.cellRect = CellRect(ACol, ARow);
    in.xyOffset = XYOffset;
    in.xyOffsetTopLeftOnly = XYOffsetTopLeftOnly;
    in.wrapped = wrapped && WordWrap() && ww;
    in.enableHTML = EnableHTML;
    in.multiLineCells = Multilinecells;
    in.editingThisCell = EditorMode() && ACol == Col() && ARow == Row();
    if (!in.text.isEmpty())
        size.text = CalcCellTextSize(in);

    size.graphic = GetCellGraphic(*this, rc, ARow);
    if (size.graphic) {
        GraphicSizeContext ctx;
        ctx.cellHasText = !in.text.isEmpty();
        ctx.checkSize = ControlLook.CheckSize();
        ctx.radioSize = ControlLook.RadioSize();
        ctx.totalXOffset = TotalXOffset() + graphicPaddingX;
        ctx.totalYOffset = TotalYOffset();
        const QFontMetrics fm(cellFont);
        ctx.textWidth = [fm](const QString& s) { return fm.horizontalAdvance(s); };
        size.graphicSize = CalcCellGraphicSize(size.graphic, ctx);
    }
    return size;
}

void TExtStringGrid::FitColumnToContent(int ACol, bool GrowOnly)
{
    if (ACol < 0 || ACol >= ColCount())
        return;
    const int rc = RealColIndex(ACol);
    int widest = 0;
    for (int r = 0; r < RowCount(); ++r) {
        if (store().IsXMergedCell(rc, r))
            continue;
        const CellContentSize cell = measureCellContent(ACol, r);
        const int graphicWidth = cell.graphicSize.width();
        int w = graphicWidth + cell.text.width();
        if (ControlLook.DropDownAlwaysVisible() && DoHasComboBox(rc, r))
            w += 16;
        if (IsSortIndicatorCell(rc, r) && ACol == SortSettings.Column)
            w += 10;
        if (cell.graphic && cell.graphic->CellHAlign == haFull)
            w = graphicWidth - (2 * (kGridLineWidth + 1) + XYOffset.x());
        widest = std::max(widest, w);
    }
    int width = widest + TotalXOffset() + 2 * kGridLineWidth + 2;
    if (GrowOnly && ColWidths(ACol) >= width)
        return;
    DoUpdateAutoColumnSize(ACol, width);
    SetColWidths(ACol, ClampToLimits(width, minColWidthLimit(), MaxColWidth));
}

int TExtStringGrid::minColWidthLimit() const
{
    return MinColWidth > 0 ? MinColWidth : m_loadedMinColWidth;
}

void TExtStringGrid::AutoSizeCol(int ACol, int Padding)
{
    if (ACol < 0 || ACol >= ColCount())
        return;
    FitColumnToContent(ACol, SizeGrowOnly);
    if (Padding != 0)
        SetColWidths(ACol,
                     ClampToLimits(ColWidths(ACol) + Padding, minColWidthLimit(), MaxColWidth));
}

void TExtStringGrid::FitRowToContent(int ARow, bool GrowOnly, int Padding)
{
    if (ARow < 0 || ARow >= RowCount())
        return;
    int tallest = 0;
    for (int c = 0; c < ColCount(); ++c) {
        const int rc = RealColIndex(c);
        if (store().IsYMergedCell(rc, ARow) || store().IsIgnoredColumn(rc))
            continue;
        const CellContentSize cell = measureCellContent(c, ARow, true, Padding);
        int textHeight = cell.text.height();
        int graphicHeight = 0;
        const TCellGraphic* g = cell.graphic;
        if (g) {
            graphicHeight = cell.graphicSize.height();
            if (g->CellVAlign == vaFull)
                graphicHeight = textHeight == 0 ? DefaultRowHeight() : 0;
            if ((g->CellType == ctDataCheckBox || g->CellType == ctVirtCheckBox)
                && graphicHeight > 0)
                textHeight = 0;
        }
        int h = textHeight + graphicHeight;
        if (store().IsMergedNonBaseCell(rc, ARow))
            h = 0;
        if (g
            && (g->CellType == ctCheckBox || g->CellType == ctDataCheckBox
                || g->CellType == ctVirtCheckBox || g->CellType == ctRadio))
            h = DefaultRowHeight();
        tallest = std::max(tallest, h);
    }
    int height = tallest + TotalYOffset() + 2 * kGridLineWidth;
    if (XYOffsetTopLeftOnly)
        height += 2;
    if (!GrowOnly || RowHeights(ARow) < height)
        SetRowHeights(ARow, ClampToLimits(height, MinRowHeight, MaxRowHeight));
}

void TExtStringGrid::AutoSizeRow(int ARow, int Padding)
{
    if (ARow < 0 || ARow >= RowCount())
        return;
    FitRowToContent(ARow, SizeGrowOnly, Padding);
    if (Padding != 0)
        SetRowHeights(ARow, ClampToLimits(RowHeights(ARow) + Padding, MinRowHeight, MaxRowHeight));
}

void TExtStringGrid::SetRowLineHeight(int ARow, int Lines, int Padding)
{
    if (ARow < 0 || ARow >= RowCount())
        return;
    QFont f = font();
    TColor brush = clNone;
    TColor fontColor = clWindowText;
    GetCellColor(FixedCols(), ARow, TGridDrawState(), brush, f, fontColor);
    const int h = QFontMetrics(f).height();
    SetRowHeights(ARow, ClampToLimits(Padding + Lines * (h + h / 8), MinRowHeight, MaxRowHeight));
}

void TExtStringGrid::AutoSizeCells(bool DoFixedCells, int PaddingX, int PaddingY)
{
    BeginUpdate();
    // The lock is released however the measuring ends, or the grid would never paint again.
    struct Unlock {
        TExtStringGrid* grid;
        ~Unlock() { grid->EndUpdate(); }
    } unlock{this};

    const int firstCol = DoFixedCells ? 0 : FixedCols();
    const int firstRow = DoFixedCells ? 0 : FixedRows();
    for (int c = firstCol; c < ColCount(); ++c) {
        const int rc = RealColIndex(c);
        int current = SizeGrowOnly ? ColWidths(c) : 0;
        for (int r = firstRow; r < RowCount(); ++r) {
            const CellContentSize cell = measureCellContent(c, r);
            int w = cell.text.width() + cell.graphicSize.width() + PaddingX + XYOffset.x();
            int h = cell.text.height() + cell.graphicSize.height() + PaddingY + XYOffset.y();
            if (!store().IsXMergedCell(rc, r) && w > current) {
                w = ClampToLimits(w, minColWidthLimit(), MaxColWidth);
                if (w > current) {
                    SetColWidths(c, w);
                    current = w;
                }
            }
            if (!store().IsYMergedCell(rc, r) && h > RowHeights(r)) {
                h = ClampToLimits(h, MinRowHeight, MaxRowHeight);
                if (h > RowHeights(r))
                    SetRowHeights(r, h);
            }
        }
    }
}

void TExtStringGrid::colWidthsChangedSteps()
{
    if (m_colSized >= 0 && m_colSized < ColCount()) {
        const int c = m_colSized;
        int w = ColWidths(c);
        DoUpdateColumnSize(c, w);
        if (w != ColWidths(c)) {
            // The width set here runs these steps again, no longer as the user's sizing.
            m_colSized = -1;
            SetColWidths(c, w);
        }
    }
    m_colSized = -1;
    placeComboEditor();
    // An editor over a check box has nothing to edit once the cell changed its size.
    if (EditorMode() && Col() >= 0 && Row() >= 0 && HasCheckBox(RealColIndex(Col()), Row()))
        HideEditor();
}

}  // namespace zfw
