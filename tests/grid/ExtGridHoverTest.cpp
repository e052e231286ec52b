// The string grid under a moving mouse: the lit fixed cell and the hover row, what leaving the
// grid resets, row and column selections dragged from the fixed cells, the press mode the
// pointer shows, the sizes reported while a border is dragged, the thumb's hint and
// synchronous scrolling, and a synchronised partner grid.
//
// Fixture: a 5 x 6 string grid in a shown window (one fixed row and column, columns of 60 px,
// rows of 22 px, no frame, no bars).

#include "grid/ExtGrid.h"
#include "platform/Colors.h"

#include "FrameworkGridTestSupport.h"
#include "GridWindowTestSupport.h"
#include "support/CaseName.h"

#include <QApplication>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace zfw {
namespace {

using test::CaseName;

class HoverGrid : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = std::make_unique<QWidget>();
        grid = test::addSmallGrid<TExtStringGrid>(*window, 5, 6, {300, 132});
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        grid->OnSelectionChanged = [&](QObject*, int l, int t, int r, int b) {
            reported.push_back(TGridRect{l, t, r, b});
        };
    }

    QWidget* vp() const { return grid->viewport(); }
    QPoint at(int col, int row) const { return grid->CellRect(col, row).toQRect().center(); }
    void move(QPoint p, Qt::MouseButtons buttons = Qt::NoButton)
    {
        QMouseEvent e(QEvent::MouseMove, p, vp()->mapToGlobal(p), Qt::NoButton, buttons,
                      Qt::NoModifier);
        QApplication::sendEvent(vp(), &e);
    }
    void leave()
    {
        QEvent e(QEvent::Leave);
        QApplication::sendEvent(vp(), &e);
    }
    QColor pixelIn(int col, int row)
    {
        QImage image(grid->size(), QImage::Format_RGB32);
        grid->render(&image);
        const TRect r = grid->CellRect(col, row);
        return QColor(image.pixel(r.Left + 40, r.Top + 15));
    }

    std::unique_ptr<QWidget> window;
    TExtStringGrid* grid = nullptr;
    std::vector<TGridRect> reported;
};

// ----- the lit fixed cell -----

struct FixedHoverCase {
    const char* name;
    THoverFixedCells mode;
    TGridCoord over;
    bool menuOpenAtLeave;  // NoMouseLeave set before the mouse leaves
    QPoint afterMove;
    QPoint afterLeave;
};

class HoverFixed : public HoverGrid, public ::testing::WithParamInterface<FixedHoverCase> {};

TEST_P(HoverFixed, LitCellFollowsTheMouseAndGoesWhenItLeaves)
{
    const FixedHoverCase& c = GetParam();
    grid->HoverFixedCells = c.mode;
    move(at(c.over.X, c.over.Y));
    EXPECT_EQ(grid->HoverFixedCell, c.afterMove);
    grid->NoMouseLeave = c.menuOpenAtLeave;
    leave();
    EXPECT_EQ(grid->HoverFixedCell, c.afterLeave);
    EXPECT_EQ(grid->mouseSelectMode(), TMouseSelectMode::msNormal);
}

const FixedHoverCase kFixedHovers[] = {
    {"HeaderLitThenReset", THoverFixedCells::hfAll, {2, 0}, false, {2, 0}, {-1, -1}},
    {"RowHeaderLit", THoverFixedCells::hfFixedColumns, {0, 3}, false, {0, 3}, {-1, -1}},
    {"OffByDefault", THoverFixedCells::hfNone, {2, 0}, false, {-1, -1}, {-1, -1}},
    {"OpenMenuKeepsTheLitCell", THoverFixedCells::hfAll, {2, 0}, true, {2, 0}, {2, 0}},
};
INSTANTIATE_TEST_SUITE_P(Cases, HoverFixed, ::testing::ValuesIn(kFixedHovers), CaseName());

TEST_F(HoverGrid, HoverFixedCellAnswersForItsModesCells)
{
    grid->HoverFixedCells = THoverFixedCells::hfFixedRows;
    EXPECT_TRUE(grid->IsHoverFixedCell(2, 0));
    EXPECT_FALSE(grid->IsHoverFixedCell(0, 2));
    EXPECT_FALSE(grid->IsHoverFixedCell(2, 2));
    grid->HoverFixedCells = THoverFixedCells::hfAll;
    EXPECT_TRUE(grid->IsHoverFixedCell(0, 2));
    grid->HoverFixedCell = QPoint(2, 0);
    grid->NoMouseLeave = true;
    grid->ResetFixedCellHighlight();
    EXPECT_EQ(grid->HoverFixedCell, QPoint(-1, -1));
    EXPECT_FALSE(grid->NoMouseLeave);
}

