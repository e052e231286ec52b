#include "shell/UZandovericoFirmWare.h"

#include "common/ProjectXml.h"
#include "common/UComon.h"
#include "common/ULanguage.h"
#include "common/USettings.h"
#include "config/UBoot.h"
#include "config/UUpdateDevice.h"
#include "controls/FormParts.h"
#include "editors/fieldbus/UEDSBuild.h"
#include "platform/Colors.h"
#include "platform/Dialogs.h"
#include "platform/Http.h"
#include "platform/Services.h"
#include "shell/UAbout.h"
#include "shell/UOpenConf.h"
#include "shell/USoftOptions.h"

#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QPointer>
#include <QStyle>
#include <QTimer>
#include <QUrl>
#include <QUrlQuery>

#include <exception>

namespace zfw {

namespace {

constexpr int kClientWidth = 694;
constexpr TColor kWindowColor = 15595512;
constexpr int kStepButtonWidth = 170;
constexpr int kStepButtonHeight = 36;

int stepTop(int n) { return 128 + 44 * (n - 1); }

enum class Action {
    None,  // handled before the project test
    ShowForm,
    UpdateDevice,
    BACnetEdeFile,
    BuildEdsFile,
    CreateGsdFile,
    ProfinetXml,
    SaveMib,
    ScanDecode,
};

struct StepButtonDef {
    const char* name;
    int caption;  // language text, -1: fixed caption
    int hint;     // language text, -1: none
    const char* fixedCaption;
    bool needsProject;
    Action action;
    FormId form;
};

constexpr FormId kNoForm = FormId::TFZandovericoFirmWare;

// The buttons of the main window in the order Btn_Click tests them; the first nine are shown
// in this build, the others belong to the family's other models and stay hidden.
constexpr StepButtonDef kButtons[] = {
    {"Btn_New", 15, 22, nullptr, false, Action::None, kNoForm},
    {"Btn_Open", 16, 23, nullptr, false, Action::None, kNoForm},
    {"Btn_Close", -1, 14, nullptr, false, Action::None, kNoForm},
    {"Btn_Info", -1, 12, nullptr, false, Action::None, kNoForm},
    {"Btn_Opz", -1, 13, nullptr, false, Action::None, kNoForm},
    {"Btn_Prm_Gen", 20, 24, nullptr, true, Action::ShowForm, FormId::TFParGen},
    {"Btn_LoRaWAN_Access", 21, 25, nullptr, true, Action::ShowForm, FormId::TFLoRa_Set_Access},
    {"Btn_S7_Protocol_Access", 78, 79, nullptr, true, Action::ShowForm,
     FormId::TFS7_Protocol_Set_Access},
    {"Btn_CreateBin", 17, 26, nullptr, true, Action::UpdateDevice, kNoForm},
    {"Btn_BACnet_SetAccess", 27, 29, nullptr, true, Action::ShowForm, FormId::TFBACnetAccess},
    {"Btn_BACnet_EDE_File", -1, -1, "BACnet EDE File", true, Action::BACnetEdeFile, kNoForm},
    {"Btn_MBus", 31, 32, nullptr, true, Action::ShowForm, FormId::TFMeter_Bus},
    {"Btn_Modbus_Set_Access", 36, 37, nullptr, true, Action::ShowForm,
     FormId::TFModbus_TCP_Master_Set_Access},
    {"Btn_CAN_Rec_Frame", 38, 39, nullptr, true, Action::ShowForm, FormId::TFReceiveCAN},
    {"Btn_CAN_Send_Frame", 40, 41, nullptr, true, Action::ShowForm, FormId::TFTransmitCAN},
    {"Btn_PDO_CANopen", 50, 51, nullptr, true, Action::ShowForm, FormId::TFSet_PDO_Access},
    {"Btn_SDO_Client_CANopen", 48, 49, nullptr, true, Action::ShowForm,
     FormId::TFSet_SDO_Client_Access},
    {"Btn_SDO_Server_CANopen", 46, 47, nullptr, true, Action::ShowForm,
     FormId::TFSet_SDO_Server_Access},
    {"Btn_CANopen_EDS", 52, 53, nullptr, true, Action::BuildEdsFile, kNoForm},
    {"Btn_DNet_Net", 54, 55, nullptr, true, Action::ShowForm, FormId::TFDNet},
    {"Btn_DNet_Offset", 56, 57, nullptr, true, Action::ShowForm, FormId::TFDefOffset},
    {"Btn_DMX_Default", 58, 59, nullptr, true, Action::ShowForm, FormId::TFDMXDefVal},
    {"Btn_EtherNetIP_Access", 60, 61, nullptr, true, Action::ShowForm,
     FormId::TFEtherNetIP_Master_Access},
    {"Btn_KNX_Access", -1, -1, "KNX Access", true, Action::ShowForm, FormId::TFKNXAccess},
    {"Btn_PROFIBUS_GSD", 62, 63, nullptr, true, Action::CreateGsdFile, kNoForm},
    {"Btn_PROFINET_XML", 64, 65, nullptr, true, Action::ProfinetXml, kNoForm},
    {"Btn_IEC61850_Client", 66, 67, nullptr, true, Action::ShowForm, FormId::TFIEC_61850_Access},
    {"Btn_TLS_List_Certificates", 70, 71, nullptr, true, Action::ShowForm,
     FormId::TFTLS_Server_Known_Cert},
    {"Btn_IEC61850_Access", 68, 69, nullptr, true, Action::ShowForm, FormId::TFIEC61850_Variables},
    {"Btn_MQTT_Set_Topic", 72, 73, nullptr, true, Action::ShowForm, FormId::TFMQTT_Set_Topic},
    {"Btn_OPC_UA_Client_Access", 74, 75, nullptr, true, Action::ShowForm,
     FormId::TFOPC_UA_Client_Access},
    {"Btn_OPC_UA_Server_Access", 76, 77, nullptr, true, Action::ShowForm,
     FormId::TFOPC_UA_Server_Access},
    {"Btn_SNMP_Manager_Access", 80, 81, nullptr, true, Action::ShowForm,
     FormId::TFSNMPManagerAccess},
    {"Btn_SNMP_Trap", 82, 83, nullptr, true, Action::ShowForm, FormId::TFSNMP_Trap_Access},
    {"Btn_SNMP_MIB", 84, 85, nullptr, true, Action::SaveMib, kNoForm},
    {"Btn_ScanDecode", 33, 34, nullptr, true, Action::ScanDecode, kNoForm},
};

const StepButtonDef* findDef(const QObject* o)
{
    if (!o)
        return nullptr;
    const QByteArray name = o->objectName().toLatin1();
    for (const StepButtonDef& d : kButtons)
        if (name == d.name)
            return &d;
    return nullptr;
}

}  // namespace

TFZandovericoFirmWare::TFZandovericoFirmWare(const QString& dataRoot, QWidget* parent)
    : QWidget(parent), m_http(std::make_unique<QtHttpGet>())
{
    setObjectName(QStringLiteral("FZandovericoFirmWare"));
    programState().Dir_Exe = QDir::cleanPath(dataRoot);
    FormCreate();
}

TFZandovericoFirmWare::~TFZandovericoFirmWare() = default;

void TFZandovericoFirmWare::createControls()
{
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFont(QFont(QStringLiteral("Verdana"), 8));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, toQColor(kWindowColor));
    setPalette(pal);
    setAutoFillBackground(true);

