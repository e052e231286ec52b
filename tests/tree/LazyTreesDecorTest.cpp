// What the paint pass draws besides the cells: the background picture, the drop mark, the
// rubber band, custom line patterns, themed buttons and custom check pictures.

#include "support/CaseName.h"
#include "tree/LazyTreesString.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zfw::test {
namespace {

class DecorTree : public TLazyStringTree {
public:
    using TBaseLazyTree::FNewSelRect;
    using TBaseLazyTree::FStates;
};

// Three top-level rows of height 18 (the second with two children, expanded) in a 200 x 150
// viewport: rows at 0, 18, 36, 54, 72; the area below starts at 90.
struct Fixture {
    DecorTree tree;
    std::vector<PLazyNode> top;

    Fixture()
    {
        tree.SetAutoOptions(tree.options().AutoOptions - TLTAutoOptions{toAutoSort});
        tree.SetAnimationDuration(0);
        for (int i = 0; i < 3; ++i)
            top.push_back(tree.AddChild(nullptr));
        tree.AddChild(top[1]);
        tree.AddChild(top[1]);
        tree.SetExpanded(top[1], true);
        tree.resize(200, 150);
    }

    std::vector<CanvasOp> record(TLTInternalPaintOptions options = {poBackground, poDrawDropMark})
    {
        RecordingCanvas canvas(tree.palette());
        tree.PaintTree(canvas, Rect(0, 0, 200, 150), QPoint(0, 0),
                       options + TLTInternalPaintOptions{poUnbuffered});
        return canvas.ops();
    }

    // The client area as the window shows it: the scroll offsets applied.
    QImage render(TLTInternalPaintOptions options = {poBackground, poDrawDropMark})
    {
        const QSize size = tree.viewport()->size();
        QImage img(size, QImage::Format_ARGB32);
        img.fill(Qt::magenta);
        QPainter p(&img);
        QPainterCanvas canvas(p, tree.palette());
        const TRect window = Rect(0, 0, size.width(), size.height())
                                 .offset(tree.EffectiveOffsetX(), -tree.OffsetY());
        tree.PaintTree(canvas, window, QPoint(0, 0), options);
        p.end();
        return img;
    }

