// The string grid's per-cell hooks: the default answer comes first and the event sees it and
// has the last word; the edge cases of the defaults.

#include "grid/ExtGrid.h"

#include "grid/ExtUtil.h"
#include "support/CaseName.h"

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
         g.OnGetCheckTrue = [&seen](QObject*, int, int, QString& v) {
             seen = v;
             v = "yes";
         };
     },
     [](TExtStringGrid& g) {
         QString v = "x";
         g.GetCheckTrue(1, 1, v);
         return v;
     },
     "Y", "yes"},
    {"CheckFalse",
     [](TExtStringGrid& g, QString& seen) {
         g.OnGetCheckFalse = [&seen](QObject*, int, int, QString& v) {
             seen = v;
             v = "no";
         };
     },
     [](TExtStringGrid& g) {
         QString v = "x";
         g.GetCheckFalse(1, 1, v);
         return v;
     },
     "N", "no"},
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
         g.OnGridHint = [&seen](QObject*, int, int, QString& h) {
             seen = h;
             h = "narrow";
         };
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

INSTANTIATE_TEST_SUITE_P(Hooks, ExtGridLastWord, ::testing::ValuesIn(kLastWord), test::CaseName());

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
    g.OnIsFixedCell = [&](QObject*, int, int, bool& f) {
        ++asked;
        f = true;
    };
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

// Each hook is run for real column 2, row 3 and its event records the cell as it reads its own
// arguments (several events take the row first): a swapped pair shows as "3,2".
struct ArgumentCase {
    const char* name;
    std::function<void(TExtStringGrid&, QString& seen)> wireAndRun;
};

QString cell(int c, int r) { return QStringLiteral("%1,%2").arg(c).arg(r); }

