#include "support/FakeServices.h"

namespace zfw::test {

TModalResult FakeDialogs::messageDlg(const QString& text, TMsgDlgType type,
                                     TMsgDlgButtons buttons, QWidget*)
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

ScopedFakeServices::ScopedFakeServices() : m_saved(services())
{
    services().dialogs = &dialogs;
    services().urlOpener = &urls;
    services().clock = &clock;
}

ScopedFakeServices::~ScopedFakeServices() { services() = m_saved; }

}  // namespace zfw::test
