// The button face as a model (colours, lines, glyph frame, text placement), the presets, the
// glyph pictures, and a few pixel probes of the painted face.

#include "controls/LbButton.h"

#include "support/CaseName.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <ostream>

namespace zfw {
namespace {

using test::CaseName;

// Fixed-pitch text: every shown character is 6 pixels wide, every line 13 pixels high.
class FixedMeasure final : public LbTextMeasure {
public:
    static int shownChars(const QString& s)
    {
        int n = 0;
        for (qsizetype i = 0; i < s.size(); ++i) {
            if (s[i] == u'&' && i + 1 < s.size())
                ++i;
            ++n;
        }
        return n;
    }
    int lineWidth(const QFont&, const QString& text) const override { return 6 * shownChars(text); }
    QSize wrappedSize(const QFont&, const QString& text, int maxWidth) const override
    {
        const int n = shownChars(text);
        if (n == 0)
            return {0, 0};
        const int perLine = std::max(1, maxWidth / 6);
        const int lines = (n + perLine - 1) / perLine;
        return {6 * std::min(n, perLine), 13 * lines};
    }
};
const FixedMeasure kFixed;

QImage oneFrameGlyph(QColor picture = QColor(0, 128, 0))
{
    QImage img(18, 18, QImage::Format_RGB32);
    img.fill(QColor(255, 0, 255));
    QPainter(&img).fillRect(QRect(3, 3, 12, 12), picture);
    return img;
}

// A strip of n frames, frame i filled with grey level 40 * (i + 1) except a key border.
QImage numberedStrip(int n)
{
    QImage img(18 * n, 18, QImage::Format_RGB32);
    img.fill(QColor(255, 0, 255));
    QPainter g(&img);
    for (int i = 0; i < n; ++i)
        g.fillRect(QRect(18 * i + 2, 2, 14, 14), QColor(40 * (i + 1), 40 * (i + 1), 40 * (i + 1)));
    return img;
}

LbFaceParams baseParams()
{
    LbFaceParams p;
    p.width = 100;
    p.height = 23;
    p.color = 0xEDF7F8;
    p.lightColor = clWhite;
    p.shadowColor = clGray;
    p.caption = QStringLiteral("OK");
    return p;
}

// ----- face colour -------------------------------------------------------------------------

struct ColourCase {
    const char* name;
    bool enabled;
    bool down;
    int step;
    TColor hot;
    TColor whenDown;
    QColor expected;
};
void PrintTo(const ColourCase& c, std::ostream* os) { *os << c.name; }

constexpr TColor kFace = 0x102030;  // r 0x30, g 0x20, b 0x10
constexpr TColor kHot = 0xF0E0D0;   // r 0xD0, g 0xE0, b 0xF0

const ColourCase kColourCases[] = {
    {"PlainFace", true, false, 0, kHot, clNone, QColor(0x30, 0x20, 0x10)},
    {"FullHot", true, false, 8, kHot, clNone, QColor(0xD0, 0xE0, 0xF0)},
    {"BlendTruncates", true, false, 3, kHot, clNone, QColor(108, 104, 100)},
    {"NoHotColourNoBlend", true, false, 8, clNone, clNone, QColor(0x30, 0x20, 0x10)},
    {"DisabledIgnoresHot", false, false, 8, kHot, clNone, QColor(0x30, 0x20, 0x10)},
    {"DownColourWins", true, true, 8, kHot, 0x0080FF, QColor(0xFF, 0x80, 0x00)},
    {"DownWithoutDownColourKeepsBlend", true, true, 8, kHot, clNone, QColor(0xD0, 0xE0, 0xF0)},
    {"DisabledIsNeverDown", false, true, 0, clNone, 0x0080FF, QColor(0x30, 0x20, 0x10)},
};

class FaceColour : public ::testing::TestWithParam<ColourCase> {};

TEST_P(FaceColour, FollowsHotLevelAndPressedColour)
{
    const ColourCase& c = GetParam();
    LbFaceParams p = baseParams();
    p.color = kFace;
    p.enabled = c.enabled;
    p.down = c.down;
    p.hotTrackStep = c.step;
    p.hotTrackColor = c.hot;
    p.colorWhenDown = c.whenDown;
    EXPECT_EQ(lbButtonFaceModel(p, kFixed).faceColor, c.expected);
}

INSTANTIATE_TEST_SUITE_P(LbButtonFace, FaceColour, ::testing::ValuesIn(kColourCases), CaseName());

// ----- pressed look, bevel and frame -------------------------------------------------------

TEST(LbButtonFace, PressedNormalShiftsAndInvertsTheBevel)
{
    LbFaceParams p = baseParams();
    const LbFaceModel up = lbButtonFaceModel(p, kFixed);
    ASSERT_EQ(up.lines.size(), 4u);
    EXPECT_EQ(up.lines[0], (LbLine{{0, 22}, {0, 0}, QColor(255, 255, 255)}));
    EXPECT_EQ(up.lines[1], (LbLine{{0, 0}, {99, 0}, QColor(255, 255, 255)}));
    EXPECT_EQ(up.lines[2], (LbLine{{99, 0}, {99, 22}, QColor(128, 128, 128)}));
    EXPECT_EQ(up.lines[3], (LbLine{{99, 22}, {0, 22}, QColor(128, 128, 128)}));
    EXPECT_EQ(up.offset, 0);

    p.down = true;
    const LbFaceModel down = lbButtonFaceModel(p, kFixed);
    EXPECT_EQ(down.offset, 1);
    EXPECT_FALSE(down.bold);
    EXPECT_EQ(down.lines[0].color, QColor(128, 128, 128));
    EXPECT_EQ(down.lines[3].color, QColor(255, 255, 255));
}

TEST(LbButtonFace, PressedEncartaShowsColourAndBoldWithoutShift)
{
    LbFaceParams p = baseParams();
    p.style = bsEncarta;
    p.down = true;
    p.colorWhenDown = 0x0080FF;
    const LbFaceModel m = lbButtonFaceModel(p, kFixed);
    EXPECT_EQ(m.offset, 0);
    EXPECT_TRUE(m.bold);
    EXPECT_EQ(m.faceColor, QColor(0xFF, 0x80, 0x00));
}

struct BevelCase {
    const char* name;
    bool enabled;
    bool flat;
    bool hot;
    bool down;
    bool bevel;
};
void PrintTo(const BevelCase& c, std::ostream* os) { *os << c.name; }

const BevelCase kBevelCases[] = {
    {"Raised", true, false, false, false, true},
    {"FlatIdle", true, true, false, false, false},
    {"FlatHot", true, true, true, false, true},
    {"FlatPressed", true, true, false, true, true},
    {"DisabledRaised", false, false, false, false, true},
    {"DisabledFlatEvenWhenHot", false, true, true, false, false},
};

class Bevel : public ::testing::TestWithParam<BevelCase> {};

TEST_P(Bevel, ShownByFlatHotAndPressedState)
{
    const BevelCase& c = GetParam();
    for (TLbButtonStyle style : {bsNormal, bsEncarta, bsOld}) {
        LbFaceParams p = baseParams();
        p.style = style;
        p.enabled = c.enabled;
        p.flat = c.flat;
        p.hot = c.hot;
        p.down = c.down;
        EXPECT_EQ(!lbButtonFaceModel(p, kFixed).lines.empty(), c.bevel) << "style " << style;
    }
}

INSTANTIATE_TEST_SUITE_P(LbButtonFace, Bevel, ::testing::ValuesIn(kBevelCases), CaseName());

TEST(LbButtonFace, OldStyleHasAnInnerShadowAndADarkOuterEdge)
{
    LbFaceParams p = baseParams();
    p.style = bsOld;
    p.palette.setColor(QPalette::Shadow, QColor(1, 2, 3));
    const LbFaceModel up = lbButtonFaceModel(p, kFixed);
    ASSERT_EQ(up.lines.size(), 6u);
    EXPECT_EQ(up.lines[0], (LbLine{{98, 0}, {98, 21}, QColor(128, 128, 128)}));
    EXPECT_EQ(up.lines[1], (LbLine{{98, 21}, {0, 21}, QColor(128, 128, 128)}));
    EXPECT_EQ(up.lines[2].color, QColor(255, 255, 255));
    EXPECT_EQ(up.lines[5], (LbLine{{99, 22}, {-1, 22}, QColor(1, 2, 3)}));

    p.down = true;
    const LbFaceModel down = lbButtonFaceModel(p, kFixed);
    EXPECT_EQ(down.lines[0], (LbLine{{1, 20}, {1, 1}, QColor(128, 128, 128)}));
    EXPECT_EQ(down.lines[2].color, QColor(1, 2, 3));
    EXPECT_EQ(down.lines[5].color, QColor(255, 255, 255));
}

TEST(LbButtonFace, ModernFillsTwoGradientsInsideARoundedFrame)
{
    LbFaceParams p = baseParams();
    p.style = bsModern;
    p.height = 40;
    p.color = 0x000000;
    p.lightColor = 0xFFFFFF;
    const LbFaceModel m = lbButtonFaceModel(p, kFixed);
    EXPECT_EQ(m.background, LbBackground::Gradient);
    EXPECT_TRUE(m.modernFrame);
    EXPECT_TRUE(m.lines.empty());
    ASSERT_FALSE(m.bands.empty());
    EXPECT_EQ(m.bands.front().rect.Top, 2);
    EXPECT_EQ(m.bands.front().color, QColor(255, 255, 255));
    EXPECT_EQ(m.bands.back().rect.Bottom, 39);
    // The 32nd band of the lower gradient is empty, so the last one drawn is one step short.
    EXPECT_EQ(m.bands.back().color, QColor(246, 246, 246));
    for (const LbBand& b : m.bands) {
        EXPECT_EQ(b.rect.Left, 2);
        EXPECT_EQ(b.rect.Right, 98);
    }
    // The darkest band sits where the two gradients meet, at H / 4.
    const auto darkest = std::min_element(m.bands.begin(), m.bands.end(), [](auto& a, auto& b) {
        return a.color.red() < b.color.red();
    });
    EXPECT_EQ(darkest->color, QColor(0, 0, 0));
    EXPECT_LE(darkest->rect.Top, 10);
    EXPECT_GE(darkest->rect.Bottom, 10);

    p.down = true;
    const LbFaceModel down = lbButtonFaceModel(p, kFixed);
    EXPECT_EQ(down.modernInnerColor, QColor(128, 128, 128));
    EXPECT_EQ(m.modernInnerColor, QColor(0, 0, 0));
}

TEST(LbButtonFace, QuickenDrawsARoundedFaceAndTwoLines)
{
    LbFaceParams p = baseParams();
    p.style = bsQuicken;
    const LbFaceModel m = lbButtonFaceModel(p, kFixed);
    EXPECT_EQ(m.background, LbBackground::None);
    EXPECT_TRUE(m.quickenFace);
    ASSERT_EQ(m.lines.size(), 2u);
    EXPECT_EQ(m.lines[0], (LbLine{{4, 0}, {95, 0}, QColor(128, 128, 128)}));
    EXPECT_EQ(m.lines[1], (LbLine{{4, 22}, {95, 22}, QColor(128, 128, 128)}));
}

TEST(LbButtonFace, GradientBandsStepEvenlyAndCoverTheRangeOnce)
{
    const auto bands = lbGradientBands(QColor(0, 0, 0), QColor(31, 62, 93), 2, 0, 50, 62);
    ASSERT_EQ(bands.size(), 31u);  // the 32nd band starts at the bottom and is empty
    int next = 0;
    for (int i = 0; i < int(bands.size()); ++i) {
        EXPECT_EQ(bands[i].color, QColor(i, 2 * i, 3 * i)) << i;
        EXPECT_EQ(bands[i].rect.Top, 2 * i);
        EXPECT_LE(bands[i].rect.Top, next);
        next = bands[i].rect.Bottom;
    }
    EXPECT_EQ(next, 62);
    EXPECT_TRUE(lbGradientBands(Qt::black, Qt::white, 0, 5, 10, 3).empty());
}

TEST(LbButtonFace, BlendGoesFromFaceToHotInEightSteps)
{
    const QColor face(10, 20, 30);
    const QColor hot(250, 240, 230);
    EXPECT_EQ(BlendHotTrackColor(face, hot, 0), face);
    EXPECT_EQ(BlendHotTrackColor(face, hot, 8), hot);
    EXPECT_EQ(BlendHotTrackColor(face, hot, 1), QColor(40, 47, 55));
}

// ----- glyph frame -------------------------------------------------------------------------

struct FrameCase {
    const char* name;
    bool enabled;
    bool hot;
    bool down;
    int numGlyphs;
    int frame;
};
void PrintTo(const FrameCase& c, std::ostream* os) { *os << c.name; }

const FrameCase kFrameCases[] = {
    {"Normal", true, false, false, 4, 0},
    {"Disabled", false, false, false, 4, 1},
    {"DisabledBeatsHotAndDown", false, true, true, 4, 1},
    {"Hot", true, true, false, 4, 3},
    {"HotNeedsFourFrames", true, true, false, 3, 0},
    {"Down", true, false, true, 3, 2},
    {"DownNeedsThreeFrames", true, false, true, 2, 0},
    {"DownBeatsHot", true, true, true, 4, 2},
};

class GlyphFrame : public ::testing::TestWithParam<FrameCase> {};

TEST_P(GlyphFrame, PicksTheFrameOfTheState)
{
    const FrameCase& c = GetParam();
    LbFaceParams p = baseParams();
    p.glyph = numberedStrip(c.numGlyphs);
    p.numGlyphs = c.numGlyphs;
    p.enabled = c.enabled;
    p.hot = c.hot;
    p.down = c.down;
    const LbFaceModel m = lbButtonFaceModel(p, kFixed);
    EXPECT_EQ(m.glyphFrame, c.frame);
    EXPECT_EQ(m.gw, 18);
    EXPECT_EQ(m.gh, 18);
    const int grey = 40 * (c.frame + 1);
    EXPECT_EQ(lbGlyphFrame(p.glyph, m.glyphFrame, m.gw, m.gh).pixel(9, 9), qRgb(grey, grey, grey));
}

INSTANTIATE_TEST_SUITE_P(LbButtonFace, GlyphFrame, ::testing::ValuesIn(kFrameCases), CaseName());

TEST(LbButtonFace, AFrameIndexPastTheStripDrawsTheFirstFrame)
{
    const QImage strip = numberedStrip(1);
    const QImage frame = lbGlyphFrame(strip, 1, 18, 18);
    EXPECT_EQ(frame.pixel(9, 9), qRgb(40, 40, 40));
    // The bottom-left colour is the transparent one.
    EXPECT_EQ(qAlpha(frame.pixel(0, 17)), 0);
    EXPECT_EQ(qAlpha(frame.pixel(0, 0)), 0);
}

TEST(LbButtonFace, NoFrameWithoutGlyphHeightOrFrameCount)
{
    LbFaceParams p = baseParams();
    p.numGlyphs = 1;
    EXPECT_EQ(lbButtonFaceModel(p, kFixed).glyphFrame, -1);
    p.glyph = oneFrameGlyph();
    p.numGlyphs = 0;
    EXPECT_EQ(lbButtonFaceModel(p, kFixed).glyphFrame, -1);
}

// ----- caption -----------------------------------------------------------------------------

TEST(LbButtonFace, ACaptionTooWideLosesCharactersFromItsEnd)
{
    LbFaceParams p = baseParams();
    p.caption = QStringLiteral("ABCDEFGHIJKLMNOPQRST");  // 120 px; 92 px available
    LbFaceModel m = lbButtonFaceModel(p, kFixed);
    EXPECT_EQ(m.caption, QStringLiteral("ABCDEFGHIJKLMNO"));
    EXPECT_EQ(m.textHeight, 13);

    p.glyph = oneFrameGlyph();
    p.numGlyphs = 1;
    m = lbButtonFaceModel(p, kFixed);
    EXPECT_EQ(m.availableWidth, 70);
    EXPECT_EQ(m.caption, QStringLiteral("ABCDEFGHIJK"));

    p.wordWrap = true;
    m = lbButtonFaceModel(p, kFixed);
    EXPECT_EQ(m.caption, p.caption);
    EXPECT_EQ(m.textHeight, 26);

    p.wordWrap = false;
    p.width = 5;
    m = lbButtonFaceModel(p, kFixed);
    EXPECT_EQ(m.availableWidth, 0);
    EXPECT_TRUE(m.caption.isEmpty());
}

TEST(LbButtonFace, ShorteningKeepsSurrogatePairsWhole)
{
    LbFaceParams p = baseParams();
    p.width = 8 + 6 * 3;
    p.caption = QStringLiteral("AB") + QString::fromUcs4(U"\U0001F600") + QStringLiteral("C");
    const LbFaceModel m = lbButtonFaceModel(p, kFixed);
    // The emoji counts as two code units in the fixed measure: "AB" plus one half would fit,
    // but the pair is taken off whole.
    EXPECT_EQ(m.caption, QStringLiteral("AB"));
}

// ----- placement ---------------------------------------------------------------------------

struct PlaceCase {
    const char* name;
    TLbButtonLayout layout;
    TAlignment alignment;
    bool wordWrap;
    bool down;
    int height;
    QString caption;
    QPoint glyph;
    TRect text;
};
void PrintTo(const PlaceCase& c, std::ostream* os) { *os << c.name; }

// Button 100 wide, glyph 18 x 18, caption "OK" 12 x 13 (tw4 16).
const PlaceCase kPlaceCases[] = {
    {"LeftCentre", blGlyphLeft, taCenter, false, false, 23, "OK", {33, 2}, {26, 5, 96, 18}},
    {"LeftLeft", blGlyphLeft, taLeftJustify, false, false, 23, "OK", {4, 2}, {26, 5, 96, 18}},
    {"LeftRight", blGlyphLeft, taRightJustify, false, false, 23, "OK", {62, 2}, {26, 5, 96, 18}},
    {"LeftCentreWrapped", blGlyphLeft, taCenter, true, false, 23, "OK", {4, 2}, {26, 5, 96, 18}},
    {"LeftCentrePressed", blGlyphLeft, taCenter, false, true, 23, "OK", {34, 3}, {27, 6, 97, 19}},
    {"LeftCentreNoCaption", blGlyphLeft, taCenter, false, false, 23, "", {41, 2}, {26, 11, 96, 11}},
    {"RightCentre", blGlyphRight, taCenter, false, false, 23, "OK", {49, 2}, {4, 5, 74, 18}},
    {"RightLeft", blGlyphRight, taLeftJustify, false, false, 23, "OK", {20, 2}, {4, 5, 74, 18}},
    {"RightRight", blGlyphRight, taRightJustify, false, false, 23, "OK", {78, 2}, {4, 5, 74, 18}},
    {"TopCentre", blGlyphTop, taCenter, false, false, 23, "OK", {41, -6}, {4, 12, 96, 25}},
    {"TopTruncatesTowardZero",
     blGlyphTop,
     taCenter,
     false,
     false,
     22,
     "OK",
     {41, -6},
     {4, 12, 96, 25}},
    {"BottomRight", blGlyphBottom, taRightJustify, false, false, 23, "OK", {78, 7}, {4, -6, 96, 7}},
    {"BottomLeft", blGlyphBottom, taLeftJustify, false, false, 23, "OK", {4, 7}, {4, -6, 96, 7}},
};

class Placement : public ::testing::TestWithParam<PlaceCase> {};

TEST_P(Placement, PutsGlyphAndCaptionWhereTheLayoutSays)
{
    const PlaceCase& c = GetParam();
    LbFaceParams p = baseParams();
    p.height = c.height;
    p.glyph = oneFrameGlyph();
    p.numGlyphs = 1;
    p.layout = c.layout;
    p.alignment = c.alignment;
    p.wordWrap = c.wordWrap;
    p.down = c.down;
    p.caption = c.caption;
    const LbFaceModel m = lbButtonFaceModel(p, kFixed);
    EXPECT_EQ(m.glyphPos, c.glyph);
    EXPECT_EQ(m.textRect, c.text);
    EXPECT_FALSE(m.glyphFirst);
}

INSTANTIATE_TEST_SUITE_P(LbButtonFace, Placement, ::testing::ValuesIn(kPlaceCases), CaseName());

TEST(LbButtonFace, ShapeCentresGlyphThenCaptionWhateverTheAlignment)
{
    LbFaceParams p = baseParams();
    p.style = bsShape;
    p.glyph = oneFrameGlyph();
    p.numGlyphs = 1;
    p.alignment = taLeftJustify;
    const LbFaceModel m = lbButtonFaceModel(p, kFixed);
    EXPECT_EQ(m.background, LbBackground::Key);
    EXPECT_TRUE(m.lines.empty());
    EXPECT_TRUE(m.glyphFirst);
    EXPECT_EQ(m.glyphPos, QPoint(41, 2));
    EXPECT_EQ(m.textRect, (TRect{0, 5, 100, 23}));
    EXPECT_EQ(m.textFlags & Qt::AlignHorizontal_Mask, int(Qt::AlignHCenter));
    // Shape has no bevel, so the whole width is available to the caption.
    EXPECT_EQ(m.availableWidth, 92);
}

TEST(LbButtonFace, DisabledCaptionIsGreyAndAlignmentFlagsFollow)
{
    LbFaceParams p = baseParams();
    p.fontColor = QColor(1, 2, 3);
    EXPECT_EQ(lbButtonFaceModel(p, kFixed).textColor, QColor(1, 2, 3));
    p.alignment = taRightJustify;
    const int flags = lbButtonFaceModel(p, kFixed).textFlags;
    EXPECT_TRUE(flags & Qt::AlignRight);
    EXPECT_TRUE(flags & Qt::TextShowMnemonic);
    EXPECT_TRUE(flags & Qt::TextWordWrap);
    p.enabled = false;
    for (TLbButtonStyle style : {bsNormal, bsShape}) {
        p.style = style;
        EXPECT_EQ(lbButtonFaceModel(p, kFixed).textColor, QColor(128, 128, 128)) << style;
    }
}

TEST(LbButtonFace, PopupArrowSitsNearTheRightEdge)
{
    LbFaceParams p = baseParams();
    EXPECT_FALSE(lbButtonFaceModel(p, kFixed).arrow);
    p.hasPopup = true;
    const LbFaceModel m = lbButtonFaceModel(p, kFixed);
    EXPECT_TRUE(m.arrow);
    EXPECT_EQ(m.arrowPos, QPoint(89, 10));
}

TEST(LbButtonFace, DegenerateSizesGiveAModelAndPaintNothingOutside)
{
    for (const QSize size : {QSize(0, 0), QSize(1, 1), QSize(3, 2), QSize(-5, -5)}) {
        for (int style = bsNormal; style <= bsQuicken; ++style) {
            LbFaceParams p = baseParams();
            p.width = size.width();
            p.height = size.height();
            p.style = TLbButtonStyle(style);
            p.glyph = oneFrameGlyph();
            p.numGlyphs = 1;
            p.hasPopup = true;
            QImage img(8, 8, QImage::Format_ARGB32_Premultiplied);
            img.fill(Qt::transparent);
            QPainter g(&img);
            DrawLbButtonFace(g, p);
            g.end();
            for (int y = std::max(0, size.height()); y < 8; ++y)
                for (int x = 0; x < 8; ++x)
                    EXPECT_EQ(qAlpha(img.pixel(x, y)), 0);
        }
    }
}

// ----- presets -----------------------------------------------------------------------------

TEST(LbButtonPresets, ColourStylesMatchTheirTable)
{
    LbColorStylePreset p{};
    EXPECT_FALSE(GetColorStyleColors(lcsCustom, p));
    ASSERT_TRUE(GetColorStyleColors(lcsGold, p));
    EXPECT_EQ(p.color, 0x00C0C0u);
    EXPECT_EQ(p.hotTrackColor, 0x00DFDFu);
    EXPECT_EQ(p.style, bsModern);
    ASSERT_TRUE(GetColorStyleColors(lcsUltraFlatXP, p));
    EXPECT_EQ(p.color, 0xD1D8DBu);
    EXPECT_EQ(p.shadowColor, 0xB59285u);
    EXPECT_TRUE(p.flat);
    ASSERT_TRUE(GetColorStyleColors(lcsQuicken, p));
    EXPECT_EQ(p.style, bsQuicken);
    EXPECT_EQ(p.fontColor, 0xFFFFFFu);
    EXPECT_EQ(p.colorWhenDown, 0xAD6529u);
    ASSERT_TRUE(GetColorStyleColors(lcsDefault, p));
    EXPECT_EQ(p.color, clBtnFace);
    EXPECT_FALSE(GetColorStyleColors(TLbColorStyle(99), p));
}

TEST(LbButtonPresets, GlyphPicturesHaveTheirSizesAndATransparentCorner)
{
    const char* twoFrames[] = {"LBOK",    "LBCANCEL", "LBHELP",  "LBYES",   "LBNO",
                               "LBCLOSE", "LBABORT",  "LBRETRY", "LBIGNORE"};
    for (const char* name : twoFrames) {
        const QImage img = lbGlyphResource(QString::fromLatin1(name));
        ASSERT_EQ(img.size(), QSize(36, 18)) << name;
        for (int frame = 0; frame < 2; ++frame) {
            const QImage f = lbGlyphFrame(img, frame, 18, 18);
            int drawn = 0;
            for (int y = 0; y < 18; ++y)
                for (int x = 0; x < 18; ++x)
                    drawn += qAlpha(f.pixel(x, y)) != 0;
            EXPECT_GT(drawn, 20) << name << " frame " << frame;
            EXPECT_EQ(qAlpha(f.pixel(0, 17)), 0) << name;
        }
    }
    EXPECT_EQ(lbGlyphResource(QStringLiteral("LBALL")).size(), QSize(36, 19));
    const QImage arrow = lbGlyphResource(QStringLiteral("LBARROW"));
    ASSERT_EQ(arrow.size(), QSize(5, 3));
    EXPECT_EQ(arrow.pixel(2, 2), qRgb(0, 0, 0));
    EXPECT_EQ(arrow.pixel(0, 2), arrow.pixel(4, 2));
    EXPECT_NE(arrow.pixel(0, 2), qRgb(0, 0, 0));
    EXPECT_TRUE(lbGlyphResource(QStringLiteral("NOSUCH")).isNull());
}

// ----- pixel probes ------------------------------------------------------------------------

QImage paintFace(const LbFaceParams& p)
{
    QImage img(p.width, p.height, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter g(&img);
    DrawLbButtonFace(g, p);
    return img;
}

TEST(LbButtonPixels, NormalFaceBevelAndGlyph)
{
    LbFaceParams p = baseParams();
    p.glyph = oneFrameGlyph(QColor(0, 128, 0));
    p.numGlyphs = 1;
    p.alignment = taLeftJustify;
    QImage img = paintFace(p);
    EXPECT_EQ(img.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(img.pixel(0, 21), qRgb(255, 255, 255));
    EXPECT_EQ(img.pixel(99, 22), qRgb(128, 128, 128));
    EXPECT_EQ(img.pixel(99, 0), qRgb(128, 128, 128));
    EXPECT_EQ(img.pixel(2, 2), qRgb(0xF8, 0xF7, 0xED));
    EXPECT_EQ(img.pixel(4 + 9, 2 + 9), qRgb(0, 128, 0));         // glyph picture
    EXPECT_EQ(img.pixel(4 + 1, 2 + 1), qRgb(0xF8, 0xF7, 0xED));  // its key colour is see-through

    p.down = true;
    img = paintFace(p);
    EXPECT_EQ(img.pixel(0, 0), qRgb(128, 128, 128));
    EXPECT_EQ(img.pixel(99, 22), qRgb(255, 255, 255));
    EXPECT_EQ(img.pixel(5 + 9, 3 + 9), qRgb(0, 128, 0));  // shifted one pixel
}

TEST(LbButtonPixels, DisabledCaptionIsDrawnGrey)
{
    LbFaceParams p = baseParams();
    p.caption = QStringLiteral("MMMM");
    p.enabled = false;
    const QImage img = paintFace(p);
    // Inside the bevel the darkest pixel is the fully covered part of the grey caption.
    int darkest = 255;
    for (int y = 2; y < 21; ++y)
        for (int x = 2; x < 98; ++x)
            darkest = std::min(darkest, qRed(img.pixel(x, y)));
    EXPECT_EQ(darkest, 128);
}

TEST(LbButtonPixels, TransparentStylesLeaveTheCornersUnpainted)
{
    LbFaceParams p = baseParams();
    p.style = bsModern;
    p.height = 140;  // tall enough for the first band to keep its own row
    QImage img = paintFace(p);
    EXPECT_EQ(qAlpha(img.pixel(0, 0)), 0);
    EXPECT_EQ(img.pixel(50, 2), qRgb(255, 255, 255));      // gradient starts at the light colour
    EXPECT_EQ(img.pixel(50, 0), qRgb(128, 128, 128));      // rounded frame
    EXPECT_EQ(img.pixel(50, 35), qRgb(0xF8, 0xF7, 0xED));  // the face colour at H / 4
    p.height = 23;

    p.style = bsShape;
    p.caption.clear();
    img = paintFace(p);
    EXPECT_EQ(qAlpha(img.pixel(50, 11)), 0);

    p.style = bsQuicken;
    img = paintFace(p);
    EXPECT_EQ(qAlpha(img.pixel(0, 0)), 0);
    EXPECT_EQ(img.pixel(50, 0), qRgb(128, 128, 128));
    EXPECT_EQ(img.pixel(50, 11), qRgb(0xF8, 0xF7, 0xED));
}

TEST(LbButtonPixels, PopupArrowIsDrawn)
{
    LbFaceParams p = baseParams();
    p.caption.clear();
    p.hasPopup = true;
    const QImage img = paintFace(p);
    EXPECT_EQ(img.pixel(89 + 2, 10 + 2), qRgb(0, 0, 0));
    EXPECT_EQ(img.pixel(89, 10 + 2), qRgb(0xF8, 0xF7, 0xED));
}

}  // namespace
}  // namespace zfw
