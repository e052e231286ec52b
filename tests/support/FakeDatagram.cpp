#include "support/FakeDatagram.h"

#include <QMetaObject>

namespace zfw::test {

FakeDatagramTransport* FakeDatagramNetwork::at(const QHostAddress& address, quint16 port) const
{
    auto it = m_bound.find({address.toString(), port});
    if (it == m_bound.end())
        it = m_bound.find({QHostAddress(QHostAddress::AnyIPv4).toString(), port});
    return it == m_bound.end() ? nullptr : it->second;
}

bool FakeDatagramTransport::bind(const QHostAddress& address, quint16 port, QString* error)
{
    QString message;
    if (m_port != 0) {
        message = QStringLiteral("The transport is bound already");
    } else if (address.isNull()) {
        message = QStringLiteral("Cannot bind to no address");
    } else {
        if (port == 0) {
            port = m_network.firstFreePort;
            while (m_network.m_bound.count({address.toString(), port}))
                ++port;
        }
        if (m_network.m_bound.count({address.toString(), port}))
            message = QStringLiteral("Cannot bind to %1 port %2: the address is in use")
                          .arg(address.toString())
                          .arg(port);
    }
    if (!message.isEmpty()) {
        if (error)
            *error = message;
        return false;
    }
    m_address = address;
    m_port = port;
    m_network.m_bound[{address.toString(), port}] = this;
    return true;
}

bool FakeDatagramTransport::send(const QByteArray& data, const QHostAddress& to, quint16 port,
                                 QString* error)
{
    QString message;
    if (m_port == 0)
        message = QStringLiteral("The transport is not bound");
    else if (data.size() > kMaxDatagramBytes)
        message = QStringLiteral("A datagram of %1 bytes is longer than %2")
                      .arg(data.size())
                      .arg(kMaxDatagramBytes);
    else if (to.isNull() || port == 0)
        message = QStringLiteral("No peer to send to");
    if (!message.isEmpty()) {
        if (error)
            *error = message;
        return false;
    }
    m_network.sent.push_back({m_address, m_port, to, port, data});
    if (FakeDatagramTransport* peer = m_network.at(to, port))
        peer->post({data, m_address, m_port});
    return true;
}

void FakeDatagramTransport::close()
{
    if (m_port != 0)
        m_network.m_bound.erase({m_address.toString(), m_port});
    m_address = QHostAddress();
    m_port = 0;
    ++m_generation;
}

void FakeDatagramTransport::inject(const QByteArray& data, const QHostAddress& from,
                                   quint16 fromPort)
{
    post({data, from, fromPort});
}

void FakeDatagramTransport::post(const Datagram& datagram)
{
    QMetaObject::invokeMethod(
        &m_context,
        [this, datagram, generation = m_generation] {
            if (generation != m_generation || m_port == 0 || !m_receiver)
                return;
            const Receiver r = m_receiver;  // the receiver may destroy this transport
            r(datagram);
        },
        Qt::QueuedConnection);
}

}  // namespace zfw::test
