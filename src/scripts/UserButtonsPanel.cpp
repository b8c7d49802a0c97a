#include "scripts/UserButtonsPanel.h"

#include <QLabel>
#include <QPushButton>

#include "base/MainWindowControls.h"
#include "base/ShownText.h"

namespace zelsim {

namespace {
namespace mw = main_window;
constexpr int kTagPointSize = 8;
}  // namespace

UserButtonsPanel::UserButtonsPanel(QWidget* parent) : QFrame(parent) {
    setObjectName(Latin1Text(mw::pButtonPanel));
    for (int k = 0; k < kButtons; ++k) {
        QLabel* tag = new QLabel(this);
        tag->setObjectName(Latin1Text(mw::kUserButtonTags[k]));
        tag->setAlignment(Qt::AlignCenter);
        // The tag's colour says which button runs: it paints its background.
        tag->setAutoFillBackground(true);
        QFont font = tag->font();
        font.setPointSize(kTagPointSize);
        tag->setFont(font);
        tags_[k] = tag;

        auto* button = new QPushButton(this);
        button->setObjectName(Latin1Text(mw::kUserButtons[k]));
        button->setFocusPolicy(Qt::TabFocus);  // as the window's other buttons
        button->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(button, &QPushButton::clicked, this, [this, k] {
            if (onClick) onClick(k);
        });
        connect(button, &QPushButton::customContextMenuRequested, this, [this, k] {
            if (onPopup) onPopup(k);
        });
        buttons_[k] = button;
    }
}

}  // namespace zelsim
