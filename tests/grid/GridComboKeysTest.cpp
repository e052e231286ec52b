// The combo editor's keys as a user presses them: the key map of both combo kinds, the
// type-ahead completion of the editable combo, the cursor walk out of it, Up and Down handed
// to the grid, the Enter event and the text the list remembers when the focus leaves.
//
// Fixture: a column grid of 8 real columns (real column 1 hidden, so display column d shows
// real column d + 1 from d = 1 on), 6 rows, one fixed row and column, in a shown window.
//   real 2 (display 1) text; real 3 (display 2) pick list Alpha, Beta, Gamma;
//   real 4 (display 3) editable combo North, South; real 5 (display 4) data check box;
//   real 6 (display 5) editable combo North, South; real 7 (display 6) text.

#include "grid/ColumnGrid.h"
#include "grid/GridCombo.h"

#include "support/CaseName.h"

#include "GridWindowTestSupport.h"

#include <QApplication>
#include <QLayout>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

namespace zfw {
namespace {

using test::CaseName;

constexpr int kListCol = 3;
constexpr int kEditCol = 4;
constexpr int kCheckCol = 5;
constexpr int kEdit2Col = 6;
constexpr int kListDCol = 2;
constexpr int kEditDCol = 3;
constexpr int kCheckDCol = 4;
constexpr int kEdit2DCol = 5;
constexpr int kTextDCol = 6;

class ComboKeyGrid : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = std::make_unique<QWidget>();
        grid = test::addSmallGrid<TExtColumnGrid>(*window, 8, 6, QSize(480, 132));
        TExtColumnGrid& g = *grid;
        g.Columns()[kListCol]->SetEditor(TEditorType::edComboList);
        g.Columns()[kListCol]->SetComboItems({"Alpha", "Beta", "Gamma"});
        for (int c : {kEditCol, kEdit2Col}) {
            g.Columns()[c]->SetEditor(TEditorType::edComboEdit);
            g.Columns()[c]->SetComboItems({"North", "South"});
        }
        g.Columns()[kCheckCol]->SetEditor(TEditorType::edDataCheckBox);
        g.HideColumn(1);
        g.Loaded();
        g.OnComboChange = [this](QObject*, int c, int, int i, const QString& s) {
            events.push_back({c, i, s});
        };
        ASSERT_TRUE(test::showActive(*window, *grid));
    }

    void open(int dcol, int row)
    {
        grid->setFocus(Qt::OtherFocusReason);
        grid->MoveCurrentCell(dcol, row, true, true);
        QTest::keyClick(grid, Qt::Key_F2);
        QApplication::processEvents();
    }
    TGridCombo* combo() const { return grid->EditCombo(); }
    QLineEdit* edit() const { return combo()->lineEdit(); }
    bool comboOpen() const { return grid->comboEditing(); }
    void key(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier)
    {
        QTest::keyClick(combo(), k, m);
        QApplication::processEvents();
    }

    struct Event {
        int col;
        int index;
        QString text;
    };
    // Before the window: the grid may still report while it goes.
    std::vector<Event> events;
    std::unique_ptr<QWidget> window;
    TExtColumnGrid* grid = nullptr;
};

// ----- the key map -----

struct KeyMapCase {
    const char* name;
    bool list;  // the pick list, else the editable combo (list closed)
    Qt::Key key;
    Qt::KeyboardModifiers mods;
    bool openAfter;
    int rowAfter;
    int indexAfter;    // list: the selected item while open; -1 unchecked
    int caretAfter;    // editable combo: the caret while open; -1 unchecked
    const char* cell;  // the cell afterwards
};