    const TitlePanel title = makeSoftwareLabels(this, QPoint(16, 8), QPoint(16, 42), 32);
    L_SW_Code = title.code;
    L_SW_Desc = title.description;
    QFont boldFont = font();
    boldFont.setBold(true);

    L_Begin = makeFormLabel(this, "L_Begin", 16, 84);
    Shape2 = new QFrame(this);
    Shape2->setObjectName(QStringLiteral("Shape2"));
    Shape2->setFrameShape(QFrame::Box);
    Shape2->setGeometry(80, 70, 430, 34);
    L_Name_Conf = makeFormLabel(this, "L_Name_Conf", 87, 75);
    L_Name_Conf_L2 = makeFormLabel(this, "L_Name_Conf_L2", 87, 88);

    for (int n = 1; n <= 8; ++n) {
        L_Step[n - 1] = makeFormLabel(this,
                                      QStringLiteral("L_Step_%1").arg(n).toLatin1().constData(), 16,
                                      stepTop(n));
        L_Step[n - 1]->setFont(boldFont);
        L_Step[n - 1]->setVisible(n <= 5);
    }

    for (const StepButtonDef& d : kButtons) {
        auto* b = new TStepButton(this);
        b->setObjectName(QLatin1String(d.name));
        applyFormButtonLook(b);
        b->resize(kStepButtonWidth, kStepButtonHeight);
        b->hide();
        connect(b, &QAbstractButton::clicked, this, [this, b] { Btn_Click(b); });
        m_stepButtons.push_back(b);
    }
    auto button = [this](const char* name) {
        return findChild<TStepButton*>(QLatin1String(name), Qt::FindDirectChildrenOnly);
    };
    Btn_Info = button("Btn_Info");
    Btn_Opz = button("Btn_Opz");
    Btn_Close = button("Btn_Close");
    Btn_New = button("Btn_New");
    Btn_Open = button("Btn_Open");
    Btn_Prm_Gen = button("Btn_Prm_Gen");
    Btn_LoRaWAN_Access = button("Btn_LoRaWAN_Access");
    Btn_S7_Protocol_Access = button("Btn_S7_Protocol_Access");
    Btn_CreateBin = button("Btn_CreateBin");
    button("Btn_ScanDecode")->resize(166, kStepButtonHeight);

