// Hints over the header's captions: a column's Hint, or the caption itself when its cell cuts
// it off, shown in the tree's hint window just below the header.

#include "tree/LazyTreesColumns.h"
#include "tree/LazyTreesControl.h"
#include "tree/LazyTreesHeader.h"
#include "tree/LazyTreesHint.h"

#include <QApplication>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QScreen>

#include <algorithm>

namespace zfw {

bool TBaseLazyTree::ShowHeaderHintAt(QPoint headerPos)
{
    const QPoint clientPos = FHeader->HeaderToClient(headerPos);
    // The hint already shown stays while the mouse is inside its column; no new one starts.
    if (FLastHintRect.contains(clientPos) && m_hintWindow && m_hintWindow->isVisible())
        return true;

    TLazyTreeColumns& columns = FHeader->Columns();
    const TLTHeaderOptions options = FHeader->Options();
    FHintData = TLTHintData();
    bool show = false;
    TColumnIndex column = NoColumn;
    int left = 0;
    int right = 0;
    // No hint while the header tracks a width or height or drags a column (or has one of
    // those pending), and none while the left button is held.
    const bool quiet = FHeader->States().empty() && !hintBusy()
                       && !QGuiApplication::mouseButtons().testFlag(Qt::LeftButton);
    if (FShowHint && quiet && hintAllowed(nullptr) && options.contains(hoVisible)
        && options.contains(hoShowHint) && FHeader->UseColumns() && headerPos.y() >= 0
        && headerPos.y() < FHeader->Height()) {
        column = columns.ColumnFromPosition(headerPos);
        if (column >= 0) {
            columns.GetColumnBounds(column, left, right);
            TLazyTreeColumn& c = columns[column];
            // A column without a hint of its own shows none, cut-off caption or not.
            FHintData.DefaultHint = c.Hint();
            show = !FHintData.DefaultHint.isEmpty();
        }
    }
    if (!show) {
        CancelHint();
        return false;
    }
    const int height = FHeader->Height();
    const QRect cursorRect(QPoint(left, -height), QPoint(right - 1, -1));
    const QWidget* band = FHeader->widget();
    QPoint hintPos = band->mapToGlobal(headerPos);
    // Below the header: its exclusive bottom edge at the least.
    hintPos.setY(std::max(hintPos.y(), band->mapToGlobal(QPoint(0, height)).y()));
    FHintData.Node = nullptr;
    FHintData.Column = column;
    return showHintWindow(cursorRect, hintPos, clientPos);
}

bool TBaseLazyTree::headerHintEvent(QEvent* event, QPoint headerPos)
{
    const QPoint clientPos = FHeader->HeaderToClient(headerPos);
    switch (event->type()) {
    case QEvent::ToolTip:
        guardedEvent("a header hint", [&] { ShowHeaderHintAt(headerPos); });
        return true;
    case QEvent::MouseMove: {
        if (!FLastHintRect.isEmpty() && !FLastHintRect.contains(clientPos))
            CancelHint();
        // Until the tree has had a hint window, a header hint shows at once on a move, as a
        // freshly pointed header expects; later ones wait for Qt's delay.
        const bool buttons = static_cast<QMouseEvent*>(event)->buttons() != Qt::NoButton;
        if (FHintWindowDestroyed && !buttons && FLastHintRect.isEmpty()
            && FHeader->Options().contains(hoShowHint) && FHeader->UseColumns())
            guardedEvent("a header hint", [&] { ShowHeaderHintAt(headerPos); });
        return false;
    }
    case QEvent::Leave:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel: CancelHint(); return false;
    default: return false;
    }
}

}  // namespace zfw
