#include "grid/GridDrawCell.h"

namespace zfw {

bool claimMergedAreaPaint(int& basePaintId, int gridPaintId)
{
    if (basePaintId == gridPaintId)
        return false;
    basePaintId = gridPaintId;
    return true;
}

TRect PaintCellBase(IGridCanvas& canvas, const CellPaintGrid& grid, const CellPaintRequest& req,
                    const CellVisual& visual, const DrawCellContentFn& drawContent)
{
    TRect r = req.rect;
    const int ACol = req.ACol;
    const int ARow = req.ARow;

    if (grid.hideLastRow && ARow == grid.rowCount - 1) {
        canvas.fillRect(r, grid.color);
        return {};
    }

    // A scrolled cell (a merged area above all) must not paint over the fixed cells.
    const int w = ACol >= grid.fixedCols ? grid.fixedColsWidth : 0;
    const int h = ARow >= grid.fixedRows ? grid.fixedRowsHeight : 0;
    const bool clip = (ACol >= grid.fixedCols && grid.fixedCols > 0 && r.Left < w)
                      || (ARow >= grid.fixedRows && grid.fixedRows > 0 && r.Top < h);
    if (clip)
        canvas.pushClip({w, h, grid.clientWidth, grid.clientHeight});

    canvas.setFont(visual.font);
    TColor brush = visual.brush;
    TColor colorTo = visual.colorTo;
    TColor mirror = visual.mirrorColor;
    TColor mirrorTo = visual.mirrorColorTo;
    bool horizontal = visual.gradientHorizontal;

    if (grid.hoverRow && ARow == grid.hoverRowIdx && !(req.selected && !grid.hoverSelected)
        && !(req.fixed && !grid.hoverFixed)) {
        brush = grid.hoverRowColor;
        colorTo = grid.hoverRowColorTo;
        mirror = clNone;
        mirrorTo = clNone;
        horizontal = false;
    }

    const bool activeRow = grid.activeRowShow && ARow == grid.currentRow && ACol >= grid.fixedCols
                           && (ACol != grid.currentCol || !grid.showSel);
    if (activeRow || (!req.fullMode && req.selected)) {
        brush = grid.activeRowColor;
        colorTo = grid.activeRowColorTo;
        mirror = grid.activeRowMirrorColor;
        mirrorTo = grid.activeRowMirrorColorTo;
    }

    if (mirrorTo != clNone)
        DrawStyledRect(canvas, r, brush, true, false, clNone, !horizontal, mirrorTo, mirror,
                       colorTo);
    else
        DrawGradientRect(canvas, brush, colorTo, horizontal, r, 64);

    // Lines are drawn inside the cell: the bottom and right pixel rows belong to the lines.
    int o = 1;
    int width = 1;
    TColor pen = grid.gridFixedLineColor;
    bool lines = true;
    if (!req.fixed) {
        width = grid.gridLineWidth;
        pen = grid.gridLineColor;
        o = (grid.gridLineWidth + 1) / 2;
        // Without a line width the old painter still drew a one-pixel line in the cell's
        // brush colour one pixel outside the cell, over its neighbour. No width, no line.
        lines = grid.gridLineWidth > 0;
    }
    if (lines) {
        const bool bottom = req.fixed ? grid.fixedHorzLine : grid.horzLine;
        if (bottom && !(ACol == 0 && grid.hasNodes))
            canvas.line(r.Left - o + 1, r.Bottom - o, r.Right - o + 1, r.Bottom - o, pen, width);
        const bool right = req.fixed ? grid.fixedVertLine : grid.vertLine;
        if (right) {
            const int x = grid.rightToLeft ? r.Right - o + 1 : r.Right - o;
            canvas.line(x, r.Bottom - o, x, r.Top - o, pen, width);
        }
    }

    TRect content = r;
    if (req.fixed) {
        content.Right -= 1;
        content.Bottom -= 2;
    } else {
        content = r.inflated(-grid.gridLineWidth, -grid.gridLineWidth);
    }
    if (req.fullMode && drawContent)
        drawContent(canvas, ACol, ARow, content);

    if (clip)
        canvas.popClip();
    return content;
}

}  // namespace zfw
