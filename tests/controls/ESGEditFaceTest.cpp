// The face of the edit's button as data: which background, which colour, and where glyph and
// caption go, for every look and state.

#include "controls/ESGEdit.h"

#include "support/CaseName.h"

#include <gtest/gtest.h>

namespace zfw {
namespace {

using test::CaseName;

struct FaceCase {
    const char* name;
    EsgButtonFaceParams params;
    EsgButtonBackground background;
    TColor fill;
    bool sunken;
    TRect content;
    TRect caption;
};

EsgButtonFaceParams face(bool pressed, bool hot, bool xp, bool flat, TColor color = clNone,
                         TColor colorHot = clNone, TColor colorDown = clNone)
{
    EsgButtonFaceParams p;
    p.width = 18;
    p.height = 18;
    p.pressed = pressed;
    p.hot = hot;
    p.isWinXP = xp;
    p.flat = flat;
    p.buttonColor = color;
    p.buttonColorHot = colorHot;
    p.buttonColorDown = colorDown;
    return p;
}

constexpr TRect kAll = Rect(0, 0, 18, 18);
constexpr TRect kShifted = Rect(1, 1, 19, 19);

const FaceCase kFaceCases[] = {
    {"custom_normal", face(false, false, false, false, clRed, clBlue, clLime),
     EsgButtonBackground::Custom, clRed, false, kAll, kAll},
    {"custom_hot", face(false, true, false, false, clRed, clBlue, clLime),
     EsgButtonBackground::Custom, clBlue, false, kAll, kAll},
    {"custom_pressed_wins_over_hot", face(true, true, false, false, clRed, clBlue, clLime),
     EsgButtonBackground::Custom, clLime, true, kAll, kShifted},
    // A state colour left unset shows the button colour rather than "no colour".
    {"custom_pressed_without_down_colour", face(true, false, false, false, clRed, clBlue),
     EsgButtonBackground::Custom, clRed, true, kAll, kShifted},
    {"custom_hot_without_hot_colour", face(false, true, false, false, clRed),
     EsgButtonBackground::Custom, clRed, false, kAll, kAll},
    {"custom_colour_wins_over_themed_and_flat", face(false, false, true, true, clRed),
     EsgButtonBackground::Custom, clRed, false, kAll, kAll},
    {"themed", face(false, true, true, false), EsgButtonBackground::Themed, clNone, false, kAll,
     kAll},
    {"themed_pressed", face(true, true, true, true), EsgButtonBackground::Themed, clNone, true,
     kAll, kShifted},
    {"classic_inside_two_pixel_frame", face(false, false, false, false),
     EsgButtonBackground::Classic, clNone, false, Rect(2, 2, 16, 16), Rect(2, 2, 16, 16)},
    {"classic_pressed", face(true, false, false, false), EsgButtonBackground::Classic, clNone, true,
     Rect(2, 2, 16, 16), Rect(3, 3, 17, 17)},
    {"flat_inside_one_pixel_edge", face(false, true, false, true), EsgButtonBackground::FlatEdge,
     clNone, false, Rect(1, 1, 17, 17), Rect(1, 1, 17, 17)},
    {"flat_pressed", face(true, false, false, true), EsgButtonBackground::FlatEdge, clNone, true,
     Rect(1, 1, 17, 17), Rect(2, 2, 18, 18)},
};

class EsgButtonFaceTable : public ::testing::TestWithParam<FaceCase> {};

TEST_P(EsgButtonFaceTable, BackgroundAndPlaces)
{
    const FaceCase& c = GetParam();
    const EsgButtonFace f = esgButtonFace(c.params);
    EXPECT_EQ(f.background, c.background);
    if (c.background == EsgButtonBackground::Custom) {
        EXPECT_EQ(f.fill, c.fill);
    }
    EXPECT_EQ(f.sunken, c.sunken);
    EXPECT_EQ(f.contentRect, c.content);
    EXPECT_EQ(f.captionRect, c.caption);
    EXPECT_FALSE(f.glyph);
}

INSTANTIATE_TEST_SUITE_P(Cases, EsgButtonFaceTable, ::testing::ValuesIn(kFaceCases), CaseName());

struct GlyphCase {
    const char* name;
    QSize glyph;
    bool pressed;
    QPoint expected;
};

const GlyphCase kGlyphCases[] = {
    {"centred", QSize(8, 6), false, QPoint(5, 6)},
    {"centred_odd_rest_rounds_down", QSize(7, 5), false, QPoint(5, 6)},
    {"pressed_moves_right_down", QSize(8, 6), true, QPoint(6, 7)},
    {"wider_than_button_at_left", QSize(20, 6), false, QPoint(0, 6)},
    {"as_tall_as_button_at_top", QSize(8, 18), false, QPoint(5, 0)},
};

class EsgButtonGlyphTable : public ::testing::TestWithParam<GlyphCase> {};

TEST_P(EsgButtonGlyphTable, GlyphPlaced)
{
    const GlyphCase& c = GetParam();
    EsgButtonFaceParams p = face(c.pressed, false, false, false);
    p.glyphSize = c.glyph;
    const EsgButtonFace f = esgButtonFace(p);
    EXPECT_TRUE(f.glyph);
    EXPECT_EQ(f.glyphPos, c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, EsgButtonGlyphTable, ::testing::ValuesIn(kGlyphCases), CaseName());

}  // namespace
}  // namespace zfw
