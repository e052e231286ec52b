// The tree as the user drives it: the keyboard table (key x modifiers x options), the bars'
// scroll codes, the wheel, clicks and drags on the viewport, handlers failing mid-input.

#include "support/CaseName.h"
#include "tree/LazyTreesString.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QCursor>
#include <QFocusEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace zfw::test {
namespace {

// Counts the edits the tree would start; node editing fills DoEdit.
class EditCountingTree : public TLazyStringTree {
public:
    int edits = 0;
    int nodeWidth(PLazyNode n) { return DoGetNodeWidth(n, NoColumn); }
    void fireTimer(int id) { DoTimer(id); }

protected:
    void DoEdit() override { ++edits; }
};

// A(A0 A1 A2) expanded, then B .. T collapsed leaves: 23 rows of 18 pixels in a client of
// about 8 rows. Multi-select, check boxes on every node, no sorting, no animation. The focus
// starts on A0, which is the only selected node and the range anchor.
struct InputTree {
    std::unique_ptr<EditCountingTree> tree = std::make_unique<EditCountingTree>();
    std::map<std::string, PLazyNode> byName;
    std::map<PLazyNode, std::string> names;

    explicit InputTree(bool rtl = false)
    {
        if (rtl)
            tree->setLayoutDirection(Qt::RightToLeft);
        tree->SetAutoOptions(tree->options().AutoOptions - TLTAutoOptions{toAutoSort});
        tree->SetMiscOptions(tree->options().MiscOptions + TLTMiscOptions{toCheckSupport});
        tree->SetSelectionOptions({toMultiSelect});
        tree->SetAnimationDuration(0);
        add("A", nullptr);
        for (const char* n : {"A0", "A1", "A2"})
            add(n, byName["A"]);
        for (char c = 'B'; c <= 'T'; ++c)
            add(std::string(1, c), nullptr);
        tree->SetExpanded(byName["A"], true);
        tree->resize(240, 8 * 18 + 2 * tree->frameWidth());
        tree->show();
        QApplication::processEvents();
        tree->setFocus();
        tree->SetFocusedNode(byName["A0"]);
        tree->AddToSelection(byName["A0"]);
    }
    void add(const std::string& name, PLazyNode parent)
    {
        PLazyNode n = tree->AddChild(parent);
        tree->SetCheckType(n, ctCheckBox);
        byName[name] = n;
        names[n] = name;
    }
    PLazyNode operator[](const std::string& name) { return byName.at(name); }
    std::string name(PLazyNode n) const
    {
        auto it = names.find(n);
        return n ? (it == names.end() ? "?" : it->second) : "nil";
    }
    std::string selection() const
    {
        std::string s;
        for (PLazyNode n = tree->GetFirstSelected(); n; n = tree->GetNextSelected(n))
            s += (s.empty() ? "" : " ") + name(n);
        return s;
    }
    QWidget* view() const { return tree->viewport(); }
    QPoint rowPoint(PLazyNode n, int x) const
    {
        const QRect r = tree->GetDisplayRect(n, NoColumn, false);
        return QPoint(x, r.top() + r.height() / 2);
    }
    // The middle of the node's text.
    QPoint labelPoint(PLazyNode n) const
    {
        const QRect text = tree->GetDisplayRect(n, NoColumn, true);
        return rowPoint(n, text.left() + text.width() / 2);
    }
    void move(QPoint p, Qt::MouseButtons buttons = Qt::LeftButton, Qt::KeyboardModifiers mods = {})
    {
        QMouseEvent e(QEvent::MouseMove, p, view()->mapToGlobal(p), Qt::NoButton, buttons, mods);
        QApplication::sendEvent(view(), &e);
    }
};

// ----- keyboard table -------------------------------------------------------------------------

struct KeyCase {
    std::string name;
    std::function<void(InputTree&)> setup;
    int key;
    Qt::KeyboardModifiers modifiers;
    std::string focused;
    std::string selected;  // "*" : not compared
    std::function<void(InputTree&)> check;
};

class TreeKeyTable : public ::testing::TestWithParam<KeyCase> {};

TEST_P(TreeKeyTable, FocusSelectionAndOffsets)
{
    const KeyCase& c = GetParam();
    InputTree f;
    if (c.setup)
        c.setup(f);
    QTest::keyClick(f.tree.get(), Qt::Key(c.key), c.modifiers);
    if (c.focused != "*") {
        EXPECT_EQ(f.name(f.tree->FocusedNode()), c.focused);
    }
    if (c.selected != "*") {
        EXPECT_EQ(f.selection(), c.selected);
    }
    if (c.check)
        c.check(f);
    EXPECT_EQ(f.tree->checkConsistency().toStdString(), "");
    EXPECT_FALSE(f.tree->TreeStates().contains(tsIncrementalSearchPending));
}

void pressDown(InputTree& f, int times, Qt::KeyboardModifiers mods = {})
{
    for (int i = 0; i < times; ++i)
        QTest::keyClick(f.tree.get(), Qt::Key_Down, mods);
}

const std::vector<KeyCase> kKeyTable = {
    // Shift+Up towards the anchor gives back the node left.
    {"ShiftUpShrinksTheRange", [](InputTree& f) { pressDown(f, 2, Qt::ShiftModifier); }, Qt::Key_Up,
     Qt::ShiftModifier, "A1", "A0 A1", nullptr},
    // Above the anchor Shift+Up extends upwards.
    {"ShiftUpAboveTheAnchorExtends", nullptr, Qt::Key_Up, Qt::ShiftModifier, "A", "A A0", nullptr},
    // Shift+End toggles the range from the old focus; the anchor keeps its selection.
    {"ShiftEndSelectsToTheLastRow", nullptr, Qt::Key_End, Qt::ShiftModifier, "T", "*",
     [](InputTree& f) {
         EXPECT_EQ(f.tree->SelectedCount(), 22u);
         EXPECT_FALSE(f.tree->Selected(f["A"]));
     }},
    {"ShiftDownWithoutMultiSelectMovesTheSelection",
     [](InputTree& f) { f.tree->SetSelectionOptions({}); }, Qt::Key_Down, Qt::ShiftModifier, "A1",
     "A1", nullptr},
    {"DownOnTheLastRowStays",
     [](InputTree& f) { f.tree->SetFocusedNode(f["T"]); },
     Qt::Key_Down,
     {},
     "T",
     "*",
     nullptr},
    // Ctrl+Home scrolls to the top and keeps the focus.
    {"CtrlHomeScrollsOnly",
     [](InputTree& f) {
         f.tree->SetOffsetY(-200);
         f.tree->SetFocusedNode(f["P"]);
     },
     Qt::Key_Home, Qt::ControlModifier, "P", "*",
     [](InputTree& f) { EXPECT_EQ(f.tree->OffsetY(), 0); }},
    {"CtrlEndScrollsToTheBottom", nullptr, Qt::Key_End, Qt::ControlModifier, "A0", "A0",
     [](InputTree& f) { EXPECT_EQ(f.tree->OffsetY(), f.tree->viewport()->height() - 23 * 18); }},
    // A page: as many rows as fit the client, counted from the focused row.
    {"PageDownMovesOneClientHeight",
     [](InputTree& f) { f.tree->SetFocusedNode(f["A"]); },
     Qt::Key_PageDown,
     {},
     "*",
     "*",
     [](InputTree& f) {
         const int rows = (f.tree->viewport()->height() - 1) / 18;
         EXPECT_EQ(f.tree->AbsoluteIndex(f.tree->FocusedNode()), std::uint32_t(rows));
     }},
    {"PageUpFromTheLastRow",
     [](InputTree& f) { f.tree->SetFocusedNode(f["T"]); },
     Qt::Key_PageUp,
     {},
     "*",
     "*",
     [](InputTree& f) {
         const int rows = (f.tree->viewport()->height() - 1) / 18;
         EXPECT_EQ(f.tree->AbsoluteIndex(f.tree->FocusedNode()), std::uint32_t(22 - rows));
     }},
    {"CtrlPageDownScrollsAClientHeight", nullptr, Qt::Key_PageDown, Qt::ControlModifier, "A0", "A0",
     [](InputTree& f) { EXPECT_EQ(f.tree->OffsetY(), -f.tree->viewport()->height()); }},
    {"CtrlDownScrollsARow", nullptr, Qt::Key_Down, Qt::ControlModifier, "A0", "A0",
     [](InputTree& f) { EXPECT_EQ(f.tree->OffsetY(), -18); }},
    {"RightGoesToTheFirstChild",
     [](InputTree& f) { f.tree->SetFocusedNode(f["A"]); },
     Qt::Key_Right,
     {},
     "A0",
     "A0",
     nullptr},
    {"RightExpandsACollapsedNode",
     [](InputTree& f) {
         f.tree->SetExpanded(f["A"], false);
         f.tree->SetFocusedNode(f["A"]);
     },
     Qt::Key_Right,
     {},
     "A",
     "A0",
     [](InputTree& f) { EXPECT_TRUE(f.tree->Expanded(f["A"])); }},
    {"BackspaceGoesToTheParent", nullptr, Qt::Key_Backspace, {}, "A", "A", nullptr},
    {"CtrlASelectsEveryVisibleRow", nullptr, Qt::Key_A, Qt::ControlModifier, "A0", "*",
     [](InputTree& f) { EXPECT_EQ(f.tree->SelectedCount(), 23u); }},
    {"CtrlAWithoutMultiSelectDoesNothing", [](InputTree& f) { f.tree->SetSelectionOptions({}); },
     Qt::Key_A, Qt::ControlModifier, "A0", "", nullptr},
    {"AsteriskExpandsTheBranch",
     [](InputTree& f) {
         f.tree->SetExpanded(f["A"], false);
         f.tree->SetFocusedNode(f["A"]);
     },
     Qt::Key_Asterisk,
     {},
     "A",
     "A0",
     [](InputTree& f) { EXPECT_TRUE(f.tree->Expanded(f["A"])); }},
    {"SlashCollapsesTheBranch",
     [](InputTree& f) { f.tree->SetFocusedNode(f["A"]); },
     Qt::Key_Slash,
     {},
     "A",
     "A0",
     [](InputTree& f) { EXPECT_FALSE(f.tree->Expanded(f["A"])); }},
    // Ctrl with numeric plus would fit the header's columns; only with Shift (or the reversed
    // option) it expands the whole tree.
    {"CtrlPlusLeavesTheTree", [](InputTree& f) { f.tree->SetExpanded(f["A"], false); },
     Qt::Key_Plus, Qt::ControlModifier, "A0", "*",
     [](InputTree& f) { EXPECT_FALSE(f.tree->Expanded(f["A"])); }},
    {"CtrlShiftPlusExpandsAll", [](InputTree& f) { f.tree->SetExpanded(f["A"], false); },
     Qt::Key_Plus, Qt::ControlModifier | Qt::ShiftModifier, "A0", "*",
     [](InputTree& f) { EXPECT_TRUE(f.tree->Expanded(f["A"])); }},
    {"CtrlPlusReversedExpandsAll",
     [](InputTree& f) {
         f.tree->SetMiscOptions(f.tree->options().MiscOptions
                                + TLTMiscOptions{toReverseFullExpandHotKey});
         f.tree->SetExpanded(f["A"], false);
     },
     Qt::Key_Plus, Qt::ControlModifier, "A0", "*",
     [](InputTree& f) { EXPECT_TRUE(f.tree->Expanded(f["A"])); }},
    {"CtrlMinusReversedCollapsesAll",
     [](InputTree& f) {
         f.tree->SetMiscOptions(f.tree->options().MiscOptions
                                + TLTMiscOptions{toReverseFullExpandHotKey});
     },
     Qt::Key_Minus, Qt::ControlModifier, "*", "*",
     [](InputTree& f) { EXPECT_FALSE(f.tree->Expanded(f["A"])); }},
    // A handler that declines the key leaves everything as it was.
    {"DeclinedByOnKeyAction",
     [](InputTree& f) {
         f.tree->OnKeyAction = [](TBaseLazyTree&, int&, Qt::KeyboardModifiers&, bool& doDefault) {
             doDefault = false;
         };
     },
     Qt::Key_Down,
     {},
     "A0",
     "A0",
     nullptr},
    // The handler may turn one key into another.
    {"RewrittenByOnKeyAction",
     [](InputTree& f) {
         f.tree->OnKeyAction = [](TBaseLazyTree&, int& key, Qt::KeyboardModifiers&, bool&) {
             if (key == Qt::Key_Down)
                 key = Qt::Key_Up;
         };
     },
     Qt::Key_Down,
     {},
     "A",
     "A",
     nullptr},
    // Right to left Home and End trade places.
    {"EndRightToLeftAimsAtTheFirst",
     [](InputTree& f) { f.tree->setLayoutDirection(Qt::RightToLeft); },
     Qt::Key_End,
     {},
     "A",
     "A",
     nullptr},
    // With WantTabs the tree keeps Tab; without columns it only reduces the selection to the
    // focused node.
    {"TabWithWantTabsKeepsTheFocusedNode",
     [](InputTree& f) {
         f.tree->SetWantTabs(true);
         f.tree->AddToSelection(f["B"]);
     },
     Qt::Key_Tab,
     {},
     "A0",
     "A0",
     [](InputTree& f) { EXPECT_TRUE(f.tree->hasFocus()); }},
};
INSTANTIATE_TEST_SUITE_P(Cases, TreeKeyTable, ::testing::ValuesIn(kKeyTable), CaseName());

// Flag iff in the array, ascending by address, no duplicates; and the model's counters.
void expectSelectionInvariants(InputTree& f, int step)
{
    const TNodeArray sel = f.tree->selectionArray();
    std::size_t flagged = 0;
    for (PLazyNode n = f.tree->GetFirstNoInit(); n; n = f.tree->GetNextNoInit(n)) {
        if (!n->has(vsSelected))
            continue;
        ++flagged;
        int index = 0;
        ASSERT_TRUE(f.tree->FindNodeInSelection(n, index, -1, -1)) << "step " << step;
    }
    ASSERT_EQ(flagged, sel.size()) << "step " << step;
    for (std::size_t k = 1; k < sel.size(); ++k)
        ASSERT_LT(reinterpret_cast<std::uintptr_t>(sel[k - 1]),
                  reinterpret_cast<std::uintptr_t>(sel[k]))
            << "step " << step;
    ASSERT_EQ(f.tree->checkConsistency().toStdString(), "") << "step " << step;
}

TEST(TreeRandomInput, SelectionInvariantsHold)
{
    InputTree f;
    const int keys[] = {Qt::Key_Up,     Qt::Key_Down,     Qt::Key_Home, Qt::Key_End,
                        Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Left, Qt::Key_Right};
    const Qt::KeyboardModifiers mods[] = {{},
                                          Qt::ShiftModifier,
                                          Qt::ControlModifier,
                                          Qt::ShiftModifier | Qt::ControlModifier};
    unsigned seed = 7;
    const auto next = [&seed](unsigned range) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 8) % range;
    };
    std::uint32_t mostSelected = 0;
    for (int step = 0; step < 400; ++step) {
        const Qt::KeyboardModifiers m = mods[next(std::size(mods))];
        switch (next(10)) {
        case 0:
        case 1:
        case 2:
        case 3: QTest::keyClick(f.tree.get(), Qt::Key(keys[next(std::size(keys))]), m); break;
        case 4:
        case 5:
        case 6: {
            // A click on a shown row's label, or right of it (a band that does not move).
            PLazyNode n = f.tree->GetFirstVisible();
            for (unsigned k = next(8); n && k > 0; --k)
                n = f.tree->GetNextVisible(n);
            if (!n)
                break;
            f.tree->ScrollIntoView(n, false);
            const QPoint p = next(2) ? f.labelPoint(n) : f.rowPoint(n, 200);
            QTest::mouseClick(f.view(), Qt::LeftButton, m, p);
            break;
        }
        case 7: f.tree->SelectAll(next(2) == 0); break;
        case 8: f.tree->InvertSelection(next(2) == 0); break;
        case 9:
            if (f.tree->TotalNodeCount() > 6) {
                PLazyNode n = f.tree->GetFirst();
                for (unsigned k = next(f.tree->TotalNodeCount()); n && k > 0; --k)
                    n = f.tree->GetNext(n);
                if (n)
                    f.tree->DeleteNode(n);
            } else {
                f.tree->AddChild(nullptr);
            }
            break;
        }
        expectSelectionInvariants(f, step);
        mostSelected = std::max(mostSelected, f.tree->SelectedCount());
    }
    // The walk did build multiple selections.
    EXPECT_GT(mostSelected, 3u);
}

