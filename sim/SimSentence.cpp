#include "SimSentence.h"

#include <cstdarg>
#include <cstdio>

#include "base/NmeaChecksum.h"

namespace zelsim {

namespace {
constexpr size_t kBodyLimit = 600;
}

std::string SimSentence(std::string_view body) {
    std::string wire(body);
    wire += ChecksumSuffix(TextChecksum(body));
    wire += "\r\n";
    return wire;
}

std::string SimSentencef(const char* format, ...) {
    char body[kBodyLimit];
    va_list args;
    va_start(args, format);
    std::vsnprintf(body, sizeof body, format, args);
    va_end(args);
    return SimSentence(body);
}

}  // namespace zelsim
