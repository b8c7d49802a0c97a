#pragma once
#include <ctime>
#include <functional>

namespace zelsim {

// The local wall-clock time for the columns and stamps that show it; tests
// pass a fixed one.
using LocalTimeSource = std::function<std::tm()>;

// Converting to local time costs microseconds, far more than the rest of a
// line; the answer is converted again only when the second changes.
std::tm SystemLocalTime();

}  // namespace zelsim
