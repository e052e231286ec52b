#pragma once
// "Set Communication": the general-parameters window. It shows the category panels of the
// build's model, loads ParGen.xml when it opens, checks the input on OK and writes the file
// only when everything passes.

#include "config/UParGenPanels.h"
#include "config/core/UParGenData.h"
#include "controls/LbButton.h"
#include "platform/Form.h"

#include <array>
#include <optional>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace zfw {

// The program's owner-drawn push button.
using TParGenButton = TLbButton;

// The widgets of one panel row, as built from its PanelRow.
struct ParGenRow {
    const PanelRow* def = nullptr;
    QLabel* label = nullptr;
    QCheckBox* check = nullptr;  // Check and GateOctets rows
    QWidget* field = nullptr;    // Edit and List rows
    std::array<QLineEdit*, 4> octets{};
    std::array<QLabel*, 3> dots{};

    QList<QWidget*> widgets() const;
};

class TFParGen final : public TForm {
    Q_OBJECT
public:
    explicit TFParGen(QWidget* parent = nullptr);

    void Set_Lang() override;

    // Handlers.
    void FormShow();
    void Btn_OKClick();
    void On_Change(QObject* sender);
    void On_Click(QObject* sender);

    // Returns true when the wheel event at globalPos was taken by the panel group; a zero
    // vertical delta is taken without scrolling.
    bool FormMouseWheel(const QPoint& globalPos, int wheelDelta);

    // LoRaWAN lists and payload.
    void Change_LoRa_DataRate();
    int Find_Max_PayLoad() const;
    void Set_Max_Payload_Size();
    bool Controllo_Dati();

    // Panels of the build's model.
    void Order_TAB_Panels();
    void Move_GroupBoxs();

    // Hides every panel built so far, as at creation before the model's panels are shown.
    void hideAllPanels();

    // One member per model of the family; this build calls the K4R89 ones.
    void Order_TAB_Panels_K4R51();
    void Order_TAB_Panels_K4R52();
    void Order_TAB_Panels_K4R53();
    void Order_TAB_Panels_K4R54();
    void Order_TAB_Panels_K4R55();
    void Order_TAB_Panels_K4R65();
    void Order_TAB_Panels_K4R66();
    void Order_TAB_Panels_K4R67();
    void Order_TAB_Panels_K4R68();
    void Order_TAB_Panels_K4R69();
    void Order_TAB_Panels_K4R70();
    void Order_TAB_Panels_K4R71();
    void Order_TAB_Panels_K4R72();
    void Order_TAB_Panels_K4R73();
    void Order_TAB_Panels_K4R74();
    void Order_TAB_Panels_K4R75();
    void Order_TAB_Panels_K4R76();
    void Order_TAB_Panels_K4R77();
    void Order_TAB_Panels_K4R79();
    void Order_TAB_Panels_K4R81();
    void Order_TAB_Panels_K4R83();
    void Order_TAB_Panels_K4R84();
    void Order_TAB_Panels_K4R85();
    void Order_TAB_Panels_K4R86();
    void Order_TAB_Panels_K4R87();
    void Order_TAB_Panels_K4R88();
    void Order_TAB_Panels_K4R89();
    void Order_TAB_Panels_K4R90();
    void Order_TAB_Panels_K4R91();

    void RePosition_Objects_K4R51();
    void RePosition_Objects_K4R52();
    void RePosition_Objects_K4R53();
    void RePosition_Objects_K4R54();
    void RePosition_Objects_K4R55();
    void RePosition_Objects_K4R65();
    void RePosition_Objects_K4R66();
    void RePosition_Objects_K4R67();
    void RePosition_Objects_K4R68();
    void RePosition_Objects_K4R69();
    void RePosition_Objects_K4R70();
    void RePosition_Objects_K4R71();
    void RePosition_Objects_K4R72();
    void RePosition_Objects_K4R73();
    void RePosition_Objects_K4R74();
    void RePosition_Objects_K4R75();
    void RePosition_Objects_K4R76();
    void RePosition_Objects_K4R77();
    void RePosition_Objects_K4R79();
    void RePosition_Objects_K4R81();
    void RePosition_Objects_K4R83();
    void RePosition_Objects_K4R84();
    void RePosition_Objects_K4R85();
    void RePosition_Objects_K4R86();
    void RePosition_Objects_K4R87();
    void RePosition_Objects_K4R88();
    void RePosition_Objects_K4R89();
    void RePosition_Objects_K4R90();
    void RePosition_Objects_K4R91();

