// The SNMP agent's check: one table of read and write rows and the first message, exact texts
// included; and the character rule.

#include "editors/iot/core/USNMP_Trap_AccessSpec.h"

#include "common/UComon.h"
#include "editors/iot/core/CheckRows.h"
#include "support/CaseName.h"

#include <gtest/gtest.h>

#include <utility>

namespace zfw {
namespace {

using test::Cells;

// Rows that pass every check; the cases change only what they test.
void setRow(RuleTable& t, bool write, int row, const Cells& changes)
{
    Cells cells = {{"Community_Name", "public"},
                   {"Type", "Int"},
                   {"Position", "0"},
                   {"Bit", "0"},
                   {"NumBits", "16"},
                   {"Conversion", "None"},
                   {"Description", QStringLiteral("%1%2").arg(write ? "out" : "in").arg(row)}};
    if (!write)
        cells["IP_Address"] = "127.0.0.1";
    test::setCells(t, row, std::move(cells), changes);
}

struct CheckCase {
    std::string name;
    std::vector<Cells> read;  // rows 1, 2, ... of the read table
    std::vector<Cells> write;
    const char* message;  // "" when the check passes
};

class SnmpTrapChecks : public ::testing::TestWithParam<CheckCase> {};

TEST_P(SnmpTrapChecks, FirstFaultAndItsMessage)
{
    RuleFile f(snmpTrapSpec());
    for (std::size_t r = 0; r < GetParam().read.size(); ++r)
        setRow(f.tables[0], false, int(r) + 1, GetParam().read[r]);
    for (std::size_t r = 0; r < GetParam().write.size(); ++r)
        setRow(f.tables[1], true, int(r) + 1, GetParam().write[r]);
    EXPECT_EQ(ruleFaultMessage(Controllo_dati(f), f.spec, test::defaultLanguage()).toStdString(),
              GetParam().message);
}

const char* const kUnique = "Error!! The Descriptions must be all differents";
const char* const kReadDescription =
    "Error row 2!! [SNMP Read] Description is not correct (allowed characters are \"a\"..\"z\", "
    "\"A\"..\"Z\" and \"0\"..\"9\"). First character must be a letter and must be lowercase";

const CheckCase kCases[] = {
    {"Valid", {{}, {{"Type", "String"}, {"NumBits", "16"}}}, {{}, {}}, ""},
    {"OneEmptyDescription", {{{"Description", ""}}}, {{}}, ""},
    {"TwoEmptyDescriptionsAcrossTables", {{{"Description", ""}}}, {{{"Description", ""}}}, kUnique},
    {"CaseAfterTheFirstDiffers", {{{"Description", "tempA"}}}, {{{"Description", "tempa"}}}, ""},
    {"SameDescriptionReadAndWrite",
     {{{"Description", "level"}}},
     {{{"Description", "level"}}},
     kUnique},
    {"DisabledRowsTakeNoPart",
     {{{"Description", "level"}}, {{"Enable", "N"}, {"Description", "level"}}},
     {},
     ""},
    {"UpperCaseFirst", {{}, {{"Description", "Temp"}}}, {}, kReadDescription},
    {"DigitFirst", {{}, {{"Description", "9temp"}}}, {}, kReadDescription},
    {"OtherScript", {{}, {{"Description", "t\u00e9mp"}}}, {}, kReadDescription},
    {"WriteDescription",
     {},
     {{{"Description", "a_b"}}},
     "Error row 1!! [SNMP Write] Descrtiption is not correct (allowed characters are "
     "\"a\"..\"z\", \"A\"..\"Z\" and \"0\"..\"9\"). First character must be a letter and must be "
     "lowercase"},
    {"ReadFixedName",
     {{{"Description", "data"}}},
     {},
     "Error row 1!! [SNMP Read] Description is a name the MIB already uses (like data, countin, "
     "bufferinval2 or trapval1)"},
    {"WriteGeneratedName",
     {},
     {{}, {{"Description", "trapval1"}}},
     "Error row 2!! [SNMP Write] Description is a name the MIB already uses (like data, "
     "countin, bufferoutval2 or trapval1)"},
    {"CommunityWithHyphen",
     {{{"Community_Name", "pub-lic"}}},
     {},
     "Error row 1!! [SNMP Read] Community Name is not correct (allowed characters are "
     "\"a\"..\"z\", \"A\"..\"Z\" and \"0\"..\"9\")"},
    {"CommunityUpperFirst", {{{"Community_Name", "Public"}}}, {{{"Community_Name", "9x"}}}, ""},
    {"DisabledRowWithBadCommunityAndType",
     {{{"Enable", "N"}, {"Community_Name", "p u b"}, {"Type", ""}}},
     {},
     ""},
    {"EnableLowerCaseY",
     {{{"Enable", "y"}, {"Type", " "}}},
     {},
     "Error row 1!! [SNMP Read] Type must be selected"},
    {"EnableBlankBeforeY", {{{"Enable", " Y"}, {"Type", " "}}}, {}, ""},
    {"WriteNoType", {}, {{{"Type", ""}}}, "Error row 1!! [SNMP Write] Type must be selected"},
    {"TimeEmptyWithoutTimer", {{{"On_Timer", "N"}, {"Time", ""}}}, {}, ""},
    {"TimeZeroWithTimer",
     {{{"On_Timer", "Y"}, {"Time", "0"}}},
     {},
     "Error row 1!! [SNMP Read] Time must be between 1 and 1000000000 ms"},
    {"TimeHexadecimal", {{{"On_Timer", "y"}, {"Time", "$10"}}}, {}, ""},
    {"TimeBeforePosition",
     {{{"On_Timer", "Y"}, {"Time", "x"}, {"Position", ""}}},
     {},
     "Error row 1!! [SNMP Read] Time must be between 1 and 1000000000 ms"},
    {"ReadNoPosition",
     {{{"Position", ""}}},
     {},
     "Error row 1!! [SNMP Read] Position must be selected"},
    {"WriteNoStartBit",
     {},
     {{{"Bit", " "}}},
     "Error row 1!! [SNMP Write] Start Bit must be selected"},
    {"ReadStringStartBit3",
     {{{"Type", "String"}, {"Bit", "3"}, {"NumBits", "4"}}},
     {},
     "Error row 1!! [SNMP Read] Start Bit must be 0 if Type is String"},
    {"WriteStringStartBit3",
     {},
     {{{"Type", "String"}, {"Bit", "3"}, {"NumBits", "4"}}},
     "Error row 1!! [SNMP Write] Start Bit must be 0 if Type is String"},
    {"IntStartBit3", {{{"Type", "iNT"}, {"Bit", "3"}, {"NumBits", "64"}}}, {}, ""},
    {"ReadString17Bytes",
     {{{"Type", "String"}, {"NumBits", "17"}}},
     {},
     "Error row 1!! [SNMP Read] Num Bits/Bytes must be between 1 and 16 bytes"},
    {"WriteString17Bytes",
     {},
     {{{"Type", "String"}, {"NumBits", "17"}}},
     "Error row 1!! [SNMP Write] Num Bits/Bytes must be between 1 and 16 bytes"},
    {"OtherTypeIsString",
     {{{"Type", "Float"}, {"NumBits", "32"}}},
     {},
     "Error row 1!! [SNMP Read] Num Bits/Bytes must be between 1 and 16 bytes"},
    {"Int65Bits",
     {{{"NumBits", "65"}}},
     {},
     "Error row 1!! [SNMP Read] Num Bits/Bytes must be between 1 and 64 bits"},
    {"WriteIntZeroBits",
     {},
     {{{"NumBits", "0"}}},
     "Error row 1!! [SNMP Write] Num Bits/Bytes must be between 1 and 64 bits"},
    {"AddressOnEveryEnabledReadRow",
     {{{"IP_Address", ""}}},
     {},
     "Error row 1!! [SNMP Read] IP Address must be a valid TCP IP Address (Ex. 192.168.1.125)"},
    {"ReadNoConversion",
     {{{"Conversion", ""}}},
     {},
     "Error row 1!! [SNMP Read] Conversion must be selected"},
    {"WriteNoConversion",
     {},
     {{{"Conversion", " "}}},
     "Error row 1!! [SNMP Write] Conversion must be selected"},
    {"EmptyCommunityEndsTheTable",
     {{}, {{"Community_Name", " "}}, {{"Type", ""}, {"Description", "in1"}}},
     {},
     ""},
};
INSTANTIATE_TEST_SUITE_P(Table, SnmpTrapChecks, ::testing::ValuesIn(kCases), test::CaseName());

TEST(SnmpTrapCharacterRule, LettersAndDigitsAndALowerCaseFirst)
{
    struct Case {
        const char* text;
        bool community;    // fault with Check_Type 0
        bool description;  // fault with Check_Type 1
    };
    const Case cases[] = {{"", false, false},       {"public", false, false},
                          {"Public9", false, true}, {"9abc", false, true},
                          {"ab cd", true, true},    {"a.b", true, true},
                          {"t\u00e9", true, true},  {"zZ09", false, false}};
    for (const Case& c : cases) {
        const QString text = QString::fromUtf8(c.text);
        EXPECT_EQ(Check_Error_CommName_Desc(text, 0), c.community) << c.text;
        EXPECT_EQ(Check_Error_CommName_Desc(text, 1), c.description) << c.text;
    }
}

}  // namespace
}  // namespace zfw
