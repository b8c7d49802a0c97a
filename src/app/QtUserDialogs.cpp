#include "app/QtUserDialogs.h"

#include <QMessageBox>

namespace zelsim {

namespace {
QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
}  // namespace

void QtUserDialogs::Warn(std::string_view caption, std::string_view text) {
    QMessageBox::warning(parent_, FromUtf8(caption), FromUtf8(text));
}

}  // namespace zelsim
