#pragma once
#include <QFrame>
#include <array>
#include <functional>

class QLabel;
class QPushButton;

namespace zelsim {

// pButtonPanel: the eight user buttons bButton1..8, each with its F-key tag
// lButton1Tag..8. It only builds them: captions, colours, places and whether
// they are enabled come from the control table, and what a click does is
// the window's.
class UserButtonsPanel : public QFrame {
    Q_OBJECT
  public:
    static constexpr int kButtons = 8;

    explicit UserButtonsPanel(QWidget* parent = nullptr);

    // bClickButton1..8: a left click on position 0..7.
    std::function<void(int)> onClick;
    // bClickButton1Popup..8: a right click (or the menu key) on position
    // 0..7; no context menu opens.
    std::function<void(int)> onPopup;

    QPushButton* Button(int position) const { return buttons_.at(position); }
    QLabel* Tag(int position) const { return tags_.at(position); }

  private:
    std::array<QPushButton*, kButtons> buttons_{};
    std::array<QLabel*, kButtons> tags_{};
};

}  // namespace zelsim
