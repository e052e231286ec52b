// TLbButton: the program's own button pictures, drawn here rather than shipped as files.
// Each strip holds two frames side by side: the normal picture and the disabled one (grey
// with a white relief). The background is one key colour that the pictures never use, so
// that the bottom-left pixel of a frame tells what is transparent. Drawing is aliased: a
// blended edge would leave a pink fringe around the picture.

#include "controls/LbButton.h"

#include <QPainter>
#include <QPainterPath>

#include <functional>

namespace zfw {

namespace {

constexpr int kFrame = 18;

using Art = std::function<void(QPainter&, const QColor& main, const QColor& accent)>;

void checkMark(QPainter& g, const QColor& c, int dx)
{
    g.setPen(QPen(c, 3, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    g.drawPolyline(QPolygon({QPoint(3 + dx, 9), QPoint(7 + dx, 13), QPoint(14 + dx, 4)}));
}

void cross(QPainter& g, const QColor& c)
{
    g.setPen(QPen(c, 3, Qt::SolidLine, Qt::SquareCap));
    g.drawLine(4, 4, 13, 13);
    g.drawLine(13, 4, 4, 13);
}

void disc(QPainter& g, const QColor& c)
{
    g.setPen(Qt::NoPen);
    g.setBrush(c);
    g.drawEllipse(QRect(1, 1, 15, 15));
}

void arrowHead(QPainter& g, const QColor& c, const QPolygon& points)
{
    g.setPen(Qt::NoPen);
    g.setBrush(c);
    g.drawPolygon(points);
}

Art artOf(const QString& name)
{
    if (name == u"LBOK")
        return [](QPainter& g, const QColor& m, const QColor&) { checkMark(g, m, 0); };
    if (name == u"LBYES")
        return [](QPainter& g, const QColor& m, const QColor& a) {
            disc(g, m);
            g.setPen(QPen(a, 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
            g.drawPolyline(QPolygon({QPoint(5, 9), QPoint(8, 12), QPoint(12, 5)}));
        };
    if (name == u"LBCANCEL")
        return [](QPainter& g, const QColor& m, const QColor&) { cross(g, m); };
    if (name == u"LBNO")
        return [](QPainter& g, const QColor& m, const QColor&) {
            g.setPen(QPen(m, 2));
            g.setBrush(Qt::NoBrush);
            g.drawEllipse(QRect(2, 2, 13, 13));
            g.drawLine(5, 12, 12, 5);
        };
    if (name == u"LBHELP")
        return [](QPainter& g, const QColor& m, const QColor& a) {
            disc(g, m);
            g.setPen(QPen(a, 2, Qt::SolidLine, Qt::FlatCap));
            g.setBrush(Qt::NoBrush);
            g.drawArc(QRect(6, 3, 6, 6), 180 * 16, -270 * 16);
            g.drawLine(9, 9, 9, 10);
            g.fillRect(QRect(8, 12, 2, 2), a);
        };
    if (name == u"LBCLOSE")
        return [](QPainter& g, const QColor& m, const QColor& a) {
            g.setPen(QPen(m, 1));
            g.setBrush(a);
            g.drawRect(QRect(4, 1, 9, 15));
            g.fillRect(QRect(10, 8, 2, 2), m);
        };
    if (name == u"LBABORT")
        return [](QPainter& g, const QColor& m, const QColor& a) {
            g.setPen(Qt::NoPen);
            g.setBrush(m);
            g.drawPolygon(QPolygon({QPoint(5, 1), QPoint(12, 1), QPoint(16, 5), QPoint(16, 12),
                                    QPoint(12, 16), QPoint(5, 16), QPoint(1, 12), QPoint(1, 5)}));
            g.fillRect(QRect(4, 7, 10, 3), a);
        };
    if (name == u"LBRETRY")
        return [](QPainter& g, const QColor& m, const QColor&) {
            g.setPen(QPen(m, 2, Qt::SolidLine, Qt::FlatCap));
            g.setBrush(Qt::NoBrush);
            g.drawArc(QRect(3, 3, 11, 11), 60 * 16, 280 * 16);
            arrowHead(g, m, QPolygon({QPoint(10, 1), QPoint(15, 4), QPoint(10, 7)}));
        };
    if (name == u"LBIGNORE")
        return [](QPainter& g, const QColor& m, const QColor&) {
            arrowHead(g, m, QPolygon({QPoint(2, 3), QPoint(8, 9), QPoint(2, 15)}));
            arrowHead(g, m, QPolygon({QPoint(9, 3), QPoint(15, 9), QPoint(9, 15)}));
        };
    if (name == u"LBALL")
        return [](QPainter& g, const QColor& m, const QColor&) {
            checkMark(g, m, -1);
            g.translate(0, 3);
            checkMark(g, m, 2);
        };
    return {};
}

struct Colours {
    QColor main;
    QColor accent;
};

Colours coloursOf(const QString& name)
{
    const QColor white(255, 255, 255);
    if (name == u"LBOK" || name == u"LBYES" || name == u"LBALL")
        return {QColor(0, 140, 40), white};
    if (name == u"LBCANCEL" || name == u"LBNO" || name == u"LBABORT")
        return {QColor(200, 20, 20), white};
    if (name == u"LBCLOSE")
        return {QColor(90, 55, 20), QColor(200, 150, 90)};
    return {QColor(30, 80, 200), white};  // help, retry, ignore
}

QImage arrowPicture()
{
    QImage img(5, 3, QImage::Format_RGB32);
    img.fill(toQColor(kLbKeyColor));
    for (int row = 0; row < 3; ++row)
        for (int x = row; x < 5 - row; ++x)
            img.setPixel(x, row, qRgb(0, 0, 0));
    return img;
}

}  // namespace

QImage lbGlyphResource(const QString& name)
{
    if (name == u"LBARROW")
        return arrowPicture();
    const Art art = artOf(name);
    if (!art)
        return QImage();
    const int height = name == u"LBALL" ? kFrame + 1 : kFrame;
    QImage img(2 * kFrame, height, QImage::Format_RGB32);
    img.fill(toQColor(kLbKeyColor));
    const Colours c = coloursOf(name);
    QPainter g(&img);
    g.setRenderHint(QPainter::Antialiasing, false);
    g.save();
    art(g, c.main, c.accent);
    g.restore();
    // Disabled frame: white relief one pixel down and right, grey picture on top; the accent
    // drawn in the relief colour keeps inner details visible.
    const QColor relief(255, 255, 255);
    const QColor grey(128, 128, 128);
    g.save();
    g.translate(kFrame + 1, 1);
    art(g, relief, relief);
    g.restore();
    g.save();
    g.translate(kFrame, 0);
    art(g, grey, relief);
    g.restore();
    return img;
}

}  // namespace zfw
