#include "app/Settings.h"

#include <algorithm>
#include <cstdio>
#include <span>
#include <variant>

#include "app/ConfigFile.h"
#include "serial/SerialPort.h"

namespace {

using Member = std::variant<int Settings::*, bool Settings::*, std::string Settings::*>;

struct Key {
    const char* name;
    Member member;
};

// "Configuration" in the order of the file, cut where the keys with rules of
// their own stand between them.
constexpr Key kWindowKeys[] = {
    {"ZelSimWindowLeft", &Settings::zelSimWindowLeft},
    {"ZelSimWindowTop", &Settings::zelSimWindowTop},
    {"DefineButtonWindowLeft", &Settings::defineButtonWindowLeft},
    {"DefineButtonWindowTop", &Settings::defineButtonWindowTop},
    {"MsgMonColorsWindowLeft", &Settings::msgMonColorsWindowLeft},
    {"MsgMonColorsWindowTop", &Settings::msgMonColorsWindowTop},
    {"SendFilePopupLeft", &Settings::sendFilePopupLeft},
    {"SendFilePopupTop", &Settings::sendFilePopupTop},
    {"SendFileLineDelayMs", &Settings::sendFileLineDelayMs},
};

// The misspelling is the key's name in every existing file.
constexpr Key kSemaphoreKey = {"SendFileLineRepsonseSemaphore",
                               &Settings::sendFileLineResponseSemaphore};

constexpr Key kDialogAndGraphKeys[] = {
    {"FileDialogWindowLeft", &Settings::fileDialogWindowLeft},
    {"FileDialogWindowTop", &Settings::fileDialogWindowTop},
    {"FileDialogWindowWidth", &Settings::fileDialogWindowWidth},
    {"FileDialogWindowHeight", &Settings::fileDialogWindowHeight},
    {"LogDialogWindowLeft", &Settings::logDialogWindowLeft},
    {"LogDialogWindowTop", &Settings::logDialogWindowTop},
    {"LogDialogWindowWidth", &Settings::logDialogWindowWidth},
    {"LogDialogWindowHeight", &Settings::logDialogWindowHeight},
    {"GraphicFormLeft", &Settings::graphicFormLeft},
    {"GraphicFormTop", &Settings::graphicFormTop},
    {"PositionDeviationLeft", &Settings::positionDeviationLeft},
    {"PositionDeviationTop", &Settings::positionDeviationTop},
    {"SvStatusLeft", &Settings::svStatusLeft},
    {"SvStatusTop", &Settings::svStatusTop},
    {"CogDisplayLeft", &Settings::cogDisplayLeft},
    {"CogDisplayTop", &Settings::cogDisplayTop},
    {"CogDisplayHeight", &Settings::cogDisplayHeight},
    {"CogDisplayWidth", &Settings::cogDisplayWidth},
    {"SkyViewLeft", &Settings::skyViewLeft},
    {"SkyViewTop", &Settings::skyViewTop},
    {"GpsSimulatorLeft", &Settings::gpsSimulatorLeft},
    {"GpsSimulatorTop", &Settings::gpsSimulatorTop},
    {"LinearGrid", &Settings::linearGrid},
    {"LogGrid", &Settings::logGrid},
    {"BmpSaveFileIndex", &Settings::bmpSaveFileIndex},
    {"DataSaveFileIndex", &Settings::dataSaveFileIndex},
    {"LogSequenceFileIndex", &Settings::logSequenceFileIndex},
};

constexpr Key kLogKeys[] = {
    {"LogFileNameNoPrompt", &Settings::logFileNameNoPrompt},
    {"LogDate", &Settings::logDate},
    {"LogTime", &Settings::logTime},
    {"LogMsTickCount", &Settings::logMsTickCount},
    {"LogNmeaChecksum", &Settings::logNmeaChecksum},
    {"LogZelMessages", &Settings::logZelMessages},
    {"LogDgpsMessages", &Settings::logDgpsMessages},
    {"LogLightBarMessages", &Settings::logLightBarMessages},
    {"LogDormalynMessages", &Settings::logDormalynMessages},
    {"LogNonNmeaMessages", &Settings::logNonNmeaMessages},
    {"LogOtherMessages", &Settings::logOtherMessages},
    {"LogPromptForFilename", &Settings::logPromptForFilename},
    {"LogOverWriteFile", &Settings::logOverWriteFile},
};

struct MonitorKey {
    const char* name;
    bool MonitorOptions::*member;
};

constexpr MonitorKey kMonitorKeys[] = {
    {"HideMessageMonitor", &MonitorOptions::hideMessageMonitor},
    {"MessageMonitorBig", &MonitorOptions::messageMonitorBig},
    {"MessageMonitorUpperCase", &MonitorOptions::messageMonitorUpperCase},
    {"MsgMonTime", &MonitorOptions::msgMonTime},
    {"MsgMonTickCount", &MonitorOptions::msgMonTickCount},
    {"MsgMonZelMessages", &MonitorOptions::msgMonZelMessages},
    {"MsgMonDgpsMessages", &MonitorOptions::msgMonDgpsMessages},
    {"MsgMonLbMessages", &MonitorOptions::msgMonLbMessages},
    {"MsgMonDormalynMessages", &MonitorOptions::msgMonDormalynMessages},
    {"MsgMonNonNmeaMessages", &MonitorOptions::msgMonNonNmeaMessages},
    {"MsgMonOtherMessages", &MonitorOptions::msgMonOtherMessages},
    // Older files spell it "MsgMonOutGoingMessages"; keys match regardless of case.
    {"MsgMonOutgoingMessages", &MonitorOptions::msgMonOutGoingMessages},
};

constexpr Key kGpsWindowKeys[] = {
    {"PositionDeviationLeft", &Settings::positionDeviationLeft},
    {"PositionDeviationTop", &Settings::positionDeviationTop},
    {"SkyViewLeft", &Settings::skyViewLeft},
    {"SkyViewTop", &Settings::skyViewTop},
    {"GpsSimulatorLeft", &Settings::gpsSimulatorLeft},
    {"GpsSimulatorTop", &Settings::gpsSimulatorTop},
    {"SvStatusLeft", &Settings::svStatusLeft},
    {"SvStatusTop", &Settings::svStatusTop},
};

constexpr const char* kComPortKey = "ComPort";
constexpr const char* kBaudRateKey = "BaudRate";
constexpr const char* kZelTypeKey = "ZelType";
constexpr const char* kShowScriptDetailsKey = "ShowScriptDetails";
constexpr const char* kButtonGroupKey = "ButtonGroup";
constexpr const char* kLogFilePathKey = "LogFilePath";
constexpr const char* kLogFileFileNameKey = "LogFileFileName";
constexpr const char* kLogFileFilterIndexKey = "LogFileFilterIndex";
constexpr const char* kSendFilePathKey = "SendFilePath";
constexpr const char* kSendFileFileNameKey = "SendFileFileName";
constexpr const char* kSendFileFilterIndexKey = "SendFileFilterIndex";

constexpr const char* kZelTypeOff = "Off";
constexpr const char* kZelTypeDormalyn = "Dormalyn";
constexpr const char* kZelTypeCorvane = "Corvane";

template <class... F>
struct Overloaded : F... {
    using F::operator()...;
};

void ReadKey(ConfigFile& file, Settings& settings, const Key& key) {
    std::visit(
        Overloaded{
            [&](int Settings::*m) { settings.*m = file.ReadInt(key.name, settings.*m); },
            [&](bool Settings::*m) { settings.*m = file.ReadFlag(key.name, settings.*m); },
            [&](std::string Settings::*m) { settings.*m = file.ReadText(key.name, settings.*m); },
        },
        key.member);
}

void WriteKey(ConfigFile& file, const Settings& settings, const Key& key) {
    std::visit(Overloaded{
                   [&](int Settings::*m) { file.WriteInt(key.name, settings.*m); },
                   [&](bool Settings::*m) { file.WriteFlag(key.name, settings.*m); },
                   [&](std::string Settings::*m) { file.WriteText(key.name, settings.*m); },
               },
               key.member);
}

void ReadKeys(ConfigFile& file, Settings& settings, std::span<const Key> keys) {
    for (const Key& key : keys) ReadKey(file, settings, key);
}

void WriteKeys(ConfigFile& file, const Settings& settings, std::span<const Key> keys) {
    for (const Key& key : keys) WriteKey(file, settings, key);
}

bool EqualNoCase(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        auto lower = [](char c) {
            return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        };
        return lower(x) == lower(y);
    });
}

