// Mouse handling: the row's element under a point, button-down, button-up and double click,
// check boxes pressed and released, the rubber band's start, hot tracking.

#include "tree/LazyTreesControl.h"
#include "tree/core/LazyTreesGuard.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QMenu>
#include <QMouseEvent>

#include <algorithm>
#include <cstdlib>
#include <exception>

namespace zfw {

namespace {

constexpr int ButtonWidth = 9;

}  // namespace

void TBaseLazyTree::DetermineHitPositionLTR(THitInfo& hitInfo, int offset, int right,
                                            TAlignment alignment)
{
    PLazyNode node = hitInfo.HitNode;
    const TLazyTreeOptionSets& opt = options();
    const TColumnIndex column = hitInfo.HitColumn;
    // Only the main column (or the implicit one) has indentation, a button and a check box.
    const bool mainColumn = column <= NoColumn || column == FHeader->MainColumn();
    int indent = !mainColumn ? 0
                 : opt.PaintOptions.contains(toFixedIndent)
                     ? FIndent
                     : FIndent * int(GetNodeLevel(node))
                           + (opt.PaintOptions.contains(toShowRoot) ? FIndent : 0);
    if (offset < indent + FMargin) {
        bool button = false;
        if (mainColumn && opt.PaintOptions.contains(toShowButtons) && node->has(vsHasChildren)) {
            if (offset >= indent - FIndent) {
                hitInfo.HitPositions.include(hiOnItemButton);
                button = true;
            }
            if (offset >= indent - ButtonWidth) {
                hitInfo.HitPositions.include(hiOnItemButtonExact);
                button = true;
            }
        }
        if (!button)
            hitInfo.HitPositions.include(hiOnItemIndent);
        return;
    }
    int pos = indent + FMargin;
    const bool check = mainColumn && opt.MiscOptions.contains(toCheckSupport)
                       && node->CheckType != ctNone;
    if (check)
        pos += checkImages().images().Width() + 2;
    if (offset < pos) {
        hitInfo.HitPositions = THitPositions{hiOnItem};
        if (check)
            hitInfo.HitPositions.include(hiOnItemCheckbox);
        return;
    }
    bool ghosted = false;
    int index = -1;
    const TImageList* list = nullptr;
    if (FStateImages) {
        DoGetImageIndex(node, ikState, column, ghosted, index, list);
        if (index >= 0) {
            pos += (list ? list : FStateImages)->Width() + 2;
            if (offset < pos) {
                hitInfo.HitPositions.include(hiOnStateIcon);
                return;
            }
        }
    }
    index = -1;
    list = nullptr;
    if (FImages || OnGetImageIndexEx) {
        DoGetImageIndex(node, node->has(vsSelected) ? ikSelected : ikNormal, column, ghosted, index,
                        list);
        if (!list)
            list = FImages;
        if (index >= 0 && list) {
            pos += list->Width() + 2;
            if (offset < pos) {
                hitInfo.HitPositions.include(hiOnNormalIcon);
                return;
            }
        }
    }
    const int textWidth = DoGetNodeWidth(node, column);
    if (right - pos < textWidth) {
        hitInfo.HitPositions.include(hiOnItemLabel);
        return;
    }
    switch (alignment) {
    case taLeftJustify:
        hitInfo.HitPositions.include(offset >= pos + textWidth ? hiOnItemRight : hiOnItemLabel);
        break;
    case taRightJustify:
        hitInfo.HitPositions.include(offset >= right - textWidth ? hiOnItemLabel : hiOnItemLeft);
        break;
    case taCenter: {
        const int l = (pos + right - textWidth) / 2;
        hitInfo.HitPositions.include(offset < l                ? hiOnItemLeft
                                     : offset >= l + textWidth ? hiOnItemRight
                                                               : hiOnItemLabel);
        break;
    }
    }
}

void TBaseLazyTree::DetermineHitPositionRTL(THitInfo& hitInfo, int offset, int right,
                                            TAlignment alignment)
{
    PLazyNode node = hitInfo.HitNode;
    const TLazyTreeOptionSets& opt = options();
    const TColumnIndex column = hitInfo.HitColumn;
    const bool mainColumn = column <= NoColumn || column == FHeader->MainColumn();
    const int indent = !mainColumn ? 0
                       : opt.PaintOptions.contains(toFixedIndent)
                           ? FIndent
                           : FIndent * int(GetNodeLevel(node))
                                 + (opt.PaintOptions.contains(toShowRoot) ? FIndent : 0);
    right -= indent;
    if (offset >= right) {
        bool button = false;
        if (mainColumn && opt.PaintOptions.contains(toShowButtons) && node->has(vsHasChildren)) {
            if (offset <= right + FIndent) {
                hitInfo.HitPositions.include(hiOnItemButton);
                button = true;
            }
            if (offset <= right + ButtonWidth) {
                hitInfo.HitPositions.include(hiOnItemButtonExact);
                button = true;
            }
        }
        if (!button)
            hitInfo.HitPositions.include(hiOnItemIndent);
        return;
    }
    int pos = right - FMargin;
    const bool check = mainColumn && opt.MiscOptions.contains(toCheckSupport)
                       && node->CheckType != ctNone;
    if (check)
        pos -= checkImages().images().Width() + 2;
    if (offset > pos) {
        hitInfo.HitPositions = THitPositions{hiOnItem};
        if (check)
            hitInfo.HitPositions.include(hiOnItemCheckbox);
        return;
    }
    bool ghosted = false;
    int index = -1;
    const TImageList* list = nullptr;
    if (FStateImages) {
        DoGetImageIndex(node, ikState, column, ghosted, index, list);
        if (index >= 0) {
            pos -= (list ? list : FStateImages)->Width() + 2;
            if (offset > pos) {
                hitInfo.HitPositions.include(hiOnStateIcon);
                return;
            }
        }
    }
    index = -1;
    list = nullptr;
    if (FImages || OnGetImageIndexEx) {
        DoGetImageIndex(node, node->has(vsSelected) ? ikSelected : ikNormal, column, ghosted, index,
                        list);
        if (!list)
            list = FImages;
        if (index >= 0 && list) {
            pos -= list->Width() + 2;
            if (offset > pos) {
                hitInfo.HitPositions.include(hiOnNormalIcon);
                return;
            }
        }
    }
    const int textWidth = DoGetNodeWidth(node, column);
    if (pos < textWidth) {
        hitInfo.HitPositions.include(hiOnItemLabel);
        return;
    }
    // The alignment is mirrored: left justification reads from the right edge.
    switch (alignment) {
    case taLeftJustify:
        hitInfo.HitPositions.include(offset < pos - textWidth ? hiOnItemLeft : hiOnItemLabel);
        break;
    case taCenter: {
        const int l = (pos - textWidth) / 2;
        hitInfo.HitPositions.include(offset < l               ? hiOnItemLeft
                                     : offset < l + textWidth ? hiOnItemLabel
                                                              : hiOnItemRight);
        break;
    }
    case taRightJustify:
        hitInfo.HitPositions.include(offset > textWidth ? hiOnItemRight : hiOnItemLabel);
        break;
    }
}

bool TBaseLazyTree::pressCheckBox(PLazyNode node, TLazyTreeState pending)
{
    if (FStates.contains(tsMouseCheckPending) || FStates.contains(tsKeyCheckPending)
        || node->has(vsDisabled) || node->CheckType == ctNone)
        return false;
    TCheckState next = DetermineNextCheckState(node->CheckType, node->CheckState);
    if (!DoChecking(node, next))
        return false;
    DoStateChange({pending});
    FCheckNode = node;
    FPendingCheckState = next;
    // The pressed form of the current state.
    switch (node->CheckState) {
    case csUncheckedNormal: node->CheckState = csUncheckedPressed; break;
    case csCheckedNormal: node->CheckState = csCheckedPressed; break;
    case csMixedNormal: node->CheckState = csMixedPressed; break;
    default: break;
    }
    InvalidateNode(node);
    return true;
}

void TBaseLazyTree::releaseCheckBox(bool apply)
{
    PLazyNode node = FCheckNode;
    FCheckNode = nullptr;
    DoStateChange({}, {tsMouseCheckPending, tsKeyCheckPending});
    if (!node)
        return;
    // The unpressed form first, so that the change compares against the real state.
    switch (node->CheckState) {
    case csUncheckedPressed: node->CheckState = csUncheckedNormal; break;
    case csCheckedPressed: node->CheckState = csCheckedNormal; break;
    case csMixedPressed: node->CheckState = csMixedNormal; break;
    default: break;
    }
    if (apply)
        DoCheckClick(node, FPendingCheckState);
    InvalidateNode(node);
}

bool TBaseLazyTree::CanSplitterResizeNode(QPoint p, PLazyNode node, TColumnIndex column)
{
    // Only a fixed column's splitter resizes a node. A tree without header columns has the
    // implicit column alone, which spans the row and counts as fixed.
    const bool fixedColumn = column == NoColumn
                             || (FHeader->Columns().IsValidColumn(column)
                                 && FHeader->Columns()[column].Options().contains(coFixed));
    bool allowed = options().MiscOptions.contains(toNodeHeightResize) && node && node != RootNode()
                   && fixedColumn;
    if (OnCanSplitterResizeNode)
        OnCanSplitterResizeNode(*this, p, node, column, allowed);
    return allowed;
}

bool TBaseLazyTree::CanEdit(PLazyNode node, TColumnIndex column)
{
    const TLazyTreeOptionSets& opt = options();
    bool allowed = opt.MiscOptions.contains(toEditable) && !opt.MiscOptions.contains(toReadOnly)
                   && isEnabled() && node && node != RootNode() && !node->has(vsDisabled);
    DoEditing(node, column, allowed);
    return allowed;
}

void TBaseLazyTree::DoPopupMenu(PLazyNode node, TColumnIndex column, QPoint position)
{
    if (!OnGetPopupMenu)
        return;
    QMenu* menu = nullptr;
    bool askParent = true;
    // A node without a menu of its own may take its parent's, up to a top-level node.
    for (PLazyNode run = node;; run = run->Parent) {
        OnGetPopupMenu(*this, run, column, position, askParent, menu);
        if (menu || !askParent || !run || run->Parent == RootNode() || run == RootNode())
            break;
    }
    if (!menu)
        return;
    DoStateChange({tsPopupMenuShown});
    menu->popup(viewport()->mapToGlobal(position));
}

void TBaseLazyTree::HandleMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                                    QPoint pos, THitInfo& hitInfo)
{
    const TLazyTreeOptionSets& opt = options();
    // A pending edit of an earlier click is dropped.
    StopTimer(EditTimer);
    DoStateChange({}, {tsEditPending});
    if (FStates.contains(tsEditing) && !EndEditNode())
        return;
    if (!hasFocus() && focusPolicy() != Qt::NoFocus) {
        setFocus(Qt::MouseFocusReason);
        // Taking the focus may have scrolled.
        GetHitTestInfoAt(pos.x(), pos.y(), true, hitInfo);
    }
    FClickIndex = hitInfo.HitColumn;
    // With extended focus a click moves the focus to the clicked column when it may take it.
    TColumnIndex newColumn = FFocusedColumn;
    if (options().SelectionOptions.contains(toExtendedFocus)
        && FHeader->AllowFocus(hitInfo.HitColumn))
        newColumn = hitInfo.HitColumn;
    const bool columnChanged = newColumn != FFocusedColumn;
    const bool alt = modifiers.testFlag(Qt::AltModifier);
    const bool shift = modifiers.testFlag(Qt::ShiftModifier);
    const bool ctrl = modifiers.testFlag(Qt::ControlModifier);
    const bool noShift = !shift && !ctrl;
    PLazyNode node = hitInfo.HitNode;
    const THitPositions& hp = hitInfo.HitPositions;
    const bool isLabelHit = !alt && !opt.SelectionOptions.contains(toSimpleDrawSelection)
                            && (hp.contains(hiOnItemLabel) || hp.contains(hiOnNormalIcon));
    const bool isCellHit = !alt && !isLabelHit && node && !hp.contains(hiNowhere)
                           && !hp.contains(hiOnItemButton) && !hp.contains(hiOnItemCheckbox)
                           && opt.SelectionOptions.contains(toFullRowSelect);
    const bool isAnyHit = isLabelHit || isCellHit;
    const bool nodeSelected = isAnyHit && node->has(vsSelected);
    const bool multiSelect = opt.SelectionOptions.contains(toMultiSelect);
    const bool fullRowDragOption = opt.MiscOptions.contains(toFullRowDrag);
    const bool fullRowDrag = (!multiSelect || opt.SelectionOptions.contains(toDisableDrawSelection))
                                 ? fullRowDragOption
                                 : isCellHit && fullRowDragOption && !hp.contains(hiNowhere)
                                       && (nodeSelected || hp.contains(hiOnItemLabel)
                                           || hp.contains(hiOnNormalIcon));
    const bool autoDrag = dragAllowedAt(node, newColumn, isCellHit, isLabelHit, fullRowDrag);
    const bool isHeightTracking = button == Qt::LeftButton && hp.contains(hiOnItem)
                                  && (hp.contains(hiUpperSplitter) || hp.contains(hiLowerSplitter));

    if (isHeightTracking && node) {
        PLazyNode tracked = hp.contains(hiUpperSplitter) ? GetPreviousVisible(node, true) : node;
        if (tracked && CanSplitterResizeNode(pos, tracked, hitInfo.HitColumn)) {
            FHeightTrackNode = tracked;
            FHeightTrackColumn = hitInfo.HitColumn;
            FHeightTrackPoint = GetDisplayRect(tracked, hitInfo.HitColumn, false).topLeft();
            DoStateChange({tsNodeHeightTrackPending});
            return;
        }
    }
    if (node && hp.contains(hiOnItemButton) && node->has(vsHasChildren)) {
        ToggleNode(node);
        return;
    }
    if (node && hp.contains(hiOnItemCheckbox)) {
        if (button == Qt::LeftButton)
            pressCheckBox(node, tsMouseCheckPending);
        return;
    }
    if ((noShift && !IsEmpty()) || SelectedCount() == 0) {
        PLazyNode levelNode = node ? node : GetLastVisible();
        FLastSelectionLevel = levelNode ? int(GetNodeLevel(levelNode)) : -1;
    }
    // A plain click on a selected node keeps the selection until the button comes up, so that
    // a drag can take the whole selection.
    if (multiSelect && noShift && isAnyHit && autoDrag && nodeSelected && !SelectionLocked())
        DoStateChange({tsClearPending});
    bool canClear = !autoDrag;
    if (FStates.contains(tsRightButtonDown))
        canClear = !HasPopupMenu(node, hitInfo.HitColumn, pos);
    if (!opt.SelectionOptions.contains(toDisableDrawSelection) && !isLabelHit && !fullRowDrag
        && multiSelect) {
        DoStateChange({tsDrawSelPending});
        FDrawSelShiftState = modifiers;
        const int x = pos.x() + FEffectiveOffsetX;
        const int y = pos.y() - FOffsetY;
        FNewSelRect = TRect{x, y, x, y};
        FLastSelRect = TRect{};
    }
    if (!SelectionLocked() && !FStates.contains(tsClearPending)
        && ((multiSelect && !isCellHit && !isLabelHit && !fullRowDrag && noShift)
            || (isAnyHit && (!nodeSelected || canClear) && (noShift || !multiSelect)))) {
        if (nodeSelected || (alt && node && !hp.contains(hiNowhere))) {
            const bool several = SelectedCount() > 1;
            InternalClearSelection();
            InternalAddToSelection(node, true);
            if (several) {
                Invalidate();
                Change(nullptr);
            }
        } else if (!(hp.contains(hiNowhere) && opt.SelectionOptions.contains(toAlwaysSelectNode))) {
            InvalidateAndClearSelection(false);
        }
    }
    // A click on the focused, selected label may start an edit at button-up.
    if (hasFocus() && (isLabelHit || (opt.MiscOptions.contains(toGridExtensions) && node))
        && nodeSelected && !columnChanged && noShift)
        DoStateChange({tsEditPending});
    if (!opt.SelectionOptions.contains(toDisableDrawSelection) && !isLabelHit && !fullRowDrag
        && (multiSelect || hp.contains(hiNowhere)) && !isCellHit)
        return;
    FLastClickPos = pos;
    if (isAnyHit && DoFocusChanging(FFocusedNode, node, FFocusedColumn, newColumn)) {
        PLazyNode lastFocused = FFocusedNode;
        if (node != lastFocused)
            ChangeFocusedNode(node, false);
        const bool focusedColumnMoved = newColumn != FFocusedColumn;
        if (focusedColumnMoved) {
            FFocusedColumn = newColumn;
            InvalidateNode(node);
            if (lastFocused && lastFocused != node)
                InvalidateNode(lastFocused);
        }
        // Ctrl on a selected node toggles it at button-up also without a drag hook, so that
        // the press alone never drops a node a drag could still take.
        if (multiSelect && !noShift)
            HandleClickSelection(lastFocused, node, shift, ctrl, autoDrag || nodeSelected);
        else if (noShift) {
            FRangeAnchor = node;
            if (!node->has(vsSelected))
                AddToSelection(node);
        }
        if (FFocusedNode != lastFocused || focusedColumnMoved) {
            ScrollIntoView(FFocusedNode, opt.SelectionOptions.contains(toCenterScrollIntoView),
                           !opt.AutoOptions.contains(toDisableAutoscrollOnFocus)
                               && !opt.SelectionOptions.contains(toFullRowSelect));
            DoFocusChanged(FFocusedNode, FFocusedColumn);
        }
    }
    if (SelectedCount() == 0)
        Change(nullptr);
    const bool buttonDown = FStates.contains(tsLeftButtonDown)
                            || FStates.contains(tsMiddleButtonDown)
                            || FStates.contains(tsRightButtonDown);
    if (autoDrag && isAnyHit && buttonDown) {
        if (OnDragStartHook)
            OnDragStartHook(*this, node);
        BeginDrag(false, -1);
    }
}

