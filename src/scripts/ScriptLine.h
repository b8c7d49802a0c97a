#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace zelsim {

// One line of a button script as the interpreter takes it: a plain line to
// send, or a "~" command. The commands are tried in a fixed order and each
// tests a prefix only, so "~msg" is a label and never a message box, every
// "~d..." is a delay, and text after a complete keyword is ignored.
struct ScriptLine {
    static constexpr char kCommand = '~';
    static constexpr size_t kWaitTextLimit = 49;

    enum class Kind : uint8_t {
        kSend,          // not a command: the whole line goes out
        kDelay,         // ~d<number>
        kWaitForTime,   // ~waitfortime <ms> <text>
        kWaitFor,       // ~waitfor <text>
        kGetDmBlVer,    // ask the controller's bootloader its version
        kSetDmBlBaud,   // the bootloader's rate for that version
        kSendHexFile,   // a firmware file chosen in a dialog
        kMessageLabel,  // ~msg<text>
        kNewLine,       // ~nl
        kComment,       // "~ " and anything
        kBaud,          // ~b<rate>
        kSendFile,      // ~f<name>
        kTestFile,      // ~t<name>
        kJump,          // ~j<signed lines>
        kMessage,       // ~m<text>
        kEnd,           // ~e
        kRtsOn,
        kRtsOff,
        kIgnored,  // any other line beginning with "~"
    };

    Kind kind = Kind::kIgnored;
    // Delay, time-out, rate or jump.
    int32_t number = 0;
    // The line to send, the wait text (cut to 49), the label or message, or
    // the file name exactly as written. A view into the parsed line.
    std::string_view text;

    static ScriptLine Parse(std::string_view line);
};

}  // namespace zelsim
