#pragma once
// The window-free model of a rule editor: the rule tables as texts and a descriptor per
// table saying what its columns are, which column ends the rule list, which rows are enabled
// and which checks an enabled row must pass, in which order and with which texts.
//
// Row 0 is the header row and column 0 the row-number column, as in the editors' grids, so
// that row and column numbers mean the same here and on the screen. Cells are addressed
// (ACol, ARow) like the grid's cell access; columns are real columns, hidden ones included.
//
// Loading, checking and writing are free functions over a RuleFile; the editor windows are a
// thin layer that shows the tables and the messages.

#include "common/ProjectXml.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

namespace zfw {

struct ProgramState;

enum class RuleColumnKind {
    Number,    // column 0: the row number, never loaded or written
    Text,
    CheckBox,  // "Y" or "N"
    Combo,     // one of the column's items
};

struct RuleColumn {
    QString attribute;  // attribute of the "row" element; empty for column 0
    int headerText = 0; // language text of the header
    int hintText = 0;   // language text of the header's hint; 0 none
    RuleColumnKind kind = RuleColumnKind::Text;
    QStringList items;  // Combo only, in list order
    // Cell value when the attribute is missing from a row of the file.
    QString defaultText;
    // Guarded: a missing attribute takes the default without a word. Unguarded attributes are
    // required by the format; a row without one still takes the default, and the load
    // reports it so that the user knows before saving.
    bool guarded = true;
    bool hidden = false;
};

enum class RuleCheckKind {
    IntRange,     // integer text from min to max (a text that is no integer reads as -1)
    NotBlank,     // not empty after trimming
    IpAddress,    // an IPv4 address IP_Str_To_Bytes accepts
    Connection,   // the (address, port) of the row fits the connection table
};

struct RuleCheck {
    RuleCheckKind kind = RuleCheckKind::IntRange;
    int column = 0;
    int text = 0;  // language text of the message
    int min = 0;
    int max = 0;
    bool boundFollows = false;  // the message ends with max in decimal
    // Checked only when this column reads "Y" (RuleTable::isYes); -1 always.
    int onlyWhenYesIn = -1;
    // Checked only while the check's column is shown.
    bool onlyWhenShown = false;
    int portColumn = 0;  // Connection: the column of the port; column is the address
};

// Which texts of the Enable column, and of a column a check depends on, read as "Y".
enum class RuleEnableRule {
    TrimmedY,         // "Y" after trimming: " Y " yes, "y" no
    TrimmedAnyCaseY,  // "Y" or "y" after trimming
};

struct RuleTableSpec {
    QString element;     // table element under the root
    int tabText = 0;     // language text of the tab
    int rowCount = 0;    // header row included
    int keyColumn = 2;   // a blank cell here ends the rule list
    int enableColumn = 1;
    int firstNumber = 1; // what column 0 shows in row 1
    bool showHints = false;  // the window shows the header hints of this table
    RuleEnableRule enableRule = RuleEnableRule::TrimmedY;
    QList<RuleColumn> columns;  // index is the real column; column 0 the row number
    QList<RuleCheck> checks;    // in the order they run

    int columnCount() const { return int(columns.size()); }
    // Real column of the attribute; -1 when no column has it.
    int columnOf(const QString& attribute) const;
};

struct RuleFileSpec {
    // Language texts of the window: caption, title line, and the first of the six button
    // captions and of the six button hints (OK, Cancel, Delete, Insert, Copy, Paste Row).
    int captionText = 0;
    int titleText = 0;
    int buttonCaptionText = 0;
    int buttonHintText = 0;
    QString rootElement;
    QString version;            // of the "SW_VERSION = " comment
    int errorRowText = 0;       // "Error row "
    int deleteRowText = 0;      // "Are you sure to delete the Row number "
    int connectionLimit = 0;    // distinct (address, port) pairs over all tables; 0 no limit
    QList<RuleTableSpec> tables;  // in tab order, which is also the file's order
};

// One table's cells as texts.
class RuleTable {
public:
    explicit RuleTable(RuleTableSpec spec);

