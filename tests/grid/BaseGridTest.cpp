// The base grid over its cell store: a 6 x 4 grid (one fixed row and column, columns of 50 px,
// rows of 20 px) with real column 2 hidden and real columns 3..4 of rows 1..2 merged. The
// framework grid then shows display columns 0, 1, 2 (= real 3), 3 (= real 4), 4 (= real 5).

#include "grid/BaseGrid.h"
#include "grid/GridDrawRecorder.h"

#include "support/CaseName.h"

#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>

namespace zfw {
namespace {

using test::CaseName;

class BaseGridFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        grid = std::make_unique<TBaseGrid>();
        grid->setFrameShape(QFrame::NoFrame);
        grid->SetScrollBars(ssNone);
        grid->SetColCount(6);
        grid->SetRowCount(4);
        grid->SetFixedCols(1);
        grid->SetFixedRows(1);
        grid->SetDefaultColWidth(50);
        grid->SetDefaultRowHeight(20);
        grid->setFixedSize(300, 100);
        grid->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(grid.get()));
        grid->HideColumn(2);
        ASSERT_TRUE(grid->MergeCells(3, 1, 2, 2));
        // Every cell gets its own text; the non-base cells of the area are left out, as their
        // writes go to the base cell.
        for (int c = 0; c < 6; ++c) {
            for (int r = 0; r < 4; ++r) {
                if (!grid->store().IsMergedNonBaseCell(c, r)) {
                    ASSERT_TRUE(grid->SetCellEx(c, r, QStringLiteral("%1:%2").arg(c).arg(r)));
                }
            }
        }
    }

    // Records one full paint pass.
    std::vector<GridDrawOp> recordPass()
    {
        QImage scratch(grid->ClientWidth(), grid->ClientHeight(), QImage::Format_RGB32);
        QPainter painter(&scratch);
        RecordingGridCanvas canvas;
        grid->paintCells(canvas, painter, QRect(0, 0, grid->ClientWidth(), grid->ClientHeight()));
        return canvas.opsOfKind(GridDrawOp::Text);
    }

    std::unique_ptr<TBaseGrid> grid;
};

// Counts, fixed counts, widths and heights must agree between store and framework grid.
void expectInStep(const TBaseGrid& g)
{
    const CellStore& s = g.store();
    QString why;
    EXPECT_TRUE(s.checkConsistency(&why)) << why.toStdString();
    const TStringGrid& f = g;
    EXPECT_EQ(f.ColCount(), s.ColCount());
    EXPECT_EQ(f.RowCount(), s.RowCount());
    EXPECT_EQ(f.FixedCols(), s.FixedCols());
    EXPECT_EQ(f.FixedRows(), s.FixedRows());
    for (int c = 0; c < s.ColCount(); ++c)
        EXPECT_EQ(f.ColWidths(c), s.ColWidths(c)) << "display column " << c;
    for (int r = 0; r < s.RowCount(); ++r)
        EXPECT_EQ(f.RowHeights(r), s.RowHeights(r)) << "row " << r;
}

TEST_F(BaseGridFixture, TheHiddenColumnLeavesTheFrameworkGrid)
{
    EXPECT_EQ(grid->store().TotalColCount(), 6);
    EXPECT_EQ(static_cast<TStringGrid&>(*grid).ColCount(), 5);
    EXPECT_EQ(grid->RealColIndex(2), 3);
    expectInStep(*grid);
}

struct StepCase {
    const char* name;
    std::function<void(TBaseGrid&)> act;
    int colCount;  // display columns afterwards
    int rowCount;
};

