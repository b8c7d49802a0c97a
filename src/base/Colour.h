#pragma once
#include <cstdint>

namespace zelsim {

// A colour by its red, green and blue parts, the one way every layer writes
// one: the windows turn it into the toolkit's colour in one place.
struct Colour {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;

    friend constexpr bool operator==(const Colour&, const Colour&) = default;
};

}  // namespace zelsim
