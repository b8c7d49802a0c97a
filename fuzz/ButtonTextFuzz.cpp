// Any text as the Define Button dialog's script memo, one memo line per input
// line, on any of the 32 definitions (the first byte chooses it). The script
// must hold the memo's lines that are not empty, in their order, each cut to
// 599 characters, and nothing else; the other definitions stay as they were.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzCheck.h"
#include "scripts/ButtonTable.h"

namespace zelsim {

namespace {}  // namespace

}  // namespace zelsim

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace zelsim;
    if (size == 0) return 0;
    const int index = data[0] % ButtonTable::kButtonCount;
    const std::string_view memo(reinterpret_cast<const char*>(data) + 1, size - 1);
    std::vector<std::string> memoLines;
    size_t at = 0;
    while (at <= memo.size()) {
        size_t end = memo.find('\n', at);
        if (end == std::string_view::npos) end = memo.size();
        memoLines.emplace_back(memo.substr(at, end - at));
        at = end + 1;
    }

    ButtonTable table;
    table.Define(index, "Caption", memoLines);
    const std::vector<std::string>& script = table.At(index).script;
    size_t next = 0;
    for (const std::string& line : memoLines) {
        if (line.empty()) continue;
        Require(next < script.size(), "a memo line is missing from the script");
        Require(script[next] == line.substr(0, ButtonTable::kMaxLineLength),
                "a script line is not its memo line, cut to 599");
        ++next;
    }
    Require(next == script.size(), "the script holds a line the memo does not");
    for (int other = 0; other < ButtonTable::kButtonCount; ++other)
        if (other != index) Require(table.At(other).script.empty(), "another definition changed");

    return 0;
}
