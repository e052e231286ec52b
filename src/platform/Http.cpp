#include "platform/Http.h"

#include "common/UComon.h"

#include <QTcpSocket>
#include <QTimer>

#include <optional>

namespace zfw {

namespace {

struct Head {
    int status = 0;
    qsizetype bodyStart = -1;
    std::optional<qsizetype> contentLength;
};

// Finds the end of the header block; servers end lines with CR LF, a few with LF alone.
qsizetype headerEnd(const QByteArray& raw, qsizetype* bodyStart)
{
    const qsizetype crlf = raw.indexOf("\r\n\r\n");
    const qsizetype lf = raw.indexOf("\n\n");
    if (crlf >= 0 && (lf < 0 || crlf <= lf)) {
        *bodyStart = crlf + 4;
        return crlf;
    }
    if (lf >= 0) {
        *bodyStart = lf + 2;
        return lf;
    }
    return -1;
}

// Reads the status line and the headers; nullopt while they are incomplete or malformed.
std::optional<Head> parseHead(const QByteArray& raw, QString* error)
{
    qsizetype bodyStart = -1;
    const qsizetype end = headerEnd(raw, &bodyStart);
    if (end < 0) {
        *error = QStringLiteral("incomplete reply header");
        return std::nullopt;
    }
    const QList<QByteArray> lines = raw.left(end).split('\n');
    const QByteArray statusLine = lines.value(0).trimmed();
    // "HTTP/1.x NNN reason"
    const QList<QByteArray> parts = statusLine.split(' ');
    if (parts.size() < 2 || !parts[0].startsWith("HTTP/") || parts[1].size() != 3) {
        *error = QStringLiteral("malformed status line");
        return std::nullopt;
    }
    bool isNumber = false;
    const int status = parts[1].toInt(&isNumber);
    if (!isNumber || status < 100) {
        *error = QStringLiteral("malformed status line");
        return std::nullopt;
    }
    Head h;
    h.status = status;
    h.bodyStart = bodyStart;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray line = lines[i].trimmed();
        const qsizetype colon = line.indexOf(':');
        if (colon <= 0)
            continue;
        if (line.left(colon).trimmed().toLower() != "content-length")
            continue;
        bool ok = false;
        const qlonglong n = line.mid(colon + 1).trimmed().toLongLong(&ok);
        if (!ok || n < 0) {
            *error = QStringLiteral("malformed Content-Length");
            return std::nullopt;
        }
        h.contentLength = n;
    }
    return h;
}

// True when raw already holds a whole reply whose length the headers announce.
bool completeByLength(const QByteArray& raw)
{
    QString ignored;
    const std::optional<Head> h = parseHead(raw, &ignored);
    return h && h->contentLength && raw.size() - h->bodyStart >= *h->contentLength;
}

// One GET on its own socket. It reports once, then deletes itself.
class HttpRequest final : public QObject {
public:
    HttpRequest(QObject* owner, const QUrl& url, int timeoutMs, IHttpGet::Done done)
        : QObject(owner), m_url(url), m_done(std::move(done))
    {
        m_timer.setSingleShot(true);
        connect(&m_timer, &QTimer::timeout, this,
                [this] { fail(QStringLiteral("no complete reply within the time limit")); });
        connect(&m_socket, &QTcpSocket::connected, this,
                [this] { m_socket.write(buildHttpGetRequest(m_url)); });
        connect(&m_socket, &QTcpSocket::readyRead, this, &HttpRequest::readMore);
        connect(&m_socket, &QTcpSocket::disconnected, this, &HttpRequest::finishAtClose);
        connect(&m_socket, &QTcpSocket::errorOccurred, this,
                [this](QAbstractSocket::SocketError e) {
                    // The server closing the connection is the normal end of an HTTP/1.0 reply.
                    if (e == QAbstractSocket::RemoteHostClosedError)
                        finishAtClose();
                    else
                        fail(m_socket.errorString());
                });
        m_timer.start(qMax(0, timeoutMs));
    }

