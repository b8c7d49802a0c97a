#pragma once
#include <string_view>

#include "base/MainWindowControls.h"
#include "monitor/CategoryFilter.h"

namespace zelsim {

// The message log's options: each mirrors a check mark of the "Logging
// Options" menu and is kept in the configuration under its key.
struct LogOptions {
    bool logDate = true;
    bool logTime = true;
    bool logMsTickCount = true;
    bool logNmeaChecksum = false;
    // Off: files and their readers stay as they were before the column.
    bool logDirection = false;
    bool logZelMessages = false;
    bool logDgpsMessages = true;
    bool logLightBarMessages = true;
    bool logDormalynMessages = true;
    bool logNonNmeaMessages = true;
    bool logOtherMessages = true;
    bool logPromptForFilename = false;
    bool logOverWriteFile = false;  // the radio pair "Append" / "Overwrite"

    bool operator==(const LogOptions&) const = default;
};

// One check mark as the menu shows it and the configuration stores it.
struct LogOptionItem {
    std::string_view menuItem;
    const char* caption;
    const char* key;
    bool LogOptions::*flag;
    CategorySet categories = 0;  // what a filter lets into the log
};

// In the menu's order; a separator follows the columns and the categories.
// The overwrite pair stands between them and the prompt, by itself.
inline constexpr int kLogColumnItems = 5;
inline constexpr int kLogCategoryItems = 6;
inline constexpr LogOptionItem kLogOptionItems[] = {
    {main_window::mLogDate, "Date", "LogDate", &LogOptions::logDate},
    {main_window::mLogTime, "Time", "LogTime", &LogOptions::logTime},
    {main_window::mLogMsTickCount, "Tick Count (milliseconds)", "LogMsTickCount",
     &LogOptions::logMsTickCount},
    {main_window::mLogNmeaChecksum, "NMEA Checksum", "LogNmeaChecksum",
     &LogOptions::logNmeaChecksum},
    {main_window::mLogDirection, "Direction (< received, > sent)", "LogDirection",
     &LogOptions::logDirection},
    {main_window::mLogZelMessages, "ZEL Messages", "LogZelMessages", &LogOptions::logZelMessages,
     CategoriesOf({MessageCategory::kZel})},
    {main_window::mLogDgpsMessages, "DGPS Messages", "LogDgpsMessages",
     &LogOptions::logDgpsMessages, CategoriesOf({MessageCategory::kDgps})},
    {main_window::mLogLightBarMessages, "Light Bar Messages", "LogLightBarMessages",
     &LogOptions::logLightBarMessages, CategoriesOf({MessageCategory::kLightBar})},
    // The caption as users have always seen it.
    {main_window::mLogDormalynMessages, "DormalynMessages", "LogDormalynMessages",
     &LogOptions::logDormalynMessages, CategoriesOf({MessageCategory::kDormalyn})},
    {main_window::mLogNonNmeaMessages, "Non-NMEA Messages", "LogNonNmeaMessages",
     &LogOptions::logNonNmeaMessages, CategoriesOf({MessageCategory::kNonNmea})},
    {main_window::mLogOtherMessages, "Other Messages", "LogOtherMessages",
     &LogOptions::logOtherMessages, CategoriesOf({MessageCategory::kOther})},
    {main_window::mLogPromptForFilename, "Prompt for Log Filename", "LogPromptForFilename",
     &LogOptions::logPromptForFilename},
};

}  // namespace zelsim
