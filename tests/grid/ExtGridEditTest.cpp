// The string grid's edit cycle driven as a user would: which cells may be edited, goEditing
// following the current cell, typing, Enter, Esc, Tab, the length limit, paste, validation
// and the end-of-edit events, and the editor inside a dialog.
//
// Fixture: a string grid of 6 real columns (real column 1 hidden, so display column d shows
// real column d + 1 from d = 1 on) and 6 rows, one fixed row and column, in a shown window.
// goEditing is NOT set at design time: the cell selection switches it. Real cell (4, 3) is
// read-only.

#include "grid/ExtGrid.h"
#include "grid/InplaceEdit.h"

#include "support/CaseName.h"

#include "GridWindowTestSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolTip>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace zfw {
namespace {

using test::CaseName;

void buildEditGrid(TExtStringGrid& g)
{
    test::shapeSmallGrid(g, 6, 6, {360, 132});
    for (int c = 0; c < 6; ++c)
        for (int r = 1; r < 6; ++r)
            g.SetCellEx(c, r, QStringLiteral("c%1r%2").arg(c).arg(r));
    g.HideColumn(1);
    g.SetReadOnly(4, 3, true);
    // Without goEditing at design time a cell is editable only when the form says so, as
    // the rule grids' columns do: here every cell that is not read-only.
    TExtStringGrid* gp = &g;
    g.OnCanEditCell = [gp](QObject*, int r, int c, bool& can) {
        if (!gp->GetReadOnly(c, r))
            can = true;
    };
}

// Each character goes where the focus is: the grid for the first, then the editor it opened.
void typeInto(TExtStringGrid& g, const QString& s)
{
    for (QChar ch : s) {
        QWidget* w = g.EditorMode() && g.NormalEdit() && g.NormalEdit()->isVisible()
                         ? static_cast<QWidget*>(g.NormalEdit())
                         : &g;
        QTest::keyClicks(w, QString(ch));
    }
}

class EditGrid : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = std::make_unique<QWidget>();
        grid = test::placeGrid<TExtStringGrid>(*window);
        buildEditGrid(*grid);
        ASSERT_TRUE(test::showActive(*window, *grid));
        QApplication::processEvents();
    }

    // Real column of display column d.
    int real(int d) const { return grid->RealColIndex(d); }
    void goTo(int dcol, int row) { grid->MoveCurrentCell(dcol, row, true, true); }
    TExtInplaceEdit* editor() const { return grid->NormalEdit(); }
    bool editorOpen() const { return editor() && editor()->isVisible() && grid->EditorMode(); }
    void type(const QString& s) { typeInto(*grid, s); }
    void keyInEditor(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier)
    {
        ASSERT_TRUE(editorOpen());
        QTest::keyClick(editor(), k, m);
    }

    std::unique_ptr<QWidget> window;
    TExtStringGrid* grid = nullptr;
};

// ----- which cells may be edited -----

struct EditabilityCase {
    const char* name;
    bool cellReadOnly;
    bool fixedRow;
    int event;  // -1: no OnCanEditCell, 0: answers false, 1: leaves the answer
    bool editable;
};

class EditGridEditability : public EditGrid,
                            public ::testing::WithParamInterface<EditabilityCase> {};

TEST_P(EditGridEditability, CellFixedRowAndEventDecide)
{
    const EditabilityCase& c = GetParam();
    grid->SetOptions(grid->Options() | goEditing);
    // Display column 2 shows real column 3: every answer is asked by real column.
    const int row = c.fixedRow ? 0 : 2;
    grid->SetReadOnly(3, row, c.cellReadOnly);
    std::vector<int> askedCols;
    if (c.event < 0)
        grid->OnCanEditCell = nullptr;
    else
        grid->OnCanEditCell = [&](QObject*, int, int col, bool& can) {
            askedCols.push_back(col);
            if (c.event == 0)
                can = false;
        };
    EXPECT_EQ(grid->IsEditable(3, row), c.editable);
    EXPECT_EQ(grid->IsCellEditable(3, row), c.editable);
    for (int col : askedCols) {
        EXPECT_EQ(col, 3);
    }
}

const EditabilityCase kEditabilityCases[] = {
    {"PlainCell", false, false, -1, true},
    {"ReadOnlyCell", true, false, -1, false},
    {"FixedRow", false, true, -1, false},
    {"EventRefuses", false, false, 0, false},
    {"EventAgrees", false, false, 1, true},
    {"ReadOnlyCellEventAgrees", true, false, 1, false},
    {"FixedRowEventAgrees", false, true, 1, false},
};
INSTANTIATE_TEST_SUITE_P(Cases, EditGridEditability, ::testing::ValuesIn(kEditabilityCases),
                         CaseName());

