#include "platform/Http.h"

#include "support/LocalHttpServer.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <optional>

namespace zfw {
namespace {

using test::LocalHttpServer;
using test::waitUntil;

struct ParseCase {
    const char* name;
    QByteArray raw;
    bool ok;
    int status;
    QByteArray body;
};

void PrintTo(const ParseCase& c, std::ostream* os) { *os << c.name; }

const ParseCase kParseCases[] = {
    {"plain200", "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\nVER. 1.003", true, 200,
     "VER. 1.003"},
    {"http11", "HTTP/1.1 200 OK\r\n\r\nx", true, 200, "x"},
    {"emptyBody", "HTTP/1.0 204 No Content\r\n\r\n", true, 204, ""},
    {"lineFeedsOnly", "HTTP/1.0 200 OK\nServer: x\n\nbody", true, 200, "body"},
    {"lengthCutsTrailingBytes", "HTTP/1.0 200 OK\r\nContent-Length: 3\r\n\r\nabcdef", true, 200,
     "abc"},
    {"lengthHeaderAnyCase", "HTTP/1.0 200 OK\r\ncontent-LENGTH: 2\r\n\r\nabc", true, 200, "ab"},
    {"notFound", "HTTP/1.0 404 Not Found\r\n\r\nVER. 9.999", false, 404, ""},
    {"serverError", "HTTP/1.0 500 Internal Server Error\r\n\r\n", false, 500, ""},
    {"redirectNotFollowed", "HTTP/1.0 302 Found\r\nLocation: http://127.0.0.1/\r\n\r\n", false, 302,
     ""},
    {"truncatedBody", "HTTP/1.0 200 OK\r\nContent-Length: 10\r\n\r\nabc", false, 200, ""},
    {"badLength", "HTTP/1.0 200 OK\r\nContent-Length: -1\r\n\r\nabc", false, 0, ""},
    {"headerNeverEnds", "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n", false, 0, ""},
    {"notHttp", "VER. 1.003\r\n\r\n", false, 0, ""},
    {"statusNotNumber", "HTTP/1.0 2x0 OK\r\n\r\n", false, 0, ""},
    {"nothing", "", false, 0, ""},
};

class ParseResponse : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseResponse, ReadsStatusAndBody)
{
    const ParseCase& c = GetParam();
    const HttpReply r = parseHttpResponse(c.raw);
    EXPECT_EQ(r.ok, c.ok) << r.error.toStdString();
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(r.body, c.body);
    EXPECT_EQ(r.error.isEmpty(), c.ok);
}

INSTANTIATE_TEST_SUITE_P(Cases, ParseResponse, ::testing::ValuesIn(kParseCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(HttpRequest, IsHttp10WithHostAcceptAndNoCookies)
{
    const QByteArray r = buildHttpGetRequest(
        QUrl(QStringLiteral("http://example.test:8080/a/b.asp?k=v w")));
    EXPECT_TRUE(r.startsWith("GET /a/b.asp?k=v%20w HTTP/1.0\r\n")) << r.toStdString();
    EXPECT_TRUE(r.contains("\r\nHost: example.test:8080\r\n"));
    EXPECT_TRUE(r.contains(
        "\r\nAccept: text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8\r\n"));
    EXPECT_TRUE(r.contains("\r\nUser-Agent: "));
    EXPECT_FALSE(r.contains("Cookie"));
    EXPECT_TRUE(r.endsWith("\r\n\r\n"));
}

TEST(HttpRequest, DefaultPortAndEmptyPath)
{
    const QByteArray r = buildHttpGetRequest(QUrl(QStringLiteral("http://example.test#frag")));
    EXPECT_TRUE(r.startsWith("GET / HTTP/1.0\r\nHost: example.test\r\n")) << r.toStdString();
    EXPECT_FALSE(r.contains("frag"));
}

class HttpGet : public ::testing::Test {
protected:
    // Starts a GET and waits for its single answer.
    std::optional<HttpReply> fetch(const QUrl& url, int timeoutMs = 3000)
    {
        std::optional<HttpReply> result;
        int calls = 0;
        bool returned = false;
        bool calledInsideGet = false;
        client.get(url, timeoutMs, [&](const HttpReply& r) {
            ++calls;
            calledInsideGet = !returned;
            result = r;
        });
        returned = true;
        waitUntil([&] { return calls > 0; }, timeoutMs + 5000);
        QCoreApplication::processEvents();
        EXPECT_FALSE(calledInsideGet);
        EXPECT_LE(calls, 1);
        return result;
    }
    static QUrl local(quint16 port, const char* path = "/v.asp?x=1")
    {
        return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(port).arg(QLatin1String(path)));
    }

    QtHttpGet client;
};

TEST_F(HttpGet, ReceivesTheBodyOfAnOkReply)
{
    LocalHttpServer server(LocalHttpServer::reply("VER. 1.003"));
    ASSERT_TRUE(server.isListening());
    const auto r = fetch(local(server.port()));
    ASSERT_TRUE(r.has_value());
    EXPECT_TRUE(r->ok) << r->error.toStdString();
    EXPECT_EQ(r->body, "VER. 1.003");
    ASSERT_EQ(server.requests().size(), 1);
    EXPECT_TRUE(server.requests()[0].startsWith("GET /v.asp?x=1 HTTP/1.0\r\n"));
    EXPECT_TRUE(server.requests()[0].contains(QByteArray("Host: 127.0.0.1:")
                                              + QByteArray::number(server.port())));
    EXPECT_EQ(client.pendingCount(), 0);
}

TEST_F(HttpGet, ErrorStatusIsAFailure)
{
    LocalHttpServer server(LocalHttpServer::reply("<html>gone</html>", "404 Not Found"));
    const auto r = fetch(local(server.port()));
    ASSERT_TRUE(r.has_value());
    EXPECT_FALSE(r->ok);
    EXPECT_EQ(r->status, 404);
}

TEST_F(HttpGet, NoServerIsAFailure)
{
    const auto r = fetch(local(LocalHttpServer::closedPort()));
    ASSERT_TRUE(r.has_value());
    EXPECT_FALSE(r->ok);
    EXPECT_FALSE(r->error.isEmpty());
}

TEST_F(HttpGet, ServerHangingUpIsAFailure)
{
    LocalHttpServer server("", LocalHttpServer::Mode::HangUp);
    const auto r = fetch(local(server.port()));
    ASSERT_TRUE(r.has_value());
    EXPECT_FALSE(r->ok);
}

TEST_F(HttpGet, SilentServerTimesOut)
{
    LocalHttpServer server("", LocalHttpServer::Mode::Silent);
    QElapsedTimer clock;
    clock.start();
    const auto r = fetch(local(server.port()), 300);
    ASSERT_TRUE(r.has_value());
    EXPECT_FALSE(r->ok);
    EXPECT_GE(clock.elapsed(), 250);
    EXPECT_LT(clock.elapsed(), 3000);
    EXPECT_EQ(server.requests().size(), 1);
}

TEST_F(HttpGet, OverlongReplyIsAFailure)
{
    LocalHttpServer server(LocalHttpServer::reply(QByteArray(kHttpMaxReplyBytes + 10, 'x')));
    const auto r = fetch(local(server.port()));
    ASSERT_TRUE(r.has_value());
    EXPECT_FALSE(r->ok);
}

TEST_F(HttpGet, OtherSchemesAreRefusedWithoutConnecting)
{
    for (const char* url : {"https://127.0.0.1/", "ftp://127.0.0.1/", "not a url", ""}) {
        const auto r = fetch(QUrl(QLatin1String(url)));
        ASSERT_TRUE(r.has_value()) << url;
        EXPECT_FALSE(r->ok) << url;
    }
}

TEST(HttpGetLifetime, DestroyingTheClientDropsThePendingAnswer)
{
    LocalHttpServer server("", LocalHttpServer::Mode::Silent);
    int calls = 0;
    {
        QtHttpGet client;
        client.get(QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(server.port())), 200,
                   [&](const HttpReply&) { ++calls; });
        waitUntil([&] { return server.connections() > 0; });
    }
    waitUntil([] { return false; }, 400);
    EXPECT_EQ(calls, 0);
}

TEST(HttpGetLifetime, CallbackMayDestroyTheClient)
{
    LocalHttpServer server(LocalHttpServer::reply("x"));
    auto client = std::make_unique<QtHttpGet>();
    bool called = false;
    client->get(QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(server.port())), 2000,
                [&](const HttpReply& r) {
                    called = true;
                    EXPECT_TRUE(r.ok);
                    client.reset();
                });
    EXPECT_TRUE(waitUntil([&] { return called; }));
    waitUntil([] { return false; }, 50);
    EXPECT_EQ(client, nullptr);
}

}  // namespace
}  // namespace zfw
