// Structure editing: adding, inserting, deleting, moving and copying nodes, and the node
// properties that change counters (visibility, filtering, expansion, row height). Every step
// keeps the subtree counters and the visible count exact.

#include "tree/LazyTrees.h"

#include <algorithm>
#include <cstring>
#include <exception>

namespace zfw {

namespace {

// Runs BeginUpdate now and EndUpdate on every exit.
class UpdateBracket {
public:
    explicit UpdateBracket(LazyTreeModel& t) : m_tree(t) { m_tree.BeginUpdate(); }
    ~UpdateBracket() noexcept(false)
    {
        // An exception already in flight wins; the bracket is still closed.
        if (std::uncaught_exceptions() > m_uncaught) {
            try {
                m_tree.EndUpdate();
            } catch (...) {
            }
        } else {
            m_tree.EndUpdate();
        }
    }

private:
    LazyTreeModel& m_tree;
    int m_uncaught = std::uncaught_exceptions();
};

// A private raise of the update count that never reaches the update events.
struct PrivateUpdate {
    int& count;
    explicit PrivateUpdate(int& c) : count(c) { ++count; }
    ~PrivateUpdate() { --count; }
};

}  // namespace

// ----- selection and focus ----------------------------------------------------------------

void LazyTreeModel::InternalAddToSelection(PLazyNode node)
{
    if (node->has(vsSelected))
        return;
    node->States.include(vsSelected);
    FSelection.resize(FSelectionCount);
    FSelection.push_back(node);
    ++FSelectionCount;
    FLastSelected = node;
}

void LazyTreeModel::InternalRemoveFromSelection(PLazyNode node)
{
    if (!node->has(vsSelected))
        return;
    node->States.exclude(vsSelected);
    const auto end = FSelection.begin() + FSelectionCount;
    const auto it = std::find(FSelection.begin(), end, node);
    if (it != end) {
        FSelection.erase(it);
        --FSelectionCount;
    }
    if (FLastSelected == node)
        FLastSelected = nullptr;
}

void LazyTreeModel::PackSelection()
{
    FSelection.resize(FSelectionCount);
}

void LazyTreeModel::SetSelected(PLazyNode node, bool value)
{
    if (!node || node == FRoot || node->has(vsSelected) == value)
        return;
    if (value)
        InternalAddToSelection(node);
    else
        InternalRemoveFromSelection(node);
    InvalidateNode(node);
    Change(node);
}

void LazyTreeModel::ClearSelection()
{
    if (FSelectionCount == 0)
        return;
    for (std::uint32_t i = 0; i < FSelectionCount; ++i)
        FSelection[i]->States.exclude(vsSelected);
    FSelection.clear();
    FSelectionCount = 0;
    FLastSelected = nullptr;
    Invalidate();
    Change(nullptr);
}

void LazyTreeModel::SetFocusedNode(PLazyNode node)
{
    if (node == FRoot)
        node = nullptr;
    if (node == FFocusedNode)
        return;
    FFocusedNode = node;
    DoFocusChanged(node, focusedColumnIndex());
}

// ----- node properties that move counters ---------------------------------------------------

void LazyTreeModel::SetVisible(PLazyNode node, bool visible)
{
    if (!node || node == FRoot || node->has(vsVisible) == visible)
        return;
    InterruptValidation();
    PLazyNode parent = node->Parent;
    const bool parentShows = parent->has(vsExpanded) && GetFullyVisible(parent);
    const std::uint32_t rows =
        CountVisibleChildren(node) + (GetEffectivelyFiltered(node) ? 0u : 1u);
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
        PrivateUpdate quiet(FUpdateCount);
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
    struct Guard {
        LazyTreeModel* t;
        PLazyNode n;
        bool was;
        ~Guard()
        {
            n->States.exclude(vsToggling);
            if (!was)
                t->DoStateChange({}, {tsToggling});
        }
    } guard{this, node, wasToggling};

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

// Closes what FullExpand and FullCollapse opened, in this order, also when one of the steps
// raises: the first exception is passed on once every step has run, unless the caller is
// already handling one (which then wins).
namespace {
void runAll(bool passOn, std::initializer_list<std::function<void()>> steps)
{
    std::exception_ptr first;
    for (const auto& step : steps) {
        try {
            step();
        } catch (...) {
            if (!first)
                first = std::current_exception();
        }
    }
    if (first && passOn)
        std::rethrow_exception(first);
}
}  // namespace

void LazyTreeModel::FullExpand(PLazyNode node)
{
    if (node == FRoot)
        node = nullptr;
    if (FRoot->TotalCount < 2)
        return;
    DoStateChange({tsExpanding});
    bool operationStarted = false;
    bool updateStarted = false;
    const auto close = [&](bool passOn) {
        runAll(passOn, {[&] {
                    if (operationStarted)
                        EndOperation(okExpand);
                },
                [&] {
                    if (updateStarted)
                        EndUpdate();
                },
                [&] { DoStateChange({}, {tsExpanding}); }});
    };
    try {
        // Counted as started before their events fire, so that a raising handler still gets
        // its closing call.
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
    } catch (...) {
        close(false);
        throw;
    }
    close(true);
}

void LazyTreeModel::FullCollapse(PLazyNode node)
{
    if (node == FRoot)
        node = nullptr;
    if (FRoot->TotalCount < 2)
        return;
    DoStateChange({tsCollapsing});
    bool updateStarted = false;
    const auto close = [&](bool passOn) {
        runAll(passOn, {[&] {
                    if (updateStarted)
                        EndUpdate();
                },
                [&] { DoStateChange({}, {tsCollapsing}); }});
    };
    try {
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
    } catch (...) {
        close(false);
        throw;
    }
    close(true);
}

// ----- linking ----------------------------------------------------------------------------

bool LazyTreeModel::autoSortApplies() const
{
    return m_options.AutoOptions.contains(toAutoSort) && SortColumn() > InvalidColumn;
}

void LazyTreeModel::InternalConnectNode(PLazyNode node, PLazyNode destination,
                                        TLTNodeAttachMode mode, LazyTreeModel& target)
{
    switch (mode) {
    case amInsertBefore:
        node->PrevSibling = destination->PrevSibling;
        node->NextSibling = destination;
        node->Parent = destination->Parent;
        node->Index = destination->Index;
        if (node->PrevSibling)
            node->PrevSibling->NextSibling = node;
        else
            node->Parent->FirstChild = node;
        destination->PrevSibling = node;
        for (PLazyNode run = destination; run; run = run->NextSibling)
            ++run->Index;
        break;
    case amInsertAfter:
        node->PrevSibling = destination;
        node->NextSibling = destination->NextSibling;
        node->Parent = destination->Parent;
        destination->NextSibling = node;
        if (node->NextSibling)
            node->NextSibling->PrevSibling = node;
        else
            node->Parent->LastChild = node;
        node->Index = destination->Index;
        for (PLazyNode run = node; run; run = run->NextSibling)
            ++run->Index;
        break;
    case amAddChildFirst:
        node->Parent = destination;
        node->PrevSibling = nullptr;
        node->NextSibling = destination->FirstChild;
        node->Index = 0;
        if (destination->FirstChild)
            destination->FirstChild->PrevSibling = node;
        else
            destination->LastChild = node;
        destination->FirstChild = node;
        for (PLazyNode run = node->NextSibling; run; run = run->NextSibling)
            ++run->Index;
        break;
    case amAddChildLast:
        node->Parent = destination;
        node->NextSibling = nullptr;
        node->PrevSibling = destination->LastChild;
        node->Index = destination->LastChild ? destination->LastChild->Index + 1 : 0;
        if (destination->LastChild)
            destination->LastChild->NextSibling = node;
        else
            destination->FirstChild = node;
        destination->LastChild = node;
        break;
    case amNoWhere:
        break;
    }
    node->States.exclude(TLazyNodeStates{vsChecking, vsCutOrCopy, vsDeleting});
    if (mode == amNoWhere)
        return;

    PLazyNode parent = node->Parent;
    ++parent->ChildCount;
    parent->States.include(vsHasChildren);
    target.AdjustTotalCount(parent, node->TotalCount, true);
    if (parent->has(vsExpanded) && node->has(vsVisible)) {
        target.AdjustTotalHeight(parent, node->TotalHeight, true);
        // Only rows that are really shown count: below a collapsed or hidden ancestor the new
        // node adds nothing to the visible count (counting it there made the count drift).
        if (target.GetFullyVisible(parent))
            target.FVisibleCount += target.CountVisibleChildren(node)
                                    + (target.GetEffectivelyFiltered(node) ? 0u : 1u);
    }
    if (parent != target.FRoot) {
        if (target.GetEffectivelyVisible(node))
            parent->States.exclude(vsAllChildrenHidden);
        else if (parent->ChildCount == 1)
            parent->States.include(vsAllChildrenHidden);
    }
}

void LazyTreeModel::InternalDisconnectNode(PLazyNode node, bool keepFocus, bool reindex,
                                           bool parentClearing)
{
    if (!node || node == FRoot)
        lazyTreeAssert("Node must neither be nil nor the root node.");
    if (node == FFocusedNode && !keepFocus) {
        FFocusedNode = nullptr;
        DoFocusChanged(nullptr, focusedColumnIndex());
    }
    if (node == FRangeAnchor)
        FRangeAnchor = FFocusedNode;
    if (node->has(vsDeleting))
        return;

    PLazyNode parent = node->Parent;
    const bool parentWasExpanded = parent->has(vsExpanded);
    const bool wasFullyVisible = GetFullyVisible(node);
    node->States.exclude(vsChecking);
    --parent->ChildCount;
    if (parent->ChildCount == 0) {
        parent->States.exclude(TLazyNodeStates{vsAllChildrenHidden, vsHasChildren});
        if (parent != FRoot)
            parent->States.exclude(vsExpanded);
    }
    AdjustTotalCount(parent, -std::int64_t(node->TotalCount), true);
    if (parentWasExpanded && node->has(vsVisible))
        AdjustTotalHeight(parent, -std::int64_t(node->TotalHeight), true);
    if (wasFullyVisible)
        FVisibleCount -= CountVisibleChildren(node) + (GetEffectivelyFiltered(node) ? 0u : 1u);

    if (node->PrevSibling)
        node->PrevSibling->NextSibling = node->NextSibling;
    else
        parent->FirstChild = node->NextSibling;
    if (node->NextSibling) {
        node->NextSibling->PrevSibling = node->PrevSibling;
        if (reindex) {
            std::uint32_t index = node->Index;
            for (PLazyNode run = node->NextSibling; run; run = run->NextSibling)
                run->Index = index++;
        }
    } else {
        parent->LastChild = node->PrevSibling;
    }

    // The flag is recomputed once the node is gone; computed before, it still saw the node
    // (a parent whose last shown child moved away kept claiming a shown child).
    if (!parentClearing && parent != FRoot && parent->ChildCount > 0) {
        if (FUpdateCount > 0)
            DoStateChange({tsUpdateHiddenChildrenNeeded});
        else
            DetermineAllChildrenHidden(parent);
    }
}

// ----- adding -----------------------------------------------------------------------------

PLazyNode LazyTreeModel::AddChild(PLazyNode parent, void* userData)
{
    if (m_options.MiscOptions.contains(toReadOnly))
        return nullptr;
    CancelEditNode();
    if (!parent)
        parent = FRoot;
    if (parent != FRoot && !parent->has(vsInitialized))
        InitNode(parent);
    {
        PrivateUpdate update(FUpdateCount);
        SetChildCount(parent, parent->ChildCount + 1);
        parent->States.exclude(vsAllChildrenHidden);
    }
    PLazyNode result = parent->LastChild;
    if (userData)
        SetNodeData(result, userData);
    InvalidateCache();
    if (FUpdateCount == 0) {
        ScheduleCacheValidation();
        if (FStates.contains(tsStructureChangePending))
            StructureChange(parent == FRoot ? nullptr : parent, crChildAdded);
        if (autoSortApplies())
            Sort(parent, SortColumn(), SortDirection(), true);
        InvalidateToBottom(parent);
        UpdateScrollBars(true);
    }
    return result;
}

PLazyNode LazyTreeModel::InsertNode(PLazyNode node, TLTNodeAttachMode mode, void* userData)
{
    if (mode == amNoWhere)
        return nullptr;
    // A read-only tree refuses every structural change; inserting used to slip through.
    if (m_options.MiscOptions.contains(toReadOnly))
        return nullptr;
    CancelEditNode();
    if (!node || node == FRoot) {
        node = FRoot;
        if (mode == amInsertBefore)
            mode = amAddChildFirst;
        else if (mode == amInsertAfter)
            mode = amAddChildLast;
    }
    // Refused before anything changes.
    if (userData && FNodeDataSize >= 0 && FNodeDataSize < int(sizeof(void*)))
        lazyTreeAssert("TBaseLazyTree: Cannot set initial user data because there is not enough "
                       "user data space allocated.");
    PLazyNode result = MakeNewNode();
    if ((mode == amAddChildFirst || mode == amAddChildLast) && node != FRoot
        && !node->has(vsInitialized)) {
        try {
            InitNode(node);
        } catch (...) {
            FreeNodeBlock(result);
            throw;
        }
    }
    InterruptValidation();
    InternalConnectNode(result, node, mode, *this);
    if (userData)
        SetNodeData(result, userData);
    InvalidateCache();
    if (FUpdateCount == 0) {
        if (autoSortApplies())
            Sort(mode == amInsertBefore || mode == amInsertAfter ? node->Parent : node,
                 SortColumn(), SortDirection(), true);
        ScheduleCacheValidation();
        UpdateScrollBars(true);
        InvalidateToBottom(mode == amInsertBefore ? result : node);
    }
    StructureChange(result, crNodeAdded);
    return result;
}

void LazyTreeModel::SetRootNodeCount(std::uint32_t count)
{
    UpdateBracket bracket(*this);
    SetChildCount(FRoot, count);
}

void LazyTreeModel::SetChildCount(PLazyNode node, std::uint32_t newChildCount)
{
    if (m_options.MiscOptions.contains(toReadOnly))
        return;
    if (!node)
        node = FRoot;
    if (newChildCount == 0) {
        DeleteChildren(node, false);
        return;
    }
    if (newChildCount == node->ChildCount)
        return;
    InterruptValidation();
    if (newChildCount > node->ChildCount) {
        const std::uint32_t added = newChildCount - node->ChildCount;
        std::uint32_t index = node->LastChild ? node->LastChild->Index + 1 : 0;
        if (node->ChildCount == 0)
            node->States.include(vsHasChildren);
        node->States.exclude(TLazyNodeStates{vsAllChildrenHidden, vsHeightMeasured});
        const bool shown = node->has(vsExpanded) && GetFullyVisible(node);
        std::uint64_t addedHeight = 0;
        for (std::uint32_t i = 0; i < added; ++i) {
            PLazyNode child = MakeNewNode();
            child->Index = index++;
            child->Parent = node;
            child->PrevSibling = node->LastChild;
            if (node->LastChild)
                node->LastChild->NextSibling = child;
            else
                node->FirstChild = child;
            node->LastChild = child;
            addedHeight += child->TotalHeight;
        }
        if (shown)
            FVisibleCount += added;
        if (node->has(vsExpanded))
            AdjustTotalHeight(node, std::int64_t(node->TotalHeight + addedHeight), false);
        AdjustTotalCount(node, added, true);
        node->ChildCount = newChildCount;
        if (FUpdateCount == 0 && autoSortApplies())
            Sort(node, SortColumn(), SortDirection(), true);
        InvalidateCache();
    } else {
        while (node->ChildCount > newChildCount && node->LastChild)
            DeleteNode(node->LastChild);
    }
    if (FUpdateCount == 0) {
        ScheduleCacheValidation();
        UpdateScrollBars(true);
        Invalidate();
    }
    StructureChange(node == FRoot ? nullptr : node, crChildAdded);
}

// ----- deleting ---------------------------------------------------------------------------

void LazyTreeModel::InternalDeleteNode(PLazyNode node, bool reindex, bool parentClearing)
{
    if (!node || node == FRoot || m_options.MiscOptions.contains(toReadOnly))
        return;
    if (FStates.contains(tsIterating))
        lazyTreeAssert("Deleting nodes during tree iteration leads to invalid pointers.");
    PLazyNode parent = node->Parent;

    if (node->has(vsSelected)) {
        if (FUpdateCount > 0) {
            InternalRemoveFromSelection(node);
        } else {
            const bool wasSynch = FStates.contains(tsSynchMode);
            DoStateChange({tsSynchMode});
            // Left again even when the change handler throws: a synch mode left behind would
            // stop every later notice from being delayed.
            struct Synch {
                LazyTreeModel* t;
                bool was;
                ~Synch()
                {
                    if (!was)
                        t->FStates.exclude(tsSynchMode);
                }
            };
            {
                Synch synch{this, wasSynch};
                InternalRemoveFromSelection(node);
                Change(node);
                if (!wasSynch)
                    DoStateChange({}, {tsSynchMode});
            }
            InvalidateToBottom(parent);
        }
    } else {
        InvalidateToBottom(parent);
    }
    if (FStates.contains(tsHint))
        DoStateChange({}, {tsHint});
    if (!parentClearing)
        InterruptValidation();

    // A free handler that throws does not stop the deletion half way (counters that no longer
    // match the links, blocks that are neither linked nor freed): the deletion is finished and
    // the first failure is raised at the end.
    std::exception_ptr failure;
    try {
        deleteChildren(node, false, false);
    } catch (...) {
        failure = std::current_exception();
    }
    // Deleting the children ends by handing the tree to the worker again; unlinking and freeing
    // the node under its walk was a use after free.
    if (!parentClearing)
        InterruptValidation();
    InternalDisconnectNode(node, false, reindex, false);
    try {
        DoFreeNode(node);
    } catch (...) {
        if (!failure)
            failure = std::current_exception();
    }
    if (parentClearing) {
        if (failure)
            std::rethrow_exception(failure);
        return;
    }
    if (parent != FRoot && parent->ChildCount > 0)
        DetermineAllChildrenHidden(parent);
    InvalidateCache();
    if (FUpdateCount == 0) {
        ScheduleCacheValidation();
        UpdateScrollBars(true);
    }
    // One notice, once the node and its subtree are freed. It used to come before anything was
    // removed (a handler told of the deletion still found the node in the tree), followed by a
    // second one naming the node about to be freed.
    StructureChange(parent == FRoot ? nullptr : parent, crChildDeleted);
    if (failure)
        std::rethrow_exception(failure);
}

void LazyTreeModel::DoFreeNode(PLazyNode node)
{
    // Every reference the tree keeps is cleared, not only the four the painting uses: a search,
    // a check-box release, a drop or a height drag that still named the node would otherwise
    // reach freed memory.
    for (PLazyNode* ref : {&FLastChangedNode, &FCurrentHotNode, &FDropTargetNode,
                           &FLastStructureChangeNode, &FLastSearchNode, &FCheckNode,
                           &FLastVCLDragTarget, &FLastSelected, &FHeightTrackNode,
                           &FRangeAnchor}) {
        if (*ref == node)
            *ref = nullptr;
    }
    if (FCheckNode == nullptr && FStates.contains(tsMouseCheckPending))
        DoStateChange({}, {tsMouseCheckPending, tsKeyCheckPending});
    if (FHeightTrackNode == nullptr && FStates.contains(tsNodeHeightTracking))
        DoStateChange({}, {tsNodeHeightTracking, tsNodeHeightTrackPending});
    if (FNextNodeToSelect == node)
        FNextNodeToSelect = node->Parent == FRoot ? nullptr : node->Parent;
    if (FFocusedNode == node)
        FFocusedNode = nullptr;
    if (node->has(vsSelected))
        InternalRemoveFromSelection(node);
    struct Free {
        LazyTreeModel* t;
        PLazyNode n;
        ~Free() { t->FreeNodeBlock(n); }
    } release{this, node};
    if (OnFreeNode && (node->has(vsInitialized) || node->has(vsOnFreeNodeCallRequired)))
        OnFreeNode(*this, node);
    if (FUpdateCount == 0)
        EnsureNodeSelected();
}

void LazyTreeModel::DeleteChildren(PLazyNode node, bool resetHasChildren)
{
    deleteChildren(node, resetHasChildren, true);
}

void LazyTreeModel::deleteChildren(PLazyNode node, bool resetHasChildren, bool notify)
{
    if (!node || node->ChildCount == 0 || m_options.MiscOptions.contains(toReadOnly)) {
        if (node && resetHasChildren)
            node->States.exclude(vsHasChildren);
        return;
    }
    if (FStates.contains(tsIterating))
        lazyTreeAssert("Deleting nodes during tree iteration leads to invalid pointers.");
    // The first failure of a free handler, raised once every child is gone.
    std::exception_ptr failure;
    {
        PrivateUpdate update(FUpdateCount);
        InterruptValidation();
        const bool shown = node == FRoot || (node->has(vsExpanded) && GetFullyVisible(node));
        for (PLazyNode child = node->LastChild; child;) {
            PLazyNode prev = child->PrevSibling;
            if (shown && GetEffectivelyVisible(child))
                --FVisibleCount;
            child->States.include(vsDeleting);
            if (prev)
                prev->NextSibling = nullptr;
            // Keeps the chain valid for the reference checks while the rest is freed.
            node->LastChild = prev;
            try {
                InternalDeleteNode(child, false, true);
            } catch (...) {
                if (!failure)
                    failure = std::current_exception();
            }
            child = prev;
        }
        if (resetHasChildren)
            node->States.exclude(vsHasChildren);
        if (node != FRoot)
            node->States.exclude(vsExpanded);
        node->ChildCount = 0;
        node->FirstChild = nullptr;
        node->LastChild = nullptr;
        if (node == FRoot || node->has(vsDeleting)) {
            node->TotalCount = 1;
            node->TotalHeight = node == FRoot ? node->NodeHeight : ownRowHeight(node);
        } else {
            AdjustTotalCount(node, 1, false);
            AdjustTotalHeight(node, ownRowHeight(node), false);
        }
    }
    InvalidateCache();
    if (FUpdateCount == 0) {
        PackSelection();
        ScheduleCacheValidation();
        UpdateScrollBars(true);
        InvalidateToBottom(node);
        if (FStates.contains(tsChangePending))
            DoChange(FLastChangedNode);
        EnsureNodeSelected();
    }
    if (notify)
        StructureChange(node, crChildDeleted);
    if (failure)
        std::rethrow_exception(failure);
}

void LazyTreeModel::DeleteSelectedNodes()
{
    if (FSelectionCount == 0 || m_options.MiscOptions.contains(toReadOnly))
        return;
    UpdateBracket bracket(*this);
    const TNodeArray nodes = GetSortedSelection(true);
    for (std::size_t i = nodes.size(); i-- > 1;)
        InternalDeleteNode(nodes[i], nodes[i - 1]->Parent != nodes[i]->Parent, false);
    if (!nodes.empty())
        InternalDeleteNode(nodes[0], true, false);
}

void LazyTreeModel::Clear()
{
    const bool acts =
        (FRoot->ChildCount > 0 && !m_options.MiscOptions.contains(toReadOnly)) || m_destroying;
    if (!acts)
        return;
    // While the tree is destroyed the read-only switch must not keep its nodes alive.
    if (m_destroying)
        m_options.MiscOptions.exclude(toReadOnly);
    UpdateBracket bracket(*this);
    InterruptValidation();
    CancelEditNode();
    // The clipboard belongs to the control; here only the pending states end.
    DoStateChange({}, {tsCopyPending, tsCutPending});
    for (std::uint32_t i = 0; i < FSelectionCount; ++i)
        FSelection[i]->States.exclude(vsSelected);
    FSelection.clear();
    FSelectionCount = 0;
    for (PLazyNode* ref : {&FFocusedNode, &FLastSelected, &FCurrentHotNode, &FDropTargetNode,
                           &FLastChangedNode, &FRangeAnchor, &FCheckNode, &FLastVCLDragTarget,
                           &FLastSearchNode, &FNextNodeToSelect, &FHeightTrackNode})
        *ref = nullptr;
    DeleteChildren(FRoot, true);
    // The root keeps the states that make it the root.
    FRoot->States.include(vsHasChildren);
}

// ----- moving and copying -----------------------------------------------------------------

void LazyTreeModel::MoveTo(PLazyNode source, PLazyNode target, TLTNodeAttachMode mode,
                           bool childrenOnly)
{
    if (source && source != FRoot && TreeFromNode(source) != this)
        lazyTreeAssert("The source tree must contain the source node.");
    if (!source || source == FRoot || mode == amNoWhere
        || m_options.MiscOptions.contains(toReadOnly))
        return;
    if (target == source && !(childrenOnly && (mode == amInsertBefore || mode == amInsertAfter)))
        return;
    if (target && TreeFromNode(target) != this)
        lazyTreeAssert("Moving to another tree needs the tree stream.");
    if (!target) {
        target = FRoot;
        mode = amAddChildFirst;
    } else if (target == FRoot) {
        if (mode == amInsertBefore)
            mode = amAddChildFirst;
        else if (mode == amInsertAfter)
            mode = amAddChildLast;
    }
    if (target != FRoot) {
        if (!target->has(vsInitialized))
            InitNode(target);
        if (target->has(vsHasChildren) && target->ChildCount == 0)
            InitChildren(target);
    }
    if (!DoNodeMoving(source, target == FRoot ? nullptr : target))
        return;
    if (target != source && HasAsParent(target, source))
        throw ELazyTreeError("Target node cannot be a child node of the node to be moved.", 2001);

    InterruptValidation();
    auto moveOne = [&](PLazyNode n, bool reindex) {
        // The previous node's OnNodeMoved may have changed the tree and so rescheduled the
        // cache's rebuild; relinking under the worker's walk is not allowed.
        InterruptValidation();
        InternalDisconnectNode(n, true, reindex);
        InternalConnectNode(n, target, mode, *this);
        DoNodeMoved(n);
    };
    if (!childrenOnly) {
        moveOne(source, true);
    } else if (mode == amAddChildFirst) {
        for (PLazyNode c = source->LastChild; c;) {
            PLazyNode prev = c->PrevSibling;
            moveOne(c, false);
            c = prev;
        }
    } else {
        for (PLazyNode c = source->FirstChild; c;) {
            PLazyNode next = c->NextSibling;
            moveOne(c, false);
            c = next;
        }
    }
    InvalidateCache();
    if (FUpdateCount == 0) {
        ScheduleCacheValidation();
        UpdateScrollBars(true);
        Invalidate();
    }
    StructureChange(childrenOnly ? nullptr : source, crNodeMoved);
}

void LazyTreeModel::freeDetached(PLazyNode node)
{
    for (PLazyNode c = node->FirstChild; c;) {
        PLazyNode next = c->NextSibling;
        freeDetached(c);
        c = next;
    }
    FreeNodeBlock(node);
}

// Builds a detached copy: its counters are complete, but it adds nothing to the tree's counts
// until it is connected.
PLazyNode LazyTreeModel::copySubtree(PLazyNode source)
{
    // A copy carries the node's own states and heights, not its user data: the data area may
    // hold objects only the owner knows how to duplicate.
    PLazyNode copy = MakeNewNode();
    copy->NodeHeight = source->NodeHeight;
    copy->Align = source->Align;
    copy->CheckState = source->CheckState;
    copy->CheckType = source->CheckType;
    copy->States = source->States
                   - TLazyNodeStates{vsChecking, vsCutOrCopy, vsDeleting,
                                     vsOnFreeNodeCallRequired, vsHeightMeasured, vsSelected,
                                     vsReleaseCallOnUserDataRequired, vsToggling,
                                     vsInitializing};
    copy->TotalHeight = ownRowHeight(copy);
    try {
        for (PLazyNode c = source->FirstChild; c; c = c->NextSibling) {
            PLazyNode child = copySubtree(c);
            InternalConnectNode(child, copy, amAddChildLast, *this);
        }
    } catch (...) {
        freeDetached(copy);
        throw;
    }
    return copy;
}

PLazyNode LazyTreeModel::CopyTo(PLazyNode source, PLazyNode target, TLTNodeAttachMode mode,
                                bool childrenOnly)
{
    if (source && source != FRoot && TreeFromNode(source) != this)
        lazyTreeAssert("The source tree must contain the source node.");
    if (mode == amNoWhere || !source || source == FRoot)
        return nullptr;
    if (target && target != FRoot && TreeFromNode(target) != this)
        lazyTreeAssert("Copying to another tree needs the tree stream.");
    if (m_options.MiscOptions.contains(toReadOnly))
        return nullptr;
    if (!target) {
        target = FRoot;
        mode = amAddChildFirst;
    } else if (target == FRoot) {
        if (mode == amInsertBefore)
            mode = amAddChildFirst;
        else if (mode == amInsertAfter)
            mode = amAddChildLast;
    }
    std::vector<PLazyNode> sources;
    if (childrenOnly) {
        for (PLazyNode c = source->FirstChild; c; c = c->NextSibling)
            sources.push_back(c);
    } else {
        sources.push_back(source);
    }
    PLazyNode last = nullptr;
    {
        UpdateBracket bracket(*this);
        InterruptValidation();
        for (PLazyNode s : sources) {
            PLazyNode copy = copySubtree(s);
            InternalConnectNode(copy, target, mode, *this);
            if (!DoNodeCopying(copy, target == FRoot ? nullptr : target)) {
                DeleteNode(copy);
                last = nullptr;
            } else {
                DoNodeCopied(copy);
                last = copy;
            }
        }
        InvalidateCache();
    }
    StructureChange(childrenOnly ? nullptr : source, crNodeCopied);
    return childrenOnly ? target : last;
}

}  // namespace zfw
