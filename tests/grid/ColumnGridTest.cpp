// The column grid and its items: defaults, setter effects, the item count following the real
// columns (hidden ones included), hooks answering from the item of the right real column.

#include "grid/ColumnGrid.h"

#include "support/CaseName.h"

#include <QFontMetrics>
#include <QMenu>

#include <gtest/gtest.h>

#include <functional>

namespace zfw {
namespace {

// Counts the grid's repaint requests, so that a setter's "repaint" can be told from "nothing".
class CountingGrid : public TExtColumnGrid {
public:
    using TExtColumnGrid::TExtColumnGrid;
    void Invalidate() override
    {
        ++invalidations;
        TExtColumnGrid::Invalidate();
    }
    int invalidations = 0;
};

// The rule-editor shape: a fixed header row and a fixed number column, ten columns.
void shapeGrid(TExtColumnGrid& g, int cols = 10, int rows = 6)
{
    g.SetColCount(cols);
    g.SetRowCount(rows);
    g.SetFixedRows(1);
    g.SetFixedCols(1);
}

TEST(ColumnItemTest, NewItemTakesTheGridsFontAndColourAndTheFixedDefaults)
{
    TExtColumnGrid g;
    QFont f = g.font();
    f.setPointSize(f.pointSize() + 3);
    g.setFont(f);
    g.SetColor(0x123456);
    TGridColumnItem* item = g.Columns().Insert(0);

    EXPECT_EQ(item->cachedWidth(), 50);
    EXPECT_EQ(item->Font(), f);
    EXPECT_EQ(item->HeaderFont(), f);
    EXPECT_EQ(item->PrintFont(), f);
    EXPECT_EQ(item->Color(), TColor(0x123456));
    EXPECT_EQ(item->CheckTrue(), "Y");
    EXPECT_EQ(item->CheckFalse(), "N");
    EXPECT_EQ(item->DropDownCount(), 8);
    EXPECT_EQ(item->SpinStep(), 1);
    EXPECT_EQ(item->Editor(), TEditorType::edNormal);
    EXPECT_EQ(item->EditLength(), 0);
    EXPECT_FALSE(item->ReadOnly());
    EXPECT_EQ(item->PrintColor(), clWhite);
    EXPECT_EQ(item->BorderPen().Color, clSilver);
    EXPECT_TRUE(item->PrintBorders().contains(TCellBorder::cbBottom));
    EXPECT_TRUE(item->PrintBorderCustom());
    EXPECT_EQ(item->ColumnPopupType(), TColumnPopupType::cpFixedCellsRClick);

    // The grid's spare item has no grid: framework defaults, no width.
    TGridColumnItem spare(nullptr);
    EXPECT_EQ(spare.Width(), 0);
    EXPECT_EQ(spare.Index(), -1);
    EXPECT_EQ(spare.GetDisplayName(), "Column -1");
}

TEST(ColumnItemTest, AddCopiesThePreviousItemsVisualsButNotItsHeaderOrList)
{
    TExtColumnGrid g;
    g.SetFixedRows(0);
    g.Columns().Clear();
    TGridColumnItem* first = g.Columns().Add();
    EXPECT_EQ(first->Editor(), TEditorType::edNormal);
    TGridColumnItem* second = g.Columns().Add();
    second->SetEditor(TEditorType::edComboList);
    second->SetReadOnly(true);
    second->SetCheckTrue("On");
    second->SetComboItems({"a", "b"});
    second->SetHeader("Second");
    second->SetName("ID");
    second->SetTag(7);

    TGridColumnItem* third = g.Columns().Add();
    EXPECT_EQ(third->Editor(), TEditorType::edComboList);
    EXPECT_TRUE(third->ReadOnly());
    EXPECT_EQ(third->CheckTrue(), "On");
    EXPECT_TRUE(third->Header().isEmpty());
    EXPECT_TRUE(third->ComboItems().isEmpty());
    EXPECT_TRUE(third->Name().isEmpty());
    EXPECT_EQ(third->Tag(), 0);
    // Adding items through the collection brings the grid's columns along.
    EXPECT_EQ(g.ColCount(), 3);
}

TEST(ColumnItemTest, HeaderWritesRowZeroOnlyWithFixedRowsAndAlwaysRebuildsTheList)
{
    TExtColumnGrid g;
    shapeGrid(g, 4);
    g.Columns()[2]->SetHeader("Mnemonic");
    EXPECT_EQ(g.Cells(2, 0), "Mnemonic");
    EXPECT_EQ(g.ColumnHeaders().value(2), "Mnemonic");
    EXPECT_EQ(g.ColumnHeaders().size(), 4);

    TExtColumnGrid noFixed;
    noFixed.SetColCount(4);
    noFixed.SetFixedRows(0);
    noFixed.SetFixedCols(0);
    noFixed.Columns()[1]->SetHeader("Port");
    EXPECT_EQ(noFixed.Columns()[1]->Header(), "Port");
    EXPECT_TRUE(noFixed.Cells(1, 0).isEmpty());
    EXPECT_EQ(noFixed.ColumnHeaders().value(1), "Port");
}

struct SetterCase {
    const char* name;
    std::function<void(TGridColumnItem&)> set;
    bool repaints;
};

const SetterCase kSetters[] = {
    {"EditorNormalToComboList", [](TGridColumnItem& i) { i.SetEditor(TEditorType::edComboList); },
     false},
    {"EditorNormalToDataCheckBox",
     [](TGridColumnItem& i) { i.SetEditor(TEditorType::edDataCheckBox); }, true},
    {"EditorDataCheckBoxToNormal",
     [](TGridColumnItem& i) {
         i.SetEditor(TEditorType::edDataCheckBox);
         i.Grid()->Invalidate();
         static_cast<CountingGrid*>(i.Grid())->invalidations = 0;
         i.SetEditor(TEditorType::edNormal);
     },
     true},
    {"EditorSameKind", [](TGridColumnItem& i) { i.SetEditor(TEditorType::edNormal); }, false},
    {"Alignment", [](TGridColumnItem& i) { i.SetAlignment(TAlignment::taCenter); }, true},
    {"Color", [](TGridColumnItem& i) { i.SetColor(clSilver); }, true},
    {"Font",
     [](TGridColumnItem& i) {
         QFont f = i.Font();
         f.setBold(true);
         i.SetFont(f);
     },
     true},
    {"HeaderFont",
     [](TGridColumnItem& i) {
         QFont f = i.HeaderFont();
         f.setItalic(true);
         i.SetHeaderFont(f);
     },
     true},
    {"ComboItems", [](TGridColumnItem& i) { i.SetComboItems({"a"}); }, false},
    {"CheckTexts",
     [](TGridColumnItem& i) {
         i.SetCheckTrue("1");
         i.SetCheckFalse("0");
     },
     false},
    {"ReadOnly", [](TGridColumnItem& i) { i.SetReadOnly(true); }, false},
    {"EditLength", [](TGridColumnItem& i) { i.SetEditLength(15); }, false},
    {"SizeLimits",
     [](TGridColumnItem& i) {
         i.SetMinSize(10);
         i.SetMaxSize(15);
         i.SetAutoMinSize(10);
         i.SetAutoMaxSize(90);
     },
     false},
    {"Name", [](TGridColumnItem& i) { i.SetName("ID"); }, false},
};

class SetterTest : public ::testing::TestWithParam<SetterCase> {};

TEST_P(SetterTest, RepaintsOnlyWhereTheLookChanges)
{
    CountingGrid g;
    shapeGrid(g, 3);
    g.invalidations = 0;
    GetParam().set(*g.Columns()[1]);
    EXPECT_EQ(g.invalidations > 0, GetParam().repaints);
    EXPECT_EQ(g.ColCount(), 3);
    EXPECT_EQ(g.Columns().Count(), 3);
}

INSTANTIATE_TEST_SUITE_P(Settings, SetterTest, ::testing::ValuesIn(kSetters), test::CaseName());

TEST(ColumnItemTest, WidthFollowsTheRealColumnAndAssignCopiesItIntoTheCacheOnly)
{
    TExtColumnGrid g;
    shapeGrid(g, 5);
    g.Columns()[3]->SetWidth(77);
    EXPECT_EQ(g.ColWidths(3), 77);
    g.HideColumn(3);
    EXPECT_EQ(g.Columns()[3]->Width(), 77);
    g.Columns()[3]->SetWidth(90);
    g.UnHideColumn(3);
    EXPECT_EQ(g.ColWidths(3), 90);

    TExtColumnGrid other;
    shapeGrid(other, 5);
    other.SetColWidths(2, 120);
    const int before = g.ColWidths(2);
    g.Columns()[2]->Assign(*other.Columns()[2]);
    EXPECT_EQ(g.Columns()[2]->cachedWidth(), 120);
    EXPECT_EQ(g.ColWidths(2), before);
}

// ----- the item count and hidden columns -----

TEST(ColumnGridTest, HiddenColumnKeepsItsItemAndDisplayColumnsShowTheRightOnes)
{
    TExtColumnGrid g;
    shapeGrid(g, 10);
    for (int i = 0; i < 10; ++i) {
        g.Columns()[i]->SetHeader(QStringLiteral("H%1").arg(i));
        g.SetCellEx(i, 2, QStringLiteral("cell %1").arg(i));
    }
    g.HideColumn(8);
    EXPECT_EQ(g.ColCount(), 9);
    EXPECT_EQ(g.Columns().Count(), 10);
    // Display column 8 is real column 9: its header and its item.
    EXPECT_EQ(g.RealColIndex(8), 9);
    EXPECT_EQ(g.Cells(g.RealColIndex(8), 0), "H9");
    g.Columns()[9]->SetHeader("Mnemonic");
    EXPECT_EQ(g.Cells(9, 0), "Mnemonic");
    EXPECT_EQ(g.Columns()[8]->Header(), "H8");

    // The hint of display column 8 is real column 9's text.
    g.resize(900, 300);
    g.SetDefaultColWidth(60);
    g.HintShowCells = true;
    const TRect r = g.CellRect(8, 2);
    ASSERT_FALSE(r.isEmpty());
    EXPECT_EQ(g.cellHint(QPoint(r.Left + 3, r.Top + 3)), "cell 9");

    // Showing it again changes no item; raising and lowering the count does.
    g.UnHideColumn(8);
    EXPECT_EQ(g.Columns().Count(), 10);
    EXPECT_EQ(g.Columns()[8]->Header(), "H8");
}

TEST(ColumnGridTest, ColCountAddsItemsLikeTheLastAndFreesFromTheEnd)
{
    TExtColumnGrid g;
    shapeGrid(g, 3);
    g.Columns()[2]->SetEditor(TEditorType::edDataCheckBox);
    g.Columns()[2]->SetCheckTrue("1");
    g.Columns()[2]->SetHeader("Enable");
    TGridColumnItem* kept = g.Columns()[1];

    g.SetColCount(5);
    ASSERT_EQ(g.Columns().Count(), 5);
    for (int i : {3, 4}) {
        EXPECT_EQ(g.Columns()[i]->Editor(), TEditorType::edDataCheckBox) << i;
        EXPECT_EQ(g.Columns()[i]->CheckTrue(), "1") << i;
        EXPECT_TRUE(g.Columns()[i]->Header().isEmpty()) << i;
    }
    g.SetColCount(2);
    EXPECT_EQ(g.Columns().Count(), 2);
    EXPECT_EQ(g.Columns()[1], kept);

    // Hidden columns count as items: 5 columns of which 2 hidden keep 7 items.
    g.SetColCount(7);
    g.HideColumn(2);
    g.HideColumn(4);
    EXPECT_EQ(g.ColCount(), 5);
    EXPECT_EQ(g.Columns().Count(), 7);
    g.SetColCount(6);
    EXPECT_EQ(g.Columns().Count(), 8);
}

TEST(ColumnGridTest, InsertAndRemoveColumnsMoveTheItemsWithThem)
{
    TExtColumnGrid g;
    shapeGrid(g, 4);
    g.Columns()[2]->SetName("two");
    g.Columns()[3]->SetName("three");
    g.InsertCols(2, 1);
    ASSERT_EQ(g.Columns().Count(), 5);
    EXPECT_TRUE(g.Columns()[2]->Name().isEmpty());
    EXPECT_EQ(g.Columns()[3]->Name(), "two");
    EXPECT_EQ(g.GetColumnByName("three"), g.Columns()[4]);
    g.RemoveCols(2, 2);
    EXPECT_EQ(g.ColCount(), 3);
    ASSERT_EQ(g.Columns().Count(), 3);
    EXPECT_EQ(g.Columns()[2]->Name(), "three");
    EXPECT_EQ(g.GetColumnByName("two"), nullptr);
}

TEST(ColumnGridTest, LoadedNumbersTheDefaultPositionsAndResetRestoresThem)
{
    TExtColumnGrid g;
    shapeGrid(g, 5);
    for (int i = 0; i < 5; ++i)
        g.Columns()[i]->SetName(QString::number(i));
    g.Columns()[2]->SetColumnPopupType(TColumnPopupType::cpAllCellsLClick);
    g.Loaded();
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(g.Columns()[i]->DefIdx(), i);

    int from = -1;
    int to = -1;
    g.OnAfterColumnMoved = [&](QObject*, int f, int t) {
        from = f;
        to = t;
    };
    g.MoveColumn(2, 4);
    EXPECT_EQ(from, 2);
    EXPECT_EQ(to, 4);
    EXPECT_EQ(g.Columns().Count(), 5);
    EXPECT_EQ(g.Columns()[4]->Name(), "2");
    // The item moved as a whole: nothing a copy would leave behind is lost.
    EXPECT_EQ(g.Columns()[4]->ColumnPopupType(), TColumnPopupType::cpAllCellsLClick);

    g.Columns().ResetOrganization();
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(g.Columns()[i]->Name(), QString::number(i));

    // Positions that are no permutation would make the passes run for ever: nothing moves.
    g.Columns()[3]->SetDefIdx(1);
    g.MoveColumn(1, 4);
    const QString before = g.Columns()[1]->Name();
    g.Columns().ResetOrganization();
    EXPECT_EQ(g.Columns()[1]->Name(), before);
}

// ----- editability -----

struct EditableCase {
    const char* name;
    bool itemReadOnly;
    bool cellReadOnly;
    bool fixedRow;
    int event;  // -1: no OnCanEditCell; 0 / 1: it answers false / true
    bool editable;
};

const EditableCase kEditable[] = {
    {"Writable", false, false, false, -1, true},
    {"ItemReadOnly", true, false, false, -1, false},
    {"CellReadOnly", false, true, false, -1, false},
    {"BothReadOnly", true, true, false, -1, false},
    {"FixedRow", false, false, true, -1, false},
    {"EventRefusesWritable", false, false, false, 0, false},
    {"EventAllowsItemReadOnly", true, false, false, 1, true},
    {"EventAllowsFixedRow", false, false, true, 1, true},
    {"ReadOnlyItemCellFlagOff", true, false, false, -1, false},
};

class EditableTest : public ::testing::TestWithParam<EditableCase> {};

TEST_P(EditableTest, ItemCellRowAndEventDecideInThatOrder)
{
    const EditableCase& c = GetParam();
    TExtColumnGrid g;
    shapeGrid(g, 5);
    // A hidden column left of the cell: the item is still that of the real column.
    g.HideColumn(1);
    const int col = 3;
    const int row = c.fixedRow ? 0 : 2;
    g.Columns()[col]->SetReadOnly(c.itemReadOnly);
    g.Columns()[1]->SetReadOnly(!c.itemReadOnly);
    if (c.cellReadOnly)
        g.SetReadOnly(col, row, true);
    int seenRow = -1;
    int seenCol = -1;
    if (c.event >= 0)
        g.OnCanEditCell = [&](QObject*, int ARow, int ACol, bool& can) {
            seenRow = ARow;
            seenCol = ACol;
            can = c.event == 1;
        };
    bool can = true;
    g.QueryCellEditable(col, row, can);
    EXPECT_EQ(can, c.editable);
    if (c.event >= 0) {
        EXPECT_EQ(seenRow, row);
        EXPECT_EQ(seenCol, col);
    }
}

INSTANTIATE_TEST_SUITE_P(Axes, EditableTest, ::testing::ValuesIn(kEditable), test::CaseName());

TEST(ColumnGridTest, HooksAnswerFromTheItemOfTheRealColumn)
{
    TExtColumnGrid g;
    shapeGrid(g, 6);
    g.HideColumn(2);
    TGridColumnItem* item = g.Columns()[4];  // shown as display column 3
    item->SetAlignment(TAlignment::taCenter);
    item->SetEditor(TEditorType::edComboList);
    item->SetEditLength(15);
    item->SetPassword(true);
    item->SetFixed(true);

    TAlignment ha = TAlignment::taLeftJustify;
    TVAlignment va = TVAlignment::vtaTop;
    g.GetCellAlignment(4, 2, ha, va);
    EXPECT_EQ(ha, TAlignment::taCenter);
    TEditorType kind = TEditorType::edNormal;
    g.GetCellEditor(4, 2, kind);
    EXPECT_EQ(kind, TEditorType::edComboList);
    EXPECT_TRUE(g.DoHasComboBox(4, 2));
    EXPECT_FALSE(g.DoHasComboBox(4, 0));
    bool pw = false;
    g.IsPasswordCell(4, 2, pw);
    EXPECT_TRUE(pw);
    EXPECT_TRUE(g.IsFixed(4, 2));
    EXPECT_FALSE(g.IsFixed(3, 2));

    // The edit limit is that of the current display column's item; a fixed column keeps the
    // grid's.
    g.FocusCell(3, 2);
    EXPECT_EQ(g.GetEditLimit(), 15);
    g.FocusCell(0, 2);
    EXPECT_EQ(g.GetEditLimit(), 0);
}

TEST(ColumnGridTest, FloatFormatStaysWithItsColumn)
{
    TExtColumnGrid g;
    shapeGrid(g, 4);
    g.Columns()[2]->SetFloatFormat("%.3f");
    for (int c : {2, 3})
        g.SetCellEx(c, 1, "1.5");
    g.SetCellEx(2, 2, "n/a");
    TEditorType kind = TEditorType::edNormal;
    g.GetCellEditor(2, 1, kind);
    EXPECT_EQ(g.GetFormattedCell(2, 1), "1.500");
    EXPECT_EQ(g.GetFormattedCell(2, 2), "n/a");
    // Opening the column's editor left the format in the grid before; other columns keep
    // the grid's own.
    EXPECT_EQ(g.FloatFormat, "%.2f");
    EXPECT_EQ(g.GetFormattedCell(3, 1), "1.5");
}

TEST(ColumnGridTest, DataCheckBoxColumnUsesTheItemsTexts)
{
    TExtColumnGrid g;
    shapeGrid(g, 4);
    TGridColumnItem* item = g.Columns()[2];
    item->SetEditor(TEditorType::edDataCheckBox);
    g.SetCellEx(2, 1, "Y");
    g.SetCellEx(2, 2, "N");
    // A form's check-true text does not reach body cells of a column with an item.
    g.OnGetCheckTrue = [](QObject*, int, int, QString& v) { v = "T"; };

    EXPECT_TRUE(g.HasCheckBox(2, 1));
    EXPECT_FALSE(g.HasCheckBox(2, 0));  // header row
    EXPECT_FALSE(g.HasCheckBox(1, 1));
    EXPECT_TRUE(g.IsChecked(2, 1));
    EXPECT_FALSE(g.IsChecked(2, 2));

    ASSERT_TRUE(g.ToggleCheckBox(2, 1));
    EXPECT_EQ(g.Cells(2, 1), "N");
    ASSERT_TRUE(g.ToggleCheckBox(2, 3));  // an empty cell becomes checked
    EXPECT_EQ(g.Cells(2, 3), "Y");

    // Own check texts of the item.
    item->SetCheckTrue("1");
    item->SetCheckFalse("0");
    ASSERT_TRUE(g.ToggleCheckBox(2, 3));
    EXPECT_EQ(g.Cells(2, 3), "1");
    ASSERT_TRUE(g.ToggleCheckBox(2, 3));
    EXPECT_EQ(g.Cells(2, 3), "0");

    item->SetEditor(TEditorType::edNormal);
    EXPECT_FALSE(g.HasCheckBox(2, 1));
}

// The right fixed columns belong to no body: their items neither colour them nor make their
// cells check boxes, while the same settings one column to the left do.
TEST(ColumnGridTest, RightFixedColumnTakesNoBodySettingsOfItsItem)
{
    TExtColumnGrid g;
    shapeGrid(g, 5);
    g.SetFixedRightCols(1);
    for (int c : {3, 4}) {
        g.Columns()[c]->SetEditor(TEditorType::edDataCheckBox);
        g.Columns()[c]->SetColor(0x00FF00);
        g.SetCellEx(c, 1, "Y");
    }
    for (int c : {3, 4}) {
        const bool body = c == 3;
        EXPECT_EQ(g.HasCheckBox(c, 1), body) << c;
        TColor brush = 0x123456;
        QFont font;
        TColor fontColor = clNone;
        g.GetCellColor(c, 1, TGridDrawState(), brush, font, fontColor);
        EXPECT_EQ(brush, body ? TColor(0x00FF00) : TColor(0x123456)) << c;
    }
}

// ----- sizing -----

struct AutoSizeCase {
    const char* name;
    std::function<void(TExtColumnGrid&)> setup;
    int padding;
    std::function<int(int textWidth)> expected;
};

// Display column 2 holds the measured text; real column 1 is hidden in every case, so that
// display column 2 is real column 3.
const AutoSizeCase kAutoSize[] = {
    {"ContentPlusEight", [](TExtColumnGrid&) {}, 0, [](int w) { return w + 8; }},
    {"Padding", [](TExtColumnGrid&) {}, 10, [](int w) { return w + 18; }},
    {"MaxColWidth", [](TExtColumnGrid& g) { g.MaxColWidth = 50; }, 0, [](int) { return 50; }},
    {"GrowOnlyKeepsWider",
     [](TExtColumnGrid& g) {
         g.SizeGrowOnly = true;
         g.SetColWidths(2, 300);
     },
     0, [](int) { return 300; }},
    {"ItemAutoMaxOfTheRealColumn",
     [](TExtColumnGrid& g) {
         g.Columns()[3]->SetAutoMaxSize(40);
         g.Columns()[2]->SetAutoMaxSize(20);
     },
     0, [](int) { return 40; }},
    {"ItemAutoMinOfTheRealColumn",
     [](TExtColumnGrid& g) {
         g.Columns()[3]->SetAutoMinSize(400);
         g.Columns()[2]->SetAutoMinSize(20);
     },
     0, [](int) { return 400; }},
};

class AutoSizeColTest : public ::testing::TestWithParam<AutoSizeCase> {};

TEST_P(AutoSizeColTest, WidestContentWithinTheLimits)
{
    const AutoSizeCase& c = GetParam();
    TExtColumnGrid g;
    shapeGrid(g, 5);
    const QString text = QStringLiteral("Temperature sensor");
    g.SetCellEx(3, 2, text);
    g.SetCellEx(3, 3, QStringLiteral("T"));
    g.HideColumn(1);
    ASSERT_EQ(g.RealColIndex(2), 3);
    c.setup(g);
    const int textWidth = QFontMetrics(g.Columns()[3]->Font()).horizontalAdvance(text);
    g.AutoSizeCol(2, c.padding);
    EXPECT_EQ(g.ColWidths(2), c.expected(textWidth));
    EXPECT_EQ(g.Columns()[3]->cachedWidth(), g.ColWidths(2));
}

INSTANTIATE_TEST_SUITE_P(Limits, AutoSizeColTest, ::testing::ValuesIn(kAutoSize), test::CaseName());

TEST(ColumnGridTest, EmptyColumnOfALoadedGridKeepsTheLowerLimit)
{
    TExtColumnGrid g;
    shapeGrid(g, 4);
    g.SetCellEx(2, 0, QString());
    g.Loaded();
    g.AutoSizeCol(2, 0);
    EXPECT_EQ(g.ColWidths(2), 10);
}

}  // namespace
}  // namespace zfw
