#pragma once
// The window-free model of a rule editor: the rule tables as texts and a descriptor per
// table saying what its columns are, which column ends the rule list, which rows are enabled
// and which checks an enabled row must pass, in which order and with which texts.
//
// Row 0 is the header row and column 0 the row-number column, as in the editors' grids, so
// that row and column numbers mean the same here and on the screen. Cells are addressed
// (ACol, ARow) like the grid's cell access; columns are real columns, hidden ones included.
//
// Descriptors name columns by their attribute. resolveRuleSpec turns every name into its
// real column once, when the descriptor is built, and refuses a name that no column has:
// inserting a column can never shift a check, a hidden flag or a key silently.
//
// Loading, checking and writing are free functions over a RuleFile; the editor windows are a
// thin layer that shows the tables and the messages.

#include "common/ProjectXml.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <optional>
#include <vector>

namespace zfw {

struct ProgramState;
class RuleTable;
struct RuleFile;

enum class RuleColumnKind {
    Number,  // column 0: the row number, never loaded or written
    Text,
    CheckBox,   // "Y" or "N"
    Combo,      // one of the column's items
    ComboEdit,  // one of the column's items or any typed text
};

// A cell text computed from the rest of the row: a default that depends on the row, or the
// text written in place of the cell's.
using RuleCellText = std::function<QString(const RuleTable& table, int row)>;

struct RuleColumn {
    QString attribute;  // attribute of the row element; empty for column 0
    // Older names of the attribute, read when the file lacks the attribute itself.
    QStringList legacyAttributes;
    int headerText = 0;  // language text of the header
    // A header no language changes; empty: headerText's.
    QString fixedHeader;
    int hintText = 0;  // language text of the header's hint; 0 none
    RuleColumnKind kind = RuleColumnKind::Text;
    QStringList items;  // Combo and ComboEdit, in list order
    // Cell value when the attribute is missing from a row of the file.
    QString defaultText;
    // When set, the default of a missing attribute is computed from the row as loaded so far
    // (the attributes the row has, then the defaults of the columns before this one).
    RuleCellText rowDefault;
    // Cell value at each opening, before the file is read.
    QString openingText;
    // Guarded: a missing attribute takes the default without a word. Unguarded attributes are
    // required by the format; a row without one still takes the default, and the load
    // reports it so that the user knows before saving.
    bool guarded = true;
    bool hidden = false;
    // False: the column is the window's own (a value set at each opening); it is never read
    // from the file nor written to it.
    bool stored = true;
    // When set, the attribute is written with this text instead of the cell's.
    RuleCellText writtenText;
    int width = 0;  // pixels; 0: fitted to the header and the items (column 0: a fixed width)
    // Background of the column's cells in the grid's colour form (0xBBGGRR); none: the grid's.
    std::optional<quint32> colour;
    bool centred = false;   // the cells' texts and boxes centred
    bool readOnly = false;  // shown only: filled by the editor, never typed
};

enum class RuleCheckKind {
    IntRange,    // integer text from min to max (a text that is no integer reads as -1)
    NotBlank,    // not empty after trimming
    IpAddress,   // an IPv4 address IP_Str_To_Bytes accepts
    Connection,  // the (address, port) of the row fits the connection table
    OneOf,       // exactly one of items
    HexRange,    // hexadecimal digits (no prefix, blanks trimmed) from min to max
    Row,         // the editor's own check of the row (rowCheck)
};

// How a fault's message is composed (ruleFaultMessage).
enum class RuleMessageForm {
    RowPrefix,    // "Error row " + row + text (+ bound) (+ after text)
    NoRowPrefix,  // text (+ bound) (+ after text)
    Format,       // text whose "%d" are replaced by values, in order
};

// A number of a message followed by a language text (0 none).
struct RuleFaultPiece {
    qint64 number = 0;
    int text = 0;
};

struct RuleFault {
    int table = -1;  // -1: no fault
    int row = 0;     // grid row, the first rule is row 1; 0 for a whole-file fault
    int text = 0;    // language text of the failed check
    bool hasBound = false;
    qint64 bound = 0;
    int afterText = 0;  // language text after the bound; 0 none
    // A text of the check's own after everything else (a value named by the check); not a
    // language text.
    QString afterString;
    // Numbers and texts after the after text, before afterString, for a message that names
    // more than one number (two rows of a pair).
    QList<RuleFaultPiece> morePieces;
    RuleMessageForm form = RuleMessageForm::RowPrefix;
    QList<qint64> values;  // Format only

