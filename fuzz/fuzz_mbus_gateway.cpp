// Gateway answers to a wired scan: the first byte chooses the scan (bit 0 secondary, bit 1 a
// fixed FCB, bits 2-3 Cut_After, bit 4 SND_NKE, bit 5 application reset), then each answer is
// a 16-bit big-endian length and that many bytes, handed out one per send. When the answers
// run out every wait ends by time-out. The scan must come to its end within a bounded number
// of steps, send the closing command at most three times, and report no more meters read than it kept.

#include "FuzzSupport.h"

#include "editors/metering/scan/MBusWiredScan.h"

#include <deque>

namespace {

class ScriptedLine final : public zfw::IScanLine {
public:
    std::deque<QByteArray> script;
    std::deque<QByteArray> pending;
    int closingCommands = 0;
    int releases = 0;

    void send(const QByteArray& data) override
    {
        pending.clear();
        if (data == zfw::gateway::kDisableAnalyzerMode)
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
    QDateTime dateTime() override { return {}; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace zfw;
    if (size == 0)
        return 0;
    ScriptedLine line;
    for (size_t at = 1; at + 2 <= size;) {
        const size_t length = std::min<size_t>((size_t(data[at]) << 8 | data[at + 1]),
                                               size - at - 2);
        line.script.push_back(QByteArray(reinterpret_cast<const char*>(data + at + 2),
                                         static_cast<qsizetype>(length)));
        at += 2 + length;
    }
    TWiredScanSettings settings;
    settings.ScanType = (data[0] & 1) ? TScanType::saSecondaryAddress : TScanType::saPrimaryAddress;
    settings.Fix_C_Field = (data[0] & 2) != 0;
    settings.Cut_After = (data[0] >> 2) & 3;
    settings.SND_NKE = (data[0] & 16) != 0;
    settings.App_Reset = (data[0] & 32) != 0;

    StepClock clock;
    int found = 0;
    TWiredScanMachine machine(line, clock, [&](int kind, int, int f, int) {
        if (kind == 2 && f == 1)
            ++found;
    });
    machine.begin(settings);
    // Every wait ends within its time-out: at 40 ms a step and a long time-out of under two
    // seconds, a primary scan of 251 silent addresses needs about 13,000 steps, and the
    // secondary search of a silent line far fewer.
    int steps = 0;
    for (; steps < 200000 && machine.inScan(); ++steps) {
        machine.Scan_Decode();
        clock.sleep(40);
    }
    ZFW_FUZZ_CHECK(!machine.inScan());
    ZFW_FUZZ_CHECK(machine.result() == 1 || machine.result() == 2);
    ZFW_FUZZ_CHECK(line.closingCommands >= 1 && line.closingCommands <= 3);
    ZFW_FUZZ_CHECK(line.releases == 1);
    ZFW_FUZZ_CHECK(found <= static_cast<int>(machine.slaves().size()));
    return 0;
}
