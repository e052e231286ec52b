// The update button: the reachability check, the operation list and the start of the update
// program; first with a scripted pinger, then with real echo requests on the loopback
// address and in a private network namespace.

#include "config/UBoot.h"

#include "config/UpdateProgram.h"

#include "UpdateDeviceSupport.h"
#include "support/TestNetns.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTimer>

#include <ostream>

namespace zfw {
namespace {

using test::ScriptedPinger;

class BootUpdate : public test::UpdateProjectTest {
protected:
    void SetUp() override
    {
        UpdateProjectTest::SetUp();
        m_boot = std::make_unique<TFBoot>();
        m_boot->Form_Type = 1;
        m_boot->FormShow();
        setAddress(QStringLiteral("127.0.0.1"));
    }

    void setAddress(const QString& address)
    {
        const QStringList parts = address.split(QLatin1Char('.'));
        QLineEdit* edits[] = {m_boot->E_IP1, m_boot->E_IP2, m_boot->E_IP3, m_boot->E_IP4};
        for (int i = 0; i < 4; ++i)
            edits[i]->setText(parts.value(i));
    }

    // Clicks the update button and lets the event loop run until the window is no longer
    // busy: the check has failed or the update program has ended.
    void update()
    {
        m_boot->Btn_UpdateClick();
        ASSERT_TRUE(test::waitUntil([&] { return !m_boot->isBusy(); }, 15000));
    }

