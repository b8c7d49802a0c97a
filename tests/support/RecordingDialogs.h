#pragma once
#include <string>
#include <vector>

#include "base/UserDialogs.h"

namespace zelsim {

// Answers core's questions in tests and keeps what it was told.
class RecordingDialogs : public UserDialogs {
  public:
    void Warn(std::string_view caption, std::string_view text) override {
        warnings.push_back(std::string(caption) + ": " + std::string(text));
    }

    std::vector<std::string> warnings;
};

}  // namespace zelsim
