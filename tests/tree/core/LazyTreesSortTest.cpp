// Sorting: stability against std::stable_sort on keys with many duplicates, both directions,
// relinking, cancelling, a comparison that raises, and automatic sorting.

#include "TreeFixture.h"
#include "support/CaseName.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace zfw {
namespace {

using test::CaseName;

// Nodes carry a key (compared) and their creation number (to check stability).
struct Keyed {
    int key;
    int serial;
};

struct SortFixture {
    LazyTreeModel tree;
    int comparisons = 0;

    SortFixture()
    {
        tree.SetNodeDataSize(int(sizeof(Keyed)));
        tree.SetAutoOptions(tree.options().AutoOptions - TLTAutoOptions{toAutoSort});
        tree.OnCompareNodes = [this](LazyTreeModel& t, PLazyNode a, PLazyNode b, TColumnIndex,
                                     int& result) {
            ++comparisons;
            const int ka = t.nodeData<Keyed>(a)->key;
            const int kb = t.nodeData<Keyed>(b)->key;
            result = ka < kb ? -1 : ka > kb ? 1 : 0;
        };
    }
    std::vector<Keyed> fill(PLazyNode parent, int n, int keys, unsigned seed)
    {
        std::mt19937 rng(seed);
        std::vector<Keyed> items;
        for (int i = 0; i < n; ++i) {
            Keyed k{int(rng() % unsigned(keys)), i};
            *tree.nodeData<Keyed>(tree.AddChild(parent)) = k;
            items.push_back(k);
        }
        return items;
    }
    std::vector<std::pair<int, int>> children(PLazyNode parent)
    {
        std::vector<std::pair<int, int>> out;
        for (PLazyNode c = tree.GetFirstChildNoInit(parent); c; c = c->NextSibling)
            out.emplace_back(tree.nodeData<Keyed>(c)->key, tree.nodeData<Keyed>(c)->serial);
        return out;
    }
};

struct SortCase {
    const char* name;
    int count;
    int keys;
    TSortDirection direction;
};

const SortCase kSortCases[] = {
    {"Empty", 0, 1, sdAscending},
    {"Single", 1, 1, sdAscending},
    {"Two", 2, 2, sdDescending},
    {"AllEqual", 50, 1, sdAscending},
    {"AllEqualDescending", 50, 1, sdDescending},
    {"FewKeysOdd", 333, 4, sdAscending},
    {"FewKeysDescending", 333, 4, sdDescending},
    {"ManyKeys", 1000, 900, sdAscending},
    {"ManyKeysDescending", 1000, 900, sdDescending},
};

class SortTable : public ::testing::TestWithParam<SortCase> {};

TEST_P(SortTable, IsStableAndRelinks)
{
    const SortCase& c = GetParam();
    SortFixture f;
    std::vector<Keyed> items = f.fill(nullptr, c.count, c.keys, 7);
    f.tree.Sort(nullptr, NoColumn, c.direction);
    std::stable_sort(items.begin(), items.end(), [&](const Keyed& a, const Keyed& b) {
        return c.direction == sdAscending ? a.key < b.key : a.key > b.key;
    });
    std::vector<std::pair<int, int>> expected;
    for (const Keyed& k : items)
        expected.emplace_back(k.key, k.serial);
    EXPECT_EQ(f.children(nullptr), expected);
    EXPECT_EQ(f.tree.checkConsistency().toStdString(), "");
    if (c.count >= 2) {
        int log2n = 0;
        while ((1 << log2n) < c.count)
            ++log2n;
        EXPECT_LE(f.comparisons, c.count * log2n);
    }
}

INSTANTIATE_TEST_SUITE_P(Tree, SortTable, ::testing::ValuesIn(kSortCases), CaseName());

TEST(TreeSort, NoHandlerKeepsOrderAndOneChildStartsNoOperation)
{
    SortFixture f;
    f.tree.OnCompareNodes = nullptr;
    f.fill(nullptr, 20, 5, 3);
    auto before = f.children(nullptr);
    f.tree.Sort(nullptr, NoColumn, sdDescending);
    EXPECT_EQ(f.children(nullptr), before);

    int operations = 0;
    LazyTreeModel one;
    one.OnStartOperation = [&](LazyTreeModel&, TLTOperationKind) { ++operations; };
    PLazyNode parent = one.AddChild(nullptr);
    one.AddChild(parent);
    one.Sort(parent, NoColumn, sdAscending);
    EXPECT_EQ(operations, 0);
}

TEST(TreeSort, CancelLeavesChainsLinked)
{
    SortFixture f;
    f.fill(nullptr, 300, 1000, 5);
    int seen = 0;
    auto compare = f.tree.OnCompareNodes;
    f.tree.OnCompareNodes = [&](LazyTreeModel& t, PLazyNode a, PLazyNode b, TColumnIndex col,
                                int& r) {
        if (++seen == 100)
            t.CancelOperation();
        compare(t, a, b, col, r);
    };
    f.tree.Sort(nullptr, NoColumn, sdAscending);
    EXPECT_EQ(f.tree.RootNodeCount(), 300u);
    EXPECT_EQ(f.tree.checkConsistency().toStdString(), "");
    EXPECT_LT(seen, 300 * 9);
}

TEST(TreeSort, RaisingComparisonLeavesChainsLinked)
{
    SortFixture f;
    f.fill(nullptr, 64, 1000, 9);
    int seen = 0;
    auto compare = f.tree.OnCompareNodes;
    f.tree.OnCompareNodes = [&](LazyTreeModel& t, PLazyNode a, PLazyNode b, TColumnIndex col,
                                int& r) {
        if (++seen == 40)
            throw std::runtime_error("owner failed");
        compare(t, a, b, col, r);
    };
    EXPECT_THROW(f.tree.Sort(nullptr, NoColumn, sdAscending), std::runtime_error);
    EXPECT_EQ(f.tree.RootNodeCount(), 64u);
    EXPECT_EQ(f.tree.checkConsistency().toStdString(), "");
}

TEST(TreeSort, SortTreeSortsEveryLevelAndSkipsInvalidColumn)
{
    SortFixture f;
    f.fill(nullptr, 10, 100, 1);
    for (PLazyNode n = f.tree.GetFirstNoInit(); n; n = n->NextSibling)
        f.fill(n, 10, 100, n->Index + 2);
    f.tree.SortTree(InvalidColumn, sdAscending);
    EXPECT_EQ(f.comparisons, 0);
    f.tree.SortTree(NoColumn, sdAscending);
    auto isSorted = [&](PLazyNode parent) {
        auto c = f.children(parent);
        return std::is_sorted(c.begin(), c.end(), [](auto a, auto b) { return a.first < b.first; });
    };
    EXPECT_TRUE(isSorted(nullptr));
    for (PLazyNode n = f.tree.GetFirstNoInit(); n; n = n->NextSibling)
        EXPECT_TRUE(isSorted(n));
    EXPECT_EQ(f.tree.checkConsistency().toStdString(), "");
}

TEST(TreeSort, AutoSortAfterAddingAndAtEndOfUpdate)
{
    SortFixture f;
    f.tree.SetAutoOptions(f.tree.options().AutoOptions + TLTAutoOptions{toAutoSort});
    for (int key : {5, 3, 9, 1})
        *f.tree.nodeData<Keyed>(f.tree.AddChild(nullptr)) = Keyed{key, 0};
    // Data is set after AddChild sorted, so the last one added is not yet in place.
    f.tree.BeginUpdate();
    *f.tree.nodeData<Keyed>(f.tree.AddChild(nullptr)) = Keyed{0, 0};
    f.tree.EndUpdate();
    std::vector<int> keys;
    for (auto [k, s] : f.children(nullptr))
        keys.push_back(k);
    EXPECT_EQ(keys, (std::vector<int>{0, 1, 3, 5, 9}));
    EXPECT_EQ(f.tree.checkConsistency().toStdString(), "");
}

}  // namespace
}  // namespace zfw
