#include "editors/metering/scan/CommDevice.h"

#include "support/CaseName.h"
#include "support/FakeSerialDevice.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <algorithm>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

using namespace zfw;
using zfw::test::FakeSerialDevice;

namespace {

// Runs the owning thread's event loop until done() holds, at most five seconds.
template <typename Done>
bool pumpUntil(Done done)
{
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!done() && std::chrono::steady_clock::now() < limit) {
        QCoreApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return done();
}

class CommFake : public ::testing::Test {
protected:
    std::shared_ptr<FakeSerialDevice::State> device = std::make_shared<FakeSerialDevice::State>();
    TComm comm{std::make_unique<FakeSerialDevice>(device)};
    std::vector<std::string> seen;
    bool offThread = false;

    void SetUp() override
    {
        ASSERT_FALSE(comm.properties().setDeviceName(QStringLiteral("ttyUSB0")));
        auto note = [this](std::string what) {
            offThread |= QThread::currentThread() != qApp->thread();
            seen.push_back(std::move(what));
        };
        TCommHandlers& h = comm.handlers();
        h.OnBreak = [=] { note("break"); };
        h.OnCts = [=] { note("cts"); };
        h.OnDsr = [=] { note("dsr"); };
        h.OnError = [=](int errors) { note("error " + std::to_string(errors)); };
        h.OnRing = [=] { note("ring"); };
        h.OnRlsd = [=] { note("rlsd"); };
        h.OnRxChar = [=](int count) { note("rx " + std::to_string(count)); };
        h.OnRxFlag = [=] { note("rxflag"); };
        h.OnTxEmpty = [=] { note("txempty"); };
    }
    void TearDown() override
    {
        comm.Close();
        EXPECT_EQ(device->misuse, 0);
    }
    bool eventThreadWaits()
    {
        return pumpUntil([&] {
            std::lock_guard lock(device->mutex);
            return device->waiting == 1 && device->events.empty();
        });
    }
};

TEST_F(CommFake, EventsReachTheHandlersOnTheOwningThreadInTheirOrder)
{
    ASSERT_FALSE(comm.Open());
    EXPECT_EQ(device->path, QStringLiteral("/dev/ttyUSB0"));
    device->input = "abc";
    device->errors = 0x08;
    FakeSerialDevice::post(*device, serial::kTxEmpty | serial::kRxChar | serial::kRing
                                        | serial::kError | serial::kCts | serial::kBreak
                                        | serial::kRlsd | serial::kDsr | serial::kRxFlag);
    ASSERT_TRUE(pumpUntil([&] { return seen.size() == 9; }));
    EXPECT_EQ(seen, (std::vector<std::string>{"break", "cts", "dsr", "error 8", "ring", "rlsd",
                                              "rx 3", "rxflag", "txempty"}));
    EXPECT_FALSE(offThread);

    // A character event with an empty queue reaches no OnRxChar; the events come one by one.
    seen.clear();
    device->input.clear();
    FakeSerialDevice::post(*device, serial::kRxChar);
    FakeSerialDevice::post(*device, serial::kTxEmpty);
    ASSERT_TRUE(pumpUntil([&] { return !seen.empty(); }));
    EXPECT_EQ(seen, std::vector<std::string>{"txempty"});
}

TEST_F(CommFake, OnlyMonitoredEventsAreWaitedFor)
{
    ASSERT_FALSE(comm.properties().setMonitorEvents(commEvent(TCommEventType::evCts)));
    ASSERT_FALSE(comm.Open());
    FakeSerialDevice::post(*device, serial::kBreak | serial::kCts);
    ASSERT_TRUE(pumpUntil([&] { return !seen.empty(); }));
    EXPECT_EQ(seen, std::vector<std::string>{"cts"});
}

TEST_F(CommFake, AnEventFoundBeforeCloseIsDropped)
{
    ASSERT_FALSE(comm.Open());
    ASSERT_TRUE(eventThreadWaits());
    device->input = "x";
    FakeSerialDevice::post(*device, serial::kRxChar | serial::kError);
    // The event thread takes the event and queues it; nobody runs the loop before Close.
    for (int i = 0; i < 5000; ++i) {
        {
            std::lock_guard lock(device->mutex);
            if (device->events.empty() && device->waiting == 0)
                break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    comm.Close();
    EXPECT_FALSE(comm.Enabled());
    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents();
    EXPECT_TRUE(seen.empty());
    // The event thread ended, after purging, before the device was closed.
    const auto& calls = device->calls;
    const auto purge = std::find(calls.begin(), calls.end(), "purge in out");
    const auto close = std::find(calls.begin(), calls.end(), "close");
    EXPECT_LT(purge, close);
    EXPECT_NE(close, calls.end());

    // Opened again, events flow as before.
    ASSERT_FALSE(comm.Open());
    device->input = "yz";
    FakeSerialDevice::post(*device, serial::kRxChar);
    ASSERT_TRUE(pumpUntil([&] { return !seen.empty(); }));
    EXPECT_EQ(seen, std::vector<std::string>{"rx 2"});
}

struct EscapeCase {
    std::string name;
    std::optional<CommError> (TComm::*call)(bool);
    bool state;
    std::vector<std::string> calls;  // what the device is asked, in order
};

const EscapeCase kEscapes[] = {
    {"DtrOn", &TComm::SetDTRState, true, {"dtr 1"}},
    {"DtrOff", &TComm::SetDTRState, false, {"dtr 0"}},
    {"RtsOn", &TComm::SetRTSState, true, {"rts 1"}},
    {"RtsOff", &TComm::SetRTSState, false, {"rts 0"}},
    {"BreakOnPurgesBothQueues", &TComm::SetBREAKState, true, {"break 1", "purge in out"}},
    {"BreakOffPurgesBothQueues", &TComm::SetBREAKState, false, {"break 0", "purge in out"}},
    {"XonResumesOutput", &TComm::SetXONState, true, {"xon 1"}},
    {"XoffHoldsOutput", &TComm::SetXONState, false, {"xon 0"}},
};

class CommEscapes : public CommFake, public ::testing::WithParamInterface<EscapeCase> {};

TEST_P(CommEscapes, ReachTheDeviceOnlyWhileOpen)
{
    const EscapeCase& c = GetParam();
    auto error = (comm.*c.call)(c.state);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->message,
              QStringLiteral("Port not open, unable to complete operation (Error: -1) "));
    EXPECT_EQ(error->code, -1);

    ASSERT_FALSE(comm.Open());
    device->calls.clear();
    EXPECT_FALSE((comm.*c.call)(c.state));
    EXPECT_EQ(device->calls, c.calls);

    device->calls.clear();
    device->escapeError = 5;
    error = (comm.*c.call)(c.state);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->message, QStringLiteral("EscapeCommFunction failure (Error: 5) "));
    EXPECT_EQ(device->calls, std::vector<std::string>{c.calls.front()});  // no purge
}

INSTANTIATE_TEST_SUITE_P(Comm, CommEscapes, ::testing::ValuesIn(kEscapes), zfw::test::CaseName());

TEST_F(CommFake, ModemLinesQueuesAndPurgesWhileOpenOnly)
{
    device->modem = {true, false, true, false};
    EXPECT_FALSE(comm.CTS());
    EXPECT_EQ(comm.InQueCount(), -1);
    EXPECT_EQ(comm.OutQueCount(), -1);
    comm.PurgeIn();
    comm.PurgeOut();
    EXPECT_TRUE(device->calls.empty());

    ASSERT_FALSE(comm.Open());
    EXPECT_TRUE(comm.CTS());
    EXPECT_FALSE(comm.DSR());
    EXPECT_TRUE(comm.RING());
    EXPECT_FALSE(comm.RLSD());
    EXPECT_FALSE(comm.GetModemState(0));
    EXPECT_FALSE(comm.GetModemState(5));
    device->modem = {false, true, false, true};
    EXPECT_FALSE(comm.CTS());
    EXPECT_TRUE(comm.DSR());
    EXPECT_TRUE(comm.RLSD());
    for (int i = 0; i <= 6; ++i)
        EXPECT_FALSE(comm.GetComState(i)) << i;

    device->input = "1234";
    EXPECT_EQ(comm.InQueCount(), 4);
    device->calls.clear();
    comm.PurgeIn();
    comm.PurgeOut();
    EXPECT_EQ(device->calls, (std::vector<std::string>{"purge in", "purge out"}));
    EXPECT_EQ(comm.InQueCount(), 0);
}

TEST_F(CommFake, OpenAppliesTheLineAndAFailedOneLeavesNothingRunning)
{
    ASSERT_FALSE(comm.properties().setBaudRate(TBaudrate::br115200));
    EXPECT_TRUE(device->lines.empty()) << "closed: no device is touched";
    ASSERT_FALSE(comm.Open());
    ASSERT_EQ(device->lines.size(), 1u);
    EXPECT_EQ(device->lines.back().baudRate, 115200u);
    EXPECT_EQ(comm.block().BaudRate, 115200u);
    ASSERT_FALSE(comm.properties().setParity(TParity::paOdd));
    ASSERT_EQ(device->lines.size(), 2u);
    EXPECT_EQ(device->lines.back().parity, 1);
    comm.Close();

    device->lineError = 22;
    auto error = comm.Open();
    ASSERT_TRUE(error);
    EXPECT_EQ(error->message, QStringLiteral("Error updating DataControlBlock (Error: 22) "));
    EXPECT_FALSE(comm.Enabled());
    EXPECT_FALSE(device->open);
    EXPECT_EQ(device->waiting, 0);

    device->openError = 13;
    error = comm.Open();
    ASSERT_TRUE(error);
    EXPECT_EQ(error->message, QStringLiteral("Error accessing specified device (Error: 13) "));
    EXPECT_EQ(error->code, 13);
    EXPECT_FALSE(comm.Enabled());
}

// ---- Real input and output over a pseudo-terminal pair ------------------------------------

// Two pseudo-terminals joined by socat: what one end writes, the other reads. socat is
// started by the fixture and ended by its process id.
class CommSocat : public ::testing::Test {
protected:
    QTemporaryDir dir;
    pid_t socat = -1;
    QString a, b;

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        a = dir.filePath(QStringLiteral("a"));
        b = dir.filePath(QStringLiteral("b"));
        const std::string first = "pty,raw,echo=0,link=" + a.toStdString();
        const std::string second = "pty,raw,echo=0,link=" + b.toStdString();
        std::vector<char*> argv = {const_cast<char*>("socat"), const_cast<char*>(first.c_str()),
                                   const_cast<char*>(second.c_str()), nullptr};
        if (posix_spawnp(&socat, "socat", nullptr, nullptr, argv.data(), environ) != 0) {
            socat = -1;
            GTEST_SKIP() << "socat is not installed (scripts/setup-deps.sh installs it)";
        }
        const bool ready = pumpUntil([&] { return QFileInfo::exists(a) && QFileInfo::exists(b); });
        ASSERT_TRUE(ready) << "socat made no terminals";
    }
    void TearDown() override
    {
        if (socat > 0) {
            ::kill(socat, SIGTERM);
            int status = 0;
            ::waitpid(socat, &status, 0);
        }
    }
    static void openAt(TComm& comm, const QString& path)
    {
        ASSERT_FALSE(comm.properties().setDeviceName(path));
        comm.properties().setWriteTimeout(100);
        const auto error = comm.Open();
        ASSERT_FALSE(error) << error->message.toStdString();
    }
    // Reads from comm until it holds count bytes, at most five seconds.
    static QByteArray readAll(TComm& comm, int count)
    {
        QByteArray all;
        pumpUntil([&] {
            QByteArray part;
            if (comm.Read(part, count - static_cast<int>(all.size())) > 0)
                all += part;
            return all.size() >= count;
        });
        return all;
    }
};

