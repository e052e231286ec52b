// Mouse and keyboard on the tree: hit positions of a row's elements left to right and mirrored,
// clicks with QTest on the viewport, the keyboard table, Space on check boxes.

#include "support/CaseName.h"
#include "tree/LazyTreesString.h"

#include <QApplication>
#include <QFontMetrics>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace zfw::test {
namespace {

// A(A0 A1) B C, A expanded; check boxes, a 16-pixel level image, texts "Node".
struct MouseTree {
    std::unique_ptr<TLazyStringTree> tree = std::make_unique<TLazyStringTree>();
    TImageList images{16, 16};
    PLazyNode a, a0, a1, b, c;

    explicit MouseTree(bool rtl = false)
    {
        QImage img(16, 16, QImage::Format_ARGB32);
        img.fill(Qt::red);
        images.Add(img);
        if (rtl)
            tree->setLayoutDirection(Qt::RightToLeft);
        tree->SetAutoOptions(tree->options().AutoOptions - TLTAutoOptions{toAutoSort});
        tree->SetMiscOptions(tree->options().MiscOptions + TLTMiscOptions{toCheckSupport});
        tree->SetSelectionOptions({toMultiSelect});
        tree->SetAnimationDuration(0);
        tree->SetImages(&images);
        tree->OnGetImageIndex = [](TBaseLazyTree&, PLazyNode, TLTImageKind kind, TColumnIndex,
                                   bool&, int& index) {
            if (kind == ikNormal || kind == ikSelected)
                index = 0;
        };
        a = tree->AddChild(nullptr);
        b = tree->AddChild(nullptr);
        c = tree->AddChild(nullptr);
        a0 = tree->AddChild(a);
        a1 = tree->AddChild(a);
        for (PLazyNode n : {a, b, c, a0, a1})
            tree->SetCheckType(n, ctCheckBox);
        tree->SetExpanded(a, true);
        tree->resize(300, 200);
        tree->show();
        QApplication::processEvents();
    }
    QPoint rowPoint(PLazyNode n, int x) const
    {
        const QRect r = tree->GetDisplayRect(n, NoColumn, false);
        return QPoint(x, r.top() + r.height() / 2);
    }
    QWidget* view() const { return tree->viewport(); }
};

// Offsets along a level-1 row with children (A), from the row's left edge left to right.
struct Geometry {
    int indent, margin, check, image, text;
};

struct HitCase {
    std::string name;
    std::function<int(const Geometry&)> offset;  // left to right; mirrored for RTL
    THitPositions ltr;
    THitPositions rtl;
};

class TreeHitPositions : public ::testing::TestWithParam<HitCase> {};

TEST_P(TreeHitPositions, ClassifyThePointLeftToRightAndMirrored)
{
    for (bool rtl : {false, true}) {
        MouseTree f(rtl);
        f.tree->SetHasChildren(f.a0, true);
        Geometry g{2 * f.tree->Indent(), f.tree->Margin(), f.tree->checkImages().images().Width(),
                   16, int(f.tree->GetDisplayRect(f.a0, NoColumn, true).width())};
        const int offset = GetParam().offset(g);
        const QRect row = f.tree->GetDisplayRect(f.a0, NoColumn, false);
        const int x = rtl ? row.right() - offset : row.left() + offset;
        THitInfo hit;
        f.tree->GetHitTestInfoAt(x, row.top() + 5, true, hit);
        EXPECT_EQ(hit.HitNode, f.a0) << (rtl ? "rtl" : "ltr");
        EXPECT_EQ(hit.HitPositions.bits(), (rtl ? GetParam().rtl : GetParam().ltr).bits())
            << (rtl ? "rtl" : "ltr") << " at offset " << offset;
    }
}

const std::vector<HitCase> kHitCases = {
    {"Indent",
     [](const Geometry&) { return 3; },
     {hiOnItem, hiOnItemIndent},
     {hiOnItem, hiOnItemIndent}},
    {"Button",
     [](const Geometry& g) { return g.indent - 16; },
     {hiOnItem, hiOnItemButton},
     {hiOnItem, hiOnItemButton}},
    {"ExactButton",
     [](const Geometry& g) { return g.indent - 5; },
     {hiOnItem, hiOnItemButton, hiOnItemButtonExact},
     {hiOnItem, hiOnItemButton, hiOnItemButtonExact}},
    {"CheckBox",
     [](const Geometry& g) { return g.indent + g.margin + 3; },
     {hiOnItem, hiOnItemCheckbox},
     {hiOnItem, hiOnItemCheckbox}},
    {"Icon",
     [](const Geometry& g) { return g.indent + g.margin + g.check + 2 + 4; },
     {hiOnItem, hiOnNormalIcon},
     {hiOnItem, hiOnNormalIcon}},
    {"Label",
     [](const Geometry& g) { return g.indent + g.margin + g.check + g.image + 4 + 3; },
     {hiOnItem, hiOnItemLabel},
     {hiOnItem, hiOnItemLabel}},
    // Beyond the text: right of a left-aligned label; mirrored, the far side is its left.
    {"PastTheLabel",
     [](const Geometry& g) { return g.indent + g.margin + g.check + g.image + 4 + 200; },
     {hiOnItem, hiOnItemRight},
     {hiOnItem, hiOnItemLeft}},
};
INSTANTIATE_TEST_SUITE_P(Cases, TreeHitPositions, ::testing::ValuesIn(kHitCases), CaseName());

TEST(TreeTextRect, AgreesWithWhereTheTextIsPaintedLeftToRightAndMirrored)
{
    for (bool rtl : {false, true}) {
        SCOPED_TRACE(rtl ? "mirrored" : "left to right");
        MouseTree f(rtl);
        f.tree->OnGetText = [](TBaseLazyTree&, PLazyNode, TColumnIndex, TVSTTextType type,
                               QString& text) {
            if (type == ttNormal)
                text = QStringLiteral("Node");
        };
        const int textMargin = f.tree->TextMargin();
        RecordingCanvas canvas(f.tree->palette());
        f.tree->PaintTree(canvas, Rect(0, 0, 300, 200), QPoint(0, 0), {poUnbuffered});
        // The rows paint at their tree positions; the rectangle counts from the client area.
        const QRect text = f.tree->GetDisplayRect(f.a0, NoColumn, true);
        const QRect row = f.tree->GetDisplayRect(f.a0, NoColumn, false);
        const CanvasOp* painted = nullptr;
        for (const CanvasOp& op : canvas.ops())
            if (op.kind == CanvasOp::Text && op.text == "Node" && op.rect.Top >= row.top()
                && op.rect.Top < row.top() + row.height())
                painted = &op;
        ASSERT_NE(painted, nullptr);
        // The text is drawn inside its margins, aligned to the reading side: the measured
        // width (text plus both margins) must end where the glyphs do.
        EXPECT_EQ(text.width(),
                  QFontMetrics(f.tree->font()).horizontalAdvance("Node") + 2 * textMargin);
        if (rtl)
            EXPECT_EQ(text.x() + text.width() - textMargin, painted->rect.Right);
        else
            EXPECT_EQ(text.x() + textMargin, painted->rect.Left);
        // Nothing of the check box or the image lies in the text's rectangle.
        for (const CanvasOp& op : canvas.ops())
            if (op.kind == CanvasOp::Image && op.rect.Top >= row.top()
                && op.rect.Top < row.top() + row.height()) {
                const QRect image(op.rect.Left, op.rect.Top, op.rect.Width(), op.rect.Height());
                EXPECT_FALSE(image.intersects(text)) << image.x() << " vs " << text.x();
            }
    }
}

TEST(TreeHitPositions, NoElementsOnAZeroHeightRowOrBelowTheRows)
{
    MouseTree f;
    f.tree->SetNodeHeight(f.b, 0);
    THitInfo hit;
    const QRect c = f.tree->GetDisplayRect(f.c, NoColumn, false);
    f.tree->GetHitTestInfoAt(60, c.top(), true, hit);
    EXPECT_EQ(hit.HitNode, f.c);
    f.tree->GetHitTestInfoAt(60, c.bottom() + 20, true, hit);
    EXPECT_EQ(hit.HitNode, nullptr);
    EXPECT_TRUE(hit.HitPositions.contains(hiNowhere));
}

int labelX(MouseTree& f, PLazyNode n)
{
    // The middle of the node's text.
    const QRect text = f.tree->GetDisplayRect(n, NoColumn, true);
    return text.left() + text.width() / 2;
}

TEST(TreeClicks, APlainClickOnASelectedNodeKeepsTheSelectionUntilButtonUp)
{
    MouseTree f;
    f.tree->OnDragStartHook = [](TBaseLazyTree&, PLazyNode) {};
    f.tree->SelectNodes(f.a0, f.b, false);
    ASSERT_EQ(f.tree->SelectedCount(), 3u);
    QTest::mousePress(f.view(), Qt::LeftButton, {}, f.rowPoint(f.a1, labelX(f, f.a1)));
    EXPECT_EQ(f.tree->SelectedCount(), 3u);
    EXPECT_TRUE(f.tree->TreeStates().contains(tsClearPending));
    QTest::mouseRelease(f.view(), Qt::LeftButton, {}, f.rowPoint(f.a1, labelX(f, f.a1)));
    EXPECT_EQ(f.tree->SelectedCount(), 1u);
    EXPECT_TRUE(f.tree->Selected(f.a1));
    EXPECT_FALSE(f.tree->TreeStates().contains(tsClearPending));
    EXPECT_EQ(f.tree->checkConsistency().toStdString(), "");
}

TEST(TreeClicks, CtrlTogglesASelectedNodeAtButtonUp)
{
    MouseTree f;
    f.tree->SelectNodes(f.a0, f.a1, false);
    const QPoint p = f.rowPoint(f.a1, labelX(f, f.a1));
    QTest::mousePress(f.view(), Qt::LeftButton, Qt::ControlModifier, p);
    EXPECT_TRUE(f.tree->Selected(f.a1));
    QTest::mouseRelease(f.view(), Qt::LeftButton, Qt::ControlModifier, p);
    EXPECT_FALSE(f.tree->Selected(f.a1));
    EXPECT_TRUE(f.tree->Selected(f.a0));
    // Ctrl on an unselected node adds it at once.
    const QPoint pc = f.rowPoint(f.c, labelX(f, f.c));
    QTest::mousePress(f.view(), Qt::LeftButton, Qt::ControlModifier, pc);
    EXPECT_TRUE(f.tree->Selected(f.c));
    QTest::mouseRelease(f.view(), Qt::LeftButton, Qt::ControlModifier, pc);
    EXPECT_TRUE(f.tree->Selected(f.c));
    EXPECT_EQ(f.tree->checkConsistency().toStdString(), "");
}

TEST(TreeClicks, ARubberBandBelowTheDragDistanceSelectsNothing)
{
    MouseTree f;
    const QPoint start = f.rowPoint(f.b, 280);
    QTest::mousePress(f.view(), Qt::LeftButton, {}, start);
    QMouseEvent move(QEvent::MouseMove, start + QPoint(0, QApplication::startDragDistance() - 1),
                     f.view()->mapToGlobal(start), Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(f.view(), &move);
    EXPECT_EQ(f.tree->SelectedCount(), 0u);
    QTest::mouseRelease(f.view(), Qt::LeftButton, {}, start);
    EXPECT_EQ(f.tree->SelectedCount(), 0u);
    EXPECT_FALSE(f.tree->IsMouseSelecting());
    // A band from the empty part of a row into the text of the third row selects the three.
    const QPoint from = f.rowPoint(f.a0, 280);
    const QPoint to = f.rowPoint(f.b, labelX(f, f.b));
    QTest::mousePress(f.view(), Qt::LeftButton, {}, from);
    QMouseEvent far(QEvent::MouseMove, to, f.view()->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                    {});
    QApplication::sendEvent(f.view(), &far);
    QTest::mouseRelease(f.view(), Qt::LeftButton, {}, to);
    EXPECT_EQ(f.tree->SelectedCount(), 3u);
}

TEST(TreeClicks, ARubberBandSelectsTheRowsWhoseTextItCrossesLeftToRightAndMirrored)
{
    for (bool rtl : {false, true}) {
        SCOPED_TRACE(rtl ? "mirrored" : "left to right");
        MouseTree f(rtl);
        const auto band = [&f](QPoint from, QPoint to) {
            f.tree->ClearSelection();
            QTest::mousePress(f.view(), Qt::LeftButton, {}, from);
            QMouseEvent move(QEvent::MouseMove, to, f.view()->mapToGlobal(to), Qt::NoButton,
                             Qt::LeftButton, {});
            QApplication::sendEvent(f.view(), &move);
            QTest::mouseRelease(f.view(), Qt::LeftButton, {}, to);
            return f.tree->SelectedCount();
        };
        // In the empty part of the rows, beyond the end of every text, nothing is touched.
        const int empty = rtl ? 20 : 280;
        EXPECT_EQ(band(f.rowPoint(f.a0, empty), f.rowPoint(f.b, empty)), 0u);
        // Started there but reaching into the texts, the band selects the rows it crosses.
        const int a0Text = labelX(f, f.a0);
        EXPECT_EQ(band(f.rowPoint(f.a0, empty), f.rowPoint(f.a1, a0Text)), 2u);
        EXPECT_TRUE(f.tree->Selected(f.a0));
        EXPECT_TRUE(f.tree->Selected(f.a1));
        EXPECT_EQ(f.tree->checkConsistency().toStdString(), "");
    }
}

int checkX(MouseTree& f, PLazyNode n)
{
    const int level = int(f.tree->GetNodeLevel(n)) + 1;
    return level * f.tree->Indent() + f.tree->Margin() + 3;
}

TEST(TreeClicks, ACheckBoxIsPressedAtButtonDownAndChangedAtButtonUp)
{
    MouseTree f;
    std::vector<std::string> log;
    f.tree->OnChecking = [&](LazyTreeModel&, PLazyNode, TCheckState&, bool&) {
        log.push_back("Checking");
    };
    f.tree->OnChecked = [&](LazyTreeModel&, PLazyNode) { log.push_back("Checked"); };
    const QPoint box = f.rowPoint(f.b, checkX(f, f.b));
    QTest::mousePress(f.view(), Qt::LeftButton, {}, box);
    EXPECT_EQ(f.b->CheckState, csUncheckedPressed);
    EXPECT_EQ(f.tree->checkNode(), f.b);
    QTest::mouseRelease(f.view(), Qt::LeftButton, {}, box);
    EXPECT_EQ(f.b->CheckState, csCheckedNormal);
    EXPECT_EQ(log, (std::vector<std::string>{"Checking", "Checked"}));
    EXPECT_EQ(f.tree->checkNode(), nullptr);
}

TEST(TreeClicks, ReleasingOffThePressedCheckBoxChangesNothing)
{
    MouseTree f;
    int checked = 0;
    f.tree->OnChecked = [&](LazyTreeModel&, PLazyNode) { ++checked; };
    QTest::mousePress(f.view(), Qt::LeftButton, {}, f.rowPoint(f.b, checkX(f, f.b)));
    QTest::mouseRelease(f.view(), Qt::LeftButton, {}, f.rowPoint(f.c, checkX(f, f.c)));
    EXPECT_EQ(f.b->CheckState, csUncheckedNormal);
    EXPECT_EQ(f.c->CheckState, csUncheckedNormal);
    EXPECT_EQ(checked, 0);
    EXPECT_FALSE(f.tree->TreeStates().contains(tsMouseCheckPending));
}

TEST(TreeClicks, AThrowingHandlerLeavesNoCheckPending)
{
    MouseTree f;
    f.tree->OnChecked = [](LazyTreeModel&, PLazyNode) { throw std::runtime_error("owner"); };
    const QPoint box = f.rowPoint(f.b, checkX(f, f.b));
    QTest::mousePress(f.view(), Qt::LeftButton, {}, box);
    QTest::mouseRelease(f.view(), Qt::LeftButton, {}, box);
    EXPECT_FALSE(f.tree->lastHandlerError().isEmpty());
    EXPECT_FALSE(f.tree->TreeStates().contains(tsMouseCheckPending));
    EXPECT_FALSE(f.tree->TreeStates().contains(tsCheckPropagation));
    EXPECT_FALSE(f.b->has(vsChecking));
    EXPECT_FALSE(f.tree->TreeStates().contains(tsLeftButtonDown));
}

TEST(TreeClicks, AButtonClickToggles)
{
    MouseTree f;
    const int x = f.tree->Indent() / 2;
    QTest::mouseClick(f.view(), Qt::LeftButton, {}, f.rowPoint(f.a, x));
    EXPECT_FALSE(f.tree->Expanded(f.a));
}

TEST(TreeClicks, AFailingSelectionHandlerLeavesNoClearancePending)
{
    MouseTree f;
    f.tree->OnDragStartHook = [](TBaseLazyTree&, PLazyNode) {};
    f.tree->SelectNodes(f.a0, f.b, false);
    const QPoint p = f.rowPoint(f.a1, labelX(f, f.a1));
    QTest::mousePress(f.view(), Qt::LeftButton, {}, p);
    ASSERT_TRUE(f.tree->TreeStates().contains(tsClearPending));
    f.tree->OnChange = [](LazyTreeModel&, PLazyNode) { throw std::runtime_error("owner"); };
    QTest::mouseRelease(f.view(), Qt::LeftButton, {}, p);
    EXPECT_FALSE(f.tree->lastHandlerError().isEmpty());
    EXPECT_FALSE(f.tree->TreeStates().contains(tsClearPending));
    EXPECT_FALSE(f.tree->IsMouseSelecting());
    EXPECT_EQ(f.tree->checkConsistency().toStdString(), "");
}

std::string nameOf(MouseTree& f, PLazyNode n)
{
    if (!n)
        return "nil";
    const std::pair<PLazyNode, const char*> names[] = {
        {f.a, "A"}, {f.a0, "A0"}, {f.a1, "A1"}, {f.b, "B"}, {f.c, "C"}};
    for (auto [node, name] : names)
        if (node == n)
            return name;
    return "?";
}

// ----- focus ----------------------------------------------------------------------------------

TEST(TreeFocus, MovingTheFocusAsksFirstAndReportsOnce)
{
    MouseTree f;
    std::vector<std::string> log;
    bool allow = true;
    f.tree->OnFocusChanging = [&](TBaseLazyTree&, PLazyNode, PLazyNode to, TColumnIndex,
                                  TColumnIndex, bool& allowed) {
        log.push_back("Changing " + nameOf(f, to));
        allowed = allow;
    };
    f.tree->OnFocusChanged = [&](LazyTreeModel&, PLazyNode n, TColumnIndex) {
        log.push_back("Changed " + nameOf(f, n));
    };
    f.tree->SetFocusedNode(f.b);
    f.tree->SetFocusedNode(f.b);  // already focused: nothing
    allow = false;
    f.tree->SetFocusedNode(f.c);  // refused
    EXPECT_EQ(f.tree->FocusedNode(), f.b);
    allow = true;
    f.tree->SetFocusedNodeAndColumn(f.c, NoColumn);
    EXPECT_EQ(log, (std::vector<std::string>{"Changing B", "Changed B", "Changing C", "Changing C",
                                             "Changed C"}));
}

TEST(TreeFocus, AlwaysSelectNodeSelectsTheNextNodeWhenTheLastOneGoes)
{
    MouseTree f;
    f.tree->SetSelectionOptions({toAlwaysSelectNode});
    f.tree->SetSelected(f.b, true);
    f.tree->SetSelected(f.b, false);
    f.tree->EnsureNodeSelected();
    EXPECT_TRUE(f.tree->Selected(f.c));
    // A single selection takes the focus along.
    EXPECT_EQ(f.tree->FocusedNode(), f.c);
    // Deleting the selected node hands the selection on as well.
    f.tree->DeleteNode(f.c);
    EXPECT_EQ(f.tree->SelectedCount(), 1u);
    EXPECT_EQ(f.tree->checkConsistency().toStdString(), "");
}

// ----- keyboard -------------------------------------------------------------------------------

struct KeyCase {
    std::string name;
    std::function<void(MouseTree&)> setup;
    int key;
    Qt::KeyboardModifiers modifiers;
    std::string focused;
    std::string selected;
    bool aExpanded;
};

class TreeKeys : public ::testing::TestWithParam<KeyCase> {};

TEST_P(TreeKeys, MoveFocusAndSelection)
{
    const KeyCase& c = GetParam();
    MouseTree f;
    f.tree->setFocus();
    f.tree->SetFocusedNode(f.a0);
    f.tree->AddToSelection(f.a0);
    if (c.setup)
        c.setup(f);
    QTest::keyClick(f.tree.get(), Qt::Key(c.key), c.modifiers);
    EXPECT_EQ(nameOf(f, f.tree->FocusedNode()), c.focused);
    std::string sel;
    for (PLazyNode n = f.tree->GetFirstSelected(); n; n = f.tree->GetNextSelected(n))
        sel += (sel.empty() ? "" : " ") + nameOf(f, n);
    EXPECT_EQ(sel, c.selected);
    EXPECT_EQ(f.tree->Expanded(f.a), c.aExpanded);
    EXPECT_EQ(f.tree->checkConsistency().toStdString(), "");
}

const std::vector<KeyCase> kKeyCases = {
    {"Down", nullptr, Qt::Key_Down, {}, "A1", "A1", true},
    {"Up", nullptr, Qt::Key_Up, {}, "A", "A", true},
    {"ShiftDownExtends", nullptr, Qt::Key_Down, Qt::ShiftModifier, "A1", "A0 A1", true},
    {"CtrlDownScrollsOnly", nullptr, Qt::Key_Down, Qt::ControlModifier, "A0", "A0", true},
    {"Home", nullptr, Qt::Key_Home, {}, "A", "A", true},
    {"End", nullptr, Qt::Key_End, {}, "C", "C", true},
    {"PageDown", nullptr, Qt::Key_PageDown, {}, "C", "C", true},
    {"LeftGoesToTheParent", nullptr, Qt::Key_Left, {}, "A", "A", true},
    {"LeftCollapses",
     [](MouseTree& f) { f.tree->SetFocusedNode(f.a); },
     Qt::Key_Left,
     {},
     "A",
     "A0",
     false},
    {"MinusCollapses",
     [](MouseTree& f) { f.tree->SetFocusedNode(f.a); },
     Qt::Key_Minus,
     {},
     "A",
     "A0",
     false},
    // The main keyboard's plus acts as the keypad's Add.
    {"PlusExpands",
     [](MouseTree& f) {
         f.tree->SetExpanded(f.a, false);
         f.tree->SetFocusedNode(f.a);
     },
     Qt::Key_Plus,
     {},
     "A",
     "A0",
     true},
    {"KeypadPlusExpands",
     [](MouseTree& f) {
         f.tree->SetExpanded(f.a, false);
         f.tree->SetFocusedNode(f.a);
     },
     Qt::Key_Plus, Qt::KeypadModifier, "A", "A0", true},
};
INSTANTIATE_TEST_SUITE_P(Cases, TreeKeys, ::testing::ValuesIn(kKeyCases), CaseName());

TEST(TreeKeys, SpaceChecksAtReleaseAndAnotherKeyCancels)
{
    MouseTree f;
    f.tree->setFocus();
    f.tree->SetFocusedNode(f.b);
    QTest::keyPress(f.tree.get(), Qt::Key_Space);
    EXPECT_EQ(f.b->CheckState, csUncheckedPressed);
    QTest::keyRelease(f.tree.get(), Qt::Key_Space);
    EXPECT_EQ(f.b->CheckState, csCheckedNormal);
    QTest::keyPress(f.tree.get(), Qt::Key_Space);
    QTest::keyClick(f.tree.get(), Qt::Key_Down);
    QTest::keyRelease(f.tree.get(), Qt::Key_Space);
    EXPECT_EQ(f.b->CheckState, csCheckedNormal);
    EXPECT_FALSE(f.tree->TreeStates().contains(tsKeyCheckPending));
}

TEST(TreeKeys, F1AsksForHelpWithTheFocusedNode)
{
    MouseTree f;
    f.tree->setFocus();
    f.tree->SetFocusedNode(f.c);
    QSignalSpy spy(f.tree.get(), &TBaseLazyTree::helpRequested);
    QTest::keyClick(f.tree.get(), Qt::Key_F1);
    ASSERT_EQ(spy.count(), 1);
}

TEST(TreeKeys, OneNotchScrollsTheWheelLinesOrAPage)
{
    EXPECT_EQ(TBaseLazyTree::wheelScrollPixels(3, 200, 18), 54);
    EXPECT_EQ(TBaseLazyTree::wheelScrollPixels(-1, 200, 18), 182);
    EXPECT_EQ(TBaseLazyTree::wheelScrollPixels(-1, 10, 18), 18);
}

}  // namespace
}  // namespace zfw::test
