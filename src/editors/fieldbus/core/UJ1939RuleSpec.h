#pragma once
// The J1939 frame tables: the parameter groups the gateway receives into its 1440-byte input
// area (J1939_Rec_Frames.xml) and those it sends from its 512-byte output area
// (J1939_Send_Frames.xml), 512 rules each, rows directly under the root, no Enable column.

#include "ruleedit/core/URuleTable.h"

namespace zfw {

inline constexpr int kJ1939InputArea = 1440;
inline constexpr int kJ1939OutputArea = 512;
inline constexpr int kJ1939RuleRows = 513;  // the header row and 512 rules

RuleFileSpec j1939ReceiveSpec(int inputArea = kJ1939InputArea);
// The rule list, which is checked and saved, ends at the first empty PGN. Rows of the older
// format name their send mode in "T_Type"; an empty N Bytes loads as "8".
RuleFileSpec j1939TransmitSpec(int outputArea = kJ1939OutputArea);

}  // namespace zfw
