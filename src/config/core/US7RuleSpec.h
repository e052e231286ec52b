#pragma once
// The S7 rule editor's tables: read and write rules of S7_Protocol.xml, 512 each, with at
// most ten distinct PLC connections (address and port) over the enabled rules of both.

#include "ruleedit/core/URuleTable.h"

namespace zfw {

// Size of the gateway's data area for read and for write rules; Position runs below it.
inline constexpr int kS7DataAreaSize = 1500;
inline constexpr int kS7ConnectionLimit = 10;

// Both tables, with Position lists "0" to nByteIn - 1 (read) and nByteOut - 1 (write).
RuleFileSpec s7RuleSpec(int nByteIn = kS7DataAreaSize, int nByteOut = kS7DataAreaSize);

}  // namespace zfw
