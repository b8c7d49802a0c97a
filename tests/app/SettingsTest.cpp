#include <gtest/gtest.h>

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
    EXPECT_EQ(settings.baudRate, 38400u);
    EXPECT_EQ(settings.zelType, ZelType::Corvane);
    EXPECT_EQ(settings.buttonGroup, 0);
    EXPECT_EQ(settings.buttons.At(8).caption, "Button 9");
    EXPECT_TRUE(settings.sendHistory.empty());
    EXPECT_TRUE(settings.ports.empty());
}

TEST_F(SettingsTest, PortAndRateOfNoMenuItemLeaveTheDefaults) {
    EXPECT_EQ(LoadFrom("[Configuration]\nComPort=25\nBaudRate=14400\n").comPort, 1);
    EXPECT_EQ(LoadFrom("[Configuration]\nComPort=25\nBaudRate=14400\n").baudRate, 38400u);
    EXPECT_EQ(LoadFrom("[Configuration]\nComPort=-2\nBaudRate=-9600\n").comPort, 1);
    EXPECT_EQ(LoadFrom("[Configuration]\nComPort=-2\nBaudRate=-9600\n").baudRate, 38400u);
    EXPECT_EQ(LoadFrom("[Configuration]\nComPort=0\n").comPort, 1);
    EXPECT_EQ(LoadFrom("[Configuration]\nComPort=18\nBaudRate=115200\n").comPort, 18);
    EXPECT_EQ(LoadFrom("[Configuration]\nComPort=18\nBaudRate=115200\n").baudRate, 115200u);
    EXPECT_EQ(LoadFrom("[Configuration]\nBaudRate=300\n").baudRate, 300u);
}

TEST_F(SettingsTest, AnOutOfRangeValueLeavesWhatWasThereBefore) {
    TempDir::Write(path_, "[Configuration]\nComPort=19\nBaudRate=1\nZelType=Plasma\n");
    ConfigFile file(path_);
    Settings settings;
    settings.comPort = 5;
    settings.baudRate = 9600;
    settings.zelType = ZelType::Off;
    settings.Load(file);
    EXPECT_EQ(settings.comPort, 5);
    EXPECT_EQ(settings.baudRate, 9600u);
    EXPECT_EQ(settings.zelType, ZelType::Off);
}

TEST_F(SettingsTest, ZelTypeTakesOnlyItsThreeNames) {
    EXPECT_EQ(LoadFrom("[Configuration]\nZelType=Dormalyn\n").zelType, ZelType::Dormalyn);
    EXPECT_EQ(LoadFrom("[Configuration]\nZelType=Off\n").zelType, ZelType::Off);
    EXPECT_EQ(LoadFrom("[Configuration]\nZelType=Corvane\n").zelType, ZelType::Corvane);
    EXPECT_EQ(LoadFrom("[Configuration]\nZelType=Plasma\n").zelType, ZelType::Corvane);
}

TEST_F(SettingsTest, ButtonGroupOutsideOneToFourHidesTheButtons) {
    EXPECT_EQ(LoadFrom("[UserButtons]\nButtonGroup=7\n").buttonGroup, 0);
    EXPECT_EQ(LoadFrom("[UserButtons]\nButtonGroup=-1\n").buttonGroup, 0);
    EXPECT_EQ(LoadFrom("[UserButtons]\nButtonGroup=4\n").buttonGroup, 4);
}

TEST_F(SettingsTest, TheResponseSemaphoreIsOnWhateverTheFileSays) {
    Settings settings = LoadFrom("[Configuration]\nSendFileLineRepsonseSemaphore=0\n");
    EXPECT_TRUE(settings.sendFileLineResponseSemaphore);
    ConfigFile file(path_);
    settings.Save(file);
    ASSERT_TRUE(file.Save().Saved());
    EXPECT_NE(TempDir::Read(path_).find("SendFileLineRepsonseSemaphore=1\n"), std::string::npos);
}

TEST_F(SettingsTest, TheTwoSpellingsOfTheOutgoingFilterAreOneKey) {
    Settings settings = LoadFrom("[Configuration]\nMsgMonOutGoingMessages=0\n");
    EXPECT_FALSE(settings.msgMonOutgoingMessages);
    settings.msgMonOutgoingMessages = true;
    ConfigFile file(path_);
    settings.Save(file);
    ASSERT_TRUE(file.Save().Saved());
    const std::string text = TempDir::Read(path_);
    EXPECT_NE(text.find("MsgMonOutGoingMessages=1\n"), std::string::npos);
    EXPECT_EQ(text.find("MsgMonOutgoingMessages"), std::string::npos) << "written twice";

    // A fresh file gets the spelling of this program.
    std::filesystem::remove(path_);
    ConfigFile fresh(path_);
    Settings().Save(fresh);
    ASSERT_TRUE(fresh.Save().Saved());
    EXPECT_NE(TempDir::Read(path_).find("MsgMonOutgoingMessages=1\n"), std::string::npos);
}