    const RuleTableSpec& spec() const { return m_spec; }
    int rowCount() const { return m_spec.rowCount; }
    int columnCount() const { return m_spec.columnCount(); }

    // Empty text outside the table.
    QString cell(int ACol, int ARow) const;
    // Ignored outside the table.
    void setCell(int ACol, int ARow, const QString& text);

    // Every row of the opening state: the row number in column 0, "Y" in the Enable column,
    // every other cell (hidden ones too) empty.
    void clear();
    // Rows 1 up to, not including, the first row whose key cell is blank after trimming; all
    // rows below the header when there is none. Returns the count.
    int ruleCount() const;
    // True when the cell reads "Y" by the table's enable rule.
    bool isYes(int ACol, int ARow) const;
    // True when the row's Enable cell makes it a rule to check.
    bool isEnabled(int ARow) const;
    // True when a data column other than a check-box column holds a text that is not blank.
    bool rowInUse(int ARow) const;
    // Rows from the first blank key cell down that are in use: saving leaves them out.
    int rowsBelowRuleList() const;

private:
    qsizetype index(int ACol, int ARow) const { return qsizetype(ARow) * columnCount() + ACol; }

    RuleTableSpec m_spec;
    std::vector<QString> m_cells;
};

// The tables of one rule file, in tab order.
struct RuleFile {
    explicit RuleFile(const RuleFileSpec& spec);

    RuleFileSpec spec;
    std::vector<RuleTable> tables;

    void clear();
};

// ---- Loading -------------------------------------------------------------------------------

struct RuleLoadReport {
    struct MissingValue {
        int table = 0;
        int row = 0;  // grid row
        QString attribute;
    };

    ProjectXmlLoad::Status status = ProjectXmlLoad::Status::Missing;
    // Set when the file exists but could not be read as XML (it names the file); the tables
    // are then left empty rather than half filled.
    QString fileError;
    QStringList missingTables;           // table elements the file lacks
    QList<MissingValue> missingValues;   // unguarded attributes that took their default
    QList<int> rowsNotShown;             // per table: rows of the file beyond the table

    int totalRowsNotShown() const;
    // True when saving would not give back what the file holds: the user must agree first.
    bool askBeforeOverwrite() const;
};

// Opening: clears the tables, then fills them from the file at path. A missing file leaves
// them cleared. The file's rows fill the table rows from row 1 in file order, whatever their
// element names; rows beyond the table are counted, never read over the last row.
RuleLoadReport loadRuleFile(RuleFile& file, const QString& path);
// The same from a loaded document.
RuleLoadReport loadRuleFile(RuleFile& file, const ProjectXmlLoad& doc);

// The user's messages about a load: one text per fault, empty when the load was clean.
QStringList ruleLoadMessages(const RuleLoadReport& report, const RuleFileSpec& spec,
                             const ProgramState& lang);

// ---- Checking ------------------------------------------------------------------------------

struct RuleFault {
    int table = -1;  // -1: no fault
    int row = 0;     // grid row, the first rule is row 1
    int text = 0;    // language text of the failed check
    bool hasBound = false;
    int bound = 0;

    bool ok() const { return table < 0; }
};

// The checks of every enabled rule of every table in tab order, up to the first fault.
RuleFault Controllo_dati(const RuleFile& file);

// "Error row " + row + the check's text (+ bound), from the language table.
QString ruleFaultMessage(const RuleFault& fault, const RuleFileSpec& spec,
                         const ProgramState& lang);

// ---- Writing -------------------------------------------------------------------------------

// The whole document: the root, one element per table in tab order, one "row" per rule of
// its rule list with every column from 1 as an attribute in column order (hidden ones too),
// texts as they stand.
ProjectXmlWriter ruleFileDocument(const RuleFile& file);
// Replaces the file at path atomically; a failure names the file and leaves it as it was.
FileResult saveRuleFile(const RuleFile& file, const QString& path);

}  // namespace zfw
