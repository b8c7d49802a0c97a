#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "serial/CyclePart.h"

namespace zelsim {

class ControlTable;

// The manual send box under the monitor (cbSendData and its buttons): the
// typed text, the history of the last 20 different lines sent, the checksum
// button and the filtering of typed characters. The window mirrors the
// box's control entry and forwards its events here. Keys: the section
// "MessageDropDownLines" and "MessageMonitorUpperCase".
class SendBox : public CyclePart {
  public:
    static constexpr size_t kHistoryLimit = 20;
    static constexpr const char* kHint = "press Tab for Arrow Keys to control ZEL";

    static constexpr char kEnter = 13;
    static constexpr char kEscape = 27;
    static constexpr char kCtrlX = 24;
    static constexpr char kCtrlC = 3;
    static constexpr char kCtrlV = 22;
    static constexpr char kBackspace = 8;

    // `send` is the main cycle's SendSentence.
    SendBox(ControlTable& controls, std::function<void(const std::string&)> send);

    // Send was pressed, before the text goes out: a paused monitor resumes
    // so that the line shows.
    std::function<void()> onSendPressed;
    // Called with false while the box has the focus (the arrow keys edit the
    // text) and true when it leaves (they drive the panel keys again).
    std::function<void(bool keyboardToPanel)> onKeyboardToPanel;
    // Esc while a button script runs: asks it to stop and returns true; false
    // when no script runs.
    std::function<bool()> onEscapeToScript;
    // Right click in the box (the receive/transmit indicator is reset).
    std::function<void()> onContextMenu;

    void LoadSettings(ConfigFile& file) override;
    void SaveSettings(ConfigFile& file) const override;

    const std::string& Text() const { return text_; }
    // The user edited the text.
    void SetText(std::string text);

    // Most recent first.
    const std::vector<std::string>& History() const { return history_; }

    // mMsgMonUpperCaseClick: typed letters become capitals.
    void SetUpperCase(bool on);
    bool UpperCase() const { return upperCase_; }

    // bClickSendData, also Enter in the box.
    void Send();
    // bClickAddCkSum
    void AddChecksum();
    // cbKeyPressHandler: the character to hand to the edit field, or nothing
    // when the character is dropped (Enter and Esc act here instead).
    std::optional<char> KeyPress(char c);

    // cbSendDataOnEnter / cbSendDataOnExit
    void FocusIn();
    void FocusOut();
    bool HintShown() const { return hintShown_; }
    // cbContextPopUp
    void ContextMenu();

  private:
    // Empty lines and lines already held (ignoring case) are skipped.
    void AddToHistory(const std::string& line);
    void RememberSent(const std::string& text);
    void ShowHistory();
    // `selected`: the whole text, so that Enter sends it again and typing
    // replaces it.
    void ShowText(bool selected);

    ControlTable& controls_;
    std::function<void(const std::string&)> send_;
    std::string text_;
    std::vector<std::string> history_;
    bool hintShown_ = false;
    bool upperCase_ = true;
};

}  // namespace zelsim
