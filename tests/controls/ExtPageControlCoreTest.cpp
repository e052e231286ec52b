// The page control's window-free half: pages against shown tabs, the page walk, captions,
// margins, the stepped gradient, close box geometry, text placement and the painter's record.

#include "controls/ExtPageControlCore.h"

#include "support/CaseName.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <vector>

namespace zfw {
namespace {

using test::CaseName;

// ----- pages and tabs ------------------------------------------------------------------------

struct IndexCase {
    const char* name;
    std::vector<bool> showing;
    std::vector<int> tabOfPage;  // per page, -1 for a hidden tab
};

const IndexCase kIndexCases[] = {
    {"AllShown", {true, true, true}, {0, 1, 2}},
    {"SecondOfThreeHidden", {true, false, true}, {0, -1, 1}},
    {"FirstHidden", {false, true, true}, {-1, 0, 1}},
    {"TwoHiddenInARow", {true, false, false, true, true}, {0, -1, -1, 1, 2}},
    {"LastHidden", {true, true, false}, {0, 1, -1}},
    {"NoneShown", {false, false}, {-1, -1}},
};

class TabIndexConversion : public ::testing::TestWithParam<IndexCase> {};

TEST_P(TabIndexConversion, PagesAndTabsConvertBothWays)
{
    const IndexCase& c = GetParam();
    for (int page = 0; page < int(c.showing.size()); ++page) {
        SCOPED_TRACE(page);
        EXPECT_EQ(tabIndexOfPage(c.showing, page), c.tabOfPage[size_t(page)]);
        const int tab = c.tabOfPage[size_t(page)];
        if (tab >= 0) {
            EXPECT_EQ(pageIndexOfTab(c.showing, tab), page);
            EXPECT_EQ(tabIndexForPageRect(c.showing, page), tab);
        }
    }
    EXPECT_EQ(pageIndexOfTab(c.showing, -1), -1);
    EXPECT_EQ(tabIndexOfPage(c.showing, -1), -1);
    EXPECT_EQ(tabIndexOfPage(c.showing, int(c.showing.size())), -1);
}

INSTANTIATE_TEST_SUITE_P(ExtPageControlCore, TabIndexConversion, ::testing::ValuesIn(kIndexCases),
                         CaseName());

struct NextPageCase {
    const char* name;
    std::vector<bool> visible;
    int current;
    bool forward;
    bool checkVisible;
    int expected;
};

const NextPageCase kNextPageCases[] = {
    {"ForwardSkipsHidden", {true, false, true, true}, 0, true, true, 2},
    {"ForwardWrapsPastHidden", {true, true, true, false}, 2, true, true, 0},
    {"BackwardWrapsPastHidden", {false, true, true, true}, 1, false, true, 3},
    {"BackwardSkipsHidden", {true, false, true}, 2, false, true, 0},
    {"AnyPageWhenNotChecking", {true, false, true}, 0, true, false, 1},
    {"UnknownStartForwardIsFirst", {true, true}, -1, true, true, 0},
    {"UnknownStartBackwardIsLast", {true, true}, -1, false, true, 1},
    {"OnlyVisibleIsTheStart", {false, true, false}, 1, true, true, 1},
    {"NoneVisible", {false, false}, 0, true, true, -1},
    {"NoPages", {}, -1, true, true, -1},
};

class FindNextPage : public ::testing::TestWithParam<NextPageCase> {};

TEST_P(FindNextPage, StepsWithWrapAround)
{
    const NextPageCase& c = GetParam();
    EXPECT_EQ(findNextPage(c.visible, c.current, c.forward, c.checkVisible), c.expected);
}

INSTANTIATE_TEST_SUITE_P(ExtPageControlCore, FindNextPage, ::testing::ValuesIn(kNextPageCases),
                         CaseName());

TEST(ExtPageControlCore, CaptionKeepsRoomForTheCloseButton)
{
    const QString caption = QStringLiteral("  Nodes    ");
    EXPECT_EQ(tabCaptionFor(caption, false), QStringLiteral("  Nodes  "));
    EXPECT_EQ(tabCaptionFor(caption, true), QStringLiteral("  Nodes     "));
    EXPECT_EQ(tabCaptionFor(QStringLiteral("A"), false), QString());
    EXPECT_EQ(tabCaptionFor(QString(), false), QString());
    EXPECT_EQ(tabCaptionFor(QString(), true), QStringLiteral(" "));
}

TEST(ExtPageControlCore, ActiveTabTextPadsWithBlanksToTheWiderFont)
{
    // Active font: 9 pixels a character, control font: 6, a blank 4.
    const auto active = [](const QString& s) { return int(s.size()) * 9; };
    const auto normal = [](const QString& s) {
        return int(std::count_if(s.begin(), s.end(), [](QChar ch) { return ch == u' '; })) * 4
               + int(std::count_if(s.begin(), s.end(), [](QChar ch) { return ch != u' '; })) * 6;
    };
    // "Abcd": 36 against 24; 12 pixels make three blanks.
    EXPECT_EQ(activeTabText(QStringLiteral("Abcd"), active, normal), QStringLiteral("Abcd   "));
    // A font no wider adds nothing, and a blank of no width cannot loop for ever.
    EXPECT_EQ(activeTabText(QStringLiteral("Ab"), normal, normal), QStringLiteral("Ab"));
    const auto noBlankWidth = [](const QString& s) {
        return int(std::count_if(s.begin(), s.end(), [](QChar ch) { return ch != u' '; }));
    };
    EXPECT_EQ(activeTabText(QStringLiteral("Ab"), active, noBlankWidth), QStringLiteral("Ab "));
}

TEST(ExtPageControlCore, MarginChangeIsAnnouncedBeforeItIsStored)
{
    TTabMargin m;
    std::vector<std::vector<int>> calls;
    m.OnMarginChange = [&](TMarginSize n, TMarginSize o, int i) {
        calls.push_back({n, o, i, m.LeftMargin(), m.TopMargin(), m.RightMargin()});
    };
    m.SetLeftMargin(3);
    m.SetLeftMargin(3);
    m.SetTopMargin(-2);
    m.SetRightMargin(5);
    m.SetMargin(7, 9);
    const std::vector<std::vector<int>> expected = {{3, 0, 0, 0, 0, 0},
                                                    {-2, 0, 1, 3, 0, 0},
                                                    {5, 0, 2, 3, -2, 0}};
    EXPECT_EQ(calls, expected);

    TTabMargin copy;
    bool told = false;
    copy.OnMarginChange = [&](TMarginSize, TMarginSize, int) { told = true; };
    copy.Assign(m);
    EXPECT_FALSE(told);
    EXPECT_EQ(copy.LeftMargin(), 3);
    EXPECT_EQ(copy.TopMargin(), -2);
    EXPECT_EQ(copy.RightMargin(), 5);
}

TEST(ExtPageControlCore, TabSizeCarriesMarginsAndPictureRoom)
{
    TTabMargin m;
    m.SetLeftMargin(3);
    m.SetTopMargin(4);
    m.SetRightMargin(5);
    EXPECT_EQ(tabImageRoom(tpTop, 16, 12, m), 16 + 5 + 3);
    EXPECT_EQ(tabImageRoom(tpBottom, 0, 0, m), 8);
    EXPECT_EQ(tabImageRoom(tpLeft, 16, 12, m), 12 + 5 + 4);
    EXPECT_EQ(tabImageRoom(tpRight, 0, 0, m), 9);

    const TabExtent free = tabExtent(40, 15, 8, 0, 0, 0);
    EXPECT_EQ(free.along, 40 + 8 + 2 * kTabPaddingAlong);
    EXPECT_EQ(free.across, 15 + 2 * kTabPaddingAcross);
    const TabExtent fixed = tabExtent(40, 15, 8, 0, 70, 25);
    EXPECT_EQ(fixed.along, 70);
    EXPECT_EQ(fixed.across, 25);
}

// ----- gradient ------------------------------------------------------------------------------

TEST(ExtPageControlCore, GradientOfSixteenStepsOverHundredPixels)
{
    const TRect r{10, 5, 110, 25};
    const auto stripes = gradientStripes(rgbColor(0, 0, 0), rgbColor(160, 32, 255), true, r, 16);
    ASSERT_EQ(stripes.size(), 16u);
    const int offsets[] = {0, 6, 12, 19, 25};
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(stripes[size_t(i)].rect, (TRect{10 + offsets[i], 5, 10 + offsets[i] + 7, 25}));
    }
    // Neighbours overlap, the last one reaches the end, and its colour is one step short.
    EXPECT_EQ(stripes[15].rect, (TRect{10 + 94, 5, 10 + 101, 25}));
    EXPECT_EQ(stripes[0].color, rgbColor(0, 0, 0));
    EXPECT_EQ(stripes[15].color, rgbColor(150, 30, 239));
    // Halves of a component round to even: 1 * 8 / 16 = 0.5 gives 0, 3 * 8 / 16 = 1.5 gives 2.
    const auto half = gradientStripes(rgbColor(0, 0, 0), rgbColor(8, 0, 0), false, r, 16);
    EXPECT_EQ(half[1].color, rgbColor(0, 0, 0));
    EXPECT_EQ(half[3].color, rgbColor(2, 0, 0));
    EXPECT_EQ(half[1].rect, (TRect{10, 5 + 1, 110, 5 + 1 + 2}));
}

TEST(ExtPageControlCore, GradientOfNoStepsIsOneStripe)
{
    const auto stripes = gradientStripes(clRed, clBlue, true, {0, 0, 20, 4}, 0);
    ASSERT_EQ(stripes.size(), 1u);
    EXPECT_EQ(stripes[0], (GradientStripe{{0, 0, 21, 4}, clRed}));
    EXPECT_EQ(gradientStripes(clRed, clBlue, true, {0, 0, 20, 4}, -3).size(), 1u);
}

TEST(ExtPageControlCore, GradientResolvesSystemColoursAndSkipsNoColour)
{
    RecordingCanvas canvas;
    DrawGradient(canvas, clRed, clNone, true, {0, 0, 10, 10}, 4);
    EXPECT_TRUE(canvas.ops().empty());
    DrawGradient(canvas, clBtnFace, clWhite, false, {0, 0, 10, 10}, 4);
    ASSERT_EQ(canvas.ops().size(), 4u);
    EXPECT_EQ(canvas.ops()[0].color, canvas.toRGB(clBtnFace));
}

// ----- close box -----------------------------------------------------------------------------

struct CloseCase {
    const char* name;
    TTabPosition position;
    CloseButtonState state;
    bool lowered;
    bool backGroundActive;
    TRect box;
    QLine firstCross;
    TColor fill, frame, cross;
};

// Tab (100, 20)-(180, 41), margins left 3 and top 4, LowerActive 2, TabOverlap 5.
const CloseCase kCloseCases[] = {
    {"TopNormal",
     tpTop,
     CloseButtonState::Normal,
     false,
     false,
     {105, 26, 117, 37},
     QLine(108, 33, 114, 28),
     clWhite,
     clGray,
     clBlack},
    {"TopLowered",
     tpTop,
     CloseButtonState::Normal,
     true,
     false,
     {105, 28, 117, 39},
     QLine(108, 35, 114, 30),
     clWhite,
     clGray,
     clBlack},
    {"TopHot",
     tpTop,
     CloseButtonState::Hot,
     false,
     false,
     {105, 28, 117, 39},
     QLine(108, 35, 114, 30),
     clWhite,
     clBlack,
     clGray},
    {"BottomDown",
     tpBottom,
     CloseButtonState::Down,
     false,
     false,
     {105, 28, 117, 39},
     QLine(108, 35, 114, 30),
     clSilver,
     clBlack,
     clBlack},
    {"RightNormal",
     tpRight,
     CloseButtonState::Normal,
     false,
     false,
     {107, 26, 119, 37},
     QLine(110, 33, 116, 28),
     clWhite,
     clGray,
     clBlack},
    {"RightLowered",
     tpRight,
     CloseButtonState::Normal,
     true,
     false,
     {105, 26, 117, 37},
     QLine(108, 33, 114, 28),
     clWhite,
     clGray,
     clBlack},
    {"RightHot",
     tpRight,
     CloseButtonState::Hot,
     false,
     false,
     {105, 26, 117, 37},
     QLine(108, 33, 114, 28),
     clWhite,
     clBlack,
     clGray},
    {"RightDown",
     tpRight,
     CloseButtonState::Down,
     false,
     false,
     {105, 26, 117, 37},
     QLine(108, 33, 114, 28),
     clSilver,
     clBlack,
     clBlack},
    {"LeftNormal",
     tpLeft,
     CloseButtonState::Normal,
     false,
     false,
     {105, 24, 117, 35},
     QLine(108, 27, 114, 32),
     clWhite,
     clGray,
     clBlack},
    {"LeftLoweredOverlap",
     tpLeft,
     CloseButtonState::Normal,
     true,
     true,
     {107, 29, 119, 40},
     QLine(110, 32, 116, 37),
     clWhite,
     clGray,
     clBlack},
    {"LeftDown",
     tpLeft,
     CloseButtonState::Down,
     false,
     false,
     {107, 24, 119, 35},
     QLine(110, 27, 116, 32),
     clSilver,
     clBlack,
     clBlack},
};

class CloseBox : public ::testing::TestWithParam<CloseCase> {};

TEST_P(CloseBox, CornersCrossAndColours)
{
    const CloseCase& c = GetParam();
    TTabMargin m;
    m.SetLeftMargin(3);
    m.SetTopMargin(4);
    const CloseButtonShape b = closeButtonShape(c.position, c.state, c.lowered, {100, 20, 180, 41},
                                                m, 2, 5, c.backGroundActive);
    EXPECT_EQ(b.box, c.box);
    EXPECT_EQ(b.box.Width(), 12);
    EXPECT_EQ(b.box.Height(), 11);
    EXPECT_EQ(b.cross[0], c.firstCross);
    EXPECT_EQ(b.fill, c.fill);
    EXPECT_EQ(b.frame, c.frame);
    EXPECT_EQ(b.crossColor, c.cross);
}

INSTANTIATE_TEST_SUITE_P(ExtPageControlCore, CloseBox, ::testing::ValuesIn(kCloseCases),
                         CaseName());

TEST(ExtPageControlCore, CloseHitBoxExcludesRightAndBottomEdges)
{
    TTabMargin m;
    m.SetLeftMargin(3);
    m.SetTopMargin(4);
    const TRect top = closeButtonHitBox(tpTop, {100, 20, 180, 41}, m, 5, true);
    EXPECT_EQ(top, (TRect{105, 26, 117, 37}));
    EXPECT_TRUE(top.contains(105, 26));
    EXPECT_TRUE(top.contains(116, 36));
    EXPECT_FALSE(top.contains(117, 30));
    EXPECT_FALSE(top.contains(110, 37));
    // On the left the box sits at the bottom end, moved by the overlap of an active picture.
    EXPECT_EQ(closeButtonHitBox(tpLeft, {2, 50, 23, 130}, m, 5, false), (TRect{7, 113, 19, 124}));
    EXPECT_EQ(closeButtonHitBox(tpLeft, {2, 50, 23, 130}, m, 5, true), (TRect{9, 118, 21, 129}));
}

// ----- text placement ------------------------------------------------------------------------

struct OriginCase {
    const char* name;
    TTabPosition position;
    bool active;
    bool showClose;
    int lowerActive;
    QPoint expected;
};

// Tab (100, 20)-(180, 41).
const OriginCase kOriginCases[] = {
    {"TopActiveClose", tpTop, true, true, 2, {118, 23}},
    {"TopInactivePlain", tpTop, false, false, 2, {104, 21}},
    {"BottomActive", tpBottom, true, false, 2, {104, 23}},
    {"BottomInactive", tpBottom, false, true, 2, {118, 20}},
    {"LeftActiveNoLowering", tpLeft, true, false, 0, {101, 37}},
    {"LeftActiveClose", tpLeft, true, true, 2, {103, 24}},
    {"RightActivePlain", tpRight, true, false, 2, {177, 24}},
    {"RightInactiveClose", tpRight, false, true, 2, {179, 37}},
};

class TextOrigin : public ::testing::TestWithParam<OriginCase> {};

TEST_P(TextOrigin, CloseButtonTakesTheFirstFourteenPixels)
{
    const OriginCase& c = GetParam();
    EXPECT_EQ(tabTextOrigin(c.position, {100, 20, 180, 41}, c.active, c.showClose, c.lowerActive),
              c.expected);
}

INSTANTIATE_TEST_SUITE_P(ExtPageControlCore, TextOrigin, ::testing::ValuesIn(kOriginCases),
                         CaseName());

// ----- the painter ---------------------------------------------------------------------------

// Three pages with tabs on top: (2, 2)-(60, 23), (60, 2)-(120, 23), (120, 2)-(170, 23); a
// 300 by 200 control; page 0 active.
TabPaintState threeTabsOnTop()
{
    TabPaintState s;
    s.width = 300;
    s.height = 200;
    s.parentColor = clBtnFace;
    const TRect rects[] = {{2, 2, 60, 23}, {60, 2, 120, 23}, {120, 2, 170, 23}};
    const char* names[] = {"One  ", "Two  ", "Three  "};
    for (int i = 0; i < 3; ++i) {
        TabPageState p;
        p.rect = rects[i];
        p.caption = QString::fromLatin1(names[i]);
        s.pages.push_back(p);
    }
    s.activePage = 0;
    return s;
}

bool hasFill(const RecordingCanvas& c, const TRect& r, TColor color)
{
    const auto ops = c.opsOfKind(CanvasOp::Fill);
    return std::any_of(ops.begin(), ops.end(),
                       [&](const CanvasOp& op) { return op.rect == r && op.color == color; });
}

bool hasLine(const RecordingCanvas& c, int x1, int y1, int x2, int y2, TColor color)
{
    const auto ops = c.opsOfKind(CanvasOp::Line);
    return std::any_of(ops.begin(), ops.end(), [&](const CanvasOp& op) {
        return op.x1 == x1 && op.y1 == y1 && op.x2 == x2 && op.y2 == y2 && op.color == color;
    });
}

TEST(ExtPageControlPaint, NoShownTabLeavesATwoPixelStripAndTheBorder)
{
    TabPaintState s = threeTabsOnTop();
    for (TabPageState& p : s.pages)
        p.tabVisible = false;
    s.tabBackGroundColor = clAqua;
    RecordingCanvas c;
    PaintTabs(c, s);
    EXPECT_TRUE(hasFill(c, {0, 0, 300, 2}, clAqua));
    // The sheet border runs along y = 2, and no tab text is written.
    EXPECT_TRUE(hasLine(c, 0, 2, 0, 199, clGray));
    EXPECT_TRUE(hasLine(c, 299, 2, 0, 2, clGray));
    EXPECT_TRUE(c.opsOfKind(CanvasOp::Text).empty());
}

TEST(ExtPageControlPaint, TabsArePaintedLastPageFirstWithTheirTexts)
{
    TabPaintState s = threeTabsOnTop();
    s.pages[0].showClose = true;
    s.margins.SetLeftMargin(3);
    RecordingCanvas c;
    PaintTabs(c, s);
    const auto texts = c.opsOfKind(CanvasOp::Text);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].text, QStringLiteral("Three  "));
    EXPECT_EQ(texts[2].text, QStringLiteral("One  "));
    // The active tab with a close button: text from R.left + 18 + LeftMargin, lowered by 2.
    EXPECT_EQ(texts[2].rect.Left, 2 + 18 + 3);
    EXPECT_EQ(texts[2].rect.Top, 2 + 1 + 2);
    EXPECT_EQ(texts[1].rect.Left, 60 + 4 + 3);
    // The close box of the active tab, lowered with it.
    EXPECT_TRUE(hasFill(c, {2 + 3 + 2, 2 + 2 + 2, 2 + 3 + 14, 2 + 2 + 13}, clWhite));
}

