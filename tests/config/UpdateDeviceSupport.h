#pragma once
// Shared pieces of the update-step tests: a project in a fresh program state rooted in a
// temporary folder, a stand-in for the external update program, and a scripted pinger.

#include "common/UComon.h"
#include "common/ULanguage.h"
#include "platform/Ping.h"
#include "platform/Services.h"
#include "support/FakeServices.h"
#include "support/Files.h"
#include "support/LocalHttpServer.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QString>
#include <QTimer>

#include <gtest/gtest.h>

#include <csignal>
#include <deque>
#include <functional>

namespace zfw::test {

// Program folder with MASTER and one active project "P", English texts loaded.
class UpdateProjectTest : public TempStateTest {
protected:
    void SetUp() override
    {
        TempStateTest::SetUp();
        ProgramState& s = programState();
        s.Dir_Exe = root();
        s.Dir_Master = joinPath(root(), QStringLiteral("MASTER"));
        s.Dir_Projects = joinPath(root(), QStringLiteral("PROJECTS"));
        s.Project_Name = QStringLiteral("P");
        s.Dir_Project = joinPath(s.Dir_Projects, s.Project_Name);
        s.SW_Code = QString::fromLatin1(Build_SW_Code);
        s.Update_Read_Back = true;
        ASSERT_TRUE(QDir().mkpath(s.Dir_Master));
        ASSERT_TRUE(QDir().mkpath(s.Dir_Project));
        Set_Files(s);
        Fill_Default_Language(s);
    }

    ProgramState& state() { return programState(); }
    QString listPath() const { return joinPath(root(), QStringLiteral("Ethernet_Update.xml")); }
    QString binPath(const char* name) const
    {
        return joinPath(joinPath(programState().Dir_Project, QStringLiteral("bin")),
                        QLatin1String(name));
    }
};

// A shell script standing in for the external update program. It records how it was called
// (argument count, each argument, working folder, whether the operation list was there and
// its own process id) in its log, then sleeps for the given seconds.
class StandInProgram {
public:
    StandInProgram(const QString& folder, double sleepSeconds)
        : m_path(joinPath(folder, QStringLiteral("Ethernet_Update"))),
          m_log(joinPath(folder, QStringLiteral("standin.log")))
    {
        const QByteArray script =
            "#!/bin/sh\n"
            "{\n"
            "  echo \"pid=$$\"\n"
            "  echo \"argc=$#\"\n"
            "  for a in \"$@\"; do echo \"arg=$a\"; done\n"
            "  echo \"cwd=$(pwd)\"\n"
            "  if [ -f Ethernet_Update.xml ]; then echo list=yes; else echo list=no; fi\n"
            "} > '" + m_log.toLocal8Bit() + "'\n"
            "exec sleep " + QByteArray::number(sleepSeconds) + "\n";
        m_ok = writeFile(m_path, script)
               && QFile::setPermissions(m_path,
                                        QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    // A stand-in still running at the end of a test is stopped here.
    ~StandInProgram()
    {
        const qint64 pid = value("pid").toLongLong();
        if (pid > 0)
            ::kill(static_cast<pid_t>(pid), SIGTERM);
    }

    bool ok() const { return m_ok; }
    const QString& path() const { return m_path; }
    bool ran() const { return QFile::exists(m_log); }

    // Value of a "key=value" line of the log (the first one); empty when missing.
    QString value(const char* key) const
    {
        const QList<QByteArray> lines = readFile(m_log).split('\n');
        for (const QByteArray& l : lines)
            if (l.startsWith(QByteArray(key) + '='))
                return QString::fromLocal8Bit(l.mid(qstrlen(key) + 1));
        return QString();
    }

    bool isRunning() const
    {
        const qint64 pid = value("pid").toLongLong();
        return pid > 0 && ::kill(static_cast<pid_t>(pid), 0) == 0;
    }

private:
    QString m_path;
    QString m_log;
    bool m_ok = false;
};

// Puts the real program launcher and clock back for a test that runs a real program or a
// real ping; the fake message boxes stay.
inline void useRealLauncherAndClock()
{
    static QtProcessLauncher launcher;
    static SystemClock clock;
    services().processLauncher = &launcher;
    services().clock = &clock;
}

// Answers echo requests from a script of outcomes, from the event loop as the real client
// does; each request moves the fake clock on by the time it would take (the whole time-out
// without a reply, replyMs with one).
class ScriptedPinger final : public IPinger {
public:
    explicit ScriptedPinger(FakeClock& clock) : m_clock(clock) {}

    void echo(const QString& host, const QByteArray& data, int timeoutMs, QObject* context,
              Done done) override
    {
        hosts.push_back(host);
        lastData = data;
        if (onEcho)
            onEcho();
        EchoResult r;
        r.status = EchoResult::Status::TimedOut;
        if (!script.empty()) {
            r = script.front();
            script.pop_front();
        } else if (answerWhenScriptEnds) {
            r.status = EchoResult::Status::Reply;
        }
        if (r.status == EchoResult::Status::Reply && r.bytesReceived == 0)
            r.bytesReceived = 8 + data.size();
        m_clock.ms += r.status == EchoResult::Status::TimedOut ? timeoutMs : replyMs;
        ++pending;
        QTimer::singleShot(0, context ? context : &m_fallbackContext, [this, done, r] {
            --pending;
            done(r);
        });
    }

    static EchoResult reply()
    {
        EchoResult r;
        r.status = EchoResult::Status::Reply;
        return r;
    }
    static EchoResult silence()
    {
        EchoResult r;
        r.status = EchoResult::Status::TimedOut;
        return r;
    }
    static EchoResult failure(bool notPermitted)
    {
        EchoResult r;
        r.status = EchoResult::Status::Failed;
        r.notPermitted = notPermitted;
        r.error = QStringLiteral("scripted failure");
        return r;
    }

    std::deque<EchoResult> script;
    bool answerWhenScriptEnds = false;
    int replyMs = 1;
    std::function<void()> onEcho;
    QStringList hosts;
    QByteArray lastData;
    int pending = 0;  // answers not delivered yet

private:
    FakeClock& m_clock;
    QObject m_fallbackContext;
};

}  // namespace zfw::test
