#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zelsim {

// A "$" line whose "*hh" is not the checksum of its characters: what the
// framer took for no sentence, told apart so the monitor can say why.
struct ChecksumFault {
    size_t star = 0;       // where "*" stands in the line
    uint8_t expected = 0;  // the checksum of the characters before it

    // The fault of `line`, if it is a "$" line with a "*" and the text
    // after it is not the checksum, as two hexadecimal digits of any case.
    static std::optional<ChecksumFault> Of(std::string_view line);
    // "Checksum error: the line carries *5A, its characters give *3B".
    static std::string Text(std::string_view carried, uint8_t expected);
};

}  // namespace zelsim
