// zelsim_line_floor PORT: the least any Qt program spends on a line it reads
// as ZelSim does, as a reference for scripts/bench-cpu. It reads the port on
// a 10 ms timer and shows the bytes received in a label ten times a second,
// and does nothing else: no framing, no monitor, no parts.
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <array>
#include <cstdint>
#include <cstdio>

namespace {

constexpr int kTickIntervalMs = 10;
constexpr int kTicksPerDisplay = 10;
constexpr size_t kReadChunk = 8192;

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: zelsim_line_floor PORT\n");
        return 2;
    }
    const int port = open(argv[1], O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (port < 0) {
        std::perror(argv[1]);
        return 1;
    }
    termios settings{};
    if (tcgetattr(port, &settings) == 0) {
        cfmakeraw(&settings);
        cfsetspeed(&settings, B115200);
        tcsetattr(port, TCSANOW, &settings);
    }

    QApplication app(argc, argv);
    QLabel shown("0 bytes");
    shown.resize(300, 40);
    shown.show();

    std::array<char, kReadChunk> buffer{};
    uint64_t received = 0;
    int ticks = 0;
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        // One read a tick, as ZelSim's: the line brings about 115 bytes.
        const ssize_t n = read(port, buffer.data(), buffer.size());
        if (n > 0) received += static_cast<uint64_t>(n);
        if (++ticks % kTicksPerDisplay == 0) shown.setText(QString("%1 bytes").arg(received));
    });
    timer.start(kTickIntervalMs);
    const int result = QApplication::exec();
    close(port);
    return result;
}
