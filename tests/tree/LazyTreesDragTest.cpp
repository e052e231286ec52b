// Drag and drop of the tree: the proposed effect, the drop mode under the pointer, expanding a
// hovered node, scrolling at the edges, drags of nodes with their data within one tree and
// between two, foreign and failing drops, the drag picture, and wheel panning.

#include "tree/LazyTreesClipboard.h"
#include "tree/LazyTreesControl.h"
#include "tree/LazyTreesDrag.h"
#include "tree/LazyTreesString.h"

#include "NumberedNodes.h"
#include "support/CaseName.h"
#include "support/FakeClipboard.h"
#include "support/FakeServices.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QIODevice>
#include <QMimeData>
#include <QMouseEvent>
#include <QTest>
#include <QtEndian>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace zfw::test {
namespace {

class DragTree : public TLazyStringTree {
public:
    using TBaseLazyTree::DoTimer;
};

// Runs a drag by handing the data to a drop function instead of the platform's loop.
struct FakeDragLoop final : IDragLoop {
    std::function<int(const QMimeData&)> drop;
    int calls = 0;
    int allowed = 0;
    QPixmap picture;
    QStringList formats;

    int exec(QWidget*, std::unique_ptr<QMimeData> data, const QPixmap& pic, QPoint,
             int allowedEffects) override
    {
        ++calls;
        allowed = allowedEffects;
        picture = pic;
        formats = data->formats();
        return drop ? drop(*data) : 0;
    }
};

// Enter, move and drop at p on the tree's viewport, as the platform delivers them; the
// effect the drop answered (0 when refused).
int dropAt(TBaseLazyTree& tree, const QMimeData& data, QPoint p, Qt::KeyboardModifiers mods = {},
           Qt::DropActions allowed = Qt::CopyAction | Qt::MoveAction)
{
    QDragEnterEvent enter(p, allowed, &data, Qt::LeftButton, mods);
    QApplication::sendEvent(tree.viewport(), &enter);
    QDragMoveEvent move(p, allowed, &data, Qt::LeftButton, mods);
    QApplication::sendEvent(tree.viewport(), &move);
    QDropEvent drop(QPointF(p), allowed, &data, Qt::LeftButton, mods);
    QApplication::sendEvent(tree.viewport(), &drop);
    return drop.isAccepted() ? int(drop.dropAction()) : 0;
}

void dragOver(TBaseLazyTree& tree, const QMimeData& data, QPoint p, bool enter = false)
{
    if (enter) {
        QDragEnterEvent e(p, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(tree.viewport(), &e);
    }
    QDragMoveEvent move(p, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(tree.viewport(), &move);
}

void leave(TBaseLazyTree& tree)
{
    QDragLeaveEvent e;
    QApplication::sendEvent(tree.viewport(), &e);
}

TLTNodeAttachMode attachModeOf(TDropMode mode)
{
    switch (mode) {
    case dmAbove: return amInsertBefore;
    case dmOnNode: return amAddChildLast;
    case dmBelow: return amInsertAfter;
    case dmNowhere: break;
    }
    return amNoWhere;
}

// Trees over one clipboard context whose nodes carry a number in their data (saved and loaded
// with them); each accepts drags and inserts drops through ProcessDrop.
struct Trees {
    FakeClipboard clipboard;
    std::shared_ptr<TLTClipboardContext> context = std::make_shared<TLTClipboardContext>(clipboard);
    std::vector<std::unique_ptr<DragTree>> trees;

    DragTree& make(std::shared_ptr<TLTClipboardContext> own = nullptr)
    {
        auto tree = std::make_unique<DragTree>();
        tree->SetAutoOptions(tree->options().AutoOptions - TLTAutoOptions{toAutoSort});
        tree->SetSelectionOptions(tree->options().SelectionOptions
                                  + TLTSelectionOptions{toMultiSelect});
        tree->SetAnimationDuration(0);
        tree->SetNodeDataSize(4);
        tree->SetClipboardContext(own ? own : context);
        tree->SetClipboardFormats({QStringLiteral("Lazy Tree Data")});
        tree->OnSaveNode = [](LazyTreeModel& t, PLazyNode n, QIODevice& s) {
            s.write(t.nodeData<char>(n), 4);
        };
        tree->OnLoadNode = [](LazyTreeModel& t, PLazyNode n, QIODevice& s) {
            s.read(t.nodeData<char>(n), 4);
        };
        tree->OnGetText = [](TBaseLazyTree& t, PLazyNode n, TColumnIndex, TVSTTextType,
                             QString& text) {
            text = QString::number(*t.nodeData<std::uint32_t>(n));
        };
        tree->OnDragOver = [](TBaseLazyTree&, QObject*, Qt::KeyboardModifiers, TDragState, QPoint,
                              TDropMode, int&, bool& accept) { accept = true; };
        tree->OnDragDrop = [](TBaseLazyTree& t, QObject*, const QMimeData* data, const QStringList&,
                              Qt::KeyboardModifiers, Qt::MouseButtons, QPoint, int& effect,
                              TDropMode mode) {
            t.ProcessDrop(*data, t.DropTargetNode(), effect, attachModeOf(mode));
        };
        tree->resize(200, 300);
        tree->show();
        trees.push_back(std::move(tree));
        return *trees.back();
    }
};

PLazyNode find(TBaseLazyTree& tree, std::uint32_t value)
{
    for (PLazyNode n = tree.GetFirst(); n; n = tree.GetNext(n))
        if (*tree.nodeData<std::uint32_t>(n) == value)
            return n;
    return nullptr;
}

// "1(11 12) 2 3", 1 expanded.
void fill(TBaseLazyTree& tree)
{
    PLazyNode one = add(tree, nullptr, 1);
    add(tree, one, 11);
    add(tree, one, 12);
    add(tree, nullptr, 2);
    add(tree, nullptr, 3);
    tree.SetExpanded(one, true);
}

QPoint labelPoint(TBaseLazyTree& tree, PLazyNode n)
{
    const QRect r = tree.GetDisplayRect(n, NoColumn, true);
    return r.center();
}

// ----- the proposed effect ----------------------------------------------------------------------

struct EffectCase {
    std::string name;
    bool fromThisTree;
    Qt::KeyboardModifiers mods;
    int allowed;
    int expected;
};

class DropEffect : public ::testing::TestWithParam<EffectCase> {};

TEST_P(DropEffect, FollowsTheSourceAndTheKeys)
{
    const EffectCase& c = GetParam();
    DragTree tree;
    DragTree other;
    QObject* source = c.fromThisTree ? static_cast<QObject*>(&tree) : &other;
    EXPECT_EQ(tree.SuggestDropEffect(source, c.mods, {}, c.allowed), c.expected);
}

constexpr int kCopy = DROPEFFECT_COPY;
constexpr int kMove = DROPEFFECT_MOVE;
constexpr int kLink = DROPEFFECT_LINK;
const Qt::KeyboardModifiers kCtrl = Qt::ControlModifier;
const Qt::KeyboardModifiers kShift = Qt::ShiftModifier;
const Qt::KeyboardModifiers kAlt = Qt::AltModifier;

const std::vector<EffectCase> kEffectCases = {
    {"SameTreeMoves", true, {}, kCopy | kMove, kMove},
    {"OtherSourceCopies", false, {}, kCopy | kMove, kCopy},
    {"SameTreeOnlyCopyAllowed", true, {}, kCopy, kCopy},
    {"OtherSourceOnlyMoveAllowed", false, {}, kMove, kMove},
    {"CtrlCopiesInTheSameTree", true, kCtrl, kCopy | kMove, kCopy},
    {"CtrlWithOnlyMoveGivesTheBase", true, kCtrl, kMove, kMove},
    {"ShiftMovesFromElsewhere", false, kShift, kCopy | kMove, kMove},
    {"ShiftWithOnlyCopyGivesTheBase", false, kShift, kCopy, kCopy},
    {"CtrlShiftLinks", false, kCtrl | kShift, kCopy | kMove | kLink, kLink},
    {"CtrlShiftWithoutLinkGivesTheBase", true, kCtrl | kShift, kCopy | kMove, kMove},
    {"AltLinks", true, kAlt, kCopy | kMove | kLink, kLink},
    {"NothingAllowedStaysNothing", false, kCtrl, 0, 0},
};
INSTANTIATE_TEST_SUITE_P(Cases, DropEffect, ::testing::ValuesIn(kEffectCases), CaseName());

// ----- the drop mode under the pointer -----------------------------------------------------------

struct ModeCase {
    std::string name;
    bool dropMark;
    // The point in the row of node 2: x part ("indent" or "label"), y part (upper or lower).
    bool onLabel;
    bool upperHalf;
    TDropMode expected;
};

class DropMode : public ::testing::TestWithParam<ModeCase> {};

TEST_P(DropMode, FollowsThePointInTheRow)
{
    const ModeCase& c = GetParam();
    Trees f;
    DragTree& tree = f.make();
    fill(tree);
    tree.SetPaintOptions(c.dropMark
                             ? tree.options().PaintOptions + TLTPaintOptions{toShowDropmark}
                             : tree.options().PaintOptions - TLTPaintOptions{toShowDropmark});
    PLazyNode two = find(tree, 2);
    const QRect row = tree.GetDisplayRect(two, NoColumn, false);
    const int x = c.onLabel ? labelPoint(tree, two).x() : 2;
    const int y = c.upperHalf ? row.top() + 2 : row.bottom() - 2;
    QMimeData data;
    data.setText("x");
    dragOver(tree, data, QPoint(x, y), true);
    EXPECT_EQ(tree.DropTargetNode(), two);
    EXPECT_EQ(tree.LastDropMode(), c.expected);
    leave(tree);
    EXPECT_EQ(tree.DropTargetNode(), nullptr);
}

const std::vector<ModeCase> kModeCases = {
    {"IndentUpperHalfAbove", true, false, true, dmAbove},
    {"IndentLowerHalfBelow", true, false, false, dmBelow},
    {"LabelOnNode", true, true, false, dmOnNode},
    {"IndentWithoutDropMarkOnNode", false, false, true, dmOnNode},
};
INSTANTIATE_TEST_SUITE_P(Cases, DropMode, ::testing::ValuesIn(kModeCases), CaseName());

TEST(TreeDrop, BelowTheLastRowIsNowhere)
{
    Trees f;
    DragTree& tree = f.make();
    fill(tree);
    QMimeData data;
    data.setText("x");
    dragOver(tree, data, QPoint(20, 250), true);
    EXPECT_EQ(tree.DropTargetNode(), nullptr);
    EXPECT_EQ(tree.LastDropMode(), dmNowhere);
}

// ----- expanding a hovered node ------------------------------------------------------------------

TEST(TreeDrop, AHoveredCollapsedNodeExpandsWhenItsTimerFires)
{
    Trees f;
    DragTree& tree = f.make();
    fill(tree);
    PLazyNode one = find(tree, 1);
    tree.SetExpanded(one, false);
    QMimeData data;
    data.setText("x");
    dragOver(tree, data, labelPoint(tree, one), true);
    ASSERT_TRUE(tree.timerActive(TBaseLazyTree::ExpandTimer));
    tree.DoTimer(TBaseLazyTree::ExpandTimer);
    EXPECT_TRUE(tree.Expanded(one));
    EXPECT_FALSE(tree.timerActive(TBaseLazyTree::ExpandTimer));
    EXPECT_EQ(tree.checkConsistency().toStdString(), "");
}

TEST(TreeDrop, LeavingBeforeTheDelayKeepsTheNodeCollapsed)
{
    Trees f;
    DragTree& tree = f.make();
    fill(tree);
    PLazyNode one = find(tree, 1);
    tree.SetExpanded(one, false);
    QMimeData data;
    data.setText("x");
    dragOver(tree, data, labelPoint(tree, one), true);
    ASSERT_TRUE(tree.timerActive(TBaseLazyTree::ExpandTimer));
    // Moving on to a node without children stops the timer, as leaving does.
    dragOver(tree, data, labelPoint(tree, find(tree, 2)));
    EXPECT_FALSE(tree.timerActive(TBaseLazyTree::ExpandTimer));
    dragOver(tree, data, labelPoint(tree, one));
    leave(tree);
    EXPECT_FALSE(tree.timerActive(TBaseLazyTree::ExpandTimer));
    EXPECT_FALSE(tree.Expanded(one));
}

// ----- scrolling at the edges ---------------------------------------------------------------------

// 40 top-level nodes of 18 pixels in a client area of about 100: the range ends far below.
struct EdgeTree {
    Trees f;
    DragTree& tree = f.make();
    FakeClock clock;

    EdgeTree()
    {
        for (std::uint32_t i = 0; i < 40; ++i)
            add(tree, nullptr, i);
        tree.resize(200, 100);
        tree.SetAutoOptions(tree.options().AutoOptions + TLTAutoOptions{toAutoScroll});
        tree.SetAutoScrollDelay(300);
        tree.SetDragClock(&clock);
        QApplication::processEvents();
    }
    // Fires timer 4 until it stops (at most limit times); the number of firings.
    int runScrollTimer(int limit)
    {
        int fired = 0;
        while (tree.timerActive(TBaseLazyTree::ScrollTimer) && fired < limit) {
            clock.ms += 10;
            tree.DoTimer(TBaseLazyTree::ScrollTimer);
            ++fired;
        }
        return fired;
    }
    int bottomZoneY() const { return tree.viewport()->height() - 3; }
    int endOffset() const { return -int(tree.RangeY() - tree.viewport()->height()); }
};

TEST(TreeEdgeScroll, ADragAtTheBottomScrollsAfterTheDelayUntilTheRangeEnds)
{
    EdgeTree e;
    QMimeData data;
    data.setText("x");
    const QPoint p(50, e.bottomZoneY());
    dragOver(e.tree, data, p, true);
    ASSERT_TRUE(e.tree.timerActive(TBaseLazyTree::ScrollTimer));
    EXPECT_TRUE(e.tree.TreeStates().contains(tsScrollPending));
    EXPECT_EQ(e.tree.OffsetY(), 0);
    // The first firing before the delay has run out scrolls nothing.
    e.clock.ms += 100;
    e.tree.DoTimer(TBaseLazyTree::ScrollTimer);
    EXPECT_EQ(e.tree.OffsetY(), 0);
    EXPECT_TRUE(e.tree.TreeStates().contains(tsScrolling));
    e.clock.ms += 200;
    e.tree.DoTimer(TBaseLazyTree::ScrollTimer);
    const int step = std::min(int(e.tree.ScrollBarOptions().VerticalIncrement()),
                              e.tree.viewport()->height());
    EXPECT_EQ(e.tree.OffsetY(), -step);
    e.runScrollTimer(200);
    EXPECT_EQ(e.tree.OffsetY(), e.endOffset());
    EXPECT_FALSE(e.tree.timerActive(TBaseLazyTree::ScrollTimer));
    EXPECT_FALSE(e.tree.TreeStates().contains(tsScrolling));
    EXPECT_EQ(e.tree.checkConsistency().toStdString(), "");
}

TEST(TreeEdgeScroll, TheMiddleOfTheTreeNeverScrolls)
{
    EdgeTree e;
    QMimeData data;
    data.setText("x");
    dragOver(e.tree, data, QPoint(50, 50), true);
    EXPECT_FALSE(e.tree.timerActive(TBaseLazyTree::ScrollTimer));
    // Leaving the edge zone disarms a pending scroll.
    dragOver(e.tree, data, QPoint(50, e.bottomZoneY()));
    ASSERT_TRUE(e.tree.timerActive(TBaseLazyTree::ScrollTimer));
    dragOver(e.tree, data, QPoint(50, 50));
    EXPECT_FALSE(e.tree.timerActive(TBaseLazyTree::ScrollTimer));
    EXPECT_EQ(e.tree.OffsetY(), 0);
}

TEST(TreeEdgeScroll, ARubberBandScrollsAtTheEdgeToo)
{
    EdgeTree e;
    // A press right of the labels starts a band.
    const QPoint start(190, 10);
    QTest::mousePress(e.tree.viewport(), Qt::LeftButton, {}, start);
    ASSERT_TRUE(e.tree.IsMouseSelecting());
    QMouseEvent move(QEvent::MouseMove, QPointF(10, e.bottomZoneY()),
                     e.tree.viewport()->mapToGlobal(QPointF(10, e.bottomZoneY())), Qt::NoButton,
                     Qt::LeftButton, {});
    QApplication::sendEvent(e.tree.viewport(), &move);
    ASSERT_TRUE(e.tree.timerActive(TBaseLazyTree::ScrollTimer));
    e.clock.ms += 300;
    e.tree.DoTimer(TBaseLazyTree::ScrollTimer);
    EXPECT_LT(e.tree.OffsetY(), 0);
    e.runScrollTimer(200);
    EXPECT_EQ(e.tree.OffsetY(), e.endOffset());
    // The band grew with the scroll and took the rows it passed.
    EXPECT_GT(e.tree.SelectedCount(), 10u);
    QTest::mouseRelease(e.tree.viewport(), Qt::LeftButton, {}, QPoint(10, e.bottomZoneY()));
    EXPECT_EQ(e.tree.checkConsistency().toStdString(), "");
}

// ----- drags of nodes with their data -------------------------------------------------------------

struct MoveCase {
    std::string name;
    bool sameTree;
    bool sharedContext;
    Qt::KeyboardModifiers mods;
    std::string source;  // after the drag of 1(11 12) onto 3
    std::string target;
};

class TreeDragNodes : public ::testing::TestWithParam<MoveCase> {};

TEST_P(TreeDragNodes, TravelWithTheirData)
{
    const MoveCase& c = GetParam();
    Trees f;
    DragTree& source = f.make();
    DragTree& target = c.sameTree
                           ? source
                           : f.make(c.sharedContext
                                        ? nullptr
                                        : std::make_shared<TLTClipboardContext>(f.clipboard));
    fill(source);
    if (!c.sameTree) {
        add(target, nullptr, 7);
        add(target, nullptr, 3);
    }
    FakeDragLoop loop;
    loop.drop = [&](const QMimeData& data) {
        return dropAt(target, data, labelPoint(target, find(target, 3)), c.mods);
    };
    source.SetDragLoop(&loop);
    source.ClearSelection();
    source.AddToSelection(find(source, 1));
    source.BeginDrag(true);
    EXPECT_EQ(loop.calls, 1);
    EXPECT_EQ(shape(source), c.source);
    if (!c.sameTree) {
        EXPECT_EQ(shape(target), c.target);
    }
    EXPECT_FALSE(source.TreeStates().contains(tsOLEDragging));
    EXPECT_EQ(target.DropTargetNode(), nullptr);
    EXPECT_EQ(source.checkConsistency().toStdString(), "");
    EXPECT_EQ(target.checkConsistency().toStdString(), "");
}

const std::vector<MoveCase> kMoveCases = {
    {"WithinOneTreeMoves", true, true, {}, "2 3(1(11 12))", ""},
    {"WithinOneTreeCtrlCopies", true, true, kCtrl, "1(11 12) 2 3(1(11 12))", ""},
    {"BetweenTreesCopies", false, true, {}, "1(11 12) 2 3", "7 3(1(11 12))"},
    {"BetweenTreesShiftMoves", false, true, kShift, "2 3", "7 3(1(11 12))"},
    // Trees that do not know each other: the target copies and the source deletes its nodes
    // after the move.
    {"StrangerTreesShiftMoves", false, false, kShift, "2 3", "7 3(1(11 12))"},
};
INSTANTIATE_TEST_SUITE_P(Cases, TreeDragNodes, ::testing::ValuesIn(kMoveCases), CaseName());

TEST(TreeDrag, AnAutomaticDragStartsBeyondTheThresholdWithTheFocusedNode)
{
    Trees f;
    DragTree& tree = f.make();
    fill(tree);
    tree.SetDragMode(dmAutomatic);
    tree.SetDragOperations({});
    FakeDragLoop loop;
    tree.SetDragLoop(&loop);
    std::vector<std::string> events;
    tree.OnStartDrag = [&](TBaseLazyTree& t) {
        events.push_back("start " + std::to_string(t.SelectedCount()));
    };
    tree.OnEndDrag = [&](TBaseLazyTree&, QPoint, int effect) {
        events.push_back("end " + std::to_string(effect));
    };
    const QPoint p = labelPoint(tree, find(tree, 2));
    QTest::mousePress(tree.viewport(), Qt::LeftButton, {}, p);
    ASSERT_TRUE(tree.TreeStates().contains(tsOLEDragPending));
    // Within the threshold nothing starts.
    QMouseEvent near(QEvent::MouseMove, QPointF(p + QPoint(1, 0)),
                     tree.viewport()->mapToGlobal(QPointF(p + QPoint(1, 0))), Qt::NoButton,
                     Qt::LeftButton, {});
    QApplication::sendEvent(tree.viewport(), &near);
    EXPECT_EQ(loop.calls, 0);
    const QPoint far = p + QPoint(QApplication::startDragDistance() + 1, 0);
    QMouseEvent move(QEvent::MouseMove, QPointF(far), tree.viewport()->mapToGlobal(QPointF(far)),
                     Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(tree.viewport(), &move);
    EXPECT_EQ(loop.calls, 1);
    // An empty operation set allows all three.
    EXPECT_EQ(loop.allowed, kCopy | kMove | kLink);
    EXPECT_TRUE(loop.formats.contains(kLazyTreeDataMime));
    EXPECT_FALSE(loop.picture.isNull());
    EXPECT_EQ(events, (std::vector<std::string>{"start 1", "end 0"}));
    EXPECT_FALSE(tree.Dragging());
    QTest::mouseRelease(tree.viewport(), Qt::LeftButton, {}, far);
}

TEST(TreeDrag, TheButtonReleasedInsideTheDragLoopIsNotAwaited)
{
    Trees f;
    DragTree& tree = f.make();
    fill(tree);
    FakeDragLoop loop;
    tree.SetDragLoop(&loop);
    tree.AddToSelection(find(tree, 2));
    ASSERT_EQ(QApplication::mouseButtons(), Qt::NoButton);
    tree.SetTreeStates(tree.TreeStates() + TLazyTreeStates{tsLeftButtonDown, tsClearPending});
    tree.BeginDrag(true);
    EXPECT_EQ(loop.calls, 1);
    EXPECT_FALSE(tree.TreeStates().contains(tsLeftButtonDown));
    EXPECT_FALSE(tree.TreeStates().contains(tsClearPending));
    EXPECT_EQ(tree.SelectedCount(), 1u);
}

TEST(TreeDrag, ManualModeAsksWhetherTheNodeMayBeDragged)
{
    Trees f;
    DragTree& tree = f.make();
    fill(tree);
    std::vector<std::uint32_t> asked;
    bool allow = false;
    tree.OnDragAllowed = [&](TBaseLazyTree& t, PLazyNode n, TColumnIndex, bool& allowed) {
        asked.push_back(*t.nodeData<std::uint32_t>(n));
        allowed = allow;
    };
    const QPoint p = labelPoint(tree, find(tree, 2));
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, p);
    EXPECT_EQ(asked, (std::vector<std::uint32_t>{2}));
    allow = true;
    QTest::mousePress(tree.viewport(), Qt::LeftButton, {}, p);
    EXPECT_TRUE(tree.TreeStates().contains(tsOLEDragPending));
    QTest::mouseRelease(tree.viewport(), Qt::LeftButton, {}, p);
    EXPECT_FALSE(tree.Dragging());
}

// ----- foreign and failing drops ------------------------------------------------------------------

TEST(TreeDrop, PlainTextFromElsewhereReachesTheHandlerAndAddsNoNodes)
{
    Trees f;
    DragTree& tree = f.make();
    fill(tree);
    QStringList formats;
    QString text;
    bool inserted = true;
    QObject* from = &tree;
    tree.OnDragDrop = [&](TBaseLazyTree& t, QObject* source, const QMimeData* data,
                          const QStringList& offered, Qt::KeyboardModifiers, Qt::MouseButtons,
                          QPoint, int& effect, TDropMode mode) {
        from = source;
        formats = offered;
        text = data->text();
        inserted = t.ProcessDrop(*data, t.DropTargetNode(), effect, attachModeOf(mode));
    };
    QMimeData data;
    data.setText("plain words");
    const std::string before = shape(tree);
    dropAt(tree, data, labelPoint(tree, find(tree, 2)));
    EXPECT_EQ(from, nullptr);
    EXPECT_TRUE(formats.contains("text/plain"));
    EXPECT_EQ(text, "plain words");
    EXPECT_FALSE(inserted);
    EXPECT_EQ(shape(tree), before);
}

TEST(TreeDrop, AFailingDropHandlerLeavesNoEffect)
{
    Trees f;
    DragTree& source = f.make();
    DragTree& target = f.make();
    fill(source);
    add(target, nullptr, 5);
    target.OnDragDrop = [](TBaseLazyTree&, QObject*, const QMimeData*, const QStringList&,
                           Qt::KeyboardModifiers, Qt::MouseButtons, QPoint, int&,
                           TDropMode) { throw std::runtime_error("owner"); };
    FakeDragLoop loop;
    int answered = -1;
    loop.drop = [&](const QMimeData& data) {
        answered = dropAt(target, data, labelPoint(target, find(target, 5)), kShift);
        return answered;
    };
    source.SetDragLoop(&loop);
    source.AddToSelection(find(source, 2));
    source.BeginDrag(true);
    EXPECT_EQ(answered, 0);
    EXPECT_FALSE(target.lastHandlerError().isEmpty());
    EXPECT_EQ(target.DropTargetNode(), nullptr);
    EXPECT_EQ(shape(source), "1(11 12) 2 3");
    EXPECT_EQ(shape(target), "5");
}

TEST(TreeDrop, AReadOnlyTargetTakesNothingAndTheMovedNodesStay)
{
    Trees f;
    DragTree& source = f.make();
    // A tree that does not know the source: its move would be a copy and a delete.
    DragTree& target = f.make(std::make_shared<TLTClipboardContext>(f.clipboard));
    fill(source);
    add(target, nullptr, 5);
    target.SetMiscOptions(target.options().MiscOptions + TLTMiscOptions{toReadOnly});
    FakeDragLoop loop;
    loop.drop = [&](const QMimeData& data) {
        return dropAt(target, data, labelPoint(target, find(target, 5)), kShift);
    };
    source.SetDragLoop(&loop);
    source.AddToSelection(find(source, 2));
    source.BeginDrag(true);
    EXPECT_EQ(shape(target), "5");
    EXPECT_EQ(shape(source), "1(11 12) 2 3");
}

struct BadDataCase {
    std::string name;
    std::function<QByteArray(const QByteArray& good)> bytes;
};

class TreeBadDrop : public ::testing::TestWithParam<BadDataCase> {};

// Tree data from another program, damaged on the way: nothing arrives, no effect is answered.
TEST_P(TreeBadDrop, AddsNothing)
{
    Trees f;
    DragTree& source = f.make();
    DragTree& target = f.make();
    fill(source);
    add(target, nullptr, 5);
    source.AddToSelection(find(source, 2));
    const QByteArray good = source.RenderOLEData(kLazyTreeDataMime, false);
    ASSERT_GT(good.size(), 8);
    QMimeData data;
    data.setData(kLazyTreeDataMime, GetParam().bytes(good));
    int answered = -1;
    target.OnDragDrop = [&](TBaseLazyTree& t, QObject*, const QMimeData* d, const QStringList&,
                            Qt::KeyboardModifiers, Qt::MouseButtons, QPoint, int& effect,
                            TDropMode mode) {
        t.ProcessDrop(*d, t.DropTargetNode(), effect, attachModeOf(mode));
        answered = effect;
    };
    dropAt(target, data, labelPoint(target, find(target, 5)));
    EXPECT_EQ(answered, 0);
    EXPECT_EQ(shape(target), "5");
    EXPECT_EQ(target.checkConsistency().toStdString(), "");
}

QByteArray withCount(QByteArray body)
{
    QByteArray out(4, '\0');
    qToLittleEndian(std::uint32_t(body.size()), out.data());
    return out + body;
}

const std::vector<BadDataCase> kBadDataCases = {
    {"CountDisagrees", [](const QByteArray& g) { return g.left(g.size() - 3); }},
    {"TruncatedRecord", [](const QByteArray& g) { return withCount(g.mid(4, g.size() - 7)); }},
    {"Garbage", [](const QByteArray&) { return withCount(QByteArray(40, '\x7f')); }},
    {"Empty", [](const QByteArray&) { return QByteArray(); }},
};
INSTANTIATE_TEST_SUITE_P(Cases, TreeBadDrop, ::testing::ValuesIn(kBadDataCases), CaseName());

TEST(TreeDrop, ARefusedDragDropsNothing)
{
    Trees f;
    DragTree& tree = f.make();
    fill(tree);
    tree.OnDragOver = nullptr;  // accept stays false
    bool dropped = false;
    tree.OnDragDrop = [&](TBaseLazyTree&, QObject*, const QMimeData*, const QStringList&,
                          Qt::KeyboardModifiers, Qt::MouseButtons, QPoint, int&,
                          TDropMode) { dropped = true; };
    QMimeData data;
    data.setText("x");
    EXPECT_EQ(dropAt(tree, data, labelPoint(tree, find(tree, 2))), 0);
    EXPECT_FALSE(dropped);
}

TEST(TreeDrop, ProcessDropNowhereOrWithoutEffectInsertsNothing)
{
    Trees f;
    DragTree& source = f.make();
    DragTree& target = f.make();
    fill(source);
    source.AddToSelection(find(source, 2));
    TLTDataObject data(f.context, source.clipboardId(), false, {kLazyTreeDataMime});
    int effect = kCopy;
    EXPECT_FALSE(target.ProcessDrop(data, nullptr, effect, amNoWhere));
    EXPECT_EQ(effect, 0);
    effect = kLink;
    EXPECT_FALSE(target.ProcessDrop(data, nullptr, effect, amAddChildLast));
    EXPECT_EQ(shape(target), "");
    // Both copy and move from a tree of this program: copied, and the source deletes nothing.
    effect = kCopy | kMove;
    EXPECT_TRUE(target.ProcessDrop(data, nullptr, effect, amAddChildLast));
    EXPECT_EQ(effect, 0);
    EXPECT_EQ(shape(target), "2");
    EXPECT_EQ(shape(source), "1(11 12) 2 3");
}

// ----- the drag picture ----------------------------------------------------------------------------

struct AlphaCase {
    std::string name;
    QPoint pixel;
    int expected;
};

class DragImageAlpha : public ::testing::TestWithParam<AlphaCase> {};

// A 100 x 60 picture: the larger side is 100, so half of it away the alpha is 255 e^-4.
TEST_P(DragImageAlpha, FadesFromTheCentre)
{
    QImage img(100, 60, QImage::Format_ARGB32);
    img.fill(QColor(10, 20, 30));
    img.setPixel(90, 5, qRgb(255, 255, 255));
    applyDragImageAlpha(img, clWhite);
    EXPECT_EQ(qAlpha(img.pixel(GetParam().pixel)), GetParam().expected);
}

const std::vector<AlphaCase> kAlphaCases = {
    {"Centre", {50, 30}, 255},
    {"HalfTheLargerSideAway", {0, 30}, 5},
    {"TenPixelsAway", {60, 30}, 115},
    {"ColourKeyIsClear", {90, 5}, 0},
};
INSTANTIATE_TEST_SUITE_P(Cases, DragImageAlpha, ::testing::ValuesIn(kAlphaCases), CaseName());

TEST(TreeDragImage, ShowsTheSelectedRowsWithTheBackgroundClear)
{
    Trees f;
    DragTree& tree = f.make();
    fill(tree);
    tree.SetDragWidth(120);
    tree.SetDragHeight(80);
    EXPECT_EQ(tree.DragImage().Transparency(), 200);
    EXPECT_TRUE(tree.DragImage().Fade());
    PLazyNode two = find(tree, 2);
    tree.AddToSelection(two);
    const QPoint hot = labelPoint(tree, two);
    QMimeData data;
    tree.PrepareDragImage(hot, &data);
    const QImage& img = tree.DragImage().image();
    ASSERT_EQ(img.size(), QSize(120, 80));
    // The hot spot sits in the picture's centre, on the selected row: nearly the full
    // transparency there, nothing on the background around the rows.
    EXPECT_EQ(tree.DragImage().hotSpot(), QPoint(60, 40));
    EXPECT_GE(qAlpha(img.pixel(60, 40)), 190);
    EXPECT_EQ(qAlpha(img.pixel(2, 2)), 0);
    EXPECT_EQ(qAlpha(img.pixel(60, 78)), 0);
    EXPECT_TRUE(tree.DragImage().States().contains(disSystemSupport));
    // Unselected rows above and below are not in the picture.
    const int rowHeight = tree.GetDisplayRect(two, NoColumn, false).height();
    EXPECT_EQ(qAlpha(img.pixel(60, 40 - rowHeight)), 0);
    tree.SetDragImageKind(diNoImage);
    tree.DragImage().EndDrag();
    tree.PrepareDragImage(hot, &data);
    EXPECT_TRUE(tree.DragImage().image().isNull());
}

// ----- wheel panning ---------------------------------------------------------------------------------

TEST(TreePanning, TheIndicatorIsShapedByItsPicture)
{
    for (const char* name : {"LT_MOVEALL", "LT_MOVEEW", "LT_MOVENS"}) {
        SCOPED_TRACE(name);
        const QImage picture = panningImage(name);
        ASSERT_EQ(picture.size(), QSize(32, 32));
        TLTPanningWindow window(nullptr, picture);
        const QRegion mask = window.mask();
        EXPECT_FALSE(mask.contains(QPoint(0, 0)));
        EXPECT_FALSE(mask.contains(QPoint(31, 31)));
        EXPECT_TRUE(mask.contains(QPoint(16, 16)));
        EXPECT_TRUE(mask.contains(QPoint(16, 2)));
        // Exactly the non-fuchsia pixels are in the shape.
        int inside = 0;
        int opaque = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                inside += mask.contains(QPoint(x, y)) ? 1 : 0;
                opaque += (picture.pixel(x, y) & 0xFFFFFF) != 0xFF00FF ? 1 : 0;
            }
        EXPECT_EQ(inside, opaque);
    }
    EXPECT_THROW(TLTPanningWindow(nullptr, QImage()), std::logic_error);
    EXPECT_TRUE(panningImage("LT_MOVEUP").isNull());
    EXPECT_FALSE(panningCursorImage("LT_MOVESW").isNull());
}

struct PanTree {
    Trees f;
    DragTree& tree = f.make();
    PanTree()
    {
        for (std::uint32_t i = 0; i < 40; ++i)
            add(tree, nullptr, i);
        tree.resize(200, 100);
        QApplication::processEvents();
    }
    void move(QPoint p, Qt::MouseButtons buttons = Qt::NoButton)
    {
        QMouseEvent e(QEvent::MouseMove, QPointF(p), tree.viewport()->mapToGlobal(QPointF(p)),
                      Qt::NoButton, buttons, {});
        QApplication::sendEvent(tree.viewport(), &e);
    }
    bool panning() const { return tree.TreeStates().contains(tsWheelPanning); }
};

TEST(TreePanning, AMiddleClickPansUntilTheNextPress)
{
    PanTree t;
    const QPoint start(100, 50);
    QTest::mouseClick(t.tree.viewport(), Qt::MiddleButton, {}, start);
    ASSERT_TRUE(t.panning());
    ASSERT_NE(t.tree.panningWindow(), nullptr);
    EXPECT_EQ(t.tree.panningCursorName(), "LT_MOVENS");
    // 30 pixels below the start: 22 beyond the dead zone per step.
    t.move(start + QPoint(0, 30));
    EXPECT_EQ(t.tree.panningCursorName(), "LT_MOVES");
    t.tree.DoTimer(TBaseLazyTree::ScrollTimer);
    EXPECT_EQ(t.tree.OffsetY(), -22);
    // Any press ends it and does nothing else.
    QTest::mousePress(t.tree.viewport(), Qt::LeftButton, {}, start);
    EXPECT_FALSE(t.panning());
    EXPECT_EQ(t.tree.panningWindow(), nullptr);
    EXPECT_EQ(t.tree.SelectedCount(), 0u);
    QTest::mouseRelease(t.tree.viewport(), Qt::LeftButton, {}, start);
}

TEST(TreePanning, AMiddleDragPansUntilTheButtonComesUp)
{
    PanTree t;
    const QPoint start(100, 50);
    QTest::mousePress(t.tree.viewport(), Qt::MiddleButton, {}, start);
    ASSERT_TRUE(t.panning());
    t.move(start - QPoint(0, QApplication::startDragDistance() + 2), Qt::MiddleButton);
    EXPECT_FALSE(t.tree.TreeStates().contains(tsWheelScrolling));
    QTest::mouseRelease(t.tree.viewport(), Qt::MiddleButton, {}, start);
    EXPECT_FALSE(t.panning());
    EXPECT_FALSE(t.tree.timerActive(TBaseLazyTree::ScrollTimer));
}

struct CursorCase {
    std::string name;
    QPoint delta;          // from the start point
    const char* both;      // scrollable both ways
    const char* vertical;  // only up and down
};

class PanningCursor : public ::testing::TestWithParam<CursorCase> {};

TEST_P(PanningCursor, PointsWhereTheViewMoves)
{
    const CursorCase& c = GetParam();
    for (bool wide : {true, false}) {
        SCOPED_TRACE(wide ? "both ways" : "vertical only");
        PanTree t;
        if (wide) {
            // Rows indented beyond the client area make the content wider than the view.
            t.tree.SetIndent(400);
            QApplication::processEvents();
        }
        ASSERT_EQ(t.tree.RangeX() > t.tree.viewport()->width(), wide);
        const QPoint start(100, 50);
        QTest::mouseClick(t.tree.viewport(), Qt::MiddleButton, {}, start);
        ASSERT_TRUE(t.panning());
        t.move(start + c.delta);
        EXPECT_EQ(t.tree.panningCursorName().toStdString(), wide ? c.both : c.vertical);
        t.tree.StopWheelPanning();
    }
}

const std::vector<CursorCase> kCursorCases = {
    {"Still", {0, 0}, "LT_MOVEALL", "LT_MOVENS"},
    {"WithinSeven", {7, -7}, "LT_MOVEALL", "LT_MOVENS"},
    {"Up", {0, -20}, "LT_MOVEN", "LT_MOVEN"},
    {"DownALittleRight", {8, 20}, "LT_MOVES", "LT_MOVES"},
    {"Right", {20, 8}, "LT_MOVEE", "LT_MOVES"},
    {"Left", {-20, -8}, "LT_MOVEW", "LT_MOVEN"},
    {"UpRight", {20, -9}, "LT_MOVENE", "LT_MOVEN"},
    {"UpLeft", {-9, -20}, "LT_MOVENW", "LT_MOVEN"},
    {"DownRight", {9, 9}, "LT_MOVESE", "LT_MOVES"},
    {"DownLeft", {-20, 20}, "LT_MOVESW", "LT_MOVES"},
};
INSTANTIATE_TEST_SUITE_P(Cases, PanningCursor, ::testing::ValuesIn(kCursorCases), CaseName());

TEST(TreePanning, ATreeThatFitsDoesNotPan)
{
    Trees f;
    DragTree& tree = f.make();
    fill(tree);
    QTest::mouseClick(tree.viewport(), Qt::MiddleButton, {}, QPoint(50, 10));
    EXPECT_FALSE(tree.TreeStates().contains(tsWheelPanning));
    EXPECT_EQ(tree.panningWindow(), nullptr);
}

}  // namespace
}  // namespace zfw::test
