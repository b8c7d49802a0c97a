#include "base/DialogPlace.h"

#include "base/ConfigFile.h"

namespace zelsim {

namespace {
std::string Key(std::string_view prefix, std::string_view side) {
    return std::string(prefix) + std::string(side);
}
}  // namespace

void DialogPlace::Read(const ConfigFile& file, std::string_view prefix) {
    left = file.ReadInt(Key(prefix, "Left"), left);
    top = file.ReadInt(Key(prefix, "Top"), top);
    width = file.ReadInt(Key(prefix, "Width"), width);
    height = file.ReadInt(Key(prefix, "Height"), height);
}

void DialogPlace::Write(ConfigFile& file, std::string_view prefix) const {
    file.WriteInt(Key(prefix, "Left"), left);
    file.WriteInt(Key(prefix, "Top"), top);
    file.WriteInt(Key(prefix, "Width"), width);
    file.WriteInt(Key(prefix, "Height"), height);
}

}  // namespace zelsim
