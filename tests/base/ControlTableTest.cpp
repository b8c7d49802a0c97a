#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/ControlTable.h"

namespace zelsim {

namespace {

std::vector<std::string> ChangedSince(const ControlTable& table, uint64_t since) {
    std::vector<std::string> names;
    table.ForEachChangedSince(
        since, [&](const std::string& name, const ControlState&) { names.push_back(name); });
    return names;
}

// Applying the table after every tick must cost nothing while nothing
// changes, and must never touch what core did not set.
TEST(ControlTable, OnlyRealChangesCountAndOnlySetFieldsAreMarked) {
    ControlTable table;
    table.SetText("bComOpenClose", "Connect");
    table.SetPos("lPortMessage", 8, 128);
    const uint64_t applied = table.Revision();
    EXPECT_EQ(ChangedSince(table, 0), (std::vector<std::string>{"bComOpenClose", "lPortMessage"}));

    table.SetText("bComOpenClose", "Connect");
    table.SetPos("lPortMessage", 8, 128);
    table.SetItems("cbSendData", {});
    EXPECT_EQ(ChangedSince(table, applied), (std::vector<std::string>{"cbSendData"}))
        << "an empty list set for the first time is a change; the same values are none";

    const ControlState& message = table.Get("lPortMessage");
    EXPECT_TRUE(message.Has(ControlState::kPos));
    EXPECT_FALSE(message.Has(ControlState::kVisible)) << "placing does not show or hide";
    EXPECT_FALSE(message.Has(ControlState::kText));

    // A default value written on purpose is a change: it marks the field set.
    table.SetVisible("lPortMessage", true);
    EXPECT_TRUE(message.Has(ControlState::kVisible));
    EXPECT_EQ(ChangedSince(table, table.Revision() - 1),
              (std::vector<std::string>{"lPortMessage"}));
}

// A window asks for what changed since it last looked: an arrow that
// blinks for hours must neither hide the other entries' changes nor repeat
// an entry.
TEST(ControlTable, ChangesSinceARevisionStayWholeThroughLongRunsOfChanges) {
    ControlTable table;
    table.SetText("lStatus", "Ready");
    table.SetVisible("iRxTxFrame", true);
    table.SetVisible("bSend", true);
    for (int blink = 0; blink < 1000; ++blink) table.SetVisible("iRxArrow", blink % 2 == 0);
    const uint64_t applied = table.Revision();
    EXPECT_EQ(ChangedSince(table, 0),
              (std::vector<std::string>{"bSend", "iRxArrow", "iRxTxFrame", "lStatus"}));
    EXPECT_EQ(ChangedSince(table, applied), std::vector<std::string>{});

    table.SetText("lStatus", "Busy");
    for (int blink = 0; blink < 41; ++blink) table.SetVisible("iRxArrow", blink % 2 == 0);
    table.SetVisible("bSend", false);
    EXPECT_EQ(ChangedSince(table, applied),
              (std::vector<std::string>{"bSend", "iRxArrow", "lStatus"}));
    EXPECT_TRUE(table.Get("iRxArrow").visible) << "the last of the changes is applied";
    EXPECT_EQ(ChangedSince(table, table.Revision() - 1), std::vector<std::string>{"bSend"});
}

TEST(ControlTable, AskingForAnUnsetControlCreatesNothing) {
    ControlTable table;
    EXPECT_EQ(table.Get("nothing").fields, 0);
    EXPECT_FALSE(table.Has("nothing"));
    EXPECT_EQ(table.Revision(), 0u);
}

}  // namespace

}  // namespace zelsim
