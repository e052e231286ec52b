#include "editors/metering/core/MBusScanWriters.h"

#include "editors/metering/core/MBusNetwork.h"

#include "MBusTestBytes.h"
#include "support/Files.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zfw {
namespace {

using test::hexBytes;

// Two wired meters as the decoder leaves them: the first with a 32-bit volume, a 16-bit
// temperature, an 8-character text under a plain-text unit "m3" and a BCD number; the second
// with an error flag and a maximum with storage, tariff and subunit.
TSlaveMBusList wiredScan()
{
    TSlaveMBusList list;
    TMBusDecoder decoder;
    bool complete;
    decoder.Decode_Frame_Wired(
        test::longFrame(5, hexBytes("45 23 01 00 22 04 01 07 00 00 00 00"),
                        hexBytes("04 13 40 E2 01 00  02 5B 15 00  "
                                 "0D 7C 02 33 6D 08 41 42 43 44 45 46 47 48  0B 78 56 34 12")),
        list, -1, complete);
    decoder.Decode_Frame_Wired(test::longFrame(7, hexBytes("21 43 65 87 00 00 02 02 00 00 00 00"),
                                               hexBytes("01 FD 17 05  D4 D5 23 13 01 00 00 00")),
                               list, -1, complete);
    return list;
}

// One readable meter (fillers among its records) and one whose data stayed encrypted.
TSlaveWMBusList wirelessScan()
{
    TSlaveWMBusList list;
    TWMBusIntake intake;
    const QDateTime when(QDate(2026, 12, 1), QTime(8, 0));
    intake.Decode_Frame_Wireless(
        hexBytes("16 44 22 04 78 56 34 12 01 07 7A 01 00 10 05 2F 2F 04 13 40 E2 01 00 "
                 "01 FD 17 05 9C"),
        TRadioModule::rmRadioCrafts, list, when);
    intake.Decode_Frame_Wireless(
        hexBytes("16 44 22 04 11 11 11 11 01 07 7A 01 00 10 05 11 22 33 44 55 66 77 88 99 "
                 "AA BB CC 9C"),
        TRadioModule::rmRadioCrafts, list, when);
    list[0]->Enable_Key = true;
    list[0]->Key[15] = 0xFF;
    list[1]->Enable = false;
    return list;
}

class ScanWriters : public ::testing::Test {
protected:
    QString path(const char* name) const { return m_dir.filePath(QLatin1String(name)); }
    QByteArray bytes(const char* name) const { return test::readFile(path(name)); }

