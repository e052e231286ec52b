// The string grid driven as a user would: clicks, double clicks, keys and the wheel on its
// viewport, and the selection calls the rule editors make.
//
// Fixture: a 5 x 6 string grid in a shown window (one fixed row and column, columns of 60 px,
// rows of 22 px, no frame, no bars), edited in place (goEditing), data check boxes in column
// 2, cell (3, 3) read-only.

#include "grid/EsgCombo.h"
#include "grid/ExtGrid.h"

#include "FrameworkGridTestSupport.h"
#include "GridWindowTestSupport.h"
#include "support/CaseName.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace zfw {
namespace {

using test::CaseName;

class InputGrid : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = std::make_unique<QWidget>();
        grid = test::addSmallGrid<TExtStringGrid>(*window, 5, 6, {300, 132});
        grid->SetOptions(grid->Options() | goEditing);
        for (int c = 0; c < 5; ++c)
            grid->SetCellEx(c, 0, QStringLiteral("H%1").arg(c));
        ASSERT_EQ(grid->AddCheckBoxColumn(2, false, true), QString());
        grid->SetReadOnly(3, 3, true);
        ASSERT_TRUE(test::showActive(*window, *grid));
        grid->OnClickCell = [&](QObject*, int r, int c) { clickCells.push_back({c, r}); };
        grid->OnDblClickCell = [&](QObject*, int r, int c) { dblClickCells.push_back({c, r}); };
        grid->OnMouseDown = [&](QObject*, TMouseButton, TShiftState, int, int) { ++mouseDowns; };
    }
    void TearDown() override { QApplication::setWheelScrollLines(savedWheelLines); }

    QWidget* vp() const { return grid->viewport(); }
    QPoint at(int col, int row) const { return grid->CellRect(col, row).toQRect().center(); }
    void key(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) { QTest::keyClick(grid, k, m); }
    void goTo(int col, int row)
    {
        grid->FocusCell(col, row);
        ASSERT_EQ(grid->Col(), col);
        ASSERT_EQ(grid->Row(), row);
    }
    bool checked(int row) { return grid->IsChecked(2, row); }
    void wheel(int delta, Qt::KeyboardModifiers m = Qt::NoModifier)
    {
        const QPointF p = at(1, 2);
        QWheelEvent e(p, vp()->mapToGlobal(p), QPoint(), QPoint(0, delta), Qt::NoButton, m,
                      Qt::NoScrollPhase, false);
        QApplication::sendEvent(vp(), &e);
    }
    // What a window system delivers for a double click: the second press is the double click.
    void doubleClick(QPoint p)
    {
        QTest::mousePress(vp(), Qt::LeftButton, Qt::NoModifier, p);
        QTest::mouseRelease(vp(), Qt::LeftButton, Qt::NoModifier, p);
        QTest::mouseDClick(vp(), Qt::LeftButton, Qt::NoModifier, p);
        QTest::mouseRelease(vp(), Qt::LeftButton, Qt::NoModifier, p);
    }

    std::unique_ptr<QWidget> window;
    TExtStringGrid* grid = nullptr;
    std::vector<TGridCoord> clickCells;
    std::vector<TGridCoord> dblClickCells;
    int mouseDowns = 0;
    const int savedWheelLines = QApplication::wheelScrollLines();
};

// ----- clicks -----

struct ClickCase {
    const char* name;
    int col;
    int row;
    int dx;  // from the cell's centre
    bool toggles;
    bool clickCell;
    TGridCoord current;  // afterwards (starting at (1, 1))
};

class InputGridClick : public InputGrid, public ::testing::WithParamInterface<ClickCase> {};

TEST_P(InputGridClick, PressDecidesBetweenToggleAndCellClick)
{
    const ClickCase& c = GetParam();
    QTest::mouseClick(vp(), Qt::LeftButton, Qt::NoModifier, at(c.col, c.row) + QPoint(c.dx, 0));
    EXPECT_EQ(checked(c.row), c.toggles);
    EXPECT_EQ(mouseDowns, 1);
    if (c.clickCell) {
        ASSERT_EQ(clickCells.size(), 1u);
        EXPECT_EQ(clickCells[0], (TGridCoord{c.col, c.row}));
    } else {
        EXPECT_TRUE(clickCells.empty());
    }
    EXPECT_EQ((TGridCoord{grid->Col(), grid->Row()}), c.current);
    EXPECT_FALSE(grid->EditorMode());
}

