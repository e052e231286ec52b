// TLbButton as a user drives it: mouse, hover and fade, keyboard, accelerator, default and
// cancel button, modal result, and the property writers.

#include "controls/LbButton.h"

#include "support/CaseName.h"

#include "platform/Dialogs.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QEnterEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QTimerEvent>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

namespace zfw {
namespace {

using test::CaseName;

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

void mouse(QWidget* w, QEvent::Type type, Qt::MouseButton button, QPoint pos = QPoint(5, 5))
{
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : button;
    QMouseEvent e(type, QPointF(pos), w->mapToGlobal(QPointF(pos)), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

// A window with an edit, a radio button, the button under test ("&Apply") and a second one.
class LbButtonWidget : public ::testing::Test {
protected:
    void SetUp() override
    {
        dialog = std::make_unique<QDialog>();
        dialog->resize(300, 120);
        edit = new QLineEdit(dialog.get());
        edit->setGeometry(10, 10, 100, 23);
        radio = new QRadioButton(QStringLiteral("Radio"), dialog.get());
        radio->setGeometry(10, 40, 100, 23);
        button = new TLbButton(QStringLiteral("&Apply"), dialog.get());
        button->move(150, 10);
        other = new TLbButton(QStringLiteral("Other"), dialog.get());
        other->move(150, 40);
        dialog->show();
        QApplication::setActiveWindow(dialog.get());
        QCoreApplication::processEvents();
        clicks = std::make_unique<QSignalSpy>(button, &QAbstractButton::clicked);
        otherClicks = std::make_unique<QSignalSpy>(other, &QAbstractButton::clicked);
    }

    void focus(QWidget* w)
    {
        w->setFocus(Qt::OtherFocusReason);
        QCoreApplication::processEvents();
        ASSERT_TRUE(w->hasFocus());
    }

    std::unique_ptr<QDialog> dialog;
    QLineEdit* edit = nullptr;
    QRadioButton* radio = nullptr;
    TLbButton* button = nullptr;
    TLbButton* other = nullptr;
    std::unique_ptr<QSignalSpy> clicks;
    std::unique_ptr<QSignalSpy> otherClicks;
};

// ----- construction ------------------------------------------------------------------------

TEST(LbButton, StartsAsTheWindowsExpect)
{
    TLbButton b;
    EXPECT_EQ(b.size(), QSize(100, 23));
    EXPECT_EQ(b.focusPolicy(), Qt::StrongFocus);
    EXPECT_EQ(b.color(), clBtnFace);
    EXPECT_EQ(b.alignment(), taCenter);
    EXPECT_EQ(b.buttonStyle(), bsNormal);
    EXPECT_EQ(b.glyphLayout(), blGlyphLeft);
    EXPECT_EQ(b.kind(), bkCustom);
    EXPECT_EQ(b.colorStyle(), lcsCustom);
    EXPECT_EQ(b.lightColor(), clWhite);
    EXPECT_EQ(b.shadowColor(), clGray);
    EXPECT_EQ(b.colorWhenDown(), clNone);
    EXPECT_EQ(b.hotTrackColor(), clNone);
    EXPECT_EQ(b.modalResult(), mrNone);
    EXPECT_EQ(b.numGlyphs(), 0);
    EXPECT_FALSE(b.slowDecease());
    EXPECT_FALSE(b.isFading());
    EXPECT_EQ(b.property("ModalResult").toInt(), 0);
    EXPECT_TRUE(b.setProperty("ModalResult", 2));
    EXPECT_EQ(b.modalResult(), mrCancel);
}

// ----- mouse -------------------------------------------------------------------------------

TEST_F(LbButtonWidget, PressShowsPressedTakesFocusAndReleaseClicks)
{
    mouse(button, QEvent::MouseButtonPress, Qt::LeftButton);
    EXPECT_TRUE(button->isPressed());
    EXPECT_TRUE(button->hasFocus());
    EXPECT_TRUE(button->faceParams(100, 23).down);
    EXPECT_EQ(clicks->count(), 0);
    mouse(button, QEvent::MouseButtonRelease, Qt::LeftButton);
    EXPECT_FALSE(button->isPressed());
    EXPECT_EQ(clicks->count(), 1);
}

TEST_F(LbButtonWidget, ReleasingOutsideStillClicks)
{
    mouse(button, QEvent::MouseButtonPress, Qt::LeftButton);
    mouse(button, QEvent::MouseMove, Qt::LeftButton, QPoint(-40, 60));
    EXPECT_TRUE(button->isPressed());
    mouse(button, QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(-40, 60));
    EXPECT_EQ(clicks->count(), 1);
}

TEST_F(LbButtonWidget, QTestClickClicksOnce)
{
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(clicks->count(), 1);
}

TEST_F(LbButtonWidget, OtherMouseButtonsDoNotPressOrClick)
{
    mouse(button, QEvent::MouseButtonPress, Qt::RightButton);
    EXPECT_FALSE(button->isPressed());
    mouse(button, QEvent::MouseButtonRelease, Qt::RightButton);
    EXPECT_EQ(clicks->count(), 0);
}

TEST_F(LbButtonWidget, EachPressOfADoubleClickClicks)
{
    mouse(button, QEvent::MouseButtonPress, Qt::LeftButton);
    mouse(button, QEvent::MouseButtonRelease, Qt::LeftButton);
    mouse(button, QEvent::MouseButtonDblClick, Qt::LeftButton);
    mouse(button, QEvent::MouseButtonRelease, Qt::LeftButton);
    EXPECT_EQ(clicks->count(), 2);
}

TEST_F(LbButtonWidget, DisabledButtonIgnoresTheMouseAndDisablingReleasesIt)
{
    mouse(button, QEvent::MouseButtonPress, Qt::LeftButton);
    ASSERT_TRUE(button->isPressed());
    button->setEnabled(false);
    EXPECT_FALSE(button->isPressed());
    mouse(button, QEvent::MouseButtonRelease, Qt::LeftButton);
    mouse(button, QEvent::MouseButtonPress, Qt::LeftButton);
    mouse(button, QEvent::MouseButtonRelease, Qt::LeftButton);
    EXPECT_EQ(clicks->count(), 0);
    button->Click();
    EXPECT_EQ(clicks->count(), 0);
    EXPECT_FALSE(button->isPressed());
}

TEST_F(LbButtonWidget, HiddenButtonDoesNotClick)
{
    button->hide();
    button->Click();
    EXPECT_EQ(clicks->count(), 0);
    button->show();
    EXPECT_FALSE(button->isPressed());
}

// ----- hover and fade ----------------------------------------------------------------------

TEST_F(LbButtonWidget, HoverSetsFullHotLevelAndLeavingClearsIt)
{
    QSignalSpy entered(button, &TLbButton::mouseEnter);
    QSignalSpy exited(button, &TLbButton::mouseExit);
    enter(button);
    EXPECT_TRUE(button->isCursorOnButton());
    EXPECT_EQ(button->hotTrackStep(), kLbHotTrackSteps);
    EXPECT_TRUE(button->faceParams(100, 23).hot);
    EXPECT_EQ(entered.count(), 1);
    leave(button);
    EXPECT_FALSE(button->isCursorOnButton());
    EXPECT_EQ(button->hotTrackStep(), 0);
    EXPECT_FALSE(button->isFading());
    EXPECT_EQ(exited.count(), 1);
}

TEST_F(LbButtonWidget, DisabledButtonDoesNotLightUp)
{
    QSignalSpy entered(button, &TLbButton::mouseEnter);
    QSignalSpy exited(button, &TLbButton::mouseExit);
    button->setEnabled(false);
    enter(button);
    EXPECT_FALSE(button->isCursorOnButton());
    EXPECT_EQ(button->hotTrackStep(), 0);
    leave(button);
    EXPECT_EQ(entered.count(), 0);
    EXPECT_EQ(exited.count(), 0);
}

TEST_F(LbButtonWidget, HotColourIsBlendedByTheHotLevel)
{
    button->setColor(0x000000);
    button->setHotTrackColor(0x808080);
    enter(button);
    const LbFaceModel hot = lbButtonFaceModel(button->faceParams(100, 23));
    EXPECT_EQ(hot.faceColor, QColor(128, 128, 128));
}

class LbButtonFade : public LbButtonWidget {
protected:
    void SetUp() override
    {
        LbButtonWidget::SetUp();
        button->setSlowDecease(true);
        timer = button->findChild<QTimer*>();
        ASSERT_NE(timer, nullptr);
    }
    // One tick of the fade timer, delivered as the event loop would.
    void tick()
    {
        QTimerEvent e(timer->timerId());
        QCoreApplication::sendEvent(timer, &e);
    }
    QTimer* timer = nullptr;
};

TEST_F(LbButtonFade, LeavingFadesInEightTicksOfThirtyMilliseconds)
{
    EXPECT_EQ(timer->interval(), kLbFadeIntervalMs);
    EXPECT_FALSE(timer->isActive());
    enter(button);
    leave(button);
    EXPECT_TRUE(button->isFading());
    EXPECT_EQ(button->hotTrackStep(), 8);
    for (int expected = 7; expected >= 1; --expected) {
        tick();
        EXPECT_EQ(button->hotTrackStep(), expected);
        EXPECT_TRUE(button->isFading());
    }
    tick();
    EXPECT_EQ(button->hotTrackStep(), 0);
    EXPECT_FALSE(button->isFading());
    EXPECT_FALSE(timer->isActive());
}

TEST_F(LbButtonFade, ComingBackDuringTheFadeStopsIt)
{
    enter(button);
    leave(button);
    tick();
    tick();
    EXPECT_EQ(button->hotTrackStep(), 6);
    enter(button);
    EXPECT_EQ(button->hotTrackStep(), 8);
    EXPECT_FALSE(button->isFading());
}

TEST_F(LbButtonFade, SwitchingOffDuringTheFadeEndsItAtOnce)
{
    enter(button);
    leave(button);
    tick();
    button->setSlowDecease(false);
    EXPECT_EQ(button->hotTrackStep(), 0);
    EXPECT_FALSE(button->isFading());
    EXPECT_EQ(button->findChild<QTimer*>(), nullptr);
    button->setSlowDecease(true);
    EXPECT_NE(button->findChild<QTimer*>(), nullptr);
}

TEST_F(LbButtonFade, DestroyingAFadingButtonIsSafe)
{
    enter(button);
    leave(button);
    ASSERT_TRUE(button->isFading());
    delete button;
    button = nullptr;
    QCoreApplication::processEvents();
    SUCCEED();
}

// ----- keyboard ----------------------------------------------------------------------------

struct KeyCase {
    const char* name;
    Qt::Key key;
};
void PrintTo(const KeyCase& c, std::ostream* os) { *os << c.name; }

const KeyCase kPressKeys[] = {
    {"Space", Qt::Key_Space},
    {"Return", Qt::Key_Return},
    {"KeypadEnter", Qt::Key_Enter},
};

class LbButtonKeys : public LbButtonWidget, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(LbButtonKeys, KeyDownPressesAndKeyUpClicks)
{
    focus(button);
    QTest::keyPress(button, GetParam().key);
    EXPECT_TRUE(button->isPressed());
    EXPECT_EQ(clicks->count(), 0);
    QTest::keyRelease(button, GetParam().key);
    EXPECT_FALSE(button->isPressed());
    EXPECT_EQ(clicks->count(), 1);
}

TEST_P(LbButtonKeys, AKeyUpWithoutItsKeyDownDoesNotClick)
{
    focus(button);
    QTest::keyRelease(button, GetParam().key);
    EXPECT_EQ(clicks->count(), 0);
}

TEST_P(LbButtonKeys, AutoRepeatClicksOnceOnTheRealRelease)
{
    focus(button);
    QTest::keyPress(button, GetParam().key);
    QKeyEvent repeatUp(QEvent::KeyRelease, GetParam().key, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(button, &repeatUp);
    QKeyEvent repeatDown(QEvent::KeyPress, GetParam().key, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(button, &repeatDown);
    EXPECT_EQ(clicks->count(), 0);
    QTest::keyRelease(button, GetParam().key);
    EXPECT_EQ(clicks->count(), 1);
}

TEST_P(LbButtonKeys, LosingTheFocusWithTheKeyDownReleasesWithoutClicking)
{
    focus(button);
    QTest::keyPress(button, GetParam().key);
    focus(edit);
    EXPECT_FALSE(button->isPressed());
    QTest::keyRelease(button, GetParam().key);
    EXPECT_EQ(clicks->count(), 0);
}

INSTANTIATE_TEST_SUITE_P(LbButton, LbButtonKeys, ::testing::ValuesIn(kPressKeys), CaseName());

TEST_F(LbButtonWidget, OtherKeysNeitherPressNorClick)
{
    focus(button);
    QTest::keyClick(button, Qt::Key_X);
    QTest::keyClick(button, Qt::Key_Tab);
    EXPECT_EQ(clicks->count(), 0);
    EXPECT_FALSE(button->isPressed());
}

TEST_F(LbButtonWidget, FocusCountsAsHotForThePainting)
{
    QFont hotFont = button->font();
    hotFont.setItalic(true);
    button->setHotTrackFont(hotFont);
    button->setUseHotTrackFont(true);
    EXPECT_FALSE(button->faceParams(100, 23).hot);
    EXPECT_FALSE(button->faceParams(100, 23).font.italic());
    focus(button);
    EXPECT_TRUE(button->faceParams(100, 23).hot);
    EXPECT_TRUE(button->faceParams(100, 23).font.italic());
}

// ----- accelerator -------------------------------------------------------------------------

TEST_F(LbButtonWidget, AltAndTheAcceleratorClicks)
{
    focus(edit);
    QTest::keyClick(edit, Qt::Key_A, Qt::AltModifier);
    EXPECT_EQ(clicks->count(), 1);
    EXPECT_FALSE(button->isPressed());
}

TEST_F(LbButtonWidget, ThePlainAcceleratorClicksWhenTheFocusedControlDoesNotTakeIt)
{
    focus(other);
    QTest::keyClick(other, Qt::Key_A);
    EXPECT_EQ(clicks->count(), 1);
    EXPECT_EQ(otherClicks->count(), 0);
    // Typed into an edit, the character is text, not an accelerator.
    focus(edit);
    QTest::keyClick(edit, Qt::Key_A);
    EXPECT_EQ(clicks->count(), 1);
    EXPECT_EQ(edit->text(), QStringLiteral("a"));
}

TEST_F(LbButtonWidget, NoAcceleratorWhenDisabledOrForADoubledAmpersand)
{
    focus(other);
    button->setEnabled(false);
    QTest::keyClick(other, Qt::Key_A);
    EXPECT_EQ(clicks->count(), 0);
    button->setEnabled(true);
    button->setText(QStringLiteral("&&Apply"));
    QTest::keyClick(other, Qt::Key_A);
    EXPECT_EQ(clicks->count(), 0);
    button->setText(QStringLiteral("Save && &close"));
    QTest::keyClick(other, Qt::Key_C);
    EXPECT_EQ(clicks->count(), 1);
}

// ----- default and cancel button -----------------------------------------------------------

TEST_F(LbButtonWidget, EnterClicksTheDefaultButtonFromAnEditOrRadioButton)
{
    button->setDefault(true);
    focus(edit);
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(clicks->count(), 1);
    focus(radio);
    QTest::keyClick(radio, Qt::Key_Enter);
    EXPECT_EQ(clicks->count(), 2);
}

// A check box is a button to Qt but does not act on Enter, so the default button does.
TEST_F(LbButtonWidget, EnterClicksTheDefaultButtonFromACheckBox)
{
    auto* check = new QCheckBox(QStringLiteral("Check"), dialog.get());
    check->setGeometry(10, 70, 100, 23);
    check->show();
    button->setDefault(true);
    focus(check);
    QTest::keyClick(check, Qt::Key_Return);
    EXPECT_EQ(clicks->count(), 1);
    EXPECT_FALSE(check->isChecked());
}

TEST_F(LbButtonWidget, EnterOnAnotherFocusedButtonClicksThatOne)
{
    button->setDefault(true);
    focus(other);
    QTest::keyClick(other, Qt::Key_Return);
    EXPECT_EQ(clicks->count(), 0);
    EXPECT_EQ(otherClicks->count(), 1);
}

TEST_F(LbButtonWidget, DialogKeysNeedTheirFlagNoShiftAndAnEnabledButton)
{
    focus(edit);
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(clicks->count(), 0);
    button->setDefault(true);
    QTest::keyClick(edit, Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClick(edit, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(clicks->count(), 0);
    button->setEnabled(false);
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(clicks->count(), 0);
}

TEST_F(LbButtonWidget, EscapeClicksTheCancelButtonWhichClosesTheWindowOnce)
{
    QSignalSpy rejected(dialog.get(), &QDialog::rejected);
    button->setCancel(true);
    button->setModalResult(mrCancel);
    focus(edit);
    QTest::keyClick(edit, Qt::Key_Escape);
    EXPECT_EQ(clicks->count(), 1);
    EXPECT_EQ(rejected.count(), 1);
    EXPECT_FALSE(dialog->isVisible());
}

// ----- modal result ------------------------------------------------------------------------

struct ResultCase {
    const char* name;
    int modalResult;
    bool closes;
    int dialogResult;
};
void PrintTo(const ResultCase& c, std::ostream* os) { *os << c.name; }

const ResultCase kResultCases[] = {
    {"None", mrNone, false, 0},
    {"Ok", mrOk, true, QDialog::Accepted},
    {"Cancel", mrCancel, true, QDialog::Rejected},
    {"Yes", mrYes, true, mrYes},
    {"Ignore", mrIgnore, true, mrIgnore},
    {"All", mrAll, true, mrAll},
};

class LbButtonModalResult : public LbButtonWidget,
                            public ::testing::WithParamInterface<ResultCase> {};

TEST_P(LbButtonModalResult, AClickClosesTheWindowWithTheResult)
{
    const ResultCase& c = GetParam();
    QSignalSpy finished(dialog.get(), &QDialog::finished);
    button->setModalResult(c.modalResult);
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(clicks->count(), 1);
    EXPECT_EQ(dialog->isVisible(), !c.closes);
    ASSERT_EQ(finished.count(), c.closes ? 1 : 0);
    if (c.closes) {
        EXPECT_EQ(dialog->result(), c.dialogResult);
        EXPECT_EQ(int(modalResultOf(dialog->result())), c.modalResult);
    }
}

INSTANTIATE_TEST_SUITE_P(LbButton, LbButtonModalResult, ::testing::ValuesIn(kResultCases),
                         CaseName());

TEST_F(LbButtonWidget, QtClickCallsCloseTheWindowToo)
{
    button->setModalResult(mrYes);
    button->click();
    EXPECT_EQ(clicks->count(), 1);
    EXPECT_EQ(dialog->result(), int(mrYes));
    EXPECT_FALSE(dialog->isVisible());

    dialog->show();
    button->setModalResult(mrOk);
    static_cast<QAbstractButton*>(button)->click();
    EXPECT_EQ(clicks->count(), 2);
    EXPECT_EQ(dialog->result(), int(QDialog::Accepted));
    EXPECT_FALSE(dialog->isVisible());
}

TEST(LbButton, AModalResultOutsideADialogOnlyClicks)
{
    QWidget window;
    auto* b = new TLbButton(QStringLiteral("OK"), &window);
    b->setModalResult(mrOk);
    window.show();
    QSignalSpy clicks(b, &QAbstractButton::clicked);
    QTest::mouseClick(b, Qt::LeftButton);
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_TRUE(window.isVisible());
}

TEST_F(LbButtonWidget, TheClickHandlerRunsBeforeTheWindowCloses)
{
    bool visibleInHandler = false;
    QObject::connect(button, &QAbstractButton::clicked,
                     [&] { visibleInHandler = dialog->isVisible(); });
    button->setModalResult(mrOk);
    button->Click();
    EXPECT_TRUE(visibleInHandler);
    EXPECT_FALSE(dialog->isVisible());
}

// ----- popup menu and action ---------------------------------------------------------------

TEST_F(LbButtonWidget, AClickPopsUpTheMenuBelowTheButton)
{
    QMenu menu;
    menu.addAction(QStringLiteral("Item"));
    button->setPopupMenu(&menu);
    EXPECT_TRUE(button->faceParams(100, 23).hasPopup);
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_TRUE(menu.isVisible());
    EXPECT_EQ(menu.pos(), button->mapToGlobal(QPoint(0, button->height())));
    menu.hide();
}

TEST_F(LbButtonWidget, AnActionGivesTextStateAndPictureAndIsTriggered)
{
    QPixmap pm(16, 16);
    pm.fill(Qt::blue);
    QAction action(QIcon(pm), QStringLiteral("&Go"));
    QSignalSpy triggered(&action, &QAction::triggered);
    button->setAction(&action);
    EXPECT_EQ(button->text(), QStringLiteral("&Go"));
    EXPECT_EQ(button->numGlyphs(), 1);
    EXPECT_EQ(button->glyph().size(), QSize(16, 16));
    EXPECT_EQ(button->glyph().pixel(8, 8), qRgb(0, 0, 255));
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(clicks->count(), 1);
    EXPECT_EQ(triggered.count(), 1);
    action.setEnabled(false);
    EXPECT_FALSE(button->isEnabled());
}

// ----- property writers --------------------------------------------------------------------

TEST(LbButton, ColourStyleAppliesItsPresetAndReadsCustom)
{
    TLbButton b;
    b.setColorStyle(lcsQuicken);
    EXPECT_EQ(b.colorStyle(), lcsCustom);
    EXPECT_EQ(b.color(), 0x603000u);
    EXPECT_EQ(b.lightColor(), 0xC0C0C0u);
    EXPECT_EQ(b.colorWhenDown(), 0xAD6529u);
    EXPECT_EQ(b.hotTrackColor(), 0xCEAE9Cu);
    EXPECT_EQ(b.buttonStyle(), bsQuicken);
    EXPECT_FALSE(b.isFlat());
    EXPECT_EQ(b.faceParams(100, 23).fontColor, QColor(255, 255, 255));

    b.setColorStyle(lcsCustom);
    b.setColorStyle(-1);
    b.setColorStyle(42);
    EXPECT_EQ(b.color(), 0x603000u);
    EXPECT_EQ(b.buttonStyle(), bsQuicken);
}

struct KindCase {
    const char* name;
    TLbButtonKind kind;
    int modalResult;
    const char* caption;
    QSize glyphSize;
};
void PrintTo(const KindCase& c, std::ostream* os) { *os << c.name; }

const KindCase kKindCases[] = {
    {"OK", bkOK, mrOk, "OK", {36, 18}},
    {"Cancel", bkCancel, mrCancel, "Abbrechen", {36, 18}},
    {"Help", bkHelp, mrNone, "Hilfe", {36, 18}},
    {"Yes", bkYes, mrYes, "Ja", {36, 18}},
    {"No", bkNo, mrNo, "Nein", {36, 18}},
    {"Close",
     bkClose,
     mrNone,
     "Schlie\xC3\x9F"
     "en",
     {36, 18}},
    {"Abort", bkAbort, mrAbort, "Abbrechen", {36, 18}},
    {"Retry", bkRetry, mrRetry, "Wiederholen", {36, 18}},
    {"Ignore", bkIgnore, mrIgnore, "Ignorieren", {36, 18}},
    {"All", bkAll, mrAll, "Alle", {36, 19}},
};

class LbButtonKind : public ::testing::TestWithParam<KindCase> {};

TEST_P(LbButtonKind, SetsCaptionResultAndATwoFramePicture)
{
    const KindCase& c = GetParam();
    TLbButton b;
    b.setModalResult(99);
    b.setKind(c.kind);
    EXPECT_EQ(b.kind(), c.kind);
    EXPECT_EQ(b.text(), QString::fromUtf8(c.caption));
    EXPECT_EQ(b.modalResult(), c.modalResult);
    EXPECT_EQ(b.glyph().size(), c.glyphSize);
    EXPECT_EQ(b.numGlyphs(), 2);
    const LbFaceModel m = lbButtonFaceModel(b.faceParams(100, 23));
    EXPECT_EQ(m.gw, 18);
    EXPECT_EQ(m.glyphFrame, 0);
}

INSTANTIATE_TEST_SUITE_P(LbButton, LbButtonKind, ::testing::ValuesIn(kKindCases), CaseName());

TEST(LbButton, WritingResultOrGlyphMakesTheKindCustomAgain)
{
    TLbButton b;
    b.setKind(bkOK);
    b.setModalResult(mrOk);
    EXPECT_EQ(b.kind(), bkCustom);
    b.setKind(bkYes);
    b.setGlyph(QImage(54, 18, QImage::Format_RGB32));
    EXPECT_EQ(b.kind(), bkCustom);
    EXPECT_EQ(b.numGlyphs(), 3);
    EXPECT_EQ(b.modalResult(), mrYes);
    b.setKind(bkCustom);
    EXPECT_EQ(b.kind(), bkCustom);
    EXPECT_EQ(b.text(), QStringLiteral("Ja"));
    b.setKind(77);
    EXPECT_EQ(b.kind(), bkCustom);
}

TEST(LbButton, AnEmptyGlyphMeansNoFrames)
{
    TLbButton b;
    b.setGlyph(QImage(36, 18, QImage::Format_RGB32));
    EXPECT_EQ(b.numGlyphs(), 2);
    b.setGlyph(QImage());
    EXPECT_EQ(b.numGlyphs(), 0);
    EXPECT_EQ(b.glyph().height(), 0);
    b.setNumGlyphs(4);
    EXPECT_EQ(lbButtonFaceModel(b.faceParams(100, 23)).glyphFrame, -1);
}

TEST(LbButton, OutOfRangeEnumerationsAreIgnored)
{
    TLbButton b;
    b.setButtonStyle(bsModern);
    b.setButtonStyle(6);
    b.setGlyphLayout(blGlyphTop);
    b.setGlyphLayout(-1);
    b.setAlignment(taRightJustify);
    b.setAlignment(3);
    EXPECT_EQ(b.buttonStyle(), bsModern);
    EXPECT_EQ(b.glyphLayout(), blGlyphTop);
    EXPECT_EQ(b.alignment(), taRightJustify);
}

// ----- painting of the widget --------------------------------------------------------------

TEST_F(LbButtonWidget, FocusedOldStyleSitsInABlackOutline)
{
    button->setButtonStyle(bsOld);
    button->setColor(0x00FF00);
    focus(button);
    const QImage img = button->grab().toImage();
    EXPECT_EQ(img.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(img.pixel(99, 22), qRgb(0, 0, 0));
    EXPECT_EQ(img.pixel(1, 1), qRgb(255, 255, 255));  // the face's light edge, one pixel in
    EXPECT_EQ(img.pixel(3, 11), qRgb(0, 255, 0));
}

TEST_F(LbButtonWidget, PressedEncartaPaintsThePressedColour)
{
    button->setButtonStyle(bsEncarta);
    button->setColorWhenDown(0x0080FF);
    mouse(button, QEvent::MouseButtonPress, Qt::LeftButton);
    const QImage img = button->grab().toImage();
    EXPECT_EQ(img.pixel(2, 2), qRgb(255, 128, 0));
    mouse(button, QEvent::MouseButtonRelease, Qt::LeftButton);
}

}  // namespace
}  // namespace zfw