    // Panel layout routines: height of the panel and its visibility and enabling rules.
    void RePosition_Object_Ethernet_Connection();
    void RePosition_Object_LoRa();
    void RePosition_Object_S7_Protocol();
    void RePosition_Object_Ethernet();
    void RePosition_Object_Modbus_Master();
    void RePosition_Object_Modbus_Slave();
    void RePosition_Object_Modbus_TCP_Master();
    void RePosition_Object_Modbus_TCP_Slave();
    void RePosition_Object_Serial();
    void RePosition_Object_MBus();
    void RePosition_Object_wMBus();
    void RePosition_Object_BACnet_Master();
    void RePosition_Object_BACnet_Slave();
    void RePosition_Object_CAN();
    void RePosition_Object_CANopen();
    void RePosition_Object_DeviceNet_Master();
    void RePosition_Object_DeviceNet_Slave();
    void RePosition_Object_DMX();
    void RePosition_Object_EtherNetIP_Master();
    void RePosition_Object_EtherNetIP();
    void RePosition_Object_J1939();
    void RePosition_Object_KNX();
    void RePosition_Object_NMEA2000();
    void RePosition_Object_PROFIBUS();
    void RePosition_Object_PROFINET();
    void RePosition_Object_IEC61850_Client();
    void RePosition_Object_IEC61850_Server();
    void RePosition_Object_TLS_Server();
    void RePosition_Object_NTP();
    void RePosition_Object_MQTT();
    void RePosition_Object_TLS();
    void RePosition_Object_OPC_UA_Client();
    void RePosition_Object_OPC_UA_Server();
    void RePosition_Object_SNMP_Manager();
    void RePosition_Object_SNMP_Agent();
    void RePosition_Object_WiFi();

    // What the controls hold, one text per element of ParGen.xml, and the reverse.
    ParGenValues values() const;
    void setValues(const ParGenValues& values);

    // A panel and its rows are built when a model first shows it (Order_TAB_Panels_...) or
    // a layout routine first needs it; null until then.
    CategoryPanel* panel(PanelId id) const { return m_panels[static_cast<int>(id)]; }
    CategoryPanelGroup* panelGroup() const { return CPG; }
    // The built rows of a panel, in their design order; empty while the panel is not built.
    const std::vector<ParGenRow>& rows(PanelId id) const { return m_rows[static_cast<int>(id)]; }

    // Components by their names.
    QWidget* P_Title = nullptr;
    QLabel* L_SW_Code = nullptr;
    QLabel* L_SW_Desc = nullptr;
    CategoryPanelGroup* CPG = nullptr;
    QWidget* P_Button = nullptr;
    TParGenButton* Btn_OK = nullptr;
    TParGenButton* Btn_Cancel = nullptr;

    CategoryPanel* CP_Ethernet_Connection = nullptr;
    CategoryPanel* CP_LoRa = nullptr;
    CategoryPanel* CP_S7_Protocol = nullptr;

    QLineEdit* E_EthConn_Device_Name = nullptr;
    QCheckBox* CB_EthConn_En_DHCP_Cable = nullptr;
    QCheckBox* CB_EthConn_En_DHCP_WiFi = nullptr;
    QCheckBox* CB_EthConn_Enable_DNS = nullptr;
    std::array<QLineEdit*, 4> E_EthConn_Pri_DNS_IP{};
    std::array<QLineEdit*, 4> E_EthConn_Sec_DNS_IP{};

