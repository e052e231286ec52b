#include "grid/FrameworkGrid.h"

#include <QApplication>
#include <QFocusEvent>
#include <QResizeEvent>
#include <QScrollBar>
#include <QtDebug>

#include <algorithm>

namespace zfw {

QEvent::Type GridEditDoneEvent::type()
{
    static const QEvent::Type t = static_cast<QEvent::Type>(QEvent::registerEventType());
    return t;
}

TStringGrid::TStringGrid(QWidget* parent) : QAbstractScrollArea(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAutoFillBackground(false);
    viewport()->setMouseTracking(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    for (QScrollBar* bar : {horizontalScrollBar(), verticalScrollBar()}) {
        bar->setRange(0, kGridThumbMax);
        bar->setSingleStep(1);
        bar->setPageStep(1);
        bar->setTracking(false);
    }
    connect(horizontalScrollBar(), &QScrollBar::actionTriggered, this,
            [this](int a) { barAction(Qt::Horizontal, a); });
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this,
            [this](int a) { barAction(Qt::Vertical, a); });
    connect(horizontalScrollBar(), &QScrollBar::sliderReleased, this,
            [this] { barReleased(Qt::Horizontal); });
    connect(verticalScrollBar(), &QScrollBar::sliderReleased, this,
            [this] { barReleased(Qt::Vertical); });
    // Enter and exit concern the grid together with its editors: moving the focus into the
    // editor is no exit.
    m_focusConnection = connect(qApp, &QApplication::focusChanged, this,
                                &TStringGrid::focusChangedInApp);
    m_geo.setClientSize(viewport()->width(), viewport()->height());
}

TStringGrid::~TStringGrid() { disconnect(m_focusConnection); }

quint64 TStringGrid::cellKey(int col, int row)
{
    return (quint64(quint32(col)) << 32) | quint32(row);
}

// ----- counts and sizes ------------------------------------------------------------------

void TStringGrid::clampCurrentAfterShrink(int oldColCount, int oldRowCount)
{
    // Only a cell that was inside and now falls outside is pulled back; a selection parked
    // outside the grid on purpose stays where it is.
    auto pull = [](TGridCoord& c, int oldCols, int oldRows, int cols, int rows) {
        const bool wasInside = c.X < oldCols && c.Y < oldRows;
        if (wasInside) {
            c.X = std::min(c.X, std::max(0, cols - 1));
            c.Y = std::min(c.Y, std::max(0, rows - 1));
        }
    };
    pull(m_cursor.current, oldColCount, oldRowCount, ColCount(), RowCount());
    pull(m_cursor.anchor, oldColCount, oldRowCount, ColCount(), RowCount());
}

void TStringGrid::SetColCount(int n)
{
    const int oldCols = ColCount();
    const int oldRows = RowCount();
    if (std::max(0, n) == oldCols)
        return;
    const int oldLeft = LeftCol();
    m_geo.SetColCount(n);
    clampCurrentAfterShrink(oldCols, oldRows);
    SizeChanged(oldCols, oldRows);
    if (LeftCol() != oldLeft)
        fireTopLeftChanged();
    UpdateEditor();
    Invalidate();
}

void TStringGrid::SetRowCount(int n)
{
    const int oldCols = ColCount();
    const int oldRows = RowCount();
    if (std::max(0, n) == oldRows)
        return;
    const int oldTop = TopRow();
    m_geo.SetRowCount(n);
    clampCurrentAfterShrink(oldCols, oldRows);
    SizeChanged(oldCols, oldRows);
    if (TopRow() != oldTop)
        fireTopLeftChanged();
    UpdateEditor();
    Invalidate();
}

void TStringGrid::SetFixedCols(int n)
{
    const int oldLeft = LeftCol();
    if (!m_geo.SetFixedCols(n))
        qWarning("TStringGrid: FixedCols %d clamped to %d (ColCount %d)", n, FixedCols(),
                 ColCount());
    m_cursor.current.X = std::max(m_cursor.current.X, FixedCols());
    m_cursor.anchor.X = std::max(m_cursor.anchor.X, FixedCols());
    if (LeftCol() != oldLeft)
        fireTopLeftChanged();
    updateScrollBars();
    Invalidate();
}

void TStringGrid::SetFixedRows(int n)
{
    const int oldTop = TopRow();
    if (!m_geo.SetFixedRows(n))
        qWarning("TStringGrid: FixedRows %d clamped to %d (RowCount %d)", n, FixedRows(),
                 RowCount());
    m_cursor.current.Y = std::max(m_cursor.current.Y, FixedRows());
    m_cursor.anchor.Y = std::max(m_cursor.anchor.Y, FixedRows());
    if (TopRow() != oldTop)
        fireTopLeftChanged();
    updateScrollBars();
    Invalidate();
}

void TStringGrid::SetDefaultColWidth(int w)
{
    m_geo.SetDefaultColWidth(w);
    ColWidthsChanged();
}

void TStringGrid::SetDefaultRowHeight(int h)
{
    m_geo.SetDefaultRowHeight(h);
    RowHeightsChanged();
}

void TStringGrid::SetColWidths(int col, int w)
{
    if (m_geo.SetColWidths(col, w))
        ColWidthsChanged();
}

void TStringGrid::SetRowHeights(int row, int h)
{
    if (m_geo.SetRowHeights(row, h))
        RowHeightsChanged();
}

void TStringGrid::ColWidthsChanged()
{
    updateScrollBars();
    UpdateEditor();
    Invalidate();
}

void TStringGrid::RowHeightsChanged()
{
    updateScrollBars();
    UpdateEditor();
    Invalidate();
}

void TStringGrid::SizeChanged(int, int) { updateScrollBars(); }

// ----- scrolling ---------------------------------------------------------------------------

void TStringGrid::fireTopLeftChanged()
{
    updateScrollBars();
    UpdateEditor();
    Invalidate();
    TopLeftChanged();
}

void TStringGrid::TopLeftChanged()
{
    if (OnTopLeftChanged)
        OnTopLeftChanged(this);
}

void TStringGrid::scrollTo(int leftCol, int topRow)
{
    const bool a = m_geo.SetLeftCol(leftCol);
    const bool b = m_geo.SetTopRow(topRow);
    if (a || b)
        fireTopLeftChanged();
}

void TStringGrid::SetTopRow(int row)
{
    if (m_geo.SetTopRow(row))
        fireTopLeftChanged();
}

void TStringGrid::SetLeftCol(int col)
{
    if (m_geo.SetLeftCol(col))
        fireTopLeftChanged();
}

void TStringGrid::SetScrollBars(TScrollStyle s)
{
    m_scrollBars = s;
    updateScrollBars();
}

void TStringGrid::updateScrollBars()
{
    // Showing or hiding a bar resizes the viewport, which comes back here through
    // resizeEvent; the guard keeps that to one level, and the loop settles the case where one
    // bar takes the room that makes the other one needed.
    if (m_updatingBars)
        return;
    m_updatingBars = true;
    for (int pass = 0; pass < 3; ++pass) {
        m_geo.setClientSize(viewport()->width(), viewport()->height());
        const bool horz = ((m_scrollBars == ssHorizontal || m_scrollBars == ssBoth)
                           && m_geo.needsHorzScroll())
                          || keepsScrollBar(Qt::Horizontal);
        const bool vert = ((m_scrollBars == ssVertical || m_scrollBars == ssBoth)
                           && m_geo.needsVertScroll())
                          || keepsScrollBar(Qt::Vertical);
        const Qt::ScrollBarPolicy hp = horz ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
        const Qt::ScrollBarPolicy vp = vert ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
        if (hp == horizontalScrollBarPolicy() && vp == verticalScrollBarPolicy())
            break;
        setHorizontalScrollBarPolicy(hp);
        setVerticalScrollBarPolicy(vp);
    }
    m_geo.setClientSize(viewport()->width(), viewport()->height());
    QScrollBar* hb = horizontalScrollBar();
    QScrollBar* vb = verticalScrollBar();
    // A bar shown while everything fits has nothing to scroll: its arrows are off.
    hb->setEnabled(m_geo.needsHorzScroll());
    vb->setEnabled(m_geo.needsVertScroll());
    if (!hb->isSliderDown())
        hb->setValue(m_geo.thumbFromCol(LeftCol()));
    if (!vb->isSliderDown())
        vb->setValue(m_geo.thumbFromRow(TopRow()));
    m_updatingBars = false;
}

void TStringGrid::barAction(Qt::Orientation o, int action)
{
    QScrollBar* bar = o == Qt::Vertical ? verticalScrollBar() : horizontalScrollBar();
    int code = -1;
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd: code = SB_LINEDOWN; break;
    case QAbstractSlider::SliderSingleStepSub: code = SB_LINEUP; break;
    case QAbstractSlider::SliderPageStepAdd: code = SB_PAGEDOWN; break;
    case QAbstractSlider::SliderPageStepSub: code = SB_PAGEUP; break;
    case QAbstractSlider::SliderToMinimum: code = SB_TOP; break;
    case QAbstractSlider::SliderToMaximum: code = SB_BOTTOM; break;
    case QAbstractSlider::SliderMove: code = SB_THUMBTRACK; break;
    default: return;
    }
    const int pos = bar->sliderPosition();
    if (o == Qt::Vertical)
        WMVScroll(code, pos);
    else
        WMHScroll(code, pos);
    // The slider applies its own step once this returns; it must land on the position that
    // stands for the new scroll position instead. While the thumb is dragged it stays where
    // the pointer holds it.
    if (code != SB_THUMBTRACK)
        bar->setSliderPosition(o == Qt::Vertical ? m_geo.thumbFromRow(TopRow())
                                                 : m_geo.thumbFromCol(LeftCol()));
}

