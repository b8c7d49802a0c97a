#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "serial/SentenceFramer.h"

namespace zelsim {

// What the simulated devices put on the line, taken apart the way the
// program takes it: split at CR LF, each sentence checked and split by the
// program's own framer.
struct WireLine {
    std::string text;                 // without CR LF
    std::vector<std::string> fields;  // empty unless a checksum-valid sentence
    bool checksummed = false;         // carried "*hh"
};

inline std::vector<WireLine> ParseWire(const std::string& wire) {
    std::vector<WireLine> lines;
    SentenceFramer framer;
    size_t at = 0;
    while (at < wire.size()) {
        const size_t end = wire.find("\r\n", at);
        EXPECT_NE(end, std::string::npos) << "line without CR LF: " << wire.substr(at);
        if (end == std::string::npos) break;
        WireLine line;
        line.text = wire.substr(at, end - at);
        line.checksummed = line.text.find('*') != std::string::npos;
        if (framer.ParseText(line.text) == SentenceFramer::kSentenceReady)
            for (uint8_t f = 0; f < framer.FieldCount(); ++f)
                line.fields.emplace_back(framer.Field(f));
        lines.push_back(std::move(line));
        at = end + 2;
    }
    return lines;
}

// The lines of `wire` whose fields start with `prefix`.
inline std::vector<WireLine> Matching(const std::string& wire,
                                      const std::vector<std::string>& prefix) {
    std::vector<WireLine> found;
    for (WireLine& line : ParseWire(wire)) {
        if (line.fields.size() < prefix.size()) continue;
        if (std::equal(prefix.begin(), prefix.end(), line.fields.begin()))
            found.push_back(std::move(line));
    }
    return found;
}

// Every line of `wire` must be a sentence with a correct checksum.
inline void ExpectAllSentences(const std::string& wire) {
    for (const WireLine& line : ParseWire(wire)) {
        EXPECT_TRUE(line.checksummed) << line.text;
        EXPECT_FALSE(line.fields.empty()) << "not a valid sentence: " << line.text;
    }
}

inline std::string Query(const std::string& body) {
    unsigned char sum = 0;
    for (size_t i = 1; i < body.size(); ++i) sum ^= static_cast<unsigned char>(body[i]);
    char tail[8];
    std::snprintf(tail, sizeof tail, "*%02X\r\n", sum);
    return body + tail;
}

}  // namespace zelsim
