#pragma once
// Rectangles as the drawing code computes them: Right and Bottom lie just outside the area.

#include <QRect>

namespace zfw {

struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;   // exclusive
    int Bottom = 0;  // exclusive

    constexpr int Width() const { return Right - Left; }
    constexpr int Height() const { return Bottom - Top; }
    constexpr bool isEmpty() const { return Right <= Left || Bottom <= Top; }
    constexpr bool contains(int x, int y) const
    {
        return x >= Left && x < Right && y >= Top && y < Bottom;
    }
    constexpr TRect inflated(int dx, int dy) const
    {
        return {Left - dx, Top - dy, Right + dx, Bottom + dy};
    }
    constexpr TRect offset(int dx, int dy) const
    {
        return {Left + dx, Top + dy, Right + dx, Bottom + dy};
    }
    constexpr bool operator==(const TRect&) const = default;

    QRect toQRect() const { return QRect(Left, Top, Width(), Height()); }
    static TRect fromQRect(const QRect& r)
    {
        return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
    }
};

constexpr TRect Rect(int left, int top, int right, int bottom)
{
    return {left, top, right, bottom};
}
constexpr TRect Bounds(int left, int top, int width, int height)
{
    return {left, top, left + width, top + height};
}

}  // namespace zfw
