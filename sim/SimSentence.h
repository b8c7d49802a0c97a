#pragma once
#include <string>
#include <string_view>

namespace zelsim {

// "$" body -> the wire form: body, "*", two upper-case hex digits, CR LF.
std::string SimSentence(std::string_view body);

// printf-style body, then framed as above.
std::string SimSentencef(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace zelsim
