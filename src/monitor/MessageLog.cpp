#include "monitor/MessageLog.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "base/ConfigFile.h"
#include "base/ControlTable.h"
#include "base/MainWindowControls.h"
#include "base/NmeaChecksum.h"
#include "base/Text.h"
#include "base/UserDialogs.h"
#include "monitor/LogFile.h"
#include "monitor/MessageCategory.h"
#include "monitor/MessageClassifier.h"
#include "serial/SerialPort.h"

namespace zelsim {

namespace {
namespace mw = main_window;
constexpr const char* kFileNameKey = "LogFileNameNoPrompt";
constexpr const char* kSequenceKey = "LogSequenceFileIndex";
constexpr const char* kOverwriteKey = "LogOverWriteFile";
constexpr const char* kDialogPlaceKeys = "LogDialogWindow";
constexpr const char* kFileSpecsSection = "FileSpecs";
constexpr const char* kDialogFolderKey = "LogFilePath";
constexpr const char* kDialogFileKey = "LogFileFileName";
constexpr const char* kDialogFilterKey = "LogFileFilterIndex";
constexpr const char* kDialogFolder = ".";
constexpr int kDialogFilter = 2;  // the log files
constexpr char kShownForUnprintable = '~';
// The status label has three short lines; a longer name is cut in the
// middle, where its ending (a number, the extension) survives, and the
// whole path is in the label's hint.
constexpr size_t kShownNameLimit = 22;
constexpr size_t kShownNameHead = 9;
constexpr std::string_view kCutMark = "...";
constexpr std::string_view mSequenceEraseView[] = {mw::mLogSequenceFilename, mw::mLogEraseFile,
                                                   mw::mLogViewFile};

// Names stored by older versions separate folders with "\".
std::string WithSlashes(std::string name) {
    std::replace(name.begin(), name.end(), '\\', '/');
    return name;
}

std::string Cut(std::string name) {
    if (name.size() > MessageLog::kNameLimit) name.resize(MessageLog::kNameLimit);
    return name;
}

// Where the file really is: a name relative to the folder the program runs
// in, or through links, says little to whoever looks for it later.
std::string FullPath(const std::string& path) {
    std::error_code error;
    const std::filesystem::path full = std::filesystem::weakly_canonical(path, error);
    return error ? path : full.string();
}

// The direction column: which way the line went, then the column's comma.
std::string_view DirectionMark(LineDirection direction) {
    switch (direction) {
        case LineDirection::kReceived:
            return "<,";
        case LineDirection::kSent:
            return ">,";
        case LineDirection::kNote:
            break;
    }
    return "-,";
}

}  // namespace

MessageLog::MessageLog(ControlTable& controls, UserDialogs& dialogs, ConfigFile& config,
                       const SerialPort& port, std::string startDirectory,
                       LocalTimeSource localTime)
    : controls_(controls),
      dialogs_(dialogs),
      config_(config),
      port_(port),
      startDirectory_(std::move(startDirectory)),
      localTime_(std::move(localTime)) {
    ShowOptions();
    Stop();
    RefreshLogControls();
}

std::string MessageLog::ShownFileName(const std::string& path) {
    std::string name = std::filesystem::path(path).filename().string();
    if (name.size() <= kShownNameLimit) return name;
    const size_t tail = kShownNameLimit - kShownNameHead - kCutMark.size();
    return name.substr(0, kShownNameHead) + std::string(kCutMark) + name.substr(name.size() - tail);
}

std::string MessageLog::FileName() const {
    return logging_ ? loggingName_ : ActiveName();
}

const std::string& MessageLog::ActiveName() const {
    if (runLog_) return RunName();
    return options_.logPromptForFilename ? promptedName_ : fixedName_;
}

const std::string& MessageLog::RunName() const {
    return runName_.empty() ? fixedName_ : runName_;
}

bool MessageLog::Logs(uint8_t category) const {
    return PassesFilters(options_, kLogOptionItems, category);
}

bool MessageLog::AnyCategory() const {
    for (const LogOptionItem& item : kLogOptionItems)
        if (item.categories != 0 && options_.*item.flag) return true;
    return false;
}

void MessageLog::LineShown(const TrafficLine& line) {
    if (!logging_) return;
    // Sent text is judged by its content, as received text is.
    uint8_t category = line.category;
    if (category == MessageCategory::kOutGoing || category == MessageCategory::kOutZel)
        category = MessageClassifier::ClassifyText(line.text);
    if (!Logs(category)) return;

    Compose(line_, line.text, line.time, line.direction);
    // The sentence's own checksum, of the bytes as they came.
    if (options_.logNmeaChecksum && category != MessageCategory::kNonNmea)
        line_ += ChecksumSuffix(TextChecksum(line.text));
    line_ += "\r\n";
    lastTick_ = line.time;
    Write(line_);
}

void MessageLog::Compose(std::string& out, std::string_view text, uint32_t tick,
                         LineDirection direction) const {
    out.clear();
    if (options_.logDate || options_.logTime) {
        const std::tm t = localTime_();
        if (options_.logDate) {
            AppendTwoDigitTriple(out, t.tm_mon + 1, t.tm_mday, t.tm_year % 100, '/');
            out += ',';
        }
        if (options_.logTime) {
            AppendTwoDigitTriple(out, t.tm_hour, t.tm_min, t.tm_sec, ':');
            out += ',';
        }
    }
    if (options_.logMsTickCount) {
        // Unsigned: the tick passes 2^31 after 24.8 days of uptime.
        AppendDecimal(out, tick);
        out += ',';
    }
    // Next to the text, so that a query and its echo read apart.
    if (options_.logDirection) out += DirectionMark(direction);
    // Control bytes are written as the monitor shows them: a sentence
    // holding terminal escapes must not act on whoever reads the file.
    for (char c : text) {
        const auto b = static_cast<unsigned char>(c);
        out += IsPrintable(b) || b == kDegree ? c : kShownForUnprintable;
    }
}

void MessageLog::Write(std::string_view line) {
    std::string error;
    const std::string& name = logging_ ? loggingName_ : ActiveName();
    if (gapLines_ > 0) {
        // The file resumes: it says what it misses before it goes on.
        const std::string note = "log gap: " + std::to_string(gapLines_) +
                                 (gapLines_ == 1 ? " line" : " lines") + " lost from " + gapStart_ +
                                 " to " + NowText() + " (" + lastError_ + ")";
        std::string noteLine;
        Compose(noteLine, note, lastTick_, LineDirection::kNote);
        noteLine += "\r\n";
        if (!LogFile::Append(name, noteLine, error)) {
            ++gapLines_;
            ++linesLost_;
            lastError_ = error;
            ShowStatus();
            return;
        }
        gapLines_ = 0;
    }
    if (LogFile::Append(name, line, error)) {
        if (!lastError_.empty()) {
            lastError_.clear();
            ShowStatus();
        }
        return;
    }
    if (gapLines_ == 0) gapStart_ = NowText();
    ++gapLines_;
    ++linesLost_;
    lastError_ = error;
    ShowStatus();
}

void MessageLog::WriteNote(std::string_view text, uint32_t tick) {
    std::string note;
    Compose(note, text, tick, LineDirection::kNote);
    note += "\r\n";
    Write(note);
}

std::string MessageLog::NowText() const {
    const std::tm t = localTime_();
    char text[32];
    std::snprintf(text, sizeof text, "%02d/%02d/%02d %02d:%02d:%02d", t.tm_mon + 1, t.tm_mday,
                  t.tm_year % 100, t.tm_hour, t.tm_min, t.tm_sec);
    return text;
}

void MessageLog::LineLost(std::string_view device, bool reconnecting, uint32_t now) {
    if (!logging_) return;
    WriteNote("line lost: " + std::string(device), now);
    resumeWhenBack_ = reconnecting;
}

void MessageLog::LineBack(std::string_view device, uint32_t now) {
    if (!resumeWhenBack_ || !port_.IsOpen()) return;
    resumeWhenBack_ = false;
    // The same capture goes on: same file, nothing emptied, the count of
    // lines lost kept.
    logging_ = true;
    controls_.SetText(mw::bLogMessages, kStopLogCaption);
    ShowStatus();
    WriteNote("line back: " + std::string(device), now);
    RefreshLogControls();
}

void MessageLog::ShowStatus() {
    if (!logging_) {
        controls_.SetText(mw::lLogMessagesStatus, "");
        controls_.SetHint(mw::lLogMessagesStatus, "");
        controls_.SetAlert(mw::lLogMessagesStatus, false);
        return;
    }
    const std::string lost = linesLost_ == 0
                                 ? std::string()
                                 : " (" + std::to_string(linesLost_) +
                                       (linesLost_ == 1 ? " line lost)" : " lines lost)");
    // The label has three short lines: the whole path is in its hint.
    const std::string name = ShownFileName(loggingName_);
    const std::string text = !lastError_.empty() ? "Log write failed: " + lastError_ + lost
                             : name.empty()      ? kLoggingStatus + lost
                                                 : kLoggingStatus + (" to " + name) + lost;
    controls_.SetText(mw::lLogMessagesStatus, text);
    controls_.SetHint(mw::lLogMessagesStatus,
                      lastError_.empty()
                          ? kLoggingStatus + (" to " + FullPath(loggingName_)) + lost
                          : "Log write failed: " + FileName() + ": " + lastError_ + lost +
                                ". Free some space, or log to another " +
                                "file (Prompt for Log Filename in Logging Options).");
    controls_.SetAlert(mw::lLogMessagesStatus, !lastError_.empty());
}

void MessageLog::LogMessagesClick() {
    if (logging_) {
        Stop();
    } else if (!options_.logPromptForFilename || runLog_ || AskFileName()) {
        Start(ActiveName());
    }
    RefreshLogControls();
}

bool MessageLog::AskFileName() {
    const ConfigFile::SectionScope fileSpecs(config_, kFileSpecsSection);
    UserDialogs::FileRequest request;
    request.caption = "Log Messages To";
    request.folder = config_.ReadText(kDialogFolderKey, kDialogFolder);
    request.fileName = config_.ReadText(kDialogFileKey, "");
    request.filterIndex = config_.ReadInt(kDialogFilterKey, kDialogFilter);
    request.filters = {"Text Files (*.txt)", "Log Files (*.log)", "All Files (*)"};
    request.place = dialogPlace_;
    const std::optional<std::string> chosen = dialogs_.AskFileToWrite(request);
    dialogPlace_ = request.place;
    // Kept as chosen: on this system another case names another file.
    if (chosen && !chosen->empty()) promptedName_ = Cut(*chosen);
    // Cancelled before any name was chosen: there is nowhere to log to.
    return !promptedName_.empty();
}

void MessageLog::Start(const std::string& name) {
    loggingName_ = name;
    logging_ = true;
    resumeWhenBack_ = false;
    linesLost_ = 0;
    gapLines_ = 0;
    lastError_.clear();
    std::string error;
    if (options_.logOverWriteFile && !LogFile::Truncate(loggingName_, error)) lastError_ = error;
    controls_.SetText(mw::bLogMessages, kStopLogCaption);
    ShowStatus();
}

void MessageLog::Stop() {
    logging_ = false;
    controls_.SetText(mw::bLogMessages, kLogMessagesCaption);
    ShowStatus();
}

void MessageLog::RefreshLogControls() {
    const bool available = port_.IsOpen() && AnyCategory();
    if (!available) Stop();
    controls_.SetVisible(mw::bLogMessages, available);
    controls_.SetVisible(mw::lLogMessagesStatus, available);
    if (available && startWhenConnected_ && !logging_) {
        startWhenConnected_ = false;
        Start(RunName());  // nobody may be there to answer a prompt
    }
    const bool fileActions = !options_.logPromptForFilename && !logging_;
    for (std::string_view item : mSequenceEraseView) controls_.SetEnabled(item, fileActions);
}

void MessageLog::StartWhenConnected(std::string file) {
    runLog_ = true;
    runName_ = std::move(file);
    startWhenConnected_ = true;
    RefreshLogControls();
}

void MessageLog::SetOption(bool LogOptions::*flag, bool on) {
    options_.*flag = on;
    // The user chose how logs are named: the file --log gave the run no
    // longer stands in for the choice.
    if (flag == &LogOptions::logPromptForFilename) runLog_ = false;
    ShowOptions();
    RefreshLogControls();
}

void MessageLog::SetOverwrite(bool on) {
    SetOption(&LogOptions::logOverWriteFile, on);
}

void MessageLog::ShowOptions() {
    for (const LogOptionItem& item : kLogOptionItems)
        controls_.SetChecked(item.menuItem, options_.*item.flag);
    controls_.SetChecked(mw::mLogAppendToExistFile, !options_.logOverWriteFile);
    controls_.SetChecked(mw::mLogOverWriteFile, options_.logOverWriteFile);
}

void MessageLog::SequenceFilename() {
    if (logging_) return;
    std::string next;
    for (int tries = 0; tries < kSequenceTries && next.empty(); ++tries) {
        char name[32];
        std::snprintf(name, sizeof name, "/ZelSim%03d.log", sequenceIndex_++);
        if (!LogFile::Exists(startDirectory_ + name)) next = startDirectory_ + name;
    }
    if (next.empty())
        dialogs_.Warn("Log Filename Sequence Error", "Can't Find Available Sequenced Log Filename");
    else if (!LogFile::Rename(FileName(), next))
        dialogs_.Warn("Rename Error", "Unable to Rename Log Filename");
}

void MessageLog::EraseFile() {
    const std::string name = FileName();
    if (!LogFile::Exists(name))
        dialogs_.Warn("File Not Found", name + " does not exist");
    else if (!LogFile::Accessible(name))
        dialogs_.Warn("File Access Denied", "Can not erase " + name);
    else if (dialogs_.Ask("Erase File", "Erasing " + name + " - Are you sure?") &&
             !LogFile::Remove(name))
        dialogs_.Warn("File Access Denied", "Can not erase " + name);
}

void MessageLog::ViewFile() {
    const std::string name = FileName();
    if (!LogFile::Exists(name))
        dialogs_.Warn("File Not Found", name + " does not exist");
    else if (!dialogs_.OpenInViewer(name))
        dialogs_.Warn("File Error", "No viewer could be started for " + name +
                                        ": open it with a text editor of your choice.");
}

void MessageLog::LoadSettings(ConfigFile& file) {
    const ConfigFile::SectionScope configuration(file, ConfigFile::kConfigurationSection);
    dialogPlace_.Read(file, kDialogPlaceKeys);
    sequenceIndex_ = file.ReadInt(kSequenceKey, sequenceIndex_);
    fixedName_ = WithSlashes(file.ReadText(kFileNameKey, fixedName_));
    for (const LogOptionItem& item : kLogOptionItems)
        options_.*item.flag = file.ReadFlag(item.key, options_.*item.flag);
    options_.logOverWriteFile = file.ReadFlag(kOverwriteKey, options_.logOverWriteFile);
    ShowOptions();
    RefreshLogControls();
}

void MessageLog::SaveSettings(ConfigFile& file) const {
    const ConfigFile::SectionScope configuration(file, ConfigFile::kConfigurationSection);
    dialogPlace_.Write(file, kDialogPlaceKeys);
    file.WriteInt(kSequenceKey, sequenceIndex_);
    file.WriteText(kFileNameKey, fixedName_);
    for (const LogOptionItem& item : kLogOptionItems) file.WriteFlag(item.key, options_.*item.flag);
    file.WriteFlag(kOverwriteKey, options_.logOverWriteFile);
}

}  // namespace zelsim
