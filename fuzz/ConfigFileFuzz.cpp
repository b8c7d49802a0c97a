// A configuration file as a user or another program may have left it, and a
// few changes of the kind the parts make at shutdown. Whatever the file
// holds, the changes must land where ConfigFile.h says, read back as they
// were written, and leave every other line byte for byte.
//
// The input is the file's content up to the first lone backslash ("\\" is
// a backslash of the content), then the changes: each takes its kind (and a
// number or a flag) from the end of the input and its names and text from
// the front, as FuzzedDataProvider hands them out. A kind is a byte modulo
// 5, so the seeds spell them A (section), B (number), C (flag), D (text)
// and E (delete).
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "FuzzCheck.h"
#include "ScratchDirectory.h"
#include "base/ConfigFile.h"
#include "base/Text.h"

namespace zelsim {

namespace {

using Status = ConfigFile::SaveResult::Status;

constexpr size_t kMaxChanges = 48;
constexpr size_t kMaxNameLength = 24;
constexpr size_t kMaxValueLength = 700;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
// No value can hold a line feed, so no stored key ever reads as this.
constexpr std::string_view kAbsent = "\n(absent)";

// Bytes as escapes, so that a report shows exactly what differed.
std::string Escaped(std::string_view text) {
    std::string out;
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (IsPrintable(u) && c != '\\') {
            out += c;
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", u);
            out += hex;
        }
    }
    return out;
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteAll(const std::string& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
    Require(out.good(), "cannot write the scratch file");
}

// The program's section and key names are its own plain words; a name
// holding "=", a bracket or a comment mark would be no name in any INI file.
std::string PlainName(const std::string& raw) {
    constexpr std::string_view kMarks = "=[];#";
    std::string name;
    for (char c : raw) {
        const bool mark = kMarks.find(c) != std::string_view::npos;
        if (IsPrintable(static_cast<unsigned char>(c)) && !mark) name += c;
    }
    return name;
}

// What a read gives back of a written value: it ends at a line feed, and
// neither blanks around it nor a carriage return at its end survive.
std::string Readable(std::string_view value) {
    value = value.substr(0, value.find('\n'));
    const size_t last = value.find_last_not_of(" \t\r");
    value = last == std::string_view::npos ? std::string_view() : value.substr(0, last + 1);
    return std::string(TrimBlanks(value));
}

// The file's lines, each with its line end, split as a reader splits them.
std::vector<std::string> Lines(const std::string& content) {
    std::vector<std::string> lines;
    for (size_t start = 0; start < content.size();) {
        const size_t lf = content.find('\n', start);
        const size_t end = lf == std::string::npos ? content.size() : lf + 1;
        lines.push_back(content.substr(start, end - start));
        start = end;
    }
    return lines;
}

using KeyName = std::pair<std::string, std::string>;  // section and key, lower case, trimmed

// Which key of which section a line of the original file holds, by the rules
// ConfigFile.h states; the line is no key when the section is empty.
struct OriginalLine {
    std::string bytes;
    KeyName key;
    bool isKey = false;
    bool firstOccurrence = false;
};

std::vector<OriginalLine> ReadOriginal(const std::string& content) {
    std::vector<OriginalLine> lines;
    std::set<KeyName> seen;
    bool inSection = false;
    std::string section;
    for (std::string& bytes : Lines(content)) {
        OriginalLine line;
        std::string_view text = bytes;
        // A line ends at LF, with a CR before it; the last line also at a
        // lone CR, as a file cut between the two.
        const bool last = text.empty() || text.back() != '\n';
        if (!last) text.remove_suffix(1);
        if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
        if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark)
            text.remove_prefix(kByteOrderMark.size());
        const std::string_view body = TrimBlanks(text);
        const bool comment = body.empty() || body.front() == ';' || body.front() == '#';
        if (!comment && body.front() == '[') {
            const size_t close = body.find(']');
            if (close != std::string_view::npos) {
                inSection = true;
                section = LowerCase(TrimBlanks(body.substr(1, close - 1)));
            }
        } else if (!comment && inSection) {
            const std::string_view key = TrimBlanks(text.substr(0, text.find('=')));
            const bool hasValue = text.find('=') != std::string_view::npos;
            if (hasValue && !key.empty()) {
                line.isKey = true;
                line.key = {section, LowerCase(key)};
                line.firstOccurrence = seen.insert(line.key).second;
            }
        }
        line.bytes = std::move(bytes);
        lines.push_back(std::move(line));
    }
    return lines;
}

// What the changes did to one key, as the caller spelled it.
struct Written {
    std::string section;
    std::string key;
    std::string value;  // as passed; empty for a delete
    bool deleted = false;
};

class Changes {
  public:
    explicit Changes(ConfigFile& file) : file_(file) {}

