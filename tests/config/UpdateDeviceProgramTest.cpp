// Starting the external update program and waiting for it, with a stand-in script in place
// of the real program.

#include "config/UpdateProgram.h"

#include "UpdateDeviceSupport.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include <optional>
#include <ostream>

namespace zfw {
namespace {

class StartProgram : public test::UpdateProjectTest {
protected:
    void SetUp() override
    {
        UpdateProjectTest::SetUp();
        test::useRealLauncherAndClock();
    }

    // Starts the program and runs the event loop until the wait reports its outcome.
    std::optional<StartProgramResult> run(const QString& path, const QString& parameters,
                                          QWidget* window = nullptr,
                                          int limitMs = kStartProgramLimitMs)
    {
        std::optional<StartProgramResult> result;
        Start_Program(state(), path, parameters, 0, window, limitMs,
                      [&](StartProgramResult r) { result = r; });
        test::waitUntil([&] { return result.has_value(); }, 20000);
        return result;
    }

    test::ScopedFakeServices m_fakes;
};

TEST_F(StartProgram, RunsInTheProgramFolderWithTheGivenParametersAndWaitsForTheEnd)
{
    test::StandInProgram program(root(), 0.2);
    ASSERT_TRUE(program.ok());
    QWidget window;
    QElapsedTimer t;
    t.start();
    const std::optional<StartProgramResult> r = run(program.path(),
                                                    QStringLiteral("-a \"two words\""), &window);
    EXPECT_EQ(r, StartProgramResult::Finished);
    EXPECT_GE(t.elapsed(), 150);
    EXPECT_FALSE(program.isRunning());
    EXPECT_EQ(program.value("argc"), QStringLiteral("2"));
    EXPECT_EQ(program.value("arg"), QStringLiteral("-a"));
    EXPECT_EQ(program.value("cwd"), root());
    EXPECT_TRUE(m_fakes.dialogs.messages.empty());
    EXPECT_TRUE(window.isEnabled());
}

TEST_F(StartProgram, WindowPaintsButTakesNoInputWhileTheProgramRuns)
{
    test::StandInProgram program(root(), 0.3);
    ASSERT_TRUE(program.ok());
    QWidget window;
    bool enabledMeanwhile = true;
    bool eventsRan = false;
    QTimer::singleShot(50, &window, [&] {
        eventsRan = true;
        enabledMeanwhile = window.isEnabled();
    });
    run(program.path(), QString(), &window);
    EXPECT_TRUE(eventsRan);
    EXPECT_FALSE(enabledMeanwhile);
    EXPECT_TRUE(window.isEnabled());
}

struct FailCase {
    const char* name;
    const char* file;  // relative to the program folder
    bool createNotExecutable;
};

void PrintTo(const FailCase& c, std::ostream* os) { *os << c.name; }

constexpr FailCase kFailCases[] = {
    {"MissingProgram", "Ethernet_Update", false},
    {"NotExecutable", "Ethernet_Update", true},
    {"FolderInsteadOfProgram", "MASTER", false},
};

class StartProgramFails : public StartProgram, public ::testing::WithParamInterface<FailCase> {};

TEST_P(StartProgramFails, SaysSoAtOnce)
{
    const FailCase& c = GetParam();
    const QString path = joinPath(root(), QLatin1String(c.file));
    if (c.createNotExecutable) {
        ASSERT_TRUE(test::writeFile(path, "#!/bin/sh\nexit 0\n"));
    }
    QElapsedTimer t;
    t.start();
    EXPECT_EQ(run(path, QString()), StartProgramResult::NotStarted);
    EXPECT_LT(t.elapsed(), 5000);
    ASSERT_EQ(m_fakes.dialogs.messages.size(), 1u);
    EXPECT_EQ(m_fakes.dialogs.messages[0].type, TMsgDlgType::mtError);
    EXPECT_TRUE(m_fakes.dialogs.messages[0].text.startsWith(state().lang(1106)));
    EXPECT_TRUE(m_fakes.dialogs.messages[0].text.contains(path));
}

INSTANTIATE_TEST_SUITE_P(UpdateDevice, StartProgramFails, ::testing::ValuesIn(kFailCases),
                         [](const ::testing::TestParamInfo<FailCase>& i) {
                             return std::string(i.param.name);
                         });

TEST_F(StartProgram, ProgramStillRunningAtTheLimitIsLeftRunningAndReported)
{
    test::StandInProgram program(root(), 30);
    ASSERT_TRUE(program.ok());
    QElapsedTimer t;
    t.start();
    const std::optional<StartProgramResult> r = run(program.path(), QString(), nullptr, 300);
    EXPECT_EQ(r, StartProgramResult::StillRunning);
    EXPECT_GE(t.elapsed(), 300);
    EXPECT_LT(t.elapsed(), 5000);
    EXPECT_TRUE(program.isRunning());
    ASSERT_EQ(m_fakes.dialogs.messages.size(), 1u);
    EXPECT_EQ(m_fakes.dialogs.messages[0].type, TMsgDlgType::mtInformation);
    EXPECT_EQ(m_fakes.dialogs.messages[0].text, state().lang(1107));
}

TEST(StartProgramDefaults, UpdateProgramLiesInTheProgramFolder)
{
    ProgramState s;
    s.Dir_Exe = QStringLiteral("/opt/zfw");
    EXPECT_EQ(defaultUpdateProgram(s), QStringLiteral("/opt/zfw/Ethernet_Update"));
    EXPECT_EQ(kStartProgramLimitMs, 150000);
}

}  // namespace
}  // namespace zfw
