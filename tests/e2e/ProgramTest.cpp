// The program as a user starts it: its command line, its configuration file
// in the directory it starts in, a real line given with --com, the demo, and
// SIGTERM closing it like the window's close button.
#include <gtest/gtest.h>

#include <QProcess>
#include <QTest>
#include <csignal>
#include <filesystem>

#include "support/FarEnd.h"
#include "support/TempDir.h"

namespace zelsim {

namespace {
constexpr int kStartMs = 10000;
constexpr unsigned long kSigtermBit = 1ul << (SIGTERM - 1);

QString Program() {
    return QString(ZELSIM_BINARY_DIR) + "/zelsim";
}

// True once the process acts on SIGTERM itself (closing its window as the
// user would) instead of dying at once: from then on its settings survive.
bool CatchesSigterm(qint64 pid) {
    const std::string status = TempDir::Read("/proc/" + std::to_string(pid) + "/status");
    const size_t at = status.find("SigCgt:\t");
    return at != std::string::npos &&
           (std::stoul(status.substr(at + 8, 16), nullptr, 16) & kSigtermBit) != 0;
}

// True once the process holds `device` open.
bool Holds(qint64 pid, const std::string& device) {
    std::error_code ec;
    for (const auto& fd :
         std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/fd", ec)) {
        std::error_code rl;
        if (std::filesystem::read_symlink(fd.path(), rl).string() == device) return true;
    }
    return false;
}

std::vector<qint64> Children(qint64 pid) {
    std::vector<qint64> children;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator("/proc", ec)) {
        const std::string status = TempDir::Read(entry.path().string() + "/status");
        const auto at = status.find("PPid:\t");
        if (at != std::string::npos && std::stoll(status.substr(at + 6)) == pid)
            children.push_back(std::stoll(entry.path().filename().string()));
    }
    return children;
}

class ProgramTest : public ::testing::Test {
  protected:
    void Start(const QStringList& args) {
        process.setWorkingDirectory(QString::fromStdString(dir.Path()));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        process.setProcessEnvironment(env);
        process.start(Program(), args);
        ASSERT_TRUE(process.waitForStarted(kStartMs));
    }

    // The demo's simulator process, once the program has started it; 0 if none.
    qint64 StartDemo() {
        Start({"--demo"});
        const qint64 pid = process.processId();
        qint64 simulator = 0;
        QTest::qWaitFor(
            [&] { return !Children(pid).empty() && (simulator = Children(pid).front()) > 0; },
            kStartMs);
        return simulator;
    }

    // SIGTERM, as a session manager or a terminal's Ctrl+C would close it.
    void Terminate() {
        ::kill(static_cast<pid_t>(process.processId()), SIGTERM);
        ASSERT_TRUE(process.waitForFinished(kStartMs)) << "the program did not close on SIGTERM";
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    }

    TempDir dir;
    QProcess process;
};

TEST_F(ProgramTest, AnswersVersionAndRefusesBadArguments) {
    QProcess p;
    p.start(Program(), {"--version"});
    ASSERT_TRUE(p.waitForFinished(kStartMs));
    EXPECT_EQ(p.readAllStandardOutput().trimmed().toStdString(), "zelsim " ZELSIM_VERSION_TEXT);

    p.start(Program(), {"--baud", "14400"});
    ASSERT_TRUE(p.waitForFinished(kStartMs));
    EXPECT_EQ(p.exitCode(), 2);
    EXPECT_TRUE(p.readAllStandardError().contains("--baud"));
}

TEST_F(ProgramTest, KeepsAHandEditedConfigurationAndWritesWhatChanged) {
    const std::string ini = dir.File("ZelSim.ini");
    TempDir::Write(ini,
                   "; my bench settings\n"
                   "[Configuration]\n"
                   "ComPort=3\n"
                   "BaudRate=9600\n"
                   "MsgMonTime=0\n"
                   "MyOwnKey=keep me\n"
                   "[MessageDropDownLines]\n"
                   "Line01=$PKVTQ,RID\n"
                   "Line02=$PKVTS,LCD,ON\n"
                   "[Lab]\n"
                   "Bench=4\n");
    Start({"--port", "5", "--baud", "115200"});
    const qint64 pid = process.processId();
    ASSERT_TRUE(QTest::qWaitFor([&] { return CatchesSigterm(pid); }, kStartMs));
    Terminate();

    const std::string saved = TempDir::Read(ini);
    EXPECT_EQ(saved.rfind("; my bench settings\n", 0), 0u) << saved;
    EXPECT_NE(saved.find("MyOwnKey=keep me"), std::string::npos);
    EXPECT_NE(saved.find("[Lab]\nBench=4"), std::string::npos);
    EXPECT_NE(saved.find("ComPort=5"), std::string::npos);
    EXPECT_NE(saved.find("BaudRate=115200"), std::string::npos);
    EXPECT_NE(saved.find("MsgMonTime=0"), std::string::npos);
    EXPECT_NE(saved.find("Line01=$PKVTQ,RID"), std::string::npos);
    EXPECT_NE(saved.find("Line02=$PKVTS,LCD,ON"), std::string::npos);
}

TEST_F(ProgramTest, ConnectsToTheLineGivenOnTheCommandLine) {
    FarEnd far;  // holds no descriptor the program could inherit and Holds() mistake for its own
    ASSERT_TRUE(far.IsOpen()) << "openpty failed";
    const std::string name = far.Path();
    Start({"--com", QString::fromStdString("1=" + name), "--connect"});
    const qint64 pid = process.processId();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Holds(pid, name); }, kStartMs))
        << "the program never opened " << name;
    Terminate();
    EXPECT_NE(TempDir::Read(dir.File("ZelSim.ini")).find("ComPort=1"), std::string::npos);
}

