#pragma once
// Horizontal alignment of a text, shared by the button, the grid and the tree: one definition,
// so that a window may use all three.

#include <cstdint>

namespace zfw {

enum TAlignment : std::uint8_t { taLeftJustify, taRightJustify, taCenter };

}  // namespace zfw
