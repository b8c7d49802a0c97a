// Real receiver captures fed byte by byte through the framer and classified
// as the main cycle does, checked against the counts of the captures' README. That table
// comes from a line-based counter; where our framer reads a line differently
// the difference is written out per file below, with its reason.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>

#include "monitor/MessageClassifier.h"
#include "serial/SentenceFramer.h"

namespace zelsim {

namespace {

struct Capture {
    const char* file;
    // Columns of the README table.
    int comment, valid, nostar, invalid, other;
    // "#" header lines holding a "$": the framer starts a sentence there and
    // drops the text before it (mostly a no-checksum sentence, taken unchecked).
    int commentSentences;
    // Data lines with junk in front of the "$" (a space, binary noise).
    int junkSentences;
    // Empty lines give nothing.
    int emptyLines;
    // A NUL ends a line: the text after a NUL run comes as a raw line of its own.
    int nulSplits;
    // Sentences of fewer than two fields (never shown).
    int shortSentences;
};

// Names the capture in test listings instead of dumping its bytes.
void PrintTo(const Capture& capture, std::ostream* out) {
    *out << capture.file;
}

// Lines holding a second "$" inside a sentence (gp-320fw, triton400) stay
// Non-NMEA here: a "$" inside a body is an ordinary character, so the README's
// "restart at every $" extras do not apply.
constexpr Capture kCaptures[] = {
    {"beidou-bd.log", 14, 78, 0, 0, 2, 1, 1, 1, 0, 1},
    {"beidou-gb.log", 9, 68, 0, 0, 0, 0, 0, 0, 0, 0},
    {"bu353-glonass.log", 9, 112, 0, 0, 0, 0, 0, 0, 0, 0},
    {"ericsson-gru04-02-70sec.log", 21, 976, 0, 0, 0, 0, 0, 0, 0, 0},
    {"et-332.log", 19, 106, 0, 1, 34, 0, 0, 0, 0, 0},
    {"firefly-II.log", 5, 46, 0, 23, 0, 0, 0, 0, 0, 0},
    {"furuno_gl_ga.log", 8, 306, 0, 0, 0, 1, 0, 0, 0, 1},
    {"garmin48.log", 14, 91, 0, 1, 0, 0, 0, 0, 0, 0},
    {"gp-320fw-2019-04-07-coldboot.log", 20, 86, 5, 41, 2, 2, 0, 0, 1, 2},
    {"hemi.log", 2, 753, 0, 0, 0, 0, 0, 0, 0, 0},
    {"hp58534a.log", 8, 0, 13, 0, 0, 0, 0, 0, 0, 0},
    {"magellan-ec10.log", 14, 76, 0, 0, 0, 0, 0, 0, 0, 0},
    {"mtk-3301.log", 19, 56, 3, 0, 0, 1, 0, 0, 0, 1},
    {"nmea-rtk.log", 9, 244, 0, 0, 0, 0, 0, 0, 0, 0},
    {"quectelLC79D.log", 14, 682, 0, 0, 0, 2, 0, 0, 0, 0},
    {"saab-r4.log", 4, 108, 0, 0, 15, 0, 0, 1, 0, 0},
    {"skytraq-dgps.log", 7, 1024, 0, 0, 0, 0, 0, 0, 0, 0},
    {"st-teseo-liv3f.log", 10, 406, 0, 0, 0, 1, 0, 0, 0, 1},
    {"telit-pls83-w.log", 9, 225, 0, 0, 0, 0, 0, 0, 0, 0},
    {"triton400.log", 7, 27, 0, 1, 0, 0, 0, 0, 0, 0},
    {"ublox-8.log", 10, 1007, 1, 0, 1, 0, 1, 0, 0, 0},
    {"ublox-f9p-hpnmea.log", 12, 139, 0, 0, 0, 0, 0, 0, 0, 0},
    {"ublox-neo-m9n-nmea.log", 11, 1403, 0, 0, 0, 0, 0, 0, 0, 0},
    {"unicore-um621.log", 17, 882, 0, 0, 0, 3, 0, 0, 0, 1},
};

class NmeaCaptureTest : public ::testing::TestWithParam<Capture> {};

TEST_P(NmeaCaptureTest, FramerAndClassifierAgreeWithTheCounts) {
    const std::filesystem::path dir = std::filesystem::path(ZELSIM_SHARED_DIR) / "testdata/nmea";
    if (!std::filesystem::is_directory(dir)) GTEST_SKIP() << "no captures at " << dir;
    const Capture& c = GetParam();
    std::ifstream in(dir / c.file, std::ios::binary);
    ASSERT_TRUE(in) << c.file;
    const std::string data((std::istreambuf_iterator<char>(in)), {});

    SentenceFramer framer;
    char text[SentenceFramer::kBufferSize + 1];
    int sentences = 0, rawLines = 0, shortSentences = 0;
    for (char byte : data) {
        const uint8_t state = framer.Feed(static_cast<uint8_t>(byte), 0);
        if (state != SentenceFramer::kSentenceReady && state != SentenceFramer::kLineReady)
            continue;
        size_t length = 0;
        framer.CopyOut(text, length);
        const MessageCategory::Code category = MessageClassifier::Classify(framer);
        if (state == SentenceFramer::kLineReady) {
            ++rawLines;
            EXPECT_EQ(category, MessageCategory::kNonNmea) << text;
        } else {
            ++sentences;
            if (category == MessageCategory::kShort) ++shortSentences;
            // The same text typed into the send box classifies alike.
            EXPECT_EQ(MessageClassifier::ClassifyText({text, length}), category) << text;
        }
    }

    const int fromHeaders = c.commentSentences;
    EXPECT_EQ(sentences, c.valid + c.nostar + fromHeaders + c.junkSentences);
    EXPECT_EQ(rawLines, c.comment + c.invalid + c.other - fromHeaders - c.junkSentences -
                            c.emptyLines + c.nulSplits);
    EXPECT_EQ(shortSentences, c.shortSentences);
}

INSTANTIATE_TEST_SUITE_P(Captures, NmeaCaptureTest, ::testing::ValuesIn(kCaptures),
                         [](const ::testing::TestParamInfo<Capture>& info) {
                             std::string name = info.param.file;
                             name = name.substr(0, name.find(".log"));
                             for (char& ch : name)
                                 if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
                             return name;
                         });

}  // namespace

}  // namespace zelsim
