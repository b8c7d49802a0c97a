#pragma once
#include <string>
#include <string_view>

namespace zelsim {

// Small text rules shared by every folder: the line's bytes are the
// program's 8-bit character set, and names in files and menus match
// without regard to case.

// The degree sign, one byte of the 8-bit character set.
inline constexpr unsigned char kDegree = 176;

// A character shown as it is: the printable ASCII range.
constexpr bool IsPrintable(unsigned char c) {
    return c >= 32 && c <= 126;
}

constexpr char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}
constexpr char UpperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
}

// Only ASCII letters fold: bytes above 127 are characters of their own.
bool EqualNoCase(std::string_view a, std::string_view b);
std::string LowerCase(std::string_view text);

// The text without the blanks and tabs around it.
std::string_view TrimBlanks(std::string_view text);

// `value` in decimal, with leading zeros up to `width` digits, as "%0*lu"
// writes it: the monitor and the log stamp every line so, and formatting
// through printf cost more than the rest of a line.
void AppendDecimal(std::string& out, unsigned long value, int width = 1);

// Three numbers of two digits with `mark` between them, as
// "%02d:%02d:%02d" writes a time of day.
void AppendTwoDigitTriple(std::string& out, int first, int second, int third, char mark);

}  // namespace zelsim
