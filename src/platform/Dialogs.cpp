#include "platform/Dialogs.h"

#include <QDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>

namespace zfw {

TModalResult modalResultOf(int execResult)
{
    if (execResult == QDialog::Rejected)
        return mrCancel;
    return static_cast<TModalResult>(execResult);
}

TModalResult QtUserDialogs::messageDlg(const QString& text, TMsgDlgType type,
                                       TMsgDlgButtons buttons, QWidget* parent)
{
    QMessageBox box(parent);
    switch (type) {
    case TMsgDlgType::mtError:
        box.setIcon(QMessageBox::Critical);
        box.setWindowTitle(QObject::tr("Error"));
        break;
    case TMsgDlgType::mtWarning:
        box.setIcon(QMessageBox::Warning);
        box.setWindowTitle(QObject::tr("Warning"));
        break;
    case TMsgDlgType::mtConfirmation:
        box.setIcon(QMessageBox::Question);
        box.setWindowTitle(QObject::tr("Confirm"));
        break;
    case TMsgDlgType::mtInformation:
        box.setIcon(QMessageBox::Information);
        box.setWindowTitle(QObject::tr("Information"));
        break;
    }
    box.setText(text);
    QMessageBox::StandardButtons qb;
    if (buttons & mbOK)
        qb |= QMessageBox::Ok;
    if (buttons & mbCancel)
        qb |= QMessageBox::Cancel;
    if (buttons & mbYes)
        qb |= QMessageBox::Yes;
    if (buttons & mbNo)
        qb |= QMessageBox::No;
    if (!qb)
        qb = QMessageBox::Ok;
    box.setStandardButtons(qb);
    // Mended: a Yes/No question had Yes as its default, so that Enter pressed on a question
    // before overwriting or discarding data (a file saved over, a row deleted) did it. The
    // safe answer, No, is the default and the answer of Escape.
    if ((buttons & mbYes) && (buttons & mbNo)) {
        box.setDefaultButton(QMessageBox::No);
        box.setEscapeButton(QMessageBox::No);
    }
    switch (box.exec()) {
    case QMessageBox::Ok: return mrOk;
    case QMessageBox::Yes: return mrYes;
    case QMessageBox::No: return mrNo;
    default: return mrCancel;
    }
}

TModalResult QtUserDialogs::showModal(QDialog& dialog) { return modalResultOf(dialog.exec()); }

bool QtUserDialogs::choosePrinter(PrintSetup& setup, int pageCount, QWidget* parent)
{
    QPrinter printer;
    applyPrintSetup(setup, printer);
    QPrintDialog dialog(&printer, parent);
    dialog.setMinMax(1, qMax(1, pageCount));
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, pageCount > 1);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    setup = printSetupOf(printer, setup);
    return true;
}

}  // namespace zfw
