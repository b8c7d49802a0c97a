#include "gps/CourseDisplay.h"

#include "gps/GpsWindowControls.h"

namespace zelsim {

namespace cw = cog_window;

CourseDisplay::CourseDisplay() {
    controls_.SetText(cw::fCogDisplay, kCaption);
    controls_.SetSize(cw::fCogDisplay, kClientWidth, kClientHeight);
    controls_.SetVisible(cw::fCogDisplay, false);
    bounds_.clientWidth = kClientWidth;
    bounds_.clientHeight = kClientHeight;
}

void CourseDisplay::Place(const Bounds& bounds) {
    bounds_ = bounds;
    controls_.SetPos(cw::fCogDisplay, bounds.left, bounds.top);
    controls_.SetSize(cw::fCogDisplay, bounds.clientWidth, bounds.clientHeight);
}

void CourseDisplay::Show() {
    controls_.SetVisible(cw::fCogDisplay, true);
    visible_ = true;
}

void CourseDisplay::Hide() {
    controls_.SetVisible(cw::fCogDisplay, false);
    visible_ = false;
}

void CourseDisplay::OnHide() {
    Hide();
}

void CourseDisplay::Moved(int left, int top) {
    bounds_.left = left;
    bounds_.top = top;
}

void CourseDisplay::Resized(int clientWidth, int clientHeight) {
    bounds_.clientWidth = clientWidth;
    bounds_.clientHeight = clientHeight;
}

void CourseDisplay::ShowCourse(int16_t courseTenths) {
    if (revision_ != 0 && courseTenths == course_) return;
    course_ = courseTenths;
    arrow_ = CourseArrow::For(courseTenths);
    ++revision_;
}

}  // namespace zelsim
