#pragma once
#include <cstdint>
#include <ctime>
#include <functional>
#include <string>
#include <string_view>

#include "base/DialogPlace.h"
#include "base/LocalTime.h"
#include "monitor/LogOptions.h"
#include "serial/CyclePart.h"

namespace zelsim {

class ConfigFile;
class ControlTable;
class SerialPort;
class UserDialogs;

// The message log: while logging is on, every shown line of a chosen
// category, received or sent, is appended to a text file with the chosen
// columns, the file opened and closed around each line. The "Log Messages"
// button, its status label and the "Logging Options" menu are its controls.
// A line that cannot be written is counted and said in the status label,
// never swallowed. Keys: the log's in "Configuration"; "FileSpecs" is read
// when the file dialog opens.
class MessageLog : public CyclePart {
  public:
    static constexpr const char* kDefaultFileName = "./ZelSim.log";
    static constexpr const char* kLogMessagesCaption = "Log Messages";
    static constexpr const char* kStopLogCaption = "Stop Log";
    static constexpr const char* kLoggingStatus = "Logging Messages";
    static constexpr int kSequenceTries = 900;
    static constexpr size_t kNameLimit = 299;

    // `config` is read for the file dialog's memory; `startDirectory` is
    // where sequenced names go.
    MessageLog(ControlTable& controls, UserDialogs& dialogs, ConfigFile& config,
               const SerialPort& port, std::string startDirectory, LocalTimeSource localTime);

    // LogLine: every line shown, received or sent.
    void LineShown(const TrafficLine& line) override;
    void LoadSettings(ConfigFile& file) override;
    void SaveSettings(ConfigFile& file) const override;

    // bClickLogMessages
    void LogMessagesClick();
    // A menu item's toggle handler.
    void SetOption(bool LogOptions::*flag, bool on);
    // mLogAppendToExistFileClick / mLogOverWriteFileClick
    void SetOverwrite(bool on);
    // mLogSequenceFilenameClick
    void SequenceFilename();
    // mLogEraseFileClick
    void EraseFile();
    // mLogViewFileClick
    void ViewFile();
    // After a change of the options, the connection or logging itself.
    void RefreshLogControls();
    // --log: logging starts, as the button would start it but without a
    // question, as soon as the port is open; to `file`, or with none to the
    // configured name (never the prompted one: nobody is there to answer).
    void StartWhenConnected(std::string file);

    // The device went away under an open port: the log says so in one
    // line, and when the line is to be reopened by itself, logging that was
    // on resumes with it (LineBack). An unattended capture survives a
    // glitch of the adapter.
    // Each note carries the tick `now` of its event.
    void LineLost(std::string_view device, bool reconnecting, uint32_t now);
    // The lost device is back and the port open again.
    void LineBack(std::string_view device, uint32_t now);
    // The user took the line in hand (Connect or Disconnect): a capture
    // stopped by a lost device no longer resumes by itself.
    void ForgetResume() { resumeWhenBack_ = false; }

    bool Logging() const { return logging_; }
    const LogOptions& Options() const { return options_; }
    // The file logging writes to (chosen when it started), and that
    // sequencing, erasing and viewing act on.
    std::string FileName() const;
    // The file's name as the status label shows it: without its folder,
    // a long one cut in the middle.
    static std::string ShownFileName(const std::string& path);
    uint64_t LinesLost() const { return linesLost_; }
    int SequenceIndex() const { return sequenceIndex_; }

  private:
    const std::string& ActiveName() const;
    // The file --log gave, or the configured name when it gave none.
    const std::string& RunName() const;
    bool Logs(uint8_t category) const;
    bool AnyCategory() const;
    void Start(const std::string& name);
    void Stop();
    void ShowOptions();
    void ShowStatus();
    bool AskFileName();
    void Write(std::string_view line);
    // `text` with the date, time, tick and direction columns the options
    // ask for.
    void Compose(std::string& out, std::string_view text, uint32_t tick,
                 LineDirection direction) const;
    // One line of the log's own about the log (a gap, the line lost or
    // back): written whatever the category filters say.
    void WriteNote(std::string_view text, uint32_t tick);
    std::string NowText() const;

    ControlTable& controls_;
    UserDialogs& dialogs_;
    ConfigFile& config_;
    const SerialPort& port_;
    std::string startDirectory_;
    LocalTimeSource localTime_;
    LogOptions options_;
    bool logging_ = false;
    bool startWhenConnected_ = false;
    bool resumeWhenBack_ = false;
    std::string fixedName_ = kDefaultFileName;
    std::string promptedName_;  // the dialog's last choice; empty at start-up
    bool runLog_ = false;       // --log was given
    std::string runName_;       // --log FILE, for this run only
    // Where logging writes: chosen when it starts, so that an option
    // changed meanwhile takes effect at the next start.
    std::string loggingName_;
    int sequenceIndex_ = 1;
    DialogPlace dialogPlace_{50, 50, 200, 200};
    uint64_t linesLost_ = 0;
    std::string lastError_;  // empty while the last line was written
    // The lines lost since the last one written, and when that began.
    uint64_t gapLines_ = 0;
    std::string gapStart_;
    uint32_t lastTick_ = 0;
    std::string line_;  // reused, so a line costs no allocation
};

}  // namespace zelsim
