#include "shell/Forms.h"

#include "common/UComon.h"
#include "config/UBoot.h"
#include "config/ULoRa_Set_Access.h"
#include "config/UParGen.h"
#include "config/US7_Protocol_Set_Access.h"
#include "editors/building/UBACnetAccess.h"
#include "editors/building/UBACnetSlaveSetAccess.h"
#include "editors/building/UBACnet_Eng_Unit.h"
#include "editors/building/UEtherNetIP_Data_Seg.h"
#include "editors/building/UEtherNetIP_EDS.h"
#include "editors/building/UEtherNetIP_Master_Access.h"
#include "editors/building/UImportEDEFile.h"
#include "editors/building/UProfinetFileName.h"
#include "editors/fieldbus/UCANReceive.h"
#include "editors/fieldbus/UCANTransmit.h"
#include "editors/fieldbus/UDMXDefVal.h"
#include "editors/fieldbus/UDeviceNetOffset.h"
#include "editors/fieldbus/UDeviceNet_Net.h"
#include "editors/fieldbus/UJ1939Frames.h"
#include "editors/fieldbus/UKNXAccess.h"
#include "editors/fieldbus/UModbusSetAccess.h"
#include "editors/fieldbus/UModbus_TCP_Master_Set_Access.h"
#include "editors/fieldbus/UNMEAFrames.h"
#include "editors/fieldbus/UPDO_Access.h"
#include "editors/fieldbus/USDO_Client_Access.h"
#include "editors/fieldbus/USDO_Server_Access.h"
#include "editors/iot/UIEC61850_Variables.h"
#include "editors/iot/UIEC_61850_Access.h"
#include "editors/iot/UMQTT_Set_Topic.h"
#include "editors/iot/UOPC_UA_Add_Server.h"
#include "editors/iot/UOPC_UA_Client_Access.h"
#include "editors/iot/UOPC_UA_Scan_Server.h"
#include "editors/iot/UOPC_UA_Server_Access.h"
#include "editors/iot/UOpcUaHelperBrowser.h"
#include "editors/iot/USNMPManagerAccess.h"
#include "editors/iot/USNMP_Trap_Access.h"
#include "editors/iot/UTLS_Server_Known_Cert.h"
#include "editors/iot/UTopicTemplate.h"
#include "editors/metering/UMeter_Bus.h"
#include "editors/metering/UNewIDNode.h"
#include "editors/metering/UScanDecode.h"
#include "editors/metering/UScanDialogs.h"
#include "platform/Services.h"
#include "shell/UAbout.h"
#include "shell/UNew_Project.h"
#include "shell/UOpenConf.h"
#include "shell/UPlaceholder.h"
#include "shell/USoftOptions.h"

#include <QCoreApplication>

