// The tree's side of in-place editing: when an edit starts and ends, and where its editor sits.
// The editor itself is an exchangeable link (LazyTreesEditLink.h).

#include "tree/LazyTreesControl.h"
#include "tree/LazyTreesEditLink.h"
#include "tree/core/LazyTreesGuard.h"

#include <QThread>

#include <algorithm>
#include <exception>

namespace zfw {

bool TBaseLazyTree::EditNode(PLazyNode node, TColumnIndex column)
{
    if (!node)
        lazyTreeAssert("Node must not be nil.");
    if (column < NoColumn || column >= editColumnCount())
        lazyTreeAssert("Column must be a valid column index (-1 if no header is shown).");
    if (FStates.contains(tsEditing) || options().MiscOptions.contains(toReadOnly))
        return FStates.contains(tsEditing);
    SetFocusedNode(node);
    if (FFocusedNode != node || !CanEdit(node, column))
        return false;
    FEditColumn = column;
    if (!node->has(vsInitialized))
        InitNode(node);
    DoEdit();
    return FStates.contains(tsEditing);
}

bool TBaseLazyTree::EndEditNode()
{
    if (FStates.contains(tsEditing) || FStates.contains(tsEditPending))
        return DoEdited();
    return true;
}

bool TBaseLazyTree::CancelEditNode()
{
    if (!HandleAllocated())
        return true;
    if (FStates.contains(tsEditing) || FStates.contains(tsEditPending))
        return DoEditCancelled();
    return true;
}

void TBaseLazyTree::DoEdit()
{
    // An editor covers the cell: a hint over it would hide what the user types.
    CancelHint();
    StopTimer(ScrollTimer);
    StopTimer(EditTimer);
    DoStateChange({}, {tsEditPending});
    PLazyNode node = FFocusedNode;
    if (!node || node->has(vsDisabled) || options().MiscOptions.contains(toReadOnly) || FEditLink)
        return;
    std::shared_ptr<ILTEditLink> link = DoCreateEditor(node, FEditColumn);
    if (!link)
        return;
    FEditLink = link;
    FEditNode = node;
    DoStateChange({tsEditing}, {tsToggleFocusedSelection, tsClearPending, tsDrawSelPending,
                                tsDrawSelecting, tsMouseCheckPending, tsOLEDragging,
                                tsOLEDragPending, tsScrolling, tsScrollPending});
    // A start that fails on the way (a handler throwing) leaves no half-open editor behind.
    ScopeGuard unwind([&] {
        if (std::uncaught_exceptions() == 0 || FEditLink != link)
            return;
        link->CancelEdit();
        FEditLink.reset();
        FEditNode = nullptr;
        DoStateChange({}, {tsEditing});
    });
    const TLazyTreeOptionSets& opt = options();
    ScrollIntoView(node, opt.SelectionOptions.contains(toCenterScrollIntoView),
                   !opt.AutoOptions.contains(toDisableAutoscrollOnEdit));
    if (link->PrepareEdit(this, node, FEditColumn)) {
        UpdateEditBounds();
        InvalidateNode(node);
        if (!link->BeginEdit())
            DoStateChange({}, {tsEditing});
    } else {
        DoStateChange({}, {tsEditing});
    }
    if (!FStates.contains(tsEditing) && FEditLink == link) {
        FEditLink.reset();
        FEditNode = nullptr;
    }
}

bool TBaseLazyTree::DoEdited()
{
    StopTimer(EditTimer);
    ScopeGuard leavePending([this] { DoStateChange({}, {tsEditPending}); });
    if (!FStates.contains(tsEditing))
        return false;
    // The link stays alive through its own EndEdit, whatever the tree does meanwhile.
    std::shared_ptr<ILTEditLink> link = FEditLink;
    if (link && !link->EndEdit())
        return false;
    DoStateChange({}, {tsEditing});
    if (FEditLink == link)
        FEditLink.reset();
    FEditNode = nullptr;
    if (OnEdited)
        OnEdited(*this, FFocusedNode, FEditColumn);
    return true;
}

bool TBaseLazyTree::DoEditCancelled()
{
    StopTimer(EditTimer);
    DoStateChange({}, {tsEditPending});
    if (!FStates.contains(tsEditing))
        return false;
    std::shared_ptr<ILTEditLink> link = FEditLink;
    if (link && !link->CancelEdit())
        return false;
    // The link may have ended the edit itself on the way (the string link asks the tree to
    // cancel); then the tree is idle already.
    if (!FStates.contains(tsEditing))
        return true;
    DoStateChange({}, {tsEditing});
    if (FEditLink == link)
        FEditLink.reset();
    FEditNode = nullptr;
    if (OnEditCancelled)
        OnEditCancelled(*this, FEditColumn);
    return true;
}

std::shared_ptr<ILTEditLink> TBaseLazyTree::DoCreateEditor(PLazyNode node, TColumnIndex column)
{
    std::shared_ptr<ILTEditLink> link;
    if (OnCreateEditor)
        OnCreateEditor(*this, node, column, link);
    return link;
}

void TBaseLazyTree::DoEditing(PLazyNode node, TColumnIndex column, bool& allowed)
{
    if (OnEditing)
        OnEditing(*this, node, column, allowed);
}

void TBaseLazyTree::UpdateEditBounds()
{
    // The worker's call arrives through the event loop; a direct call from another thread
    // must not place a widget.
    if (QThread::currentThread() != thread())
        return;
    if (!FStates.contains(tsEditing) || !FFocusedNode || !FEditLink || m_destroyingWidget)
        return;
    if (FEditColumn >= editColumnCount() && FEditColumn != NoColumn)
        return;
    const TLazyTreeOptionSets& opt = options();
    const bool multiLine = FFocusedNode->has(vsMultiline);
    // A single line may run on past its cell; several lines stay inside it.
    QRect r = GetDisplayRect(FFocusedNode, FEditColumn, true, !multiLine);
    if (opt.MiscOptions.contains(toGridExtensions)) {
        // The editor takes the cell's room on the side the text runs to.
        TAlignment alignment = FAlignment;
        if (UseRightToLeftReading() && alignment != taCenter)
            alignment = alignment == taLeftJustify ? taRightJustify : taLeftJustify;
        const QRect cell = GetDisplayRect(FFocusedNode, FEditColumn, false);
        if (alignment == taLeftJustify)
            r.setRight(cell.right());
        else
            r.setLeft(cell.left());
    } else if (multiLine) {
        // A multi-line node's text rectangle is only as wide as its widest word, but the tree
        // wraps its text over the whole rest of the cell: an editor of the rectangle alone
        // left a column a word wide to type in. It takes the wrapping room instead.
        const QRect cell = GetDisplayRect(FFocusedNode, FEditColumn, false);
        if (UseRightToLeftReading())
            r.setLeft(cell.left());
        else
            r.setRight(cell.right());
    }
    if (opt.PaintOptions.contains(toShowHorzGridLines))
        r.setBottom(r.bottom() - 1);
    r.setHeight(std::max(r.height(), FEditLink->GetBounds().height()));
    FEditLink->SetBounds(r);
}

void TBaseLazyTree::DoFreeNode(PLazyNode node)
{
    // The old tree kept editing a node that was deleted under the editor, and ending that edit
    // later wrote the text into freed memory. The edit ends here, while the node still lives,
    // and without its value; an editor that refuses to cancel is dropped all the same.
    if (node && node == FEditNode) {
        FEditNode = nullptr;
        if (FStates.contains(tsEditing) && !DoEditCancelled()) {
            DoStateChange({}, {tsEditing});
            FEditLink.reset();
        }
    }
    LazyTreeModel::DoFreeNode(node);
}

void TBaseLazyTree::abandonEdit()
{
    StopTimer(EditTimer);
    FStates.exclude(tsEditPending);
    FEditNode = nullptr;
    std::shared_ptr<ILTEditLink> link = std::move(FEditLink);
    if (!FStates.contains(tsEditing) || !link)
        return;
    FStates.exclude(tsEditing);
    try {
        link->CancelEdit();
    } catch (const std::exception& e) {
        qWarning("Lazy tree: an editor failed to cancel while the tree was destroyed: %s",
                 e.what());
    } catch (...) {
        qWarning("Lazy tree: an editor failed to cancel while the tree was destroyed");
    }
}

}  // namespace zfw
