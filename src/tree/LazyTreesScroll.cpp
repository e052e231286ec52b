// Ranges, scroll bars and scroll offsets of the tree control. The scroll bars are the scroll
// area's own: Qt's style draws them in every style, so the tree hooks no drawing of its own.

#include "tree/LazyTreesControl.h"
#include "tree/core/LazyTreesGuard.h"

#include <QCursor>
#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QShowEvent>
#include <QStyle>
#include <QTimerEvent>

#include <algorithm>
#include <climits>

namespace zfw {

// ----- ranges and scroll bars -------------------------------------------------------------

int TBaseLazyTree::clientWidth() const { return viewport()->width(); }

int TBaseLazyTree::clientHeight() const { return viewport()->height(); }

int TBaseLazyTree::horizontalBarHeight() const
{
    return style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
}

void TBaseLazyTree::UpdateVerticalRange()
{
    FRangeY = std::int64_t(RootNode()->TotalHeight) + FBottomSpace - RootNode()->NodeHeight;
}

int TBaseLazyTree::GetMaxRightExtend()
{
    const bool showRoot = options().PaintOptions.contains(toShowRoot);
    int top = 0;
    PLazyNode node = GetNodeAt(0, 0, true, top);
    if (!node)
        return FMargin;
    int indent = int(GetNodeLevel(node) + (showRoot ? 1 : 0)) * FIndent;
    int best = 0;
    int bottom = top;
    while (node) {
        if (!node->has(vsInitialized))
            InitNode(node);
        best = std::max(best, indent + DoGetNodeWidth(node, NoColumn)
                                  + DoGetNodeExtraWidth(node, NoColumn));
        bottom += int(GetNodeHeight(node));
        if (bottom > height())
            break;
        PLazyNode next = GetNextVisible(node, true);
        if (next)
            indent += (int(GetNodeLevel(next)) - int(GetNodeLevel(node))) * FIndent;
        node = next;
    }
    return best + FMargin;
}

void TBaseLazyTree::UpdateHorizontalRange()
{
    // With header columns the content is as wide as the columns together.
    FRangeX = FHeader && FHeader->UseColumns() ? FHeader->Columns().TotalWidth()
                                               : GetMaxRightExtend();
}

void TBaseLazyTree::UpdateRanges()
{
    UpdateVerticalRange();
    UpdateHorizontalRange();
}

void TBaseLazyTree::applyBar(Qt::Orientation bar, const TScrollBarSetting& s)
{
    QScrollBar* sb = bar == Qt::Vertical ? verticalScrollBar() : horizontalScrollBar();
    m_settingBars = true;
    sb->setRange(0, s.maximum);
    sb->setPageStep(std::max(s.page, 1));
    sb->setSingleStep(bar == Qt::Vertical ? FScrollBarOptions->VerticalIncrement()
                                          : FScrollBarOptions->HorizontalIncrement());
    sb->setValue(s.position);
    sb->setEnabled(s.enabled);
    m_settingBars = false;
    const Qt::ScrollBarPolicy policy = s.visible ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
    if (bar == Qt::Vertical) {
        if (verticalScrollBarPolicy() != policy) {
            setVerticalScrollBarPolicy(policy);
            DoShowScrollBar(bar, s.visible);
        }
    } else if (horizontalScrollBarPolicy() != policy) {
        setHorizontalScrollBarPolicy(policy);
        DoShowScrollBar(bar, s.visible);
    }
}

void TBaseLazyTree::UpdateVerticalScrollBar(bool doRepaint)
{
    UpdateVerticalRange();
    if (FStates.contains(tsUpdating) || FUpdateCount > 0)
        return;
    const TScrollBarSetting s = computeScrollBar(FScrollBarOptions->hasVertical(),
                                                 FScrollBarOptions->AlwaysVisible(), clientHeight(),
                                                 FRangeY, FOffsetY);
    applyBar(Qt::Vertical, s);
    // The bar's position is the truth after a range change; applying it clamps the offset.
    DoSetOffsetXY({FOffsetX, -s.position}, {suoScrollClientArea});
}

void TBaseLazyTree::UpdateHorizontalScrollBar(bool doRepaint)
{
    UpdateHorizontalRange();
    if (FStates.contains(tsUpdating) || FUpdateCount > 0)
        return;
    updateEffectiveOffsetX();
    const TScrollBarSetting s = computeScrollBar(FScrollBarOptions->hasHorizontal(),
                                                 FScrollBarOptions->AlwaysVisible(), clientWidth(),
                                                 FRangeX, FOffsetX);
    applyBar(Qt::Horizontal, s);
    DoSetOffsetXY({-s.position, FOffsetY}, {suoScrollClientArea});
    // The range may have changed under an unchanged offset.
    updateEffectiveOffsetX();
}

void TBaseLazyTree::UpdateScrollBars(bool doRepaint)
{
    if (m_destroyingWidget || !FScrollBarOptions)
        return;
    UpdateVerticalScrollBar(doRepaint);
    UpdateHorizontalScrollBar(doRepaint);
}

// ----- offsets -----------------------------------------------------------------------------

bool TBaseLazyTree::DoSetOffsetXY(QPoint value, TScrollUpdateOptions options, const QRect* clipRect)
{
    const int x = clampScrollOffset(value.x(), clientWidth(), FRangeX);
    const int y = clampScrollOffset(value.y(), clientHeight(), FRangeY);
    // Right to left a larger offset moves the content left.
    const int deltaX = UseRightToLeftReading() ? FOffsetX - x : x - FOffsetX;
    const int deltaY = y - FOffsetY;
    if (deltaX == 0 && deltaY == 0)
        return false;
    FOffsetX = x;
    FOffsetY = y;
    updateEffectiveOffsetX();
    // A running slide goes on from where its rows are now (the view following a toggle, or the
    // offset held inside the shorter range after a collapse).
    if (m_animation.isActive()) {
        m_animationTop += deltaY;
        if (this->options().AnimationOptions.contains(toAdvancedAnimatedToggle))
            m_animationScroll -= deltaY;
    }
    if (FUpdateCount == 0 && !m_destroyingWidget) {
        // Fixed columns stay put while the rest moves sideways: the view is drawn anew.
        const bool fixedColumns = deltaX != 0 && FHeader && FHeader->UseColumns()
                                  && FHeader->Columns().GetVisibleFixedWidth() > 0;
        if (deltaX != 0 && FHeader)
            FHeader->Invalidate();
        if (fixedColumns)
            viewport()->update();
        else if (options.contains(suoScrollClientArea) && !FStates.contains(tsToggling)) {
            if (clipRect)
                viewport()->scroll(deltaX, deltaY, *clipRect);
            else
                viewport()->scroll(deltaX, deltaY);
        }
        if (options.contains(suoUpdateNCArea)) {
            m_settingBars = true;
            if (deltaX != 0 && !FStates.contains(tsSizing))
                horizontalScrollBar()->setValue(-FOffsetX);
            if (deltaY != 0 && !FStates.contains(tsSizing) && !FStates.contains(tsThumbTracking))
                verticalScrollBar()->setValue(-FOffsetY);
            m_settingBars = false;
        }
    }
    // The row under a resting mouse changed with the scroll: the hot node follows.
    if (!m_destroyingWidget && viewport()->underMouse()) {
        const QPoint mouse = viewport()->mapFromGlobal(QCursor::pos());
        if (viewport()->rect().contains(mouse) && !IsMouseSelecting())
            HandleHotTrack(mouse.x(), mouse.y());
    }
    DoScroll(deltaX, deltaY);
    return true;
}

void TBaseLazyTree::updateEffectiveOffsetX()
{
    if (UseRightToLeftReading())
        FEffectiveOffsetX = int(std::max<std::int64_t>(FRangeX + FOffsetX - clientWidth(), 0));
    else
        FEffectiveOffsetX = -FOffsetX;
}

void TBaseLazyTree::SetOffsetX(int value)
{
    DoSetOffsetXY({value, FOffsetY}, DefaultScrollUpdateFlags);
}

void TBaseLazyTree::SetOffsetY(int value)
{
    DoSetOffsetXY({FOffsetX, value}, DefaultScrollUpdateFlags);
}

void TBaseLazyTree::scrollContentsBy(int dx, int dy)
{
    // The tree scrolls itself in DoSetOffsetXY; the bars' own scrolling is not wanted.
}

void TBaseLazyTree::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    guardedEvent("resizing", [this] {
        DoStateChange({tsSizing});
        ScopeGuard leave([this] { DoStateChange({}, {tsSizing}); });
        headerResized();
        UpdateScrollBars(true);
        if (editColumnCount() == 0)
            UpdateEditBounds();
    });
}