const ClickCase kClickCases[] = {
    {"CheckBoxCellCentre", 2, 2, 0, true, false, {2, 2}},
    {"CheckBoxCellNearRightBorder", 2, 3, 25, true, false, {2, 3}},
    {"CheckBoxCellNearLeftBorder", 2, 4, -25, true, false, {2, 4}},
    {"FixedColumnZero", 0, 3, 0, false, true, {1, 1}},
    {"PlainBodyCell", 4, 2, 0, false, true, {4, 2}},
};
INSTANTIATE_TEST_SUITE_P(Cases, InputGridClick, ::testing::ValuesIn(kClickCases), CaseName());

TEST_F(InputGrid, DoubleClickOnCheckBoxTogglesOnceAndReportsNoCell)
{
    int dblClicks = 0;
    grid->OnDblClick = [&](QObject*) { ++dblClicks; };
    doubleClick(at(2, 2));
    EXPECT_TRUE(checked(2));
    EXPECT_EQ(dblClicks, 1);
    EXPECT_TRUE(dblClickCells.empty());
    EXPECT_FALSE(grid->EditorMode());
}

TEST_F(InputGrid, DoubleClickOnPlainCellReportsTheCell)
{
    doubleClick(at(4, 3));
    ASSERT_EQ(dblClickCells.size(), 1u);
    EXPECT_EQ(dblClickCells[0], (TGridCoord{4, 3}));
}

TEST_F(InputGrid, HeaderBorderDoubleClickAutoSizesWithoutCellDoubleClick)
{
    grid->SetOptions(grid->Options() | goColSizing);
    grid->SetCellEx(1, 4, QStringLiteral("a text much wider than sixty pixels"));
    std::vector<int> ended;
    grid->OnEndColumnSize = [&](QObject*, int c) { ended.push_back(c); };
    const TRect r = grid->CellRect(1, 0);
    doubleClick(QPoint(r.Right - 1, r.Top + 10));
    const int wanted = QFontMetrics(grid->font())
                           .horizontalAdvance(
                               QStringLiteral("a text much wider than sixty pixels"));
    EXPECT_GE(grid->ColWidths(1), wanted);
    EXPECT_TRUE(dblClickCells.empty());
    EXPECT_EQ(ended.back(), 1);
}

struct SizeReleaseCase {
    const char* name;
    int releaseX;  // -1: beyond the viewport's right edge
    bool applied;
};

class InputGridSizeRelease : public InputGrid,
                             public ::testing::WithParamInterface<SizeReleaseCase> {};

TEST_P(InputGridSizeRelease, ColumnSizeAppliesOnlyInsideTheGrid)
{
    const SizeReleaseCase& c = GetParam();
    grid->SetOptions(grid->Options() | goColSizing);
    const TRect r = grid->CellRect(1, 0);
    const QPoint border(r.Right - 1, r.Top + 10);
    const int releaseX = c.releaseX < 0 ? vp()->width() + 20 : c.releaseX;
    std::vector<int> ended;
    grid->OnEndColumnSize = [&](QObject*, int col) { ended.push_back(col); };
    QTest::mousePress(vp(), Qt::LeftButton, Qt::NoModifier, border);
    ASSERT_EQ(grid->GridState(), gsColSizing);
    QTest::mouseMove(vp(), QPoint(releaseX, border.y()));
    QTest::mouseRelease(vp(), Qt::LeftButton, Qt::NoModifier, QPoint(releaseX, border.y()));
    EXPECT_EQ(grid->GridState(), gsNormal);
    EXPECT_EQ(grid->ColWidths(1) != 60, c.applied) << grid->ColWidths(1);
    EXPECT_EQ(ended, c.applied ? std::vector<int>{1} : std::vector<int>{});
}

const SizeReleaseCase kSizeReleaseCases[] = {
    {"InsideIsApplied", 150, true},
    {"BeyondTheRightEdgeIsCancelled", -1, false},
};
INSTANTIATE_TEST_SUITE_P(Cases, InputGridSizeRelease, ::testing::ValuesIn(kSizeReleaseCases),
                         CaseName());

struct RightClickCase {
    const char* name;
    bool selectOnRightClick;
    QPoint point;  // {-1, -1}: right of the cells; else a cell
    TGridCoord reported;
    TGridCoord current;
};

class InputGridRightClick : public InputGrid,
                            public ::testing::WithParamInterface<RightClickCase> {};

