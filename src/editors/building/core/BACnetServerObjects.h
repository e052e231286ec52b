#pragma once
// The objects the gateway serves as a BACnet server: the tables "BACnet in Read" (values the
// clients read, in the 1500-byte input area) and "BACnet in Write" (values the clients
// write, in the 1500-byte output area) of BACnet_Slave_SetAccess.xml, which the EDE writer
// also reads. Long object descriptions (32 characters) halve the object capacity.

#include "ruleedit/core/URuleTable.h"

#include <QString>

namespace zfw {

inline constexpr int kBACnetServerAreaSize = 1500;
inline constexpr int kBACnetServerObjects = 2000;      // per table and in all
inline constexpr int kBACnetServerObjectsLong = 1000;  // with 32-character descriptions

namespace bacnetserverfile {
inline constexpr char Root[] = "BACnet_to_Modbus";
inline constexpr char Read[] = "BACnet_in_Read";
inline constexpr char Write[] = "BACnet_in_Write";
inline constexpr char Data_Type[] = "Data_Type";
inline constexpr char Eng_Unit[] = "Eng_Unit";
inline constexpr char Position[] = "Position";
inline constexpr char Bit[] = "Bit";
inline constexpr char Length[] = "Length";
inline constexpr char Swap[] = "Swap";
inline constexpr char Mnemonic[] = "Mnemonic";
}  // namespace bacnetserverfile

// The object limit of the description length.
inline int bacnetServerObjectLimit(bool longDescriptions)
{
    return longDescriptions ? kBACnetServerObjectsLong : kBACnetServerObjects;
}

// True when BACnet_Desc_Chars_Limit of the general parameters at parGenPath reads exactly
// "1"; false when the file or the element is missing or the file cannot be read.
bool readBACnetLongDescriptions(const QString& parGenPath);

// Both tables with the rows of the limit, Position lists "0" to areaSize - 1.
RuleFileSpec bacnetServerRuleSpec(bool longDescriptions, int areaSize = kBACnetServerAreaSize);

// The Length a write object of the type starts with; empty for a type without a preset.
QString bacnetServerLengthPreset(const QString& dataType);

// True when the text would break an EDE line: a ";" shifts every later column, a line break
// starts a new object.
bool breaksEdeLine(QStringView text);

}  // namespace zfw
