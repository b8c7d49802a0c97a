#pragma once
#include "gps/ToolWindowView.h"

namespace zelsim {

// "GPS Simulator": a window that opens and holds nothing yet.
class TfGpsSimulator : public ToolWindowView {
    Q_OBJECT
  public:
    explicit TfGpsSimulator(ToolWindow& window, QWidget* parent = nullptr);
};

}  // namespace zelsim
