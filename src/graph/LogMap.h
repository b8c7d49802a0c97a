#pragma once
#include <cstdint>

namespace zelsim {

// logmap: the distance in pixels of a value `a` (0 or more) on a
// three-decade logarithmic scale whose one division is worth `reference`
// and whose three decades span `span` pixels. Values up to a tenth of a
// division are linear from 0; past a hundred divisions the span is the
// limit. Rounded half up.
int LogMap(int32_t a, int32_t reference, int span);

}  // namespace zelsim
