#include "controls/Canvas.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

#include <algorithm>

namespace zfw {

int ICanvas::textWidth(const QString& s) const
{
    return QFontMetrics(QFont()).horizontalAdvance(s);
}

int ICanvas::textHeight() const { return QFontMetrics(QFont()).height(); }

// ----- QPainterCanvas -------------------------------------------------------------------------

QPainterCanvas::QPainterCanvas(QPainter& painter, const QPalette& palette)
    : m_painter(painter), m_palette(palette)
{
}

QPainterCanvas::~QPainterCanvas()
{
    // A clip left pushed by a caller must not outlive the canvas on the painter.
    while (m_depth > 0)
        popClip();
}

TColor QPainterCanvas::toRGB(TColor c) const
{
    return (c == clNone || c == clDefault) ? clNone : colorToRGB(c, m_palette);
}

void QPainterCanvas::fillRect(const TRect& r, TColor color)
{
    const QColor q = toQColor(color, m_palette);
    if (!q.isValid() || r.isEmpty())
        return;
    m_painter.fillRect(r.toQRect(), q);
}

void QPainterCanvas::frameRect(const TRect& r, TColor color)
{
    if (r.isEmpty())
        return;
    fillRect({r.Left, r.Top, r.Right, r.Top + 1}, color);
    fillRect({r.Left, r.Bottom - 1, r.Right, r.Bottom}, color);
    fillRect({r.Left, r.Top, r.Left + 1, r.Bottom}, color);
    fillRect({r.Right - 1, r.Top, r.Right, r.Bottom}, color);
}

void QPainterCanvas::line(int x1, int y1, int x2, int y2, TColor color, int width)
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

void QPainterCanvas::text(const TRect& r, const QString& s, int flags, TColor color)
{
    const QColor q = toQColor(color, m_palette);
    if (!q.isValid() || r.isEmpty())
        return;
    m_painter.save();
    m_painter.setPen(q);
    m_painter.drawText(r.toQRect(), flags, s);
    m_painter.restore();
}

void QPainterCanvas::styleCheckBox(const TRect& r, int checked, bool enabled, bool)
{
    if (r.isEmpty())
        return;
    const QStyle* style = m_style ? m_style : QApplication::style();
    QStyleOptionButton opt;
    opt.palette = m_palette;
    opt.rect = r.toQRect();
    opt.state = enabled ? QStyle::State_Enabled : QStyle::State_None;
    opt.state |= checked == 1   ? QStyle::State_On
                 : checked == 2 ? QStyle::State_NoChange
                                : QStyle::State_Off;
    style->drawPrimitive(QStyle::PE_IndicatorCheckBox, &opt, &m_painter, nullptr);
}

void QPainterCanvas::setFont(const QFont& font) { m_painter.setFont(font); }

int QPainterCanvas::textWidth(const QString& s) const
{
    return QFontMetrics(m_painter.font()).horizontalAdvance(s);
}

int QPainterCanvas::textHeight() const
{
    const QFontMetrics fm(m_painter.font());
    return fm.ascent() + fm.descent();
}

void QPainterCanvas::pushClip(const TRect& r)
{
    m_painter.save();
    if (m_painter.hasClipping())
        m_painter.setClipRect(r.toQRect(), Qt::IntersectClip);
    else
        m_painter.setClipRect(r.toQRect());
    ++m_depth;
}

void QPainterCanvas::popClip()
{
    if (m_depth == 0)
        return;
    --m_depth;
    m_painter.restore();
}

void QPainterCanvas::patternLine(int x, int y, int length, bool horizontal, TColor color,
                                 TColor background, int originX, int originY)
{
    if (length <= 0)
        return;
    const QColor fg = toQColor(color, m_palette);
    const QColor bg = toQColor(background, m_palette);
    if (bg.isValid())
        m_painter.fillRect(horizontal ? QRect(x, y, length, 1) : QRect(x, y, 1, length), bg);
    if (!fg.isValid())
        return;
    // The first pixel in step with the origin, then every other one.
    const int phase = ((x + y - originX - originY) % 2 + 2) % 2;
    for (int i = phase; i < length; i += 2) {
        if (horizontal)
            m_painter.fillRect(QRect(x + i, y, 1, 1), fg);
        else
            m_painter.fillRect(QRect(x, y + i, 1, 1), fg);
    }
}

void QPainterCanvas::image(int x, int y, const QImage& picture, double opacity)
{
    if (picture.isNull())
        return;
    if (opacity >= 1.0) {
        m_painter.drawImage(x, y, picture);
        return;
    }
    const double old = m_painter.opacity();
    m_painter.setOpacity(old * opacity);
    m_painter.drawImage(x, y, picture);
    m_painter.setOpacity(old);
}

void QPainterCanvas::roundRect(const TRect& r, TColor fill, TColor border, int radius)
{
    if (r.isEmpty())
        return;
    if (radius <= 0) {
        fillRect(r, fill);
        frameRect(r, border);
        return;
    }
    const QColor f = toQColor(fill, m_palette);
    const QColor b = toQColor(border, m_palette);
    m_painter.save();
    m_painter.setPen(b.isValid() ? QPen(b) : QPen(Qt::NoPen));
    m_painter.setBrush(f.isValid() ? QBrush(f) : QBrush(Qt::NoBrush));
    m_painter.drawRoundedRect(QRectF(r.Left + 0.5, r.Top + 0.5, r.Width() - 1, r.Height() - 1),
                              radius / 2.0, radius / 2.0);
    m_painter.restore();
}

void QPainterCanvas::focusRect(const TRect& r)
{
    if (r.isEmpty())
        return;
    // Inverting dots, so that the frame shows on any background.
    m_painter.save();
    m_painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    const TColor white = clWhite;
    patternLine(r.Left, r.Top, r.Width(), true, white, clNone, 0, 0);
    patternLine(r.Left, r.Bottom - 1, r.Width(), true, white, clNone, 0, 0);
    patternLine(r.Left, r.Top + 1, r.Height() - 2, false, white, clNone, 0, 0);
    patternLine(r.Right - 1, r.Top + 1, r.Height() - 2, false, white, clNone, 0, 0);
    m_painter.restore();
}

void QPainterCanvas::tiledImage(const TRect& r, const QImage& picture, int phaseX, int phaseY)
{
    if (picture.isNull() || r.isEmpty())
        return;
    const int px = ((phaseX % picture.width()) + picture.width()) % picture.width();
    const int py = ((phaseY % picture.height()) + picture.height()) % picture.height();
    m_painter.save();
    m_painter.setBrushOrigin(r.Left - px, r.Top - py);
    m_painter.fillRect(r.toQRect(), QBrush(picture));
    m_painter.restore();
}

void QPainterCanvas::blendRect(const TRect& r, TColor color, int alpha)
{
    QColor q = toQColor(color, m_palette);
    if (!q.isValid() || r.isEmpty() || alpha <= 0)
        return;
    q.setAlpha(std::min(alpha, 255));
    m_painter.fillRect(r.toQRect(), q);
}

void QPainterCanvas::polygon(const std::vector<QPoint>& points, TColor color)
{
    const QColor q = toQColor(color, m_palette);
    if (!q.isValid() || points.size() < 3)
        return;
    m_painter.save();
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    m_painter.setPen(Qt::NoPen);
    m_painter.setBrush(q);
    m_painter.drawPolygon(points.data(), int(points.size()));
    m_painter.restore();
}

void QPainterCanvas::patternRect(const TRect& r, const std::array<std::uint16_t, 8>& bits,
                                 TColor color, TColor background, int originX, int originY)
{
    if (r.isEmpty())
        return;
    const QColor fg = toQColor(color, m_palette);
    const QColor bg = toQColor(background, m_palette);
    QImage tile(8, 8, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            const bool set = (bits[std::size_t(y)] >> (7 - x)) & 1;
            const QColor& c = set ? bg : fg;
            tile.setPixel(x, y, c.isValid() ? c.rgba() : qRgba(0, 0, 0, 0));
        }
    m_painter.save();
    m_painter.setBrushOrigin(originX, originY);
    m_painter.fillRect(r.toQRect(), QBrush(tile));
    m_painter.restore();
}

// ----- RecordingCanvas ------------------------------------------------------------------------

void RecordingCanvas::fillRect(const TRect& r, TColor color)
{
    CanvasOp op;
    op.kind = CanvasOp::Fill;
    op.rect = r;
    op.color = color;
    add(op);
}

void RecordingCanvas::frameRect(const TRect& r, TColor color)
{
    CanvasOp op;
    op.kind = CanvasOp::Frame;
    op.rect = r;
    op.color = color;
    add(op);
}

void RecordingCanvas::line(int x1, int y1, int x2, int y2, TColor color, int width)
{
    CanvasOp op;
    op.kind = CanvasOp::Line;
    op.x1 = x1;
    op.y1 = y1;
    op.x2 = x2;
    op.y2 = y2;
    op.width = width;
    op.color = color;
    add(op);
}

void RecordingCanvas::text(const TRect& r, const QString& s, int flags, TColor color)
{
    CanvasOp op;
    op.kind = CanvasOp::Text;
    op.rect = r;
    op.text = s;
    op.flags = flags;
    op.color = color;
    add(op);
}

void RecordingCanvas::pushClip(const TRect& r)
{
    CanvasOp op;
    op.kind = CanvasOp::PushClip;
    op.rect = r;
    add(op);
    ++m_depth;
}

void RecordingCanvas::popClip()
{
    CanvasOp op;
    op.kind = CanvasOp::PopClip;
    add(op);
    --m_depth;
}

void RecordingCanvas::styleCheckBox(const TRect& r, int checked, bool enabled, bool flat)
{
    CanvasOp op;
    op.kind = CanvasOp::StyleCheckBox;
    op.rect = r;
    op.flags = checked;
    op.enabled = enabled;
    op.flat = flat;
    add(op);
}

TColor RecordingCanvas::toRGB(TColor c) const
{
    return (c == clNone || c == clDefault) ? clNone : colorToRGB(c, m_palette);
}

int RecordingCanvas::textWidth(const QString& s) const
{
    return QFontMetrics(m_font).horizontalAdvance(s);
}

int RecordingCanvas::textHeight() const
{
    const QFontMetrics fm(m_font);
    return fm.ascent() + fm.descent();
}

void RecordingCanvas::patternLine(int x, int y, int length, bool horizontal, TColor color,
                                  TColor background, int originX, int originY)
{
    CanvasOp op;
    op.kind = CanvasOp::PatternLine;
    op.x1 = x;
    op.y1 = y;
    op.x2 = length;
    op.y2 = horizontal ? 1 : 0;
    op.color = color;
    op.color2 = background;
    op.flags = originX + originY;
    add(op);
}

void RecordingCanvas::image(int x, int y, const QImage& picture, double opacity)
{
    CanvasOp op;
    op.kind = CanvasOp::Image;
    op.rect = Bounds(x, y, picture.width(), picture.height());
    op.opacity = opacity;
    op.imageKey = picture.cacheKey();
    add(op);
}

void RecordingCanvas::roundRect(const TRect& r, TColor fill, TColor border, int radius)
{
    CanvasOp op;
    op.kind = CanvasOp::RoundRect;
    op.rect = r;
    op.color = fill;
    op.color2 = border;
    op.width = radius;
    add(op);
}

void RecordingCanvas::focusRect(const TRect& r)
{
    CanvasOp op;
    op.kind = CanvasOp::FocusRect;
    op.rect = r;
    add(op);
}

void RecordingCanvas::tiledImage(const TRect& r, const QImage& picture, int phaseX, int phaseY)
{
    CanvasOp op;
    op.kind = CanvasOp::TiledImage;
    op.rect = r;
    op.x1 = phaseX;
    op.y1 = phaseY;
    op.imageKey = picture.cacheKey();
    add(op);
}

void RecordingCanvas::blendRect(const TRect& r, TColor color, int alpha)
{
    CanvasOp op;
    op.kind = CanvasOp::Blend;
    op.rect = r;
    op.color = color;
    op.flags = alpha;
    add(op);
}

void RecordingCanvas::polygon(const std::vector<QPoint>& points, TColor color)
{
    CanvasOp op;
    op.kind = CanvasOp::Polygon;
    op.points = points;
    op.color = color;
    add(op);
}

void RecordingCanvas::patternRect(const TRect& r, const std::array<std::uint16_t, 8>& bits,
                                  TColor color, TColor background, int originX, int originY)
{
    CanvasOp op;
    op.kind = CanvasOp::PatternRect;
    op.rect = r;
    op.bits = bits;
    op.color = color;
    op.color2 = background;
    op.x1 = originX;
    op.y1 = originY;
    add(op);
}

std::vector<CanvasOp> RecordingCanvas::opsOfKind(CanvasOp::Kind kind) const
{
    std::vector<CanvasOp> out;
    for (const CanvasOp& op : m_ops)
        if (op.kind == kind)
            out.push_back(op);
    return out;
}

}  // namespace zfw
