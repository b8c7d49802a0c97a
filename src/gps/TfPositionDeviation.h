#pragma once
#include <string_view>

#include "gps/ToolWindowView.h"

class QLabel;
class QPushButton;

namespace zelsim {

class DeviationWindow;

// "Deviation from Static Position": labels and sunken value fields, with
// Stop (Run), Reset and Close beside the last three rows.
class TfPositionDeviation : public ToolWindowView {
    Q_OBJECT
  public:
    explicit TfPositionDeviation(DeviationWindow& deviation, QWidget* parent = nullptr);

  private:
    QLabel* AddValue(std::string_view name, int x, int row, int width);
    QPushButton* AddButton(std::string_view name, const char* caption, int row);

    DeviationWindow& deviation_;
};

}  // namespace zelsim
