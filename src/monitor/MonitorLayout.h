#pragma once
#include <cstddef>
#include <string_view>

namespace zelsim {

// Where the monitor panel's controls sit and which rows and columns of the
// list show what: numbers the window only paints. Positions are relative to
// the panel; Big makes the panel and its list 120 pixels taller.
class MonitorLayout {
  public:
    static constexpr int kPanelWidth = 760;
    static constexpr int kPanelHeight = 295;
    static constexpr int kBigExtra = 120;
    static constexpr int kListLeft = 8;
    static constexpr int kListTop = 0;
    static constexpr int kListBottomMargin = 45;
    static constexpr int kSendRowDistance = 41;  // from the panel's bottom to the buttons
    static constexpr int kRowHeight = 14;
    // The prefixes as the monitor formats them: "hh:mm:ss " and "12345 ".
    static constexpr size_t kTimeChars = 9;
    static constexpr size_t kTickChars = 6;

    struct Rect {
        int left, top, width, height;
        bool operator==(const Rect&) const = default;
    };

    // What the window gives the panel beyond its design size: more width
    // and height when the user grows the window, less height (negative)
    // when a small screen cannot hold the design.
    struct Room {
        int width;  // none when Room{}
        int height;
        bool operator==(const Room&) const = default;
    };
    // The list keeps at least this many rows however small the screen.
    static constexpr int kFewestRows = 3;

    struct RowPlace {
        std::string_view name;
        Rect rect;  // its top as in the design panel
    };
    // The send row under the list, in the design panel.
    static const RowPlace kSendRow[6];

    static int PanelHeight(bool big) { return kPanelHeight + (big ? kBigExtra : 0); }
    // The panel's size in the room it is given.
    static Rect Panel(bool big, Room room = {});
    // The shortest panel: the list's fewest rows and the send row.
    static int ShortestPanel();
    static Rect List(bool big, Room room = {});
    // A control of the send row, moved with the panel's bottom; the box
    // takes the extra width, the buttons stay at the right.
    static Rect SendRowControl(const RowPlace& place, bool big, Room room = {});

    static int VisibleRows(int listHeight);
    // The top row that brings the newest line into view: the last page. (A
    // top index of the line count less 14, as a list box clamps it to its
    // last page, comes to the same for every list of 14 rows or more.)
    static int TopRowForNewest(int lineCount, int visibleRows);

    // The columns of one row in characters: time, tick, then the text.
    struct Columns {
        size_t time = 0;  // 0 when not shown
        size_t tick = 0;
        size_t TextStart() const { return time + tick; }
        bool operator==(const Columns&) const = default;
    };
    static Columns ColumnsOf(bool timeShown, bool tickShown);
    // A column's left edge in pixels, for a font of `charAdvance` pixels.
    static int ColumnLeft(size_t chars, double charAdvance);
};

}  // namespace zelsim