TEST_F(EditGrid, GoEditingFollowsTheCurrentCellAndTheEditorClosesOnAReadOnlyCell)
{
    ASSERT_FALSE(grid->Options().testFlag(goEditing));
    goTo(2, 3);
    EXPECT_TRUE(grid->Options().testFlag(goEditing));
    type(QStringLiteral("x"));
    ASSERT_TRUE(editorOpen());
    // Display column 3 is real column 4, whose row 3 is read-only.
    goTo(3, 3);
    EXPECT_EQ(grid->Col(), 3);
    EXPECT_FALSE(editorOpen());
    EXPECT_FALSE(grid->EditMode);
    EXPECT_FALSE(grid->Options().testFlag(goEditing));
    EXPECT_FALSE(grid->IsEditable(real(3), 3));
    EXPECT_EQ(grid->GetCellEx(real(2), 3), QStringLiteral("x"));
    // Typing on the read-only cell opens nothing; the next editable cell switches it on again.
    type(QStringLiteral("y"));
    EXPECT_FALSE(editorOpen());
    EXPECT_EQ(grid->GetCellEx(real(3), 3), QStringLiteral("c4r3"));
    goTo(4, 3);
    EXPECT_TRUE(grid->Options().testFlag(goEditing));
    EXPECT_TRUE(grid->IsEditable(real(4), 3));
}

// ----- typing, Enter, Esc -----

TEST_F(EditGrid, TypingOpensTheEditorWithTheCharacterAndEnterReportsTheRealColumnLater)
{
    goTo(2, 2);
    std::vector<std::string> events;
    grid->OnEditingDone = [&](QObject*) { events.push_back("done"); };
    grid->OnEditCellDone = [&](QObject*, int c, int r) {
        events.push_back("cell " + std::to_string(c) + "," + std::to_string(r));
    };
    type(QStringLiteral("a"));
    ASSERT_TRUE(editorOpen());
    EXPECT_EQ(editor()->text(), QStringLiteral("a"));
    EXPECT_TRUE(editor()->hasFocus());
    type(QStringLiteral("bc"));
    keyInEditor(Qt::Key_Return);
    EXPECT_FALSE(editorOpen());
    EXPECT_EQ(grid->GetCellEx(real(2), 2), QStringLiteral("abc"));
    // The queued report has not arrived while the key was handled.
    EXPECT_EQ(events, std::vector<std::string>{"done"});
    QApplication::processEvents();
    EXPECT_EQ(events, (std::vector<std::string>{"done", "cell 3,2"}));
    EXPECT_TRUE(grid->hasFocus());
}

TEST_F(EditGrid, EscPutsBackTheTextTheCellHadWhenEditingBegan)
{
    goTo(2, 2);
    QTest::keyClick(grid, Qt::Key_F2);
    ASSERT_TRUE(editorOpen());
    type(QStringLiteral("zzz"));
    EXPECT_EQ(grid->GetCellEx(real(2), 2), QStringLiteral("zzz"));
    keyInEditor(Qt::Key_Escape);
    EXPECT_FALSE(editorOpen());
    EXPECT_EQ(grid->GetCellEx(real(2), 2), QStringLiteral("c3r2"));
}

TEST_F(EditGrid, OnEditChangeReportsTypingButNotTheLoadingOfTheCell)
{
    std::vector<QString> changes;
    grid->OnEditChange = [&](QObject*, int, int, const QString& v) { changes.push_back(v); };
    goTo(2, 2);
    QTest::keyClick(grid, Qt::Key_F2);
    ASSERT_TRUE(editorOpen());
    EXPECT_TRUE(changes.empty());
    type(QStringLiteral("q"));
    EXPECT_EQ(changes, std::vector<QString>{QStringLiteral("q")});
}

TEST_F(EditGrid, ArrowDownCommitsAndMovesTheEditOn)
{
    goTo(2, 2);
    type(QStringLiteral("v"));
    keyInEditor(Qt::Key_Down);
    EXPECT_EQ(grid->Row(), 3);
    EXPECT_FALSE(editorOpen());
    EXPECT_EQ(grid->GetCellEx(real(2), 2), QStringLiteral("v"));
    // The next edit compares with and writes to its own cell.
    int validatedCol = -1, validatedRow = -1;
    grid->OnCellValidate = [&](QObject*, int c, int r, QString&, bool&) {
        validatedCol = c;
        validatedRow = r;
    };
    type(QStringLiteral("w"));
    keyInEditor(Qt::Key_Return);
    EXPECT_EQ(validatedCol, real(2));
    EXPECT_EQ(validatedRow, 3);
    EXPECT_EQ(grid->GetCellEx(real(2), 3), QStringLiteral("w"));
    EXPECT_EQ(grid->GetCellEx(real(2), 2), QStringLiteral("v"));
}

TEST_F(EditGrid, AClickOnTheCurrentCellOpensTheEditorWithTheCaretUnderTheMouse)
{
    goTo(2, 2);
    const TRect r = grid->CellRect(2, 2);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, QPoint(r.Left + 5, r.Top + 8));
    ASSERT_TRUE(editorOpen());
    EXPECT_FALSE(editor()->hasSelectedText());
    EXPECT_LE(editor()->cursorPosition(), 1);
    EXPECT_FALSE(grid->LButFlg);
}

