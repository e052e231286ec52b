#include "editors/metering/scan/MBusWirelessScan.h"

#include "FakeGatewayLine.h"
#include "FakeRadioGateway.h"
#include "support/CaseName.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace zfw;
using zfw::test::FakeRadioGateway;
using zfw::test::FakeScanClock;
using zfw::test::radioTelegram;

namespace {

const QByteArray kPrompt(1, '>');

const AesKey kKey = {0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77,
                     0x88, 0x99, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF};

struct Notice {
    int index;
    std::shared_ptr<const TSlave_wMBus> slave;
};

class WirelessScan : public ::testing::Test {
protected:
    explicit WirelessScan(TRadioModule module = TRadioModule::rmTelit) : radio(module) {}

    FakeRadioGateway radio;
    FakeScanClock clock;
    std::vector<Notice> notices;
    std::vector<FileResult> reports;
    TWirelessScanMachine machine{radio, clock,
                                 [this](int index, std::shared_ptr<const TSlave_wMBus> s) {
                                     notices.push_back({index, s});
                                 },
                                 [this](const FileResult& r) { reports.push_back(r); }};

    static TWirelessScanSettings settings(int mode = radio::kModeT, int channel = 0)
    {
        TWirelessScanSettings s;
        s.IP_COM = QStringLiteral("127.0.0.1");
        s.Port = 10001;
        s.wMBus_Mode = mode;
        s.wMBus_Radio_Channel = channel;
        return s;
    }

