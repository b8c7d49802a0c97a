// The real device under SerialPort, on a pseudo-terminal whose far end the
// test plays.
#include <gtest/gtest.h>
#include <termios.h>

#include <QTest>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "serial/PortMap.h"
#include "serial/QtSerialDevice.h"
#include "serial/SerialPort.h"
#include "support/FarEnd.h"

namespace zelsim {

namespace {
constexpr uint8_t kCom = 1;

class QtSerialDeviceTest : public ::testing::Test {
  protected:
    QtSerialDeviceTest() { PlugIn(); }

    // A fresh pseudo-terminal behind kCom.
    void PlugIn() {
        far_.emplace();
        ASSERT_TRUE(far_->IsOpen()) << "openpty failed";
        map_.SetExplicit(kCom, far_->Path());
    }

    static std::string PortReceives(SerialPort& port, size_t count) {
        std::string got;
        std::vector<uint8_t> buffer(8095);
        static_cast<void>(QTest::qWaitFor(
            [&] {
                const size_t n = port.Read(buffer.data(), buffer.size());
                got.append(reinterpret_cast<const char*>(buffer.data()), n);
                return got.size() >= count || !port.IsOpen();
            },
            kFarEndDeadlineMs));
        return got;
    }

    size_t PortSends(const std::string& bytes) {
        return port_.Write(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    }

    // The master end reports the line settings of the slave.
    termios LineSettings() const {
        termios settings{};
        EXPECT_EQ(::tcgetattr(far_->Fd(), &settings), 0);
        return settings;
    }

    std::optional<FarEnd> far_;
    PortMap map_;
    SerialPort port_{std::make_unique<QtSerialDevice>(), map_};
};

// Traffic is checked after the last change of rate: reconfiguring must keep the line raw.
TEST_F(QtSerialDeviceTest, OpensRawEightNoneOneTakesEveryRateAndPassesBytesUntranslated) {
    ASSERT_TRUE(port_.Open(kCom, 115200)) << port_.ErrorText();
    EXPECT_EQ(port_.DevicePath(), far_->Path());
    const termios line = LineSettings();
    EXPECT_EQ(::cfgetispeed(&line), B115200);
    EXPECT_EQ(line.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(line.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
    EXPECT_EQ(line.c_iflag & (IXON | IXOFF | ICRNL | INLCR | IGNCR | ISTRIP), 0u);
    EXPECT_EQ(line.c_lflag & (ICANON | ECHO), 0u);
    EXPECT_EQ(line.c_oflag & OPOST, 0u);

    const speed_t speeds[SerialPort::kRateCount] = {B300,    B600,    B1200,  B2400,  B4800,
                                                    B9600,   B19200,  B38400, B57600, B115200,
                                                    B230400, B460800, B921600};
    for (int i = 0; i < SerialPort::RateCount(); ++i) {
        port_.SetRate(SerialPort::RateAt(i));
        const termios now = LineSettings();
        EXPECT_EQ(::cfgetospeed(&now), speeds[i]) << SerialPort::RateAt(i);
    }
    EXPECT_EQ(port_.ErrorText(), "");
    ASSERT_TRUE(port_.IsOpen());

    // Line ends, NUL, XON/XOFF and high bytes must all arrive as sent.
    static constexpr char kToPort[] = "$PKVTS,TXT,0,HELLO\r\n\0\x11\x13\xB0\xFF\n\r";
    const std::string toPort(kToPort, sizeof kToPort - 1);
    far_->Send(toPort);
    EXPECT_EQ(PortReceives(port_, toPort.size()), toPort);

    static constexpr char kFromPort[] = "$PKVTK,1\r\n\r\0\x11\x13\xFF\n";
    const std::string fromPort(kFromPort, sizeof kFromPort - 1);
    EXPECT_EQ(PortSends(fromPort), fromPort.size());
    EXPECT_EQ(far_->Receive(fromPort.size()), fromPort);
}

// A receiver streaming several constellations: the line opens at a rate
// above 115,200 and carries a burst of its sentences, and the answer, whole.
TEST_F(QtSerialDeviceTest, AFastRateIsTheLinesRateAndCarriesTextBothWays) {
    ASSERT_TRUE(port_.Open(kCom, 460800)) << port_.ErrorText();
    const termios line = LineSettings();
    EXPECT_EQ(::cfgetispeed(&line), B460800);
    EXPECT_EQ(::cfgetospeed(&line), B460800);

    // No more than a pseudo-terminal holds before its reader comes (4 KB):
    // the port reads only when the cycle asks.
    std::string burst;
    for (int i = 0; i < 40; ++i)
        burst += "$GNGGA,123519.00,4807.0385,N,01131.0000,E,1,24,0.6,545.4,M,46.9,M,,*4C\r\n";
    far_->Send(burst);
    EXPECT_EQ(PortReceives(port_, burst.size()), burst);

    const std::string answer = "$PKVTQ,RID*3B\r\n";
    EXPECT_EQ(PortSends(answer), answer.size());
    EXPECT_EQ(far_->Receive(answer.size()), answer);
}

TEST_F(QtSerialDeviceTest, AMissingOrTakenDeviceIsRefused) {
    map_.SetExplicit(kCom + 1, "/dev/zelsim-no-such-line");
    EXPECT_FALSE(port_.Open(kCom + 1, 38400));
    EXPECT_FALSE(port_.IsOpen());
    EXPECT_EQ(port_.ErrorText(), "");

    ASSERT_TRUE(port_.Open(kCom, 38400));
    SerialPort second(std::make_unique<QtSerialDevice>(), map_);
    EXPECT_FALSE(second.Open(kCom, 38400));
    EXPECT_FALSE(second.IsOpen());

    // The first opener is unharmed, and the device is free once it closes.
    far_->Send("still\n");
    EXPECT_EQ(PortReceives(port_, 6), "still\n");
    port_.Close();
    EXPECT_TRUE(second.Open(kCom, 38400));
}

TEST_F(QtSerialDeviceTest, AFarEndThatClosesIsALostDeviceToReadsAndToWrites) {
    ASSERT_TRUE(port_.Open(kCom, 38400));
    far_->Send("x");
    ASSERT_EQ(PortReceives(port_, 1), "x");
    far_->Close();
    PortReceives(port_, 1);
    EXPECT_FALSE(port_.IsOpen());
    EXPECT_TRUE(port_.TakeDeviceLost());
    EXPECT_FALSE(port_.TakeDeviceLost());

    // On a fresh line, a port that only writes learns of the loss as well.
    PlugIn();
    ASSERT_TRUE(port_.Open(kCom, 38400));
    far_->Close();
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            PortSends("$PKVTK,0\r\n");
            return !port_.IsOpen();
        },
        kFarEndDeadlineMs));
    EXPECT_TRUE(port_.TakeDeviceLost());
}

}  // namespace

}  // namespace zelsim
