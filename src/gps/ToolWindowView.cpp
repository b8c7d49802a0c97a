#include "gps/ToolWindowView.h"

#include <QHideEvent>
#include <QKeyEvent>

#include "base/ShownText.h"
#include "gps/ToolWindow.h"

namespace zelsim {

ToolWindowView::ToolWindowView(ToolWindow& window, std::string_view name, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      window_(window) {
    setObjectName(Latin1Text(name));
}

ToolWindowView::~ToolWindowView() = default;

void ToolWindowView::Bind(WindowBinding::Sizing sizing) {
    binding_ = std::make_unique<WindowBinding>(*this, *this, window_.Controls(), sizing);
    binding_->BindChildren();
    ToolWindowView::ApplyControls();
}

void ToolWindowView::ApplyControls() {
    binding_->Apply();
}

void ToolWindowView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    window_.OnShow();
}

void ToolWindowView::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    // Minimised with the program, the window is still open.
    if (!event->spontaneous()) window_.OnHide();
}

void ToolWindowView::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    // Hiding may report the window at the screen's corner: only a shown
    // window is where the user put it.
    if (isVisible()) window_.Moved(x(), y());
}

void ToolWindowView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace zelsim
