// The LoRaWAN payload table and the checks run on OK, without a window.

#include "common/UComon.h"
#include "common/ULanguage.h"
#include "config/core/UParGenData.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>

namespace zfw {
namespace {

// ---- Payload table -------------------------------------------------------------------------

struct PayloadCase {
    const char* name;
    const char* region;
    const char* dataRate;
    int expected;
};

void PrintTo(const PayloadCase& c, std::ostream* os) { *os << c.name; }

constexpr PayloadCase kPayloadCases[] = {
    {"AS923_DR0", "AS923", "0\t- LoRa: SF12/125kHz 250 [bit/s]", 59},
    {"AS923_DR3", "AS923", "3\t- LoRa: SF9/125kHz 1760 [bit/s]", 123},
    {"AS923_DR7", "AS923", "7\t- FSK: 50kbps 50000 [bit/s]", 230},
    {"AU915_DR6", "AU915", "6  - LoRa: SF8/500kHz 12500 [bit/s]", 222},
    {"AU915_DR8", "AU915", "8  - LoRa: SF12/500kHz 980 [bit/s]", 33},
    {"AU915_DR13", "AU915", "13 - LoRa: SF7/500kHz 21900 [bit/s]", 222},
    {"EU868_DR3", "EU868", "3 -\tLoRa: SF9/125kHz 1760 [bit/s]", 115},
    {"EU868_DR6_blank", "EU868", "6 - LoRa: SF7/250kHz 11000 [bit/s]", 222},
    {"KR920_DR0_blank", "KR920", "0 - LoRa: SF12/125kHz 250 [bit/s]", 51},
    {"KR920_DR5", "KR920", "5 -\tLoRa: SF7/125kHz 5470 [bit/s]", 222},
    {"IN865_DR7", "IN865", "7 -\tFSK: 50kbps 50000 [bit/s]", 222},
    {"US915_DR0", "US915", "0  -\tLoRa: SF10/125kHz 980 [bit/s]", 11},
    {"US915_DR4", "US915", "4  -\tLoRa: SF8/500kHz 12500 [bit/s]", 242},
    {"US915_DR9", "US915", "9  -\tLoRa: SF11/500kHz 1760 [bit/s]", 109},
    {"US915Hybrid_DR1", "US915-Hybrid", "1  - LoRa: SF9/125kHz 1760 [bit/s]", 53},
    {"US915Hybrid_DR2", "US915-Hybrid", "2  - LoRa: SF8/125kHz 3125 [bit/s]", 125},
    // Texts must match blank for blank, tab for tab, case for case.
    {"EU868_textOfOtherRegion", "EU868", "0\t- LoRa: SF12/125kHz 250 [bit/s]", 0},
    {"EU868_oneBlankTooMany", "EU868", "6 -  LoRa: SF7/250kHz 11000 [bit/s]", 0},
    {"US915_tabWhereHybridHasBlank", "US915-Hybrid", "0  -\tLoRa: SF10/125kHz 980 [bit/s]", 0},
    {"AS923_rateMissingFromRegion", "AU915", "7  - LoRa: SF12/500kHz 980 [bit/s]", 0},
    {"unknownRegion", "EU433", "0 -\tLoRa: SF12/125kHz 250 [bit/s]", 0},
    {"regionCaseMatters", "eu868", "0 -\tLoRa: SF12/125kHz 250 [bit/s]", 0},
    {"emptyRate", "AS923", "", 0},
};

class PayloadTable : public ::testing::TestWithParam<PayloadCase> {};

TEST_P(PayloadTable, MaxPayloadOfRegionAndRate)
{
    const PayloadCase& c = GetParam();
    EXPECT_EQ(maxLoRaPayload(QString::fromUtf8(c.region), QString::fromUtf8(c.dataRate)),
              c.expected);
}

INSTANTIATE_TEST_SUITE_P(Lookups, PayloadTable, ::testing::ValuesIn(kPayloadCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PayloadTableShape, ListsHaveTheirItemCountsAndRateNumbersLead)
{
    const std::pair<const char*, int> counts[] = {{"AS923", 8},        {"AU915", 13}, {"EU868", 8},
                                                  {"KR920", 6},        {"IN865", 7},  {"US915", 11},
                                                  {"US915-Hybrid", 11}};
    ASSERT_EQ(loraRegions().size(), std::size(counts));
    for (const auto& [region, n] : counts) {
        const QStringList items = loraDataRateItems(QString::fromLatin1(region));
        EXPECT_EQ(items.size(), n) << region;
        // The image compiler reads the rate number before the first "-".
        for (const QString& item : items) {
            bool ok = false;
            item.left(item.indexOf(QLatin1Char('-'))).trimmed().toInt(&ok);
            EXPECT_TRUE(ok) << region << ": " << item.toStdString();
        }
    }
    EXPECT_TRUE(loraDataRateItems(u"EU433").isEmpty());
}

// ---- Validation ----------------------------------------------------------------------------

struct CheckCase {
    const char* name;
    std::function<void(ParGenValues&)> change;
    int expectedText;  // 0: passes
    int expectedBound = 0;
};

void PrintTo(const CheckCase& c, std::ostream* os) { *os << c.name; }

void set(ParGenValues& v, PG id, const char* text) { v[id] = QString::fromUtf8(text); }

const CheckCase kCheckCases[] = {
    {"defaultsPass", [](ParGenValues&) {}, 0},
    {"dnsUncheckedNotChecked",
     [](ParGenValues& v) {
         set(v, PG::Eth_Conn_Primary_DNS1, "300");
         set(v, PG::Eth_Conn_Secondary_DNS4, "abc");
     },
     0},
    {"dnsCheckedAtLimits",
     [](ParGenValues& v) {
         set(v, PG::Eth_Conn_Enable_DNS, "1");
         set(v, PG::Eth_Conn_Primary_DNS1, "0");
         set(v, PG::Eth_Conn_Secondary_DNS4, "255");
     },
     0},
    {"dnsPrimary1Past",
     [](ParGenValues& v) {
         set(v, PG::Eth_Conn_Enable_DNS, "1");
         set(v, PG::Eth_Conn_Primary_DNS1, "256");
     },
     2925},
    {"dnsPrimary3Negative",
     [](ParGenValues& v) {
         set(v, PG::Eth_Conn_Enable_DNS, "1");
         set(v, PG::Eth_Conn_Primary_DNS3, "-1");
     },
     2927},
    {"dnsSecondary4Empty",
     [](ParGenValues& v) {
         set(v, PG::Eth_Conn_Enable_DNS, "1");
         set(v, PG::Eth_Conn_Secondary_DNS4, "");
     },
     2932},
    {"regionEmpty", [](ParGenValues& v) { set(v, PG::LoRa_RF_Band, ""); }, 493},
    {"networkBlank", [](ParGenValues& v) { set(v, PG::LoRa_Network_Type, "  "); }, 494},
    {"firstFailureWins",
     [](ParGenValues& v) {
         set(v, PG::LoRa_Network_Type, "");
         set(v, PG::S7_Protocol_IP1, "999");
     },
     494},
    {"dataRateEmpty", [](ParGenValues& v) { set(v, PG::LoRa_DataRate, ""); }, 495},
    {"transmissionEmpty", [](ParGenValues& v) { set(v, PG::LoRa_Transmission_Type, ""); }, 496},
    {"payloadAtMax", [](ParGenValues& v) { set(v, PG::LoRa_Payload_Size, "230"); }, 0},
    {"payloadAtOne", [](ParGenValues& v) { set(v, PG::LoRa_Payload_Size, "1"); }, 0},
    {"payloadPastMax", [](ParGenValues& v) { set(v, PG::LoRa_Payload_Size, "231"); }, 497, 230},
    {"payloadZero", [](ParGenValues& v) { set(v, PG::LoRa_Payload_Size, "0"); }, 497, 230},
    {"payloadOfUnknownRate",
     [](ParGenValues& v) { set(v, PG::LoRa_DataRate, "6 -  LoRa: SF7/250kHz 11000 [bit/s]"); }, 497,
     0},
    {"activationEmpty", [](ParGenValues& v) { set(v, PG::LoRa_Activation_Method, ""); }, 499},
    {"lnCheckLow", [](ParGenValues& v) { set(v, PG::LoRa_LNCHECK, "5"); }, 0},
    {"lnCheckHigh", [](ParGenValues& v) { set(v, PG::LoRa_LNCHECK, "60"); }, 0},
    {"lnCheckBelow", [](ParGenValues& v) { set(v, PG::LoRa_LNCHECK, "4"); }, 2935},
    {"lnCheckAbove", [](ParGenValues& v) { set(v, PG::LoRa_LNCHECK, "61"); }, 2935},
    {"lnCheckEmpty", [](ParGenValues& v) { set(v, PG::LoRa_LNCHECK, ""); }, 2935},
    {"lnCheckHexLetters", [](ParGenValues& v) { set(v, PG::LoRa_LNCHECK, "1A"); }, 2935},
    {"s7LeadingBlankPasses", [](ParGenValues& v) { set(v, PG::S7_Protocol_IP1, " 5"); }, 0},
    {"s7TrailingBlankFails", [](ParGenValues& v) { set(v, PG::S7_Protocol_IP1, "5 "); }, 2801},
    {"s7DollarHexPasses", [](ParGenValues& v) { set(v, PG::S7_Protocol_IP2, "$FF"); }, 0},
    {"s7Ip4Past", [](ParGenValues& v) { set(v, PG::S7_Protocol_IP4, "256"); }, 2804},
    {"s7Mask1Past", [](ParGenValues& v) { set(v, PG::S7_Protocol_SM1, "256"); }, 2805},
    {"s7Mask4Negative", [](ParGenValues& v) { set(v, PG::S7_Protocol_SM4, "-1"); }, 2808},
    {"gatewayUncheckedNotChecked", [](ParGenValues& v) { set(v, PG::S7_Protocol_GAT1, "x"); }, 0},
    {"gatewayCheckedAtLimit",
     [](ParGenValues& v) {
         set(v, PG::S7_Protocol_EN_GAT, "1");
         set(v, PG::S7_Protocol_GAT4, "255");
     },
     0},
    {"gatewayChecked1Past",
     [](ParGenValues& v) {
         set(v, PG::S7_Protocol_EN_GAT, "1");
         set(v, PG::S7_Protocol_GAT1, "256");
     },
     2809},
    {"gatewayChecked4Past",
     [](ParGenValues& v) {
         set(v, PG::S7_Protocol_EN_GAT, "1");
         set(v, PG::S7_Protocol_GAT4, "256");
     },
     2812},
    // Hexadecimal fields: empty and full-length hex pass; anything else is refused, but only
    // for the fields the chosen activation method uses.
    {"keysFullLengthPass",
     [](ParGenValues& v) {
         set(v, PG::LoRa_Device_Address, "26011BDA");
         set(v, PG::LoRa_JoinEUI, "70B3D57ED0000000");
         set(v, PG::LoRa_Network_Session_Key, "000102030405060708090a0b0c0d0e0f");
         set(v, PG::LoRa_Application_Session_Key, "FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF");
     },
     0},
    {"devAddrWithBlank", [](ParGenValues& v) { set(v, PG::LoRa_Device_Address, "0011 2233"); },
     990},
    {"joinEuiWithMinus", [](ParGenValues& v) { set(v, PG::LoRa_JoinEUI, "-1"); }, 991},
    {"nwkSKeyWithG", [](ParGenValues& v) { set(v, PG::LoRa_Network_Session_Key, "0G"); }, 992},
    {"appSKeyTrailingBlank",
     [](ParGenValues& v) { set(v, PG::LoRa_Application_Session_Key, "AB "); }, 993},
    {"abpIgnoresAppKey", [](ParGenValues& v) { set(v, PG::LoRa_Application_Key, "zz"); }, 0},
    {"otaaChecksAppKey",
     [](ParGenValues& v) {
         set(v, PG::LoRa_Activation_Method, "Over-the-Air Activation [OTAA]");
         set(v, PG::LoRa_Application_Key, "zz");
     },
     994},
    {"otaaIgnoresDevAddr",
     [](ParGenValues& v) {
         set(v, PG::LoRa_Activation_Method, "Over-the-Air Activation [OTAA]");
         set(v, PG::LoRa_Device_Address, "not hex");
     },
     0},
    {"keyCheckBeforeLnCheck",
     [](ParGenValues& v) {
         set(v, PG::LoRa_JoinEUI, "?");
         set(v, PG::LoRa_LNCHECK, "0");
     },
     991},
};

class ParGenChecks : public ::testing::TestWithParam<CheckCase> {};

TEST_P(ParGenChecks, FirstFailingCheckDecides)
{
    const CheckCase& c = GetParam();
    ParGenValues v = parGenNoFileValues();
    c.change(v);
    const std::optional<ParGenFault> fault = checkParGenValues(v);
    if (c.expectedText == 0) {
        EXPECT_FALSE(fault.has_value()) << "text " << (fault ? fault->textNumber : 0);
    } else {
        ASSERT_TRUE(fault.has_value());
        EXPECT_EQ(fault->textNumber, c.expectedText);
        if (c.expectedText == 497) {
            EXPECT_EQ(fault->bound, c.expectedBound);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Rules, ParGenChecks, ::testing::ValuesIn(kCheckCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ParGenFaultMessage, PayloadMessageCarriesTheBound)
{
    ProgramState s;
    Fill_Default_Language(s);
    const QStringList& table = s.Language_Table;
    EXPECT_EQ(parGenFaultMessage({497, 51}, table),
              QStringLiteral("Error LoRa!! Payload Size must be between 1 and 51"));
    EXPECT_EQ(parGenFaultMessage({2935, 0}, table),
              QStringLiteral("Error LoRa!! LNCHECK must be between 5 and 60 minutes"));
    EXPECT_TRUE(parGenFaultMessage({990, 0}, table).contains(QLatin1String("Device Address")));
    EXPECT_EQ(parGenFaultMessage({990, 0}, QStringList()), QString());
}

}  // namespace
}  // namespace zfw
