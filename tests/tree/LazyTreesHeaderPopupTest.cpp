// The header's column menu: its order, the last visible column kept, hidden items, showing and
// hiding columns and the resize item.

#include "HeaderFixture.h"
#include "support/CaseName.h"

#include "tree/LazyTreesHeaderPopup.h"

#include <QAction>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace zfw::test {
namespace {

struct MenuFixture : HeaderFixture {
    std::unique_ptr<TLTHeaderPopupMenu> menu = std::make_unique<TLTHeaderPopupMenu>();
    MenuFixture() { menu->SetPopupComponent(tree.get()); }
    ~MenuFixture() { menu->close(); }
    void popup() { menu->Popup(QPoint(10, 10)); }
    // The column items (separator and resize item left out).
    std::vector<QAction*> items() const
    {
        std::vector<QAction*> out;
        for (QAction* a : menu->actions())
            if (!a->isSeparator() && a->objectName() != TLTHeaderPopupMenu::ResizeToFitItemName)
                out.push_back(a);
        return out;
    }
    QStringList texts() const
    {
        QStringList out;
        for (QAction* a : items())
            out << a->text();
        return out;
    }
    void hide(int column)
    {
        col(column).SetOptions(col(column).Options() - TLTColumnOptions{coVisible});
    }
};

struct OrderCase {
    const char* name;
    TLTHeaderPopupOptions options;
    QStringList expected;
};

const OrderCase kOrderCases[] = {
    {"DisplayOrder", {}, {"Gamma", "Alpha", "Beta"}},
    {"OriginalOrder", {poOriginalOrder}, {"Alpha", "Beta", "Gamma"}},
};

class HeaderMenuOrder : public ::testing::TestWithParam<OrderCase> {};

TEST_P(HeaderMenuOrder, ListsColumnsByPositionOrByIndex)
{
    const OrderCase& c = GetParam();
    MenuFixture f;
    f.columns.setPositions({2, 0, 1});
    f.menu->SetOptions(c.options);
    f.popup();
    EXPECT_EQ(f.texts(), c.expected);
    for (QAction* a : f.items()) {
        EXPECT_TRUE(a->isCheckable());
        EXPECT_TRUE(a->isChecked());
        EXPECT_TRUE(a->isEnabled());
    }
}

INSTANTIATE_TEST_SUITE_P(Tree, HeaderMenuOrder, ::testing::ValuesIn(kOrderCases), CaseName());

struct LastVisibleCase {
    const char* name;
    TLTHeaderPopupOptions options;
    bool hideColumnOneItem;
    bool onlyVisibleEnabled;
};

const LastVisibleCase kLastVisibleCases[] = {
    {"LastVisibleCannotBeHidden", {}, false, false},
    {"AllowHideAllKeepsItEnabled", {poAllowHideAll}, false, true},
};

class HeaderMenuLastVisible : public ::testing::TestWithParam<LastVisibleCase> {};

TEST_P(HeaderMenuLastVisible, TheOnlyVisibleColumnsItem)
{
    const LastVisibleCase& c = GetParam();
    MenuFixture f;
    f.hide(0);
    f.hide(2);
    f.menu->SetOptions(c.options);
    f.popup();
    const std::vector<QAction*> items = f.items();
    ASSERT_EQ(items.size(), 3u);
    EXPECT_TRUE(items[1]->isChecked());
    EXPECT_EQ(items[1]->isEnabled(), c.onlyVisibleEnabled);
    EXPECT_FALSE(items[0]->isChecked());
    EXPECT_TRUE(items[0]->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(Tree, HeaderMenuLastVisible, ::testing::ValuesIn(kLastVisibleCases),
                         CaseName());

TEST(TreeHeaderMenu, AHiddenItemStillCountsItsColumnAsVisible)
{
    MenuFixture f;
    f.hide(2);
    f.menu->OnAddHeaderPopupItem = [](TBaseLazyTree&, TColumnIndex column, TAddPopupItemType& cmd) {
        if (column == 1)
            cmd = apHidden;
    };
    f.popup();
    EXPECT_EQ(f.texts(), (QStringList{"Alpha", "Gamma"}));
    // Columns 0 and 1 are visible: column 0's item is not the last visible one.
    EXPECT_TRUE(f.items()[0]->isEnabled());
}

TEST(TreeHeaderMenu, ClickingAnItemShowsOrHidesItsColumnAndTellsTheTree)
{
    HeaderFixture f;
    f.header.SetOptions(f.header.Options() + TLTHeaderOptions{hoAutoColumnPopupMenu});
    std::vector<std::pair<TColumnIndex, bool>> changes;
    f.tree->OnColumnVisibilityChanged = [&](TBaseLazyTree&, TColumnIndex column, bool visible) {
        changes.emplace_back(column, visible);
    };
    QTest::mouseClick(&f.band(), Qt::RightButton, {}, QPoint(50, 8));
    TLTHeaderPopupMenu* menu = f.header.columnPopupMenu();
    ASSERT_NE(menu, nullptr);
    menu->actions()[0]->trigger();
    EXPECT_FALSE(f.col(0).IsVisible());
    menu->actions()[0]->trigger();
    EXPECT_TRUE(f.col(0).IsVisible());
    EXPECT_EQ(changes, (std::vector<std::pair<TColumnIndex, bool>>{{0, false}, {0, true}}));
    menu->close();
}

TEST(TreeHeaderMenu, TheResizeItemFitsAllColumnsOnce)
{
    MenuFixture f;
    f.fillRows(3);
    int fits = 0;
    f.tree->OnBeforeAutoFitColumns = [&](TLTHeader&, TSmartAutoFitType&) { ++fits; };
    f.menu->SetOptions({poResizeToFitItem});
    f.popup();
    const QList<QAction*> actions = f.menu->actions();
    ASSERT_GE(actions.size(), 2);
    EXPECT_EQ(actions[0]->objectName(), QLatin1String(TLTHeaderPopupMenu::ResizeToFitItemName));
    EXPECT_EQ(actions[0]->text(), QStringLiteral("&Resize All Columns To Fit"));
    EXPECT_TRUE(actions[1]->isSeparator());
    actions[0]->trigger();
    EXPECT_EQ(fits, 1);
}

}  // namespace
}  // namespace zfw::test
