#include "serial/SentenceWriters.h"

#include <cstdint>
#include <cstdio>

#include "serial/SerialPort.h"

namespace zelsim {

namespace {
constexpr std::string_view kLineEnd = "\r\n";

bool Sendable(char c) {
    const auto b = static_cast<uint8_t>(c);
    return b >= 32 && b <= 127;
}

std::string_view SendablePrefix(std::string_view text) {
    size_t n = 0;
    while (n < text.size() && Sendable(text[n])) ++n;
    return text.substr(0, n);
}
}  // namespace

std::string FormSentence(std::string_view text) {
    std::string line;
    if (text.empty() || text.front() != '$') {
        line = SendablePrefix(text);
        line += kLineEnd;
        return line;
    }
    const std::string_view body = SendablePrefix(text.substr(1));
    line.reserve(body.size() + 6);
    line += '$';
    line += body;
    // A checksum the user typed is sent as typed.
    if (body.find('*') != std::string_view::npos) {
        line += kLineEnd;
        return line;
    }
    uint8_t checksum = 0;
    for (char c : body) checksum ^= static_cast<uint8_t>(c);
    char tail[8];
    std::snprintf(tail, sizeof tail, "*%02X\r\n", checksum);
    line += tail;
    return line;
}

bool WriteSentence(SerialPort& port, std::string_view text) {
    return port.WriteWhole(FormSentence(text));
}

bool WriteRaw(SerialPort& port, std::string_view text) {
    return port.WriteWhole(SendablePrefix(text));
}

bool WriteRawLine(SerialPort& port, std::string_view text) {
    std::string line(SendablePrefix(text));
    line += kLineEnd;
    return port.WriteWhole(line);
}

}  // namespace zelsim
