#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "base/SteadyTickClock.h"
#include "serial/SentenceFramer.h"
#include "serial/SentenceWriters.h"
#include "serial/SerialDevice.h"
#include "serial/SerialPort.h"

namespace zelsim {

// Framer cost against the line it serves. "x_line" is how many 115,200-baud
// lines one core could frame at this speed; the program needs 1.
namespace {
constexpr double kLineBytesPerSecond = 11520.0;  // 115,200 baud, ten bits a byte
constexpr size_t kMinCorpusBytes = 256 * 1024;   // larger than L2, as a long capture would be

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Used when the shared captures are absent: sentences with and without
// checksums, a wrong checksum, a plain text line and a burst of line noise.
std::string BuiltInMix() {
    return "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47\r\n"
           "$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A\r\n"
           "$GPVTG,054.7,T,034.4,M,005.5,N,010.2,K*48\r\n"
           "$PKVTS,TXT,0,HELLO\r\n"
           "$GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1*00\r\n"
           "garbage line without a dollar\r\n"
           "\x85\x13\xfe\x01\x7f\xb0\x92\r\n";
}

std::string Repeated(std::string unit) {
    if (unit.empty()) unit = BuiltInMix();
    std::string data;
    while (data.size() < kMinCorpusBytes) data += unit;
    return data;
}

// Every real capture in the shared folder, concatenated in name order.
std::string CaptureCorpus() {
#ifdef ZELSIM_SHARED_DIR
    const std::filesystem::path dir =
        std::filesystem::path(ZELSIM_SHARED_DIR) / "testdata" / "nmea";
    std::vector<std::filesystem::path> files;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(dir, ec))
        if (entry.path().extension() == ".log") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    std::string all;
    for (const auto& f : files) all += ReadFile(f);
    return Repeated(all);
#else
    return Repeated({});
#endif
}

// The synthetic traffic of a receiver and a controller sharing one line.
std::string LineMixCorpus() {
#ifdef ZELSIM_SHARED_DIR
    return Repeated(ReadFile(std::filesystem::path(ZELSIM_SHARED_DIR) / "bench" / "nmea_mix.txt"));
#else
    return Repeated({});
#endif
}

void SetLineCounters(benchmark::State& state, size_t bytes) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
    state.counters["x_line"] = benchmark::Counter(static_cast<double>(bytes) / kLineBytesPerSecond,
                                                  benchmark::Counter::kIsIterationInvariantRate);
}

// Feed alone: the per-byte cost of framing.
void FeedOnly(benchmark::State& state, const std::string& data) {
    SentenceFramer framer;
    for (auto _ : state) {
        unsigned reports = 0;
        for (char c : data) reports += framer.Feed(static_cast<uint8_t>(c), 0) >= 3;
        benchmark::DoNotOptimize(reports);
    }
    SetLineCounters(state, data.size());
}

// What the main cycle does per byte: feed, and on a report rebuild the text
// and read the address the responder dispatches on.
void FeedAndDispatch(benchmark::State& state, const std::string& data) {
    SentenceFramer framer;
    char line[SentenceFramer::kBufferSize + 1];
    for (auto _ : state) {
        size_t total = 0;
        for (char c : data) {
            const uint8_t result = framer.Feed(static_cast<uint8_t>(c), 0);
            if (result < SentenceFramer::kSentenceReady) continue;
            size_t length = 0;
            framer.CopyOut(line, length);
            total += length;
            if (result == SentenceFramer::kSentenceReady)
                total += framer.FieldIs(0, "PKVTS") + framer.FieldLength(2);
        }
        benchmark::DoNotOptimize(total);
    }
    SetLineCounters(state, data.size());
}

