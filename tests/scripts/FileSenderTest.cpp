#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <deque>
#include <string>
#include <vector>

#include "scripts/DiskFileSource.h"
#include "scripts/ScriptStation.h"
#include "support/ConfigText.h"

namespace zelsim {

namespace {
namespace mw = main_window;
using Lines = std::vector<std::string>;

int LineFeeds(const std::string& bytes) {
    return static_cast<int>(std::count(bytes.begin(), bytes.end(), '\n'));
}

class FileSenderTest : public ::testing::Test {
  protected:
    // The user picks `name` with bSendFile on `on`, the port open.
    static void SendFile(ScriptStation& on, const std::string& name, std::string bytes,
                         uint64_t failAfter = MemoryFileSource::kNeverFails) {
        on.Connect();
        on.dialogs.openChoice = on.AddFile(name, std::move(bytes), failAfter);
        on.sender.SendFileClicked();
        ASSERT_TRUE(on.sender.Sending());
    }
    void SendFile(const std::string& name, std::string bytes,
                  uint64_t failAfter = MemoryFileSource::kNeverFails) {
        SendFile(s, name, std::move(bytes), failAfter);
    }
    static int Progress(const ScriptStation& of) { return of.Control(mw::pbSendFile).position; }
    int Progress() const { return Progress(s); }

