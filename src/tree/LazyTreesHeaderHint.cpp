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

bool TBaseLazyTree::headerCaptionCutOff(TLazyTreeColumn& column, int left, int right)
{
    const TLTHeader& header = *FHeader;
    if (column.Text().isEmpty())
        return false;
    // The caption's room as header painting lays it out: the cell less its frame, less the
    // image or check box and the sort arrow beside it.
    const TRect cell{left, 0, right, header.Height()};
    const TLTHeaderOptions options = header.Options();
    const TImageList* images = header.Images();
    const bool glyph = options.contains(hoShowImages)
                       && ((images && column.ImageIndex() >= 0) || column.CheckBox());
    const bool sortGlyph = column.Index() == header.SortColumn()
                           && options.contains(hoShowSortGlyphs);
    int drawFormat = Qt::AlignLeft;
    if (column.CaptionAlignment() == taRightJustify)
        drawFormat = Qt::AlignRight;
    else if (column.CaptionAlignment() == taCenter)
        drawFormat = Qt::AlignHCenter;
    if (column.UseRightToLeftReading())
        drawFormat |= Qt::TextForceRightToLeft;
    const QFontMetrics metrics(header.Font());
    QPoint glyphPos;
    QPoint sortGlyphPos;
    QSize sortGlyphSize;
    TRect text;
    column.LayoutHeaderCell(metrics, cell.inflated(-2, -2), glyph, sortGlyph, glyphPos,
                            sortGlyphPos, sortGlyphSize, text, drawFormat);
    if (column.Options().contains(coWrapCaption)) {
        const int lines = int(column.CaptionText().count(QLatin1Char('\n'))) + 1;
        return lines * metrics.lineSpacing() > std::max(text.Height(), 0);
    }
    return metrics.horizontalAdvance(column.Text()) > std::max(text.Width(), 0);
}

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
            FHintData.DefaultHint = c.Hint();
            if (FHintData.DefaultHint.isEmpty() && headerCaptionCutOff(c, left, right))
                FHintData.DefaultHint = c.Text();
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
