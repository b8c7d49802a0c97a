#include "gps/CourseDisplay.h"

#include "gps/GpsWindowControls.h"

namespace zelsim {

namespace cw = cog_window;

CourseDisplay::CourseDisplay()
    : ToolWindow(cw::fCogDisplay, "CogDisplay", kCaption, kClientWidth, kClientHeight) {}

void CourseDisplay::Place(const Bounds& bounds) {
    Moved(bounds.left, bounds.top);
    Resized(bounds.clientWidth, bounds.clientHeight);
    Controls().SetPos(cw::fCogDisplay, bounds.left, bounds.top);
    Controls().SetSize(cw::fCogDisplay, bounds.clientWidth, bounds.clientHeight);
}

void CourseDisplay::Resized(int clientWidth, int clientHeight) {
    clientWidth_ = clientWidth;
    clientHeight_ = clientHeight;
}

CourseDisplay::Bounds CourseDisplay::Current() const {
    return {Left(), Top(), clientHeight_, clientWidth_};
}

void CourseDisplay::ShowCourse(int16_t courseTenths) {
    if (revision_ != 0 && courseTenths == course_) return;
    course_ = courseTenths;
    arrow_ = CourseArrow::For(courseTenths);
    ++revision_;
}

}  // namespace zelsim
