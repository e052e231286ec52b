#pragma once
// The string grid's cell model without any widget: texts and per-cell properties keyed by real
// column and display row, row and column counts with fixed rows and columns, column widths and
// row heights, merged areas, hidden columns and hidden rows. The grid widget owns one, draws
// from it and applies what it answers; the model tells the widget what to repaint through a
// listener.
//
// Indexes: ACol is a real column (hidden columns keep their texts in place), DCol a display
// column (what the widget shows); ARow is a display row (hidden rows are moved out of the
// store), a real row is named so.
//
// Counts and retention: the store keeps the entries of rows and columns beyond the current
// counts. Lowering RowCount or ColCount hides those entries, raising the count shows them again
// with their texts and properties (rows coming back into the count get the default height).
// Callers that want fresh rows after growing clear them.

#include "grid/BaseGridCellProperties.h"
#include "grid/IntList.h"

#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace zfw {

// A rectangle of cell indexes, corners included.
struct TCellRange {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    friend bool operator==(const TCellRange&, const TCellRange&) = default;
};

// What the grid widget hears from the model.
class CellStoreListener {
public:
    virtual ~CellStoreListener() = default;
    // The cell (real column, display row) must be repainted.
    virtual void cellChanged(int ACol, int ARow) {}
    // The whole grid must be repainted (counts, widths, hidden columns or rows changed).
    virtual void gridChanged() {}
    // Counts, fixed counts or column widths may have changed, and the heights of rows from
    // FirstRow on (rows above it kept theirs); the whole grid must be repainted. A listener
    // that follows the sizes needs to look at those rows only.
    virtual void layoutChanged(int FirstRow) { gridChanged(); }
    // Only the width of one display column changed.
    virtual void colWidthChanged(int DCol) { gridChanged(); }
    // Only the height of one row changed.
    virtual void rowHeightChanged(int ARow) { gridChanged(); }
    // A write went into the last row while the last row is hidden.
    virtual void LastRowChanged() {}
    // The base cell of a merged area got a new text.
    virtual void UpdateCellScrollBar(int ACol, int ARow) {}
};

// The look a new cell's properties start with.
struct TCellDefaults {
    QString FontName;
    int FontSize = 0;
    TColor FontColor = clNone;
    int FontStyle = 0;
    TColor BrushColor = clWindow;
    TColor ColorTo = clNone;
    TColor MirrorColor = clNone;
    TColor MirrorColorTo = clNone;
    TAlignment HA = TAlignment::taLeftJustify;
    TVAlignment VA = TVAlignment::vtaTop;
    bool WW = true;
    TCellGradientDirection GD = TCellGradientDirection::GradientVertical;
};

class CellStore {
public:
    // Only real columns below this take part in hiding.
    static constexpr int kMaxHideCols = 512;

    // Frees a cell graphic when its cell is freed; without one the graphics stay the caller's.
    using GraphicDeleter = std::function<void(TCellGraphic*)>;

    explicit CellStore(int ColCount = 5, int RowCount = 5, GraphicDeleter freeGraphic = {});
    ~CellStore();
    CellStore(const CellStore&) = delete;
    CellStore& operator=(const CellStore&) = delete;

    void setListener(CellStoreListener* listener) { m_listener = listener; }

    // While loading, fixed-count writes do not record the requested minimum.
    void setLoading(bool loading) { m_loading = loading; }

