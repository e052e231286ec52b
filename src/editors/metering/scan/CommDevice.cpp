#include "editors/metering/scan/CommDevice.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>
#include <cerrno>

namespace zfw {

// Sets a rate without a standard code through the kernel's BOTHER interface (own unit: its
// header cannot be mixed with <termios.h>).
bool setOtherRate(int fd, std::uint32_t rate);

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

}  // namespace

bool applyLineSettings(termios& t, const TDcb& block, bool* otherRate, bool* badSize)
{
    *otherRate = false;
    *badSize = false;
    cfmakeraw(&t);
    t.c_cflag |= CREAD | CLOCAL;
    speed_t code = 0;
    for (const RateCode& r : kRateCodes)
        if (r.rate == block.BaudRate)
            code = r.code;
    if (code != 0) {
        cfsetispeed(&t, code);
        cfsetospeed(&t, code);
    } else {
        *otherRate = true;
    }

    t.c_cflag &= ~CSIZE;
    switch (block.ByteSize) {
    case 5: t.c_cflag |= CS5; break;
    case 6: t.c_cflag |= CS6; break;
    case 7: t.c_cflag |= CS7; break;
    case 8: t.c_cflag |= CS8; break;
    default:
        t.c_cflag |= CS8;
        *badSize = true;
        break;
    }
    t.c_cflag &= ~(PARENB | PARODD | CMSPAR);
    switch (block.Parity) {
    case 1: t.c_cflag |= PARENB | PARODD; break;
    case 2: t.c_cflag |= PARENB; break;
    case 3: t.c_cflag |= PARENB | PARODD | CMSPAR; break;
    case 4: t.c_cflag |= PARENB | CMSPAR; break;
    default: break;
    }
    // A terminal knows one or two stop bits; one and a half is sent as two.
    if (block.StopBits == 0)
        t.c_cflag &= ~CSTOPB;
    else
        t.c_cflag |= CSTOPB;
    if (block.Flags & dcb::kParityCheck)
        t.c_iflag |= INPCK;
    if (block.Flags & dcb::kOutxCtsFlow)
        t.c_cflag |= CRTSCTS;
    else
        t.c_cflag &= ~CRTSCTS;
    t.c_iflag &= ~(IXON | IXOFF);
    if (block.Flags & dcb::kOutX)
        t.c_iflag |= IXON;
    if (block.Flags & dcb::kInX)
        t.c_iflag |= IXOFF;
    t.c_cc[VSTART] = static_cast<cc_t>(block.chars.XonChar);
    t.c_cc[VSTOP] = static_cast<cc_t>(block.chars.XoffChar);
    // Reads return at once with what is there.
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    return !*otherRate && !*badSize;
}

TComm::TComm() : m_store([this](const TCommProperties& p) { return applyBlock(p); }) {}

TComm::~TComm() { Close(); }

std::optional<CommError> TComm::applyBlock(const TCommProperties& p)
{
    if (m_fd < 0)
        return std::nullopt;
    m_block = UpdateDataControlBlock(m_block, p);
    termios t{};
    if (tcgetattr(m_fd, &t) != 0)
        return RaiseCommError(QStringLiteral("Error updating DataControlBlock"), errno);
    bool otherRate = false;
    bool badSize = false;
    applyLineSettings(t, m_block, &otherRate, &badSize);
    if (badSize)
        return RaiseCommError(QStringLiteral("Error updating DataControlBlock"), EINVAL);
    if (tcsetattr(m_fd, TCSANOW, &t) != 0)
        return RaiseCommError(QStringLiteral("Error updating DataControlBlock"), errno);
    if (otherRate && !setOtherRate(m_fd, m_block.BaudRate))
        return RaiseCommError(QStringLiteral("Error updating DataControlBlock"), errno);
    return std::nullopt;
}

std::optional<CommError> TComm::Open()
{
    if (m_fd >= 0)
        return RaiseCommError(QStringLiteral("Port already assigned (open)"), -1);
    QString path = m_store.properties().DeviceName;
    if (!path.startsWith(u'/'))
        path = QStringLiteral("/dev/") + path;
    const int fd = ::open(path.toLocal8Bit().constData(),
                          O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return RaiseCommError(QStringLiteral("Error accessing specified device"), errno);
    if (!isatty(fd)) {
        ::close(fd);
        return RaiseCommError(QStringLiteral("Invalid device handle, access denied"), -1);
    }
    m_fd = fd;
    m_store.setOpen(true);
    // The old component left the port open when a later step failed, so Enabled stayed true
    // after a failed Open; close it again instead.
    if (auto error = applyBlock(m_store.properties())) {
        Close();
        return error;
    }
    return std::nullopt;
}

void TComm::Close()
{
    if (m_fd < 0)
        return;
    tcflush(m_fd, TCIOFLUSH);
    ::close(m_fd);
    m_fd = -1;
    m_store.setOpen(false);
}

int TComm::Write(const QByteArray& data, std::optional<CommError>* error)
{
    if (m_fd < 0)
        return -1;
    qsizetype done = 0;
    while (done < data.size()) {
        pollfd p{m_fd, POLLOUT, 0};
        const int ready = ::poll(&p, 1, m_store.properties().WriteTimeout);
        if (ready == 0)
            return -1;
        if (ready < 0 || (p.revents & (POLLERR | POLLNVAL))) {
            if (error)
                *error = RaiseCommError(QStringLiteral("Write error"), errno);
            return -1;
        }
        const ssize_t n = ::write(m_fd, data.constData() + done,
                                  static_cast<size_t>(data.size() - done));
        if (n < 0 && errno != EAGAIN) {
            if (error)
                *error = RaiseCommError(QStringLiteral("Write error"), errno);
            return -1;
        }
        if (n > 0)
            done += n;
    }
    return static_cast<int>(done);
}

int TComm::Read(QByteArray& into, int count, std::optional<CommError>* error)
{
    into.clear();
    if (m_fd < 0 || count <= 0)
        return m_fd < 0 ? -1 : 0;
    pollfd p{m_fd, POLLIN, 0};
    const int ready = ::poll(&p, 1, m_store.properties().ReadTimeout);
    if (ready == 0)
        return -1;
    if (ready < 0 || (p.revents & (POLLERR | POLLNVAL))) {
        if (error)
            *error = RaiseCommError(QStringLiteral("Read error"), errno);
        return -1;
    }
    into.resize(count);
    const ssize_t n = ::read(m_fd, into.data(), static_cast<size_t>(count));
    if (n < 0) {
        into.clear();
        if (errno == EAGAIN)
            return 0;
        if (error)
            *error = RaiseCommError(QStringLiteral("Read error"), errno);
        return -1;
    }
    into.resize(n);
    return static_cast<int>(n);
}

}  // namespace zfw
