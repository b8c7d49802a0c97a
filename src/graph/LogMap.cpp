#include "graph/LogMap.h"

#include <cmath>

namespace zelsim {

namespace {
constexpr int kDecades = 3;
constexpr double kDecade = 10.0;
}  // namespace

int LogMap(int32_t a, int32_t reference, int span) {
    if (a <= 0 || reference <= 0) return 0;
    const double d = static_cast<double>(span) / kDecades;
    const double ratio = static_cast<double>(a) / reference;
    double y = 0;
    // Tested as 10a/R not above 1, in whole numbers: no rounding of the
    // ratio decides the branch.
    if (int64_t{10} * a <= reference) {
        y = d * ratio;
    } else if (a <= int64_t{100} * reference) {
        // Per decade, as base + D log10(x), so each decade starts exactly
        // on its line.
        if (a <= reference)
            y = d * std::log10(kDecade * ratio);
        else if (a <= int64_t{10} * reference)
            y = d + d * std::log10(ratio);
        else
            y = 2 * d + d * std::log10(ratio / kDecade);
    } else {
        return span;
    }
    return static_cast<int>(std::floor(y + 0.5));
}

}  // namespace zelsim
