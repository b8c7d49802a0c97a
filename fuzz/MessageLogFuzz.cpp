// Any text in any category through the message log with any options: the
// file gains exactly the one line the options make of a chosen line, ended
// by CR LF and carrying the text as the monitor shows it (control bytes as
// '~'), marked with its direction when asked, and nothing for the others.
#include <sys/stat.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "ScratchDirectory.h"
#include "SilentDialogs.h"
#include "base/ConfigFile.h"
#include "base/ControlTable.h"
#include "base/NmeaChecksum.h"
#include "base/Text.h"
#include "monitor/MessageCategory.h"
#include "monitor/MessageClassifier.h"
#include "monitor/MessageLog.h"
#include "serial/MemorySerialDevice.h"
#include "serial/PortMap.h"
#include "serial/SerialPort.h"

namespace zelsim {

namespace {

std::tm AnyTime() {
    std::tm t{};
    t.tm_year = 99;
    t.tm_mon = 11;
    t.tm_mday = 31;
    return t;
}

long FileSize(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? static_cast<long>(st.st_size) : 0;
}

void LogOnce(const uint8_t* data, size_t size) {
    static ScratchDirectory scratch;
    static const std::string file = scratch.File("fuzz.log");
    if (size < 3) return;
    const unsigned options = data[0] | unsigned(data[1]) << 8;
    const uint8_t category = data[2] % (MessageCategory::kCount + 1);
    const std::string_view text(reinterpret_cast<const char*>(data) + 3, size - 3);

    ControlTable controls;
    SilentDialogs dialogs;
    ConfigFile config("/nonexistent/ZelSim.ini");
    PortMap ports;
    ports.SetExplicit(1, "/dev/fuzz");
    SerialPort port(MemorySerialDevice::Plug(std::make_shared<MemorySerialDevice>()), ports);
    port.Open(1, 38400);
    MessageLog log(controls, dialogs, config, port, scratch.File(""), AnyTime);
    int bit = 0;
    for (const LogOptionItem& item : kLogOptionItems)
        log.SetOption(item.flag, (options >> bit++) & 1);
    constexpr int kDirections = 3;
    const auto direction = static_cast<LineDirection>((options >> bit) % kDirections);
    log.SetOption(&LogOptions::logPromptForFilename, false);
    std::remove(file.c_str());
    log.StartWhenConnected(file);
    if (!log.Logging()) return;  // no category chosen: nothing may be written

    log.LineShown({text, category, 0xFFFFFFFFu, direction});
    const long written = FileSize(file);
    Require(log.LinesLost() == 0, "a line was lost");
    if (written == 0) return;
    std::FILE* in = std::fopen(file.c_str(), "rb");
    std::string line(static_cast<size_t>(written), '\0');
    Require(std::fread(line.data(), 1, line.size(), in) == line.size(), "the file reads back");
    std::fclose(in);
    Require(line.size() >= text.size() + 2 && line.ends_with("\r\n"), "a line ends with CR LF");
    std::string shown(text);
    for (char& c : shown) {
        const auto b = static_cast<unsigned char>(c);
        if (!IsPrintable(b) && b != kDegree) c = '~';
    }
    Require(line.find(shown) != std::string::npos, "the text is in its line as shown");
    if (log.Options().logDirection) {
        const char mark = direction == LineDirection::kReceived ? '<'
                          : direction == LineDirection::kSent   ? '>'
                                                                : '-';
        Require(line.find(std::string{mark, ','} + shown) != std::string::npos,
                "the direction stands right before the text");
    }
    // Sent text counts by its content, as the log judges it.
    const bool sent =
        category == MessageCategory::kOutGoing || category == MessageCategory::kOutZel;
    const uint8_t judged = sent ? MessageClassifier::ClassifyText(text) : category;
    const bool checksum = log.Options().logNmeaChecksum && judged != MessageCategory::kNonNmea;
    if (checksum)
        Require(
            std::string_view(line).substr(line.size() - 5, 3) == ChecksumSuffix(TextChecksum(text)),
            "the checksum is the text's");
}

}  // namespace

}  // namespace zelsim

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    zelsim::LogOnce(data, size);
    return 0;
}