    // Counts, fixed rows and columns, sizes
    int RowCount() const { return m_rowCount; }
    void SetRowCount(int Value);
    int ColCount() const { return m_colCount; }
    void SetColCount(int Value);
    // The fixed rows; 1 when there are none and FixedRowAlways is set.
    int FixedRows() const;
    // Stores the request (outside loading) and applies it, never more than RowCount - 1.
    void SetFixedRows(int Value);
    int FixedCols() const;
    void SetFixedCols(int Value);
    bool FixedRowAlways() const { return m_fixedRowAlways; }
    void SetFixedRowAlways(bool Value) { m_fixedRowAlways = Value; }
    bool FixedColAlways() const { return m_fixedColAlways; }
    void SetFixedColAlways(bool Value) { m_fixedColAlways = Value; }
    int minimumFixedRows() const { return m_minFixedRows; }
    int minimumFixedCols() const { return m_minFixedCols; }
    int largestRowCount() const { return m_largestRowCount; }
    int largestColCount() const { return m_largestColCount; }
    // Rows below this get the display-text hooks; RowCount writes keep it equal to RowCount.
    int FNormalRowCount() const { return m_normalRowCount; }
    void setNormalRowCount(int Value) { m_normalRowCount = Value; }

    int DefaultColWidth() const { return m_defaultColWidth; }
    void SetDefaultColWidth(int Value);
    int DefaultRowHeight() const { return m_defaultRowHeight; }
    // Sets the height of every row.
    void SetDefaultRowHeight(int Value);
    // Width of display column DCol; 0 outside the grid.
    int ColWidths(int DCol) const;
    void SetColWidths(int DCol, int Width);
    int RowHeights(int ARow) const;
    void SetRowHeights(int ARow, int Height);

    // Width of column 0.
    int FixedColWidth() const { return ColWidths(0); }
    // Outside loading, and only when Value differs from DefaultColWidth: every fixed column
    // gets that width.
    void SetFixedColWidth(int Value);
    int FixedRowHeight() const { return m_fixedRowHeight; }
    // Stores Value; outside loading, the default height itself resizes every row, any other
    // value only the fixed rows.
    void SetFixedRowHeight(int Value);

    // Header texts of row 0 and column 0 ("\n" in an entry is a line break)
    const QStringList& ColumnHeaders() const { return m_columnHeaders; }
    void SetColumnHeaders(const QStringList& Value);
    const QStringList& RowHeaders() const { return m_rowHeaders; }
    void SetRowHeaders(const QStringList& Value);
    void ClearColumnHeaders();
    void ShowColumnHeaders();
    void ClearRowHeaders();
    void ShowRowHeaders();

    // Texts
    // Raw text of the store: no merge redirect, no hooks, no repaint. "" outside the store.
    QString GetGridCell(int ACol, int ARow) const;
    // Raw write. Refused (false) for a negative index or one beyond the largest grid ever
    // shaped, so that a stray index cannot make the store allocate without bound.
    bool SetGridCell(int ACol, int ARow, const QString& Value);
    // Cells[ACol, ARow]: the base cell's text of a merged area, passed through the
    // display-text hooks for normal rows.
    QString GetCellEx(int ACol, int ARow) const;
    // Writes the base cell of a merged area and asks for a repaint of the written cell.
    bool SetCellEx(int ACol, int ARow, const QString& Value);

    std::function<void(int ACol, int ARow, QString& Value)> OnGetDisplText;
    std::function<void(int ACol, int ARow, QString& Value)> OnGetDisplWideText;

    // The last row is painted empty and keyboard and wheel stop before it.
    bool FHideLastRow() const { return m_hideLastRow; }
    void setHideLastRow(bool Value) { m_hideLastRow = Value; }

    // Cell properties
    // The look new properties start with; the string grid replaces the hook.
    TCellDefaults defaults;
    std::function<void(int ACol, int ARow, TCellDefaults& Defaults)> GetDefaultVisualProperties;
    // Default word wrap of new properties (the base grid's WordWrap).
    bool WordWrap() const { return m_wordWrap; }
    void SetWordWrap(bool Value) { m_wordWrap = Value; }

