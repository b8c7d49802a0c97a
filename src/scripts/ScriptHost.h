#pragma once
#include <cstdint>
#include <string_view>

namespace zelsim {

// What a running script reaches beyond its buttons and its files: the line
// it writes to, the line's rate and RTS, and the capture of the
// bootloader's version that the responder makes for it.
class ScriptHost {
  public:
    virtual ~ScriptHost() = default;

    // SendLine: a trailing "~" sends the line without its end. False when
    // the port was closed.
    virtual bool SendLine(std::string_view text) = 0;
    // A rate of the port's table, chosen as in the baud menu: checked, set
    // on an open port, the caption refreshed.
    virtual void SelectBaud(uint32_t rate) = 0;
    // Raises or drops RTS of an open port.
    virtual void SetRts(bool raised) = 0;
    // Arming also forgets the last answer; the answer is "1.3" or not.
    virtual void ArmBootloaderCapture() = 0;
    virtual void DisarmBootloaderCapture() = 0;
    virtual bool BootloaderIs13() const = 0;
};

}  // namespace zelsim