TEST(ExtPageControlPaint, DisabledTabIsGreyWhateverItsTextColour)
{
    TabPaintState s = threeTabsOnTop();
    s.pages[1].tabEnable = false;
    s.pages[1].textColor = clRed;
    s.pages[2].textColor = clRed;
    RecordingCanvas c;
    PaintTabs(c, s);
    const auto texts = c.opsOfKind(CanvasOp::Text);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].color, clRed);
    EXPECT_EQ(texts[1].color, clGray);
}

TEST(ExtPageControlPaint, HoverBorderSkipsTheActiveTab)
{
    TabPaintState s = threeTabsOnTop();
    s.tabHoverBorder = clRed;
    s.tabHoverColor = clYellow;
    const auto redLines = [](const TabPaintState& state) {
        RecordingCanvas c;
        PaintTabs(c, state);
        const auto lines = c.opsOfKind(CanvasOp::Line);
        return std::count_if(lines.begin(), lines.end(),
                             [](const CanvasOp& op) { return op.color == clRed; });
    };
    s.hoverTab = 0;
    EXPECT_EQ(redLines(s), 0);
    s.hoverTab = 1;
    EXPECT_EQ(redLines(s), 3);
    // The hover tab is filled in the hover colour.
    RecordingCanvas c;
    PaintTabs(c, s);
    EXPECT_TRUE(hasFill(c, {60, 1, 120, 23}, clYellow));
}

