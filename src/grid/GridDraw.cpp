#include "grid/GridDraw.h"

#include "grid/ExtStyleIF.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace zfw {

namespace {

int channel(TColor c, int shift) { return int((c >> shift) & 0xFF); }

}  // namespace

QPainterGridCanvas::QPainterGridCanvas(QPainter& painter, const QPalette& palette)
    : m_painter(painter), m_palette(palette)
{
}

QPainterGridCanvas::~QPainterGridCanvas()
{
    // A clip left pushed by a caller must not outlive the canvas on the painter.
    while (m_depth > 0)
        popClip();
}

TColor QPainterGridCanvas::toRGB(TColor c) const
{
    return (c == clNone || c == clDefault) ? clNone : colorToRGB(c, m_palette);
}

void QPainterGridCanvas::fillRect(const TRect& r, TColor color)
{
    const QColor q = toQColor(color, m_palette);
    if (!q.isValid() || r.isEmpty())
        return;
    m_painter.fillRect(r.toQRect(), q);
}

void QPainterGridCanvas::frameRect(const TRect& r, TColor color)
{
    if (r.isEmpty())
        return;
    fillRect({r.Left, r.Top, r.Right, r.Top + 1}, color);
    fillRect({r.Left, r.Bottom - 1, r.Right, r.Bottom}, color);
    fillRect({r.Left, r.Top, r.Left + 1, r.Bottom}, color);
    fillRect({r.Right - 1, r.Top, r.Right, r.Bottom}, color);
}

void QPainterGridCanvas::line(int x1, int y1, int x2, int y2, TColor color, int width)
{
    const QColor q = toQColor(color, m_palette);
    if (!q.isValid())
        return;
    const int w = std::max(1, width);
    const int lo = w / 2;  // a wide pen is centred on the line, the odd pixel above/left
    if (y1 == y2) {
        if (x1 == x2)
            return;
        const int a = std::min(x1, x2 + (x2 > x1 ? -1 : 1));
        const int b = std::max(x1, x2 + (x2 > x1 ? -1 : 1));
        m_painter.fillRect(QRect(a, y1 - lo, b - a + 1, w), q);
    } else if (x1 == x2) {
        const int a = std::min(y1, y2 + (y2 > y1 ? -1 : 1));
        const int b = std::max(y1, y2 + (y2 > y1 ? -1 : 1));
        m_painter.fillRect(QRect(x1 - lo, a, w, b - a + 1), q);
    } else {
        m_painter.save();
        m_painter.setRenderHint(QPainter::Antialiasing, false);
        m_painter.setPen(QPen(q, w));
        m_painter.drawLine(x1, y1, x2, y2);
        m_painter.restore();
    }
}

void QPainterGridCanvas::text(const TRect& r, const QString& s, int flags, TColor color)
{
    const QColor q = toQColor(color, m_palette);
    if (!q.isValid() || r.isEmpty())
        return;
    m_painter.save();
    m_painter.setPen(q);
    m_painter.drawText(r.toQRect(), flags, s);
    m_painter.restore();
}

void QPainterGridCanvas::styleCheckBox(const TRect& r, int checked, bool enabled, bool)
{
    if (r.isEmpty())
        return;
    ThemePainter(m_style, m_palette)
        .drawCheckBox(m_painter, r.toQRect(), checked,
                      enabled ? ThemePartState::Normal : ThemePartState::Disabled);
}

void QPainterGridCanvas::setFont(const QFont& font) { m_painter.setFont(font); }

void QPainterGridCanvas::pushClip(const TRect& r)
{
    m_painter.save();
    if (m_painter.hasClipping())
        m_painter.setClipRect(r.toQRect(), Qt::IntersectClip);
    else
        m_painter.setClipRect(r.toQRect());
    ++m_depth;
}

void QPainterGridCanvas::popClip()
{
    if (m_depth == 0)
        return;
    --m_depth;
    m_painter.restore();
}

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