    // The socket, destroyed after the timer, still signals its close while it goes; this
    // object must not answer it any more.
    ~HttpRequest() override
    {
        m_finished = true;
        m_socket.disconnect(this);
    }

    void start()
    {
        if (!m_url.isValid() || m_url.scheme().compare(QLatin1String("http"), Qt::CaseInsensitive)
            || m_url.host().isEmpty()) {
            fail(QStringLiteral("not an http address"));
            return;
        }
        m_socket.connectToHost(m_url.host(), static_cast<quint16>(m_url.port(80)));
    }

private:
    void readMore() { take(false); }
    void finishAtClose() { take(true); }

    // Collects what arrived; the reply ends when the server closes or when the length the
    // headers announce is there.
    void take(bool closed)
    {
        if (m_finished)
            return;
        m_raw += m_socket.readAll();
        if (m_raw.size() > kHttpMaxReplyBytes)
            fail(QStringLiteral("reply too long"));
        else if (closed || completeByLength(m_raw))
            finish(parseHttpResponse(m_raw));
    }

    void fail(const QString& why)
    {
        HttpReply r;
        r.error = why;
        finish(r);
    }

    void finish(const HttpReply& reply)
    {
        if (m_finished)
            return;
        m_finished = true;
        m_timer.stop();
        m_socket.disconnect(this);
        m_socket.abort();
        // Reported from a fresh turn of the event loop, never from inside a socket signal: the
        // callback may destroy the client, and this object with it.
        QMetaObject::invokeMethod(
            this,
            [this, reply] {
                IHttpGet::Done done = std::move(m_done);
                deleteLater();
                if (done)
                    done(reply);
            },
            Qt::QueuedConnection);
    }

    QUrl m_url;
    IHttpGet::Done m_done;
    QTcpSocket m_socket;
    QTimer m_timer;
    QByteArray m_raw;
    bool m_finished = false;
};

}  // namespace

QByteArray buildHttpGetRequest(const QUrl& url)
{
    QByteArray target = url.path(QUrl::FullyEncoded).toLatin1();
    if (target.isEmpty())
        target = "/";
    if (url.hasQuery())
        target += '?' + url.query(QUrl::FullyEncoded).toLatin1();
    QByteArray host = url.host(QUrl::FullyEncoded).toLatin1();
    if (url.port() > 0 && url.port() != 80)
        host += ':' + QByteArray::number(url.port());
    QByteArray r;
    r += "GET " + target + " HTTP/1.0\r\n";
    r += "Host: " + host + "\r\n";
    r += "Accept: text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8\r\n";
    r += "User-Agent: ZandovericConfigurator/" + QByteArray(Build_SW_Version) + "\r\n";
    r += "\r\n";
    return r;
}

HttpReply parseHttpResponse(const QByteArray& raw)
{
    HttpReply r;
    const std::optional<Head> h = parseHead(raw, &r.error);
    if (!h)
        return r;
    r.status = h->status;
    QByteArray body = raw.mid(h->bodyStart);
    if (h->contentLength) {
        if (body.size() < *h->contentLength) {
            r.error = QStringLiteral("reply shorter than its Content-Length");
            return r;
        }
        body.truncate(*h->contentLength);
    }
    if (h->status < 200 || h->status > 299) {
        r.error = QStringLiteral("HTTP status %1").arg(h->status);
        return r;
    }
    r.ok = true;
    r.body = body;
    return r;
}

QtHttpGet::QtHttpGet() : m_owner(new QObject) {}

QtHttpGet::~QtHttpGet() { delete m_owner; }

void QtHttpGet::get(const QUrl& url, int timeoutMs, Done done)
{
    auto* request = new HttpRequest(m_owner, url, timeoutMs, std::move(done));
    request->start();
}

int QtHttpGet::pendingCount() const { return static_cast<int>(m_owner->children().size()); }

}  // namespace zfw
