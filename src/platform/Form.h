#pragma once
// Base of every window of the program: a dialog created once at start-up, shown modally,
// that copies its texts from the language table in Set_Lang.

#include <QDialog>

namespace zfw {

class TForm : public QDialog {
    Q_OBJECT
public:
    explicit TForm(QWidget* parent = nullptr);

    // Puts the window's language texts on its controls.
    virtual void Set_Lang() {}

protected:
    // Fixed client size, single border, title-bar close only.
    void setFixedClientSize(int width, int height);

    // Escape alone does not close the window: only a Cancel button of the window may take it.
    // A dialog closing on Escape would drop everything typed in an editor without a word.
    void keyPressEvent(QKeyEvent* event) override;
};

// Centres a top-level window on the screen that holds it.
void centreOnScreen(QWidget& w);

}  // namespace zfw
