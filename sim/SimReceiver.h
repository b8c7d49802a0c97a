#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "SimCadence.h"
#include "SimMessage.h"

namespace zelsim {

class TickClock;

// A receiver with a 2 x 16 LCD and four keys. It hears and talks only while
// the line runs at its own rate: then it streams its fix once a second (and
// its satellites every five), and once asked with "$PKVTS,LCD,ON" it mirrors
// its menu screen by screen, and the key masks move through that menu.
class SimReceiver {
  public:
    enum Screen {
        kStatusScreen = 0,
        kPositionScreen,
        kSettingsScreen,
        kVersionScreen,
        kScreenCount
    };

    static constexpr uint32_t kDefaultBaud = 38400;
    // The remote panel's rate: a receiver asked to mirror its LCD at another
    // rate moves there, where the panel's keys and questions come.
    static constexpr uint32_t kPanelBaud = 38400;
    static constexpr uint32_t kRefreshMs = 1000;
    static constexpr uint32_t kFixPeriodMs = 1000;
    static constexpr uint32_t kSatellitePeriodMs = 5000;
    static constexpr unsigned kHomeMask = 6;
    static constexpr int kInitialContrast = 110;

    static constexpr const char* kName = "Corvane SIM";
    static constexpr const char* kVersion = "2.31";
    static constexpr const char* kSerial = "100042";

    // `nmea` false: the fix is not streamed (the screen and answers stay).
    SimReceiver(const TickClock& clock, uint32_t baud, bool nmea);

    // Any rate the program can set: a receiver is set to what its job
    // needs, the four rates acquisition tries or a fast one for many fixes
    // a second.
    static bool IsSupportedBaud(uint32_t baud);

    // The rate the line runs at now; anything else is noise to the receiver.
    void SetLineRate(uint32_t rate) { lineRate_ = rate; }
    bool Hears() const { return lineRate_ == baud_; }
    uint32_t Baud() const { return baud_; }

    void Hear(const SimMessage& message, std::vector<std::string>& out);
    // The fix when due; refreshes the live screens while mirroring.
    void Tick(std::vector<std::string>& out);
    // When Tick next has something to send; none when it never will by
    // itself. Deaf, it is still looked at on its one-second grid: a program
    // may move to its rate without a word, and its fix then goes out on time.
    std::optional<uint32_t> Due() const;

    Screen CurrentScreen() const { return screen_; }
    bool Mirroring() const { return mirroring_; }

  private:
    void StartMirroring(std::vector<std::string>& out);
    void PressKeys(unsigned mask, std::vector<std::string>& out);
    void ShowScreen(std::vector<std::string>& out) const;
    void SendRows(std::vector<std::string>& out) const;
    void StreamFix(std::vector<std::string>& out);
    uint32_t Elapsed() const;

    const TickClock& clock_;
    uint32_t baud_;
    const uint32_t start_;
    const bool nmea_;
    SimCadence fixes_;
    uint32_t lineRate_ = 0;
    bool mirroring_ = false;
    uint32_t lastRefresh_ = 0;
    Screen screen_ = kStatusScreen;
    unsigned keyMask_ = 0;
    bool dgpsOn_ = true;
    bool backLightOn_ = true;
};

}  // namespace zelsim
