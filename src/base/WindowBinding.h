#pragma once
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/Colour.h"

class QAction;
class QObject;
class QPoint;
class QSize;
class QWidget;

namespace zelsim {

class ControlTable;
struct ControlState;

// Shows a window's control table on the window: each entry goes to the
// child widget or menu item whose object name is the entry's name, and the
// entry named after the window itself carries its caption, its place and
// the size of its client area. Every window of the program is bound this
// way to a table of its own, so two windows may use the same names.
class WindowBinding {
  public:
    // A fixed window has the size core gives it; a resizable one starts at
    // the size core gives it and then keeps the size the user makes it.
    enum class Sizing : uint8_t { kFixed, kResizable };

    // The window's object name is the name of its own entry; `client` is
    // the widget whose size that entry sets. Both and `table` outlive the
    // binding.
    WindowBinding(QWidget& window, QWidget& client, const ControlTable& table,
                  Sizing sizing = Sizing::kFixed);

    // Takes the window's named children and actions; called once the
    // window has built them, and again after it adds more.
    void BindChildren();
    // Applies the entries changed since the last call.
    void Apply();

    // Text that warns (a failure said in red) on any window.
    static constexpr Colour kAlertColour{180, 0, 0};

    QWidget* Control(std::string_view name) const;
    QAction* MenuItem(std::string_view name) const;
    // Entries of the table that nothing on the window shows: a state the
    // user would never see. Applying warns once about each.
    std::vector<std::string> NamesWithoutControl() const;

  private:
    bool Shows(std::string_view name) const;
    bool OwnChild(const QObject* child) const;
    // `place` when a screen shows it (unless `whole` asks for all of the
    // window), else the nearest place where a window of `size` lies whole
    // on the nearest screen.
    static QPoint OnAScreen(QPoint place, QSize size, bool whole);
    void ApplyToWindow(const ControlState& s);
    static void ApplyToWidget(QWidget* widget, const ControlState& s);

    QWidget& window_;
    QWidget& client_;
    const ControlTable& table_;
    const std::string windowName_;
    const Sizing sizing_;
    std::map<std::string, QWidget*, std::less<>> widgets_;
    std::map<std::string, QAction*, std::less<>> menuItems_;
    std::set<std::string, std::less<>> warned_;
    uint64_t appliedRevision_ = 0;
    std::optional<std::pair<int, int>> placed_;
    std::optional<std::pair<int, int>> sized_;
    bool unframed_ = false;
};

}  // namespace zelsim
