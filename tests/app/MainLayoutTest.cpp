#include <gtest/gtest.h>

#include "app/MainLayout.h"
#include "monitor/MonitorLayout.h"

namespace zelsim {
namespace {

using Minimum = MainLayout::Minimum;
constexpr int kMonitor = MonitorLayout::kPanelHeight;  // 295
constexpr int kBigMonitor = MonitorLayout::kPanelHeight + MonitorLayout::kBigExtra;
const int kShortest = MonitorLayout::ShortestPanel();  // 87

// The smallest client on three screens: one that holds the design, a
// 1920 x 1080 screen at 200 % (about 480 pixels of room under the frame),
// and one too small for even the shortest monitor.
TEST(MainLayoutTest, TheDesignIsTheSmallestClientUnlessTheScreenCannotHoldIt) {
    EXPECT_EQ(MainLayout::MinimumClient(false, true, kMonitor, kShortest, 1000),
              (Minimum{760, 591, 0}));
    EXPECT_EQ(MainLayout::MinimumClient(false, true, kBigMonitor, kShortest, 1000),
              (Minimum{760, 711, 0}));
    EXPECT_EQ(MainLayout::MinimumClient(false, true, kMonitor, kShortest, 480),
              (Minimum{760, 480, 111}));
    EXPECT_EQ(MainLayout::MinimumClient(false, true, kMonitor, kShortest, 300),
              (Minimum{760, 296 + 87, 208}));
    // The compact layout's monitor ends above the design height: only the
    // empty space under it goes.
    EXPECT_EQ(MainLayout::MinimumClient(true, true, kMonitor, kShortest, 480),
              (Minimum{760, 480, 0}));
    // With no monitor there is nothing to shorten.
    EXPECT_EQ(MainLayout::MinimumClient(false, false, kMonitor, kShortest, 480),
              (Minimum{760, 591, 0}));
}

}  // namespace
}  // namespace zelsim