// ----- the hover row -----

struct HoverRowCase {
    const char* name;
    bool hoverRow;
    THoverRowCells cells;
    TGridCoord probe;  // the mouse is over row 3
    bool lit;
    bool plainLook;  // the XP look paints its own gradient over fixed cells
};

class HoverRowPaint : public HoverGrid, public ::testing::WithParamInterface<HoverRowCase> {};

TEST_P(HoverRowPaint, RowUnderTheMouseTakesTheHoverColourUntilItLeaves)
{
    const HoverRowCase& c = GetParam();
    if (c.plainLook) {
        grid->Loaded();
        grid->SetLook(TGridLook::glStandard);
    }
    grid->HoverRow = c.hoverRow;
    grid->HoverRowCells = c.cells;
    grid->HoverRowColor = 0x0000FF;
    const QColor hover = toQColor(0x0000FF);
    move(at(2, 3));
    EXPECT_EQ(grid->hoverRowIdx(), c.hoverRow ? 3 : -1);
    EXPECT_EQ(pixelIn(c.probe.X, c.probe.Y) == hover, c.lit);
    EXPECT_NE(pixelIn(c.probe.X, 2), hover) << "the row above stays plain";
    leave();
    EXPECT_EQ(grid->hoverRowIdx(), -1);
    EXPECT_NE(pixelIn(c.probe.X, c.probe.Y), hover);
}

const HoverRowCase kHoverRows[] = {
    {"CellsAloneLightNothing", false, THoverRowCells(hcNormal | hcSelected), {3, 3}, false, false},
    {"NormalCellLit", true, THoverRowCells(hcNormal | hcSelected), {3, 3}, true, false},
    {"FixedCellOnlyWithItsKind", true, THoverRowCells(hcNormal), {0, 3}, false, true},
    {"FixedCellWithItsKind", true, THoverRowCells(hcNormal | hcFixed), {0, 3}, true, true},
    {"XPLookKeepsItsFixedGradient", true, THoverRowCells(hcNormal | hcFixed), {0, 3}, false, false},
};
INSTANTIATE_TEST_SUITE_P(Cases, HoverRowPaint, ::testing::ValuesIn(kHoverRows), CaseName());

// ----- selections dragged from the fixed cells -----

struct FixedDragCase {
    const char* name;
    TGridCoord press;
    TGridCoord dragTo;
    TGridRect selection;
};

class FixedDrag : public HoverGrid, public ::testing::WithParamInterface<FixedDragCase> {};

TEST_P(FixedDrag, SelectsWholeRowsOrColumnsAndReportsEachChange)
{
    const FixedDragCase& c = GetParam();
    grid->SetOptions(grid->Options() | goRangeSelect);
    grid->MouseActions.RowSelect = true;
    grid->MouseActions.ColSelect = true;
    QTest::mousePress(vp(), Qt::LeftButton, Qt::NoModifier, at(c.press.X, c.press.Y));
    reported.clear();
    move(at(c.dragTo.X, c.dragTo.Y), Qt::LeftButton);
    EXPECT_EQ(grid->Selection(), c.selection);
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_EQ(reported[0], c.selection);
    QTest::mouseRelease(vp(), Qt::LeftButton, Qt::NoModifier, at(c.dragTo.X, c.dragTo.Y));
    EXPECT_EQ(grid->MouseSelectStart, -1);
    // A move after the release drags nothing.
    move(at(1, 1));
    EXPECT_EQ(grid->Selection(), c.selection);
}

const FixedDragCase kFixedDrags[] = {
    {"RowsDown", {0, 2}, {0, 4}, {1, 2, 4, 4}},
    {"RowsUpFromTheStart", {0, 4}, {3, 2}, {1, 2, 4, 4}},
    {"ColumnsRight", {2, 0}, {4, 0}, {2, 1, 4, 5}},
    {"ColumnsLeftStopAtTheFixedColumn", {3, 0}, {0, 0}, {1, 1, 3, 5}},
};
INSTANTIATE_TEST_SUITE_P(Cases, FixedDrag, ::testing::ValuesIn(kFixedDrags), CaseName());

// ----- what a press would select -----

struct PressModeCase {
    const char* name;
    bool allSelect;
    bool rowSelect;
    bool colSelect;
    TGridCoord over;
    TMouseSelectMode mode;
};

class PressMode : public HoverGrid, public ::testing::WithParamInterface<PressModeCase> {};