    bool ok() const { return table < 0; }
};

// An editor's own check of one enabled rule: nullopt when the row passes. The walk fills in
// the table and, when left 0, the row.
using RuleRowCheck = std::function<std::optional<RuleFault>(const RuleTable& table, int row)>;
// A check over the whole file after every rule passed its row checks (totals, counts,
// duplicates across tables): nullopt when the file passes.
using RuleFileCheck = std::function<std::optional<RuleFault>(const RuleFile& file)>;

struct RuleCheck {
    RuleCheckKind kind = RuleCheckKind::IntRange;
    QString attribute;  // the column checked
    int text = 0;       // language text of the message
    qint64 min = 0;
    qint64 max = 0;
    bool boundFollows = false;  // the message ends with max in decimal
    int afterText = 0;          // language text after the bound; 0 none
    RuleMessageForm form = RuleMessageForm::RowPrefix;
    // Checked only when this column reads "Y" (RuleTable::isYes); empty always.
    QString onlyWhenYesIn;
    // Checked only while the check's column is shown.
    bool onlyWhenShown = false;
    QString portAttribute;  // Connection: the column of the port; attribute is the address
    QStringList items;      // OneOf
    RuleRowCheck rowCheck;  // Row
    // Row: the columns rowCheck reads, checked when the descriptor is built.
    QStringList uses;

    // Resolved by resolveRuleSpec.
    int column = -1;
    int onlyWhenYesColumn = -1;
    int portColumn = -1;
};

// Which texts of the Enable column, and of a column a check depends on, read as "Y".
enum class RuleEnableRule {
    Exact,            // exactly "Y"
    TrimmedY,         // "Y" after trimming: " Y " yes, "y" no
    TrimmedAnyCaseY,  // "Y" or "y" after trimming
    UpperCasedY,      // "Y" once upper-cased, blanks not trimmed: "y" yes, " Y" no
};

// Which key cell ends the rule list.
enum class RuleKeyTest {
    Trimmed,     // a cell blank after trimming
    AsItStands,  // an empty cell; a cell of blanks is a rule
    None,        // no key: every row is a rule
};

struct RuleTableSpec {
    // Table element under the root; empty: the rows stand directly under the root (a file
    // of one table).
    QString element;
    QString rowElement = QStringLiteral("row");  // name of the written row elements
    int tabText = 0;                             // language text of the tab
    int rowCount = 0;                            // header row included
    // A growing table: the rows it may reach, header included, when the file or an insert
    // needs them; 0: the row count is fixed.
    int maxRowCount = 0;
    // Attribute of the key column (keyTest None: unused).
    QString keyAttribute;
    RuleKeyTest keyTest = RuleKeyTest::Trimmed;
    // Attribute of the Enable column; empty: no Enable column, every listed row is a rule to
    // check and Insert leaves the new row empty.
    QString enableAttribute = QStringLiteral("Enable");
    RuleEnableRule enableRule = RuleEnableRule::TrimmedY;
    // Walk variants of the check: a disabled row is passed over before its key is looked at
    // (so a disabled row with an empty key does not end the walk); the walk passes over
    // empty keys instead of ending there.
    bool skipDisabledBeforeKey = false;
    bool walkPastEmptyKey = false;
    int firstNumber = 1;  // what column 0 shows in row 1
    // The table's own "Error row " text when its messages name the table; 0: the file's.
    int errorRowText = 0;
    bool showHints = false;     // the window shows the header hints of this table
    QList<RuleColumn> columns;  // index is the real column; column 0 the row number
    QList<RuleCheck> checks;    // in the order they run
    // After the rows were read: normalising texts, per-row objects.
    std::function<void(RuleTable&)> afterLoad;
    // After each row the file gives was read, defaults included, with its element: what the
    // row's own columns cannot say (an older attribute standing for several columns, a text
    // normalised in the file's rows only, never in the empty rows below them).
    std::function<void(RuleTable& table, int row, const XmlElement& element)> rowLoaded;
    // Rows are written through the last row whose key holds a rule, rows with an ending key
    // between included, instead of up to the first ending key. For tables read by position,
    // so that a disabled row with an empty key does not cut the rules below it.
    bool writeThroughLastKey = false;
    // The row tools of the check-box grids: a delete leaves the emptied last row read-only
    // (from column 1 on) and an insert makes its new row editable. Otherwise an emptied row is
    // editable either way.
    bool lockEmptiedRow = false;
    // A delete leaves the emptied last row enabled ("Y" in Enable), as every free row of the
    // table opens, so that a rule typed there is not disabled unseen. Otherwise its Enable is
    // emptied with the rest of the row.
    bool enableEmptiedRow = false;
    // Child elements of a row: read once the row's attributes are in (a fault is told in
    // notes, one text each, and leaves the row as the attributes made it), and written after
    // the row's attributes.
    std::function<void(RuleTable&, int row, const XmlElement& rowElement, QStringList& notes)>
        readRowChildren;
    std::function<void(const RuleTable&, int row, ProjectXmlElement& rowElement)> writeRowChildren;

