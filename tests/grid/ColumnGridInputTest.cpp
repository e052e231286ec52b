// A column grid used with mouse and keys: data check-box columns toggle between their item's
// texts and never open an editor; a column sized by the user keeps its item's limits.
//
// Fixture: 6 real columns (real column 1 hidden, so display column d shows real column d + 1
// from d = 1 on), 6 rows, one fixed row and column, 60-pixel columns, in a shown window.
// Real column 3 (display 2) is a data check-box column with the texts "1"/"0".

#include "grid/ColumnGrid.h"
#include "grid/InplaceEdit.h"

#include "support/CaseName.h"

#include "GridWindowTestSupport.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace zfw {
namespace {

constexpr int kCheckCol = 3;   // real
constexpr int kCheckDCol = 2;  // display

class ColumnGridInput : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = std::make_unique<QWidget>();
        grid = test::addSmallGrid<TExtColumnGrid>(*window, 6, 6, {360, 132});
        TExtColumnGrid& g = *grid;
        TGridOptions o = g.Options();
        o.setFlag(goColSizing, true);
        g.SetOptions(o);
        g.Columns()[kCheckCol]->SetEditor(TEditorType::edDataCheckBox);
        g.Columns()[kCheckCol]->SetCheckTrue("1");
        g.Columns()[kCheckCol]->SetCheckFalse("0");
        for (int r = 1; r < 6; ++r)
            g.SetCellEx(kCheckCol, r, "0");
        g.HideColumn(1);
        g.Loaded();
        ASSERT_TRUE(test::showActive(*window, g));
        QApplication::processEvents();
    }

    QPoint centre(int dcol, int row) const
    {
        const TRect r = grid->CellRect(dcol, row);
        return QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    }
    bool anyEditorOpen() const
    {
        return grid->EditMode || (grid->NormalEdit() && grid->NormalEdit()->isVisible());
    }

    std::unique_ptr<QWidget> window;
    TExtColumnGrid* grid = nullptr;
};

TEST_F(ColumnGridInput, DataCheckBoxTogglesBetweenTheItemsTextsAndOpensNoEditor)
{
    int clicks = 0;
    int clickedCol = -1;
    bool clickedState = false;
    grid->OnCheckBoxClick = [&](QObject*, int c, int, bool state) {
        ++clicks;
        clickedCol = c;
        clickedState = state;
    };
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, centre(kCheckDCol, 2));
    EXPECT_EQ(grid->GetCellEx(kCheckCol, 2), "1");
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(clickedCol, kCheckDCol);
    EXPECT_TRUE(clickedState);
    EXPECT_FALSE(anyEditorOpen());

    // Space toggles back; F2, Enter, a typed character and a double click open nothing.
    grid->MoveCurrentCell(kCheckDCol, 2, true, true);
    QTest::keyClick(grid, Qt::Key_Space);
    EXPECT_EQ(grid->GetCellEx(kCheckCol, 2), "0");
    for (Qt::Key k : {Qt::Key_F2, Qt::Key_Return, Qt::Key_A}) {
        QTest::keyClick(grid, k);
        EXPECT_FALSE(anyEditorOpen()) << k;
    }
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, centre(kCheckDCol, 3));
    EXPECT_FALSE(anyEditorOpen());
    EXPECT_EQ(grid->GetCellEx(kCheckCol, 2), "0");

    // A read-only column does not toggle.
    grid->Columns()[kCheckCol]->SetReadOnly(true);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, centre(kCheckDCol, 4));
    EXPECT_EQ(grid->GetCellEx(kCheckCol, 4), "0");
}

struct UserSizeCase {
    const char* name;
    int minSize;
    int maxSize;
    int dragBy;
    int expected;
};

const UserSizeCase kUserSize[] = {
    {"MinSizeRaisesANarrowDrag", 30, 0, -50, 30},
    {"MaxSizeLowersAWideDrag", 0, 80, 60, 80},
    {"NoLimitsLeaveItFree", 0, 0, -50, 10},
};

class UserSizeTest : public ColumnGridInput, public ::testing::WithParamInterface<UserSizeCase> {};

TEST_P(UserSizeTest, DraggedWidthKeepsTheLimitsOfTheRealColumnsItem)
{
    const UserSizeCase& c = GetParam();
    // Display column 3 is real column 4; real column 3 has other limits that must not apply.
    grid->Columns()[4]->SetMinSize(c.minSize);
    grid->Columns()[4]->SetMaxSize(c.maxSize);
    grid->Columns()[3]->SetMinSize(55);
    grid->Columns()[3]->SetMaxSize(58);
    int reported = -1;
    grid->OnUpdateColumnSize = [&](QObject*, int col, int&) { reported = col; };
    const TRect r = grid->CellRect(3, 0);
    const QPoint from(r.Right - 1, 10);
    const QPoint to(from.x() + c.dragBy, 10);
    QTest::mousePress(grid->viewport(), Qt::LeftButton, Qt::NoModifier, from);
    QTest::mouseMove(grid->viewport(), to);
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, Qt::NoModifier, to);
    EXPECT_EQ(grid->ColWidths(3), c.expected);
    EXPECT_EQ(grid->Columns()[4]->cachedWidth(), c.expected);
    EXPECT_EQ(reported, 3);
    EXPECT_EQ(grid->ColWidths(2), 60);
}

INSTANTIATE_TEST_SUITE_P(Limits, UserSizeTest, ::testing::ValuesIn(kUserSize), test::CaseName());

}  // namespace
}  // namespace zfw
