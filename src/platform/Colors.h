#pragma once
// Colour values as the windows and controls store them: 0x00BBGGRR for an RGB colour,
// 0xFF0000nn for system colour nn (resolved against the palette when drawn), and clNone.

#include <QColor>
#include <QPalette>

#include <cstdint>

namespace zfw {

using TColor = std::uint32_t;

inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clDefault = 0x20000000;

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clOlive = 0x008080;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clPurple = 0x800080;
inline constexpr TColor clTeal = 0x808000;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clFuchsia = 0xFF00FF;
inline constexpr TColor clAqua = 0xFFFF00;
inline constexpr TColor clWhite = 0xFFFFFF;

// System colours: 0xFF000000 or-ed with the index of the colour.
inline constexpr TColor systemColor(unsigned index) { return 0xFF000000u | index; }
inline constexpr TColor clScrollBar = systemColor(0);
inline constexpr TColor clBackground = systemColor(1);
inline constexpr TColor clActiveCaption = systemColor(2);
inline constexpr TColor clInactiveCaption = systemColor(3);
inline constexpr TColor clMenu = systemColor(4);
inline constexpr TColor clWindow = systemColor(5);
inline constexpr TColor clWindowFrame = systemColor(6);
inline constexpr TColor clMenuText = systemColor(7);
inline constexpr TColor clWindowText = systemColor(8);
inline constexpr TColor clCaptionText = systemColor(9);
inline constexpr TColor clActiveBorder = systemColor(10);
inline constexpr TColor clInactiveBorder = systemColor(11);
inline constexpr TColor clAppWorkSpace = systemColor(12);
inline constexpr TColor clHighlight = systemColor(13);
inline constexpr TColor clHighlightText = systemColor(14);
inline constexpr TColor clBtnFace = systemColor(15);
inline constexpr TColor clBtnShadow = systemColor(16);
inline constexpr TColor clGrayText = systemColor(17);
inline constexpr TColor clBtnText = systemColor(18);
inline constexpr TColor clInactiveCaptionText = systemColor(19);
inline constexpr TColor clBtnHighlight = systemColor(20);
inline constexpr TColor cl3DDkShadow = systemColor(21);
inline constexpr TColor cl3DLight = systemColor(22);
inline constexpr TColor clInfoText = systemColor(23);
inline constexpr TColor clInfoBk = systemColor(24);
inline constexpr TColor clHotLight = systemColor(26);
inline constexpr TColor clGradientActiveCaption = systemColor(27);
inline constexpr TColor clGradientInactiveCaption = systemColor(28);
inline constexpr TColor clMenuHighlight = systemColor(29);
inline constexpr TColor clMenuBar = systemColor(30);

inline constexpr bool isSystemColor(TColor c) { return (c & 0xFF000000u) == 0xFF000000u; }

inline constexpr TColor rgbColor(int r, int g, int b)
{
    return TColor(r & 0xFF) | (TColor(g & 0xFF) << 8) | (TColor(b & 0xFF) << 16);
}

// The RGB value of a colour, system colours resolved against the palette; clNone and
// clDefault have no RGB value and give an invalid QColor.
QColor toQColor(TColor c, const QPalette& palette = QPalette());

// The stored value of an opaque QColor (alpha dropped).
TColor fromQColor(const QColor& c);

// Resolves a system colour to its RGB value; other values are returned as they are.
TColor colorToRGB(TColor c, const QPalette& palette = QPalette());

}  // namespace zfw
