#pragma once
// The CAN frame editors' tables: the frames a gateway receives (CAN_Rec_Frames.xml) and
// sends (CAN_Send_Frames.xml), 512 each, with the frames standing directly under the root.
// Per frame its identifier, CAN 2.0A (11 bits) or 2.0B (29 bits), its length and, for each
// of its data bytes, the data-area position the byte goes to or comes from, or "None".

#include "ruleedit/core/URuleTable.h"

namespace zfw {

// Sizes of the data areas received bytes go to and sent bytes come from.
inline constexpr int kCANReceiveAreaSize = 2000;
inline constexpr int kCANTransmitAreaSize = 3400;

// The Type that limits the identifier to 11 bits; every other text allows 29.
inline constexpr char kCAN11Bits[] = "2.0A (11 bits)";

// The received frames, with data-byte positions below maxByte.
RuleFileSpec canReceiveRuleSpec(int maxByte = kCANReceiveAreaSize);
// The sent frames, with data-byte positions below maxByte.
RuleFileSpec canTransmitRuleSpec(int maxByte = kCANTransmitAreaSize);

}  // namespace zfw
