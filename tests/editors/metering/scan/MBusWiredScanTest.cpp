#include "editors/metering/scan/MBusWiredScan.h"

#include "FakeGatewayLine.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <array>
#include <chrono>
#include <map>
#include <set>
#include <string>
#include <vector>

using namespace zfw;
using zfw::test::FakeGatewayLine;
using zfw::test::FakeScanClock;
using zfw::test::LineMeter;

namespace {

struct Call {
    int kind, address, found, scanKind;
    bool operator==(const Call&) const = default;
};

class WiredScan : public ::testing::Test {
protected:
    FakeGatewayLine line;
    FakeScanClock clock;
    std::vector<Call> calls;
    std::vector<std::shared_ptr<const TSlave_MBus>> read;
    TWiredScanMachine machine{line, clock,
                              [this](int k, int a, int f, int s) {
                                  calls.push_back({k, a, f, s});
                              },
                              [this](std::shared_ptr<const TSlave_MBus> s) { read.push_back(s); }};

    // Steps at the engine's pace (40 ms a step) until the scan ends; hook runs before each
    // step. Bounded: a scan that never ends fails the test.
    template <typename Hook>
    void run(const TWiredScanSettings& settings, Hook hook)
    {
        machine.begin(settings);
        for (int i = 0; i < 200000 && machine.inScan(); ++i) {
            hook();
            machine.Scan_Decode();
            clock.sleep(40);
        }
        ASSERT_FALSE(machine.inScan()) << "stuck in state " << machine.step();
    }
    void run(const TWiredScanSettings& settings)
    {
        run(settings, [] {});
    }

    int notFoundCalls() const
    {
        return static_cast<int>(std::count_if(calls.begin(), calls.end(), [](const Call& c) {
            return c.kind == 2 && c.found == 0;
        }));
    }
};

TWiredScanSettings primary() { return {}; }

TWiredScanSettings secondary()
{
    TWiredScanSettings s;
    s.ScanType = TScanType::saSecondaryAddress;
    return s;
}

TEST_F(WiredScan, EmptyPrimaryLineReportsEveryAddressInOrderThenTheEnd)
{
    const auto started = std::chrono::steady_clock::now();
    run(primary());
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(1));

    ASSERT_EQ(calls.size(), 253u);
    EXPECT_EQ(calls.front(), (Call{1, 0, 0, 1}));
    for (int a = 0; a <= 250; ++a)
        EXPECT_EQ(calls[static_cast<size_t>(a + 1)], (Call{2, a, 0, 1}));
    EXPECT_EQ(calls.back(), (Call{3, 0, 0, 1}));
    EXPECT_EQ(machine.result(), 1);

    // Analyzer mode on, the line set, ..., analyzer mode off once, the listener released.
    ASSERT_GE(line.sent.size(), 3u);
    EXPECT_EQ(line.sent[0], QByteArray(gateway::kEnableAnalyzerMode));
    EXPECT_EQ(line.sent[1], Build_Set_MBus_Line(2400, 1));
    EXPECT_EQ(line.sent.back(), QByteArray(gateway::kDisableAnalyzerMode));
    EXPECT_EQ(line.count(gateway::kDisableAnalyzerMode), 1);
    EXPECT_EQ(line.releases, 1);
}

TEST_F(WiredScan, AMeterIsReadAndFiledUnderItsAddress)
{
    line.meters = {{7, "12345678", 1}};
    run(primary());
    ASSERT_EQ(machine.slaves().size(), 1u);
    EXPECT_EQ(machine.slaves()[0]->Secondary_Addresss, QStringLiteral("12345678"));
    EXPECT_EQ(calls[8], (Call{2, 7, 1, 1}));
    EXPECT_EQ(notFoundCalls(), 250);
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0]->Secondary_Addresss, QStringLiteral("12345678"));
}

