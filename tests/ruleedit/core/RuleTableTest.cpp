// The rule-table model on a small table: the rule list, loading, writing and the row tools.

#include "ruleedit/core/URuleRowTools.h"
#include "ruleedit/core/URuleSpecBuild.h"
#include "ruleedit/core/URuleTable.h"
#include "support/CaseName.h"
#include "support/Files.h"

#include "common/UComon.h"
#include "common/ULanguage.h"

#include <QDir>
#include <QTemporaryDir>

#include <functional>

#include <gtest/gtest.h>

namespace zfw {
namespace {

constexpr int kItemsTab = 6398;
constexpr int kOthersTab = 6399;

// The fixture's language table: the English defaults and the two tab names.
void fillLanguage(ProgramState& lang)
{
    Fill_Default_Language(lang);
    lang.Language_Table[kItemsTab] = QStringLiteral("Items");
    lang.Language_Table[kOthersTab] = QStringLiteral("Others");
}

// Six rows (five rules): Enable, a key, a number 0 to 9, a check box, a hidden text with a
// default.
RuleFileSpec smallSpec()
{
    RuleTableSpec t;
    t.element = QStringLiteral("Items");
    t.rowCount = 6;
    t.tabText = kItemsTab;
    t.keyAttribute = QStringLiteral("Key");
    RuleColumn key = rulespec::column(u"Key", 0);
    key.guarded = false;
    RuleColumn value = rulespec::column(u"Value", 0);
    value.guarded = false;
    RuleColumn hidden = rulespec::column(u"Hidden", 0);
    hidden.defaultText = QStringLiteral("h");
    hidden.hidden = true;
    t.columns = {rulespec::numberColumn(0),
                 rulespec::enableColumn(0),
                 key,
                 value,
                 rulespec::column(u"Flag", 0, RuleColumnKind::CheckBox),
                 hidden};
    t.checks = {rulespec::range(u"Value", 7001, 0, 9)};

    RuleTableSpec other = t;
    other.element = QStringLiteral("Others");
    other.rowCount = 3;
    other.tabText = kOthersTab;

    RuleFileSpec f;
    f.rootElement = QStringLiteral("Root");
    f.version = QStringLiteral("1.002");
    f.tables = {t, other};
    return f;
}

void setRow(RuleTable& t, int row, const QStringList& cells)
{
    for (int c = 0; c < cells.size(); ++c)
        t.setCell(c + 1, row, cells[c]);
}

// Messages as one text, one per line, so that a failure prints them.
std::string joined(const QStringList& messages)
{
    return messages.join(QLatin1Char('\n')).toStdString();
}

QStringList rowOf(const RuleTable& t, int row)
{
    QStringList out;
    for (int c = 1; c < t.columnCount(); ++c)
        out.append(t.cell(c, row));
    return out;
}

TEST(RuleTable, OpeningStateNumbersRowsAndEnablesThem)
{
    RuleFile f(smallSpec());
    const RuleTable& t = f.tables[0];
    for (int r = 1; r < t.rowCount(); ++r) {
        EXPECT_EQ(t.cell(0, r), QString::number(r));
        EXPECT_EQ(rowOf(t, r), QStringList({"Y", "", "", "", ""}));
    }
    EXPECT_EQ(t.ruleCount(), 0);
}

struct RuleListCase {
    const char* name;
    QStringList keys;  // key cells of rows 1..5
    int rules;
    int rowsBelow;  // rows in use from the first blank key down
};

const RuleListCase kRuleListCases[] = {
    {"Empty", {"", "", "", "", ""}, 0, 0},
    {"TwoRules", {"a", "b", "", "", ""}, 2, 0},
    {"BlanksOnlyKeyEndsTheList", {"a", " \t", "c", "", ""}, 1, 1},
    {"FullTableRunsToTheLastRow", {"a", "b", "c", "d", "e"}, 5, 0},
    {"GapLeavesTheRestOut", {"a", "", "c", "", "e"}, 1, 2},
};

class RuleList : public ::testing::TestWithParam<RuleListCase> {};

TEST_P(RuleList, EndsAtTheFirstBlankKey)
{
    RuleFile f(smallSpec());
    RuleTable& t = f.tables[0];
    for (int r = 1; r <= 5; ++r)
        t.setCell(2, r, GetParam().keys[r - 1]);
    EXPECT_EQ(t.ruleCount(), GetParam().rules);
    EXPECT_EQ(t.rowsBelowRuleList(), GetParam().rowsBelow);
    // What is written is exactly the rule list.
    const QByteArray bytes = ruleFileDocument(f).toByteArray();
    EXPECT_EQ(bytes.count("<row "), GetParam().rules);
}

INSTANTIATE_TEST_SUITE_P(Keys, RuleList, ::testing::ValuesIn(kRuleListCases), test::CaseName());

struct EnableCheckCase {
    const char* name;
    RuleEnableRule rule;
    const char* enable;
    bool checked;
};

const EnableCheckCase kEnableCheckCases[] = {
    {"Y", RuleEnableRule::TrimmedY, "Y", true},
    {"BlanksAroundY", RuleEnableRule::TrimmedY, " Y ", true},
    {"LowerY", RuleEnableRule::TrimmedY, "y", false},
    {"N", RuleEnableRule::TrimmedY, "N", false},
    {"Blank", RuleEnableRule::TrimmedY, "", false},
    {"AnyCaseLowerY", RuleEnableRule::TrimmedAnyCaseY, " y ", true},
    {"AnyCaseN", RuleEnableRule::TrimmedAnyCaseY, "n", false},
    {"AnyCaseYes", RuleEnableRule::TrimmedAnyCaseY, "YES", false},
};

class EnableCheck : public ::testing::TestWithParam<EnableCheckCase> {};

TEST_P(EnableCheck, DisabledRulesAreNeverChecked)
{
    RuleFileSpec spec = smallSpec();
    spec.tables[0].enableRule = GetParam().rule;
    RuleFile f(spec);
    setRow(f.tables[0], 1, {"Y", "a", "1", "N", ""});
    setRow(f.tables[0], 2, {QString::fromUtf8(GetParam().enable), "b", "not a number", "N", ""});
    const RuleFault fault = Controllo_dati(f);
    EXPECT_EQ(!fault.ok(), GetParam().checked);
    if (!fault.ok()) {
        EXPECT_EQ(fault.row, 2);
        EXPECT_EQ(fault.text, 7001);
    }
}

INSTANTIATE_TEST_SUITE_P(Texts, EnableCheck, ::testing::ValuesIn(kEnableCheckCases),
                         test::CaseName());

struct IntTextCase {
    const char* name;
    const char* value;
    bool passes;
};

const IntTextCase kIntTextCases[] = {
    {"Decimal", "7", true},       {"Hex0x", "0x9", true},         {"HexDollar", "$9", true},
    {"LeadingBlank", " 7", true}, {"TrailingBlank", "7 ", false}, {"Empty", "", false},
    {"Negative", "-1", false},    {"AboveMax", "10", false},      {"Huge", "99999999999", false},
};

class IntText : public ::testing::TestWithParam<IntTextCase> {};

TEST_P(IntText, NumbersUseTheIntegerParse)
{
    RuleFile f(smallSpec());
    setRow(f.tables[0], 1, {"Y", "a", QString::fromUtf8(GetParam().value), "N", ""});
    EXPECT_EQ(Controllo_dati(f).ok(), GetParam().passes);
}

INSTANTIATE_TEST_SUITE_P(Texts, IntText, ::testing::ValuesIn(kIntTextCases), test::CaseName());

TEST(RuleTable, FirstFaultStopsTheCheckAcrossTables)
{
    RuleFile f(smallSpec());
    setRow(f.tables[0], 1, {"Y", "a", "1", "N", ""});
    setRow(f.tables[0], 3, {"Y", "c", "x", "N", ""});  // below the list: not checked
    setRow(f.tables[1], 1, {"Y", "a", "1", "N", ""});
    setRow(f.tables[1], 2, {"Y", "b", "11", "N", ""});
    const RuleFault fault = Controllo_dati(f);
    EXPECT_EQ(fault.table, 1);
    EXPECT_EQ(fault.row, 2);
    EXPECT_FALSE(fault.hasBound);
}

// A table whose messages name it has its own "Error row " text; a row check may end its
// message with a text of its own (a value it names, not a language text).
TEST(RuleTable, TableOwnRowPrefixAndACheckTextEndTheMessage)
{
    RuleFileSpec spec = smallSpec();
    spec.tables[0].checks[0].text = 6394;
    spec.errorRowText = 6395;
    spec.tables[1].errorRowText = 6396;
    spec.tables[1].checks.append(rulespec::rowCheck(
        [](const RuleTable& t, int row) -> std::optional<RuleFault> {
            if (t.text(u"Key", row) != QLatin1String("bad"))
                return std::nullopt;
            RuleFault f = rulespec::fault(6397);
            f.afterString = QStringLiteral("Real");
            return f;
        },
        {"Key"}));
    ProgramState lang;
    fillLanguage(lang);
    lang.Language_Table[6394] = QStringLiteral(" value");
    lang.Language_Table[6395] = QStringLiteral("File row ");
    lang.Language_Table[6396] = QStringLiteral("Others row ");
    lang.Language_Table[6397] = QStringLiteral(" expected ");
    RuleFile f(spec);
    setRow(f.tables[0], 1, {"Y", "a", "10", "N", ""});
    EXPECT_EQ(ruleFaultMessage(Controllo_dati(f), f.spec, lang),
              QStringLiteral("File row 1 value"));
    setRow(f.tables[0], 1, {"Y", "a", "1", "N", ""});
    setRow(f.tables[1], 1, {"Y", "a", "1", "N", ""});
    setRow(f.tables[1], 2, {"Y", "bad", "1", "N", ""});
    EXPECT_EQ(ruleFaultMessage(Controllo_dati(f), f.spec, lang),
              QStringLiteral("Others row 2 expected Real"));
}

class RuleFileIo : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        fillLanguage(m_lang);
    }
    QString path(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }
    QString write(const char* name, const QByteArray& bytes) const
    {
        const QString p = path(name);
        EXPECT_TRUE(test::writeFile(p, bytes));
        return p;
    }

