// The column grid's print hooks: the colour, font and borders of a printed cell come from its
// column's item (print colour, print font, print borders) or from the print settings, and a
// cell's own settings still win where they are set.
//
// Grid: 5 real columns, one fixed row and column. Item 2 has print colour 0x00AA00, a 14 pt
// print font, top and bottom print borders with a 3 px red pen.

#include "grid/ColumnGrid.h"

#include "support/CaseName.h"

#include <gtest/gtest.h>

#include <functional>

namespace zfw {
namespace {

using test::CaseName;

constexpr TColor kPrintColor = 0x00AA00;
constexpr TColor kIncoming = 0x123456;
constexpr TColor kCellBrush = 0x0000CC;
constexpr TColor kCellFontColor = 0xCC0000;

void shapeGrid(TExtColumnGrid& g)
{
    g.SetColCount(5);
    g.SetRowCount(4);
    g.SetFixedRows(1);
    g.SetFixedCols(1);
    g.SetFixedColor(0x0E0E0E);
    g.PrintSettings.Font = QFont("Serif", 9);
    g.PrintSettings.FixedFont = QFont("Serif", 11);
    TGridColumnItem* item = g.Columns()[2];
    item->SetPrintColor(kPrintColor);
    item->SetPrintFont(QFont("Sans", 14));
    item->SetPrintBorders({TCellBorder::cbTop, TCellBorder::cbBottom});
    item->SetPrintBorderPen({0x0000FF, 3});
}

struct PrintColorCase {
    const char* name;
    int row;
    std::function<void(TExtColumnGrid&)> setUp;
    TColor brush;
    const char* family;
    int pointSize;
    TColor fontColor;
};

const PrintColorCase kPrintColor_[] = {
    {"BodyCellTakesTheItemsPrintColourAndFont", 2, [](TExtColumnGrid&) {}, kPrintColor, "Sans", 14,
     clNone},
    {"WithoutCustomFontThePrintSettingsFont", 2,
     [](TExtColumnGrid& g) { g.Columns()[2]->SetPrintFontCustom(false); }, kPrintColor, "Serif", 9,
     clNone},
    {"HeaderCellThePrintSettingsFixedFont", 0, [](TExtColumnGrid&) {}, kIncoming, "Serif", 11,
     clNone},
    {"FixedItemTheFixedColour", 2, [](TExtColumnGrid& g) { g.Columns()[2]->SetFixed(true); },
     0x0E0E0E, "Sans", 14, clNone},
    {"PrintedBandsKeepTheBandColour", 2,
     [](TExtColumnGrid& g) {
         g.Columns()[2]->SetShowBands(true);
         g.Bands.SetActive(true);
         g.Bands.Print = true;
     },
     kIncoming, "Sans", 14, clNone},
    {"UnprintedBandsTheItemsColour", 2,
     [](TExtColumnGrid& g) {
         g.Columns()[2]->SetShowBands(true);
         g.Bands.SetActive(true);
     },
     kPrintColor, "Sans", 14, clNone},
    {"CellsOwnBrushSizeNameAndColourWin", 2,
     [](TExtColumnGrid& g) {
         g.SetColors(2, 2, kCellBrush);
         g.SetFontColors(2, 2, kCellFontColor);
         g.SetFontSizes(2, 2, 20);
         g.SetFontNames(2, 2, "Mono");
     },
     kCellBrush, "Mono", 20, kCellFontColor},
};

class PrintColorTest : public ::testing::TestWithParam<PrintColorCase> {};

TEST_P(PrintColorTest, AnswersFromTheItemThenTheCell)
{
    const PrintColorCase& c = GetParam();
    TExtColumnGrid g;
    shapeGrid(g);
    c.setUp(g);
    TColor brush = kIncoming;
    QFont font("Screen", 7);
    TColor fontColor = clNone;
    g.GetCellPrintColor(2, c.row, TGridDrawState(), brush, font, fontColor);
    EXPECT_EQ(brush, c.brush);
    EXPECT_EQ(font.family(), QString::fromUtf8(c.family));
    EXPECT_EQ(font.pointSize(), c.pointSize);
    EXPECT_EQ(fontColor, c.fontColor);
}

INSTANTIATE_TEST_SUITE_P(Cells, PrintColorTest, ::testing::ValuesIn(kPrintColor_), CaseName());

TEST(ColumnGridPrintTest, PrintColourEventHasTheLastWord)
{
    TExtColumnGrid g;
    shapeGrid(g);
    g.OnGetCellPrintColor = [](QObject*, int, int ACol, TGridDrawState, TColor& ABrush, QFont&,
                               TColor&) {
        if (ACol == 2)
            ABrush = clYellow;
    };
    TColor brush = kIncoming;
    QFont font;
    TColor fontColor = clNone;
    g.GetCellPrintColor(2, 2, TGridDrawState(), brush, font, fontColor);
    EXPECT_EQ(brush, clYellow);
}

struct PrintBorderCase {
    const char* name;
    int col;
    int row;
    bool custom;
    bool itemBorders;  // the item's print borders and pen are answered
};

const PrintBorderCase kPrintBorders[] = {
    {"BodyCellTakesTheItemsBorders", 2, 2, true, true},
    {"NotCustomLeavesTheIncoming", 2, 2, false, false},
    {"FixedRowLeavesTheIncoming", 2, 0, true, false},
    {"FixedColumnLeavesTheIncoming", 0, 2, true, false},
    // Item 3 keeps the defaults: all four sides, a 1 px black pen.
    {"DefaultItemPrintsAllSides", 3, 2, true, false},
};

class PrintBorderTest : public ::testing::TestWithParam<PrintBorderCase> {};

TEST_P(PrintBorderTest, AnswersTheItemsPrintBordersWhenCustom)
{
    const PrintBorderCase& c = GetParam();
    TExtColumnGrid g;
    shapeGrid(g);
    g.Columns()[2]->SetPrintBorderCustom(c.custom);
    g.Columns()[0]->SetPrintBorders({TCellBorder::cbLeft});
    const TCellBorders incoming{TCellBorder::cbRight};
    TCellBorders borders = incoming;
    TCellBorderPen pen{0x00FF00, 2};
    g.GetCellPrintBorder(c.col, c.row, pen, borders);
    if (c.itemBorders) {
        EXPECT_EQ(borders, (TCellBorders{TCellBorder::cbTop, TCellBorder::cbBottom}));
        EXPECT_EQ(pen.Color, TColor(0x0000FF));
        EXPECT_EQ(pen.Width, 3);
    } else if (c.col == 3) {
        EXPECT_EQ(borders, (TCellBorders{TCellBorder::cbTop, TCellBorder::cbLeft,
                                         TCellBorder::cbRight, TCellBorder::cbBottom}));
        EXPECT_EQ(pen.Color, TColor(0));
        EXPECT_EQ(pen.Width, 1);
    } else {
        EXPECT_EQ(borders, incoming);
        EXPECT_EQ(pen.Color, TColor(0x00FF00));
        EXPECT_EQ(pen.Width, 2);
    }
}

INSTANTIATE_TEST_SUITE_P(Cells, PrintBorderTest, ::testing::ValuesIn(kPrintBorders), CaseName());

}  // namespace
}  // namespace zfw