bool TBaseLazyTree::HasPopupMenu(PLazyNode node, TColumnIndex column, QPoint pos)
{
    if (!OnGetPopupMenu)
        return false;
    QMenu* menu = nullptr;
    bool askParent = true;
    OnGetPopupMenu(*this, node, column, pos, askParent, menu);
    return menu != nullptr;
}

void TBaseLazyTree::clearPendingInput(TLazyTreeStates states)
{
    if (states.contains(tsMouseCheckPending) || states.contains(tsKeyCheckPending)) {
        if (PLazyNode node = FCheckNode) {
            FCheckNode = nullptr;
            if (node->CheckState == csUncheckedPressed)
                node->CheckState = csUncheckedNormal;
            else if (node->CheckState == csCheckedPressed)
                node->CheckState = csCheckedNormal;
            else if (node->CheckState == csMixedPressed)
                node->CheckState = csMixedNormal;
            InvalidateNode(node);
        }
    }
    if (states.contains(tsNodeHeightTracking) || states.contains(tsNodeHeightTrackPending))
        FHeightTrackNode = nullptr;
    if (states.contains(tsDrawSelPending) || states.contains(tsDrawSelecting)) {
        FNewSelRect = TRect{};
        FLastSelRect = TRect{};
    }
    if (states.contains(tsEditPending))
        StopTimer(EditTimer);
    // Written directly: a handler that failed may fail again from OnStateChange.
    FStates.exclude(states);
}

