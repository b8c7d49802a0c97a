// A data file as anything may have left it: whatever it holds, loading
// gives at most 4000 records with texts cut to their fields, identities of
// printable characters cut to their widths, and a record that saved and
// loaded again is the same record.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "base/Text.h"
#include "graph/DataFile.h"
#include "graph/DiagnosticRecord.h"
#include "graph/RecordRing.h"

namespace zelsim {

namespace {

bool PrintableText(std::string_view text) {
    for (unsigned char c : text)
        if (!IsPrintable(c)) return false;
    return true;
}

}  // namespace

}  // namespace zelsim

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace zelsim;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    DeviceIdentities identities;
    RecordRing ring;
    int appended = 0;
    const data_file::LoadResult result =
        data_file::Load(text, identities, RecordRing::kCapacity, [&](const DiagnosticRecord& r) {
            Require(strnlen(r.dat, sizeof r.dat) <= data_file::kTextLimit, "date cut");
            Require(strnlen(r.tim, sizeof r.tim) <= data_file::kTextLimit, "time cut");
            ring.Append(r);
            ++appended;
        });
    Require(appended == result.records, "every record handed on");
    Require(result.records <= RecordRing::kCapacity, "at most a ring of records");
    Require(result.version >= 0 && result.version <= data_file::kVersions, "a known version");
    for (const DeviceIdentity& device : identities.DisplayedSet()) {
        Require(device.Name().size() <= DeviceIdentity::kNameLimit, "name cut");
        Require(device.Version().size() <= DeviceIdentity::kVersionLimit, "version cut");
        Require(device.SerialNumber().size() <= DeviceIdentity::kSerialNumberLimit,
                "serial number cut");
        for (std::string_view t : {device.Name(), device.Version(), device.SerialNumber()})
            Require(PrintableText(t), "identities printable");
    }
    // What was loaded saves and loads back the same, texts without commas
    // and the flags read as flags.
    std::string saved;
    data_file::Write(saved, ring, ring.Head(), ring.Count(), identities.DisplayedSet(), "fuzz");
    DeviceIdentities again;
    int index = 0;
    data_file::Load(saved, again, RecordRing::kCapacity, [&](const DiagnosticRecord& r) {
        DiagnosticRecord first = ring.FromOldest(index++);
        DiagnosticRecord second = r;
        first.hld = second.hld = 0;
        Require(std::memcmp(first.dat, second.dat, sizeof first.dat) == 0, "date kept");
        Require(first.sogMmPerSec == second.sogMmPerSec, "speed kept");
        Require(first.latUMin == second.latUMin && first.Rev2WATenths == second.Rev2WATenths,
                "32-bit fields kept");
    });
    Require(index == ring.Count(), "every record back");
    return 0;
}