    bool FHasCellProps() const { return m_hasCellProps; }
    // Set when the grid is cleared as a whole.
    void clearHasCellProps() { m_hasCellProps = false; }
    bool isValidCell(int ACol, int ARow) const
    {
        return ACol >= 0 && ACol < TotalColCount() && ARow >= 0 && ARow < m_rowCount;
    }
    // True for a cell inside TotalColCount x RowCount whose slot holds properties.
    bool HasCellProperties(int ACol, int ARow) const;
    // The cell's properties, created on first use. A cell outside the grid has none: the
    // answer is null and nothing is created.
    TCellProperties* GetCellProperties(int ACol, int ARow);
    // Frees the cell's properties and stores Value (which may be null). Refused outside the
    // grid, where Value is freed.
    bool SetCellProperties(int ACol, int ARow, std::unique_ptr<TCellProperties> Value);
    // The raw slot; null when empty or outside the store.
    TCellProperties* GetGridObject(int ACol, int ARow) const;

    std::uintptr_t GetObjectEx(int ACol, int ARow) const;
    // Stores the user object; the cell keeps an empty text. Refused outside the grid.
    bool SetObjectEx(int ACol, int ARow, std::uintptr_t Value);
    TCellGraphic* GetGraphicObjectEx(int ACol, int ARow) const;
    bool SetGraphicObjectEx(int ACol, int ARow, TCellGraphic* Value);

    // Empties the text (through SetCellEx) and the slot's user object; the properties stay.
    void ClearCellEx(int ACol, int ARow);
    void ClearColumnCells(int ACol);
    void ClearRowCells(int ARow);
    // Frees the cell's properties (and its graphic).
    void FreeCellObject(int ACol, int ARow);
    void FreeCellObjects(int ACol1, int ARow1, int ACol2, int ARow2);

    // Merged areas (real columns)
    // Merges SpanX columns by SpanY rows from (ACol, ARow). Merged areas that overlap the new
    // one are split first. Refused when the area is empty or leaves the grid.
    bool MergeCells(int ACol, int ARow, int SpanX, int SpanY);
    // Splits the merged area of (ACol, ARow); on an unmerged cell only that cell is touched.
    void SplitCells(int ACol, int ARow);
    // The number of merged areas (a 1 x 1 merge counts), those in hidden rows included.
    int FMergeCount() const { return m_mergeCount; }
    QPoint BaseCell(int ACol, int ARow) const;
    bool IsBaseCell(int ACol, int ARow) const;
    bool IsMergedCell(int ACol, int ARow) const;
    bool IsMergedNonBaseCell(int ACol, int ARow) const;
    bool IsXMergedCell(int ACol, int ARow) const;
    bool IsYMergedCell(int ACol, int ARow) const;
    QPoint CellSpan(int ACol, int ARow) const;
    QPoint CellExt(int ACol, int ARow) const;
    TCellRange FullCell(int ACol, int ARow) const;
    int MinRowSpan(int ARow) const;
    int MaxRowSpan(int ARow) const;
    bool RowSpanIdentical(int ARow1, int ARow2) const;
    bool ColSpanIdentical(int ACol1, int ACol2) const;

    // Pixel rectangles (the grid draws its lines inside the cells, so cells abut)
    struct ViewOrigin {
        int LeftCol = 1;     // first scrollable display column shown
        int TopRow = 1;      // first scrollable row shown
        int ScrollLeft = 0;  // left edge of LeftCol on screen
        int ScrollTop = 0;   // top edge of TopRow on screen
    };
    // Rectangle of one display cell from the widths and heights alone; also right for cells
    // scrolled out of view (they get coordinates outside the client area).
    QRect screenRect(int DCol, int ARow, const ViewOrigin& view) const;
    // Rectangle of a cell (real column): a merged cell answers its whole area, a hidden column
    // a zero-width rectangle where it would be. Whether it is visible is the widget's question.
    QRect CellRect(int ACol, int ARow, const ViewOrigin& view) const;
    // Width and height of CellRect, without the one-pixel widening of zero-width edge cells.
    QSize CellSize(int ACol, int ARow, const ViewOrigin& view) const;