    test::ScopedFakeServices m_fakes;
    ScriptedPinger m_pinger{m_fakes.clock};
    ScopedPinger m_pingerScope{m_pinger};
    std::unique_ptr<TFBoot> m_boot;
};

// ---- The reachability check -----------------------------------------------------------------

struct PingCase {
    const char* name;
    std::vector<EchoResult> script;  // then silence
    int replyMs;                     // how long a reply takes to come
    int requests;                    // echo requests sent
    bool passes;
    int message;  // language text shown, 0: none
    TMsgDlgType type;
};

void PrintTo(const PingCase& c, std::ostream* os) { *os << c.name; }

const EchoResult kReply = ScriptedPinger::reply();
const EchoResult kSilence = ScriptedPinger::silence();

// Each request without a reply takes 400 ms on the fake clock; the check sends no further
// request once more than 5000 ms have passed, so a silent device gets 13.
const std::vector<PingCase> kPingCases = {
    {"AnswersAtOnce", {kReply, kReply}, 1, 2, true, 0, TMsgDlgType::mtError},
    {"SecondAnswerAfterSilence", {kReply, kSilence, kReply}, 1, 3, true, 0, TMsgDlgType::mtError},
    {"NeverAnswers", {}, 1, 13, false, 1036, TMsgDlgType::mtWarning},
    // Twelve silent requests take 4800 ms; the reply to the thirteenth comes after the limit,
    // so it is the last request, and one good reply suffices.
    {"AnswersOnlyTheLastRequest",
     {kSilence, kSilence, kSilence, kSilence, kSilence, kSilence, kSilence, kSilence, kSilence,
      kSilence, kSilence, kSilence, kReply},
     300,
     13,
     true,
     0,
     TMsgDlgType::mtError},
    {"AnswersFirstThenStops", {kReply}, 1, 14, false, 1036, TMsgDlgType::mtWarning},
    {"AddressRefused", {ScriptedPinger::failure(false)}, 1, 1, false, 1037, TMsgDlgType::mtError},
    {"PingNotPermitted", {ScriptedPinger::failure(true)}, 1, 1, false, 1038, TMsgDlgType::mtError},
    {"FailureAfterSilenceIsNoDevice",
     {kSilence, ScriptedPinger::failure(false)},
     1,
     2,
     false,
     1036,
     TMsgDlgType::mtWarning},
};

class BootPing : public BootUpdate, public ::testing::WithParamInterface<PingCase> {};

TEST_P(BootPing, OutcomeOfTheCheck)
{
    const PingCase& c = GetParam();
    m_pinger.script.assign(c.script.begin(), c.script.end());
    m_pinger.replyMs = c.replyMs;
    update();

    EXPECT_EQ(m_pinger.hosts.size(), c.requests);
    EXPECT_EQ(m_pinger.hosts.value(0), QStringLiteral("127.0.0.1"));
    EXPECT_EQ(m_pinger.lastData.size(), 89);
    EXPECT_TRUE(m_pinger.lastData.startsWith("1234567890123"));
    EXPECT_EQ(QFile::exists(listPath()), c.passes);
    EXPECT_EQ(m_fakes.processes.launches.size(), c.passes ? 1u : 0u);
    if (c.message) {
        ASSERT_EQ(m_fakes.dialogs.messages.size(), 1u);
        EXPECT_EQ(m_fakes.dialogs.messages[0].text, state().lang(c.message));
        EXPECT_EQ(m_fakes.dialogs.messages[0].type, c.type);
    } else {
        EXPECT_TRUE(m_fakes.dialogs.messages.empty());
    }
    EXPECT_FALSE(m_boot->isBusy());
    EXPECT_TRUE(m_boot->Btn_Update->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(Boot, BootPing, ::testing::ValuesIn(kPingCases),
                         [](const ::testing::TestParamInfo<PingCase>& i) {
                             return std::string(i.param.name);
                         });

TEST_F(BootUpdate, SuccessRemembersTheAddressAndStartsTheProgramWithoutParameters)
{
    m_pinger.answerWhenScriptEnds = true;
    setAddress(QStringLiteral("127.0.0.001"));
    m_boot->CB_Update_Options->setCurrentIndex(2);
    m_boot->CB_Update_Option_Read_Back->setChecked(false);
    update();

    EXPECT_EQ(state().Device_IP_Address, QStringLiteral("127.0.0.001"));
    EXPECT_EQ(state().Update_Option_Index, 2);
    EXPECT_FALSE(state().Update_Read_Back);
    ASSERT_EQ(m_fakes.processes.launches.size(), 1u);
    EXPECT_EQ(m_fakes.processes.launches[0].program,
              joinPath(root(), QStringLiteral("Ethernet_Update")));
    EXPECT_TRUE(m_fakes.processes.launches[0].arguments.isEmpty());
    EXPECT_EQ(m_fakes.processes.launches[0].workDir, root());
}

// A window made with services of its own uses them, whatever its parent and whatever is in
// use program-wide.
TEST_F(BootUpdate, WindowGivenItsServicesUsesThemUnderAPlainParent)
{
    test::FakeClock clock;
    ScriptedPinger ownPinger{clock};
    ownPinger.answerWhenScriptEnds = true;
    test::FakeProcessLauncher ownLauncher;
    QWidget parent;
    auto* boot = new TFBoot(&parent, BootServices{&ownPinger, {&ownLauncher, &clock}});
    boot->Form_Type = 1;
    boot->FormShow();
    QLineEdit* edits[] = {boot->E_IP1, boot->E_IP2, boot->E_IP3, boot->E_IP4};
    const char* octets[] = {"127", "0", "0", "1"};
    for (int i = 0; i < 4; ++i)
        edits[i]->setText(QLatin1String(octets[i]));

    boot->Btn_UpdateClick();
    ASSERT_TRUE(test::waitUntil([&] { return !boot->isBusy(); }, 15000));

    EXPECT_EQ(ownPinger.hosts.size(), 2);
    EXPECT_TRUE(m_pinger.hosts.isEmpty());
    ASSERT_EQ(ownLauncher.launches.size(), 1u);
    EXPECT_TRUE(m_fakes.processes.launches.empty());
    EXPECT_EQ(ownLauncher.launches[0].program, joinPath(root(), QStringLiteral("Ethernet_Update")));
}

TEST_F(BootUpdate, FailedCheckKeepsTheRememberedAddress)
{
    state().Device_IP_Address = QStringLiteral("10.0.0.9");
    update();
    EXPECT_EQ(state().Device_IP_Address, QStringLiteral("10.0.0.9"));
}

TEST_F(BootUpdate, ButtonsAreOffAndTheWindowStaysWhileTheCheckRuns)
{
    bool updateEnabled = true;
    bool cancelEnabled = true;
    bool addressEnabled = true;
    int nested = 0;
    m_pinger.answerWhenScriptEnds = true;
    m_pinger.onEcho = [&] {
        updateEnabled = m_boot->Btn_Update->isEnabled();
        cancelEnabled = m_boot->Btn_Cancel->isEnabled();
        addressEnabled = m_boot->E_IP1->isEnabled();
        // A second click and a close request arriving while the check runs change nothing.
        if (nested++ == 0) {
            m_boot->Btn_UpdateClick();
            m_boot->reject();
        }
    };
    m_boot->show();
    update();

    EXPECT_FALSE(updateEnabled);
    EXPECT_FALSE(cancelEnabled);
    EXPECT_FALSE(addressEnabled);
    EXPECT_EQ(m_pinger.hosts.size(), 2);
    EXPECT_EQ(m_fakes.processes.launches.size(), 1u);
    EXPECT_TRUE(m_boot->isVisible());
    EXPECT_TRUE(m_boot->Btn_Update->isEnabled());
    m_boot->reject();
    EXPECT_FALSE(m_boot->isVisible());
}

TEST_F(BootUpdate, ListThatCannotBeWrittenStopsBeforeTheProgram)
{
    m_pinger.answerWhenScriptEnds = true;
    ASSERT_TRUE(QDir().mkpath(listPath()));  // a folder where the list belongs
    update();
    ASSERT_EQ(m_fakes.dialogs.messages.size(), 1u);
    EXPECT_TRUE(m_fakes.dialogs.messages[0].text.contains(QLatin1String("Ethernet_Update.xml")));
    EXPECT_TRUE(m_fakes.processes.launches.empty());
}

// ---- Waiting on the event loop ---------------------------------------------------------

TEST_F(BootUpdate, WindowGoneWhileTheCheckWaitsEndsTheUpdateQuietly)
{
    m_pinger.answerWhenScriptEnds = true;
    m_boot->Btn_UpdateClick();
    ASSERT_TRUE(m_boot->isBusy());
    ASSERT_EQ(m_pinger.pending, 1);
    m_boot.reset();
    test::waitUntil([] { return false; }, 50);
    EXPECT_EQ(m_pinger.pending, 1);  // the answer was never handed to the gone window
    EXPECT_EQ(m_pinger.hosts.size(), 1);
    EXPECT_TRUE(m_fakes.dialogs.messages.empty());
    EXPECT_TRUE(m_fakes.processes.launches.empty());
    EXPECT_FALSE(QFile::exists(listPath()));
}

TEST_F(BootUpdate, ProgramThatCannotStartIsReportedAndFreesTheWindow)
{
    m_pinger.answerWhenScriptEnds = true;
    m_fakes.processes.makeProcess = nullptr;
    update();
    ASSERT_EQ(m_fakes.dialogs.messages.size(), 1u);
    EXPECT_EQ(m_fakes.dialogs.messages[0].type, TMsgDlgType::mtError);
    EXPECT_TRUE(m_fakes.dialogs.messages[0].text.startsWith(state().lang(1106)));
    EXPECT_TRUE(m_boot->isEnabled());
    EXPECT_TRUE(m_boot->Btn_Update->isEnabled());
}

enum class ProgramEnd { Exits, ReachesTheLimit, WindowClosed };

struct ProgramWaitCase {
    const char* name;
    ProgramEnd end;
    int message;  // language text shown at the end, 0: none
};

void PrintTo(const ProgramWaitCase& c, std::ostream* os) { *os << c.name; }

const ProgramWaitCase kProgramWaits[] = {
    {"ProgramExitsJustBeforeTheLimit", ProgramEnd::Exits, 0},
    {"ProgramStillRunningAtTheLimit", ProgramEnd::ReachesTheLimit, 1107},
    {"WindowDestroyedWhileTheProgramRuns", ProgramEnd::WindowClosed, 0},
};

class BootProgramWait : public BootUpdate, public ::testing::WithParamInterface<ProgramWaitCase> {};

TEST_P(BootProgramWait, WindowTakesNoInputUntilTheEnd)
{
    const ProgramWaitCase& c = GetParam();
    test::FakeRunningProcess* program = nullptr;
    m_fakes.processes.makeProcess = [&] {
        auto p = std::make_unique<test::FakeRunningProcess>();
        program = p.get();
        return p;
    };
    m_pinger.answerWhenScriptEnds = true;
    m_boot->show();
    m_boot->Btn_UpdateClick();
    ASSERT_TRUE(test::waitUntil([&] { return program != nullptr; }));

    // 150 s on the program's clock less one millisecond: still waiting, the window paints
    // (timers run) but takes no input and refuses to close.
    m_fakes.clock.ms += kStartProgramLimitMs - 1;
    bool timerRan = false;
    QTimer::singleShot(20, m_boot.get(), [&] { timerRan = true; });
    ASSERT_TRUE(test::waitUntil([&] { return timerRan; }));
    EXPECT_TRUE(m_boot->isBusy());
    EXPECT_FALSE(m_boot->isEnabled());
    EXPECT_FALSE(m_boot->Btn_Update->isEnabled());
    m_boot->Btn_UpdateClick();
    m_boot->reject();
    EXPECT_TRUE(m_boot->isVisible());
    EXPECT_EQ(m_fakes.processes.launches.size(), 1u);

    switch (c.end) {
    case ProgramEnd::Exits: program->running = false; break;
    case ProgramEnd::ReachesTheLimit: m_fakes.clock.ms += 1; break;
    case ProgramEnd::WindowClosed:
        m_boot.reset();
        test::waitUntil([] { return false; }, 50);
        EXPECT_TRUE(m_fakes.dialogs.messages.empty());
        return;
    }
    ASSERT_TRUE(test::waitUntil([&] { return !m_boot->isBusy(); }));
    EXPECT_TRUE(m_boot->isEnabled());
    EXPECT_TRUE(m_boot->Btn_Update->isEnabled());
    if (c.message) {
        ASSERT_EQ(m_fakes.dialogs.messages.size(), 1u);
        EXPECT_EQ(m_fakes.dialogs.messages[0].text, state().lang(c.message));
        EXPECT_EQ(m_fakes.dialogs.messages[0].type, TMsgDlgType::mtInformation);
    } else {
        EXPECT_TRUE(m_fakes.dialogs.messages.empty());
    }
    m_boot->reject();
    EXPECT_FALSE(m_boot->isVisible());
}

INSTANTIATE_TEST_SUITE_P(Boot, BootProgramWait, ::testing::ValuesIn(kProgramWaits),
                         [](const ::testing::TestParamInfo<ProgramWaitCase>& i) {
                             return std::string(i.param.name);
                         });

// ---- The operation list -----------------------------------------------------------------

// One operation of the list as the update program expects it; %1 file, %2 start address,
// %3 bank type, %4 read back, %5 write CSS, %6 write internal data, %7 go to application.
constexpr char kOperation[] = R"(    <Operation>
      <Ope_Protection_Enabled></Ope_Protection_Enabled>
      <Ope_GoToBoot_Before>0</Ope_GoToBoot_Before>
      <Ope_GoToApp_Before>0</Ope_GoToApp_Before>
      <Ope_IP_Address></Ope_IP_Address>
      <Ope_Port>2008</Ope_Port>
      <Ope_Port_Sec>2007</Ope_Port_Sec>
      <Ope_Erase_Memory>0</Ope_Erase_Memory>
      <Ope_FileName>%1</Ope_FileName>
      <Ope_Start_Address>%2</Ope_Start_Address>
      <Ope_Memory_Type>0</Ope_Memory_Type>
      <Ope_Bank_Type>%3</Ope_Bank_Type>
      <Ope_Read_Back>%4</Ope_Read_Back>
      <Ope_Write_CSS>%5</Ope_Write_CSS>
      <Ope_Address_CSS>0x07A00</Ope_Address_CSS>
      <Ope_Command_CSS>0x02</Ope_Command_CSS>
      <Ope_Write_Internal_Data>%6</Ope_Write_Internal_Data>
      <Ope_WID_Address>0x07810</Ope_WID_Address>
      <Ope_WID_Command>0x02</Ope_WID_Command>
      <Ope_WID_Data>0x00, 0x00, 0x00, 0x01</Ope_WID_Data>
      <Ope_GoToApp_After>%7</Ope_GoToApp_After>
    </Operation>
)";

constexpr char kListHead[] = R"(<Ethernet_Update>
  <Version>1000</Version>
  <Title>Brenikcorp - CFK4R89 Ethernet Update</Title>
  <IP_Address_Dev>%1</IP_Address_Dev>
  <Application_Port>10000</Application_Port>
  <Boot_Port>2008</Boot_Port>
  <Boot_Port_Sec>2007</Boot_Port_Sec>
  <Address_Protection>0x07800</Address_Protection>
  <Protections>
    <Protection>0x420</Protection>
  </Protections>
  <Operations>
)";

constexpr char kListTail[] = "  </Operations>\n</Ethernet_Update>\n";

enum Op { Firmware, Bank1, Bank2 };

struct ListCase {
    const char* name;
    int option;
    bool readBack;
    std::vector<std::pair<Op, const char*>> operations;  // with their "Ope_GoToApp_After"
};

void PrintTo(const ListCase& c, std::ostream* os) { *os << c.name; }

const std::vector<ListCase> kListCases = {
    {"FirmwareAndConfiguration", 0, true, {{Firmware, "0"}, {Bank1, "0"}, {Bank2, "1"}}},
    {"FirmwareOnly", 1, true, {{Firmware, "1"}}},
    {"ConfigurationOnly", 2, true, {{Bank1, "0"}, {Bank2, "1"}}},
    {"ConfigurationWithoutReadBack", 2, false, {{Bank1, "0"}, {Bank2, "1"}}},
};

class BootList : public BootUpdate, public ::testing::WithParamInterface<ListCase> {};

TEST_P(BootList, WrittenBesideTheProgramAfterTheDeviceAnswered)
{
    const ListCase& c = GetParam();
    m_pinger.answerWhenScriptEnds = true;
    setAddress(QStringLiteral("192.168.2.205"));
    m_boot->CB_Update_Options->setCurrentIndex(c.option);
    m_boot->CB_Update_Option_Read_Back->setChecked(c.readBack);
    ASSERT_TRUE(test::writeFile(listPath(), "an older list"));
    update();

    const QString bin = state().Dir_Project + QStringLiteral("/bin/");
    const QString readBack = c.readBack ? QStringLiteral("1") : QStringLiteral("0");
    QString expected = QString::fromLatin1(kListHead).arg(QStringLiteral("192.168.2.205"));
    for (const auto& [op, goToApp] : c.operations) {
        const QString block = QString::fromLatin1(kOperation);
        switch (op) {
        case Firmware:
            expected += block.arg(state().Dir_Master + QStringLiteral("/SimK4R89.sim"),
                                  QStringLiteral("0x8000"), QStringLiteral("1"), readBack,
                                  QStringLiteral("1"), QStringLiteral("0"), QLatin1String(goToApp));
            break;
        case Bank1:
            expected += block.arg(bin + QStringLiteral("bank1.bin"), QStringLiteral("0x07000"),
                                  QStringLiteral("2"), readBack, QStringLiteral("0"),
                                  QStringLiteral("1"), QLatin1String(goToApp));
            break;
        case Bank2:
            expected += block.arg(bin + QStringLiteral("bank2.bin"), QStringLiteral("0x80000"),
                                  QStringLiteral("2"), readBack, QStringLiteral("0"),
                                  QStringLiteral("0"), QLatin1String(goToApp));
            break;
        }
    }
    expected += QLatin1String(kListTail);
    EXPECT_EQ(test::readFile(listPath()).toStdString(), expected.toUtf8().toStdString());
}

INSTANTIATE_TEST_SUITE_P(Boot, BootList, ::testing::ValuesIn(kListCases),
                         [](const ::testing::TestParamInfo<ListCase>& i) {
                             return std::string(i.param.name);
                         });

// ---- Real echo requests -------------------------------------------------------------------

class BootRealPing : public BootUpdate {
protected:
    void SetUp() override
    {
        BootUpdate::SetUp();
        test::useRealLauncherAndClock();
        m_realPinger.emplace();
        m_realScope.emplace(*m_realPinger);
    }