    void Apply(FuzzedDataProvider& input) {
        for (size_t n = 0; n < kMaxChanges && input.remaining_bytes() > 0; ++n) {
            const int kind = input.ConsumeIntegralInRange(0, 4);
            const std::string name = PlainName(input.ConsumeRandomLengthString(kMaxNameLength));
            if (kind == 0) {
                section_ = name;
                file_.SetSection(section_);
                continue;
            }
            if (TrimBlanks(name).empty()) continue;  // no key at all
            switch (kind) {
                case 1: {
                    const int value = input.ConsumeIntegral<int>();
                    file_.WriteInt(name, value);
                    Record(name, std::to_string(value), false);
                    break;
                }
                case 2: {
                    const bool value = input.ConsumeBool();
                    file_.WriteFlag(name, value);
                    Record(name, value ? "1" : "0", false);
                    break;
                }
                case 3: {
                    const std::string value = input.ConsumeRandomLengthString(kMaxValueLength);
                    file_.WriteText(name, value);
                    Record(name, value, false);
                    break;
                }
                default:
                    file_.DeleteKey(name);
                    Record(name, "", true);
                    break;
            }
        }
    }

    // The original line is one the changes may rewrite or remove: any
    // occurrence of a deleted key, the first of a written one.
    bool Touched(const OriginalLine& line) const {
        if (!line.isKey) return false;
        if (deletedEver_.count(line.key) != 0) return true;
        return line.firstOccurrence && writtenEver_.count(line.key) != 0;
    }

    // Every key the changes wrote reads back as written, every deleted one
    // as absent.
    void CheckReadBack(ConfigFile& file, const char* when) const {
        for (const auto& [name, written] : last_) {
            file.SetSection(written.section);
            const std::string read = file.ReadText(written.key, kAbsent);
            if (written.deleted ? read != kAbsent : read != Readable(written.value)) {
                std::fprintf(stderr, "  [%s] %s reads \"%s\" %s, written \"%s\"%s\n",
                             Escaped(written.section).c_str(), Escaped(written.key).c_str(),
                             Escaped(read).c_str(), when, Escaped(written.value).c_str(),
                             written.deleted ? " and deleted" : "");
                Require(false, "a written key does not read back as written");
            }
        }
    }

    // Writing the same again, or deleting what is gone, is no change.
    void Repeat(ConfigFile& file) const {
        for (const auto& [name, written] : last_) {
            file.SetSection(written.section);
            if (written.deleted)
                file.DeleteKey(written.key);
            else
                file.WriteText(written.key, written.value);
        }
    }

  private:
    void Record(const std::string& key, std::string value, bool deleted) {
        const KeyName name{LowerCase(TrimBlanks(section_)), LowerCase(TrimBlanks(key))};
        (deleted ? deletedEver_ : writtenEver_).insert(name);
        last_[name] = Written{section_, key, std::move(value), deleted};
    }

    ConfigFile& file_;
    std::string section_;
    std::set<KeyName> writtenEver_;
    std::set<KeyName> deletedEver_;
    std::map<KeyName, Written> last_;
};

// The untouched lines of the original, in their order, among the saved
// ones; a last line without a line end may have gained one.
void CheckUntouchedLinesKept(const std::vector<OriginalLine>& original, const Changes& changes,
                             const std::string& saved) {
    const std::vector<std::string> lines = Lines(saved);
    size_t at = 0;
    for (size_t i = 0; i < original.size(); ++i) {
        if (changes.Touched(original[i])) continue;
        const std::string& bytes = original[i].bytes;
        const bool open = i + 1 == original.size() && (bytes.empty() || bytes.back() != '\n');
        while (at < lines.size() && lines[at] != bytes &&
               !(open && (lines[at] == bytes + "\n" || lines[at] == bytes + "\r\n")))
            ++at;
        if (at == lines.size()) {
            std::fprintf(stderr, "  line %zu lost: \"%s\"\n", i + 1, Escaped(bytes).c_str());
            Require(false, "a line the changes did not touch was lost or changed");
        }
        ++at;
    }
}

void ChangeFile(const uint8_t* data, size_t size) {
    static const ScratchDirectory scratch;
    const std::string path = scratch.File("ZelSim.ini");

    FuzzedDataProvider input(data, size);
    const std::string content = input.ConsumeRandomLengthString(size);
    WriteAll(path, content);

    ConfigFile file(path);
    Changes changes(file);
    changes.Apply(input);
    changes.CheckReadBack(file, "before the save");

    const ConfigFile::SaveResult saved = file.Save();
    Require(saved.Saved(), "a writable file is saved");
    Require(file.Save().status == Status::Unchanged, "a second save without a change writes");
    const std::string after = ReadAll(path);
    if (saved.status == Status::Unchanged) Require(after == content, "an unchanged file moved");
    CheckUntouchedLinesKept(ReadOriginal(content), changes, after);

    ConfigFile reread(path);
    changes.CheckReadBack(reread, "after a reload");
    changes.Repeat(reread);
    Require(reread.Save().status == Status::Unchanged,
            "writing again what a file holds changes it");
}

}  // namespace

}  // namespace zelsim

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    zelsim::ChangeFile(data, size);
    return 0;
}
