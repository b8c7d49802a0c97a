#pragma once
#include <cstdio>
#include <cstdlib>

namespace zelsim {

// A check of a fuzz target: a broken one ends the run with its reason, and
// fuzz/run keeps the input that broke it beside the target's log.
inline void Require(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}

}  // namespace zelsim
