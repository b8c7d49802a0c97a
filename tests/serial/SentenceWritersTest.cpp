#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "serial/MemorySerialDevice.h"
#include "serial/PortMap.h"
#include "serial/SentenceFramer.h"
#include "serial/SentenceWriters.h"
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
    using Writer = bool (*)(SerialPort&, std::string_view);
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

// Each line leaves in one write: a far end that reads between two system
// calls never sees one of our lines cut.
TEST_F(WritersTest, EveryLineIsOneWrite) {
    const int before = line_->WriteCount();
    EXPECT_TRUE(WriteSentence(port_, "$PKVTQ,DML,SET1"));
    EXPECT_TRUE(WriteSentence(port_, "plain"));
    EXPECT_TRUE(WriteRawLine(port_, "raw"));
    EXPECT_TRUE(WriteRaw(port_, "x"));
    EXPECT_EQ(line_->WriteCount() - before, 4);
    EXPECT_EQ(line_->TakeWritten(), "$PKVTQ,DML,SET1*7E\r\nplain\r\nraw\r\nx");
    port_.Close();
    EXPECT_FALSE(WriteSentence(port_, "$PKVTQ,DML,SET1")) << "a closed port sends nothing";
}

}  // namespace

}  // namespace zelsim