void TStringGrid::barReleased(Qt::Orientation o)
{
    QScrollBar* bar = o == Qt::Vertical ? verticalScrollBar() : horizontalScrollBar();
    const int pos = bar->sliderPosition();
    if (o == Qt::Vertical) {
        WMVScroll(SB_THUMBPOSITION, pos);
        WMVScroll(SB_ENDSCROLL, pos);
    } else {
        WMHScroll(SB_THUMBPOSITION, pos);
        WMHScroll(SB_ENDSCROLL, pos);
    }
    updateScrollBars();
}

namespace {

// The scroll position a bar request asks for on one axis.
int scrollTarget(int code, int pos, int current, int fixed, int maxPos, int page,
                 bool thumbTracking, int fromThumb)
{
    switch (code) {
    case SB_LINEUP: return std::max(fixed, current - 1);
    case SB_LINEDOWN: return std::min(maxPos, current + 1);
    case SB_PAGEUP: return std::max(fixed, current - std::max(1, page));
    case SB_PAGEDOWN: return std::min(maxPos, std::max(current, current + std::max(1, page)));
    case SB_TOP: return fixed;
    case SB_BOTTOM: return maxPos;
    case SB_THUMBPOSITION: return fromThumb;
    case SB_THUMBTRACK: return thumbTracking ? fromThumb : current;
    default: return current;
    }
}

}  // namespace

