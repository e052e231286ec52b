#pragma once
// The small drawing surface the owner-drawn controls paint through, a QPainter implementation
// and a recorder that writes down what is drawn, so that painting code can be checked as data.
// Coordinates follow the cell arithmetic: a rectangle's Right and Bottom lie just outside it,
// and a line leaves out its end point, so that lines drawn inside a cell stay inside it.

#include "platform/Colors.h"
#include "platform/Rect.h"

#include <QFont>
#include <QImage>
#include <QPalette>
#include <QPoint>
#include <QString>

#include <array>
#include <cstdint>
#include <vector>

class QPainter;
class QStyle;

namespace zfw {

class ICanvas {
public:
    virtual ~ICanvas() = default;
    // Colours given to the canvas may be system colours; it resolves them itself.
    virtual void fillRect(const TRect& r, TColor color) = 0;
    // A frame one pixel wide along the inside of the rectangle.
    virtual void frameRect(const TRect& r, TColor color) = 0;
    // From (x1, y1) towards (x2, y2), the end point itself not drawn; width in pixels.
    virtual void line(int x1, int y1, int x2, int y2, TColor color, int width = 1) = 0;
    // Text in the rectangle with Qt alignment and text flags, clipped to the rectangle.
    virtual void text(const TRect& r, const QString& s, int flags, TColor color) = 0;
    virtual void setFont(const QFont& font) = 0;
    // Clips everything drawn until the matching popClip to the intersection of the
    // rectangle with the clip in force.
    virtual void pushClip(const TRect& r) = 0;
    virtual void popClip() = 0;
    // The RGB value of a colour (system colours resolved); clNone stays clNone.
    virtual TColor toRGB(TColor c) const = 0;
    // A check box as the widget style draws it, filling r: checked 0 off, 1 on, 2 partly.
    // Flat asks for the style's flat variant where it has one. A canvas without a style
    // draws nothing.
    virtual void styleCheckBox(const TRect& r, int checked, bool enabled, bool flat) {}

    // Pixel width of a text in the font set last (the application font before any).
    virtual int textWidth(const QString& s) const;
    // Line height (ascent plus descent) of the font set last.
    virtual int textHeight() const;
    // A one-pixel line of every other pixel, horizontal or vertical, from (x, y) over length
    // pixels: a pixel is drawn in color when (x + y) - (originX + originY) is even, else in
    // background (clNone leaves it). The origin keeps patterns of neighbouring rows in step.
    virtual void patternLine(int x, int y, int length, bool horizontal, TColor color,
                             TColor background, int originX, int originY)
    {
    }
    // A picture with its top-left corner at (x, y); opacity 0..1 (ghosted images at 0.5).
    virtual void image(int x, int y, const QImage& picture, double opacity = 1.0) {}
    // A filled rectangle with a one-pixel border and rounded corners of the given size (0:
    // square). Either colour may be clNone.
    virtual void roundRect(const TRect& r, TColor fill, TColor border, int radius) {}
    // The dotted focus frame along the inside of the rectangle.
    virtual void focusRect(const TRect& r) {}
    // Fills r with the picture repeated, its pixel (phaseX, phaseY) at r's top-left corner.
    virtual void tiledImage(const TRect& r, const QImage& picture, int phaseX, int phaseY) {}
    // Mixes color into what r shows: alpha 0 leaves it, 255 gives the colour.
    virtual void blendRect(const TRect& r, TColor color, int alpha) {}
    // A filled polygon without outline.
    virtual void polygon(const std::vector<QPoint>& points, TColor color) {}
    // Fills r with an 8 x 8 pattern: row (y - originY) mod 8 is a word whose low byte holds the
    // row's pixels, the leftmost in bit 7. A set bit draws background (clNone leaves the pixel),
    // a clear bit draws color.
    virtual void patternRect(const TRect& r, const std::array<std::uint16_t, 8>& bits, TColor color,
                             TColor background, int originX, int originY)
    {
    }
};

// Draws on a QPainter; system colours are resolved against the palette given.
class QPainterCanvas : public ICanvas {
public:
    QPainterCanvas(QPainter& painter, const QPalette& palette);
    ~QPainterCanvas() override;

