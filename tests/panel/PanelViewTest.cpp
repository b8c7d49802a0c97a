#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>
#include <string_view>
#include <utility>
#include <vector>

#include "base/ControlTable.h"
#include "base/MainWindowControls.h"
#include "panel/PanelGeometry.h"
#include "panel/PanelScreen.h"
#include "panel/PanelView.h"
#include "serial/SentenceFramer.h"
#include "support/EventWatch.h"

namespace zelsim {

namespace {
namespace mw = main_window;

const QColor kLcdGreen(189, 205, 171);
constexpr GlyphRows kLetterA{0x0E, 0x11, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x00};
constexpr GlyphRows kDegree{0x1C, 0x14, 0x1C, 0x00, 0x00, 0x00, 0x00, 0x00};

// The picture a cell must show, pixel by pixel: a 3 x 4 black block for
// each lit dot on a 4 x 5 pitch, nothing anywhere else.
int WrongPixels(const QImage& cell, const GlyphRows& rows, QString* first) {
    int wrong = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 20; ++x) {
            const int column = x / 4, row = y / 5;
            const bool lit = x % 4 < 3 && y % 5 < 4 && column < 5 &&
                             ((rows[static_cast<size_t>(row)] >> (4 - column)) & 1) != 0;
            const QRgb p = cell.pixel(x, y);
            const bool ok = lit ? p == qRgba(0, 0, 0, 255) : qAlpha(p) == 0;
            if (!ok && wrong++ == 0) *first = QString("(%1, %2)").arg(x).arg(y);
        }
    return wrong;
}

class PanelViewTest : public ::testing::Test {
  protected:
    PanelViewTest() {
        display.resize(PanelGeometry::kPanelWidth, PanelGeometry::kPanelHeight);
        view.onKeys = [this](uint8_t bits, bool pressed) { keys.emplace_back(bits, pressed); };
    }

    void Receive(std::string_view sentence) {
        ASSERT_EQ(framer.ParseText(sentence), SentenceFramer::kSentenceReady);
        if (framer.Field(0) == "PKVTS")
            screen.HandleScreenSentence(framer);
        else
            screen.HandleControllerSentence(framer);
    }
    template <typename W = QWidget>
    W* Named(std::string_view name) {
        return display.findChild<W*>(QString::fromLatin1(name.data(), qsizetype(name.size())));
    }
    void ExpectCell(int cell, const GlyphRows& rows) {
        QString first;
        EXPECT_EQ(WrongPixels(view.CellImage(cell), rows, &first), 0)
            << "cell " << cell << ", first at " << first.toStdString();
    }

