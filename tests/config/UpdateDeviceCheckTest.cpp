// The configuration check before an update: which uplink rules it looks at and the bound
// each must keep.

#include "config/UUpdateDevice.h"

#include "UpdateDeviceSupport.h"

#include <ostream>

namespace zfw {
namespace {

struct Case {
    const char* name;
    const char* parGen;  // ParGen.xml; nullptr: no file
    const char* rules;   // LoRaWAN_SetAccess.xml; nullptr: no file
    bool passes;
    const char* errorFile;  // the check fails naming this unreadable file; nullptr: none
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

#define PAYLOAD(n) "<ParGen><LoRa_Payload_Size>" #n "</LoRa_Payload_Size></ParGen>"
#define UPLINK(rows)                                                                               \
    "<LoRaWAN_Set_Access><LoRaWAN_Uplink>" rows                                                    \
    "</LoRaWAN_Uplink>"                                                                            \
    "<LoRaWAN_Downlink/></LoRaWAN_Set_Access>"

constexpr Case kCases[] = {
    {"LargestRuleFits", PAYLOAD(51), UPLINK("<row Enable=\"Y\" NumByte=\"49\"/>"), true, nullptr},
    {"OneByteTooMany", PAYLOAD(51), UPLINK("<row Enable=\"Y\" NumByte=\"50\"/>"), false, nullptr},
    {"DisabledRuleIsSkipped", PAYLOAD(51), UPLINK("<row Enable=\"N\" NumByte=\"50\"/>"), true,
     nullptr},
    {"LaterRuleFails", PAYLOAD(51),
     UPLINK("<row Enable=\"Y\" NumByte=\"10\"/><row Enable=\"Y\" NumByte=\"60\"/>"), false,
     nullptr},
    // The compiler takes these rules, so the check must look at them too.
    {"LowerCaseEnableIsChecked", PAYLOAD(51), UPLINK("<row Enable=\"y\" NumByte=\"50\"/>"), false,
     nullptr},
    {"PaddedEnableIsChecked", PAYLOAD(51), UPLINK("<row Enable=\" Y \" NumByte=\"50\"/>"), false,
     nullptr},
    {"MissingEnableIsChecked", PAYLOAD(51), UPLINK("<row NumByte=\"50\"/>"), false, nullptr},
    {"OtherEnableTextIsSkipped", PAYLOAD(51), UPLINK("<row Enable=\"Yes\" NumByte=\"50\"/>"), true,
     nullptr},
    {"EmptyNumByteFails", PAYLOAD(51), UPLINK("<row Enable=\"Y\" NumByte=\"\"/>"), false, nullptr},
    {"TextNumByteFails", PAYLOAD(51), UPLINK("<row Enable=\"Y\" NumByte=\"abc\"/>"), false,
     nullptr},
    {"MissingNumByteFails", PAYLOAD(51), UPLINK("<row Enable=\"Y\"/>"), false, nullptr},
    {"NegativeNumByteFails", PAYLOAD(51), UPLINK("<row Enable=\"Y\" NumByte=\"-1\"/>"), false,
     nullptr},
    {"HexNumByteIsRead", PAYLOAD(51), UPLINK("<row Enable=\"Y\" NumByte=\"0x31\"/>"), true,
     nullptr},
    {"ZeroBytesWithPayloadTwo", PAYLOAD(2), UPLINK("<row Enable=\"Y\" NumByte=\"0\"/>"), true,
     nullptr},
    {"ZeroBytesWithPayloadOne", PAYLOAD(1), UPLINK("<row Enable=\"Y\" NumByte=\"0\"/>"), false,
     nullptr},
    {"NoRuleFile", PAYLOAD(51), nullptr, true, nullptr},
    {"NoParGenWithEnabledRule", nullptr, UPLINK("<row Enable=\"Y\" NumByte=\"0\"/>"), false,
     nullptr},
    {"NoParGenOnlyDisabledRules", nullptr, UPLINK("<row Enable=\"N\" NumByte=\"0\"/>"), true,
     nullptr},
    {"NonNumericPayloadCountsAsZero", PAYLOAD(fifty), UPLINK("<row Enable=\"Y\" NumByte=\"0\"/>"),
     false, nullptr},
    {"DownlinkIsNotChecked", PAYLOAD(51),
     "<LoRaWAN_Set_Access><LoRaWAN_Uplink/><LoRaWAN_Downlink><row Enable=\"Y\" "
     "NumByte=\"200\"/></LoRaWAN_Downlink></LoRaWAN_Set_Access>",
     true, nullptr},
    {"NoUplinkTableHasNoRulesToCheck", PAYLOAD(51), "<LoRaWAN_Set_Access/>", true, nullptr},
    {"MalformedRuleFile", PAYLOAD(51), "<LoRaWAN_Set_Access><LoRaWAN_Uplink>", false,
     "LoRaWAN_SetAccess.xml"},
    {"MalformedParGen", "<ParGen><LoRa_Payload_Size>51", UPLINK(""), false, "ParGen.xml"},
};

#undef PAYLOAD
#undef UPLINK

class CheckConfig : public test::UpdateProjectTest, public ::testing::WithParamInterface<Case> {};

TEST_P(CheckConfig, Result)
{
    const Case& c = GetParam();
    if (c.parGen) {
        ASSERT_TRUE(test::writeFile(state().File_ParGen, c.parGen));
    }
    if (c.rules) {
        ASSERT_TRUE(test::writeFile(state().File_LoRaWAN_SetAccess, c.rules));
    }

    QString fileError = QStringLiteral("stale");
    EXPECT_EQ(Check_Config_LoraWAN(state(), &fileError), c.passes);
    if (c.errorFile) {
        EXPECT_TRUE(fileError.contains(QLatin1String(c.errorFile))) << fileError.toStdString();
    } else {
        EXPECT_TRUE(fileError.isEmpty()) << fileError.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(UpdateDevice, CheckConfig, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& i) {
                             return std::string(i.param.name);
                         });

}  // namespace
}  // namespace zfw
