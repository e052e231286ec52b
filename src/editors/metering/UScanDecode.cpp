#include "editors/metering/UScanDecode.h"

#include "common/UComon.h"
#include "editors/metering/UScanDialogs.h"
#include "editors/metering/core/MBusNumbers.h"
#include "editors/metering/core/MBusScanTexts.h"
#include "editors/metering/core/MBusScanWriters.h"
#include "editors/metering/scan/MBusScanDecode.h"
#include "platform/Datagram.h"
#include "platform/Dialogs.h"
#include "platform/SerialPorts.h"
#include "platform/Services.h"
#include "tree/LazyTreesString.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QFile>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPainter>
#include <QTableWidget>
#include <QTimer>

#include <algorithm>
#include <array>

namespace zfw {

namespace {

constexpr int kClientWidth = 640;
constexpr int kHeightWiredOnly = 523;
constexpr int kHeightWithMethod = 571;
constexpr int kButtonsHeight = 52;
constexpr int kRowStep = 28;
constexpr int kLabelLeft = 12;
constexpr int kFieldLeft = 260;
constexpr int kSplitX = 70;
constexpr int kWirelessTableHeight = 200;

QLabel* label(QWidget* parent, const char* name, int left = kLabelLeft, int width = 240)
{
    auto* l = new QLabel(parent);
    l->setObjectName(QLatin1String(name));
    l->setGeometry(left, 0, width, 21);
    return l;
}

QLineEdit* edit(QWidget* parent, const char* name, const char* text, int left, int width)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    e->setGeometry(left, 0, width, 21);
    e->setText(QLatin1String(text));
    return e;
}

QComboBox* combo(QWidget* parent, const char* name, const QStringList& items, int current,
                 int left = kFieldLeft, int width = 160)
{
    auto* c = new QComboBox(parent);
    c->setObjectName(QLatin1String(name));
    c->setGeometry(left, 0, width, 21);
    c->addItems(items);
    c->setCurrentIndex(current);
    return c;
}

QCheckBox* check(QWidget* parent, const char* name, int width = 240)
{
    auto* c = new QCheckBox(parent);
    c->setObjectName(QLatin1String(name));
    c->setGeometry(kLabelLeft, 0, width, 21);
    return c;
}

// Rows of widgets placed from the top, kRowStep apart; what is not listed is hidden.
void stack(const std::vector<std::vector<QWidget*>>& shown, const std::vector<QWidget*>& all)
{
    for (QWidget* w : all)
        w->setVisible(false);
    int y = 8;
    for (const auto& row : shown) {
        for (QWidget* w : row) {
            w->move(w->x(), y);
            w->setVisible(true);
        }
        y += kRowStep;
    }
}

// A text with "&&" shown as one ampersand, as the title texts are written.
QString plainText(QString text) { return text.replace(QStringLiteral("&&"), QStringLiteral("&")); }

QIcon levelImage(int level)
{
    static const QColor colours[] = {QColor(0, 90, 170), QColor(0, 140, 60), QColor(140, 140, 140)};
    QPixmap p(12, 12);
    p.fill(colours[level]);
    return QIcon(p);
}

}  // namespace

void TProgressLineDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                  const QModelIndex& index) const
{
    const QString text = index.data(Qt::DisplayRole).toString();
    painter->save();
    painter->fillRect(option.rect, option.palette.base());
    const int split = text.indexOf(QLatin1String(kNotFound));
    if (split < 0) {
        painter->setPen(Qt::blue);
        painter->drawText(option.rect, Qt::AlignVCenter | Qt::AlignLeft, text);
    } else {
        // The address in the first 70 pixels, the marker from there to the right edge less
        // one pixel.
        painter->setPen(Qt::red);
        const int bracket = text.indexOf(QLatin1Char('['));
        QRect first = option.rect;
        first.setWidth(kSplitX);
        painter->drawText(first, Qt::AlignVCenter | Qt::AlignLeft, text.left(bracket).trimmed());
        QRect second = option.rect;
        second.setLeft(option.rect.left() + kSplitX);
        second.setRight(option.rect.right() - 1);
        painter->drawText(second, Qt::AlignVCenter | Qt::AlignLeft, text.mid(bracket).trimmed());
    }
    painter->restore();
}

TFScanDecode::TFScanDecode(QWidget* parent, ScanDecodeServices services)
    : TModalForm(parent), m_services(std::move(services))
{
    setObjectName(QStringLiteral("TFScanDecode"));
    m_engine = m_services.engine;
    m_startDialog = m_services.startDialog;
    m_perNodeDialog = m_services.perNodeDialog;
    m_keyDialog = m_services.keyDialog;
    XML_Code_Dev = deviceCodeOf(Get_XML_Code_Dev());
    Form_Type = Get_ScanDecode_Form_Type();
    createControls();
    Set_Lang();
    // The dialogs are made with the window, as the language of the start is the one this
    // window and its dialogs keep: made on first use they took whatever language was chosen
    // by then, and the window spoke one language and its dialogs another.
    startDialog();
    perNodeDialog();
    keyDialog();
    if (m_engine)
        connectEngine(*m_engine);
    Move_Object_Type_Form();
    Form_Style(1);
}

TFScanDecode::~TFScanDecode()
{
    if (m_engine && m_engine->inScan())
        m_engine->Abort_Scan();
}

int TFScanDecode::deviceCodeOf(const QString& text)
{
    const int code = wholeNumber(text);
    return code < 0 ? 0 : code;
}

IUserDialogs& TFScanDecode::dialogs() const
{
    return m_services.dialogs ? *m_services.dialogs : *services().dialogs;
}

QString TFScanDecode::lang(int n) const { return programState().lang(n); }

TMBusScanDecode& TFScanDecode::engine()
{
    if (!m_engine) {
        if (m_services.makeEngine) {
            m_ownEngine = m_services.makeEngine();
        } else {
            TMBusScanDecode::Services s;
            s.makeTransport = [] { return std::make_unique<UdpTransport>(); };
            m_ownEngine = std::make_unique<TMBusScanDecode>(s);
        }
        m_engine = m_ownEngine.get();
        connectEngine(*m_engine);
    }
    return *m_engine;
}

