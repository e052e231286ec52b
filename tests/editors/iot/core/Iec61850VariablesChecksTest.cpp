// The IEC 61850 server variables' check: one table of rows and the first message, exact texts
// included.

#include "editors/iot/core/UIEC61850_VariablesSpec.h"

#include "common/UComon.h"
#include "editors/iot/core/CheckRows.h"
#include "support/CaseName.h"

#include <gtest/gtest.h>

namespace zfw {
namespace {

using test::Cells;

// A row that passes every check; the cases change only what they test.
void setRow(RuleTable& t, int row, const Cells& changes)
{
    test::setCells(t, row,
                   {{"Enable", "Y"},
                    {"Name", QStringLiteral("var%1").arg(row)},
                    {"Type", "Int"},
                    {"Length", "4"},
                    {"Position", "0"},
                    {"Conversion", "None"},
                    {"MultiplicationFactor", "None"}},
                   changes);
}

struct CheckCase {
    std::string name;
    std::vector<Cells> rows;  // rows 1, 2, ...
    const char* message;      // "" when the check passes
    QChar separator = QLatin1Char(',');
};

class Iec61850VariablesChecks : public ::testing::TestWithParam<CheckCase> {};

TEST_P(Iec61850VariablesChecks, FirstFaultAndItsMessage)
{
    RuleFile f(iec61850VariablesSpec(kIEC61850Positions, GetParam().separator));
    for (std::size_t r = 0; r < GetParam().rows.size(); ++r)
        setRow(f.tables[0], int(r) + 1, GetParam().rows[r]);
    EXPECT_EQ(ruleFaultMessage(Controllo_dati(f), f.spec, test::defaultLanguage()).toStdString(),
              GetParam().message);
}

const char* const kLength2 = "Error row 2!! Length must be between 1 and 4";
const char* const kFactor2 = "Error row 2!! Molt. Factor must be a valid Float";

const CheckCase kCases[] = {
    {"Valid", {{}, {{"Length", "1"}}}, ""},
    {"DisabledRowIsNotChecked", {{{"Enable", "N"}, {"Length", "9"}}}, ""},
    {"EnableIsTrimmed",
     {{{"Enable", " Y "}, {"Length", "9"}}},
     "Error row 1!! Length must be between 1 and 4"},
    {"LowerCaseEnableIsNotEnabled", {{{"Enable", "y"}, {"Length", "9"}}}, ""},
    {"LengthZero", {{}, {{"Length", "0"}}}, kLength2},
    {"LengthFive", {{}, {{"Length", "5"}}}, kLength2},
    {"LengthEmpty", {{}, {{"Length", ""}}}, kLength2},
    {"Position1437", {{{"Position", "1437"}}}, ""},
    {"Position1438", {{{"Position", "1438"}}}, "Error row 1!! Position must be between 0 and 1437"},
    {"PositionNegative",
     {{{"Position", "-1"}}},
     "Error row 1!! Position must be between 0 and 1437"},
    {"DigitalWithoutStartBit",
     {{{"Type", "Digital (Bit)"}, {"StartBit", " "}}},
     "Error row 1!! Start Bit must be Selected "},
    {"DigitalWithStartBit", {{{"Type", "Digital (Bit)"}, {"StartBit", "7"}}}, ""},
    {"IntWithoutStartBit", {{{"Type", "Int"}, {"StartBit", ""}}}, ""},
    {"PaddedDigitalIsAnotherType", {{{"Type", " Digital (Bit)"}, {"StartBit", ""}}}, ""},
    {"EmptyConversionWhateverTheType",
     {{{"Type", "Float"}, {"Conversion", "  "}}},
     "Error row 1!! Conversion must be Selected "},
    {"FactorNoneInLowerCase", {{}, {{"MultiplicationFactor", " none "}}}, ""},
    {"FactorAbc", {{}, {{"MultiplicationFactor", "abc"}}}, kFactor2},
    {"FactorEmpty", {{}, {{"MultiplicationFactor", ""}}}, kFactor2},
    {"FactorWithComma", {{{"MultiplicationFactor", "0,5"}}}, "", QLatin1Char('.')},
    {"FactorWithPoint", {{{"MultiplicationFactor", "0.5"}}}, "", QLatin1Char(',')},
    {"LengthBeforePosition",
     {{{"Length", "7"}, {"Position", "9999"}}},
     "Error row 1!! Length must be between 1 and 4"},
    // The walk ends at the first blank Name: the faulty row below it is never looked at.
    {"ListEndsAtBlankName", {{}, {{"Name", "  "}}, {{"Length", "9"}}}, ""},
    {"SameBytesTwiceAndPastTheEnd",
     {{{"Position", "1437"}, {"Length", "4"}}, {{"Position", "1437"}}},
     ""},
};

INSTANTIATE_TEST_SUITE_P(Rows, Iec61850VariablesChecks, ::testing::ValuesIn(kCases),
                         test::CaseName());

}  // namespace
}  // namespace zfw
