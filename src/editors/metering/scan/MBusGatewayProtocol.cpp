#include "editors/metering/scan/MBusGatewayProtocol.h"

namespace zfw {

namespace {

constexpr quint8 kFcbSet = 0x7B;
constexpr quint8 kFcbClear = 0x5B;
constexpr quint8 kSndUdFcbSet = 0x73;
constexpr quint8 kSndUdFcbClear = 0x53;
// 400 ms for the gateway's turnaround plus 50 ms of slack on every frame wait.
constexpr qint32 kFrameWaitSlack = 400 + 50;

QByteArray crlfText(const char* text, bool trailing)
{
    QByteArray out("\n\r");
    out += text;
    if (trailing)
        out += "\n\r";
    return out;
}

quint8 checksum(const QByteArray& bytes, qsizetype from, qsizetype to)
{
    quint8 sum = 0;
    for (qsizetype i = from; i < to; ++i)
        sum = static_cast<quint8>(sum + static_cast<quint8>(bytes[i]));
    return sum;
}

// Long-frame C field of a send (application reset, selection): FCB set unless a fixed
// FCB of zero is asked for.
quint8 sendCField(CFieldOptions options)
{
    return options.Fix_C_Field && options.Fix_C_Field_Value == 0 ? kSndUdFcbClear : kSndUdFcbSet;
}

// 68h L L 68h, then body (C field onwards), CS and 16h.
QByteArray longFrame(const QByteArray& body)
{
    QByteArray out;
    const auto length = static_cast<char>(body.size());
    out.append(char(0x68)).append(length).append(length).append(char(0x68));
    out += body;
    out.append(static_cast<char>(checksum(body, 0, body.size())));
    out.append(char(0x16));
    return out;
}

QByteArray shortFrame(quint8 c, quint8 address)
{
    QByteArray out;
    out.append(char(0x10)).append(static_cast<char>(c)).append(static_cast<char>(address));
    out.append(static_cast<char>(static_cast<quint8>(c + address))).append(char(0x16));
    return out;
}

quint8 digitNibble(int digit)
{
    return digit >= 0 && digit <= 9 ? static_cast<quint8>(digit) : quint8(0x0F);
}

qint32 perBaud(qint32 bitTimes, qint32 baudrate)
{
    return bitTimes / (baudrate > 0 ? baudrate : 1);
}

}  // namespace

namespace gateway {

QByteArray analyzerEnabledReply() { return crlfText("Analyzer_Mode Enabled!", true); }
QByteArray analyzerDisabledReply() { return crlfText("Analyzer_Mode Disabled!", true); }
QByteArray configurationEnabledReply() { return crlfText("Configuration_Mode Enabled!", true); }
QByteArray configurationDisabledReply() { return crlfText("Configuration_Mode Disabled!", true); }
QByteArray lineSetReply() { return crlfText("Done!", false); }
QByteArray telitReply() { return crlfText("TELIT", true); }
QByteArray radioCraftsReply() { return crlfText("RADIOCRAFTS", true); }
QByteArray noSlaveReply() { return QByteArray("NO_SLAVE\n\r"); }

}  // namespace gateway

QByteArray Build_SND_NKE(quint8 address) { return shortFrame(0x40, address); }

QByteArray Build_REQ_UD2(quint8 address, int frameNumber, CFieldOptions options)
{
    quint8 c = 0;
    if (options.Fix_C_Field)
        c = options.Fix_C_Field_Value != 0 ? kFcbSet : kFcbClear;
    else
        c = frameNumber % 2 == 0 ? kFcbSet : kFcbClear;
    return shortFrame(c, address);
}

QByteArray Build_App_Reset(quint8 address, int resetByte, CFieldOptions options)
{
    QByteArray body;
    body.append(static_cast<char>(sendCField(options))).append(static_cast<char>(address));
    body.append(char(0x50));
    if (resetByte != -1)
        body.append(static_cast<char>(static_cast<quint8>(resetByte)));
    return longFrame(body);
}

QByteArray Build_Select_Secondary(const SearchDigits& digits, CFieldOptions options)
{
    QByteArray body;
    body.append(static_cast<char>(sendCField(options))).append(char(0xFD)).append(char(0x52));
    // The identification number goes least significant byte first: D7D8 D5D6 D3D4 D1D2.
    for (int pair = 3; pair >= 0; --pair) {
        const quint8 high = digitNibble(digits[static_cast<size_t>(pair * 2)]);
        const quint8 low = digitNibble(digits[static_cast<size_t>(pair * 2 + 1)]);
        body.append(static_cast<char>(static_cast<quint8>(high << 4 | low)));
    }
    // Manufacturer, version and medium are wildcards.
    body.append(4, char(0xFF));
    return longFrame(body);
}

QByteArray Build_Set_MBus_Line(quint32 baudrate, int parity)
{
    QByteArray out("Brenik_S_M:");
    for (int shift = 24; shift >= 0; shift -= 8)
        out.append(static_cast<char>((baudrate >> shift) & 0xFF));
    out.append(',');
    // The gateway numbers parity as none 0, odd 1, even 2.
    char code = 0;
    if (parity == 1)
        code = 2;
    else if (parity == 2)
        code = 1;
    out.append(code);
    return out;
}

qint32 shortTimeOut(qint32 baudrate, qint32 addTimeOut)
{
    return perBaud(330000, baudrate) + kFrameWaitSlack + addTimeOut;
}

qint32 longTimeOut(qint32 baudrate, qint32 addTimeOut)
{
    return perBaud(3245000, baudrate) + kFrameWaitSlack + addTimeOut;
}

qint32 commandTimeOut(qint32 addTimeOut) { return addTimeOut + 1000; }

bool Check_TimeOut(quint32 startSend, quint32 now, qint32 timeOut)
{
    const quint32 elapsed = now - startSend;  // unsigned arithmetic wraps modulo 2^32
    return timeOut < 0 || elapsed > static_cast<quint32>(timeOut);
}

bool isSingleCharacterAck(const QByteArray& answer)
{
    return answer.size() == 1 && static_cast<quint8>(answer[0]) == 0xE5;
}

bool isValidLongFrame(const QByteArray& answer)
{
    const qsizetype n = answer.size();
    if (n <= 21)
        return false;
    const auto at = [&](qsizetype i) { return static_cast<quint8>(answer[i]); };
    if (at(0) != 0x68 || at(3) != 0x68 || at(1) != at(2) || at(n - 1) != 0x16)
        return false;
    return checksum(answer, 4, n - 2) == at(n - 2);
}

int longFrameAddress(const QByteArray& answer)
{
    return answer.size() > 5 ? static_cast<quint8>(answer[5]) : -1;
}

}  // namespace zfw
