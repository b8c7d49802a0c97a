#pragma once
#include "base/UserDialogs.h"

class QWidget;

namespace zelsim {

// Message boxes and file dialogs over the main window.
class QtUserDialogs : public UserDialogs {
  public:
    // `parent` may be null: the boxes then stand on their own.
    explicit QtUserDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void SetParent(QWidget* parent) { parent_ = parent; }

    void Warn(std::string_view caption, std::string_view text) override;
    bool Ask(std::string_view caption, std::string_view text) override;
    std::optional<std::string> AskFileToWrite(FileRequest& request) override;
    std::optional<std::string> AskFileToOpen(FileRequest& request) override;
    bool Confirm(std::string_view caption, std::string_view text) override;
    bool OpenInViewer(const std::string& path) override;

  private:
    QWidget* parent_;
};

}  // namespace zelsim
