// In-place editing: when an edit may start, how it ends (keys, focus loss, Tab walk), how the
// line editor sizes itself, and edits whose node or tree goes away.

#include "support/CaseName.h"
#include "tree/LazyTreesEditLink.h"
#include "tree/LazyTreesString.h"
#include "tree/core/LazyTreesWorker.h"

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace zfw::test {
namespace {

using Log = std::vector<std::string>;

// A link with fixed answers that records what the tree asks of it.
class FakeLink : public ILTEditLink {
public:
    bool prepare = true;
    bool begin = true;
    bool end = true;
    bool cancel = true;
    Log calls;
    QRect bounds;

    bool BeginEdit() override { return record("begin"), begin; }
    bool CancelEdit() override { return record("cancel"), cancel; }
    bool EndEdit() override { return record("end"), end; }
    bool PrepareEdit(TBaseLazyTree*, PLazyNode, TColumnIndex) override
    {
        return record("prepare"), prepare;
    }
    QRect GetBounds() override { return bounds; }
    void ProcessMessage(QEvent&) override {}
    void SetBounds(QRect r) override { bounds = r; }

private:
    void record(const char* call) { calls.emplace_back(call); }
};

// A window with a string tree of three rows "alpha", "beta", "gamma" (editable, no sorting)
// and a line edit beside it that can take the focus away. The tree keeps its texts in a map
// and every editing event goes into a log.
struct EditTree {
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    TLazyStringTree* tree = new TLazyStringTree(window.get());
    QLineEdit* other = new QLineEdit(window.get());
    std::map<PLazyNode, QString> texts;
    std::map<PLazyNode, std::string> names;
    Log log;
    PLazyNode a = nullptr;
    PLazyNode b = nullptr;
    PLazyNode c = nullptr;

    EditTree()
    {
        window->resize(360, 200);
        tree->setGeometry(0, 0, 240, 160);
        other->setGeometry(250, 0, 100, 24);
        tree->SetAutoOptions(tree->options().AutoOptions - TLTAutoOptions{toAutoSort});
        tree->SetMiscOptions(tree->options().MiscOptions + TLTMiscOptions{toEditable});
        tree->SetAnimationDuration(0);
        tree->OnGetText = [this](TBaseLazyTree&, PLazyNode n, TColumnIndex, TVSTTextType type,
                                 QString& text) {
            if (type == ttNormal)
                text = texts[n];
        };
        tree->OnNewText = [this](TBaseLazyTree&, PLazyNode n, TColumnIndex, const QString& text) {
            texts[n] = text;
            log.push_back("new " + name(n) + " " + text.left(20).toStdString());
        };
        tree->OnEdited = [this](TBaseLazyTree&, PLazyNode n, TColumnIndex) {
            log.push_back("edited " + name(n));
        };
        tree->OnEditCancelled = [this](TBaseLazyTree&, TColumnIndex) {
            log.emplace_back("cancelled");
        };
        a = add("alpha");
        b = add("beta");
        c = add("gamma");
        window->show();
        QApplication::processEvents();
        tree->setFocus(Qt::OtherFocusReason);
    }
    PLazyNode add(const std::string& text, PLazyNode parent = nullptr)
    {
        PLazyNode n = tree->AddChild(parent);
        texts[n] = QString::fromStdString(text);
        names[n] = text;
        return n;
    }
    std::string name(PLazyNode n) const
    {
        auto it = names.find(n);
        return n ? (it == names.end() ? "?" : it->second) : "nil";
    }
    TLTEdit* editor() const
    {
        auto link = std::dynamic_pointer_cast<TStringEditLink>(tree->EditLink());
        return link ? link->Edit() : nullptr;
    }
    QWidget* typing() const { return editor() ? editor()->textControl() : nullptr; }
    // Leaves the tree idle: no edit, no link, no editor on the screen.
    void expectIdle() const
    {
        EXPECT_FALSE(tree->IsEditing());
        EXPECT_EQ(tree->EditLink(), nullptr);
        for (const TLTEdit* e : tree->viewport()->findChildren<TLTEdit*>())
            EXPECT_FALSE(e->isVisible());
    }
};

// ----- when an edit may start ------------------------------------------------------------------

struct RefusalCase {
    const char* name;
    std::function<void(EditTree&, std::shared_ptr<FakeLink>&)> arrange;
    Log linkCalls;  // what a fake link was asked, when the case hands one
};

const RefusalCase kRefusals[] = {
    {"NotEditable",
     [](EditTree& f, auto&) {
         f.tree->SetMiscOptions(f.tree->options().MiscOptions - TLTMiscOptions{toEditable});
     },
     {}},
    {"ReadOnly",
     [](EditTree& f, auto&) {
         f.tree->SetMiscOptions(f.tree->options().MiscOptions + TLTMiscOptions{toReadOnly});
     },
     {}},
    {"DisabledNode", [](EditTree& f, auto&) { f.tree->SetDisabled(f.b, true); }, {}},
    {"DisabledTree", [](EditTree& f, auto&) { f.tree->setEnabled(false); }, {}},
    {"OnEditingSaysNo",
     [](EditTree& f, auto&) {
         f.tree->OnEditing = [](TBaseLazyTree&, PLazyNode, TColumnIndex, bool& allowed) {
             allowed = false;
         };
     },
     {}},
    {"FocusRefused",
     [](EditTree& f, auto&) {
         f.tree->OnFocusChanging = [](TBaseLazyTree&, PLazyNode, PLazyNode, TColumnIndex,
                                      TColumnIndex, bool& allowed) { allowed = false; };
     },
     {}},
    {"LinkRefusesToPrepare", [](EditTree&, auto& link) { link->prepare = false; }, {"prepare"}},
    {"LinkRefusesToBegin",
     [](EditTree&, auto& link) { link->begin = false; },
     {"prepare", "begin"}},
};

class EditRefusal : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(EditRefusal, AnswersFalseAndLeavesTheTreeIdle)
{
    EditTree f;
    auto link = std::make_shared<FakeLink>();
    GetParam().arrange(f, link);
    f.tree->OnCreateEditor = [&](TBaseLazyTree&, PLazyNode, TColumnIndex,
                                 std::shared_ptr<ILTEditLink>& out) { out = link; };
    EXPECT_FALSE(f.tree->EditNode(f.b, NoColumn));
    f.expectIdle();
    EXPECT_EQ(link->calls, GetParam().linkCalls);
    EXPECT_TRUE(f.log.empty());
    EXPECT_FALSE(f.tree->TreeStates().contains(tsEditPending));
}

INSTANTIATE_TEST_SUITE_P(Cases, EditRefusal, ::testing::ValuesIn(kRefusals), CaseName{});

TEST(TreeEdit, AnEditorThatRefusesToEndKeepsTheEditAndTheFocus)
{
    EditTree f;
    auto link = std::make_shared<FakeLink>();
    link->end = false;
    f.tree->OnCreateEditor = [&](TBaseLazyTree&, PLazyNode, TColumnIndex,
                                 std::shared_ptr<ILTEditLink>& out) { out = link; };
    ASSERT_TRUE(f.tree->EditNode(f.b, NoColumn));
    // The tree placed the link over the node's text, as tall as the row.
    EXPECT_EQ(link->bounds, f.tree->GetDisplayRect(f.b, NoColumn, true, true));
    EXPECT_FALSE(f.tree->EndEditNode());
    f.tree->SetFocusedNode(f.c);
    QTest::keyClick(f.tree, Qt::Key_Down);
    EXPECT_EQ(f.tree->FocusedNode(), f.b);
    EXPECT_TRUE(f.tree->IsEditing());
    EXPECT_TRUE(f.log.empty());
    link->end = true;
    f.tree->SetFocusedNode(f.c);
    EXPECT_EQ(f.tree->FocusedNode(), f.c);
    EXPECT_EQ(f.log, Log{"edited beta"});
    f.expectIdle();
}

TEST(TreeEdit, AHandlerFailingWhileTheEditorLoadsLeavesNoEditorBehind)
{
    EditTree f;
    // The text fails only once the edit has been allowed, when the editor asks for it.
    bool armed = false;
    f.tree->OnEditing = [&](TBaseLazyTree&, PLazyNode, TColumnIndex, bool&) { armed = true; };
    auto getText = f.tree->OnGetText;
    f.tree->OnGetText = [&](TBaseLazyTree& t, PLazyNode n, TColumnIndex c, TVSTTextType type,
                            QString& text) {
        if (armed)
            throw std::runtime_error("no text");
        getText(t, n, c, type, text);
    };
    EXPECT_THROW(f.tree->EditNode(f.b, NoColumn), std::runtime_error);
    EXPECT_TRUE(armed);
    f.expectIdle();
    EXPECT_TRUE(f.log.empty());
}

TEST(TreeEdit, ASecondEditNodeKeepsTheRunningEdit)
{
    EditTree f;
    ASSERT_TRUE(f.tree->EditNode(f.a, NoColumn));
    TLTEdit* first = f.editor();
    EXPECT_TRUE(f.tree->EditNode(f.b, NoColumn));
    EXPECT_EQ(f.tree->FocusedNode(), f.a);
    EXPECT_EQ(f.editor(), first);
}

struct ColumnCase {
    const char* name;
    bool nilNode;
    TColumnIndex column;
    const char* message;
};

const ColumnCase kBadArguments[] = {
    {"NilNode", true, NoColumn, "Node must not be nil."},
    {"MinusTwo", false, InvalidColumn,
     "Column must be a valid column index (-1 if no header is shown)."},
    {"ZeroWithoutColumns", false, 0,
     "Column must be a valid column index (-1 if no header is shown)."},
    {"FarOut", false, 1000, "Column must be a valid column index (-1 if no header is shown)."},
};

class EditArguments : public ::testing::TestWithParam<ColumnCase> {};

TEST_P(EditArguments, AreMisuseAndStartNothing)
{
    EditTree f;
    const ColumnCase& c = GetParam();
    try {
        f.tree->EditNode(c.nilNode ? nullptr : f.b, c.column);
        ADD_FAILURE() << "no assertion";
    } catch (const ELazyTreeAssertion& e) {
        EXPECT_STREQ(e.what(), c.message);
    }
    f.expectIdle();
    EXPECT_EQ(f.tree->FocusedNode(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Cases, EditArguments, ::testing::ValuesIn(kBadArguments), CaseName{});

// Each way a user starts an edit ends in the same place: an editor over the node's text with
// the text loaded, all of it selected, and the keyboard focus.
struct TriggerCase {
    const char* name;
    std::function<void(EditTree&)> act;
};

QPoint labelPoint(EditTree& f, PLazyNode n)
{
    return f.tree->GetDisplayRect(n, NoColumn, true).topLeft() + QPoint(6, 6);
}

const TriggerCase kTriggers[] = {
    {"F2",
     [](EditTree& f) {
         f.tree->SetFocusedNode(f.b);
         QTest::keyClick(f.tree, Qt::Key_F2);
     }},
    {"ClickOnTheSelectedNodeAfterTheDelay",
     [](EditTree& f) {
         f.tree->SetEditDelay(0);
         f.tree->SetFocusedNode(f.b);
         f.tree->AddToSelection(f.b);
         QTest::mouseClick(f.tree->viewport(), Qt::LeftButton, {}, labelPoint(f, f.b));
         EXPECT_FALSE(f.tree->IsEditing());
         for (int i = 0; i < 3 && !f.tree->IsEditing(); ++i)
             QApplication::processEvents();
     }},
    {"DoubleClick",
     [](EditTree& f) {
         f.tree->SetMiscOptions(f.tree->options().MiscOptions - TLTMiscOptions{toToggleOnDblClick}
                                + TLTMiscOptions{toEditOnDblClick});
         // The user lets go of the second click well after its edit timer of 0 ms ran.
         const QPoint p = labelPoint(f, f.b);
         QTest::mouseClick(f.tree->viewport(), Qt::LeftButton, {}, p);
         QMouseEvent dbl(QEvent::MouseButtonDblClick, p, f.tree->viewport()->mapToGlobal(p),
                         Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
         QCoreApplication::sendEvent(f.tree->viewport(), &dbl);
         for (int i = 0; i < 3 && !f.tree->IsEditing(); ++i)
             QApplication::processEvents();
         QTest::mouseRelease(f.tree->viewport(), Qt::LeftButton, {}, p);
     }},
};

class EditTrigger : public ::testing::TestWithParam<TriggerCase> {};

TEST_P(EditTrigger, OpensTheEditorOverTheFocusedNode)
{
    EditTree f;
    GetParam().act(f);
    ASSERT_TRUE(f.tree->IsEditing());
    ASSERT_NE(f.editor(), nullptr);
    EXPECT_EQ(f.tree->FocusedNode(), f.b);
    EXPECT_TRUE(f.editor()->isVisible());
    EXPECT_EQ(f.editor()->text(), QStringLiteral("beta"));
    ASSERT_NE(f.editor()->lineEdit(), nullptr);
    EXPECT_EQ(f.editor()->lineEdit()->selectedText(), QStringLiteral("beta"));
    EXPECT_TRUE(f.typing()->hasFocus());
    const QRect text = f.tree->GetDisplayRect(f.b, NoColumn, true, true);
    EXPECT_EQ(f.editor()->geometry().topLeft(), text.topLeft());
}

INSTANTIATE_TEST_SUITE_P(Cases, EditTrigger, ::testing::ValuesIn(kTriggers), CaseName{});

// ----- how an edit ends ---------------------------------------------------------------------

struct EndingCase {
    const char* name;
    const char* typed;  // nullptr: the text is left as it was loaded
    Qt::Key key;
    Log expected;
    const char* stored;
};

const EndingCase kEndings[] = {
    {"EnterUnchanged", nullptr, Qt::Key_Return, {"edited beta"}, "beta"},
    {"EnterTyped", "bee", Qt::Key_Return, {"new beta bee", "edited beta"}, "bee"},
    {"KeypadEnterTyped", "bee", Qt::Key_Enter, {"new beta bee", "edited beta"}, "bee"},
    {"EscapeTyped", "bee", Qt::Key_Escape, {"cancelled"}, "beta"},
};

class EditEnding : public ::testing::TestWithParam<EndingCase> {};

TEST_P(EditEnding, StoresOnlyAChangedTextAndGivesTheFocusBack)
{
    EditTree f;
    const EndingCase& c = GetParam();
    ASSERT_TRUE(f.tree->EditNode(f.b, NoColumn));
    if (c.typed)
        QTest::keyClicks(f.typing(), QString::fromLatin1(c.typed));
    QTest::keyClick(f.typing(), c.key);
    EXPECT_EQ(f.log, c.expected);
    EXPECT_EQ(f.texts[f.b], QString::fromLatin1(c.stored));
    f.expectIdle();
    EXPECT_TRUE(f.tree->hasFocus());
    // The editor's widget goes with the next turn of the event loop.
    QApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(f.tree->viewport()->findChildren<TLTEdit*>().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Cases, EditEnding, ::testing::ValuesIn(kEndings), CaseName{});

struct FocusLossCase {
    const char* name;
    bool autoAccept;
    Log expected;
    const char* stored;
};

const FocusLossCase kFocusLosses[] = {
    {"Accepts", true, {"new beta bee", "edited beta"}, "bee"},
    {"Cancels", false, {"cancelled"}, "beta"},
};

class EditFocusLoss : public ::testing::TestWithParam<FocusLossCase> {};

TEST_P(EditFocusLoss, FollowsTheAutoAcceptOption)
{
    EditTree f;
    const FocusLossCase& c = GetParam();
    TLTStringOptions options = f.tree->StringOptions() - TLTStringOptions{toAutoAcceptEditChange};
    if (c.autoAccept)
        options.include(toAutoAcceptEditChange);
    f.tree->SetStringOptions(options);
    ASSERT_TRUE(f.tree->EditNode(f.b, NoColumn));
    QTest::keyClicks(f.typing(), QStringLiteral("bee"));
    f.other->setFocus(Qt::MouseFocusReason);
    QApplication::processEvents();
    EXPECT_EQ(f.log, c.expected);
    EXPECT_EQ(f.texts[f.b], QString::fromLatin1(c.stored));
    f.expectIdle();
    // The focus stays where the user put it.
    EXPECT_TRUE(f.other->hasFocus());
}

INSTANTIATE_TEST_SUITE_P(Cases, EditFocusLoss, ::testing::ValuesIn(kFocusLosses), CaseName{});

TEST(TreeEdit, AContextMenuTakingTheFocusLeavesTheEditRunning)
{
    EditTree f;
    ASSERT_TRUE(f.tree->EditNode(f.b, NoColumn));
    QFocusEvent out(QEvent::FocusOut, Qt::PopupFocusReason);
    QCoreApplication::sendEvent(f.typing(), &out);
    EXPECT_TRUE(f.tree->IsEditing());
    EXPECT_TRUE(f.log.empty());
}

TEST(TreeEdit, TabWalksTheEditDownAndStopsAfterTheLastNode)
{
    EditTree f;
    PLazyNode b1 = f.add("beta one", f.b);
    f.tree->SetExpanded(f.b, true);
    ASSERT_TRUE(f.tree->EditNode(f.a, NoColumn));
    QTest::keyClicks(f.typing(), QStringLiteral("A"));
    QTest::keyClick(f.typing(), Qt::Key_Tab);
    ASSERT_TRUE(f.tree->IsEditing());
    EXPECT_EQ(f.tree->FocusedNode(), f.b);
    QTest::keyClick(f.typing(), Qt::Key_Tab);
    EXPECT_EQ(f.tree->FocusedNode(), b1);
    QTest::keyClicks(f.typing(), QStringLiteral("B1"));
    QTest::keyClick(f.typing(), Qt::Key_Tab);
    EXPECT_EQ(f.tree->FocusedNode(), f.c);
    EXPECT_EQ(f.editor()->text(), QStringLiteral("gamma"));
    QTest::keyClick(f.typing(), Qt::Key_Tab);
    EXPECT_EQ(f.log, (Log{"new alpha A", "edited alpha", "edited beta", "new beta one B1",
                          "edited beta one", "edited gamma"}));
    EXPECT_EQ(f.tree->FocusedNode(), nullptr);
    f.expectIdle();
    EXPECT_TRUE(f.tree->hasFocus());
}

TEST(TreeEdit, TheEditorFollowsItsRowAndTheViewport)
{
    EditTree f;
    ASSERT_TRUE(f.tree->EditNode(f.b, NoColumn));
    // A taller row above moves the edited row down; the edited row's own height grows it.
    f.tree->SetNodeHeight(f.a, 30);
    EXPECT_EQ(f.editor()->geometry().top(), 30);
    f.tree->SetNodeHeight(f.b, 44);
    EXPECT_EQ(f.editor()->geometry().height(), 44);
    // A narrower tree cuts the editor at the viewport's edge.
    QTest::keyClicks(f.typing(), QStringLiteral("a text wider than the narrowed tree"));
    f.tree->resize(120, 160);
    EXPECT_EQ(f.editor()->geometry().right(), f.tree->viewport()->width() - 1);
}

// With header columns an edit addresses a column's cell: the editor stands in that column and
// follows its left edge when a column before it is widened; a column past the last is misuse.
TEST(TreeEdit, AnEditInAHeaderColumnStaysInItsCell)
{
    EditTree f;
    TLazyTreeColumns& columns = f.tree->Header().Columns();
    columns.Add().SetWidth(80);
    columns.Add().SetWidth(120);
    QApplication::processEvents();
    EXPECT_THROW(f.tree->EditNode(f.b, 2), ELazyTreeAssertion);
    ASSERT_TRUE(f.tree->EditNode(f.b, 1));
    const int left = f.editor()->geometry().left();
    EXPECT_GE(left, 80);
    EXPECT_LT(left, 80 + 120);
    columns[0].SetWidth(100);
    EXPECT_EQ(f.editor()->geometry().left(), left + 20);
}

TEST(TreeEdit, AMultiLineNodeBreaksLinesOnEnterAndEndsOnCtrlEnter)
{
    EditTree f;
    f.tree->SetMultiline(f.b, true);
    ASSERT_TRUE(f.tree->EditNode(f.b, NoColumn));
    ASSERT_NE(f.editor()->plainTextEdit(), nullptr);
    EXPECT_EQ(f.editor()->lineEdit(), nullptr);
    // The editor covers the room the tree wraps the text in, not only its widest word.
    const QRect text = f.tree->GetDisplayRect(f.b, NoColumn, true);
    EXPECT_EQ(f.editor()->geometry().left(), text.left());
    EXPECT_EQ(f.editor()->geometry().right(), f.tree->viewport()->width() - 1);
    QTest::keyClicks(f.typing(), QStringLiteral("one"));
    QTest::keyClick(f.typing(), Qt::Key_Return);
    QTest::keyClicks(f.typing(), QStringLiteral("two"));
    EXPECT_TRUE(f.tree->IsEditing());
    EXPECT_TRUE(f.log.empty());
    QTest::keyClick(f.typing(), Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(f.texts[f.b], QStringLiteral("one\ntwo"));
    EXPECT_EQ(f.log, (Log{"new beta one\ntwo", "edited beta"}));
    f.expectIdle();
}

TEST(TreeEdit, OneLineTakesUpAndDownAsLeftAndRightAndCtrlASelectsAll)
{
    EditTree f;
    ASSERT_TRUE(f.tree->EditNode(f.b, NoColumn));
    QLineEdit* line = f.editor()->lineEdit();
    ASSERT_NE(line, nullptr);
    QTest::keyClick(line, Qt::Key_Home);
    QTest::keyClick(line, Qt::Key_Down);
    QTest::keyClick(line, Qt::Key_Down);
    EXPECT_EQ(line->cursorPosition(), 2);
    QTest::keyClick(line, Qt::Key_Up);
    EXPECT_EQ(line->cursorPosition(), 1);
    // The keys stayed in the editor: the tree's focus did not move.
    EXPECT_EQ(f.tree->FocusedNode(), f.b);
    QTest::keyClick(line, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(line->selectedText(), QStringLiteral("beta"));
    EXPECT_TRUE(f.tree->IsEditing());
}

TEST(TreeEdit, TabAndEscapeCharactersNeverReachTheText)
{
    EditTree f;
    f.tree->SetMultiline(f.b, true);
    ASSERT_TRUE(f.tree->EditNode(f.b, NoColumn));
    QTest::keyClicks(f.typing(), QStringLiteral("x"));
    QTest::keyClick(f.typing(), Qt::Key_Tab);
    // The walk went on to the next node; the text of b took no tab.
    EXPECT_EQ(f.texts[f.b], QStringLiteral("x"));
    EXPECT_EQ(f.tree->FocusedNode(), f.c);
}

TEST(TreeEdit, AFailingStoreKeepsTheEditRunningForAnotherTry)
{
    EditTree f;
    auto store = f.tree->OnNewText;
    f.tree->OnNewText = [](TBaseLazyTree&, PLazyNode, TColumnIndex, const QString&) {
        throw std::runtime_error("disk full");
    };
    ASSERT_TRUE(f.tree->EditNode(f.b, NoColumn));
    QTest::keyClicks(f.typing(), QStringLiteral("bee"));
    QTest::keyClick(f.typing(), Qt::Key_Return);
    EXPECT_TRUE(f.tree->IsEditing());
    EXPECT_NE(f.tree->lastHandlerError().indexOf(QStringLiteral("disk full")), -1);
    f.tree->OnNewText = store;
    f.typing()->setFocus();
    QTest::keyClick(f.typing(), Qt::Key_Return);
    EXPECT_EQ(f.log, (Log{"new beta bee", "edited beta"}));
    f.expectIdle();
}

TEST(TreeEdit, SortingEndsTheEditFirst)
{
    EditTree f;
    f.tree->OnCompareNodes = [&](LazyTreeModel&, PLazyNode x, PLazyNode y, TColumnIndex,
                                 int& result) { result = f.texts[x].compare(f.texts[y]); };
    ASSERT_TRUE(f.tree->EditNode(f.a, NoColumn));
    QTest::keyClicks(f.typing(), QStringLiteral("zeta"));
    f.tree->SortTree(NoColumn, sdAscending);
    EXPECT_EQ(f.log, (Log{"new alpha zeta", "edited alpha"}));
    EXPECT_EQ(f.tree->GetFirst(), f.b);
    EXPECT_EQ(f.tree->GetLast(), f.a);
}

// ----- the editor's size --------------------------------------------------------------------

struct WidthCase {
    const char* name;
    bool rightAligned;
    bool rightToLeft;
    int margin;  // the tree's Margin: a large one pushes the text to the viewport's edge
};

const WidthCase kWidths[] = {
    {"Left", false, false, 4},
    {"Right", true, false, 4},
    {"LeftMirroredRightToLeft", false, true, 4},
    {"AtTheRightEdge", false, false, 205},
};

class EditWidth : public ::testing::TestWithParam<WidthCase> {};

TEST_P(EditWidth, FollowsTheTextButNeverFallsUnderThirtyPixels)
{
    EditTree f;
    const WidthCase& c = GetParam();
    f.tree->SetAlignment(c.rightAligned ? taRightJustify : taLeftJustify);
    if (c.rightToLeft)
        f.tree->setLayoutDirection(Qt::RightToLeft);
    f.tree->SetMargin(c.margin);
    ASSERT_TRUE(f.tree->EditNode(f.b, NoColumn));
    const int viewportWidth = f.tree->viewport()->width();
    const QRect start = f.editor()->geometry();
    QTest::keyClicks(f.typing(), QStringLiteral("a much longer text than before"));
    const QRect grown = f.editor()->geometry();
    QTest::keyClick(f.typing(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(f.typing(), Qt::Key_Backspace);
    ASSERT_EQ(f.editor()->text(), QString());
    const QRect empty = f.editor()->geometry();
    for (const QRect& r : {start, grown, empty}) {
        EXPECT_GE(r.width(), TStringEditLink::MinimumWidth);
        EXPECT_GE(r.left(), 0);
        EXPECT_LE(r.right(), viewportWidth - 1);
    }
    if (c.margin > 100) {
        // No room to grow: the editor keeps the viewport's last 30 pixels at least.
        EXPECT_EQ(grown.right(), viewportWidth - 1);
        return;
    }
    EXPECT_GT(grown.width(), start.width());
    EXPECT_EQ(empty.width(), TStringEditLink::MinimumWidth);
    // A left-aligned editor grows to the right, a right-aligned one to the left; right to left
    // the sides swap.
    if (c.rightAligned != c.rightToLeft) {
        EXPECT_EQ(grown.right(), start.right());
        EXPECT_EQ(empty.right(), start.right());
    } else {
        EXPECT_EQ(grown.left(), start.left());
        EXPECT_EQ(empty.left(), start.left());
    }
    EXPECT_GE(empty.height(), QFontMetrics(f.typing()->font()).height());
}

INSTANTIATE_TEST_SUITE_P(Cases, EditWidth, ::testing::ValuesIn(kWidths), CaseName{});

class EditMegabyte : public ::testing::TestWithParam<bool> {};

TEST_P(EditMegabyte, IsEditedWhole)
{
    EditTree f;
    const bool multiLine = GetParam();
    QString big;
    big.reserve(1 << 20);
    while (big.size() < (1 << 20))
        big += QStringLiteral("word ab ");
    f.texts[f.b] = big;
    f.tree->SetMultiline(f.b, multiLine);
    std::vector<qsizetype> stored;
    f.tree->OnNewText = [&](TBaseLazyTree&, PLazyNode, TColumnIndex, const QString& text) {
        stored.push_back(text.size());
    };
    ASSERT_TRUE(f.tree->EditNode(f.b, NoColumn));
    EXPECT_EQ(f.editor()->text().size(), big.size());
    EXPECT_LE(f.editor()->geometry().right(), f.tree->viewport()->width() - 1);
    // To the end of the text (of the last line), leaving the selection.
    QTest::keyClick(f.typing(), Qt::Key_End, multiLine ? Qt::ControlModifier : Qt::NoModifier);
    QTest::keyClick(f.typing(), Qt::Key_X);
    QTest::keyClick(f.typing(), Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(stored, (std::vector<qsizetype>{big.size() + 1}));
}

INSTANTIATE_TEST_SUITE_P(Lines, EditMegabyte, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "MultiLine" : "SingleLine");
                         });

// ----- edits whose node or tree goes away ---------------------------------------------------

struct VanishCase {
    const char* name;
    std::function<void(EditTree&, PLazyNode parent)> remove;
};

const VanishCase kVanishing[] = {
    {"NodeDeleted",
     [](EditTree& f, PLazyNode parent) { f.tree->DeleteNode(f.tree->GetFirstChild(parent)); }},
    {"ParentDeleted", [](EditTree& f, PLazyNode parent) { f.tree->DeleteNode(parent); }},
    {"ChildrenDeleted", [](EditTree& f, PLazyNode parent) { f.tree->DeleteChildren(parent); }},
    {"TreeCleared", [](EditTree& f, PLazyNode) { f.tree->Clear(); }},
    // The focus coming back to the tree selects a node at once while the parent goes.
    {"ParentDeletedWhileANodeMustStaySelected",
     [](EditTree& f, PLazyNode parent) {
         f.tree->SetSelectionOptions(f.tree->options().SelectionOptions
                                     + TLTSelectionOptions{toAlwaysSelectNode});
         f.tree->DeleteNode(parent);
         EXPECT_EQ(f.tree->checkConsistency(), QString());
     }},
};

class EditedNodeVanishes : public ::testing::TestWithParam<VanishCase> {};

TEST_P(EditedNodeVanishes, TheEditEndsWithoutItsText)
{
    EditTree f;
    PLazyNode child = f.add("beta one", f.b);
    f.tree->SetExpanded(f.b, true);
    ASSERT_TRUE(f.tree->EditNode(child, NoColumn));
    QTest::keyClicks(f.typing(), QStringLiteral("lost"));
    QPointer<TLTEdit> editor = f.editor();
    GetParam().remove(f, f.b);
    EXPECT_EQ(f.log, Log{"cancelled"});
    f.expectIdle();
    // Nothing the editor does afterwards reaches the freed node.
    if (editor)
        QTest::keyClick(editor->textControl(), Qt::Key_Return);
    f.other->setFocus(Qt::MouseFocusReason);
    QApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(f.log, Log{"cancelled"});
    EXPECT_TRUE(editor.isNull());
}

INSTANTIATE_TEST_SUITE_P(Cases, EditedNodeVanishes, ::testing::ValuesIn(kVanishing), CaseName{});

TEST(TreeEdit, ACustomLinkThatRefusesToCancelIsDroppedWithItsNode)
{
    EditTree f;
    auto link = std::make_shared<FakeLink>();
    link->cancel = false;
    f.tree->OnCreateEditor = [&](TBaseLazyTree&, PLazyNode, TColumnIndex,
                                 std::shared_ptr<ILTEditLink>& out) { out = link; };
    ASSERT_TRUE(f.tree->EditNode(f.b, NoColumn));
    f.tree->DeleteNode(f.b);
    f.expectIdle();
    EXPECT_EQ(link->calls, (Log{"prepare", "begin", "cancel"}));
}

TEST(TreeEdit, ATreeDestroyedWhileEditingStoresNothing)
{
    auto f = std::make_unique<EditTree>();
    ASSERT_TRUE(f->tree->EditNode(f->b, NoColumn));
    QTest::keyClicks(f->typing(), QStringLiteral("lost"));
    Log log;
    f->tree->OnNewText = [&](TBaseLazyTree&, PLazyNode, TColumnIndex, const QString&) {
        log.emplace_back("new");
    };
    f->tree->OnEdited = [&](TBaseLazyTree&, PLazyNode, TColumnIndex) {
        log.emplace_back("edited");
    };
    QPointer<TLTEdit> editor = f->editor();
    delete f->tree;
    EXPECT_TRUE(editor.isNull());
    QApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(log.empty());
    // The window lives on with its other field.
    f->other->setFocus(Qt::MouseFocusReason);
    QApplication::processEvents();
}

// The worker places the editor again after each rebuild of the position cache. The call goes
// through the event loop; a tree destroyed before it runs must not get it.
TEST(TreeEdit, TheWorkersPlacementReachesOnlyALiveTree)
{
    using namespace std::chrono_literals;
    auto worker = std::make_shared<TreeWorker>();
    for (bool destroy : {false, true}) {
        SCOPED_TRACE(destroy ? "destroyed" : "alive");
        auto window = std::make_unique<QWidget>();
        auto* tree = new TLazyStringTree(window.get());
        tree->resize(240, 160);
        tree->SetAutoOptions(tree->options().AutoOptions - TLTAutoOptions{toAutoSort});
        tree->SetMiscOptions(tree->options().MiscOptions + TLTMiscOptions{toEditable});
        tree->SetTreeWorker(worker);
        tree->SetRootNodeCount(5'000);
        window->show();
        QApplication::processEvents();
        ASSERT_TRUE(worker->waitUntilIdle(30s));
        QApplication::processEvents();
        ASSERT_TRUE(tree->EditNode(tree->GetFirst(), NoColumn));
        auto link = std::dynamic_pointer_cast<TStringEditLink>(tree->EditLink());
        ASSERT_TRUE(link);
        const QRect placed = link->GetBounds();
        link->Edit()->move(placed.topLeft() + QPoint(0, 50));
        // A height change below the edited row starts a rebuild.
        tree->SetNodeHeight(tree->GetLast(), 40);
        ASSERT_TRUE(worker->waitUntilIdle(30s));
        if (destroy) {
            delete tree;
            QApplication::processEvents();
            EXPECT_TRUE(window->findChildren<TLTEdit*>().isEmpty());
        } else {
            QApplication::processEvents();
            EXPECT_EQ(link->GetBounds(), placed);
        }
    }
}

}  // namespace
}  // namespace zfw::test
