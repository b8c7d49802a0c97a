#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "serial/PortMap.h"
#include "serial/SentenceFramer.h"
#include "serial/SentenceWriters.h"
#include "serial/SerialDevice.h"
#include "serial/SerialPort.h"
#include "support/FakeTickClock.h"

namespace {

// Records every write call separately, so a test can see how the bytes were split.
class RecordingDevice final : public SerialDevice {
  public:
    explicit RecordingDevice(std::vector<std::string>& writes) : writes_(writes) {}
    bool Open(const std::string&) override { return true; }
    void Close() override {}
    bool IsOpen() const override { return true; }
    ConfigResult Configure(uint32_t) override { return {}; }
    long Read(uint8_t*, size_t) override { return 0; }
    long Write(const uint8_t* bytes, size_t count) override {
        writes_.emplace_back(reinterpret_cast<const char*>(bytes), count);
        return static_cast<long>(count);
    }
    void Purge() override {}
    void ClearErrors() override {}
    bool SetRts(bool) override { return true; }
    bool HasFailed() const override { return false; }

  private:
    std::vector<std::string>& writes_;
};

class WritersTest : public ::testing::Test {
  protected:
    std::string Sent() const {
        std::string all;
        for (const auto& w : writes_) all += w;
        return all;
    }

    std::vector<std::string> writes_;
    PortMap portMap_;
    SerialPort port_{std::make_unique<RecordingDevice>(writes_), portMap_};
};

TEST_F(WritersTest, SentenceWithoutStarGetsUpperCaseChecksumAndLineEnd) {
    WriteSentence(port_, "$PKVTQ,DML,SET1");
    EXPECT_EQ(Sent(), "$PKVTQ,DML,SET1*7E\r\n");
    writes_.clear();
    WriteSentence(port_, "$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W");
    EXPECT_EQ(Sent(), "$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A\r\n");
    writes_.clear();
    WriteSentence(port_, "$AB");  // sums below 16: the leading zero stays
    EXPECT_EQ(Sent(), "$AB*03\r\n");
}

TEST_F(WritersTest, WhatTheWriterSendsTheFramerAccepts) {
    FakeTickClock clock;
    SentenceFramer framer(clock);
    for (const char* text : {"$PKVTS,TXT,0,HELLO", "$PKVTQ,DML,DID_REQUEST", "$GPVTG,,T,,M", "$"}) {
        writes_.clear();
        WriteSentence(port_, text);
        const std::string sent = Sent();
        ASSERT_EQ(framer.ParseText(sent.substr(0, sent.size() - 2)), SentenceFramer::kSentenceReady)
            << sent;
        char out[SentenceFramer::kBufferSize + 1];
        size_t length = 0;
        framer.CopyOut(out, length);
        EXPECT_EQ(std::string(out, length), text);
    }
}

TEST_F(WritersTest, TypedChecksumIsSentAsTyped) {
    WriteSentence(port_, "$GPGGA,1*00");
    EXPECT_EQ(Sent(), "$GPGGA,1*00\r\n");
    writes_.clear();
    WriteSentence(port_, "$A*");
    EXPECT_EQ(Sent(), "$A*\r\n");
}

TEST_F(WritersTest, TextWithoutDollarGetsOnlyLineEnd) {
    WriteSentence(port_, "PKVTQ,DML,SET1");
    EXPECT_EQ(Sent(), "PKVTQ,DML,SET1\r\n");
    writes_.clear();
    WriteSentence(port_, " $leading space");
    EXPECT_EQ(Sent(), " $leading space\r\n");
    writes_.clear();
    WriteSentence(port_, "");
    EXPECT_EQ(Sent(), "\r\n");
}

TEST_F(WritersTest, ControlAndHighBytesEndTheText) {
    // The checksum covers only what was sent.
    WriteSentence(port_,
                  "$AB\x01"
                  "CD");
    EXPECT_EQ(Sent(), "$AB*03\r\n");
    writes_.clear();
    WriteSentence(port_, "$AB\r\nCD");
    EXPECT_EQ(Sent(), "$AB*03\r\n");
    writes_.clear();
    WriteSentence(port_, "$AB\x80*00");
    EXPECT_EQ(Sent(), "$AB*03\r\n") << "a star past the cut does not count as typed";
    writes_.clear();
    WriteSentence(port_,
                  "ab\x7f"
                  "c\xb0"
                  "d");
    EXPECT_EQ(Sent(),
              "ab\x7f"
              "c\r\n")
        << "127 is still sent, 176 is not";
    writes_.clear();
    WriteSentence(port_, std::string("$AB\0CD", 6));
    EXPECT_EQ(Sent(), "$AB*03\r\n");
}

TEST_F(WritersTest, RawWritersAddNothingOrOnlyTheLineEnd) {
    WriteRaw(port_, "$PKVTQ,DML,SET1");
    EXPECT_EQ(Sent(), "$PKVTQ,DML,SET1");
    writes_.clear();
    WriteRaw(port_, "line\r\nnext");
    EXPECT_EQ(Sent(), "line");
    writes_.clear();
    WriteRawLine(port_, "$PKVTQ,DML,SET1");
    EXPECT_EQ(Sent(), "$PKVTQ,DML,SET1\r\n");
    writes_.clear();
    WriteRawLine(port_, "ab\tcd");
    EXPECT_EQ(Sent(), "ab\r\n");
    writes_.clear();
    WriteRaw(port_, "");
    EXPECT_TRUE(writes_.empty());
}

TEST_F(WritersTest, EveryByteIsItsOwnWrite) {
    WriteSentence(port_, "$PKVTQ,DML,SET1");
    WriteSentence(port_, "plain");
    WriteRawLine(port_, "raw");
    ASSERT_EQ(Sent(), "$PKVTQ,DML,SET1*7E\r\nplain\r\nraw\r\n");
    for (const auto& w : writes_) EXPECT_EQ(w.size(), 1u);
}

TEST_F(WritersTest, NothingIsWrittenToAClosedLine) {
    class ClosedDevice final : public SerialDevice {
      public:
        bool Open(const std::string&) override { return false; }
        void Close() override {}
        bool IsOpen() const override { return false; }
        ConfigResult Configure(uint32_t) override { return {}; }
        long Read(uint8_t*, size_t) override { return 0; }
        long Write(const uint8_t*, size_t) override {
            ADD_FAILURE() << "wrote to a closed device";
            return -1;
        }
        void Purge() override {}
        void ClearErrors() override {}
        bool SetRts(bool) override { return true; }
        bool HasFailed() const override { return false; }
    };
    SerialPort closed(std::make_unique<ClosedDevice>(), portMap_);
    WriteSentence(closed, "$PKVTQ,DML,SET1");
    WriteRawLine(closed, "text");
}

TEST(LogChecksumTest, SumsTheCharactersAfterTheLastDollar) {
    EXPECT_EQ(LogChecksum("$PKVTQ,DML,SET1"), "*7E");
    EXPECT_EQ(LogChecksum("$GPVTG,,T,,M"), "*4B");
    EXPECT_EQ(LogChecksum("noise $X$AB"), "*03");
    EXPECT_EQ(LogChecksum("$PKVTK,0"), "*4E");
    EXPECT_EQ(LogChecksum("$"), "*00");
    EXPECT_EQ(LogChecksum("AB"), "*03") << "without a dollar the whole text";
    EXPECT_EQ(LogChecksum(""), "*00");
}

}  // namespace
