// Header mouse handling as the header widget's own events: hot and pressed cells, clicks with
// sorting and header check boxes, border and height tracking, column drag and drop with the
// moving cell drawn inside the header, the hover timer, split cursors, the popup menus, and
// Escape or the focus leaving the tree cancelling what runs. Points are in the tree's client
// coordinates (negative y inside the header) unless a name says otherwise.

#include "tree/LazyTreesControl.h"
#include "tree/LazyTreesHeader.h"
#include "tree/LazyTreesHeaderPopup.h"
#include "tree/core/LazyTreesGuard.h"

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <cmath>
#include <cstdlib>
#include <exception>
#include <functional>
#include <utility>

namespace zfw {

namespace {

template <typename Handler, typename... Args>
void fire(const Handler& handler, Args&&... args)
{
    if (handler)
        handler(std::forward<Args>(args)...);
}

constexpr THeaderStates MouseStates{
    hsDragging,       hsDragPending,       hsColumnWidthTracking, hsColumnWidthTrackPending,
    hsHeightTracking, hsHeightTrackPending};
constexpr THeaderStates TrackStates{hsColumnWidthTracking, hsColumnWidthTrackPending,
                                    hsHeightTracking, hsHeightTrackPending};

// Watches the tree and its viewport for Escape and the focus leaving while the header holds
// a drag or a tracking. Escape is swallowed only when it cancelled something.
class HeaderCancelFilter final : public QObject {
public:
    HeaderCancelFilter(std::function<bool()> cancel, QObject* parent)
        : QObject(parent), m_cancel(std::move(cancel))
    {
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress
            && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
            return m_cancel();
        if (event->type() == QEvent::FocusOut)
            m_cancel();
        return false;
    }

private:
    std::function<bool()> m_cancel;
};

}  // namespace

// ----- hit tests ------------------------------------------------------------------------------

bool TLazyTreeColumns::CanSplitterResize(QPoint p, TColumnIndex column)
{
    bool allowed = IsValidColumn(column)
                   && Items(column).Options().containsAll({coResizable, coVisible});
    fire(Tree().OnCanSplitterResizeColumn, *FHeader, p, column, allowed);
    return allowed;
}

bool TLTHeader::FindSplitterColumn(QPoint p)
{
    TLazyTreeColumns& columns = *FColumns;
    columns.FTrackIndex = NoColumn;
    if (columns.Count() == 0)
        return false;
    TBaseLazyTree& tree = *FOwner;
    const int tolerance = fSplitterHitTolerance;
    // Most of the zone lies right of the border (left of it right to left), where the cursor
    // rests after widening a column.
    const int s = int(std::lround(tolerance * 0.6));
    const int fixedWidth = columns.GetVisibleFixedWidth();
    const int offset = tree.EffectiveOffsetX();
    const std::vector<TColumnIndex> order = columns.PositionToIndex();
    if (!tree.UseRightToLeftReading()) {
        int b = columns.TotalWidth() - offset;
        for (auto it = order.rbegin(); it != order.rend(); ++it) {
            TLazyTreeColumn& c = columns.Items(*it);
            if (!c.IsVisible())
                continue;
            const bool fixed = c.IsFixedAndVisible();
            const int border = fixed ? b + offset : b;
            if (border - (tolerance - s) < p.x() && p.x() < border + s
                && (fixed || p.x() > fixedWidth) && columns.CanSplitterResize(p, *it)) {
                columns.FTrackIndex = *it;
                FTrackPoint = QPoint(border - c.Width(), p.y());
                return true;
            }
            b -= c.Width();
        }
        return false;
    }
    const int clientWidth = tree.viewport()->width();
    const int range = columns.TotalWidth();
    int b = -offset + (clientWidth > range ? clientWidth - range : 0);
    for (TColumnIndex index : order) {
        TLazyTreeColumn& c = columns.Items(index);
        if (!c.IsVisible())
            continue;
        const bool fixed = c.IsFixedAndVisible();
        const int border = fixed ? b + offset : b;
        if (border - s < p.x() && p.x() < border + (tolerance - s) && (fixed || p.x() > fixedWidth)
            && columns.CanSplitterResize(p, index)) {
            columns.FTrackIndex = index;
            FTrackPoint = QPoint(border + c.Width(), p.y());
            return true;
        }
        b += c.Width();
    }
    return false;
}

bool TLTHeader::InColumnSplitter(QPoint p)
{
    if (!FOptions.contains(hoColumnResize) || !FindSplitterColumn(p))
        return false;
    if (p.y() < 0)
        return true;
    // Below the header only the fixed area's border can be dragged, and only beside rows.
    TLazyTreeColumns& columns = *FColumns;
    const TColumnIndex track = columns.FTrackIndex;
    const TColumnIndex next = columns.GetNextVisibleColumn(track);
    TBaseLazyTree& tree = *FOwner;
    const bool onFixedBorder = columns.Items(track).IsFixedAndVisible()
                               && columns.IsValidColumn(next)
                               && !columns.Items(next).Options().contains(coFixed)
                               && p.y() <= tree.RangeY() + tree.OffsetY();
    if (!onFixedBorder)
        columns.FTrackIndex = NoColumn;
    return onFixedBorder;
}

bool TLTHeader::CanSplitterResizeHeight(QPoint p)
{
    bool allowed = FOptions.contains(hoHeightResize);
    fire(FOwner->OnCanSplitterResizeHeader, *this, p, allowed);
    return allowed;
}

bool TLTHeader::UpdateHoverColumn(QPoint p)
{
    TLazyTreeColumns& columns = *FColumns;
    TColumnIndex column = columns.ColumnFromPosition(ClientToHeader(p), true);
    if (!columns.IsValidColumn(column))
        column = NoColumn;
    if (column == columns.FHoverIndex)
        return false;
    Invalidate(columns.FHoverIndex);
    Invalidate(column);
    columns.FHoverIndex = column;
    return true;
}

TColumnIndex TLTHeader::UpdateDownColumn(QPoint p)
{
    TLazyTreeColumns& columns = *FColumns;
    const QPoint h = ClientToHeader(p);
    const TColumnIndex column = columns.ColumnFromPosition(h, true);
    if (columns.IsValidColumn(column) && column != columns.FDownIndex) {
        TLazyTreeColumn& c = columns.Items(column);
        if (c.Options().containsAll({coAllowClick, coEnabled})) {
            Invalidate(columns.FDownIndex);
            columns.FDownIndex = column;
            columns.FCheckBoxHit = c.HasImage() && c.ImageRect().contains(h) && c.CheckBox();
            Invalidate(column);
        }
    }
    return column;
}

// ----- clicks ---------------------------------------------------------------------------------

void TLazyTreeColumns::ProcessColumnClick(QPoint p, Qt::MouseButton button, bool force,
                                          bool dblClick)
{
    TLTHeader& header = *FHeader;
    TBaseLazyTree& tree = Tree();
    const QPoint h = header.ClientToHeader(p);
    const TColumnIndex index = ColumnFromPosition(h, true);
    TLTHeaderHitInfo hit;
    hit.X = h.x();
    hit.Y = h.y();
    hit.Button = button;
    hit.Shift = QGuiApplication::keyboardModifiers();
    hit.DoubleClick = dblClick;
    if (IsValidColumn(index) && Items(index).Options().contains(coAllowClick)
        && (force || index == FDownIndex)) {
        FClickIndex = index;
        hit.Column = index;
        hit.HitPosition = {hhiOnColumn};
        TLazyTreeColumn& c = Items(index);
        const bool onImage = c.HasImage() && c.ImageRect().contains(h);
        if (onImage)
            hit.HitPosition.include(hhiOnIcon);
        // A click on the caption of a check-box column sorts; only a click on the box itself
        // toggles it. (Toggling on any click changed the owner's data when the user only
        // wanted to sort.)
        if (c.CheckBox() && onImage) {
            hit.HitPosition.include(hhiOnCheckbox);
            if (button == Qt::LeftButton)
                c.SetCheckState(
                    LazyTreeModel::DetermineNextCheckState(c.CheckType(), c.CheckState()));
        }
    } else {
        FClickIndex = NoColumn;
        hit.HitPosition = {hhiNoWhere};
    }

    if (dblClick) {
        tree.DoHeaderDblClick(hit);
    } else {
        if (header.Options().contains(hoHeaderClickAutoSort) && button == Qt::LeftButton
            && !FCheckBoxHit && !hit.HitPosition.contains(hhiOnCheckbox) && hit.Column >= 0) {
            if (hit.Column == header.SortColumn()) {
                header.SetSortDirection(header.SortDirection() == sdAscending ? sdDescending
                                                                              : sdAscending);
            } else {
                header.SetSortColumn(hit.Column);
                header.SetSortDirection(Items(hit.Column).DefaultSortDirection());
            }
        }
        if (button == Qt::RightButton && header.Options().contains(hoAutoColumnPopupMenu)
            && header.widget())
            header.popupAutoColumnMenu(header.widget()->mapToGlobal(h));
        tree.DoHeaderClick(hit);
    }
    if (hit.Column >= 0)
        header.Invalidate(hit.Column);
}

void TLTHeader::popupAutoColumnMenu(QPoint screen)
{
    if (FColumnPopupMenu)
        FColumnPopupMenu->deleteLater();
    TBaseLazyTree& tree = *FOwner;
    auto* menu = new TLTHeaderPopupMenu(&tree);
    menu->OnColumnChange = [](TBaseLazyTree& sender, TColumnIndex column, bool visible) {
        sender.DoColumnVisibilityChanged(column, visible);
    };
    menu->SetPopupComponent(&tree);
    TLTHeaderPopupOptions options = menu->Options();
    if (FOptions.contains(hoDblClickResize) && tree.RootNodeCount() > 0)
        options.include(poResizeToFitItem);
    else
        options.exclude(poResizeToFitItem);
    menu->SetOptions(options);
    FColumnPopupMenu = menu;
    menu->Popup(screen);
}

TLTHeaderPopupMenu* TLTHeader::columnPopupMenu() const { return FColumnPopupMenu.data(); }

// ----- the header widget's mouse hook ---------------------------------------------------------

bool TLTHeader::HandleHeaderMouse(QMouseEvent& event, QPoint headerPoint)
{
    const QPoint p = HeaderToClient(headerPoint);
    const QPoint screen = event.globalPosition().toPoint();
    const Qt::KeyboardModifiers shift = event.modifiers();
    TBaseLazyTree& tree = *FOwner;
    // A handler failing in the middle of a press, a drag or a tracking must not leave the
    // header holding the mouse: every later click in the tree would go to it.
    const int uncaught = std::uncaught_exceptions();
    ScopeGuard letGo([&] {
        if (std::uncaught_exceptions() <= uncaught)
            return;
        FStates.exclude(MouseStates);
        m_dragImage = QImage();
        FColumns->FDropTarget = NoColumn;
        FColumns->FDownIndex = NoColumn;
        FColumns->FTrackIndex = NoColumn;
        FColumns->FCheckBoxHit = false;
        Invalidate();
    });
    bool consumed = false;
    switch (event.type()) {
    case QEvent::MouseButtonPress:
        if (event.button() == Qt::LeftButton)
            consumed = handleLeftPress(p, screen, shift);
        else if (InHeader(p)
                 && (event.button() == Qt::RightButton || event.button() == Qt::MiddleButton))
            tree.DoHeaderMouseDown(event.button(), shift, p.x(), headerPoint.y());
        if (!tree.hasFocus() && (tree.focusPolicy() & Qt::ClickFocus) != 0)
            tree.setFocus(Qt::MouseFocusReason);
        break;
    case QEvent::MouseMove:
        if (FStates.intersects(MouseStates)) {
            consumed = handleCapturedMove(p, screen, shift);
        } else {
            handleFreeMove(p, shift);
            updateCursor(p);
        }
        break;
    case QEvent::MouseButtonRelease:
        if (event.button() == Qt::LeftButton) {
            consumed = handleLeftRelease(p, screen, shift);
        } else if (event.button() == Qt::RightButton) {
            consumed = handleRightRelease(p, screen, shift);
        } else if (event.button() == Qt::MiddleButton && InHeader(p)) {
            FColumns->ProcessColumnClick(p, Qt::MiddleButton, true, false);
            tree.DoHeaderMouseUp(Qt::MiddleButton, shift, p.x(), headerPoint.y());
            FColumns->FDownIndex = NoColumn;
            FColumns->FCheckBoxHit = false;
        }
        updateCursor(p);
        break;
    case QEvent::MouseButtonDblClick: consumed = handleDoubleClick(p, event.button(), shift); break;
    default: break;
    }
    return consumed;
}

void TLTHeader::HandleHeaderLeave()
{
    if (FStates.intersects(MouseStates))
        return;
    FOwner->StopTimer(TBaseLazyTree::HeaderTimer);
    if (FColumns->FHoverIndex != NoColumn) {
        Invalidate(FColumns->FHoverIndex);
        FColumns->FHoverIndex = NoColumn;
    }
}

bool TLTHeader::handleLeftPress(QPoint p, QPoint screen, Qt::KeyboardModifiers shift)
{
    TBaseLazyTree& tree = *FOwner;
    tree.StopTimer(TBaseLazyTree::ScrollTimer);
    tree.DoStateChange({}, {tsScrolling, tsScrollPending});
    tree.StopTimer(TBaseLazyTree::EditTimer);
    tree.DoStateChange({}, {tsEditPending});
    FDragStart = screen;
    const bool heightBorder = InHeaderSplitterArea(p) && CanSplitterResizeHeight(p);
    if (heightBorder || InColumnSplitter(p)) {
        FTrackStart = p;
        FColumns->FHoverIndex = NoColumn;
        if (heightBorder) {
            fire(tree.OnBeforeHeaderHeightTracking, *this, shift);
            FStates.include(hsHeightTrackPending);
        } else {
            fire(tree.OnBeforeColumnWidthTracking, *this, FColumns->FTrackIndex, shift);
            FStates.include(hsColumnWidthTrackPending);
        }
        watchForCancel();
        return true;
    }
    if (!InHeader(p))
        return false;
    bool consumed = false;
    const TColumnIndex column = UpdateDownColumn(p);
    if (FOptions.contains(hoDrag) && FColumns->IsValidColumn(column)
        && FColumns->Items(column).Options().contains(coDraggable)) {
        FStates.include(hsDragPending);
        watchForCancel();
        consumed = true;
    }
    tree.DoHeaderMouseDown(Qt::LeftButton, shift, p.x(), ClientToHeader(p).y());
    return consumed;
}

bool TLTHeader::handleCapturedMove(QPoint p, QPoint screen, Qt::KeyboardModifiers shift)
{
    TBaseLazyTree& tree = *FOwner;
    TLazyTreeColumns& columns = *FColumns;
    if (FStates.contains(hsColumnWidthTrackPending)) {
        tree.StopTimer(TBaseLazyTree::HeaderTimer);
        FStates.exclude(hsColumnWidthTrackPending);
        FStates.include(hsColumnWidthTracking);
        return true;
    }
    if (FStates.contains(hsHeightTrackPending)) {
        tree.StopTimer(TBaseLazyTree::HeaderTimer);
        FStates.exclude(hsHeightTrackPending);
        FStates.include(hsHeightTracking);
        return true;
    }
    if (FStates.contains(hsColumnWidthTracking)) {
        const TColumnIndex track = columns.FTrackIndex;
        bool allowed = true;
        fire(tree.OnColumnWidthTracking, *this, track, shift, FTrackPoint, p, allowed);
        if (allowed && columns.IsValidColumn(track)) {
            const bool rtl = tree.UseRightToLeftReading();
            const int newWidth = rtl ? FTrackPoint.x() - p.x() : p.x() - FTrackPoint.x();
            const TColumnIndex neighbour = rtl ? columns.GetPreviousVisibleColumn(track)
                                               : columns.GetNextVisibleColumn(track);
            TLazyTreeColumn& c = columns.Items(track);
            if (FOptions.contains(hoAutoResize) && track == FAutoSizeIndex
                && columns.IsValidColumn(neighbour)
                && columns.Items(neighbour).Options().contains(coResizable)
                && newWidth > c.MinWidth() && newWidth < c.MaxWidth()) {
                TLazyTreeColumn& n = columns.Items(neighbour);
                n.SetWidth(n.Width() + c.Width() - newWidth);
            } else {
                c.SetWidth(newWidth);
            }
        }
        return true;
    }
    if (FStates.contains(hsHeightTracking)) {
        bool allowed = true;
        QPoint q = p;
        fire(tree.OnHeaderHeightTracking, *this, q, shift, allowed);
        if (allowed)
            SetHeight(FHeight + q.y());
        return true;
    }
    if (FStates.contains(hsDragPending)) {
        const int threshold = QApplication::startDragDistance();
        const QPoint start = m_widget ? m_widget->mapFromGlobal(FDragStart) : QPoint();
        const TColumnIndex dragged = columns.ColumnFromPosition(start, true);
        if (FOptions.contains(hoDrag)
            && (std::abs(screen.x() - FDragStart.x()) > threshold
                || std::abs(screen.y() - FDragStart.y()) > threshold)
            && tree.DoHeaderDragging(dragged)) {
            tree.StopTimer(TBaseLazyTree::HeaderTimer);
            const TColumnIndex wasDown = columns.FDownIndex;
            columns.FDownIndex = NoColumn;
            columns.FHoverIndex = NoColumn;
            Invalidate(wasDown);
            prepareDrag(screen);
            FStates.exclude(hsDragPending);
            FStates.include(hsDragging);
            return true;
        }
        return false;
    }
    if (FStates.contains(hsDragging)) {
        dragTo(screen);
        return true;
    }
    return false;
}

bool TLTHeader::handleLeftRelease(QPoint p, QPoint screen, Qt::KeyboardModifiers shift)
{
    TBaseLazyTree& tree = *FOwner;
    TLazyTreeColumns& columns = *FColumns;
    const THeaderStates states = FStates;
    const bool hadState = states.intersects(MouseStates);
    if (states.contains(hsDragging))
        finishDrop(screen);
    if (columns.FDownIndex >= 0)
        columns.ProcessColumnClick(p, Qt::LeftButton, false, false);
    tree.DoHeaderMouseUp(Qt::LeftButton, shift, p.x(), ClientToHeader(p).y());
    if (columns.FTrackIndex >= 0) {
        if (states.contains(hsColumnWidthTracking))
            fire(tree.OnAfterColumnWidthTracking, *this, columns.FTrackIndex);
        Invalidate(columns.FTrackIndex);
        columns.FTrackIndex = NoColumn;
    }
    if (columns.FDownIndex >= 0) {
        Invalidate(columns.FDownIndex);
        columns.FDownIndex = NoColumn;
    }
    if (states.contains(hsHeightTracking))
        fire(tree.OnAfterHeaderHeightTracking, *this);
    FStates.exclude(MouseStates);
    return hadState;
}

bool TLTHeader::handleDoubleClick(QPoint p, Qt::MouseButton button, Qt::KeyboardModifiers shift)
{
    TBaseLazyTree& tree = *FOwner;
    if (FOptions.contains(hoHeightDblClickResize) && InHeaderSplitterArea(p)
        && FDefaultHeight > 0) {
        bool allowed = true;
        QPoint q = p;
        fire(tree.OnHeaderHeightDblClickResize, *this, q, shift, allowed);
        if (allowed)
            SetHeight(FMinHeight);
        return true;
    }
    if (button == Qt::LeftButton && FOptions.contains(hoDblClickResize) && InColumnSplitter(p)
        && FColumns->FTrackIndex >= 0) {
        const TColumnIndex track = FColumns->FTrackIndex;
        bool allowed = true;
        fire(tree.OnColumnWidthDblClickResize, *this, track, shift, p, allowed);
        if (allowed) {
            const int position = int(FColumns->Items(track).Position());
            AutoFitColumns(true, smaUseColumnOption, position, position);
        }
        return true;
    }
    if (InHeader(p)) {
        if (button == Qt::LeftButton)
            UpdateDownColumn(p);
        FColumns->ProcessColumnClick(p, button, true, true);
    }
    return false;
}

bool TLTHeader::handleRightRelease(QPoint p, QPoint screen, Qt::KeyboardModifiers shift)
{
    TBaseLazyTree& tree = *FOwner;
    TLazyTreeColumns& columns = *FColumns;
    const QPoint h = ClientToHeader(p);
    if (InHeader(p)) {
        columns.ProcessColumnClick(p, Qt::RightButton, true, false);
        tree.DoHeaderMouseUp(Qt::RightButton, shift, p.x(), h.y());
    }
    columns.FDownIndex = NoColumn;
    columns.FTrackIndex = NoColumn;
    columns.FCheckBoxHit = false;
    QMenu* menu = FPopupMenu;
    if (!menu && tree.OnGetPopupMenu) {
        TColumnIndex column = columns.ColumnFromPosition(h, true);
        if (!columns.IsValidColumn(column))
            column = NoColumn;
        bool askParent = true;
        tree.OnGetPopupMenu(tree, nullptr, column, p, askParent, menu);
    }
    if (!menu)
        return false;
    tree.StopTimer(TBaseLazyTree::ScrollTimer);
    tree.StopTimer(TBaseLazyTree::HeaderTimer);
    columns.FHoverIndex = NoColumn;
    tree.DoStateChange({}, {tsScrolling, tsScrollPending});
    menu->popup(screen);
    return true;
}

void TLTHeader::handleFreeMove(QPoint p, Qt::KeyboardModifiers shift)
{
    TBaseLazyTree& tree = *FOwner;
    tree.DoHeaderMouseMove(shift, p.x(), ClientToHeader(p).y());
    if (!InHeader(p))
        return;
    const TLazyTreeColumns& columns = *FColumns;
    if (UpdateHoverColumn(p)
        || (columns.FDownIndex >= 0 && columns.FDownIndex != columns.FHoverIndex))
        tree.startTimerById(TBaseLazyTree::HeaderTimer, 50);
}

bool TLTHeader::BorderCursor(QPoint p, Qt::CursorShape& cursor)
{
    if (!FOptions.contains(hoVisible) || FStates.intersects(MouseStates))
        return false;
    if (InHeaderSplitterArea(p) && CanSplitterResizeHeight(p))
        cursor = Qt::SplitVCursor;
    else if (InColumnSplitter(p))
        cursor = Qt::SplitHCursor;
    else
        return false;
    FOwner->DoGetHeaderCursor(cursor);
    return true;
}

void TLTHeader::updateCursor(QPoint p)
{
    if (!m_widget || FStates.intersects(MouseStates))
        return;
    Qt::CursorShape cursor = Qt::ArrowCursor;
    if (BorderCursor(p, cursor) && cursor != Qt::ArrowCursor)
        m_widget->setCursor(cursor);
    else
        m_widget->unsetCursor();
}

bool TLTHeader::HandleClientMouse(QEvent& event)
{
    const QEvent::Type type = event.type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove
        && type != QEvent::MouseButtonRelease && type != QEvent::MouseButtonDblClick)
        return false;
    if (!FOptions.contains(hoVisible))
        return false;
    auto& mouse = static_cast<QMouseEvent&>(event);
    const QPoint p = mouse.position().toPoint();
    bool taken = false;
    FOwner->guardedEvent("the header mouse", [&] {
        if (FStates.intersects(MouseStates)) {
            taken = true;
        } else if ((type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick)
                   && mouse.button() == Qt::LeftButton) {
            taken = (InHeaderSplitterArea(p) && CanSplitterResizeHeight(p)) || InColumnSplitter(p);
        }
        if (taken)
            HandleHeaderMouse(mouse, ClientToHeader(p));
    });
    return taken;
}

