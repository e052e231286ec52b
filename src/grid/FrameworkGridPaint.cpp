// Painting of the framework grid: one pass over the cells that meet the update area, fixed
// rows first, each row's fixed columns first, each cell through DrawCell. The framework's own
// cell drawing (backgrounds, text, the lines inside each cell) runs only while DefaultDrawing
// is on; a derived grid that paints its cells itself turns it off and gets DrawCell alone.

#include "grid/FrameworkGrid.h"

#include <QPainter>

namespace zfw {

namespace {

// The lines of a cell lie inside it, on its last column and row of pixels, so that cells
// never overlap and nothing is left between them.
void drawCellLines(QPainter& p, const TRect& r, bool vert, bool horz, const QColor& color)
{
    if (r.isEmpty() || (!vert && !horz))
        return;
    p.setPen(color);
    if (vert)
        p.drawLine(r.Right - 1, r.Top, r.Right - 1, r.Bottom - 1);
    if (horz)
        p.drawLine(r.Left, r.Bottom - 1, r.Right - 1, r.Bottom - 1);
}

}  // namespace

TGridDrawState TStringGrid::drawStateOf(int ACol, int ARow) const
{
    TGridDrawState state;
    if (ACol < FixedCols() || ARow < FixedRows())
        return TGridDrawState(gdFixed);
    const bool current = ACol == Col() && ARow == Row();
    const bool focused = current && Focused();
    if (focused)
        state |= gdFocused;
    const bool showFocusSelected = m_options.testFlag(goDrawFocusSelected)
                                   || m_options.testFlag(goRowSelect);
    if (Selection().contains(ACol, ARow) && (!focused || showFocusSelected))
        state |= gdSelected;
    return state;
}

void TStringGrid::paintViewport(const QRect& updateRect)
{
    QPainter painter(viewport());
    m_canvas = &painter;
    Paint(painter, updateRect);
    m_canvas = nullptr;
}

void TStringGrid::Paint(QPainter& painter, const QRect& updateRect)
{
    const int lastRow = m_geo.lastPartlyVisibleRow();
    const int lastCol = m_geo.lastPartlyVisibleCol();
    auto paintRow = [&](int r) {
        auto paintCell = [&](int c) {
            const TRect rect = m_geo.cellBounds(c, r);
            if (rect.isEmpty() || !rect.toQRect().intersects(updateRect))
                return;
            painter.save();
            painter.setClipRect(rect.toQRect());
            DrawCell(c, r, rect, drawStateOf(c, r));
            painter.restore();
        };
        for (int c = 0; c < FixedCols() && c < ColCount(); ++c)
            paintCell(c);
        for (int c = LeftCol(); c <= lastCol; ++c)
            paintCell(c);
    };
    for (int r = 0; r < FixedRows() && r < RowCount(); ++r)
        paintRow(r);
    for (int r = TopRow(); r <= lastRow; ++r)
        paintRow(r);

    // What lies right of the last column and below the last row.
    const QColor back = toQColor(m_color, palette());
    const int right = lastCol >= 0 ? m_geo.colLeft(lastCol) + ColWidths(lastCol) : 0;
    const int bottom = lastRow >= 0 ? m_geo.rowTop(lastRow) + RowHeights(lastRow) : 0;
    if (right < ClientWidth())
        painter.fillRect(QRect(right, 0, ClientWidth() - right, ClientHeight()), back);
    if (bottom < ClientHeight())
        painter.fillRect(QRect(0, bottom, std::min(right, ClientWidth()), ClientHeight() - bottom),
                         back);

    if (m_gridState == gsColSizing || m_gridState == gsRowSizing) {
        painter.setPen(QPen(palette().color(QPalette::WindowText), 1, Qt::DotLine));
        if (m_gridState == gsColSizing)
            painter.drawLine(m_sizingPos - 1, 0, m_sizingPos - 1, ClientHeight());
        else
            painter.drawLine(0, m_sizingPos - 1, ClientWidth(), m_sizingPos - 1);
    }
}

void TStringGrid::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState)
{
    if (m_defaultDrawing && m_canvas) {
        QPainter& p = *m_canvas;
        const QPalette& pal = palette();
        const bool fixed = AState.testFlag(gdFixed);
        const bool selected = AState.testFlag(gdSelected);
        QColor back = fixed      ? toQColor(m_fixedColor, pal)
                      : selected ? pal.color(QPalette::Highlight)
                                 : toQColor(m_color, pal);
        p.fillRect(ARect.toQRect(), back);
        const QString text = Cells(ACol, ARow);
        if (!text.isEmpty()) {
            p.setPen(selected ? pal.color(QPalette::HighlightedText)
                              : pal.color(QPalette::WindowText));
            p.setFont(font());
            const QRect textRect = ARect.toQRect().adjusted(2, 0, -2, 0);
            p.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
        }
        if (fixed)
            drawCellLines(p, ARect, m_options.testFlag(goFixedVertLine),
                          m_options.testFlag(goFixedHorzLine), toQColor(clBtnShadow, pal));
        else
            drawCellLines(p, ARect, m_options.testFlag(goVertLine), m_options.testFlag(goHorzLine),
                          toQColor(clSilver, pal));
        if (AState.testFlag(gdFocused) && !m_options.testFlag(goRowSelect)) {
            p.setPen(QPen(pal.color(QPalette::WindowText), 1, Qt::DotLine));
            p.setBrush(Qt::NoBrush);
            p.drawRect(ARect.toQRect().adjusted(0, 0, -2, -2));
        }
    }
    if (OnDrawCell)
        OnDrawCell(this, ACol, ARow, ARect, AState);
}

}  // namespace zfw
