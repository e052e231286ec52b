// Keyboard and wheel: moving the focus through the rows, extending the selection, expanding and
// collapsing, pressing the focused node's check box with Space, help on F1.

#include "tree/LazyTreesControl.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWheelEvent>

#include <algorithm>

namespace zfw {

int TBaseLazyTree::wheelScrollPixels(int linesPerNotch, int clientHeight, int rowHeight)
{
    // A page per notch scrolls the client less one row, so that a row stays in view.
    if (linesPerNotch < 0)
        return std::max(rowHeight, clientHeight - rowHeight);
    return linesPerNotch * rowHeight;
}

void TBaseLazyTree::wheelEvent(QWheelEvent* event)
{
    guardedEvent("the wheel", [&] {
        const int notches = event->angleDelta().y() / 120;
        if (notches == 0)
            return;
        const int step = wheelScrollPixels(QApplication::wheelScrollLines(), clientHeight(),
                                           FDefaultNodeHeight);
        SetOffsetY(FOffsetY + notches * step);
        event->accept();
    });
}

void TBaseLazyTree::keyPressEvent(QKeyEvent* event)
{
    guardedEvent("a key", [&] {
        const int key = event->key();
        const Qt::KeyboardModifiers mods = event->modifiers();
        const bool shift = mods.testFlag(Qt::ShiftModifier);
        const bool ctrl = mods.testFlag(Qt::ControlModifier);
        const TLazyTreeOptionSets& opt = options();
        // Any other key while Space holds a check box pressed cancels the press.
        if (FStates.contains(tsKeyCheckPending) && key != Qt::Key_Space)
            releaseCheckBox(false);
        if (key == Qt::Key_F1) {
            emit helpRequested(FFocusedNode, FFocusedColumn);
            return;
        }
        PLazyNode focused = FFocusedNode;
        PLazyNode target = nullptr;
        switch (key) {
        case Qt::Key_Up:
            if (ctrl) {
                SetOffsetY(FOffsetY + FDefaultNodeHeight);
                return;
            }
            target = focused ? GetPreviousVisible(focused, true) : GetFirstVisible(nullptr, true);
            break;
        case Qt::Key_Down:
            if (ctrl) {
                SetOffsetY(FOffsetY - FDefaultNodeHeight);
                return;
            }
            target = focused ? GetNextVisible(focused, true) : GetFirstVisible(nullptr, true);
            break;
        case Qt::Key_Home: target = GetFirstVisible(nullptr, true); break;
        case Qt::Key_End: target = GetLastVisible(nullptr, true); break;
        case Qt::Key_PageUp:
        case Qt::Key_PageDown: {
            if (!focused) {
                target = GetFirstVisible(nullptr, true);
                break;
            }
            // A page further: the row a client height away from the focused row's top.
            const std::int64_t top = rowTop(focused);
            const std::int64_t page = std::max(1, clientHeight());
            std::int64_t y = key == Qt::Key_PageDown ? top + page : top - page;
            y = std::clamp<std::int64_t>(
                y, 0,
                std::max<std::int64_t>(0, RootNode()->TotalHeight - RootNode()->NodeHeight - 1));
            int nodeTop = 0;
            target = GetNodeAt(0, int(y), false, nodeTop);
            if (!target)
                target = key == Qt::Key_PageDown ? GetLastVisible(nullptr, true)
                                                 : GetFirstVisible(nullptr, true);
            break;
        }
        case Qt::Key_Left:
            if (focused && focused->has(vsExpanded) && focused->has(vsHasChildren)) {
                ToggleNode(focused);
                return;
            }
            if (focused && focused->Parent != RootNode())
                target = focused->Parent;
            break;
        case Qt::Key_Right:
            if (focused && focused->has(vsHasChildren)) {
                if (!focused->has(vsExpanded)) {
                    ToggleNode(focused);
                    return;
                }
                target = GetFirstVisibleChild(focused);
            }
            break;
        case Qt::Key_Plus:
            // The main keyboard's plus acts as the keypad's Add.
            if (focused && focused->has(vsHasChildren) && !focused->has(vsExpanded))
                ToggleNode(focused);
            return;
        case Qt::Key_Minus:
            if (focused && focused->has(vsExpanded))
                ToggleNode(focused);
            return;
        case Qt::Key_Asterisk:
            if (focused)
                FullExpand(focused);
            return;
        case Qt::Key_Space:
            if (focused && opt.MiscOptions.contains(toCheckSupport) && !event->isAutoRepeat())
                pressCheckBox(focused, tsKeyCheckPending);
            return;
        default: QAbstractScrollArea::keyPressEvent(event); return;
        }
        if (!target || target == RootNode())
            return;
        PLazyNode anchor = FRangeAnchor ? FRangeAnchor : focused;
        SetFocusedNode(target);
        if (shift && opt.SelectionOptions.contains(toMultiSelect)) {
            SelectNodes(anchor ? anchor : target, target, false);
            FRangeAnchor = anchor;
        } else if (!ctrl) {
            if (SelectedCount() != 1 || !target->has(vsSelected)) {
                InternalClearSelection();
                AddToSelection(target);
                Invalidate();
            }
            FRangeAnchor = target;
        }
        ScrollIntoView(target, opt.SelectionOptions.contains(toCenterScrollIntoView), false);
    });
}

void TBaseLazyTree::keyReleaseEvent(QKeyEvent* event)
{
    guardedEvent("a key", [&] {
        if (event->key() == Qt::Key_Space && !event->isAutoRepeat()
            && FStates.contains(tsKeyCheckPending))
            releaseCheckBox(true);
    });
}

}  // namespace zfw