TEST_P(InputGridRightClick, ReportsTheCellAndMovesOnlyWhenAsked)
{
    const RightClickCase& c = GetParam();
    grid->MouseActions.SelectOnRightClick = c.selectOnRightClick;
    std::vector<TGridCoord> reported;
    grid->OnRightClickCell = [&](QObject*, int r, int col) { reported.push_back({col, r}); };
    if (c.point.x() < 0)
        grid->SetColWidths(4, 30);  // room right of the last column
    const QPoint p = c.point.x() < 0 ? QPoint(vp()->width() - 2, at(1, 3).y())
                                     : at(c.point.x(), c.point.y());
    QTest::mouseClick(vp(), Qt::RightButton, Qt::NoModifier, p);
    EXPECT_EQ(reported, std::vector<TGridCoord>{c.reported});
    EXPECT_EQ((TGridCoord{grid->Col(), grid->Row()}), c.current);
    EXPECT_FALSE(checked(3));
}

const RightClickCase kRightClickCases[] = {
    {"SelectsWhenAsked", true, {4, 3}, {4, 3}, {4, 3}},
    {"LeavesTheCursorOtherwise", false, {4, 3}, {4, 3}, {1, 1}},
    {"NeverTogglesACheckBox", true, {2, 3}, {2, 3}, {1, 1}},
    {"OutsideTheCells", true, {-1, -1}, {-1, 3}, {1, 1}},
};
INSTANTIATE_TEST_SUITE_P(Cases, InputGridRightClick, ::testing::ValuesIn(kRightClickCases),
                         CaseName());

// ----- keys -----

TEST_F(InputGrid, EnterOnReadOnlyCellIsSwallowedButReported)
{
    goTo(3, 3);
    std::vector<int> downs;
    std::vector<char16_t> presses;
    grid->OnKeyDown = [&](QObject*, int& k, TShiftState) { downs.push_back(k); };
    grid->OnKeyPress = [&](QObject*, char16_t& k) { presses.push_back(k); };
    key(Qt::Key_Return);
    EXPECT_EQ(downs, std::vector<int>{VK_RETURN});
    EXPECT_EQ(presses, std::vector<char16_t>{u'\r'});
    EXPECT_FALSE(grid->EditorMode());
    EXPECT_EQ((TGridCoord{grid->Col(), grid->Row()}), (TGridCoord{3, 3}));
}

struct CheckKeyCase {
    const char* name;
    Qt::Key key;
    bool toggles;
};

class InputGridCheckKey : public InputGrid, public ::testing::WithParamInterface<CheckKeyCase> {};

TEST_P(InputGridCheckKey, OnlySpaceTogglesADataCheckBox)
{
    const CheckKeyCase& c = GetParam();
    goTo(2, 2);
    std::vector<bool> reported;
    grid->OnCheckBoxClick = [&](QObject*, int, int, bool s) { reported.push_back(s); };
    key(c.key);
    EXPECT_EQ(checked(2), c.toggles);
    EXPECT_EQ(grid->GetCellEx(2, 2), c.toggles ? grid->CheckTrue : grid->CheckFalse);
    EXPECT_EQ(reported, c.toggles ? std::vector<bool>{true} : std::vector<bool>{});
    if (c.key == Qt::Key_Space) {
        EXPECT_FALSE(grid->EditorMode());
    }
}

const CheckKeyCase kCheckKeyCases[] = {
    {"Space", Qt::Key_Space, true},
    {"Enter", Qt::Key_Return, false},
};
INSTANTIATE_TEST_SUITE_P(Cases, InputGridCheckKey, ::testing::ValuesIn(kCheckKeyCases), CaseName());

TEST_F(InputGrid, TypedCharacterOpensTheEditorOnlyOnAnEditableCell)
{
    goTo(3, 3);
    QTest::keyClick(grid, Qt::Key_X);
    EXPECT_FALSE(grid->EditorMode());
    goTo(4, 3);
    QTest::keyClick(grid, Qt::Key_X);
    EXPECT_TRUE(grid->EditorMode());
}

TEST_F(InputGrid, HomeLandsOnTheFirstColumnThatTakesTheCursor)
{
    grid->OnIsFixedCell = [](QObject*, int, int c, bool& fixed) { fixed = fixed || c == 1; };
    goTo(4, 2);
    key(Qt::Key_Home);
    EXPECT_EQ(grid->Col(), 2);
    EXPECT_EQ(grid->Row(), 2);
    key(Qt::Key_End);
    EXPECT_EQ(grid->Col(), 4);
}

