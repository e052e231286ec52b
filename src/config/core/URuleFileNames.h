#pragma once
// Element and attribute names of the LoRaWAN and S7 rule files, one definition for the
// editors' descriptors and the image compiler that reads the same files.

namespace zfw::rulefile {

inline constexpr char Enable[] = "Enable";
inline constexpr char OnChange[] = "OnChange";
inline constexpr char OnCMD[] = "OnCMD";
inline constexpr char Mnemonic[] = "Mnemonic";

// LoRaWAN_SetAccess.xml
inline constexpr char LoRaWAN_Root[] = "LoRaWAN_Set_Access";
inline constexpr char LoRaWAN_Uplink[] = "LoRaWAN_Uplink";
inline constexpr char LoRaWAN_Downlink[] = "LoRaWAN_Downlink";
inline constexpr char StartByte[] = "StartByte";
inline constexpr char NumByte[] = "NumByte";
inline constexpr char OnTimer[] = "OnTimer";
inline constexpr char Time[] = "Time";
inline constexpr char FPort[] = "FPort";

// S7_Protocol.xml
inline constexpr char S7_Root[] = "S7_Protocol";
inline constexpr char S7_Read[] = "S7_Protocol_Read";
inline constexpr char S7_Write[] = "S7_Protocol_Write";
inline constexpr char PLC_Address[] = "PLC_Address";
inline constexpr char PLC_Port[] = "PLC_Port";
inline constexpr char PLC_Type[] = "PLC_Type";
inline constexpr char Rack[] = "Rack";
inline constexpr char Slot[] = "Slot";
inline constexpr char Data_Type[] = "Data_Type";
inline constexpr char Data_Identifier[] = "Data_Identifier";
inline constexpr char DB_Number[] = "DB_Number";
inline constexpr char PLC_Area[] = "PLC_Area";
inline constexpr char PLC_Add[] = "PLC_Add";
inline constexpr char PLC_Bit[] = "PLC_Bit";
inline constexpr char PollTime[] = "PollTime";
inline constexpr char Position[] = "Position";
inline constexpr char Bit[] = "Bit";
inline constexpr char Swap[] = "Swap";
inline constexpr char SwapWord[] = "SwapWord";

}  // namespace zfw::rulefile