    void fillRect(const TRect& r, TColor color) override;
    void frameRect(const TRect& r, TColor color) override;
    void line(int x1, int y1, int x2, int y2, TColor color, int width = 1) override;
    void text(const TRect& r, const QString& s, int flags, TColor color) override;
    void setFont(const QFont& font) override;
    void pushClip(const TRect& r) override;
    void popClip() override;
    TColor toRGB(TColor c) const override;
    void styleCheckBox(const TRect& r, int checked, bool enabled, bool flat) override;
    int textWidth(const QString& s) const override;
    int textHeight() const override;
    void patternLine(int x, int y, int length, bool horizontal, TColor color, TColor background,
                     int originX, int originY) override;
    void image(int x, int y, const QImage& picture, double opacity = 1.0) override;
    void roundRect(const TRect& r, TColor fill, TColor border, int radius) override;
    void focusRect(const TRect& r) override;
    void tiledImage(const TRect& r, const QImage& picture, int phaseX, int phaseY) override;
    void blendRect(const TRect& r, TColor color, int alpha) override;
    void polygon(const std::vector<QPoint>& points, TColor color) override;
    void patternRect(const TRect& r, const std::array<std::uint16_t, 8>& bits, TColor color,
                     TColor background, int originX, int originY) override;
    void setStyle(const QStyle* style) { m_style = style; }
    QPainter& painter() { return m_painter; }

private:
    QPainter& m_painter;
    QPalette m_palette;
    const QStyle* m_style = nullptr;
    int m_depth = 0;
};

struct CanvasOp {
    enum Kind {
        Fill,
        Frame,
        Line,
        Text,
        PushClip,
        PopClip,
        StyleCheckBox,
        PatternLine,
        Image,
        RoundRect,
        FocusRect,
        TiledImage,
        Blend,
        Polygon,
        PatternRect
    };
    Kind kind = Fill;
    TRect rect;             // Fill, Frame, Text, PushClip, Image (its bounds), RoundRect, FocusRect
    int x1 = 0, y1 = 0;     // Line; PatternLine: start
    int x2 = 0, y2 = 0;     // Line; PatternLine: length and horizontal (1) or vertical (0)
    int width = 1;          // Line; RoundRect: radius
    TColor color = clNone;  // as given (system colours unresolved)
    TColor color2 = clNone;  // PatternLine background, RoundRect border
    QString text;
    // Text; StyleCheckBox: the checked state; PatternLine: origin x + y; Blend: alpha.
    // TiledImage: phase x in x1, phase y in y1. PatternRect: origin in x1, y1.
    int flags = 0;
    bool enabled = true;         // StyleCheckBox
    bool flat = false;           // StyleCheckBox
    double opacity = 1.0;        // Image
    qint64 imageKey = 0;         // Image, TiledImage: QImage::cacheKey of the picture drawn
    std::vector<QPoint> points;  // Polygon
    std::array<std::uint16_t, 8> bits{};  // PatternRect

    bool operator==(const CanvasOp&) const = default;
};

class RecordingCanvas final : public ICanvas {
public:
    explicit RecordingCanvas(const QPalette& palette = QPalette()) : m_palette(palette) {}

    void fillRect(const TRect& r, TColor color) override;
    void frameRect(const TRect& r, TColor color) override;
    void line(int x1, int y1, int x2, int y2, TColor color, int width = 1) override;
    void text(const TRect& r, const QString& s, int flags, TColor color) override;
    void setFont(const QFont& font) override { m_font = font; }
    void pushClip(const TRect& r) override;
    void popClip() override;
    void styleCheckBox(const TRect& r, int checked, bool enabled, bool flat) override;
    TColor toRGB(TColor c) const override;
    int textWidth(const QString& s) const override;
    int textHeight() const override;
    void patternLine(int x, int y, int length, bool horizontal, TColor color, TColor background,
                     int originX, int originY) override;
    void image(int x, int y, const QImage& picture, double opacity = 1.0) override;
    void roundRect(const TRect& r, TColor fill, TColor border, int radius) override;
    void focusRect(const TRect& r) override;
    void tiledImage(const TRect& r, const QImage& picture, int phaseX, int phaseY) override;
    void blendRect(const TRect& r, TColor color, int alpha) override;
    void polygon(const std::vector<QPoint>& points, TColor color) override;
    void patternRect(const TRect& r, const std::array<std::uint16_t, 8>& bits, TColor color,
                     TColor background, int originX, int originY) override;

    const std::vector<CanvasOp>& ops() const { return m_ops; }
    std::vector<CanvasOp> opsOfKind(CanvasOp::Kind kind) const;
    int clipDepth() const { return m_depth; }
    const QFont& font() const { return m_font; }
    void clear() { m_ops.clear(); }

private:
    void add(CanvasOp op) { m_ops.push_back(std::move(op)); }

    QPalette m_palette;
    QFont m_font;
    std::vector<CanvasOp> m_ops;
    int m_depth = 0;
};

}  // namespace zfw
