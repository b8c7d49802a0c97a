#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <string>
#include <vector>

#include "SimDevices.h"
#include "SimSentence.h"
#include "serial/SentenceFramer.h"
#include "support/FakeTickClock.h"

namespace zelsim {

// What the simulated devices put on the line, taken apart the way the
// program takes it: split at CR LF, each line a sentence with a checksum,
// split by the program's own framer. Anything else fails the test.
struct WireLine {
    std::string text;  // without CR LF
    std::vector<std::string> fields;
};

inline std::vector<WireLine> ParseWire(const std::string& wire) {
    std::vector<WireLine> lines;
    SentenceFramer framer;
    for (size_t at = 0, end = 0; at < wire.size(); at = end + 2) {
        end = wire.find("\r\n", at);
        if (end == std::string::npos) {
            ADD_FAILURE() << "line without CR LF: " << wire.substr(at);
            break;
        }
        WireLine line{wire.substr(at, end - at), {}};
        if (line.text.find('*') != std::string::npos &&
            framer.ParseText(line.text) == SentenceFramer::kSentenceReady)
            for (uint8_t f = 0; f < framer.FieldCount(); ++f)
                line.fields.emplace_back(framer.Field(f));
        EXPECT_FALSE(line.fields.empty()) << "not a checksummed sentence: " << line.text;
        lines.push_back(std::move(line));
    }
    return lines;
}

// The lines of `wire` whose fields start with `prefix`.
inline std::vector<WireLine> Matching(const std::string& wire,
                                      const std::vector<std::string>& prefix) {
    std::vector<WireLine> found;
    for (WireLine& line : ParseWire(wire))
        if (line.fields.size() >= prefix.size() &&
            std::equal(prefix.begin(), prefix.end(), line.fields.begin()))
            found.push_back(std::move(line));
    return found;
}

// The fields of the one line of `wire` whose fields start with `prefix`.
inline std::vector<std::string> Only(const std::string& wire,
                                     const std::vector<std::string>& prefix) {
    const auto lines = Matching(wire, prefix);
    EXPECT_EQ(lines.size(), 1u) << prefix[0] << " in\n" << wire;
    return lines.empty() ? std::vector<std::string>{} : lines[0].fields;
}

// Field `index` of that line; empty when there is none.
inline std::string FieldOf(const std::string& wire, const std::vector<std::string>& prefix,
                           size_t index) {
    const auto fields = Only(wire, prefix);
    return index < fields.size() ? fields[index] : std::string();
}

inline bool Matches(const std::string& text, const char* pattern) {
    return std::regex_match(text, std::regex(pattern));
}

// The devices as the command line sets them up, on a line at the receiver's
// rate, with a clock the test moves: no test waits for the simulator's time.
struct SimBench {
    explicit SimBench(const std::vector<std::string>& arguments, uint32_t start = 1000)
        : clock(start), devices(clock, Parsed(arguments)) {
        devices.SetLineRate(SimReceiver::kDefaultBaud);
    }
    static SimOptions Parsed(const std::vector<std::string>& arguments) {
        SimOptions options;
        std::string error;
        EXPECT_TRUE(SimOptions::Parse(arguments, options, error)) << error;
        return options;
    }
    std::string Next(uint32_t ms) {
        clock.Advance(ms);
        return devices.Tick();
    }
    // Looked at every 10 ms, as a loop that wakes late would.
    std::string RunFor(uint32_t ms) {
        std::string wire;
        for (uint32_t t = 0; t < ms; t += 10) wire += Next(10);
        return wire;
    }
    std::string Send(const std::string& body) { return devices.Receive(SimSentence(body)); }
    std::string Press(unsigned mask) {  // and let go
        const std::string wire = Send("$PKVTK," + std::to_string(mask));
        return wire + Send("$PKVTK,0");
    }

    FakeTickClock clock;
    SimDevices devices;
};

}  // namespace zelsim
