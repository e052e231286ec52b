#include "platform/ChildProcess.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QTimer>

namespace zfw {

namespace {
// Enough of the standard error to say why a helper failed.
constexpr qsizetype kErrorTail = 4096;
}  // namespace

QtChildRunner::QtChildRunner(QObject* parent) : QObject(parent)
{
    m_timer = new QTimer(this);
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, [this] {
        m_timedOut = true;
        if (m_process)
            m_process->kill();
    });
}

QtChildRunner::~QtChildRunner() { cancel(); }

void QtChildRunner::run(const ChildRunRequest& request, std::function<void(ChildRunResult)> done)
{
    cancel();
    m_done = std::move(done);
    m_output.clear();
    m_error.clear();
    m_tooMuch = m_timedOut = false;
    m_maxOutput = request.maxOutput;
    m_process = std::make_unique<QProcess>();
    QProcess* p = m_process.get();
    if (!request.workDir.isEmpty())
        p->setWorkingDirectory(request.workDir);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const QString& e : request.environment) {
        const qsizetype eq = e.indexOf(u'=');
        if (eq > 0)
            env.insert(e.left(eq), e.mid(eq + 1));
    }
    p->setProcessEnvironment(env);
    connect(p, &QProcess::readyReadStandardOutput, this, [this, p] {
        m_output += p->readAllStandardOutput();
        if (m_output.size() > m_maxOutput && !m_tooMuch) {
            m_tooMuch = true;
            p->kill();
        }
    });
    connect(p, &QProcess::readyReadStandardError, this, [this, p] {
        m_error += p->readAllStandardError();
        if (m_error.size() > 2 * kErrorTail)
            m_error = m_error.right(kErrorTail);
    });
    connect(p, &QProcess::errorOccurred, this, [this, p](QProcess::ProcessError e) {
        if (e != QProcess::FailedToStart)
            return;
        ChildRunResult r;
        r.status = ChildRunResult::Status::CannotStart;
        r.message = p->errorString();
        finish(std::move(r));
    });
    connect(p, &QProcess::finished, this, [this, p](int code, QProcess::ExitStatus status) {
        m_output += p->readAllStandardOutput();
        m_error += p->readAllStandardError();
        ChildRunResult r;
        r.exitCode = code;
        r.output = std::move(m_output);
        r.errorOutput = m_error.right(kErrorTail);
        if (m_tooMuch)
            r.status = ChildRunResult::Status::TooMuchOutput;
        else if (m_timedOut)
            r.status = ChildRunResult::Status::TimedOut;
        else if (status != QProcess::NormalExit)
            r.status = ChildRunResult::Status::Crashed;
        else
            r.status = ChildRunResult::Status::Finished;
        finish(std::move(r));
    });
    p->start(request.program, request.arguments);
    if (p->state() == QProcess::NotRunning && !p->waitForStarted(0)) {
        // errorOccurred(FailedToStart) has answered already, or will from the event loop.
        return;
    }
    p->write(request.input);
    p->closeWriteChannel();
    m_timer->start(request.timeoutMs);
}

void QtChildRunner::finish(ChildRunResult result)
{
    m_timer->stop();
    auto done = std::move(m_done);
    m_done = nullptr;
    if (m_process) {
        // Deleted later: this runs inside one of its signals.
        QProcess* p = m_process.release();
        p->disconnect(this);
        p->deleteLater();
    }
    if (done)
        QTimer::singleShot(0, this, [done, result = std::move(result)] { done(result); });
}

void QtChildRunner::cancel()
{
    m_timer->stop();
    m_done = nullptr;
    if (!m_process)
        return;
    QProcess* p = m_process.release();
    p->disconnect(this);
    if (p->state() != QProcess::NotRunning) {
        p->kill();
        // Bounded: a killed child ends at once; the wait only reaps it.
        p->waitForFinished(2000);
    }
    delete p;
}

}  // namespace zfw