TEST(TreeKeys, F1AsksTheNodeThenItsAncestorsForAHelpContext)
{
    InputTree f;
    std::vector<std::string> asked;
    f.tree->OnGetHelpContext = [&](TBaseLazyTree&, PLazyNode n, TColumnIndex column, int& ctx) {
        asked.push_back(f.name(n));
        EXPECT_EQ(column, 0);
        if (n == f["A"])
            ctx = 42;
    };
    QSignalSpy spy(f.tree.get(), &TBaseLazyTree::helpContextRequested);
    QTest::keyClick(f.tree.get(), Qt::Key_F1);
    EXPECT_EQ(asked, (std::vector<std::string>{"A0", "A"}));
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toInt(), 42);
    // Without an answer the tree's own context is used; 0 opens nothing.
    f.tree->OnGetHelpContext = nullptr;
    f.tree->SetHelpContext(7);
    QTest::keyClick(f.tree.get(), Qt::Key_F1);
    ASSERT_EQ(spy.count(), 2);
    EXPECT_EQ(spy.at(1).at(0).toInt(), 7);
    f.tree->SetHelpContext(0);
    QTest::keyClick(f.tree.get(), Qt::Key_F1);
    EXPECT_EQ(spy.count(), 2);
}

TEST(TreeKeys, F2EditsAnEditableFocusedNodeOnly)
{
    InputTree f;
    QTest::keyClick(f.tree.get(), Qt::Key_F2);
    EXPECT_EQ(f.tree->edits, 0);
    f.tree->SetMiscOptions(f.tree->options().MiscOptions + TLTMiscOptions{toEditable});
    QTest::keyClick(f.tree.get(), Qt::Key_F2, Qt::ShiftModifier);
    EXPECT_EQ(f.tree->edits, 0);
    QTest::keyClick(f.tree.get(), Qt::Key_F2);
    EXPECT_EQ(f.tree->edits, 1);
    f.tree->OnEditing = [](TBaseLazyTree&, PLazyNode, TColumnIndex, bool& allowed) {
        allowed = false;
    };
    QTest::keyClick(f.tree.get(), Qt::Key_F2);
    EXPECT_EQ(f.tree->edits, 1);
}

