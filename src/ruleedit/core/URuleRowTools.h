#pragma once
// The row tools of the rule editors on the window-free table: delete, insert, copy and paste
// a row. Data columns are 1 to the last, hidden ones included; the row count never changes.
// The copied-row buffer belongs to the caller, who shares it between the editors it opens.

#include "ruleedit/core/URuleTable.h"

#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

namespace zfw {

inline constexpr int kTextPasteOverwrite = 1100;  // "Row Already used. ..." (Yes/No)
inline constexpr int kTextPasteWrongRow = 1101;   // error: buffer of another column count
inline constexpr int kTextPasteNoCopy = 1102;     // error: nothing copied from this grid
inline constexpr int kTextInsertLosesRow = 1108;  // Yes/No: the last row's rule would be lost

// Asks the user the question of the given language text; true on Yes.
using RuleConfirm = std::function<bool(int text)>;

// Moves the rows below r up by one and empties every data cell of the last row. Row objects
// and read-only flags move with their rows; the emptied row is read-only when the table locks
// its emptied row, editable otherwise, and enabled when the table enables its emptied row.
void Delete_Row_Grid(int r, RuleTable& grid);
// Moves row r and those below it down by one, losing the last row, then empties row r; with
// enable and an Enable column its Enable cell holds "Y". Row objects and read-only flags move
// with their rows; row r is editable.
void Insert_Row_Grid(int r, RuleTable& grid, bool enable);
// Replaces the buffer by the texts of row r, columns 1 to the last; never the row object.
void Copy_Row_Grid(const RuleTable& grid, int r, QStringList& Copy_Row_Buffer);

struct PasteResult {
    bool pasted = false;
    int errorText = 0;  // 1102 or 1101 when refused; 0 when pasted or the user said No
};

// Writes the buffer into row r. Refused with 1102 when copied is false, then with 1101 when
// the buffer does not hold one text per data column; a row in use (a column other than a
// check box holding a text that is not blank) is overwritten only when confirm(1100) says Yes.
PasteResult Paste_Row_Grid(RuleTable& grid, int r, bool copied, const QStringList& Copy_Row_Buffer,
                           const RuleConfirm& confirm);

struct GridCell {
    int col = 0;
    int row = 0;
    bool operator==(const GridCell&) const = default;
};

// Where Enter moves the current cell when the jump option is on: the next column, else
// column 1 of the next row, or of row 1 after the last row. nullopt when the current cell
// lies in the fixed row or column; the Enter is consumed either way. colCount and rowCount
// are the grid's (shown columns, fixed column included).
std::optional<GridCell> nextCellOnEnter(GridCell current, int colCount, int rowCount);

// One opening of a rule editor, without its window: the tables, the file they come from and
// go to, and the copy flags of its grids over the shared buffer.
class RuleEditorModel {
public:
    RuleEditorModel(QString path, QStringList& copyRowBuffer);

    // Opening: the tables of spec, cleared, then loaded from the file; every copy flag false.
    RuleLoadReport open(const RuleFileSpec& spec);
    // Opening without reading the file: the tables of spec, cleared; every copy flag false and
    // nothing to ask before saving on the file's account. For an editor whose file has a
    // format of its own, which it reads into the tables.
    void openEmpty(const RuleFileSpec& spec);

    // The tables of the last opening; call open first.
    RuleFile& file()
    {
        Q_ASSERT(m_file);
        return *m_file;
    }
    const RuleFile& file() const
    {
        Q_ASSERT(m_file);
        return *m_file;
    }
    const QString& path() const { return m_path; }

    RuleFault check() const { return Controllo_dati(file()); }
    // Messages that call for a Yes (text 1115) before saving: what the load could not show
    // and rows below the rule list that saving drops. Empty when saving loses nothing.
    QStringList saveWarnings(const ProgramState& lang) const;
    FileResult save() const { return saveRuleFile(file(), m_path); }

    // "Are you sure to delete the Row number " + row, asked by the window before deleteRow; a
    // text holding "%d" has its first "%d" replaced by the row instead.
    QString deleteQuestion(int row, const ProgramState& lang) const;
    void deleteRow(int table, int row);
    // Insert with the Enable cell set. When the last row is in use, a growing table grows by
    // one row; a full one asks confirm(1108) first: false when the user said No and nothing
    // moved.
    bool insertRow(int table, int row, const RuleConfirm& confirm);
    void copyRow(int table, int row);
    PasteResult pasteRow(int table, int row, const RuleConfirm& confirm);
    bool copied(int table) const;

private:
    RuleTable* table(int t);

    QString m_path;
    QStringList& m_buffer;
    std::optional<RuleFile> m_file;
    RuleLoadReport m_report;
    std::vector<bool> m_copied;
};

// The question asked before saving when saveWarnings is not empty.
inline constexpr int kTextSaveAnyway = 1115;
inline constexpr int kTextRowsBelowRuleList = 1116;

}  // namespace zfw