    ControlTable controls;
    PanelScreen screen{controls};
    SentenceFramer framer;
    QWidget display;
    PanelView view{screen, &display};
    std::vector<std::pair<int, bool>> keys;
};

TEST_F(PanelViewTest, CellsShowTheirGlyphsDotForDot) {
    const GlyphRows arrowUp{0xE4, 0x0E, 0x15, 0x04, 0x04, 0x04, 0x04, 0xFF};
    Receive("$PKVTS,TXT,0,A\xB0");
    Receive("$PKVTD,040,1E4,10E,115,104,104,104,104,1FF,082,100");
    view.Refresh();
    ExpectCell(0, kLetterA);
    ExpectCell(1, kDegree);
    ExpectCell(2, arrowUp);  // bits 5 to 7 stay dark, the cursor line lights
    ExpectCell(3, GlyphRows{});
}

TEST_F(PanelViewTest, OnlyChangedCellsAreDrawnAgain) {
    Receive("$PKVTS,TXT,0,Sats 9 DGPS");
    view.Refresh();
    const int drawn = view.CellsDrawn();
    Receive("$PKVTS,TXT,0,Sats 9 DGPS");
    view.Refresh();
    EXPECT_EQ(view.CellsDrawn(), drawn) << "an unchanged row repaints no cell";
    Receive("$PKVTS,TXT,0,Sats 8 DGPS");
    view.Refresh();
    EXPECT_EQ(view.CellsDrawn(), drawn + 1);
    Receive("$PKVTD,080,109");
    view.Refresh();
    EXPECT_EQ(view.CellsDrawn(), drawn + 1) << "a control code leaves the picture";
    ExpectCell(0, PanelFont::Fixed('S'));
}

TEST_F(PanelViewTest, DotsAreBlackOnTheLcdGreenOfEitherPicture) {
    display.show();
    Receive("$PKVTS,TXT,17,A");
    view.Refresh();
    const QRect cell = QRect(PanelGeometry::Cell(17).left, PanelGeometry::Cell(17).top, 20, 40);
    for (std::string_view shown : {mw::iCorvane, mw::iDormalyn}) {
        Named(mw::iDormalyn)->setVisible(shown == mw::iDormalyn);
        const QImage image = display.grab().toImage();
        EXPECT_EQ(image.pixelColor(cell.topLeft() + QPoint(4, 0)), QColor(Qt::black));
        EXPECT_EQ(image.pixelColor(cell.topLeft() + QPoint(3, 0)), kLcdGreen) << "between dots";
        EXPECT_EQ(image.pixelColor(cell.topLeft() + QPoint(0, 0)), kLcdGreen) << "an unlit dot";
    }
    // A closed line leaves the receiver's last screen in view, faded: it is
    // no longer live. Every cell is drawn again, and again when it opens.
    screen.SetLineOpen(false);
    view.Refresh();
    const QColor faded = display.grab().toImage().pixelColor(cell.topLeft() + QPoint(4, 0));
    EXPECT_NE(faded, QColor(Qt::black));
    EXPECT_NE(faded, kLcdGreen);
    EXPECT_LT(faded.lightness(), kLcdGreen.lightness());
    screen.SetLineOpen(true);
    view.Refresh();
    EXPECT_EQ(display.grab().toImage().pixelColor(cell.topLeft() + QPoint(4, 0)),
              QColor(Qt::black));
    // Behind every cell the pictures are the plain LCD window.
    for (ZelType unit : {ZelType::Corvane, ZelType::Dormalyn}) {
        const QImage picture = PanelView::PanelPicture(unit);
        EXPECT_EQ(picture.size(), QSize(425, 200));
        const PanelGeometry::Rect block = PanelGeometry::CellBlock();
        int off = 0;
        for (int y = block.top; y < block.top + block.height; ++y)
            for (int x = block.left; x < block.left + block.width; ++x)
                off += picture.pixelColor(x, y) != kLcdGreen;
        EXPECT_EQ(off, 0);
    }
}

// Cells far apart come to the screen in one block with the unit's picture
// under them: a ragged area had the painter hand the picture to worker
// threads in pieces on every display.
TEST_F(PanelViewTest, ChangedCellsArePaintedAsOneBlock) {
    display.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&display));
    Receive("$PKVTS,TXT,0,Sats 9 DGPS");
    view.Refresh();
    QWidget* picture = Named(mw::iCorvane);
    EventWatch watch(picture);
    ASSERT_TRUE(QTest::qWaitFor([&] { return watch.Count(QEvent::Paint) > 0; }));
    const int before = watch.Count(QEvent::Paint);

    Receive("$PKVTS,TXT,0,Sats 8 DGPX");  // cells 5 and 10 change
    view.Refresh();
    ASSERT_TRUE(QTest::qWaitFor([&] { return watch.Count(QEvent::Paint) > before; }));
    EXPECT_EQ(watch.LastPaint().rectCount(), 1);
    for (int cell : {5, 10}) {
        const PanelGeometry::Rect r = PanelGeometry::Cell(cell);
        const QRect inPicture = QRect(r.left, r.top, r.width, r.height).translated(-picture->pos());
        EXPECT_TRUE(watch.LastPaint().contains(inPicture)) << "cell " << cell;
    }
}

TEST_F(PanelViewTest, ControlsCarryTheirNamesAndPlaces) {
    for (const PanelGeometry::Place& place : PanelGeometry::Controls()) {
        QWidget* widget = Named(place.name);
        ASSERT_NE(widget, nullptr) << place.name;
        const PanelGeometry::Rect& r = place.rect;
        EXPECT_EQ(widget->geometry(), QRect(r.left, r.top, r.width, r.height)) << place.name;
    }
    for (std::string_view name : {mw::bUpAndDownKeys, mw::bCorvaneDiag})
        EXPECT_EQ(Named(name)->focusPolicy(), Qt::NoFocus) << name;
}

TEST_F(PanelViewTest, AnyMouseButtonPressesAndReleasesTheKeys) {
    display.show();
    QWidget* third = Named(mw::sKeyNo3);
    QTest::mousePress(third, Qt::RightButton);
    QTest::mouseRelease(third, Qt::RightButton);
    QTest::mousePress(Named(mw::sKeyNo1), Qt::LeftButton);
    QTest::mouseRelease(Named(mw::sKeyNo1), Qt::LeftButton);
    EXPECT_EQ(keys,
              (std::vector<std::pair<int, bool>>{{4, true}, {4, false}, {1, true}, {1, false}}));

    keys.clear();
    QWidget* home = Named(mw::bUpAndDownKeys);
    QTest::mousePress(home, Qt::LeftButton);
    QTest::mouseRelease(home, Qt::LeftButton);
    QWidget* diag = Named(mw::bCorvaneDiag);
    QTest::mousePress(diag, Qt::MiddleButton);
    QTest::mouseRelease(diag, Qt::MiddleButton);
    EXPECT_EQ(keys, (std::vector<std::pair<int, bool>>{
                        {2, true}, {4, true}, {6, false}, {9, true}, {9, false}}));
}

}  // namespace

}  // namespace zelsim
