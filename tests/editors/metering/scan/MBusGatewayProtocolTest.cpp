#include "editors/metering/scan/MBusGatewayProtocol.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace zfw;

namespace {

QByteArray hex(const char* text) { return QByteArray::fromHex(QByteArray(text)); }

struct FrameCase {
    const char* name;
    QByteArray built;
    const char* expected;  // hex, blanks allowed
};

std::vector<FrameCase> frameCases()
{
    constexpr int kOpen = -1;
    const CFieldOptions fixedZero{true, 0};
    const CFieldOptions fixedOne{true, 1};
    QByteArray lineText("Brenik_S_M:");
    return {
        {"SndNkeTo253", Build_SND_NKE(253), "10 40 FD 3D 16"},
        {"ReqUd2FirstFrame", Build_REQ_UD2(5, 0), "10 7B 05 80 16"},
        {"ReqUd2SecondFrame", Build_REQ_UD2(5, 1), "10 5B 05 60 16"},
        {"ReqUd2ThirdFrameAlternatesBack", Build_REQ_UD2(5, 2), "10 7B 05 80 16"},
        {"ReqUd2FixedOneOnSecondFrame", Build_REQ_UD2(5, 1, fixedOne), "10 7B 05 80 16"},
        {"ReqUd2FixedZeroOnFirstFrame", Build_REQ_UD2(5, 0, fixedZero), "10 5B 05 60 16"},
        {"AppResetWithoutByte", Build_App_Reset(255, -1), "68 03 03 68 73 FF 50 C2 16"},
        {"AppResetWithByte", Build_App_Reset(1, 0x10), "68 04 04 68 73 01 50 10 D4 16"},
        {"AppResetFixedZero", Build_App_Reset(255, -1, fixedZero), "68 03 03 68 53 FF 50 A2 16"},
        {"SelectTwoDigits",
         Build_Select_Secondary({1, 2, kOpen, kOpen, kOpen, kOpen, kOpen, kOpen}),
         "68 0B 0B 68 73 FD 52 FF FF FF 12 FF FF FF FF CD 16"},
        {"SelectAllDigits", Build_Select_Secondary({1, 2, 3, 4, 5, 6, 7, 8}),
         "68 0B 0B 68 73 FD 52 78 56 34 12 FF FF FF FF D2 16"},
        {"SelectFixedZero",
         Build_Select_Secondary({kOpen, kOpen, kOpen, kOpen, kOpen, kOpen, kOpen, kOpen},
                                fixedZero),
         "68 0B 0B 68 53 FD 52 FF FF FF FF FF FF FF FF 9A 16"},
        {"LineEven2400", Build_Set_MBus_Line(2400, 1), nullptr},
        {"LineOdd9600", Build_Set_MBus_Line(9600, 2), nullptr},
        {"LineNone300", Build_Set_MBus_Line(300, 0), nullptr},
        {"LineUnknownParityIsNone", Build_Set_MBus_Line(38400, 7), nullptr},
    };
}

// The line-setting command starts with its text; the table gives the bytes after it.
const char* lineTail(const std::string& name)
{
    if (name == "LineEven2400")
        return "00 00 09 60 2C 02";
    if (name == "LineOdd9600")
        return "00 00 25 80 2C 01";
    if (name == "LineNone300")
        return "00 00 01 2C 2C 00";
    return "00 00 96 00 2C 00";
}

class FrameBuilders : public ::testing::TestWithParam<FrameCase> {};

TEST_P(FrameBuilders, AreByteExact)
{
    const FrameCase& c = GetParam();
    QByteArray expected;
    if (c.expected) {
        expected = hex(c.expected);
    } else {
        expected = QByteArray("Brenik_S_M:") + hex(lineTail(c.name));
        EXPECT_EQ(c.built.size(), 17);
    }
    EXPECT_EQ(c.built.toHex(' ').toUpper(), expected.toHex(' ').toUpper());
}

INSTANTIATE_TEST_SUITE_P(Gateway, FrameBuilders, ::testing::ValuesIn(frameCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(GatewayTimeOut, FollowsTheLineSpeed)
{
    EXPECT_EQ(shortTimeOut(2400, 0), 587);
    EXPECT_EQ(longTimeOut(2400, 0), 1802);
    EXPECT_EQ(shortTimeOut(2400, 10000), 10587);
    EXPECT_EQ(commandTimeOut(0), 1000);
    EXPECT_EQ(commandTimeOut(10000), 11000);
    // A baud rate of zero must not divide by zero.
    EXPECT_GT(shortTimeOut(0, 0), 0);
}

TEST(GatewayTimeOut, CountsAcrossTheTickWrap)
{
    const quint32 sent = 0xFFFFFF00u;
    EXPECT_FALSE(Check_TimeOut(sent, 0x0000014Bu, 587));
    EXPECT_TRUE(Check_TimeOut(sent, 0x0000014Cu, 587));
    EXPECT_FALSE(Check_TimeOut(sent, sent, 587));
    // Exactly the time-out has not passed yet; one more millisecond has.
    EXPECT_FALSE(Check_TimeOut(1000, 1587, 587));
    EXPECT_TRUE(Check_TimeOut(1000, 1588, 587));
}

TEST(GatewayReplies, AreComparedWhole)
{
    const QByteArray enabled = gateway::analyzerEnabledReply();
    EXPECT_EQ(enabled, QByteArray("\x0A\x0D"
                                  "Analyzer_Mode Enabled!"
                                  "\x0A\x0D"));
    EXPECT_EQ(gateway::lineSetReply(), QByteArray("\x0A\x0D"
                                                  "Done!"));
    EXPECT_EQ(gateway::noSlaveReply().size(), 10);
    // Without the trailing line end, or one byte changed, it is another reply.
    EXPECT_NE(enabled.left(enabled.size() - 2), enabled);
    QByteArray changed = enabled;
    changed[5] = 'x';
    EXPECT_NE(changed, enabled);
}

// A long frame with a correct checksum: 68 L L 68 C A CI, twelve header bytes, CS 16.
QByteArray sampleLongFrame(quint8 address)
{
    QByteArray body = hex("08 00 72 78 56 34 12 24 40 01 07 55 00 00 00 0C");
    body[1] = static_cast<char>(address);
    QByteArray frame = hex("68");
    frame.append(static_cast<char>(body.size())).append(static_cast<char>(body.size()));
    frame.append(char(0x68)).append(body);
    quint8 sum = 0;
    for (char b : body)
        sum = static_cast<quint8>(sum + static_cast<quint8>(b));
    frame.append(static_cast<char>(sum)).append(char(0x16));
    return frame;
}

TEST(GatewayAnswers, LongFrameChecks)
{
    const QByteArray good = sampleLongFrame(7);
    EXPECT_TRUE(isValidLongFrame(good));
    EXPECT_EQ(longFrameAddress(good), 7);

    QByteArray badSum = good;
    badSum[badSum.size() - 2] = static_cast<char>(badSum[badSum.size() - 2] + 1);
    QByteArray badStop = good;
    badStop[badStop.size() - 1] = 0x17;
    QByteArray badLength = good;
    badLength[2] = static_cast<char>(badLength[2] + 1);
    for (const QByteArray& bad : {badSum, badStop, badLength, good.left(21), QByteArray()})
        EXPECT_FALSE(isValidLongFrame(bad)) << bad.toHex(' ').toStdString();
    // Every prefix is refused without reading past its end.
    for (qsizetype n = 0; n < good.size(); ++n)
        EXPECT_FALSE(isValidLongFrame(good.left(n)));
    EXPECT_EQ(longFrameAddress(QByteArray("\x68\x03")), -1);

    EXPECT_TRUE(isSingleCharacterAck(hex("E5")));
    EXPECT_FALSE(isSingleCharacterAck(hex("E5 E5")));
    EXPECT_FALSE(isSingleCharacterAck(QByteArray()));
}

}  // namespace
