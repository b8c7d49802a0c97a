#pragma once
#include <QDialog>

class QTreeWidget;

namespace zelsim {

// Help > Keyboard Shortcuts: the list of KeyboardShortcuts, section by
// section. It stays open beside the main window while the user tries the
// keys; Esc or Close puts it away.
class TfKeyboardShortcuts : public QDialog {
    Q_OBJECT
  public:
    static constexpr const char* fKeyboardShortcuts = "fKeyboardShortcuts";
    static constexpr const char* tvShortcuts = "tvShortcuts";

    explicit TfKeyboardShortcuts(QWidget* parent = nullptr);

    QTreeWidget* List() const { return list_; }

  private:
    QTreeWidget* list_ = nullptr;
};

}  // namespace zelsim
