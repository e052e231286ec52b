#include "common/UComon.h"

#include <memory>

namespace zfw {

namespace {
std::unique_ptr<ProgramState>& currentState()
{
    static std::unique_ptr<ProgramState> state = std::make_unique<ProgramState>();
    return state;
}
}  // namespace

QString ProgramState::lang(int n) const
{
    if (n < 0 || n >= Language_Table.size())
        return QString();
    return Language_Table.at(n);
}

ProgramState& programState() { return *currentState(); }

// The state is cleared in place: windows keep a pointer to it from their construction (the rule
// editors' context), and a new instance would leave them reading freed memory.
void resetProgramState() { *currentState() = ProgramState(); }

const std::array<ProjectFile, 30> kProjectFiles = {{
    {&ProgramState::File_ParGen, "ParGen.xml"},
    {&ProgramState::File_LoRaWAN_SetAccess, "LoRaWAN_SetAccess.xml"},
    {&ProgramState::File_ModbusM_SetAccess, "ModbusM_SetAccess.xml"},
    {&ProgramState::File_M_Bus, "M_Bus.xml"},
    {&ProgramState::File_ModbusTCPM_SetAccess, "ModbusTCPM_SetAccess.xml"},
    {&ProgramState::File_CAN_Rec_Frames, "CAN_Rec_Frames.xml"},
    {&ProgramState::File_CAN_Send_Frames, "CAN_Send_Frames.xml"},
    {&ProgramState::File_SDO_Server_CANopen, "SDO_Server_CANopen.xml"},
    {&ProgramState::File_SDO_Client_CANopen, "SDO_Client_CANopen.xml"},
    {&ProgramState::File_PDO_CANopen, "PDO_CANopen.xml"},
    {&ProgramState::File_DNETM_Net, "DNETM_Net.xml"},
    {&ProgramState::File_DNETM_DefOff, "DNETM_DefOff.xml"},
    {&ProgramState::File_J1939_Rec_Frames, "J1939_Rec_Frames.xml"},
    {&ProgramState::File_J1939_Send_Frames, "J1939_Send_Frames.xml"},
    {&ProgramState::File_NMEA_Rec_Frames, "NMEA_Rec_Frames.xml"},
    {&ProgramState::File_NMEA_Send_Frames, "NMEA_Send_Frames.xml"},
    {&ProgramState::File_DMX_Default_Values, "DMX_Default_Values.xml"},
    {&ProgramState::File_KNX_SetAccess, "KNX_SetAccess.xml"},
    {&ProgramState::File_BACnet_Slave_SetAccess, "BACnet_Slave_SetAccess.xml"},
    {&ProgramState::File_BACnet_Master_Access, "BACnet_Master_Access.xml"},
    {&ProgramState::File_EtherNetIP_Master_Rules, "EtherNetIP_Master_Rules.xml"},
    {&ProgramState::File_IEC_61850_Client, "IEC_61850_Client.xml"},
    {&ProgramState::File_TLS_Known_Cert, "TLS_Known_Cert.xml"},
    {&ProgramState::File_IEC61850_Variables, "IEC61850_Variables.xml"},
    {&ProgramState::File_MQTT_Set_Topic, "MQTT_Set_Topic.xml"},
    {&ProgramState::File_OPC_UA_Client, "OPC_UA_Client.xml"},
    {&ProgramState::File_OPC_UA_Server, "OPC_UA_Server.xml"},
    {&ProgramState::File_S7_Protocol, "S7_Protocol.xml"},
    {&ProgramState::File_SNMP_Manager, "SNMP_Manager.xml"},
    {&ProgramState::File_SNMP_Trap, "SNMP_Trap.xml"},
}};

QString joinPath(const QString& dir, const QString& name) { return dir + QLatin1Char('/') + name; }

void Set_Files(ProgramState& s)
{
    // Without a project the old paths were "\ParGen.xml" and so on; on this system that is a
    // file in the root folder, so they are left empty instead and any stray use fails plainly.
    for (const ProjectFile& f : kProjectFiles)
        s.*f.path = s.isProjectActive() ? joinPath(s.Dir_Project, QString::fromLatin1(f.fileName))
                                        : QString();
}

bool isValidProjectName(const QString& name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    for (QChar c : name) {
        if (c.unicode() < 0x20 || QStringView(u"/\\:*?\"<>|").contains(c))
            return false;
    }
    if (name.endsWith(QLatin1Char(' ')) || name.endsWith(QLatin1Char('.')))
        return false;
    // Device names are reserved with any extension and in any letter case.
    const QString base = name.section(QLatin1Char('.'), 0, 0).trimmed().toUpper();
    static const QStringList kDevices = {
        QStringLiteral("CON"),
        QStringLiteral("PRN"),
        QStringLiteral("AUX"),
        QStringLiteral("NUL"),
    };
    if (kDevices.contains(base))
        return false;
    if (base.size() == 4
        && (base.startsWith(QLatin1String("COM")) || base.startsWith(QLatin1String("LPT")))
        && base[3] >= u'1' && base[3] <= u'9')
        return false;
    return true;
}

int Default_BACnet_Eng_Unit() { return 95; }

int Get_ScanDecode_Form_Type() { return 0; }

QString Get_XML_Code_Dev() { return QString(); }

}  // namespace zfw
