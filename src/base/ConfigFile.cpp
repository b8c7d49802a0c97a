#include "base/ConfigFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstring>

#include "base/Text.h"

namespace zelsim {

namespace {

constexpr std::string_view kBlanks = " \t";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr mode_t kNewFileMode = 0666;  // the umask decides the rest
constexpr mode_t kAnyWriteBit = S_IWUSR | S_IWGRP | S_IWOTH;
constexpr int kTempNameAttempts = 100;

struct ParsedLine {
    enum class Kind { Other, Header, Key };
    Kind kind = Kind::Other;
    std::string name;       // lower case
    size_t valueStart = 0;  // keys: first byte of the value (after "=" and blanks)
};

ParsedLine ParseLine(std::string_view text) {
    ParsedLine parsed;
    size_t offset = 0;
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
        offset = kByteOrderMark.size();
        text.remove_prefix(offset);
    }
    const std::string_view body = TrimBlanks(text);
    if (body.empty() || body.front() == ';' || body.front() == '#') return parsed;
    if (body.front() == '[') {
        const size_t close = body.find(']');
        if (close == std::string_view::npos) return parsed;  // kept, but opens nothing
        parsed.kind = ParsedLine::Kind::Header;
        parsed.name = LowerCase(TrimBlanks(body.substr(1, close - 1)));
        return parsed;
    }
    const size_t equals = text.find('=');
    if (equals == std::string_view::npos) return parsed;
    const std::string_view key = TrimBlanks(text.substr(0, equals));
    if (key.empty()) return parsed;
    parsed.kind = ParsedLine::Kind::Key;
    parsed.name = LowerCase(key);
    const size_t value = text.find_first_not_of(kBlanks, equals + 1);
    parsed.valueStart = offset + (value == std::string_view::npos ? text.size() : value);
    return parsed;
}

std::string ErrorText(const char* what, const std::string& path, int error) {
    return std::string("Settings not saved: cannot ") + what + " " + path + ": " +
           std::strerror(error);
}

bool WriteAll(int fd, const std::string& data) {
    size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

std::string DirectoryOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string BaseNameOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A link keeps pointing at the settings: the file it names is replaced, not the link.
std::string WriteTarget(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (resolved == nullptr) return path;
    std::string target(resolved);
    std::free(resolved);
    return target;
}

}  // namespace

ConfigFile::ConfigFile(std::string path) : path_(std::move(path)) {
    struct stat st {};
    if (::stat(path_.c_str(), &st) != 0) return;  // missing: empty, created by the first save
    if (!S_ISREG(st.st_mode)) {
        unreadable_ = true;
        writable_ = false;
        return;
    }
    // Tested on the mode bits as well: access() grants root every write.
    if ((st.st_mode & kAnyWriteBit) == 0 || ::access(path_.c_str(), W_OK) != 0) writable_ = false;

    const int fd = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        unreadable_ = true;
        writable_ = false;
        return;
    }
    std::string content;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            unreadable_ = true;
            writable_ = false;
            content.clear();
            break;
        }
        if (n == 0) break;
        content.append(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    Parse(content);
}

std::string ConfigFile::PlaceProblem() const {
    struct stat st {};
    if (::stat(path_.c_str(), &st) == 0) return S_ISDIR(st.st_mode) ? path_ + " is a folder" : "";
    const std::string folder = DirectoryOf(path_);
    if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return "the folder " + folder + " does not exist";
    return "";
}

std::string ConfigFile::DefaultPath(const std::string& currentDirectory) {
    if (currentDirectory.empty()) return kDefaultFileName;
    if (currentDirectory.back() == '/') return currentDirectory + kDefaultFileName;
    return currentDirectory + "/" + kDefaultFileName;
}

