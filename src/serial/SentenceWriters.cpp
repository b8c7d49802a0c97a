#include "serial/SentenceWriters.h"

#include <cstdint>
#include <cstdio>

#include "serial/SerialPort.h"

namespace zelsim {

namespace {
bool Sendable(char c) {
    const auto b = static_cast<uint8_t>(c);
    return b >= 32 && b <= 127;
}

// Writes the sendable prefix of `text` and returns its XOR and whether it held "*".
uint8_t WriteSendable(SerialPort& port, std::string_view text, bool& sawStar) {
    uint8_t checksum = 0;
    sawStar = false;
    for (char c : text) {
        if (!Sendable(c)) break;
        port.WriteByte(static_cast<uint8_t>(c));
        checksum ^= static_cast<uint8_t>(c);
        if (c == '*') sawStar = true;
    }
    return checksum;
}

void WriteText(SerialPort& port, const char* text) {
    for (; *text; ++text) port.WriteByte(static_cast<uint8_t>(*text));
}
}  // namespace

void WriteSentence(SerialPort& port, std::string_view text) {
    bool sawStar = false;
    if (text.empty() || text.front() != '$') {
        WriteSendable(port, text, sawStar);
        WriteText(port, "\r\n");
        return;
    }
    port.WriteByte('$');
    const uint8_t checksum = WriteSendable(port, text.substr(1), sawStar);
    if (sawStar) {
        WriteText(port, "\r\n");
        return;
    }
    char tail[8];
    std::snprintf(tail, sizeof tail, "*%02X\r\n", checksum);
    WriteText(port, tail);
}

void WriteRaw(SerialPort& port, std::string_view text) {
    bool sawStar = false;
    WriteSendable(port, text, sawStar);
}

void WriteRawLine(SerialPort& port, std::string_view text) {
    WriteRaw(port, text);
    WriteText(port, "\r\n");
}

}  // namespace zelsim