void TFScanDecode::connectEngine(TMBusScanDecode& e)
{
    // The engine signals from its own thread; queued, the window handles them on its own.
    connect(
        &e, &TMBusScanDecode::Update_Slave_List, this,
        [this](int kind, int address, int found, int scanKind) {
            Show_Scan_Progress(kind, address, found, scanKind);
        },
        Qt::QueuedConnection);
    connect(
        &e, &TMBusScanDecode::slaveRead, this,
        [this](std::shared_ptr<const TSlave_MBus> slave) {
            if (m_scanning && m_staleEnds == 0 && slave)
                m_slaves.push_back(std::make_shared<TSlave_MBus>(*slave));
        },
        Qt::QueuedConnection);
    connect(
        &e, &TMBusScanDecode::UpdateListWirelessSlave, this,
        [this](int index, std::shared_ptr<const TSlave_wMBus> meter) {
            if (m_scanning && m_staleEnds == 0 && m_wirelessScan && meter)
                Show_Wireless_Slave(index, *meter);
        },
        Qt::QueuedConnection);
    connect(
        &e, &TMBusScanDecode::scanEnded, this, [this](int result) { scanEnded(result); },
        Qt::QueuedConnection);
}

TFScanModbusStart& TFScanDecode::startDialog()
{
    if (!m_startDialog)
        m_startDialog = new TFScanModbusStart(this, m_services.dialogs);
    return *m_startDialog;
}

TFInsertKeyWireless& TFScanDecode::keyDialog()
{
    if (!m_keyDialog)
        m_keyDialog = new TFInsertKeyWireless(this, m_services.dialogs);
    return *m_keyDialog;
}

TFModbusStartAdd_SD& TFScanDecode::perNodeDialog()
{
    if (!m_perNodeDialog)
        m_perNodeDialog = new TFModbusStartAdd_SD(this, m_services.dialogs);
    return *m_perNodeDialog;
}

void TFScanDecode::createControls()
{
    const TitlePanel title = makeTitlePanel(this, kClientWidth);
    L_SW_Code = title.code;
    L_SW_Desc = title.description;

    P_Main = new QWidget(this);
    P_Main->setObjectName(QStringLiteral("P_Main"));
    QWidget* m = P_Main;
    L_ScanMethod = label(m, "L_ScanMethod");
    CB_ScanMethod = combo(m, "CB_ScanMethod", {QString(), QString()}, 0);
    L_ScanBy = label(m, "L_ScanBy");
    CB_ScanBy = combo(m, "CB_ScanBy", {QString(), QString()}, 0);
    L_HardwareType = label(m, "L_HardwareType");
    CB_HardwareType = combo(m, "CB_HardwareType", {QString(), QString()}, 0);
    L_IP = label(m, "L_IP");
    E_IP1 = edit(m, "E_IP1", "192", kFieldLeft, 40);
    E_IP2 = edit(m, "E_IP2", "168", kFieldLeft + 48, 40);
    E_IP3 = edit(m, "E_IP3", "2", kFieldLeft + 96, 40);
    E_IP4 = edit(m, "E_IP4", "205", kFieldLeft + 144, 40);
    L_ComPort = label(m, "L_ComPort");
    CB_ComPort = combo(m, "CB_ComPort", {}, -1, kFieldLeft, 110);
    Btn_COM_List = makeFormButton(m, "Btn_COM_List", kFieldLeft + 116, 0, 44, 22);
    Btn_COM_List->setToolTip(QStringLiteral("Update COM Ports List"));
    L_Port = label(m, "L_Port");
    E_Port = edit(m, "E_Port", "502", kFieldLeft, 80);
    L_MBus_Param = label(m, "L_MBus_Param", kLabelLeft, 400);
    QFont bold = L_MBus_Param->font();
    bold.setBold(true);
    L_MBus_Param->setFont(bold);
    L_MBus_Baud = label(m, "L_MBus_Baud", kLabelLeft + 16);
    CB_MBus_Baud = combo(m, "CB_MBus_Baud",
                         {"300", "600", "1200", "2400", "4800", "9600", "19200", "38400"}, 3);
    L_MBus_Parity = label(m, "L_MBus_Parity", kLabelLeft + 16);
    CB_MBus_Parity = combo(m, "CB_MBus_Parity", {"NONE", "EVEN", "ODD"}, 1);
    L_wMBus_Mode = label(m, "L_wMBus_Mode", kLabelLeft + 16);
    CB_wMBus_Mode = combo(m, "CB_wMBus_Mode", {"S", "T", "N1", "N2", "C"}, 0);
    L_wMBus_Radio_Channel = label(m, "L_wMBus_Radio_Channel", kLabelLeft + 16);
    CB_wMBus_Radio_Channel = combo(m, "CB_wMBus_Radio_Channel",
                                   {"1a @ 4800 bps", "1b @ 4800 bps", "2a @ 2400 bps",
                                    "2b @ 2400 bps", "3a @ 4800 bps", "3b @ 4800 bps",
                                    "0 @ 19200 bps", "2a @ 4800 bps", "2b @ 4800 bps"},
                                   0);
    L_Options = label(m, "L_Options", kLabelLeft, 400);
    L_Options->setFont(bold);
    CB_Opt_App_Reset = check(m, "CB_Opt_App_Reset");
    E_Opt_App_Reset_Byte = edit(m, "E_Opt_App_Reset_Byte", "", kFieldLeft, 50);
    CB_Opt_SND_NKE = check(m, "CB_Opt_SND_NKE");
    L_Opt_Cut_After = label(m, "L_Opt_Cut_After");
    E_Opt_Cut_After = edit(m, "E_Opt_Cut_After", "3", kFieldLeft, 50);
    CB_Opt_Use_Fix_C_Field = check(m, "CB_Opt_Use_Fix_C_Field");
    CB_Opt_Use_Fix_C_Field_Value = combo(m, "CB_Opt_Use_Fix_C_Field_Value", {"0x5X", "0x7X"}, 0,
                                         kFieldLeft, 80);
    CB_Opt_Check_BCD_to_Int = check(m, "CB_Opt_Check_BCD_to_Int", 400);
    CB_Opt_Enable_Remote_Scan = check(m, "CB_Opt_Enable_Remote_Scan", 400);
    for (QLineEdit* e : {E_IP1, E_IP2, E_IP3, E_IP4, E_Opt_App_Reset_Byte})
        e->installEventFilter(this);

    P_TreeView = new QWidget(this);
    P_TreeView->setObjectName(QStringLiteral("P_TreeView"));
    L_ScanProgress = label(P_TreeView, "L_ScanProgress", kLabelLeft, 300);
    L_ScanProgress->move(kLabelLeft, 8);
    L_Num_Slave = label(P_TreeView, "L_Num_Slave", kLabelLeft + 300, 100);
    L_Num_Slave->move(kLabelLeft + 300, 8);
    L_AvailableDevice = label(P_TreeView, "L_AvailableDevice", kLabelLeft, 300);
    L_AvailableDevice->move(kLabelLeft, 32);
    LB_AvailableDevice = new QListWidget(P_TreeView);
    LB_AvailableDevice->setObjectName(QStringLiteral("LB_AvailableDevice"));
    LB_AvailableDevice->setItemDelegate(new TProgressLineDelegate(LB_AvailableDevice));
    VST = new TLazyStringTree(P_TreeView);
    VST->setObjectName(QStringLiteral("VST"));
    setUpWiredTree();

    P_View_Wireless = new QWidget(this);
    P_View_Wireless->setObjectName(QStringLiteral("P_View_Wireless"));
    ESG_Wireless = new QTableWidget(1, 13, P_View_Wireless);
    ESG_Wireless->setObjectName(QStringLiteral("ESG_Wireless"));
    ESG_Wireless->setSelectionBehavior(QAbstractItemView::SelectRows);
    ESG_Wireless->setHorizontalHeaderLabels({"N", "Date Time", "Message Type", "Manufacturer (LLA)",
                                             "Address (LLA)", "Version (LLA)", "Device Type (LLA)",
                                             "Manufacturer (ALA)", "Address (ALA)", "Version (ALA)",
                                             "Device Type (ALA)", "RSSI", "Cripted"});
    const int widths[] = {40, 65, 90, 120, 90, 85, 110, 120, 90, 85, 110, 50, 70};
    for (int c = 0; c < 13; ++c)
        ESG_Wireless->setColumnWidth(c, widths[c]);
    ESG_Wireless->verticalHeader()->hide();
    VST_Wireless = new TLazyStringTree(P_View_Wireless);
    VST_Wireless->setObjectName(QStringLiteral("VST_Wireless"));
    setUpWirelessTree();

    P_Buttons = new QWidget(this);
    P_Buttons->setObjectName(QStringLiteral("P_Buttons"));
    Btn_StartScan = makeFormButton(P_Buttons, "Btn_StartScan", kClientWidth - 148, 8, 140, 36);
    Btn_StopScan = makeFormButton(P_Buttons, "Btn_StopScan", kClientWidth - 296, 8, 140, 36);
    Btn_AbortScan = makeFormButton(P_Buttons, "Btn_AbortScan", kClientWidth - 148, 8, 140, 36);
    Btn_NewScan = makeFormButton(P_Buttons, "Btn_NewScan", 8, 8, 140, 36);
    Btn_SaveConf = makeFormButton(P_Buttons, "Btn_SaveConf", kClientWidth - 148, 8, 140, 36);
    Btn_SaveConfManual = makeFormButton(P_Buttons, "Btn_SaveConfManual", kClientWidth - 316, 8, 160,
                                        36);

    m_waitIdle = new QTimer(this);
    m_waitIdle->setInterval(100);

    connect(Btn_StartScan, &QAbstractButton::clicked, this, [this] { Select_Scan(); });
    connect(Btn_StopScan, &QAbstractButton::clicked, this, [this] { StopScan(); });
    connect(Btn_AbortScan, &QAbstractButton::clicked, this, [this] { AbortScan(); });
    connect(Btn_NewScan, &QAbstractButton::clicked, this, [this] { NewScan(); });
    connect(Btn_SaveConf, &QAbstractButton::clicked, this, [this] { Select_SaveXML(0); });
    connect(Btn_SaveConfManual, &QAbstractButton::clicked, this, [this] { Select_SaveXML(1); });
    connect(Btn_COM_List, &QAbstractButton::clicked, this, [this] { Update_List_of_COM_Port(); });
    for (QComboBox* c : {CB_HardwareType, CB_ScanBy, CB_ScanMethod, CB_MBus_Baud, CB_MBus_Parity})
        connect(c, &QComboBox::currentIndexChanged, this, [this] { Move_Object_Type_Form(); });
    connect(m_waitIdle, &QTimer::timeout, this, [this] { startWhenIdle(); });
    connect(ESG_Wireless, &QTableWidget::cellClicked, this,
            [this](int row, int) { Show_Slave_in_Tree_Wireless(row); });
    connect(ESG_Wireless, &QTableWidget::cellDoubleClicked, this,
            [this](int row, int) { ESG_WirelessDblClickCell(row, QCursor::pos()); });
}

