// The combo box base of the grid's combo editor, driven as a user would (keys, focus), plus
// the theme stand-in it draws with.

#include "grid/EsgCombo.h"
#include "grid/ExtStyleIF.h"

#include "support/CaseName.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace zfw {
namespace {

using test::CaseName;

// A box that records its hooks and can refuse or replace keys, as the grid's editor does.
class ProbeCombo : public TEsgComboBox {
public:
    using TEsgComboBox::TEsgComboBox;
    int refuseKey = 0;
    QChar refuseChar;
    QChar replaceFrom, replaceTo;
    QStringList log;

protected:
    void KeyDown(int& key, Qt::KeyboardModifiers shift) override
    {
        log << QStringLiteral("down %1").arg(key);
        if (key == refuseKey)
            key = 0;
        TEsgComboBox::KeyDown(key, shift);
    }
    void KeyPress(QChar& ch) override
    {
        log << QStringLiteral("char %1").arg(ch.unicode());
        if (!refuseChar.isNull() && ch == refuseChar)
            ch = QChar();
        else if (!replaceFrom.isNull() && ch == replaceFrom)
            ch = replaceTo;
    }
    void Change() override
    {
        log << QStringLiteral("change");
        TEsgComboBox::Change();
    }
    void Select() override
    {
        log << QStringLiteral("select");
        TEsgComboBox::Select();
    }
    void DoEnter() override { log << QStringLiteral("enter"); }
    void DoExit() override { log << QStringLiteral("exit"); }
};

const QStringList kItems = {QStringLiteral("Off"), QStringLiteral("On"), QStringLiteral("Auto")};

struct WidthCase {
    const char* name;
    int write;
    bool taken;
};
class ComboButtonWidth : public ::testing::TestWithParam<WidthCase> {};
TEST_P(ComboButtonWidth, TakesOnly14To32)
{
    TEsgComboBox box;
    box.setButtonWidth(20);
    box.setButtonWidth(GetParam().write);
    EXPECT_EQ(box.buttonWidth(), GetParam().taken ? GetParam().write : 20);
}
const WidthCase kWidths[] = {
    {"below", 13, false}, {"lowest", 14, true},    {"highest", 32, true},
    {"above", 33, false}, {"negative", -5, false},
};
INSTANTIATE_TEST_SUITE_P(Widths, ComboButtonWidth, ::testing::ValuesIn(kWidths), CaseName());

TEST(ComboButtonWidth, DefaultIsTheScrollBarWidthPlusTwoWithinTheRange)
{
    TEsgComboBox box;
    const int expected = std::clamp(QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent)
                                        + 2,
                                    14, 32);
    EXPECT_EQ(box.buttonWidth(), expected);
    EXPECT_EQ(box.dropDownCount(), 8);
}

TEST(ComboButtonWidth, TheArrowAreaFollowsTheWidth)
{
    TEsgComboBox box;
    box.resize(150, 24);
    box.setButtonWidth(30);
    QStyleOptionComboBox opt;
    opt.initFrom(&box);
    opt.editable = true;
    const QRect arrow = box.style()->subControlRect(QStyle::CC_ComboBox, &opt,
                                                    QStyle::SC_ComboBoxArrow, &box);
    EXPECT_EQ(arrow.width(), 30);
    const QRect field = box.style()->subControlRect(QStyle::CC_ComboBox, &opt,
                                                    QStyle::SC_ComboBoxEditField, &box);
    EXPECT_LT(field.right(), arrow.left());
}

struct TextCase {
    const char* name;
    TComboBoxStyle style;
    const char* write;
    int index;
    const char* read;
};
class ComboText : public ::testing::TestWithParam<TextCase> {};
TEST_P(ComboText, SelectsTheEqualItem)
{
    const TextCase& c = GetParam();
    TEsgComboBox box;
    box.setComboStyle(c.style);
    box.setItems(kItems);
    box.setText(QString::fromUtf8(c.write));
    EXPECT_EQ(box.itemIndex(), c.index);
    EXPECT_EQ(box.text(), QString::fromUtf8(c.read));
}
const TextCase kTexts[] = {
    {"listItem", csDropDownList, "On", 1, "On"},
    {"listOther", csDropDownList, "Maybe", -1, ""},
    {"listCaseMatters", csDropDownList, "on", -1, ""},
    {"editItem", csDropDown, "Auto", 2, "Auto"},
    {"editOther", csDropDown, "Maybe", -1, "Maybe"},
    {"editCaseMatters", csDropDown, "auto", -1, "auto"},
};
INSTANTIATE_TEST_SUITE_P(Styles, ComboText, ::testing::ValuesIn(kTexts), CaseName());

