#include "editors/metering/scan/CommControl.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace zfw;

namespace {

TEST(CommProperties, DefaultsAndTheBlockTheyGive)
{
    const TCommProperties p;
    EXPECT_EQ(p.DeviceName, QStringLiteral("Com2"));
    EXPECT_EQ(p.ReadTimeout, 1000);
    EXPECT_EQ(p.WriteTimeout, 1000);
    EXPECT_EQ(p.ReadBufSize, 4096);
    EXPECT_EQ(p.WriteBufSize, 2048);
    EXPECT_EQ(p.MonitorEvents, kAllCommEvents);
    EXPECT_EQ(p.EventChars, (TCommEventChars{17, 19, 0, 0, 0}));

    TDcb read;
    read.Flags = 0x4001;  // a flag the default flow control keeps
    const TDcb block = UpdateDataControlBlock(read, p);
    EXPECT_EQ(block.BaudRate, 9600u);
    EXPECT_EQ(block.ByteSize, 8);
    EXPECT_EQ(block.Parity, 0);
    EXPECT_EQ(block.StopBits, 0);
    EXPECT_EQ(block.XonLim, 1024);
    EXPECT_EQ(block.XoffLim, 1024);
    EXPECT_EQ(block.Flags, 0x4001u);
    EXPECT_EQ(block.chars.XoffChar, 19);
}

TEST(CommProperties, EveryRateAndTheOddSizes)
{
    const std::vector<std::uint32_t> rates = {110,    300,    600,    1200,    2400,   4800,
                                              9600,   14400,  19200,  38400,   56000,  57600,
                                              115200, 128000, 256000, 1500000, 3000000};
    for (size_t i = 0; i < rates.size(); ++i)
        EXPECT_EQ(baudRateValue(static_cast<TBaudrate>(i)), rates[i]);
    TCommProperties p;
    p.Databits = TDatabits::da4;
    p.Parity = TParity::paSpace;
    p.Stopbits = TStopbits::sb15;
    p.ReadBufSize = 4099;  // the limits round toward zero
    const TDcb block = UpdateDataControlBlock({}, p);
    EXPECT_EQ(block.ByteSize, 4);
    EXPECT_EQ(block.Parity, 4);
    EXPECT_EQ(block.StopBits, 1);
    EXPECT_EQ(block.XonLim, 1024);
}

struct FlowCase {
    const char* name;
    TFlowControl flow;
    TCommOptions options;
    std::uint32_t before;
    std::uint32_t after;
};

class CommFlagWord : public ::testing::TestWithParam<FlowCase> {};

TEST_P(CommFlagWord, FollowsFlowControlAndOptions)
{
    TCommProperties p;
    p.FlowControl = GetParam().flow;
    p.Options = GetParam().options;
    TDcb read;
    read.Flags = GetParam().before;
    EXPECT_EQ(UpdateDataControlBlock(read, p).Flags, GetParam().after);
}

const TCommOptions kAllOptions = 0x1F;

INSTANTIATE_TEST_SUITE_P(
    Comm, CommFlagWord,
    ::testing::ValuesIn(std::vector<FlowCase>{
        {"NoneClearsEverythingButBinary", TFlowControl::fcNone, 0, 0xFFFF, 0x0001},
        {"CtsAddsOnly", TFlowControl::fcCTS, 0, 0x0001, 0x2005},
        {"DtrAddsOnly", TFlowControl::fcDTR, 0, 0x0001, 0x0029},
        {"SoftwareAddsOnly", TFlowControl::fcSoftware, 0, 0x0001, 0x0301},
        {"DefaultKeepsWhatWasRead", TFlowControl::fcDefault, 0, 0x1031, 0x1031},
        {"OptionsSetTheirBits", TFlowControl::fcNone, kAllOptions, 0, 0x0CC3},
        {"AbsentOptionsClearTheirBits", TFlowControl::fcDefault, 0, 0x0CC3, 0x0001},
        {"OneOption", TFlowControl::fcDefault, commOption(TCommOption::coIgnoreXOff), 0, 0x0080}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CommProperties, WritesWhileOpen)
{
    int applies = 0;
    TCommPropertyStore store([&](const TCommProperties&) -> std::optional<CommError> {
        ++applies;
        return std::nullopt;
    });
    // Closed: everything is stored, nothing applied.
    EXPECT_FALSE(store.setDeviceName(QStringLiteral("ttyUSB0")));
    EXPECT_FALSE(store.setBaudRate(TBaudrate::br2400));
    EXPECT_EQ(applies, 0);

    store.setOpen(true);
    const auto refused = store.setReadBufSize(100);
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->code, -1);
    EXPECT_EQ(refused->message, QStringLiteral("Port already assigned (open) (Error: -1) "));
    EXPECT_EQ(store.properties().ReadBufSize, 4096);
    EXPECT_TRUE(store.setDeviceName(QStringLiteral("ttyS0")));
    EXPECT_TRUE(store.setWriteBufSize(1));
    EXPECT_TRUE(store.setMonitorEvents(0));
    // An equal value is no change, so no refusal.
    EXPECT_FALSE(store.setDeviceName(QStringLiteral("ttyUSB0")));
    // Time-outs are stored for the next transfer.
    store.setReadTimeout(5);
    EXPECT_EQ(store.properties().ReadTimeout, 5);
    // Line settings are applied at once, only when they change.
    EXPECT_FALSE(store.setBaudRate(TBaudrate::br2400));
    EXPECT_FALSE(store.setParity(TParity::paEven));
    EXPECT_FALSE(store.setEventChars({17, 19, 0, 0, 7}));
    EXPECT_EQ(applies, 2);
}

TEST(CommEvents, MaskAndDispatchOrder)
{
    EXPECT_EQ(eventMask(kAllCommEvents), 0x1FFu);
    EXPECT_EQ(eventMask(commEvent(TCommEventType::evBreak)), 0x40u);
    EXPECT_EQ(eventMask(commEvent(TCommEventType::evRxChar) | commEvent(TCommEventType::evRing)),
              0x101u);

    std::vector<std::string> order;
    TCommHandlers h;
    h.OnBreak = [&] { order.push_back("break"); };
    h.OnCts = [&] { order.push_back("cts"); };
    h.OnDsr = [&] { order.push_back("dsr"); };
    h.OnError = [&](int e) { order.push_back("error " + std::to_string(e)); };
    h.OnRing = [&] { order.push_back("ring"); };
    h.OnRlsd = [&] { order.push_back("rlsd"); };
    h.OnRxChar = [&](int n) { order.push_back("rx " + std::to_string(n)); };
    h.OnRxFlag = [&] { order.push_back("flag"); };
    h.OnTxEmpty = [&] { order.push_back("txempty"); };
    HandleCommEvent(0x1FF, 4, 3, h);
    EXPECT_EQ(order, (std::vector<std::string>{"break", "cts", "dsr", "error 4", "ring", "rlsd",
                                               "rx 3", "flag", "txempty"}));
    order.clear();
    HandleCommEvent(0x01 | 0x04, 0, 0, h);  // an empty queue calls no OnRxChar
    EXPECT_EQ(order, (std::vector<std::string>{"txempty"}));
    HandleCommEvent(0x1FF, 0, 1, TCommHandlers{});  // no handlers: nothing to call
}

}  // namespace
