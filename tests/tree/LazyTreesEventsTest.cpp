// The tree's events as the owner sees them: the order in which they arrive during the main
// activities, and exceptions from handlers stopped at Qt's event boundary with the tree left
// consistent.
//
// Fixture: a shown control with three lazy top-level nodes A, B, C. OnInitNode gives A
// children (two, from OnInitChildren) and makes B start expanded with children; children are
// named after their parent and index (A0, A1).

#include "support/CaseName.h"

#include "tree/LazyTreesControl.h"

#include <QApplication>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace zfw {
namespace {

using test::CaseName;

const char* const kReasons[] = {"Ignore",    "Accumulated", "ChildAdded", "ChildDeleted",
                                "NodeAdded", "NodeCopied",  "NodeMoved"};
const char* const kUpdates[] = {"Begin", "BeginSynch", "Synch", "Update", "End", "EndSynch"};
const char* const kOperations[] = {"AutoFit",  "MaxWidth", "SortNode",
                                   "SortTree", "Export",   "Expand"};

std::string stateNames(TLazyTreeStates s)
{
    static const std::map<TLazyTreeState, const char*> names = {{tsUpdating, "Updating"},
                                                                {tsToggling, "Toggling"},
                                                                {tsChangePending, "ChangePending"},
                                                                {tsStructureChangePending,
                                                                 "StructurePending"},
                                                                {tsSizing, "Sizing"},
                                                                {tsPainting, "Painting"},
                                                                {tsSynchMode, "Synch"},
                                                                {tsInAnimation, "Animation"}};
    std::string out;
    for (const auto& [state, name] : names) {
        if (s.contains(state))
            out += std::string(out.empty() ? "" : ",") + name;
    }
    return out;
}

// Writes every event of the tree into one list, nodes by name.
struct Recorder {
    std::vector<std::string> log;
    std::map<PLazyNode, std::string> names;
    bool states = false;

    std::string name(PLazyNode n)
    {
        if (!n)
            return "nil";
        if (auto it = names.find(n); it != names.end())
            return it->second;
        if (!n->Parent || n->isRoot())
            return "root";
        std::string own = n->Parent->isRoot() ? std::string(1, char('A' + n->Index))
                                              : name(n->Parent) + std::to_string(n->Index);
        names[n] = own;
        return own;
    }

    void add(std::string s) { log.push_back(std::move(s)); }

