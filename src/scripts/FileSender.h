#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "base/DialogPlace.h"
#include "base/TickClock.h"
#include "scripts/FileSource.h"
#include "serial/CyclePart.h"

namespace zelsim {

class ControlTable;
class SerialPort;
class UserButtons;
class UserDialogs;

// Sends a file to the line unchanged, 200 bytes at most per cycle, paced by
// the answers: while 4 or more written lines await a response nothing more
// goes out. Every received line and valid sentence counts as a response, and
// while a file is sent the bootloader's "[Ok]" lines stay out of the monitor
// and the log, as do those that answer its last lines after it. A far end
// that stops answering fails the transfer after the stall time; "[Err]"
// answers are counted. Each transfer ends with one line in the monitor and
// the log that says how it ended. Started by bSendFile or by a script.
// Keys: "SendFileLineDelayMs", "SendFileLineRepsonseSemaphore", the two
// dialogs' places, and in "FileSpecs" the open dialog's memory and the stall
// time, written as soon as they change.
class FileSender : public CyclePart {
  public:
    static constexpr size_t kChunkSize = 200;
    static constexpr int kMaxAwaiting = 4;
    static constexpr size_t kPathLimit = 299;
    static constexpr std::string_view kResponsePrefix = "[Ok]";
    static constexpr std::string_view kErrorPrefix = "[Err]";
    static constexpr int kDefaultStallSeconds = 10;
    static constexpr uint32_t kTrailingQuietMs = 1000;
    static constexpr const char* kStallKey = "SendFileStallSeconds";
    static constexpr const char* kSendCaption = "Send File";
    static constexpr const char* kCancelCaption = "Cancel File";
    static constexpr const char* kOpenErrorCaption = "File Open Error";
    static constexpr const char* kReadErrorCaption = "File Error";

    // How the last transfer ended.
    enum class Outcome : uint8_t { kNone, kSent, kCancelled, kPortClosed, kReadFailed, kStalled };

    // A line of the program's own about a transfer: shown and logged like a
    // received line.
    using Report = std::function<void(std::string_view)>;

    // The file goes to `port`, which keeps what it cannot take at once;
    // `config` is read and written when the open dialog is used; `openFile`
    // gives the files to send; `report` records how each transfer ended.
    FileSender(ControlTable& controls, UserDialogs& dialogs, UserButtons& buttons,
               ConfigFile& config, const TickClock& clock, SerialPort& port, FileOpener openFile,
               Report report);

    // bClickSendFile: cancels a transfer, or lets the user choose a file and
    // sends it; refused while a script runs.
    void SendFileClicked();
    // bClickCancelFile, and the Cancel Button while the panel shows.
    void Cancel();

    std::unique_ptr<FileSource> Open(const std::string& path, std::string& why) const;
    // "Unable to open file - PATH", with the reason when it is known.
    static std::string UnableToOpen(const std::string& path, const std::string& why);
    // Sends `file`, named by the current path; the panel shows its size and time.
    void Start(std::unique_ptr<FileSource> file);
    // One cycle's work: at most one read or one write.
    void Step(uint32_t now);

    // A complete line or valid sentence came in.
    void ResponseReceived(uint32_t now);
    // A received line kept out of the monitor and the log.
    bool Hides(std::string_view line) const;

    // Every received line the framer took for no sentence, shown or withheld.
    void RawLineFramed(std::string_view line, uint32_t now) override;
    void SentenceFramed(SentenceFramer& /*sentence*/, uint32_t now) override {
        ResponseReceived(now);
    }
    // Asked for each received line before it is shown and logged.
    bool HidesReceivedLine(std::string_view line) const override { return Hides(line); }
    void AfterRead(uint32_t now) override { Step(now); }
    // Every cycle while a file goes out, and once its trailing replies
    // have gone quiet.
    uint32_t NextStepIn(uint32_t now) const override;
    void LoadSettings(ConfigFile& file) override;
    void SaveSettings(ConfigFile& file) const override;

    // The last file named by a script or chosen in the dialog, cut to 299
    // characters; a script's "%f" shows it.
    const std::string& CurrentPath() const { return currentPath_; }
    void SetCurrentPath(std::string_view path);

    bool Sending() const { return sending_; }
    Outcome LastOutcome() const { return outcome_; }
    int Awaiting() const { return awaiting_; }
    uint64_t FileSize() const { return fileSize_; }
    uint64_t BytesSent() const { return bytesSent_; }
    int ErrorAnswers() const { return errorAnswers_; }

    // bClickSendFilePopup edits these; refused while sending.
    bool LineDelayEditable() const { return !sending_; }
    int LineDelay() const { return lineDelay_; }
    void SetLineDelay(int ms) { lineDelay_ = ms; }
    // Seconds without an answer while lines await one before a transfer
    // fails; 0 waits for ever. Kept in "FileSpecs" at once.
    int StallSeconds() const { return stallSeconds_; }
    void SetStallSeconds(int seconds);
    int PopupLeft() const { return popupLeft_; }
    int PopupTop() const { return popupTop_; }
    void SetPopupPlace(int left, int top) {
        popupLeft_ = left;
        popupTop_ = top;
    }

  private:
    void ReadChunk();
    bool HoldsPartLineOnly() const;
    void WriteChunk(uint32_t now);
    // `why` says what went wrong for the failed outcomes.
    void Finish(Outcome outcome, const std::string& why = "");
    std::string Record(Outcome outcome, const std::string& why) const;
    void ShowFileLine();
    // What the dialogs chose, on disk now: a killed program keeps it.
    void SaveFileSpecs();

    ControlTable& controls_;
    UserDialogs& dialogs_;
    UserButtons& buttons_;
    ConfigFile& config_;
    const TickClock& clock_;
    SerialPort& port_;
    FileOpener openFile_;
    const Report report_;

    std::string currentPath_;
    std::unique_ptr<FileSource> file_;
    bool sending_ = false;
    Outcome outcome_ = Outcome::kNone;
    uint64_t fileSize_ = 0;
    uint64_t bytesSent_ = 0;
    std::array<uint8_t, kChunkSize> chunk_{};
    size_t pending_ = 0;
    bool fileEnded_ = false;  // the file has no more to read
    int awaiting_ = 0;
    uint32_t startTime_ = 0;
    uint32_t lastProgress_ = 0;  // the last write or answer
    int errorAnswers_ = 0;
    // The answers to the last lines of a transfer that has ended are still
    // on their way (and other lines count as answers too, so their number is
    // not known): "[Ok]" lines stay hidden until a second passes without one.
    bool trailing_ = false;
    uint32_t lastTrailing_ = 0;
    int stallSeconds_ = kDefaultStallSeconds;

    int lineDelay_ = 0;
    // Always on: the answers pace the file, and the line delay only cuts
    // the writes to one line each.
    bool responseSemaphore_ = true;
    int popupLeft_ = 0;
    int popupTop_ = 0;
    DialogPlace dialogPlace_{50, 50, 200, 200};
};

}  // namespace zelsim
