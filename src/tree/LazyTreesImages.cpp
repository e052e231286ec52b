#include "tree/LazyTreesImages.h"

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

}  // namespace zfw
