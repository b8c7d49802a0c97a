#pragma once
#include <QDialog>
#include <functional>
#include <string>
#include <vector>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace zelsim {

class UserButtons;

// The Define Button dialog: a button's caption and its script, one line per
// script line. Enter in the script starts a new line, so Ctrl+Enter (or
// Alt+O) is OK there; Esc cancels.
class TfDefineButton : public QDialog {
    Q_OBJECT
  public:
    static constexpr const char* kCaption = "Define Button";
    // Its controls' names.
    static constexpr const char* fDefineButton = "fDefineButton";
    static constexpr const char* ebButtonCaption = "ebButtonCaption";
    static constexpr const char* memoButtonText = "memoButtonText";
    static constexpr const char* bOk = "bOk";
    static constexpr const char* bCancel = "bCancel";

    explicit TfDefineButton(QWidget* parent = nullptr);

    // bClickButton1Popup..8: edits position `position` of the group shown,
    // modally, where the dialog last stood. `keysToWindow` is told false
    // while it is open, so that F-keys and arrows stay in it. True when the
    // user pressed OK.
    static bool Edit(UserButtons& buttons, int position, QWidget* parent,
                     const std::function<void(bool)>& keysToWindow);

    void Fill(const std::string& caption, const std::vector<std::string>& script);
    std::string Caption() const;
    // The script as typed, its lines split by line feeds, in the line's
    // 8-bit characters.
    std::string ScriptText() const;

    QLineEdit* CaptionEdit() const { return ebButtonCaption_; }
    QPlainTextEdit* Memo() const { return memoButtonText_; }
    QPushButton* OkButton() const { return bOk_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QLineEdit* ebButtonCaption_;
    QPlainTextEdit* memoButtonText_;
    QPushButton* bOk_;
    QPushButton* bCancel_;
};

}  // namespace zelsim
