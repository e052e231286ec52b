// Texts and choices of the scan window without widgets: the gateway address by device code,
// the progress lines and the result tree's texts.

#include "editors/metering/core/MBusScanTexts.h"

#include "support/CaseName.h"

#include <gtest/gtest.h>

namespace zfw {
namespace {

struct AddressCase {
    const char* name;
    int code;
    const char* prefix;
};

const AddressCase kAddressCases[] = {
    {"ModbusTcp", 15, "Modbus_TCP_Slave_IP"},
    {"Profinet11", 11, "PROFINET_IP"},
    {"Profinet22", 22, "PROFINET_IP"},
    {"BACnet", 6, "BACnet_IP"},
    {"Eth19", 19, "Eth_IP"},
    {"Ethernet", 18, "Ethernet_IP"},
    {"AnyOther", 0, "IP_"},
    {"Negative", -1, "IP_"},
};

class GatewayAddress : public ::testing::TestWithParam<AddressCase> {};

TEST_P(GatewayAddress, ReadsTheElementsOfTheDeviceCode)
{
    const AddressCase& c = GetParam();
    const QByteArray p = QByteArray(c.prefix);
    // Another code's elements come first and are not read; byte 3 is missing.
    const QByteArray other = p == "PROFINET_IP" ? "BACnet_IP" : "PROFINET_IP";
    QByteArray doc = "<ParGen><" + other + "1>9</" + other + "1><" + other + "3>9</" + other + "3>";
    doc += "<" + p + "1>10</" + p + "1><" + p + "2>20</" + p + "2><" + p + "4>40</" + p + "4>";
    doc += "</ParGen>";
    const auto a = gatewayAddressFromParGen(doc, c.code);
    EXPECT_EQ(a[0], QStringLiteral("10"));
    EXPECT_EQ(a[1], QStringLiteral("20"));
    EXPECT_FALSE(a[2]);
    EXPECT_EQ(a[3], QStringLiteral("40"));
}

INSTANTIATE_TEST_SUITE_P(ParGen, GatewayAddress, ::testing::ValuesIn(kAddressCases),
                         test::CaseName{});

TEST(GatewayAddressBadInput, AFileThatIsNoXmlLeavesEveryField)
{
    for (const QByteArray& bad : {QByteArray(), QByteArray("<ParGen><IP_1>1</IP_"),
                                  QByteArray("\xff\xfe<"), QByteArray("<!-- x -->")}) {
        const auto a = gatewayAddressFromParGen(bad, 0);
        for (const auto& b : a)
            EXPECT_FALSE(b);
    }
}

struct LineCase {
    const char* name;
    int kind, address, found, scanKind;
    const char* line;  // nullptr: no line
};

const LineCase kLines[] = {
    {"PrimaryFound", 2, 5, 1, 1, "ID = 5\t"},
    {"PrimaryNotFound", 2, 250, 0, 1, "ID = 250\t[NOT FOUND]"},
    {"SecondaryAddress", 2, 0x12345678, 1, 2, "ID = 12345678"},
    {"SecondaryHexDigits", 2, 0xAB, 1, 2, "ID = 000000AB"},
    {"SecondaryStart", 1, 0, 0, 2, "start"},
    {"SecondaryEnd", 3, 0, 0, 2, "end"},
    {"PrimaryStartNoLine", 1, 0, 0, 1, nullptr},
    {"PrimaryEndNoLine", 3, 0, 0, 1, nullptr},
    {"UnknownKind", 9, 0, 0, 1, nullptr},
};

class ProgressLines : public ::testing::TestWithParam<LineCase> {};

TEST_P(ProgressLines, OnePerNotice)
{
    const LineCase& c = GetParam();
    const auto line = progressLine(c.kind, c.address, c.found, c.scanKind, QStringLiteral("start"),
                                   QStringLiteral("end"));
    if (!c.line)
        EXPECT_FALSE(line);
    else
        EXPECT_EQ(line, QString::fromLatin1(c.line));
}

INSTANTIATE_TEST_SUITE_P(Scan, ProgressLines, ::testing::ValuesIn(kLines), test::CaseName{});

TEST(ResultTreeTexts, SlaveRecordAndDetails)
{
    TSlave_MBus s;
    s.Primary_Addresss = 3;
    s.Secondary_Addresss = QStringLiteral("00000013");
    s.descManufacture = QStringLiteral("PAD");
    s.Manufacture = 1060;
    s.Version = 2;
    s.Medium = 7;
    EXPECT_EQ(slaveNodeText(s),
              QStringLiteral("Primary Address = 3 - Secondary Address = 00000013 - "
                             "Manufacturer = PAD(1060) - Version = 2 - Type = 7"));
    TVariable_MBus r;
    r.ValueStr = QStringLiteral("12.5");
    r.Desc_Type_Data = QStringLiteral("Volume m3");
    r.device = 1;
    r.storage_number = 2;
    r.tarif = 3;
    r.VIF = 0x13;
    r.totdati = QStringLiteral("01 02");
    EXPECT_EQ(recordNodeText(r), QStringLiteral("Value = 12.5 - Type = Volume m3 (U1S2T3)"));
    const auto details = recordDetailTexts(r);
    EXPECT_EQ(details[0], QStringLiteral("Storage Number = 2"));
    EXPECT_EQ(details[8], QStringLiteral("VIF = $13"));
    EXPECT_EQ(details[11], QStringLiteral("DATA = $01 02"));
}

TEST(SaveDialogsByCode, PerNodeHiddenAndStartRegisterAsked)
{
    for (int code : {6, 11, 15, 20, 22})
        EXPECT_TRUE(hidesPerNodeSave(code)) << code;
    for (int code : {0, 1, 9, 10, 18})
        EXPECT_FALSE(hidesPerNodeSave(code)) << code;
    for (int code : {0, 1, 9, 13, 14})
        EXPECT_TRUE(asksStartRegisters(code)) << code;
    for (int code : {2, 6, 15, 18})
        EXPECT_FALSE(asksStartRegisters(code)) << code;
}

}  // namespace
}  // namespace zfw
