#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "base/ControlTable.h"
#include "base/MainWindowControls.h"
#include "graph/RecordSampler.h"
#include "panel/PanelScreen.h"
#include "panel/ReceiverAcquisition.h"
#include "protocol/QueryResponder.h"
#include "serial/SentenceFramer.h"
#include "support/FakeTickClock.h"

namespace zelsim {

namespace {

namespace mw = main_window;
using State = ReceiverAcquisition::State;
using Sent = std::vector<std::string>;

constexpr uint32_t kCycleMs = 10;
constexpr const char* kLcdOn = "$PKVTS,LCD,ON";
constexpr const char* kRidQuery = "$PKVTQ,RID";
constexpr const char* kReply = "$PKVTR,RID,NAME,1.0,a,b,123";

struct StatusChange {
    uint32_t time;
    std::string text;
};

// The machine behind the real responder, stepped the way the main cycle
// does: the cycle's sentences first, then one step.
class AcquisitionRig {
  public:
    explicit AcquisitionRig(uint32_t start = 1000)
        : clock_(start),
          responder_(
              graph_, panel_, [this](std::string_view text) { sent_.emplace_back(text); },
              [](std::string_view) {}, [] { return false; }, "1.0", start),
          acquisition_(
              controls_, clock_, responder_.ReceiverReply(),
              [this](std::string_view text) { sent_.emplace_back(text); },
              [this](uint32_t rate) { rates_.push_back(rate); }, [this] { return lineBusy_; },
              [this] { ++clears_; }) {}

    // One main cycle with `sentences` received in it.
    void Cycle(std::initializer_list<std::string_view> sentences = {}) {
        clock_.Advance(kCycleMs);
        for (std::string_view s : sentences) {
            ASSERT_EQ(framer_.ParseText(s), SentenceFramer::kSentenceReady) << s;
            responder_.HandleSentence(framer_, clock_.TickNow());
        }
        acquisition_.Step(clock_.TickNow());
        if (Status() != lastStatus_) {
            lastStatus_ = Status();
            statusChanges_.push_back({clock_.TickNow(), lastStatus_});
        }
    }
    void Run(uint32_t ms) {
        for (uint32_t t = 0; t < ms; t += kCycleMs) Cycle();
    }
    // Cycles until the status shows `text`; false after a minute without.
    bool RunUntilStatus(std::string_view text) {
        for (int i = 0; i < 6000 && Status() != text; ++i) Cycle();
        return Status() == text;
    }

    void Click() { acquisition_.AcquireOrCancel(); }
    std::string Status() const { return controls_.Get(mw::lAcquireCorvaneStatus).text; }
    std::string Report() const { return controls_.Get(mw::lCorvaneConnectionReport).text; }
    std::string Caption() const { return controls_.Get(mw::bAcquireCorvane).text; }
    bool ButtonShown() const { return controls_.Get(mw::bAcquireCorvane).visible; }
    uint32_t Now() const { return clock_.TickNow(); }
    Sent Take() {
        Sent taken;
        taken.swap(sent_);
        return taken;
    }

