// The tree's option objects: colour defaults and change reactions, scroll-bar option defaults,
// and the reconciliation of the header's fixed-area limits.

#include "support/CaseName.h"

#include "tree/LazyTreesColors.h"

#include <gtest/gtest.h>

#include <vector>

namespace zfw {
namespace {

using test::CaseName;

TEST(TLTColors, DefaultsOfTheSlotsThatDifferFromTheirNeighbours)
{
    const TLTColors c;
    EXPECT_EQ(c.GetColor(TLTColors::DisabledColor), clBtnShadow);
    EXPECT_EQ(c.GetColor(TLTColors::HotColor), clWindowText);
    EXPECT_EQ(c.GetColor(TLTColors::SelectionTextColor), clHighlightText);
    EXPECT_EQ(c.GetColor(TLTColors::HeaderHotColor), clBtnShadow);
    EXPECT_EQ(c.GetColor(TLTColors::UnfocusedColor), clBtnFace);
    EXPECT_EQ(c.GetColor(TLTColors::Count), 0u);
    EXPECT_EQ(c.GetColor(-1), 0u);
}

TEST(TLTColors, OnlyARealChangeIsReported)
{
    TLTColors c;
    std::vector<int> changed;
    c.onChanged = [&](int i) { changed.push_back(i); };
    c.SetColor(TLTColors::GridLineColor, clBtnFace);  // its default
    c.SetColor(TLTColors::GridLineColor, 0x00123456);
    c.SetColor(TLTColors::Count, 1);  // out of range: ignored
    EXPECT_EQ(changed, std::vector<int>{TLTColors::GridLineColor});
    EXPECT_EQ(c.GetColor(TLTColors::GridLineColor), 0x00123456u);
}

TEST(TLTColors, AssignCopiesAllWithoutPerColourNotices)
{
    TLTColors a, b;
    a.SetColor(TLTColors::TreeLineColor, 1);
    a.SetColor(TLTColors::BorderColor, 2);
    int single = 0, assigned = 0;
    b.onChanged = [&](int) { ++single; };
    b.onAssigned = [&] { ++assigned; };
    b.Assign(a);
    EXPECT_TRUE(a == b);
    EXPECT_EQ(single, 0);
    EXPECT_EQ(assigned, 1);
}

TEST(TScrollBarOptions, DefaultsAndIncrementBounds)
{
    TScrollBarOptions o;
    EXPECT_FALSE(o.AlwaysVisible());
    EXPECT_EQ(o.ScrollBars(), ssBoth);
    EXPECT_EQ(o.HorizontalIncrement(), 20);
    EXPECT_EQ(o.VerticalIncrement(), 20);
    o.SetVerticalIncrement(0);
    EXPECT_EQ(o.VerticalIncrement(), 1);
    o.SetHorizontalIncrement(70000);
    EXPECT_EQ(o.HorizontalIncrement(), 10000);
}

TEST(TScrollBarOptions, BarsChangeReachTheOwnerOnlyWhenReal)
{
    TScrollBarOptions o;
    int n = 0;
    o.onChanged = [&] { ++n; };
    o.SetScrollBars(ssBoth);
    o.SetAlwaysVisible(false);
    o.SetScrollBarStyle(sbm3D);
    EXPECT_EQ(n, 0);
    o.SetScrollBars(ssVertical);
    EXPECT_FALSE(o.hasHorizontal());
    EXPECT_TRUE(o.hasVertical());
    o.SetAlwaysVisible(true);
    EXPECT_EQ(n, 2);
}

TEST(TScrollBarOptions, AssignCopiesEveryField)
{
    TScrollBarOptions a, b;
    a.SetAlwaysVisible(true);
    a.SetScrollBars(ssHorizontal);
    a.SetScrollBarStyle(sbm3D);
    a.SetHorizontalIncrement(7);
    a.SetVerticalIncrement(9);
    b.Assign(a);
    EXPECT_TRUE(b.AlwaysVisible());
    EXPECT_EQ(b.ScrollBars(), ssHorizontal);
    EXPECT_EQ(b.ScrollBarStyle(), sbm3D);
    EXPECT_EQ(b.HorizontalIncrement(), 7);
    EXPECT_EQ(b.VerticalIncrement(), 9);
}

struct ConstraintCase {
    const char* name;
    int maxH, maxW, minH, minW;  // start values
    int index, value;            // the one setter call under test
    int wantMaxH, wantMaxW, wantMinH, wantMinW;
    int wantNotices;
};

const ConstraintCase kConstraintCases[] = {
    {"MinAboveMaxPushesMax", 0, 40, 0, 0, TLTFixedAreaConstraints::MinWidthPercent, 60, 0, 60, 0,
     60, 1},
    {"MinWithMaxOffLeavesMaxOff", 0, 0, 0, 0, TLTFixedAreaConstraints::MinWidthPercent, 60, 0, 0, 0,
     60, 1},
    {"MaxBelowMinPullsMin", 0, 0, 50, 0, TLTFixedAreaConstraints::MaxHeightPercent, 30, 30, 0, 30,
     0, 1},
    {"MaxZeroNeverTouchesMin", 40, 0, 30, 0, TLTFixedAreaConstraints::MaxHeightPercent, 0, 0, 0, 30,
     0, 1},
    {"UnchangedValueIsSilent", 40, 0, 30, 0, TLTFixedAreaConstraints::MaxHeightPercent, 40, 40, 0,
     30, 0, 0},
    {"AboveHundredIsHundred", 0, 0, 0, 0, TLTFixedAreaConstraints::MinHeightPercent, 250, 0, 0, 100,
     0, 1},
};

class FixedAreaConstraints : public ::testing::TestWithParam<ConstraintCase> {};

TEST_P(FixedAreaConstraints, SetterReconcilesTheOtherLimit)
{
    const ConstraintCase& c = GetParam();
    TLTFixedAreaConstraints k;
    k.Set(TLTFixedAreaConstraints::MaxHeightPercent, c.maxH);
    k.Set(TLTFixedAreaConstraints::MaxWidthPercent, c.maxW);
    k.Set(TLTFixedAreaConstraints::MinHeightPercent, c.minH);
    k.Set(TLTFixedAreaConstraints::MinWidthPercent, c.minW);
    ASSERT_EQ(k.Get(TLTFixedAreaConstraints::MaxHeightPercent), c.maxH);
    int notices = 0;
    k.OnChange = [&](TLTFixedAreaConstraints& sender) {
        EXPECT_EQ(&sender, &k);
        ++notices;
    };
    k.Set(c.index, c.value);
    EXPECT_EQ(k.Get(TLTFixedAreaConstraints::MaxHeightPercent), c.wantMaxH);
    EXPECT_EQ(k.Get(TLTFixedAreaConstraints::MaxWidthPercent), c.wantMaxW);
    EXPECT_EQ(k.Get(TLTFixedAreaConstraints::MinHeightPercent), c.wantMinH);
    EXPECT_EQ(k.Get(TLTFixedAreaConstraints::MinWidthPercent), c.wantMinW);
    EXPECT_EQ(notices, c.wantNotices);
}

INSTANTIATE_TEST_SUITE_P(Table, FixedAreaConstraints, ::testing::ValuesIn(kConstraintCases),
                         CaseName{});

TEST(TLTFixedAreaConstraints, AssignCopiesAsIsAndNotifiesOnce)
{
    TLTFixedAreaConstraints src, dst;
    src.Set(TLTFixedAreaConstraints::MinHeightPercent, 70);
    src.Set(TLTFixedAreaConstraints::MaxHeightPercent, 80);
    dst.Set(TLTFixedAreaConstraints::MaxWidthPercent, 30);
    int notices = 0;
    dst.OnChange = [&](TLTFixedAreaConstraints&) { ++notices; };
    dst.Assign(src);
    EXPECT_EQ(dst.Get(TLTFixedAreaConstraints::MinHeightPercent), 70);
    EXPECT_EQ(dst.Get(TLTFixedAreaConstraints::MaxHeightPercent), 80);
    EXPECT_EQ(dst.Get(TLTFixedAreaConstraints::MaxWidthPercent), 0);
    EXPECT_EQ(notices, 1);
}

}  // namespace
}  // namespace zfw
