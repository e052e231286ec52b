#pragma once
// ICMP echo (ping) behind a small interface, so that the update window can be tested with a
// scripted fake and the real requests stay in this layer.

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <functional>

class QObject;

namespace zfw {

// Outcome of one echo request.
struct EchoResult {
    enum class Status {
        Reply,     // an echo reply to this very request arrived
        TimedOut,  // no reply within the time-out (ICMP errors such as "unreachable" included)
        Failed,    // the request could not be sent: see error
    };

    Status status = Status::Failed;
    int bytesReceived = 0;      // ICMP bytes of the reply (header and data); 0 unless Reply
    QString error;              // Failed: what went wrong, in English, for the user
    bool notPermitted = false;  // Failed because the system allows this program no ICMP socket
};

class IPinger {
public:
    using Done = std::function<void(const EchoResult&)>;

    virtual ~IPinger() = default;

    // Sends one echo request carrying data to host (a dotted IPv4 address, otherwise a name
    // to resolve to IPv4) and returns at once. done receives the outcome exactly once, from
    // the event loop and never from inside echo(), at the latest timeoutMs after the request
    // left (a name lookup may add up to 5 s before). When context is destroyed first, the
    // request is dropped and done is never called. Sequence numbers count up from one
    // request to the next.
    virtual void echo(const QString& host, const QByteArray& data, int timeoutMs, QObject* context,
                      Done done) = 0;
};

// The real echo client. Unprivileged ICMP datagram sockets are used where the system allows
// them (net.ipv4.ping_group_range); otherwise a raw socket, which needs CAP_NET_RAW.
class IcmpPinger final : public IPinger {
public:
    enum class SocketKind { Any, Datagram, Raw };

    // kind Any tries a datagram socket first and falls back to a raw one; the other kinds
    // use only that socket (tests use them to cover each path).
    explicit IcmpPinger(SocketKind kind = SocketKind::Any);

    void echo(const QString& host, const QByteArray& data, int timeoutMs, QObject* context,
              Done done) override;

    // Socket kind of the last request that could open one; Any before the first.
    SocketKind lastSocketKind() const { return m_lastKind; }

private:
    SocketKind m_kind;
    SocketKind m_lastKind = SocketKind::Any;
    std::uint16_t m_identifier;
    std::uint16_t m_sequence = 0;
};

// The pinger in use: the real one unless a ScopedPinger has put another in place.
IPinger& pinger();

// Puts a pinger in place for the lifetime of the object (tests).
class ScopedPinger {
public:
    explicit ScopedPinger(IPinger& replacement);
    ~ScopedPinger();
    ScopedPinger(const ScopedPinger&) = delete;
    ScopedPinger& operator=(const ScopedPinger&) = delete;

private:
    IPinger* m_saved;
};

// Internet checksum (RFC 1071) of bytes, as ICMP headers carry it.
std::uint16_t icmpChecksum(const QByteArray& bytes);

}  // namespace zfw
