// Cell access of the string grid: property readers that never create, writers that create
// and repaint, row-wide colour resets, reads by real row.

#include "grid/ExtGrid.h"

#include "support/CaseName.h"

#include "grid/ExtUtil.h"

#include <QLabel>
#include <QLocale>

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

struct FloatCase {
    const char* name;
    const char* text;
    QLocale::Language language;  // the grid's locale gives the separators
    bool ok;
    double value;
};

const FloatCase kFloats[] = {
    {"InsideBoldMarkup", "<B>12.50</B>", QLocale::C, true, 12.5},
    {"Parentheses", "(3.5)", QLocale::C, true, -3.5},
    {"Empty", "", QLocale::C, true, 0.0},
    {"LoneMinus", "-", QLocale::C, true, 0.0},
    {"CurrencyPrefix", "$ 12", QLocale::C, true, 12.0},
    {"LeadingMinusDropped", "x-4", QLocale::C, true, -4.0},
    {"Exponent", "1e3", QLocale::C, true, 1000.0},
    {"CommaDecimalLocale", "(1.234,50)", QLocale::German, true, -1234.5},
    {"MinusInside", "1-2", QLocale::C, false, 0.0},
    {"TwoPoints", "1.2.3", QLocale::C, false, 0.0},
    {"ThousandsSkipped", "1.2.3", QLocale::German, true, 123.0},
};

class ExtGridFloats : public ::testing::TestWithParam<FloatCase> {};

TEST_P(ExtGridFloats, ReadWithAResult)
{
    TExtStringGrid g;
    g.setLocale(QLocale(GetParam().language));
    g.SetCellEx(2, 2, QString::fromUtf8(GetParam().text));
    const TExtStringGrid::CellFloat got = g.GetFloats(2, 2);
    EXPECT_EQ(got.ok, GetParam().ok);
    EXPECT_DOUBLE_EQ(got.value, GetParam().value);
    EXPECT_EQ(got.error, GetParam().ok ? "" : "Cell does not contain a float value");
}

INSTANTIATE_TEST_SUITE_P(Texts, ExtGridFloats, ::testing::ValuesIn(kFloats), test::CaseName());

struct FloatWriteCase {
    const char* name;
    const char* format;
    double value;
    const char* written;  // nullptr: refused, the cell keeps "old"
};

const FloatWriteCase kFloatWrites[] = {
    {"Default", "%.2f", 2, "2.00"},
    {"WithUnitAndPercent", "%.1f %%", 12.26, "12.3 %"},
    {"Width", "[%8.3f]", -1.5, "[  -1.500]"},
    {"LeftJustified", "[%-6.1f]", 1, "[1.0   ]"},
    {"NoPrecisionMeansTwo", "%f", 3, "3.00"},
    {"Grouped", "%.0n", 1234567, "1,234,567"},
    {"NoConversionIsPlainText", "n/a", 5, "n/a"},
    {"StringConversionRefused", "%s", 1, nullptr},
    {"IntegerConversionRefused", "%d", 1, nullptr},
    {"TwoConversionsRefused", "%f %f", 1, nullptr},
    {"HugeWidthRefused", "%99999f", 1, nullptr},
    {"DanglingPercentRefused", "%.2", 1, nullptr},
};

class ExtGridFloatWrites : public ::testing::TestWithParam<FloatWriteCase> {};

TEST_P(ExtGridFloatWrites, WrittenInTheGridsPattern)
{
    TExtStringGrid g;
    g.FloatFormat = QString::fromUtf8(GetParam().format);
    g.SetCellEx(1, 1, "old");
    const bool written = g.SetFloats(1, 1, GetParam().value);
    EXPECT_EQ(written, GetParam().written != nullptr);
    EXPECT_EQ(g.GetCellEx(1, 1),
              GetParam().written ? QString::fromUtf8(GetParam().written) : QString("old"));
}

