#include "config/UBoot.h"

#include "common/ProjectXml.h"
#include "common/UComon.h"
#include "common/UComonValidators.h"
#include "config/UpdateProgram.h"
#include "controls/FormParts.h"
#include "platform/Colors.h"
#include "platform/Dialogs.h"
#include "platform/SerialPorts.h"
#include "platform/Services.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QTimer>
#include <QTreeWidget>
#include <QXmlStreamWriter>

namespace zfw {

namespace {

constexpr int kClientWidth = 449;
constexpr int kTitleHeight = 66;
constexpr int kAddressHeight = 64;
constexpr int kSearchHeight = 160;
constexpr int kOptionsHeight = 66;
constexpr int kSerialHeight = 56;
constexpr int kButtonHeight = 56;

// Echo requests: 89 data characters, 400 ms for each reply, 10 ms pause before the next
// one, two good replies suffice, and no new request after 5 s.
constexpr char kPingData[] =
    "12345678901234567890123456789012345678901234567890123456789012345678901234567890123456789";
constexpr int kPingTimeoutMs = 400;
constexpr int kPingPauseMs = 10;
constexpr int kPingGoodReplies = 2;
constexpr int kPingTotalMs = 5000;
// Every request takes at least the pause, so no run can need more tries than this; the cap
// only matters when the clock stands still.
constexpr int kPingMaxTries = kPingTotalMs / kPingPauseMs;

constexpr int kOptionFirmwareAndConfiguration = 0;
constexpr int kOptionFirmware = 1;
constexpr int kOptionConfiguration = 2;

// One file of the operation list with the values in which the three kinds differ.
struct UpdateOperation {
    QString fileName;
    const char* startAddress;
    const char* bankType;
    const char* writeCss;
    const char* writeInternalData;
    const char* goToAppAfter;
};

QWidget* makePanel(QWidget* parent, const char* name, int height)
{
    auto* p = new QWidget(parent);
    p->setObjectName(QLatin1String(name));
    p->resize(kClientWidth, height);
    return p;
}

}  // namespace

TFBoot::TFBoot(QWidget* parent, const BootServices& with)
    : TForm(parent), m_services(with), m_programTimeLimitMs(kStartProgramLimitMs)
{
    setObjectName(QStringLiteral("TFBoot"));
    createControls();
    L_SW_Code->setText(programState().SW_Code);
    L_SW_Code->adjustSize();
    Set_Lang();
    layoutPanels();
}

void TFBoot::createControls()
{
    P_Title = makePanel(this, "P_Title", kTitleHeight);
    const TitlePanel title = makeSoftwareLabels(P_Title, QPoint(16, 6), QPoint(16, 44), 30);
    L_SW_Code = title.code;
    L_SW_Desc = title.description;
    QFont descFont = font();
    descFont.setBold(true);

    P_IP_Address = makePanel(this, "P_IP_Address", kAddressHeight);
    L_IP_Address = makeFormLabel(P_IP_Address, "L_IP_Address", 16, 8);
    QLineEdit** edits[] = {&E_IP1, &E_IP2, &E_IP3, &E_IP4};
    for (int i = 0; i < 4; ++i) {
        auto* e = new QLineEdit(QStringLiteral("0"), P_IP_Address);
        e->setObjectName(QStringLiteral("E_IP%1").arg(i + 1));
        e->setGeometry(16 + i * 64, 30, 48, 24);
        e->setAlignment(Qt::AlignCenter);
        e->installEventFilter(this);
        *edits[i] = e;
        if (i < 3) {
            auto* dot = makeFormLabel(P_IP_Address, "L_Dot", 16 + i * 64 + 52, 34);
            dot->setText(QStringLiteral("."));
            dot->setFont(descFont);
            dot->adjustSize();
        }
    }

    // The device search is not offered by this model; its panel exists but no mode shows it.
    P_Eth_Search = makePanel(this, "P_Eth_Search", kSearchHeight);
    L_Eth_Search = makeFormLabel(P_Eth_Search, "L_Eth_Search", 16, 8);
    Btn_Eth_Search = new TBootButton(P_Eth_Search);
    Btn_Eth_Search->setObjectName(QStringLiteral("Btn_Eth_Search"));
    Btn_Eth_Search->setGeometry(kClientWidth - 116, 4, 100, 26);
    LV_Eth_Devices = new QTreeWidget(P_Eth_Search);
    LV_Eth_Devices->setObjectName(QStringLiteral("LV_Eth_Devices"));
    LV_Eth_Devices->setColumnCount(2);
    LV_Eth_Devices->setRootIsDecorated(false);
    LV_Eth_Devices->setGeometry(16, 34, kClientWidth - 32, 96);
    CB_Eth_Search = new QCheckBox(P_Eth_Search);
    CB_Eth_Search->setObjectName(QStringLiteral("CB_Eth_Search"));
    CB_Eth_Search->move(16, 136);

    P_Options = makePanel(this, "P_Options", kOptionsHeight);
    L_Update_Option = makeFormLabel(P_Options, "L_Update_Option", 16, 8);
    CB_Update_Options = new QComboBox(P_Options);
    CB_Update_Options->setObjectName(QStringLiteral("CB_Update_Options"));
    CB_Update_Options->setGeometry(16, 28, 240, 26);
    CB_Update_Option_Read_Back = new QCheckBox(P_Options);
    CB_Update_Option_Read_Back->setObjectName(QStringLiteral("CB_Update_Option_Read_Back"));
    CB_Update_Option_Read_Back->setGeometry(276, 30, kClientWidth - 292, 22);
    CB_Update_Option_Read_Back->setChecked(true);

    P_Serial = makePanel(this, "P_Serial", kSerialHeight);
    CB_COM_Port = new QComboBox(P_Serial);
    CB_COM_Port->setObjectName(QStringLiteral("CB_COM_Port"));
    CB_COM_Port->setGeometry(16, 16, 160, 26);
    Btn_COM_List = new TBootButton(P_Serial);
    Btn_COM_List->setObjectName(QStringLiteral("Btn_COM_List"));
    Btn_COM_List->setGeometry(184, 14, 30, 30);

    P_Button = makePanel(this, "P_Button", kButtonHeight);
    Btn_Cancel = new TBootButton(P_Button);
    Btn_Cancel->setObjectName(QStringLiteral("Btn_Cancel"));
    Btn_Cancel->setGeometry(16, 12, 130, 32);
    Btn_Update = new TBootButton(P_Button);
    Btn_Update->setObjectName(QStringLiteral("Btn_Update"));
    Btn_Update->setGeometry(kClientWidth - 16 - 210, 12, 210, 32);

    connect(Btn_Cancel, &QAbstractButton::clicked, this, &QDialog::reject);
    connect(Btn_Update, &QAbstractButton::clicked, this, &TFBoot::Btn_UpdateClick);
    connect(Btn_COM_List, &QAbstractButton::clicked, this, &TFBoot::Btn_COM_ListClick);

    // Address panel, search panel, options, buttons, serial panel.
    QWidget* order[] = {E_IP1,
                        E_IP2,
                        E_IP3,
                        E_IP4,
                        Btn_Eth_Search,
                        LV_Eth_Devices,
                        CB_Eth_Search,
                        CB_Update_Options,
                        CB_Update_Option_Read_Back,
                        Btn_Cancel,
                        Btn_Update,
                        CB_COM_Port,
                        Btn_COM_List};
    for (size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);
}

void TFBoot::layoutPanels()
{
    const bool ethernet = Form_Type == 1;
    P_Eth_Search->hide();
    P_IP_Address->setVisible(ethernet);
    P_Serial->setVisible(!ethernet);
    P_Options->show();
    // Title, then the mode's panel, the options and the buttons, stacked without gaps.
    QWidget* stack[] = {P_Title, ethernet ? P_IP_Address : P_Serial, P_Options, P_Button};
    int top = 0;
    for (QWidget* p : stack) {
        p->move(0, top);
        top += p->height();
    }
    setFixedClientSize(kClientWidth, top);
}

void TFBoot::Set_Lang()
{
    const ProgramState& s = programState();
    const bool ethernet = Form_Type == 1;
    setWindowTitle(s.lang(ethernet ? 1002 : 1000));
    L_SW_Desc->setText(s.lang(ethernet ? 1003 : 1001));
    L_SW_Desc->adjustSize();
    L_IP_Address->setText(s.lang(1006));
    L_IP_Address->adjustSize();
    L_Update_Option->setText(s.lang(1014));
    L_Update_Option->adjustSize();
    CB_Update_Options->clear();
    CB_Update_Options->addItems({s.lang(1015), s.lang(1016), s.lang(1017)});
    CB_Update_Options->setCurrentIndex(0);
    CB_Update_Option_Read_Back->setText(s.lang(1018));
    Btn_Cancel->setText(s.lang(1019));
    Btn_Update->setText(s.lang(1020));
    QLineEdit* edits[] = {E_IP1, E_IP2, E_IP3, E_IP4};
    for (int i = 0; i < 4; ++i)
        edits[i]->setToolTip(s.lang(1021 + i));
    CB_Update_Options->setToolTip(s.lang(1032));
    CB_Update_Option_Read_Back->setToolTip(s.lang(1033));
    Btn_Cancel->setToolTip(s.lang(1034));
    Btn_Update->setToolTip(s.lang(1035));

    L_Eth_Search->setText(s.lang(1009));
    L_Eth_Search->adjustSize();
    Btn_Eth_Search->setText(s.lang(1010));
    LV_Eth_Devices->setHeaderLabels({s.lang(1011), s.lang(1012)});
    CB_Eth_Search->setText(s.lang(1013));
    CB_Eth_Search->adjustSize();
    Btn_Eth_Search->setToolTip(s.lang(1029));
    LV_Eth_Devices->setToolTip(s.lang(1030));
    CB_Eth_Search->setToolTip(s.lang(1031));
}

void TFBoot::showEvent(QShowEvent* event)
{
    TForm::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TFBoot::FormShow()
{
    ProgramState& s = programState();
    // The style's reload picture takes a noticeable time to look up, and the serial panel
    // that shows it is seldom used: it is fetched at the first showing, not at start-up.
    if (Btn_COM_List->glyph().isNull())
        Btn_COM_List->setGlyph(
            style()->standardIcon(QStyle::SP_BrowserReload).pixmap(16, 16).toImage());
    Set_Lang();
    L_SW_Code->setText(s.SW_Code);
    L_SW_Code->adjustSize();
    layoutPanels();

    // An index outside the list (never stored by this window) keeps the first option.
    const int option = s.Update_Option_Index;
    if (option >= 0 && option < CB_Update_Options->count())
        CB_Update_Options->setCurrentIndex(option);
    CB_Update_Option_Read_Back->setChecked(s.Update_Read_Back);

    if (Form_Type == 1) {
        QString a, b, c, d;
        if (!s.Device_IP_Address.isEmpty() && Split_IP_Address(s.Device_IP_Address, a, b, c, d)) {
            E_IP1->setText(a);
            E_IP2->setText(b);
            E_IP3->setText(c);
            E_IP4->setText(d);
        }
        E_IP1->setFocus();
    } else {
        update_ComPort();
        CB_COM_Port->setFocus();
    }
}

bool TFBoot::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* edit = qobject_cast<QLineEdit*>(watched);
        const QString text = static_cast<QKeyEvent*>(event)->text();
        if (edit && text.size() == 1 && KeyPress(edit, text.front()))
            return true;
    }
    return TForm::eventFilter(watched, event);
}

