// Rows of different heights (set per node, measured through OnMeasureItem, new default heights)
// and right-to-left geometry: hit tests and scrolling into view at the edges, counters and
// ranges kept consistent, offsets and text rectangles mirrored.
//
// Fixture: 12 top-level nodes "N0".."N11"; N1 is 40 px, N4 150 px (taller than the client),
// the rest 18 px. The client is 200 x 100 less the frame.

#include "support/CaseName.h"

#include "tree/LazyTreesString.h"

#include <QApplication>
#include <QImage>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <vector>

namespace zfw {
namespace {

using test::CaseName;

class ProbeControl : public TLazyStringTree {
public:
    using TBaseLazyTree::clientHeight;
    using TBaseLazyTree::clientWidth;
    // Text widths per node; the base tree measures none.
    std::map<PLazyNode, int> widths;

protected:
    int DoGetNodeWidth(PLazyNode node, TColumnIndex) override
    {
        auto it = widths.find(node);
        return it == widths.end() ? 0 : it->second;
    }
};

struct Fixture {
    std::unique_ptr<ProbeControl> tree = std::make_unique<ProbeControl>();
    std::vector<PLazyNode> top;

    Fixture()
    {
        tree->SetAutoOptions(tree->options().AutoOptions - TLTAutoOptions{toAutoSort});
        tree->SetAnimationDuration(0);
        tree->resize(200, 100);
        for (int i = 0; i < 12; ++i)
            top.push_back(tree->AddChild(nullptr));
        tree->SetNodeHeight(top[1], 40);
        tree->SetNodeHeight(top[4], 150);
        tree->show();
        tree->UpdateScrollBars(true);
    }
    // Tree y of the row of a top-level node.
    int rowTop(int i) const
    {
        int y = 0;
        for (int k = 0; k < i; ++k)
            y += top[std::size_t(k)]->NodeHeight;
        return y;
    }
    int index(PLazyNode n) const
    {
        for (std::size_t i = 0; i < top.size(); ++i)
            if (top[i] == n)
                return int(i);
        return -1;
    }
};

// ----- hit tests over mixed heights ---------------------------------------------------------

struct MixedHitCase {
    const char* name;
    int offsetY;
    int y;  // client
    int wantNode;
};

// Rows: N0 0..17, N1 18..57, N2 58..75, N3 76..93, N4 94..243, N5 244..261.
const MixedHitCase kMixedHitCases[] = {
    {"LastPixelBeforeTheTallRow", 0, 17, 0},
    {"FirstPixelOfTheTallRow", 0, 18, 1},
    {"LastPixelOfTheTallRow", 0, 57, 1},
    {"FirstPixelAfterIt", 0, 58, 2},
    {"InsideTheRowTallerThanTheClient", -120, 0, 4},
    {"LastPixelOfTheRowTallerThanTheClient", -200, 43, 4},
    {"FirstPixelAfterTheRowTallerThanTheClient", -200, 44, 5},
    {"ScrolledIntoTheMiddleOfARow", -30, 0, 1},
};

class MixedHeightHit : public ::testing::TestWithParam<MixedHitCase> {};

TEST_P(MixedHeightHit, FindsTheRowAtItsEdges)
{
    const MixedHitCase& c = GetParam();
    Fixture f;
    f.tree->SetOffsetY(c.offsetY);
    ASSERT_EQ(f.tree->OffsetY(), c.offsetY);
    THitInfo hi;
    f.tree->GetHitTestInfoAt(10, c.y, true, hi);
    EXPECT_EQ(f.index(hi.HitNode), c.wantNode);
    EXPECT_EQ(hi.HitPoint.y(), c.y - c.offsetY);
}

INSTANTIATE_TEST_SUITE_P(Table, MixedHeightHit, ::testing::ValuesIn(kMixedHitCases), CaseName{});

// ----- scrolling into view over mixed heights ----------------------------------------------

enum class Edge { Top, Bottom, CentreBottom, CentreTop, Unmoved };

struct IntoViewCase {
    const char* name;
    int offsetY;
    int node;
    bool center;
    Edge edge;  // where the row ends up in the client
};

const IntoViewCase kIntoViewCases[] = {
    {"TallRowBelowEndsAtTheBottomEdge", 0, 4, false, Edge::Bottom},
    {"TallRowAboveStartsAtTheTopEdge", -300, 4, false, Edge::Top},
    {"RowCutAtTheTopComesDown", -30, 1, false, Edge::Top},
    {"RowCutAtTheBottomComesUp", -250, 10, false, Edge::Bottom},
    {"RowFullyInViewStays", 0, 2, false, Edge::Unmoved},
    {"CentredFromBelowEndsInTheMiddle", 0, 6, true, Edge::CentreBottom},
    {"CentredFromAboveStartsInTheMiddle", -400, 6, true, Edge::CentreTop},
};

class MixedHeightIntoView : public ::testing::TestWithParam<IntoViewCase> {};

TEST_P(MixedHeightIntoView, PlacesTheRowAtTheEdge)
{
    const IntoViewCase& c = GetParam();
    Fixture f;
    f.tree->SetOffsetY(c.offsetY);
    const int before = f.tree->OffsetY();
    const bool scrolled = f.tree->ScrollIntoView(f.top[std::size_t(c.node)], c.center);
    const QRect r = f.tree->GetDisplayRect(f.top[std::size_t(c.node)], NoColumn, false);
    const int ch = f.tree->clientHeight();
    EXPECT_EQ(r.top(), f.rowTop(c.node) + f.tree->OffsetY());
    switch (c.edge) {
    case Edge::Top: EXPECT_EQ(r.top(), 0); break;
    case Edge::Bottom: EXPECT_EQ(r.bottom() + 1, ch); break;
    case Edge::CentreBottom: EXPECT_EQ(r.bottom() + 1, ch / 2); break;
    case Edge::CentreTop: EXPECT_EQ(r.top(), ch / 2); break;
    case Edge::Unmoved: EXPECT_EQ(f.tree->OffsetY(), before); break;
    }
    EXPECT_EQ(scrolled, c.edge != Edge::Unmoved);
    EXPECT_EQ(f.tree->checkConsistency(), QString());
}

INSTANTIATE_TEST_SUITE_P(Table, MixedHeightIntoView, ::testing::ValuesIn(kIntoViewCases),
                         CaseName{});

// ----- measured heights ---------------------------------------------------------------------

TEST(VariableNodeHeight, EachNodeIsMeasuredOnceAndTheCountersFollow)
{
    Fixture f;
    std::map<PLazyNode, int> asked;
    f.tree->OnMeasureItem = [&](TBaseLazyTree&, PLazyNode n, int& h) {
        ++asked[n];
        h = 10 + 5 * int(n->Index);
    };
    f.tree->SetMiscOptions(f.tree->options().MiscOptions + TLTMiscOptions{toVariableNodeHeight});
    // Asking for every row, painting and asking again measures nobody twice.
    f.tree->GetDisplayRect(f.top[11], NoColumn, false);
    f.tree->grab();
    f.tree->GetDisplayRect(f.top[11], NoColumn, false);
    QCoreApplication::processEvents();
    int sum = 0;
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(asked[f.top[std::size_t(i)]], 1) << "N" << i;
        EXPECT_EQ(f.top[std::size_t(i)]->NodeHeight, 10 + 5 * i);
        sum += 10 + 5 * i;
    }
    EXPECT_EQ(f.tree->RangeY(), sum);
    EXPECT_EQ(f.tree->verticalScrollBar()->maximum(), sum - f.tree->clientHeight());
    EXPECT_EQ(f.tree->checkConsistency(), QString());