TEST(TreeKeys, AThrowingHandlerLeavesNoKeyCheckPending)
{
    InputTree f;
    f.tree->OnChecked = [](LazyTreeModel&, PLazyNode) { throw std::runtime_error("owner"); };
    QTest::keyPress(f.tree.get(), Qt::Key_Space);
    ASSERT_TRUE(f.tree->TreeStates().contains(tsKeyCheckPending));
    QTest::keyRelease(f.tree.get(), Qt::Key_Space);
    EXPECT_FALSE(f.tree->lastHandlerError().isEmpty());
    EXPECT_FALSE(f.tree->TreeStates().contains(tsKeyCheckPending));
    EXPECT_EQ(f.tree->checkNode(), nullptr);
    EXPECT_NE(f["A0"]->CheckState, csUncheckedPressed);
    EXPECT_EQ(f.tree->checkConsistency().toStdString(), "");
}

TEST(TreeKeys, DeletingThePressedNodeEndsTheKeyCheck)
{
    InputTree f;
    QTest::keyPress(f.tree.get(), Qt::Key_Space);
    ASSERT_EQ(f.tree->checkNode(), f["A0"]);
    f.tree->DeleteNode(f["A0"]);
    EXPECT_EQ(f.tree->checkNode(), nullptr);
    EXPECT_FALSE(f.tree->TreeStates().contains(tsKeyCheckPending));
    QTest::keyRelease(f.tree.get(), Qt::Key_Space);
    EXPECT_EQ(f.tree->checkConsistency().toStdString(), "");
}

TEST(TreeKeys, LosingTheFocusReleasesASpacePressedCheckBoxUnchanged)
{
    InputTree f;
    QTest::keyPress(f.tree.get(), Qt::Key_Space);
    ASSERT_EQ(f["A0"]->CheckState, csUncheckedPressed);
    QFocusEvent out(QEvent::FocusOut, Qt::OtherFocusReason);
    QApplication::sendEvent(f.tree.get(), &out);
    EXPECT_EQ(f["A0"]->CheckState, csUncheckedNormal);
    EXPECT_FALSE(f.tree->TreeStates().contains(tsKeyCheckPending));
}

