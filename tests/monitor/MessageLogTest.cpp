#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "base/ControlTable.h"
#include "base/MainWindowControls.h"
#include "base/NmeaChecksum.h"
#include "monitor/LogOptions.h"
#include "monitor/MessageCategory.h"
#include "monitor/MessageLog.h"
#include "serial/MemorySerialDevice.h"
#include "serial/PortMap.h"
#include "serial/SerialPort.h"
#include "support/ConfigText.h"
#include "support/FileSizeLimit.h"
#include "support/RecordingDialogs.h"

namespace zelsim {

namespace {
namespace mw = main_window;

std::tm FixedTime() {
    std::tm t{};
    t.tm_year = 126;  // 2026
    t.tm_mon = 0;
    t.tm_mday = 2;
    t.tm_hour = 4;
    t.tm_min = 5;
    t.tm_sec = 6;
    return t;
}

class MessageLogTest : public ::testing::Test {
  protected:
    MessageLogTest() {
        ports_.SetExplicit(1, "/dev/ttyTEST1");
        port_.Open(1, 38400);
        Load("");
    }

    // A fresh log on `keys`, logging to ZelSim.log in the test's folder
    // unless they name another file.
    void Load(const std::string& keys) {
        config_ = std::make_unique<ConfigFile>(
            // The first of two keys counts: a name in `keys` wins.
            ConfigWith(dir_, "[Configuration]\n" + keys + "LogFileNameNoPrompt=" + file_ + "\n"));
        log_ = std::make_unique<MessageLog>(controls_, dialogs_, *config_, port_, dir_.Path(),
                                            FixedTime);
        log_->LoadSettings(*config_);
    }
    void Show(std::string_view text, uint8_t category, uint32_t time = 1234,
              LineDirection direction = LineDirection::kReceived) {
        log_->LineShown({text, category, time, direction});
    }
    std::string Logged() const { return TempDir::Read(file_); }
    const ControlState& Control(std::string_view name) const { return controls_.Get(name); }

