#include "gps/TfSvStatus.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>

#include "base/QtColour.h"
#include "base/ShownText.h"
#include "gps/GpsWindowControls.h"
#include "gps/SnrBarDelegate.h"
#include "gps/SvStatusWindow.h"

namespace zelsim {

namespace {

namespace sw = sv_status_window;

constexpr int kMargin = 4;
constexpr int kSummaryHeight = 18;
constexpr int kRowHeight = 18;
constexpr std::array<int, SvStatusTable::kColumns> kColumnWidths = {72, 44, 48, 60, 60, 150, 50};

}  // namespace

TfSvStatus::TfSvStatus(SvStatusWindow& status, QWidget* parent)
    : ToolWindowView(status.Window(), sw::fSvStatus, parent), status_(status) {
    const int width = SvStatusWindow::kClientWidth - 2 * kMargin;
    table_ = new QTableWidget(0, SvStatusTable::kColumns, this);
    table_->setObjectName(Latin1Text(sw::gSatellites));
    table_->setGeometry(kMargin, kMargin, width,
                        SvStatusWindow::kClientHeight - 3 * kMargin - kSummaryHeight);
    QStringList headings;
    for (std::string_view h : SvStatusTable::kHeadings) headings << ShownText(h);
    table_->setHorizontalHeaderLabels(headings);
    for (size_t c = 0; c < kColumnWidths.size(); ++c)
        table_->setColumnWidth(static_cast<int>(c), kColumnWidths[c]);
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(kRowHeight);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setItemDelegateForColumn(static_cast<int>(SvStatusTable::kSnrColumn),
                                     new SnrBarDelegate(table_));
    auto* copy = new QAction("&Copy", table_);
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WindowShortcut);
    connect(copy, &QAction::triggered, this, &TfSvStatus::CopyTable);
    table_->addAction(copy);
    table_->setContextMenuPolicy(Qt::ActionsContextMenu);

    auto* summary = new QLabel(this);
    summary->setObjectName(Latin1Text(sw::lSatelliteSummary));
    summary->setGeometry(kMargin, SvStatusWindow::kClientHeight - kMargin - kSummaryHeight, width,
                         kSummaryHeight);
    Bind();
}

void TfSvStatus::ApplyControls() {
    ToolWindowView::ApplyControls();
    if (status_.Revision() != shownRevision_) ShowRows();
}

void TfSvStatus::ShowRows() {
    shownRevision_ = status_.Revision();
    const std::vector<SvStatusTable::Row>& rows = status_.Rows();
    table_->setRowCount(static_cast<int>(rows.size()));
    for (size_t r = 0; r < rows.size(); ++r) {
        for (size_t c = 0; c < SvStatusTable::kColumns; ++c) {
            auto* item = new QTableWidgetItem(ShownText(rows[r].cells[c]));
            item->setTextAlignment(c == 0 ? Qt::AlignLeft | Qt::AlignVCenter
                                          : Qt::AlignRight | Qt::AlignVCenter);
            if (c == SvStatusTable::kSnrColumn && rows[r].snr != SatelliteInView::kUnset) {
                item->setData(SnrBarDelegate::kSnrRole, static_cast<int>(rows[r].snr));
                item->setData(SnrBarDelegate::kColourRole, QtColour(rows[r].snrColour));
                item->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            }
            table_->setItem(static_cast<int>(r), static_cast<int>(c), item);
        }
    }
}

void TfSvStatus::CopyTable() {
    QApplication::clipboard()->setText(ShownText(status_.TabSeparated()));
}

}  // namespace zelsim
