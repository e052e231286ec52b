#pragma once
// The windows of the program, created once at start-up in a fixed order, and the index by
// which the main window reaches them.

#include "platform/Form.h"
#include "shell/ShellServices.h"

#include <array>
#include <span>

namespace zfw {

// In creation order; the main window comes first.
enum class FormId {
    TFZandovericoFirmWare,
    TFNew_Project,
    TFOpenConf,
    TFAbout,
    TFSoftOptions,
    TFParGen,
    TFBoot,
    TFLoRa_Set_Access,
    TFBACnetAccess,
    TFImportEDEFile,
    TFBACnet_Eng_Unit,
    TFBACnetSlaveSetAccess,
    TFMeter_Bus,
    TFNewIDNode,
    TFInsertKeyWireless,
    TFModbusStartAdd_SD,
    TFScanDecode,
    TFScanModbusStart,
    TFSetAccess,
    TFModbus_TCP_Master_Set_Access,
    TFReceiveCAN,
    TFTransmitCAN,
    TFSet_PDO_Access,
    TFSet_SDO_Client_Access,
    TFSet_SDO_Server_Access,
    TFDefOffset,
    TFDNet,
    TFDMXDefVal,
    TFEtherNEtIP_EDS,
    TFEtherNetIP_Master_Access,
    TFReceiveJ1939,
    TFTransmitJ1939,
    TFKNXAccess,
    TFReceiveNMEA,
    TFTransmitNMEA,
    TFProfinetFileName,
    TFIEC_61850_Access,
    TFIEC61850_Variables,
    TFTLS_Server_Known_Cert,
    TFMQTT_Set_Topic,
    TFTopicTemplate,
    TFOPC_UA_Add_Server,
    TFOPC_UA_Client_Access,
    TFOPC_UA_Scan_Server,
    TFOPC_UA_Server_Access,
    TFS7_Protocol_Set_Access,
    TFSNMPManagerAccess,
    TFSNMP_Trap_Access,
    TFEtherNetIP_Data_Seg,
};

inline constexpr int kFormCount = 49;

struct FormInfo {
    FormId id;
    const char* className;
    const char* title;  // what the window is, for windows not built yet
};

// The 49 windows in creation order.
extern const std::array<FormInfo, kFormCount> kFormTable;

const FormInfo& formInfo(FormId id);

// The 43 windows besides the main window whose texts follow a change of language, in the
// order they are refreshed.
std::span<const FormId> languageFollowingForms();

// Index of the created windows (the main window owns them through Qt parenthood).
class TForms {
public:
    void add(FormId id, TForm* form) { m_forms[static_cast<int>(id)] = form; }
    TForm* form(FormId id) const { return m_forms[static_cast<int>(id)]; }

private:
    std::array<TForm*, kFormCount> m_forms{};
};

// Creates window id with the given parent; the About and Options windows get shell. Windows
// not built yet are placeholders that say so.
TForm* createForm(FormId id, QWidget* parent, const ShellServices& shell = {});

}  // namespace zfw
