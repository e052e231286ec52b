// Decoding wired frames and wireless telegrams (with decryption), loading and saving a large
// network file, and checking a pasted node against it.

#include "editors/metering/core/MBusCrypto.h"
#include "editors/metering/core/MBusDecoder.h"
#include "editors/metering/core/MBusNetwork.h"
#include "editors/metering/core/MBusRules.h"
#include "editors/metering/core/WMBusIntake.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <string_view>

namespace {

using namespace zfw;
using Bytes = std::vector<std::uint8_t>;

Bytes hexBytes(std::string_view text)
{
    Bytes out;
    int nibble = -1;
    for (char c : text) {
        int v;
        if (c >= '0' && c <= '9')
            v = c - '0';
        else if (c >= 'A' && c <= 'F')
            v = c - 'A' + 10;
        else
            continue;
        if (nibble < 0) {
            nibble = v;
        } else {
            out.push_back(std::uint8_t(nibble << 4 | v));
            nibble = -1;
        }
    }
    return out;
}

void append(Bytes& out, const Bytes& more)
{
    for (std::uint8_t b : more)
        out.push_back(b);
}

// A long frame with fifteen records of every coding.
Bytes wiredFrame()
{
    Bytes body = hexBytes("08 05 72 45 23 01 00 22 04 01 07 00 00 00 00");
    append(body, hexBytes("01 FD 17 05 02 5B 15 00 03 13 FF FF FF 04 13 40 E2 01 00 "
                          "05 2B 00 00 C0 3F 06 78 01 00 00 00 00 00 07 78 02 00 00 00 00 00 00 00 "
                          "09 78 99 0A 78 34 12 0B 78 56 34 12 0C 78 78 56 34 12 "
                          "0E 78 12 90 78 56 34 12 D4 D5 23 13 01 00 00 00 0D 13 C3 56 34 12 "
                          "04 6D 1E 0C 81 2C"));
    Bytes frame = {0x68, std::uint8_t(body.size()), std::uint8_t(body.size()), 0x68};
    std::uint8_t cs = 0;
    for (std::uint8_t b : body)
        cs = std::uint8_t(cs + b);
    append(frame, body);
    frame.push_back(cs);
    frame.push_back(0x16);
    return frame;
}

const AesKey kKey = {0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77,
                     0x88, 0x99, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF};
const Bytes kLink = hexBytes("44 22 04 78 56 34 12 01 07");
// Three blocks of records.
const Bytes kPlain = hexBytes(
    "2F 2F 04 13 40 E2 01 00 01 FD 17 05 02 5B 15 00 "
    "04 6D 1E 0C 81 2C 0C 78 78 56 34 12 0B 78 56 34 "
    "12 04 93 3B 40 E2 01 00 2F 2F 2F 2F 2F 2F 2F 2F");

Bytes telegram(const Bytes& body)
{
    Bytes t = {0};
    append(t, kLink);
    append(t, body);
    t.push_back(0x9C);
    t[0] = std::uint8_t(t.size() - 1);
    return t;
}

Bytes mode5Telegram()
{
    AesBlock iv;
    std::copy(kLink.begin() + 1, kLink.end(), iv.begin());
    std::fill(iv.begin() + 8, iv.end(), 0x42);
    Bytes body = hexBytes("8C 20 01 7A 42 00 30 05");
    append(body, *MBusAes().cbcEncrypt(kKey, iv, kPlain));
    return telegram(body);
}

Bytes mode7Telegram()
{
    MBusAes aes;
    const Bytes counter = hexBytes("01 02 03 04");
    std::array<std::uint8_t, 16> message{};
    std::copy(counter.begin(), counter.end(), message.begin() + 1);
    std::copy(kLink.begin() + 3, kLink.begin() + 7, message.begin() + 5);
    std::fill(message.begin() + 9, message.end(), 0x07);
    Bytes body = hexBytes("8C 20 01 90 0F 00 2C 05");
    append(body, counter);
    append(body, hexBytes("A1 A2 A3 A4 A5 A6 A7 A8 7A 42 00 30 07 00"));
    append(body, *aes.cbcEncrypt(*aes.cmac(kKey, message), AesBlock{}, kPlain));
    return telegram(body);
}

void setPerTelegram(benchmark::State& state, std::int64_t count)
{
    state.counters["per_telegram"] = benchmark::Counter(double(count),
                                                        benchmark::Counter::kIsRate
                                                            | benchmark::Counter::kInvert);
}

void BM_DecodeWiredFrames(benchmark::State& state)
{
    const Bytes frame = wiredFrame();
    TMBusDecoder decoder(u',');
    std::int64_t total = 0;
    for (auto _ : state) {
        TSlaveMBusList list;
        list.reserve(1000);
        for (std::int64_t i = 0; i < state.range(0); ++i) {
            bool complete;
            decoder.Decode_Frame_Wired(frame, list, -1, complete);
            if (list.size() == 1000)
                list.clear();
        }
        total += state.range(0);
    }
    setPerTelegram(state, total);
}
BENCHMARK(BM_DecodeWiredFrames)->Arg(100000)->Unit(benchmark::kMillisecond);

void decodeWireless(benchmark::State& state, const Bytes& t)
{
    TWMBusIntake intake(u',');
    TSlaveWMBusList list;
    const QDateTime when = QDateTime::currentDateTime();
    intake.Decode_Frame_Wireless(t, TRadioModule::rmRadioCrafts, list, when);
    list[0]->Enable_Key = true;
    list[0]->Key = kKey;
    intake.Decode_Frame_Wireless(t, TRadioModule::rmRadioCrafts, list, when);
    if (list[0]->Cripted || list[0]->List_Var.size() < 8) {
        state.SkipWithError("the telegram does not decrypt");
        return;
    }
    std::int64_t total = 0;
    for (auto _ : state) {
        for (std::int64_t i = 0; i < state.range(0); ++i)
            intake.Decode_Frame_Wireless(t, TRadioModule::rmRadioCrafts, list, when);
        total += state.range(0);
    }
    setPerTelegram(state, total);
}

void BM_DecodeMode5Telegrams(benchmark::State& state) { decodeWireless(state, mode5Telegram()); }
BENCHMARK(BM_DecodeMode5Telegrams)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_DecodeMode7Telegrams(benchmark::State& state) { decodeWireless(state, mode7Telegram()); }
BENCHMARK(BM_DecodeMode7Telegrams)->Arg(100000)->Unit(benchmark::kMillisecond);

TNodiList largeNetwork(int nodes, int variables)
{
    TNodiList list(static_cast<std::size_t>(nodes));
    int reg = 1;
    for (int n = 0; n < nodes; ++n) {
        TNodo& node = list[std::size_t(n)];
        node.Enable = 1;
        node.MBus_Type = 1;
        node.Node_Pri = n;
        node.Description = QStringLiteral("Meter %1").arg(n);
        node.Var_List.resize(std::size_t(variables));
        for (int v = 0; v < variables; ++v) {
            TVariabile& var = node.Var_List[std::size_t(v)];
            var.Enable = true;
            var.Description = QStringLiteral("Volume m3 (U0S%1T0)").arg(v);
            var.Type_Of_Data = 2;
            var.Dimension = 2;
            var.PositionData = reg++;
            var.Storage_Number = quint32(v);
            var.Position = quint16(v + 1);
        }
    }
    return list;
}

void BM_NetworkSave(benchmark::State& state)
{
    const TNodiList nodes = largeNetwork(250, 100);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("M_Bus.xml"));
    for (auto _ : state) {
        if (!saveMBusNetwork(path, nodes)) {
            state.SkipWithError("save failed");
            return;
        }
    }
}
BENCHMARK(BM_NetworkSave)->Unit(benchmark::kMillisecond);