const StepCase kStepCases[] = {
    {"UnhideColumn", [](TBaseGrid& g) { g.UnHideColumn(2); }, 6, 4},
    {"HideAnotherColumn", [](TBaseGrid& g) { g.HideColumn(5); }, 4, 4},
    {"GrowRows", [](TBaseGrid& g) { g.SetRowCount(9); }, 5, 9},
    {"ShrinkColumns", [](TBaseGrid& g) { g.SetColCount(2); }, 2, 4},
    {"FixedRowsClampedByTheStore", [](TBaseGrid& g) { g.SetFixedRows(7); }, 5, 4},
    {"OneColumnWidth", [](TBaseGrid& g) { g.SetColWidths(3, 80); }, 5, 4},
    {"OneRowHeight", [](TBaseGrid& g) { g.SetRowHeights(2, 33); }, 5, 4},
    {"DefaultRowHeight", [](TBaseGrid& g) { g.SetDefaultRowHeight(26); }, 5, 4},
    // A width set on the framework side (as a sizing drag does) goes back into the store.
    {"FrameworkSideWidth", [](TBaseGrid& g) { static_cast<TStringGrid&>(g).SetColWidths(1, 77); },
     5, 4},
    {"FrameworkSideColCount", [](TBaseGrid& g) { static_cast<TStringGrid&>(g).SetColCount(3); }, 3,
     4},
    {"FrameworkSideRowCount", [](TBaseGrid& g) { static_cast<TStringGrid&>(g).SetRowCount(7); }, 5,
     7},
    {"FrameworkSideHeight", [](TBaseGrid& g) { static_cast<TStringGrid&>(g).SetRowHeights(3, 41); },
     5, 4},
    {"WidthKeptOverHideAndUnhide",
     [](TBaseGrid& g) {
         g.SetColWidths(3, 90);  // display 3 = real 4
         g.HideColumn(4);
         g.UnHideColumn(4);
     },
     5, 4},
    // The framework grid is told only about the rows a change touched: rows above the first
    // touched one must already agree, rows from it on must be brought in line.
    {"RowsShrunkAndGrownAfterOwnHeights",
     [](TBaseGrid& g) {
         g.SetRowHeights(1, 31);
         g.SetRowHeights(3, 33);
         g.SetRowCount(2);
         g.SetRowCount(6);
     },
     5, 6},
    {"HiddenRowTakesItsHeightAlong",
     [](TBaseGrid& g) {
         g.SetRowHeights(2, 31);
         g.SetRowHeights(3, 33);
         g.store().HideRows(2, 2);
     },
     5, 3},
    {"HiddenRowsComeBackWithTheirHeights",
     [](TBaseGrid& g) {
         g.SetRowHeights(1, 27);
         g.SetRowHeights(2, 31);
         g.SetRowHeights(3, 33);
         g.store().HideRows(1, 2);
         g.store().UnHideRows(1, 2);
     },
     5, 4},
    {"FilterLevelTakesHeightsAlong",
     [](TBaseGrid& g) {
         g.SetRowHeights(1, 27);
         g.SetRowHeights(2, 31);
         g.SetRowHeights(3, 33);
         g.store().HideRowList({1, 2});
     },
     5, 2},
    {"FilterLevelUndone",
     [](TBaseGrid& g) {
         g.SetRowHeights(1, 27);
         g.SetRowHeights(3, 33);
         g.store().HideRowList({1});
         g.store().UnHideRowList();
     },
     5, 4},
    {"FixedRowHeight",
     [](TBaseGrid& g) {
         g.SetFixedRows(2);
         g.store().SetFixedRowHeight(30);
     },
     5, 4},
    {"DefaultRowHeightAfterOwnHeights",
     [](TBaseGrid& g) {
         g.SetRowHeights(3, 40);
         g.SetDefaultRowHeight(18);
     },
     5, 4},
};

class BaseGridSteps : public BaseGridFixture, public ::testing::WithParamInterface<StepCase> {};

TEST_P(BaseGridSteps, StoreAndFrameworkStayInStep)
{
    GetParam().act(*grid);
    EXPECT_EQ(static_cast<TStringGrid&>(*grid).ColCount(), GetParam().colCount);
    EXPECT_EQ(static_cast<TStringGrid&>(*grid).RowCount(), GetParam().rowCount);
    expectInStep(*grid);
}

INSTANTIATE_TEST_SUITE_P(Ops, BaseGridSteps, ::testing::ValuesIn(kStepCases), CaseName());

TEST_F(BaseGridFixture, WidthOfAColumnComesBackOnUnhide)
{
    grid->SetColWidths(3, 90);  // real column 4
    grid->HideColumn(4);
    grid->UnHideColumn(4);
    EXPECT_EQ(grid->ColWidths(grid->DisplColIndex(4)), 90);
}

