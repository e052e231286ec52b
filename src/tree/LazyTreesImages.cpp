#include "tree/LazyTreesImages.h"

#include <QLinearGradient>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

namespace zfw {

int TImageList::Add(const QImage& image)
{
    QImage scaled = image.size() == QSize(m_width, m_height)
                        ? image
                        : image.scaled(m_width, m_height, Qt::IgnoreAspectRatio,
                                       Qt::SmoothTransformation);
    m_images.push_back(scaled.convertToFormat(QImage::Format_ARGB32_Premultiplied));
    return int(m_images.size()) - 1;
}

const QImage& TImageList::image(int index) const
{
    static const QImage none;
    if (index < 0 || index >= int(m_images.size()))
        return none;
    return m_images[std::size_t(index)];
}

namespace {

int indicatorSize(const QStyle* style)
{
    const int w = style->pixelMetric(QStyle::PM_IndicatorWidth);
    const int h = style->pixelMetric(QStyle::PM_IndicatorHeight);
    return std::max(9, std::max(w, h));
}

}  // namespace

TCheckImageSet::TCheckImageSet(const QStyle* style, const QPalette& palette, bool flat)
    : m_images(indicatorSize(style), indicatorSize(style))
{
    const int size = m_images.Width();
    const auto blank = [size] {
        QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
        img.fill(Qt::transparent);
        return img;
    };
    m_images.Add(blank());
    // Images 1 to 20: i mod 4 picks normal, hot, pressed, disabled; 0..7 radio (4..7 on),
    // 8..15 check box (12..15 on), 16..19 mixed.
    for (int i = 0; i < 20; ++i) {
        QImage img = blank();
        QPainter p(&img);
        QStyleOptionButton opt;
        opt.palette = palette;
        opt.rect = QRect(0, 0, size, size);
        opt.state = QStyle::State_Enabled;
        switch (i % 4) {
        case 1: opt.state |= QStyle::State_MouseOver; break;
        case 2: opt.state |= QStyle::State_Sunken; break;
        case 3: opt.state &= ~QStyle::State_Enabled; break;
        default: break;
        }
        if (!flat)
            opt.state |= QStyle::State_Raised;
        const bool on = (i >= 4 && i <= 7) || (i >= 12 && i <= 15);
        if (i >= 16)
            opt.state |= QStyle::State_NoChange;
        else
            opt.state |= on ? QStyle::State_On : QStyle::State_Off;
        style->drawPrimitive(i <= 7 ? QStyle::PE_IndicatorRadioButton
                                    : QStyle::PE_IndicatorCheckBox,
                             &opt, &p, nullptr);
        p.end();
        m_images.Add(img);
    }
    // Images 21 to 24: a small push button face, normal, hot, pressed, disabled.
    for (int i = 0; i < 4; ++i) {
        QImage img = blank();
        QPainter p(&img);
        QStyleOptionButton opt;
        opt.palette = palette;
        opt.rect = QRect(0, 0, size, size);
        opt.state = QStyle::State_Enabled | QStyle::State_Raised;
        if (i == 1)
            opt.state |= QStyle::State_MouseOver;
        if (i == 2)
            opt.state = QStyle::State_Enabled | QStyle::State_Sunken;
        if (i == 3)
            opt.state &= ~QStyle::State_Enabled;
        style->drawPrimitive(QStyle::PE_PanelButtonBevel, &opt, &p, nullptr);
        p.end();
        m_images.Add(img);
    }
}

namespace {

struct CheckLook {
    QColor frame, fill, mark, hotFrame, pressedFill, disabled;
    bool tick = false;     // a bold tick instead of the thinner check
    bool rounded = false;  // rounded boxes, a gradient fill
    bool sunken = false;   // a two-tone frame instead of a plain one
};

CheckLook lookFor(TCheckImageKind kind, const QPalette& pal)
{
    CheckLook look;
    const bool dark = kind == ckDarkCheck || kind == ckDarkTick;
    look.fill = dark ? pal.color(QPalette::Button) : pal.color(QPalette::Base);
    look.frame = pal.color(QPalette::Shadow);
    look.mark = pal.color(QPalette::Text);
    look.hotFrame = pal.color(QPalette::Highlight);
    look.pressedFill = pal.color(QPalette::Midlight);
    look.disabled = pal.color(QPalette::Dark);
    look.tick = kind == ckLightTick || kind == ckDarkTick;
    look.sunken = kind != ckFlat && kind != ckXP;
    if (kind == ckFlat)
        look.frame = pal.color(QPalette::Text);
    if (kind == ckXP) {
        // The one look with colours of its own, independent of the palette.
        look.frame = QColor(0x1C, 0x51, 0x80);
        look.fill = QColor(0xF4, 0xF4, 0xF0);
        look.mark = QColor(0x21, 0xA1, 0x21);
        look.hotFrame = QColor(0xF8, 0xB3, 0x30);
        look.pressedFill = QColor(0xB0, 0xB0, 0xA8);
        look.disabled = QColor(0xCA, 0xC8, 0xBB);
        look.rounded = true;
    }
    return look;
}

// form: 0 radio, 1 check box, 2 push button; state: 0 normal, 1 hot, 2 pressed, 3 disabled;
// value: 0 off, 1 on, 2 mixed.
QImage drawCheckImage(const CheckLook& look, const QPalette& pal, int size, int form, int state,
                      int value)
{
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    const bool disabled = state == 3;
    QColor fill = state == 2 ? look.pressedFill
                  : disabled ? pal.color(QPalette::Button)
                             : look.fill;
    const QColor frame = disabled ? look.disabled : state == 1 ? look.hotFrame : look.frame;
    const QColor mark = disabled ? look.disabled : look.mark;
    const QRectF box(1.5, 1.5, size - 3, size - 3);
    if (form == 2) {
        // A small raised (pressed: sunken) button face.
        p.fillRect(QRect(1, 1, size - 2, size - 2), pal.color(QPalette::Button));
        const QColor light = pal.color(QPalette::Light);
        const QColor shade = state == 1 ? look.hotFrame : pal.color(QPalette::Shadow);
        const QColor top = state == 2 ? shade : light;
        const QColor bottom = state == 2 ? light : shade;
        p.fillRect(QRect(1, 1, size - 2, 1), top);
        p.fillRect(QRect(1, 1, 1, size - 2), top);
        p.fillRect(QRect(1, size - 2, size - 2, 1), bottom);
        p.fillRect(QRect(size - 2, 1, 1, size - 2), bottom);
        return img;
    }
    p.setRenderHint(QPainter::Antialiasing, form == 0 || look.rounded);
    QBrush brush(fill);
    if (look.rounded && !disabled) {
        QLinearGradient gradient(box.topLeft(), box.bottomRight());
        gradient.setColorAt(0, fill.lighter(110));
        gradient.setColorAt(1, fill.darker(108));
        brush = QBrush(gradient);
    }
    p.setBrush(brush);
    p.setPen(QPen(frame, 1));
    if (form == 0)
        p.drawEllipse(box);
    else if (look.rounded)
        p.drawRoundedRect(box, 2, 2);
    else
        p.drawRect(box);
    if (look.sunken && form == 1) {
        // The classic sunken box: a lighter line along the bottom and right inside the frame.
        p.setPen(QPen(pal.color(QPalette::Light), 1));
        p.drawLine(QPointF(2.5, size - 2.5), QPointF(size - 2.5, size - 2.5));
        p.drawLine(QPointF(size - 2.5, 2.5), QPointF(size - 2.5, size - 2.5));
    }
    if (value == 0)
        return img;
    p.setRenderHint(QPainter::Antialiasing, true);
    if (form == 0) {
        p.setPen(Qt::NoPen);
        p.setBrush(mark);
        const double r = size / 5.0;
        p.drawEllipse(QPointF(size / 2.0, size / 2.0), r, r);
    } else if (value == 2) {
        // Mixed: a filled square in the middle, in a softer shade of the mark.
        QColor soft = mark;
        soft.setAlpha(disabled ? 255 : 160);
        p.fillRect(QRectF(size * 0.3, size * 0.3, size * 0.4, size * 0.4), soft);
    } else {
        const double w = size;
        QPen pen(mark, look.tick ? 2.6 : 1.6);
        pen.setCapStyle(Qt::RoundCap);
        pen.setJoinStyle(Qt::RoundJoin);
        p.setPen(pen);
        const QPointF points[3] = {{w * 0.27, w * 0.52},
                                   {w * 0.44, w * 0.69},
                                   {w * 0.75, w * 0.31}};
        p.drawPolyline(points, 3);
    }
    return img;
}

}  // namespace

TCheckImageSet::TCheckImageSet(TCheckImageKind kind, const QPalette& palette) : m_images(16, 16)
{
    const CheckLook look = lookFor(kind, palette);
    QImage empty(16, 16, QImage::Format_ARGB32_Premultiplied);
    empty.fill(Qt::transparent);
    m_images.Add(empty);
    // In the order of the index table: radio off, radio on, check off, check on, mixed (four
    // states each), then the push button.
    const int forms[6] = {0, 0, 1, 1, 1, 2};
    const int values[6] = {0, 1, 0, 1, 2, 0};
    for (int group = 0; group < 6; ++group)
        for (int state = 0; state < 4; ++state)
            m_images.Add(drawCheckImage(look, palette, 16, forms[group], state, values[group]));
}

void TImageList::SetOverlayImage(int image, int overlay)
{
    if (overlay >= 1 && overlay <= 15)
        m_overlays[std::size_t(overlay)] = image;
}

int TImageList::OverlayImage(int overlay) const
{
    return overlay >= 1 && overlay <= 15 ? m_overlays[std::size_t(overlay)] : -1;
}

}  // namespace zfw
