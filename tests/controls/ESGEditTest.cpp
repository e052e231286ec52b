// The edit with a button and the value-with-unit edit, set up as the grid sets up its two
// editors (caption "...", no border) and driven as a user would: button clicks, F4, typing
// with the editor disabled, clipboard, entering, the unit menu, and the pictures.

#include "controls/ESGEdit.h"

#include "support/CaseName.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QInputMethodEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace zfw {
namespace {

using test::CaseName;

void mouse(QWidget* w, QEvent::Type type, Qt::MouseButton button, QPoint pos)
{
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : button;
    QMouseEvent e(type, QPointF(pos), w->mapToGlobal(QPointF(pos)), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

void enter(QWidget* w)
{
    QEnterEvent e(QPointF(5, 5), QPointF(5, 5), w->mapToGlobal(QPointF(5, 5)));
    QApplication::sendEvent(w, &e);
}

void leave(QWidget* w)
{
    QEvent e(QEvent::Leave);
    QApplication::sendEvent(w, &e);
}

// Where pictures of the edits go for a look.
QString picturePath(const char* name)
{
    return QDir::tempPath() + QStringLiteral("/zfw-esgedit-") + QString::fromLatin1(name)
           + QStringLiteral(".png");
}

// Dark pixels (text) in the columns x0..x1 (exclusive) of the image.
int darkPixels(const QImage& img, int x0, int x1)
{
    int n = 0;
    for (int x = std::max(0, x0); x < std::min(img.width(), x1); ++x)
        for (int y = 0; y < img.height(); ++y)
            if (qGray(img.pixel(x, y)) < 100)
                ++n;
    return n;
}

// A window with a plain edit before the two editors, made as the grid makes them: button
// caption "...", no border, the first with the themed look; then placed and shown as an edit
// start does.
class EsgEditWidget : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = std::make_unique<QWidget>();
        window->resize(320, 100);
        before = new QLineEdit(window.get());
        before->setGeometry(10, 60, 80, 22);
        edit = new TEsgEditBtn(window.get());
        unit = new TEsgUnitEditBtn(window.get());
        for (TEsgEditBtn* e : {static_cast<TEsgEditBtn*>(edit), static_cast<TEsgEditBtn*>(unit)}) {
            e->setEnabled(false);
            e->hide();
            e->setButtonCaption(QStringLiteral("..."));
            e->setBorder(false);
        }
        edit->setIsWinXP(true);
        edit->setGeometry(10, 10, 120, 22);
        unit->setGeometry(150, 10, 120, 22);
        for (QWidget* e : {static_cast<QWidget*>(edit), static_cast<QWidget*>(unit)}) {
            e->setEnabled(true);
            e->show();
        }
        window->show();
        QApplication::setActiveWindow(window.get());
        QCoreApplication::processEvents();
        clicks = std::make_unique<QSignalSpy>(edit, &TEsgEditBtn::clickBtn);
        unitClicks = std::make_unique<QSignalSpy>(unit, &TEsgEditBtn::clickBtn);
        unitChanges = std::make_unique<QSignalSpy>(unit, &TEsgUnitEditBtn::unitChanged);
    }

    void TearDown() override
    {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (qobject_cast<QMenu*>(w))
                w->close();
    }

    void focus(QWidget* w, Qt::FocusReason reason = Qt::OtherFocusReason)
    {
        w->setFocus(reason);
        QCoreApplication::processEvents();
        ASSERT_TRUE(w->hasFocus());
    }

    QObject* clickSender(const QSignalSpy& spy, int i = 0) const
    {
        return spy.at(i).at(0).value<QObject*>();
    }

    std::unique_ptr<QWidget> window;
    QLineEdit* before = nullptr;
    TEsgEditBtn* edit = nullptr;
    TEsgUnitEditBtn* unit = nullptr;
    std::unique_ptr<QSignalSpy> clicks;
    std::unique_ptr<QSignalSpy> unitClicks;
    std::unique_ptr<QSignalSpy> unitChanges;
};

// ----- construction and layout -------------------------------------------------------------

TEST(EsgEditBtn, StartsAsTheGridExpects)
{
    TEsgEditBtn e;
    EXPECT_EQ(e.text(), QStringLiteral("0"));
    EXPECT_EQ(e.Button()->size(), QSize(18, 18));
    EXPECT_EQ(e.Button()->focusControl(), &e);
    EXPECT_TRUE(e.autoSelect());
    EXPECT_TRUE(e.editorEnabled());
    EXPECT_FALSE(e.rightAlign());
    EXPECT_FALSE(e.isWinXP());
    EXPECT_EQ(e.buttonWidth(), 0);
    EXPECT_TRUE(e.focusPolicy() & Qt::TabFocus);
    EXPECT_FALSE(e.Button()->focusPolicy() & Qt::TabFocus);
    EXPECT_EQ(e.Button()->ButtonColor, clNone);
    EXPECT_EQ(e.Button()->numGlyphs(), 1);

    TEsgUnitEditBtn u;
    EXPECT_EQ(u.unitSpace(), 20);
    EXPECT_TRUE(u.rightAlign());
    EXPECT_TRUE(u.alignment() & Qt::AlignRight);
    EXPECT_TRUE(u.unitID().isEmpty());
    EXPECT_TRUE(u.units().isEmpty());
    EXPECT_EQ(u.GetTextAndUnit(), QStringLiteral("0"));
}

TEST(EsgEditBtn, HostStartsTwentyByTwentyFiveAndItsButtonFillsIt)
{
    TEsgEditButton host;
    EXPECT_EQ(host.size(), QSize(20, 25));
    EXPECT_EQ(host.Button()->geometry(), QRect(0, 0, 20, 25));
    host.show();
    host.resize(30, 12);
    EXPECT_EQ(host.Button()->geometry(), QRect(0, 0, 30, 12));
}

TEST_F(EsgEditWidget, ButtonSitsInsideTheRightEdgeWithoutBorder)
{
    EXPECT_EQ(edit->Button()->geometry(), QRect(120 - 18 - 1, 0, 18, 21));
    edit->resize(200, 30);
    EXPECT_EQ(edit->Button()->geometry(), QRect(200 - 18 - 1, 0, 18, 29));
}

TEST_F(EsgEditWidget, ButtonWidthTakesEffectAtOnce)
{
    edit->setButtonWidth(30);
    EXPECT_EQ(edit->buttonWidth(), 30);
    EXPECT_EQ(edit->Button()->geometry(), QRect(120 - 30 - 1, 0, 30, 21));
    EXPECT_GE(edit->width() - edit->textMargins().right(), 0);
    EXPECT_GT(edit->textMargins().right(), 30);
}

TEST_F(EsgEditWidget, WithBorderTheButtonStaysInsideTheFrame)
{
    edit->setBorder(true);
    unit->setBorder(true);
    unit->setUnits({QStringLiteral("s")});
    unit->SetTextAndUnit(QStringLiteral("15s"));
    edit->grab().save(picturePath("border"));
    unit->grab().save(picturePath("unit-border"));
    const QRect host = edit->Button()->geometry();
    EXPECT_GT(host.x(), 0);
    EXPECT_GT(host.y(), 0);
    EXPECT_LT(host.right(), edit->width() - 1);
    EXPECT_LT(host.bottom(), edit->height() - 1);
}

TEST_F(EsgEditWidget, TooLowAHeightIsRaised)
{
    const int minimum = edit->GetMinHeight();
    ASSERT_GT(minimum, 6);
    edit->resize(120, 6);
    EXPECT_EQ(edit->height(), minimum);
    EXPECT_EQ(edit->Button()->height(), minimum - 1);
}

// ----- the button --------------------------------------------------------------------------

TEST_F(EsgEditWidget, ClickFiresWithTheHostAsSenderAndFocusesTheEditSelectingAll)
{
    edit->setText(QStringLiteral("abc"));
    focus(before);
    TExtSpeedButton* b = edit->Button()->Button();
    mouse(b, QEvent::MouseButtonPress, Qt::LeftButton, QPoint(5, 5));
    EXPECT_TRUE(b->faceParams().pressed);
    EXPECT_EQ(clicks->count(), 0);
    mouse(b, QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(5, 5));
    ASSERT_EQ(clicks->count(), 1);
    EXPECT_EQ(clickSender(*clicks), edit->Button());
    EXPECT_TRUE(edit->hasFocus());
    EXPECT_EQ(edit->selectedText(), QStringLiteral("abc"));
}

TEST_F(EsgEditWidget, ReleaseAfterPressCountsWhereverThePointerWent)
{
    TExtSpeedButton* b = edit->Button()->Button();
    mouse(b, QEvent::MouseButtonPress, Qt::LeftButton, QPoint(5, 5));
    mouse(b, QEvent::MouseMove, Qt::LeftButton, QPoint(-60, 70));
    EXPECT_FALSE(b->faceParams().pressed) << "drawn up while the pointer is away";
    mouse(b, QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(-60, 70));
    EXPECT_EQ(clicks->count(), 1);
}

TEST_F(EsgEditWidget, OtherButtonsAndBareReleasesDoNotClick)
{
    TExtSpeedButton* b = edit->Button()->Button();
    mouse(b, QEvent::MouseButtonPress, Qt::RightButton, QPoint(5, 5));
    mouse(b, QEvent::MouseButtonRelease, Qt::RightButton, QPoint(5, 5));
    mouse(b, QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(5, 5));
    EXPECT_EQ(clicks->count(), 0);
}

TEST_F(EsgEditWidget, HotFollowsThePointer)
{
    TExtSpeedButton* b = edit->Button()->Button();
    enter(b);
    EXPECT_TRUE(b->faceParams().hot);
    leave(b);
    EXPECT_FALSE(b->faceParams().hot);
}

TEST_F(EsgEditWidget, AHandlerDeletingTheEditOnClickIsSafe)
{
    QObject::connect(
        edit, &TEsgEditBtn::clickBtn, edit, [this] { delete edit; }, Qt::DirectConnection);
    QPointer<TEsgEditBtn> guard(edit);
    TExtSpeedButton* b = edit->Button()->Button();
    mouse(b, QEvent::MouseButtonPress, Qt::LeftButton, QPoint(5, 5));
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(5, 5), b->mapToGlobal(QPointF(5, 5)),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    // The release is delivered while the button is being torn down with its edit.
    QApplication::sendEvent(b, &release);
    EXPECT_TRUE(guard.isNull());
    edit = nullptr;
}

TEST_F(EsgEditWidget, AHandlerDeletingTheEditOnF4IsSafe)
{
    QObject::connect(
        edit, &TEsgEditBtn::clickBtn, edit, [this] { delete edit; }, Qt::DirectConnection);
    QPointer<TEsgEditBtn> guard(edit);
    focus(edit);
    QTest::keyPress(edit, Qt::Key_F4);
    EXPECT_TRUE(guard.isNull());
    edit = nullptr;
}

// ----- F4 ----------------------------------------------------------------------------------

struct F4Case {
    const char* name;
    Qt::KeyboardModifiers mods;
    bool presses;
};

const F4Case kF4Cases[] = {
    {"plain", Qt::NoModifier, true},
    {"shift", Qt::ShiftModifier, true},
    {"ctrl", Qt::ControlModifier, false},
    {"alt", Qt::AltModifier, false},
    {"ctrl_shift", Qt::ControlModifier | Qt::ShiftModifier, false},
    {"ctrl_alt", Qt::ControlModifier | Qt::AltModifier, false},
};

class EsgEditF4 : public EsgEditWidget, public ::testing::WithParamInterface<F4Case> {};

TEST_P(EsgEditF4, PressesTheButtonWithTheEditAsSender)
{
    focus(edit);
    QTest::keyClick(edit, Qt::Key_F4, GetParam().mods);
    ASSERT_EQ(clicks->count(), GetParam().presses ? 1 : 0);
    if (GetParam().presses) {
        EXPECT_EQ(clickSender(*clicks), edit);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, EsgEditF4, ::testing::ValuesIn(kF4Cases), CaseName());

// ----- typing with the editor enabled and disabled -----------------------------------------

struct TypingCase {
    const char* name;
    std::function<void(QLineEdit*)> act;
    const char* whenEnabled;
    const char* whenDisabled;
};

void typeKey(QLineEdit* e, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QTest::keyClick(e, key, mods);
}

const TypingCase kTypingCases[] = {
    {"letter", [](QLineEdit* e) { QTest::keyClicks(e, QStringLiteral("x")); }, "12x", "12"},
    {"backspace", [](QLineEdit* e) { typeKey(e, Qt::Key_Backspace); }, "1", "12"},
    // Delete is no character: it removes text either way.
    {"delete",
     [](QLineEdit* e) {
         e->setCursorPosition(0);
         typeKey(e, Qt::Key_Delete);
     },
     "2", "2"},
    {"ctrl_v", [](QLineEdit* e) { typeKey(e, Qt::Key_V, Qt::ControlModifier); }, "12clip", "12"},
    {"shift_insert", [](QLineEdit* e) { typeKey(e, Qt::Key_Insert, Qt::ShiftModifier); }, "12clip",
     "12"},
    {"ctrl_x",
     [](QLineEdit* e) {
         e->selectAll();
         typeKey(e, Qt::Key_X, Qt::ControlModifier);
     },
     "", "12"},
    {"input_method_commit",
     [](QLineEdit* e) {
         QInputMethodEvent ev;
         ev.setCommitString(QStringLiteral("x"));
         QApplication::sendEvent(e, &ev);
     },
     "12x", "12"},
    {"cursor_keys_still_move",
     [](QLineEdit* e) {
         typeKey(e, Qt::Key_Home);
         typeKey(e, Qt::Key_Delete);
     },
     "2", "2"},
};

class EsgEditTyping : public EsgEditWidget, public ::testing::WithParamInterface<TypingCase> {
protected:
    QString run(bool editorEnabled)
    {
        QApplication::clipboard()->setText(QStringLiteral("clip"));
        edit->setEditorEnabled(editorEnabled);
        edit->setText(QStringLiteral("12"));
        focus(edit);
        edit->deselect();
        edit->end(false);
        GetParam().act(edit);
        return edit->text();
    }
};

TEST_P(EsgEditTyping, ReachesTheTextOnlyWhenTheEditorIsEnabled)
{
    EXPECT_EQ(run(true), QString::fromLatin1(GetParam().whenEnabled));
    EXPECT_EQ(run(false), QString::fromLatin1(GetParam().whenDisabled));
}

INSTANTIATE_TEST_SUITE_P(Cases, EsgEditTyping, ::testing::ValuesIn(kTypingCases), CaseName());

TEST_F(EsgEditWidget, ReadOnlyRefusesPasteFromEveryPath)
{
    QApplication::clipboard()->setText(QStringLiteral("clip"));
    edit->setText(QStringLiteral("12"));
    edit->setReadOnly(true);
    focus(edit);
    QTest::keyClick(edit, Qt::Key_Insert, Qt::ShiftModifier);
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit->text(), QStringLiteral("12"));
}

// The context menu's Paste and Cut go through the same check as the keys.
TEST_F(EsgEditWidget, ContextMenuPasteAndCutObeyTheEditorSwitch)
{
    QApplication::clipboard()->setText(QStringLiteral("clip"));
    edit->setText(QStringLiteral("12"));
    edit->setEditorEnabled(false);
    focus(edit);
    edit->selectAll();
    QContextMenuEvent ev(QContextMenuEvent::Mouse, QPoint(5, 5), edit->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(edit, &ev);
    QMenu* menu = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* m = qobject_cast<QMenu*>(w); m && m->isVisible())
            menu = m;
    ASSERT_NE(menu, nullptr);
    QAction* paste = TEsgEditBtn::standardMenuAction(menu, TEsgEditBtn::StandardAction::Paste);
    QAction* cut = TEsgEditBtn::standardMenuAction(menu, TEsgEditBtn::StandardAction::Cut);
    ASSERT_NE(paste, nullptr);
    ASSERT_NE(cut, nullptr);
    EXPECT_FALSE(paste->isEnabled());
    EXPECT_FALSE(cut->isEnabled());
    // Even fired behind the menu's back the operations refuse.
    paste->setEnabled(true);
    paste->trigger();
    cut->setEnabled(true);
    cut->trigger();
    EXPECT_EQ(edit->text(), QStringLiteral("12"));
    menu->close();

    edit->setEditorEnabled(true);
    edit->end(false);
    QApplication::sendEvent(edit, &ev);
    menu = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* m = qobject_cast<QMenu*>(w); m && m->isVisible())
            menu = m;
    ASSERT_NE(menu, nullptr);
    paste = TEsgEditBtn::standardMenuAction(menu, TEsgEditBtn::StandardAction::Paste);
    ASSERT_NE(paste, nullptr);
    EXPECT_TRUE(paste->isEnabled());
    paste->trigger();
    EXPECT_EQ(edit->text(), QStringLiteral("12clip"));
}