INSTANTIATE_TEST_SUITE_P(Patterns, ExtGridFloatWrites, ::testing::ValuesIn(kFloatWrites),
                         test::CaseName());

// A column grid answers its own pattern through GetFloatFormat; the real-row writer keeps to
// the grid's FloatFormat.
class ColumnFormatGrid : public TExtStringGrid {
public:
    QString GetFloatFormat() override { return QStringLiteral("%.0f"); }
};

TEST(ExtGridCells, RealRowAccessOnAHiddenRow)
{
    ColumnFormatGrid g;
    g.SetCellEx(1, 3, "<B>7</B>");
    g.SetCellEx(2, 3, "(2.5)");
    g.store().HideRow(3);
    // The All forms read through GetCellsEx: mini-HTML is not removed.
    EXPECT_FALSE(g.GetAllInts(1, 3).ok);
    EXPECT_DOUBLE_EQ(g.GetAllFloats(2, 3).value, -2.5);
    EXPECT_TRUE(g.SetAllInts(1, 3, 8));
    EXPECT_TRUE(g.SetAllFloats(3, 3, 1.5));
    EXPECT_EQ(g.GetCellsEx(1, 3), "8");
    EXPECT_EQ(g.GetCellsEx(3, 3), "1.50");
    EXPECT_TRUE(g.SetFloats(3, 4, 1.5));  // a shown cell takes the column's pattern
    EXPECT_EQ(g.GetCellEx(3, 4), "2");
    // Raw access skips the display hook, the hooked access does not.
    g.OnGetDisplText = [](QObject*, int, int, QString& v) { v = "[" + v + "]"; };
    EXPECT_EQ(g.GetCellsEx(1, 3), "[8]");
    EXPECT_EQ(g.GetGridCellsEx(1, 3), "8");
    EXPECT_TRUE(g.SetGridCellsEx(4, 3, "raw"));
    EXPECT_EQ(g.GetGridCellsEx(4, 3), "raw");
    EXPECT_EQ(g.GetCellsEx(4, 3), "[raw]");
    EXPECT_EQ(g.GetGridCellsEx(-1, 3), "");
    EXPECT_FALSE(g.SetGridCellsEx(1, -1, "x"));
    QString why;
    EXPECT_TRUE(g.store().checkConsistency(&why)) << why.toStdString();
}

TEST(ExtGridCells, WideViewsUnpackAndLinesCount)
{
    TExtStringGrid g;
    const QString wide = QStringLiteral("\u20AC 5");
    g.SetCellEx(1, 1, PackWideText(wide));
    EXPECT_EQ(g.GetWideCells(1, 1), wide);
    EXPECT_EQ(g.GetWideCellsEx(1, 1), wide);
    g.SetCellEx(1, 2, "a\rb\rc");
    EXPECT_EQ(g.GetLinesInCell(1, 2), 3);
    EXPECT_EQ(g.GetLinesInCell(1, 3), 1);
}

struct SortIndexCase {
    const char* name;
    QList<int> xref;
    int row;
    int sorted;
    int unsorted;
};

const SortIndexCase kSortIndexes[] = {
    {"EmptyList", {}, 3, 3, 3},
    {"Found", {0, 3, 1, 2}, 3, 2, 1},
    {"NotInTheList", {0, 2, 1}, 7, 7, 3},
    {"PastTheList", {1, 0}, 2, 2, 2},
};

class ExtGridSortIndexes : public ::testing::TestWithParam<SortIndexCase> {};

TEST_P(ExtGridSortIndexes, RowsThroughTheCrossReference)
{
    TExtStringGrid g;
    for (int v : GetParam().xref)
        g.SortXRef.Add(v);
    EXPECT_EQ(g.SortedRowIndex(GetParam().row), GetParam().sorted);
    EXPECT_EQ(g.UnSortedRowIndex(GetParam().row), GetParam().unsorted);
}

INSTANTIATE_TEST_SUITE_P(Lists, ExtGridSortIndexes, ::testing::ValuesIn(kSortIndexes),
                         test::CaseName());

