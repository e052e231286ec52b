#pragma once
// Colour arithmetic and the stepped gradient of the drop-down controls, their popup bars and
// the grid's background gradients. The colour maths is widget-free; the gradient is computed as
// bands first (so its geometry can be checked as data) and then painted on a QPainter.
//
// Rounding is to the nearest integer with ties to even throughout, so that 0.5 goes to 0 and
// 1.5 to 2, as the stored looks were tuned with.

#include "platform/Colors.h"
#include "platform/Rect.h"

#include <QPalette>

#include <vector>

class QPainter;

namespace zfw {

enum TGradientDirection { gdHorizontal, gdVertical };

// Nearest integer, ties to even.
int roundHalfEven(double v);

// One band of a stepped gradient: an RGB colour over a rectangle.
struct GradientStepBand {
    TRect rect;
    TColor color = clBlack;
    bool operator==(const GradientStepBand&) const = default;
};

// The bands of a gradient from `from` to `to` over `r` in `steps` bands (fewer than 1 counts
// as 1), left to right when `horizontal`, else top to bottom. System colours are resolved
// against the palette. Bands overlap their neighbour by a pixel; none reaches outside `r`.
std::vector<GradientStepBand> gradientStepBands(TColor from, TColor to, bool horizontal,
                                                const TRect& r, int steps,
                                                const QPalette& palette = QPalette());

// Paints those bands (pen and fill in the band colour).
void DrawGradientSteps(QPainter& painter, TColor from, TColor to, bool horizontal, const TRect& r,
                       int steps, const QPalette& palette = QPalette());

// percent/100 of A and the rest of B per RGB channel. percent >= 100 gives A and percent <= 0
// gives B exactly as stored (a system colour stays a system colour).
TColor BlendColor(TColor a, TColor b, int percent, const QPalette& palette = QPalette());

// Each channel of the colour scaled by (100 + offset)% with the scale capped at 100% (so a
// positive offset never brightens a lit channel); a dark (zero) channel becomes the offset
// itself when positive. Results stay within 0..255.
TColor OffsetColor(TColor color, int dr, int dg, int db, const QPalette& palette = QPalette());

}  // namespace zfw
