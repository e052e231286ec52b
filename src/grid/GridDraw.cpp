#include "grid/GridDraw.h"

#include <algorithm>
#include <cmath>

namespace zfw {

namespace {

int channel(TColor c, int shift) { return int((c >> shift) & 0xFF); }

}  // namespace

void FillRectColor(IGridCanvas& canvas, const TRect& r, TColor color)
{
    if (color == clNone || r.isEmpty())
        return;
    canvas.fillRect(r, color);
}

void DrawGradientRect(IGridCanvas& canvas, TColor from, TColor to, bool horizontal,
                      const TRect& rect, int steps)
{
    TRect r = rect;
    if (r.Top > r.Bottom)
        std::swap(r.Top, r.Bottom);
    if (r.Height() == 0)
        return;
    from = canvas.toRGB(from);
    to = canvas.toRGB(to);
    if (to == clNone) {
        FillRectColor(canvas, r, from);
        return;
    }
    if (from == clNone) {
        FillRectColor(canvas, r, to);
        return;
    }
    const int origin = horizontal ? r.Left : r.Top;
    const int end = horizontal ? r.Right : r.Bottom;
    const int extent = (horizontal ? r.Width() : r.Height()) - 1;
    steps = std::max(1, std::min(steps, extent));
    const double band = double(extent) / steps;
    for (int i = 0; i <= steps; ++i) {
        const int start = origin + int(i * band);
        const int stop = std::min(end, start + int(band + 1));
        if (stop <= start)
            continue;
        const auto mix = [&](int shift) {
            const int f = channel(from, shift);
            const int t = channel(to, shift);
            return f + int(std::lround(double(i) * (t - f) / steps));
        };
        const TColor c = rgbColor(mix(0), mix(8), mix(16));
        canvas.fillRect(horizontal ? TRect{start, r.Top, stop, r.Bottom}
                                   : TRect{r.Left, start, r.Right, stop},
                        c);
    }
}

void DrawStyledRect(IGridCanvas& canvas, const TRect& r, TColor color, bool fill,
                    bool sideLinesOnly, TColor borderColor, bool vertical, TColor mirrorTo,
                    TColor mirror, TColor to)
{
    if (fill && color != clNone) {
        if (mirror == clNone && to == clNone) {
            canvas.fillRect({r.Left, r.Top, r.Right, r.Bottom + 1}, color);
        } else if (mirror == clNone) {
            DrawGradientRect(canvas, color, to, !vertical, r, 128);
        } else if (vertical) {
            const int mid = r.Top + r.Height() / 2;
            DrawGradientRect(canvas, color, to, false, {r.Left, r.Top, r.Right, mid}, 128);
            DrawGradientRect(canvas, mirror, mirrorTo, false, {r.Left, mid, r.Right, r.Bottom},
                             128);
        } else {
            const int mid = r.Left + r.Width() / 2;
            DrawGradientRect(canvas, color, to, true, {r.Left, r.Top, mid, r.Bottom}, 128);
            DrawGradientRect(canvas, mirror, mirrorTo, true, {mid, r.Top, r.Right, r.Bottom}, 128);
        }
    }
    if (borderColor == clNone)
        return;
    if (sideLinesOnly) {
        canvas.line(r.Left, r.Top, r.Left, r.Bottom, borderColor);
        canvas.line(r.Right - 1, r.Top, r.Right - 1, r.Bottom, borderColor);
    } else {
        canvas.frameRect(r, borderColor);
    }
}

TColor InterpolateColor(TColor from, TColor to, int a, int b, int c)
{
    // An empty range has no position to interpolate at: the old helper divided by zero.
    if (to == clNone || c == a)
        return from;
    const auto mix = [&](int shift) {
        const int f = channel(from, shift);
        const int t = channel(to, shift);
        return std::clamp(f + int(std::lround(double(t - f) / (c - a) * b)), 0, 255);
    };
    return rgbColor(mix(0), mix(8), mix(16));
}

}  // namespace zfw
