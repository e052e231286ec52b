#pragma once
// Fakes of the platform interfaces: they record what the code under test asked for and
// answer from a script. ScopedFakeServices installs them for one test.

#include "platform/Dialogs.h"
#include "platform/Http.h"
#include "platform/Services.h"

#include <QDialog>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace zfw::test {

struct ShownMessage {
    QString text;
    TMsgDlgType type;
    TMsgDlgButtons buttons;
};

// A file dialog the code under test opened.
struct FileDialogAsked {
    bool save = false;
    FileDialogRequest request;
};

class FakeDialogs final : public IUserDialogs {
public:
    TModalResult messageDlg(const QString& text, TMsgDlgType type, TMsgDlgButtons buttons,
                            QWidget* parent) override;
    TModalResult showModal(QDialog& dialog) override;
    std::optional<QString> openFileName(const FileDialogRequest& request, QWidget* parent) override;
    std::optional<QString> saveFileName(const FileDialogRequest& request, QWidget* parent) override;
    bool choosePrinter(PrintSetup& setup, int pageCount, QWidget* parent) override;

    // Answers given in order to the file dialogs (nullopt: cancelled); when none is left a
    // dialog is cancelled.
    std::deque<std::optional<QString>> fileAnswers;
    std::vector<FileDialogAsked> fileDialogs;
    // Called for the print dialog with the setup it starts from and the page count; true
    // confirms the (changed) setup. Unset: the dialog is cancelled.
    std::function<bool(PrintSetup&, int)> onChoosePrinter;
    std::vector<PrintSetup> printDialogs;  // the setups the print dialog was opened with

    // Answers given in order to message boxes; when none is left a box answers with its
    // first button (OK, else Yes).
    std::deque<TModalResult> messageAnswers;
    // Called for each modal window instead of running it; its result is the window's modal
    // result. Unset: the window is closed with Cancel.
    std::function<TModalResult(QDialog&)> onShowModal;

    std::vector<ShownMessage> messages;
    QStringList shownForms;  // object names of the windows shown modally
};

class FakeUrlOpener final : public IUrlOpener {
public:
    bool openUrl(const QUrl& url) override
    {
        opened.push_back(url);
        return true;
    }
    std::vector<QUrl> opened;
};

struct LaunchRecord {
    QString program;
    QStringList arguments;
    QString workDir;
};

// A started program that ends when the test says so.
class FakeRunningProcess final : public IRunningProcess {
public:
    bool isRunning() override { return running; }
    int exitCode() override { return running ? -1 : code; }
    bool waitForFinished(int) override { return !running; }
    bool running = true;
    int code = 0;
};

class FakeProcessLauncher final : public IProcessLauncher {
public:
    std::unique_ptr<IRunningProcess> start(const QString& program, const QStringList& arguments,
                                           const QString& workDir, QString* error) override;

    std::vector<LaunchRecord> launches;
    // Null: the start fails with failText.
    std::function<std::unique_ptr<IRunningProcess>()> makeProcess = [] {
        auto p = std::make_unique<FakeRunningProcess>();
        p->running = false;
        return p;
    };
    QString failText = QStringLiteral("cannot start");
};

class FakeClock final : public IClock {
public:
    qint64 monotonicMs() const override { return ms; }
    QDateTime now() const override { return dateTime; }
    qint64 ms = 0;
    QDateTime dateTime;
};

// Records each request and answers it from the event loop with reply, as the real client does.
class FakeHttpGet final : public IHttpGet {
public:
    void get(const QUrl& url, int timeoutMs, Done done) override;

    HttpReply reply;
    std::vector<QUrl> urls;
    std::vector<int> timeouts;
};

// Installs fake dialogs, URL opener, process launcher and clock for the lifetime of the
// object. A test that needs a real program started puts the real launcher back itself.
class ScopedFakeServices {
public:
    ScopedFakeServices();
    ~ScopedFakeServices();
    ScopedFakeServices(const ScopedFakeServices&) = delete;
    ScopedFakeServices& operator=(const ScopedFakeServices&) = delete;

    FakeDialogs dialogs;
    FakeUrlOpener urls;
    FakeProcessLauncher processes;
    FakeClock clock;

private:
    Services m_saved;
};

}  // namespace zfw::test
