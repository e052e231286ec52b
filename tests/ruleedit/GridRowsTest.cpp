// The row tools on real grids: a 5-column, 5-row grid whose column 1 is a data check box
// ("Y"/"N" texts) and whose real column 3 is hidden, and a check-box string grid with plain
// boxes and read-only cells.

#include "ruleedit/UGridRows.h"

#include "grid/ExtGrid.h"
#include "support/CaseName.h"

#include <gtest/gtest.h>

#include <functional>

namespace zfw {
namespace {

QString rowText(const TExtStringGrid& g, int r)
{
    QStringList cells;
    for (int c = 1; c < g.store().AllColCount(); ++c)
        cells.append(g.GetCellEx(c, r));
    return cells.join(QLatin1Char('|'));
}

// Rows 1-4 hold "Y|a1|h1|b1" ... "Y|a4|h4|b4"; column 3 (the h cells) is hidden.
std::unique_ptr<TExtStringGrid> ruleGrid()
{
    auto g = std::make_unique<TExtStringGrid>();
    g->SetColCount(5);
    g->SetRowCount(5);
    g->AddCheckBoxColumn(1, true, true);
    for (int r = 1; r < 5; ++r) {
        g->SetCellEx(1, r, QStringLiteral("Y"));
        g->SetCellEx(2, r, QStringLiteral("a%1").arg(r));
        g->SetCellEx(3, r, QStringLiteral("h%1").arg(r));
        g->SetCellEx(4, r, QStringLiteral("b%1").arg(r));
    }
    g->HideColumn(3);
    return g;
}

struct MoveCase {
    const char* name;
    std::function<void(TExtStringGrid&)> op;
    QStringList rows;  // rows 1-4 afterwards
};

const MoveCase kMoveCases[] = {
    {"DeleteFirstMovesUpAndEmptiesTheLast",
     [](TExtStringGrid& g) { Delete_Row_Grid(1, g); },
     {"Y|a2|h2|b2", "Y|a3|h3|b3", "Y|a4|h4|b4", "|||"}},
    {"DeleteLastOnlyEmptiesIt",
     [](TExtStringGrid& g) { Delete_Row_Grid(4, g); },
     {"Y|a1|h1|b1", "Y|a2|h2|b2", "Y|a3|h3|b3", "|||"}},
    {"InsertEnabledLosesTheLast",
     [](TExtStringGrid& g) { Insert_Row_Grid(2, g, true); },
     {"Y|a1|h1|b1", "Y|||", "Y|a2|h2|b2", "Y|a3|h3|b3"}},
    {"InsertAtTheLastOverwritesIt",
     [](TExtStringGrid& g) { Insert_Row_Grid(4, g, false); },
     {"Y|a1|h1|b1", "Y|a2|h2|b2", "Y|a3|h3|b3", "|||"}},
    {"OutsideTheRulesNothing",
     [](TExtStringGrid& g) {
         Delete_Row_Grid(0, g);
         Insert_Row_Grid(5, g, true);
     },
     {"Y|a1|h1|b1", "Y|a2|h2|b2", "Y|a3|h3|b3", "Y|a4|h4|b4"}},
};

class GridRowMoves : public ::testing::TestWithParam<MoveCase> {};

TEST_P(GridRowMoves, HiddenColumnsMoveWithTheRow)
{
    auto g = ruleGrid();
    GetParam().op(*g);
    QStringList rows;
    for (int r = 1; r < 5; ++r)
        rows.append(rowText(*g, r));
    EXPECT_EQ(rows, GetParam().rows);
    EXPECT_TRUE(g->IsHiddenColumn(3));
}

INSTANTIATE_TEST_SUITE_P(Cases, GridRowMoves, ::testing::ValuesIn(kMoveCases), test::CaseName());

struct PasteCase {
    const char* name;
    bool copied;
    QStringList buffer;
    QStringList target;  // columns 1-4 of row 2 before the paste
    bool answer;         // to 1100
    int errorText;
    bool asked;
    QString after;
};

const QStringList kBuffer = {"N", "x", "hx", "y"};

const PasteCase kPasteCases[] = {
    {"NoCopyBeforeWrongSize",
     false,
     {"too", "short"},
     {"Y", "", "", ""},
     true,
     1102,
     false,
     "Y|||"},
    {"WrongSize", true, {"too", "short"}, {"Y", "", "", ""}, true, 1101, false, "Y|||"},
    {"FreeRowWithoutAsking", true, kBuffer, {"Y", "", "", ""}, false, 0, false, "N|x|hx|y"},
    {"BlanksOnlyCountAsFree", true, kBuffer, {"N", "  ", "", " "}, false, 0, false, "N|x|hx|y"},
    {"HiddenColumnMakesItUsed", true, kBuffer, {"Y", "", "h", ""}, false, 0, true, "Y||h|"},
    {"UsedRowOverwrittenOnYes", true, kBuffer, {"Y", "a", "", ""}, true, 0, true, "N|x|hx|y"},
};

class GridRowPaste : public ::testing::TestWithParam<PasteCase> {};

TEST_P(GridRowPaste, RefusesAsksOrWrites)
{
    const PasteCase& c = GetParam();
    auto g = ruleGrid();
    for (int i = 0; i < 4; ++i)
        g->SetCellEx(i + 1, 2, c.target[i]);
    bool asked = false;
    const PasteResult result = Paste_Row_Grid(*g, 2, c.copied, c.buffer, [&](int text) {
        asked = true;
        EXPECT_EQ(text, kTextPasteOverwrite);
        return c.answer;
    });
    EXPECT_EQ(result.errorText, c.errorText);
    EXPECT_EQ(asked, c.asked);
    EXPECT_EQ(rowText(*g, 2), c.after);
}

INSTANTIATE_TEST_SUITE_P(Cases, GridRowPaste, ::testing::ValuesIn(kPasteCases), test::CaseName());

TEST(GridRows, CopyTakesEveryDataColumnHiddenOnesIncluded)
{
    auto g = ruleGrid();
    QStringList buffer{"old"};
    Copy_Row_Grid(*g, 3, buffer);
    EXPECT_EQ(buffer, (QStringList{"Y", "a3", "h3", "b3"}));
    EXPECT_EQ(gridDataColumns(*g), 4);
}

// ---- check-box string grids -----------------------------------------------------------------

// Columns 1 and 3 hold plain boxes; row r is read-only in column 2 when r is odd.
std::unique_ptr<TExtStringGrid> checkBoxGrid()
{
    auto g = std::make_unique<TExtStringGrid>();
    g->SetColCount(4);
    g->SetRowCount(4);
    for (int r = 1; r < 4; ++r) {
        g->AddCheckBox(1, r, r == 1, false);
        g->SetCellEx(2, r, QStringLiteral("t%1").arg(r));
        g->AddCheckBox(3, r, r != 1, false);
        g->SetReadOnly(2, r, r % 2 == 1);
    }
    return g;
}

// "state|text|state|readOnly of column 2".
QString checkRow(TExtStringGrid& g, int r)
{
    bool a = false, b = false;
    g.GetCheckBoxState(1, r, a);
    g.GetCheckBoxState(3, r, b);
    return QStringLiteral("%1|%2|%3|%4")
        .arg(a ? "Y" : "N", g.GetCellEx(2, r), b ? "Y" : "N", g.GetReadOnly(2, r) ? "ro" : "rw");
}

TEST(GridRowsCheckBox, DeleteAndInsertMoveStatesAndReadOnlyFlags)
{
    auto g = checkBoxGrid();
    Delete_Row_Grid_CheckBox(1, *g, true);
    EXPECT_EQ(checkRow(*g, 1), QStringLiteral("N|t2|Y|rw"));
    EXPECT_EQ(checkRow(*g, 2), QStringLiteral("N|t3|Y|ro"));
    EXPECT_EQ(checkRow(*g, 3), QStringLiteral("Y||N|ro"));

    Insert_Row_Grid_CheckBox(1, *g, false);
    EXPECT_EQ(checkRow(*g, 1), QStringLiteral("N||N|rw"));
    EXPECT_EQ(checkRow(*g, 2), QStringLiteral("N|t2|Y|rw"));
    EXPECT_EQ(checkRow(*g, 3), QStringLiteral("N|t3|Y|ro"));
}

TEST(GridRowsCheckBox, CopyMarksBoxesAndPasteCountsBlanksAsUse)
{
    auto g = checkBoxGrid();
    QStringList buffer;
    QList<bool> marks;
    Copy_Row_Grid_CheckBox(*g, 1, buffer, marks);
    EXPECT_EQ(buffer, (QStringList{"Y", "t1", "N"}));
    EXPECT_EQ(marks, (QList<bool>{true, false, true}));

    int asked = 0;
    auto no = [&](int) {
        ++asked;
        return false;
    };
    EXPECT_EQ(Paste_Row_Grid_CheckBox(*g, 2, false, buffer, marks, no).errorText, 1102);
    EXPECT_EQ(Paste_Row_Grid_CheckBox(*g, 2, true, buffer, {true}, no).errorText, 1101);
    g->SetCellEx(2, 2, QStringLiteral(" "));
    EXPECT_FALSE(Paste_Row_Grid_CheckBox(*g, 2, true, buffer, marks, no).pasted);
    EXPECT_EQ(asked, 1);
    g->SetCellEx(2, 2, QString());
    EXPECT_TRUE(Paste_Row_Grid_CheckBox(*g, 2, true, buffer, marks, no).pasted);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(checkRow(*g, 2), QStringLiteral("Y|t1|N|rw"));
}

// ---- double click and Enter -----------------------------------------------------------------

TEST(GridRowsEvents, AutoSizeOnlyOnTheHeaderWithTheOption)
{
    auto g = ruleGrid();
    g->SetCellEx(2, 0, QStringLiteral("A rather long header text"));
    const int before = g->ColWidths(2);
    EXPECT_FALSE(Grid_Auto_Size_Col(*g, 0, 2, false));
    EXPECT_FALSE(Grid_Auto_Size_Col(*g, 1, 2, true));
    EXPECT_EQ(g->ColWidths(2), before);
    EXPECT_TRUE(Grid_Auto_Size_Col(*g, 0, 2, true));
    EXPECT_GT(g->ColWidths(2), before);
}

struct EnterCase {
    const char* name;
    int col, row;
    bool option;
    char16_t key;
    int toCol, toRow;
    char16_t keyAfter;
};

// Display columns 0-3 (real column 3 hidden).
const EnterCase kEnterCases[] = {
    {"NextColumn", 1, 2, true, 13, 2, 2, 0},
    {"LastColumnToNextRow", 3, 2, true, 13, 1, 3, 0},
    {"LastCellToRowOne", 3, 4, true, 13, 1, 1, 0},
    {"OptionOffLeavesTheKey", 1, 2, false, 13, 1, 2, 13},
    {"OtherKeyLeft", 1, 2, true, u'a', 1, 2, u'a'},
};

class GridRowsEnter : public ::testing::TestWithParam<EnterCase> {};

TEST_P(GridRowsEnter, MovesAndConsumes)
{
    const EnterCase& c = GetParam();
    auto g = ruleGrid();
    g->MoveCurrentCell(c.col, c.row, true, true);
    char16_t key = c.key;
    Grid_Jump_Next_Cell(*g, key, c.option);
    EXPECT_EQ(key, c.keyAfter);
    EXPECT_EQ(g->Col(), c.toCol);
    EXPECT_EQ(g->Row(), c.toRow);
}

INSTANTIATE_TEST_SUITE_P(Cases, GridRowsEnter, ::testing::ValuesIn(kEnterCases), test::CaseName());

}  // namespace
}  // namespace zfw
