// The DeviceNet byte offsets without their window: which slave's offsets a file gives to which
// slave, what a bad file reports, the output check and its message, and the written file.

#include "common/UComon.h"
#include "common/ULanguage.h"
#include "editors/fieldbus/core/UDeviceNetOffsets.h"
#include "support/CaseName.h"

#include <gtest/gtest.h>

namespace zfw {
namespace {

const ProgramState& english()
{
    static const ProgramState lang = [] {
        ProgramState s;
        Fill_Default_Language(s);
        return s;
    }();
    return lang;
}

QByteArray slaveRow(const char* id, const char* in, const char* out)
{
    return QByteArray("<row ID=\"") + id + "\" NB_IN=\"" + in + "\" NB_OUT=\"" + out
           + "\" Mnemonic=\"\"/>";
}

QByteArray net(const QByteArray& rows) { return "<DNET_Net>" + rows + "</DNET_Net>"; }

// A "Nodo_DNET" with the given attribute text (empty: none) and offsets, in and out.
QByteArray node(const char* id, const QList<const char*>& in, const QList<const char*>& out)
{
    QByteArray x = "<Nodo_DNET";
    if (*id)
        x += QByteArray(" ID=\"") + id + "\"";
    x += "><ByteIN>";
    for (const char* o : in)
        x += QByteArray("<row Offset=\"") + o + "\" Mnemonic=\"m" + o + "\"/>";
    x += "</ByteIN><ByteOUT>";
    for (const char* o : out)
        x += QByteArray("<row Offset=\"") + o + "\" Mnemonic=\"\"/>";
    return x + "</ByteOUT></Nodo_DNET>";
}

QByteArray offsets(const QByteArray& nodes)
{
    return "<Define_Offset>" + nodes + "</Define_Offset>";
}

DefOffsetOpening open(TDefOffsetModel& m, const QByteArray& netXml, const QByteArray& offXml)
{
    const QString netName = QStringLiteral("DNETM_Net.xml");
    const QString offName = QStringLiteral("DNETM_DefOff.xml");
    return m.open(parseProjectXml(netXml, netName),
                  offXml.isNull() ? ProjectXmlLoad{} : parseProjectXml(offXml, offName), netName,
                  offName);
}

// ---- which offsets go to which slave -------------------------------------------------------

struct MatchCase {
    const char* name;
    QByteArray net;
    QByteArray offsets;
    QList<QStringList> inputs;  // SL_ByteIN of each slave
};

const MatchCase kMatchCases[] = {
    // Slave 5 was deleted from the list: slave 9, now first, keeps its own offsets.
    {"ByIdAfterTheFirstSlaveWasDeleted",
     net(slaveRow("9", "2", "0")),
     offsets(node("5", {"1", "2"}, {}) + node("9", {"7", "8"}, {})),
     {{"7", "8"}}},
    {"ByIdInAnotherOrder",
     net(slaveRow("1", "1", "0") + slaveRow("2", "1", "0")),
     offsets(node("0x2", {"20"}, {}) + node("1", {"10"}, {})),
     {{"10"}, {"20"}}},
    {"ByPositionWithoutIds",
     net(slaveRow("9", "2", "0") + slaveRow("4", "1", "0")),
     offsets(node("", {"1", "2"}, {}) + node("", {"3"}, {})),
     {{"1", "2"}, {"3"}}},
    {"ByPositionWhenOneElementLacksTheId",
     net(slaveRow("9", "1", "0") + slaveRow("4", "1", "0")),
     offsets(node("4", {"1"}, {}) + node("", {"3"}, {})),
     {{"1"}, {"3"}}},
    {"ByPositionWhenTwoSlavesShareAnId",
     net(slaveRow("3", "1", "0") + slaveRow("3", "1", "0")),
     offsets(node("3", {"1"}, {}) + node("4", {"2"}, {})),
     {{"1"}, {"2"}}},
    {"ASlaveWithoutElementKeepsNone",
     net(slaveRow("1", "1", "0") + slaveRow("2", "2", "0")),
     offsets(node("1", {"5"}, {})),
     {{"5"}, {"None", "None"}}},
    {"GrownByteCountShowsNoneForTheNewBytes",
     net(slaveRow("1", "3", "0")),
     offsets(node("1", {"5"}, {})),
     {{"5", "None", "None"}}},
    {"ShrunkByteCountDropsTheExtraRows",
     net(slaveRow("1", "1", "0")),
     offsets(node("1", {"5", "6", "7"}, {})),
     {{"5"}}},
    {"NoOffsetsFile", net(slaveRow("1", "2", "0")), QByteArray(), {{"None", "None"}}},
    {"ElementsPastTheSlavesAreSkipped",
     net(slaveRow("1", "1", "0")),
     offsets(node("", {"5"}, {}) + node("", {"6"}, {})),
     {{"5"}}},
};

class DeviceNetOffsetMatch : public ::testing::TestWithParam<MatchCase> {};

TEST_P(DeviceNetOffsetMatch, OffsetsGoToTheirSlave)
{
    const MatchCase& c = GetParam();
    TDefOffsetModel m;
    const DefOffsetOpening opening = open(m, c.net, c.offsets);
    EXPECT_FALSE(opening.askBeforeSaving())
        << defOffsetOpeningMessage(opening, english()).toStdString();
    ASSERT_EQ(m.List_Slaves_DN.size(), std::size_t(c.inputs.size()));
    for (qsizetype i = 0; i < c.inputs.size(); ++i) {
        EXPECT_EQ(m.List_Slaves_DN[std::size_t(i)].SL_ByteIN, c.inputs[i]) << i;
        EXPECT_EQ(m.List_Slaves_DN[std::size_t(i)].SL_ByteIN_M.size(), c.inputs[i].size());
    }
}

INSTANTIATE_TEST_SUITE_P(Files, DeviceNetOffsetMatch, ::testing::ValuesIn(kMatchCases),
                         test::CaseName());

// ---- what a bad file reports ---------------------------------------------------------------

struct BadCase {
    const char* name;
    QByteArray net;
    QByteArray offsets;
    std::size_t slavesKept;
    const char* message;
};

const BadCase kBadCases[] = {
    {"IdNoInteger", net(slaveRow("1", "1", "1") + slaveRow("x", "1", "1")), QByteArray(), 1,
     "Warning!!! The file could not be read completely: DNETM_Net.xml, row 2: the value is no "
     "integer or out of range: ID = \"x\""},
    {"IdPastTheSlaveEditorsRange", net(slaveRow("64", "1", "1")), QByteArray(), 0,
     "Warning!!! The file could not be read completely: DNETM_Net.xml, row 1: the value is no "
     "integer or out of range: ID = \"64\""},
    {"ByteCountPast16Bits", net(slaveRow("1", "70000", "1")), QByteArray(), 0,
     "Warning!!! The file could not be read completely: DNETM_Net.xml, row 1: the value is no "
     "integer or out of range: NB_IN = \"70000\""},
    {"HexMarkerAlone", net(slaveRow("1", "1", "0x")), QByteArray(), 0,
     "Warning!!! The file could not be read completely: DNETM_Net.xml, row 1: the value is no "
     "integer or out of range: NB_OUT = \"0x\""},
    {"MissingAttribute", net(slaveRow("1", "1", "1") + "<row ID=\"2\" NB_IN=\"1\"/>"), QByteArray(),
     1,
     "Warning!!! The file could not be read completely: DNETM_Net.xml, row 2: missing attribute "
     "NB_OUT"},
    {"MissingByteOut", net(slaveRow("1", "1", "1")),
     offsets("<Nodo_DNET ID=\"1\"><ByteIN><row Offset=\"4\" Mnemonic=\"\"/></ByteIN></Nodo_DNET>"),
     1,
     "Warning!!! The file could not be read completely: DNETM_DefOff.xml, row 1: missing "
     "element ByteOUT"},
    {"OffsetRowWithoutOffset", net(slaveRow("1", "1", "1")),
     offsets("<Nodo_DNET><ByteIN><row Mnemonic=\"a\"/></ByteIN><ByteOUT/></Nodo_DNET>"), 1,
     "Warning!!! The file could not be read completely: DNETM_DefOff.xml, row 1: missing "
     "attribute Offset"},
    {"OffsetsFileNotXml", net(slaveRow("1", "1", "1")), QByteArray("<Define_Offset><Nodo"), 1,
     "Warning!!! The file could not be read completely: DNETM_DefOff.xml"},
};

class DeviceNetOffsetBadFile : public ::testing::TestWithParam<BadCase> {};

TEST_P(DeviceNetOffsetBadFile, NamesFileAndRowKeepsWhatWasReadAndAsksBeforeSaving)
{
    const BadCase& c = GetParam();
    TDefOffsetModel m;
    const DefOffsetOpening opening = open(m, c.net, c.offsets);
    EXPECT_TRUE(opening.askBeforeSaving());
    EXPECT_EQ(m.List_Slaves_DN.size(), c.slavesKept);
    const QString message = defOffsetOpeningMessage(opening, english());
    EXPECT_TRUE(message.startsWith(QString::fromUtf8(c.message))) << message.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Files, DeviceNetOffsetBadFile, ::testing::ValuesIn(kBadCases),
                         test::CaseName());

// ---- the output check ----------------------------------------------------------------------

TSlave_DN slave(int id, QStringList out)
{
    TSlave_DN s;
    s.ID = std::uint8_t(id);
    s.ByteOUT = std::uint16_t(out.size());
    s.SL_ByteOUT = out;
    s.SL_ByteOUT_M = QStringList(out.size(), QString());
    return s;
}

TEST(DeviceNetOffsetCheck, AnOutputOffsetTakenTwiceNamesBothBytesExactly)
{
    TDefOffsetModel m;
    m.List_Slaves_DN = {slave(3, {"10", "None", "11"}), slave(7, {"None", "12", "10"})};
    const DefOffsetFault f = m.Check_Data();
    EXPECT_EQ(defOffsetFaultMessage(f, english()).toStdString(),
              "Error in ByteOUT! The same byte of LoRaWAN is used in two bytes DeviceNet.\n\r"
              "( First ID = 3 Byte = 0, Second ID = 7 Byte = 2)");
}

TEST(DeviceNetOffsetCheck, OneSlaveTakingAnOffsetTwiceIsNamedTwice)
{
    TDefOffsetModel m;
    m.List_Slaves_DN = {slave(5, {"0", "1439", "0"})};
    EXPECT_EQ(defOffsetFaultMessage(m.Check_Data(), english()).toStdString(),
              "Error in ByteOUT! The same byte of LoRaWAN is used in two bytes DeviceNet.\n\r"
              "( First ID = 5 Byte = 0, Second ID = 5 Byte = 2)");
}

TEST(DeviceNetOffsetCheck, NoneAnywhereAndSharedInputsPass)
{
    TDefOffsetModel m;
    TSlave_DN a = slave(1, {"None", "None", "1439"});
    a.SL_ByteIN = {"4", "4"};
    m.List_Slaves_DN = {a, slave(2, {"None", "0"})};
    EXPECT_TRUE(m.Check_Data().ok());
}

TEST(DeviceNetOffsetCheck, AnOffsetPastTheArrayNamesSlaveAndByte)
{
    TDefOffsetModel m;
    m.List_Slaves_DN = {slave(1, {"0"}), slave(7, {"None", "1440"})};
    EXPECT_EQ(defOffsetFaultMessage(m.Check_Data(), english()).toStdString(),
              "Error in ByteOUT! The offset is above 1439: ID = 7 Byte = 1");
}

// ---- the written file ----------------------------------------------------------------------

TEST(DeviceNetOffsetFile, WritesEachSlaveWithItsIdAndReadsBackTheSame)
{
    TDefOffsetModel m;
    ASSERT_FALSE(open(m, net(slaveRow("0x3F", "1", "2") + slaveRow("2", "0", "0")),
                      offsets(node("", {"7"}, {"None", "9"})))
                     .askBeforeSaving());
    const QByteArray bytes = m.document().toByteArray();
    EXPECT_EQ(bytes.toStdString(),
              "<Define_Offset>\n"
              "  <Nodo_DNET ID=\"63\">\n"
              "    <ByteIN>\n"
              "      <row Offset=\"7\" Mnemonic=\"m7\"/>\n"
              "    </ByteIN>\n"
              "    <ByteOUT>\n"
              "      <row Offset=\"None\" Mnemonic=\"\"/>\n"
              "      <row Offset=\"9\" Mnemonic=\"\"/>\n"
              "    </ByteOUT>\n"
              "  </Nodo_DNET>\n"
              "  <Nodo_DNET ID=\"2\">\n"
              "    <ByteIN/>\n"
              "    <ByteOUT/>\n"
              "  </Nodo_DNET>\n"
              "</Define_Offset>\n"
              "<!--SW_VERSION = 1.000-->\n");
    TDefOffsetModel again;
    open(again, net(slaveRow("0x3F", "1", "2") + slaveRow("2", "0", "0")), bytes);
    EXPECT_EQ(again.document().toByteArray(), bytes);
}

}  // namespace
}  // namespace zfw
