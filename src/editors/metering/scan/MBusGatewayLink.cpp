#include "editors/metering/scan/MBusGatewayLink.h"

#include <QMetaObject>
#include <QThread>

namespace zfw {

TGatewayLink::TGatewayLink(IDatagramTransport& transport, std::function<void()> wake)
    : m_transport(transport), m_wake(std::move(wake))
{
    m_transport.setReceiver([this](const Datagram& datagram) { receive(datagram); });
}

TGatewayLink::~TGatewayLink() { m_transport.setReceiver({}); }

bool TGatewayLink::open(quint16 localPort, QString* error)
{
    bool ok = true;
    auto doOpen = [&] {
        if (m_transport.localPort() == 0)
            ok = m_transport.bind(QHostAddress(QHostAddress::AnyIPv4), localPort, error);
    };
    m_tasks.run(doOpen);
    std::lock_guard lock(m_mutex);
    m_answers.clear();
    m_open = ok;
    return ok;
}

void TGatewayLink::close()
{
    {
        std::lock_guard lock(m_mutex);
        m_open = false;
        m_answers.clear();
    }
    m_tasks.run([this] { m_transport.close(); });
}

bool TGatewayLink::isOpen() const
{
    std::lock_guard lock(m_mutex);
    return m_open;
}

quint16 TGatewayLink::localPort() const { return m_transport.localPort(); }

void TGatewayLink::send(const QByteArray& data, const QHostAddress& gateway, quint16 port)
{
    {
        std::lock_guard lock(m_mutex);
        m_answers.clear();
    }
    // Answers are delivered on the transport's thread, so a drain there right before the send
    // also catches one that arrived after the drain above.
    auto doSend = [this, data, gateway, port] {
        {
            std::lock_guard lock(m_mutex);
            m_answers.clear();
        }
        m_transport.send(data, gateway, port, nullptr);
    };
    if (QThread::currentThread() == m_tasks.thread())
        doSend();
    else
        m_tasks.post(doSend);
}

std::optional<QByteArray> TGatewayLink::takeAnswer()
{
    std::lock_guard lock(m_mutex);
    if (m_answers.empty())
        return std::nullopt;
    QByteArray answer = std::move(m_answers.front());
    m_answers.pop_front();
    return answer;
}

int TGatewayLink::droppedCount() const
{
    std::lock_guard lock(m_mutex);
    return m_dropped;
}

void TGatewayLink::receive(const Datagram& datagram)
{
    {
        std::lock_guard lock(m_mutex);
        if (!m_open)
            return;
        // The old receive handler copied any datagram into the 2,051-byte answer buffer and
        // wrote past its end; an answer that long cannot be a gateway reply, so drop it.
        if (datagram.data.size() > kAnswerCapacity || m_answers.size() >= kQueueCapacity) {
            ++m_dropped;
            return;
        }
        m_answers.push_back(datagram.data);
    }
    if (m_wake)
        m_wake();
}

}  // namespace zfw