TEST_P(PressMode, PointerShowsWhatAPressWouldSelect)
{
    const PressModeCase& c = GetParam();
    grid->MouseActions.AllSelect = c.allSelect;
    grid->MouseActions.RowSelect = c.rowSelect;
    grid->MouseActions.ColSelect = c.colSelect;
    move(at(c.over.X, c.over.Y));
    EXPECT_EQ(grid->mouseSelectMode(), c.mode);
    EXPECT_EQ(vp()->cursor().shape() == Qt::BitmapCursor, c.mode != TMouseSelectMode::msNormal);
}

const PressModeCase kPressModes[] = {
    {"CornerSelectsAll", true, false, false, {0, 0}, TMouseSelectMode::msAll},
    {"HeaderSelectsTheColumn", false, false, true, {2, 0}, TMouseSelectMode::msColumn},
    {"RowHeaderSelectsTheRow", false, true, false, {0, 3}, TMouseSelectMode::msRow},
    {"BodyCellIsNormal", true, true, true, {2, 3}, TMouseSelectMode::msNormal},
    {"HeaderWithoutColumnSelect", true, true, false, {2, 0}, TMouseSelectMode::msNormal},
};
INSTANTIATE_TEST_SUITE_P(Cases, PressMode, ::testing::ValuesIn(kPressModes), CaseName());

// ----- range selection that may edit -----

struct RangeEditCase {
    const char* name;
    TGridRect selection;
    TGridCoord press;
    bool stillEditing;
};

class RangeEditPress : public HoverGrid, public ::testing::WithParamInterface<RangeEditCase> {};

TEST_P(RangeEditPress, PressOutsideTheSelectionSelectsInsteadOfEditing)
{
    const RangeEditCase& c = GetParam();
    grid->SetOptions(grid->Options() | goRangeSelect | goEditing);
    grid->MouseActions.RangeSelectAndEdit = true;
    grid->SelectCells(c.selection.Left, c.selection.Top, c.selection.Right, c.selection.Bottom);
    QTest::mousePress(vp(), Qt::LeftButton, Qt::NoModifier, at(c.press.X, c.press.Y));
    EXPECT_EQ(grid->Options().testFlag(goEditing), c.stillEditing);
    QTest::mouseRelease(vp(), Qt::LeftButton, Qt::NoModifier, at(c.press.X, c.press.Y));
}

const RangeEditCase kRangeEdits[] = {
    {"OneCellSelectionHoldsItsCell", {2, 2, 2, 2}, {2, 2}, true},
    {"LastColumnAndRowAreInside", {1, 1, 3, 3}, {3, 3}, true},
    {"CornersInEitherOrder", {3, 3, 1, 1}, {1, 3}, true},
    {"OutsideSwitchesEditingOff", {1, 1, 2, 2}, {3, 3}, false},
};
INSTANTIATE_TEST_SUITE_P(Cases, RangeEditPress, ::testing::ValuesIn(kRangeEdits), CaseName());

// ----- sizing -----

TEST_F(HoverGrid, ColumnSizingReportsTheSizeWhileDraggingAndHintsIt)
{
    grid->SetOptions(grid->Options() | goColSizing);
    grid->HintShowSizing = true;
    std::vector<std::pair<int, int>> sizing;
    grid->OnColumnSizing = [&](QObject*, int c, int w) { sizing.push_back({c, w}); };
    const TRect r = grid->CellRect(1, 0);
    const QPoint border(r.Right - 1, r.Top + 10);
    QTest::mousePress(vp(), Qt::LeftButton, Qt::NoModifier, border);
    ASSERT_EQ(grid->GridState(), gsColSizing);
    move(border + QPoint(25, 0), Qt::LeftButton);
    move(border + QPoint(-20, 0), Qt::LeftButton);
    ASSERT_EQ(sizing.size(), 2u);
    EXPECT_EQ(sizing[0], std::make_pair(1, 85));
    EXPECT_EQ(sizing[1], std::make_pair(1, 40));
    EXPECT_EQ(QToolTip::text(), QStringLiteral("cw=<b>40</b>"));
    QTest::mouseRelease(vp(), Qt::LeftButton, Qt::NoModifier, border + QPoint(-20, 0));
    EXPECT_EQ(grid->ColWidths(1), 40);
    EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 2000));
}

struct FixedSizeCase {
    const char* name;
    bool sizeFixedCol;
    int releaseX;   // -1: beyond the viewport's right edge
    int updatedTo;  // 0: OnUpdateColumnSize leaves the width
    int width;      // of fixed column 0 afterwards
    std::vector<int> ended;
};

class FixedColumnSize : public HoverGrid, public ::testing::WithParamInterface<FixedSizeCase> {};

