#include "gps/ToolWindow.h"

#include <string>

#include "base/ConfigFile.h"

namespace zelsim {

ToolWindow::ToolWindow(std::string_view name, std::string_view keyStem, std::string_view caption,
                       int clientWidth, int clientHeight)
    : name_(name), keyStem_(keyStem) {
    controls_.SetText(name_, caption);
    controls_.SetSize(name_, clientWidth, clientHeight);
    controls_.SetVisible(name_, false);
}

void ToolWindow::Open() {
    controls_.SetPos(name_, left_, top_);
    controls_.SetVisible(name_, true);
    visible_ = true;
}

void ToolWindow::Close() {
    controls_.SetVisible(name_, false);
    visible_ = false;
}

void ToolWindow::OnHide() {
    visible_ = false;
    controls_.SetVisible(name_, false);
}

void ToolWindow::Moved(int left, int top) {
    left_ = left;
    top_ = top;
}

void ToolWindow::LoadSettings(ConfigFile& file) {
    const ConfigFile::SectionScope configuration(file, ConfigFile::kConfigurationSection);
    const std::string stem(keyStem_);
    left_ = file.ReadInt(stem + "Left", left_);
    top_ = file.ReadInt(stem + "Top", top_);
}

void ToolWindow::SaveSettings(ConfigFile& file) const {
    const ConfigFile::SectionScope configuration(file, ConfigFile::kConfigurationSection);
    const std::string stem(keyStem_);
    file.WriteInt(stem + "Left", left_);
    file.WriteInt(stem + "Top", top_);
}

}  // namespace zelsim
