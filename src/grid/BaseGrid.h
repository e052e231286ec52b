#pragma once
// The base of the program's string grids: the framework grid joined to the widget-free cell
// store. The store is the one owner of counts, fixed counts, widths, heights, texts and cell
// properties; the framework grid's geometry follows it (counts and sizes are copied over after
// every store change), and a size the user drags in the framework grid is copied back.
//
// Indexes: the framework grid works in display columns (DCol); texts and properties are kept
// by real column (ACol), so a hidden column keeps its texts in place.

#include "grid/CellGraphic.h"
#include "grid/CellStore.h"
#include "grid/FrameworkGrid.h"
#include "grid/GridDrawCell.h"

namespace zfw {

// How selected cells are painted. Only ssDefault (the highlight colour) is drawn so far; the
// three button-face styles are kept as settings.
enum class TGridSelectionStyle : std::uint8_t { ssDefault, ssVista, ssWin7, ssOffice2007 };

// Which cells of the row under the mouse take the hover colours. Normal cells always do.
enum THoverRowCell : std::uint8_t { hcNormal = 1, hcFixed = 2, hcSelected = 4 };
Q_DECLARE_FLAGS(THoverRowCells, THoverRowCell)
Q_DECLARE_OPERATORS_FOR_FLAGS(THoverRowCells)

class TBaseGrid : public TStringGrid, public CellStoreListener, public CellGraphicHost {
    Q_OBJECT
public:
    explicit TBaseGrid(QWidget* parent = nullptr);
    ~TBaseGrid() override;

    CellStore& store() { return m_store; }
    const CellStore& store() const { return m_store; }

    // ----- counts and sizes: written to the store, the framework grid follows -----
    void SetColCount(int n);
    void SetRowCount(int n);
    // Clamped by the store to count - 1.
    void SetFixedCols(int n);
    void SetFixedRows(int n);
    void SetDefaultColWidth(int w);
    void SetDefaultRowHeight(int h);
    void SetColWidths(int DCol, int w);
    void SetRowHeights(int ARow, int h);

    // ----- look of the base painter -----
    // The writers store the value and repaint the grid when it changed.
    bool ActiveRowShow = false;  // the current row in the active-row colours
    TColor ActiveRowColor = clInfoBk;
    TColor ActiveRowColorTo = clNone;
    TColor ActiveRowMirrorColor = clNone;
    TColor ActiveRowMirrorColorTo = clNone;
    TGridSelectionStyle SelectionStyle = TGridSelectionStyle::ssDefault;
    void SetActiveRowShow(bool Value);
    void SetActiveRowColor(TColor Value);
    void SetActiveRowColorTo(TColor Value);
    void SetActiveRowMirrorColor(TColor Value);
    void SetActiveRowMirrorColorTo(TColor Value);
    void SetSelectionStyle(TGridSelectionStyle Value);
    // The row under the mouse in the hover colours; the mouse code keeps FHoverRowIdx.
    bool HoverRow = false;
    TColor HoverRowColor = clInfoBk;
    TColor HoverRowColorTo = clNone;
    THoverRowCells HoverRowCells = THoverRowCells(hcNormal | hcSelected);
    int FHoverRowIdx = -1;
    // Width of the lines the base painter draws inside normal cells (fixed cells always get
    // one pixel); 0 draws none. The framework grid draws no lines of its own.
    int GridLineWidth() const { return m_gridLineWidth; }
    void SetGridLineWidth(int Value);
    // The grid's own copy of the flag; the framework's default drawing stays off, since every
    // cell goes through the base painter.
    bool DefaultDrawing() const { return m_defaultDrawing; }
    void SetDefaultDrawing(bool Value);
    // Kept, not read by the base grid.
    bool FCustomSelect = true;

