#include "editors/metering/scan/MBusGatewayLink.h"

#include "support/FakeDatagram.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

using namespace zfw;
using zfw::test::FakeDatagramNetwork;
using zfw::test::FakeDatagramTransport;

namespace {

const QHostAddress kGateway(QStringLiteral("127.0.0.1"));

void deliver()
{
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}

class GatewayLinkTest : public ::testing::Test {
protected:
    FakeDatagramNetwork network;
    FakeDatagramTransport engineSide{network};
    int wakes = 0;
    TGatewayLink link{engineSide, [this] { ++wakes; }};

    void SetUp() override { ASSERT_TRUE(link.open(0, nullptr)); }
    void fromGateway(const QByteArray& data) { engineSide.inject(data, kGateway, 10000); }
};

TEST_F(GatewayLinkTest, SendsToTheGatewayAndQueuesAnswersInOrder)
{
    link.send(Build_SND_NKE(1), kGateway, kGatewayCommandPort);
    ASSERT_EQ(network.sent.size(), 1u);
    EXPECT_EQ(network.sent[0].toPort, kGatewayCommandPort);
    EXPECT_EQ(network.sent[0].data, Build_SND_NKE(1));

    fromGateway(QByteArray(1, char(0xE5)));
    fromGateway(gateway::noSlaveReply());
    deliver();
    EXPECT_EQ(wakes, 2);
    EXPECT_EQ(link.takeAnswer(), QByteArray(1, char(0xE5)));
    EXPECT_EQ(link.takeAnswer(), gateway::noSlaveReply());
    EXPECT_FALSE(link.takeAnswer().has_value());
}

TEST_F(GatewayLinkTest, DropsDatagramsLongerThanTheAnswerBuffer)
{
    fromGateway(QByteArray(kAnswerCapacity + 1, 'x'));
    fromGateway(QByteArray(kAnswerCapacity, 'y'));
    deliver();
    EXPECT_EQ(link.droppedCount(), 1);
    EXPECT_EQ(link.takeAnswer(), QByteArray(kAnswerCapacity, 'y'));
}

TEST_F(GatewayLinkTest, AFloodIsBoundedByTheQueue)
{
    for (size_t i = 0; i < TGatewayLink::kQueueCapacity + 10; ++i)
        fromGateway(QByteArray(int(i % 200) + 1, 'z'));
    deliver();
    EXPECT_EQ(link.droppedCount(), 10);
    size_t taken = 0;
    while (link.takeAnswer())
        ++taken;
    EXPECT_EQ(taken, TGatewayLink::kQueueCapacity);
}

TEST_F(GatewayLinkTest, ALateAnswerIsDrainedBeforeTheNextSend)
{
    link.send(Build_REQ_UD2(1, 0), kGateway, kGatewayCommandPort);
    fromGateway("late answer for address 1");
    deliver();
    link.send(Build_REQ_UD2(2, 0), kGateway, kGatewayCommandPort);
    EXPECT_FALSE(link.takeAnswer().has_value());
}

TEST_F(GatewayLinkTest, NothingIsFiledAfterClose)
{
    fromGateway("queued before close");
    link.close();
    deliver();
    EXPECT_FALSE(link.takeAnswer().has_value());
    EXPECT_FALSE(link.isOpen());
    // It opens again on a free port.
    ASSERT_TRUE(link.open(0, nullptr));
    EXPECT_NE(link.localPort(), 0);
}

}  // namespace
