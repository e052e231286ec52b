// The server objects' checks on the tables alone: the area, the length table, the object
// limit and the mnemonics the EDE file cannot carry.

#include "editors/building/core/BACnetServerObjects.h"
#include "support/CaseName.h"
#include "support/Files.h"

#include "common/UComon.h"
#include "common/ULanguage.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zfw {
namespace {

// Data Type, Eng. Unit, Position, Start Bit, Length, Swap, Mnemonic.
void setObject(RuleTable& t, int row, const QStringList& cells)
{
    for (int c = 0; c < cells.size(); ++c)
        t.setCell(c + 1, row, cells[c]);
}

QString firstMessage(const RuleFile& f)
{
    ProgramState lang;
    Fill_Default_Language(lang);
    return ruleFaultMessage(Controllo_dati(f), f.spec, lang);
}

struct ObjectCase {
    const char* name;
    bool write;
    QStringList cells;
    const char* message;
};

const ObjectCase kObjectCases[] = {
    {"AnalogInputPasses", false, {"Analog Input", "62", "0", "", "4", "N", "Flow"}, ""},
    {"BinaryValueAt1499AnyLength", false, {"Binary Value", "95", "1499", "3", "99", "", "B"}, ""},
    {"BinaryWithoutStartBit",
     true,
     {"Binary Out", "95", "10", " ", "1", "N", "B"},
     "Error row 1!! [BACnet in Write] Bit must be between 0 and 7"},
    {"AnalogValue1497Length4",
     false,
     {"Analog Value", "95", "1497", "", "4", "N", "A"},
     "Error row 1!! [BACnet in Read] Too many bytes to save starting from the Position indicate"},
    {"AnalogValue1496Length4", false, {"Analog Value", "95", "1496", "", "4", "N", "A"}, ""},
    {"IntegerValueLength0InRead", false, {"Integer Value", "95", "0", "", "0", "N", "I"}, ""},
    {"IntegerValueLength0InWrite",
     true,
     {"Integer Value", "95", "0", "", "0", "N", "I"},
     "Error row 1!! [BACnet in Write] Length with variable \"Integer Value\" must be between 1 "
     "and 4"},
    {"LengthAbc",
     false,
     {"Analog Input", "95", "0", "", "abc", "N", "A"},
     "Error row 1!! [BACnet in Read] Length with variable \"Analog Input\" must be between 1 and "
     "4"},
    {"LifeSafetyLength3",
     false,
     {"Life Safety Zone", "95", "0", "", "3", "N", "L"},
     "Error row 1!! [BACnet in Read] Length with variable \"Life Safety Zone\" must be 1 or 2"},
    {"AccessDoorLength2",
     true,
     {"Access Door", "95", "0", "", "2", "N", "D"},
     "Error row 1!! [BACnet in Write] Length with variable \"Access Door\" must be equal to 1"},
    {"UnitOutOfRange",
     false,
     {"Analog Input", "65536", "0", "", "4", "N", "A"},
     "Error row 1!! [BACnet in Read] Eng. Unit must be between 0 and 65535"},
    {"UnitEmpty",
     true,
     {"Analog Out", "", "0", "", "4", "N", "A"},
     "Error row 1!! [BACnet in Write] Eng. Unit must be between 0 and 65535"},
    {"Position1500",
     true,
     {"Analog Out", "95", "1500", "", "4", "N", "A"},
     "Error row 1!! [BACnet in Write] Position must be between 0 and 1499"},
    {"UnlistedTypeNotCheckedButPlaced",
     false,
     {"Analog Out", "95", "1499", "", "2", "N", "A"},
     "Error row 1!! [BACnet in Read] Too many bytes to save starting from the Position indicate"},
    {"SemicolonInMnemonic",
     false,
     {"Analog Input", "95", "0", "", "4", "N", "Flow;Return"},
     "Error row 1!! [BACnet in Read] Mnemonic must not hold \";\" or a line break"},
    {"LineBreakInMnemonic",
     true,
     {"Analog Out", "95", "0", "", "4", "N", "Flow\nReturn"},
     "Error row 1!! [BACnet in Write] Mnemonic must not hold \";\" or a line break"},
};

class ServerObjectCheck : public ::testing::TestWithParam<ObjectCase> {};

TEST_P(ServerObjectCheck, FirstMessage)
{
    const ObjectCase& c = GetParam();
    RuleFile f(bacnetServerRuleSpec(false));
    setObject(f.tables[c.write ? 1 : 0], 1, c.cells);
    EXPECT_EQ(firstMessage(f).toStdString(), c.message);
}

INSTANTIATE_TEST_SUITE_P(Objects, ServerObjectCheck, ::testing::ValuesIn(kObjectCases),
                         test::CaseName());

struct CapacityCase {
    const char* name;
    bool longDescriptions;
    int reads;
    int writes;
    const char* message;
};

const CapacityCase kCapacityCases[] = {
    {"Long600And400", true, 600, 400, ""},
    {"Long600And401", true, 600, 401, "Error!! Too many Requests. Max requests 1000"},
    {"Short1200And800", false, 1200, 800, ""},
    {"Short1200And900", false, 1200, 900, "Error!! Too many Requests. Max requests 2000"},
};

class ServerCapacity : public ::testing::TestWithParam<CapacityCase> {};

// The limit counts both tables together, though each alone holds as many rows.
TEST_P(ServerCapacity, BothTablesCountAgainstOneLimit)
{
    const CapacityCase& c = GetParam();
    RuleFile f(bacnetServerRuleSpec(c.longDescriptions));
    const int rows = c.longDescriptions ? 1001 : 2001;
    EXPECT_EQ(f.tables[0].rowCount(), rows);
    EXPECT_EQ(f.tables[1].rowCount(), rows);
    for (int r = 1; r <= c.reads; ++r)
        setObject(f.tables[0], r, {"Binary Input", "95", "0", "0", "", "N", "B"});
    for (int r = 1; r <= c.writes; ++r)
        setObject(f.tables[1], r, {"Binary Out", "95", "0", "0", "", "N", "B"});
    EXPECT_EQ(firstMessage(f).toStdString(), c.message);
}

INSTANTIATE_TEST_SUITE_P(Limits, ServerCapacity, ::testing::ValuesIn(kCapacityCases),
                         test::CaseName());

TEST(ServerObjects, LengthPresetOfTheWriteTypes)
{
    const std::pair<const char*, const char*> cases[] = {
        {"Analog Out", "4"},         {"Analog Value", "4"},       {"Positive Integer Value", "4"},
        {"Integer Value", "4"},      {"Multi State Output", "4"}, {"Multi State Value", "4"},
        {"Large Analog Value", "8"}, {"Binary Out", "1"},         {"binary value", "1"},
        {"Access Door", "1"},        {"Analog Input", ""},        {"", ""},
    };
    for (const auto& [type, length] : cases)
        EXPECT_EQ(bacnetServerLengthPreset(QString::fromLatin1(type)), QLatin1String(length))
            << type;
}

TEST(ServerObjects, LongDescriptionsOnlyForExactlyOne)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ParGen.xml"));
    EXPECT_FALSE(readBACnetLongDescriptions(path));
    const std::pair<const char*, bool> cases[] = {
        {"<P><BACnet_Desc_Chars_Limit>1</BACnet_Desc_Chars_Limit></P>", true},
        {"<P><BACnet_Desc_Chars_Limit> 1</BACnet_Desc_Chars_Limit></P>", false},
        {"<P><BACnet_Desc_Chars_Limit>0</BACnet_Desc_Chars_Limit></P>", false},
        {"<P><BACnet_Desc_Chars_Limit>1</P>", false},
    };
    for (const auto& [xml, expected] : cases) {
        ASSERT_TRUE(test::writeFile(path, xml));
        EXPECT_EQ(readBACnetLongDescriptions(path), expected) << xml;
    }
}

}  // namespace
}  // namespace zfw
