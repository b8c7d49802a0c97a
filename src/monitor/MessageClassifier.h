#pragma once
#include <cstdint>
#include <string_view>

#include "monitor/MessageCategory.h"

// Assigns a line its MessageCategory. Each call parses the text afresh, so a
// received line and the same text sent by the user classify alike.
class MessageClassifier {
  public:
    // 2..8 for any line, received or sent: a rebuilt sentence, a raw line, or
    // text as the user or a script typed it (perhaps with its own checksum).
    static MessageCategory::Code ClassifyText(std::string_view text);

    // For text the program sends: kOutZel for panel traffic, else kOutGoing.
    static MessageCategory::Code ClassifyOutgoing(std::string_view text);
};