TEST(ExtGridCells, UnsortedCellFollowsTheRowItStoodAt)
{
    TExtStringGrid g;
    for (int v : {0, 3, 1, 2})
        g.SortXRef.Add(v);
    g.SetCellEx(1, 1, "was three");
    EXPECT_EQ(g.GetUnSortedCell(1, 3), "was three");
    g.SetUnSortedCell(1, 2, "was two");
    EXPECT_EQ(g.GetCellEx(1, 3), "was two");
    EXPECT_EQ(g.GetUnSortedCell(1, 8), "");  // past the list: the row itself
}

TEST(ExtGridCells, CellControlsCountedPlacedAndForgotten)
{
    TExtStringGrid g;
    g.resize(400, 250);
    EXPECT_EQ(g.GetCellControls(2, 2), nullptr);
    EXPECT_FALSE(g.store().FHasCellProps());  // the query creates nothing

    auto* label = new QLabel("x");
    g.SetCellControls(2, 2, label);
    EXPECT_EQ(g.numCellControls(), 1);
    EXPECT_EQ(g.GetCellControls(2, 2), label);
    EXPECT_EQ(label->parentWidget(), g.viewport());
    const TRect r = g.CellRect(2, 2);
    EXPECT_EQ(label->geometry(),
              QRect(r.Left - 1, r.Top - 1, r.Right - r.Left + 1, r.Bottom - r.Top + 1));

    g.SetCellControls(2, 2, label);  // the same again: still one
    EXPECT_EQ(g.numCellControls(), 1);
    ASSERT_EQ(g.controlList().size(), 1u);

    g.SetCellControls(2, 2, nullptr);
    EXPECT_EQ(g.numCellControls(), 0);
    EXPECT_TRUE(g.controlList().empty());
    EXPECT_FALSE(label->isVisibleTo(&g));
    g.SetCellControls(2, 2, nullptr);  // nothing left to remove
    EXPECT_EQ(g.numCellControls(), 0);

    g.SetCellControls(2, 2, label);
    EXPECT_EQ(g.numCellControls(), 1);
    // The control's creator deletes it: the cell must not keep a dangling pointer.
    delete label;
    EXPECT_EQ(g.GetCellControls(2, 2), nullptr);
    EXPECT_EQ(g.numCellControls(), 0);
    EXPECT_TRUE(g.controlList().empty());

    // A cell outside the grid takes no control.
    QLabel outside("y");
    g.SetCellControls(40, 2, &outside);
    EXPECT_EQ(g.numCellControls(), 0);
    EXPECT_EQ(outside.parentWidget(), nullptr);
}

TEST(ExtGridCells, ControlsGoWithTheGrid)
{
    QPointer<QLabel> label = new QLabel("x");
    {
        TExtStringGrid g;
        g.SetCellControls(1, 1, label);
        g.SetCellControls(2, 1, new QLabel("y"));
        EXPECT_EQ(g.numCellControls(), 2);
    }
    EXPECT_TRUE(label.isNull());
}

TEST(ExtGridCells, CellFontOverTheGridFont)
{
    TExtStringGrid g;
    EXPECT_EQ(g.GetCellFont(2, 2), g.font());
    EXPECT_FALSE(g.store().FHasCellProps());
    QFont f(QStringLiteral("Serif"), 15);
    f.setItalic(true);
    g.SetCellFont(2, 2, f, clRed);
    EXPECT_EQ(g.GetFontNames(2, 2), "Serif");
    EXPECT_EQ(g.GetFontSizes(2, 2), 15);
    EXPECT_EQ(g.GetFontStyles(2, 2), int(fsItalic));
    EXPECT_EQ(g.GetFontColors(2, 2), clRed);
    const QFont back = g.GetCellFont(2, 2);
    EXPECT_EQ(back.family(), "Serif");
    EXPECT_EQ(back.pointSize(), 15);
    EXPECT_TRUE(back.italic());
    EXPECT_FALSE(back.bold());
}