void TStringGrid::WMVScroll(int Code, int Pos)
{
    const int target = scrollTarget(Code, Pos, TopRow(), FixedRows(), m_geo.maxTopRow(),
                                    VisibleRowCount(), m_options.testFlag(goThumbTracking),
                                    m_geo.rowFromThumb(Pos));
    SetTopRow(target);
}

void TStringGrid::WMHScroll(int Code, int Pos)
{
    const int target = scrollTarget(Code, Pos, LeftCol(), FixedCols(), m_geo.maxLeftCol(),
                                    VisibleColCount(), m_options.testFlag(goThumbTracking),
                                    m_geo.colFromThumb(Pos));
    SetLeftCol(target);
}

// ----- current cell and selection ----------------------------------------------------------

bool TStringGrid::MoveCurrentCell(int ACol, int ARow, bool MoveAnchor, bool Show)
{
    if (!SelectCell(ACol, ARow))
        return false;
    const TGridRect oldSel = Selection();
    const bool changed = ACol != Col() || ARow != Row();
    if (changed && m_editorMode)
        HideEditor();
    m_cursor.current = {ACol, ARow};
    if (MoveAnchor)
        m_cursor.anchor = m_cursor.current;
    if (Show) {
        const TGridCoord pos = m_geo.scrollPositionFor(ACol, ARow);
        scrollTo(pos.X, pos.Y);
    }
    if (changed && m_options.testFlag(goAlwaysShowEditor))
        ShowEditor();
    InvalidateGridRect(oldSel);
    InvalidateGridRect(Selection());
    return true;
}

