// The draw tree's owner painting, the string tree's text events and its memory of selected
// texts across rebuilds.

#include "support/CaseName.h"
#include "tree/LazyTreesDraw.h"
#include "tree/LazyTreesString.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace zfw::test {
namespace {

std::vector<CanvasOp> record(TBaseLazyTree& tree, TLTInternalPaintOptions options = {})
{
    RecordingCanvas canvas(tree.palette());
    tree.PaintTree(canvas, Rect(0, 0, 200, 100), QPoint(0, 0),
                   options + TLTInternalPaintOptions{poUnbuffered});
    return canvas.ops();
}

std::vector<CanvasOp> ofKind(const std::vector<CanvasOp>& ops, CanvasOp::Kind kind)
{
    std::vector<CanvasOp> out;
    for (const CanvasOp& op : ops)
        if (op.kind == kind)
            out.push_back(op);
    return out;
}

TEST(TreeDraw, OwnerPaintsTheContentAndGivesItsWidth)
{
    TLazyDrawTree tree;
    tree.resize(200, 100);
    PLazyNode a = tree.AddChild(nullptr);
    tree.AddChild(a);
    tree.SetExpanded(a, true);
    std::vector<TRect> content;
    tree.OnDrawNode = [&](TBaseLazyTree&, const TLTPaintInfo& info) {
        content.push_back(info.ContentRect);
        info.Canvas->fillRect(info.ContentRect, clRed);
    };
    tree.OnGetNodeWidth = [](TBaseLazyTree& t, ICanvas& canvas, PLazyNode n, TColumnIndex column,
                             int& width) {
        EXPECT_EQ(column, NoColumn);
        EXPECT_GT(canvas.textWidth(QStringLiteral("x")), 0);
        width += 10 * int(t.GetNodeLevel(n) + 1);
    };
    tree.SetSelected(tree.GetFirstChild(a), true);
    const auto ops = record(tree, {poDrawSelection});
    // Two rows, each content starting one indentation further (margin 4, indent 18).
    ASSERT_EQ(content.size(), 2u);
    EXPECT_EQ(content[0].Left, 4 + 18);
    EXPECT_EQ(content[1].Left, 4 + 36);
    // Rectangles of the record are the row's; the canvas moves them to the row's place.
    const auto fills = ofKind(ops, CanvasOp::Fill);
    EXPECT_TRUE(std::any_of(fills.begin(), fills.end(), [&](const CanvasOp& op) {
        return op.color == clRed && op.rect == content[1].offset(0, 18);
    }));
    // The selection mark of the child spans the width the owner gave: 2 x 4 + 20.
    const auto marks = ofKind(ops, CanvasOp::RoundRect);
    ASSERT_EQ(marks.size(), 1u);
    EXPECT_EQ(marks[0].rect.Width(), 28);
    EXPECT_EQ(marks[0].rect.Left, content[1].Left);
}

TEST(TreeDraw, WithoutEventsNothingIsDrawnAndTheWidthIsTheMargins)
{
    TLazyDrawTree tree;
    tree.resize(200, 100);
    tree.AddChild(nullptr);
    EXPECT_TRUE(ofKind(record(tree), CanvasOp::Text).empty());
    EXPECT_EQ(tree.DoGetCellContentMargin(tree.GetFirst(), NoColumn), QPoint(0, 0));
    tree.OnGetCellContentMargin = [](TBaseLazyTree&, ICanvas&, PLazyNode, TColumnIndex,
                                     TLTCellContentMarginType type, QPoint& margin) {
        margin = type == ccmtAllSides ? QPoint(3, 2) : QPoint(1, 1);
    };
    EXPECT_EQ(tree.DoGetCellContentMargin(tree.GetFirst(), NoColumn), QPoint(3, 2));
}

struct TextTree {
    TLazyStringTree tree;
    std::map<PLazyNode, QString> texts;

    TextTree()
    {
        tree.SetAutoOptions(tree.options().AutoOptions - TLTAutoOptions{toAutoSort});
        tree.resize(200, 100);
        tree.OnGetText = [this](TBaseLazyTree&, PLazyNode n, TColumnIndex, TVSTTextType type,
                                QString& text) {
            if (type != ttNormal)
                return;
            // A node being added is asked before add() knows its address.
            const auto it = texts.find(n);
            text = it != texts.end() ? it->second : pending;
        };
    }
    PLazyNode add(const QString& text, PLazyNode parent = nullptr)
    {
        pending = text;
        PLazyNode n = tree.AddChild(parent);
        texts[n] = text;
        return n;
    }
    QString pending;
};

TEST(TreeText, DrawTextEventCanTakeOverTheDrawing)
{
    TextTree f;
    f.add(QStringLiteral("alpha"));
    f.add(QStringLiteral("beta"));
    std::vector<QString> seen;
    f.tree.OnDrawText = [&](TBaseLazyTree&, ICanvas&, PLazyNode, TColumnIndex, const QString& text,
                            const TRect&, bool& defaultDraw) {
        seen.push_back(text);
        defaultDraw = text != QStringLiteral("beta");
    };
    const auto texts = ofKind(record(f.tree), CanvasOp::Text);
    EXPECT_EQ(seen, (std::vector<QString>{QStringLiteral("alpha"), QStringLiteral("beta")}));
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, QStringLiteral("alpha"));
}

