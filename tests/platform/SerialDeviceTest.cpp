#include "platform/SerialDevice.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>
#include <cerrno>
#include <cstdlib>

namespace zfw {
namespace {

// A pseudo-terminal: the test holds the controlling side, the device opens the other.
class TerminalLine : public ::testing::Test {
protected:
    int master = -1;
    QString path;
    std::unique_ptr<ISerialDevice> device = makeTerminalDevice();

    void SetUp() override
    {
        master = posix_openpt(O_RDWR | O_NOCTTY);
        ASSERT_GE(master, 0);
        ASSERT_EQ(grantpt(master), 0);
        ASSERT_EQ(unlockpt(master), 0);
        path = QString::fromLocal8Bit(ptsname(master));
        ASSERT_EQ(device->open(path), 0);
        ASSERT_EQ(device->setLine(SerialLine{}), 0);  // raw, no echo
    }
    void TearDown() override
    {
        device->close();
        ::close(master);
    }
    termios settings()
    {
        termios t{};
        const int fd = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
        EXPECT_GE(fd, 0);
        EXPECT_EQ(tcgetattr(fd, &t), 0);
        ::close(fd);
        return t;
    }
};

TEST(SerialLineSettings, MapToTerminalSettings)
{
    SerialLine line;
    line.baudRate = 2400;
    line.byteSize = 7;
    line.parity = 2;
    line.stopBits = 2;
    line.ctsFlow = true;
    termios t{};
    bool otherRate = true;
    ASSERT_EQ(applySerialLine(t, line, &otherRate), 0);
    EXPECT_FALSE(otherRate);
    EXPECT_EQ(cfgetospeed(&t), speed_t(B2400));
    EXPECT_EQ(t.c_cflag & CSIZE, tcflag_t(CS7));
    EXPECT_EQ(t.c_cflag & (PARENB | PARODD), tcflag_t(PARENB));
    EXPECT_NE(t.c_cflag & CSTOPB, 0u);
    EXPECT_NE(t.c_cflag & CRTSCTS, 0u);
    EXPECT_EQ(t.c_iflag & (IXON | IXOFF), 0u);
    EXPECT_EQ(t.c_cc[VMIN], 0);
    EXPECT_EQ(t.c_cc[VTIME], 0);

    line.baudRate = 56000;
    line.parity = 3;    // mark
    line.stopBits = 1;  // one and a half goes as two
    line.ctsFlow = false;
    line.xonOutput = true;
    line.xonInput = true;
    line.xonChar = 0x11;
    line.xoffChar = 0x13;
    line.parityCheck = true;
    ASSERT_EQ(applySerialLine(t, line, &otherRate), 0);
    EXPECT_TRUE(otherRate);
    EXPECT_NE(t.c_cflag & CSTOPB, 0u);
    EXPECT_EQ(t.c_iflag & (IXON | IXOFF), tcflag_t(IXON | IXOFF));
    EXPECT_NE(t.c_iflag & INPCK, 0u);
    EXPECT_EQ(t.c_cflag & (PARENB | PARODD | CMSPAR), tcflag_t(PARENB | PARODD | CMSPAR));
    EXPECT_EQ(t.c_cflag & CRTSCTS, 0u);
    EXPECT_EQ(t.c_cc[VSTART], 0x11);
    EXPECT_EQ(t.c_cc[VSTOP], 0x13);

    line.byteSize = 4;
    EXPECT_EQ(applySerialLine(t, line, &otherRate), EINVAL);
}

TEST_F(TerminalLine, SetLineReachesTheTerminal)
{
    SerialLine line;
    line.baudRate = 4800;
    line.xonInput = true;
    ASSERT_EQ(device->setLine(line), 0);
    const termios t = settings();
    EXPECT_EQ(cfgetospeed(&t), speed_t(B4800));
    EXPECT_NE(t.c_iflag & IXOFF, 0u);
    line.byteSize = 4;
    EXPECT_EQ(device->setLine(line), EINVAL);
}

TEST_F(TerminalLine, ARateWithoutAStandardCodeIsSetExactly)
{
    SerialLine line;
    line.baudRate = 56000;
    ASSERT_EQ(device->setLine(line), 0);
    // The rate field holds the kernel's "other rate" code rather than a standard one.
    constexpr tcflag_t kOtherRate = 0010000;
    EXPECT_EQ(settings().c_cflag & CBAUD, kOtherRate);
}

TEST_F(TerminalLine, ReadsAtOnceAndWaitsBoundedly)
{
    char buffer[8];
    EXPECT_EQ(device->read(buffer, sizeof buffer), 0);
    EXPECT_EQ(device->waitReadable(20), 0);
    ASSERT_EQ(::write(master, "ab", 2), 2);
    EXPECT_EQ(device->waitReadable(2000), 1);
    EXPECT_EQ(device->read(buffer, sizeof buffer), 2);
    EXPECT_EQ(device->waitWritable(2000), 1);
    EXPECT_EQ(device->write("xyz", 3), 3);
    EXPECT_EQ(::read(master, buffer, sizeof buffer), 3);
    EXPECT_EQ(device->inQueue(), 0);
}

TEST_F(TerminalLine, WaitForEventsSeesCharactersAndEndsOnWakeUp)
{
    ASSERT_EQ(::write(master, "q", 1), 1);
    EXPECT_EQ(device->waitEvent(serial::kRxChar | serial::kCts), serial::kRxChar);
    device->wakeUp();
    EXPECT_EQ(device->waitEvent(serial::kRxChar), 0u) << "the announced byte is no new event";
}

TEST(TerminalDevice, RefusesWhatIsNoTerminal)
{
    auto device = makeTerminalDevice();
    EXPECT_EQ(device->open(QStringLiteral("/dev/null")), ENOTTY);
    EXPECT_FALSE(device->isOpen());
    EXPECT_EQ(device->open(QStringLiteral("/dev/ttyNoSuchPort9")), ENOENT);
    EXPECT_EQ(device->inQueue(), -1);
    ModemLines lines;
    EXPECT_FALSE(device->modemLines(&lines));
    EXPECT_EQ(device->setDtr(true), EBADF);
    EXPECT_EQ(device->waitEvent(serial::kRxChar), 0u);
}

}  // namespace
}  // namespace zfw
