#pragma once
// The row tools of the rule editors on their grids: delete, insert, copy and paste a row,
// size a column by a double click on its header, and move on with Enter.
//
// Row 0 is the header and column 0 the row-number column; the data columns are 1 to the
// last real column, hidden ones included. The row count never changes: a table has a fixed
// number of rows and the rows without a rule are empty. The copied-row buffer belongs to the
// caller (the program keeps one for every editor) and so does each grid's copied flag.
//
// Two families: the rule grids move texts (a data check-box cell holds "Y"/"N" as its text);
// the check-box string grids move check-box states and read-only flags as well.

#include "ruleedit/core/URuleRowTools.h"

#include <QList>
#include <QStringList>

namespace zfw {

class TExtStringGrid;

// Number of data columns of the grid: every real column but column 0.
int gridDataColumns(const TExtStringGrid& grid);

// ---- rule grids ----------------------------------------------------------------------------

// Moves the rows below r up by one and empties every data cell of the last row.
void Delete_Row_Grid(int r, TExtStringGrid& grid);
// Moves row r and those below it down by one (the last row's content is lost), then empties
// row r; with enable its column 1 holds "Y".
void Insert_Row_Grid(int r, TExtStringGrid& grid, bool enable);
// Replaces the buffer by the texts of row r, columns 1 to the last.
void Copy_Row_Grid(const TExtStringGrid& grid, int r, QStringList& Copy_Row_Buffer);
// Writes the buffer into row r: refused with 1102 without a copy from this grid, then with
// 1101 when the buffer does not hold one text per data column. A row in use (a column that is
// no check-box column holding a text that is not blank) is overwritten only when confirm(1100)
// says Yes.
PasteResult Paste_Row_Grid(TExtStringGrid& grid, int r, bool copied,
                           const QStringList& Copy_Row_Buffer, const RuleConfirm& confirm);
// True when a data column that is no check-box column holds a text that is not blank.
bool gridRowInUse(const TExtStringGrid& grid, int r);

// ---- check-box string grids ----------------------------------------------------------------

// Replaces the buffer by row r: "Y"/"N" for a check-box cell (its mark true), the text
// otherwise (mark false).
void Copy_Row_Grid_CheckBox(TExtStringGrid& grid, int r, QStringList& Copy_Row_Buffer,
                            QList<bool>& Copy_Row_CheckBox_Marks);
// As Paste_Row_Grid; the row is in use when a cell without a check box holds any text, blanks
// included. Marked entries set the check box of their cell, the others its text.
PasteResult Paste_Row_Grid_CheckBox(TExtStringGrid& grid, int r, bool copied,
                                    const QStringList& Copy_Row_Buffer,
                                    const QList<bool>& Copy_Row_CheckBox_Marks,
                                    const RuleConfirm& confirm);
// Moves texts, check-box states and read-only flags; the emptied last row is read-only, its
// column-1 box checked exactly when firstBox is set.
void Delete_Row_Grid_CheckBox(int r, TExtStringGrid& grid, bool firstBox);
// Moves texts, check-box states and read-only flags down from r; the emptied row r is
// editable, its column-1 box checked exactly when firstBox is set.
void Insert_Row_Grid_CheckBox(int r, TExtStringGrid& grid, bool firstBox);

// ---- grid events ---------------------------------------------------------------------------

// A double click on a header cell sizes that display column to its content when the option
// is on; elsewhere nothing. True when a column was sized.
bool Grid_Auto_Size_Col(TExtStringGrid& grid, int ARow, int ACol, bool autoSizeOption);
// With the option on, Enter moves the current cell to the next one (nextCellOnEnter) and is
// consumed (Key becomes 0), whether or not the cell moved. Other keys, or the option off,
// leave Key as it is for the grid's own handling.
void Grid_Jump_Next_Cell(TExtStringGrid& grid, char16_t& Key, bool jumpOption);

}  // namespace zfw
