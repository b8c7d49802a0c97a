#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QTest>

#include "base/ControlTable.h"
#include "base/MainWindowControls.h"
#include "base/QtColour.h"
#include "gnss/GnssDecoder.h"
#include "gps/CourseDisplay.h"
#include "gps/GpsWindowControls.h"
#include "gps/GpsWindows.h"
#include "gps/PicturePaintBox.h"
#include "gps/TfCogDisplay.h"
#include "gps/TfGpsSimulator.h"
#include "gps/TfPositionDeviation.h"
#include "gps/TfSkyView.h"
#include "gps/TfSvStatus.h"
#include "serial/SentenceFramer.h"
#include "support/GnssRead.h"

namespace zelsim {
namespace {

class TfGpsWindowsTest : public ::testing::Test {
  protected:
    void Read(std::initializer_list<std::string_view> sentences) {
        GnssRead(framer_, decoder_, now_, sentences);
        gps_.AfterRead(now_);
        now_ += 1000;
        ApplyAll();
    }
    void ApplyAll() {
        deviation_.ApplyControls();
        status_.ApplyControls();
        sky_.ApplyControls();
        simulator_.ApplyControls();
        cog_.ApplyControls();
    }

    ControlTable main_;
    SentenceFramer framer_;
    GnssDecoder decoder_;
    GpsWindows gps_{main_, decoder_};
    CourseDisplay course_;
    TfPositionDeviation deviation_{gps_.DeviationWindow()};
    TfSvStatus status_{gps_.SvStatusWindow()};
    TfSkyView sky_{gps_.SkyViewWindow()};
    TfGpsSimulator simulator_{gps_.GpsSimulatorWindow()};
    TfCogDisplay cog_{course_};
    uint32_t now_ = 1000;
};

constexpr const char* kFirstCycle = "$GPGGA,120000.00,4807.000,N,01131.000,E,1,08,0.9,500.0,M,,M,,";
constexpr const char* kGsv = "$GPGSV,1,1,02,05,40,090,44,07,10,200,30";
constexpr const char* kGsa = "$GPGSA,A,3,05,,,,,,,,,,,,1.5,0.9,1.2";
constexpr const char* kNextCycle = "$GPGGA,120001.00,4807.000,N,01131.000,E,1,08,0.9,500.0,M,,M,,";

TEST_F(TfGpsWindowsTest, EveryWindowShowsWhatItsPartWritesAndOpensAtItsDesignSize) {
    gps_.ClickPositionDeviation();
    gps_.ClickSvStatus();
    gps_.ClickSkyView();
    gps_.ClickGpsSimulator();
    course_.Place({30, 40, 250, 260});
    course_.Open();
    course_.ShowCourse(900);
    Read({kFirstCycle, kGsv, kGsa});
    Read({kNextCycle});
    gps_.DeviationWindow().StopRun();
    ApplyAll();
    for (const ToolWindowView* view :
         std::initializer_list<const ToolWindowView*>{&deviation_, &status_, &sky_, &simulator_}) {
        EXPECT_TRUE(view->isVisible()) << view->windowTitle().toStdString();
        EXPECT_TRUE(view->Binding().NamesWithoutControl().empty())
            << view->windowTitle().toStdString();
    }
    EXPECT_TRUE(cog_.Binding().NamesWithoutControl().empty());
    EXPECT_EQ(deviation_.size(), QSize(492, 172));
    EXPECT_EQ(status_.size(), QSize(542, 285));
    EXPECT_EQ(sky_.size(), QSize(300, 300));
    EXPECT_EQ(simulator_.size(), QSize(358, 292));
    EXPECT_EQ(cog_.size(), QSize(260, 250));
    EXPECT_EQ(cog_.pos(), QPoint(30, 40));
    EXPECT_EQ(deviation_.windowTitle(), "Deviation from Static Position");
    EXPECT_EQ(deviation_.findChild<QPushButton*>("bStopRun")->text(), "&Run");
    EXPECT_EQ(status_.windowTitle(), "Satellite Vehicle Status list");
    EXPECT_EQ(cog_.windowTitle(), "COG Display");
}

TEST_F(TfGpsWindowsTest, TheSatelliteListShowsEachSatelliteAndCtrlCCopiesItAsText) {
    gps_.ClickSvStatus();
    ApplyAll();
    Read({kFirstCycle, kGsv, kGsa});
    Read({kNextCycle});
    const QTableWidget& table = status_.Table();
    ASSERT_EQ(table.rowCount(), 2);
    EXPECT_EQ(table.item(0, 1)->text(), "5");
    EXPECT_EQ(table.item(0, 6)->text(), "yes");
    EXPECT_EQ(table.horizontalHeaderItem(3)->text(), QString::fromUtf8("Elev °"));

    QApplication::clipboard()->clear();
    status_.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&status_));
    QTest::keyClick(const_cast<QTableWidget*>(&table), Qt::Key_C, Qt::ControlModifier);
    const QString copied = QApplication::clipboard()->text();
    EXPECT_TRUE(copied.startsWith(QString::fromUtf8("System\tPRN\tSignal\tElev °\t")))
        << copied.toStdString();
    EXPECT_TRUE(copied.contains("GPS\t7\t\t10\t200\t30\t\r\n")) << copied.toStdString();
}