    QTemporaryDir m_dir;
    ProgramState m_lang;
};

TEST_F(RuleFileIo, WrittenFileReadsBackCellForCellHiddenColumnAndBlanksIncluded)
{
    RuleFile f(smallSpec());
    setRow(f.tables[0], 1, {"Y", " a ", "1", "N", "hidden 1"});
    setRow(f.tables[0], 2, {"N", "b", "x\ty", "Y", ""});
    setRow(f.tables[1], 1, {"", "&<\">", "", "", "\r\n"});
    const QString p = path("rules.xml");
    ASSERT_TRUE(saveRuleFile(f, p).ok);

    const QByteArray bytes = test::readFile(p);
    EXPECT_TRUE(
        bytes.startsWith("<Root>\n  <Items>\n    <row Enable=\"Y\" Key=\" a \" Value=\"1\" "
                         "Flag=\"N\" Hidden=\"hidden 1\"/>"))
        << bytes.constData();
    EXPECT_TRUE(bytes.endsWith("</Root>\n<!--SW_VERSION = 1.002-->\n")) << bytes.constData();

    RuleFile back(smallSpec());
    const RuleLoadReport report = loadRuleFile(back, p);
    EXPECT_TRUE(report.missingValues.isEmpty());
    EXPECT_FALSE(report.askBeforeOverwrite());
    for (std::size_t t = 0; t < f.tables.size(); ++t)
        for (int r = 0; r < f.tables[t].rowCount(); ++r)
            EXPECT_EQ(rowOf(back.tables[t], r), rowOf(f.tables[t], r)) << t << "/" << r;
}