void TFScanDecode::Set_Lang()
{
    setWindowTitle(lang(2100));
    L_SW_Code->setText(plainText(lang(2101)));
    L_SW_Code->adjustSize();
    L_SW_Desc->setText(plainText(lang(2102)));
    L_SW_Desc->adjustSize();
    L_ScanBy->setText(lang(2103));
    const auto refill = [](QComboBox* c, const QStringList& items) {
        const QSignalBlocker block(c);
        c->clear();
        c->addItems(items);
        c->setCurrentIndex(0);
    };
    refill(CB_ScanBy, {lang(2104), lang(2105)});
    L_HardwareType->setText(lang(2106));
    refill(CB_HardwareType, {lang(2107), lang(2108)});
    L_IP->setText(lang(2109));
    L_ComPort->setText(lang(2110));
    L_MBus_Param->setText(lang(2111));
    L_MBus_Baud->setText(lang(2112));
    L_MBus_Parity->setText(lang(2113));
    L_Options->setText(lang(2114));
    CB_Opt_App_Reset->setText(lang(2115));
    CB_Opt_SND_NKE->setText(lang(2116));
    L_Opt_Cut_After->setText(lang(2117));
    L_AvailableDevice->setText(lang(2120));
    Btn_StartScan->setText(lang(2121));
    Btn_StopScan->setText(lang(2122));
    Btn_AbortScan->setText(lang(2123));
    Btn_NewScan->setText(lang(2124));
    Btn_SaveConf->setText(lang(2125));
    Btn_SaveConfManual->setText(lang(2139));
    L_ScanMethod->setText(lang(2131));
    refill(CB_ScanMethod, {lang(2132), lang(2133)});
    L_wMBus_Mode->setText(lang(2134));
    L_wMBus_Radio_Channel->setText(lang(2135));
    L_Port->setText(lang(2136));
    CB_Opt_Use_Fix_C_Field->setText(lang(2140));
    CB_Opt_Check_BCD_to_Int->setText(lang(2141));
    CB_Opt_Enable_Remote_Scan->setText(lang(2142));
}

