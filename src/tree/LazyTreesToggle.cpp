// The window's side of expanding and collapsing: keeping the toggled rows in view and the
// slide animation.

#include "tree/LazyTreesControl.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QShowEvent>
#include <QStyle>
#include <QTimerEvent>

#include <algorithm>

namespace zfw {

// ----- expanding --------------------------------------------------------------------------

bool TBaseLazyTree::AdjustViewAfterToggle(PLazyNode node, bool expanded, std::int64_t heightChange)
{
    if (FStates.intersects({tsExpanding, tsPainting}))
        return false;
    const QPoint before = OffsetXY();
    const std::int64_t client = clientHeight();
    const bool fits = std::int64_t(ownRowHeight(node)) + heightChange <= client;
    bool wholeWindow = true;
    if (!options().PaintOptions.contains(toChildrenAbove)) {
        if (expanded && options().AutoOptions.contains(toAutoScrollOnExpand)) {
            if (fits) {
                ScrollIntoView(GetLastVisible(node, true, false), false, false);
                // Nothing had to move: only the rows from the node down changed.
                wholeWindow = OffsetXY() != before;
            } else {
                SetTopNode(node);
            }
        }
    } else {
        // The children appear above the row: the row keeps its place on the screen. The
        // decisions look at where the row was before the toggle moved it down.
        const QRect r = GetDisplayRect(node, NoColumn, false);
        const std::int64_t topBefore = r.top() - heightChange;
        const bool bottomInside = r.height() > 0 && topBefore + r.height() <= client;
        const bool keepRow = !expanded || !options().AutoOptions.contains(toAutoScrollOnExpand)
                             || (fits && FRangeY > client && heightChange <= topBefore
                                 && bottomInside);
        if (keepRow)
            SetOffsetY(int(FOffsetY - heightChange));
        else if (fits && bottomInside)
            SetTopNode(GetFirstVisible(node, true, false));
        else
            SetBottomNode(node);
    }
    return wholeWindow;
}

void TBaseLazyTree::startToggleAnimation(PLazyNode node, bool expanding, int childrenHeight)
{
    if (!options().AnimationOptions.contains(toAnimatedToggle) || FAnimationDuration <= 0
        || !isVisible() || FUpdateCount > 0 || m_destroyingWidget)
        return;
    // Nothing slides while everything is expanded or collapsed, or while a paint pass runs.
    if (FStates.intersects(expanding ? TLazyTreeStates{tsExpanding, tsPainting}
                                     : TLazyTreeStates{tsCollapsing}))
        return;
    // The slide reveals rows below the toggled one. With children above their parent the new
    // rows appear above it while the view keeps the row in place, which this slide cannot
    // draw: such a tree toggles without animation.
    if (options().PaintOptions.contains(toChildrenAbove))
        return;
    const QRect r = GetDisplayRect(node, NoColumn, false);
    if (r.height() <= 0)
        return;
    m_animationTop = r.top() + r.height();
    // Children taller than the client slide by one client height at most, so that painting a
    // frame never walks more rows than two pages.
    m_animationHeight = std::min(childrenHeight, clientHeight());
    if (m_animationHeight <= 0)
        return;
    m_animationShown = 0;
    m_animationScroll = 0;
    m_animationExpanding = expanding;
    m_animationClock.start();
    DoStateChange({tsInAnimation});
    m_animation.start(15, this);
}

void TBaseLazyTree::DoExpanded(PLazyNode node)
{
    LazyTreeModel::DoExpanded(node);
    QAccessible::State expanded;
    expanded.expanded = true;
    announceStateChange(expanded);
    startToggleAnimation(node, true, int(node->TotalHeight - ownRowHeight(node)));
}

bool TBaseLazyTree::DoCollapsing(PLazyNode node)
{
    const bool allowed = LazyTreeModel::DoCollapsing(node);
    m_collapsingHeight = allowed ? int(node->TotalHeight - ownRowHeight(node)) : 0;
    return allowed;
}

}  // namespace zfw