    // ----- update lock -----
    // A nesting lock for bulk changes. While it is held, repaint requests of the grid are
    // dropped; when the last level ends, drawing is on and the whole grid is repainted once.
    // BeginUpdate also switches drawing off while the grid is shown; StartUpdate only counts.
    // Every call counts, shown or not, so that a lock taken on a hidden grid (or one hidden
    // before the lock ends) is released by its EndUpdate; an extra EndUpdate stays at 0.
    void BeginUpdate() { m_updateLock.BeginUpdate(); }
    void StartUpdate() { m_updateLock.StartUpdate(); }
    void EndUpdate() { m_updateLock.EndUpdate(); }
    // Drops every level at once and repaints.
    void ResetUpdate() { m_updateLock.ResetUpdate(); }
    bool LockUpdate() const { return m_updateLock.LockUpdate(); }
    void SetLockUpdate(bool Value) { m_updateLock.SetLockUpdate(Value); }
    int updateCount() const { return m_updateLock.updateCount(); }

    // ----- hidden columns (real indexes) -----
    void HideColumn(int ACol) { m_store.HideColumn(ACol); }
    void HideColumns(int FromCol, int ToCol) { m_store.HideColumns(FromCol, ToCol); }
    void UnHideColumn(int ACol) { m_store.UnHideColumn(ACol); }
    void UnHideColumns(int FromCol, int ToCol) { m_store.UnHideColumns(FromCol, ToCol); }
    bool IsHiddenColumn(int ACol) const { return m_store.IsHiddenColumn(ACol); }
    int RealColIndex(int DCol) const { return m_store.RealColIndex(DCol); }
    int DisplColIndex(int ACol) const { return m_store.DisplColIndex(ACol); }

    // ----- merged areas (real columns) -----
    bool MergeCells(int ACol, int ARow, int SpanX, int SpanY)
    {
        return m_store.MergeCells(ACol, ARow, SpanX, SpanY);
    }
    void SplitCells(int ACol, int ARow) { m_store.SplitCells(ACol, ARow); }

    // ----- texts (real columns) -----
    // The base cell's text of a merged area, through the display-text hooks.
    QString GetCellEx(int ACol, int ARow) const { return m_store.GetCellEx(ACol, ARow); }
    // Writes the base cell of a merged area and repaints it; false when the store refuses
    // the index.
    bool SetCellEx(int ACol, int ARow, const QString& Value)
    {
        return m_store.SetCellEx(ACol, ARow, Value);
    }
    // The framework's cell access, routed to the store so that there is one set of texts.
    QString Cells(int ACol, int ARow) const { return GetCellEx(ACol, ARow); }
    void SetCells(int ACol, int ARow, const QString& s) { SetCellEx(ACol, ARow, s); }

    // Screen rectangle of display cell (DCol, ARow); for a cell of a merged area the whole
    // area, clipped to nothing when the area is out of view.
    TRect CellRect(int DCol, int ARow) const override;

    // Paints one cell (real column ACol) into any canvas, as a paint pass does: IsFixed may
    // turn the state fixed, the rectangle becomes the cell's (its whole merged area for a base
    // cell), and the content follows. A non-base cell of a merged area paints its base cell,
    // once per pass.
    void PaintCell(IGridCanvas& ACanvas, int ACol, int ARow, const TRect& ARect,
                   TGridDrawState AState);
    // Background and lines only, in the given rectangle and state; a selected state takes the
    // active-row colours. No content.
    void PaintCellExt(IGridCanvas& ACanvas, int ACol, int ARow, const TRect& ARect,
                      TGridDrawState AState);

    // Paints the cells that meet updateRect through `canvas`; painter is used for the parts
    // the framework paints itself (what lies beyond the last cell). One call is one pass: a
    // merged area is painted once in it.
    void paintCells(IGridCanvas& canvas, QPainter& painter, const QRect& updateRect);
    // The number of the paint pass in progress (or the last one).
    int paintId() const { return m_paintId; }

