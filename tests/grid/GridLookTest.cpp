// The control look and the modified mark as settings, cell alignment, text measuring and the
// window border.

#include "grid/ExtUtil.h"
#include "grid/GridDrawRecorder.h"
#include "grid/GridLook.h"

#include "support/CaseName.h"

#include <QFontMetrics>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <tuple>

#include <functional>
#include <vector>

namespace zfw {
namespace {

using test::CaseName;

TEST(GridControlLook, StartsWithTheDocumentedLook)
{
    TControlLook l;
    EXPECT_EQ(l.CheckSize(), 15);
    EXPECT_EQ(l.RadioSize(), 10);
    EXPECT_EQ(l.DropDownCount, 8);
    EXPECT_EQ(l.ProgressMarginX(), 2);
    EXPECT_EQ(l.ProgressMarginY(), 2);
    EXPECT_EQ(l.ControlStyle(), TControlStyle::csTheme);
    EXPECT_EQ(l.Color(), clBlack);
    EXPECT_EQ(l.CommentColor(), clRed);
    EXPECT_EQ(l.ProgressBorderColor, clGray);
    EXPECT_EQ(l.HintMaxWidth, 0);
    EXPECT_TRUE(l.CheckedGlyph().isNull());
    const TColor want[kFixedGradientCount] = {
        clNone,   clNone, clNone, clNone,            // From, To, mirrors
        clWhite,  clGray, clNone, clNone, clSilver,  // hover
        clSilver, clGray, clNone, clNone, clGray,    // down
    };
    for (int i = 0; i < kFixedGradientCount; ++i)
        EXPECT_EQ(l.FixedGradient(TFixedGradient(i)), want[i]) << "role " << i;
}

struct GradientCase {
    const char* name;
    std::function<void(TControlLook&)> write;
    std::vector<std::pair<TFixedGradient, TColor>> forwarded;
};

class GradientForwarding : public ::testing::TestWithParam<GradientCase> {};

TEST_P(GradientForwarding, ReachesTheGridUnlessNone)
{
    TControlLook l;
    std::vector<std::pair<TFixedGradient, TColor>> got;
    int repaints = 0;
    l.OnFixedGradient = [&](TControlLook*, TFixedGradient role, TColor c) {
        got.emplace_back(role, c);
    };
    l.OnRepaint = [&](TControlLook*) { ++repaints; };
    GetParam().write(l);
    EXPECT_EQ(got, GetParam().forwarded);
    EXPECT_EQ(repaints, 0);
}

const GradientCase kGradients[] = {
    {"ToNoneLeavesTheGrid", [](TControlLook& l) { l.SetFixedGradientTo(clNone); }, {}},
    {"ToColourForwarded",
     [](TControlLook& l) { l.SetFixedGradientTo(clRed); },
     {{TFixedGradient::To, clRed}}},
    {"MirrorNoneClearsTheGrid",
     [](TControlLook& l) { l.SetFixedGradientMirrorTo(clNone); },
     {{TFixedGradient::MirrorTo, clNone}}},
    {"HoverBorderNoneLeaves", [](TControlLook& l) { l.SetFixedGradientHoverBorder(clNone); }, {}},
    {"DownMirrorFromNoneClears",
     [](TControlLook& l) { l.SetFixedGradientDownMirrorFrom(clNone); },
     {{TFixedGradient::DownMirrorFrom, clNone}}},
};
INSTANTIATE_TEST_SUITE_P(Grid, GradientForwarding, ::testing::ValuesIn(kGradients), CaseName());

TEST(GridControlLook, DrawingWritersRepaintPlainStoresDoNot)
{
    TControlLook l;
    int repaints = 0;
    l.OnRepaint = [&](TControlLook*) { ++repaints; };
    l.SetCheckSize(15);
    l.SetControlStyle(TControlStyle::csWinXP);
    l.SetNoDisabledCheckRadioLook(true);
    l.SetCheckedGlyph(QImage(2, 2, QImage::Format_RGB32));
    EXPECT_EQ(repaints, 4);
    l.CheckAlwaysActive = true;
    l.DropDownCount = 3;
    EXPECT_EQ(repaints, 4);
}

TEST(GridControlLook, AssignCopiesTheListAndLeavesTheRest)
{
    TControlLook src;
    src.SetCheckSize(20);
    src.SetRadioSize(12);
    src.SetControlStyle(TControlStyle::csWinXP);
    src.SetUnCheckedGlyph(QImage(3, 3, QImage::Format_RGB32));
    src.SetProgressMarginY(5);
    src.SetCommentColor(clBlue);
    src.CheckAlwaysActive = true;
    src.SetFixedGradientHoverFrom(clAqua);
    src.SetFixedGradientMirrorFrom(clRed);
    src.SetSpinButtonsAlwaysVisible(true);
    src.DropDownCount = 4;
    src.HintMaxWidth = 300;
    src.SetFlatButton(true);
    src.SetProgressXP(true);
    src.SetNoDisabledCheckRadioLook(true);
    src.SetNoDisabledButtonLook(true);
    src.FixedDropDownButton = true;

    TControlLook dst;
    int repaints = 0;
    std::vector<TFixedGradient> forwarded;
    dst.OnRepaint = [&](TControlLook*) { ++repaints; };
    dst.OnFixedGradient = [&](TControlLook*, TFixedGradient role, TColor) {
        forwarded.push_back(role);
    };
    dst.Assign(src);

    EXPECT_EQ(dst.CheckSize(), 20);
    EXPECT_EQ(dst.RadioSize(), 12);
    EXPECT_EQ(dst.ControlStyle(), TControlStyle::csWinXP);
    EXPECT_EQ(dst.UnCheckedGlyph().width(), 3);
    EXPECT_EQ(dst.ProgressMarginY(), 5);
    EXPECT_EQ(dst.CommentColor(), clBlue);
    EXPECT_TRUE(dst.CheckAlwaysActive);
    EXPECT_EQ(dst.FixedGradientHoverFrom(), clAqua);
    EXPECT_EQ(dst.FixedGradientMirrorFrom(), clRed);
    EXPECT_TRUE(dst.SpinButtonsAlwaysVisible());
    EXPECT_EQ(dst.DropDownCount, 4);
    EXPECT_EQ(dst.HintMaxWidth, 300);
    EXPECT_FALSE(dst.FlatButton());
    EXPECT_FALSE(dst.ProgressXP());
    EXPECT_FALSE(dst.NoDisabledCheckRadioLook());
    EXPECT_FALSE(dst.NoDisabledButtonLook());
    EXPECT_FALSE(dst.FixedDropDownButton);
    EXPECT_EQ(repaints, 0);
    // The grid's copies follow: every colour set, and every mirror (none included).
    EXPECT_EQ(forwarded.size(), 12u);
    EXPECT_EQ(std::count(forwarded.begin(), forwarded.end(), TFixedGradient::From), 0);
    EXPECT_EQ(std::count(forwarded.begin(), forwarded.end(), TFixedGradient::HoverFrom), 1);
}

TEST(GridShowModified, ColourAlwaysRepaintsEnabledNever)
{
    TShowModified m;
    int changes = 0;
    m.OnChange = [&](TShowModified*) { ++changes; };
    EXPECT_FALSE(m.Enabled);
    EXPECT_EQ(m.Color(), clYellow);
    m.SetColor(clYellow);
    EXPECT_EQ(changes, 1);
    m.Enabled = true;
    EXPECT_EQ(changes, 1);
    TShowModified src;
    src.Enabled = true;
    src.SetColor(clRed);
    TShowModified dst;
    dst.OnChange = [&](TShowModified*) { ++changes; };
    dst.Assign(src);
    EXPECT_TRUE(dst.Enabled);
    EXPECT_EQ(dst.Color(), clRed);
    EXPECT_EQ(changes, 1);
}

struct AlignCase {
    const char* name;
    const char16_t* text;
    bool autoNumAlign;
    std::optional<TAlignment> cellAlignment;
    const char16_t* formulaValue;  // null: no cell-text hook
    TAlignment want;
};

class Alignment : public ::testing::TestWithParam<AlignCase> {};

TEST_P(Alignment, Decides)
{
    const AlignCase& c = GetParam();
    CellAlignmentInput in;
    in.defaultAlignment = TAlignment::taCenter;
    in.vAlignment = TVAlignment::vtaBottom;
    in.autoNumAlign = c.autoNumAlign;
    in.text = QString::fromUtf16(c.text);
    in.cellAlignment = c.cellAlignment;
    if (c.formulaValue) {
        const QString v = QString::fromUtf16(c.formulaValue);
        in.filterCellText = [v] { return v; };
    }
    const CellAlignment got = CalcCellAlignment(in);
    EXPECT_EQ(got.horizontal, c.want);
    EXPECT_EQ(got.vertical, TVAlignment::vtaBottom);
}

const AlignCase kAlign[] = {
    {"DefaultForText", u"abc", true, std::nullopt, nullptr, TAlignment::taCenter},
    {"DecimalRight", u"12.5", true, std::nullopt, nullptr, TAlignment::taRightJustify},
    {"NegativeRight", u"-3", true, std::nullopt, nullptr, TAlignment::taRightJustify},
    {"TrimmedNumberRight", u"  42 ", true, std::nullopt, nullptr, TAlignment::taRightJustify},
    {"ExponentRight", u"1e5", true, std::nullopt, nullptr, TAlignment::taRightJustify},
    {"NotANumberDefault", u"12a", true, std::nullopt, nullptr, TAlignment::taCenter},
    {"NumberWithoutAutoNumAlign", u"12", false, std::nullopt, nullptr, TAlignment::taCenter},
    {"CellAlignmentBeatsNumber", u"12", true, TAlignment::taLeftJustify, nullptr,
     TAlignment::taLeftJustify},
    {"FormulaByItsValue", u"=A1+1", true, std::nullopt, u"7", TAlignment::taRightJustify},
    {"FormulaKeepsNumberOverCell", u"=A1", true, TAlignment::taLeftJustify, u"7",
     TAlignment::taRightJustify},
    {"FormulaTextValue", u"=A1", true, std::nullopt, u"x", TAlignment::taCenter},
    {"FormulaWithoutHook", u"=A1", true, std::nullopt, nullptr, TAlignment::taCenter},
    {"CellAlignmentWithoutAutoNumAlign", u"=1", false, TAlignment::taRightJustify, nullptr,
     TAlignment::taRightJustify},
};
INSTANTIATE_TEST_SUITE_P(Grid, Alignment, ::testing::ValuesIn(kAlign), CaseName());

TEST(GridAlignment, PackedWideFormulaAndNumberAreRecognised)
{
    CellAlignmentInput in;
    in.autoNumAlign = true;
    in.text = PackWideText(QStringLiteral("=B2"));
    in.cellAlignment = TAlignment::taCenter;
    in.filterCellText = [] { return QStringLiteral("3.5"); };
    EXPECT_EQ(CalcCellAlignment(in).horizontal, TAlignment::taRightJustify);
    in.text = PackWideText(QStringLiteral("99"));
    in.cellAlignment.reset();
    EXPECT_EQ(CalcCellAlignment(in).horizontal, TAlignment::taRightJustify);
}

// ----- measuring, with the pinned font of the test main -----

QFont pinned()
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(12);
    return f;
}

CellTextSizeInput measureOf(const QString& text)
{
    CellTextSizeInput in;
    in.text = text;
    in.font = pinned();
    in.cellRect = {0, 0, 100, 20};
    in.multiLineCells = true;
    return in;
}

TEST(GridTextSize, LinesCountInHeightsOfGh)
{
    const QFontMetrics fm(pinned());
    const QSize one = CalcCellTextSize(measureOf(QStringLiteral("wide line")));
    const QSize three = CalcCellTextSize(measureOf(QStringLiteral("a\r\nwide line\rb")));
    EXPECT_EQ(one.height(), fm.height());
    EXPECT_EQ(three.height(), 3 * fm.height());
    EXPECT_EQ(three.width(), one.width()) << "the widest line decides";
    CellTextSizeInput single = measureOf(QStringLiteral("a\r\nb"));
    single.multiLineCells = false;
    EXPECT_EQ(CalcCellTextSize(single).height(), fm.height());
}

TEST(GridTextSize, UrlPrefixHiddenOnlyWhenNotShownInFull)
{
    CellTextSizeInput in = measureOf(QStringLiteral("http://host"));
    const int full = CalcCellTextSize(in).width();
    in.urlShow = true;
    const int shown = CalcCellTextSize(in).width();
    in.urlFull = true;
    EXPECT_LT(shown, full);
    EXPECT_EQ(CalcCellTextSize(in).width(), full);
}

TEST(GridTextSize, MiniHtmlMeasuresItsPlainText)
{
    CellTextSizeInput html = measureOf(QStringLiteral("<b>bold</b>"));
    EXPECT_EQ(CalcCellTextSize(html).width(),
              CalcCellTextSize(measureOf(QStringLiteral("bold"))).width());
    html.enableHTML = false;
    EXPECT_GT(CalcCellTextSize(html).width(),
              CalcCellTextSize(measureOf(QStringLiteral("bold"))).width());
}

TEST(GridTextSize, WrappedHeightGrowsWhenAScrollBarTakesRoom)
{
    // Wide enough for the text in one cell, two lines once 17 pixels go to the scroll bar.
    const QString text = QStringLiteral("aaaa bbbb cccc");
    const int natural = CalcCellTextSize(measureOf(text)).width();
    CellTextSizeInput in = measureOf(text);
    in.wrapped = true;
    in.cellRect = {0, 0, natural + 2 * 2 + 2 * 2 + 4, 20};
    const QSize without = CalcCellTextSize(in);
    in.scrollBar = true;
    const QSize with = CalcCellTextSize(in);
    const QFontMetrics fm(pinned());
    EXPECT_EQ(without.height(), fm.height());
    EXPECT_GT(with.height(), without.height());
    EXPECT_EQ(with.width(), without.width() - 17);
}

TEST(GridTextSize, TrailingLineBreakCountsWhileEditing)
{
    CellTextSizeInput in = measureOf(QStringLiteral("abc\r\n"));
    in.wrapped = true;
    const int idle = CalcCellTextSize(in).height();
    in.editingThisCell = true;
    EXPECT_GT(CalcCellTextSize(in).height(), idle);
}

struct RotationCase {
    const char* name;
    int angle;
};

class RotatedSize : public ::testing::TestWithParam<RotationCase> {};

TEST_P(RotatedSize, EnclosesTheTurnedText)
{
    const QString text = QStringLiteral("rotated text");
    const QSize flat = CalcCellTextSize(measureOf(text));
    CellTextSizeInput in = measureOf(text);
    in.rotation = GetParam().angle;
    const QSize got = CalcCellTextSize(in);
    // The text's corners, turned, must lie inside the measured box less its 12-pixel margin.
    const double a = GetParam().angle * 3.14159265358979 / 180.0;
    const double w = flat.width(), h = flat.height();
    const double needW = std::abs(w * std::cos(a)) + std::abs(h * std::sin(a));
    const double needH = std::abs(w * std::sin(a)) + std::abs(h * std::cos(a));
    EXPECT_GE(got.width() - 12, int(needW) - 1);
    EXPECT_GE(got.height() - 12, int(needH) - 1);
    EXPECT_LE(got.width() - 12, int(needW) + 1);
    EXPECT_LE(got.height() - 12, int(needH) + 1);
}

const RotationCase kRotations[] = {
    {"Zero", 0}, {"Right", 90}, {"Diagonal", 45}, {"Steep", 300}, {"Upside", 180},
};
INSTANTIATE_TEST_SUITE_P(Grid, RotatedSize, ::testing::ValuesIn(kRotations), CaseName());

TEST(GridTextSize, QuarterTurnSwapsTheSides)
{
    const QSize flat = CalcCellTextSize(measureOf(QStringLiteral("turned")));
    CellTextSizeInput in = measureOf(QStringLiteral("turned"));
    in.rotation = 90;
    EXPECT_EQ(CalcCellTextSize(in), QSize(flat.height() + 12, flat.width() + 12));
}

// ----- the window border -----

struct BorderCase {
    const char* name;
    ControlBorderInput in;
    // Every line drawn, in order: x1, y1, x2, y2, colour.
    std::vector<std::tuple<int, int, int, int, TColor>> want;
};

class Border : public ::testing::TestWithParam<BorderCase> {};

TEST_P(Border, DrawsTheOutline)
{
    RecordingGridCanvas canvas;
    PaintControlBorder(canvas, GetParam().in);
    std::vector<std::tuple<int, int, int, int, TColor>> got;
    for (const GridDrawOp& op : canvas.ops()) {
        ASSERT_EQ(op.kind, GridDrawOp::Line);
        got.emplace_back(op.x1, op.y1, op.x2, op.y2, op.color);
    }
    EXPECT_EQ(got, GetParam().want);
}

ControlBorderInput border(TGridLook look, TColor color, bool fit = false, bool parent = false,
                          bool flat = false, bool hasBorder = true)
{
    ControlBorderInput in;
    in.look = look;
    in.borderColor = color;
    in.fitCellsInGrid = fit;
    in.hasParent = parent;
    in.flat = flat;
    in.hasBorder = hasBorder;
    in.parentColor = clGreen;
    in.width = 50;
    in.height = 30;
    return in;
}

const BorderCase kBorders[] = {
    {"XPFrame",
     border(TGridLook::glXP, clGray),
     {{0, 29, 0, 0, clGray},
      {0, 0, 49, 0, clGray},
      {49, 0, 49, 29, clGray},
      {49, 29, 0, 29, clGray}}},
    {"StandardNothing", border(TGridLook::glStandard, clGray), {}},
    {"ClassicNothing", border(TGridLook::glClassic, clGray), {}},
    {"NoneColourNothing", border(TGridLook::glXP, clNone), {}},
    {"FlatNothing", border(TGridLook::glXP, clGray, false, false, true), {}},
    {"NoBorderStyleNothing", border(TGridLook::glSoft, clGray, false, false, false, false), {}},
    {"FitInsideWithParentRing",
     border(TGridLook::glWin7, clBlue, true, true),
     {{1, 30, 1, 1, clBlue},
      {1, 1, 48, 1, clBlue},
      {48, 1, 48, 28, clBlue},
      {48, 28, 1, 28, clBlue},
      {0, 30, 0, 0, clGreen},
      {0, 0, 49, 0, clGreen},
      {49, 0, 49, 29, clGreen},
      {49, 29, 0, 29, clGreen}}},
    {"FitInsideWithoutParent",
     border(TGridLook::glVista, clBlue, true, false),
     {{1, 30, 1, 1, clBlue},
      {1, 1, 48, 1, clBlue},
      {48, 1, 48, 28, clBlue},
      {48, 28, 1, 28, clBlue}}},
};
INSTANTIATE_TEST_SUITE_P(Grid, Border, ::testing::ValuesIn(kBorders), CaseName());

}  // namespace
}  // namespace zfw

namespace zfw {
namespace {

TEST(ControlLookDropDown, AssignCopiesHeaderAndFooterWithoutRepaint)
{
    TControlLook src, dst;
    src.DropDownHeader().Caption = QStringLiteral("Pick");
    src.DropDownHeader().Height = 30;
    src.DropDownFooter().SizeGrip = false;
    int repaints = 0;
    dst.OnRepaint = [&](TControlLook*) { ++repaints; };
    dst.Assign(src);
    EXPECT_EQ(dst.DropDownHeader().Caption, QStringLiteral("Pick"));
    EXPECT_EQ(dst.DropDownHeader().Height, 30);
    EXPECT_FALSE(dst.DropDownFooter().SizeGrip);
    EXPECT_EQ(repaints, 0);
}

}  // namespace
}  // namespace zfw