TEST_F(RuleFileIo, MissingValuesTakeDefaultsForTheWholeTableAndAreReported)
{
    const QString p = write("rules.xml",
                            "<Root><Items>"
                            "<row Enable=\"N\" Key=\"a\" Value=\"1\"/>"
                            "<row Key=\"b\" Flag=\"Y\" Value=\"2\" Hidden=\"x\"/>"
                            "<other Key=\"c\"/>"
                            "</Items><Others/></Root>");
    RuleFile f(smallSpec());
    const RuleLoadReport report = loadRuleFile(f, p);
    const RuleTable& t = f.tables[0];
    // Row 1 lacks the guarded Flag and Hidden: their defaults, silently.
    EXPECT_EQ(rowOf(t, 1), QStringList({"N", "a", "1", "N", "h"}));
    // Row 2 lacks the guarded Enable: "Y".
    EXPECT_EQ(rowOf(t, 2), QStringList({"Y", "b", "2", "Y", "x"}));
    // Row 3, whatever its element name, lacks the required Value: empty, and reported; the
    // loading goes on instead of stopping half way.
    EXPECT_EQ(rowOf(t, 3), QStringList({"Y", "c", "", "N", "h"}));
    ASSERT_EQ(report.missingValues.size(), 1);
    EXPECT_EQ(report.missingValues[0].row, 3);
    EXPECT_EQ(report.missingValues[0].attribute, QStringLiteral("Value"));
    // Saving would write the default in place of the missing value: OK asks first.
    EXPECT_TRUE(report.askBeforeOverwrite());
    EXPECT_EQ(joined(ruleLoadMessages(report, f.spec, m_lang)),
              "Warning!!! Values missing in the file were set to their defaults: 1. First at "
              "row 3 (Items, Value)");
}

