#pragma once
// The grid's combo editor: one per grid, shown over a combo cell (an editable combo for
// edComboEdit, a pick list for edComboList). It turns keys into the grid's commit, Tab,
// closing and cancel steps, reports selection changes and the wheel to the grid's combo
// events, and ends the edit when it loses the focus. Enter and Esc stay with it, so a dialog
// around the grid never takes them as its default or cancel key while a cell is edited.

#include "grid/EsgCombo.h"
#include "grid/FrameworkGridTypes.h"

#include <functional>

namespace zfw {

class TExtStringGrid;

class TGridCombo : public TEsgComboBox {
    Q_OBJECT
public:
    explicit TGridCombo(TExtStringGrid* Grid);
    TExtStringGrid* grid() const { return FGrid; }

    // Type-ahead completion allowed; cleared by Backspace and Delete.
    bool WorkMode = true;
    std::function<void(QObject* Sender)> OnReturnKey;

    // Widens the dropped list to its longest item (25 pixels more when the list scrolls, 8
    // when it does not).
    void SizeDropDownWidth();
    // Type-ahead completion of the editable combo, run after every key-up while WorkMode and
    // the grid's Lookup are on: the text up to the caret is completed from the first item
    // that starts with it (that item becomes selected), else from the grid's LookupItems; the
    // completed rest is selected so that typing on replaces it.
    void DoChange();
    // The dropped list width SizeDropDownWidth chose (0 before it ran).
    int sizedDropWidth() const { return m_sizedDropWidth; }
    // The owner grid is being destroyed: the combo does nothing more with it.
    void gridDestroying() { m_gridGone = true; }

protected:
    bool event(QEvent* e) override;
    void KeyDown(int& key, Qt::KeyboardModifiers shift) override;
    void KeyPress(QChar& ch) override;
    void Change() override;
    void Select() override;
    void DropDown() override;
    void DropUp() override;
    void DoExit() override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;

private:
    // The commit and Tab steps' validation of the combo's value; false (the combo stays open
    // with the value validation left) when refused.
    bool validate(bool tabStep);
    // After an accepted commit: the list selects the item equal to the cell's text.
    void takeCellText();
    void closingStep(int& vk, TShiftState shift);
    // Left at the start or Right at the end of the editable combo's text leaves the cell for
    // its neighbour; false when there is no neighbour to go to.
    bool cursorWalk(bool forward);

    TExtStringGrid* FGrid;
    bool m_gridGone = false;
    // Select ran; the Change that follows it is no typing.
    bool m_selecting = false;
    int m_sizedDropWidth = 0;
    // The caret and whether text was selected when the last key went down: a walk needs the
    // caret to have stood at the end already, not to have just arrived there.
    int m_caretAtKeyDown = -1;
    bool m_selectedAtKeyDown = false;
    // The character step ran for the key being pressed.
    bool m_charSeen = false;
};

}  // namespace zfw
