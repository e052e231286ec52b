// Mouse handling: the row's element under a point, button-down, button-up and double click,
// check boxes pressed and released, the rubber band's start, hot tracking.

#include "tree/LazyTreesControl.h"
#include "tree/core/LazyTreesGuard.h"

#include <QApplication>
#include <QMouseEvent>

#include <algorithm>
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
    int indent = opt.PaintOptions.contains(toFixedIndent)
                     ? FIndent
                     : FIndent * int(GetNodeLevel(node))
                           + (opt.PaintOptions.contains(toShowRoot) ? FIndent : 0);
    if (offset < indent + FMargin) {
        bool button = false;
        if (opt.PaintOptions.contains(toShowButtons) && node->has(vsHasChildren)) {
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
    const bool check = opt.MiscOptions.contains(toCheckSupport) && node->CheckType != ctNone;
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
        DoGetImageIndex(node, ikState, NoColumn, ghosted, index, list);
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
        DoGetImageIndex(node, node->has(vsSelected) ? ikSelected : ikNormal, NoColumn, ghosted,
                        index, list);
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
    const int textWidth = DoGetNodeWidth(node, NoColumn);
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
    const int indent = opt.PaintOptions.contains(toFixedIndent)
                           ? FIndent
                           : FIndent * int(GetNodeLevel(node))
                                 + (opt.PaintOptions.contains(toShowRoot) ? FIndent : 0);
    right -= indent;
    if (offset >= right) {
        bool button = false;
        if (opt.PaintOptions.contains(toShowButtons) && node->has(vsHasChildren)) {
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
    const bool check = opt.MiscOptions.contains(toCheckSupport) && node->CheckType != ctNone;
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
        DoGetImageIndex(node, ikState, NoColumn, ghosted, index, list);
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
        DoGetImageIndex(node, node->has(vsSelected) ? ikSelected : ikNormal, NoColumn, ghosted,
                        index, list);
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
    const int textWidth = DoGetNodeWidth(node, NoColumn);
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

void TBaseLazyTree::HandleMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                                    QPoint pos, THitInfo& hitInfo)
{
    const TLazyTreeOptionSets& opt = options();
    if (!hasFocus() && focusPolicy() != Qt::NoFocus) {
        setFocus(Qt::MouseFocusReason);
        GetHitTestInfoAt(pos.x(), pos.y(), true, hitInfo);
    }
    const bool shift = modifiers.testFlag(Qt::ShiftModifier);
    const bool ctrl = modifiers.testFlag(Qt::ControlModifier);
    const bool alt = modifiers.testFlag(Qt::AltModifier);
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
    // The drag start belongs to drag and drop; while it is not wired a selected node still
    // keeps the selection until the button comes up, so that a drag could take it.
    const bool autoDrag = bool(OnDragStartHook) && isAnyHit;

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
    if (multiSelect && noShift && isAnyHit && nodeSelected && !SelectionLocked())
        DoStateChange({tsClearPending});
    const bool canClear = !autoDrag;
    if (!opt.SelectionOptions.contains(toDisableDrawSelection) && !isLabelHit && multiSelect) {
        DoStateChange({tsDrawSelPending});
        const int x = pos.x() + FEffectiveOffsetX;
        const int y = pos.y() - FOffsetY;
        FNewSelRect = TRect{x, y, x, y};
    }
    if (!SelectionLocked()
        && ((multiSelect && !isCellHit && !isLabelHit && noShift)
            || (isAnyHit && (!nodeSelected || canClear) && (noShift || !multiSelect)))
        && !FStates.contains(tsClearPending)) {
        if (nodeSelected) {
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
    if (!opt.SelectionOptions.contains(toDisableDrawSelection) && !isLabelHit
        && (multiSelect || hp.contains(hiNowhere)) && !isCellHit)
        return;
    FLastClickPos = pos;
    if (isAnyHit) {
        PLazyNode lastFocused = FFocusedNode;
        if (node != lastFocused)
            SetFocusedNode(node);
        if (multiSelect && !noShift) {
            HandleClickSelection(lastFocused, node, shift, ctrl, autoDrag || nodeSelected);
        } else if (noShift) {
            FRangeAnchor = node;
            if (!node->has(vsSelected))
                AddToSelection(node);
        }
        if (FFocusedNode != lastFocused)
            ScrollIntoView(FFocusedNode, opt.SelectionOptions.contains(toCenterScrollIntoView),
                           !opt.SelectionOptions.contains(toFullRowSelect));
    }
    if (SelectedCount() == 0)
        Change(nullptr);
    if (autoDrag && isAnyHit && OnDragStartHook)
        OnDragStartHook(*this, node);
}

void TBaseLazyTree::HandleMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                                  QPoint pos, const THitInfo& hitInfo)
{
    // A handler failing on the way (a selection change, a check) leaves nothing pending: no
    // half-made band, no clearance or toggle waiting, no pressed check box.
    ScopeGuard nothingPending([this] {
        if (std::uncaught_exceptions() == 0)
            return;
        FStates.exclude(TLazyTreeStates{tsDrawSelPending, tsDrawSelecting, tsClearPending,
                                        tsToggleFocusedSelection, tsMouseCheckPending});
        if (PLazyNode node = FCheckNode) {
            FCheckNode = nullptr;
            if (node->CheckState == csUncheckedPressed)
                node->CheckState = csUncheckedNormal;
            else if (node->CheckState == csCheckedPressed)
                node->CheckState = csCheckedNormal;
            else if (node->CheckState == csMixedPressed)
                node->CheckState = csMixedNormal;
        }
    });
    if (IsMouseSelecting()) {
        DoStateChange({}, {tsDrawSelPending, tsDrawSelecting});
        FNewSelRect = TRect{};
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
    if (FStates.contains(tsMouseCheckPending)) {
        // Released off the pressed box (another node, or the same node off its row) changes
        // nothing.
        releaseCheckBox(FCheckNode && hitInfo.HitNode == FCheckNode
                        && hitInfo.HitPositions.contains(hiOnItem));
    }
}

void TBaseLazyTree::HandleMouseDblClick(Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                                        QPoint pos, const THitInfo& hitInfo)
{
    PLazyNode node = hitInfo.HitNode;
    if (!node)
        return;
    const THitPositions& hp = hitInfo.HitPositions;
    const TLazyTreeOptionSets& opt = options();
    if (hp.contains(hiOnItemCheckbox)) {
        if (button == Qt::LeftButton)
            pressCheckBox(node, tsMouseCheckPending);
        return;
    }
    if (hp.contains(hiOnItemButton)
        || (opt.MiscOptions.contains(toToggleOnDblClick)
            && (hp.contains(hiOnItemLabel) || hp.contains(hiOnNormalIcon)
                || hp.contains(hiOnStateIcon) || opt.SelectionOptions.contains(toFullRowSelect))))
        ToggleNode(node);
}

void TBaseLazyTree::HandleHotTrack(int x, int y)
{
    THitInfo hit;
    GetHitTestInfoAt(x, y, true, hit);
    const bool buttonHit = hit.HitPositions.contains(hiOnItemButtonExact);
    PLazyNode hot = hit.HitNode;
    if (hot == FCurrentHotNode && buttonHit == FHotNodeButtonHit)
        return;
    PLazyNode old = FCurrentHotNode;
    FCurrentHotNode = hot;
    FHotNodeButtonHit = buttonHit;
    if (old)
        InvalidateNode(old);
    if (hot)
        InvalidateNode(hot);
}

void TBaseLazyTree::mousePressEvent(QMouseEvent* event)
{
    guardedEvent("a click", [&] {
        const QPoint pos = event->position().toPoint();
        THitInfo hit;
        GetHitTestInfoAt(pos.x(), pos.y(), true, hit);
        if (event->button() == Qt::LeftButton)
            DoStateChange({tsLeftButtonDown});
        else if (event->button() == Qt::RightButton)
            DoStateChange({tsRightButtonDown});
        else if (event->button() == Qt::MiddleButton)
            DoStateChange({tsMiddleButtonDown});
        HandleMouseDown(event->button(), event->modifiers(), pos, hit);
    });
}

void TBaseLazyTree::mouseReleaseEvent(QMouseEvent* event)
{
    guardedEvent("a click", [&] {
        // The button states are left on every way out, a failing handler included.
        ScopeGuard buttonsUp([&] {
            DoStateChange({}, {tsLeftButtonDown, tsRightButtonDown, tsMiddleButtonDown});
        });
        const QPoint pos = event->position().toPoint();
        THitInfo hit;
        GetHitTestInfoAt(pos.x(), pos.y(), true, hit);
        HandleMouseUp(event->button(), event->modifiers(), pos, hit);
    });
}

void TBaseLazyTree::mouseDoubleClickEvent(QMouseEvent* event)
{
    guardedEvent("a double click", [&] {
        const QPoint pos = event->position().toPoint();
        THitInfo hit;
        GetHitTestInfoAt(pos.x(), pos.y(), true, hit);
        if (event->button() == Qt::LeftButton)
            DoStateChange({tsLeftButtonDown});
        HandleMouseDblClick(event->button(), event->modifiers(), pos, hit);
    });
}

void TBaseLazyTree::mouseMoveEvent(QMouseEvent* event)
{
    guardedEvent("a mouse move", [&] {
        const QPoint pos = event->position().toPoint();
        if (FStates.contains(tsDrawSelPending) || FStates.contains(tsDrawSelecting)) {
            FNewSelRect.Right = pos.x() + FEffectiveOffsetX;
            FNewSelRect.Bottom = pos.y() - FOffsetY;
            const int dragDistance = QApplication::startDragDistance();
            // A band below the drag distance selects nothing.
            if (FStates.contains(tsDrawSelPending)
                && (std::abs(FNewSelRect.Right - FNewSelRect.Left) > dragDistance
                    || std::abs(FNewSelRect.Bottom - FNewSelRect.Top) > dragDistance)) {
                if (FStates.contains(tsClearPending)) {
                    DoStateChange({}, {tsClearPending});
                    ClearSelection();
                }
                DoStateChange({tsDrawSelecting}, {tsDrawSelPending});
            }
            if (FStates.contains(tsDrawSelecting)) {
                // The rows the band covers are selected, added to the selection with Ctrl or
                // Shift held.
                const int top = std::min(FNewSelRect.Top, FNewSelRect.Bottom);
                const int bottom = std::max(FNewSelRect.Top, FNewSelRect.Bottom);
                int nodeTop = 0;
                PLazyNode first = GetNodeAt(0, top, false, nodeTop);
                int lastTop = 0;
                PLazyNode last = GetNodeAt(0, bottom, false, lastTop);
                if (!last)
                    last = GetLastVisible();
                if (first && last) {
                    const bool add = event->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier);
                    SelectNodes(first, last, add);
                }
                Invalidate();
            }
            return;
        }
        if (options().PaintOptions.contains(toHotTrack)
            || options().PaintOptions.contains(toShowButtons))
            HandleHotTrack(pos.x(), pos.y());
    });
}

}  // namespace zfw
