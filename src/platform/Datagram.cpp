#include "platform/Datagram.h"

#include <QMetaObject>
#include <QNetworkDatagram>
#include <QObject>
#include <QUdpSocket>

#include <deque>

namespace zfw {

namespace {

// Datagrams read but not yet delivered; beyond this a flood is dropped rather than kept.
constexpr std::size_t kMaxQueued = 4096;

QString endpoint(const QHostAddress& address, quint16 port)
{
    return QStringLiteral("%1 port %2").arg(address.toString()).arg(port);
}

}  // namespace

struct UdpTransport::Impl {
    QUdpSocket socket;
    Receiver receiver;
    std::deque<Datagram> queued;
    bool deliveryPosted = false;
    // Owner of the posted deliveries: they are dropped with it.
    QObject context;
    // Expires with the transport, so a delivery loop notices a receiver that destroyed it.
    std::shared_ptr<int> lifetime = std::make_shared<int>(0);

    void readPending();
    void deliver();
};

// Reading happens in the socket's own signal, delivering on a later turn of the event loop:
// the receiver may then close or destroy the transport without the socket being in the middle
// of its notification.
void UdpTransport::Impl::readPending()
{
    while (socket.hasPendingDatagrams()) {
        QNetworkDatagram dg = socket.receiveDatagram();
        // An ICMP error (a peer's closed port) reads as an invalid datagram; there is nothing
        // to deliver then.
        if (!dg.isValid())
            break;
        if (queued.size() < kMaxQueued)
            queued.push_back({dg.data(), dg.senderAddress(), quint16(dg.senderPort())});
    }
    if (!queued.empty() && !deliveryPosted) {
        deliveryPosted = true;
        QMetaObject::invokeMethod(
            &context, [this] { deliver(); }, Qt::QueuedConnection);
    }
}

void UdpTransport::Impl::deliver()
{
    deliveryPosted = false;
    const std::weak_ptr<int> alive = lifetime;
    while (!queued.empty()) {
        const Datagram dg = std::move(queued.front());
        queued.pop_front();
        if (!receiver)
            continue;
        const Receiver r = receiver;  // the receiver may replace itself
        r(dg);
        if (alive.expired())
            return;
    }
}

UdpTransport::UdpTransport() : d(std::make_unique<Impl>())
{
    QObject::connect(&d->socket, &QUdpSocket::readyRead, &d->context,
                     [impl = d.get()] { impl->readPending(); });
}

UdpTransport::~UdpTransport() = default;

bool UdpTransport::bind(const QHostAddress& address, quint16 port, QString* error)
{
    if (d->socket.state() != QAbstractSocket::UnconnectedState) {
        if (error)
            *error = QStringLiteral("The transport is bound already to %1")
                         .arg(endpoint(localAddress(), localPort()));
        return false;
    }
    if (!d->socket.bind(address, port, QAbstractSocket::DontShareAddress)) {
        if (error)
            *error = QStringLiteral("Cannot bind to %1: %2")
                         .arg(endpoint(address, port), d->socket.errorString());
        d->socket.close();
        return false;
    }
    return true;
}

QHostAddress UdpTransport::localAddress() const
{
    return d->socket.state() == QAbstractSocket::BoundState ? d->socket.localAddress()
                                                            : QHostAddress();
}

quint16 UdpTransport::localPort() const
{
    return d->socket.state() == QAbstractSocket::BoundState ? d->socket.localPort() : 0;
}

bool UdpTransport::send(const QByteArray& data, const QHostAddress& to, quint16 port,
                        QString* error)
{
    QString message;
    if (d->socket.state() != QAbstractSocket::BoundState)
        message = QStringLiteral("The transport is not bound");
    else if (data.size() > kMaxDatagramBytes)
        message = QStringLiteral("A datagram of %1 bytes is longer than %2")
                      .arg(data.size())
                      .arg(kMaxDatagramBytes);
    else if (to.isNull() || port == 0)
        message = QStringLiteral("No peer to send to");
    else if (d->socket.writeDatagram(data, to, port) != data.size())
        message = QStringLiteral("Cannot send to %1: %2")
                      .arg(endpoint(to, port), d->socket.errorString());
    if (message.isEmpty())
        return true;
    if (error)
        *error = message;
    return false;
}

void UdpTransport::setReceiver(Receiver receiver) { d->receiver = std::move(receiver); }

void UdpTransport::close()
{
    d->socket.close();
    d->queued.clear();
}

}  // namespace zfw
