#include "config/UpdateProgram.h"

#include "common/UComon.h"
#include "platform/Dialogs.h"
#include "platform/Services.h"

#include <QPointer>
#include <QProcess>
#include <QTimer>
#include <QWidget>

#include <memory>

namespace zfw {

namespace {

constexpr int kExitPollMs = 10;

// The wait for one started program. It is no child of the window: the window's end only
// stops it, so it is never deleted while it reports.
class ProgramWait final : public QObject {
public:
    ProgramWait(std::unique_ptr<IRunningProcess> process, IClock& clock, QWidget* window,
                int limitMs, QString stillRunningText, StartProgramDone done)
        : m_process(std::move(process)), m_window(window), m_hasWindow(window != nullptr),
          m_clock(clock), m_start(m_clock.monotonicMs()), m_limitMs(limitMs),
          m_stillRunningText(std::move(stillRunningText)), m_done(std::move(done))
    {
        // The old wait blocked the GUI thread, so no window repainted for up to 150 s. The
        // event loop now runs while the window takes no input, which keeps the user from
        // starting anything else meanwhile.
        if (window) {
            m_wasEnabled = window->isEnabled();
            window->setEnabled(false);
            connect(window, &QObject::destroyed, this, [this] { stop(); });
        }
        m_poll.setInterval(kExitPollMs);
        connect(&m_poll, &QTimer::timeout, this, [this] { poll(); });
        m_poll.start();
    }

private:
    void poll()
    {
        if (!m_process->isRunning())
            finish(StartProgramResult::Finished);
        else if (m_clock.monotonicMs() - m_start >= m_limitMs)
            finish(StartProgramResult::StillRunning);
    }

    void stop()
    {
        m_finished = true;
        m_poll.stop();
        deleteLater();
    }

    void finish(StartProgramResult result)
    {
        if (m_finished)
            return;
        stop();
        if (m_hasWindow && !m_window)
            return;
        if (m_window)
            m_window->setEnabled(m_wasEnabled);
        // The program is left running at the limit; the user is told so rather than being
        // left to believe the update ended.
        if (result == StartProgramResult::StillRunning)
            services().dialogs->showInformation(m_stillRunningText, m_window);
        if (m_hasWindow && !m_window)
            return;
        m_done(result);
    }

    std::unique_ptr<IRunningProcess> m_process;
    QPointer<QWidget> m_window;
    bool m_hasWindow;
    bool m_wasEnabled = true;
    IClock& m_clock;
    qint64 m_start;
    int m_limitMs;
    QString m_stillRunningText;
    StartProgramDone m_done;
    QTimer m_poll;
    bool m_finished = false;
};

}  // namespace

QString defaultUpdateProgram(const ProgramState& s)
{
    return joinPath(s.Dir_Exe, QStringLiteral("Ethernet_Update"));
}

void Start_Program(const ProgramState& s, const QString& NomeSW, const QString& Parameter,
                   std::uint8_t tipo, QWidget* window, int limitMs, StartProgramDone done,
                   const ProgramServices& with)
{
    Q_UNUSED(tipo);
    IProcessLauncher& launcher = with.launcher ? *with.launcher : *services().processLauncher;
    IClock& clock = with.clock ? *with.clock : *services().clock;
    QString error;
    std::unique_ptr<IRunningProcess> process = launcher.start(NomeSW,
                                                              QProcess::splitCommand(Parameter),
                                                              s.Dir_Exe, &error);
    // A program that could not be started used to be passed over in silence, and the user
    // took the update for done.
    if (!process) {
        services().dialogs->showError(s.lang(1106) + NomeSW + QLatin1Char('\n') + error, window);
        done(StartProgramResult::NotStarted);
        return;
    }
    // The texts are taken now: the state may be replaced before the program ends.
    new ProgramWait(std::move(process), clock, window, limitMs, s.lang(1107), std::move(done));
}

}  // namespace zfw