TEST_F(TfGpsWindowsTest, TheArrowIsFilledInsideItsOutlineOnly) {
    course_.Open();
    course_.ShowCourse(900);  // to the right
    ApplyAll();
    const QColor fill = QtColour(CourseArrow::kFill);
    const auto at = [this](int x, int y) {
        return cog_.PaintBox().ShownPicture().pixelColor(x, y);
    };
    EXPECT_EQ(at(800, 496), fill);  // the head, near its tip
    EXPECT_EQ(at(300, 496), fill);  // the shaft
    EXPECT_NE(at(300, 300), fill);  // beside the shaft
    EXPECT_NE(at(496, 150), fill);  // where the head would be, pointing up
    EXPECT_NE(at(50, 50), fill);    // the fill stayed inside
    EXPECT_NE(at(940, 940), fill);
    EXPECT_EQ(at(20, 500), QtColour(CourseArrow::kPen));  // the frame
    course_.ShowCourse(0);
    ApplyAll();
    EXPECT_EQ(at(496, 150), fill);
    EXPECT_NE(at(800, 496), fill);
}

TEST_F(TfGpsWindowsTest, PictureWindowsStretchTheirPictureAndRefuseToShrinkBelow210) {
    gps_.ClickSkyView();
    course_.Open();
    ApplyAll();
    for (QWidget* window : std::initializer_list<QWidget*>{&sky_, &cog_}) {
        window->resize(400, 250);
        EXPECT_EQ(window->size(), QSize(400, 250));
        window->resize(209, 300);
        EXPECT_EQ(window->width(), 210);
        window->resize(300, 100);
        EXPECT_EQ(window->height(), 210);
    }
    EXPECT_EQ(sky_.PaintBox().Destination(), QRect(5, 5, 290, 200));
    EXPECT_EQ(course_.Current().clientWidth, 300);
    EXPECT_EQ(course_.Current().clientHeight, 210);
    // The rings in blue: the outermost touches the picture's top, the
    // innermost passes 100 pixels above the centre.
    const QImage& sky = sky_.PaintBox().ShownPicture();
    for (int ringTop : {0, 400}) {
        int blue = 0;
        for (int y = ringTop; y <= ringTop + 2; ++y) {
            const QColor c = sky.pixelColor(500, y);
            blue = std::max(blue, c.blue() - c.red());
        }
        EXPECT_GT(blue, 100) << ringTop;
    }
    EXPECT_LT(sky.pixelColor(500, 50).blue() - sky.pixelColor(500, 50).red(), 30);
}

TEST_F(TfGpsWindowsTest, TheCloseBoxHidesAWindowAndLeavesItsMarkToTheMenu) {
    gps_.ClickSkyView();
    ApplyAll();
    ASSERT_TRUE(sky_.isVisible());
    sky_.close();
    EXPECT_FALSE(gps_.SkyViewWindow().Window().Visible());
    EXPECT_TRUE(main_.Get(main_window::mSkyView).checked);
    gps_.ClickSkyView();
    gps_.ClickSkyView();
    ApplyAll();
    EXPECT_TRUE(sky_.isVisible());
    // Esc is the close box too.
    gps_.ClickSvStatus();
    course_.Open();
    ApplyAll();
    for (QWidget* window : std::initializer_list<QWidget*>{&sky_, &status_, &cog_})
        QTest::keyClick(window, Qt::Key_Escape);
    EXPECT_FALSE(gps_.SkyViewWindow().Window().Visible());
    EXPECT_FALSE(gps_.SvStatusWindow().Window().Visible());
    EXPECT_FALSE(course_.Visible());
}

// A window opens where the user last left it, and one stored off every
// screen (a monitor unplugged since) opens whole on the nearest, at its
// stored size.
TEST_F(TfGpsWindowsTest, WindowsComeBackWhereTheyWereLeftAndWholeOnAScreen) {
    gps_.ClickSkyView();
    ApplyAll();
    sky_.move(120, 90);
    sky_.close();
    gps_.ClickSkyView();  // the mark off
    gps_.ClickSkyView();
    ApplyAll();
    EXPECT_EQ(sky_.pos(), QPoint(120, 90));

    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    course_.Place({screen.right() + 500, 40, 400, 420});
    course_.Open();
    ApplyAll();
    EXPECT_EQ(cog_.size(), QSize(420, 400));
    EXPECT_TRUE(screen.contains(cog_.frameGeometry())) << cog_.x() << "," << cog_.y();
    EXPECT_EQ(cog_.frameGeometry().right(), screen.right()) << "at the edge nearest its place";
}

}  // namespace
}  // namespace zelsim