// ----- scroll requests of the bars ----------------------------------------------------------

void TBaseLazyTree::WMScroll(Qt::Orientation bar, int code, int trackPos)
{
    if (code < SB_LINEUP || code > SB_ENDSCROLL)
        return;
    if (bar == Qt::Vertical) {
        switch (code) {
        case SB_LINEUP: SetOffsetY(FOffsetY + FScrollBarOptions->VerticalIncrement()); break;
        case SB_LINEDOWN: SetOffsetY(FOffsetY - FScrollBarOptions->VerticalIncrement()); break;
        case SB_PAGEUP: SetOffsetY(FOffsetY + clientHeight()); break;
        case SB_PAGEDOWN: SetOffsetY(FOffsetY - clientHeight()); break;
        case SB_TOP: SetOffsetY(0); break;
        case SB_BOTTOM:
            SetOffsetY(-int(std::min<std::uint32_t>(RootNode()->TotalHeight, 0x7FFFFFFF)));
            break;
        case SB_THUMBPOSITION:
        case SB_THUMBTRACK:
            DoStateChange({tsThumbTracking});
            SetOffsetY(-trackPos);
            break;
        case SB_ENDSCROLL:
            DoStateChange({}, {tsThumbTracking});
            UpdateScrollBars(true);
            break;
        default: break;
        }
        return;
    }
    // Right to left a line or a page moves the other way (offset 0 shows the right end).
    const int dir = UseRightToLeftReading() ? -1 : 1;
    // Without header columns no column is fixed: a page is the whole client width.
    const int page = clientWidth();
    switch (code) {
    case SB_LINEUP: SetOffsetX(FOffsetX + dir * FScrollBarOptions->HorizontalIncrement()); break;
    case SB_LINEDOWN: SetOffsetX(FOffsetX - dir * FScrollBarOptions->HorizontalIncrement()); break;
    case SB_PAGEUP: SetOffsetX(FOffsetX + dir * page); break;
    case SB_PAGEDOWN: SetOffsetX(FOffsetX - dir * page); break;
    case SB_TOP: SetOffsetX(0); break;
    case SB_BOTTOM: SetOffsetX(-int(std::min<std::int64_t>(FRangeX, 0x7FFFFFFF))); break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        DoStateChange({tsThumbTracking});
        if (UseRightToLeftReading())
            SetOffsetX(
                int(std::clamp<std::int64_t>(clientWidth() + trackPos - FRangeX, INT_MIN, 0)));
        else
            SetOffsetX(-trackPos);
        break;
    case SB_ENDSCROLL:
        DoStateChange({}, {tsThumbTracking});
        UpdateHorizontalScrollBar(false);
        break;
    default: break;
    }
}

}  // namespace zfw
