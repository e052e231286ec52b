// Combo cells of a column grid driven as a user would: which item the list opens on, what a
// commit stores, the keys of both combo kinds, the wheel, the combo events, a long list, and
// the combo inside a dialog.
//
// Fixture: a column grid of 6 real columns (real column 1 hidden, so display column d shows
// real column d + 1 from d = 1 on), 6 rows, one fixed row and column, in a shown window.
// Real column 3 (display 2) is a pick list of Alpha, Beta, Gamma; real column 4 (display 3)
// an editable combo of North, South; real column 5 (display 4) plain text.

#include "grid/ColumnGrid.h"
#include "grid/GridCombo.h"

#include "support/CaseName.h"

#include "GridWindowTestSupport.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

namespace zfw {
namespace {

using test::CaseName;

constexpr int kListCol = 3;   // real
constexpr int kEditCol = 4;   // real
constexpr int kListDCol = 2;  // display
constexpr int kEditDCol = 3;

void buildComboGrid(TExtColumnGrid& g)
{
    test::shapeSmallGrid(g, 6, 6, {360, 132});
    g.Columns()[kListCol]->SetEditor(TEditorType::edComboList);
    g.Columns()[kListCol]->SetComboItems({"Alpha", "Beta", "Gamma"});
    g.Columns()[kEditCol]->SetEditor(TEditorType::edComboEdit);
    g.Columns()[kEditCol]->SetComboItems({"North", "South"});
    g.HideColumn(1);
    g.Loaded();
}

struct ComboEvent {
    int col;
    int row;
    int index;
    QString text;
};

class ComboGrid : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = std::make_unique<QWidget>();
        grid = test::placeGrid<TExtColumnGrid>(*window);
        buildComboGrid(*grid);
        grid->OnComboChange = [this](QObject*, int c, int r, int i, const QString& s) {
            events.push_back({c, r, i, s});
        };
        ASSERT_TRUE(test::showActive(*window, *grid));
        QApplication::processEvents();
    }

    void open(int dcol, int row)
    {
        grid->setFocus(Qt::OtherFocusReason);
        grid->MoveCurrentCell(dcol, row, true, true);
        QTest::keyClick(grid, Qt::Key_F2);
        QApplication::processEvents();
    }
    TGridCombo* combo() const { return grid->EditCombo(); }
    bool comboOpen() const { return grid->comboEditing(); }
    void key(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier)
    {
        ASSERT_TRUE(comboOpen());
        QTest::keyClick(combo(), k, m);
        QApplication::processEvents();
    }

    std::unique_ptr<QWidget> window;
    TExtColumnGrid* grid = nullptr;
    std::vector<ComboEvent> events;
};

// ----- opening a pick list and committing it -----

struct ListOpenCase {
    const char* name;
    const char* cell;
    int preset;        // SetComboSelection before opening; -1 none
    int selected;      // the item shown when the list opens
    int openEvents;    // OnComboChange while opening
    const char* kept;  // the cell after Enter without a choice
};

const ListOpenCase kListOpen[] = {
    {"ExactMatch", "Gamma", -1, 2, 0, "Gamma"},
    // The item is found whatever the case; the commit stores the item's own text.
    {"CaseOnlyMatch", "bETA", -1, 1, 0, "Beta"},
    // A blank cell takes the first item, and says so.
    {"BlankCellTakesFirstItem", "", -1, 0, 1, "Alpha"},
    // A text in no item is shown as the first item but stays in the cell unless chosen.
    {"UnmatchedTextIsKept", "1500", -1, 0, 0, "1500"},
    {"UnmatchedWithPresetIndex", "1500", 2, 2, 0, "Gamma"},
};

class ListOpenTest : public ComboGrid, public ::testing::WithParamInterface<ListOpenCase> {};

TEST_P(ListOpenTest, OpensOnTheCellsItemAndCommitsWhatIsShownOrKept)
{
    const ListOpenCase& c = GetParam();
    grid->SetCellEx(kListCol, 2, QString::fromUtf8(c.cell));
    if (c.preset >= 0) {
        open(kListDCol, 3);  // loads the column's list
        key(Qt::Key_Escape);
        grid->SetComboSelection(c.preset);
        events.clear();
    }
    open(kListDCol, 2);
    ASSERT_TRUE(comboOpen());
    EXPECT_EQ(combo()->comboStyle(), csDropDownList);
    EXPECT_EQ(combo()->count(), 3);
    EXPECT_EQ(combo()->itemIndex(), c.selected);
    ASSERT_EQ(int(events.size()), c.openEvents);
    if (c.openEvents > 0) {
        EXPECT_EQ(events[0].col, kListCol);
        EXPECT_EQ(events[0].index, c.selected);
        EXPECT_EQ(events[0].text, combo()->itemText(c.selected));
    }
    key(Qt::Key_Return);
    EXPECT_FALSE(comboOpen());
    EXPECT_EQ(grid->GetCellEx(kListCol, 2), QString::fromUtf8(c.kept));
}

