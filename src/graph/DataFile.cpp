#include "graph/DataFile.h"

#include <charconv>
#include <cstring>

#include "base/Text.h"
#include "graph/DiagnosticRecord.h"
#include "graph/FieldNumbers.h"
#include "graph/RecordRing.h"

namespace zelsim::data_file {

namespace {

constexpr std::array<std::string_view, kVersions> kHeaders = {
    "dat,tim,hld,rMd,sats,latDeg,latUMin,lonDeg,lonUMin,spsScaled,sogTenthsMph,cogTenthsDeg,"
    "offErrCM,angErrTenthsDeg,solOut,strMode,p0,p1,p2,p3,p4,p5,sogHundsKnt,1stRsp,spsZCtrl,"
    "manSpsZ,autoSpsZ,dTm,olDeadBand,olTonLen,laDeadBand,laTonLen,whBas,minTurnRad,maxStrRat,"
    "spsLSet,spsCSet,spsRSet,solCType,solDly,solMinDr,solMaxDr,solPwm",
    "dat,tim,hld,rMd,sats,latDeg,latUMin,lonDeg,lonUMin,sogTenthsMph,cogTenthsDeg,offErrCM,"
    "angErrTenthsDeg,waTenthDeg,solOut,strMode,p0,p1,p2,p3,p4,p5,sogMmPerSec,1stRsp,spsZCtrl,"
    "spsOffset,dTmMs,olDeadBand,olTonLen,laDeadBand,laTonLen,whBas,minTurnRad,maxStrRat,spsLSet,"
    "spsCSet,spsRSet,solCType,solDly,solMinDr,solMaxDr,solPwm,cogFSmpls,spsCur,srmLeft,srmRight,"
    "dTmActMs",
    "dat,tim,hld,rMd,sats,latDeg,latUMin,lonDeg,lonUMin,sogTenthsMph,cogTenthsDeg,offErrCM,"
    "angErrTenthsDeg,waTenthDeg,solOut,strMode,p0,p1,p2,p3,p4,p5,sogMmPerSec,1stRsp,spsZCtrl,"
    "spsOffset,dTmMs,olDeadBand,olTonLen,laDeadBand,laTonLen,whBas,minTurnRad,maxStrRat,spsLSet,"
    "spsCSet,spsRSet,solCType,solDly,solMinDr,solMaxDr,solPwm,cogFSmpls,spsCur,srmLeft,srmRight,"
    "dTmActMsspsDeltaAlpha,vtgWheelAngle",
    "dat,tim,hld,rMd,sats,latDeg,latUMin,lonDeg,lonUMin,sogTenthsMph,cogTenthsDeg,offErrCM,"
    "angErrTenthsDeg,waTenthDeg,solOut,strMode,p0,p1,p2,p3,p4,p5,sogMmPerSec,1stRsp,spsZCtrl,"
    "spsOffset,dTmMs,olDeadBand,olTonLen,laDeadBand,laTonLen,whBas,minTurnRad,maxStrRat,spsLSet,"
    "spsCSet,spsRSet,solCType,solDly,solMinDr,solMaxDr,solPwm,cogFSmpls,spsCur,srmLeft,srmRight,"
    "dTmActMs,spsDeltaAlphaHunds,vtgWheelAngleHunds,draftFilterActive,ModeFilterHunds,"
    "draftFilterHunds,Rev2WATenths",
};

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kProgramName = "ZelSim";
constexpr size_t kMostFields = 64;
// Version 1 kept speed over ground in hundredths of a knot.
constexpr uint32_t kMmPerSecPerHundredKnots = 190000;
constexpr uint32_t kHundredKnotsDivisor = 36933;

void Put(std::string& out, int64_t value) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    out.append(digits, end);
    out.push_back(',');
}

void PutText(std::string& out, const char* text, size_t size) {
    out.append(text, strnlen(text, size));
    out.push_back(',');
}

// A field's fields, split at commas; those past the last read as empty.
class Fields {
  public:
    explicit Fields(std::string_view line) {
        size_t start = 0;
        while (count_ < kMostFields) {
            const size_t comma = line.find(',', start);
            fields_[count_++] = line.substr(
                start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
            if (comma == std::string_view::npos) break;
            start = comma + 1;
        }
    }
    // Field `n`, counted from 1.
    std::string_view operator[](int n) const {
        return n >= 1 && static_cast<size_t>(n) <= count_ ? fields_[static_cast<size_t>(n - 1)]
                                                          : std::string_view{};
    }

  private:
    std::array<std::string_view, kMostFields> fields_{};
    size_t count_ = 0;
};

int32_t Times(int32_t value, int32_t factor) {
    return field_numbers::Wrap32(int64_t{value} * factor);
}

uint8_t Flag(std::string_view field) {
    return field_numbers::FirstCharacter(field) == '0' ? 0 : 1;
}

template <size_t N>
void CopyText(char (&out)[N], std::string_view field) {
    static_assert(N > kTextLimit);
    // A field the line lacks has no characters, and no place either.
    const size_t n = field.copy(out, kTextLimit);
    out[n] = '\0';
}

}  // namespace

std::string_view Header(int version) {
    return version >= 1 && version <= kVersions ? kHeaders[static_cast<size_t>(version - 1)]
                                                : std::string_view{};
}

int HeaderVersion(std::string_view line) {
    for (int v = 1; v <= kVersions; ++v)
        if (line == Header(v)) return v;
    return 0;
}

void AppendRecordLine(std::string& out, const DiagnosticRecord& r) {
    PutText(out, r.dat, sizeof r.dat);
    PutText(out, r.tim, sizeof r.tim);
    Put(out, r.hld);
    out.push_back(r.rMd != ' ' && IsPrintable(static_cast<unsigned char>(r.rMd)) ? r.rMd : '?');
    out.push_back(',');
    for (int64_t v : {int64_t{r.sats},
                      int64_t{r.latDeg},
                      int64_t{r.latUMin},
                      int64_t{r.lonDeg},
                      int64_t{r.lonUMin},
                      int64_t{r.sogTenthsMph},
                      int64_t{r.cogTenthsDeg},
                      int64_t{r.offErrCM},
                      int64_t{r.angErrTenthsDeg},
                      int64_t{r.waTenthDeg},
                      int64_t{r.solOut},
                      int64_t{r.strMode},
                      int64_t{r.p0},
                      int64_t{r.p1},
                      int64_t{r.p2},
                      int64_t{r.p3},
                      int64_t{r.p4},
                      int64_t{r.p5},
                      int64_t{r.sogMmPerSec},
                      int64_t{r.firstRsp},
                      int64_t{r.spsZCtrl},
                      int64_t{r.spsOffset},
                      int64_t{r.dTmMs},
                      int64_t{r.olDeadBand},
                      int64_t{r.olTonLen},
                      int64_t{r.laDeadBand},
                      int64_t{r.laTonLen},
                      int64_t{r.whBas},
                      int64_t{r.minTurnRad},
                      int64_t{r.maxStrRat},
                      int64_t{r.spsLSet},
                      int64_t{r.spsCSet},
                      int64_t{r.spsRSet},
                      int64_t{r.solCType},
                      int64_t{r.solDly},
                      int64_t{r.solMinDr},
                      int64_t{r.solMaxDr},
                      int64_t{r.solPwm},
                      int64_t{r.cogFSmpls},
                      int64_t{r.spsCur},
                      int64_t{r.srmLeft},
                      int64_t{r.srmRight},
                      int64_t{r.dTmActMs},
                      int64_t{r.spsDeltaAlphaHunds},
                      int64_t{r.vtgWheelAngleHunds},
                      int64_t{r.draftFilterActive},
                      int64_t{r.ModeFilterHunds},
                      int64_t{r.draftFilterHunds},
                      int64_t{r.Rev2WATenths}})
        Put(out, v);
    out.pop_back();  // no comma after the last field
    out.append(kLineEnd);
}

void Write(std::string& out, const RecordRing& ring, int end, int count,
           const DeviceIdentities::Slots& displayed, std::string_view version) {
    out.append(Header(kWrittenVersion));
    out.append(kLineEnd);
    out.append(kDeviceLineTag);
    out.push_back(',');
    for (const DeviceIdentity& device : displayed)
        for (std::string_view text : {device.Name(), device.Version(), device.SerialNumber()}) {
            out.append(text);
            out.push_back(',');
        }
    out.append(kProgramName);
    out.push_back(',');
    out.append(version);
    out.push_back(',');
    out.append(kLineEnd);
    for (int k = 0; k < count; ++k) AppendRecordLine(out, ring.At(end - count + k));
}

std::optional<std::string_view> Lines::Next() {
    while (at_ < text_.size() && !IsPrintable(static_cast<unsigned char>(text_[at_]))) ++at_;
    if (at_ >= text_.size()) return std::nullopt;
    const size_t start = at_;
    while (at_ < text_.size() && IsPrintable(static_cast<unsigned char>(text_[at_]))) ++at_;
    return text_.substr(start, std::min(at_ - start, kLineLimit));
}

void ReadRecord(int version, std::string_view line, DiagnosticRecord& r) {
    using namespace field_numbers;
    r = DiagnosticRecord{};
    const Fields f(line);
    CopyText(r.dat, f[1]);
    CopyText(r.tim, f[2]);
    r.hld = Flag(f[3]);
    r.rMd = FirstCharacter(f[4]);
    r.sats = Byte(f[5]);
    r.latDeg = Integer16(f[6]);
    r.latUMin = Integer32(f[7]);
    r.lonDeg = Integer16(f[8]);
    r.lonUMin = Integer32(f[9]);
    // Version 1 has a column more before the traced values, and another
    // before the time settings; it kept some settings in coarser units.
    const bool first = version == 1;
    const int a = first ? 1 : 0;
    const int b = first ? 2 : 0;
    int16_t* traced[] = {&r.sogTenthsMph,    &r.cogTenthsDeg, &r.offErrCM,
                         &r.angErrTenthsDeg, &r.waTenthDeg,   &r.solOut};
    for (int i = 0; i < 6; ++i) *traced[i] = Integer16(f[10 + a + i]);
    r.strMode = Byte(f[16 + a]);
    if (first)
        r.sogMmPerSec = static_cast<int32_t>(static_cast<uint32_t>(Integer16(f[24])) *
                                             kMmPerSecPerHundredKnots / kHundredKnotsDivisor);
    else
        r.sogMmPerSec = Integer32(f[23]);
    r.firstRsp = Flag(f[24 + a]);
    r.spsZCtrl = Integer16(f[25 + a]);
    r.spsOffset = Times(Integer32(f[26 + a]), first ? 10 : 1);
    r.dTmMs = Wrap16(int64_t{Integer16(f[27 + b])} * (first ? 10 : 1));
    const std::array<std::pair<int32_t*, int32_t>, 6> settings = {{{&r.olDeadBand, 10},
                                                                   {&r.olTonLen, 100},
                                                                   {&r.laDeadBand, 10},
                                                                   {&r.laTonLen, 100},
                                                                   {&r.whBas, 100},
                                                                   {&r.minTurnRad, 100}}};
    for (size_t i = 0; i < settings.size(); ++i)
        *settings[i].first =
            Times(Integer32(f[28 + b + static_cast<int>(i)]), first ? settings[i].second : 1);
    int16_t* steering[] = {&r.maxStrRat, &r.spsLSet,  &r.spsCSet,  &r.spsRSet, &r.solCType,
                           &r.solDly,    &r.solMinDr, &r.solMaxDr, &r.solPwm};
    for (int i = 0; i < 9; ++i) *steering[i] = Integer16(f[34 + b + i]);
    if (first) return;
    int16_t* later[] = {&r.cogFSmpls, &r.spsCur, &r.srmLeft, &r.srmRight, &r.dTmActMs};
    for (int i = 0; i < 5; ++i) *later[i] = Integer16(f[43 + i]);
    if (version < 3) return;
    const int32_t hundredths = version == 3 ? 10 : 1;  // version 3 kept tenths
    r.spsDeltaAlphaHunds = Times(Integer32(f[48]), hundredths);
    r.vtgWheelAngleHunds = Times(Integer32(f[49]), hundredths);
    if (version < 4) return;
    r.draftFilterActive = Integer16(f[50]) != 0 ? 1 : 0;
    r.ModeFilterHunds = Integer32(f[51]);
    r.draftFilterHunds = Integer32(f[52]);
    r.Rev2WATenths = Integer32(f[53]);
}

bool IsDeviceLine(int version, std::string_view line) {
    return version >= 2 && Fields(line)[1] == kDeviceLineTag;
}

void ReadDeviceLine(std::string_view line, DeviceIdentities& identities) {
    const Fields f(line);
    for (size_t slot = 0; slot < DeviceIdentities::kSlotCount; ++slot) {
        const int first = 2 + 3 * static_cast<int>(slot);
        identities.SetDisplayed(static_cast<DeviceSlot>(slot), f[first], f[first + 1],
                                f[first + 2]);
    }
}

LoadResult Load(std::string_view text, DeviceIdentities& identities, int limit,
                const std::function<void(const DiagnosticRecord&)>& append) {
    identities.ClearDisplayed();
    Lines lines(text);
    const std::optional<std::string_view> header = lines.Next();
    LoadResult result;
    result.version = header ? HeaderVersion(*header) : 0;
    if (result.version == 0) return result;
    DiagnosticRecord record;
    while (result.records < limit) {
        const std::optional<std::string_view> line = lines.Next();
        if (!line) break;
        if (IsDeviceLine(result.version, *line)) {
            ReadDeviceLine(*line, identities);
            continue;
        }
        ReadRecord(result.version, *line, record);
        append(record);
        ++result.records;
    }
    return result;
}

}  // namespace zelsim::data_file
