#pragma once
// The scan engine's end of the gateway traffic over a datagram transport. The transport
// delivers datagrams on the thread it lives on; the link only files them in a bounded queue
// and calls the wake function, so the engine thread takes them when it is ready. Sends made
// from another thread are handed to the transport's thread, which owns the socket.
//
// Ownership: the link does not own the transport, which must outlive it and must live on the
// thread that constructs the link. Every public function may be called from any thread.

#include "editors/metering/scan/MBusGatewayProtocol.h"
#include "editors/metering/scan/MBusThreadTasks.h"
#include "platform/Datagram.h"

#include <QHostAddress>
#include <QObject>

#include <deque>
#include <functional>
#include <mutex>
#include <optional>

namespace zfw {

class TGatewayLink {
public:
    // Answers waiting beyond this many are dropped (the newest one is not filed).
    static constexpr size_t kQueueCapacity = 64;

    // wake is called on the transport's thread after each datagram filed; it must not block.
    TGatewayLink(IDatagramTransport& transport, std::function<void()> wake);
    ~TGatewayLink();
    TGatewayLink(const TGatewayLink&) = delete;
    TGatewayLink& operator=(const TGatewayLink&) = delete;

    // Binds the transport to localPort on any IPv4 address (0: a free port) unless it is bound
    // already. False with *error set when the port cannot be had.
    bool open(quint16 localPort, QString* error);
    // Unbinds; answers still queued are dropped.
    void close();
    bool isOpen() const;
    quint16 localPort() const;

    // Drops every answer still queued, so that a late answer to an earlier request cannot be
    // taken for the answer to this one, then sends data to the gateway.
    void send(const QByteArray& data, const QHostAddress& gateway, quint16 port);

    // The oldest answer not yet taken.
    std::optional<QByteArray> takeAnswer();
    // Datagrams refused since the link was made: longer than the answer buffer, or the queue
    // was full.
    int droppedCount() const;

private:
    void receive(const Datagram& datagram);

    IDatagramTransport& m_transport;
    std::function<void()> m_wake;
    TThreadTasks m_tasks;  // lives on the transport's thread
    mutable std::mutex m_mutex;
    std::deque<QByteArray> m_answers;
    int m_dropped = 0;
    bool m_open = false;
};

}  // namespace zfw
