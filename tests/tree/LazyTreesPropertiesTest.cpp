// Defaults of the tree's properties and what a setter changes on screen.

#include "support/CaseName.h"
#include "tree/LazyTreesString.h"

#include <QApplication>
#include <QImage>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace zfw::test {
namespace {

struct DefaultCase {
    std::string name;
    std::function<long long(TLazyStringTree&)> read;
    long long expected;
};

class TreeDefaults : public ::testing::TestWithParam<DefaultCase> {};

TEST_P(TreeDefaults, HoldsAfterConstruction)
{
    TLazyStringTree tree;
    EXPECT_EQ(GetParam().read(tree), GetParam().expected);
}

const std::vector<DefaultCase> kDefaults = {
    {"Indent", [](TLazyStringTree& t) { return t.Indent(); }, 18},
    {"Margin", [](TLazyStringTree& t) { return t.Margin(); }, 4},
    {"TextMargin", [](TLazyStringTree& t) { return t.TextMargin(); }, 4},
    {"DefaultNodeHeight", [](TLazyStringTree& t) { return t.DefaultNodeHeight(); }, 18},
    {"NodeAlignment", [](TLazyStringTree& t) { return int(t.NodeAlignment()); }, naProportional},
    {"SelectionBlendFactor", [](TLazyStringTree& t) { return t.SelectionBlendFactor(); }, 128},
    {"SelectionCurveRadius", [](TLazyStringTree& t) { return t.SelectionCurveRadius(); }, 0},
    {"DrawSelectionMode", [](TLazyStringTree& t) { return int(t.DrawSelectionMode()); },
     smDottedRectangle},
    {"LineStyle", [](TLazyStringTree& t) { return int(t.LineStyle()); }, lsDotted},
    {"LineMode", [](TLazyStringTree& t) { return int(t.LineMode()); }, lmNormal},
    {"ButtonStyle", [](TLazyStringTree& t) { return int(t.ButtonStyle()); }, bsRectangle},
    {"ButtonFillMode", [](TLazyStringTree& t) { return int(t.ButtonFillMode()); }, fmTreeColor},
    {"CheckImageKind", [](TLazyStringTree& t) { return int(t.CheckImageKind()); }, ckSystemDefault},
    {"EmptyListMessage", [](TLazyStringTree& t) { return t.EmptyListMessage().size(); }, 0},
    {"DefaultTextIsNode", [](TLazyStringTree& t) { return t.DefaultText() == "Node"; }, 1},
    {"NoSelection", [](TLazyStringTree& t) { return t.SelectedCount(); }, 0},
    {"NoLevelBound", [](TLazyStringTree& t) { return t.LastSelectionLevel(); }, -1},
    {"Alignment", [](TLazyStringTree& t) { return int(t.Alignment()); }, taLeftJustify},
    {"AutoExpandDelay", [](TLazyStringTree& t) { return t.AutoExpandDelay(); }, 1000},
    {"AutoScrollDelay", [](TLazyStringTree& t) { return t.AutoScrollDelay(); }, 1000},
    {"AutoScrollInterval", [](TLazyStringTree& t) { return t.AutoScrollInterval(); }, 1},
    {"ChangeDelay", [](TLazyStringTree& t) { return t.ChangeDelay(); }, 0},
    {"DefaultPasteMode", [](TLazyStringTree& t) { return int(t.DefaultPasteMode()); },
     amAddChildLast},
    {"DragHeight", [](TLazyStringTree& t) { return t.DragHeight(); }, 350},
    {"DragWidth", [](TLazyStringTree& t) { return t.DragWidth(); }, 200},
    {"DragImageKind", [](TLazyStringTree& t) { return int(t.DragImageKind()); }, diComplete},
    {"DragOperations", [](TLazyStringTree& t) { return t.DragOperations().bits(); },
     TDragOperations{doCopy, doMove}.bits()},
    {"DragType", [](TLazyStringTree& t) { return int(t.DragType()); }, dtOLE},
    {"EditDelay", [](TLazyStringTree& t) { return t.EditDelay(); }, 1000},
    {"HintAnimation", [](TLazyStringTree& t) { return int(t.HintAnimation()); }, hatSystemDefault},
    {"HintMode", [](TLazyStringTree& t) { return int(t.HintMode()); }, hmDefault},
    {"HotCursor", [](TLazyStringTree& t) { return t.HotCursor(); }, 0},
    {"IncrementalSearch", [](TLazyStringTree& t) { return int(t.IncrementalSearch()); }, isNone},
    {"IncrementalSearchDirection",
     [](TLazyStringTree& t) { return int(t.IncrementalSearchDirection()); }, sdForward},
    {"IncrementalSearchStart", [](TLazyStringTree& t) { return int(t.IncrementalSearchStart()); },
     ssFocusedNode},
    {"IncrementalSearchTimeout", [](TLazyStringTree& t) { return t.IncrementalSearchTimeout(); },
     1000},
    {"WantTabs", [](TLazyStringTree& t) { return t.WantTabs(); }, 0},
    {"AnimationDuration", [](TLazyStringTree& t) { return t.AnimationDuration(); }, 200},
    {"BorderStyle", [](TLazyStringTree& t) { return int(t.BorderStyle()); }, bsSingle},
    {"BottomSpace", [](TLazyStringTree& t) { return t.BottomSpace(); }, 0},
    {"BackgroundOffsetX", [](TLazyStringTree& t) { return t.BackgroundOffsetX(); }, 0},
    {"BackgroundOffsetY", [](TLazyStringTree& t) { return t.BackgroundOffsetY(); }, 0},
    {"NodeDataSize", [](TLazyStringTree& t) { return t.NodeDataSize(); }, -1},
    {"RootNodeCount", [](TLazyStringTree& t) { return t.RootNodeCount(); }, 0},
    {"FocusedColumn", [](TLazyStringTree& t) { return t.FocusedColumn(); }, NoColumn},
    {"DoubleBuffered", [](TLazyStringTree& t) { return t.DoubleBuffered(); }, 1},
    {"SelectionLocked", [](TLazyStringTree& t) { return t.SelectionLocked(); }, 0},
    {"HelpContext", [](TLazyStringTree& t) { return t.HelpContext(); }, 0},
    {"MiscOptions", [](TLazyStringTree& t) { return t.options().MiscOptions.bits(); }, 0x41A9},
    {"PaintOptions", [](TLazyStringTree& t) { return t.options().PaintOptions.bits(); }, 0x1B60},
    {"AutoOptions", [](TLazyStringTree& t) { return t.options().AutoOptions.bits(); }, 0x0559},
};
INSTANTIATE_TEST_SUITE_P(Cases, TreeDefaults, ::testing::ValuesIn(kDefaults), CaseName());

QImage picture(TLazyStringTree& tree) { return tree.viewport()->grab().toImage(); }

struct ReactionCase {
    std::string name;
    std::function<void(TLazyStringTree&)> set;
};

class TreeSetterReactions : public ::testing::TestWithParam<ReactionCase> {};

// A setter that changes the look repaints: the picture afterwards differs.
TEST_P(TreeSetterReactions, RepaintWithTheNewLook)
{
    TLazyStringTree tree;
    tree.SetAutoOptions(tree.options().AutoOptions - TLTAutoOptions{toAutoSort});
    tree.SetAnimationDuration(0);
    PLazyNode a = tree.AddChild(nullptr);
    tree.AddChild(a);
    tree.AddChild(a);
    tree.AddChild(nullptr);
    tree.SetExpanded(a, true);
    tree.resize(200, 120);
    tree.show();
    const QImage before = picture(tree);
    GetParam().set(tree);
    QApplication::processEvents();
    EXPECT_NE(picture(tree), before);
}

const std::vector<ReactionCase> kReactions = {
    {"LineStyleSolid", [](TLazyStringTree& t) { t.SetLineStyle(lsSolid); }},
    {"ButtonStyleTriangle", [](TLazyStringTree& t) { t.SetButtonStyle(bsTriangle); }},
    {"Indent", [](TLazyStringTree& t) { t.SetIndent(30); }},
    {"NoTreeLines",
     [](TLazyStringTree& t) {
         t.SetPaintOptions(t.options().PaintOptions - TLTPaintOptions{toShowTreeLines});
     }},
    {"CheckSupport",
     [](TLazyStringTree& t) {
         t.SetCheckType(t.GetFirst(), ctCheckBox);
         t.SetMiscOptions(t.options().MiscOptions + TLTMiscOptions{toCheckSupport});
     }},
    {"Disabled", [](TLazyStringTree& t) { t.setEnabled(false); }},
};
INSTANTIATE_TEST_SUITE_P(Cases, TreeSetterReactions, ::testing::ValuesIn(kReactions), CaseName());

// ----- setters that do more, and the node-indexed accessors ------------------------------------

// A(A0 A1) B C D E, A collapsed; 8 bytes of user data per node.
struct AccessorTree {
    TLazyStringTree tree;
    PLazyNode a, a0, a1;
    AccessorTree()
    {
        tree.SetAutoOptions(tree.options().AutoOptions - TLTAutoOptions{toAutoSort});
        tree.SetAnimationDuration(0);
        tree.SetNodeDataSize(8);
        tree.SetRootNodeCount(5);
        a = tree.GetFirst();
        a0 = tree.AddChild(a);
        a1 = tree.AddChild(a);
        tree.SetExpanded(a, false);
    }
};

struct AccessorCase {
    std::string name;
    std::function<void(AccessorTree&)> run;
};

class TreeAccessors : public ::testing::TestWithParam<AccessorCase> {};

TEST_P(TreeAccessors, KeepTheTreeConsistent)
{
    AccessorTree t;
    GetParam().run(t);
    EXPECT_EQ(t.tree.checkConsistency().toStdString(), "");
}

const std::vector<AccessorCase> kAccessorCases = {
    {"DefaultNodeHeightZeroIs18",
     [](AccessorTree& t) {
         t.tree.SetDefaultNodeHeight(30);
         t.tree.SetDefaultNodeHeight(0);
         EXPECT_EQ(t.tree.DefaultNodeHeight(), 18);
     }},
    {"VerticalAlignmentIsCappedAt100",
     [](AccessorTree& t) {
         t.tree.SetVerticalAlignment(t.a0, 150);
         EXPECT_EQ(t.tree.GetVerticalAlignment(t.a0), 100);
         t.tree.SetVerticalAlignment(t.a0, 30);
         EXPECT_EQ(t.tree.GetVerticalAlignment(t.a0), 30);
     }},
    // The nodes are made anew with the new size: the same count, user data zero.
    {"NodeDataSizeRemakesTheNodes",
     [](AccessorTree& t) {
         *static_cast<std::uint64_t*>(t.tree.GetNodeData(t.tree.GetLast())) = 0xFFFFFFFFu;
         t.tree.SetNodeDataSize(32);
         EXPECT_EQ(t.tree.NodeDataSize(), 32);
         EXPECT_EQ(t.tree.RootNodeCount(), 5u);
         EXPECT_EQ(t.tree.TotalNodeCount(), 5u);
         for (PLazyNode n = t.tree.GetFirst(); n; n = t.tree.GetNextSibling(n)) {
             const auto* bytes = static_cast<const unsigned char*>(t.tree.GetNodeData(n));
             EXPECT_TRUE(std::all_of(bytes, bytes + 32, [](unsigned char b) { return b == 0; }));
         }
         // Below -1 counts as -1 (asked again when the next node is made).
         t.tree.Clear();
         t.tree.SetNodeDataSize(-5);
         EXPECT_EQ(t.tree.NodeDataSize(), -1);
     }},
    {"TotalCountMakesEveryNode",
     [](AccessorTree& t) {
         t.tree.OnInitNode = [](LazyTreeModel&, PLazyNode, PLazyNode n,
                                TLazyNodeInitStates& states) {
             if (n->Parent->isRoot())
                 states.include(ivsHasChildren);
         };
         t.tree.OnInitChildren = [](LazyTreeModel&, PLazyNode n, std::uint32_t& count) {
             count = n->Parent->isRoot() ? 2 : 0;
         };
         t.tree.SetRootNodeCount(0);
         t.tree.SetRootNodeCount(3);
         EXPECT_EQ(t.tree.TotalNodeCount(), 3u);
         EXPECT_EQ(t.tree.TotalCount(), 9u);
         EXPECT_EQ(t.tree.UpdateCount(), 0);
     }},
    {"ChildrenInitializedOnlyOnceMade",
     [](AccessorTree& t) {
         PLazyNode b = t.tree.GetNextSibling(t.a);
         t.tree.SetHasChildren(b, true);
         EXPECT_FALSE(t.tree.GetChildrenInitialized(b));
         EXPECT_TRUE(t.tree.GetChildrenInitialized(t.a));
         EXPECT_TRUE(t.tree.GetChildrenInitialized(t.a0));
     }},
    {"NodeParentMovesToTheEnd",
     [](AccessorTree& t) {
         PLazyNode e = t.tree.GetLastChild(t.tree.RootNode());
         EXPECT_EQ(t.tree.GetNodeParent(e), nullptr);
         EXPECT_EQ(t.tree.GetNodeParent(t.a0), t.a);
         t.tree.SetNodeParent(e, t.a);
         EXPECT_EQ(t.tree.GetNodeParent(e), t.a);
         EXPECT_EQ(t.tree.GetLastChild(t.a), e);
         EXPECT_EQ(t.tree.RootNodeCount(), 4u);
     }},
    {"VisiblePathExpandsTheAncestors",
     [](AccessorTree& t) {
         EXPECT_FALSE(t.tree.GetVisiblePath(t.a0));
         t.tree.SetVisiblePath(t.a0, false);
         EXPECT_FALSE(t.tree.Expanded(t.a));
         t.tree.SetVisiblePath(t.a0, true);
         EXPECT_TRUE(t.tree.GetVisiblePath(t.a0));
         EXPECT_THROW(t.tree.GetVisiblePath(t.tree.RootNode()), ELazyTreeAssertion);
         EXPECT_THROW(t.tree.SetVisiblePath(nullptr, true), ELazyTreeAssertion);
     }},
    {"FullyVisibleShowsAndExpandsTheAncestors",
     [](AccessorTree& t) {
         t.tree.SetVisible(t.a, false);
         t.tree.SetFullyVisible(t.a1, true);
         EXPECT_TRUE(t.tree.GetFullyVisible(t.a1));
         EXPECT_TRUE(t.tree.IsVisible(t.a));
         EXPECT_EQ(t.tree.visibleCount(), 7u);
         t.tree.SetFullyVisible(t.a1, false);
         EXPECT_FALSE(t.tree.GetFullyVisible(t.a1));
         EXPECT_EQ(t.tree.visibleCount(), 6u);
         EXPECT_THROW(t.tree.SetFullyVisible(t.tree.RootNode(), true), ELazyTreeAssertion);
     }},
    // Ending the search drops what it had typed.
    {"IncrementalSearchNoneEndsTheSearch",
     [](AccessorTree& t) {
         t.tree.SetIncrementalSearch(isAll);
         t.tree.SetIncrementalSearch(isNone);
         EXPECT_TRUE(t.tree.SearchBuffer().isEmpty());
         EXPECT_FALSE(t.tree.timerActive(TBaseLazyTree::SearchTimer));
         EXPECT_FALSE(t.tree.TreeStates().contains(tsIncrementalSearching));
     }},
    // Without header columns the implicit column is the only one to focus.
    {"FocusedColumnStaysOnTheImplicitColumn",
     [](AccessorTree& t) {
         int changed = 0;
         t.tree.OnFocusChanged = [&](LazyTreeModel&, PLazyNode, TColumnIndex) { ++changed; };
         t.tree.SetFocusedColumn(2);
         EXPECT_EQ(t.tree.FocusedColumn(), NoColumn);
         EXPECT_EQ(changed, 0);
     }},
};
INSTANTIATE_TEST_SUITE_P(Cases, TreeAccessors, ::testing::ValuesIn(kAccessorCases), CaseName());

TEST(TreeSetterReactions, APaletteChangeRedrawsTheButtonsInItsColours)
{
    TLazyStringTree tree;
    tree.resize(200, 120);
    tree.show();
    QApplication::processEvents();
    const QImage before = tree.buttonImage(false, false, false);
    QPalette pal = tree.palette();
    pal.setColor(QPalette::Base, QColor(10, 200, 30));
    tree.setPalette(pal);
    const QImage after = tree.buttonImage(false, false, false);
    EXPECT_NE(after, before);
    EXPECT_EQ(after.pixelColor(2, 2), QColor(10, 200, 30));
}

}  // namespace
}  // namespace zfw::test
