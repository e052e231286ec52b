// Repainting of the grid as the screen sees it: the update lock on a real grid (shown, hidden,
// hidden while locked, nested, one EndUpdate too many), one paint pass at its end, and the
// repaint a cell property write asks for. The grids record every paint pass they get.
//
// Fixture: a 6 x 4 string grid (one fixed row and column, columns of 50 px, rows of 20 px),
// real column 2 hidden, real columns 3..4 of rows 1..2 merged: the area shows as display
// columns 2..3, client x 100..199, y 20..59.

#include "grid/ExtGrid.h"
#include "grid/GridDrawRecorder.h"

#include "support/CaseName.h"

#include <QApplication>
#include <QPainter>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace zfw {
namespace {

using test::CaseName;

// Paints through a recording canvas and keeps, per pass, the update rectangle and the texts.
class RecordingGrid : public TExtStringGrid {
public:
    struct Pass {
        QRect updateRect;
        std::vector<QString> texts;
    };
    std::vector<Pass> passes;

    void Paint(QPainter& painter, const QRect& updateRect) override
    {
        RecordingGridCanvas canvas(palette());
        paintCells(canvas, painter, updateRect);
        Pass pass{updateRect, {}};
        for (const GridDrawOp& op : canvas.opsOfKind(GridDrawOp::Text))
            pass.texts.push_back(op.text);
        passes.push_back(std::move(pass));
    }
};

class GridRepaint : public ::testing::Test {
protected:
    void SetUp() override
    {
        grid = std::make_unique<RecordingGrid>();
        grid->setFrameShape(QFrame::NoFrame);
        grid->SetScrollBars(ssNone);
        grid->SetColCount(6);
        grid->SetRowCount(4);
        grid->SetFixedCols(1);
        grid->SetFixedRows(1);
        grid->SetDefaultColWidth(50);
        grid->SetDefaultRowHeight(20);
        grid->setFixedSize(300, 100);
        grid->HideColumn(2);
        ASSERT_TRUE(grid->MergeCells(3, 1, 2, 2));
    }

    void showGrid()
    {
        grid->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(grid.get()));
        flush();
    }

    // Delivers the pending paint requests and answers the passes they made.
    std::vector<RecordingGrid::Pass> flush()
    {
        grid->passes.clear();
        QApplication::processEvents();
        QApplication::processEvents();
        return grid->passes;
    }

    std::unique_ptr<RecordingGrid> grid;
};

TEST_F(GridRepaint, ChangesUnderTheLockPaintNothingThenOnePassShowsThemAll)
{
    showGrid();
    grid->BeginUpdate();
    grid->SetCellEx(1, 1, QStringLiteral("first"));
    grid->SetCellEx(5, 3, QStringLiteral("second"));
    grid->SetColors(1, 2, 0x0000FF);
    grid->SetColWidths(1, 60);
    grid->SetRowHeights(2, 25);
    EXPECT_TRUE(flush().empty()) << "nothing may be painted while the lock is held";

    grid->EndUpdate();
    const auto passes = flush();
    ASSERT_EQ(passes.size(), 1u) << "the end of the lock paints once";
    EXPECT_EQ(passes[0].updateRect, QRect(0, 0, grid->ClientWidth(), grid->ClientHeight()));
    for (const char* text : {"first", "second"})
        EXPECT_NE(std::find(passes[0].texts.begin(), passes[0].texts.end(),
                            QString::fromLatin1(text)),
                  passes[0].texts.end())
            << text;
}

TEST_F(GridRepaint, PropertyWritersRepaintAtTheEndOfAStartUpdateLock)
{
    // StartUpdate leaves drawing on; the writers themselves stay quiet until the end.
    showGrid();
    grid->StartUpdate();
    grid->SetColors(1, 1, 0x00FF00);
    grid->SetFontStyles(1, 2, fsBold);
    EXPECT_TRUE(flush().empty());
    grid->EndUpdate();
    EXPECT_EQ(flush().size(), 1u);
}

// B BeginUpdate, S StartUpdate, E EndUpdate, R ResetUpdate, h hide the grid, s show it.
struct LockCase {
    const char* name;
    std::string ops;
    int count;       // lock depth afterwards
    bool drawingOn;  // updatesEnabled afterwards
};

class GridUpdateLockNesting : public GridRepaint, public ::testing::WithParamInterface<LockCase> {};

