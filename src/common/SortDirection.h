#pragma once
// The direction of a sort, shared by the grid and the tree, whose settings both name it.

#include <cstdint>

namespace zfw {

enum TSortDirection : std::uint8_t { sdAscending, sdDescending };

}  // namespace zfw
