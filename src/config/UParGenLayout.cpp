// Panels of the general-parameters window: which panels each model shows, in which order,
// and the layout routine of every panel.

#include "config/UParGen.h"

#include "common/UComon.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>
#include <cstring>

namespace zfw {

using namespace parGenLayout;

namespace {

bool nameIs(const ParGenRow& row, const char* name)
{
    return std::strcmp(row.def->name, name) == 0;
}

bool rowShown(const ParGenRow& row) { return !row.widgets().first()->isHidden(); }

// Bottom of a row placed with its label at y.
int rowBottom(const ParGenRow& row, int y)
{
    switch (row.def->kind) {
    case RowKind::Check: return y + row.check->height();
    case RowKind::GateOctets:
        return std::max(y + row.check->height(), y - kGateFieldDrop + row.octets[0]->height());
    case RowKind::Octets: return y - kFieldDrop + row.octets[0]->height();
    default: return y - kFieldDrop + row.field->height();
    }
}

}  // namespace

// ---- Row helpers ---------------------------------------------------------------------------

void TFParGen::placeRow(const ParGenRow& row, int y)
{
    if (row.label)
        row.label->move(kLabelX, y);
    if (row.check)
        row.check->move(kLabelX, y);
    if (row.field)
        row.field->move(kFieldX, y - kFieldDrop);
    const int fieldY = y - (row.def->kind == RowKind::GateOctets ? kGateFieldDrop : kFieldDrop);
    for (int i = 0; i < 4; ++i)
        if (row.octets[i])
            row.octets[i]->move(kOctetX[i], fieldY);
    for (int i = 0; i < 3; ++i)
        if (row.dots[i])
            row.dots[i]->move(kOctetX[i] + kOctetWidth, fieldY);
}

void TFParGen::setRowShown(const ParGenRow& row, bool shown)
{
    for (QWidget* w : row.widgets())
        w->setHidden(!shown);
}

void TFParGen::setOctetsEnabled(const ParGenRow& row, bool enabled)
{
    for (QLineEdit* e : row.octets)
        if (e)
            e->setEnabled(enabled);
}

const ParGenRow* TFParGen::findRow(PanelId id, const char* name) const
{
    for (const ParGenRow& row : rows(id))
        if (nameIs(row, name))
            return &row;
    return nullptr;
}

bool TFParGen::cableDhcp() const { return CB_EthConn_En_DHCP_Cable->isChecked(); }

void TFParGen::fitPanelHeight(PanelId id, int bottom)
{
    panel(id)->setPanelHeight(bottom + CPG->headerHeight() + 12);
}

void TFParGen::stackRows(PanelId id, int labelY)
{
    int y = labelY;
    int bottom = 0;
    for (const ParGenRow& row : rows(id)) {
        if (!rowShown(row))
            continue;
        placeRow(row, y);
        bottom = rowBottom(row, y);
        y += kRowStep;
    }
    fitPanelHeight(id, bottom);
}

void TFParGen::applyIpBlockRule(PanelId id, bool boxToo)
{
    const bool enabled = !cableDhcp();
    for (const ParGenRow& row : rows(id)) {
        setOctetsEnabled(row, enabled);
        if (boxToo && row.def->kind == RowKind::GateOctets)
            row.check->setEnabled(enabled);
    }
}

void TFParGen::applyPanelRules(PanelId id)
{
    auto shown = [this, id](const char* name, bool show) {
        if (const ParGenRow* row = findRow(id, name))
            setRowShown(*row, show);
    };
    auto checked = [this](const char* name) {
        const auto* b = findChild<QCheckBox*>(QLatin1String(name));
        return b && b->isChecked();
    };
    auto index = [this](const char* name) {
        const auto* c = findChild<QComboBox*>(QLatin1String(name));
        return c ? c->currentIndex() : -1;
    };

    switch (id) {
    case PanelId::Ethernet:
        shown("Ethernet_TCP_Port", false);
        shown("Ethernet_UDP_Port", false);
        applyIpBlockRule(id, true);
        break;
    case PanelId::Modbus_TCP_Master:
    case PanelId::Modbus_TCP_Slave: applyIpBlockRule(id, true); break;
    case PanelId::EtherNetIP_Master:
    case PanelId::EtherNetIP:
    case PanelId::IEC61850_Client:
    case PanelId::IEC61850_Server:
    case PanelId::OPC_UA_Client:
    case PanelId::OPC_UA_Server:
    case PanelId::SNMP_Manager: applyIpBlockRule(id, false); break;
    case PanelId::PROFINET:
        shown("PROFINET_Diagnostic", false);
        shown("PROFINET_Diagnostic_Value", false);
        applyIpBlockRule(id, false);
        break;
    case PanelId::SNMP_Agent: {
        const bool v3 = checked("CB_SNMP_Agent_Version3");
        const int level = index("CB_SNMP_Agent_SecurityLevel");
        shown("SNMP_Agent_User", v3);
        shown("SNMP_Agent_SecurityLevel", v3);
        const bool authority = v3 && (level == 1 || level == 2);
        const bool privacy = v3 && level == 2;
        shown("SNMP_Agent_Authority_Password", authority);
        shown("SNMP_Agent_Authority_Mode", authority);
        shown("SNMP_Agent_Privacy_Password", privacy);
        shown("SNMP_Agent_Privacy_Mode", privacy);
        applyIpBlockRule(id, false);
        break;
    }
    case PanelId::BACnet_Master:
    case PanelId::BACnet_Slave: {
        const bool master = id == PanelId::BACnet_Master;
        const bool ip = index(master ? "CB_BACnet_Master_Type" : "CB_BACnet_Slave_Type") == 0;
        for (const ParGenRow& row : rows(id)) {
            if (row.def->kind == RowKind::List && &row == &rows(id).front())
                continue;  // the type list
            if (nameIs(row, "BACnet_Slave_Description_32"))
                continue;  // always shown, one row below the last shown row
            const bool mstp = std::strstr(row.def->name, "_MSTP_") != nullptr;
            setRowShown(row, mstp != ip);
        }
        applyIpBlockRule(id, false);
        break;
    }
    case PanelId::MBus:
    case PanelId::wMBus: {
        const bool present = index(id == PanelId::MBus ? "CB_MBus_OnWire_Present"
                                                       : "CB_wMBus_Wireless_Present")
                             == 1;
        for (std::size_t i = 1; i < rows(id).size(); ++i)
            setRowShown(rows(id)[i], present);
        break;
    }
    case PanelId::MQTT: {
        const bool will = checked("CB_MQTT_WillFlag");
        const bool publish = checked("CB_MQTT_PublishTopicConnection");
        for (const char* n :
             {"MQTT_Will_Topic", "MQTT_Will_Message", "MQTT_Will_Retained", "MQTT_Will_QoS"})
            shown(n, will);
        for (const char* n :
             {"MQTT_Connection_Topic", "MQTT_Connection_Message", "MQTT_Connection_Retained"})
            shown(n, publish);
        shown("MQTT_Send_Time", false);
        break;
    }
    case PanelId::TLS: {
        const bool enabled = checked("CB_TLS_Enable");
        const bool server = checked("CB_TLS_En_Server_Auth");
        const bool client = checked("CB_TLS_En_Client_Auth");
        shown("TLS_En_Server_Auth", enabled);
        shown("TLS_Server_Certificate_File", enabled && server);
        shown("TLS_En_Client_Auth", enabled);
        for (const char* n :
             {"TLS_Client_Certificate_File", "TLS_Client_Key_File", "TLS_Client_Key_Password"})
            shown(n, enabled && client);
        break;
    }
    case PanelId::TLS_Server: {
        const bool enabled = checked("CB_TLS_Server_Enable");
        for (std::size_t i = 1; i < rows(id).size(); ++i)
            setRowShown(rows(id)[i], enabled);
        break;
    }
    case PanelId::WiFi: {
        const bool autoIp = checked("CB_WiFi_IP_Auto");
        for (const char* n : {"WiFi_IP", "WiFi_SM", "WiFi_GAT"})
            shown(n, !autoIp);
        shown("WiFi_Password", index("CB_WiFi_Secure_Type") != 0);
        const bool dhcpServer = checked("CB_WiFi_En_DHCP");
        shown("WiFi_DHCP_Start", dhcpServer);
        shown("WiFi_DHCP_End", dhcpServer);
        // The channel is chosen by the device in client mode.
        shown("WiFi_Channel", index("CB_WiFi_Type") != 1);
        break;
    }
    default: break;  // height only
    }
}

void TFParGen::repositionPanel(PanelId id)
{
    ensurePanel(id);
    applyPanelRules(id);
    stackRows(id, 12);
}

// ---- The three panels of this build --------------------------------------------------------

void TFParGen::RePosition_Object_Ethernet_Connection()
{
    ensurePanel(PanelId::Ethernet_Connection);
    stackRows(PanelId::Ethernet_Connection, 12);
    CB_EthConn_En_DHCP_WiFi->setEnabled(false);
}

void TFParGen::RePosition_Object_LoRa()
{
    const PanelId id = PanelId::LoRa;
    ensurePanel(id);
    const ParGenRow& band = *findRow(id, "LoRa_RF_Band");
    const int y0 = band.field->y();
    const int region = CB_LoRa_RF_Band->currentIndex();
    const bool subBand = region == 1 || region == 5 || region == 6;
    const ParGenRow& sub = *findRow(id, "LoRa_FrequencySubBand");
    setRowShown(sub, subBand);
    if (subBand)
        placeRow(sub, y0 + kRowStep);
    int y = y0 + (subBand ? 2 : 1) * kRowStep;

    auto next = [&](const char* name, bool show = true) {
        const ParGenRow& row = *findRow(id, name);
        setRowShown(row, show);
        if (!show)
            return;
        placeRow(row, y);
        y += kRowStep;
    };
    for (const char* n :
         {"LoRa_Network_Type", "LoRa_Adaptive_DataRate", "LoRa_DataRate", "LoRa_Transmission_Type",
          "LoRa_Payload_Size", "LoRa_JoinEUI", "LoRa_Activation_Method"})
        next(n);
    const bool abp = CB_LoRa_Activation_Method->currentIndex() == 0;
    next("LoRa_Device_Address", abp);
    next("LoRa_Network_Session_Key", abp);
    next("LoRa_Application_Session_Key", abp);
    next("LoRa_Application_Key", !abp);
    next("LoRa_FPort");
    const ParGenRow& lnCheck = *findRow(id, "LoRa_LNCHECK");
    next("LoRa_LNCHECK");
    fitPanelHeight(id, lnCheck.label->geometry().bottom() + 1);
}

void TFParGen::RePosition_Object_S7_Protocol()
{
    ensurePanel(PanelId::S7_Protocol);
    stackRows(PanelId::S7_Protocol, 12);
    const bool enabled = !cableDhcp();
    for (const ParGenRow& row : rows(PanelId::S7_Protocol))
        setOctetsEnabled(row, enabled);
}

// ---- The panels of the other models --------------------------------------------------------

void TFParGen::RePosition_Object_Ethernet() { repositionPanel(PanelId::Ethernet); }
void TFParGen::RePosition_Object_Modbus_Master() { repositionPanel(PanelId::Modbus_Master); }
void TFParGen::RePosition_Object_Modbus_Slave() { repositionPanel(PanelId::Modbus_Slave); }
void TFParGen::RePosition_Object_Modbus_TCP_Master()
{
    repositionPanel(PanelId::Modbus_TCP_Master);
}
void TFParGen::RePosition_Object_Modbus_TCP_Slave() { repositionPanel(PanelId::Modbus_TCP_Slave); }
void TFParGen::RePosition_Object_Serial() { repositionPanel(PanelId::Serial); }
void TFParGen::RePosition_Object_MBus() { repositionPanel(PanelId::MBus); }
void TFParGen::RePosition_Object_wMBus() { repositionPanel(PanelId::wMBus); }
void TFParGen::RePosition_Object_BACnet_Master() { repositionPanel(PanelId::BACnet_Master); }
void TFParGen::RePosition_Object_BACnet_Slave() { repositionPanel(PanelId::BACnet_Slave); }
void TFParGen::RePosition_Object_CAN() { repositionPanel(PanelId::CAN); }
void TFParGen::RePosition_Object_CANopen() { repositionPanel(PanelId::CANopen); }
void TFParGen::RePosition_Object_DeviceNet_Master() { repositionPanel(PanelId::DeviceNet_Master); }
void TFParGen::RePosition_Object_DeviceNet_Slave() { repositionPanel(PanelId::DeviceNet_Slave); }
void TFParGen::RePosition_Object_DMX() { repositionPanel(PanelId::DMX); }
void TFParGen::RePosition_Object_EtherNetIP_Master()
{
    repositionPanel(PanelId::EtherNetIP_Master);
}
void TFParGen::RePosition_Object_EtherNetIP() { repositionPanel(PanelId::EtherNetIP); }
void TFParGen::RePosition_Object_J1939() { repositionPanel(PanelId::J1939); }
void TFParGen::RePosition_Object_KNX() { repositionPanel(PanelId::KNX); }
void TFParGen::RePosition_Object_NMEA2000() { repositionPanel(PanelId::NMEA2000); }
void TFParGen::RePosition_Object_PROFIBUS() { repositionPanel(PanelId::PROFIBUS); }
void TFParGen::RePosition_Object_PROFINET() { repositionPanel(PanelId::PROFINET); }
void TFParGen::RePosition_Object_IEC61850_Client() { repositionPanel(PanelId::IEC61850_Client); }
void TFParGen::RePosition_Object_IEC61850_Server() { repositionPanel(PanelId::IEC61850_Server); }
void TFParGen::RePosition_Object_TLS_Server() { repositionPanel(PanelId::TLS_Server); }
void TFParGen::RePosition_Object_NTP() { repositionPanel(PanelId::NTP); }
void TFParGen::RePosition_Object_MQTT() { repositionPanel(PanelId::MQTT); }
void TFParGen::RePosition_Object_TLS() { repositionPanel(PanelId::TLS); }
void TFParGen::RePosition_Object_OPC_UA_Client() { repositionPanel(PanelId::OPC_UA_Client); }
void TFParGen::RePosition_Object_OPC_UA_Server() { repositionPanel(PanelId::OPC_UA_Server); }
void TFParGen::RePosition_Object_SNMP_Manager() { repositionPanel(PanelId::SNMP_Manager); }
void TFParGen::RePosition_Object_SNMP_Agent() { repositionPanel(PanelId::SNMP_Agent); }
void TFParGen::RePosition_Object_WiFi() { repositionPanel(PanelId::WiFi); }

// ---- Models --------------------------------------------------------------------------------

void TFParGen::hideAllPanels()
{
    for (CategoryPanel* p : m_panels)
        if (p)
            p->hide();
}

void TFParGen::Order_TAB_Panels()
{
    // The build's model is a constant of the build.
    Order_TAB_Panels_K4R89();
}

void TFParGen::Move_GroupBoxs() { RePosition_Objects_K4R89(); }

void TFParGen::orderPanelsOf(const char* modelCode)
{
    const ModelDef* model = findModel(modelCode);
    Q_ASSERT(model);
    QList<PanelId> ids = {PanelId::Ethernet_Connection, PanelId::LoRa};
    for (PanelId id : model->furtherPanels)
        ids.append(id);
    // Built in design order, which is the order of the tab chain through their fields.
    QList<PanelId> byDesign = ids;
    std::sort(byDesign.begin(), byDesign.end());
    for (PanelId id : byDesign)
        ensurePanel(id);

    const bool bacnetModel = std::strcmp(modelCode, "K4R66") == 0
                             || std::strcmp(modelCode, "K4R67") == 0;
    const bool bacnetIp = bacnetModel
                          && findChild<QComboBox*>(std::strcmp(modelCode, "K4R66") == 0
                                                       ? QStringLiteral("CB_BACnet_Master_Type")
                                                       : QStringLiteral("CB_BACnet_Slave_Type"))
                                     ->currentIndex()
                                 == 0;
    // The CANopen model has always numbered its first two panels alike.
    const bool canopenTabs = std::strcmp(modelCode, "K4R70") == 0;

    QList<CategoryPanel*> order;
    QWidget* previous = nullptr;
    for (int n = 0; n < ids.size(); ++n) {
        CategoryPanel* p = panel(ids[n]);
        const bool show = !(bacnetIp && ids[n] == PanelId::Ethernet);
        p->setVisible(show);
        p->setCaption(QStringLiteral("%1. ").arg(n + 1)
                      + programState().lang(panelDef(ids[n]).captionText));
        p->setTabOrderValue(canopenTabs ? std::max(0, n - 1) : n);
        if (previous)
            QWidget::setTabOrder(previous, p);
        previous = p;
        order.append(p);
    }
    CPG->setPanelOrder(order);
}

void TFParGen::repositionPanelsOf(const char* modelCode)
{
    const ModelDef* model = findModel(modelCode);
    Q_ASSERT(model);
    RePosition_Object_Ethernet_Connection();
    RePosition_Object_LoRa();
    for (PanelId id : model->furtherPanels) {
        switch (id) {
        case PanelId::S7_Protocol: RePosition_Object_S7_Protocol(); break;
        default: repositionPanel(id); break;
        }
    }
    if (std::strcmp(modelCode, "K4R66") == 0 || std::strcmp(modelCode, "K4R67") == 0) {
        const bool master = std::strcmp(modelCode, "K4R66") == 0;
        const auto* type = findChild<QComboBox*>(master ? QStringLiteral("CB_BACnet_Master_Type")
                                                        : QStringLiteral("CB_BACnet_Slave_Type"));
        panel(PanelId::Ethernet)->setVisible(type->currentIndex() != 0);
    }
    CPG->arrange();
}

void TFParGen::Order_TAB_Panels_K4R51() { orderPanelsOf("K4R51"); }
void TFParGen::Order_TAB_Panels_K4R52() { orderPanelsOf("K4R52"); }
void TFParGen::Order_TAB_Panels_K4R53() { orderPanelsOf("K4R53"); }
void TFParGen::Order_TAB_Panels_K4R54() { orderPanelsOf("K4R54"); }
void TFParGen::Order_TAB_Panels_K4R55() { orderPanelsOf("K4R55"); }
void TFParGen::Order_TAB_Panels_K4R65() { orderPanelsOf("K4R65"); }
void TFParGen::Order_TAB_Panels_K4R66() { orderPanelsOf("K4R66"); }
void TFParGen::Order_TAB_Panels_K4R67() { orderPanelsOf("K4R67"); }
void TFParGen::Order_TAB_Panels_K4R68() { orderPanelsOf("K4R68"); }
void TFParGen::Order_TAB_Panels_K4R69() { orderPanelsOf("K4R69"); }
void TFParGen::Order_TAB_Panels_K4R70() { orderPanelsOf("K4R70"); }
void TFParGen::Order_TAB_Panels_K4R71() { orderPanelsOf("K4R71"); }
void TFParGen::Order_TAB_Panels_K4R72() { orderPanelsOf("K4R72"); }
void TFParGen::Order_TAB_Panels_K4R73() { orderPanelsOf("K4R73"); }
void TFParGen::Order_TAB_Panels_K4R74() { orderPanelsOf("K4R74"); }
void TFParGen::Order_TAB_Panels_K4R75() { orderPanelsOf("K4R75"); }
void TFParGen::Order_TAB_Panels_K4R76() { orderPanelsOf("K4R76"); }
void TFParGen::Order_TAB_Panels_K4R77() { orderPanelsOf("K4R77"); }
void TFParGen::Order_TAB_Panels_K4R79() { orderPanelsOf("K4R79"); }
void TFParGen::Order_TAB_Panels_K4R81() { orderPanelsOf("K4R81"); }
void TFParGen::Order_TAB_Panels_K4R83() { orderPanelsOf("K4R83"); }
void TFParGen::Order_TAB_Panels_K4R84() { orderPanelsOf("K4R84"); }
void TFParGen::Order_TAB_Panels_K4R85() { orderPanelsOf("K4R85"); }
void TFParGen::Order_TAB_Panels_K4R86() { orderPanelsOf("K4R86"); }
void TFParGen::Order_TAB_Panels_K4R87() { orderPanelsOf("K4R87"); }
void TFParGen::Order_TAB_Panels_K4R88() { orderPanelsOf("K4R88"); }
void TFParGen::Order_TAB_Panels_K4R89() { orderPanelsOf("K4R89"); }
void TFParGen::Order_TAB_Panels_K4R90() { orderPanelsOf("K4R90"); }
void TFParGen::Order_TAB_Panels_K4R91() { orderPanelsOf("K4R91"); }

void TFParGen::RePosition_Objects_K4R51() { repositionPanelsOf("K4R51"); }
void TFParGen::RePosition_Objects_K4R52() { repositionPanelsOf("K4R52"); }
void TFParGen::RePosition_Objects_K4R53() { repositionPanelsOf("K4R53"); }
void TFParGen::RePosition_Objects_K4R54() { repositionPanelsOf("K4R54"); }
void TFParGen::RePosition_Objects_K4R55() { repositionPanelsOf("K4R55"); }
void TFParGen::RePosition_Objects_K4R65() { repositionPanelsOf("K4R65"); }
void TFParGen::RePosition_Objects_K4R66() { repositionPanelsOf("K4R66"); }
void TFParGen::RePosition_Objects_K4R67() { repositionPanelsOf("K4R67"); }
void TFParGen::RePosition_Objects_K4R68() { repositionPanelsOf("K4R68"); }
void TFParGen::RePosition_Objects_K4R69() { repositionPanelsOf("K4R69"); }
void TFParGen::RePosition_Objects_K4R70() { repositionPanelsOf("K4R70"); }
void TFParGen::RePosition_Objects_K4R71() { repositionPanelsOf("K4R71"); }
void TFParGen::RePosition_Objects_K4R72() { repositionPanelsOf("K4R72"); }
void TFParGen::RePosition_Objects_K4R73() { repositionPanelsOf("K4R73"); }
void TFParGen::RePosition_Objects_K4R74() { repositionPanelsOf("K4R74"); }
void TFParGen::RePosition_Objects_K4R75() { repositionPanelsOf("K4R75"); }
void TFParGen::RePosition_Objects_K4R76() { repositionPanelsOf("K4R76"); }
void TFParGen::RePosition_Objects_K4R77() { repositionPanelsOf("K4R77"); }
void TFParGen::RePosition_Objects_K4R79() { repositionPanelsOf("K4R79"); }
void TFParGen::RePosition_Objects_K4R81() { repositionPanelsOf("K4R81"); }
void TFParGen::RePosition_Objects_K4R83() { repositionPanelsOf("K4R83"); }
void TFParGen::RePosition_Objects_K4R84() { repositionPanelsOf("K4R84"); }
void TFParGen::RePosition_Objects_K4R85() { repositionPanelsOf("K4R85"); }
void TFParGen::RePosition_Objects_K4R86() { repositionPanelsOf("K4R86"); }
void TFParGen::RePosition_Objects_K4R87() { repositionPanelsOf("K4R87"); }
void TFParGen::RePosition_Objects_K4R88() { repositionPanelsOf("K4R88"); }
void TFParGen::RePosition_Objects_K4R89() { repositionPanelsOf("K4R89"); }
void TFParGen::RePosition_Objects_K4R90() { repositionPanelsOf("K4R90"); }
void TFParGen::RePosition_Objects_K4R91() { repositionPanelsOf("K4R91"); }

}  // namespace zfw