// ----- entering ----------------------------------------------------------------------------

struct EnterCase {
    const char* name;
    bool autoSelect;
    Qt::FocusReason reason;
    bool selectsAll;
};

const EnterCase kEnterCases[] = {
    {"tab_selects", true, Qt::TabFocusReason, true},
    {"program_focus_selects", true, Qt::OtherFocusReason, true},
    {"mouse_does_not_select", true, Qt::MouseFocusReason, false},
    {"auto_select_off_tab", false, Qt::TabFocusReason, false},
    {"auto_select_off_program", false, Qt::OtherFocusReason, false},
};

class EsgEditEnter : public EsgEditWidget, public ::testing::WithParamInterface<EnterCase> {};

TEST_P(EsgEditEnter, SelectsTheWholeTextUnlessTheMouseBroughtTheFocus)
{
    edit->setText(QStringLiteral("hello"));
    edit->setAutoSelect(GetParam().autoSelect);
    edit->setCursorPosition(2);
    focus(before);
    focus(edit, GetParam().reason);
    EXPECT_EQ(edit->hasSelectedText(), GetParam().selectsAll);
    if (GetParam().selectsAll) {
        EXPECT_EQ(edit->selectedText(), QStringLiteral("hello"));
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, EsgEditEnter, ::testing::ValuesIn(kEnterCases), CaseName());

// ----- the hooks a derived editor uses -----------------------------------------------------

// An editor that claims Tab, takes Up itself, refuses digits and types letters upper-case.
class HookedEdit : public TEsgEditBtn {
public:
    using TEsgEditBtn::TEsgEditBtn;
    QList<int> downs;
    QList<int> ups;

protected:
    void KeyDown(int& key, Qt::KeyboardModifiers shift) override
    {
        downs << key;
        if (key == Qt::Key_Up)
            key = 0;
        TEsgEditBtn::KeyDown(key, shift);
    }
    void KeyUp(int& key, Qt::KeyboardModifiers shift) override
    {
        ups << key;
        TEsgEditBtn::KeyUp(key, shift);
    }
    bool CharMessage(QChar ch) override { return !ch.isDigit() && TEsgEditBtn::CharMessage(ch); }
    void KeyPress(QChar& ch) override { ch = ch.toUpper(); }
    bool WantSpecialKey(int key, Qt::KeyboardModifiers) override { return key == Qt::Key_Tab; }
};

TEST_F(EsgEditWidget, DerivedEditorHooksSeeKeysInOrder)
{
    auto* hooked = new HookedEdit(window.get());
    hooked->setGeometry(10, 40, 120, 22);
    hooked->show();
    hooked->setText(QString());
    focus(hooked);
    QTest::keyClicks(hooked, QStringLiteral("a1b"));
    EXPECT_EQ(hooked->text(), QStringLiteral("AB"));
    QTest::keyClick(hooked, Qt::Key_Tab);
    EXPECT_TRUE(hooked->hasFocus()) << "a claimed Tab does not move the focus";
    EXPECT_TRUE(hooked->downs.contains(Qt::Key_Tab));
    EXPECT_TRUE(hooked->ups.contains(Qt::Key_B));
    QTest::keyClick(hooked, Qt::Key_F4);
    EXPECT_EQ(hooked->downs.last(), Qt::Key_F4);
}

// ----- units -------------------------------------------------------------------------------

struct SplitCase {
    const char* name;
    QStringList units;
    const char* text;
    bool found;
    const char* value;
    const char* unit;
};

const SplitCase kSplitCases[] = {
    {"longer_listed_first", {"mm", "m"}, "5mm", true, "5", "mm"},
    {"shorter_listed_first", {"m", "mm"}, "5mm", true, "5", "mm"},
    // The tail of a longer unit listed earlier no longer wins: 5 km, not "5k" m.
    {"tail_unit_listed_first", {"m", "km"}, "5km", true, "5", "km"},
    {"no_unit", {"m", "km"}, "5", false, "", ""},
    {"unit_only_inside", {"m"}, "m5", false, "", ""},
    {"case_matters", {"m"}, "5M", false, "", ""},
    {"whole_text_is_unit", {"m"}, "m", true, "", "m"},
    {"empty_unit_never_matches", {"", "s"}, "5", false, "", ""},
    {"empty_unit_skipped", {"", "s"}, "5s", true, "5", "s"},
    {"repeated_unit", {"m"}, "5m3m", true, "5m3", "m"},
    {"first_of_equal_length", {"Pa", "Pa"}, "1Pa", true, "1", "Pa"},
};

class UnitSplitTable : public ::testing::TestWithParam<SplitCase> {};

TEST_P(UnitSplitTable, LongestUnitTheTextEndsWith)
{
    const SplitCase& c = GetParam();
    const UnitSplit s = splitTextAndUnit(QString::fromLatin1(c.text), c.units);
    EXPECT_EQ(s.found, c.found);
    if (c.found) {
        EXPECT_EQ(s.value, QString::fromLatin1(c.value));
        EXPECT_EQ(s.unit, QString::fromLatin1(c.unit));
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, UnitSplitTable, ::testing::ValuesIn(kSplitCases), CaseName());

TEST_F(EsgEditWidget, TextAndUnitRoundTrips)
{
    unit->setUnits({QStringLiteral("m"), QStringLiteral("km")});
    unit->SetTextAndUnit(QStringLiteral("12.5km"));
    EXPECT_EQ(unit->text(), QStringLiteral("12.5"));
    EXPECT_EQ(unit->unitID(), QStringLiteral("km"));
    EXPECT_EQ(unit->GetTextAndUnit(), QStringLiteral("12.5km"));
    EXPECT_EQ(unitChanges->count(), 0) << "setting the unit fires nothing";
}

// The grid clears text and unit before it hands a cell's text over; a text without a known
// unit must arrive whole, or the previous cell's value would stay in the editor.
TEST_F(EsgEditWidget, TextWithoutKnownUnitBecomesTheValue)
{
    unit->setUnits({QStringLiteral("m")});
    unit->SetTextAndUnit(QStringLiteral("7m"));
    unit->SetUnitID(QString());
    unit->setText(QString());
    unit->SetTextAndUnit(QStringLiteral("5"));
    EXPECT_EQ(unit->text(), QStringLiteral("5"));
    EXPECT_EQ(unit->GetTextAndUnit(), QStringLiteral("5"));

    unit->SetUnitID(QStringLiteral("m"));
    unit->SetTextAndUnit(QStringLiteral("9"));
    EXPECT_EQ(unit->text(), QStringLiteral("9"));
    EXPECT_EQ(unit->unitID(), QStringLiteral("m")) << "the unit is kept";
}

QMenu* openUnitMenuByClick(TEsgUnitEditBtn* unit)
{
    TExtSpeedButton* b = unit->Button()->Button();
    mouse(b, QEvent::MouseButtonPress, Qt::LeftButton, QPoint(5, 5));
    mouse(b, QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(5, 5));
    return unit->unitMenu();
}

TEST_F(EsgEditWidget, ButtonPopsUpTheUnitsAndAChoiceChangesTheUnit)
{
    unit->setUnits({QStringLiteral("m"), QStringLiteral("km"), QStringLiteral("mm")});
    unit->SetTextAndUnit(QStringLiteral("3m"));
    QMenu* menu = openUnitMenuByClick(unit);
    ASSERT_EQ(unitClicks->count(), 1);
    EXPECT_EQ(clickSender(*unitClicks), unit) << "the unit edit always passes itself";
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(menu->isVisible());
    const QList<QAction*> actions = menu->actions();
    ASSERT_EQ(actions.size(), 3);
    EXPECT_EQ(actions.at(1)->text(), QStringLiteral("km"));
    // Below the button's left part, at the edit's bottom.
    EXPECT_EQ(menu->pos(), unit->mapToGlobal(QPoint(unit->width() - 15, unit->height())));

    actions.at(1)->trigger();
    EXPECT_EQ(unit->unitID(), QStringLiteral("km"));
    ASSERT_EQ(unitChanges->count(), 1);
    EXPECT_EQ(unitChanges->at(0).at(0).value<QObject*>(), unit);
    EXPECT_EQ(unitChanges->at(0).at(1).toString(), QStringLiteral("km"));
    EXPECT_EQ(unit->GetTextAndUnit(), QStringLiteral("3km"));
    menu->close();

    // Choosing the current unit again fires nothing.
    menu = openUnitMenuByClick(unit);
    ASSERT_NE(menu, nullptr);
    menu->actions().at(1)->trigger();
    EXPECT_EQ(unitChanges->count(), 1);
}

TEST_F(EsgEditWidget, F4OnTheUnitEditPopsUpTheMenuToo)
{
    unit->setUnits({QStringLiteral("s")});
    focus(unit);
    QTest::keyClick(unit, Qt::Key_F4);
    ASSERT_EQ(unitClicks->count(), 1);
    EXPECT_EQ(clickSender(*unitClicks), unit);
    ASSERT_NE(unit->unitMenu(), nullptr);
    EXPECT_TRUE(unit->unitMenu()->isVisible());
}

TEST_F(EsgEditWidget, CommandsOutsideTheUnitsAreIgnored)
{
    unit->setUnits({QStringLiteral("V"), QStringLiteral("mV")});
    unit->SetUnitID(QStringLiteral("V"));
    for (int n : {0, -1, 3, 100})
        unit->UnitCommand(n);
    EXPECT_EQ(unit->unitID(), QStringLiteral("V"));
    EXPECT_EQ(unitChanges->count(), 0);
    unit->UnitCommand(2);
    EXPECT_EQ(unit->unitID(), QStringLiteral("mV"));
    EXPECT_EQ(unitChanges->count(), 1);
}

TEST_F(EsgEditWidget, NoUnitsNoMenu)
{
    openUnitMenuByClick(unit);
    EXPECT_EQ(unitClicks->count(), 1);
    EXPECT_EQ(unit->unitMenu(), nullptr);
}

// ----- pictures ----------------------------------------------------------------------------

TEST_F(EsgEditWidget, UnitIsPaintedBetweenTextAndButton)
{
    unit->setUnits({QStringLiteral("mm")});
    unit->SetTextAndUnit(QStringLiteral("1234mm"));
    const QImage img = unit->grab().toImage();
    img.save(picturePath("unit"));
    const int buttonLeft = unit->Button()->x();
    const int unitLeft = buttonLeft - 3 - unit->unitSpace();
    EXPECT_GT(darkPixels(img, unitLeft, buttonLeft - 3), 10) << "the unit";
    EXPECT_GT(darkPixels(img, 0, unitLeft), 10) << "the number";
    // The right-aligned number ends before the unit's place.
    EXPECT_EQ(darkPixels(img, unitLeft - 3, unitLeft), 0);

    unit->SetUnitID(QString());
    const QImage bare = unit->grab().toImage();
    EXPECT_EQ(darkPixels(bare, unitLeft, buttonLeft - 3), 0);
}

TEST_F(EsgEditWidget, ButtonLooksAsSet)
{
    edit->setText(QStringLiteral("text"));
    TEsgEditButton* host = edit->Button();
    const QPoint inHost = host->pos();

    QImage themed = edit->grab().toImage();
    themed.save(picturePath("themed"));
    EXPECT_GT(darkPixels(themed, inHost.x(), inHost.x() + host->width()), 0) << "the caption";

    edit->setIsWinXP(false);
    QImage classic = edit->grab().toImage();
    classic.save(picturePath("classic"));
    // The classic frame: light top-left, dark bottom-right.
    EXPECT_GT(qGray(classic.pixel(inHost.x(), inHost.y())), 200);
    const int face = qGray(classic.pixel(inHost.x() + host->width() / 2, inHost.y() + 3));
    EXPECT_LT(qGray(classic.pixel(inHost.x() + host->width() - 1, inHost.y() + host->height() - 1)),
              face - 50);

    host->ButtonColor = clRed;
    host->ButtonColorDown = clLime;
    QImage custom = edit->grab().toImage();
    custom.save(picturePath("custom"));
    EXPECT_EQ(custom.pixelColor(inHost + QPoint(2, 2)), QColor(Qt::red));
    TExtSpeedButton* b = host->Button();
    mouse(b, QEvent::MouseButtonPress, Qt::LeftButton, QPoint(5, 5));
    QImage down = edit->grab().toImage();
    down.save(picturePath("custom-down"));
    EXPECT_EQ(down.pixelColor(inHost + QPoint(2, 2)), QColor(Qt::green));
    mouse(b, QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(5, 5));

    host->ButtonColor = clNone;
    host->setFlat(true);
    QImage flat = edit->grab().toImage();
    flat.save(picturePath("flat"));
    EXPECT_GT(qGray(flat.pixel(inHost.x(), inHost.y())), 200);
}

TEST_F(EsgEditWidget, GlyphDrawnCentredInTheButton)
{
    QImage glyph(12, 6, QImage::Format_ARGB32);
    glyph.fill(Qt::transparent);
    for (int x = 0; x < 6; ++x)
        for (int y = 0; y < 6; ++y)
            glyph.setPixelColor(x, y, Qt::blue);  // first of two frames blue
    for (int x = 6; x < 12; ++x)
        for (int y = 0; y < 6; ++y)
            glyph.setPixelColor(x, y, Qt::red);
    edit->setButtonCaption(QString());
    edit->setGlyph(glyph);
    edit->Button()->setNumGlyphs(2);
    const QImage img = edit->Button()->grab().toImage();
    img.save(picturePath("glyph"));
    const QPoint centre(edit->Button()->width() / 2, edit->Button()->height() / 2);
    EXPECT_EQ(img.pixelColor(centre), QColor(Qt::blue));
    int red = 0;
    for (int x = 0; x < img.width(); ++x)
        for (int y = 0; y < img.height(); ++y)
            red += img.pixelColor(x, y) == QColor(Qt::red);
    EXPECT_EQ(red, 0) << "only the first frame is drawn";
}

}  // namespace
}  // namespace zfw