TEST(WiredScanReport, IsWrittenAtTheEndBeforeTheEndNotice)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    FakeGatewayLine line;
    line.meters = {{7, "12345678", 1}, {9, "87654321", 1}};
    FakeScanClock clock;
    std::vector<std::string> order;
    TWiredScanMachine machine(
        line, clock,
        [&](int kind, int, int, int) { order.push_back("progress " + std::to_string(kind)); }, {},
        [&](const FileResult& r) { order.push_back(r.ok ? "report" : "failed"); });
    TWiredScanSettings s = primary();
    s.SaveXMLFile = dir.filePath(QStringLiteral("wired.xml"));
    machine.begin(s);
    for (int i = 0; i < 200000 && machine.inScan(); ++i) {
        machine.Scan_Decode();
        clock.sleep(40);
    }
    ASSERT_GE(order.size(), 2u);
    EXPECT_EQ(order[order.size() - 2], "report");
    EXPECT_EQ(order.back(), "progress 3");
    QFile file(s.SaveXMLFile);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    EXPECT_TRUE(text.contains("SCAN_M-Bus_Wired"));
    EXPECT_EQ(text.count("<Node"), 2);
}

struct CutCase {
    const char* name;
    int cutAfter;
    int framesRead;
};

class CutAfter : public WiredScan, public ::testing::WithParamInterface<CutCase> {};

TEST_P(CutAfter, LimitsTheFramesReadFromOneMeter)
{
    line.meters = {{3, "00000003", 3}};
    TWiredScanSettings s = primary();
    s.Cut_After = GetParam().cutAfter;
    run(s);

    std::vector<QByteArray> requests;
    for (const QByteArray& sent : line.sent)
        if (sent.size() == 5 && sent[0] == 0x10 && sent[2] == 3 && sent[1] != 0x40)
            requests.push_back(sent);
    ASSERT_EQ(static_cast<int>(requests.size()), GetParam().framesRead);
    // The FCB alternates, starting set.
    for (size_t i = 0; i < requests.size(); ++i)
        EXPECT_EQ(requests[i], Build_REQ_UD2(3, static_cast<int>(i)));
    ASSERT_EQ(machine.slaves().size(), 1u);
    EXPECT_EQ(static_cast<int>(machine.slaves()[0]->List_Var.size()), GetParam().framesRead);
    EXPECT_NE(std::find(calls.begin(), calls.end(), Call{2, 3, 1, 1}), calls.end());
}

