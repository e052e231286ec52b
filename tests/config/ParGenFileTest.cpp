// ParGen.xml through the window: opening, OK, and what the file then holds.

#include "config/ParGenFixture.h"
#include "support/Files.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>

#include <gtest/gtest.h>

namespace zfw {
namespace {

QString dataPath(const char* name)
{
    return QStringLiteral(ZFW_TEST_DATA_DIR "/config/pargen/") + QLatin1String(name);
}

class ParGenFile : public test::ParGenFormTest {
protected:
    QString file() const { return programState().File_ParGen; }
    void useFile(const char* name) { useText(test::readFile(dataPath(name))); }
    void useText(const QByteArray& xml) { ASSERT_TRUE(test::writeFile(file(), xml)); }

    // Opens the window and presses OK; true when it closed with OK.
    bool openAndOk()
    {
        m_form->setResult(mrNone);
        m_form->FormShow();
        m_form->Btn_OKClick();
        return m_form->result() == mrOk;
    }

    QString written(const char* element) const
    {
        const QByteArray bytes = test::readFile(file());
        const QByteArray open = QByteArray("<") + element + ">";
        const qsizetype b = bytes.indexOf(open);
        if (b < 0)
            return bytes.contains(QByteArray("<") + element + "/>") ? QString()
                                                                    : QStringLiteral("<missing>");
        const qsizetype e = bytes.indexOf("</", b);
        return QString::fromUtf8(bytes.mid(b + open.size(), e - b - open.size()));
    }
};

TEST_F(ParGenFile, NoFileWritesTheDefaultDocument)
{
    ASSERT_TRUE(openAndOk());
    EXPECT_EQ(test::readFile(file()), test::readFile(dataPath("default.xml")));
    EXPECT_TRUE(m_fakes.dialogs.messages.empty());
}

struct RoundTripCase {
    const char* name;
    const char* file;
};

void PrintTo(const RoundTripCase& c, std::ostream* os) { *os << c.name; }

constexpr RoundTripCase kRoundTrips[] = {
    {"defaults", "default.xml"},
    {"everyFieldChanged", "all_changed.xml"},
    {"otaaWithUsHybridAndLongName", "otaa_us915_hybrid.xml"},
};

class ParGenRoundTrip : public ParGenFile, public ::testing::WithParamInterface<RoundTripCase> {};

TEST_P(ParGenRoundTrip, OkWithoutChangeKeepsTheFileByteForByte)
{
    useFile(GetParam().file);
    const QByteArray before = test::readFile(file());
    ASSERT_FALSE(before.isEmpty());
    ASSERT_TRUE(openAndOk()) << (m_fakes.dialogs.messages.empty()
                                     ? std::string()
                                     : m_fakes.dialogs.messages.front().text.toStdString());
    EXPECT_EQ(test::readFile(file()), before);
    EXPECT_TRUE(m_fakes.dialogs.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Files, ParGenRoundTrip, ::testing::ValuesIn(kRoundTrips),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ParGenFile, StoredPayloadIsRecomputedFromRegionAndRate)
{
    useText(
        "<Par_Gen><LoRa_RF_Band>EU868</LoRa_RF_Band>"
        "<LoRa_DataRate>0 -\tLoRa: SF12/125kHz 250 [bit/s]</LoRa_DataRate>"
        "<LoRa_Payload_Size>200</LoRa_Payload_Size></Par_Gen>");
    m_form->FormShow();
    EXPECT_EQ(m_form->E_LoRa_Payload_Size->text(), QStringLiteral("51"));
    m_form->Btn_OKClick();
    EXPECT_EQ(written("LoRa_Payload_Size"), QStringLiteral("51"));
}

TEST_F(ParGenFile, ListTextsMatchWithCaseIgnoredAndAreWrittenAsListed)
{
    useText(
        "<Par_Gen><LoRa_RF_Band>eu868</LoRa_RF_Band><LoRa_FPort>VARIABLE</LoRa_FPort>"
        "</Par_Gen>");
    ASSERT_TRUE(openAndOk());
    EXPECT_EQ(written("LoRa_RF_Band"), QStringLiteral("EU868"));
    EXPECT_EQ(written("LoRa_FPort"), QStringLiteral("Variable"));
    // Missing data rate: the first item of the stored region, not the no-file default.
    EXPECT_EQ(written("LoRa_DataRate"), QStringLiteral("0 -\tLoRa: SF12/125kHz 250 [bit/s]"));
}

TEST_F(ParGenFile, UnknownRegionLeavesListsEmptyAndOkRefuses)
{
    useText("<Par_Gen><LoRa_RF_Band>EU433</LoRa_RF_Band></Par_Gen>");
    const QByteArray before = test::readFile(file());
    EXPECT_FALSE(openAndOk());
    EXPECT_EQ(m_form->CB_LoRa_RF_Band->currentIndex(), -1);
    EXPECT_EQ(m_form->CB_LoRa_DataRate->count(), 0);
    EXPECT_EQ(m_form->E_LoRa_Payload_Size->text(), QStringLiteral("0"));
    ASSERT_EQ(m_fakes.dialogs.messages.size(), 1u);
    EXPECT_EQ(m_fakes.dialogs.messages[0].text,
              QStringLiteral("Error LoRa!! RF Band cannot be empty"));
    EXPECT_EQ(m_fakes.dialogs.messages[0].type, TMsgDlgType::mtError);
    EXPECT_EQ(test::readFile(file()), before);
}

TEST_F(ParGenFile, CheckBoxesTakeOnlyOneAndWiFiDhcpIsAlwaysWrittenOff)
{
    useText(
        "<Par_Gen><Eth_Conn_DHCP_Cable>true</Eth_Conn_DHCP_Cable>"
        "<Eth_Conn_DHCP_WiFi>1</Eth_Conn_DHCP_WiFi>"
        "<Eth_Conn_Enable_DNS>Y</Eth_Conn_Enable_DNS>"
        "<S7_Protocol_EN_GAT>1</S7_Protocol_EN_GAT></Par_Gen>");
    ASSERT_TRUE(openAndOk());
    EXPECT_EQ(written("Eth_Conn_DHCP_Cable"), QStringLiteral("0"));
    EXPECT_EQ(written("Eth_Conn_DHCP_WiFi"), QStringLiteral("0"));
    EXPECT_EQ(written("Eth_Conn_Enable_DNS"), QStringLiteral("0"));
    EXPECT_EQ(written("S7_Protocol_EN_GAT"), QStringLiteral("1"));
}

TEST_F(ParGenFile, EmptyRootTakesTheMissingDefaults)
{
    useText("<Par_Gen/>");
    ASSERT_TRUE(openAndOk());
    EXPECT_EQ(written("LoRa_RF_Band"), QStringLiteral("AS923"));
    EXPECT_EQ(written("LoRa_DataRate"), QStringLiteral("0\t- LoRa: SF12/125kHz 250 [bit/s]"));
    EXPECT_EQ(written("LoRa_Payload_Size"), QStringLiteral("59"));
    EXPECT_EQ(written("Eth_Conn_Secondary_DNS3"), QStringLiteral("4"));
    EXPECT_EQ(written("S7_Protocol_GAT4"), QStringLiteral("1"));
}

TEST_F(ParGenFile, CommentBeforeTheRootStillReadsTheValues)
{
    // Such a file once read as empty and the next OK replaced every value by a default.
    useText(
        "<!--SW_VERSION = 1.002--><Par_Gen><Eth_Conn_Device_Name>gw-7</Eth_Conn_Device_Name>"
        "</Par_Gen>");
    m_form->FormShow();
    EXPECT_EQ(m_form->E_EthConn_Device_Name->text(), QStringLiteral("gw-7"));
}

TEST_F(ParGenFile, NameLongerThanTheTypingLimitIsKept)
{
    const QString name = QString(40, QLatin1Char('n'));
    useText("<Par_Gen><Eth_Conn_Device_Name>" + name.toUtf8()
            + "</Eth_Conn_Device_Name></Par_Gen>");
    ASSERT_TRUE(openAndOk());
    EXPECT_EQ(written("Eth_Conn_Device_Name"), name);
}

struct BrokenCase {
    const char* name;
    QByteArray bytes;
};

void PrintTo(const BrokenCase& c, std::ostream* os) { *os << c.name; }

const BrokenCase kBroken[] = {
    {"truncated", QByteArray("<Par_Gen><Eth_Conn_Device_Name>gw</Eth_Conn_Dev")},
    {"notXml", QByteArray("this is not a configuration")},
    {"empty", QByteArray()},
    {"binary", QByteArray("\x00\x01\xff\xfe<", 5)},
};

class ParGenBrokenFile : public ParGenFile, public ::testing::WithParamInterface<BrokenCase> {};

TEST_P(ParGenBrokenFile, DefaultsAndAWarningThenAskBeforeOverwriting)
{
    useText(GetParam().bytes);
    m_form->FormShow();
    ASSERT_EQ(m_fakes.dialogs.messages.size(), 1u);
    EXPECT_EQ(m_fakes.dialogs.messages[0].type, TMsgDlgType::mtWarning);
    EXPECT_TRUE(m_fakes.dialogs.messages[0].text.contains(QLatin1String("ParGen.xml")));
    EXPECT_EQ(m_form->values(), parGenNoFileValues());

    // Refusing keeps the file and the window open.
    m_fakes.dialogs.messageAnswers = {mrNo};
    m_form->setResult(mrNone);
    m_form->Btn_OKClick();
    ASSERT_EQ(m_fakes.dialogs.messages.size(), 2u);
    EXPECT_EQ(m_fakes.dialogs.messages[1].type, TMsgDlgType::mtConfirmation);
    EXPECT_NE(m_form->result(), mrOk);
    EXPECT_EQ(test::readFile(file()), GetParam().bytes);

    // Agreeing writes the values shown.
    m_fakes.dialogs.messageAnswers = {mrYes};
    m_form->Btn_OKClick();
    EXPECT_EQ(m_form->result(), mrOk);
    EXPECT_EQ(test::readFile(file()), test::readFile(dataPath("default.xml")));
}

INSTANTIATE_TEST_SUITE_P(Files, ParGenBrokenFile, ::testing::ValuesIn(kBroken),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ParGenFile, FailedSaveIsReportedAndTheWindowStaysOpen)
{
    programState().File_ParGen = path(QStringLiteral("missing-folder/ParGen.xml"));
    EXPECT_FALSE(openAndOk());
    ASSERT_EQ(m_fakes.dialogs.messages.size(), 1u);
    EXPECT_EQ(m_fakes.dialogs.messages[0].type, TMsgDlgType::mtError);
    EXPECT_TRUE(m_fakes.dialogs.messages[0].text.contains(QLatin1String("ParGen.xml")));
}

TEST_F(ParGenFile, InvalidInputWritesNothing)
{
    m_form->FormShow();
    m_form->E_LoRa_LNCHECK->setText(QStringLiteral("61"));
    m_form->Btn_OKClick();
    EXPECT_FALSE(QFile::exists(file()));
    ASSERT_EQ(m_fakes.dialogs.messages.size(), 1u);
    EXPECT_EQ(m_fakes.dialogs.messages[0].text,
              QStringLiteral("Error LoRa!! LNCHECK must be between 5 and 60 minutes"));
    EXPECT_EQ(m_form->E_LoRa_LNCHECK->text(), QStringLiteral("61"));
}

}  // namespace
}  // namespace zfw