bool TFBoot::KeyPress(QLineEdit* edit, QChar key)
{
    if (key != QLatin1Char('.'))
        return false;
    QLineEdit* next = edit == E_IP1   ? E_IP2
                      : edit == E_IP2 ? E_IP3
                      : edit == E_IP3 ? E_IP4
                                      : nullptr;
    if (next && next->isEnabled() && next->isVisible())
        next->setFocus(Qt::TabFocusReason);
    return true;
}

QString TFBoot::ipAddressText() const
{
    return E_IP1->text() + QLatin1Char('.') + E_IP2->text() + QLatin1Char('.') + E_IP3->text()
           + QLatin1Char('.') + E_IP4->text();
}

IPinger& TFBoot::echoClient() const { return m_services.pinger ? *m_services.pinger : pinger(); }

IClock& TFBoot::clock() const
{
    return m_services.program.clock ? *m_services.program.clock : *services().clock;
}

QString TFBoot::updateProgram() const
{
    return m_updateProgram.isEmpty() ? defaultUpdateProgram(programState()) : m_updateProgram;
}

void TFBoot::setBusy(bool busy)
{
    m_busy = busy;
    Btn_Update->setEnabled(!busy);
    Btn_Cancel->setEnabled(!busy);
    // The list must name the address that answered and the choices made before the check.
    P_IP_Address->setEnabled(!busy);
    P_Options->setEnabled(!busy);
}

