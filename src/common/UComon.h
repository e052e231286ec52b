#pragma once
// Program-wide state shared by every window: folders, the active project and its file
// paths, the settings values, the build identity, the copied-row buffer and the language
// table. One instance is current at a time; tests make a fresh one with resetProgramState().

#include <QString>
#include <QStringList>
#include <QVector>

#include <array>
#include <memory>
#include <vector>

namespace zfw {

// Wired and wireless M-Bus devices found by a scan; the M-Bus decoder defines them.
class TSlave_MBus;
class TSlave_wMBus;

// Build identity of this gateway model.
inline constexpr char Build_SW_Code[] = "CFK4R89";
inline constexpr char Build_SW_Code_Update[] = "CFK4R89";
inline constexpr char Build_SW_Description[] = "S7comm Client / LoRaWAN - Converter";
inline constexpr char Build_SW_Version[] = "1.002";
inline constexpr char Build_Manual_Code[] = "DCK4R89";
inline constexpr char Build_Hardware_Code[] = "GWK4R89";
inline constexpr char Build_Main_Title[] =
    "Brenikcorp - Configurator CFK4R89 S7comm Client / LoRaWAN ";

inline constexpr int kLanguageTableSize = 6400;

struct ProgramState {
    QString Dir_Exe;  // data root of the program, no trailing separator
    QString Dir_Master;
    QString Dir_Projects;
    QString Dir_Language;

    QString Project_Name;  // active or remembered project
    QString Dir_Project;   // empty while no project is active

    // Project file paths, recomputed by Set_Files.
    QString File_ParGen;
    QString File_LoRaWAN_SetAccess;
    QString File_ModbusM_SetAccess;
    QString File_M_Bus;
    QString File_ModbusTCPM_SetAccess;
    QString File_CAN_Rec_Frames;
    QString File_CAN_Send_Frames;
    QString File_SDO_Server_CANopen;
    QString File_SDO_Client_CANopen;
    QString File_PDO_CANopen;
    QString File_DNETM_Net;
    QString File_DNETM_DefOff;
    QString File_J1939_Rec_Frames;
    QString File_J1939_Send_Frames;
    QString File_NMEA_Rec_Frames;
    QString File_NMEA_Send_Frames;
    QString File_DMX_Default_Values;
    QString File_KNX_SetAccess;
    QString File_BACnet_Slave_SetAccess;
    QString File_BACnet_Master_Access;
    QString File_EtherNetIP_Master_Rules;
    QString File_IEC_61850_Client;
    QString File_TLS_Known_Cert;
    QString File_IEC61850_Variables;
    QString File_MQTT_Set_Topic;
    QString File_OPC_UA_Client;
    QString File_OPC_UA_Server;
    QString File_S7_Protocol;
    QString File_SNMP_Manager;
    QString File_SNMP_Trap;

    QString Main_Title;
    QString SW_Code;
    QString SW_Description;

    // Settings kept in the program settings file.
    QString Device_IP_Address;
    QString Language_Name;
    bool Opt_Enable_Internet = false;
    bool Opt_Enable_Update = false;
    bool Opt_Jump_Field_Tables = false;
    bool Opt_Double_Click_Auto_Size = false;

    // Choices of the update dialog; not saved.
    int Update_Option_Index = 0;
    bool Update_Read_Back = false;

    QString Dir_Last_EDE_Import;

    // Results of the last M-Bus scan, in the order found. Whoever empties a list frees its
    // devices; a shared_ptr lets this header hold them without their definition.
    std::vector<std::shared_ptr<TSlave_MBus>> Slave_MBus_List;
    std::vector<std::shared_ptr<TSlave_wMBus>> Slave_wMBus_List;

    QStringList Copy_Row_Buffer;
    QVector<bool> Copy_Row_CheckBox_Marks;
    QStringList SNMP_Trap_Read_Names;
    QStringList SNMP_Trap_Write_Names;

    QStringList Language_Table;
    int Language_Table_Size = 0;

    bool isProjectActive() const { return !Dir_Project.isEmpty(); }
    // Text number n of the language table; the empty text for a number outside the table.
    QString lang(int n) const;
};

// The current program state.
ProgramState& programState();
// Clears the current state to a fresh one, at the same address (start-up and tests).
void resetProgramState();

struct ProjectFile {
    QString ProgramState::*path;
    const char* fileName;
};

// The 30 project files, in the order Set_Files assigns them.
extern const std::array<ProjectFile, 30> kProjectFiles;

// Recomputes the 30 project file paths from Dir_Project.
void Set_Files(ProgramState& s);

// Joins a folder and a name with the platform separator.
QString joinPath(const QString& dir, const QString& name);

// True when name can be a project folder inside PROJECTS on every system the project may be
// moved to: not empty, no path separator or character that folder names refuse, not "." or
// "..", no trailing blank or dot, and no reserved device name (CON, NUL, COM1 ...).
bool isValidProjectName(const QString& name);

// Build-dependent helpers of the shared unit.
int Default_BACnet_Eng_Unit();
int Get_ScanDecode_Form_Type();
// This build defines no device code for Scan & Decode; the empty text says so.
QString Get_XML_Code_Dev();

}  // namespace zfw
