#pragma once
#include <span>
#include <string_view>

namespace zelsim {

// Where the main window's panels and controls sit: the design layout (760 by
// 591 client pixels) and the compact layout used while the panel type is
// Off. Positions are relative to the control's parent panel.
class MainLayout {
  public:
    static constexpr int kClientWidth = 760;
    static constexpr int kClientHeight = 591;  // the top panels and the monitor
    static constexpr int kKeepSize = -1;       // the layout places the control, its owner sizes it

    struct Place {
        std::string_view name;
        int left, top, width, height;
    };

    static std::span<const Place> Design();
    // Every control the compact layout moves has its design place too, so
    // applying the design restores them all.
    static std::span<const Place> Compact();

    // The client height: the design's, or more when the monitor reaches
    // further down (Big).
    static int ClientHeight(bool compact, bool monitorShown, int monitorHeight);

    // The smallest client the window may be given, and by how much the
    // monitor is then shorter than it would be: the design size, unless the
    // screen has less room for the client (a small screen, or a large
    // scaling) and the monitor can give way, down to `shortestMonitor`.
    struct Minimum {
        int width = 0;
        int height = 0;
        int monitorShortfall = 0;
        bool operator==(const Minimum&) const = default;
    };
    static Minimum MinimumClient(bool compact, bool monitorShown, int monitorHeight,
                                 int shortestMonitor, int screenRoom);
};

}  // namespace zelsim