// The pick list opens on "Beta" (row 2). The editable combo opens on "North" (row 2); an "x"
// is typed at position 2 before the key, so its text is "Noxrth" with the caret at 3.
const KeyMapCase kKeyMap[] = {
    {"ListDownTakesTheNextItem", true, Qt::Key_Down, Qt::NoModifier, true, 2, 2, -1, "Beta"},
    {"ListUpTakesThePreviousItem", true, Qt::Key_Up, Qt::NoModifier, true, 2, 0, -1, "Beta"},
    {"ListPgDnTakesTheNextItem", true, Qt::Key_PageDown, Qt::NoModifier, true, 2, 2, -1, "Beta"},
    {"ListPgUpTakesThePreviousItem", true, Qt::Key_PageUp, Qt::NoModifier, true, 2, 0, -1, "Beta"},
    {"ListEndTakesTheLastItem", true, Qt::Key_End, Qt::NoModifier, true, 2, 2, -1, "Beta"},
    {"ListTabEndsTheEdit", true, Qt::Key_Tab, Qt::NoModifier, false, 2, -1, -1, "Beta"},
    {"EditLeftMovesTheCaret", false, Qt::Key_Left, Qt::NoModifier, true, 2, -1, 2, "North"},
    {"EditRightMovesTheCaret", false, Qt::Key_Right, Qt::NoModifier, true, 2, -1, 4, "North"},
    {"EditEndPutsTheCaretAtTheEnd", false, Qt::Key_End, Qt::NoModifier, true, 2, -1, 6, "North"},
    {"EditPgDnEndsTheEditInPlace", false, Qt::Key_PageDown, Qt::NoModifier, false, 2, -1, -1,
     "Noxrth"},
    {"EditPgUpEndsTheEditInPlace", false, Qt::Key_PageUp, Qt::NoModifier, false, 2, -1, -1,
     "Noxrth"},
    {"EditUpConfirmsAndMovesUp", false, Qt::Key_Up, Qt::NoModifier, false, 1, -1, -1, "Noxrth"},
    {"EditTabEndsTheEdit", false, Qt::Key_Tab, Qt::NoModifier, false, 2, -1, -1, "Noxrth"},
    {"EditEnterConfirms", false, Qt::Key_Return, Qt::NoModifier, false, 2, -1, -1, "Noxrth"},
    {"EditEscRestores", false, Qt::Key_Escape, Qt::NoModifier, false, 2, -1, -1, "North"},
};

class KeyMapTest : public ComboKeyGrid, public ::testing::WithParamInterface<KeyMapCase> {};

TEST_P(KeyMapTest, KeyDoesWhatTheComboKindMakesOfIt)
{
    const KeyMapCase& c = GetParam();
    const int realCol = c.list ? kListCol : kEditCol;
    grid->SetCellEx(kListCol, 2, "Beta");
    grid->SetCellEx(kEditCol, 2, "North");
    open(c.list ? kListDCol : kEditDCol, 2);
    ASSERT_TRUE(comboOpen());
    if (!c.list) {
        edit()->setCursorPosition(2);
        QTest::keyClicks(combo(), "x");
        ASSERT_EQ(combo()->text(), "Noxrth");
        ASSERT_EQ(edit()->cursorPosition(), 3);
    }
    key(c.key, c.mods);
    EXPECT_EQ(comboOpen(), c.openAfter);
    EXPECT_EQ(combo()->isVisible(), c.openAfter);
    EXPECT_EQ(grid->Row(), c.rowAfter);
    EXPECT_EQ(grid->Col(), c.list ? kListDCol : kEditDCol);
    if (c.indexAfter >= 0) {
        EXPECT_EQ(combo()->itemIndex(), c.indexAfter);
    }
    if (c.caretAfter >= 0) {
        EXPECT_EQ(edit()->cursorPosition(), c.caretAfter);
    }
    EXPECT_EQ(grid->GetCellEx(realCol, 2), QString::fromUtf8(c.cell));
}

INSTANTIATE_TEST_SUITE_P(Keys, KeyMapTest, ::testing::ValuesIn(kKeyMap), CaseName());

TEST_F(ComboKeyGrid, AltDownOpensTheEditableCombosList)
{
    grid->SetCellEx(kEditCol, 2, "North");
    open(kEditDCol, 2);
    key(Qt::Key_Down, Qt::AltModifier);
    EXPECT_TRUE(combo()->droppedDown());
    EXPECT_TRUE(comboOpen());
    EXPECT_EQ(grid->Row(), 2);
    combo()->hidePopup();
}

