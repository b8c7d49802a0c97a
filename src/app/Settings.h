#pragma once
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "app/ZelType.h"
#include "monitor/MonitorOptions.h"
#include "scripts/ButtonTable.h"

class ConfigFile;

// Every persistent setting of the program, one member per key, holding its
// default until Load. Keys of windows that do not exist yet are carried
// through too, so a file written by a fuller version loses nothing here.
class Settings {
  public:
    static constexpr const char* kConfigurationSection = "Configuration";
    static constexpr const char* kHistorySection = "MessageDropDownLines";
    static constexpr const char* kFileSpecsSection = "FileSpecs";
    static constexpr const char* kPortsSection = "Ports";
    static constexpr int kComMenuItems = 18;
    static constexpr uint32_t kDefaultBaud = 38400;
    static constexpr size_t kHistoryLines = 20;
    static constexpr int kButtonGroups = ButtonTable::kGroupCount;
    static constexpr int kHighestPortKey = 99;
    static constexpr const char* kDefaultFolder = ".";
    static constexpr int kDefaultLogFileFilterIndex = 2;
    static constexpr int kDefaultSendFileFilterIndex = 4;

    // "Configuration"
    int comPort = 1;  // 1..18
    uint32_t baudRate = kDefaultBaud;
    int zelSimWindowLeft = 0;
    int zelSimWindowTop = 0;
    int defineButtonWindowLeft = 0;
    int defineButtonWindowTop = 0;
    int msgMonColorsWindowLeft = 0;
    int msgMonColorsWindowTop = 0;
    int sendFilePopupLeft = 0;
    int sendFilePopupTop = 0;
    int sendFileLineDelayMs = 0;
    bool sendFileLineResponseSemaphore = true;  // on at every start, whatever the file says
    int fileDialogWindowLeft = 50;
    int fileDialogWindowTop = 50;
    int fileDialogWindowWidth = 200;
    int fileDialogWindowHeight = 200;
    int logDialogWindowLeft = 50;
    int logDialogWindowTop = 50;
    int logDialogWindowWidth = 200;
    int logDialogWindowHeight = 200;
    int graphicFormLeft = 0;
    int graphicFormTop = 0;
    int positionDeviationLeft = 0;
    int positionDeviationTop = 0;
    int svStatusLeft = 0;
    int svStatusTop = 0;
    int cogDisplayLeft = 0;
    int cogDisplayTop = 0;
    int cogDisplayHeight = 200;
    int cogDisplayWidth = 200;
    int skyViewLeft = 0;
    int skyViewTop = 0;
    int gpsSimulatorLeft = 0;
    int gpsSimulatorTop = 0;
    bool linearGrid = true;
    bool logGrid = true;
    int bmpSaveFileIndex = 1;
    int dataSaveFileIndex = 1;
    int logSequenceFileIndex = 1;
    std::string logFileNameNoPrompt = "./ZelSim.log";
    bool logDate = true;
    bool logTime = true;
    bool logMsTickCount = true;
    bool logNmeaChecksum = false;
    bool logZelMessages = false;
    bool logDgpsMessages = true;
    bool logLightBarMessages = true;
    bool logDormalynMessages = true;
    bool logNonNmeaMessages = true;
    bool logOtherMessages = true;
    bool logPromptForFilename = false;
    bool logOverWriteFile = false;
    ZelType zelType = ZelType::Corvane;
    MonitorOptions monitor;

    // "MessageDropDownLines": the send box's history, top entry first.
    std::vector<std::string> sendHistory;

    // "UserButtons"
    bool showScriptDetails = false;
    int buttonGroup = 0;  // 1..4, or 0 with the buttons hidden
    ButtonTable buttons;

    // "FileSpecs": the dialogs' memory.
    std::string logFilePath = kDefaultFolder;
    std::string logFileFileName;
    int logFileFilterIndex = kDefaultLogFileFilterIndex;
    std::string sendFilePath = kDefaultFolder;
    std::string sendFileFileName;
    int sendFileFilterIndex = kDefaultSendFileFilterIndex;

    // "Ports": COM number -> device path, for the port map.
    std::map<int, std::string> ports;

    // Start-up: every section. A ComPort, BaudRate or ZelType that fits no
    // menu item leaves the member as it was; a ButtonGroup outside 1..4 hides
    // the buttons.
    void Load(ConfigFile& file);
    // Shutdown: "Configuration", "MessageDropDownLines", "UserButtons". The
    // dialog memory and the ports are not written here.
    void Save(ConfigFile& file) const;

    // When the log or the send-file dialog opens.
    void LoadFileSpecs(ConfigFile& file);
    // The file sender, as soon as a file was opened.
    void SaveSendFileSpecs(ConfigFile& file) const;
    // Closing the main window: the four small GPS windows keep the stored
    // positions, not where the user moved them.
    void ReloadGpsWindowPositions(ConfigFile& file);

    bool operator==(const Settings&) const = default;

  private:
    void LoadConfiguration(ConfigFile& file);
    void LoadHistory(ConfigFile& file);
    void LoadUserButtons(ConfigFile& file);
    void LoadPorts(ConfigFile& file);
    void SaveConfiguration(ConfigFile& file) const;
    void SaveHistory(ConfigFile& file) const;
    void SaveUserButtons(ConfigFile& file) const;
};
