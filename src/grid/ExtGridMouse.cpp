// The string grid's mouse path: the left press in its order of cases (veto, fixed cells,
// select-all / row / column from the fixed cells, check boxes, ordinary press), the release
// with the cancelled size and the disjunct cell selection, the double click with the
// header-border auto-size, the right click, the wheel and Ctrl+wheel zoom.

#include "grid/ExtGrid.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QPainter>
#include <QPixmap>
#include <QToolTip>

#include <algorithm>
#include <cmath>

namespace zfw {

namespace {

// A press this close to a column's left or right border in a header row sizes the column.
constexpr int kBorderZone = 4;

}  // namespace

TGridCoord TExtStringGrid::ScreenToCell(QPoint pt) const
{
    const QPoint p = viewport()->mapFromGlobal(pt);
    TGridCoord c = MouseToCell(p.x(), p.y());
    if (c.X < 0 || c.Y < 0)
        c = TGridCoord{-1, -1};
    return c;
}

bool TExtStringGrid::IsOnSizingEdge(int X, int Y)
{
    TGridState state = gsNormal;
    int index = -1;
    int pos = 0;
    int ofs = 0;
    CalcSizingState(X, Y, state, index, pos, ofs);
    return state == gsColSizing || state == gsRowSizing;
}

void TExtStringGrid::WMLButtonDown(TShiftState Shift, int X, int Y)
{
    m_mouseSelection = Selection();
    TGridCoord cell = MouseToCell(X, Y);
    if (Options().testFlag(goEditing) && MouseActions.RangeSelectAndEdit) {
        // A press outside the selection starts a new range: it selects rather than edits. The
        // selection's last column and row count as inside (an exclusive test switched editing
        // off for a press inside a one-cell selection).
        const TGridRect s = Selection();
        const bool inside = cell.X >= std::min(s.Left, s.Right)
                            && cell.X <= std::max(s.Left, s.Right)
                            && cell.Y >= std::min(s.Top, s.Bottom)
                            && cell.Y <= std::max(s.Top, s.Bottom);
        if (!inside)
            SetOptions(Options() & ~TGridOptions(goEditing));
    }
    bool allow = true;
    if (OnCanClickCell)
        OnCanClickCell(this, cell.Y, cell.X, allow);
    if (!allow)
        return;
    if (pressFixedSizing(X, Y))
        return;

    if (cell.X < 0 || cell.Y < 0) {
        HideInplaceEdit();
        if (!store().FixedRowAlways())
            TStringGrid::WMLButtonDown(Shift, X, Y);
        return;
    }
    // The base cell of a merged area stands for the whole area.
    {
        const QPoint b = store().BaseCell(RealColIndex(cell.X), cell.Y);
        cell = TGridCoord{DisplColIndex(b.x()), b.y()};
    }
    const int ACol = cell.X;
    const int ARow = cell.Y;
    const int realCol = RealColIndex(ACol);
    const bool fixed = IsFixed(realCol, ARow);
    if (fixed)
        HideInplaceEdit();

    const bool onSizingEdge = IsOnSizingEdge(X, Y);
    const TGridRect previous = Selection();
    const TGridRect body{FixedCols(), FixedRows(), ColCount() - 1, RowCount() - 1};
    bool selectedFromFixed = false;
    if (!onSizingEdge && body.Right >= body.Left && body.Bottom >= body.Top) {
        if (ACol < FixedCols() && ARow < FixedRows() && MouseActions.AllSelect
            && Options().testFlag(goRangeSelect)) {
            setFocus(Qt::MouseFocusReason);
            SetSelection(body);
            selectedFromFixed = true;
        } else if (ACol < FixedCols() && ARow >= FixedRows() && MouseActions.RowSelect) {
            const int from = Shift.testFlag(ssShift) ? previous.Top : ARow;
            m_selectedCells.clear();
            SetSelection(TGridRect{FixedCols(), from, ColCount() - 1, ARow});
            selectedFromFixed = true;
            m_fixedDragMode = TMouseSelectMode::msRow;
            MouseSelectStart = ARow;
        } else if (ACol >= FixedCols() && ARow < FixedRows() && MouseActions.ColSelect
                   && Options().testFlag(goRangeSelect)) {
            int from = ACol;
            int to = ACol;
            if (Shift.testFlag(ssShift)) {
                from = std::min(ACol, previous.Left);
                to = std::max(ACol, previous.Right);
            }
            m_selectedCells.clear();
            SetSelection(TGridRect{from, FixedRows(), to, RowCount() - 1});
            selectedFromFixed = true;
            m_fixedDragMode = TMouseSelectMode::msColumn;
            MouseSelectStart = ACol;
        }
        if (selectedFromFixed) {
            Invalidate();
            const TGridRect s = Selection();
            if (s != previous)
                DoSelectionChanged(s.Left, s.Top, s.Right, s.Bottom);
        }
    }

    // A check box toggles on a press anywhere in its cell (on the box alone with
    // PreciseCheckBoxCheck). The press is the toggle: it is no cell click.
    if (!onSizingEdge && HasCheckBox(realCol, ARow)) {
        bool canEdit = Options().testFlag(goEditing) || MouseActions.RangeSelectAndEdit;
        QueryCellEditable(realCol, ARow, canEdit);
        const TRect r = CellRect(ACol, ARow);
        const bool onBox = !MouseActions.PreciseCheckBoxCheck
                           || checkBoxRect(realCol, ARow, r).contains(X, Y);
        const bool rowOk = ARow >= FixedRows() || MouseActions.CheckAllCheck;
        if (onBox && canEdit && rowOk) {
            HideInplaceEdit();
            setFocus(Qt::MouseFocusReason);
            ToggleCheckBoxEx(realCol, ARow, false);
            bool state = false;
            GetCheckBoxState(realCol,
                             store().NumHiddenRows() > 0 ? store().RealRowIndex(ARow) : ARow,
                             state);
            if (!Navigation.AlwaysEdit && ARow >= FixedRows() && ACol >= FixedCols())
                MoveCurrentCell(ACol, ARow, true, true);
            DoCheckBoxClick(ACol, ARow, state);
            if (HideFocusRect)
                RepaintCell(ACol, ARow);
            if (ARow < FixedRows() && MouseActions.CheckAllCheck) {
                for (int r = FixedRows(); r < RowCount(); ++r)
                    SetCheckBoxState(realCol, r, state);
                Invalidate();
            }
            if (OnMouseDown)
                OnMouseDown(this, mbLeft, Shift, X, Y);
            Click();
            return;
        }
    }

    // A body cell the is-fixed hook marks fixed takes no cursor; the form still hears of it.
    if (fixed && ACol >= FixedCols() && ARow >= FixedRows()) {
        if (OnClickCell)
            OnClickCell(this, ARow, ACol);
        return;
    }

    if (!selectedFromFixed)
        TStringGrid::WMLButtonDown(Shift, X, Y);
    else if (OnMouseDown)
        OnMouseDown(this, mbLeft, Shift, X, Y);

    const bool sizingPress = ARow < FixedRows() && Options().testFlag(goColSizing)
                             && (onSizingEdge || [&] {
                                    const TRect r = CellRect(ACol, ARow);
                                    return X < r.Left + kBorderZone || X >= r.Right - kBorderZone;
                                }());
    if (!sizingPress && OnClickCell)
        OnClickCell(this, ARow, ACol);
}

void TExtStringGrid::MouseMove(TShiftState Shift, int X, int Y)
{
    // Dragging from a press selects instead of editing while range selection may edit.
    if (Shift.testFlag(ssLeft) && MouseActions.RangeSelectAndEdit && Options().testFlag(goEditing)
        && !EditorMode())
        SetOptions(Options() & ~TGridOptions(goEditing));

    if (m_sizingFixed) {
        dragFixedSizing(X, Y);
        return;
    }
    const TGridRect s0 = Selection();
    const TGridCoord cell = MouseToCell(X, Y);
    trackHover(cell);
    if (Shift.testFlag(ssLeft) && m_fixedDragMode != TMouseSelectMode::msNormal)
        dragFixedSelection(X, Y, cell);
    m_mouseSelectMode = GridState() == gsNormal && !Shift.testFlag(ssLeft)
                            ? pressModeAt(X, Y, cell)
                            : TMouseSelectMode::msNormal;

    TStringGrid::MouseMove(Shift, X, Y);

    if (GridState() == gsNormal) {
        if (fixedSizingBorder(Qt::Horizontal, X, Y) >= 0) {
            viewport()->setCursor(Qt::SplitHCursor);
        } else if (fixedSizingBorder(Qt::Vertical, X, Y) >= 0) {
            viewport()->setCursor(Qt::SplitVCursor);
        } else if (m_mouseSelectMode != TMouseSelectMode::msNormal) {
            showMouseSelectCursor();
        } else if (cell.X >= 0 && cell.Y >= 0 && !IsOnSizingEdge(X, Y)) {
            // Over a cell (not a sizing border) the form may choose the pointer.
            DoGetCellCursor(cell.X, cell.Y, X, Y);
        }
    } else if (GridState() == gsColSizing || GridState() == gsRowSizing) {
        reportSizing();
    }

    const TGridRect s = Selection();
    if (s != s0 || (GridState() == gsSelecting && s != m_mouseSelection)) {
        m_mouseSelection = s;
        DoSelectionChanged(s.Left, s.Top, s.Right, s.Bottom);
    }
}

void TExtStringGrid::trackHover(const TGridCoord& cell)
{
    const bool onCell = cell.X >= 0 && cell.Y >= 0;
    if (HoverRow && onCell && cell.Y != FHoverRowIdx) {
        const int old = FHoverRowIdx;
        FHoverRowIdx = cell.Y;
        RepaintRow(cell.Y);
        if (old >= 0 && old < RowCount())
            RepaintRow(old);
    }
    if (HoverFixedCells != THoverFixedCells::hfNone && !NoMouseLeave) {
        const QPoint now = onCell ? QPoint(cell.X, cell.Y) : QPoint(-1, -1);
        const QPoint old = HoverFixedCell;
        if (now != old) {
            HoverFixedCell = now;
            auto repaintFixed = [this](QPoint c) {
                if (c.x() >= 0 && c.y() >= 0 && (c.x() < FixedCols() || c.y() < FixedRows()))
                    RepaintCell(c.x(), c.y());
            };
            repaintFixed(old);
            repaintFixed(now);
        }
    }
}

void TExtStringGrid::dragFixedSelection(int X, int Y, const TGridCoord& cell)
{
    if (MouseSelectStart < 0)
        return;
    if (m_fixedDragMode == TMouseSelectMode::msRow && MouseActions.RowSelect) {
        if (cell.Y >= FixedRows() && cell.Y < RowCount() - FixedFooters) {
            const int to = std::max(FixedRows(), cell.Y);
            const TGridRect r{FixedCols(), std::min(MouseSelectStart, to), ColCount() - 1,
                              std::max(MouseSelectStart, to)};
            if (r != Selection()) {
                SetSelection(r);
                Invalidate();
            }
        }
        // Held at the bottom edge (or over the fixed rows) the grid scrolls one row.
        if (Y > viewport()->height() - 4 && TopRow() < geometryModel().maxTopRow())
            SetTopRow(TopRow() + 1);
        else if (FixedRows() > 0 && Y < RowHeights(0) && TopRow() > FixedRows())
            SetTopRow(TopRow() - 1);
    } else if (m_fixedDragMode == TMouseSelectMode::msColumn && MouseActions.ColSelect) {
        if (cell.X >= 0) {
            const int to = std::max(FixedCols(), cell.X);
            const TGridRect r{std::min(MouseSelectStart, to), FixedRows(),
                              std::max(MouseSelectStart, to), RowCount() - 1};
            if (r != Selection()) {
                SetSelection(r);
                Invalidate();
            }
        }
    }
    (void)X;
}

TMouseSelectMode TExtStringGrid::pressModeAt(int X, int Y, const TGridCoord& cell)
{
    if (cell.X < 0 || cell.Y < 0 || fixedSizingBorder(Qt::Horizontal, X, Y) >= 0
        || fixedSizingBorder(Qt::Vertical, X, Y) >= 0)
        return TMouseSelectMode::msNormal;
    if (cell.X < FixedCols() && cell.Y < FixedRows())
        return MouseActions.AllSelect ? TMouseSelectMode::msAll : TMouseSelectMode::msNormal;
    if (IsOnSizingEdge(X, Y))
        return TMouseSelectMode::msNormal;
    if (cell.Y < FixedRows() && MouseActions.ColSelect)
        return TMouseSelectMode::msColumn;
    if (cell.X < FixedCols() && MouseActions.RowSelect && cell.Y < RowCount())
        return TMouseSelectMode::msRow;
    return TMouseSelectMode::msNormal;
}

namespace {

// The pointers of the select modes: a black arrow with a white rim pointing right (rows),
// down (columns) or into the grid (everything). 32 x 32, hot spot at the tip.
QCursor selectModeCursor(TMouseSelectMode mode)
{
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    // An arrow pointing right with its tip at (24, 16); turned for the other modes.
    const QPolygonF arrow{{8, 12}, {16, 12}, {16, 7}, {24, 16}, {16, 25}, {16, 20}, {8, 20}};
    QPoint hot(24, 16);
    p.translate(16, 16);
    if (mode == TMouseSelectMode::msColumn) {
        p.rotate(90);
        hot = QPoint(16, 24);
    } else if (mode != TMouseSelectMode::msRow) {
        p.rotate(45);
        hot = QPoint(22, 22);
    }
    p.translate(-16, -16);
    p.setPen(QPen(Qt::white, 2));
    p.setBrush(Qt::black);
    p.drawPolygon(arrow);
    p.end();
    return QCursor(pm, hot.x(), hot.y());
}

}  // namespace

void TExtStringGrid::showMouseSelectCursor()
{
    if (m_mouseSelectMode == TMouseSelectMode::msURL)
        return;
    viewport()->setCursor(selectModeCursor(m_mouseSelectMode));
}

void TExtStringGrid::reportSizing()
{
    const int index = sizingIndex();
    if (index < 0)
        return;
    const bool cols = GridState() == gsColSizing;
    const int size = cols ? sizingPos() - geometryModel().colLeft(index)
                          : sizingPos() - geometryModel().rowTop(index);
    reportSize(cols, index, std::max(0, size));
}

void TExtStringGrid::reportSize(bool cols, int index, int size)
{
    if (cols && OnColumnSizing)
        OnColumnSizing(this, index, size);
    else if (!cols && OnRowSizing)
        OnRowSizing(this, index, size);
    if (!HintShowSizing)
        return;
    const QString hint =
        (cols ? QStringLiteral("cw=<b>%1</b>") : QStringLiteral("rh=<b>%1</b>")).arg(size);
    // At the sized cell's top left corner; for a fixed column or row at cell (0, 0).
    const bool fixedCell = cols ? index < FixedCols() : index < FixedRows();
    const TRect r = fixedCell ? CellRect(0, 0) : cols ? CellRect(index, 0) : CellRect(0, index);
    m_sizingHintShown = true;
    QToolTip::showText(viewport()->mapToGlobal(QPoint(r.Left, r.Top)), hint, viewport());
}

// ----- sizing the fixed columns and rows -----

int TExtStringGrid::fixedSizingBorder(Qt::Orientation o, int X, int Y) const
{
    const bool cols = o == Qt::Horizontal;
    if (cols ? !MouseActions.SizeFixedCol : !MouseActions.SizeFixedRow)
        return -1;
    const TGridCoord cell = MouseToCell(X, Y);
    if (cell.X < 0 || cell.Y < 0)
        return -1;
    const int count = cols ? FixedCols() : FixedRows();
    for (int i = 0; i < count; ++i) {
        const int edge = cols ? geometryModel().colLeft(i) + ColWidths(i)
                              : geometryModel().rowTop(i) + RowHeights(i);
        if (std::abs(edge - (cols ? X : Y)) < 3)
            return i;
    }
    return -1;
}

bool TExtStringGrid::pressFixedSizing(int X, int Y)
{
    for (Qt::Orientation o : {Qt::Horizontal, Qt::Vertical}) {
        const int i = fixedSizingBorder(o, X, Y);
        if (i < 0)
            continue;
        if (EditorMode())
            HideEditor();
        m_sizingFixed = o;
        m_sizingFixedIndex = i;
        if (o == Qt::Horizontal)
            DrawColSizingLine(X);
        else
            DrawRowSizingLine(Y);
        return true;
    }
    return false;
}

void TExtStringGrid::dragFixedSizing(int X, int Y)
{
    const bool cols = *m_sizingFixed == Qt::Horizontal;
    if (cols && m_colSizingLine != X)
        DrawColSizingLine(X);
    else if (!cols && m_rowSizingLine != Y)
        DrawRowSizingLine(Y);
    const int size = cols ? X - geometryModel().colLeft(m_sizingFixedIndex)
                          : Y - geometryModel().rowTop(m_sizingFixedIndex);
    reportSize(cols, m_sizingFixedIndex, std::max(0, size));
}

bool TExtStringGrid::releaseFixedSizing(int X, int Y)
{
    if (!m_sizingFixed)
        return false;
    const bool cols = *m_sizingFixed == Qt::Horizontal;
    const int index = m_sizingFixedIndex;
    m_sizingFixed.reset();
    m_sizingFixedIndex = -1;
    if (m_colSizingLine)
        DrawColSizingLine(*m_colSizingLine);
    if (m_rowSizingLine)
        DrawRowSizingLine(*m_rowSizingLine);
    // Released beyond the grid, as for the other columns: the size is dropped.
    if (cols ? X >= viewport()->width() : Y >= viewport()->height())
        return true;
    int size = std::max(0, cols ? X - geometryModel().colLeft(index)
                                : Y - geometryModel().rowTop(index));
    if (cols) {
        SetColWidths(index, size);
        if (OnEndColumnSize)
            OnEndColumnSize(this, index);
        const int applied = size;
        DoUpdateColumnSize(index, size);
        if (size != applied)
            SetColWidths(index, std::max(0, size));
    } else {
        SetRowHeights(index, size);
        if (OnEndRowSize)
            OnEndRowSize(this, index);
    }
    return true;
}

bool TExtStringGrid::IsHoverFixedCell(int ACol, int ARow) const
{
    const bool cols = HoverFixedCells == THoverFixedCells::hfAll
                      || HoverFixedCells == THoverFixedCells::hfFixedColumns;
    const bool rows = HoverFixedCells == THoverFixedCells::hfAll
                      || HoverFixedCells == THoverFixedCells::hfFixedRows;
    return (cols && ACol >= 0 && ACol < FixedCols()) || (rows && ARow >= 0 && ARow < FixedRows());
}

void TExtStringGrid::ResetFixedCellHighlight()
{
    NoMouseLeave = false;
    if (HoverFixedCells == THoverFixedCells::hfNone || HoverFixedCell == QPoint(-1, -1))
        return;
    const QPoint old = HoverFixedCell;
    HoverFixedCell = QPoint(-1, -1);
    RepaintCell(old.x(), old.y());
}

void TExtStringGrid::MouseLeave()
{
    m_mouseSelectMode = TMouseSelectMode::msNormal;
    if (!NoMouseLeave && HoverFixedCells != THoverFixedCells::hfNone
        && HoverFixedCell != QPoint(-1, -1)) {
        const QPoint old = HoverFixedCell;
        HoverFixedCell = QPoint(-1, -1);
        RepaintCell(old.x(), old.y());
    }
    if (HoverRow && FHoverRowIdx >= 0) {
        const int old = FHoverRowIdx;
        FHoverRowIdx = -1;
        if (old < RowCount())
            RepaintRow(old);
    }
}

void TExtStringGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    const TGridRect s0 = Button == mbLeft ? m_mouseSelection : Selection();
    const TGridCoord cell = MouseToCell(X, Y);
    if (Button == mbLeft) {
        m_mouseSelectMode = TMouseSelectMode::msNormal;
        m_fixedDragMode = TMouseSelectMode::msNormal;
        MouseSelectStart = -1;
    }
    if (m_sizingHintShown) {
        m_sizingHintShown = false;
        QToolTip::hideText();
    }
    if (Button == mbLeft && releaseFixedSizing(X, Y)) {
        TStringGrid::MouseUp(Button, Shift, X, Y);
        return;
    }