const ArgumentCase kArguments[] = {
    {"CanEditCell",
     [](TExtStringGrid& g, QString& seen) {
         g.OnCanEditCell = [&](QObject*, int r, int c, bool&) { seen = cell(c, r); };
         bool can = true;
         g.QueryCellEditable(2, 3, can);
     }},
    {"ButtonClick",
     [](TExtStringGrid& g, QString& seen) {
         g.OnButtonClick = [&](QObject*, int c, int r) { seen = cell(c, r); };
         g.DoButtonClick(2, 3);
     }},
    {"ComboCloseUp",
     [](TExtStringGrid& g, QString& seen) {
         g.OnComboCloseUp = [&](QObject*, int r, int c) { seen = cell(c, r); };
         g.DoComboCloseUp(2, 3);
     }},
    {"ComboDropDown",
     [](TExtStringGrid& g, QString& seen) {
         g.OnComboDropDown = [&](QObject*, int r, int c) { seen = cell(c, r); };
         g.DoComboDropDown(2, 3);
     }},
    {"SearchFooterAction",
     [](TExtStringGrid& g, QString& seen) {
         g.OnSearchFooterAction = [&](QObject*, const QString& v, int c, int r, TSearchAction a) {
             seen = cell(c, r) + (v == "find" && a == TSearchAction::saFindNext ? "" : "?");
         };
         g.DoSearchFooterAction("find", 2, 3, TSearchAction::saFindNext);
     }},
    {"ExpandClick",
     [](TExtStringGrid& g, QString& seen) {
         g.OnExpandClick = [&](QObject*, int c, int r, bool) { seen = cell(c, r); };
         g.DoExpandClick(2, 3, true);
     }},
    {"GetCellCursor",
     [](TExtStringGrid& g, QString& seen) {
         g.OnGetCellCursor = [&](QObject*, int c, int r, int, int, Qt::CursorShape&) {
             seen = cell(c, r);
         };
         g.DoGetCellCursor(2, 3, 10, 10);
     }},
    {"GridHint",
     [](TExtStringGrid& g, QString& seen) {
         g.OnGridHint = [&](QObject*, int r, int c, QString&) { seen = cell(c, r); };
         QString h, w;
         g.DoGridHint(2, 3, h, w);
     }},
    {"GetCellColor",
     [](TExtStringGrid& g, QString& seen) {
         g.OnGetCellColor = [&](QObject*, int r, int c, TGridDrawState, TColor&, QFont&, TColor&) {
             seen = cell(c, r);
         };
         TColor b = clWindow, f = clWindowText;
         QFont font;
         g.GetCellColor(2, 3, {}, b, font, f);
     }},
    {"GetCellPrintColor",
     [](TExtStringGrid& g, QString& seen) {
         g.OnGetCellPrintColor = [&](QObject*, int r, int c, TGridDrawState, TColor&, QFont&,
                                     TColor&) { seen = cell(c, r); };
         TColor b = clWindow, f = clWindowText;
         QFont font;
         g.GetCellPrintColor(2, 3, {}, b, font, f);
     }},
    {"GetCellBorder",
     [](TExtStringGrid& g, QString& seen) {
         g.OnGetCellBorder = [&](QObject*, int r, int c, TCellBorderPen&, TCellBorders&) {
             seen = cell(c, r);
         };
         TCellBorderPen pen;
         TCellBorders borders;
         g.GetCellBorder(2, 3, pen, borders);
     }},
    {"GetCellPrintBorder",
     [](TExtStringGrid& g, QString& seen) {
         g.OnGetCellPrintBorder = [&](QObject*, int r, int c, TCellBorderPen&, TCellBorders&) {
             seen = cell(c, r);
         };
         TCellBorderPen pen;
         TCellBorders borders;
         g.GetCellPrintBorder(2, 3, pen, borders);
     }},
    {"GetAlignment",
     [](TExtStringGrid& g, QString& seen) {
         g.OnGetAlignment = [&](QObject*, int r, int c, TAlignment&, TVAlignment&) {
             seen = cell(c, r);
         };
         TAlignment h = TAlignment::taLeftJustify;
         TVAlignment v = TVAlignment::vtaTop;
         g.GetCellAlignment(2, 3, h, v);
     }},
    {"GetEditorType",
     [](TExtStringGrid& g, QString& seen) {
         g.OnGetEditorType = [&](QObject*, int c, int r, TEditorType&) { seen = cell(c, r); };
         TEditorType e = TEditorType::edNormal;
         g.GetCellEditor(2, 3, e);
     }},
    {"IsFixedCell",
     [](TExtStringGrid& g, QString& seen) {
         g.OnIsFixedCell = [&](QObject*, int r, int c, bool&) { seen = cell(c, r); };
         bool fixed = false;
         g.IsFixedCell(2, 3, fixed);
     }},
    {"IsPasswordCell",
     [](TExtStringGrid& g, QString& seen) {
         g.OnIsPasswordCell = [&](QObject*, int r, int c, bool&) { seen = cell(c, r); };
         bool pw = false;
         g.IsPasswordCell(2, 3, pw);
     }},
    {"GetWordWrap",
     [](TExtStringGrid& g, QString& seen) {
         g.OnGetWordWrap = [&](QObject*, int c, int r, bool&) { seen = cell(c, r); };
         bool ww = true;
         g.DoGetWordWrap(2, 3, ww);
     }},
    {"HasComboBox",
     [](TExtStringGrid& g, QString& seen) {
         g.OnHasComboBox = [&](QObject*, int c, int r, bool&) { seen = cell(c, r); };
         g.DoHasComboBox(2, 3);
     }},
    {"HasSpinEdit",
     [](TExtStringGrid& g, QString& seen) {
         g.OnHasSpinEdit = [&](QObject*, int c, int r, bool&) { seen = cell(c, r); };
         g.DoHasSpinEdit(2, 3);
     }},
    {"GetCheckTrue",
     [](TExtStringGrid& g, QString& seen) {
         g.OnGetCheckTrue = [&](QObject*, int c, int r, QString&) { seen = cell(c, r); };
         QString v;
         g.GetCheckTrue(2, 3, v);
     }},
};

class ExtGridEventArguments : public ::testing::TestWithParam<ArgumentCase> {};

TEST_P(ExtGridEventArguments, EventGetsTheCellInItsDeclaredOrder)
{
    TExtStringGrid g;
    QString seen = "(not fired)";
    GetParam().wireAndRun(g, seen);
    EXPECT_EQ(seen, "2,3");
}

