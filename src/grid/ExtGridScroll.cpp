// The string grid's side of scrolling: the hint and the synchronous scroll while a thumb is
// dragged, and the steps that follow a change of the top row or left column.

#include "grid/ExtGrid.h"

#include <QCursor>
#include <QScrollBar>
#include <QToolTip>

#include <algorithm>

namespace zfw {

bool TExtStringGrid::wireScrolling()
{
    // Runs while the grid is made, after the framework made its bars.
    connect(verticalScrollBar(), &QScrollBar::sliderMoved, this,
            [this](int pos) { ThumbTrack(Qt::Vertical, pos); });
    connect(horizontalScrollBar(), &QScrollBar::sliderMoved, this,
            [this](int pos) { ThumbTrack(Qt::Horizontal, pos); });
    connect(verticalScrollBar(), &QScrollBar::sliderReleased, this,
            [this] { ThumbEnd(Qt::Vertical); });
    connect(horizontalScrollBar(), &QScrollBar::sliderReleased, this,
            [this] { ThumbEnd(Qt::Horizontal); });
    return true;
}

void TExtStringGrid::ThumbTrack(Qt::Orientation o, int Pos)
{
    const bool vertical = o == Qt::Vertical;
    const int index = vertical ? geometryModel().rowFromThumb(Pos)
                               : geometryModel().colFromThumb(Pos);
    const bool hint = ScrollHints == shBoth
                      || (vertical ? ScrollHints == shVertical : ScrollHints == shHorizontal);
    if (hint) {
        QString text = (vertical ? QStringLiteral("Row : ") : QStringLiteral("Col : "))
                       + QString::number(index);
        if (OnScrollHint)
            OnScrollHint(this, index, text);
        QToolTip::showText(QCursor::pos() + QPoint(10, 0), text, this);
        m_scrollHintShown = true;
    }
    if (ScrollSynch) {
        if (vertical)
            SetTopRow(
                std::clamp(index, FixedRows(), std::max(FixedRows(), geometryModel().maxTopRow())));
        else
            SetLeftCol(std::clamp(index, FixedCols(),
                                  std::max(FixedCols(), geometryModel().maxLeftCol())));
    }
}

void TExtStringGrid::ThumbEnd(Qt::Orientation)
{
    if (m_scrollHintShown) {
        m_scrollHintShown = false;
        QToolTip::hideText();
    }
}

void TExtStringGrid::ScrolledTopLeft()
{
    const TGridRect s = Selection();
    if (SelectionRectangle && s.Bottom > s.Top)
        Invalidate();
    // A text editor left over a check box would hide the box the user scrolled to.
    if (EditorMode() && HasCheckBox(RealColIndex(Col()), Row()))
        HideEditor();
    TExtStringGrid* partner = SyncGrid.Grid();
    if (!partner || m_syncingScroll)
        return;
    m_syncingScroll = true;
    partner->m_syncingScroll = true;
    if (SyncGrid.ScrollVertical && partner->TopRow() != TopRow())
        partner->SetTopRow(
            std::clamp(TopRow(), partner->FixedRows(),
                       std::max(partner->FixedRows(), partner->geometryModel().maxTopRow())));
    if (SyncGrid.ScrollHorizontal && partner->LeftCol() != LeftCol())
        partner->SetLeftCol(
            std::clamp(LeftCol(), partner->FixedCols(),
                       std::max(partner->FixedCols(), partner->geometryModel().maxLeftCol())));
    partner->m_syncingScroll = false;
    m_syncingScroll = false;
}

}  // namespace zfw