    // A size dragged out of the grid is dropped: the column (row) keeps its size.
    const bool outX = X < 0 || X >= viewport()->width();
    const bool outY = Y < 0 || Y >= viewport()->height();
    if (Button == mbLeft
        && ((GridState() == gsColSizing && outX) || (GridState() == gsRowSizing && outY))) {
        SetGridState(gsNormal);
        auto up = std::exchange(OnMouseUp, nullptr);
        TStringGrid::MouseUp(Button, Shift, X, Y);
        OnMouseUp = std::move(up);
        viewport()->update();
        return;
    }

    if (MouseActions.DisjunctCellSelect() && Button == mbLeft && cell.X >= 0 && cell.Y >= 0) {
        const QPoint b = store().BaseCell(RealColIndex(cell.X), cell.Y);
        const TGridCoord base{DisplColIndex(b.x()), b.y()};
        if (!IsFixed(b.x(), b.y())) {
            bool can = true;
            if (OnSelectCell)
                OnSelectCell(this, base.X, base.Y, can);
            if (!can)
                return;
            if (Shift.testFlag(ssShift)) {
                // Listed once: a second entry would survive a later Ctrl+click removal.
                if (!m_selectedCells.contains(base))
                    m_selectedCells.append(base);
            } else if (Shift.testFlag(ssCtrl)) {
                if (m_selectedCells.contains(base))
                    m_selectedCells.removeAll(base);
                else
                    m_selectedCells.append(base);
            } else {
                for (const TGridCoord& c : std::as_const(m_selectedCells))
                    RepaintCell(c.X, c.Y);
                m_selectedCells.clear();
                m_selectedCells.append(base);
            }
        } else if (!Shift.testFlag(ssCtrl) && !IsFixed(RealColIndex(cell.X), cell.Y)) {
            m_selectedCells.clear();
            Invalidate();
        }
        // A range dragged or extended by Shift lists its cells too.
        const TGridRect sel = Selection();
        if (sel.Left != sel.Right || sel.Top != sel.Bottom) {
            for (int r = sel.Top; r <= sel.Bottom; ++r)
                for (int c = sel.Left; c <= sel.Right; ++c)
                    if (TGridCoord{c, r} != base && !IsSelected(c, r))
                        m_selectedCells.append(TGridCoord{c, r});
            for (const TGridCoord& c : std::as_const(m_selectedCells))
                RepaintCell(c.X, c.Y);
        }
        RepaintCell(cell.X, cell.Y);
    }

