// The selection kept by the node model: the selected nodes in address order, the range anchor,
// the level and sibling constraints, the bulk operations, focus.

#include "tree/core/LazyTrees.h"
#include "tree/core/LazyTreesGuard.h"

#include <QCoreApplication>
#include <QThread>

#include <algorithm>
#include <cstdint>

namespace zfw {

namespace {

// Whole pointer values: a truncated comparison (low 32 bits) breaks the order on a 64-bit
// target, so that lookups miss entries and merges duplicate them.
std::uintptr_t key(PLazyNode p) { return reinterpret_cast<std::uintptr_t>(p); }
bool isMarked(PLazyNode p) { return (key(p) & 1u) != 0; }
PLazyNode marked(PLazyNode p) { return reinterpret_cast<PLazyNode>(key(p) | 1u); }

}  // namespace

void LazyTreeModel::DoAddToSelection(PLazyNode node)
{
    if (OnAddToSelection)
        OnAddToSelection(*this, node);
}

void LazyTreeModel::DoRemoveFromSelection(PLazyNode node)
{
    if (OnRemoveFromSelection)
        OnRemoveFromSelection(*this, node);
}

int LazyTreeModel::PackArray(TNodeArray& array, int count)
{
    if (array.empty() || count <= 0)
        return -1;
    int kept = 0;
    for (int i = 0; i < count; ++i) {
        if (!isMarked(array[std::size_t(i)]))
            array[std::size_t(kept++)] = array[std::size_t(i)];
    }
    return kept;
}

void LazyTreeModel::PackSelection()
{
    const int kept = PackArray(FSelection, int(FSelectionCount));
    if (kept >= 0) {
        FSelectionCount = std::uint32_t(kept);
        FSelection.resize(FSelectionCount);
    }
}

bool LazyTreeModel::FindNodeInSelection(PLazyNode p, int& index, int lowBound, int highBound) const
{
    int high = highBound < 0 ? int(FSelectionCount) - 1 : highBound;
    int low = lowBound < 0 ? 0 : lowBound;
    bool found = false;
    while (high >= low) {
        const int mid = (low + high) / 2;
        const std::uintptr_t entry = key(FSelection[std::size_t(mid)]);
        if (entry < key(p)) {
            low = mid + 1;
        } else {
            high = mid - 1;
            if (entry == key(p)) {
                low = mid;
                found = true;
            }
        }
    }
    index = low;
    return found;
}

bool LazyTreeModel::InternalAddToSelection(PLazyNode node, bool forceInsert)
{
    if (!node)
        lazyTreeAssert("Node must not be nil!");
    TNodeArray single{node};
    return InternalAddToSelection(single, 1, forceInsert);
}

bool LazyTreeModel::InternalAddToSelection(TNodeArray& newItems, int newLength, bool forceInsert)
{
    newLength = std::min<int>(newLength, int(newItems.size()));
    if (newLength <= 0)
        return false;
    const std::uint32_t oldCount = FSelectionCount;
    const TLTSelectionOptions sel = m_options.SelectionOptions;
    if (forceInsert) {
        for (int i = 0; i < newLength; ++i) {
            PLazyNode n = newItems[std::size_t(i)];
            n->States.include(vsSelected);
        }
    } else {
        if (sel.contains(toLevelSelectConstraint) && FLastSelectionLevel < 0)
            FLastSelectionLevel = int(GetNodeLevel(newItems[0]));
        if (sel.contains(toSiblingSelectConstraint) && !FRangeAnchor)
            FRangeAnchor = newItems[0];
        for (int i = 0; i < newLength; ++i) {
            PLazyNode n = newItems[std::size_t(i)];
            const bool reject = n->has(vsSelected) || n->has(vsDisabled)
                                || (sel.contains(toLevelSelectConstraint)
                                    && int(GetNodeLevel(n)) != FLastSelectionLevel)
                                || (sel.contains(toSiblingSelectConstraint) && FRangeAnchor
                                    && n->Parent != FRangeAnchor->Parent);
            if (reject) {
                newItems[std::size_t(i)] = marked(n);
                continue;
            }
            n->States.include(vsSelected);
        }
        const int kept = PackArray(newItems, newLength);
        if (kept >= 0)
            newLength = kept;
    }
    if (newLength == 0)
        return false;
    // OnAddToSelection hears of the nodes once the array holds them all, in the caller's order:
    // a handler that throws (or looks at the selection) then meets a consistent array, where
    // firing it per item before the merge left flags set without their entries.
    const TNodeArray added(newItems.begin(), newItems.begin() + newLength);
    // The same node twice in one bulk (a caller's list) is taken once.
    std::sort(newItems.begin(), newItems.begin() + newLength,
              [](PLazyNode a, PLazyNode b) { return key(a) < key(b); });
    newLength = int(std::unique(newItems.begin(), newItems.begin() + newLength) - newItems.begin());
    FSelection.resize(oldCount + std::uint32_t(newLength));
    // Merge from the back: the larger of the last old entry and the last item goes last.
    int i = newLength - 1;
    int k = int(oldCount) - 1;
    while (i >= 0) {
        if (k < 0) {
            std::copy(newItems.begin(), newItems.begin() + i + 1, FSelection.begin());
            break;
        }
        while (i >= 0 && key(FSelection[std::size_t(k)]) < key(newItems[std::size_t(i)])) {
            FSelection[std::size_t(k + i + 1)] = newItems[std::size_t(i)];
            --i;
        }
        if (i < 0)
            break;
        int d = 0;
        FindNodeInSelection(newItems[std::size_t(i)], d, 0, k);
        std::move_backward(FSelection.begin() + d, FSelection.begin() + k + 1,
                           FSelection.begin() + k + 1 + i + 1);
        k = d - 1;
    }
    FSelectionCount = oldCount + std::uint32_t(newLength);
    if (FSelection.size() != FSelectionCount)
        lazyTreeAssert("Child count mismatch after a bulk insert.");
    for (PLazyNode n : added)
        DoAddToSelection(n);
    return true;
}

void LazyTreeModel::AddToSelection(PLazyNode node)
{
    if (FSelectionLocked)
        return;
    if (!node)
        lazyTreeAssert("Node must not be nil!");
    if (!InternalAddToSelection(node, false))
        return;
    if (FSelectionCount == 1)
        SetFocusedNode(node);
    InvalidateNode(node);
    Change(node);
}

void LazyTreeModel::AddNodesToSelection(TNodeArray& newItems, int newLength, bool forceInsert)
{
    if (!InternalAddToSelection(newItems, newLength, forceInsert))
        return;
    if (newLength == 1) {
        InvalidateNode(newItems[0]);
        Change(newItems[0]);
    } else {
        Invalidate();
        Change(nullptr);
    }
}

void LazyTreeModel::InternalRemoveFromSelection(PLazyNode node)
{
    int index = 0;
    if (!FindNodeInSelection(node, index, -1, -1))
        return;
    node->States.exclude(vsSelected);
    FSelection[std::size_t(index)] = marked(node);
    if (FLastSelected == node)
        FLastSelected = nullptr;
    DoRemoveFromSelection(node);
}

void LazyTreeModel::RemoveFromSelection(PLazyNode node)
{
    if (FSelectionLocked)
        return;
    if (!node)
        lazyTreeAssert("Node must not be nil!");
    if (auto* app = QCoreApplication::instance(); app && QThread::currentThread() != app->thread())
        lazyTreeAssert(
            "TBaseLazyTree.RemoveFromSelection() must only be called from UI "
            "thread.");
    if (!node->has(vsSelected))
        return;
    node->States.exclude(vsSelected);
    int index = 0;
    if (FindNodeInSelection(node, index, -1, -1)) {
        FSelection.erase(FSelection.begin() + index);
        if (FSelectionCount > 0)
            --FSelectionCount;
        FSelection.resize(FSelectionCount);
    }
    if (FLastSelected == node)
        FLastSelected = nullptr;
    if (FSelectionCount == 0)
        ResetRangeAnchor();
    if (FSelectionCount <= 1)
        UpdateNextNodeToSelect(node);
    DoRemoveFromSelection(node);
    Change(node);
}

void LazyTreeModel::InternalClearSelection()
{
    if (FUpdateCount > 0)
        PackSelection();
    while (FSelectionCount > 0) {
        --FSelectionCount;
        PLazyNode n = FSelection[FSelectionCount];
        if (isMarked(n))
            continue;
        n->States.exclude(vsSelected);
        DoRemoveFromSelection(n);
    }
    FLastSelected = nullptr;
    ResetRangeAnchor();
    FSelection.clear();
    DoStateChange({}, {tsClearPending});
}

void LazyTreeModel::InvalidateAndClearSelection(bool doChange)
{
    if (FSelectionLocked || FSelectionCount == 0 || isDestroying())
        return;
    // The rows of the selected nodes are repainted; painting tells apart what it needs.
    if (FUpdateCount == 0)
        Invalidate();
    InternalClearSelection();
    if (doChange)
        Change(nullptr);
}

void LazyTreeModel::AddToTempNodeCache(PLazyNode node)
{
    if (FTempNodeCount == FTempNodeCache.size()) {
        const std::size_t size = FTempNodeCache.size();
        FTempNodeCache.resize(size < 100 ? 100 : size + size / 10);
    }
    FTempNodeCache[FTempNodeCount++] = node;
}

void LazyTreeModel::ClearTempCache()
{
    FTempNodeCache.clear();
    FTempNodeCount = 0;
}

void LazyTreeModel::ResetRangeAnchor()
{
    FRangeAnchor = FFocusedNode;
    FLastSelectionLevel = -1;
}

int LazyTreeModel::CountLevelDifference(PLazyNode node1, PLazyNode node2) const
{
    if (!node1 || !node2)
        lazyTreeAssert("Both nodes must be Assigned.");
    return int(GetNodeLevel(node2)) - int(GetNodeLevel(node1));
}

void LazyTreeModel::UpdateNextNodeToSelect(PLazyNode node)
{
    if (!m_options.SelectionOptions.contains(toAlwaysSelectNode))
        return;
    if (node->NextSibling)
        FNextNodeToSelect = node->NextSibling;
    else if (node->PrevSibling)
        FNextNodeToSelect = node->PrevSibling;
    else if (GetNodeLevel(node) > 0)
        FNextNodeToSelect = node->Parent;
    else
        FNextNodeToSelect = node->FirstChild;
}

void LazyTreeModel::SelectNodes(PLazyNode startNode, PLazyNode endNode, bool addOnly)
{
    if (!endNode)
        lazyTreeAssert("EndNode must not be nil!");
    if (FSelectionLocked)
        return;
    ClearTempCache();
    if (!startNode || !GetFullyVisible(startNode)) {
        PLazyNode previous = startNode ? GetPreviousVisible(startNode, true) : nullptr;
        startNode = previous ? previous : GetFirstVisible(nullptr, true);
    }
    if (!startNode)
        return;
    PLazyNode first = startNode;
    PLazyNode last = endNode;
    if (ComparePositions(first, last, true) > 0)
        std::swap(first, last);
    PLazyNode anchor = FRangeAnchor;
    if (!addOnly)
        InternalClearSelection();
    for (PLazyNode run = first; run; run = GetNextVisible(run, true)) {
        AddToTempNodeCache(run);
        if (run == last)
            break;
    }
    AddNodesToSelection(FTempNodeCache, int(FTempNodeCount), false);
    ClearTempCache();
    if (anchor && anchor->has(vsSelected))
        FRangeAnchor = anchor;
}

void LazyTreeModel::ToggleSelection(PLazyNode startNode, PLazyNode endNode)
{
    if (FSelectionLocked)
        return;
    if (!endNode)
        lazyTreeAssert("EndNode must not be nil!");
    if (!startNode)
        startNode = FRoot->FirstChild;
    else if (!GetFullyVisible(startNode))
        startNode = GetPreviousVisible(startNode, true);
    if (!startNode || startNode == endNode)
        return;
    ClearTempCache();
    PLazyNode from = startNode;
    PLazyNode to = endNode;
    if (ComparePositions(from, to, true) > 0)
        std::swap(from, to);
    const auto toggle = [this](PLazyNode n) {
        if (n->has(vsSelected))
            InternalRemoveFromSelection(n);
        else
            AddToTempNodeCache(n);
    };
    PLazyNode anchor = FRangeAnchor;
    if (anchor && ComparePositions(from, anchor, true) < 0)
        toggle(from);
    for (PLazyNode run = GetNextVisible(from, true); run && run != to;
         run = GetNextVisible(run, true))
        toggle(run);
    if (anchor && ComparePositions(to, anchor, true) > 0)
        toggle(to);
    PackSelection();
    if (anchor && !anchor->has(vsSelected))
        AddToTempNodeCache(anchor);
    if (FTempNodeCount > 0)
        AddNodesToSelection(FTempNodeCache, int(FTempNodeCount), false);
    ClearTempCache();
}

void LazyTreeModel::UnselectNodes(PLazyNode startNode, PLazyNode endNode)
{
    if (FSelectionLocked)
        return;
    if (!endNode)
        lazyTreeAssert("EndNode must not be nil!");
    if (!startNode) {
        startNode = FRoot->FirstChild;
    } else if (!GetFullyVisible(startNode)) {
        PLazyNode previous = GetPreviousVisible(startNode, true);
        startNode = previous ? previous : FRoot->FirstChild;
    }
    if (!startNode)
        return;
    PLazyNode from = startNode;
    PLazyNode to = endNode;
    if (ComparePositions(from, to, true) > 0)
        std::swap(from, to);
    for (PLazyNode run = from; run; run = GetNextVisible(run, true)) {
        if (run->has(vsSelected))
            InternalRemoveFromSelection(run);
        if (run == to)
            break;
    }
    PackSelection();
}

void LazyTreeModel::SelectAll(bool visibleOnly)
{
    if (!m_options.SelectionOptions.contains(toMultiSelect) || FSelectionLocked)
        return;
    ClearTempCache();
    PLazyNode run = visibleOnly ? GetFirstVisible(nullptr, true, false) : GetFirst();
    while (run) {
        if (!run->has(vsSelected))
            AddToTempNodeCache(run);
        run = visibleOnly ? GetNextVisible(run, false) : GetNext(run);
    }
    if (FTempNodeCount > 0)
        AddNodesToSelection(FTempNodeCache, int(FTempNodeCount), false);
    ClearTempCache();
    Invalidate();
}

void LazyTreeModel::InvertSelection(bool visibleOnly)
{
    if (!m_options.SelectionOptions.contains(toMultiSelect) || FSelectionLocked)
        return;
    ClearTempCache();
    for (PLazyNode run = FRoot->FirstChild; run;
         run = visibleOnly ? GetNextVisibleNoInit(run, false) : GetNextNoInit(run, false)) {
        if (run->has(vsSelected))
            InternalRemoveFromSelection(run);
        else
            AddToTempNodeCache(run);
    }
    bool changed = false;
    const int kept = PackArray(FSelection, int(FSelectionCount));
    if (kept >= 0) {
        FSelectionCount = std::uint32_t(kept);
        FSelection.resize(FSelectionCount);
        changed = true;
    }
    if (FTempNodeCount > 0) {
        // Adding reports its own change when it added anything.
        if (InternalAddToSelection(FTempNodeCache, int(FTempNodeCount), false)) {
            changed = false;
            Invalidate();
            Change(nullptr);
        }
    }
    ClearTempCache();
    Invalidate();
    if (changed)
        Change(nullptr);
    if (FSelectionCount == 0)
        FNextNodeToSelect = nullptr;
}

void LazyTreeModel::SetSelected(PLazyNode node, bool value)
{
    if (FSelectionLocked || !node || node == FRoot || node->has(vsSelected) == value)
        return;
    const bool multi = m_options.SelectionOptions.contains(toMultiSelect);
    if (value) {
        if (FSelectionCount == 0)
            FRangeAnchor = node;
        else if (!multi)
            InternalClearSelection();
        AddToSelection(node);
        if (!multi)
            SetFocusedNode(node);
        if (!FRangeAnchor)
            FRangeAnchor = node;
    } else {
        RemoveFromSelection(node);
        if (FSelectionCount == 0)
            ResetRangeAnchor();
    }
    InvalidateNode(node);
}

void LazyTreeModel::HandleClickSelection(PLazyNode lastFocused, PLazyNode newNode, bool shift,
                                         bool ctrl, bool dragPending)
{
    if (!newNode)
        return;
    if (ctrl) {
        if (shift) {
            SelectNodes(FRangeAnchor, newNode, true);
        } else {
            if (!m_options.SelectionOptions.contains(toSiblingSelectConstraint))
                FRangeAnchor = newNode;
            if (dragPending) {
                // The toggle waits for the button-up.
                DoStateChange({tsToggleFocusedSelection});
            } else if (newNode->has(vsSelected)) {
                RemoveFromSelection(newNode);
            } else {
                AddToSelection(newNode);
            }
        }
        Invalidate();
    } else if (shift) {
        if (!FRangeAnchor)
            FRangeAnchor = FRoot->FirstChild;
        SelectNodes(FRangeAnchor, newNode, false);
        Invalidate();
    } else {
        if (!newNode->has(vsSelected)) {
            AddToSelection(newNode);
            InvalidateNode(newNode);
        }
        FRangeAnchor = newNode;
    }
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

}  // namespace zfw
