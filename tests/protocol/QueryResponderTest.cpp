#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "graph/RecordSampler.h"
#include "protocol/PanelRoute.h"
#include "protocol/QueryResponder.h"
#include "serial/SentenceFramer.h"

namespace zelsim {

namespace {

constexpr uint32_t kStart = 1000;
constexpr const char* kSet1Query = "$PKVTQ,DML,SET1";
constexpr const char* kSet2Query = "$PKVTQ,DML,SET2";
constexpr const char* kRequest = "$PKVTQ,DML,DID_REQUEST";
constexpr const char* kSet22 = "$PKVTR,DML,SET22,1,2,3,4,5,6,7,8,9,10,11,12";
constexpr const char* kSet12 = "$PKVTR,DML,SET12,2,150,100,200,3000,400,5000,6000,7000,45";

class RecordingPanel final : public PanelRoute {
  public:
    void HandleContrastSentence(SentenceFramer& s) override { Take("contrast", s); }
    void HandleControllerSentence(SentenceFramer& s) override { Take("bytes", s); }
    void HandleScreenSentence(SentenceFramer& s) override { Take("screen", s); }
    std::vector<std::string> calls;

  private:
    void Take(const char* route, SentenceFramer& s) {
        calls.push_back(std::string(route) + ":" + std::string(s.Field(1)));
    }
};

// The responder between a recorded line and a real graph, stepped by hand
// the way the main cycle does: settings tick, the sentences, discovery.
class QueryResponderTest : public ::testing::Test {
  protected:
    QueryResponderTest()
        : responder_(
              graph_, panel_,
              [this](std::string_view text) {
                  sent_.emplace_back(text);
                  sentAt_.push_back(now_);
              },
              [this](std::string_view line) { shown_.emplace_back(line); },
              [this] { return transferRunning_; }, "1.4.2", kStart) {}

    void Receive(std::string_view sentence) {
        ASSERT_EQ(framer_.ParseText(sentence), SentenceFramer::kSentenceReady) << sentence;
        responder_.HandleSentence(framer_, now_);
    }
    // One main cycle `ms` after the last, with `sentences` received in it.
    void Cycle(uint32_t ms, std::initializer_list<std::string_view> sentences = {}) {
        now_ += ms;
        responder_.SettingsTick(now_);
        for (std::string_view s : sentences) Receive(s);
        responder_.DiscoveryStep(now_);
    }
    // Cycles of 10 ms until `ms` have passed; what was sent meanwhile.
    std::vector<std::string> Run(uint32_t ms) {
        sent_.clear();
        sentAt_.clear();
        for (uint32_t t = 0; t < ms; t += 10) Cycle(10);
        return sent_;
    }
    size_t Count(const std::vector<std::string>& sent, const char* text) const {
        return static_cast<size_t>(std::count(sent.begin(), sent.end(), text));
    }

