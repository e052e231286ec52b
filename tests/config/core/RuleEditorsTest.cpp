// The LoRaWAN and S7 rule tables: their checks and messages, their files, and agreement with
// the image compiler and the update step's check.

#include "config/core/LoRaWanCheck.h"
#include "config/core/ULoRaRuleSpec.h"
#include "config/core/US7RuleSpec.h"
#include "config/core/USaveBincc.h"
#include "ruleedit/core/URuleRowTools.h"
#include "support/CaseName.h"
#include "support/Files.h"

#include "common/UComon.h"
#include "common/ULanguage.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace zfw {
namespace {

using Cells = std::vector<std::pair<int, const char*>>;

void setRow(RuleTable& t, int row, const QStringList& cells)
{
    for (int c = 0; c < cells.size(); ++c)
        t.setCell(c + 1, row, cells[c]);
}

void apply(RuleTable& t, int row, const Cells& cells)
{
    for (const auto& [col, text] : cells)
        t.setCell(col, row, QString::fromUtf8(text));
}

const ProgramState& english()
{
    static const ProgramState lang = [] {
        ProgramState s;
        Fill_Default_Language(s);
        return s;
    }();
    return lang;
}

std::string message(const RuleFile& f)
{
    return ruleFaultMessage(Controllo_dati(f), f.spec, english()).toStdString();
}

// ---- LoRaWAN checks --------------------------------------------------------------------------

const QStringList kUplinkRule = {"Y", "0", "1", "N", "N", "N", "", "", ""};
const QStringList kDownlinkRule = {"Y", "0", "1", "", ""};

struct LoRaCheckCase {
    const char* name;
    int payload;
    bool fixed;
    int table;  // 0 uplink, 1 downlink
    int row;    // rows above it hold valid rules
    Cells cells;
    const char* expected;  // "" when every rule passes
};

const LoRaCheckCase kLoRaCheckCases[] = {
    {"NumByte49PassesAtPayload51", 51, true, 0, 1, {{3, "49"}}, ""},
    {"NumByte50FailsWithBound49",
     51,
     true,
     0,
     1,
     {{3, "50"}},
     "Error row 1!! [LoraWAN Uplink] Number Byte must be between 0 and 49"},
    {"NoPayloadSizeRefusesEveryRule",
     0,
     true,
     0,
     1,
     {{3, "0"}},
     "Error row 1!! [LoraWAN Uplink] Number Byte must be between 0 and -2"},
    {"StartByte1536Passes", 51, true, 0, 1, {{2, "1536"}}, ""},
    {"StartByte1537Fails",
     51,
     true,
     0,
     1,
     {{2, "1537"}},
     "Error row 1!! [LoraWAN Uplink] Start Byte must be between 0 and 1536"},
    {"StartByteBeforeNumByte",
     51,
     true,
     0,
     1,
     {{2, "-1"}, {3, "999"}},
     "Error row 1!! [LoraWAN Uplink] Start Byte must be between 0 and 1536"},
    {"TimeUncheckedWithoutOnTimer", 51, true, 0, 1, {{6, "N"}, {7, "5"}}, ""},
    {"TimeCheckedWithOnTimer",
     51,
     true,
     0,
     1,
     {{6, "Y"}, {7, "5"}},
     "Error row 1!! [LoraWAN Uplink] Time (s) must be between 30 and 86400"},
    {"OnTimerTrimmed",
     51,
     true,
     0,
     1,
     {{6, " Y "}, {7, "86401"}},
     "Error row 1!! [LoraWAN Uplink] Time (s) must be between 30 and 86400"},
    {"OnTimerAnyCase",
     51,
     true,
     0,
     1,
     {{6, "y"}, {7, "5"}},
     "Error row 1!! [LoraWAN Uplink] Time (s) must be between 30 and 86400"},
    {"TimeAtItsBounds", 51, true, 0, 1, {{6, "Y"}, {7, "30"}}, ""},
    {"HiddenFPortNeverChecked", 51, true, 0, 1, {{8, "0"}}, ""},
    {"ShownFPortZeroFails",
     51,
     false,
     0,
     1,
     {{8, "0"}},
     "Error row 1!! [LoraWAN Uplink] FPort must be between 1 and 223"},
    {"ShownFPort223Passes", 51, false, 0, 1, {{8, "223"}}, ""},
    {"ErrorNamesTheGridRowNotTheShownIndex",
     51,
     true,
     0,
     2,
     {{3, "50"}},
     "Error row 2!! [LoraWAN Uplink] Number Byte must be between 0 and 49"},
    {"DisabledRuleNeverChecked", 51, true, 0, 1, {{1, "N"}, {3, "999"}, {7, "x"}}, ""},
    {"BlankEnableIsDisabled", 51, true, 0, 1, {{1, ""}, {3, "999"}}, ""},
    // The compiler sends a "y" rule, so it is checked too.
    {"LowerCaseEnableChecked",
     51,
     true,
     0,
     1,
     {{1, " y"}, {3, "50"}},
     "Error row 1!! [LoraWAN Uplink] Number Byte must be between 0 and 49"},
    {"DownlinkStartByte",
     51,
     true,
     1,
     1,
     {{2, "1537"}},
     "Error row 1!! [LoraWAN Downlink] Start Byte must be between 0 and 1536"},
    {"DownlinkNumByte50",
     51,
     true,
     1,
     1,
     {{3, "50"}},
     "Error row 1!! [LoraWAN Downlink] Number Byte must be between 0 and 49"},
    {"DownlinkShownFPort224",
     51,
     false,
     1,
     1,
     {{4, "224"}},
     "Error row 1!! [LoraWAN Downlink] FPort must be between 1 and 223"},
    {"DownlinkHiddenFPort", 51, true, 1, 1, {{4, "224"}}, ""},
};

class LoRaChecks : public ::testing::TestWithParam<LoRaCheckCase> {};

TEST_P(LoRaChecks, FirstFaultAndItsMessage)
{
    const LoRaCheckCase& c = GetParam();
    LoRaWanEditorSetup setup;
    setup.MaxPayloadSize = c.payload;
    setup.FPortFixed = c.fixed;
    RuleFile f(loRaWanRuleSpec(setup));
    const QStringList& valid = c.table == 0 ? kUplinkRule : kDownlinkRule;
    RuleTable& t = f.tables[std::size_t(c.table)];
    for (int r = 1; r <= c.row; ++r)
        setRow(t, r, valid);
    // A valid FPort where it is shown, so that only the case's cells can fail.
    t.setCell(c.table == 0 ? 8 : 4, c.row, QStringLiteral("2"));
    apply(t, c.row, c.cells);
    setRow(f.tables[std::size_t(1 - c.table)], 1, c.table == 0 ? kDownlinkRule : kUplinkRule);
    f.tables[std::size_t(1 - c.table)].setCell(c.table == 0 ? 4 : 8, 1, QStringLiteral("2"));
    if (c.payload == 0)
        f.tables[1].setCell(1, 1, QStringLiteral("N"));
    EXPECT_EQ(message(f), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, LoRaChecks, ::testing::ValuesIn(kLoRaCheckCases), test::CaseName());

TEST(LoRaTable, RuleIndexShownFromZero)
{
    RuleFile f(loRaWanRuleSpec({}));
    EXPECT_EQ(f.tables[0].cell(0, 1), QStringLiteral("0"));
    EXPECT_EQ(f.tables[1].cell(0, 256), QStringLiteral("255"));
}

struct SetupCase {
    const char* name;
    const char* parGen;  // nullptr: no file
    int payload;
    bool fixed;
    bool warning;
    bool error;
};

const SetupCase kSetupCases[] = {
    {"NoFile", nullptr, 0, true, true, false},
    {"Variable",
     "<P><LoRa_Payload_Size>51</LoRa_Payload_Size><LoRa_FPort>Variable</LoRa_FPort></P>", 51, false,
     false, false},
    {"VariableTrimmedAnyCase",
     "<P><LoRa_Payload_Size>$33</LoRa_Payload_Size>"
     "<LoRa_FPort> vARIABLE </LoRa_FPort></P>",
     51, false, false, false},
    {"OtherTextIsFixed",
     "<P><LoRa_Payload_Size>222</LoRa_Payload_Size>"
     "<LoRa_FPort>Fixed</LoRa_FPort></P>",
     222, true, false, false},
    {"PayloadNoNumber", "<P><LoRa_Payload_Size>51 </LoRa_Payload_Size></P>", 0, true, true, false},
    {"Malformed", "<P><LoRa_Payload_Size>51</P>", 0, true, true, true},
};

class LoRaSetup : public ::testing::TestWithParam<SetupCase> {};

TEST_P(LoRaSetup, ReadFromTheGeneralParameters)
{
    const SetupCase& c = GetParam();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ParGen.xml"));
    if (c.parGen) {
        ASSERT_TRUE(test::writeFile(path, c.parGen));
    }
    const LoRaWanEditorSetup s = readLoRaWanEditorSetup(path);
    EXPECT_EQ(s.MaxPayloadSize, c.payload);
    EXPECT_EQ(s.FPortFixed, c.fixed);
    EXPECT_EQ(s.payloadWarning(), c.warning);
    EXPECT_EQ(s.parGenError.contains(QDir::toNativeSeparators(path)), c.error);
}

INSTANTIATE_TEST_SUITE_P(Files, LoRaSetup, ::testing::ValuesIn(kSetupCases), test::CaseName());

TEST(LoRaTable, NoPayloadWarningText)
{
    EXPECT_EQ(english().lang(kLoRaTextNoPayloadSize).toStdString(),
              "Warning!! Max Payload Size not Set Up. Set it in \"Set Communication\" section");
}

TEST(LoRaTable, VariableFPortShowsFewerRulesAndSaysHowManyAreLeftOut)
{
    QTemporaryDir dir;
    QByteArray rows;
    for (int i = 0; i < 256; ++i)
        rows += "<row Enable=\"Y\" StartByte=\"" + QByteArray::number(i) + "\" NumByte=\"1\"/>";
    const QString path = dir.filePath(QStringLiteral("LoRaWAN_SetAccess.xml"));
    ASSERT_TRUE(
        test::writeFile(path,
                        "<LoRaWAN_Set_Access><LoRaWAN_Uplink>" + rows
                            + "</LoRaWAN_Uplink><LoRaWAN_Downlink>"
                              "<row StartByte=\"1\"/></LoRaWAN_Downlink></LoRaWAN_Set_Access>"));
    LoRaWanEditorSetup variable;
    variable.FPortFixed = false;
    RuleFile f(loRaWanRuleSpec(variable));
    const RuleLoadReport report = loadRuleFile(f, path);
    EXPECT_EQ(report.rowsNotShown, QList<int>({33, 0}));
    EXPECT_TRUE(report.askBeforeOverwrite());
    EXPECT_EQ(f.tables[0].cell(2, 223), QStringLiteral("222"));
    EXPECT_EQ(ruleLoadMessages(report, f.spec, english()).join('\n').toStdString(),
              "Warning!!! Rules of the file that the table cannot show, and that saving drops: "
              "33 (LoRaWAN Uplink)");

    RuleFile fixed(loRaWanRuleSpec({}));
    EXPECT_FALSE(loadRuleFile(fixed, path).askBeforeOverwrite());
    EXPECT_EQ(fixed.tables[0].ruleCount(), 256);
}

// ---- S7 checks -------------------------------------------------------------------------------

const QStringList kCommon = {"Y", "192.168.1.10", "102", "S71200", "0",   "1", "Word", "DB",
                             "1", "Inputs (I)",   "0",   "0",      "1000"};
QStringList readRule() { return kCommon + QStringList{"0", "0", "N", "N", ""}; }
QStringList writeRule() { return kCommon + QStringList{"N", "N", "0", "0", "N", "N", ""}; }

struct S7CheckCase {
    const char* name;
    int table;  // 0 read, 1 write
    Cells cells;
    const char* expected;
};

const S7CheckCase kS7CheckCases[] = {
    {"ValidRead", 0, {}, ""},
    {"ValidWrite", 1, {}, ""},
    {"Address",
     0,
     {{2, "192.168.1.300"}},
     "Error row 1!! [S7comm Read] PLC Address must be a valid TCP IP Address (Ex. 192.168.1.125)"},
    {"AddressThreeParts",
     1,
     {{2, "10.0.1"}},
     "Error row 1!! [S7comm Write] PLC Address must be a valid TCP IP Address (Ex. 192.168.1.125)"},
    {"Port", 0, {{3, "65536"}}, "Error row 1!! [S7comm Read] PLC Port must be between 0 and 65535"},
    {"PortBeforeType",
     0,
     {{3, "-1"}, {4, ""}},
     "Error row 1!! [S7comm Read] PLC Port must be between 0 and 65535"},
    {"Type", 0, {{4, "  "}}, "Error row 1!! [S7comm Read] PLC Type cannot be empty"},
    {"Rack4", 0, {{5, "4"}}, "Error row 1!! [S7comm Read] Rack must be between 0 and 3"},
    {"Slot32", 0, {{6, "32"}}, "Error row 1!! [S7comm Read] Slot must be between 0 and 31"},
    {"DataType", 0, {{7, ""}}, "Error row 1!! [S7comm Read] Data Type cannot be empty"},
    {"DataIdentifier", 0, {{8, ""}}, "Error row 1!! [S7comm Read] Data Identifier cannot be empty"},
    {"DbNumberWhateverTheArea",
     0,
     {{9, "65536"}, {10, "Flags (M) (Merker)"}},
     "Error row 1!! [S7comm Read] DB Number must be between 0 and 65535"},
    {"Area", 0, {{10, ""}}, "Error row 1!! [S7comm Read] PLC Area cannot be empty"},
    {"PlcAdd",
     0,
     {{11, "x"}},
     "Error row 1!! [S7comm Read] PLC Address must be between 0 and 65535"},
    {"PlcBit", 0, {{12, ""}}, "Error row 1!! [S7comm Read] PLC Bit cannot be empty"},
    {"ReadPollTime0",
     0,
     {{13, "0"}},
     "Error row 1!! [S7comm Read] Poll Time must be between 1 and 100000000"},
    {"WritePollTime0", 1, {{13, "0"}}, ""},
    {"WritePollTimeTooLong",
     1,
     {{13, "100000001"}},
     "Error row 1!! [S7comm Write] Poll Time must be between 0 and 100000000"},
    {"Position1499", 0, {{14, "1499"}}, ""},
    {"Position1500",
     0,
     {{14, "1500"}},
     "Error row 1!! [S7comm Read] Position must be between 0 and 1499"},
    {"WritePosition1500",
     1,
     {{16, "1500"}},
     "Error row 1!! [S7comm Write] Position must be between 0 and 1499"},
    {"StartBit", 0, {{15, ""}}, "Error row 1!! [S7comm Read] Start Bit cannot be empty"},
    {"WriteStartBit", 1, {{17, " "}}, "Error row 1!! [S7comm Write] Start Bit cannot be empty"},
    {"WriteRack", 1, {{5, "4"}}, "Error row 1!! [S7comm Write] Rack must be between 0 and 3"},
    {"WriteSlot", 1, {{6, "32"}}, "Error row 1!! [S7comm Write] Slot must be between 0 and 31"},
    {"UncheckedColumns", 1, {{14, "x"}, {15, "x"}, {18, "x"}, {19, "x"}, {20, ""}}, ""},
    {"BlanksAroundYEnabled",
     0,
     {{1, " Y "}, {4, ""}},
     "Error row 1!! [S7comm Read] PLC Type cannot be empty"},
    {"LowerYDisabled", 0, {{1, "y"}, {4, ""}}, ""},
};

class S7Checks : public ::testing::TestWithParam<S7CheckCase> {};

TEST_P(S7Checks, FirstFaultAndItsMessage)
{
    const S7CheckCase& c = GetParam();
    RuleFile f(s7RuleSpec());
    RuleTable& t = f.tables[std::size_t(c.table)];
    setRow(t, 1, c.table == 0 ? readRule() : writeRule());
    apply(t, 1, c.cells);
    EXPECT_EQ(message(f), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, S7Checks, ::testing::ValuesIn(kS7CheckCases), test::CaseName());

struct ConnectionCase {
    const char* name;
    // Address and port of enabled rules; a leading "-" marks a disabled rule.
    std::vector<const char*> reads;
    std::vector<const char*> writes;
    const char* expected;
};

std::vector<const char*> tenPlcs(const char* last = "10.0.0.10:102")
{
    return {"10.0.0.1:102", "10.0.0.2:102", "10.0.0.3:102", "10.0.0.4:102", "10.0.0.5:102",
            "10.0.0.6:102", "10.0.0.7:102", "10.0.0.8:102", "10.0.0.9:102", last};
}

std::vector<const char*> plus(std::vector<const char*> v, const char* more)
{
    v.push_back(more);
    return v;
}

const ConnectionCase kConnectionCases[] = {
    {"TenPass", tenPlcs(), {}, ""},
    {"EleventhReadRefused",
     plus(tenPlcs(), "10.0.0.11:102"),
     {},
     "Error row 11!! [S7comm Read] Device support 10 connection"},
    {"EleventhWriteRefused",
     tenPlcs(),
     {"10.0.0.1:102", "10.0.0.11:102"},
     "Error row 2!! [S7comm Write] Device support 10 connection"},
    {"OtherPortIsAnotherConnection",
     tenPlcs(),
     {"10.0.0.1:103"},
     "Error row 1!! [S7comm Write] Device support 10 connection"},
    {"ReadAndWriteShareAConnection", tenPlcs(), {"10.0.0.10:102", "10.0.0.3:102"}, ""},
    {"RepeatedConnectionCountsOnce", plus(tenPlcs(), "10.0.0.4:102"), {}, ""},
    {"DisabledRulesDoNotCount",
     plus(plus(tenPlcs("-10.0.0.99:102"), "-10.0.0.98:102"), "10.0.0.10:102"),
     {},
     ""},
};

class S7Connections : public ::testing::TestWithParam<ConnectionCase> {};

TEST_P(S7Connections, AtMostTenOverBothTables)
{
    RuleFile f(s7RuleSpec());
    auto fill = [](RuleTable& t, const std::vector<const char*>& plcs, const QStringList& rule) {
        int row = 1;
        for (const char* plc : plcs) {
            QString text = QString::fromLatin1(plc);
            QStringList cells = rule;
            if (text.startsWith('-')) {
                cells[0] = QStringLiteral("N");
                text.remove(0, 1);
            }
            cells[1] = text.section(':', 0, 0);
            cells[2] = text.section(':', 1, 1);
            setRow(t, row++, cells);
        }
    };
    fill(f.tables[0], GetParam().reads, readRule());
    fill(f.tables[1], GetParam().writes, writeRule());
    EXPECT_EQ(message(f), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, S7Connections, ::testing::ValuesIn(kConnectionCases),
                         test::CaseName());

TEST(S7Table, MissingRackAndSlotAreZeroAndOtherMissingValuesAreReported)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("S7_Protocol.xml"));
    // Row 2 lacks PLC_Type: older loading stopped there and lost row 3.
    const QByteArray full =
        "PLC_Address=\"1.2.3.4\" PLC_Port=\"102\" PLC_Type=\"S7300\" Data_Type=\"Bit\" "
        "Data_Identifier=\"DB\" DB_Number=\"1\" PLC_Area=\"Inputs (I)\" PLC_Add=\"0\" "
        "PLC_Bit=\"0\" PollTime=\"1\" Position=\"0\" Bit=\"0\" Swap=\"N\" SwapWord=\"N\" "
        "Mnemonic=\"m\"";
    QByteArray noType = full;
    noType.replace("PLC_Type=\"S7300\" ", "");
    ASSERT_TRUE(test::writeFile(path, "<S7_Protocol><S7_Protocol_Read><row " + full
                                          + "/><row Enable=\"Y\" " + noType + "/><row " + full
                                          + " Rack=\"2\"/></S7_Protocol_Read>"
                                            "<S7_Protocol_Write/></S7_Protocol>"));
    RuleFile f(s7RuleSpec());
    const RuleLoadReport report = loadRuleFile(f, path);
    const RuleTable& t = f.tables[0];
    EXPECT_EQ(t.cell(1, 1), QStringLiteral("Y"));
    EXPECT_EQ(t.cell(5, 1), QStringLiteral("0"));
    EXPECT_EQ(t.cell(6, 1), QStringLiteral("0"));
    EXPECT_EQ(t.cell(4, 2), QString());
    EXPECT_EQ(t.cell(5, 3), QStringLiteral("2"));
    EXPECT_EQ(t.ruleCount(), 3);
    // The reported value would be written back as its default: OK asks first.
    EXPECT_TRUE(report.askBeforeOverwrite());
    EXPECT_EQ(ruleLoadMessages(report, f.spec, english()).join('\n').toStdString(),
              "Warning!!! Values missing in the file were set to their defaults: 1. First at "
              "row 2 (S7comm Read, PLC_Type)");
    // The default left in the cell fails the check instead of reaching the device.
    EXPECT_EQ(message(f), "Error row 2!! [S7comm Read] PLC Type cannot be empty");
}

// ---- Golden files ----------------------------------------------------------------------------

struct GoldenCase {
    const char* name;
    const char* file;
    RuleFileSpec (*spec)();
};

const GoldenCase kGoldenCases[] = {
    {"LoRaWanVariableFPort", "lorawan_variable.xml",
     [] {
         LoRaWanEditorSetup s;
         s.MaxPayloadSize = 115;
         s.FPortFixed = false;
         return loRaWanRuleSpec(s);
     }},
    // The same file with the fixed FPort: the FPort column is hidden, yet loaded and written.
    {"LoRaWanFixedFPortHiddenColumn", "lorawan_variable.xml",
     [] {
         LoRaWanEditorSetup s;
         s.MaxPayloadSize = 115;
         return loRaWanRuleSpec(s);
     }},
    {"S7", "s7.xml", [] { return s7RuleSpec(); }},
};

class RuleGolden : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(RuleGolden, OpenThenOkWithoutChangeWritesTheSameBytes)
{
    const QString golden = QStringLiteral(ZFW_TEST_DATA_DIR "/config/rules/")
                           + QString::fromLatin1(GetParam().file);
    const QByteArray original = test::readFile(golden);
    ASSERT_FALSE(original.isEmpty());
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("rules.xml"));
    ASSERT_TRUE(test::writeFile(path, original));

    QStringList buffer;
    RuleEditorModel editor(path, buffer);
    const RuleLoadReport report = editor.open(GetParam().spec());
    EXPECT_TRUE(ruleLoadMessages(report, editor.file().spec, english()).isEmpty());
    EXPECT_TRUE(editor.saveWarnings(english()).isEmpty());
    EXPECT_EQ(message(editor.file()), "");
    ASSERT_TRUE(editor.save().ok);
    EXPECT_EQ(test::readFile(path).toStdString(), original.toStdString());
}

INSTANTIATE_TEST_SUITE_P(Files, RuleGolden, ::testing::ValuesIn(kGoldenCases), test::CaseName());

TEST(LoRaTable, HiddenFPortKeepsItsValue)
{
    const QString golden = QStringLiteral(ZFW_TEST_DATA_DIR "/config/rules/lorawan_variable.xml");
    RuleFile f(loRaWanRuleSpec({}));
    loadRuleFile(f, golden);
    EXPECT_TRUE(f.tables[0].spec().columns[8].hidden);
    EXPECT_EQ(f.tables[0].cell(8, 3), QStringLiteral("223"));
    EXPECT_EQ(f.tables[1].cell(4, 1), QStringLiteral("5"));
}

// ---- Agreement with the compiler and the update step's check ---------------------------------

class RuleCompile : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_typed.isValid() && m_hand.isValid());
        const QByteArray parGen =
            "<ParGen><LoRa_Payload_Size>51</LoRa_Payload_Size>"
            "<LoRa_FPort>Variable</LoRa_FPort></ParGen>";
        for (const QTemporaryDir* d : {&m_typed, &m_hand})
            ASSERT_TRUE(test::writeFile(d->filePath(QStringLiteral("ParGen.xml")), parGen));
    }
    static BinSourceFiles files(const QTemporaryDir& d) { return binSourceFiles(d.path()); }

    QTemporaryDir m_typed;
    QTemporaryDir m_hand;
};

