#pragma once
#include <QDialog>
#include <optional>

class QLineEdit;
class QPushButton;

namespace zelsim {

class FileSender;

// The line-delay dialog of Send File: the milliseconds between the lines
// of a file. OK takes only a whole number; anything else is said, and the
// dialog stays open with the text as typed.
class TfSendFilePopUp : public QDialog {
    Q_OBJECT
  public:
    static constexpr const char* kCaption = "Send File Properties";
    static constexpr const char* kNotANumber =
        "\"%1\" is not a whole number.\n"
        "Type the delay between lines in milliseconds, for example 0 or 50.";
    // Its controls' names.
    static constexpr const char* fSendFilePopUp = "fSendFilePopUp";
    static constexpr const char* ebMsDelayBetweenLines = "ebMsDelayBetweenLines";
    static constexpr const char* bOk = "bOk";
    static constexpr const char* bCancel = "bCancel";

    explicit TfSendFilePopUp(int lineDelay, QWidget* parent = nullptr);

    // bClickSendFilePopup: edits the sender's line delay, modally, where the
    // dialog last stood. Refused (false) while a file is sent; true when
    // the user pressed OK.
    static bool Edit(FileSender& sender, QWidget* parent);

    // The delay typed: a whole number, blanks around it allowed.
    static std::optional<int> ParseDelay(const QString& text);
    int LineDelay() const { return lineDelay_; }

    QLineEdit* DelayEdit() const { return ebMsDelayBetweenLines_; }
    QPushButton* OkButton() const { return bOk_; }

  private:
    void bClickOk();

    QLineEdit* ebMsDelayBetweenLines_;
    QPushButton* bOk_;
    QPushButton* bCancel_;
    int lineDelay_;
};

}  // namespace zelsim
