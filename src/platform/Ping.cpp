#include "platform/Ping.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QHostAddress>
#include <QHostInfo>
#include <QObject>
#include <QTimer>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace zfw {

namespace {

constexpr int kNameLookupMs = 5000;
constexpr int kReceiveBufferSize = 1024;
constexpr int kWaitSliceMs = 10;
constexpr std::uint8_t kEchoRequest = 8;
constexpr std::uint8_t kEchoReply = 0;
constexpr int kIcmpHeaderSize = 8;

QString systemError(int err) { return QString::fromLocal8Bit(std::strerror(err)); }

class SocketHandle {
public:
    explicit SocketHandle(int fd) : m_fd(fd) {}
    ~SocketHandle()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    SocketHandle(const SocketHandle&) = delete;
    SocketHandle& operator=(const SocketHandle&) = delete;
    int fd() const { return m_fd; }

private:
    int m_fd;
};

struct Target {
    bool ok = false;
    in_addr_t address = 0;  // network byte order
    QString error;
};

// A dotted IPv4 text is taken as it is; anything else is a name looked up with the event
// loop running, so a slow name server does not freeze the window.
Target resolveIPv4(const QString& host)
{
    Target t;
    QHostAddress literal;
    if (literal.setAddress(host) && literal.protocol() == QAbstractSocket::IPv4Protocol) {
        t.ok = true;
        t.address = htonl(literal.toIPv4Address());
        return t;
    }
    if (host.trimmed().isEmpty()) {
        t.error = QStringLiteral("No address given");
        return t;
    }
    QEventLoop loop;
    QObject context;
    bool done = false;
    QHostInfo info;
    QHostInfo::lookupHost(host, &context, [&](const QHostInfo& result) {
        info = result;
        done = true;
        loop.quit();
    });
    QTimer::singleShot(kNameLookupMs, &loop, &QEventLoop::quit);
    if (!done)
        loop.exec();
    if (!done) {
        t.error = QStringLiteral("The name %1 could not be resolved in time").arg(host);
        return t;
    }
    for (const QHostAddress& a : info.addresses()) {
        if (a.protocol() == QAbstractSocket::IPv4Protocol) {
            t.ok = true;
            t.address = htonl(a.toIPv4Address());
            return t;
        }
    }
    t.error = info.error() != QHostInfo::NoError
                  ? QStringLiteral("%1: %2").arg(host, info.errorString())
                  : QStringLiteral("%1 has no IPv4 address").arg(host);
    return t;
}

bool isPermissionError(int err) { return err == EACCES || err == EPERM; }

// A socket that could not be opened; a permission error means the system forbids ping.
EchoResult socketFailure(int err, const char* refusal)
{
    EchoResult r;
    r.notPermitted = isPermissionError(err);
    r.error = r.notPermitted ? QStringLiteral("Ping is not permitted on this system: %1 (%2)")
                                   .arg(QLatin1String(refusal), systemError(err))
                             : QStringLiteral("Cannot open an ICMP socket: %1").arg(systemError(err));
    return r;
}

bool isUnsupported(int err)
{
    return err == EPROTONOSUPPORT || err == ESOCKTNOSUPPORT || err == EAFNOSUPPORT;
}

void putBigEndian16(QByteArray& b, int at, std::uint16_t v)
{
    b[at] = static_cast<char>(v >> 8);
    b[at + 1] = static_cast<char>(v & 0xFF);
}

std::uint16_t bigEndian16(const unsigned char* p)
{
    return static_cast<std::uint16_t>((p[0] << 8) | p[1]);
}

}  // namespace

std::uint16_t icmpChecksum(const QByteArray& bytes)
{
    std::uint32_t sum = 0;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i + 1 < n; i += 2)
        sum += static_cast<std::uint32_t>((p[i] << 8) | p[i + 1]);
    if (n % 2)
        sum += static_cast<std::uint32_t>(p[n - 1] << 8);
    while (sum >> 16)
        sum = (sum & 0xFFFF) + (sum >> 16);
    return static_cast<std::uint16_t>(~sum & 0xFFFF);
}

IcmpPinger::IcmpPinger(SocketKind kind)
    : m_kind(kind), m_identifier(static_cast<std::uint16_t>(::getpid() & 0xFFFF))
{
}

