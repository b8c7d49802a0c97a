#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "graph/DataFile.h"
#include "graph/DiagnosticRecord.h"
#include "graph/RecordRing.h"

namespace zelsim {
namespace {

// What a file gives back of a record: everything but the gap marker, the
// rows (recomputed on loading) and the two flag characters (not saved).
DiagnosticRecord Comparable(DiagnosticRecord r) {
    r.hld = 0;
    r.p0 = r.p1 = r.p2 = r.p3 = r.p4 = r.p5 = 0;
    r.lg0 = r.lg1 = r.lg2 = r.lg3 = r.lg4 = r.lg5 = 0;
    r.yawRateFlag = r.reverseFlag = 0;
    return r;
}

std::vector<DiagnosticRecord> Loaded(const std::string& text, DeviceIdentities* ids = nullptr,
                                     int* version = nullptr) {
    DeviceIdentities own;
    std::vector<DiagnosticRecord> records;
    const data_file::LoadResult result =
        data_file::Load(text, ids ? *ids : own, RecordRing::kCapacity,
                        [&](const DiagnosticRecord& r) { records.push_back(r); });
    if (version) *version = result.version;
    return records;
}

// Every field across its whole range, as a record can hold it: the flags
// are 0 or 1, the texts up to nine printable characters without a comma.
DiagnosticRecord Random(std::mt19937& rng) {
    auto any = [&](auto& field) {
        using T = std::remove_reference_t<decltype(field)>;
        field = static_cast<T>(rng());
    };
    DiagnosticRecord r;
    auto text = [&](char(&out)[10]) {
        const size_t n = rng() % 10;
        for (size_t i = 0; i < n; ++i) {
            char c = static_cast<char>(0x20 + rng() % 95);
            out[i] = c == ',' ? ';' : c;
        }
        out[n] = '\0';
    };
    text(r.dat);
    text(r.tim);
    r.rMd = static_cast<char>(0x21 + rng() % 94);
    if (r.rMd == ',') r.rMd = 'D';  // a field of its own on the line it came from
    any(r.sats);
    any(r.latDeg), any(r.latUMin), any(r.lonDeg), any(r.lonUMin);
    any(r.sogTenthsMph), any(r.cogTenthsDeg), any(r.offErrCM), any(r.angErrTenthsDeg);
    any(r.waTenthDeg), any(r.solOut), any(r.sogMmPerSec), any(r.strMode);
    r.firstRsp = rng() % 2;
    r.draftFilterActive = rng() % 2;
    any(r.spsZCtrl), any(r.spsOffset), any(r.dTmMs), any(r.dTmActMs);
    any(r.olDeadBand), any(r.olTonLen), any(r.laDeadBand), any(r.laTonLen);
    any(r.whBas), any(r.minTurnRad), any(r.maxStrRat), any(r.spsLSet), any(r.spsCSet);
    any(r.spsRSet), any(r.solCType), any(r.solDly), any(r.solMinDr), any(r.solMaxDr);
    any(r.solPwm), any(r.cogFSmpls), any(r.srmLeft), any(r.srmRight);
    any(r.spsDeltaAlphaHunds), any(r.vtgWheelAngleHunds), any(r.ModeFilterHunds);
    any(r.draftFilterHunds), any(r.Rev2WATenths), any(r.spsCur);
    return r;
}

TEST(DataFile, EveryValueSavedComesBackOnLoading) {
    std::mt19937 rng(20261207);
    RecordRing ring;
    std::vector<DiagnosticRecord> saved;
    for (int i = 0; i < 500; ++i) saved.push_back(ring.Append(Random(rng)));
    // Reversing, and the 32-bit fields beyond 16 bits, the old reader lost.
    DiagnosticRecord reversing = saved[0];
    reversing.sogMmPerSec = -4470;
    reversing.ModeFilterHunds = 70000;
    saved.push_back(ring.Append(reversing));
    DeviceIdentities::Slots ids{};
    std::string text;
    data_file::Write(text, ring, ring.Head(), ring.Count(), ids, "2.0.1");

    const std::vector<DiagnosticRecord> loaded = Loaded(text);
    ASSERT_EQ(loaded.size(), saved.size());
    for (size_t i = 0; i < saved.size(); ++i)
        ASSERT_EQ(Comparable(loaded[i]), Comparable(saved[i])) << "record " << i;
    EXPECT_EQ(loaded.back().sogMmPerSec, -4470);
}

TEST(DataFile, TheFileIsWrittenAsOtherToolsReadIt) {
    RecordRing ring;
    DiagnosticRecord r;
    std::strcpy(r.dat, "12/07/26");
    std::strcpy(r.tim, "14:05:09");
    r.rMd = ' ';  // written as '?'
    r.sats = 9;
    r.latUMin = 7038500;
    ring.Append(r);
    DeviceIdentities ids;
    ids.SetDisplayed(DeviceSlot::kController, "Dormalyn SC", "23.04", "200017");
    ids.SetDisplayed(DeviceSlot::kReceiver, "DGPS", "1.2", "77");
    std::string text;
    data_file::Write(text, ring, ring.Head(), 1, ids.DisplayedSet(), "2.0.1");

    const size_t first = text.find("\r\n");
    EXPECT_EQ(text.substr(0, first), data_file::Header(4));
    const size_t second = text.find("\r\n", first + 2);
    EXPECT_EQ(text.substr(first + 2, second - first - 2),
              "Device ID records,Dormalyn SC,23.04,200017,,,,DGPS,1.2,77,ZelSim,2.0.1,");
    EXPECT_EQ(text.substr(second + 2),
              "12/07/26,14:05:09,0,?,9,0,7038500,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,"
              "0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0\r\n");

    DeviceIdentities back;
    const std::vector<DiagnosticRecord> loaded = Loaded(text, &back);
    ASSERT_EQ(loaded.size(), 1u);
    EXPECT_EQ(loaded[0].rMd, '?');
    EXPECT_EQ(back.Displayed(DeviceSlot::kController).SerialNumber(), "200017");
    EXPECT_EQ(back.Displayed(DeviceSlot::kReceiver).Name(), "DGPS");
}

TEST(DataFile, OlderVersionsReadWithTheirOwnLayouts) {
    // Version 1: 44 fields, the wheel angle after the angle error, a column
    // before the traced values and one before the times, coarser units.
    std::string v1 = std::string(data_file::Header(1)) + "\r\n";
    v1 +=
        "01/02/03,04:05:06,0,D,7,48,7038500,11,31000000,99,15,1234,-25,-20,33,35,3,"
        "0,0,0,0,0,0,50,1,2,15,0,10,20,30,40,50,60,70,45,1,2,3,4,5,6,7,8\r\n";
    int version = 0;
    std::vector<DiagnosticRecord> r = Loaded(v1, nullptr, &version);
    EXPECT_EQ(version, 1);
    ASSERT_EQ(r.size(), 1u);
    EXPECT_STREQ(r[0].tim, "04:05:06");
    EXPECT_EQ(r[0].sogTenthsMph, 15);
    EXPECT_EQ(r[0].waTenthDeg, 33);
    EXPECT_EQ(r[0].solOut, 35);
    EXPECT_EQ(r[0].strMode, 3);
    EXPECT_EQ(r[0].sogMmPerSec, 257);  // 50 hundredths of a knot
    EXPECT_EQ(r[0].spsOffset, 150);
    EXPECT_EQ(r[0].dTmMs, 100);
    EXPECT_EQ(r[0].olDeadBand, 200);
    EXPECT_EQ(r[0].olTonLen, 3000);
    EXPECT_EQ(r[0].minTurnRad, 7000);
    EXPECT_EQ(r[0].maxStrRat, 45);
    EXPECT_EQ(r[0].solPwm, 8);
    EXPECT_EQ(r[0].spsCur, 0);

    // Version 3: 49 fields, the last two in tenths; a device line.
    std::string v3 = std::string(data_file::Header(3)) + "\r\n";
    v3 += "Device ID records,Dormalyn SC23.04-and-more,1.0,123456789012,L,2,3\r\n";
    v3 +=
        "a,b,1,D,1,2,3,4,5,6,7,8,9,10,11,12,0,0,0,0,0,0,-300,1,2,3,4,5,6,7,8,9,"
        "10,11,12,13,14,15,16,17,18,19,20,21,22,23,24,-5,6\r\n";
    DeviceIdentities ids;
    r = Loaded(v3, &ids, &version);
    EXPECT_EQ(version, 3);
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].sogMmPerSec, -300);
    EXPECT_EQ(r[0].dTmActMs, 24);
    EXPECT_EQ(r[0].spsDeltaAlphaHunds, -50);
    EXPECT_EQ(r[0].vtgWheelAngleHunds, 60);
    EXPECT_EQ(r[0].draftFilterActive, 0);
    EXPECT_EQ(ids.Displayed(DeviceSlot::kController).Name(), "Dormalyn SC23.04-an");
    EXPECT_EQ(ids.Displayed(DeviceSlot::kController).SerialNumber(), "123456789");
    EXPECT_EQ(ids.Displayed(DeviceSlot::kLightbar).Name(), "L");

