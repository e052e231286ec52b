// The tree in header columns: cells painted per column (fixed ones staying put), empty cells
// spanned, the hit column and column clicks, column focus keys, display rectangles, scrolling a
// column into view, the widest content of a column and column order following the direction.

#include "support/CaseName.h"

#include "tree/LazyTreesHeader.h"
#include "tree/LazyTreesString.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace zfw::test {
namespace {

// Four columns of 60 pixels; node i shows "r<i>c<column>" in each column.
struct CellTree {
    std::unique_ptr<TLazyStringTree> tree = std::make_unique<TLazyStringTree>();
    TLTHeader& header = tree->Header();
    TLazyTreeColumns& columns = header.Columns();
    std::map<std::pair<int, int>, QString> overrides;

    explicit CellTree(int width = 400, int rows = 5)
    {
        tree->setFrameStyle(QFrame::NoFrame);
        tree->SetAutoOptions(tree->options().AutoOptions - TLTAutoOptions{toAutoSort});
        tree->resize(width, 200);
        tree->SetNodeDataSize(sizeof(int));
        tree->OnInitNode = [](LazyTreeModel& t, PLazyNode, PLazyNode n, TLazyNodeInitStates&) {
            *t.nodeData<int>(n) = int(n->Index);
        };
        tree->OnGetText = [this](TBaseLazyTree& t, PLazyNode n, TColumnIndex column,
                                 TVSTTextType type, QString& text) {
            if (type != ttNormal)
                return;
            const int row = *t.nodeData<int>(n);
            auto it = overrides.find({row, column});
            text = it != overrides.end() ? it->second
                                         : QStringLiteral("r%1c%2").arg(row).arg(column);
        };
        for (int i = 0; i < 4; ++i)
            columns.Add().SetWidth(60);
        tree->SetRootNodeCount(std::uint32_t(rows));
        tree->show();
        QApplication::processEvents();
    }
    PLazyNode node(int row)
    {
        PLazyNode n = tree->GetFirst();
        for (int i = 0; i < row && n; ++i)
            n = tree->GetNextSibling(n);
        return n;
    }
    void setFixed(int column)
    {
        columns[column].SetOptions(columns[column].Options() + TLTColumnOptions{coFixed});
    }
    // Texts painted, by text, in client coordinates (the canvas is the client area).
    std::map<QString, TRect> paintedTexts()
    {
        RecordingCanvas canvas(tree->palette());
        const int w = tree->viewport()->width();
        tree->PaintTree(canvas,
                        TRect{tree->EffectiveOffsetX(), 0, tree->EffectiveOffsetX() + w, 200},
                        QPoint(0, 0), {poUnbuffered});
        std::map<QString, TRect> out;
        for (const CanvasOp& op : canvas.ops())
            if (op.kind == CanvasOp::Text)
                out[op.text] = op.rect;
        return out;
    }
};

TEST(TreeColumnCells, EachColumnPaintsItsOwnTextInsideItsCell)
{
    CellTree f;
    const auto texts = f.paintedTexts();
    for (int c = 0; c < 4; ++c) {
        const QString t = QStringLiteral("r1c%1").arg(c);
        ASSERT_TRUE(texts.count(t)) << c;
        EXPECT_GE(texts.at(t).Left, c * 60) << c;
        EXPECT_LE(texts.at(t).Right, (c + 1) * 60) << c;
    }
    // Only the main column is indented: the others start at their margin.
    EXPECT_EQ(texts.at("r0c1").Left - 60, texts.at("r0c2").Left - 120);
    EXPECT_GT(texts.at("r0c0").Left, texts.at("r0c1").Left - 60);
}

TEST(TreeColumnCells, MovedColumnPaintsAtItsPosition)
{
    CellTree f;
    f.columns[3].SetPosition(0);
    const auto texts = f.paintedTexts();
    EXPECT_LT(texts.at("r0c3").Right, 60);
    EXPECT_GE(texts.at("r0c0").Left, 60);
}

TEST(TreeColumnCells, FixedColumnStaysWhileTheOthersScroll)
{
    CellTree f(150);
    f.setFixed(0);
    const auto before = f.paintedTexts();
    f.tree->SetOffsetX(-50);
    ASSERT_EQ(f.tree->EffectiveOffsetX(), 50);
    const auto after = f.paintedTexts();
    // In client coordinates the fixed column keeps its place and the third moved left by 50.
    EXPECT_EQ(after.at("r0c0").Left, before.at("r0c0").Left);
    EXPECT_EQ(after.at("r0c2").Left, before.at("r0c2").Left - 50);
}

TEST(TreeColumnCells, EmptyCellsAreSpannedWithAutoSpan)
{
    CellTree f;
    f.overrides[{0, 2}] = "";
    f.overrides[{0, 3}] = "";
    f.overrides[{0, 1}] = QString(40, QChar('w'));
    auto width = [&] {
        const auto texts = f.paintedTexts();
        return texts.at(f.overrides[{0, 1}]).Right;
    };
    const int cut = width();
    EXPECT_LE(cut, 120);
    f.tree->SetAutoOptions(f.tree->options().AutoOptions + TLTAutoOptions{toAutoSpanColumns});
    EXPECT_GT(width(), 120);
    EXPECT_LE(width(), 240);
}

TEST(TreeColumnCells, HitColumnAndColumnClick)
{
    CellTree f;
    THitInfo hit;
    f.tree->GetHitTestInfoAt(130, 5, true, hit);
    EXPECT_EQ(hit.HitColumn, 2);
    EXPECT_EQ(hit.HitNode, f.node(0));
    f.tree->GetHitTestInfoAt(300, 5, true, hit);
    EXPECT_EQ(hit.HitColumn, InvalidColumn);
    EXPECT_TRUE(hit.HitPositions.contains(hiNowhere));
    std::vector<TColumnIndex> clicked;
    f.tree->OnColumnClick = [&](TBaseLazyTree&, TColumnIndex c, Qt::KeyboardModifiers) {
        clicked.push_back(c);
    };
    QTest::mouseClick(f.tree->viewport(), Qt::LeftButton, {}, QPoint(70, 5));
    EXPECT_EQ(clicked, std::vector<TColumnIndex>{1});
}

TEST(TreeColumnCells, ClicksOnTheHeaderBandNeverReachTheRows)
{
    CellTree f;
    f.header.SetOptions(f.header.Options() + TLTHeaderOptions{hoVisible});
    QApplication::processEvents();
    int clicks = 0;
    f.tree->OnNodeClick = [&](TBaseLazyTree&, const THitInfo&) { ++clicks; };
    QTest::mouseClick(f.header.widget(), Qt::LeftButton, {}, QPoint(70, 5));
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(f.tree->FocusedNode(), nullptr);
    QTest::mouseClick(f.tree->viewport(), Qt::LeftButton, {}, QPoint(70, 5));
    EXPECT_EQ(clicks, 1);
}

TEST(TreeColumnCells, ClickMovesTheColumnFocusWithExtendedFocus)
{
    CellTree f;
    f.tree->SetSelectionOptions(f.tree->options().SelectionOptions
                                + TLTSelectionOptions{toExtendedFocus});
    QTest::mouseClick(f.tree->viewport(), Qt::LeftButton, {}, QPoint(190, 25));
    EXPECT_EQ(f.tree->FocusedColumn(), 3);
    EXPECT_EQ(f.tree->FocusedNode(), f.node(1));
    f.columns[1].SetOptions(f.columns[1].Options() - TLTColumnOptions{coAllowFocus});
    QTest::mouseClick(f.tree->viewport(), Qt::LeftButton, {}, QPoint(70, 25));
    EXPECT_EQ(f.tree->FocusedColumn(), 3);
}

struct KeyCase {
    const char* name;
    TColumnIndex start;
    std::vector<std::pair<int, Qt::KeyboardModifiers>> keys;
    TColumnIndex wantColumn;
    int wantRow;
};

const KeyCase kKeyCases[] = {
    {"RightSkipsUnfocusable", 0, {{Qt::Key_Right, {}}}, 2, 0},
    {"LeftAtFirstStays", 0, {{Qt::Key_Left, {}}}, 0, 0},
    {"RightTwiceReachesLast", 0, {{Qt::Key_Right, {}}, {Qt::Key_Right, {}}}, 3, 0},
    {"HomeGoesToFirstColumn", 3, {{Qt::Key_Home, {}}}, 0, 0},
    {"EndGoesToLastColumn", 0, {{Qt::Key_End, {}}}, 3, 0},
    {"TabToNextCell", 0, {{Qt::Key_Tab, {}}}, 2, 0},
    {"TabFromLastCellWrapsToNextRow", 3, {{Qt::Key_Tab, {}}}, 0, 1},
    {"BacktabToPreviousCell", 3, {{Qt::Key_Backtab, Qt::ShiftModifier}}, 2, 0},
    {"ColumnPageRight", 0, {{Qt::Key_PageDown, Qt::ShiftModifier | Qt::AltModifier}}, 2, 0},
};

class ColumnKeys : public ::testing::TestWithParam<KeyCase> {};

TEST_P(ColumnKeys, MoveTheFocusedColumn)
{
    const KeyCase& c = GetParam();
    CellTree f(130);  // two columns and a bit fit into the client
    f.tree->SetSelectionOptions(f.tree->options().SelectionOptions
                                + TLTSelectionOptions{toExtendedFocus});
    f.tree->SetMiscOptions(f.tree->options().MiscOptions + TLTMiscOptions{toGridExtensions});
    f.columns[1].SetOptions(f.columns[1].Options() - TLTColumnOptions{coAllowFocus});
    f.tree->SetFocusedNode(f.node(0));
    f.tree->SetFocusedColumn(c.start);
    ASSERT_EQ(f.tree->FocusedColumn(), c.start);
    f.tree->setFocus();
    for (const auto& [key, mods] : c.keys)
        QTest::keyClick(f.tree.get(), Qt::Key(key), mods);
    EXPECT_EQ(f.tree->FocusedColumn(), c.wantColumn);
    EXPECT_EQ(f.tree->FocusedNode(), f.node(c.wantRow));
}

INSTANTIATE_TEST_SUITE_P(Table, ColumnKeys, ::testing::ValuesIn(kKeyCases), CaseName{});

TEST(TreeColumnCells, FocusedColumnRefusesHiddenAndUnknownColumns)
{
    CellTree f;
    f.columns[2].SetOptions(f.columns[2].Options() - TLTColumnOptions{coAllowFocus});
    f.tree->SetFocusedColumn(1);
    EXPECT_EQ(f.tree->FocusedColumn(), 1);
    f.tree->SetFocusedColumn(2);
    EXPECT_EQ(f.tree->FocusedColumn(), 1);
    f.tree->SetFocusedColumn(9);
    EXPECT_EQ(f.tree->FocusedColumn(), 1);
    f.columns.Delete(1);
    EXPECT_EQ(f.tree->FocusedColumn(), NoColumn);
}

TEST(TreeColumnCells, DisplayRectOfAColumn)
{
    CellTree f;
    const QRect cell = f.tree->GetDisplayRect(f.node(1), 2, false);
    EXPECT_EQ(cell.left(), 120);
    EXPECT_EQ(cell.width(), 59);
    EXPECT_EQ(cell.top(), 18);
    const QRect text = f.tree->GetDisplayRect(f.node(1), 2, true);
    EXPECT_EQ(text.left(), 120 + f.tree->Margin());
    const QRect mainText = f.tree->GetDisplayRect(f.node(1), 0, true);
    EXPECT_GT(mainText.left(), f.tree->Margin());
}

TEST(TreeColumnCells, ScrollColumnIntoView)
{
    CellTree f(100);
    f.setFixed(0);
    EXPECT_FALSE(f.tree->ScrollColumnIntoView(7, false));
    EXPECT_TRUE(f.tree->ScrollColumnIntoView(3, false));
    // Its right edge meets the client's right edge.
    EXPECT_EQ(f.tree->EffectiveOffsetX(), 240 - 100);
    // Back left of the fixed area: its left edge meets the fixed area's right edge.
    EXPECT_TRUE(f.tree->ScrollColumnIntoView(1, false));
    EXPECT_EQ(f.tree->EffectiveOffsetX(), 0);
    EXPECT_TRUE(f.tree->ScrollColumnIntoView(0, false));
    EXPECT_EQ(f.tree->EffectiveOffsetX(), 0);
}

TEST(TreeColumnCells, NodeHeightSplittersOnlyInFixedColumns)
{
    CellTree f;
    f.tree->SetMiscOptions(f.tree->options().MiscOptions + TLTMiscOptions{toNodeHeightResize});
    f.setFixed(0);
    EXPECT_TRUE(f.tree->CanSplitterResizeNode(QPoint(5, 17), f.node(0), 0));
    EXPECT_FALSE(f.tree->CanSplitterResizeNode(QPoint(65, 17), f.node(0), 1));
}

TEST(TreeColumnCells, MaxColumnWidthCountsRowsInViewOnlyWhenSmart)
{
    CellTree f(400, 100);
    f.overrides[{80, 1}] = QString(30, QChar('m'));
    const int smart = f.tree->GetMaxColumnWidth(1, true);
    const int all = f.tree->GetMaxColumnWidth(1, false);
    EXPECT_GT(all, smart);
    EXPECT_GT(smart, 0);
    // Ctrl+Add fits the columns to their contents (column 1 takes the long text).
    f.tree->setFocus();
    QTest::keyClick(f.tree.get(), Qt::Key_Plus, Qt::ControlModifier);
    for (int i = 0; i < 1000 && f.columns.AnimationRunning(); ++i)
        f.columns.AnimationStep();
    EXPECT_EQ(f.columns[1].Width(), all);
    QTest::keyClick(f.tree.get(), Qt::Key_Minus, Qt::ControlModifier);
    for (int i = 0; i < 1000 && f.columns.AnimationRunning(); ++i)
        f.columns.AnimationStep();
    EXPECT_EQ(f.columns[1].Width(), 60);
}

TEST(TreeColumnCells, ColumnOrderFollowsTheReadingDirection)
{
    CellTree f;
    f.tree->SetAutoOptions(f.tree->options().AutoOptions
                           + TLTAutoOptions{toAutoBidiColumnOrdering});
    f.tree->setLayoutDirection(Qt::RightToLeft);
    EXPECT_EQ(f.columns.PositionToIndex(), (std::vector<TColumnIndex>{3, 2, 1, 0}));
    EXPECT_EQ(f.columns[0].BiDiMode(), bdRightToLeft);
    f.tree->setLayoutDirection(Qt::LeftToRight);
    EXPECT_EQ(f.columns.PositionToIndex(), (std::vector<TColumnIndex>{0, 1, 2, 3}));
}

TEST(TreeColumnCells, ColumnColourFillsItsCellsOnScreen)
{
    CellTree f;
    f.columns[2].SetColor(clRed);
    f.overrides[{0, 2}] = "";
    const QImage shot = f.tree->viewport()->grab().toImage();
    EXPECT_EQ(shot.pixelColor(150, 9), QColor(255, 0, 0));
    EXPECT_NE(shot.pixelColor(100, 9), QColor(255, 0, 0));
    EXPECT_NE(shot.pixelColor(200, 9), QColor(255, 0, 0));
    // The header band above the rows shows once the header is visible: drawn with frames, its
    // background right of the last column.
    f.tree->SetPaintOptions(f.tree->options().PaintOptions - TLTPaintOptions{toThemeAware});
    f.header.SetOptions(f.header.Options() + TLTHeaderOptions{hoVisible});
    f.header.SetBackground(clBlue);
    const QImage whole = f.tree->grab().toImage();
    EXPECT_EQ(whole.pixelColor(300, 5), QColor(0, 0, 255));
    EXPECT_EQ(whole.pixelColor(150, f.header.Height() + 9), QColor(255, 0, 0));
}

TEST(TreeColumnCells, AutoFitAsksBeforeEachColumn)
{
    CellTree f;
    std::vector<TColumnIndex> asked;
    std::vector<TColumnIndex> fitted;
    f.tree->OnBeforeAutoFitColumn = [&](TLTHeader&, TColumnIndex c, TSmartAutoFitType&,
                                        bool& allowed) {
        asked.push_back(c);
        allowed = c != 2;
    };
    f.tree->OnAfterAutoFitColumn = [&](TLTHeader&, TColumnIndex c) { fitted.push_back(c); };
    f.columns[1].SetOptions(f.columns[1].Options() - TLTColumnOptions{coResizable});
    f.columns[3].SetPosition(0);
    f.header.AutoFitColumns(false, smaNoColumn);
    // By position, skipping the column that may not be resized.
    EXPECT_EQ(asked, (std::vector<TColumnIndex>{3, 0, 2}));
    EXPECT_EQ(fitted, (std::vector<TColumnIndex>{3, 0}));
    EXPECT_EQ(f.columns[3].Width(), f.tree->GetMaxColumnWidth(3));
    EXPECT_EQ(f.columns[2].Width(), 60);
}

TEST(TreeColumnCells, ContentWidthIsTheColumnsWidth)
{
    CellTree f(100);
    EXPECT_EQ(f.tree->RangeX(), 240);
    f.columns[0].SetWidth(100);
    EXPECT_EQ(f.tree->RangeX(), 280);
}

}  // namespace
}  // namespace zfw::test