    // Steps at the engine's pace (40 ms a step) until the machine receives again or the scan
    // ends. Bounded: a machine that never gets there fails the test.
    void runUntilReceivingOrEnd()
    {
        for (int i = 0; i < 5000 && machine.inScan(); ++i) {
            machine.Scan_Decode_Wireless();
            clock.sleep(40);
            if (machine.receiving() && (machine.step() == 134 || machine.step() == 320))
                return;
        }
        ASSERT_FALSE(machine.inScan()) << "stuck in state " << machine.step();
    }
    void start(const TWirelessScanSettings& s = settings())
    {
        machine.begin(s);
        runUntilReceivingOrEnd();
    }
    void stopAndFinish()
    {
        machine.Stop_Scan();
        runUntilReceivingOrEnd();
        ASSERT_FALSE(machine.inScan());
    }
    // The meter the module hears, by position.
    int hear(quint32 ident)
    {
        radio.hear(radioTelegram(ident, radio.module));
        const size_t before = notices.size();
        machine.Scan_Decode_Wireless();
        return notices.size() > before ? notices.back().index : -1;
    }
    std::vector<QByteArray> sentSince(size_t from) const
    {
        return {radio.sent.begin() + static_cast<std::ptrdiff_t>(from), radio.sent.end()};
    }
};

QByteArray cr(const char* text) { return QByteArray(text) + '\r'; }

// ---- Telit ---------------------------------------------------------------------------------

struct TelitCase {
    std::string name;
    int mode;
    int channel;
    bool narrow;  // N1 and N2 skip three registers
};

const TelitCase kTelitCases[] = {
    {"S", radio::kModeS, 0, false},  {"T", radio::kModeT, 3, false},
    {"C", radio::kModeC, 8, false},  {"N1", radio::kModeN1, 2, true},
    {"N2", radio::kModeN2, 6, true},
};

class TelitModes : public WirelessScan, public ::testing::WithParamInterface<TelitCase> {};

TEST_P(TelitModes, ConfigureReceiveAndCloseWithTheExactCommands)
{
    const TelitCase& c = GetParam();
    start(settings(c.mode, c.channel));
    ASSERT_EQ(machine.step(), 134);
    EXPECT_TRUE(machine.receiving());
    EXPECT_EQ(machine.radioModule(), TRadioModule::rmTelit);

    std::vector<QByteArray> expected = {
        gateway::kEnableConfigurationMode,
        gateway::kTypeRadioModule,
        "+++",
        cr("ATR"),
        "ATS400=" + QByteArray::number(c.mode) + '\r',
        cr("ATS401=0"),
        cr("ATS402=191"),
        "ATS420=" + QByteArray::number(c.channel) + '\r',
    };
    if (!c.narrow)
        expected.push_back(cr("ATS421=0"));
    for (const char* command : {"ATS422=3", "ATS430=5", "ATS431=5", "ATS440=0", "ATS441=0"})
        expected.push_back(cr(command));
    if (!c.narrow)
        expected.push_back(cr("ATS442=0"));
    expected.push_back(cr("ATS452=0"));
    expected.push_back(cr("ATS453=0"));
    if (!c.narrow)
        expected.push_back(cr("ATS454=0"));
    expected.push_back(cr("ATO"));
    EXPECT_EQ(radio.sent, expected);

    const size_t before = radio.sent.size();
    stopAndFinish();
    EXPECT_EQ(sentSince(before),
              std::vector<QByteArray>{QByteArray(gateway::kDisableConfigurationMode)});
    EXPECT_EQ(machine.result(), 1);
    EXPECT_EQ(radio.releases, 1);
}

INSTANTIATE_TEST_SUITE_P(Modes, TelitModes, ::testing::ValuesIn(kTelitCases),
                         zfw::test::CaseName());

TEST_F(WirelessScan, TelitKeyLoadSendsAddressKeyAndReturnsToReceiving)
{
    start();
    ASSERT_EQ(hear(0x12345678), 0);
    const size_t before = radio.sent.size();
    ASSERT_TRUE(machine.Insert_Wireless_Key(0, kKey));
    EXPECT_TRUE(machine.slaves()[0]->Enable_Key);
    EXPECT_EQ(machine.slaves()[0]->Key, kKey);
    runUntilReceivingOrEnd();
    ASSERT_EQ(machine.step(), 134);

    // Manufacturer 0422h low and high, identification 12345678 least significant first,
    // version 1, device type 7.
    std::vector<QByteArray> expected = {"+++",           cr("ATS461=34"),
                                        cr("ATS462=4"),  cr("ATS463=120"),
                                        cr("ATS464=86"), cr("ATS465=52"),
                                        cr("ATS466=18"), cr("ATS467=1"),
                                        cr("ATS468=7")};
    for (int i = 0; i < 16; ++i)
        expected.push_back("ATS" + QByteArray::number(470 + i) + '='
                           + QByteArray::number(kKey[static_cast<size_t>(i)]) + '\r');
    expected.push_back(cr("ATS460=5"));
    expected.push_back(cr("ATO"));
    EXPECT_EQ(sentSince(before), expected);

    // A second key load starts from the first key byte again.
    const size_t second = radio.sent.size();
    ASSERT_TRUE(machine.Insert_Wireless_Key(0, kKey));
    runUntilReceivingOrEnd();
    EXPECT_EQ(sentSince(second), expected);
}

TEST_F(WirelessScan, KeyRequestsOutsideTheReceivingStateAreRefused)
{
    machine.begin(settings());
    machine.Scan_Decode_Wireless();  // the configuration mode is asked for
    EXPECT_FALSE(machine.Insert_Wireless_Key(0, kKey));
    runUntilReceivingOrEnd();
    EXPECT_FALSE(machine.Insert_Wireless_Key(0, kKey)) << "no meter heard yet";
    ASSERT_EQ(hear(0x11111111), 0);
    EXPECT_FALSE(machine.Insert_Wireless_Key(1, kKey));
    EXPECT_FALSE(machine.Insert_Wireless_Key(-1, kKey));
    EXPECT_FALSE(machine.slaves()[0]->Enable_Key);
    ASSERT_TRUE(machine.Insert_Wireless_Key(0, kKey));
    EXPECT_FALSE(machine.Insert_Wireless_Key(0, kKey)) << "a key load is running";
}

// ---- Gateway and module replies --------------------------------------------------------------

struct ReplyCase {
    std::string name;
    TRadioModule module;
    size_t at;                        // position of the send whose reply is replaced
    std::optional<QByteArray> reply;  // nullopt: no reply
    bool configured;                  // the scan still reaches its receiving state
};

const ReplyCase kReplyCases[] = {
    {"ConfigurationReplyWithoutTrailer", TRadioModule::rmTelit, 0,
     QByteArray("\n\rConfiguration_Mode Enabled!"), false},
    {"ConfigurationReplyOneByteDiffers", TRadioModule::rmTelit, 0,
     QByteArray("\n\rConfiguration_Mode Enabled?\n\r"), false},
    {"UnknownModule", TRadioModule::rmTelit, 1, QByteArray("\n\rOTHER\n\r"), false},
    {"ModuleTypeNeverAnswered", TRadioModule::rmTelit, 1, std::nullopt, false},
    {"TelitOkWithoutReturn", TRadioModule::rmTelit, 4, QByteArray("OK"), false},
    {"TelitError", TRadioModule::rmTelit, 6, QByteArray("ERROR\r"), false},
    {"TelitSilent", TRadioModule::rmTelit, 2, std::nullopt, false},
    {"RadioCraftsPromptWithMore", TRadioModule::rmRadioCrafts, 2, QByteArray("> "), false},
    {"RadioCraftsSilent", TRadioModule::rmRadioCrafts, 2, std::nullopt, false},
    {"ConfigMemoryOf256Bytes", TRadioModule::rmRadioCrafts, 3, QByteArray(255, 'a') + '>', false},
    {"ConfigMemoryWithoutPrompt", TRadioModule::rmRadioCrafts, 3, QByteArray(257, 'a'), false},
    {"ConfigMemoryOf257Bytes", TRadioModule::rmRadioCrafts, 3, QByteArray(256, 'a') + '>', true},
    {"ConfigBlockAnswerIgnored", TRadioModule::rmRadioCrafts, 5, QByteArray("garbage"), true},
    {"ConfigBlockNeverAnswered", TRadioModule::rmRadioCrafts, 5, std::nullopt, true},
    {"ErasePositionNeverAnswered", TRadioModule::rmRadioCrafts, 8, std::nullopt, true},
    {"EraseBlockPromptFirst", TRadioModule::rmRadioCrafts, 9, QByteArray(">>?"), true},
    {"EraseBlockWithoutPrompt", TRadioModule::rmRadioCrafts, 9, QByteArray("?>"), false},
};

class Replies : public ::testing::TestWithParam<ReplyCase> {};

TEST_P(Replies, EndInTheRightStateAndCloseAtMostThreeTimes)
{
    const ReplyCase& c = GetParam();
    FakeRadioGateway radio(c.module);
    FakeScanClock clock;
    radio.replyAt[c.at] = c.reply;
    TWirelessScanMachine machine(radio, clock, {});
    TWirelessScanSettings s;
    s.IP_COM = QStringLiteral("127.0.0.1");
    s.Port = 10001;
    machine.begin(s);
    for (int i = 0; i < 5000 && machine.inScan() && !machine.receiving(); ++i) {
        machine.Scan_Decode_Wireless();
        clock.sleep(40);
    }
    EXPECT_EQ(machine.receiving(), c.configured);
    if (c.configured) {
        EXPECT_EQ(machine.result(), 1);
        machine.Stop_Scan();
    }
    for (int i = 0; i < 5000 && machine.inScan(); ++i) {
        machine.Scan_Decode_Wireless();
        clock.sleep(40);
    }
    ASSERT_FALSE(machine.inScan());
    EXPECT_EQ(machine.result(), c.configured ? 1 : 2);
    EXPECT_EQ(radio.count(gateway::kDisableConfigurationMode), 1);
    EXPECT_EQ(radio.releases, 1);
}

INSTANTIATE_TEST_SUITE_P(Wireless, Replies, ::testing::ValuesIn(kReplyCases),
                         zfw::test::CaseName());

TEST_F(WirelessScan, ClosingCommandIsSentAtMostThreeTimes)
{
    start();
    const size_t next = radio.sent.size();
    for (size_t i = next; i < next + 5; ++i)
        radio.replyAt[i] = std::nullopt;
    stopAndFinish();
    EXPECT_EQ(radio.count(gateway::kDisableConfigurationMode), 3);
    EXPECT_EQ(machine.result(), 1);
}

// ---- RadioCrafts -------------------------------------------------------------------------

class RadioCraftsScan : public WirelessScan {
protected:
    RadioCraftsScan() : WirelessScan(TRadioModule::rmRadioCrafts) {}
};

TEST_F(RadioCraftsScan, ConfigurationClearsKeyPositionsOneTo63)
{
    start(settings(radio::kModeN1));
    ASSERT_EQ(machine.step(), 320);
    EXPECT_EQ(machine.radioModule(), TRadioModule::rmRadioCrafts);

    std::vector<QByteArray> expected = {
        gateway::kEnableConfigurationMode,
        gateway::kTypeRadioModule,
        QByteArray(1, '\0'),
        "0",
        "M",
        QByteArray::fromHex("0311 0400 0501 1201 1617 3A01 3D02 3701"),
        QByteArray(1, char(0xFF)),
    };
    for (int position = 1; position <= 63; ++position) {
        expected.push_back("B");
        expected.push_back(QByteArray(1, static_cast<char>(position)));
        expected.push_back(QByteArray(8, '\0'));
    }
    expected.push_back("X");
    EXPECT_EQ(radio.sent, expected);
}

TEST(RadioCraftsBlocks, ConfigurationModeByteFollowsTheWirelessMode)
{
    const std::pair<int, char> modes[] = {{radio::kModeS, 0x03},  {radio::kModeT, 0x01},
                                          {radio::kModeC, 0x0A},  {radio::kModeN1, 0x11},
                                          {radio::kModeN2, 0x10}, {99, 0x03}};
    for (const auto& [mode, code] : modes) {
        const QByteArray block = Build_RadioCrafts_Config(mode);
        ASSERT_EQ(block.size(), 16) << mode;
        EXPECT_EQ(block[1], code) << mode;
        EXPECT_EQ(block.mid(2), QByteArray::fromHex("0400 0501 1201 1617 3A01 3D02 3701"));
    }
}

TEST_F(RadioCraftsScan, KeysTakePositionsOneTo64AndThe65thIsRefused)
{
    start();
    for (quint32 i = 0; i < 65; ++i)
        ASSERT_EQ(hear(0x10000000 + i), static_cast<int>(i));

    AesKey key = kKey;
    for (int i = 0; i < 64; ++i) {
        key[0] = static_cast<quint8>(i);
        const size_t before = radio.sent.size();
        ASSERT_TRUE(machine.Insert_Wireless_Key(i, key)) << i;
        runUntilReceivingOrEnd();
        ASSERT_EQ(machine.step(), 320);
        const quint8 position = static_cast<quint8>(i + 1);
        const auto& slave = *machine.slaves()[static_cast<size_t>(i)];
        EXPECT_EQ(slave.RadioCrafts_Ind_Tab_Decript, position);
        if (i == 0 || i == 63) {
            const quint32 id = 0x10000000u + static_cast<quint32>(i);
            const QByteArray address = QByteArray::fromRawData(reinterpret_cast<const char*>(&id),
                                                               4)
                                       + QByteArray::fromHex("2204 0107");
            const std::vector<QByteArray> expected = {
                QByteArray(1, '\0'),
                "B",
                QByteArray(1, static_cast<char>(position)),
                address,
                "K",
                QByteArray(1, static_cast<char>(position)),
                QByteArray(reinterpret_cast<const char*>(key.data()), 16),
                "A",
                QByteArray(1, static_cast<char>(position)),
                QByteArray::fromHex("0040"),
                "X"};
            EXPECT_EQ(sentSince(before), expected) << "key " << i;
        }
    }
    const size_t before = radio.sent.size();
    EXPECT_FALSE(machine.Insert_Wireless_Key(64, kKey));
    EXPECT_FALSE(machine.slaves()[64]->Enable_Key);
    EXPECT_EQ(machine.slaves()[64]->RadioCrafts_Ind_Tab_Decript, -1);
    machine.Scan_Decode_Wireless();
    EXPECT_EQ(radio.sent.size(), before);
    // A meter that has its position keeps it for a new key, even with the table full.
    EXPECT_TRUE(machine.Insert_Wireless_Key(5, kKey));
    runUntilReceivingOrEnd();
    EXPECT_EQ(machine.slaves()[5]->RadioCrafts_Ind_Tab_Decript, 6);
}

// ---- Telegrams ---------------------------------------------------------------------------

TEST_F(WirelessScan, TelegramsWhoseLengthDoesNotMatchTheirLFieldAreIgnored)
{
    start();
    QByteArray good = radioTelegram(0x12345678, TRadioModule::rmTelit, 77);
    ASSERT_EQ(hear(0x12345678), 0);
    notices.clear();

    radio.hear(good.left(good.size() - 1));
    radio.hear(good + 'x');
    radio.hear(QByteArray());
    radio.hear(radioTelegram(0x12345678, TRadioModule::rmRadioCrafts));  // the other trailer
    machine.Scan_Decode_Wireless();
    EXPECT_TRUE(notices.empty());
    EXPECT_EQ(machine.ignoredTelegrams(), 4);
    EXPECT_EQ(machine.step(), 134);

    radio.hear(good);
    radio.hear(radioTelegram(0x87654321, TRadioModule::rmTelit));
    machine.Scan_Decode_Wireless();
    ASSERT_EQ(notices.size(), 2u);
    EXPECT_EQ(notices[0].index, 0);
    EXPECT_EQ(notices[1].index, 1);
    ASSERT_TRUE(notices[1].slave);
    EXPECT_EQ(notices[1].slave->ALA_Address, static_cast<qint32>(0x87654321));
    // The notice carries a copy: later telegrams do not change what the window holds.
    EXPECT_NE(notices[0].slave.get(), machine.slaves()[0].get());
}

TEST_F(WirelessScan, AnEncryptedTelegramIsReadAfterItsKeyWasLoaded)
{
    start();
    MBusAes aes;
    const QByteArray secret = test::encryptedRadioTelegram(0x12345678, TRadioModule::rmTelit, kKey,
                                                           0x42, 4321, aes);
    radio.hear(secret);
    machine.Scan_Decode_Wireless();
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_TRUE(notices[0].slave->Cripted);
    ASSERT_TRUE(machine.Insert_Wireless_Key(0, kKey));
    runUntilReceivingOrEnd();
    radio.hear(secret);
    machine.Scan_Decode_Wireless();
    ASSERT_EQ(notices.size(), 2u);
    EXPECT_FALSE(notices[1].slave->Cripted);
    EXPECT_FALSE(notices[1].slave->List_Var.empty());
}

TEST_F(WirelessScan, FromDllNoticesCarryThePositionOnly)
{
    TWirelessScanSettings s = settings();
    s.FromDLL = true;
    start(s);
    ASSERT_EQ(hear(0x12345678), 0);
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].slave, nullptr);
}

