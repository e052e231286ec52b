#pragma once
// The SNMP agent's objects: the read objects (which the gateway can also send as traps) and
// the write objects, each a slice of the internal data array, in the tables SNMP_Trap_Read and
// SNMP_Trap_Write of SNMP_Trap.xml, 256 rows each. A table's list ends at the first row whose
// Community Name is blank. The Description names the object in the generated MIB, so it must
// be a name the MIB can hold and differ from every other enabled object's.

#include "ruleedit/core/URuleTable.h"

namespace zfw {

inline constexpr int kSNMPTrapRules = 256;
// Bytes of the internal data array for read and for write objects (NByte_IN, NByte_OUT).
inline constexpr int kSNMPTrapPositions = 1440;

RuleFileSpec snmpTrapSpec();

// True when the text breaks the character rule: only "0"-"9", "A"-"Z" and "a"-"z", and with
// Check_Type 1 a first character "a"-"z". An empty text passes.
bool Check_Error_CommName_Desc(const QString& str, int Check_Type);

}  // namespace zfw
