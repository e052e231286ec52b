#include "editors/metering/core/MBusNetwork.h"

#include "MBusTestBytes.h"
#include "support/Files.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace zfw {
namespace {

TNodiList sampleNetwork()
{
    TNodo wired;
    wired.Enable = 1;
    wired.Description = QStringLiteral("Heat meter <1> & \"2\"");
    wired.Node_Pri = 5;
    wired.Node_Sec = 12345678;
    wired.Send_SNK = 1;
    wired.Enable_NS = 1;
    wired.Node_State = 10;
    wired.Enable_IN = 1;
    wired.Ident_Num = 11;
    wired.Node_ID_Type = 1;
    wired.Cut_After = 249;
    wired.Enable_MS = 2;  // node flags are kept as read
    wired.Manufacturer_Spec = 300;
    wired.MSD_Length = 200;
    wired.MSD_Offset = 41;
    wired.MBus_Type = 1;
    wired.Enable_AN = 1;
    wired.Access_Number = 13;
    TVariabile v;
    v.Enable = true;
    v.Description = QStringLiteral("Volume m3 (U0S0T0)");
    v.Type_Of_Data = 2;
    v.Function_Field = 3;
    v.Dimension = 7;
    v.Unita = 10;
    v.PositionData = 1536;
    v.Storage_Number = 4294967295u;
    v.Tariff = 0xFFFFF;
    v.VIFE = 151;
    v.BCDtoINT = true;
    v.Length = 191;
    v.VIF_ASCII = QStringLiteral("m3/h");
    v.Conv_Float = true;
    v.Force_Int32 = true;
    v.TP_Mod_Regs = true;
    v.TP_Mod_Year = 59995;
    v.Position = 512;
    v.Post_Operation = 12;
    wired.Var_List = {v, TVariabile{}};
    wired.Var_List[1].Position = 1;

    TNodo wireless;
    wireless.Enable = 0;
    wireless.MBus_Type = 0;
    wireless.Node_Pri = 1;
    wireless.Node_Sec = 1;
    wireless.wMBus_ManID = QStringLiteral("0x0422");
    wireless.wMBus_Add = QStringLiteral("$12345678");
    wireless.wMBus_Ver = QStringLiteral("1");
    wireless.wMBus_DevType = QStringLiteral("x7");
    wireless.wMBus_En_Key = 1;
    for (int i = 0; i < 16; ++i)
        wireless.wMBus_Key[std::size_t(i)] = QString::number(i * 17);
    wireless.Enable_RSSI = 1;
    wireless.RSSI = 59999;
    return {wired, wireless, TNodo{}};
}

TEST(MBusNetworkFile, WritesTheGoldenFileAndReadsItBack)
{
    TNodiList nodes = sampleNetwork();
    nodes[2].Enable = 1;
    nodes[2].Node_Pri = 1;
    nodes[2].Node_Sec = 1;
    nodes[2].MBus_Type = 1;
    const QByteArray bytes = mbusNetworkBytes(nodes);
    test::expectGolden(bytes, "network_sample.xml");

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("M_Bus.xml"));
    ASSERT_TRUE(saveMBusNetwork(path, nodes));
    const MBusNetworkLoad back = loadMBusNetwork(path);
    ASSERT_TRUE(back.ok) << back.message.toStdString();
    EXPECT_EQ(back.nodes, nodes);
    // Reading leaves the file as it was.
    EXPECT_EQ(test::readFile(path), bytes);
}

TEST(MBusNetworkFile, EmptyNetworkAndMissingFile)
{
    EXPECT_EQ(mbusNetworkBytes({}), QByteArray("<M-Bus_Network/>\n<!--SW_VERSION = 1.002-->\n"));
    QTemporaryDir dir;
    const MBusNetworkLoad none = loadMBusNetwork(dir.filePath(QStringLiteral("M_Bus.xml")));
    EXPECT_TRUE(none.ok);
    EXPECT_TRUE(none.missing);
    EXPECT_TRUE(none.nodes.empty());
}

