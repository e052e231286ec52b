#pragma once
// The CANopen editors' tables: the PDOs of PDO_CANopen.xml (30 receive, 30 transmit), the SDO
// client requests of SDO_Client_CANopen.xml (256 read, 256 write) and the SDO server objects
// of SDO_Server_CANopen.xml (500 read, 500 write). No table has an Enable column: every row
// of a rule list is checked. Address columns are checked only as far as the PDO's length or
// the object's byte count reaches, against the size of the data area.

#include "ruleedit/core/URuleTable.h"

namespace zfw {

// Size in bytes of the gateway's input and output data areas, set at each opening.
inline constexpr int kCANopenDataAreaSize = 1500;

RuleFileSpec pdoRuleSpec(int nByteIn = kCANopenDataAreaSize, int nByteOut = kCANopenDataAreaSize);
RuleFileSpec sdoClientRuleSpec(int nByteIn = kCANopenDataAreaSize,
                               int nByteOut = kCANopenDataAreaSize);
// The server objects also refuse an index and sub-index given twice, within a table or
// across both: the later row is named.
RuleFileSpec sdoServerRuleSpec(int nByteIn = kCANopenDataAreaSize,
                               int nByteOut = kCANopenDataAreaSize);

// Texts of the duplicate message: "Error row " row, the table's text, the earlier row, then
// the earlier row's table.
inline constexpr int kSdoServerTextDuplicateRead = 3766;
inline constexpr int kSdoServerTextDuplicateWrite = 3767;
inline constexpr int kSdoServerTextInRead = 3768;
inline constexpr int kSdoServerTextInWrite = 3769;

}  // namespace zfw