TEST_P(FixedColumnSize, DraggedBorderSetsTheWidthWithTheLineShownMeanwhile)
{
    const FixedSizeCase& c = GetParam();
    grid->MouseActions.SizeFixedCol = c.sizeFixedCol;
    std::vector<int> ended;
    grid->OnEndColumnSize = [&](QObject*, int col) { ended.push_back(col); };
    grid->OnUpdateColumnSize = [&](QObject*, int, int& w) {
        if (c.updatedTo > 0)
            w = c.updatedTo;
    };
    const QPoint border(grid->ColWidths(0) - 1, 10);
    move(border);
    EXPECT_EQ(vp()->cursor().shape() == Qt::SplitHCursor, c.sizeFixedCol);
    const int releaseX = c.releaseX < 0 ? vp()->width() + 20 : c.releaseX;
    QTest::mousePress(vp(), Qt::LeftButton, Qt::NoModifier, border);
    EXPECT_EQ(grid->sizingFixedCol(), c.sizeFixedCol);
    move(QPoint(releaseX, 10), Qt::LeftButton);
    EXPECT_EQ(grid->colSizingLine().has_value(), c.sizeFixedCol);
    QTest::mouseRelease(vp(), Qt::LeftButton, Qt::NoModifier, QPoint(releaseX, 10));
    EXPECT_FALSE(grid->sizingFixedCol());
    EXPECT_FALSE(grid->colSizingLine().has_value());
    EXPECT_EQ(grid->ColWidths(0), c.width);
    EXPECT_EQ(ended, c.ended);
}

const FixedSizeCase kFixedSizes[] = {
    {"OffByDefault", false, 80, 0, 60, {}},
    {"ReleasedAtEighty", true, 80, 0, 80, {0}},
    {"FormCorrectsTheWidth", true, 80, 50, 50, {0}},
    {"ReleasedBeyondTheGridIsDropped", true, -1, 0, 60, {}},
};
INSTANTIATE_TEST_SUITE_P(Cases, FixedColumnSize, ::testing::ValuesIn(kFixedSizes), CaseName());

// ----- scrolling -----

class ScrollGrid : public HoverGrid {
protected:
    void SetUp() override
    {
        HoverGrid::SetUp();
        grid->SetRowCount(200);
        grid->SetScrollBars(ssBoth);
        QApplication::processEvents();
    }
};

struct ThumbCase {
    const char* name;
    TExtStringGrid::TScrollHintType hints;
    bool synch;
    bool ownText;  // OnScrollHint rewrites the text
};

class ThumbDrag : public ScrollGrid, public ::testing::WithParamInterface<ThumbCase> {};

TEST_P(ThumbDrag, HintAndSynchronousScroll)
{
    const ThumbCase& c = GetParam();
    grid->ScrollHints = c.hints;
    grid->ScrollSynch = c.synch;
    if (c.ownText)
        grid->OnScrollHint = [](QObject*, int row, QString& text) {
            text = QStringLiteral("line %1").arg(row);
        };
    QScrollBar* bar = grid->verticalScrollBar();
    QToolTip::hideText();
    const int top = grid->TopRow();
    bar->setSliderDown(true);
    bar->setSliderPosition(64);
    const int row = grid->geometryModel().rowFromThumb(64);
    ASSERT_GT(row, 50);
    const bool hint = c.hints == TExtStringGrid::shBoth || c.hints == TExtStringGrid::shVertical;
    if (hint)
        EXPECT_EQ(QToolTip::text(), c.ownText ? QStringLiteral("line %1").arg(row)
                                              : QStringLiteral("Row : %1").arg(row));
    else
        EXPECT_FALSE(QToolTip::isVisible());
    EXPECT_EQ(grid->TopRow(), c.synch ? row : top);
    bar->setSliderDown(false);
    // The tooltip goes after the toolkit's short fade.
    EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 2000));
}

const ThumbCase kThumbs[] = {
    {"NeitherByDefault", TExtStringGrid::shNone, false, false},
    {"HintOnly", TExtStringGrid::shBoth, false, false},
    {"HorizontalHintsLeaveTheVerticalBar", TExtStringGrid::shHorizontal, false, false},
    {"FormsOwnHintText", TExtStringGrid::shVertical, false, true},
    {"SynchFollowsTheThumb", TExtStringGrid::shNone, true, false},
};
INSTANTIATE_TEST_SUITE_P(Cases, ThumbDrag, ::testing::ValuesIn(kThumbs), CaseName());

