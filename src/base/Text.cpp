#include "base/Text.h"

#include <algorithm>

namespace zelsim {

namespace {
constexpr std::string_view kBlanks = " \t";
}  // namespace

bool EqualNoCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

std::string LowerCase(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = LowerAscii(c);
    return out;
}

std::string_view TrimBlanks(std::string_view text) {
    const size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    const size_t last = text.find_last_not_of(kBlanks);
    return text.substr(first, last - first + 1);
}

void AppendDecimal(std::string& out, unsigned long value, int width) {
    constexpr int kMostDigits = 20;  // 2^64 - 1 has 20
    char digits[kMostDigits];
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    for (int pad = count; pad < width; ++pad) out += '0';
    while (count > 0) out += digits[--count];
}

void AppendTwoDigitTriple(std::string& out, int first, int second, int third, char mark) {
    constexpr int kWidth = 2;
    AppendDecimal(out, static_cast<unsigned long>(first), kWidth);
    out += mark;
    AppendDecimal(out, static_cast<unsigned long>(second), kWidth);
    out += mark;
    AppendDecimal(out, static_cast<unsigned long>(third), kWidth);
}

}  // namespace zelsim
