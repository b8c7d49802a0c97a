#pragma once
#include <list>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace zelsim {

// The program's INI file, read once into memory and written back whole.
//
// Sections and keys match without regard to case and to the blanks around
// their names. Everything the program does not understand (unknown keys and
// sections, comments, blank lines, garbage, lines before the first section)
// is kept byte for byte in its place; a new key goes after the last key of
// its section, a new section at the end.
// When a key appears twice in a section, reads see the first one and writes
// change the first one.
class ConfigFile {
  public:
    static constexpr const char* kDefaultFileName = "ZelSim.ini";
    // The section of the program's own settings, each part's among them.
    static constexpr const char* kConfigurationSection = "Configuration";

    struct SaveResult {
        enum class Status {
            Written,            // the file now holds every change
            Unchanged,          // nothing to write
            SkippedReadOnly,    // the file was read-only at start: never written
            SkippedUnreadable,  // the file existed but could not be read: left alone
            Failed,             // the old file is still there, untouched
        };
        Status status;
        std::string message;  // empty when written or unchanged

        bool Saved() const { return status == Status::Written || status == Status::Unchanged; }
    };

    // Reads the file at `path`; a missing file is an empty one.
    explicit ConfigFile(std::string path);

    // `currentDirectory` may be empty (it could not be read): then the name
    // alone, relative to wherever the program runs.
    static std::string DefaultPath(const std::string& currentDirectory);

    const std::string& Path() const { return path_; }
    // False when the file existed read-only (or unreadable) at start; every
    // write and delete is then ignored, in memory too.
    bool Writable() const { return writable_; }
    // Why nothing will be saved in the place given, known from the start
    // ("/x is a folder", "the folder /x does not exist"); empty when the
    // place is fine.
    std::string PlaceProblem() const;

    void SetSection(std::string_view name);

    // The file on a section for as long as the scope lives, and back on the
    // section it was on after: a part that reads or writes its keys leaves
    // no later reader on a section it did not expect.
    class SectionScope {
      public:
        SectionScope(ConfigFile& file, std::string_view name)
            : file_(file), previous_(file.section_) {
            file.SetSection(name);
        }
        ~SectionScope() { file_.SetSection(previous_); }
        SectionScope(const SectionScope&) = delete;
        SectionScope& operator=(const SectionScope&) = delete;

      private:
        ConfigFile& file_;
        const std::string previous_;
    };

    // Absent keys, empty values and values that do not begin with a decimal
    // number (or overflow 32 bits) give the default; "12abc" reads as 12.
    int ReadInt(std::string_view key, int defaultValue) const;
    // True for any non-zero integer.
    bool ReadFlag(std::string_view key, bool defaultValue) const;
    // The value without the blanks around it; the default only when absent.
    std::string ReadText(std::string_view key, std::string_view defaultValue) const;

    void WriteInt(std::string_view key, int value);
    void WriteFlag(std::string_view key, bool value);  // 1 or 0
    // Changes the file only when the value differs from what it holds. The
    // text is cut at a line feed (it would forge a key) and written without
    // what a read would not give back: blanks around it, carriage returns
    // at its end.
    void WriteText(std::string_view key, std::string_view value);
    // Removes every occurrence of the key in the current section.
    void DeleteKey(std::string_view key);

    // Writes a temporary file beside the target, syncs it and renames it over
    // the target, so a crash or a full disk never leaves half a file.
    SaveResult Save();

  private:
    struct Line {
        std::string text;  // without its line end
        // "\r\n", "\n"; for a last line "" without an end, or "\r" when the
        // file was cut before its LF.
        std::string ending;
    };
    // The file's last line, which takes a whole line end before another
    // line can follow it.
    static bool EndsFile(const Line& line) { return line.ending.empty() || line.ending == "\r"; }
    void EndLine(Line& line) const;
    using LineIt = std::list<Line>::iterator;

    struct Section {
        LineIt appendAfter;  // last key of the first occurrence, or its header
        std::map<std::string, std::vector<LineIt>> keys;  // lower-case name -> occurrences
    };

    void Parse(const std::string& content);
    const std::vector<LineIt>* Find(std::string_view key) const;
    const std::string* RawValue(std::string_view key) const;
    Section& SectionForWrite();
    void InsertAfter(LineIt where, Section& section, std::string text);
    std::string Serialise() const;

    std::string path_;
    bool writable_ = true;
    bool unreadable_ = false;
    bool changed_ = false;
    std::string newline_ = "\n";
    std::string section_;       // as the caller spelled it
    std::string sectionLower_;  // lookup key
    std::list<Line> lines_;
    std::map<std::string, Section> sections_;
};

}  // namespace zelsim
