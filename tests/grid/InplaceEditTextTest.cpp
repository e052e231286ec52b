// The string grid's text editor on texts of several lines, driven as a user would: texts with
// line breaks come back unchanged, Up and Down move between lines before they leave the cell,
// where Ctrl+Enter and Enter type a line break, Home and End over the whole text, the row and
// column growing while typing, the copy and cut events, the password field and the
// Alt+Backspace guard.
//
// Fixture: a string grid of 5 columns and 6 rows (one fixed row and column), columns 60 px,
// rows 22 px, every cell editable; the grid's word wrap is on as after construction.

#include "grid/ExtGrid.h"
#include "grid/ExtUtil.h"
#include "grid/InplaceEdit.h"

#include "GridWindowTestSupport.h"
#include "support/CaseName.h"
#include "support/FakeClipboard.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace zfw {
namespace {

using test::CaseName;

class TextEditor : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = std::make_unique<QWidget>();
        grid = test::addSmallGrid<TExtStringGrid>(*window, 5, 6, {300, 200});
        grid->SetOptions(grid->Options() | goEditing);
        grid->setClipboard(&clipboard);
        for (int c = 1; c < 5; ++c)
            for (int r = 1; r < 6; ++r)
                grid->SetCellEx(c, r, QStringLiteral("c%1r%2").arg(c).arg(r));
        ASSERT_TRUE(test::showActive(*window, *grid));
        QApplication::processEvents();
    }

    // Opens the editor on (c, r) with F2, which selects the whole text; a second F2 puts the
    // caret after the last character.
    void openOn(int c, int r, const QString& text)
    {
        grid->SetCellEx(c, r, text);
        grid->MoveCurrentCell(c, r, true, true);
        QTest::keyClick(grid, Qt::Key_F2);
        ASSERT_TRUE(editorOpen());
        ASSERT_TRUE(editor()->hasFocus());
        EXPECT_EQ(editor()->selectedText(), editor()->text());
        QTest::keyClick(editor(), Qt::Key_F2);
        ASSERT_FALSE(editor()->hasSelectedText());
    }
    TExtInplaceEdit* editor() const { return grid->NormalEdit(); }
    bool editorOpen() const { return editor() && editor()->isVisible() && grid->EditorMode(); }
    void key(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier)
    {
        QTest::keyClick(editor(), k, m);
    }

    // Declared before the window: the grid uses it until it goes.
    test::FakeClipboard clipboard;
    std::unique_ptr<QWidget> window;
    TExtStringGrid* grid = nullptr;
};

// ----- line breaks survive -----

struct KeepCase {
    const char* name;
    const char* text;
};

const KeepCase kKeepCases[] = {
    {"CrLf", "first\r\nsecond\r\nthird"},
    {"LfOnly", "first\nsecond"},
    {"MixedBreaks", "a\r\nb\nc\rd"},
    {"NoBreakSpaceAndTrailingBreak",
     "a\xc2\xa0"
     "b\r\n"},
    {"EmptyLines", "\r\n\r\nx"},
};

class TextEditorKeeps : public TextEditor, public ::testing::WithParamInterface<KeepCase> {};

TEST_P(TextEditorKeeps, ATextOpenedAndCommittedIsStoredAsItWas)
{
    const QString text = QString::fromUtf8(GetParam().text);
    openOn(2, 2, text);
    EXPECT_EQ(editor()->text(), text);
    key(Qt::Key_Return);
    EXPECT_FALSE(editorOpen());
    EXPECT_EQ(grid->GetCellEx(2, 2), text);

    // Leaving the editor by a click elsewhere keeps it as well.
    openOn(2, 3, text);
    test::focusNewFieldBeside(*window);
    EXPECT_FALSE(editorOpen());
    EXPECT_EQ(grid->GetCellEx(2, 3), text);
}

INSTANTIATE_TEST_SUITE_P(Cases, TextEditorKeeps, ::testing::ValuesIn(kKeepCases), CaseName());

TEST_F(TextEditor, ALineTypedIntoATextOfCrLfLinesIsStoredWithCrLf)
{
    openOn(2, 2, QStringLiteral("one\r\ntwo"));
    key(Qt::Key_Return, Qt::ControlModifier);
    QTest::keyClicks(editor(), QStringLiteral("three"));
    key(Qt::Key_Return);
    EXPECT_EQ(grid->GetCellEx(2, 2), QStringLiteral("one\r\ntwo\r\nthree"));
}

