#include "ruleedit/UGridRows.h"

#include "common/TextUtil.h"
#include "grid/ColumnGrid.h"

namespace zfw {

namespace {

constexpr char16_t kEnter = 13;

bool validRow(const TExtStringGrid& grid, int r) { return r >= 1 && r < grid.RowCount(); }

// A rule grid's check-box column: its cells hold "Y"/"N", which never make a row "in use".
// A column grid says so by the column's editor, a string grid by the cell's box.
bool isCheckBoxCell(const TExtStringGrid& grid, int c, int r)
{
    if (const auto* columns = dynamic_cast<const TExtColumnGrid*>(&grid)) {
        const TGridColumnItem* item = columns->GetItem(c);
        return item && item->Editor() == TEditorType::edDataCheckBox;
    }
    return grid.HasDataCheckBox(c, r) || grid.HasCheckBox(c, r);
}

struct CheckCell {
    bool box = false;
    bool state = false;
    QString text;
    bool readOnly = false;
};

CheckCell readCheckCell(TExtStringGrid& grid, int c, int r)
{
    CheckCell cell;
    cell.box = grid.GetCheckBoxState(c, r, cell.state);
    if (!cell.box)
        cell.text = grid.GetCellEx(c, r);
    cell.readOnly = grid.GetReadOnly(c, r);
    return cell;
}

// Row "to" takes what row "from" holds: the state where "from" has a box (the box of "to"
// takes it), the text otherwise, and the read-only flag.
void moveCheckCell(TExtStringGrid& grid, int c, int from, int to)
{
    const CheckCell cell = readCheckCell(grid, c, from);
    if (cell.box)
        grid.SetCheckBoxState(c, to, cell.state);
    else
        grid.SetCellEx(c, to, cell.text);
    grid.SetReadOnly(c, to, cell.readOnly);
}

void emptyCheckRow(TExtStringGrid& grid, int r, bool firstBox, bool readOnly)
{
    const int n = gridDataColumns(grid);
    for (int c = 1; c <= n; ++c) {
        bool state = false;
        if (grid.GetCheckBoxState(c, r, state))
            grid.SetCheckBoxState(c, r, c == 1 && firstBox);
        else
            grid.SetCellEx(c, r, QString());
        grid.SetReadOnly(c, r, readOnly);
    }
}

}  // namespace

int gridDataColumns(const TExtStringGrid& grid) { return grid.store().AllColCount() - 1; }

void Delete_Row_Grid(int r, TExtStringGrid& grid)
{
    if (!validRow(grid, r))
        return;
    const int n = gridDataColumns(grid);
    const int last = grid.RowCount() - 1;
    grid.BeginUpdate();
    for (int i = r; i < last; ++i)
        for (int c = 1; c <= n; ++c)
            grid.SetCellEx(c, i, grid.GetCellEx(c, i + 1));
    for (int c = 1; c <= n; ++c)
        grid.SetCellEx(c, last, QString());
    grid.EndUpdate();
}

void Insert_Row_Grid(int r, TExtStringGrid& grid, bool enable)
{
    if (!validRow(grid, r))
        return;
    const int n = gridDataColumns(grid);
    grid.BeginUpdate();
    for (int i = grid.RowCount() - 2; i >= r; --i)
        for (int c = 1; c <= n; ++c)
            grid.SetCellEx(c, i + 1, grid.GetCellEx(c, i));
    for (int c = 1; c <= n; ++c)
        grid.SetCellEx(c, r, c == 1 && enable ? QStringLiteral("Y") : QString());
    grid.EndUpdate();
}

void Copy_Row_Grid(const TExtStringGrid& grid, int r, QStringList& Copy_Row_Buffer)
{
    Copy_Row_Buffer.clear();
    const int n = gridDataColumns(grid);
    for (int c = 1; c <= n; ++c)
        Copy_Row_Buffer.append(grid.GetCellEx(c, r));
}

bool gridRowInUse(const TExtStringGrid& grid, int r)
{
    const int n = gridDataColumns(grid);
    for (int c = 1; c <= n; ++c)
        if (!isCheckBoxCell(grid, c, r) && !trimBlanks(grid.GetCellEx(c, r)).isEmpty())
            return true;
    return false;
}

PasteResult Paste_Row_Grid(TExtStringGrid& grid, int r, bool copied,
                           const QStringList& Copy_Row_Buffer, const RuleConfirm& confirm)
{
    if (!copied)
        return {false, kTextPasteNoCopy};
    const int n = gridDataColumns(grid);
    if (Copy_Row_Buffer.size() != n)
        return {false, kTextPasteWrongRow};
    if (!validRow(grid, r))
        return {};
    if (gridRowInUse(grid, r) && !(confirm && confirm(kTextPasteOverwrite)))
        return {};
    grid.BeginUpdate();
    for (int c = 1; c <= n; ++c)
        grid.SetCellEx(c, r, Copy_Row_Buffer[c - 1]);
    grid.EndUpdate();
    return {true, 0};
}

void Copy_Row_Grid_CheckBox(TExtStringGrid& grid, int r, QStringList& Copy_Row_Buffer,
                            QList<bool>& Copy_Row_CheckBox_Marks)
{
    Copy_Row_Buffer.clear();
    const int n = gridDataColumns(grid);
    Copy_Row_CheckBox_Marks = QList<bool>(n, false);
    for (int c = 1; c <= n; ++c) {
        bool state = false;
        if (grid.GetCheckBoxState(c, r, state)) {
            Copy_Row_CheckBox_Marks[c - 1] = true;
            Copy_Row_Buffer.append(state ? QStringLiteral("Y") : QStringLiteral("N"));
        } else {
            Copy_Row_Buffer.append(grid.GetCellEx(c, r));
        }
    }
}

PasteResult Paste_Row_Grid_CheckBox(TExtStringGrid& grid, int r, bool copied,
                                    const QStringList& Copy_Row_Buffer,
                                    const QList<bool>& Copy_Row_CheckBox_Marks,
                                    const RuleConfirm& confirm)
{
    if (!copied)
        return {false, kTextPasteNoCopy};
    const int n = gridDataColumns(grid);
    // The marks are checked too: a buffer whose marks belong to another copy would set
    // texts where boxes are, or index past the marks.
    if (Copy_Row_Buffer.size() != n || Copy_Row_CheckBox_Marks.size() != n)
        return {false, kTextPasteWrongRow};
    if (!validRow(grid, r))
        return {};
    bool inUse = false;
    for (int c = 1; c <= n && !inUse; ++c) {
        bool state = false;
        inUse = !grid.GetCheckBoxState(c, r, state) && !grid.GetCellEx(c, r).isEmpty();
    }
    if (inUse && !(confirm && confirm(kTextPasteOverwrite)))
        return {};
    grid.BeginUpdate();
    for (int c = 1; c <= n; ++c) {
        if (Copy_Row_CheckBox_Marks[c - 1])
            grid.SetCheckBoxState(c, r, Copy_Row_Buffer[c - 1] == QLatin1String("Y"));
        else
            grid.SetCellEx(c, r, Copy_Row_Buffer[c - 1]);
    }
    grid.EndUpdate();
    return {true, 0};
}

void Delete_Row_Grid_CheckBox(int r, TExtStringGrid& grid, bool firstBox)
{
    if (!validRow(grid, r))
        return;
    const int n = gridDataColumns(grid);
    const int last = grid.RowCount() - 1;
    grid.BeginUpdate();
    for (int i = r; i < last; ++i)
        for (int c = 1; c <= n; ++c)
            moveCheckCell(grid, c, i + 1, i);
    emptyCheckRow(grid, last, firstBox, true);
    grid.EndUpdate();
}

void Insert_Row_Grid_CheckBox(int r, TExtStringGrid& grid, bool firstBox)
{
    if (!validRow(grid, r))
        return;
    const int n = gridDataColumns(grid);
    grid.BeginUpdate();
    for (int i = grid.RowCount() - 2; i >= r; --i)
        for (int c = 1; c <= n; ++c)
            moveCheckCell(grid, c, i, i + 1);
    emptyCheckRow(grid, r, firstBox, false);
    grid.EndUpdate();
}

bool Grid_Auto_Size_Col(TExtStringGrid& grid, int ARow, int ACol, bool autoSizeOption)
{
    if (!autoSizeOption || ARow != 0 || ACol < 0 || ACol >= grid.ColCount())
        return false;
    grid.AutoSizeCol(ACol, 0);
    return true;
}

void Grid_Jump_Next_Cell(TExtStringGrid& grid, char16_t& Key, bool jumpOption)
{
    if (!jumpOption || Key != kEnter)
        return;
    if (const std::optional<GridCell> next = nextCellOnEnter({grid.Col(), grid.Row()},
                                                             grid.ColCount(), grid.RowCount()))
        grid.MoveCurrentCell(next->col, next->row, true, true);
    Key = 0;
}

}  // namespace zfw
