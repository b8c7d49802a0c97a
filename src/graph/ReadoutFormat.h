#pragma once
#include <cstdint>
#include <string>

namespace zelsim {

// The readout panel's two ways of splitting a value by a divisor into the
// figures a format shows.
namespace readout_format {

// The format "%c" + whole + fraction: '-', ' ' or '+' by the sign, then
// |v| / d and |v| mod d.
std::string Signed(const char* format, int32_t value, int32_t divisor);
// The same with the sign alone and |v| (a divisor of 1).
std::string SignedWhole(const char* format, int32_t value);
// v / d and v mod d, each with its own sign. "%3d.%03dm" shows a trailing
// zero of three decimals as a space: 1500 reads "  1.50 m".
std::string Plain(const char* format, int32_t value, int32_t divisor);
// One figure.
std::string Whole(const char* format, int32_t value);

}  // namespace readout_format

}  // namespace zelsim
