#pragma once
#include <string>
#include <string_view>

namespace zelsim {

class SerialPort;

// Outgoing text stops at the first byte below 32 or above 127. A line goes
// to the port whole, in one write, so that the far end never sees a line of
// ours cut by another; each returns false when the line did not go out (a
// closed port, or a far end so far behind that the line was dropped).

// "$..." without "*" gets "*", two upper-case hex digits and CR LF; a "$"
// text that already holds "*" is sent as typed plus CR LF; any other text is
// sent plus CR LF.
std::string FormSentence(std::string_view text);
bool WriteSentence(SerialPort& port, std::string_view text);
bool WriteRaw(SerialPort& port, std::string_view text);
bool WriteRawLine(SerialPort& port, std::string_view text);

}  // namespace zelsim
