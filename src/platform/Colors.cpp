#include "platform/Colors.h"

#include <QGuiApplication>

namespace zfw {

namespace {

// Maps a system colour index to the palette role that plays the same part here. Indexes
// without a counterpart fall back to a neutral role.
QColor systemColorOf(unsigned index, const QPalette& p)
{
    switch (index) {
    case 0: return p.color(QPalette::Button);                         // scroll bar
    case 1: return p.color(QPalette::Dark);                           // desktop
    case 2: return p.color(QPalette::Active, QPalette::Highlight);    // active caption
    case 3: return p.color(QPalette::Inactive, QPalette::Highlight);  // inactive caption
    case 4: return p.color(QPalette::Window);                         // menu
    case 5: return p.color(QPalette::Base);                           // window
    case 6: return p.color(QPalette::Shadow);                         // window frame
    case 7: return p.color(QPalette::WindowText);                     // menu text
    case 8: return p.color(QPalette::Text);                           // window text
    case 9: return p.color(QPalette::Active, QPalette::HighlightedText);
    case 10: return p.color(QPalette::Button);  // active border
    case 11: return p.color(QPalette::Button);  // inactive border
    case 12: return p.color(QPalette::Mid);     // application workspace
    case 13: return p.color(QPalette::Highlight);
    case 14: return p.color(QPalette::HighlightedText);
    case 15: return p.color(QPalette::Button);                    // button face
    case 16: return p.color(QPalette::Mid);                       // button shadow
    case 17: return p.color(QPalette::Disabled, QPalette::Text);  // grey text
    case 18: return p.color(QPalette::ButtonText);
    case 19: return p.color(QPalette::Inactive, QPalette::HighlightedText);
    case 20: return p.color(QPalette::Light);     // button highlight
    case 21: return p.color(QPalette::Shadow);    // 3D dark shadow
    case 22: return p.color(QPalette::Midlight);  // 3D light
    case 23: return p.color(QPalette::ToolTipText);
    case 24: return p.color(QPalette::ToolTipBase);
    case 26: return p.color(QPalette::Link);  // hot light
    case 27: return p.color(QPalette::Active, QPalette::Highlight).lighter(150);
    case 28: return p.color(QPalette::Inactive, QPalette::Highlight).lighter(150);
    case 29: return p.color(QPalette::Highlight);  // menu highlight
    case 30: return p.color(QPalette::Window);     // menu bar
    default: return p.color(QPalette::Window);
    }
}

}  // namespace

QColor toQColor(TColor c, const QPalette& palette)
{
    if (c == clNone || c == clDefault)
        return QColor();
    if (isSystemColor(c))
        return systemColorOf(c & 0xFFu, palette);
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

TColor fromQColor(const QColor& c) { return rgbColor(c.red(), c.green(), c.blue()); }

TColor colorToRGB(TColor c, const QPalette& palette)
{
    if (!isSystemColor(c))
        return c;
    return fromQColor(toQColor(c, palette));
}

}  // namespace zfw
