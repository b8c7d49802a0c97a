#include "monitor/MessageClassifier.h"

#include "serial/SentenceFramer.h"

namespace zelsim {

namespace {

bool IsOneOf(std::string_view s, std::initializer_list<std::string_view> words) {
    for (std::string_view w : words)
        if (s == w) return true;
    return false;
}

}  // namespace

MessageCategory::Code MessageClassifier::Classify(SentenceFramer& framed) {
    if (framed.State() == SentenceFramer::kLineReady) return MessageCategory::kNonNmea;
    if (framed.State() != SentenceFramer::kSentenceReady || framed.FieldCount() < 2)
        return MessageCategory::kShort;

    const std::string_view a = framed.Field(0);
    const std::string_view s = framed.Field(1);
    const bool proprietary = a.substr(0, 4) == "PKVT";
    const bool screen = proprietary && a == "PKVTS";
    const bool reply = proprietary && a == "PKVTR";
    const bool query = proprietary && a == "PKVTQ";

    if (proprietary && s == "LBX") return MessageCategory::kLightBar;
    if (proprietary && s == "DML") return MessageCategory::kDormalyn;
    if (a == "PKVTK" || a == "PKVTD") return MessageCategory::kZel;
    if (screen && IsOneOf(s, {"TXT", "TXX", "CLR", "BKL", "CON"})) return MessageCategory::kZel;
    if (a.substr(0, 2) == "GP") return MessageCategory::kDgps;
    if ((query || reply) && s == "RID") return MessageCategory::kDgps;
    if (IsOneOf(s, {"PAR", "RAD", "ACK", "NAK", "KVT"})) return MessageCategory::kDgps;
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
    if (framer.FieldIs(0, "PKVTK")) return MessageCategory::kOutZel;
    if (framer.FieldIs(0, "PKVTS") && framer.FieldIs(1, "LCD")) return MessageCategory::kOutZel;
    return MessageCategory::kOutGoing;
}

}  // namespace zelsim
