// The client rules' checks on the tables alone: each row of the table below is one rule
// changed from a sound one, and the first message its file gives.

#include "editors/building/core/BACnetClientRules.h"
#include "support/CaseName.h"
#include "support/Files.h"

#include "common/UComon.h"
#include "common/ULanguage.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace zfw {
namespace {

using Cells = std::vector<std::pair<const char*, const char*>>;

const Cells kSoundRead = {
    {"Enable", "Y"},
    {"IP_Address_Slave_ID", "192.168.0.10"},
    {"Object_Type", "Analog Input"},
    {"Instance", "1"},
    {"Property", "Present Value (85)"},
    {"NumByte", "4"},
    {"Enable_Destination", "N"},
    {"PollTime", "1000"},
    {"MaxError", "0"},
    {"Position", "0"},
    {"StartBit", "0"},
    {"Swap", "N"},
    {"FloatToInt", "N"},
};

const Cells kSoundWrite = {
    {"Enable", "Y"},
    {"IP_Address_Slave_ID", "192.168.0.10"},
    {"Object_Type", "Analog Value"},
    {"Data_Type", "Real"},
    {"Instance", "1"},
    {"Property", "Present Value (85)"},
    {"Priority", "0"},
    {"NumByte", "4"},
    {"Enable_Destination", "N"},
    {"OnChange", "N"},
    {"OnTimer", "N"},
    {"PollTime", "1000"},
    {"MaxError", "0"},
    {"Position", "0"},
    {"StartBit", "0"},
    {"Swap", "N"},
    {"IntToFloat", "N"},
};

void fill(RuleTable& t, int row, const Cells& cells)
{
    for (const auto& [attribute, text] : cells)
        t.setCell(t.spec().col(QString::fromLatin1(attribute)), row, QString::fromUtf8(text));
}

struct CheckCase {
    const char* name;
    bool write;
    int row;  // the rows above it hold sound rules
    Cells change;
    const char* message;  // empty: the file passes
    int type = kBACnetTypeIp;
};

const CheckCase kCheckCases[] = {
    {"SoundRulesPass", false, 2, {}, ""},
    {"ReadUnitsOnAnalogInput", false, 1, {{"Property", "Units (117)"}}, ""},
    {"ReadUnitsOnBinaryInput",
     false,
     1,
     {{"Object_Type", "Binary Input"}, {"Property", "Units (117)"}},
     "Error in Read, row 1!! Property is not correct. Select one from the list"},
    {"WriteOnAnalogInputRefused",
     true,
     1,
     {{"Object_Type", "Analog Input"}},
     "Error in Write, row 1!! Object Type is not correct. Select one from the list"},
    {"ExpectedDataTypeNamed",
     true,
     3,
     {{"Data_Type", "Unsigned Int"}},
     "Error in Write, row 3!! Data Type is not correct. Aspected Data Type is Real"},
    {"PositiveIntegerWantsUnsigned",
     true,
     1,
     {{"Object_Type", "Positive Integer Value"}, {"Data_Type", "Real"}},
     "Error in Write, row 1!! Data Type is not correct. Aspected Data Type is Unsigned Int"},
    {"PositiveIntegerUnsignedPasses",
     true,
     1,
     {{"Object_Type", "Positive Integer Value"}, {"Data_Type", "Unsigned Int"}},
     ""},
    {"LifeSafetyPointHasNoDataType",
     true,
     1,
     {{"Object_Type", "Life Safety Point"}},
     "Error in Write, row 1!! Data Type is not correct"},
    {"ProprietaryType130AnyDataType", true, 1, {{"Object_Type", "130"}, {"Data_Type", "Date"}}, ""},
    {"ProprietaryType127Refused",
     false,
     1,
     {{"Object_Type", "127"}},
     "Error in Read, row 1!! Object Type is not correct. Select one from the list"},
    {"ProprietaryType1024Refused",
     true,
     1,
     {{"Object_Type", "1024"}},
     "Error in Write, row 1!! Object Type is not correct. Select one from the list"},
    {"ProprietaryProperty512", false, 1, {{"Property", "512"}}, ""},
    {"ProprietaryProperty4194303", true, 1, {{"Property", "4194303"}}, ""},
    {"ProprietaryProperty511",
     false,
     1,
     {{"Property", "511"}},
     "Error in Read, row 1!! Property is not correct. Select one from the list"},
    {"ProprietaryProperty4194304",
     true,
     1,
     {{"Property", "4194304"}},
     "Error in Write, row 1!! Property is not correct. Select one from the list"},
    {"BooleanNByte2",
     true,
     1,
     {{"Data_Type", "Boolean"}, {"Object_Type", "130"}, {"NumByte", "2"}},
     "Error in Write, row 1!! NByte must be between 0 and 1"},
    {"BitString120",
     true,
     1,
     {{"Data_Type", "Bit String"}, {"Object_Type", "130"}, {"NumByte", "120"}},
     ""},
    {"BitString121",
     true,
     1,
     {{"Data_Type", "Bit String"}, {"Object_Type", "130"}, {"NumByte", "121"}},
     "Error in Write, row 1!! NByte must be between 0 and 120"},
    {"M3ThreeBytes",
     false,
     1,
     {{"Enable_Destination", "Y"},
      {"Destination_Network", "5"},
      {"Destination_Length", "M3"},
      {"Destination_Address", "10, 20,30"}},
     ""},
    {"M3TrailingCommaIgnored",
     true,
     1,
     {{"Enable_Destination", " y "},
      {"Destination_Network", "5"},
      {"Destination_Length", "m3"},
      {"Destination_Address", "10,20,30,"}},
     ""},
    {"M3TooFew",
     false,
     1,
     {{"Enable_Destination", "Y"},
      {"Destination_Network", "5"},
      {"Destination_Length", "M3"},
      {"Destination_Address", "10,20"}},
     "Error in Read, row 1!! Destination Address has too few bytes"},
    {"M3TooMany",
     true,
     1,
     {{"Enable_Destination", "Y"},
      {"Destination_Network", "5"},
      {"Destination_Length", "M3"},
      {"Destination_Address", "1,2,3,4"}},
     "Error in Write, row 1!! Destination Address has too many bytes"},
    {"M3ByteOutOfRange",
     false,
     1,
     {{"Enable_Destination", "Y"},
      {"Destination_Network", "5"},
      {"Destination_Length", "M3"},
      {"Destination_Address", "1,256,3"}},
     "Error in Read, row 1!! Bytes of Destination Address must be between 0 and 255"},
    {"M3EmptyAddressRefused",
     false,
     1,
     {{"Enable_Destination", "Y"},
      {"Destination_Network", "5"},
      {"Destination_Length", "M3"},
      {"Destination_Address", " "}},
     "Error in Read, row 1!! Destination Address has too few bytes"},
    {"M9",
     false,
     1,
     {{"Enable_Destination", "Y"}, {"Destination_Network", "5"}, {"Destination_Length", "M9"}},
     "Error in Read, row 1!! Destination Length is Wrong, choose one in List"},
    {"MAlone",
     true,
     1,
     {{"Enable_Destination", "Y"}, {"Destination_Network", "5"}, {"Destination_Length", "M"}},
     "Error in Write, row 1!! Destination Length is Wrong, choose one in List"},
    {"M12",
     false,
     1,
     {{"Enable_Destination", "Y"}, {"Destination_Network", "5"}, {"Destination_Length", "M12"}},
     "Error in Read, row 1!! Destination Length is Wrong, choose one in List"},
    {"EmptyLength",
     true,
     1,
     {{"Enable_Destination", "Y"}, {"Destination_Network", "5"}},
     "Error in Write, row 1!! Destination Length is Wrong, choose one in List"},
    {"Length3",
     false,
     1,
     {{"Enable_Destination", "Y"}, {"Destination_Network", "5"}, {"Destination_Length", "3"}},
     "Error in Read, row 1!! Destination Lenght must be 1 or 2 or 6"},
    {"Length3Write",
     true,
     1,
     {{"Enable_Destination", "Y"}, {"Destination_Network", "5"}, {"Destination_Length", "3"}},
     "Error in Write, row 1!! Destination Lenght must be 1 or 2 or 6"},
    {"NetworkZero",
     false,
     1,
     {{"Enable_Destination", "Y"}, {"Destination_Network", "0"}},
     "Error in Read, row 1!! Destination Network must be between 1 and 65535"},
    {"Length6IpAndPort",
     true,
     1,
     {{"Enable_Destination", "Y"},
      {"Destination_Network", "5"},
      {"Destination_Length", "6"},
      {"Destination_Address", "192.168.0.15:47808"}},
     ""},
    {"Length6WithoutPort",
     false,
     1,
     {{"Enable_Destination", "Y"},
      {"Destination_Network", "5"},
      {"Destination_Length", "6"},
      {"Destination_Address", "192.168.0.15"}},
     "Error in Read, row 1!! Destination Address must be in correct form, IP Address plus Port "
     "(ex. 192.168.0.15:47808)"},
    {"Length2AddressZero",
     false,
     1,
     {{"Enable_Destination", "Y"},
      {"Destination_Network", "5"},
      {"Destination_Length", "2"},
      {"Destination_Address", "0"}},
     "Error in Read, row 1!! Destination Address must be between 1 and 65535"},
    {"Instance4294967295", false, 1, {{"Instance", "4294967295"}}, ""},
    {"Instance4294967296",
     false,
     1,
     {{"Instance", "4294967296"}},
     "Error in Read, row 1!! Instance must be between 0 and 4294967295"},
    {"InstanceMinusOne",
     true,
     1,
     {{"Instance", "-1"}},
     "Error in Write, row 1!! Instance must be between 0 and 4294967295"},
    {"MaxErr65535", false, 1, {{"MaxError", "65535"}}, ""},
    {"MaxErr65536",
     false,
     1,
     {{"MaxError", "65536"}},
     "Error in Read, row 1!! Max Err must be between 0 and 655535"},
    {"DisabledRulePasses", true, 1, {{"Enable", "N"}, {"Instance", "x"}}, ""},
    {"LowerCaseYIsSkipped", false, 1, {{"Enable", "y"}, {"Instance", "x"}}, ""},
    {"FactorIgnoredWithoutFloatToInt", false, 1, {{"MultiplicationFactor", "abc"}}, ""},
    {"FactorWithPoint", false, 1, {{"FloatToInt", "Y"}, {"MultiplicationFactor", "1.5"}}, ""},
    {"FactorWithComma", true, 1, {{"IntToFloat", "Y"}, {"MultiplicationFactor", "1,5"}}, ""},
    {"FactorAbc",
     false,
     1,
     {{"FloatToInt", "Y"}, {"MultiplicationFactor", "abc"}},
     "Error in Read, row 1!! Molt. Factor must be a valid Float"},
    {"WritePollTimeOnlyWithTimer", true, 1, {{"PollTime", "x"}}, ""},
    {"WritePollTimeWithTimer",
     true,
     1,
     {{"OnTimer", "y"}, {"PollTime", "x"}},
     "Error in Write, row 1!! Poll Time must be between 0 and 100000000"},
    {"ReadPollTime",
     false,
     1,
     {{"PollTime", "100000001"}},
     "Error in Read, row 1!! Poll Time must be between 0 and 100000000 ms"},
    {"Priority17",
     true,
     1,
     {{"Priority", "17"}},
     "Error in Write, row 1!! Priority must be between 0 and 16"},
    {"BadIpAddress",
     false,
     1,
     {{"IP_Address_Slave_ID", "192.168.0"}},
     "Error in Read, row 1!! IP Address is not correct"},
    {"SlaveId254", true, 1, {{"IP_Address_Slave_ID", "254"}}, "", kBACnetTypeMstp},
    {"SlaveId255",
     true,
     1,
     {{"IP_Address_Slave_ID", "255"}},
     "Error in Write, row 1!! Slave ID must be between 0 and 254",
     kBACnetTypeMstp},
    {"HiddenDeviceNotChecked", false, 1, {{"IP_Address_Slave_ID", ""}}, "", 2},
};

class ClientCheck : public ::testing::TestWithParam<CheckCase> {};

TEST_P(ClientCheck, FirstMessage)
{
    const CheckCase& c = GetParam();
    ProgramState lang;
    Fill_Default_Language(lang);
    RuleFile f(bacnetClientRuleSpec(c.type));
    RuleTable& t = f.tables[c.write ? 1 : 0];
    const Cells& sound = c.write ? kSoundWrite : kSoundRead;
    for (int r = 1; r <= c.row; ++r)
        fill(t, r, sound);
    fill(t, c.row, c.change);
    if (c.type == kBACnetTypeMstp)
        for (int r = 1; r < c.row; ++r)
            t.setCell(2, r, QStringLiteral("1"));
    EXPECT_EQ(ruleFaultMessage(Controllo_dati(f), f.spec, lang).toStdString(), c.message);
}

INSTANTIATE_TEST_SUITE_P(Rules, ClientCheck, ::testing::ValuesIn(kCheckCases), test::CaseName());

// Rows after the first empty key cell are neither checked nor saved; with the device column
// hidden the Object Type decides where the rules end.
TEST(ClientRules, RuleListEndsAtTheKeyOfTheType)
{
    for (int type : {kBACnetTypeIp, 2}) {
        RuleFile f(bacnetClientRuleSpec(type));
        RuleTable& t = f.tables[0];
        fill(t, 1, kSoundRead);
        fill(t, 3, kSoundRead);
        fill(t, 3, {{"Instance", "x"}});
        EXPECT_TRUE(Controllo_dati(f).ok()) << type;
        EXPECT_EQ(t.ruleCount(), 1) << type;
        const int key = t.spec().keyColumn;
        EXPECT_EQ(t.spec().columns[key].attribute,
                  QLatin1String(type == 2 ? "Object_Type" : "IP_Address_Slave_ID"));
        EXPECT_EQ(t.spec().columns[2].hidden, type == 2);
    }
}

struct HintCase {
    const char* name;
    const char* objectType;
    const char* property;
    const char* hint;
};

const HintCase kHintCases[] = {
    {"AnalogInputPresentValue", "Analog Input", "Present Value (85)", "4"},
    {"BinaryOutputPresentValue", " binary output ", "present value (85)", "1"},
    {"LargeAnalogPresentValue", "Large Analog Value", "Present Value (85)", "8"},
    {"MultiStateValueNoHint", "Multi-State Value", "Present Value (85)", ""},
    {"PrescaleOnAccumulator", "Accumulator", "PreScale (185)", "5"},
    {"ObjectType", "Binary Value", "Object Type (79)", "2"},
    {"UnitsRefused", "Binary Input", "Units (117)", ""},
    {"Proprietary", "Analog Input", "600", ""},
    {"BlankProperty", "Analog Input", " ", ""},
};

class ReadHint : public ::testing::TestWithParam<HintCase> {};

TEST_P(ReadHint, ProposesTheByteCount)
{
    const HintCase& c = GetParam();
    EXPECT_EQ(Str_Hint_Read(QString::fromLatin1(c.objectType), QString::fromLatin1(c.property)),
              QLatin1String(c.hint));
}

INSTANTIATE_TEST_SUITE_P(Cells, ReadHint, ::testing::ValuesIn(kHintCases), test::CaseName());

TEST(ClientRules, MasterTypeFromTheGeneralParameters)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ParGen.xml"));
    EXPECT_EQ(readBACnetMasterType(path), std::nullopt);
    ASSERT_TRUE(test::writeFile(path, "<Par_Gen><BACnet_Type>1</BACnet_Type></Par_Gen>"));
    EXPECT_EQ(readBACnetMasterType(path), std::nullopt);
    ASSERT_TRUE(
        test::writeFile(path, "<Par_Gen><BACnet_Master_Type>2</BACnet_Master_Type></Par_Gen>"));
    EXPECT_EQ(readBACnetMasterType(path), 2);
    ASSERT_TRUE(
        test::writeFile(path, "<Par_Gen><BACnet_Master_Type>IP</BACnet_Master_Type></Par_Gen>"));
    EXPECT_EQ(readBACnetMasterType(path), 0);
    ASSERT_TRUE(test::writeFile(path, "<Par_Gen><BACnet_Master_Type>1</Par_Gen>"));
    EXPECT_EQ(readBACnetMasterType(path), std::nullopt);
}

}  // namespace
}  // namespace zfw
