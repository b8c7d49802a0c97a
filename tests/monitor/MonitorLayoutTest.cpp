#include <gtest/gtest.h>

#include "base/MainWindowControls.h"
#include "monitor/MonitorLayout.h"

namespace zelsim {

namespace {
using Rect = MonitorLayout::Rect;

const MonitorLayout::RowPlace& Place(std::string_view name) {
    for (const MonitorLayout::RowPlace& place : MonitorLayout::kSendRow)
        if (place.name == name) return place;
    ADD_FAILURE() << "no send row control " << name;
    return MonitorLayout::kSendRow[0];
}

TEST(MonitorLayout, BigMakesTheListTallerAndMovesTheSendRowDown) {
    EXPECT_EQ(MonitorLayout::List(false), (Rect{8, 0, 744, 250}));
    EXPECT_EQ(MonitorLayout::List(true), (Rect{8, 0, 744, 370}));
    const auto& send = Place(main_window::bSendData);
    EXPECT_EQ(MonitorLayout::SendRowControl(send, false), (Rect{384, 254, 60, 25}));
    EXPECT_EQ(MonitorLayout::SendRowControl(send, true), (Rect{384, 374, 60, 25}));
    // The box sits a pixel below the buttons, under the list's left edge.
    EXPECT_EQ(MonitorLayout::SendRowControl(Place(main_window::cbSendData), true),
              (Rect{8, 375, 374, 24}));
    const Rect list = MonitorLayout::List(true);
    EXPECT_LT(list.top + list.height, MonitorLayout::SendRowControl(send, true).top);
    // Left to right, apart, and inside the list's width.
    int right = list.left;
    for (const MonitorLayout::RowPlace& place : MonitorLayout::kSendRow) {
        EXPECT_GE(place.rect.left, right) << place.name;
        right = place.rect.left + place.rect.width;
    }
    EXPECT_LE(right, list.left + list.width);
}

TEST(MonitorLayout, TheNewestLineIsInViewOnEveryListSize) {
    EXPECT_EQ(MonitorLayout::VisibleRows(250), 17);
    EXPECT_EQ(MonitorLayout::VisibleRows(370), 26);
    EXPECT_EQ(MonitorLayout::VisibleRows(3), 1) << "a squeezed list still shows a row";
    EXPECT_EQ(MonitorLayout::TopRowForNewest(200, 17), 183);
    EXPECT_EQ(MonitorLayout::TopRowForNewest(30, 26), 4);
    EXPECT_EQ(MonitorLayout::TopRowForNewest(5, 17), 0);
    EXPECT_EQ(MonitorLayout::TopRowForNewest(200, 10), 190);
}

// Time "hh:mm:ss " and tick "12345 " columns, in the list's 7.2-pixel font.
TEST(MonitorLayout, ColumnsFollowThePrefixesALineWasBuiltWith) {
    using Columns = MonitorLayout::Columns;
    EXPECT_EQ(MonitorLayout::ColumnsOf(true, true), (Columns{9, 6}));
    EXPECT_EQ(MonitorLayout::ColumnsOf(false, true).TextStart(), 6u);
    EXPECT_EQ(MonitorLayout::ColumnsOf(false, false).TextStart(), 0u);
    EXPECT_EQ(MonitorLayout::ColumnLeft(9, 7.2), 65);
    EXPECT_EQ(MonitorLayout::ColumnLeft(15, 7.2), 108);
    EXPECT_EQ(MonitorLayout::ColumnLeft(0, 7.2), 0);
}

}  // namespace

}  // namespace zelsim
