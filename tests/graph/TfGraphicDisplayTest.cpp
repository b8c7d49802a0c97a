#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <ctime>

#include "base/ControlTable.h"
#include "base/QtColour.h"
#include "gps/CourseDisplay.h"
#include "graph/ChartMarker.h"
#include "graph/ChartPaintBox.h"
#include "graph/ChartPainter.h"
#include "graph/GraphWindowControls.h"
#include "graph/GraphicDisplay.h"
#include "graph/RecordSampler.h"
#include "graph/TfGraphicDisplay.h"
#include "graph/TimeScrollBar.h"
#include "serial/MemorySerialDevice.h"
#include "serial/SerialPort.h"
#include "support/ConfigText.h"
#include "support/RecordingDialogs.h"
#include "support/TempDir.h"

namespace zelsim {
namespace {

namespace gw = graph_window;

std::tm FixedTime() {
    std::tm t{};
    t.tm_hour = 14;
    t.tm_min = 5;
    t.tm_sec = 9;
    return t;
}

bool Is(const QImage& picture, int x, int y, Colour colour) {
    return picture.pixelColor(x, y) == QtColour(colour);
}

int CountIn(const QImage& picture, QRect area, Colour colour) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) n += Is(picture, x, y, colour) ? 1 : 0;
    return n;
}

// Pixels that are not the ground: text is drawn smooth, so its own colour
// is only at the letters' cores.
int InkIn(const QImage& picture, QRect area) {
    return area.width() * area.height() - CountIn(picture, area, ChartDrawing::kBackground);
}

QImage Painted(const ChartDrawing& drawing) {
    QImage picture(StripChart::kPaintWidth, StripChart::kPaintHeight, QImage::Format_RGB32);
    PaintChart(drawing, picture);
    return picture;
}

class TfGraphicDisplayTest : public ::testing::Test {
  protected:
    PortMap map_;
    std::shared_ptr<MemorySerialDevice> line_ = std::make_shared<MemorySerialDevice>();
    SerialPort port_{MemorySerialDevice::Plug(line_), map_};
    ControlTable mainControls_;
    RecordSampler sampler_{FixedTime};
    RecordingDialogs dialogs_;
    TempDir folder_;
    CourseDisplay course_;
    GraphicDisplay display_{mainControls_, sampler_,       course_, port_,
                            dialogs_,      folder_.Path(), "2.0.1"};
    TfGraphicDisplay window_{display_};
};

TEST_F(TfGraphicDisplayTest, EveryControlTheWindowWritesIsBoundAndEscCloses) {
    display_.Open();
    window_.ApplyControls();
    EXPECT_TRUE(window_.isVisible());
    EXPECT_EQ(window_.windowTitle(), "Graphic Display of Incomming Data");
    EXPECT_EQ(window_.size(), QSize(GraphicDisplay::kClientWidth, GraphicDisplay::kClientHeight));
    for (int i = 0; i < 2; ++i) {
        display_.Pause();
        display_.Hold();
        display_.ToggleLinearGrid();
        display_.ToggleLogGrid();
        display_.Clear();
        display_.Play(GraphicDisplay::Playback::kForward);
        display_.ToggleAutoSave();
        display_.SaveGraph([](const std::string&) { return std::optional<std::string>(); });
    }
    window_.ApplyControls();
    EXPECT_TRUE(window_.Binding().NamesWithoutControl().empty());
    const auto* hold = window_.findChild<QPushButton*>(QString(gw::bHold.data()));
    ASSERT_NE(hold, nullptr);
    EXPECT_EQ(hold->text(), "&Hold Off");
    EXPECT_TRUE(window_.findChild<QWidget*>(QString(gw::spToFront.data()))->isEnabled());

    QTest::keyClick(&window_, Qt::Key_Escape);
    EXPECT_FALSE(window_.isVisible());
    EXPECT_FALSE(display_.Visible());
}

// A place stored while another monitor was plugged in.
TEST_F(TfGraphicDisplayTest, AWindowPlacedOffEveryScreenOpensWholeOnTheNearestOne) {
    ConfigFile file =
        ConfigWith(folder_, "[Configuration]\r\nGraphicFormLeft=9000\r\nGraphicFormTop=-4000\r\n");
    display_.LoadSettings(file);
    display_.Open();
    window_.ApplyControls();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(screen.contains(window_.pos())) << window_.pos().x() << "," << window_.pos().y();
    EXPECT_EQ(window_.pos().y(), screen.top());
}

TEST_F(TfGraphicDisplayTest, TheButtonsAnswerTheirMnemonics) {
    display_.Open();
    window_.ApplyControls();
    window_.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window_));
    ASSERT_TRUE(display_.Holding());  // no line
    QTest::keyClick(&window_, Qt::Key_H, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !display_.Holding(); }));
    QTest::keyClick(&window_, Qt::Key_P, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return display_.Paused(); }));
    QTest::keyClick(&window_, Qt::Key_A, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return sampler_.AutoSave(); }));
}

TEST_F(TfGraphicDisplayTest, APausedWindowKeepsShowingItsLastPicture) {
    display_.Open();
    display_.Hold();  // opened without a line: live again
    sampler_.AppendRecord(DiagnosticRecord{});
    display_.Clear();
    window_.ApplyControls();
    const QImage before = window_.PaintBox().ShownPicture().copy();
    display_.Pause();
    display_.ToggleLinearGrid();  // a redraw, computed but not shown
    window_.ApplyControls();
    EXPECT_EQ(window_.PaintBox().ShownPicture(), before);
    display_.Pause();
    display_.ToggleLogGrid();
    window_.ApplyControls();
    EXPECT_NE(window_.PaintBox().ShownPicture(), before);
}