TEST(ExtPageControlPaint, ActiveGradientHasSixteenStripesAcrossTheTab)
{
    TabPaintState s = threeTabsOnTop();
    s.activeColor = clWhite;
    s.activeColorTo = clBlue;
    s.pages[0].tabGradientDirection = gdHorizontal;
    RecordingCanvas c;
    PaintTabs(c, s);
    const auto fills = c.opsOfKind(CanvasOp::Fill);
    const auto blueish = std::count_if(fills.begin(), fills.end(), [](const CanvasOp& op) {
        return op.rect.Top == 1 && op.rect.Bottom == 22 && op.rect.Width() == 5;
    });
    // 58 pixels in 16 steps: stripes of round(3.625) + 1 = 5 pixels, above the sheet's line.
    EXPECT_EQ(blueish, 16);
}

TEST(ExtPageControlPaint, DotNetSeparatorsSkipTheTabBeforeTheActiveOne)
{
    TabPaintState s = threeTabsOnTop();
    s.style = tsDotNet;
    s.activeColor = clMaroon;
    s.activePage = 2;
    RecordingCanvas c;
    PaintTabs(c, s);
    // Tab 0 gets its two lines at 2 and 3 pixels from its right edge; tab 1 precedes the
    // active tab and gets none.
    EXPECT_TRUE(hasLine(c, 58, 4, 58, 21, clMaroon));
    EXPECT_TRUE(hasLine(c, 57, 4, 57, 21, clMaroon));
    EXPECT_FALSE(hasLine(c, 118, 4, 118, 21, clMaroon));
}

