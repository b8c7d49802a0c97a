#pragma once
#include <string>
#include <vector>

namespace zelsim {

// One user button: its caption and its script, none of whose lines is empty.
struct ButtonDefinition {
    std::string caption;
    std::vector<std::string> script;

    bool operator==(const ButtonDefinition&) const = default;
};

}  // namespace zelsim