void TLTHeader::HeaderHoverTimer()
{
    TBaseLazyTree& tree = *FOwner;
    TLazyTreeColumns& columns = *FColumns;
    const QPoint h = m_widget ? m_widget->mapFromGlobal(QCursor::pos()) : QPoint(-1, -1);
    if (InHeader(HeaderToClient(h))
        && !(columns.FDownIndex >= 0 && columns.FDownIndex != columns.FHoverIndex))
        return;
    tree.StopTimer(TBaseLazyTree::HeaderTimer);
    columns.FHoverIndex = NoColumn;
    columns.FClickIndex = NoColumn;
    columns.FDownIndex = NoColumn;
    columns.FCheckBoxHit = false;
    Invalidate();
}

// ----- column drag ----------------------------------------------------------------------------

void TLTHeader::prepareDrag(QPoint screen)
{
    TLazyTreeColumns& columns = *FColumns;
    columns.FDropTarget = NoColumn;
    const QPoint start = m_widget ? m_widget->mapFromGlobal(FDragStart) : QPoint();
    columns.FDragIndex = columns.ColumnFromPosition(start, true);
    m_dragImage = QImage();
    if (!columns.IsValidColumn(columns.FDragIndex) || !m_widget)
        return;
    TLazyTreeColumn& c = columns.Items(columns.FDragIndex);
    if (c.Width() <= 0 || FHeight <= 0)
        return;
    m_dragImage = QImage(c.Width(), FHeight, QImage::Format_ARGB32_Premultiplied);
    m_dragImage.fill(toQColor(clBtnFace, FOwner->palette()));
    // Painting the cell on its own would leave its image rectangle in the picture's
    // coordinates; the header's hit tests need the one on screen.
    const QRect imageRect = c.ImageRect();
    const bool hasImage = c.HasImage();
    {
        QPainter painter(&m_dragImage);
        int left = 0;
        int right = 0;
        c.GetUnscrolledBounds(left, right);
        columns.PaintHeader(painter, TRect{left, 0, right, FHeight}, QPoint(0, 0));
    }
    c.SetImageRect(imageRect, hasImage);
    int left = 0;
    int right = 0;
    columns.GetColumnBounds(columns.FDragIndex, left, right);
    m_dragHotSpotX = start.x() - left;
    m_dragImageLeft = m_widget->mapFromGlobal(screen).x() - m_dragHotSpotX;
    m_widget->update();
}

