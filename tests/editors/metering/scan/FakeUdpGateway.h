#pragma once
// A simulated gateway behind a real UDP socket on 127.0.0.1 at an ephemeral port: the wired
// line model, or any other responder (a radio module). A thread of its own answers every
// datagram as the responder does, to the sender's address and port; the test can also push
// datagrams of its own (telegrams) to the last sender. Its receive loop polls in short
// slices and ends when the object is destroyed.

#include "FakeGatewayLine.h"

#include <netinet/in.h>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace zfw::test {

class FakeUdpGateway {
public:
    // setup runs before the thread starts, to fill the line model.
    explicit FakeUdpGateway(const std::function<void(FakeGatewayLine&)>& setup = {});
    explicit FakeUdpGateway(std::unique_ptr<IScanLine> responder);
    ~FakeUdpGateway();
    FakeUdpGateway(const FakeUdpGateway&) = delete;
    FakeUdpGateway& operator=(const FakeUdpGateway&) = delete;

    quint16 port() const { return m_port; }
    // Everything received so far.
    std::vector<QByteArray> received() const;
    // Replaces the answer to the next datagram with these bytes.
    void answerNextWith(const QByteArray& bytes);
    // Sends bytes to whoever sent the last datagram; false when nobody has yet.
    bool push(const QByteArray& bytes);

private:
    void open();
    void serve();

    std::unique_ptr<IScanLine> m_responder;
    std::optional<sockaddr_in> m_peer;
    int m_socket = -1;
    quint16 m_port = 0;
    std::atomic<bool> m_stop{false};
    mutable std::mutex m_mutex;
    std::vector<QByteArray> m_received;
    QByteArray m_override;
    std::thread m_thread;
};

}  // namespace zfw::test
