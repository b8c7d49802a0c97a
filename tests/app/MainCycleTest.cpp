#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/MainCycle.h"
#include "base/NmeaChecksum.h"
#include "monitor/MessageCategory.h"
#include "serial/MemorySerialDevice.h"
#include "serial/PortMap.h"
#include "serial/SerialPort.h"
#include "support/ConfigText.h"
#include "support/FakeTickClock.h"
#include "support/WrongRate.h"

namespace zelsim {

namespace {

// Forwards to the in-memory line and lets a test run code inside a read, the
// way a message box opened by a handler pumps the timer inside a tick.
class ReentrantDevice final : public SerialDevice {
  public:
    ReentrantDevice(std::shared_ptr<MemorySerialDevice> line, std::function<void()>* duringRead)
        : line_(std::move(line)), duringRead_(duringRead) {}
    bool Open(const std::string& path) override { return line_->Open(path); }
    void Close() override { line_->Close(); }
    bool IsOpen() const override { return line_->IsOpen(); }
    ConfigResult Configure(uint32_t rate) override { return line_->Configure(rate); }
    long Read(uint8_t* buffer, size_t size) override {
        if (*duringRead_) (*duringRead_)();
        return line_->Read(buffer, size);
    }
    long Write(const uint8_t* bytes, size_t count) override { return line_->Write(bytes, count); }
    void Purge() override { line_->Purge(); }
    void ClearErrors() override { line_->ClearErrors(); }
    bool SetRts(bool raised) override { return line_->SetRts(raised); }
    bool HasFailed() const override { return line_->HasFailed(); }

  private:
    std::shared_ptr<MemorySerialDevice> line_;
    std::function<void()>* duringRead_;
};

// Writes down every call the cycle makes, into a log shared by all parts.
class RecordingPart : public CyclePart {
  public:
    RecordingPart(std::string name, std::vector<std::string>& log)
        : name_(std::move(name)), log_(log) {}
    void BeforeRead(uint32_t now) override { Note("before " + std::to_string(now)); }
    void LineShown(const TrafficLine& line) override {
        Note("line " + std::string(line.text) + " " + std::to_string(line.category) + " " +
             std::to_string(line.time));
    }
    void SentenceFramed(SentenceFramer& sentence, uint32_t) override {
        Note("sentence " + std::string(sentence.Field(0)));
    }
    void AfterRead(uint32_t now) override { Note("after " + std::to_string(now)); }
    void LoadSettings(ConfigFile&) override { Note("load"); }
    void SaveSettings(ConfigFile&) const override { log_.push_back(name_ + ": save"); }

  private:
    void Note(const std::string& what) { log_.push_back(name_ + ": " + what); }
    std::string name_;
    std::vector<std::string>& log_;
};

class MainCycleTest : public ::testing::Test {
  protected:
    MainCycleTest() {
        ports_.SetExplicit(1, "/dev/ttyTEST1");
        port_.Open(1, 38400);
    }

    std::vector<std::string> Lines() const {
        std::vector<std::string> lines;
        for (const std::string& entry : log_)
            if (entry.starts_with("a: line ")) lines.push_back(entry.substr(8));
        return lines;
    }

