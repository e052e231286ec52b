#include "config/UParGen.h"

#include "common/ProjectXml.h"
#include "common/UComon.h"
#include "controls/FormParts.h"
#include "platform/Colors.h"
#include "platform/Dialogs.h"
#include "platform/Services.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QScopedValueRollback>
#include <QVBoxLayout>
#include <QValidator>
#include <QWheelEvent>

namespace zfw {

using namespace parGenLayout;

namespace {

constexpr int kClientWidth = 460;
constexpr int kClientHeight = 700;
constexpr int kButtonPanelHeight = 40;
constexpr int kButtonWidth = 110;
constexpr int kButtonHeight = 28;

// Limits what the user types or pastes to a number of characters, without cutting a longer
// text that a file brought in: QLineEdit::setMaxLength would cut it as soon as it is shown,
// and the next save would lose the rest. A change is refused only when it makes the text
// longer than the limit and longer than it was.
class TypedLengthValidator final : public QValidator {
public:
    TypedLengthValidator(int maxLength, QLineEdit* edit) : QValidator(edit), m_max(maxLength)
    {
        connect(edit, &QLineEdit::textChanged, this,
                [this](const QString& text) { m_length = text.size(); });
    }

    State validate(QString& input, int&) const override
    {
        return input.size() > m_max && input.size() > m_length ? Invalid : Acceptable;
    }

private:
    int m_max;
    qsizetype m_length = 0;
};

void limitLength(QLineEdit* edit, int maxLength)
{
    edit->setValidator(new TypedLengthValidator(maxLength, edit));
}

// The three panels of this build's model. Texts pair a label (or box) with the hint of its
// field; octet blocks take one hint per octet after the label.
constexpr PanelRow kEthernetConnectionRows[] = {
    {RowKind::Edit, "EthConn_Device_Name", 2907, 2908},
    {RowKind::Check, "EthConn_En_DHCP_Cable", 2909, 2910},
    {RowKind::Check, "EthConn_En_DHCP_WiFi", 2911, 2912},
    {RowKind::Check, "EthConn_Enable_DNS", 2913, 2914},
    {RowKind::Octets, "EthConn_Pri_DNS_IP", 2915, 2916, nullptr, 0, 0, "EthConn_Primary_DNS"},
    {RowKind::Octets, "EthConn_Sec_DNS_IP", 2920, 2921, nullptr, 0, 0, "EthConn_Secondary_DNS"},
};

constexpr PanelRow kLoRaRows[] = {
    {RowKind::List, "LoRa_RF_Band", 407, 408},
    {RowKind::List, "LoRa_FrequencySubBand", 2904, 2905},
    {RowKind::List, "LoRa_Network_Type", 409, 410},
    {RowKind::Check, "LoRa_Adaptive_DataRate", 483, 484},
    {RowKind::List, "LoRa_DataRate", 485, 486},
    {RowKind::List, "LoRa_Transmission_Type", 487, 488},
    {RowKind::Edit, "LoRa_Payload_Size", 489, 490},
    {RowKind::Edit, "LoRa_JoinEUI", 415, 416},
    {RowKind::List, "LoRa_Activation_Method", 411, 412},
    {RowKind::Edit, "LoRa_Device_Address", 413, 414},
    {RowKind::Edit, "LoRa_Network_Session_Key", 417, 418},
    {RowKind::Edit, "LoRa_Application_Session_Key", 419, 420},
    {RowKind::Edit, "LoRa_Application_Key", 421, 422},
    {RowKind::List, "LoRa_FPort", 491, 492},
    {RowKind::Edit, "LoRa_LNCHECK", 2933, 2934},
};

constexpr PanelRow kS7ProtocolRows[] = {
    {RowKind::Octets, "S7_Protocol_IP", 2785, 2786},
    {RowKind::Octets, "S7_Protocol_SM", 2790, 2791},
    {RowKind::GateOctets, "S7_Protocol_GAT", 2795, 2796, nullptr, 0, 0, "S7_Protocol_En_GAT"},
};

QString name(const char* prefix, const char* base)
{
    return QLatin1String(prefix) + QLatin1String(base);
}

QStringList splitItems(const char* items)
{
    return items ? QString::fromUtf8(items).split(QLatin1Char('|')) : QStringList();
}

}  // namespace

QList<QWidget*> ParGenRow::widgets() const
{
    QList<QWidget*> list;
    for (QWidget* w : std::initializer_list<QWidget*>{label, check, field})
        if (w)
            list.append(w);
    for (QLineEdit* e : octets)
        if (e)
            list.append(e);
    for (QLabel* d : dots)
        if (d)
            list.append(d);
    return list;
}

TFParGen::TFParGen(QWidget* parent) : TForm(parent) { FormCreate(); }

void TFParGen::FormCreate()
{
    setObjectName(QStringLiteral("TFParGen"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(248, 247, 237));
    setPalette(pal);
    setAutoFillBackground(true);

    buildTitle();
    CPG = new CategoryPanelGroup(this);
    CPG->viewport()->installEventFilter(this);
    buildButtons();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(P_Title);
    layout->addWidget(CPG, 1);
    layout->addWidget(P_Button);

    // The width stays at the design width; only the height may change.
    setMinimumSize(kClientWidth, kEditorTitleHeight + kButtonPanelHeight + 120);
    setMaximumWidth(kClientWidth);
    resize(kClientWidth, kClientHeight);

    connect(Btn_OK, &QAbstractButton::clicked, this, &TFParGen::Btn_OKClick);
    connect(Btn_Cancel, &QAbstractButton::clicked, this, [this] { done(mrCancel); });

    L_SW_Code->setText(programState().SW_Code.isEmpty() ? QString::fromLatin1(Build_SW_Code)
                                                        : programState().SW_Code);
    hideAllPanels();
    // Builds the model's panels; those of the family's other models are built only if a
    // model that shows them is ever ordered (838 widgets for all 36 panels, 83 for these
    // three).
    Order_TAB_Panels();
    Move_GroupBoxs();
    Set_Lang();
}

void TFParGen::buildTitle()
{
    TitlePanel title;
    P_Title = makeEditorTitleBand(this, title);
    L_SW_Code = title.code;
    L_SW_Desc = title.description;
}

void TFParGen::buildButtons()
{
    P_Button = new QWidget(this);
    P_Button->setObjectName(QStringLiteral("P_Button"));
    P_Button->setFixedHeight(kButtonPanelHeight);
    Btn_OK = new TParGenButton(P_Button);
    Btn_OK->setObjectName(QStringLiteral("Btn_OK"));
    Btn_Cancel = new TParGenButton(P_Button);
    Btn_Cancel->setObjectName(QStringLiteral("Btn_Cancel"));
    for (TParGenButton* b : {Btn_OK, Btn_Cancel})
        b->setFixedSize(kButtonWidth, kButtonHeight);
    auto* row = new QHBoxLayout(P_Button);
    row->setContentsMargins(0, 6, 12, 6);
    row->setSpacing(8);
    row->addStretch(1);
    row->addWidget(Btn_OK);
    row->addWidget(Btn_Cancel);
}

CategoryPanel* TFParGen::ensurePanel(PanelId id)
{
    const int index = static_cast<int>(id);
    if (m_panels[index])
        return m_panels[index];
    // Texts and values put on the new controls are no user action: no layout reacts to them
    // here, the caller lays the panel out when it shows it.
    const QScopedValueRollback<bool> quiet(m_loading, true);
    auto* p = new CategoryPanel(name("CP_", panelDef(id).name), CPG->canvas());
    p->hide();
    m_panels[index] = p;
    switch (id) {
    case PanelId::Ethernet_Connection:
        CP_Ethernet_Connection = p;
        buildRows(id, kEthernetConnectionRows);
        break;
    case PanelId::LoRa:
        CP_LoRa = p;
        buildRows(id, kLoRaRows);
        break;
    case PanelId::S7_Protocol:
        CP_S7_Protocol = p;
        buildRows(id, kS7ProtocolRows);
        break;
    default: buildRows(id, panelDef(id).rows); break;
    }
    bindControls(id);
    wirePanel(id);
    for (const ParGenRow& row : rows(id))
        applyRowTexts(row);
    if (m_values)
        applyValues(*m_values, p);
    return p;
}

void TFParGen::buildRows(PanelId id, std::span<const PanelRow> defs)
{
    QWidget* body = panel(id)->body();
    std::vector<ParGenRow>& rows = m_rows[static_cast<int>(id)];
    for (const PanelRow& def : defs) {
        ParGenRow row;
        row.def = &def;
        switch (def.kind) {
        case RowKind::Edit:
        case RowKind::List:
        case RowKind::Octets: {
            row.label = new QLabel(body);
            row.label->setObjectName(
                name("L_", def.altName && def.kind == RowKind::Octets ? def.altName : def.name));
            row.label->resize(kLabelWidth, kLabelHeight);
            break;
        }
        case RowKind::Check:
        case RowKind::GateOctets: {
            row.check = new QCheckBox(body);
            const QString box = def.kind == RowKind::Check ? name("CB_", def.name)
                                : def.altName              ? name("CB_", def.altName)
                                              : name("CB_", def.name) + QStringLiteral("_En");
            row.check->setObjectName(box);
            row.check->resize(def.kind == RowKind::Check ? kCheckWidth : kLabelWidth, kCheckHeight);
            break;
        }
        }
        if (def.kind == RowKind::Edit) {
            auto* e = new QLineEdit(body);
            e->setObjectName(name("E_", def.name));
            e->resize(kFieldWidth, kFieldHeight);
            row.field = e;
        } else if (def.kind == RowKind::List) {
            auto* c = new QComboBox(body);
            c->setObjectName(name("CB_", def.name));
            c->resize(kFieldWidth, kFieldHeight);
            c->setEditable(false);
            c->addItems(splitItems(def.items));
            c->setFocusPolicy(Qt::StrongFocus);
            c->installEventFilter(this);
            row.field = c;
        } else if (def.kind == RowKind::Octets || def.kind == RowKind::GateOctets) {
            for (int i = 0; i < 4; ++i) {
                auto* e = new QLineEdit(body);
                e->setObjectName(name("E_", def.name) + QString::number(i + 1));
                e->resize(kOctetWidth, kFieldHeight);
                e->installEventFilter(this);
                m_octetEdits.push_back(e);
                row.octets[i] = e;
            }
            for (int i = 0; i < 3; ++i) {
                auto* d = new QLabel(QStringLiteral("."), body);
                d->resize(kOctetX[i + 1] - kOctetX[i] - kOctetWidth, kFieldHeight);
                d->setAlignment(Qt::AlignCenter);
                row.dots[i] = d;
            }
        }
        rows.push_back(row);
    }
    int y = 12;
    for (const ParGenRow& row : rows) {
        placeRow(row, y);
        y += 28;
    }
}

void TFParGen::bindControls(PanelId id)
{
    QWidget* body = panel(id)->body();
    auto edit = [body](const char* n) { return body->findChild<QLineEdit*>(QLatin1String(n)); };
    auto list = [body](const char* n) { return body->findChild<QComboBox*>(QLatin1String(n)); };
    auto box = [body](const char* n) { return body->findChild<QCheckBox*>(QLatin1String(n)); };
    auto set = [this](PG element, QWidget* w) {
        Q_ASSERT(w);
        m_valueControls[static_cast<int>(element)] = w;
    };
    // A "." in an octet edit moves on along these chains only.
    auto chain = [this](std::initializer_list<std::array<QLineEdit*, 4>> blocks) {
        QLineEdit* previous = nullptr;
        for (const auto& block : blocks)
            for (QLineEdit* e : block) {
                if (previous)
                    m_dotSuccessor.emplace_back(previous, e);
                previous = e;
            }
    };
    auto hex = [this](QLineEdit* e) {
        m_hexEdits.push_back(e);
        e->installEventFilter(this);
    };
    using P = PG;

    switch (id) {
    case PanelId::Ethernet_Connection: {
        E_EthConn_Device_Name = edit("E_EthConn_Device_Name");
        CB_EthConn_En_DHCP_Cable = box("CB_EthConn_En_DHCP_Cable");
        CB_EthConn_En_DHCP_WiFi = box("CB_EthConn_En_DHCP_WiFi");
        CB_EthConn_Enable_DNS = box("CB_EthConn_Enable_DNS");
        const std::vector<ParGenRow>& eth = rows(id);
        E_EthConn_Pri_DNS_IP = eth[4].octets;
        E_EthConn_Sec_DNS_IP = eth[5].octets;
        limitLength(E_EthConn_Device_Name, 31);
        chain({E_EthConn_Pri_DNS_IP, E_EthConn_Sec_DNS_IP});
        set(P::Eth_Conn_Device_Name, E_EthConn_Device_Name);
        set(P::Eth_Conn_DHCP_Cable, CB_EthConn_En_DHCP_Cable);
        set(P::Eth_Conn_DHCP_WiFi, CB_EthConn_En_DHCP_WiFi);
        set(P::Eth_Conn_Enable_DNS, CB_EthConn_Enable_DNS);
        for (int i = 0; i < 4; ++i) {
            set(PG(int(P::Eth_Conn_Primary_DNS1) + i), E_EthConn_Pri_DNS_IP[i]);
            set(PG(int(P::Eth_Conn_Secondary_DNS1) + i), E_EthConn_Sec_DNS_IP[i]);
        }
        break;
    }
    case PanelId::LoRa:
        CB_LoRa_RF_Band = list("CB_LoRa_RF_Band");
        CB_LoRa_FrequencySubBand = list("CB_LoRa_FrequencySubBand");
        CB_LoRa_Network_Type = list("CB_LoRa_Network_Type");
        CB_LoRa_Adaptive_DataRate = box("CB_LoRa_Adaptive_DataRate");
        CB_LoRa_DataRate = list("CB_LoRa_DataRate");
        CB_LoRa_Transmission_Type = list("CB_LoRa_Transmission_Type");
        E_LoRa_Payload_Size = edit("E_LoRa_Payload_Size");
        E_LoRa_JoinEUI = edit("E_LoRa_JoinEUI");
        CB_LoRa_Activation_Method = list("CB_LoRa_Activation_Method");
        E_LoRa_Device_Address = edit("E_LoRa_Device_Address");
        E_LoRa_Network_Session_Key = edit("E_LoRa_Network_Session_Key");
        E_LoRa_Application_Session_Key = edit("E_LoRa_Application_Session_Key");
        E_LoRa_Application_Key = edit("E_LoRa_Application_Key");
        CB_LoRa_FPort = list("CB_LoRa_FPort");
        E_LoRa_LNCHECK = edit("E_LoRa_LNCHECK");

        CB_LoRa_RF_Band->addItems(loraRegionItems());
        CB_LoRa_FrequencySubBand->addItems(loraSubBandItems());
        CB_LoRa_Network_Type->addItems(loraNetworkTypeItems());
        CB_LoRa_Transmission_Type->addItems(loraTransmissionTypeItems());
        CB_LoRa_Activation_Method->addItems(loraActivationMethodItems());
        CB_LoRa_FPort->addItems(loraFPortItems());
        CB_LoRa_DataRate->setMaxVisibleItems(9);
        E_LoRa_Payload_Size->setReadOnly(true);

        limitLength(E_LoRa_JoinEUI, 16);
        limitLength(E_LoRa_Device_Address, 8);
        limitLength(E_LoRa_Network_Session_Key, 32);
        limitLength(E_LoRa_Application_Session_Key, 32);
        limitLength(E_LoRa_Application_Key, 32);
        limitLength(E_LoRa_LNCHECK, 32);
        for (QLineEdit* e : {E_LoRa_JoinEUI, E_LoRa_Device_Address, E_LoRa_Network_Session_Key,
                             E_LoRa_Application_Session_Key, E_LoRa_Application_Key,
                             E_LoRa_Payload_Size, E_LoRa_LNCHECK})
            hex(e);

        set(P::LoRa_RF_Band, CB_LoRa_RF_Band);
        set(P::LoRa_Network_Type, CB_LoRa_Network_Type);
        set(P::LoRa_Adaptive_DataRate, CB_LoRa_Adaptive_DataRate);
        set(P::LoRa_DataRate, CB_LoRa_DataRate);
        set(P::LoRa_Transmission_Type, CB_LoRa_Transmission_Type);
        set(P::LoRa_Payload_Size, E_LoRa_Payload_Size);
        set(P::LoRa_Activation_Method, CB_LoRa_Activation_Method);
        set(P::LoRa_Device_Address, E_LoRa_Device_Address);
        set(P::LoRa_JoinEUI, E_LoRa_JoinEUI);
        set(P::LoRa_Network_Session_Key, E_LoRa_Network_Session_Key);
        set(P::LoRa_Application_Session_Key, E_LoRa_Application_Session_Key);
        set(P::LoRa_Application_Key, E_LoRa_Application_Key);
        set(P::LoRa_FPort, CB_LoRa_FPort);
        set(P::LoRa_Frequency_SubBand, CB_LoRa_FrequencySubBand);
        set(P::LoRa_LNCHECK, E_LoRa_LNCHECK);
        break;
    case PanelId::S7_Protocol: {
        const std::vector<ParGenRow>& s7 = rows(id);
        E_S7_Protocol_IP = s7[0].octets;
        E_S7_Protocol_SM = s7[1].octets;
        CB_S7_Protocol_En_GAT = s7[2].check;
        E_S7_Protocol_GAT = s7[2].octets;
        chain({E_S7_Protocol_IP, E_S7_Protocol_SM, E_S7_Protocol_GAT});
        for (int i = 0; i < 4; ++i) {
            set(PG(int(P::S7_Protocol_IP1) + i), E_S7_Protocol_IP[i]);
            set(PG(int(P::S7_Protocol_SM1) + i), E_S7_Protocol_SM[i]);
            set(PG(int(P::S7_Protocol_GAT1) + i), E_S7_Protocol_GAT[i]);
        }
        set(P::S7_Protocol_EN_GAT, CB_S7_Protocol_En_GAT);
        break;
    }
    default: break;  // the other models' panels hold no value of ParGen.xml
    }
}

void TFParGen::wirePanel(PanelId id)
{
    QWidget* body = panel(id)->body();
    for (QComboBox* c : body->findChildren<QComboBox*>())
        connect(c, &QComboBox::currentIndexChanged, this, [this, c] { On_Change(c); });
    for (QCheckBox* b : body->findChildren<QCheckBox*>())
        connect(b, &QCheckBox::toggled, this, [this, b] { On_Click(b); });
}

// ---- Loading and saving --------------------------------------------------------------------

ParGenValues TFParGen::values() const
{
    // Elements of a panel not built yet keep what was loaded.
    ParGenValues v = m_values.value_or(ParGenValues{});
    for (const ParGenElement& e : parGenElements()) {
        QWidget* w = m_valueControls[static_cast<int>(e.id)];
        if (auto* edit = qobject_cast<QLineEdit*>(w))
            v[e.id] = edit->text();
        else if (auto* list = qobject_cast<QComboBox*>(w))
            v[e.id] = list->currentIndex() >= 0 ? list->currentText() : QString();
        else if (auto* box = qobject_cast<QCheckBox*>(w))
            v[e.id] = box->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
    }
    return v;
}

void TFParGen::setValues(const ParGenValues& v)
{
    m_values = v;
    m_loading = true;
    applyValues(v);
    m_loading = false;
    // As at the end of every opening: the layout follows the choices, the payload field the
    // region and data rate.
    Move_GroupBoxs();
    Set_Max_Payload_Size();
}

void TFParGen::applyValues(const ParGenValues& v, const CategoryPanel* only)
{
    for (const ParGenElement& e : parGenElements()) {
        QWidget* w = m_valueControls[static_cast<int>(e.id)];
        if (!w || (only && !only->isAncestorOf(w)))
            continue;
        if (auto* edit = qobject_cast<QLineEdit*>(w)) {
            edit->setText(v[e.id]);
        } else if (auto* box = qobject_cast<QCheckBox*>(w)) {
            box->setChecked(v.checked(e.id));
        } else if (auto* list = qobject_cast<QComboBox*>(w)) {
            const QSignalBlocker block(list);
            int index = list->findText(v[e.id]);
            if (e.id == PG::LoRa_DataRate && index < 0 && list->count() > 0)
                index = 0;
            list->setCurrentIndex(index);
            if (e.id == PG::LoRa_RF_Band)
                Change_LoRa_DataRate();
        }
    }
}

void TFParGen::FormShow()
{
    m_loadFailed = false;
    const ParGenLoad load = loadParGenValues(programState().File_ParGen);
    setValues(load.values);
    if (!load.ok()) {
        if (!load.missing()) {
            // Mended: a file that could not be read used to show the defaults without a
            // word, and the next OK replaced the user's file with them. Now the user is told,
            // and OK asks before overwriting.
            m_loadFailed = true;
            services().dialogs->showWarning(programState().lang(kTextFileNotRead)
                                                + QStringLiteral("\n\n") + load.message,
                                            this);
        }
    }
}

void TFParGen::showEvent(QShowEvent* event)
{
    TForm::showEvent(event);
    if (!event->spontaneous()) {
        centreOnScreen(*this);
        FormShow();
    }
}

bool TFParGen::saveFile()
{
    const FileResult saved = saveParGenValues(programState().File_ParGen, values());
    if (!saved) {
        services().dialogs->showError(saved.message, this);
        return false;
    }
    return true;
}

void TFParGen::Btn_OKClick()
{
    if (!Controllo_Dati())
        return;
    if (m_loadFailed
        && !services().dialogs->askYesNo(programState().lang(kTextOverwriteUnread), this))
        return;
    if (!saveFile())
        return;
    m_loadFailed = false;
    done(mrOk);
}

// ---- LoRaWAN lists and checks --------------------------------------------------------------

void TFParGen::Change_LoRa_DataRate()
{
    const QSignalBlocker block(CB_LoRa_DataRate);
    CB_LoRa_DataRate->clear();
    CB_LoRa_DataRate->addItems(loraDataRateItems(CB_LoRa_RF_Band->currentText()));
    CB_LoRa_DataRate->setCurrentIndex(CB_LoRa_DataRate->count() > 0 ? 0 : -1);
}

int TFParGen::Find_Max_PayLoad() const
{
    const QString rate = CB_LoRa_DataRate->currentIndex() >= 0 ? CB_LoRa_DataRate->currentText()
                                                               : QString();
    return maxLoRaPayload(CB_LoRa_RF_Band->currentText(), rate);
}

void TFParGen::Set_Max_Payload_Size()
{
    E_LoRa_Payload_Size->setText(QString::number(Find_Max_PayLoad()));
}

bool TFParGen::Controllo_Dati()
{
    const std::optional<ParGenFault> fault = checkParGenValues(values());
    if (!fault)
        return true;
    services().dialogs->showError(parGenFaultMessage(*fault, programState().Language_Table), this);
    return false;
}

// ---- Events --------------------------------------------------------------------------------

void TFParGen::On_Change(QObject* sender)
{
    if (m_loading)
        return;
    if (sender == CB_LoRa_Activation_Method) {
        Move_GroupBoxs();
    } else if (sender == CB_LoRa_RF_Band) {
        Change_LoRa_DataRate();
        Set_Max_Payload_Size();
        Move_GroupBoxs();
    } else if (sender == CB_LoRa_DataRate) {
        Set_Max_Payload_Size();
    } else {
        static const char* const kLayoutLists[] = {
            "CB_MBus_OnWire_Present", "CB_wMBus_Wireless_Present",   "CB_WiFi_Type",
            "CB_WiFi_Secure_Type",    "CB_SNMP_Agent_SecurityLevel", "CB_BACnet_Master_Type",
            "CB_BACnet_Slave_Type",
        };
        for (const char* n : kLayoutLists)
            if (sender->objectName() == QLatin1String(n))
                Move_GroupBoxs();
    }
}

void TFParGen::On_Click(QObject* sender)
{
    if (m_loading)
        return;
    static const char* const kLayoutBoxes[] = {
        "CB_EthConn_En_DHCP_Cable",
        "CB_EthConn_En_DHCP_WiFi",
        "CB_SNMP_Agent_Version3",
        "CB_MQTT_WillFlag",
        "CB_MQTT_PublishTopicConnection",
        "CB_TLS_Enable",
        "CB_TLS_En_Server_Auth",
        "CB_TLS_En_Client_Auth",
        "CB_TLS_Server_Enable",
        "CB_WiFi_IP_Auto",
        "CB_WiFi_En_DHCP",
    };
    for (const char* n : kLayoutBoxes)
        if (sender->objectName() == QLatin1String(n))
            Move_GroupBoxs();
}

bool TFParGen::KeyPress(QLineEdit* edit, QKeyEvent* event)
{
    if (event->text() != QLatin1String("."))
        return false;
    for (const auto& [from, to] : m_dotSuccessor)
        if (from == edit && to->isEnabled() && to->isVisibleTo(this)) {
            to->setFocus(Qt::TabFocusReason);
            to->selectAll();
            break;
        }
    return true;  // the "." itself is never typed
}

bool TFParGen::OnKeyPress(QLineEdit* edit, QKeyEvent* event)
{
    // Keys that type nothing (arrows, Home, End) carry no text and pass. The filter is
    // about typed characters: control characters pass, and so does DEL (127), which is how
    // the Delete key arrives on X11; dropping it would leave the key fields without Delete.
    const QString text = event->text();
    bool lowerHex = false;
    for (QChar ch : text) {
        const char16_t c = ch.unicode();
        if (c <= 32 || c == 127 || (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F'))
            continue;
        if (c >= u'a' && c <= u'f') {
            lowerHex = true;
            continue;
        }
        return true;  // any other character, including one of several, drops the key
    }
    if (!lowerHex)
        return false;
    // Typed letters are kept in upper case.
    QKeyEvent upper(QEvent::KeyPress, event->key(), event->modifiers() & ~Qt::ShiftModifier,
                    text.toUpper(), event->isAutoRepeat(), event->count());
    QCoreApplication::sendEvent(edit, &upper);
    return true;
}

bool TFParGen::FormMouseWheel(const QPoint& globalPos, int wheelDelta)
{
    QWidget* viewport = CPG->viewport();
    if (!viewport->rect().contains(viewport->mapFromGlobal(globalPos)))
        return false;
    const int lines = QApplication::wheelScrollLines();
    // Touchpads send wheel events without vertical movement (the start and end of a gesture,
    // sideways swipes); those must not scroll the group down.
    if (lines >= 1 && wheelDelta != 0)
        CPG->scrollLines(wheelDelta > 0 ? lines : -lines);
    return true;
}

bool TFParGen::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Wheel) {
        auto* wheel = static_cast<QWheelEvent*>(event);
        if (FormMouseWheel(wheel->globalPosition().toPoint(), wheel->angleDelta().y()))
            return true;
    } else if (event->type() == QEvent::KeyPress) {
        auto* edit = qobject_cast<QLineEdit*>(watched);
        auto* key = static_cast<QKeyEvent*>(event);
        if (edit && std::find(m_hexEdits.begin(), m_hexEdits.end(), edit) != m_hexEdits.end())
            return OnKeyPress(edit, key);
        if (edit && std::find(m_octetEdits.begin(), m_octetEdits.end(), edit) != m_octetEdits.end())
            return KeyPress(edit, key);
    }
    return TForm::eventFilter(watched, event);
}

// ---- Texts ---------------------------------------------------------------------------------

void TFParGen::Set_Lang()
{
    const ProgramState& s = programState();
    setWindowTitle(s.lang(400));
    L_SW_Desc->setText(s.lang(401));
    Btn_OK->setText(s.lang(402));
    Btn_Cancel->setText(s.lang(403));
    Btn_OK->setToolTip(s.lang(404));
    Btn_Cancel->setToolTip(s.lang(405));

    // Panels not built yet take their texts when they are built.
    for (const std::vector<ParGenRow>& rows : m_rows)
        for (const ParGenRow& row : rows)
            applyRowTexts(row);
}

void TFParGen::applyRowTexts(const ParGenRow& row)
{
    const ProgramState& s = programState();
    auto text = [&s](int n) { return n > 0 ? s.lang(n) : QString(); };
    const PanelRow& def = *row.def;
    if (row.label)
        row.label->setText(text(def.caption));
    if (row.check) {
        row.check->setText(text(def.caption));
        row.check->setToolTip(text(def.hint));
    }
    if (row.field)
        row.field->setToolTip(text(def.hint));
    const int firstOctetHint = def.hint > 0 ? def.hint + (def.kind == RowKind::GateOctets ? 1 : 0)
                                            : 0;
    for (int i = 0; i < 4; ++i)
        if (row.octets[i])
            row.octets[i]->setToolTip(text(firstOctetHint > 0 ? firstOctetHint + i : 0));
    // Lists whose items are language texts are refilled, which resets the choice.
    if (def.itemTexts > 0) {
        auto* list = static_cast<QComboBox*>(row.field);
        list->clear();
        for (int i = 0; i < def.itemCount; ++i)
            list->addItem(s.lang(def.itemTexts + i));
        list->setCurrentIndex(0);
    }
}

}  // namespace zfw