bool TFScanDecode::wirelessChosen() const
{
    return Form_Type == 1 && CB_ScanMethod->currentIndex() == 1;
}

void TFScanDecode::Move_Object_Type_Form()
{
    const std::vector<QWidget*> all = {L_ScanMethod,
                                       CB_ScanMethod,
                                       L_ScanBy,
                                       CB_ScanBy,
                                       L_HardwareType,
                                       CB_HardwareType,
                                       L_IP,
                                       E_IP1,
                                       E_IP2,
                                       E_IP3,
                                       E_IP4,
                                       L_ComPort,
                                       CB_ComPort,
                                       Btn_COM_List,
                                       L_Port,
                                       E_Port,
                                       L_MBus_Param,
                                       L_MBus_Baud,
                                       CB_MBus_Baud,
                                       L_MBus_Parity,
                                       CB_MBus_Parity,
                                       L_wMBus_Mode,
                                       CB_wMBus_Mode,
                                       L_wMBus_Radio_Channel,
                                       CB_wMBus_Radio_Channel,
                                       L_Options,
                                       CB_Opt_App_Reset,
                                       E_Opt_App_Reset_Byte,
                                       CB_Opt_SND_NKE,
                                       L_Opt_Cut_After,
                                       E_Opt_Cut_After,
                                       CB_Opt_Use_Fix_C_Field,
                                       CB_Opt_Use_Fix_C_Field_Value,
                                       CB_Opt_Check_BCD_to_Int,
                                       CB_Opt_Enable_Remote_Scan};
    std::vector<std::vector<QWidget*>> rows;
    if (Form_Type == 1)
        rows.push_back({L_ScanMethod, CB_ScanMethod});
    const bool wireless = wirelessChosen();
    if (!wireless)
        rows.push_back({L_ScanBy, CB_ScanBy});
    rows.push_back({L_HardwareType, CB_HardwareType});
    if (CB_HardwareType->currentIndex() == 1)
        rows.push_back({L_ComPort, CB_ComPort, Btn_COM_List});
    else
        rows.push_back({L_IP, E_IP1, E_IP2, E_IP3, E_IP4});
    if (wireless) {
        rows.push_back({L_Port, E_Port});
        if (XML_Code_Dev == 12 || XML_Code_Dev == 15 || XML_Code_Dev == 18)
            E_Port->setText(QStringLiteral("10001"));
        E_Port->setReadOnly(XML_Code_Dev == 12 || XML_Code_Dev == 15);
        rows.push_back({L_MBus_Param});
        rows.push_back({L_wMBus_Mode, CB_wMBus_Mode});
        rows.push_back({L_wMBus_Radio_Channel, CB_wMBus_Radio_Channel});
        rows.push_back({L_Options});
    } else {
        rows.push_back({L_MBus_Param});
        rows.push_back({L_MBus_Baud, CB_MBus_Baud});
        rows.push_back({L_MBus_Parity, CB_MBus_Parity});
        rows.push_back({L_Options});
        rows.push_back({CB_Opt_App_Reset, E_Opt_App_Reset_Byte});
        rows.push_back({CB_Opt_SND_NKE});
        rows.push_back({L_Opt_Cut_After, E_Opt_Cut_After});
        rows.push_back({CB_Opt_Use_Fix_C_Field, CB_Opt_Use_Fix_C_Field_Value});
    }
    rows.push_back({CB_Opt_Check_BCD_to_Int});
    rows.push_back({CB_Opt_Enable_Remote_Scan});
    stack(rows, all);

    const int height = Form_Type == 1 ? kHeightWithMethod : kHeightWiredOnly;
    setFixedClientSize(kClientWidth, height);
    const int body = height - kTitlePanelHeight - kButtonsHeight;
    for (QWidget* panel : {P_Main, P_TreeView, P_View_Wireless})
        panel->setGeometry(0, kTitlePanelHeight, kClientWidth, body);
    P_Buttons->setGeometry(0, height - kButtonsHeight, kClientWidth, kButtonsHeight);
    LB_AvailableDevice->setGeometry(kLabelLeft, 56, kClientWidth - 2 * kLabelLeft, body - 64);
    VST->setGeometry(kLabelLeft, 32, kClientWidth - 2 * kLabelLeft, body - 40);
    ESG_Wireless->setGeometry(0, 0, kClientWidth, kWirelessTableHeight);
    VST_Wireless->setGeometry(0, kWirelessTableHeight + 4, kClientWidth,
                              body - kWirelessTableHeight - 4);
}

void TFScanDecode::Update_List_of_COM_Port()
{
    CB_ComPort->clear();
    for (const QString& port : Get_COM_Port_List())
        CB_ComPort->addItem(QStringLiteral("COM") + port);
    CB_ComPort->setCurrentIndex(CB_ComPort->count() > 0 ? 0 : -1);
}

void TFScanDecode::FormShow()
{
    Move_Object_Type_Form();
    Update_List_of_COM_Port();
    const QString parGen = programState().File_ParGen;
    QFile f(parGen);
    if (!parGen.isEmpty() && f.open(QIODevice::ReadOnly)) {
        const auto address = gatewayAddressFromParGen(f.readAll(), XML_Code_Dev);
        QLineEdit* fields[] = {E_IP1, E_IP2, E_IP3, E_IP4};
        for (int i = 0; i < 4; ++i)
            if (address[std::size_t(i)])
                fields[i]->setText(*address[std::size_t(i)]);
    }
    Form_Style(1);
}

