#pragma once
// Message boxes, modal windows, file pickers and the print dialog behind one interface, so
// that every message a window shows can be checked by a test and every modal window can be
// answered by a script.

#include "platform/FileDialogs.h"
#include "platform/Printer.h"

#include <QString>

class QDialog;
class QWidget;

namespace zfw {

// Modal results as the windows use them.
enum TModalResult : int {
    mrNone = 0,
    mrOk = 1,
    mrCancel = 2,
    mrAbort = 3,
    mrRetry = 4,
    mrIgnore = 5,
    mrYes = 6,
    mrNo = 7,
};

enum class TMsgDlgType { mtError, mtWarning, mtConfirmation, mtInformation };

// Buttons of a message box, combinable.
enum TMsgDlgBtn : unsigned {
    mbOK = 1u << 0,
    mbCancel = 1u << 1,
    mbYes = 1u << 2,
    mbNo = 1u << 3,
};
using TMsgDlgButtons = unsigned;

// A window that only picks files, or only prints, can be given the narrower interface.
class IUserDialogs : public IFileDialogs, public IPrintDialog {
public:
    ~IUserDialogs() override = default;

    // Shows a message box; returns the modal result of the button pressed (mrCancel when the
    // box is closed without one, mrOk for a box with OK only). A box with Yes and No has No
    // as its default: every such question guards data.
    virtual TModalResult messageDlg(const QString& text, TMsgDlgType type, TMsgDlgButtons buttons,
                                    QWidget* parent) = 0;

    // Shows a window modally and returns its modal result.
    virtual TModalResult showModal(QDialog& dialog) = 0;

    // Shortcuts for the common kinds.
    void showError(const QString& text, QWidget* parent = nullptr)
    {
        messageDlg(text, TMsgDlgType::mtError, mbOK, parent);
    }
    void showWarning(const QString& text, QWidget* parent = nullptr)
    {
        messageDlg(text, TMsgDlgType::mtWarning, mbOK, parent);
    }
    void showInformation(const QString& text, QWidget* parent = nullptr)
    {
        messageDlg(text, TMsgDlgType::mtInformation, mbOK, parent);
    }
    bool askYesNo(const QString& text, QWidget* parent = nullptr)
    {
        return messageDlg(text, TMsgDlgType::mtConfirmation, mbYes | mbNo, parent) == mrYes;
    }
};

// Modal result of a dialog closed by QDialog::exec: accepted is OK, the title-bar close or
// Escape (rejected) is Cancel, any other code is taken as a modal result.
TModalResult modalResultOf(int execResult);

// The implementation over Qt's standard message boxes and QDialog::exec.
class QtUserDialogs final : public IUserDialogs {
public:
    TModalResult messageDlg(const QString& text, TMsgDlgType type, TMsgDlgButtons buttons,
                            QWidget* parent) override;
    TModalResult showModal(QDialog& dialog) override;
    std::optional<QString> openFileName(const FileDialogRequest& request, QWidget* parent) override;
    std::optional<QString> saveFileName(const FileDialogRequest& request, QWidget* parent) override;
    bool choosePrinter(PrintSetup& setup, int pageCount, QWidget* parent) override;
};

}  // namespace zfw
