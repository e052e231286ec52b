#pragma once
// The grid's QPainter canvas (check boxes drawn by the grid's theme painter) and the
// fill helpers shared by the cell painter, the background painter and the drop-downs.
// Coordinates follow the cell arithmetic: a rectangle's Right and Bottom lie just outside it,
// and a line leaves out its end point, so that lines drawn inside a cell stay inside it.

#include "controls/Canvas.h"

#include <QFont>
#include <QPalette>
#include <QString>

class QPainter;
class QStyle;

namespace zfw {

// The grid paints through the general canvas of the owner-drawn controls.
using IGridCanvas = ICanvas;

// Draws on a QPainter; system colours are resolved against the palette given.
class QPainterGridCanvas final : public IGridCanvas {
public:
    QPainterGridCanvas(QPainter& painter, const QPalette& palette);
    ~QPainterGridCanvas() override;

    void fillRect(const TRect& r, TColor color) override;
    void frameRect(const TRect& r, TColor color) override;
    void line(int x1, int y1, int x2, int y2, TColor color, int width = 1) override;
    void text(const TRect& r, const QString& s, int flags, TColor color) override;
    void setFont(const QFont& font) override;
    void pushClip(const TRect& r) override;
    void popClip() override;
    TColor toRGB(TColor c) const override;
    // Drawn by the style given with setStyle, else by the application's; the styles have no
    // flat check box, so flat draws the ordinary one.
    void styleCheckBox(const TRect& r, int checked, bool enabled, bool flat) override;
    void setStyle(const QStyle* style) { m_style = style; }

private:
    QPainter& m_painter;
    QPalette m_palette;
    const QStyle* m_style = nullptr;
    int m_depth = 0;
};

// Fills the rectangle in the colour; nothing for clNone or an empty rectangle.
void FillRectColor(IGridCanvas& canvas, const TRect& r, TColor color);

// Solid or two-colour gradient in bands: steps + 1 bands at most, never more than the
// rectangle has pixels along the gradient. Horizontal runs left to right.
void DrawGradientRect(IGridCanvas& canvas, TColor from, TColor to, bool horizontal, const TRect& r,
                      int steps);

// Background with an optional second (mirror) gradient in the second half and an optional
// border (the side lines only, or a frame).
void DrawStyledRect(IGridCanvas& canvas, const TRect& r, TColor color, bool fill,
                    bool sideLinesOnly, TColor borderColor, bool vertical, TColor mirrorTo,
                    TColor mirror, TColor to);

// Per channel from + round((to - from) / (c - a) * b); the from colour when the to colour is
// none or the range a..c is empty.
TColor InterpolateColor(TColor from, TColor to, int a, int b, int c);

}  // namespace zfw
