// The OPC UA server variables' check: one table of rows and the first message, exact texts
// included; and the lengths the data types give.

#include "editors/iot/core/UOPC_UA_Server_AccessSpec.h"

#include "common/UComon.h"
#include "editors/iot/core/CheckRows.h"
#include "support/CaseName.h"

#include <gtest/gtest.h>

#include <map>

namespace zfw {
namespace {

using test::Cells;

struct CheckCase {
    std::string name;
    std::map<int, Cells> rows;  // by row; the other rows stay empty
    const char* message;        // "" when the check passes
};

class OpcUaServerChecks : public ::testing::TestWithParam<CheckCase> {};

TEST_P(OpcUaServerChecks, FirstFaultAndItsMessage)
{
    RuleFile f(opcUaServerSpec());
    RuleTable& t = f.tables[0];
    for (const auto& [row, changes] : GetParam().rows) {
        test::setCells(t, row,
                       {{"Enable", "Y"}, {"Type", "Int32"}, {"Position", "0"}, {"Length", "4"}},
                       changes);
    }
    EXPECT_EQ(ruleFaultMessage(Controllo_dati(f), f.spec, test::defaultLanguage()).toStdString(),
              GetParam().message);
}

const CheckCase kCases[] = {
    {"Valid", {{1, {}}, {2, {{"Type", "String"}, {"Length", "100"}}}}, ""},
    {"Position1999", {{1, {{"Position", "1999"}}}}, ""},
    {"Position2000",
     {{1, {}}, {2, {{"Position", "2000"}}}},
     "Error row 2!! Position Must be Between 0 and 2000"},
    {"PositionEmpty",
     {{1, {{"Position", ""}}}},
     "Error row 1!! Position Must be Between 0 and 2000"},
    {"PositionNegative",
     {{1, {{"Position", "-1"}}}},
     "Error row 1!! Position Must be Between 0 and 2000"},
    {"EmptyNamePasses", {{1, {{"Name", ""}}}}, ""},
    {"DisabledRowIsNotChecked", {{1, {{"Enable", "N"}, {"Position", "5000"}}}}, ""},
    {"RowWithoutTypeIsPassedOver", {{1, {{"Type", " "}, {"Position", "5000"}}}}, ""},
    // The walk does not end at a row without a type: the row below it is checked, although
    // the file would end above it.
    {"WalkGoesPastAnEmptyType",
     {{1, {}}, {2, {}}, {3, {{"Type", ""}}}, {4, {{"Position", "9999"}}}},
     "Error row 4!! Position Must be Between 0 and 2000"},
    {"LastRowIsChecked",
     {{250, {{"Position", "2000"}}}},
     "Error row 250!! Position Must be Between 0 and 2000"},
};

INSTANTIATE_TEST_SUITE_P(Rows, OpcUaServerChecks, ::testing::ValuesIn(kCases), test::CaseName());

TEST(OpcUaServerLengths, FixedTypesFixTheLengthStringsTakeAny)
{
    ASSERT_EQ(opcUaServerVarTypes().size(), 13);
    const std::map<QString, QString> fixed = {{"Boolean", "1"}, {"Signed Byte", "1"},
                                              {"Byte", "1"},    {"Int16", "2"},
                                              {"UInt16", "2"},  {"Int32", "4"},
                                              {"UInt32", "4"},  {"Float", "4"},
                                              {"Int64", "8"},   {"UInt64", "8"},
                                              {"Double", "8"}};
    for (const auto& [type, length] : fixed) {
        const std::optional<OpcUaVarLength> l = opcUaServerVarLength(type);
        ASSERT_TRUE(l) << type.toStdString();
        EXPECT_EQ(l->length, length) << type.toStdString();
        EXPECT_FALSE(l->editable) << type.toStdString();
    }
    for (const char* type : {"String", "ByteString"}) {
        const std::optional<OpcUaVarLength> l = opcUaServerVarLength(QString::fromLatin1(type));
        ASSERT_TRUE(l) << type;
        EXPECT_EQ(l->length, QStringLiteral("10"));
        EXPECT_TRUE(l->editable);
    }
    for (const char* other : {"", "double", " Double", "Int8"})
        EXPECT_FALSE(opcUaServerVarLength(QString::fromLatin1(other))) << other;
}

}  // namespace
}  // namespace zfw
