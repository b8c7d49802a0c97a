#pragma once
#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "graph/DeviceIdentities.h"

namespace zelsim {

class RecordRing;
struct DiagnosticRecord;

// The diagnostic data file: a header line naming the columns, the device
// line with the identities shown, then one comma-separated line per record,
// all ended by CR LF as other tools read them. Four header versions are
// read; the newest is written.
namespace data_file {

inline constexpr int kVersions = 4;
inline constexpr int kWrittenVersion = 4;
inline constexpr std::string_view kDeviceLineTag = "Device ID records";
// Printable characters a line keeps; further ones are dropped.
inline constexpr size_t kLineLimit = 599;
// A record's text fields keep this many characters.
inline constexpr size_t kTextLimit = 9;

// The first line of a file of version 1 to 4.
std::string_view Header(int version);
// The version whose header `line` is, whole; 0 for none.
int HeaderVersion(std::string_view line);

// The file's text for `count` records of `ring` ending just before ring
// index `end`, oldest first, under the header and the device line of the
// `displayed` identities and the program's `version`.
void Write(std::string& out, const RecordRing& ring, int end, int count,
           const DeviceIdentities::Slots& displayed, std::string_view version);
// One record's line, CR LF included.
void AppendRecordLine(std::string& out, const DiagnosticRecord& record);

// The lines of a file as the reader sees them: control characters end a
// line and are skipped between lines, a line keeps its first 599
// characters, and a last line without a line end counts.
class Lines {
  public:
    explicit Lines(std::string_view text) : text_(text) {}
    std::optional<std::string_view> Next();

  private:
    std::string_view text_;
    size_t at_ = 0;
};

// A data line of a file of `version` into `record` (zeroed first); fields
// the line lacks read as 0, texts empty, flags 1. Each value is read with
// its record field's width and sign.
void ReadRecord(int version, std::string_view line, DiagnosticRecord& record);
// The device line of a file of version 2 to 4: fields 2 to 10 fill the
// displayed identities, printable characters only.
bool IsDeviceLine(int version, std::string_view line);
void ReadDeviceLine(std::string_view line, DeviceIdentities& identities);

// What loading a file's text gave.
struct LoadResult {
    int version = 0;  // 0: the first line is no header
    int records = 0;
};
// Loads `text`: the header's version, then the device line into the
// displayed identities and at most `limit` records handed to `append`.
// The identities are cleared first, also when the header is refused.
LoadResult Load(std::string_view text, DeviceIdentities& identities, int limit,
                const std::function<void(const DiagnosticRecord&)>& append);

}  // namespace data_file
}  // namespace zelsim