void TFScanDecode::Form_Style(int Index)
{
    m_style = Index;
    {
        const QSignalBlocker block(CB_HardwareType);
        CB_HardwareType->setCurrentIndex(0);
    }
    CB_HardwareType->setEnabled(false);
    const bool options = Index == 1;
    const bool running = Index == 2 || Index == 4;
    const bool ended = Index == 3 || Index == 5;
    P_Main->setVisible(options);
    P_TreeView->setVisible(Index == 2 || Index == 3);
    P_View_Wireless->setVisible(Index == 4 || Index == 5);
    Btn_StartScan->setVisible(options);
    Btn_StopScan->setVisible(running);
    Btn_AbortScan->setVisible(running);
    Btn_NewScan->setVisible(ended);
    Btn_SaveConf->setVisible(ended);
    const bool hideManual = Index == 5 ? XML_Code_Dev == 15 : hidesPerNodeSave(XML_Code_Dev);
    Btn_SaveConfManual->setVisible(ended && !hideManual);
    if (Index == 2) {
        L_ScanProgress->setText(lang(2118));
        L_AvailableDevice->setVisible(true);
        LB_AvailableDevice->setVisible(true);
        L_Num_Slave->setVisible(false);
        VST->setVisible(false);
    } else if (Index == 3) {
        L_ScanProgress->setText(lang(2119));
        L_AvailableDevice->setVisible(false);
        LB_AvailableDevice->setVisible(false);
        L_Num_Slave->setVisible(true);
        VST->setVisible(true);
    }
    Move_Object_Type_Form();
}

void TFScanDecode::Select_Scan()
{
    if (wirelessChosen())
        StarScanWireless();
    else
        StartScan();
}

void TFScanDecode::StarScanWireless()
{
    if (m_scanning || (m_engine && m_engine->inScan() && m_staleEnds == 0)) {
        dialogs().showError(lang(2126), this);
        return;
    }
    const int port = wholeNumber(E_Port->text());
    if (port < 0 || port > 65535) {
        dialogs().showError(lang(2138), this);
        return;
    }
    Cancel_Device_List_Wireless();
    Cancel_Grid_Wireless();
    // The mode codes of the list's items "S", "T", "N1", "N2", "C".
    static constexpr std::array<qint32, 5> kModeCodes = {1, 5, 15, 17, 11};
    const int mode = CB_wMBus_Mode->currentIndex();
    TWirelessScanSettings s;
    s.Select_Hardware = TSelectHard::shEthernet;
    s.IP_COM = QStringList{E_IP1->text(), E_IP2->text(), E_IP3->text(), E_IP4->text()}.join(
        QLatin1Char('.'));
    s.Port = quint16(port);
    s.wMBus_Mode = kModeCodes[std::size_t(std::clamp(mode, 0, 4))];
    s.wMBus_Radio_Channel = std::max(0, CB_wMBus_Radio_Channel->currentIndex());
    s.RemoteTimeout = CB_Opt_Enable_Remote_Scan->isChecked();
    s.FromDLL = false;
    m_wSettings = s;
    m_wirelessScan = true;
    if (m_staleEnds > 0) {
        m_startPending = true;
        Btn_StartScan->setEnabled(false);
        m_waitIdle->start();
        return;
    }
    startEngine();
}

void TFScanDecode::StartScan()
{
    if (m_scanning || (m_engine && m_engine->inScan() && m_staleEnds == 0)) {
        dialogs().showError(lang(2126), this);
        return;
    }
    int resetByte = -1;
    if (CB_Opt_App_Reset->isChecked() && !E_Opt_App_Reset_Byte->text().isEmpty()) {
        resetByte = wholeNumber(E_Opt_App_Reset_Byte->text());
        if (resetByte < 0 || resetByte > 255) {
            dialogs().showError(lang(2143), this);
            return;
        }
    }
    Cancel_Device_List();
    TWiredScanSettings s;
    s.ScanType = CB_ScanBy->currentIndex() == 1 ? TScanType::saSecondaryAddress
                                                : TScanType::saPrimaryAddress;
    s.Select_Hardware = TSelectHard::shEthernet;
    s.IP_COM = QStringList{E_IP1->text(), E_IP2->text(), E_IP3->text(), E_IP4->text()}.join(
        QLatin1Char('.'));
    const int baud = wholeNumber(CB_MBus_Baud->currentText());
    s.Baudrate = baud < 0 ? 2400 : baud;
    s.Parity = CB_MBus_Parity->currentIndex();
    s.App_Reset = CB_Opt_App_Reset->isChecked();
    s.SND_NKE = CB_Opt_SND_NKE->isChecked();
    const int cut = wholeNumber(E_Opt_Cut_After->text());
    s.Cut_After = cut < 0 ? 3 : cut;
    s.Fix_C_Field = CB_Opt_Use_Fix_C_Field->isChecked();
    s.Fix_C_Field_Value = quint8(CB_Opt_Use_Fix_C_Field_Value->currentIndex());
    s.RemoteTimeout = CB_Opt_Enable_Remote_Scan->isChecked();
    s.App_Reset_Byte = resetByte;
    LB_AvailableDevice->clear();
    m_settings = s;
    m_wirelessScan = false;
    if (m_staleEnds > 0) {
        // The scan abandoned by closing is still taking the gateway out of analyzer mode, or
        // its end notice is still on its way: the new one starts once both are over.
        m_startPending = true;
        Btn_StartScan->setEnabled(false);
        m_waitIdle->start();
        return;
    }
    startEngine();
}

void TFScanDecode::startWhenIdle()
{
    if (engine().inScan() || m_staleEnds > 0)
        return;
    m_waitIdle->stop();
    m_startPending = false;
    Btn_StartScan->setEnabled(true);
    startEngine();
}

bool TFScanDecode::startEngine()
{
    QString reason;
    const bool started = m_wirelessScan ? engine().Start_Scan_Wireless(m_wSettings, &reason)
                                        : engine().Start_Scan(m_settings, &reason);
    if (!started) {
        dialogs().showError(reason.isEmpty() ? lang(2126) : reason, this);
        return false;
    }
    m_scanning = true;
    Form_Style(m_wirelessScan ? 4 : 2);
    return true;
}

void TFScanDecode::StopScan()
{
    if (m_engine && m_engine->inScan())
        m_engine->Stop_Scan();
}

void TFScanDecode::AbortScan()
{
    if (m_engine && m_engine->inScan())
        m_engine->Abort_Scan();
}

void TFScanDecode::NewScan()
{
    Cancel_Device_List();
    Cancel_Device_List_Wireless();
    Cancel_Grid_Wireless();
    Form_Style(1);
}

void TFScanDecode::Cancel_Device_List()
{
    VST->Clear();  // before the slaves its nodes read go
    m_slaves.clear();
}

void TFScanDecode::Show_Scan_Progress(int kind, int address, int found, int scanKind)
{
    if (!m_scanning || m_staleEnds > 0)
        return;
    const auto line = progressLine(kind, address, found, scanKind, lang(2127), lang(2128));
    if (!line)
        return;
    LB_AvailableDevice->addItem(*line);
    LB_AvailableDevice->scrollToBottom();
}