    const bool colSizing = GridState() == gsColSizing;
    const bool rowSizing = GridState() == gsRowSizing;
    const int sizedIndex = sizingIndex();
    m_dblClkSized = false;
    // The width-change steps that follow a user's sizing need to know which column it was.
    if (Button == mbLeft && colSizing)
        m_colSized = sizedIndex;
    // An editor opened by this release puts its caret under the mouse.
    LButFlg = Button == mbLeft;
    FLButPos = QPoint(X, Y);
    TStringGrid::MouseUp(Button, Shift, X, Y);
    LButFlg = false;
    m_colSized = -1;
    if (Button == mbLeft && colSizing && OnEndColumnSize)
        OnEndColumnSize(this, sizedIndex);
    if (Button == mbLeft && rowSizing && OnEndRowSize)
        OnEndRowSize(this, sizedIndex);

    const TGridRect s = Selection();
    m_mouseSelection = s;
    if (s != s0)
        DoSelectionChanged(s.Left, s.Top, s.Right, s.Bottom);
}

void TExtStringGrid::WMLButtonDblClk(TShiftState Shift, int X, int Y)
{
    TGridCoord cell = MouseToCell(X, Y);
    int ACol = cell.X;
    int ARow = cell.Y;
    if (ACol < 0 && X >= 0) {
        if (store().FixedRowAlways()) {
            TStringGrid::WMLButtonDblClk(Shift, X, Y);
            return;
        }
        // Right of the last column: as on the last column's header.
        ACol = ColCount() - 1;
        ARow = 0;
    }
    if (ACol >= 0 && ARow >= 0 && ARow < FixedRows() && Options().testFlag(goColSizing)
        && MouseActions.AutoSizeColOnDblClick) {
        const TRect r = geometryModel().CellRect(ACol, ARow);
        // For the column right of the last one the border is the last column's right edge.
        const int right = r.isEmpty() ? X : r.Right;
        int target = -1;
        bool onBorder = false;
        if (!r.isEmpty() && X <= r.Left + kBorderZone) {
            onBorder = true;
            target = ACol - 1 >= FixedCols() ? ACol - 1 : -1;
        } else if (X >= right - kBorderZone && ACol >= FixedCols() && X <= right + kBorderZone) {
            onBorder = true;
            target = ACol;
        }
        if (onBorder) {
            m_dblClkSized = true;
            if (target >= 0) {
                bool allow = true;
                if (OnColumnSize)
                    OnColumnSize(this, target, allow);
                if (allow) {
                    AutoSizeCol(target, 0);
                    if (OnEndColumnSize)
                        OnEndColumnSize(this, target);
                }
            }
            if (OnDblClick)
                OnDblClick(this);
            return;
        }
    }
    if (cell.X >= 0 && cell.Y >= 0 && HasCheckBox(RealColIndex(cell.X), cell.Y)) {
        // The press before it toggled the box; the double click neither toggles it again nor
        // opens a text editor over it.
        if (OnDblClick)
            OnDblClick(this);
        return;
    }
    TStringGrid::WMLButtonDblClk(Shift, X, Y);
    if (OnDblClickCell)
        OnDblClickCell(this, cell.Y, cell.X);
}

