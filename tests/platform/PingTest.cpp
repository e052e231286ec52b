// The ICMP echo client against the loopback address, in the host's namespace and in private
// namespaces set up per case; no request leaves the machine.

#include "platform/Ping.h"

#include "support/LocalHttpServer.h"
#include "support/TestNetns.h"

#include <QElapsedTimer>
#include <QObject>

#include <gtest/gtest.h>

#include <optional>
#include <ostream>

namespace zfw {
namespace {

using Kind = IcmpPinger::SocketKind;
using Status = EchoResult::Status;

const QByteArray kData(
    "12345678901234567890123456789012345678901234567890123456789012345678901234567890123456789");

// Sends one request and runs the event loop until its outcome arrives.
EchoResult echoAndWait(IPinger& pinger, const QString& host, int timeoutMs)
{
    std::optional<EchoResult> r;
    QObject context;
    pinger.echo(host, kData, timeoutMs, &context, [&](const EchoResult& e) { r = e; });
    EXPECT_FALSE(r.has_value()) << "the outcome must come from the event loop";
    test::waitUntil([&] { return r.has_value(); }, timeoutMs + 6000);
    return r.value_or(EchoResult{});
}

TEST(IcmpChecksum, MatchesTheWorkedExampleAndVerifiesToZero)
{
    // Words 0x0001 0xf203 0xf4f5 0xf6f7 add up to 0xddf2 after the end-around carry.
    const QByteArray bytes = QByteArray::fromHex("0001f203f4f5f6f7");
    EXPECT_EQ(icmpChecksum(bytes), 0x220d);
    QByteArray withSum = bytes + QByteArray::fromHex("220d");
    EXPECT_EQ(icmpChecksum(withSum), 0);
    // An odd length is padded with a zero byte.
    EXPECT_EQ(icmpChecksum(QByteArray::fromHex("01")), static_cast<std::uint16_t>(~0x0100));
}

struct Case {
    const char* name;
    Kind kind;
    bool useNamespace;
    const char* pingGroupRange;  // per-namespace sysctl, nullptr: leave as created
    bool ignoreEcho;             // the namespace answers no echo request
    Status expected;
    bool expectNotPermitted;
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

constexpr Case kCases[] = {
    {"AnySocketLoopback", Kind::Any, false, nullptr, false, Status::Reply, false},
    {"RawSocketLoopback", Kind::Raw, false, nullptr, false, Status::Reply, false},
    {"DatagramSocketWherePermitted", Kind::Datagram, true, "0 2147483647", false, Status::Reply,
     false},
    {"DatagramSocketRefused", Kind::Datagram, true, "1 0", false, Status::Failed, true},
    {"SilentDeviceTimesOut", Kind::Any, true, nullptr, true, Status::TimedOut, false},
    {"SilentDeviceDatagram", Kind::Datagram, true, "0 2147483647", true, Status::TimedOut, false},
};

class PingLoopback : public ::testing::TestWithParam<Case> {};

TEST_P(PingLoopback, Outcome)
{
    const Case& c = GetParam();
    std::unique_ptr<test::TestNetns> ns;
    if (c.useNamespace) {
        ns = std::make_unique<test::TestNetns>();
        if (!ns->ok())
            GTEST_SKIP() << ns->whyNot().toStdString();
        if (c.pingGroupRange) {
            ASSERT_TRUE(ns->sysctl(QStringLiteral("net.ipv4.ping_group_range"),
                                   QLatin1String(c.pingGroupRange)));
        }
        if (c.ignoreEcho) {
            ASSERT_TRUE(
                ns->sysctl(QStringLiteral("net.ipv4.icmp_echo_ignore_all"), QStringLiteral("1")));
        }
        ASSERT_TRUE(ns->enter());
    }

    IcmpPinger pinger(c.kind);
    QElapsedTimer t;
    t.start();
    const EchoResult r = echoAndWait(pinger, QStringLiteral("127.0.0.1"), 400);
    const qint64 took = t.elapsed();
    if (ns)
        ns->leave();

    if (c.expected != Status::Failed && r.status == Status::Failed && r.notPermitted)
        GTEST_SKIP() << "this system permits no ICMP socket of this kind: "
                     << r.error.toStdString();
    ASSERT_EQ(r.status, c.expected) << r.error.toStdString();
    EXPECT_EQ(r.notPermitted, c.expectNotPermitted);
    switch (c.expected) {
    case Status::Reply:
        // The reply carries the 8-byte header and the request's data back.
        EXPECT_EQ(r.bytesReceived, 8 + kData.size());
        EXPECT_LT(took, 400);
        break;
    case Status::TimedOut:
        EXPECT_EQ(r.bytesReceived, 0);
        EXPECT_GE(took, 400);
        EXPECT_LT(took, 1500);
        break;
    case Status::Failed:
        EXPECT_TRUE(r.error.contains(QLatin1String("not permitted"))) << r.error.toStdString();
        break;
    }
}

INSTANTIATE_TEST_SUITE_P(Ping, PingLoopback, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& i) {
                             return std::string(i.param.name);
                         });

TEST(PingRequests, SequenceCountsUpSoEveryRequestGetsItsOwnReply)
{
    IcmpPinger pinger;
    for (int i = 0; i < 3; ++i) {
        const EchoResult r = echoAndWait(pinger, QStringLiteral("127.0.0.1"), 400);
        if (r.status == Status::Failed && r.notPermitted)
            GTEST_SKIP() << r.error.toStdString();
        EXPECT_EQ(r.status, Status::Reply) << "request " << i;
    }
}

TEST(PingRequests, EmptyAddressFailsWithoutAnyLookup)
{
    IcmpPinger pinger;
    const EchoResult r = echoAndWait(pinger, QString(), 400);
    EXPECT_EQ(r.status, Status::Failed);
    EXPECT_FALSE(r.notPermitted);
    EXPECT_FALSE(r.error.isEmpty());
}

TEST(PingRequests, ContextGoneBeforeTheReplyDropsTheRequest)
{
    IcmpPinger pinger;
    int calls = 0;
    {
        QObject context;
        pinger.echo(QStringLiteral("127.0.0.1"), kData, 200, &context,
                    [&](const EchoResult&) { ++calls; });
    }
    QObject later;
    std::optional<EchoResult> second;
    pinger.echo(QStringLiteral("127.0.0.1"), kData, 200, &later,
                [&](const EchoResult& e) { second = e; });
    ASSERT_TRUE(test::waitUntil([&] { return second.has_value(); }, 3000));
    // The first request's reply or time-out has come and gone meanwhile.
    test::waitUntil([] { return false; }, 250);
    EXPECT_EQ(calls, 0);
}

class FakePinger final : public IPinger {
public:
    void echo(const QString&, const QByteArray&, int, QObject*, Done) override { ++calls; }
    int calls = 0;
};

TEST(PingRequests, ScopedPingerReplacesTheRealOneForItsLifetime)
{
    IPinger* real = &pinger();
    FakePinger fake;
    {
        ScopedPinger scope(fake);
        EXPECT_EQ(&pinger(), &fake);
        pinger().echo(QStringLiteral("127.0.0.1"), kData, 1, nullptr, [](const EchoResult&) {});
    }
    EXPECT_EQ(fake.calls, 1);
    EXPECT_EQ(&pinger(), real);
}

}  // namespace
}  // namespace zfw
