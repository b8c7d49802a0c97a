#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "serial/SentenceFramer.h"

namespace zelsim {

namespace {

constexpr uint8_t kDegreeSign = 176;

// Appends "*HH" with the correct checksum of everything after the leading "$".
std::string WithChecksum(const std::string& sentence) {
    uint8_t x = 0;
    for (size_t i = 1; i < sentence.size(); ++i) x ^= static_cast<uint8_t>(sentence[i]);
    static const char kHex[] = "0123456789ABCDEF";
    return sentence + '*' + kHex[x >> 4] + kHex[x & 15];
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

// --- Checksums -------------------------------------------------------------

TEST_F(FramerTest, ValidChecksumReportsAtCarriageReturnAndLineFeedGivesNothing) {
    const std::string text = WithChecksum("$GPGGA,1,2");
    const auto states = FeedAll(text + "\r\n");
    for (size_t i = 0; i < text.size(); ++i) EXPECT_LT(states[i], 3) << "byte " << i;
    EXPECT_EQ(states[text.size()], SentenceFramer::kSentenceReady);
    EXPECT_EQ(states[text.size() + 1], SentenceFramer::kIdle);
    EXPECT_EQ(framer_.FieldCount(), 0) << "the sentence is gone once the next byte is fed";
}

TEST_F(FramerTest, WrongChecksumSurfacesAsRawLineWithStarAndDigits) {
    ASSERT_EQ(FeedText("$GPGGA,1,2*00\r"), SentenceFramer::kLineReady);
    EXPECT_EQ(framer_.RawLine(), "$GPGGA,1,2*00");
    EXPECT_EQ(Copied(), "$GPGGA,1,2*00");
    EXPECT_EQ(framer_.FieldCount(), 0);
    EXPECT_FALSE(framer_.FieldPresent(0));
    EXPECT_EQ(FeedText("\n"), SentenceFramer::kIdle);
}

TEST_F(FramerTest, ChecksumDigitsInEitherCaseAndExtraLeadingDigitsShiftOut) {
    // $PKVTQ,DML,SET1 sums to 0x7E.
    EXPECT_EQ(FeedText("$PKVTQ,DML,SET1*7e\r"), SentenceFramer::kSentenceReady);
    EXPECT_EQ(FeedText("$PKVTQ,DML,SET1*7E\r"), SentenceFramer::kSentenceReady);
    EXPECT_EQ(FeedText("$PKVTQ,DML,SET1*007E\r"), SentenceFramer::kSentenceReady);
    EXPECT_EQ(FeedText("$PKVTQ,DML,SET1*FF7E\r"), SentenceFramer::kSentenceReady);
    EXPECT_EQ(FeedText("$PKVTQ,DML,SET1*7E0\r"), SentenceFramer::kLineReady);
    // One digit is its own value: "$A*" sums to 0x41, so "*1" fails, "*41" passes.
    EXPECT_EQ(FeedText("$A*1\r"), SentenceFramer::kLineReady);
    EXPECT_EQ(FeedText("$A*41\r"), SentenceFramer::kSentenceReady);
    // A star with no digits is a checksum of 0; no star at all is taken unchecked.
    EXPECT_EQ(FeedText("$AA*\r"), SentenceFramer::kSentenceReady);
    EXPECT_EQ(FeedText("$PKVTS,TXT\r"), SentenceFramer::kSentenceReady);
}

TEST_F(FramerTest, NonHexAfterStarMakesTheWholeLineRaw) {
    EXPECT_EQ(FeedText("$GPGGA,1*4G\r"), SentenceFramer::kLineReady);
    EXPECT_EQ(framer_.RawLine(), "$GPGGA,1*4G");
    // A "$" after the star does not start a new sentence on that line.
    EXPECT_EQ(FeedText(WithChecksum("$GPGGA,1*$GPVTG") + "\r"), SentenceFramer::kLineReady);
}

// --- Line ends ----------------------------------------------------------------

TEST_F(FramerTest, NulEndsALineLikeCarriageReturn) {
    EXPECT_EQ(FeedText(std::string("$PKVTS,TXT\0", 11)), SentenceFramer::kSentenceReady);
    EXPECT_EQ(FeedText(std::string("hello\0", 6)), SentenceFramer::kLineReady);
    EXPECT_EQ(framer_.RawLine(), "hello");
    // Unlike CR and LF, a NUL is noise on the line: the line it ends counts as garbage.
    EXPECT_EQ(framer_.GarbageCount(), 1u);
    EXPECT_EQ(FeedText("plain\n"), SentenceFramer::kLineReady);
    EXPECT_EQ(framer_.RawLine(), "plain");
}

TEST_F(FramerTest, EmptyLinesAndDoubledLineEndsReportNothing) {
    const auto states = FeedAll(std::string("\r\n\r\r\n\0", 6));
    for (uint8_t s : states) EXPECT_EQ(s, SentenceFramer::kIdle);
    // CR CR LF after a sentence: reported once.
    const auto after = FeedAll(WithChecksum("$GPGGA,1") + "\r\r\n");
    EXPECT_EQ(std::count(after.begin(), after.end(), SentenceFramer::kSentenceReady), 1);
    EXPECT_EQ(std::count(after.begin(), after.end(), SentenceFramer::kLineReady), 0);
}

// --- Display characters and garbage --------------------------------------------

TEST_F(FramerTest, UnprintableBytesShowAsDotsAndMarkGarbageTheDegreeSignDoesNot) {
    ASSERT_EQ(FeedText("a\x01"
                       "b\x1f\t\x7f\xc8"
                       "c\r"),
              SentenceFramer::kLineReady);
    EXPECT_EQ(framer_.RawLine(), "a.b....c");
    EXPECT_EQ(framer_.GarbageCount(), 1u);
    EXPECT_EQ(framer_.LineCount(), 1u);

    const std::string line = std::string("12") + static_cast<char>(kDegreeSign) + "C ~";
    ASSERT_EQ(FeedText(line + "\r"), SentenceFramer::kLineReady);
    EXPECT_EQ(framer_.RawLine(), line);
    EXPECT_EQ(framer_.GarbageCount(), 0u);
}

TEST_F(FramerTest, GarbageCountsConsecutiveDirtyLinesUntilCleanLineOrSentence) {
    for (uint32_t i = 1; i <= 6; ++i) {
        ASSERT_EQ(FeedText("\x80\x81\x82\r"), SentenceFramer::kLineReady);
        ASSERT_EQ(framer_.Feed('\n', now_), SentenceFramer::kIdle);
        EXPECT_EQ(framer_.GarbageCount(), i);
        EXPECT_EQ(framer_.LineCount(), i);
    }
    FeedText("clean\r\n");
    EXPECT_EQ(framer_.GarbageCount(), 0u);
    EXPECT_EQ(framer_.LineCount(), 7u) << "a clean line still counts as a line";

    FeedText("\x90\r\n");
    EXPECT_EQ(framer_.GarbageCount(), 1u);
    ASSERT_EQ(FeedText("$PKVTS,TXT\r"), SentenceFramer::kSentenceReady);
    EXPECT_EQ(framer_.GarbageCount(), 0u);
    EXPECT_EQ(framer_.LineCount(), 0u);
}

TEST_F(FramerTest, UnprintableThatOpensALineOrBreaksAChecksumStillCounts) {
    // First byte after a reported line: the reset it causes must not forget it.
    FeedText("first\r");
    ASSERT_EQ(FeedText("\x01rest\r"), SentenceFramer::kLineReady);
    EXPECT_EQ(framer_.GarbageCount(), 1u);

    FeedText("$PKVTS,TXT\r");
    ASSERT_EQ(FeedText("$GPGGA,1*\x02\r"), SentenceFramer::kLineReady);
    EXPECT_EQ(framer_.RawLine(), "$GPGGA,1*.");
    EXPECT_EQ(framer_.GarbageCount(), 1u);
}

TEST_F(FramerTest, DollarForgetsUnprintableBytesBeforeIt) {
    // Noise before a sentence start is forgiven; the line then fails its
    // checksum and is reported, but not as garbage.
    ASSERT_EQ(FeedText("\x01\x02$GPGGA,1*00\r"), SentenceFramer::kLineReady);
    EXPECT_EQ(framer_.RawLine(), "..$GPGGA,1*00");
    EXPECT_EQ(framer_.GarbageCount(), 0u);
}

// --- Limits -------------------------------------------------------------------

TEST_F(FramerTest, OverlongLineIsCutTo599Characters) {
    const std::string line(700, 'x');
    const auto states = FeedAll(line + "\r\n");
    EXPECT_EQ(std::count(states.begin(), states.end(), SentenceFramer::kLineReady), 1);
    EXPECT_EQ(framer_.Feed('\r', now_), SentenceFramer::kIdle);
    FeedText(line + "\r");
    EXPECT_EQ(framer_.RawLine(), std::string(SentenceFramer::kRawLimit, 'x'));
    EXPECT_EQ(Copied().size(), SentenceFramer::kRawLimit);
}

TEST_F(FramerTest, OverlongBodyWithChecksumFailsAndSurfacesRaw) {
    // The sender's checksum covers every character, the framer sums only what it
    // keeps. 701 "y": the sums differ. 700 "y": the 108 dropped ones cancel out
    // and the sums agree by chance, yet the sentence is cut and must fail.
    for (size_t run : {701u, 700u}) {
        const std::string text = WithChecksum("$PKVTX," + std::string(run, 'y'));
        ASSERT_EQ(FeedText(text + "\r"), SentenceFramer::kLineReady) << run;
        EXPECT_EQ(framer_.RawLine(), text.substr(0, SentenceFramer::kRawLimit));
    }
}

TEST_F(FramerTest, BodyThatJustFitsWithChecksumPasses) {
    // 598 characters fill the body; only the separator before "*" finds no room.
    const std::string text = WithChecksum("$" + std::string(SentenceFramer::kBodyLimit, 'z'));
    ASSERT_EQ(FeedText(text + "\r"), SentenceFramer::kSentenceReady);
    EXPECT_EQ(framer_.Field(0), std::string(SentenceFramer::kBodyLimit, 'z'));
    EXPECT_EQ(
        FeedText(WithChecksum("$" + std::string(SentenceFramer::kBodyLimit - 2, 'z') + ",,,,,") +
                 "\r"),
        SentenceFramer::kSentenceReady)
        << "separators without room lose nothing";
}

TEST_F(FramerTest, OverlongBodyWithoutChecksumKeepsWhatFits) {
    ASSERT_EQ(FeedText("$PKVTX," + std::string(700, 'y') + ",tail\r"),
              SentenceFramer::kSentenceReady);
    EXPECT_EQ(framer_.FieldCount(), 3);
    EXPECT_EQ(framer_.Field(0), "PKVTX");
    EXPECT_EQ(framer_.Field(1), std::string(SentenceFramer::kBodyLimit - 6, 'y'));
    EXPECT_TRUE(framer_.FieldPresent(2));
    EXPECT_EQ(framer_.Field(2), "") << "the field past the limit is dropped, not misread";
    EXPECT_EQ(Copied(), "$PKVTX," + std::string(SentenceFramer::kBodyLimit - 6, 'y'));
}

// --- Sentence starts ---------------------------------------------------------

TEST_F(FramerTest, TextBeforeDollarOnTheSameLineIsDiscarded) {
    ASSERT_EQ(FeedText("noise $PKVTS,TXT,0,HELLO\r"), SentenceFramer::kSentenceReady);
    EXPECT_EQ(Copied(), "$PKVTS,TXT,0,HELLO");
    EXPECT_EQ(FeedText("next\r"), SentenceFramer::kLineReady);
    EXPECT_EQ(framer_.RawLine(), "next") << "the discarded text must not leak into the next line";
}

TEST_F(FramerTest, DollarInsideABodyIsAnOrdinaryCharacter) {
    ASSERT_EQ(FeedText(WithChecksum("$GPGGA,1$GPVTG,2") + "\r"), SentenceFramer::kSentenceReady);
    EXPECT_EQ(framer_.FieldCount(), 3);
    EXPECT_EQ(framer_.Field(0), "GPGGA");
    EXPECT_EQ(framer_.Field(1), "1$GPVTG");
    EXPECT_EQ(framer_.Field(2), "2");
}

// --- Fields ---------------------------------------------------------------------

TEST_F(FramerTest, CopyOutKeepsEmptyFieldsAndDropsChecksum) {
    ASSERT_EQ(FeedText(WithChecksum("$GPVTG,,T,,M") + "\r"), SentenceFramer::kSentenceReady);
    EXPECT_EQ(Copied(), "$GPVTG,,T,,M");
    EXPECT_EQ(framer_.FieldCount(), 5);
    EXPECT_EQ(framer_.Field(3), "");
    EXPECT_EQ(framer_.Field(4), "M");
    // A trailing empty field too.
    ASSERT_EQ(FeedText(WithChecksum("$GPGSV,3,3,") + "\r"), SentenceFramer::kSentenceReady);
    EXPECT_EQ(framer_.FieldCount(), 4);
    EXPECT_EQ(Copied(), "$GPGSV,3,3,");
}

TEST_F(FramerTest, FieldsBeyondTheThirdInAnyOrder) {
    ASSERT_EQ(FeedText(WithChecksum("$F0,F1,F2,F3,F4,,F6,F7") + "\r"),
              SentenceFramer::kSentenceReady);
    ASSERT_EQ(framer_.FieldCount(), 8);
    EXPECT_EQ(framer_.Field(3), "F3");
    EXPECT_EQ(framer_.Field(7), "F7");
    EXPECT_EQ(framer_.Field(4), "F4") << "backwards after a scan";
    EXPECT_EQ(framer_.Field(7), "F7");
    EXPECT_EQ(framer_.Field(7), "F7") << "repeated from the cache";
    EXPECT_EQ(framer_.Field(6), "F6");
    EXPECT_EQ(framer_.Field(2), "F2");

    // Absent and empty read alike; only FieldPresent tells them apart.
    EXPECT_EQ(framer_.Field(5), "");
    EXPECT_TRUE(framer_.FieldPresent(5));
    EXPECT_EQ(framer_.Field(8), "");
    EXPECT_FALSE(framer_.FieldPresent(8));
    EXPECT_EQ(framer_.FieldLength(200), 0u);
    EXPECT_TRUE(framer_.FieldIs(5, ""));
    EXPECT_FALSE(framer_.FieldIs(8, ""));
}

TEST_F(FramerTest, CachedFieldDoesNotLeakIntoTheNextSentence) {
    ASSERT_EQ(FeedText("$A,B,C,D,E,F\r"), SentenceFramer::kSentenceReady);
    EXPECT_EQ(framer_.Field(5), "F");
    ASSERT_EQ(FeedText("$G,H,I,J,KK,LL\r"), SentenceFramer::kSentenceReady);
    EXPECT_EQ(framer_.Field(5), "LL");
    EXPECT_EQ(framer_.Field(4), "KK");
}

TEST_F(FramerTest, FieldCountSaturatesWithoutLosingTheFirstFields) {
    // 300 fields: a count that wrapped would move the starts of fields 1 and 2.
    std::string text = "$PKVTX,one,two";
    for (int i = 3; i < 300; ++i)
        text += (i == 3 || i == 254 || i == 299) ? "," + std::to_string(i) : ",";
    ASSERT_LE(text.size(), SentenceFramer::kBodyLimit + 1u);
    ASSERT_EQ(FeedText(WithChecksum(text) + "\r"), SentenceFramer::kSentenceReady);
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
    ASSERT_EQ(FeedText(WithChecksum(text) + "\r"), SentenceFramer::kSentenceReady);
    EXPECT_EQ(framer_.FieldCount(), 5);
    EXPECT_EQ(framer_.Field(1),
              "a\xff"
              "b");
    EXPECT_EQ(framer_.Field(3), "d\xff");
    EXPECT_EQ(framer_.Field(4), "e");
    EXPECT_EQ(Copied(), text);
}

TEST_F(FramerTest, DecimalFieldsWrapInTheirWidth) {
    ASSERT_EQ(FeedText("$N,-5,40000,-,12ab,,99999999999,-2147483648,-0x7\r"),
              SentenceFramer::kSentenceReady);
    EXPECT_EQ(framer_.FieldInt16(1), -5);
    EXPECT_EQ(framer_.FieldInt32(1), -5);
    EXPECT_EQ(framer_.FieldInt16(2), static_cast<int16_t>(40000 - 65536));
    EXPECT_EQ(framer_.FieldInt32(2), 40000);
    EXPECT_EQ(framer_.FieldInt16(3), 0) << "a lone minus";
    EXPECT_EQ(framer_.FieldInt32(4), 12) << "digits up to the first non-digit";
    EXPECT_EQ(framer_.FieldInt16(5), 0) << "empty";
    EXPECT_EQ(framer_.FieldInt32(6), static_cast<int32_t>(99999999999LL & 0xFFFFFFFF));
    EXPECT_EQ(framer_.FieldInt32(7), INT32_MIN);
    EXPECT_EQ(framer_.FieldInt16(8), 0);
    EXPECT_EQ(framer_.FieldInt16(9), 0) << "absent";
    EXPECT_EQ(framer_.FieldInt32(200), 0) << "absent";
}

TEST_F(FramerTest, NoFieldsAreReadableOutsideASentence) {
    FeedText("$GPGGA,1,2");
    EXPECT_EQ(framer_.FieldCount(), 0);
    EXPECT_EQ(framer_.Field(0), "");
    EXPECT_EQ(framer_.FieldInt32(1), 0);
    EXPECT_EQ(Copied(), "");
}

// --- Timing -------------------------------------------------------------------

TEST_F(FramerTest, LastByteTimeFollowsUnfinishedLines) {
    framer_.Feed('a', 5000);
    EXPECT_EQ(framer_.LastByteTime(), 5000u);
    framer_.Feed('b', 5100);
    EXPECT_EQ(framer_.LastByteTime(), 5100u);
    framer_.Feed('$', 5200);
    framer_.Feed('X', 5200);
    EXPECT_EQ(framer_.LastByteTime(), 5200u);
    ASSERT_EQ(framer_.Feed('\r', 5300), SentenceFramer::kSentenceReady);
    EXPECT_EQ(framer_.LastByteTime(), 5200u) << "a finished sentence does not touch it";
    framer_.Feed('z', 5400);
    EXPECT_EQ(framer_.LastByteTime(), 5400u);
    EXPECT_EQ(framer_.RawLine(), "z");
}

// --- ParseText ------------------------------------------------------------------

TEST_F(FramerTest, ParseTextReportsSentenceLineOrNothing) {
    EXPECT_EQ(framer_.ParseText("$PKVTS,TXT,0,HELLO"), SentenceFramer::kSentenceReady);
    EXPECT_EQ(framer_.Field(3), "HELLO");
    EXPECT_EQ(framer_.ParseText(WithChecksum("$GPGGA,1")), SentenceFramer::kSentenceReady);
    EXPECT_EQ(framer_.ParseText("$GPGGA,1*00"), SentenceFramer::kLineReady);
    EXPECT_EQ(framer_.RawLine(), "$GPGGA,1*00");
    EXPECT_EQ(framer_.ParseText("just text"), SentenceFramer::kLineReady);
    EXPECT_EQ(framer_.ParseText(""), SentenceFramer::kIdle);
    EXPECT_EQ(framer_.ParseText("\r\n"), SentenceFramer::kIdle);

    FeedText("left over $GPG");
    EXPECT_EQ(framer_.ParseText("A,1"), SentenceFramer::kLineReady) << "starts fresh";
    EXPECT_EQ(framer_.RawLine(), "A,1");
}

TEST_F(FramerTest, ParseTextStopsAtAnEmbeddedNul) {
    EXPECT_EQ(framer_.ParseText(std::string("abc\0def", 7)), SentenceFramer::kLineReady);
    EXPECT_EQ(framer_.RawLine(), "abc");
    EXPECT_EQ(framer_.ParseText(std::string("$PKVTS,A\0,B", 11)), SentenceFramer::kSentenceReady);
    EXPECT_EQ(Copied(), "$PKVTS,A");
    EXPECT_EQ(framer_.ParseText(std::string("\0abc", 4)), SentenceFramer::kIdle);
}

}  // namespace

}  // namespace zelsim
