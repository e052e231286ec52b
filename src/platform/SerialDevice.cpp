#include "platform/SerialDevice.h"

#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

namespace zfw {

// Sets a rate without a standard code through the kernel's termios2 interface (its own unit:
// that header cannot be mixed with <termios.h>).
bool setOtherSerialRate(int fd, std::uint32_t rate);

namespace {

struct RateCode {
    std::uint32_t rate;
    speed_t code;
};
constexpr RateCode kRateCodes[] = {{110, B110},        {300, B300},       {600, B600},
                                   {1200, B1200},      {2400, B2400},     {4800, B4800},
                                   {9600, B9600},      {19200, B19200},   {38400, B38400},
                                   {57600, B57600},    {115200, B115200}, {1500000, B1500000},
                                   {3000000, B3000000}};

// How often a wait for events looks at the modem lines and the queues: a terminal signals
// readable data through poll(), but line changes of most adapters only by being asked.
constexpr int kEventPollMs = 20;

class TerminalDevice final : public ISerialDevice {
public:
    TerminalDevice()
    {
        if (::pipe2(m_wake, O_CLOEXEC | O_NONBLOCK) != 0)
            m_wake[0] = m_wake[1] = -1;
    }
    ~TerminalDevice() override
    {
        close();
        for (int fd : m_wake)
            if (fd >= 0)
                ::close(fd);
    }
    TerminalDevice(const TerminalDevice&) = delete;
    TerminalDevice& operator=(const TerminalDevice&) = delete;