TEST_F(RuleCompile, RulesTypedIntoEmptyTablesCompileAsTheSameRulesWrittenByHand)
{
    QStringList buffer;
    const BinSourceFiles typedFiles = files(m_typed);

    RuleEditorModel lora(typedFiles.File_LoRaWAN_SetAccess, buffer);
    lora.open(loRaWanRuleSpec(readLoRaWanEditorSetup(typedFiles.File_ParGen)));
    setRow(lora.file().tables[0], 1, {"Y", "16", "4", "Y", "N", "Y", "60", "7", "level"});
    setRow(lora.file().tables[0], 2, {"N", "20", "49", "N", "N", "N", "", "1", "off"});
    setRow(lora.file().tables[1], 1, {"Y", "300", "2", "9", ""});
    ASSERT_EQ(message(lora.file()), "");
    ASSERT_TRUE(lora.save().ok);

    RuleEditorModel s7(typedFiles.File_S7_Protocol, buffer);
    s7.open(s7RuleSpec());
    setRow(s7.file().tables[0], 1, readRule());
    s7.file().tables[0].setCell(16, 1, QStringLiteral("Y"));  // Swap
    setRow(s7.file().tables[1], 1, writeRule());
    s7.file().tables[1].setCell(14, 1, QStringLiteral("Y"));  // On Change
    ASSERT_EQ(message(s7.file()), "");
    ASSERT_TRUE(s7.save().ok);

    // The same rules by hand: one line, other attribute order, disabled rule left out.
    const BinSourceFiles hand = files(m_hand);
    ASSERT_TRUE(test::writeFile(
        hand.File_LoRaWAN_SetAccess,
        "<LoRaWAN_Set_Access><LoRaWAN_Uplink><row Time=\"60\" StartByte=\"16\" NumByte=\"4\" "
        "OnChange=\"Y\" OnTimer=\"Y\" FPort=\"7\"/></LoRaWAN_Uplink><LoRaWAN_Downlink>"
        "<row StartByte=\"300\" NumByte=\"2\" FPort=\"9\"/></LoRaWAN_Downlink>"
        "</LoRaWAN_Set_Access>"));
    const QByteArray s7Common =
        "Enable=\"Y\" PLC_Address=\"192.168.1.10\" PLC_Port=\"102\" PLC_Type=\"S71200\" "
        "Rack=\"0\" Slot=\"1\" Data_Type=\"Word\" Data_Identifier=\"DB\" DB_Number=\"1\" "
        "PLC_Area=\"Inputs (I)\" PLC_Add=\"0\" PLC_Bit=\"0\" PollTime=\"1000\" Position=\"0\" "
        "Bit=\"0\"";
    ASSERT_TRUE(test::writeFile(hand.File_S7_Protocol,
                                "<S7_Protocol><S7_Protocol_Read><row " + s7Common
                                    + " Swap=\"Y\"/></S7_Protocol_Read><S7_Protocol_Write><row "
                                    + s7Common
                                    + " OnChange=\"Y\"/></S7_Protocol_Write></S7_Protocol>"));

    const BinCompileResult typed = compileBinImages(typedFiles);
    const BinCompileResult byHand = compileBinImages(hand);
    ASSERT_TRUE(typed.ok()) << typed.result.message.toStdString();
    ASSERT_TRUE(byHand.ok()) << byHand.result.message.toStdString();
    EXPECT_EQ(typed.bank1, byHand.bank1);
    EXPECT_EQ(typed.bank2, byHand.bank2);

    // The typed uplink rule as the device reads it: start 16, 4 bytes, on change and on
    // timer, FPort 7, 60 s.
    EXPECT_EQ(typed.bank2.mid(kLoRaUplinkTableOffset, 12).toHex(' '),
              QByteArray("10 00 04 00 05 07 00 00 3c 00 00 00"));
    EXPECT_EQ(typed.bank2.mid(kLoRaUplinkTableOffset + 12, 12), QByteArray(12, '\0'));
    EXPECT_EQ(typed.bank2.mid(kLoRaDownlinkTableOffset, 12).toHex(' '),
              QByteArray("2c 01 02 00 00 09 00 00 00 00 00 00"));
}

