#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QFontMetricsF>
#include <QImage>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include "base/ControlTable.h"
#include "base/QtColour.h"
#include "monitor/MessageCategory.h"
#include "monitor/MessageMonitor.h"
#include "monitor/MessageMonitorView.h"
#include "monitor/MonitorLayout.h"
#include "monitor/TfShowMessageMonColors.h"
#include "support/RecordingDialogs.h"

namespace zelsim {

namespace {

constexpr int kRow = MonitorLayout::kRowHeight;
const QColor kBackground(253, 251, 243);

std::tm Noon() {
    std::tm t{};
    t.tm_hour = 12;
    return t;
}

// Glyphs are antialiased: a row "is drawn in" a colour when some pixel of it
// comes close to that colour and clearly differs from the background.
bool HasPixelNear(const QImage& image, const QRect& area, const QColor& colour) {
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor p = image.pixelColor(x, y);
            if (std::abs(p.red() - colour.red()) < 40 &&
                std::abs(p.green() - colour.green()) < 40 &&
                std::abs(p.blue() - colour.blue()) < 40 && p != kBackground)
                return true;
        }
    return false;
}

class MessageMonitorViewTest : public ::testing::Test {
  protected:
    MessageMonitorViewTest() : monitor(controls, dialogs, Noon), view(monitor) {
        view.resize(744, 250);
    }

    void NoColumns() {
        monitor.SetOption(&MonitorOptions::msgMonTime, false);
        monitor.SetOption(&MonitorOptions::msgMonTickCount, false);
    }

    QImage Render() {
        view.Refresh();
        return view.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }

