#pragma once
#include <cstdint>
#include <type_traits>

namespace zelsim {

// The controller's state at one moment: the most recent value of everything
// it reported, copied whole into the ring at each sample. The member names
// are the data file's column names; `firstRsp` is its "1stRsp". Everything
// is zero until something writes it.
struct DiagnosticRecord {
    char dat[10]{};  // "mm/dd/yy" at sampling
    char tim[10]{};  // "hh:nn:ss" at sampling
    uint8_t hld{};   // 1 on the first record after Hold: the chart leaves a gap before it
    char rMd{};      // the receiver's DGPS mode character
    uint8_t sats{};
    int16_t latDeg{};  // negative south, as latUMin
    int32_t latUMin{};
    int16_t lonDeg{};  // negative west, as lonUMin
    int32_t lonUMin{};
    int16_t sogTenthsMph{};  // negative when reversing
    int16_t cogTenthsDeg{};
    int16_t offErrCM{};
    int16_t angErrTenthsDeg{};
    int16_t waTenthDeg{};  // the yaw rate instead when yawRateFlag is '1'
    int16_t solOut{};
    int16_t p0{};  // p0..p5: the six traces' rows on the linear scale
    int16_t p1{};
    int16_t p2{};
    int16_t p3{};
    int16_t p4{};
    int16_t p5{};
    int16_t lg0{};  // lg0..lg5: ... and on the logarithmic scale; never saved
    int16_t lg1{};
    int16_t lg2{};
    int16_t lg3{};
    int16_t lg4{};
    int16_t lg5{};
    int32_t sogMmPerSec{};  // negative when reversing
    uint8_t strMode{};
    uint8_t firstRsp{};  // a second-stage settings reply came since the window opened
    int16_t spsZCtrl{};
    int32_t spsOffset{};
    int16_t dTmMs{};
    int16_t dTmActMs{};
    int32_t olDeadBand{};
    int32_t olTonLen{};
    int32_t laDeadBand{};
    int32_t laTonLen{};
    int32_t whBas{};
    int32_t minTurnRad{};
    int16_t maxStrRat{};
    int16_t spsLSet{};  // sensor values: 20480 is 100 percent
    int16_t spsCSet{};
    int16_t spsRSet{};
    int16_t solCType{};
    int16_t solDly{};
    int16_t solMinDr{};
    int16_t solMaxDr{};
    int16_t solPwm{};
    int16_t cogFSmpls{};
    int16_t srmLeft{};
    int16_t srmRight{};
    uint8_t draftFilterActive{};
    int32_t spsDeltaAlphaHunds{};
    int32_t vtgWheelAngleHunds{};
    int32_t ModeFilterHunds{};
    int32_t draftFilterHunds{};
    int32_t Rev2WATenths{};
    int16_t spsCur{};
    char yawRateFlag{};  // '1' or '0' once a PLT2 came, 0 before
    char reverseFlag{};  // '1' or '0' once a PLT2 came, 0 before

    bool operator==(const DiagnosticRecord&) const = default;
};

// Copied by value and zeroed as bytes, in the ring and in files.
static_assert(std::is_trivially_copyable_v<DiagnosticRecord>);
static_assert(std::is_standard_layout_v<DiagnosticRecord>);

}  // namespace zelsim
