// The string grid's paint pass and its cell painter: what is drawn over the base grid's
// background and lines, step by step, for every visible cell.

#include "grid/CellGraphic.h"
#include "grid/ExtGrid.h"

#include <QPainter>
#include <QPen>

namespace zfw {

namespace {

// The gradient looks paint their own fixed-cell background.
bool isGradientLook(TGridLook look)
{
    switch (look) {
    case TGridLook::glVKT:
    case TGridLook::glXP:
    case TGridLook::glVista:
    case TGridLook::glWin7:
    case TGridLook::glOffice2007: return true;
    default: return false;
    }
}

TColor halfColor(TColor rgb)
{
    return ((rgb & 0xFE) >> 1) | (((rgb >> 8 & 0xFE) >> 1) << 8)
           | (((rgb >> 16 & 0xFE) >> 1) << 16);
}

}  // namespace

bool TExtStringGrid::isHoveredFixedCell(int DCol, int ARow) const
{
    return QPoint(DCol, ARow) == HoverFixedCell && GridState() == gsNormal
           && IsHoverFixedCell(DCol, ARow);
}

void TExtStringGrid::Paint(QPainter& painter, const QRect& updateRect)
{
    // A lock held across an expose paints nothing; its end repaints everything once.
    if (LockUpdate())
        return;
    painter.setPen(Qt::SolidLine);
    TBaseGrid::Paint(painter, updateRect);
    paintLooseOverlays(painter);
    if (OnPainted)
        OnPainted(this);
}

void TExtStringGrid::paintLooseOverlays(QPainter& painter)
{
    if (!m_colSizingLine && !m_rowSizingLine)
        return;
    painter.save();
    painter.setClipping(false);
    painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
    const QRect area = viewport()->rect();
    if (m_colSizingLine)
        painter.drawLine(*m_colSizingLine, 0, *m_colSizingLine, area.bottom());
    if (m_rowSizingLine)
        painter.drawLine(0, *m_rowSizingLine, area.right(), *m_rowSizingLine);
    painter.restore();
}

TExtStringGrid::CellGraphicExtent TExtStringGrid::GetCellGraphicExtent(int ACol, int ARow) const
{
    CellGraphicExtent e;
    e.graphic = GetCellGraphic(*this, ACol, ARow);
    if (!e.graphic)
        return e;
    const int check = ControlLook.CheckSize();
    switch (e.graphic->CellType) {
    case ctCheckBox:
    case ctTriStateCheckBox: e.width = e.height = check; break;
    case ctDataCheckBox:
    case ctVirtCheckBox:
    case ctRowCheckBox:
        e.width = e.height = check;
        e.textAllowed = false;
        break;
    case ctRotated:
    case ctRadio:
    case ctProgress:
    case ctRangeIndicator:
    case ctXPProgress:
    case ctDataImage:
    case ctRating: e.textAllowed = false; break;
    case ctRadioButton: e.width = e.height = ControlLook.RadioSize() + 4; break;
    default: break;
    }
    return e;
}

void TExtStringGrid::DrawGridCell(IGridCanvas& canvas, int DCol, int ARow, TRect ARect,
                                  TGridDrawState AState)
{
    const int RCol = RealColIndex(DCol);
    TGridDrawState state = AState;
    TColor brush = clNone, colorTo = clNone, mirror = clNone, mirrorTo = clNone;
    QFont cellFont;
    TColor fontColor = clWindowText;
    TAlignment ha = DefaultAlignment;
    TVAlignment va = VAlignment;
    bool ww = store().WordWrap();
    TCellGradientDirection gd = TCellGradientDirection::GradientVertical;
    GetVisualProperties(DCol, ARow, state, false, false, true, brush, colorTo, mirror, mirrorTo,
                        cellFont, fontColor, ha, va, ww, gd);
    const CellGraphicExtent extent = GetCellGraphicExtent(RCol, ARow);

    if (AState.testFlag(gdSelected) && !AState.testFlag(gdFocused) && SelectionColor == clNone)
        brush = clHighlight;

    const bool fixedLook = state.testFlag(gdFixed);
    TRect r = ARect;

    // Fixed-cell backgrounds of the gradient looks.
    if (fixedLook && isGradientLook(m_look)) {
        const bool activeHeader = ActiveCellShow
                                  && ((FixedCols() > 0 && DCol == FixedCols() - 1 && ARow == Row())
                                      || (FixedRows() > 0 && ARow == FixedRows() - 1
                                          && DCol == Col()));
        if (isHoveredFixedCell(DCol, ARow)) {
            // One pixel taller, like the raised edges of the XP looks.
            TRect h = r;
            h.Bottom += 1;
            DrawStyledRect(canvas, h, VKTGradientHoverFrom, true, false, VKTGradientHoverBorder,
                           true, VKTGradientHoverMirrorTo, VKTGradientHoverMirrorFrom,
                           VKTGradientHoverTo);
        } else if (activeHeader) {
            DrawStyledRect(canvas, r, ActiveCellColor, true, false, clNone, true, clNone, clNone,
                           ActiveCellColorTo);
        } else if (!Flat) {
            DrawStyledRect(canvas, r, brush, true, false,
                           m_look == TGridLook::glVista ? clWhite : clNone,
                           gd != TCellGradientDirection::GradientHorizontal, mirrorTo, mirror,
                           colorTo);
        }
    }

    if (OnCustomCellBkgDraw)
        OnCustomCellBkgDraw(this, canvas, RCol, ARow, AState, r, false);

    DrawCellText(canvas, RCol, ARow, r, state, fontColor, ha, va, ww, extent, cellFont);

    DrawCellBorders(canvas, RCol, ARow, r.inflated(1, 1));

    // The raised edge of the XP looks' fixed cells.
    if (fixedLook && !Flat && (m_look == TGridLook::glVKT || m_look == TGridLook::glXP)) {
        TRect e = r;
        e.Bottom += 1;
        if (Options().testFlag(goFixedHorzLine)) {
            canvas.line(e.Left, e.Bottom - 1, e.Right - 1, e.Bottom - 1,
                        halfColor(canvas.toRGB(FixedColor())));
        }
        canvas.line(e.Right - 2, e.Top + 1, e.Left + 1, e.Top + 1, clWhite);
        canvas.line(e.Left + 1, e.Top + 1, e.Left + 1, e.Bottom - 1, clWhite);
    }

    if (extent.graphic) {
        TRect g = r;
        if (fixedLook)
            g = g.offset(0, 1);
        DrawCellGraphics(canvas, RCol, ARow, g, extent);
    }

    if (OnDrawCell) {
        // Moved one pixel right and down, less the line width at the right and bottom.
        constexpr int lineWidth = 1;  // GridLineWidth
        TRect inner = r.offset(1, 1);
        inner.Right -= lineWidth;
        inner.Bottom -= lineWidth;
        OnDrawCell(this, RCol, ARow, inner, AState);
    }
    if (OnCustomCellDraw)
        OnCustomCellDraw(this, canvas, RCol, ARow, AState, r, false);

    // The focus frame on the current cell (the base cell of a merged area).
    if (!HideFocusRect && Focused() && !Options().testFlag(goRowSelect) && !fixedLook) {
        int curCol = RealColIndex(Col());
        int curRow = Row();
        if (store().IsMergedCell(curCol, curRow)) {
            const QPoint base = store().BaseCell(curCol, curRow);
            curCol = base.x();
            curRow = base.y();
        }
        if (curCol == RCol && curRow == ARow) {
            TRect f = r;
            f.Right -= 1;
            f.Bottom -= 1;
            canvas.frameRect(f, clWindowFrame);
        }
    }
}

void TExtStringGrid::DrawCellGraphics(IGridCanvas& canvas, int RCol, int ARow, const TRect& rect,
                                      const CellGraphicExtent& extent)
{
    const TCellGraphic* g = extent.graphic;
    if (!g || !isCheckBoxKind(g->CellType))
        return;
    bool checked = false;
    bool grayed = g->CellAngle > 0;
    const bool triState = g->CellType == ctTriStateCheckBox;
    switch (g->CellType) {
    case ctCheckBox:
    case ctRowCheckBox: checked = g->CellBoolean; break;
    case ctDataCheckBox:
    case ctVirtCheckBox:
        // A data box shows its cell's text: checked exactly when it is the check-true text.
        checked = GetCellEx(RCol, ARow) == cellCheckTexts(RCol, ARow).checkTrue;
        break;
    case ctTriStateCheckBox: checked = g->CellCheckBoxState == cbChecked; break;
    default: break;
    }
    bool enabled = true;
    QueryCellEditable(RCol, ARow, enabled);
    DrawCheckBox(canvas, ControlLook, checkBoxRect(RCol, ARow, rect), checked, enabled, grayed,
                 ControlLook.ControlStyle(), triState, g->CellCheckBoxState);
}

void TExtStringGrid::DrawCellBorders(IGridCanvas& canvas, int RCol, int ARow, TRect rect)
{
    TCellBorderPen pen;
    TCellBorders borders;
    GetCellBorder(RCol, ARow, pen, borders);
    TCellBorderPen left = pen, top = pen, right = pen, bottom = pen;
    if (OnGetCellBorderProp)
        OnGetCellBorderProp(this, ARow, RCol, left, top, right, bottom);
    if (borders.isEmpty())
        return;
    constexpr int lineWidth = 1;  // GridLineWidth
    const int h = (pen.Width + 1) / 2;
    const TGridOptions o = Options();
    if (o.testFlag(goVertLine)) {
        rect.Left += h;
        rect.Right -= h;
    }
    if (o.testFlag(goHorzLine))
        rect.Bottom -= h;
    if (borders.contains(TCellBorder::cbLeft)) {
        const int x = std::max(0, rect.Left);
        canvas.line(x, rect.Top, x, rect.Bottom, left.Color, left.Width);
    }
    if (borders.contains(TCellBorder::cbRight))
        canvas.line(rect.Right - 1, rect.Top, rect.Right - 1, rect.Bottom, right.Color,
                    right.Width);
    if (borders.contains(TCellBorder::cbTop)) {
        rect.Top += h;
        const int y = std::max(0, rect.Top - lineWidth);
        canvas.line(rect.Left, y, rect.Right, y, top.Color, top.Width);
    }
    if (borders.contains(TCellBorder::cbBottom)) {
        canvas.line(rect.Left - lineWidth - 1, rect.Bottom - 1, rect.Right, rect.Bottom - 1,
                    bottom.Color, bottom.Width);
    }
}

}  // namespace zfw