void TStringGrid::SetSelection(const TGridRect& r)
{
    const TGridRect oldSel = Selection();
    m_cursor.setSelection(r);
    InvalidateGridRect(oldSel);
    InvalidateGridRect(Selection());
}

bool TStringGrid::SelectCell(int ACol, int ARow)
{
    bool can = true;
    if (OnSelectCell)
        OnSelectCell(this, ACol, ARow, can);
    return can;
}

void TStringGrid::SetOptions(TGridOptions o)
{
    if (o == m_options)
        return;
    m_options = o;
    // The options' part of the show condition only: CanEditShow is the decision to open an
    // editor, which a derived grid may act on.
    if (m_editorMode && (!o.testFlag(goEditing) || o.testFlag(goRowSelect)))
        HideEditor();
    Invalidate();
}

void TStringGrid::SetDefaultDrawing(bool on)
{
    m_defaultDrawing = on;
    Invalidate();
}

void TStringGrid::SetColor(TColor c)
{
    m_color = c;
    Invalidate();
}

void TStringGrid::SetFixedColor(TColor c)
{
    m_fixedColor = c;
    Invalidate();
}

// ----- cell store --------------------------------------------------------------------------

QString TStringGrid::Cells(int ACol, int ARow) const { return m_cells.value(cellKey(ACol, ARow)); }

void TStringGrid::SetCells(int ACol, int ARow, const QString& s)
{
    if (ACol < 0 || ARow < 0)
        return;
    if (s.isEmpty())
        m_cells.remove(cellKey(ACol, ARow));
    else
        m_cells.insert(cellKey(ACol, ARow), s);
    InvalidateCell(ACol, ARow);
}

void* TStringGrid::Objects(int ACol, int ARow) const
{
    return m_objects.value(cellKey(ACol, ARow), nullptr);
}

void TStringGrid::SetObjects(int ACol, int ARow, void* obj)
{
    if (ACol < 0 || ARow < 0)
        return;
    if (obj)
        m_objects.insert(cellKey(ACol, ARow), obj);
    else
        m_objects.remove(cellKey(ACol, ARow));
}

// ----- repaint requests --------------------------------------------------------------------

void TStringGrid::Invalidate() { viewport()->update(); }

void TStringGrid::InvalidateCell(int ACol, int ARow)
{
    const TRect r = CellRect(ACol, ARow);
    if (!r.isEmpty())
        viewport()->update(r.toQRect());
}

void TStringGrid::InvalidateGridRect(const TGridRect& r)
{
    const int left = std::max(r.Left, 0);
    const int top = std::max(r.Top, 0);
    const int right = std::min(r.Right, ColCount() - 1);
    const int bottom = std::min(r.Bottom, RowCount() - 1);
    if (left > right || top > bottom)
        return;
    // The corners clamped into the span on screen; the union of their rectangles covers every
    // cell of the range that is on screen.
    const int firstCol = std::max(left, std::min(LeftCol(), right));
    const int firstRow = std::max(top, std::min(TopRow(), bottom));
    const int lastCol = std::min(right, std::max(m_geo.lastPartlyVisibleCol(), firstCol));
    const int lastRow = std::min(bottom, std::max(m_geo.lastPartlyVisibleRow(), firstRow));
    QRect area;
    for (TGridCoord c :
         {TGridCoord{left < FixedCols() ? left : firstCol, top < FixedRows() ? top : firstRow},
          TGridCoord{lastCol, lastRow}}) {
        const TRect cr = CellRect(c.X, c.Y);
        if (!cr.isEmpty())
            area |= cr.toQRect();
    }
    // With both clamped corners off screen, no cell of the range is on screen.
    if (area.isValid())
        viewport()->update(area);
}