// ----- hit positions beside the label, by alignment -----------------------------------------

struct AlignedHitCase {
    std::string name;
    TAlignment alignment;
    // Offset from the row's left edge (mirrored right to left), from the text's start, the
    // text's width and the row's width.
    std::function<int(int textStart, int textWidth, int right)> offset;
    THitPosition ltr;
    THitPosition rtl;
};

class TreeAlignedHits : public ::testing::TestWithParam<AlignedHitCase> {};

TEST_P(TreeAlignedHits, LeftOrRightOfTheLabel)
{
    const AlignedHitCase& c = GetParam();
    for (bool rtl : {false, true}) {
        InputTree f(rtl);
        f.tree->SetAlignment(c.alignment);
        PLazyNode b = f["B"];
        const QRect row = f.tree->GetDisplayRect(b, NoColumn, false);
        // A top-level row under a shown root: one indent, the margin, the check box.
        const int textStart = f.tree->Indent() + f.tree->Margin()
                              + f.tree->checkImages().images().Width() + 2;
        const int offset = c.offset(textStart, f.tree->nodeWidth(b), row.width());
        const int x = rtl ? row.left() + row.width() - 1 - offset : row.left() + offset;
        THitInfo hit;
        f.tree->GetHitTestInfoAt(x, row.top() + 5, true, hit);
        EXPECT_EQ(hit.HitNode, b);
        EXPECT_EQ(hit.HitPositions.bits(), (THitPositions{hiOnItem, rtl ? c.rtl : c.ltr}).bits())
            << (rtl ? "rtl" : "ltr") << " at offset " << offset;
    }
}

const std::vector<AlignedHitCase> kAlignedHitCases = {
    {"LeftJustifiedOnTheText", taLeftJustify, [](int s, int, int) { return s + 3; }, hiOnItemLabel,
     hiOnItemLabel},
    {"LeftJustifiedPastTheText", taLeftJustify, [](int s, int w, int) { return s + w + 3; },
     hiOnItemRight, hiOnItemLeft},
    {"RightJustifiedBeforeTheText", taRightJustify, [](int s, int, int) { return s + 3; },
     hiOnItemLeft, hiOnItemRight},
    {"RightJustifiedOnTheText", taRightJustify, [](int, int, int r) { return r - 3; },
     hiOnItemLabel, hiOnItemLabel},
    {"CentredBeforeTheText", taCenter, [](int s, int w, int r) { return (s + r - w) / 2 - 3; },
     hiOnItemLeft, hiOnItemRight},
    {"CentredOnTheText", taCenter, [](int s, int w, int r) { return (s + r - w) / 2 + 3; },
     hiOnItemLabel, hiOnItemLabel},
    {"CentredPastTheText", taCenter, [](int s, int w, int r) { return (s + r + w) / 2 + 3; },
     hiOnItemRight, hiOnItemLeft},
};
INSTANTIATE_TEST_SUITE_P(Cases, TreeAlignedHits, ::testing::ValuesIn(kAlignedHitCases), CaseName());

// ----- scroll codes and the wheel --------------------------------------------------------------

struct ScrollCase {
    std::string name;
    Qt::Orientation bar;
    bool rtl;
    int code;
    int trackPos;
    // Expected offset from the start offset (-40 vertically, -30 horizontally); the page
    // sizes come from the client.
    std::function<int(TBaseLazyTree&, int client)> expected;
};

class TreeScrollCodes : public ::testing::TestWithParam<ScrollCase> {};

TEST_P(TreeScrollCodes, MoveTheOffsetOfTheirBar)
{
    const ScrollCase& c = GetParam();
    InputTree f(c.rtl);
    // Long texts make the content wider than the client.
    f.tree->OnGetText = [](TBaseLazyTree&, PLazyNode, TColumnIndex, TVSTTextType, QString& t) {
        t = QString(60, QLatin1Char('W'));
    };
    f.tree->ReinitNode(f.tree->RootNode(), true);
    f.tree->UpdateScrollBars(true);
    ASSERT_GT(f.tree->RangeX(), f.tree->viewport()->width() + 100);
    f.tree->SetOffsetY(-40);
    f.tree->SetOffsetX(-30);
    const bool vertical = c.bar == Qt::Vertical;
    const int client = vertical ? f.tree->viewport()->height() : f.tree->viewport()->width();
    f.tree->WMScroll(c.bar, c.code, c.trackPos);
    EXPECT_EQ(vertical ? f.tree->OffsetY() : f.tree->OffsetX(), c.expected(*f.tree, client));
    EXPECT_EQ(vertical ? f.tree->OffsetX() : f.tree->OffsetY(), vertical ? -30 : -40);
    EXPECT_EQ(f.tree->checkConsistency().toStdString(), "");
}

const std::vector<ScrollCase> kScrollCases = {
    {"VLineUp", Qt::Vertical, false, TBaseLazyTree::SB_LINEUP, 0,
     [](TBaseLazyTree& t, int) {
         return std::min(0, -40 + t.ScrollBarOptions().VerticalIncrement());
     }},
    {"VLineDown", Qt::Vertical, false, TBaseLazyTree::SB_LINEDOWN, 0,
     [](TBaseLazyTree& t, int) { return -40 - t.ScrollBarOptions().VerticalIncrement(); }},
    {"VPageDown", Qt::Vertical, false, TBaseLazyTree::SB_PAGEDOWN, 0,
     [](TBaseLazyTree&, int client) { return -40 - client; }},
    {"VPageUpStopsAtTheTop", Qt::Vertical, false, TBaseLazyTree::SB_PAGEUP, 0,
     [](TBaseLazyTree&, int) { return 0; }},
    {"VBottom", Qt::Vertical, false, TBaseLazyTree::SB_BOTTOM, 0,
     [](TBaseLazyTree&, int client) { return client - 23 * 18; }},
    {"VThumb", Qt::Vertical, false, TBaseLazyTree::SB_THUMBTRACK, 55,
     [](TBaseLazyTree&, int) { return -55; }},
    {"VCodeBeyondEndScrollIgnored", Qt::Vertical, false, 9, 0,
     [](TBaseLazyTree&, int) { return -40; }},
    {"HLineDown", Qt::Horizontal, false, TBaseLazyTree::SB_LINEDOWN, 0,
     [](TBaseLazyTree& t, int) { return -30 - t.ScrollBarOptions().HorizontalIncrement(); }},
    // Right to left a line down moves towards the right end, where the offset is 0.
    {"HLineDownMirrored", Qt::Horizontal, true, TBaseLazyTree::SB_LINEDOWN, 0,
     [](TBaseLazyTree& t, int) {
         return std::min(0, -30 + t.ScrollBarOptions().HorizontalIncrement());
     }},
    {"HLineUpMirrored", Qt::Horizontal, true, TBaseLazyTree::SB_LINEUP, 0,
     [](TBaseLazyTree& t, int) { return -30 - t.ScrollBarOptions().HorizontalIncrement(); }},
    {"HPageDown", Qt::Horizontal, false, TBaseLazyTree::SB_PAGEDOWN, 0,
     [](TBaseLazyTree& t, int client) {
         return int(std::max<std::int64_t>(-30 - client, client - t.RangeX()));
     }},
    {"HTop", Qt::Horizontal, false, TBaseLazyTree::SB_TOP, 0,
     [](TBaseLazyTree&, int) { return 0; }},
    {"HBottom", Qt::Horizontal, false, TBaseLazyTree::SB_BOTTOM, 0,
     [](TBaseLazyTree& t, int client) { return int(client - t.RangeX()); }},
    {"HThumb", Qt::Horizontal, false, TBaseLazyTree::SB_THUMBPOSITION, 70,
     [](TBaseLazyTree&, int) { return -70; }},
    // Right to left the thumb is measured from the content's left edge.
    {"HThumbMirrored", Qt::Horizontal, true, TBaseLazyTree::SB_THUMBTRACK, 10,
     [](TBaseLazyTree& t, int client) { return int(client + 10 - t.RangeX()); }},
};
INSTANTIATE_TEST_SUITE_P(Cases, TreeScrollCodes, ::testing::ValuesIn(kScrollCases), CaseName());