    void attach(TBaseLazyTree& t)
    {
        t.OnGetNodeDataSize = [this](LazyTreeModel&, int&) { add("DataSize"); };
        t.OnInitNode = [this](LazyTreeModel&, PLazyNode parent, PLazyNode node,
                              TLazyNodeInitStates& s) {
            add("Init " + name(node));
            if (!parent && node->Index == 0)
                s.include(ivsHasChildren);
            if (!parent && node->Index == 1)
                s = s + TLazyNodeInitStates{ivsHasChildren, ivsExpanded};
        };
        t.OnInitChildren = [this](LazyTreeModel&, PLazyNode node, std::uint32_t& count) {
            add("InitChildren " + name(node));
            count = 2;
        };
        t.OnFreeNode = [this](LazyTreeModel&, PLazyNode node) { add("Free " + name(node)); };
        t.OnResetNode = [this](LazyTreeModel&, PLazyNode node) { add("Reset " + name(node)); };
        t.OnStructureChange = [this](LazyTreeModel&, PLazyNode node, TChangeReason r) {
            add("Structure " + name(node) + " " + kReasons[r]);
        };
        t.OnChange = [this](LazyTreeModel&, PLazyNode node) { add("Change " + name(node)); };
        t.OnUpdating = [this](LazyTreeModel&, TLTUpdateState s) {
            add(std::string("Updating ") + kUpdates[s]);
        };
        t.OnStateChange = [this](LazyTreeModel&, TLazyTreeStates enter, TLazyTreeStates leave) {
            if (!states)
                return;
            const std::string in = stateNames(enter);
            const std::string out = stateNames(leave);
            if (!in.empty())
                add("State +" + in);
            if (!out.empty())
                add("State -" + out);
        };
        t.OnStartOperation = [this](LazyTreeModel&, TLTOperationKind k) {
            add(std::string("Start ") + kOperations[k]);
        };
        t.OnEndOperation = [this](LazyTreeModel&, TLTOperationKind k) {
            add(std::string("End ") + kOperations[k]);
        };
        t.OnCompareNodes = [this](LazyTreeModel&, PLazyNode a, PLazyNode b, TColumnIndex,
                                  int& result) {
            add("Compare " + name(a) + " " + name(b));
            result = int(b->Index) - int(a->Index);
        };
        t.OnNodeMoving = [this](LazyTreeModel&, PLazyNode n, PLazyNode target, bool&) {
            add("Moving " + name(n) + " " + name(target));
        };
        t.OnNodeMoved = [this](LazyTreeModel&, PLazyNode n) { add("Moved " + name(n)); };
        t.OnNodeCopying = [this](LazyTreeModel&, PLazyNode n, PLazyNode target, bool&) {
            names[n] = "copy";
            add("Copying " + name(n) + " " + name(target));
        };
        t.OnNodeCopied = [this](LazyTreeModel&, PLazyNode n) { add("Copied " + name(n)); };
        t.OnExpanding = [this](LazyTreeModel&, PLazyNode n, bool&) { add("Expanding " + name(n)); };
        t.OnCollapsing = [this](LazyTreeModel&, PLazyNode n, bool&) {
            add("Collapsing " + name(n));
        };
        t.OnExpanded = [this](LazyTreeModel&, PLazyNode n) { add("Expanded " + name(n)); };
        t.OnCollapsed = [this](LazyTreeModel&, PLazyNode n) { add("Collapsed " + name(n)); };
        t.OnFocusChanged = [this](LazyTreeModel&, PLazyNode n, TColumnIndex) {
            add("Focus " + name(n));
        };
        t.OnScroll = [this](TBaseLazyTree&, int dx, int dy) {
            add("Scroll " + std::to_string(dx) + " " + std::to_string(dy));
        };
        t.OnShowScrollBar = [this](TBaseLazyTree&, Qt::Orientation bar, bool show) {
            add(std::string("Bar ") + (bar == Qt::Vertical ? "V " : "H ")
                + (show ? "shown" : "hidden"));
        };
        t.OnMeasureItem = [this](TBaseLazyTree&, PLazyNode n, int& h) {
            add("Measure " + name(n));
            h = 30;
        };
    }
};

struct Fixture {
    // Declared first: the tree's destructor still reports freed nodes to it.
    Recorder rec;
    std::unique_ptr<TBaseLazyTree> tree = std::make_unique<TBaseLazyTree>();

