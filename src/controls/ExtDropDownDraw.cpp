#include "controls/ExtDropDownDraw.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace zfw {

namespace {

struct Rgb {
    int r;
    int g;
    int b;
};

// The channels of a colour after system colours are resolved. clNone has no RGB value; its
// low bytes are taken as they are, which is what callers that forget to test for it got.
Rgb channels(TColor c, const QPalette& palette)
{
    const TColor v = colorToRGB(c, palette);
    return {int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF)};
}

}  // namespace

int roundHalfEven(double v)
{
    const double f = std::floor(v);
    const double diff = v - f;
    if (diff > 0.5)
        return int(f) + 1;
    if (diff < 0.5)
        return int(f);
    return std::fmod(f, 2.0) == 0.0 ? int(f) : int(f) + 1;
}

std::vector<GradientStepBand> gradientStepBands(TColor from, TColor to, bool horizontal,
                                                const TRect& r, int steps, const QPalette& palette)
{
    // A count below one would divide by zero or run the bands backwards; one band is the
    // plain fill the caller can still see.
    steps = std::max(1, steps);
    const Rgb f = channels(from, palette);
    const Rgb t = channels(to, palette);

    // The far edge is taken one pixel in and every band is one pixel wider than its share, so
    // that rounding never leaves a gap between two bands.
    const int start = horizontal ? r.Left : r.Top;
    const int farEdge = (horizontal ? r.Right : r.Bottom) - 1;
    const double d = double(farEdge - start) / steps;
    const int width = roundHalfEven(d) + 1;

    std::vector<GradientStepBand> bands;
    bands.reserve(std::size_t(steps));
    for (int n = 0; n < steps; ++n) {
        const auto mix = [&](int a, int b) {
            return a + roundHalfEven(double(n) * (b - a) / steps);
        };
        const TColor color = rgbColor(mix(f.r, t.r), mix(f.g, t.g), mix(f.b, t.b));
        // Positions are kept as full integers (a 16-bit cut would wrap on tall areas), and a
        // band is clipped to the rectangle: rounding could otherwise push the last band a
        // pixel past the edge onto whatever is drawn beside it.
        const int lo = start + roundHalfEven(double(n) * d);
        const int hi = lo + width;
        TRect band = horizontal ? TRect{lo, r.Top, hi, r.Bottom} : TRect{r.Left, lo, r.Right, hi};
        band.Left = std::max(band.Left, r.Left);
        band.Top = std::max(band.Top, r.Top);
        band.Right = std::min(band.Right, r.Right);
        band.Bottom = std::min(band.Bottom, r.Bottom);
        if (band.isEmpty())
            continue;
        bands.push_back({band, color});
    }
    return bands;
}

void DrawGradientSteps(QPainter& painter, TColor from, TColor to, bool horizontal, const TRect& r,
                       int steps, const QPalette& palette)
{
    for (const GradientStepBand& band : gradientStepBands(from, to, horizontal, r, steps, palette))
        painter.fillRect(band.rect.toQRect(), toQColor(band.color));
}

TColor BlendColor(TColor a, TColor b, int percent, const QPalette& palette)
{
    if (percent >= 100)
        return a;
    if (percent <= 0)
        return b;
    const Rgb ca = channels(a, palette);
    const Rgb cb = channels(b, palette);
    const double p = percent / 100.0;
    const auto mix = [p](int x, int y) { return roundHalfEven(p * x + (1.0 - p) * y); };
    return rgbColor(mix(ca.r, cb.r), mix(ca.g, cb.g), mix(ca.b, cb.b));
}

TColor OffsetColor(TColor color, int dr, int dg, int db, const QPalette& palette)
{
    const Rgb c = channels(color, palette);
    // An offset below -100 would scale a channel negative and one above 255 overflow a byte;
    // cutting those to a byte turned "darker" into a bright colour. Results are clamped.
    const auto offset = [](int channel, int delta) {
        const int v = channel != 0 ? roundHalfEven(std::min(100, 100 + delta) / 100.0 * channel)
                                   : std::max(0, delta);
        return std::clamp(v, 0, 255);
    };
    return rgbColor(offset(c.r, dr), offset(c.g, dg), offset(c.b, db));
}

}  // namespace zfw
