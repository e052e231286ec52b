#pragma once
// A helper program run in the background with its standard input given and its standard
// output collected: the answer comes once, on the event loop, when the program has ended, was
// ended for taking too long or for saying too much, or could not be started. Secrets go on the
// standard input, never on the command line, where the process list would show them.

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QProcess;
class QTimer;

namespace zfw {

struct ChildRunRequest {
    QString program;
    QStringList arguments;
    QString workDir;              // empty: the current folder
    QStringList environment;      // "NAME=value" entries added to the program's environment
    QByteArray input;             // written to the standard input, which is then closed
    int timeoutMs = 60000;        // the program is ended after this long
    qint64 maxOutput = 64 << 20;  // the program is ended when its output grows beyond this
};

struct ChildRunResult {
    enum class Status { Finished, CannotStart, Crashed, TimedOut, TooMuchOutput };
    Status status = Status::CannotStart;
    int exitCode = -1;
    QByteArray output;
    QByteArray errorOutput;  // the last part of the standard error, for messages
    QString message;         // CannotStart: why
};

// Runs one program at a time.
class IChildRunner {
public:
    virtual ~IChildRunner() = default;
    // Starts the program; done is called once, from the event loop, unless cancel came
    // first. A start while another program runs cancels that one.
    virtual void run(const ChildRunRequest& request, std::function<void(ChildRunResult)> done) = 0;
    // Ends the running program (by its own process id); its done is not called.
    virtual void cancel() = 0;
};

class QtChildRunner final : public QObject, public IChildRunner {
public:
    explicit QtChildRunner(QObject* parent = nullptr);
    ~QtChildRunner() override;

    void run(const ChildRunRequest& request, std::function<void(ChildRunResult)> done) override;
    void cancel() override;

private:
    void finish(ChildRunResult result);

    std::unique_ptr<QProcess> m_process;
    QTimer* m_timer = nullptr;
    std::function<void(ChildRunResult)> m_done;
    QByteArray m_output;
    QByteArray m_error;
    qint64 m_maxOutput = 0;
    bool m_tooMuch = false;
    bool m_timedOut = false;
};

}  // namespace zfw
