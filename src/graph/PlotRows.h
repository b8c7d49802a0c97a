#pragma once

namespace zelsim {

struct ChartGeometry;
struct DiagnosticRecord;
class TraceTable;

// fillPlotRows: each trace's row on the linear scale (p0..p5) and on the
// logarithmic one (lg0..lg5) for `record`, computed once when it is stored
// so that a redraw only reads them. A signed trace is limited to its full
// scale, drawn below the centre line when negative; an unsigned one is
// measured up from the bottom line, on both scales, and limited at the top.
void FillPlotRows(DiagnosticRecord& record, const TraceTable& traces, const ChartGeometry& g);

// The row a trace's point is drawn at, after its scale.
int PlotRow(const DiagnosticRecord& record, int trace, bool log);

}  // namespace zelsim