TEST_F(CommSocat, BytesWrittenAtOneEndArriveWithACharacterEvent)
{
    TComm sender;
    TComm receiver;
    int announced = 0;
    receiver.handlers().OnRxChar = [&](int count) { announced += count; };
    openAt(sender, a);
    openAt(receiver, b);

    const QByteArray frame = QByteArray::fromHex("6803036873FE50C116");
    EXPECT_EQ(sender.Write(frame), frame.size());
    ASSERT_TRUE(pumpUntil([&] { return announced > 0; }));
    EXPECT_EQ(readAll(receiver, static_cast<int>(frame.size())), frame);

    // And back the other way, while the receiver's line runs at a rate without a code.
    EXPECT_FALSE(receiver.properties().setBaudRate(TBaudrate::br56000));
    EXPECT_EQ(receiver.Write("E5"), 2);
    EXPECT_EQ(readAll(sender, 2), QByteArray("E5"));
}

TEST_F(CommSocat, AWriteHeldByXoffTimesOutAndTheNextTransferIsRight)
{
    TComm sender;
    TComm receiver;
    openAt(sender, a);
    openAt(receiver, b);
    ASSERT_FALSE(sender.SetXONState(false));
    EXPECT_EQ(sender.Write("held back"), -1);
    ASSERT_FALSE(sender.SetXONState(true));
    EXPECT_EQ(sender.Write("sent"), 4);
    EXPECT_EQ(readAll(receiver, 4), QByteArray("sent"));
    QByteArray rest;
    EXPECT_EQ(receiver.Read(rest, 64), 0) << rest.toStdString();
}

}  // namespace