TEST(ExtPageControlPaint, ActiveBackgroundPictureIsDrawnLastOverItsNeighbours)
{
    TabPaintState s = threeTabsOnTop();
    s.tabBackGround = QImage(10, 24, QImage::Format_ARGB32);
    s.tabBackGround.fill(Qt::darkGreen);
    s.tabBackGroundActive = QImage(10, 24, QImage::Format_ARGB32);
    s.tabBackGroundActive.fill(Qt::white);
    s.activeFontColor = clRed;
    s.pages[0].textColor = clGreen;
    RecordingCanvas c;
    PaintTabs(c, s);
    const auto images = c.opsOfKind(CanvasOp::Image);
    ASSERT_EQ(images.size(), 3u);
    // The others from (left - 1, top - 2), as long as the tab and two pixels more.
    EXPECT_EQ(images[0].rect, (TRect{119, 0, 119 + 52, 24}));
    EXPECT_EQ(images[1].rect, (TRect{59, 0, 59 + 62, 24}));
    // The active one after them, lowered: from (left - 2, top - 1).
    EXPECT_EQ(images[2].rect, (TRect{0, 1, 60, 25}));
    const auto texts = c.opsOfKind(CanvasOp::Text);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[2].text, QStringLiteral("One  "));
    // Two pixels higher than a tab drawn in place, in the page's own text colour.
    EXPECT_EQ(texts[2].rect.Top, 2 + 1 + 2 - 2);
    EXPECT_EQ(texts[2].color, clGreen);
    EXPECT_TRUE(c.ops().back() == texts[2]);
}