void TBaseLazyTree::HandleMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                                  QPoint pos, const THitInfo& hitInfo)
{
    // A handler failing on the way (a selection change, a check) leaves nothing pending: no
    // half-made band, no clearance or toggle waiting, no pressed check box, no edit to come.
    ScopeGuard nothingPending([this] {
        if (std::uncaught_exceptions() == 0)
            return;
        clearPendingInput(TLazyTreeStates{tsDrawSelPending, tsDrawSelecting, tsClearPending,
                                          tsToggleFocusedSelection, tsMouseCheckPending,
                                          tsEditPending});
    });
    if (IsMouseSelecting()) {
        DoStateChange({}, {tsToggleFocusedSelection, tsDrawSelPending, tsDrawSelecting});
        FNewSelRect = TRect{};
        FLastSelRect = TRect{};
        Invalidate();
    }
    if (FStates.contains(tsClearPending)) {
        const bool focusedSelected = FFocusedNode && FFocusedNode->has(vsSelected);
        ClearSelection();
        if (focusedSelected)
            AddToSelection(FFocusedNode);
    }
    if (FStates.contains(tsToggleFocusedSelection) && hitInfo.HitNode == FFocusedNode
        && FFocusedNode) {
        if (!FFocusedNode->has(vsSelected))
            AddToSelection(FFocusedNode);
        else if (!(options().SelectionOptions.contains(toAlwaysSelectNode) && SelectedCount() == 1))
            RemoveFromSelection(FFocusedNode);
        InvalidateNode(FFocusedNode);
    }
    DoStateChange({}, {tsToggleFocusedSelection, tsClearPending, tsDrawSelPending, tsOLEDragging,
                       tsOLEDragPending, tsScrolling, tsScrollPending});
    StopTimer(ScrollTimer);
    if (FStates.contains(tsMouseCheckPending)) {
        // Released off the pressed box (another node, or the same node off its row) changes
        // nothing.
        releaseCheckBox(FCheckNode && hitInfo.HitNode == FCheckNode
                        && hitInfo.HitPositions.contains(hiOnItem));
    }
    if (FClickIndex >= 0 && FClickIndex == hitInfo.HitColumn)
        DoColumnClick(hitInfo.HitColumn, modifiers);
    if (hitInfo.HitNode)
        DoNodeClick(hitInfo);
    if (FStates.contains(tsEditPending)) {
        if (hitInfo.HitNode && hitInfo.HitNode == FFocusedNode
            && hitInfo.HitPositions.contains(hiOnItem)
            && options().MiscOptions.contains(toEditOnClick) && hitInfo.HitColumn == FFocusedColumn
            && CanEdit(FFocusedNode, FFocusedColumn)) {
            FEditColumn = FFocusedColumn;
            startTimerById(EditTimer, FEditDelay);
        } else {
            DoStateChange({}, {tsEditPending});
        }
    }
}