TEST(ChartPicture, MarkersFilledOrOpenAsTheirShapesSay) {
    const Colour red{255, 0, 0};
    ChartDrawing drawing;
    for (int shape = 0; shape < 6; ++shape)
        drawing.items.emplace_back(ChartMarker(shape, 40 + 20 * shape, 60, red));
    const QImage picture = Painted(drawing);
    // Filled: the centre is painted. Open: the centre stays ground, the
    // outline is painted.
    for (int shape : {0, 2, 3, 5}) EXPECT_TRUE(Is(picture, 40 + 20 * shape, 60, red)) << shape;
    EXPECT_TRUE(Is(picture, 60, 60, ChartDrawing::kBackground));
    EXPECT_TRUE(Is(picture, 60 - 2, 60 - 2, red));
    EXPECT_TRUE(Is(picture, 120, 60, ChartDrawing::kBackground));
    EXPECT_TRUE(Is(picture, 120, 60 - 3, red));
    // The up triangle lies above its point, the down one below.
    EXPECT_TRUE(Is(picture, 80, 60 - 2, red));
    EXPECT_TRUE(Is(picture, 80, 60 + 2, ChartDrawing::kBackground));
    EXPECT_TRUE(Is(picture, 100, 60 + 2, red));
    EXPECT_TRUE(Is(picture, 100, 60 - 2, ChartDrawing::kBackground));
}

TEST(ChartPicture, CursorHoldBandAndTimeLabelWhereTheChartPutsThem) {
    StripChart chart(StripChart::kPaintWidth, StripChart::kPaintHeight);
    RecordRing ring;
    DeviceIdentities identities;
    for (int i = 0; i < 11; ++i) {
        DiagnosticRecord r;
        std::snprintf(r.tim, sizeof r.tim, "14:05:%02d", i);
        r.hld = i == 10 ? 1 : 0;
        chart.FillRows(r);
        ring.Append(r);
    }
    const ChartGeometry& g = chart.Geometry();
    const QImage picture = Painted(chart.Redraw(ring, identities, 10, false));

    // The cursor on the newest sample: its line and its two arrows.
    EXPECT_TRUE(Is(picture, g.right, g.centre - 30, StripChart::kCursor));
    EXPECT_TRUE(Is(picture, g.right, g.top - 5, StripChart::kCursor));
    EXPECT_TRUE(Is(picture, g.right, g.bottom + 5, StripChart::kCursor));
    // Sample 10 is held over: a band half a step before it, and its time
    // label ("05:10") 16 pixels left of it under the plot.
    const int s = g.right - g.step / 2;
    EXPECT_GT(CountIn(picture, QRect(s - 3, g.top, 7, g.bottom - g.top), StripChart::kHoldBand),
              100);
    // Below the markers that sit on the bottom line.
    const int labelTop = StripChart::kTimeLabelRow + 4;
    EXPECT_GT(InkIn(picture, QRect(g.right - 16, labelTop, 36, 9)), 20);
    EXPECT_EQ(InkIn(picture, QRect(g.right - 80, labelTop, 36, 9)), 0);
    // The readout shows the selected sample.
    EXPECT_GT(InkIn(picture, QRect(8, g.ReadoutRow(0), 140, 12)), 20);

    // A selection older than any stored sample leaves the readout empty.
    chart.SelectAt(g.left, 100);
    const QImage empty = Painted(chart.Redraw(ring, identities, 10, false));
    EXPECT_EQ(InkIn(empty, QRect(8, g.separator + 3, 760, 440 - g.separator)), 0);
}

class PaintCounter : public QObject {
  public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int paints = 0;

  protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

// While the ring fills, every sample moves the time bar's range and value
// by a fraction of a pixel: only a change the user can see repaints it.
TEST(TimeScrollBar, RepaintsOnlyWhenItsSliderMovesOnTheScreen) {
    constexpr int kPage = 76;
    QWidget window;
    window.resize(400, 60);
    auto* bar = new TimeScrollBar(&window);
    bar->setGeometry(8, 3, 340, 14);
    bar->setPageStep(kPage);
    bar->setRange(0, 3000);
    bar->setValue(3000);
    // Painted with the same flush as the bar: once it is, the bar has had
    // every paint it asked for.
    auto* other = new QWidget(&window);
    other->setGeometry(8, 30, 20, 20);
    const PaintCounter barPaints(bar);
    const PaintCounter otherPaints(other);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));  // repainted in the active colours
    const auto flushed = [&] {
        const int before = otherPaints.paints;
        other->update();
        return QTest::qWaitFor([&] { return otherPaints.paints > before; });
    };
    ASSERT_TRUE(flushed());
    ASSERT_GT(barPaints.paints, 0);

    const int settled = barPaints.paints;
    for (int last = 3001; last <= 3100; ++last) {
        bar->setRange(0, last);
        bar->setValue(last);
    }
    ASSERT_TRUE(flushed());
    EXPECT_EQ(barPaints.paints, settled);
    EXPECT_EQ(bar->maximum(), 3100);
    EXPECT_EQ(bar->value(), 3100);

    bar->setValue(3100 - kPage);  // a page back: the slider moves on
    EXPECT_TRUE(QTest::qWaitFor([&] { return barPaints.paints > settled; }));
    const int moved = barPaints.paints;
    bar->setRange(0, 2 * kPage);  // a short ring: a longer slider
    EXPECT_TRUE(QTest::qWaitFor([&] { return barPaints.paints > moved; }));
}

}  // namespace
}  // namespace zelsim