TEST_F(RuleFileIo, RowsBeyondTheTableAreCountedNotDroppedSilently)
{
    QByteArray items;
    for (int i = 0; i < 8; ++i)
        items += "<row Enable=\"Y\" Key=\"k" + QByteArray::number(i) + "\" Value=\"1\"/>";
    const QString p = write("rules.xml", "<Root><Items>" + items + "</Items><Others>" + items
                                             + "</Others></Root>");
    RuleFile f(smallSpec());
    const RuleLoadReport report = loadRuleFile(f, p);
    EXPECT_EQ(report.rowsNotShown, QList<int>({3, 6}));
    EXPECT_TRUE(report.askBeforeOverwrite());
    EXPECT_EQ(f.tables[0].cell(2, 5), QStringLiteral("k4"));
    EXPECT_EQ(f.tables[1].cell(2, 2), QStringLiteral("k1"));
    EXPECT_EQ(ruleLoadMessages(report, f.spec, m_lang).size(), 2);
}

TEST_F(RuleFileIo, RowHookSeesEachFileRowWithItsElementAndNoEmptyRow)
{
    // An older attribute "Old" stands for Value and Flag together; "v" in Value is made "0".
    RuleFileSpec spec = smallSpec();
    spec.tables[0].rowLoaded = [](RuleTable& t, int row, const XmlElement& e) {
        if (const std::optional<QString> old = e.attribute(u"Old")) {
            t.setCell(3, row, *old);
            t.setCell(4, row, QStringLiteral("Y"));
        }
        if (t.cell(3, row) == QLatin1String("v"))
            t.setCell(3, row, QStringLiteral("0"));
    };
    const QString p = write("rules.xml",
                            "<Root><Items>"
                            "<row Key=\"a\" Value=\"v\"/>"
                            "<row Key=\"b\" Old=\"5\" Value=\"1\" Flag=\"N\"/>"
                            "</Items><Others/></Root>");
    RuleFile f(spec);
    loadRuleFile(f, p);
    const RuleTable& t = f.tables[0];
    EXPECT_EQ(rowOf(t, 1), QStringList({"Y", "a", "0", "N", "h"}));
    EXPECT_EQ(rowOf(t, 2), QStringList({"Y", "b", "5", "Y", "h"}));
    // Rows the file does not give keep the opening state.
    EXPECT_EQ(rowOf(t, 3), QStringList({"Y", "", "", "", ""}));
}

struct BadFileCase {
    const char* name;
    const char* bytes;  // nullptr: a folder stands at the path
    const char* messageStart;
};

