#include "scripts/FileSender.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "base/ConfigFile.h"
#include "base/ControlTable.h"
#include "base/MainWindowControls.h"
#include "base/UserDialogs.h"
#include "scripts/UserButtons.h"
#include "serial/SerialPort.h"

namespace zelsim {

namespace {
namespace mw = main_window;

constexpr const char* kPopupLeftKey = "SendFilePopupLeft";
constexpr const char* kPopupTopKey = "SendFilePopupTop";
constexpr const char* kLineDelayKey = "SendFileLineDelayMs";
// Spelled as the files have always held it.
constexpr const char* kSemaphoreKey = "SendFileLineRepsonseSemaphore";
constexpr const char* kDialogPlaceKeys = "FileDialogWindow";

constexpr const char* kFileSpecsSection = "FileSpecs";
constexpr const char* kFolderKey = "SendFilePath";
constexpr const char* kFileNameKey = "SendFileFileName";
constexpr const char* kFilterKey = "SendFileFilterIndex";
constexpr const char* kDefaultFolder = ".";
constexpr int kDefaultFilter = 4;  // all files

constexpr int kProgressMaximum = 100;
constexpr uint8_t kLineFeed = 10;
}  // namespace

FileSender::FileSender(ControlTable& controls, UserDialogs& dialogs, UserButtons& buttons,
                       ConfigFile& config, const TickClock& clock, SerialPort& port,
                       FileOpener openFile, Report report)
    : controls_(controls),
      dialogs_(dialogs),
      buttons_(buttons),
      config_(config),
      clock_(clock),
      port_(port),
      openFile_(std::move(openFile)),
      report_(std::move(report)) {
    controls_.SetText(mw::bSendFile, kSendCaption);
    controls_.SetEnabled(mw::bSendFile, true);
    controls_.SetVisible(mw::pFileSendPanel, false);
    controls_.SetText(mw::bCancelFile, kCancelCaption);
    controls_.SetBar(mw::pbSendFile, 0, kProgressMaximum);
}

void FileSender::SetCurrentPath(std::string_view path) {
    currentPath_ = path.substr(0, kPathLimit);
}

std::unique_ptr<FileSource> FileSender::Open(const std::string& path, std::string& why) const {
    why.clear();
    if (!openFile_) return nullptr;
    return openFile_(path, why);
}

void FileSender::SendFileClicked() {
    if (sending_) {
        Cancel();
        return;
    }
    // Idle but busy: a script runs, and its lines would mix with the file.
    if (buttons_.Busy()) return;
    file_.reset();

    const ConfigFile::SectionScope fileSpecs(config_, kFileSpecsSection);
    UserDialogs::FileRequest request;
    request.caption = "Select file to Send";
    request.folder = config_.ReadText(kFolderKey, kDefaultFolder);
    request.fileName = config_.ReadText(kFileNameKey, "");
    request.filterIndex = config_.ReadInt(kFilterKey, kDefaultFilter);
    request.filters = {"Text files (*.txt)", "Hex Files (*.hex)", "A90 Hex files (*.a90)",
                       "All files (*)"};
    request.place = dialogPlace_;
    const std::optional<std::string> chosen = dialogs_.AskFileToOpen(request);
    dialogPlace_ = request.place;
    if (!chosen || chosen->empty()) return;

    // Kept as chosen: on this system another case names another file.
    SetCurrentPath(*chosen);
    const size_t slash = chosen->rfind('/');
    const std::string folder = slash == std::string::npos ? "" : chosen->substr(0, slash + 1);
    std::string why;
    std::unique_ptr<FileSource> file = Open(*chosen, why);
    if (!file) {
        dialogs_.Warn(kOpenErrorCaption, UnableToOpen(currentPath_, why));
        return;
    }
    controls_.SetText(mw::bSendFile, kCancelCaption);
    config_.WriteText(kFolderKey, folder);
    config_.WriteText(kFileNameKey, *chosen);
    config_.WriteInt(kFilterKey, request.filterIndex);
    SaveFileSpecs();
    Start(std::move(file));
}

std::string FileSender::UnableToOpen(const std::string& path, const std::string& why) {
    return "Unable to open file - " + path + (why.empty() ? "" : ": " + why);
}

void FileSender::SaveFileSpecs() {
    // A failure is said when the whole file is written at the end.
    static_cast<void>(config_.Save());
}

void FileSender::SetStallSeconds(int seconds) {
    stallSeconds_ = std::max(seconds, 0);
    const ConfigFile::SectionScope fileSpecs(config_, kFileSpecsSection);
    config_.WriteInt(kStallKey, stallSeconds_);
    SaveFileSpecs();
}

void FileSender::Start(std::unique_ptr<FileSource> file) {
    file_ = std::move(file);
    controls_.SetText(mw::bSendFile, kCancelCaption);
    controls_.SetEnabled(mw::bSendFile, true);  // a script had disabled it
    fileSize_ = file_ ? file_->Size() : 0;
    bytesSent_ = 0;
    errorAnswers_ = 0;
    controls_.SetBar(mw::pbSendFile, 0, kProgressMaximum);
    ShowFileLine();
    // The size line shows the file being sent, whoever started it.
    char size[32];
    std::snprintf(size, sizeof size, "%llu bytes  ", static_cast<unsigned long long>(fileSize_));
    std::string modified = file_ ? file_->ModifiedText() : "";
    if (!modified.empty() && modified.back() == '\n') modified.pop_back();
    controls_.SetText(mw::lSendFileInfoPB, size + modified);
    controls_.SetVisible(mw::pFileSendPanel, true);
    pending_ = 0;
    fileEnded_ = false;
    sending_ = true;
    outcome_ = Outcome::kNone;
    awaiting_ = 0;
    trailing_ = false;
    startTime_ = clock_.TickNow();
    lastProgress_ = startTime_;
    buttons_.EnterBusy(UserButtons::kFileSending);
}

void FileSender::ShowFileLine() {
    std::string text = "sending file   -   " + currentPath_;
    if (errorAnswers_ > 0)
        text += "   (" + std::to_string(errorAnswers_) +
                (errorAnswers_ == 1 ? " [Err] answer)" : " [Err] answers)");
    controls_.SetText(mw::lSendFilePB, text);
}

uint32_t FileSender::NextStepIn(uint32_t now) const {
    if (sending_) return 0;
    if (trailing_) return TickClock::Remaining(now, lastTrailing_, kTrailingQuietMs);
    return kNoStep;
}

void FileSender::Step(uint32_t now) {
    if (!sending_) {
        if (trailing_ && TickClock::Elapsed(now, lastTrailing_, kTrailingQuietMs))
            trailing_ = false;
        return;
    }
    if (!port_.IsOpen()) {
        Finish(Outcome::kPortClosed);
        return;
    }
    if (awaiting_ > 0 && stallSeconds_ > 0 &&
        TickClock::Elapsed(now, lastProgress_, static_cast<uint32_t>(stallSeconds_) * 1000u)) {
        char why[96];
        std::snprintf(why, sizeof why, "no answer for %d s with %d %s unanswered", stallSeconds_,
                      awaiting_, awaiting_ == 1 ? "line" : "lines");
        const std::string record = Record(Outcome::kStalled, why);
        Finish(Outcome::kStalled, why);
        dialogs_.Warn(kReadErrorCaption, record +
                                             ". The device stopped answering: check it and "
                                             "send the file again.");
        return;
    }
    // A new chunk is written from the next cycle on. A line cut by the
    // chunk's end is topped up first, so that every write ends at a line
    // end and what else the program sends falls between whole lines.
    if (pending_ == 0 || HoldsPartLineOnly()) {
        ReadChunk();
        return;
    }
    if (awaiting_ >= kMaxAwaiting) return;
    WriteChunk(now);
}

bool FileSender::HoldsPartLineOnly() const {
    return !fileEnded_ && pending_ < chunk_.size() &&
           std::memchr(chunk_.data(), kLineFeed, pending_) == nullptr;
}

void FileSender::ReadChunk() {
    const long n = file_ ? file_->Read(chunk_.data() + pending_, chunk_.size() - pending_) : 0;
    if (n > 0) {
        pending_ += static_cast<size_t>(n);
        return;
    }
    if (n == 0) {
        fileEnded_ = true;
        // The last line had no line end: it still goes.
        if (pending_ == 0) Finish(Outcome::kSent);
        return;
    }
    // Never ends as if sent: the device holds only part of the file.
    const std::string why = file_->Error();
    const uint64_t sent = bytesSent_;
    Finish(Outcome::kReadFailed, why);
    char counts[80];
    std::snprintf(counts, sizeof counts, ". Only %llu of %llu bytes were sent.",
                  static_cast<unsigned long long>(sent),
                  static_cast<unsigned long long>(fileSize_));
    dialogs_.Warn(kReadErrorCaption, "Unable to read file - " + currentPath_ + ": " + why + counts);
}

void FileSender::WriteChunk(uint32_t now) {
    size_t planned = pending_;
    if (lineDelay_ != 0) {
        // With a line delay, one line per write: each waits for its own answer.
        const void* lineEnd = std::memchr(chunk_.data(), kLineFeed, pending_);
        if (lineEnd != nullptr)
            planned = static_cast<size_t>(static_cast<const uint8_t*>(lineEnd) - chunk_.data()) + 1;
    } else if (!fileEnded_) {
        // Whole lines only; the part line after them waits for its rest. A
        // line longer than the chunk has no end in it and goes in pieces.
        const uint8_t* last = chunk_.data() + pending_;
        while (last != chunk_.data() && last[-1] != kLineFeed) --last;
        if (last != chunk_.data()) planned = static_cast<size_t>(last - chunk_.data());
    }
    const size_t written = std::min(port_.Write(chunk_.data(), planned), planned);
    const int lines =
        static_cast<int>(std::count(chunk_.data(), chunk_.data() + written, kLineFeed));
    // The stall clock runs from the first line that awaits an answer.
    if (awaiting_ == 0 && lines > 0) lastProgress_ = now;
    awaiting_ += lines;
    bytesSent_ += written;
    // A file that grew while it was sent must not run the bar past its end.
    const uint64_t percent = fileSize_ == 0 ? 0 : bytesSent_ * kProgressMaximum / fileSize_;
    controls_.SetBar(mw::pbSendFile,
                     static_cast<int>(std::min<uint64_t>(percent, kProgressMaximum)),
                     kProgressMaximum);
    // What the port did not take goes again at the next cycle.
    if (written < pending_)
        std::memmove(chunk_.data(), chunk_.data() + written, pending_ - written);
    pending_ -= written;
}

void FileSender::Cancel() {
    if (!sending_) return;
    Finish(Outcome::kCancelled);
}

std::string FileSender::Record(Outcome outcome, const std::string& why) const {
    const auto sent = static_cast<unsigned long long>(bytesSent_);
    const auto size = static_cast<unsigned long long>(fileSize_);
    char text[160];
    switch (outcome) {
        case Outcome::kSent: {
            const uint32_t ms = clock_.TickNow() - startTime_;
            const unsigned long long rate = bytesSent_ * 1000u / std::max<uint32_t>(ms, 1);
            std::snprintf(text, sizeof text, ", %llu bytes in %.1f s (%llu bytes/s)", sent,
                          ms / 1000.0, rate);
            std::string record = "File sent: " + currentPath_ + text;
            if (errorAnswers_ > 0) record += ", " + std::to_string(errorAnswers_) + " [Err]";
            return record;
        }
        case Outcome::kCancelled:
            std::snprintf(text, sizeof text, " after %llu of %llu bytes", sent, size);
            return "File cancelled: " + currentPath_ + text;
        case Outcome::kPortClosed:
            std::snprintf(text, sizeof text, "the port closed after %llu of %llu bytes", sent,
                          size);
            return "File failed: " + currentPath_ + ": " + text;
        case Outcome::kReadFailed:
        case Outcome::kStalled:
            std::snprintf(text, sizeof text, " after %llu of %llu bytes", sent, size);
            return "File failed: " + currentPath_ + ": " + why + text;
        case Outcome::kNone:
            break;
    }
    return "";
}

void FileSender::Finish(Outcome outcome, const std::string& why) {
    const std::string record = Record(outcome, why);
    sending_ = false;
    outcome_ = outcome;
    file_.reset();
    pending_ = 0;
    // The answers to the last lines are still on their way: they are kept
    // out of the monitor as those during the transfer were.
    trailing_ = outcome != Outcome::kPortClosed;
    lastTrailing_ = clock_.TickNow();
    controls_.SetText(mw::bSendFile, kSendCaption);
    controls_.SetVisible(mw::pFileSendPanel, false);
    buttons_.LeaveBusy(UserButtons::kFileSending);
    // A script that goes on after its file keeps the button for its run.
    controls_.SetEnabled(mw::bSendFile, !buttons_.BusyWith(UserButtons::kScriptRunning));
    report_(record);
}

void FileSender::RawLineFramed(std::string_view line, uint32_t now) {
    if (sending_ && line.starts_with(kErrorPrefix)) {
        ++errorAnswers_;
        ShowFileLine();
    }
    if (trailing_ && line.starts_with(kResponsePrefix)) lastTrailing_ = now;
    ResponseReceived(now);
}

void FileSender::ResponseReceived(uint32_t now) {
    if (!sending_ || !responseSemaphore_) return;
    if (awaiting_ > 0) --awaiting_;
    lastProgress_ = now;
}

bool FileSender::Hides(std::string_view line) const {
    return (sending_ || trailing_) && responseSemaphore_ && line.starts_with(kResponsePrefix);
}

void FileSender::LoadSettings(ConfigFile& file) {
    const ConfigFile::SectionScope configuration(file, ConfigFile::kConfigurationSection);
    popupLeft_ = file.ReadInt(kPopupLeftKey, popupLeft_);
    popupTop_ = file.ReadInt(kPopupTopKey, popupTop_);
    lineDelay_ = file.ReadInt(kLineDelayKey, lineDelay_);
    // kSemaphoreKey is not taken: the answers always pace the file.
    dialogPlace_.Read(file, kDialogPlaceKeys);
    const ConfigFile::SectionScope fileSpecs(file, kFileSpecsSection);
    stallSeconds_ = std::max(file.ReadInt(kStallKey, stallSeconds_), 0);
}

void FileSender::SaveSettings(ConfigFile& file) const {
    const ConfigFile::SectionScope configuration(file, ConfigFile::kConfigurationSection);
    file.WriteInt(kPopupLeftKey, popupLeft_);
    file.WriteInt(kPopupTopKey, popupTop_);
    file.WriteInt(kLineDelayKey, lineDelay_);
    file.WriteFlag(kSemaphoreKey, responseSemaphore_);
    dialogPlace_.Write(file, kDialogPlaceKeys);
    const ConfigFile::SectionScope fileSpecs(file, kFileSpecsSection);
    file.WriteInt(kStallKey, stallSeconds_);
}

}  // namespace zelsim
