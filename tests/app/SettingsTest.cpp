#include <gtest/gtest.h>

#include <iterator>
#include <sstream>

#include "app/ConfigFile.h"
#include "app/Settings.h"
#include "support/TempDir.h"

namespace {

class SettingsTest : public ::testing::Test {
  protected:
    Settings LoadFrom(const std::string& content) {
        TempDir::Write(path_, content);
        ConfigFile file(path_);
        Settings settings;
        settings.Load(file);
        return settings;
    }

    // The key names of one section, in file order.
    std::vector<std::string> KeysOf(const std::string& section) {
        std::istringstream in(TempDir::Read(path_));
        std::vector<std::string> keys;
        bool inside = false;
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.front() == '[') {
                inside = line == "[" + section + "]";
            } else if (inside && line.find('=') != std::string::npos) {
                keys.push_back(line.substr(0, line.find('=')));
            }
        }
        return keys;
    }

    TempDir dir_;
    std::string path_ = dir_.File("ZelSim.ini");
};

TEST_F(SettingsTest, WithoutAFileEverythingHasItsDefault) {
    ConfigFile file(path_);
    Settings settings;
    settings.Load(file);
    EXPECT_EQ(settings, Settings());
    EXPECT_EQ(settings.comPort, 1);
}

TEST_F(SettingsTest, PortAndRateOfNoMenuItemLeaveTheDefaults) {
    struct Case {
        const char* port;
        const char* baud;
        int comPort;
        uint32_t baudRate;
    };
    for (const Case& c : {Case{"25", "14400", 1, 38400}, Case{"-2", "-9600", 1, 38400},
                          Case{"0", "300", 1, 300}, Case{"18", "115200", 18, 115200}}) {
        const Settings settings = LoadFrom(std::string("[Configuration]\nComPort=") + c.port +
                                           "\nBaudRate=" + c.baud + "\n");
        EXPECT_EQ(settings.comPort, c.comPort) << c.port;
        EXPECT_EQ(settings.baudRate, c.baudRate) << c.baud;
    }
}

TEST_F(SettingsTest, ZelTypeAndButtonGroupTakeOnlyTheirMenuItems) {
    EXPECT_EQ(LoadFrom("[Configuration]\nZelType=Dormalyn\n").zelType, ZelType::Dormalyn);
    EXPECT_EQ(LoadFrom("[Configuration]\nZelType=Off\n").zelType, ZelType::Off);
    EXPECT_EQ(LoadFrom("[Configuration]\nZelType=Plasma\n").zelType, ZelType::Corvane);
    EXPECT_EQ(LoadFrom("[UserButtons]\nButtonGroup=7\n").buttonGroup, 0);
    EXPECT_EQ(LoadFrom("[UserButtons]\nButtonGroup=-1\n").buttonGroup, 0);
    EXPECT_EQ(LoadFrom("[UserButtons]\nButtonGroup=4\n").buttonGroup, 4);
}

// The semaphore is on whatever the file says; the outgoing filter's two
// spellings are one key, written back in the file's own spelling.
TEST_F(SettingsTest, KeysWithRulesOfTheirOwn) {
    Settings settings =
        LoadFrom("[Configuration]\nSendFileLineRepsonseSemaphore=0\nMsgMonOutGoingMessages=0\n");
    EXPECT_TRUE(settings.sendFileLineResponseSemaphore);
    EXPECT_FALSE(settings.monitor.msgMonOutGoingMessages);
    settings.monitor.msgMonOutGoingMessages = true;
    ConfigFile file(path_);
    settings.Save(file);
    ASSERT_TRUE(file.Save().Saved());
    const std::string text = TempDir::Read(path_);
    EXPECT_NE(text.find("SendFileLineRepsonseSemaphore=1\n"), std::string::npos);
    EXPECT_NE(text.find("MsgMonOutGoingMessages=1\n"), std::string::npos);
    EXPECT_EQ(text.find("MsgMonOutgoingMessages"), std::string::npos) << "written twice";
}

