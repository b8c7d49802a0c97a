#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scripts/ScriptLine.h"
#include "scripts/ScriptStation.h"

namespace zelsim {

namespace {
namespace mw = main_window;
using Lines = std::vector<std::string>;

TEST(ScriptLine, CommandsAreTriedInOrderEachByItsPrefix) {
    using K = ScriptLine::Kind;
    struct Case {
        const char* line;
        K kind;
        int32_t number;
        const char* text;
    };
    const std::string longText(60, 'x');
    const Case cases[] = {
        {"~msg flashing", K::kMessageLabel, 0, " flashing"},
        {"~m Done", K::kMessage, 0, " Done"},
        {"~d100", K::kDelay, 100, ""},
        {"~d  -25", K::kDelay, -25, ""},
        {"~delay 100", K::kDelay, 0, ""},  // no digits after the d
        {"~d99999999999", K::kDelay, INT32_MAX, ""},
        {"~waitfortime 2000 [Ok]", K::kWaitForTime, 2000, "[Ok]"},
        {"~waitfortime 500", K::kWaitForTime, 500, ""},
        {"~waitfortime 500x   ok now", K::kWaitForTime, 500, "ok now"},
        {"~waitfortime ", K::kIgnored, 0, ""},  // nothing after the keyword
        {"~waitfor [Ok]", K::kWaitFor, 0, "[Ok]"},
        {"~waitfor ", K::kIgnored, 0, ""},
        {"~waitforit", K::kIgnored, 0, ""},
        {"~getdmblver", K::kIgnored, 0, ""},
        {"~b4800", K::kBaud, 4800, ""},
        {"~baud", K::kBaud, 0, ""},
        {"~f fw.hex", K::kSendFile, 0, " fw.hex"},  // the blank is part of the name
        {"~tfw.hex", K::kTestFile, 0, "fw.hex"},
        {"~j-3", K::kJump, -3, ""},
        {"~j 3", K::kJump, 0, ""},
        {"~j+70000", K::kJump, 32767, ""},
        {"~j-70000", K::kJump, -32768, ""},
        {"~echo", K::kEnd, 0, ""},
        {"~rtsoff", K::kRtsOff, 0, ""},
        {"~rtson now", K::kRtsOn, 0, ""},
        {"~rts", K::kIgnored, 0, ""},
        {"~", K::kIgnored, 0, ""},
        {"$PKVTQ,DID~", K::kSend, 0, "$PKVTQ,DID~"},
    };
    for (const Case& c : cases) {
        const ScriptLine parsed = ScriptLine::Parse(c.line);
        EXPECT_EQ(parsed.kind, c.kind) << c.line;
        EXPECT_EQ(parsed.number, c.number) << c.line;
        EXPECT_EQ(parsed.text, c.text) << c.line;
    }
    EXPECT_EQ(ScriptLine::Parse("~waitfor " + longText).text, longText.substr(0, 49));
    EXPECT_EQ(ScriptLine::Parse("~waitfortime 9 " + longText).text, longText.substr(0, 49));
}

TEST(ScriptFileNames, ARelativeNameLiesUnderTheStartDirectory) {
    ScriptStation s;
    ScriptInterpreter at(s.controls, s.dialogs, s.buttons, s.sender, s.clock, s.Host(),
                         "/home/u/fw");
    EXPECT_EQ(at.ResolveFileName("Main.HEX"), "/home/u/fw/Main.HEX");
    EXPECT_EQ(at.ResolveFileName(" lead.hex"), "/home/u/fw/ lead.hex");
    EXPECT_EQ(at.ResolveFileName("/opt/fw/a.a90"), "/opt/fw/a.a90");
    EXPECT_EQ(at.ResolveFileName("sub\\a.hex"), "/home/u/fw/sub/a.hex");
    EXPECT_EQ(at.ResolveFileName("C:\\fw\\a.hex"), "C:/fw/a.hex");
    ScriptInterpreter nowhere(s.controls, s.dialogs, s.buttons, s.sender, s.clock, s.Host(), "");
    EXPECT_EQ(nowhere.ResolveFileName("a.hex"), "a.hex");
}

class ScriptRunTest : public ::testing::Test {
  protected:
    // Cycles until the script has sent `count` lines or ended.
    void UntilSent(size_t count) {
        s.CycleUntil([&] { return s.sentLines.size() >= count || !s.interpreter.Running(); });
    }