    // Resolved by resolveRuleSpec; -1 none.
    int keyColumn = -1;
    int enableColumn = -1;

    int columnCount() const { return int(columns.size()); }
    // Real column of the attribute; -1 when no column has it.
    int columnOf(QStringView attribute) const;
    // Real column of the attribute, which the descriptor must have (asserted).
    int col(QStringView attribute) const;
    bool grows() const { return maxRowCount > rowCount; }
};

struct RuleFileSpec {
    // Language texts of the window: caption, title line, and the first of the six button
    // captions and of the six button hints (OK, Cancel, Delete, Insert, Copy, Paste Row).
    int captionText = 0;
    int titleText = 0;
    int buttonCaptionText = 0;
    int buttonHintText = 0;
    QString rootElement;
    QString version;                  // of the "SW_VERSION = " comment; empty: no comment
    int errorRowText = 0;             // "Error row "
    int deleteRowText = 0;            // "Are you sure to delete the Row number "
    int connectionLimit = 0;          // distinct (address, port) pairs over all tables; 0 no limit
    QList<RuleTableSpec> tables;      // in tab order, which is also the file's order
    QList<RuleFileCheck> fileChecks;  // after the walk, in order
};

// Resolves every attribute the descriptor names into its real column. Empty when the
// descriptor is sound; otherwise a text naming the table and the attribute no column has
// (or what else is wrong), and the descriptor must not be used.
QString resolveRuleSpec(RuleFileSpec& spec);
// resolveRuleSpec on a descriptor written in code, where a fault is a programming error:
// asserted, and returned resolved.
RuleFileSpec builtRuleSpec(RuleFileSpec spec);

// One table's cells as texts, and one object per row that moves with its row on insert and
// delete (never copied with it).
class RuleTable {
public:
    // spec must be resolved (resolveRuleSpec).
    explicit RuleTable(RuleTableSpec spec);

    const RuleTableSpec& spec() const { return m_spec; }
    int rowCount() const { return m_rowCount; }
    int columnCount() const { return m_spec.columnCount(); }

