#include "gps/FloodFill.h"

#include <vector>

namespace zelsim {

void FloodFill(std::span<uint32_t> pixels, int width, int height, int x, int y, uint32_t border,
               uint32_t fill) {
    if (width <= 0 || height <= 0 || pixels.size() < static_cast<size_t>(width) * height) return;
    if (x < 0 || y < 0 || x >= width || y >= height || fill == border) return;
    const auto at = [&](int px, int py) -> uint32_t& {
        return pixels[static_cast<size_t>(py) * width + px];
    };
    const auto open = [&](int px, int py) {
        const uint32_t v = at(px, py);
        return v != border && v != fill;
    };
    if (!open(x, y)) return;
    // Spans, not pixels, on the stack: a whole picture takes a few thousand.
    struct Seed {
        int x;
        int y;
    };
    std::vector<Seed> stack{{x, y}};
    while (!stack.empty()) {
        const Seed s = stack.back();
        stack.pop_back();
        if (!open(s.x, s.y)) continue;
        int left = s.x;
        while (left > 0 && open(left - 1, s.y)) --left;
        int right = s.x;
        while (right + 1 < width && open(right + 1, s.y)) ++right;
        for (int px = left; px <= right; ++px) at(px, s.y) = fill;
        for (const int row : {s.y - 1, s.y + 1}) {
            if (row < 0 || row >= height) continue;
            bool inRun = false;
            for (int px = left; px <= right; ++px) {
                const bool o = open(px, row);
                if (o && !inRun) stack.push_back({px, row});
                inRun = o;
            }
        }
    }
}

}  // namespace zelsim
