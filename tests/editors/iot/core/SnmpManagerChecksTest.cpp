// The SNMP manager's check: one table of rows and the first message, exact texts included;
// the total of the kept texts at its limit.

#include "editors/iot/core/USNMPManagerAccessSpec.h"

#include "common/UComon.h"
#include "editors/iot/core/CheckRows.h"
#include "support/CaseName.h"

#include <gtest/gtest.h>

namespace zfw {
namespace {

using test::Cells;

// A request that passes every check: the cases change only what they test.
void setRow(RuleTable& t, int row, const Cells& changes)
{
    test::setCells(t, row,
                   {{"IP_Address", "127.0.0.1"},
                    {"Version", "2"},
                    {"OID", QStringLiteral("1.3.6.1.2.1.1.5.%1").arg(row)},
                    {"Number_Bytes", "4"},
                    {"ConvertFrom", "None"}},
                   changes);
}

struct CheckCase {
    std::string name;
    std::vector<Cells> rows;  // rows 1, 2, ...
    const char* message;      // "" when the check passes
};

class SnmpManagerChecks : public ::testing::TestWithParam<CheckCase> {};

TEST_P(SnmpManagerChecks, FirstFaultAndItsMessage)
{
    RuleFile f(snmpManagerSpec());
    for (std::size_t r = 0; r < GetParam().rows.size(); ++r)
        setRow(f.tables[0], int(r) + 1, GetParam().rows[r]);
    EXPECT_EQ(ruleFaultMessage(Controllo_dati(f), f.spec, test::defaultLanguage()).toStdString(),
              GetParam().message);
}

const Cells kSame = {{"IP_Address", "10.0.0.9"}, {"Version", "1"}, {"OID", "1.3.6.1"}};

std::vector<Cells> sevenRows(Cells second, Cells seventh)
{
    std::vector<Cells> rows(7);
    rows[1] = std::move(second);
    rows[6] = std::move(seventh);
    return rows;
}

Cells withMode(Cells c, const char* mode)
{
    c["Mode"] = QString::fromLatin1(mode);
    return c;
}

Cells disabled(Cells c)
{
    c["Enable"] = "N";
    return c;
}

const char* const kOidCode2 = "Error row 1!! OID string can contains only number and \".\"";

const CheckCase kCases[] = {
    {"Valid", {{}}, ""},
    {"Version1TakesAnyCredentials",
     {{{"Version", "1"}, {"User", "x y"}, {"Security_Level", "junk"}}},
     ""},
    {"Version3NoAuthNoPrivNeedsNoMode",
     {{{"Version", "3"}, {"Security_Level", "NoAuth NoPriv"}}},
     ""},
    {"Version3AuthNoPrivNeedsAuthMode",
     {{{"Version", "3"}, {"Security_Level", "Auth NoPriv"}}},
     "Error row 1!! Auth Mode must be selected"},
    {"Version3AuthNoPrivWithAuthMode",
     {{{"Version", "3"}, {"Security_Level", "Auth NoPriv"}, {"Auth_Mode", "SHA"}}},
     ""},
    {"Version3AuthPrivNeedsPrivMode",
     {{{"Version", "3"}, {"Security_Level", "Auth Priv"}, {"Auth_Mode", "MD5"}}},
     "Error row 1!! Priv Mode must be selected"},
    {"Version3EmptyLevelNeedsBoth",
     {{{"Version", "3"}, {"Priv_Mode", "AES"}}},
     "Error row 1!! Auth Mode must be selected"},
    {"VersionNoIntegerGetsNoVersion3Checks", {{{"Version", "three"}}}, ""},
    {"BadAddress",
     {{}, {{"IP_Address", "256.1.1.1"}}},
     "Error row 2!! IP Address must be a valid TCP IP Address (Ex. 192.168.1.125)"},
    {"OidLongest", {{{"OID", "4294967295"}}}, ""},
    {"OidStartsWithDot", {{{"OID", ".1.3"}}}, "Error row 1!! OID string cannot start with a \".\""},
    {"OidEndsWithDot", {{{"OID", "1.3."}}}, "Error row 1!! OID string cannot finish with a \".\""},
    {"OidLetter", {{{"OID", "1.3a"}}}, kOidCode2},
    {"OidLetterBeforeLeadingDot", {{{"OID", ".1a"}}}, kOidCode2},
    {"OidEmpty", {{{"OID", ""}}}, kOidCode2},
    {"OidTwoDots",
     {{{"OID", "1..2"}}},
     "Error row 1!! OID string cannot contains two or more consecutive \".\""},
    {"OidNumberTooBig",
     {{{"OID", "4294967296"}}},
     "Error row 1!! OID string cannot contains number major of $FFFFFFFF between two \".\""},
    {"Oid129Characters",
     {{{"OID", QString(129, u'1')}}},
     "Error row 1!! OID string is too much length"},
    {"OidTenThousandCharacters",
     {{{"OID", QString(10000, u'x')}}},
     "Error row 1!! OID string is too much length"},
    {"TimeZeroWithTimer",
     {{{"On_Timer", "Y"}, {"Time", "0"}}},
     "Error row 1!! Time must be between 1 and 100000000 ms"},
    {"TimeZeroWithoutTimer", {{{"On_Timer", "N"}, {"Time", "0"}}}, ""},
    {"TimeHexadecimal", {{{"On_Timer", "Y"}, {"Time", "$10"}}}, ""},
    {"NumBytesZero", {{{"Number_Bytes", "0"}}}, ""},
    {"NumBytes1025",
     {{{"Number_Bytes", "1025"}}},
     "Error row 1!! Number bytes must be between 0 and 1024"},
    {"NoConversion", {{{"ConvertFrom", "  "}}}, "Error row 1!! Conversion not selected"},
    {"DisabledRowNotChecked", {{{"Enable", "N"}, {"IP_Address", "x"}}}, ""},
    {"EmptyAddressEndsTheList", {{}, {{"IP_Address", " "}}, {{"OID", "bad"}}}, ""},
    {"DuplicateRows2And7", sevenRows(kSame, kSame),
     "Error in rows 2 and 7!! Same IP Address, Version and OID used"},
    {"DuplicateTrimmed",
     sevenRows(kSame, {{"IP_Address", " 10.0.0.9 "}, {"Version", "1"}, {"OID", "1.3.6.1"}}),
     "Error in rows 2 and 7!! Same IP Address, Version and OID used"},
    {"DuplicateDiffersOnlyInMode", sevenRows(withMode(kSame, "Get"), withMode(kSame, "Set")),
     "Error in rows 2 and 7!! Same IP Address, Version and OID used"},
    {"DuplicateWithOneDisabled", sevenRows(kSame, disabled(kSame)), ""},
    {"RowFaultComesBeforeDuplicates",
     {kSame, kSame, {{"Number_Bytes", "-1"}}},
     "Error row 3!! Number bytes must be between 0 and 1024"},
    {"LowestFirstRowWins",
     {{{"OID", "9"}}, kSame, {{"OID", "9"}}, kSame, {{"OID", "1.2"}}, {{"OID", "1.2"}}},
     "Error in rows 1 and 3!! Same IP Address, Version and OID used"},
};
INSTANTIATE_TEST_SUITE_P(Table, SnmpManagerChecks, ::testing::ValuesIn(kCases), test::CaseName());

// 512 version 3 requests with OID, User, Auth Pass and Priv Pass of 22 characters each:
// 1 + 512 x 92 = 47105, one over the room; one character less passes.
TEST(SnmpManagerTotal, LimitIsInclusive)
{
    RuleFile f(snmpManagerSpec());
    RuleTable& t = f.tables[0];
    const QString text22(22, u'k');
    for (int r = 1; r <= kSNMPManagerRules; ++r)
        setRow(t, r,
               {{"Version", "3"},
                {"OID", QStringLiteral("1.3.6.1.4.1.57203.%1").arg(r, 4, 10, QLatin1Char('0'))},
                {"User", text22},
                {"Auth_Pass", text22},
                {"Priv_Pass", text22},
                {"Security_Level", "Auth Priv"},
                {"Auth_Mode", "MD5"},
                {"Priv_Mode", "DES"},
                {"Community_String", QString(500, u'c')}});
    EXPECT_EQ(snmpManagerTextTotal(t), 47105);
    EXPECT_EQ(ruleFaultMessage(Controllo_dati(f), f.spec, test::defaultLanguage()).toStdString(),
              "Error!! Too many charaters used for Community Name / User, OID, AuthPass and "
              "PrivPass");
    t.setCell(t.spec().col(u"Priv_Pass"), 512, QString(21, u'k'));
    EXPECT_EQ(snmpManagerTextTotal(t), 47104);
    EXPECT_TRUE(Controllo_dati(f).ok());
    // Without privacy the Priv Pass is not kept, and a disabled request keeps nothing.
    t.setCell(t.spec().col(u"Security_Level"), 1, QStringLiteral("Auth NoPriv"));
    t.setCell(t.spec().col(u"Enable"), 2, QStringLiteral("N"));
    EXPECT_EQ(snmpManagerTextTotal(t), 47104 - 23 - 92);
}

}  // namespace
}  // namespace zfw