    // Empty text outside the table.
    QString cell(int ACol, int ARow) const;
    // Ignored outside the table.
    void setCell(int ACol, int ARow, const QString& text);
    // The cell of the attribute's column (asserted to exist).
    QString text(QStringView attribute, int ARow) const
    {
        return cell(m_spec.col(attribute), ARow);
    }

    // A cell the editor made read-only for its row (the column's own readOnly aside); false
    // outside the table. The flags move with their rows.
    bool readOnly(int ACol, int ARow) const;
    // Ignored outside the table.
    void setReadOnly(int ACol, int ARow, bool value);
    // Every cell of the row from column 1 on.
    void setRowReadOnly(int ARow, bool value);

    // Null outside the table.
    QVariant rowObject(int ARow) const;
    void setRowObject(int ARow, QVariant object);

    // A growing table takes up to its maximum; a fixed one keeps its rows. Returns the count.
    int setRowCount(int rows);

    // Every row of the opening state: the row number in column 0, every other cell (hidden
    // and unstored ones too) its column's opening text, no row objects, no read-only cells. A
    // growing table
    // returns to its first row count.
    void clear();
    // Rows 1 up to, not including, the first row whose key cell ends the list; all rows below
    // the header when there is none. Returns the count.
    int ruleCount() const;
    // True when the row's key cell ends the rule list (never without a key).
    bool keyEnds(int ARow) const;
    // True when the cell reads "Y" by the table's enable rule.
    bool isYes(int ACol, int ARow) const;
    // True when the row's Enable cell makes it a rule to check; always without one.
    bool isEnabled(int ARow) const;
    // True when a stored data column other than a check-box column holds a text that is not
    // blank.
    bool rowInUse(int ARow) const;
    // Rows from the first blank key cell down that are in use: saving leaves them out.
    int rowsBelowRuleList() const;
    // The rows a save writes: ruleCount(), or with writeThroughLastKey the last row whose key
    // does not end the list.
    int writtenRowCount() const;

    // Row moves of the row tools: the row objects and read-only flags move with their rows.
    void moveRowsUp(int from);    // rows from+1.. move to from..; the last row emptied
    void moveRowsDown(int from);  // rows from.. move to from+1..; the last row's lost
    void emptyRow(int ARow);      // data cells empty and editable, no object

private:
    qsizetype index(int ACol, int ARow) const { return qsizetype(ARow) * columnCount() + ACol; }

    RuleTableSpec m_spec;
    int m_rowCount = 0;
    std::vector<QString> m_cells;
    std::vector<bool> m_readOnly;  // one per cell, as m_cells
    std::vector<QVariant> m_objects;
};

// The tables of one rule file, in tab order.
struct RuleFile {
    // spec is resolved here (asserted sound); resolving twice gives the same.
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
    QStringList missingTables;          // table elements the file lacks
    QList<MissingValue> missingValues;  // unguarded attributes that took their default
    QList<int> rowsNotShown;            // per table: rows of the file beyond the table
    QStringList rowNotes;               // faults of row children (readRowChildren), as told

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

// The checks of every enabled rule of every table in tab order, up to the first fault; then
// the whole-file checks.
RuleFault Controllo_dati(const RuleFile& file);

// The fault's message in its form, from the language table.
QString ruleFaultMessage(const RuleFault& fault, const RuleFileSpec& spec,
                         const ProgramState& lang);

// ---- Writing -------------------------------------------------------------------------------

// The whole document: the root, one element per table in tab order (or the rows directly
// under the root), one row element per rule of its rule list with every stored column from 1
// as an attribute in column order (hidden ones too), texts as they stand.
ProjectXmlWriter ruleFileDocument(const RuleFile& file);
// The file's bytes, without the version comment when the descriptor has no version.
QByteArray ruleFileBytes(const RuleFile& file);
// Replaces the file at path atomically; a failure names the file and leaves it as it was.
FileResult saveRuleFile(const RuleFile& file, const QString& path);

}  // namespace zfw