struct AgreementCase {
    const char* name;
    const char* enable;
};

const AgreementCase kAgreementCases[] = {
    {"Y", "Y"},    {"BlanksAroundY", " Y "}, {"LowerY", "y"}, {"N", "N"},
    {"Blank", ""}, {"Yes", "Yes"},
};

class LoRaAgreement : public RuleCompile, public ::testing::WithParamInterface<AgreementCase> {};

TEST_P(LoRaAgreement, EditorChecksExactlyTheRulesTheCompilerSendsAndTheUpdateStepChecks)
{
    QStringList buffer;
    const BinSourceFiles f = files(m_typed);
    RuleEditorModel lora(f.File_LoRaWAN_SetAccess, buffer);
    lora.open(loRaWanRuleSpec(readLoRaWanEditorSetup(f.File_ParGen)));
    // A rule too wide for payload 51, so that whoever takes it must refuse it.
    setRow(lora.file().tables[0], 1,
           {QString::fromUtf8(GetParam().enable), "0", "50", "N", "N", "N", "", "1", ""});
    const bool editorChecks = !Controllo_dati(lora.file()).ok();
    ASSERT_TRUE(saveRuleFile(lora.file(), f.File_LoRaWAN_SetAccess).ok);

    const BinCompileResult compiled = compileBinImages(f);
    ASSERT_TRUE(compiled.ok());
    const bool compilerTakes = compiled.bank2.mid(kLoRaUplinkTableOffset + 2, 1) == "\x32";
    const bool updateRefuses = !checkLoRaWanConfig(f.File_ParGen, f.File_LoRaWAN_SetAccess).ok;
    EXPECT_EQ(editorChecks, compilerTakes);
    EXPECT_EQ(updateRefuses, compilerTakes);
}

INSTANTIATE_TEST_SUITE_P(Enable, LoRaAgreement, ::testing::ValuesIn(kAgreementCases),
                         test::CaseName());

}  // namespace
}  // namespace zfw
