// Check-box cells on the string grid, end to end: added one by one and as a column (texts
// stored, graphic created, "Invalid cell" refused), read, toggled and painted.
//
// Fixture: a 5 x 6 string grid (one fixed row and column, columns of 60 px, rows of 22 px),
// header texts in row 0.

#include "grid/ExtGrid.h"
#include "grid/GridDrawRecorder.h"

#include "support/CaseName.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

namespace zfw {
namespace {

using test::CaseName;

class CheckBoxGrid : public ::testing::Test {
protected:
    void SetUp() override
    {
        grid = std::make_unique<TExtStringGrid>();
        grid->setFrameShape(QFrame::NoFrame);
        grid->SetScrollBars(ssNone);
        grid->SetColCount(5);
        grid->SetRowCount(6);
        grid->SetFixedCols(1);
        grid->SetFixedRows(1);
        grid->SetDefaultColWidth(60);
        grid->SetDefaultRowHeight(22);
        grid->resize(300, 132);
        for (int c = 0; c < 5; ++c)
            grid->SetCellEx(c, 0, QStringLiteral("H%1").arg(c));
    }

    std::vector<GridDrawOp> recordPass()
    {
        QImage scratch(grid->ClientWidth(), grid->ClientHeight(), QImage::Format_RGB32);
        QPainter painter(&scratch);
        RecordingGridCanvas canvas;
        grid->paintCells(canvas, painter, QRect(0, 0, grid->ClientWidth(), grid->ClientHeight()));
        return canvas.ops();
    }

