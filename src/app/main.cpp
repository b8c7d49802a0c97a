#include <QApplication>
#include <QMessageBox>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <unistd.h>

#include "app/AppKeyFilter.h"
#include "app/CommandLine.h"
#include "app/ConfigFile.h"
#include "app/Settings.h"
#include "app/SignalCloser.h"
#include "app/SimulatorProcess.h"
#include "app/Station.h"
#include "app/SteadyTickClock.h"
#include "app/TfZelSim.h"
#include "serial/PortMap.h"
#include "serial/QtSerialDevice.h"

namespace {
constexpr int kExitUsage = 2;
constexpr int kDemoComPort = 1;
constexpr uint32_t kDemoBaud = 38400;
const char* const kSimulatorName = "zelsim-sim";

std::string CurrentDirectory() {
    std::error_code error;
    const std::filesystem::path cwd = std::filesystem::current_path(error);
    return error ? std::string() : cwd.string();
}
}  // namespace

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
    SignalCloser signalCloser;

    ConfigFile config(cl.configFile.empty() ? ConfigFile::DefaultPath(CurrentDirectory())
                                            : cl.configFile);
    Settings settings;
    settings.Load(config);

    // The demo's line is a virtual one: the simulated devices make it and
    // say where it is.
    SimulatorProcess simulator;
    std::string demoError;
    if (cl.demo) {
        const std::string program =
            (QApplication::applicationDirPath() + "/" + kSimulatorName).toStdString();
        const std::vector<std::string> args = {"--parent-pid", std::to_string(::getpid())};
        if (!simulator.Start(program, args)) demoError = simulator.ErrorText();
    }

    PortMap portMap;
    portMap.SetDiscovered(QtSerialDevice::AvailablePorts());
    for (const auto& [number, device] : settings.ports) portMap.SetExplicit(number, device);
    for (const auto& [number, device] : cl.comDevices) portMap.SetExplicit(number, device);
    if (simulator.IsRunning()) portMap.SetExplicit(kDemoComPort, simulator.DevicePath());

    SteadyTickClock clock;
    Station station(clock, std::make_unique<QtSerialDevice>(), portMap);
    station.ApplySettings(settings);
    if (cl.port) station.SelectComPort(cl.port);
    if (cl.baud) station.SelectBaud(cl.baud);
    if (simulator.IsRunning()) {
        station.SelectComPort(kDemoComPort);
        station.SelectBaud(kDemoBaud);
    }

    TfZelSim window(station);
    window.ApplyPlacement(settings);
    AppKeyFilter keyFilter(station);
    app.installEventFilter(&keyFilter);
    signalCloser.CloseOnSignal(&window);

    QObject::connect(&window, &TfZelSim::closed, &app, [&] {
        Settings toSave = station.CollectSettings();
        window.StorePlacement(toSave);
        toSave.ReloadGpsWindowPositions(config);
        toSave.Save(config);
        const ConfigFile::SaveResult saved = config.Save();
        if (!saved.Saved() && !saved.message.empty()) {
            std::fprintf(stderr, "zelsim: %s\n", saved.message.c_str());
            if (!signalCloser.Fired() && saved.status == ConfigFile::SaveResult::Status::Failed)
                QMessageBox::warning(nullptr, "Settings Not Saved", QString::fromStdString(saved.message));
        }
        app.quit();
    });

    if (cl.connect || simulator.IsRunning()) station.ComOpenClose();
    window.ApplyControls();
    window.show();
    if (!demoError.empty()) {
        std::fprintf(stderr, "zelsim: the simulated devices did not start: %s\n", demoError.c_str());
        QMessageBox::warning(&window, "Demo Not Started",
                             QString::fromStdString("The simulated devices did not start:\n" + demoError));
    }
    return app.exec();
}
