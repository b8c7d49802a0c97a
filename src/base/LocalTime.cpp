#include "base/LocalTime.h"

namespace zelsim {

std::tm SystemLocalTime() {
    static std::time_t convertedSecond = -1;
    static std::tm converted{};
    const std::time_t now = std::time(nullptr);
    if (now != convertedSecond) {
        convertedSecond = now;
        converted = *std::localtime(&now);
    }
    return converted;
}

}  // namespace zelsim
