// Rows hidden by filter levels in the cell store, mixed with rows hidden directly: which rows
// show afterwards, in which order, with which texts and heights, and how the indexes map.
//
// Fixture: 3 columns by 8 rows, one fixed row; real row r holds "r<r>" in column 0, "x<r>" in
// column 2 and is 20 + r pixels high.

#include "grid/CellStore.h"

#include "support/CaseName.h"

#include <gtest/gtest.h>

#include <vector>

namespace zfw {
namespace {

using test::CaseName;

struct Step {
    char op;                // F HideRowList, U UnHideRowList, H HideRows, S UnHideRows
    std::vector<int> args;  // F: the display rows; H, S: from and to (real rows)
};

struct FilterCase {
    const char* name;
    std::vector<Step> steps;
    std::vector<int> shown;  // real rows shown afterwards, in display order
    int filterLevel;
};

class FilterLevels : public ::testing::TestWithParam<FilterCase> {};

TEST_P(FilterLevels, RowsComeAndGoWithTheirTextsAndHeights)
{
    const FilterCase& fc = GetParam();
    CellStore s(3, 8);
    for (int r = 0; r < 8; ++r) {
        s.SetCellEx(0, r, QStringLiteral("r%1").arg(r));
        s.SetCellEx(2, r, QStringLiteral("x%1").arg(r));
        s.SetRowHeights(r, 20 + r);
    }
    for (const Step& step : fc.steps) {
        switch (step.op) {
        case 'F': s.HideRowList(step.args); break;
        case 'U': s.UnHideRowList(); break;
        case 'H': s.HideRows(step.args[0], step.args[1]); break;
        case 'S': s.UnHideRows(step.args[0], step.args[1]); break;
        }
        QString why;
        ASSERT_TRUE(s.checkConsistency(&why)) << "after " << step.op << ": " << why.toStdString();
    }

    EXPECT_EQ(s.FilterLevel(), fc.filterLevel);
    ASSERT_EQ(s.RowCount(), int(fc.shown.size()));
    EXPECT_EQ(s.TotalRowCount(), 8);
    for (int d = 0; d < s.RowCount(); ++d) {
        const int real = fc.shown[std::size_t(d)];
        EXPECT_EQ(s.GetCellEx(0, d), QStringLiteral("r%1").arg(real)) << "display row " << d;
        EXPECT_EQ(s.GetCellEx(2, d), QStringLiteral("x%1").arg(real)) << "display row " << d;
        EXPECT_EQ(s.RowHeights(d), 20 + real) << "the height moves with its row, display " << d;
        EXPECT_EQ(s.RealRowIndex(d), real);
        EXPECT_EQ(s.DisplRowIndex(real), d);
        EXPECT_FALSE(s.IsHiddenRow(real));
    }
    // Every row not shown is in the store with its texts.
    for (int real = 0; real < 8; ++real) {
        if (std::find(fc.shown.begin(), fc.shown.end(), real) != fc.shown.end())
            continue;
        EXPECT_TRUE(s.IsHiddenRow(real)) << real;
        const std::vector<QString> texts = s.hiddenRowTexts(real);
        ASSERT_EQ(texts.size(), 3u) << real;
        EXPECT_EQ(texts[0], QStringLiteral("r%1").arg(real));
        EXPECT_EQ(texts[2], QStringLiteral("x%1").arg(real));
    }
}

const FilterCase kFilterCases[] = {
    {"OneLevelHides", {{'F', {2, 4}}}, {0, 1, 3, 5, 6, 7}, 1},
    {"OneLevelRoundTrip", {{'F', {2, 4}}, {'U', {}}}, {0, 1, 2, 3, 4, 5, 6, 7}, 0},
    // The second list names display rows of the filtered grid: 1 is real 1, 3 is real 5.
    {"TwoLevels", {{'F', {2, 4}}, {'F', {1, 3}}}, {0, 3, 6, 7}, 2},
    {"TwoLevelsLastOneUndone", {{'F', {2, 4}}, {'F', {1, 3}}, {'U', {}}}, {0, 1, 3, 5, 6, 7}, 1},
    {"TwoLevelsBothUndone",
     {{'F', {2, 4}}, {'F', {1, 3}}, {'U', {}}, {'U', {}}},
     {0, 1, 2, 3, 4, 5, 6, 7},
     0},
    // Display 1 is real 2 and display 5 is real 6 once real 1 is hidden.
    {"FilterAfterADirectHide", {{'H', {1, 1}}, {'F', {1, 5}}}, {0, 3, 4, 5, 7}, 1},
    {"DirectlyHiddenRowOutlivesTheFilter",
     {{'H', {3, 3}}, {'F', {2}}, {'U', {}}},
     {0, 1, 2, 4, 5, 6, 7},
     0},
    {"DirectlyHiddenRowComesBackIntactAfterwards",
     {{'H', {3, 3}}, {'F', {2}}, {'U', {}}, {'U', {}}, {'S', {3, 3}}},
     {0, 1, 2, 3, 4, 5, 6, 7},
     0},
    {"DirectHideInsideAFilterLevel", {{'F', {2}}, {'H', {5, 6}}, {'U', {}}}, {0, 1, 2, 3, 4, 7}, 0},
    {"ListOutOfOrderRepeatedAndOutOfRange", {{'F', {5, 2, 2, -1, 99}}}, {0, 1, 3, 4, 6, 7}, 1},
    {"EmptyListStillALevel", {{'F', {}}}, {0, 1, 2, 3, 4, 5, 6, 7}, 1},
    {"UnHideRowListWithoutALevel", {{'U', {}}}, {0, 1, 2, 3, 4, 5, 6, 7}, 0},
    {"DirectUnhideTakesFilteredRowsBack",
     {{'F', {2, 4}}, {'S', {2, 4}}, {'U', {}}},
     {0, 1, 2, 3, 4, 5, 6, 7},
     0},
};
INSTANTIATE_TEST_SUITE_P(Grid, FilterLevels, ::testing::ValuesIn(kFilterCases), CaseName());

TEST(FilterLevelsMerges, AMergedAreaReachingIntoAFilteredRowIsSplit)
{
    CellStore s(3, 6);
    ASSERT_TRUE(s.MergeCells(1, 2, 2, 2));
    s.HideRowList({3});
    EXPECT_FALSE(s.IsMergedCell(1, 2));
    QString why;
    EXPECT_TRUE(s.checkConsistency(&why)) << why.toStdString();
    s.UnHideRowList();
    EXPECT_TRUE(s.checkConsistency(&why)) << why.toStdString();
}

}  // namespace
}  // namespace zfw