void TFBoot::done(int result)
{
    if (m_busy)
        return;
    TForm::done(result);
}

void TFBoot::Btn_UpdateClick()
{
    ProgramState& s = programState();
    if (m_busy)
        return;
    if (Form_Type != 1) {
        s.Update_Option_Index = CB_Update_Options->currentIndex();
        s.Update_Read_Back = CB_Update_Option_Read_Back->isChecked();
        return;
    }

    // The old window left both buttons live while it processed events between echo
    // requests, so a second click started a second check and a second update program, and
    // Cancel closed the window in the middle. Both stay off until the program has ended.
    setBusy(true);
    Send_Ping();
}

void TFBoot::Send_Ping()
{
    ping_res = 0;
    m_pingNotPermitted = false;
    m_pingStart = clock().monotonicMs();
    m_pingTries = 0;
    m_goodReplies = 0;
    sendEcho();
}

void TFBoot::sendEcho()
{
    ++m_pingTries;
    echoClient().echo(ipAddressText(), QByteArray(kPingData), kPingTimeoutMs, this,
                      [this](const EchoResult& reply) { echoAnswered(reply); });
}

void TFBoot::echoAnswered(const EchoResult& reply)
{
    if (reply.status == EchoResult::Status::Failed) {
        m_pingNotPermitted = reply.notPermitted;
        pingFinished(false);
        return;
    }
    PingReply(reply);
    QTimer::singleShot(kPingPauseMs, this, &TFBoot::afterPingPause);
}

