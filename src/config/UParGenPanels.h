#pragma once
// The category panels of the general-parameters window: a collapsible panel with a header
// caption whose controls sit at fixed positions in its body, the scrolling group that
// stacks them, and the tables that describe the panels of every model of the family.

#include <QScrollArea>
#include <QString>
#include <QWidget>

#include <span>

class QToolButton;

namespace zfw {

// A collapsible panel: a header button with the caption and an arrow, and a body that holds
// the controls at absolute positions. Its height counts the header.
class CategoryPanel final : public QWidget {
    Q_OBJECT
public:
    static constexpr int kHeaderHeight = 24;

    CategoryPanel(const QString& objectName, QWidget* parent);

    QWidget* body() const { return m_body; }
    QString caption() const;
    void setCaption(const QString& caption);

    // Full height when expanded: header plus body.
    int panelHeight() const { return m_panelHeight; }
    void setPanelHeight(int height);

    bool isCollapsed() const { return m_collapsed; }
    void setCollapsed(bool collapsed);

    // Places the panel at y across width; returns the height it takes.
    int placeAt(int y, int width);

    int tabOrderValue() const { return m_tabOrder; }
    void setTabOrderValue(int value) { m_tabOrder = value; }

signals:
    void geometryWanted();

private:
    void applyHeight();

    QToolButton* m_header = nullptr;
    QWidget* m_body = nullptr;
    int m_panelHeight = kHeaderHeight;
    bool m_collapsed = false;
    int m_tabOrder = 0;
};

// The vertically scrolling group: stacks the shown panels in the order it was given, each
// directly below the previous one, across the group's width.
class CategoryPanelGroup final : public QScrollArea {
    Q_OBJECT
public:
    explicit CategoryPanelGroup(QWidget* parent);

    QWidget* canvas() const { return m_canvas; }
    int headerHeight() const { return CategoryPanel::kHeaderHeight; }

    // Order in which shown panels are stacked; panels not listed are not placed.
    void setPanelOrder(QList<CategoryPanel*> order);
    QList<CategoryPanel*> panelOrder() const { return m_order; }
    // The listed panels that are not hidden, top to bottom.
    QList<CategoryPanel*> shownPanels() const;
    void arrange();

    // Scrolls by lines steps of one line each: up for a positive count, down otherwise.
    void scrollLines(int lines);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QWidget* m_canvas = nullptr;
    QList<CategoryPanel*> m_order;
};

// Design geometry of the panel rows, in pixels of the panel body.
namespace parGenLayout {
inline constexpr int kRowStep = 28;       // rows stand 28 pixels apart
inline constexpr int kFieldDrop = 3;      // a field stands 3 pixels above its label
inline constexpr int kGateFieldDrop = 2;  // the gateway octets stand 2 pixels above the box
inline constexpr int kLabelX = 14;
inline constexpr int kFieldX = 191;
inline constexpr int kFieldWidth = 238;
inline constexpr int kOctetWidth = 55;
inline constexpr int kOctetX[4] = {191, 252, 313, 374};
inline constexpr int kFieldHeight = 21;
inline constexpr int kLabelHeight = 15;
inline constexpr int kCheckHeight = 17;
inline constexpr int kLabelWidth = 175;
// Panels are as wide as the group less its scroll bar; check boxes span that width.
inline constexpr int kCheckWidth = 415;
}  // namespace parGenLayout

// ---- Panel and model tables ---------------------------------------------------------------

enum class RowKind {
    Edit,       // label, edit
    List,       // label, drop-down list
    Check,      // check box across the panel
    Octets,     // label and four octet edits
    GateOctets  // "Gateway" check box and four octet edits
};

// One row of a panel. Control names are made from name with the kind prefix: "L_" + name
// and "E_" + name (edit), "L_" + name and "CB_" + name (list), "CB_" + name (check box),
// "E_" + name + "1".."4" (octets).
// caption and hint are language numbers (0: none); the octet edits take hint + 1 .. hint + 4
// after a gateway box, hint .. hint + 3 otherwise.
struct PanelRow {
    RowKind kind;
    const char* name;
    int caption;
    int hint;
    const char* items = nullptr;  // fixed list items, separated by '|'
    int itemTexts = 0;            // first language number of the list items
    int itemCount = 0;
    // Octets: base of the label's name when it differs from name ("L_" + altName);
    // GateOctets: base of the box's name ("CB_" + altName, default name + "_En").
    const char* altName = nullptr;
};

enum class PanelId {
    Ethernet_Connection,
    LoRa,
    S7_Protocol,
    Ethernet,
    Modbus_Master,
    Modbus_Slave,
    Modbus_TCP_Master,
    Modbus_TCP_Slave,
    Serial,
    MBus,
    wMBus,
    BACnet_Master,
    BACnet_Slave,
    CAN,
    CANopen,
    DeviceNet_Master,
    DeviceNet_Slave,
    DMX,
    EtherNetIP_Master,
    EtherNetIP,
    J1939,
    KNX,
    NMEA2000,
    PROFIBUS,
    PROFINET,
    IEC61850_Client,
    IEC61850_Server,
    TLS_Server,
    NTP,
    MQTT,
    TLS,
    OPC_UA_Client,
    OPC_UA_Server,
    SNMP_Manager,
    SNMP_Agent,
    WiFi,
    Count
};

inline constexpr int kPanelCount = static_cast<int>(PanelId::Count);

struct PanelDef {
    PanelId id;
    const char* name;                // component name without "CP_"
    int captionText;                 // 0: no caption
    std::span<const PanelRow> rows;  // empty for the three panels built by hand
};

// The 36 panels in their design order.
std::span<const PanelDef> panelDefs();
const PanelDef& panelDef(PanelId id);

struct ModelDef {
    const char* code;                        // "K4R51" ...
    std::span<const PanelId> furtherPanels;  // after Ethernet Connection and LoRaWAN
};

// The 29 models of the family in code order.
std::span<const ModelDef> modelDefs();
const ModelDef* findModel(const char* code);

}  // namespace zfw