// ----- the length limit -----

class EditGridLimit : public EditGrid {
protected:
    void SetUp() override
    {
        EditGrid::SetUp();
        grid->MaxEditLength = 15;
    }
};

TEST_F(EditGridLimit, TheSixteenthTypedCharacterIsDropped)
{
    goTo(2, 2);
    type(QStringLiteral("abcdefghijklmnop"));
    ASSERT_TRUE(editorOpen());
    EXPECT_EQ(editor()->text(), QStringLiteral("abcdefghijklmno"));
    keyInEditor(Qt::Key_Return);
    EXPECT_EQ(grid->GetCellEx(real(2), 2), QStringLiteral("abcdefghijklmno"));
}

TEST_F(EditGridLimit, AStoredLongerTextSurvivesOpeningAndCommitting)
{
    const QString twenty = QStringLiteral("12345678901234567890");
    grid->SetCellEx(real(2), 2, twenty);
    goTo(2, 2);
    QTest::keyClick(grid, Qt::Key_F2);
    ASSERT_TRUE(editorOpen());
    EXPECT_EQ(editor()->text(), twenty);
    keyInEditor(Qt::Key_End);
    keyInEditor(Qt::Key_X);
    EXPECT_EQ(editor()->text(), twenty);
    keyInEditor(Qt::Key_Return);
    EXPECT_EQ(grid->GetCellEx(real(2), 2), twenty);
}

struct PasteCase {
    const char* name;
    const char* cell;
    const char* pasted;
    bool selectAll;
    const char* expected;
    int cursor;  // -1: the pasted text stays selected
};

class EditGridPaste : public EditGridLimit, public ::testing::WithParamInterface<PasteCase> {};

TEST_P(EditGridPaste, LimitAndTrailingLineBreak)
{
    const PasteCase& c = GetParam();
    grid->SetCellEx(real(2), 2, QString::fromUtf8(c.cell));
    goTo(2, 2);
    QTest::keyClick(grid, Qt::Key_F2);
    ASSERT_TRUE(editorOpen());
    if (!c.selectAll)
        editor()->end(false);
    QGuiApplication::clipboard()->setText(QString::fromUtf8(c.pasted));
    keyInEditor(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(editor()->text(), QString::fromUtf8(c.expected));
    EXPECT_EQ(grid->GetCellEx(real(2), 2), QString::fromUtf8(c.expected));
    if (c.cursor >= 0) {
        EXPECT_EQ(editor()->cursorPosition(), c.cursor);
    }
}

const PasteCase kPasteCases[] = {
    {"SixteenCharactersRefused", "", "abcdefghijklmnop", true, "", 0},
    {"WouldGrowBeyondTheLimit", "1234567890", "abcdef", false, "1234567890", 10},
    {"FitsExactly", "1234567890", "abcde", false, "1234567890abcde", 15},
    {"TrailingLineBreakDropped", "ab", "cd\r\n", false, "abcd", 4},
    {"InnerLineBreaksKept", "", "a\r\nb\r\n", true, "a\r\nb\r\n", -1},
};
INSTANTIATE_TEST_SUITE_P(Cases, EditGridPaste, ::testing::ValuesIn(kPasteCases), CaseName());

// ----- validation -----

struct ValidateCase {
    const char* name;
    const char* typed;
    const char* corrected;  // nullptr: the handler leaves the value
    bool valid;
    bool alwaysValidate;
    bool fires;
    const char* cellAfter;
    bool editorOpenAfter;
    bool cellsChanged;
};

class EditGridValidate : public EditGrid, public ::testing::WithParamInterface<ValidateCase> {};

TEST_P(EditGridValidate, AcceptCorrectOrRefuse)
{
    const ValidateCase& c = GetParam();
    grid->AlwaysValidate = c.alwaysValidate;
    int fired = 0;
    int changedEvents = 0;
    grid->OnCellValidate = [&](QObject*, int, int, QString& v, bool& valid) {
        ++fired;
        if (c.corrected)
            v = QString::fromUtf8(c.corrected);
        valid = c.valid;
    };
    grid->OnCellsChanged = [&](QObject*, const TCellRange&) { ++changedEvents; };
    goTo(2, 2);
    QTest::keyClick(grid, Qt::Key_F2);
    ASSERT_TRUE(editorOpen());
    if (*c.typed) {
        editor()->selectAll();
        type(QString::fromUtf8(c.typed));
    }
    keyInEditor(Qt::Key_Return);
    EXPECT_EQ(fired, c.fires ? 1 : 0);
    EXPECT_EQ(grid->GetCellEx(real(2), 2), QString::fromUtf8(c.cellAfter));
    EXPECT_EQ(editorOpen(), c.editorOpenAfter);
    EXPECT_EQ(changedEvents > 0, c.cellsChanged);
    EXPECT_EQ(grid->Modified, c.cellsChanged);
    EXPECT_EQ(grid->GetRowModified(2), c.cellsChanged);
    EXPECT_EQ(grid->Col(), 2);
    EXPECT_EQ(grid->Row(), 2);
}

const ValidateCase kValidateCases[] = {
    {"UnchangedNotValidated", "", nullptr, true, false, false, "c3r2", false, false},
    {"UnchangedAlwaysValidatedWithoutChangeReport", "", nullptr, true, true, true, "c3r2", false,
     false},
    {"Accepted", "new", nullptr, true, false, true, "new", false, true},
    {"AcceptedAsCorrected", "new", "NEW", true, false, true, "NEW", false, true},
    {"RefusedKeepsTheOldText", "bad", nullptr, false, false, true, "c3r2", true, false},
    {"RefusedShowsTheCorrection", "bad", "fixme", false, false, true, "fixme", true, false},
    {"CaseChangeCounts", "C3R2", nullptr, true, false, true, "C3R2", false, true},
};
INSTANTIATE_TEST_SUITE_P(Cases, EditGridValidate, ::testing::ValuesIn(kValidateCases), CaseName());

TEST_F(EditGrid, ARefusedValueRefusesTheMoveAndTheEditStaysOnItsCell)
{
    grid->OnCellValidate = [](QObject*, int, int, QString&, bool& valid) { valid = false; };
    goTo(2, 2);
    type(QStringLiteral("bad"));
    ASSERT_TRUE(editorOpen());
    // Clicking another cell: the grid takes the focus, then the move is asked for.
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      grid->CellRect(4, 4).toQRect().center());
    EXPECT_EQ(grid->Col(), 2);
    EXPECT_EQ(grid->Row(), 2);
    EXPECT_TRUE(editorOpen());
    EXPECT_EQ(grid->GetCellEx(real(2), 2), QStringLiteral("c3r2"));
    EXPECT_FALSE(grid->GetRowModified(2));
    EXPECT_FALSE(grid->Modified);
}

