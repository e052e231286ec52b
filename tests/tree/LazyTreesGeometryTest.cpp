// Scrolling arithmetic without a widget: offset clamping, scroll-bar settings, bringing a row
// into view and cutting a text rectangle.

#include "support/CaseName.h"

#include "tree/LazyTreesGeometry.h"

#include <gtest/gtest.h>

namespace zfw {
namespace {

using test::CaseName;

struct ClampCase {
    const char* name;
    int value, client;
    std::int64_t range;
    int want;
};

const ClampCase kClampCases[] = {
    {"PositiveGivesZero", 30, 100, 500, 0},
    {"InsideRangeKept", -120, 100, 500, -120},
    {"BelowLimitGivesLimit", -900, 100, 500, -400},
    {"ExactLimitKept", -400, 100, 500, -400},
    // Content smaller than the client: the lower bound is positive and the upper one wins.
    {"SmallContentGivesZero", -50, 100, 40, 0},
    {"HugeRangeDoesNotWrap", -2000000000, 100, 5000000000LL, -2000000000},
};

class ClampOffset : public ::testing::TestWithParam<ClampCase> {};

TEST_P(ClampOffset, StaysWithinRange)
{
    const ClampCase& c = GetParam();
    EXPECT_EQ(clampScrollOffset(c.value, c.client, c.range), c.want);
}

INSTANTIATE_TEST_SUITE_P(Table, ClampOffset, ::testing::ValuesIn(kClampCases), CaseName{});

struct BarCase {
    const char* name;
    bool allowed, always;
    int client;
    std::int64_t range;
    int offset;
    TScrollBarSetting want;
};

const BarCase kBarCases[] = {
    {"ContentFitsHidden", true, false, 100, 80, 0, {false, false, 0, 0, 0}},
    {"ContentFitsAlwaysVisibleDisabled", true, true, 100, 80, 0, {true, false, 0, 100, 0}},
    {"ContentTallerShownEnabled", true, false, 100, 500, -150, {true, true, 400, 100, 150}},
    {"PositionClampedToMaximum", true, false, 100, 500, -450, {true, true, 400, 100, 400}},
    {"BarNotAllowedHidden", false, true, 100, 500, -150, {false, false, 0, 0, 0}},
    {"EqualSizesNeedNoBar", true, false, 100, 100, 0, {false, false, 0, 0, 0}},
};

class ScrollBarSetting : public ::testing::TestWithParam<BarCase> {};

TEST_P(ScrollBarSetting, FollowsRangeAndOptions)
{
    const BarCase& c = GetParam();
    const TScrollBarSetting s = computeScrollBar(c.allowed, c.always, c.client, c.range, c.offset);
    EXPECT_EQ(s.visible, c.want.visible);
    EXPECT_EQ(s.enabled, c.want.enabled);
    EXPECT_EQ(s.maximum, c.want.maximum);
    EXPECT_EQ(s.page, c.want.page);
    EXPECT_EQ(s.position, c.want.position);
}

INSTANTIATE_TEST_SUITE_P(Table, ScrollBarSetting, ::testing::ValuesIn(kBarCases), CaseName{});

struct IntoViewCase {
    const char* name;
    int offset, top, bottom, client;
    bool center;
    int pendingBar;
    bool wantScrolled;
    int wantOffset;
};

const IntoViewCase kIntoViewCases[] = {
    {"InViewStays", -36, 18, 36, 100, false, 0, false, -36},
    {"AboveMovesToTop", -90, -18, 0, 100, false, 0, true, -72},
    {"BelowMovesToBottom", 0, 108, 126, 100, false, 0, true, -26},
    {"LastPixelRowStays", 0, 82, 100, 100, false, 0, false, 0},
    {"CenterInViewStillCentres", 0, 18, 36, 100, true, 0, true, 14},
    {"CenterAboveCentres", -90, -18, 0, 100, true, 0, true, -22},
    {"PendingBarScrollsFurther", 0, 108, 126, 100, false, 17, true, -43},
};

class RowIntoView : public ::testing::TestWithParam<IntoViewCase> {};

TEST_P(RowIntoView, NewOffset)
{
    const IntoViewCase& c = GetParam();
    const TScrollIntoViewResult r = scrollRowIntoView(c.offset, c.top, c.bottom, c.client, c.center,
                                                      c.pendingBar);
    EXPECT_EQ(r.scrolled, c.wantScrolled);
    EXPECT_EQ(r.offset, c.wantOffset);
}

INSTANTIATE_TEST_SUITE_P(Table, RowIntoView, ::testing::ValuesIn(kIntoViewCases), CaseName{});

struct CutCase {
    const char* name;
    int left, right, width;
    TAlignment alignment;
    bool unclipped, rtl;
    int wantLeft, wantRight;
};

const CutCase kCutCases[] = {
    {"LeftClipped", 10, 110, 40, taLeftJustify, false, false, 10, 50},
    {"LeftUnclippedKeepsLastPixel", 10, 110, 40, taLeftJustify, true, false, 10, 49},
    {"RightClipped", 10, 110, 40, taRightJustify, false, false, 70, 110},
    {"CentreClipped", 10, 110, 40, taCenter, false, false, 40, 80},
    {"WideTextClippedUnchanged", 10, 110, 300, taCenter, false, false, 10, 110},
    {"WideTextUnclippedGoesLeft", 10, 110, 300, taCenter, true, false, 10, 309},
    {"WideTextUnclippedRtlGoesRight", 10, 110, 300, taCenter, true, true, -190, 110},
};

class CutTextRect : public ::testing::TestWithParam<CutCase> {};

TEST_P(CutTextRect, ByAlignment)
{
    const CutCase& c = GetParam();
    int left = c.left, right = c.right;
    cutTextRect(left, right, c.width, c.alignment, c.unclipped, c.rtl);
    EXPECT_EQ(left, c.wantLeft);
    EXPECT_EQ(right, c.wantRight);
}

INSTANTIATE_TEST_SUITE_P(Table, CutTextRect, ::testing::ValuesIn(kCutCases), CaseName{});

}  // namespace
}  // namespace zfw