void BM_NetworkLoad(benchmark::State& state)
{
    const TNodiList nodes = largeNetwork(250, 100);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("M_Bus.xml"));
    if (!saveMBusNetwork(path, nodes)) {
        state.SkipWithError("save failed");
        return;
    }
    for (auto _ : state) {
        const MBusNetworkLoad back = loadMBusNetwork(path);
        if (!back.ok || back.nodes.size() != nodes.size()) {
            state.SkipWithError("load failed");
            return;
        }
    }
}
BENCHMARK(BM_NetworkLoad)->Unit(benchmark::kMillisecond);

// A pasted node of 100 variables: its address against every node, then every variable's
// register against every register of the network, none colliding (the longest walk).
void BM_CheckPastedNode(benchmark::State& state)
{
    const TNodiList nodes = largeNetwork(250, 100);
    const TMBusRules rules(nodes, -1, -1, [](int n) { return QString::number(n); });
    for (auto _ : state) {
        bool conflict = !rules.Check_Node_ID2(300, 0).ok;
        for (int v = 0; v < 100; ++v)
            conflict |= rules.Check_Registers(30000 + v, 0, 0, true).conflict;
        benchmark::DoNotOptimize(conflict);
    }
}
BENCHMARK(BM_CheckPastedNode)->Unit(benchmark::kMillisecond);

}  // namespace
