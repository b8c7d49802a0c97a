#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/DialogPlace.h"

namespace zelsim {

// What core tells or asks the user through a window: the windows answer with
// message boxes and dialogs, tests from a script.
class UserDialogs {
  public:
    // A file dialog: where it starts and stands, and what it offers.
    struct FileRequest {
        std::string caption;
        std::string folder;                // where it starts
        std::string fileName;              // the name it offers
        std::vector<std::string> filters;  // "Log Files (*.log)"
        int filterIndex = 1;               // 1 for the first filter
        // Where the dialog opens; where it was when it closed, after.
        DialogPlace place;
    };

    virtual ~UserDialogs() = default;

    // A message box with its caption, the text and an OK button.
    virtual void Warn(std::string_view caption, std::string_view text) = 0;
    // A message box with Yes and No; true for Yes.
    virtual bool Ask(std::string_view caption, std::string_view text) = 0;
    // A file to write, new or existing; nothing when the user cancelled.
    virtual std::optional<std::string> AskFileToWrite(FileRequest& request) = 0;
    // An existing file to read; nothing when the user cancelled. A window
    // that offers no such dialog answers as cancelled.
    virtual std::optional<std::string> AskFileToOpen(FileRequest& /*request*/) {
        return std::nullopt;
    }
    // A message box with OK and Cancel; true for OK. Without a box of its
    // own a window asks Yes or No.
    virtual bool Confirm(std::string_view caption, std::string_view text) {
        return Ask(caption, text);
    }
    // Opens the file with the desktop's viewer for it; false when none started.
    virtual bool OpenInViewer(const std::string& path) = 0;
};

}  // namespace zelsim
