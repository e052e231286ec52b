// Painting: the recorded drawing of rows (lines, buttons, check boxes, images, text) and pixel
// probes of the picture a user sees.

#include "support/CaseName.h"
#include "tree/LazyTreesString.h"
#include "tree/LazyTreesUtils.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace zfw::test {
namespace {

class PaintTreeProbe : public TLazyStringTree {
public:
    using TBaseLazyTree::clientWidth;
    using TBaseLazyTree::focusedColumnIndex;
};

// Two slaves with two records each; the second slave collapsed. Every node has a check box
// and the level's image.
struct ScanTree {
    std::unique_ptr<PaintTreeProbe> tree = std::make_unique<PaintTreeProbe>();
    TImageList images{16, 16};
    std::vector<PLazyNode> slaves;

    ScanTree(int records = 2, int details = 0)
    {
        for (QColor c : {QColor(200, 0, 0), QColor(0, 150, 0), QColor(0, 0, 200)}) {
            QImage img(16, 16, QImage::Format_ARGB32);
            img.fill(c);
            images.Add(img);
        }
        tree->SetAutoOptions(tree->options().AutoOptions - TLTAutoOptions{toAutoSort});
        tree->SetMiscOptions(tree->options().MiscOptions + TLTMiscOptions{toCheckSupport});
        tree->SetSelectionOptions({toMultiSelect});
        tree->SetImages(&images);
        tree->SetAnimationDuration(0);
        tree->OnGetText = [](TBaseLazyTree& t, PLazyNode n, TColumnIndex, TVSTTextType type,
                             QString& text) {
            if (type != ttNormal)
                return;
            const int level = int(t.GetNodeLevel(n));
            text = (level == 0   ? QStringLiteral("Slave %1")
                    : level == 1 ? QStringLiteral("Record %1")
                                 : QStringLiteral("Detail %1"))
                       .arg(n->Index);
        };
        tree->OnGetImageIndex = [](TBaseLazyTree& t, PLazyNode n, TLTImageKind kind, TColumnIndex,
                                   bool&, int& index) {
            if (kind == ikNormal || kind == ikSelected)
                index = int(t.GetNodeLevel(n));
        };
        for (int s = 0; s < 2; ++s) {
            PLazyNode slave = tree->AddChild(nullptr);
            tree->SetCheckType(slave, ctTriStateCheckBox);
            for (int r = 0; r < records; ++r) {
                PLazyNode record = tree->AddChild(slave);
                tree->SetCheckType(record, ctTriStateCheckBox);
                for (int d = 0; d < details; ++d)
                    tree->SetCheckType(tree->AddChild(record), ctCheckBox);
            }
            slaves.push_back(slave);
        }
        tree->SetExpanded(slaves[0], true);
        tree->resize(300, 200);
    }

    QImage render()
    {
        QImage img(tree->viewport()->size(), QImage::Format_ARGB32);
        img.fill(Qt::magenta);
        QPainter p(&img);
        QPainterCanvas canvas(p, tree->palette());
        tree->PaintTree(canvas, TRect::fromQRect(QRect(QPoint(0, 0), img.size())), QPoint(0, 0),
                        {poBackground, poDrawSelection, poDrawFocusRect, poGridLines});
        p.end();
        return img;
    }

    std::vector<CanvasOp> record(TLTInternalPaintOptions options = {poDrawSelection})
    {
        RecordingCanvas canvas(tree->palette());
        tree->PaintTree(canvas, Rect(0, 0, 300, 200), QPoint(0, 0),
                        options + TLTInternalPaintOptions{poUnbuffered});
        return canvas.ops();
    }
};

std::vector<CanvasOp> ofKind(const std::vector<CanvasOp>& ops, CanvasOp::Kind kind)
{
    std::vector<CanvasOp> out;
    for (const CanvasOp& op : ops)
        if (op.kind == kind)
            out.push_back(op);
    return out;
}

TEST(TreePaint, RowsDrawCheckBoxImageAndTextInReadingOrder)
{
    ScanTree f;
    const auto ops = f.record();
    // Three shown rows: slave 0, its two records, slave 1 (collapsed): four texts.
    const auto texts = ofKind(ops, CanvasOp::Text);
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[0].text, "Slave 0");
    EXPECT_EQ(texts[1].text, "Record 0");
    EXPECT_EQ(texts[3].text, "Slave 1");
    // Per row: the check box image, then the level image, then the text, left to right.
    const auto images = ofKind(ops, CanvasOp::Image);
    const int indent = f.tree->Indent();
    // Row 1 (a record): the button-less level, check box behind two indents.
    std::vector<CanvasOp> row1;
    for (const CanvasOp& op : images)
        if (op.rect.Top >= 18 && op.rect.Bottom <= 36)
            row1.push_back(op);
    ASSERT_EQ(row1.size(), 2u);
    EXPECT_LT(row1[0].rect.Left, row1[1].rect.Left);
    EXPECT_GE(row1[0].rect.Left, 2 * indent);
    EXPECT_LT(row1[1].rect.Right, texts[1].rect.Left + 8);
}

