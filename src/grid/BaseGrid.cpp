// The base grid's cell model side: counts and sizes kept in step between the store and the
// framework grid, text access, repaint requests from the store, and the cell graphics held in
// the store's cell properties.

#include "grid/BaseGrid.h"

#include <algorithm>

namespace zfw {

TBaseGrid::TBaseGrid(QWidget* parent)
    : TStringGrid(parent),
      m_store(TStringGrid::ColCount(), TStringGrid::RowCount(), [](TCellGraphic* g) { delete g; }),
      m_updateLock({[this] { return testAttribute(Qt::WA_WState_Created) && isVisible(); },
                    [this](bool on) { setUpdatesEnabled(on); },
                    // The end of the lock repaints the whole grid whatever a derived
                    // grid's Invalidate would skip.
                    [this] {
                        if (!m_destroying)
                            TBaseGrid::Invalidate();
                    }})
{
    m_store.SetFixedCols(TStringGrid::FixedCols());
    m_store.SetFixedRows(TStringGrid::FixedRows());
    m_store.setListener(this);
    syncFromStore();
    TStringGrid::SetDefaultDrawing(false);
}

TBaseGrid::~TBaseGrid()
{
    m_destroying = true;
    m_store.setListener(nullptr);
}

void TBaseGrid::SetColCount(int n) { m_store.SetColCount(n); }
void TBaseGrid::SetRowCount(int n) { m_store.SetRowCount(n); }
void TBaseGrid::SetFixedCols(int n) { m_store.SetFixedCols(n); }
void TBaseGrid::SetFixedRows(int n) { m_store.SetFixedRows(n); }
void TBaseGrid::SetDefaultColWidth(int w) { m_store.SetDefaultColWidth(w); }
void TBaseGrid::SetDefaultRowHeight(int h) { m_store.SetDefaultRowHeight(h); }
void TBaseGrid::SetColWidths(int DCol, int w) { m_store.SetColWidths(DCol, w); }
void TBaseGrid::SetRowHeights(int ARow, int h) { m_store.SetRowHeights(ARow, h); }

void TBaseGrid::syncFromStore(int FirstRow)
{
    const bool wasSyncing = m_syncing;
    m_syncing = true;
    // Counts before fixed counts: the framework clamps the fixed counts to the counts.
    TStringGrid::SetColCount(m_store.ColCount());
    TStringGrid::SetRowCount(m_store.RowCount());
    if (TStringGrid::FixedCols() != m_store.FixedCols())
        TStringGrid::SetFixedCols(m_store.FixedCols());
    if (TStringGrid::FixedRows() != m_store.FixedRows())
        TStringGrid::SetFixedRows(m_store.FixedRows());
    if (TStringGrid::DefaultColWidth() != m_store.DefaultColWidth())
        TStringGrid::SetDefaultColWidth(m_store.DefaultColWidth());
    if (TStringGrid::DefaultRowHeight() != m_store.DefaultRowHeight())
        TStringGrid::SetDefaultRowHeight(m_store.DefaultRowHeight());
    for (int c = 0; c < m_store.ColCount(); ++c)
        TStringGrid::SetColWidths(c, m_store.ColWidths(c));
    for (int r = std::max(0, FirstRow); r < m_store.RowCount(); ++r)
        TStringGrid::SetRowHeights(r, m_store.RowHeights(r));
    m_syncing = wasSyncing;
}

void TBaseGrid::SizeChanged(int OldColCount, int OldRowCount)
{
    if (!m_syncing) {
        m_syncing = true;
        m_store.SetColCount(TStringGrid::ColCount());
        m_store.SetRowCount(TStringGrid::RowCount());
        m_syncing = false;
        // The store may have kept fixed counts or sizes the framework dropped.
        syncFromStore();
    }
    TStringGrid::SizeChanged(OldColCount, OldRowCount);
}

void TBaseGrid::ColWidthsChanged()
{
    if (!m_syncing) {
        // A width the framework set itself (a sizing drag) goes back into the store.
        m_syncing = true;
        for (int c = 0; c < TStringGrid::ColCount(); ++c)
            if (m_store.ColWidths(c) != TStringGrid::ColWidths(c))
                m_store.SetColWidths(c, TStringGrid::ColWidths(c));
        m_syncing = false;
    }
    TStringGrid::ColWidthsChanged();
}

void TBaseGrid::RowHeightsChanged()
{
    if (!m_syncing) {
        m_syncing = true;
        for (int r = 0; r < TStringGrid::RowCount(); ++r)
            if (m_store.RowHeights(r) != TStringGrid::RowHeights(r))
                m_store.SetRowHeights(r, TStringGrid::RowHeights(r));
        m_syncing = false;
    }
    TStringGrid::RowHeightsChanged();
}

void TBaseGrid::repaintIfChanged(bool changed)
{
    if (changed)
        Invalidate();
}

#define ZFW_BASE_STORE_REPAINT(Name, Type)                                                         \
    void TBaseGrid::Set##Name(Type Value)                                                          \
    {                                                                                              \
        const bool changed = !(Name == Value);                                                     \
        Name = Value;                                                                              \
        repaintIfChanged(changed);                                                                 \
    }
ZFW_BASE_STORE_REPAINT(ActiveRowShow, bool)
ZFW_BASE_STORE_REPAINT(ActiveRowColor, TColor)
ZFW_BASE_STORE_REPAINT(ActiveRowColorTo, TColor)
ZFW_BASE_STORE_REPAINT(ActiveRowMirrorColor, TColor)
ZFW_BASE_STORE_REPAINT(ActiveRowMirrorColorTo, TColor)
ZFW_BASE_STORE_REPAINT(SelectionStyle, TGridSelectionStyle)
#undef ZFW_BASE_STORE_REPAINT

void TBaseGrid::SetGridLineWidth(int Value)
{
    // A negative width would shrink the content rectangle outwards.
    Value = std::max(0, Value);
    m_gridLineWidth = Value;
    Invalidate();
}

void TBaseGrid::SetDefaultDrawing(bool Value)
{
    m_defaultDrawing = Value;
    TStringGrid::SetDefaultDrawing(false);
}

void TBaseGrid::Invalidate()
{
    if (m_updateLock.LockUpdate())
        return;
    TStringGrid::Invalidate();
}

void TBaseGrid::invalidateStoreCell(int DCol, int ARow)
{
    if (m_destroying || m_updateLock.LockUpdate())
        return;
    // Whether the cell's rows can be on screen is answered from the visible page alone: the
    // rectangle of a cell far below the page would cost a walk over every row between.
    const int ACol = m_store.RealColIndex(DCol);
    int top = ARow;
    int bottom = ARow;
    if (m_store.IsMergedCell(ACol, ARow)) {
        const TCellRange area = m_store.FullCell(ACol, ARow);
        top = area.Top;
        bottom = area.Bottom;
    }
    const bool inFixed = top < FixedRows();
    const bool inPage = bottom >= TopRow() && top <= geometryModel().lastPartlyVisibleRow();
    if (!inFixed && !inPage)
        return;
    InvalidateCell(DCol, ARow);
}

void TBaseGrid::repaintCell(int displCol, int r) { invalidateStoreCell(displCol, r); }

void TBaseGrid::cellChanged(int ACol, int ARow)
{
    if (m_destroying || m_store.IsHiddenColumn(ACol))
        return;
    invalidateStoreCell(m_store.DisplColIndex(ACol), ARow);
}

void TBaseGrid::gridChanged() { layoutChanged(0); }

void TBaseGrid::layoutChanged(int FirstRow)
{
    if (m_destroying)
        return;
    if (!m_syncing)
        syncFromStore(FirstRow);
    Invalidate();
}

void TBaseGrid::colWidthChanged(int DCol)
{
    if (m_destroying)
        return;
    if (!m_syncing) {
        m_syncing = true;
        TStringGrid::SetColWidths(DCol, m_store.ColWidths(DCol));
        m_syncing = false;
    }
    Invalidate();
}

void TBaseGrid::rowHeightChanged(int ARow)
{
    if (m_destroying)
        return;
    if (!m_syncing) {
        m_syncing = true;
        TStringGrid::SetRowHeights(ARow, m_store.RowHeights(ARow));
        m_syncing = false;
    }
    Invalidate();
}

TRect TBaseGrid::CellRect(int DCol, int ARow) const
{
    const TRect own = TStringGrid::CellRect(DCol, ARow);
    const int ACol = m_store.RealColIndex(DCol);
    if (DCol < 0 || DCol >= ColCount() || !m_store.IsMergedCell(ACol, ARow))
        return own;
    // The framework knows where the visible cells are; the store adds the area around them.
    const FrameworkGridGeometry& geo = geometryModel();
    CellStore::ViewOrigin view;
    view.LeftCol = LeftCol();
    view.TopRow = TopRow();
    view.ScrollLeft = geo.colLeft(LeftCol());
    view.ScrollTop = geo.rowTop(TopRow());
    const QRect area = m_store.CellRect(ACol, ARow, view);
    const QRect client(0, 0, ClientWidth(), ClientHeight());
    if (!area.intersects(client))
        return {};
    return TRect::fromQRect(area);
}

QString TBaseGrid::GetEditText(int DCol, int ARow)
{
    QString value = GetCellEx(RealColIndex(DCol), ARow);
    if (OnGetEditText)
        OnGetEditText(this, DCol, ARow, value);
    return value;
}

void TBaseGrid::SetEditText(int DCol, int ARow, const QString& Value)
{
    const int ACol = RealColIndex(DCol);
    if (GetCellEx(ACol, ARow) != Value)
        SetCellEx(ACol, ARow, Value);
    if (OnSetEditText)
        OnSetEditText(this, DCol, ARow, Value);
}

TCellGraphic* TBaseGrid::ownGraphic(int c, int r) const { return m_store.GetGraphicObjectEx(c, r); }

bool TBaseGrid::setOwnGraphic(int c, int r, std::unique_ptr<TCellGraphic> g)
{
    TCellProperties* props = g ? m_store.GetCellProperties(c, r) : m_store.GetGridObject(c, r);
    if (!props)
        return !g;  // outside the grid: g is freed here
    delete props->FGraphicObject;
    props->FGraphicObject = g.release();
    // A new or removed graphic changes what the cell shows. Creating one used to repaint only
    // cells behind a hidden column, so a box added elsewhere stayed unseen until something
    // else repainted its cell.
    if (!m_store.IsHiddenColumn(c))
        invalidateStoreCell(m_store.DisplColIndex(c), r);
    return true;
}

std::unique_ptr<TCellGraphic> TBaseGrid::takeOwnGraphic(int c, int r)
{
    TCellProperties* props = m_store.GetGridObject(c, r);
    if (!props || !props->FGraphicObject)
        return nullptr;
    std::unique_ptr<TCellGraphic> g(props->FGraphicObject);
    props->FGraphicObject = nullptr;
    return g;
}

}  // namespace zfw