// ----- the GridEditDone event and the event hook -------------------------------------------

void TStringGrid::PostGridEditDone(int ACol, int ARow)
{
    QCoreApplication::postEvent(this, new GridEditDoneEvent(ACol, ARow));
}

bool TStringGrid::WndProc(QEvent* e) { return e->type() == GridEditDoneEvent::type(); }

// ----- focus, size -------------------------------------------------------------------------

void TStringGrid::focusChangedInApp(QWidget* old, QWidget* now)
{
    // The parent chain is walked by hand: an editor's pop-up list is a window of its own, and
    // the focus moving into it is no exit.
    auto inside = [this](QWidget* w) {
        for (; w; w = w->parentWidget())
            if (w == this)
                return true;
        return false;
    };
    // Enter and exit follow the focus within the grid's own window. No focus widget means the
    // application lost activation, and a widget of another window (a message box, a second
    // form) takes the keyboard only for a while: the grid keeps its place in its window and
    // neither leaves nor enters.
    if (!now || (now->window() != window() && !inside(now)))
        return;
    const bool wasInside = m_focusInside || inside(old);
    const bool isInside = inside(now);
    if (!wasInside && isInside) {
        m_focusInside = true;
        DoEnter();
    } else if (wasInside && !isInside) {
        m_focusInside = false;
        DoExit();
    }
}

void TStringGrid::DoEnter()
{
    if (OnEnter)
        OnEnter(this);
}

void TStringGrid::DoExit()
{
    if (OnExit)
        OnExit(this);
}

void TStringGrid::focusInEvent(QFocusEvent* e)
{
    QAbstractScrollArea::focusInEvent(e);
    WMSetFocus();
}

void TStringGrid::focusOutEvent(QFocusEvent* e)
{
    QAbstractScrollArea::focusOutEvent(e);
    WMKillFocus();
}

void TStringGrid::WMSetFocus()
{
    InvalidateGridRect(Selection());
    if (m_options.testFlag(goAlwaysShowEditor) && !m_editorMode && !m_takingFocusBack)
        ShowEditor();
}

void TStringGrid::WMKillFocus()
{
    // Losing the focus in the middle of a drag ends it: the release goes elsewhere.
    if (m_gridState != gsNormal)
        WMCancelMode();
    InvalidateGridRect(Selection());
}

void TStringGrid::WMCancelMode()
{
    m_scrollTimer.stop();
    m_gridState = gsNormal;
    m_sizingIndex = -1;
    viewport()->unsetCursor();
    Invalidate();
}

void TStringGrid::resizeEvent(QResizeEvent* e)
{
    QAbstractScrollArea::resizeEvent(e);
    m_geo.setClientSize(viewport()->width(), viewport()->height());
    updateScrollBars();
    UpdateEditor();
    Resize();
}

void TStringGrid::Resize()
{
    if (OnResize)
        OnResize(this);
}

void TStringGrid::changeEvent(QEvent* e)
{
    QAbstractScrollArea::changeEvent(e);
    switch (e->type()) {
    case QEvent::EnabledChange:
    case QEvent::FontChange:
    case QEvent::PaletteChange: Invalidate(); break;
    case QEvent::ActivationChange:
        if (!isActiveWindow() && m_gridState != gsNormal)
            WMCancelMode();
        break;
    default: break;
    }
}

bool TStringGrid::event(QEvent* e)
{
    if (WndProc(e))
        return true;
    if (e->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(e);
        // Tab reaches the grid only when it takes Tab; otherwise it moves the focus on.
        if ((k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab) && WantsTab()
            && !(k->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            keyPressEvent(k);
            return true;
        }
    }
    if (e->type() == QEvent::ShortcutOverride) {
        // Keys the grid moves with are its own, not a window shortcut's.
        auto* k = static_cast<QKeyEvent*>(e);
        if (k->key() == Qt::Key_Escape || k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
            e->accept();
            return true;
        }
    }
    return QAbstractScrollArea::event(e);
}

}  // namespace zfw
