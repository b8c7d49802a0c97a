#pragma once
#include <cstdint>
#include <string_view>

namespace zelsim {

// Turns received bytes into NMEA sentences and raw lines, one byte at a time,
// without allocating. A sentence's fields stay readable in place until the
// next byte is fed. The caller passes each byte's arrival tick: a whole read
// arrives at one tick, and reading the clock per byte would cost several
// times the framing itself.
class SentenceFramer {
  public:
    enum State : uint8_t {
        kIdle = 0,
        kInBody = 1,
        kInChecksum = 2,
        kSentenceReady = 3,
        kLineReady = 4,
    };

    static constexpr uint16_t kBodyLimit = 598;
    static constexpr uint16_t kRawLimit = 599;
    static constexpr uint16_t kBufferSize = 600;
    static constexpr uint8_t kEndMarker = 255;

    SentenceFramer();

    void ResetSentence();
    void ResetLine(uint32_t now);
    uint8_t Feed(uint8_t byte, uint32_t now);
    // Parses a finished text again: both parts reset, its characters and a
    // terminating NUL fed. Returns kSentenceReady, kLineReady, or kIdle when
    // it gives neither.
    uint8_t ParseText(std::string_view text);

    uint8_t State() const { return state_; }
    uint8_t FieldCount() const;
    // Empty view when absent (not a sentence, or index beyond the count);
    // use FieldPresent to tell an absent field from an empty one.
    std::string_view Field(uint8_t index);
    bool FieldPresent(uint8_t index) const;
    size_t FieldLength(uint8_t index) { return Field(index).size(); }
    int16_t FieldInt16(uint8_t index);
    int32_t FieldInt32(uint8_t index);
    // Field `index` equals `text` exactly (and is present).
    bool FieldIs(uint8_t index, std::string_view text) {
        return FieldPresent(index) && Field(index) == text;
    }

    // kSentenceReady: "$" and the fields joined by ",", no checksum.
    // kLineReady: the raw line. Writes a terminating NUL; `out` holds at least kBufferSize + 1.
    // Returns the state; `length` receives the text's length.
    uint8_t CopyOut(char* out, size_t& length);

    std::string_view RawLine() const { return {reinterpret_cast<const char*>(raw_), rawLength_}; }
    uint32_t LineCount() const { return lineCount_; }
    uint32_t GarbageCount() const { return garbageCount_; }
    uint32_t LastByteTime() const { return lastByteTime_; }

  private:
    static bool IsLineEnd(uint8_t b) { return b == '\r' || b == '\n' || b == 0; }
    uint16_t FieldStart(uint8_t index);
    void EndSentence();
    void CountGarbage();

    uint8_t state_ = kIdle;
    uint8_t fieldCount_ = 0;
    bool hasChecksum_ = false;
    bool charactersDropped_ = false;  // the body was full when a character came
    bool commaDropped_ = false;       // ... or a comma
    bool endDropped_ = false;         // ... or the "*" or line end after the last field
    bool unprintableSeen_ = false;    // in the line so far, sentence or not
    uint8_t computedChecksum_ = 0;
    uint8_t receivedChecksum_ = 0;
    uint16_t field1Start_ = 0;
    uint16_t field2Start_ = 0;
    uint8_t cachedFieldIndex_ = 0;
    uint16_t cachedFieldStart_ = 0;
    uint16_t bodyLength_ = 0;
    uint8_t body_[kBufferSize] = {};
    uint32_t lastByteTime_ = 0;
    uint32_t lineCount_ = 0;
    uint32_t garbageCount_ = 0;
    uint16_t rawLength_ = 0;
    uint8_t raw_[kBufferSize] = {};
};

}  // namespace zelsim