TEST_F(SettingsTest, AFreshFileListsTheKeysInTheirOrder) {
    ConfigFile file(path_);
    Settings().Save(file);
    ASSERT_TRUE(file.Save().Saved());
    const std::vector<std::string> expected = {"ZelSimWindowLeft",
                                               "ZelSimWindowTop",
                                               "DefineButtonWindowLeft",
                                               "DefineButtonWindowTop",
                                               "MsgMonColorsWindowLeft",
                                               "MsgMonColorsWindowTop",
                                               "SendFilePopupLeft",
                                               "SendFilePopupTop",
                                               "SendFileLineDelayMs",
                                               "SendFileLineRepsonseSemaphore",
                                               "FileDialogWindowLeft",
                                               "FileDialogWindowTop",
                                               "FileDialogWindowWidth",
                                               "FileDialogWindowHeight",
                                               "LogDialogWindowLeft",
                                               "LogDialogWindowTop",
                                               "LogDialogWindowWidth",
                                               "LogDialogWindowHeight",
                                               "GraphicFormLeft",
                                               "GraphicFormTop",
                                               "PositionDeviationLeft",
                                               "PositionDeviationTop",
                                               "SvStatusLeft",
                                               "SvStatusTop",
                                               "CogDisplayLeft",
                                               "CogDisplayTop",
                                               "CogDisplayHeight",
                                               "CogDisplayWidth",
                                               "SkyViewLeft",
                                               "SkyViewTop",
                                               "GpsSimulatorLeft",
                                               "GpsSimulatorTop",
                                               "LinearGrid",
                                               "LogGrid",
                                               "BmpSaveFileIndex",
                                               "DataSaveFileIndex",
                                               "LogSequenceFileIndex",
                                               "ComPort",
                                               "BaudRate",
                                               "LogFileNameNoPrompt",
                                               "LogDate",
                                               "LogTime",
                                               "LogMsTickCount",
                                               "LogNmeaChecksum",
                                               "LogZelMessages",
                                               "LogDgpsMessages",
                                               "LogLightBarMessages",
                                               "LogDormalynMessages",
                                               "LogNonNmeaMessages",
                                               "LogOtherMessages",
                                               "LogPromptForFilename",
                                               "LogOverWriteFile",
                                               "ZelType",
                                               "HideMessageMonitor",
                                               "MessageMonitorBig",
                                               "MessageMonitorUpperCase",
                                               "MsgMonTime",
                                               "MsgMonTickCount",
                                               "MsgMonZelMessages",
                                               "MsgMonDgpsMessages",
                                               "MsgMonLbMessages",
                                               "MsgMonDormalynMessages",
                                               "MsgMonNonNmeaMessages",
                                               "MsgMonOtherMessages",
                                               "MsgMonOutgoingMessages"};
    EXPECT_EQ(KeysOf("Configuration"), expected);
    EXPECT_EQ(KeysOf("UserButtons").size(), 2u + 32u);  // no script lines for empty scripts
    EXPECT_TRUE(KeysOf("MessageDropDownLines").empty());
    const std::string text = TempDir::Read(path_);
    EXPECT_NE(text.find("ZelType=Corvane\n"), std::string::npos);
    EXPECT_NE(text.find("BaudRate=38400\n"), std::string::npos);
    EXPECT_EQ(text.find("[FileSpecs]"), std::string::npos);
}