TEST_F(ScrollGrid, PartnerGridFollowsOnlyTheDirectionsAsked)
{
    TExtStringGrid partner(window.get());
    partner.SetRowCount(200);
    partner.SetColCount(20);
    partner.setFixedSize(300, 132);
    grid->SetColCount(20);
    grid->SyncGrid.SetGrid(&partner);
    partner.SyncGrid.SetGrid(grid);
    grid->SyncGrid.ScrollVertical = true;
    partner.SyncGrid.ScrollVertical = true;
    grid->SetTopRow(40);
    EXPECT_EQ(partner.TopRow(), 40);
    partner.SetTopRow(12);
    EXPECT_EQ(grid->TopRow(), 12);
    grid->SetLeftCol(5);
    EXPECT_EQ(partner.LeftCol(), 1);
    grid->SyncGrid.SetGrid(nullptr);
    partner.SyncGrid.SetGrid(nullptr);
}

struct RowFollowCase {
    const char* name;
    bool selectionRow;
    bool byKey;  // else by a click on row 4
    int partnerRow;
};

class RowFollow : public HoverGrid, public ::testing::WithParamInterface<RowFollowCase> {};

TEST_P(RowFollow, PartnerRowFollowsTheUsersMoveOnlyWhenAsked)
{
    const RowFollowCase& c = GetParam();
    TExtStringGrid partner;
    partner.SetColCount(5);
    partner.SetRowCount(6);
    grid->SyncGrid.SetGrid(&partner);
    grid->SyncGrid.SelectionRow = c.selectionRow;
    grid->setFocus(Qt::OtherFocusReason);
    if (c.byKey) {
        grid->FocusCell(1, 3);
        QTest::keyClick(grid, Qt::Key_Down);
        ASSERT_EQ(grid->Row(), 4);
    } else {
        QTest::mouseClick(vp(), Qt::LeftButton, Qt::NoModifier, at(2, 4));
        ASSERT_EQ(grid->Row(), 4);
    }
    EXPECT_EQ(partner.Row(), c.partnerRow);
    grid->SyncGrid.SetGrid(nullptr);
}

const RowFollowCase kRowFollows[] = {
    {"KeyMovesThePartner", true, true, 4},
    {"ClickMovesThePartner", true, false, 4},
    {"NotAskedStaysPut", false, true, 1},
};
INSTANTIATE_TEST_SUITE_P(Cases, RowFollow, ::testing::ValuesIn(kRowFollows), CaseName());

struct ColFollowCase {
    const char* name;
    bool selectionColumn;
    bool byKey;  // else by the Col writer
    int partnerCol;
};

class ColFollow : public HoverGrid, public ::testing::WithParamInterface<ColFollowCase> {};

TEST_P(ColFollow, PartnerColumnFollowsOnlyWhenAsked)
{
    const ColFollowCase& c = GetParam();
    TExtStringGrid partner;
    partner.SetColCount(5);
    partner.SetRowCount(6);
    grid->SyncGrid.SetGrid(&partner);
    grid->SyncGrid.SelectionColumn = c.selectionColumn;
    grid->setFocus(Qt::OtherFocusReason);
    grid->FocusCell(2, 3);
    if (c.byKey)
        QTest::keyClick(grid, Qt::Key_Right);
    else
        grid->SetCol(3);
    ASSERT_EQ(grid->Col(), 3);
    EXPECT_EQ(partner.Col(), c.partnerCol);
    grid->SyncGrid.SetGrid(nullptr);
}

const ColFollowCase kColFollows[] = {
    {"KeyMovesThePartner", true, true, 3},
    {"WriterMovesThePartner", true, false, 3},
    {"NotAskedStaysPut", false, false, 1},
};
INSTANTIATE_TEST_SUITE_P(Cases, ColFollow, ::testing::ValuesIn(kColFollows), CaseName());

TEST_F(HoverGrid, DropDownRelaysReportTheCurrentCell)
{
    grid->FocusCell(3, 2);
    std::vector<std::vector<int>> calls;
    grid->OnDropDownHeaderButtonClick = [&](QObject*, int c, int r, int b) {
        calls.push_back({0, c, r, b});
    };
    grid->OnDropDownFooterButtonClick = [&](QObject*, int c, int r, int b) {
        calls.push_back({1, c, r, b});
    };
    grid->DoDropDownHeaderButtonClick(2);
    grid->DoDropDownFooterButtonClick(0);
    EXPECT_EQ(calls, (std::vector<std::vector<int>>{{0, 3, 2, 2}, {1, 3, 2, 0}}));
    grid->MemoDropDownChange(QStringLiteral("two\nlines"));
    EXPECT_EQ(grid->Cells(3, 2), QStringLiteral("two\nlines"));
}

}  // namespace
}  // namespace zfw