    void showBackground(const QImage& picture, bool isStatic)
    {
        TLTPaintOptions paint = tree.options().PaintOptions + TLTPaintOptions{toShowBackground};
        if (isStatic)
            paint.include(toStaticBackground);
        tree.SetPaintOptions(paint);
        tree.SetBackground(picture);
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

// A 10 x 10 picture: red, with a blue pixel at (0, 0) that shows where each tile starts.
QImage tile()
{
    QImage img(10, 10, QImage::Format_RGB32);
    img.fill(Qt::red);
    img.setPixel(0, 0, qRgb(0, 0, 255));
    return img;
}

TEST(TreeDecor, TiledBackgroundFollowsTheScrolledContent)
{
    Fixture f;
    f.showBackground(tile(), false);
    f.tree.SetBackgroundOffset(0, 3);
    // Every row and the area below take the picture, phased by their place in the tree.
    const auto tiles = ofKind(f.record(), CanvasOp::TiledImage);
    ASSERT_EQ(tiles.size(), 6u);
    EXPECT_EQ(tiles[1].rect, Rect(0, 18, 200, 36));
    EXPECT_EQ(tiles[1].x1, 3);
    EXPECT_EQ(tiles[1].y1, 8);
    EXPECT_EQ(tiles[5].rect, Rect(0, 90, 200, 150));
    EXPECT_EQ(tiles[5].y1, 0);

    // Pixels: a tile starts at tree x 7 (offset 3), y 0, 10, 20 ...; scrolled down by 5 rows'
    // worth the tiles stay with the content.
    f.tree.SetBackgroundOffset(0, 0);
    QImage img = f.render();
    EXPECT_EQ(img.pixel(0, 0), qRgb(0, 0, 255));
    EXPECT_EQ(img.pixel(10, 20), qRgb(0, 0, 255));
    EXPECT_EQ(img.pixel(11, 20), qRgb(255, 0, 0));
    EXPECT_EQ(img.pixel(50, 120), qRgb(0, 0, 255));
    f.tree.resize(200, 40);
    f.tree.show();
    QApplication::processEvents();
    f.tree.SetOffsetY(-14);
    ASSERT_EQ(f.tree.OffsetY(), -14);
    img = f.render();
    // Client y 6 is tree y 20: a tile row.
    EXPECT_EQ(img.pixel(10, 6), qRgb(0, 0, 255));
    EXPECT_EQ(img.pixel(10, 7), qRgb(255, 0, 0));
}

TEST(TreeDecor, StaticBackgroundStaysInTheClientAreaAndTransparentPartsShowTheWindow)
{
    Fixture f;
    QImage picture(20, 20, QImage::Format_ARGB32);
    picture.fill(Qt::transparent);
    for (int i = 0; i < 20; ++i)
        picture.setPixel(i, i, qRgb(0, 128, 0));
    f.showBackground(picture, true);
    f.tree.SetBackgroundOffset(0, 30);
    f.tree.SetBackgroundOffset(1, 25);
    f.tree.resize(200, 40);
    f.tree.show();
    QApplication::processEvents();
    f.tree.SetOffsetY(-14);
    ASSERT_EQ(f.tree.OffsetY(), -14);
    const QImage img = f.render();
    const QRgb base = f.tree.palette().color(QPalette::Base).rgb();
    EXPECT_EQ(img.pixel(30, 25), qRgb(0, 128, 0));
    EXPECT_EQ(img.pixel(40, 35), qRgb(0, 128, 0));
    EXPECT_EQ(img.pixel(31, 25), base);
    EXPECT_EQ(img.pixel(10, 5), base);
}

TEST(TreeDecor, WithoutTheOptionOrThePassOptionThePictureIsNotShown)
{
    Fixture f;
    f.tree.SetBackground(tile());
    EXPECT_TRUE(ofKind(f.record(), CanvasOp::TiledImage).empty());
    f.showBackground(tile(), false);
    EXPECT_TRUE(ofKind(f.record({}), CanvasOp::TiledImage).empty());
    EXPECT_FALSE(ofKind(f.record(), CanvasOp::TiledImage).empty());
}

struct DropMarkCase {
    std::string name;
    TDropMode mode;
    // On the row 18..36; a negative x counts from the row's right end.
    std::vector<QPoint> points;
};

class TreeDropMark : public ::testing::TestWithParam<DropMarkCase> {};

TEST_P(TreeDropMark, PolygonAtTheEdgeOfTheTargetRow)
{
    Fixture f;
    f.tree.SetDropTarget(f.top[1], GetParam().mode);
    const auto marks = ofKind(f.record(), CanvasOp::Polygon);
    if (GetParam().points.empty()) {
        EXPECT_TRUE(marks.empty());
        return;
    }
    ASSERT_EQ(marks.size(), 1u);
    // The row reaches as far right as the content or the client area, whichever is wider.
    const int right = int(std::max<std::int64_t>(f.tree.viewport()->width(), f.tree.RangeX()));
    std::vector<QPoint> expected = GetParam().points;
    for (QPoint& p : expected)
        if (p.x() < 0)
            p.setX(right + p.x());
    EXPECT_EQ(marks[0].points, expected);
    EXPECT_EQ(marks[0].color, f.tree.color(TLTColors::DropMarkColor));
}

const DropMarkCase kDropMarks[] = {
    {"Above", dmAbove, {{2, 18}, {-2, 18}, {-2, 24}, {-6, 20}, {6, 20}, {2, 24}}},
    {"Below", dmBelow, {{2, 35}, {-2, 35}, {-2, 28}, {-7, 33}, {7, 33}, {2, 28}}},
    {"OnNode", dmOnNode, {}},
};
INSTANTIATE_TEST_SUITE_P(Cases, TreeDropMark, ::testing::ValuesIn(kDropMarks), CaseName());

TEST(TreeDecor, DropMarkNeedsTheOptionAndThePassOptionAndFollowsTheNode)
{
    Fixture f;
    f.tree.SetDropTarget(f.top[1], dmAbove);
    EXPECT_TRUE(ofKind(f.record({}), CanvasOp::Polygon).empty());
    f.tree.SetPaintOptions(f.tree.options().PaintOptions - TLTPaintOptions{toShowDropmark});
    EXPECT_TRUE(ofKind(f.record(), CanvasOp::Polygon).empty());
    // A freed target leaves no reference behind.
    f.tree.DeleteNode(f.top[1]);
    EXPECT_EQ(f.tree.DropTargetNode(), nullptr);
    EXPECT_EQ(f.tree.LastDropMode(), dmNowhere);
}

TEST(TreeDecor, TheDropTargetNodeSetterMovesTheMarkAndKeepsTheMode)
{
    Fixture f;
    f.tree.SetDropTarget(f.top[1], dmAbove);
    f.tree.SetDropTargetNode(f.top[2]);
    EXPECT_EQ(f.tree.DropTargetNode(), f.top[2]);
    EXPECT_EQ(f.tree.LastDropMode(), dmAbove);
    const auto marks = ofKind(f.record(), CanvasOp::Polygon);
    ASSERT_EQ(marks.size(), 1u);
    // The third top-level row starts at 72, below the expanded second one and its children.
    EXPECT_EQ(marks[0].points.front(), QPoint(2, 72));
    // The hidden root is no target.
    f.tree.SetDropTargetNode(f.tree.RootNode());
    EXPECT_EQ(f.tree.DropTargetNode(), nullptr);
    EXPECT_EQ(f.tree.LastDropMode(), dmNowhere);
    EXPECT_TRUE(ofKind(f.record(), CanvasOp::Polygon).empty());
}

struct OverlayCase {
    std::string name;
    int overlay;
    bool withMask;   // overlay mask 15 names image 3
    int drawnAbove;  // the image drawn over the normal image 0, -1 for none
};

class TreeOverlay : public ::testing::TestWithParam<OverlayCase> {};

TEST_P(TreeOverlay, LowNumbersUseTheMaskHighOnesTheImage)
{
    Fixture f;
    TImageList images(16, 16);
    for (int i = 0; i < 20; ++i) {
        QImage img(16, 16, QImage::Format_ARGB32);
        img.fill(QColor::fromHsv(i * 15, 255, 255));
        images.Add(img);
    }
    if (GetParam().withMask)
        images.SetOverlayImage(3, 15);
    f.tree.SetImages(&images);
    const int overlay = GetParam().overlay;
    f.tree.OnGetImageIndex = [&](TBaseLazyTree&, PLazyNode n, TLTImageKind kind, TColumnIndex,
                                 bool&, int& index) {
        if (n != f.top[0])
            return;
        if (kind == ikNormal || kind == ikSelected)
            index = 0;
        else if (kind == ikOverlay)
            index = overlay;
    };
    std::vector<qint64> drawn;
    for (const CanvasOp& op : ofKind(f.record(), CanvasOp::Image))
        if (op.rect.Top < 18)
            drawn.push_back(op.imageKey);
    std::vector<qint64> expected{images.image(0).cacheKey()};
    if (GetParam().drawnAbove >= 0)
        expected.push_back(images.image(GetParam().drawnAbove).cacheKey());
    EXPECT_EQ(drawn, expected);
}

const OverlayCase kOverlays[] = {
    {"FourteenThroughTheMask", 14, true, 3},
    {"FourteenWithoutAMaskDrawsNothing", 14, false, -1},
    {"FifteenIsASeparateImage", 15, true, 15},
    {"NoOverlay", -1, true, -1},
};
INSTANTIATE_TEST_SUITE_P(Cases, TreeOverlay, ::testing::ValuesIn(kOverlays), CaseName());

TEST(TreeDecor, RubberBandIsBlendedPerRowOrDrawnAsAFocusFrame)
{
    Fixture f;
    f.tree.FStates.include(tsDrawSelecting);
    f.tree.FStates.include(tsLeftButtonDown);
    // Dragged from bottom right to top left: the band is ordered before painting.
    f.tree.FNewSelRect = Rect(120, 100, 20, 10);
    f.tree.SetDrawSelectionMode(smBlendedRectangle);
    auto blends = ofKind(f.record(), CanvasOp::Blend);
    // Rows 0..18 .. 72..90 and the area below each get their part.
    ASSERT_EQ(blends.size(), 6u);
    EXPECT_EQ(blends[0].rect, Rect(20, 10, 120, 18));
    EXPECT_EQ(blends[5].rect, Rect(20, 90, 120, 100));
    EXPECT_EQ(blends[0].flags, f.tree.SelectionBlendFactor());
    EXPECT_EQ(blends[0].color, f.tree.color(TLTColors::SelectionRectangleBlendColor));

    f.tree.SetDrawSelectionMode(smDottedRectangle);
    f.tree.FStates.exclude(tsUseThemes);
    const auto ops = f.record();
    EXPECT_TRUE(ofKind(ops, CanvasOp::Blend).empty());
    EXPECT_EQ(ofKind(ops, CanvasOp::FocusRect).size(), 6u);

    // Once the button is up the band is gone.
    f.tree.FStates.exclude(tsLeftButtonDown);
    EXPECT_TRUE(ofKind(f.record(), CanvasOp::FocusRect).empty());
}

TEST(TreeDecor, RubberBandShowsInThePicture)
{
    Fixture f;
    f.tree.FStates.include(tsDrawSelecting);
    f.tree.FStates.include(tsLeftButtonDown);
    f.tree.FNewSelRect = Rect(100, 40, 180, 120);
    f.tree.SetDrawSelectionMode(smBlendedRectangle);
    const QImage img = f.render();
    const QRgb base = f.tree.palette().color(QPalette::Base).rgb();
    EXPECT_NE(img.pixel(140, 60), base);
    EXPECT_NE(img.pixel(140, 110), base);
    EXPECT_EQ(img.pixel(60, 60), base);
    // The frame runs along the band's edge.
    EXPECT_EQ(
        img.pixel(100, 70),
        toQColor(f.tree.color(TLTColors::SelectionRectangleBorderColor), f.tree.palette()).rgb());
}

TEST(TreeDecor, CustomLineStyleDrawsTheOwnersPattern)
{
    Fixture f;
    f.tree.SetPaintOptions(f.tree.options().PaintOptions - TLTPaintOptions{toThemeAware});
    // Every row: two pixels on, two off (clear bits draw).
    f.tree.OnGetLineStyle = [](TBaseLazyTree&, std::array<std::uint16_t, 8>& bits) {
        bits.fill(0x33);
    };
    f.tree.SetLineStyle(lsCustomStyle);
    const auto patterns = ofKind(f.record(), CanvasOp::PatternRect);
    ASSERT_FALSE(patterns.empty());
    EXPECT_EQ(patterns[0].bits[3], 0x33);
    EXPECT_TRUE(ofKind(f.record(), CanvasOp::PatternLine).empty());

    // A horizontal connector of a top-level row: pixels in pairs.
    const QImage img = f.render();
    const QRgb base = f.tree.palette().color(QPalette::Base).rgb();
    const int y = 8;  // row 0's connector at VAlign - 1
    std::string ink;
    for (int x = 10; x < 18; ++x)
        ink += img.pixel(x, y) != base ? '#' : '.';
    EXPECT_TRUE(ink == "##..##.." || ink == ".##..##." || ink == "..##..##" || ink == "#..##..#")
        << ink;
}

TEST(TreeDecor, LineHandlerMovesEachLevelsPiece)
{
    Fixture f;
    const auto before = ofKind(f.record(), CanvasOp::PatternLine);
    std::vector<int> levels;
    f.tree.OnBeforeDrawTreeLine = [&](TBaseLazyTree&, PLazyNode n, int level, int& x) {
        if (n == f.tree.GetFirstChild(f.top[1]))
            levels.push_back(level);
        x += 3;
    };
    const auto after = ofKind(f.record(), CanvasOp::PatternLine);
    ASSERT_EQ(after.size(), before.size());
    ASSERT_FALSE(after.empty());
    for (std::size_t i = 0; i < after.size(); ++i)
        EXPECT_EQ(after[i].x1, before[i].x1 + 3) << i;
    // A child row with the root shown has two pieces: its parent's level and its own.
    EXPECT_EQ(levels, (std::vector<int>{0, 1}));
    f.tree.SetPaintOptions(f.tree.options().PaintOptions - TLTPaintOptions{toShowRoot});
    levels.clear();
    f.record();
    EXPECT_EQ(levels, (std::vector<int>{1}));
}

TEST(TreeDecor, ThemedButtonsComeFromTheStyleAndTriangleStaysATriangle)
{
    Fixture f;
    f.tree.PrepareBitmaps(true, false);
    const QImage themed = f.tree.buttonImage(false, false, false);
    f.tree.SetPaintOptions(f.tree.options().PaintOptions - TLTPaintOptions{toThemeAware});
    ASSERT_FALSE(f.tree.FStates.contains(tsUseThemes));
    f.tree.PrepareBitmaps(true, false);
    const QImage plain = f.tree.buttonImage(false, false, false);
    EXPECT_NE(themed, plain);
    // The plain button: a frame in the line colour with a plus.
    EXPECT_NE(plain.pixel(4, 2), plain.pixel(1, 1));
    EXPECT_NE(plain.pixelColor(0, 0).alpha(), 0);
    // The style's glyph has no frame: its corner is the tree's background.
    EXPECT_EQ(themed.pixelColor(0, 0), f.tree.palette().color(QPalette::Base));

    f.tree.SetPaintOptions(f.tree.options().PaintOptions + TLTPaintOptions{toThemeAware});
    f.tree.SetButtonStyle(bsTriangle);
    const QImage triangle = f.tree.buttonImage(false, false, false);
    EXPECT_EQ(triangle.pixel(2, 4), qRgb(0, 0, 0));
    EXPECT_EQ(triangle.pixelColor(7, 1).alpha(), 0);
}

TEST(TreeDecor, PicturesFollowTheThemeOptionAndThePalette)
{
    Fixture f;
    f.tree.SetMiscOptions(f.tree.options().MiscOptions + TLTMiscOptions{toCheckSupport});
    f.render();
    const QImage themed = f.tree.buttonImage(true, false, false);
    f.tree.SetPaintOptions(f.tree.options().PaintOptions - TLTPaintOptions{toThemeAware});
    f.render();
    const QImage plain = f.tree.buttonImage(true, false, false);
    EXPECT_NE(plain, themed);

    const QImage unchecked = f.tree.checkImages().images().image(9);
    QPalette pal = f.tree.palette();
    pal.setColor(QPalette::Base, QColor(0, 0, 90));
    pal.setColor(QPalette::Window, QColor(0, 0, 90));
    pal.setColor(QPalette::Button, QColor(0, 0, 90));
    f.tree.setPalette(pal);
    f.render();
    EXPECT_NE(f.tree.buttonImage(true, false, false), plain);
    EXPECT_NE(f.tree.checkImages().images().image(9), unchecked);
}

TEST(TreeDecor, OwnerDrawnButtonsReplaceAllSix)
{
    Fixture f;
    f.tree.OnPrepareButtonBitmaps = [](TBaseLazyTree&, QImage& minus, QImage& plus,
                                       QImage& hotMinus, QImage& hotPlus, QImage&, QImage&,
                                       QSize size) {
        EXPECT_EQ(size, QSize(9, 9));
        minus.fill(Qt::green);
        plus.fill(Qt::blue);
        hotMinus.fill(Qt::yellow);
        hotPlus.fill(Qt::cyan);
    };
    f.tree.PrepareBitmaps(true, false);
    EXPECT_EQ(f.tree.buttonImage(true, false, false).pixel(4, 4), QColor(Qt::green).rgb());
    EXPECT_EQ(f.tree.buttonImage(false, false, false).pixel(4, 4), QColor(Qt::blue).rgb());
    EXPECT_EQ(f.tree.buttonImage(true, true, false).pixel(4, 4), QColor(Qt::yellow).rgb());
    EXPECT_EQ(f.tree.buttonImage(false, true, false).pixel(4, 4), QColor(Qt::cyan).rgb());
    // The selected-hot pictures were left as handed: transparent.
    EXPECT_EQ(f.tree.buttonImage(false, true, true).pixelColor(4, 4).alpha(), 0);
}

TEST(TreeDecor, CustomCheckPicturesAndAKindChangeRebuildTheSet)
{
    Fixture f;
    f.tree.SetMiscOptions(f.tree.options().MiscOptions + TLTMiscOptions{toCheckSupport});
    f.tree.SetCheckType(f.top[0], ctCheckBox);
    const int systemSize = f.tree.checkImages().images().Width();
    const QImage systemUnchecked = f.tree.checkImages().images().image(9);

    TImageList custom(12, 12);
    for (int i = 0; i < 25; ++i) {
        QImage img(12, 12, QImage::Format_ARGB32);
        img.fill(QColor(i * 10, 0, 0));
        custom.Add(img);
    }
    f.tree.SetCustomCheckImages(&custom);
    // Not used until the kind asks for it.
    EXPECT_EQ(f.tree.checkImages().images().Width(), systemSize);
    f.tree.SetCheckImageKind(ckCustom);
    EXPECT_EQ(f.tree.checkImages().images().Width(), 12);
    const QImage img = f.render();
    const QRect row = f.tree.GetDisplayRect(f.top[0], NoColumn, false);
    bool found = false;
    for (int x = 0; x < 60 && !found; ++x)
        found = img.pixel(x, row.top() + 6) == qRgb(90, 0, 0);  // image 9: unchecked normal
    EXPECT_TRUE(found);

    f.tree.SetCheckImageKind(ckSystemFlat);
    EXPECT_EQ(f.tree.checkImages().images().Width(), systemSize);
    f.tree.SetCheckImageKind(ckSystemDefault);
    EXPECT_EQ(f.tree.checkImages().images().image(9), systemUnchecked);
    // Without a custom list the custom kind draws no check pictures, and never crashes.
    f.tree.SetCustomCheckImages(nullptr);
    f.tree.SetCheckImageKind(ckCustom);
    EXPECT_EQ(f.tree.checkImages().images().Count(), 0);
    // Only the button of the expanded row is a picture.
    EXPECT_EQ(ofKind(f.record(), CanvasOp::Image).size(), 1u);
}

// The whole picture as a user sees it: check boxes, lines, level icons, a selection over a
// tiled background. ZFW_DUMP_PNG=1 writes it to /tmp for a look.
TEST(TreeDecor, DecoratedTreeAsAUserSeesIt)
{
    Fixture f;
    TImageList icons(16, 16);
    for (QColor c : {QColor(200, 120, 0), QColor(0, 130, 160)}) {
        QImage img(16, 16, QImage::Format_ARGB32);
        img.fill(c);
        icons.Add(img);
    }
    f.tree.SetImages(&icons);
    f.tree.OnGetImageIndex = [](TBaseLazyTree& t, PLazyNode n, TLTImageKind kind, TColumnIndex,
                                bool&, int& index) {
        if (kind == ikNormal || kind == ikSelected)
            index = int(t.GetNodeLevel(n));
    };
    f.tree.OnGetText = [](TBaseLazyTree& t, PLazyNode n, TColumnIndex, TVSTTextType,
                          QString& text) {
        text = QStringLiteral("%1 %2")
                   .arg(t.GetNodeLevel(n) == 0 ? QStringLiteral("Slave") : QStringLiteral("Record"))
                   .arg(n->Index);
    };
    // Widths measured before the texts were known ("Node") are measured again.
    f.tree.ReinitNode(nullptr, true);
    f.tree.SetMiscOptions(f.tree.options().MiscOptions + TLTMiscOptions{toCheckSupport});
    for (PLazyNode n = f.tree.GetFirst(); n; n = f.tree.GetNext(n))
        f.tree.SetCheckType(n, ctTriStateCheckBox);
    f.tree.SetCheckState(f.tree.GetFirstChild(f.top[1]), csCheckedNormal);
    QImage stripes(8, 8, QImage::Format_RGB32);
    stripes.fill(QColor(250, 250, 235));
    for (int x = 0; x < 8; ++x)
        stripes.setPixel(x, 0, qRgb(225, 235, 250));
    f.showBackground(stripes, false);
    PLazyNode selected = f.tree.GetLastChild(f.top[1]);
    f.tree.SetSelected(selected, true);
    const QImage img = f.render({poBackground, poDrawSelection, poDrawFocusRect, poGridLines});
    if (qEnvironmentVariableIsSet("ZFW_DUMP_PNG"))
        img.save(QStringLiteral("/tmp/lazytree-decorated.png"));
    // The selected record's text sits on the selection mark, the picture shows beside it and
    // in the rows below.
    const auto marks = ofKind(f.record({poBackground, poDrawSelection}), CanvasOp::RoundRect);
    ASSERT_EQ(marks.size(), 1u);
    const TRect mark = marks[0].rect;
    const QRgb selection =
        toQColor(f.tree.color(TLTColors::UnfocusedSelectionColor), f.tree.palette()).rgb();
    EXPECT_EQ(img.pixel(mark.Left + 2, mark.Top + 2), selection);
    EXPECT_EQ(img.pixel(mark.Right + 20, mark.Top + 1), qRgb(250, 250, 235));
    EXPECT_EQ(img.pixel(mark.Right + 20, 96), qRgb(225, 235, 250));
    // The checked record's parent is mixed, and the record's icon is the second level's.
    EXPECT_EQ(f.top[1]->CheckState, csMixedNormal);
    const QRect row = f.tree.GetDisplayRect(selected, NoColumn, false);
    bool icon = false;
    for (int x = 0; x < 200 && !icon; ++x)
        icon = img.pixel(x, row.top() + 9) == qRgb(0, 130, 160);
    EXPECT_TRUE(icon);
}

struct DrawnKindCase {
    std::string name;
    TCheckImageKind kind;
    bool followsPalette;
};

class TreeDrawnCheckKinds : public ::testing::TestWithParam<DrawnKindCase> {};

int differingPixels(const QImage& a, const QImage& b)
{
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            n += a.pixel(x, y) != b.pixel(x, y) ? 1 : 0;
    return n;
}

// Each look has the 25 forms of the index table, and the forms a user must tell apart differ.
TEST_P(TreeDrawnCheckKinds, TwentyFiveDistinctForms)
{
    const TCheckImageSet set(GetParam().kind, QPalette());
    const TImageList& list = set.images();
    ASSERT_EQ(list.Count(), 25);
    EXPECT_EQ(list.Width(), 16);
    for (int x = 0; x < 16; ++x)
        EXPECT_EQ(list.image(0).pixelColor(x, 8).alpha(), 0);
    const std::pair<int, int> apart[] = {
        {9, 13},   // check box off / on
        {13, 17},  // on / mixed
        {9, 17},   // off / mixed
        {1, 5},    // radio off / on
        {1, 9},    // radio / check box
        {9, 10},   // normal / hot
        {9, 11},   // normal / pressed
        {13, 16},  // on / on disabled
        {21, 23},  // push button normal / pressed
    };
    for (auto [a, b] : apart)
        EXPECT_GT(differingPixels(list.image(a), list.image(b)), 3) << a << " vs " << b;

    // The palette's colours show in every look but the one with colours of its own.
    QPalette other;
    other.setColor(QPalette::Base, QColor(10, 20, 30));
    other.setColor(QPalette::Button, QColor(10, 20, 30));
    other.setColor(QPalette::Text, QColor(200, 0, 200));
    other.setColor(QPalette::Shadow, QColor(200, 0, 200));
    const TCheckImageSet recoloured(GetParam().kind, other);
    EXPECT_EQ(differingPixels(list.image(13), recoloured.images().image(13)) > 0,
              GetParam().followsPalette);
}

const DrawnKindCase kDrawnKinds[] = {
    {"LightCheck", ckLightCheck, true},
    {"DarkCheck", ckDarkCheck, true},
    {"LightTick", ckLightTick, true},
    {"DarkTick", ckDarkTick, true},
    {"Flat", ckFlat, true},
    {"XP", ckXP, false},
};
INSTANTIATE_TEST_SUITE_P(Cases, TreeDrawnCheckKinds, ::testing::ValuesIn(kDrawnKinds), CaseName());

TEST(TreeDecor, ADrawnKindIsUsedByTheTree)
{
    Fixture f;
    f.tree.SetCheckImageKind(ckDarkTick);
    const TImageList& list = f.tree.checkImages().images();
    EXPECT_EQ(list.Width(), 16);
    EXPECT_EQ(list.image(13), TCheckImageSet(ckDarkTick, f.tree.palette()).images().image(13));
}

}  // namespace
}  // namespace zfw::test
