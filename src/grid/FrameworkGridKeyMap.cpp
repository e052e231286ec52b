#include "grid/FrameworkGridKeyMap.h"

namespace zfw {

int vkFromQtKey(int qtKey, Qt::KeyboardModifiers mods)
{
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return 'A' + (qtKey - Qt::Key_A);
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return '0' + (qtKey - Qt::Key_0);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return VK_F1 + (qtKey - Qt::Key_F1);
    switch (qtKey) {
    case Qt::Key_Backspace: return VK_BACK;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return VK_TAB;
    case Qt::Key_Return:
    case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Shift: return VK_SHIFT;
    case Qt::Key_Control: return VK_CONTROL;
    case Qt::Key_Alt: return VK_MENU;
    case Qt::Key_Escape: return VK_ESCAPE;
    case Qt::Key_Space: return VK_SPACE;
    case Qt::Key_PageUp: return VK_PRIOR;
    case Qt::Key_PageDown: return VK_NEXT;
    case Qt::Key_End: return VK_END;
    case Qt::Key_Home: return VK_HOME;
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Down: return VK_DOWN;
    case Qt::Key_Insert: return VK_INSERT;
    case Qt::Key_Delete: return VK_DELETE;
    case Qt::Key_Period:
    case Qt::Key_Comma: return mods.testFlag(Qt::KeypadModifier) ? VK_DECIMAL : 0;
    default: return 0;
    }
}

TShiftState shiftFromQt(Qt::KeyboardModifiers mods, Qt::MouseButtons buttons)
{
    TShiftState s;
    if (mods.testFlag(Qt::ShiftModifier))
        s |= ssShift;
    if (mods.testFlag(Qt::ControlModifier))
        s |= ssCtrl;
    // AltGr composes characters; only the plain Alt counts as Alt.
    if (mods.testFlag(Qt::AltModifier) && !mods.testFlag(Qt::GroupSwitchModifier))
        s |= ssAlt;
    if (buttons.testFlag(Qt::LeftButton))
        s |= ssLeft;
    if (buttons.testFlag(Qt::RightButton))
        s |= ssRight;
    if (buttons.testFlag(Qt::MiddleButton))
        s |= ssMiddle;
    return s;
}

std::optional<FrameworkGridChar> charFromQtKey(int qtKey, Qt::KeyboardModifiers mods,
                                               const QString& text)
{
    const bool ctrl = mods.testFlag(Qt::ControlModifier);
    const bool alt = mods.testFlag(Qt::AltModifier) && !mods.testFlag(Qt::GroupSwitchModifier);
    switch (qtKey) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return FrameworkGridChar{char16_t(ctrl ? 10 : 13), 0};
    case Qt::Key_Escape: return FrameworkGridChar{27, 0};
    case Qt::Key_Backspace: return FrameworkGridChar{8, 0};
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return FrameworkGridChar{9, 0};
    default: break;
    }
    if (ctrl && !alt && qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return FrameworkGridChar{char16_t(1 + (qtKey - Qt::Key_A)), 0};
    if (ctrl || alt || text.isEmpty())
        return std::nullopt;
    const QChar c = text.at(0);
    if (c.unicode() < 32 || c.unicode() == 127)
        return std::nullopt;
    const int keyData = mods.testFlag(Qt::KeypadModifier)
                                && (qtKey == Qt::Key_Period || qtKey == Qt::Key_Comma)
                            ? kKeyDataKeypad
                            : 0;
    return FrameworkGridChar{c.unicode(), keyData};
}

}  // namespace zfw
