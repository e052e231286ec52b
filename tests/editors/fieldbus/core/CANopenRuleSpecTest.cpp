// The checks of the CANopen PDO, SDO client and SDO server tables and of the DeviceNet slave
// list: the first failing check and its message, over rows above that are valid.

#include "common/UComon.h"
#include "common/ULanguage.h"
#include "editors/fieldbus/core/UCANopenRuleSpec.h"
#include "editors/fieldbus/core/UDeviceNetRuleSpec.h"
#include "support/CaseName.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace zfw {
namespace {

const ProgramState& english()
{
    static const ProgramState lang = [] {
        ProgramState s;
        Fill_Default_Language(s);
        return s;
    }();
    return lang;
}

enum class Editor { Pdo, SdoClient, SdoServer, DeviceNet };

RuleFileSpec specOf(Editor e)
{
    switch (e) {
    case Editor::Pdo: return pdoRuleSpec();
    case Editor::SdoClient: return sdoClientRuleSpec();
    case Editor::SdoServer: return sdoServerRuleSpec();
    case Editor::DeviceNet: return deviceNetRuleSpec();
    }
    return {};
}

using Cells = std::vector<std::pair<const char*, const char*>>;

// A rule that passes every check of its table; row gives a sub-index of its own, so that
// valid server rows never repeat one another.
Cells validRule(Editor e, int table, int row)
{
    static const char* const kSubs[] = {"0", "1", "2", "3", "4", "5", "6", "7", "8"};
    switch (e) {
    case Editor::Pdo:
        return table == 0 ? Cells{{"COB-ID", "0x181"},
                                  {"Dimension", "2"},
                                  {"Address_B1", "0"},
                                  {"Address_B2", "1"},
                                  {"TimeOut", "0"}}
                          : Cells{{"COB-ID", "0x201"},
                                  {"Dimension", "1"},
                                  {"Address_B1", "0"},
                                  {"Send_Time", "0"}};
    case Editor::SdoClient:
        return {{"Device_ID", "1"}, {"Index", "0x2000"}, {"SubIndex", "0"},
                {"NByte", "1"},     {"Poll_Time", "1"},  {"Address_B1", "0"}};
    case Editor::SdoServer:
        return {{"Index", table == 0 ? "0x2000" : "0x2100"},
                {"SubIndex", kSubs[row % 9]},
                {"NByte", "1"},
                {"Address_B1", "0"}};
    case Editor::DeviceNet: return {{"ID", "1"}, {"NB_IN", "0"}, {"NB_OUT", "0"}};
    }
    return {};
}

void apply(RuleTable& t, int row, const Cells& cells)
{
    for (const auto& [attribute, text] : cells)
        t.setCell(t.spec().col(QString::fromLatin1(attribute)), row, QString::fromUtf8(text));
}

struct CheckCase {
    const char* name;
    Editor editor;
    int table;
    int row;  // the rows above hold valid rules, and so does this one before cells
    Cells cells;
    const char* expected;  // "" when every rule passes
};

const CheckCase kCheckCases[] = {
    // PDOs
    {"PdoDimensionTwoIgnoresAddB3ToB8",
     Editor::Pdo,
     0,
     1,
     {{"Address_B3", "abc"}, {"Address_B8", "99999"}},
     ""},
    {"PdoCobId0x7FFPasses", Editor::Pdo, 0, 1, {{"COB-ID", "0x7FF"}}, ""},
    {"PdoCobId2047Passes", Editor::Pdo, 1, 1, {{"COB-ID", "2047"}}, ""},
    {"PdoCobId2048Fails",
     Editor::Pdo,
     0,
     1,
     {{"COB-ID", "2048"}},
     "Error row 1!! [Receive PDO] COB-ID must be between 0x000 and 0x7FF"},
    {"PdoCobIdMinusOneFails",
     Editor::Pdo,
     1,
     2,
     {{"COB-ID", "-1"}},
     "Error row 2!! [Transmit PDO] COB-ID must be between 0x000 and 0x7FF"},
    {"PdoCobIdTextFails",
     Editor::Pdo,
     0,
     1,
     {{"COB-ID", "abc"}},
     "Error row 1!! [Receive PDO] COB-ID must be between 0x000 and 0x7FF"},
    {"PdoDimensionNineFails",
     Editor::Pdo,
     0,
     1,
     {{"Dimension", "9"}},
     "Error row 1!! [Receive PDO] Dimension must be between 1 and 8"},
    {"PdoDimensionZeroFails",
     Editor::Pdo,
     1,
     1,
     {{"Dimension", "0"}},
     "Error row 1!! [Transmit PDO] Dimension must be between 1 and 8"},
    {"PdoAddress1500InRowThreeGivesTheBound",
     Editor::Pdo,
     0,
     3,
     {{"Address_B1", "1500"}},
     "Error row 3!! [Receive PDO] Address Byte1 must be between 0 and 1499"},
    {"PdoEighthByteCheckedAtDimensionEight",
     Editor::Pdo,
     1,
     1,
     {{"Dimension", "8"},
      {"Address_B2", "1"},
      {"Address_B3", "2"},
      {"Address_B4", "3"},
      {"Address_B5", "4"},
      {"Address_B6", "5"},
      {"Address_B7", "1499"},
      {"Address_B8", ""}},
     "Error row 1!! [Transmit PDO] Address Byte8 must be between 0 and 1499"},
    {"PdoTimeOut65535Passes", Editor::Pdo, 0, 1, {{"TimeOut", "65535"}}, ""},
    {"PdoTimeOut65536Fails",
     Editor::Pdo,
     0,
     1,
     {{"TimeOut", "65536"}},
     "Error row 1!! [Receive PDO] TimeOut must be between 0 and 65535"},
    {"PdoSendTimeTopPasses", Editor::Pdo, 1, 1, {{"Send_Time", "100000000"}}, ""},
    {"PdoSendTimePastTopFails",
     Editor::Pdo,
     1,
     1,
     {{"Send_Time", "100000001"}},
     "Error row 1!! [Transmit PDO] Send Time must be between 0 and 100000000"},
    {"PdoBlankCobIdEndsTheList", Editor::Pdo, 1, 1, {{"COB-ID", "  "}, {"Dimension", "99"}}, ""},
    {"PdoLeadingBlanksAndDollarRead", Editor::Pdo, 0, 1, {{"COB-ID", " $7FF"}}, ""},
    {"PdoTrailingBlankFails",
     Editor::Pdo,
     0,
     1,
     {{"TimeOut", "7 "}},
     "Error row 1!! [Receive PDO] TimeOut must be between 0 and 65535"},
    // SDO client
    {"ClientIndex0x1000Passes", Editor::SdoClient, 0, 1, {{"Index", "0x1000"}}, ""},
    {"ClientIndexDollarFFFFPasses", Editor::SdoClient, 1, 1, {{"Index", "$FFFF"}}, ""},
    {"ClientIndex4095Fails",
     Editor::SdoClient,
     0,
     1,
     {{"Index", "4095"}},
     "Error row 1!! [SDO Read] Index must be between 0x1000 and 0xFFFF"},
    {"ClientIndex0x10000Fails",
     Editor::SdoClient,
     1,
     2,
     {{"Index", "0x10000"}},
     "Error row 2!! [SDO Write] Index must be between 0x1000 and 0xFFFF"},
    {"ClientReadPollTimeZeroFails",
     Editor::SdoClient,
     0,
     1,
     {{"Poll_Time", "0"}},
     "Error row 1!! [SDO Read] Poll Time must be between 1 and 100000000"},
    {"ClientWritePollTimeZeroPasses", Editor::SdoClient, 1, 1, {{"Poll_Time", "0"}}, ""},
    {"ClientNByteTwoIgnoresAddByte3And4",
     Editor::SdoClient,
     0,
     1,
     {{"NByte", "2"}, {"Address_B2", "1"}, {"Address_B3", "x"}, {"Address_B4", "-5"}},
     ""},
    {"ClientNByteTwoChecksAddByte2",
     Editor::SdoClient,
     0,
     1,
     {{"NByte", "2"}},
     "Error row 1!! [SDO Read] Address Byte2 must be between 0 and 1499"},
    {"ClientNByteThreeFails",
     Editor::SdoClient,
     1,
     1,
     {{"NByte", "3"}},
     "Error row 1!! [SDO Write] N Byte must be 1 or 2 or 4"},
    {"ClientNByteFourChecksAddByte4",
     Editor::SdoClient,
     1,
     1,
     {{"NByte", "0x4"}, {"Address_B2", "1"}, {"Address_B3", "2"}, {"Address_B4", "1500"}},
     "Error row 1!! [SDO Write] Address Byte4 must be between 0 and 1499"},
    {"ClientDevice0Fails",
     Editor::SdoClient,
     0,
     1,
     {{"Device_ID", "0"}},
     "Error row 1!! [SDO Read] Device ID must be between 1 and 127"},
    {"ClientDevice128Fails",
     Editor::SdoClient,
     1,
     1,
     {{"Device_ID", "128"}},
     "Error row 1!! [SDO Write] Device ID must be between 1 and 127"},
    {"ClientDevice127Passes", Editor::SdoClient, 0, 1, {{"Device_ID", "127"}}, ""},
    {"ClientSubIndex256Fails",
     Editor::SdoClient,
     0,
     1,
     {{"SubIndex", "256"}},
     "Error row 1!! [SDO Read] SubIndex must be between 0x00 and 0xFF"},
    // SDO server
    {"ServerIndex0x2000Passes", Editor::SdoServer, 0, 1, {{"Index", "0x2000"}}, ""},
    {"ServerIndex0x5FFFPasses", Editor::SdoServer, 1, 1, {{"Index", "0x5FFF"}}, ""},
    {"ServerIndex0x1FFFFails",
     Editor::SdoServer,
     0,
     1,
     {{"Index", "0x1FFF"}},
     "Error row 1!! [SDO in Read] Index must be between 0x2000 and 0x5FFF"},
    {"ServerIndex0x6000Fails",
     Editor::SdoServer,
     1,
     1,
     {{"Index", "0x6000"}},
     "Error row 1!! [SDO in Write] Index must be between 0x2000 and 0x5FFF"},
    {"ServerNByteOneIgnoresAddByte2To4",
     Editor::SdoServer,
     0,
     1,
     {{"Address_B2", "x"}, {"Address_B3", "9999"}, {"Address_B4", ""}},
     ""},
    {"ServerNByteFourChecksAddByte3",
     Editor::SdoServer,
     0,
     1,
     {{"NByte", "4"}, {"Address_B2", "1"}, {"Address_B3", "1500"}},
     "Error row 1!! [SDO in Read] Address Byte3 must be between 0 and 1499"},
    {"ServerSameIndexOtherSubIndexPasses", Editor::SdoServer, 0, 2, {{"SubIndex", "7"}}, ""},
    {"ServerRepeatWithinATableNamesBothRows",
     Editor::SdoServer,
     0,
     3,
     {{"Index", "8192"}, {"SubIndex", "0x1"}},
     "Error row 3!! [SDO in Read] Index and SubIndex already used in the row 1 of the table SDO "
     "in Read"},
    {"ServerRepeatAcrossTablesNamesBothRows",
     Editor::SdoServer,
     1,
     2,
     {{"Index", "0x2000"}, {"SubIndex", "2"}},
     "Error row 2!! [SDO in Write] Index and SubIndex already used in the row 2 of the table SDO "
     "in Read"},
    // DeviceNet slaves
    {"DeviceNetBlankIdIsASlaveAndFails",
     Editor::DeviceNet,
     0,
     1,
     {{"ID", "  "}},
     "Error in row 1!! ID must be 0 or 63"},
    {"DeviceNetSameIdTwicePasses", Editor::DeviceNet, 0, 3, {{"ID", "1"}}, ""},
    {"DeviceNetHexIdsPass", Editor::DeviceNet, 0, 2, {{"ID", "$3F"}}, ""},
    {"DeviceNetRow64IsChecked",
     Editor::DeviceNet,
     0,
     64,
     {{"ID", "64"}},
     "Error in row 64!! ID must be 0 or 63"},
    {"DeviceNetEmptyByteInFails",
     Editor::DeviceNet,
     0,
     1,
     {{"NB_IN", ""}},
     "Error in row 1!! Number Byte IN must be 0 or 65535"},
    {"DeviceNetByteOut65536Fails",
     Editor::DeviceNet,
     0,
     2,
     {{"NB_OUT", "65536"}},
     "Error in row 2!! Number Byte OUT must be 0 or 65535"},
};

class CANopenChecks : public ::testing::TestWithParam<CheckCase> {};

TEST_P(CANopenChecks, FirstFaultAndItsMessage)
{
    const CheckCase& c = GetParam();
    RuleFile file(specOf(c.editor));
    // The first table holds two valid rules while the second is checked.
    if (c.table == 1)
        for (int r = 1; r <= 2; ++r)
            apply(file.tables[0], r, validRule(c.editor, 0, r));
    RuleTable& t = file.tables[std::size_t(c.table)];
    for (int r = 1; r <= c.row; ++r)
        apply(t, r, validRule(c.editor, c.table, r));
    apply(t, c.row, c.cells);
    EXPECT_EQ(ruleFaultMessage(Controllo_dati(file), file.spec, english()).toStdString(),
              c.expected);
}

INSTANTIATE_TEST_SUITE_P(Rows, CANopenChecks, ::testing::ValuesIn(kCheckCases), test::CaseName());

TEST(DeviceNetSlaves, ARowBelowTheFirstEmptyIdIsNeitherCheckedNorSaved)
{
    RuleFile file(deviceNetRuleSpec());
    RuleTable& t = file.tables[0];
    apply(t, 1, validRule(Editor::DeviceNet, 0, 1));
    apply(t, 3, {{"ID", "99"}, {"NB_IN", "x"}});
    EXPECT_TRUE(Controllo_dati(file).ok());
    const QByteArray bytes = ruleFileBytes(file);
    EXPECT_TRUE(bytes.startsWith("<DNET_Net>")) << bytes.toStdString();
    EXPECT_EQ(bytes.count("<row "), 1);
    EXPECT_FALSE(bytes.contains("99"));
}

}  // namespace
}  // namespace zfw
