#pragma once
#include <cstdint>
#include <span>

namespace zelsim {

// Fills from (x, y) every pixel reachable through its four neighbours up to
// pixels of the `border` value, as a picture's flood fill to a border
// colour does. A seed outside the picture or on the border fills nothing.
// Pixels are rows of `width` values, top row first.
void FloodFill(std::span<uint32_t> pixels, int width, int height, int x, int y, uint32_t border,
               uint32_t fill);

}  // namespace zelsim
