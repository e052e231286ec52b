// Fitting every cell at once: columns to their widest cell, rows growing to their highest, the
// fixed cells only when asked, the limits, SizeGrowOnly, and one repaint for the whole fit.
//
// Fixture: a 4 x 4 string grid, not shown (one fixed row and column, columns of 60 px, rows
// of 22 px); real column 2 is shown as display column 2 unless a case hides column 1.

#include "grid/ExtGrid.h"

#include <gtest/gtest.h>

#include <QFontMetrics>

namespace zfw {
namespace {

class AutoSizeCells : public ::testing::Test {
protected:
    void SetUp() override
    {
        grid.SetColCount(4);
        grid.SetRowCount(4);
        grid.SetFixedCols(1);
        grid.SetFixedRows(1);
        grid.SetDefaultColWidth(60);
        grid.SetDefaultRowHeight(22);
        grid.SetCellEx(1, 2, kWide);
        grid.SetCellEx(2, 1, QStringLiteral("x"));
        grid.SetCellEx(2, 0, kWideHeader);
    }
    int fit(const QString& s, bool fixed = false) const
    {
        const QFontMetrics fm(fixed ? grid.FixedFont : grid.font());
        return fm.horizontalAdvance(s) + kPadding + grid.XYOffset.x();
    }

    static constexpr int kPadding = 4;
    const QString kWide = QStringLiteral("a body text wider than sixty pixels");
    const QString kWideHeader = QStringLiteral("a header wider than sixty pixels");
    TExtStringGrid grid;
};

TEST_F(AutoSizeCells, ColumnsTakeTheirWidestNormalCellAndRowsNeverShrink)
{
    grid.AutoSizeCells(false, kPadding, kPadding);
    EXPECT_EQ(grid.ColWidths(0), 60) << "fixed column untouched";
    EXPECT_EQ(grid.ColWidths(1), fit(kWide));
    EXPECT_EQ(grid.ColWidths(2), fit(QStringLiteral("x"))) << "narrowed; header not measured";
    EXPECT_EQ(grid.ColWidths(3), fit(QString())) << "an empty column keeps only the insets";
    for (int r = 0; r < 4; ++r)
        EXPECT_EQ(grid.RowHeights(r), 22) << "row " << r;
}

TEST_F(AutoSizeCells, FixedCellsAreMeasuredOnlyWhenAsked)
{
    grid.SetCellEx(0, 3, QStringLiteral("row title"));
    grid.AutoSizeCells(true, kPadding, kPadding);
    EXPECT_EQ(grid.ColWidths(0), fit(QStringLiteral("row title"), true));
    EXPECT_EQ(grid.ColWidths(2), fit(kWideHeader, true));
}

TEST_F(AutoSizeCells, RowsGrowToTheirHighestCell)
{
    const int padY = 30;
    grid.AutoSizeCells(false, kPadding, padY);
    const int expected = QFontMetrics(grid.font()).height() + padY + grid.XYOffset.y();
    ASSERT_GT(expected, 22);
    EXPECT_EQ(grid.RowHeights(1), expected);
    EXPECT_EQ(grid.RowHeights(2), expected);
    EXPECT_EQ(grid.RowHeights(3), padY + grid.XYOffset.y()) << "an empty row: the insets";
    EXPECT_EQ(grid.RowHeights(0), 22) << "fixed row not measured";
}

TEST_F(AutoSizeCells, LimitsAndGrowOnlyBoundTheFit)
{
    grid.MaxColWidth = 100;
    grid.MinColWidth = 40;
    ASSERT_GT(fit(kWide), 100);
    grid.AutoSizeCells(false, kPadding, kPadding);
    EXPECT_EQ(grid.ColWidths(1), 100);
    EXPECT_EQ(grid.ColWidths(2), 40);

    grid.SetColWidths(2, 80);
    grid.SizeGrowOnly = true;
    grid.AutoSizeCells(false, kPadding, kPadding);
    EXPECT_EQ(grid.ColWidths(2), 80) << "a wider column stays with SizeGrowOnly";
}

TEST_F(AutoSizeCells, HiddenColumnsAreSkippedAndTextsFollowTheirColumn)
{
    grid.HideColumn(1);
    grid.AutoSizeCells(false, kPadding, kPadding);
    // Display column 1 now shows real column 2.
    EXPECT_EQ(grid.ColWidths(1), fit(QStringLiteral("x")));
}

TEST_F(AutoSizeCells, MergedCellsDoNotWidenTheirFirstColumn)
{
    grid.MergeCells(1, 2, 2, 1);
    grid.AutoSizeCells(false, kPadding, kPadding);
    EXPECT_EQ(grid.ColWidths(1), fit(QString())) << "only its empty cells were measured";
}

}  // namespace
}  // namespace zfw