TEST(ExtPageControlPaint, PictureComesBeforeTheText)
{
    TabPaintState s = threeTabsOnTop();
    TTabImageList list;
    list.Pictures.push_back(QImage(16, 16, QImage::Format_ARGB32));
    list.Pictures.back().fill(Qt::red);
    s.images = &list;
    s.pages[1].imageIndex = 0;
    s.pages[2].imageIndex = 1;  // past the list: no picture
    RecordingCanvas c;
    PaintTabs(c, s);
    const auto images = c.opsOfKind(CanvasOp::Image);
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(images[0].rect, (TRect{62, 3, 78, 19}));
    const auto texts = c.opsOfKind(CanvasOp::Text);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[1].rect.Left, 64 + 16);
    EXPECT_EQ(texts[0].rect.Left, 124);
}

TEST(ExtPageControlPaint, CloseGlyphReplacesBoxAndCross)
{
    TabPaintState s = threeTabsOnTop();
    s.pages[0].showClose = true;
    s.closeGlyph = QImage(20, 20, QImage::Format_ARGB32);
    s.closeGlyph.fill(Qt::blue);
    RecordingCanvas c;
    PaintTabs(c, s);
    const auto images = c.opsOfKind(CanvasOp::Image);
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(images[0].rect, (TRect{4, 6, 16, 17}));
    EXPECT_FALSE(hasFill(c, {4, 6, 16, 17}, clWhite));
}