    int open(const QString& path) override
    {
        if (m_fd >= 0)
            return EBUSY;
        const int fd = ::open(path.toLocal8Bit().constData(),
                              O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            return errno;
        if (!::isatty(fd)) {
            ::close(fd);
            return ENOTTY;
        }
        m_fd = fd;
        m_lastIn = 0;
        m_lastOut = 0;
        m_lastCounts = counts();
        modemLines(&m_lastLines);
        m_errors = 0;
        return 0;
    }

    void close() override
    {
        if (m_fd < 0)
            return;
        ::tcflush(m_fd, TCIOFLUSH);
        ::close(m_fd);
        m_fd = -1;
    }

    bool isOpen() const override { return m_fd >= 0; }

    int setLine(const SerialLine& line) override
    {
        if (m_fd < 0)
            return EBADF;
        termios t{};
        if (::tcgetattr(m_fd, &t) != 0)
            return errno;
        bool otherRate = false;
        if (const int rc = applySerialLine(t, line, &otherRate))
            return rc;
        if (::tcsetattr(m_fd, TCSANOW, &t) != 0)
            return errno;
        if (otherRate && !setOtherSerialRate(m_fd, line.baudRate))
            return errno ? errno : EINVAL;
        return 0;
    }

    int waitReadable(int timeoutMs) override { return waitFor(POLLIN, timeoutMs); }
    int waitWritable(int timeoutMs) override { return waitFor(POLLOUT, timeoutMs); }

    qint64 read(char* into, qint64 count) override
    {
        const ssize_t n = ::read(m_fd, into, static_cast<size_t>(count));
        if (n >= 0)
            return n;
        return errno == EAGAIN ? 0 : -errno;
    }

    qint64 write(const char* from, qint64 count) override
    {
        const ssize_t n = ::write(m_fd, from, static_cast<size_t>(count));
        if (n >= 0)
            return n;
        return errno == EAGAIN ? 0 : -errno;
    }

    int inQueue() const override { return queue(FIONREAD); }
    int outQueue() const override { return queue(TIOCOUTQ); }
    int lineErrors() override { return m_errors.exchange(0); }

    bool modemLines(ModemLines* lines) const override
    {
        *lines = {};
        int bits = 0;
        if (m_fd < 0 || ::ioctl(m_fd, TIOCMGET, &bits) != 0)
            return false;
        *lines = {(bits & TIOCM_CTS) != 0, (bits & TIOCM_DSR) != 0, (bits & TIOCM_RI) != 0,
                  (bits & TIOCM_CD) != 0};
        return true;
    }

    int setDtr(bool on) override { return modemBit(TIOCM_DTR, on); }
    int setRts(bool on) override { return modemBit(TIOCM_RTS, on); }
    int setBreak(bool on) override
    {
        return m_fd < 0 ? EBADF : result(::ioctl(m_fd, on ? TIOCSBRK : TIOCCBRK));
    }
    int setXon(bool on) override
    {
        return m_fd < 0 ? EBADF : result(::tcflow(m_fd, on ? TCOON : TCOOFF));
    }
    void purge(bool input, bool output) override
    {
        if (m_fd < 0 || (!input && !output))
            return;
        ::tcflush(m_fd, input && output ? TCIOFLUSH : input ? TCIFLUSH : TCOFLUSH);
    }

    std::uint32_t waitEvent(std::uint32_t mask) override
    {
        for (;;) {
            if (m_fd < 0)
                return 0;
            // Data already announced keeps the terminal readable; wait for more by asking.
            const bool watchInput = (mask & serial::kRxChar) && m_lastIn == 0;
            pollfd p[2] = {{m_wake[0], POLLIN, 0}, {m_fd, short(watchInput ? POLLIN : 0), 0}};
            ::poll(p, 2, kEventPollMs);
            if (p[0].revents & POLLIN) {
                char drain[64];
                while (::read(m_wake[0], drain, sizeof drain) > 0) {}
                return 0;
            }
            if (const std::uint32_t seen = changes() & mask)
                return seen;
        }
    }

    void wakeUp() override
    {
        if (m_wake[1] >= 0) {
            const char one = 1;
            [[maybe_unused]] const ssize_t n = ::write(m_wake[1], &one, 1);
        }
    }

private:
    static int result(int rc) { return rc == 0 ? 0 : errno; }

    int waitFor(short what, int timeoutMs)
    {
        if (m_fd < 0)
            return -EBADF;
        pollfd p{m_fd, what, 0};
        const int ready = ::poll(&p, 1, timeoutMs);
        if (ready < 0)
            return -errno;
        if (ready == 0)
            return 0;
        if (p.revents & (POLLERR | POLLNVAL))
            return -EIO;
        return 1;
    }

    int queue(unsigned long request) const
    {
        int n = 0;
        if (m_fd < 0 || ::ioctl(m_fd, request, &n) != 0)
            return -1;
        return n;
    }

    int modemBit(int bit, bool on)
    {
        if (m_fd < 0)
            return EBADF;
        return result(::ioctl(m_fd, on ? TIOCMBIS : TIOCMBIC, &bit));
    }

    // Break and line-error counters; a terminal without them (a pseudo-terminal) stays at 0.
    serial_icounter_struct counts() const
    {
        serial_icounter_struct c{};
        if (m_fd < 0 || ::ioctl(m_fd, TIOCGICOUNT, &c) != 0)
            return {};
        return c;
    }

    // Events since the last look.
    std::uint32_t changes()
    {
        std::uint32_t events = 0;
        const int in = inQueue();
        if (in > m_lastIn)
            events |= serial::kRxChar;
        m_lastIn = in > 0 ? in : 0;
        const int out = outQueue();
        if (m_lastOut > 0 && out == 0)
            events |= serial::kTxEmpty;
        m_lastOut = out > 0 ? out : 0;
        ModemLines lines;
        modemLines(&lines);
        if (lines.cts != m_lastLines.cts)
            events |= serial::kCts;
        if (lines.dsr != m_lastLines.dsr)
            events |= serial::kDsr;
        if (lines.rlsd != m_lastLines.rlsd)
            events |= serial::kRlsd;
        if (lines.ring && !m_lastLines.ring)
            events |= serial::kRing;
        m_lastLines = lines;
        const serial_icounter_struct c = counts();
        int errors = 0;
        if (c.brk != m_lastCounts.brk) {
            events |= serial::kBreak;
            errors |= serial::kBreakSeen;
        }
        if (c.frame != m_lastCounts.frame)
            errors |= serial::kFrameError;
        if (c.parity != m_lastCounts.parity)
            errors |= serial::kParityError;
        if (c.overrun != m_lastCounts.overrun || c.buf_overrun != m_lastCounts.buf_overrun)
            errors |= serial::kOverrun;
        if (errors & ~serial::kBreakSeen)
            events |= serial::kError;
        m_errors |= errors;
        m_lastCounts = c;
        // The event character (kRxFlag) has no terminal counterpart and is never reported.
        return events;
    }

    int m_fd = -1;
    int m_wake[2] = {-1, -1};
    // Seen by the waiting thread only.
    int m_lastIn = 0;
    int m_lastOut = 0;
    ModemLines m_lastLines;
    serial_icounter_struct m_lastCounts{};
    std::atomic<int> m_errors{0};
};

}  // namespace

int applySerialLine(termios& t, const SerialLine& line, bool* otherRate)
{
    ::cfmakeraw(&t);
    t.c_cflag |= CREAD | CLOCAL;
    speed_t code = 0;
    for (const RateCode& r : kRateCodes)
        if (r.rate == line.baudRate)
            code = r.code;
    *otherRate = code == 0;
    if (code != 0) {
        ::cfsetispeed(&t, code);
        ::cfsetospeed(&t, code);
    }
    t.c_cflag &= ~CSIZE;
    switch (line.byteSize) {
    case 5: t.c_cflag |= CS5; break;
    case 6: t.c_cflag |= CS6; break;
    case 7: t.c_cflag |= CS7; break;
    case 8: t.c_cflag |= CS8; break;
    default: return EINVAL;
    }
    t.c_cflag &= ~(PARENB | PARODD | CMSPAR);
    switch (line.parity) {
    case 1: t.c_cflag |= PARENB | PARODD; break;
    case 2: t.c_cflag |= PARENB; break;
    case 3: t.c_cflag |= PARENB | PARODD | CMSPAR; break;
    case 4: t.c_cflag |= PARENB | CMSPAR; break;
    default: break;
    }
    // A terminal knows one or two stop bits; one and a half is sent as two.
    if (line.stopBits == 0)
        t.c_cflag &= ~CSTOPB;
    else
        t.c_cflag |= CSTOPB;
    if (line.parityCheck)
        t.c_iflag |= INPCK;
    if (line.ctsFlow)
        t.c_cflag |= CRTSCTS;
    else
        t.c_cflag &= ~CRTSCTS;
    t.c_iflag &= ~(IXON | IXOFF);
    if (line.xonOutput)
        t.c_iflag |= IXON;
    if (line.xonInput)
        t.c_iflag |= IXOFF;
    t.c_cc[VSTART] = static_cast<cc_t>(line.xonChar);
    t.c_cc[VSTOP] = static_cast<cc_t>(line.xoffChar);
    // Reads return at once with what is there.
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    return 0;
}

std::unique_ptr<ISerialDevice> makeTerminalDevice() { return std::make_unique<TerminalDevice>(); }

}  // namespace zfw
