#pragma once
// Layout arithmetic of the framework grid, free of widgets: counts, fixed rows and columns,
// widths and heights, the scroll position (TopRow/LeftCol), the visible counts, cell
// rectangles, hit-testing, the sizing zone, scrolling a cell into view and the 0..127 thumb
// mapping. The widget owns one and asks it; tests drive it directly.
//
// Coordinates are client (viewport) pixels. Indexes are display indexes.

#include "grid/FrameworkGridTypes.h"
#include "platform/Rect.h"

#include <vector>

namespace zfw {

struct FrameworkGridSizing {
    TGridState state = gsNormal;  // gsNormal, gsColSizing or gsRowSizing
    int index = -1;               // column or row whose right/bottom border is dragged
    int sizingPos = 0;            // client position of that border
    int sizingOfs = 0;            // pointer position minus the border
};

class FrameworkGridGeometry {
public:
    static constexpr int kDefaultColWidth = 64;
    static constexpr int kDefaultRowHeight = 24;
    // A pointer this close to a border (strictly less) is on its sizing edge.
    static constexpr int kSizingZone = 4;

    FrameworkGridGeometry();

    int ColCount() const { return static_cast<int>(m_colWidths.size()); }
    int RowCount() const { return static_cast<int>(m_rowHeights.size()); }
    // Counts below 0 are taken as 0. New columns/rows get the default size; the fixed count
    // is lowered to count - 1 where the count no longer leaves a scrollable one.
    void SetColCount(int n);
    void SetRowCount(int n);
    int FixedCols() const { return m_fixedCols; }
    int FixedRows() const { return m_fixedRows; }
    // Clamped to 0..count - 1 (0 for an empty grid); returns false when it had to clamp.
    bool SetFixedCols(int n);
    bool SetFixedRows(int n);

    int DefaultColWidth() const { return m_defaultColWidth; }
    int DefaultRowHeight() const { return m_defaultRowHeight; }
    // Sets every column width (row height) too; negative values are taken as 0.
    void SetDefaultColWidth(int w);
    void SetDefaultRowHeight(int h);
    // 0 for an index outside the grid.
    int ColWidths(int col) const;
    int RowHeights(int row) const;
    // Ignored for an index outside the grid; negative values are taken as 0.
    // Returns whether the value changed.
    bool SetColWidths(int col, int w);
    bool SetRowHeights(int row, int h);

    int TopRow() const { return m_topRow; }
    int LeftCol() const { return m_leftCol; }
    // An explicit write is accepted anywhere in Fixed..Count - 1 (clamped into it); it may lie
    // beyond the last full page. Returns whether the value changed.
    bool SetTopRow(int row);
    bool SetLeftCol(int col);

    int ClientWidth() const { return m_clientWidth; }
    int ClientHeight() const { return m_clientHeight; }
    void setClientSize(int width, int height);

    // Total width of the fixed columns, height of the fixed rows.
    int fixedWidth() const;
    int fixedHeight() const;
    // Whole-grid extent (every column or row summed).
    int totalWidth() const;
    int totalHeight() const;

    // Fully visible scrollable columns (rows) from LeftCol (TopRow); at least 1 while a
    // scrollable one exists at or after the scroll position, 0 otherwise.
    int VisibleColCount() const;
    int VisibleRowCount() const;
    // The last column (row) that is at least partly visible, or Fixed - 1 when none.
    int lastPartlyVisibleCol() const;
    int lastPartlyVisibleRow() const;
    // The smallest scroll position that shows the last column (row) whole; never below the
    // fixed count.
    int maxLeftCol() const;
    int maxTopRow() const;

    // Client position of a cell's left/top edge, also for cells scrolled out of view.
    int colLeft(int col) const;
    int rowTop(int row) const;
    // Client rectangle of a visible or partly visible cell; empty for a cell outside the grid,
    // scrolled out of view or lying wholly beyond the client area.
    TRect CellRect(int col, int row) const;
    // Rectangle of the cell at its scroll position whether or not it is in view.
    TRect cellBounds(int col, int row) const;
    // The cell under a client point, per axis: -1 where the point lies outside every column
    // (row) shown, for instance right of the last column or below the last row.
    TGridCoord MouseToCell(int x, int y) const;

    // The sizing zone under a client point; the base sizes only scrollable columns (rows),
    // from a fixed row (column).
    FrameworkGridSizing calcSizingState(int x, int y, TGridOptions options) const;

    // The scroll position that shows the cell whole with the fewest rows and columns scrolled;
    // fixed cells and indexes outside the grid leave that axis alone.
    TGridCoord scrollPositionFor(int col, int row) const;

    // Thumb position 0..127 -> scroll position, and back.
    int rowFromThumb(int pos) const;
    int colFromThumb(int pos) const;
    int thumbFromRow(int row) const;
    int thumbFromCol(int col) const;

    // Whether the content does not fit, so that a bar is useful.
    bool needsHorzScroll() const { return maxLeftCol() > m_fixedCols; }
    bool needsVertScroll() const { return maxTopRow() > m_fixedRows; }

private:
    void clampScroll();

    std::vector<int> m_colWidths;
    std::vector<int> m_rowHeights;
    int m_fixedCols = 1;
    int m_fixedRows = 1;
    int m_defaultColWidth = kDefaultColWidth;
    int m_defaultRowHeight = kDefaultRowHeight;
    int m_topRow = 1;
    int m_leftCol = 1;
    int m_clientWidth = 0;
    int m_clientHeight = 0;
};

}  // namespace zfw