void TFBoot::afterPingPause()
{
    if (ping_res == 1 && ++m_goodReplies >= kPingGoodReplies) {
        pingFinished(true);
        return;
    }
    if (clock().monotonicMs() - m_pingStart > kPingTotalMs || m_pingTries >= kPingMaxTries) {
        pingFinished(ping_res == 1);
        return;
    }
    sendEcho();
}

void TFBoot::pingFinished(bool answered)
{
    ProgramState& s = programState();
    if (!answered) {
        setBusy(false);
        if (ping_res == 2)
            services().dialogs->showWarning(s.lang(1036), this);
        else
            services().dialogs->showError(s.lang(m_pingNotPermitted ? 1038 : 1037), this);
        return;
    }

    s.Device_IP_Address = ipAddressText();
    s.Update_Option_Index = CB_Update_Options->currentIndex();
    s.Update_Read_Back = CB_Update_Option_Read_Back->isChecked();

    // Starting the program on an old or missing list would update the device with other
    // files than the user chose; a list that cannot be written stops here with its reason.
    QString error;
    if (!Compile_XML_Parameter_New_Boot(&error)) {
        setBusy(false);
        services().dialogs->showError(error, this);
        return;
    }
    Start_Program(
        s, updateProgram(), QString(), 0, this, m_programTimeLimitMs,
        [this](StartProgramResult) { setBusy(false); }, m_services.program);
}

void TFBoot::PingReply(const EchoResult& reply)
{
    ping_res = reply.status == EchoResult::Status::Reply && reply.bytesReceived > 0 ? 1 : 2;
}