    FakeTickClock clock_{5000};
    PortMap ports_;
    std::shared_ptr<MemorySerialDevice> line_ = std::make_shared<MemorySerialDevice>();
    std::function<void()> duringRead_;
    SerialPort port_{std::make_unique<ReentrantDevice>(line_, &duringRead_), ports_};
    std::vector<std::string> log_;
    RecordingPart a_{"a", log_};
    RecordingPart b_{"b", log_};
    MainCycle mainCycle_{clock_, port_, {&a_, &b_}};
};

// Each step reaches every part in the list's order before the next step; a
// sentence is shown before it is handled.
TEST_F(MainCycleTest, EveryStepCallsThePartsInTheirOrder) {
    line_->Inject("$GPGGA,1*4B\r\nplain\r\n");
    clock_.Advance(10);
    mainCycle_.Tick();
    EXPECT_EQ(log_, (std::vector<std::string>{"a: before 5010", "b: before 5010",
                                              "a: line $GPGGA,1 3 5010", "b: line $GPGGA,1 3 5010",
                                              "a: sentence GPGGA", "b: sentence GPGGA",
                                              "a: line plain 7 5010", "b: line plain 7 5010",
                                              "a: after 5010", "b: after 5010"}));

    log_.clear();
    ConfigFile file("/nonexistent/ZelSim.ini");
    mainCycle_.LoadSettings(file);
    mainCycle_.SaveSettings(file);
    EXPECT_EQ(log_, (std::vector<std::string>{"a: load", "b: load", "a: save", "b: save"}));
}

TEST_F(MainCycleTest, ReenteredTickReturnsAtOnce) {
    line_->Inject("$GPGGA,1*4B\r\nplain line\r\n");
    int nested = 0;
    duringRead_ = [&] {
        duringRead_ = nullptr;
        ++nested;
        mainCycle_.Tick();  // a handler pumping messages inside the tick
    };
    mainCycle_.Tick();
    EXPECT_EQ(nested, 1);
    EXPECT_EQ(Lines(), (std::vector<std::string>{"$GPGGA,1 3 5000", "plain line 7 5000"}))
        << "each line framed once";
    EXPECT_EQ(line_->PendingInput(), 0u);
    EXPECT_FALSE(mainCycle_.CycleBusy());
}

TEST_F(MainCycleTest, FifthGarbageLineInARowIsWithheldUntilACleanLine) {
    for (int i = 0; i < 7; ++i) line_->Inject("\x01\x02noise\r\n");
    mainCycle_.Tick();
    EXPECT_EQ(Lines().size(), 4u);
    line_->Inject(
        "clean\r\n\x01"
        "again\r\n");
    mainCycle_.Tick();
    const std::vector<std::string> lines = Lines();
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[4], "clean 7 5000");
    EXPECT_EQ(lines[5], ".again 7 5000");
}

// The receiver's screen sentences carry glyph codes above 126 and a
// checksum that holds: every one is shown and handled, however many come.
TEST_F(MainCycleTest, SentencesWhoseChecksumHoldsAreNeverWithheldAsNoise) {
    for (int i = 0; i < 10; ++i) {
        const std::string body = "PKVTS,TXT,0,ROW" + std::to_string(i) + " \xE4";
        line_->Inject("$" + body + ChecksumSuffix(NmeaChecksum(body)) + "\r\n");
    }
    mainCycle_.Tick();
    const std::vector<std::string> lines = Lines();
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(lines[9], "$PKVTS,TXT,0,ROW9 \xE4 2 5000");
}

// The lines of `noise` that hold nothing unprintable, each of which may let
// four more through.
int CleanLines(std::string_view noise, int& lines) {
    int clean = 0;
    lines = 0;
    for (size_t start = 0; start <= noise.size();) {
        size_t end = noise.find_first_of(std::string_view("\r\n\0", 3), start);
        if (end == std::string_view::npos) end = noise.size();
        const std::string_view line = noise.substr(start, end - start);
        if (!line.empty()) {
            ++lines;
            clean += std::all_of(line.begin(), line.end(), [](char c) {
                return (c >= 32 && c <= 126) || static_cast<unsigned char>(c) == 176;
            });
        }
        start = end + 1;
    }
    return clean;
}

// Noise stays at four shown lines a burst, whether it frames as raw lines
// or as sentences: a device at 38,400 baud read at 9,600 and the other way
// round (its lines in bursts, the line idle between), and random bytes.
TEST_F(MainCycleTest, NoiseAtAWrongRateStaysQuiet) {
    std::string sent;
    uint32_t seed = 1;
    auto next = [&seed] { return seed = seed * 1103515245u + 12345u; };
    auto digit = [&] { return std::to_string(next() >> 28); };
    for (int i = 0; i < 300; ++i)
        sent += "$GPGGA,1235" + digit() + ",4807.0" + digit() + "8,N,01131.00" + digit() +
                ",E,1,08,0.9,545.4,M,46.9,M,,*47\r\n$PKVTR,DML,PLT2," + digit() + "." + digit() +
                ",0.15,181.5,A,R,ON,S,N,2,12.5,840,3,0,0,N,N*2A\r\n";
    std::string random;
    for (int i = 0; i < 20000; ++i) random += static_cast<char>(next() >> 24);

    for (const std::string& noise :
         {ReadAtWrongRate(sent, 38400, 9600, 20), ReadAtWrongRate(sent, 9600, 38400, 20), random}) {
        line_->Inject("a clean line before\r\n" + noise);
        log_.clear();
        while (line_->PendingInput() > 0) mainCycle_.Tick();
        int lines = 0;
        const int clean = CleanLines(noise, lines) + 1;
        const int shown = static_cast<int>(Lines().size());
        EXPECT_GT(lines, 200) << "the sample makes enough noise";
        EXPECT_LE(shown, clean + 4 * clean) << shown << " of " << lines << " lines shown";
    }
}

// Sent text is shown as out-going, panel traffic as such; the line's time
// is the send's.
TEST_F(MainCycleTest, SentTextIsFramedAndShownAsOutGoing) {
    clock_.Advance(3);
    mainCycle_.SendSentence("$PKVTQ,RID");
    mainCycle_.SendSentence("$PKVTK,3");
    mainCycle_.SendLine("plain");
    mainCycle_.SendLine("no end~");
    mainCycle_.SendLine("");
    EXPECT_EQ(line_->TakeWritten(), "$PKVTQ,RID*3B\r\n$PKVTK,3*4D\r\nplain\r\nno end\r\n");
    EXPECT_EQ(Lines(), (std::vector<std::string>{"$PKVTQ,RID 0 5003", "$PKVTK,3 1 5003",
                                                 "plain 0 5003", "no end~ 0 5003", " 0 5003"}));
    EXPECT_EQ(mainCycle_.LastLineTime(), 5003u);

    port_.Close();
    log_.clear();
    mainCycle_.SendSentence("$PKVTQ,DML,SET1");
    mainCycle_.SendLine("plain");
    EXPECT_EQ(line_->Written(), "");
    EXPECT_TRUE(log_.empty()) << "nothing is shown that did not go out";
}

}  // namespace

}  // namespace zelsim