    QComboBox* CB_LoRa_RF_Band = nullptr;
    QComboBox* CB_LoRa_FrequencySubBand = nullptr;
    QComboBox* CB_LoRa_Network_Type = nullptr;
    QCheckBox* CB_LoRa_Adaptive_DataRate = nullptr;
    QComboBox* CB_LoRa_DataRate = nullptr;
    QComboBox* CB_LoRa_Transmission_Type = nullptr;
    QLineEdit* E_LoRa_Payload_Size = nullptr;
    QLineEdit* E_LoRa_JoinEUI = nullptr;
    QComboBox* CB_LoRa_Activation_Method = nullptr;
    QLineEdit* E_LoRa_Device_Address = nullptr;
    QLineEdit* E_LoRa_Network_Session_Key = nullptr;
    QLineEdit* E_LoRa_Application_Session_Key = nullptr;
    QLineEdit* E_LoRa_Application_Key = nullptr;
    QComboBox* CB_LoRa_FPort = nullptr;
    QLineEdit* E_LoRa_LNCHECK = nullptr;

    std::array<QLineEdit*, 4> E_S7_Protocol_IP{};
    std::array<QLineEdit*, 4> E_S7_Protocol_SM{};
    QCheckBox* CB_S7_Protocol_En_GAT = nullptr;
    std::array<QLineEdit*, 4> E_S7_Protocol_GAT{};

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void buildTitle();
    void buildButtons();
    // Builds the panel with its rows, texts and values unless it exists; returns it.
    CategoryPanel* ensurePanel(PanelId id);
    void buildRows(PanelId id, std::span<const PanelRow> rows);
    // Named members, value controls, key filters and octet chains of a panel of this build.
    void bindControls(PanelId id);
    void wirePanel(PanelId id);
    void applyRowTexts(const ParGenRow& row);
    // Puts values on the built controls; with a panel given, on that panel's controls only.
    void applyValues(const ParGenValues& values, const CategoryPanel* only = nullptr);

    // Key filters: octet edits (a "." moves on) and hexadecimal edits.
    bool KeyPress(QLineEdit* edit, QKeyEvent* event);
    bool OnKeyPress(QLineEdit* edit, QKeyEvent* event);

    // Data-driven parts of the model and panel routines.
    void orderPanelsOf(const char* modelCode);
    void repositionPanelsOf(const char* modelCode);
    void repositionPanel(PanelId id);
    // Stacks the shown rows of a panel 28 pixels apart from labelY and fits its height to
    // the last shown row.
    void stackRows(PanelId id, int labelY);
    void fitPanelHeight(PanelId id, int bottom);
    void placeRow(const ParGenRow& row, int labelY);
    void setRowShown(const ParGenRow& row, bool shown);
    void setOctetsEnabled(const ParGenRow& row, bool enabled);
    const ParGenRow* findRow(PanelId id, const char* name) const;
    bool cableDhcp() const;
    // Rules shared by the panels with an IPv4 block: octets (and, with boxToo, the
    // "Gateway" box) disabled while the cable connection takes its address by DHCP.
    void applyIpBlockRule(PanelId id, bool boxToo);
    void applyPanelRules(PanelId id);

    bool saveFile();

    std::array<CategoryPanel*, kPanelCount> m_panels{};
    std::array<std::vector<ParGenRow>, kPanelCount> m_rows;
    std::array<QWidget*, kParGenElementCount> m_valueControls{};
    // The values last loaded: what values() reports for elements whose panel is not built,
    // and what a panel built after the loading shows.
    std::optional<ParGenValues> m_values;
    std::vector<std::pair<QLineEdit*, QLineEdit*>> m_dotSuccessor;
    std::vector<QLineEdit*> m_octetEdits;
    std::vector<QLineEdit*> m_hexEdits;
    // Set when the file existed but could not be read: saving then asks first.
    bool m_loadFailed = false;
    bool m_loading = false;
};

}  // namespace zfw
