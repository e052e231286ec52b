#pragma once
// A datagram (UDP) transport behind a small interface: bind to an address and port, send to a
// peer, and receive from the event loop through a callback. Tests replace it with a fake that
// links transports within the process.

#include <QByteArray>
#include <QHostAddress>
#include <QString>

#include <functional>
#include <memory>

class QObject;

namespace zfw {

struct Datagram {
    QByteArray data;
    QHostAddress sender;
    quint16 senderPort = 0;
};

// The largest payload of one IPv4 UDP datagram.
inline constexpr qsizetype kMaxDatagramBytes = 65507;

class IDatagramTransport {
public:
    using Receiver = std::function<void(const Datagram&)>;

    virtual ~IDatagramTransport() = default;

    // Binds to address and port (0: a free port the system chooses). The port is never shared
    // with another socket. False with *error set when the address or port cannot be had, or
    // when the transport is bound already.
    virtual bool bind(const QHostAddress& address, quint16 port, QString* error) = 0;
    // Bound address and port; null address and 0 before bind().
    virtual QHostAddress localAddress() const = 0;
    virtual quint16 localPort() const = 0;

    // Sends data to the peer at once. False with *error set when the transport is not bound,
    // data is longer than kMaxDatagramBytes, or the system refused it. A datagram to a port
    // where nobody listens is lost silently, as UDP is.
    virtual bool send(const QByteArray& data, const QHostAddress& to, quint16 port,
                      QString* error) = 0;

    // Each datagram received from now on goes to receiver, in order of arrival, from the
    // event loop and never from inside a call of this interface. The receiver may destroy the
    // transport; the datagrams not yet delivered are dropped then.
    virtual void setReceiver(Receiver receiver) = 0;

    // Unbinds; datagrams not yet delivered are dropped. bind() may follow.
    virtual void close() = 0;
};

// The transport over QUdpSocket.
class UdpTransport final : public IDatagramTransport {
public:
    UdpTransport();
    ~UdpTransport() override;
    UdpTransport(const UdpTransport&) = delete;
    UdpTransport& operator=(const UdpTransport&) = delete;

    bool bind(const QHostAddress& address, quint16 port, QString* error) override;
    QHostAddress localAddress() const override;
    quint16 localPort() const override;
    bool send(const QByteArray& data, const QHostAddress& to, quint16 port,
              QString* error) override;
    void setReceiver(Receiver receiver) override;
    void close() override;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

}  // namespace zfw
