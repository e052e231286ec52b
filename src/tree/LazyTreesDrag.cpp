// Drag and drop of the tree: a drag of the selection from start to end, the drop-target steps
// while something is dragged over the tree (target node, drop mode, effect, expanding a hovered
// node), the drop itself, and inserting dropped data.

#include "tree/LazyTreesDrag.h"
#include "tree/LazyTreesClipboard.h"
#include "tree/LazyTreesControl.h"
#include "tree/core/LazyTreesGuard.h"

#include <QApplication>
#include <QCursor>
#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QImage>
#include <QMimeData>
#include <QPainter>

#include <exception>

namespace zfw {

namespace {

// The button a drop counts with: right when held, else middle, else left.
Qt::MouseButtons dropButton(Qt::MouseButtons buttons)
{
    if (buttons.testFlag(Qt::RightButton))
        return Qt::RightButton;
    if (buttons.testFlag(Qt::MiddleButton))
        return Qt::MiddleButton;
    return Qt::LeftButton;
}

}  // namespace

// ----- starting a drag ------------------------------------------------------------------------

bool TBaseLazyTree::dragAllowedAt(PLazyNode node, TColumnIndex column, bool isCellHit,
                                  bool isLabelHit, bool fullRowDrag)
{
    // An owner's drag-start hook asks for automatic dragging as dmAutomatic does.
    bool allowed = (FDragMode == dmAutomatic || bool(OnDragStartHook) || Dragging())
                   && (!isCellHit || fullRowDrag);
    if (node && !allowed && FDragMode == dmManual)
        allowed = DoDragAllowed(node, column) && (isLabelHit || fullRowDrag);
    return allowed;
}

bool TBaseLazyTree::DoDragAllowed(PLazyNode node, TColumnIndex column)
{
    bool allowed = false;
    if (OnDragAllowed)
        OnDragAllowed(*this, node, column, allowed);
    return allowed;
}

void TBaseLazyTree::BeginDrag(bool immediate, int threshold)
{
    if (FStates.contains(tsOLEDragPending) || FStates.contains(tsOLEDragging))
        return;
    // Qt has one drag and drop for widgets and programs alike, so both drag types run it.
    FDragThreshold = threshold < 0 ? QApplication::startDragDistance() : threshold;
    if (immediate)
        BeginDragOperation(FLastClickPos);
    else
        DoStateChange({tsOLEDragPending});
}

bool TBaseLazyTree::Dragging() const
{
    return FStates.contains(tsOLEDragging) || FStates.contains(tsOLEDragPending);
}

ILTDragManager& TBaseLazyTree::GetDragManager()
{
    if (!FDragManager) {
        std::unique_ptr<ILTDragManager> manager;
        if (OnCreateDragManager)
            OnCreateDragManager(*this, manager);
        FDragManager = manager ? std::move(manager) : std::make_unique<TLTDragManager>(*this);
    }
    return *FDragManager;
}

void TBaseLazyTree::PrepareDragImage(QPoint hotSpot, const QMimeData* dataObject)
{
    if (FDragImageKind == diNoImage)
        return;
    // The window of DragWidth x DragHeight around the hot spot, in tree coordinates; what lies
    // before the content's origin is cut off.
    const QPoint treePoint(hotSpot.x() + FEffectiveOffsetX, hotSpot.y() - FOffsetY);
    QRect window(treePoint.x() - FDragWidth / 2, treePoint.y() - FDragHeight / 2, FDragWidth,
                 FDragHeight);
    QPoint target(0, 0);
    if (window.left() < 0) {
        target.setX(-window.left());
        window.setLeft(0);
    }
    if (window.top() < 0) {
        target.setY(-window.top());
        window.setTop(0);
    }
    QImage picture(FDragWidth, FDragHeight, QImage::Format_ARGB32);
    const QColor background = BackGroundColor();
    picture.fill(background);
    {
        QPainter painter(&picture);
        QPainterCanvas canvas(painter, palette());
        TLTInternalPaintOptions options{poDrawSelection, poSelectedOnly};
        if (FDragImageKind == diMainColumnOnly)
            options.include(poMainOnly);
        PaintTree(canvas,
                  TRect{window.left(), window.top(), window.right() + 1, window.bottom() + 1},
                  target, options);
    }
    // The picture's corner and the hot spot in client coordinates (the platform's drag places
    // the picture relative to the hot spot).
    const QPoint imagePosition(hotSpot.x() - FDragWidth / 2, hotSpot.y() - FDragHeight / 2);
    FDragImage->SetColorKey(TColor(qRed(background.rgb())) | TColor(qGreen(background.rgb())) << 8
                            | TColor(qBlue(background.rgb())) << 16);
    FDragImage->PrepareDrag(picture, imagePosition, hotSpot, dataObject);
}

void TBaseLazyTree::BeginDragOperation(QPoint hotSpot)
{
    if (FStates.contains(tsEditing))
        CancelEditNode();
    if (PLazyNode hot = FCurrentHotNode) {
        FCurrentHotNode = nullptr;
        InvalidateNode(hot);
    }
    // An unselected focused node goes with the drag.
    if (FFocusedNode && !FFocusedNode->has(vsSelected)) {
        InternalAddToSelection(FFocusedNode, false);
        InvalidateNode(FFocusedNode);
    }
    FDragSelection = GetSortedSelection(true);
    DoStateChange({tsOLEDragging}, {tsOLEDragPending, tsClearPending});
    std::exception_ptr failure;
    FLastDragEffect = DROPEFFECT_NONE;
    try {
        if (OnStartDrag)
            OnStartDrag(*this);
        std::unique_ptr<QMimeData> data;
        if (OnCreateDataObject)
            OnCreateDataObject(*this, data);
        if (!data) {
            clipboardContext();
            data = std::make_unique<TLTDataObject>(FClipboardContext, clipboardId(), false,
                                                   EnumerateClipboardFormats());
        }
        PrepareDragImage(hotSpot, data.get());
        FLastDropMode = dmOnNode;
        int allowed = int(FDragOperations.bits());
        if (allowed == 0)
            allowed = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
        QtDragLoop platformLoop;
        IDragLoop& loop = m_dragLoop ? *m_dragLoop : platformLoop;
        const QPixmap picture = FDragImage->image().isNull()
                                    ? QPixmap()
                                    : QPixmap::fromImage(FDragImage->image());
        FLastDragEffect = loop.exec(this, std::move(data), picture, FDragImage->hotSpot(), allowed);
        GetDragManager().ForceDragLeave();
    } catch (...) {
        failure = std::current_exception();
    }
    // The end steps run whatever happened in the loop.
    try {
        if (OnEndDrag)
            OnEndDrag(*this, viewport()->mapFromGlobal(QCursor::pos()), FLastDragEffect);
        FDragImage->EndDrag();
        if (FLastDragEffect == DROPEFFECT_MOVE
            && options().AutoOptions.contains(toAutoDeleteMovedNodes))
            DeleteSelectedNodes();
    } catch (...) {
        if (!failure)
            failure = std::current_exception();
    }
    FDragImage->EndDrag();
    FDragSelection.clear();
    FStates.exclude(TLazyTreeStates{tsOLEDragging});
    // The platform's drag loop takes the button-up itself: the states of buttons no longer
    // held are left here, or the tree would wait for a release that never comes.
    const Qt::MouseButtons held = QApplication::mouseButtons();
    if (!held.testFlag(Qt::LeftButton))
        FStates.exclude(TLazyTreeStates{tsLeftButtonDown});
    if (!held.testFlag(Qt::MiddleButton))
        FStates.exclude(TLazyTreeStates{tsMiddleButtonDown});
    if (!held.testFlag(Qt::RightButton))
        FStates.exclude(TLazyTreeStates{tsRightButtonDown});
    if (held == Qt::NoButton)
        clearPendingInput(TLazyTreeStates{tsClearPending, tsToggleFocusedSelection,
                                          tsDrawSelPending, tsDrawSelecting, tsEditPending});
    if (failure)
        std::rethrow_exception(failure);
}

// ----- the tree as drop target ----------------------------------------------------------------

int TBaseLazyTree::SuggestDropEffect(QObject* source, Qt::KeyboardModifiers shift, QPoint,
                                     int allowedEffects)
{
    return suggestedDropEffect(source == this, shift, allowedEffects);
}

TDropMode TBaseLazyTree::DetermineDropMode(QPoint p, THitInfo& hitInfo, QRect& nodeRect)
{
    const TLazyTreeOptionSets& opt = options();
    const THitPositions& hp = hitInfo.HitPositions;
    const bool fullRowHit = hp.contains(hiOnItem)
                            && (opt.MiscOptions.contains(toFullRowDrag)
                                || opt.SelectionOptions.contains(toFullRowSelect));
    const bool notOnContent = !hp.contains(hiOnItemLabel) && !hp.contains(hiOnNormalIcon)
                              && !hp.contains(hiOnStateIcon);
    if (opt.MiscOptions.contains(toReportMode) && !fullRowHit
        && (notOnContent || hitInfo.HitColumn != dropMainColumn()))
        hitInfo.HitNode = nullptr;
    if (!hitInfo.HitNode)
        return dmNowhere;
    if (notOnContent && opt.PaintOptions.contains(toShowDropmark))
        return p.y() < (nodeRect.top() + nodeRect.bottom() + 1) / 2 ? dmAbove : dmBelow;
    return dmOnNode;
}

bool TBaseLazyTree::DoDragOver(QObject* source, Qt::KeyboardModifiers shift, TDragState state,
                               QPoint pt, TDropMode mode, int& effect)
{
    bool accept = false;
    if (OnDragOver)
        OnDragOver(*this, source, shift, state, pt, mode, effect, accept);
    return accept;
}

void TBaseLazyTree::DoDragDrop(QObject* source, const QMimeData* data, const QStringList& formats,
                               Qt::KeyboardModifiers shift, Qt::MouseButtons buttons, QPoint pt,
                               int& effect, TDropMode mode)
{
    if (OnDragDrop)
        OnDragDrop(*this, source, data, formats, shift, buttons, pt, effect, mode);
}

bool TBaseLazyTree::OleDragEnter(Qt::KeyboardModifiers shift, QPoint pt, int& effect)
{
    m_dragScrollStarted = false;
    FDragScrollStart = 0;
    m_lastMousePos = pt;
    try {
        QObject* source = GetDragManager().GetDragSource();
        effect = SuggestDropEffect(source, shift, pt, effect);
        if (!DoDragOver(source, shift, dsDragEnter, pt, FLastDropMode, effect)) {
            effect = DROPEFFECT_NONE;
            return true;
        }
        THitInfo hit;
        GetHitTestInfoAt(pt.x(), pt.y(), true, hit);
        if (!hit.HitNode) {
            SetDropTarget(nullptr, dmNowhere);
            return true;
        }
        TDropMode mode = dmOnNode;
        const THitPositions& hp = hit.HitPositions;
        if (!hp.contains(hiOnItemLabel)
            && !(hp.contains(hiOnItem)
                 && (options().MiscOptions.contains(toFullRowDrag)
                     || options().SelectionOptions.contains(toFullRowSelect)))) {
            const QRect r = GetDisplayRect(hit.HitNode, dropMainColumn(), false);
            mode = pt.y() < (r.top() + r.bottom() + 1) / 2 ? dmAbove : dmBelow;
        }
        SetDropTarget(hit.HitNode, mode);
        // The node the drag enters on expands after the delay as one moved onto does; else
        // it would stay closed until the pointer left it and came back.
        if (options().AutoOptions.contains(toAutoDropExpand) && hit.HitNode->has(vsHasChildren))
            startTimerById(ExpandTimer, FAutoExpandDelay);
        return true;
    } catch (...) {
        effect = DROPEFFECT_NONE;
        return false;
    }
}

bool TBaseLazyTree::OleDragOver(QObject* source, Qt::KeyboardModifiers shift, TDragState dragState,
                                QPoint pt, int& effect)
{
    m_lastMousePos = pt;
    try {
        // Qt repeats no drag move while the mouse rests, so the edge scrolling under a drag
        // runs on timer 4 like the rubber band's.
        StartAutoScroll(pt.x(), pt.y());
        THitInfo hit;
        GetHitTestInfoAt(pt.x(), pt.y(), true, hit);
        QRect nodeRect;
        if (hit.HitNode)
            nodeRect = GetDisplayRect(hit.HitNode, NoColumn, false);
        const TDropMode dropMode = DetermineDropMode(pt, hit, nodeRect);
        if (hit.HitNode != FDropTargetNode || dropMode != FLastDropMode) {
            if (hit.HitNode == FDropTargetNode) {
                FLastDropMode = dropMode;
                if (FDropTargetNode)
                    InvalidateNode(FDropTargetNode);
            } else {
                StopTimer(ExpandTimer);
                FLastDropMode = dropMode;
                SetDropTargetNode(hit.HitNode);
                if (FFocusedColumn < 0)
                    FFocusedColumn = dropMainColumn();
                if (options().AutoOptions.contains(toAutoDropExpand) && FDropTargetNode
                    && FDropTargetNode->has(vsHasChildren))
                    startTimerById(ExpandTimer, FAutoExpandDelay);
            }
        }
        effect = SuggestDropEffect(source, shift, pt, effect);
        if (!DoDragOver(source, shift, dragState, pt, FLastDropMode, effect))
            effect = DROPEFFECT_NONE;
        return true;
    } catch (...) {
        effect = DROPEFFECT_NONE;
        return false;
    }
}

void TBaseLazyTree::OleDragLeave()
{
    StopTimer(ExpandTimer);
    SetDropTargetNode(nullptr);
    m_lastMousePos = QPoint(-1, -1);
    if (!IsMouseSelecting()) {
        StopTimer(ScrollTimer);
        FStates.exclude(TLazyTreeStates{tsScrollPending, tsScrolling});
    }
    int effect = DROPEFFECT_NONE;
    DoDragOver(nullptr, {}, dsDragLeave, QPoint(0, 0), FLastDropMode, effect);
}

bool TBaseLazyTree::OleDragDrop(const QMimeData* dataObject, Qt::KeyboardModifiers shift,
                                Qt::MouseButtons buttons, QPoint pt, int& effect)
{
    StopTimer(ExpandTimer);
    StopTimer(ScrollTimer);
    FStates.exclude(TLazyTreeStates{tsScrollPending, tsScrolling});
    // The target is cleared on every way out, a failing handler included.
    ScopeGuard clearTarget([this] { SetDropTargetNode(nullptr); });
    QObject* source = GetDragManager().GetDragSource();
    if (!OleDragOver(source, shift, dsDragMove, pt, effect))
        return false;
    if ((effect & ~DROPEFFECT_SCROLL) == DROPEFFECT_NONE)
        return false;
    try {
        const QStringList formats = dataObject ? dataObject->formats() : QStringList();
        DoDragDrop(source, dataObject, formats, shift, dropButton(buttons), pt, effect,
                   FLastDropMode);
    } catch (...) {
        effect = DROPEFFECT_NONE;
        throw;
    }
    return (effect & ~DROPEFFECT_SCROLL) != DROPEFFECT_NONE;
}

bool TBaseLazyTree::ProcessDrop(const QMimeData& dataObject, PLazyNode targetNode, int& effect,
                                TLTNodeAttachMode mode)
{
    // A read-only tree takes nothing. The effect must say so too: a move answered as done
    // would let the source delete nodes that arrived nowhere.
    if (mode == amNoWhere || options().MiscOptions.contains(toReadOnly)) {
        effect = DROPEFFECT_NONE;
        return false;
    }
    try {
        TBaseLazyTree* source = GetTreeFromDataObject(dataObject);
        BeginUpdate();
        ScopeGuard endUpdate([this] { EndUpdate(); });
        if (source && source != this)
            source->BeginUpdate();
        ScopeGuard endSourceUpdate([&] {
            if (source && source != this)
                source->EndUpdate();
        });
        if ((effect & DROPEFFECT_MOVE) && source) {
            const bool optimized = (effect & DROPEFFECT_COPY) == 0;
            const bool result = ProcessOLEData(source, dataObject, targetNode, mode, optimized);
            // The nodes were moved here: the source must not delete anything.
            effect = DROPEFFECT_NONE;
            return result;
        }
        if (effect & (DROPEFFECT_COPY | DROPEFFECT_MOVE))
            return ProcessOLEData(source, dataObject, targetNode, mode, false);
        return false;
    } catch (...) {
        effect = DROPEFFECT_NONE;
        return false;
    }
}

void TBaseLazyTree::DoDragExpand()
{
    StopTimer(ExpandTimer);
    if (FDropTargetNode && FDropTargetNode->has(vsHasChildren) && !Expanded(FDropTargetNode))
        ToggleNode(FDropTargetNode);
}

// ----- Qt's drag events -----------------------------------------------------------------------

void TBaseLazyTree::dragEnterEvent(QDragEnterEvent* event)
{
    guardedEvent("a drag entering", [&] {
        int effect = int(event->possibleActions().toInt());
        GetDragManager().DragEnter(event->mimeData(), event->source(), event->modifiers(),
                                   event->position().toPoint(), effect);
        // The drag stays ours while it moves over the tree, so that later points may accept.
        event->setDropAction(Qt::DropAction(effect & 7));
        event->accept();
    });
}

void TBaseLazyTree::dragMoveEvent(QDragMoveEvent* event)
{
    guardedEvent("a drag moving", [&] {
        int effect = int(event->possibleActions().toInt());
        GetDragManager().DragOver(event->modifiers(), event->position().toPoint(), effect);
        event->setDropAction(Qt::DropAction(effect & 7));
        if ((effect & 7) != 0)
            event->accept();
        else
            event->ignore();
    });
}

void TBaseLazyTree::dragLeaveEvent(QDragLeaveEvent* event)
{
    guardedEvent("a drag leaving", [&] { GetDragManager().DragLeave(); });
    event->accept();
}

void TBaseLazyTree::dropEvent(QDropEvent* event)
{
    int effect = int(event->possibleActions().toInt());
    guardedEvent("a drop", [&] {
        GetDragManager().Drop(event->mimeData(), event->modifiers(), event->buttons(),
                              event->position().toPoint(), effect);
    });
    // A failed drop has no effect; a move the tree did itself answers none, so that the source
    // deletes nothing.
    event->setDropAction(Qt::DropAction(effect & 7));
    event->accept();
}

}  // namespace zfw
