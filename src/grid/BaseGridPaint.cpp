// The base grid's painting: one pass over the cells through the framework's Paint, each cell
// through PaintCellBase with the text of the default style as its content. A merged area is
// painted whole by whichever of its cells the pass meets first.

#include "grid/BaseGrid.h"

#include <QPainter>

namespace zfw {

void TBaseGrid::Paint(QPainter& painter, const QRect& updateRect)
{
    QPainterGridCanvas canvas(painter, palette());
    paintCells(canvas, painter, updateRect);
}

void TBaseGrid::paintCells(IGridCanvas& canvas, QPainter& painter, const QRect& updateRect)
{
    ++m_paintId;
    IGridCanvas* const oldCanvas = m_drawCanvas;
    QPainter* const oldPainter = m_drawPainter;
    m_drawCanvas = &canvas;
    m_drawPainter = &painter;
    TStringGrid::Paint(painter, updateRect);
    m_drawCanvas = oldCanvas;
    m_drawPainter = oldPainter;
}

CellPaintGrid TBaseGrid::cellPaintGrid() const
{
    CellPaintGrid g;
    g.fixedCols = FixedCols();
    g.fixedRows = FixedRows();
    for (int c = 0; c < FixedCols(); ++c)
        g.fixedColsWidth += ColWidths(c);
    for (int r = 0; r < FixedRows(); ++r)
        g.fixedRowsHeight += RowHeights(r);
    g.clientWidth = ClientWidth();
    g.clientHeight = ClientHeight();
    g.rowCount = RowCount();
    const TGridOptions o = Options();
    g.horzLine = o.testFlag(goHorzLine);
    g.vertLine = o.testFlag(goVertLine);
    g.fixedHorzLine = o.testFlag(goFixedHorzLine);
    g.fixedVertLine = o.testFlag(goFixedVertLine);
    g.rightToLeft = layoutDirection() == Qt::RightToLeft;
    g.hideLastRow = m_store.FHideLastRow();
    g.color = Color();
    g.currentCol = Col();
    g.currentRow = Row();
    g.gridLineWidth = m_gridLineWidth;
    g.hoverRow = HoverRow;
    g.hoverRowIdx = FHoverRowIdx;
    g.hoverFixed = HoverRowCells.testFlag(hcFixed);
    g.hoverSelected = HoverRowCells.testFlag(hcSelected);
    g.hoverRowColor = HoverRowColor;
    g.hoverRowColorTo = HoverRowColorTo;
    g.activeRowShow = ActiveRowShow;
    g.activeRowColor = ActiveRowColor;
    g.activeRowColorTo = ActiveRowColorTo;
    g.activeRowMirrorColor = ActiveRowMirrorColor;
    g.activeRowMirrorColorTo = ActiveRowMirrorColorTo;
    return g;
}

CellVisual TBaseGrid::cellVisual(int ACol, int ARow, bool fixed) const
{
    CellVisual v;
    v.brush = fixed ? FixedColor() : Color();
    v.font = font();
    const TCellProperties* props = m_store.GetGridObject(ACol, ARow);
    if (!props)
        return v;
    if (props->BrushColor != clNone) {
        v.brush = props->BrushColor;
        v.colorTo = props->BrushColorTo;
        v.gradientHorizontal = props->GradientDirection
                               == TCellGradientDirection::GradientHorizontal;
    }
    if (!props->FontName.isEmpty())
        v.font.setFamily(props->FontName);
    if (props->FontSize > 0)
        v.font.setPointSize(props->FontSize);
    if (props->FontStyle != 0) {
        v.font.setBold(props->FontStyle & fsBold);
        v.font.setItalic(props->FontStyle & fsItalic);
        v.font.setUnderline(props->FontStyle & fsUnderline);
        v.font.setStrikeOut(props->FontStyle & fsStrikeOut);
    }
    return v;
}

CellVisual TBaseGrid::paintVisual(int ACol, int ARow, TGridDrawState& AState)
{
    CellVisual v = cellVisual(ACol, ARow, AState.testFlag(gdFixed));
    if (!AState.testFlag(gdFixed) && AState.testFlag(gdSelected))
        v.brush = clHighlight;
    return v;
}

void TBaseGrid::DrawCellContent(IGridCanvas& canvas, int ACol, int ARow, const TRect& content,
                                bool selected)
{
    const QString text = GetCellEx(ACol, ARow);
    if (text.isEmpty())
        return;
    const TCellProperties* props = m_store.GetGridObject(ACol, ARow);
    int flags = 0;
    switch (props ? props->Alignment : TAlignment::taLeftJustify) {
    case TAlignment::taLeftJustify: flags |= Qt::AlignLeft; break;
    case TAlignment::taRightJustify: flags |= Qt::AlignRight; break;
    case TAlignment::taCenter: flags |= Qt::AlignHCenter; break;
    }
    switch (props ? props->VAlignment : TVAlignment::vtaTop) {
    case TVAlignment::vtaTop: flags |= Qt::AlignTop; break;
    case TVAlignment::vtaCenter: flags |= Qt::AlignVCenter; break;
    case TVAlignment::vtaBottom: flags |= Qt::AlignBottom; break;
    }
    const bool wrap = props ? props->WordWrap : m_store.WordWrap();
    flags |= wrap ? Qt::TextWordWrap : Qt::TextSingleLine;
    TColor color = selected ? clHighlightText : clWindowText;
    if (props && props->FontColor != clNone && !selected)
        color = props->FontColor;
    // Two pixels of air on each side, as the framework leaves them.
    TRect r = content;
    r.Left += 2;
    r.Right -= 2;
    canvas.text(r, text, flags, color);
}

void TBaseGrid::DrawCell(int DCol, int ARow, const TRect& ARect, TGridDrawState AState)
{
    if (!m_drawCanvas || !m_drawPainter) {
        TStringGrid::DrawCell(DCol, ARow, ARect, AState);
        return;
    }
    const int ACol = m_store.RealColIndex(DCol);
    if (!paintOneCell(*m_drawCanvas, ACol, ARow, ARect, AState, true))
        return;
    if (OnDrawCell && !firesDrawCellEvent())
        OnDrawCell(this, DCol, ARow, m_cellDraw.rect, m_cellDraw.state);
}

void TBaseGrid::PaintCell(IGridCanvas& ACanvas, int ACol, int ARow, const TRect& ARect,
                          TGridDrawState AState)
{
    paintOneCell(ACanvas, ACol, ARow, ARect, AState, true);
}

void TBaseGrid::PaintCellExt(IGridCanvas& ACanvas, int ACol, int ARow, const TRect& ARect,
                             TGridDrawState AState)
{
    paintOneCell(ACanvas, ACol, ARow, ARect, AState, false);
}

bool TBaseGrid::paintOneCell(IGridCanvas& canvas, int ACol, int ARow, const TRect& ARect,
                             TGridDrawState AState, bool full)
{
    int baseCol = ACol;
    int baseRow = ARow;
    TRect rect = ARect;
    TGridDrawState state = AState;
    bool merged = false;
    if (m_store.IsMergedCell(ACol, ARow)) {
        // Whichever cell of a merged area comes first in a pass paints the whole area, as a
        // full cell; the others paint nothing.
        const QPoint base = m_store.BaseCell(ACol, ARow);
        TCellProperties* baseProps = m_store.GetGridObject(base.x(), base.y());
        if (baseProps && !claimMergedAreaPaint(baseProps->FPaintID, m_paintId))
            return false;
        baseCol = base.x();
        baseRow = base.y();
        merged = true;
        full = true;
    }
    const int baseDCol = m_store.DisplColIndex(baseCol);
    if (merged) {
        // Asked of the cell met (the base column may be hidden): the whole area either way.
        rect = CellRect(m_store.DisplColIndex(ACol), ARow);
        if (m_drawCanvas == &canvas && m_drawPainter) {
            state = drawStateOf(baseDCol, baseRow);
            // The framework clipped to the one cell it met; the area is painted whole.
            m_drawPainter->setClipRect(rect.toQRect(), Qt::ReplaceClip);
        }
    }
    // Background mode keeps the state it was given; only the colours are taken.
    TGridDrawState visualState = state;
    CellVisual visual = paintVisual(baseCol, baseRow, visualState);
    if (full)
        state = visualState;
    const bool fixed = state.testFlag(gdFixed);
    const bool selected = !fixed && state.testFlag(gdSelected);
    m_cellDraw = CellDrawContext{baseDCol, baseRow, rect, state};

    CellPaintRequest req;
    req.ACol = baseDCol;
    req.ARow = baseRow;
    req.rect = rect;
    req.fixed = fixed;
    req.selected = full ? selected : state.testFlag(gdSelected);
    req.fullMode = full;
    PaintCellBase(canvas, cellPaintGrid(), req, visual,
                  [&](IGridCanvas& c, int, int, const TRect& content) {
                      DrawCellContent(c, baseCol, baseRow, content, selected);
                  });
    return true;
}

}  // namespace zfw