TEST(ComboItems, IndexOutsideClearsAndItemsReplaceTheList)
{
    TEsgComboBox box;
    box.setComboStyle(csDropDownList);
    box.setItems(kItems);
    EXPECT_EQ(box.itemIndex(), -1);
    box.setItemIndex(2);
    EXPECT_EQ(box.text(), QStringLiteral("Auto"));
    box.setItemIndex(3);
    EXPECT_EQ(box.itemIndex(), -1);
    box.setItemIndex(1);
    box.setItems({QStringLiteral("A"), QStringLiteral("B")});
    EXPECT_EQ(box.items(), (QStringList{QStringLiteral("A"), QStringLiteral("B")}));
    EXPECT_EQ(box.itemIndex(), -1);

    TEsgComboBox edit;
    edit.setItems(kItems);
    edit.setText(QStringLiteral("typed"));
    edit.setItems({QStringLiteral("A")});
    EXPECT_EQ(edit.text(), QStringLiteral("typed"));
}

TEST(ComboItems, SelectItemLeavesTheSelectionWhenAbsent)
{
    TEsgComboBox box;
    box.setComboStyle(csDropDownList);
    box.setItems(kItems);
    box.SelectItem(QStringLiteral("On"));
    EXPECT_EQ(box.itemIndex(), 1);
    box.SelectItem(QStringLiteral("Nope"));
    EXPECT_EQ(box.itemIndex(), 1);
}

TEST(ComboStyleSwitch, KeepsTheText)
{
    TEsgComboBox box;
    box.setItems(kItems);
    box.setText(QStringLiteral("On"));
    box.setComboStyle(csDropDownList);
    EXPECT_FALSE(box.isEditable());
    EXPECT_EQ(box.text(), QStringLiteral("On"));
    box.setComboStyle(csDropDown);
    EXPECT_TRUE(box.isEditable());
    EXPECT_EQ(box.text(), QStringLiteral("On"));
}

TEST(ComboKeys, HooksSeeKeysAndCanConsumeOrReplaceThem)
{
    ProbeCombo box;
    box.setItems(kItems);
    box.show();
    box.activateWindow();
    box.setFocus();
    box.refuseChar = QLatin1Char('x');
    box.replaceFrom = QLatin1Char('a');
    box.replaceTo = QLatin1Char('b');
    box.log.clear();
    QTest::keyClicks(&box, QStringLiteral("zxa"));
    EXPECT_EQ(box.text(), QStringLiteral("zb"));
    EXPECT_EQ(box.log.count(QStringLiteral("change")), 2);
    EXPECT_TRUE(box.log.contains(QStringLiteral("char 120")));

    box.refuseKey = Qt::Key_Backspace;
    QTest::keyClick(&box, Qt::Key_Backspace);
    EXPECT_EQ(box.text(), QStringLiteral("zb"));
    box.refuseKey = 0;
    QTest::keyClick(&box, Qt::Key_Backspace);
    EXPECT_EQ(box.text(), QStringLiteral("z"));
}

TEST(ComboKeys, ProgrammaticChangesFireNoChange)
{
    ProbeCombo box;
    QSignalSpy spy(&box, &TEsgComboBox::changed);
    box.setItems(kItems);
    box.setText(QStringLiteral("On"));
    box.setItemIndex(2);
    EXPECT_EQ(spy.count(), 0);
}

TEST(ComboKeys, ChoosingAnItemSelectsThenChanges)
{
    ProbeCombo box;
    box.setComboStyle(csDropDownList);
    box.setItems(kItems);
    box.setItemIndex(0);
    box.show();
    box.setFocus();
    box.log.clear();
    QTest::keyClick(&box, Qt::Key_Down);
    EXPECT_EQ(box.itemIndex(), 1);
    const QStringList hooks = box.log.filter(
        QRegularExpression(QStringLiteral("^(select|change)$")));
    EXPECT_EQ(hooks, (QStringList{QStringLiteral("select"), QStringLiteral("change")}));
}

