// The integer list: which operations tell the owner, and the comma text form.

#include "grid/IntList.h"

#include "support/CaseName.h"

#include <gtest/gtest.h>

#include <vector>

namespace zfw {
namespace {

using test::CaseName;

struct Counting {
    TIntList list{3, 7};
    int changes = 0;
    Counting()
    {
        list.OnChange = [this](TIntList* sender, int c, int r) {
            EXPECT_EQ(sender, &list);
            EXPECT_EQ(c, 3);
            EXPECT_EQ(r, 7);
            ++changes;
        };
    }
};

TEST(IntList, WhichOperationsNotify)
{
    Counting t;
    t.list.Add(5);
    t.list.Add(9);
    EXPECT_EQ(t.changes, 2);
    EXPECT_TRUE(t.list.Insert(0, 1));
    EXPECT_EQ(t.changes, 2) << "Insert must not notify";
    EXPECT_TRUE(t.list.SetInteger(1, 6));
    EXPECT_EQ(t.changes, 3);
    t.list.DeleteValue(42);
    EXPECT_EQ(t.changes, 3) << "deleting an absent value changes nothing";
    t.list.DeleteValue(6);
    EXPECT_EQ(t.changes, 4);
    EXPECT_EQ(t.list.StrValue(), QStringLiteral("1,9"));
    EXPECT_TRUE(t.list.Delete(0));
    EXPECT_EQ(t.changes, 5);
}

TEST(IntList, IndexesOutsideAreRefused)
{
    Counting t;
    t.list.Add(1);
    EXPECT_FALSE(t.list.Insert(2, 0));
    EXPECT_FALSE(t.list.Delete(1));
    EXPECT_FALSE(t.list.SetInteger(-1, 0));
    EXPECT_EQ(t.list.GetInteger(5), 0);
    EXPECT_EQ(t.list.Count(), 1);
    EXPECT_EQ(t.changes, 1);
}

struct StrCase {
    const char* name;
    QString text;
    bool ok;
    std::vector<int> values;
    int changes;
};

class StrValue : public ::testing::TestWithParam<StrCase> {};

TEST_P(StrValue, Loads)
{
    const StrCase& c = GetParam();
    Counting t;
    t.list.Add(99);
    t.changes = 0;
    QString bad;
    EXPECT_EQ(t.list.SetStrValue(c.text, &bad), c.ok) << bad.toStdString();
    EXPECT_EQ(std::vector<int>(t.list.values().begin(), t.list.values().end()), c.values);
    EXPECT_EQ(t.changes, c.changes) << "one notification per item, none for the clearing";
}

const StrCase kStr[] = {
    {"Commas", QStringLiteral("1,2,3"), true, {1, 2, 3}, 3},
    {"Spaces", QStringLiteral(" 4  5 "), true, {4, 5}, 2},
    {"Quoted", QStringLiteral("\"7\",-8"), true, {7, -8}, 2},
    {"Empty", QString(), true, {}, 0},
    {"BadItemKeepsEarlier", QStringLiteral("1,x,3"), false, {1}, 1},
    {"TrailingCommaIsEmptyItem", QStringLiteral("1,"), false, {1}, 1},
    {"TooLarge", QStringLiteral("2147483648"), false, {}, 0},
};
INSTANTIATE_TEST_SUITE_P(Grid, StrValue, ::testing::ValuesIn(kStr), CaseName());

TEST(IntList, StrValueRoundTrip)
{
    TIntList a;
    for (int v : {0, -1, 2147483647, -2147483647 - 1})
        a.Add(v);
    TIntList b;
    ASSERT_TRUE(b.SetStrValue(a.StrValue()));
    EXPECT_EQ(b.values(), a.values());
}

}  // namespace
}  // namespace zfw