// ----- Up and Down -----

struct ArrowCase {
    const char* name;
    const char* text;
    int caret;  // index into the text
    bool down;
    int rowAfter;    // the grid's row after the key (the edit starts on row 3)
    int caretAfter;  // -1: the editor closed
};

const ArrowCase kArrowCases[] = {
    // "ab\r\ncd\r\nef": lines start at 0, 4 and 8.
    {"UpFromTheLastLineStaysInTheCell", "ab\r\ncd\r\nef", 9, false, 3, 5},
    {"UpFromTheFirstLineLeavesTheCell", "ab\r\ncd\r\nef", 1, false, 2, -1},
    {"DownFromTheFirstLineStaysInTheCell", "ab\r\ncd\r\nef", 1, true, 3, 5},
    {"DownFromTheLastLineLeavesTheCell", "ab\r\ncd\r\nef", 9, true, 4, -1},
    {"OneLineLeavesEitherWay", "abc", 1, true, 4, -1},
};

class TextEditorArrows : public TextEditor, public ::testing::WithParamInterface<ArrowCase> {};

TEST_P(TextEditorArrows, MoveTheCaretBetweenLinesBeforeTheCell)
{
    const ArrowCase& c = GetParam();
    const QString text = QString::fromUtf8(c.text);
    openOn(2, 3, text);
    editor()->setCursorPosition(c.caret);
    key(c.down ? Qt::Key_Down : Qt::Key_Up);
    EXPECT_EQ(grid->Row(), c.rowAfter);
    if (c.caretAfter >= 0) {
        ASSERT_TRUE(editorOpen());
        EXPECT_EQ(editor()->cursorPosition(), c.caretAfter);
    } else {
        EXPECT_FALSE(editor()->hasFocus());
    }
    EXPECT_EQ(grid->GetCellEx(2, 3), text);
}

INSTANTIATE_TEST_SUITE_P(Cases, TextEditorArrows, ::testing::ValuesIn(kArrowCases), CaseName());

TEST_F(TextEditor, UpLeavingTheCellValidatesAndARefusalKeepsTheEditor)
{
    int validations = 0;
    grid->OnCellValidate = [&](QObject*, int, int, QString& value, bool& valid) {
        ++validations;
        valid = !value.contains(QStringLiteral("bad"));
    };
    openOn(2, 3, QStringLiteral("ok\r\nline"));
    editor()->setCursorPosition(1);
    QTest::keyClicks(editor(), QStringLiteral("bad"));
    key(Qt::Key_Up);
    EXPECT_EQ(validations, 1);
    EXPECT_EQ(grid->Row(), 3);
    EXPECT_TRUE(editorOpen());
    EXPECT_EQ(editor()->text(), QStringLiteral("obadk\r\nline"));
}

// ----- typing line breaks -----

struct BreakCase {
    const char* name;
    bool allowCtrlEnter;
    bool wordWrap;
    bool multiline;
    bool lineFeedOnEnter;
    TEditorType kind;
    Qt::KeyboardModifiers mods;  // with Enter
    const char* stored;          // the cell after the key and the commit
};

const BreakCase kBreakCases[] = {
    {"CtrlEnterTypesABreakUnderWordWrap", true, true, false, false, TEditorType::edNormal,
     Qt::ControlModifier, "ab\r\n"},
    {"CtrlEnterTypesABreakInMultilineCells", true, false, true, false, TEditorType::edNormal,
     Qt::ControlModifier, "ab\r\n"},
    {"CtrlEnterIsDroppedInOneLineCells", true, false, false, false, TEditorType::edNormal,
     Qt::ControlModifier, "ab"},
    {"CtrlEnterIsDroppedWithoutAllowCtrlEnter", false, true, true, false, TEditorType::edNormal,
     Qt::ControlModifier, "ab"},
    {"CtrlEnterBeepsInANumberCell", true, true, false, false, TEditorType::edNumeric,
     Qt::ControlModifier, "ab"},
    {"EnterTypesABreakWithLineFeedOnEnter", true, true, false, true, TEditorType::edNormal,
     Qt::NoModifier, "ab\r\n"},
    {"EnterCommitsANumberCellWithLineFeedOnEnter", true, true, false, true, TEditorType::edNumeric,
     Qt::NoModifier, "ab"},
    {"EnterCommitsWithoutLineFeedOnEnter", true, true, false, false, TEditorType::edNormal,
     Qt::NoModifier, "ab"},
};

