#pragma once
// The gateway's command protocol: the text commands and their replies, the M-Bus link-layer
// frames the scan engine sends, the time-out rule over a wrapping millisecond tick, and the
// tests an answer has to pass. Pure functions over bytes: no socket, no clock, no thread.

#include <QByteArray>

#include <array>
#include <cstdint>

namespace zfw {

// The gateway's UDP port for commands and wired M-Bus traffic.
inline constexpr quint16 kGatewayCommandPort = 10000;
// The answer buffer: a datagram longer than this is dropped whole, never cut or copied.
inline constexpr qsizetype kAnswerCapacity = 2051;

namespace gateway {

inline constexpr char kEnableAnalyzerMode[] = "Brenik_Enable_Analyzer_Mode";
inline constexpr char kDisableAnalyzerMode[] = "Brenik_Disable_Analyzer_Mode";
inline constexpr char kEnableConfigurationMode[] = "Brenik_Enable_Configuration_Mode";
inline constexpr char kDisableConfigurationMode[] = "Brenik_Disable_Configuration_Mode";
inline constexpr char kTypeRadioModule[] = "Brenik_Type_Radio_Module";

// Replies, compared whole: the leading and trailing 0Ah 0Dh belong to them.
QByteArray analyzerEnabledReply();
QByteArray analyzerDisabledReply();
QByteArray configurationEnabledReply();
QByteArray configurationDisabledReply();
QByteArray lineSetReply();
QByteArray telitReply();
QByteArray radioCraftsReply();
// The answer to a selection that no meter acknowledged.
QByteArray noSlaveReply();

}  // namespace gateway

// How the C field's FCB is chosen: alternating with the frame number, or fixed.
struct CFieldOptions {
    bool Fix_C_Field = false;
    quint8 Fix_C_Field_Value = 0;
};

// The eight search digits of the secondary search, most significant first; -1 is open (F).
using SearchDigits = std::array<int, 8>;

QByteArray Build_SND_NKE(quint8 address);
// frameNumber: frames already read from this meter in this cycle; even gives FCB 1 (7Bh).
QByteArray Build_REQ_UD2(quint8 address, int frameNumber, CFieldOptions options = {});
// resetByte -1 sends no data byte; any other value is sent as its low byte.
QByteArray Build_App_Reset(quint8 address, int resetByte, CFieldOptions options = {});
// A digit outside 0..9 (an open one included) is sent as the wildcard F.
QByteArray Build_Select_Secondary(const SearchDigits& digits, CFieldOptions options = {});
// parity: 0 none, 1 even, 2 odd; any other value is sent as none.
QByteArray Build_Set_MBus_Line(quint32 baudrate, int parity);

// Time-outs in milliseconds. addTimeOut is 10000 with the remote-scan option, else 0. A
// baud rate of zero or less counts as 1 bit/s rather than dividing by zero.
qint32 shortTimeOut(qint32 baudrate, qint32 addTimeOut);
qint32 longTimeOut(qint32 baudrate, qint32 addTimeOut);
qint32 commandTimeOut(qint32 addTimeOut);

// True when more than timeOut milliseconds lie between startSend and now on a 32-bit tick
// that wraps: the difference is taken modulo 2^32.
bool Check_TimeOut(quint32 startSend, quint32 now, qint32 timeOut);

// A single E5h byte.
bool isSingleCharacterAck(const QByteArray& answer);
// More than 21 bytes, 68h L L 68h, stop byte 16h and the checksum over C..the last data byte.
bool isValidLongFrame(const QByteArray& answer);
// The A field of a long frame (byte 5); -1 when the answer is too short to carry one.
int longFrameAddress(const QByteArray& answer);

}  // namespace zfw