    RecordSampler graph_;
    RecordingPanel panel_;
    bool transferRunning_ = false;
    std::vector<std::string> sent_;
    std::vector<uint32_t> sentAt_;
    std::vector<std::string> shown_;
    QueryResponder responder_;
    SentenceFramer framer_;
    uint32_t now_ = kStart;
};

TEST_F(QueryResponderTest, AnswersOnlyItsOwnIdentityQuery) {
    Receive("$PKVTQ,DID");
    Receive("$PKVTQ,DID,X,Y");
    EXPECT_EQ(sent_, (std::vector<std::string>{"$PKVTR,DID,ZEL Simulator,v1.4.2",
                                               "$PKVTR,DID,ZEL Simulator,v1.4.2"}));
    sent_.clear();
    Receive("$PKVTQ,RID");
    Receive("$PKVTQ,DML,SET1");
    Receive("$PKVTQ,did");
    EXPECT_TRUE(sent_.empty()) << "queries for the other devices are not ours to answer";

    // Our own answer coming back (another program on the line) is nobody's.
    Receive("$PKVTR,DID,ZEL Simulator,v1.4.2");
    EXPECT_FALSE(graph_.Identities().Changed());
    EXPECT_FALSE(responder_.Discovery().Active());

    RecordSampler graph;
    QueryResponder unversioned(
        graph, panel_, [this](std::string_view t) { sent_.emplace_back(t); },
        [](std::string_view) {}, [] { return false; }, "", kStart);
    ASSERT_EQ(framer_.ParseText("$PKVTQ,DID"), SentenceFramer::kSentenceReady);
    unversioned.HandleSentence(framer_, now_);
    EXPECT_EQ(sent_.back(), "$PKVTR,DID,ZEL Simulator,v");
}

TEST_F(QueryResponderTest, ScreenSentencesGoToThePanel) {
    Receive("$PKVTS,TXT,0,HELLO");
    Receive("$PKVTC,+,1");
    Receive("$PKVTD,141,048");
    Receive("$PKVTSX,TXT,0,HELLO");  // addresses are compared whole
    EXPECT_EQ(panel_.calls, (std::vector<std::string>{"screen:TXT", "contrast:+", "bytes:141"}));
    EXPECT_TRUE(sent_.empty());
}

// The shortest sentence each route has always taken still reaches it: a
// minimum set one field too high would drop it without a trace.
TEST_F(QueryResponderTest, TheShortestSentenceOfEachRouteStillActs) {
    for (const char* s : {"$PKVTC,5", "$PKVTD,1FF", "$PKVTS,CLR"}) Receive(s);
    EXPECT_EQ(panel_.calls, (std::vector<std::string>{"contrast:5", "bytes:1FF", "screen:CLR"}));

    responder_.ArmBootloaderCapture();
    Receive("$PKVTR,DID");
    EXPECT_EQ(shown_, std::vector<std::string>{"dormalyn bootloader version is 1.2"});
    Receive("$PKVTR,RID");
    EXPECT_TRUE(responder_.ReceiverReply().received);
    graph_.Show();
    Receive("$PKVTR,DML,SET1");
    EXPECT_EQ(sent_, std::vector<std::string>{kSet2Query});
}

TEST_F(QueryResponderTest, SettingsFlowOnlyWhileTheGraphIsShownAndTheLineIsFree) {
    EXPECT_TRUE(Run(10000).empty()) << "hidden graph: no query";
    Receive(kSet12);
    EXPECT_EQ(graph_.Latest().whBas, 6000) << "replies are decoded all the same";
    EXPECT_TRUE(sent_.empty()) << "and do not ask for the second block";

    // The period keeps running while hidden: the first query after the
    // graph opens waits for the next 3000 ms mark.
    graph_.Show();
    Cycle(10);
    EXPECT_TRUE(sent_.empty());
    const std::vector<std::string> sent = Run(12100);
    ASSERT_EQ(Count(sent, kSet1Query), sent.size());
    ASSERT_GE(sent.size(), 4u);
    for (size_t i = 1; i < sentAt_.size(); ++i)
        EXPECT_EQ(sentAt_[i] - sentAt_[i - 1], 3010u) << "every cycle past 3000 ms";

    sent_.clear();
    Cycle(10, {kSet12});
    EXPECT_EQ(sent_, std::vector<std::string>{kSet2Query}) << "in the same cycle as the reply";

    transferRunning_ = true;
    EXPECT_TRUE(Run(9000).empty()) << "a running script or file send holds both queries back";
    Cycle(10, {"$PKVTR,DML,SET1,2,15,99,10,20,30,40,50,60,70,45"});
    EXPECT_TRUE(sent_.empty());
    EXPECT_EQ(graph_.Latest().spsOffset, 150);
    transferRunning_ = false;
    EXPECT_EQ(Count(Run(3100), kSet1Query), 1u);

    graph_.Hide();
    EXPECT_TRUE(Run(6000).empty());
}

TEST_F(QueryResponderTest, DiscoveryAsksUntilControllerLightbarAndReceiverHaveAnswered) {
    graph_.Show();
    Cycle(10, {kSet22});
    EXPECT_TRUE(responder_.Discovery().Active()) << "the first second-stage reply starts it";
    EXPECT_EQ(Count(sent_, kRequest), 0u);
    EXPECT_TRUE(graph_.SettingsArrived());

    Cycle(3000, {kSet22});
    EXPECT_EQ(Count(sent_, kRequest), 1u) << "the next one sends the request";
    sent_.clear();

    // All three answer: no more requests, however many replies follow.
    Cycle(10, {"$PKVTR,DID,Dormalyn SC2,3.04,x,y,300117", "$PKVTR,DID,Lightbar LB24,1.10,200017",
               "$PKVTR,RID,Corvane 6,2.1,a,b,777"});
    for (int period = 0; period < 5; ++period) Cycle(3000, {kSet22});
    EXPECT_EQ(Count(sent_, kRequest), 0u);
    EXPECT_STREQ(graph_.Identities().Live(DeviceSlot::kLightbar).serialNumber, "200017");
}

TEST_F(QueryResponderTest, DiscoveryStartsAgainAfterFiveSecondsWhileADeviceIsMissing) {
    graph_.Show();
    Cycle(10, {kSet22});                                              // attempt begins at 1010
    Cycle(10, {kSet22});                                              // request
    Cycle(10, {"$PKVTR,DID,QTN 5,2.0,900", "$PKVTR,RID,R,1,a,b,5"});  // no controller
    sent_.clear();
    Cycle(4000, {kSet22});  // under 5000 ms: nothing
    EXPECT_EQ(Count(sent_, kRequest), 0u);
    Cycle(1000, {kSet22});  // over 5000 ms: a new attempt, forgets who answered
    EXPECT_EQ(Count(sent_, kRequest), 0u);
    EXPECT_FALSE(responder_.Discovery().RequestSent());
    Cycle(3000, {kSet22});
    EXPECT_EQ(Count(sent_, kRequest), 1u) << "the trigger after that asks again";

    // Opening the graph again clears the settings flag: the next reply
    // starts yet another attempt rather than triggering this one.
    sent_.clear();
    graph_.Hide();
    graph_.Show();
    Cycle(10, {kSet22});
    EXPECT_FALSE(responder_.Discovery().RequestSent());
    EXPECT_EQ(Count(sent_, kRequest), 0u);
}

TEST_F(QueryResponderTest, BootloaderCaptureReportsOnceAndTheReplyIsStillRouted) {
    Receive("$PKVTR,DID,BOOT,x,v1.3a");
    EXPECT_TRUE(shown_.empty()) << "not armed: no report";

    responder_.ArmBootloaderCapture();
    Receive("$PKVTR,DID,BOOT,x,v1.3a");
    EXPECT_EQ(shown_, std::vector<std::string>{"dormalyn bootloader version is 1.3"});
    EXPECT_TRUE(responder_.BootloaderIs13());
    EXPECT_FALSE(responder_.BootloaderCaptureArmed());
    Receive("$PKVTR,DID,BOOT,x,v1.3a");
    EXPECT_EQ(shown_.size(), 1u) << "a second reply gives no line";

    responder_.ArmBootloaderCapture();
    Receive("$PKVTR,RID,BOOT,x,v1.3");  // not a DID reply: stays armed
    EXPECT_TRUE(responder_.BootloaderCaptureArmed());
    Receive("$PKVTR,DID,Dormalyn BL");  // short: version 1.2, and still the controller
    EXPECT_EQ(shown_.back(), "dormalyn bootloader version is 1.2");
    EXPECT_FALSE(responder_.BootloaderIs13());
    EXPECT_STREQ(graph_.Identities().Live(DeviceSlot::kController).name, "Dormalyn BL");
}

// The texts acquisition shows, and a short reply emptying the serial number,
// are the acquisition tests' through this responder.
TEST_F(QueryResponderTest, AReceiversNameIsCutToWhatItsPlaceHolds) {
    Receive("$PKVTR,RID,A NAME LONGER THAN NINETEEN,1.0");
    EXPECT_TRUE(responder_.ReceiverReply().received);
    EXPECT_EQ(responder_.ReceiverReply().name, "A NAME LONGER THAN ");
    EXPECT_STREQ(graph_.Identities().Live(DeviceSlot::kReceiver).version, "1.0");
}

}  // namespace
}  // namespace zelsim