struct BalloonCase {
    const char* name;
    const char* title;
    const char* text;
    bool shown;
};

class EditGridBalloon : public EditGrid, public ::testing::WithParamInterface<BalloonCase> {};

TEST_P(EditGridBalloon, ARefusalTellsTheUserOnlyWhenThereIsSomethingToSay)
{
    const BalloonCase& c = GetParam();
    QToolTip::hideText();
    grid->InvalidEntryTitle = QString::fromUtf8(c.title);
    grid->InvalidEntryText = QString::fromUtf8(c.text);
    grid->OnCellValidate = [](QObject*, int, int, QString&, bool& valid) { valid = false; };
    goTo(2, 2);
    type(QStringLiteral("bad"));
    keyInEditor(Qt::Key_Return);
    ASSERT_TRUE(editorOpen());
    EXPECT_EQ(QToolTip::isVisible(), c.shown);
    if (c.shown) {
        EXPECT_TRUE(QToolTip::text().contains(QString::fromUtf8(c.text)));
    }
    QToolTip::hideText();
}

const BalloonCase kBalloonCases[] = {
    {"TitleAndText", "Invalid", "Use digits only", true},
    {"TextOnly", "", "Use digits only", true},
    {"Nothing", "", "", false},
};
INSTANTIATE_TEST_SUITE_P(Cases, EditGridBalloon, ::testing::ValuesIn(kBalloonCases), CaseName());

// ----- stepping out of the editor -----

struct WalkCase {
    const char* name;
    Qt::Key caretKey;  // puts the caret before the walking key
    Qt::Key walkKey;
    bool alwaysEdit;
    int colAfter;
    bool editorOpenAfter;
};

class EditGridWalk : public EditGrid, public ::testing::WithParamInterface<WalkCase> {};

TEST_P(EditGridWalk, ArrowAtTheTextEndStepsIntoTheNeighbour)
{
    const WalkCase& c = GetParam();
    grid->Navigation.CursorWalkEditor = true;
    grid->Navigation.CursorWalkAlwaysEdit = c.alwaysEdit;
    goTo(2, 2);
    QTest::keyClick(grid, Qt::Key_F2);
    keyInEditor(c.caretKey);
    type(QStringLiteral("!"));
    keyInEditor(c.caretKey == Qt::Key_Home ? Qt::Key_Home : Qt::Key_End);
    keyInEditor(c.walkKey);
    EXPECT_EQ(grid->Col(), c.colAfter);
    EXPECT_EQ(grid->Row(), 2);
    EXPECT_EQ(editorOpen(), c.editorOpenAfter);
    const QString edited = c.caretKey == Qt::Key_Home ? QStringLiteral("!c3r2")
                                                      : QStringLiteral("c3r2!");
    EXPECT_EQ(grid->GetCellEx(real(2), 2), edited);
}