class TextEditorBreaks : public TextEditor, public ::testing::WithParamInterface<BreakCase> {};

TEST_P(TextEditorBreaks, EnterAndCtrlEnter)
{
    const BreakCase& c = GetParam();
    grid->Navigation.AllowCtrlEnter = c.allowCtrlEnter;
    grid->Navigation.LineFeedOnEnter = c.lineFeedOnEnter;
    grid->SetWordWrap(c.wordWrap);
    grid->Multilinecells = c.multiline;
    grid->DefaultEditor = c.kind;
    openOn(2, 2, QStringLiteral("ab"));
    key(Qt::Key_Return, c.mods);
    if (editorOpen())
        grid->HideInplaceEdit();
    EXPECT_EQ(grid->GetCellEx(2, 2), QString::fromUtf8(c.stored));
}

INSTANTIATE_TEST_SUITE_P(Cases, TextEditorBreaks, ::testing::ValuesIn(kBreakCases), CaseName());

TEST_F(TextEditor, HomeAndEndGoToTheEndsOfTheWholeText)
{
    openOn(2, 2, QStringLiteral("ab\r\ncd\r\nef"));
    editor()->setCursorPosition(5);
    key(Qt::Key_Home);
    EXPECT_EQ(editor()->cursorPosition(), 0);
    editor()->setCursorPosition(5);
    key(Qt::Key_End);
    EXPECT_EQ(editor()->cursorPosition(), 10);
    EXPECT_TRUE(editorOpen());
}

TEST_F(TextEditor, TheEditorWrapsWithTheGrid)
{
    openOn(2, 2, QStringLiteral("a text far wider than its cell"));
    EXPECT_TRUE(editor()->WordWrap());
    EXPECT_GT(editor()->lineCount(), 1);
    grid->SetWordWrap(false);
    EXPECT_FALSE(editor()->WordWrap());
    QApplication::processEvents();
    EXPECT_EQ(editor()->lineCount(), 1);
}

// ----- growing while typing -----

TEST_F(TextEditor, TheColumnGrowsWithTheTypedTextAndNeverShrinks)
{
    grid->SizeWhileTyping.Width = true;
    grid->SetWordWrap(false);
    openOn(2, 2, QString());
    QTest::keyClicks(editor(), QStringLiteral("a rather long text for one cell"));
    const int grown = grid->ColWidths(2);
    EXPECT_GT(grown, 60);
    for (int i = 0; i < 20; ++i)
        key(Qt::Key_Backspace);
    EXPECT_EQ(grid->ColWidths(2), grown);
}

TEST_F(TextEditor, TheRowGrowsWithTheLinesTypedAndReportsIt)
{
    grid->SizeWhileTyping.Height = true;
    grid->ColumnSize.SynchWithGrid = true;
    std::vector<int> ends;
    bool synchDuringSizing = true;
    grid->OnEndRowSize = [&](QObject*, int row) {
        ends.push_back(row);
        synchDuringSizing = synchDuringSizing && grid->ColumnSize.SynchWithGrid;
    };
    openOn(2, 2, QStringLiteral("one"));
    const int before = grid->RowHeights(2);
    key(Qt::Key_Return, Qt::ControlModifier);
    QTest::keyClicks(editor(), QStringLiteral("two"));
    key(Qt::Key_Return, Qt::ControlModifier);
    QTest::keyClicks(editor(), QStringLiteral("three"));
    EXPECT_GT(grid->RowHeights(2), before);
    ASSERT_FALSE(ends.empty());
    EXPECT_EQ(ends.back(), 2);
    // The flag is back after the sizing.
    EXPECT_TRUE(grid->ColumnSize.SynchWithGrid);
    EXPECT_EQ(grid->GetCellEx(2, 2), QStringLiteral("one\r\ntwo\r\nthree"));
}

TEST_F(TextEditor, CtrlEnterSizesTheRowForTheNewLineInMultilineCells)
{
    grid->SizeWhileTyping.Height = true;
    grid->Multilinecells = true;
    int ends = 0;
    grid->OnEndRowSize = [&](QObject*, int) { ++ends; };
    openOn(2, 2, QStringLiteral("one\r\ntwo"));
    const int before = grid->RowHeights(2);
    key(Qt::Key_Return, Qt::ControlModifier);
    EXPECT_GT(grid->RowHeights(2), before);
    EXPECT_GE(ends, 1);
}

// ----- copy and cut -----

struct ClipCase {
    const char* name;
    bool cut;
    bool allow;
    const char* clipboardAfter;
    const char* textAfter;
};