TEST(TreeScrollCodes, ThumbTrackingLastsUntilEndScroll)
{
    InputTree f;
    f.tree->WMScroll(Qt::Vertical, TBaseLazyTree::SB_THUMBTRACK, 30);
    EXPECT_TRUE(f.tree->TreeStates().contains(tsThumbTracking));
    f.tree->WMScroll(Qt::Vertical, TBaseLazyTree::SB_ENDSCROLL);
    EXPECT_FALSE(f.tree->TreeStates().contains(tsThumbTracking));
    EXPECT_EQ(f.tree->OffsetY(), -30);
    EXPECT_EQ(f.tree->verticalScrollBar()->value(), 30);
}

TEST(TreeScrollCodes, TheBarsArrowStepsAreLineCodes)
{
    InputTree f;
    f.tree->verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(f.tree->OffsetY(), -f.tree->ScrollBarOptions().VerticalIncrement());
    EXPECT_EQ(f.tree->verticalScrollBar()->value(), -f.tree->OffsetY());
    f.tree->verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(f.tree->OffsetY(), f.tree->viewport()->height() - 23 * 18);
}

struct WheelCase {
    std::string name;
    int delta;
    int lines;
    Qt::KeyboardModifiers mods;
    bool contentHigher;
    bool rtl;
    QPoint expected;
};

class TreeWheel : public ::testing::TestWithParam<WheelCase> {};

// Client 300 x 200, rows of 18, a column step of 20.
TEST_P(TreeWheel, OneStepMovesTheOffsets)
{
    const WheelCase& c = GetParam();
    EXPECT_EQ(TBaseLazyTree::wheelDelta(c.delta, c.lines, c.mods, c.contentHigher, 300, 200, 18, 20,
                                        c.rtl),
              c.expected);
}

const std::vector<WheelCase> kWheelCases = {
    {"ThreeLinesDown", -120, 3, {}, true, false, {0, -54}},
    {"HalfANotchTruncates", 60, 3, {}, true, false, {0, 27}},
    {"APagePerNotch", -120, -1, {}, true, false, {0, -200}},
    {"CtrlScrollsAPage", 120, 3, Qt::ControlModifier, true, false, {0, 200}},
    {"ShiftScrollsSideways", -120, 3, Qt::ShiftModifier, true, false, {-60, 0}},
    {"ContentThatFitsScrollsSideways", -120, 3, {}, false, false, {-60, 0}},
    {"SidewaysPageIsTheClientWidth", -120, -1, {}, false, false, {-300, 0}},
    {"SidewaysMirrored", -120, 3, Qt::ShiftModifier, true, true, {60, 0}},
};
INSTANTIATE_TEST_SUITE_P(Cases, TreeWheel, ::testing::ValuesIn(kWheelCases), CaseName());

// ----- clicks and drags -------------------------------------------------------------------------

TEST(TreeDrags, ANodeHeightFollowsTheMouseAndNeverDropsBelowOne)
{
    InputTree f;
    f.tree->SetMiscOptions(f.tree->options().MiscOptions + TLTMiscOptions{toNodeHeightResize});
    const QRect b = f.tree->GetDisplayRect(f["B"], NoColumn, false);
    const QPoint start(60, b.top() + b.height() - 1);
    EXPECT_EQ(f.tree->cursorAt(start), Qt::SplitVCursor);
    EXPECT_EQ(f.tree->cursorAt(QPoint(60, b.center().y())), Qt::ArrowCursor);
    QTest::mousePress(f.view(), Qt::LeftButton, {}, start);
    EXPECT_TRUE(f.tree->TreeStates().contains(tsNodeHeightTrackPending));
    EXPECT_EQ(f.tree->heightTrackNode(), f["B"]);
    f.move(start + QPoint(0, 12));
    EXPECT_TRUE(f.tree->TreeStates().contains(tsNodeHeightTracking));
    EXPECT_EQ(f["B"]->NodeHeight, 18u + 11u);
    f.move(QPoint(60, b.top() - 30));
    EXPECT_EQ(f["B"]->NodeHeight, 1u);
    QTest::mouseRelease(f.view(), Qt::LeftButton, {}, QPoint(60, b.top() - 30));
    EXPECT_FALSE(f.tree->TreeStates().contains(tsNodeHeightTracking));
    EXPECT_EQ(f.tree->heightTrackNode(), nullptr);
    EXPECT_EQ(f.tree->checkConsistency().toStdString(), "");
    // The upper splitter of C is the lower one of B.
    const QRect c = f.tree->GetDisplayRect(f["C"], NoColumn, false);
    QTest::mousePress(f.view(), Qt::LeftButton, {}, QPoint(60, c.top()));
    EXPECT_EQ(f.tree->heightTrackNode(), f["B"]);
    // Freeing the node ends the drag.
    f.tree->DeleteNode(f["B"]);
    EXPECT_EQ(f.tree->heightTrackNode(), nullptr);
    f.move(QPoint(60, c.top() + 20));
    QTest::mouseRelease(f.view(), Qt::LeftButton, {}, QPoint(60, c.top() + 20));
    EXPECT_EQ(f.tree->checkConsistency().toStdString(), "");
}

TEST(TreeDrags, ARefusingHandlerKeepsTheHeight)
{
    InputTree f;
    f.tree->SetMiscOptions(f.tree->options().MiscOptions + TLTMiscOptions{toNodeHeightResize});
    f.tree->OnCanSplitterResizeNode = [&](TBaseLazyTree&, QPoint, PLazyNode n, TColumnIndex,
                                          bool& allowed) { allowed = n != f["B"]; };
    const QRect b = f.tree->GetDisplayRect(f["B"], NoColumn, false);
    const QPoint start(60, b.top() + b.height() - 1);
    EXPECT_EQ(f.tree->cursorAt(start), Qt::ArrowCursor);
    QTest::mousePress(f.view(), Qt::LeftButton, {}, start);
    f.move(start + QPoint(0, 12));
    QTest::mouseRelease(f.view(), Qt::LeftButton, {}, start + QPoint(0, 12));
    EXPECT_EQ(f["B"]->NodeHeight, 18u);
}