const BadFileCase kBadFileCases[] = {
    {"Malformed", "<Root><Items><row Key=\"a\"></Items></Root>",
     "Error!!! The rules could not be read and the tables are shown empty: "},
    {"NotXml", "just text", "Error!!! The rules could not be read"},
    {"Unreadable", nullptr, "Error!!! The rules could not be read"},
};

class BadFile : public RuleFileIo, public ::testing::WithParamInterface<BadFileCase> {};

TEST_P(BadFile, ReportedByNameWithEmptyTablesAndAQuestionBeforeSaving)
{
    QString p = path("rules.xml");
    if (GetParam().bytes)
        write("rules.xml", GetParam().bytes);
    else
        ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("rules.xml")));
    QStringList buffer;
    RuleEditorModel editor(p, buffer);
    const RuleLoadReport report = editor.open(smallSpec());
    EXPECT_FALSE(report.fileError.isEmpty());
    EXPECT_TRUE(report.askBeforeOverwrite());
    EXPECT_EQ(editor.file().tables[0].ruleCount(), 0);
    const QStringList messages = ruleLoadMessages(report, editor.file().spec, m_lang);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith(QString::fromUtf8(GetParam().messageStart)))
        << messages[0].toStdString();
    EXPECT_TRUE(messages[0].contains(QDir::toNativeSeparators(p))) << messages[0].toStdString();
    EXPECT_FALSE(editor.saveWarnings(m_lang).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Files, BadFile, ::testing::ValuesIn(kBadFileCases), test::CaseName());

TEST_F(RuleFileIo, MissingTableIsReportedAndTheOtherTableStillLoads)
{
    const QString p = write(
        "rules.xml", "<Root><Others><row Enable=\"Y\" Key=\"a\" Value=\"1\"/></Others></Root>");
    RuleFile f(smallSpec());
    const RuleLoadReport report = loadRuleFile(f, p);
    EXPECT_EQ(report.missingTables, QStringList({"Items"}));
    EXPECT_TRUE(report.askBeforeOverwrite());
    EXPECT_EQ(f.tables[1].cell(2, 1), QStringLiteral("a"));
    EXPECT_EQ(joined(ruleLoadMessages(report, f.spec, m_lang)),
              "Warning!!! The file has no table Items");
}

TEST_F(RuleFileIo, MissingFileGivesClearedTablesWithoutAnyMessage)
{
    RuleFile f(smallSpec());
    f.tables[0].setCell(2, 1, QStringLiteral("left over"));
    const RuleLoadReport report = loadRuleFile(f, path("none.xml"));
    EXPECT_EQ(report.status, ProjectXmlLoad::Status::Missing);
    EXPECT_EQ(f.tables[0].cell(2, 1), QString());
    EXPECT_TRUE(ruleLoadMessages(report, f.spec, m_lang).isEmpty());
}

TEST_F(RuleFileIo, FailedSaveNamesTheFile)
{
    RuleFile f(smallSpec());
    f.tables[0].setCell(2, 1, QStringLiteral("a"));
    // A folder where the file should be: no rename can replace it.
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("taken.xml")));
    for (const QString& p : {path("missing/rules.xml"), path("taken.xml")}) {
        const FileResult result = saveRuleFile(f, p);
        EXPECT_FALSE(result.ok);
        EXPECT_TRUE(result.message.contains(QDir::toNativeSeparators(p)))
            << result.message.toStdString();
    }
}

TEST_F(RuleFileIo, RowsBelowABlankKeyAskBeforeSaving)
{
    QStringList buffer;
    RuleEditorModel editor(path("none.xml"), buffer);
    editor.open(smallSpec());
    EXPECT_TRUE(editor.saveWarnings(m_lang).isEmpty());
    RuleTable& t = editor.file().tables[0];
    setRow(t, 1, {"Y", "a", "1", "N", ""});
    setRow(t, 3, {"Y", "c", "1", "N", ""});
    EXPECT_EQ(joined(editor.saveWarnings(m_lang)),
              "Warning!!! Rows after the first row with an empty key cell are not saved: 1 "
              "(Items)");
}

// ---- Row tools ------------------------------------------------------------------------------

