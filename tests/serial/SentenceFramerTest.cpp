#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/NmeaChecksum.h"
#include "serial/SentenceFramer.h"

namespace zelsim {

namespace {

constexpr uint8_t kIdle = SentenceFramer::kIdle;
constexpr uint8_t kSentence = SentenceFramer::kSentenceReady;
constexpr uint8_t kLine = SentenceFramer::kLineReady;

// Appends "*HH" with the correct checksum of everything after the leading "$".
std::string WithChecksum(const std::string& sentence) {
    return sentence + ChecksumSuffix(NmeaChecksum(std::string_view(sentence).substr(1)));
}

class FramerTest : public ::testing::Test {
  protected:
    // Feeds every byte and returns the states returned, one per byte.
    std::vector<uint8_t> FeedAll(const std::string& bytes) {
        std::vector<uint8_t> states;
        for (char c : bytes) states.push_back(framer_.Feed(static_cast<uint8_t>(c), now_));
        return states;
    }

    // Feeds the bytes and returns the state after the last one.
    uint8_t FeedText(const std::string& bytes) {
        uint8_t state = framer_.State();
        for (char c : bytes) state = framer_.Feed(static_cast<uint8_t>(c), now_);
        return state;
    }

    std::string Copied() {
        char out[SentenceFramer::kBufferSize + 1];
        size_t length = 0;
        framer_.CopyOut(out, length);
        EXPECT_EQ(out[length], '\0');
        return std::string(out, length);
    }