void TBaseLazyTree::HandleMouseDblClick(Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                                        QPoint pos, const THitInfo& hitInfo)
{
    const TLazyTreeOptionSets& opt = options();
    bool mayEdit = !FStates.contains(tsEditing) && opt.MiscOptions.contains(toEditOnDblClick);
    StopTimer(EditTimer);
    DoStateChange({}, {tsEditPending});
    PLazyNode node = hitInfo.HitNode;
    const THitPositions& hp = hitInfo.HitPositions;
    if (!FStates.contains(tsEditing) || EndEditNode()) {
        if (hitInfo.HitColumn >= 0 && hitInfo.HitColumn == FClickIndex)
            DoColumnDblClick(hitInfo.HitColumn, modifiers);
        if (node)
            DoNodeDblClick(hitInfo);
        PLazyNode sized = nullptr;
        if (node && hp.contains(hiOnItem)
            && (hp.contains(hiUpperSplitter) || hp.contains(hiLowerSplitter))
            && CanSplitterResizeNode(pos, node, hitInfo.HitColumn))
            sized = hp.contains(hiUpperSplitter) ? GetPreviousVisible(node, true) : node;
        if (sized && sized != RootNode()) {
            if (opt.MiscOptions.contains(toNodeHeightDblClickResize)
                && DoNodeHeightDblClickResize(sized, hitInfo.HitColumn, modifiers, pos)) {
                SetNodeHeight(sized, std::uint32_t(FDefaultNodeHeight));
                viewport()->update();
                mayEdit = false;
            }
        } else if (node && hp.contains(hiOnItemCheckbox)) {
            if (button == Qt::LeftButton && pressCheckBox(node, tsMouseCheckPending))
                mayEdit = false;
        } else if (node
                   && (hp.contains(hiOnItemButton)
                       || (opt.MiscOptions.contains(toToggleOnDblClick)
                           && (hp.contains(hiOnItemLabel) || hp.contains(hiOnNormalIcon)
                               || hp.contains(hiOnStateIcon)
                               || opt.SelectionOptions.contains(toFullRowSelect))))) {
            ToggleNode(node);
            mayEdit = false;
        }
    }
    if (mayEdit && node && node == FFocusedNode && hitInfo.HitColumn == FFocusedColumn
        && CanEdit(node, FFocusedColumn)) {
        DoStateChange({tsEditPending});
        FEditColumn = FFocusedColumn;
        startTimerById(EditTimer, 0);
    }
}