TEST(ExtPageControlPaint, PageColourFramesTheSheetAndOpensTheActiveTab)
{
    TabPaintState s = threeTabsOnTop();
    s.pages[0].color = clAqua;
    s.tabOverlap = 4;
    RecordingCanvas c;
    PaintTabs(c, s);
    // Four bands, each clipped on its own.
    EXPECT_EQ(c.opsOfKind(CanvasOp::PushClip).size(), 4u);
    EXPECT_EQ(c.clipDepth(), 0);
    EXPECT_TRUE(hasLine(c, 2, 23, 170 + 4, 23, clAqua));
    // Without a frame colour the split line takes the control's colour.
    s.pages[0].color = s.color;
    RecordingCanvas plain;
    PaintTabs(plain, s);
    EXPECT_TRUE(plain.opsOfKind(CanvasOp::PushClip).empty());
    EXPECT_TRUE(hasLine(plain, 2, 23, 174, 23, s.color));
}

TEST(ExtPageControlPaint, RoundEdgesBevelTheCornersAwayFromTheTabs)
{
    TabPaintState s = threeTabsOnTop();
    s.roundEdges = true;
    s.tabSheetBorderColor = clNavy;
    RecordingCanvas c;
    PaintTabs(c, s);
    EXPECT_TRUE(hasLine(c, 0, 196, 0, 199, s.color));
    EXPECT_TRUE(hasLine(c, 1, 196, 1, 198, clNavy));
    EXPECT_TRUE(hasLine(c, 298, 197, 298, 195, clNavy));
    s.tabSheet3D = true;
    RecordingCanvas flat;
    PaintTabs(flat, s);
    EXPECT_FALSE(hasLine(flat, 1, 196, 1, 198, clNavy));
}

