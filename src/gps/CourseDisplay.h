#pragma once
#include <cstdint>

#include "base/ControlTable.h"
#include "gps/CourseArrow.h"

namespace zelsim {

// The course-over-ground display in figures. It belongs to the graph window,
// which places it when it opens, shows and hides it with its COG button,
// hands it the course of the sample on display and, once closed, takes its
// bounds back for the configuration.
class CourseDisplay {
  public:
    static constexpr std::string_view kCaption = "COG Display";
    static constexpr int kClientWidth = 257;
    static constexpr int kClientHeight = 206;
    // A smaller window is refused: the arrow would be too small to read.
    static constexpr int kSmallestSide = 210;
    // The picture's margin in the window on every side.
    static constexpr int kMargin = 5;

    struct Bounds {
        int left = 0;
        int top = 0;
        int clientHeight = 0;
        int clientWidth = 0;
        friend bool operator==(const Bounds&, const Bounds&) = default;
    };

    CourseDisplay();

    ControlTable& Controls() { return controls_; }
    const ControlTable& Controls() const { return controls_; }

    // Where the window stands and how large its client area is, each time
    // the graph window opens.
    void Place(const Bounds& bounds);
    void Show();
    void Hide();
    // Its show and hide events.
    void OnShow() { visible_ = true; }
    void OnHide();
    bool Visible() const { return visible_; }
    // Where the user moved it and the size the user gave it.
    void Moved(int left, int top);
    void Resized(int clientWidth, int clientHeight);
    const Bounds& Current() const { return bounds_; }

    // A signed course in tenths of a degree. The arrow is drawn again only
    // for a course it does not show yet.
    void ShowCourse(int16_t courseTenths);
    int16_t Course() const { return course_; }
    const CourseArrow::Shape& Arrow() const { return arrow_; }
    // Changes with each new arrow.
    uint64_t Revision() const { return revision_; }

  private:
    ControlTable controls_;
    Bounds bounds_;
    CourseArrow::Shape arrow_;
    int16_t course_ = 0;
    uint64_t revision_ = 0;
    bool visible_ = false;
};

}  // namespace zelsim
