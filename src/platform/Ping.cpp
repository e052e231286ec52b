#include "platform/Ping.h"

#include <QHostAddress>
#include <QHostInfo>
#include <QObject>
#include <QPointer>
#include <QSocketNotifier>
#include <QTimer>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>

namespace zfw {

namespace {

constexpr int kNameLookupMs = 5000;
constexpr int kReceiveBufferSize = 1024;
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

// A dotted IPv4 text; nullopt for anything else (a name to look up).
std::optional<in_addr_t> literalIPv4(const QString& host)
{
    QHostAddress literal;
    if (literal.setAddress(host) && literal.protocol() == QAbstractSocket::IPv4Protocol)
        return htonl(literal.toIPv4Address());
    return std::nullopt;
}

bool isPermissionError(int err) { return err == EACCES || err == EPERM; }

// A socket that could not be opened; a permission error means the system forbids ping.
EchoResult socketFailure(int err, const char* refusal)
{
    EchoResult r;
    r.notPermitted = isPermissionError(err);
    r.error = r.notPermitted
                  ? QStringLiteral("Ping is not permitted on this system: %1 (%2)")
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

namespace {

// One echo request on its way. It waits on the event loop (name lookup, then the reply or the
// time-out) and hands its outcome to done once. It is not a child of its context: the end of
// the context only stops it, so it is never deleted while it delivers.
class EchoRequest final : public QObject {
public:
    EchoRequest(int fd, IcmpPinger::SocketKind kind, QByteArray packet, std::uint16_t identifier,
                std::uint16_t sequence, QObject* context, IPinger::Done done)
        : m_socket(fd), m_kind(kind), m_packet(std::move(packet)), m_identifier(identifier),
          m_sequence(sequence), m_context(context), m_hasContext(context != nullptr),
          m_done(std::move(done))
    {
        m_timer.setSingleShot(true);
        // A coarse timer may fire a few percent early; the time-out is a promise to the caller.
        m_timer.setTimerType(Qt::PreciseTimer);
        connect(&m_timer, &QTimer::timeout, this, [this] { onTimeout(); });
        if (context)
            connect(context, &QObject::destroyed, this, [this] { stop(); });
    }

    ~EchoRequest() override
    {
        if (m_lookupId >= 0)
            QHostInfo::abortHostLookup(m_lookupId);
    }

    // Starts from the event loop, so that even an immediate failure reaches done later.
    void begin(const QString& host, int timeoutMs)
    {
        m_host = host;
        m_timeoutMs = timeoutMs;
        QTimer::singleShot(0, this, [this] { resolve(); });
    }

private:
    void resolve()
    {
        if (const std::optional<in_addr_t> a = literalIPv4(m_host)) {
            send(*a);
            return;
        }
        // A slow name server must not hold the window: the lookup runs beside the event loop
        // and is given up after its own limit.
        m_lookingUp = true;
        m_timer.start(kNameLookupMs);
        m_lookupId = QHostInfo::lookupHost(m_host, this,
                                           [this](const QHostInfo& info) { looked(info); });
    }

    void looked(const QHostInfo& info)
    {
        m_lookupId = -1;
        m_lookingUp = false;
        m_timer.stop();
        for (const QHostAddress& a : info.addresses()) {
            if (a.protocol() == QAbstractSocket::IPv4Protocol) {
                send(htonl(a.toIPv4Address()));
                return;
            }
        }
        fail(info.error() != QHostInfo::NoError
                 ? QStringLiteral("%1: %2").arg(m_host, info.errorString())
                 : QStringLiteral("%1 has no IPv4 address").arg(m_host));
    }

    void send(in_addr_t address)
    {
        m_target = address;
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_addr.s_addr = address;
        if (::sendto(m_socket.fd(), m_packet.constData(), static_cast<size_t>(m_packet.size()), 0,
                     reinterpret_cast<const sockaddr*>(&to), sizeof to)
            < 0) {
            const int err = errno;
            fail(QStringLiteral("Cannot send a ping to %1: %2").arg(m_host, systemError(err)));
            return;
        }
        m_notifier = new QSocketNotifier(m_socket.fd(), QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, [this] { readReplies(); });
        m_timer.start(m_timeoutMs);
    }

    void readReplies()
    {
        unsigned char buffer[kReceiveBufferSize];
        for (;;) {
            sockaddr_in from{};
            socklen_t fromLen = sizeof from;
            const ssize_t n = ::recvfrom(m_socket.fd(), buffer, sizeof buffer, 0,
                                         reinterpret_cast<sockaddr*>(&from), &fromLen);
            if (n < 0) {
                // EAGAIN: nothing more queued. Errors queued by the kernel (an ICMP
                // "unreachable" for our request) are no reply; keep waiting.
                if (errno == EAGAIN || errno == EWOULDBLOCK)
                    return;
                continue;
            }
            if (from.sin_addr.s_addr != m_target)
                continue;
            // A raw socket hands over the IP header too; a datagram socket only ICMP.
            ssize_t offset = 0;
            if (m_kind == IcmpPinger::SocketKind::Raw) {
                if (n < 1)
                    continue;
                offset = (buffer[0] & 0x0F) * 4;
            }
            if (n - offset < kIcmpHeaderSize)
                continue;
            const unsigned char* icmp = buffer + offset;
            if (icmp[0] != kEchoReply || icmp[1] != 0)
                continue;
            if (bigEndian16(icmp + 6) != m_sequence)
                continue;
            if (m_kind == IcmpPinger::SocketKind::Raw && bigEndian16(icmp + 4) != m_identifier)
                continue;
            EchoResult r;
            r.status = EchoResult::Status::Reply;
            r.bytesReceived = static_cast<int>(n - offset);
            finish(r);
            return;
        }
    }

    void onTimeout()
    {
        if (m_lookingUp) {
            fail(QStringLiteral("The name %1 could not be resolved in time").arg(m_host));
            return;
        }
        EchoResult r;
        r.status = EchoResult::Status::TimedOut;
        finish(r);
    }

    void fail(const QString& error)
    {
        EchoResult r;
        r.error = error;
        finish(r);
    }

    // Ends the wait without delivering anything.
    void stop()
    {
        m_finished = true;
        m_timer.stop();
        if (m_notifier)
            m_notifier->setEnabled(false);
        deleteLater();
    }

    void finish(const EchoResult& r)
    {
        if (m_finished)
            return;
        stop();
        if (!m_hasContext || m_context)
            m_done(r);
    }

    SocketHandle m_socket;
    IcmpPinger::SocketKind m_kind;
    QByteArray m_packet;
    std::uint16_t m_identifier;
    std::uint16_t m_sequence;
    QPointer<QObject> m_context;
    bool m_hasContext;
    IPinger::Done m_done;
    QString m_host;
    int m_timeoutMs = 0;
    in_addr_t m_target = 0;
    QTimer m_timer;
    QSocketNotifier* m_notifier = nullptr;
    int m_lookupId = -1;
    bool m_lookingUp = false;
    bool m_finished = false;
};

// Delivers an outcome known at once from the event loop, as the interface promises.
void deliverLater(const EchoResult& r, QObject* context, const IPinger::Done& done)
{
    auto* carrier = new QObject;
    QPointer<QObject> guard(context);
    const bool hasContext = context != nullptr;
    QTimer::singleShot(0, carrier, [carrier, guard, hasContext, r, done] {
        carrier->deleteLater();
        if (!hasContext || guard)
            done(r);
    });
}

}  // namespace

void IcmpPinger::echo(const QString& host, const QByteArray& data, int timeoutMs, QObject* context,
                      Done done)
{
    if (host.trimmed().isEmpty()) {
        EchoResult r;
        r.error = QStringLiteral("No address given");
        deliverLater(r, context, done);
        return;
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
        if (fd < 0) {
            deliverLater(socketFailure(errno, "no ICMP socket may be opened"), context, done);
            return;
        }
    }
    if (fd < 0) {
        deliverLater(socketFailure(datagramError, "ICMP datagram sockets are not allowed"), context,
                     done);
        return;
    }
    m_lastKind = used;

    const std::uint16_t sequence = ++m_sequence;
    QByteArray packet(kIcmpHeaderSize, '\0');
    packet[0] = static_cast<char>(kEchoRequest);
    // A datagram socket puts its own identifier in; a raw one sends ours.
    putBigEndian16(packet, 4, m_identifier);
    putBigEndian16(packet, 6, sequence);
    packet.append(data);
    putBigEndian16(packet, 2, icmpChecksum(packet));

    auto* request = new EchoRequest(fd, used, packet, m_identifier, sequence, context,
                                    std::move(done));
    request->begin(host, timeoutMs);
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