const ClipCase kClipCases[] = {
    {"CopyAllowedTakesTheStoredBreaks", false, true, "b\r\nc", "ab\r\ncd"},
    {"CopyVetoedLeavesTheClipboard", false, false, "before", "ab\r\ncd"},
    {"CutAllowed", true, true, "b\r\nc", "ad"},
    {"CutVetoedKeepsTheText", true, false, "before", "ab\r\ncd"},
};

class TextEditorClipboard : public TextEditor, public ::testing::WithParamInterface<ClipCase> {};

TEST_P(TextEditorClipboard, TheEventDecides)
{
    const ClipCase& c = GetParam();
    clipboard.setText(QStringLiteral("before"));
    int events = 0;
    auto handler = [&](QObject* sender, bool& allow) {
        ++events;
        EXPECT_EQ(sender, editor());
        allow = c.allow;
    };
    (c.cut ? grid->OnClipboardCut : grid->OnClipboardCopy) = handler;
    openOn(2, 2, QStringLiteral("ab\r\ncd"));
    editor()->setSelection(1, 4);
    key(c.cut ? Qt::Key_X : Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(events, 1);
    EXPECT_EQ(clipboard.text(), QString::fromUtf8(c.clipboardAfter));
    EXPECT_EQ(editor()->text(), QString::fromUtf8(c.textAfter));
}

INSTANTIATE_TEST_SUITE_P(Cases, TextEditorClipboard, ::testing::ValuesIn(kClipCases), CaseName());

TEST_F(TextEditor, APastedTextKeepsItsInnerLineBreaks)
{
    clipboard.setText(QStringLiteral("x\r\ny\r\n"));
    openOn(2, 2, QStringLiteral("ab"));
    editor()->setCursorPosition(1);
    key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(editor()->text(), QStringLiteral("ax\r\ny\r\nb"));
    EXPECT_EQ(editor()->cursorPosition(), 7);
}

// The editor reaches the system's clipboard only through the grid's: with another one set,
// the system's is neither read nor written, by the keys, the context menu's actions or the
// middle button's paste of the selection.
TEST_F(TextEditor, EveryClipboardUseGoesThroughTheGridsClipboard)
{
    QGuiApplication::clipboard()->setText(QStringLiteral("system"));
    clipboard.hasSelection = true;
    clipboard.selection = QStringLiteral("S");
    clipboard.setText(QStringLiteral("P"));
    openOn(2, 2, QStringLiteral("ab"));
    editor()->setCursorPosition(1);
    key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(editor()->text(), QStringLiteral("aPb"));
    key(Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(editor()->text(), QStringLiteral("aPPb"));
    QTest::mouseClick(editor()->viewport(), Qt::MiddleButton);
    EXPECT_TRUE(editor()->text().contains(u'S')) << editor()->text().toStdString();

    editor()->setSelection(0, 2);
    key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboard.text(), QStringLiteral("aP"));
    editor()->setSelection(0, 1);
    key(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(clipboard.text(), QStringLiteral("a"));
    EXPECT_EQ(clipboard.writes, 3);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("system"));
}

// ----- password, valid characters, Alt+Backspace -----

TEST_F(TextEditor, APasswordIsShownMaskedAndStoredAsTyped)
{
    grid->DefaultEditor = TEditorType::edPassword;
    grid->PasswordChar = u'#';
    clipboard.setText(QStringLiteral("before"));
    openOn(2, 2, QStringLiteral("se"));
    QTest::keyClicks(editor(), QStringLiteral("cret"));
    key(Qt::Key_Left);
    key(Qt::Key_Backspace);
    EXPECT_EQ(editor()->text(), QStringLiteral("secrt"));
    EXPECT_EQ(editor()->document()->toRawText(), QStringLiteral("#####"));
    // Nothing of it reaches the clipboard.
    editor()->selectAll();
    key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboard.text(), QStringLiteral("before"));
    key(Qt::Key_Return);
    EXPECT_EQ(grid->GetCellEx(2, 2), QStringLiteral("secrt"));
}

TEST_F(TextEditor, ValidCharSetServesWhenValidCharsIsEmpty)
{
    grid->DefaultEditor = TEditorType::edValidChars;
    for (char ch : {'a', 'b', '1'})
        grid->ValidCharSet.set(std::size_t(ch));
    openOn(2, 2, QString());
    QTest::keyClicks(editor(), QStringLiteral("axb2y1"));
    EXPECT_EQ(editor()->text(), QStringLiteral("ab1"));
    grid->ValidChars = QStringLiteral("xy");
    QTest::keyClicks(editor(), QStringLiteral("axy"));
    EXPECT_EQ(editor()->text(), QStringLiteral("ab1xy"));
}