void TBaseLazyTree::HandleHotTrack(int x, int y)
{
    THitInfo hit;
    GetHitTestInfoAt(x, y, true, hit);
    const TLazyTreeOptionSets& opt = options();
    const THitPositions& hp = hit.HitPositions;
    // Only the check box and the label make a node hot (the whole row with full-row
    // selection).
    PLazyNode hot = nullptr;
    if (hp.contains(hiOnItemCheckbox) || hp.contains(hiOnItemLabel)
        || (opt.SelectionOptions.contains(toFullRowSelect) && !hp.contains(hiNowhere)))
        hot = hit.HitNode;
    PLazyNode old = FCurrentHotNode;
    const bool doInvalidate = opt.PaintOptions.contains(toHotTrack)
                              || opt.MiscOptions.contains(toCheckSupport);
    const bool changed = hot != old || (hot && hit.HitColumn != FCurrentHotColumn);
    if (changed) {
        DoHotChange(old, hot);
        if (doInvalidate && old)
            InvalidateNode(old);
        FCurrentHotNode = hot;
        FCurrentHotColumn = hit.HitColumn;
    }
    const bool buttonHit = hp.contains(hiOnItemButtonExact);
    if (hot && (buttonHit != FHotNodeButtonHit || (changed && doInvalidate))) {
        FHotNodeButtonHit = buttonHit;
        InvalidateNode(hot);
    } else if (!hot) {
        FHotNodeButtonHit = false;
    }
    if (changed && old && old != hot)
        InvalidateNode(old);
}

