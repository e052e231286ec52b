#pragma once
// Fakes of the platform interfaces: they record what the code under test asked for and
// answer from a script. ScopedFakeServices installs them for one test.

#include "platform/Dialogs.h"
#include "platform/Services.h"

#include <QDialog>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <deque>
#include <functional>
#include <vector>

namespace zfw::test {

struct ShownMessage {
    QString text;
    TMsgDlgType type;
    TMsgDlgButtons buttons;
};

class FakeDialogs final : public IUserDialogs {
public:
    TModalResult messageDlg(const QString& text, TMsgDlgType type, TMsgDlgButtons buttons,
                            QWidget* parent) override;
    TModalResult showModal(QDialog& dialog) override;

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

class FakeClock final : public IClock {
public:
    qint64 monotonicMs() const override { return ms; }
    QDateTime now() const override { return dateTime; }
    qint64 ms = 0;
    QDateTime dateTime;
};

// Installs fake dialogs, URL opener and clock for the lifetime of the object; the process
// launcher stays the real one unless a test sets its own.
class ScopedFakeServices {
public:
    ScopedFakeServices();
    ~ScopedFakeServices();
    ScopedFakeServices(const ScopedFakeServices&) = delete;
    ScopedFakeServices& operator=(const ScopedFakeServices&) = delete;

    FakeDialogs dialogs;
    FakeUrlOpener urls;
    FakeClock clock;

private:
    Services m_saved;
};

}  // namespace zfw::test
