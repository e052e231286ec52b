#pragma once
// A plain HTTP GET that never blocks the caller: the answer (or the failure) arrives later
// through a callback on the thread's event loop, within a time limit the caller chooses.

#include <QByteArray>
#include <QString>
#include <QUrl>

#include <functional>

class QObject;

namespace zfw {

struct HttpReply {
    bool ok = false;  // a complete reply with a 2xx status arrived
    int status = 0;   // status code of the reply; 0 when no status line arrived
    QByteArray body;  // the body of an ok reply; empty otherwise
    QString error;    // why it failed, for tests and diagnostics; empty when ok
};

class IHttpGet {
public:
    using Done = std::function<void(const HttpReply&)>;

    virtual ~IHttpGet() = default;

    // Starts a GET of url (scheme http). done is called exactly once, from the event loop and
    // never from inside get(), unless the client is destroyed first; then it is never called.
    virtual void get(const QUrl& url, int timeoutMs, Done done) = 0;
};

// HTTP/1.0 over a TCP socket: one request per connection, no cookies, no redirects followed
// (a 3xx status is a failure), the body read until the server closes or Content-Length is
// reached. The time limit covers the whole exchange, name lookup included.
class QtHttpGet final : public IHttpGet {
public:
    QtHttpGet();
    ~QtHttpGet() override;
    QtHttpGet(const QtHttpGet&) = delete;
    QtHttpGet& operator=(const QtHttpGet&) = delete;

    void get(const QUrl& url, int timeoutMs, Done done) override;

    // Requests still waiting for their answer.
    int pendingCount() const;

private:
    QObject* m_owner;  // parent of the running requests; deleting it aborts them silently
};

// Largest reply accepted (status line, headers and body); a longer one is a failure.
inline constexpr qsizetype kHttpMaxReplyBytes = 256 * 1024;

// The bytes of the HTTP/1.0 request for url: request line, Host, Accept, User-Agent.
QByteArray buildHttpGetRequest(const QUrl& url);

// Interprets the raw bytes a server sent before closing. A body shorter than its
// Content-Length, a missing or malformed status line and a non-2xx status are failures.
HttpReply parseHttpResponse(const QByteArray& raw);

}  // namespace zfw
