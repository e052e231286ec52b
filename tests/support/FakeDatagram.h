#pragma once
// Datagram transports that talk to each other inside the test process: a network records
// every datagram sent and hands it to the transport bound to its destination, from the event
// loop, as the real transport does. A test can also deliver a datagram from a peer that is
// not part of the network.

#include "platform/Datagram.h"

#include <QObject>

#include <map>
#include <utility>
#include <vector>

namespace zfw::test {

class FakeDatagramTransport;

class FakeDatagramNetwork {
public:
    struct Sent {
        QHostAddress from;
        quint16 fromPort = 0;
        QHostAddress to;
        quint16 toPort = 0;
        QByteArray data;
    };

    // Every datagram sent by a transport of this network, delivered or not.
    std::vector<Sent> sent;
    // Ports handed out for a bind to port 0 start here.
    quint16 firstFreePort = 49152;

private:
    friend class FakeDatagramTransport;
    using Endpoint = std::pair<QString, quint16>;
    FakeDatagramTransport* at(const QHostAddress& address, quint16 port) const;

    std::map<Endpoint, FakeDatagramTransport*> m_bound;
};

class FakeDatagramTransport final : public IDatagramTransport {
public:
    // The network must outlive the transport.
    explicit FakeDatagramTransport(FakeDatagramNetwork& network) : m_network(network) {}
    ~FakeDatagramTransport() override { close(); }
    FakeDatagramTransport(const FakeDatagramTransport&) = delete;
    FakeDatagramTransport& operator=(const FakeDatagramTransport&) = delete;

    bool bind(const QHostAddress& address, quint16 port, QString* error) override;
    QHostAddress localAddress() const override { return m_address; }
    quint16 localPort() const override { return m_port; }
    bool send(const QByteArray& data, const QHostAddress& to, quint16 port,
              QString* error) override;
    void setReceiver(Receiver receiver) override { m_receiver = std::move(receiver); }
    void close() override;

    // A datagram from a peer outside the network arrives (from the event loop).
    void inject(const QByteArray& data, const QHostAddress& from, quint16 fromPort);

private:
    void post(const Datagram& datagram);

    FakeDatagramNetwork& m_network;
    QHostAddress m_address;
    quint16 m_port = 0;
    Receiver m_receiver;
    // Datagrams posted before a close() are not delivered after it.
    int m_generation = 0;
    QObject m_context;
};

}  // namespace zfw::test