    // Initialising a node again measures it again.
    f.tree->ReinitNode(f.top[3], false);
    f.tree->GetNodeHeight(f.top[3]);
    EXPECT_EQ(asked[f.top[3]], 2);
}

TEST(VariableNodeHeight, RowsMeasuredWhilePaintingMoveTheBarAfterThePass)
{
    Fixture f;
    f.tree->OnMeasureItem = [](TBaseLazyTree&, PLazyNode, int& h) { h = 50; };
    f.tree->BeginUpdate();
    f.tree->SetMiscOptions(f.tree->options().MiscOptions + TLTMiscOptions{toVariableNodeHeight});
    f.tree->EndUpdate();
    f.tree->SetOffsetY(-400);
    const int offset = f.tree->OffsetY();
    f.tree->grab();
    // The pass itself keeps the offset; the bar follows from the event loop.
    EXPECT_EQ(f.tree->OffsetY(), offset);
    EXPECT_EQ(f.tree->checkConsistency(), QString());
    QCoreApplication::processEvents();
    EXPECT_EQ(f.tree->verticalScrollBar()->maximum(),
              int(f.tree->RangeY()) - f.tree->clientHeight());
    EXPECT_EQ(f.tree->checkConsistency(), QString());
}

struct MeasureAnswerCase {
    const char* name;
    int answer;
    int want;
};

const MeasureAnswerCase kMeasureAnswers[] = {
    {"Kept", 18, 18},
    {"Taller", 33, 33},
    {"NegativeGivesAnEmptyRow", -5, 0},
    {"HugeIsCut", 1 << 20, 0xFFFF},
};

class MeasureAnswer : public ::testing::TestWithParam<MeasureAnswerCase> {};

TEST_P(MeasureAnswer, AppliedWithinTheRowLimits)
{
    Fixture f;
    const int answer = GetParam().answer;
    f.tree->OnMeasureItem = [&](TBaseLazyTree&, PLazyNode n, int& h) {
        if (n == f.top[2])
            h = answer;
    };
    f.tree->SetMiscOptions(f.tree->options().MiscOptions + TLTMiscOptions{toVariableNodeHeight});
    EXPECT_EQ(f.tree->GetNodeHeight(f.top[2]), std::uint32_t(GetParam().want));
    EXPECT_EQ(f.tree->checkConsistency(), QString());
}

INSTANTIATE_TEST_SUITE_P(Table, MeasureAnswer, ::testing::ValuesIn(kMeasureAnswers), CaseName{});

TEST(DefaultNodeHeight, NewNodesTakeItOldOnesKeepTheirsAndZeroMeans18)
{
    Fixture f;
    const int range = int(f.tree->RangeY());
    f.tree->SetDefaultNodeHeight(30);
    EXPECT_EQ(f.tree->RangeY(), range);
    PLazyNode added = f.tree->AddChild(nullptr);
    EXPECT_EQ(added->NodeHeight, 30);
    EXPECT_EQ(f.top[0]->NodeHeight, 18);
    EXPECT_EQ(f.tree->RangeY(), range + 30);
    EXPECT_EQ(f.tree->checkConsistency(), QString());
    f.tree->SetDefaultNodeHeight(0);
    EXPECT_EQ(f.tree->DefaultNodeHeight(), 18);
    EXPECT_EQ(f.tree->checkConsistency(), QString());
}

// ----- right to left -------------------------------------------------------------------------

// N0's text is 400 px wide, so the content (root indent, text, one margin) is wider than the
// client; the other texts are 50 px and start after the margin and the root indent (22 px).
constexpr int kRange = 18 + 400 + 4;

void wideContent(Fixture& f, bool rtl)
{
    f.tree->widths[f.top[0]] = 400;
    for (int i = 1; i < 12; ++i)
        f.tree->widths[f.top[std::size_t(i)]] = 50;
    if (rtl)
        f.tree->setLayoutDirection(Qt::RightToLeft);
    f.tree->UpdateScrollBars(true);
}

struct RtlCase {
    const char* name;
    bool rtl;
    bool scrolledToTheFarEnd;  // else offset 0
    int (*effective)(int clientWidth);
    int (*textLeft)(int clientWidth);  // of N1, client x
};

const RtlCase kRtlCases[] = {
    {"LeftToRightAtOffsetZero", false, false, [](int) { return 0; }, [](int) { return 22; }},
    {"LeftToRightScrolledToTheRightEnd", false, true, [](int cw) { return kRange - cw; },
     [](int cw) { return 22 - (kRange - cw); }},
    {"RightToLeftAtOffsetZeroShowsTheRightEnd", true, false, [](int cw) { return kRange - cw; },
     [](int cw) { return cw - 22 - 50; }},
    {"RightToLeftScrolledToTheLeftEnd", true, true, [](int) { return 0; },
     [](int) { return kRange - 22 - 50; }},
};

class RightToLeft : public ::testing::TestWithParam<RtlCase> {};

TEST_P(RightToLeft, OffsetsAndTextRectangles)
{
    const RtlCase& c = GetParam();
    Fixture f;
    wideContent(f, c.rtl);
    ASSERT_EQ(f.tree->RangeX(), kRange);
    const int cw = f.tree->clientWidth();
    if (c.scrolledToTheFarEnd)
        f.tree->SetOffsetX(cw - kRange);
    EXPECT_EQ(f.tree->EffectiveOffsetX(), c.effective(cw));
    const QRect text = f.tree->GetDisplayRect(f.top[1], NoColumn, true);
    EXPECT_EQ(text.left(), c.textLeft(cw));
    EXPECT_EQ(text.width(), 50);
    // The whole row spans the content, placed by the same offset.
    const QRect row = f.tree->GetDisplayRect(f.top[1], NoColumn, false);
    EXPECT_EQ(row.left(), -c.effective(cw));
    EXPECT_EQ(row.width(), kRange);
    EXPECT_EQ(f.tree->checkConsistency(), QString());
}

INSTANTIATE_TEST_SUITE_P(Table, RightToLeft, ::testing::ValuesIn(kRtlCases), CaseName{});

// N1's 50 px text inside the row after the margin and root indent (22 px), the row as wide as
// the content; right to left the alignment is mirrored.
struct AlignCase {
    const char* name;
    bool rtl;
    TAlignment alignment;
    int (*textLeft)(int rowLeft);
};

const AlignCase kAlignCases[] = {
    {"LeftToRightLeft", false, taLeftJustify, [](int l) { return l + 22; }},
    {"LeftToRightRight", false, taRightJustify, [](int l) { return l + kRange - 50; }},
    {"LeftToRightCentre", false, taCenter, [](int l) { return l + (22 + kRange - 50) / 2; }},
    {"RightToLeftLeftIsMirrored", true, taLeftJustify, [](int l) { return l + kRange - 22 - 50; }},
    {"RightToLeftRightIsMirrored", true, taRightJustify, [](int l) { return l; }},
    {"RightToLeftCentre", true, taCenter, [](int l) { return l + (kRange - 22 - 50) / 2; }},
};

class TextAlignment : public ::testing::TestWithParam<AlignCase> {};

TEST_P(TextAlignment, PlacesTheTextRectangle)
{
    const AlignCase& c = GetParam();
    Fixture f;
    wideContent(f, c.rtl);
    f.tree->SetAlignment(c.alignment);
    const int rowLeft = f.tree->GetDisplayRect(f.top[1], NoColumn, false).left();
    const QRect text = f.tree->GetDisplayRect(f.top[1], NoColumn, true);
    EXPECT_EQ(text.left(), c.textLeft(rowLeft));
    EXPECT_EQ(text.width(), 50);
}

INSTANTIATE_TEST_SUITE_P(Table, TextAlignment, ::testing::ValuesIn(kAlignCases), CaseName{});

TEST(RightToLeftTree, HitsAreMirroredIntoTreeCoordinates)
{
    Fixture ltr;
    wideContent(ltr, false);
    Fixture rtl;
    wideContent(rtl, true);
    const int cw = rtl.tree->clientWidth();
    THitInfo a;
    THitInfo b;
    ltr.tree->GetHitTestInfoAt(40, 20, true, a);
    rtl.tree->GetHitTestInfoAt(cw - 40, 20, true, b);
    EXPECT_EQ(a.HitNode, ltr.top[1]);
    EXPECT_EQ(b.HitNode, rtl.top[1]);
    EXPECT_EQ(a.HitPoint.x(), 40);
    EXPECT_EQ(b.HitPoint.x(), kRange - 40);
    // Outside the client the sides are those of the window, whatever the direction.
    rtl.tree->GetHitTestInfoAt(-1, 20, true, b);
    EXPECT_EQ(b.HitPositions.bits(), THitPositions{hiToLeft}.bits());
}

TEST(RightToLeftTree, ScrollingRevealsTheLeftPartAndReportsTheMovement)
{
    for (bool rtl : {false, true}) {
        Fixture f;
        wideContent(f, rtl);
        std::vector<int> dx;
        f.tree->OnScroll = [&](TBaseLazyTree&, int x, int) { dx.push_back(x); };
        const QRect before = f.tree->GetDisplayRect(f.top[1], NoColumn, false);
        f.tree->horizontalScrollBar()->setValue(100);
        EXPECT_EQ(f.tree->OffsetX(), -100) << rtl;
        const QRect after = f.tree->GetDisplayRect(f.top[1], NoColumn, false);
        // The content moves by the reported delta: left to right it goes left, right to left
        // (where offset 0 shows the right end) it goes right.
        EXPECT_EQ(dx, std::vector<int>{after.left() - before.left()}) << rtl;
        EXPECT_EQ(after.left() - before.left(), rtl ? 100 : -100);
        EXPECT_EQ(f.tree->checkConsistency(), QString());
    }
}

TEST(RightToLeftTree, ChangingTheDirectionKeepsTheTreeConsistent)
{
    Fixture f;
    wideContent(f, false);
    f.tree->SetOffsetX(-50);
    f.tree->setLayoutDirection(Qt::RightToLeft);
    EXPECT_EQ(f.tree->EffectiveOffsetX(), kRange - 50 - f.tree->clientWidth());
    EXPECT_EQ(f.tree->checkConsistency(), QString());
}

// Dark pixels of one row of the viewport's picture within [x0, x1).
int inkIn(const QImage& img, int top, int height, int x0, int x1)
{
    int ink = 0;
    for (int y = top; y < top + height; ++y)
        for (int x = x0; x < x1; ++x)
            if (qGray(img.pixel(x, y)) < 128)
                ++ink;
    return ink;
}

TEST(RightToLeftTree, RowsPaintTheirTextFromTheReadingEdge)
{
    for (bool rtl : {false, true}) {
        Fixture f;
        f.tree->OnGetText = [](TBaseLazyTree&, PLazyNode, TColumnIndex, TVSTTextType type,
                               QString& text) {
            if (type == ttNormal)
                text = QStringLiteral("Mmm");
        };
        if (rtl)
            f.tree->setLayoutDirection(Qt::RightToLeft);
        const QImage img = f.tree->viewport()->grab().toImage();
        const int w = img.width();
        const int nearLeft = inkIn(img, 0, 18, 0, w / 2);
        const int nearRight = inkIn(img, 0, 18, w / 2, w);
        EXPECT_GT(rtl ? nearRight : nearLeft, 0) << rtl;
        EXPECT_EQ(rtl ? nearLeft : nearRight, 0) << rtl;
    }
}

}  // namespace
}  // namespace zfw
