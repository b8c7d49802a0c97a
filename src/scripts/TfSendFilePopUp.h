#pragma once
#include <QDialog>
#include <optional>

class QLineEdit;
class QPushButton;

namespace zelsim {

class FileSender;

// The properties dialog of Send File: the milliseconds between the lines
// of a file, and the seconds a transfer waits for an answer before it fails.
// OK takes only whole numbers (the stall time not below 0); anything else is
// said, and the dialog stays open with the text as typed.
class TfSendFilePopUp : public QDialog {
    Q_OBJECT
  public:
    static constexpr const char* kCaption = "Send File Properties";
    static constexpr const char* kNotANumber =
        "\"%1\" is not a whole number.\n"
        "Type the delay between lines in milliseconds, for example 0 or 50.";
    static constexpr const char* kNotAStallTime =
        "\"%1\" is not a number of seconds.\n"
        "Type how long a transfer waits for an answer, for example 10, or 0 to wait for ever.";
    // Its controls' names.
    static constexpr const char* fSendFilePopUp = "fSendFilePopUp";
    static constexpr const char* ebMsDelayBetweenLines = "ebMsDelayBetweenLines";
    static constexpr const char* ebStallSeconds = "ebStallSeconds";
    static constexpr const char* bOk = "bOk";
    static constexpr const char* bCancel = "bCancel";

    TfSendFilePopUp(int lineDelay, int stallSeconds, QWidget* parent = nullptr);

    // bClickSendFilePopup: edits the sender's line delay and stall time,
    // modally, where the dialog last stood. Refused (false) while a file is
    // sent; true when the user pressed OK.
    static bool Edit(FileSender& sender, QWidget* parent);

    // The delay typed: a whole number, blanks around it allowed.
    static std::optional<int> ParseDelay(const QString& text);
    int LineDelay() const { return lineDelay_; }
    int StallSeconds() const { return stallSeconds_; }

    QLineEdit* DelayEdit() const { return ebMsDelayBetweenLines_; }
    QLineEdit* StallEdit() const { return ebStallSeconds_; }
    QPushButton* OkButton() const { return bOk_; }

  private:
    void bClickOk();
    // The edit and its words, on the row at `y`; the width the row needs.
    int AddRow(QLineEdit* edit, const char* words, int y);
    void Refuse(QLineEdit* edit, const QString& message);

    QLineEdit* ebMsDelayBetweenLines_;
    QLineEdit* ebStallSeconds_;
    QPushButton* bOk_;
    QPushButton* bCancel_;
    int lineDelay_;
    int stallSeconds_;
};

}  // namespace zelsim
