// Keyboard and wheel: moving the focus through the rows, extending the selection, expanding and
// collapsing, pressing the focused node's check box with Space, help on F1, the editing keys.

#include "tree/LazyTreesControl.h"
#include "tree/core/LazyTreesGuard.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <exception>

namespace zfw {

namespace {

bool isNavigationKey(int key)
{
    switch (key) {
    case Qt::Key_Backspace:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_End:
    case Qt::Key_Home:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down: return true;
    default: return false;
    }
}

constexpr Qt::KeyboardModifiers kModifierMask = Qt::ShiftModifier | Qt::ControlModifier
                                                | Qt::AltModifier;

}  // namespace

int TBaseLazyTree::wheelScrollPixels(int linesPerNotch, int clientHeight, int rowHeight)
{
    // A page per notch scrolls the client less one row, so that a row stays in view.
    if (linesPerNotch < 0)
        return std::max(rowHeight, clientHeight - rowHeight);
    return linesPerNotch * rowHeight;
}

QPoint TBaseLazyTree::wheelDelta(int delta, int linesPerNotch, Qt::KeyboardModifiers modifiers,
                                 bool contentHigher, int clientWidth, int clientHeight,
                                 int defaultNodeHeight, int scrollWidth, bool rightToLeft)
{
    const double factor = delta / 120.0;
    const bool ctrl = modifiers.testFlag(Qt::ControlModifier);
    const bool page = ctrl || linesPerNotch < 0;
    if (contentHigher && !modifiers.testFlag(Qt::ShiftModifier)) {
        const double d = page ? clientHeight * factor
                              : double(linesPerNotch) * factor * defaultNodeHeight;
        return {0, int(std::trunc(d))};
    }
    // Without header columns no column is fixed: a page is the whole client width.
    const double d = page ? clientWidth * factor : double(scrollWidth) * linesPerNotch * factor;
    return {(rightToLeft ? -1 : 1) * int(std::trunc(d)), 0};
}

void TBaseLazyTree::wheelEvent(QWheelEvent* event)
{
    guardedEvent("the wheel", [&] {
        event->accept();
        const QPoint angle = event->angleDelta();
        Qt::KeyboardModifiers mods = event->modifiers();
        int delta = angle.y();
        // A sideways wheel scrolls sideways, as Shift with the wheel does.
        if (delta == 0) {
            delta = angle.x();
            mods |= Qt::ShiftModifier;
        }
        if (delta == 0)
            return;
        const QPoint d = wheelDelta(delta, QApplication::wheelScrollLines(), mods,
                                    FRangeY > clientHeight(), clientWidth(), clientHeight(),
                                    FDefaultNodeHeight, FScrollBarOptions->HorizontalIncrement(),
                                    UseRightToLeftReading());
        if (d.y() != 0)
            SetOffsetY(FOffsetY + d.y());
        else if (d.x() != 0)
            SetOffsetX(FOffsetX + d.x());
    });
}

bool TBaseLazyTree::DoKeyAction(int& key, Qt::KeyboardModifiers& shift)
{
    bool doDefault = true;
    if (OnKeyAction)
        OnKeyAction(*this, key, shift, doDefault);
    return doDefault;
}

bool TBaseLazyTree::event(QEvent* event)
{
    // Tab and Shift+Tab move the focus between windows unless the tree wants them.
    if (event->type() == QEvent::KeyPress && FWantTabs) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            keyPressEvent(key);
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

void TBaseLazyTree::keyPressEvent(QKeyEvent* event)
{
    guardedEvent("a key", [&] {
        int key = event->key();
        Qt::KeyboardModifiers mods = event->modifiers() & kModifierMask;
        if (key == Qt::Key_Backtab) {
            key = Qt::Key_Tab;
            mods |= Qt::ShiftModifier;
        }
        if (!DoKeyAction(key, mods))
            return;
        // A handler failing on the way leaves no search waiting for its character.
        ScopeGuard nothingPending([this] {
            if (std::uncaught_exceptions() > 0)
                clearPendingInput(TLazyTreeStates{tsIncrementalSearchPending});
        });
        // Any other key while Space holds a check box pressed cancels the press.
        if (FStates.contains(tsKeyCheckPending) && key != Qt::Key_Space)
            releaseCheckBox(false);
        bool handled = false;
        if (isNavigationKey(key) && !IsEmpty())
            handled = handleNavigationKey(key, mods);
        else
            handled = handleOtherKey(key, mods, event->text());
        if (FStates.contains(tsIncrementalSearchPending)) {
            // The key's character goes to the search at once: Qt delivers the key and its
            // text in one event.
            DoStateChange({}, {tsIncrementalSearchPending});
            IncrementalSearch(event->text());
            handled = true;
        }
        if (!handled)
            event->ignore();
    });
}

void TBaseLazyTree::keyReleaseEvent(QKeyEvent* event)
{
    guardedEvent("a key", [&] {
        if (event->isAutoRepeat())
            return;
        if (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab)
            EnsureNodeFocused();
        else if (event->key() == Qt::Key_Space && FStates.contains(tsKeyCheckPending))
            releaseCheckBox(FCheckNode && FCheckNode == FFocusedNode);
    });
}

bool TBaseLazyTree::handleNavigationKey(int key, Qt::KeyboardModifiers mods)
{
    const TLazyTreeOptionSets& opt = options();
    const bool shift = mods.testFlag(Qt::ShiftModifier);
    const bool ctrl = mods.testFlag(Qt::ControlModifier);
    const bool alt = mods.testFlag(Qt::AltModifier);
    const bool noModifier = !shift && !ctrl && !alt;
    const bool editing = FStates.contains(tsEditing);
    const bool multi = opt.SelectionOptions.contains(toMultiSelect);
    const bool grid = opt.MiscOptions.contains(toGridExtensions);
    const bool extendSelection = shift && multi && !editing;
    bool rangeToggle = extendSelection
                       && (key == Qt::Key_PageUp || key == Qt::Key_PageDown || key == Qt::Key_End
                           || key == Qt::Key_Home);
    const bool needInvalidate = rangeToggle || SelectedCount() > 1;
    const bool clearSel = noModifier || (grid && !shift) || !multi || key == Qt::Key_Backspace
                          || key == Qt::Key_Tab;
    PLazyNode lastFocused = FFocusedNode;
    if (!lastFocused && !noModifier)
        lastFocused = GetFirstVisible(nullptr, true);
    if (!FRangeAnchor)
        FRangeAnchor = GetFirstSelected() ? GetFirstSelected() : GetFirst();
    const bool rtl = UseRightToLeftReading();
    const int dir = rtl ? -1 : 1;
    const bool center = opt.SelectionOptions.contains(toCenterScrollIntoView);
    // A column step is the columns' scroll width; without header columns the bar's increment.
    TLazyTreeColumns& columns = FHeader->Columns();
    const bool useColumns = FHeader->UseColumns();
    const int scrollWidth = useColumns ? columns.GetScrollWidth()
                                       : FScrollBarOptions->HorizontalIncrement();
    const auto height = [this](PLazyNode n) { return int(GetNodeHeight(n)); };

    switch (key) {
    case Qt::Key_Home:
    case Qt::Key_End: {
        const bool first = (key == Qt::Key_Home) != rtl;
        PLazyNode newNode = first ? GetFirstVisible(nullptr, true) : GetLastVisible(nullptr, true);
        TColumnIndex newColumn = NoColumn;
        if (useColumns) {
            newColumn = first ? columns.GetFirstVisibleColumn() : columns.GetLastVisibleColumn();
            while (newColumn > NoColumn
                   && !DoFocusChanging(FFocusedNode, FFocusedNode, FFocusedColumn, newColumn))
                newColumn = first ? columns.GetNextVisibleColumn(newColumn)
                                  : columns.GetPreviousVisibleColumn(newColumn);
            if (newColumn < NoColumn)
                break;
        }
        if (ctrl && !shift && !alt && !grid) {
            ScrollIntoView(newNode, center, !opt.AutoOptions.contains(toDisableAutoscrollOnFocus));
            // Fully to the other side; the setter clamps.
            SetOffsetX(key == Qt::Key_Home && !rtl ? 0 : -2147483647);
        } else {
            if (!grid || ctrl)
                SetFocusedNode(newNode);
            if (grid && !opt.SelectionOptions.contains(toFullRowSelect))
                SetFocusedColumn(newColumn);
        }
        break;
    }
    case Qt::Key_PageUp:
    case Qt::Key_PageDown: {
        const bool up = key == Qt::Key_PageUp;
        if (mods == (Qt::ShiftModifier | Qt::ControlModifier)) {
            SetOffsetX(FOffsetX + (up ? 1 : -1) * clientWidth());
        } else if (mods == (Qt::ShiftModifier | Qt::AltModifier)) {
            // A column page: as many columns as fit into the client beside the fixed area.
            if (useColumns) {
                TColumnIndex column = FFocusedColumn;
                if (column < 0) {
                    column = columns.GetFirstVisibleColumn();
                } else {
                    int w = columns.GetVisibleFixedWidth();
                    for (;;) {
                        const TColumnIndex next = up ? columns.GetPreviousVisibleColumn(column)
                                                     : columns.GetNextVisibleColumn(column);
                        if (next < 0 || w + columns[column].Width() >= clientWidth()
                            || columns[next].Options().contains(coFixed))
                            break;
                        w += columns[next].Width();
                        column = next;
                    }
                }
                SetFocusedColumn(column);
            }
        } else if (ctrl) {
            SetOffsetY(FOffsetY + (up ? 1 : -1) * clientHeight());
        } else if (!FFocusedNode) {
            SetFocusedNode(up ? GetFirstVisible(nullptr, true) : GetLastVisible(nullptr, true));
        } else {
            // As many rows as fit into the client, counted from the focused row.
            PLazyNode current = FFocusedNode;
            int sum = 0;
            for (;;) {
                PLazyNode next = up ? GetPreviousVisible(current, true)
                                    : GetNextVisible(current, true);
                if (!next || sum + height(current) >= clientHeight())
                    break;
                sum += up ? height(next) : height(current);
                current = next;
            }
            SetFocusedNode(current);
        }
        break;
    }
    case Qt::Key_Up:
    case Qt::Key_Down: {
        const bool up = key == Qt::Key_Up;
        if (ctrl) {
            SetOffsetY(FOffsetY + (up ? 1 : -1) * FDefaultNodeHeight);
            break;
        }
        PLazyNode newNode = nullptr;
        if (FFocusedNode)
            newNode = up ? GetPreviousVisible(FFocusedNode, true)
                         : GetNextVisible(FFocusedNode, true);
        else
            newNode = up ? GetLastVisible(nullptr, true) : GetFirstVisible(nullptr, true);
        if (!newNode) {
            InvalidateNode(FFocusedNode);
            break;
        }
        // An editor that refuses to end swallows the key.
        if (!EndEditNode())
            return true;
        if (FFocusedNode && lastFocused && FRangeAnchor) {
            const int order = ComparePositions(lastFocused, FRangeAnchor, true);
            if (!extendSelection || (up ? order > 0 : order < 0))
                RemoveFromSelection(FFocusedNode);
        } else if (FFocusedNode && !extendSelection) {
            RemoveFromSelection(FFocusedNode);
        }
        if (FFocusedColumn < 0)
            FFocusedColumn = FHeader->MainColumn();
        SetFocusedNode(newNode);
        break;
    }
    case Qt::Key_Left:
    case Qt::Key_Right: {
        const bool left = key == Qt::Key_Left;
        if (ctrl) {
            SetOffsetX(FOffsetX + (left ? dir : -dir) * scrollWidth);
            break;
        }
        if (opt.SelectionOptions.contains(toExtendedFocus) && grid) {
            if (useColumns) {
                const TColumnIndex column = left ? columns.GetPreviousVisibleColumn(FFocusedColumn,
                                                                                    true)
                                                 : columns.GetNextVisibleColumn(FFocusedColumn,
                                                                                true);
                if (column >= 0)
                    SetFocusedColumn(column);
            }
            break;
        }
        PLazyNode focused = FFocusedNode;
        if (left) {
            if (focused && focused->has(vsExpanded) && focused->has(vsHasChildren) && noModifier) {
                ToggleNode(focused);
            } else if (!focused) {
                SetFocusedNode(GetFirstVisible(nullptr, true));
            } else if (focused->Parent != RootNode()) {
                if (extendSelection) {
                    if (focused->Index > 0)
                        rangeToggle = true;
                    else if (FRangeAnchor
                             && ComparePositions(focused->Parent, FRangeAnchor, true) > 0)
                        RemoveFromSelection(focused);
                }
                SetFocusedNode(focused->Parent);
            }
        } else {
            if (focused && !focused->has(vsExpanded) && focused->has(vsHasChildren) && noModifier) {
                ToggleNode(focused);
            } else if (!focused) {
                SetFocusedNode(GetFirstVisible(nullptr, true));
            } else if (PLazyNode child = GetFirstVisibleChild(focused)) {
                if (extendSelection && FRangeAnchor
                    && ComparePositions(child, FRangeAnchor, true) < 0)
                    RemoveFromSelection(focused);
                SetFocusedNode(child);
            }
        }
        break;
    }
    case Qt::Key_Backspace:
        if (FStates.contains(tsIncrementalSearching))
            DoStateChange({tsIncrementalSearchPending});
        else if (FFocusedNode && FFocusedNode->Parent != RootNode())
            SetFocusedNode(FFocusedNode->Parent);
        break;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: {
        // Moving between cells needs extended focus and header columns; without columns only
        // the selection follows below.
        if (!opt.SelectionOptions.contains(toExtendedFocus) || !useColumns)
            break;
        const bool forward = key == Qt::Key_Tab && !shift;
        PLazyNode node = FFocusedNode;
        TColumnIndex column = forward ? columns.GetNextVisibleColumn(FFocusedColumn, true)
                                      : columns.GetPreviousVisibleColumn(FFocusedColumn, true);
        while (column > NoColumn && !DoFocusChanging(FFocusedNode, node, FFocusedColumn, column))
            column = forward ? columns.GetNextVisibleColumn(column, true)
                             : columns.GetPreviousVisibleColumn(column, true);
        if (column > NoColumn) {
            SetFocusedNodeAndColumn(node, column);
            break;
        }
        node = node ? (forward ? GetNextVisible(node, true) : GetPreviousVisible(node, true))
                    : nullptr;
        if (!node)
            break;
        column = forward ? columns.GetFirstVisibleColumn(true) : columns.GetLastVisibleColumn(true);
        SetFocusedNodeAndColumn(node, column);
        break;
    }
    default: return false;
    }

    // The selection follows the focus.
    bool cleared = false;
    if (clearSel && (lastFocused != FFocusedNode || SelectedCount() != 1)) {
        ClearSelection();
        cleared = true;
    }
    if (noModifier) {
        FRangeAnchor = FFocusedNode;
        FLastSelectionLevel = FFocusedNode ? int(GetNodeLevel(FFocusedNode)) : -1;
    }
    if (FFocusedNode) {
        if (rangeToggle && lastFocused)
            ToggleSelection(lastFocused, FFocusedNode);
        if (FFocusedNode != lastFocused || cleared)
            AddToSelection(FFocusedNode);
    }
    if (needInvalidate)
        Invalidate();
    return true;
}

bool TBaseLazyTree::handleOtherKey(int key, Qt::KeyboardModifiers mods, const QString& text)
{
    const TLazyTreeOptionSets& opt = options();
    const bool shift = mods.testFlag(Qt::ShiftModifier);
    const bool ctrl = mods.testFlag(Qt::ControlModifier);
    const bool alt = mods.testFlag(Qt::AltModifier);
    const bool searching = FStates.contains(tsIncrementalSearching);
    PLazyNode focused = FFocusedNode;
    const auto searchKey = [this] { DoStateChange({tsIncrementalSearchPending}); };
    // The keypad's and the main keyboard's characters give the same Qt keys (the keypad adds
    // a modifier only), so '+' on the main keyboard acts as the keypad's Add.
    switch (key) {
    case Qt::Key_Escape:
        if (IsMouseSelecting()) {
            DoStateChange({}, {tsDrawSelPending, tsDrawSelecting});
            Invalidate();
            return true;
        }
        if (FStates.contains(tsEditing)) {
            CancelEditNode();
            return true;
        }
        return false;
    case Qt::Key_Space:
        if (opt.MiscOptions.contains(toCheckSupport) && focused && focused->CheckType != ctNone) {
            pressCheckBox(focused, tsKeyCheckPending);
            return true;
        }
        searchKey();
        return true;
    case Qt::Key_A:
        if (ctrl) {
            SelectAll(true);
            return true;
        }
        break;
    case Qt::Key_Menu:
        if (focused) {
            const QRect r = GetDisplayRect(focused, FFocusedColumn, true);
            const int w = std::min(DoGetNodeWidth(focused, FFocusedColumn), clientWidth());
            DoPopupMenu(focused, FFocusedColumn,
                        QPoint(r.left() + w / 2, (r.top() + r.bottom() + 1) / 2));
        } else {
            DoPopupMenu(nullptr, FFocusedColumn, QPoint(-1, -1));
        }
        return true;
    case Qt::Key_Asterisk:
        if (searching)
            searchKey();
        else if (focused)
            FullExpand(focused);
        return true;
    case Qt::Key_Slash:
        if (searching)
            searchKey();
        else if (focused)
            FullCollapse(focused);
        return true;
    case Qt::Key_Plus:
    case Qt::Key_Minus: {
        const bool add = key == Qt::Key_Plus;
        if (searching) {
            searchKey();
        } else if (ctrl) {
            if (opt.MiscOptions.contains(toReverseFullExpandHotKey) != shift) {
                if (add)
                    FullExpand(nullptr);
                else
                    FullCollapse(nullptr);
            } else if (add) {
                FHeader->AutoFitColumns(true, smaUseColumnOption, -1, -1);
            } else {
                FHeader->RestoreColumns();
            }
        } else if (focused && focused->has(vsExpanded) != add) {
            ToggleNode(focused);
        }
        return true;
    }
    case Qt::Key_F1: {
        emit helpRequested(focused, FFocusedColumn);
        int context = 0;
        if (OnGetHelpContext) {
            for (PLazyNode run = focused; run && run != RootNode() && context == 0;
                 run = run->Parent)
                OnGetHelpContext(*this, run, std::max(FFocusedColumn, 0), context);
        }
        if (context == 0)
            context = FHelpContext;
        if (context != 0)
            emit helpContextRequested(context);
        return true;
    }
    case Qt::Key_F2:
        if (!shift && !ctrl && !alt && focused && CanEdit(focused, FFocusedColumn)) {
            FEditColumn = FFocusedColumn;
            DoEdit();
        }
        return true;
    default: break;
    }
    // A printable key without Ctrl or Alt (or with both: AltGr) feeds the search.
    if (ctrl == alt && !text.isEmpty() && text.at(0).isPrint()) {
        searchKey();
        return true;
    }
    return false;
}

}  // namespace zfw