TEST_F(SettingsTest, AFreshFileListsTheKeysInTheirOrder) {
    ConfigFile file(path_);
    Settings().Save(file);
    ASSERT_TRUE(file.Save().Saved());
    // The stored names, spelling mistakes included, are what older files hold.
    std::istringstream names(
        "ZelSimWindowLeft ZelSimWindowTop DefineButtonWindowLeft DefineButtonWindowTop "
        "MsgMonColorsWindowLeft MsgMonColorsWindowTop SendFilePopupLeft SendFilePopupTop "
        "SendFileLineDelayMs SendFileLineRepsonseSemaphore FileDialogWindowLeft "
        "FileDialogWindowTop FileDialogWindowWidth FileDialogWindowHeight "
        "LogDialogWindowLeft LogDialogWindowTop LogDialogWindowWidth LogDialogWindowHeight "
        "GraphicFormLeft GraphicFormTop PositionDeviationLeft PositionDeviationTop "
        "SvStatusLeft SvStatusTop CogDisplayLeft CogDisplayTop CogDisplayHeight "
        "CogDisplayWidth SkyViewLeft SkyViewTop GpsSimulatorLeft GpsSimulatorTop LinearGrid "
        "LogGrid BmpSaveFileIndex DataSaveFileIndex LogSequenceFileIndex ComPort BaudRate "
        "LogFileNameNoPrompt LogDate LogTime LogMsTickCount LogNmeaChecksum LogZelMessages "
        "LogDgpsMessages LogLightBarMessages LogDormalynMessages LogNonNmeaMessages "
        "LogOtherMessages LogPromptForFilename LogOverWriteFile ZelType HideMessageMonitor "
        "MessageMonitorBig MessageMonitorUpperCase MsgMonTime MsgMonTickCount "
        "MsgMonZelMessages MsgMonDgpsMessages MsgMonLbMessages MsgMonDormalynMessages "
        "MsgMonNonNmeaMessages MsgMonOtherMessages MsgMonOutgoingMessages");
    const std::vector<std::string> expected{std::istream_iterator<std::string>(names), {}};
    EXPECT_EQ(KeysOf("Configuration"), expected);
    EXPECT_EQ(KeysOf("UserButtons").size(), 2u + 32u);  // no script lines for empty scripts
    EXPECT_TRUE(KeysOf("MessageDropDownLines").empty());
    const std::string text = TempDir::Read(path_);
    EXPECT_NE(text.find("ZelType=Corvane\n"), std::string::npos);
    EXPECT_NE(text.find("BaudRate=38400\n"), std::string::npos);
    EXPECT_EQ(text.find("[FileSpecs]"), std::string::npos);
}

// The keys with rules of their own, and one of each plain kind, come back.
TEST_F(SettingsTest, WhatIsWrittenIsReadBack) {
    Settings settings;
    settings.comPort = 7;
    settings.baudRate = 4800;
    settings.zelType = ZelType::Dormalyn;
    settings.zelSimWindowLeft = -30;
    settings.logFileNameNoPrompt = "/var/log/line one.log";
    settings.monitor.msgMonOutGoingMessages = false;
    settings.sendHistory = {"$PKVTQ,RID", "hello"};
    settings.showScriptDetails = true;
    settings.buttonGroup = 3;
    settings.buttons.Define(17, "Reset", {"$PKVTQ,DML,SET1", "WAIT 100"});
    {
        ConfigFile file(path_);
        settings.Save(file);
        ASSERT_EQ(file.Save().status, ConfigFile::SaveResult::Status::Written);
    }
    ConfigFile file(path_);
    Settings loaded;
    loaded.Load(file);
    EXPECT_EQ(loaded, settings);
}

TEST_F(SettingsTest, TwentyHistoryLinesComeBackInOrderAndLine21IsNotTouched) {
    Settings settings;
    for (int i = 1; i <= 20; ++i) settings.sendHistory.push_back("$GPGGA," + std::to_string(i));
    TempDir::Write(path_, "[MessageDropDownLines]\nLine21=from elsewhere\nLine05=old\n");
    {
        ConfigFile file(path_);
        settings.Save(file);
        ASSERT_TRUE(file.Save().Saved());
    }
    ConfigFile file(path_);
    Settings loaded;
    loaded.Load(file);
    EXPECT_EQ(loaded.sendHistory, settings.sendHistory);
    file.SetSection("MessageDropDownLines");
    EXPECT_EQ(file.ReadText("Line21", ""), "from elsewhere");
    EXPECT_EQ(file.ReadText("Line20", ""), "$GPGGA,20");

    // A shorter list leaves no stale numbered lines behind.
    loaded.sendHistory.resize(2);
    loaded.Save(file);
    file.SetSection("MessageDropDownLines");
    EXPECT_EQ(file.ReadText("Line03", "none"), "none");
    EXPECT_EQ(file.ReadText("Line21", ""), "from elsewhere");
}