    ScriptStation s;
};

TEST_F(ScriptRunTest, LinesGoOutOneACycleNeverTwoWithin20Ms) {
    s.Connect();
    ASSERT_TRUE(s.Run({"A", "B~", "~nl", "C"}));
    std::vector<int> cycles;
    for (int cycle = 1; cycle <= 20 && s.interpreter.Running(); ++cycle) {
        const size_t before = s.sentLines.size();
        s.Cycle();
        if (s.sentLines.size() > before) cycles.push_back(cycle);
    }
    // The trailing "~" is the main cycle's to act on; ~nl is an empty line.
    EXPECT_EQ(s.sentLines, (Lines{"A", "B~", "", "C"}));
    EXPECT_EQ(cycles, (std::vector<int>{3, 6, 9, 12}));
    EXPECT_FALSE(s.interpreter.Running()) << "ends in the cycle of its last line";
}

TEST_F(ScriptRunTest, WaitsMatchTheEndOfTextLinesButNeverAValidSentence) {
    const std::string long49(49, 'w');
    s.Connect();
    ASSERT_TRUE(s.Run({"~waitfor ,OK*00", "first", "~waitfor " + long49 + "TAIL", "second"}));
    s.CycleUntil([&] { return s.interpreter.Waiting(); });
    // "$Ai,OK*00" sums to 00: a valid sentence, whatever its text.
    s.Cycle({"$Ai,OK*00", "OK*00"});
    for (int i = 0; i < 10; ++i) s.Cycle();
    EXPECT_TRUE(s.sentLines.empty()) << "a framed sentence and a short line leave the wait";
    s.Cycle({"$Ax,OK*00"});  // its checksum fails: a text line
    UntilSent(1);
    EXPECT_EQ(s.sentLines, Lines{"first"});

    // Only the first 49 characters of a long text are awaited.
    s.CycleUntil([&] { return s.interpreter.Waiting(); });
    s.Cycle({"> " + long49});
    UntilSent(2);
    EXPECT_EQ(s.sentLines, (Lines{"first", "second"}));
}

// With a text only a line ending in it answers; without one, any line does.
TEST_F(ScriptRunTest, AnsweredTimedWaitSkipsTheNextLineAndATimeOutRunsIt) {
    s.Connect();
    for (const char* wait : {"~waitfortime 2000 [Ok]", "~waitfortime 2000"}) {
        SCOPED_TRACE(wait);
        s.sentLines.clear();
        ASSERT_TRUE(s.Run({wait, "skipped when answered", "after"}));
        s.CycleUntil([&] { return s.interpreter.Waiting(); });
        s.Cycle({"loader [Ok]"});
        s.Finish();
        EXPECT_EQ(s.sentLines, Lines{"after"});

        s.sentLines.clear();
        ASSERT_TRUE(s.interpreter.PressButton(0));
        s.CycleUntil([&] { return s.interpreter.Waiting(); });
        const uint32_t waitStart = s.clock.TickNow();
        s.CycleUntil([&] { return s.clock.TickNow() - waitStart >= 2000; });
        EXPECT_TRUE(s.interpreter.Running()) << "2000 ms are not yet more than 2000";
        // The answer comes in the cycle in which the time is up: too late.
        s.Cycle({"loader [Ok]"});
        s.Finish();
        EXPECT_EQ(s.sentLines, (Lines{"skipped when answered", "after"}));
    }
}

TEST_F(ScriptRunTest, CancelEndsAWaitAndGoesOnButEndsADelay) {
    s.Connect();
    ASSERT_TRUE(s.Run({"~waitfor never", "after the wait", "~d5000", "after the delay"}));
    s.CycleUntil([&] { return s.interpreter.Waiting(); });
    s.interpreter.CancelButtonScript();
    UntilSent(1);
    EXPECT_EQ(s.sentLines, Lines{"after the wait"});

    s.CycleUntil([&] { return s.interpreter.DelayActive(); });
    s.interpreter.CancelButtonScript();
    s.Cycle();
    EXPECT_FALSE(s.interpreter.Running());
    EXPECT_EQ(s.sentLines, Lines{"after the wait"});
    EXPECT_FALSE(s.buttons.Busy());
}

// Cancel ends a wait and the script goes on, as designed, so a script that
// jumps back into its wait survives any number of Cancels: Stop Script
// ends it at once, its file with it.
TEST_F(ScriptRunTest, StopScriptEndsALoopThatCancelCannot) {
    s.Connect();
    ASSERT_TRUE(s.Run({"~waitfor NEVER-COMES", "~j-1"}));
    for (int i = 0; i < 10; ++i) {
        s.CycleUntil([&] { return s.interpreter.Waiting(); });
        s.interpreter.CancelButtonScript();
        for (int c = 0; c < 50; ++c) s.Cycle();
    }
    EXPECT_TRUE(s.interpreter.Running()) << "Cancel keeps its designed effect";
    s.interpreter.StopScript();
    EXPECT_FALSE(s.interpreter.Running());
    EXPECT_FALSE(s.buttons.Busy());
    EXPECT_EQ(s.Control(mw::lButton1Tag).colour, UserButtons::kTagIdle);

    s.AddFile("fw.hex", std::string(100, 'x') + "\n");
    ASSERT_TRUE(s.Run({"~ffw.hex", "after"}));
    s.CycleUntil([&] { return s.sender.Sending(); });
    s.interpreter.StopScript();
    EXPECT_FALSE(s.sender.Sending());
    for (int c = 0; c < 10; ++c) s.Cycle();
    EXPECT_TRUE(s.sentLines.empty());
    EXPECT_FALSE(s.interpreter.Running());
}

// A line that meets a closed port does not vanish: the script says so.
TEST_F(ScriptRunTest, ALineNotSentForAClosedPortIsSaid) {
    ASSERT_TRUE(s.Run({"$PKVTQ,RID", "~nl"}));
    s.Finish();
    EXPECT_TRUE(s.sentLines.empty());
    EXPECT_EQ(s.Control(mw::lScriptMessageReport).text, "Not sent, the port is closed: ");
    ASSERT_TRUE(s.Run({"$PKVTQ,RID"}));
    s.Finish();
    EXPECT_EQ(s.Control(mw::lScriptMessageReport).text, "Not sent, the port is closed: $PKVTQ,RID");
}

TEST_F(ScriptRunTest, ADelayHoldsTheNextLineAndReportsItsLength) {
    s.buttons.SetShowScriptDetails(true);
    s.Connect();
    ASSERT_TRUE(s.Run({"~d1000", "after", "~delay 100", "last"}));
    s.CycleUntil([&] { return s.interpreter.DelayActive(); });
    const uint32_t start = s.clock.TickNow();
    EXPECT_EQ(s.Control(mw::lScriptDelayReport).text, "1000ms");
    EXPECT_TRUE(s.Control(mw::pbScriptDelayReport).visible);
    EXPECT_EQ(s.Control(mw::pbScriptDelayReport).maximum, 1000);
    s.CycleUntil([&] { return s.clock.TickNow() - start > 310; });
    EXPECT_GT(s.Control(mw::pbScriptDelayReport).position, 300);

    UntilSent(1);
    EXPECT_GT(s.clock.TickNow() - start, 1000u);
    EXPECT_EQ(s.Control(mw::lScriptDelayReport).text, "");
    EXPECT_FALSE(s.Control(mw::pbScriptDelayReport).visible);
    // "~delay 100" reads no number after the d: the next line follows at
    // the usual pace.
    const uint32_t after = s.clock.TickNow();
    s.Finish();
    EXPECT_EQ(s.sentLines, (Lines{"after", "last"}));
    EXPECT_LT(s.clock.TickNow() - after, 100u);
}

TEST_F(ScriptRunTest, JumpsAreRelativeAndClampedToTheScript) {
    struct Case {
        int at;
        const char* jump;
        const char* next;  // empty: the script ended
    };
    for (const Case& c : {Case{10, "~j-3", "L7"}, Case{10, "~j0", "L11"}, Case{10, "~j+1", "L11"},
                          Case{2, "~j-50", "L0"}, Case{10, "~j100", ""}}) {
        ScriptStation run;
        Lines script;
        for (int i = 0; i < 20; ++i) script.push_back("L" + std::to_string(i));
        script[static_cast<size_t>(c.at)] = c.jump;
        run.Connect();
        ASSERT_TRUE(run.Run(script));
        const size_t before = static_cast<size_t>(c.at);  // L0 .. L(at - 1)
        run.CycleUntil([&] { return run.sentLines.size() > before || !run.interpreter.Running(); });
        const std::string next = run.sentLines.size() > before ? run.sentLines[before] : "";
        EXPECT_EQ(next, c.next) << c.jump;
        EXPECT_EQ(run.interpreter.Running(), !next.empty()) << c.jump;
    }
}

TEST_F(ScriptRunTest, BaudOnAClosedPortOnlyChoosesTheRate) {
    ASSERT_TRUE(s.Run({"~b4800", "~b1234", "~rtson", "plain"}));
    s.Finish();
    EXPECT_EQ(s.connection.SelectedBaud(), 4800u);
    EXPECT_TRUE(s.Control(mw::BaudItem(4800)).checked);
    EXPECT_FALSE(s.Port().IsOpen());
    EXPECT_EQ(s.line->RtsCallCount(), 0);
    EXPECT_TRUE(s.sentLines.empty());
    s.Connect();
    EXPECT_EQ(s.line->ConfiguredRate(), 4800u);

    s.Define(0, {"~b115200", "~rtson"});
    ASSERT_TRUE(s.interpreter.PressButton(0));
    s.Finish();
    EXPECT_EQ(s.line->ConfiguredRate(), 115200u) << "at once on the open port";
    EXPECT_TRUE(s.line->Rts());
}

TEST_F(ScriptRunTest, TheBootloaderVersionChoosesItsRate) {
    for (bool is13 : {true, false}) {
        ScriptStation run;
        run.Connect();
        ASSERT_TRUE(run.Run({"~GetDmBlVer", "~SetDmBlBaud"}));
        run.CycleUntil([&] { return !run.sentLines.empty(); });
        EXPECT_EQ(run.sentLines, Lines{"$PKVTQ,DID"});
        EXPECT_TRUE(run.captureArmed);
        run.bootloaderIs13 = is13;  // as the responder takes the reply
        run.Finish();
        EXPECT_FALSE(run.captureArmed);
        EXPECT_EQ(run.line->ConfiguredRate(), is13 ? 115200u : 38400u);
    }
}

TEST_F(ScriptRunTest, TestingAFileSkipsTheNextLineOrSaysItIsMissing) {
    s.AddFile("fw.hex", ":00000001FF\n");
    s.Connect();
    ASSERT_TRUE(s.Run({"~tfw.hex", "skipped", "after", "~tFW.hex", "explain"}));
    s.Finish();
    EXPECT_EQ(s.sentLines, (Lines{"after", "explain"}));
    EXPECT_EQ(s.dialogs.warnings, Lines{"File Open Error: Invalid Filename - " +
                                        s.dir.File("FW.hex") + ": No such file or directory"});
}

TEST_F(ScriptRunTest, AFileThatWillNotOpenEndsTheScript) {
    s.Connect();
    ASSERT_TRUE(s.Run({"~fmissing.hex", "after"}));
    s.Finish(10);
    EXPECT_FALSE(s.interpreter.Running());
    EXPECT_TRUE(s.sentLines.empty());
    EXPECT_EQ(s.dialogs.warnings, Lines{"File Open Error: Unable to open file - " +
                                        s.dir.File("missing.hex") + ": No such file or directory"});
    EXPECT_FALSE(s.buttons.Busy());
    EXPECT_FALSE(s.Control(mw::bCancelButtonScript).visible);
    EXPECT_TRUE(s.Control(mw::bButton1).enabled);
    EXPECT_TRUE(s.Control(mw::bSendFile).enabled);
    EXPECT_EQ(s.Control(mw::lButton1Tag).colour, UserButtons::kTagIdle);
}

TEST_F(ScriptRunTest, AScriptPausesForItsFileAndStaysCancellableAfterIt) {
    const std::string path = s.AddFile("fw.hex", ":10\n:20\n:30\n");
    s.Connect();
    ASSERT_TRUE(s.Run({"~ffw.hex", "~waitfor never", "after"}));
    s.CycleUntil([&] { return s.sender.Sending(); });
    EXPECT_EQ(s.Control(mw::lSendFileInfoPB).text, "12 bytes  Sat Mar  2 10:04:05 2024");
    EXPECT_EQ(s.Control(mw::lSendFilePB).text, "sending file   -   " + path);
    EXPECT_TRUE(s.Control(mw::bSendFile).enabled) << "to cancel the file";
    int answers = 0;
    while (s.sender.Sending()) {
        EXPECT_FALSE(s.interpreter.Waiting()) << "the script pauses";
        s.Cycle(Lines(static_cast<size_t>(answers), "[Ok]"));
        const std::string wire = s.Wire();
        answers = static_cast<int>(std::count(wire.begin(), wire.end(), '\n'));
    }
    EXPECT_EQ(s.sender.LastOutcome(), FileSender::Outcome::kSent);
    s.CycleUntil([&] { return s.interpreter.Waiting(); });
    EXPECT_TRUE(s.interpreter.Running());
    // The script still runs: its Cancel Button stays, the buttons stay off.
    EXPECT_TRUE(s.Control(mw::bCancelButtonScript).visible);
    EXPECT_FALSE(s.Control(mw::bButton1).enabled);
    EXPECT_FALSE(s.Control(mw::bSendFile).enabled);
    s.interpreter.CancelButtonScript();
    s.Finish(5);
    EXPECT_FALSE(s.buttons.Busy());
}

TEST_F(ScriptRunTest, AFileThatFailsToReadEndsTheScriptInsteadOfGoingOn) {
    s.AddFile("fw.hex", std::string(500, 'x'), 300);
    s.Connect();
    ASSERT_TRUE(s.Run({"~ffw.hex", "~m Loaded %f"}));
    s.Finish();
    EXPECT_EQ(s.sender.LastOutcome(), FileSender::Outcome::kReadFailed);
    EXPECT_TRUE(s.dialogs.confirmations.empty()) << "never reported as loaded";
    ASSERT_EQ(s.dialogs.warnings.size(), 1u);
    EXPECT_EQ(s.dialogs.warnings[0].rfind("File Error: Unable to read file - " +
                                              s.dir.File("fw.hex") + ": Input/output error",
                                          0),
              0u)
        << s.dialogs.warnings[0];
    EXPECT_FALSE(s.buttons.Busy());
}

TEST_F(ScriptRunTest, AMessageNamingTheFileAsksAndCancelEndsTheScript) {
    s.AddFile("fw.hex", "x");
    s.Connect();
    const Lines script = {"~tfw.hex", "x", "~m Send %f? (100%)", "~m 100%F done", "after"};
    s.dialogs.confirmed = false;
    ASSERT_TRUE(s.Run(script));
    s.Finish();
    EXPECT_EQ(s.dialogs.confirmations, Lines{"ZelSim:  Send " + s.dir.File("fw.hex") + "? (100%)"});
    EXPECT_TRUE(s.dialogs.warnings.empty());
    EXPECT_TRUE(s.sentLines.empty());

    s.dialogs.confirmed = true;
    ASSERT_TRUE(s.interpreter.PressButton(0));
    s.Finish();
    EXPECT_EQ(s.dialogs.warnings, Lines{"ZelSim:  100%F done"});
    EXPECT_EQ(s.sentLines, Lines{"after"});
}

TEST_F(ScriptRunTest, AWaitOnTheLastLineDoesNotHoldUpTheNextScript) {
    s.Connect();
    ASSERT_TRUE(s.Run({"~waitfor never"}));
    s.Finish(10);
    ASSERT_FALSE(s.interpreter.Running());
    s.Define(0, {"next"});
    ASSERT_TRUE(s.interpreter.PressButton(0));
    s.Finish(10);
    EXPECT_EQ(s.sentLines, Lines{"next"});
}

TEST_F(ScriptRunTest, ButtonsStartTheirGroupsScriptAndAreRefusedWhileBusy) {
    s.Define(0, {"x"});
    EXPECT_FALSE(s.interpreter.PressButton(0)) << "group 0: the buttons are hidden";
    EXPECT_FALSE(s.buttons.Busy());

    s.ShowGroup(2);
    s.Define(11, {"~d1000", "eleven"});
    s.Connect();
    ASSERT_TRUE(s.interpreter.PressButton(3));
    EXPECT_EQ(s.Control(mw::lButton4Tag).colour, UserButtons::kTagRunning);
    EXPECT_EQ(s.Control(mw::lButton1Tag).colour, UserButtons::kTagIdle);
    EXPECT_FALSE(s.Control(mw::bButton8).enabled);
    EXPECT_FALSE(s.Control(mw::bSendFile).enabled);
    EXPECT_TRUE(s.Control(mw::bCancelButtonScript).visible);
    EXPECT_FALSE(s.interpreter.PressButton(0)) << "a script runs";
    s.sender.SendFileClicked();
    EXPECT_TRUE(s.dialogs.openRequests.empty()) << "no file while a script runs";
    s.Finish();
    EXPECT_EQ(s.sentLines, Lines{"eleven"});
    EXPECT_EQ(s.Control(mw::lButton4Tag).colour, UserButtons::kTagIdle);
    EXPECT_TRUE(s.Control(mw::bButton8).enabled);
    EXPECT_TRUE(s.Control(mw::bSendFile).enabled);
    EXPECT_FALSE(s.Control(mw::bCancelButtonScript).visible);

    s.dialogs.openChoice = s.AddFile("/data/big.txt", std::string(1000, '\n'));
    s.sender.SendFileClicked();
    ASSERT_TRUE(s.sender.Sending());
    EXPECT_FALSE(s.interpreter.PressButton(3)) << "a file is being sent";
    s.interpreter.CancelButtonScript();
    EXPECT_FALSE(s.sender.Sending()) << "the Cancel Button cancels the file at once";
}

}  // namespace

}  // namespace zelsim