TEST(ExtGridCells, NewPropertiesOfFixedOrBandedCellsHaveNoBackground)
{
    TExtStringGrid g;
    g.SetReadOnly(0, 3, true);  // a row header
    g.SetReadOnly(2, 0, true);  // a column header
    g.SetReadOnly(2, 3, true);  // a normal cell
    EXPECT_EQ(g.GetColors(0, 3), clNone);
    EXPECT_EQ(g.GetColors(2, 0), clNone);
    EXPECT_EQ(g.GetColors(2, 3), g.store().defaults.BrushColor);
    g.Bands.SetActive(true);
    g.SetReadOnly(3, 4, true);
    EXPECT_EQ(g.GetColors(3, 4), clNone);
    EXPECT_EQ(g.GetColorsTo(3, 4), clNone);
}

TEST(ExtGridCells, ObjectsByRealRowTravelWithHiddenRows)
{
    TExtStringGrid g;
    EXPECT_TRUE(g.SetObjectsEx(2, 3, 33));
    EXPECT_TRUE(g.SetObjectsEx(2, 4, 44));
    g.store().HideRow(3);
    EXPECT_EQ(g.GetObjectsEx(2, 3), 33u);  // from the hidden row's saved properties
    EXPECT_EQ(g.GetObjectsEx(2, 4), 44u);  // shown at display row 3
    EXPECT_EQ(g.store().GetObjectEx(2, 3), 44u);
    // Reading a hidden cell without properties creates none.
    EXPECT_EQ(g.GetObjectsEx(1, 3), 0u);
    EXPECT_EQ(g.GetGridObjectEx(1, 3), nullptr);
    // Writing one gives it properties that come back with the row.
    EXPECT_TRUE(g.SetObjectsEx(1, 3, 31));
    EXPECT_FALSE(g.SetObjectsEx(-1, 3, 1));
    EXPECT_FALSE(g.SetObjectsEx(1 << 20, 3, 1));
    g.store().UnHideRow(3);
    EXPECT_EQ(g.store().GetObjectEx(1, 3), 31u);
    EXPECT_EQ(g.store().GetObjectEx(2, 3), 33u);
    EXPECT_EQ(g.store().GetObjectEx(2, 4), 44u);
    QString why;
    EXPECT_TRUE(g.store().checkConsistency(&why)) << why.toStdString();
}

TEST(ExtGridCells, PlacedControlsFollowScrollingAndHiding)
{
    TExtStringGrid g;
    g.SetRowCount(40);
    g.show();
    auto* body = new QLabel("body");
    auto* header = new QLabel("header");
    g.SetCellControls(2, 3, body);
    g.SetCellControls(2, 0, header);  // a fixed row: never moved or hidden here
    const QRect headerPlace = header->geometry();
    auto placed = [&](QWidget* w, int DCol, int ARow) {
        const TRect r = g.CellRect(DCol, ARow);
        return w->geometry()
               == QRect(r.Left - 1, r.Top - 1, r.Right - r.Left + 1, r.Bottom - r.Top + 1);
    };
    EXPECT_TRUE(body->isVisible());
    EXPECT_TRUE(placed(body, 2, 3));

    g.SetTopRow(10);
    EXPECT_FALSE(body->isVisible());
    EXPECT_EQ(header->geometry(), headerPlace);
    EXPECT_TRUE(header->isVisible());
    g.SetTopRow(2);
    EXPECT_TRUE(body->isVisible());
    EXPECT_TRUE(placed(body, 2, 3));

    g.SetRowHeights(1, 50);  // rows above move the cell down
    EXPECT_TRUE(placed(body, 2, 3));
    g.SetColWidths(1, 120);
    EXPECT_TRUE(placed(body, 2, 3));

    g.store().HideRow(3);
    EXPECT_FALSE(body->isVisible());
    g.store().UnHideRow(3);
    EXPECT_TRUE(body->isVisible());
    EXPECT_TRUE(placed(body, 2, 3));
    g.HideColumn(2);
    EXPECT_FALSE(body->isVisible());
    g.UnHideColumn(2);
    EXPECT_TRUE(body->isVisible());

    // The list rebuilt from the cells finds both controls again.
    g.CellControlsUpdate(true);
    EXPECT_EQ(g.controlList().size(), 2u);
    EXPECT_TRUE(placed(body, 2, 3));

    // A control deleted while its row is hidden is forgotten in the row's saved properties,
    // not in the cell that now shows at that display row.
    auto* below = new QLabel("below");
    g.SetCellControls(2, 4, below);
    g.store().HideRow(3);
    ASSERT_EQ(g.GetCellControls(2, 3), below);  // real row 4 shows at display row 3
    delete body;
    EXPECT_EQ(g.GetCellControls(2, 3), below);
    EXPECT_EQ(g.GetGridObjectEx(2, 3)->Control, nullptr);
    EXPECT_EQ(g.numCellControls(), 2);
}