TEST_F(InputGrid, CtrlASelectsTheBodyAndTogglesNoBox)
{
    goTo(2, 2);
    std::vector<TGridRect> changes;
    grid->OnSelectionChanged = [&](QObject*, int l, int t, int r, int b) {
        changes.push_back({l, t, r, b});
    };
    key(Qt::Key_A, Qt::ControlModifier);
    const TGridRect body{1, 1, 4, 5};
    EXPECT_EQ(grid->Selection(), body);
    for (int r = 1; r < 6; ++r)
        EXPECT_FALSE(checked(r)) << r;
    EXPECT_FALSE(grid->EditorMode());
    ASSERT_FALSE(changes.empty());
    EXPECT_EQ(changes.back(), body);
}

struct TabCase {
    const char* name;
    TGridCoord from;
    bool backward;
    TGridCoord to;
};

class InputGridTab : public InputGrid, public ::testing::WithParamInterface<TabCase> {};

TEST_P(InputGridTab, TabWalksRowWiseOverCellsThatTakeTheCursor)
{
    const TabCase& c = GetParam();
    grid->SetOptions(grid->Options() | goTabs);
    grid->Navigation.AdvanceAutoEdit = false;
    goTo(c.from.X, c.from.Y);
    key(c.backward ? Qt::Key_Backtab : Qt::Key_Tab,
        c.backward ? Qt::ShiftModifier : Qt::NoModifier);
    EXPECT_EQ((TGridCoord{grid->Col(), grid->Row()}), c.to);
}

TEST_F(InputGrid, TabConsumedByTheFormLeavesTheCursor)
{
    grid->SetOptions(grid->Options() | goTabs);
    grid->OnKeyDown = [](QObject*, int& k, TShiftState) {
        if (k == VK_TAB)
            k = 0;
    };
    goTo(1, 2);
    key(Qt::Key_Tab);
    EXPECT_EQ((TGridCoord{grid->Col(), grid->Row()}), (TGridCoord{1, 2}));
}

