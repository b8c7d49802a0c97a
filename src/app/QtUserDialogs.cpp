#include "app/QtUserDialogs.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QUrl>

namespace zelsim {

namespace {
QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
}  // namespace

void QtUserDialogs::Warn(std::string_view caption, std::string_view text) {
    QMessageBox::warning(parent_, FromUtf8(caption), FromUtf8(text));
}

bool QtUserDialogs::Ask(std::string_view caption, std::string_view text) {
    return QMessageBox::question(parent_, FromUtf8(caption), FromUtf8(text),
                                 QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

std::optional<std::string> QtUserDialogs::AskFileToWrite(FileRequest& request) {
    QFileDialog dialog(parent_, FromUtf8(request.caption), FromUtf8(request.folder));
    // Qt's own dialog, so that it opens where the user left it last time.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);  // a log is added to
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    QStringList filters;
    for (const std::string& filter : request.filters) filters << FromUtf8(filter);
    dialog.setNameFilters(filters);
    if (request.filterIndex >= 1 && request.filterIndex <= filters.size())
        dialog.selectNameFilter(filters[request.filterIndex - 1]);
    if (!request.fileName.empty()) dialog.selectFile(FromUtf8(request.fileName));
    if (request.width > 0 && request.height > 0)
        dialog.setGeometry(request.left, request.top, request.width, request.height);
    const bool chosen = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty();
    const QRect place = dialog.geometry();
    request.left = place.x();
    request.top = place.y();
    request.width = place.width();
    request.height = place.height();
    if (!chosen) return std::nullopt;
    return dialog.selectedFiles().front().toStdString();
}

bool QtUserDialogs::OpenInViewer(const std::string& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(FromUtf8(path)));
}

}  // namespace zelsim