    std::optional<IcmpPinger> m_realPinger;
    std::optional<ScopedPinger> m_realScope;
};

TEST_F(BootRealPing, LoopbackAnswersAndTheStandInProgramReadsTheList)
{
    test::StandInProgram program(root(), 0.1);
    ASSERT_TRUE(program.ok());
    update();
    if (!m_fakes.dialogs.messages.empty() && m_fakes.dialogs.messages[0].text == state().lang(1038))
        GTEST_SKIP() << "this system permits no ICMP socket";

    EXPECT_TRUE(m_fakes.dialogs.messages.empty());
    EXPECT_TRUE(QFile::exists(listPath()));
    ASSERT_TRUE(program.ran());
    EXPECT_EQ(program.value("argc"), QStringLiteral("0"));
    EXPECT_EQ(program.value("cwd"), root());
    EXPECT_EQ(program.value("list"), QStringLiteral("yes"));
    EXPECT_EQ(state().Device_IP_Address, QStringLiteral("127.0.0.1"));
}

TEST_F(BootRealPing, SilentDeviceGivesTheWarningAndNoList)
{
    test::TestNetns ns;
    if (!ns.ok())
        GTEST_SKIP() << ns.whyNot().toStdString();
    ASSERT_TRUE(ns.sysctl(QStringLiteral("net.ipv4.icmp_echo_ignore_all"), QStringLiteral("1")));
    test::StandInProgram program(root(), 0.1);
    ASSERT_TRUE(ns.enter());
    update();
    ns.leave();

    ASSERT_EQ(m_fakes.dialogs.messages.size(), 1u);
    EXPECT_EQ(m_fakes.dialogs.messages[0].text, QStringLiteral("Device Not Found!"));
    EXPECT_EQ(m_fakes.dialogs.messages[0].type, TMsgDlgType::mtWarning);
    EXPECT_FALSE(QFile::exists(listPath()));
    EXPECT_FALSE(program.ran());
}

}  // namespace
}  // namespace zfw
