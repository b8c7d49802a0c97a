#pragma once
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zelsim {

// What a receiver set to `readRate` makes of `text` sent at `sendRate`, its
// lines back to back, each followed by `idleBytes` byte times of idle line.
// Each byte is an 8N1 frame: a low start bit, eight data bits least
// significant first, a high stop bit. The receiver waits for a falling edge
// and samples the middle of each of its own bit times; a frame whose stop
// bit is low reads as a NUL, as a serial line in raw mode delivers a framing
// error. This is the noise a user sees at a wrong rate.
inline std::string ReadAtWrongRate(std::string_view text, uint32_t sendRate, uint32_t readRate,
                                   int idleBytes) {
    const double sendBit = 1.0 / sendRate;
    const double readBit = 1.0 / readRate;
    std::vector<double> starts;
    double end = 0;
    for (char c : text) {
        starts.push_back(end);
        end += 10 * sendBit * (1 + (c == '\n' ? idleBytes : 0));
    }
    auto level = [&](double t) {
        const auto after = std::upper_bound(starts.begin(), starts.end(), t);
        if (after == starts.begin()) return 1;
        const auto frame = static_cast<size_t>(after - starts.begin()) - 1;
        const int bit = static_cast<int>((t - starts[frame]) / sendBit);
        if (bit == 0) return 0;
        if (bit >= 9) return 1;  // the stop bit, then the idle line
        return (static_cast<unsigned char>(text[frame]) >> (bit - 1)) & 1;
    };
    std::string read;
    const double step = readBit / 16;  // the receiver looks for edges this often
    int previous = 1;
    for (double t = 0; t < end; t += step) {
        const int now = level(t);
        const bool falling = previous == 1 && now == 0;
        previous = now;
        if (!falling || level(t + readBit / 2) != 0) continue;  // a glitch is no start bit
        unsigned byte = 0;
        for (int bit = 0; bit < 8; ++bit)
            byte |= static_cast<unsigned>(level(t + (bit + 1.5) * readBit)) << bit;
        read += level(t + 9.5 * readBit) ? static_cast<char>(byte) : '\0';
        t += 9.5 * readBit;  // the stop bit's middle; the next frame starts at an edge
        previous = level(t);
    }
    return read;
}

}  // namespace zelsim
