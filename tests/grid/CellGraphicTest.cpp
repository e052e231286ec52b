// The cell graphic: angle normalisation, picture sizes, layout sizes per kind, and the grid
// operations that create, find and remove graphics (shared ones never freed).

#include "grid/CellGraphic.h"

#include "FakeGraphicHost.h"
#include "support/CaseName.h"

#include <gtest/gtest.h>

#include <limits>

namespace zfw {
namespace {

using test::CaseName;
using test::FakeGraphicHost;

struct AngleCase {
    const char* name;
    int in;
    int stored;
};
class CellGraphicAngle : public ::testing::TestWithParam<AngleCase> {};
TEST_P(CellGraphicAngle, IsBroughtIntoOneTurn)
{
    TCellGraphic g;
    g.SetAngle(GetParam().in);
    EXPECT_EQ(g.CellType, ctRotated);
    EXPECT_EQ(g.CellAngle, GetParam().stored);
}
const AngleCase kAngles[] = {
    {"minus30", -30, 330},
    {"full720", 720, 360},
    {"full360", 360, 360},
    {"zero", 0, 0},
    {"minus360", -360, 0},
    {"above", 725, 5},
    {"hugeNegative", -3600001, 359},
    {"huge", 2000000000, 200},
    {"lowestInt", std::numeric_limits<int>::min(), 232},
    {"highestInt", std::numeric_limits<int>::max(), 127},
};
INSTANTIATE_TEST_SUITE_P(Angles, CellGraphicAngle, ::testing::ValuesIn(kAngles), CaseName());

struct PictureCase {
    const char* name;
    QSize picture;
    TStretchMode mode;
    int padding;
    QSize area;
    QSize expected;
};
class PictureSize : public ::testing::TestWithParam<PictureCase> {};
TEST_P(PictureSize, FitsTheArea)
{
    const PictureCase& c = GetParam();
    TCellGraphic g;
    QImage img(c.picture, QImage::Format_RGB32);
    g.SetPicture(img, false, c.mode, c.padding, haLeft, vaTop);
    QSize s;
    g.GetPictureSize(c.area.width(), c.area.height(), false, s);
    EXPECT_EQ(s, c.expected);

    // A file picture is measured by its stored size in the same way.
    TCellGraphic f;
    f.SetFilePicture({QStringLiteral("x.png"), c.picture.width(), c.picture.height()}, false,
                     c.mode, c.padding, haLeft, vaTop);
    QSize fs;
    f.GetPictureSize(c.area.width(), c.area.height(), false, fs);
    EXPECT_EQ(fs, c.expected);
}
const PictureCase kPictures[] = {
    {"wideStretchAspect", {200, 100}, StretchWithAspectRatio, 0, {100, 100}, {100, 50}},
    {"wideShrinkAspect", {200, 100}, ShrinkWithAspectRatio, 0, {100, 100}, {100, 50}},
    {"wideShrink", {200, 100}, Shrink, 0, {100, 100}, {100, 100}},
    {"smallShrinkAspect", {50, 50}, ShrinkWithAspectRatio, 0, {100, 100}, {50, 50}},
    {"smallStretchAspect", {50, 50}, StretchWithAspectRatio, 0, {100, 100}, {100, 100}},
    {"smallShrink", {50, 50}, Shrink, 0, {100, 100}, {50, 50}},
    {"noStretch", {200, 100}, noStretch, 0, {100, 100}, {200, 100}},
    {"stretchPadding", {20, 10}, Stretch, 4, {100, 60}, {96, 56}},
    {"tallStretchAspect", {50, 200}, StretchWithAspectRatio, 0, {100, 100}, {25, 100}},
};
INSTANTIATE_TEST_SUITE_P(Modes, PictureSize, ::testing::ValuesIn(kPictures), CaseName());

TEST(CellGraphic, PictureSizeLeavesOtherKindsAlone)
{
    TCellGraphic g;
    g.SetImageIdx(3, haLeft, vaTop);
    QSize s(7, 9);
    g.GetPictureSize(100, 100, false, s);
    EXPECT_EQ(s, QSize(7, 9));
}

TEST(CellGraphic, ButtonPacksItsSize)
{
    TCellGraphic g;
    g.SetButton(40, 20, QStringLiteral("Go"), haLeft, vaTop);
    EXPECT_EQ(g.buttonWidth(), 40);
    EXPECT_EQ(g.buttonHeight(), 20);
    EXPECT_EQ(g.CellIndex, (20 << 16) | 40);
}

TEST(CellGraphic, AssignCopiesScalarsButNotObjectsOrThreeState)
{
    TCellGraphic src;
    src.SetCheckBox(cbGrayed, true, haAfterText, vaBottom);
    src.setBalloon({QStringLiteral("t"), QStringLiteral("x")});
    src.CellText = QStringLiteral("caption");
    src.CellErrFrom = 3;
    src.setCellVar(42);
    TCellGraphic dst;
    dst.Assign(src);
    EXPECT_EQ(dst.CellType, ctTriStateCheckBox);
    EXPECT_EQ(dst.CellHAlign, haAfterText);
    EXPECT_EQ(dst.CellVAlign, vaBottom);
    EXPECT_EQ(dst.CellAngle, 1);
    EXPECT_EQ(dst.CellText, QStringLiteral("caption"));
    EXPECT_EQ(dst.CellErrFrom, 3);
    EXPECT_EQ(dst.CellCheckBoxState, cbUnchecked);
    EXPECT_TRUE(std::holds_alternative<std::monostate>(dst.cellBitmap()));
    EXPECT_FALSE(dst.cellVar().isValid());
}

TEST(CellGraphic, CheckBoxDropsABalloonOfAnEarlierKind)
{
    TCellGraphic g;
    g.SetCheckBox(true, false, true, haLeft, vaTop);
    g.setBalloon({QStringLiteral("t"), QStringLiteral("x")});
    g.SetCheckBox(false, true, true, haLeft, vaTop);
    EXPECT_EQ(g.CellAngle, 0);
    EXPECT_TRUE(std::holds_alternative<std::monostate>(g.cellBitmap()));
}

// ---- layout size -------------------------------------------------------------------------

struct SizeCase {
    const char* name;
    std::function<void(TCellGraphic&)> make;
    bool cellHasText;
    QSize expected;
};
class GraphicLayoutSize : public ::testing::TestWithParam<SizeCase> {};
TEST_P(GraphicLayoutSize, PerKind)
{
    TCellGraphic g;
    GetParam().make(g);
    GraphicSizeContext ctx;
    ctx.cellHasText = GetParam().cellHasText;
    ctx.checkSize = 15;
    ctx.radioSize = 11;
    ctx.imageListSize = QSize(16, 14);
    ctx.cellRect = Bounds(10, 20, 80, 30);
    ctx.textWidth = [](const QString& s) { return 6 * int(s.size()); };
    ctx.textHeightGh = 13;
    EXPECT_EQ(CalcCellGraphicSize(&g, ctx), GetParam().expected);
}
const SizeCase kSizes[] = {
    {"checkBox",
     [](TCellGraphic& g) { g.SetCheckBox(true, false, true, haBeforeText, vaTop); },
     true,
     {15, 15}},
    {"dataCheckBox",
     [](TCellGraphic& g) { g.SetCheckBox(false, true, true, haLeft, vaCenter); },
     false,
     {15, 15}},
    {"triState",
     [](TCellGraphic& g) { g.SetCheckBox(cbGrayed, true, haLeft, vaTop); },
     true,
     {15, 15}},
    {"virtCheckBox", [](TCellGraphic& g) { g.CellType = ctVirtCheckBox; }, true, {15, 15}},
    {"rowCheckBox", [](TCellGraphic& g) { g.CellType = ctRowCheckBox; }, true, {15, 15}},
    {"radioButton",
     [](TCellGraphic& g) { g.SetRadioButton(true, true, haLeft, vaTop); },
     true,
     {11, 11}},
    {"checkBoxFullHeight",
     [](TCellGraphic& g) { g.SetCheckBox(true, false, true, haBeforeText, vaFull); },
     true,
     {15, 30}},
    {"checkBoxFullWidth",
     [](TCellGraphic& g) { g.SetCheckBox(true, false, true, haFull, vaTop); },
     true,
     {80, 15}},
    {"pie", [](TCellGraphic& g) { g.CellType = ctProgressPie; }, true, {20, 20}},
    {"rating",
     [](TCellGraphic& g) {
         g.CellType = ctRating;
         g.CellAngle = 5;
     },
     true,
     {90, 16}},
    {"ratingFullWidthKept",
     [](TCellGraphic& g) {
         g.CellType = ctRating;
         g.CellAngle = 5;
         g.CellHAlign = haFull;
     },
     true,
     {90, 16}},
    {"ratingFullBothReplaced",
     [](TCellGraphic& g) {
         g.CellType = ctRating;
         g.CellAngle = 5;
         g.CellHAlign = haFull;
         g.CellVAlign = vaFull;
     },
     true,
     {80, 30}},
    {"imageListBesideText",
     [](TCellGraphic& g) { g.SetImageIdx(1, haBeforeText, vaTop); },
     true,
     {16, 0}},
    {"imageListOverText", [](TCellGraphic& g) { g.SetImageIdx(1, haLeft, vaTop); }, true, {0, 0}},
    {"imageListAlone", [](TCellGraphic& g) { g.SetImageIdx(1, haLeft, vaTop); }, false, {16, 14}},
    {"imagesHorizontal",
     [](TCellGraphic& g) {
         g.SetMultiImage({1, 2, 3}, 0, haLeft, vaTop);
     },
     true,
     {48, 14}},
    {"imagesVertical",
     [](TCellGraphic& g) {
         g.SetMultiImage({1, 2, 3}, 1, haLeft, vaTop);
     },
     true,
     {16, 42}},
    {"buttonFullNoText",
     [](TCellGraphic& g) { g.SetButton(40, 20, QStringLiteral("Go!"), haFull, vaTop); },
     false,
     {22, 20}},
    {"buttonCenterWithText",
     [](TCellGraphic& g) { g.SetButton(40, 20, QStringLiteral("Go"), haCenter, vaTop); },
     true,
     {0, 0}},
    {"buttonUnderText",
     [](TCellGraphic& g) { g.SetButton(40, 20, QStringLiteral("Go"), haLeft, vaUnderText); },
     true,
     {0, 20}},
    {"buttonNoText",
     [](TCellGraphic& g) { g.SetButton(40, 20, QStringLiteral("Go"), haLeft, vaTop); },
     false,
     {40, 20}},
    {"pictureInCell",
     [](TCellGraphic& g) {
         g.SetPicture(QImage(200, 100, QImage::Format_RGB32), false, Stretch, 0, haLeft, vaTop);
     },
     false,
     {79, 29}},
    {"comment", [](TCellGraphic& g) { g.CellType = ctComment; }, true, {0, 0}},
};
INSTANTIATE_TEST_SUITE_P(Kinds, GraphicLayoutSize, ::testing::ValuesIn(kSizes), CaseName());

TEST(GraphicLayoutSize, NoGraphicIsZero)
{
    EXPECT_EQ(CalcCellGraphicSize(nullptr, GraphicSizeContext{}), QSize(0, 0));
}

// ---- grid operations ----------------------------------------------------------------------

TEST(CellGraphicOps, CreateReplacesTheOwnGraphicAndLeavesTheTextAlone)
{
    FakeGraphicHost host(4, 3);
    TCellGraphic* first = CreateCellGraphic(host, 1, 1);
    ASSERT_NE(first, nullptr);
    first->SetImageIdx(2, haLeft, vaTop);
    TCellGraphic* second = CreateCellGraphic(host, 1, 1);
    EXPECT_EQ(second->CellType, ctNone);
    EXPECT_EQ(host.graphicCount(), 1u);
    EXPECT_EQ(GetCellType(host, 1, 1), ctNone);
    EXPECT_EQ(host.textWrites, 0);
    EXPECT_TRUE(host.cellText(1, 1).isEmpty());
}

TEST(CellGraphicOps, TypeOfCellsWithoutGraphicOrOutsideIsEmpty)
{
    FakeGraphicHost host(4, 3);
    EXPECT_EQ(GetCellType(host, 2, 2), ctEmpty);
    EXPECT_EQ(GetCellType(host, -1, 0), ctEmpty);
    EXPECT_EQ(GetCellType(host, 0, -1), ctEmpty);
    EXPECT_EQ(GetCellType(host, 4, 0), ctEmpty);
    EXPECT_EQ(CreateCellGraphic(host, 0, 3), nullptr);
    EXPECT_FALSE(HasCellGraphicKind(host, -1, 0, {ctEmpty, ctNone}));
    EXPECT_EQ(host.graphicCount(), 0u);
}

TEST(CellGraphicOps, RowCheckBoxesReplaceColumnZeroAndAreNeverFreed)
{
    FakeGraphicHost host(4, 3);
    CreateCellGraphic(host, 0, 1)->SetImageIdx(1, haLeft, vaTop);
    host.setRowCheckBoxes(true);
    EXPECT_EQ(GetCellType(host, 0, 1), ctRowCheckBox);
    EXPECT_EQ(GetCellType(host, 0, 2), ctRowCheckBox);
    EXPECT_EQ(GetCellType(host, 1, 2), ctEmpty);

    EXPECT_TRUE(RemoveCellGraphic(host, 0, 2));
    EXPECT_EQ(host.shared().CellType, ctRowCheckBox);
    EXPECT_EQ(GetCellType(host, 0, 2), ctRowCheckBox);
}

TEST(CellGraphicOps, RemoveOfTypeOnlyRemovesThatKind)
{
    FakeGraphicHost host(4, 3);
    CreateCellGraphic(host, 2, 1)->SetDataImage(0, haLeft, vaTop);
    EXPECT_FALSE(RemoveCellGraphicOfType(host, 2, 1, ctImageList));
    EXPECT_EQ(host.graphicCount(), 1u);
    EXPECT_TRUE(RemoveCellGraphicOfType(host, 2, 1, ctDataImage));
    EXPECT_EQ(host.graphicCount(), 0u);
    EXPECT_FALSE(RemoveCellGraphic(host, 2, 1));
    EXPECT_EQ(host.repaints.back(), std::make_pair(2, 1));
}

TEST(CellGraphicOps, CreatingInAHiddenColumnRepaintsItsDisplayPosition)
{
    FakeGraphicHost host(4, 3);
    host.setDisplShift(1);
    CreateCellGraphic(host, 3, 2);
    ASSERT_EQ(host.repaints.size(), 1u);
    EXPECT_EQ(host.repaints[0], std::make_pair(2, 2));
}

TEST(CellGraphicOps, ImageKeyOrdersByImage)
{
    FakeGraphicHost host(4, 3);
    CreateCellGraphic(host, 1, 0)->SetImageIdx(7, haLeft, vaTop);
    QImage img(4, 4, QImage::Format_RGB32);
    CreateCellGraphic(host, 1, 1)->SetBitmap(img, false, haLeft, vaTop);
    CreateCellGraphic(host, 1, 2)->SetCheckBox(true, false, true, haLeft, vaTop);
    EXPECT_EQ(GetCellImageKey(host, 1, 0), 7);
    EXPECT_EQ(GetCellImageKey(host, 1, 1), img.cacheKey());
    EXPECT_EQ(GetCellImageKey(host, 1, 2), -1);
    EXPECT_EQ(GetCellImageKey(host, 3, 2), -1);
}

}  // namespace
}  // namespace zfw
