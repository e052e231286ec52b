// The column grid's column popup menus (clicked as a user would), the filter list a column's
// Filter entries make, and the grid's version.
//
// Popup fixture: a column grid of 5 real columns (real column 1 hidden, so display column d
// shows real column d + 1 from d = 1 on), 5 rows, one fixed row and column, in a shown window.
// The item of real column 3 (display 2) has a popup menu.

#include "grid/ColumnGrid.h"

#include "support/CaseName.h"

#include "GridWindowTestSupport.h"

#include <QApplication>
#include <QMenu>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace zfw {
namespace {

using test::CaseName;
using P = TColumnPopupType;

constexpr int kPopupCol = 3;
constexpr int kPopupDCol = 2;

struct PopupCase {
    const char* name;
    P type;
    Qt::MouseButton button;
    int row;
    bool fires;
    bool opens;
};

const PopupCase kPopups[] = {
    {"RightClickOnTheHeader", P::cpFixedCellsRClick, Qt::RightButton, 0, true, true},
    // The event fires for the button, also where the row kind keeps the menu closed.
    {"RightClickOnABodyCellOfAHeaderPopup", P::cpFixedCellsRClick, Qt::RightButton, 2, true, false},
    {"LeftClickOfARightClickPopup", P::cpFixedCellsRClick, Qt::LeftButton, 0, false, false},
    {"LeftClickOnABodyCell", P::cpNormalCellsLClick, Qt::LeftButton, 2, true, true},
    {"LeftClickOnTheHeaderOfABodyPopup", P::cpNormalCellsLClick, Qt::LeftButton, 0, true, false},
    {"AllCellsLeftOnTheHeader", P::cpAllCellsLClick, Qt::LeftButton, 0, true, true},
    {"AllCellsRightOnABodyCell", P::cpAllCellsRClick, Qt::RightButton, 3, true, true},
    {"AllCellsRightNotForTheLeftButton", P::cpAllCellsRClick, Qt::LeftButton, 3, false, false},
};

class PopupTest : public ::testing::TestWithParam<PopupCase> {
protected:
    void SetUp() override
    {
        window = std::make_unique<QWidget>();
        grid = test::addSmallGrid<TExtColumnGrid>(*window, 5, 5, QSize(320, 120));
        grid->HideColumn(1);
        menu = new QMenu(window.get());
        menu->addAction("Sort");
        grid->Columns()[kPopupCol]->SetColumnPopup(menu);
        grid->OnColumnPopup = [this](QObject*, int c, int r, QMenu* m) {
            fired.push_back({c, r});
            EXPECT_EQ(m, menu);
        };
        ASSERT_TRUE(test::showActive(*window, *grid));
    }
    void TearDown() override
    {
        if (menu)
            menu->hide();
    }

    std::unique_ptr<QWidget> window;
    TExtColumnGrid* grid = nullptr;
    QMenu* menu = nullptr;
    std::vector<std::pair<int, int>> fired;
};

TEST_P(PopupTest, ClickFiresTheEventAndOpensTheMenuWhereTheTypeSays)
{
    const PopupCase& c = GetParam();
    grid->Columns()[kPopupCol]->SetColumnPopupType(c.type);
    const TRect r = grid->CellRect(kPopupDCol, c.row);
    QTest::mouseClick(grid->viewport(), c.button, Qt::NoModifier, QPoint(r.Left + 10, r.Top + 8));
    QApplication::processEvents();
    ASSERT_EQ(fired.size(), c.fires ? 1u : 0u);
    if (c.fires) {
        EXPECT_EQ(fired[0].first, kPopupDCol);
        EXPECT_EQ(fired[0].second, c.row);
    }
    EXPECT_EQ(menu->isVisible(), c.opens);
    if (c.opens) {
        // Below the cell, at its left edge.
        EXPECT_EQ(menu->pos(), grid->viewport()->mapToGlobal(QPoint(r.Left, r.Bottom)));
    }
}

INSTANTIATE_TEST_SUITE_P(Clicks, PopupTest, ::testing::ValuesIn(kPopups), CaseName());

TEST(ColumnGridPopupTest, ColumnWithoutAMenuFiresNothing)
{
    QWidget window;
    auto* grid = test::addSmallGrid<TExtColumnGrid>(window, 5, 5, QSize(320, 120));
    grid->Columns()[2]->SetColumnPopupType(P::cpAllCellsRClick);
    int fired = 0;
    grid->OnColumnPopup = [&](QObject*, int, int, QMenu*) { ++fired; };
    ASSERT_TRUE(test::showActive(window, *grid));
    const TRect r = grid->CellRect(2, 2);
    QTest::mouseClick(grid->viewport(), Qt::RightButton, Qt::NoModifier,
                      QPoint(r.Left + 10, r.Top + 8));
    EXPECT_EQ(fired, 0);
    // A menu that has gone is forgotten by its item.
    auto* menu = new QMenu;
    grid->Columns()[2]->SetColumnPopup(menu);
    delete menu;
    EXPECT_EQ(grid->Columns()[2]->ColumnPopup(), nullptr);
    QTest::mouseClick(grid->viewport(), Qt::RightButton, Qt::NoModifier,
                      QPoint(r.Left + 10, r.Top + 8));
    EXPECT_EQ(fired, 0);
}

// ----- the column filter list -----

TEST(ColumnGridFilterTest, FilterEntriesListTheirNamesAndOtherColumnsKeepTheGridsList)
{
    TExtColumnGrid g;
    g.SetColCount(4);
    g.SetRowCount(4);
    g.SetFixedRows(1);
    g.SetFixedCols(1);
    g.FilterDropDownAuto = true;
    g.SetCellEx(1, 1, "b");
    g.SetCellEx(1, 2, "a");
    g.SetCellEx(2, 1, "x");
    g.Columns()[2]->SetFilter({"Big=>100", "Small=<10", "Zero"});

    EXPECT_TRUE(g.BuildColumnFilterList(2));
    EXPECT_EQ(g.filterValues(), QStringList({"Big", "Small", "Zero"}));

    // Without Filter entries the string grid's own list stays, but the answer is false.
    EXPECT_FALSE(g.BuildColumnFilterList(1));
    EXPECT_TRUE(g.filterValues().contains("a"));
    EXPECT_TRUE(g.filterValues().contains("b"));
    EXPECT_FALSE(g.filterValues().contains("Big"));
    EXPECT_FALSE(g.BuildColumnFilterList(9));
}

TEST(ColumnGridVersionTest, AnswersItsOwnVersion)
{
    TExtColumnGrid g;
    EXPECT_EQ(g.GetVersionNr(), 0x03010301);
    EXPECT_EQ(g.GetVersionString(), "3.1.3.1 Aug, 2012");
}

}  // namespace
}  // namespace zfw
