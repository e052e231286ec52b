// Check-box cells on a 4 x 6 grid: adding (texts kept or written, invalid cells refused),
// reading, writing and toggling each kind, and what a check-box column covers.

#include "grid/CheckBoxCells.h"

#include "FakeGraphicHost.h"
#include "support/CaseName.h"

#include <gtest/gtest.h>

namespace zfw {
namespace {

using test::CaseName;
using test::FakeGraphicHost;

const CheckTexts kYN;

struct InitialTextCase {
    const char* name;
    const char* before;
    bool state;
    const char* after;
};
class DataCheckBoxAdd : public ::testing::TestWithParam<InitialTextCase> {};
TEST_P(DataCheckBoxAdd, KeepsACheckTextAndWritesTheDefaultOtherwise)
{
    const InitialTextCase& c = GetParam();
    FakeGraphicHost host(4, 6);
    host.setCellText(2, 3, QString::fromUtf8(c.before));
    ASSERT_TRUE(AddCheckBox(host, 2, 3, c.state, true, 0, kYN).isEmpty());
    EXPECT_EQ(host.cellText(2, 3), QString::fromUtf8(c.after));
    EXPECT_EQ(GetCellType(host, 2, 3), ctDataCheckBox);
    EXPECT_EQ(IsChecked(host, 2, 3, kYN), QString::fromUtf8(c.after) == kYN.checkTrue);
}
const InitialTextCase kInitialTexts[] = {
    {"noKeptChecked", "N", true, "N"},       {"yesKeptUnchecked", "Y", false, "Y"},
    {"emptyBecomesYes", "", true, "Y"},      {"emptyBecomesNo", "", false, "N"},
    {"otherBecomesYes", "maybe", true, "Y"}, {"lowercaseIsOther", "y", false, "N"},
    {"paddedIsOther", " Y ", true, "Y"},
};
INSTANTIATE_TEST_SUITE_P(Texts, DataCheckBoxAdd, ::testing::ValuesIn(kInitialTexts), CaseName());

TEST(DataCheckBoxAdd, UsesTheGivenCheckTexts)
{
    FakeGraphicHost host(4, 6);
    const CheckTexts onOff{QStringLiteral("on"), QStringLiteral("off")};
    ASSERT_TRUE(AddCheckBox(host, 1, 1, true, true, 0, onOff).isEmpty());
    EXPECT_EQ(host.cellText(1, 1), QStringLiteral("on"));
    host.setCellText(1, 2, QStringLiteral("Y"));
    ASSERT_TRUE(AddCheckBox(host, 1, 2, false, true, 0, onOff).isEmpty());
    EXPECT_EQ(host.cellText(1, 2), QStringLiteral("off"));
}

struct PlacementCase {
    const char* name;
    int vAlignment;
    TCellVAlign expected;
};
class CheckBoxPlacement : public ::testing::TestWithParam<PlacementCase> {};
TEST_P(CheckBoxPlacement, IsFlatBeforeTheTextAndFollowsTheGridAlignment)
{
    FakeGraphicHost host(4, 6);
    ASSERT_TRUE(AddCheckBox(host, 1, 1, true, false, GetParam().vAlignment, kYN).isEmpty());
    ASSERT_TRUE(AddCheckBox(host, 1, 2, cbGrayed, GetParam().vAlignment).isEmpty());
    for (int r : {1, 2}) {
        const TCellGraphic* g = GetCellGraphic(host, 1, r);
        ASSERT_NE(g, nullptr);
        EXPECT_TRUE(g->CellTransparent);
        EXPECT_EQ(g->CellHAlign, haBeforeText);
        EXPECT_EQ(g->CellVAlign, GetParam().expected);
    }
}
const PlacementCase kPlacements[] = {{"top", 0, vaTop},
                                     {"center", 1, vaCenter},
                                     {"bottom", 2, vaBottom}};
INSTANTIATE_TEST_SUITE_P(VAlign, CheckBoxPlacement, ::testing::ValuesIn(kPlacements), CaseName());

struct InvalidCase {
    const char* name;
    int col;
    int row;
    bool valid;
};
class CheckBoxCellRange : public ::testing::TestWithParam<InvalidCase> {};
TEST_P(CheckBoxCellRange, RefusesCellsOutsideTheStoreAndChangesNothing)
{
    // 4 visible + 1 hidden column, 6 visible + 2 hidden rows.
    FakeGraphicHost host(4, 6);
    host.setHidden(1, 2);
    const InvalidCase& c = GetParam();
    const QString plain = AddCheckBox(host, c.col, c.row, true, false, 0, kYN);
    const QString data = AddCheckBox(host, c.col, c.row, true, true, 0, kYN);
    const QString tri = AddCheckBox(host, c.col, c.row, cbChecked, 0);
    if (c.valid) {
        EXPECT_TRUE(plain.isEmpty() && data.isEmpty() && tri.isEmpty());
    } else {
        EXPECT_EQ(plain, QStringLiteral("Invalid cell"));
        EXPECT_EQ(data, QStringLiteral("Invalid cell"));
        EXPECT_EQ(tri, QStringLiteral("Invalid cell"));
        EXPECT_EQ(host.graphicCount(), 0u);
        EXPECT_EQ(host.textWrites, 0);
    }
}
const InvalidCase kRanges[] = {
    {"lastHiddenColumn", 4, 0, true}, {"pastHiddenColumns", 5, 0, false},
    {"lastHiddenRow", 0, 7, true},    {"pastHiddenRows", 0, 8, false},
    {"negativeColumn", -1, 0, false}, {"negativeRow", 0, -1, false},
};
INSTANTIATE_TEST_SUITE_P(Cells, CheckBoxCellRange, ::testing::ValuesIn(kRanges), CaseName());

// ---- state ---------------------------------------------------------------------------------

TEST(CheckBoxState, BooleanReaderSkipsThreeStateBoxesAndLeavesTheStateAlone)
{
    FakeGraphicHost host(4, 6);
    ASSERT_TRUE(AddCheckBox(host, 1, 1, cbGrayed, 0).isEmpty());
    bool b = true;
    EXPECT_FALSE(GetCheckBoxState(host, 1, 1, kYN, b));
    EXPECT_TRUE(b);
    TCheckBoxState s = cbUnchecked;
    EXPECT_TRUE(GetCheckBoxState(host, 1, 1, kYN, s));
    EXPECT_EQ(s, cbGrayed);
    EXPECT_FALSE(IsChecked(host, 1, 1, kYN));
    EXPECT_FALSE(GetCheckBoxState(host, 2, 2, kYN, b));
    EXPECT_FALSE(SetCheckBoxState(host, 1, 1, true, kYN));
}

struct SetCase {
    const char* name;
    bool data;
    bool state;
    const char* text;  // expected cell text, nullptr: unchanged
};
class CheckBoxWrite : public ::testing::TestWithParam<SetCase> {};
TEST_P(CheckBoxWrite, StoresWhereTheKindKeepsItsState)
{
    const SetCase& c = GetParam();
    FakeGraphicHost host(4, 6);
    host.setCellText(1, 1, QStringLiteral("x"));
    ASSERT_TRUE(AddCheckBox(host, 1, 1, !c.state, c.data, 0, kYN).isEmpty());
    EXPECT_TRUE(SetCheckBoxState(host, 1, 1, c.state, kYN));
    EXPECT_EQ(IsChecked(host, 1, 1, kYN), c.state);
    TCheckBoxState s = cbGrayed;
    EXPECT_TRUE(GetCheckBoxState(host, 1, 1, kYN, s));
    EXPECT_EQ(s, c.state ? cbChecked : cbUnchecked);
    if (c.text)
        EXPECT_EQ(host.cellText(1, 1), QString::fromUtf8(c.text));
    else
        EXPECT_EQ(host.cellText(1, 1), QStringLiteral("x"));
}
const SetCase kWrites[] = {
    {"plainOn", false, true, nullptr},
    {"plainOff", false, false, nullptr},
    {"dataOn", true, true, "Y"},
    {"dataOff", true, false, "N"},
};
INSTANTIATE_TEST_SUITE_P(Kinds, CheckBoxWrite, ::testing::ValuesIn(kWrites), CaseName());

struct ToggleCase {
    const char* name;
    const char* before;
    const char* after;
    bool newState;
};
class DataCheckBoxToggle : public ::testing::TestWithParam<ToggleCase> {};
TEST_P(DataCheckBoxToggle, WritesTheOtherCheckText)
{
    const ToggleCase& c = GetParam();
    FakeGraphicHost host(4, 6);
    ASSERT_TRUE(AddCheckBox(host, 2, 2, false, true, 0, kYN).isEmpty());
    host.setCellText(2, 2, QString::fromUtf8(c.before));
    const ToggleResult t = toggleCheckBoxCell(host, 2, 2, kYN);
    EXPECT_TRUE(t.toggled);
    EXPECT_EQ(t.newState, c.newState);
    EXPECT_EQ(host.cellText(2, 2), QString::fromUtf8(c.after));
}
const ToggleCase kToggles[] = {
    {"yesToNo", "Y", "N", false},
    {"noToYes", "N", "Y", true},
    {"neitherToYes", "maybe", "Y", true},
    {"emptyToYes", "", "Y", true},
};
INSTANTIATE_TEST_SUITE_P(Texts, DataCheckBoxToggle, ::testing::ValuesIn(kToggles), CaseName());

TEST(CheckBoxToggle, PlainInvertsAndThreeStateCyclesBack)
{
    FakeGraphicHost host(4, 6);
    ASSERT_TRUE(AddCheckBox(host, 1, 1, false, false, 0, kYN).isEmpty());
    EXPECT_TRUE(toggleCheckBoxCell(host, 1, 1, kYN).newState);
    EXPECT_FALSE(toggleCheckBoxCell(host, 1, 1, kYN).newState);

    ASSERT_TRUE(AddCheckBox(host, 1, 2, cbUnchecked, 0).isEmpty());
    std::vector<TCheckBoxState> seen;
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(toggleCheckBoxCell(host, 1, 2, kYN).toggled);
        TCheckBoxState s{};
        GetCheckBoxState(host, 1, 2, kYN, s);
        seen.push_back(s);
    }
    EXPECT_EQ(seen, (std::vector<TCheckBoxState>{cbGrayed, cbChecked, cbUnchecked}));
    EXPECT_FALSE(toggleCheckBoxCell(host, 3, 3, kYN).toggled);
}

TEST(CheckBoxToggle, RowCheckBoxFlipsTheRowSelectionAndKeepsTheHeaderText)
{
    FakeGraphicHost host(4, 6);
    host.setRowCheckBoxes(true);
    host.setCellText(0, 3, QStringLiteral("3"));
    EXPECT_FALSE(IsChecked(host, 0, 3, kYN));
    const ToggleResult t = toggleCheckBoxCell(host, 0, 3, kYN);
    EXPECT_TRUE(t.toggled);
    EXPECT_TRUE(t.newState);
    EXPECT_TRUE(host.rowSelect(3));
    EXPECT_TRUE(IsChecked(host, 0, 3, kYN));
    EXPECT_EQ(host.cellText(0, 3), QStringLiteral("3"));
    EXPECT_TRUE(SetCheckBoxState(host, 0, 3, false, kYN));
    EXPECT_FALSE(host.rowSelect(3));
}

TEST(CheckBoxRemove, OnlyCheckBoxKindsOwnedByTheCell)
{
    FakeGraphicHost host(4, 6);
    CreateCellGraphic(host, 1, 1)->SetRadioButton(true, true, haLeft, vaTop);
    EXPECT_FALSE(RemoveCheckBox(host, 1, 1));
    ASSERT_TRUE(AddCheckBox(host, 1, 2, true, false, 0, kYN).isEmpty());
    EXPECT_TRUE(RemoveCheckBox(host, 1, 2));
    host.setRowCheckBoxes(true);
    EXPECT_FALSE(RemoveCheckBox(host, 0, 1));
    EXPECT_EQ(host.graphicCount(), 1u);
}

TEST(CheckBoxKinds, Classification)
{
    FakeGraphicHost host(4, 6);
    CreateCellGraphic(host, 1, 0)->SetRadioButton(true, true, haLeft, vaTop);
    CreateCellGraphic(host, 1, 1)->SetDataImage(0, haLeft, vaTop);
    ASSERT_TRUE(AddCheckBox(host, 1, 2, true, true, 0, kYN).isEmpty());
    CreateCellGraphic(host, 1, 3)->SetButton(10, 10, QString(), haLeft, vaTop);
    EXPECT_FALSE(HasCheckBox(host, 1, 0));
    EXPECT_TRUE(HasCheckBoxOrRadioButton(host, 1, 0));
    EXPECT_TRUE(IsDataCellGraphic(host, 1, 1));
    EXPECT_FALSE(HasDataCheckBox(host, 1, 1));
    EXPECT_TRUE(HasDataCheckBox(host, 1, 2));
    EXPECT_TRUE(HasCheckBoxOrRadioButton(host, 1, 3));
    EXPECT_FALSE(HasCheckBoxOrRadioButton(host, -1, 3));
    EXPECT_FALSE(HasCheckBoxOrRadioButton(host, 2, 3));
}

// A programmatic change reports whether the state really changed, so that checking a whole
// column fires the event only for the rows that changed.
TEST(CheckBoxChange, ReportsOnlyRealChanges)
{
    FakeGraphicHost host(4, 6);
    ASSERT_TRUE(AddCheckBox(host, 1, 1, true, false, 0, kYN).isEmpty());
    host.setCellText(2, 1, QStringLiteral("Y"));
    host.setCellText(2, 2, QStringLiteral("N"));
    host.setCellText(2, 3, QStringLiteral("other"));
    for (int r : {1, 2, 3})
        ASSERT_TRUE(AddCheckBox(host, 2, r, false, true, 0, kYN).isEmpty());
    host.setRowCheckBoxes(true);

    struct Row {
        int col, row;
        bool applied, changed;
    };
    const Row expected[] = {{1, 1, true, false}, {2, 1, true, false}, {2, 2, true, true},
                            {2, 3, true, true},  {0, 4, true, true},  {3, 4, false, false}};
    for (const Row& e : expected) {
        const ChangeResult c = changeCheckBoxCell(host, e.col, e.row, true, kYN);
        EXPECT_EQ(c.applied, e.applied) << e.col << "," << e.row;
        EXPECT_EQ(c.changed, e.changed) << e.col << "," << e.row;
    }
    EXPECT_EQ(host.cellText(2, 3), QStringLiteral("Y"));
    EXPECT_TRUE(host.rowSelect(4));
    EXPECT_FALSE(changeCheckBoxCell(host, 0, 4, true, kYN).changed);
}

struct HeaderCase {
    const char* name;
    int selected;
    int rows;
    bool checked;
    int angle;
};
class RowCheckHeader : public ::testing::TestWithParam<HeaderCase> {};
TEST_P(RowCheckHeader, ShowsAllSomeOrNone)
{
    TCellGraphic g;
    prepareRowCheckGraphic(g, true, GetParam().selected, GetParam().rows, false, true);
    EXPECT_EQ(g.CellType, ctRowCheckBox);
    EXPECT_EQ(g.CellBoolean, GetParam().checked);
    EXPECT_EQ(g.CellAngle, GetParam().angle);
}
const HeaderCase kHeaders[] = {
    {"none", 0, 5, false, 0},
    {"some", 2, 5, false, 1},
    {"all", 5, 5, true, 0},
    {"emptyGrid", 0, 0, false, 0},
};
INSTANTIATE_TEST_SUITE_P(Rows, RowCheckHeader, ::testing::ValuesIn(kHeaders), CaseName());

TEST(RowCheckHeader, OtherRowsShowTheirSelection)
{
    TCellGraphic g;
    g.CellAngle = 1;
    prepareRowCheckGraphic(g, false, 3, 5, true, false);
    EXPECT_TRUE(g.CellBoolean);
    EXPECT_EQ(g.CellAngle, 0);
    EXPECT_FALSE(g.CellTransparent);
}

// Cell (40, 10)-(120, 30), box 15: the probes name where they hit.
struct HitCase {
    const char* name;
    TCellType kind;
    bool precise;
    TCellVAlign va;
    Qt::Alignment align;
    int textWidth;
    int x, y;
    bool hit;
};
class CheckBoxHit : public ::testing::TestWithParam<HitCase> {};
TEST_P(CheckBoxHit, Box)
{
    const HitCase& c = GetParam();
    EXPECT_EQ(IsInCheckBox(c.kind, c.precise, {40, 10, 120, 30}, 15, c.va, c.align, c.textWidth,
                           c.x, c.y),
              c.hit);
}
const HitCase kHits[] = {
    {"anywhereWithoutPrecise", ctCheckBox, false, vaTop, Qt::AlignLeft, 0, 110, 28, true},
    {"notACheckBox", ctButton, false, vaTop, Qt::AlignLeft, 0, 45, 15, false},
    {"leftTopCorner", ctCheckBox, true, vaTop, Qt::AlignLeft, 0, 42, 12, true},
    {"leftTopRightEdgeOut", ctCheckBox, true, vaTop, Qt::AlignLeft, 0, 57, 12, false},
    {"leftTopBottomEdgeOut", ctCheckBox, true, vaTop, Qt::AlignLeft, 0, 42, 27, false},
    {"centerVertically", ctDataCheckBox, true, vaCenter, Qt::AlignLeft, 0, 42, 12, true},
    {"centerVerticallyAbove", ctDataCheckBox, true, vaCenter, Qt::AlignLeft, 0, 42, 11, false},
    {"bottom", ctRadioButton, true, vaBottom, Qt::AlignLeft, 0, 42, 13, true},
    {"bottomAbove", ctRadioButton, true, vaBottom, Qt::AlignLeft, 0, 42, 12, false},
    {"rightNoTextRightEdgeOut", ctCheckBox, true, vaTop, Qt::AlignRight, 0, 118, 12, false},
    {"rightNoTextInBox", ctCheckBox, true, vaTop, Qt::AlignRight, 0, 103, 12, true},
    {"rightTextClickOnTextMisses", ctCheckBox, true, vaTop, Qt::AlignRight, 30, 110, 12, false},
    {"rightTextBoxLeftOfText", ctCheckBox, true, vaTop, Qt::AlignRight, 30, 73, 12, true},
    {"centred", ctTriStateCheckBox, true, vaTop, Qt::AlignHCenter, 0, 72, 12, true},
    {"centredLeftOut", ctTriStateCheckBox, true, vaTop, Qt::AlignHCenter, 0, 71, 12, false},
};
INSTANTIATE_TEST_SUITE_P(Points, CheckBoxHit, ::testing::ValuesIn(kHits), CaseName());

// ---- check-box column ----------------------------------------------------------------------

struct ColumnCase {
    const char* name;
    bool checkAllCheck;
    std::vector<int> skippedRows;  // summary rows
    std::vector<int> nodeRows;
    std::vector<std::pair<int, CheckColumnRow>> expected;
};
class CheckBoxColumnPlan : public ::testing::TestWithParam<ColumnCase> {};
TEST_P(CheckBoxColumnPlan, CoversTheRowsWithTheRightBox)
{
    const ColumnCase& c = GetParam();
    const auto in = [](const std::vector<int>& v) {
        return [v](int r) { return std::find(v.begin(), v.end(), r) != v.end(); };
    };
    const auto plan = planCheckBoxColumn(5, 1, c.checkAllCheck, in(c.skippedRows), in(c.nodeRows));
    ASSERT_EQ(plan.size(), c.expected.size());
    for (std::size_t i = 0; i < plan.size(); ++i) {
        EXPECT_EQ(plan[i].row, c.expected[i].first) << i;
        EXPECT_EQ(plan[i].what, c.expected[i].second) << i;
    }
}
using W = CheckColumnRow;
const ColumnCase kColumns[] = {
    {"fromFirstNormalRow",
     false,
     {},
     {},
     {{1, W::CheckBox}, {2, W::CheckBox}, {3, W::CheckBox}, {4, W::CheckBox}}},
    {"checkAllFromRowZero",
     true,
     {},
     {},
     {{0, W::CheckBox}, {1, W::CheckBox}, {2, W::CheckBox}, {3, W::CheckBox}, {4, W::CheckBox}}},
    {"summarySkippedNodeTriState",
     false,
     {4},
     {2},
     {{1, W::CheckBox}, {2, W::TriStateBox}, {3, W::CheckBox}, {4, W::Skip}}},
};
INSTANTIATE_TEST_SUITE_P(Rows, CheckBoxColumnPlan, ::testing::ValuesIn(kColumns), CaseName());

TEST(CheckBoxColumn, AddsDataBoxesKeepingTextsAndSkipsTheSummary)
{
    FakeGraphicHost host(4, 5);
    host.setCellText(2, 0, QStringLiteral("Enable"));
    host.setCellText(2, 2, QStringLiteral("N"));
    const QString error = AddCheckBoxColumn(host, 2, true, true, 1, false, 0, kYN,
                                            [](int r) { return r == 4; });
    ASSERT_TRUE(error.isEmpty());
    EXPECT_EQ(host.cellText(2, 0), QStringLiteral("Enable"));
    EXPECT_EQ(GetCellType(host, 2, 0), ctEmpty);
    EXPECT_EQ(host.cellText(2, 1), QStringLiteral("Y"));
    EXPECT_EQ(host.cellText(2, 2), QStringLiteral("N"));
    EXPECT_EQ(GetCellType(host, 2, 3), ctDataCheckBox);
    EXPECT_EQ(GetCellType(host, 2, 4), ctEmpty);
    EXPECT_TRUE(host.cellText(2, 4).isEmpty());
}

TEST(CheckBoxColumn, CheckAllReportsTheRowsThatChanged)
{
    FakeGraphicHost host(4, 6);
    ASSERT_TRUE(AddCheckBoxColumn(host, 1, false, true, 1, false, 0, kYN).isEmpty());
    host.setCellText(1, 3, QStringLiteral("Y"));
    CreateCellGraphic(host, 1, 4)->SetRadioButton(false, true, haLeft, vaTop);
    EXPECT_EQ(CheckAll(host, 1, true, 1, kYN), (std::vector<int>{1, 2, 5}));
    EXPECT_TRUE(CheckAll(host, 1, true, 1, kYN).empty());
    EXPECT_EQ(CheckAll(host, 1, false, 1, kYN), (std::vector<int>{1, 2, 3, 5}));
}

TEST(CheckBoxColumn, RemoveLeavesOtherGraphicsAndTheTexts)
{
    FakeGraphicHost host(4, 6);
    ASSERT_TRUE(AddCheckBoxColumn(host, 1, true, true, 1, false, 0, kYN).isEmpty());
    CreateCellGraphic(host, 1, 4)->SetRadioButton(false, true, haLeft, vaTop);
    RemoveCheckBoxColumn(host, 1, 1, false);
    EXPECT_EQ(host.graphicCount(), 1u);
    EXPECT_EQ(GetCellType(host, 1, 4), ctRadioButton);
    EXPECT_EQ(host.cellText(1, 2), QStringLiteral("Y"));
}

TEST(CheckBoxColumn, ColumnOutsideTheGridIsAnInvalidCell)
{
    FakeGraphicHost host(4, 5);
    EXPECT_EQ(AddCheckBoxColumn(host, 9, true, false, 1, false, 0, kYN),
              QStringLiteral("Invalid cell"));
    EXPECT_EQ(host.graphicCount(), 0u);
}

}  // namespace
}  // namespace zfw