void TFScanDecode::scanEnded(int result)
{
    if (m_staleEnds > 0) {
        --m_staleEnds;  // the end of a scan abandoned by closing
        return;
    }
    if (!m_scanning)
        return;
    m_scanning = false;
    if (result == 2) {
        dialogs().showError(lang(2129), this);
        Form_Style(1);
        return;
    }
    if (m_wirelessScan) {
        Form_Style(5);
        return;
    }
    Form_Style(3);
    Show_Slave_in_Tree();
}

void TFScanDecode::VSTGetText(TBaseLazyTree& tree, PLazyNode node, TColumnIndex, TVSTTextType type,
                              QString& text)
{
    if (type == ttNormal)
        text = tree.nodeData<TMyRec>(node)->Caption;
}

void TFScanDecode::VSTFreeNode(LazyTreeModel& tree, PLazyNode node)
{
    tree.nodeData<TMyRec>(node)->~TMyRec();
}

void TFScanDecode::VSTGetImageIndexEx(TBaseLazyTree& tree, PLazyNode node, TLTImageKind kind,
                                      int& index, const TImageList*& list) const
{
    if (kind == ikNormal || kind == ikSelected) {
        index = int(tree.GetNodeLevel(node));
        list = m_treeImages.get();
    }
}

// What both result trees share: the node record with its caption, texts and images by level,
// check boxes that follow their children, no editing.
void TFScanDecode::setUpResultTree(TLazyStringTree& tree)
{
    tree.SetNodeDataSize(int(sizeof(TMyRec)));
    tree.SetAutoOptions(tree.options().AutoOptions - TLTAutoOptions{toAutoSort});
    tree.SetMiscOptions(tree.options().MiscOptions + TLTMiscOptions{toCheckSupport}
                        - TLTMiscOptions{toEditOnClick});
    tree.SetImages(m_treeImages.get());
    tree.OnGetText = &TFScanDecode::VSTGetText;
    tree.OnFreeNode = &TFScanDecode::VSTFreeNode;
    tree.OnGetImageIndexEx = [this](TBaseLazyTree& t, PLazyNode node, TLTImageKind kind,
                                    TColumnIndex, bool&, int& index, const TImageList*& list) {
        VSTGetImageIndexEx(t, node, kind, index, list);
    };
    tree.OnChecking = [](LazyTreeModel&, PLazyNode, TCheckState&, bool& allowed) {
        allowed = true;
    };
}

void TFScanDecode::setUpWiredTree()
{
    m_treeImages = std::make_unique<TImageList>(12, 12);
    for (int level = 0; level < 3; ++level)
        m_treeImages->Add(levelImage(level).pixmap(12, 12).toImage());
    setUpResultTree(*VST);
    VST->SetSelectionOptions(VST->options().SelectionOptions + TLTSelectionOptions{toMultiSelect});

    // Level 0 a slave, 1 one of its records, 2 one of the record's detail lines. The records
    // and details exist only once their parent is expanded or walked.
    VST->OnInitNode = [this](LazyTreeModel& tree, PLazyNode parent, PLazyNode node,
                             TLazyNodeInitStates& states) {
        const std::uint32_t level = tree.GetNodeLevel(node);
        QString text;
        if (level == 0) {
            const TSlave_MBus& slave = *m_slaves.at(node->Index);
            text = slaveNodeText(slave);
            if (!slave.List_Var.empty())
                states.include(ivsHasChildren);
        } else if (level == 1) {
            text = recordNodeText(m_slaves.at(parent->Index)->List_Var.at(node->Index));
            states.include(ivsHasChildren);
        } else {
            const TVariable_MBus& r =
                m_slaves.at(parent->Parent->Index)->List_Var.at(parent->Index);
            const auto details = recordDetailTexts(r);
            if (node->Index < details.size())
                text = details[node->Index];
        }
        new (tree.GetNodeData(node)) TMyRec{std::move(text), false};
        if (level < 2) {
            VST->SetCheckType(node, ctTriStateCheckBox);
            // A record made after its slave was unticked starts unticked too.
            node->CheckState = level == 1 && parent->CheckState == csUncheckedNormal
                                   ? csUncheckedNormal
                                   : csCheckedNormal;
        }
    };
    VST->OnInitChildren = [this](LazyTreeModel& tree, PLazyNode node, std::uint32_t& count) {
        if (tree.GetNodeLevel(node) == 0)
            count = std::uint32_t(m_slaves.at(node->Index)->List_Var.size());
        else
            count = std::uint32_t(std::tuple_size_v<decltype(recordDetailTexts({}))>);
    };
    // Every tick state is taken; the writers read them when the result is saved.
    VST->OnChecked = [](LazyTreeModel&, PLazyNode) {};
}

void TFScanDecode::setUpWirelessTree()
{
    setUpResultTree(*VST_Wireless);
    VST_Wireless->OnInitNode = [this](LazyTreeModel& tree, PLazyNode parent, PLazyNode node,
                                      TLazyNodeInitStates& states) {
        VST_WirelessInitNode(tree, parent, node, states);
    };
    VST_Wireless->OnInitChildren = [this](LazyTreeModel& tree, PLazyNode node,
                                          std::uint32_t& count) {
        const TSlave_wMBus* meter = wirelessTreeMeter();
        if (!meter)
            count = 0;
        else if (tree.GetNodeLevel(node) == 0)
            count = std::uint32_t(meter->List_Var.size());
        else
            count = std::uint32_t(std::tuple_size_v<decltype(recordDetailTexts({}))>);
    };
    VST_Wireless->OnChecked = [this](LazyTreeModel& tree, PLazyNode node) {
        VST_WirelessChecked(tree, node);
    };
}

TSlave_wMBus* TFScanDecode::wirelessTreeMeter() const
{
    if (m_wTreeIndex < 0 || std::size_t(m_wTreeIndex) >= m_wSlaves.size())
        return nullptr;
    return m_wSlaves[std::size_t(m_wTreeIndex)].get();
}

void TFScanDecode::Show_Slave_in_Tree()
{
    VST->Clear();
    L_Num_Slave->setText(QString::number(m_slaves.size()));
    VST->SetRootNodeCount(std::uint32_t(m_slaves.size()));
}

