#include "editors/metering/scan/CommDevice.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>
#include <chrono>
#include <cstdlib>
#include <thread>

using namespace zfw;

namespace {

TEST(CommLine, MapsTheBlockToTheTerminalLine)
{
    TCommProperties p;
    p.BaudRate = TBaudrate::br2400;
    p.Parity = TParity::paEven;
    p.Stopbits = TStopbits::sb20;
    p.Databits = TDatabits::da7;
    p.FlowControl = TFlowControl::fcCTS;
    SerialLine line = serialLineOf(UpdateDataControlBlock({}, p));
    EXPECT_EQ(line.baudRate, 2400u);
    EXPECT_EQ(line.byteSize, 7);
    EXPECT_EQ(line.parity, 2);
    EXPECT_EQ(line.stopBits, 2);
    EXPECT_TRUE(line.ctsFlow);
    EXPECT_FALSE(line.xonOutput || line.xonInput);

    p.BaudRate = TBaudrate::br56000;
    p.FlowControl = TFlowControl::fcSoftware;
    p.Parity = TParity::paMark;
    p.Options = commOption(TCommOption::coParityCheck);
    line = serialLineOf(UpdateDataControlBlock({}, p));
    EXPECT_EQ(line.baudRate, 56000u);
    EXPECT_TRUE(line.xonOutput && line.xonInput);
    EXPECT_TRUE(line.parityCheck);
    EXPECT_EQ(line.parity, 3);
    EXPECT_EQ(line.xonChar, 17);
    EXPECT_EQ(line.xoffChar, 19);
    // fcDefault keeps what was read, so the CTS flag of the earlier block stays.
    p.FlowControl = TFlowControl::fcDefault;
    TDcb earlier;
    earlier.Flags = dcb::kOutxCtsFlow;
    EXPECT_TRUE(serialLineOf(UpdateDataControlBlock(earlier, p)).ctsFlow);
}

// A pseudo-terminal pair: the test holds the controlling side, the port opens the other.
class CommPty : public ::testing::Test {
protected:
    int master = -1;
    QString slavePath;
    TComm comm;

    void SetUp() override
    {
        master = posix_openpt(O_RDWR | O_NOCTTY);
        ASSERT_GE(master, 0);
        ASSERT_EQ(grantpt(master), 0);
        ASSERT_EQ(unlockpt(master), 0);
        slavePath = QString::fromLocal8Bit(ptsname(master));
        ASSERT_FALSE(comm.properties().setDeviceName(slavePath));
        comm.properties().setReadTimeout(50);
        comm.properties().setWriteTimeout(50);
    }
    void TearDown() override
    {
        comm.Close();
        if (master >= 0)
            ::close(master);
    }
};

TEST_F(CommPty, ReadReturnsAtOnceWithWhatHasArrived)
{
    comm.properties().setReadTimeout(5000);
    ASSERT_FALSE(comm.Open());
    EXPECT_TRUE(comm.Enabled());
    QByteArray got;
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(comm.Read(got, 16), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(2500));
    EXPECT_TRUE(got.isEmpty());

    ASSERT_EQ(::write(master, "\xE5\x68\x03", 3), 3);
    // The terminal passes the bytes on asynchronously.
    for (int i = 0; i < 500 && comm.InQueCount() < 3; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    EXPECT_EQ(comm.Read(got, 16), 3);
    EXPECT_EQ(got, QByteArray("\xE5\x68\x03"));

    EXPECT_EQ(comm.Write(QByteArray("\x10\x40\xFD\x3D\x16")), 5);
    char buffer[16] = {};
    EXPECT_EQ(::read(master, buffer, sizeof buffer), 5);
    EXPECT_EQ(QByteArray(buffer, 5), QByteArray("\x10\x40\xFD\x3D\x16"));
}

TEST_F(CommPty, SettingsWhileOpen)
{
    ASSERT_FALSE(comm.Open());
    const auto refused = comm.properties().setDeviceName(QStringLiteral("ttyS0"));
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->message, QStringLiteral("Port already assigned (open) (Error: -1) "));
    const auto again = comm.Open();
    ASSERT_TRUE(again);
    EXPECT_EQ(again->code, -1);
    // A rate without a standard code goes through the other-rate interface.
    EXPECT_FALSE(comm.properties().setBaudRate(TBaudrate::br14400));
    EXPECT_FALSE(comm.properties().setFlowControl(TFlowControl::fcNone));
    comm.Close();
    comm.Close();  // twice does nothing
    EXPECT_FALSE(comm.Enabled());
}

TEST_F(CommPty, AFailedOpenLeavesThePortClosed)
{
    ASSERT_FALSE(comm.properties().setDatabits(TDatabits::da4));
    const auto failed = comm.Open();
    ASSERT_TRUE(failed);
    EXPECT_TRUE(
        failed->message.startsWith(QStringLiteral("Error updating DataControlBlock (Error: ")));
    EXPECT_FALSE(comm.Enabled());
    // The store is writable again.
    EXPECT_FALSE(comm.properties().setReadBufSize(100));
}

TEST(CommOpen, RefusesMissingDevicesAndOtherFiles)
{
    TComm comm;
    ASSERT_FALSE(comm.properties().setDeviceName(QStringLiteral("/dev/null")));
    auto error = comm.Open();
    ASSERT_TRUE(error);
    EXPECT_EQ(error->message, QStringLiteral("Invalid device handle, access denied (Error: -1) "));
    EXPECT_FALSE(comm.Enabled());

    ASSERT_FALSE(comm.properties().setDeviceName(QStringLiteral("ttyNoSuchPort9")));
    error = comm.Open();
    ASSERT_TRUE(error);
    EXPECT_EQ(error->message,
              QStringLiteral("Error accessing specified device (Error: %1) ").arg(ENOENT));
    EXPECT_EQ(error->code, ENOENT);
    QByteArray got;
    EXPECT_EQ(comm.Read(got, 4), -1);
}

}  // namespace
