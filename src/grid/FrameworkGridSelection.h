#pragma once
// The current cell, its anchor and the key movement of the framework grid, free of widgets.
// The anchor is the fixed corner of a range selection; the current cell is the moving one.

#include "grid/FrameworkGridGeometry.h"
#include "grid/FrameworkGridTypes.h"

namespace zfw {

struct FrameworkGridCursor {
    TGridCoord current{1, 1};
    TGridCoord anchor{1, 1};

    // The range between anchor and current, corners ordered; with goRowSelect the rows span
    // every scrollable column. A current cell parked outside the grid gives a range that
    // covers no cell of it.
    TGridRect selection(const FrameworkGridGeometry& g, TGridOptions options) const;
    // anchor := (Left, Top), current := (Right, Bottom); nothing is clamped or asked.
    void setSelection(const TGridRect& r);
};

// Outcome of one movement key.
struct FrameworkGridKeyMove {
    bool handled = false;     // a movement key that applies here
    TGridCoord target;        // the cell to make current
    bool moveAnchor = true;   // false: extend the range from the anchor
    bool scrollOnly = false;  // goRowSelect Left/Right: only the columns scroll
    int topRow = -1;          // scroll position to take first (-1: unchanged)
    int leftCol = -1;
};

// The move that a key (VK_* code) with the given shift state asks for from `current`, within
// the scrollable cells. A current cell outside the grid is first brought back to the last
// scrollable cell. Keys that are not movement keys give handled == false.
FrameworkGridKeyMove frameworkGridKeyMove(const FrameworkGridGeometry& g, TGridCoord current,
                                          int key, TShiftState shift, TGridOptions options);

}  // namespace zfw
