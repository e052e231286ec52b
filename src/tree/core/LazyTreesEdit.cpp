// Structure editing: adding, inserting, deleting, moving and copying nodes. Every step
// keeps the subtree counters and the visible count exact.

#include "tree/core/LazyTrees.h"
#include "tree/core/LazyTreesGuard.h"

#include <algorithm>
#include <cstring>
#include <exception>

namespace zfw {

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
    case amNoWhere: break;
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
        // A private raise of the update count that never reaches the update events.
        ++FUpdateCount;
        ScopeGuard update([this] { --FUpdateCount; });
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
        lazyTreeAssert(
            "TBaseLazyTree: Cannot set initial user data because there is not enough "
            "user data space allocated.");
    PLazyNode result = MakeNewNode();
    if ((mode == amAddChildFirst || mode == amAddChildLast) && node != FRoot
        && !node->has(vsInitialized)) {
        ScopeGuard release([&] { FreeNodeBlock(result); });
        InitNode(node);
        release.dismiss();
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
    BeginUpdate();
    ScopeGuard endUpdate([this] { EndUpdate(); });
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
            {
                ScopeGuard synch([&] {
                    if (!wasSynch)
                        FStates.exclude(tsSynchMode);
                });
                InternalRemoveFromSelection(node);
                PackSelection();
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
    const bool checkPressed = FCheckNode == node;
    const bool heightTracked = FHeightTrackNode == node;
    for (PLazyNode* ref : {&FLastChangedNode, &FCurrentHotNode, &FDropTargetNode,
                           &FLastStructureChangeNode, &FLastSearchNode, &FCheckNode,
                           &FLastVCLDragTarget, &FLastSelected, &FHeightTrackNode, &FRangeAnchor}) {
        if (*ref == node)
            *ref = nullptr;
    }
    // A check box pressed (by mouse or Space) or a height dragged on the node ends with it.
    if (checkPressed
        && (FStates.contains(tsMouseCheckPending) || FStates.contains(tsKeyCheckPending)))
        DoStateChange({}, {tsMouseCheckPending, tsKeyCheckPending});
    if (heightTracked
        && (FStates.contains(tsNodeHeightTracking) || FStates.contains(tsNodeHeightTrackPending)))
        DoStateChange({}, {tsNodeHeightTracking, tsNodeHeightTrackPending});
    if (FNextNodeToSelect == node)
        FNextNodeToSelect = node->Parent == FRoot ? nullptr : node->Parent;
    if (FFocusedNode == node)
        FFocusedNode = nullptr;
    if (node->has(vsSelected)) {
        InternalRemoveFromSelection(node);
        if (FUpdateCount == 0)
            PackSelection();
    }
    ScopeGuard release([&] { FreeNodeBlock(node); });
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
        // A private raise of the update count that never reaches the update events.
        ++FUpdateCount;
        ScopeGuard update([this] { --FUpdateCount; });
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
    BeginUpdate();
    ScopeGuard endUpdate([this] { EndUpdate(); });
    const TNodeArray nodes = GetSortedSelection(true);
    for (std::size_t i = nodes.size(); i-- > 1;)
        InternalDeleteNode(nodes[i], nodes[i - 1]->Parent != nodes[i]->Parent, false);
    if (!nodes.empty())
        InternalDeleteNode(nodes[0], true, false);
}

void LazyTreeModel::Clear()
{
    const bool acts = (FRoot->ChildCount > 0 && !m_options.MiscOptions.contains(toReadOnly))
                      || m_destroying;
    if (!acts)
        return;
    // While the tree is destroyed the read-only switch must not keep its nodes alive.
    if (m_destroying)
        m_options.MiscOptions.exclude(toReadOnly);
    BeginUpdate();
    ScopeGuard endUpdate([this] { EndUpdate(); });
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
    if (target && TreeFromNode(target) != this) {
        moveToTree(source, *TreeFromNode(target), target, mode, childrenOnly);
        return;
    }
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

PLazyNode LazyTreeModel::CopyTo(PLazyNode source, PLazyNode target, TLTNodeAttachMode mode,
                                bool childrenOnly)
{
    if (source && source != FRoot && TreeFromNode(source) != this)
        lazyTreeAssert("The source tree must contain the source node.");
    if (mode == amNoWhere || !source || source == FRoot)
        return nullptr;
    LazyTreeModel& tree = target ? *TreeFromNode(target) : *this;
    if (tree.m_options.MiscOptions.contains(toReadOnly))
        return nullptr;
    if (!target) {
        target = tree.FRoot;
        mode = amAddChildFirst;
    } else if (target == tree.FRoot) {
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
    // Every copy goes through the tree stream, also within one tree, so that user data is
    // copied by the owner's OnSaveNode and OnLoadNode rather than duplicated byte by byte.
    PLazyNode last = nullptr;
    const PLazyNode eventTarget = target == tree.FRoot ? nullptr : target;
    streamNodesTo(sources, tree, target, mode, [&](PLazyNode copy) {
        if (!DoNodeCopying(copy, eventTarget)) {
            tree.DeleteNode(copy);
            last = nullptr;
        } else {
            DoNodeCopied(copy);
            last = copy;
        }
    });
    tree.InvalidateCache();
    if (tree.FUpdateCount == 0) {
        tree.ScheduleCacheValidation();
        tree.UpdateScrollBars(true);
        tree.Invalidate();
    }
    tree.StructureChange(childrenOnly ? nullptr : source, crNodeCopied);
    return childrenOnly ? target : last;
}

PLazyNode LazyTreeModel::CopyTo(PLazyNode source, LazyTreeModel& tree, TLTNodeAttachMode mode,
                                bool childrenOnly)
{
    return CopyTo(source, tree.FRoot, mode, childrenOnly);
}

void LazyTreeModel::MoveTo(PLazyNode source, LazyTreeModel& tree, TLTNodeAttachMode mode,
                           bool childrenOnly)
{
    if (&tree == this) {
        MoveTo(source, FRoot, mode, childrenOnly);
        return;
    }
    if (source && source != FRoot && TreeFromNode(source) != this)
        lazyTreeAssert("The source tree must contain the source node.");
    if (!source || source == FRoot || mode == amNoWhere
        || m_options.MiscOptions.contains(toReadOnly))
        return;
    moveToTree(source, tree, tree.FRoot, mode, childrenOnly);
}

// A move to another tree: the records are read into the target first and the originals go
// only when every record has arrived, so a failed read leaves the source as it was.
void LazyTreeModel::moveToTree(PLazyNode source, LazyTreeModel& tree, PLazyNode target,
                               TLTNodeAttachMode mode, bool childrenOnly)
{
    if (tree.m_options.MiscOptions.contains(toReadOnly))
        return;
    if (target == tree.FRoot) {
        if (mode == amInsertBefore)
            mode = amAddChildFirst;
        else if (mode == amInsertAfter)
            mode = amAddChildLast;
    } else {
        if (!target->has(vsInitialized))
            tree.InitNode(target);
        if (target->has(vsHasChildren) && target->ChildCount == 0)
            tree.InitChildren(target);
    }
    if (!DoNodeMoving(source, target == tree.FRoot ? nullptr : target))
        return;
    std::vector<PLazyNode> sources;
    if (childrenOnly) {
        for (PLazyNode c = source->FirstChild; c; c = c->NextSibling)
            sources.push_back(c);
    } else {
        sources.push_back(source);
    }
    streamNodesTo(sources, tree, target, mode, [this](PLazyNode moved) { DoNodeMoved(moved); });
    {
        BeginUpdate();
        ScopeGuard endUpdate([this] { EndUpdate(); });
        if (childrenOnly)
            DeleteChildren(source);
        else
            InternalDeleteNode(source, true, false);
    }
    InvalidateCache();
    tree.InvalidateCache();
    if (FUpdateCount == 0) {
        ScheduleCacheValidation();
        UpdateScrollBars(true);
        Invalidate();
    }
    if (tree.FUpdateCount == 0) {
        tree.ScheduleCacheValidation();
        tree.UpdateScrollBars(true);
        tree.Invalidate();
    }
    StructureChange(nullptr, crNodeMoved);
}

}  // namespace zfw