class RowTools : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (int r = 1; r <= 5; ++r)
            setRow(table(), r,
                   {"Y", "k" + QString::number(r), QString::number(r), "N",
                    "h" + QString::number(r)});
    }
    RuleTable& table() { return m_file.tables[0]; }
    QStringList keys()
    {
        QStringList out;
        for (int r = 1; r <= 5; ++r)
            out.append(table().cell(2, r));
        return out;
    }

    RuleFile m_file{smallSpec()};
};

TEST_F(RowTools, DeleteMovesRowsUpAndEmptiesTheLastRowEnableIncluded)
{
    Delete_Row_Grid(2, table());
    EXPECT_EQ(keys(), QStringList({"k1", "k3", "k4", "k5", ""}));
    EXPECT_EQ(table().cell(5, 2), QStringLiteral("h3"));  // hidden column moves too
    EXPECT_EQ(rowOf(table(), 5), QStringList({"", "", "", "", ""}));
    EXPECT_EQ(table().cell(0, 2), QStringLiteral("2"));  // numbers stay
}

TEST_F(RowTools, DeleteEnablesTheEmptiedLastRowOnlyWhereTheTableAsks)
{
    RuleFileSpec spec = smallSpec();
    spec.tables[0].enableEmptiedRow = true;
    spec.tables[1].enableEmptiedRow = true;
    spec.tables[1].enableAttribute.clear();
    RuleFile file(spec);
    for (RuleTable& t : file.tables)
        for (int r = 1; r < t.rowCount(); ++r)
            t.setCell(2, r, QStringLiteral("k") + QString::number(r));
    RuleTable& enabled = file.tables[0];
    setRow(enabled, 2, {"N", "k2", "2", "N", "h2"});
    Delete_Row_Grid(1, enabled);
    EXPECT_EQ(rowOf(enabled, 1), QStringList({"N", "k2", "2", "N", "h2"}));
    EXPECT_EQ(rowOf(enabled, 5), QStringList({"Y", "", "", "", ""}));
    // Without an Enable column the emptied row stays wholly empty.
    RuleTable& plain = file.tables[1];
    ASSERT_LT(plain.spec().enableColumn, 0);
    Delete_Row_Grid(1, plain);
    for (int c = 1; c < plain.columnCount(); ++c)
        EXPECT_EQ(plain.cell(c, plain.rowCount() - 1), QString()) << c;
}

TEST_F(RowTools, DeleteOfTheLastRowOnlyEmptiesIt)
{
    Delete_Row_Grid(5, table());
    EXPECT_EQ(keys(), QStringList({"k1", "k2", "k3", "k4", ""}));
}

TEST_F(RowTools, InsertLosesTheLastRowAndEnablesTheNewOne)
{
    Insert_Row_Grid(2, table(), true);
    EXPECT_EQ(keys(), QStringList({"k1", "", "k2", "k3", "k4"}));
    EXPECT_EQ(rowOf(table(), 2), QStringList({"Y", "", "", "", ""}));
    EXPECT_EQ(table().cell(5, 3), QStringLiteral("h2"));
    Insert_Row_Grid(5, table(), false);
    EXPECT_EQ(rowOf(table(), 5), QStringList({"", "", "", "", ""}));
}

// Read-only flags through the row tools, row 2 locked first: they move with their rows, and
// a table that locks its emptied row keeps the deleted-into last row locked until an insert
// above moves it out.
struct LockCase {
    std::string name;
    bool lockEmptiedRow;
    std::function<void(RuleTable&)> tools;
    QList<int> lockedRows;
};

const LockCase kLockCases[] = {
    {"DeleteAboveMovesTheFlagUp", false, [](RuleTable& t) { Delete_Row_Grid(1, t); }, {1}},
    {"DeleteOfTheLockedRowFreesItsPlace", false, [](RuleTable& t) { Delete_Row_Grid(2, t); }, {}},
    {"InsertAboveMovesTheFlagDown", false, [](RuleTable& t) { Insert_Row_Grid(1, t, true); }, {3}},
    {"DeleteLocksTheEmptiedLastRow", true, [](RuleTable& t) { Delete_Row_Grid(1, t); }, {1, 5}},
    {"InsertAboveUnlocksTheLastRowAgain",
     true,
     [](RuleTable& t) {
         Delete_Row_Grid(3, t);
         Insert_Row_Grid(3, t, true);
     },
     {2}},
    {"InsertOnTheLockedRowMakesItEditable",
     true,
     [](RuleTable& t) { Insert_Row_Grid(2, t, true); },
     {3}},
};

