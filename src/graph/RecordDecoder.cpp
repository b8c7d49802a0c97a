#include "graph/RecordDecoder.h"

#include <string_view>

#include "graph/FieldNumbers.h"
#include "serial/SentenceFramer.h"

namespace zelsim::record_decoder {

using namespace field_numbers;

namespace {

constexpr uint8_t kLightbarSerialField = 4;
constexpr uint8_t kSerialField = 6;

constexpr bool FlagSet(std::string_view field) {
    return FirstCharacter(field) == '1';
}

// The rest of a field after its first `count` characters.
constexpr std::string_view After(std::string_view field, size_t count) {
    return field.size() > count ? field.substr(count) : std::string_view{};
}

void Negate(int16_t& value) {
    value = Wrap16(-int64_t{value});
}
void Negate(int32_t& value) {
    value = Wrap32(-int64_t{value});
}

// Fields 3 to 12, alike in both live records.
void DecodeGuidance(SentenceFramer& s, DiagnosticRecord& r) {
    r.waTenthDeg = Wrap16(Tenths(s.Field(3)));
    r.offErrCM = Wrap16(Hundredths(s.Field(4)));
    r.angErrTenthsDeg = Wrap16(Tenths(s.Field(5)));

    const std::string_view latitude = s.Field(6);
    r.latDeg = Degrees2(latitude);
    r.latUMin = Minutes(After(latitude, 2));
    if (FirstCharacter(s.Field(7)) == 'S') {
        Negate(r.latDeg);
        Negate(r.latUMin);
    }
    const std::string_view longitude = s.Field(8);
    r.lonDeg = Degrees3(longitude);
    r.lonUMin = Minutes(After(longitude, 3));
    if (FirstCharacter(s.Field(9)) == 'W') {
        Negate(r.lonDeg);
        Negate(r.lonUMin);
    }

    r.rMd = FirstCharacter(s.Field(10));
    r.sats = Byte(s.Field(11));
    r.cogTenthsDeg = Wrap16(Tenths(s.Field(12)));
}

// Fields 14 to 16, alike in both live records.
void DecodeDrive(SentenceFramer& s, DiagnosticRecord& r) {
    r.solOut = Integer16(s.Field(14));
    r.strMode = Byte(s.Field(15));
    r.spsCur = Integer16(s.Field(16));
}

// Fields 3 to 10, alike in both second-stage settings replies.
void DecodeSolenoidSettings(SentenceFramer& s, DiagnosticRecord& r) {
    r.spsLSet = Integer16Minus(s.Field(3));
    r.spsCSet = Integer16Minus(s.Field(4));
    r.spsRSet = Integer16Minus(s.Field(5));
    r.solCType = Integer16Minus(s.Field(6));
    r.solDly = Integer16Minus(s.Field(7));
    r.solMinDr = Integer16Minus(s.Field(8));
    r.solMaxDr = Integer16Minus(s.Field(9));
    r.solPwm = Integer16Minus(s.Field(10));
    r.firstRsp = 1;
}

int32_t Scaled32(std::string_view field, int64_t factor) {
    return Wrap32(Integer32Minus(field) * factor);
}

}  // namespace

int32_t TenthsMphFromMmPerSec(uint32_t mmPerSec) {
    return Wrap32(int64_t{mmPerSec} * 1000 / 44704);
}

int32_t TenthsMphFromHundredthsKnot(int32_t hundredthsKnot) {
    return Wrap32(int64_t{hundredthsKnot} * 65536 / 569878);
}

void DecodePlt2(SentenceFramer& s, DiagnosticRecord& r) {
    if (s.FieldCount() < kLiveRecordFields) return;
    DecodeGuidance(s, r);
    const uint32_t speed = Unsigned32(s.Field(13));
    r.sogMmPerSec = Wrap32(speed);
    r.sogTenthsMph = Wrap16(TenthsMphFromMmPerSec(speed));
    DecodeDrive(s, r);
    r.yawRateFlag = FlagSet(s.Field(17)) ? '1' : '0';
    r.reverseFlag = FlagSet(s.Field(18)) ? '1' : '0';
    if (r.reverseFlag == '1') {
        Negate(r.sogMmPerSec);
        Negate(r.sogTenthsMph);
    }
}

void DecodePlt(SentenceFramer& s, DiagnosticRecord& r) {
    if (s.FieldCount() < kLiveRecordFields) return;
    DecodeGuidance(s, r);
    r.sogTenthsMph = Wrap16(TenthsMphFromHundredthsKnot(Hundredths(s.Field(13))));
    DecodeDrive(s, r);
}

void DecodePlt3(SentenceFramer& s, DiagnosticRecord& r) {
    r.draftFilterActive = Integer16(s.Field(3)) != 0 ? 1 : 0;
    r.spsDeltaAlphaHunds = Integer16(s.Field(4));
    r.vtgWheelAngleHunds = Integer16(s.Field(5));
    r.ModeFilterHunds = Integer16(s.Field(6));
    r.draftFilterHunds = Integer16(s.Field(7));
    r.Rev2WATenths = Integer16(s.Field(8));
}

void DecodeSet12(SentenceFramer& s, DiagnosticRecord& r) {
    r.spsZCtrl = Integer16Minus(s.Field(3));
    r.spsOffset = Integer32Minus(s.Field(4));
    r.dTmMs = Integer16Minus(s.Field(5));
    r.olDeadBand = Integer32Minus(s.Field(6));
    r.olTonLen = Integer32Minus(s.Field(7));
    r.laDeadBand = Integer32Minus(s.Field(8));
    r.laTonLen = Integer32Minus(s.Field(9));
    r.whBas = Integer32Minus(s.Field(10));
    r.minTurnRad = Integer32Minus(s.Field(11));
    r.maxStrRat = Integer16Minus(s.Field(12));
}

void DecodeSet1(SentenceFramer& s, DiagnosticRecord& r) {
    // Field 5 carries a value the record has no place for.
    r.spsZCtrl = Integer16Minus(s.Field(3));
    r.spsOffset = Scaled32(s.Field(4), 10);
    r.dTmMs = Wrap16(Integer16Minus(s.Field(6)) * 10);
    r.olDeadBand = Scaled32(s.Field(7), 10);
    r.olTonLen = Scaled32(s.Field(8), 100);
    r.laDeadBand = Scaled32(s.Field(9), 10);
    r.laTonLen = Scaled32(s.Field(10), 100);
    r.whBas = Scaled32(s.Field(11), 100);
    r.minTurnRad = Scaled32(s.Field(12), 100);
    r.maxStrRat = Integer16Minus(s.Field(13));
}

void DecodeSet22(SentenceFramer& s, DiagnosticRecord& r) {
    DecodeSolenoidSettings(s, r);
    r.cogFSmpls = Integer16Minus(s.Field(11));
    r.srmLeft = Integer16Minus(s.Field(12));
    r.srmRight = Integer16Minus(s.Field(13));
    r.dTmActMs = Integer16Minus(s.Field(14));
}

void DecodeSet2(SentenceFramer& s, DiagnosticRecord& r) {
    DecodeSolenoidSettings(s, r);
}

void DecodeIdentity(SentenceFramer& s, DeviceSlot slot, DeviceIdentities& identities) {
    const uint8_t serialField = slot == DeviceSlot::kLightbar ? kLightbarSerialField : kSerialField;
    identities.SetLive(slot, s.Field(2), s.Field(3), s.Field(serialField));
}

}  // namespace zelsim::record_decoder
