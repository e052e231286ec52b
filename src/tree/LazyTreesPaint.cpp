// The paint pass of the tree control.

#include "tree/LazyTreesControl.h"
#include "tree/core/LazyTreesGuard.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPaintEvent>
#include <QScrollBar>
#include <QStyle>
#include <QShowEvent>
#include <QTimerEvent>

#include <algorithm>

namespace zfw {

// ----- painting -----------------------------------------------------------------------------

void TBaseLazyTree::paintEvent(QPaintEvent* event)
{
    guardedEvent("painting", [&] {
        DoStateChange({tsPainting});
        ScopeGuard leave([this] { DoStateChange({}, {tsPainting}); });
        paintRows(event);
    });
    // Heights measured during the pass moved the rows below; the bars and the picture follow
    // once the pass is over.
    if (m_heightsChangedInPaint) {
        m_heightsChangedInPaint = false;
        QMetaObject::invokeMethod(
            this,
            [this] {
                guardedEvent("measuring rows", [this] {
                    InvalidateCache();
                    ScheduleCacheValidation();
                    UpdateScrollBars(true);
                    Invalidate();
                });
            },
            Qt::QueuedConnection);
    }
}

void TBaseLazyTree::paintRows(QPaintEvent* event)
{
    QPainter p(viewport());
    const QRect clip = event->rect();
    p.fillRect(clip, palette().color(QPalette::Base));
    if (IsEmpty()) {
        if (!FEmptyListMessage.isEmpty())
            p.drawText(viewport()->rect().adjusted(FMargin, 0, -FMargin, 0),
                       (UseRightToLeftReading() ? Qt::AlignRight : Qt::AlignLeft)
                           | Qt::AlignTop | Qt::AlignAbsolute,
                       FEmptyListMessage);
        return;
    }
    const bool showRoot = options().PaintOptions.contains(toShowRoot);
    const bool rtl = UseRightToLeftReading();
    const int rowLeft = -FEffectiveOffsetX;
    const int rowWidth = int(std::max<std::int64_t>(clientWidth(), FRangeX));
    // While a toggle animates, the rows below the toggled node are drawn shifted towards where
    // they were before: down by the part of the collapsed children not yet closed, or up by the
    // part of the new children not yet opened.
    const bool animating = m_animation.isActive();
    const int remaining = animating ? m_animationHeight - m_animationShown : 0;
    const int shift = m_animationExpanding ? -remaining : remaining;
    // The part of a following scroll not yet slid (advanced form): every row is drawn moved by
    // it, the rows above the toggled one included.
    const int extra = animating && m_animationHeight > 0
                          ? int(std::int64_t(m_animationScroll) * remaining / m_animationHeight)
                          : 0;
    const int boundary = m_animationTop + extra;
    int top = 0;
    PLazyNode node =
        GetNodeAt(0, animating ? std::min(0, -extra) : std::max(clip.top(), 0), true, top);
    p.setPen(palette().color(QPalette::Text));
    // The tree's alignment, mirrored right to left.
    Qt::Alignment horizontal = Qt::AlignHCenter;
    if (FAlignment != taCenter)
        horizontal = (FAlignment == taLeftJustify) != rtl ? Qt::AlignLeft : Qt::AlignRight;
    while (node && top < clip.bottom() + 1 + (animating ? remaining + std::max(0, -extra) : 0)) {
        if (!node->has(vsInitialized))
            InitNode(node);
        const int h = int(MeasureNodeHeight(node));
        int y = top + extra;
        if (animating && top >= m_animationTop)
            y += shift;
        if (!animating || top < m_animationTop || y >= boundary) {
            // The same text start as GetDisplayRect: one indent per level, one more for the
            // root's buttons, from the reading edge. The rectangles are physical already, so the
            // alignment is absolute (Qt would mirror it once more for a right-to-left widget).
            const int level = int(GetNodeLevel(node)) + (showRoot ? 1 : 0);
            const int offset = FMargin + level * FIndent;
            p.drawText(QRect(rtl ? rowLeft : rowLeft + offset, y, rowWidth - offset, h),
                       horizontal | Qt::AlignVCenter | Qt::AlignAbsolute, DoGetText(node));
        }
        top += h;
        node = GetNextVisible(node, true);
    }
}

}  // namespace zfw
