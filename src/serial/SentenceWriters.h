#pragma once
#include <string_view>

namespace zelsim {

class SerialPort;

// Outgoing text stops at the first byte below 32 or above 127; every byte is
// one write, as the line's receivers expect.

// "$..." without "*" gets "*", two upper-case hex digits and CR LF; a "$"
// text that already holds "*" is sent as typed plus CR LF; any other text is
// sent plus CR LF.
void WriteSentence(SerialPort& port, std::string_view text);
void WriteRaw(SerialPort& port, std::string_view text);
void WriteRawLine(SerialPort& port, std::string_view text);

}  // namespace zelsim
