#include "monitor/MessageClassifier.h"

#include <span>

#include "base/GnssTalkers.h"
#include "base/ProprietarySentences.h"
#include "serial/SentenceFramer.h"

namespace zelsim {

namespace {

// The screen sentences that draw on the panel; a reset or a mirror request
// draws nothing.
constexpr std::string_view kDrawing[] = {proprietary::kText, proprietary::kEscapedText,
                                         proprietary::kClearScreen, proprietary::kBackLight,
                                         proprietary::kScreenContrast};

bool IsOneOf(std::string_view s, std::span<const std::string_view> words) {
    for (std::string_view w : words)
        if (s == w) return true;
    return false;
}

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

}  // namespace

MessageCategory::Code MessageClassifier::Classify(SentenceFramer& framed) {
    if (framed.State() == SentenceFramer::kLineReady) return MessageCategory::kNonNmea;
    if (framed.State() != SentenceFramer::kSentenceReady || framed.FieldCount() < 2)
        return MessageCategory::kShort;

    const std::string_view a = framed.Field(0);
    const std::string_view s = framed.Field(1);
    const bool family = StartsWith(a, proprietary::kFamily);
    const bool screen = family && a == proprietary::kScreen;
    const bool reply = family && a == proprietary::kReply;
    const bool query = family && a == proprietary::kQuery;

    if (family && s == proprietary::kLightbar) return MessageCategory::kLightBar;
    if (family && s == proprietary::kController) return MessageCategory::kDormalyn;
    if (a == proprietary::kKeyMask || a == proprietary::kLcdBytes) return MessageCategory::kZel;
    if (screen && IsOneOf(s, kDrawing)) return MessageCategory::kZel;
    // Whatever constellations the receiver tracks, its standard sentences
    // are its own traffic: GN from a multi-constellation receiver is what GP
    // was from an older one.
    if (gnss_talkers::IndexOf(a) >= 0) return MessageCategory::kDgps;
    if ((query || reply) && s == proprietary::kReceiverId) return MessageCategory::kDgps;
    if (IsOneOf(s, proprietary::kDgpsWords)) return MessageCategory::kDgps;
    return MessageCategory::kOther;
}

MessageCategory::Code MessageClassifier::ClassifyText(std::string_view text) {
    SentenceFramer framer;
    framer.ParseText(text);
    return Classify(framer);
}

MessageCategory::Code MessageClassifier::ClassifyOutgoing(std::string_view text) {
    SentenceFramer framer;
    if (framer.ParseText(text) != SentenceFramer::kSentenceReady || framer.FieldCount() < 2)
        return MessageCategory::kOutGoing;
    if (framer.FieldIs(0, proprietary::kKeyMask)) return MessageCategory::kOutZel;
    if (framer.FieldIs(0, proprietary::kScreen) && framer.FieldIs(1, proprietary::kMirrorLcd))
        return MessageCategory::kOutZel;
    return MessageCategory::kOutGoing;
}

}  // namespace zelsim
