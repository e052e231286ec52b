#pragma once
// What the grid and its drop-downs ask about the look of the desktop: version tests that pick
// a drawing variant, the colour theme to adapt to, the default interface font, and the
// themed parts (check box, radio button, drop-down and push buttons) drawn by the widget
// style. Answered from QStyle and QPalette: there is no theme library to bind, no registry to
// read and no watcher thread; a theme change reaches a window as an ordinary Qt event.

#include "platform/Colors.h"

#include <QEvent>
#include <QPalette>
#include <QRect>
#include <QString>

class QPainter;
class QStyle;
class QWidget;

namespace zfw {

enum TVKTStyle {
    tsOffice2003Blue,
    tsOffice2003Silver,
    tsOffice2003Olive,
    tsOffice2003Classic,
    tsOffice2007Luna,
    tsOffice2007Obsidian,
    tsWindowsXP,
    tsWhidbey,
    tsCustom,
    tsOffice2007Silver,
    tsWindowsVista,
    tsWindows7,
    tsTerminal,
    tsOffice2010Blue,
    tsOffice2010Silver,
    tsOffice2010Black
};

enum TOfficeTheme {
    ot2003Blue,
    ot2003Silver,
    ot2003Olive,
    ot2003Classic,
    ot2007Blue,
    ot2007Silver,
    ot2007Black,
    ot2010Blue,
    ot2010Silver,
    ot2010Black,
    otUnknown
};

// A control that takes a component style (the string grid does).
class IVKTStyle {
public:
    virtual ~IVKTStyle() = default;
    virtual void SetComponentStyle(TVKTStyle style) = 0;
};

// The version tests. The drawing variants they select are those of a current desktop with
// themed controls, so they all answer true.
constexpr bool IsComCtl32V6() { return true; }
constexpr bool IsVistaOrLater() { return true; }

// No office suite theme can be read here: version 0, no desktop colour scheme, so the colour
// theme is the classic one.
constexpr int GetOfficeVersion() { return 0; }
constexpr int GetXPThemeKind() { return 0; }
constexpr TOfficeTheme GetCurrentOfficeStyle() { return ot2003Classic; }

// The family of the desktop's general interface font.
QString GetDefaultUIFontName();

// True for the events by which a window learns that the style, the palette or the desktop
// theme changed (where the grid re-reads its theme colours).
bool isThemeChangeEvent(QEvent::Type type);

// Button states of the themed parts: 0 normal, 1 hot, 2 pressed, 3 disabled.
enum class ThemePartState { Normal, Hot, Pressed, Disabled };

// Draws the themed parts with the style of a widget (its palette and direction).
class ThemePainter {
public:
    explicit ThemePainter(const QWidget* widget);
    ThemePainter(const QStyle* style, const QPalette& palette);

    // The platform's vertical scroll bar width in pixels.
    int scrollBarWidth() const;
    TColor resolve(TColor c) const { return colorToRGB(c, m_palette); }

    // A box in `r`, centred; checked 0 unchecked, 1 checked, 2 partly checked.
    void drawCheckBox(QPainter& p, const QRect& r, int checked, ThemePartState s) const;
    void drawRadioButton(QPainter& p, const QRect& r, bool checked, ThemePartState s) const;
    void drawDropDownButton(QPainter& p, const QRect& r, ThemePartState s) const;
    void drawPushButton(QPainter& p, const QRect& r, ThemePartState s) const;

private:
    const QStyle* m_style;
    const QWidget* m_widget = nullptr;
    QPalette m_palette;
};

}  // namespace zfw
