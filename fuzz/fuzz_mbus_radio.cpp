// Gateway and radio-module replies to a wireless scan, then what the module hears. The first
// byte chooses the scan (bits 0-2 the wireless mode, bit 3 a key request once receiving,
// bit 4 FromDLL); then each entry is a 16-bit big-endian length and that many bytes. Entries
// answer the sends one each until the scan receives; the rest are heard as datagrams. When
// the entries run out every wait ends by time-out. The scan must end within a bounded number
// of steps after a stop, send the closing command one to three times, release the listener
// once and notify only positions of meters it holds.

#include "FuzzSupport.h"

#include "editors/metering/scan/MBusWirelessScan.h"

#include <deque>

namespace {

class ScriptedModule final : public zfw::IScanLine {
public:
    std::deque<QByteArray> script;
    std::deque<QByteArray> pending;
    int closingCommands = 0;
    int releases = 0;

    void send(const QByteArray& data) override
    {
        pending.clear();
        if (data == zfw::gateway::kDisableConfigurationMode)
            ++closingCommands;
        if (!script.empty()) {
            pending.push_back(script.front());
            script.pop_front();
        }
    }
    std::optional<QByteArray> takeAnswer() override
    {
        if (pending.empty())
            return std::nullopt;
        QByteArray answer = pending.front();
        pending.pop_front();
        return answer;
    }
    void release() override { ++releases; }
};

class StepClock final : public zfw::IScanClock {
public:
    quint32 now = 0xFFFFF000u;
    quint32 tick() override { return now; }
    void sleep(int milliseconds) override { now += static_cast<quint32>(milliseconds); }
    QDateTime dateTime() override { return QDateTime(QDate(2026, 1, 1), QTime(0, 0)); }
};

constexpr int kModes[] = {1, 5, 11, 15, 17, 1, 5, 11};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace zfw;
    if (size == 0)
        return 0;
    ScriptedModule module;
    for (size_t at = 1; at + 2 <= size;) {
        const size_t length = std::min<size_t>((size_t(data[at]) << 8 | data[at + 1]),
                                               size - at - 2);
        module.script.push_back(QByteArray(reinterpret_cast<const char*>(data + at + 2),
                                           static_cast<qsizetype>(length)));
        at += 2 + length;
    }
    TWirelessScanSettings settings;
    settings.IP_COM = QStringLiteral("127.0.0.1");
    settings.Port = 10001;
    settings.wMBus_Mode = kModes[data[0] & 7];
    settings.FromDLL = (data[0] & 16) != 0;

    StepClock clock;
    bool badNotice = false;
    const TSlaveWMBusList* list = nullptr;
    TWirelessScanMachine machine(module, clock,
                                 [&](int index, std::shared_ptr<const TSlave_wMBus> slave) {
                                     badNotice |= index < 0
                                                  || static_cast<size_t>(index) >= list->size()
                                                  || settings.FromDLL != (slave == nullptr);
                                 });
    list = &machine.slaves();
    machine.begin(settings);
    // Configuration with every wait timed out takes a few hundred steps; the erase loop of a
    // RadioCrafts module at most 63 rounds of three waits.
    int steps = 0;
    for (; steps < 20000 && machine.inScan() && !machine.receiving(); ++steps) {
        machine.Scan_Decode_Wireless();
        clock.sleep(40);
    }
    if (machine.receiving()) {
        while (!module.script.empty()) {
            module.pending.push_back(module.script.front());
            module.script.pop_front();
        }
        machine.Scan_Decode_Wireless();
        if ((data[0] & 8) && !machine.slaves().empty()) {
            const AesKey key{};
            machine.Insert_Wireless_Key(0, key);
            for (int i = 0;
                 i < 20000 && machine.inScan()
                 && !(machine.receiving() && (machine.step() == 134 || machine.step() == 320));
                 ++i) {
                machine.Scan_Decode_Wireless();
                clock.sleep(40);
            }
        }
    }
    machine.Stop_Scan();
    for (steps = 0; steps < 20000 && machine.inScan(); ++steps) {
        machine.Scan_Decode_Wireless();
        clock.sleep(40);
    }
    ZFW_FUZZ_CHECK(!machine.inScan());
    ZFW_FUZZ_CHECK(machine.result() == 1 || machine.result() == 2);
    ZFW_FUZZ_CHECK(module.closingCommands >= 1 && module.closingCommands <= 3);
    ZFW_FUZZ_CHECK(module.releases == 1);
    ZFW_FUZZ_CHECK(!badNotice);
    return 0;
}
