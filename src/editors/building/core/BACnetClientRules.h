#pragma once
// The BACnet client's rules: read and write rules of BACnet_Master_Access.xml, 512 each, by
// which the gateway reads objects of other BACnet devices into its exchange buffer and writes
// values from it to them. The device column (column 2) holds an IPv4 address for BACnet/IP,
// a slave ID for MS/TP, and is hidden for any other type; it is then no longer the key.
//
// The classification routines give the codes the checks and the NByte hint work with.

#include "ruleedit/core/URuleTable.h"

#include <QChar>
#include <QString>

#include <optional>

namespace zfw {

inline constexpr int kBACnetClientRules = 512;
inline constexpr int kBACnetClientPositions = 1440;  // Position items "0" to "1439"

// BACnet side of the gateway as the general parameters give it.
inline constexpr int kBACnetTypeIp = 0;
inline constexpr int kBACnetTypeMstp = 1;

// "Select the BACnet Type in the "Set Communication" section"
inline constexpr int kBACnetTextNoMasterType = 1357;

// Element and attribute names of the file.
namespace bacnetfile {
inline constexpr char Root[] = "BACnet_Master_Access";
inline constexpr char Read[] = "BACnet_Read";
inline constexpr char Write[] = "BACnet_Write";
inline constexpr char Enable[] = "Enable";
inline constexpr char Device[] = "IP_Address_Slave_ID";
inline constexpr char Object_Type[] = "Object_Type";
inline constexpr char Data_Type[] = "Data_Type";
inline constexpr char Instance[] = "Instance";
inline constexpr char Property[] = "Property";
inline constexpr char Priority[] = "Priority";
inline constexpr char NumByte[] = "NumByte";
inline constexpr char Enable_Destination[] = "Enable_Destination";
inline constexpr char Destination_Network[] = "Destination_Network";
inline constexpr char Destination_Length[] = "Destination_Length";
inline constexpr char Destination_Address[] = "Destination_Address";
inline constexpr char OnChange[] = "OnChange";
inline constexpr char OnTimer[] = "OnTimer";
inline constexpr char PollTime[] = "PollTime";
inline constexpr char MaxError[] = "MaxError";
inline constexpr char Position[] = "Position";
inline constexpr char StartBit[] = "StartBit";
inline constexpr char Swap[] = "Swap";
inline constexpr char Convertion[] = "Convertion";  // the window's own column, never stored
inline constexpr char FloatToInt[] = "FloatToInt";
inline constexpr char IntToFloat[] = "IntToFloat";
inline constexpr char MultiplicationFactor[] = "MultiplicationFactor";
inline constexpr char Mnemonic[] = "Mnemonic";
}  // namespace bacnetfile

// Both tables for the gateway's BACnet type: column 2 headed "IP Address" (0) or "Slave ID"
// (1) and the key of the rule list, else hidden with Object Type as the key. separator is the
// user's decimal separator for the multiplication factors.
RuleFileSpec bacnetClientRuleSpec(int appBACnetType = kBACnetTypeIp,
                                  QChar separator = QLatin1Char(','));

// BACnet_Master_Type of the general parameters at parGenPath; nullopt when the file or the
// element is missing or the file cannot be read. A text that is no integer reads as 0.
std::optional<int> readBACnetMasterType(const QString& parGenPath);

// ---- classification ----------------------------------------------------------------------

inline constexpr int kBACnetRead = 0;
inline constexpr int kBACnetWrite = 1;
inline constexpr int kPropertyPresentValue = 100;
inline constexpr int kPropertyProprietary = 200;

// Object code of an Object Type text (trimmed, any case) for a read (0) or write (1) rule; an
// integer 128 to 1023 is a proprietary type and its own code; -1 when not allowed.
int Check_Object_Type(const QString& str, int read_write);
// Property code of a Property text for the rule kind and object code; -1 when not allowed.
// The fixed read-only properties give the byte count the NByte hint proposes for them.
int Check_Property(const QString& str, int read_write, int Obj_Type);
// Negative when the Data Type does not fit a Present Value write of the object code; 1000
// for any other property.
int Check_Data_Type(const QString& str, int Obj_Type, int Property_val);
// The Data Type a Present Value write of the object code needs; empty when there is none to
// name.
QString Aspected_Data_Type_Value(int Obj_Type, int Property_val);
// Largest NByte of a write rule's Data Type (trimmed, any case).
int Check_Num_Byte_Max(const QString& str);
// The fault text of a destination byte list for NumByte address bytes (read or write texts);
// 0 when the list is sound. An empty list is too short.
int Check_Dest_Add(const QString& values, int NumByte, bool InRead);
// Hint of a read rule's NByte cell from its Object Type and Property texts: the byte count
// the object and property need; empty when either text is blank or nothing is proposed.
QString Str_Hint_Read(const QString& objectType, const QString& property);

}  // namespace zfw
