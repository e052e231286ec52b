#pragma once
// Small interfaces over the operating system, each with one implementation here and a fake
// in the tests: opening a web address, starting a program, and the clock.

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <memory>

namespace zfw {

class IUserDialogs;

class IUrlOpener {
public:
    virtual ~IUrlOpener() = default;
    // Opens the address in the user's browser; false when nothing could open it.
    virtual bool openUrl(const QUrl& url) = 0;
};

// A started program. Destroying the handle does not stop the program.
class IRunningProcess {
public:
    virtual ~IRunningProcess() = default;
    virtual bool isRunning() = 0;
    // Exit code once the program has ended; -1 while it runs or when it crashed.
    virtual int exitCode() = 0;
    // Waits at most msecs for the end; true when the program has ended.
    virtual bool waitForFinished(int msecs) = 0;
};

class IProcessLauncher {
public:
    virtual ~IProcessLauncher() = default;
    // Starts program with arguments in workDir (empty: the current folder). Null with
    // *error set when it cannot be started.
    virtual std::unique_ptr<IRunningProcess> start(const QString& program,
                                                   const QStringList& arguments,
                                                   const QString& workDir, QString* error) = 0;
};

class IClock {
public:
    virtual ~IClock() = default;
    // Milliseconds of a monotonic clock; only differences are meaningful.
    virtual qint64 monotonicMs() const = 0;
    virtual QDateTime now() const = 0;
};

class QtUrlOpener final : public IUrlOpener {
public:
    bool openUrl(const QUrl& url) override;
};

class QtProcessLauncher final : public IProcessLauncher {
public:
    std::unique_ptr<IRunningProcess> start(const QString& program, const QStringList& arguments,
                                           const QString& workDir, QString* error) override;
};

class SystemClock final : public IClock {
public:
    qint64 monotonicMs() const override;
    QDateTime now() const override;
};

// The services in use. They default to the real implementations; a test replaces them for
// its own duration.
struct Services {
    IUserDialogs* dialogs = nullptr;
    IUrlOpener* urlOpener = nullptr;
    IProcessLauncher* processLauncher = nullptr;
    IClock* clock = nullptr;
};

Services& services();

}  // namespace zfw