    ControlTable controls;
    RecordingDialogs dialogs;
    MessageMonitor monitor;
    MessageMonitorView view;
};

TEST_F(MessageMonitorViewTest, RowsAreDrawnInTheirCategoryColourWithTheirColumns) {
    monitor.ShowLine("$PKVTS,TXT,0,HELLO", MessageCategory::kZel, 12345);
    monitor.ShowLine("$PKVTS,LBX,1", MessageCategory::kLightBar, 12346);
    NoColumns();
    monitor.ShowLine("plain", MessageCategory::kNonNmea, 0);
    const QImage image = Render();
    const int width = image.width();

    const QRect textOfRow0(160, 2, 200, 10);
    EXPECT_TRUE(HasPixelNear(image, textOfRow0, QColor(0, 0, 255)));
    EXPECT_FALSE(HasPixelNear(image, textOfRow0, QColor(128, 0, 0)));
    EXPECT_TRUE(HasPixelNear(image, textOfRow0.translated(0, kRow), QColor(128, 0, 0)));

    // Time on pale green, tick on pale blue, the rest on the background.
    EXPECT_EQ(image.pixelColor(1, 0), QColor(244, 254, 218));
    EXPECT_EQ(image.pixelColor(80, 0), QColor(241, 249, 255));
    EXPECT_EQ(image.pixelColor(width - 20, 0), kBackground);
    // The third line has no columns: its text starts at the left edge.
    EXPECT_TRUE(HasPixelNear(image, QRect(0, 2 * kRow + 2, 30, 10), QColor(0, 128, 0)));
    EXPECT_EQ(image.pixelColor(1, 2 * kRow), kBackground);
}

// Rows are copied together from ready-drawn characters: the first one sits
// at the very left edge and the longest line runs past the right one; both
// must be cut cleanly, not lost or written beyond the row.
TEST_F(MessageMonitorViewTest, RowsAreCutAtBothEdges) {
    NoColumns();
    monitor.ShowLine(std::string(MessageMonitor::kTextLimit, 'W'), MessageCategory::kDgps, 0);
    monitor.ShowLine("W", MessageCategory::kDgps, 0);
    const QImage image = Render();
    const QColor dgps(0, 0, 0);
    EXPECT_TRUE(HasPixelNear(image, QRect(0, 2, 3, 10), dgps));
    EXPECT_TRUE(HasPixelNear(image, QRect(image.width() - 4, 2, 4, 10), dgps));
    EXPECT_TRUE(HasPixelNear(image, QRect(0, kRow + 2, 3, 10), dgps));
    EXPECT_FALSE(HasPixelNear(image, QRect(10, kRow + 2, 100, 10), dgps));
}

TEST_F(MessageMonitorViewTest, GapLinesMarkWhereLinesWereDropped) {
    NoColumns();
    // Leading blanks keep glyphs off the line's left end.
    monitor.ShowLine("   first", MessageCategory::kDgps, 0);  // the start-up gap mark
    monitor.ShowLine("second", MessageCategory::kDgps, 0);
    monitor.TogglePause();
    monitor.ShowLine("dropped", MessageCategory::kDgps, 0);
    const QImage image = Render();
    const int right = image.width() - 1;

    const QColor green(0, 128, 0), red(255, 0, 0);
    EXPECT_EQ(image.pixelColor(300, 1), green);
    EXPECT_EQ(image.pixelColor(4, 1), green);
    EXPECT_EQ(image.pixelColor(3, 1), kBackground);
    EXPECT_EQ(image.pixelColor(right - 3, 1), kBackground);
    EXPECT_NE(image.pixelColor(300, kRow - 1), red);

    EXPECT_EQ(image.pixelColor(300, 2 * kRow - 1), red);
    EXPECT_NE(image.pixelColor(300, kRow + 1), green);
}

TEST_F(MessageMonitorViewTest, FollowsTheNewestLineButLetsTheUserLookBack) {
    for (int i = 0; i < 40; ++i) monitor.ShowLine("x", MessageCategory::kDgps, 0);
    view.Refresh();
    QScrollBar* bar = view.verticalScrollBar();
    EXPECT_EQ(view.TopRow(), 40 - view.VisibleRows());
    bar->setValue(3);
    monitor.TogglePause();
    monitor.ShowLine("dropped", MessageCategory::kDgps, 0);
    view.Refresh();
    EXPECT_EQ(view.TopRow(), 3);
    monitor.TogglePause();
    monitor.ShowLine("new", MessageCategory::kDgps, 0);
    view.Refresh();
    EXPECT_EQ(view.TopRow(), 41 - view.VisibleRows());
}

TEST_F(MessageMonitorViewTest, LegendOpensModallyAtItsStoredPlace) {
    std::vector<std::string> calls;
    view.onModalOpening = [&] { calls.push_back("off"); };
    view.onModalClosed = [&] { calls.push_back("on"); };
    monitor.SetLegendPosition(40, 50);
    QPoint shownAt;
    QString caption;
    QTimer::singleShot(0, [&] {
        auto* legend = qobject_cast<TfShowMessageMonColors*>(QApplication::activeModalWidget());
        ASSERT_NE(legend, nullptr);
        shownAt = legend->pos();
        caption = legend->windowTitle();
        legend->move(70, 80);
        legend->accept();
    });
    view.lbMessageMonitorPopup();
    EXPECT_EQ(calls, (std::vector<std::string>{"off", "on"}));
    EXPECT_EQ(shownAt, QPoint(40, 50));
    EXPECT_EQ(caption, "Message Monitor Colors");
    EXPECT_EQ(QPoint(monitor.LegendLeft(), monitor.LegendTop()), QPoint(70, 80));
}

// The colours as the windows have always drawn them, written the way the
// monitor first held them (0xRRGGBB): each legend row is drawn in its
// category's colour, and the monitor draws every code in the same one.
TEST(TfShowMessageMonColorsTest, RowsFollowTheLegendOrderAndColours) {
    const std::array<QRgb, MessageCategory::kCount> byCode = {
        0x800080, 0x808000, 0x0000FF, 0x000000, 0x800000, 0x000080, 0x808080, 0x008000, 0xFF0000};
    for (uint32_t code = 0; code < MessageCategory::kCount; ++code)
        EXPECT_EQ(QtColour(MessageCategory::ColourOf(code)), QColor(byCode[code])) << code;
    EXPECT_EQ(QtColour(MessageCategory::kBackground), kBackground);

    TfShowMessageMonColors legend;
    const QImage image = legend.List()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const int row = TfShowMessageMonColors::kRowHeight;
    const QRect text(TfShowMessageMonColors::kTextIndent, 2, 120, 10);
    const std::array<QRgb, MessageCategory::kLegendRowCount> byRow = {
        0x800080, 0x808000, 0x0000FF, 0x000000, 0x800000, 0x000080, 0x008000, 0x808080};
    for (int r = 0; r < MessageCategory::kLegendRowCount; ++r)
        EXPECT_TRUE(HasPixelNear(image, text.translated(0, r * row), QColor(byRow[size_t(r)])))
            << "row " << r;
    EXPECT_FALSE(HasPixelNear(image, text.translated(0, 7 * row), QColor(0, 128, 0)));
    EXPECT_EQ(image.pixelColor(5, 5), kBackground);  // left of the indented text
}

}  // namespace

}  // namespace zelsim

