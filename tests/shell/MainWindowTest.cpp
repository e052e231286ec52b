#include "shell/UZandovericoFirmWare.h"

#include "common/UComon.h"
#include "common/USettings.h"
#include "config/ULoRa_Set_Access.h"
#include "config/US7_Protocol_Set_Access.h"
#include "shell/ShellTestFixture.h"
#include "shell/UPlaceholder.h"
#include "support/FakeServices.h"
#include "support/Files.h"
#include "support/TempDir.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QTabWidget>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace zfw {
namespace {

class MainWindow : public test::ShellTest {};

TEST_F(MainWindow, FirstStartInEmptyFolder)
{
    auto w = start();
    for (const char* dir : {"MASTER", "PROJECTS", "LANGUAGE"})
        EXPECT_TRUE(QDir(path(QLatin1String(dir))).exists()) << dir;
    EXPECT_TRUE(w->failedFolders().isEmpty());
    const ProgramState& s = programState();
    EXPECT_FALSE(s.isProjectActive());
    EXPECT_EQ(s.Language_Name, QStringLiteral("English"));
    EXPECT_EQ(s.Dir_Projects, path(QStringLiteral("PROJECTS")));
    EXPECT_TRUE(s.Update_Read_Back);
    EXPECT_FALSE(w->Timer_Update->isActive());
    EXPECT_EQ(w->L_Name_Conf->text(), QStringLiteral("None Configuration Opened "));
    EXPECT_EQ(w->L_Name_Conf_L2->text(),
              QStringLiteral("Use Step1 to open or create new configuration"));
    EXPECT_EQ(w->windowTitle(),
              QStringLiteral("Brenikcorp - Configurator CFK4R89 S7comm Client / LoRaWAN "));
    EXPECT_EQ(w->L_SW_Code->text(), QStringLiteral("CFK4R89"));
    EXPECT_EQ(w->L_SW_Desc->text(), QStringLiteral("S7comm Client / LoRaWAN - Converter"));
    EXPECT_TRUE(fakes.dialogs.messages.empty());
}

TEST_F(MainWindow, FoldersThatCannotBeCreatedAreReportedOnce)
{
    // Files in the way of PROJECTS and LANGUAGE.
    writeFile(QStringLiteral("PROJECTS"), "");
    writeFile(QStringLiteral("LANGUAGE"), "");
    auto w = start();
    EXPECT_TRUE(QDir(path(QStringLiteral("MASTER"))).exists());
    ASSERT_EQ(fakes.dialogs.messages.size(), 1u);
    const test::ShownMessage& m = fakes.dialogs.messages[0];
    EXPECT_EQ(m.type, TMsgDlgType::mtError);
    EXPECT_TRUE(m.text.startsWith(QStringLiteral("Error! The following folder cannot be created")));
    EXPECT_TRUE(m.text.contains(path(QStringLiteral("PROJECTS"))));
    EXPECT_TRUE(m.text.contains(path(QStringLiteral("LANGUAGE"))));
    EXPECT_FALSE(m.text.contains(path(QStringLiteral("MASTER"))));
}

TEST_F(MainWindow, SizeAndPositionsOfControls)
{
    auto w = start();
    EXPECT_EQ(w->size(), QSize(694, 440));

    struct Pos {
        QWidget* widget;
        int left, top;
    };
    const Pos expected[] = {
        {w->L_SW_Code, 16, 8},
        {w->L_SW_Desc, 16, 42},
        {w->L_Begin, 16, 84},
        {w->Shape2, 80, 70},
        {w->L_Name_Conf, 87, 75},
        {w->L_Name_Conf_L2, 87, 88},
        {w->Btn_Info, 516, 8},
        {w->Btn_Opz, 574, 8},
        {w->Btn_Close, 632, 8},
        {w->Btn_New, 80, 112},
        {w->Btn_Open, 258, 112},
        {w->Btn_Prm_Gen, 80, 156},
        {w->Btn_LoRaWAN_Access, 80, 200},
        {w->Btn_S7_Protocol_Access, 80, 244},
        {w->Btn_CreateBin, 80, 288},
        {w->L_Brenik, 565, 304},
        {w->Shape1, 10, 339},
    };
    for (const Pos& p : expected)
        EXPECT_EQ(p.widget->pos(), QPoint(p.left, p.top)) << p.widget->objectName().toStdString();

    for (int n = 1; n <= 8; ++n) {
        EXPECT_EQ(w->L_Step[n - 1]->pos(), QPoint(16, 128 + 44 * (n - 1)));
        EXPECT_EQ(w->L_Step[n - 1]->isVisibleTo(w.get()), n <= 5) << n;
    }
    for (QWidget* b : {w->Btn_Info, w->Btn_Opz, w->Btn_Close})
        EXPECT_EQ(b->size(), QSize(50, 50));
    EXPECT_EQ(w->Btn_New->size(), QSize(170, 36));
    EXPECT_EQ(w->Shape1->size(), QSize(674, 1));

    int shown = 0;
    for (TStepButton* b : w->stepButtons())
        shown += b->isVisibleTo(w.get()) ? 1 : 0;
    EXPECT_EQ(w->stepButtons().size(), 36u);
    EXPECT_EQ(shown, 9);
}

TEST_F(MainWindow, CaptionsAndHintsComeFromTheLanguageTable)
{
    auto w = start();
    EXPECT_EQ(w->L_Begin->text(), QStringLiteral("Begin"));
    EXPECT_EQ(w->L_Step[4]->text(), QStringLiteral("Step 5"));
    EXPECT_EQ(w->Btn_New->text(), QStringLiteral("New Configuration"));
    EXPECT_EQ(w->Btn_New->toolTip(), QStringLiteral("Create a new configuration for the device"));
    EXPECT_EQ(w->Btn_Open->text(), QStringLiteral("Open Configuration"));
    EXPECT_EQ(w->Btn_Prm_Gen->text(), QStringLiteral("Set Communication"));
    EXPECT_EQ(w->Btn_LoRaWAN_Access->text(), QStringLiteral("Set LoRaWAN Access"));
    EXPECT_EQ(w->Btn_S7_Protocol_Access->text(), QStringLiteral("S7comm Access"));
    EXPECT_EQ(w->Btn_CreateBin->text(), QStringLiteral("Update Device UDP"));
    EXPECT_EQ(w->Btn_Info->toolTip(), QStringLiteral("Information"));
    EXPECT_EQ(w->Btn_Opz->toolTip(), QStringLiteral("Options"));
    EXPECT_EQ(w->Btn_Close->toolTip(), QStringLiteral("Close Configurator"));

    programState().Language_Table[15] = QStringLiteral("Nuova Configurazione");
    w->Change_Language();
    EXPECT_EQ(w->Btn_New->text(), QStringLiteral("Nuova Configurazione"));
}

TEST_F(MainWindow, RuleEditorsFollowALanguageChange)
{
    auto w = start();
    auto* lora = qobject_cast<TFLoRa_Set_Access*>(w->forms().form(FormId::TFLoRa_Set_Access));
    auto* s7 = qobject_cast<TFS7_Protocol_Set_Access*>(
        w->forms().form(FormId::TFS7_Protocol_Set_Access));
    ASSERT_TRUE(lora && s7);
    EXPECT_EQ(lora->windowTitle(), QStringLiteral("Set LoRaWAN Access"));
    programState().Language_Table[1200] = QStringLiteral("Accesso LoRaWAN");
    programState().Language_Table[5914] = QStringLiteral("Lettura S7");
    w->Change_Language();
    EXPECT_EQ(lora->windowTitle(), QStringLiteral("Accesso LoRaWAN"));
    // The editors make their controls at their first showing, in the language of then.
    EXPECT_FALSE(s7->isBuilt());
    s7->ensureBuilt();
    EXPECT_EQ(s7->PageControl1->tabText(0), QStringLiteral("Lettura S7"));
}

// The BACnet windows are real windows, made at start-up, and follow a language change.
TEST_F(MainWindow, BACnetWindowsAreNoPlaceholders)
{
    auto w = start();
    const FormId ids[] = {FormId::TFBACnetAccess, FormId::TFImportEDEFile,
                          FormId::TFBACnetSlaveSetAccess, FormId::TFBACnet_Eng_Unit};
    for (FormId id : ids) {
        TForm* f = w->forms().form(id);
        ASSERT_NE(f, nullptr);
        EXPECT_EQ(qobject_cast<TFPlaceholder*>(f), nullptr) << formInfo(id).className;
        EXPECT_EQ(f->objectName(), QLatin1String(formInfo(id).className));
    }
    programState().Language_Table[1600] = QStringLiteral("Unita");
    w->Change_Language();
    EXPECT_EQ(w->forms().form(FormId::TFBACnet_Eng_Unit)->windowTitle(), QStringLiteral("Unita"));
}

TEST_F(MainWindow, LanguageFileIsAppliedAtStart)
{
    ASSERT_TRUE(QDir().mkpath(path(QStringLiteral("LANGUAGE"))));
    ASSERT_TRUE(
        test::writeFile(path(QStringLiteral("LANGUAGE/English.lng")), "STR0 =Start here\n"));
    auto w = start();
    EXPECT_EQ(w->L_Begin->text(), QStringLiteral("Start here"));
}

struct ClickCase {
    const char* name;
    const char* button;
    bool withProject;
    const char* errorText;  // expected error box, or nullptr
    const char* form;       // expected window shown, or nullptr
    const char* info;       // expected information box fragment, or nullptr
};

void PrintTo(const ClickCase& c, std::ostream* os) { *os << c.name; }

const ClickCase kClicks[] = {
    {"newWithout", "Btn_New", false, nullptr, "TFNew_Project", nullptr},
    {"openWithout", "Btn_Open", false, nullptr, "TFOpenConf", nullptr},
    {"infoWithout", "Btn_Info", false, nullptr, "TFAbout", nullptr},
    {"optionsWithout", "Btn_Opz", false, nullptr, "TFSoftOptions", nullptr},
    {"parGenWithout", "Btn_Prm_Gen", false, "Error! Project not Valid", nullptr, nullptr},
    {"loraWithout", "Btn_LoRaWAN_Access", false, "Error! Project not Valid", nullptr, nullptr},
    {"s7Without", "Btn_S7_Protocol_Access", false, "Error! Project not Valid", nullptr, nullptr},
    {"updateWithout", "Btn_CreateBin", false, "Error! Project not Valid", nullptr, nullptr},
    {"hiddenEditorWithout", "Btn_MBus", false, "Error! Project not Valid", nullptr, nullptr},
    {"hiddenWriterWithout", "Btn_SNMP_MIB", false, "Error! Project not Valid", nullptr, nullptr},
    {"newWith", "Btn_New", true, nullptr, "TFNew_Project", nullptr},
    {"parGenWith", "Btn_Prm_Gen", true, nullptr, "TFParGen", nullptr},
    {"loraWith", "Btn_LoRaWAN_Access", true, nullptr, "TFLoRa_Set_Access", nullptr},
    {"s7With", "Btn_S7_Protocol_Access", true, nullptr, "TFS7_Protocol_Set_Access", nullptr},
    {"updateWith", "Btn_CreateBin", true, nullptr, "TFBoot", nullptr},
    {"modbusWith", "Btn_Modbus_Set_Access", true, nullptr, "TFModbus_TCP_Master_Set_Access",
     nullptr},
    {"knxWith", "Btn_KNX_Access", true, nullptr, "TFKNXAccess", nullptr},
    {"scanDecodeWith", "Btn_ScanDecode", true, nullptr, "TFScanDecode", nullptr},
    // The save dialog is cancelled: nothing is written and nothing said.
    {"edsWith", "Btn_CANopen_EDS", true, nullptr, nullptr, nullptr},
};

class BtnClick : public MainWindow, public ::testing::WithParamInterface<ClickCase> {};

TEST_P(BtnClick, RefusesOrOpens)
{
    const ClickCase& c = GetParam();
    if (c.withProject) {
        makeProject(QStringLiteral("Plant 1"));
        rememberProject(QStringLiteral("Plant 1"));
    }
    auto w = start();
    ASSERT_EQ(programState().isProjectActive(), c.withProject);
    auto* button = w->findChild<TStepButton*>(QLatin1String(c.button));
    ASSERT_NE(button, nullptr);

    w->Btn_Click(button);

    if (c.errorText) {
        ASSERT_EQ(fakes.dialogs.messages.size(), 1u);
        EXPECT_EQ(fakes.dialogs.messages[0].text, QLatin1String(c.errorText));
        EXPECT_EQ(fakes.dialogs.messages[0].type, TMsgDlgType::mtError);
        EXPECT_EQ(fakes.dialogs.messages[0].buttons, TMsgDlgButtons(mbOK));
    }
    if (c.form) {
        EXPECT_EQ(fakes.dialogs.shownForms, QStringList{QLatin1String(c.form)});
    } else {
        EXPECT_TRUE(fakes.dialogs.shownForms.isEmpty());
    }
    if (c.info) {
        ASSERT_EQ(fakes.dialogs.messages.size(), 1u);
        EXPECT_EQ(fakes.dialogs.messages[0].type, TMsgDlgType::mtInformation);
        EXPECT_TRUE(fakes.dialogs.messages[0].text.contains(QLatin1String(c.info)));
    }
    if (!c.errorText && !c.info) {
        EXPECT_TRUE(fakes.dialogs.messages.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, BtnClick, ::testing::ValuesIn(kClicks),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(MainWindow, ScanDecodeAsksBeforeReplacingAnExistingNetwork)
{
    makeProject(QStringLiteral("P"));
    rememberProject(QStringLiteral("P"));
    auto w = start();
    ASSERT_TRUE(test::writeFile(programState().File_M_Bus, QByteArray()));
    fakes.dialogs.messageAnswers = {mrNo};
    w->Btn_Click(w->findChild<TStepButton*>(QStringLiteral("Btn_ScanDecode")));
    ASSERT_EQ(fakes.dialogs.messages.size(), 1u);
    EXPECT_EQ(fakes.dialogs.messages[0].type, TMsgDlgType::mtWarning);
    EXPECT_TRUE(fakes.dialogs.shownForms.isEmpty());
}

TEST_F(MainWindow, RememberedProjectIsReactivatedWithItsPaths)
{
    makeProject(QStringLiteral("Plant 1"));
    rememberProject(QStringLiteral("Plant 1"));
    auto w = start();
    const ProgramState& s = programState();
    EXPECT_EQ(s.Dir_Project, path(QStringLiteral("PROJECTS/Plant 1")));
    EXPECT_EQ(s.File_ParGen, path(QStringLiteral("PROJECTS/Plant 1/ParGen.xml")));
    EXPECT_EQ(w->L_Name_Conf->text(), QStringLiteral("Opened Configuration of the Converter : "));
    EXPECT_EQ(w->L_Name_Conf_L2->text(), QStringLiteral("Plant 1"));
}

TEST_F(MainWindow, DeletedProjectStaysRememberedButInactive)
{
    rememberProject(QStringLiteral("Gone"));
    auto w = start();
    EXPECT_FALSE(programState().isProjectActive());
    EXPECT_EQ(programState().Project_Name, QStringLiteral("Gone"));
    EXPECT_EQ(w->L_Name_Conf->text(), QStringLiteral("None Configuration Opened "));
    w->close();
    ProgramState r;
    r.Dir_Exe = root();
    Load_Settings(r);
    EXPECT_EQ(r.Project_Name, QStringLiteral("Gone"));
}

TEST_F(MainWindow, RememberedNameOutsideProjectsIsNotActivated)
{
    // A folder that exists beside PROJECTS, reached through "..".
    ASSERT_TRUE(QDir().mkpath(path(QStringLiteral("PROJECTS"))));
    rememberProject(QStringLiteral(".."));
    auto w = start();
    EXPECT_FALSE(programState().isProjectActive());
}

TEST_F(MainWindow, TimerFollowsBothInternetOptions)
{
    for (int internet = 0; internet < 2; ++internet) {
        for (int update = 0; update < 2; ++update) {
            saveSettings([&](ProgramState& s) {
                s.Opt_Enable_Internet = internet;
                s.Opt_Enable_Update = update;
            });
            resetProgramState();
            auto w = start();
            EXPECT_EQ(w->Timer_Update->isActive(), internet && update) << internet << update;
            EXPECT_EQ(w->Timer_Update->interval(), 60000);
        }
    }
}

TEST_F(MainWindow, ReadsTheStateInUseAfterAReset)
{
    auto w = start();
    resetProgramState();
    ProgramState& s = programState();
    s.Dir_Exe = root();
    s.Language_Table = QStringList(100, QStringLiteral(" "));
    s.Language_Table[0] = QStringLiteral("Anfang");
    s.Language_Table[11] = QStringLiteral("Offen:");
    s.Project_Name = QStringLiteral("Nach dem Neustart");
    s.Dir_Project = path(QStringLiteral("PROJECTS/Nach dem Neustart"));
    s.Opt_Enable_Internet = true;
    s.Opt_Enable_Update = true;
    w->Change_Language();
    w->updateTimer();
    EXPECT_EQ(w->L_Begin->text(), QStringLiteral("Anfang"));
    EXPECT_EQ(w->L_Name_Conf->text(), QStringLiteral("Offen:"));
    EXPECT_EQ(w->L_Name_Conf_L2->text(), QStringLiteral("Nach dem Neustart"));
    EXPECT_TRUE(w->Timer_Update->isActive());
    w->close();
    ProgramState saved;
    saved.Dir_Exe = root();
    Load_Settings(saved);
    EXPECT_EQ(saved.Project_Name, QStringLiteral("Nach dem Neustart"));
}

TEST_F(MainWindow, ClosingWritesTheSettings)
{
    auto w = start();
    programState().Device_IP_Address = QStringLiteral("10.1.2.3");
    w->close();
    ProgramState r;
    r.Dir_Exe = root();
    Load_Settings(r);
    EXPECT_EQ(r.Device_IP_Address, QStringLiteral("10.1.2.3"));
}

struct BACnetTypeCase {
    const char* name;
    const char* parGen;  // content of ParGen.xml, or nullptr for no file
    int type;
};

void PrintTo(const BACnetTypeCase& c, std::ostream* os) { *os << c.name; }

const BACnetTypeCase kBACnetTypes[] = {
    {"number", "<ParGen><BACnet_Type>3</BACnet_Type></ParGen>", 3},
    {"rootOfAnyName", "<Other><IP>1</IP><BACnet_Type>12</BACnet_Type></Other>", 12},
    {"noFile", nullptr, 0},
    {"noElement", "<ParGen><IP>1</IP></ParGen>", 0},
    {"notANumber", "<ParGen><BACnet_Type>two</BACnet_Type></ParGen>", 0},
    {"emptyText", "<ParGen><BACnet_Type/></ParGen>", 0},
    {"onlyNestedDeeper", "<ParGen><G><BACnet_Type>5</BACnet_Type></G></ParGen>", 0},
    {"malformed", "<ParGen><BACnet_Type>4</BACnet_Type>", 0},
};

class BACnetType : public MainWindow, public ::testing::WithParamInterface<BACnetTypeCase> {};

TEST_P(BACnetType, IsReadFromParGen)
{
    const BACnetTypeCase& c = GetParam();
    makeProject(QStringLiteral("P"));
    rememberProject(QStringLiteral("P"));
    if (c.parGen)
        writeFile(QStringLiteral("PROJECTS/P/ParGen.xml"), c.parGen);
    auto w = start();
    ASSERT_TRUE(programState().isProjectActive());
    EXPECT_EQ(w->Get_Type_BACnet(), c.type);
}

INSTANTIATE_TEST_SUITE_P(Cases, BACnetType, ::testing::ValuesIn(kBACnetTypes),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(MainWindow, BACnetTypeWithoutProjectIsZero)
{
    auto w = start();
    EXPECT_EQ(w->Get_Type_BACnet(), 0);
}

TEST_F(MainWindow, CreatesEveryWindowOnce)
{
    auto w = start();
    for (const FormInfo& info : kFormTable) {
        if (info.id == FormId::TFZandovericoFirmWare)
            continue;
        TForm* f = w->forms().form(info.id);
        ASSERT_NE(f, nullptr) << info.className;
        EXPECT_EQ(f->objectName(), QLatin1String(info.className));
        EXPECT_EQ(f->parent(), w.get());
    }
    EXPECT_EQ(languageFollowingForms().size(), 43u);
}

}  // namespace
}  // namespace zfw

namespace zfw {
namespace {

TEST(Placeholder, SaysItIsNotAvailableAndClosesAsCancel)
{
    TFPlaceholder p(formInfo(FormId::TFKNXAccess), nullptr);
    EXPECT_EQ(p.objectName(), QStringLiteral("TFKNXAccess"));
    EXPECT_TRUE(p.message().contains(QLatin1String("not available")));
    auto* close = p.findChild<QAbstractButton*>(QStringLiteral("Btn_Close"));
    ASSERT_NE(close, nullptr);
    QTimer::singleShot(0, close, [close] { close->click(); });
    EXPECT_EQ(modalResultOf(p.exec()), mrCancel);
}

}  // namespace
}  // namespace zfw
