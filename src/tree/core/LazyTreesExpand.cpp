// Node properties that change counters: visibility, filtering, row height, expansion.
// Every step keeps the subtree counters and the visible count exact.

#include "tree/core/LazyTrees.h"
#include "tree/core/LazyTreesGuard.h"

#include <algorithm>
#include <cstring>
#include <exception>

namespace zfw {

// ----- node properties that move counters ---------------------------------------------------

void LazyTreeModel::SetVisible(PLazyNode node, bool visible)
{
    if (!node || node == FRoot || node->has(vsVisible) == visible)
        return;
    InterruptValidation();
    PLazyNode parent = node->Parent;
    const bool parentShows = parent->has(vsExpanded) && GetFullyVisible(parent);
    const std::uint32_t rows = CountVisibleChildren(node)
                               + (GetEffectivelyFiltered(node) ? 0u : 1u);
    if (visible) {
        node->States.include(vsVisible);
        if (parent->has(vsExpanded))
            AdjustTotalHeight(parent, node->TotalHeight, true);
        if (parentShows)
            FVisibleCount += rows;
    } else {
        if (parent->has(vsExpanded))
            AdjustTotalHeight(parent, -std::int64_t(node->TotalHeight), true);
        node->States.exclude(vsVisible);
        if (parentShows)
            FVisibleCount -= rows;
    }
    if (parent != FRoot) {
        if (FUpdateCount > 0)
            DoStateChange({tsUpdateHiddenChildrenNeeded});
        else
            DetermineAllChildrenHidden(parent);
    }
    InvalidateCache();
    if (FUpdateCount == 0) {
        ScheduleCacheValidation();
        UpdateScrollBars(true);
        Invalidate();
    }
}

void LazyTreeModel::SetFiltered(PLazyNode node, bool filtered)
{
    if (!node || node == FRoot || node->has(vsFiltered) == filtered)
        return;
    InterruptValidation();
    const bool showFiltered = m_options.PaintOptions.contains(toShowFilteredNodes);
    const bool fully = GetFullyVisible(node);
    if (filtered)
        node->States.include(vsFiltered);
    else
        node->States.exclude(vsFiltered);
    if (!showFiltered) {
        AdjustTotalHeight(node, filtered ? -std::int64_t(node->NodeHeight) : node->NodeHeight,
                          true);
        if (fully) {
            if (filtered)
                --FVisibleCount;
            else
                ++FVisibleCount;
        }
        if (node->Parent != FRoot) {
            if (FUpdateCount > 0)
                DoStateChange({tsUpdateHiddenChildrenNeeded});
            else
                DetermineAllChildrenHidden(node->Parent);
        }
    }
    InvalidateCache();
    if (FUpdateCount == 0) {
        ScheduleCacheValidation();
        UpdateScrollBars(true);
        Invalidate();
    }
}

void LazyTreeModel::SetNodeHeight(PLazyNode node, std::uint32_t height)
{
    if (!node || node == FRoot)
        return;
    height = std::min<std::uint32_t>(height, 0xFFFF);
    if (height == node->NodeHeight)
        return;
    InterruptValidation();
    const std::int64_t delta = std::int64_t(height) - node->NodeHeight;
    node->NodeHeight = static_cast<std::uint16_t>(height);
    if (!GetEffectivelyFiltered(node))
        AdjustTotalHeight(node, delta, true);
    InvalidateCache();
    if (FUpdateCount == 0) {
        ScheduleCacheValidation();
        UpdateScrollBars(true);
        InvalidateToBottom(node);
        // Any row's height moves or sizes the rows below it, the edited one among them.
        UpdateEditBounds();
    }
}

void LazyTreeModel::SetHasChildren(PLazyNode node, bool value)
{
    if (!node || node == FRoot)
        return;
    if (value) {
        node->States.include(vsHasChildren);
        node->States.exclude(vsAllChildrenHidden);
    } else if (node->ChildCount > 0) {
        DeleteChildren(node, true);
    } else {
        node->States.exclude(vsHasChildren);
    }
    InvalidateNode(node);
}

void LazyTreeModel::SetExpanded(PLazyNode node, bool expanded)
{
    if (node && node != FRoot && node->has(vsExpanded) != expanded)
        ToggleNode(node);
}

void LazyTreeModel::collapseCore(PLazyNode node)
{
    AdjustTotalHeight(node, ownRowHeight(node), false);
    if (GetFullyVisible(node))
        FVisibleCount -= CountVisibleChildren(node);
    node->States.exclude(vsExpanded);
    DoCollapsed(node);
    if (m_options.AutoOptions.contains(toAutoFreeOnCollapse) && node->ChildCount > 0) {
        DeleteChildren(node, false);
        node->States.include(vsHasChildren);
    }
}

void LazyTreeModel::expandCore(PLazyNode node)
{
    if (!node->has(vsInitialized))
        InitNode(node);
    if (node->has(vsHasChildren) && node->ChildCount == 0)
        InitChildren(node);
    if (node->ChildCount == 0)
        return;
    {
        // Only the rows that appear now are measured; deeper ones when they are first needed.
        // The scroll bars and the cache follow once, after the toggle.
        // A private raise of the update count that never reaches the update events.
        ++FUpdateCount;
        ScopeGuard quiet([this] { --FUpdateCount; });
        for (PLazyNode c = node->FirstChild; c; c = c->NextSibling) {
            if (c->has(vsVisible))
                MeasureNodeHeight(c);
        }
    }
    std::int64_t delta = 0;
    for (PLazyNode c = node->FirstChild; c; c = c->NextSibling) {
        if (c->has(vsVisible))
            delta += c->TotalHeight;
    }
    if (FUpdateCount == 0 && autoSortApplies())
        Sort(node, SortColumn(), SortDirection(), false);
    node->States.include(vsExpanded);
    AdjustTotalHeight(node, delta, true);
    if (GetFullyVisible(node))
        FVisibleCount += CountVisibleChildren(node);
    DoExpanded(node);
}

void LazyTreeModel::ToggleNode(PLazyNode node)
{
    if (!node)
        lazyTreeAssert("Node must not be nil.");
    if (node == FRoot || node->has(vsDeleting) || node->has(vsToggling))
        return;
    const bool wasToggling = FStates.contains(tsToggling);
    DoStateChange({tsToggling});
    node->States.include(vsToggling);
    ScopeGuard toggled([&] {
        node->States.exclude(vsToggling);
        if (!wasToggling)
            DoStateChange({}, {tsToggling});
    });

    InterruptValidation();
    const std::int64_t heightBefore = node->TotalHeight;
    bool changed = false;
    if (node->has(vsExpanded)) {
        if (DoCollapsing(node)) {
            collapseCore(node);
            changed = true;
        }
    } else if (DoExpanding(node)) {
        expandCore(node);
        changed = true;
    }
    if (!changed)
        return;
    InvalidateCache();
    if (FUpdateCount > 0) {
        UpdateVerticalRange();
    } else {
        ScheduleCacheValidation();
        if (node->ChildCount == 0) {
            InvalidateNode(node);
        } else {
            UpdateScrollBars(true);
            if (AdjustViewAfterToggle(node, node->has(vsExpanded),
                                      std::int64_t(node->TotalHeight) - heightBefore))
                Invalidate();
            else
                InvalidateToBottom(node);
        }
    }
}

void LazyTreeModel::FullExpand(PLazyNode node)
{
    if (node == FRoot)
        node = nullptr;
    if (FRoot->TotalCount < 2)
        return;
    DoStateChange({tsExpanding});
    // Closed in this order: the operation, the bracket, the state. Each counts as open before
    // its event fires, so that a raising handler still gets its closing call.
    ScopeGuard leave([&] { DoStateChange({}, {tsExpanding}); });
    bool updateStarted = false;
    ScopeGuard closeUpdate([&] {
        if (updateStarted)
            EndUpdate();
    });
    bool operationStarted = false;
    ScopeGuard closeOperation([&] {
        if (operationStarted)
            EndOperation(okExpand);
    });
    operationStarted = true;
    BeginOperation(okExpand);
    updateStarted = true;
    BeginUpdate();
    // Leaves are toggled too: their OnExpanding fires and they stay collapsed.
    PLazyNode stop = node ? nextAfterSubtree(node) : nullptr;
    for (PLazyNode run = node ? node : GetFirst(); run && run != stop && !OperationCanceled();
         run = GetNext(run)) {
        if (!run->has(vsExpanded))
            ToggleNode(run);
    }
}

void LazyTreeModel::FullCollapse(PLazyNode node)
{
    if (node == FRoot)
        node = nullptr;
    if (FRoot->TotalCount < 2)
        return;
    DoStateChange({tsCollapsing});
    ScopeGuard leave([&] { DoStateChange({}, {tsCollapsing}); });
    bool updateStarted = false;
    ScopeGuard closeUpdate([&] {
        if (updateStarted)
            EndUpdate();
    });
    updateStarted = true;
    BeginUpdate();
    // From the last shown row of the subtree backwards, so that children collapse before
    // their parents; the node itself comes last.
    for (PLazyNode run = GetLastVisibleNoInit(node, true, false); run && run != node;
         run = GetPreviousNoInit(run, true)) {
        if (run->has(vsExpanded) && run->has(vsHasChildren))
            ToggleNode(run);
    }
    if (node && node->has(vsExpanded) && node->has(vsHasChildren))
        ToggleNode(node);
}

}  // namespace zfw
