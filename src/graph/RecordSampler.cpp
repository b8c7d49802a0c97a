#include "graph/RecordSampler.h"

#include <ctime>

#include "base/TickClock.h"
#include "graph/RecordDecoder.h"
#include "serial/SentenceFramer.h"

namespace zelsim {

namespace {

// Two digits of a calendar value; anything odd a clock may give still
// makes two digits.
void PutTwoDigits(char* out, int value) {
    const int v = ((value % 100) + 100) % 100;
    out[0] = static_cast<char>('0' + v / 10);
    out[1] = static_cast<char>('0' + v % 10);
}

// "aa?bb?cc" and its terminator.
void PutTriple(char (&out)[10], char separator, int a, int b, int c) {
    PutTwoDigits(out, a);
    out[2] = separator;
    PutTwoDigits(out + 3, b);
    out[5] = separator;
    PutTwoDigits(out + 6, c);
    out[8] = '\0';
    out[9] = '\0';
}

}  // namespace

RecordSampler::RecordSampler(LocalTimeSource localTime) : localTime_(std::move(localTime)) {}

void RecordSampler::DecodeDml(SentenceFramer& sentence, proprietary::RecordType type) {
    using namespace record_decoder;
    using proprietary::RecordType;
    switch (type) {
        case RecordType::kLive:
            DecodePlt2(sentence, latest_);
            break;
        case RecordType::kFilters:
            DecodePlt3(sentence, latest_);
            break;
        case RecordType::kOldLive:
            DecodePlt(sentence, latest_);
            break;
        case RecordType::kFirstSettingsNow:
            DecodeSet12(sentence, latest_);
            break;
        case RecordType::kSecondSettingsNow:
            DecodeSet22(sentence, latest_);
            break;
        case RecordType::kFirstSettings:
            DecodeSet1(sentence, latest_);
            break;
        case RecordType::kSecondSettings:
            DecodeSet2(sentence, latest_);
            break;
        case RecordType::kUnknown:
            break;
    }
}

void RecordSampler::DecodeDeviceIdentity(SentenceFramer& sentence, DeviceSlot slot) {
    record_decoder::DecodeIdentity(sentence, slot, identities_);
}

void RecordSampler::DecodeReceiverIdentity(SentenceFramer& sentence) {
    record_decoder::DecodeIdentity(sentence, DeviceSlot::kReceiver, identities_);
}

void RecordSampler::Show() {
    latest_.firstRsp = 0;
    Clear();
    visible_ = true;
    sampleDue_ = true;
}

void RecordSampler::Hide() {
    visible_ = false;
}

void RecordSampler::Clear() {
    ring_.Clear();
    autoSave_ = false;
}

void RecordSampler::SetHolding(bool on) {
    holding_ = on;
    if (on) {
        holdMarker_ = true;
    } else if (loadedData_) {
        loadedData_ = false;
        identities_.CopyLiveToDisplayed();
        Clear();
    }
}

void RecordSampler::StartLoad() {
    ring_.Clear();
    loadedData_ = true;
    chart_.ScrollToEndOnce();
}

void RecordSampler::SetAutoSave(bool on) {
    autoSave_ = on;
    if (on) ring_.SetAutoSaveMark(ring_.Head());
}

uint32_t RecordSampler::NextStepIn(uint32_t now) const {
    if (!visible_) return kNoStep;
    if (sampleDue_) return 0;
    return TickClock::Remaining(now, lastSample_, kSamplePeriodMs);
}

void RecordSampler::SampleLatest(uint32_t now) {
    if (!visible_) return;
    chart_.Traces().SetWheelAngleName(latest_.yawRateFlag == '1' ? kYawRateTrace
                                                                 : kWheelAngleTrace);
    if (!sampleDue_ && !TickClock::Elapsed(now, lastSample_, kSamplePeriodMs)) return;
    sampleDue_ = false;
    lastSample_ = now;
    ++intervals_;
    if (holding_) return;
    Stamp(latest_);
    // The latest record keeps the marker its last copy took.
    latest_.hld = holdMarker_ ? 1 : 0;
    AppendRecord(latest_);
}

void RecordSampler::AppendRecord(const DiagnosticRecord& record) {
    DiagnosticRecord& stored = ring_.Append(record);
    stored.hld = holdMarker_ ? 1 : 0;
    holdMarker_ = false;
    if (identities_.Changed() && !loadedData_) identities_.TakeChanged();
    chart_.FillRows(stored);
    if (autoSave_ && ring_.Head() == ring_.AutoSaveMark() && onAutoSave) onAutoSave();
}

void RecordSampler::RefillRows() {
    for (int age = 0; age < ring_.Count(); ++age) chart_.FillRows(ring_.FromOldest(age));
}

void RecordSampler::Stamp(DiagnosticRecord& record) const {
    const std::tm t = localTime_();
    PutTriple(record.dat, '/', t.tm_mon + 1, t.tm_mday, t.tm_year);
    PutTriple(record.tim, ':', t.tm_hour, t.tm_min, t.tm_sec);
}

}  // namespace zelsim