TEST(TreePaint, ImageIndexOutsideTheListDrawsNoImage)
{
    ScanTree f;
    f.tree->OnGetImageIndex = [](TBaseLazyTree&, PLazyNode, TLTImageKind, TColumnIndex, bool&,
                                 int& index) { index = 99; };
    f.tree->SetMiscOptions(f.tree->options().MiscOptions - TLTMiscOptions{toCheckSupport});
    f.tree->SetPaintOptions(f.tree->options().PaintOptions - TLTPaintOptions{toShowButtons});
    EXPECT_TRUE(ofKind(f.record(), CanvasOp::Image).empty());
}

TEST(TreePaint, DottedLinesKeepTheirPhaseAcrossRows)
{
    ScanTree f;
    f.tree->SetMiscOptions(f.tree->options().MiscOptions - TLTMiscOptions{toCheckSupport});
    const QImage img = f.render();
    // The vertical line of the top level runs through rows 0 to 2 at Indent / 2 (rounded to
    // even): its pixels alternate, also where one row ends and the next begins.
    const int x = 9;
    std::vector<bool> ink;
    const QRgb base = f.tree->palette().color(QPalette::Base).rgb();
    for (int y = 14; y < 48; ++y)
        ink.push_back(img.pixel(x, y) != base);
    int changes = 0;
    for (std::size_t i = 1; i < ink.size(); ++i)
        changes += ink[i] != ink[i - 1] ? 1 : 0;
    EXPECT_EQ(changes, int(ink.size()) - 1);
}

TEST(TreePaint, CheckMarkAndSelectionShowInThePicture)
{
    ScanTree f;
    const QImage before = f.render();
    f.tree->SetCheckState(f.slaves[0], csCheckedNormal);
    f.tree->SetSelected(f.tree->GetFirstChild(f.slaves[0]), true);
    const QImage after = f.render();
    // The check box of row 0 changed.
    const QRect box = f.tree->GetDisplayRect(f.slaves[0], NoColumn, false);
    int changed = 0;
    for (int x = 0; x < 60; ++x)
        for (int y = box.top(); y < box.top() + 18; ++y)
            changed += before.pixel(x, y) != after.pixel(x, y) ? 1 : 0;
    EXPECT_GT(changed, 4);
    // The selected record's text area is filled with the selection colour.
    const QRect text = f.tree->GetDisplayRect(f.tree->GetFirstChild(f.slaves[0]), NoColumn, true);
    const TColor selection = f.tree->Colors().GetColor(TLTColors::UnfocusedSelectionColor);
    const QRgb expected = toQColor(selection, f.tree->palette()).rgb();
    EXPECT_EQ(after.pixel(text.right() - 2, text.top() + 2), expected);
}

TEST(TreePaint, EmptyListMessageIsGrey)
{
    PaintTreeProbe tree;
    tree.resize(300, 100);
    tree.SetEmptyListMessage(QStringLiteral("WWWW WWWW"));
    RecordingCanvas canvas(tree.palette());
    tree.PaintTree(canvas, Rect(0, 0, 300, 100), QPoint(0, 0), {poUnbuffered});
    const auto texts = ofKind(canvas.ops(), CanvasOp::Text);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, "WWWW WWWW");
    EXPECT_EQ(texts[0].color, clGrayText);
    EXPECT_EQ(texts[0].rect.Left, 2);
}

TEST(TreePaint, SelectedOnlyLeavesOtherRowsBlank)
{
    ScanTree f;
    f.tree->SetSelected(f.slaves[1], true);
    const auto texts = ofKind(f.record({poSelectedOnly}), CanvasOp::Text);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, "Slave 1");
    EXPECT_EQ(texts[0].rect.Top, 3 * 18);
}

TEST(TreePaint, ARowOfHeightZeroIsSkipped)
{
    ScanTree f;
    f.tree->SetNodeHeight(f.tree->GetFirstChild(f.slaves[0]), 0);
    const auto texts = ofKind(f.record(), CanvasOp::Text);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[1].text, "Record 1");
}