TEST_F(TextEditor, AFocusLossWhileAltBackspaceIsHeldEndsNoEdit)
{
    int done = 0;
    grid->OnEditingDone = [&](QObject*) { ++done; };
    openOn(2, 2, QStringLiteral("abc"));
    QTest::keyPress(editor(), Qt::Key_Backspace, Qt::AltModifier);
    QLineEdit* other = test::focusNewFieldBeside(*window);
    EXPECT_EQ(done, 0);
    EXPECT_TRUE(grid->EditMode);

    QTest::keyRelease(editor(), Qt::Key_Backspace, Qt::AltModifier);
    editor()->setFocus(Qt::OtherFocusReason);
    other->setFocus(Qt::OtherFocusReason);
    QApplication::processEvents();
    EXPECT_EQ(done, 1);
    EXPECT_FALSE(editorOpen());
}

TEST_F(TextEditor, EachLoadOfACellAsksTheFormForTheEditorsProperties)
{
    std::vector<std::pair<int, int>> asked;
    grid->OnGetEditorProp = [&](QObject* sender, int c, int r, QObject* link) {
        EXPECT_EQ(sender, grid);
        EXPECT_EQ(link, nullptr);
        // The editor holds the cell's text already.
        EXPECT_EQ(editor()->text(), grid->GetCellEx(c, r));
        asked.push_back({c, r});
    };
    openOn(2, 2, QStringLiteral("a"));
    key(Qt::Key_Return);
    openOn(3, 4, QStringLiteral("b"));
    EXPECT_EQ(asked, (std::vector<std::pair<int, int>>{{2, 2}, {3, 4}}));
}

TEST_F(TextEditor, ControlKeysTypeNoControlCharactersAndCtrlZUndoes)
{
    openOn(2, 2, QStringLiteral("ab"));
    QTest::keyClicks(editor(), QStringLiteral("cd"));
    for (Qt::Key k : {Qt::Key_B, Qt::Key_E, Qt::Key_Q, Qt::Key_W})
        key(k, Qt::ControlModifier);
    EXPECT_EQ(editor()->text(), QStringLiteral("abcd"));
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_NE(editor()->text(), QStringLiteral("abcd"));
    EXPECT_TRUE(QStringLiteral("abcd").startsWith(editor()->text()));
    key(Qt::Key_Return);
    EXPECT_TRUE(QStringLiteral("abcd").startsWith(grid->GetCellEx(2, 2)));
}