// Every read-only query, at a normal cell, a cell of a hidden column, a hidden row, beyond the
// counts and at negative indexes: answers without creating properties or crashing.
struct QueryCell {
    const char* name;
    int col;
    int row;
};

const QueryCell kQueryCells[] = {
    {"Normal", 2, 2},   {"HiddenColumn", 3, 2}, {"HiddenRow", 2, 4},
    {"Beyond", 40, 40}, {"Negative", -1, -1},   {"FixedCorner", 0, 0},
};

class ExtGridReadOnlyQueries : public ::testing::TestWithParam<QueryCell> {};

TEST_P(ExtGridReadOnlyQueries, CreateNothing)
{
    TExtStringGrid g;
    g.SetCellEx(2, 4, "1.5");
    g.HideColumn(3);
    g.store().HideRow(4);
    g.SortSettings.SetShow(true);
    g.Grouping.HeaderUnderline = true;
    g.Grouping.ShowGroupCount = true;
    g.URLShowInText = true;
    const int c = GetParam().col;
    const int r = GetParam().row;

    (void)g.GetFloats(c, r);
    (void)g.GetInts(c, r);
    (void)g.GetAllFloats(c, r);
    (void)g.GetAllInts(c, r);
    (void)g.GetCellsEx(c, r);
    (void)g.GetGridCellsEx(c, r);
    (void)g.GetWideCells(c, r);
    (void)g.GetWideCellsEx(c, r);
    (void)g.GetLinesInCell(c, r);
    (void)g.GetObjectsEx(c, r);
    (void)g.GetGridObjectEx(c, r);
    (void)g.GetCellControls(c, r);
    (void)g.GetCellFont(c, r);
    (void)g.GetUnSortedCell(c, r);
    (void)g.IsSortIndicatorCell(c, r);
    (void)g.GetRowIndent(r);
    (void)g.IsNode(r);
    (void)g.IsSummary(r);
    (void)g.HasNoEditor(c, r);
    (void)g.DoHasComboBox(c, r);
    (void)g.DoHasSpinEdit(c, r);
    TColor brush = clWindow, fontColor = clWindowText;
    QFont font;
    g.GetCellColor(c, r, {}, brush, font, fontColor);
    TCellBorderPen pen;
    TCellBorders borders;
    g.GetCellBorder(c, r, pen, borders);
    bool flag = true;
    g.QueryCellEditable(c, r, flag);
    flag = false;
    g.IsFixedCell(c, r, flag);
    EXPECT_FALSE(g.store().FHasCellProps());
    EXPECT_EQ(g.numCellControls(), 0);
    QString why;
    EXPECT_TRUE(g.store().checkConsistency(&why)) << why.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Cells, ExtGridReadOnlyQueries, ::testing::ValuesIn(kQueryCells),
                         test::CaseName());

}  // namespace
}  // namespace zfw
