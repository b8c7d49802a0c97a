#pragma once
#include <cstdint>
#include <functional>
#include <string_view>

#include "base/ZelType.h"
#include "serial/CyclePart.h"

namespace zelsim {

class ControlTable;
class TickClock;
struct ReceiverIdentityReply;

// Finds a Corvane receiver whatever rate it is set to and then watches the
// connection: asks for the LCD twice at 9600, 19200, 4800 and 38400 baud,
// clears the simulated screen, sends Home and then no key, asks for the
// receiver's identity and keeps asking once a second. It steps after the
// responder in the cycle, so that a reply handled in a cycle is seen in the
// same cycle. The acquisition controls of the auxiliary panel are its own.
class ReceiverAcquisition : public CyclePart {
  public:
    enum class State : uint8_t {
        kIdle = 0,
        kFirstRequest9600 = 1,
        kSecondRequest9600 = 2,
        kFirstRequest19200 = 3,
        kSecondRequest19200 = 4,
        kFirstRequest4800 = 5,
        kSecondRequest4800 = 6,
        kFirstRequest38400 = 7,
        kSecondRequest38400 = 8,
        kClearDisplay = 9,
        kHomeKey = 10,
        kNoKey = 11,
        kWaitingForIdentity = 12,
        kUnableToConnect = 13,
        kConnected = 14,
        kConnectionLost = 15,
    };

    // The rate the sequence ends at and where the receiver is talked to.
    static constexpr uint32_t kWorkingRate = 38400;
    static constexpr uint32_t kIdentityWaitMs = 1000;
    static constexpr uint32_t kWatchPeriodMs = 1000;
    static constexpr std::string_view kAcquireCaption = "Acquire Corvane";
    static constexpr std::string_view kCancelCaption = "Cancel";

    static constexpr std::string_view kLineBusyStatus = "stopped: busy";

    using Send = std::function<void(std::string_view)>;
    using SetRate = std::function<void(uint32_t)>;
    using LineBusy = std::function<bool()>;
    using ClearScreen = std::function<void()>;

    // `reply` is the responder's record of the receiver's identity replies;
    // `send` is the main cycle's SendSentence; `setRate` re-configures an open
    // port at once and makes a closed one remember the rate; `lineBusy`
    // says whether a script or a file transfer has the line; `clearScreen`
    // wipes the simulated panel screen before the receiver is asked to draw
    // it again. All outlive the machine.
    ReceiverAcquisition(ControlTable& controls, TickClock& clock, ReceiverIdentityReply& reply,
                        Send send, SetRate setRate, LineBusy lineBusy, ClearScreen clearScreen);

    void AfterRead(uint32_t now) override { Step(now); }
    // Every cycle while the sequence runs; once a watch period while
    // connected; nothing while it rests.
    uint32_t NextStepIn(uint32_t now) const override;

    // Once per main cycle: the entry actions of a state just set, otherwise
    // its checks.
    void Step(uint32_t now);
    // bClickAcquireCorvane: starts the sequence, or cancels it while the
    // button says "Cancel". While a script or a file has the line the button
    // is disabled and a click does nothing: stepping the rate under a
    // firmware update would spoil it.
    void AcquireOrCancel();
    // Back to idle; the connect button does this whether it opens or closes.
    void Reset();

    // The window refresh: the controls for the unit shown, and the button
    // offered afresh only where the sequence can end, an open port at
    // 38400 baud.
    void RefreshVisibility(bool portOpen, uint32_t rate, ZelType type);

    State CurrentState() const { return state_; }

  private:
    void SetState(State state, uint32_t now);
    void Enter();
    void Check(uint32_t now);
    void Watch(uint32_t now);
    // The line is someone else's: a sequence stops where it is, and the
    // watch asks nothing and judges nothing until the line is free.
    bool GiveWayToTheLine(uint32_t now);
    void ShowStatus(std::string_view status);
    void ShowReport(std::string_view report);
    void ShowButton(std::string_view caption, bool visible);

    ControlTable& controls_;
    TickClock& clock_;
    ReceiverIdentityReply& reply_;
    const Send send_;
    const SetRate setRate_;
    const LineBusy lineBusy_;
    const ClearScreen clearScreen_;
    State state_ = State::kIdle;
    bool entryPending_ = true;  // the first cycle clears both labels
    uint32_t stateStart_ = 0;   // in the connected state: the watch period's start
    bool identitySeenThisPeriod_ = false;
};

}  // namespace zelsim