TEST_F(TextEditor, ADoubleClickInTheEditorReportsTheCell)
{
    std::vector<std::pair<int, int>> clicks;  // (row, col) as the event gives them
    grid->OnDblClickCell = [&](QObject* sender, int r, int c) {
        EXPECT_EQ(sender, grid);
        clicks.push_back({r, c});
    };
    openOn(3, 2, QStringLiteral("two words"));
    QTest::mouseDClick(editor()->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(clicks, (std::vector<std::pair<int, int>>{{2, 3}}));
    EXPECT_TRUE(editorOpen());
}

// ----- the keypad's decimal key -----

struct KeypadCase {
    const char* name;
    bool excelStyle;
    TEditorType kind;
    const char* after;  // the text after typing 1, the keypad's decimal key, 5
};

// The editor's locale writes a decimal comma and groups with a period.
const KeypadCase kKeypadCases[] = {
    {"BecomesTheLocaleSeparator", true, TEditorType::edFloat, "1,5"},
    {"StaysAPeriodThatAFloatCellDrops", false, TEditorType::edFloat, "15"},
    {"StaysAPeriodInATextCell", false, TEditorType::edNormal, "1.5"},
    {"BecomesTheSeparatorInATextCell", true, TEditorType::edNormal, "1,5"},
};

class TextEditorKeypad : public TextEditor, public ::testing::WithParamInterface<KeypadCase> {};

TEST_P(TextEditorKeypad, DecimalKey)
{
    const KeypadCase& c = GetParam();
    grid->ExcelStyleDecimalSeparator = c.excelStyle;
    grid->DefaultEditor = c.kind;
    openOn(2, 2, QString());
    editor()->setLocale(QLocale(QLocale::German, QLocale::Germany));
    QTest::keyClick(editor(), Qt::Key_1);
    QTest::keyClick(editor(), Qt::Key_Period, Qt::KeypadModifier);
    QTest::keyClick(editor(), Qt::Key_5);
    EXPECT_EQ(editor()->text(), QString::fromUtf8(c.after));
}

INSTANTIATE_TEST_SUITE_P(Cases, TextEditorKeypad, ::testing::ValuesIn(kKeypadCases), CaseName());

// ----- the cursor walk at the edges -----

struct EdgeWalkCase {
    const char* name;
    int col;
    bool right;
    bool checkBoxNeighbour;
    bool refuse;
    int colAfter;
    int rowAfter;
};

const EdgeWalkCase kEdgeWalkCases[] = {
    {"RightFromTheLastColumnGoesOnToTheNextRow", 4, true, false, false, 1, 3},
    {"LeftFromTheFirstColumnGoesBackToTheRowAbove", 1, false, false, false, 4, 1},
    {"IntoACheckBoxCellPastAMergedCell", 1, true, true, false, 3, 2},
    {"IntoACheckBoxCell", 2, true, true, false, 3, 2},
    {"IntoACheckBoxCellRefused", 2, true, true, true, 2, 2},
};

class TextEditorEdgeWalk : public TextEditor, public ::testing::WithParamInterface<EdgeWalkCase> {};

TEST_P(TextEditorEdgeWalk, StepsWhereTheWalkLeads)
{
    const EdgeWalkCase& c = GetParam();
    grid->Navigation.CursorWalkEditor = true;
    if (std::string(c.name) == "IntoACheckBoxCellPastAMergedCell")
        grid->MergeCells(1, 2, 2, 1);
    if (c.checkBoxNeighbour)
        grid->AddCheckBox(3, 2, false, false);
    grid->OnCellValidate = [&](QObject*, int, int, QString&, bool& valid) { valid = !c.refuse; };
    openOn(c.col, 2, QStringLiteral("x"));
    QTest::keyClicks(editor(), QStringLiteral("y"));
    if (!c.right)
        key(Qt::Key_Home);
    key(c.right ? Qt::Key_Right : Qt::Key_Left);
    EXPECT_EQ(grid->Col(), c.colAfter);
    EXPECT_EQ(grid->Row(), c.rowAfter);
}

INSTANTIATE_TEST_SUITE_P(Cases, TextEditorEdgeWalk, ::testing::ValuesIn(kEdgeWalkCases),
                         CaseName());

// ----- packed wide text -----

TEST_F(TextEditor, APackedWideCellIsEditedAsItsCharactersAndValidatedAsWideText)
{
    std::vector<QString> narrow;
    std::vector<QString> wide;
    grid->OnCellValidate = [&](QObject*, int, int, QString& v, bool&) { narrow.push_back(v); };
    grid->OnCellValidateWide = [&](QObject*, int, int, QString& v, bool& valid) {
        wide.push_back(v);
        valid = v != QStringLiteral("bad");
    };
    const QString packed = PackWideText(QStringLiteral("\u03a9mega"));
    openOn(2, 2, packed);
    EXPECT_EQ(editor()->text(), QStringLiteral("\u03a9mega"));
    // Unchanged: nothing to validate, and the cell keeps its packed form.
    key(Qt::Key_Return);
    EXPECT_EQ(grid->GetCellEx(2, 2), packed);
    EXPECT_FALSE(grid->Modified);
    EXPECT_TRUE(wide.empty());

    // A refused value puts the packed text back; an accepted one is stored.
    openOn(2, 2, packed);
    editor()->selectAll();
    QTest::keyClicks(editor(), QStringLiteral("bad"));
    key(Qt::Key_Return);
    EXPECT_TRUE(editorOpen());
    EXPECT_EQ(grid->GetCellEx(2, 2), packed);
    key(Qt::Key_Escape);
    EXPECT_EQ(grid->GetCellEx(2, 2), packed);
    openOn(2, 2, packed);
    editor()->selectAll();
    QTest::keyClicks(editor(), QStringLiteral("good"));
    key(Qt::Key_Return);
    EXPECT_EQ(grid->GetWideCells(2, 2), QStringLiteral("good"));
    EXPECT_TRUE(grid->Modified);
    EXPECT_EQ(wide, (std::vector<QString>{QStringLiteral("bad"), QStringLiteral("good")}));
    EXPECT_TRUE(narrow.empty());
}

}  // namespace
}  // namespace zfw
