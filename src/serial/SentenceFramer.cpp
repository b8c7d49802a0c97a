#include "serial/SentenceFramer.h"

#include <cstring>
#include <limits>

#include "base/NmeaChecksum.h"
#include "base/Text.h"

namespace zelsim {

namespace {
constexpr uint32_t kCountMax = std::numeric_limits<uint32_t>::max();
constexpr uint8_t kFieldCountMax = std::numeric_limits<uint8_t>::max();

template <typename Int>
Int ParseDecimal(std::string_view text) {
    using U = std::make_unsigned_t<Int>;
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && text[i] == '-') {
        negative = true;
        ++i;
    }
    U value = 0;  // wraps in the target width, as the controller's firmware does
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = static_cast<U>(value * 10u + static_cast<U>(text[i] - '0'));
    if (negative) value = static_cast<U>(0u - value);
    return static_cast<Int>(value);
}
}  // namespace

SentenceFramer::SentenceFramer() {
    ResetSentence();
    ResetLine(0);
}

void SentenceFramer::ResetSentence() {
    state_ = kIdle;
    fieldCount_ = 0;
    hasChecksum_ = false;
    charactersDropped_ = false;
    commaDropped_ = false;
    endDropped_ = false;
    computedChecksum_ = 0;
    receivedChecksum_ = 0;
    field1Start_ = 0;
    field2Start_ = 0;
    cachedFieldIndex_ = 0;
    cachedFieldStart_ = 0;
    bodyLength_ = 0;
    body_[0] = kEndMarker;
}

void SentenceFramer::ResetLine(uint32_t now) {
    rawLength_ = 0;
    raw_[0] = 0;
    lastByteTime_ = now;
    unprintableSeen_ = false;
}

void SentenceFramer::EndSentence() {
    body_[bodyLength_] = kEndMarker;
    state_ = kSentenceReady;
    lineCount_ = 0;
    // A checksum that holds proves the sentence is what its sender meant,
    // glyph bytes and all: it is never noise, and it ends a burst of it.
    if (hasChecksum_)
        garbageCount_ = 0;
    else
        CountGarbage();
}

void SentenceFramer::CountGarbage() {
    // Noise at a wrong rate forms lines and unchecked sentences too ("$",
    // some bytes, a line end): such a line that held an unprintable byte is
    // garbage, and only a clean one ends a burst of it.
    if (!unprintableSeen_)
        garbageCount_ = 0;
    else if (garbageCount_ < kCountMax)
        ++garbageCount_;
}

uint8_t SentenceFramer::Feed(uint8_t b, uint32_t now) {
    const bool lineEnd = IsLineEnd(b);
    const bool shown = IsPrintable(b) || b == kDegree;
    const uint8_t display = shown ? b : '.';

    if (state_ == kSentenceReady || state_ == kLineReady) {
        ResetSentence();
        ResetLine(now);
    }

    switch (state_) {
        case kIdle:
            if (b == '$') {
                ResetSentence();
                state_ = kInBody;
            }
            break;
        case kInBody:
            if (b == ',' || b == '*' || lineEnd) {
                if (fieldCount_ < kFieldCountMax) ++fieldCount_;
                if (bodyLength_ < kBodyLimit)
                    body_[bodyLength_++] = 0;
                else if (b == ',')
                    commaDropped_ = true;
                else
                    endDropped_ = true;
                if (fieldCount_ == 1)
                    field1Start_ = bodyLength_;
                else if (fieldCount_ == 2)
                    field2Start_ = bodyLength_;
                else if (fieldCount_ == 3)
                    cachedFieldStart_ = bodyLength_;
                if (b == ',') {
                    computedChecksum_ ^= b;
                } else if (b == '*') {
                    receivedChecksum_ = 0;
                    hasChecksum_ = true;
                    state_ = kInChecksum;
                } else {
                    EndSentence();
                }
            } else if (bodyLength_ < kBodyLimit) {
                body_[bodyLength_++] = b;
                computedChecksum_ ^= b;
            } else {
                charactersDropped_ = true;
            }
            break;
        case kInChecksum:
            if (lineEnd) {
                // Dropped characters are not summed, so a cut sentence could
                // still match by chance (any even run of one character does).
                if (computedChecksum_ == receivedChecksum_ && !charactersDropped_)
                    EndSentence();
                else
                    ResetSentence();
            } else if (IsHexDigit(b)) {
                receivedChecksum_ = static_cast<uint8_t>(receivedChecksum_ * 16u + HexValue(b));
            } else {
                ResetSentence();
            }
            break;
        default:
            break;
    }
    // Marked after the resets above, so an unprintable byte that opens a new
    // line still marks that line as garbage. A sentence the byte ends was
    // counted before: its line end is no part of it.
    if (!shown && b != '\r' && b != '\n') unprintableSeen_ = true;

    if (state_ != kSentenceReady) {
        lastByteTime_ = now;
        if (rawLength_ < kRawLimit && !lineEnd) raw_[rawLength_++] = display;
        if (lineEnd) {
            if (rawLength_ > 0) {
                raw_[rawLength_] = 0;
                state_ = kLineReady;
                if (lineCount_ < kCountMax) ++lineCount_;
                CountGarbage();
            } else {
                ResetSentence();
                ResetLine(now);
            }
        }
    }
    return state_;
}

