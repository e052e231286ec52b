// A receiving wireless scan fed over loopback by the fake gateway: encrypted telegrams of
// 1,000 meters whose keys were loaded, from the datagram to the window's queued notice.

#include "editors/metering/scan/MBusScanDecode.h"

#include "FakeRadioGateway.h"
#include "FakeUdpGateway.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <thread>

namespace {

using namespace zfw;
using zfw::test::FakeRadioGateway;
using zfw::test::FakeUdpGateway;

constexpr int kMeters = 1000;
constexpr quint32 kFirstIdent = 0x10000000;

QCoreApplication& application()
{
    static int argc = 1;
    static char name[] = "bench_metering";
    static char* argv[] = {name, nullptr};
    // A widget application: the result tree's benchmarks in this executable need one too.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(argc, argv);
    // A heartbeat, so that a wait for events also wakes when none come.
    static QTimer heartbeat;
    if (!heartbeat.isActive())
        heartbeat.start(5);
    return app;
}

AesKey keyOf(int meter)
{
    AesKey key{};
    for (size_t i = 0; i < key.size(); ++i)
        key[i] = static_cast<quint8>(meter * 7 + static_cast<int>(i));
    return key;
}

// The window's side: counts the notices and the readable ones among them.
struct Window {
    int notices = 0;
    int readable = 0;
};

// A gateway with a Telit module, an engine receiving from it, and every meter heard once
// and given its key.
class ReceivingScan {
public:
    ReceivingScan() : gateway(std::make_unique<FakeRadioGateway>(TRadioModule::rmTelit))
    {
        application();
        TMBusScanDecode::Services services;
        services.makeTransport = [] { return std::make_unique<UdpTransport>(); };
        services.wirelessLocalPort = 0;
        services.stepPause = std::chrono::milliseconds(1);
        engine = std::make_unique<TMBusScanDecode>(services);
        QObject::connect(engine.get(), &TMBusScanDecode::UpdateListWirelessSlave, engine.get(),
                         [this](int, std::shared_ptr<const TSlave_wMBus> slave) {
                             ++window.notices;
                             if (slave && !slave->Cripted)
                                 ++window.readable;
                         });
        TWirelessScanSettings settings;
        settings.IP_COM = QStringLiteral("127.0.0.1");
        settings.Port = gateway.port();
        engine->Start_Scan_Wireless(settings);
        waitFor([&] { return sent("ATO\r") == 1; });
        for (int m = 0; m < kMeters; ++m) {
            gateway.push(zfw::test::radioTelegram(kFirstIdent + quint32(m), TRadioModule::rmTelit));
            waitFor([&] { return window.notices == m + 1; });
        }
        for (int m = 0; m < kMeters; ++m)
            waitFor([&] { return engine->Insert_Wireless_Key(m, keyOf(m)); });
        waitFor([&] { return sent("ATO\r") == kMeters + 1; });
        window = {};
    }
    ~ReceivingScan()
    {
        engine->Stop_Scan();
        waitFor([&] { return !engine->inScan(); });
    }

    // Runs the window's loop until done() holds; the loop sleeps until events come.
    template <typename Done>
    static bool waitFor(Done done)
    {
        const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (!done()) {
            if (std::chrono::steady_clock::now() > limit)
                return false;
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        return true;
    }
    long sent(const QByteArray& text) const
    {
        const auto all = gateway.received();
        return std::count(all.begin(), all.end(), text);
    }
    QByteArray telegram(int n) const
    {
        const int meter = n % kMeters;
        return zfw::test::encryptedRadioTelegram(kFirstIdent + quint32(meter),
                                                 TRadioModule::rmTelit, keyOf(meter),
                                                 static_cast<quint8>(n / kMeters), 1000 + n, aes);
    }

    MBusAes aes;
    FakeUdpGateway gateway;
    std::unique_ptr<TMBusScanDecode> engine;
    Window window;
};

// As fast as the engine takes them: a burst never outruns the link's queue, so none is lost.
void BM_ReceiveEncryptedTelegrams(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    ReceivingScan scan;
    std::vector<QByteArray> telegrams;
    for (int n = 0; n < count; ++n)
        telegrams.push_back(scan.telegram(n));
    constexpr int kBurst = 16;
    for (auto _ : state) {
        scan.window = {};
        for (int n = 0; n < count; n += kBurst) {
            const int end = std::min(count, n + kBurst);
            for (int i = n; i < end; ++i)
                scan.gateway.push(telegrams[static_cast<size_t>(i)]);
            ReceivingScan::waitFor([&] { return scan.window.notices >= end; });
        }
    }
    state.counters["per_telegram"] = benchmark::Counter(
        double(count), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.counters["readable"] = scan.window.readable;
    state.counters["dropped"] = scan.engine->droppedAnswers();
}
BENCHMARK(BM_ReceiveEncryptedTelegrams)
    ->Arg(10000)
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMillisecond);

// A meter population sending 100 telegrams a second: every one must reach the window.
void BM_ReceiveAt100PerSecond(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    ReceivingScan scan;
    std::vector<QByteArray> telegrams;
    for (int n = 0; n < count; ++n)
        telegrams.push_back(scan.telegram(n));
    for (auto _ : state) {
        scan.window = {};
        const auto start = std::chrono::steady_clock::now();
        for (int n = 0; n < count; ++n) {
            std::this_thread::sleep_until(start + std::chrono::milliseconds(10 * n));
            QCoreApplication::processEvents();
            scan.gateway.push(telegrams[static_cast<size_t>(n)]);
        }
        ReceivingScan::waitFor([&] { return scan.window.notices >= count; });
    }
    state.counters["lost"] = count - scan.window.notices;
    state.counters["readable"] = scan.window.readable;
    state.counters["dropped"] = scan.engine->droppedAnswers();
}
BENCHMARK(BM_ReceiveAt100PerSecond)
    ->Arg(1000)
    ->Arg(10000)
    ->Iterations(1)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kSecond);

}  // namespace