void TExtStringGrid::WMRButtonDown(TShiftState Shift, int X, int Y)
{
    TStringGrid::WMRButtonDown(Shift, X, Y);
    const TGridCoord cell = MouseToCell(X, Y);
    if (MouseActions.SelectOnRightClick && cell.X >= 0 && cell.Y >= 0) {
        const QPoint b = store().BaseCell(RealColIndex(cell.X), cell.Y);
        const TGridCoord base{DisplColIndex(b.x()), b.y()};
        const bool listed = MouseActions.DisjunctCellSelect() && IsSelected(base.X, base.Y);
        if (!IsFixed(b.x(), b.y()) && !listed && !HasCheckBox(b.x(), b.y())) {
            if (IsSelected(base.X, base.Y)) {
                bool can = true;
                if (OnSelectCell)
                    OnSelectCell(this, base.X, base.Y, can);
            } else {
                const TGridRect s0 = Selection();
                MoveCurrentCell(base.X, base.Y, true, true);
                const TGridRect s = Selection();
                if (s != s0)
                    DoSelectionChanged(s.Left, s.Top, s.Right, s.Bottom);
            }
        }
    }
    if (OnRightClickCell)
        OnRightClickCell(this, cell.Y, cell.X);
}

// ----- wheel and zoom -----