// The demo's line is a virtual one of the moment: the user's own port and
// rate stay as they were, and its device lands nowhere in the file.
TEST_F(ProgramTest, DemoRunsTheSimulatedDevicesAndLeavesTheUsersSettingsAlone) {
    const std::string ini = dir.File("ZelSim.ini");
    TempDir::Write(ini, "[Configuration]\nComPort=7\nBaudRate=9600\n");
    const qint64 simulator = StartDemo();
    ASSERT_GT(simulator, 0) << "no simulator started";
    const std::string exe =
        std::filesystem::read_symlink("/proc/" + std::to_string(simulator) + "/exe").string();
    EXPECT_NE(exe.find("zelsim-sim"), std::string::npos);
    const qint64 pid = process.processId();
    ASSERT_TRUE(QTest::qWaitFor([&] { return CatchesSigterm(pid); }, kStartMs));
    Terminate();
    EXPECT_FALSE(std::filesystem::exists("/proc/" + std::to_string(simulator) + "/exe"))
        << "the simulator outlived the program";
    const std::string saved = TempDir::Read(ini);
    EXPECT_EQ(saved.rfind("[Configuration]\nComPort=7\nBaudRate=9600\n", 0), 0u) << saved;
    EXPECT_EQ(saved.find("/dev/"), std::string::npos) << saved;
    EXPECT_EQ(saved.find("[Ports]"), std::string::npos) << saved;
}

// The demo on a fast line: the simulated receiver is set to the rate asked
// for and streams its fix, which it does only when the program's line runs
// at its rate; the log tells what came in from the program's answers.
TEST_F(ProgramTest, DemoRunsAtTheRateAskedForAndTheLogSaysWhichWayLinesWent) {
    TempDir::Write(dir.File("ZelSim.ini"),
                   "[Configuration]\nLogDirection=1\nLogDate=0\nLogTime=0\nLogMsTickCount=0\n");
    const std::string log = dir.File("demo.log");
    Start({"--demo", "--baud", "460800", "--log", QString::fromStdString(log)});
    std::string logged;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            logged = TempDir::Read(log);
            return logged.find("\n<,$GPGGA,") != std::string::npos &&
                   logged.find("\n>,$PKVTR,DID,ZEL Simulator,") != std::string::npos;
        },
        kStartMs))
        << logged;
    Terminate();
}

TEST_F(ProgramTest, DemoSimulatorDoesNotOutliveAKilledProgram) {
    const qint64 simulator = StartDemo();
    ASSERT_GT(simulator, 0) << "no simulator started";
    process.kill();  // SIGKILL: the program gets no chance to stop it
    ASSERT_TRUE(process.waitForFinished(kStartMs));
    const std::string proc = "/proc/" + std::to_string(simulator) + "/exe";
    EXPECT_TRUE(QTest::qWaitFor([&] { return !std::filesystem::exists(proc); }, kStartMs))
        << "the simulator outlived the killed program";
}

}  // namespace

}  // namespace zelsim
