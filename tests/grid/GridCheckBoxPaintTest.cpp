// Check boxes in cells: which drawing each look and state gives (recorded), and what lands on
// the pixels (our own box probed, the style's box compared checked against unchecked).

#include "grid/GridDrawRecorder.h"
#include "grid/GridLook.h"

#include "support/CaseName.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace zfw {
namespace {

using test::CaseName;

enum class Drawn { OurBox, StyleBox };

struct BoxCase {
    const char* name;
    TControlStyle style;
    bool checked;
    bool enabled;
    bool grayed;
    bool triState;
    TCheckBoxState triValue;
    bool checkAlwaysActive;
    bool noDisabledLook;
    // Expected:
    Drawn drawn;
    bool showsChecked;  // our box: mark drawn
    int styleState;     // style box: 0 off, 1 on, 2 partly
    bool showsEnabled;
    TRect styleRect;  // style box only
    bool flat;
};

// Every box is asked for in the cell-sized rectangle (10, 20) - (40, 40), CheckSize 15.
constexpr TRect kCell{10, 20, 40, 40};
constexpr TRect kTopLeft{10, 20, 25, 35};
constexpr TRect kCentred{17, 22, 32, 37};

const BoxCase kBoxes[] = {
    {"XPCheckedEnabled",
     TControlStyle::csWinXP,
     true,
     true,
     false,
     false,
     cbUnchecked,
     false,
     false,
     Drawn::OurBox,
     true,
     0,
     true,
     {},
     false},
    {"XPUncheckedEnabled",
     TControlStyle::csWinXP,
     false,
     true,
     false,
     false,
     cbUnchecked,
     false,
     false,
     Drawn::OurBox,
     false,
     0,
     true,
     {},
     false},
    {"XPCheckedReadOnly",
     TControlStyle::csWinXP,
     true,
     false,
     false,
     false,
     cbUnchecked,
     false,
     false,
     Drawn::OurBox,
     true,
     0,
     false,
     {},
     false},
    {"XPUncheckedReadOnly",
     TControlStyle::csWinXP,
     false,
     false,
     false,
     false,
     cbUnchecked,
     false,
     false,
     Drawn::OurBox,
     false,
     0,
     false,
     {},
     false},
    {"XPCheckAlwaysActiveKeepsEnabled",
     TControlStyle::csWinXP,
     true,
     false,
     false,
     false,
     cbUnchecked,
     true,
     false,
     Drawn::OurBox,
     true,
     0,
     true,
     {},
     false},
    {"XPNoDisabledLookKeepsEnabled",
     TControlStyle::csWinXP,
     false,
     false,
     false,
     false,
     cbUnchecked,
     false,
     true,
     Drawn::OurBox,
     false,
     0,
     true,
     {},
     false},
    {"XPTriStateGrayedShowsUnchecked",
     TControlStyle::csWinXP,
     true,
     true,
     false,
     true,
     cbGrayed,
     false,
     false,
     Drawn::OurBox,
     false,
     0,
     true,
     {},
     false},
    {"XPTriStateCheckedIgnoresChecked",
     TControlStyle::csWinXP,
     false,
     true,
     false,
     true,
     cbChecked,
     false,
     false,
     Drawn::OurBox,
     true,
     0,
     true,
     {},
     false},
    {"BorlandDrawsOurBox",
     TControlStyle::csBorland,
     true,
     true,
     false,
     false,
     cbUnchecked,
     false,
     false,
     Drawn::OurBox,
     true,
     0,
     true,
     {},
     false},
    {"ThemeChecked", TControlStyle::csTheme, true, true, false, false, cbUnchecked, false, false,
     Drawn::StyleBox, false, 1, true, kTopLeft, false},
    {"ThemeUncheckedReadOnly", TControlStyle::csTheme, false, false, false, false, cbUnchecked,
     false, false, Drawn::StyleBox, false, 0, false, kTopLeft, false},
    {"ThemeTriStateGrayedIsMixed", TControlStyle::csTheme, false, false, false, true, cbGrayed,
     false, false, Drawn::StyleBox, false, 2, false, kTopLeft, false},
    {"ClassicCentred", TControlStyle::csClassic, true, true, false, false, cbUnchecked, false,
     false, Drawn::StyleBox, false, 1, true, kCentred, false},
    {"ClassicGrayedIsPartly", TControlStyle::csClassic, true, true, true, false, cbUnchecked, false,
     false, Drawn::StyleBox, false, 2, true, kCentred, false},
    {"FlatAsksForFlat", TControlStyle::csFlat, false, false, false, false, cbUnchecked, false,
     false, Drawn::StyleBox, false, 0, false, kCentred, true},
};

class CheckBoxDrawing : public ::testing::TestWithParam<BoxCase> {};

TEST_P(CheckBoxDrawing, RecordsTheLookAndState)
{
    const BoxCase& c = GetParam();
    TControlLook look;
    look.CheckAlwaysActive = c.checkAlwaysActive;
    look.SetNoDisabledCheckRadioLook(c.noDisabledLook);
    RecordingGridCanvas canvas;
    DrawCheckBox(canvas, look, kCell, c.checked, c.enabled, c.grayed, c.style, c.triState,
                 c.triValue);
    const auto& ops = canvas.ops();
    if (c.drawn == Drawn::StyleBox) {
        ASSERT_EQ(ops.size(), 1u);
        EXPECT_EQ(ops[0].kind, GridDrawOp::StyleCheckBox);
        EXPECT_EQ(ops[0].rect, c.styleRect);
        EXPECT_EQ(ops[0].flags, c.styleState);
        EXPECT_EQ(ops[0].enabled, c.showsEnabled);
        EXPECT_EQ(ops[0].flat, c.flat);
        return;
    }
    // Our box: frame, interior, then the mark's columns; nothing outside the 16 x 16 square
    // at the rectangle's top-left, and its outer ring of pixels left alone.
    const XPCheckBoxColors colors = xpCheckBoxColors(c.showsEnabled);
    ASSERT_GE(ops.size(), 2u);
    EXPECT_EQ(ops[0].kind, GridDrawOp::Frame);
    EXPECT_EQ(ops[0].rect, (TRect{11, 21, 25, 35}));
    EXPECT_EQ(ops[0].color, colors.frame);
    EXPECT_EQ(ops[1].kind, GridDrawOp::Fill);
    EXPECT_EQ(ops[1].color, colors.interior);
    int markColumns = 0;
    for (std::size_t i = 2; i < ops.size(); ++i) {
        EXPECT_EQ(ops[i].kind, GridDrawOp::Fill);
        EXPECT_EQ(ops[i].color, colors.mark);
        EXPECT_GE(ops[i].rect.Left, 12);
        EXPECT_GE(ops[i].rect.Top, 22);
        EXPECT_LE(ops[i].rect.Right, 24);
        EXPECT_LE(ops[i].rect.Bottom, 34);
        ++markColumns;
    }
    EXPECT_EQ(markColumns > 0, c.showsChecked);
}

INSTANTIATE_TEST_SUITE_P(Grid, CheckBoxDrawing, ::testing::ValuesIn(kBoxes), CaseName());

// ----- pixels -----

constexpr QRgb kBackground = qRgb(0x12, 0x34, 0x56);

QImage paint(const std::function<void(IGridCanvas&)>& draw)
{
    QImage img(60, 50, QImage::Format_RGB32);
    img.fill(kBackground);
    QPainter p(&img);
    QPainterGridCanvas canvas(p, QApplication::palette());
    draw(canvas);
    p.end();
    return img;
}

QRgb rgbOf(TColor c) { return qRgb(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)); }

