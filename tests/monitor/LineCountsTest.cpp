#include <gtest/gtest.h>

#include "base/ControlTable.h"
#include "base/MainWindowControls.h"
#include "monitor/LineCounts.h"
#include "serial/SentenceFramer.h"

namespace zelsim {
namespace {

TEST(LineCountsTest, LinesSentencesAndChecksumFailuresAreSaidOnceASecondWithTheRate) {
    ControlTable controls;
    LineCounts counts(controls);
    const auto shown = [&] { return controls.Get(main_window::lLineCounts).text; };
    EXPECT_EQ(shown(), "Received 0 lines, 0 sentences, 0 checksum errors; 0 lines/s");
    SentenceFramer framer;
    counts.AfterRead(5000);
    for (int i = 0; i < 30; ++i) {
        ASSERT_EQ(framer.ParseText("$GPGGA,1"), SentenceFramer::kSentenceReady);
        counts.SentenceFramed(framer, 5000);
    }
    counts.RawLineFramed("$GPGGA,1*00", 5100);
    counts.RawLineFramed("hello", 5100);
    counts.AfterRead(5999);
    EXPECT_EQ(shown(), "Received 0 lines, 0 sentences, 0 checksum errors; 0 lines/s");
    counts.AfterRead(6000);
    EXPECT_EQ(shown(), "Received 32 lines, 30 sentences, 1 checksum error; 32 lines/s");
    EXPECT_EQ(counts.ChecksumFailures(), 1u);
    // A quiet second: the totals stay, the rate falls.
    counts.AfterRead(7000);
    EXPECT_EQ(shown(), "Received 32 lines, 30 sentences, 1 checksum error; 0 lines/s");
    EXPECT_EQ(LineCounts::Text(1, 1, 0, 1),
              "Received 1 line, 1 sentence, 0 checksum errors; 1 lines/s");
}

}  // namespace
}  // namespace zelsim