INSTANTIATE_TEST_SUITE_P(Hooks, ExtGridEventArguments, ::testing::ValuesIn(kArguments),
                         test::CaseName());

// More hooks whose event sees the default answer and has the last word.
const LastWordCase kMoreLastWord[] = {
    {"HeaderUnderlineThenBorderEvent",
     [](TExtStringGrid& g, QString& seen) {
         g.Grouping.HeaderUnderline = true;
         CreateCellGraphic(g, 0, 3)->CellType = ctNode;
         g.OnGetCellBorder = [&seen](QObject*, int, int, TCellBorderPen& p, TCellBorders& b) {
             seen = QString::number(p.Width)
                    + (b == TCellBorders{TCellBorder::cbBottom} ? "B" : "?");
             b = {TCellBorder::cbLeft};
         };
     },
     [](TExtStringGrid& g) {
         TCellBorderPen pen;
         TCellBorders b;
         g.GetCellBorder(2, 3, pen, b);
         return QString(b == TCellBorders{TCellBorder::cbLeft} ? "left" : "other");
     },
     "2B", "left"},
    {"SpinEditEventOverAlwaysVisible",
     [](TExtStringGrid& g, QString& seen) {
         g.ControlLook.SetSpinButtonsAlwaysVisible(true);
         g.DefaultEditor = TEditorType::edSpinEdit;
         g.OnHasSpinEdit = [&seen](QObject*, int, int, bool& has) {
             seen = has ? "true" : "false";
             has = false;
         };
     },
     [](TExtStringGrid& g) { return QString(g.DoHasSpinEdit(2, 3) ? "true" : "false"); }, "false",
     "false"},
    {"ColumnFilterEventEditsTheList",
     [](TExtStringGrid& g, QString& seen) {
         g.FilterDropDownAuto = true;
         g.SetRowCount(3);
         g.SetCellEx(2, 1, "b");
         g.SetCellEx(2, 2, "a");
         g.OnGetColumnFilter = [&seen](QObject*, int, QStringList& l) {
             seen = l.join(u'|');
             l.clear();
         };
     },
     [](TExtStringGrid& g) { return QString(g.BuildColumnFilterList(2) ? "some" : "none"); },
     "(All)|a|b", "none"},
};

INSTANTIATE_TEST_SUITE_P(MoreHooks, ExtGridLastWord, ::testing::ValuesIn(kMoreLastWord),
                         test::CaseName());

TEST(ExtGridHooks, SummaryLineWinsOverHeaderUnderlineFromColumnOneOn)
{
    TExtStringGrid g;
    g.Grouping.HeaderUnderline = true;
    g.Grouping.SummaryLine = true;
    g.Grouping.SummaryLineColor = clLime;
    g.Grouping.SummaryLineWidth = 3;
    CreateCellGraphic(g, 0, 2)->CellType = ctNode;
    CreateCellGraphic(g, 0, 4)->CellType = ctSummary;
    auto border = [&](int c, int r) {
        TCellBorderPen pen{clBlack, 1};
        TCellBorders b;
        g.GetCellBorder(c, r, pen, b);
        return std::pair{b, pen.Width};
    };
    EXPECT_EQ(border(1, 2), std::pair(TCellBorders{TCellBorder::cbBottom}, 2));
    EXPECT_EQ(border(1, 4), std::pair(TCellBorders{TCellBorder::cbTop}, 3));
    EXPECT_EQ(border(0, 2), std::pair(TCellBorders{}, 1));  // column 0 holds the glyph
    EXPECT_EQ(border(1, 3), std::pair(TCellBorders{}, 1));  // a plain row
}

struct EditorKindCase {
    const char* name;
    TEditorType editor;
    bool combo;
    bool spin;
};

const EditorKindCase kEditorKinds[] = {
    {"Normal", TEditorType::edNormal, false, false},
    {"ComboEdit", TEditorType::edComboEdit, true, false},
    {"ComboList", TEditorType::edComboList, true, false},
    {"SpinEdit", TEditorType::edSpinEdit, false, true},
    {"FloatSpinEdit", TEditorType::edFloatSpinEdit, false, true},
    {"TimeSpinEdit", TEditorType::edTimeSpinEdit, false, true},
    {"DateSpinEdit", TEditorType::edDateSpinEdit, false, true},
};