TEST(MBusNetworkFile, FailedSaveNamesTheFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("missing/M_Bus.xml"));
    const FileResult r = saveMBusNetwork(path, sampleNetwork());
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.message.contains(QStringLiteral("M_Bus.xml")));
}

TEST(MBusNetworkFile, BareElementsTakeTheReadersDefaults)
{
    const MBusNetworkLoad r = parseMBusNetwork(
        "<M-Bus_Network><Nodo><Variabile Type=\"1\" Fun_Field=\"0\" Dim=\"2\" Enable=\"true\"/>"
        "<Variabile Type=\"$A\" Fun_Field=\"0x1\" Dim=\"x2\" Enable=\"1\" BCDtoINT=\" 1\"/>"
        "</Nodo></M-Bus_Network>",
        QStringLiteral("M_Bus.xml"));
    ASSERT_TRUE(r.ok) << r.message.toStdString();
    ASSERT_EQ(r.nodes.size(), 1u);
    const TNodo& n = r.nodes[0];
    EXPECT_EQ(n.Enable, 1);
    EXPECT_EQ(n.MBus_Type, 1);
    EXPECT_EQ(n.Node_Pri, 1);
    EXPECT_EQ(n.Node_Sec, 1);
    EXPECT_EQ(n.Node_ID_Type, 0);
    ASSERT_EQ(n.Var_List.size(), 2u);
    EXPECT_FALSE(n.Var_List[0].Enable);  // only exactly "1" is true
    EXPECT_EQ(n.Var_List[0].Position, 1);
    EXPECT_EQ(n.Var_List[1].Type_Of_Data, 10);
    EXPECT_EQ(n.Var_List[1].Function_Field, 1);
    EXPECT_TRUE(n.Var_List[1].Enable);
    EXPECT_FALSE(n.Var_List[1].BCDtoINT);
}

TEST(MBusNetworkFile, CommentBeforeTheNetworkIsNoEmptyNetwork)
{
    // The version comment placed before the element used to be taken for the network and
    // read as an empty one, which OK then wrote over the file.
    const MBusNetworkLoad r = parseMBusNetwork(
        "<?xml version=\"1.0\"?>\n<!--SW_VERSION = 1.002-->\n<M-Bus_Network><Nodo/><Nodo/>"
        "</M-Bus_Network>",
        QStringLiteral("M_Bus.xml"));
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.nodes.size(), 2u);
}

struct AddressCase {
    std::string name;
    const char* attributes;
    int primary;
    int secondary;
};

void PrintTo(const AddressCase& c, std::ostream* os) { *os << c.name; }

const AddressCase kAddressCases[] = {
    {"idIsSecondary", R"(Node_ID_Type="1" ID="12345678")", 1, 12345678},
    {"idIsPrimary", R"(ID="5" ID_Primary="7" ID_Secondary="9")", 5, 1},
    {"noAddressAtAll", "", 1, 1},
    {"separateAttributes", R"(ID_Primary="7" ID_Secondary="$10")", 7, 16},
    {"idNotANumber", R"(ID="abc" ID_Primary="7")", 7, 1},
    // The writers put the primary address in "ID" whatever the addressing.
    {"secondaryFromItsOwnAttribute",
     R"(Node_ID_Type="1" ID="5" ID_Primary="5" ID_Secondary="00012345")", 5, 12345},
    {"secondaryAttributeNotANumber",
     R"(Node_ID_Type="1" ID="5" ID_Primary="5" ID_Secondary="1234ABCD")", 1, 5},
};

class MBusNetworkAddress : public ::testing::TestWithParam<AddressCase> {};

