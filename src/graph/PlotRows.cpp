#include "graph/PlotRows.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>

#include "graph/ChartGeometry.h"
#include "graph/DiagnosticRecord.h"
#include "graph/LogMap.h"
#include "graph/TraceTable.h"

namespace zelsim {

namespace {

using Field = int16_t DiagnosticRecord::*;

constexpr std::array<Field, TraceTable::kTraces> kValue = {
    &DiagnosticRecord::sogTenthsMph, &DiagnosticRecord::cogTenthsDeg,
    &DiagnosticRecord::offErrCM,     &DiagnosticRecord::angErrTenthsDeg,
    &DiagnosticRecord::waTenthDeg,   &DiagnosticRecord::solOut};
constexpr std::array<Field, TraceTable::kTraces> kLinearRow = {
    &DiagnosticRecord::p0, &DiagnosticRecord::p1, &DiagnosticRecord::p2,
    &DiagnosticRecord::p3, &DiagnosticRecord::p4, &DiagnosticRecord::p5};
constexpr std::array<Field, TraceTable::kTraces> kLogRow = {
    &DiagnosticRecord::lg0, &DiagnosticRecord::lg1, &DiagnosticRecord::lg2,
    &DiagnosticRecord::lg3, &DiagnosticRecord::lg4, &DiagnosticRecord::lg5};
// The log scale's reference is one division of five to the full scale.
constexpr int kDivisionsToFullScale = 5;
constexpr int kUnsignedSpan = 2;  // an unsigned trace's top is twice F

}  // namespace

void FillPlotRows(DiagnosticRecord& record, const TraceTable& traces, const ChartGeometry& g) {
    const int half = g.centre - g.top;
    for (int t = 0; t < TraceTable::kTraces; ++t) {
        const TraceTable::Trace& trace = traces.At(t);
        const int32_t value = record.*kValue[static_cast<size_t>(t)];
        const int32_t full = trace.fullScale;
        const int32_t reference = full / kDivisionsToFullScale;
        int linear = 0;
        int log = 0;
        if (trace.isSigned) {
            const int32_t a = std::min(std::abs(value), full);
            const int offset = full == 0 ? 0 : static_cast<int>(a * half / full);
            const int logOffset = LogMap(a, reference, half);
            linear = value < 0 ? g.centre + offset : g.centre - offset;
            log = value < 0 ? g.centre + logOffset : g.centre - logOffset;
        } else {
            const int32_t u = static_cast<uint16_t>(value);
            const int32_t span = kUnsignedSpan * full;
            const int rise = span == 0 ? 0 : static_cast<int>(u * (g.bottom - g.top) / span);
            linear = std::max(g.bottom - rise, g.top);
            // The distance, measured up from the bottom line as the linear
            // row is: taken as a row it would draw near the top.
            log = g.bottom - LogMap(u, reference, half);
        }
        record.*kLinearRow[static_cast<size_t>(t)] = static_cast<int16_t>(linear);
        record.*kLogRow[static_cast<size_t>(t)] = static_cast<int16_t>(log);
    }
}

int PlotRow(const DiagnosticRecord& record, int trace, bool log) {
    return record.*(log ? kLogRow : kLinearRow)[static_cast<size_t>(trace)];
}

}  // namespace zelsim
