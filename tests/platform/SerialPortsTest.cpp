#include "platform/SerialPorts.h"

#include <QSet>

#include <gtest/gtest.h>

namespace zfw {
namespace {

TEST(SortPortNames, OrdersTrailingNumbersByValue)
{
    const QStringList names = {QStringLiteral("ttyUSB10"), QStringLiteral("ttyS10"),
                               QStringLiteral("ttyUSB2"),  QStringLiteral("ttyS2"),
                               QStringLiteral("ttyACM0"),  QStringLiteral("ttyS"),
                               QStringLiteral("ttyS02")};
    const QStringList expected = {QStringLiteral("ttyACM0"), QStringLiteral("ttyS"),
                                  QStringLiteral("ttyS02"),  QStringLiteral("ttyS2"),
                                  QStringLiteral("ttyS10"),  QStringLiteral("ttyUSB2"),
                                  QStringLiteral("ttyUSB10")};
    EXPECT_EQ(sortPortNames(names), expected);
    EXPECT_TRUE(sortPortNames({}).isEmpty());
}

// Holds on any machine, with or without serial ports.
TEST(GetComPortList, GivesSortedBareDeviceNames)
{
    const QStringList ports = Get_COM_Port_List();
    EXPECT_EQ(ports, sortPortNames(ports));
    EXPECT_EQ(ports.size(), QSet<QString>(ports.begin(), ports.end()).size());
    for (const QString& p : ports) {
        EXPECT_FALSE(p.isEmpty());
        EXPECT_FALSE(p.contains(u'/')) << p.toStdString();
    }
}

}  // namespace
}  // namespace zfw