void ConfigFile::Parse(const std::string& content) {
    size_t start = 0;
    bool newlineChosen = false;
    while (start < content.size()) {
        const size_t lf = content.find('\n', start);
        Line line;
        if (lf == std::string::npos) {
            // A file cut between CR and LF: the CR still ends the line, and
            // is written back as it was.
            const bool cr = content.back() == '\r';
            line.text = content.substr(start, content.size() - start - (cr ? 1 : 0));
            line.ending = cr ? "\r" : "";
            start = content.size();
        } else {
            const bool crlf = lf > start && content[lf - 1] == '\r';
            line.text = content.substr(start, lf - start - (crlf ? 1 : 0));
            line.ending = crlf ? "\r\n" : "\n";
            if (!newlineChosen) {
                newline_ = line.ending;
                newlineChosen = true;
            }
            start = lf + 1;
        }
        lines_.push_back(std::move(line));
    }

    Section* current = nullptr;
    bool firstOccurrence = false;
    for (LineIt it = lines_.begin(); it != lines_.end(); ++it) {
        ParsedLine parsed = ParseLine(it->text);
        if (parsed.kind == ParsedLine::Kind::Header) {
            auto [entry, fresh] = sections_.try_emplace(parsed.name);
            if (fresh) entry->second.appendAfter = it;
            current = &entry->second;
            firstOccurrence = fresh;
        } else if (parsed.kind == ParsedLine::Kind::Key && current != nullptr) {
            current->keys[parsed.name].push_back(it);
            // New keys join the first occurrence of a section, after its last key.
            if (firstOccurrence) current->appendAfter = it;
        }
    }
}

void ConfigFile::SetSection(std::string_view name) {
    // A header's name is read without the blanks around it; a name given
    // with them would write a section that no later start finds again.
    section_ = std::string(TrimBlanks(name));
    sectionLower_ = LowerCase(section_);
}

const std::vector<ConfigFile::LineIt>* ConfigFile::Find(std::string_view key) const {
    const auto section = sections_.find(sectionLower_);
    if (section == sections_.end()) return nullptr;
    const auto entry = section->second.keys.find(LowerCase(TrimBlanks(key)));
    if (entry == section->second.keys.end() || entry->second.empty()) return nullptr;
    return &entry->second;
}

const std::string* ConfigFile::RawValue(std::string_view key) const {
    const std::vector<LineIt>* found = Find(key);
    return found == nullptr ? nullptr : &found->front()->text;
}

int ConfigFile::ReadInt(std::string_view key, int defaultValue) const {
    const std::string* text = RawValue(key);
    if (text == nullptr) return defaultValue;
    std::string_view value =
        TrimBlanks(std::string_view(*text).substr(ParseLine(*text).valueStart));
    if (!value.empty() && value.front() == '+') value.remove_prefix(1);
    int result = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), result);
    if (error != std::errc() || end == value.data()) return defaultValue;
    return result;
}

bool ConfigFile::ReadFlag(std::string_view key, bool defaultValue) const {
    return ReadInt(key, defaultValue ? 1 : 0) != 0;
}

std::string ConfigFile::ReadText(std::string_view key, std::string_view defaultValue) const {
    const std::string* text = RawValue(key);
    if (text == nullptr) return std::string(defaultValue);
    return std::string(TrimBlanks(std::string_view(*text).substr(ParseLine(*text).valueStart)));
}

void ConfigFile::WriteInt(std::string_view key, int value) {
    WriteText(key, std::to_string(value));
}

void ConfigFile::WriteFlag(std::string_view key, bool value) {
    WriteText(key, value ? "1" : "0");
}

void ConfigFile::WriteText(std::string_view key, std::string_view value) {
    if (!writable_) return;
    // A line feed would split the line into a forged key. A carriage return
    // before it would be taken for the line's end, and blanks around the
    // value for the line's spacing: none of them could be read back. Blanks
    // and carriage returns leave the end together, since either left behind
    // the other ("x\r ") would still be one.
    value = value.substr(0, value.find('\n'));
    const size_t last = value.find_last_not_of(" \t\r");
    value = TrimBlanks(value.substr(0, last == std::string_view::npos ? 0 : last + 1));
    if (const std::vector<LineIt>* found = Find(key)) {
        Line& line = *found->front();
        const size_t valueStart = ParseLine(line.text).valueStart;
        // The same value keeps the line as the user spaced it.
        if (TrimBlanks(std::string_view(line.text).substr(valueStart)) == value) return;
        line.text = line.text.substr(0, valueStart);
        line.text.append(value);
        changed_ = true;
        return;
    }
    Section& section = SectionForWrite();
    std::string text(TrimBlanks(key));
    text += '=';
    text.append(value);
    InsertAfter(section.appendAfter, section, std::move(text));
}

