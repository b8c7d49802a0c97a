#include <QApplication>
#include <cstdio>
#include <memory>

#include "app/AppKeyFilter.h"
#include "app/CommandLine.h"
#include "app/SignalCloser.h"
#include "app/Station.h"
#include "app/SteadyTickClock.h"
#include "app/TfZelSim.h"
#include "serial/PortMap.h"
#include "serial/QtSerialDevice.h"

namespace {
constexpr int kExitUsage = 2;
}

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    const CommandLine cl = CommandLine::Parse(args);
    if (cl.help) {
        std::fputs(CommandLine::Usage("zelsim").c_str(), stdout);
        return 0;
    }
    if (cl.version) {
        std::printf("zelsim %s\n", ZELSIM_VERSION_TEXT);
        return 0;
    }
    if (!cl.error.empty()) {
        std::fprintf(stderr, "zelsim: %s\n%s", cl.error.c_str(), CommandLine::Usage("zelsim").c_str());
        return kExitUsage;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName("ZelSim");
    QApplication::setApplicationVersion(ZELSIM_VERSION_TEXT);

    PortMap portMap;
    portMap.SetDiscovered(QtSerialDevice::AvailablePorts());
    for (const auto& [number, device] : cl.comDevices) portMap.SetExplicit(number, device);

    SteadyTickClock clock;
    Station station(clock, std::make_unique<QtSerialDevice>(), portMap);
    if (cl.port) station.SelectComPort(cl.port);
    if (cl.baud) station.SelectBaud(cl.baud);

    TfZelSim window(station);
    AppKeyFilter keyFilter(station);
    app.installEventFilter(&keyFilter);
    SignalCloser signalCloser(window);
    QObject::connect(&window, &TfZelSim::closed, &app, &QApplication::quit);

    if (cl.connect) station.ComOpenClose();
    window.ApplyControls();
    window.show();
    return app.exec();
}
