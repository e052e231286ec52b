// The framework grid as a widget, driven through its viewport as a user would: six columns of
// 50 px and twelve rows of 20 px, one fixed row and one fixed column, a viewport of 280 x 100
// px without frame or scroll bars (four whole scrollable columns and rows; the last full page
// of rows starts at row 8).

#include "grid/FrameworkGrid.h"

#include "FrameworkGridTestSupport.h"

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace zfw {
namespace {

using test::GridCaseName;

struct DrawnCell {
    int col;
    int row;
    TRect rect;
    TGridDrawState state;
};

class ProbeGrid : public TStringGrid {
public:
    using TStringGrid::TStringGrid;

    int createEditorCalls = 0;
    bool acceptDigits = true;
    bool canModify = true;
    int colWidthsChangedCalls = 0;
    bool cancelOnRelease = false;
    bool recording = false;
    std::vector<DrawnCell> drawn;
    std::vector<QString> log;

    TInplaceEdit* CreateEditor() override
    {
        ++createEditorCalls;
        return TStringGrid::CreateEditor();
    }
    bool CanEditAcceptKey(char16_t c) override { return acceptDigits || c < u'0' || c > u'9'; }
    bool CanEditModify() override { return canModify; }
    void ColWidthsChanged() override
    {
        ++colWidthsChangedCalls;
        TStringGrid::ColWidthsChanged();
    }
    void MouseUp(TMouseButton b, TShiftState s, int x, int y) override
    {
        // A derived grid cancels a drag by setting the state before the inherited release.
        if (cancelOnRelease)
            SetGridState(gsNormal);
        TStringGrid::MouseUp(b, s, x, y);
    }
    void DrawCell(int c, int r, const TRect& rect, TGridDrawState st) override
    {
        if (recording)
            drawn.push_back({c, r, rect, st});
        TStringGrid::DrawCell(c, r, rect, st);
    }
    bool WndProc(QEvent* e) override
    {
        if (e->type() == GridEditDoneEvent::type()) {
            auto* d = static_cast<GridEditDoneEvent*>(e);
            log.push_back(QStringLiteral("done %1,%2").arg(d->Col).arg(d->Row));
        }
        return TStringGrid::WndProc(e);
    }
};

class FrameworkGridWidget : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = std::make_unique<QWidget>();
        auto* layout = new QVBoxLayout(window.get());
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        grid = new ProbeGrid(window.get());
        other = new QLineEdit(window.get());
        layout->addWidget(grid);
        layout->addWidget(other);
        grid->setFrameShape(QFrame::NoFrame);
        grid->SetScrollBars(ssNone);
        grid->SetColCount(6);
        grid->SetRowCount(12);
        grid->SetDefaultColWidth(50);
        grid->SetDefaultRowHeight(20);
        grid->setFixedSize(280, 100);
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        grid->setFocus(Qt::OtherFocusReason);
        ASSERT_EQ(grid->ClientWidth(), 280);
        ASSERT_EQ(grid->ClientHeight(), 100);
    }

    QWidget* vp() const { return grid->viewport(); }
    // Centre of a cell on screen.
    QPoint at(int col, int row) const { return grid->CellRect(col, row).toQRect().center(); }
    void key(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) { QTest::keyClick(grid, k, m); }

    std::unique_ptr<QWidget> window;
    ProbeGrid* grid = nullptr;
    QLineEdit* other = nullptr;
};