    uint32_t now_ = 1000;
    SentenceFramer framer_;
};

TEST_F(FramerTest, ASentenceIsReportedAtItsLineEndOnlyAndGoneWithTheNextByte) {
    const std::string text = WithChecksum("$GPGGA,1,2");
    const auto states = FeedAll(text + "\r\r\n");
    for (size_t i = 0; i < states.size(); ++i) {
        if (i < text.size())
            EXPECT_LT(states[i], kSentence) << "byte " << i;
        else
            EXPECT_EQ(states[i], i == text.size() ? kSentence : kIdle) << "byte " << i;
    }
    EXPECT_EQ(framer_.FieldCount(), 0);
}

TEST_F(FramerTest, TheChecksumDecidesBetweenSentenceAndRawLine) {
    // "PKVTQ,DML,SET1" sums to 0x7E, "A" to 0x41.
    const struct {
        std::string text;
        uint8_t state;
    } cases[] = {
        {"$PKVTQ,DML,SET1*7e", kSentence},
        {"$PKVTQ,DML,SET1*7E", kSentence},
        {"$PKVTQ,DML,SET1*007E", kSentence},  // extra leading digits shift out
        {"$PKVTQ,DML,SET1*FF7E", kSentence},
        {"$PKVTQ,DML,SET1*7E0", kLine},
        {"$A*1", kLine},  // one digit is its own value
        {"$A*41", kSentence},
        {"$AA*", kSentence},        // a star without digits is a checksum of 0
        {"$PKVTS,TXT", kSentence},  // no star at all: taken unchecked
        {"$GPGGA,1,2*00", kLine},
        {"$GPGGA,1*4G", kLine},
        {WithChecksum("$GPGGA,1*$GPVTG"), kLine},  // a "$" after the star starts nothing
    };
    for (const auto& c : cases) {
        ASSERT_EQ(FeedText(c.text + "\r"), c.state) << c.text;
        if (c.state != kLine) continue;
        EXPECT_EQ(framer_.RawLine(), c.text);
        EXPECT_EQ(Copied(), c.text);
        EXPECT_EQ(framer_.FieldCount(), 0) << c.text;
        EXPECT_FALSE(framer_.FieldPresent(0)) << c.text;
    }
}

TEST_F(FramerTest, CarriageReturnLineFeedAndNulEndALineEmptyLinesReportNothing) {
    for (uint8_t s : FeedAll(std::string("\r\n\r\r\n\0", 6))) EXPECT_EQ(s, kIdle);
    EXPECT_EQ(FeedText("plain\n"), kLine);
    EXPECT_EQ(framer_.RawLine(), "plain");
    EXPECT_EQ(FeedText(std::string("hello\0", 6)), kLine);
    EXPECT_EQ(framer_.RawLine(), "hello");
    // Unlike CR and LF, a NUL is noise on the line: the line it ends counts as garbage.
    EXPECT_EQ(framer_.GarbageCount(), 1u);
}

TEST_F(FramerTest, UnprintableBytesShowAsDotsAndCountDirtyLinesUntilACleanLineOrSentence) {
    for (uint32_t i = 1; i <= 6; ++i) {
        ASSERT_EQ(FeedText("a\x01z\x1f\t\x7f\xc8z\r"), kLine);
        EXPECT_EQ(framer_.RawLine(), "a.z....z");
        EXPECT_EQ(framer_.GarbageCount(), i);
        EXPECT_EQ(framer_.LineCount(), i);
        ASSERT_EQ(framer_.Feed('\n', now_), kIdle);
    }
    // The degree sign is shown and is no noise; a clean line still counts as a line.
    const std::string clean = "12\xb0 C ~";
    ASSERT_EQ(FeedText(clean + "\r"), kLine);
    EXPECT_EQ(framer_.RawLine(), clean);
    EXPECT_EQ(framer_.GarbageCount(), 0u);
    EXPECT_EQ(framer_.LineCount(), 7u);

    FeedText("\x90\r\n");
    EXPECT_EQ(framer_.GarbageCount(), 1u);
    ASSERT_EQ(FeedText("$PKVTS,TXT\r"), kSentence);
    EXPECT_EQ(framer_.GarbageCount(), 0u);
    EXPECT_EQ(framer_.LineCount(), 0u);
}

// Noise at a wrong rate forms unchecked sentences and half sentences too: a
// line that held an unprintable byte anywhere is garbage, unless a checksum
// proves the sentence in it whole.
TEST_F(FramerTest, ALineThatHeldNoiseIsGarbageUnlessItsChecksumHolds) {
    // First byte after a reported line: the reset it causes must not forget it.
    FeedText("first\r");
    ASSERT_EQ(FeedText("\x01rest\r"), kLine);
    EXPECT_EQ(framer_.GarbageCount(), 1u);
    ASSERT_EQ(FeedText("$GPGGA,1*\x02\r"), kLine);
    EXPECT_EQ(framer_.RawLine(), "$GPGGA,1*.");
    EXPECT_EQ(framer_.GarbageCount(), 2u);
    ASSERT_EQ(FeedText("\x01\x02$GPGGA,1*00\r"), kLine);
    EXPECT_EQ(framer_.RawLine(), "..$GPGGA,1*00");
    EXPECT_EQ(framer_.GarbageCount(), 3u);

    // Framed as sentences without a checksum, and still counted.
    ASSERT_EQ(FeedText("$\x81\x02\r"), kSentence);
    EXPECT_EQ(framer_.GarbageCount(), 4u);
    ASSERT_EQ(FeedText("$PKVTS,TXT,0,\x81\r"), kSentence);
    EXPECT_EQ(framer_.GarbageCount(), 5u);
    ASSERT_EQ(FeedText("$PKVTS,TXT\r"), kSentence);
    EXPECT_EQ(framer_.GarbageCount(), 0u) << "a clean sentence ends the burst";

    // A checksum that holds: the receiver's glyph bytes are no noise, nor is
    // noise that came before the "$" on the same line.
    FeedText("\x01\r");
    ASSERT_EQ(FeedText(WithChecksum("$PKVTS,TXT,0,ROW\xE4") + "\r"), kSentence);
    EXPECT_EQ(framer_.GarbageCount(), 0u);
    FeedText("\x01\r");
    ASSERT_EQ(FeedText("\x03" + WithChecksum("$GPGGA,1") + "\r"), kSentence);
    EXPECT_EQ(framer_.GarbageCount(), 0u);
}

TEST_F(FramerTest, ACheckedBodyPassesOnlyWhenNothingWasCut) {
    // 598 characters fill the body; only the separator before "*" finds no room.
    const std::string full(SentenceFramer::kBodyLimit, 'z');
    ASSERT_EQ(FeedText(WithChecksum("$" + full) + "\r"), kSentence);
    EXPECT_EQ(framer_.Field(0), full);
    EXPECT_EQ(FeedText(WithChecksum("$" + full.substr(2) + ",,,,,") + "\r"), kSentence)
        << "separators without room lose nothing";

    // The sender's checksum covers every character, the framer sums only what it
    // keeps. 701 "y": the sums differ. 700 "y": the 108 dropped ones cancel out
    // and the sums agree by chance, yet the sentence is cut and must fail.
    for (size_t run : {701u, 700u}) {
        const std::string text = WithChecksum("$PKVTX," + std::string(run, 'y'));
        ASSERT_EQ(FeedText(text + "\r"), kLine) << run;
        EXPECT_EQ(framer_.RawLine(), text.substr(0, SentenceFramer::kRawLimit));
    }
}

TEST_F(FramerTest, OverlongLineOrUncheckedBodyKeepsWhatFits) {
    const auto states = FeedAll(std::string(700, 'x') + "\r");
    EXPECT_EQ(std::count(states.begin(), states.end(), kLine), 1);
    ASSERT_EQ(states.back(), kLine);
    EXPECT_EQ(framer_.RawLine(), std::string(SentenceFramer::kRawLimit, 'x'));
    EXPECT_EQ(Copied(), framer_.RawLine());

    ASSERT_EQ(FeedText("$PKVTX," + std::string(700, 'y') + ",tail\r"), kSentence);
    const std::string kept(SentenceFramer::kBodyLimit - 6, 'y');
    EXPECT_EQ(framer_.FieldCount(), 3);
    EXPECT_EQ(framer_.Field(1), kept);
    EXPECT_TRUE(framer_.FieldIs(2, "")) << "the field past the limit is dropped, not misread";
    EXPECT_EQ(Copied(), "$PKVTX," + kept + ",") << "the comma that found no room";
}

// A sentence is shown as its rebuilt text, and a text is classified by its
// first two fields, so the copy must parse again into them. A first field
// that filled the body left no room for the comma after it: the sentence
// was shown, but its copy parsed as one field, too short to show.
TEST_F(FramerTest, ARebuiltSentenceParsesAgainIntoItsFirstTwoFields) {
    const std::string lines[] = {
        "$GP" + std::string(600, 'A') + ",X\r",                          // runs past the body
        "$" + std::string(SentenceFramer::kBodyLimit - 1, 'B') + ",\r",  // its comma fills it
    };
    for (const std::string& line : lines) {
        ASSERT_EQ(FeedText(line), kSentence);
        ASSERT_EQ(framer_.FieldCount(), 2);
        const std::string first(framer_.Field(0));
        const std::string second(framer_.Field(1));
        SentenceFramer again;
        ASSERT_EQ(again.ParseText(Copied()), kSentence);
        EXPECT_GE(int{again.FieldCount()}, 2) << first.size() << " characters in the first field";
        EXPECT_EQ(again.Field(0), first);
        EXPECT_EQ(again.Field(1), second);
    }
}

TEST_F(FramerTest, OnlyTheFirstDollarOfALineStartsASentence) {
    ASSERT_EQ(FeedText("noise $PKVTS,TXT,0,HELLO\r"), kSentence);
    EXPECT_EQ(Copied(), "$PKVTS,TXT,0,HELLO");
    EXPECT_EQ(FeedText("next\r"), kLine);
    EXPECT_EQ(framer_.RawLine(), "next") << "the discarded text must not leak into the next line";

    ASSERT_EQ(FeedText(WithChecksum("$GPGGA,1$GPVTG,2") + "\r"), kSentence);
    EXPECT_EQ(framer_.FieldCount(), 3);
    EXPECT_EQ(framer_.Field(1), "1$GPVTG");
    EXPECT_EQ(framer_.Field(2), "2");
}

TEST_F(FramerTest, FieldsInAnyOrderEmptyOrAbsent) {
    const std::string text = "$F0,F1,F2,F3,F4,,F6,F7,";
    ASSERT_EQ(FeedText(WithChecksum(text) + "\r"), kSentence);
    ASSERT_EQ(framer_.FieldCount(), 9);
    EXPECT_EQ(Copied(), text) << "empty fields kept, the checksum dropped";
    EXPECT_EQ(framer_.Field(3), "F3");
    EXPECT_EQ(framer_.Field(7), "F7");
    EXPECT_EQ(framer_.Field(4), "F4") << "backwards after a scan";
    EXPECT_EQ(framer_.Field(7), "F7");
    EXPECT_EQ(framer_.Field(7), "F7") << "repeated from the cache";
    EXPECT_EQ(framer_.Field(6), "F6");
    EXPECT_EQ(framer_.Field(2), "F2");

    // Absent and empty read alike; only FieldPresent tells them apart.
    EXPECT_TRUE(framer_.FieldIs(5, ""));
    EXPECT_TRUE(framer_.FieldIs(8, "")) << "a trailing empty field";
    EXPECT_EQ(framer_.Field(9), "");
    EXPECT_FALSE(framer_.FieldIs(9, ""));
    EXPECT_EQ(framer_.FieldLength(200), 0u);

    // The start of field 8 was cached last; it must not outlive its sentence.
    ASSERT_EQ(FeedText("$G,H,I,J,K,L,M,N,OO\r"), kSentence);
    EXPECT_EQ(framer_.Field(8), "OO");
    EXPECT_EQ(framer_.Field(4), "K");
}

TEST_F(FramerTest, FieldCountSaturatesWithoutLosingTheFirstFields) {
    // 300 fields: a count that wrapped would move the starts of fields 1 and 2.
    std::string text = "$PKVTX,one,two";
    for (int i = 3; i < 300; ++i)
        text += (i == 3 || i == 254 || i == 299) ? "," + std::to_string(i) : ",";
    ASSERT_LE(text.size(), SentenceFramer::kBodyLimit + 1u);
    ASSERT_EQ(FeedText(WithChecksum(text) + "\r"), kSentence);
    EXPECT_EQ(framer_.FieldCount(), 255);
    EXPECT_EQ(framer_.Field(1), "one");
    EXPECT_EQ(framer_.Field(2), "two");
    EXPECT_EQ(framer_.Field(3), "3");
    EXPECT_EQ(framer_.Field(253), "");
    EXPECT_EQ(framer_.Field(254), "254");
    EXPECT_EQ(Copied(), text) << "the rebuilt text keeps every field, counted or not";
}

TEST_F(FramerTest, Byte255InsideABodyIsAnOrdinaryCharacter) {
    // 255 is also the framer's own end marker; a received one must not cut the sentence.
    const std::string text =
        "$PKVTX,a\xff"
        "b,c,d\xff,e";
    ASSERT_EQ(FeedText(WithChecksum(text) + "\r"), kSentence);
    EXPECT_EQ(framer_.FieldCount(), 5);
    EXPECT_EQ(framer_.Field(3), "d\xff");
    EXPECT_EQ(framer_.Field(4), "e");
    EXPECT_EQ(Copied(), text);
}

TEST_F(FramerTest, DecimalFieldsWrapInTheirWidth) {
    ASSERT_EQ(FeedText("$N,-5,40000,-,12ab,,99999999999,-2147483648,-0x7\r"), kSentence);
    EXPECT_EQ(framer_.FieldInt16(1), -5);
    EXPECT_EQ(framer_.FieldInt16(2), static_cast<int16_t>(40000 - 65536));
    EXPECT_EQ(framer_.FieldInt32(2), 40000);
    EXPECT_EQ(framer_.FieldInt16(3), 0) << "a lone minus";
    EXPECT_EQ(framer_.FieldInt32(4), 12) << "digits up to the first non-digit";
    EXPECT_EQ(framer_.FieldInt16(5), 0) << "empty";
    EXPECT_EQ(framer_.FieldInt32(6), static_cast<int32_t>(99999999999LL & 0xFFFFFFFF));
    EXPECT_EQ(framer_.FieldInt32(7), INT32_MIN);
    EXPECT_EQ(framer_.FieldInt16(8), 0);
    EXPECT_EQ(framer_.FieldInt32(200), 0) << "absent";
}

TEST_F(FramerTest, ParseTextReportsSentenceLineOrNothingAndStopsAtANul) {
    EXPECT_EQ(framer_.ParseText("$PKVTS,TXT,0,HELLO"), kSentence);
    EXPECT_EQ(framer_.Field(3), "HELLO");
    EXPECT_EQ(framer_.ParseText(WithChecksum("$GPGGA,1")), kSentence);
    EXPECT_EQ(framer_.ParseText("$GPGGA,1*00"), kLine);
    EXPECT_EQ(framer_.RawLine(), "$GPGGA,1*00");
    EXPECT_EQ(framer_.ParseText(""), kIdle);
    EXPECT_EQ(framer_.ParseText("\r\n"), kIdle);

    FeedText("left over $GPG");
    EXPECT_EQ(framer_.ParseText("A,1"), kLine) << "starts fresh";
    EXPECT_EQ(framer_.RawLine(), "A,1");

    EXPECT_EQ(framer_.ParseText(std::string("abc\0def", 7)), kLine);
    EXPECT_EQ(framer_.RawLine(), "abc");
    EXPECT_EQ(framer_.ParseText(std::string("$PKVTS,A\0,B", 11)), kSentence);
    EXPECT_EQ(Copied(), "$PKVTS,A");
    EXPECT_EQ(framer_.ParseText(std::string("\0abc", 4)), kIdle);
}

}  // namespace

}  // namespace zelsim
