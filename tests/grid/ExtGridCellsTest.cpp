// Cell access of the string grid: property readers that never create, writers that create
// and repaint, row-wide colour resets, reads by real row.

#include "grid/ExtGrid.h"

#include "support/CaseName.h"

#include <gtest/gtest.h>

#include <functional>

namespace zfw {
namespace {

// Reads every property of (ACol, ARow) except WordWraps, which creates.
void readAll(const TExtStringGrid& g, int c, int r)
{
    (void)g.GetColors(c, r);
    (void)g.GetColorsTo(c, r);
    (void)g.GetGradientDir(c, r);
    (void)g.GetReadOnly(c, r);
    (void)g.GetFontColors(c, r);
    (void)g.GetFontStyles(c, r);
    (void)g.GetFontNames(c, r);
    (void)g.GetFontSizes(c, r);
    (void)g.GetAlignments(c, r);
}

TEST(ExtGridCells, ReadersAnswerNeutralValuesAndCreateNothing)
{
    TExtStringGrid g;
    readAll(g, 2, 3);
    readAll(g, 99, 99);  // outside the grid
    EXPECT_FALSE(g.store().FHasCellProps());
    EXPECT_EQ(g.GetColors(2, 3), clNone);
    EXPECT_EQ(g.GetFontColors(2, 3), clNone);
    EXPECT_EQ(g.GetAlignments(2, 3), TAlignment::taLeftJustify);
    EXPECT_FALSE(g.GetReadOnly(2, 3));
    // The word-wrap reader answers the default a new cell gets, and creates it.
    EXPECT_TRUE(g.GetWordWraps(2, 3));
    EXPECT_TRUE(g.store().HasCellProperties(2, 3));
}

struct WriterCase {
    const char* name;
    std::function<void(TExtStringGrid&, int, int)> write;
    std::function<bool(const TExtStringGrid&, int, int)> readBack;
};

const WriterCase kWriters[] = {
    {"Colors", [](TExtStringGrid& g, int c, int r) { g.SetColors(c, r, clRed); },
     [](const TExtStringGrid& g, int c, int r) { return g.GetColors(c, r) == clRed; }},
    {"ColorsTo", [](TExtStringGrid& g, int c, int r) { g.SetColorsTo(c, r, clBlue); },
     [](const TExtStringGrid& g, int c, int r) { return g.GetColorsTo(c, r) == clBlue; }},
    {"GradientDir",
     [](TExtStringGrid& g, int c, int r) {
         g.SetGradientDir(c, r, TCellGradientDirection::GradientHorizontal);
     },
     [](const TExtStringGrid& g, int c, int r) {
         return g.GetGradientDir(c, r) == TCellGradientDirection::GradientHorizontal;
     }},
    {"ReadOnly", [](TExtStringGrid& g, int c, int r) { g.SetReadOnly(c, r, true); },
     [](const TExtStringGrid& g, int c, int r) { return g.GetReadOnly(c, r); }},
    {"FontColors", [](TExtStringGrid& g, int c, int r) { g.SetFontColors(c, r, clLime); },
     [](const TExtStringGrid& g, int c, int r) { return g.GetFontColors(c, r) == clLime; }},
    {"FontStyles", [](TExtStringGrid& g, int c, int r) { g.SetFontStyles(c, r, fsBold); },
     [](const TExtStringGrid& g, int c, int r) { return g.GetFontStyles(c, r) == fsBold; }},
    {"FontNames", [](TExtStringGrid& g, int c, int r) { g.SetFontNames(c, r, "Serif"); },
     [](const TExtStringGrid& g, int c, int r) { return g.GetFontNames(c, r) == "Serif"; }},
    {"FontSizes", [](TExtStringGrid& g, int c, int r) { g.SetFontSizes(c, r, 14); },
     [](const TExtStringGrid& g, int c, int r) { return g.GetFontSizes(c, r) == 14; }},
    {"Alignments",
     [](TExtStringGrid& g, int c, int r) { g.SetAlignments(c, r, TAlignment::taCenter); },
     [](const TExtStringGrid& g, int c, int r) {
         return g.GetAlignments(c, r) == TAlignment::taCenter;
     }},
};

class ExtGridWriters : public ::testing::TestWithParam<WriterCase> {};

TEST_P(ExtGridWriters, WriteCreatesReadsBackAndStaysInsideTheGrid)
{
    TExtStringGrid g;
    g.HideColumn(1);  // real column 3 is then display column 2
    GetParam().write(g, 3, 4);
    EXPECT_TRUE(GetParam().readBack(g, 3, 4));
    EXPECT_TRUE(g.store().HasCellProperties(3, 4));
    // A cell outside the grid is left alone, and nothing is created for it.
    GetParam().write(g, 40, 4);
    EXPECT_FALSE(g.store().HasCellProperties(40, 4));
    QString why;
    EXPECT_TRUE(g.store().checkConsistency(&why)) << why.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Props, ExtGridWriters, ::testing::ValuesIn(kWriters), test::CaseName());

// Each reset takes back its one colour and nothing else the cells hold.
struct RowResetCase {
    const char* name;
    void (TExtStringGrid::*setRow)(int, TColor);
    TColor (TExtStringGrid::*read)(int, int) const;
};

const RowResetCase kRowResets[] = {
    {"RowColor", &TExtStringGrid::SetRowColor, &TExtStringGrid::GetColors},
    {"RowColorTo", &TExtStringGrid::SetRowColorTo, &TExtStringGrid::GetColorsTo},
    {"RowFontColor", &TExtStringGrid::SetRowFontColor, &TExtStringGrid::GetFontColors},
};

class ExtGridRowReset : public ::testing::TestWithParam<RowResetCase> {};

TEST_P(ExtGridRowReset, ResetKeepsFlagsGraphicsAndMerges)
{
    TExtStringGrid g;
    const RowResetCase& k = GetParam();
    (g.*k.setRow)(2, clYellow);
    EXPECT_EQ((g.*k.read)(4, 2), clYellow);
    EXPECT_FALSE(g.store().HasCellProperties(0, 2));  // the fixed column is not touched
    g.SetReadOnly(4, 2, true);
    TCellGraphic* box = CreateCellGraphic(g, 3, 2);
    ASSERT_NE(box, nullptr);
    ASSERT_TRUE(g.MergeCells(1, 2, 2, 1));
    g.store().SetObjectEx(4, 2, 77);

    (g.*k.setRow)(2, clNone);
    for (int c = 1; c < 5; ++c)
        EXPECT_EQ((g.*k.read)(c, 2), clNone) << c;
    EXPECT_TRUE(g.GetReadOnly(4, 2));
    EXPECT_EQ(g.store().GetObjectEx(4, 2), 77u);
    EXPECT_EQ(g.store().GetGraphicObjectEx(3, 2), box);
    EXPECT_TRUE(g.store().IsMergedCell(2, 2));
    QString why;
    EXPECT_TRUE(g.store().checkConsistency(&why)) << why.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Resets, ExtGridRowReset, ::testing::ValuesIn(kRowResets),
                         test::CaseName());

TEST(ExtGridCells, StrippedCellAndReadsByRealRow)
{
    TExtStringGrid g;
    g.SetCellEx(1, 2, "<B>12.50</B>");
    EXPECT_EQ(g.GetStrippedCell(1, 2), "12.50");
    g.SetCellEx(1, 3, "three");
    g.SetCellEx(1, 4, "four");
    g.store().HideRow(3);
    EXPECT_EQ(g.GetCellsEx(1, 3), "three");  // hidden row, from its saved texts
    EXPECT_EQ(g.GetCellsEx(1, 4), "four");   // shown at display row 3
    EXPECT_EQ(g.GetCellEx(1, 3), "four");
    EXPECT_EQ(g.GetCellsEx(-1, 4), "");
    EXPECT_EQ(g.GetCellsEx(9, 3), "");  // beyond the saved texts
}

TEST(ExtGridCells, WritesByRealRowPadAHiddenRow)
{
    TExtStringGrid g;
    g.SetColCount(3);
    g.SetCellEx(1, 3, "three");
    g.store().HideRow(3);
    g.SetColCount(7);  // the hidden row saved 3 entries
    ASSERT_EQ(g.store().hiddenRowTexts(3).size(), 3u);
    EXPECT_TRUE(g.SetCellsEx(5, 3, "five"));
    const std::vector<QString> saved = g.store().hiddenRowTexts(3);
    ASSERT_EQ(saved.size(), 6u);
    EXPECT_EQ(saved[1], "three");
    EXPECT_EQ(saved[3], "");
    EXPECT_EQ(saved[4], "");
    EXPECT_EQ(g.GetCellsEx(5, 3), "five");
    // A shown row is written at its display row.
    EXPECT_TRUE(g.SetCellsEx(2, 4, "four"));
    EXPECT_EQ(g.GetCellEx(2, 3), "four");
    // Bad indexes are refused and allocate nothing.
    EXPECT_FALSE(g.SetCellsEx(-1, 3, "x"));
    EXPECT_FALSE(g.SetCellsEx(1 << 20, 3, "x"));
    EXPECT_EQ(g.store().hiddenRowTexts(3).size(), 6u);
    g.store().UnHideRow(3);
    EXPECT_EQ(g.GetCellEx(5, 3), "five");
    QString why;
    EXPECT_TRUE(g.store().checkConsistency(&why)) << why.toStdString();
}

struct IntCase {
    const char* name;
    const char* text;
    bool ok;
    int value;
};

const IntCase kInts[] = {
    {"SpacesAround", " 42 ", true, 42},
    {"Empty", "", true, 0},
    {"LoneMinus", "-", true, 0},
    {"Negative", "-17", true, -17},
    {"InsideMarkup", "<B>7</B>", true, 7},
    {"TrailingLetter", "4x", false, 0},
    {"BeyondThirtyTwoBits", "2147483648", false, 0},
    {"Decimal", "1.5", false, 0},
};

class ExtGridInts : public ::testing::TestWithParam<IntCase> {};

TEST_P(ExtGridInts, ReadWithAResult)
{
    TExtStringGrid g;
    g.SetCellEx(2, 2, QString::fromUtf8(GetParam().text));
    const TExtStringGrid::CellInt got = g.GetInts(2, 2);
    EXPECT_EQ(got.ok, GetParam().ok);
    EXPECT_EQ(got.value, GetParam().value);
    EXPECT_EQ(got.error.isEmpty(), GetParam().ok);
    // Reading changes nothing.
    EXPECT_EQ(g.GetCellEx(2, 2), QString::fromUtf8(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(Texts, ExtGridInts, ::testing::ValuesIn(kInts), test::CaseName());

TEST(ExtGridCells, IntsWrittenAsDecimalText)
{
    TExtStringGrid g;
    g.SetInts(1, 1, -305);
    EXPECT_EQ(g.GetCellEx(1, 1), "-305");
    EXPECT_EQ(g.GetInts(1, 1).value, -305);
}

}  // namespace
}  // namespace zfw