INSTANTIATE_TEST_SUITE_P(Cells, ListOpenTest, ::testing::ValuesIn(kListOpen), CaseName());

TEST_F(ComboGrid, UnmatchedTextTakesAnItemTheUserChooses)
{
    grid->SetCellEx(kListCol, 2, "1500");
    open(kListDCol, 2);
    key(Qt::Key_Down);
    EXPECT_EQ(combo()->itemIndex(), 1);
    key(Qt::Key_Return);
    EXPECT_EQ(grid->GetCellEx(kListCol, 2), "Beta");
}

// ----- keys -----

TEST_F(ComboGrid, ListUpDownChangeTheItemAndReportItWithTheRealColumn)
{
    grid->SetCellEx(kListCol, 2, "Alpha");
    open(kListDCol, 2);
    key(Qt::Key_Down);
    EXPECT_TRUE(comboOpen());
    EXPECT_EQ(combo()->itemIndex(), 1);
    key(Qt::Key_Down);
    key(Qt::Key_Up);
    EXPECT_EQ(combo()->itemIndex(), 1);
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].col, kListCol);
    EXPECT_EQ(events[0].row, 2);
    EXPECT_EQ(events[0].index, 1);
    EXPECT_EQ(events[0].text, "Beta");
    EXPECT_EQ(events[1].index, 2);
    // Nothing is stored until the edit ends.
    EXPECT_EQ(grid->GetCellEx(kListCol, 2), "Alpha");
}

struct LeaveKeyCase {
    const char* name;
    Qt::Key key;
    int dcol;  // current display column afterwards
    const char* cell;
};

const LeaveKeyCase kLeaveKeys[] = {
    {"RightEndsAndMovesRight", Qt::Key_Right, kListDCol + 1, "Beta"},
    {"LeftEndsAndMovesLeft", Qt::Key_Left, kListDCol - 1, "Beta"},
    {"EnterEndsAndStays", Qt::Key_Return, kListDCol, "Beta"},
    {"EscRestoresAndStays", Qt::Key_Escape, kListDCol, "Alpha"},
};

class LeaveKeyTest : public ComboGrid, public ::testing::WithParamInterface<LeaveKeyCase> {};

TEST_P(LeaveKeyTest, EndsTheEditWithTheKeysMeaning)
{
    const LeaveKeyCase& c = GetParam();
    grid->SetCellEx(kListCol, 2, "Alpha");
    int done = 0;
    grid->OnEditingDone = [&](QObject*) { ++done; };
    open(kListDCol, 2);
    key(Qt::Key_Down);
    key(c.key);
    EXPECT_FALSE(comboOpen());
    EXPECT_FALSE(combo()->isVisible());
    EXPECT_EQ(grid->Col(), c.dcol);
    EXPECT_EQ(grid->Row(), 2);
    EXPECT_EQ(grid->GetCellEx(kListCol, 2), QString::fromUtf8(c.cell));
    EXPECT_EQ(done, 1);
}

INSTANTIATE_TEST_SUITE_P(Keys, LeaveKeyTest, ::testing::ValuesIn(kLeaveKeys), CaseName());

TEST_F(ComboGrid, TypingInAListSelectsTheItemAndReportsItOnce)
{
    grid->SetCellEx(kListCol, 2, "Alpha");
    int keys = 0;
    grid->OnKeyPress = [&](QObject* sender, char16_t&) {
        if (sender == combo())
            ++keys;
    };
    open(kListDCol, 2);
    QTest::keyClicks(combo(), "g");
    EXPECT_EQ(combo()->itemIndex(), 2);
    EXPECT_EQ(keys, 1);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].index, 2);
    EXPECT_EQ(events[0].text, "Gamma");
    key(Qt::Key_Return);
    EXPECT_EQ(grid->GetCellEx(kListCol, 2), "Gamma");
}

TEST_F(ComboGrid, EditableComboTypesAndConfirmsWithUpAndDownMovingTheCell)
{
    grid->SetCellEx(kEditCol, 2, "North");
    open(kEditDCol, 2);
    ASSERT_TRUE(comboOpen());
    EXPECT_EQ(combo()->comboStyle(), csDropDown);
    EXPECT_EQ(combo()->text(), "North");
    combo()->lineEdit()->selectAll();
    QTest::keyClicks(combo(), "Wes");
    // One report per change, with the real column.
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[2].col, kEditCol);
    EXPECT_EQ(events[2].index, -1);
    EXPECT_EQ(events[2].text, "Wes");
    key(Qt::Key_Down);
    EXPECT_FALSE(comboOpen());
    EXPECT_EQ(grid->GetCellEx(kEditCol, 2), "Wes");
    EXPECT_EQ(grid->Row(), 3);
    EXPECT_EQ(grid->Col(), kEditDCol);
}

