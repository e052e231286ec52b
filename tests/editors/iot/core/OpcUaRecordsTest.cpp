#include "editors/iot/core/UOpcUaRecords.h"

#include "support/CaseName.h"

#include <gtest/gtest.h>

namespace zfw {
namespace {

// A node id typed under a kind and read back: the text the grid and the file show afterwards.
struct NodeIdCase {
    const char* name;
    const char* kind;
    const char* typed;
    const char* shown;
    const char* kindShown;
};

const NodeIdCase kNodeIds[] = {
    {"NumericMax", "Numeric", "4294967295", "4294967295", "Numeric"},
    {"NumericTooLarge", "Numeric", "4294967296", "0", "Numeric"},
    {"NumericNegative", "Numeric", "-1", "0", "Numeric"},
    {"NumericNotANumber", "Numeric", "abc", "0", "Numeric"},
    {"NumericHex", "Numeric", "0x10", "16", "Numeric"},
    {"NumericDollarHex", "Numeric", "$FF", "255", "Numeric"},
    {"NumericLeadingBlanksAndZeros", "Numeric", "  0042", "42", "Numeric"},
    {"NumericHugeDigits", "Numeric", "99999999999999999999999", "0", "Numeric"},
    {"UnknownKindIsNumeric", "Opaque", "7", "7", "Numeric"},
    {"KindInAnyCase", "gUiD", "1", "00000001-0000-0000-0000-000000000000", "Guid"},
    {"StringKept", "String", " Tank.Level ", " Tank.Level ", "String"},
    {"ByteStringNotDecoded", "bytestring", "0A0B", "0A0B", "ByteString"},
    {"GuidLowerCase", "Guid", "a1b2c3d4-e5f6-a7b8-c9d0-e1f2a3b4c5d6",
     "A1B2C3D4-E5F6-A7B8-C9D0-E1F2A3B4C5D6", "Guid"},
    {"GuidNoHyphen", "Guid", "  1A  ", "0000001A-0000-0000-0000-000000000000", "Guid"},
    {"GuidShortGroups", "Guid", "DEADBEEF-A-B-C9D8-E7F6", "DEADBEEF-000A-000B-C9D8-E7F600000000",
     "Guid"},
    {"GuidHyphenInsideByte", "Guid", "A-B-C-D-E", "0000000A-000B-000C-000E-000000000000", "Guid"},
    {"GuidFirstGroupFull", "Guid", "FFFFFFFF-FFFF-FFFF-FFFF-FFFFFFFFFFFF",
     "FFFFFFFF-FFFF-FFFF-FFFF-FFFFFFFFFFFF", "Guid"},
    {"GuidNotHex", "Guid", "xyz-q", "00000000-0000-0000-0000-000000000000", "Guid"},
    {"GuidEmpty", "Guid", "", "00000000-0000-0000-0000-000000000000", "Guid"},
    {"GuidTooManyDigits", "Guid", "123456789-1", "00000000-0001-0000-0000-000000000000", "Guid"},
};

class NodeIdText : public ::testing::TestWithParam<NodeIdCase> {};

TEST_P(NodeIdText, ReadsBackInItsNormalForm)
{
    const NodeIdCase& c = GetParam();
    TOPC_UA_Variable v;
    v.setNodeType(QString::fromUtf8(c.kind));
    v.setNodeID(QString::fromUtf8(c.typed));
    EXPECT_EQ(v.NodeID(), QString::fromUtf8(c.shown));
    EXPECT_EQ(v.NodeType(), QString::fromUtf8(c.kindShown));
}

INSTANTIATE_TEST_SUITE_P(Kinds, NodeIdText, ::testing::ValuesIn(kNodeIds), test::CaseName{});

TEST(OpcUaVariable, OtherKindsKeepTheirFieldsAndAnUnknownKindShowsNothing)
{
    TOPC_UA_Variable v;
    v.setNodeType(QStringLiteral("String"));
    v.setNodeID(QStringLiteral("s1"));
    v.setNodeType(QStringLiteral("Numeric"));
    v.setNodeID(QStringLiteral("12"));
    v.setNodeType(QStringLiteral("String"));
    EXPECT_EQ(v.NodeID(), QStringLiteral("s1"));
    EXPECT_EQ(v.numeric, 12u);

    v.identifierType = 9;  // a kind no name stands for, as a browse may deliver
    EXPECT_EQ(v.NodeType(), QString());
    EXPECT_EQ(v.NodeID(), QString());
    v.setNodeID(QStringLiteral("99"));
    EXPECT_EQ(v.numeric, 12u);
}

struct VarTypeCase {
    const char* name;
    const char* typed;
    int number;
    const char* shown;
    int bytes;
};

const VarTypeCase kVarTypes[] = {
    {"DateTimeAnyCase", "datetime", 12, "DateTime", 8},
    {"Guid", "Guid", 13, "Guid", 16},
    {"String", "String", 11, "String", 20},
    {"ByteString", "BYTESTRING", 14, "ByteString", 20},
    {"Int32", "Int32", 5, "Int32", 4},
    {"Double", "Double", 10, "Double", 8},
    {"Int16", "int16", 3, "Int16", 2},
    {"Boolean", "Boolean", 0, "Boolean", 1},
    {"UnknownName", "Real", 0, "Boolean", 0},
    {"Empty", "", 0, "Boolean", 0},
};

class VarTypeText : public ::testing::TestWithParam<VarTypeCase> {};

TEST_P(VarTypeText, SetsTheNumberAndLength)
{
    const VarTypeCase& c = GetParam();
    TOPC_UA_Variable v;
    v.setVarType(QString::fromUtf8(c.typed));
    EXPECT_EQ(v.dataType, c.number);
    EXPECT_EQ(v.VarType(), QString::fromUtf8(c.shown));
    EXPECT_EQ(GetLenVarType(QString::fromUtf8(c.typed)), c.bytes);
}

INSTANTIATE_TEST_SUITE_P(Names, VarTypeText, ::testing::ValuesIn(kVarTypes), test::CaseName{});

TEST(OpcUaVariable, DataTypeNumbersOutsideTheTableReadAsBoolean)
{
    TOPC_UA_Variable v;
    for (int n : {-1, 15, 99}) {
        v.dataType = n;
        EXPECT_EQ(v.VarType(), QStringLiteral("Boolean")) << n;
    }
}

TEST(OpcUaVariable, CreateDefaults)
{
    const TOPC_UA_Variable v;
    EXPECT_FALSE(v.Enable);
    EXPECT_EQ(v.StartBit, QStringLiteral("0"));
    EXPECT_EQ(v.NodeType(), QStringLiteral("Numeric"));
    EXPECT_EQ(v.NodeID(), QStringLiteral("0"));
    EXPECT_EQ(v.VarType(), QStringLiteral("Boolean"));
}

}  // namespace
}  // namespace zfw