    FakeTickClock clock_;
    ControlTable controls_;
    RecordSampler graph_;
    PanelScreen panel_{controls_};
    Sent sent_;
    std::vector<uint32_t> rates_;
    int clears_ = 0;
    bool lineBusy_ = false;
    QueryResponder responder_;
    SentenceFramer framer_;
    ReceiverAcquisition acquisition_;
    std::string lastStatus_;
    std::vector<StatusChange> statusChanges_;
};

// Each status appears more than its state's time after the one before, and
// at most two cycles late: one to notice the time, one for the entry.
void ExpectGap(const StatusChange& before, const StatusChange& after, uint32_t ms) {
    const uint32_t gap = after.time - before.time;
    EXPECT_GT(gap, ms) << before.text << " -> " << after.text;
    EXPECT_LE(gap, ms + 2 * kCycleMs) << before.text << " -> " << after.text;
}

// Also across the wrap of the tick count, which falls in the middle of the
// sequence when it starts just before it.
TEST(ReceiverAcquisitionTest, SequenceStepsThroughTheRatesAndGivesUpWithoutAReply) {
    for (uint32_t start : {1000u, 0xFFFFFFFFu - 1500u}) {
        SCOPED_TRACE(start);
        AcquisitionRig rig(start);
        rig.Cycle();
        rig.statusChanges_.clear();
        rig.clock_.Advance(3);  // between two cycles, as a user's click is
        rig.Click();
        EXPECT_EQ(rig.Caption(), "Cancel");
        EXPECT_EQ(rig.Status(), "") << "the status follows on the next cycle";
        rig.Cycle();
        EXPECT_EQ(rig.Status(), "1st req @9600");
        EXPECT_EQ(rig.rates_, (std::vector<uint32_t>{9600}));
        EXPECT_EQ(rig.Take(), (Sent{kLcdOn}));

        ASSERT_TRUE(rig.RunUntilStatus("Clear Display"));
        EXPECT_EQ(rig.clears_, 1);
        ASSERT_TRUE(rig.RunUntilStatus("unable to connect"));
        rig.Run(3000);

        const std::vector<std::pair<std::string, uint32_t>> expected = {
            {"1st req @9600", 200},    {"2nd req @9600", 300},  {"1st req @19200", 200},
            {"2nd req @19200", 300},   {"1st req @4800", 200},  {"2nd req @4800", 300},
            {"1st req @38400", 200},   {"2nd req @38400", 300}, {"Clear Display", 300},
            {"sending Home Key", 200}, {"sending No Key", 200}, {"waiting for RID", 1000},
            {"unable to connect", 0}};
        ASSERT_EQ(rig.statusChanges_.size(), expected.size());
        for (size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(rig.statusChanges_[i].text, expected[i].first);
            if (i > 0)
                ExpectGap(rig.statusChanges_[i - 1], rig.statusChanges_[i], expected[i - 1].second);
        }
        EXPECT_EQ(rig.rates_, (std::vector<uint32_t>{9600, 19200, 4800, 38400}));
        EXPECT_EQ(rig.Take(), (Sent{kLcdOn, kLcdOn, kLcdOn, kLcdOn, kLcdOn, kLcdOn, kLcdOn,
                                    "$PKVTK,6", "$PKVTK,0", kRidQuery}));
        EXPECT_EQ(rig.Caption(), "Acquire Corvane");
        EXPECT_TRUE(rig.ButtonShown());
        EXPECT_EQ(rig.Report(), " ");
    }
}

TEST(ReceiverAcquisitionTest, CancelAndResetGoBackToIdle) {
    AcquisitionRig rig;
    for (int stop = 1; stop <= 12; ++stop) {
        SCOPED_TRACE(stop);
        rig.Click();  // after a cancel the button starts afresh
        ASSERT_EQ(rig.Caption(), "Cancel");
        for (int i = 0; i < 1000 && static_cast<int>(rig.acquisition_.CurrentState()) != stop; ++i)
            rig.Cycle();
        rig.Run(50);
        rig.Take();
        rig.rates_.clear();

        rig.Click();
        EXPECT_EQ(rig.Caption(), "Acquire Corvane");
        EXPECT_EQ(rig.rates_, (std::vector<uint32_t>{38400}));
        rig.Cycle();
        EXPECT_EQ(rig.Status(), "");
        EXPECT_EQ(rig.Report(), " ");
        rig.Cycle({kReply});  // an answer that comes too late changes nothing
        rig.Run(4000);
        EXPECT_EQ(rig.acquisition_.CurrentState(), State::kIdle);
        EXPECT_TRUE(rig.Take().empty());
    }

    // The connect button ends the watch as well and leaves the rate alone.
    rig.Click();
    ASSERT_TRUE(rig.RunUntilStatus("waiting for RID"));
    rig.Cycle({kReply});
    rig.Run(100);
    ASSERT_EQ(rig.acquisition_.CurrentState(), State::kConnected);
    rig.Take();
    rig.rates_.clear();
    rig.acquisition_.Reset();
    rig.Run(5000);
    EXPECT_EQ(rig.acquisition_.CurrentState(), State::kIdle);
    EXPECT_EQ(rig.Status(), "");
    EXPECT_EQ(rig.Report(), " ");
    EXPECT_TRUE(rig.Take().empty());
    EXPECT_TRUE(rig.rates_.empty());
}

TEST(ReceiverAcquisitionTest, RepliesKeepTheConnectionUntilTheyStop) {
    AcquisitionRig rig;
    rig.Click();
    ASSERT_TRUE(rig.RunUntilStatus("waiting for RID"));
    rig.Run(300);
    rig.Cycle({kReply});
    rig.Cycle();
    EXPECT_EQ(rig.Status(), "connection OK");
    EXPECT_FALSE(rig.ButtonShown()) << "nothing to cancel while watching";
    EXPECT_EQ(rig.Caption(), "Acquire Corvane");
    rig.Cycle();
    EXPECT_EQ(rig.Report(), "NAME v1.0 #123");
    rig.Take();

    // A reply without its serial number still names the receiver.
    uint32_t lastReply = 0;
    for (int i = 0; i < 11; ++i) {
        rig.Run(890);
        rig.Cycle({i == 5 ? "$PKVTR,RID,NAME,1.0" : kReply});
        lastReply = rig.Now();
        if (i == 5) {
            rig.Cycle();
            EXPECT_EQ(rig.Report(), "NAME v1.0 #");
        }
    }
    EXPECT_EQ(rig.acquisition_.CurrentState(), State::kConnected);
    EXPECT_EQ(rig.Status(), "connection OK");
    const Sent queries = rig.Take();
    EXPECT_GE(queries.size(), 8u) << "asked about once a second";
    EXPECT_LE(queries.size(), 11u);
    for (const std::string& q : queries) EXPECT_EQ(q, kRidQuery);

    ASSERT_TRUE(rig.RunUntilStatus("connection lost"));
    const uint32_t silence = rig.Now() - lastReply;
    EXPECT_GT(silence, 1000u);
    EXPECT_LE(silence, 2000u + 2 * kCycleMs) << "one cycle late per watch period at most";
    EXPECT_TRUE(rig.ButtonShown());
    EXPECT_EQ(rig.Caption(), "Acquire Corvane");
    EXPECT_EQ(rig.Report(), "NAME v1.0 #123") << "the last receiver seen stays named";

    rig.Click();
    EXPECT_EQ(rig.Caption(), "Cancel");
    rig.Cycle();
    EXPECT_EQ(rig.Status(), "1st req @9600");
    EXPECT_EQ(rig.Report(), " ");
}

// While a script or a file has the line (a firmware update), acquisition
// neither starts nor steps the rate, and the watch neither asks nor judges.
TEST(ReceiverAcquisitionTest, GivesWayWhileAScriptOrAFileHasTheLine) {
    AcquisitionRig rig;
    rig.Click();
    ASSERT_TRUE(rig.RunUntilStatus("1st req @19200"));
    rig.lineBusy_ = true;
    rig.Take();
    const size_t rates = rig.rates_.size();
    rig.Run(3000);
    EXPECT_EQ(rig.acquisition_.CurrentState(), State::kIdle);
    EXPECT_EQ(rig.Status(), "stopped: busy");
    EXPECT_EQ(rig.Caption(), "Acquire Corvane");
    EXPECT_TRUE(rig.Take().empty());
    EXPECT_EQ(rig.rates_.size(), rates) << "the rate is the script's";
    EXPECT_FALSE(rig.controls_.Get(mw::bAcquireCorvane).enabled);
    rig.Click();
    rig.Run(100);
    EXPECT_EQ(rig.acquisition_.CurrentState(), State::kIdle) << "a click does nothing";

    rig.lineBusy_ = false;
    rig.Cycle();
    EXPECT_TRUE(rig.controls_.Get(mw::bAcquireCorvane).enabled);
    rig.Click();
    ASSERT_TRUE(rig.RunUntilStatus("waiting for RID"));
    rig.Cycle({kReply});
    ASSERT_TRUE(rig.RunUntilStatus("connection OK"));
    rig.Take();
    rig.lineBusy_ = true;
    rig.Run(5000);
    EXPECT_TRUE(rig.Take().empty()) << "no RID into a bootloader";
    EXPECT_EQ(rig.Status(), "connection OK") << "silence while busy is no loss";
    rig.lineBusy_ = false;
    rig.Run(1500);
    EXPECT_EQ(rig.Take(), Sent{kRidQuery}) << "the watch goes on";
}

TEST(ReceiverAcquisitionTest, OnlyAReplyToTheQuestionCounts) {
    AcquisitionRig rig;
    rig.Cycle({kReply});  // idle: remembered by the responder
    rig.Click();
    ASSERT_TRUE(rig.RunUntilStatus("sending No Key"));
    rig.Cycle({kReply});  // before the question: too early as well
    ASSERT_TRUE(rig.RunUntilStatus("waiting for RID"));
    ASSERT_TRUE(rig.RunUntilStatus("unable to connect"));
    EXPECT_EQ(rig.Report(), " ");
}

TEST(ReceiverAcquisitionTest, ButtonIsOfferedOnlyForCorvaneOnAnOpenPortAt38400) {
    AcquisitionRig rig;
    const auto shown = [&rig](std::string_view name) { return rig.controls_.Get(name).visible; };
    rig.controls_.SetText(mw::lAcquireCorvaneStatus, "stale");
    rig.Cycle();
    EXPECT_EQ(rig.Status(), "") << "the first cycle clears both labels";
    EXPECT_EQ(rig.Report(), " ");
    EXPECT_EQ(rig.Caption(), "Acquire Corvane");

    rig.acquisition_.RefreshVisibility(true, 38400, ZelType::Corvane);
    EXPECT_TRUE(shown(mw::bAcquireCorvane));
    EXPECT_TRUE(shown(mw::lAcquireCorvaneStatus));
    EXPECT_TRUE(shown(mw::lCorvaneConnectionReport));

    const std::vector<std::pair<bool, uint32_t>> elsewhere = {
        {true, 9600}, {false, 38400}, {true, 115200}};
    for (auto [open, rate] : elsewhere) {
        rig.acquisition_.RefreshVisibility(open, rate, ZelType::Corvane);
        EXPECT_FALSE(shown(mw::bAcquireCorvane)) << open << " " << rate;
        EXPECT_FALSE(shown(mw::lAcquireCorvaneStatus));
        EXPECT_TRUE(shown(mw::lCorvaneConnectionReport));
    }
    for (ZelType type : {ZelType::Off, ZelType::Dormalyn}) {
        rig.acquisition_.RefreshVisibility(true, 38400, type);
        EXPECT_FALSE(shown(mw::bAcquireCorvane));
        EXPECT_FALSE(shown(mw::lAcquireCorvaneStatus));
        EXPECT_FALSE(shown(mw::lCorvaneConnectionReport));
    }

    // Offered again, it starts afresh: a click begins a new sequence.
    rig.Click();
    ASSERT_TRUE(rig.RunUntilStatus("2nd req @9600"));
    rig.acquisition_.RefreshVisibility(true, 38400, ZelType::Corvane);
    EXPECT_EQ(rig.Caption(), "Acquire Corvane");
    EXPECT_EQ(rig.Status(), "");
    rig.Click();
    rig.Cycle();
    EXPECT_EQ(rig.Status(), "1st req @9600");
}

}  // namespace

}  // namespace zelsim
