#include "support/FakeServices.h"

#include <QTimer>

namespace zfw::test {

TModalResult FakeDialogs::messageDlg(const QString& text, TMsgDlgType type, TMsgDlgButtons buttons,
                                     QWidget*)
{
    messages.push_back({text, type, buttons});
    if (!messageAnswers.empty()) {
        const TModalResult r = messageAnswers.front();
        messageAnswers.pop_front();
        return r;
    }
    if (buttons & mbOK)
        return mrOk;
    if (buttons & mbYes)
        return mrYes;
    return mrCancel;
}

TModalResult FakeDialogs::showModal(QDialog& dialog)
{
    shownForms.append(dialog.objectName());
    if (onShowModal)
        return onShowModal(dialog);
    return mrCancel;
}

namespace {

std::optional<QString> nextAnswer(std::deque<std::optional<QString>>& answers)
{
    if (answers.empty())
        return std::nullopt;
    const bool chosen = answers.front().has_value();
    const QString path = chosen ? *answers.front() : QString();
    answers.pop_front();
    if (!chosen)
        return std::nullopt;
    return path;
}

}  // namespace

std::optional<QString> FakeDialogs::openFileName(const FileDialogRequest& request, QWidget*)
{
    fileDialogs.push_back({false, request});
    return nextAnswer(fileAnswers);
}

std::optional<QString> FakeDialogs::saveFileName(const FileDialogRequest& request, QWidget*)
{
    fileDialogs.push_back({true, request});
    return nextAnswer(fileAnswers);
}

bool FakeDialogs::choosePrinter(PrintSetup& setup, int pageCount, QWidget*)
{
    printDialogs.push_back(setup);
    if (!onChoosePrinter)
        return false;
    PrintSetup chosen = setup;
    if (!onChoosePrinter(chosen, pageCount))
        return false;
    setup = chosen;
    return true;
}

std::unique_ptr<IRunningProcess> FakeProcessLauncher::start(const QString& program,
                                                            const QStringList& arguments,
                                                            const QString& workDir, QString* error)
{
    launches.push_back({program, arguments, workDir});
    std::unique_ptr<IRunningProcess> p = makeProcess ? makeProcess() : nullptr;
    if (!p && error)
        *error = failText;
    return p;
}

void FakeHttpGet::get(const QUrl& url, int timeoutMs, Done done)
{
    urls.push_back(url);
    timeouts.push_back(timeoutMs);
    QTimer::singleShot(0, [done, r = reply] { done(r); });
}

ScopedFakeServices::ScopedFakeServices() : m_saved(services())
{
    services().dialogs = &dialogs;
    services().urlOpener = &urls;
    services().processLauncher = &processes;
    services().clock = &clock;
}

ScopedFakeServices::~ScopedFakeServices() { services() = m_saved; }

}  // namespace zfw::test