TEST_P(GridUpdateLockNesting, CountsAndFreesDrawing)
{
    const LockCase& lc = GetParam();
    for (char op : lc.ops) {
        switch (op) {
        case 'B': grid->BeginUpdate(); break;
        case 'S': grid->StartUpdate(); break;
        case 'E': grid->EndUpdate(); break;
        case 'R': grid->ResetUpdate(); break;
        case 'h': grid->hide(); break;
        case 's': showGrid(); break;
        }
    }
    EXPECT_EQ(grid->updateCount(), lc.count);
    EXPECT_EQ(grid->LockUpdate(), lc.count != 0);
    EXPECT_EQ(grid->updatesEnabled(), lc.drawingOn);

    // The grid shown afterwards: a cell write is painted exactly when no lock is left. A lock
    // that never ended would freeze the grid for good.
    if (!grid->isVisible())
        showGrid();
    grid->SetCellEx(1, 1, QStringLiteral("after"));
    EXPECT_EQ(!flush().empty(), lc.count == 0);
}

const LockCase kLockCases[] = {
    {"ShownBeginEnd", "sBE", 0, true},
    {"ShownNestedPairs", "sBBEE", 0, true},
    {"ShownNestedInnerEndKeepsDrawingOff", "sBBE", 1, false},
    {"ShownStartLeavesDrawingOn", "sS", 1, true},
    {"ShownMixedStartAndBegin", "sSBEE", 0, true},
    {"HiddenBeginEndCountsDown", "BE", 0, true},
    {"HiddenStartEndCountsDown", "SE", 0, true},
    {"HiddenBeginStaysCounted", "B", 1, true},
    {"HiddenBetweenBeginAndEnd", "sBhE", 0, true},
    {"ShownBetweenBeginAndEnd", "BsE", 0, true},
    {"ExtraEndStaysAtZero", "sEEBE", 0, true},
    {"ExtraEndThenBeginLocks", "sEEB", 1, false},
    {"ResetDropsEveryLevel", "sBBSR", 0, true},
};
INSTANTIATE_TEST_SUITE_P(Grid, GridUpdateLockNesting, ::testing::ValuesIn(kLockCases), CaseName());

// A property write repaints the written cell, or its whole merged area, and nothing when the
// cell is out of view or in a hidden column.
struct PropertyCase {
    const char* name;
    int ACol;  // real
    int ARow;
    QRect expected;  // empty: no pass at all
};

class GridPropertyRepaint : public GridRepaint,
                            public ::testing::WithParamInterface<PropertyCase> {};

TEST_P(GridPropertyRepaint, RepaintsTheCellOrItsArea)
{
    const PropertyCase& pc = GetParam();
    grid->SetRowCount(40);
    showGrid();
    const std::pair<const char*, std::function<void(TExtStringGrid&, int, int)>> writers[] = {
        {"colour", [](TExtStringGrid& g, int c, int r) { g.SetColors(c, r, 0x00FFFF); }},
        {"font colour", [](TExtStringGrid& g, int c, int r) { g.SetFontColors(c, r, 0xFF); }},
        {"font style", [](TExtStringGrid& g, int c, int r) { g.SetFontStyles(c, r, fsBold); }},
        {"read-only", [](TExtStringGrid& g, int c, int r) { g.SetReadOnly(c, r, true); }},
        {"alignment",
         [](TExtStringGrid& g, int c, int r) { g.SetAlignments(c, r, TAlignment::taCenter); }},
        {"check box",
         [](TExtStringGrid& g, int c, int r) { ASSERT_EQ(g.AddCheckBox(c, r, true, false), ""); }},
    };
    for (const auto& [what, write] : writers) {
        write(*grid, pc.ACol, pc.ARow);
        const auto passes = flush();
        if (pc.expected.isEmpty()) {
            EXPECT_TRUE(passes.empty()) << what;
            continue;
        }
        ASSERT_EQ(passes.size(), 1u) << what;
        EXPECT_EQ(passes[0].updateRect, pc.expected) << what;
    }
}

const PropertyCase kPropertyCases[] = {
    {"PlainCell", 1, 2, QRect(50, 40, 50, 20)},
    {"RealColumnBehindTheHiddenOne", 5, 1, QRect(200, 20, 50, 20)},
    {"BaseCellOfMergedArea", 3, 1, QRect(100, 20, 100, 40)},
    {"OtherCellOfMergedArea", 4, 2, QRect(100, 20, 100, 40)},
    {"FixedCell", 0, 3, QRect(0, 60, 50, 20)},
    {"RowBelowThePage", 1, 30, QRect()},
    {"HiddenColumn", 2, 1, QRect()},
};
INSTANTIATE_TEST_SUITE_P(Grid, GridPropertyRepaint, ::testing::ValuesIn(kPropertyCases),
                         CaseName());

}  // namespace
}  // namespace zfw