    const QStyle::StandardPixmap icons[] = {QStyle::SP_MessageBoxInformation,
                                            QStyle::SP_FileDialogDetailedView,
                                            QStyle::SP_DialogCloseButton};
    TStepButton* corner[] = {Btn_Info, Btn_Opz, Btn_Close};
    const int cornerLeft[] = {516, 574, 632};
    for (int i = 0; i < 3; ++i) {
        corner[i]->setGeometry(cornerLeft[i], 8, 50, 50);
        corner[i]->setGlyph(style()->standardIcon(icons[i]).pixmap(32, 32).toImage());
        corner[i]->show();
    }

    // The buttons of one step row stand 16 pixels above their step label.
    Btn_New->move(80, stepTop(1) - 16);
    Btn_Open->move(258, stepTop(1) - 16);
    Btn_Prm_Gen->move(80, stepTop(2) - 16);
    Btn_LoRaWAN_Access->move(80, stepTop(3) - 16);
    Btn_S7_Protocol_Access->move(80, stepTop(4) - 16);
    Btn_CreateBin->move(80, stepTop(5) - 16);
    for (TStepButton* b : {Btn_New, Btn_Open, Btn_Prm_Gen, Btn_LoRaWAN_Access,
                           Btn_S7_Protocol_Access, Btn_CreateBin})
        b->show();
    // Hidden buttons of other models wait below the last step.
    for (TStepButton* b : m_stepButtons)
        if (b->isHidden())
            b->move(80, stepTop(6) - 16);

    L_Brenik = makeFormLabel(this, "L_Brenik", 565, stepTop(5));
    L_Brenik->setCursor(Qt::PointingHandCursor);
    L_Brenik->installEventFilter(this);

    Shape1 = new QFrame(this);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setFrameShape(QFrame::HLine);
    Shape1->setGeometry(10, Btn_CreateBin->y() + 51, 674, 1);
    Shape1->setStyleSheet(QStringLiteral("background-color: black;"));

    LL_Update = makeFormLabel(this, "LL_Update", 80, Btn_CreateBin->y() + 64);
    LL_Update->setTextFormat(Qt::RichText);
    LL_Update->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    LL_Update->setOpenExternalLinks(false);
    LL_Update->hide();
    connect(LL_Update, &QLabel::linkActivated, this, &TFZandovericoFirmWare::LL_UpdateLinkClick);

    Timer_Update = new QTimer(this);
    Timer_Update->setObjectName(QStringLiteral("Timer_Update"));
    Timer_Update->setInterval(60000);
    connect(Timer_Update, &QTimer::timeout, this, &TFZandovericoFirmWare::Timer_UpdateTimer);

