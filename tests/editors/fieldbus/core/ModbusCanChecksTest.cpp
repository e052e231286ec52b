// The Modbus master, CAN frame and DMX tables without their windows: the first failing check
// and its exact message, and what a file's missing or odd values load as.

#include "editors/fieldbus/core/UCANRuleSpec.h"
#include "editors/fieldbus/core/UDMXRuleSpec.h"
#include "editors/fieldbus/core/UModbusRuleSpec.h"
#include "support/CaseName.h"
#include "support/Files.h"

#include "common/UComon.h"
#include "common/ULanguage.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

namespace zfw {
namespace {

// Cells by attribute, so that a case reads as the file would.
using Cells = std::vector<std::pair<const char*, const char*>>;

const ProgramState& english()
{
    static const ProgramState lang = [] {
        ProgramState s;
        Fill_Default_Language(s);
        return s;
    }();
    return lang;
}

void apply(RuleTable& t, int row, const Cells& cells)
{
    for (const auto& [attribute, text] : cells)
        t.setCell(t.spec().col(QString::fromLatin1(attribute)), row, QString::fromUtf8(text));
}

// A valid rule of each table, to stand in the rows above the one a case fills.
const Cells kModbusReadRule = {{"Enable", "Y"},   {"Slave_ID", "1"}, {"Type", "Holding Register"},
                               {"Address", "0"},  {"NPoint", "10"},  {"PollTime", "1000"},
                               {"MaxError", "0"}, {"Position", "0"}, {"Bit", "0"}};
const Cells kModbusWriteRule = {{"Enable", "Y"},   {"Slave_ID", "1"}, {"Type", "Coil Status"},
                                {"Address", "0"},  {"NPoint", "8"},   {"PollTime", "0"},
                                {"MaxError", "0"}, {"Position", "0"}, {"Bit", "0"}};
const Cells kTcpSlave = {{"IP_Address", "192.168.1.125"}, {"Port", "502"}};
const Cells kCanReceiveFrame = {{"Enable", "Y"}, {"COBID", "1"},   {"CAN_Type", "2.0A (11 bits)"},
                                {"Dim", "1"},    {"TimeOut", "0"}, {"Byte1", "None"}};
const Cells kCanTransmitFrame = {
    {"Enable", "Y"},  {"COBID", "1"},    {"CAN_Type", "2.0A (11 bits)"},
    {"Dim", "1"},     {"OnChange", "N"}, {"OnCMD", "N"},
    {"OnTimer", "N"}, {"Time", ""},      {"Byte1", "None"}};

enum class Editor { ModbusRtu, ModbusTcp, CanReceive, CanTransmit, Dmx };

RuleFileSpec specOf(Editor e)
{
    switch (e) {
    case Editor::ModbusRtu: return modbusRtuRuleSpec();
    case Editor::ModbusTcp: return modbusTcpRuleSpec();
    case Editor::CanReceive: return canReceiveRuleSpec();
    case Editor::CanTransmit: return canTransmitRuleSpec();
    case Editor::Dmx: return dmxRuleSpec(24);
    }
    return {};
}

Cells validRule(Editor e, int table)
{
    if (e == Editor::CanReceive)
        return kCanReceiveFrame;
    if (e == Editor::CanTransmit)
        return kCanTransmitFrame;
    if (e == Editor::Dmx)
        return {{"Default_Value", "0"}};
    Cells rule = table == 0 ? kModbusReadRule : kModbusWriteRule;
    if (e == Editor::ModbusTcp)
        rule.insert(rule.end(), kTcpSlave.begin(), kTcpSlave.end());
    return rule;
}

struct CheckCase {
    const char* name;
    Editor editor;
    int table;
    int row;  // the rows above hold valid rules
    Cells cells;
    const char* expected;  // "" when every rule passes
};

const CheckCase kCheckCases[] = {
    // The end byte of a register rule is Position + 2 x NPoint - 1.
    {"RtuRegisterReadEndsAt1499",
     Editor::ModbusRtu,
     0,
     1,
     {{"Position", "1400"}, {"NPoint", "50"}},
     ""},
    {"RtuRegisterReadEndsAt1500",
     Editor::ModbusRtu,
     0,
     1,
     {{"Position", "1400"}, {"NPoint", "51"}},
     "Error row 1!! [Modbus Read] Too many bytes to save starting from the Position indicate"},
    // The end byte of a status rule is Position + (NPoint + Start Bit - 1) div 8.
    {"RtuCoilReadAt1499FromBit0",
     Editor::ModbusRtu,
     0,
     1,
     {{"Type", "Coil Status"}, {"Position", "1499"}, {"NPoint", "8"}, {"Bit", "0"}},
     ""},
    {"RtuCoilReadAt1499FromBit1",
     Editor::ModbusRtu,
     0,
     1,
     {{"Type", "Coil Status"}, {"Position", "1499"}, {"NPoint", "8"}, {"Bit", "1"}},
     "Error row 1!! [Modbus Read] Too many bytes to save starting from the Position indicate"},
    {"RtuStartBitThatIsNoNumberCountsAsZero",
     Editor::ModbusRtu,
     0,
     1,
     {{"Type", "Input Status"}, {"Position", "1499"}, {"NPoint", "8"}, {"Bit", "x"}},
     ""},
    {"RtuStatusRuleWithoutStartBit",
     Editor::ModbusRtu,
     0,
     1,
     {{"Type", "Input Status"}, {"Bit", ""}},
     "Error row 1!! [Modbus Read] Bit must be between 0 and 7"},
    {"RtuRegisterRuleWithoutStartBit", Editor::ModbusRtu, 0, 1, {{"Bit", ""}}, ""},
    {"RtuRegisterNPointBoundFollowsTheText",
     Editor::ModbusRtu,
     0,
     4,
     {{"NPoint", "126"}},
     "Error row 4!! [Modbus Read] NPoint must be between 1 and 125"},
    {"RtuPositionBoundFollowsTheText",
     Editor::ModbusRtu,
     0,
     1,
     {{"Position", "1500"}},
     "Error row 1!! [Modbus Read] Position must be between 0 and 1499"},
    {"RtuStatusTypeInLowerCase",
     Editor::ModbusRtu,
     0,
     1,
     {{"Type", "coil status"}, {"NPoint", "2000"}},
     ""},
    {"RtuStatusNPointBound",
     Editor::ModbusRtu,
     0,
     1,
     {{"Type", " Input Status "}, {"NPoint", "2001"}},
     "Error row 1!! [Modbus Read] NPoint must be between 1 and 2000"},
    {"RtuTypeOfBlanksIsARegisterRule",
     Editor::ModbusRtu,
     0,
     1,
     {{"Type", "  "}, {"NPoint", "126"}},
     "Error row 1!! [Modbus Read] NPoint must be between 1 and 125"},
    {"RtuEmptyType",
     Editor::ModbusRtu,
     0,
     1,
     {{"Type", ""}},
     "Error row 1!! [Modbus Read] Type must be Coil Status or Input Status or Holding Register "
     "or Input Register"},
    {"RtuSlaveId248",
     Editor::ModbusRtu,
     0,
     1,
     {{"Slave_ID", "248"}},
     "Error row 1!! [Modbus Read] Slave ID must be between 1 and 247"},
    {"RtuReadPollTimeZero",
     Editor::ModbusRtu,
     0,
     1,
     {{"PollTime", "0"}},
     "Error row 1!! [Modbus Read] Poll Time must be between 1 and 100000000"},
    {"RtuWritePollTimeZero", Editor::ModbusRtu, 1, 1, {{"PollTime", "0"}}, ""},
    {"RtuWriteCoilNPointBound",
     Editor::ModbusRtu,
     1,
     2,
     {{"NPoint", "1969"}},
     "Error row 2!! [Modbus Write] NPoint must be between 1 and 1968"},
    {"RtuWriteRegisterNPointBound",
     Editor::ModbusRtu,
     1,
     1,
     {{"Type", "Holding Register"}, {"NPoint", "124"}},
     "Error row 1!! [Modbus Write] NPoint must be between 1 and 123"},
    {"RtuWriteRegisterEndsAt1500",
     Editor::ModbusRtu,
     1,
     1,
     {{"Type", "Holding Register"}, {"Position", "1499"}, {"NPoint", "1"}},
     "Error row 1!! [Modbus Write] Too many bytes to read starting from the Position indicate"},
    {"RtuWriteMaxErrorNoNumber",
     Editor::ModbusRtu,
     1,
     1,
     {{"MaxError", "7 "}},
     "Error row 1!! [Modbus Write] Max Error must be between 0 and 100000000"},
    {"RtuDisabledRuleIsNotChecked",
     Editor::ModbusRtu,
     0,
     1,
     {{"Enable", "y"}, {"Slave_ID", "0"}},
     ""},
    // The TCP master checks the slave's address as the address reader does, untrimmed.
    {"TcpAddressPasses", Editor::ModbusTcp, 0, 1, {{"IP_Address", "192.168.1.125"}}, ""},
    {"TcpAddressWithATrailingBlank",
     Editor::ModbusTcp,
     0,
     1,
     {{"IP_Address", "192.168.1.125 "}},
     "Error row 1!! [Modbus Read] Slave IP Address must be a valid TCP IP Address (Ex. "
     "192.168.1.125)"},
    {"TcpAddressOfFiveParts",
     Editor::ModbusTcp,
     1,
     1,
     {{"IP_Address", "192.168.1.125.7"}},
     "Error row 1!! [Modbus Write] Slave IP Address must be a valid TCP IP Address (Ex. "
     "192.168.1.125)"},
    {"TcpAddressOfThreeParts",
     Editor::ModbusTcp,
     0,
     1,
     {{"IP_Address", "192.168.1"}},
     "Error row 1!! [Modbus Read] Slave IP Address must be a valid TCP IP Address (Ex. "
     "192.168.1.125)"},
    {"TcpAddressPartAbove255",
     Editor::ModbusTcp,
     0,
     1,
     {{"IP_Address", "192.168.256.1"}},
     "Error row 1!! [Modbus Read] Slave IP Address must be a valid TCP IP Address (Ex. "
     "192.168.1.125)"},
    {"TcpAddressOfBlanksEndsTheRuleList",
     Editor::ModbusTcp,
     0,
     2,
     {{"IP_Address", "   "}, {"Slave_ID", "0"}},
     ""},
    {"TcpPortZeroAnd65535", Editor::ModbusTcp, 0, 2, {{"Port", "65535"}}, ""},
    {"TcpPort65536",
     Editor::ModbusTcp,
     0,
     1,
     {{"Port", "65536"}},
     "Error row 1!! [Modbus Read] Port must be between 0 and 65535"},
    {"TcpReadPollTimeZero",
     Editor::ModbusTcp,
     0,
     1,
     {{"PollTime", "0"}},
     "Error row 1!! [Modbus Read] Poll Time must be between 1 and 100000000"},
    {"TcpRegisterReadEndsAt1500",
     Editor::ModbusTcp,
     0,
     3,
     {{"Position", "1400"}, {"NPoint", "51"}},
     "Error row 3!! [Modbus Read] Too many bytes to save starting from the Position indicate"},
    {"TcpWriteStatusRuleWithoutStartBit",
     Editor::ModbusTcp,
     1,
     1,
     {{"Bit", ""}},
     "Error row 1!! [Modbus Write] Bit must be between 0 and 7"},
    // The identifier's range follows the frame's own Type.
    {"CanCobId2047On11Bits", Editor::CanReceive, 0, 1, {{"COBID", "2047"}}, ""},
    {"CanCobId2048On11Bits",
     Editor::CanReceive,
     0,
     1,
     {{"COBID", "2048"}},
     "Error row 1!! CobID must be between 0 and 2047"},
    {"CanTypeIsTrimmedBeforeItIsCompared",
     Editor::CanReceive,
     0,
     1,
     {{"CAN_Type", " 2.0A (11 bits) "}, {"COBID", "0x800"}},
     "Error row 1!! CobID must be between 0 and 2047"},
    {"CanCobId2048On29Bits",
     Editor::CanReceive,
     0,
     1,
     {{"CAN_Type", "2.0B (29 bits)"}, {"COBID", "2048"}},
     ""},
    {"CanCobIdLargestOn29Bits",
     Editor::CanReceive,
     0,
     1,
     {{"CAN_Type", "2.0B (29 bits)"}, {"COBID", "0x1FFFFFFF"}},
     ""},
    {"CanCobIdAbove29Bits",
     Editor::CanReceive,
     0,
     2,
     {{"CAN_Type", "2.0B (29 bits)"}, {"COBID", "0x20000000"}},
     "Error row 2!! CobID must be between 0x00000000 and 0x1FFFFFFF"},
    {"CanBlankTypeIs29Bits", Editor::CanReceive, 0, 1, {{"CAN_Type", ""}, {"COBID", "$7FFF"}}, ""},
    {"CanLowerCaseYEnables",
     Editor::CanReceive,
     0,
     1,
     {{"Enable", " y"}, {"COBID", "5000"}},
     "Error row 1!! CobID must be between 0 and 2047"},
    {"CanDimensionZero",
     Editor::CanReceive,
     0,
     1,
     {{"Dim", "0"}},
     "Error row 1!! Dimension must be between 1 and 8"},
    {"CanEmptyTimeOut",
     Editor::CanReceive,
     0,
     1,
     {{"TimeOut", ""}},
     "Error row 1!! TimeOut must be between 0 and 100000000 milliseconds"},
    // Only the bytes the frame carries are checked.
    {"CanByteBeyondTheFrame", Editor::CanReceive, 0, 1, {{"Dim", "2"}, {"Byte3", "5000"}}, ""},
    {"CanByteWithinTheFrame",
     Editor::CanReceive,
     0,
     1,
     {{"Dim", "3"}, {"Byte3", "5000"}},
     "Error row 1!! Byte3 must be between 0 and 1999 or None"},
    {"CanBytesNoneBlankAndLargest",
     Editor::CanReceive,
     0,
     1,
     {{"Dim", "3"}, {"Byte1", " None "}, {"Byte2", ""}, {"Byte3", "1999"}},
     ""},
    {"CanByteNoneIsComparedExactly",
     Editor::CanReceive,
     0,
     1,
     {{"Byte1", "none"}},
     "Error row 1!! Byte1 must be between 0 and 1999 or None"},
    {"CanByteAboveTheArea",
     Editor::CanReceive,
     0,
     1,
     {{"Dim", "2"}, {"Byte2", "2000"}},
     "Error row 1!! Byte2 must be between 0 and 1999 or None"},
    {"CanByteNegative",
     Editor::CanReceive,
     0,
     1,
     {{"Byte1", "-1"}},
     "Error row 1!! Byte1 must be between 0 and 1999 or None"},
    {"CanTransmitNotOnATimerNeedsNoTime",
     Editor::CanTransmit,
     0,
     1,
     {{"OnTimer", "N"}, {"Time", ""}},
     ""},
    {"CanTransmitOnATimerNeedsATime",
     Editor::CanTransmit,
     0,
     1,
     {{"OnTimer", "Y"}, {"Time", ""}},
     "Error row 1!! Time must be between 0 and 100000000 milliseconds"},
    {"CanTransmitLowerCaseOnTimer",
     Editor::CanTransmit,
     0,
     1,
     {{"OnTimer", "y"}, {"Time", "100000001"}},
     "Error row 1!! Time must be between 0 and 100000000 milliseconds"},
    {"CanTransmitLastByteLargest",
     Editor::CanTransmit,
     0,
     1,
     {{"Dim", "8"}, {"Byte8", "3399"}},
     ""},
    {"CanTransmitLastByteAboveTheArea",
     Editor::CanTransmit,
     0,
     3,
     {{"Dim", "8"}, {"Byte8", "3400"}},
     "Error row 3!! Byte8 must be between 0 and 3399 or None"},
    {"CanTransmitCobIdOn11Bits",
     Editor::CanTransmit,
     0,
     1,
     {{"COBID", "0x800"}},
     "Error row 1!! CobID must be between 0 and 2047"},
    // Every channel is checked; the row in the message is the channel.
    {"DmxHexadecimal", Editor::Dmx, 0, 1, {{"Default_Value", "0xFF"}}, ""},
    {"DmxAbove255",
     Editor::Dmx,
     0,
     7,
     {{"Default_Value", "256"}},
     "Error row 7!! Default Value must be between 0 and 255"},
    {"DmxEmpty",
     Editor::Dmx,
     0,
     24,
     {{"Default_Value", ""}},
     "Error row 24!! Default Value must be between 0 and 255"},
    {"DmxNegative",
     Editor::Dmx,
     0,
     1,
     {{"Default_Value", "-1"}},
     "Error row 1!! Default Value must be between 0 and 255"},
    // A blank before the number is skipped as every integer text of the program does.
    {"DmxBlankBeforeTheNumber", Editor::Dmx, 0, 1, {{"Default_Value", " 5"}}, ""},
    {"DmxBlankAfterTheNumber",
     Editor::Dmx,
     0,
     1,
     {{"Default_Value", "5 "}},
     "Error row 1!! Default Value must be between 0 and 255"},
};

void PrintTo(const CheckCase& c, std::ostream* os) { *os << c.name; }

class Checks : public ::testing::TestWithParam<CheckCase> {};

TEST_P(Checks, FirstFaultAndItsExactMessage)
{
    const CheckCase& c = GetParam();
    RuleFile file(specOf(c.editor));
    RuleTable& table = file.tables[std::size_t(c.table)];
    for (int r = 1; r <= c.row; ++r)
        apply(table, r, validRule(c.editor, c.table));
    apply(table, c.row, c.cells);
    const RuleFault fault = Controllo_dati(file);
    EXPECT_EQ(ruleFaultMessage(fault, file.spec, english()).toStdString(), std::string(c.expected));
    if (!fault.ok()) {
        EXPECT_EQ(fault.table, c.table);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, Checks, ::testing::ValuesIn(kCheckCases), test::CaseName());

// ---- what a file loads as ---------------------------------------------------------------------

RuleLoadReport load(RuleFile& file, const QByteArray& xml)
{
    return loadRuleFile(file, parseProjectXml(xml, QStringLiteral("test.xml")));
}

TEST(ModbusFile, TopicIndexIsReadButWrittenEmptyBySerialAndMinusOneByTcpMaster)
{
    const QByteArray rowAttrs =
        R"(Slave_ID="1" Type="Coil Status" Address="0" NPoint="1" PollTime="1" MaxError="0" )"
        R"(Position="0" Bit="0" Index_Topic="5" Mnemonic="m")";
    RuleFile rtu(modbusRtuRuleSpec());
    ASSERT_TRUE(load(rtu, "<EtherNetIP_to_Modbus><Modbus_Read><row " + rowAttrs
                              + "/></Modbus_Read><Modbus_Write/></EtherNetIP_to_Modbus>")
                    .missingValues.isEmpty());
    const RuleTable& read = rtu.tables[0];
    // No topic list: the index names no topic and the cell is empty, but the index is kept.
    EXPECT_EQ(read.text(u"Index_Topic", 1), QString());
    EXPECT_EQ(read.rowObject(1).toInt(), 5);
    EXPECT_EQ(read.text(u"Enable", 1), QStringLiteral("Y"));
    EXPECT_EQ(read.text(u"Swap", 1), QStringLiteral("N"));
    EXPECT_TRUE(ruleFileBytes(rtu).contains(R"(SwapWord="N" Index_Topic="" Mnemonic="m")"));

    RuleFile tcp(modbusTcpRuleSpec());
    load(tcp, R"(<PROFINET_Master_to_Modbus_TCP_Master><Modbus_Read><row IP_Address="1.2.3.4" )"
              R"(Port="502" )"
                  + rowAttrs
                  + "/></Modbus_Read><Modbus_Write/></PROFINET_Master_to_Modbus_TCP_Master>");
    EXPECT_TRUE(ruleFileBytes(tcp).contains(R"(SwapWord="N" Index_Topic="-1" Mnemonic="m")"));

    // With a topic list the index shows its topic and a topic is written as its index.
    RuleFile listed(modbusTcpRuleSpec({"a", "b", "c", "d", "e", "f"}));
    load(listed, R"(<R><Modbus_Read><row IP_Address="1.2.3.4" Port="502" )" + rowAttrs
                     + "/></Modbus_Read><Modbus_Write/></R>");
    EXPECT_EQ(listed.tables[0].text(u"Index_Topic", 1), QStringLiteral("f"));
    EXPECT_TRUE(ruleFileBytes(listed).contains(R"(Index_Topic="5")"));
}

TEST(ModbusFile, RequiredValuesMissingAreReportedAndGuardedOnesTakeTheirDefault)
{
    RuleFile rtu(modbusRtuRuleSpec());
    const RuleLoadReport report = load(
        rtu, R"(<EtherNetIP_to_Modbus><Modbus_Read><row Enable="N" Type="Coil Status" )"
             R"(Address="0" NPoint="1" PollTime="1" MaxError="0" Position="0" Bit="0" )"
             R"(Mnemonic=""/></Modbus_Read><Modbus_Write><row Slave_ID="2" Type="Coil Status" )"
             R"(Address="0" NPoint="1" PollTime="1" MaxError="0" Position="0" Bit="0" )"
             R"(Mnemonic="" OnChange="Y"/></Modbus_Write></EtherNetIP_to_Modbus>)");
    ASSERT_EQ(report.missingValues.size(), 1);
    EXPECT_EQ(report.missingValues[0].table, 0);
    EXPECT_EQ(report.missingValues[0].attribute, QStringLiteral("Slave_ID"));
    EXPECT_TRUE(report.missingTables.isEmpty());
    const RuleTable& write = rtu.tables[1];
    EXPECT_EQ(write.text(u"Enable", 1), QStringLiteral("Y"));
    EXPECT_EQ(write.text(u"OnCMD", 1), QStringLiteral("N"));
    EXPECT_EQ(write.text(u"SwapWord", 1), QStringLiteral("N"));
}

TEST(CanFile, TransmitFramesWithoutTheirSendingValuesLoadWithTheirDefaults)
{
    RuleFile file(canTransmitRuleSpec());
    const RuleLoadReport report =
        load(file, R"(<Transmit_Frames><row COBID="1" Dim="1"/><row COBID="2" OnTimer="Y"/>)"
                   R"(<row COBID="3" OnTimer="N" Time="5"/><row COBID="2048"/></Transmit_Frames>)");
    // Every value of a frame is read with its own default: nothing to report.
    EXPECT_TRUE(report.missingValues.isEmpty());
    EXPECT_FALSE(report.askBeforeOverwrite());
    const RuleTable& t = file.tables[0];
    struct Expected {
        int row;
        const char *onChange, *onCmd, *onTimer, *time;
    };
    for (const Expected& e : {Expected{1, "Y", "N", "N", ""}, Expected{2, "Y", "N", "Y", "0"},
                              Expected{3, "Y", "N", "N", "5"}}) {
        EXPECT_EQ(t.text(u"Enable", e.row), QStringLiteral("Y")) << e.row;
        EXPECT_EQ(t.text(u"CAN_Type", e.row), QStringLiteral("2.0A (11 bits)")) << e.row;
        EXPECT_EQ(t.text(u"OnChange", e.row), QLatin1String(e.onChange)) << e.row;
        EXPECT_EQ(t.text(u"OnCMD", e.row), QLatin1String(e.onCmd)) << e.row;
        EXPECT_EQ(t.text(u"OnTimer", e.row), QLatin1String(e.onTimer)) << e.row;
        EXPECT_EQ(t.text(u"Time", e.row), QLatin1String(e.time)) << e.row;
    }
    // A frame without a Type is an 11-bit frame: its identifier must then fit 11 bits.
    file.tables[0].setCell(t.spec().col(u"Dim"), 2, QStringLiteral("1"));
    file.tables[0].setCell(t.spec().col(u"Time"), 2, QStringLiteral("0"));
    file.tables[0].setCell(t.spec().col(u"Dim"), 3, QStringLiteral("1"));
    file.tables[0].setCell(t.spec().col(u"Dim"), 4, QStringLiteral("1"));
    EXPECT_EQ(ruleFaultMessage(Controllo_dati(file), file.spec, english()),
              QStringLiteral("Error row 4!! CobID must be between 0 and 2047"));
}

TEST(CanFile, ReceivedFrameWithoutTimeOutOrIdentifier)
{
    RuleFile file(canReceiveRuleSpec());
    load(file, R"(<Receive_Frames><row COBID="1" Mnemonic="a"/><row Dim="2"/>)"
               R"(<row COBID="3"/></Receive_Frames>)");
    const RuleTable& t = file.tables[0];
    EXPECT_EQ(t.text(u"TimeOut", 1), QStringLiteral("0"));
    EXPECT_EQ(t.text(u"Byte1", 1), QString());
    // The frame without an identifier ends the list: the frame after it is not saved.
    EXPECT_EQ(t.text(u"COBID", 2), QString());
    EXPECT_EQ(t.ruleCount(), 1);
    EXPECT_EQ(t.rowsBelowRuleList(), 2);
}

struct ChannelCase {
    const char* name;
    const char* parGen;  // nullptr: no file
    int channels;
    std::optional<int> outOfRange;
    bool error;
};

void PrintTo(const ChannelCase& c, std::ostream* os) { *os << c.name; }

const ChannelCase kChannelCases[] = {
    {"NoFile", nullptr, 512, std::nullopt, false},
    {"NoElement", "<Par_Gen><LoRa_FPort>Fixed</LoRa_FPort></Par_Gen>", 512, std::nullopt, false},
    {"NoInteger", "<Par_Gen><DMX_Num_Channels>many</DMX_Num_Channels></Par_Gen>", 512, std::nullopt,
     false},
    {"Smallest", "<Par_Gen><DMX_Num_Channels>24</DMX_Num_Channels></Par_Gen>", 24, std::nullopt,
     false},
    {"BlankBefore", "<Par_Gen><DMX_Num_Channels> 0x30</DMX_Num_Channels></Par_Gen>", 48,
     std::nullopt, false},
    {"Largest", "<Par_Gen><DMX_Num_Channels>512</DMX_Num_Channels></Par_Gen>", 512, std::nullopt,
     false},
    {"BelowTheRange", "<Par_Gen><DMX_Num_Channels>23</DMX_Num_Channels></Par_Gen>", 512, 23, false},
    {"Zero", "<Par_Gen><DMX_Num_Channels>0</DMX_Num_Channels></Par_Gen>", 512, 0, false},
    {"Hostile", "<Par_Gen><DMX_Num_Channels>2000000000</DMX_Num_Channels></Par_Gen>", 512,
     2000000000, false},
    {"NotWellFormed", "<Par_Gen><DMX_Num_Channels>24", 512, std::nullopt, true},
};

class DmxChannels : public ::testing::TestWithParam<ChannelCase> {};

TEST_P(DmxChannels, FromTheGeneralParametersWithinTheUniverse)
{
    const ChannelCase& c = GetParam();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("ParGen.xml"));
    if (c.parGen) {
        ASSERT_TRUE(test::writeFile(path, c.parGen));
    }
    const DMXChannelCount count = readDMXChannelCount(path);
    EXPECT_EQ(count.channels, c.channels);
    EXPECT_EQ(count.outOfRange, c.outOfRange);
    EXPECT_EQ(!count.parGenError.isEmpty(), c.error);
    if (c.error) {
        EXPECT_TRUE(count.parGenError.contains(QStringLiteral("ParGen.xml")));
    }
    EXPECT_EQ(RuleFile(dmxRuleSpec(count.channels)).tables[0].rowCount(), c.channels + 1);
}

INSTANTIATE_TEST_SUITE_P(Files, DmxChannels, ::testing::ValuesIn(kChannelCases), test::CaseName());

TEST(DmxFile, FewerRowsThanChannelsLeaveZeroAndEveryChannelIsWritten)
{
    RuleFile file(dmxRuleSpec(30));
    QByteArray xml = "<DMX_Default_Values>";
    for (int i = 1; i <= 10; ++i)
        xml += "<Row Default_Value=\"" + QByteArray::number(i) + "\"/>";
    const RuleLoadReport report = load(file, xml + "</DMX_Default_Values>");
    EXPECT_FALSE(report.askBeforeOverwrite());
    const RuleTable& t = file.tables[0];
    EXPECT_EQ(t.cell(0, 30), QStringLiteral("30"));
    EXPECT_EQ(t.text(u"Default_Value", 10), QStringLiteral("10"));
    EXPECT_EQ(t.text(u"Mnemonic", 10), QString());
    EXPECT_EQ(t.text(u"Default_Value", 11), QStringLiteral("0"));
    EXPECT_EQ(t.text(u"Default_Value", 30), QStringLiteral("0"));
    EXPECT_EQ(ruleFileBytes(file).count("<Row "), 30);
}

TEST(ModbusTopic, IndexAndTopicLookUps)
{
    const QStringList topics = {"a", "b", "a"};
    EXPECT_EQ(Get_Index_From_Topic(topics, "a", 2), 2);
    EXPECT_EQ(Get_Index_From_Topic(topics, "a", 1), 0);
    EXPECT_EQ(Get_Index_From_Topic(topics, "A"), -1);
    EXPECT_EQ(Get_Index_From_Topic({}, ""), -1);
    EXPECT_EQ(Get_Topic_From_Index(topics, 1), QStringLiteral("b"));
    EXPECT_EQ(Get_Topic_From_Index(topics, 3), QString());
    EXPECT_EQ(Get_Topic_From_Index(topics, -1), QString());
}

}  // namespace
}  // namespace zfw
