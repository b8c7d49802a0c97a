// Any text in the send box, then the checksum button. The sum is the one the
// log prints for the text, and when what follows the last "$" is a sentence
// the line would take, the framer on the far end takes it with that sum.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "base/ControlTable.h"
#include "base/NmeaChecksum.h"
#include "base/Text.h"
#include "protocol/SendBox.h"
#include "serial/SentenceFramer.h"

namespace zelsim {

namespace {

// What the line accepts as one sentence: "$", printable characters without
// another "$" or "*", and a body the framer has room for.
bool AcceptedBody(std::string_view body) {
    if (body.size() > SentenceFramer::kBodyLimit) return false;
    for (char c : body)
        if (!IsPrintable(static_cast<unsigned char>(c)) || c == '*' || c == '$') return false;
    return true;
}

void AddChecksum(const uint8_t* data, size_t size) {
    const std::string typed(reinterpret_cast<const char*>(data), size);
    ControlTable controls;
    SendBox box(controls, [](const std::string&) {});
    box.SetText(typed);
    box.AddChecksum();
    const std::string& result = box.Text();

    // A text that carries a "*" has its sum, or means to have none.
    if (typed.find('*') != std::string::npos) {
        Require(result == typed, "a text with a checksum was changed");
        return;
    }
    const std::string suffix = ChecksumSuffix(TextChecksum(typed));
    Require(result == typed + suffix, "the checksum is not the text's");
    Require(suffix.size() == 3 && suffix[0] == '*' && IsHexDigit(suffix[1]) &&
                IsHexDigit(suffix[2]) && UpperAscii(suffix[1]) == suffix[1] &&
                UpperAscii(suffix[2]) == suffix[2],
            "a checksum is \"*\" and two upper-case hexadecimal digits");

    const size_t dollar = result.rfind('$');
    if (dollar == std::string::npos) return;
    const std::string_view sentence = std::string_view(result).substr(dollar);
    if (!AcceptedBody(sentence.substr(1, sentence.size() - 1 - suffix.size()))) return;
    SentenceFramer framer;
    Require(framer.ParseText(sentence) == SentenceFramer::kSentenceReady,
            "a sentence with its added checksum is not a valid sentence");
}

}  // namespace

}  // namespace zelsim

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    zelsim::AddChecksum(data, size);
    return 0;
}