    ControlTable controls_;
    RecordingDialogs dialogs_;
    TempDir dir_;
    std::string file_ = dir_.File("ZelSim.log");
    PortMap ports_;
    SerialPort port_{MemorySerialDevice::Plug(std::make_shared<MemorySerialDevice>()), ports_};
    std::unique_ptr<ConfigFile> config_;
    std::unique_ptr<MessageLog> log_;
};

const char* kColumnsOff = "LogDate=0\nLogTime=0\nLogMsTickCount=0\n";

TEST_F(MessageLogTest, ColumnsAreDateTimeUnsignedTickTextAndChecksumButNeverForRawLines) {
    Load("LogNmeaChecksum=1\n");
    log_->LogMessagesClick();
    // Past 2^31 milliseconds of uptime: printed unsigned, not negative.
    Show("$GPGGA,1", MessageCategory::kDgps, 3'000'000'000u);
    Show("$GPGGA,1*00 broken", MessageCategory::kNonNmea, 7);
    EXPECT_EQ(Logged(),
              "01/02/26,04:05:06,3000000000,$GPGGA,1*4B\r\n"
              "01/02/26,04:05:06,7,$GPGGA,1*00 broken\r\n");
}

// Categories choose what is logged; sent text is judged by its content and
// summed as the program wrote it, before the writer added a checksum.
TEST_F(MessageLogTest, ChosenCategoriesOnlyAndSentTextByItsContent) {
    Load(std::string(kColumnsOff) +
         "LogNmeaChecksum=1\nLogDgpsMessages=1\nLogZelMessages=0\nLogDormalynMessages=1\n"
         "LogLightBarMessages=0\nLogOtherMessages=0\nLogNonNmeaMessages=0\n");
    log_->LogMessagesClick();
    Show("$GPGGA,1", MessageCategory::kDgps);
    Show("$PKVTS,TXT,0,HELLO", MessageCategory::kZel);
    Show("$PKVTQ,DML,SET1", MessageCategory::kOutGoing);
    Show("$PKVTK,3", MessageCategory::kOutZel);
    Show("hello", MessageCategory::kNonNmea);
    Show("$GPGGA", MessageCategory::kShort);
    EXPECT_EQ(Logged(), "$GPGGA,1*4B\r\n$PKVTQ,DML,SET1*7E\r\n");
}

// A query the program sent and the same text echoed back by the far end read
// apart; the program's own notes went neither way. The column is off unless
// chosen, so files and their readers stay as they were.
TEST_F(MessageLogTest, DirectionColumnMarksWhichWayEachLineWentNextToTheText) {
    Load("LogDirection=1\nLogNmeaChecksum=1\nLogDate=0\nLogTime=0\n");
    EXPECT_TRUE(Control(mw::mLogDirection).checked);
    log_->LogMessagesClick();
    Show("$PKVTQ,RID", MessageCategory::kOutGoing, 10, LineDirection::kSent);
    Show("$PKVTQ,RID", MessageCategory::kDgps, 20, LineDirection::kReceived);
    Show("File sent: fw.hex", MessageCategory::kNonNmea, 30, LineDirection::kNote);
    log_->LineLost("COM1 (/dev/ttyTEST1)", false, 40);
    EXPECT_EQ(Logged(),
              "10,>,$PKVTQ,RID*3B\r\n"
              "20,<,$PKVTQ,RID*3B\r\n"
              "30,-,File sent: fw.hex\r\n"
              "40,-,line lost: COM1 (/dev/ttyTEST1)\r\n");
    const std::string saved = SavedConfig(dir_, [&](ConfigFile& out) { log_->SaveSettings(out); });
    EXPECT_NE(saved.find("LogDirection=1\n"), std::string::npos) << saved;
}

// While logging, the label names the file; a long name is cut in the middle
// so that its ending stays, and the whole path is under the pointer.
TEST_F(MessageLogTest, TheStatusNamesTheFileAndItsHintTheWholePath) {
    log_->LogMessagesClick();
    const ControlState& status = Control(mw::lLogMessagesStatus);
    EXPECT_EQ(status.text, "Logging Messages to ZelSim.log");
    EXPECT_EQ(status.hint, "Logging Messages to " + file_);

    const std::string longName = dir_.File("tractor-field-trial-north-0417.log");
    Load("LogFileNameNoPrompt=" + longName + "\n");
    log_->LogMessagesClick();
    EXPECT_EQ(status.text, "Logging Messages to tractor-f...h-0417.log");
    EXPECT_EQ(status.hint, "Logging Messages to " + longName);
    log_->LogMessagesClick();
    EXPECT_EQ(status.text, "");
    EXPECT_EQ(status.hint, "");

    // A name relative to the folder the program runs in is shown in the hint
    // as where the file really is.
    Load("LogFileNameNoPrompt=./sub/../rig.log\n");
    log_->LogMessagesClick();
    EXPECT_EQ(status.text, "Logging Messages to rig.log");
    EXPECT_EQ(
        status.hint,
        "Logging Messages to " +
            (std::filesystem::canonical(std::filesystem::current_path()) / "rig.log").string());
}

TEST_F(MessageLogTest, TheButtonShowsWhileConnectedWithACategoryAndLoggingStopsWithout) {
    EXPECT_TRUE(Control(mw::bLogMessages).visible);
    EXPECT_TRUE(Control(mw::mLogEraseFile).enabled);
    log_->LogMessagesClick();
    EXPECT_EQ(Control(mw::bLogMessages).text, "Stop Log");
    EXPECT_EQ(Control(mw::lLogMessagesStatus).text, "Logging Messages to ZelSim.log");
    EXPECT_FALSE(Control(mw::mLogEraseFile).enabled) << "not on the file being written";

    port_.Close();
    log_->RefreshLogControls();
    EXPECT_FALSE(log_->Logging());
    EXPECT_FALSE(Control(mw::bLogMessages).visible);
    EXPECT_EQ(Control(mw::bLogMessages).text, "Log Messages");
    EXPECT_EQ(Control(mw::lLogMessagesStatus).text, "");

    port_.Open(1, 38400);
    log_->RefreshLogControls();
    log_->LogMessagesClick();
    for (const LogOptionItem& item : kLogOptionItems)
        if (std::string_view(item.key).ends_with("Messages")) log_->SetOption(item.flag, false);
    EXPECT_FALSE(log_->Logging());
    EXPECT_FALSE(Control(mw::bLogMessages).visible);
}

// The dialog starts from its memory and stands where it last stood; the
// name is kept as chosen. Cancelled before any name was chosen, there is
// nowhere to log to: logging stays off.
TEST_F(MessageLogTest, APromptedNameIsKeptAsChosenAndACancelledFirstPromptLogsNothing) {
    Load(
        "LogPromptForFilename=1\nLogDialogWindowLeft=70\n[FileSpecs]\nLogFilePath=/logs\n"
        "LogFileFilterIndex=3\n");
    EXPECT_FALSE(Control(mw::mLogSequenceFilename).enabled);
    log_->LogMessagesClick();
    EXPECT_FALSE(log_->Logging());
    EXPECT_EQ(Control(mw::bLogMessages).text, "Log Messages");
    ASSERT_EQ(dialogs_.fileRequests.size(), 1u);
    EXPECT_EQ(dialogs_.fileRequests[0].folder, "/logs");
    EXPECT_EQ(dialogs_.fileRequests[0].filterIndex, 3);
    EXPECT_EQ(dialogs_.fileRequests[0].place.left, 70);

    dialogs_.fileChoice = dir_.File("Rig-A.LOG");
    dialogs_.movedBy = 5;
    log_->LogMessagesClick();
    ASSERT_TRUE(log_->Logging());
    EXPECT_EQ(log_->FileName(), dir_.File("Rig-A.LOG"));
    Show("x", MessageCategory::kNonNmea);
    EXPECT_NE(TempDir::Read(dir_.File("Rig-A.LOG")).find(",x\r\n"), std::string::npos);

    log_->LogMessagesClick();
    dialogs_.fileChoice.reset();  // cancelled now: the last name is used again
    log_->LogMessagesClick();
    EXPECT_TRUE(log_->Logging());
    EXPECT_EQ(log_->FileName(), dir_.File("Rig-A.LOG"));
    const std::string saved = SavedConfig(dir_, [&](ConfigFile& out) { log_->SaveSettings(out); });
    EXPECT_NE(saved.find("LogDialogWindowLeft=75\n"), std::string::npos) << saved;
}

TEST_F(MessageLogTest, OverwriteEmptiesTheFileWhenLoggingStartsAppendKeepsIt) {
    Load(kColumnsOff);
    TempDir::Write(file_, "earlier\r\n");
    log_->LogMessagesClick();
    Show("one", MessageCategory::kNonNmea);
    log_->LogMessagesClick();
    EXPECT_EQ(Logged(), "earlier\r\none\r\n");

    log_->SetOverwrite(true);
    EXPECT_TRUE(Control(mw::mLogOverWriteFile).checked);
    EXPECT_FALSE(Control(mw::mLogAppendToExistFile).checked);
    log_->LogMessagesClick();
    Show("two", MessageCategory::kNonNmea);
    EXPECT_EQ(Logged(), "two\r\n");
}

// A line that cannot be written is counted and said, in the alert look,
// until a line is written again; what the file held stays whole.
TEST_F(MessageLogTest, LinesThatCannotBeWrittenAreCountedAndSaid) {
    Load(std::string(kColumnsOff) + "LogFileNameNoPrompt=" + dir_.Path() + "\n");
    log_->LogMessagesClick();
    Show("a", MessageCategory::kNonNmea);
    Show("b", MessageCategory::kNonNmea);
    EXPECT_EQ(log_->LinesLost(), 2u);
    const ControlState& status = Control(mw::lLogMessagesStatus);
    EXPECT_EQ(status.text, "Log write failed: Is a directory (2 lines lost)");
    EXPECT_TRUE(status.alert);
    EXPECT_TRUE(status.hint.starts_with("Log write failed: " + dir_.Path() +
                                        ": Is a directory (2 lines lost). "))
        << status.hint;

    // A full disk, as a limit on the file's size: the line that does not fit
    // leaves no half behind, and the next one that fits is written.
    Load(kColumnsOff);
    log_->LogMessagesClick();
    Show("kept", MessageCategory::kNonNmea);
    {
        FileSizeLimit full(10);
        ASSERT_TRUE(full.Applied());
        Show("too long for the limit", MessageCategory::kNonNmea);
        Show("lost too", MessageCategory::kNonNmea);
    }
    EXPECT_TRUE(status.alert);
    // The file says where it misses lines, before it goes on.
    Show("next", MessageCategory::kNonNmea);
    EXPECT_EQ(Logged(),
              "kept\r\nlog gap: 2 lines lost from 01/02/26 04:05:06 to 01/02/26 04:05:06 (File "
              "too large)\r\nnext\r\n");
    EXPECT_FALSE(status.alert);
    EXPECT_EQ(status.text, "Logging Messages to ZelSim.log (2 lines lost)");
    Show("and on", MessageCategory::kNonNmea);
    EXPECT_TRUE(Logged().ends_with("next\r\nand on\r\n")) << "one note a gap";
}

// What came over the line cannot act on whoever reads the file: control
// bytes are written as the monitor shows them, and the checksum column is
// the sentence's own.
TEST_F(MessageLogTest, ControlBytesInALineAreWrittenAsTheMonitorShowsThem) {
    Load(std::string(kColumnsOff) + "LogNmeaChecksum=1\n");
    log_->LogMessagesClick();
    const std::string text = "$GPTXT,01,01,02,\x1b[2J\x1b[31mINJECTED\x07 5\xb0";
    Show(text, MessageCategory::kDgps);
    EXPECT_EQ(Logged(), "$GPTXT,01,01,02,~[2J~[31mINJECTED~ 5\xb0" +
                            ChecksumSuffix(TextChecksum(text)) + "\r\n");
}

// The log's file is fixed when logging starts: an option changed while it
// runs takes effect at the next start, never in the middle of a capture.
TEST_F(MessageLogTest, PromptingTurnedOnWhileLoggingKeepsTheRunningFile) {
    Load(kColumnsOff);
    log_->LogMessagesClick();
    log_->SetOption(&LogOptions::logPromptForFilename, true);
    Show("still here", MessageCategory::kNonNmea);
    EXPECT_EQ(Logged(), "still here\r\n");
    EXPECT_EQ(log_->LinesLost(), 0u);
    EXPECT_EQ(log_->FileName(), file_);
    EXPECT_TRUE(dialogs_.fileRequests.empty());

    log_->LogMessagesClick();
    dialogs_.fileChoice = dir_.File("next.log");
    log_->LogMessagesClick();
    EXPECT_EQ(log_->FileName(), dir_.File("next.log"));
}

// With ZelSim001 to 005 there, the log becomes 006 and the next try starts at 7.
TEST_F(MessageLogTest, SequencingRenamesTheLogToTheNextFreeNumber) {
    for (int n = 1; n <= 5; ++n)
        TempDir::Write(dir_.File("ZelSim00" + std::to_string(n) + ".log"), "");
    TempDir::Write(file_, "logged\r\n");
    log_->SequenceFilename();
    EXPECT_EQ(TempDir::Read(dir_.File("ZelSim006.log")), "logged\r\n");
    EXPECT_FALSE(std::filesystem::exists(file_));
    EXPECT_EQ(log_->SequenceIndex(), 7);

    log_->SequenceFilename();  // nothing to rename now
    Load("LogSequenceFileIndex=1\n");
    for (int n = 1; n <= MessageLog::kSequenceTries; ++n) {
        char name[32];
        std::snprintf(name, sizeof name, "ZelSim%03d.log", n);
        TempDir::Write(dir_.File(name), "");
    }
    TempDir::Write(file_, "");
    log_->SequenceFilename();
    EXPECT_EQ(dialogs_.warnings,
              (std::vector<std::string>{
                  "Rename Error: Unable to Rename Log Filename",
                  "Log Filename Sequence Error: Can't Find Available Sequenced Log Filename"}));
}

// Both act on the file logging uses, not on a fixed name in the current folder.
TEST_F(MessageLogTest, EraseAndViewActOnTheLogsOwnFile) {
    log_->EraseFile();
    log_->ViewFile();
    EXPECT_EQ(dialogs_.warnings,
              (std::vector<std::string>{"File Not Found: " + file_ + " does not exist",
                                        "File Not Found: " + file_ + " does not exist"}));
    dialogs_.warnings.clear();

    TempDir::Write(file_, "x");
    dialogs_.answer = false;
    log_->EraseFile();
    EXPECT_TRUE(std::filesystem::exists(file_));
    EXPECT_EQ(dialogs_.questions.back(), "Erase File: Erasing " + file_ + " - Are you sure?");
    log_->ViewFile();
    EXPECT_EQ(dialogs_.viewed, std::vector<std::string>{file_});
    dialogs_.viewerStarts = false;
    log_->ViewFile();
    ASSERT_EQ(dialogs_.warnings.size(), 1u);
    EXPECT_NE(dialogs_.warnings[0].find("File Error: No viewer could be started for " + file_),
              std::string::npos);
    dialogs_.answer = true;
    log_->EraseFile();
    EXPECT_FALSE(std::filesystem::exists(file_));
}

// Older files name the log with "\" between folders.
TEST_F(MessageLogTest, KeysComeBackAndOldNamesReadWithSlashes) {
    Load(
        "LogFileNameNoPrompt=.\\logs\\ZelSim.log\nLogOverWriteFile=1\nLogZelMessages=1\n"
        "LogSequenceFileIndex=42\n");
    EXPECT_EQ(log_->FileName(), "./logs/ZelSim.log");
    EXPECT_TRUE(Control(mw::mLogOverWriteFile).checked);
    EXPECT_TRUE(Control(mw::mLogZelMessages).checked);
    const std::string saved = SavedConfig(dir_, [&](ConfigFile& out) { log_->SaveSettings(out); });
    for (const char* line : {"LogFileNameNoPrompt=./logs/ZelSim.log\n", "LogOverWriteFile=1\n",
                             "LogZelMessages=1\n", "LogSequenceFileIndex=42\n", "LogDate=1\n"})
        EXPECT_NE(saved.find(line), std::string::npos) << line << saved;
}

// --log: as soon as the port is open, to the name given, without a question.
TEST_F(MessageLogTest, LoggingAskedForAtStartBeginsWithTheConnection) {
    Load("LogPromptForFilename=1\n");
    port_.Close();
    log_->StartWhenConnected(dir_.File("rig.log"));
    EXPECT_FALSE(log_->Logging());
    port_.Open(1, 38400);
    log_->RefreshLogControls();
    EXPECT_TRUE(log_->Logging());
    EXPECT_TRUE(dialogs_.fileRequests.empty());
    Show("x", MessageCategory::kNonNmea);
    EXPECT_FALSE(TempDir::Read(dir_.File("rig.log")).empty());

    // The run's file holds until the user chooses how logs are named.
    log_->LogMessagesClick();
    log_->LogMessagesClick();
    EXPECT_TRUE(dialogs_.fileRequests.empty()) << "Log Messages goes on in the run's file";
    EXPECT_EQ(log_->FileName(), dir_.File("rig.log"));
    log_->LogMessagesClick();
    log_->SetOption(&LogOptions::logPromptForFilename, false);
    log_->SetOption(&LogOptions::logPromptForFilename, true);
    dialogs_.fileChoice = dir_.File("chosen.log");
    log_->LogMessagesClick();
    EXPECT_EQ(dialogs_.fileRequests.size(), 1u) << "Prompt for Log Filename asks again";
    EXPECT_EQ(log_->FileName(), dir_.File("chosen.log"));
}

}  // namespace

}  // namespace zelsim
