// The string grid's per-cell hooks: the default answer comes first and the event sees it and
// has the last word; the edge cases of the defaults.

#include "grid/ExtGrid.h"

#include "support/CaseName.h"
#include "grid/ExtUtil.h"

#include <gtest/gtest.h>

#include <functional>

namespace zfw {
namespace {

// Each case wires its event to record what it was handed and answer something else, runs the
// hook, and says what the event saw and what the hook answered.
struct LastWordCase {
    const char* name;
    std::function<void(TExtStringGrid&, QString& seen)> wire;
    std::function<QString(TExtStringGrid&)> run;
    const char* defaultSeen;  // what the event was handed
    const char* answer;       // what the hook answers afterwards
};

const LastWordCase kLastWord[] = {
    {"CheckTrue",
     [](TExtStringGrid& g, QString& seen) {
         g.OnGetCheckTrue = [&seen](QObject*, int, int, QString& v) { seen = v; v = "yes"; };
     },
     [](TExtStringGrid& g) { QString v = "x"; g.GetCheckTrue(1, 1, v); return v; }, "Y", "yes"},
    {"CheckFalse",
     [](TExtStringGrid& g, QString& seen) {
         g.OnGetCheckFalse = [&seen](QObject*, int, int, QString& v) { seen = v; v = "no"; };
     },
     [](TExtStringGrid& g) { QString v = "x"; g.GetCheckFalse(1, 1, v); return v; }, "N", "no"},
    {"AlignmentAfterHotmailCentring",
     [](TExtStringGrid& g, QString& seen) {
         g.MouseActions.SetHotmailRowSelect(true);
         g.OnGetAlignment = [&seen](QObject*, int, int, TAlignment& h, TVAlignment&) {
             seen = QString::number(int(h));
             h = TAlignment::taRightJustify;
         };
     },
     [](TExtStringGrid& g) {
         TAlignment h = TAlignment::taLeftJustify;
         TVAlignment v = TVAlignment::vtaTop;
         g.GetCellAlignment(0, 2, h, v);
         return QString::number(int(h));
     },
     "2", "1"},
    {"CellColourAfterProperties",
     [](TExtStringGrid& g, QString& seen) {
         g.SetColors(2, 2, clRed);
         g.OnGetCellColor = [&seen](QObject*, int, int, TGridDrawState, TColor& b, QFont&,
                                    TColor&) {
             seen = QString::number(b, 16);
             b = clBlue;
         };
     },
     [](TExtStringGrid& g) {
         TColor brush = clWindow, fontColor = clWindowText;
         QFont font;
         g.GetCellColor(2, 2, {}, brush, font, fontColor);
         return QString::number(brush, 16);
     },
     "ff", "ff0000"},
    {"EditableAfterReadOnly",
     [](TExtStringGrid& g, QString& seen) {
         g.SetOptions(TGridOptions(g.Options() | goEditing));
         g.SetReadOnly(2, 2, true);
         g.OnCanEditCell = [&seen](QObject*, int, int, bool& can) {
             seen = can ? "true" : "false";
             can = true;
         };
     },
     [](TExtStringGrid& g) {
         bool can = true;
         g.QueryCellEditable(2, 2, can);
         return QString(can ? "true" : "false");
     },
     "false", "true"},
    {"WideHintPackedIntoHint",
     [](TExtStringGrid& g, QString& seen) {
         g.OnGridHint = [&seen](QObject*, int, int, QString& h) { seen = h; h = "narrow"; };
         g.OnGridWideHint = [](QObject*, int, int, QString& h) { h = "wide"; };
     },
     [](TExtStringGrid& g) {
         QString hint = "start", wide;
         g.DoGridHint(1, 1, hint, wide);
         return hint == PackWideText("wide") ? QString("packed") : hint;
     },
     "start", "packed"},
};

class ExtGridLastWord : public ::testing::TestWithParam<LastWordCase> {};

TEST_P(ExtGridLastWord, EventSeesTheDefaultAndDecides)
{
    TExtStringGrid g;
    QString seen = "(not fired)";
    GetParam().wire(g, seen);
    EXPECT_EQ(GetParam().run(g), GetParam().answer);
    EXPECT_EQ(seen, GetParam().defaultSeen);
}

INSTANTIATE_TEST_SUITE_P(Hooks, ExtGridLastWord, ::testing::ValuesIn(kLastWord),
                         test::CaseName());

TEST(ExtGridHooks, ActiveCellLookOnlyOnTheHeadersOfTheCurrentCell)
{
    TExtStringGrid g;
    g.ActiveCellShow = true;
    g.SetCol(2);
    g.SetRow(3);
    auto brushOf = [&](int c, int r) {
        TColor brush = clWindow, fontColor = clWindowText;
        QFont font;
        g.GetCellColor(c, r, {}, brush, font, fontColor);
        return brush;
    };
    EXPECT_EQ(brushOf(0, 3), g.ActiveCellColor);  // row header
    EXPECT_EQ(brushOf(2, 0), g.ActiveCellColor);  // column header
    EXPECT_EQ(brushOf(0, 2), clWindow);
    EXPECT_EQ(brushOf(3, 0), clWindow);
    EXPECT_EQ(brushOf(2, 3), clWindow);  // the current cell itself is no header
}

TEST(ExtGridHooks, CheckBoxCellKeepsItsBrushButTakesTheFont)
{
    TExtStringGrid g;
    TCellGraphic* box = CreateCellGraphic(g, 2, 2);
    ASSERT_NE(box, nullptr);
    box->CellType = ctVirtCheckBox;
    g.SetColors(2, 2, clRed);
    g.SetFontColors(2, 2, clLime);
    TColor brush = clWindow, fontColor = clWindowText;
    QFont font;
    g.GetCellColor(2, 2, {}, brush, font, fontColor);
    EXPECT_EQ(brush, clWindow);
    EXPECT_EQ(fontColor, clLime);
}

TEST(ExtGridHooks, FixedCellNeverAsksTheEvent)
{
    TExtStringGrid g;
    int asked = 0;
    g.OnIsFixedCell = [&](QObject*, int, int, bool& f) { ++asked; f = true; };
    bool fixed = false;
    g.IsFixedCell(0, 3, fixed);
    EXPECT_TRUE(fixed);
    EXPECT_EQ(asked, 0);
    fixed = false;
    g.IsFixedCell(2, 3, fixed);
    EXPECT_TRUE(fixed);
    EXPECT_EQ(asked, 1);
}

TEST(ExtGridHooks, ReadOnlyBaseCellAndCellsBeyondTheColumns)
{
    TExtStringGrid g;
    g.SetOptions(TGridOptions(g.Options() | goEditing));
    ASSERT_TRUE(g.MergeCells(1, 1, 2, 2));
    g.SetReadOnly(1, 1, true);
    bool can = true;
    g.QueryCellEditable(2, 2, can);  // a non-base cell of the read-only area
    EXPECT_FALSE(can);
    can = false;
    g.QueryCellEditable(30, 1, can);
    EXPECT_TRUE(can);
}

TEST(ExtGridHooks, HasNoEditorOnlyWhenTheEventSaysNone)
{
    TExtStringGrid g;
    EXPECT_FALSE(g.HasNoEditor(1, 1));
    g.OnGetEditorType = [](QObject*, int c, int, TEditorType& e) {
        if (c == 2)
            e = TEditorType::edNone;
    };
    EXPECT_FALSE(g.HasNoEditor(1, 1));
    EXPECT_TRUE(g.HasNoEditor(2, 1));
}

TEST(ExtGridHooks, CurrentCellOfAMergedAreaIsItsBase)
{
    TExtStringGrid g;
    ASSERT_TRUE(g.MergeCells(1, 1, 2, 2));
    g.SetCellEx(1, 1, "base");
    g.SetCol(2);
    g.SetRow(2);
    EXPECT_EQ(g.GetCurrentCell(), "base");
    g.SetCurrentCell("new");
    EXPECT_EQ(g.store().GetGridCell(1, 1), "new");
    EXPECT_EQ(g.store().GetGridCell(2, 2), "");
    EXPECT_EQ(g.GetCurrentCellText(), "new");
}

}  // namespace
}  // namespace zfw
