// The control's event hooks: each Do... fires its On... callback when one is assigned and
// otherwise answers its default. Also the measuring of variable row heights and the boundary
// that keeps an owner's exception out of Qt's event dispatch.

#include "tree/LazyTreesControl.h"
#include "tree/core/LazyTreesGuard.h"

#include <QCoreApplication>
#include <QThread>
#include <QtGlobal>

#include <exception>

namespace zfw {

void TBaseLazyTree::guardedEvent(const char* where, const std::function<void()>& body)
{
    try {
        body();
        return;
    } catch (const std::exception& e) {
        m_lastHandlerError = QString::fromUtf8(e.what());
    } catch (...) {
        m_lastHandlerError = QStringLiteral("unknown exception");
    }
    qWarning("Lazy tree: an event handler failed during %s: %s", where,
             qPrintable(m_lastHandlerError));
    if (m_destroyingWidget)
        return;
    // The interrupted operation left the counters right but may have skipped its window steps.
    // They are redone from the event loop: the failure may have come from inside a paint pass,
    // where the viewport must not scroll.
    QMetaObject::invokeMethod(
        this,
        [this] {
            try {
                InvalidateCache();
                UpdateScrollBars(true);
            } catch (...) {
                // A handler that fails again here changes nothing more; the bars catch up with
                // the next change.
            }
            Invalidate();
        },
        Qt::QueuedConnection);
}

// ----- hooks ------------------------------------------------------------------------------

void TBaseLazyTree::DoShowScrollBar(Qt::Orientation bar, bool show)
{
    if (OnShowScrollBar)
        OnShowScrollBar(*this, bar, show);
}

void TBaseLazyTree::DoScroll(int deltaX, int deltaY)
{
    if (OnScroll)
        OnScroll(*this, deltaX, deltaY);
}

int TBaseLazyTree::DoGetNodeWidth(PLazyNode node, TColumnIndex column) { return 0; }

int TBaseLazyTree::DoGetNodeExtraWidth(PLazyNode node, TColumnIndex column) { return 0; }

void TBaseLazyTree::DoMeasureItem(PLazyNode node, int& nodeHeight)
{
    if (!node->has(vsInitialized))
        InitNode(node);
    if (OnMeasureItem)
        OnMeasureItem(*this, node, nodeHeight);
}

void TBaseLazyTree::DoCollapsed(PLazyNode node)
{
    LazyTreeModel::DoCollapsed(node);
    QAccessible::State collapsedState;
    collapsedState.collapsed = true;
    announceStateChange(collapsedState);
    startToggleAnimation(node, false, m_collapsingHeight);
    m_collapsingHeight = 0;
    if (!options().SelectionOptions.contains(toAlwaysSelectNode))
        return;
    PLazyNode selected = GetFirstSelected();
    if (selected && !GetFullyVisible(selected)) {
        SetSelected(selected, false);
        if (PLazyNode shown = GetVisibleParent(selected))
            SetSelected(shown, true);
    }
    if (SelectedCount() == 0)
        EnsureNodeSelected();
}

// ----- row heights ------------------------------------------------------------------------

std::uint32_t TBaseLazyTree::MeasureNodeHeight(PLazyNode node) { return GetNodeHeight(node); }

std::uint32_t TBaseLazyTree::GetNodeHeight(PLazyNode node)
{
    if (!node)
        return 0;
    if (node != RootNode() && !node->has(vsDeleting)
        && options().MiscOptions.contains(toVariableNodeHeight))
        MeasureItemHeight(node);
    return node->NodeHeight;
}

void TBaseLazyTree::MeasureItemHeight(PLazyNode node)
{
    if (!node || node == RootNode() || node->has(vsHeightMeasured))
        return;
    // The owner's handler belongs to the main thread; a node met elsewhere keeps its height
    // until the main thread measures it.
    if (auto* app = QCoreApplication::instance(); app && QThread::currentThread() != app->thread())
        return;
    node->States.include(vsHeightMeasured);
    if (!options().MiscOptions.contains(toVariableNodeHeight))
        return;
    int height = node->NodeHeight;
    DoMeasureItem(node, height);
    // A negative answer would wrap to a 64 K pixel row; the row is empty instead.
    const std::uint32_t newHeight = std::uint32_t(std::clamp(height, 0, 0xFFFF));
    if (newHeight == node->NodeHeight)
        return;
    if (FStates.contains(tsPainting)) {
        ++FUpdateCount;
        ScopeGuard lower([this] { --FUpdateCount; });
        SetNodeHeight(node, newHeight);
        m_heightsChangedInPaint = true;
    } else {
        SetNodeHeight(node, newHeight);
    }
}

// ----- input hooks ------------------------------------------------------------------------

void TBaseLazyTree::DoTimer(int id)
{
    switch (id) {
    case EditTimer:
        StopTimer(EditTimer);
        if (FStates.contains(tsEditPending)) {
            DoStateChange({}, {tsEditPending});
            DoEdit();
        }
        break;
    case ScrollTimer:
        // The first firing ends the auto-scroll delay; from then on it fires every interval.
        if (FStates.contains(tsScrollPending)) {
            startTimerById(ScrollTimer, FAutoScrollInterval);
            DoStateChange({tsScrolling}, {tsScrollPending});
        }
        DoTimerScroll();
        break;
    case ExpandTimer: DoDragExpand(); break;
    case SearchTimer:
        StopTimer(SearchTimer);
        DoStateChange({}, {tsIncrementalSearching});
        FSearchBuffer.clear();
        FLastSearchNode = nullptr;
        break;
    case HeaderTimer: FHeader->HeaderHoverTimer(); break;
    case ThemeChangedTimer:
        // Qt restyles the window itself; a repaint takes the new look.
        StopTimer(ThemeChangedTimer);
        Invalidate();
        break;
    default:
        // An id nobody starts: nothing to do but stop it.
        StopTimer(id);
        break;
    }
}

void TBaseLazyTree::DoHotChange(PLazyNode oldNode, PLazyNode newNode)
{
    if (OnHotChange)
        OnHotChange(*this, oldNode, newNode);
}

void TBaseLazyTree::DoNodeClick(const THitInfo& hitInfo)
{
    if (OnNodeClick)
        OnNodeClick(*this, hitInfo);
}

void TBaseLazyTree::DoNodeDblClick(const THitInfo& hitInfo)
{
    if (OnNodeDblClick)
        OnNodeDblClick(*this, hitInfo);
}

void TBaseLazyTree::DoColumnClick(TColumnIndex column, Qt::KeyboardModifiers shift)
{
    if (OnColumnClick)
        OnColumnClick(*this, column, shift);
}

void TBaseLazyTree::DoColumnDblClick(TColumnIndex column, Qt::KeyboardModifiers shift)
{
    if (OnColumnDblClick)
        OnColumnDblClick(*this, column, shift);
}

void TBaseLazyTree::DoGetCursor(Qt::CursorShape& cursor)
{
    if (OnGetCursor)
        OnGetCursor(*this, cursor);
}

bool TBaseLazyTree::DoNodeHeightTracking(PLazyNode node, TColumnIndex column,
                                         Qt::KeyboardModifiers shift, QPoint& trackPoint, QPoint p)
{
    bool allowed = true;
    if (OnNodeHeightTracking)
        OnNodeHeightTracking(*this, node, column, shift, trackPoint, p, allowed);
    return allowed;
}

bool TBaseLazyTree::DoNodeHeightDblClickResize(PLazyNode node, TColumnIndex column,
                                               Qt::KeyboardModifiers shift, QPoint p)
{
    bool allowed = true;
    if (OnNodeHeightDblClickResize)
        OnNodeHeightDblClickResize(*this, node, column, shift, p, allowed);
    return allowed;
}

void TBaseLazyTree::DoMouseEnter()
{
    if (OnMouseEnter)
        OnMouseEnter(*this);
}

void TBaseLazyTree::DoMouseLeave()
{
    if (OnMouseLeave)
        OnMouseLeave(*this);
}

}  // namespace zfw