TEST_F(WirelessScan, FloodOfRandomDatagramsNeverEndsTheScan)
{
    start();
    QRandomGenerator random(25);
    for (int round = 0; round < 200; ++round) {
        for (int i = 0; i < 20; ++i) {
            QByteArray noise(static_cast<qsizetype>(random.bounded(0, 300)), '\0');
            for (char& b : noise)
                b = static_cast<char>(random.bounded(256));
            // Every other datagram gets a matching L field, so the intake sees garbage too.
            if (i % 2 == 0 && noise.size() >= 3)
                noise[0] = static_cast<char>(noise.size() - 3);
            radio.hear(noise);
        }
        machine.Scan_Decode_Wireless();
    }
    EXPECT_EQ(machine.step(), 134);
    EXPECT_TRUE(machine.inScan());
    stopAndFinish();
    EXPECT_EQ(machine.result(), 1);
}

TEST_F(WirelessScan, AbortDuringAKeyLoadClosesTheGateway)
{
    start();
    ASSERT_EQ(hear(0x12345678), 0);
    ASSERT_TRUE(machine.Insert_Wireless_Key(0, kKey));
    for (int i = 0; i < 6; ++i)
        machine.Scan_Decode_Wireless();
    machine.Abort_Scan();
    runUntilReceivingOrEnd();
    EXPECT_FALSE(machine.inScan());
    EXPECT_EQ(radio.sent.back(), QByteArray(gateway::kDisableConfigurationMode));
}

TEST_F(WirelessScan, ScanReportIsWrittenWhenTheScanEnds)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    TWirelessScanSettings s = settings();
    s.SaveXMLFile = dir.filePath(QStringLiteral("scan.xml"));
    start(s);
    hear(0x12345678);
    hear(0x87654321);
    stopAndFinish();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_TRUE(reports[0].ok) << reports[0].message.toStdString();
    QFile file(s.SaveXMLFile);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    EXPECT_TRUE(text.contains("SCAN_M-Bus_Wireless"));
    EXPECT_EQ(text.count("<Node"), 2);

    // A report that cannot be written says so.
    s.SaveXMLFile = dir.filePath(QStringLiteral("missing/folder/scan.xml"));
    start(s);
    stopAndFinish();
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_FALSE(reports[1].ok);
    EXPECT_FALSE(reports[1].message.isEmpty());
}

}  // namespace
