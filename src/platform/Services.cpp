#include "platform/Services.h"

#include "platform/Dialogs.h"

#include <QDesktopServices>
#include <QElapsedTimer>
#include <QProcess>

#include <vector>

namespace zfw {

bool QtUrlOpener::openUrl(const QUrl& url)
{
    return url.isValid() && QDesktopServices::openUrl(url);
}

namespace {

class QtRunningProcess final : public IRunningProcess {
public:
    explicit QtRunningProcess(std::unique_ptr<QProcess> p) : m_process(std::move(p)) {}

    // QProcess kills its child when destroyed; a program that is still running when its
    // handle goes away is left to finish, so the process object is kept until then.
    ~QtRunningProcess() override
    {
        if (m_process && m_process->state() != QProcess::NotRunning) {
            QProcess* p = m_process.release();
            QObject::connect(p, &QProcess::finished, p, &QObject::deleteLater);
        }
    }

    bool isRunning() override { return m_process->state() != QProcess::NotRunning; }

    int exitCode() override
    {
        if (isRunning() || m_process->exitStatus() != QProcess::NormalExit)
            return -1;
        return m_process->exitCode();
    }

    bool waitForFinished(int msecs) override
    {
        if (!isRunning())
            return true;
        return m_process->waitForFinished(msecs);
    }

private:
    std::unique_ptr<QProcess> m_process;
};

}  // namespace

std::unique_ptr<IRunningProcess> QtProcessLauncher::start(const QString& program,
                                                          const QStringList& arguments,
                                                          const QString& workDir, QString* error)
{
    auto p = std::make_unique<QProcess>();
    p->setProgram(program);
    p->setArguments(arguments);
    if (!workDir.isEmpty())
        p->setWorkingDirectory(workDir);
    p->setProcessChannelMode(QProcess::ForwardedChannels);
    p->start();
    if (!p->waitForStarted(10000)) {
        if (error)
            *error = p->errorString();
        return nullptr;
    }
    return std::make_unique<QtRunningProcess>(std::move(p));
}

qint64 SystemClock::monotonicMs() const
{
    static QElapsedTimer timer = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return timer.elapsed();
}

QDateTime SystemClock::now() const { return QDateTime::currentDateTime(); }

Services& services()
{
    static QtUserDialogs dialogs;
    static QtUrlOpener urls;
    static QtProcessLauncher processes;
    static SystemClock clock;
    static Services s{&dialogs, &urls, &processes, &clock};
    return s;
}

}  // namespace zfw