void ConfigFile::DeleteKey(std::string_view key) {
    if (!writable_) return;
    const auto section = sections_.find(sectionLower_);
    if (section == sections_.end()) return;
    const auto entry = section->second.keys.find(LowerCase(TrimBlanks(key)));
    if (entry == section->second.keys.end()) return;
    for (LineIt it : entry->second) {
        if (it == section->second.appendAfter) {
            // Back to the key before it, or the header: the header always precedes.
            LineIt before = std::prev(it);
            while (ParseLine(before->text).kind == ParsedLine::Kind::Other) --before;
            section->second.appendAfter = before;
        }
        lines_.erase(it);
    }
    section->second.keys.erase(entry);
    changed_ = true;
}

// A CR already there keeps its place: the line gains only its LF.
void ConfigFile::EndLine(Line& line) const {
    line.ending = line.ending == "\r" ? "\r\n" : newline_;
}

ConfigFile::Section& ConfigFile::SectionForWrite() {
    const auto existing = sections_.find(sectionLower_);
    if (existing != sections_.end()) return existing->second;
    if (!lines_.empty()) {  // a blank line between sections
        if (EndsFile(lines_.back())) EndLine(lines_.back());
        if (!TrimBlanks(lines_.back().text).empty()) lines_.push_back(Line{"", newline_});
    }
    lines_.push_back(Line{"[" + section_ + "]", newline_});
    changed_ = true;
    Section& section = sections_[sectionLower_];
    section.appendAfter = std::prev(lines_.end());
    return section;
}

void ConfigFile::InsertAfter(LineIt where, Section& section, std::string text) {
    if (EndsFile(*where)) EndLine(*where);
    const std::string name = ParseLine(text).name;
    const LineIt inserted = lines_.insert(std::next(where), Line{std::move(text), newline_});
    section.keys[name].push_back(inserted);
    section.appendAfter = inserted;
    changed_ = true;
}

std::string ConfigFile::Serialise() const {
    std::string out;
    for (const Line& line : lines_) {
        out += line.text;
        out += line.ending;
    }
    return out;
}

ConfigFile::SaveResult ConfigFile::Save() {
    using Status = SaveResult::Status;
    if (unreadable_)
        return {Status::SkippedUnreadable, "Settings not saved: " + path_ +
                                               " could not be read at start, so it is left alone"};
    if (!writable_)
        return {Status::SkippedReadOnly, "Settings not saved: " + path_ + " is read-only"};
    if (!changed_) return {Status::Unchanged, ""};

    const std::string target = WriteTarget(path_);
    const std::string directory = DirectoryOf(target);
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;

    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < kTempNameAttempts && fd < 0; ++attempt) {
        temp = directory + "/." + BaseNameOf(target) + ".tmp" + std::to_string(::getpid()) + "-" +
               std::to_string(attempt);
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kNewFileMode);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) return {Status::Failed, ErrorText("create a file in", directory, errno)};

    auto fail = [&](const char* what) {
        const int error = errno;
        if (fd >= 0) ::close(fd);
        ::unlink(temp.c_str());
        return SaveResult{Status::Failed, ErrorText(what, temp, error)};
    };
    if (exists) {
        (void)::fchown(fd, old.st_uid, old.st_gid);  // only the owner's own groups succeed
        if (::fchmod(fd, old.st_mode & 07777) != 0) return fail("set the permissions of");
    }
    if (!WriteAll(fd, Serialise())) return fail("write");
    if (::fsync(fd) != 0) return fail("sync");
    const int closed = ::close(fd);
    fd = -1;
    if (closed != 0) return fail("finish writing");
    if (::rename(temp.c_str(), target.c_str()) != 0) return fail("rename over the settings");

    // The rename itself reaches the disk only with the directory.
    const int dirFd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    changed_ = false;
    return {Status::Written, ""};
}

}  // namespace zelsim