TEST_F(SettingsTest, HistoryDropsBlanksAndRepeatsThatDifferOnlyInCase) {
    const Settings settings = LoadFrom(
        "[MessageDropDownLines]\nLine01=$pkvtq,rid\nLine02=\nLine03=$PKVTQ,RID\nLine07=abc\n");
    EXPECT_EQ(settings.sendHistory, (std::vector<std::string>{"$pkvtq,rid", "abc"}));
}

TEST_F(SettingsTest, PortsMapComNumbersToDevices) {
    const Settings settings = LoadFrom(
        "[Ports]\nCOM1=/dev/ttyUSB0\ncom12 = /dev/pts/3\nCOM0=/dev/zero\nCOM100=/dev/null\n"
        "COM2=\n");
    EXPECT_EQ(settings.ports,
              (std::map<int, std::string>{{1, "/dev/ttyUSB0"}, {12, "/dev/pts/3"}}));
}

TEST_F(SettingsTest, DialogMemoryIsReadAndOnlyTheSendFileKeysAreWritten) {
    Settings settings = LoadFrom("[FileSpecs]\nLogFilePath=/logs\nLogFileFilterIndex=1\n");
    EXPECT_EQ(settings.logFilePath, "/logs");
    EXPECT_EQ(settings.logFileFilterIndex, 1);
    EXPECT_EQ(settings.sendFilePath, ".");
    EXPECT_EQ(settings.sendFileFilterIndex, 4);

    ConfigFile file(path_);
    settings.logFilePath = "/elsewhere";
    settings.sendFilePath = "/firmware/";
    settings.sendFileFileName = "/firmware/unit.hex";
    settings.sendFileFilterIndex = 2;
    settings.SaveSendFileSpecs(file);
    ASSERT_TRUE(file.Save().Saved());
    EXPECT_EQ(TempDir::Read(path_),
              "[FileSpecs]\nLogFilePath=/logs\nLogFileFilterIndex=1\nSendFilePath=/firmware/\n"
              "SendFileFileName=/firmware/unit.hex\nSendFileFilterIndex=2\n");
}

TEST_F(SettingsTest, ClosingRestoresTheStoredPositionsOfTheSmallGpsWindows) {
    Settings settings = LoadFrom("[Configuration]\nSkyViewLeft=300\nSvStatusTop=40\n");
    settings.skyViewLeft = 999;
    settings.svStatusTop = 999;
    settings.gpsSimulatorLeft = 999;
    settings.cogDisplayLeft = 999;  // the course window is recorded, not restored
    ConfigFile file(path_);
    settings.ReloadGpsWindowPositions(file);
    EXPECT_EQ(settings.skyViewLeft, 300);
    EXPECT_EQ(settings.svStatusTop, 40);
    EXPECT_EQ(settings.gpsSimulatorLeft, 0);
    EXPECT_EQ(settings.cogDisplayLeft, 999);
}

// How the lines themselves survive is the file's business; here: what the
// settings make of them.
TEST_F(SettingsTest, AHostileFileGivesDefaultsForWhatItCannotRead) {
    const std::string longLine(100 * 1024, 'q');
    const Settings settings = LoadFrom(
        "[Configuration]\nComPort=three\nComPort=5\n"
        "BaudRate=\xff\xfe\nLogDate=\nLinearGrid=0\nLinearGrid=1\n"
        "GraphicFormLeft\n" +
        longLine + "\n" + std::string("\x00\x01=\x03\n", 5) +
        "ZelSimWindowTop=77\n[UserButtons]\nButton1Caption=" + longLine + "\n");
    EXPECT_EQ(settings.comPort, 1);  // the first ComPort wins, and it is no number
    EXPECT_EQ(settings.baudRate, 38400u);
    EXPECT_TRUE(settings.logDate);
    EXPECT_FALSE(settings.linearGrid);
    EXPECT_EQ(settings.graphicFormLeft, 0);
    EXPECT_EQ(settings.zelSimWindowTop, 77);
    EXPECT_EQ(settings.buttons.At(0).caption, longLine);
}

}  // namespace
