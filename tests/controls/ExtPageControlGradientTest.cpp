// The page control and the column grid in one translation unit: both speak of the one gradient
// direction type, so a window that holds both compiles.

#include "controls/ExtPageControl.h"
#include "grid/ColumnGrid.h"

#include <gtest/gtest.h>

#include <type_traits>

namespace zfw {
namespace {

static_assert(std::is_same_v<decltype(std::declval<TExtTabSheet&>().TabGradientDirection()),
                             decltype(THeaderAppearance{}.GradientDirection)>);

TEST(ExtPageControlGradient, SheetAndDropDownLooksShareTheDirection)
{
    THeaderAppearance look;
    look.GradientDirection = gdHorizontal;
    TExtTabSheet sheet;
    sheet.SetHoverGradientDirection(look.GradientDirection);
    EXPECT_EQ(sheet.HoverGradientDirection(), gdHorizontal);
    EXPECT_EQ(sheet.TabGradientDirection(), gdVertical);
}

}  // namespace
}  // namespace zfw
