#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "base/UserDialogs.h"

namespace zelsim {

// Nobody is there to answer: every question is cancelled.
class SilentDialogs final : public UserDialogs {
  public:
    void Warn(std::string_view, std::string_view) override {}
    bool Ask(std::string_view, std::string_view) override { return false; }
    std::optional<std::string> AskFileToWrite(FileRequest&) override { return std::nullopt; }
    bool OpenInViewer(const std::string&) override { return false; }
};

}  // namespace zelsim