TEST(ExtPageControlPaint, LeftTabsWriteRotatedTextUpwardFromTheBottom)
{
    TabPaintState s;
    s.width = 200;
    s.height = 150;
    s.position = tpLeft;
    s.style = tsDotNet;
    s.lowerActive = 0;
    s.margins.SetLeftMargin(2);
    s.margins.SetTopMargin(1);
    TabPageState p;
    p.rect = {2, 2, 23, 80};
    p.caption = QStringLiteral("Nodes");
    s.pages = {p};
    s.activePage = 0;
    const TabContentLayout l = tabContentLayout(s, 0);
    EXPECT_EQ(l.textOrigin, QPoint(2 + 1 + 2, 80 - 4 - 1));
    RecordingCanvas c;
    PaintTabs(c, s);
    const auto images = c.opsOfKind(CanvasOp::Image);
    ASSERT_EQ(images.size(), 1u);
    // The turned text stands on its start point and reaches upward.
    EXPECT_EQ(images[0].rect.Left, 5);
    EXPECT_EQ(images[0].rect.Bottom, 75);
    EXPECT_GT(images[0].rect.Height(), images[0].rect.Width());
}

}  // namespace
}  // namespace zfw

namespace zfw {
namespace {

// ----- rows of tabs --------------------------------------------------------------------------

struct RowCase {
    const char* name;
    TTabPosition position;
    int width, height;
    std::vector<int> along;
    bool multiLine, raggedRight;
    int selected;
    int rows;
    std::vector<TRect> rects;
    bool scrollOpposite = false;
    std::vector<bool> opposite = {};
};

// Three tabs of 100 pixels, rows 20 high, on a strip of 251 (top) or 250 (side) pixels.
// clang-format off
const RowCase kRowCases[] = {
    {"OneRowRunsPastTheEnd", tpTop, 255, 200, {100, 100, 100}, false, false, 0, 1,
     {{2, 2, 102, 22}, {102, 2, 202, 22}, {202, 2, 302, 22}}},
    // Two rows, each widened to the strip: 51 pixels shared 26 and 25, the lone tab gets all.
    {"RowsFillTheStrip", tpTop, 255, 200, {100, 100, 100}, true, false, 0, 2,
     {{2, 22, 128, 42}, {128, 22, 253, 42}, {2, 2, 253, 22}}},
    {"RaggedRowsKeepTheirLength", tpTop, 255, 200, {100, 100, 100}, true, true, 0, 2,
     {{2, 22, 102, 42}, {102, 22, 202, 42}, {2, 2, 102, 22}}},
    {"SelectedRowLiesAgainstTheSheet", tpTop, 255, 200, {100, 100, 100}, true, true, 2, 2,
     {{2, 2, 102, 22}, {102, 2, 202, 22}, {2, 22, 102, 42}}},
    {"TooWideTabKeepsARowOfItsOwn", tpTop, 255, 200, {300, 50}, true, true, -1, 2,
     {{2, 22, 302, 42}, {2, 2, 52, 22}}},
    {"Bottom", tpBottom, 255, 200, {100, 100, 100}, true, true, 0, 2,
     {{2, 158, 102, 178}, {102, 158, 202, 178}, {2, 178, 102, 198}}},
    {"Left", tpLeft, 300, 254, {100, 100, 100}, true, true, 0, 2,
     {{22, 2, 42, 102}, {22, 102, 42, 202}, {2, 2, 22, 102}}},
    {"Right", tpRight, 300, 254, {100, 100, 100}, true, true, 2, 2,
     {{278, 2, 298, 102}, {278, 102, 298, 202}, {258, 2, 278, 102}}},
    // Five tabs in three rows, the third row selected: rows 0 and 1 go below the sheet, row 0
    // along the bottom edge; with the first row selected nothing moves.
    {"ScrollOppositeMovesTheRowsBefore", tpTop, 255, 200, {100, 100, 100, 100, 100}, true, true, 4, 3,
     {{2, 178, 102, 198}, {102, 178, 202, 198}, {2, 158, 102, 178}, {102, 158, 202, 178},
      {2, 2, 102, 22}},
     true, {true, true, true, true, false}},
    {"ScrollOppositeFirstRowSelected", tpLeft, 300, 254, {100, 100, 100}, true, true, 0, 2,
     {{22, 2, 42, 102}, {22, 102, 42, 202}, {2, 2, 22, 102}}, true, {false, false, false}},
};
// clang-format on

class TabRows : public ::testing::TestWithParam<RowCase> {};

TEST_P(TabRows, WrapFillAndTurnRound)
{
    const RowCase& c = GetParam();
    TabRowOptions o;
    o.position = c.position;
    o.width = c.width;
    o.height = c.height;
    o.multiLine = c.multiLine;
    o.raggedRight = c.raggedRight;
    o.selected = c.selected;
    o.scrollOpposite = c.scrollOpposite;
    const TabRowLayout l = layoutTabRows(c.along, 20, o);
    EXPECT_EQ(l.rows, c.rows);
    EXPECT_EQ(l.rects, c.rects);
    EXPECT_EQ(l.opposite, c.opposite.empty() ? std::vector<bool>(c.along.size()) : c.opposite);
    for (size_t i = 0; i < c.rects.size(); ++i) {
        const TRect& r = c.rects[i];
        EXPECT_EQ(tabAtPoint(l.rects, {r.Left, r.Top}), int(i));
    }
}

INSTANTIATE_TEST_SUITE_P(ExtPageControlCore, TabRows, ::testing::ValuesIn(kRowCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ExtPageControlCore, NoTabsNoRows)
{
    const TabRowLayout l = layoutTabRows({}, 20, {});
    EXPECT_EQ(l.rows, 0);
    EXPECT_EQ(tabAtPoint(l.rects, {5, 5}), -1);
}

// ----- hot tracking and the raised sheet edge -------------------------------------------------

TEST(ExtPageControlPaint, HotTrackWritesTheHoverTabInTheHotLightColour)
{
    TabPaintState s = threeTabsOnTop();
    s.hotTrack = true;
    s.pages[2].tabEnable = false;
    const auto colours = [&](int hover) {
        s.hoverTab = hover;
        RecordingCanvas c;
        PaintTabs(c, s);
        std::vector<TColor> v;
        for (const CanvasOp& op : c.opsOfKind(CanvasOp::Text))
            v.insert(v.begin(), op.color);  // painted last page first
        return v;
    };
    EXPECT_EQ(colours(1)[1], clHotLight);
    EXPECT_NE(colours(0)[0], clHotLight) << "the active tab keeps its colour";
    EXPECT_EQ(colours(2)[2], clGray) << "a disabled tab stays grey";
    s.hotTrack = false;
    EXPECT_EQ(colours(1)[1], clBlack);
}

TEST(ExtPageControlPaint, TabSheet3DDrawsARaisedEdgeInsteadOfTheBorder)
{
    TabPaintState s = threeTabsOnTop();
    s.tabSheet3D = true;
    RecordingCanvas c;
    PaintTabs(c, s);
    // The strip ends at y = 23: light outside and highlight inside on the left and top, dark
    // shadow outside and shadow inside on the right and bottom.
    EXPECT_TRUE(hasLine(c, 0, 199, 0, 23, cl3DLight));
    EXPECT_TRUE(hasLine(c, 299, 23, 299, 199, cl3DDkShadow));
    EXPECT_TRUE(hasLine(c, 299, 199, -1, 199, cl3DDkShadow));
    EXPECT_TRUE(hasLine(c, 1, 198, 1, 24, clBtnHighlight));
    EXPECT_TRUE(hasLine(c, 298, 24, 298, 198, clBtnShadow));
    EXPECT_FALSE(hasLine(c, 0, 23, 0, 199, clGray)) << "no flat border";
}

TEST(ExtPageControlPaint, TabsOnTheFarSideAreFramedBelowAClosedSheet)
{
    TabPaintState s = threeTabsOnTop();
    s.pages[2].rect = {2, 180, 60, 198};
    s.pages[2].opposite = true;
    s.pages[2].tabColor = clYellow;
    s.tabBackGroundColor = clAqua;
    RecordingCanvas c;
    PaintTabs(c, s);
    EXPECT_EQ(tabStrip(s).right, 120) << "the far tab is no part of the strip above";
    EXPECT_TRUE(hasFill(c, {0, 180, 300, 200}, clAqua));
    EXPECT_TRUE(hasLine(c, 0, 179, 300, 179, clGray));
    EXPECT_TRUE(hasFill(c, {2, 180, 60, 198}, clYellow));
    const auto frames = c.opsOfKind(CanvasOp::Frame);
    EXPECT_TRUE(std::any_of(frames.begin(), frames.end(), [](const CanvasOp& op) {
        return op.rect == TRect{2, 180, 60, 198} && op.color == clGray;
    }));
    const auto texts = c.opsOfKind(CanvasOp::Text);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts.back().text, QStringLiteral("Three  "));
    EXPECT_EQ(texts.back().rect.Top, 180) << "written as a tab of the bottom side";
}

}  // namespace
}  // namespace zfw
