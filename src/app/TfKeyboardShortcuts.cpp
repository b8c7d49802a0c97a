#include "app/TfKeyboardShortcuts.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/KeyboardShortcuts.h"
#include "base/ShownText.h"

namespace zelsim {

namespace {
constexpr int kWidth = 980;
constexpr int kHeight = 640;
constexpr int kKeysColumnWidth = 180;
}  // namespace

TfKeyboardShortcuts::TfKeyboardShortcuts(QWidget* parent) : QDialog(parent) {
    setObjectName(fKeyboardShortcuts);
    setWindowTitle(KeyboardShortcuts::kCaption);
    resize(kWidth, kHeight);

    list_ = new QTreeWidget(this);
    list_->setObjectName(tvShortcuts);
    list_->setColumnCount(2);
    list_->setHeaderLabels({"Keys", "Does"});
    list_->setRootIsDecorated(false);
    list_->setItemsExpandable(false);
    list_->setWordWrap(true);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->header()->setStretchLastSection(true);
    list_->setColumnWidth(0, kKeysColumnWidth);
    QFont sectionFont = list_->font();
    sectionFont.setBold(true);
    for (const KeyboardShortcuts::Section& section : KeyboardShortcuts::List()) {
        auto* heading = new QTreeWidgetItem(list_, {Latin1Text(section.title)});
        heading->setFont(0, sectionFont);
        heading->setFirstColumnSpanned(true);
        for (const KeyboardShortcuts::Shortcut& s : section.shortcuts)
            new QTreeWidgetItem(heading, {Latin1Text(s.keys), Latin1Text(s.action)});
    }
    list_->expandAll();
    list_->setCurrentItem(list_->topLevelItem(0));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addWidget(buttons);
    list_->setFocus();
}

}  // namespace zelsim
