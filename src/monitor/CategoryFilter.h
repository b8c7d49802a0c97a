#pragma once
#include <cstddef>
#include <cstdint>
#include <initializer_list>

#include "monitor/MessageCategory.h"

namespace zelsim {

// The categories one filter option lets through, a bit a code.
using CategorySet = uint16_t;

constexpr CategorySet CategoriesOf(std::initializer_list<MessageCategory::Code> codes) {
    CategorySet set = 0;
    for (MessageCategory::Code code : codes) set = static_cast<CategorySet>(set | 1u << code);
    return set;
}

// A line passes when some filter covers its category and every filter that
// covers it is on: the program's own panel traffic needs both the out-going
// and the ZEL filter. A category no filter covers (a short sentence) never
// passes.
template <class Options, class Item, size_t N>
constexpr bool PassesFilters(const Options& options, const Item (&items)[N], uint32_t category) {
    if (category >= MessageCategory::kCount) return false;
    bool covered = false;
    for (const Item& item : items) {
        if ((item.categories & 1u << category) == 0) continue;
        if (!(options.*item.flag)) return false;
        covered = true;
    }
    return covered;
}

}  // namespace zelsim