// With ComboGetUpDown off, Up and Down belong to the grid: the edit ends with the combo's
// value and the current row moves, whatever the combo kind.
struct UpDownCase {
    const char* name;
    bool list;
    Qt::Key key;
    int rowAfter;
    const char* cell;
};

const UpDownCase kGridUpDown[] = {
    {"ListDownMovesTheRow", true, Qt::Key_Down, 3, "Beta"},
    {"ListUpMovesTheRow", true, Qt::Key_Up, 1, "Beta"},
    {"EditDownStoresAndMovesTheRow", false, Qt::Key_Down, 3, "Nx"},
};

class GridUpDownTest : public ComboKeyGrid, public ::testing::WithParamInterface<UpDownCase> {};

TEST_P(GridUpDownTest, EndsTheEditAndMovesTheGrid)
{
    const UpDownCase& c = GetParam();
    grid->Navigation.ComboGetUpDown = false;
    grid->SetCellEx(kListCol, 2, "Beta");
    grid->SetCellEx(kEditCol, 2, "North");
    open(c.list ? kListDCol : kEditDCol, 2);
    ASSERT_TRUE(comboOpen());
    if (!c.list) {
        edit()->selectAll();
        QTest::keyClicks(combo(), "Nx");
    }
    key(c.key);
    EXPECT_FALSE(comboOpen());
    EXPECT_EQ(grid->Row(), c.rowAfter);
    EXPECT_EQ(grid->GetCellEx(c.list ? kListCol : kEditCol, 2), QString::fromUtf8(c.cell));
    if (c.list) {
        EXPECT_TRUE(events.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Keys, GridUpDownTest, ::testing::ValuesIn(kGridUpDown), CaseName());

// With goTabs, Tab leaves the combo for the next cell (Shift+Tab for the previous one) and
// stores the value on the way.
struct TabCase {
    const char* name;
    bool list;
    Qt::KeyboardModifiers mods;
    int dcolAfter;
};

const TabCase kTabs[] = {
    {"ListTabGoesRight", true, Qt::NoModifier, kListDCol + 1},
    {"ListShiftTabGoesLeft", true, Qt::ShiftModifier, kListDCol - 1},
    {"EditTabGoesRight", false, Qt::NoModifier, kEditDCol + 1},
};

class TabTest : public ComboKeyGrid, public ::testing::WithParamInterface<TabCase> {};

TEST_P(TabTest, GoesToTheNeighbourAndStoresTheValue)
{
    const TabCase& c = GetParam();
    grid->SetOptions(grid->Options() | goTabs);
    grid->SetCellEx(kListCol, 2, "Alpha");
    grid->SetCellEx(kEditCol, 2, "North");
    open(c.list ? kListDCol : kEditDCol, 2);
    ASSERT_TRUE(comboOpen());
    if (c.list) {
        key(Qt::Key_Down);
    } else {
        QTest::keyClicks(combo(), "South");
    }
    QTest::keyClick(combo(), c.mods.testFlag(Qt::ShiftModifier) ? Qt::Key_Backtab : Qt::Key_Tab,
                    c.mods);
    QApplication::processEvents();
    EXPECT_EQ(grid->Col(), c.dcolAfter);
    EXPECT_EQ(grid->Row(), 2);
    EXPECT_EQ(grid->GetCellEx(c.list ? kListCol : kEditCol, 2), c.list ? "Beta" : "South");
}

INSTANTIATE_TEST_SUITE_P(Keys, TabTest, ::testing::ValuesIn(kTabs), CaseName());

// A text editor left open over a cell that has become a check box goes when column widths
// change: there is nothing to type into a check box.
TEST_F(ComboKeyGrid, WidthChangeClosesATextEditorOverACheckBox)
{
    grid->SetCellEx(7, 2, "text");
    open(kTextDCol, 2);
    ASSERT_TRUE(grid->EditorMode());
    grid->AddCheckBox(7, 2, true, false);
    grid->SetColWidths(1, 70);
    EXPECT_FALSE(grid->EditorMode());
}

// ----- type-ahead completion -----

struct LookupCase {
    const char* name;
    bool lookup;
    bool caseSensitive;
    const char* lookupItem;  // the grid's LookupItems (one entry), or none
    const char* typed;
    const char* text;
    int index;
    const char* selected;
};

const LookupCase kLookup[] = {
    // The typed characters keep their case; the rest comes from the item.
    {"CompletesFromTheItems", true, false, nullptr, "so", "south", 1, "uth"},
    {"ItemsComeBeforeLookupItems", true, false, "Nadir", "n", "north", 0, "orth"},
    {"FallsBackToLookupItemsWithoutSelecting", true, false, "Westerly", "we", "westerly", -1,
     "sterly"},
    {"CaseSensitiveNeedsTheCase", true, true, nullptr, "so", "so", -1, ""},
    {"CaseSensitiveMatch", true, true, nullptr, "So", "South", 1, "uth"},
    {"NoEntryLeavesTheText", true, false, "Westerly", "x", "x", -1, ""},
    {"LookupOffCompletesNothing", false, false, "Nadir", "no", "no", -1, ""},
};

class LookupTest : public ComboKeyGrid, public ::testing::WithParamInterface<LookupCase> {};

TEST_P(LookupTest, TypingCompletesAndSelectsTheCompletedRest)
{
    const LookupCase& c = GetParam();
    grid->Lookup = c.lookup;
    grid->LookupCaseSensitivity = c.caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
    if (c.lookupItem)
        grid->LookupItems = {QString::fromUtf8(c.lookupItem)};
    open(kEditDCol, 2);
    ASSERT_TRUE(comboOpen());
    QTest::keyClicks(combo(), QString::fromUtf8(c.typed));
    EXPECT_EQ(combo()->text(), QString::fromUtf8(c.text));
    EXPECT_EQ(combo()->itemIndex(), c.index);
    EXPECT_EQ(edit()->selectedText(), QString::fromUtf8(c.selected));
    key(Qt::Key_Return);
    EXPECT_EQ(grid->GetCellEx(kEditCol, 2), QString::fromUtf8(c.text));
}

INSTANTIATE_TEST_SUITE_P(Typing, LookupTest, ::testing::ValuesIn(kLookup), CaseName());

TEST_F(ComboKeyGrid, BackspaceRemovesTheCompletionWithoutCompletingAgain)
{
    grid->Lookup = true;
    open(kEditDCol, 2);
    QTest::keyClicks(combo(), "so");
    ASSERT_EQ(combo()->text(), "south");
    // Completing raised no event of its own: one per typed character.
    EXPECT_EQ(events.size(), 2u);
    key(Qt::Key_Backspace);
    EXPECT_EQ(combo()->text(), "so");
    EXPECT_FALSE(edit()->hasSelectedText());
    QTest::keyClicks(combo(), "u");
    EXPECT_EQ(combo()->text(), "south");
    EXPECT_EQ(edit()->selectedText(), "th");
}

// ----- the text on opening -----

TEST_F(ComboKeyGrid, OpeningSelectsTheWholeTextSoThatTypingReplacesIt)
{
    grid->SetCellEx(kEditCol, 2, "North");
    open(kEditDCol, 2);
    EXPECT_EQ(edit()->selectedText(), "North");
    QTest::keyClicks(combo(), "We");
    key(Qt::Key_Return);
    EXPECT_EQ(grid->GetCellEx(kEditCol, 2), "We");

    // Without EditSelectAll the caret waits at the end and typing appends.
    grid->Navigation.EditSelectAll = false;
    open(kEditDCol, 2);
    EXPECT_FALSE(edit()->hasSelectedText());
    EXPECT_EQ(edit()->cursorPosition(), 2);
    QTest::keyClicks(combo(), "st");
    key(Qt::Key_Return);
    EXPECT_EQ(grid->GetCellEx(kEditCol, 2), "West");
}

// Leaving an editable combo whose text equals an item chooses nothing and reports nothing.
TEST_F(ComboKeyGrid, LeavingATextEqualToAnItemReportsNoChoice)
{
    grid->SetCellEx(kEditCol, 2, "South");
    open(kEditDCol, 2);
    ASSERT_TRUE(comboOpen());
    test::focusNewFieldBeside(*window);
    EXPECT_FALSE(comboOpen());
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(grid->GetCellEx(kEditCol, 2), "South");
}

// ----- opening on the edit text -----

// A cell whose text is in no item, but whose edit text is: the list opens on that item and
// reports that item, not item 0.
TEST_F(ComboKeyGrid, ListOpensOnTheEditTextsItemAndReportsThatItem)
{
    std::vector<std::pair<int, QObject*>> objects;
    grid->OnGetEditText = [](QObject*, int, int, QString& value) {
        if (value == "g")
            value = "gamma";
    };
    grid->OnComboObjectChange = [&](QObject*, int, int, int i, const QString&, QObject* o) {
        objects.push_back({i, o});
    };
    grid->SetCellEx(kListCol, 2, "g");
    open(kListDCol, 2);
    ASSERT_TRUE(comboOpen());
    EXPECT_EQ(combo()->itemIndex(), 2);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].col, kListCol);
    EXPECT_EQ(events[0].index, 2);
    EXPECT_EQ(events[0].text, "Gamma");
    ASSERT_EQ(objects.size(), 1u);
    EXPECT_EQ(objects[0].first, 2);
    key(Qt::Key_Return);
    EXPECT_EQ(grid->GetCellEx(kListCol, 2), "Gamma");
}