TEST_F(FrameworkGridWidget, KeysMoveTheCellAndScrollItIntoView)
{
    EXPECT_EQ(grid->Col(), 1);
    EXPECT_EQ(grid->Row(), 1);
    key(Qt::Key_Down);
    key(Qt::Key_Right);
    EXPECT_EQ(grid->Col(), 2);
    EXPECT_EQ(grid->Row(), 2);
    int topLeftChanges = 0;
    grid->OnTopLeftChanged = [&](QObject*) { ++topLeftChanges; };
    key(Qt::Key_PageDown);  // a page is four rows: the cell and the view move together
    EXPECT_EQ(grid->Row(), 6);
    EXPECT_EQ(grid->TopRow(), 5);
    EXPECT_EQ(topLeftChanges, 1);
    key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(grid->Col(), 5);
    EXPECT_EQ(grid->Row(), 11);
    EXPECT_EQ(grid->TopRow(), 8);
    EXPECT_EQ(grid->LeftCol(), 2);
    key(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(grid->Col(), 1);
    EXPECT_EQ(grid->Row(), 1);
    EXPECT_EQ(grid->TopRow(), 1);
    EXPECT_EQ(grid->LeftCol(), 1);
    EXPECT_EQ(grid->Selection(), (TGridRect{1, 1, 1, 1}));
}

TEST_F(FrameworkGridWidget, SelectCellVetoLeavesCellAnchorAndViewAlone)
{
    grid->SetRow(3);
    grid->OnSelectCell = [](QObject*, int c, int r, bool& can) { can = r != 7 && c != 3; };
    key(Qt::Key_PageDown);  // 3 -> 7: refused
    EXPECT_EQ(grid->Row(), 3);
    EXPECT_EQ(grid->TopRow(), 1);
    key(Qt::Key_Down, Qt::ShiftModifier);  // 3 -> 4, anchor stays at row 3
    QTest::mouseClick(vp(), Qt::LeftButton, Qt::NoModifier, at(3, 2));
    EXPECT_EQ(grid->Col(), 1);
    EXPECT_EQ(grid->Row(), 4);
    EXPECT_EQ(grid->Selection(), (TGridRect{1, 3, 1, 4}));
    grid->SetCol(3);
    EXPECT_EQ(grid->Col(), 1);
}

TEST_F(FrameworkGridWidget, ShiftKeysExtendOnlyUnderRangeSelect)
{
    key(Qt::Key_Down, Qt::ShiftModifier);
    key(Qt::Key_Right, Qt::ShiftModifier);
    key(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(grid->Selection(), (TGridRect{1, 1, 3, 2}));
    grid->SetOptions(grid->Options() & ~TGridOptions(goRangeSelect));
    key(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(grid->Selection(), (TGridRect{3, 3, 3, 3}));
}

TEST_F(FrameworkGridWidget, DragSelectsTheRectangleInEitherDirection)
{
    QTest::mousePress(vp(), Qt::LeftButton, Qt::NoModifier, at(3, 3));
    EXPECT_EQ(grid->GridState(), gsSelecting);
    QTest::mouseMove(vp(), at(2, 3));
    QTest::mouseMove(vp(), at(1, 1));
    QTest::mouseRelease(vp(), Qt::LeftButton, Qt::NoModifier, at(1, 1));
    EXPECT_EQ(grid->GridState(), gsNormal);
    EXPECT_EQ(grid->Selection(), (TGridRect{1, 1, 3, 3}));
    EXPECT_EQ(grid->Col(), 1);
    EXPECT_EQ(grid->Row(), 1);
    // Shift+click extends from the anchor, the cell where the drag began.
    QTest::mouseClick(vp(), Qt::LeftButton, Qt::ShiftModifier, at(4, 2));
    EXPECT_EQ(grid->Selection(), (TGridRect{3, 2, 4, 3}));
    // Without range selection the drag only moves the cell.
    grid->SetOptions(grid->Options() & ~TGridOptions(goRangeSelect));
    QTest::mousePress(vp(), Qt::LeftButton, Qt::NoModifier, at(1, 1));
    QTest::mouseMove(vp(), at(3, 3));
    QTest::mouseRelease(vp(), Qt::LeftButton, Qt::NoModifier, at(3, 3));
    EXPECT_EQ(grid->Selection(), (TGridRect{3, 3, 3, 3}));
}

TEST_F(FrameworkGridWidget, PressOnAFixedCellLeavesTheSelectionAlone)
{
    grid->SetSelection({2, 2, 3, 4});
    int clicks = 0;
    grid->OnClick = [&](QObject*) { ++clicks; };
    QTest::mouseClick(vp(), Qt::LeftButton, Qt::NoModifier, at(0, 3));
    QTest::mouseClick(vp(), Qt::LeftButton, Qt::NoModifier, at(2, 0));
    EXPECT_EQ(grid->Selection(), (TGridRect{2, 2, 3, 4}));
    EXPECT_EQ(clicks, 0);
}

TEST_F(FrameworkGridWidget, DragBeyondTheBottomScrollsOneRowPerTimerTick)
{
    QTest::mousePress(vp(), Qt::LeftButton, Qt::NoModifier, at(2, 2));
    QTest::mouseMove(vp(), QPoint(at(2, 2).x(), 130));
    EXPECT_EQ(grid->Row(), 4);  // clamped to the last row on screen
    grid->WMTimer(TStringGrid::kScrollTimerId);
    EXPECT_EQ(grid->TopRow(), 2);
    EXPECT_EQ(grid->Row(), 5);
    grid->WMTimer(TStringGrid::kScrollTimerId);
    EXPECT_EQ(grid->TopRow(), 3);
    EXPECT_EQ(grid->Selection(), (TGridRect{2, 2, 2, 6}));
    QTest::mouseRelease(vp(), Qt::LeftButton, Qt::NoModifier, QPoint(at(2, 2).x(), 130));
    // Once released, ticks do nothing.
    grid->WMTimer(TStringGrid::kScrollTimerId);
    EXPECT_EQ(grid->TopRow(), 3);
}

struct SizingDragCase {
    const char* name;
    int pressOffset;  // from the right border of column 2 (x = 150)
    int drag;
    bool cancel;
    int expectedWidth;
};

class FrameworkGridSizingDrag : public FrameworkGridWidget,
                                public ::testing::WithParamInterface<SizingDragCase> {};

TEST_P(FrameworkGridSizingDrag, ColumnWidth)
{
    const SizingDragCase& c = GetParam();
    grid->SetOptions(grid->Options() | goColSizing);
    grid->colWidthsChangedCalls = 0;
    grid->cancelOnRelease = c.cancel;
    const QPoint press(150 + c.pressOffset, 10);
    QTest::mousePress(vp(), Qt::LeftButton, Qt::NoModifier, press);
    QTest::mouseMove(vp(), press + QPoint(c.drag, 0));
    QTest::mouseRelease(vp(), Qt::LeftButton, Qt::NoModifier, press + QPoint(c.drag, 0));
    EXPECT_EQ(grid->ColWidths(2), c.expectedWidth);
    EXPECT_EQ(grid->colWidthsChangedCalls, c.expectedWidth != 50 ? 1 : 0);
    EXPECT_EQ(grid->GridState(), gsNormal);
    EXPECT_EQ(grid->Selection(), (TGridRect{1, 1, 1, 1}));
}

const SizingDragCase kSizingDragCases[] = {
    {"Widen", -2, 15, false, 65},
    {"Narrow", 3, -20, false, 30},
    {"NeverBelowZero", 0, -80, false, 0},
    {"OutsideTheZoneNoSizing", -4, 15, false, 50},
    {"CancelledBeforeTheRelease", 0, 15, true, 50},
};
INSTANTIATE_TEST_SUITE_P(Cases, FrameworkGridSizingDrag, ::testing::ValuesIn(kSizingDragCases),
                         GridCaseName());

TEST_F(FrameworkGridWidget, RowHeightByDraggingInTheFixedColumn)
{
    grid->SetOptions(grid->Options() | goRowSizing);
    QTest::mousePress(vp(), Qt::LeftButton, Qt::NoModifier, QPoint(10, 59));
    QTest::mouseMove(vp(), QPoint(10, 71));
    QTest::mouseRelease(vp(), Qt::LeftButton, Qt::NoModifier, QPoint(10, 71));
    EXPECT_EQ(grid->RowHeights(2), 32);
}

TEST_F(FrameworkGridWidget, ScrollBarsFollowTopRowAndLeftCol)
{
    grid->SetScrollBars(ssBoth);
    grid->setFixedSize(280 + grid->verticalScrollBar()->sizeHint().width(),
                       100 + grid->horizontalScrollBar()->sizeHint().height());
    QScrollBar* vb = grid->verticalScrollBar();
    QScrollBar* hb = grid->horizontalScrollBar();
    ASSERT_TRUE(vb->isVisible());
    ASSERT_TRUE(hb->isVisible());
    ASSERT_EQ(grid->ClientHeight(), 100);
    const int maxTop = grid->geometryModel().maxTopRow();
    ASSERT_EQ(maxTop, 8);
    EXPECT_EQ(vb->value(), 0);
    grid->SetTopRow(maxTop);
    EXPECT_EQ(vb->value(), kGridThumbMax);
    grid->SetTopRow(1);
    vb->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(grid->TopRow(), 2);
    EXPECT_EQ(vb->value(), grid->geometryModel().thumbFromRow(2));
    vb->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(grid->TopRow(), 6);
    vb->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(grid->TopRow(), maxTop);
    EXPECT_EQ(vb->value(), kGridThumbMax);
    hb->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(grid->LeftCol(), 2);
    // Scrolling never moves the current cell.
    EXPECT_EQ(grid->Col(), 1);
    EXPECT_EQ(grid->Row(), 1);
    // Everything fits: no bars.
    grid->SetRowCount(3);
    grid->SetColCount(3);
    EXPECT_FALSE(vb->isVisible());
    EXPECT_FALSE(hb->isVisible());
}

TEST_F(FrameworkGridWidget, DoubleClickReachesOnlyTheDoubleClickPath)
{
    int clicks = 0;
    int doubleClicks = 0;
    std::vector<TShiftState> downs;
    grid->OnClick = [&](QObject*) { ++clicks; };
    grid->OnDblClick = [&](QObject*) { ++doubleClicks; };
    grid->OnMouseDown = [&](QObject*, TMouseButton, TShiftState s, int, int) {
        downs.push_back(s);
    };
    // What a window system delivers for a double click: the second press is the double click.
    QTest::mousePress(vp(), Qt::LeftButton, Qt::NoModifier, at(2, 2));
    QTest::mouseRelease(vp(), Qt::LeftButton, Qt::NoModifier, at(2, 2));
    QTest::mouseDClick(vp(), Qt::LeftButton, Qt::NoModifier, at(2, 2));
    EXPECT_EQ(grid->GridState(), gsNormal);
    QTest::mouseRelease(vp(), Qt::LeftButton, Qt::NoModifier, at(2, 2));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(doubleClicks, 1);
    ASSERT_EQ(downs.size(), 2u);
    EXPECT_FALSE(downs[0].testFlag(ssDouble));
    EXPECT_TRUE(downs[1].testFlag(ssDouble));
    EXPECT_FALSE(grid->EditorMode());  // goEditing is off
}

TEST_F(FrameworkGridWidget, GridEditDoneArrivesAfterThePostingHandlerReturned)
{
    grid->OnClick = [&](QObject*) {
        grid->PostGridEditDone(grid->Col(), grid->Row());
        grid->log.push_back(QStringLiteral("click returns"));
    };
    QTest::mouseClick(vp(), Qt::LeftButton, Qt::NoModifier, at(3, 2));
    ASSERT_EQ(grid->log, (std::vector<QString>{QStringLiteral("click returns")}));
    QCoreApplication::sendPostedEvents(grid, GridEditDoneEvent::type());
    EXPECT_EQ(grid->log,
              (std::vector<QString>{QStringLiteral("click returns"), QStringLiteral("done 3,2")}));
}

TEST_F(FrameworkGridWidget, FocusLossEndsADrag)
{
    int clicks = 0;
    grid->OnClick = [&](QObject*) { ++clicks; };
    QTest::mousePress(vp(), Qt::LeftButton, Qt::NoModifier, at(2, 2));
    ASSERT_EQ(grid->GridState(), gsSelecting);
    other->setFocus(Qt::OtherFocusReason);
    EXPECT_EQ(grid->GridState(), gsNormal);
    grid->WMTimer(TStringGrid::kScrollTimerId);
    QTest::mouseRelease(vp(), Qt::LeftButton, Qt::NoModifier, at(2, 2));
    EXPECT_EQ(clicks, 0);
}

TEST_F(FrameworkGridWidget, SizingBorderShowsTheSplitCursor)
{
    grid->SetOptions(grid->Options() | goColSizing);
    QMouseEvent over(QEvent::MouseMove, QPointF(100, 10), grid->mapToGlobal(QPointF(100, 10)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(vp(), &over);
    EXPECT_EQ(vp()->cursor().shape(), Qt::SplitHCursor);
    QMouseEvent away(QEvent::MouseMove, QPointF(75, 10), grid->mapToGlobal(QPointF(75, 10)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(vp(), &away);
    EXPECT_EQ(vp()->cursor().shape(), Qt::ArrowCursor);
}

// A wheel turn of `delta` eighths of a degree over the grid.
void wheel(QWidget* w, int delta)
{
    QWheelEvent e(QPointF(60, 30), w->mapToGlobal(QPointF(60, 30)), QPoint(), QPoint(0, delta),
                  Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &e);
}

TEST_F(FrameworkGridWidget, WheelMovesTheCurrentRowByNotches)
{
    const int top = grid->TopRow();
    wheel(vp(), -120);
    EXPECT_EQ(grid->Row(), 2);
    wheel(vp(), -60);  // half a notch: nothing yet
    EXPECT_EQ(grid->Row(), 2);
    wheel(vp(), -60);
    EXPECT_EQ(grid->Row(), 3);
    wheel(vp(), 240);
    EXPECT_EQ(grid->Row(), 1);
    wheel(vp(), 120);  // stops at the first scrollable row
    EXPECT_EQ(grid->Row(), 1);
    EXPECT_EQ(grid->TopRow(), top);
    grid->OnMouseWheelDown = [](QObject*, TShiftState, QPoint, bool& handled) { handled = true; };
    wheel(vp(), -120);
    EXPECT_EQ(grid->Row(), 1);
}

// ----- keys: the key-down and character steps -----

TEST_F(FrameworkGridWidget, EnterConsumedOnKeyDownStillReachesTheCharacterStep)
{
    std::vector<int> chars;
    grid->OnKeyDown = [](QObject*, int& k, TShiftState) {
        if (k == VK_RETURN)
            k = 0;
    };
    grid->OnKeyPress = [&](QObject*, char16_t& c) { chars.push_back(c); };
    key(Qt::Key_Return);
    key(Qt::Key_Return, Qt::ControlModifier);
    key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(chars, (std::vector<int>{13, 10, 3}));
}

TEST_F(FrameworkGridWidget, AutoRepeatReleasesAreDropped)
{
    int ups = 0;
    grid->OnKeyUp = [&](QObject*, int&, TShiftState) { ++ups; };
    QKeyEvent repeat(QEvent::KeyRelease, Qt::Key_Down, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(grid, &repeat);
    QKeyEvent real(QEvent::KeyRelease, Qt::Key_Down, Qt::NoModifier, QString(), false);
    QApplication::sendEvent(grid, &real);
    EXPECT_EQ(ups, 1);
}

TEST_F(FrameworkGridWidget, EscapeStaysWithTheGrid)
{
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier, QStringLiteral("\x1b"));
    QApplication::sendEvent(grid, &esc);
    EXPECT_TRUE(esc.isAccepted());
}

TEST_F(FrameworkGridWidget, TabMovesTheFocusUnlessTheGridTakesIt)
{
    key(Qt::Key_Tab);
    EXPECT_TRUE(other->hasFocus());
    grid->setFocus(Qt::OtherFocusReason);
    grid->SetOptions(grid->Options() | goTabs);
    key(Qt::Key_Tab);
    EXPECT_TRUE(grid->hasFocus());
    EXPECT_EQ(grid->Col(), 2);
}

// ----- the editor host -----

struct EditGateCase {
    const char* name;
    TGridOptions options;
    bool opens;
};

class FrameworkGridEditGate : public FrameworkGridWidget,
                              public ::testing::WithParamInterface<EditGateCase> {};

TEST_P(FrameworkGridEditGate, F2)
{
    grid->SetOptions(GetParam().options);
    key(Qt::Key_F2);
    EXPECT_EQ(grid->EditorMode(), GetParam().opens);
    EXPECT_EQ(grid->InplaceEditor() != nullptr && grid->InplaceEditor()->isVisible(),
              GetParam().opens);
}

const EditGateCase kEditGateCases[] = {
    {"WithoutEditing", kDefaultGridOptions, false},
    {"Editing", kDefaultGridOptions | goEditing, true},
    {"EditingWithRowSelect", kDefaultGridOptions | goEditing | goRowSelect, false},
};
INSTANTIATE_TEST_SUITE_P(Cases, FrameworkGridEditGate, ::testing::ValuesIn(kEditGateCases),
                         GridCaseName());

TEST_F(FrameworkGridWidget, EditorIsFilledPlacedAndCommitsOnce)
{
    grid->SetOptions(grid->Options() | goEditing);
    grid->SetCells(2, 2, QStringLiteral("abc"));
    std::vector<QString> commits;
    grid->OnSetEditText = [&](QObject*, int c, int r, const QString& v) {
        commits.push_back(QStringLiteral("%1,%2=%3").arg(c).arg(r).arg(v));
    };
    grid->SetCol(2);
    grid->SetRow(2);
    key(Qt::Key_F2);
    TInplaceEdit* ed = grid->InplaceEditor();
    ASSERT_NE(ed, nullptr);
    EXPECT_EQ(ed->text(), QStringLiteral("abc"));
    EXPECT_EQ(ed->geometry(), grid->CellRect(2, 2).toQRect());
    EXPECT_TRUE(ed->hasFocus());
    QTest::keyClick(ed, Qt::Key_End);
    QTest::keyClick(ed, Qt::Key_D);  // typing reaches the cell at once
    EXPECT_EQ(grid->Cells(2, 2), QStringLiteral("abcd"));
    commits.clear();
    QTest::keyClick(ed, Qt::Key_Down);  // handed to the grid: the move commits and hides
    EXPECT_EQ(commits, (std::vector<QString>{QStringLiteral("2,2=abcd")}));
    EXPECT_FALSE(grid->EditorMode());
    EXPECT_FALSE(ed->isVisible());
    EXPECT_EQ(grid->Row(), 3);
    EXPECT_TRUE(grid->hasFocus());
    key(Qt::Key_F2);
    EXPECT_EQ(grid->createEditorCalls, 1);
}

TEST_F(FrameworkGridWidget, TypingStartsTheEditorWithExactlyThatCharacter)
{
    grid->SetOptions(grid->Options() | goEditing);
    grid->SetCells(1, 1, QStringLiteral("old"));
    QTest::keyClick(grid, Qt::Key_X);
    ASSERT_TRUE(grid->EditorMode());
    EXPECT_EQ(grid->InplaceEditor()->text(), QStringLiteral("x"));
    EXPECT_EQ(grid->Cells(1, 1), QStringLiteral("x"));
}

TEST_F(FrameworkGridWidget, SecondClickOnTheCurrentCellOpensTheEditor)
{
    grid->SetOptions(grid->Options() | goEditing);
    QTest::mouseClick(vp(), Qt::LeftButton, Qt::NoModifier, at(3, 3));
    EXPECT_FALSE(grid->EditorMode());
    QTest::mouseClick(vp(), Qt::LeftButton, Qt::NoModifier, at(3, 3), 500);
    EXPECT_TRUE(grid->EditorMode());
}

TEST_F(FrameworkGridWidget, EditorFollowsScrollingAndHidesOutOfView)
{
    grid->SetOptions(grid->Options() | goEditing);
    grid->SetRow(2);
    key(Qt::Key_F2);
    TInplaceEdit* ed = grid->InplaceEditor();
    ASSERT_TRUE(ed->isVisible());
    grid->SetTopRow(2);
    EXPECT_EQ(ed->geometry(), grid->CellRect(1, 2).toQRect());
    grid->SetTopRow(3);
    EXPECT_FALSE(ed->isVisible());
    EXPECT_TRUE(grid->EditorMode());
    grid->SetTopRow(1);
    EXPECT_TRUE(ed->isVisible());
}

struct EditorKeyCase {
    const char* name;
    TGridOptions extraOptions;
    bool acceptDigits;
    bool canModify;
    int cursor;  // -1: the whole text selected, as the editor opens
    Qt::Key key;
    Qt::KeyboardModifiers mods;
    TGridCoord cell;  // current cell afterwards
    bool editorMode;
    const char* cellText;  // text of (2, 2) afterwards
    const char* editorText;
};

class FrameworkGridEditorKeys : public FrameworkGridWidget,
                                public ::testing::WithParamInterface<EditorKeyCase> {};

TEST_P(FrameworkGridEditorKeys, Key)
{
    const EditorKeyCase& c = GetParam();
    grid->SetOptions(grid->Options() | goEditing | c.extraOptions);
    grid->acceptDigits = c.acceptDigits;
    grid->canModify = c.canModify;
    grid->SetCells(1, 2, QStringLiteral("left"));
    grid->SetCells(2, 2, QStringLiteral("abc"));
    grid->SetCells(3, 2, QStringLiteral("right"));
    std::vector<int> gridKeys;
    grid->OnKeyDown = [&](QObject*, int& k, TShiftState) { gridKeys.push_back(k); };
    grid->SetCol(2);
    grid->SetRow(2);
    key(Qt::Key_F2);
    TInplaceEdit* ed = grid->InplaceEditor();
    ASSERT_TRUE(ed && ed->hasFocus());
    ASSERT_EQ(ed->text(), QStringLiteral("abc"));
    ASSERT_EQ(ed->geometry(), grid->CellRect(2, 2).toQRect());
    if (c.cursor >= 0)
        ed->setCursorPosition(c.cursor);
    gridKeys.clear();
    QTest::keyClick(ed, c.key, c.mods);
    EXPECT_EQ(grid->Col(), c.cell.X);
    EXPECT_EQ(grid->Row(), c.cell.Y);
    EXPECT_EQ(grid->EditorMode(), c.editorMode);
    EXPECT_EQ(grid->Cells(2, 2), QString::fromUtf8(c.cellText));
    if (c.editorMode) {
        EXPECT_EQ(ed->text(), QString::fromUtf8(c.editorText));
    }
}

constexpr TGridOptions kAlways{goAlwaysShowEditor};
constexpr Qt::KeyboardModifiers kNoMod = Qt::NoModifier;

const EditorKeyCase kEditorKeyCases[] = {
    {"DownGoesToTheGridAndCommits",
     {},
     true,
     true,
     1,
     Qt::Key_Down,
     kNoMod,
     {2, 3},
     false,
     "abc",
     ""},
    {"EscapeGoesToTheGridOnly",
     {},
     true,
     true,
     1,
     Qt::Key_Escape,
     kNoMod,
     {2, 2},
     true,
     "abc",
     "abc"},
    {"LeftInsideTheTextStays",
     kAlways,
     true,
     true,
     2,
     Qt::Key_Left,
     kNoMod,
     {2, 2},
     true,
     "abc",
     "abc"},
    {"LeftAtTheStartMovesUnderAlwaysShow",
     kAlways,
     true,
     true,
     0,
     Qt::Key_Left,
     kNoMod,
     {1, 2},
     true,
     "abc",
     "left"},
    {"LeftAtTheStartStaysOtherwise",
     {},
     true,
     true,
     0,
     Qt::Key_Left,
     kNoMod,
     {2, 2},
     true,
     "abc",
     "abc"},
    {"RightAtTheEndMovesUnderAlwaysShow",
     kAlways,
     true,
     true,
     3,
     Qt::Key_Right,
     kNoMod,
     {3, 2},
     true,
     "abc",
     "right"},
    {"EndAtTheEndGoesToTheLastColumn",
     kAlways,
     true,
     true,
     3,
     Qt::Key_End,
     kNoMod,
     {5, 2},
     true,
     "abc",
     ""},
    {"EndInsideTheTextStays",
     kAlways,
     true,
     true,
     1,
     Qt::Key_End,
     kNoMod,
     {2, 2},
     true,
     "abc",
     "abc"},
    {"EnterIsNoLineBreak", {}, true, true, 3, Qt::Key_Return, kNoMod, {2, 2}, true, "abc", "abc"},
    {"TypingReplacesTheSelection", {}, true, true, -1, Qt::Key_X, kNoMod, {2, 2}, true, "x", "x"},
    {"RefusedCharacterIsDropped",
     {},
     false,
     true,
     3,
     Qt::Key_5,
     kNoMod,
     {2, 2},
     true,
     "abc",
     "abc"},
    {"AcceptedDigit", {}, true, true, 3, Qt::Key_5, kNoMod, {2, 2}, true, "abc5", "abc5"},
    {"DeleteRefusedWithoutModify",
     {},
     true,
     false,
     0,
     Qt::Key_Delete,
     kNoMod,
     {2, 2},
     true,
     "abc",
     "abc"},
    {"DeleteAllowed", {}, true, true, 0, Qt::Key_Delete, kNoMod, {2, 2}, true, "bc", "bc"},
};
INSTANTIATE_TEST_SUITE_P(Cases, FrameworkGridEditorKeys, ::testing::ValuesIn(kEditorKeyCases),
                         GridCaseName());

TEST_F(FrameworkGridWidget, RightButtonLeavesTheSelectionAlone)
{
    std::vector<TMouseButton> downs;
    grid->OnMouseDown = [&](QObject*, TMouseButton b, TShiftState, int, int) {
        downs.push_back(b);
    };
    QTest::mouseClick(vp(), Qt::RightButton, Qt::NoModifier, at(3, 3));
    EXPECT_EQ(grid->Selection(), (TGridRect{1, 1, 1, 1}));
    EXPECT_EQ(downs, (std::vector<TMouseButton>{mbRight}));
}

// ----- focus -----

TEST_F(FrameworkGridWidget, EnterAndExitConcernTheGridWithItsEditor)
{
    grid->SetOptions(grid->Options() | goEditing);
    int enters = 0;
    int exits = 0;
    grid->OnEnter = [&](QObject*) { ++enters; };
    grid->OnExit = [&](QObject*) { ++exits; };
    other->setFocus(Qt::OtherFocusReason);
    EXPECT_EQ(exits, 1);
    grid->setFocus(Qt::MouseFocusReason);
    EXPECT_EQ(enters, 1);
    key(Qt::Key_F2);  // the focus moves into the editor: no exit
    ASSERT_TRUE(grid->InplaceEditor()->hasFocus());
    EXPECT_EQ(exits, 1);
    EXPECT_FALSE(grid->Focused());
    // Hiding the focused editor hands the focus back to the grid, not to the next control.
    QTest::keyClick(grid->InplaceEditor(), Qt::Key_Down);
    EXPECT_FALSE(grid->EditorMode());
    EXPECT_TRUE(grid->Focused());
    EXPECT_EQ(exits, 1);
    key(Qt::Key_F2);
    ASSERT_TRUE(grid->InplaceEditor()->hasFocus());
    other->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(exits, 2);
    EXPECT_EQ(enters, 1);
}

TEST_F(FrameworkGridWidget, AnotherWindowTakingTheFocusIsNoExit)
{
    int enters = 0;
    int exits = 0;
    grid->OnEnter = [&](QObject*) { ++enters; };
    grid->OnExit = [&](QObject*) { ++exits; };
    QWidget box;
    auto* boxEdit = new QLineEdit(&box);
    box.show();
    box.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&box));
    boxEdit->setFocus(Qt::OtherFocusReason);
    EXPECT_EQ(exits, 0);
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    grid->setFocus(Qt::OtherFocusReason);
    EXPECT_EQ(enters, 0);
    // Within the grid's own window the focus leaving is an exit.
    other->setFocus(Qt::OtherFocusReason);
    EXPECT_EQ(exits, 1);
}

// ----- painting -----

TEST_F(FrameworkGridWidget, PaintVisitsFixedRowsAndColumnsFirstWithTheirStates)
{
    grid->SetColCount(3);
    grid->SetRowCount(3);
    grid->SetSelection({1, 1, 2, 1});
    grid->recording = true;
    grid->grab();
    grid->recording = false;
    std::vector<std::pair<int, int>> order;
    for (const DrawnCell& d : grid->drawn)
        order.emplace_back(d.col, d.row);
    EXPECT_EQ(order, (std::vector<std::pair<int, int>>{
                         {0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}, {2, 1}, {0, 2}, {1, 2}, {2, 2}}));
    // The current cell (2, 1) is focused, so it is not painted selected; (1, 1) is.
    EXPECT_EQ(grid->drawn[0].state, TGridDrawState(gdFixed));
    EXPECT_EQ(grid->drawn[4].state, TGridDrawState(gdSelected));
    EXPECT_EQ(grid->drawn[5].state, TGridDrawState(gdFocused));
    EXPECT_EQ(grid->drawn[8].state, TGridDrawState());
    EXPECT_EQ(grid->drawn[5].rect, Rect(100, 20, 150, 40));

    // A selection parked outside the grid paints no cell selected or focused.
    grid->SetSelection({3, 3, 3, 3});
    grid->drawn.clear();
    grid->recording = true;
    grid->grab();
    grid->recording = false;
    ASSERT_EQ(grid->drawn.size(), 9u);
    for (const DrawnCell& d : grid->drawn)
        EXPECT_FALSE(d.state & (gdSelected | gdFocused)) << d.col << "," << d.row;
}

struct LineCase {
    const char* name;
    TGridOptions options;
    bool fixedVert;
    bool fixedHorz;
    bool vert;
    bool horz;
};

class FrameworkGridLines : public FrameworkGridWidget,
                           public ::testing::WithParamInterface<LineCase> {};

TEST_P(FrameworkGridLines, LiesOnTheLastPixelInsideEachCell)
{
    const LineCase& c = GetParam();
    grid->SetOptions(c.options);
    grid->SetColor(clWhite);
    grid->SetFixedColor(rgbColor(0xD0, 0xD0, 0xD0));
    grid->SetCol(3);  // keep the focus frame away from the probed cells
    const QImage img = grid->viewport()->grab().toImage();
    const QColor fixedLine = toQColor(clBtnShadow, grid->palette());
    const QColor line = toQColor(clSilver, grid->palette());
    auto is = [&](int x, int y, const QColor& col) {
        return img.pixelColor(x, y).rgb() == col.rgb();
    };
    // Fixed cell (0, 1): x 0..49, y 20..39.
    EXPECT_EQ(is(49, 30, fixedLine), c.fixedVert);
    EXPECT_EQ(is(10, 39, fixedLine), c.fixedHorz);
    EXPECT_TRUE(is(48, 30, QColor(0xD0, 0xD0, 0xD0)));
    // Body cell (1, 2): x 50..99, y 40..59.
    EXPECT_EQ(is(99, 50, line), c.vert);
    EXPECT_EQ(is(60, 59, line), c.horz);
    EXPECT_TRUE(is(98, 50, Qt::white));
    EXPECT_TRUE(is(60, 58, Qt::white));
    EXPECT_TRUE(is(50, 41, Qt::white));  // nothing on the first pixels: lines never overlap
}

const LineCase kLineCases[] = {
    {"All", kDefaultGridOptions, true, true, true, true},
    {"FixedOnly", TGridOptions(goFixedVertLine | goFixedHorzLine), true, true, false, false},
    {"BodyVerticalOnly", TGridOptions(goVertLine), false, false, true, false},
    {"BodyHorizontalOnly", TGridOptions(goHorzLine), false, false, false, true},
    {"None", TGridOptions(), false, false, false, false},
};
INSTANTIATE_TEST_SUITE_P(Cases, FrameworkGridLines, ::testing::ValuesIn(kLineCases),
                         GridCaseName());

TEST_F(FrameworkGridWidget, CountShrinkKeepsTextsAndPullsTheCellBack)
{
    grid->SetCells(5, 10, QStringLiteral("kept"));
    grid->SetCol(5);
    grid->SetRow(10);
    grid->SetRowCount(6);
    grid->SetColCount(4);
    EXPECT_EQ(grid->Col(), 3);
    EXPECT_EQ(grid->Row(), 5);
    grid->SetRowCount(12);
    grid->SetColCount(6);
    EXPECT_EQ(grid->Cells(5, 10), QStringLiteral("kept"));
    // A selection parked outside the grid on purpose stays there.
    grid->SetSelection({6, 12, 6, 12});
    grid->SetRowCount(8);
    EXPECT_EQ(grid->Col(), 6);
    EXPECT_EQ(grid->Row(), 12);
}

}  // namespace
}  // namespace zfw