Qt::CursorShape TBaseLazyTree::cursorAt(QPoint p)
{
    Qt::CursorShape shape = testAttribute(Qt::WA_SetCursor) ? cursor().shape() : Qt::ArrowCursor;
    if (FHeader && FHeader->BorderCursor(p, shape))
        return shape;
    bool chosen = false;
    if (options().MiscOptions.contains(toNodeHeightResize)) {
        THitInfo hit;
        GetHitTestInfoAt(p.x(), p.y(), true, hit);
        const THitPositions& hp = hit.HitPositions;
        if (hit.HitNode && hp.contains(hiOnItem)
            && (hp.contains(hiUpperSplitter) || hp.contains(hiLowerSplitter))) {
            PLazyNode node = hp.contains(hiUpperSplitter) ? GetPreviousVisible(hit.HitNode, true)
                                                          : hit.HitNode;
            if (node && CanSplitterResizeNode(p, node, hit.HitColumn)) {
                shape = Qt::SplitVCursor;
                chosen = true;
            }
        }
    }
    if (!chosen && options().PaintOptions.contains(toHotTrack) && FCurrentHotNode
        && FHotCursor != 0)
        shape = Qt::CursorShape(FHotCursor);
    DoGetCursor(shape);
    return shape;
}

void TBaseLazyTree::mousePressEvent(QMouseEvent* event)
{
    guardedEvent("a click", [&] {
        const QPoint pos = event->position().toPoint();
        THitInfo hit;
        GetHitTestInfoAt(pos.x(), pos.y(), true, hit);
        const TLazyTreeOptionSets& opt = options();
        // A handler failing at button-down leaves nothing waiting for the button-up: no band,
        // clearance, edit, height drag or pressed check box.
        ScopeGuard nothingPending([this] {
            if (std::uncaught_exceptions() > 0)
                clearPendingInput(TLazyTreeStates{tsDrawSelPending, tsDrawSelecting, tsClearPending,
                                                  tsToggleFocusedSelection, tsEditPending,
                                                  tsNodeHeightTrackPending, tsMouseCheckPending});
        });
        if (panningMouseButton(event->button(), pos, true))
            return;
        switch (event->button()) {
        case Qt::LeftButton:
            DoStateChange({tsLeftButtonDown});
            HandleMouseDown(event->button(), event->modifiers(), pos, hit);
            break;
        case Qt::MiddleButton:
            DoStateChange({tsMiddleButtonDown});
            if (opt.SelectionOptions.contains(toMiddleClickSelect))
                HandleMouseDown(event->button(), event->modifiers(), pos, hit);
            break;
        case Qt::RightButton:
            DoStateChange({tsRightButtonDown});
            if (opt.SelectionOptions.contains(toRightClickSelect))
                HandleMouseDown(event->button(), event->modifiers(), pos, hit);
            break;
        default: break;
        }
    });
}