// A click-opened list that drops at once reports what it shows; a text in no item stays the
// cell's unless the user picks.
TEST_F(ComboKeyGrid, DirectlyDroppedListReportsItsSelection)
{
    grid->MouseActions.DirectEdit = true;
    grid->MouseActions.DirectComboDrop = true;
    grid->SetCellEx(kListCol, 2, "Beta");
    grid->SetCellEx(kListCol, 3, "1500");
    open(kListDCol, 2);
    ASSERT_TRUE(comboOpen());
    EXPECT_TRUE(combo()->droppedDown());
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].col, kListCol);
    EXPECT_EQ(events[0].index, 1);
    EXPECT_EQ(events[0].text, "Beta");
    combo()->hidePopup();
    key(Qt::Key_Escape);

    events.clear();
    open(kListDCol, 3);
    ASSERT_TRUE(comboOpen());
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].index, 0);
    combo()->hidePopup();
    ASSERT_TRUE(comboOpen());
    key(Qt::Key_Return);
    EXPECT_EQ(grid->GetCellEx(kListCol, 3), "1500");

    // Closing the list ends the edit with DirectComboClose; dismissing it chose nothing.
    grid->MouseActions.DirectComboClose = true;
    open(kListDCol, 3);
    ASSERT_TRUE(combo()->droppedDown());
    combo()->hidePopup();
    QApplication::processEvents();
    EXPECT_FALSE(comboOpen());
    EXPECT_EQ(grid->GetCellEx(kListCol, 3), "1500");
    // Choosing an item from the dropped list stores it.
    open(kListDCol, 3);
    ASSERT_TRUE(combo()->droppedDown());
    combo()->setCurrentIndex(2);
    Q_EMIT combo()->activated(2);
    combo()->hidePopup();
    QApplication::processEvents();
    EXPECT_FALSE(comboOpen());
    EXPECT_EQ(grid->GetCellEx(kListCol, 3), "Gamma");
}

