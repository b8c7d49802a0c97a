#include "graph/ReadoutFormat.h"

#include <cstdio>
#include <cstring>

namespace zelsim::readout_format {

namespace {

constexpr size_t kTextLimit = 48;
constexpr const char* kMetres = "%3d.%03dm";
constexpr size_t kMetresUnitAt = 7;  // the eighth character: 'm'

char SignOf(int32_t value) {
    return value < 0 ? '-' : (value == 0 ? ' ' : '+');
}

// The formats are the program's own literals, never a user's text.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
template <typename... Args>
std::string Format(const char* format, Args... args) {
    char text[kTextLimit];
    std::snprintf(text, sizeof text, format, args...);
    return text;
}
#pragma GCC diagnostic pop

// In 64 bits: the most negative 32-bit value has no 32-bit magnitude.
int64_t Magnitude(int32_t value) {
    return value < 0 ? -int64_t{value} : int64_t{value};
}

}  // namespace

std::string Signed(const char* format, int32_t value, int32_t divisor) {
    const int64_t magnitude = Magnitude(value);
    return Format(format, SignOf(value), static_cast<int>(magnitude / divisor),
                  static_cast<int>(magnitude % divisor));
}

std::string SignedWhole(const char* format, int32_t value) {
    return Format(format, SignOf(value), static_cast<int>(Magnitude(value)));
}

std::string Plain(const char* format, int32_t value, int32_t divisor) {
    // Whole and fraction of the magnitude, and one '-' before the number:
    // each part formatted with its own sign would read "0.-5".
    const int64_t magnitude = Magnitude(value);
    std::string text = Format(format, static_cast<int>(magnitude / divisor),
                              static_cast<int>(magnitude % divisor));
    if (value < 0) {
        const size_t first = text.find_first_not_of(' ');
        if (first == 0 || first == std::string::npos)
            text.insert(0, 1, '-');
        else
            text[first - 1] = '-';
    }
    if (std::strcmp(format, kMetres) == 0 && text.size() > kMetresUnitAt &&
        text[kMetresUnitAt] == 'm' && text[kMetresUnitAt - 1] == '0')
        text[kMetresUnitAt - 1] = ' ';
    return text;
}

std::string Whole(const char* format, int32_t value) {
    return Format(format, value);
}

}  // namespace zelsim::readout_format