void TLTHeader::dragTo(QPoint screen)
{
    if (!m_widget)
        return;
    TLazyTreeColumns& columns = *FColumns;
    const QPoint q = m_widget->mapFromGlobal(screen);
    const TColumnIndex column = columns.ColumnFromPosition(q, true);
    const bool valid = columns.IsValidColumn(column);
    bool repaint = valid && column != columns.FDropTarget;
    if (valid) {
        int left = 0;
        int right = 0;
        columns.GetColumnBounds(column, left, right);
        const bool before = q.x() < (left + right) / 2;
        if (before != columns.FDropBefore) {
            columns.FDropBefore = before;
            repaint = true;
        }
    }
    if (repaint) {
        const TColumnIndex old = columns.FDropTarget;
        columns.FDropTarget = NoColumn;
        Invalidate(old);
        columns.FDropTarget = column;
        Invalidate(column);
    }
    m_dragImageLeft = q.x() - m_dragHotSpotX;
    m_widget->update();
}

void TLTHeader::finishDrop(QPoint screen)
{
    TBaseLazyTree& tree = *FOwner;
    TLazyTreeColumns& columns = *FColumns;
    m_dragImage = QImage();
    const TColumnIndex dragged = columns.FDragIndex;
    const TColumnIndex target = columns.FDropTarget;
    const QRect window(tree.mapToGlobal(QPoint(0, 0)), tree.size());
    if (!columns.IsValidColumn(dragged)) {
        // Nothing was under the press: there is no column to move or report.
    } else if (!window.contains(screen)) {
        tree.DoHeaderDraggedOut(dragged, screen);
    } else if (columns.IsValidColumn(target) && target != dragged) {
        const int oldPosition = int(columns.Items(dragged).Position());
        const int targetPosition = int(columns.Items(target).Position());
        int position = 0;
        if (columns.FDropBefore)
            position = oldPosition < targetPosition ? std::max(targetPosition - 1, 0)
                                                    : targetPosition;
        else
            position = oldPosition < targetPosition ? targetPosition : targetPosition + 1;
        columns.Items(dragged).SetPosition(TColumnPosition(position));
        tree.DoHeaderDragged(dragged, oldPosition);
    }
    // A drop inside the tree on no other column just ends the drag. (Reporting it as dragged
    // out made owners that hide columns dragged off the header hide one dropped back in place.)
    columns.FDropTarget = NoColumn;
    Invalidate();
}