    QTemporaryDir m_dir;
    TScanChecks m_checks{{true, false}, {{true, false, true, true}}};
};

TEST_F(ScanWriters, WiredVariant0WithStartRegistersPerNode)
{
    TSaveConfXML in;
    in.XML_Code_Dev = 0;
    in.StartModnode = 1;
    in.SMN_Array = {100, 200};
    in.En_NodeState = true;
    in.En_IdeNum = true;
    in.Cut_After = 5;
    in.File_Name = path("v0.xml");
    ASSERT_TRUE(Save_XML_Conf_Wired(in, true, wiredScan(), m_checks));
    test::expectGolden(bytes("v0.xml"), "conf_wired_v0.xml");
}

TEST_F(ScanWriters, WiredVariant4GroupsTheNodes)
{
    TSaveConfXML in;
    in.XML_Code_Dev = 4;
    in.Mod_Start = 1;
    in.Index_Baud = 3;
    in.Index_Par = 1;
    in.Node_ID_Type = 1;
    in.SND_NKE = 1;
    in.File_Name = path("v4.xml");
    ASSERT_TRUE(Save_XML_Conf_Wired(in, false, wiredScan(), m_checks));
    test::expectGolden(bytes("v4.xml"), "conf_wired_v4.xml");
}

TEST_F(ScanWriters, SecondaryAddressedNodesReadBackWithTheirSecondaryAddress)
{
    // Variant 2 writes the primary address into "ID" whatever the addressing; the network
    // editor's reader used to take it for the secondary address of such a node.
    TSaveConfXML in;
    in.XML_Code_Dev = 2;
    in.Node_ID_Type = 1;
    in.File_Name = path("secondary.xml");
    ASSERT_TRUE(Save_XML_Conf_Wired(in, false, wiredScan(), {}));
    const MBusNetworkLoad back = loadMBusNetwork(in.File_Name);
    ASSERT_TRUE(back.ok) << back.message.toStdString();
    ASSERT_EQ(back.nodes.size(), 2u);
    EXPECT_EQ(back.nodes[0].Node_Sec, 12345);
    EXPECT_EQ(back.nodes[0].Node_Pri, 5);
    EXPECT_EQ(back.nodes[1].Node_Sec, 87654321);
    EXPECT_EQ(back.nodes[1].Var_List.size(), 2u);
}

TEST_F(ScanWriters, WiredVariant12)
{
    TSaveConfXML in;
    in.XML_Code_Dev = 12;
    in.Reset_App = 1;
    in.File_Name = path("v12.xml");
    ASSERT_TRUE(Save_XML_Conf_Wired(in, true, wiredScan(), {}));
    test::expectGolden(bytes("v12.xml"), "conf_wired_v12.xml");
}

TEST_F(ScanWriters, RegistersFollowEachOtherByDataSize)
{
    TSaveConfXML in;
    in.Mod_Start = 100;
    in.File_Name = path("regs.xml");
    ASSERT_TRUE(Save_XML_Conf_Wired(in, false, wiredScan(), m_checks));
    const ProjectXmlLoad load = loadProjectXml(in.File_Name);
    ASSERT_TRUE(load.ok());
    QStringList regs;
    for (const XmlElement& node : rowElements(load.root))
        for (const XmlElement& var : rowElements(node))
            regs.append(var.attribute("ModReg").value_or(QString()));
    // 32-bit: 2 registers, 16-bit: 1, 8 characters: 4, 6-digit BCD: 2; without start
    // registers per node an unchecked record takes its registers all the same.
    EXPECT_EQ(regs, (QStringList{"100", "102", "103", "107", "109", "110"}));
}

TEST_F(ScanWriters, AppendKeepsTheFilesNodes)
{
    TNodo old;
    old.Enable = 1;
    old.MBus_Type = 1;
    old.Node_Pri = 1;
    old.Node_Sec = 1;
    old.Description = QStringLiteral("Kept");
    const QString file = path("M_Bus.xml");
    ASSERT_TRUE(saveMBusNetwork(file, {old, old}));
    TSaveConfXML in;
    in.Append = 1;
    in.File_Name = file;
    ASSERT_TRUE(Save_XML_Conf_Wired(in, false, wiredScan(), {}));
    const MBusNetworkLoad back = loadMBusNetwork(file);
    ASSERT_TRUE(back.ok) << back.message.toStdString();
    ASSERT_EQ(back.nodes.size(), 4u);
    EXPECT_EQ(back.nodes[0], old);
    EXPECT_EQ(back.nodes[1], old);
    EXPECT_EQ(back.nodes[2].Description, QStringLiteral("AAB"));
    EXPECT_EQ(back.nodes[2].Var_List.size(), 4u);
    EXPECT_EQ(back.nodes[3].Node_Pri, 7);
}

TEST_F(ScanWriters, NothingIsWrittenWhenItCannotBeDoneWhole)
{
    TSaveConfXML in;
    in.File_Name = path("none.xml");
    // Empty list: no message, no file.
    ScanSaveResult r = Save_XML_Conf_Wired(in, false, {}, {});
    EXPECT_FALSE(r.written);
    EXPECT_TRUE(r.message.isEmpty());
    EXPECT_FALSE(Save_XML_Conf_Wireless(in, false, {}).written);
    // Start registers for one node of two.
    in.StartModnode = 1;
    in.SMN_Array = {100};
    r = Save_XML_Conf_Wired(in, false, wiredScan(), {});
    EXPECT_FALSE(r.written);
    EXPECT_TRUE(r.message.contains(QStringLiteral("none.xml")));
    EXPECT_FALSE(Save_XML_Conf_Wireless(in, false, wirelessScan()).written);
    // Appending to a file that is not there.
    in.StartModnode = 0;
    in.Append = 1;
    r = Save_XML_Conf_Wired(in, false, wiredScan(), {});
    EXPECT_FALSE(r.written);
    EXPECT_TRUE(r.message.contains(QStringLiteral("none.xml")));
    EXPECT_FALSE(QFile::exists(in.File_Name));
}

TEST_F(ScanWriters, WirelessNetworkFile)
{
    TSaveConfXML in;
    in.StartModnode = 1;
    in.SMN_Array = {1, 50};
    in.En_NodeState = true;
    in.En_IdeNum = true;
    in.File_Name = path("wireless.xml");
    ASSERT_TRUE(Save_XML_Conf_Wireless(in, false, wirelessScan()));
    test::expectGolden(bytes("wireless.xml"), "conf_wireless_v0.xml");
    const ProjectXmlLoad load = loadProjectXml(in.File_Name);
    ASSERT_TRUE(load.ok());
    const XmlElement first = load.root.firstChildElement();
    // Node state on register 1, the 32-bit identification number on 2 and 3, the first
    // record from 4.
    EXPECT_EQ(first.attribute("Node_State"), QStringLiteral("1"));
    EXPECT_EQ(first.attribute("Ident_Num"), QStringLiteral("2"));
    const XmlElement var = first.firstChildElement();
    EXPECT_EQ(var.attribute("ModReg"), QStringLiteral("4"));
    EXPECT_EQ(var.attribute("Position"), QStringLiteral("3"));  // the fillers count
}

TEST_F(ScanWriters, ScanReports)
{
    ASSERT_TRUE(Save_XML_File_DLL(path("wired.xml"), wiredScan()));
    test::expectGolden(bytes("wired.xml"), "report_wired.xml");
    ASSERT_TRUE(Save_Wireless_XML_File_DLL(path("wireless.xml"), wirelessScan()));
    test::expectGolden(bytes("wireless.xml"), "report_wireless.xml");
}

}  // namespace
}  // namespace zfw