INSTANTIATE_TEST_SUITE_P(WiredScan, CutAfter,
                         ::testing::ValuesIn(std::vector<CutCase>{{"Zero", 0, 1},
                                                                  {"One", 1, 1},
                                                                  {"Two", 2, 2},
                                                                  {"Three", 3, 3},
                                                                  {"MoreThanTheMeterHas", 10, 3}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(WiredScan, StopFinishesTheCurrentAddressAndSendsTheEndNotice)
{
    run(primary(), [&] {
        if (machine.step() == 10 && line.sent.back() == Build_REQ_UD2(3, 0))
            machine.Stop_Scan();
    });
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls[calls.size() - 2], (Call{2, 3, 0, 1}));
    EXPECT_EQ(calls.back(), (Call{3, 0, 0, 1}));
    EXPECT_EQ(line.count(gateway::kDisableAnalyzerMode), 1);
}

TEST_F(WiredScan, AbortSkipsTheEndNoticeButStillClosesTheGateway)
{
    line.meters = {{0, "12345670", 1}, {0, "12345671", 1}};
    run(secondary(), [&] {
        if (machine.step() == 110)
            machine.Abort_Scan();
    });
    EXPECT_TRUE(
        std::none_of(calls.begin(), calls.end(), [](const Call& c) { return c.kind == 3; }));
    EXPECT_EQ(line.sent.back(), QByteArray(gateway::kDisableAnalyzerMode));
    EXPECT_EQ(line.releases, 1);
}

struct ReplyCase {
    const char* name;
    QByteArray analyzerReply;
};

class WrongAnalyzerReply : public WiredScan, public ::testing::WithParamInterface<ReplyCase> {};

TEST_P(WrongAnalyzerReply, GivesResultTwoAndAtMostThreeClosingCommands)
{
    line.analyzerReply = GetParam().analyzerReply;
    line.answerDisable = false;
    run(primary());
    EXPECT_EQ(machine.result(), 2);
    EXPECT_EQ(line.count(gateway::kDisableAnalyzerMode), 3);
    EXPECT_EQ(line.count("Brenik_S_M:"), 0);
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(line.releases, 1);
}

INSTANTIATE_TEST_SUITE_P(WiredScan, WrongAnalyzerReply,
                         ::testing::ValuesIn(std::vector<ReplyCase>{
                             {"WithoutTrailingLineEnd", QByteArray("\n\rAnalyzer_Mode Enabled!")},
                             {"OneByteDiffers", QByteArray("\n\rAnalyzer_Mode Enabled?\n\r")},
                             {"Garbage", QByteArray::fromHex("E5E5FF00")}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(WiredScan, ALateAnswerIsNotFiledUnderTheNextAddress)
{
    // Meter 5 answers only after the engine has moved on to address 6.
    line.meters = {{5, "55555555", 1, true}};
    run(primary());
    EXPECT_TRUE(machine.slaves().empty());
    EXPECT_NE(std::find(calls.begin(), calls.end(), Call{2, 5, 0, 1}), calls.end());
    EXPECT_NE(std::find(calls.begin(), calls.end(), Call{2, 6, 0, 1}), calls.end());
    EXPECT_EQ(notFoundCalls(), 251);
}

// Secondary search: every meter is found exactly once, and the end notice closes it.
std::multiset<QString> secondaryFound(WiredScan& test, const std::vector<Call>& calls)
{
    (void)test;
    std::multiset<QString> found;
    for (const Call& c : calls)
        if (c.kind == 2 && c.found == 1 && c.scanKind == 2)
            found.insert(
                QStringLiteral("%1").arg(static_cast<quint32>(c.address), 8, 16, QLatin1Char('0')));
    return found;
}

TEST_F(WiredScan, SecondarySearchDescendsToTheLastDigit)
{
    line.meters = {{0, "12345670", 2}, {0, "12345671", 1}};
    run(secondary());
    EXPECT_EQ(secondaryFound(*this, calls),
              (std::multiset<QString>{QStringLiteral("12345670"), QStringLiteral("12345671")}));
    EXPECT_EQ(calls.front(), (Call{1, 0, 0, 2}));
    EXPECT_EQ(calls.back(), (Call{3, 0, 0, 2}));
    EXPECT_EQ(machine.slaves().size(), 2u);
}

TEST_F(WiredScan, SecondarySearchFindsThirtyRandomMetersOnceEach)
{
    QRandomGenerator random(25);
    std::set<QString> idents;
    while (idents.size() < 30)
        idents.insert(
            QStringLiteral("%1").arg(random.bounded(100000000u), 8, 10, QLatin1Char('0')));
    std::multiset<QString> expected;
    for (const QString& ident : idents) {
        line.meters.push_back({0, ident, 1 + static_cast<int>(random.bounded(3u))});
        expected.insert(ident);
    }
    run(secondary());
    EXPECT_EQ(secondaryFound(*this, calls), expected);
    EXPECT_EQ(machine.slaves().size(), 30u);
    EXPECT_EQ(calls.back(), (Call{3, 0, 0, 2}));
}

TEST_F(WiredScan, SerialVariantSendsNoGatewayCommand)
{
    TWiredScanSettings s = primary();
    s.Select_Hardware = TSelectHard::shSerial;
    run(s);
    EXPECT_EQ(line.count("Brenik_"), 0);
    EXPECT_EQ(calls.back(), (Call{3, 0, 0, 1}));
}

}  // namespace
