#pragma once
// One Qt key press seen as the two steps the grid's hooks expect: a key-down with a virtual
// key code and shift state, then, when the key produces one, a character. Enter, Esc,
// Backspace and Tab and the Ctrl+letter combinations give control characters; a key that the
// key-down path consumed still yields its character.

#include "grid/FrameworkGridTypes.h"

#include <QString>

#include <optional>

namespace zfw {

// Bit of the character's key data that marks the keypad decimal key.
inline constexpr int kKeyDataKeypad = 1 << 22;

struct FrameworkGridChar {
    char16_t ch = 0;
    int keyData = 0;
    bool operator==(const FrameworkGridChar&) const = default;
};

// Virtual key of a Qt key (0 for keys the grid never sees as key-downs).
int vkFromQtKey(int qtKey, Qt::KeyboardModifiers mods);
TShiftState shiftFromQt(Qt::KeyboardModifiers mods, Qt::MouseButtons buttons = Qt::NoButton);
// The character a key press produces, if any. AltGr is not Alt: the character it composes is
// kept.
std::optional<FrameworkGridChar> charFromQtKey(int qtKey, Qt::KeyboardModifiers mods,
                                               const QString& text);

}  // namespace zfw
