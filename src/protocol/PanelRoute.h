#pragma once

namespace zelsim {

class SentenceFramer;

// Where the responder sends the receiver's screen sentences: the remote
// panel implements it. The sentence's fields are readable by index until
// the next byte is fed.
class PanelRoute {
  public:
    virtual ~PanelRoute() = default;

    virtual void HandleContrastSentence(SentenceFramer& sentence) = 0;    // proprietary::kContrast
    virtual void HandleControllerSentence(SentenceFramer& sentence) = 0;  // proprietary::kLcdBytes
    virtual void HandleScreenSentence(SentenceFramer& sentence) = 0;      // proprietary::kScreen
};

}  // namespace zelsim