bool TLTHeader::CancelMouseOperation()
{
    TBaseLazyTree& tree = *FOwner;
    TLazyTreeColumns& columns = *FColumns;
    if (FStates.contains(hsDragging)) {
        m_dragImage = QImage();
        FStates.exclude(hsDragging);
        columns.FDropTarget = NoColumn;
        Invalidate();
        return true;
    }
    if (!FStates.intersects(TrackStates))
        return false;
    if (FStates.intersects({hsColumnWidthTracking, hsColumnWidthTrackPending}))
        fire(tree.OnAfterColumnWidthTracking, *this, columns.FTrackIndex);
    else
        fire(tree.OnAfterHeaderHeightTracking, *this);
    FStates.exclude(TrackStates);
    columns.FTrackIndex = NoColumn;
    return true;
}

void TLTHeader::watchForCancel()
{
    if (m_cancelFilter || !m_widget)
        return;
    auto cancel = [this] {
        bool consumed = false;
        FOwner->guardedEvent("the header mouse", [&] { consumed = CancelMouseOperation(); });
        return consumed;
    };
    m_cancelFilter = std::make_unique<HeaderCancelFilter>(cancel, nullptr);
    FOwner->installEventFilter(m_cancelFilter.get());
    FOwner->viewport()->installEventFilter(m_cancelFilter.get());
}