    // Hidden columns
    void HideColumn(int ColIndex) { HideColumns(ColIndex, ColIndex); }
    void HideColumns(int FromCol, int ToCol);
    void UnHideColumn(int ColIndex) { UnHideColumns(ColIndex, ColIndex); }
    void UnHideColumns(int FromCol, int ToCol);
    void UnHideColumnsAll() { UnHideColumns(0, m_colCount + m_numHiddenColumns); }
    bool IsHiddenColumn(int ColIndex) const;
    int NumHiddenColumns() const { return m_numHiddenColumns; }
    int TotalColCount() const { return m_colCount + m_numHiddenColumns; }
    int AllColCount() const { return TotalColCount(); }
    // Real column of display column DCol; 0 when no visible real column below 512 has that
    // display index.
    int RealColIndex(int DCol) const;
    int DisplColIndex(int ACol) const;
    // Real columns that filtering and similar operations skip.
    TIntList IgnoredColumns;
    bool IsIgnoredColumn(int ACol) const { return IgnoredColumns.HasValue(ACol); }
    // The saved width of a hidden column, else the width of its display column.
    int AllColWidths(int ACol) const;
    void SetAllColWidths(int ACol, int Width);

    // Hidden rows (real row indexes)
    // A hidden row keeps its texts, properties and height, and with them the merged areas
    // that lie wholly in the rows hidden together; an area that hiding cuts (rows both hidden
    // and shown) is split. On showing, an area comes back merged when all its rows come back
    // together and next to each other; otherwise it is split, and so is a shown area that a
    // returning row lands inside.
    void HideRow(int RowIndex) { HideRows(RowIndex, RowIndex); }
    void HideRows(int FromRow, int ToRow);
    void UnHideRow(int RowIndex) { UnHideRows(RowIndex, RowIndex); }
    // Shows the hidden rows of the range; nothing when FromRow itself is not hidden.
    void UnHideRows(int FromRow, int ToRow);
    void UnHideRowsAll();
    // Hides the display rows of RowList as one filter level: each row leaves with its texts,
    // properties and height into the store (by real row, so the store stays sorted) and the
    // rows below move up. Entries outside the rows, repeated or out of order are taken once,
    // in order. Rows hidden directly belong to no level.
    void HideRowList(std::vector<int> RowList);
    // Brings back the rows of the last filter level at their places, with their heights, and
    // lowers the level. Rows hidden directly, and those of earlier levels, stay hidden.
    void UnHideRowList();
    // The number of filter levels applied.
    int FilterLevel() const { return m_filterLevel; }
    bool IsHiddenRow(int RowIndex) const;
    int NumHiddenRows() const { return int(m_hiddenRows.size()); }
    int TotalRowCount() const { return m_rowCount + NumHiddenRows(); }
    int AllRowCount() const { return TotalRowCount(); }
    int RealRowIndex(int ARow) const;
    // Display row of a real row; for a hidden row the place it would take.
    int DisplRowIndex(int RealRow) const;
    // Texts of a hidden row by real column; empty when the row is not hidden.
    std::vector<QString> hiddenRowTexts(int RowIndex) const;
    // The saved properties of cell ACol of a hidden row; null when the row is not hidden or
    // the cell has none.
    TCellProperties* hiddenRowProperties(int RowIndex, int ACol) const;
    // Writes entry ACol of a hidden row's saved texts, padding with empty entries up to it.
    // Refused (false) when the row is not hidden or ACol is negative or beyond the largest
    // grid ever shaped.
    bool setHiddenRowText(int RowIndex, int ACol, const QString& Value);
    // hiddenRowProperties, the entry padded and given properties when needed; null where
    // setHiddenRowText refuses.
    TCellProperties* createHiddenRowProperties(int RowIndex, int ACol);