    explicit Fixture(bool withNodes = true)
    {
        tree->SetAutoOptions(tree->options().AutoOptions - TLTAutoOptions{toAutoSort});
        tree->SetAnimationDuration(0);
        tree->resize(200, 100);
        rec.attach(*tree);
        if (withNodes) {
            tree->SetNodeDataSize(8);
            tree->SetRootNodeCount(3);
        }
        tree->show();
    }
    PLazyNode top(int i) const
    {
        PLazyNode n = tree->RootNode()->FirstChild;
        while (n && i-- > 0)
            n = n->NextSibling;
        return n;
    }
    PLazyNode child(int i, int c) const
    {
        PLazyNode n = top(i)->FirstChild;
        while (n && c-- > 0)
            n = n->NextSibling;
        return n;
    }
    // Runs `work` with the log emptied first.
    std::string record(const std::function<void(Fixture&)>& work)
    {
        rec.log.clear();
        work(*this);
        std::string out;
        for (const auto& s : rec.log)
            out += (out.empty() ? "" : " | ") + s;
        return out;
    }
};

// ----- order of events per activity -----------------------------------------------------

struct OrderCase {
    const char* name;
    bool withNodes;
    bool states;
    std::function<void(Fixture&)> prepare;
    std::function<void(Fixture&)> work;
    const char* expected;
};

// Showing the fixture has initialised the rows in view (A, B with B0 and B1, C); A's children
// have not been asked for.
const OrderCase kOrderCases[] = {
    {"FirstNodesAskTheDataSizeOnceThenTheRowsInView", false, false, nullptr,
     [](Fixture& f) { f.tree->SetRootNodeCount(2); },
     "Updating Begin | DataSize | Init A | Init B | Expanding B | InitChildren B | "
     "Structure B Accumulated | Expanded B | Init B0 | Init B1 | Updating End"},
    {"ChildrenAreAskedForWhenFirstNeeded", true, false, nullptr,
     [](Fixture& f) { f.tree->GetFirstChild(f.top(0)); },
     "InitChildren A | Structure A ChildAdded | Init A0"},
    {"ExpandingAsksBetweenExpandingAndExpanded", true, true, nullptr,
     [](Fixture& f) { f.tree->ToggleNode(f.top(0)); },
     "State +Toggling | Expanding A | InitChildren A | State +StructurePending | "
     "Structure A ChildAdded | State -StructurePending | Expanded A | State +Sizing | "
     "Init A0 | Init A1 | State -Sizing | Bar V shown | State -Toggling"},
    {"RefusedExpansionAsksNothingMore", true, false,
     [](Fixture& f) {
         f.tree->OnExpanding = [&f](LazyTreeModel&, PLazyNode n, bool& allowed) {
             f.rec.add("Expanding " + f.rec.name(n));
             allowed = false;
         };
     },
     [](Fixture& f) { f.tree->ToggleNode(f.top(0)); }, "Expanding A"},
    {"Collapsing", true, false, nullptr, [](Fixture& f) { f.tree->ToggleNode(f.top(1)); },
     "Collapsing B | Collapsed B"},
    {"CollapseMovesTheSelectionToTheShownParent", true, false,
     [](Fixture& f) {
         f.tree->SetSelectionOptions(TLTSelectionOptions{toAlwaysSelectNode});
         f.tree->SetSelected(f.child(1, 1), true);
     },
     [](Fixture& f) { f.tree->ToggleNode(f.top(1)); },
     // The first node of an empty selection takes the focus.
     "Collapsing B | Collapsed B | Change B1 | Focus B | Change B"},
    {"DeletingFreesChildrenFirstThenOneNotice", true, false, nullptr,
     [](Fixture& f) { f.tree->DeleteNode(f.top(1)); },
     "Free B1 | Free B0 | Free B | Structure nil ChildDeleted"},
    {"DeletingChildrenNamesTheParent", true, false, nullptr,
     [](Fixture& f) { f.tree->DeleteChildren(f.top(1)); },
     "Free B1 | Free B0 | Structure B ChildDeleted"},
    {"ResetFiresBeforeTheChildrenGo", true, false, nullptr,
     [](Fixture& f) { f.tree->ResetNode(f.top(1)); },
     "Reset B | Free B1 | Free B0 | Structure B ChildDeleted | Init B | Expanding B | "
     "InitChildren B | Structure B ChildAdded | Expanded B | Init B0 | Init B1"},
    {"NoticesInsideABracketComeOnceAtItsEnd", true, true, nullptr,
     [](Fixture& f) {
         f.tree->BeginUpdate();
         f.tree->BeginUpdate();
         f.tree->AddChild(nullptr);
         f.tree->SetSelected(f.top(2), true);
         f.tree->EndUpdate();
         f.tree->EndUpdate();
     },
     "Updating Begin | State +Updating | Updating Update | State +StructurePending | "
     "Focus C | State +ChangePending | Updating Update | State -Updating | State +Sizing | Init D "
     "| "
     "State -Sizing | Bar V shown | Structure nil ChildAdded | State -StructurePending | "
     "Change C | State -ChangePending | Updating End"},
    {"SynchBracketDeliversPendingNoticesAtItsStart", true, false,
     [](Fixture& f) {
         f.tree->SetChangeDelay(500);
         f.tree->SetSelected(f.top(2), true);
     },
     [](Fixture& f) {
         f.tree->BeginSynch();
         f.tree->EndSynch();
     },
     "Updating BeginSynch | Change C | Updating EndSynch"},
    {"MovingAsksFirstAndNotifiesLast", true, false, nullptr,
     [](Fixture& f) { f.tree->MoveTo(f.top(0), f.top(2), amInsertAfter, false); },
     "Moving A C | Moved A | Structure A NodeMoved"},
    {"CopyingConnectsBeforeAsking", true, false, nullptr,
     [](Fixture& f) { f.tree->CopyTo(f.top(2), nullptr, amAddChildLast, false); },
     "Updating Begin | Copying copy nil | Copied copy | Bar V shown | Updating End | "
     "Structure C NodeCopied"},
    {"SortingComparesInsideItsOperation", true, false, nullptr,
     [](Fixture& f) { f.tree->Sort(nullptr, NoColumn, sdAscending, false); },
     "Start SortNode | Compare B C | Compare A C | Compare A B | End SortNode"},
    {"FullExpandRunsAsOneOperation", true, false, nullptr, [](Fixture& f) { f.tree->FullExpand(); },
     "Start Expand | Updating Begin | Expanding A | InitChildren A | Expanded A | Init A0 | "
     "Expanding A0 | Init A1 | Expanding A1 | Expanding B0 | Expanding B1 | Expanding C | "
     "End Expand | Bar V shown | Structure A ChildAdded | Updating End"},
    {"ScrollingReportsTheDelta", true, false, [](Fixture& f) { f.tree->SetRootNodeCount(20); },
     [](Fixture& f) { f.tree->SetOffsetY(-30); }, "Scroll 0 -30"},
    {"BarsReportShowingWhenTheContentOutgrowsTheClient", true, false, nullptr,
     [](Fixture& f) { f.tree->SetRootNodeCount(20); },
     "Updating Begin | Init D | Bar V shown | Structure nil ChildAdded | Updating End"},
    {"HeightsAreMeasuredAfterInitialisation", true, false,
     [](Fixture& f) {
         f.tree->SetMiscOptions(f.tree->options().MiscOptions
                                + TLTMiscOptions{toVariableNodeHeight});
     },
     [](Fixture& f) { f.tree->ToggleNode(f.top(0)); },
     "Expanding A | Init A0 | Measure A0 | Init A1 | Measure A1 | Expanded A"},
};

class EventOrder : public ::testing::TestWithParam<OrderCase> {};

TEST_P(EventOrder, PerActivity)
{
    const OrderCase& c = GetParam();
    Fixture f(c.withNodes);
    if (c.prepare)
        c.prepare(f);
    f.rec.states = c.states;
    EXPECT_EQ(f.record(c.work), c.expected);
    EXPECT_EQ(f.tree->checkConsistency(), QString());
}

INSTANTIATE_TEST_SUITE_P(Table, EventOrder, ::testing::ValuesIn(kOrderCases), CaseName{});

// ----- a handler's exception stops at Qt's event boundary --------------------------------

struct HandlerFailure : std::runtime_error {
    HandlerFailure() : std::runtime_error("handler failed") {}
};

struct BoundaryCase {
    const char* name;
    std::function<void(Fixture&)> prepare;
    // Sends the Qt event (or lets the timer run) that reaches the failing handler.
    std::function<void(Fixture&)> trigger;
};

void manyRowsScrolledPastTheInitialisedOnes(Fixture& f)
{
    f.tree->SetRootNodeCount(40);
    f.tree->SetOffsetY(-400);
}

const BoundaryCase kBoundaryCases[] = {
    {"DelayedChangeNotice",
     [](Fixture& f) {
         f.tree->OnChange = [](LazyTreeModel&, PLazyNode) { throw HandlerFailure(); };
         f.tree->SetChangeDelay(1);
         f.tree->SetSelected(f.top(2), true);
     },
     nullptr},
    {"DelayedStructureNotice",
     [](Fixture& f) {
         f.tree->OnStructureChange = [](LazyTreeModel&, PLazyNode, TChangeReason) {
             throw HandlerFailure();
         };
         f.tree->SetChangeDelay(1);
         f.tree->DeleteNode(f.top(2));
     },
     nullptr},
    {"InitialisingWhilePainting",
     [](Fixture& f) {
         manyRowsScrolledPastTheInitialisedOnes(f);
         f.tree->OnInitNode = [](LazyTreeModel&, PLazyNode, PLazyNode, TLazyNodeInitStates&) {
             throw HandlerFailure();
         };
     },
     [](Fixture& f) { f.tree->grab(); }},
    {"MeasuringWhilePainting",
     [](Fixture& f) {
         f.tree->SetMiscOptions(f.tree->options().MiscOptions
                                + TLTMiscOptions{toVariableNodeHeight});
         manyRowsScrolledPastTheInitialisedOnes(f);
         f.tree->OnMeasureItem = [](TBaseLazyTree&, PLazyNode, int&) { throw HandlerFailure(); };
     },
     [](Fixture& f) { f.tree->grab(); }},
    {"StateChangeWhileResizing",
     [](Fixture& f) {
         f.tree->OnStateChange = [](LazyTreeModel&, TLazyTreeStates enter, TLazyTreeStates) {
             if (enter.contains(tsSizing))
                 throw HandlerFailure();
         };
     },
     [](Fixture& f) { f.tree->resize(240, 160); }},
    {"ScrollFromTheBar",
     [](Fixture& f) {
         f.tree->SetRootNodeCount(40);
         f.tree->OnScroll = [](TBaseLazyTree&, int, int) { throw HandlerFailure(); };
     },
     [](Fixture& f) { f.tree->verticalScrollBar()->setValue(40); }},
    {"EndOfTheToggleAnimation",
     [](Fixture& f) {
         f.tree->SetAnimationOptions({toAnimatedToggle});
         f.tree->SetAnimationDuration(20);
         f.tree->OnStateChange = [](LazyTreeModel&, TLazyTreeStates, TLazyTreeStates leave) {
             if (leave.contains(tsInAnimation))
                 throw HandlerFailure();
         };
         f.tree->ToggleNode(f.top(0));
     },
     nullptr},
};

class HandlerException : public ::testing::TestWithParam<BoundaryCase> {};

TEST_P(HandlerException, StopsAtTheTreeWhichStaysConsistent)
{
    const BoundaryCase& c = GetParam();
    Fixture f;
    c.prepare(f);
    if (c.trigger) {
        EXPECT_NO_THROW(c.trigger(f));
    }
    // A delayed case arrives from the event loop; an exception escaping into it fails the test.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !f.tree->lastHandlerError().isEmpty(); }, 2000));
    EXPECT_EQ(f.tree->lastHandlerError(), QString("handler failed"));
    EXPECT_EQ(f.tree->checkConsistency(), QString());
    const TLazyTreeStates transient{tsSizing,   tsPainting,    tsChangePending,
                                    tsToggling, tsInAnimation, tsStructureChangePending};
    EXPECT_FALSE(f.tree->TreeStates().intersects(transient));
}

INSTANTIATE_TEST_SUITE_P(Table, HandlerException, ::testing::ValuesIn(kBoundaryCases), CaseName{});

// ----- a handler's exception inside an operation the owner called ------------------------

struct OperationCase {
    const char* name;
    std::function<void(Fixture&)> prepare;
    std::function<void(Fixture&)> act;
    std::uint32_t nodesAfter;  // TotalNodeCount once the exception has come out
};

std::function<void(LazyTreeModel&, TLazyTreeStates, TLazyTreeStates)> failOnEntering(
    TLazyTreeState state)
{
    return [state](LazyTreeModel&, TLazyTreeStates enter, TLazyTreeStates) {
        if (enter.contains(state))
            throw HandlerFailure();
    };
}

// The fixture holds A, B (with B0, B1) and C: 5 nodes.
const OperationCase kOperationCases[] = {
    {"EnteringTheToggle", [](Fixture& f) { f.tree->OnStateChange = failOnEntering(tsToggling); },
     [](Fixture& f) { f.tree->ToggleNode(f.top(0)); }, 5},
    {"OpeningAnUpdateBracket",
     [](Fixture& f) { f.tree->OnStateChange = failOnEntering(tsUpdating); },
     [](Fixture& f) { f.tree->BeginUpdate(); }, 5},
    {"OpeningASynchBracket",
     [](Fixture& f) { f.tree->OnStateChange = failOnEntering(tsSynchMode); },
     [](Fixture& f) { f.tree->BeginSynch(); }, 5},
    {"AskingForChildrenWhileExpanding",
     [](Fixture& f) {
         f.tree->OnInitChildren = [](LazyTreeModel&, PLazyNode, std::uint32_t&) {
             throw HandlerFailure();
         };
     },
     [](Fixture& f) { f.tree->ToggleNode(f.top(0)); }, 5},
    {"AfterExpanding",
     [](Fixture& f) {
         f.tree->OnExpanded = [](LazyTreeModel&, PLazyNode) { throw HandlerFailure(); };
     },
     [](Fixture& f) { f.tree->ToggleNode(f.top(0)); }, 7},
    {"ChangeWhileDeletingASelectedNode",
     [](Fixture& f) {
         f.tree->SetSelected(f.top(2), true);
         f.tree->OnChange = [](LazyTreeModel&, PLazyNode) { throw HandlerFailure(); };
     },
     [](Fixture& f) { f.tree->DeleteNode(f.top(2)); }, 5},
    {"FreeingAChildWhileDeletingItsParent",
     [](Fixture& f) {
         f.tree->OnFreeNode = [b1 = f.child(1, 1)](LazyTreeModel&, PLazyNode n) {
             if (n == b1)
                 throw HandlerFailure();
         };
     },
     [](Fixture& f) { f.tree->DeleteNode(f.top(1)); }, 2},
    {"FreeingWhileClearing",
     [](Fixture& f) {
         f.tree->OnFreeNode = [](LazyTreeModel&, PLazyNode) { throw HandlerFailure(); };
     },
     [](Fixture& f) { f.tree->Clear(); }, 0},
};

class HandlerExceptionInOperation : public ::testing::TestWithParam<OperationCase> {};

TEST_P(HandlerExceptionInOperation, ReachesTheCallerWithTheTreeConsistent)
{
    const OperationCase& c = GetParam();
    Fixture f;
    c.prepare(f);
    EXPECT_THROW(c.act(f), HandlerFailure);
    EXPECT_EQ(f.tree->TotalNodeCount(), c.nodesAfter);
    EXPECT_EQ(f.tree->checkConsistency(), QString());
    EXPECT_FALSE(f.tree->IsUpdating());
    const TLazyTreeStates transient{tsUpdating, tsSynchMode, tsToggling, tsChangePending,
                                    tsStructureChangePending};
    EXPECT_FALSE(f.tree->TreeStates().intersects(transient));
    // The tree works on: a node can be expanded and the brackets open and close.
    f.rec.attach(*f.tree);
    f.tree->BeginUpdate();
    f.tree->EndUpdate();
    if (f.tree->RootNodeCount() > 0) {
        const bool was = f.tree->Expanded(f.top(0));
        f.tree->ToggleNode(f.top(0));
        EXPECT_NE(f.tree->Expanded(f.top(0)), was);
    }
    EXPECT_EQ(f.tree->checkConsistency(), QString());
}

INSTANTIATE_TEST_SUITE_P(Table, HandlerExceptionInOperation, ::testing::ValuesIn(kOperationCases),
                         CaseName{});

}  // namespace
}  // namespace zfw
