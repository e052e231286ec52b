// One Qt key press as the grid's two steps: the virtual key of the key-down and the character.

#include "grid/FrameworkGridKeyMap.h"

#include "FrameworkGridTestSupport.h"

#include <gtest/gtest.h>

namespace zfw {
namespace {

using test::GridCaseName;

struct KeyMapCase {
    const char* name;
    int qtKey;
    Qt::KeyboardModifiers mods;
    const char16_t* text;
    int vk;
    int ch;  // -1: no character
    int keyData;
    TShiftState shift;
};

class FrameworkGridKeyMapTest : public ::testing::TestWithParam<KeyMapCase> {};

TEST_P(FrameworkGridKeyMapTest, Translate)
{
    const KeyMapCase& c = GetParam();
    EXPECT_EQ(vkFromQtKey(c.qtKey, c.mods), c.vk);
    EXPECT_EQ(shiftFromQt(c.mods), c.shift);
    const auto ch = charFromQtKey(c.qtKey, c.mods, QString::fromUtf16(c.text));
    if (c.ch < 0) {
        EXPECT_FALSE(ch.has_value());
    } else {
        ASSERT_TRUE(ch.has_value());
        EXPECT_EQ(int(ch->ch), c.ch);
        EXPECT_EQ(ch->keyData, c.keyData);
    }
}

const KeyMapCase kKeyMapCases[] = {
    {"EnterOnBothPaths", Qt::Key_Return, Qt::NoModifier, u"\r", VK_RETURN, 13, 0, {}},
    {"KeypadEnter", Qt::Key_Enter, Qt::KeypadModifier, u"\r", VK_RETURN, 13, 0, {}},
    {"CtrlEnterIsLineFeed", Qt::Key_Return, Qt::ControlModifier, u"", VK_RETURN, 10, 0,
     TShiftState(ssCtrl)},
    {"Escape", Qt::Key_Escape, Qt::NoModifier, u"\x1b", VK_ESCAPE, 27, 0, {}},
    {"Backspace", Qt::Key_Backspace, Qt::NoModifier, u"\b", VK_BACK, 8, 0, {}},
    {"Tab", Qt::Key_Tab, Qt::NoModifier, u"\t", VK_TAB, 9, 0, {}},
    {"ShiftTab", Qt::Key_Backtab, Qt::ShiftModifier, u"", VK_TAB, 9, 0, TShiftState(ssShift)},
    {"CtrlC", Qt::Key_C, Qt::ControlModifier, u"\x03", 'C', 3, 0, TShiftState(ssCtrl)},
    {"CtrlA", Qt::Key_A, Qt::ControlModifier, u"", 'A', 1, 0, TShiftState(ssCtrl)},
    {"LetterKeepsItsCase", Qt::Key_A, Qt::NoModifier, u"a", 'A', 'a', 0, {}},
    {"ShiftLetter", Qt::Key_A, Qt::ShiftModifier, u"A", 'A', 'A', 0, TShiftState(ssShift)},
    {"Digit", Qt::Key_7, Qt::NoModifier, u"7", '7', '7', 0, {}},
    {"KeypadDecimalIsFlagged",
     Qt::Key_Period,
     Qt::KeypadModifier,
     u".",
     VK_DECIMAL,
     '.',
     kKeyDataKeypad,
     {}},
    {"MainPeriodIsNot", Qt::Key_Period, Qt::NoModifier, u".", 0, '.', 0, {}},
    {"AltLetterHasNoCharacter", Qt::Key_X, Qt::AltModifier, u"x", 'X', -1, 0, TShiftState(ssAlt)},
    {"AltGrComposesACharacter",
     Qt::Key_Q,
     Qt::AltModifier | Qt::GroupSwitchModifier,
     u"@",
     'Q',
     '@',
     0,
     {}},
    {"ArrowHasNoCharacter", Qt::Key_Down, Qt::NoModifier, u"", VK_DOWN, -1, 0, {}},
    {"F2", Qt::Key_F2, Qt::NoModifier, u"", VK_F2, -1, 0, {}},
    {"PageDown", Qt::Key_PageDown, Qt::NoModifier, u"", VK_NEXT, -1, 0, {}},
    {"Umlaut", Qt::Key_Adiaeresis, Qt::NoModifier, u"\u00e4", 0, 0xE4, 0, {}},
};
INSTANTIATE_TEST_SUITE_P(Cases, FrameworkGridKeyMapTest, ::testing::ValuesIn(kKeyMapCases),
                         GridCaseName());

}  // namespace
}  // namespace zfw