TEST_F(BaseGridFixture, TextsArePaintedInTheirDisplayCells)
{
    const std::vector<GridDrawOp> texts = recordPass();
    std::map<QString, std::vector<TRect>> drawnAt;
    for (const GridDrawOp& op : texts)
        drawnAt[op.text].push_back(op.rect);

    for (int ACol = 0; ACol < 6; ++ACol) {
        for (int r = 0; r < 4; ++r) {
            const QString text = QStringLiteral("%1:%2").arg(ACol).arg(r);
            const bool inMergedArea = ACol >= 3 && ACol <= 4 && r >= 1 && r <= 2;
            if (ACol == 2) {
                EXPECT_EQ(drawnAt.count(text), 0u)
                    << "hidden column painted: " << text.toStdString();
                continue;
            }
            if (inMergedArea && !(ACol == 3 && r == 1)) {
                EXPECT_EQ(drawnAt.count(text), 0u) << text.toStdString();
                continue;
            }
            ASSERT_EQ(drawnAt[text].size(), 1u) << text.toStdString();
            const TRect cell = grid->CellRect(grid->DisplColIndex(ACol), r);
            const TRect got = drawnAt[text].front();
            EXPECT_TRUE(got.Left >= cell.Left && got.Right <= cell.Right && got.Top >= cell.Top
                        && got.Bottom <= cell.Bottom)
                << text.toStdString();
        }
    }
}

TEST_F(BaseGridFixture, AMergedAreaIsPaintedOnceInEachPassOverItsWholeArea)
{
    const TRect area = grid->CellRect(3, 2);  // a non-base cell answers the whole area
    EXPECT_EQ(area.Left, 100);
    EXPECT_EQ(area.Top, 20);
    EXPECT_EQ(area.Width(), 100);
    EXPECT_EQ(area.Height(), 40);
    for (int pass = 0; pass < 2; ++pass) {
        int count = 0;
        for (const GridDrawOp& op : recordPass())
            if (op.text == QStringLiteral("3:1")) {
                ++count;
                EXPECT_GE(op.rect.Right, area.Right - 4);
                EXPECT_GE(op.rect.Bottom, area.Bottom - 4);
            }
        EXPECT_EQ(count, 1) << "pass " << pass;
    }
}

TEST_F(BaseGridFixture, WritingANonBaseCellOfAnAreaWritesItsBase)
{
    grid->SetCellEx(4, 2, QStringLiteral("x"));
    EXPECT_EQ(grid->store().GetGridCell(3, 1), QStringLiteral("x"));
    EXPECT_EQ(grid->GetCellEx(4, 2), QStringLiteral("x"));
    EXPECT_EQ(grid->Cells(4, 2), QStringLiteral("x"));
}

TEST_F(BaseGridFixture, EditTextGoesToTheRealColumn)
{
    EXPECT_EQ(grid->GetEditText(4, 1), QStringLiteral("5:1"));
    grid->SetEditText(4, 3, QStringLiteral("e"));
    EXPECT_EQ(grid->GetCellEx(5, 3), QStringLiteral("e"));
    EXPECT_EQ(grid->GetCellEx(4, 3), QStringLiteral("4:3"));
}

TEST_F(BaseGridFixture, TheInplaceEditorWritesTheRealColumn)
{
    grid->SetOptions(TGridOptions(grid->Options() | goEditing));
    ASSERT_TRUE(grid->MoveCurrentCell(4, 3, true, true));  // display 4 = real 5
    grid->ShowEditor();
    ASSERT_NE(grid->InplaceEditor(), nullptr);
    EXPECT_EQ(grid->InplaceEditor()->text(), QStringLiteral("5:3"));
    grid->InplaceEditor()->setText(QStringLiteral("typed"));
    grid->HideEditor();
    EXPECT_EQ(grid->GetCellEx(5, 3), QStringLiteral("typed"));
    EXPECT_EQ(grid->GetCellEx(4, 3), QStringLiteral("4:3"));
}

TEST_F(BaseGridFixture, PixelsShowTheCellColoursInDisplayOrder)
{
    for (int r = 1; r < 4; ++r) {
        grid->store().GetCellProperties(2, r)->BrushColor = clRed;  // hidden
        grid->store().GetCellProperties(5, r)->BrushColor = clBlue;
    }
    grid->store().GetCellProperties(3, 1)->BrushColor = clLime;  // base of the merged area
    grid->SetCellEx(0, 0, {});                                   // any write repaints
    const QImage img = grid->viewport()->grab().toImage();

    auto colourAt = [&](int DCol, int r) {
        const TRect cell = grid->TStringGrid::CellRect(DCol, r);
        return img.pixelColor(cell.Right - 5, cell.Bottom - 4);  // away from the text
    };
    // The merged area is green throughout, its non-base cells included.
    EXPECT_EQ(colourAt(2, 1), QColor(Qt::green));
    EXPECT_EQ(colourAt(3, 2), QColor(Qt::green));
    EXPECT_EQ(colourAt(4, 3), QColor(Qt::blue));
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            ASSERT_NE(img.pixelColor(x, y), QColor(Qt::red))
                << "hidden column at " << x << "," << y;
}

