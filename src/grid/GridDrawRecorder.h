#pragma once
// A canvas that only writes down what is drawn, in order, so that painting code can be checked
// as data (which rectangle, which colour, which line, which clip).

#include "grid/GridDraw.h"

#include <QPalette>

#include <vector>

namespace zfw {

struct GridDrawOp {
    enum Kind { Fill, Frame, Line, Text, PushClip, PopClip, StyleCheckBox };
    Kind kind = Fill;
    TRect rect;           // Fill, Frame, Text, PushClip
    int x1 = 0, y1 = 0;   // Line
    int x2 = 0, y2 = 0;
    int width = 1;        // Line
    TColor color = clNone;  // as given (system colours unresolved)
    QString text;
    int flags = 0;        // Text; StyleCheckBox: the checked state
    bool enabled = true;  // StyleCheckBox
    bool flat = false;    // StyleCheckBox

    bool operator==(const GridDrawOp&) const = default;
};

class RecordingGridCanvas final : public IGridCanvas {
public:
    explicit RecordingGridCanvas(const QPalette& palette = QPalette()) : m_palette(palette) {}

    void fillRect(const TRect& r, TColor color) override;
    void frameRect(const TRect& r, TColor color) override;
    void line(int x1, int y1, int x2, int y2, TColor color, int width = 1) override;
    void text(const TRect& r, const QString& s, int flags, TColor color) override;
    void setFont(const QFont& font) override { m_font = font; }
    void pushClip(const TRect& r) override;
    void popClip() override;
    void styleCheckBox(const TRect& r, int checked, bool enabled, bool flat) override;
    TColor toRGB(TColor c) const override;

    const std::vector<GridDrawOp>& ops() const { return m_ops; }
    std::vector<GridDrawOp> opsOfKind(GridDrawOp::Kind kind) const;
    int clipDepth() const { return m_depth; }
    const QFont& font() const { return m_font; }
    void clear() { m_ops.clear(); }

private:
    QPalette m_palette;
    QFont m_font;
    std::vector<GridDrawOp> m_ops;
    int m_depth = 0;
};

}  // namespace zfw