    ScriptStation s;
};

TEST_F(FileSenderTest, AWholeChunkGoesOutThenWaitsUntilFewerThanFourLinesAreUnanswered) {
    std::string chunk;
    for (char c = 'a'; c < 'a' + 10; ++c) chunk += std::string(19, c) + '\n';
    ASSERT_EQ(chunk.size(), FileSender::kChunkSize);
    // A device that answers with sentences paces the file as well as one
    // that answers "[Ok]".
    for (const std::string answer : {"[Ok]", "$GPRMC,1,A"}) {
        ScriptStation run;
        SendFile(run, "/data/fw.hex", chunk + "tail\n");
        run.Cycle();
        EXPECT_EQ(run.Wire(), "") << "a cycle reads, the next one writes";
        run.Cycle();
        EXPECT_EQ(run.Wire(), chunk);
        EXPECT_EQ(run.sender.Awaiting(), 10);
        EXPECT_EQ(Progress(run), 200 * 100 / 205);
        run.Cycle();
        for (int answers = 1; answers <= 6; ++answers) {
            run.Cycle({answer});
            EXPECT_EQ(run.Wire(), "") << answers << " answers, " << answer;
        }
        run.Cycle({answer});
        EXPECT_EQ(run.Wire(), "tail\n") << answer;
        EXPECT_EQ(Progress(run), 100);
        run.Cycle();
        EXPECT_FALSE(run.sender.Sending());
        EXPECT_EQ(run.sender.LastOutcome(), FileSender::Outcome::kSent);
        EXPECT_EQ(run.shown, answer == "[Ok]" ? Lines{} : Lines(7, answer));
        EXPECT_FALSE(run.Control(mw::pFileSendPanel).visible);
        EXPECT_EQ(run.Control(mw::bSendFile).text, "Send File");
        EXPECT_FALSE(run.buttons.Busy());
    }
}

// Whatever else the program sends (its identity answer, the receiver
// watch's question) goes out between two cycles' writes: a write that ended
// inside a hex record would spoil it.
TEST_F(FileSenderTest, EveryWriteEndsAtALineEndSoOtherSentencesFallBetweenLines) {
    std::string file;
    for (int record = 0; record < 40; ++record)
        file += ":10E00000" + std::string(32, static_cast<char>('A' + record % 6)) + "00\r\n";
    SendFile("fw.hex", file);
    std::string sent;
    s.CycleUntil([&] {
        const std::string written = s.Wire();
        EXPECT_TRUE(written.empty() || written.back() == '\n') << written;
        sent += written;
        s.sender.ResponseReceived(s.clock.TickNow());
        s.sender.ResponseReceived(s.clock.TickNow());
        return !s.sender.Sending();
    });
    EXPECT_EQ(sent, file);
    EXPECT_EQ(s.sender.LastOutcome(), FileSender::Outcome::kSent);
}

TEST_F(FileSenderTest, OnlyThePieceOfALongLineThatEndsItAwaitsAnAnswer) {
    const std::string file = std::string(450, 'x') + "\ny\n";
    SendFile("long.txt", file);
    std::vector<int> awaitingAfterWrites;
    std::string wire;
    while (s.sender.Sending()) {
        s.Cycle();
        const std::string written = s.Wire();
        if (!written.empty()) awaitingAfterWrites.push_back(s.sender.Awaiting());
        wire += written;
    }
    EXPECT_EQ(wire, file);
    EXPECT_EQ(awaitingAfterWrites, (std::vector<int>{0, 0, 2}));
}

TEST_F(FileSenderTest, AnEmptyFileEndsAtTheNextStepWithNoProgress) {
    SendFile("empty.txt", "");
    EXPECT_TRUE(s.Control(mw::pFileSendPanel).visible);
    EXPECT_TRUE(s.buttons.Busy());
    s.Cycle();
    EXPECT_FALSE(s.sender.Sending());
    EXPECT_EQ(s.sender.LastOutcome(), FileSender::Outcome::kSent);
    EXPECT_EQ(Progress(), 0);
    EXPECT_FALSE(s.buttons.Busy());
}

TEST_F(FileSenderTest, ClosingThePortEndsTheTransferWithoutAWord) {
    SendFile("fw.hex", std::string(1000, 'z'));
    for (int i = 0; i < 4; ++i) s.Cycle();
    s.Disconnect();
    s.Cycle();
    EXPECT_FALSE(s.sender.Sending());
    EXPECT_EQ(s.sender.LastOutcome(), FileSender::Outcome::kPortClosed);
    EXPECT_EQ(s.sender.BytesSent(), 400u);
    EXPECT_TRUE(s.dialogs.warnings.empty());
    EXPECT_FALSE(s.Control(mw::pFileSendPanel).visible);
    EXPECT_FALSE(s.buttons.Busy());
}

TEST_F(FileSenderTest, AFileThatFailsToReadIsSaidAndNeverCountsAsSent) {
    SendFile("fw.hex", std::string(500, 'z'), 300);
    s.CycleUntil([&] { return !s.sender.Sending(); });
    EXPECT_EQ(s.sender.LastOutcome(), FileSender::Outcome::kReadFailed);
    // The part line read before the failure waited for its rest: it never
    // went, and the count says so.
    EXPECT_EQ(s.Wire(), std::string(200, 'z'));
    EXPECT_EQ(s.dialogs.warnings,
              Lines{"File Error: Unable to read file - " + s.dir.File("fw.hex") +
                    ": Input/output error. Only 200 of 500 bytes were sent."});
    EXPECT_FALSE(s.Control(mw::pFileSendPanel).visible);
    EXPECT_FALSE(s.buttons.Busy());
}

// Every transfer leaves one line saying how it ended, and the answers to its
// last lines stay out of the monitor as those during it did.
TEST_F(FileSenderTest, EachTransferEndsWithARecordAndItsLastAnswersStayHidden) {
    std::string file;
    for (int i = 0; i < 9; ++i) file += ":00000001FF\n";  // 12 bytes a line
    SendFile("/data/fw.hex", file);
    s.Cycle();
    s.clock.Advance(1990);
    s.Cycle();
    ASSERT_EQ(s.Wire(), file);
    s.Cycle({"[Ok]", "[Err] checksum"});
    EXPECT_EQ(s.sender.ErrorAnswers(), 1);
    EXPECT_EQ(s.Control(mw::lSendFilePB).text,
              "sending file   -   /data/fw.hex   (1 [Err] answer)");
    s.CycleUntil([&] { return !s.sender.Sending(); });
    EXPECT_EQ(s.reports,
              Lines{"File sent: /data/fw.hex, 108 bytes in 2.0 s (53 bytes/s), 1 [Err]"});
    s.Cycle(Lines(7, "[Ok]"));
    s.clock.Advance(900);
    s.Cycle({"[Ok] late", "the device speaks"});
    s.clock.Advance(1000);
    s.Cycle();
    s.Cycle({"[Ok] after a quiet second"});
    EXPECT_EQ(s.shown, (Lines{"[Err] checksum", "the device speaks", "[Ok] after a quiet second"}));

    s.reports.clear();
    SendFile("/data/fw.hex", file);
    s.Cycle();
    s.sender.Cancel();
    SendFile("/data/fw.hex", std::string(1000, 'z'));
    for (int i = 0; i < 4; ++i) s.Cycle();
    s.Disconnect();
    s.Cycle();
    EXPECT_EQ(s.reports,
              (Lines{"File cancelled: /data/fw.hex after 0 of 108 bytes",
                     "File failed: /data/fw.hex: the port closed after 400 of 1000 bytes"}));
}

// A device that stops answering ends the transfer after the stall time, and
// says so; the time is kept in the file at once, and 0 waits for ever.
TEST_F(FileSenderTest, ADeviceThatStopsAnsweringFailsTheTransferAfterTheStallTime) {
    std::string file;
    for (int i = 0; i < 100; ++i) file += ":00000001FF\n";
    SendFile("/data/fw.hex", file);
    s.CycleUntil([&] { return s.sender.Awaiting() >= FileSender::kMaxAwaiting; });
    const uint32_t silent = s.clock.TickNow();
    s.CycleUntil([&] { return !s.sender.Sending(); }, 2000);
    EXPECT_EQ(s.sender.LastOutcome(), FileSender::Outcome::kStalled);
    EXPECT_GT(s.clock.TickNow() - silent, 10000u);
    EXPECT_LE(s.clock.TickNow() - silent, 10020u);
    ASSERT_EQ(s.reports.size(), 1u);
    EXPECT_EQ(s.reports[0],
              "File failed: /data/fw.hex: no answer for 10 s with 16 lines unanswered after 192 of "
              "1200 bytes");
    ASSERT_EQ(s.dialogs.warnings.size(), 1u);
    EXPECT_TRUE(s.dialogs.warnings[0].starts_with("File Error: " + s.reports[0]))
        << s.dialogs.warnings[0];
    EXPECT_FALSE(s.buttons.Busy());

    s.sender.SetStallSeconds(0);
    EXPECT_NE(TempDir::Read(s.dir.File("ZelSim.ini")).find("SendFileStallSeconds=0"),
              std::string::npos)
        << "on disk at once";
    SendFile("/data/fw.hex", file);
    s.CycleUntil([&] { return !s.sender.Sending(); }, 3000);
    EXPECT_TRUE(s.sender.Sending()) << "0 waits for ever";
}

TEST_F(FileSenderTest, WithALineDelayEachWriteIsOneLineAndAtMostFourAwaitAnAnswer) {
    std::string file;
    for (int i = 0; i < 1000; ++i) file += ":10" + std::to_string(i * 16) + "00FF\n";
    s.sender.SetLineDelay(50);
    SendFile("fw.hex", file);
    // A slow device: it answers each line six cycles after it came.
    std::deque<int> answersDue(6, 0);
    std::string wire;
    int most = 0;
    for (int cycle = 0; cycle < 20000 && s.sender.Sending(); ++cycle) {
        s.Cycle(Lines(static_cast<size_t>(answersDue.front()), "[Ok]"));
        answersDue.pop_front();
        const std::string written = s.Wire();
        // A line at a time; a chunk's last bytes may hold only part of one.
        ASSERT_LE(LineFeeds(written), 1);
        if (LineFeeds(written) == 1) {
            ASSERT_EQ(written.back(), '\n');
        }
        answersDue.push_back(LineFeeds(written));
        most = std::max(most, s.sender.Awaiting());
        wire += written;
    }
    EXPECT_EQ(wire, file);
    EXPECT_EQ(most, FileSender::kMaxAwaiting);
    EXPECT_EQ(s.sender.LastOutcome(), FileSender::Outcome::kSent);
}

// A far end that reads slowly behind a port whose room is full: the port
// takes part of a chunk, and the rest goes at a later cycle, in order.
TEST_F(FileSenderTest, BytesThePortDidNotTakeGoAgainAtALaterCycle) {
    std::string file;
    for (int i = 0; i < 30; ++i) file += "line " + std::to_string(i) + "\n";
    s.Connect();
    s.line->LimitUnread(0);
    const std::string filler(SerialPort::kOutputLimit, 'w');
    ASSERT_TRUE(s.Port().WriteWhole(filler));
    SendFile("lines.txt", file);
    int lastProgress = 0;
    for (int cycle = 1; cycle < 5000 && s.sender.Sending(); ++cycle) {
        // The far end reads 7 bytes a cycle.
        s.line->LimitUnread(s.line->Written().size() + 7);
        s.Port().Drain();
        s.Cycle(Lines(10, "[Ok]"));
        ASSERT_GE(Progress(), lastProgress);
        lastProgress = Progress();
    }
    s.line->LimitUnread(SIZE_MAX);
    s.Port().Drain();
    EXPECT_EQ(s.Wire(), filler + file);
    EXPECT_EQ(lastProgress, 100);
}

TEST_F(FileSenderTest, OnlyLinesBeginningWithOkInBracketsAreHiddenAndOnlyAroundATransfer) {
    EXPECT_FALSE(s.sender.Hides("[Ok]"));
    SendFile("fw.hex", std::string(1000, '\n'));
    for (const char* line : {"[Ok]", "[Ok] 0x1F00 written"}) EXPECT_TRUE(s.sender.Hides(line));
    for (const char* line : {"OK", "[ok]", "[OK]", "ok [Ok]", " [Ok]"})
        EXPECT_FALSE(s.sender.Hides(line)) << line;
    s.sender.Cancel();
    EXPECT_TRUE(s.sender.Hides("[Ok]")) << "the answers to what went out";
    s.clock.Advance(FileSender::kTrailingQuietMs);
    s.Cycle();
    EXPECT_FALSE(s.sender.Hides("[Ok]"));
}

TEST_F(FileSenderTest, TheChosenFileKeepsItsCaseAndTheDialogRemembersIt) {
    s.dialogs.movedBy = 5;
    SendFile("/Data/FW.Hex", "x\n");
    ASSERT_EQ(s.dialogs.openRequests.size(), 1u);
    const UserDialogs::FileRequest& asked = s.dialogs.openRequests[0];
    EXPECT_EQ(asked.caption, "Select file to Send");
    EXPECT_EQ(asked.folder, ".");
    EXPECT_EQ(asked.filterIndex, 4);
    EXPECT_EQ(asked.filters.size(), 4u);
    EXPECT_EQ(s.opened, Lines{"/Data/FW.Hex"});
    EXPECT_EQ(s.sender.CurrentPath(), "/Data/FW.Hex");
    EXPECT_EQ(s.Control(mw::lSendFilePB).text, "sending file   -   /Data/FW.Hex");
    EXPECT_EQ(s.Control(mw::lSendFileInfoPB).text, "2 bytes  Sat Mar  2 10:04:05 2024")
        << "the size line shows the file being sent";
    EXPECT_EQ(s.Control(mw::bSendFile).text, "Cancel File");
    s.config.SetSection("FileSpecs");
    EXPECT_EQ(s.config.ReadText("SendFilePath", ""), "/Data/");
    EXPECT_EQ(s.config.ReadText("SendFileFileName", ""), "/Data/FW.Hex");
    EXPECT_NE(TempDir::Read(s.dir.File("ZelSim.ini")).find("SendFileFileName=/Data/FW.Hex"),
              std::string::npos)
        << "on disk at once: a killed program keeps it";

    s.sender.SendFileClicked();  // reads "Cancel File"
    EXPECT_FALSE(s.sender.Sending());
    EXPECT_EQ(s.sender.LastOutcome(), FileSender::Outcome::kCancelled);
    EXPECT_EQ(s.dialogs.openRequests.size(), 1u);

    s.dialogs.openChoice = "/Data/missing.hex";
    s.sender.SendFileClicked();
    EXPECT_FALSE(s.sender.Sending());
    EXPECT_EQ(s.dialogs.warnings,
              Lines{"File Open Error: Unable to open file - /Data/missing.hex: No such file or "
                    "directory"});
    EXPECT_FALSE(s.buttons.Busy());

    const std::string saved =
        SavedConfig(s.dir, [&](ConfigFile& out) { s.sender.SaveSettings(out); });
    EXPECT_NE(saved.find("FileDialogWindowLeft=60\n"), std::string::npos) << saved;
}

TEST_F(FileSenderTest, TheAnswersAlwaysPaceTheFileWhateverTheFileSays) {
    ConfigFile file = ConfigWith(s.dir,
                                 "[Configuration]\nSendFileLineDelayMs=25\n"
                                 "SendFileLineRepsonseSemaphore=0\nSendFilePopupTop=9\n");
    s.sender.LoadSettings(file);
    EXPECT_EQ(s.sender.LineDelay(), 25);
    const std::string saved =
        SavedConfig(s.dir, [&](ConfigFile& out) { s.sender.SaveSettings(out); });
    EXPECT_EQ(saved,
              "[Configuration]\nSendFilePopupLeft=0\nSendFilePopupTop=9\nSendFileLineDelayMs=25\n"
              "SendFileLineRepsonseSemaphore=1\nFileDialogWindowLeft=50\nFileDialogWindowTop=50\n"
              "FileDialogWindowWidth=200\nFileDialogWindowHeight=200\n\n[FileSpecs]\n"
              "SendFileStallSeconds=10\n");
}

TEST(DiskFileSource, ReadsRegularFilesOnlyAndNeverWaitsOnAPipe) {
    TempDir dir;
    TempDir::Write(dir.File("fw.hex"), ":00000001FF\n");
    std::string why;
    std::unique_ptr<FileSource> file = DiskFileSource::Open(dir.File("fw.hex"), why);
    ASSERT_TRUE(file) << why;
    EXPECT_EQ(file->Size(), 12u);
    EXPECT_EQ(file->ModifiedText().back(), '\n');
    uint8_t bytes[FileSender::kChunkSize];
    EXPECT_EQ(file->Read(bytes, sizeof bytes), 12);
    EXPECT_EQ(file->Read(bytes, sizeof bytes), 0);

    ASSERT_EQ(::mkfifo(dir.File("pipe").c_str(), 0600), 0);
    for (const std::string& path : {dir.File("pipe"), dir.Path(), dir.File("FW.hex"),
                                    dir.File("fw.hex") + std::string(1, '\0') + "x"}) {
        EXPECT_FALSE(DiskFileSource::Open(path, why)) << path;
        EXPECT_FALSE(why.empty()) << path;
    }
}

}  // namespace

}  // namespace zelsim