const WalkCase kWalkCases[] = {
    {"LeftAtTheStart", Qt::Key_Home, Qt::Key_Left, true, 1, true},
    {"RightAtTheEnd", Qt::Key_End, Qt::Key_Right, true, 3, true},
    {"RightAtTheEndWithoutReopening", Qt::Key_End, Qt::Key_Right, false, 3, false},
    {"LeftInsideTheTextMovesTheCaret", Qt::Key_End, Qt::Key_Left, true, 2, true},
};
INSTANTIATE_TEST_SUITE_P(Cases, EditGridWalk, ::testing::ValuesIn(kWalkCases), CaseName());

TEST_F(EditGridLimit, AFullTextActsAsEnterWhenTheGridAdvancesByItself)
{
    grid->MaxEditLength = 3;
    grid->Navigation.SetAdvanceAuto(true);
    goTo(2, 2);
    type(QStringLiteral("abc"));
    EXPECT_EQ(grid->GetCellEx(real(2), 2), QStringLiteral("abc"));
    EXPECT_EQ(grid->Col(), 3);
    EXPECT_EQ(grid->Row(), 2);
    EXPECT_TRUE(editorOpen());
}

// ----- type-ahead completion -----

struct LookupCase {
    const char* name;
    bool caseSensitive;
    const char* typed;
    const char* text;
    const char* selected;
};

class EditGridLookup : public EditGrid, public ::testing::WithParamInterface<LookupCase> {};

TEST_P(EditGridLookup, CompletesFromTheEarlierEntryKeepingTheTypedCase)
{
    const LookupCase& c = GetParam();
    grid->Lookup = true;
    grid->LookupCaseSensitivity = c.caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
    grid->LookupItems = {QStringLiteral("Sensor A"), QStringLiteral("Sensor B"),
                         QStringLiteral("Setpoint")};
    goTo(2, 2);
    type(QString::fromUtf8(c.typed));
    ASSERT_TRUE(editorOpen());
    EXPECT_EQ(editor()->text(), QString::fromUtf8(c.text));
    EXPECT_EQ(editor()->selectedText(), QString::fromUtf8(c.selected));
    EXPECT_EQ(grid->GetCellEx(real(2), 2), QString::fromUtf8(c.text));
}

const LookupCase kLookupCases[] = {
    {"LowerCasePrefix", false, "sen", "sensor A", "sor A"},
    {"LongerPrefixPicksTheLaterEntry", false, "set", "setpoint", "point"},
    {"CaseSensitiveMissesOtherCase", true, "sen", "sen", ""},
    {"CaseSensitiveMatch", true, "Set", "Setpoint", "point"},
};
INSTANTIATE_TEST_SUITE_P(Cases, EditGridLookup, ::testing::ValuesIn(kLookupCases), CaseName());

TEST_F(EditGrid, DeletingNeverCompletesAndALeftTextJoinsTheHistory)
{
    grid->Lookup = true;
    grid->LookupHistory = true;
    grid->LookupItems = {QStringLiteral("Sensor")};
    goTo(2, 2);
    type(QStringLiteral("Sex"));
    keyInEditor(Qt::Key_Backspace);
    EXPECT_EQ(editor()->text(), QStringLiteral("Se"));
    EXPECT_FALSE(editor()->hasSelectedText());
    keyInEditor(Qt::Key_Return);
    goTo(2, 3);
    type(QStringLiteral("S"));
    keyInEditor(Qt::Key_Return);
    EXPECT_TRUE(grid->LookupItems.contains(QStringLiteral("Se")));
}

// ----- the character filters -----

// Focus coming into a grid with AlwaysEdit: the editor opens on an editable text cell once
// the text editor exists, never on a read-only cell, and before any edit only on a drop-down.
struct FocusInCase {
    const char* name;
    bool editedBefore;  // the text editor was created by an earlier edit
    int dcol;
    int row;
    bool opens;
};

class EditGridFocusIn : public EditGrid, public ::testing::WithParamInterface<FocusInCase> {
protected:
    void SetUp() override
    {
        EditGrid::SetUp();
        other = new QLineEdit(window.get());
        window->layout()->addWidget(other);
    }
    void focusAwayAndBack()
    {
        other->setFocus(Qt::OtherFocusReason);
        QApplication::processEvents();
        ASSERT_TRUE(other->hasFocus());
        grid->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
    }
    QLineEdit* other = nullptr;
};

TEST_P(EditGridFocusIn, OpensTheEditorOnlyWhereItMay)
{
    const FocusInCase& c = GetParam();
    if (c.editedBefore) {
        goTo(2, 2);
        type(QStringLiteral("a"));
        keyInEditor(Qt::Key_Escape);
        ASSERT_FALSE(editorOpen());
    }
    grid->Navigation.AlwaysEdit = true;
    goTo(c.dcol, c.row);
    focusAwayAndBack();
    EXPECT_EQ(editorOpen(), c.opens);
    EXPECT_EQ(grid->GetCellEx(real(2), 2), QStringLiteral("c3r2"));
}

