#include "editors/metering/scan/MBusScanDecode.h"

#include "FakeRadioGateway.h"
#include "FakeUdpGateway.h"

#include <QCoreApplication>
#include <QThread>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>
#include <vector>

using namespace zfw;
using zfw::test::FakeGatewayLine;
using zfw::test::FakeUdpGateway;

namespace {

// Gateway time runs fifty times faster than the wall clock, so time-outs and the pauses
// before each send take a fiftieth of their time; loopback answers still come at once.
class FastClock final : public IScanClock {
public:
    QDateTime dateTime() override { return QDateTime::currentDateTime(); }
    quint32 tick() override
    {
        const auto now = std::chrono::steady_clock::now().time_since_epoch();
        return static_cast<quint32>(
            std::chrono::duration_cast<std::chrono::microseconds>(now).count() / 20);
    }
    void sleep(int milliseconds) override
    {
        std::this_thread::sleep_for(std::chrono::microseconds(milliseconds * 20));
    }
};

struct Progress {
    int kind, address, found, scanKind;
    bool operator==(const Progress&) const = default;
};

class ScanEngine : public ::testing::Test {
protected:
    FastClock clock;
    std::vector<Progress> progress;
    std::vector<std::shared_ptr<const TSlave_MBus>> slaves;
    std::vector<std::pair<int, std::shared_ptr<const TSlave_wMBus>>> heard;
    bool ended = false;
    bool offThread = false;

    std::unique_ptr<TMBusScanDecode> makeEngine(quint16 gatewayPort)
    {
        TMBusScanDecode::Services services;
        services.makeTransport = [] { return std::make_unique<UdpTransport>(); };
        services.clock = &clock;
        services.gatewayPort = gatewayPort;
        services.stepPause = std::chrono::milliseconds(2);
        // The fake gateway holds its own port on 127.0.0.1; the engine takes any other.
        services.wirelessLocalPort = 0;
        auto engine = std::make_unique<TMBusScanDecode>(services);
        QObject::connect(engine.get(), &TMBusScanDecode::Update_Slave_List, engine.get(),
                         [this](int k, int a, int f, int s) {
                             offThread |= QThread::currentThread() != qApp->thread();
                             progress.push_back({k, a, f, s});
                         });
        QObject::connect(engine.get(), &TMBusScanDecode::slaveRead, engine.get(),
                         [this](std::shared_ptr<const TSlave_MBus> s) { slaves.push_back(s); });
        QObject::connect(engine.get(), &TMBusScanDecode::UpdateListWirelessSlave, engine.get(),
                         [this](int index, std::shared_ptr<const TSlave_wMBus> s) {
                             offThread |= QThread::currentThread() != qApp->thread();
                             heard.push_back({index, s});
                         });
        QObject::connect(engine.get(), &TMBusScanDecode::scanEnded, engine.get(),
                         [this](int) { ended = true; });
        return engine;
    }

    // Runs the window's event loop until done() holds, at most ten seconds.
    template <typename Done>
    bool pumpUntil(Done done)
    {
        const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!done() && std::chrono::steady_clock::now() < limit) {
            QCoreApplication::processEvents();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        QCoreApplication::processEvents();
        return done();
    }
};

TWiredScanSettings settingsFor(TScanType type)
{
    TWiredScanSettings s;
    s.ScanType = type;
    s.IP_COM = QStringLiteral("127.0.0.1");
    return s;
}

TEST_F(ScanEngine, SecondarySearchOverLoopbackReachesTheWindowThread)
{
    FakeUdpGateway gateway([](FakeGatewayLine& line) {
        line.meters = {{0, "12345670", 2}, {0, "12345671", 1}};
    });
    auto engine = makeEngine(gateway.port());
    TWiredScanSettings settings = settingsFor(TScanType::saSecondaryAddress);
    settings.Cut_After = 5;
    ASSERT_TRUE(engine->Start_Scan(settings));
    EXPECT_TRUE(engine->inScan());
    ASSERT_TRUE(pumpUntil([&] { return ended; }));

    EXPECT_FALSE(engine->inScan());
    EXPECT_EQ(engine->result(), 1);
    EXPECT_FALSE(offThread);
    ASSERT_EQ(slaves.size(), 2u);
    EXPECT_EQ(slaves[0]->Secondary_Addresss, QStringLiteral("12345670"));
    EXPECT_EQ(slaves[0]->List_Var.size(), 2u);  // both frames of the first meter
    EXPECT_EQ(slaves[1]->Secondary_Addresss, QStringLiteral("12345671"));
    EXPECT_EQ(progress.back(), (Progress{3, 0, 0, 2}));
    const auto sent = gateway.received();
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.front(), QByteArray(gateway::kEnableAnalyzerMode));
    EXPECT_EQ(sent.back(), QByteArray(gateway::kDisableAnalyzerMode));
}

