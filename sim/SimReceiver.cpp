#include "SimReceiver.h"

#include <cmath>
#include <cstdio>

#include "SimNmea.h"
#include "SimSentence.h"
#include "SimVehicle.h"
#include "base/NmeaChecksum.h"
#include "base/TickClock.h"
#include "serial/SerialPort.h"

namespace zelsim {

namespace {

// Panel keys as the receiver's caps are printed: bit 1 right, 2 down, 4 up, 8 enter.
constexpr unsigned kKeyRight = 1;
constexpr unsigned kKeyDown = 2;
constexpr unsigned kKeyUp = 4;
constexpr unsigned kKeyEnter = 8;

constexpr int kRowLength = 16;
constexpr int kSecondRow = 16;

// Glyph 0, signal bars, defined through the controller's glyph memory and
// shown in the last column of the status screen.
constexpr const char* kGlyphDefinition = "$PKVTD,040,100,101,101,105,105,115,115,100";
constexpr const char* kGlyphShown = "$PKVTD,08F,100";

std::string Row(const char* command, int position, const char* text) {
    return SimSentencef("$PKVTS,%s,%d,%-*s", command, position, kRowLength, text);
}

// The fix the controller steers by comes from this receiver.
int SatellitesAt(uint32_t elapsedMs) {
    return SimVehicle::At(elapsedMs).satellites;
}

// One row of the position screen, "N 48°07.0385'", the degree sign as the
// receiver's own code 0xDF through TXX (three characters for one cell).
std::string PositionRow(int position, double minutes, int degreeDigits, char positive,
                        char negative) {
    const long units = std::lround(std::fabs(minutes) * 1e4);
    const long degrees = units / (60L * 10000L);
    const long rest = units - degrees * 60L * 10000L;
    char text[32];
    const int length = std::snprintf(text, sizeof text, "%c %0*ld%%DF%02ld.%04ld'",
                                     minutes < 0 ? negative : positive, degreeDigits, degrees,
                                     rest / 10000, rest % 10000);
    const int cells = length - 2;
    return SimSentencef("$PKVTS,TXX,%d,%s%*s", position, text, kRowLength - cells, "");
}
}  // namespace

SimReceiver::SimReceiver(const TickClock& clock, uint32_t baud, bool nmea)
    : clock_(clock),
      baud_(baud),
      start_(clock.TickNow()),
      nmea_(nmea),
      fixes_(start_, kFixPeriodMs) {}

bool SimReceiver::IsSupportedBaud(uint32_t baud) {
    return SerialPort::IndexOfRate(baud) >= 0;
}

uint32_t SimReceiver::Elapsed() const {
    return clock_.TickNow() - start_;
}

void SimReceiver::Hear(const SimMessage& message, std::vector<std::string>& out) {
    if (!Hears() || !message.IsSentence()) return;
    if (message.FieldIs(0, "PKVTQ") && message.FieldIs(1, "RID")) {
        out.push_back(SimSentencef("$PKVTR,RID,%s,%s,L1,SBAS,%s", kName, kVersion, kSerial));
    } else if (message.FieldIs(0, "PKVTS") && message.FieldIs(1, "LCD") &&
               message.FieldIs(2, "ON")) {
        StartMirroring(out);
    } else if (message.FieldIs(0, "PKVTK")) {
        const std::string_view mask = message.Field(1);
        if (mask.size() == 1 && IsHexDigit(mask[0])) PressKeys(HexValue(mask[0]), out);
    }
}

void SimReceiver::Tick(std::vector<std::string>& out) {
    if (!Hears()) return;
    if (nmea_) StreamFix(out);
    if (!mirroring_ || !clock_.TickElapsed(lastRefresh_, kRefreshMs - 1)) return;
    lastRefresh_ = clock_.TickNow();
    if (screen_ == kStatusScreen || screen_ == kPositionScreen) SendRows(out);
}

std::optional<uint32_t> SimReceiver::Due() const {
    if (!Hears()) return fixes_.NextAfter(clock_.TickNow());
    std::optional<uint32_t> due;
    if (nmea_) due = fixes_.Due();
    if (mirroring_) due = EarlierTick(due, lastRefresh_ + kRefreshMs);
    return due;
}

// The fix of the slot taken, not of the tick: the time stamps stay on whole
// seconds however late the poll comes.
void SimReceiver::StreamFix(std::vector<std::string>& out) {
    if (!fixes_.Take(clock_.TickNow())) return;
    const uint32_t elapsed = fixes_.Slot() - start_;
    const SimNmea::Epoch epoch{elapsed, SatellitesAt(elapsed), dgpsOn_};
    SimNmea::Fix(epoch, out);
    if (elapsed % kSatellitePeriodMs == 0) SimNmea::Satellites(epoch, out);
}

void SimReceiver::StartMirroring(std::vector<std::string>& out) {
    mirroring_ = true;
    baud_ = kPanelBaud;
    lastRefresh_ = clock_.TickNow();
    out.push_back(SimSentencef("$PKVTS,CON,%d", kInitialContrast));
    out.push_back(SimSentencef("$PKVTS,BKL,%s", backLightOn_ ? "ON" : "OFF"));
    out.push_back(SimSentence(kGlyphDefinition));
    ShowScreen(out);
}

void SimReceiver::PressKeys(unsigned mask, std::vector<std::string>& out) {
    const unsigned pressed = mask & ~keyMask_;
    keyMask_ = mask;
    const Screen before = screen_;
    const bool dgpsBefore = dgpsOn_;
    const bool backLightBefore = backLightOn_;

    if (mask == kHomeMask) {
        screen_ = kStatusScreen;
    } else if (pressed & kKeyDown) {
        screen_ = static_cast<Screen>((screen_ + 1) % kScreenCount);
    } else if (pressed & kKeyUp) {
        screen_ = static_cast<Screen>((screen_ + kScreenCount - 1) % kScreenCount);
    } else if ((pressed & kKeyEnter) && screen_ == kSettingsScreen) {
        dgpsOn_ = !dgpsOn_;
    } else if ((pressed & kKeyRight) && screen_ == kSettingsScreen) {
        backLightOn_ = !backLightOn_;
    }

    if (!mirroring_) return;
    if (backLightOn_ != backLightBefore)
        out.push_back(SimSentencef("$PKVTS,BKL,%s", backLightOn_ ? "ON" : "OFF"));
    // Home always repaints: it is how a panel gets back in step with the receiver.
    if (screen_ != before || mask == kHomeMask)
        ShowScreen(out);
    else if (dgpsOn_ != dgpsBefore || backLightOn_ != backLightBefore)
        SendRows(out);
}

void SimReceiver::ShowScreen(std::vector<std::string>& out) const {
    out.push_back(SimSentence("$PKVTS,CLR"));
    SendRows(out);
}

void SimReceiver::SendRows(std::vector<std::string>& out) const {
    char text[64];
    switch (screen_) {
        case kStatusScreen: {
            const int satellites = SatellitesAt(Elapsed());
            // Fifteen columns, so the glyph in the last one stays.
            std::snprintf(text, sizeof text, "$PKVTS,TXT,0,Sats %02d DGPS %c ", satellites,
                          dgpsOn_ ? 'D' : 'G');
            out.push_back(SimSentence(text));
            out.push_back(SimSentence(kGlyphShown));
            std::snprintf(text, sizeof text, "Fix 3D  HDOP %s",
                          SimNmea::DilutionFor(satellites).horizontal);
            out.push_back(Row("TXT", kSecondRow, text));
            break;
        }
        case kPositionScreen: {
            // Where the streamed fix says the vehicle is.
            const SimVehicle::State s = SimVehicle::At(Elapsed());
            out.push_back(PositionRow(0, s.latitudeMin, 2, 'N', 'S'));
            out.push_back(PositionRow(kSecondRow, s.longitudeMin, 3, 'E', 'W'));
            break;
        }
        case kSettingsScreen:
            out.push_back(Row("TXT", 0, dgpsOn_ ? "DGPS       WAAS" : "DGPS        OFF"));
            out.push_back(
                Row("TXT", kSecondRow, backLightOn_ ? "Backlight    ON" : "Backlight   OFF"));
            break;
        case kVersionScreen:
            out.push_back(Row("TXT", 0, kName));
            std::snprintf(text, sizeof text, "Ver %s #%s", kVersion, kSerial);
            out.push_back(Row("TXT", kSecondRow, text));
            break;
        case kScreenCount:
            break;
    }
}

}  // namespace zelsim
