#include "grid/GridDrawRecorder.h"

namespace zfw {

void RecordingGridCanvas::fillRect(const TRect& r, TColor color)
{
    GridDrawOp op;
    op.kind = GridDrawOp::Fill;
    op.rect = r;
    op.color = color;
    m_ops.push_back(op);
}

void RecordingGridCanvas::frameRect(const TRect& r, TColor color)
{
    GridDrawOp op;
    op.kind = GridDrawOp::Frame;
    op.rect = r;
    op.color = color;
    m_ops.push_back(op);
}

void RecordingGridCanvas::line(int x1, int y1, int x2, int y2, TColor color, int width)
{
    GridDrawOp op;
    op.kind = GridDrawOp::Line;
    op.x1 = x1;
    op.y1 = y1;
    op.x2 = x2;
    op.y2 = y2;
    op.width = width;
    op.color = color;
    m_ops.push_back(op);
}

void RecordingGridCanvas::text(const TRect& r, const QString& s, int flags, TColor color)
{
    GridDrawOp op;
    op.kind = GridDrawOp::Text;
    op.rect = r;
    op.text = s;
    op.flags = flags;
    op.color = color;
    m_ops.push_back(op);
}

void RecordingGridCanvas::pushClip(const TRect& r)
{
    GridDrawOp op;
    op.kind = GridDrawOp::PushClip;
    op.rect = r;
    m_ops.push_back(op);
    ++m_depth;
}

void RecordingGridCanvas::popClip()
{
    GridDrawOp op;
    op.kind = GridDrawOp::PopClip;
    m_ops.push_back(op);
    --m_depth;
}

void RecordingGridCanvas::styleCheckBox(const TRect& r, int checked, bool enabled, bool flat)
{
    GridDrawOp op;
    op.kind = GridDrawOp::StyleCheckBox;
    op.rect = r;
    op.flags = checked;
    op.enabled = enabled;
    op.flat = flat;
    m_ops.push_back(op);
}

TColor RecordingGridCanvas::toRGB(TColor c) const
{
    return (c == clNone || c == clDefault) ? clNone : colorToRGB(c, m_palette);
}

std::vector<GridDrawOp> RecordingGridCanvas::opsOfKind(GridDrawOp::Kind kind) const
{
    std::vector<GridDrawOp> out;
    for (const GridDrawOp& op : m_ops)
        if (op.kind == kind)
            out.push_back(op);
    return out;
}

}  // namespace zfw