TEST_F(ScanEngine, RefusesASecondStartAndTheSerialVariant)
{
    FakeUdpGateway gateway([](FakeGatewayLine& line) { line.meters = {{0, "12345670", 1}}; });
    auto engine = makeEngine(gateway.port());

    TWiredScanSettings serial = settingsFor(TScanType::saPrimaryAddress);
    serial.Select_Hardware = TSelectHard::shSerial;
    QString reason;
    EXPECT_FALSE(engine->Start_Scan(serial, &reason));
    EXPECT_FALSE(reason.isEmpty());
    EXPECT_FALSE(engine->inScan());

    TWiredScanSettings noAddress = settingsFor(TScanType::saPrimaryAddress);
    noAddress.IP_COM = QStringLiteral("gateway");
    EXPECT_FALSE(engine->Start_Scan(noAddress, &reason));

    ASSERT_TRUE(engine->Start_Scan(settingsFor(TScanType::saSecondaryAddress)));
    EXPECT_FALSE(engine->Start_Scan(settingsFor(TScanType::saPrimaryAddress), &reason));
    EXPECT_EQ(reason, QStringLiteral("A scan is running"));
    ASSERT_TRUE(pumpUntil([&] { return ended; }));
    // The refused start changed nothing: the secondary search ran to its end.
    EXPECT_EQ(progress.back(), (Progress{3, 0, 0, 2}));
    EXPECT_EQ(slaves.size(), 1u);
}

TEST_F(ScanEngine, AnOversizedAnswerIsDroppedAndCountsAsMissing)
{
    FakeUdpGateway gateway;
    gateway.answerNextWith(QByteArray(kAnswerCapacity + 1, '\n'));
    auto engine = makeEngine(gateway.port());
    ASSERT_TRUE(engine->Start_Scan(settingsFor(TScanType::saPrimaryAddress)));
    ASSERT_TRUE(pumpUntil([&] { return ended; }));
    EXPECT_EQ(engine->result(), 2);
    EXPECT_EQ(engine->droppedAnswers(), 1);
}

TEST_F(ScanEngine, StopAfterTheFirstMeterEndsWithTheNotice)
{
    FakeUdpGateway gateway([](FakeGatewayLine& line) { line.meters = {{0, "00000001", 1}}; });
    auto engine = makeEngine(gateway.port());
    ASSERT_TRUE(engine->Start_Scan(settingsFor(TScanType::saPrimaryAddress)));
    ASSERT_TRUE(pumpUntil([&] { return !slaves.empty(); }));
    engine->Stop_Scan();
    ASSERT_TRUE(pumpUntil([&] { return ended; }));
    EXPECT_EQ(progress.back(), (Progress{3, 0, 0, 1}));
    EXPECT_NE(std::find(progress.begin(), progress.end(), Progress{2, 0, 1, 1}), progress.end());
    EXPECT_LT(progress.size(), 10u);
}

TEST_F(ScanEngine, DestroyedDuringAScanItStillClosesTheGateway)
{
    FakeUdpGateway gateway([](FakeGatewayLine& line) {
        line.meters = {{0, "12345670", 1}, {0, "12345671", 1}};
    });
    {
        auto engine = makeEngine(gateway.port());
        ASSERT_TRUE(engine->Start_Scan(settingsFor(TScanType::saSecondaryAddress)));
        ASSERT_TRUE(pumpUntil([&] { return gateway.received().size() >= 4; }));
        // No window pumps events from here on: the engine closes on its own.
    }
    const auto sent = gateway.received();
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.back(), QByteArray(gateway::kDisableAnalyzerMode));
}