QByteArray TFBoot::ethernetUpdateXml() const
{
    const ProgramState& s = programState();
    const char* readBack = CB_Update_Option_Read_Back->isChecked() ? "1" : "0";
    const int option = CB_Update_Options->currentIndex();

    const QString binDir = joinPath(s.Dir_Project, QStringLiteral("bin"));
    const UpdateOperation firmware{joinPath(s.Dir_Master, QStringLiteral("SimK4R89.sim")),
                                   "0x8000",
                                   "1",
                                   "1",
                                   "0",
                                   option == kOptionFirmware ? "1" : "0"};
    const UpdateOperation bank1{
        joinPath(binDir, QStringLiteral("bank1.bin")), "0x07000", "2", "0", "1", "0"};
    const UpdateOperation bank2{
        joinPath(binDir, QStringLiteral("bank2.bin")), "0x80000", "2", "0", "0", "1"};
    std::vector<const UpdateOperation*> operations;
    switch (option) {
    case kOptionFirmware: operations = {&firmware}; break;
    case kOptionConfiguration: operations = {&bank1, &bank2}; break;
    case kOptionFirmwareAndConfiguration:
    default:  // no choice made yet
        operations = {&firmware, &bank1, &bank2};
        break;
    }

    QByteArray bytes;
    QXmlStreamWriter w(&bytes);
    w.setAutoFormatting(true);
    w.setAutoFormattingIndent(2);
    w.writeStartElement(QStringLiteral("Ethernet_Update"));
    w.writeTextElement(QStringLiteral("Version"), QStringLiteral("1000"));
    w.writeTextElement(QStringLiteral("Title"),
                       QStringLiteral("Brenikcorp - CFK4R89 Ethernet Update"));
    w.writeTextElement(QStringLiteral("IP_Address_Dev"), ipAddressText());
    w.writeTextElement(QStringLiteral("Application_Port"), QStringLiteral("10000"));
    w.writeTextElement(QStringLiteral("Boot_Port"), QStringLiteral("2008"));
    w.writeTextElement(QStringLiteral("Boot_Port_Sec"), QStringLiteral("2007"));
    w.writeTextElement(QStringLiteral("Address_Protection"), QStringLiteral("0x07800"));
    w.writeStartElement(QStringLiteral("Protections"));
    w.writeTextElement(QStringLiteral("Protection"), QStringLiteral("0x420"));
    w.writeEndElement();
    w.writeStartElement(QStringLiteral("Operations"));
    for (const UpdateOperation* op : operations) {
        auto text = [&w](const char* name, const QString& value) {
            w.writeTextElement(QLatin1String(name), value);
        };
        auto fixed = [&text](const char* name, const char* value) {
            text(name, QLatin1String(value));
        };
        w.writeStartElement(QStringLiteral("Operation"));
        fixed("Ope_Protection_Enabled", "");
        fixed("Ope_GoToBoot_Before", "0");
        fixed("Ope_GoToApp_Before", "0");
        fixed("Ope_IP_Address", "");
        fixed("Ope_Port", "2008");
        fixed("Ope_Port_Sec", "2007");
        fixed("Ope_Erase_Memory", "0");
        text("Ope_FileName", op->fileName);
        fixed("Ope_Start_Address", op->startAddress);
        fixed("Ope_Memory_Type", "0");
        fixed("Ope_Bank_Type", op->bankType);
        fixed("Ope_Read_Back", readBack);
        fixed("Ope_Write_CSS", op->writeCss);
        fixed("Ope_Address_CSS", "0x07A00");
        fixed("Ope_Command_CSS", "0x02");
        fixed("Ope_Write_Internal_Data", op->writeInternalData);
        fixed("Ope_WID_Address", "0x07810");
        fixed("Ope_WID_Command", "0x02");
        fixed("Ope_WID_Data", "0x00, 0x00, 0x00, 0x01");
        fixed("Ope_GoToApp_After", op->goToAppAfter);
        w.writeEndElement();
    }
    w.writeEndElement();
    w.writeEndElement();
    // Without a declaration the writer still starts a new line before the root; the file
    // begins with the root element and ends with a line break.
    if (bytes.startsWith('\n'))
        bytes.remove(0, 1);
    bytes.append('\n');
    return bytes;
}

bool TFBoot::Compile_XML_Parameter_New_Boot(QString* error)
{
    const QString path = joinPath(programState().Dir_Exe, QStringLiteral("Ethernet_Update.xml"));
    const FileResult r = saveFileAtomically(path, ethernetUpdateXml());
    if (!r && error)
        *error = r.message;
    return r.ok;
}

void TFBoot::update_ComPort()
{
    CB_COM_Port->clear();
    CB_COM_Port->addItems(Get_COM_Port_List());
    CB_COM_Port->setCurrentIndex(CB_COM_Port->count() > 0 ? 0 : -1);
}

void TFBoot::Btn_COM_ListClick() { update_ComPort(); }

}  // namespace zfw
