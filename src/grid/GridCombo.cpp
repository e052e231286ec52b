// The grid's combo editor: its key-down, character, key-up, wheel and focus steps.

#include "grid/GridCombo.h"

#include "grid/ExtGrid.h"
#include "grid/FrameworkGridKeyMap.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCursor>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMetaObject>
#include <QPointer>
#include <QWheelEvent>

#include <QSignalBlocker>

#include <algorithm>
#include <utility>

namespace zfw {

TGridCombo::TGridCombo(TExtStringGrid* Grid) : TEsgComboBox(Grid->viewport()), FGrid(Grid)
{
    setButtonWidth(16);
    setFocusPolicy(Qt::StrongFocus);
}

bool TGridCombo::event(QEvent* e)
{
    if (!m_gridGone && e->type() == QEvent::ShortcutOverride) {
        // Enter and Esc belong to the combo, not to a window shortcut or a dialog's buttons.
        auto* k = static_cast<QKeyEvent*>(e);
        if (k->key() == Qt::Key_Escape || k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
            e->accept();
            return true;
        }
    }
    if (!m_gridGone && e->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(e);
        // Tab stays with the combo while the grid takes Tab; otherwise it moves the focus on
        // (and the focus loss ends the edit).
        if ((k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab) && FGrid->EditorWantsTab()
            && !(k->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            keyPressEvent(k);
            return true;
        }
    }
    return TEsgComboBox::event(e);
}

bool TGridCombo::validate(bool tabStep)
{
    TExtStringGrid* g = FGrid;
    QPointer<TGridCombo> self(this);
    const QString value = g->comboValue();
    g->FValidating = true;
    g->SetCurrentCell(value);
    g->FValidating = false;
    if (g->ValidateCell(value))
        return true;
    if (!self)
        return false;
    if (comboStyle() == csDropDown) {
        setEditText(g->FNewCellText);
        if (QLineEdit* edit = lineEdit()) {
            if (tabStep)
                edit->end(false);
            else
                edit->selectAll();
        }
    }
    if (!tabStep)
        g->FNoAutoAdvance = true;
    update();
    return false;
}

void TGridCombo::takeCellText()
{
    const QString cell = FGrid->GetCurrentCell();
    const QSignalBlocker quiet(this);
    if (comboStyle() == csDropDownList) {
        const int i = findText(cell, Qt::MatchFixedString);
        if (i >= 0)
            setItemIndex(i);
    } else {
        setEditText(cell);
    }
}

void TGridCombo::KeyDown(int& key, Qt::KeyboardModifiers mods)
{
    if (m_gridGone)
        return;
    TExtStringGrid* g = FGrid;
    QPointer<TGridCombo> self(this);
    const TShiftState shift = shiftFromQt(mods);
    int vk = vkFromQtKey(key, mods);
    if (const QLineEdit* edit = comboStyle() == csDropDown ? lineEdit() : nullptr) {
        m_caretAtKeyDown = edit->cursorPosition();
        m_selectedAtKeyDown = edit->hasSelectedText();
    } else {
        m_caretAtKeyDown = -1;
        m_selectedAtKeyDown = false;
    }
    const bool listLike = comboStyle() == csDropDownList || droppedDown();
    bool handled = false;
    switch (vk) {
    case VK_TAB:
    case VK_RETURN:
    case VK_ESCAPE: handled = true; break;
    case VK_LEFT:
    case VK_RIGHT: handled = listLike; break;
    case VK_PRIOR:
    case VK_NEXT:
    case VK_END:
    case VK_UP:
    case VK_DOWN: handled = !listLike; break;
    default: break;
    }
    if (vk == VK_DOWN && shift.testFlag(ssAlt))
        handled = false;

    WorkMode = vk != VK_BACK && vk != VK_DELETE;

    if ((vk == VK_UP || vk == VK_DOWN) && !g->Navigation.ComboGetUpDown && !droppedDown()) {
        g->HideInplaceEdit();
        const bool always = std::exchange(g->Navigation.AlwaysEdit, false);
        g->setFocus(Qt::OtherFocusReason);
        g->Navigation.AlwaysEdit = always;
        g->WMKeyDown(vk, shift);
        key = 0;
        return;
    }
    if (!handled)
        return;

    if (vk == VK_ESCAPE) {
        g->CancelComboEditor();
        g->HideInplaceEdit();
        g->setFocus(Qt::OtherFocusReason);
        key = 0;
        return;
    }
    if (vk == VK_RETURN || vk == VK_UP || vk == VK_DOWN) {
        if (!validate(false)) {
            key = 0;
            return;
        }
        if (!self)
            return;
        takeCellText();
    }
    if (vk == VK_TAB && g->EditorWantsTab()) {
        if (!validate(true)) {
            key = 0;
            return;
        }
        if (!self)
            return;
        takeCellText();
        if (g->Options().testFlag(goTabs)) {
            g->HideInplaceEdit();
            g->setFocus(Qt::OtherFocusReason);
            g->TabToNextCell(shift.testFlag(ssShift));
            key = 0;
            return;
        }
        QPointer<TExtStringGrid> grid(g);
        QMetaObject::invokeMethod(
            g,
            [grid, shift] {
                if (grid)
                    grid->WMKeyDown(VK_TAB, shift);
            },
            Qt::QueuedConnection);
        vk = 0;
    }
    // The editable combo with its list closed leaves End to its edit field: the caret goes
    // to the end and the edit goes on.
    if (vk == VK_END && !listLike)
        return;
    closingStep(vk, shift);
    key = 0;
}

void TGridCombo::closingStep(int& vk, TShiftState shift)
{
    TExtStringGrid* g = FGrid;
    QPointer<TGridCombo> self(this);
    if (comboStyle() == csDropDownList || droppedDown()) {
        const bool direct = std::exchange(g->MouseActions.DirectComboClose, false);
        g->HideInplaceEdit();
        g->MouseActions.DirectComboClose = direct;
        if (vk == VK_LEFT || vk == VK_RIGHT) {
            g->setFocus(Qt::OtherFocusReason);
            g->WMKeyDown(vk, shift);
        }
        if (vk == VK_PRIOR || vk == VK_NEXT || (vk >= VK_LEFT && vk <= VK_DOWN))
            vk = 0;
    }
    g->DoneInplaceEdit(vk, shift);
    if (g->Navigation.AdvanceOnEnter && g->Navigation.AdvanceAutoEdit && vk == VK_RETURN)
        g->ShowInplaceEdit();
}

void TGridCombo::keyPressEvent(QKeyEvent* e)
{
    QPointer<TGridCombo> self(this);
    m_charSeen = false;
    TEsgComboBox::keyPressEvent(e);
    // Enter, Esc and Tab are consumed at key-down, but their character still follows (the
    // grid's OnKeyPress and OnReturnKey see it), also when the edit has just ended.
    if (!self || m_charSeen || m_gridGone || e->text().isEmpty())
        return;
    const int k = e->key();
    if (k == Qt::Key_Return || k == Qt::Key_Enter || k == Qt::Key_Escape || k == Qt::Key_Tab) {
        QChar ch = e->text().at(0);
        KeyPress(ch);
    }
}

void TGridCombo::KeyPress(QChar& ch)
{
    m_charSeen = true;
    if (m_gridGone)
        return;
    TExtStringGrid* g = FGrid;
    char16_t c = ch.unicode();
    if (g->OnKeyPress)
        g->OnKeyPress(this, c);
    if (c == 27)
        c = 0;
    if (c == 13 && OnReturnKey)
        OnReturnKey(this);
    if (c == 13 || c == 9)
        c = 0;
    // The limit blocks insertions only: a longer text already in the cell stays whole.
    if (c >= 32 && comboStyle() == csDropDown && g->MaxComboLength > 0 && lineEdit()) {
        const QLineEdit* edit = lineEdit();
        const int grown = edit->text().size() - edit->selectedText().size() + 1;
        if (grown > g->MaxComboLength && grown > edit->text().size())
            c = 0;
    }
    ch = QChar(c);
}

void TGridCombo::keyReleaseEvent(QKeyEvent* e)
{
    if (m_gridGone) {
        TEsgComboBox::keyReleaseEvent(e);
        return;
    }
    const QLineEdit* edit = comboStyle() == csDropDown ? lineEdit() : nullptr;
    const bool plain = !(e->modifiers()
                         & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier));
    if (edit && plain && !e->isAutoRepeat() && FGrid->Navigation.CursorWalkEditor && FGrid->EditMode
        && !droppedDown() && !edit->hasSelectedText() && !m_selectedAtKeyDown) {
        const int end = int(edit->text().size());
        const bool left = e->key() == Qt::Key_Left && edit->cursorPosition() == 0
                          && m_caretAtKeyDown == 0;
        const bool right = e->key() == Qt::Key_Right && edit->cursorPosition() == end
                           && m_caretAtKeyDown == end;
        if (left || right) {
            e->accept();
            // After a walk the combo may already be open again in another cell: nothing of
            // this key is left for it there.
            if (cursorWalk(right))
                return;
        }
    }
    FGrid->FNoAutoAdvance = false;
    if (e->key() != Qt::Key_Return && e->key() != Qt::Key_Enter)
        TEsgComboBox::keyReleaseEvent(e);
    if (!e->isAutoRepeat() && isVisible())
        DoChange();
}

bool TGridCombo::cursorWalk(bool forward)
{
    TExtStringGrid* g = FGrid;
    const int col = g->Col();
    const int row = g->Row();
    if (forward ? col >= g->ColCount() - g->FixedRightCols - 1 : col <= g->FixedCols())
        return false;
    const int next = forward ? col + 1 : col - 1;
    const QPoint b = g->store().BaseCell(g->RealColIndex(next), row);
    if (g->HasCheckBox(b.x(), b.y())) {
        // A check-box neighbour takes the cursor but opens no editor; a refused value keeps
        // the edit where it is.
        if (!validate(true))
            return true;
        g->HideInplaceEdit();
        g->SetCol(next);
        return true;
    }
    // The grid taking the focus ends the edit through the combo's focus loss; when the
    // focus cannot move (an inactive window) the edit is ended here.
    g->setFocus(Qt::OtherFocusReason);
    if (g->comboEditing())
        g->HideInplaceEdit();
    g->CursorWalkMove(col, row, forward);
    return true;
}

void TGridCombo::DoChange()
{
    if (m_gridGone || !WorkMode || !FGrid->Lookup || comboStyle() != csDropDown)
        return;
    QLineEdit* edit = lineEdit();
    if (!edit)
        return;
    const int typed = edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
    const QString prefix = edit->text().left(typed);
    if (prefix.isEmpty())
        return;
    const Qt::CaseSensitivity cs = FGrid->LookupCaseSensitivity;
    int hit = -1;
    QString entry;
    for (int i = 0; i < count(); ++i) {
        if (itemText(i).startsWith(prefix, cs)) {
            hit = i;
            entry = itemText(i);
            break;
        }
    }
    if (hit < 0) {
        entry = FGrid->LookupEntry(prefix);
        if (entry.isNull())
            return;
    }
    // The typed characters stay as typed; the rest comes from the entry.
    const QString completed = prefix + entry.mid(typed, 255);
    {
        // Completing is no typing of the user's: it raises no change events.
        const QSignalBlocker quiet(this);
        const QSignalBlocker quietEdit(edit);
        if (hit >= 0)
            setCurrentIndex(hit);
        setEditText(completed);
    }
    edit->setSelection(typed, int(completed.size()) - typed);
}

void TGridCombo::Change()
{
    TEsgComboBox::Change();
    if (m_gridGone)
        return;
    if (FGrid->EditMode && FGrid->OnEditChange)
        FGrid->OnEditChange(FGrid, FGrid->Col(), FGrid->Row(), text());
    // Typing into the editable combo is an edit-text change; choosing an item arrives
    // through Select.
    if (comboStyle() == csDropDown && !std::exchange(m_selecting, false))
        FGrid->comboEditChanged();
}

void TGridCombo::Select()
{
    m_selecting = true;
    TEsgComboBox::Select();
    if (!m_gridGone)
        FGrid->comboSelectionChanged();
}

void TGridCombo::DropDown()
{
    TEsgComboBox::DropDown();
    if (!m_gridGone)
        FGrid->comboDroppedDown();
}

void TGridCombo::DropUp()
{
    TEsgComboBox::DropUp();
    if (!m_gridGone)
        FGrid->comboClosedUp();
}

void TGridCombo::DoExit()
{
    // Opening the list moves the focus into it; depending on the platform that arrives as an
    // ordinary focus loss. The edit goes on in the list.
    if ((view() && view()->isVisible()) || QApplication::activePopupWidget())
        return;
    if (!m_gridGone && FGrid->LookupHistory) {
        // The combo's own list remembers the text until the next cell reloads the list.
        const QString t = text();
        if (!t.isEmpty() && findText(t, Qt::MatchExactly | Qt::MatchCaseSensitive) < 0) {
            const QSignalBlocker quiet(this);
            addItem(t);
        }
    }
    if (!m_gridGone && FGrid->EditMode) {
        TExtStringGrid* g = FGrid;
        g->HideInplaceEdit();
    }
    TEsgComboBox::DoExit();
}

void TGridCombo::focusInEvent(QFocusEvent* e)
{
    TEsgComboBox::focusInEvent(e);
    if (m_gridGone)
        return;
    QLineEdit* edit = comboStyle() == csDropDown ? lineEdit() : nullptr;
    if (!edit)
        return;
    // The edit field of a combo box that takes the focus shows its whole text selected, so
    // that typing replaces it; the list closing gives the focus back without that.
    if (!FGrid->Navigation.EditSelectAll)
        edit->end(false);
    else if (e->reason() != Qt::PopupFocusReason)
        edit->selectAll();
    if (FGrid->LButFlg) {
        const QPoint p = edit->mapFromGlobal(QCursor::pos());
        if (edit->rect().contains(p)) {
            edit->setCursorPosition(edit->cursorPositionAt(p));
            FGrid->LButFlg = false;
        }
    }
}

void TGridCombo::wheelEvent(QWheelEvent* e)
{
    e->accept();
    if (m_gridGone)
        return;
    const int delta = e->angleDelta().y();
    if (delta == 0)
        return;
    int i = itemIndex();
    if (delta < 0) {
        if (i < count() - 1)
            ++i;
    } else if (i > 0) {
        --i;
    }
    // A turn away from the user with no item selected has nothing to step back to. The old
    // combo read the item at -1 then, a list-index error; here the turn does nothing.
    if (i < 0)
        return;
    {
        const QSignalBlocker quiet(this);
        setItemIndex(i);
    }
    TExtStringGrid* g = FGrid;
    if (g->OnEditChange)
        g->OnEditChange(g, g->RealColIndex(g->Col()), g->Row(), itemText(i));
    // Also when the index did not change (at either end of the list).
    if (g->EditMode)
        g->comboSelectionChanged();
    else
        g->fireComboChange(i);
}

void TGridCombo::SizeDropDownWidth()
{
    int W = width();
    const bool scrolls = count() > dropDownCount();
    const QFontMetrics fm(FGrid->font());
    for (int i = 0; i < count(); ++i) {
        const int w = fm.horizontalAdvance(itemText(i));
        if (scrolls && w > W - 25)
            W = w + 25;
        else if (!scrolls && w > W - 5)
            W = w + 8;
    }
    m_sizedDropWidth = W;
    setDropWidth(W);
}

}  // namespace zfw