    std::unique_ptr<TExtStringGrid> grid;
};

struct DataBoxCase {
    const char* name;
    const char* before;
    bool state;
    const char* after;
    bool checked;
};

class DataCheckBoxAdded : public CheckBoxGrid, public ::testing::WithParamInterface<DataBoxCase> {};

TEST_P(DataCheckBoxAdded, StoresTheStateAsText)
{
    const DataBoxCase& dc = GetParam();
    grid->SetCellEx(2, 3, QString::fromUtf8(dc.before));
    EXPECT_EQ(grid->AddCheckBox(2, 3, dc.state, true), QString());
    EXPECT_EQ(grid->GetCellEx(2, 3), QString::fromUtf8(dc.after));
    EXPECT_TRUE(grid->HasDataCheckBox(2, 3));
    EXPECT_EQ(GetCellType(*grid, 2, 3), ctDataCheckBox);
    EXPECT_EQ(grid->IsChecked(2, 3), dc.checked);
    bool state = !dc.checked;
    EXPECT_TRUE(grid->GetCheckBoxState(2, 3, state));
    EXPECT_EQ(state, dc.checked);
}

const DataBoxCase kDataBoxes[] = {
    {"EmptyCheckedWritesY", "", true, "Y", true},
    {"EmptyUncheckedWritesN", "", false, "N", false},
    {"NKeptAgainstTheState", "N", true, "N", false},
    {"YKeptAgainstTheState", "Y", false, "Y", true},
    {"OtherTextReplaced", "yes", true, "Y", true},
    {"CaseMatters", "y", false, "N", false},
};
INSTANTIATE_TEST_SUITE_P(Grid, DataCheckBoxAdded, ::testing::ValuesIn(kDataBoxes), CaseName());

TEST_F(CheckBoxGrid, EachCellAsksForItsOwnCheckTexts)
{
    grid->OnGetCheckTrue = [](QObject*, int ACol, int, QString& v) {
        if (ACol == 3)
            v = QStringLiteral("1");
    };
    grid->OnGetCheckFalse = [](QObject*, int ACol, int, QString& v) {
        if (ACol == 3)
            v = QStringLiteral("0");
    };
    ASSERT_EQ(grid->AddCheckBoxColumn(3, false, true), QString());
    ASSERT_EQ(grid->AddCheckBoxColumn(4, true, true), QString());
    EXPECT_EQ(grid->GetCellEx(3, 2), QStringLiteral("0"));
    EXPECT_EQ(grid->GetCellEx(4, 2), QStringLiteral("Y"));
    EXPECT_TRUE(grid->SetCheckBoxState(3, 2, true));
    EXPECT_EQ(grid->GetCellEx(3, 2), QStringLiteral("1"));
    EXPECT_TRUE(grid->IsChecked(3, 2));
}

struct InvalidCase {
    const char* name;
    int ACol;
    int ARow;
    bool accepted;
};

class AddCheckBoxBounds : public CheckBoxGrid, public ::testing::WithParamInterface<InvalidCase> {};

TEST_P(AddCheckBoxBounds, RefusesCellsOutsideTheStoredOnes)
{
    const InvalidCase& ic = GetParam();
    grid->HideColumn(1);  // 4 display columns, 5 real ones
    const QString error = grid->AddCheckBox(ic.ACol, ic.ARow, true, true);
    EXPECT_EQ(error, ic.accepted ? QString() : QStringLiteral("Invalid cell"));
    EXPECT_EQ(grid->GetCellEx(ic.ACol, ic.ARow).isEmpty(), !ic.accepted)
        << "a refused cell gets no text";
    EXPECT_EQ(GetCellType(*grid, ic.ACol, ic.ARow) == ctDataCheckBox, ic.accepted);
    QString why;
    EXPECT_TRUE(grid->store().checkConsistency(&why)) << why.toStdString();
}

const InvalidCase kBounds[] = {
    {"LastRealColumnBehindAHiddenOne", 4, 5, true},
    {"HiddenColumn", 1, 2, true},
    {"ColumnBeyondTheRealOnes", 5, 2, false},
    {"RowBeyondTheCount", 2, 6, false},
    {"NegativeColumn", -1, 2, false},
    {"NegativeRow", 2, -1, false},
};
INSTANTIATE_TEST_SUITE_P(Grid, AddCheckBoxBounds, ::testing::ValuesIn(kBounds), CaseName());

struct ColumnCase {
    const char* name;
    bool checkAllCheck;
    bool data;
    int firstRow;
};

class CheckBoxColumn : public CheckBoxGrid, public ::testing::WithParamInterface<ColumnCase> {};

TEST_P(CheckBoxColumn, CoversTheRowsFromTheStartRow)
{
    const ColumnCase& cc = GetParam();
    grid->MouseActions.CheckAllCheck = cc.checkAllCheck;
    grid->SetCellEx(2, 4, QStringLiteral("Y"));
    ASSERT_EQ(grid->AddCheckBoxColumn(2, false, cc.data), QString());
    for (int r = 0; r < grid->RowCount(); ++r) {
        const bool boxed = r >= cc.firstRow;
        EXPECT_EQ(grid->HasCheckBox(2, r), boxed) << "row " << r;
        if (!boxed) {
            EXPECT_EQ(grid->GetCellEx(2, r), QStringLiteral("H2")) << "header left alone";
            continue;
        }
        EXPECT_EQ(GetCellType(*grid, 2, r), cc.data ? ctDataCheckBox : ctCheckBox);
        const QString expected = !cc.data ? (r == 0   ? QStringLiteral("H2")
                                             : r == 4 ? QStringLiteral("Y")
                                                      : QString())
                                 : r == 4 ? QStringLiteral("Y")
                                          : QStringLiteral("N");
        EXPECT_EQ(grid->GetCellEx(2, r), expected) << "row " << r;
        EXPECT_EQ(grid->IsChecked(2, r), cc.data && r == 4) << "row " << r;
    }
    EXPECT_FALSE(grid->HasCheckBox(1, 2));
}

const ColumnCase kColumns[] = {
    {"DataFromFirstNormalRow", false, true, 1},
    {"PlainFromFirstNormalRow", false, false, 1},
    {"DataWithCheckAllCheckFromRowZero", true, true, 0},
};
INSTANTIATE_TEST_SUITE_P(Grid, CheckBoxColumn, ::testing::ValuesIn(kColumns), CaseName());

TEST_F(CheckBoxGrid, AColumnBeyondTheRealOnesIsRefusedWithoutTouchingCells)
{
    EXPECT_EQ(grid->AddCheckBoxColumn(5, true, true), QStringLiteral("Invalid cell"));
    for (int r = 0; r < grid->RowCount(); ++r)
        EXPECT_EQ(grid->GetCellEx(5, r), QString());
}

TEST_F(CheckBoxGrid, ToggleWritesTheOtherTextAndTellsTheForm)
{
    ASSERT_EQ(grid->AddCheckBoxColumn(2, false, true), QString());
    grid->SetCellEx(2, 3, QStringLiteral("maybe"));
    std::vector<std::pair<int, bool>> told;
    grid->OnCheckBoxChange = [&](QObject*, int ACol, int ARow, bool state) {
        EXPECT_EQ(ACol, 2);
        told.emplace_back(ARow, state);
    };
    EXPECT_TRUE(grid->ToggleCheckBox(2, 3));
    EXPECT_EQ(grid->GetCellEx(2, 3), QStringLiteral("Y")) << "neither text toggles to checked";
    EXPECT_TRUE(grid->ToggleCheckBox(2, 3));
    EXPECT_EQ(grid->GetCellEx(2, 3), QStringLiteral("N"));
    EXPECT_FALSE(grid->ToggleCheckBox(1, 3)) << "no box there";
    EXPECT_EQ(told, (std::vector<std::pair<int, bool>>{{3, true}, {3, false}}));

    // A user's toggle asks whether the cell may be edited.
    grid->SetReadOnly(2, 2, true);
    TGridOptions o = grid->Options();
    o.setFlag(goEditing, true);
    grid->SetOptions(o);
    EXPECT_FALSE(grid->ToggleCheckBoxEx(2, 2, true));
    EXPECT_EQ(grid->GetCellEx(2, 2), QStringLiteral("N"));
    EXPECT_TRUE(grid->ToggleCheckBoxEx(2, 1, true));
    EXPECT_EQ(told.size(), 3u);
}

TEST_F(CheckBoxGrid, SetCheckBoxStateFiresNoEvent)
{
    ASSERT_EQ(grid->AddCheckBoxColumn(2, false, true), QString());
    int fired = 0;
    grid->OnCheckBoxChange = [&](QObject*, int, int, bool) { ++fired; };
    EXPECT_TRUE(grid->SetCheckBoxState(2, 1, true));
    EXPECT_EQ(grid->GetCellEx(2, 1), QStringLiteral("Y"));
    EXPECT_FALSE(grid->SetCheckBoxState(1, 1, true));
    EXPECT_EQ(fired, 0);
}

// What one pass draws in a cell rectangle.
std::vector<GridDrawOp> opsIn(const std::vector<GridDrawOp>& ops, const TRect& cell)
{
    std::vector<GridDrawOp> in;
    for (const GridDrawOp& op : ops) {
        const bool inside = op.kind == GridDrawOp::Line
                                ? op.x1 >= cell.Left && op.x1 < cell.Right && op.y1 >= cell.Top
                                      && op.y1 < cell.Bottom
                                : (op.kind == GridDrawOp::Frame || op.kind == GridDrawOp::Text
                                   || op.kind == GridDrawOp::Fill)
                                      && op.rect.Left >= cell.Left && op.rect.Right <= cell.Right
                                      && op.rect.Top >= cell.Top && op.rect.Bottom <= cell.Bottom;
        if (inside)
            in.push_back(op);
    }
    return in;
}

struct PaintCase {
    const char* name;
    const char* text;
    TAlignment align;
    int boxLeftFromCell;  // box left minus cell left
    bool ticked;
};

class DataCheckBoxPainted : public CheckBoxGrid, public ::testing::WithParamInterface<PaintCase> {};

TEST_P(DataCheckBoxPainted, ShowsTheBoxTickedForTheCheckTextAndNoText)
{
    const PaintCase& pc = GetParam();
    grid->controlLook().SetControlStyle(TControlStyle::csWinXP);
    ASSERT_EQ(grid->AddCheckBoxColumn(2, false, true), QString());
    grid->SetCellEx(2, 3, QString::fromUtf8(pc.text));
    grid->SetAlignments(2, 3, pc.align);
    const TRect cell = grid->CellRect(2, 3);
    const std::vector<GridDrawOp> ops = opsIn(recordPass(), cell);

    int frames = 0;
    int lines = 0;
    for (const GridDrawOp& op : ops) {
        if (op.kind == GridDrawOp::Text)
            ADD_FAILURE() << "text drawn in a data check box: " << op.text.toStdString();
        // The XP box frames the box one pixel inside its place.
        if (op.kind == GridDrawOp::Frame
            && (op.color == xpCheckBoxColors(true).frame
                || op.color == xpCheckBoxColors(false).frame)) {
            ++frames;
            EXPECT_EQ(op.rect.Height(), TExtStringGrid::kCheckSize - 1);
            EXPECT_EQ(op.rect.Left - 1 - cell.Left, pc.boxLeftFromCell);
            // Inside the cell's line and text offset, one pixel further in.
            EXPECT_EQ(op.rect.Top - 1 - cell.Top, 3);
        }
        if (op.kind == GridDrawOp::Fill
            && (op.color == xpCheckBoxColors(true).mark
                || op.color == xpCheckBoxColors(false).mark))
            ++lines;
    }
    EXPECT_EQ(frames, 1);
    EXPECT_EQ(lines > 0, pc.ticked);
}

const PaintCase kPaints[] = {
    {"CheckTextTicked", "Y", TAlignment::taLeftJustify, 3, true},
    {"FalseTextEmpty", "N", TAlignment::taLeftJustify, 3, false},
    {"OtherTextEmpty", "x", TAlignment::taLeftJustify, 3, false},
    {"EmptyTextEmpty", "", TAlignment::taLeftJustify, 3, false},
    {"RightAligned", "Y", TAlignment::taRightJustify, 60 - 15 - 3, true},
    {"Centred", "Y", TAlignment::taCenter, 1 + (60 - 2 - 15 - 0) / 2, true},
};
INSTANTIATE_TEST_SUITE_P(Grid, DataCheckBoxPainted, ::testing::ValuesIn(kPaints), CaseName());

TEST_F(CheckBoxGrid, TickPixelsShowOnScreen)
{
    grid->controlLook().SetControlStyle(TControlStyle::csWinXP);
    ASSERT_EQ(grid->AddCheckBoxColumn(2, false, true), QString());
    TGridOptions o = grid->Options();
    o.setFlag(goEditing, true);
    grid->SetOptions(o);
    grid->SetCellEx(2, 1, QStringLiteral("Y"));
    grid->SetCellEx(2, 3, QStringLiteral("Y"));
    grid->SetReadOnly(2, 3, true);
    QImage image(grid->size(), QImage::Format_RGB32);
    image.fill(Qt::magenta);
    grid->render(&image);
    if (qEnvironmentVariableIsSet("ZFW_DUMP_PNG"))
        image.save(QStringLiteral("/tmp/g6-checkbox.png"));
    // The tick's corner lies 6, 10 into the box; the box starts 3, 3 into the cell.
    auto probe = [&](int row) {
        const TRect cell = grid->CellRect(2, row);
        return QColor(image.pixel(cell.Left + 3 + 6, cell.Top + 3 + 9)).lightness();
    };
    EXPECT_LT(probe(1), 100) << "ticked box";
    EXPECT_GT(probe(2), 200) << "empty box";
    EXPECT_GT(probe(3), 100) << "a read-only box is ticked in gray";
    EXPECT_LT(probe(3), 200);
}

}  // namespace
}  // namespace zfw

