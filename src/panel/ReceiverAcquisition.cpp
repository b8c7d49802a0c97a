#include "panel/ReceiverAcquisition.h"

#include <string>
#include <utility>

#include "base/ControlTable.h"
#include "base/MainWindowControls.h"
#include "base/ProprietarySentences.h"
#include "base/TickClock.h"
#include "panel/PanelKeys.h"
#include "protocol/ReceiverIdentityReply.h"

namespace zelsim {

namespace {

using State = ReceiverAcquisition::State;

constexpr std::string_view kNoReport = " ";

// The LCD requests, two at each rate; a rate of 0 keeps the rate the first
// request of the pair set. The receiver is not expected to answer them in
// a way the machine waits for: what it draws is handled as it arrives.
struct LcdRequest {
    std::string_view status;
    uint32_t rate;
    uint32_t nextAfterMs;
};
constexpr LcdRequest kLcdRequests[] = {
    {"1st req @9600", 9600, 200},   {"2nd req @9600", 0, 300},    {"1st req @19200", 19200, 200},
    {"2nd req @19200", 0, 300},     {"1st req @4800", 4800, 200}, {"2nd req @4800", 0, 300},
    {"1st req @38400", 38400, 200}, {"2nd req @38400", 0, 300},
};

constexpr uint32_t kClearDisplayMs = 300;
constexpr uint32_t kKeyHoldMs = 200;

bool IsLcdRequest(State state) {
    return state >= State::kFirstRequest9600 && state <= State::kSecondRequest38400;
}
const LcdRequest& RequestOf(State state) {
    return kLcdRequests[static_cast<int>(state) - static_cast<int>(State::kFirstRequest9600)];
}
State Next(State state) {
    return static_cast<State>(static_cast<int>(state) + 1);
}

}  // namespace

ReceiverAcquisition::ReceiverAcquisition(ControlTable& controls, TickClock& clock,
                                         ReceiverIdentityReply& reply, Send send, SetRate setRate,
                                         LineBusy lineBusy, ClearScreen clearScreen)
    : controls_(controls),
      clock_(clock),
      reply_(reply),
      send_(std::move(send)),
      setRate_(std::move(setRate)),
      lineBusy_(std::move(lineBusy)),
      clearScreen_(std::move(clearScreen)),
      stateStart_(clock.TickNow()) {
    controls_.SetText(main_window::bAcquireCorvane, kAcquireCaption);
}

void ReceiverAcquisition::SetState(State state, uint32_t now) {
    state_ = state;
    entryPending_ = true;
    stateStart_ = now;
}

void ReceiverAcquisition::Reset() {
    SetState(State::kIdle, clock_.TickNow());
}

void ReceiverAcquisition::AcquireOrCancel() {
    if (lineBusy_()) return;
    const uint32_t now = clock_.TickNow();
    if (controls_.Get(main_window::bAcquireCorvane).text == kCancelCaption) {
        controls_.SetText(main_window::bAcquireCorvane, kAcquireCaption);
        // Wherever the sequence stopped, the port goes back to the rate the
        // receiver is talked to at.
        setRate_(kWorkingRate);
        SetState(State::kIdle, now);
    } else {
        controls_.SetText(main_window::bAcquireCorvane, kCancelCaption);
        SetState(State::kFirstRequest9600, now);
    }
}

void ReceiverAcquisition::Step(uint32_t now) {
    if (GiveWayToTheLine(now)) return;
    if (entryPending_) {
        entryPending_ = false;
        Enter();
    } else {
        Check(now);
    }
}

void ReceiverAcquisition::Enter() {
    if (IsLcdRequest(state_)) {
        const LcdRequest& request = RequestOf(state_);
        ShowReport(kNoReport);
        ShowStatus(request.status);
        if (request.rate != 0) setRate_(request.rate);
        send_(proprietary::kLcdOnRequest);
        return;
    }
    switch (state_) {
        case State::kIdle:
            ShowReport(kNoReport);
            ShowStatus("");
            break;
        case State::kClearDisplay:
            ShowReport(kNoReport);
            ShowStatus("Clear Display");
            // Whatever was drawn before goes: from here on the screen is the
            // receiver's answer to the keys that follow.
            clearScreen_();
            break;
        case State::kHomeKey:
            // Straight to the line: the keys the user holds stay as they are.
            send_(PanelKeys::KeySentence(PanelKeys::kUpAndDown));
            ShowStatus("sending Home Key");
            break;
        case State::kNoKey:
            send_(PanelKeys::KeySentence(0));
            ShowStatus("sending No Key");
            break;
        case State::kWaitingForIdentity:
            // A reply from before this question says nothing about the
            // receiver at this rate.
            reply_.received = false;
            send_(proprietary::kReceiverIdQuery);
            ShowStatus("waiting for RID");
            break;
        case State::kUnableToConnect:
            ShowStatus("unable to connect");
            ShowButton(kAcquireCaption, true);
            break;
        case State::kConnected:
            ShowStatus("connection OK");
            // Nothing to cancel while the watch runs.
            ShowButton(kAcquireCaption, false);
            break;
        case State::kConnectionLost:
            ShowStatus("connection lost");
            ShowButton(kAcquireCaption, true);
            break;
        default:
            break;
    }
}

void ReceiverAcquisition::Check(uint32_t now) {
    if (IsLcdRequest(state_)) {
        if (TickClock::Elapsed(now, stateStart_, RequestOf(state_).nextAfterMs))
            SetState(Next(state_), now);
        return;
    }
    switch (state_) {
        case State::kClearDisplay:
            if (TickClock::Elapsed(now, stateStart_, kClearDisplayMs)) SetState(Next(state_), now);
            break;
        case State::kHomeKey:
        case State::kNoKey:
            if (TickClock::Elapsed(now, stateStart_, kKeyHoldMs)) SetState(Next(state_), now);
            break;
        case State::kWaitingForIdentity:
            if (reply_.received)
                SetState(State::kConnected, now);
            else if (TickClock::Elapsed(now, stateStart_, kIdentityWaitMs))
                SetState(State::kUnableToConnect, now);
            break;
        case State::kConnected:
            Watch(now);
            break;
        default:
            break;  // idle and the two resting states wait for the button
    }
}

uint32_t ReceiverAcquisition::NextStepIn(uint32_t now) const {
    if (entryPending_ || reply_.received) return 0;
    switch (state_) {
        case State::kIdle:
        case State::kUnableToConnect:
        case State::kConnectionLost:
            return kNoStep;
        case State::kConnected:
            return TickClock::Remaining(now, stateStart_, kWatchPeriodMs);
        default:
            return 0;
    }
}

bool ReceiverAcquisition::GiveWayToTheLine(uint32_t now) {
    const bool busy = lineBusy_();
    controls_.SetEnabled(main_window::bAcquireCorvane, !busy);
    if (!busy) return false;
    if (IsLcdRequest(state_) ||
        (state_ >= State::kClearDisplay && state_ <= State::kWaitingForIdentity)) {
        // The script or the transfer owns the rate now: it is left alone.
        SetState(State::kIdle, now);
        entryPending_ = false;
        ShowReport(kNoReport);
        ShowStatus(kLineBusyStatus);
        ShowButton(kAcquireCaption, controls_.Get(main_window::bAcquireCorvane).visible);
    } else if (state_ == State::kConnected) {
        // A new watch period starts when the line is free again, counted as
        // answered: the receiver could not be asked meanwhile.
        stateStart_ = now;
        identitySeenThisPeriod_ = true;
        if (reply_.received) {
            reply_.received = false;
            ShowReport(reply_.name + " v" + reply_.version + " #" + reply_.serialNumber);
        }
    }
    return true;
}

// The reply that led here is taken on the first cycle, so the first period
// always counts as answered; after that a whole period without a reply
// means the receiver is gone.
void ReceiverAcquisition::Watch(uint32_t now) {
    if (reply_.received) {
        reply_.received = false;
        identitySeenThisPeriod_ = true;
        ShowReport(reply_.name + " v" + reply_.version + " #" + reply_.serialNumber);
        return;
    }
    if (!TickClock::Elapsed(now, stateStart_, kWatchPeriodMs)) return;
    stateStart_ = now;
    if (identitySeenThisPeriod_) {
        identitySeenThisPeriod_ = false;
        send_(proprietary::kReceiverIdQuery);
    } else {
        SetState(State::kConnectionLost, now);
    }
}

void ReceiverAcquisition::RefreshVisibility(bool portOpen, uint32_t rate, ZelType type) {
    const bool corvane = type == ZelType::Corvane;
    // Offered only where the sequence ends, and then afresh.
    const bool offered = corvane && portOpen && rate == kWorkingRate;
    controls_.SetVisible(main_window::lCorvaneConnectionReport, corvane);
    controls_.SetVisible(main_window::lAcquireCorvaneStatus, offered);
    controls_.SetVisible(main_window::bAcquireCorvane, offered);
    if (offered) {
        controls_.SetText(main_window::bAcquireCorvane, kAcquireCaption);
        ShowStatus("");
    }
}

void ReceiverAcquisition::ShowStatus(std::string_view status) {
    controls_.SetText(main_window::lAcquireCorvaneStatus, status);
}

void ReceiverAcquisition::ShowReport(std::string_view report) {
    controls_.SetText(main_window::lCorvaneConnectionReport, report);
}

void ReceiverAcquisition::ShowButton(std::string_view caption, bool visible) {
    controls_.SetText(main_window::bAcquireCorvane, caption);
    controls_.SetVisible(main_window::bAcquireCorvane, visible);
}

}  // namespace zelsim
