#include "FakeUdpGateway.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

namespace zfw::test {

FakeUdpGateway::FakeUdpGateway(const std::function<void(FakeGatewayLine&)>& setup)
{
    auto line = std::make_unique<FakeGatewayLine>();
    if (setup)
        setup(*line);
    m_responder = std::move(line);
    open();
}

FakeUdpGateway::FakeUdpGateway(std::unique_ptr<IScanLine> responder)
    : m_responder(std::move(responder))
{
    open();
}

void FakeUdpGateway::open()
{
    m_socket = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    if (m_socket < 0
        || ::bind(m_socket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
        throw std::runtime_error("the fake gateway cannot bind to 127.0.0.1");
    socklen_t length = sizeof address;
    ::getsockname(m_socket, reinterpret_cast<sockaddr*>(&address), &length);
    m_port = ntohs(address.sin_port);
    m_thread = std::thread([this] { serve(); });
}

FakeUdpGateway::~FakeUdpGateway()
{
    m_stop = true;
    m_thread.join();
    ::close(m_socket);
}

std::vector<QByteArray> FakeUdpGateway::received() const
{
    std::lock_guard lock(m_mutex);
    return m_received;
}

void FakeUdpGateway::answerNextWith(const QByteArray& bytes)
{
    std::lock_guard lock(m_mutex);
    m_override = bytes;
}

bool FakeUdpGateway::push(const QByteArray& bytes)
{
    std::optional<sockaddr_in> peer;
    {
        std::lock_guard lock(m_mutex);
        peer = m_peer;
    }
    if (!peer)
        return false;
    return ::sendto(m_socket, bytes.constData(), static_cast<size_t>(bytes.size()), 0,
                    reinterpret_cast<const sockaddr*>(&*peer), sizeof *peer)
           == bytes.size();
}

void FakeUdpGateway::serve()
{
    std::vector<char> buffer(8192);
    while (!m_stop) {
        pollfd descriptor{m_socket, POLLIN, 0};
        if (::poll(&descriptor, 1, 20) <= 0)
            continue;
        sockaddr_in peer{};
        socklen_t length = sizeof peer;
        const ssize_t n = ::recvfrom(m_socket, buffer.data(), buffer.size(), 0,
                                     reinterpret_cast<sockaddr*>(&peer), &length);
        if (n < 0)
            continue;
        const QByteArray data(buffer.data(), static_cast<qsizetype>(n));
        std::vector<QByteArray> answers;
        {
            std::lock_guard lock(m_mutex);
            m_received.push_back(data);
            m_peer = peer;
            m_responder->send(data);
            while (auto answer = m_responder->takeAnswer())
                answers.push_back(*answer);
            if (!m_override.isEmpty()) {
                answers = {m_override};
                m_override.clear();
            }
        }
        for (const QByteArray& answer : answers)
            ::sendto(m_socket, answer.constData(), static_cast<size_t>(answer.size()), 0,
                     reinterpret_cast<sockaddr*>(&peer), length);
    }
}

}  // namespace zfw::test