void TExtStringGrid::WMMouseWheel(TShiftState Shift, int Notches, QPoint MousePos)
{
    const TGridRect s0 = Selection();
    const bool down = Notches < 0;
    const int lines = std::max(1, QApplication::wheelScrollLines());
    for (int i = 0; i < std::abs(Notches); ++i) {
        if (Shift.testFlag(ssCtrl) && IntelliZoom) {
            Zoom(down ? lines : -lines);
            // Cells whose content no longer fits after the step grow to it again.
            AutoSizeCells(true, 4, 4);
            continue;
        }
        if (!wheelStep(down, Shift, MousePos))
            break;
    }
    const TGridRect s = Selection();
    if (s != s0)
        DoSelectionChanged(s.Left, s.Top, s.Right, s.Bottom);
}

bool TExtStringGrid::wheelStep(bool down, TShiftState Shift, QPoint MousePos)
{
    // Without the wheel the grid still takes the event, so that nothing behind it scrolls.
    if (!EnableWheel || (store().FixedRowAlways() && RowCount() == 1))
        return false;
    const int f = MouseActions.WheelIncrement >= 1 ? MouseActions.WheelIncrement
                                                   : std::max(1, QApplication::wheelScrollLines());
    if (MouseActions.WheelAction() == TWheelAction::waScroll) {
        if (down && TopRow() < geometryModel().maxTopRow())
            SetTopRow(std::min(TopRow() + f, geometryModel().maxTopRow()));
        else if (!down && TopRow() > FixedRows())
            SetTopRow(std::max(FixedRows(), TopRow() - f));
    } else {
        const int last = RowCount() - FixedFooters - 1;
        if (last < FixedRows())
            return false;
        const int target = std::clamp(down ? Row() + f : Row() - f, FixedRows(), last);
        const int col = std::clamp(Col(), FixedCols(), ColCount() - 1);
        if (target != Row() || col != Col()) {
            if (MouseActions.DisjunctRowSelect())
                ClearRowSelect();
            // A refused target leaves the cursor where it is; halfway is tried once.
            if (!MoveCurrentCell(col, target, true, true)) {
                const int half = Row() + int(std::nearbyint((target - Row()) / 2.0));
                if (half != Row())
                    MoveCurrentCell(col, half, true, true);
            }
        }
    }
    if (MouseActions.WheelIncrement != 0 || MouseActions.DisjunctRowSelect()) {
        bool handled = false;
        if (down && OnMouseWheelDown)
            OnMouseWheelDown(this, Shift, MousePos, handled);
        else if (!down && OnMouseWheelUp)
            OnMouseWheelUp(this, Shift, MousePos, handled);
    }
    return true;
}

void TExtStringGrid::Zoom(int x)
{
    const int n = m_zoomFactor + x;
    if (n > 10 || n < -10)
        return;
    m_zoomFactor = n;
    for (int c = 0; c < ColCount(); ++c) {
        const int w = ColWidths(c);
        if (w > 0 && w + x > 0)
            SetColWidths(c, w + x);
    }
    for (int r = 0; r < RowCount(); ++r) {
        const int h = RowHeights(r);
        if (h > 0 && h + x > 0)
            SetRowHeights(r, h + x);
    }
}

void TExtStringGrid::CloseDropDowns()
{
    for (QComboBox* box : findChildren<QComboBox*>()) {
        // The list lives in its own top-level container; only an open one is closed, so a
        // box that was never dropped sees no close notification.
        if (box->view() && box->view()->isVisible())
            box->hidePopup();
    }
}

}  // namespace zfw
