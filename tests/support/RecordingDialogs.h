#pragma once
#include <optional>
#include <string>
#include <vector>

#include "base/UserDialogs.h"

namespace zelsim {

// Answers core's questions in tests from a script and keeps what it was
// told and asked.
class RecordingDialogs : public UserDialogs {
  public:
    void Warn(std::string_view caption, std::string_view text) override {
        warnings.push_back(std::string(caption) + ": " + std::string(text));
    }
    bool Ask(std::string_view caption, std::string_view text) override {
        questions.push_back(std::string(caption) + ": " + std::string(text));
        return answer;
    }
    std::optional<std::string> AskFileToWrite(FileRequest& request) override {
        fileRequests.push_back(request);
        if (fileChoice) request.place.left += movedBy;
        return fileChoice;
    }
    std::optional<std::string> AskFileToOpen(FileRequest& request) override {
        openRequests.push_back(request);
        if (openChoice) request.place.left += movedBy;
        return openChoice;
    }
    bool Confirm(std::string_view caption, std::string_view text) override {
        confirmations.push_back(std::string(caption) + ": " + std::string(text));
        return confirmed;
    }
    bool OpenInViewer(const std::string& path) override {
        viewed.push_back(path);
        return viewerStarts;
    }

    std::vector<std::string> warnings;
    std::vector<std::string> questions;
    std::vector<FileRequest> fileRequests;
    std::vector<std::string> viewed;
    std::vector<FileRequest> openRequests;
    std::vector<std::string> confirmations;
    bool answer = true;
    bool confirmed = true;                  // OK, not Cancel
    std::optional<std::string> openChoice;  // nothing: the user cancels
    std::optional<std::string> fileChoice;  // nothing: the user cancels
    int movedBy = 0;                        // the user moves the dialog
    bool viewerStarts = true;
};

}  // namespace zelsim
