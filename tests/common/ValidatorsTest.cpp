#include "common/UComonValidators.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <ostream>
#include <string>

namespace zfw {
namespace {

QString q(const char* s) { return QString::fromUtf8(s); }

template <typename Case>
std::string caseName(const ::testing::TestParamInfo<Case>& info)
{
    return info.param.name;
}

// Split_IP_Address: outputs start as "?" so that untouched parts show.

struct SplitCase {
    const char* name;
    const char* text;
    bool valid;
    const char* parts[4];
};

void PrintTo(const SplitCase& c, std::ostream* os) { *os << c.name; }

const SplitCase kSplitCases[] = {
    {"blanksAround", "  192.168.2.205  ", true, {"192", "168", "2", "205"}},
    {"blanksInside", "192 . 168 .2. 205", true, {"192", "168", "2", "205"}},
    {"lowest", "0.0.0.0", true, {"0", "0", "0", "0"}},
    {"highest", "255.255.255.255", true, {"255", "255", "255", "255"}},
    {"hexPart", "$C0.168.0.0x0A", true, {"$C0", "168", "0", "0x0A"}},
    {"partAbove255", "192.168.2.256", false, {"192", "168", "2", "256"}},
    {"negativePart", "-1.2.3.4", false, {"-1", "2", "3", "4"}},
    {"fivePartsFourthHoldsDot", "1.2.3.4.5", false, {"1", "2", "3", "4.5"}},
    {"emptyFourthPart", "1.2.3.", false, {"1", "2", "3", ""}},
    {"emptyMiddlePart", "1..3.4", false, {"1", "", "3", "4"}},
    {"letterPart", "1.2.3a.4", false, {"1", "2", "3a", "4"}},
    // Parts cut before the missing dot stay written, the rest untouched.
    {"threePartsOnly", "192.168.2", false, {"192", "168", "?", "?"}},
    {"twoPartsOnly", "192.168", false, {"192", "?", "?", "?"}},
    {"noDot", "192168", false, {"?", "?", "?", "?"}},
    {"empty", "", false, {"?", "?", "?", "?"}},
};

class SplitIpAddress : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitIpAddress, CutsAndChecksFourParts)
{
    const SplitCase& c = GetParam();
    QString p[4] = {q("?"), q("?"), q("?"), q("?")};
    EXPECT_EQ(Split_IP_Address(q(c.text), p[0], p[1], p[2], p[3]), c.valid);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(p[i], q(c.parts[i])) << "part " << i + 1;
}

INSTANTIATE_TEST_SUITE_P(Cases, SplitIpAddress, ::testing::ValuesIn(kSplitCases),
                         caseName<SplitCase>);

// IP_Str_To_Bytes: true means error. Bytes start as 7.

struct BytesCase {
    const char* name;
    const char* text;
    bool error;
    int bytes[4];
};

void PrintTo(const BytesCase& c, std::ostream* os) { *os << c.name; }

const BytesCase kBytesCases[] = {
    {"valid", "192.168.1.10", false, {192, 168, 1, 10}},
    {"highest", "255.255.255.255", false, {255, 255, 255, 255}},
    {"lastAbove255", "10.0.0.256", true, {10, 0, 0, 0}},
    {"firstNotNumber", "a.2.3.4", true, {0, 2, 3, 4}},
    {"fiveParts", "1.2.3.4.5", true, {1, 2, 3, 0}},
    // With a dot missing the third part is empty and the rest goes into the fourth.
    {"threeParts", "1.2.3", true, {1, 2, 0, 3}},
    // Untrimmed: blanks before a number are part of the integer rule, blanks after are not.
    {"blankBeforeNumber", " 1.2.3.4", false, {1, 2, 3, 4}},
    {"blankAfterNumber", "1.2.3.4 ", true, {1, 2, 3, 0}},
    {"emptyLeavesBytes", "", true, {7, 7, 7, 7}},
};

class IpStrToBytes : public ::testing::TestWithParam<BytesCase> {};

TEST_P(IpStrToBytes, WritesAllFourBytes)
{
    const BytesCase& c = GetParam();
    quint8 b[4] = {7, 7, 7, 7};
    EXPECT_EQ(IP_Str_To_Bytes(q(c.text), b[0], b[1], b[2], b[3]), c.error);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(b[i], c.bytes[i]) << "byte " << i + 1;
}

INSTANTIATE_TEST_SUITE_P(Cases, IpStrToBytes, ::testing::ValuesIn(kBytesCases),
                         caseName<BytesCase>);

// Check_IP_Port_Str: outputs start non-zero so that the zeroing on failure shows.

struct PortCase {
    const char* name;
    const char* text;
    bool valid;
    int bytes[4];
    int port;
};

void PrintTo(const PortCase& c, std::ostream* os) { *os << c.name; }

const PortCase kPortCases[] = {
    {"valid", "192.168.0.10:502", true, {192, 168, 0, 10}, 502},
    {"blanksEverywhere", " 192 . 168 . 0 . 10 : 502 ", true, {192, 168, 0, 10}, 502},
    {"portZero", "1.2.3.4:0", true, {1, 2, 3, 4}, 0},
    {"portHighest", "1.2.3.4:65535", true, {1, 2, 3, 4}, 65535},
    {"portAboveRange", "192.168.0.10:65536", false, {0, 0, 0, 0}, 0},
    {"portNegative", "1.2.3.4:-1", false, {0, 0, 0, 0}, 0},
    {"portEmpty", "1.2.3.4:", false, {0, 0, 0, 0}, 0},
    {"noColon", "192.168.0.10", false, {0, 0, 0, 0}, 0},
    {"threeParts", "1.2.3:80", false, {0, 0, 0, 0}, 0},
    {"fiveParts", "1.2.3.4.5:80", false, {0, 0, 0, 0}, 0},
    {"lastPartAbove255", "1.2.3.256:80", false, {0, 0, 0, 0}, 0},
    {"secondColon", "1.2.3.4:80:81", false, {0, 0, 0, 0}, 0},
    {"empty", "", false, {0, 0, 0, 0}, 0},
};

class CheckIpPortStr : public ::testing::TestWithParam<PortCase> {};

TEST_P(CheckIpPortStr, WritesOutputsOnlyWhenValid)
{
    const PortCase& c = GetParam();
    quint8 b[4] = {9, 9, 9, 9};
    quint16 port = 9;
    EXPECT_EQ(Check_IP_Port_Str(q(c.text), b[0], b[1], b[2], b[3], port), c.valid);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(b[i], c.bytes[i]) << "byte " << i + 1;
    EXPECT_EQ(port, c.port);
}

INSTANTIATE_TEST_SUITE_P(Cases, CheckIpPortStr, ::testing::ValuesIn(kPortCases),
                         caseName<PortCase>);

// Check_KNX_Address: 0 valid, 1 invalid.

struct KnxCase {
    const char* name;
    const char* text;
    bool group;
    bool allowZero;
    int expected;
};

void PrintTo(const KnxCase& c, std::ostream* os) { *os << c.name; }

const KnxCase kKnxCases[] = {
    {"indiv111", "1.1.1", false, false, 0},
    {"indivHighest", "15.15.255", false, false, 0},
    {"indivBlanksAroundParts", " 1 . 2 . 3 ", false, false, 0},
    {"indivAreaAbove15", "16.0.1", false, false, 1},
    {"indivLineAbove15", "1.16.1", false, false, 1},
    {"indivDeviceAbove255", "1.1.256", false, false, 1},
    {"indivZeroRefused", "0.0.0", false, false, 1},
    {"indivZeroAllowed", "0.0.0", false, true, 0},
    {"indivTwoParts", "1.1", false, true, 1},
    {"indivFourParts", "1.1.1.1", false, true, 1},
    {"indivEmptyPart", "1..1", false, true, 1},
    {"indivSlash", "1/1/1", false, true, 1},
    {"indivPlainNumber", "4660", false, false, 0},
    {"indivPlainZero", "0", false, true, 1},
    {"indivPlainHighest", "65535", false, false, 0},
    {"indivPlainAbove", "65536", false, false, 1},
    {"indivEmpty", "", false, true, 1},
    {"groupThreeHighest", "31/7/255", true, false, 0},
    {"groupThreeMainAbove31", "32/1/1", true, false, 1},
    {"groupThreeMiddleAbove7", "1/8/1", true, false, 1},
    {"groupThreeSubAbove255", "1/1/256", true, false, 1},
    {"groupThreeAllZero", "0/0/0", true, true, 1},
    {"groupThreeLastOnly", "0/0/1", true, false, 0},
    {"groupTwoHighest", "31/2047", true, false, 0},
    {"groupTwoSubAbove2047", "31/2048", true, false, 1},
    {"groupTwoBothZero", "0/0", true, true, 1},
    {"groupTwoFirstOnly", "1/0", true, false, 0},
    {"groupFourParts", "1/1/1/1", true, false, 1},
    {"groupDot", "1/1.1", true, false, 1},
    {"groupNotNumber", "1/a", true, false, 1},
    {"groupPlainNumber", "4660", true, false, 0},
    {"groupPlainZero", "0", true, true, 1},
    {"groupPlainAbove", "65536", true, false, 1},
};

class CheckKnxAddress : public ::testing::TestWithParam<KnxCase> {};

TEST_P(CheckKnxAddress, FollowsAddressForm)
{
    const KnxCase& c = GetParam();
    EXPECT_EQ(Check_KNX_Address(q(c.text), c.group, c.allowZero), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, CheckKnxAddress, ::testing::ValuesIn(kKnxCases), caseName<KnxCase>);

TEST(KnxIsGroupAddress, IsGroupExactlyWithoutDot)
{
    EXPECT_TRUE(KNX_Is_Group_Address(q("1/2/3")));
    EXPECT_TRUE(KNX_Is_Group_Address(q("4660")));
    EXPECT_FALSE(KNX_Is_Group_Address(q("1.1.20")));
}

struct OidCase {
    const char* name;
    std::string text;
    int expected;
};

void PrintTo(const OidCase& c, std::ostream* os) { *os << c.name; }

// 128 characters: "1." repeated 63 times and "12".
const std::string kOid128 = [] {
    std::string s;
    for (int i = 0; i < 63; ++i)
        s += "1.";
    return s + "12";
}();

const OidCase kOidCases[] = {
    {"valid", "1.3.6.1.4.1", 0},
    {"singleNumber", "7", 0},
    {"lengthLimit", kOid128, 0},
    {"tooLong", kOid128 + "3", 1},
    {"tooLongBeatsLetter", kOid128 + "a", 1},
    {"letter", "1.3.a", 2},
    {"letterBeatsLeadingDot", ".a", 2},
    {"blankIsNoDigit", " 1.3", 2},
    {"minus", "1.3.-1", 2},
    {"empty", "", 2},
    {"leadingDot", ".1.3", 3},
    {"dotOnly", ".", 3},
    {"trailingDot", "1.3.", 4},
    {"doubleDot", "1..3", 5},
    {"componentAtLimit", "1.4294967295", 0},
    {"componentAboveLimit", "1.4294967296", 6},
    {"leadingZerosAtLimit", "1.0000000000004294967295", 0},
    // Twenty digits would wrap a 64-bit accumulator back below the limit.
    {"componentHuge", "1.18446744073709551617", 6},
};

class CheckOidString : public ::testing::TestWithParam<OidCase> {};

TEST_P(CheckOidString, GivesFirstFaultCode)
{
    const OidCase& c = GetParam();
    EXPECT_EQ(Check_OID_String(QString::fromStdString(c.text)), c.expected) << c.text;
}

INSTANTIATE_TEST_SUITE_P(Cases, CheckOidString, ::testing::ValuesIn(kOidCases), caseName<OidCase>);

TEST(StrToSnmpSecurityLevel, MapsNamesToMessageFlags)
{
    EXPECT_EQ(Str_To_SNMP_Security_Level(q("AUTH NOPRIV")), 1);
    EXPECT_EQ(Str_To_SNMP_Security_Level(q(" Auth Priv\t")), 3);
    EXPECT_EQ(Str_To_SNMP_Security_Level(q("")), -1);
    EXPECT_EQ(Str_To_SNMP_Security_Level(q("   ")), -1);
    EXPECT_EQ(Str_To_SNMP_Security_Level(q("NoAuth NoPriv")), 0);
    EXPECT_EQ(Str_To_SNMP_Security_Level(q("AUTH  PRIV")), 0);
}

TEST(GetDecimalSeparator, TakesTheLocalesCommaOrPoint)
{
    EXPECT_EQ(Get_Decimal_Separator(QLocale(QLocale::German, QLocale::Germany)), u',');
    EXPECT_EQ(Get_Decimal_Separator(QLocale(QLocale::English, QLocale::UnitedStates)), u'.');
    EXPECT_EQ(Get_Decimal_Separator(QLocale::c()), u'.');
}

TEST(GetDecimalSeparator, OtherMarksGiveComma)
{
    const QLocale arabic(QLocale::Arabic, QLocale::Egypt);
    ASSERT_NE(arabic.decimalPoint(), q(".")) << "pick a locale with another decimal mark";
    ASSERT_NE(arabic.decimalPoint(), q(","));
    EXPECT_EQ(Get_Decimal_Separator(arabic), u',');
}

struct FloatCase {
    const char* name;
    const char* text;
    char separator;
    bool ok;
    float value;
};

void PrintTo(const FloatCase& c, std::ostream* os) { *os << c.name; }

const FloatCase kFloatCases[] = {
    {"commaWithPointSeparator", "3,5", '.', true, 3.5f},
    {"pointWithCommaSeparator", "3.5", ',', true, 3.5f},
    {"commaWithCommaSeparator", "3,5", ',', true, 3.5f},
    {"integer", "42", '.', true, 42.0f},
    {"negative", "-1,25", ',', true, -1.25f},
    {"plusSign", "+4", '.', true, 4.0f},
    {"blanksAround", "  2.5 ", '.', true, 2.5f},
    {"exponent", "1,5E-2", '.', true, 0.015f},
    {"leadingMark", ",5", '.', true, 0.5f},
    {"trailingMark", "5.", ',', true, 5.0f},
    {"largestSingle", "3.4e38", '.', true, 3.4e38f},
    {"word", "abc", '.', false, 1.0f},
    {"empty", "", ',', false, 1.0f},
    {"blanksOnly", "   ", ',', false, 1.0f},
    {"markOnly", ".", '.', false, 1.0f},
    {"twoMarks", "1.234,5", ',', false, 1.0f},
    {"innerBlank", "1 000", '.', false, 1.0f},
    {"twoSigns", "+-5", '.', false, 1.0f},
    {"signAfterNumber", "5-", '.', false, 1.0f},
    {"exponentWithoutDigits", "1e", '.', false, 1.0f},
    {"hexadecimal", "0x10", '.', false, 1.0f},
    {"aboveSingleRange", "1e39", '.', false, 1.0f},
    {"negativeAboveSingleRange", "-1e39", '.', false, 1.0f},
    {"aboveDoubleRange", "1e400", '.', false, 1.0f},
    {"infinity", "inf", '.', false, 1.0f},
    {"notANumber", "nan", '.', false, 1.0f},
};

class StrToFloatSep : public ::testing::TestWithParam<FloatCase> {};

TEST_P(StrToFloatSep, AcceptsEitherMark)
{
    const FloatCase& c = GetParam();
    float v = -7.0f;
    EXPECT_EQ(Str_To_Float_Sep(q(c.text), QChar::fromLatin1(c.separator), v), c.ok);
    EXPECT_FLOAT_EQ(v, c.value);
}

INSTANTIATE_TEST_SUITE_P(Cases, StrToFloatSep, ::testing::ValuesIn(kFloatCases),
                         caseName<FloatCase>);

TEST(StrToFloatSep, DoesNotDependOnTheSystemLocale)
{
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    float v = 0;
    EXPECT_TRUE(Str_To_Float_Sep(q("3.5"), u'.', v));
    EXPECT_FLOAT_EQ(v, 3.5f);
    QLocale::setDefault(saved);
}

struct CodeCase {
    const char* name;
    QString (*toText)(int);
    int (*toCode)(const QString&);
    int code;
    const char* text;
};

void PrintTo(const CodeCase& c, std::ostream* os) { *os << c.name; }

const CodeCase kCodeCases[] = {
    {"idNumeric", OPC_UA_IdType_To_Str, Str_To_OPC_UA_IdType, 0, "Numeric"},
    {"idString", OPC_UA_IdType_To_Str, Str_To_OPC_UA_IdType, 3, "String"},
    {"idGuid", OPC_UA_IdType_To_Str, Str_To_OPC_UA_IdType, 4, "Guid"},
    {"idByteString", OPC_UA_IdType_To_Str, Str_To_OPC_UA_IdType, 5, "ByteString"},
    {"authAnonymous", OPC_UA_Auth_To_Str, Str_To_OPC_UA_Auth, 0, "Anonymous"},
    {"authUser", OPC_UA_Auth_To_Str, Str_To_OPC_UA_Auth, 1, "Username and Password"},
    {"authCertificate", OPC_UA_Auth_To_Str, Str_To_OPC_UA_Auth, 2, "Certificate"},
    {"modeNone", OPC_UA_Security_Mode_To_Str, Str_To_OPC_UA_Security_Mode, 0, "None"},
    {"modeSign", OPC_UA_Security_Mode_To_Str, Str_To_OPC_UA_Security_Mode, 1, "Sign"},
    {"modeSignEncrypt", OPC_UA_Security_Mode_To_Str, Str_To_OPC_UA_Security_Mode, 2,
     "Sign and Encrypt"},
    {"policyNone", OPC_UA_Security_Policy_To_Str, Str_To_OPC_UA_Security_Policy, 0, "None"},
    {"policyBasic128", OPC_UA_Security_Policy_To_Str, Str_To_OPC_UA_Security_Policy, 1,
     "Basic 128 RSA 15"},
    {"policyBasic256", OPC_UA_Security_Policy_To_Str, Str_To_OPC_UA_Security_Policy, 2,
     "Basic 256"},
    {"policyBasic256Sha256", OPC_UA_Security_Policy_To_Str, Str_To_OPC_UA_Security_Policy, 3,
     "Basic 256 SHA 256"},
    {"policyAes128", OPC_UA_Security_Policy_To_Str, Str_To_OPC_UA_Security_Policy, 4,
     "AES 128 SHA 256 RSA OAEP"},
    {"policyAes256", OPC_UA_Security_Policy_To_Str, Str_To_OPC_UA_Security_Policy, 5,
     "AES 256 SHA 256 RSA PSS"},
};

class OpcUaCodeTable : public ::testing::TestWithParam<CodeCase> {};

TEST_P(OpcUaCodeTable, TextAndCodeMatchBothWays)
{
    const CodeCase& c = GetParam();
    EXPECT_EQ(c.toText(c.code), q(c.text));
    EXPECT_EQ(c.toCode(q(c.text)), c.code);
}

INSTANTIATE_TEST_SUITE_P(Cases, OpcUaCodeTable, ::testing::ValuesIn(kCodeCases),
                         caseName<CodeCase>);

TEST(OpcUaCodeTable, UnknownCodesAndTexts)
{
    EXPECT_EQ(OPC_UA_IdType_To_Str(1), QString());
    EXPECT_EQ(OPC_UA_IdType_To_Str(-1), QString());
    EXPECT_EQ(Str_To_OPC_UA_IdType(q("byteSTRING")), 5);
    EXPECT_EQ(Str_To_OPC_UA_IdType(q("Opaque")), 0);
    EXPECT_EQ(Str_To_OPC_UA_IdType(q(" Guid")), 0);

    EXPECT_EQ(OPC_UA_Auth_To_Str(-1), q("Certificate"));
    EXPECT_EQ(OPC_UA_Auth_To_Str(3), q("Certificate"));
    EXPECT_EQ(Str_To_OPC_UA_Auth(q("anonymous")), 2);

    EXPECT_EQ(OPC_UA_Security_Mode_To_Str(7), q("Sign and Encrypt"));
    EXPECT_EQ(Str_To_OPC_UA_Security_Mode(q("SIGN")), 2);

    EXPECT_EQ(OPC_UA_Security_Policy_To_Str(6), q("AES 256 SHA 256 RSA PSS"));
    EXPECT_EQ(OPC_UA_Security_Policy_To_Str(-1), q("AES 256 SHA 256 RSA PSS"));
    EXPECT_EQ(Str_To_OPC_UA_Security_Policy(q("none")), 5);
}

TEST(OpcUaDataType, NamesCodesZeroToFourteen)
{
    EXPECT_EQ(OPC_UA_DataType_To_Str(0), q("Boolean"));
    EXPECT_EQ(OPC_UA_DataType_To_Str(6), q("UInt32"));
    EXPECT_EQ(OPC_UA_DataType_To_Str(12), q("DateTime"));
    EXPECT_EQ(OPC_UA_DataType_To_Str(14), q("ByteString"));
    EXPECT_EQ(OPC_UA_DataType_To_Str(15), QString());
    EXPECT_EQ(OPC_UA_DataType_To_Str(-1), QString());
}

TEST(OpcUaNodeIdValue, NumericIsUnsignedDecimal)
{
    opcua_structure n;
    n.identifierType = 0;
    n.numeric = 4294967295u;
    EXPECT_EQ(OPC_UA_NodeId_Value_To_Str(n), q("4294967295"));
}

TEST(OpcUaNodeIdValue, GuidIsUpperCaseEightFourFourFourTwelve)
{
    opcua_structure n;
    n.identifierType = 4;
    n.guide1 = 0x0a1b2c3d;
    n.guide2 = 0x00ef;
    n.guide3 = 0x4a5b;
    n.guide4 = {0x01, 0xab, 0x02, 0x03, 0x04, 0x05, 0x06, 0xff};
    EXPECT_EQ(OPC_UA_NodeId_Value_To_Str(n), q("0A1B2C3D-00EF-4A5B-01AB-0203040506FF"));
}

TEST(OpcUaNodeIdValue, StringAndByteStringReadWithinTheirLength)
{
    const char temp[] =
        "Temp\xC2\xB0"
        "C";  // UTF-8 "Temp°C"
    opcua_structure n;
    n.identifierType = 3;
    n.stringname = temp;
    n.stringLength = static_cast<quint32>(std::strlen(temp));
    EXPECT_EQ(OPC_UA_NodeId_Value_To_Str(n), QString::fromUtf8("Temp\u00B0C"));

    // No terminator inside the stated length: the read stops at the length.
    const char unterminated[6] = {'a', 'b', 'c', 'd', 'e', 'f'};
    n.identifierType = 5;
    n.byteString = unterminated;
    n.byteStringLength = 3;
    EXPECT_EQ(OPC_UA_NodeId_Value_To_Str(n), q("abc"));

    // A terminator before the stated length ends the text as before.
    const char shortText[] = "ab\0cd";
    n.byteString = shortText;
    n.byteStringLength = 5;
    EXPECT_EQ(OPC_UA_NodeId_Value_To_Str(n), q("ab"));
}

TEST(OpcUaNodeIdValue, NullTextsAndUnknownTypesGiveEmptyText)
{
    opcua_structure n;
    n.stringLength = 10;
    n.byteStringLength = 10;
    n.identifierType = 3;
    EXPECT_EQ(OPC_UA_NodeId_Value_To_Str(n), QString());
    n.identifierType = 5;
    EXPECT_EQ(OPC_UA_NodeId_Value_To_Str(n), QString());
    n.identifierType = 1;
    n.numeric = 12;
    EXPECT_EQ(OPC_UA_NodeId_Value_To_Str(n), QString());
    n.identifierType = 6;
    EXPECT_EQ(OPC_UA_NodeId_Value_To_Str(n), QString());
}

TEST(OpcUaLibraryText, BoundedAndNullSafe)
{
    EXPECT_EQ(opcUaLibraryText(nullptr, 5), QString());
    EXPECT_EQ(opcUaLibraryText("Pump 1", 0), QString());
    EXPECT_EQ(opcUaLibraryText("Pump 1", 4), q("Pump"));
    EXPECT_EQ(opcUaLibraryText("Pump 1", 100), q("Pump 1"));
}

}  // namespace
}  // namespace zfw
