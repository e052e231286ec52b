// What the frame offers every editor, on small descriptors made for the tests: descriptors
// checked when built, one table or three, rows under the root, no Enable column, keys as they
// stand or none, the walk variants, editor and whole-file checks with their message forms,
// the load steps, growing tables and per-row objects.

#include "ruleedit/core/URuleRowTools.h"
#include "ruleedit/core/URuleSpecBuild.h"
#include "ruleedit/core/URuleTable.h"
#include "support/CaseName.h"
#include "support/Files.h"

#include "common/TextUtil.h"
#include "common/UComon.h"
#include "common/ULanguage.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zfw {
namespace {

using namespace rulespec;

// Texts of the fixture's language table.
constexpr int kErrorRow = 6380;  // "Error row "
constexpr int kTooBig = 6381;    // " too big, max "
constexpr int kUnit = 6382;      // " bytes"
constexpr int kTotal = 6383;     // "Too many bytes, the max number is "
constexpr int kFormat = 6384;    // "Row %d: %d is not below %d"
constexpr int kBadCode = 6385;   // " bad code"

const ProgramState& language()
{
    static const ProgramState lang = [] {
        ProgramState s;
        Fill_Default_Language(s);
        s.Language_Table[kErrorRow] = QStringLiteral("Error row ");
        s.Language_Table[kTooBig] = QStringLiteral(" too big, max ");
        s.Language_Table[kUnit] = QStringLiteral(" bytes");
        s.Language_Table[kTotal] = QStringLiteral("Too many bytes, the max number is ");
        s.Language_Table[kFormat] = QStringLiteral("Row %d: %d is not below %d");
        s.Language_Table[kBadCode] = QStringLiteral(" bad code");
        return s;
    }();
    return lang;
}

RuleTableSpec table(const char* element, int rows, QList<RuleColumn> dataColumns)
{
    RuleTableSpec t;
    t.element = QString::fromLatin1(element);
    t.rowCount = rows + 1;
    t.columns = {numberColumn(0)};
    t.columns += dataColumns;
    return t;
}

RuleFileSpec fileOf(QList<RuleTableSpec> tables, const char* version = "1.000")
{
    RuleFileSpec f;
    f.rootElement = QStringLiteral("Root");
    f.version = QString::fromLatin1(version);
    f.errorRowText = kErrorRow;
    f.tables = std::move(tables);
    return f;
}

void setRow(RuleTable& t, int row, const QStringList& cells)
{
    for (int c = 0; c < cells.size(); ++c)
        t.setCell(c + 1, row, cells[c]);
}

QStringList rowOf(const RuleTable& t, int row)
{
    QStringList out;
    for (int c = 1; c < t.columnCount(); ++c)
        out.append(t.cell(c, row));
    return out;
}

QString message(const RuleFile& f)
{
    return ruleFaultMessage(Controllo_dati(f), f.spec, language());
}

// ---- Descriptors are checked when built ------------------------------------------------------

struct BadDescriptorCase {
    const char* name;
    std::function<void(RuleFileSpec&)> spoil;
    const char* named;  // what the error must name
};

RuleFileSpec soundDescriptor()
{
    RuleTableSpec t = table("T", 3,
                            {enableColumn(0), column(u"Key", 0), column(u"Port", 0),
                             column(u"Flag", 0, RuleColumnKind::CheckBox)});
    t.keyAttribute = QStringLiteral("Key");
    RuleCheck port = range(u"Port", 1, 0, 9);
    port.onlyWhenYesIn = QStringLiteral("Flag");
    t.checks = {port};
    return fileOf({t});
}

const BadDescriptorCase kBadDescriptors[] = {
    {"CheckOfAMissingColumn",
     [](RuleFileSpec& f) { f.tables[0].checks += range(u"Prot", 1, 0, 9); }, "Prot"},
    {"KeyOfAMissingColumn", [](RuleFileSpec& f) { f.tables[0].keyAttribute = "Kye"; }, "Kye"},
    {"EnableOfAMissingColumn", [](RuleFileSpec& f) { f.tables[0].enableAttribute = "On"; }, "On"},
    {"ConditionOfAMissingColumn",
     [](RuleFileSpec& f) { f.tables[0].checks[0].onlyWhenYesIn = "Flags"; }, "Flags"},
    {"RowCheckReadingAMissingColumn",
     [](RuleFileSpec& f) {
         f.tables[0].checks += rowCheck([](const RuleTable&, int) { return std::nullopt; },
                                        {"Key", "Size"});
     },
     "Size"},
    {"AttributeNamedTwice", [](RuleFileSpec& f) { f.tables[0].columns += column(u"Key", 0); },
     "Key"},
    {"RowsUnderTheRootWithTwoTables",
     [](RuleFileSpec& f) {
         f.tables += f.tables[0];
         f.tables[0].element.clear();
     },
     "root"},
};

class BadDescriptor : public ::testing::TestWithParam<BadDescriptorCase> {};

TEST_P(BadDescriptor, FailsWhenBuiltNamingWhatIsWrong)
{
    RuleFileSpec sound = soundDescriptor();
    EXPECT_EQ(resolveRuleSpec(sound), QString());
    RuleFileSpec f = soundDescriptor();
    GetParam().spoil(f);
    const QString error = resolveRuleSpec(f);
    EXPECT_TRUE(error.contains(QLatin1String(GetParam().named))) << error.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Cases, BadDescriptor, ::testing::ValuesIn(kBadDescriptors),
                         test::CaseName());

TEST(RuleDescriptor, ChecksFollowTheirColumnWhenAColumnIsInserted)
{
    RuleFileSpec f = soundDescriptor();
    f.tables[0].columns.insert(2, column(u"New", 0));
    ASSERT_EQ(resolveRuleSpec(f), QString());
    EXPECT_EQ(f.tables[0].keyColumn, 3);
    EXPECT_EQ(f.tables[0].checks[0].column, 4);
    EXPECT_EQ(f.tables[0].checks[0].onlyWhenYesColumn, 5);
}

// ---- Files -------------------------------------------------------------------------------------

class RuleFrameFile : public ::testing::Test {
protected:
    QString path(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }
    QTemporaryDir m_dir;
};

// One table, rows directly under the root named "Row", no Enable column, no key (every row
// is written), an opening value "0", no version comment.
RuleFileSpec rootRowsSpec()
{
    RuleColumn value = column(u"Value", 0);
    value.openingText = QStringLiteral("0");
    RuleTableSpec t = table("", 3, {value});
    t.rowElement = QStringLiteral("Row");
    t.enableAttribute.clear();
    t.keyTest = RuleKeyTest::None;
    return fileOf({t}, "");
}

TEST_F(RuleFrameFile, OneTableUnderTheRootWithoutKeyEnableOrVersion)
{
    RuleFile f(rootRowsSpec());
    EXPECT_EQ(rowOf(f.tables[0], 1), QStringList({"0"}));
    f.tables[0].setCell(1, 2, QStringLiteral("5"));
    const QByteArray expected =
        "<Root>\n  <Row Value=\"0\"/>\n  <Row Value=\"5\"/>\n"
        "  <Row Value=\"0\"/>\n</Root>\n";
    EXPECT_EQ(ruleFileBytes(f), expected);
    ASSERT_TRUE(saveRuleFile(f, path("dmx.xml")).ok);
    EXPECT_EQ(test::readFile(path("dmx.xml")), expected);

    RuleFile back(rootRowsSpec());
    const RuleLoadReport report = loadRuleFile(back, path("dmx.xml"));
    EXPECT_FALSE(report.askBeforeOverwrite());
    EXPECT_EQ(rowOf(back.tables[0], 2), QStringList({"5"}));
}

TEST_F(RuleFrameFile, ThreeTablesAreWrittenReadAndCheckedInTabOrder)
{
    auto withKey = [](const char* element) {
        RuleTableSpec t = table(element, 2, {enableColumn(0), column(u"Key", 0)});
        t.keyAttribute = QStringLiteral("Key");
        t.checks = {range(u"Key", kBadCode, 0, 9)};
        return t;
    };
    RuleFile f(fileOf({withKey("A"), withKey("B"), withKey("C")}));
    setRow(f.tables[0], 1, {"Y", "1"});
    setRow(f.tables[1], 1, {"Y", "2"});
    setRow(f.tables[2], 1, {"N", "x"});
    setRow(f.tables[2], 2, {"Y", "12"});
    EXPECT_EQ(Controllo_dati(f).table, 2);
    EXPECT_EQ(message(f), QStringLiteral("Error row 2 bad code"));
    ASSERT_TRUE(saveRuleFile(f, path("three.xml")).ok);
    EXPECT_EQ(test::readFile(path("three.xml")),
              "<Root>\n  <A>\n    <row Enable=\"Y\" Key=\"1\"/>\n  </A>\n  <B>\n"
              "    <row Enable=\"Y\" Key=\"2\"/>\n  </B>\n  <C>\n"
              "    <row Enable=\"N\" Key=\"x\"/>\n    <row Enable=\"Y\" Key=\"12\"/>\n  </C>\n"
              "</Root>\n<!--SW_VERSION = 1.000-->\n");
    RuleFile back(f.spec);
    loadRuleFile(back, path("three.xml"));
    for (int t = 0; t < 3; ++t)
        for (int r = 1; r <= 2; ++r)
            EXPECT_EQ(rowOf(back.tables[std::size_t(t)], r), rowOf(f.tables[std::size_t(t)], r));
}

// ---- Enable and key --------------------------------------------------------------------------

TEST(RuleFrameRows, WithoutAnEnableColumnEveryListedRowIsCheckedAndInsertLeavesTheRowEmpty)
{
    RuleTableSpec t = table("T", 4, {column(u"Key", 0), column(u"Value", 0)});
    t.enableAttribute.clear();
    t.keyAttribute = QStringLiteral("Key");
    t.checks = {range(u"Value", kBadCode, 0, 9)};
    QStringList buffer;
    RuleEditorModel model(QString(), buffer);
    model.open(fileOf({t}));
    RuleTable& table = model.file().tables[0];
    EXPECT_EQ(rowOf(table, 1), QStringList({"", ""}));
    setRow(table, 1, {"a", "1"});
    setRow(table, 2, {"b", "10"});
    EXPECT_EQ(Controllo_dati(model.file()).row, 2);
    ASSERT_TRUE(model.insertRow(0, 1, {}));
    EXPECT_EQ(rowOf(table, 1), QStringList({"", ""}));
    EXPECT_EQ(rowOf(table, 2), QStringList({"a", "1"}));
}

struct KeyCase {
    const char* name;
    RuleKeyTest test;
    QStringList keys;  // rows 1..4
    int rules;
};

const KeyCase kKeyCases[] = {
    {"TrimmedBlanksEnd", RuleKeyTest::Trimmed, {"a", "  ", "c", ""}, 1},
    {"AsItStandsBlanksAreARule", RuleKeyTest::AsItStands, {"a", "  ", "c", ""}, 3},
    {"AsItStandsEmptyEnds", RuleKeyTest::AsItStands, {"", "b", "c", "d"}, 0},
    {"NoKeyEveryRow", RuleKeyTest::None, {"", "", "", ""}, 4},
};

class RuleKey : public ::testing::TestWithParam<KeyCase> {};

TEST_P(RuleKey, DecidesWhatIsCheckedAndWritten)
{
    RuleTableSpec t = table("T", 4, {enableColumn(0), column(u"Key", 0)});
    t.keyAttribute = QStringLiteral("Key");
    t.keyTest = GetParam().test;
    // Every rule fails its check: the first fault shows whether a row was walked.
    t.checks = {notBlank(u"Key", kBadCode), range(u"Key", kBadCode, 0, 0)};
    RuleFile f(fileOf({t}));
    for (int r = 1; r <= 4; ++r)
        f.tables[0].setCell(2, r, GetParam().keys[r - 1]);
    EXPECT_EQ(f.tables[0].ruleCount(), GetParam().rules);
    EXPECT_EQ(ruleFileBytes(f).count("<row "), GetParam().rules);
    EXPECT_EQ(Controllo_dati(f).ok(), GetParam().rules == 0);
}

INSTANTIATE_TEST_SUITE_P(Keys, RuleKey, ::testing::ValuesIn(kKeyCases), test::CaseName());

struct YesCase {
    const char* name;
    RuleEnableRule rule;
    const char* text;
    bool yes;
};

const YesCase kYesCases[] = {
    {"ExactY", RuleEnableRule::Exact, "Y", true},
    {"ExactBlanks", RuleEnableRule::Exact, " Y", false},
    {"ExactLower", RuleEnableRule::Exact, "y", false},
    {"TrimmedBlanks", RuleEnableRule::TrimmedY, " Y ", true},
    {"TrimmedAnyCaseLower", RuleEnableRule::TrimmedAnyCaseY, " y", true},
    {"UpperCasedLower", RuleEnableRule::UpperCasedY, "y", true},
    {"UpperCasedBlanks", RuleEnableRule::UpperCasedY, "Y ", false},
};

class RuleYes : public ::testing::TestWithParam<YesCase> {};

TEST_P(RuleYes, AsEachEditorWordsIt)
{
    RuleTableSpec t = table("T", 1, {enableColumn(0), column(u"Key", 0)});
    t.keyAttribute = QStringLiteral("Key");
    t.enableRule = GetParam().rule;
    t.checks = {range(u"Key", kBadCode, 0, 0)};
    RuleFile f(fileOf({t}));
    setRow(f.tables[0], 1, {GetParam().text, "5"});
    EXPECT_EQ(f.tables[0].isEnabled(1), GetParam().yes);
    EXPECT_EQ(Controllo_dati(f).ok(), !GetParam().yes);
}

INSTANTIATE_TEST_SUITE_P(Texts, RuleYes, ::testing::ValuesIn(kYesCases), test::CaseName());

TEST(RuleFrameRows, WalkVariantsPassOverDisabledRowsAndEmptyKeys)
{
    RuleTableSpec t = table("T", 4, {enableColumn(0), column(u"Key", 0), column(u"Value", 0)});
    t.keyAttribute = QStringLiteral("Key");
    t.checks = {range(u"Value", kBadCode, 0, 9)};
    auto faultRow = [&](bool skipDisabled, bool pastEmpty) {
        RuleTableSpec v = t;
        v.skipDisabledBeforeKey = skipDisabled;
        v.walkPastEmptyKey = pastEmpty;
        RuleFile f(fileOf({v}));
        setRow(f.tables[0], 1, {"N", "", ""});
        setRow(f.tables[0], 2, {"Y", "b", "1"});
        setRow(f.tables[0], 3, {"Y", "", ""});
        setRow(f.tables[0], 4, {"Y", "d", "99"});
        return Controllo_dati(f).row;
    };
    EXPECT_EQ(faultRow(false, false), 0);  // the disabled row's empty key ends the walk
    EXPECT_EQ(faultRow(true, false), 0);   // passed over; row 3 ends it
    EXPECT_EQ(faultRow(true, true), 4);
}

// ---- Checks and messages ---------------------------------------------------------------------

// Bytes: Type chooses the bound of Size ("Word" up to 2, else 4); a total over the file of 10.
RuleFileSpec bytesSpec()
{
    RuleTableSpec t = table("T", 4,
                            {enableColumn(0), column(u"Type", 0), column(u"Size", 0),
                             column(u"Code", 0)});
    t.keyAttribute = QStringLiteral("Type");
    RuleCheck size = rowCheck(
        [](const RuleTable& table, int row) -> std::optional<RuleFault> {
            const qint64 bound = table.text(u"Type", row) == QLatin1String("Word") ? 2 : 4;
            const int size = strToIntDef(table.text(u"Size", row), -1);
            if (size >= 1 && size <= bound)
                return std::nullopt;
            RuleFault f = fault(kTooBig, bound);
            f.afterText = kUnit;
            return f;
        },
        {"Type", "Size"});
    t.checks = {size, hexRange(u"Code", kBadCode, 0, 0xFF),
                oneOf(u"Type", kBadCode, {"Word", "DWord"})};
    RuleFileSpec f = fileOf({t});
    f.fileChecks = {[](const RuleFile& file) -> std::optional<RuleFault> {
        int total = 0;
        const RuleTable& t = file.tables[0];
        for (int r = 1; r <= t.ruleCount(); ++r)
            if (t.isEnabled(r))
                total += strToIntDef(t.text(u"Size", r), 0);
        if (total <= 10)
            return std::nullopt;
        return fault(kTotal, 10, RuleMessageForm::NoRowPrefix);
    }};
    return f;
}

struct CheckCase {
    const char* name;
    QList<QStringList> rows;
    const char* message;  // "" when every check passes
};

const CheckCase kCheckCases[] = {
    {"BoundChosenByAnotherCell",
     {{"Y", "DWord", "4", "0a"}, {"Y", "Word", "3", "0"}},
     "Error row 2 too big, max 2 bytes"},
    {"HexRange", {{"Y", "Word", "2", "1FF"}}, "Error row 1 bad code"},
    {"HexWithPrefixRefused", {{"Y", "Word", "2", "0x1"}}, "Error row 1 bad code"},
    {"SetMembership", {{"Y", "word", "2", "1"}}, "Error row 1 bad code"},
    {"WholeFileTotalAfterTheRows",
     {{"Y", "DWord", "4", "1"}, {"Y", "DWord", "4", "1"}, {"Y", "DWord", "4", "1"}},
     "Too many bytes, the max number is 10"},
    {"DisabledRowsLeftOutOfTheTotal",
     {{"Y", "DWord", "4", "1"}, {"N", "DWord", "4", "1"}, {"Y", "DWord", "4", "1"}},
     ""},
};

class RuleFrameChecks : public ::testing::TestWithParam<CheckCase> {};

TEST_P(RuleFrameChecks, FirstFaultAndItsMessage)
{
    RuleFile f(bytesSpec());
    for (int r = 0; r < GetParam().rows.size(); ++r)
        setRow(f.tables[0], r + 1, GetParam().rows[r]);
    EXPECT_EQ(message(f), QString::fromUtf8(GetParam().message));
}

INSTANTIATE_TEST_SUITE_P(Cases, RuleFrameChecks, ::testing::ValuesIn(kCheckCases),
                         test::CaseName());

TEST(RuleFrameMessages, FormatTakesItsNumbersInOrder)
{
    RuleFault f;
    f.table = 0;
    f.text = kFormat;
    f.form = RuleMessageForm::Format;
    f.values = {3, 1500, 1440};
    EXPECT_EQ(ruleFaultMessage(f, fileOf({}), language()),
              QStringLiteral("Row 3: 1500 is not below 1440"));
}

// A pair of rows: the first after the text, the second with the text that follows it.
TEST(RuleFrameMessages, MorePiecesFollowTheBoundAndItsText)
{
    RuleFault f;
    f.table = 0;
    f.text = kTotal;
    f.form = RuleMessageForm::NoRowPrefix;
    f.hasBound = true;
    f.bound = 2;
    f.afterText = kUnit;
    f.morePieces = {{7, kBadCode}, {9, 0}};
    f.afterString = QStringLiteral("!");
    EXPECT_EQ(ruleFaultMessage(f, fileOf({}), language()),
              QStringLiteral("Too many bytes, the max number is 2 bytes7 bad code9!"));
}

// ---- Load steps --------------------------------------------------------------------------------

// Direction chooses the default of a missing Time ("0" for "Tx", "" otherwise); Level is
// normalised after the load; Port has an older name; Topic is written as "-1"; Shown is the
// window's own column, "0" at each opening.
RuleFileSpec loadSpec()
{
    RuleColumn time = column(u"Time", 0);
    time.rowDefault = [](const RuleTable& t, int row) {
        return t.text(u"Dir", row) == QLatin1String("Tx") ? QStringLiteral("0") : QString();
    };
    RuleColumn port = column(u"Port", 0);
    port.legacyAttributes = {QStringLiteral("T_Port")};
    port.guarded = false;
    RuleColumn topic = column(u"Topic", 0);
    topic.writtenText = [](const RuleTable&, int) { return QStringLiteral("-1"); };
    RuleColumn shown = column(u"Shown", 0);
    shown.stored = false;
    shown.openingText = QStringLiteral("0");
    RuleTableSpec t = table("T", 3,
                            {column(u"Dir", 0), time, column(u"Level", 0), port, topic, shown});
    t.enableAttribute.clear();
    t.keyAttribute = QStringLiteral("Dir");
    t.afterLoad = [](RuleTable& table) {
        for (int r = 1; r <= table.ruleCount(); ++r)
            if (table.text(u"Level", r).compare(u"normal", Qt::CaseInsensitive) == 0)
                table.setCell(table.spec().col(u"Level"), r, QStringLiteral("Normal"));
    };
    return fileOf({t});
}

TEST_F(RuleFrameFile, LoadStepsDefaultsNormalisingLegacyNamesAndWrittenTexts)
{
    ASSERT_TRUE(test::writeFile(path("load.xml"),
                                "<Root><T>"
                                "<row Level=\"normal\" Dir=\"Tx\" T_Port=\"7\" Topic=\"5\" "
                                "Shown=\"9\"/>"
                                "<row Dir=\"Rx\" Level=\"High\"/>"
                                "</T></Root>"));
    RuleFile f(loadSpec());
    const RuleLoadReport report = loadRuleFile(f, path("load.xml"));
    EXPECT_EQ(rowOf(f.tables[0], 1), QStringList({"Tx", "0", "Normal", "7", "5", "0"}));
    EXPECT_EQ(rowOf(f.tables[0], 2), QStringList({"Rx", "", "High", "", "", "0"}));
    // Only the unguarded Port of row 2 is reported; the legacy name counts as present.
    ASSERT_EQ(report.missingValues.size(), 1);
    EXPECT_EQ(report.missingValues[0].row, 2);
    EXPECT_EQ(report.missingValues[0].attribute, QStringLiteral("Port"));
    EXPECT_EQ(ruleFileBytes(f),
              "<Root>\n  <T>\n"
              "    <row Dir=\"Tx\" Time=\"0\" Level=\"Normal\" Port=\"7\" Topic=\"-1\"/>\n"
              "    <row Dir=\"Rx\" Time=\"\" Level=\"High\" Port=\"\" Topic=\"-1\"/>\n"
              "  </T>\n</Root>\n<!--SW_VERSION = 1.000-->\n");
}

// ---- Growing tables and row objects ------------------------------------------------------------

RuleFileSpec growingSpec()
{
    RuleTableSpec t = table("T", 2, {enableColumn(0), column(u"Key", 0)});
    t.keyAttribute = QStringLiteral("Key");
    t.maxRowCount = 5;  // four rules at most
    return fileOf({t});
}

TEST_F(RuleFrameFile, GrowingTableTakesTheFileAndInsertsUpToItsMaximum)
{
    ASSERT_TRUE(test::writeFile(path("grow.xml"),
                                "<Root><T><row Key=\"a\"/><row Key=\"b\"/>"
                                "<row Key=\"c\"/></T></Root>"));
    QStringList buffer;
    RuleEditorModel model(path("grow.xml"), buffer);
    const RuleLoadReport report = model.open(growingSpec());
    RuleTable& t = model.file().tables[0];
    EXPECT_EQ(report.totalRowsNotShown(), 0);
    EXPECT_EQ(t.rowCount(), 4);
    EXPECT_EQ(t.cell(0, 3), QStringLiteral("3"));
    int asked = 0;
    auto confirm = [&](int) { return ++asked, false; };
    ASSERT_TRUE(model.insertRow(0, 1, confirm));  // grows to the maximum
    EXPECT_EQ(t.rowCount(), 5);
    EXPECT_EQ(t.ruleCount(), 0);
    EXPECT_EQ(t.cell(2, 4), QStringLiteral("c"));
    EXPECT_FALSE(model.insertRow(0, 2, confirm));  // full: asks, and No keeps every rule
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(t.cell(2, 4), QStringLiteral("c"));
    // Each opening starts from the descriptor's row count again.
    model.open(growingSpec());
    EXPECT_EQ(model.file().tables[0].rowCount(), 4);
}

TEST(RuleFrameRows, RowObjectsMoveWithInsertAndDeleteButNeverWithCopyAndPaste)
{
    QStringList buffer;
    RuleEditorModel model(QString(), buffer);
    RuleTableSpec t = table("T", 4, {enableColumn(0), column(u"Key", 0)});
    t.keyAttribute = QStringLiteral("Key");
    model.open(fileOf({t}));
    RuleTable& table = model.file().tables[0];
    for (int r = 1; r <= 3; ++r) {
        table.setCell(2, r, QString(QChar(u'a' + r - 1)));
        table.setRowObject(r, QVariant(r * 10));
    }
    ASSERT_TRUE(model.insertRow(0, 2, {}));
    EXPECT_EQ(table.rowObject(2), QVariant());
    EXPECT_EQ(table.rowObject(3), QVariant(20));
    EXPECT_EQ(table.rowObject(4), QVariant(30));
    model.deleteRow(0, 1);
    EXPECT_EQ(table.rowObject(1), QVariant());
    EXPECT_EQ(table.rowObject(2), QVariant(20));
    EXPECT_EQ(table.rowObject(4), QVariant());

    model.copyRow(0, 2);
    ASSERT_TRUE(model.pasteRow(0, 1, {}).pasted);
    EXPECT_EQ(table.cell(2, 1), QStringLiteral("b"));
    EXPECT_EQ(table.rowObject(1), QVariant());  // the copy took the texts only
    EXPECT_EQ(table.rowObject(2), QVariant(20));
    // Each opening starts without objects.
    model.open(fileOf({t}));
    EXPECT_EQ(model.file().tables[0].rowObject(2), QVariant());
}

}  // namespace
}  // namespace zfw
