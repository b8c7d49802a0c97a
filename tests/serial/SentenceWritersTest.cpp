#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "serial/MemorySerialDevice.h"
#include "serial/PortMap.h"
#include "serial/SentenceFramer.h"
#include "serial/SentenceWriters.h"
#include "serial/SerialDevice.h"
#include "serial/SerialPort.h"

namespace zelsim {

namespace {

class WritersTest : public ::testing::Test {
  protected:
    void SetUp() override {
        portMap_.SetExplicit(1, "/dev/ttyTEST1");
        ASSERT_TRUE(port_.Open(1, 115200));
    }

    std::string Sent() { return line_->TakeWritten(); }

    std::shared_ptr<MemorySerialDevice> line_ = std::make_shared<MemorySerialDevice>();
    PortMap portMap_;
    SerialPort port_{MemorySerialDevice::Plug(line_), portMap_};
};

TEST_F(WritersTest, SentenceWithoutStarGetsUpperCaseChecksumAndLineEnd) {
    WriteSentence(port_, "$PKVTQ,DML,SET1");
    EXPECT_EQ(Sent(), "$PKVTQ,DML,SET1*7E\r\n");
    WriteSentence(port_, "$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W");
    EXPECT_EQ(Sent(), "$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A\r\n");
    WriteSentence(port_, "$AB");  // sums below 16: the leading zero stays
    EXPECT_EQ(Sent(), "$AB*03\r\n");
}

TEST_F(WritersTest, WhatTheWriterSendsTheFramerAccepts) {
    SentenceFramer framer;
    for (const char* text : {"$PKVTS,TXT,0,HELLO", "$PKVTQ,DML,DID_REQUEST", "$GPVTG,,T,,M", "$"}) {
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
    WriteSentence(port_, "$A*");
    EXPECT_EQ(Sent(), "$A*\r\n");
}

TEST_F(WritersTest, TextWithoutDollarGetsOnlyLineEnd) {
    WriteSentence(port_, "PKVTQ,DML,SET1");
    EXPECT_EQ(Sent(), "PKVTQ,DML,SET1\r\n");
    WriteSentence(port_, " $leading space");
    EXPECT_EQ(Sent(), " $leading space\r\n");
    WriteSentence(port_, "");
    EXPECT_EQ(Sent(), "\r\n");
}

TEST_F(WritersTest, ControlAndHighBytesEndTheText) {
    // The checksum covers only what was sent.
    WriteSentence(port_,
                  "$AB\x01"
                  "CD");
    EXPECT_EQ(Sent(), "$AB*03\r\n");
    WriteSentence(port_, "$AB\r\nCD");
    EXPECT_EQ(Sent(), "$AB*03\r\n");
    WriteSentence(port_, "$AB\x80*00");
    EXPECT_EQ(Sent(), "$AB*03\r\n") << "a star past the cut does not count as typed";
    WriteSentence(port_,
                  "ab\x7f"
                  "c\xb0"
                  "d");
    EXPECT_EQ(Sent(),
              "ab\x7f"
              "c\r\n")
        << "127 is still sent, 176 is not";
    WriteSentence(port_, std::string("$AB\0CD", 6));
    EXPECT_EQ(Sent(), "$AB*03\r\n");
}

TEST_F(WritersTest, RawWritersAddNothingOrOnlyTheLineEnd) {
    WriteRaw(port_, "$PKVTQ,DML,SET1");
    EXPECT_EQ(Sent(), "$PKVTQ,DML,SET1");
    WriteRaw(port_, "line\r\nnext");
    EXPECT_EQ(Sent(), "line");
    WriteRawLine(port_, "$PKVTQ,DML,SET1");
    EXPECT_EQ(Sent(), "$PKVTQ,DML,SET1\r\n");
    WriteRawLine(port_, "ab\tcd");
    EXPECT_EQ(Sent(), "ab\r\n");
    WriteRaw(port_, "");
    EXPECT_EQ(Sent(), "");
}

// The far end sees every byte as its own write, as the line's receivers expect.
class CountingDevice final : public SerialDevice {
  public:
    explicit CountingDevice(std::vector<size_t>& writeSizes) : writeSizes_(writeSizes) {}
    bool Open(const std::string&) override { return true; }
    void Close() override {}
    bool IsOpen() const override { return true; }
    ConfigResult Configure(uint32_t) override { return {}; }
    long Read(uint8_t*, size_t) override { return 0; }
    long Write(const uint8_t*, size_t count) override {
        writeSizes_.push_back(count);
        return static_cast<long>(count);
    }
    void Purge() override {}
    void ClearErrors() override {}
    bool SetRts(bool) override { return true; }
    bool HasFailed() const override { return false; }

  private:
    std::vector<size_t>& writeSizes_;
};

TEST(WritersByteTest, EveryByteIsItsOwnWrite) {
    std::vector<size_t> writeSizes;
    PortMap portMap;
    SerialPort port(std::make_unique<CountingDevice>(writeSizes), portMap);
    WriteSentence(port, "$PKVTQ,DML,SET1");
    WriteSentence(port, "plain");
    WriteRawLine(port, "raw");
    WriteRaw(port, "x");
    ASSERT_EQ(writeSizes.size(), std::string("$PKVTQ,DML,SET1*7E\r\nplain\r\nraw\r\nx").size());
    for (size_t size : writeSizes) EXPECT_EQ(size, 1u);
}

}  // namespace

}  // namespace zelsim
