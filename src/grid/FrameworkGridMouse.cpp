// The mouse path of the framework grid: presses, drags and releases become the grid states
// (selecting, column and row sizing), timer 1 scrolls while a range is dragged beyond the
// client area, and a double click goes to the double-click path alone.

#include "grid/FrameworkGrid.h"
#include "grid/FrameworkGridKeyMap.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QTimerEvent>
#include <QWheelEvent>

#include <algorithm>

namespace zfw {

bool TStringGrid::viewportEvent(QEvent* e)
{
    switch (e->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: {
        auto* m = static_cast<QMouseEvent*>(e);
        const QPoint p = m->position().toPoint();
        TShiftState shift = shiftFromQt(m->modifiers(), m->buttons());
        if (e->type() == QEvent::MouseMove) {
            WMMouseMove(shift, p.x(), p.y());
        } else if (m->button() == Qt::LeftButton) {
            if (e->type() == QEvent::MouseButtonPress)
                WMLButtonDown(shift | ssLeft, p.x(), p.y());
            else if (e->type() == QEvent::MouseButtonDblClick)
                WMLButtonDblClk(shift | ssLeft | ssDouble, p.x(), p.y());
            else
                WMLButtonUp(shift, p.x(), p.y());
        } else if (m->button() == Qt::RightButton) {
            if (e->type() == QEvent::MouseButtonRelease)
                WMRButtonUp(shift, p.x(), p.y());
            else
                WMRButtonDown(shift | ssRight, p.x(), p.y());
        }
        e->accept();
        return true;
    }
    case QEvent::Wheel: {
        auto* w = static_cast<QWheelEvent*>(e);
        // Fine-grained wheels send fractions of a notch; they add up to whole notches.
        m_wheelRest += w->angleDelta().y();
        const int notches = m_wheelRest / 120;
        m_wheelRest -= notches * 120;
        if (notches != 0)
            WMMouseWheel(shiftFromQt(w->modifiers(), w->buttons()), notches,
                         w->position().toPoint());
        e->accept();
        return true;
    }
    case QEvent::Paint: paintViewport(static_cast<QPaintEvent*>(e)->rect()); return true;
    default: return QAbstractScrollArea::viewportEvent(e);
    }
}

void TStringGrid::WMLButtonDown(TShiftState Shift, int X, int Y)
{
    if (!hasFocus() && !(m_editor && m_editor->hasFocus()))
        setFocus(Qt::MouseFocusReason);
    MouseDown(mbLeft, Shift, X, Y);
}

void TStringGrid::WMLButtonUp(TShiftState Shift, int X, int Y) { MouseUp(mbLeft, Shift, X, Y); }

void TStringGrid::WMLButtonDblClk(TShiftState Shift, int X, int Y)
{
    if (!hasFocus() && !(m_editor && m_editor->hasFocus()))
        setFocus(Qt::MouseFocusReason);
    // Qt replaces the second press by the double click, as the grid expects; it is not run as
    // an ordinary press a second time.
    MouseDown(mbLeft, Shift, X, Y);
    DblClick();
}

void TStringGrid::WMRButtonDown(TShiftState Shift, int X, int Y)
{
    MouseDown(mbRight, Shift, X, Y);
}

void TStringGrid::WMRButtonUp(TShiftState Shift, int X, int Y) { MouseUp(mbRight, Shift, X, Y); }

void TStringGrid::WMMouseMove(TShiftState Shift, int X, int Y) { MouseMove(Shift, X, Y); }

void TStringGrid::WMMouseWheel(TShiftState Shift, int Notches, QPoint MousePos)
{
    for (int i = 0; i < std::abs(Notches); ++i) {
        if (Notches < 0)
            DoMouseWheelDown(Shift, MousePos);
        else
            DoMouseWheelUp(Shift, MousePos);
    }
}

bool TStringGrid::DoMouseWheelDown(TShiftState Shift, QPoint MousePos)
{
    bool handled = false;
    if (OnMouseWheelDown)
        OnMouseWheelDown(this, Shift, MousePos, handled);
    if (!handled && Row() + 1 < RowCount())
        MoveCurrentCell(Col(), std::max(Row() + 1, FixedRows()), true, true);
    return true;
}

bool TStringGrid::DoMouseWheelUp(TShiftState Shift, QPoint MousePos)
{
    bool handled = false;
    if (OnMouseWheelUp)
        OnMouseWheelUp(this, Shift, MousePos, handled);
    if (!handled && Row() - 1 >= FixedRows())
        MoveCurrentCell(Col(), std::min(Row() - 1, RowCount() - 1), true, true);
    return true;
}

void TStringGrid::CalcSizingState(int X, int Y, TGridState& State, int& Index, int& SizingPos,
                                  int& SizingOfs)
{
    const FrameworkGridSizing s = m_geo.calcSizingState(X, Y, m_options);
    State = s.state;
    Index = s.index;
    SizingPos = s.sizingPos;
    SizingOfs = s.sizingOfs;
}

void TStringGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    m_lastMouse = {X, Y};
    if (Button == mbLeft) {
        m_pressX = X;
        m_pressY = Y;
        m_dragged = false;
        m_pressOnCurrent = false;
        TGridState state = gsNormal;
        int index = -1;
        int pos = 0;
        int ofs = 0;
        CalcSizingState(X, Y, state, index, pos, ofs);
        if ((state == gsColSizing || state == gsRowSizing) && !Shift.testFlag(ssDouble)) {
            if (m_editorMode)
                HideEditor();
            m_gridState = state;
            m_sizingIndex = index;
            m_sizingPos = pos;
            m_sizingOfs = ofs;
            m_sizingOldSize = state == gsColSizing ? ColWidths(index) : RowHeights(index);
            viewport()->update();
        } else {
            const TGridCoord cell = MouseToCell(X, Y);
            const bool body = cell.X >= FixedCols() && cell.Y >= FixedRows();
            if (cell.X >= 0 && cell.Y >= 0 && body) {
                m_pressOnCurrent = cell.X == Col() && cell.Y == Row();
                if (Shift.testFlag(ssDouble)) {
                    // The double click's press: the first press already made the cell
                    // current; no new drag starts.
                    if (!m_pressOnCurrent)
                        MoveCurrentCell(cell.X, cell.Y, true, true);
                } else {
                    const bool extend = Shift.testFlag(ssShift)
                                        && m_options.testFlag(goRangeSelect);
                    MoveCurrentCell(cell.X, cell.Y, !extend, true);
                    m_gridState = gsSelecting;
                    m_scrollTimer.start(kScrollTimerMs, this);
                }
            }
            // A press on a fixed cell leaves the current cell and the selection alone.
        }
    }
    if (OnMouseDown)
        OnMouseDown(this, Button, Shift, X, Y);
}

