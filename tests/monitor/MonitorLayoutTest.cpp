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

// Big adds rows to the list and moves the whole send row down by as much;
// in either size the row stays below the list, in order, within its width.
TEST(MonitorLayout, BigMakesTheListTallerAndMovesTheSendRowDown) {
    const Rect small = MonitorLayout::List(false);
    const Rect big = MonitorLayout::List(true);
    const int grown = big.height - small.height;
    EXPECT_GT(grown, 0);
    EXPECT_EQ(big.left, small.left);
    EXPECT_EQ(big.width, small.width);
    for (bool isBig : {false, true}) {
        const Rect list = MonitorLayout::List(isBig);
        int right = list.left;
        for (const MonitorLayout::RowPlace& place : MonitorLayout::kSendRow) {
            const Rect r = MonitorLayout::SendRowControl(place, isBig);
            EXPECT_EQ(r.top, MonitorLayout::SendRowControl(place, false).top + (isBig ? grown : 0))
                << place.name;
            EXPECT_GT(r.top, list.top + list.height) << place.name;
            EXPECT_GE(r.left, right) << place.name;
            right = r.left + r.width;
        }
        EXPECT_LE(right, list.left + list.width);
    }
    EXPECT_EQ(MonitorLayout::SendRowControl(Place(main_window::cbSendData), false).left, small.left)
        << "the box under the list's left edge";
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

namespace zelsim {
namespace {

// The room a grown window gives: the list takes it all, the box the width,
// and the buttons keep their places at the right and the bottom.
TEST(MonitorLayout, ARoomierPanelGivesTheListMoreRowsAndTheBoxMoreWidth) {
    const MonitorLayout::Room room{200, 140};
    const Rect list = MonitorLayout::List(false, room);
    EXPECT_EQ(list, (Rect{8, 0, 744 + 200, 250 + 140}));
    EXPECT_EQ(MonitorLayout::VisibleRows(list.height), 27);
    const Rect box = MonitorLayout::SendRowControl(Place(main_window::cbSendData), false, room);
    EXPECT_EQ(box, (Rect{8, 255 + 140, 374 + 200, 24}));
    const Rect add = MonitorLayout::SendRowControl(Place(main_window::bAddCkSum), false, room);
    EXPECT_EQ(add, (Rect{672 + 200, 254 + 140, 80, 25}));
    EXPECT_EQ(add.left + add.width, list.left + list.width);
    // Big adds its 120 on top of the room.
    EXPECT_EQ(MonitorLayout::List(true, room).height, 250 + 140 + 120);
    // A screen too small for the design shortens the list, never below three rows.
    EXPECT_EQ(MonitorLayout::List(false, {0, -100}).height, 150);
    EXPECT_EQ(MonitorLayout::VisibleRows(MonitorLayout::List(false, {0, -1000}).height),
              MonitorLayout::kFewestRows);
}

}  // namespace
}  // namespace zelsim
