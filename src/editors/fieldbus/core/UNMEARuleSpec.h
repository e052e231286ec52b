#pragma once
// The NMEA 2000 frame tables: the parameter groups the gateway receives into its 512-byte
// input area (NMEA_Rec_Frames.xml) and those it sends from its 512-byte output area
// (NMEA_Send_Frames.xml), 62 rules each, rows directly under the root, no Enable column.
// Both files carry the root "Receive_NMEA_2000"; the readers take any root.

#include "ruleedit/core/URuleTable.h"

namespace zfw {

inline constexpr int kNmeaInputArea = 512;
inline constexpr int kNmeaOutputArea = 512;
inline constexpr int kNmeaRuleRows = 63;  // the header row and 62 rules

RuleFileSpec nmeaReceiveSpec(int inputArea = kNmeaInputArea);
// The rule list, which is checked and saved, ends at the first empty PGN.
RuleFileSpec nmeaTransmitSpec(int outputArea = kNmeaOutputArea);

}  // namespace zfw
