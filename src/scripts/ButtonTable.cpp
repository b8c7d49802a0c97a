#include "scripts/ButtonTable.h"

#include "base/ConfigFile.h"

namespace zelsim {

namespace {
std::string Cut(std::string line) {
    if (line.size() > ButtonTable::kMaxLineLength) line.resize(ButtonTable::kMaxLineLength);
    return line;
}
}  // namespace

ButtonTable::ButtonTable() {
    for (int i = 0; i < kButtonCount; ++i)
        buttons_[static_cast<size_t>(i)].caption = DefaultCaption(i);
}

std::string ButtonTable::DefaultCaption(int index) {
    return "Button " + std::to_string(index + 1);
}

std::string ButtonTable::CaptionKey(int index) {
    return "Button" + std::to_string(index + 1) + "Caption";
}

std::string ButtonTable::LineKey(int index, int line) {
    return "Button" + std::to_string(index + 1) + "Line" + std::to_string(line);
}

void ButtonTable::Define(int index, std::string caption,
                         const std::vector<std::string>& memoLines) {
    ButtonDefinition& button = At(index);
    button.caption = std::move(caption);
    button.script.clear();
    for (const std::string& line : memoLines)
        if (!line.empty()) button.script.push_back(Cut(line));
}

void ButtonTable::Load(ConfigFile& file) {
    const ConfigFile::SectionScope section(file, kSection);
    for (int i = 0; i < kButtonCount; ++i) {
        ButtonDefinition& button = buttons_[static_cast<size_t>(i)];
        button.caption = file.ReadText(CaptionKey(i), DefaultCaption(i));
        button.script.clear();
        for (int line = 1; line <= kLinesRead; ++line) {
            std::string text = Cut(file.ReadText(LineKey(i, line), ""));
            if (!text.empty()) button.script.push_back(std::move(text));
        }
    }
}

void ButtonTable::Save(ConfigFile& file) const {
    const ConfigFile::SectionScope section(file, kSection);
    for (int i = 0; i < kButtonCount; ++i) {
        const ButtonDefinition& button = buttons_[static_cast<size_t>(i)];
        file.WriteText(CaptionKey(i), button.caption);
        // Lines stay where they stand; only numbers the script no longer
        // reaches go, up to the last one ever read.
        const int count = static_cast<int>(button.script.size());
        for (int line = 1; line <= count; ++line)
            file.WriteText(LineKey(i, line), button.script[static_cast<size_t>(line - 1)]);
        for (int line = count + 1; line <= kLinesRead; ++line) file.DeleteKey(LineKey(i, line));
    }
}

}  // namespace zelsim
