#pragma once
// The base grid's cell painter for the default selection style: background (solid, gradient
// or mirrored), hover and active row colours, clipping of scrolled cells under the fixed ones,
// the grid lines inside the cell, and the content rectangle handed on. It reads everything it
// needs from its arguments and changes nothing but the canvas.

#include "grid/GridDraw.h"

#include <functional>

namespace zfw {

// What the painter reads of the grid.
struct CellPaintGrid {
    int fixedCols = 1;
    int fixedRows = 1;
    int fixedColsWidth = 0;   // total width of the fixed columns
    int fixedRowsHeight = 0;  // total height of the fixed rows
    int clientWidth = 0;
    int clientHeight = 0;
    int rowCount = 0;

    bool horzLine = true;       // goHorzLine
    bool vertLine = true;       // goVertLine
    bool fixedHorzLine = true;  // goFixedHorzLine
    bool fixedVertLine = true;  // goFixedVertLine
    bool rightToLeft = false;
    bool hasNodes = false;
    bool hideLastRow = false;  // FHideLastRow

    int gridLineWidth = 1;
    TColor gridLineColor = 0xC0C0C0;
    TColor gridFixedLineColor = 0x808080;
    TColor color = clWindow;  // the grid's Color

    bool hoverRow = false;
    int hoverRowIdx = -1;
    bool hoverFixed = false;    // hcFixed in HoverRowCells
    bool hoverSelected = true;  // hcSelected in HoverRowCells
    TColor hoverRowColor = clInfoBk;
    TColor hoverRowColorTo = clNone;

    bool activeRowShow = false;
    int currentCol = 1;
    int currentRow = 1;
    bool showSel = true;  // FShowSel
    TColor activeRowColor = clInfoBk;
    TColor activeRowColorTo = clNone;
    TColor activeRowMirrorColor = clNone;
    TColor activeRowMirrorColorTo = clNone;
};

// The cell's colours as GetVisualProperties gives them.
struct CellVisual {
    TColor brush = clWindow;
    TColor colorTo = clNone;
    TColor mirrorColor = clNone;
    TColor mirrorColorTo = clNone;
    bool gradientHorizontal = false;  // GradientHorizontal, else vertical
    QFont font;
};

struct CellPaintRequest {
    int ACol = 0;
    int ARow = 0;
    // Full mode: the caller already applied IsFixed (fixed set, selected cleared) and passes
    // CellRect of the cell (of the whole area for a merged base cell).
    TRect rect;
    bool fixed = false;
    bool selected = false;
    bool fullMode = true;  // false: background and lines only, selected cells in active colours
};

using DrawCellContentFn =
    std::function<void(IGridCanvas& canvas, int ACol, int ARow, const TRect& content)>;

// Paints one cell; in full mode `drawContent` is called with the content rectangle while the
// clip is still in force. Answers the content rectangle (empty for a hidden last row).
TRect PaintCellBase(IGridCanvas& canvas, const CellPaintGrid& grid, const CellPaintRequest& req,
                    const CellVisual& visual, const DrawCellContentFn& drawContent = {});

// A merged area is painted once per paint pass by whichever of its cells comes first: true
// when the area is to be painted now (the base cell's pass number is then updated).
bool claimMergedAreaPaint(int& basePaintId, int gridPaintId);

}  // namespace zfw
