// Real receiver captures decoded as the main cycle would, checked against a
// plain reading of the same sentences: split on commas, patterns for the
// numbers, maps for the cycles. The two share nothing but the framer.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "gnss/GnssDecoder.h"
#include "serial/SentenceFramer.h"

namespace zelsim {

namespace {

std::vector<std::string> Split(const std::string& text) {
    std::vector<std::string> fields;
    size_t start = 1;  // after the "$"
    for (;;) {
        const size_t comma = text.find(',', start);
        fields.push_back(text.substr(start, comma - start));
        if (comma == std::string::npos) return fields;
        start = comma + 1;
    }
}

std::string At(const std::vector<std::string>& fields, size_t i) {
    return i < fields.size() ? fields[i] : std::string();
}

// "ddmm.mmm" for a latitude, "dddmm.mmm" for a longitude, as every receiver
// writes them.
std::optional<double> Angle(const std::string& value, const std::string& side, int degreeDigits,
                            char negative, char positive) {
    static const std::regex lat(R"(^(\d{2})(\d{2}(\.\d+)?)$)");
    static const std::regex lon(R"(^(\d{3})(\d{2}(\.\d+)?)$)");
    std::smatch m;
    if (!std::regex_match(value, m, degreeDigits == 2 ? lat : lon)) return {};
    if (side.size() != 1 || (side[0] != negative && side[0] != positive)) return {};
    const double minutes = std::stod(m[2].str());
    if (minutes >= 60) return {};
    const double angle = std::stoi(m[1].str()) + minutes / 60;
    return side[0] == negative ? -angle : angle;
}

bool Followed(const std::string& talker) {
    for (std::string_view t : GnssDecoder::kTalkers)
        if (t == talker) return true;
    return false;
}

struct Reading {
    // talker -> signal -> PRNs of its latest complete cycle
    std::map<std::string, std::map<int, std::vector<uint16_t>>> shown;
    uint32_t cycles = 0;
    uint32_t fixes = 0;
    std::optional<double> latitude, longitude;

    struct Pending {
        int total = 0, next = 0, signal = 0;
        std::vector<uint16_t> prns;
    };
    std::map<std::string, Pending> pending;

    void Sentence(const std::string& text) {
        const std::vector<std::string> f = Split(text);
        if (f[0].size() != 5 || !Followed(f[0].substr(0, 2))) return;
        const std::string talker = f[0].substr(0, 2), type = f[0].substr(2);
        if (type == "GGA" || type == "RMC") {
            const size_t at = type == "GGA" ? 2 : 3;
            const auto lat = Angle(At(f, at), At(f, at + 1), 2, 'S', 'N');
            const auto lon = Angle(At(f, at + 2), At(f, at + 3), 3, 'W', 'E');
            if (lat && lon) latitude = lat, longitude = lon;
            const std::string quality = At(f, 6);
            if (type == "GGA" && lat && lon && quality.size() == 1 && quality >= "1" &&
                quality <= "9")
                ++fixes;
        } else if (type == "GSV") {
            Gsv(talker, f);
        }
    }

    void Gsv(const std::string& talker, const std::vector<std::string>& f) {
        static const std::regex small(R"(^\d{1,2}$)");
        static const std::regex prn(R"(^\d{1,3}$)");
        if (f.size() < 4 || !std::regex_match(f[1], small) || !std::regex_match(f[2], small))
            return;
        const int total = std::stoi(f[1]), number = std::stoi(f[2]);
        if (total < 1 || number < 1 || number > total) return;
        const size_t extra = f.size() - 4;
        int signal = 0;
        if (extra % 4 == 1) signal = std::stoi(f.back(), nullptr, 16);
        Pending& p = pending[talker];
        if (number == 1) {
            p = Pending{total, 1, signal, {}};
        } else if (p.total != total || p.next != number || p.signal != signal) {
            p.total = 0;
            return;
        }
        for (size_t i = 4; i + (extra % 4 == 1 ? 1 : 0) < f.size(); i += 4)
            if (std::regex_match(f[i], prn) && std::stoi(f[i]) > 0)
                p.prns.push_back(static_cast<uint16_t>(std::stoi(f[i])));
        p.next = number + 1;
        if (number == total) {
            shown[talker][p.signal] = p.prns;
            ++cycles;
            p.total = 0;
        }
    }