TEST_F(ComboGrid, EditableComboLimitBlocksTypingButKeepsALongerText)
{
    grid->MaxComboLength = 5;
    grid->SetCellEx(kEditCol, 2, "Northwest");
    open(kEditDCol, 2);
    ASSERT_TRUE(comboOpen());
    EXPECT_EQ(combo()->text(), "Northwest");
    combo()->lineEdit()->end(false);
    QTest::keyClicks(combo(), "x");
    EXPECT_EQ(combo()->text(), "Northwest");
    combo()->lineEdit()->selectAll();
    QTest::keyClicks(combo(), "abcdefg");
    EXPECT_EQ(combo()->text(), "abcde");
    key(Qt::Key_Return);
    EXPECT_EQ(grid->GetCellEx(kEditCol, 2), "abcde");
}

TEST_F(ComboGrid, RefusedValidationKeepsTheComboOpen)
{
    grid->SetCellEx(kListCol, 2, "Alpha");
    grid->OnCellValidate = [](QObject*, int, int, QString& v, bool& valid) {
        valid = v != "Gamma";
    };
    open(kListDCol, 2);
    key(Qt::Key_End);
    EXPECT_EQ(combo()->itemIndex(), 2);
    key(Qt::Key_Return);
    EXPECT_TRUE(comboOpen());
    key(Qt::Key_Up);
    key(Qt::Key_Return);
    EXPECT_FALSE(comboOpen());
    EXPECT_EQ(grid->GetCellEx(kListCol, 2), "Beta");
}

// ----- the wheel -----

TEST_F(ComboGrid, WheelStepsWithinTheListAndReportsEvenAtTheEnd)
{
    grid->SetCellEx(kListCol, 2, "Beta");
    open(kListDCol, 2);
    auto wheel = [this](int dy) {
        QWheelEvent e(QPointF(5, 5), combo()->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, dy),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(combo(), &e);
    };
    wheel(-120);  // towards the user: the next item
    EXPECT_EQ(combo()->itemIndex(), 2);
    wheel(-120);  // already the last: stays, still reported
    EXPECT_EQ(combo()->itemIndex(), 2);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[1].index, 2);
    EXPECT_EQ(events[1].text, "Gamma");
    key(Qt::Key_Escape);

    // An editable combo whose text is in no item has no item selected: a turn away from the
    // user has nothing to go back to and does nothing.
    events.clear();
    grid->SetCellEx(kEditCol, 2, "East");
    open(kEditDCol, 2);
    ASSERT_EQ(combo()->itemIndex(), -1);
    wheel(120);
    EXPECT_EQ(combo()->itemIndex(), -1);
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(combo()->text(), "East");
}

// ----- the list, its width and its place -----

TEST_F(ComboGrid, DropAndCloseAreReportedWithRowFirst)
{
    std::vector<std::pair<int, int>> dropped;
    std::vector<std::pair<int, int>> closed;
    grid->OnComboDropDown = [&](QObject*, int r, int c) { dropped.push_back({r, c}); };
    grid->OnComboCloseUp = [&](QObject*, int r, int c) { closed.push_back({r, c}); };
    open(kListDCol, 2);
    combo()->showPopup();
    combo()->hidePopup();
    ASSERT_EQ(dropped.size(), 1u);
    ASSERT_EQ(closed.size(), 1u);
    EXPECT_EQ(dropped[0], std::make_pair(2, kListDCol));
    EXPECT_EQ(closed[0], std::make_pair(2, kListDCol));
    EXPECT_TRUE(comboOpen());
}

TEST_F(ComboGrid, AutoDropSizeWidensTheListToItsLongestItem)
{
    grid->Navigation.AutoComboDropSize = true;
    const QString wide = QStringLiteral("A rather long item text for the list");
    grid->Columns()[kListCol]->SetComboItems({"a", wide});
    open(kListDCol, 2);
    const int w = QFontMetrics(grid->font()).horizontalAdvance(wide);
    EXPECT_EQ(combo()->sizedDropWidth(), w + 8);
    key(Qt::Key_Escape);
    grid->Columns()[kListCol]->SetDropDownCount(1);
    open(kListDCol, 2);
    EXPECT_EQ(combo()->sizedDropWidth(), w + 25);
}