TEST(TreeDrags, DoubleClickOnASplitterRestoresTheDefaultHeight)
{
    InputTree f;
    f.tree->SetMiscOptions(f.tree->options().MiscOptions
                           + TLTMiscOptions{toNodeHeightResize, toNodeHeightDblClickResize});
    f.tree->SetNodeHeight(f["B"], 40);
    const QRect b = f.tree->GetDisplayRect(f["B"], NoColumn, false);
    QTest::mouseDClick(f.view(), Qt::LeftButton, {}, QPoint(60, b.top() + b.height() - 1));
    EXPECT_EQ(f["B"]->NodeHeight, 18u);
}

TEST(TreeDrags, ACtrlBandTogglesTheRowsItPasses)
{
    InputTree f;
    // From the empty part of A0's row into B's text: the band crosses the texts between.
    const int x = f.tree->viewport()->width() - 10;
    QTest::mousePress(f.view(), Qt::LeftButton, Qt::ControlModifier, f.rowPoint(f["A0"], x));
    f.move(f.labelPoint(f["B"]), Qt::LeftButton, Qt::ControlModifier);
    EXPECT_TRUE(f.tree->TreeStates().contains(tsDrawSelecting));
    EXPECT_EQ(f.selection(), "A1 A2 B");
    // Moving back gives the rows left their old state.
    f.move(f.labelPoint(f["A1"]), Qt::LeftButton, Qt::ControlModifier);
    EXPECT_EQ(f.selection(), "A1");
    QTest::mouseRelease(f.view(), Qt::LeftButton, Qt::ControlModifier, f.labelPoint(f["A1"]));
    EXPECT_FALSE(f.tree->IsMouseSelecting());
    EXPECT_EQ(f.tree->checkConsistency().toStdString(), "");
}

TEST(TreeDrags, EscapeDropsTheBand)
{
    InputTree f;
    const int x = f.tree->viewport()->width() - 10;
    QTest::mousePress(f.view(), Qt::LeftButton, {}, f.rowPoint(f["B"], x));
    f.move(f.labelPoint(f["D"]));
    ASSERT_TRUE(f.tree->IsMouseSelecting());
    QTest::keyClick(f.tree.get(), Qt::Key_Escape);
    EXPECT_FALSE(f.tree->IsMouseSelecting());
    f.move(f.rowPoint(f["F"], x));
    EXPECT_EQ(f.selection(), "B C D");
    QTest::mouseRelease(f.view(), Qt::LeftButton, {}, f.rowPoint(f["F"], x));
}

struct EmptyClickCase {
    std::string name;
    TLTSelectionOptions options;
    std::string selectedAfter;
};

class TreeEmptySpaceClicks : public ::testing::TestWithParam<EmptyClickCase> {};

// Six rows in a client of eight: a click below them hits nothing.
TEST_P(TreeEmptySpaceClicks, ClearTheSelectionUnlessANodeMustStaySelected)
{
    InputTree f;
    for (char c = 'D'; c <= 'T'; ++c)
        f.tree->DeleteNode(f[std::string(1, c)]);
    f.tree->SetSelectionOptions(GetParam().options);
    f.tree->SetFocusedNode(f["A0"]);
    f.tree->SelectNodes(f["A0"], f["B"], false);
    int removed = 0;
    f.tree->OnRemoveFromSelection = [&](LazyTreeModel&, PLazyNode) { ++removed; };
    QTest::mouseClick(f.view(), Qt::LeftButton, {}, QPoint(60, 7 * 18 + 5));
    EXPECT_EQ(f.selection(), GetParam().selectedAfter);
    EXPECT_EQ(removed, GetParam().selectedAfter.empty() ? 4 : 0);
    EXPECT_EQ(f.tree->checkConsistency().toStdString(), "");
}

const std::vector<EmptyClickCase> kEmptyClickCases = {
    {"MultiSelect", {toMultiSelect}, ""},
    {"AlwaysSelectNode", {toMultiSelect, toAlwaysSelectNode}, "A0 A1 A2 B"},
};
INSTANTIATE_TEST_SUITE_P(Cases, TreeEmptySpaceClicks, ::testing::ValuesIn(kEmptyClickCases),
                         CaseName());

TEST(TreeClicks, NodeClickAndDoubleClickReachTheOwner)
{
    InputTree f;
    std::vector<std::string> log;
    f.tree->OnNodeClick = [&](TBaseLazyTree&, const THitInfo& hit) {
        log.push_back("Click " + f.name(hit.HitNode));
    };
    f.tree->OnNodeDblClick = [&](TBaseLazyTree&, const THitInfo& hit) {
        log.push_back("DblClick " + f.name(hit.HitNode));
    };
    f.tree->OnColumnClick = [&](TBaseLazyTree&, TColumnIndex, Qt::KeyboardModifiers) {
        log.push_back("Column");
    };
    QTest::mouseClick(f.view(), Qt::LeftButton, {}, f.labelPoint(f["B"]));
    QTest::mouseDClick(f.view(), Qt::LeftButton, {}, f.labelPoint(f["A"]));
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.front(), "Click B");
    EXPECT_EQ(std::count(log.begin(), log.end(), "DblClick A"), 1);
    // Without header columns there is no column to click.
    EXPECT_EQ(std::count(log.begin(), log.end(), "Column"), 0);
    // The double click on the label toggled A.
    EXPECT_FALSE(f.tree->Expanded(f["A"]));
}

TEST(TreeClicks, AClickOnTheFocusedLabelEditsAfterTheDelay)
{
    InputTree f;
    f.tree->SetMiscOptions(f.tree->options().MiscOptions + TLTMiscOptions{toEditable});
    f.tree->SetEditDelay(0);
    const QPoint p = f.labelPoint(f["A0"]);
    QTest::mousePress(f.view(), Qt::LeftButton, {}, p);
    EXPECT_TRUE(f.tree->TreeStates().contains(tsEditPending));
    QTest::mouseRelease(f.view(), Qt::LeftButton, {}, p);
    EXPECT_TRUE(f.tree->timerActive(TBaseLazyTree::EditTimer));
    QApplication::processEvents();
    EXPECT_EQ(f.tree->edits, 1);
    EXPECT_FALSE(f.tree->TreeStates().contains(tsEditPending));
    EXPECT_FALSE(f.tree->timerActive(TBaseLazyTree::EditTimer));
    // A click on another node moves the focus and edits nothing.
    QTest::mouseClick(f.view(), Qt::LeftButton, {}, f.labelPoint(f["B"]));
    EXPECT_FALSE(f.tree->TreeStates().contains(tsEditPending));
    EXPECT_FALSE(f.tree->timerActive(TBaseLazyTree::EditTimer));
}