    setFixedSize(kClientWidth, Btn_CreateBin->y() + 152);
}

void TFZandovericoFirmWare::createFolders()
{
    ProgramState& s = programState();
    s.Dir_Master = joinPath(s.Dir_Exe, QStringLiteral("MASTER"));
    s.Dir_Projects = joinPath(s.Dir_Exe, QStringLiteral("PROJECTS"));
    s.Dir_Language = joinPath(s.Dir_Exe, QStringLiteral("LANGUAGE"));
    m_failedFolders.clear();
    for (const QString& dir : {s.Dir_Master, s.Dir_Projects, s.Dir_Language}) {
        if (!QDir(dir).exists() && !QDir().mkdir(dir))
            m_failedFolders.append(dir);
    }
}

void TFZandovericoFirmWare::FormCreate()
{
    ProgramState& s = programState();
    s.Language_Table.clear();
    createControls();
    createFolders();

    s.Project_Name.clear();
    s.Update_Read_Back = true;
    Load_Settings(s);
    updateTimer();

    s.Main_Title = QString::fromLatin1(Build_Main_Title);
    s.SW_Code = QString::fromLatin1(Build_SW_Code);
    s.SW_Description = QString::fromLatin1(Build_SW_Description);
    setWindowTitle(s.Main_Title);
    L_SW_Code->setText(s.SW_Code);
    L_SW_Code->adjustSize();
    L_SW_Desc->setText(s.SW_Description);
    L_SW_Desc->adjustSize();
    L_Brenik->setText(makerWebAddress(m_web));
    L_Brenik->adjustSize();

    Load_Language(s);

    // The remembered name is kept even when its folder is gone, so it is written back at exit.
    // A name that would leave PROJECTS is never activated.
    const QString dir = joinPath(s.Dir_Projects, s.Project_Name);
    if (!s.Project_Name.isEmpty() && isValidProjectName(s.Project_Name) && QDir(dir).exists())
        s.Dir_Project = dir;
    else
        s.Dir_Project.clear();

    s.Slave_MBus_List.clear();
    s.Slave_wMBus_List.clear();
    Set_Lang();
    Set_Files();
    s.Copy_Row_Buffer.clear();
    s.Copy_Row_CheckBox_Marks.clear();
    s.SNMP_Trap_Read_Names.clear();
    s.SNMP_Trap_Write_Names.clear();
}

void TFZandovericoFirmWare::showProjectState()
{
    const ProgramState& s = programState();
    if (s.isProjectActive()) {
        L_Name_Conf->setText(s.lang(11));
        // A long name used to run over the box and the buttons beside it and was cut at the
        // window's edge. It is shortened in the middle to the box, keeping the same margin on
        // the right as on the left, and the box tells the whole name as its tooltip.
        const int margin = L_Name_Conf_L2->x() - Shape2->x();
        const int width = Shape2->x() + Shape2->width() - margin - L_Name_Conf_L2->x();
        L_Name_Conf_L2->setText(
            L_Name_Conf_L2->fontMetrics().elidedText(s.Project_Name, Qt::ElideMiddle, width));
    } else {
        L_Name_Conf->setText(s.lang(9));
        L_Name_Conf_L2->setText(s.lang(10));
    }
    const QString tip = s.isProjectActive() ? s.Project_Name : QString();
    for (QWidget* w : std::initializer_list<QWidget*>{Shape2, L_Name_Conf, L_Name_Conf_L2})
        w->setToolTip(tip);
    L_Name_Conf->adjustSize();
    L_Name_Conf_L2->adjustSize();
}

void TFZandovericoFirmWare::Set_Lang()
{
    const ProgramState& s = programState();
    L_Begin->setText(s.lang(0));
    L_Begin->adjustSize();
    for (int n = 1; n <= 8; ++n) {
        L_Step[n - 1]->setText(s.lang(n));
        L_Step[n - 1]->adjustSize();
    }
    for (TStepButton* b : m_stepButtons) {
        const StepButtonDef* d = findDef(b);
        if (d->caption >= 0)
            b->setText(s.lang(d->caption));
        else if (d->fixedCaption)
            b->setText(QLatin1String(d->fixedCaption));
        if (d->hint >= 0)
            b->setToolTip(s.lang(d->hint));
    }
    showProjectState();
}