struct ProbeCase {
    const char* name;
    bool checked;
    bool enabled;
};

class XPBoxPixels : public ::testing::TestWithParam<ProbeCase> {};

TEST_P(XPBoxPixels, FrameInteriorAndMark)
{
    const ProbeCase& c = GetParam();
    TControlLook look;
    const QImage img = paint([&](IGridCanvas& canvas) {
        DrawCheckBox(canvas, look, kCell, c.checked, c.enabled, false, TControlStyle::csWinXP);
    });
    const XPCheckBoxColors colors = xpCheckBoxColors(c.enabled);
    EXPECT_EQ(img.pixel(10, 20), kBackground) << "the transparent corner";
    EXPECT_EQ(img.pixel(25, 35), kBackground) << "the last pixel of the 16 x 16 square";
    EXPECT_EQ(img.pixel(11, 27), rgbOf(colors.frame)) << "left edge of the frame";
    EXPECT_EQ(img.pixel(24, 27), rgbOf(colors.frame)) << "right edge of the frame";
    EXPECT_EQ(img.pixel(13, 23), rgbOf(colors.interior)) << "above the mark";
    // The bottom of the mark: column 6 of the box, rows 9 to 11.
    EXPECT_EQ(img.pixel(16, 30), rgbOf(c.checked ? colors.mark : colors.interior));
    EXPECT_EQ(img.pixel(45, 30), kBackground) << "nothing outside the box";
}

const ProbeCase kProbes[] = {
    {"Checked", true, true},
    {"Unchecked", false, true},
    {"CheckedReadOnly", true, false},
    {"UncheckedReadOnly", false, false},
};
INSTANTIATE_TEST_SUITE_P(Grid, XPBoxPixels, ::testing::ValuesIn(kProbes), CaseName());

// The style's box lands in its square only, and shows its state.
TEST(GridCheckBoxPixels, StyleBoxStaysInItsSquareAndShowsItsState)
{
    TControlLook look;
    auto draw = [&](bool checked) {
        return paint([&](IGridCanvas& canvas) {
            DrawCheckBox(canvas, look, kCell, checked, true, false, TControlStyle::csClassic);
        });
    };
    const QImage on = draw(true);
    const QImage off = draw(false);
    int changedInside = 0;
    for (int y = 0; y < on.height(); ++y)
        for (int x = 0; x < on.width(); ++x) {
            const bool inside = x >= kCentred.Left && x < kCentred.Right && y >= kCentred.Top
                                && y < kCentred.Bottom;
            if (!inside) {
                ASSERT_EQ(on.pixel(x, y), kBackground) << x << "," << y;
                ASSERT_EQ(off.pixel(x, y), kBackground) << x << "," << y;
            } else if (on.pixel(x, y) != off.pixel(x, y)) {
                ++changedInside;
            }
        }
    EXPECT_GT(changedInside, 0) << "checked and unchecked must look different";
}

}  // namespace
}  // namespace zfw
