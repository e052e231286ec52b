// The focused node and column, and the guarantee of toAlwaysSelectNode.

#include "tree/LazyTreesControl.h"

namespace zfw {

bool TBaseLazyTree::DoFocusChanging(PLazyNode oldNode, PLazyNode newNode, TColumnIndex oldColumn,
                                    TColumnIndex newColumn)
{
    bool allowed = true;
    if (OnFocusChanging)
        OnFocusChanging(*this, oldNode, newNode, oldColumn, newColumn, allowed);
    return allowed;
}

void TBaseLazyTree::ChangeFocusedNode(PLazyNode node, bool ask)
{
    // An editor that refuses to end keeps the focus where it is.
    if (FStates.contains(tsEditing) && !EndEditNode())
        return;
    if (node == RootNode())
        node = nullptr;
    const TLazyTreeOptionSets& opt = options();
    if (node != FFocusedNode
        && (!ask || DoFocusChanging(FFocusedNode, node, FFocusedColumn, FFocusedColumn))) {
        PLazyNode old = FFocusedNode;
        if (old) {
            if (opt.AutoOptions.contains(toAutoExpand) && node && node->Parent == old->Parent
                && old->has(vsExpanded))
                ToggleNode(old);
            else
                InvalidateNode(old);
        }
        FFocusedNode = node;
    }
    if (FFocusedNode) {
        if (opt.AutoOptions.contains(toAutoExpand) && !FFocusedNode->has(vsExpanded)
            && FFocusedNode->has(vsHasChildren))
            ToggleNode(FFocusedNode);
        InvalidateNode(FFocusedNode);
        if (!IsUpdating() && !opt.AutoOptions.contains(toDisableAutoscrollOnFocus)) {
            const bool buttonDown = FStates.contains(tsLeftButtonDown)
                                    || FStates.contains(tsMiddleButtonDown)
                                    || FStates.contains(tsRightButtonDown);
            ScrollIntoView(FFocusedNode,
                           opt.SelectionOptions.contains(toCenterScrollIntoView) && !buttonDown,
                           !opt.SelectionOptions.contains(toFullRowSelect));
        }
    }
    if (SelectedCount() == 0)
        ResetRangeAnchor();
}

void TBaseLazyTree::SetFocusedNode(PLazyNode node)
{
    PLazyNode old = FFocusedNode;
    ChangeFocusedNode(node, true);
    if (node != old && FFocusedNode == node)
        DoFocusChanged(FFocusedNode, FFocusedColumn);
}

void TBaseLazyTree::SetFocusedNodeAndColumn(PLazyNode node, TColumnIndex column)
{
    // Only a column that may take the focus; without header columns only the implicit one.
    if (FHeader->UseColumns() ? !FHeader->AllowFocus(column) : column != NoColumn)
        column = FFocusedColumn;
    const bool changed = node != FFocusedNode || column != FFocusedColumn;
    const TColumnIndex oldColumn = FFocusedColumn;
    FFocusedColumn = column;
    ChangeFocusedNode(node, true);
    if (FFocusedNode == node) {
        CancelEditNode();
        if (changed)
            DoFocusChanged(node, column);
    } else {
        FFocusedColumn = oldColumn;
    }
}

void TBaseLazyTree::EnsureNodeFocused()
{
    if (FFocusedNode)
        return;
    PLazyNode node = GetFirstSelected();
    if (!node)
        node = GetFirstVisible(nullptr, true);
    if (node)
        SetFocusedNode(node);
}

void TBaseLazyTree::EnsureNodeSelected()
{
    if (!options().SelectionOptions.contains(toAlwaysSelectNode) || IsEmpty())
        return;
    if (SelectedCount() == 0 && !SelectionLocked()) {
        if (FNextNodeToSelect)
            SetSelected(FNextNodeToSelect, true);
        else if (hasFocus())
            SetSelected(GetFirstVisible(nullptr, true), true);
    }
    EnsureNodeFocused();
    if (PLazyNode selected = GetFirstSelected())
        ScrollIntoView(selected, false, false);
}

}  // namespace zfw
