#pragma once
#include <cstdint>

#include "gps/CourseArrow.h"
#include "gps/ToolWindow.h"

namespace zelsim {

// The course-over-ground display in figures. It belongs to the graph window,
// which places it when it opens, shows and hides it with its COG button,
// hands it the course of the sample on display and, once closed, takes its
// bounds back for the configuration: its keys are the graph window's. As a
// window it is one of the small GPS windows, which the user may resize.
class CourseDisplay : public ToolWindow {
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

    // Where the window stands and how large its client area is, each time
    // the graph window opens.
    void Place(const Bounds& bounds);
    // The size the user gave it.
    void Resized(int clientWidth, int clientHeight);
    Bounds Current() const;

    // A signed course in tenths of a degree. The arrow is drawn again only
    // for a course it does not show yet.
    void ShowCourse(int16_t courseTenths);
    int16_t Course() const { return course_; }
    const CourseArrow::Shape& Arrow() const { return arrow_; }
    // Changes with each new arrow.
    uint64_t Revision() const { return revision_; }

  private:
    int clientWidth_ = kClientWidth;
    int clientHeight_ = kClientHeight;
    CourseArrow::Shape arrow_;
    int16_t course_ = 0;
    uint64_t revision_ = 0;
};

}  // namespace zelsim
