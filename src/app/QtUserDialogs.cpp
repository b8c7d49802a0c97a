#include "app/QtUserDialogs.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QUrl>

#include "base/ShownText.h"

namespace zelsim {

namespace {
// Qt's own dialog, so that it opens where the user left it last time.
void Prepare(QFileDialog& dialog, const UserDialogs::FileRequest& request) {
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    QStringList filters;
    for (const std::string& filter : request.filters) filters << ShownText(filter);
    dialog.setNameFilters(filters);
    if (request.filterIndex >= 1 && request.filterIndex <= filters.size())
        dialog.selectNameFilter(filters[request.filterIndex - 1]);
    if (!request.fileName.empty()) dialog.selectFile(ShownText(request.fileName));
    // Where it was left; never smaller than it needs to be (the first time
    // the remembered size is a mere 200 by 200).
    if (request.place.width > 0 && request.place.height > 0)
        dialog.setGeometry(
            QRect(QPoint(request.place.left, request.place.top),
                  QSize(request.place.width, request.place.height).expandedTo(dialog.sizeHint())));
}

// The file chosen, and where the dialog stood and which filter it showed
// when it closed.
std::optional<std::string> Run(QFileDialog& dialog, UserDialogs::FileRequest& request) {
    const bool chosen = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty();
    const QRect place = dialog.geometry();
    request.place.left = place.x();
    request.place.top = place.y();
    request.place.width = place.width();
    request.place.height = place.height();
    const qsizetype filter = dialog.nameFilters().indexOf(dialog.selectedNameFilter());
    if (filter >= 0) request.filterIndex = static_cast<int>(filter) + 1;
    if (!chosen) return std::nullopt;
    return dialog.selectedFiles().front().toStdString();
}
}  // namespace

void QtUserDialogs::Warn(std::string_view caption, std::string_view text) {
    QMessageBox::warning(parent_, ShownText(caption), ShownText(text));
}

bool QtUserDialogs::Ask(std::string_view caption, std::string_view text) {
    return QMessageBox::question(parent_, ShownText(caption), ShownText(text),
                                 QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

std::optional<std::string> QtUserDialogs::AskFileToWrite(FileRequest& request) {
    QFileDialog dialog(parent_, ShownText(request.caption), ShownText(request.folder));
    dialog.setOption(QFileDialog::DontConfirmOverwrite);  // a log is added to
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    Prepare(dialog, request);
    return Run(dialog, request);
}

std::optional<std::string> QtUserDialogs::AskFileToOpen(FileRequest& request) {
    QFileDialog dialog(parent_, ShownText(request.caption), ShownText(request.folder));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    Prepare(dialog, request);
    return Run(dialog, request);
}

bool QtUserDialogs::Confirm(std::string_view caption, std::string_view text) {
    return QMessageBox::question(parent_, ShownText(caption), ShownText(text),
                                 QMessageBox::Ok | QMessageBox::Cancel,
                                 QMessageBox::Ok) == QMessageBox::Ok;
}

bool QtUserDialogs::OpenInViewer(const std::string& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(ShownText(path)));
}

}  // namespace zelsim