namespace zfw {

const std::array<FormInfo, kFormCount> kFormTable = {{
    {FormId::TFZandovericoFirmWare, "TFZandovericoFirmWare", "Main window"},
    {FormId::TFNew_Project, "TFNew_Project", "New Configuration"},
    {FormId::TFOpenConf, "TFOpenConf", "Open Configuration"},
    {FormId::TFAbout, "TFAbout", "About"},
    {FormId::TFSoftOptions, "TFSoftOptions", "Software Options"},
    {FormId::TFParGen, "TFParGen", "Set Communication"},
    {FormId::TFBoot, "TFBoot", "Device update"},
    {FormId::TFLoRa_Set_Access, "TFLoRa_Set_Access", "LoRaWAN uplink and downlink rules"},
    {FormId::TFBACnetAccess, "TFBACnetAccess", "BACnet client rules"},
    {FormId::TFImportEDEFile, "TFImportEDEFile", "BACnet EDE import"},
    {FormId::TFBACnet_Eng_Unit, "TFBACnet_Eng_Unit", "BACnet engineering unit"},
    {FormId::TFBACnetSlaveSetAccess, "TFBACnetSlaveSetAccess", "BACnet server objects"},
    {FormId::TFMeter_Bus, "TFMeter_Bus", "M-Bus network"},
    {FormId::TFNewIDNode, "TFNewIDNode", "New M-Bus node identifier"},
    {FormId::TFInsertKeyWireless, "TFInsertKeyWireless", "Wireless M-Bus key"},
    {FormId::TFModbusStartAdd_SD, "TFModbusStartAdd_SD", "Modbus start address"},
    {FormId::TFScanDecode, "TFScanDecode", "M-Bus scan and decode"},
    {FormId::TFScanModbusStart, "TFScanModbusStart", "Modbus start register of a scan"},
    {FormId::TFSetAccess, "TFSetAccess", "Modbus RTU master rules"},
    {FormId::TFModbus_TCP_Master_Set_Access, "TFModbus_TCP_Master_Set_Access",
     "Modbus TCP master rules"},
    {FormId::TFReceiveCAN, "TFReceiveCAN", "CAN received frames"},
    {FormId::TFTransmitCAN, "TFTransmitCAN", "CAN transmitted frames"},
    {FormId::TFSet_PDO_Access, "TFSet_PDO_Access", "CANopen PDO rules"},
    {FormId::TFSet_SDO_Client_Access, "TFSet_SDO_Client_Access", "CANopen SDO client rules"},
    {FormId::TFSet_SDO_Server_Access, "TFSet_SDO_Server_Access", "CANopen SDO server objects"},
    {FormId::TFDefOffset, "TFDefOffset", "DeviceNet byte offsets"},
    {FormId::TFDNet, "TFDNet", "DeviceNet slave list"},
    {FormId::TFDMXDefVal, "TFDMXDefVal", "DMX default values"},
    {FormId::TFEtherNEtIP_EDS, "TFEtherNEtIP_EDS", "EtherNet/IP EDS connection"},
    {FormId::TFEtherNetIP_Master_Access, "TFEtherNetIP_Master_Access", "EtherNet/IP scanner rules"},
    {FormId::TFReceiveJ1939, "TFReceiveJ1939", "J1939 received frames"},
    {FormId::TFTransmitJ1939, "TFTransmitJ1939", "J1939 transmitted frames"},
    {FormId::TFKNXAccess, "TFKNXAccess", "KNX rules"},
    {FormId::TFReceiveNMEA, "TFReceiveNMEA", "NMEA 2000 received frames"},
    {FormId::TFTransmitNMEA, "TFTransmitNMEA", "NMEA 2000 transmitted frames"},
    {FormId::TFProfinetFileName, "TFProfinetFileName", "GSDML file name"},
    {FormId::TFIEC_61850_Access, "TFIEC_61850_Access", "IEC 61850 client rules"},
    {FormId::TFIEC61850_Variables, "TFIEC61850_Variables", "IEC 61850 server variables"},
    {FormId::TFTLS_Server_Known_Cert, "TFTLS_Server_Known_Cert", "Known TLS certificates"},
    {FormId::TFMQTT_Set_Topic, "TFMQTT_Set_Topic", "MQTT topics"},
    {FormId::TFTopicTemplate, "TFTopicTemplate", "MQTT topic template"},
    {FormId::TFOPC_UA_Add_Server, "TFOPC_UA_Add_Server", "OPC UA server"},
    {FormId::TFOPC_UA_Client_Access, "TFOPC_UA_Client_Access", "OPC UA client rules"},
    {FormId::TFOPC_UA_Scan_Server, "TFOPC_UA_Scan_Server", "OPC UA server browsing"},
    {FormId::TFOPC_UA_Server_Access, "TFOPC_UA_Server_Access", "OPC UA server variables"},
    {FormId::TFS7_Protocol_Set_Access, "TFS7_Protocol_Set_Access", "S7comm read and write rules"},
    {FormId::TFSNMPManagerAccess, "TFSNMPManagerAccess", "SNMP manager requests"},
    {FormId::TFSNMP_Trap_Access, "TFSNMP_Trap_Access", "SNMP agent objects and traps"},
    {FormId::TFEtherNetIP_Data_Seg, "TFEtherNetIP_Data_Seg", "EtherNet/IP data segments"},
}};

const FormInfo& formInfo(FormId id) { return kFormTable[static_cast<int>(id)]; }

std::span<const FormId> languageFollowingForms()
{
    using F = FormId;
    static constexpr F kOrder[] = {
        F::TFNew_Project,
        F::TFOpenConf,
        F::TFSoftOptions,
        F::TFBoot,
        F::TFParGen,
        F::TFLoRa_Set_Access,
        F::TFBACnetAccess,
        F::TFImportEDEFile,
        F::TFBACnetSlaveSetAccess,
        F::TFBACnet_Eng_Unit,
        F::TFMeter_Bus,
        F::TFNewIDNode,
        F::TFSetAccess,
        F::TFModbus_TCP_Master_Set_Access,
        F::TFReceiveCAN,
        F::TFTransmitCAN,
        F::TFSet_PDO_Access,
        F::TFSet_SDO_Client_Access,
        F::TFSet_SDO_Server_Access,
        F::TFDNet,
        F::TFDefOffset,
        F::TFDMXDefVal,
        F::TFEtherNetIP_Master_Access,
        F::TFEtherNEtIP_EDS,
        F::TFEtherNetIP_Data_Seg,
        F::TFReceiveJ1939,
        F::TFTransmitJ1939,
        F::TFKNXAccess,
        F::TFReceiveNMEA,
        F::TFTransmitNMEA,
        F::TFIEC_61850_Access,
        F::TFProfinetFileName,
        F::TFTLS_Server_Known_Cert,
        F::TFIEC61850_Variables,
        F::TFMQTT_Set_Topic,
        F::TFTopicTemplate,
        F::TFOPC_UA_Client_Access,
        F::TFOPC_UA_Add_Server,
        F::TFOPC_UA_Scan_Server,
        F::TFOPC_UA_Server_Access,
        F::TFS7_Protocol_Set_Access,
        F::TFSNMPManagerAccess,
        F::TFSNMP_Trap_Access,
    };
    return kOrder;
}

namespace {

// The rule editors' view of the program: its state (language, options, paths, copied row),
// the build's code and the dialogs in use.
RuleEditorContext ruleEditorContext()
{
    ProgramState& s = programState();
    return {&s, s.SW_Code.isEmpty() ? QString::fromLatin1(Build_SW_Code) : s.SW_Code,
            services().dialogs};
}

// The live browse of the OPC UA client editor: the helper beside the program, its
// certificates in the program's data folder.
std::unique_ptr<IOpcUaBrowser> opcUaBrowser()
{
    OpcUaHelperSetup setup;
    setup.helperDir = findOpcUaHelperDir(QCoreApplication::applicationDirPath());
    setup.pkiDir = joinPath(programState().Dir_Exe, QStringLiteral("OPCUA_PKI"));
    return makeOpcUaHelperBrowser(std::move(setup));
}

}  // namespace

TForm* createForm(FormId id, QWidget* parent, const ShellServices& shell)
{
    // Each window joins here with its own case as it is built.
    switch (id) {
    case FormId::TFNew_Project: return new TFNew_Project(parent);
    case FormId::TFOpenConf: return new TFOpenConf(parent);
    case FormId::TFAbout: return new TFAbout(shell, parent);
    case FormId::TFSoftOptions: return new TFSoftOptions(shell, parent);
    case FormId::TFBoot: return new TFBoot(parent);
    case FormId::TFParGen: return new TFParGen(parent);
    case FormId::TFLoRa_Set_Access: return new TFLoRa_Set_Access(ruleEditorContext(), parent);
    case FormId::TFSet_PDO_Access: return new TFSet_PDO_Access(ruleEditorContext(), parent);
    case FormId::TFSet_SDO_Client_Access:
        return new TFSet_SDO_Client_Access(ruleEditorContext(), parent);
    case FormId::TFSet_SDO_Server_Access:
        return new TFSet_SDO_Server_Access(ruleEditorContext(), parent);
    case FormId::TFDNet: return new TFDNet(ruleEditorContext(), parent);
    case FormId::TFDefOffset: return new TFDefOffset(ruleEditorContext(), parent);
    case FormId::TFS7_Protocol_Set_Access:
        return new TFS7_Protocol_Set_Access(ruleEditorContext(), parent);
    case FormId::TFBACnetAccess: return new TFBACnetAccess(ruleEditorContext(), parent);
    case FormId::TFImportEDEFile: return new TFImportEDEFile(ruleEditorContext(), parent);
    case FormId::TFBACnetSlaveSetAccess:
        return new TFBACnetSlaveSetAccess(ruleEditorContext(), parent);
    case FormId::TFBACnet_Eng_Unit: return new TFBACnet_Eng_Unit(ruleEditorContext(), parent);
    case FormId::TFMeter_Bus: return new TFMeter_Bus(parent);
    case FormId::TFNewIDNode: return new TFNewIDNode(parent);
    case FormId::TFInsertKeyWireless: return new TFInsertKeyWireless(parent);
    case FormId::TFModbusStartAdd_SD: return new TFModbusStartAdd_SD(parent);
    case FormId::TFScanModbusStart: return new TFScanModbusStart(parent);
    case FormId::TFScanDecode: return new TFScanDecode(parent);
    case FormId::TFSetAccess: return new TFSetAccess(ruleEditorContext(), parent);
    case FormId::TFModbus_TCP_Master_Set_Access:
        return new TFModbus_TCP_Master_Set_Access(ruleEditorContext(), parent);
    case FormId::TFReceiveCAN: return new TFReceiveCAN(ruleEditorContext(), parent);
    case FormId::TFTransmitCAN: return new TFTransmitCAN(ruleEditorContext(), parent);
    case FormId::TFDMXDefVal: return new TFDMXDefVal(ruleEditorContext(), parent);
    case FormId::TFReceiveJ1939: return new TFReceiveJ1939(ruleEditorContext(), parent);
    case FormId::TFTransmitJ1939: return new TFTransmitJ1939(ruleEditorContext(), parent);
    case FormId::TFKNXAccess: return new TFKNXAccess(ruleEditorContext(), parent);
    case FormId::TFReceiveNMEA: return new TFReceiveNMEA(ruleEditorContext(), parent);
    case FormId::TFTransmitNMEA: return new TFTransmitNMEA(ruleEditorContext(), parent);
    case FormId::TFEtherNetIP_Master_Access:
        return new TFEtherNetIP_Master_Access(ruleEditorContext(), parent);
    case FormId::TFEtherNEtIP_EDS: return new TFEtherNEtIP_EDS(ruleEditorContext(), parent);
    case FormId::TFEtherNetIP_Data_Seg:
        return new TFEtherNetIP_Data_Seg(ruleEditorContext(), parent);
    case FormId::TFProfinetFileName:
        return new TFProfinetFileName(ruleEditorContext(), services().clock->now().date(), parent);
    case FormId::TFIEC_61850_Access: return new TFIEC_61850_Access(ruleEditorContext(), parent);
    case FormId::TFTLS_Server_Known_Cert:
        return new TFTLS_Server_Known_Cert(ruleEditorContext(), parent);
    case FormId::TFOPC_UA_Client_Access:
        return new TFOPC_UA_Client_Access(ruleEditorContext(), opcUaBrowser(), parent);
    case FormId::TFOPC_UA_Add_Server: return new TFOPC_UA_Add_Server(ruleEditorContext(), parent);
    case FormId::TFOPC_UA_Scan_Server:
        return new TFOPC_UA_Scan_Server(ruleEditorContext(), nullptr, parent);
    case FormId::TFSNMPManagerAccess: return new TFSNMPManagerAccess(ruleEditorContext(), parent);
    case FormId::TFSNMP_Trap_Access: return new TFSNMP_Trap_Access(ruleEditorContext(), parent);
    case FormId::TFIEC61850_Variables: return new TFIEC61850_Variables(ruleEditorContext(), parent);
    case FormId::TFMQTT_Set_Topic: return new TFMQTT_Set_Topic(ruleEditorContext(), parent);
    case FormId::TFTopicTemplate: return new TFTopicTemplate(ruleEditorContext(), parent);
    case FormId::TFOPC_UA_Server_Access:
        return new TFOPC_UA_Server_Access(ruleEditorContext(), parent);
    default: return new TFPlaceholder(formInfo(id), parent);
    }
}

}  // namespace zfw