void TStringGrid::extendSelectionTo(int x, int y)
{
    // The pointer clamped into the scrollable cells on screen.
    const int firstCol = LeftCol();
    const int firstRow = TopRow();
    const int lastCol = std::max(firstCol, std::min(m_geo.lastPartlyVisibleCol(), ColCount() - 1));
    const int lastRow = std::max(firstRow, std::min(m_geo.lastPartlyVisibleRow(), RowCount() - 1));
    TGridCoord cell = MouseToCell(x, y);
    if (cell.X < 0)
        cell.X = x < 0 ? firstCol : lastCol;
    if (cell.Y < 0)
        cell.Y = y < 0 ? firstRow : lastRow;
    cell.X = std::clamp(cell.X, firstCol, lastCol);
    cell.Y = std::clamp(cell.Y, firstRow, lastRow);
    if (cell.X == Col() && cell.Y == Row())
        return;
    m_dragged = true;
    MoveCurrentCell(cell.X, cell.Y, !m_options.testFlag(goRangeSelect), false);
}

void TStringGrid::MouseMove(TShiftState Shift, int X, int Y)
{
    m_lastMouse = {X, Y};
    switch (m_gridState) {
    case gsSelecting:
        if (FixedCols() < ColCount() && FixedRows() < RowCount())
            extendSelectionTo(X, Y);
        break;
    case gsColSizing:
    case gsRowSizing: {
        m_sizingPos = (m_gridState == gsColSizing ? X : Y) - m_sizingOfs;
        viewport()->update();
        break;
    }
    default: {
        // Over a sizing border the pointer shows which way the border moves.
        TGridState state = gsNormal;
        int index = -1;
        int pos = 0;
        int ofs = 0;
        CalcSizingState(X, Y, state, index, pos, ofs);
        if (state == gsColSizing)
            viewport()->setCursor(Qt::SplitHCursor);
        else if (state == gsRowSizing)
            viewport()->setCursor(Qt::SplitVCursor);
        else
            viewport()->unsetCursor();
        break;
    }
    }
    if (OnMouseMove)
        OnMouseMove(this, Shift, X, Y);
}

void TStringGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft) {
        // The state is read now, not at the press: a derived grid that set gsNormal before
        // calling this cancels the drag.
        switch (m_gridState) {
        case gsSelecting: {
            m_scrollTimer.stop();
            m_gridState = gsNormal;
            Click();
            if (m_pressOnCurrent && !m_dragged && m_options.testFlag(goEditing)
                && !m_options.testFlag(goRowSelect) && !m_editorMode)
                SetEditorMode(true);
            break;
        }
        case gsColSizing:
        case gsRowSizing: {
            const bool cols = m_gridState == gsColSizing;
            const int delta = (cols ? X - m_pressX : Y - m_pressY);
            const int index = m_sizingIndex;
            m_gridState = gsNormal;
            m_sizingIndex = -1;
            if (cols)
                SetColWidths(index, std::max(0, m_sizingOldSize + delta));
            else
                SetRowHeights(index, std::max(0, m_sizingOldSize + delta));
            viewport()->update();
            break;
        }
        default:
            m_scrollTimer.stop();
            m_gridState = gsNormal;
            m_sizingIndex = -1;
            break;
        }
    }
    if (OnMouseUp)
        OnMouseUp(this, Button, Shift, X, Y);
}

void TStringGrid::Click()
{
    if (OnClick)
        OnClick(this);
}

void TStringGrid::DblClick()
{
    if (OnDblClick)
        OnDblClick(this);
    // A double click on the current body cell opens the editor.
    const TGridCoord cell = MouseToCell(m_lastMouse.x(), m_lastMouse.y());
    if (cell.X == Col() && cell.Y == Row() && cell.X >= FixedCols() && cell.Y >= FixedRows()
        && m_options.testFlag(goEditing) && !m_editorMode)
        SetEditorMode(true);
}

void TStringGrid::timerEvent(QTimerEvent* e)
{
    if (e->timerId() == m_scrollTimer.timerId()) {
        WMTimer(kScrollTimerId);
        return;
    }
    QAbstractScrollArea::timerEvent(e);
}

void TStringGrid::WMTimer(int TimerId)
{
    if (TimerId != kScrollTimerId)
        return;
    if (m_gridState != gsSelecting) {
        m_scrollTimer.stop();
        return;
    }
    // One row or column per tick towards a pointer held beyond the scrollable area.
    const int x = m_lastMouse.x();
    const int y = m_lastMouse.y();
    int left = LeftCol();
    int top = TopRow();
    if (y < m_geo.fixedHeight())
        top = std::max(FixedRows(), top - 1);
    else if (y >= ClientHeight())
        top = std::min(m_geo.maxTopRow(), top + 1);
    if (x < m_geo.fixedWidth())
        left = std::max(FixedCols(), left - 1);
    else if (x >= ClientWidth())
        left = std::min(m_geo.maxLeftCol(), left + 1);
    if (left == LeftCol() && top == TopRow())
        return;
    scrollTo(left, top);
    // Extend to the cell now at the edge the pointer is beyond.
    const int px = x < m_geo.fixedWidth() ? m_geo.fixedWidth() : x;
    const int py = y < m_geo.fixedHeight() ? m_geo.fixedHeight() : y;
    extendSelectionTo(px, py);
}

}  // namespace zfw