class ExtGridAlwaysVisibleEditors : public ::testing::TestWithParam<EditorKindCase> {};

TEST_P(ExtGridAlwaysVisibleEditors, ButtonsFollowTheEditorKindOnlyWhenAlwaysVisible)
{
    TExtStringGrid g;
    const EditorKindCase& k = GetParam();
    g.OnGetEditorType = [&](QObject*, int c, int, TEditorType& e) {
        if (c == 2)
            e = k.editor;
    };
    EXPECT_FALSE(g.DoHasComboBox(2, 3));
    EXPECT_FALSE(g.DoHasSpinEdit(2, 3));
    g.ControlLook.SetDropDownAlwaysVisible(true);
    g.ControlLook.SetSpinButtonsAlwaysVisible(true);
    EXPECT_EQ(g.DoHasComboBox(2, 3), k.combo);
    EXPECT_EQ(g.DoHasSpinEdit(2, 3), k.spin);
    // Fixed cells never show spin buttons, not even when the event would say so.
    g.OnHasSpinEdit = [](QObject*, int, int, bool& has) { has = true; };
    EXPECT_FALSE(g.DoHasSpinEdit(0, 3));
    EXPECT_FALSE(g.DoHasSpinEdit(2, 0));
}

INSTANTIATE_TEST_SUITE_P(Kinds, ExtGridAlwaysVisibleEditors, ::testing::ValuesIn(kEditorKinds),
                         test::CaseName());

struct FilterListCase {
    const char* name;
    std::function<void(TExtStringGrid&)> setUp;
    int column;
    QStringList expected;
};

// A 4-column grid, 1 fixed row and column; column 2 holds "a b", "c", "c", then "hid" in a
// hidden row and "foot" in the last row.
void fillFilterGrid(TExtStringGrid& g)
{
    g.SetColCount(4);
    g.SetRowCount(6);
    g.SetCellEx(1, 0, "head");
    g.SetCellEx(1, 1, "x");
    g.SetCellEx(2, 1, "a b");
    g.SetCellEx(2, 2, "c");
    g.SetCellEx(2, 3, " C ");
    g.SetCellEx(2, 4, "hid");
    g.SetCellEx(2, 5, "foot");
    g.store().HideRow(4);
}

const FilterListCase kFilterLists[] = {
    {"OffGivesNothing", [](TExtStringGrid&) {}, 2, {}},
    {"SortedNoDuplicatesHiddenRowsIncluded",
     [](TExtStringGrid& g) { g.FilterDropDownAuto = true; },
     2,
     {"(All)", "a b=\"a b\"", "c", "foot", "hid"}},
    {"FooterRowsLeftOut",
     [](TExtStringGrid& g) {
         g.FilterDropDownAuto = true;
         g.FixedFooters = 1;
     },
     2,
     {"(All)", "a b=\"a b\"", "c", "hid"}},
    {"IncrementalLeavesHiddenRowsOut",
     [](TExtStringGrid& g) {
         g.FilterDropDownAuto = true;
         g.FilterIncremental = true;
     },
     2,
     {"(All)", "a b=\"a b\"", "c", "foot"}},
    {"NoClearEntry",
     [](TExtStringGrid& g) {
         g.FilterDropDownAuto = true;
         g.FilterDropDownClear.clear();
     },
     2,
     {"a b=\"a b\"", "c", "foot", "hid"}},
    {"FixedColumnOnlyWithAll", [](TExtStringGrid& g) { g.FilterDropDownAuto = true; }, 0, {}},
    {"FixedColumnWithAll",
     [](TExtStringGrid& g) {
         g.FilterDropDownAuto = true;
         g.FilterDropDownColumns = TFilterDropDownColumns::fdAll;
     },
     0,
     {"(All)", ""}},
};

class ExtGridFilterList : public ::testing::TestWithParam<FilterListCase> {};