TEST(ComboDrop, DroppedDownFollowsThePopupAndHonoursTheDropWidth)
{
    TEsgComboBox box;
    box.setItems(kItems);
    box.resize(80, 24);
    box.setDropWidth(240);
    box.show();
    QSignalSpy down(&box, &TEsgComboBox::droppingDown);
    QSignalSpy up(&box, &TEsgComboBox::droppedUp);
    box.setDroppedDown(true);
    EXPECT_TRUE(box.droppedDown());
    EXPECT_EQ(down.count(), 1);
    EXPECT_GE(box.view()->width(), 240);
    box.setDroppedDown(false);
    EXPECT_FALSE(box.droppedDown());
    EXPECT_EQ(up.count(), 1);
    box.setDroppedDown(false);
    EXPECT_EQ(up.count(), 1);
}

TEST(ComboFocus, EnterAndExitOncePerVisit)
{
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* box = new ProbeCombo;
    auto* other = new QLineEdit;
    layout->addWidget(box);
    layout->addWidget(other);
    window.show();
    window.activateWindow();
    box->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    other->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    EXPECT_EQ(box->log.filter(QRegularExpression(QStringLiteral("^(enter|exit)$"))),
              (QStringList{QStringLiteral("enter"), QStringLiteral("exit")}));
}

// ---- the theme stand-in ---------------------------------------------------------------------

TEST(ThemeStandIn, AnswersFromTheDesktop)
{
    EXPECT_TRUE(IsVistaOrLater());
    EXPECT_TRUE(IsComCtl32V6());
    EXPECT_EQ(GetOfficeVersion(), 0);
    EXPECT_EQ(GetCurrentOfficeStyle(), ot2003Classic);
    EXPECT_FALSE(GetDefaultUIFontName().isEmpty());
    EXPECT_TRUE(isThemeChangeEvent(QEvent::PaletteChange));
    EXPECT_TRUE(isThemeChangeEvent(QEvent::ThemeChange));
    EXPECT_FALSE(isThemeChangeEvent(QEvent::Resize));
}

TEST(ThemeStandIn, ThemedPartsPaintInsideTheirRectangle)
{
    QImage img(80, 20, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPalette palette = QApplication::palette();
    {
        QPainter p(&img);
        ThemePainter theme(QApplication::style(), palette);
        theme.drawCheckBox(p, QRect(2, 2, 15, 15), 1, ThemePartState::Normal);
        theme.drawRadioButton(p, QRect(22, 2, 15, 15), true, ThemePartState::Normal);
        theme.drawDropDownButton(p, QRect(42, 2, 17, 15), ThemePartState::Pressed);
        theme.drawPushButton(p, QRect(62, 2, 16, 15), ThemePartState::Disabled);
    }
    const auto inkIn = [&](int x0, int x1) {
        int n = 0;
        for (int y = 0; y < 20; ++y)
            for (int x = x0; x < x1; ++x)
                if ((img.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF)
                    ++n;
        return n;
    };
    EXPECT_GT(inkIn(2, 17), 20);
    EXPECT_GT(inkIn(22, 37), 20);
    EXPECT_GT(inkIn(42, 59), 20);
    EXPECT_GT(inkIn(62, 78), 20);
    EXPECT_EQ(inkIn(0, 1), 0);
    EXPECT_EQ(inkIn(18, 21), 0);
    // The drop-down button carries its arrow.
    int dark = 0;
    for (int y = 5; y < 15; ++y)
        for (int x = 45; x < 57; ++x)
            if (qGray(img.pixel(x, y)) < 128)
                ++dark;
    EXPECT_GT(dark, 3);
}

TEST(ComboRender, ButtonStripHasTheChosenWidth)
{
    TEsgComboBox box;
    box.setItems(kItems);
    box.setText(QStringLiteral("Auto"));
    box.resize(150, 24);
    box.setButtonWidth(32);
    const QImage wide = box.grab().toImage();
    box.setButtonWidth(14);
    const QImage narrow = box.grab().toImage();
    // Where the wide button's face starts, the narrow box still shows the edit field's base.
    const int y = 12;
    const QColor base = box.palette().color(QPalette::Base);
    EXPECT_EQ(QColor(narrow.pixel(150 - 26, y)).rgb(), base.rgb());
    EXPECT_NE(QColor(wide.pixel(150 - 26, y)).rgb(), base.rgb());
}

}  // namespace
}  // namespace zfw