    std::vector<uint16_t> Prns(const std::string& talker) const {
        std::vector<uint16_t> all;
        const auto found = shown.find(talker);
        if (found == shown.end()) return all;
        for (const auto& [signal, prns] : found->second)
            all.insert(all.end(), prns.begin(), prns.end());
        return all;
    }
};

std::filesystem::path CaptureDir() {
    return std::filesystem::path(ZELSIM_SHARED_DIR) / "testdata/nmea";
}

std::vector<std::filesystem::path> Captures() {
    std::vector<std::filesystem::path> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(CaptureDir(), error))
        if (entry.path().extension() == ".log") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

// Feeds a capture through the framer to both readers.
void ReadCapture(const std::filesystem::path& file, GnssDecoder& decoder, Reading& reading) {
    std::ifstream in(file, std::ios::binary);
    ASSERT_TRUE(in) << file;
    const std::string data((std::istreambuf_iterator<char>(in)), {});
    SentenceFramer framer;
    char text[SentenceFramer::kBufferSize + 1];
    for (char byte : data) {
        if (framer.Feed(static_cast<uint8_t>(byte), 0) != SentenceFramer::kSentenceReady) continue;
        size_t length = 0;
        framer.CopyOut(text, length);
        reading.Sentence(std::string(text, length));
        decoder.SentenceFramed(framer, 0);
    }
}

TEST(GnssCaptureTest, DecoderAgreesWithAPlainReadingOfEveryCapture) {
    if (!std::filesystem::is_directory(CaptureDir()))
        GTEST_SKIP() << "no captures at " << CaptureDir();
    const auto files = Captures();
    ASSERT_FALSE(files.empty());
    uint32_t cyclesSeen = 0;
    for (const auto& file : files) {
        SCOPED_TRACE(file.filename().string());
        GnssDecoder decoder;
        Reading reading;
        ReadCapture(file, decoder, reading);
        cyclesSeen += reading.cycles;

        EXPECT_EQ(decoder.CyclesPublished(), reading.cycles);
        for (size_t t = 0; t < GnssDecoder::kTalkerCount; ++t) {
            const std::string talker(GnssDecoder::kTalkers[t]);
            std::vector<uint16_t> prns;
            for (const SatelliteInView& sat : decoder.SatellitesInView(t)) prns.push_back(sat.prn);
            EXPECT_EQ(prns, reading.Prns(talker)) << talker;
        }
        EXPECT_EQ(decoder.FixCount(), reading.fixes);
        EXPECT_EQ(decoder.Fix().latitude.has_value(), reading.latitude.has_value());
        if (reading.latitude && decoder.Fix().latitude) {
            EXPECT_NEAR(*decoder.Fix().latitude, *reading.latitude, 1e-9);
            EXPECT_NEAR(*decoder.Fix().longitude, *reading.longitude, 1e-9);
        }
    }
    EXPECT_GT(cyclesSeen, 100u) << "the captures hold satellites at all";
}

// Read off the capture's last lines by hand: its last GPS cycles of L1
// (signal 1, 13 satellites) and L2 CL (signal 6, 5 satellites), and its
// last GGA, a DGPS fix with seven decimals of minutes.
TEST(GnssCaptureTest, DualSignalCaptureEndsWithBothSignalsAndItsLastFix) {
    const auto file = CaptureDir() / "ublox-f9p-hpnmea.log";
    if (!std::filesystem::exists(file)) GTEST_SKIP() << "no capture at " << file;
    GnssDecoder decoder;
    Reading reading;
    ReadCapture(file, decoder, reading);
    const auto gps = decoder.SatellitesInView(0);
    ASSERT_EQ(gps.size(), 18u);
    EXPECT_EQ(gps[0].prn, 1);
    EXPECT_EQ(gps[0].azimuth, 69);
    EXPECT_EQ(gps[12].prn, 51);
    EXPECT_EQ(gps[13].prn, 1);
    EXPECT_EQ(gps[13].snr, 37);
    EXPECT_EQ(gps[13].signalId, 6);
    const GnssFix& fix = decoder.Fix();
    EXPECT_EQ(fix.utcMs, (1 * 3600 + 45 * 60 + 8) * 1000u);
    EXPECT_NEAR(*fix.latitude, 44 + 4.1306036 / 60, 1e-12);
    EXPECT_NEAR(*fix.longitude, -(121 + 18.8447714 / 60), 1e-12);
    EXPECT_EQ(fix.quality, 2);
    EXPECT_DOUBLE_EQ(*fix.altitude, 1130.215);
}

}  // namespace

}  // namespace zelsim
