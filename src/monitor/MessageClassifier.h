#pragma once
#include <cstdint>
#include <string_view>

#include "monitor/MessageCategory.h"

namespace zelsim {

class SentenceFramer;

// Assigns a line its MessageCategory.
class MessageClassifier {
  public:
    // 2..8 for what the framer just reported: a raw line, or a sentence by
    // its fields.
    static MessageCategory::Code Classify(SentenceFramer& framed);

    // The same for a finished text: a rebuilt sentence, a raw line, or text
    // as the user or a script typed it (perhaps with its own checksum).
    static MessageCategory::Code ClassifyText(std::string_view text);

    // For text the program sends: kOutZel for panel traffic, else kOutGoing.
    static MessageCategory::Code ClassifyOutgoing(std::string_view text);
};

}  // namespace zelsim
