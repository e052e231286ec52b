// Check boxes: propagation down and up, radio groups, type changes, the order of OnChecking and
// OnChecked, and the image index table.

#include "TreeFixture.h"
#include "support/CaseName.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

namespace zfw::test {
namespace {

const char* stateName(TCheckState s)
{
    static const char* const names[] = {"u", "u*", "c", "c*", "m", "m*", "ud", "cd", "md"};
    return names[s];
}

// G(P(A B C) Q): G and P tri-state boxes, the others plain boxes, everything expanded and
// unchecked. Events are written down as "Checking X state" and "Checked X".
struct CheckTree {
    NamedTree t;
    std::vector<std::string> events;
    std::set<std::string> refuse;

    CheckTree()
    {
        t.build("G(P(A B C) Q)");
        t.tree.SetCheckType(t["G"], ctTriStateCheckBox);
        t.tree.SetCheckType(t["P"], ctTriStateCheckBox);
        for (const char* n : {"A", "B", "C", "Q"})
            t.tree.SetCheckType(t[n], ctCheckBox);
        t.tree.OnChecking = [this](LazyTreeModel&, PLazyNode n, TCheckState& s, bool& allowed) {
            events.push_back("Checking " + t.name(n) + " " + stateName(s));
            allowed = !refuse.count(t.name(n));
        };
        t.tree.OnChecked = [this](LazyTreeModel&, PLazyNode n) {
            events.push_back("Checked " + t.name(n));
        };
    }
    void set(const std::string& name, TCheckState s) { t[name]->CheckState = s; }
    std::string states()
    {
        std::string out;
        for (const char* n : {"G", "P", "A", "B", "C", "Q"}) {
            if (!out.empty())
                out += ' ';
            out += stateName(t[n]->CheckState);
        }
        return out;
    }
    std::string log() const
    {
        std::string out;
        for (const std::string& e : events)
            out += (out.empty() ? "" : " | ") + e;
        return out;
    }
};

struct PropagationCase {
    std::string name;
    std::function<void(CheckTree&)> setup;
    std::function<void(CheckTree&)> act;
    std::string states;  // G P A B C Q
    std::string events;
};

class TreeCheckPropagation : public ::testing::TestWithParam<PropagationCase> {};

TEST_P(TreeCheckPropagation, ChangesStatesAndFiresInOrder)
{
    const PropagationCase& c = GetParam();
    CheckTree f;
    if (c.setup)
        c.setup(f);
    f.events.clear();
    c.act(f);
    EXPECT_EQ(f.states(), c.states);
    EXPECT_EQ(f.log(), c.events);
    EXPECT_EQ(f.t.tree.checkConsistency().toStdString(), "");
    EXPECT_FALSE(f.t.tree.TreeStates().contains(tsCheckPropagation));
    for (const char* n : {"G", "P", "A", "B", "C", "Q"})
        EXPECT_FALSE(f.t[n]->has(vsChecking)) << n;
}

const std::vector<PropagationCase> kPropagationCases = {
    {"AllChildrenEnabled", nullptr,
     [](CheckTree& f) { f.t.tree.SetCheckState(f.t["P"], csCheckedNormal); }, "m c c c c u",
     "Checking P c | Checking A c | Checked A | Checking B c | Checked B | Checking C c | "
     "Checked C | Checking G m | Checked G | Checked P"},
    {"OneChildRefusingLeavesTheParentMixed", [](CheckTree& f) { f.refuse.insert("B"); },
     [](CheckTree& f) { f.t.tree.SetCheckState(f.t["P"], csCheckedNormal); }, "m m c u c u",
     "Checking P c | Checking A c | Checked A | Checking B c | Checking C c | Checked C | "
     "Checking G m | Checked G | Checked P"},
    // The parent refuses its derived state: it keeps its old one, and the clicked node, which
    // did change, still hears OnChecked.
    {"ParentRefusalStillReportsTheClickedNode", [](CheckTree& f) { f.refuse.insert("P"); },
     [](CheckTree& f) { f.t.tree.DoCheckClick(f.t["A"], csCheckedNormal); }, "u u c u u u",
     "Checking P m | Checked A"},
    {"LastChildCheckedChecksTheParent",
     [](CheckTree& f) {
         f.set("A", csCheckedNormal);
         f.set("B", csCheckedNormal);
         f.set("P", csMixedNormal);
     },
     [](CheckTree& f) { f.t.tree.SetCheckState(f.t["C"], csCheckedNormal); }, "m c c c c u",
     "Checking C c | Checking P c | Checking G m | Checked G | Checked P | Checked C"},
    // Unchecking counts the disabled forms: a checked disabled child keeps the parent mixed.
    {"UncheckingKeepsADisabledCheckedChild",
     [](CheckTree& f) {
         for (const char* n : {"P", "B", "C"})
             f.set(n, csCheckedNormal);
         f.set("A", csCheckedDisabled);
     },
     [](CheckTree& f) { f.t.tree.SetCheckState(f.t["P"], csUncheckedNormal); }, "m m cd u u u",
     "Checking P u | Checking B u | Checked B | Checking C u | Checked C | Checking G m | "
     "Checked G | Checked P"},
    {"UncheckingWithOnlyDisabledCheckedChildrenStaysChecked",
     [](CheckTree& f) {
         f.set("P", csCheckedNormal);
         for (const char* n : {"A", "B", "C"})
             f.set(n, csCheckedDisabled);
     },
     [](CheckTree& f) { f.t.tree.SetCheckState(f.t["P"], csUncheckedNormal); }, "m c cd cd cd u",
     "Checking P u | Checking G m | Checked G | Checked P"},
    // Checking does not count the disabled forms: an unchecked disabled child is left out.
    {"CheckingIgnoresADisabledUncheckedChild",
     [](CheckTree& f) { f.set("A", csUncheckedDisabled); },
     [](CheckTree& f) { f.t.tree.SetCheckState(f.t["P"], csCheckedNormal); }, "m c ud c c u",
     "Checking P c | Checking B c | Checked B | Checking C c | Checked C | Checking G m | "
     "Checked G | Checked P"},
    {"RadioSiblingsUncheckWithoutEvents",
     [](CheckTree& f) {
         for (const char* n : {"A", "B", "C"})
             f.t.tree.SetCheckType(f.t[n], ctRadioButton);
         f.set("A", csCheckedNormal);
     },
     [](CheckTree& f) { f.t.tree.SetCheckState(f.t["B"], csCheckedNormal); }, "u u u c u u",
     "Checking B c | Checked B"},
    {"TypeChangeDropsMixed", [](CheckTree& f) { f.set("P", csMixedNormal); },
     [](CheckTree& f) { f.t.tree.SetCheckType(f.t["P"], ctCheckBox); }, "u u u u u u", ""},
    {"DisabledNodeIsNotChanged", [](CheckTree& f) { f.t["A"]->States.include(vsDisabled); },
     [](CheckTree& f) { f.t.tree.SetCheckState(f.t["A"], csCheckedNormal); }, "u u u u u u", ""},
    {"ReadOnlyRefusesEveryChange",
     [](CheckTree& f) {
         f.t.tree.SetMiscOptions(f.t.tree.options().MiscOptions + TLTMiscOptions{toReadOnly});
     },
     [](CheckTree& f) { f.t.tree.SetCheckState(f.t["P"], csCheckedNormal); }, "u u u u u u", ""},
    {"ClearCheckedAsksForEachNode",
     [](CheckTree& f) { f.t.tree.SetCheckState(f.t["A"], csCheckedNormal); },
     [](CheckTree& f) { f.t.tree.ClearChecked(); }, "u u u u u u",
     // Unchecking G carries down to A; B and C are unchecked already and hear nothing.
     "Checking G u | Checking P u | Checking A u | Checked A | Checked P | Checked G"},
};
INSTANTIATE_TEST_SUITE_P(Cases, TreeCheckPropagation, ::testing::ValuesIn(kPropagationCases),
                         CaseName());

TEST(TreeCheck, AChangeAlreadyRunningForTheNodeIsNotEnteredAgain)
{
    CheckTree f;
    int reentries = 0;
    f.t.tree.OnChecked = [&](LazyTreeModel& tree, PLazyNode n) {
        if (f.t.name(n) == "A")
            reentries += tree.ChangeCheckState(f.t["P"], csUncheckedNormal) ? 1 : 0;
    };
    f.t.tree.SetCheckState(f.t["P"], csCheckedNormal);
    EXPECT_EQ(reentries, 0);
    EXPECT_EQ(f.states(), "m c c c c u");
}

TEST(TreeCheck, CheckedCountAndSetForAll)
{
    CheckTree f;
    f.t["B"]->States.include(vsDisabled);
    f.t.tree.SetCheckStateForAll(csCheckedNormal, false, true);
    // B refuses as a disabled node; its parent ends mixed, its grandparent too.
    EXPECT_EQ(f.states(), "m m c u c c");
    EXPECT_EQ(f.t.tree.CheckedCount(), 3u);
}

struct ImageCase {
    std::string name;
    TCheckType type;
    TCheckState state;
    bool enabled, hot;
    int index;
};

class TreeCheckImage : public ::testing::TestWithParam<ImageCase> {};

TEST_P(TreeCheckImage, IndexFromTheTable)
{
    const ImageCase& c = GetParam();
    EXPECT_EQ(LazyTreeModel::GetCheckImage(c.type, c.state, c.enabled, c.hot), c.index);
}

const std::vector<ImageCase> kImageCases = {
    {"NoneHasNoImage", ctNone, csCheckedNormal, true, false, -1},
    {"BoxUnchecked", ctCheckBox, csUncheckedNormal, true, false, 9},
    {"BoxUncheckedHot", ctCheckBox, csUncheckedNormal, true, true, 10},
    {"BoxCheckedPressedHot", ctCheckBox, csCheckedPressed, true, true, 15},
    {"TriStateAsBoxMixed", ctTriStateCheckBox, csMixedNormal, true, false, 17},
    {"DisabledStateGreys", ctCheckBox, csCheckedDisabled, true, true, 16},
    {"DisabledControlGreys", ctCheckBox, csUncheckedNormal, false, false, 12},
    {"RadioChecked", ctRadioButton, csCheckedNormal, true, false, 5},
    {"RadioUncheckedPressed", ctRadioButton, csUncheckedPressed, true, false, 3},
    {"RadioMixedLikeABox", ctRadioButton, csMixedPressed, false, false, 20},
    {"ButtonChecked", ctButton, csCheckedNormal, true, true, 22},
    {"ButtonPressed", ctButton, csUncheckedPressed, true, false, 23},
};
INSTANTIATE_TEST_SUITE_P(Cases, TreeCheckImage, ::testing::ValuesIn(kImageCases), CaseName());

TEST(TreeCheck, NextStateOfAClick)
{
    EXPECT_EQ(LazyTreeModel::DetermineNextCheckState(ctCheckBox, csMixedNormal), csCheckedNormal);
    EXPECT_EQ(LazyTreeModel::DetermineNextCheckState(ctTriStateCheckBox, csCheckedPressed),
              csUncheckedPressed);
    EXPECT_EQ(LazyTreeModel::DetermineNextCheckState(ctCheckBox, csCheckedDisabled),
              csCheckedDisabled);
    EXPECT_EQ(LazyTreeModel::DetermineNextCheckState(ctRadioButton, csCheckedNormal),
              csCheckedNormal);
    EXPECT_EQ(LazyTreeModel::DetermineNextCheckState(ctButton, csCheckedNormal), csUncheckedNormal);
    EXPECT_EQ(LazyTreeModel::DetermineNextCheckState(ctNone, csCheckedNormal), csMixedNormal);
}

}  // namespace
}  // namespace zfw::test
