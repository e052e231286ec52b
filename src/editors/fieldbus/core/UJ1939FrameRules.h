#pragma once
// The checks that the J1939 and NMEA 2000 frame tables share: which bytes of a received
// parameter group a rule takes into the input area (transport protocol, fast packet or one
// frame) and the running totals against the size of the gateway's data areas.

#include "ruleedit/core/URuleTable.h"

namespace zfw {

// Longest message of the transport protocol and of a fast packet, in bytes.
inline constexpr int kJ1939TransportBytes = 1785;
inline constexpr int kFastPacketBytes = 223;

// A table of frames: rows directly under the root, no Enable column, the rule list ends at
// the first PGN cell that is empty as it stands (blanks are a rule), flags count only as an
// exact "Y", header hints shown. The load and save reports name the table by the window's
// title.
RuleTableSpec frameRuleTable(int rowCount, int titleText);
// A file of one frame table, version 1.000; the window's texts follow its caption: the title
// line next, then the six button captions and the six button hints.
RuleFileSpec frameRuleFile(int captionText, QString root, int errorRowText, int deleteRowText);

// Language texts of the receive byte checks, in the order they run; fast-packet texts 0 when
// the table has no Fast Packet column.
struct FrameReceiveTexts {
    int transportStart = 0;  // Start Byte outside 0 to 1785
    int transportSum = 0;    // Start Byte + N Byte outside 0 to 1785
    int fastStart = 0;       // Start Byte outside 0 to 223
    int fastSum = 0;         // Start Byte + N Byte outside 0 to 223
    int bothGiven = 0;       // one frame: only one of Start Byte and N Byte given
    int singleStart = 0;     // one frame: Start Byte outside 1 to 8
    int singleCount = 0;     // one frame: N Byte outside 1 to 8
    int singleSum = 0;       // one frame: Start Byte + N Byte above 8
    int total = 0;           // the input area is full; bound follows, no row prefix
};

// Attributes of the receive byte columns; fastPacket empty when the table has none.
struct FrameReceiveColumns {
    QString transport;
    QString fastPacket;
    QString start;
    QString count;
};

// The bytes of the input area a received rule takes, with its checks, then the running total
// of the rules up to it against inputArea. A flag counts as set when it is exactly "Y"; a
// rule with both flags is a transport-protocol rule.
// A part of one frame counts N Byte + 8 toward the total: the device lays out its input area
// that way, and refusing a table the device might not hold is the safe side.
RuleCheck frameReceiveBytes(const FrameReceiveColumns& columns, const FrameReceiveTexts& texts,
                            int inputArea);

// The running total of the count column over the rules up to the checked one, against
// outputArea: text, then the area's size, without the row prefix. The rules above passed
// their own checks, so their counts are numbers.
RuleCheck frameRunningTotal(const QString& countAttribute, int text, int outputArea);

}  // namespace zfw
