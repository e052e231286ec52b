#pragma once
// Drawing utilities the tree and its companions share: rectangle ordering, shortening and
// wrapping text, blending 32-bit pixel rows, the rectangles a moving drag image needs and the
// resolution of colour values. None keeps state; text is measured through a function the caller
// gives (the canvas's font), so every routine runs without a widget.

#include "platform/Colors.h"
#include "platform/Rect.h"

#include <QPalette>
#include <QString>

#include <cstdint>
#include <functional>

namespace zfw {

// Pixel width of a text in the font in use.
using TTextWidth = std::function<int(const QString&)>;

// The rectangle with Left <= Right and Top <= Bottom (each pair swapped when needed).
TRect NormalizeRect(TRect r);

// The text, or its longest prefix followed by "..." that fits width together with the
// ellipsis (ellipsisWidth 0: measured here), or an empty text when not even the ellipsis fits.
// The ellipsis room is reserved even for the whole text. Measures O(log n) prefixes.
QString EllipsizeText(const TTextWidth& width, const QString& s, int availableWidth,
                      int ellipsisWidth);

// The trimmed text broken into lines of at most lineWidth pixels, joined by line feeds; words
// are the runs between single blanks. A word wider than a line is split; every line takes at
// least one character, so a width narrower than any character still ends. Bounded time for
// huge texts: only parts of at most a line's width in characters are measured.
// rightToLeft fills lines from the last word backwards and splits off trailing parts.
QString WordWrapText(const TTextWidth& width, const QString& s, int lineWidth, bool rightToLeft);

enum TBlendKind : std::uint8_t {
    bkConstantAlpha,
    bkPerPixelAlpha,
    bkMasterAlpha,
    bkConstantAlphaAndColor
};

// A 32-bit pixel bitmap as BlendRect reads it: bytes blue, green, red, alpha per pixel, rows of
// `stride` bytes, the first row at `bits` (a top-down layout, as QImage::Format_ARGB32 on a
// little-endian machine).
struct TBlendBitmap {
    std::uint8_t* bits = nullptr;
    int width = 0;
    int height = 0;
    int stride = 0;
};

// Blends the rectangle r of source into destination at target, row by row, with the given mode
// (see the row formulas in the definition). Mode bkConstantAlphaAndColor blends the
// destination's own rectangle r with the colour in bias. The rectangle is clipped to both
// bitmaps; an empty rectangle or a missing bitmap does nothing. Returns false when a bitmap is
// missing.
bool BlendRect(const TBlendBitmap& source, const TBlendBitmap& destination, const TRect& r,
               int targetX, int targetY, TBlendKind mode, int constantAlpha, int bias);

// One byte of the row formulas: (D * 256 + (S - D) * A) mod 65536 shr 8, then the bias added
// with saturation; and (C * A + D * (256 - A)) shr 8 for the colour mode.
std::uint8_t BlendByte(int s, int d, int a, int bias);
std::uint8_t BlendColorByte(int c, int d, int a);

// The colour resolved to an RGB value (system colours through the palette); no colour gives
// 0xFFFFFFFF and the default colour 0xFF000000.
std::uint32_t ColorToPixel(TColor color, const QPalette& palette);

// The rectangles a drag image of w x h moved by (dx, dy) needs (positive dx: the image moves
// left; positive dy: up). clip and scroll are true rectangles; the restore and capture areas
// are bounds (x, y, width, height) in the four fields. Outputs a move does not set keep their
// previous contents.
struct TDragRectangles {
    TRect clip;
    TRect scroll;
    TRect restore1, restore2;
    TRect capture1, capture2;
};
void ComputeDragRectangles(int w, int h, int dx, int dy, TDragRectangles& out);

}  // namespace zfw