const FocusInCase kFocusInCases[] = {
    {"EditableTextCell", true, 2, 2, true},
    {"ReadOnlyCell", true, 3, 3, false},
    {"TextCellBeforeAnyEdit", false, 2, 2, false},
};
INSTANTIATE_TEST_SUITE_P(Cases, EditGridFocusIn, ::testing::ValuesIn(kFocusInCases), CaseName());

TEST_F(EditGridFocusIn, FocusReturningFromTheClosedEditorDoesNotReopenIt)
{
    goTo(2, 2);
    type(QStringLiteral("a"));
    keyInEditor(Qt::Key_Escape);
    grid->Navigation.AlwaysEdit = true;
    focusAwayAndBack();
    ASSERT_TRUE(editorOpen());
    ASSERT_TRUE(editor()->hasFocus());
    // Esc: the focus goes back to the grid and the editor stays closed.
    keyInEditor(Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_FALSE(editorOpen());
    EXPECT_TRUE(grid->hasFocus());
    EXPECT_EQ(grid->GetCellEx(real(2), 2), QStringLiteral("c3r2"));
    // Leaving and coming back opens it again, once.
    focusAwayAndBack();
    ASSERT_TRUE(editorOpen());
    type(QStringLiteral("z"));
    grid->HideInplaceEdit();
    QApplication::processEvents();
    EXPECT_FALSE(editorOpen());
    EXPECT_TRUE(grid->hasFocus());
    EXPECT_EQ(grid->GetCellEx(real(2), 2), QStringLiteral("z"));
}

struct CharCase {
    const char* name;
    TEditorType kind;
    const char* text;
    int cursor;
    int selLength;  // selection from the cursor
    char16_t typed;
    EditCharVerdict verdict;
    char16_t inserted;
};

class EditCharFilter : public ::testing::TestWithParam<CharCase> {};

TEST_P(EditCharFilter, Kind)
{
    const CharCase& c = GetParam();
    EditCharContext ctx;
    ctx.text = QString::fromUtf8(c.text);
    ctx.cursor = c.cursor;
    ctx.selStart = c.cursor;
    ctx.selLength = c.selLength;
    // A locale with a decimal comma and a thousands period.
    ctx.decimalSeparator = u',';
    ctx.thousandSeparator = u'.';
    const EditCharResult r = FilterEditChar(c.kind, QChar(c.typed), ctx);
    EXPECT_EQ(int(r.verdict), int(c.verdict));
    if (r.verdict == EditCharVerdict::Accept) {
        EXPECT_EQ(r.ch, QChar(c.inserted));
    }
}

const CharCase kCharCases[] = {
    {"NormalTakesAll", TEditorType::edNormal, "", 0, 0, u'%', EditCharVerdict::Accept, u'%'},
    {"NumericMinusAtStart", TEditorType::edNumeric, "12", 0, 0, u'-', EditCharVerdict::Accept,
     u'-'},
    {"NumericMinusInside", TEditorType::edNumeric, "12", 1, 0, u'-', EditCharVerdict::Beep, 0},
    {"NumericSecondMinus", TEditorType::edNumeric, "-12", 0, 0, u'-', EditCharVerdict::Beep, 0},
    {"NumericLetter", TEditorType::edNumeric, "", 0, 0, u'a', EditCharVerdict::Beep, 0},
    {"PositiveNumericMinus", TEditorType::edPositiveNumeric, "", 0, 0, u'-', EditCharVerdict::Beep,
     0},
    {"PositiveNumericBackspace", TEditorType::edPositiveNumeric, "1", 1, 0, u'\b',
     EditCharVerdict::Accept, u'\b'},
    {"FloatFirstDecimalComma", TEditorType::edFloat, "1", 1, 0, u',', EditCharVerdict::Accept,
     u','},
    {"FloatSecondDecimalComma", TEditorType::edFloat, "1,5", 3, 0, u',', EditCharVerdict::Drop, 0},
    {"FloatCommaReplacingTheSelectedOne", TEditorType::edFloat, "1,5", 1, 1, u',',
     EditCharVerdict::Accept, u','},
    {"FloatThousandsPeriod", TEditorType::edFloat, "1", 1, 0, u'.', EditCharVerdict::Drop, 0},
    {"FloatLetterSilent", TEditorType::edFloat, "1", 1, 0, u'x', EditCharVerdict::Drop, 0},
    {"FloatMinusMisplaced", TEditorType::edFloat, "1", 1, 0, u'-', EditCharVerdict::Beep, 0},
    {"FloatMinusOverSelectedMinus", TEditorType::edFloat, "-1", 0, 1, u'-', EditCharVerdict::Accept,
     u'-'},
    {"PositiveFloatMinusSilent", TEditorType::edPositiveFloat, "", 0, 0, u'-',
     EditCharVerdict::Drop, 0},
    {"UpperCase", TEditorType::edUpperCase, "", 0, 0, u'q', EditCharVerdict::Accept, u'Q'},
    {"LowerCase", TEditorType::edLowerCase, "", 0, 0, u'Q', EditCharVerdict::Accept, u'q'},
};
INSTANTIATE_TEST_SUITE_P(Cases, EditCharFilter, ::testing::ValuesIn(kCharCases), CaseName());

struct PasteKindCase {
    const char* name;
    TEditorType kind;
    const char* text;
    bool accepted;
    const char* result;
};

class EditPasteFilter : public ::testing::TestWithParam<PasteKindCase> {};

TEST_P(EditPasteFilter, Kind)
{
    const PasteKindCase& c = GetParam();
    QString v = QString::fromUtf8(c.text);
    EXPECT_EQ(AcceptPastedText(c.kind, v, u'.', u',', QStringLiteral("abc")), c.accepted);
    if (c.accepted) {
        EXPECT_EQ(v, QString::fromUtf8(c.result));
    }
}

const PasteKindCase kPasteKindCases[] = {
    {"NumericNegativeInteger", TEditorType::edNumeric, "-42", true, "-42"},
    {"NumericFraction", TEditorType::edNumeric, "4.5", false, ""},
    {"PositiveNumericNegative", TEditorType::edPositiveNumeric, "-42", false, ""},
    {"FloatExponent", TEditorType::edFloat, "1.5e3", true, "1.5e3"},
    {"FloatWord", TEditorType::edFloat, "abc", false, ""},
    {"PositiveFloatNegative", TEditorType::edPositiveFloat, "-1.5", false, ""},
    {"MixedCase", TEditorType::edMixedCase, "jOHN smith", true, "John Smith"},
    {"ValidCharsOutside", TEditorType::edValidChars, "abd", false, ""},
    {"NormalUnchanged", TEditorType::edNormal, "x<y>", true, "x<y>"},
};
INSTANTIATE_TEST_SUITE_P(Cases, EditPasteFilter, ::testing::ValuesIn(kPasteKindCases), CaseName());

// ----- special editors -----

// A grid whose combo kinds open a stand-in editor, counting opens and commits.
class ComboStandInGrid : public TExtStringGrid {
public:
    int opens = 0;
    int commits = 0;
    char16_t startChar = 0;
    bool ShowComboEditor(TEditorType, int, int, char16_t c) override
    {
        ++opens;
        startChar = c;
        EditMode = true;
        return true;
    }
    bool HideComboEditor() override
    {
        if (!EditMode)
            return false;
        EditMode = false;
        ++commits;
        SetEditedCellText(RealColIndex(Col()), Row(), QStringLiteral("picked"));
        return true;
    }
};

struct SpecialCase {
    const char* name;
    TEditorType kind;
    int opens;
    bool editMode;
    int done;
};

class EditGridSpecial : public ::testing::TestWithParam<SpecialCase> {};

TEST_P(EditGridSpecial, DoneIsReportedOnceAndOtherKindsOpenNothing)
{
    const SpecialCase& c = GetParam();
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* g = new ComboStandInGrid;
    layout->addWidget(g);
    buildEditGrid(*g);
    g->OnGetEditorType = [&](QObject*, int, int, TEditorType& e) { e = c.kind; };
    int done = 0;
    g->OnEditingDone = [&](QObject*) { ++done; };
    ASSERT_TRUE(test::showActive(window, *g));
    g->MoveCurrentCell(2, 2, true, true);
    QTest::keyClick(g, Qt::Key_K);
    EXPECT_EQ(g->opens, c.opens);
    EXPECT_EQ(g->EditMode, c.editMode);
    EXPECT_FALSE(g->EditorMode());
    if (c.opens > 0) {
        EXPECT_EQ(g->startChar, u'k');
    }
    g->HideInplaceEdit();
    g->HideCellEdit();
    EXPECT_EQ(done, c.done);
    EXPECT_EQ(g->commits, c.done);
    EXPECT_EQ(g->GetCellEx(3, 2), c.done ? QStringLiteral("picked") : QStringLiteral("c3r2"));
    EXPECT_FALSE(g->EditMode);
}

const SpecialCase kSpecialCases[] = {
    {"ComboList", TEditorType::edComboList, 1, true, 1},
    {"ComboEdit", TEditorType::edComboEdit, 1, true, 1},
    {"SpinHasNoEditorYet", TEditorType::edSpinEdit, 0, false, 0},
    {"None", TEditorType::edNone, 0, false, 0},
};
INSTANTIATE_TEST_SUITE_P(Cases, EditGridSpecial, ::testing::ValuesIn(kSpecialCases), CaseName());

TEST(EditGridSpecialOrder, MovingOffAnOpenSpecialEditorCommitsValidatesThenMoves)
{
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* g = new ComboStandInGrid;
    layout->addWidget(g);
    buildEditGrid(*g);
    g->OnGetEditorType = [](QObject*, int, int, TEditorType& e) { e = TEditorType::edComboList; };
    std::vector<std::string> events;
    auto cell = [](int c, int r) { return std::to_string(c) + "," + std::to_string(r); };
    g->OnEditingDone = [&](QObject*) { events.push_back("done"); };
    g->OnCellValidate = [&](QObject*, int c, int r, QString&, bool&) {
        events.push_back("validate " + cell(c, r));
    };
    g->OnRowChanging = [&](QObject*, int, int, bool&) { events.push_back("row changing"); };
    g->OnColChanging = [&](QObject*, int, int, bool&) { events.push_back("col changing"); };
    g->OnCellChanging = [&](QObject*, int, int, int, int, bool&) {
        events.push_back("cell changing");
    };
    g->OnSelectCell = [&](QObject*, int c, int r, bool&) {
        events.push_back("select " + cell(c, r));
    };
    g->OnRowChanged = [&](QObject*, int, int n) {
        events.push_back("row changed " + std::to_string(n));
    };
    g->OnEditCellDone = [&](QObject*, int c, int r) {
        events.push_back("cell done " + cell(c, r));
    };
    ASSERT_TRUE(test::showActive(window, *g));
    g->MoveCurrentCell(2, 2, true, true);
    QTest::keyClick(g, Qt::Key_F2);
    ASSERT_EQ(g->opens, 1);
    QApplication::processEvents();
    events.clear();
    g->MoveCurrentCell(4, 4, true, true);
    QApplication::processEvents();
    EXPECT_EQ(events, (std::vector<std::string>{"done", "validate 3,2", "select 2,2",
                                                "row changing", "col changing", "cell changing",
                                                "select 4,4", "row changed 4", "cell done 3,2"}));
    EXPECT_EQ(g->GetCellEx(3, 2), QStringLiteral("picked"));
}

// ----- cell-changing events -----

TEST_F(EditGrid, CellChangingEventsComeInOrderAndMayKeepTheCell)
{
    goTo(2, 2);
    std::vector<std::string> events;
    bool refuse = false;
    grid->OnRowChanging = [&](QObject*, int o, int n, bool&) {
        events.push_back("row " + std::to_string(o) + ">" + std::to_string(n));
    };
    grid->OnColChanging = [&](QObject*, int o, int n, bool&) {
        events.push_back("col " + std::to_string(o) + ">" + std::to_string(n));
    };
    grid->OnCellChanging = [&](QObject*, int, int, int, int, bool& allow) {
        events.push_back("cell");
        if (refuse)
            allow = false;
    };
    goTo(4, 4);
    EXPECT_EQ(events, (std::vector<std::string>{"row 2>4", "col 2>4", "cell"}));
    refuse = true;
    events.clear();
    goTo(4, 2);
    EXPECT_EQ(events, (std::vector<std::string>{"row 4>2", "cell"}));
    EXPECT_EQ(grid->Row(), 4);
}

// ----- inside a dialog -----

class EditGridDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        dialog = std::make_unique<QDialog>();
        auto* layout = new QVBoxLayout(dialog.get());
        grid = new TExtStringGrid(dialog.get());
        layout->addWidget(grid);
        buildEditGrid(*grid);
        buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
        layout->addWidget(buttons);
        QObject::connect(buttons, &QDialogButtonBox::accepted, dialog.get(), [this] {
            cellAtOk = grid->GetCellEx(3, 2);
            dialog->accept();
        });
        QObject::connect(buttons, &QDialogButtonBox::rejected, dialog.get(), &QDialog::reject);
        buttons->button(QDialogButtonBox::Ok)->setDefault(true);
        grid->OnCellValidate = [](QObject*, int, int, QString& v, bool&) { v = v.toUpper(); };
        ASSERT_TRUE(test::showActive(*dialog, *grid));
        grid->MoveCurrentCell(2, 2, true, true);
        typeInto(*grid, QStringLiteral("ok"));
        ASSERT_TRUE(grid->EditorMode());
    }

    std::unique_ptr<QDialog> dialog;
    TExtStringGrid* grid = nullptr;
    QDialogButtonBox* buttons = nullptr;
    QString cellAtOk;
};

TEST_F(EditGridDialog, EnterAndEscInTheEditorPressNoButton)
{
    QTest::keyClick(grid->NormalEdit(), Qt::Key_Return);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), 0);
    EXPECT_EQ(grid->GetCellEx(3, 2), QStringLiteral("OK"));
    typeInto(*grid, QStringLiteral("x"));
    ASSERT_TRUE(grid->EditorMode());
    QTest::keyClick(grid->NormalEdit(), Qt::Key_Escape);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), 0);
    EXPECT_EQ(grid->GetCellEx(3, 2), QStringLiteral("OK"));
}

TEST_F(EditGridDialog, ClickingOkCommitsTheOpenEditorFirst)
{
    int done = 0;
    grid->OnEditingDone = [&](QObject*) { ++done; };
    QTest::mouseClick(buttons->button(QDialogButtonBox::Ok), Qt::LeftButton);
    EXPECT_EQ(dialog->result(), int(QDialog::Accepted));
    EXPECT_EQ(cellAtOk, QStringLiteral("OK"));
    EXPECT_EQ(done, 1);
    EXPECT_FALSE(grid->EditorMode());
}

}  // namespace
}  // namespace zfw
