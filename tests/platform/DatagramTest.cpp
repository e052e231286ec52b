// The datagram transport's contract, run against the UDP transport on 127.0.0.1 and against
// the fake that tests of its callers use, so that the two cannot drift apart.

#include "platform/Datagram.h"

#include "support/FakeDatagram.h"
#include "support/LocalHttpServer.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace zfw {
namespace {

using test::FakeDatagramNetwork;
using test::FakeDatagramTransport;
using test::waitUntil;

const QHostAddress kLocal(QHostAddress::LocalHost);

struct UdpMaker {
    std::unique_ptr<IDatagramTransport> make() { return std::make_unique<UdpTransport>(); }
};

struct FakeMaker {
    FakeDatagramNetwork network;
    std::unique_ptr<IDatagramTransport> make()
    {
        return std::make_unique<FakeDatagramTransport>(network);
    }
};

template <typename Maker>
class DatagramContract : public ::testing::Test {
protected:
    // A transport bound to a free port of 127.0.0.1 that collects what it receives.
    std::unique_ptr<IDatagramTransport> bound(std::vector<Datagram>* received = nullptr)
    {
        auto t = maker.make();
        QString error;
        EXPECT_TRUE(t->bind(kLocal, 0, &error)) << error.toStdString();
        EXPECT_NE(t->localPort(), 0);
        if (received)
            t->setReceiver([received](const Datagram& d) { received->push_back(d); });
        return t;
    }

    Maker maker;
};

using Implementations = ::testing::Types<UdpMaker, FakeMaker>;

class ImplementationNames {
public:
    template <typename T>
    static std::string GetName(int)
    {
        return std::is_same_v<T, UdpMaker> ? "Udp" : "Fake";
    }
};

TYPED_TEST_SUITE(DatagramContract, Implementations, ImplementationNames);

TYPED_TEST(DatagramContract, TwoTransportsTalkBothWaysInOrder)
{
    std::vector<Datagram> atA;
    std::vector<Datagram> atB;
    auto a = this->bound(&atA);
    auto b = this->bound(&atB);
    ASSERT_NE(a->localPort(), b->localPort());
    EXPECT_EQ(a->localAddress(), kLocal);

    QString error;
    bool returned = false;
    bool deliveredInsideSend = false;
    b->setReceiver([&](const Datagram& d) {
        deliveredInsideSend = deliveredInsideSend || !returned;
        atB.push_back(d);
    });
    ASSERT_TRUE(a->send("one", kLocal, b->localPort(), &error)) << error.toStdString();
    ASSERT_TRUE(a->send(QByteArray("\x00\x68\x16", 3), kLocal, b->localPort(), &error));
    returned = true;
    ASSERT_TRUE(b->send("back", kLocal, a->localPort(), &error));

    ASSERT_TRUE(waitUntil([&] { return atB.size() == 2 && atA.size() == 1; }));
    EXPECT_FALSE(deliveredInsideSend);
    EXPECT_EQ(atB[0].data, "one");
    EXPECT_EQ(atB[1].data, QByteArray("\x00\x68\x16", 3));
    EXPECT_EQ(atB[0].sender, kLocal);
    EXPECT_EQ(atB[0].senderPort, a->localPort());
    EXPECT_EQ(atA[0].data, "back");
    EXPECT_EQ(atA[0].senderPort, b->localPort());
}

TYPED_TEST(DatagramContract, LargestDatagramPassesOneByteMoreIsRefused)
{
    std::vector<Datagram> got;
    auto a = this->bound();
    auto b = this->bound(&got);
    QString error;
    ASSERT_TRUE(a->send(QByteArray(kMaxDatagramBytes, 'x'), kLocal, b->localPort(), &error))
        << error.toStdString();
    EXPECT_FALSE(a->send(QByteArray(kMaxDatagramBytes + 1, 'x'), kLocal, b->localPort(), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("longer"))) << error.toStdString();
    ASSERT_TRUE(waitUntil([&] { return !got.empty(); }));
    EXPECT_EQ(got[0].data.size(), kMaxDatagramBytes);
}

TYPED_TEST(DatagramContract, BindAndSendErrorsAreReported)
{
    auto a = this->bound();
    auto unbound = this->maker.make();
    QString error;

    EXPECT_FALSE(unbound->send("x", kLocal, a->localPort(), &error));
    EXPECT_EQ(error, QStringLiteral("The transport is not bound"));
    EXPECT_EQ(unbound->localPort(), 0);

    error.clear();
    EXPECT_FALSE(unbound->bind(kLocal, a->localPort(), &error)) << "the port is taken";
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(unbound->localPort(), 0);

    error.clear();
    EXPECT_FALSE(a->bind(kLocal, 0, &error)) << "bound twice";
    EXPECT_FALSE(error.isEmpty());

    error.clear();
    EXPECT_FALSE(a->send("x", kLocal, 0, &error));
    EXPECT_FALSE(error.isEmpty());
}

TYPED_TEST(DatagramContract, CloseFreesThePortAndDropsWhatWasNotDelivered)
{
    std::vector<Datagram> got;
    auto a = this->bound();
    auto b = this->bound(&got);
    const quint16 port = b->localPort();
    QString error;
    ASSERT_TRUE(a->send("lost", kLocal, port, &error));
    b->close();
    EXPECT_EQ(b->localPort(), 0);
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
    EXPECT_TRUE(got.empty());

    ASSERT_TRUE(b->bind(kLocal, port, &error)) << error.toStdString();
    ASSERT_TRUE(a->send("kept", kLocal, port, &error));
    ASSERT_TRUE(waitUntil([&] { return !got.empty(); }));
    EXPECT_EQ(got[0].data, "kept");
}

TYPED_TEST(DatagramContract, ReceiverMayDestroyItsTransport)
{
    auto a = this->bound();
    std::unique_ptr<IDatagramTransport> b = this->bound();
    int calls = 0;
    b->setReceiver([&](const Datagram&) {
        ++calls;
        b.reset();
    });
    QString error;
    const quint16 port = b->localPort();
    for (const char* d : {"1", "2", "3"})
        ASSERT_TRUE(a->send(d, kLocal, port, &error));
    ASSERT_TRUE(waitUntil([&] { return calls > 0; }));
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
    EXPECT_EQ(calls, 1);
    // Nobody listens there any more: the datagram is lost without an error.
    EXPECT_TRUE(a->send("4", kLocal, port, &error));
}

}  // namespace
}  // namespace zfw
