#include "scripts/ScriptLine.h"

#include <cstdint>
#include <limits>

namespace zelsim {

namespace {

constexpr std::string_view kWaitForTime = "waitfortime ";
constexpr std::string_view kWaitFor = "waitfor ";

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Optional sign, then digits, read up to the first other character and held
// within [low, high]: a script's numbers never overflow into another value.
int32_t Digits(std::string_view text, int32_t low, int32_t high) {
    size_t at = 0;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
    int64_t value = 0;
    for (; at < text.size() && IsDigit(text[at]); ++at) {
        value = value * 10 + (text[at] - '0');
        if (value > int64_t{high} - int64_t{low}) break;  // past either bound already
    }
    if (negative) value = -value;
    if (value < low) return low;
    if (value > high) return high;
    return static_cast<int32_t>(value);
}

// A decimal number with leading blanks and a sign; no digits give 0.
int32_t Decimal(std::string_view text) {
    size_t at = 0;
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) ++at;
    return Digits(text.substr(at), std::numeric_limits<int32_t>::min(),
                  std::numeric_limits<int32_t>::max());
}

ScriptLine Make(ScriptLine::Kind kind, int32_t number = 0, std::string_view text = {}) {
    ScriptLine line;
    line.kind = kind;
    line.number = number;
    line.text = text;
    return line;
}

ScriptLine TimedWait(std::string_view body) {
    const std::string_view rest = body.substr(kWaitForTime.size());
    // The text follows the first blank after the time-out, past all blanks.
    size_t at = 0;
    while (at < rest.size() && rest[at] != ' ') ++at;
    while (at < rest.size() && rest[at] == ' ') ++at;
    return Make(ScriptLine::Kind::kWaitForTime, Decimal(rest),
                rest.substr(at, ScriptLine::kWaitTextLimit));
}

}  // namespace

ScriptLine ScriptLine::Parse(std::string_view line) {
    using K = Kind;
    if (line.empty() || line[0] != kCommand) return Make(K::kSend, 0, line);
    const std::string_view body = line.substr(1);
    const auto starts = [body](std::string_view prefix) { return body.starts_with(prefix); };
    const std::string_view afterLetter = body.empty() ? body : body.substr(1);

    if (starts("d")) return Make(K::kDelay, Decimal(afterLetter));
    if (starts(kWaitForTime) && body.size() > kWaitForTime.size()) return TimedWait(body);
    if (starts(kWaitFor) && body.size() > kWaitFor.size())
        return Make(K::kWaitFor, 0, body.substr(kWaitFor.size(), kWaitTextLimit));
    if (starts("GetDmBlVer")) return Make(K::kGetDmBlVer);
    if (starts("SetDmBlBaud")) return Make(K::kSetDmBlBaud);
    if (starts("sendHexFile")) return Make(K::kSendHexFile);
    if (starts("msg")) return Make(K::kMessageLabel, 0, body.substr(3));
    if (starts("nl")) return Make(K::kNewLine);
    if (starts(" ")) return Make(K::kComment);
    if (starts("b")) return Make(K::kBaud, Decimal(afterLetter));
    if (starts("f")) return Make(K::kSendFile, 0, afterLetter);
    if (starts("t")) return Make(K::kTestFile, 0, afterLetter);
    // A jump is a signed 16-bit count written without blanks.
    if (starts("j"))
        return Make(K::kJump, Digits(afterLetter, std::numeric_limits<int16_t>::min(),
                                     std::numeric_limits<int16_t>::max()));
    if (starts("m")) return Make(K::kMessage, 0, afterLetter);
    if (starts("e")) return Make(K::kEnd);
    if (starts("rtson")) return Make(K::kRtsOn);
    if (starts("rtsoff")) return Make(K::kRtsOff);
    return Make(K::kIgnored);
}

}  // namespace zelsim