TEST(TreePaint, AThrowingHandlerLeavesNoPaintingState)
{
    ScanTree f;
    f.tree->OnAfterItemPaint = [](TBaseLazyTree&, ICanvas&, PLazyNode, const TRect&) {
        throw std::runtime_error("owner failed");
    };
    EXPECT_THROW(f.record(), std::runtime_error);
    EXPECT_FALSE(f.tree->TreeStates().contains(tsPainting));
    // Through the widget the exception stops at the tree.
    f.tree->show();
    f.tree->grab();
    EXPECT_FALSE(f.tree->lastHandlerError().isEmpty());
    EXPECT_FALSE(f.tree->TreeStates().contains(tsPainting));
}

TEST(TreePaint, NestedPaintDoesNothing)
{
    ScanTree f;
    int inner = 0;
    f.tree->OnAfterPaint = [&](TBaseLazyTree& t, ICanvas&) {
        RecordingCanvas nested;
        t.PaintTree(nested, Rect(0, 0, 100, 100), QPoint(0, 0), {poUnbuffered});
        inner += int(nested.ops().size());
    };
    f.record();
    EXPECT_EQ(inner, 0);
}

TEST(TreePaint, AHugeTextIsCutBeforeLayout)
{
    ScanTree f;
    const QString huge(1 << 20, QLatin1Char('x'));
    f.tree->OnGetText = [&](TBaseLazyTree&, PLazyNode, TColumnIndex, TVSTTextType type,
                            QString& text) {
        if (type == ttNormal)
            text = huge;
    };
    const auto texts = ofKind(f.record(), CanvasOp::Text);
    ASSERT_FALSE(texts.empty());
    EXPECT_LE(texts[0].text.size(), 4096);
}

struct LineCase {
    std::string name;
    std::string tree;  // which node, by path of indexes
    std::vector<int> path;
    bool showRoot;
    std::vector<TLTLineType> expected;
};

class TreeLineImages : public ::testing::TestWithParam<LineCase> {};

TEST_P(TreeLineImages, DescribeEachLevel)
{
    const LineCase& c = GetParam();
    PaintTreeProbe tree;
    tree.SetAutoOptions(tree.options().AutoOptions - TLTAutoOptions{toAutoSort});
    // A(A0 A1(A10)) B C
    PLazyNode a = tree.AddChild(nullptr);
    tree.AddChild(nullptr);
    tree.AddChild(nullptr);
    tree.AddChild(a);
    PLazyNode a1 = tree.AddChild(a);
    tree.AddChild(a1);
    if (!c.showRoot)
        tree.SetPaintOptions(tree.options().PaintOptions - TLTPaintOptions{toShowRoot});
    PLazyNode node = tree.RootNode();
    for (int i : c.path) {
        node = node->FirstChild;
        for (int k = 0; k < i; ++k)
            node = node->NextSibling;
    }
    TLineImage image;
    tree.DetermineLineImages(node, image);
    EXPECT_EQ(image, c.expected);
}

const std::vector<LineCase> kLineCases = {
    {"FirstTopLevel", "", {0}, true, {ltBottomRight}},
    {"MiddleTopLevel", "", {1}, true, {ltTopDownRight}},
    {"LastTopLevel", "", {2}, true, {ltTopRight}},
    {"ChildWithNextSibling", "", {0, 0}, true, {ltTopDown, ltTopDownRight}},
    {"LastChild", "", {0, 1}, true, {ltTopDown, ltTopRight}},
    {"Grandchild", "", {0, 1, 0}, true, {ltTopDown, ltNone, ltTopRight}},
    {"GrandchildWithoutRoot", "", {0, 1, 0}, false, {ltNone, ltTopRight}},
};
INSTANTIATE_TEST_SUITE_P(Cases, TreeLineImages, ::testing::ValuesIn(kLineCases), CaseName());

TEST(TreePaint, ScanWindowShapeRendersToPng)
{
    ScanTree f(3, 12);
    f.tree->SetExpanded(f.tree->GetFirstChild(f.slaves[0]), true);
    PLazyNode record = f.tree->GetFirstChild(f.slaves[0])->NextSibling;
    f.tree->SetCheckState(f.slaves[0], csCheckedNormal);
    // Unticking one record leaves its slave mixed.
    f.tree->SetCheckState(record, csUncheckedNormal);
    EXPECT_EQ(f.slaves[0]->CheckState, csMixedNormal);
    f.tree->resize(320, 400);
    const QImage img = f.render();
    if (qEnvironmentVariableIsSet("ZFW_DUMP_PNG"))
        img.save(QStringLiteral("/tmp/lazytree-scan.png"));
    EXPECT_EQ(img.pixel(img.width() - 1, img.height() - 1),
              f.tree->palette().color(QPalette::Base).rgb());
}

}  // namespace
}  // namespace zfw::test
