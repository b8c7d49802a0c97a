#pragma once
#include <QDialog>

class QPainter;
class QPushButton;

namespace zelsim {

// The colour legend of the message monitor, opened modally from its context
// menu: one row per category in the legend's order, drawn in its colour.
class TfShowMessageMonColors : public QDialog {
    Q_OBJECT
  public:
    static constexpr const char* kCaption = "Message Monitor Colors";
    // Its controls' names.
    static constexpr const char* fShowMessageMonColors = "fShowMessageMonColors";
    static constexpr const char* lbMsgMonColors = "lbMsgMonColors";
    static constexpr const char* bOk = "bOk";
    static constexpr int kRowHeight = 14;
    static constexpr int kFontPixels = 12;
    static constexpr int kTextIndent = 20;
    static constexpr int kListWidth = 220;
    static constexpr int kMargin = 8;

    explicit TfShowMessageMonColors(QWidget* parent = nullptr);

    QWidget* List() const { return lbMsgMonColors_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void lbDrawItemWithColor(QPainter& painter, int row, const QRect& rect);
    void bClickOk();

    QWidget* lbMsgMonColors_;
    QPushButton* bOk_;
    QFont font_;
};

}  // namespace zelsim
