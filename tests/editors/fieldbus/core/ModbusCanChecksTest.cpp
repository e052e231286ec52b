// The Modbus master, CAN frame and DMX tables without their windows: the first failing check
// and its exact message, and what a file's missing or odd values load as.

#include "editors/fieldbus/core/UModbusRuleSpec.h"
#include "support/CaseName.h"

#include "common/UComon.h"
#include "common/ULanguage.h"

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

enum class Editor { ModbusRtu, ModbusTcp };

RuleFileSpec specOf(Editor e)
{
    switch (e) {
    case Editor::ModbusRtu: return modbusRtuRuleSpec();
    case Editor::ModbusTcp: return modbusTcpRuleSpec();
    }
    return {};
}

Cells validRule(Editor e, int table)
{
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