uint8_t SentenceFramer::ParseText(std::string_view text) {
    // A finished text has no arrival: the last byte time stays as it was.
    const uint32_t time = lastByteTime_;
    ResetSentence();
    ResetLine(time);
    uint8_t result = kIdle;
    for (char c : text) {
        result = Feed(static_cast<uint8_t>(c), time);
        if (result == kSentenceReady || result == kLineReady) return result;
        // A NUL inside the text is its end; feeding another would reset what it reported.
        if (c == 0) return kIdle;
    }
    result = Feed(0, time);
    return (result == kSentenceReady || result == kLineReady) ? result : uint8_t{kIdle};
}

uint8_t SentenceFramer::FieldCount() const {
    return state_ == kSentenceReady ? fieldCount_ : 0;
}

bool SentenceFramer::FieldPresent(uint8_t index) const {
    return state_ == kSentenceReady && index < fieldCount_;
}

uint16_t SentenceFramer::FieldStart(uint8_t index) {
    if (index == 0) return 0;
    if (index == 1) return field1Start_;
    if (index == 2) return field2Start_;
    if (index == cachedFieldIndex_) return cachedFieldStart_;
    // Bounded by the length, not the end marker: a received byte 255 is an
    // ordinary character of its field.
    uint16_t pos = field2Start_;
    uint8_t at = 2;
    while (at < index && pos < bodyLength_) {
        while (pos < bodyLength_ && body_[pos] != 0) ++pos;
        if (pos >= bodyLength_) break;
        ++pos;
        ++at;
    }
    cachedFieldIndex_ = index;
    cachedFieldStart_ = pos;
    return pos;
}

std::string_view SentenceFramer::Field(uint8_t index) {
    if (!FieldPresent(index)) return {};
    const uint16_t start = FieldStart(index);
    uint16_t end = start;
    while (end < bodyLength_ && body_[end] != 0) ++end;
    return {reinterpret_cast<const char*>(body_ + start), static_cast<size_t>(end - start)};
}

int16_t SentenceFramer::FieldInt16(uint8_t index) {
    return ParseDecimal<int16_t>(Field(index));
}

int32_t SentenceFramer::FieldInt32(uint8_t index) {
    return ParseDecimal<int32_t>(Field(index));
}

uint8_t SentenceFramer::CopyOut(char* out, size_t& length) {
    length = 0;
    if (state_ == kSentenceReady) {
        out[length++] = '$';
        for (uint16_t i = 0; i < bodyLength_; ++i) {
            const uint8_t c = body_[i];
            // The separator after the last field is the line end, not a
            // comma, unless the line end found the body full.
            if (c == 0) {
                if (i + 1 < bodyLength_ || endDropped_) out[length++] = ',';
            } else {
                out[length++] = static_cast<char>(c);
            }
        }
        // A full body kept no room for the comma that ended its last field:
        // without it the text would parse again into fewer fields than the
        // sentence was classified by.
        if (commaDropped_ && bodyLength_ > 0 && body_[bodyLength_ - 1] != 0) out[length++] = ',';
    } else if (state_ == kLineReady) {
        std::memcpy(out, raw_, rawLength_);
        length = rawLength_;
    }
    out[length] = 0;
    return state_;
}

}  // namespace zelsim