TEST_F(ComboGrid, OpenComboFollowsAWidthChangeLeftOfIt)
{
    open(kListDCol, 2);
    const int left = combo()->geometry().left();
    grid->SetColWidths(1, 90);
    EXPECT_EQ(combo()->geometry().left(), left + 30);
    grid->SetColWidths(kListDCol, 100);
    EXPECT_EQ(combo()->geometry().width(), 100);
    EXPECT_TRUE(comboOpen());
}

// ----- a long list -----

TEST_F(ComboGrid, LongListOpensOnTheCellsItem)
{
    QStringList items;
    for (int i = 0; i < 1500; ++i)
        items << QStringLiteral("Position %1").arg(i);
    grid->Columns()[kListCol]->SetComboItems(items);
    grid->SetCellEx(kListCol, 3, "position 1499");
    open(kListDCol, 3);
    ASSERT_TRUE(comboOpen());
    EXPECT_EQ(combo()->count(), 1500);
    EXPECT_EQ(combo()->itemIndex(), 1499);
    EXPECT_TRUE(events.empty());
    key(Qt::Key_Home);
    key(Qt::Key_Return);
    EXPECT_EQ(grid->GetCellEx(kListCol, 3), "Position 0");
}

// ----- item list operations -----

TEST_F(ComboGrid, ListOperationsAndComboIndex)
{
    grid->ClearComboString();
    grid->AddComboString("one");
    grid->AddComboString("two");
    EXPECT_EQ(grid->GetComboCount(), 2);
    EXPECT_TRUE(grid->RemoveComboString("one"));
    EXPECT_FALSE(grid->RemoveComboString("one"));
    EXPECT_FALSE(grid->SetComboSelectionString("none"));

    grid->SetCellEx(kListCol, 4, "GAMMA");
    EXPECT_EQ(grid->GetComboIndex(kListCol, 4), 2);
    grid->SetCellEx(kListCol, 4, "Delta");
    EXPECT_EQ(grid->GetComboIndex(kListCol, 4), -1);
    EXPECT_TRUE(grid->SetComboIndex(kListCol, 4, 1));
    EXPECT_EQ(grid->GetCellEx(kListCol, 4), "Beta");
    EXPECT_FALSE(grid->SetComboIndex(kListCol, 4, 3));
    EXPECT_EQ(grid->GetCellEx(kListCol, 4), "Beta");
}

// ----- in a dialog -----

class ComboGridDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        dialog = std::make_unique<QDialog>();
        auto* layout = new QVBoxLayout(dialog.get());
        grid = new TExtColumnGrid(dialog.get());
        layout->addWidget(grid);
        buildComboGrid(*grid);
        buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
        layout->addWidget(buttons);
        QObject::connect(buttons, &QDialogButtonBox::accepted, dialog.get(), [this] {
            cellAtOk = grid->GetCellEx(kListCol, 2);
            dialog->accept();
        });
        QObject::connect(buttons, &QDialogButtonBox::rejected, dialog.get(), &QDialog::reject);
        buttons->button(QDialogButtonBox::Ok)->setDefault(true);
        grid->SetCellEx(kListCol, 2, "Alpha");
        ASSERT_TRUE(test::showActive(*dialog, *grid));
        grid->MoveCurrentCell(kListDCol, 2, true, true);
        QTest::keyClick(grid, Qt::Key_F2);
        ASSERT_TRUE(grid->comboEditing());
        QTest::keyClick(grid->EditCombo(), Qt::Key_Down);
    }

    std::unique_ptr<QDialog> dialog;
    TExtColumnGrid* grid = nullptr;
    QDialogButtonBox* buttons = nullptr;
    QString cellAtOk;
};

TEST_F(ComboGridDialog, EnterAndEscInTheComboPressNoButton)
{
    QTest::keyClick(grid->EditCombo(), Qt::Key_Return);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), 0);
    EXPECT_EQ(grid->GetCellEx(kListCol, 2), "Beta");
    QTest::keyClick(grid, Qt::Key_F2);
    ASSERT_TRUE(grid->comboEditing());
    QTest::keyClick(grid->EditCombo(), Qt::Key_Escape);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), 0);
}

TEST_F(ComboGridDialog, ClickingOkCommitsTheOpenComboFirst)
{
    QTest::mouseClick(buttons->button(QDialogButtonBox::Ok), Qt::LeftButton);
    EXPECT_EQ(dialog->result(), int(QDialog::Accepted));
    EXPECT_EQ(cellAtOk, "Beta");
    EXPECT_FALSE(grid->comboEditing());
}

}  // namespace
}  // namespace zfw