std::string HistoryKey(size_t number) {
    char key[32];
    std::snprintf(key, sizeof key, "Line%02zu", number);
    return key;
}

const char* ZelTypeText(ZelType type) {
    switch (type) {
        case ZelType::Dormalyn:
            return kZelTypeDormalyn;
        case ZelType::Corvane:
            return kZelTypeCorvane;
        case ZelType::Off:
            break;
    }
    return kZelTypeOff;
}

}  // namespace

void Settings::Load(ConfigFile& file) {
    LoadConfiguration(file);
    LoadHistory(file);
    LoadUserButtons(file);
    LoadFileSpecs(file);
    LoadPorts(file);
}

void Settings::Save(ConfigFile& file) const {
    SaveConfiguration(file);
    SaveHistory(file);
    SaveUserButtons(file);
}

void Settings::LoadConfiguration(ConfigFile& file) {
    file.SetSection(kConfigurationSection);

    // 0 stands for the first item; numbers of no item (negative ones too)
    // leave the menu as it was.
    const int port = file.ReadInt(kComPortKey, comPort);
    if (port == 0)
        comPort = 1;
    else if (port >= 1 && port <= kComMenuItems)
        comPort = port;

    const int baud = file.ReadInt(kBaudRateKey, static_cast<int>(baudRate));
    if (baud > 0 && SerialPort::IndexOfRate(static_cast<uint32_t>(baud)) >= 0)
        baudRate = static_cast<uint32_t>(baud);

    ReadKeys(file, *this, kWindowKeys);
    // The stored value is not obeyed: a file send always waits for answers.
    sendFileLineResponseSemaphore = true;
    ReadKeys(file, *this, kDialogAndGraphKeys);
    ReadKeys(file, *this, kLogKeys);

    const std::string type = file.ReadText(kZelTypeKey, ZelTypeText(zelType));
    if (type == kZelTypeDormalyn)
        zelType = ZelType::Dormalyn;
    else if (type == kZelTypeOff)
        zelType = ZelType::Off;
    else if (type == kZelTypeCorvane)
        zelType = ZelType::Corvane;

    for (const MonitorKey& key : kMonitorKeys)
        monitor.*key.member = file.ReadFlag(key.name, monitor.*key.member);
}

