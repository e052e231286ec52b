#include "config/UParGenPanels.h"

#include <QResizeEvent>
#include <QScrollBar>
#include <QToolButton>

#include <cstring>

namespace zfw {

// ---- CategoryPanel -------------------------------------------------------------------------

CategoryPanel::CategoryPanel(const QString& objectName, QWidget* parent) : QWidget(parent)
{
    setObjectName(objectName);
    m_header = new QToolButton(this);
    m_header->setObjectName(objectName + QStringLiteral("_Header"));
    m_header->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_header->setArrowType(Qt::DownArrow);
    m_header->setAutoRaise(true);
    m_header->setFocusPolicy(Qt::NoFocus);
    m_header->setStyleSheet(
        QStringLiteral("QToolButton { font-weight: bold; text-align: left; background: #e4e2d4;"
                       " border: 1px solid #c8c5b4; padding-left: 4px; }"));
    m_body = new QWidget(this);
    m_body->setObjectName(objectName + QStringLiteral("_Body"));
    connect(m_header, &QToolButton::clicked, this, [this] { setCollapsed(!m_collapsed); });
    applyHeight();
}

QString CategoryPanel::caption() const { return m_header->text(); }

void CategoryPanel::setCaption(const QString& caption) { m_header->setText(caption); }

void CategoryPanel::setPanelHeight(int height)
{
    m_panelHeight = std::max(height, kHeaderHeight);
    applyHeight();
}

void CategoryPanel::setCollapsed(bool collapsed)
{
    if (m_collapsed == collapsed)
        return;
    m_collapsed = collapsed;
    m_header->setArrowType(collapsed ? Qt::RightArrow : Qt::DownArrow);
    applyHeight();
}

void CategoryPanel::applyHeight()
{
    m_body->setVisible(!m_collapsed);
    emit geometryWanted();
}

int CategoryPanel::placeAt(int y, int width)
{
    const int h = m_collapsed ? kHeaderHeight : m_panelHeight;
    setGeometry(0, y, width, h);
    m_header->setGeometry(0, 0, width, kHeaderHeight);
    m_body->setGeometry(0, kHeaderHeight, width, m_panelHeight - kHeaderHeight);
    return h;
}

// ---- CategoryPanelGroup --------------------------------------------------------------------

CategoryPanelGroup::CategoryPanelGroup(QWidget* parent) : QScrollArea(parent)
{
    setObjectName(QStringLiteral("CPG"));
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setWidgetResizable(false);
    m_canvas = new QWidget;
    m_canvas->setObjectName(QStringLiteral("CPG_Canvas"));
    setWidget(m_canvas);
    verticalScrollBar()->setTracking(true);
    verticalScrollBar()->setSingleStep(12);
}

void CategoryPanelGroup::setPanelOrder(QList<CategoryPanel*> order)
{
    m_order = std::move(order);
    for (CategoryPanel* p : m_order)
        connect(p, &CategoryPanel::geometryWanted, this, &CategoryPanelGroup::arrange,
                Qt::UniqueConnection);
    arrange();
}

QList<CategoryPanel*> CategoryPanelGroup::shownPanels() const
{
    QList<CategoryPanel*> shown;
    for (CategoryPanel* p : m_order)
        if (!p->isHidden())
            shown.append(p);
    return shown;
}

void CategoryPanelGroup::arrange()
{
    // The canvas leaves room for the scroll bar so that panels never change width when it
    // appears.
    const int width = viewport()->width() > 0 && verticalScrollBar()->isVisible()
                          ? viewport()->width()
                          : this->width() - verticalScrollBar()->sizeHint().width();
    int y = 0;
    for (CategoryPanel* p : shownPanels())
        y += p->placeAt(y, width);
    m_canvas->resize(width, std::max(y, 1));
}

void CategoryPanelGroup::scrollLines(int lines)
{
    QScrollBar* bar = verticalScrollBar();
    const auto action = lines > 0 ? QAbstractSlider::SliderSingleStepSub
                                  : QAbstractSlider::SliderSingleStepAdd;
    for (int i = 0; i < std::abs(lines); ++i)
        bar->triggerAction(action);
}

void CategoryPanelGroup::resizeEvent(QResizeEvent* event)
{
    QScrollArea::resizeEvent(event);
    arrange();
}

// ---- Panel and model tables ---------------------------------------------------------------

namespace {

using K = RowKind;

// Every octet block takes its label and hints in a run of five numbers (six for the gateway
// row: caption, box hint and four octet hints); the rows of the other models' panels take
// their texts from the panel's language block in row order.
constexpr PanelRow kEthernet[] = {
    {K::Octets, "Ethernet_IP", 437, 438},      {K::Octets, "Ethernet_SM", 442, 443},
    {K::GateOctets, "Ethernet_GAT", 447, 448}, {K::Edit, "Ethernet_TCP_Port", 459, 460},
    {K::Edit, "Ethernet_UDP_Port", 461, 462},
};

constexpr PanelRow kModbusMaster[] = {
    {K::List, "Modbus_Master_Serial", 659, 660},  {K::List, "Modbus_Master_Baud_Rate", 661, 662},
    {K::List, "Modbus_Master_Parity", 663, 664},  {K::List, "Modbus_Master_Stop_Bits", 665, 666},
    {K::Edit, "Modbus_Master_TimeOut", 667, 668}, {K::Edit, "Modbus_Master_Cyclic_Delay", 669, 670},
};

constexpr PanelRow kModbusSlave[] = {
    {K::List, "Modbus_Slave_Serial", 424, 425},
    {K::List, "Modbus_Slave_Baud_Rate", 426, 427},
    {K::List, "Modbus_Slave_Parity", 428, 429},
    {K::List, "Modbus_Slave_Stop_Bits", 430, 431},
    {K::Edit, "Modbus_Slave_Device_ID", 432, 433},
    {K::Check, "Modbus_Slave_Read_Input_Register", 434, 435},
};

constexpr PanelRow kModbusTcpMaster[] = {
    {K::Octets, "Modbus_TCP_Master_IP", 675, 676},
    {K::Octets, "Modbus_TCP_Master_SM", 680, 681},
    {K::GateOctets, "Modbus_TCP_Master_GAT", 685, 686},
    {K::Edit, "Modbus_TCP_Master_TimeOut", 691, 692},
    {K::Edit, "Modbus_TCP_Master_Cyclic_Delay", 693, 694},
};

constexpr PanelRow kModbusTcpSlave[] = {
    {K::Octets, "Modbus_TCP_Slave_IP", 710, 711},
    {K::Octets, "Modbus_TCP_Slave_SM", 715, 716},
    {K::GateOctets, "Modbus_TCP_Slave_GAT", 720, 721},
    {K::Edit, "Modbus_TCP_Slave_Port", 726, 727},
    {K::Check, "Modbus_TCP_Slave_Read_Input_Register", 2894, 2895},
};

constexpr PanelRow kSerial[] = {
    {K::List, "Serial_Serial", 742, 743},
    {K::List, "Serial_Baud_Rate", 744, 745},
    {K::List, "Serial_Parity", 746, 747},
    {K::List, "Serial_Stop_Bits", 748, 749},
};

constexpr PanelRow kMBus[] = {
    {K::List, "MBus_OnWire_Present", 632, 635, nullptr, 633, 2},
    {K::List, "MBus_Baud_Rate", 636, 637},
    {K::List, "MBus_Parity", 638, 639},
    {K::Edit, "MBus_Cyclic_Delay", 640, 641},
    {K::List, "MBus_Node_State", 642, 643},
    {K::List, "MBus_C_Field", 655, 656},
};

constexpr PanelRow kWMBus[] = {
    {K::List, "wMBus_Wireless_Present", 645, 648, nullptr, 646, 2},
    {K::List, "wMBus_Mode", 649, 650},
    {K::List, "wMBus_Radio_Channel", 651, 652},
};

constexpr char kBACnetTypes[] = "BACnet/IP|BACnet MS/TP";

// The BACnet panels: the type list, the IP rows, then the MS/TP rows; the layout shows one
// group or the other.
constexpr PanelRow kBACnetMaster[] = {
    {K::List, "BACnet_Master_Type", 506, 507, kBACnetTypes},
    {K::Octets, "BACnet_Master_IP", 508, 509},
    {K::Octets, "BACnet_Master_SM", 513, 514},
    {K::GateOctets, "BACnet_Master_GAT", 518, 519},
    {K::Edit, "BACnet_Master_Port", 524, 525},
    {K::Edit, "BACnet_Master_Device_Name", 526, 527},
    {K::Edit, "BACnet_Master_Identifier", 528, 529},
    {K::Edit, "BACnet_Master_Polling_TimeOut", 530, 531},
    {K::List, "BACnet_Master_MSTP_Baud_Rate", 532, 533},
    {K::List, "BACnet_Master_MSTP_Parity", 534, 535},
    {K::Edit, "BACnet_Master_MSTP_Device_Name", 536, 537},
    {K::Edit, "BACnet_Master_MSTP_MAC_Address", 538, 539},
    {K::Edit, "BACnet_Master_MSTP_Max_Master", 540, 541},
    {K::Edit, "BACnet_Master_MSTP_Max_Info_Frames", 542, 543},
    {K::Edit, "BACnet_Master_MSTP_Device_Instance", 544, 545},
};

constexpr PanelRow kBACnetSlave[] = {
    {K::List, "BACnet_Slave_Type", 547, 548, kBACnetTypes},
    {K::Octets, "BACnet_Slave_IP", 549, 550},
    {K::Octets, "BACnet_Slave_SM", 554, 555},
    {K::GateOctets, "BACnet_Slave_GAT", 559, 560},
    {K::Edit, "BACnet_Slave_Port", 565, 566},
    {K::Edit, "BACnet_Slave_Device_Name", 567, 568},
    {K::Edit, "BACnet_Slave_Identifier", 569, 570},
    {K::List, "BACnet_Slave_MSTP_Baud_Rate", 571, 572},
    {K::List, "BACnet_Slave_MSTP_Parity", 573, 574},
    {K::Edit, "BACnet_Slave_MSTP_Device_Name", 575, 576},
    {K::Edit, "BACnet_Slave_MSTP_MAC_Address", 577, 578},
    {K::Edit, "BACnet_Slave_MSTP_Max_Master", 579, 580},
    {K::Edit, "BACnet_Slave_MSTP_Max_Info_Frames", 581, 582},
    {K::Edit, "BACnet_Slave_MSTP_Device_Instance", 583, 584},
    {K::Edit, "BACnet_Slave_MSTP_Network", 585, 586},
    {K::Check, "BACnet_Slave_Description_32", 587, 588},
};

constexpr PanelRow kCAN[] = {{K::List, "CAN_Baud_Rate", 752, 753}};

constexpr PanelRow kCANopen[] = {
    {K::Edit, "CANopen_Device_ID", 755, 756},      {K::List, "CANopen_Baud_Rate", 757, 758},
    {K::Edit, "CANopen_SDO_TimeOut", 759, 760},    {K::Check, "CANopen_Set_Operational", 761, 762},
    {K::Check, "CANopen_Network_Start", 763, 764}, {K::Edit, "CANopen_Network_Start_Delay", 765, 0},
};

constexpr PanelRow kDeviceNetMaster[] = {
    {K::Edit, "DeviceNet_Master_Device_ID", 770, 771},
    {K::List, "DeviceNet_Master_Baud_Rate", 772, 773},
};

constexpr PanelRow kDeviceNetSlave[] = {
    {K::Edit, "DeviceNet_Slave_Device_ID", 776, 777},
    {K::List, "DeviceNet_Slave_Baud_Rate", 778, 779},
    {K::Edit, "DeviceNet_Slave_Bytes_In", 780, 781},
    {K::Edit, "DeviceNet_Slave_Bytes_Out", 782, 783},
};

constexpr PanelRow kDMX[] = {
    {K::List, "DMX_Type", 788, 789},
    {K::Edit, "DMX_Num_Channels", 790, 791},
};

constexpr PanelRow kEtherNetIPMaster[] = {
    {K::Octets, "EtherNetIP_Master_IP", 794, 795},
    {K::Octets, "EtherNetIP_Master_SM", 799, 800},
    {K::GateOctets, "EtherNetIP_Master_GAT", 804, 805},
    {K::Edit, "EtherNetIP_Master_Port", 810, 811},
};

constexpr PanelRow kEtherNetIP[] = {
    {K::Octets, "EtherNetIP_IP", 825, 826},      {K::Octets, "EtherNetIP_SM", 830, 831},
    {K::GateOctets, "EtherNetIP_GAT", 835, 836}, {K::Edit, "EtherNetIP_Tunnel_Port", 841, 842},
    {K::Edit, "EtherNetIP_Bytes_In", 843, 844},  {K::Edit, "EtherNetIP_Bytes_Out", 845, 846},
};

constexpr PanelRow kJ1939[] = {
    {K::List, "J1939_Baud_Rate", 867, 868},
    {K::Edit, "J1939_TimeOut", 869, 870},
    {K::Check, "J1939_Peer_To_Peer", 871, 872},
    {K::Edit, "J1939_Device_ID", 873, 874},
};

constexpr PanelRow kKNX[] = {
    {K::List, "KNX_Type", 878, 879},
    {K::Edit, "KNX_Device_ID", 880, 881},
};

constexpr PanelRow kNMEA2000[] = {
    {K::List, "NMEA2000_Baud_Rate", 884, 885},
    {K::Edit, "NMEA2000_TimeOut", 886, 887},
    {K::Check, "NMEA2000_Peer_To_Peer", 888, 889},
};

constexpr PanelRow kPROFIBUS[] = {
    {K::Edit, "PROFIBUS_Device_ID", 892, 893},
    {K::List, "PROFIBUS_Baud_Rate", 894, 895},
    {K::Edit, "PROFIBUS_Bytes_In", 896, 897},
    {K::Edit, "PROFIBUS_Bytes_Out", 898, 899},
};

constexpr PanelRow kPROFINET[] = {
    {K::Octets, "PROFINET_IP", 904, 905},           {K::Octets, "PROFINET_SM", 909, 910},
    {K::GateOctets, "PROFINET_GAT", 914, 915},      {K::Edit, "PROFINET_Station_Name", 920, 921},
    {K::Edit, "PROFINET_Tunnel_Port", 922, 923},    {K::Edit, "PROFINET_Bytes_In", 924, 925},
    {K::Edit, "PROFINET_Bytes_Out", 926, 927},      {K::Check, "PROFINET_Diagnostic", 928, 929},
    {K::Edit, "PROFINET_Diagnostic_Value", 930, 0},
};

constexpr PanelRow kIEC61850Client[] = {
    {K::Octets, "IEC61850_Client_IP", 948, 949},      {K::Octets, "IEC61850_Client_SM", 953, 954},
    {K::GateOctets, "IEC61850_Client_GAT", 958, 959}, {K::Edit, "IEC61850_Client_VLAN", 964, 965},
    {K::Edit, "IEC61850_Client_App_ID", 966, 967},
};

constexpr PanelRow kIEC61850Server[] = {
    {K::Octets, "IEC61850_Server_IP", 2501, 2502},
    {K::Octets, "IEC61850_Server_SM", 2506, 2507},
    {K::GateOctets, "IEC61850_Server_GAT", 2511, 2512},
    {K::Edit, "IEC61850_Server_Port", 2517, 2518},
    {K::Edit, "IEC61850_Server_Password", 2519, 2520},
};

constexpr PanelRow kTLSServer[] = {
    {K::Check, "TLS_Server_Enable", 2545, 2546},
    {K::Edit, "TLS_Server_Key", 2547, 2548},
    {K::Edit, "TLS_Server_Key_Password", 2549, 2550},
    {K::Edit, "TLS_Server_Certificate", 2551, 2552},
    {K::Edit, "TLS_Server_Root_Certificate", 2553, 2554},
    {K::Check, "TLS_Server_Known_Certificates", 2555, 2556},
};

constexpr PanelRow kNTP[] = {
    {K::Edit, "NTP_Server", 2558, 2559},
    {K::Edit, "NTP_Poll_Time", 2560, 2561},
};

constexpr PanelRow kMQTT[] = {
    {K::Edit, "MQTT_Server", 2564, 2565},
    {K::Edit, "MQTT_Port", 2566, 2567},
    {K::Edit, "MQTT_Client_ID", 2568, 2569},
    {K::Edit, "MQTT_Keep_Alive", 2570, 2571},
    {K::Check, "MQTT_Clean_Session", 2572, 2573},
    {K::Check, "MQTT_WillFlag", 2574, 2575},
    {K::Edit, "MQTT_Will_Topic", 2576, 2577},
    {K::Edit, "MQTT_Will_Message", 2578, 2579},
    {K::Check, "MQTT_Will_Retained", 2580, 2581},
    {K::List, "MQTT_Will_QoS", 2582, 2583, "0|1|2"},
    {K::Check, "MQTT_PublishTopicConnection", 2896, 2897},
    {K::Edit, "MQTT_Connection_Topic", 2898, 2899},
    {K::Edit, "MQTT_Connection_Message", 2900, 2901},
    {K::Check, "MQTT_Connection_Retained", 2902, 2903},
    {K::Edit, "MQTT_User_Name", 2584, 2585},
    {K::Edit, "MQTT_Password", 2586, 2587},
    {K::Edit, "MQTT_Send_Time", 2588, 2589},
};

constexpr PanelRow kTLS[] = {
    {K::Check, "TLS_Enable", 2693, 2694},
    {K::Check, "TLS_En_Server_Auth", 2695, 2696},
    {K::Edit, "TLS_Server_Certificate_File", 2697, 2698},
    {K::Check, "TLS_En_Client_Auth", 2699, 2700},
    {K::Edit, "TLS_Client_Certificate_File", 2701, 2702},
    {K::Edit, "TLS_Client_Key_File", 2703, 2704},
    {K::Edit, "TLS_Client_Key_Password", 2705, 2706},
};

constexpr PanelRow kOPCUAClient[] = {
    {K::Octets, "OPC_UA_Client_IP", 2708, 2709},
    {K::Octets, "OPC_UA_Client_SM", 2713, 2714},
    {K::GateOctets, "OPC_UA_Client_GAT", 2718, 2719},
};

constexpr PanelRow kOPCUAServer[] = {
    {K::Octets, "OPC_UA_Server_IP", 2747, 2748},
    {K::Octets, "OPC_UA_Server_SM", 2752, 2753},
    {K::GateOctets, "OPC_UA_Server_GAT", 2757, 2758},
    {K::Edit, "OPC_UA_Server_Port", 2769, 2770},
};

constexpr PanelRow kSNMPManager[] = {
    {K::Octets, "SNMP_Manager_IP", 2814, 2815},
    {K::Octets, "SNMP_Manager_SM", 2819, 2820},
    {K::GateOctets, "SNMP_Manager_GAT", 2824, 2825},
    {K::Edit, "SNMP_Manager_Station_Name", 2830, 0},
};

constexpr char kSNMPSecurityLevels[] =
    "NoAuthority NoPrivacy|Authority NoPrivacy|Authority Privacy";

constexpr PanelRow kSNMPAgent[] = {
    {K::Octets, "SNMP_Agent_IP", 2844, 2845},
    {K::Octets, "SNMP_Agent_SM", 2849, 2850},
    {K::GateOctets, "SNMP_Agent_GAT", 2854, 2855},
    {K::Edit, "SNMP_Agent_Station_Name", 2860, 2861},
    {K::Edit, "SNMP_Agent_Contact", 2862, 2863},
    {K::Edit, "SNMP_Agent_Location", 2864, 2865},
    {K::Check, "SNMP_Agent_Version1", 2866, 2867},
    {K::Check, "SNMP_Agent_Version2", 2868, 2869},
    {K::Check, "SNMP_Agent_Version3", 2870, 2871},
    {K::Edit, "SNMP_Agent_User", 2872, 2873},
    {K::List, "SNMP_Agent_SecurityLevel", 2874, 2875, kSNMPSecurityLevels},
    {K::Edit, "SNMP_Agent_Authority_Password", 2876, 2877},
    {K::List, "SNMP_Agent_Authority_Mode", 2878, 2879},
    {K::Edit, "SNMP_Agent_Privacy_Password", 2880, 2881},
    {K::List, "SNMP_Agent_Privacy_Mode", 0, 0},
};

constexpr PanelRow kWiFi[] = {
    {K::List, "WiFi_Type", 2591, 2596, nullptr, 2593, 3},
    {K::Edit, "WiFi_SSID", 2597, 2598},
    {K::Edit, "WiFi_Password", 2599, 2600},
    {K::Check, "WiFi_IP_Auto", 2601, 2602},
    {K::Octets, "WiFi_IP", 2603, 2604},
    {K::Octets, "WiFi_SM", 2608, 2609},
    {K::GateOctets, "WiFi_GAT", 2613, 2614},
    {K::List, "WiFi_Secure_Type", 2628, 2629, nullptr, 2630, 4},
    {K::Check, "WiFi_En_DHCP", 2634, 2635},
    {K::Edit, "WiFi_DHCP_Start", 2636, 2637},
    {K::Edit, "WiFi_DHCP_End", 2638, 2639},
    {K::List, "WiFi_Channel", 2652, 2653, nullptr, 2654, 12},
};

using P = PanelId;

constexpr PanelDef kPanels[] = {
    {P::Ethernet_Connection, "Ethernet_Connection", 2906, {}},
    {P::LoRa, "LoRa", 406, {}},
    {P::S7_Protocol, "S7_Protocol", 2784, {}},
    {P::Ethernet, "Ethernet", 436, kEthernet},
    {P::Modbus_Master, "Modbus_Master", 658, kModbusMaster},
    {P::Modbus_Slave, "Modbus_Slave", 423, kModbusSlave},
    {P::Modbus_TCP_Master, "Modbus_TCP_Master", 674, kModbusTcpMaster},
    {P::Modbus_TCP_Slave, "Modbus_TCP_Slave", 709, kModbusTcpSlave},
    {P::Serial, "Serial", 741, kSerial},
    {P::MBus, "MBus", 631, kMBus},
    {P::wMBus, "wMBus", 644, kWMBus},
    {P::BACnet_Master, "BACnet_Master", 505, kBACnetMaster},
    {P::BACnet_Slave, "BACnet_Slave", 546, kBACnetSlave},
    {P::CAN, "CAN", 751, kCAN},
    {P::CANopen, "CANopen", 754, kCANopen},
    {P::DeviceNet_Master, "DeviceNet_Master", 769, kDeviceNetMaster},
    {P::DeviceNet_Slave, "DeviceNet_Slave", 775, kDeviceNetSlave},
    {P::DMX, "DMX", 787, kDMX},
    {P::EtherNetIP_Master, "EtherNetIP_Master", 793, kEtherNetIPMaster},
    {P::EtherNetIP, "EtherNetIP", 824, kEtherNetIP},
    {P::J1939, "J1939", 866, kJ1939},
    {P::KNX, "KNX", 877, kKNX},
    {P::NMEA2000, "NMEA2000", 883, kNMEA2000},
    {P::PROFIBUS, "PROFIBUS", 891, kPROFIBUS},
    {P::PROFINET, "PROFINET", 903, kPROFINET},
    {P::IEC61850_Client, "IEC61850_Client", 947, kIEC61850Client},
    {P::IEC61850_Server, "IEC61850_Server", 2500, kIEC61850Server},
    {P::TLS_Server, "TLS_Server", 2544, kTLSServer},
    {P::NTP, "NTP", 2557, kNTP},
    {P::MQTT, "MQTT", 2563, kMQTT},
    {P::TLS, "TLS", 2692, kTLS},
    {P::OPC_UA_Client, "OPC_UA_Client", 2707, kOPCUAClient},
    {P::OPC_UA_Server, "OPC_UA_Server", 2746, kOPCUAServer},
    {P::SNMP_Manager, "SNMP_Manager", 2813, kSNMPManager},
    {P::SNMP_Agent, "SNMP_Agent", 2843, kSNMPAgent},
    {P::WiFi, "WiFi", 0, kWiFi},
};
static_assert(std::size(kPanels) == kPanelCount);

constexpr P kR51[] = {P::Modbus_Master, P::Ethernet};
constexpr P kR52[] = {P::Modbus_Slave, P::Ethernet};
constexpr P kR53[] = {P::Modbus_TCP_Master};
constexpr P kR54[] = {P::Modbus_TCP_Slave};
constexpr P kR55[] = {P::Serial, P::Ethernet};
constexpr P kR65[] = {P::MBus, P::wMBus, P::Ethernet};
constexpr P kR66[] = {P::BACnet_Master, P::Ethernet};
constexpr P kR67[] = {P::BACnet_Slave, P::Ethernet};
constexpr P kR68[] = {P::Ethernet};
constexpr P kR69[] = {P::CAN, P::Ethernet};
constexpr P kR70[] = {P::CANopen, P::Ethernet};
constexpr P kR71[] = {P::DeviceNet_Master, P::Ethernet};
constexpr P kR72[] = {P::DeviceNet_Slave, P::Ethernet};
constexpr P kR73[] = {P::DMX, P::Ethernet};
constexpr P kR74[] = {P::EtherNetIP_Master};
constexpr P kR75[] = {P::EtherNetIP};
constexpr P kR76[] = {P::J1939, P::Ethernet};
constexpr P kR77[] = {P::KNX, P::Ethernet};
constexpr P kR79[] = {P::NMEA2000, P::Ethernet};
constexpr P kR81[] = {P::PROFIBUS, P::Ethernet};
constexpr P kR83[] = {P::PROFINET};
constexpr P kR84[] = {P::IEC61850_Client};
constexpr P kR85[] = {P::IEC61850_Server, P::TLS_Server, P::NTP};
constexpr P kR86[] = {P::MQTT, P::Ethernet, P::TLS, P::NTP};
constexpr P kR87[] = {P::OPC_UA_Client, P::NTP};
constexpr P kR88[] = {P::OPC_UA_Server, P::NTP};
constexpr P kR89[] = {P::S7_Protocol};
constexpr P kR90[] = {P::SNMP_Manager};
constexpr P kR91[] = {P::SNMP_Agent};

constexpr ModelDef kModels[] = {
    {"K4R51", kR51}, {"K4R52", kR52}, {"K4R53", kR53}, {"K4R54", kR54}, {"K4R55", kR55},
    {"K4R65", kR65}, {"K4R66", kR66}, {"K4R67", kR67}, {"K4R68", kR68}, {"K4R69", kR69},
    {"K4R70", kR70}, {"K4R71", kR71}, {"K4R72", kR72}, {"K4R73", kR73}, {"K4R74", kR74},
    {"K4R75", kR75}, {"K4R76", kR76}, {"K4R77", kR77}, {"K4R79", kR79}, {"K4R81", kR81},
    {"K4R83", kR83}, {"K4R84", kR84}, {"K4R85", kR85}, {"K4R86", kR86}, {"K4R87", kR87},
    {"K4R88", kR88}, {"K4R89", kR89}, {"K4R90", kR90}, {"K4R91", kR91},
};
static_assert(std::size(kModels) == 29);

}  // namespace

std::span<const PanelDef> panelDefs() { return kPanels; }

const PanelDef& panelDef(PanelId id) { return kPanels[static_cast<int>(id)]; }

std::span<const ModelDef> modelDefs() { return kModels; }

const ModelDef* findModel(const char* code)
{
    for (const ModelDef& m : kModels)
        if (std::strcmp(m.code, code) == 0)
            return &m;
    return nullptr;
}

}  // namespace zfw