    // A short line reads what it has: the rest 0, texts empty, flags 1.
    r = Loaded(std::string(data_file::Header(2)) + "\r\nx\r\n");
    ASSERT_EQ(r.size(), 1u);
    EXPECT_STREQ(r[0].tim, "");
    EXPECT_EQ(r[0].hld, 1);
    EXPECT_EQ(r[0].firstRsp, 1);
    EXPECT_EQ(r[0].sats, 0);
}

TEST(DataFile, LinesAndHeadersAsTheReaderSeesThem) {
    // A header followed by a space is no header.
    EXPECT_EQ(data_file::HeaderVersion(std::string(data_file::Header(4)) + " "), 0);
    EXPECT_EQ(Loaded(std::string(data_file::Header(4)) + " \r\n1,2\r\n").size(), 0u);
    // A last line without its line end is read; control characters end
    // lines, blank ones are none, and a line keeps 599 characters.
    const std::string text = "\r\n\tone\x01two\r\n" + std::string(700, 'x') + "\n\nlast";
    data_file::Lines lines(text);
    EXPECT_EQ(lines.Next(), "one");
    EXPECT_EQ(lines.Next(), "two");
    EXPECT_EQ(lines.Next()->size(), data_file::kLineLimit);
    EXPECT_EQ(lines.Next(), "last");
    EXPECT_EQ(lines.Next(), std::nullopt);
    // At most the limit of records.
    std::string many = std::string(data_file::Header(4)) + "\r\n";
    for (int i = 0; i < 4100; ++i) many += "a,b\r\n";
    EXPECT_EQ(Loaded(many).size(), 4000u);
}

}  // namespace
}  // namespace zelsim
