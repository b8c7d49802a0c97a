#include "gps/SvStatusTable.h"

#include <algorithm>

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
    if (entries.empty()) return std::string(kNoneInView);
    const auto used = std::count_if(entries.begin(), entries.end(),
                                    [](const SatelliteList::Entry& e) { return e.satellite.used; });
    const std::string inView =
        entries.size() == 1 ? " satellite in view, " : " satellites in view, ";
    return std::to_string(entries.size()) + inView + std::to_string(used) + " used";
}

}  // namespace zelsim
