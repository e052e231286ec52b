// Incremental search as the user types: which node gets the focus, what the buffer holds, which
// nodes were compared and how often the tree beeps.

#include "support/CaseName.h"
#include "support/FakeBeeper.h"
#include "tree/LazyTreesString.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace zfw::test {
namespace {

// Records the nodes the search compares, in order.
class SearchTree : public TLazyStringTree {
public:
    std::vector<PLazyNode> compared;
    void fireTimer(int id) { DoTimer(id); }

protected:
    int DoIncrementalSearch(PLazyNode node, const QString& text) override
    {
        compared.push_back(node);
        return TLazyStringTree::DoIncrementalSearch(node, text);
    }
};

// apple (with the collapsed child acorn), banana, apricot, cherry, almond; the texts are the
// names. Search over all nodes from the focused one, forward, by default.
struct SearchFixture {
    std::unique_ptr<SearchTree> tree = std::make_unique<SearchTree>();
    std::shared_ptr<FakeBeeper> beeper = std::make_shared<FakeBeeper>();
    std::map<std::string, PLazyNode> byName;
    std::map<PLazyNode, std::string> names;

    SearchFixture()
    {
        tree->SetAutoOptions(tree->options().AutoOptions - TLTAutoOptions{toAutoSort});
        tree->SetAnimationDuration(0);
        tree->SetBeeper(beeper);
        tree->SetIncrementalSearch(isAll);
        tree->OnGetText = [this](TBaseLazyTree&, PLazyNode n, TColumnIndex, TVSTTextType,
                                 QString& text) {
            const auto it = names.find(n);
            text = it == names.end() ? QString() : QString::fromStdString(it->second);
        };
        for (const char* n : {"apple", "banana", "apricot", "cherry", "almond"})
            add(n, nullptr);
        add("acorn", byName["apple"]);
        tree->resize(240, 200);
        tree->show();
        QApplication::processEvents();
        tree->setFocus();
    }
    void add(const std::string& name, PLazyNode parent)
    {
        PLazyNode n = tree->AddChild(parent);
        byName[name] = n;
        names[n] = name;
    }
    std::string name(PLazyNode n) const { return n ? names.at(n) : "nil"; }
    std::string comparedNames() const
    {
        std::string s;
        for (PLazyNode n : tree->compared)
            s += (s.empty() ? "" : " ") + name(n);
        return s;
    }
    // Letters are typed; '<' is Backspace.
    void type(const std::string& keys)
    {
        for (char c : keys) {
            if (c == '<')
                QTest::keyClick(tree.get(), Qt::Key_Backspace);
            else
                QTest::keyClick(tree.get(), c);
        }
    }
};

struct SearchCase {
    std::string name;
    TLTIncrementalSearch filter;
    TLTSearchStart start;
    TLTSearchDirection direction;
    std::string focused;  // before typing; "" none
    std::string keys;
    std::string expectFocused;
    std::string expectBuffer;
    int expectBeeps;
    std::string expectCompared;  // of the last key; "*" not compared
};

const SearchCase kSearchCases[] = {
    {"AFindsTheNextA", isAll, ssFocusedNode, sdForward, "banana", "a", "apricot", "a", 0,
     "apricot"},
    {"AAgainStepsOn", isAll, ssFocusedNode, sdForward, "banana", "aa", "almond", "a", 0,
     "apricot cherry almond"},
    {"AAgainWrapsToTheTop", isAll, ssFocusedNode, sdForward, "banana", "aaa", "apple", "a", 0,
     "almond apple"},
    {"AAgainFindsCollapsedChildren", isAll, ssFocusedNode, sdForward, "banana", "aaaa", "acorn",
     "a", 0, "apple acorn"},
    {"ApStaysOnAMatchingNode", isAll, ssFocusedNode, sdForward, "banana", "ap", "apricot", "ap", 0,
     "apricot"},
    {"ApMovesOnWhenTheNodeDoesNotMatch", isAll, ssFocusedNode, sdForward, "banana", "al", "almond",
     "al", 0, "apricot cherry almond"},
    {"BackspaceSearchesBack", isAll, ssFocusedNode, sdForward, "banana", "al<", "apricot", "a", 0,
     "cherry apricot"},
    {"BackspaceOnAnEmptyBufferOnlyWaits", isAll, ssFocusedNode, sdForward, "banana", "z<", "banana",
     "", 1, ""},
    {"VisibleOnlySkipsCollapsedChildren", isVisibleOnly, ssFocusedNode, sdForward, "banana", "aaaa",
     "apricot", "a", 0, "apple banana apricot"},
    {"VisibleOnlyNeverFindsACollapsedChild", isVisibleOnly, ssFocusedNode, sdForward, "apple", "ac",
     "apricot", "a", 1, "apricot cherry almond apple banana apricot"},
    {"AllFindsTheCollapsedChild", isAll, ssFocusedNode, sdForward, "apple", "ac", "acorn", "ac", 0,
     "acorn"},
    {"StartOverBeginsAtTheFirstNode", isAll, ssAlwaysStartOver, sdForward, "almond", "a", "apple",
     "a", 0, "apple"},
    {"StartOverBackwardBeginsAtTheLastNode", isAll, ssAlwaysStartOver, sdBackward, "apple", "a",
     "almond", "a", 0, "almond"},
    {"StartOverDoesNotWrap", isAll, ssAlwaysStartOver, sdForward, "cherry", "z", "cherry", "", 1,
     "apple acorn banana apricot cherry almond"},
    {"NoMatchBeepsOnceAndKeepsTheBuffer", isAll, ssFocusedNode, sdForward, "banana", "az",
     "apricot", "a", 1, "apricot cherry almond apple acorn banana apricot"},
    {"NoMatchWithoutFocusBeepsOnce", isAll, ssFocusedNode, sdForward, "", "z", "nil", "", 1,
     "apple acorn banana apricot cherry almond"},
};

class SearchTable : public ::testing::TestWithParam<SearchCase> {};

TEST_P(SearchTable, TypedKeysMoveTheFocus)
{
    const SearchCase& c = GetParam();
    SearchFixture f;
    f.tree->SetIncrementalSearch(c.filter);
    f.tree->SetIncrementalSearchStart(c.start);
    f.tree->SetIncrementalSearchDirection(c.direction);
    if (!c.focused.empty()) {
        f.tree->SetFocusedNode(f.byName.at(c.focused));
        f.tree->SetSelected(f.byName.at(c.focused), true);
    }
    for (std::size_t i = 0; i < c.keys.size(); ++i) {
        f.tree->compared.clear();
        f.type(c.keys.substr(i, 1));
    }
    EXPECT_EQ(f.name(f.tree->FocusedNode()), c.expectFocused);
    EXPECT_EQ(f.tree->SearchBuffer().toStdString(), c.expectBuffer);
    EXPECT_EQ(f.beeper->beeps, c.expectBeeps);
    if (c.expectCompared != "*") {
        EXPECT_EQ(f.comparedNames(), c.expectCompared);
    }
    // A hit is the only selected node.
    if (c.expectFocused != "nil" && c.expectBeeps == 0 && !c.expectBuffer.empty()) {
        EXPECT_EQ(f.tree->SelectedCount(), 1u);
        EXPECT_TRUE(f.tree->Selected(f.tree->FocusedNode()));
    }
    EXPECT_TRUE(f.tree->TreeStates().contains(tsIncrementalSearching));
    EXPECT_TRUE(f.tree->timerActive(TBaseLazyTree::SearchTimer));
    EXPECT_EQ(f.tree->checkConsistency().toStdString(), "");
}

INSTANTIATE_TEST_SUITE_P(Cases, SearchTable, ::testing::ValuesIn(kSearchCases), CaseName());

TEST(IncrementalSearch, OffNeverSearchesNorStartsTheTimer)
{
    SearchFixture f;
    f.tree->SetIncrementalSearch(isNone);
    f.tree->SetFocusedNode(f.byName["banana"]);
    f.type("a");
    EXPECT_EQ(f.name(f.tree->FocusedNode()), "banana");
    EXPECT_TRUE(f.tree->compared.empty());
    EXPECT_FALSE(f.tree->timerActive(TBaseLazyTree::SearchTimer));
    EXPECT_EQ(f.tree->SearchBuffer(), QString());
}

TEST(IncrementalSearch, TheTimeoutStartsANewText)
{
    SearchFixture f;
    f.tree->SetFocusedNode(f.byName["banana"]);
    f.type("a");
    ASSERT_EQ(f.name(f.tree->FocusedNode()), "apricot");
    f.tree->fireTimer(TBaseLazyTree::SearchTimer);
    EXPECT_EQ(f.tree->SearchBuffer(), QString());
    EXPECT_FALSE(f.tree->TreeStates().contains(tsIncrementalSearching));
    EXPECT_FALSE(f.tree->timerActive(TBaseLazyTree::SearchTimer));
    // Without the timeout "ac" would be looked for.
    f.type("c");
    EXPECT_EQ(f.name(f.tree->FocusedNode()), "cherry");
    EXPECT_EQ(f.tree->SearchBuffer(), QStringLiteral("c"));
}

TEST(IncrementalSearch, AFreedLastHitIsForgotten)
{
    SearchFixture f;
    f.tree->SetFocusedNode(f.byName["banana"]);
    f.type("a");
    ASSERT_EQ(f.tree->LastSearchNode(), f.byName["apricot"]);
    f.tree->SetIncrementalSearchStart(ssLastHit);
    f.tree->DeleteNode(f.byName["apricot"]);
    f.names.erase(f.byName["apricot"]);
    EXPECT_EQ(f.tree->LastSearchNode(), nullptr);
    // The next letter starts over from the top instead of from the freed node.
    f.tree->compared.clear();
    f.type("a");
    EXPECT_EQ(f.name(f.tree->FocusedNode()), "apple");
    EXPECT_EQ(f.comparedNames(), "apple");
    EXPECT_EQ(f.tree->checkConsistency().toStdString(), "");
}

TEST(IncrementalSearch, TheOwnersCompareDecides)
{
    SearchFixture f;
    f.tree->SetFocusedNode(f.byName["banana"]);
    // The owner matches texts by their end.
    f.tree->OnIncrementalSearch = [&f](TBaseLazyTree&, PLazyNode n, const QString& text,
                                       int& result) {
        result = QString::fromStdString(f.name(n)).endsWith(text) ? 0 : 1;
    };
    f.type("d");
    EXPECT_EQ(f.name(f.tree->FocusedNode()), "almond");
    EXPECT_EQ(f.beeper->beeps, 0);
}

TEST(IncrementalSearch, LastHitContinuesFromTheHitNotTheFocus)
{
    SearchFixture f;
    f.tree->SetIncrementalSearchStart(ssLastHit);
    f.tree->SetFocusedNode(f.byName["banana"]);
    f.type("a");
    ASSERT_EQ(f.name(f.tree->FocusedNode()), "apple");
    f.tree->SetFocusedNode(f.byName["cherry"]);
    f.type("a");
    EXPECT_EQ(f.name(f.tree->FocusedNode()), "acorn");
}

}  // namespace
}  // namespace zfw::test