void TBaseLazyTree::mouseReleaseEvent(QMouseEvent* event)
{
    guardedEvent("a click", [&] {
        const Qt::MouseButton button = event->button();
        // The button states are left on every way out, a failing handler included.
        ScopeGuard buttonsUp([&] {
            if (button == Qt::LeftButton)
                FStates.exclude(TLazyTreeStates{tsLeftButtonDown, tsNodeHeightTracking,
                                                tsNodeHeightTrackPending});
            else if (button == Qt::MiddleButton)
                FStates.exclude(TLazyTreeStates{tsMiddleButtonDown});
            else if (button == Qt::RightButton)
                FStates.exclude(TLazyTreeStates{tsRightButtonDown, tsPopupMenuShown});
        });
        const QPoint pos = event->position().toPoint();
        if (panningMouseButton(button, pos, false))
            return;
        THitInfo hit;
        GetHitTestInfoAt(pos.x(), pos.y(), true, hit);
        const TLazyTreeOptionSets& opt = options();
        switch (button) {
        case Qt::LeftButton:
            DoStateChange({}, {tsNodeHeightTracking, tsNodeHeightTrackPending, tsLeftButtonDown});
            FHeightTrackNode = nullptr;
            HandleMouseUp(button, event->modifiers(), pos, hit);
            break;
        case Qt::MiddleButton:
            DoStateChange({}, {tsMiddleButtonDown});
            if (opt.SelectionOptions.contains(toMiddleClickSelect))
                HandleMouseUp(button, event->modifiers(), pos, hit);
            break;
        case Qt::RightButton:
            DoStateChange({}, {tsRightButtonDown, tsPopupMenuShown});
            if (opt.SelectionOptions.contains(toRightClickSelect))
                HandleMouseUp(button, event->modifiers(), pos, hit);
            break;
        default: break;
        }
    });
}

void TBaseLazyTree::mouseDoubleClickEvent(QMouseEvent* event)
{
    guardedEvent("a double click", [&] {
        const QPoint pos = event->position().toPoint();
        THitInfo hit;
        GetHitTestInfoAt(pos.x(), pos.y(), true, hit);
        const TLazyTreeOptionSets& opt = options();
        TLazyTreeState dbl = tsLeftDblClick;
        switch (event->button()) {
        case Qt::LeftButton: DoStateChange({tsLeftButtonDown}); break;
        case Qt::MiddleButton:
            if (!opt.SelectionOptions.contains(toMiddleClickSelect))
                return;
            DoStateChange({tsMiddleButtonDown});
            dbl = tsMiddleDblClick;
            break;
        case Qt::RightButton:
            if (!opt.SelectionOptions.contains(toRightClickSelect))
                return;
            DoStateChange({tsRightButtonDown});
            dbl = tsRightDblClick;
            break;
        default: return;
        }
        DoStateChange({dbl});
        ScopeGuard leave([&] { FStates.exclude(TLazyTreeStates{dbl}); });
        HandleMouseDblClick(event->button(), event->modifiers(), pos, hit);
    });
}

