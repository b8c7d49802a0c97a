#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
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

    std::shared_ptr<MemorySerialDevice> line_ = std::make_shared<MemorySerialDevice>();
    PortMap portMap_;
    SerialPort port_{MemorySerialDevice::Plug(line_), portMap_};
};

TEST_F(WritersTest, EachWriterSendsTheSendablePrefixFramedByItsKind) {
    using Writer = void (*)(SerialPort&, std::string_view);
    const struct {
        Writer write;
        std::string text;
        std::string sent;
    } cases[] = {
        {WriteSentence, "$PKVTQ,DML,SET1", "$PKVTQ,DML,SET1*7E\r\n"},
        {WriteSentence, "$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W",
         "$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A\r\n"},
        {WriteSentence, "$AB", "$AB*03\r\n"},               // sums below 16: the leading zero stays
        {WriteSentence, "$GPGGA,1*00", "$GPGGA,1*00\r\n"},  // a typed checksum is sent as typed
        {WriteSentence, "$A*", "$A*\r\n"},
        {WriteSentence, "PKVTQ,DML,SET1", "PKVTQ,DML,SET1\r\n"},  // no dollar: only the line end
        {WriteSentence, " $leading space", " $leading space\r\n"},
        {WriteSentence, "", "\r\n"},
        // Control and high bytes end the text; the checksum covers only what was sent.
        {WriteSentence, "$AB\x01zz", "$AB*03\r\n"},
        {WriteSentence, "$AB\r\nCD", "$AB*03\r\n"},
        {WriteSentence, std::string("$AB\0CD", 6), "$AB*03\r\n"},
        {WriteSentence, "$AB\x80*00", "$AB*03\r\n"},     // a star past the cut is not typed
        {WriteSentence, "ab\x7fz\xb0z", "ab\x7fz\r\n"},  // 127 is still sent, 176 is not
        {WriteRaw, "$PKVTQ,DML,SET1", "$PKVTQ,DML,SET1"},
        {WriteRaw, "line\r\nnext", "line"},
        {WriteRaw, "", ""},
        {WriteRawLine, "$PKVTQ,DML,SET1", "$PKVTQ,DML,SET1\r\n"},
        {WriteRawLine, "ab\tcd", "ab\r\n"},
    };
    for (const auto& c : cases) {
        c.write(port_, c.text);
        EXPECT_EQ(line_->TakeWritten(), c.sent) << c.text;
    }
}

TEST_F(WritersTest, WhatTheWriterSendsTheFramerAccepts) {
    SentenceFramer framer;
    char out[SentenceFramer::kBufferSize + 1];
    size_t length = 0;
    for (const char* text : {"$PKVTS,TXT,0,HELLO", "$PKVTQ,DML,DID_REQUEST", "$GPVTG,,T,,M", "$"}) {
        WriteSentence(port_, text);
        const std::string sent = line_->TakeWritten();
        ASSERT_EQ(framer.ParseText(sent.substr(0, sent.size() - 2)), SentenceFramer::kSentenceReady)
            << sent;
        framer.CopyOut(out, length);
        EXPECT_EQ(std::string(out, length), text);
    }
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
