// Properties of the tree control whose setters do more than store, and the node-indexed
// accessors that the node model does not offer itself.

#include "tree/LazyTreesControl.h"
#include "tree/core/LazyTreesGuard.h"

#include <algorithm>

namespace zfw {

void TBaseLazyTree::SetIncrementalSearch(TLTIncrementalSearch value)
{
    if (FIncrementalSearch == value)
        return;
    FIncrementalSearch = value;
    if (value == isNone) {
        StopTimer(SearchTimer);
        FSearchBuffer.clear();
        FLastSearchNode = nullptr;
        DoStateChange({}, {tsIncrementalSearching, tsIncrementalSearchPending});
    }
}

void TBaseLazyTree::SetBackgroundOffset(int index, int value)
{
    int& field = index == 0 ? FBackgroundOffsetX : FBackgroundOffsetY;
    if (field == value)
        return;
    field = value;
    Invalidate();
}

void TBaseLazyTree::SetFocusedColumn(TColumnIndex column)
{
    // Only a column that may take the focus, or none (-1) in a tree without header columns.
    const bool allowed = FHeader->UseColumns() ? FHeader->AllowFocus(column) : column == NoColumn;
    if (!allowed || column == FFocusedColumn)
        return;
    if (!DoFocusChanging(FFocusedNode, FFocusedNode, FFocusedColumn, column))
        return;
    CancelEditNode();
    Invalidate();
    FFocusedColumn = column;
    if (FFocusedNode && !options().AutoOptions.contains(toDisableAutoscrollOnFocus)) {
        if (ScrollIntoView(FFocusedNode,
                           options().SelectionOptions.contains(toCenterScrollIntoView), true))
            InvalidateNode(FFocusedNode);
    }
    if (FDropTargetNode)
        InvalidateNode(FDropTargetNode);
    DoFocusChanged(FFocusedNode, FFocusedColumn);
}

void TBaseLazyTree::SetOffsetXY(QPoint value) { DoSetOffsetXY(value, DefaultScrollUpdateFlags); }

std::uint32_t TBaseLazyTree::TotalCount()
{
    ++FUpdateCount;
    {
        ScopeGuard lower([this] { --FUpdateCount; });
        ValidateNode(RootNode(), true);
    }
    return RootNode()->TotalCount - 1;
}

void TBaseLazyTree::SetNodeDataSize(int size)
{
    size = std::max(size, -1);
    if (size == NodeDataSize())
        return;
    if (m_destroyingWidget || IsEmpty()) {
        LazyTreeModel::SetNodeDataSize(size);
        return;
    }
    // The blocks were made for the old size: they are made anew, as many top-level nodes as
    // before, so that no caller writes past the end of an old block.
    const std::uint32_t count = RootNodeCount();
    Clear();
    LazyTreeModel::SetNodeDataSize(size);
    SetRootNodeCount(count);
}

bool TBaseLazyTree::GetChildrenInitialized(PLazyNode node) const
{
    if (!node)
        node = RootNode();
    return !(node->has(vsHasChildren) && node->ChildCount == 0);
}

void TBaseLazyTree::SetVerticalAlignment(PLazyNode node, int value)
{
    if (!node)
        return;
    value = std::clamp(value, 0, 100);
    if (node->Align == value)
        return;
    node->Align = std::uint8_t(value);
    if (node != RootNode() && GetFullyVisible(node) && !GetEffectivelyFiltered(node))
        InvalidateNode(node);
}

PLazyNode TBaseLazyTree::GetNodeParent(PLazyNode node) const
{
    if (!node || !node->Parent || node->Parent == RootNode())
        return nullptr;
    return node->Parent;
}

void TBaseLazyTree::SetNodeParent(PLazyNode node, PLazyNode parent)
{
    if (node && parent && parent != node->Parent)
        MoveTo(node, parent, amAddChildLast, false);
}

bool TBaseLazyTree::GetVisiblePath(PLazyNode node) const
{
    if (!node || node == RootNode())
        lazyTreeAssert("Invalid parameters.");
    for (PLazyNode run = node->Parent; run != RootNode(); run = run->Parent) {
        if (!run->has(vsExpanded) || !run->has(vsVisible))
            return false;
    }
    return true;
}

void TBaseLazyTree::SetVisiblePath(PLazyNode node, bool value)
{
    if (!node || node == RootNode())
        lazyTreeAssert("Invalid parameter.");
    if (!value)
        return;
    for (PLazyNode run = node->Parent; run != RootNode(); run = run->Parent) {
        if (!run->has(vsExpanded))
            ToggleNode(run);
    }
}

void TBaseLazyTree::SetFullyVisible(PLazyNode node, bool value)
{
    if (!node || node == RootNode())
        lazyTreeAssert("Invalid parameter");
    SetVisible(node, value);
    if (!value)
        return;
    for (PLazyNode run = node->Parent; run != RootNode(); run = run->Parent) {
        if (!run->has(vsExpanded))
            ToggleNode(run);
        if (!run->has(vsVisible))
            SetVisible(run, true);
    }
}

void TBaseLazyTree::SetAnimationDuration(int ms)
{
    FAnimationDuration = ms < 0 ? 0 : ms;
    TLTAnimationOptions animation = options().AnimationOptions;
    if (FAnimationDuration != 0)
        animation.include(toAnimatedToggle);
    else
        animation.exclude(toAnimatedToggle);
    SetAnimationOptions(animation);
}

}  // namespace zfw