void TBaseLazyTree::mouseMoveEvent(QMouseEvent* event)
{
    guardedEvent("a mouse move", [&] {
        const QPoint pos = event->position().toPoint();
        if (FStates.contains(tsNodeHeightTrackPending)) {
            for (int id : {ExpandTimer, EditTimer, HeaderTimer, ScrollTimer, SearchTimer})
                StopTimer(id);
            FSearchBuffer.clear();
            FLastSearchNode = nullptr;
            DoStateChange({tsNodeHeightTracking},
                          {tsEditPending, tsNodeHeightTrackPending, tsIncrementalSearching,
                           tsOLEDragPending, tsScrolling, tsScrollPending, tsVCLDragPending});
        }
        if (dragMouseMove(pos))
            return;
        if (!FStates.contains(tsDrawSelPending)) {
            if (FStates.contains(tsNodeHeightTracking)) {
                if (FHeightTrackNode
                    && DoNodeHeightTracking(FHeightTrackNode, FHeightTrackColumn,
                                            QApplication::keyboardModifiers(), FHeightTrackPoint,
                                            pos))
                    SetNodeHeight(FHeightTrackNode,
                                  std::uint32_t(std::max(1, pos.y() - FHeightTrackPoint.y())));
            } else if (!IsMouseSelecting()) {
                HandleHotTrack(pos.x(), pos.y());
                const Qt::CursorShape shape = cursorAt(pos);
                if (viewport()->cursor().shape() != shape)
                    viewport()->setCursor(shape);
                return;
            } else if (!FStates.contains(tsScrolling) && CalculateSelectionRect(pos.x(), pos.y())) {
                HandleDrawSelection(pos.x(), pos.y());
                Invalidate();
            }
            return;
        }
        if (CalculateSelectionRect(pos.x(), pos.y())) {
            Invalidate();
            const int dragDistance = QApplication::startDragDistance();
            const TRect r = FNewSelRect;
            // A band below the drag distance selects nothing.
            if (std::abs(r.Right - r.Left) > dragDistance
                || std::abs(r.Bottom - r.Top) > dragDistance) {
                if (FStates.contains(tsClearPending)) {
                    DoStateChange({}, {tsClearPending});
                    ClearSelection();
                }
                DoStateChange({tsDrawSelecting}, {tsDrawSelPending});
                HandleDrawSelection(pos.x(), pos.y());
            }
        }
    });
}

void TBaseLazyTree::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    guardedEvent("gaining the focus", [this] {
        EnsureNodeSelected();
        if (!(SelectedCount() == 0 && options().PaintOptions.contains(toGhostedIfUnfocused)))
            Invalidate();
    });
}

void TBaseLazyTree::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    guardedEvent("losing the focus", [this] {
        CancelHint();
        for (int id : {ExpandTimer, EditTimer, HeaderTimer, ScrollTimer, SearchTimer})
            StopTimer(id);
        FSearchBuffer.clear();
        FLastSearchNode = nullptr;
        // Whatever a click or a key left waiting is dropped with the focus; a check box still
        // held down by Space comes back up unchanged.
        if (FStates.contains(tsKeyCheckPending))
            releaseCheckBox(false);
        DoStateChange({}, {tsEditPending, tsNodeHeightTracking, tsNodeHeightTrackPending,
                           tsIncrementalSearching, tsLeftButtonDown, tsMiddleButtonDown,
                           tsOLEDragPending, tsRightButtonDown, tsScrolling, tsScrollPending,
                           tsVCLDragPending});
        FHeightTrackNode = nullptr;
        if (SelectedCount() == 0 && options().PaintOptions.contains(toGhostedIfUnfocused))
            InvalidateNode(FFocusedNode);
        else
            Invalidate();
    });
}

bool TBaseLazyTree::viewportEvent(QEvent* event)
{
    if (hintEvent(event))
        return true;
    // The viewport has events before the header is made and after it is gone.
    if (FHeader && FHeader->HandleClientMouse(*event))
        return true;
    if (event->type() == QEvent::Enter) {
        guardedEvent("the mouse entering", [this] { DoMouseEnter(); });
    } else if (event->type() == QEvent::Leave) {
        guardedEvent("the mouse leaving", [this] {
            if (!FStates.contains(tsWheelPanning) && !FStates.contains(tsWheelScrolling)) {
                StopTimer(ScrollTimer);
                DoStateChange({}, {tsHint, tsScrolling, tsScrollPending});
            } else {
                DoStateChange({}, {tsHint});
            }
            if (PLazyNode hot = FCurrentHotNode) {
                FCurrentHotNode = nullptr;
                FHotNodeButtonHit = false;
                DoHotChange(hot, nullptr);
                if (options().PaintOptions.contains(toHotTrack)
                    || options().MiscOptions.contains(toCheckSupport))
                    InvalidateNode(hot);
            }
            DoMouseLeave();
        });
    }
    return QAbstractScrollArea::viewportEvent(event);
}

void TBaseLazyTree::contextMenuEvent(QContextMenuEvent* event)
{
    guardedEvent("a context menu", [&] {
        DoStateChange({}, {tsClearPending, tsEditPending, tsOLEDragPending, tsVCLDragPending});
        // The menu key is handled with the keys, at the focused node.
        if (event->reason() == QContextMenuEvent::Keyboard)
            return;
        // The viewport's event: its position is a client position already.
        const QPoint pos = event->pos();
        if (IsMouseSelecting()) {
            DoStateChange({}, {tsDrawSelPending, tsDrawSelecting});
            Invalidate();
        }
        THitInfo hit;
        GetHitTestInfoAt(pos.x(), pos.y(), true, hit);
        DoPopupMenu(hit.HitNode, hit.HitColumn, pos);
    });
    event->accept();
}

}  // namespace zfw
