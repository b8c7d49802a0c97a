#pragma once
#include <string_view>

namespace zelsim {

// What core tells or asks the user through a window: the windows answer with
// message boxes and dialogs, tests from a script.
class UserDialogs {
  public:
    virtual ~UserDialogs() = default;

    // A message box with its caption, the text and an OK button.
    virtual void Warn(std::string_view caption, std::string_view text) = 0;
};

}  // namespace zelsim