    // Row structure (CellStoreRows.cpp). Rows are display rows; every real column moves with
    // its row, hidden columns included; properties, check boxes and heights go with their
    // rows; a merged area cut by the change is split, one wholly moved keeps its shape;
    // hidden rows keep their place among the real rows.
    // Count empty rows of the default height at ARow (0..RowCount); false for a bad range.
    bool InsertRowsAt(int ARow, int Count);
    // Frees the cells of the rows ARow..ARow+Count-1 (Count clipped to the grid) and closes
    // the gap; false when nothing was removed.
    bool DeleteRowsAt(int ARow, int Count);
    // The same for display columns: Count empty visible columns of the default width before
    // DCol (0..ColCount), and the removal of DCol..DCol+Count-1 (clipped). Hidden columns
    // keep their hidden state and their place among the real columns. Insertion is refused
    // when it would push a hidden column past the hideable range.
    bool InsertColsAt(int DCol, int Count);
    bool DeleteColsAt(int DCol, int Count);
    // Moves Count display rows from FromRow so that the first lands at ToRow (both in the
    // rows as they stand before the move), and one display column from FromCol to ToCol.
    // Hidden rows and columns keep their place; merged areas in the rows or columns between
    // the two places are split.
    bool MoveRowsAt(int FromRow, int ToRow, int Count);
    bool MoveColAt(int FromCol, int ToCol);

    // Merged-area moves of the current cell (display indexes)
    struct NavState {
        int Col = 0;
        int Row = 0;
        int FixedCols = 0;
        int FixedRows = 0;
        int TopRow = 0;
        int VisibleRowCount = 0;
    };
    enum class MoveKey { Left, Right, Up, Down, PageDown, Other };
    // Where the current cell goes before the framework's own step for Key, so that an arrow
    // steps over a whole merged area and Page Down stays off a hidden last row.
    QPoint mergedKeyPreMove(MoveKey Key, const NavState& state) const;
    // The base cell of the current cell's merged area (display indexes); the cell itself when
    // it has no properties.
    QPoint MoveToBaseCell(int Col, int Row) const;
    // TopRow after the framework's wheel-down step: one row further when the hidden last row
    // would otherwise be reached.
    int wheelDownTopRow(const NavState& state) const;

    // Checking
    // Every invariant of the store; the first one broken is described in *why.
    bool checkConsistency(QString* why = nullptr) const;

private:
    struct Cell {
        QString text;
        std::unique_ptr<TCellProperties> props;
    };
    struct Row {
        std::vector<Cell> cells;
        int height = 0;
    };
    // A merged area whose rows were all hidden by one call stays merged in the store. Its rows
    // are found again by the call that hid them (Group) and the display row each had then
    // (GroupRow), since their real indexes need not follow each other.
    struct TGridItem {
        int Idx = 0;
        int Height = 0;
        int Level = 0;
        std::vector<Cell> Items;
        bool Filtered = false;  // hidden by a filter level (Level), not directly
        int Group = 0;
        int GroupRow = 0;
    };
    // A row just brought back, still known by its hiding call.
    struct ShownRow {
        int Group = 0;
        int GroupRow = 0;
        int Row = 0;  // its display row now
    };