EchoResult IcmpPinger::echo(const QString& host, const QByteArray& data, int timeoutMs)
{
    EchoResult result;
    const Target target = resolveIPv4(host);
    if (!target.ok) {
        result.error = target.error;
        return result;
    }

    // Datagram ping sockets need no privilege where the system's ping group range admits our
    // group; otherwise only a raw socket (CAP_NET_RAW) can send an echo request.
    int fd = -1;
    SocketKind used = SocketKind::Datagram;
    int datagramError = 0;
    if (m_kind != SocketKind::Raw) {
        fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, IPPROTO_ICMP);
        if (fd < 0)
            datagramError = errno;
    }
    if (fd < 0 && m_kind != SocketKind::Datagram
        && (m_kind == SocketKind::Raw || isPermissionError(datagramError)
            || isUnsupported(datagramError))) {
        used = SocketKind::Raw;
        fd = ::socket(AF_INET, SOCK_RAW | SOCK_NONBLOCK | SOCK_CLOEXEC, IPPROTO_ICMP);
        if (fd < 0)
            return socketFailure(errno, "no ICMP socket may be opened");
    }
    if (fd < 0)
        return socketFailure(datagramError, "ICMP datagram sockets are not allowed");
    SocketHandle socket(fd);
    m_lastKind = used;

    const std::uint16_t sequence = ++m_sequence;
    QByteArray packet(kIcmpHeaderSize, '\0');
    packet[0] = static_cast<char>(kEchoRequest);
    // A datagram socket puts its own identifier in; a raw one sends ours.
    putBigEndian16(packet, 4, m_identifier);
    putBigEndian16(packet, 6, sequence);
    packet.append(data);
    putBigEndian16(packet, 2, icmpChecksum(packet));

    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = target.address;
    if (::sendto(fd, packet.constData(), static_cast<size_t>(packet.size()), 0,
                 reinterpret_cast<const sockaddr*>(&to), sizeof to)
        < 0) {
        const int err = errno;
        result.error = QStringLiteral("Cannot send a ping to %1: %2").arg(host, systemError(err));
        return result;
    }

    QElapsedTimer clock;
    clock.start();
    unsigned char buffer[kReceiveBufferSize];
    for (;;) {
        const qint64 left = timeoutMs - clock.elapsed();
        if (left <= 0)
            break;
        pollfd p{fd, POLLIN, 0};
        const int ready = ::poll(&p, 1, static_cast<int>(std::min<qint64>(left, kWaitSliceMs)));
        if (ready > 0) {
            for (;;) {
                sockaddr_in from{};
                socklen_t fromLen = sizeof from;
                const ssize_t n = ::recvfrom(fd, buffer, sizeof buffer, 0,
                                             reinterpret_cast<sockaddr*>(&from), &fromLen);
                if (n < 0) {
                    // EAGAIN: nothing more queued. Errors queued by the kernel (an ICMP
                    // "unreachable" for our request) are no reply; keep waiting.
                    if (errno == EAGAIN || errno == EWOULDBLOCK)
                        break;
                    continue;
                }
                if (from.sin_addr.s_addr != target.address)
                    continue;
                // A raw socket hands over the IP header too; a datagram socket only ICMP.
                ssize_t offset = 0;
                if (used == SocketKind::Raw) {
                    if (n < 1)
                        continue;
                    offset = (buffer[0] & 0x0F) * 4;
                }
                if (n - offset < kIcmpHeaderSize)
                    continue;
                const unsigned char* icmp = buffer + offset;
                if (icmp[0] != kEchoReply || icmp[1] != 0)
                    continue;
                if (bigEndian16(icmp + 6) != sequence)
                    continue;
                if (used == SocketKind::Raw && bigEndian16(icmp + 4) != m_identifier)
                    continue;
                result.status = EchoResult::Status::Reply;
                result.bytesReceived = static_cast<int>(n - offset);
                return result;
            }
        }
        QCoreApplication::processEvents();
    }
    result.status = EchoResult::Status::TimedOut;
    return result;
}

namespace {
IPinger*& currentPinger()
{
    static IcmpPinger real;
    static IPinger* current = &real;
    return current;
}
}  // namespace

IPinger& pinger() { return *currentPinger(); }

ScopedPinger::ScopedPinger(IPinger& replacement) : m_saved(currentPinger())
{
    currentPinger() = &replacement;
}

ScopedPinger::~ScopedPinger() { currentPinger() = m_saved; }

}  // namespace zfw
