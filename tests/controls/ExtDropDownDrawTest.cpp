// Colour maths and the stepped gradient of the drop-down controls: band geometry and colours
// as data, and a pixel probe of the painted gradient.

#include "controls/ExtDropDownDraw.h"

#include "support/CaseName.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <ostream>

namespace zfw {

// Names a band in a failure message.
std::ostream& operator<<(std::ostream& os, const GradientStepBand& b)
{
    return os << "(" << b.rect.Left << "," << b.rect.Top << "," << b.rect.Right << ","
              << b.rect.Bottom << " #" << std::hex << b.color << std::dec << ")";
}

namespace {

using test::CaseName;

QPalette paletteWithButton(const QColor& c)
{
    QPalette p;
    p.setColor(QPalette::Button, c);
    return p;
}

// ----- rounding ----------------------------------------------------------------------------

TEST(ExtDropDownDraw, RoundsHalvesToEven)
{
    EXPECT_EQ(roundHalfEven(0.5), 0);
    EXPECT_EQ(roundHalfEven(1.5), 2);
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(127.5), 128);
    EXPECT_EQ(roundHalfEven(-0.5), 0);
    EXPECT_EQ(roundHalfEven(-1.5), -2);
    EXPECT_EQ(roundHalfEven(2.4999), 2);
    EXPECT_EQ(roundHalfEven(2.5001), 3);
}

// ----- BlendColor --------------------------------------------------------------------------

struct BlendCase {
    const char* name;
    TColor a;
    TColor b;
    int percent;
    TColor expected;
};

const BlendCase kBlendCases[] = {
    // At the ends the stored value comes back as it is, a system colour included.
    {"full_keeps_system_colour", clBtnFace, clBlack, 100, clBtnFace},
    {"above_full_is_first", clRed, clBlue, 150, clRed},
    {"zero_keeps_second_system_colour", clBlack, clHighlight, 0, clHighlight},
    {"negative_is_second", clRed, clBlue, -5, clBlue},
    // 0.5, 1.5 and 127.5 round to the even neighbour.
    {"half_rounds_to_even", rgbColor(0, 0, 0), rgbColor(1, 3, 255), 50, rgbColor(0, 2, 128)},
    // The header's inner highlight: 20 % border colour, 80 % white.
    {"header_highlight", clBlack, clWhite, 20, rgbColor(204, 204, 204)},
    {"system_colours_resolved_between", clBtnFace, clBlack, 50, rgbColor(50, 60, 70)},
};

class BlendColorTable : public ::testing::TestWithParam<BlendCase> {};

TEST_P(BlendColorTable, MixesPerChannel)
{
    const BlendCase& c = GetParam();
    EXPECT_EQ(BlendColor(c.a, c.b, c.percent, paletteWithButton(QColor(100, 120, 140))),
              c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, BlendColorTable, ::testing::ValuesIn(kBlendCases), CaseName());

// ----- OffsetColor -------------------------------------------------------------------------

struct OffsetCase {
    const char* name;
    TColor color;
    int dr, dg, db;
    TColor expected;
};

const OffsetCase kOffsetCases[] = {
    {"darken_keeps_dark_channel", rgbColor(0, 100, 200), -10, -10, -10, rgbColor(0, 90, 180)},
    // A positive offset lights a dark channel but never brightens a lit one.
    {"lighten_only_dark_channel", rgbColor(0, 100, 200), 20, 20, 20, rgbColor(20, 100, 200)},
    {"channels_independent", rgbColor(10, 0, 40), -50, 7, 0, rgbColor(5, 7, 40)},
    {"half_rounds_to_even", rgbColor(3, 5, 1), -50, -50, -50, rgbColor(2, 2, 0)},
    // Beyond -100 the scale goes negative; the channel stays black instead of wrapping to
    // a bright value.
    {"below_minus_hundred_is_black", rgbColor(200, 200, 200), -150, -150, -150, clBlack},
    {"large_offset_on_dark_is_full", clBlack, 300, 255, 0, rgbColor(255, 255, 0)},
    {"system_colour_resolved", clBtnFace, -50, -50, -50, rgbColor(50, 60, 70)},
};

class OffsetColorTable : public ::testing::TestWithParam<OffsetCase> {};

TEST_P(OffsetColorTable, AdjustsPerChannel)
{
    const OffsetCase& c = GetParam();
    EXPECT_EQ(OffsetColor(c.color, c.dr, c.dg, c.db, paletteWithButton(QColor(100, 120, 140))),
              c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, OffsetColorTable, ::testing::ValuesIn(kOffsetCases), CaseName());

// ----- gradient bands ----------------------------------------------------------------------

struct GradientCase {
    const char* name;
    TColor from;
    TColor to;
    bool horizontal;
    TRect rect;
    int steps;
    std::vector<GradientStepBand> expected;
};

const GradientCase kGradientCases[] = {
    {"zero_steps_one_band_of_start_colour",
     clRed,
     clBlue,
     true,
     Rect(0, 0, 10, 4),
     0,
     {{Rect(0, 0, 10, 4), clRed}}},
    {"negative_steps_one_band",
     clRed,
     clBlue,
     false,
     Rect(0, 0, 10, 4),
     -3,
     {{Rect(0, 0, 10, 4), clRed}}},
    // Each band is one pixel wider than its share; the colour steps round halves to even
    // (2.5 -> 2, 0.5 -> 0, 127.5 -> 128).
    {"two_horizontal_bands",
     clBlack,
     rgbColor(5, 1, 255),
     true,
     Rect(0, 0, 5, 2),
     2,
     {{Rect(0, 0, 3, 2), clBlack}, {Rect(2, 0, 5, 2), rgbColor(2, 0, 128)}}},
    // The last band would end a pixel below the rectangle: it is cut at the edge.
    {"vertical_last_band_cut_at_edge",
     clBlack,
     clWhite,
     false,
     Rect(0, 0, 3, 4),
     2,
     {{Rect(0, 0, 3, 3), clBlack}, {Rect(0, 2, 3, 4), rgbColor(128, 128, 128)}}},
    {"offset_rectangle_fractional_share",
     clBlack,
     rgbColor(4, 0, 0),
     true,
     Rect(10, 20, 14, 22),
     4,
     {{Rect(10, 20, 12, 22), clBlack},
      {Rect(11, 20, 13, 22), rgbColor(1, 0, 0)},
      {Rect(12, 20, 14, 22), rgbColor(2, 0, 0)},
      {Rect(12, 20, 14, 22), rgbColor(3, 0, 0)}}},
    {"system_colour_resolved",
     clBtnFace,
     clBtnFace,
     true,
     Rect(0, 0, 4, 1),
     1,
     {{Rect(0, 0, 4, 1), rgbColor(100, 120, 140)}}},
    {"empty_rectangle_paints_nothing", clRed, clBlue, true, Rect(5, 5, 5, 9), 3, {}},
};

class GradientBandTable : public ::testing::TestWithParam<GradientCase> {};

TEST_P(GradientBandTable, BandsAsComputed)
{
    const GradientCase& c = GetParam();
    EXPECT_EQ(gradientStepBands(c.from, c.to, c.horizontal, c.rect, c.steps,
                                paletteWithButton(QColor(100, 120, 140))),
              c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, GradientBandTable, ::testing::ValuesIn(kGradientCases), CaseName());

TEST(ExtDropDownDraw, EightyStepFaceCoversTheRectangleWithoutGaps)
{
    const TRect r = Rect(3, 0, 203, 10);
    const auto bands = gradientStepBands(clBlack, clWhite, true, r, 80);
    ASSERT_EQ(bands.size(), 80u);
    EXPECT_EQ(bands.front().rect.Left, r.Left);
    EXPECT_EQ(bands.back().rect.Right, r.Right);
    for (std::size_t i = 1; i < bands.size(); ++i) {
        EXPECT_LE(bands[i].rect.Left, bands[i - 1].rect.Right) << "gap before band " << i;
        EXPECT_GE(bands[i].rect.Left, bands[i - 1].rect.Left);
    }
}

TEST(ExtDropDownDraw, PaintedGradientRunsFromStartToEndColour)
{
    QImage img(40, 12, QImage::Format_RGB32);
    img.fill(Qt::green);
    {
        QPainter p(&img);
        DrawGradientSteps(p, clRed, clBlue, false, Rect(4, 2, 36, 10), 4);
    }
    // Outside the rectangle nothing changed.
    EXPECT_EQ(img.pixelColor(2, 5), QColor(Qt::green));
    EXPECT_EQ(img.pixelColor(20, 1), QColor(Qt::green));
    EXPECT_EQ(img.pixelColor(20, 10), QColor(Qt::green));
    // Top band the start colour, bottom band three quarters of the way (vertical gradient).
    EXPECT_EQ(img.pixelColor(20, 2), QColor(255, 0, 0));
    EXPECT_EQ(img.pixelColor(20, 9), QColor(64, 0, 191));
    EXPECT_EQ(img.pixelColor(4, 9), img.pixelColor(35, 9));
}

}  // namespace
}  // namespace zfw