    const Cell* cellAt(int ACol, int ARow) const;
    Cell* cellFor(int ACol, int ARow);
    int storeColLimit() const;
    int storeRowLimit() const;
    TCellProperties* createProperties(int ACol, int ARow, Cell& cell);
    void freeProperties(std::unique_ptr<TCellProperties>& props);
    void splitArea(int ACol, int ARow, bool repaint);
    void setRowCountRaw(int Value);
    void clampFixed();
    void repaintCell(int ACol, int ARow);
    // Tells the listener about a layout change that left the heights of rows above FirstRow.
    void layoutFrom(int FirstRow);
    int hiddenBefore(int RealRow) const;
    // Splits the merged areas that reach into display rows [first, last].
    void splitAreasInRows(int first, int last);
    // Splits the merged areas that hold both display row ARow - 1 and ARow.
    void splitAreasAcross(int ARow);
    // Moves the display rows `rows` (ascending, inside RowCount) into the hidden-row store
    // as one hiding call. Areas that reach beyond the rows are split; the others go along.
    void hideDisplayRows(const std::vector<int>& rows, bool filtered, int level);
    // Brings back the stored rows that `take` accepts, each at its place; answers the first
    // display row that changed (INT_MAX when none).
    int restoreHiddenRows(const std::function<bool(const TGridItem&)>& take);
    // The cells of the row that hiding call `group` took from display row `groupRow`: among
    // `shown` or still in the store; null when it is in neither.
    std::vector<Cell>* groupRowCells(int group, int groupRow, const std::vector<ShownRow>& shown);
    // Unmerges every cell of the hidden area whose base is (baseCol, baseGroupRow) of `group`,
    // wherever its rows are now.
    void splitHiddenArea(int group, int baseGroupRow, int baseCol,
                         const std::vector<ShownRow>& shown);
    // Keeps the areas that came back whole and in one piece among `shown`; splits the others.
    void mendShownAreas(const std::vector<ShownRow>& shown);
    // Splits each area of the hidden rows that has a cell in a column `cut` accepts; `cut`
    // gets the real column and the cell's properties.
    void splitHiddenAreasInCols(const std::function<bool(int, const TCellProperties&)>& cut);
    // Row entries from FirstRow on name their place again.
    void renumberOwners(int FirstRow);
    QRect realCellRect(int ACol, int ARow, const ViewOrigin& view) const;
    bool mergedArea(int ACol, int ARow, QPoint& base, QPoint& last) const;

    std::vector<Row> m_rows;       // at least RowCount entries
    std::vector<int> m_colWidths;  // one per display column
    std::array<bool, kMaxHideCols + 1> m_colHidden{};
    std::array<std::int16_t, kMaxHideCols + 1> m_savedWidths{};
    std::vector<TGridItem> m_hiddenRows;  // sorted by Idx
    GraphicDeleter m_freeGraphic;
    CellStoreListener* m_listener = nullptr;

    int m_rowCount = 0;
    int m_colCount = 0;
    int m_fixedRows = 0;
    int m_fixedCols = 0;
    int m_minFixedRows = 0;
    int m_minFixedCols = 0;
    int m_largestRowCount = 0;
    int m_largestColCount = 0;
    int m_normalRowCount = 0;
    int m_numHiddenColumns = 0;
    int m_defaultColWidth = 64;
    int m_defaultRowHeight = 24;
    int m_fixedRowHeight = 24;
    int m_mergeCount = 0;  // shown and hidden areas
    int m_filterLevel = 0;
    int m_hideGroups = 0;  // hiding calls so far
    QStringList m_columnHeaders;
    QStringList m_rowHeaders;
    bool m_fixedRowAlways = false;
    bool m_fixedColAlways = false;
    bool m_loading = false;
    bool m_hideLastRow = false;
    bool m_wordWrap = true;
    bool m_hasCellProps = false;
};

// Nesting update lock: while held, writers skip their repaints and drawing is switched off
// where a window exists; the last release repaints everything once.
class GridUpdateLock {
public:
    struct Target {
        std::function<bool()> windowExists;
        std::function<void(bool on)> setRedraw;
        std::function<void()> invalidateAll;
    };
    explicit GridUpdateLock(Target target) : m_target(std::move(target)) {}

    // Counts up and switches drawing off.
    void BeginUpdate();
    // Counts up; drawing is left alone.
    void StartUpdate();
    // Counts down (never below 0); at 0 drawing is switched on again and all is repainted.
    void EndUpdate();
    // Drops every level at once.
    void ResetUpdate();
    bool LockUpdate() const { return m_count != 0; }
    void SetLockUpdate(bool Value) { Value ? BeginUpdate() : EndUpdate(); }
    int updateCount() const { return m_count; }
    bool redrawOff() const { return m_redrawOff; }
    // Cleared when the lock ends.
    bool selectionChanged = false;

private:
    void release();

    Target m_target;
    int m_count = 0;
    bool m_redrawOff = false;
};

}  // namespace zfw