void TFScanDecode::Carica_Dati_Modbus_Start_Add()
{
    QStringList ids;
    if (wirelessChosen()) {
        for (const auto& meter : m_wSlaves)
            ids.append(QString::number(meter->ALA_Address));
    } else {
        for (const auto& slave : m_slaves)
            ids.append(QString::number(slave->Primary_Addresss) + QStringLiteral(" - ")
                       + slave->Secondary_Addresss);
    }
    perNodeDialog().setNodes(ids);
}

void TFScanDecode::Select_SaveXML(int Type_SaveXML)
{
    const bool exists = QFile::exists(FileName_MBus);
    bool append = false;
    if (exists) {
        const TModalResult answer = dialogs().messageDlg(lang(2137), TMsgDlgType::mtConfirmation,
                                                         mbYes | mbNo | mbCancel, this);
        if (answer != mrYes && answer != mrNo)
            return;
        append = answer == mrYes;
    }
    TSaveConfXML data;
    data.Mod_Start = 1;
    // The per-node registers count only when their dialog was filled and confirmed for this
    // very save; a stale grid from an earlier save could hold fewer rows than slaves.
    if (Type_SaveXML == 1 && asksStartRegisters(XML_Code_Dev)) {
        Carica_Dati_Modbus_Start_Add();
        if (dialogs().showModal(perNodeDialog()) != mrOk)
            return;
        data.StartModnode = 1;
        for (const QString& start : perNodeDialog().startRegisters()) {
            const int v = wholeNumber(start);
            data.SMN_Array.push_back(v < 0 ? 1 : v);
        }
        data.En_NodeState = perNodeDialog().CB_En_NodeState->isChecked();
        data.En_IdeNum = perNodeDialog().CB_En_IndNum->isChecked();
    }
    if (Type_SaveXML == 0 && append && asksStartRegisters(XML_Code_Dev)) {
        if (dialogs().showModal(startDialog()) != mrOk)
            return;
        data.Mod_Start = startDialog().StartModAdd;
    }
    data.Append = append ? 1 : 0;
    data.XML_Code_Dev = XML_Code_Dev;
    data.Index_Baud = CB_MBus_Baud->currentIndex();
    data.Index_Par = CB_MBus_Parity->currentIndex();
    data.Node_ID_Type = CB_ScanBy->currentIndex();
    data.SND_NKE = CB_Opt_SND_NKE->isChecked() ? 1 : 0;
    data.Reset_App = CB_Opt_App_Reset->isChecked() ? 1 : 0;
    const int cut = wholeNumber(E_Opt_Cut_After->text());
    data.Cut_After = cut < 0 ? 3 : cut;
    data.File_Name = FileName_MBus;

    TScanChecks checks;
    // A slave with some records ticked is mixed, and stays in the file with the ticked ones.
    for (PLazyNode slave = VST->GetFirstChild(VST->RootNode()); slave;
         slave = VST->GetNextSibling(slave)) {
        checks.slaves.push_back(VST->CheckState(slave) != csUncheckedNormal);
        std::vector<bool> records;
        for (PLazyNode r = VST->GetFirstChild(slave); r; r = VST->GetNextSibling(r))
            records.push_back(VST->CheckState(r) != csUncheckedNormal);
        checks.records.push_back(std::move(records));
    }
    ScanSaveResult saved;
    if (wirelessChosen()) {
        data.Index_Baud = 0;
        data.Index_Par = 0;
        data.SND_NKE = 0;
        data.Reset_App = 0;
        data.Cut_After = 3;
        saved = Save_XML_Conf_Wireless(data, CB_Opt_Check_BCD_to_Int->isChecked(), m_wSlaves);
    } else {
        saved = Save_XML_Conf_Wired(data, CB_Opt_Check_BCD_to_Int->isChecked(), m_slaves, checks);
    }
    if (saved)
        dialogs().showInformation(lang(2130), this);
    else if (!saved.message.isEmpty())
        dialogs().showError(saved.message, this);
}

void TFScanDecode::Show_Wireless_Slave(int index, const TSlave_wMBus& m)
{
    if (index < 0)
        return;
    if (m_wSlaves.size() <= std::size_t(index))
        m_wSlaves.resize(std::size_t(index) + 1);
    auto fresh = std::make_shared<TSlave_wMBus>(m);
    if (const auto& before = m_wSlaves[std::size_t(index)]) {
        // A new telegram of a meter the user has already ticked or unticked keeps those ticks:
        // the engine's copy knows nothing of them, and the save must write what the tree showed.
        fresh->Enable = before->Enable;
        for (std::size_t j = 0; j < fresh->List_Var.size() && j < before->List_Var.size(); ++j)
            fresh->List_Var[j].Enable = before->List_Var[j].Enable;
    }
    m_wSlaves[std::size_t(index)] = std::move(fresh);
    for (auto& slot : m_wSlaves)
        if (!slot)
            slot = std::make_shared<TSlave_wMBus>();
    if (ESG_Wireless->rowCount() < index + 1)
        ESG_Wireless->setRowCount(index + 1);
    auto hex = [](qint64 v, int digits) {
        return QStringLiteral("%1").arg(v, digits, 16, QLatin1Char('0')).toUpper();
    };
    auto versionText = [&](int v) {
        return QString::number(v) + QStringLiteral(" (") + hex(v, 2) + QLatin1Char(')');
    };
    const QStringList texts = {QString::number(index + 1),
                               QLocale::system().toString(m.DateTime, QLocale::ShortFormat),
                               QStringLiteral("0x") + hex(m.Message_Type, 2),
                               m.LLA_Manu_str + QLatin1Char('(') + hex(m.LLA_Manufacturer, 4)
                                   + QLatin1Char(')'),
                               hex(quint32(m.LLA_Address), 8),
                               versionText(m.LLA_Version),
                               versionText(m.LLA_DeviceType),
                               m.ALA_Manu_str + QLatin1Char('(') + hex(m.ALA_Manufacturer, 4)
                                   + QLatin1Char(')'),
                               hex(quint32(m.ALA_Address), 8),
                               versionText(m.ALA_Version),
                               versionText(m.ALA_DeviceType),
                               QString::number(m.RSSI),
                               QString()};
    const QColor encrypted(255, 187, 185);
    const QColor plain(168, 255, 168);
    for (int c = 0; c < 13; ++c) {
        auto* item = new QTableWidgetItem(texts[c]);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        if (c > 0)
            item->setBackground(m.Cripted ? encrypted : plain);
        if (c == 12) {
            // The mark of the "Cripted" column: image 0 encrypted, 1 plain.
            QPixmap mark(12, 12);
            mark.fill(m.Cripted ? QColor(200, 0, 0) : QColor(0, 150, 0));
            item->setData(Qt::DecorationRole, mark);
            item->setData(Qt::UserRole, m.Cripted ? 0 : 1);
            item->setTextAlignment(Qt::AlignCenter);
        }
        ESG_Wireless->setItem(index, c, item);
    }
    if (m_wTreeIndex == index)
        Show_Slave_in_Tree_Wireless(index);
}