class RowLocks : public ::testing::TestWithParam<LockCase> {};

TEST_P(RowLocks, FlagsFollowTheirRows)
{
    RuleFileSpec spec = smallSpec();
    spec.tables[0].lockEmptiedRow = GetParam().lockEmptiedRow;
    RuleFile file(spec);
    RuleTable& t = file.tables[0];
    t.setRowReadOnly(2, true);
    GetParam().tools(t);
    QList<int> locked;
    for (int r = 1; r < t.rowCount(); ++r) {
        for (int c = 2; c < t.columnCount(); ++c)
            EXPECT_EQ(t.readOnly(c, r), t.readOnly(1, r)) << "row " << r << " column " << c;
        if (t.readOnly(1, r))
            locked.append(r);
    }
    EXPECT_EQ(locked, GetParam().lockedRows);
    EXPECT_FALSE(t.readOnly(0, 1));
    t.clear();
    for (int r = 1; r < t.rowCount(); ++r)
        EXPECT_FALSE(t.readOnly(1, r)) << r;
}

INSTANTIATE_TEST_SUITE_P(Cases, RowLocks, ::testing::ValuesIn(kLockCases), test::CaseName());

TEST_F(RowTools, EditorAsksBeforeInsertPushesARuleOut)
{
    QStringList buffer;
    QTemporaryDir dir;
    RuleEditorModel editor(dir.filePath(QStringLiteral("none.xml")), buffer);
    editor.open(smallSpec());
    RuleTable& t = editor.file().tables[0];
    int asked = 0;
    auto no = [&](int text) {
        EXPECT_EQ(text, kTextInsertLosesRow);
        ++asked;
        return false;
    };
    // Free last row (a check box alone is no content): no question.
    t.setCell(4, 5, QStringLiteral("Y"));
    EXPECT_TRUE(editor.insertRow(0, 1, no));
    EXPECT_EQ(asked, 0);
    t.setCell(2, 5, QStringLiteral("last"));
    EXPECT_FALSE(editor.insertRow(0, 1, no));
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(t.cell(2, 5), QStringLiteral("last"));
    EXPECT_TRUE(editor.insertRow(0, 1, [](int) { return true; }));
    EXPECT_EQ(t.cell(2, 5), QString());
}

struct PasteCase {
    const char* name;
    bool copied;
    int bufferSize;      // texts in the buffer
    QStringList target;  // row 2 before the paste
    bool answer;         // to question 1100
    int expectedError;
    bool expectedAsk;
    bool expectedPasted;
};

const QStringList kFreeRow = {"Y", "", "", "N", ""};
const QStringList kUsedRow = {"Y", "k", "", "N", ""};

const PasteCase kPasteCases[] = {
    {"NoCopyRefusedBeforeWrongCount", false, 3, kFreeRow, true, kTextPasteNoCopy, false, false},
    {"WrongCount", true, 4, kFreeRow, true, kTextPasteWrongRow, false, false},
    {"FreeRowWithoutQuestion", true, 5, kFreeRow, false, 0, false, true},
    {"BlanksOnlyRowIsFree", true, 5, {"Y", "  ", " ", "N", "\t"}, false, 0, false, true},
    {"CheckBoxesOnlyRowIsFree", true, 5, {"N", "", "", "Y", ""}, false, 0, false, true},
    {"UsedRowNo", true, 5, kUsedRow, false, 0, true, false},
    {"UsedRowYes", true, 5, kUsedRow, true, 0, true, true},
    {"HiddenColumnCountsAsUse", true, 5, {"Y", "", "", "N", "h"}, false, 0, true, false},
};

class Paste : public ::testing::TestWithParam<PasteCase> {};

