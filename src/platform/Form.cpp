#include "platform/Form.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>

namespace zfw {

TForm::TForm(QWidget* parent) : QDialog(parent)
{
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                   | Qt::MSWindowsFixedSizeDialogHint);
}

void TForm::setFixedClientSize(int width, int height) { setFixedSize(width, height); }

void TForm::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void centreOnScreen(QWidget& w)
{
    QScreen* screen = w.screen() ? w.screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    w.move(area.center() - QPoint(w.width() / 2, w.height() / 2));
}

}  // namespace zfw