// The same, taking the tick once per read as the main cycle can: at full
// line rate one 10 ms tick reads about 115 bytes.
void FeedAndDispatchPerRead(benchmark::State& state, const std::string& data) {
    constexpr size_t kBytesPerTick = static_cast<size_t>(kLineBytesPerSecond / 100);
    SteadyTickClock clock;
    SentenceFramer framer;
    char line[SentenceFramer::kBufferSize + 1];
    for (auto _ : state) {
        size_t total = 0;
        for (size_t start = 0; start < data.size(); start += kBytesPerTick) {
            const uint32_t now = clock.TickNow();
            const size_t end = std::min(data.size(), start + kBytesPerTick);
            for (size_t i = start; i < end; ++i) {
                const uint8_t result = framer.Feed(static_cast<uint8_t>(data[i]), now);
                if (result < SentenceFramer::kSentenceReady) continue;
                size_t length = 0;
                framer.CopyOut(line, length);
                total += length;
                if (result == SentenceFramer::kSentenceReady)
                    total += framer.FieldIs(0, "PKVTS") + framer.FieldLength(2);
            }
        }
        benchmark::DoNotOptimize(total);
    }
    SetLineCounters(state, data.size());
}

void BM_FramerFeedCaptures(benchmark::State& state) {
    static const std::string data = CaptureCorpus();
    FeedOnly(state, data);
}
BENCHMARK(BM_FramerFeedCaptures);

void BM_FramerFeedAndDispatchCaptures(benchmark::State& state) {
    static const std::string data = CaptureCorpus();
    FeedAndDispatch(state, data);
}
BENCHMARK(BM_FramerFeedAndDispatchCaptures);

void BM_FramerFeedAndDispatchPerReadCaptures(benchmark::State& state) {
    static const std::string data = CaptureCorpus();
    FeedAndDispatchPerRead(state, data);
}
BENCHMARK(BM_FramerFeedAndDispatchPerReadCaptures);

void BM_FramerFeedAndDispatchPerReadLineMix(benchmark::State& state) {
    static const std::string data = LineMixCorpus();
    FeedAndDispatchPerRead(state, data);
}
BENCHMARK(BM_FramerFeedAndDispatchPerReadLineMix);

// Wrong-baud noise: no sentence ever starts, every byte goes to the raw line.
void BM_FramerFeedNoise(benchmark::State& state) {
    std::string data(kMinCorpusBytes, '\0');
    uint32_t seed = 12345;
    for (char& c : data) {
        seed = seed * 1664525u + 1013904223u;
        c = static_cast<char>(seed >> 24);
    }
    FeedOnly(state, data);
}
BENCHMARK(BM_FramerFeedNoise);

// Field lookup by index past the third: the scan and its one-entry cache.
void BM_FramerFieldScan(benchmark::State& state) {
    SentenceFramer framer;
    framer.ParseText("$PKVTR,DML,PLT2,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20");
    for (auto _ : state) {
        int32_t sum = 0;
        for (uint8_t i = 3; i < framer.FieldCount(); ++i) sum += framer.FieldInt32(i);
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_FramerFieldScan);

// A device that swallows bytes, to time the writers' own work per byte.
class SinkDevice final : public SerialDevice {
  public:
    bool Open(const std::string&) override { return true; }
    void Close() override {}
    bool IsOpen() const override { return true; }
    ConfigResult Configure(uint32_t) override { return {}; }
    long Read(uint8_t*, size_t) override { return 0; }
    long Write(const uint8_t* bytes, size_t count) override {
        benchmark::DoNotOptimize(bytes);
        return static_cast<long>(count);
    }
    void Purge() override {}
    void ClearErrors() override {}
    bool SetRts(bool) override { return true; }
    bool HasFailed() const override { return false; }
};

void BM_WriteSentence(benchmark::State& state) {
    PortMap portMap;
    SerialPort port(std::make_unique<SinkDevice>(), portMap);
    static constexpr const char* kText = "$PKVTQ,DML,SET1";
    for (auto _ : state) WriteSentence(port, kText);
    // 15 characters, "*", two digits, CR LF.
    SetLineCounters(state, 20);
}
BENCHMARK(BM_WriteSentence);
}  // namespace

}  // namespace zelsim
