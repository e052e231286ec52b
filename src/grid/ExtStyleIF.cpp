#include "grid/ExtStyleIF.h"

#include <QApplication>
#include <QFontDatabase>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <QWidget>

namespace zfw {

QString GetDefaultUIFontName()
{
    return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
}

bool isThemeChangeEvent(QEvent::Type type)
{
    switch (type) {
    case QEvent::StyleChange:
    case QEvent::PaletteChange:
    case QEvent::ApplicationPaletteChange:
    case QEvent::ThemeChange: return true;
    default: return false;
    }
}

ThemePainter::ThemePainter(const QWidget* widget)
    : m_style(widget->style()), m_widget(widget), m_palette(widget->palette())
{
}

ThemePainter::ThemePainter(const QStyle* style, const QPalette& palette)
    : m_style(style ? style : QApplication::style()), m_palette(palette)
{
}

int ThemePainter::scrollBarWidth() const
{
    return m_style->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_widget);
}

namespace {

void applyState(QStyleOption& opt, ThemePartState s)
{
    opt.state = QStyle::State_None;
    if (s != ThemePartState::Disabled)
        opt.state |= QStyle::State_Enabled;
    if (s == ThemePartState::Hot)
        opt.state |= QStyle::State_MouseOver;
    if (s == ThemePartState::Pressed)
        opt.state |= QStyle::State_Sunken;
}

}  // namespace

void ThemePainter::drawCheckBox(QPainter& p, const QRect& r, int checked, ThemePartState s) const
{
    QStyleOptionButton opt;
    opt.palette = m_palette;
    opt.rect = r;
    applyState(opt, s);
    opt.state |= checked == 1   ? QStyle::State_On
                 : checked == 2 ? QStyle::State_NoChange
                                : QStyle::State_Off;
    m_style->drawPrimitive(QStyle::PE_IndicatorCheckBox, &opt, &p, m_widget);
}

void ThemePainter::drawRadioButton(QPainter& p, const QRect& r, bool checked,
                                   ThemePartState s) const
{
    QStyleOptionButton opt;
    opt.palette = m_palette;
    opt.rect = r;
    applyState(opt, s);
    opt.state |= checked ? QStyle::State_On : QStyle::State_Off;
    m_style->drawPrimitive(QStyle::PE_IndicatorRadioButton, &opt, &p, m_widget);
}

void ThemePainter::drawDropDownButton(QPainter& p, const QRect& r, ThemePartState s) const
{
    QStyleOptionButton opt;
    opt.palette = m_palette;
    opt.rect = r;
    applyState(opt, s);
    if (s != ThemePartState::Pressed)
        opt.state |= QStyle::State_Raised;
    m_style->drawPrimitive(QStyle::PE_PanelButtonTool, &opt, &p, m_widget);
    QStyleOption arrow;
    arrow.palette = m_palette;
    arrow.state = opt.state;
    const int side = std::max(4, std::min(r.width(), r.height()) / 2);
    arrow.rect = QRect(0, 0, side, side);
    arrow.rect.moveCenter(r.center());
    m_style->drawPrimitive(QStyle::PE_IndicatorArrowDown, &arrow, &p, m_widget);
}

void ThemePainter::drawPushButton(QPainter& p, const QRect& r, ThemePartState s) const
{
    QStyleOptionButton opt;
    opt.palette = m_palette;
    opt.rect = r;
    applyState(opt, s);
    if (s != ThemePartState::Pressed)
        opt.state |= QStyle::State_Raised;
    m_style->drawControl(QStyle::CE_PushButtonBevel, &opt, &p, m_widget);
}

}  // namespace zfw