TEST(TreeText, MeasureEventsChangeTheWidthAndShortenFallsBackToTheEllipsis)
{
    TextTree f;
    PLazyNode a = f.add(QStringLiteral("abc"));
    const int plain = int(f.tree.GetDisplayRect(a, NoColumn, true).width());
    f.tree.OnMeasureTextWidth = [](TBaseLazyTree&, ICanvas&, PLazyNode, TColumnIndex,
                                   const QString&, int& extent) { extent += 50; };
    f.tree.ReinitNode(a, false);
    EXPECT_EQ(int(f.tree.GetDisplayRect(a, NoColumn, true).width()), plain + 50);

    struct Probe : TLazyStringTree {
        using TCustomLazyStringTree::DoShortenString;
    };
    Probe probe;
    RecordingCanvas canvas;
    const QString s = QStringLiteral("a long text that needs shortening");
    const QString cut = probe.DoShortenString(canvas, nullptr, 0, s, 60, 0);
    EXPECT_TRUE(cut.endsWith(QStringLiteral("...")));
    EXPECT_LE(canvas.textWidth(cut), 60);
    probe.OnShortenString = [](TBaseLazyTree&, ICanvas&, PLazyNode, TColumnIndex, const QString&,
                               int, QString& result, bool& done) {
        result = QStringLiteral("short");
        done = true;
    };
    EXPECT_EQ(probe.DoShortenString(canvas, nullptr, 0, s, 60, 0), QStringLiteral("short"));
}

// The selection memory, step by step: each case selects, deselects and rebuilds, then names
// the texts remembered and which new nodes came back selected.
struct RestoreCase {
    std::string name;
    std::vector<std::string> select;    // texts selected in order (Ctrl-style adds)
    std::vector<std::string> deselect;  // then removed one by one
    bool clearFirst;                    // the whole selection cleared before the rebuild
    std::vector<std::string> remembered;
    std::vector<std::string> reselected;  // after deleting all and adding A, b, C, d again
};

class TreeRestoreSelection : public ::testing::TestWithParam<RestoreCase> {};

TEST_P(TreeRestoreSelection, RemembersTextsAcrossARebuild)
{
    const RestoreCase& c = GetParam();
    TextTree f;
    f.tree.SetSelectionOptions({toMultiSelect, toRestoreSelection});
    std::map<std::string, PLazyNode> byText;
    for (const char* t : {"a", "B", "c", "D"})
        byText[t] = f.add(QString::fromLatin1(t));
    for (const std::string& t : c.select)
        f.tree.AddToSelection(byText.at(t));
    for (const std::string& t : c.deselect)
        f.tree.RemoveFromSelection(byText.at(t));
    if (c.clearFirst)
        f.tree.ClearSelection();
    QStringList expected;
    for (const std::string& t : c.remembered)
        expected << QString::fromStdString(t);
    EXPECT_EQ(f.tree.previouslySelected(), expected);

    // The owner rebuilds its tree: deleting keeps the memory, adding finds it.
    f.tree.Clear();
    f.texts.clear();
    EXPECT_EQ(f.tree.previouslySelected(), expected);
    std::vector<std::string> selected;
    for (const char* t : {"A", "b", "C", "d"})
        if (f.tree.Selected(f.add(QString::fromLatin1(t))))
            selected.push_back(t);
    EXPECT_EQ(selected, c.reselected);
    // Coming back selected adds no second entry.
    EXPECT_EQ(f.tree.previouslySelected().size(), expected.size());
}

const RestoreCase kRestoreCases[] = {
    {"NothingSelected", {}, {}, false, {}, {}},
    {"OneNodeAnyCase", {"a"}, {}, false, {"a"}, {"A"}},
    {"TwoNodes", {"a", "c"}, {}, false, {"a", "c"}, {"A", "C"}},
    {"OneOfTwoRemoved", {"a", "c"}, {"a"}, false, {"c"}, {"C"}},
    {"LastRemovedEmptiesTheMemory", {"B"}, {"B"}, false, {}, {}},
    {"ClearedSelectionIsForgotten", {"a", "D"}, {}, true, {}, {}},
};
INSTANTIATE_TEST_SUITE_P(Cases, TreeRestoreSelection, ::testing::ValuesIn(kRestoreCases),
                         CaseName());

TEST(TreeText, ANewSelectionStartsANewMemoryButABulkAddKeepsAll)
{
    TextTree f;
    f.tree.SetSelectionOptions({toMultiSelect, toRestoreSelection});
    PLazyNode a = f.add(QStringLiteral("a"));
    PLazyNode b = f.add(QStringLiteral("b"));
    PLazyNode c = f.add(QStringLiteral("c"));
    f.tree.AddToSelection(a);
    f.tree.ClearSelection();
    f.tree.AddToSelection(b);
    EXPECT_EQ(f.tree.previouslySelected(), QStringList{QStringLiteral("b")});
    f.tree.ClearSelection();
    f.tree.SelectAll(false);
    EXPECT_EQ(f.tree.previouslySelected(),
              (QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}));
    (void)c;
    // Without the option nothing is remembered.
    TextTree g;
    g.tree.SetSelectionOptions({toMultiSelect});
    g.tree.AddToSelection(g.add(QStringLiteral("x")));
    EXPECT_TRUE(g.tree.previouslySelected().isEmpty());
}

}  // namespace
}  // namespace zfw::test
