#include "gps/SvStatusTable.h"

#include <set>

namespace zelsim {

namespace {

std::string Number(int16_t value) {
    return value == SatelliteInView::kUnset ? std::string() : std::to_string(value);
}

}  // namespace

std::vector<SvStatusTable::Row> SvStatusTable::Rows(
    const std::vector<SatelliteList::Entry>& entries) {
    std::vector<Row> rows;
    rows.reserve(entries.size());
    for (const SatelliteList::Entry& e : entries) {
        const SatelliteInView& s = e.satellite;
        Row row;
        row.cells = {std::string(SatelliteList::SystemName(e.talker)),
                     std::to_string(s.prn),
                     s.signalId == 0 ? std::string() : std::to_string(s.signalId),
                     Number(s.elevation),
                     Number(s.azimuth),
                     Number(s.snr),
                     s.used ? "yes" : ""};
        row.snr = s.snr;
        row.snrColour = SatelliteList::SnrColour(s.snr);
        rows.push_back(std::move(row));
    }
    return rows;
}

std::string SvStatusTable::TabSeparated(const std::vector<Row>& rows) {
    std::string text;
    const auto line = [&text](const auto& cells) {
        for (size_t c = 0; c < kColumns; ++c) {
            if (c > 0) text += '\t';
            text += cells[c];
        }
        text += "\r\n";
    };
    line(kHeadings);
    for (const Row& row : rows) line(row.cells);
    return text;
}

std::string SvStatusTable::Summary(const std::vector<SatelliteList::Entry>& entries) {
    // A satellite heard on several signals has a row for each: it counts once.
    std::set<std::string> inView, used;
    for (const SatelliteList::Entry& e : entries) {
        const std::string label = SatelliteList::Label(e);
        inView.insert(label);
        if (e.satellite.used) used.insert(label);
    }
    if (inView.empty()) return std::string(kNoneInView);
    const char* satellites = inView.size() == 1 ? " satellite in view, " : " satellites in view, ";
    return std::to_string(inView.size()) + satellites + std::to_string(used.size()) + " used";
}

}  // namespace zelsim
