// Cell hints as plain text through the platform tooltip: the body cell's text with
// HintShowCells, then OnGridHint with the last word. The tooltip is bound to the cell's
// rectangle, so moving to another cell closes it and the next cell gets its own hint.

#include "grid/ExtGrid.h"

#include <QHelpEvent>
#include <QToolTip>

namespace zfw {

QString TExtStringGrid::cellHint(QPoint pos)
{
    QString hint = toolTip();
    const TGridCoord cell = MouseToCell(pos.x(), pos.y());
    if (cell.X < 0 || cell.Y < 0)
        return hint;
    const QPoint b = store().BaseCell(RealColIndex(cell.X), cell.Y);
    const int ACol = DisplColIndex(b.x());
    const int ARow = b.y();
    const bool body = ACol >= FixedCols() && ARow >= FixedRows()
                      && ARow < RowCount() - FixedFooters;
    if (HintShowCells && body)
        hint = GetStrippedCell(b.x(), ARow);
    QString wide;
    DoGridHint(ACol, ARow, hint, wide);
    return hint;
}

bool TExtStringGrid::viewportEvent(QEvent* e)
{
    if (e->type() == QEvent::Leave)
        MouseLeave();
    if (e->type() != QEvent::ToolTip) {
        const int oldRow = Row();
        const bool result = TStringGrid::viewportEvent(e);
        followRow(oldRow);
        return result;
    }
    auto* help = static_cast<QHelpEvent*>(e);
    const QString text = cellHint(help->pos());
    if (text.isEmpty()) {
        QToolTip::hideText();
        e->ignore();
        return true;
    }
    const TGridCoord cell = MouseToCell(help->pos().x(), help->pos().y());
    QRect area;
    if (cell.X >= 0 && cell.Y >= 0) {
        const TRect r = CellRect(cell.X, cell.Y);
        area = QRect(r.Left, r.Top, r.Width(), r.Height());
    }
    QToolTip::showText(help->globalPos(), text, viewport(), area);
    return true;
}

}  // namespace zfw