// ----- the cursor walk -----

struct WalkCase {
    const char* name;
    int dcol;  // the editable combo's display column
    Qt::Key key;
    int caret;  // before the keys; -1 at the end of the text
    int presses;
    bool walkOption;
    bool alwaysEdit;
    bool refuse;  // validation refuses the value
    int dcolAfter;
    bool comboAfter;  // a combo is open afterwards
    bool textAfter;   // the text editor is open afterwards
    bool stored;      // the walked-off cell holds the changed text
};

const WalkCase kWalk[] = {
    // Leftwards into the pick list, which opens there.
    {"LeftAtTheStartOpensTheListOnTheLeft", kEditDCol, Qt::Key_Left, 0, 1, true, true, false,
     kListDCol, true, false, true},
    // The first Left only brings the caret to the start.
    {"LeftArrivingAtTheStartStays", kEditDCol, Qt::Key_Left, 1, 1, true, true, false, kEditDCol,
     true, false, false},
    {"SecondLeftWalks", kEditDCol, Qt::Key_Left, 1, 2, true, true, false, kListDCol, true, false,
     true},
    {"RightIntoACheckBoxOpensNothing", kEditDCol, Qt::Key_Right, -1, 1, true, true, false,
     kCheckDCol, false, false, true},
    {"RefusedValueStaysBeforeACheckBox", kEditDCol, Qt::Key_Right, -1, 1, true, true, true,
     kEditDCol, true, false, false},
    {"RightIntoTextOpensTheTextEditor", kEdit2DCol, Qt::Key_Right, -1, 1, true, true, false,
     kTextDCol, false, true, true},
    {"WithoutAlwaysEditOnlyMoves", kEdit2DCol, Qt::Key_Right, -1, 1, true, false, false, kTextDCol,
     false, false, true},
    {"OptionOffKeepsTheEdit", kEdit2DCol, Qt::Key_Right, -1, 1, false, true, false, kEdit2DCol,
     true, false, false},
};

