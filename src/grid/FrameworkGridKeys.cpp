// The key path of the framework grid: one Qt key press becomes a key-down (WMKeyDown ->
// KeyDown -> OnKeyDown, then the base movement) and, when the key produces a character, a
// character step (WMChar -> KeyPress -> OnKeyPress, then typing starts the editor). The
// character step runs whatever the key-down step did with the key, so a handler that consumed
// Enter on key-down still sees it as a character.

#include "grid/FrameworkGrid.h"
#include "grid/FrameworkGridKeyMap.h"

#include <QKeyEvent>

namespace zfw {

void TStringGrid::keyPressEvent(QKeyEvent* e)
{
    const Qt::KeyboardModifiers mods = e->modifiers();
    const int vk = vkFromQtKey(e->key(), mods);
    const std::optional<FrameworkGridChar> ch = charFromQtKey(e->key(), mods, e->text());
    if (vk == 0 && !ch) {
        e->ignore();
        return;
    }
    if (vk != 0)
        WMKeyDown(vk, shiftFromQt(mods));
    if (ch)
        WMChar(ch->ch, ch->keyData);
    // Every key the grid handled stays with it, Esc and Enter included: a dialog must not
    // close because the grid's window sees them.
    e->accept();
}

void TStringGrid::keyReleaseEvent(QKeyEvent* e)
{
    if (e->isAutoRepeat()) {
        e->accept();
        return;
    }
    const int vk = vkFromQtKey(e->key(), e->modifiers());
    if (vk == 0) {
        e->ignore();
        return;
    }
    WMKeyUp(vk, shiftFromQt(e->modifiers()));
    e->accept();
}

void TStringGrid::WMKeyDown(int Key, TShiftState Shift)
{
    int k = Key;
    KeyDown(k, Shift);
}

void TStringGrid::WMChar(char16_t Ch, int)
{
    char16_t c = Ch;
    KeyPress(c);
}

void TStringGrid::WMKeyUp(int Key, TShiftState Shift)
{
    int k = Key;
    KeyUp(k, Shift);
}

void TStringGrid::KeyDown(int& Key, TShiftState Shift)
{
    if (OnKeyDown)
        OnKeyDown(this, Key, Shift);
    if (Key == 0)
        return;
    if ((Key == VK_F2 || Key == VK_RETURN) && Shift == TShiftState()
        && m_options.testFlag(goEditing)) {
        if (!m_editorMode)
            SetEditorMode(true);
        return;
    }
    applyKeyMove(Key, Shift);
}

void TStringGrid::applyKeyMove(int key, TShiftState shift)
{
    const FrameworkGridKeyMove m = frameworkGridKeyMove(m_geo, m_cursor.current, key, shift,
                                                        m_options);
    if (!m.handled)
        return;
    if (m.scrollOnly) {
        SetLeftCol(m.leftCol);
        return;
    }
    // The page keys move the view by the same amount as the cell; a refused move leaves both
    // the cell and the view where they were.
    if (!MoveCurrentCell(m.target.X, m.target.Y, m.moveAnchor, false))
        return;
    const int top = m.topRow >= 0 ? m.topRow : TopRow();
    const bool a = m_geo.SetTopRow(top);
    const TGridCoord pos = m_geo.scrollPositionFor(Col(), Row());
    const bool b = m_geo.SetLeftCol(pos.X);
    const bool c = m_geo.SetTopRow(pos.Y);
    if (a || b || c)
        fireTopLeftChanged();
}

void TStringGrid::KeyPress(char16_t& Key)
{
    if (OnKeyPress)
        OnKeyPress(this, Key);
    if (Key >= 32 && Key != 127 && m_options.testFlag(goEditing) && !m_editorMode)
        ShowEditorChar(Key);
}

void TStringGrid::KeyUp(int& Key, TShiftState Shift)
{
    if (OnKeyUp)
        OnKeyUp(this, Key, Shift);
}

}  // namespace zfw