TEST(TreeClicks, AFailingClickHandlerLeavesNoEditPending)
{
    InputTree f;
    f.tree->SetMiscOptions(f.tree->options().MiscOptions + TLTMiscOptions{toEditable});
    f.tree->OnNodeClick = [](TBaseLazyTree&, const THitInfo&) {
        throw std::runtime_error("owner");
    };
    const QPoint p = f.labelPoint(f["A0"]);
    QTest::mousePress(f.view(), Qt::LeftButton, {}, p);
    QTest::mouseRelease(f.view(), Qt::LeftButton, {}, p);
    EXPECT_FALSE(f.tree->lastHandlerError().isEmpty());
    EXPECT_FALSE(f.tree->TreeStates().contains(tsEditPending));
    EXPECT_FALSE(f.tree->TreeStates().contains(tsLeftButtonDown));
    EXPECT_FALSE(f.tree->timerActive(TBaseLazyTree::EditTimer));
}

struct ButtonCase {
    std::string name;
    Qt::MouseButton button;
    TLTSelectionOptions extra;
    bool selects;
};

class TreeButtons : public ::testing::TestWithParam<ButtonCase> {};

TEST_P(TreeButtons, SelectOnlyWhenTheirOptionSaysSo)
{
    const ButtonCase& c = GetParam();
    InputTree f;
    f.tree->SetSelectionOptions(f.tree->options().SelectionOptions + c.extra);
    // The middle button of a scrollable tree pans while toWheelPanning is set.
    f.tree->SetMiscOptions(f.tree->options().MiscOptions - TLTMiscOptions{toWheelPanning});
    QTest::mouseClick(f.view(), c.button, {}, f.labelPoint(f["C"]));
    EXPECT_EQ(f.tree->Selected(f["C"]), c.selects);
    EXPECT_EQ(f.name(f.tree->FocusedNode()), c.selects ? "C" : "A0");
    for (TLazyTreeState s : {tsLeftButtonDown, tsMiddleButtonDown, tsRightButtonDown})
        EXPECT_FALSE(f.tree->TreeStates().contains(s));
}

const std::vector<ButtonCase> kButtonCases = {
    {"Left", Qt::LeftButton, {}, true},
    {"Right", Qt::RightButton, {}, false},
    {"RightWithRightClickSelect", Qt::RightButton, {toRightClickSelect}, true},
    {"Middle", Qt::MiddleButton, {}, false},
    {"MiddleWithMiddleClickSelect", Qt::MiddleButton, {toMiddleClickSelect}, true},
};
INSTANTIATE_TEST_SUITE_P(Cases, TreeButtons, ::testing::ValuesIn(kButtonCases), CaseName());

TEST(TreeClicks, TheContextMenuIsAskedForTheNodeThenItsParent)
{
    InputTree f;
    std::vector<std::string> asked;
    f.tree->OnGetPopupMenu = [&](TBaseLazyTree&, PLazyNode n, TColumnIndex, QPoint, bool&,
                                 QMenu*&) { asked.push_back(f.name(n)); };
    const QPoint p = f.labelPoint(f["A1"]);
    QContextMenuEvent e(QContextMenuEvent::Mouse, p, f.view()->mapToGlobal(p));
    QApplication::sendEvent(f.view(), &e);
    EXPECT_EQ(asked, (std::vector<std::string>{"A1", "A"}));
    // The menu key asks at the focused node.
    asked.clear();
    QTest::keyClick(f.tree.get(), Qt::Key_Menu);
    EXPECT_EQ(asked, (std::vector<std::string>{"A0", "A"}));
}

TEST(TreeHot, TheHotNodeFollowsTheLabelAndLeavesWithTheMouse)
{
    InputTree f;
    std::vector<std::string> log;
    f.tree->OnHotChange = [&](TBaseLazyTree&, PLazyNode from, PLazyNode to) {
        log.push_back(f.name(from) + ">" + f.name(to));
    };
    f.move(f.labelPoint(f["B"]), Qt::NoButton);
    f.move(f.labelPoint(f["B"]) + QPoint(2, 0), Qt::NoButton);
    f.move(f.rowPoint(f["C"], 2), Qt::NoButton);  // the indentation makes no node hot
    f.move(f.labelPoint(f["C"]), Qt::NoButton);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(f.view(), &leave);
    EXPECT_EQ(log, (std::vector<std::string>{"nil>B", "B>nil", "nil>C", "C>nil"}));
    EXPECT_EQ(f.tree->HotNode(), nullptr);
}

// A handler that throws stops at the tree and leaves nothing pending for the next event.
struct FailureCase {
    std::string name;
    std::function<void(InputTree&)> act;
};

class TreeInputFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(TreeInputFailure, LeavesNoPendingState)
{
    InputTree f;
    f.tree->SetMiscOptions(f.tree->options().MiscOptions
                           + TLTMiscOptions{toEditable, toNodeHeightResize});
    GetParam().act(f);
    EXPECT_FALSE(f.tree->lastHandlerError().isEmpty());
    const TLazyTreeStates pending{
        tsDrawSelPending,  tsDrawSelecting,          tsClearPending,
        tsEditPending,     tsNodeHeightTrackPending, tsMouseCheckPending,
        tsKeyCheckPending, tsToggleFocusedSelection, tsIncrementalSearchPending};
    EXPECT_FALSE(f.tree->TreeStates().intersects(pending))
        << std::hex << (f.tree->TreeStates().bits() & pending.bits());
    EXPECT_EQ(f.tree->checkNode(), nullptr);
    EXPECT_EQ(f.tree->checkConsistency().toStdString(), "");
    for (PLazyNode n = f.tree->GetFirst(); n; n = f.tree->GetNext(n)) {
        EXPECT_NE(n->CheckState, csUncheckedPressed);
        EXPECT_NE(n->CheckState, csCheckedPressed);
    }
}

void throwOnFocus(InputTree& f)
{
    f.tree->OnFocusChanging = [](TBaseLazyTree&, PLazyNode, PLazyNode, TColumnIndex, TColumnIndex,
                                 bool&) { throw std::runtime_error("owner"); };
}