TEST_P(Paste, RefusesAsksOrWrites)
{
    const PasteCase& c = GetParam();
    RuleFile f(smallSpec());
    RuleTable& t = f.tables[0];
    setRow(t, 2, c.target);
    QStringList buffer;
    for (int i = 0; i < c.bufferSize; ++i)
        buffer.append("b" + QString::number(i));
    bool asked = false;
    const PasteResult r = Paste_Row_Grid(t, 2, c.copied, buffer, [&](int text) {
        EXPECT_EQ(text, kTextPasteOverwrite);
        asked = true;
        return c.answer;
    });
    EXPECT_EQ(r.errorText, c.expectedError);
    EXPECT_EQ(asked, c.expectedAsk);
    EXPECT_EQ(r.pasted, c.expectedPasted);
    EXPECT_EQ(rowOf(t, 2), c.expectedPasted ? buffer : c.target);
}

INSTANTIATE_TEST_SUITE_P(Cases, Paste, ::testing::ValuesIn(kPasteCases), test::CaseName());

TEST(RuleEditorModel, CopyFlagsBelongToOneGridAndResetAtEachOpening)
{
    QTemporaryDir dir;
    QStringList buffer;  // shared by every editor the caller opens
    RuleEditorModel editor(dir.filePath(QStringLiteral("none.xml")), buffer);
    editor.open(smallSpec());
    setRow(editor.file().tables[0], 1, {"Y", "a", "1", "N", "h"});
    editor.copyRow(0, 1);
    EXPECT_EQ(buffer, QStringList({"Y", "a", "1", "N", "h"}));
    EXPECT_TRUE(editor.copied(0));
    // The other grid may not paste the first grid's row.
    EXPECT_EQ(editor.pasteRow(1, 1, nullptr).errorText, kTextPasteNoCopy);
    EXPECT_TRUE(editor.pasteRow(0, 3, nullptr).pasted);
    EXPECT_EQ(editor.file().tables[0].cell(2, 3), QStringLiteral("a"));

    editor.open(smallSpec());
    EXPECT_FALSE(editor.copied(0));
    EXPECT_EQ(buffer.size(), 5);  // the buffer keeps its row
    EXPECT_EQ(editor.pasteRow(0, 1, nullptr).errorText, kTextPasteNoCopy);
}

TEST_F(RowTools, DeleteQuestionNamesTheGridRow)
{
    ProgramState lang;
    Fill_Default_Language(lang);
    QTemporaryDir dir;
    QStringList buffer;
    RuleFileSpec spec = smallSpec();
    spec.deleteRowText = 1249;
    RuleEditorModel editor(dir.filePath(QStringLiteral("none.xml")), buffer);
    editor.open(spec);
    EXPECT_EQ(editor.deleteQuestion(4, lang),
              QStringLiteral("Are you sure to delete the Row number 4"));
    // A question that says where the number goes takes it there, once.
    lang.Language_Table[1249] = QStringLiteral("Delete row %d (of %d)?");
    EXPECT_EQ(editor.deleteQuestion(12, lang), QStringLiteral("Delete row 12 (of %d)?"));
}

struct EnterCase {
    const char* name;
    GridCell from;
    std::optional<GridCell> to;
};

// A grid of 4 shown columns (fixed one included) and 6 rows (header included).
const EnterCase kEnterCases[] = {
    {"NextColumn", {1, 2}, GridCell{2, 2}},
    {"LastColumnToNextRow", {3, 2}, GridCell{1, 3}},
    {"LastCellToFirstCell", {3, 5}, GridCell{1, 1}},
    {"FixedColumnStays", {0, 2}, std::nullopt},
    {"HeaderRowStays", {2, 0}, std::nullopt},
};

class Enter : public ::testing::TestWithParam<EnterCase> {};

TEST_P(Enter, MovesToTheNextCell)
{
    EXPECT_EQ(nextCellOnEnter(GetParam().from, 4, 6), GetParam().to);
}

INSTANTIATE_TEST_SUITE_P(Cells, Enter, ::testing::ValuesIn(kEnterCases), test::CaseName());

}  // namespace
}  // namespace zfw