class WalkTest : public ComboKeyGrid, public ::testing::WithParamInterface<WalkCase> {};

TEST_P(WalkTest, LeavesTheCellAtTheTextsEnds)
{
    const WalkCase& c = GetParam();
    const int realCol = grid->RealColIndex(c.dcol);
    grid->Navigation.CursorWalkEditor = c.walkOption;
    grid->Navigation.CursorWalkAlwaysEdit = c.alwaysEdit;
    if (c.refuse)
        grid->OnCellValidate = [](QObject*, int, int, QString&, bool& valid) { valid = false; };
    grid->SetCellEx(realCol, 2, "North");
    grid->SetCellEx(kListCol, 2, "Beta");
    open(c.dcol, 2);
    ASSERT_TRUE(comboOpen());
    edit()->setText("Changed");
    edit()->setCursorPosition(c.caret < 0 ? int(edit()->text().size()) : c.caret);
    for (int i = 0; i < c.presses; ++i)
        key(c.key);
    EXPECT_EQ(grid->Col(), c.dcolAfter);
    EXPECT_EQ(grid->Row(), 2);
    EXPECT_EQ(comboOpen(), c.comboAfter);
    EXPECT_EQ(grid->EditorMode(), c.textAfter);
    if (c.comboAfter && c.dcolAfter == kListDCol) {
        EXPECT_EQ(combo()->text(), "Beta");
    }
    EXPECT_EQ(grid->GetCellEx(realCol, 2), c.stored ? QString("Changed") : QString("North"));
}

INSTANTIATE_TEST_SUITE_P(Walk, WalkTest, ::testing::ValuesIn(kWalk), CaseName());

// ----- Enter and the focus loss -----

TEST_F(ComboKeyGrid, EnterReportsTheReturnKeyAndTheListRemembersTheTextOnFocusLoss)
{
    int returns = 0;
    combo()->OnReturnKey = [&](QObject* sender) {
        EXPECT_EQ(sender, combo());
        ++returns;
    };
    grid->LookupHistory = true;
    open(kEditDCol, 2);
    edit()->selectAll();
    QTest::keyClicks(combo(), "West");
    key(Qt::Key_Return);
    EXPECT_EQ(returns, 1);
    EXPECT_EQ(grid->GetCellEx(kEditCol, 2), "West");
    EXPECT_GE(combo()->findText("West"), 0);

    // Leaving the grid while the combo is open stores the text and remembers it too.
    open(kEditDCol, 3);
    edit()->selectAll();
    QTest::keyClicks(combo(), "East");
    test::focusNewFieldBeside(*window);
    EXPECT_FALSE(comboOpen());
    EXPECT_EQ(grid->GetCellEx(kEditCol, 3), "East");
    EXPECT_GE(combo()->findText("East"), 0);

    // The next combo cell reloads its column's list: what was remembered is gone.
    open(kEditDCol, 4);
    EXPECT_EQ(combo()->count(), 2);
}

}  // namespace
}  // namespace zfw
