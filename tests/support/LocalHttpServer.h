#pragma once
// A web server on 127.0.0.1 for the tests of the HTTP client and the version check: it
// answers every request with one scripted reply, or keeps silent, or hangs up at once.

#include <QByteArray>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QHostAddress>
#include <QList>
#include <QTcpServer>
#include <QTcpSocket>

#include <functional>
#include <memory>

namespace zfw::test {

class LocalHttpServer {
public:
    enum class Mode { Reply, Silent, HangUp };

    explicit LocalHttpServer(QByteArray reply, Mode mode = Mode::Reply)
        : m_reply(std::move(reply)), m_mode(mode)
    {
        m_server.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&m_server, &QTcpServer::newConnection, &m_server, [this] { accept(); });
    }

    bool isListening() const { return m_server.isListening(); }
    quint16 port() const { return m_server.serverPort(); }
    // Raw requests received, one per connection.
    const QList<QByteArray>& requests() const { return m_requests; }
    int connections() const { return m_connections; }

    // "HTTP/1.0 <status>" with a small header and body.
    static QByteArray reply(const QByteArray& body, const QByteArray& status = "200 OK")
    {
        return "HTTP/1.0 " + status + "\r\nContent-Type: text/html\r\n\r\n" + body;
    }

    // A port on 127.0.0.1 where nothing listens.
    static quint16 closedPort()
    {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        return probe.serverPort();
    }

private:
    void accept()
    {
        while (QTcpSocket* s = m_server.nextPendingConnection()) {
            ++m_connections;
            if (m_mode == Mode::HangUp) {
                s->abort();
                s->deleteLater();
                continue;
            }
            auto buffer = std::make_shared<QByteArray>();
            QObject::connect(s, &QTcpSocket::readyRead, s, [this, s, buffer] {
                *buffer += s->readAll();
                if (!buffer->contains("\r\n\r\n"))
                    return;
                m_requests.append(*buffer);
                buffer->clear();
                if (m_mode == Mode::Reply) {
                    s->write(m_reply);
                    s->disconnectFromHost();
                }
            });
            QObject::connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
        }
    }

    QByteArray m_reply;
    Mode m_mode;
    QTcpServer m_server;
    QList<QByteArray> m_requests;
    int m_connections = 0;
};

// Runs the event loop until done() holds or timeoutMs have passed; the result of done().
inline bool waitUntil(const std::function<bool()>& done, int timeoutMs = 5000)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!done() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

}  // namespace zfw::test