void TFScanDecode::Show_Slave_in_Tree_Wireless(int index)
{
    VST_Wireless->Clear();  // before the meter its nodes read may go
    m_wTreeIndex = -1;
    if (index < 0 || std::size_t(index) >= m_wSlaves.size())
        return;
    m_wTreeIndex = index;
    VST_Wireless->SetRootNodeCount(1);
}

void TFScanDecode::VST_WirelessInitNode(LazyTreeModel& tree, PLazyNode parent, PLazyNode node,
                                        TLazyNodeInitStates& states)
{
    const TSlave_wMBus* meter = wirelessTreeMeter();
    const std::uint32_t level = tree.GetNodeLevel(node);
    QString text;
    bool enabled = false;
    if (!meter) {
        // No meter behind the tree (it was emptied meanwhile): a blank node, never a stale one.
    } else if (level == 0) {
        const TSlave_wMBus& m = *meter;
        text = QStringLiteral("Manufacturer = ") + m.ALA_Manu_str + QStringLiteral(" - Address = ")
               + QStringLiteral("%1").arg(quint32(m.ALA_Address), 8, 16, QLatin1Char('0')).toUpper()
               + QStringLiteral(" - Version = ") + QString::number(m.ALA_Version)
               + QStringLiteral(" - Device Type = ") + QString::number(m.ALA_DeviceType)
               + QStringLiteral(" - ") + (m.Cripted ? QStringLiteral("CRIPTED!!") : QString());
        enabled = m.Enable;
        if (!m.List_Var.empty())
            states.include(ivsHasChildren);
    } else if (level == 1 && node->Index < meter->List_Var.size()) {
        const TVariable_MBus& r = meter->List_Var[node->Index];
        text = r.Real_Wireless_Var ? recordNodeText(r) : QStringLiteral("Idle Filler");
        enabled = r.Enable;
        states.include(ivsHasChildren);
    } else if (level == 2 && parent->Index < meter->List_Var.size()) {
        const auto details = recordDetailTexts(meter->List_Var[parent->Index]);
        if (node->Index < details.size())
            text = details[node->Index];
    }
    new (tree.GetNodeData(node)) TMyRec{std::move(text), false};
    if (level < 2) {
        VST_Wireless->SetCheckType(node, ctTriStateCheckBox);
        node->CheckState = enabled ? csCheckedNormal : csUncheckedNormal;
    }
}

void TFScanDecode::VST_WirelessChecked(LazyTreeModel& tree, PLazyNode node)
{
    TSlave_wMBus* meter = wirelessTreeMeter();
    const TCheckState state = tree.CheckState(node);
    if (!meter || (state != csCheckedNormal && state != csUncheckedNormal))
        return;
    const bool enable = state == csCheckedNormal;
    const std::uint32_t level = tree.GetNodeLevel(node);
    if (level == 0)
        meter->Enable = enable;
    else if (level == 1 && node->Index < meter->List_Var.size())
        meter->List_Var[node->Index].Enable = enable;
}

void TFScanDecode::Cancel_Device_List_Wireless()
{
    VST_Wireless->Clear();  // before the meters its nodes read go
    m_wTreeIndex = -1;
    m_wSlaves.clear();
}

void TFScanDecode::Cancel_Grid_Wireless()
{
    ESG_Wireless->clearContents();
    ESG_Wireless->setRowCount(1);
}

void TFScanDecode::ESG_WirelessDblClickCell(int row, const QPoint& globalMouse)
{
    if (row < 0 || std::size_t(row) >= m_wSlaves.size() || !m_wSlaves[std::size_t(row)]->Cripted)
        return;
    TFInsertKeyWireless& dialog = keyDialog();
    // At the mouse, moved left and up as far as it would reach beyond the client area.
    const QPoint at = mapFromGlobal(globalMouse);
    const int x = std::max(0, std::min(at.x(), width() - dialog.width()));
    const int y = std::max(0, std::min(at.y(), height() - dialog.height()));
    dialog.move(mapToGlobal(QPoint(x, y)));
    if (dialogs().showModal(dialog) != mrOk)
        return;
    const QByteArray bytes = TWMBusIntake::HexStr_To_Bin(dialog.E_Key->text());
    AesKey key{};
    for (int i = 0; i < 16 && i < bytes.size(); ++i)
        key[std::size_t(i)] = std::uint8_t(bytes[i]);
    emit Insert_Wireless_Key(row, key);
    // The engine loads the key into the module; the meter's next telegram comes decoded and
    // its row turns green. Once the scan is over there is no module to load it into.
    if (m_engine && m_engine->inScan() && m_wirelessScan)
        m_engine->Insert_Wireless_Key(row, key);
}

bool TFScanDecode::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent*>(event)->text() == QLatin1String(".")) {
        // A dot moves on to the next address byte; it is never typed into a field.
        if (watched == E_IP1)
            E_IP2->setFocus();
        else if (watched == E_IP2)
            E_IP3->setFocus();
        else if (watched == E_IP3)
            E_IP4->setFocus();
        return true;
    }
    return TModalForm::eventFilter(watched, event);
}

void TFScanDecode::done(int result)
{
    if (m_scanning || m_startPending) {
        // The old window forced the engine to "not scanning" after 100 ms, which skipped the
        // closing steps and left the gateway in analyzer mode. Here the engine is only asked
        // to abort and finishes those steps on its own; the window closes at once.
        if (m_engine && m_engine->inScan())
            m_engine->Abort_Scan();
        // Every started scan sends one end notice; the abandoned one's is not this window's.
        if (m_scanning)
            ++m_staleEnds;
        m_scanning = false;
        m_startPending = false;
        m_waitIdle->stop();
        Btn_StartScan->setEnabled(true);
    }
    TModalForm::done(result);
}

}  // namespace zfw
