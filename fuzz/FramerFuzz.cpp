// Whatever arrives on the line is framed, classified and shown the way the
// main cycle does it, and every report is held to what the rest of the
// program takes for granted. The input's last byte chooses how the line is
// read and which columns the monitor shows, so a plain capture is a seed as
// it stands.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzCheck.h"
#include "SilentDialogs.h"
#include "app/MainCycle.h"
#include "base/ControlTable.h"
#include "base/Text.h"
#include "monitor/MessageCategory.h"
#include "monitor/MessageClassifier.h"
#include "monitor/MessageMonitor.h"
#include "serial/SentenceFramer.h"

namespace zelsim {

namespace {

// Bytes one 10 ms cycle reads: one at a time as on a trickling line, at
// 38,400 and 115,200 baud, and a whole receive buffer after a stall.
constexpr size_t kReadSizes[] = {1, 38, 115, MainCycle::kReceiveBufferSize - 1};
constexpr uint32_t kCycleMs = 10;
// Close to the wrap of the 32-bit tick, which the tick column must survive.
constexpr uint32_t kStartTick = 0xFFFFF000u;

std::tm FixedTime() {
    std::tm t{};
    t.tm_hour = 23;
    t.tm_min = 59;
    t.tm_sec = 59;
    return t;
}

bool IsSeparator(char c) {
    return c == ',' || c == '*' || c == '\r' || c == '\n' || c == '\0';
}

bool Drawable(char c) {
    const auto u = static_cast<unsigned char>(c);
    return IsPrintable(u) || u == kDegree;
}

class LineUnderTest {
  public:
    LineUnderTest(bool timeShown, bool tickShown) : monitor_(controls_, dialogs_, FixedTime) {
        monitor_.SetOption(&MonitorOptions::msgMonTime, timeShown);
        monitor_.SetOption(&MonitorOptions::msgMonTickCount, tickShown);
    }

    void Feed(uint8_t byte, uint32_t now) {
        const uint8_t state = framer_.Feed(byte, now);
        Require(state == framer_.State(), "Feed returns the state it leaves");
        if (state == SentenceFramer::kLineReady)
            OnReport(now, false);
        else if (state == SentenceFramer::kSentenceReady)
            OnReport(now, true);
    }

    void CheckEveryRow() const {
        Require(monitor_.LineCount() <= MessageMonitor::kCapacity, "the monitor overflows");
        for (int i = 0; i < monitor_.LineCount(); ++i) CheckRow(monitor_.Line(i));
    }

  private:
    void OnReport(uint32_t now, bool sentence) {
        // MainCycle's buffer, exactly as large, so that the sanitizer sees a
        // byte written past it.
        std::vector<char> buffer(MainCycle::kLineBufferSize);
        size_t length = 0;
        const uint8_t copied = framer_.CopyOut(buffer.data(), length);
        Require(copied == framer_.State(), "CopyOut returns the state");
        Require(length < buffer.size(), "a copied text leaves room for its NUL");
        Require(buffer[length] == '\0', "a copied text is terminated");
        Require(std::memchr(buffer.data(), 0, length) == nullptr,
                "a copied text holds no NUL before its end");
        const std::string_view text(buffer.data(), length);

        const MessageCategory::Code category = MessageClassifier::Classify(framer_);
        if (sentence) {
            Require(category >= MessageCategory::kZel && category <= MessageCategory::kShort &&
                        category != MessageCategory::kNonNmea,
                    "a sentence is classified as a sentence");
            CheckFields(text);
            CheckReparse(text, category);
        } else {
            Require(category == MessageCategory::kNonNmea, "a raw line is Non-NMEA");
            Require(text == framer_.RawLine(), "a raw line is copied as it was kept");
            for (char c : text) Require(Drawable(c), "a raw line keeps no unprintable byte");
        }

        // MainCycle withholds every line of a burst of noise after the fourth.
        if (framer_.GarbageCount() > MainCycle::kGarbageLinesShown) return;
        const uint64_t appended = monitor_.AppendCount();
        monitor_.ShowLine(text, category, now);
        Require(monitor_.LineCount() <= MessageMonitor::kCapacity, "the monitor overflows");
        if (monitor_.AppendCount() != appended) CheckRow(monitor_.Line(monitor_.LineCount() - 1));
    }

    // Every field by index, in both directions, since the framer caches the
    // place of the last field it found.
    void CheckFields(std::string_view text) {
        const uint8_t count = framer_.FieldCount();
        Require(count >= 1, "a sentence has a first field");
        Require(!text.empty() && text.front() == '$', "a rebuilt sentence starts with $");
        std::vector<std::string_view> fields;
        std::string joined = "$";
        for (int i = 0; i < count; ++i) {
            const auto index = static_cast<uint8_t>(i);
            const std::string_view field = framer_.Field(index);
            Require(framer_.FieldPresent(index), "a field below the count is present");
            for (char c : field) Require(!IsSeparator(c), "a field holds no separator");
            (void)framer_.FieldInt16(index);
            (void)framer_.FieldInt32(index);
            fields.push_back(field);
            if (i > 0) joined += ',';
            joined += field;
        }
        for (int i = count - 1; i >= 0; --i)
            Require(framer_.Field(static_cast<uint8_t>(i)) == fields[static_cast<size_t>(i)],
                    "a field reads the same in any order");
        for (int i = count; i <= 255; ++i) {
            const auto index = static_cast<uint8_t>(i);
            Require(!framer_.FieldPresent(index) && framer_.Field(index).empty() &&
                        framer_.FieldInt32(index) == 0,
                    "a field beyond the count is absent");
        }
        // The field count saturates, and a full body drops what comes after
        // it: only then may the rebuilt text and the fields part.
        if (count < 255 && text.size() < SentenceFramer::kBodyLimit)
            Require(text == joined, "a rebuilt sentence is its fields joined by commas");
    }

    void CheckReparse(std::string_view text, MessageCategory::Code category) {
        Require(reparser_.ParseText(text) == SentenceFramer::kSentenceReady,
                "a rebuilt sentence parses again as a sentence");
        Require(MessageClassifier::Classify(reparser_) == category,
                "a rebuilt sentence parses again to its category");
    }

    static void CheckRow(const std::string& row) {
        // The prefixes, and the text or the error line that replaces it.
        Require(row.size() <= 32 + MessageMonitor::kTextLimit, "a row is no longer than its text");
        for (char c : row) Require(Drawable(c), "a row holds a character it cannot draw");
    }

    SentenceFramer framer_;
    SentenceFramer reparser_;
    ControlTable controls_;
    SilentDialogs dialogs_;
    MessageMonitor monitor_;
};

void ReadLine(const uint8_t* data, size_t size) {
    if (size == 0) return;
    const uint8_t settings = data[size - 1];
    const size_t readSize = kReadSizes[settings & 3u];
    LineUnderTest line((settings & 4u) != 0, (settings & 8u) != 0);

    uint32_t now = kStartTick;
    const size_t length = size - 1;
    for (size_t start = 0; start < length; start += readSize) {
        now += kCycleMs;
        const size_t end = std::min(length, start + readSize);
        for (size_t i = start; i < end; ++i) line.Feed(data[i], now);
    }
    line.CheckEveryRow();
}

}  // namespace

}  // namespace zelsim

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    zelsim::ReadLine(data, size);
    return 0;
}