const std::vector<FailureCase> kFailureCases = {
    {"FocusRefusedByThrowingAtButtonDown",
     [](InputTree& f) {
         throwOnFocus(f);
         QTest::mousePress(f.view(), Qt::LeftButton, {}, f.labelPoint(f["C"]));
     }},
    {"CheckingThrowsAtButtonDown",
     [](InputTree& f) {
         f.tree->OnChecking = [](LazyTreeModel&, PLazyNode, TCheckState&, bool&) {
             throw std::runtime_error("owner");
         };
         QTest::mousePress(f.view(), Qt::LeftButton, {},
                           f.rowPoint(f["C"], f.tree->Indent() + f.tree->Margin() + 3));
     }},
    {"SelectionThrowsWhileTheBandMoves",
     [](InputTree& f) {
         const int x = f.tree->viewport()->width() - 10;
         QTest::mousePress(f.view(), Qt::LeftButton, {}, f.rowPoint(f["B"], x));
         f.tree->OnAddToSelection = [](LazyTreeModel&, PLazyNode) {
             throw std::runtime_error("owner");
         };
         f.move(f.labelPoint(f["E"]));
     }},
    {"DeselectionThrowsWhileACtrlBandMoves",
     [](InputTree& f) {
         f.tree->SelectAll(true);
         const int x = f.tree->viewport()->width() - 10;
         QTest::mousePress(f.view(), Qt::LeftButton, Qt::ControlModifier, f.rowPoint(f["B"], x));
         f.tree->OnRemoveFromSelection = [](LazyTreeModel&, PLazyNode) {
             throw std::runtime_error("owner");
         };
         f.move(f.labelPoint(f["E"]), Qt::LeftButton, Qt::ControlModifier);
     }},
    {"FocusThrowsOnAKey",
     [](InputTree& f) {
         throwOnFocus(f);
         QTest::keyClick(f.tree.get(), Qt::Key_Down, Qt::ShiftModifier);
     }},
    {"SearchCharacterThrows",
     [](InputTree& f) {
         f.tree->OnStateChange = [](LazyTreeModel&, TLazyTreeStates enter, TLazyTreeStates) {
             if (enter.contains(tsIncrementalSearchPending))
                 throw std::runtime_error("owner");
         };
         QTest::keyClick(f.tree.get(), Qt::Key_X);
     }},
    {"HeightTrackingThrows",
     [](InputTree& f) {
         f.tree->OnNodeHeightTracking = [](TBaseLazyTree&, PLazyNode, TColumnIndex,
                                           Qt::KeyboardModifiers, QPoint&, QPoint,
                                           bool&) { throw std::runtime_error("owner"); };
         const QRect b = f.tree->GetDisplayRect(f["B"], NoColumn, false);
         const QPoint start(60, b.top() + b.height() - 1);
         QTest::mousePress(f.view(), Qt::LeftButton, {}, start);
         f.move(start + QPoint(0, 10));
         QTest::mouseRelease(f.view(), Qt::LeftButton, {}, start + QPoint(0, 10));
     }},
};
INSTANTIATE_TEST_SUITE_P(Cases, TreeInputFailure, ::testing::ValuesIn(kFailureCases), CaseName());

TEST(TreeTimers, EachIdDoesItsOwnWork)
{
    InputTree f;
    // 7 ends a search.
    f.tree->SetTreeStates(f.tree->TreeStates() + TLazyTreeStates{tsIncrementalSearching});
    f.tree->fireTimer(TBaseLazyTree::SearchTimer);
    EXPECT_FALSE(f.tree->TreeStates().contains(tsIncrementalSearching));
    // 4 turns a pending scroll into scrolling and keeps running.
    f.tree->SetTreeStates(f.tree->TreeStates() + TLazyTreeStates{tsScrollPending});
    f.tree->fireTimer(TBaseLazyTree::ScrollTimer);
    EXPECT_TRUE(f.tree->TreeStates().contains(tsScrolling));
    EXPECT_FALSE(f.tree->TreeStates().contains(tsScrollPending));
    EXPECT_TRUE(f.tree->timerActive(TBaseLazyTree::ScrollTimer));
    // Button-up stops it again.
    QTest::mouseClick(f.view(), Qt::LeftButton, {}, f.labelPoint(f["B"]));
    EXPECT_FALSE(f.tree->TreeStates().contains(tsScrolling));
    EXPECT_FALSE(f.tree->timerActive(TBaseLazyTree::ScrollTimer));
    // 2 edits only while an edit is pending.
    f.tree->fireTimer(TBaseLazyTree::EditTimer);
    EXPECT_EQ(f.tree->edits, 0);
    f.tree->SetTreeStates(f.tree->TreeStates() + TLazyTreeStates{tsEditPending});
    f.tree->fireTimer(TBaseLazyTree::EditTimer);
    EXPECT_EQ(f.tree->edits, 1);
    EXPECT_FALSE(f.tree->TreeStates().contains(tsEditPending));
}

TEST(TreeCursor, HotNodesShowTheHotCursorAndTheOwnerHasTheLastWord)
{
    InputTree f;
    const QPoint label = f.labelPoint(f["B"]);
    f.tree->SetHotCursor(Qt::PointingHandCursor);
    f.move(label, Qt::NoButton);
    // Without hot tracking the hot cursor is not used.
    EXPECT_EQ(f.tree->cursorAt(label), Qt::ArrowCursor);
    f.tree->SetPaintOptions(f.tree->options().PaintOptions + TLTPaintOptions{toHotTrack});
    EXPECT_EQ(f.tree->cursorAt(label), Qt::PointingHandCursor);
    EXPECT_EQ(f.view()->cursor().shape(), Qt::ArrowCursor);
    f.move(label + QPoint(1, 0), Qt::NoButton);
    EXPECT_EQ(f.view()->cursor().shape(), Qt::PointingHandCursor);
    f.tree->OnGetCursor = [](TBaseLazyTree&, Qt::CursorShape& shape) { shape = Qt::WaitCursor; };
    EXPECT_EQ(f.tree->cursorAt(label), Qt::WaitCursor);
}

TEST(TreeHot, FreeingTheHotNodeForgetsIt)
{
    InputTree f;
    std::vector<std::string> log;
    f.tree->OnHotChange = [&](TBaseLazyTree&, PLazyNode from, PLazyNode to) {
        log.push_back(f.name(from) + ">" + f.name(to));
    };
    f.move(f.labelPoint(f["B"]), Qt::NoButton);
    ASSERT_EQ(f.tree->HotNode(), f["B"]);
    f.names.erase(f["B"]);
    f.tree->DeleteNode(f["B"]);
    EXPECT_EQ(f.tree->HotNode(), nullptr);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(f.view(), &leave);
    // The freed node is never handed out again.
    EXPECT_EQ(log, (std::vector<std::string>{"nil>B"}));
}

TEST(TreeHot, TheHotNodeFollowsAScrollUnderARestingMouse)
{
    InputTree f;
    const QPoint p = f.labelPoint(f["B"]);
    // The cursor goes far away again afterwards, so that no later window finds it inside.
    struct CursorBack {
        ~CursorBack() { QCursor::setPos(QPoint(-10000, -10000)); }
    } back;
    QCursor::setPos(f.view()->mapToGlobal(p));
    if (f.view()->mapFromGlobal(QCursor::pos()) != p)
        GTEST_SKIP() << "the platform does not move the cursor";
    f.view()->setAttribute(Qt::WA_UnderMouse);
    f.move(p, Qt::NoButton);
    ASSERT_EQ(f.tree->HotNode(), f["B"]);
    f.tree->SetOffsetY(-18);
    EXPECT_EQ(f.tree->HotNode(), f["C"]);
}

}  // namespace
}  // namespace zfw::test