namespace zfw {
namespace {

// With rows hidden, the state calls take real rows. Real row 3 is hidden; it has a data box
// ("Y") in column 2 and nothing in column 1, while real row 4, now shown at display row 3,
// has a checked plain box in column 1.
struct HiddenRowCase {
    const char* name;
    int ACol;
    int realRow;
    bool readable;
    bool checked;
};

class CheckBoxesWithHiddenRows : public CheckBoxGrid,
                                 public ::testing::WithParamInterface<HiddenRowCase> {};

TEST_P(CheckBoxesWithHiddenRows, ReadTheRealRowsOwnBox)
{
    const HiddenRowCase& hc = GetParam();
    ASSERT_EQ(grid->AddCheckBoxColumn(2, false, true), QString());
    grid->SetCellEx(2, 3, QStringLiteral("Y"));
    ASSERT_EQ(grid->AddCheckBox(1, 4, true, false), QString());
    grid->store().HideRows(3, 3);

    bool state = !hc.checked;
    EXPECT_EQ(grid->GetCheckBoxState(hc.ACol, hc.realRow, state), hc.readable);
    if (hc.readable) {
        EXPECT_EQ(state, hc.checked);
    }
    EXPECT_EQ(grid->IsChecked(hc.ACol, hc.realRow), hc.readable && hc.checked);
}

const HiddenRowCase kHiddenRows[] = {
    {"HiddenRowsDataBox", 2, 3, true, true},
    {"HiddenRowWithoutABoxIsNotItsSuccessorsBox", 1, 3, false, false},
    {"ShownRowBelowByItsRealIndex", 1, 4, true, true},
    {"ShownRowBelowDataBox", 2, 4, true, false},
    {"ShownRowAbove", 2, 2, true, false},
};
INSTANTIATE_TEST_SUITE_P(Grid, CheckBoxesWithHiddenRows, ::testing::ValuesIn(kHiddenRows),
                         CaseName());

TEST_F(CheckBoxGrid, AHiddenRowsDataBoxIsWrittenInPlaceAndShowsSoWhenBack)
{
    ASSERT_EQ(grid->AddCheckBoxColumn(2, true, true), QString());
    grid->store().HideRows(3, 3);
    EXPECT_TRUE(grid->SetCheckBoxState(2, 3, false));
    EXPECT_EQ(grid->GetCellsEx(2, 3), QStringLiteral("N"));
    EXPECT_EQ(grid->GetCellEx(2, 3), QStringLiteral("Y")) << "display row 3 (real 4) untouched";
    grid->store().UnHideRows(3, 3);
    EXPECT_EQ(grid->GetCellEx(2, 3), QStringLiteral("N"));
    EXPECT_FALSE(grid->IsChecked(2, 3));
}

// The grid's state changes with the event: fired once per box whose state really changed,
// never for rows without a box, and for data boxes also when the old text was neither.
struct ChangeAllCase {
    const char* name;
    bool check;                  // CheckAll, else UnCheckAll
    std::vector<int> eventRows;  // rows reported, in order
};

class CheckBoxChangeAll : public CheckBoxGrid,
                          public ::testing::WithParamInterface<ChangeAllCase> {};

TEST_P(CheckBoxChangeAll, ReportsOnlyTheRowsThatChanged)
{
    const ChangeAllCase& k = GetParam();
    // Column 2: plain boxes in rows 1..3 (row 2 checked), a data box "Y" in row 4, a data box
    // with a foreign text in row 5.
    for (int r = 1; r <= 3; ++r)
        ASSERT_TRUE(grid->AddCheckBox(2, r, r == 2, false).isEmpty());
    ASSERT_TRUE(grid->AddCheckBox(2, 4, true, true).isEmpty());
    ASSERT_TRUE(grid->AddCheckBox(2, 5, false, true).isEmpty());
    grid->SetCellEx(2, 5, QStringLiteral("maybe"));
    std::vector<std::pair<int, bool>> events;
    grid->OnCheckBoxChange = [&](QObject*, int c, int r, bool s) {
        EXPECT_EQ(c, 2);
        events.push_back({r, s});
    };
    if (k.check)
        grid->CheckAll(2);
    else
        grid->UnCheckAll(2);
    std::vector<int> rows;
    for (auto [r, s] : events) {
        rows.push_back(r);
        EXPECT_EQ(s, k.check) << r;
    }
    EXPECT_EQ(rows, k.eventRows);
    for (int r = 1; r <= 5; ++r)
        EXPECT_EQ(grid->IsChecked(2, r), k.check) << r;
    EXPECT_EQ(grid->GetCellEx(2, 4), k.check ? QStringLiteral("Y") : QStringLiteral("N"));
    // Rows without a box answer false and fire nothing.
    events.clear();
    EXPECT_FALSE(grid->ChangeCheckBoxState(3, 2, true));
    EXPECT_TRUE(events.empty());
    QString why;
    EXPECT_TRUE(grid->store().checkConsistency(&why)) << why.toStdString();
}

const ChangeAllCase kChangeAll[] = {
    {"CheckAll", true, {1, 3, 5}},
    {"UnCheckAll", false, {2, 4}},
};
INSTANTIATE_TEST_SUITE_P(Column, CheckBoxChangeAll, ::testing::ValuesIn(kChangeAll), CaseName());

TEST_F(CheckBoxGrid, ChangeCheckBoxStateFiresOnlyOnARealChange)
{
    ASSERT_TRUE(grid->AddCheckBox(1, 2, false, false).isEmpty());
    int events = 0;
    grid->OnCheckBoxChange = [&](QObject*, int, int, bool) { ++events; };
    EXPECT_TRUE(grid->ChangeCheckBoxState(1, 2, false));
    EXPECT_EQ(events, 0);
    EXPECT_TRUE(grid->ChangeCheckBoxState(1, 2, true));
    EXPECT_EQ(events, 1);
    EXPECT_TRUE(grid->SetCheckBoxState(1, 2, false));  // never fires
    EXPECT_EQ(events, 1);
    EXPECT_EQ(TExtStringGrid::BoolToCheckBoxState(true), cbChecked);
    EXPECT_EQ(TExtStringGrid::BoolToCheckBoxState(false), cbUnchecked);
}

}  // namespace
}  // namespace zfw
