// TLbButton: painting the face model.

#include "controls/LbButton.h"

#include <QPaintEvent>
#include <QPainter>

namespace zfw {

namespace {

// A horizontal or vertical line without its end point.
void drawLine(QPainter& g, const LbLine& line)
{
    if (!line.color.isValid())
        return;
    const QPoint a = line.from;
    const QPoint b = line.to;
    QRect r;
    if (a.y() == b.y() && a.x() != b.x())
        r = a.x() < b.x() ? QRect(a.x(), a.y(), b.x() - a.x(), 1)
                          : QRect(b.x() + 1, a.y(), a.x() - b.x(), 1);
    else if (a.x() == b.x() && a.y() != b.y())
        r = a.y() < b.y() ? QRect(a.x(), a.y(), 1, b.y() - a.y())
                          : QRect(a.x(), b.y() + 1, 1, a.y() - b.y());
    else
        return;
    g.fillRect(r, line.color);
}

}  // namespace

void DrawGradientBands(QPainter& painter, const QColor& from, const QColor& to, int left, int top,
                       int right, int bottom)
{
    for (const LbBand& band : lbGradientBands(from, to, left, top, right, bottom))
        painter.fillRect(band.rect.toQRect(), band.color);
}

void DrawGlyphTransparent(QPainter& painter, const QImage& glyph, int x, int y, int frameLeft,
                          int gw, int gh)
{
    if (gw <= 0)
        return;
    const QImage frame = lbGlyphFrame(glyph, frameLeft / gw, gw, gh);
    if (!frame.isNull())
        painter.drawImage(x, y, frame);
}

void DrawLbButtonFace(QPainter& painter, const LbFaceParams& p)
{
    DrawLbButtonFace(painter, p, lbButtonFaceModel(p));
}

void DrawLbButtonFace(QPainter& g, const LbFaceParams& p, const LbFaceModel& m)
{
    const int W = p.width;
    const int H = p.height;
    if (W <= 0 || H <= 0)
        return;
    g.save();
    g.setRenderHint(QPainter::Antialiasing, false);
    g.setClipRect(QRect(0, 0, W, H), Qt::IntersectClip);

    // The key background of bsShape stands for "nothing painted": what lies behind shows.
    if (m.background == LbBackground::Face)
        g.fillRect(m.backgroundRect.toQRect(), m.faceColor);
    else if (m.background == LbBackground::Gradient)
        for (const LbBand& band : m.bands)
            g.fillRect(band.rect.toQRect(), band.color);

    if (m.quickenFace) {
        g.setPen(Qt::NoPen);
        g.setBrush(m.faceColor);
        g.drawRoundedRect(QRect(0, 1, W, H - 1), 2, 2);
    }
    for (const LbLine& line : m.lines)
        drawLine(g, line);
    if (m.modernFrame) {
        g.setBrush(Qt::NoBrush);
        g.setPen(QPen(m.modernInnerColor, 0));
        g.drawRect(QRect(1, 1, W - 3, H - 3));
        g.setPen(QPen(m.modernOuterColor, 0));
        g.drawRoundedRect(QRect(0, 0, W - 1, H - 1), 3, 3);
    }

    QFont font = p.font;
    font.setBold(font.bold() || m.bold);
    g.setFont(font);
    g.setPen(m.textColor);
    const auto drawGlyph = [&] {
        if (m.glyphFrame >= 0)
            DrawGlyphTransparent(g, p.glyph, m.glyphPos.x(), m.glyphPos.y(), m.glyphFrame * m.gw,
                                 m.gw, m.gh);
    };
    if (m.glyphFirst)
        drawGlyph();
    if (!m.caption.isEmpty() && !m.textRect.isEmpty())
        g.drawText(m.textRect.toQRect(), m.textFlags, m.caption);
    if (!m.glyphFirst)
        drawGlyph();

    if (m.arrow) {
        static const QImage arrow = lbGlyphResource(QStringLiteral("LBARROW"));
        DrawGlyphTransparent(g, arrow, m.arrowPos.x(), m.arrowPos.y(), 0, arrow.width(),
                             arrow.height());
    }
    g.restore();
}

LbFaceParams TLbButton::faceParams(int width, int height) const
{
    const bool hotOrFocused = bCursorOnButton || hasFocus();
    LbFaceParams p;
    p.width = width;
    p.height = height;
    p.hotTrackStep = FHotTrackStep;
    p.numGlyphs = FNumGlyphs;
    p.glyph = FGlyph;
    p.down = bDown;
    p.hot = hotOrFocused;
    p.enabled = isEnabled();
    p.flat = FFlat;
    p.wordWrap = FWordWrap;
    p.hasPopup = !m_popupMenu.isNull();
    p.style = FStyle;
    p.color = m_color;
    p.colorWhenDown = FColorWhenDown;
    p.hotTrackColor = FHotTrackColor;
    p.lightColor = FLightColor;
    p.shadowColor = FShadowColor;
    p.font = hotOrFocused && FUseHTFont ? FHTFont : font();
    p.fontColor = palette().color(QPalette::ButtonText);
    p.layout = FLayout;
    p.caption = text();
    p.alignment = FAlignment;
    p.palette = palette();
    return p;
}

void TLbButton::paintEvent(QPaintEvent*)
{
    if (m_destroying)
        return;
    const int W = width();
    const int H = height();
    const bool focused = hasFocus();
    QPainter g(this);
    if (FStyle == bsOld && focused) {
        // The focused old style sits one pixel inside a black outline.
        LbFaceParams p = faceParams(W - 2, H - 2);
        if (bDown)
            p.lightColor = p.shadowColor = FShadowColor;
        g.save();
        g.translate(1, 1);
        DrawLbButtonFace(g, p);
        g.restore();
        g.setPen(QPen(Qt::black, 0));
        g.setBrush(Qt::NoBrush);
        g.drawRect(QRect(0, 0, W - 1, H - 1));
    } else {
        DrawLbButtonFace(g, faceParams(W, H));
    }
    if (focused && isEnabled() && FStyle != bsShape) {
        // A dotted outline in the caption colour, visible on light and dark faces alike; the
        // style's own focus frame would tint the whole face.
        QPen pen(palette().color(QPalette::ButtonText), 1);
        pen.setDashPattern({1.0, 1.0});
        g.setPen(pen);
        g.setBrush(Qt::NoBrush);
        g.drawRect(QRect(4, 4, W - 9, H - 9));
    }
}

}  // namespace zfw
