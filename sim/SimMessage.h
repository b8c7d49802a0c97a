#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace zelsim {

// One line heard on the line: a checksum-valid sentence, split into its
// fields (field 0 is the address without "$"), or a raw line that is not one.
struct SimMessage {
    std::vector<std::string> fields;
    std::string text;  // the raw line, or the sentence rebuilt without its checksum

    bool IsSentence() const { return !fields.empty(); }
    size_t FieldCount() const { return fields.size(); }
    // A field beyond the sentence reads as empty, as peers on this line expect.
    std::string_view Field(size_t index) const {
        return index < fields.size() ? std::string_view(fields[index]) : std::string_view();
    }
    bool FieldIs(size_t index, std::string_view value) const {
        return index < fields.size() && fields[index] == value;
    }

    static SimMessage Line(std::string text) { return SimMessage{{}, std::move(text)}; }
};

}  // namespace zelsim