namespace zelsim {
namespace {

TEST_F(MessageMonitorViewTest, ClicksAndKeysSelectRowsThatCopyAsShown) {
    NoColumns();
    for (int i = 0; i < 5; ++i)
        monitor.ShowLine("line" + std::to_string(i), MessageCategory::kDgps, 0);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, QPoint(50, kRow + 5));
    QTest::mouseClick(view.viewport(), Qt::LeftButton, Qt::ShiftModifier, QPoint(50, 3 * kRow + 5));
    EXPECT_TRUE(view.hasFocus());
    const QImage image = Render();
    const QColor selected(204, 228, 247);
    EXPECT_EQ(image.pixelColor(image.width() - 20, 2 * kRow + 5), selected);
    EXPECT_EQ(image.pixelColor(image.width() - 20, 5), kBackground);
    EXPECT_EQ(image.pixelColor(image.width() - 20, 4 * kRow + 5), kBackground);

    QApplication::clipboard()->clear();
    QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "line1\nline2\nline3\n");
    QTest::keyClick(&view, Qt::Key_Up, Qt::ShiftModifier);  // the moving end, row 3, goes up
    QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "line1\nline2\n");
    QTest::keyClick(&view, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "line0\nline1\nline2\nline3\nline4\n");
    // Selecting is no pause: the next line is shown.
    monitor.ShowLine("line5", MessageCategory::kDgps, 0);
    EXPECT_EQ(monitor.LineCount(), 6);
}

TEST_F(MessageMonitorViewTest, AFailedChecksumIsRedAndALongLineScrollsIntoView) {
    NoColumns();
    monitor.ShowLine("$GPGGA,1*00", MessageCategory::kNonNmea, 0);
    QImage image = Render();
    QFont font("Courier New");
    font.setPixelSize(MessageMonitorView::kFontPixels);
    const int star = MonitorLayout::ColumnLeft(8, QFontMetricsF(font).horizontalAdvance('0'));
    const QColor red(255, 0, 0), green(0, 128, 0);
    EXPECT_TRUE(HasPixelNear(image, QRect(star, 2, 40, 10), red));
    EXPECT_FALSE(HasPixelNear(image, QRect(0, 2, star - 2, 10), red));
    EXPECT_TRUE(HasPixelNear(image, QRect(0, 2, star - 2, 10), green));

    // A long line's end, its failed checksum in red, is a scroll away.
    monitor.ShowLine("$" + std::string(301, 'A') + "*00", MessageCategory::kNonNmea, 0);
    const QRect secondRow(0, kRow + 2, view.viewport()->width(), 10);
    EXPECT_FALSE(HasPixelNear(Render(), secondRow, red));
    QScrollBar* across = view.horizontalScrollBar();
    EXPECT_GT(across->maximum(), 0);
    across->setValue(across->maximum());
    image = Render();
    EXPECT_TRUE(HasPixelNear(image, QRect(image.width() - 40, kRow + 2, 40, 10), red));
}

}  // namespace
}  // namespace zelsim
