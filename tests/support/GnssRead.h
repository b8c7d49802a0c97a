#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string_view>

#include "gnss/GnssDecoder.h"
#include "serial/SentenceFramer.h"

namespace zelsim {

// One read of the line at `now` into the decoder, as the main cycle gives
// it: each sentence framed, then the step after the read.
inline void GnssRead(SentenceFramer& framer, GnssDecoder& decoder, uint32_t now,
                     std::initializer_list<std::string_view> sentences) {
    for (std::string_view text : sentences) {
        EXPECT_EQ(framer.ParseText(text), SentenceFramer::kSentenceReady) << text;
        decoder.SentenceFramed(framer, now);
    }
    decoder.AfterRead(now);
}

}  // namespace zelsim
