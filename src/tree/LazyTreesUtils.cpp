#include "tree/LazyTreesUtils.h"

#include <QStringList>

#include <algorithm>
#include <utility>

namespace zfw {

TRect NormalizeRect(TRect r)
{
    if (r.Left > r.Right)
        std::swap(r.Left, r.Right);
    if (r.Top > r.Bottom)
        std::swap(r.Top, r.Bottom);
    return r;
}

QString EllipsizeText(const TTextWidth& width, const QString& s, int availableWidth,
                      int ellipsisWidth)
{
    static const QString ellipsis = QStringLiteral("...");
    if (s.isEmpty() || availableWidth <= 0)
        return {};
    if (ellipsisWidth == 0)
        ellipsisWidth = width(ellipsis);
    int low = 0;
    int high = int(s.size());
    // A prefix of more characters than the width has pixels cannot fit (a character is at
    // least one pixel wide), so a huge text costs no more measuring than a short one. Texts of
    // zero-width characters may come out shorter than they could; they are not drawn readably
    // anyway.
    const bool capped = high > availableWidth;
    if (capped)
        high = availableWidth;
    while (high > low) {
        const int middle = (low + high + 1) / 2;
        if (width(s.left(middle)) + ellipsisWidth <= availableWidth)
            low = middle;
        else
            high = middle - 1;
    }
    if (low == int(s.size()) && !capped)
        return s;
    if (availableWidth > ellipsisWidth)
        return s.left(low) + ellipsis;
    return {};
}

QString WordWrapText(const TTextWidth& width, const QString& s, int lineWidth, bool rightToLeft)
{
    const QString text = s.trimmed();
    if (text.isEmpty())
        return {};
    QStringList words = text.split(QLatin1Char(' '), Qt::KeepEmptyParts);
    if (rightToLeft)
        std::reverse(words.begin(), words.end());
    // A word being split is not copied for every line: `used` characters of it (from its end
    // right to left) have gone on earlier lines already.
    qsizetype used = 0;
    const auto rest = [&](const QString& word) {
        return rightToLeft ? QStringView(word).left(word.size() - used)
                           : QStringView(word).mid(used);
    };
    QString result;
    QString line;
    bool lineStarted = false;
    int previousSplit = int(text.size());
    const auto finishLine = [&] {
        result += line;
        result += QLatin1Char('\n');
        line.clear();
        lineStarted = false;
    };
    // A text of more characters than the line has pixels cannot fit (a character is at least
    // one pixel wide); it is never measured, so a huge word costs no more than its lines.
    const auto fits = [&](const QString& candidate) {
        return candidate.size() <= lineWidth && width(candidate) <= lineWidth;
    };
    qsizetype i = 0;
    while (i < words.size()) {
        const QStringView word = rest(words[i]);
        const qsizetype joinedSize = lineStarted ? line.size() + 1 + word.size() : word.size();
        if (joinedSize <= lineWidth) {
            QString candidate;
            if (!lineStarted)
                candidate = word.toString();
            else if (rightToLeft)
                candidate = word.toString() + QLatin1Char(' ') + line;
            else
                candidate = line + QLatin1Char(' ') + word.toString();
            if (fits(candidate)) {
                line = candidate;
                lineStarted = true;
                ++i;
                used = 0;
                continue;
            }
        }
        if (lineStarted) {
            finishLine();
            continue;
        }
        // The word does not fit even alone.
        if (previousSplit < 2 || word.size() < 2) {
            line = word.toString();
            finishLine();
            ++i;
            used = 0;
            continue;
        }
        // The longest part of 1 to length - 1 characters that fits, found by halving.
        int low = 1;
        int high = int(std::min<qsizetype>(word.size() - 1, std::max(lineWidth, 1)));
        while (high > low) {
            const int middle = (low + high + 1) / 2;
            const QStringView part = rightToLeft ? word.right(middle) : word.left(middle);
            if (width(part.toString()) <= lineWidth)
                low = middle;
            else
                high = middle - 1;
        }
        // At least one character goes on the line, so that every split makes progress: a
        // width narrower than one character used to split off nothing and loop for ever.
        const int n = low;
        previousSplit = n;
        line = (rightToLeft ? word.right(n) : word.left(n)).toString();
        finishLine();
        used += n;
    }
    if (lineStarted)
        finishLine();
    if (result.endsWith(QLatin1Char('\n')))
        result.chop(1);
    return result;
}

std::uint8_t BlendByte(int s, int d, int a, int bias)
{
    // 16-bit lanes: the products keep their low 16 bits, the sum wraps, then a logical shift.
    const std::uint16_t sum = std::uint16_t(std::uint16_t(d * 256)
                                            + std::uint16_t(std::int16_t((s - d) * a)));
    int v = sum >> 8;
    // The bias: less 128, plus the bias with signed 16-bit saturation, plus 128 (wrapping),
    // then saturated to a byte.
    int t = std::clamp(v - 128 + bias, -32768, 32767);
    t = std::int16_t(std::uint16_t(t + 128));
    return std::uint8_t(std::clamp(t, 0, 255));
}

std::uint8_t BlendColorByte(int c, int d, int a)
{
    return std::uint8_t(std::uint16_t(c * a + d * (256 - a)) >> 8);
}

bool BlendRect(const TBlendBitmap& source, const TBlendBitmap& destination, const TRect& r,
               int targetX, int targetY, TBlendKind mode, int constantAlpha, int bias)
{
    if (r.isEmpty())
        return true;
    if (!destination.bits || (mode != bkConstantAlphaAndColor && !source.bits))
        return false;
    const auto pixel = [](const TBlendBitmap& b, int x, int y) {
        return b.bits + std::ptrdiff_t(y) * b.stride + std::ptrdiff_t(x) * 4;
    };
    const auto inside = [](const TBlendBitmap& b, int x, int y) {
        return x >= 0 && y >= 0 && x < b.width && y < b.height;
    };
    if (mode == bkConstantAlphaAndColor) {
        const std::uint8_t colour[4] = {std::uint8_t(bias >> 16), std::uint8_t(bias >> 8),
                                        std::uint8_t(bias), 0};
        for (int y = r.Top; y < r.Bottom; ++y) {
            for (int x = r.Left; x < r.Right; ++x) {
                if (!inside(destination, x, y))
                    continue;
                std::uint8_t* d = pixel(destination, x, y);
                for (int k = 0; k < 4; ++k)
                    d[k] = BlendColorByte(colour[k], d[k], constantAlpha);
            }
        }
        return true;
    }
    if (mode > bkMasterAlpha)
        return true;
    for (int i = 0; i < r.Height(); ++i) {
        for (int j = 0; j < r.Width(); ++j) {
            const int sx = r.Left + j, sy = r.Top + i;
            const int dx = targetX + j, dy = targetY + i;
            if (!inside(source, sx, sy) || !inside(destination, dx, dy))
                continue;
            const std::uint8_t* s = pixel(source, sx, sy);
            std::uint8_t* d = pixel(destination, dx, dy);
            int a = constantAlpha;
            if (mode == bkPerPixelAlpha)
                a = s[3];
            else if (mode == bkMasterAlpha)
                a = (s[3] * constantAlpha) >> 8;
            for (int k = 0; k < 4; ++k)
                d[k] = BlendByte(s[k], d[k], a, bias);
        }
    }
    return true;
}

std::uint32_t ColorToPixel(TColor color, const QPalette& palette)
{
    if (color == clNone)
        return 0xFFFFFFFFu;
    if (color == clDefault)
        return 0xFF000000u;
    return colorToRGB(color, palette) & 0x00FFFFFFu;
}

void ComputeDragRectangles(int w, int h, int dx, int dy, TDragRectangles& out)
{
    out.clip = Rect(0, 0, w, h);
    // Restore and capture areas are bounds: (x, y, width, height) in the four fields.
    const auto bounds = [](int x, int y, int bw, int bh) { return TRect{x, y, bw, bh}; };
    if (dx > 0) {
        if (dy == 0) {
            out.scroll = Rect(0, 0, w - dx, h);
            out.restore2 = bounds(w - dx, 0, dx, h);
            out.capture2 = bounds(0, 0, dx, h);
        } else if (dy > 0) {
            out.scroll = Rect(0, 0, w - dx, h - dy);
            out.restore1 = bounds(w - dx, 0, dx, h);
            out.restore2 = bounds(0, h - dy, w - dx, dy);
            out.capture1 = bounds(dx, 0, w - dx, dy);
            out.capture2 = bounds(0, 0, dx, h);
        } else {
            out.scroll = Rect(0, -dy, w - dx, h);
            out.restore1 = bounds(w - dx, 0, dx, h);
            out.restore2 = bounds(0, 0, w - dx, -dy);
            out.capture1 = bounds(dx, h + dy, w - dx, -dy);
            out.capture2 = bounds(0, 0, dx, h);
        }
    } else if (dx == 0) {
        if (dy >= 0) {
            out.scroll = Rect(0, 0, w, h - dy);
            out.restore1 = bounds(0, h - dy, w, dy);
            out.capture1 = bounds(0, 0, w, dy);
        } else {
            out.scroll = Rect(0, -dy, w, h);
            out.restore1 = bounds(0, 0, w, -dy);
            out.capture1 = bounds(0, h + dy, w, -dy);
        }
    } else {
        if (dy == 0) {
            out.scroll = Rect(-dx, 0, w, h);
            out.restore2 = bounds(0, 0, -dx, h);
            out.capture2 = bounds(w + dx, 0, -dx, h);
        } else if (dy > 0) {
            out.scroll = Rect(-dx, 0, w, h);
            out.restore1 = bounds(-dx, h - dy, w + dx, dy);
            out.restore2 = bounds(0, 0, -dx, h);
            out.capture1 = bounds(w + dx, 0, -dx, h);
            out.capture2 = bounds(0, 0, w + dx, dy);
        } else {
            out.scroll = Rect(-dx, -dy, w, h);
            out.restore1 = bounds(-dx, 0, w + dx, -dy);
            out.restore2 = bounds(0, 0, -dx, h);
            out.capture1 = bounds(w + dx, 0, -dx, h);
            out.capture2 = bounds(0, h + dy, w + dx, -dy);
        }
    }
}

}  // namespace zfw