TEST_P(MBusNetworkAddress, Rule)
{
    const AddressCase& c = GetParam();
    const QByteArray xml = QByteArray("<M-Bus_Network><Nodo ") + c.attributes
                           + QByteArray("/></M-Bus_Network>");
    const MBusNetworkLoad r = parseMBusNetwork(xml, QStringLiteral("M_Bus.xml"));
    ASSERT_TRUE(r.ok);
    ASSERT_EQ(r.nodes.size(), 1u);
    EXPECT_EQ(r.nodes[0].Node_Pri, c.primary);
    EXPECT_EQ(r.nodes[0].Node_Sec, c.secondary);
}

INSTANTIATE_TEST_SUITE_P(Nodes, MBusNetworkAddress, ::testing::ValuesIn(kAddressCases),
                         [](const auto& info) { return info.param.name; });

struct BadFileCase {
    std::string name;
    std::string xml;
    std::size_t nodes;           // kept
    std::size_t varsOfLastNode;  // kept in the last node
    const char* mentions;
};

void PrintTo(const BadFileCase& c, std::ostream* os) { *os << c.name; }

std::string nested(int depth)
{
    std::string s;
    for (int i = 0; i < depth; ++i)
        s += "<a>";
    for (int i = 0; i < depth; ++i)
        s += "</a>";
    return s;
}

const BadFileCase kBadFiles[] = {
    {"notWellFormed", "<M-Bus_Network><Nodo></M-Bus_Network>", 0, 0, "nodes read: 0"},
    {"deeplyNested", "<M-Bus_Network>" + nested(40) + "</M-Bus_Network>", 0, 0, "deeper"},
    {"typeNotANumber",
     R"(<M-Bus_Network><Nodo/><Nodo><Variabile Type="1" Fun_Field="0" Dim="0"/>)"
     R"(<Variabile Type="abc" Fun_Field="0" Dim="0"/></Nodo><Nodo/></M-Bus_Network>)",
     2, 1, "node 2, variable 2: \"Type\": 'abc' is not a valid integer value"},
    {"dimMissing",
     R"(<M-Bus_Network><Nodo><Variabile Type="1" Fun_Field="0"/></Nodo></M-Bus_Network>)", 1, 0,
     "\"Dim\" is missing"},
    {"nodeFlagOutOfRange", R"(<M-Bus_Network><Nodo/><Nodo Node_Enable="300"/></M-Bus_Network>)", 2,
     0, "node 2: \"Node_Enable\" '300' is out of range"},
    {"storageNumberOutOfRange",
     R"(<M-Bus_Network><Nodo><Variabile Type="1" Fun_Field="0" Dim="0" StoNumber="4294967296"/>)"
     R"(</Nodo></M-Bus_Network>)",
     1, 0, "\"StoNumber\" '4294967296' is out of range"},
    {"registerBeyond32Bits", R"(<M-Bus_Network><Nodo Node_State="99999999999"/></M-Bus_Network>)",
     1, 0, "\"Node_State\""},
};

class MBusNetworkBadFile : public ::testing::TestWithParam<BadFileCase> {};

TEST_P(MBusNetworkBadFile, MessageNamesFileAndKeepsWhatWasRead)
{
    const BadFileCase& c = GetParam();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("M_Bus.xml"));
    const QByteArray bytes = QByteArray::fromStdString(c.xml);
    ASSERT_TRUE(test::writeFile(path, bytes));
    const MBusNetworkLoad r = loadMBusNetwork(path);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.message.contains(QStringLiteral("M_Bus.xml"))) << r.message.toStdString();
    EXPECT_TRUE(r.message.contains(QString::fromUtf8(c.mentions))) << r.message.toStdString();
    ASSERT_EQ(r.nodes.size(), c.nodes);
    if (c.nodes > 0) {
        EXPECT_EQ(r.nodes.back().Var_List.size(), c.varsOfLastNode);
    }
    EXPECT_EQ(test::readFile(path), bytes);
}

INSTANTIATE_TEST_SUITE_P(Files, MBusNetworkBadFile, ::testing::ValuesIn(kBadFiles),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace zfw