// The base painter's look settings, painted through PaintCell (full) and PaintCellExt
// (background only) into a recording canvas. Cell (1, 3) is a plain normal cell, (0, 3) a
// fixed one, (5, 3) (display column 4) the current cell where a case makes it so.
struct LookCase {
    const char* name;
    std::function<void(TBaseGrid&)> setUp;
    int ACol;
    int ARow;
    TGridDrawState state;
    bool full;
    TColor background;  // of the first fill
    int lineWidth;      // of every line; 0: no line at all
    bool text;
};

constexpr TColor kBrush = 0x123456;
constexpr TColor kActive = 0x00AA00;
constexpr TColor kHover = 0x0000CC;

void brushOf(TBaseGrid& g, int c, int r) { g.store().GetCellProperties(c, r)->BrushColor = kBrush; }

void activeRow(TBaseGrid& g)
{
    g.SetActiveRowShow(true);
    g.SetActiveRowColor(kActive);
    ASSERT_TRUE(g.MoveCurrentCell(4, 3, true, true));
}

void hoverRow(TBaseGrid& g, THoverRowCells cells)
{
    g.HoverRow = true;
    g.HoverRowColor = kHover;
    g.HoverRowCells = cells;
    g.FHoverRowIdx = 3;
}

const LookCase kLookCases[] = {
    {"PlainCellTakesItsBrush",
     [](TBaseGrid& g) { brushOf(g, 1, 3); },
     1,
     3,
     {},
     true,
     kBrush,
     1,
     true},
    {"ActiveRowColoursTheCurrentRow",
     [](TBaseGrid& g) {
         brushOf(g, 1, 3);
         activeRow(g);
     },
     1,
     3,
     {},
     true,
     kActive,
     1,
     true},
    {"ActiveRowLeavesTheCurrentCell",
     [](TBaseGrid& g) {
         brushOf(g, 5, 3);
         activeRow(g);
     },
     5,
     3,
     {},
     true,
     kBrush,
     1,
     true},
    {"ActiveRowLeavesTheFixedColumn",
     [](TBaseGrid& g) {
         brushOf(g, 0, 3);
         activeRow(g);
     },
     0, 3, gdFixed, true, kBrush, 1, true},
    {"HoverRowColoursNormalCells",
     [](TBaseGrid& g) {
         brushOf(g, 1, 3);
         hoverRow(g, hcNormal);
     },
     1,
     3,
     {},
     true,
     kHover,
     1,
     true},
    {"HoverRowSkipsFixedCellsWithoutHcFixed",
     [](TBaseGrid& g) {
         brushOf(g, 0, 3);
         hoverRow(g, THoverRowCells(hcNormal | hcSelected));
     },
     0, 3, gdFixed, true, kBrush, 1, true},
    {"HoverRowTakesFixedCellsWithHcFixed",
     [](TBaseGrid& g) {
         brushOf(g, 0, 3);
         hoverRow(g, THoverRowCells(hcNormal | hcFixed));
     },
     0, 3, gdFixed, true, kHover, 1, true},
    {"HoverRowOtherRowUntouched",
     [](TBaseGrid& g) {
         brushOf(g, 1, 2);
         hoverRow(g, hcNormal);
     },
     1,
     2,
     {},
     true,
     kBrush,
     1,
     true},
    {"WideGridLines",
     [](TBaseGrid& g) {
         brushOf(g, 1, 3);
         g.SetGridLineWidth(2);
     },
     1,
     3,
     {},
     true,
     kBrush,
     2,
     true},
    {"NoGridLineWidthNoLines",
     [](TBaseGrid& g) {
         brushOf(g, 1, 3);
         g.SetGridLineWidth(0);
     },
     1,
     3,
     {},
     true,
     kBrush,
     0,
     true},
    {"FixedCellLinesStayOnePixel",
     [](TBaseGrid& g) {
         brushOf(g, 0, 3);
         g.SetGridLineWidth(3);
     },
     0, 3, gdFixed, true, kBrush, 1, true},
    {"ExtSelectedTakesActiveRowColoursWithoutText",
     [](TBaseGrid& g) {
         brushOf(g, 1, 3);
         g.SetActiveRowColor(kActive);
     },
     1, 3, gdSelected, false, kActive, 1, false},
    {"ExtPlainCellDrawsNoText",
     [](TBaseGrid& g) { brushOf(g, 1, 3); },
     1,
     3,
     {},
     false,
     kBrush,
     1,
     false},
};

