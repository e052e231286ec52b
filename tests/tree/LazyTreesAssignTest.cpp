// Copying settings between trees with Assign: which settings travel and which stay, nodes made
// fresh instead of copied, a read-only tree refusing; moving and copying nodes across trees
// refused until trees can be streamed.

#include "support/CaseName.h"

#include "tree/LazyTreesControl.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace zfw {
namespace {

using test::CaseName;

struct AssignCase {
    const char* name;
    std::function<void(TBaseLazyTree&)> change;
    std::function<QString(const TBaseLazyTree&)> read;
    bool copied;
};

QString num(long long v) { return QString::number(v); }

// Each row changes one setting of the source away from its default.
const AssignCase kAssignCases[] = {
    {"AutoScrollDelay", [](TBaseLazyTree& t) { t.SetAutoScrollDelay(300); },
     [](const TBaseLazyTree& t) { return num(t.AutoScrollDelay()); }, true},
    {"AutoScrollInterval", [](TBaseLazyTree& t) { t.SetAutoScrollInterval(50); },
     [](const TBaseLazyTree& t) { return num(t.AutoScrollInterval()); }, true},
    {"BiDiMode", [](TBaseLazyTree& t) { t.setLayoutDirection(Qt::RightToLeft); },
     [](const TBaseLazyTree& t) { return num(t.UseRightToLeftReading()); }, true},
    {"BorderStyle", [](TBaseLazyTree& t) { t.SetBorderStyle(bsNone); },
     [](const TBaseLazyTree& t) { return num(t.BorderStyle()); }, true},
    {"ChangeDelay", [](TBaseLazyTree& t) { t.SetChangeDelay(250); },
     [](const TBaseLazyTree& t) { return num(t.ChangeDelay()); }, true},
    {"CheckImageKind", [](TBaseLazyTree& t) { t.SetCheckImageKind(ckSystemFlat); },
     [](const TBaseLazyTree& t) { return num(t.CheckImageKind()); }, true},
    {"Color",
     [](TBaseLazyTree& t) {
         QPalette p = t.palette();
         p.setColor(QPalette::Base, QColor(10, 20, 30));
         t.setPalette(p);
     },
     [](const TBaseLazyTree& t) { return t.palette().color(QPalette::Base).name(); }, true},
    {"Colors", [](TBaseLazyTree& t) { t.Colors().SetColor(TLTColors::GridLineColor, 0x123456); },
     [](const TBaseLazyTree& t) {
         return num(const_cast<TBaseLazyTree&>(t).Colors().GetColor(TLTColors::GridLineColor));
     },
     true},
    {"DefaultNodeHeight", [](TBaseLazyTree& t) { t.SetDefaultNodeHeight(24); },
     [](const TBaseLazyTree& t) { return num(t.DefaultNodeHeight()); }, true},
    {"DefaultPasteMode", [](TBaseLazyTree& t) { t.SetDefaultPasteMode(amInsertAfter); },
     [](const TBaseLazyTree& t) { return num(t.DefaultPasteMode()); }, true},
    {"DragImageKind", [](TBaseLazyTree& t) { t.SetDragImageKind(diNoImage); },
     [](const TBaseLazyTree& t) { return num(t.DragImageKind()); }, true},
    {"Enabled", [](TBaseLazyTree& t) { t.setEnabled(false); },
     [](const TBaseLazyTree& t) { return num(t.isEnabled()); }, true},
    {"Font",
     [](TBaseLazyTree& t) {
         QFont f = t.font();
         f.setPixelSize(23);
         t.setFont(f);
     },
     [](const TBaseLazyTree& t) { return num(t.font().pixelSize()); }, true},
    {"HintAnimation", [](TBaseLazyTree& t) { t.SetHintAnimation(hatFade); },
     [](const TBaseLazyTree& t) { return num(t.HintAnimation()); }, true},
    {"HintMode", [](TBaseLazyTree& t) { t.SetHintMode(hmTooltip); },
     [](const TBaseLazyTree& t) { return num(t.HintMode()); }, true},
    {"ShowHint", [](TBaseLazyTree& t) { t.SetShowHint(false); },
     [](const TBaseLazyTree& t) { return num(t.ShowHint()); }, true},
    {"HotCursor", [](TBaseLazyTree& t) { t.SetHotCursor(3); },
     [](const TBaseLazyTree& t) { return num(t.HotCursor()); }, true},
    {"Indent", [](TBaseLazyTree& t) { t.SetIndent(30); },
     [](const TBaseLazyTree& t) { return num(t.Indent()); }, true},
    {"Margin", [](TBaseLazyTree& t) { t.SetMargin(7); },
     [](const TBaseLazyTree& t) { return num(t.Margin()); }, true},
    {"NodeAlignment", [](TBaseLazyTree& t) { t.SetNodeAlignment(naFromTop); },
     [](const TBaseLazyTree& t) { return num(t.NodeAlignment()); }, true},
    {"NodeDataSize", [](TBaseLazyTree& t) { t.SetNodeDataSize(16); },
     [](const TBaseLazyTree& t) { return num(t.NodeDataSize()); }, true},
    {"TreeOptions",
     [](TBaseLazyTree& t) {
         t.SetPaintOptions(t.options().PaintOptions + TLTPaintOptions{toShowHorzGridLines});
         t.SetMiscOptions(t.options().MiscOptions + TLTMiscOptions{toCheckSupport});
     },
     [](const TBaseLazyTree& t) {
         return num(t.options().PaintOptions.bits()) + "/" + num(t.options().MiscOptions.bits());
     },
     true},
    {"RootNodeCount", [](TBaseLazyTree& t) { t.SetRootNodeCount(5); },
     [](const TBaseLazyTree& t) { return num(t.RootNodeCount()); }, true},
    {"ScrollBarOptions", [](TBaseLazyTree& t) { t.ScrollBarOptions().SetScrollBars(ssVertical); },
     [](const TBaseLazyTree& t) {
         return num(const_cast<TBaseLazyTree&>(t).ScrollBarOptions().ScrollBars());
     },
     true},
    {"TabStop", [](TBaseLazyTree& t) { t.setFocusPolicy(Qt::NoFocus); },
     [](const TBaseLazyTree& t) { return num(t.focusPolicy()); }, true},
    {"Visible", [](TBaseLazyTree& t) { t.show(); },
     [](const TBaseLazyTree& t) { return num(t.isHidden()); }, true},
    {"SelectionCurveRadius", [](TBaseLazyTree& t) { t.SetSelectionCurveRadius(3); },
     [](const TBaseLazyTree& t) { return num(t.SelectionCurveRadius()); }, true},
    {"SelectionBlendFactor", [](TBaseLazyTree& t) { t.SetSelectionBlendFactor(64); },
     [](const TBaseLazyTree& t) { return num(t.SelectionBlendFactor()); }, true},
    {"EmptyListMessage", [](TBaseLazyTree& t) { t.SetEmptyListMessage("none"); },
     [](const TBaseLazyTree& t) { return t.EmptyListMessage(); }, true},
    // What belongs to this tree's own run and the settings outside the copied list stay.
    {"TextMarginStays", [](TBaseLazyTree& t) { t.SetTextMargin(9); },
     [](const TBaseLazyTree& t) { return num(t.TextMargin()); }, false},
    {"AnimationDurationStays", [](TBaseLazyTree& t) { t.SetAnimationDuration(0); },
     [](const TBaseLazyTree& t) { return num(t.AnimationDuration()); }, false},
    {"BottomSpaceStays", [](TBaseLazyTree& t) { t.SetBottomSpace(40); },
     [](const TBaseLazyTree& t) { return num(t.BottomSpace()); }, false},
    {"HandlersStay",
     [](TBaseLazyTree& t) { t.OnMeasureItem = [](TBaseLazyTree&, PLazyNode, int&) {}; },
     [](const TBaseLazyTree& t) { return num(bool(t.OnMeasureItem)); }, false},
    {"OffsetStays",
     [](TBaseLazyTree& t) {
         t.SetRootNodeCount(40);
         t.UpdateScrollBars(true);
         t.SetOffsetY(-50);
     },
     [](const TBaseLazyTree& t) { return num(t.OffsetY()); }, false},
};

class AssignSetting : public ::testing::TestWithParam<AssignCase> {};

TEST_P(AssignSetting, CopiedOrKept)
{
    const AssignCase& c = GetParam();
    TBaseLazyTree source;
    TBaseLazyTree dest;
    const QString before = c.read(dest);
    c.change(source);
    ASSERT_NE(c.read(source), before) << "the row must change the source";
    EXPECT_TRUE(dest.Assign(source));
    EXPECT_EQ(c.read(dest), c.copied ? c.read(source) : before);
    EXPECT_EQ(dest.checkConsistency(), QString());
}

INSTANTIATE_TEST_SUITE_P(Table, AssignSetting, ::testing::ValuesIn(kAssignCases), CaseName{});

TEST(TBaseLazyTreeAssign, MakesFreshNodesWithoutTheSourceData)
{
    TBaseLazyTree source;
    source.SetNodeDataSize(sizeof(int));
    source.SetRootNodeCount(5);
    for (PLazyNode n = source.GetFirstNoInit(); n; n = source.GetNextNoInit(n))
        *source.nodeData<int>(n) = 7;
    TBaseLazyTree dest;
    dest.SetNodeDataSize(2 * sizeof(int));
    dest.SetRootNodeCount(2);
    ASSERT_TRUE(dest.Assign(source));
    EXPECT_EQ(dest.RootNodeCount(), 5u);
    EXPECT_EQ(dest.NodeDataSize(), int(sizeof(int)));
    for (PLazyNode n = dest.GetFirstNoInit(); n; n = dest.GetNextNoInit(n))
        EXPECT_EQ(*dest.nodeData<int>(n), 0);
    EXPECT_EQ(dest.checkConsistency(), QString());
}

TEST(TBaseLazyTreeAssign, ReadOnlyTreeRefusesAndKeepsEverything)
{
    TBaseLazyTree source;
    source.SetIndent(40);
    source.SetRootNodeCount(3);
    TBaseLazyTree dest;
    dest.SetMiscOptions(dest.options().MiscOptions + TLTMiscOptions{toReadOnly});
    EXPECT_FALSE(dest.Assign(source));
    EXPECT_EQ(dest.Indent(), 18);
    EXPECT_EQ(dest.RootNodeCount(), 0u);
}

// ----- nodes across trees ---------------------------------------------------------------

struct CrossCase {
    const char* name;
    bool move;
    bool toRoot;
};

const CrossCase kCrossCases[] = {
    {"MoveToANode", true, false},
    {"MoveToTheRoot", true, true},
    {"CopyToANode", false, false},
    {"CopyToTheRoot", false, true},
};

class AcrossTrees : public ::testing::TestWithParam<CrossCase> {};

TEST_P(AcrossTrees, TheNodeArrivesAndTheCountersAgree)
{
    const CrossCase& c = GetParam();
    TBaseLazyTree one;
    TBaseLazyTree two;
    one.SetRootNodeCount(2);
    two.SetRootNodeCount(3);
    PLazyNode node = one.GetFirstNoInit();
    PLazyNode target = c.toRoot ? two.RootNode() : two.GetFirstNoInit();
    if (c.move)
        one.MoveTo(node, target, amAddChildLast, false);
    else
        EXPECT_NE(one.CopyTo(node, target, amAddChildLast, false), nullptr);
    EXPECT_EQ(one.TotalNodeCount(), c.move ? 1u : 2u);
    EXPECT_EQ(two.TotalNodeCount(), 4u);
    EXPECT_EQ(two.RootNodeCount(), c.toRoot ? 4u : 3u);
    EXPECT_EQ(one.checkConsistency(), QString());
    EXPECT_EQ(two.checkConsistency(), QString());
}

INSTANTIATE_TEST_SUITE_P(Table, AcrossTrees, ::testing::ValuesIn(kCrossCases), CaseName{});

}  // namespace
}  // namespace zfw