TEST_F(InputGrid, FormChoosesThePointerOverACell)
{
    grid->OnGetCellCursor = [](QObject*, int c, int, int, int, Qt::CursorShape& shape) {
        shape = c == 4 ? Qt::PointingHandCursor : Qt::ArrowCursor;
    };
    QTest::mouseMove(vp(), at(4, 3));
    EXPECT_EQ(vp()->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseMove(vp(), at(3, 3));
    EXPECT_EQ(vp()->cursor().shape(), Qt::ArrowCursor);
}

const TabCase kTabCases[] = {
    {"AlongTheRow", {1, 2}, false, {2, 2}},
    {"WrapsToTheNextRow", {4, 2}, false, {1, 3}},
    {"SkipsTheReadOnlyCell", {2, 3}, false, {4, 3}},
    {"WrapsFromTheLastCellToTheFirst", {4, 5}, false, {1, 1}},
    {"BackwardWrapsToThePreviousRow", {1, 3}, true, {4, 2}},
    {"BackwardFromTheFirstCellToTheLast", {1, 1}, true, {4, 5}},
};
INSTANTIATE_TEST_SUITE_P(Cases, InputGridTab, ::testing::ValuesIn(kTabCases), CaseName());

TEST_F(InputGrid, EnterAdvanceWithoutAnyEditableCellStaysPut)
{
    grid->OnCanEditCell = [](QObject*, int, int, bool& can) { can = false; };
    goTo(2, 2);
    grid->AdvanceToNextCell(2, 2, true, true, true);
    EXPECT_EQ((TGridCoord{grid->Col(), grid->Row()}), (TGridCoord{2, 2}));
    grid->AdvanceToNextCell(2, 2, true, true, false);
    EXPECT_EQ((TGridCoord{grid->Col(), grid->Row()}), (TGridCoord{2, 2}));
}

TEST_F(InputGrid, EnterAdvanceStepsOverTheReadOnlyCell)
{
    goTo(2, 3);
    grid->AdvanceToNextCell(2, 3, true, false, true);
    EXPECT_EQ((TGridCoord{grid->Col(), grid->Row()}), (TGridCoord{4, 3}));
}

// ----- advance events -----

// What the form hears during one Enter advance, in order. Cells are (col, row).
struct AdvanceCase {
    const char* name;
    TGridCoord from;
    bool skipReadOnly;
    TGridCoord redirect;  // {-1, -1}: OnAutoAdvance keeps the target
    bool advanceAllows;
    bool changingAllows;
    std::vector<std::string> events;
    TGridCoord to;
};

class InputGridAdvance : public InputGrid, public ::testing::WithParamInterface<AdvanceCase> {};

TEST_P(InputGridAdvance, EventsInOrderAndTheCellReached)
{
    const AdvanceCase& c = GetParam();
    grid->Navigation.AdvanceSkipReadOnlyCells = c.skipReadOnly;
    goTo(c.from.X, c.from.Y);
    std::vector<std::string> events;
    auto cell = [](int col, int row) { return std::to_string(col) + "," + std::to_string(row); };
    grid->OnAutoAdvance = [&](QObject*, int oldRow, int oldCol, int& newRow, int& newCol,
                              bool& allow) {
        events.push_back("advance " + cell(oldCol, oldRow) + ">" + cell(newCol, newRow));
        if (c.redirect.X >= 0) {
            newCol = c.redirect.X;
            newRow = c.redirect.Y;
        }
        allow = c.advanceAllows;
    };
    grid->OnCellChanging = [&](QObject*, int oldRow, int oldCol, int newRow, int newCol,
                               bool& allow) {
        events.push_back("changing " + cell(oldCol, oldRow) + ">" + cell(newCol, newRow));
        allow = c.changingAllows;
    };
    grid->OnSelectCell = [&](QObject*, int col, int row, bool&) {
        events.push_back("select " + cell(col, row));
    };
    grid->AdvanceToNextCell(c.from.X, c.from.Y, true, false, true);
    EXPECT_EQ(events, c.events);
    EXPECT_EQ((TGridCoord{grid->Col(), grid->Row()}), c.to);
}

const AdvanceCase kAdvanceCases[] = {
    {"NextColumn",
     {3, 2},
     true,
     {-1, -1},
     true,
     true,
     {"advance 3,2>4,2", "changing 3,2>4,2", "select 4,2"},
     {4, 2}},
    {"WrapsToTheNextRow",
     {4, 2},
     true,
     {-1, -1},
     true,
     true,
     {"advance 4,2>1,3", "changing 4,2>1,3", "select 1,3"},
     {1, 3}},
    {"SkippedReadOnlyCellIsNeverOffered",
     {2, 3},
     true,
     {-1, -1},
     true,
     true,
     {"advance 2,3>4,3", "changing 2,3>4,3", "select 4,3"},
     {4, 3}},
    {"RedirectedByTheForm",
     {3, 2},
     true,
     {1, 5},
     true,
     true,
     {"advance 3,2>4,2", "changing 3,2>1,5", "select 1,5"},
     {1, 5}},
    {"RefusedByAutoAdvance",
     {3, 2},
     true,
     {-1, -1},
     false,
     true,
     {"advance 3,2>4,2", "select 3,2"},
     {3, 2}},
    {"RefusedByCellChanging",
     {3, 2},
     true,
     {-1, -1},
     true,
     false,
     {"advance 3,2>4,2", "changing 3,2>4,2", "select 3,2"},
     {3, 2}},
    {"RedirectIntoTheFixedRowRefused",
     {3, 2},
     true,
     {2, 0},
     true,
     true,
     {"advance 3,2>4,2", "select 3,2"},
     {3, 2}},
    {"RedirectBeyondTheGridRefused",
     {3, 2},
     true,
     {9, 40},
     true,
     true,
     {"advance 3,2>4,2", "select 3,2"},
     {3, 2}},
    {"ReadOnlyTargetNotSkippedIsEnteredSilently",
     {2, 3},
     false,
     {-1, -1},
     true,
     true,
     {"select 3,3"},
     {3, 3}},
};
INSTANTIATE_TEST_SUITE_P(Cases, InputGridAdvance, ::testing::ValuesIn(kAdvanceCases), CaseName());

// ----- wheel -----

struct WheelCase {
    const char* name;
    int lines;  // the system's wheel lines
    int startRow;
    int delta;  // eighths of a degree; 120 is one notch, negative towards the user
    int row;
};

class InputGridWheel : public InputGrid, public ::testing::WithParamInterface<WheelCase> {};

TEST_P(InputGridWheel, OneNotchMovesTheSystemsLinesWithinTheRows)
{
    const WheelCase& c = GetParam();
    QApplication::setWheelScrollLines(c.lines);
    goTo(1, c.startRow);
    wheel(c.delta);
    EXPECT_EQ(grid->Row(), c.row);
    EXPECT_EQ(grid->Col(), 1);
}

const WheelCase kWheelCases[] = {
    {"DownThreeLines", 3, 1, -120, 4},
    {"DownClampedAtTheLastRow", 3, 4, -120, 5},
    {"UpClampedAtTheFirstNormalRow", 3, 2, 120, 1},
    {"OneLine", 1, 2, -120, 3},
};
INSTANTIATE_TEST_SUITE_P(Cases, InputGridWheel, ::testing::ValuesIn(kWheelCases), CaseName());

TEST_F(InputGrid, WheelSwallowedWhenDisabled)
{
    grid->EnableWheel = false;
    goTo(1, 2);
    wheel(-120);
    EXPECT_EQ(grid->Row(), 2);
}

TEST_F(InputGrid, ZoomStaysWithinTenSteps)
{
    for (int i = 0; i < 12; ++i)
        grid->Zoom(1);
    EXPECT_EQ(grid->zoomFactor(), 10);
    EXPECT_EQ(grid->ColWidths(1), 70);
    EXPECT_EQ(grid->RowHeights(1), 32);
    for (int i = 0; i < 25; ++i)
        grid->Zoom(-1);
    EXPECT_EQ(grid->zoomFactor(), -10);
    EXPECT_EQ(grid->ColWidths(1), 50);
}

TEST_F(InputGrid, CtrlWheelZoomsByTheWheelLinesThenFitsTheCells)
{
    QApplication::setWheelScrollLines(2);
    const QString wide = QStringLiteral("a text wider than sixty pixels");
    grid->SetCellEx(1, 2, wide);
    wheel(-120, Qt::ControlModifier);
    EXPECT_EQ(grid->zoomFactor(), 2);
    // Every cell is measured, headers included: the column takes its widest text, the text
    // offset and 4 pixels; a row is at least as high as the zoom made it.
    const int textWidth = QFontMetrics(grid->font()).horizontalAdvance(wide);
    EXPECT_EQ(grid->ColWidths(1), textWidth + grid->XYOffset.x() + 4);
    const int zoomedRow = grid->RowHeights(2);
    EXPECT_GE(zoomedRow, 24);
    // Back again: the zoom narrows and lowers, the fit widens the column to its text and the
    // row to its check box again.
    wheel(120, Qt::ControlModifier);
    EXPECT_EQ(grid->zoomFactor(), 0);
    EXPECT_EQ(grid->ColWidths(1), textWidth + grid->XYOffset.x() + 4);
    EXPECT_EQ(grid->RowHeights(2), zoomedRow);
}

// ----- an open drop-down while scrolling -----

enum class ScrollBy { Bar, Wheel, Key, NoScroll };

struct DropDownCase {
    const char* name;
    ScrollBy by;
    bool closes;
};

class InputGridDropDown : public InputGrid, public ::testing::WithParamInterface<DropDownCase> {};

TEST_P(InputGridDropDown, ScrollingClosesTheOpenList)
{
    const DropDownCase& c = GetParam();
    QApplication::setWheelScrollLines(3);
    grid->SetRowCount(30);
    grid->SetScrollBars(ssVertical);
    goTo(1, grid->TopRow() + grid->VisibleRowCount() - 1);
    const int topRow = grid->TopRow();
    auto* combo = new TEsgComboBox(vp());
    combo->setItems({QStringLiteral("one"), QStringLiteral("two"), QStringLiteral("three")});
    combo->setGeometry(grid->CellRect(2, 2).toQRect());
    combo->show();
    combo->showPopup();
    ASSERT_TRUE(combo->view()->isVisible());
    switch (c.by) {
    case ScrollBy::Bar:
        grid->verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        break;
    // Qt hands an open list's owner no wheel events of other widgets, so the grid's wheel
    // step is driven directly, as it is for the scroll a form or a partner grid asks for.
    case ScrollBy::Wheel: grid->WMMouseWheel(TShiftState(), -1, at(1, 2)); break;
    case ScrollBy::Key: key(Qt::Key_Down); break;
    case ScrollBy::NoScroll: key(Qt::Key_Right); break;
    }
    EXPECT_EQ(grid->TopRow() != topRow, c.closes);
    EXPECT_EQ(combo->view()->isVisible(), !c.closes);
    EXPECT_EQ(combo->droppedDown(), !c.closes);
}

const DropDownCase kDropDownCases[] = {
    {"ScrollBar", ScrollBy::Bar, true},
    {"Wheel", ScrollBy::Wheel, true},
    {"DownKeyPastTheLastVisibleRow", ScrollBy::Key, true},
    {"MoveWithoutScrollingKeepsItOpen", ScrollBy::NoScroll, false},
};
INSTANTIATE_TEST_SUITE_P(Cases, InputGridDropDown, ::testing::ValuesIn(kDropDownCases), CaseName());

// ----- selection -----

TEST_F(InputGrid, SelectRowsHighlightsOneRowAcrossTheNormalColumns)
{
    grid->SelectRows(3, 1);
    EXPECT_EQ(grid->Selection(), (TGridRect{1, 3, 4, 3}));
    EXPECT_TRUE(grid->IsSelected(2, 3));
    EXPECT_FALSE(grid->IsSelected(0, 3));
    grid->SelectRows(5, 3);  // cut at the last row
    EXPECT_EQ(grid->Selection(), (TGridRect{1, 5, 4, 5}));
}

struct BadSelectRowsCase {
    const char* name;
    int row;
    int count;
};

class InputGridBadSelectRows : public InputGrid,
                               public ::testing::WithParamInterface<BadSelectRowsCase> {};

TEST_P(InputGridBadSelectRows, LeavesTheSelectionAlone)
{
    const BadSelectRowsCase& c = GetParam();
    grid->SelectRows(2, 1);
    grid->SelectRows(c.row, c.count);
    EXPECT_EQ(grid->Selection(), (TGridRect{1, 2, 4, 2}));
}

const BadSelectRowsCase kBadSelectRowsCases[] = {
    {"NegativeRow", -1, 1}, {"FixedRow", 0, 1},       {"PastTheLastRow", 6, 1},
    {"NoRows", 3, 0},       {"NegativeCount", 3, -2},
};
INSTANTIATE_TEST_SUITE_P(Cases, InputGridBadSelectRows, ::testing::ValuesIn(kBadSelectRowsCases),
                         CaseName());

TEST_F(InputGrid, NegativeRowIsNeverSelectedNorGrowsTheRowList)
{
    grid->MouseActions.SetDisjunctRowSelect(true);
    grid->MouseActions.RowSelectPersistent = true;
    grid->SetRowSelect(3, true);
    EXPECT_FALSE(grid->GetRowSelect(-1));
    EXPECT_FALSE(grid->GetRowSelect(-70000));
    grid->SetRowSelect(-2, true);
    grid->SetRowSelect(1 << 30, true);
    EXPECT_EQ(grid->RowSelectCount(), 1);
    EXPECT_EQ(grid->SelectedRowCount(), 1);
    EXPECT_EQ(grid->SelectedRow(0), 3);
}

TEST_F(InputGrid, SelectionMadeFromTheBottomRightReportsItsCells)
{
    grid->SelectCells(4, 4, 2, 2);
    EXPECT_TRUE(grid->IsSelected(3, 3));
    EXPECT_TRUE(grid->IsSelected(4, 4));
    EXPECT_TRUE(grid->GetSelectedCells(2, 2));
    EXPECT_FALSE(grid->IsSelected(1, 3));
}

TEST_F(InputGrid, DisjunctCellsKeepRowsBeyondSixteenBits)
{
    grid->MouseActions.SetDisjunctCellSelect(true);
    grid->SetSelectedCells(3, 70000, true);
    grid->SetSelectedCells(3, 4464, true);  // 70000 - 65536: the two collide when packed
    EXPECT_EQ(grid->SelectedCellsCount(), 2);
    EXPECT_EQ(grid->SelectedCell(0), (TGridCoord{3, 70000}));
    EXPECT_EQ(grid->SelectedCell(1), (TGridCoord{3, 4464}));
    EXPECT_EQ(grid->SelectedCell(2), (TGridCoord{-1, -1}));
}

TEST_F(InputGrid, ShiftClickTwiceListsTheCellOnceSoCtrlClickRemovesIt)
{
    grid->MouseActions.SetDisjunctCellSelect(true);
    QTest::mouseClick(vp(), Qt::LeftButton, Qt::NoModifier, at(1, 2));
    QTest::mouseClick(vp(), Qt::LeftButton, Qt::ShiftModifier, at(3, 4));
    QTest::mouseClick(vp(), Qt::LeftButton, Qt::ShiftModifier, at(3, 4));
    EXPECT_TRUE(grid->GetSelectedCells(3, 4));
    EXPECT_EQ(grid->SelectedCellsCount(), 9);  // the range (1, 2) .. (3, 4), each cell once
    QTest::mouseClick(vp(), Qt::LeftButton, Qt::ControlModifier, at(3, 4));
    EXPECT_FALSE(grid->GetSelectedCells(3, 4));
    EXPECT_FALSE(grid->IsSelected(3, 4));
}

TEST_F(InputGrid, RowEnabledMovesTheCursorOffTheRow)
{
    goTo(1, 1);
    grid->SetRowEnabled(2, false);
    grid->SetRowEnabled(1, false);
    EXPECT_EQ(grid->Row(), 3);
    EXPECT_FALSE(grid->GetRowEnabled(1));
    EXPECT_TRUE(grid->GetRowEnabled(40));
}

// ----- focus and the edit cycle's end -----

TEST_F(InputGrid, EnteringTheGridRemembersTheCurrentCell)
{
    auto* other = new QLineEdit(window.get());
    window->layout()->addWidget(other);
    other->show();
    goTo(4, 2);
    grid->SetCellEx(4, 2, QStringLiteral("before"));
    other->setFocus(Qt::OtherFocusReason);
    grid->setFocus(Qt::OtherFocusReason);
    EXPECT_EQ(grid->oldCol(), 4);
    EXPECT_EQ(grid->oldRow(), 2);
    EXPECT_EQ(grid->oldCellText(), QStringLiteral("before"));
}

TEST_F(InputGrid, MouseRangeIsCopiedIntoTheRowSelectionOnExit)
{
    auto* other = new QLineEdit(window.get());
    window->layout()->addWidget(other);
    other->show();
    grid->MouseActions.SetDisjunctRowSelect(true);
    QTest::mousePress(vp(), Qt::LeftButton, Qt::NoModifier, at(1, 2));
    QTest::mouseMove(vp(), at(1, 3));
    QTest::mouseRelease(vp(), Qt::LeftButton, Qt::NoModifier, at(1, 3));
    EXPECT_FALSE(grid->GetRowSelect(2));
    other->setFocus(Qt::OtherFocusReason);
    EXPECT_TRUE(grid->GetRowSelect(2));
    EXPECT_TRUE(grid->GetRowSelect(3));
    EXPECT_FALSE(grid->GetRowSelect(4));
}

TEST_F(InputGrid, EditDoneEndsEditingOnlyWithEditOnDoubleClick)
{
    std::vector<TGridCoord> done;
    grid->OnEditCellDone = [&](QObject*, int c, int r) { done.push_back({c, r}); };
    grid->PostGridEditDone(4, 3);
    QApplication::processEvents();
    EXPECT_TRUE(grid->Options().testFlag(goEditing));
    grid->MouseActions.SetEditOnDblClickOnly(true);
    grid->SetOptions(grid->Options() | goEditing);
    grid->PostGridEditDone(4, 4);
    QApplication::processEvents();
    EXPECT_FALSE(grid->Options().testFlag(goEditing));
    EXPECT_EQ(done, (std::vector<TGridCoord>{{4, 3}, {4, 4}}));
}

// ----- hints -----

struct HintCase {
    const char* name;
    bool showCells;
    int col;
    int row;
    const char* hint;
};

class InputGridHint : public InputGrid, public ::testing::WithParamInterface<HintCase> {};

TEST_P(InputGridHint, CellTextThenTheFormHasTheLastWord)
{
    const HintCase& c = GetParam();
    grid->setToolTip(QStringLiteral("grid"));
    grid->HintShowCells = c.showCells;
    grid->SetCellEx(4, 2, QStringLiteral("<b>bold</b> text"));
    grid->OnGridHint = [](QObject*, int r, int col, QString& h) {
        h += QStringLiteral(" @%1,%2").arg(col).arg(r);
    };
    EXPECT_EQ(grid->cellHint(at(c.col, c.row)), QString::fromUtf8(c.hint));
}

const HintCase kHintCases[] = {
    {"BodyCellShowsItsTextWithoutTags", true, 4, 2, "bold text @4,2"},
    {"FixedCellKeepsTheGridHint", true, 4, 0, "grid @4,0"},
    {"WithoutShowCellsTheGridHint", false, 4, 2, "grid @4,2"},
};
INSTANTIATE_TEST_SUITE_P(Cases, InputGridHint, ::testing::ValuesIn(kHintCases), CaseName());

}  // namespace
}  // namespace zfw