class BaseGridLook : public BaseGridFixture, public ::testing::WithParamInterface<LookCase> {};

TEST_P(BaseGridLook, PaintedBackgroundLinesAndText)
{
    const LookCase& k = GetParam();
    k.setUp(*grid);
    RecordingGridCanvas canvas;
    const TRect rect = grid->CellRect(grid->DisplColIndex(k.ACol), k.ARow);
    if (k.full)
        grid->PaintCell(canvas, k.ACol, k.ARow, rect, k.state);
    else
        grid->PaintCellExt(canvas, k.ACol, k.ARow, rect, k.state);

    const std::vector<GridDrawOp> fills = canvas.opsOfKind(GridDrawOp::Fill);
    ASSERT_FALSE(fills.empty());
    EXPECT_EQ(fills.front().color, k.background);
    EXPECT_EQ(fills.front().rect, rect);
    const std::vector<GridDrawOp> lines = canvas.opsOfKind(GridDrawOp::Line);
    if (k.lineWidth == 0) {
        EXPECT_TRUE(lines.empty());
    } else {
        ASSERT_EQ(lines.size(), 2u);  // bottom and right
        for (const GridDrawOp& l : lines)
            EXPECT_EQ(l.width, k.lineWidth);
    }
    const std::vector<GridDrawOp> texts = canvas.opsOfKind(GridDrawOp::Text);
    EXPECT_EQ(!texts.empty(), k.text);
    if (k.text) {
        EXPECT_EQ(texts.front().text, QStringLiteral("%1:%2").arg(k.ACol).arg(k.ARow));
    }
    EXPECT_EQ(canvas.clipDepth(), 0);
}

INSTANTIATE_TEST_SUITE_P(Settings, BaseGridLook, ::testing::ValuesIn(kLookCases), CaseName());

TEST_F(BaseGridFixture, LookWritersRepaintOnlyWhenTheValueChanges)
{
    struct Spy : public QObject {
        int paints = 0;
        bool eventFilter(QObject*, QEvent* e) override
        {
            if (e->type() == QEvent::Paint)
                ++paints;
            return false;
        }
    } spy;
    grid->viewport()->installEventFilter(&spy);
    QCoreApplication::processEvents();
    spy.paints = 0;
    grid->SetActiveRowColor(grid->ActiveRowColor);
    grid->SetSelectionStyle(grid->SelectionStyle);
    QCoreApplication::processEvents();
    EXPECT_EQ(spy.paints, 0);
    grid->SetActiveRowShow(true);
    QCoreApplication::processEvents();
    EXPECT_EQ(spy.paints, 1);
    // The grid keeps its own copy of the drawing flag; its cells always go through the base
    // painter.
    grid->SetDefaultDrawing(true);
    EXPECT_TRUE(grid->DefaultDrawing());
    EXPECT_FALSE(grid->TStringGrid::DefaultDrawing());
}

TEST_F(BaseGridFixture, CellGraphicsLiveInTheStoreProperties)
{
    TCellGraphic* g = CreateCellGraphic(*grid, 1, 2);
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(grid->store().GetGraphicObjectEx(1, 2), g);
    EXPECT_EQ(GetCellGraphic(*grid, 1, 2), g);
    EXPECT_TRUE(RemoveCellGraphic(*grid, 1, 2));
    EXPECT_EQ(grid->store().GetGraphicObjectEx(1, 2), nullptr);
    // Outside the grid nothing is stored and nothing is created.
    EXPECT_FALSE(grid->setOwnGraphic(40, 40, std::make_unique<TCellGraphic>()));
    EXPECT_FALSE(grid->store().HasCellProperties(40, 40));
    // Reading does not create properties.
    EXPECT_EQ(grid->ownGraphic(1, 3), nullptr);
    EXPECT_FALSE(grid->store().HasCellProperties(1, 3));
}

}  // namespace
}  // namespace zfw