// Every member survives a save and a load: a key read under one name and
// written under another would show here.
TEST_F(SettingsTest, EverythingWrittenIsReadBack) {
    Settings settings;
    settings.comPort = 7;
    settings.baudRate = 4800;
    settings.zelSimWindowLeft = -30;
    settings.zelSimWindowTop = 12;
    settings.defineButtonWindowLeft = 13;
    settings.defineButtonWindowTop = 14;
    settings.msgMonColorsWindowLeft = 15;
    settings.msgMonColorsWindowTop = 16;
    settings.sendFilePopupLeft = 17;
    settings.sendFilePopupTop = 18;
    settings.sendFileLineDelayMs = 250;
    settings.fileDialogWindowLeft = 19;
    settings.fileDialogWindowTop = 20;
    settings.fileDialogWindowWidth = 21;
    settings.fileDialogWindowHeight = 22;
    settings.logDialogWindowLeft = 23;
    settings.logDialogWindowTop = 24;
    settings.logDialogWindowWidth = 25;
    settings.logDialogWindowHeight = 26;
    settings.graphicFormLeft = 27;
    settings.graphicFormTop = 28;
    settings.positionDeviationLeft = 29;
    settings.positionDeviationTop = 30;
    settings.svStatusLeft = 31;
    settings.svStatusTop = 32;
    settings.cogDisplayLeft = 33;
    settings.cogDisplayTop = 34;
    settings.cogDisplayHeight = 35;
    settings.cogDisplayWidth = 36;
    settings.skyViewLeft = 37;
    settings.skyViewTop = 38;
    settings.gpsSimulatorLeft = 39;
    settings.gpsSimulatorTop = 40;
    settings.linearGrid = false;
    settings.logGrid = false;
    settings.bmpSaveFileIndex = 41;
    settings.dataSaveFileIndex = 42;
    settings.logSequenceFileIndex = 43;
    settings.logFileNameNoPrompt = "/var/log/line one.log";
    settings.logDate = false;
    settings.logTime = false;
    settings.logMsTickCount = false;
    settings.logNmeaChecksum = true;
    settings.logZelMessages = true;
    settings.logDgpsMessages = false;
    settings.logLightBarMessages = false;
    settings.logDormalynMessages = false;
    settings.logNonNmeaMessages = false;
    settings.logOtherMessages = false;
    settings.logPromptForFilename = true;
    settings.logOverWriteFile = true;
    settings.zelType = ZelType::Dormalyn;
    settings.hideMessageMonitor = true;
    settings.messageMonitorBig = true;
    settings.messageMonitorUpperCase = false;
    settings.msgMonTime = false;
    settings.msgMonTickCount = false;
    settings.msgMonZelMessages = false;
    settings.msgMonDgpsMessages = false;
    settings.msgMonLbMessages = false;
    settings.msgMonDormalynMessages = false;
    settings.msgMonNonNmeaMessages = false;
    settings.msgMonOtherMessages = false;
    settings.msgMonOutgoingMessages = false;
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

TEST_F(SettingsTest, AHostileFileGivesDefaultsForWhatItCannotReadAndKeepsTheRest) {
    const std::string longLine(100 * 1024, 'q');
    const std::string before =
        "[Configuration]\n"
        "ComPort=three\n"
        "ComPort=5\n"
        "BaudRate=\xff\xfe\n"
        "LogDate=\n"
        "LinearGrid=0\n"
        "LinearGrid=1\n"
        "GraphicFormLeft\n" +
        longLine + "\n" + std::string("\x00\x01\x02=\x03", 5) +
        "\n"
        "FutureOption=42\n"
        "[UserButtons]\n"
        "Button1Caption=" +
        longLine + "\n[Mystery]\n; comment\n";
    const Settings settings = LoadFrom(before);
    EXPECT_EQ(settings.comPort, 1);  // the first ComPort wins, and it is no number
    EXPECT_EQ(settings.baudRate, 38400u);
    EXPECT_TRUE(settings.logDate);
    EXPECT_FALSE(settings.linearGrid);
    EXPECT_EQ(settings.graphicFormLeft, 0);
    EXPECT_EQ(settings.buttons.At(0).caption, longLine);

    ConfigFile file(path_);
    settings.Save(file);
    ASSERT_TRUE(file.Save().Saved());
    const std::string after = TempDir::Read(path_);
    for (const std::string& kept :
         {std::string("\nComPort=5\n"), std::string("\nLinearGrid=1\n"),
          std::string("\nGraphicFormLeft\n"), "\n" + longLine + "\n",
          std::string("\n\x00\x01\x02=\x03\n", 7), std::string("\nFutureOption=42\n"),
          std::string("[Mystery]\n; comment\n")})
        EXPECT_NE(after.find(kept), std::string::npos) << "lost: " << kept.substr(0, 40);
    EXPECT_NE(after.find("\nComPort=1\n"), std::string::npos);
    EXPECT_NE(after.find("\nBaudRate=38400\n"), std::string::npos);
}

TEST_F(SettingsTest, AReadOnlyFileStaysByteForByteUnchanged) {
    const std::string before = "[Configuration]\r\nComPort=3\r\n[Mystery]\r\nX=1\r\n";
    TempDir::Write(path_, before);
    ASSERT_EQ(::chmod(path_.c_str(), 0444), 0);
    ConfigFile file(path_);
    Settings settings;
    settings.Load(file);
    settings.comPort = 9;
    settings.sendHistory = {"lost"};
    settings.buttons.Define(0, "lost", {"lost"});
    settings.Save(file);
    EXPECT_EQ(file.Save().status, ConfigFile::SaveResult::Status::SkippedReadOnly);
    EXPECT_EQ(TempDir::Read(path_), before);
}

}  // namespace
