#pragma once
// The simulated gateway line behind a real UDP socket on 127.0.0.1 at an ephemeral port. A
// thread of its own answers every datagram as the line model does, to the sender's address
// and port. Its receive loop polls in short slices and ends when the object is destroyed.

#include "FakeGatewayLine.h"

#include <atomic>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace zfw::test {

class FakeUdpGateway {
public:
    // setup runs before the thread starts, to fill the line model.
    explicit FakeUdpGateway(const std::function<void(FakeGatewayLine&)>& setup = {});
    ~FakeUdpGateway();
    FakeUdpGateway(const FakeUdpGateway&) = delete;
    FakeUdpGateway& operator=(const FakeUdpGateway&) = delete;

    quint16 port() const { return m_port; }
    // Everything received so far.
    std::vector<QByteArray> received() const;
    // Replaces the answer to the next datagram with these bytes.
    void answerNextWith(const QByteArray& bytes);

private:
    void serve();

    FakeGatewayLine m_line;
    int m_socket = -1;
    quint16 m_port = 0;
    std::atomic<bool> m_stop{false};
    mutable std::mutex m_mutex;
    std::vector<QByteArray> m_received;
    QByteArray m_override;
    std::thread m_thread;
};

}  // namespace zfw::test
