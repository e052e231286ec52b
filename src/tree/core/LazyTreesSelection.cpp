// The selection kept by the node model: the selected nodes in address order, focus.

#include "tree/core/LazyTrees.h"
#include "tree/core/LazyTreesGuard.h"

#include <algorithm>
#include <cstring>
#include <exception>

namespace zfw {

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

}  // namespace zfw
