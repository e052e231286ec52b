// Defaults of the tree's properties and what a setter changes on screen.

#include "support/CaseName.h"
#include "tree/LazyTreesString.h"

#include <QApplication>
#include <QImage>

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace zfw::test
