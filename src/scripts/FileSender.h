#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "base/DialogPlace.h"
#include "scripts/FileSource.h"
#include "serial/CyclePart.h"

namespace zelsim {

class ControlTable;
class UserButtons;
class UserDialogs;

// Sends a file to the line unchanged, 200 bytes at most per cycle, paced by
// the answers: while 4 or more written lines await a response nothing more
// goes out. Every received line and valid sentence counts as a response, and
// while a file is sent the bootloader's "[Ok]" lines stay out of the monitor
// and the log. Started by bSendFile or by a script. Keys: "SendFileLineDelayMs",
// "SendFileLineRepsonseSemaphore", the two dialogs' places, and the open
// dialog's memory in "FileSpecs".
class FileSender : public CyclePart {
  public:
    static constexpr size_t kChunkSize = 200;
    static constexpr int kMaxAwaiting = 4;
    static constexpr size_t kPathLimit = 299;
    static constexpr std::string_view kResponsePrefix = "[Ok]";
    static constexpr const char* kSendCaption = "Send File";
    static constexpr const char* kCancelCaption = "Cancel File";
    static constexpr const char* kOpenErrorCaption = "File Open Error";
    static constexpr const char* kReadErrorCaption = "File Error";

    // How the last transfer ended.
    enum class Outcome : uint8_t { kNone, kSent, kCancelled, kPortClosed, kReadFailed };

    // `config` is read and written when the open dialog is used; `openFile`
    // gives the files to send.
    FileSender(ControlTable& controls, UserDialogs& dialogs, UserButtons& buttons,
               ConfigFile& config, FileOpener openFile);

    // The line: whether the port is open, and a write that returns how many
    // bytes the port took. Without them the port counts as closed.
    std::function<bool()> portOpen;
    std::function<size_t(const uint8_t*, size_t)> write;

    // bClickSendFile: cancels a transfer, or lets the user choose a file and
    // sends it; refused while a script runs.
    void SendFileClicked();
    // bClickCancelFile, and the Cancel Button while the panel shows.
    void Cancel();

    std::unique_ptr<FileSource> Open(const std::string& path, std::string& why) const;
    // Sends `file`, named by the current path. A script's transfer also
    // shows the file's size and time.
    void Start(std::unique_ptr<FileSource> file, bool byScript);
    // One cycle's work: at most one read or one write.
    void Step();

    // A complete line or valid sentence came in.
    void ResponseReceived();
    // A received line kept out of the monitor and the log.
    bool Hides(std::string_view line) const;

    // Every received line the framer took for no sentence, shown or withheld.
    void RawLineFramed(std::string_view /*line*/, uint32_t /*now*/) override { ResponseReceived(); }
    void SentenceFramed(SentenceFramer& /*sentence*/, uint32_t /*now*/) override {
        ResponseReceived();
    }
    // Asked for each received line before it is shown and logged.
    bool HidesReceivedLine(std::string_view line) const override { return Hides(line); }
    void AfterRead(uint32_t /*now*/) override { Step(); }
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

    // bClickSendFilePopup edits these; refused while sending.
    bool LineDelayEditable() const { return !sending_; }
    int LineDelay() const { return lineDelay_; }
    void SetLineDelay(int ms) { lineDelay_ = ms; }
    int PopupLeft() const { return popupLeft_; }
    int PopupTop() const { return popupTop_; }
    void SetPopupPlace(int left, int top) {
        popupLeft_ = left;
        popupTop_ = top;
    }

  private:
    void ReadChunk();
    bool HoldsPartLineOnly() const;
    void WriteChunk();
    void Finish(Outcome outcome);

    ControlTable& controls_;
    UserDialogs& dialogs_;
    UserButtons& buttons_;
    ConfigFile& config_;
    FileOpener openFile_;

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

    int lineDelay_ = 0;
    // Always on: the answers pace the file, and the line delay only cuts
    // the writes to one line each.
    bool responseSemaphore_ = true;
    int popupLeft_ = 0;
    int popupTop_ = 0;
    DialogPlace dialogPlace_{50, 50, 200, 200};
};

}  // namespace zelsim
