#pragma once
// The fill helpers shared by the cell painter, the background painter and the drop-downs.
// Coordinates follow the cell arithmetic: a rectangle's Right and Bottom lie just outside it,
// and a line leaves out its end point, so that lines drawn inside a cell stay inside it.

#include "controls/Canvas.h"

#include <QFont>
#include <QPalette>
#include <QString>

namespace zfw {

// The grid paints through the general canvas of the owner-drawn controls.
using IGridCanvas = ICanvas;

// The grid draws on the controls' QPainter canvas: the same fills, lines, clips and style
// check boxes (the styles have no flat check box, so flat draws the ordinary one).
using QPainterGridCanvas = QPainterCanvas;

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