TEST_P(ExtGridFilterList, ValuesOfTheColumn)
{
    TExtStringGrid g;
    fillFilterGrid(g);
    GetParam().setUp(g);
    EXPECT_EQ(g.BuildColumnFilterList(GetParam().column), !GetParam().expected.isEmpty());
    EXPECT_EQ(g.filterValues(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Lists, ExtGridFilterList, ::testing::ValuesIn(kFilterLists),
                         test::CaseName());

TEST(ExtGridHooks, ExpandClickSetsTheRowHeightAfterTheEvent)
{
    TExtStringGrid g;
    TCellGraphic* expand = CreateCellGraphic(g, 2, 3);
    expand->CellType = ctExpand;
    expand->CellIndex = 22;  // collapsed
    expand->CellAngle = 60;  // expanded
    int heightSeenByEvent = 0;
    g.OnExpandClick = [&](QObject*, int, int r, bool) { heightSeenByEvent = g.RowHeights(r); };
    g.SetRowHeights(3, 30);
    g.DoExpandClick(2, 3, true);
    EXPECT_EQ(heightSeenByEvent, 30);
    EXPECT_EQ(g.RowHeights(3), 60);
    g.DoExpandClick(2, 3, false);
    EXPECT_EQ(g.RowHeights(3), 22);
    // A cell without an expand graphic falls back to the default height.
    g.DoExpandClick(1, 3, true);
    EXPECT_EQ(g.RowHeights(3), g.DefaultRowHeight());
}

// Records the order of the cells-changed event and the footer recalculation.
class FooterRecorder : public TExtStringGrid {
public:
    QStringList calls;
    void UpdateFooterColumn(int ACol) override { calls << QStringLiteral("footer %1").arg(ACol); }
};

TEST(ExtGridHooks, CellsChangedEventThenEveryFooterColumn)
{
    FooterRecorder g;
    g.SetColCount(3);
    g.OnCellsChanged = [&](QObject*, const TCellRange& r) {
        g.calls << QStringLiteral("event %1,%2-%3,%4")
                       .arg(r.Left)
                       .arg(r.Top)
                       .arg(r.Right)
                       .arg(r.Bottom);
    };
    g.DoCellsChanged({1, 2, 2, 4});
    EXPECT_EQ(g.calls, QStringList({"event 1,2-2,4", "footer 0", "footer 1", "footer 2"}));
}

TEST(ExtGridHooks, CellCursorOnlyWithTheEventAndShownAtOnce)
{
    TExtStringGrid g;
    const Qt::CursorShape before = g.viewport()->cursor().shape();
    g.DoGetCellCursor(2, 3, 5, 5);
    EXPECT_EQ(g.viewport()->cursor().shape(), before);
    Qt::CursorShape handed = Qt::BlankCursor;
    g.OnGetCellCursor = [&](QObject*, int, int, int, int, Qt::CursorShape& c) {
        handed = c;
        c = Qt::PointingHandCursor;
    };
    g.DoGetCellCursor(2, 3, 5, 5);
    EXPECT_EQ(handed, before);
    EXPECT_EQ(g.viewport()->cursor().shape(), Qt::PointingHandCursor);
}

TEST(ExtGridHooks, RememberedCellOfAHiddenColumnGrid)
{
    TExtStringGrid g;
    g.HideColumn(1);  // display column 1 is real column 2
    g.SetCellEx(2, 3, "two");
    g.Modified = true;
    g.SetCol(1);
    g.SetRow(3);
    g.Click();
    EXPECT_EQ(g.oldCol(), 1);
    EXPECT_EQ(g.oldRow(), 3);
    EXPECT_EQ(g.oldCellText(), "two");
    EXPECT_EQ(g.oldWideCellText(), "two");
    EXPECT_TRUE(g.oldModified());
}

TEST(ExtGridHooks, CurrentEditTextGoesToTheBaseCell)
{
    TExtStringGrid g;
    g.HideColumn(1);
    ASSERT_TRUE(g.MergeCells(2, 2, 2, 2));  // display columns 1..2
    g.SetCol(2);
    g.SetRow(3);
    g.SetCurrentCellEditText("edited");
    EXPECT_EQ(g.store().GetGridCell(2, 2), "edited");
    EXPECT_EQ(g.store().GetGridCell(3, 3), "");
}

}  // namespace
}  // namespace zfw