void TFZandovericoFirmWare::Set_Files() { zfw::Set_Files(programState()); }

void TFZandovericoFirmWare::Change_Language()
{
    Set_Lang();
    for (FormId id : languageFollowingForms())
        if (TForm* f = m_forms.form(id))
            f->Set_Lang();
}

void TFZandovericoFirmWare::updateTimer()
{
    const ProgramState& s = programState();
    if (s.Opt_Enable_Internet && s.Opt_Enable_Update)
        Timer_Update->start();
    else
        Timer_Update->stop();
}

void TFZandovericoFirmWare::showForm(FormId id)
{
    if (TForm* f = m_forms.form(id))
        services().dialogs->showModal(*f);
}

void TFZandovericoFirmWare::notAvailable(const QString& what)
{
    services().dialogs->showInformation(
        QStringLiteral("%1: this function is not available in this version yet.").arg(what), this);
}

void TFZandovericoFirmWare::Create_New_Project()
{
    TForm* f = m_forms.form(FormId::TFNew_Project);
    if (f && services().dialogs->showModal(*f) == mrOk)
        showProjectState();
}

void TFZandovericoFirmWare::Open_Project()
{
    auto* f = qobject_cast<TFOpenConf*>(m_forms.form(FormId::TFOpenConf));
    if (!f || services().dialogs->showModal(*f) != mrOk)
        return;
    ProgramState& s = programState();
    const QString name = f->Name_Conf;
    if (name.isEmpty()) {
        s.Project_Name.clear();
        s.Dir_Project.clear();
    } else {
        // The name may be left from an earlier opening whose folder has gone since (an empty
        // list keeps it). Activating it gave a project without a folder, where every editor
        // failed to save; the active project now stays as it was instead.
        const QString dir = joinPath(s.Dir_Projects, name);
        if (!isValidProjectName(name) || !QDir(dir).exists())
            return;
        s.Project_Name = name;
        s.Dir_Project = dir;
    }
    showProjectState();
    Set_Files();
}

void TFZandovericoFirmWare::Update_Device()
{
    zfw::Update_Device(programState(), qobject_cast<TFBoot*>(m_forms.form(FormId::TFBoot)), this);
}

void TFZandovericoFirmWare::L_BrenikClick()
{
    if (m_web.isSet())
        services().urlOpener->openUrl(homePageUrl(m_web));
}

int TFZandovericoFirmWare::Get_Type_BACnet() const
{
    const ProjectXmlLoad file = loadProjectXml(programState().File_ParGen);
    return file.ok() ? childIntDef(file.root, "BACnet_Type", 0) : 0;
}

void TFZandovericoFirmWare::Timer_UpdateTimer()
{
    Timer_Update->stop();
    QPointer<TFZandovericoFirmWare> self(this);
    auto finished = [self](VersionAnswer answer) {
        if (!self)
            return;
        if (answer == VersionAnswer::Newer) {
            self->LL_Update->setText(updateLinkHtml(self->m_web, programState().lang(19)));
            self->LL_Update->adjustSize();
            self->LL_Update->show();
        } else {
            self->LL_Update->hide();
        }
        self->Timer_Update->setInterval(7200000);
        // The answer comes later now; the options may have been switched off meanwhile.
        self->updateTimer();
    };
    // The window that owns the HTTP client runs the check with it.
    Check_Version(m_http.get(), m_web, finished);
}

void TFZandovericoFirmWare::LL_UpdateLinkClick(const QString& link)
{
    services().urlOpener->openUrl(QUrl(link));
}

void TFZandovericoFirmWare::setHttpClient(std::unique_ptr<IHttpGet> client)
{
    m_http = std::move(client);
    passShellServices();
}

