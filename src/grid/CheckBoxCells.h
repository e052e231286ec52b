#pragma once
// Check-box cells without a widget: where a box's state lives, how it is added, read, written
// and toggled, and which rows a check-box column covers. The grid calls these with itself as
// the host and adds what needs the window (events, editability, group propagation).

#include "grid/CellGraphic.h"

#include <QString>

#include <functional>
#include <optional>
#include <vector>

namespace zfw {

inline constexpr const char* kInvalidCellMessage = "Invalid cell";

// The cell's check-true and check-false texts (GetCheckTrue / GetCheckFalse).
struct CheckTexts {
    QString checkTrue = QStringLiteral("Y");
    QString checkFalse = QStringLiteral("N");
};

// A cell a check box may be added to: inside the stored columns and rows, hidden ones
// included. Negative indexes are refused as well: writing there would corrupt the store.
bool isValidCheckBoxCell(const CellGraphicHost& host, int ACol, int ARow);

// Vertical placement of a new box from the grid's VAlignment ordinal (0 top, 1 centre,
// 2 bottom).
TCellVAlign checkBoxVAlign(int vAlignment);

// The text a new data check box writes into its cell, or an empty optional when the cell
// keeps its text: a cell that already holds either check text keeps it.
std::optional<QString> dataCheckBoxInitialText(const QString& cellText, bool state,
                                               const CheckTexts& texts);

// A user's toggle of a data check box: the check-true text becomes the check-false text;
// any other text, including one that is neither, becomes the check-true text.
struct DataToggle {
    QString text;
    bool newState = false;
};
DataToggle toggledDataCheckText(const QString& cellText, const CheckTexts& texts);

// Three-state cycle of a box outside node groups: unchecked, grayed, checked, unchecked.
TCheckBoxState nextTriState(TCheckBoxState s);

// Adds a plain (data false) or data check box. Empty result on success; otherwise the error
// text and the cell unchanged.
QString AddCheckBox(CellGraphicHost& host, int ACol, int ARow, bool state, bool data,
                    int vAlignment, const CheckTexts& texts);
QString AddCheckBox(CellGraphicHost& host, int ACol, int ARow, TCheckBoxState state,
                    int vAlignment);

// Removes a plain, data or three-state check box; other kinds are left alone.
bool RemoveCheckBox(CellGraphicHost& host, int ACol, int ARow);

bool HasCheckBox(const CellGraphicHost& host, int baseCol, int baseRow);
bool HasDataCheckBox(const CellGraphicHost& host, int baseCol, int baseRow);
bool HasCheckBoxOrRadioButton(const CellGraphicHost& host, int baseCol, int baseRow);
bool IsDataCellGraphic(const CellGraphicHost& host, int baseCol, int baseRow);

// Reads the Boolean state; false (state untouched) when the cell has no readable box. A
// three-state box is not read by this form.
bool GetCheckBoxState(const CellGraphicHost& host, int ACol, int ARow, const CheckTexts& texts,
                      bool& state);
bool GetCheckBoxState(const CellGraphicHost& host, int ACol, int ARow, const CheckTexts& texts,
                      TCheckBoxState& state);
bool IsChecked(const CellGraphicHost& host, int ACol, int ARow, const CheckTexts& texts);
// Writes a Boolean state without events; false when the cell has no such box.
bool SetCheckBoxState(CellGraphicHost& host, int ACol, int ARow, bool state,
                      const CheckTexts& texts);

// Writes a Boolean state as a program change the user should hear of: `applied` when the
// cell has such a box, `changed` when its state really changed (the grid then fires its
// check-box event).
struct ChangeResult {
    bool applied = false;
    bool changed = false;
};
ChangeResult changeCheckBoxCell(CellGraphicHost& host, int ACol, int ARow, bool state,
                                const CheckTexts& texts);

// Fills the grid's shared row check box for a row: in the header row (headerRow) checked when
// every normal row is selected, partly checked (CellAngle 1) when some are; in another row
// checked when that row is selected.
void prepareRowCheckGraphic(TCellGraphic& g, bool headerRow, int selectedRows, int normalRows,
                            bool rowSelected, bool flat);

// Hit test of a check box or radio button in a cell rectangle (display position). Without
// `precise` the whole cell counts. With it only the box does: its top by the graphic's
// vertical placement, its left by the cell's text alignment (Qt::AlignLeft, AlignRight or
// AlignHCenter); a right-aligned box sits left of a text `textWidth` wide. Right and bottom
// edges are outside.
bool IsInCheckBox(TCellType kind, bool precise, const TRect& cellRect, int checkSize,
                  TCellVAlign va, Qt::Alignment textAlignment, int textWidth, int x, int y);

// The toggle itself (no editability question, no event, no group propagation): true with the
// new Boolean state when the cell has a check box.
struct ToggleResult {
    bool toggled = false;
    bool newState = false;
};
ToggleResult toggleCheckBoxCell(CellGraphicHost& host, int ACol, int ARow, const CheckTexts& texts);

// What a check-box column puts in each row from the start row on (0 with CheckAllCheck,
// else FixedRows) to RowCount - 1.
enum class CheckColumnRow { Skip, TriStateBox, CheckBox };
struct CheckColumnPlanRow {
    int row = 0;
    CheckColumnRow what = CheckColumnRow::CheckBox;
};
std::vector<CheckColumnPlanRow> planCheckBoxColumn(int rowCount, int fixedRows, bool checkAllCheck,
                                                   const std::function<bool(int)>& isSummaryRow,
                                                   const std::function<bool(int)>& isNodeRow);

// Adds the boxes of a check-box column as planned. Empty result on success, else the error
// of the first row that failed (rows before it keep their boxes).
QString AddCheckBoxColumn(CellGraphicHost& host, int ACol, bool defaultState, bool dataCheckBox,
                          int fixedRows, bool checkAllCheck, int vAlignment,
                          const CheckTexts& texts,
                          const std::function<bool(int)>& isSummaryRow = {},
                          const std::function<bool(int)>& isNodeRow = {});

// Removes the plain, data and three-state boxes of a column over the check-box column's rows.
void RemoveCheckBoxColumn(CellGraphicHost& host, int ACol, int fixedRows, bool checkAllCheck);

// Checks (or unchecks) every box of a column from FixedRows to RowCount - 1 and answers the
// rows whose state really changed, in order, for the grid's check-box event.
std::vector<int> CheckAll(CellGraphicHost& host, int ACol, bool state, int fixedRows,
                          const CheckTexts& texts);

}  // namespace zfw
