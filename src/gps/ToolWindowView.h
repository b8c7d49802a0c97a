#pragma once
#include <QWidget>
#include <memory>

#include "base/WindowBinding.h"

namespace zelsim {

class ToolWindow;

// What the views of the "more" windows share: a window with a title bar and
// a close box (and Esc), bound to its part's table once its widgets are built, that
// tells its part when it is shown, hidden or moved by the user.
class ToolWindowView : public QWidget {
    Q_OBJECT
  public:
    ToolWindowView(ToolWindow& window, std::string_view name, QWidget* parent);
    ~ToolWindowView() override;

    // Applies what changed in the table; a live window also shows new data.
    virtual void ApplyControls();
    const WindowBinding& Binding() const { return *binding_; }

  protected:
    // Called by the view once its widgets are built.
    void Bind(WindowBinding::Sizing sizing = WindowBinding::Sizing::kFixed);
    // A user's action: the part acts, then the window shows the outcome.
    template <typename F>
    void Act(F&& action) {
        action();
        ApplyControls();
    }

    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    // Esc closes it, as the close box does.
    void keyPressEvent(QKeyEvent* event) override;

  private:
    ToolWindow& window_;
    std::unique_ptr<WindowBinding> binding_;
};

}  // namespace zelsim
