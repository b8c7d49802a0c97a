#pragma once
#include "gps/ToolWindowView.h"

class QTableWidget;

namespace zelsim {

class SvStatusWindow;

// "Satellite Vehicle Status list": the satellites in view in a table, a
// line under it saying how many, and Ctrl+C (or the table's menu) to copy
// the table as tab-separated text.
class TfSvStatus : public ToolWindowView {
    Q_OBJECT
  public:
    explicit TfSvStatus(SvStatusWindow& status, QWidget* parent = nullptr);

    void ApplyControls() override;
    // Puts the whole table on the clipboard.
    void CopyTable();
    const QTableWidget& Table() const { return *table_; }

  private:
    void ShowRows();

    SvStatusWindow& status_;
    QTableWidget* table_ = nullptr;
    uint64_t shownRevision_ = 0;
};

}  // namespace zelsim