    // ----- hooks -----
    void Paint(QPainter& painter, const QRect& updateRect) override;
    void DrawCell(int DCol, int ARow, const TRect& ARect, TGridDrawState AState) override;
    QString GetEditText(int DCol, int ARow) override;
    void SetEditText(int DCol, int ARow, const QString& Value) override;
    // Counts, widths and heights set through the framework grid go back into the store.
    void SizeChanged(int OldColCount, int OldRowCount) override;
    void ColWidthsChanged() override;
    void RowHeightsChanged() override;
    // The display text of a normal cell: fires OnGetDisplText. The store reaches it through
    // its OnGetDisplText hook, which the string grid's constructor points here.
    std::function<void(QObject* Sender, int ACol, int ARow, QString& Value)> OnGetDisplText;
    virtual void GetDisplText(int ACol, int ARow, QString& Value)
    {
        if (OnGetDisplText)
            OnGetDisplText(this, ACol, ARow, Value);
    }
    // Node rows and their pixel indent; none in the base grid.
    virtual bool HasNodes() const { return false; }
    virtual int GetRowIndent(int ARow) const { return 0; }
    // What the painter reads of the grid for one pass.
    virtual CellPaintGrid cellPaintGrid() const;
    // The cell's colours and font; from its properties where it has any. Creates nothing.
    virtual CellVisual cellVisual(int ACol, int ARow, bool fixed) const;
    // The background the cell painter fills for real column ACol in draw state AState (the
    // state may gain or lose gdFixed and gdSelected); by default cellVisual with the
    // highlight colour for a selected normal cell.
    virtual CellVisual paintVisual(int ACol, int ARow, TGridDrawState& AState);
    // The cell being painted, for the content hook: display column, row, whole rectangle
    // (the merged area for a base cell) and draw state after paintVisual.
    struct CellDrawContext {
        int DCol = 0;
        int ARow = 0;
        TRect rect;
        TGridDrawState state;
    };
    const CellDrawContext& cellDrawContext() const { return m_cellDraw; }
    // True when the content hook fires OnDrawCell itself (in its own place in the cell's
    // drawing order); the base painter then leaves it out.
    virtual bool firesDrawCellEvent() const { return false; }
    // Paints the cell's content (text for the default style) into `content`.
    virtual void DrawCellContent(IGridCanvas& canvas, int ACol, int ARow, const TRect& content,
                                 bool selected);

    // Repaints the whole grid unless the update lock is held.
    void Invalidate() override;

    // ----- CellStoreListener -----
    // Each follows what the store changed and costs that much: a cell repaints that cell (or
    // its merged area) when it is on screen, a width or height one column or row.
    void cellChanged(int ACol, int ARow) override;
    void gridChanged() override;
    void layoutChanged(int FirstRow) override;
    void colWidthChanged(int DCol) override;
    void rowHeightChanged(int ARow) override;

    // ----- CellGraphicHost -----
    int totalColCount() const override { return m_store.TotalColCount(); }
    int rowCount() const override { return m_store.RowCount(); }
    TCellGraphic* ownGraphic(int c, int r) const override;
    bool setOwnGraphic(int c, int r, std::unique_ptr<TCellGraphic> g) override;
    std::unique_ptr<TCellGraphic> takeOwnGraphic(int c, int r) override;
    int displColIndex(int c) const override { return m_store.DisplColIndex(c); }
    void repaintCell(int displCol, int r) override;
    bool isDestroying() const override { return m_destroying; }
    int numHiddenRows() const override { return m_store.NumHiddenRows(); }
    QString cellText(int c, int r) const override { return GetCellEx(c, r); }
    void setCellText(int c, int r, const QString& text) override { SetCellEx(c, r, text); }

protected:
    // Copies counts, fixed counts, widths and the heights of rows from FirstRow on from the
    // store into the framework grid.
    void syncFromStore(int FirstRow = 0);

private:
    // The cell painter behind DrawCell, PaintCell and PaintCellExt.
    // False when the cell is part of a merged area already painted in this pass.
    bool paintOneCell(IGridCanvas& canvas, int ACol, int ARow, const TRect& ARect,
                      TGridDrawState AState, bool full);
    void repaintIfChanged(bool changed);
    // Repaints display cell (DCol, ARow) with its merged area, when any of it can be on screen.
    void invalidateStoreCell(int DCol, int ARow);

    CellStore m_store;
    GridUpdateLock m_updateLock;
    IGridCanvas* m_drawCanvas = nullptr;  // set during a paint pass
    QPainter* m_drawPainter = nullptr;
    int m_paintId = 0;
    CellDrawContext m_cellDraw;
    bool m_syncing = false;
    bool m_destroying = false;
    int m_gridLineWidth = 1;
    bool m_defaultDrawing = false;
};

}  // namespace zfw