// ----- the tree's hooks -----------------------------------------------------------------------

void TBaseLazyTree::DoHeaderClick(const TLTHeaderHitInfo& hitInfo)
{
    fire(OnHeaderClick, *FHeader, hitInfo);
}

void TBaseLazyTree::DoHeaderDblClick(const TLTHeaderHitInfo& hitInfo)
{
    fire(OnHeaderDblClick, *FHeader, hitInfo);
}

void TBaseLazyTree::DoHeaderMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x,
                                      int y)
{
    fire(OnHeaderMouseDown, *FHeader, button, shift, x, y);
}

void TBaseLazyTree::DoHeaderMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x,
                                    int y)
{
    fire(OnHeaderMouseUp, *FHeader, button, shift, x, y);
}

void TBaseLazyTree::DoHeaderMouseMove(Qt::KeyboardModifiers shift, int x, int y)
{
    fire(OnHeaderMouseMove, *FHeader, shift, x, y);
}

bool TBaseLazyTree::DoHeaderDragging(TColumnIndex column)
{
    bool allowed = true;
    fire(OnHeaderDragging, *FHeader, column, allowed);
    return allowed;
}

void TBaseLazyTree::DoHeaderDragged(TColumnIndex column, int oldPosition)
{
    fire(OnHeaderDragged, *FHeader, column, oldPosition);
}

void TBaseLazyTree::DoHeaderDraggedOut(TColumnIndex column, QPoint dropPosition)
{
    fire(OnHeaderDraggedOut, *FHeader, column, dropPosition);
}

void TBaseLazyTree::DoGetHeaderCursor(Qt::CursorShape& cursor)
{
    fire(OnGetHeaderCursor, *FHeader, cursor);
}

void TBaseLazyTree::DoColumnVisibilityChanged(TColumnIndex column, bool visible)
{
    fire(OnColumnVisibilityChanged, *this, column, visible);
}

}  // namespace zfw