void Settings::SaveConfiguration(ConfigFile& file) const {
    file.SetSection(kConfigurationSection);
    WriteKeys(file, *this, kWindowKeys);
    WriteKey(file, *this, kSemaphoreKey);
    WriteKeys(file, *this, kDialogAndGraphKeys);
    file.WriteInt(kComPortKey, comPort);
    file.WriteInt(kBaudRateKey, static_cast<int>(baudRate));
    WriteKeys(file, *this, kLogKeys);
    file.WriteText(kZelTypeKey, ZelTypeText(zelType));
    for (const MonitorKey& key : kMonitorKeys) file.WriteFlag(key.name, monitor.*key.member);
}

void Settings::LoadHistory(ConfigFile& file) {
    file.SetSection(kHistorySection);
    for (size_t number = 1; number <= kHistoryLines; ++number) {
        std::string line = file.ReadText(HistoryKey(number), "");
        if (line.empty()) continue;
        const bool known =
            std::any_of(sendHistory.begin(), sendHistory.end(),
                        [&](const std::string& entry) { return EqualNoCase(entry, line); });
        if (!known) sendHistory.push_back(std::move(line));
    }
}

void Settings::SaveHistory(ConfigFile& file) const {
    file.SetSection(kHistorySection);
    for (size_t number = 1; number <= kHistoryLines; ++number) file.DeleteKey(HistoryKey(number));
    // Never beyond Line20: higher keys belong to someone else and are kept.
    const size_t count = std::min(sendHistory.size(), kHistoryLines);
    for (size_t i = 0; i < count; ++i) file.WriteText(HistoryKey(i + 1), sendHistory[i]);
}

void Settings::LoadUserButtons(ConfigFile& file) {
    file.SetSection(ButtonTable::kSection);
    showScriptDetails = file.ReadFlag(kShowScriptDetailsKey, showScriptDetails);
    const int group = file.ReadInt(kButtonGroupKey, buttonGroup);
    buttonGroup = (group >= 1 && group <= kButtonGroups) ? group : 0;
    buttons.Load(file);
}

void Settings::SaveUserButtons(ConfigFile& file) const {
    file.SetSection(ButtonTable::kSection);
    file.WriteFlag(kShowScriptDetailsKey, showScriptDetails);
    file.WriteInt(kButtonGroupKey, buttonGroup);
    buttons.Save(file);
}

void Settings::LoadFileSpecs(ConfigFile& file) {
    file.SetSection(kFileSpecsSection);
    logFilePath = file.ReadText(kLogFilePathKey, kDefaultFolder);
    logFileFileName = file.ReadText(kLogFileFileNameKey, "");
    logFileFilterIndex = file.ReadInt(kLogFileFilterIndexKey, kDefaultLogFileFilterIndex);
    sendFilePath = file.ReadText(kSendFilePathKey, kDefaultFolder);
    sendFileFileName = file.ReadText(kSendFileFileNameKey, "");
    sendFileFilterIndex = file.ReadInt(kSendFileFilterIndexKey, kDefaultSendFileFilterIndex);
}

void Settings::SaveSendFileSpecs(ConfigFile& file) const {
    file.SetSection(kFileSpecsSection);
    file.WriteText(kSendFilePathKey, sendFilePath);
    file.WriteText(kSendFileFileNameKey, sendFileFileName);
    file.WriteInt(kSendFileFilterIndexKey, sendFileFilterIndex);
}

void Settings::ReloadGpsWindowPositions(ConfigFile& file) {
    file.SetSection(kConfigurationSection);
    for (const Key& key : kGpsWindowKeys)
        this->*std::get<int Settings::*>(key.member) = file.ReadInt(key.name, 0);
}

void Settings::LoadPorts(ConfigFile& file) {
    file.SetSection(kPortsSection);
    for (int number = 1; number <= kHighestPortKey; ++number) {
        std::string device = file.ReadText("COM" + std::to_string(number), "");
        if (!device.empty()) ports[number] = std::move(device);
    }
}