TEST_F(ScanEngine, WirelessScanReceivesLoadsAKeyAndCloses)
{
    using zfw::test::FakeRadioGateway;
    FakeUdpGateway gateway(std::make_unique<FakeRadioGateway>(TRadioModule::rmTelit));
    auto engine = makeEngine(gateway.port());
    const AesKey key = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    EXPECT_FALSE(engine->Insert_Wireless_Key(0, key)) << "no scan runs";

    TWirelessScanSettings settings;
    settings.IP_COM = QStringLiteral("127.0.0.1");
    settings.Port = gateway.port();
    ASSERT_TRUE(engine->Start_Scan_Wireless(settings));
    const auto sentCount = [&](const QByteArray& text) {
        const auto all = gateway.received();
        return std::count(all.begin(), all.end(), text);
    };
    ASSERT_TRUE(pumpUntil([&] { return sentCount("ATO\r") == 1; }));

    MBusAes aes;
    const QByteArray secret = zfw::test::encryptedRadioTelegram(0x12345678, TRadioModule::rmTelit,
                                                                key, 0x42, 999, aes);
    ASSERT_TRUE(gateway.push(secret));
    ASSERT_TRUE(pumpUntil([&] { return heard.size() == 1; }));
    EXPECT_EQ(heard[0].first, 0);
    EXPECT_TRUE(heard[0].second->Cripted);

    // The request is answered by the engine thread while the window's thread waits.
    EXPECT_FALSE(engine->Insert_Wireless_Key(1, key));
    ASSERT_TRUE(engine->Insert_Wireless_Key(0, key));
    ASSERT_TRUE(pumpUntil([&] { return sentCount("ATO\r") == 2; }));
    EXPECT_EQ(sentCount("ATS460=5\r"), 1);

    ASSERT_TRUE(gateway.push(secret));
    ASSERT_TRUE(pumpUntil([&] { return heard.size() == 2; }));
    EXPECT_FALSE(heard[1].second->Cripted);
    EXPECT_FALSE(offThread);

    engine->Stop_Scan();
    ASSERT_TRUE(pumpUntil([&] { return ended; }));
    EXPECT_EQ(engine->result(), 1);
    EXPECT_EQ(gateway.received().back(), QByteArray(gateway::kDisableConfigurationMode));
    EXPECT_FALSE(engine->Insert_Wireless_Key(0, key));
}

TEST_F(ScanEngine, DestroyedWhileReceivingItStillLeavesConfigurationMode)
{
    using zfw::test::FakeRadioGateway;
    FakeUdpGateway gateway(std::make_unique<FakeRadioGateway>(TRadioModule::rmRadioCrafts));
    {
        auto engine = makeEngine(gateway.port());
        TWirelessScanSettings settings;
        settings.IP_COM = QStringLiteral("127.0.0.1");
        settings.Port = gateway.port();
        ASSERT_TRUE(engine->Start_Scan_Wireless(settings));
        ASSERT_TRUE(pumpUntil([&] {
            const auto all = gateway.received();
            return !all.empty() && all.back() == "X";
        }));
    }
    const auto sent = gateway.received();
    EXPECT_EQ(sent.back(), QByteArray(gateway::kDisableConfigurationMode));
}

TEST_F(ScanEngine, WirelessScanRefusesTheSerialVariantAndPortZero)
{
    FakeUdpGateway gateway;
    auto engine = makeEngine(gateway.port());
    TWirelessScanSettings settings;
    settings.IP_COM = QStringLiteral("127.0.0.1");
    QString reason;
    EXPECT_FALSE(engine->Start_Scan_Wireless(settings, &reason));
    EXPECT_FALSE(reason.isEmpty());
    settings.Port = gateway.port();
    settings.Select_Hardware = TSelectHard::shSerial;
    reason.clear();
    EXPECT_FALSE(engine->Start_Scan_Wireless(settings, &reason));
    EXPECT_FALSE(reason.isEmpty());
    EXPECT_FALSE(engine->inScan());
}

}  // namespace