void TFZandovericoFirmWare::setMakerWebServer(const MakerWebServer& server)
{
    m_web = server;
    L_Brenik->setText(makerWebAddress(m_web));
    L_Brenik->adjustSize();
    passShellServices();
}

ShellServices TFZandovericoFirmWare::shellServices() const
{
    ShellServices shell;
    shell.web = m_web;
    shell.http = m_http.get();
    return shell;
}

void TFZandovericoFirmWare::passShellServices()
{
    const ShellServices shell = shellServices();
    if (auto* about = qobject_cast<TFAbout*>(m_forms.form(FormId::TFAbout)))
        about->setShellServices(shell);
    if (auto* options = qobject_cast<TFSoftOptions*>(m_forms.form(FormId::TFSoftOptions)))
        options->setShellServices(shell);
}

void TFZandovericoFirmWare::Btn_Click(QObject* sender)
{
    // An error inside an editor must not pass through the event loop: it is shown and the
    // main window stays usable.
    try {
        dispatch(sender);
    } catch (const std::exception& e) {
        services().dialogs->showError(QString::fromUtf8(e.what()), this);
    }
}

void TFZandovericoFirmWare::dispatch(QObject* sender)
{
    const StepButtonDef* d = findDef(sender);
    if (!d)
        return;
    if (sender == Btn_New) {
        Create_New_Project();
        return;
    }
    if (sender == Btn_Open) {
        Open_Project();
        return;
    }
    if (sender == Btn_Close) {
        close();
        return;
    }
    if (sender == Btn_Info) {
        showForm(FormId::TFAbout);
        return;
    }
    if (sender == Btn_Opz) {
        TForm* f = m_forms.form(FormId::TFSoftOptions);
        if (f && services().dialogs->showModal(*f) == mrOk) {
            Save_Setting(programState());
            updateTimer();
        }
        return;
    }
    if (!programState().isProjectActive()) {
        services().dialogs->showError(programState().lang(18), this);
        return;
    }
    switch (d->action) {
    case Action::None: break;
    case Action::ShowForm: showForm(d->form); break;
    case Action::UpdateDevice: Update_Device(); break;
    case Action::ScanDecode:
        if (QFile::exists(programState().File_M_Bus)
            && services().dialogs->messageDlg(programState().lang(35), TMsgDlgType::mtWarning,
                                              mbYes | mbNo, this)
                   != mrYes)
            return;
        showForm(FormId::TFScanDecode);
        break;
    case Action::BuildEdsFile:
        Build_EDS_File(programState(), *services().dialogs, *services().dialogs, *services().clock,
                       this);
        break;
    case Action::BACnetEdeFile:
    case Action::CreateGsdFile:
    case Action::ProfinetXml:
    case Action::SaveMib: notAvailable(static_cast<TStepButton*>(sender)->text()); break;
    }
}

void TFZandovericoFirmWare::FormClose()
{
    // A settings file that cannot be written must not keep the program open.
    Save_Setting(programState());
}

void TFZandovericoFirmWare::closeEvent(QCloseEvent* event)
{
    FormClose();
    event->accept();
}

bool TFZandovericoFirmWare::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == L_Brenik && event->type() == QEvent::MouseButtonRelease) {
        L_BrenikClick();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

TFZandovericoFirmWare* createApplicationWindows(const QString& dataRoot)
{
    auto* main = new TFZandovericoFirmWare(dataRoot);
    for (const FormInfo& info : kFormTable) {
        if (info.id == FormId::TFZandovericoFirmWare)
            continue;
        main->forms().add(info.id, createForm(info.id, main, main->shellServices()));
    }
    if (auto* options = qobject_cast<TFSoftOptions*>(main->forms().form(FormId::TFSoftOptions)))
        QObject::connect(options, &TFSoftOptions::languageChanged, main,
                         &TFZandovericoFirmWare::Change_Language);
    // Without these folders no project or language can be kept; saying so once here spares
    // the user a later message that blames the project name.
    if (!main->failedFolders().isEmpty())
        services().dialogs->showError(programState().lang(1109) + QLatin1Char('\n')
                                      + main->failedFolders().join(QLatin1Char('\n')));
    return main;
}

}  // namespace zfw
