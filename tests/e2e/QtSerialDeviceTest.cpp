// The real device under SerialPort, on a pseudo-terminal pair: the test holds
// the master end and plays the far end of the line.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "serial/PortMap.h"
#include "serial/QtSerialDevice.h"
#include "serial/SerialPort.h"

namespace zelsim {

namespace {
using Clock = std::chrono::steady_clock;
constexpr auto kDeadline = std::chrono::seconds(2);
constexpr uint8_t kCom = 1;

class QtSerialDeviceTest : public ::testing::Test {
  protected:
    void SetUp() override { OpenFarEnd(); }
    void TearDown() override { CloseFarEnd(); }

    // A fresh pseudo-terminal pair behind kCom.
    void OpenFarEnd() {
        int slave = -1;
        char name[128] = {};
        ASSERT_EQ(::openpty(&master_, &slave, name, nullptr, nullptr), 0) << "openpty failed";
        ::close(slave);
        ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
        slavePath_ = name;
        map_.SetExplicit(kCom, slavePath_);
    }

    void CloseFarEnd() {
        if (master_ >= 0) ::close(master_);
        master_ = -1;
    }

    void FarEndSends(const std::string& bytes) {
        ASSERT_EQ(::write(master_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }

    std::string FarEndReceives(size_t count) {
        std::string got;
        const auto end = Clock::now() + kDeadline;
        while (got.size() < count && Clock::now() < end) {
            pollfd wait{master_, POLLIN, 0};
            if (::poll(&wait, 1, 10) <= 0) continue;
            char chunk[256];
            const ssize_t n = ::read(master_, chunk, sizeof chunk);
            if (n > 0) got.append(chunk, static_cast<size_t>(n));
        }
        return got;
    }

    static std::string PortReceives(SerialPort& port, size_t count) {
        std::string got;
        std::vector<uint8_t> buffer(8095);
        const auto end = Clock::now() + kDeadline;
        while (got.size() < count && port.IsOpen() && Clock::now() < end) {
            const size_t n = port.Read(buffer.data(), buffer.size());
            if (n == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
            got.append(reinterpret_cast<const char*>(buffer.data()), n);
        }
        return got;
    }

    size_t PortSends(const std::string& bytes) {
        return port_.Write(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    }

    // The master end reports the line settings of the slave.
    termios LineSettings() const {
        termios settings{};
        EXPECT_EQ(::tcgetattr(master_, &settings), 0);
        return settings;
    }

    int master_ = -1;
    std::string slavePath_;
    PortMap map_;
    SerialPort port_{std::make_unique<QtSerialDevice>(), map_};
};

// Traffic is checked after the last change of rate: reconfiguring must keep the line raw.
TEST_F(QtSerialDeviceTest, OpensRawEightNoneOneTakesEveryRateAndPassesBytesUntranslated) {
    ASSERT_TRUE(port_.Open(kCom, 115200)) << port_.ErrorText();
    EXPECT_EQ(port_.DevicePath(), slavePath_);
    const termios line = LineSettings();
    EXPECT_EQ(::cfgetispeed(&line), B115200);
    EXPECT_EQ(line.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(line.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
    EXPECT_EQ(line.c_iflag & (IXON | IXOFF | ICRNL | INLCR | IGNCR | ISTRIP), 0u);
    EXPECT_EQ(line.c_lflag & (ICANON | ECHO), 0u);
    EXPECT_EQ(line.c_oflag & OPOST, 0u);

    const speed_t speeds[SerialPort::kRateCount] = {B300,  B600,   B1200,  B2400,  B4800,
                                                    B9600, B19200, B38400, B57600, B115200};
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
    FarEndSends(toPort);
    EXPECT_EQ(PortReceives(port_, toPort.size()), toPort);

    static constexpr char kFromPort[] = "$PKVTK,1\r\n\r\0\x11\x13\xFF\n";
    const std::string fromPort(kFromPort, sizeof kFromPort - 1);
    EXPECT_EQ(PortSends(fromPort), fromPort.size());
    EXPECT_EQ(FarEndReceives(fromPort.size()), fromPort);
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
    FarEndSends("still\n");
    EXPECT_EQ(PortReceives(port_, 6), "still\n");
    port_.Close();
    EXPECT_TRUE(second.Open(kCom, 38400));
}

TEST_F(QtSerialDeviceTest, AFarEndThatClosesIsALostDeviceToReadsAndToWrites) {
    ASSERT_TRUE(port_.Open(kCom, 38400));
    FarEndSends("x");
    ASSERT_EQ(PortReceives(port_, 1), "x");
    CloseFarEnd();
    PortReceives(port_, 1);
    EXPECT_FALSE(port_.IsOpen());
    EXPECT_TRUE(port_.TakeDeviceLost());
    EXPECT_FALSE(port_.TakeDeviceLost());

    // On a fresh line, a port that only writes learns of the loss as well.
    OpenFarEnd();
    ASSERT_TRUE(port_.Open(kCom, 38400));
    CloseFarEnd();
    const auto end = Clock::now() + kDeadline;
    while (port_.IsOpen() && Clock::now() < end) PortSends("$PKVTK,0\r\n");
    EXPECT_FALSE(port_.IsOpen());
    EXPECT_TRUE(port_.TakeDeviceLost());
}

}  // namespace

}  // namespace zelsim
