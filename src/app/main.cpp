#include <unistd.h>

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "app/AppKeyFilter.h"
#include "app/CommandLine.h"
#include "app/QtUserDialogs.h"
#include "app/SignalCloser.h"
#include "app/SimulatorProcess.h"
#include "app/TfZelSim.h"
#include "app/ZelSim.h"
#include "base/ConfigFile.h"
#include "base/LocalTime.h"
#include "base/SteadyTickClock.h"
#include "serial/PortMap.h"
#include "serial/QtSerialDevice.h"

namespace zelsim {
namespace {
constexpr int kExitUsage = 2;
constexpr int kDemoComPort = 1;
constexpr uint32_t kDemoBaud = 38400;  // unless --baud asks for another
const char* const kSimulatorName = "zelsim-sim";

std::string CurrentDirectory() {
    std::error_code error;
    const std::filesystem::path cwd = std::filesystem::current_path(error);
    return error ? std::string() : cwd.string();
}
}  // namespace

int RunZelSim(int argc, char** argv) {
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
        std::fprintf(stderr, "zelsim: %s\n%s", cl.error.c_str(),
                     CommandLine::Usage("zelsim").c_str());
        return kExitUsage;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName("ZelSim");
    QApplication::setApplicationVersion(ZELSIM_VERSION_TEXT);
    SignalCloser signalCloser;

    ConfigFile config(cl.configFile.empty() ? ConfigFile::DefaultPath(CurrentDirectory())
                                            : cl.configFile);

    // The demo's line is a virtual one: the simulated devices make it and
    // say where it is.
    SimulatorProcess simulator;
    std::string demoError;
    // The simulated receiver is set to the demo's rate, so a fast line
    // can be tried without a fast receiver.
    const uint32_t demoBaud = cl.baud != 0 ? cl.baud : kDemoBaud;
    if (cl.demo) {
        const std::string program =
            (QApplication::applicationDirPath() + "/" + kSimulatorName).toStdString();
        // A device that asks who the program is shows the answer going out.
        const std::vector<std::string> simArgs = {"--parent-pid", std::to_string(::getpid()),
                                                  "--ask-identity", "--receiver-baud",
                                                  std::to_string(demoBaud)};
        if (!simulator.Start(program, simArgs)) demoError = simulator.ErrorText();
    }

    PortMap portMap;
    portMap.SetDiscovered(QtSerialDevice::AvailablePorts());
    portMap.SetLabels(PortMap::LabelsFromLinks(QtSerialDevice::kByIdFolder));
    portMap.LoadSection(config);
    for (const auto& [number, device] : cl.comDevices) portMap.SetExplicit(number, device);
    if (simulator.IsRunning()) portMap.SetExplicit(kDemoComPort, simulator.DevicePath());

    SteadyTickClock clock;
    QtUserDialogs dialogs;
    ZelSim zelSim(clock, std::make_unique<QtSerialDevice>(), portMap, config, dialogs,
                  SystemLocalTime, CurrentDirectory());
    zelSim.LoadSettings();
    if (cl.port) zelSim.Connection().SelectComPort(cl.port);
    if (cl.baud) zelSim.Connection().SelectBaud(cl.baud);
    // The simulated line is the demo's, not the user's choice to keep.
    if (simulator.IsRunning()) zelSim.Connection().SelectForThisRun(kDemoComPort, demoBaud);
    if (cl.demo) zelSim.About().SetDemo(simulator, kDemoComPort);

    TfZelSim window(zelSim);
    dialogs.SetParent(&window);
    AppKeyFilter keyFilter(zelSim, &window);
    app.installEventFilter(&keyFilter);
    signalCloser.CloseOnSignal([&window] { window.CloseUnattended(); });
    QObject::connect(&window, &TfZelSim::closed, &app, &QApplication::quit);

    // For captures on test rigs that nobody watches.
    if (cl.log) zelSim.MessageLog().StartWhenConnected(*cl.log);
    if (cl.connect || simulator.IsRunning()) zelSim.ComOpenClose();
    window.ApplyControls();
    window.show();
    // For rigs that always watch the controller: as a click on the button.
    if (cl.graph) window.OpenGraph();
    if (!demoError.empty())
        std::fprintf(stderr, "zelsim: the simulated devices did not start: %s\n",
                     demoError.c_str());
    // What is said in boxes at start is said once the program runs: a signal
    // must still end the program while a box is open, and it cannot while
    // the box's own loop runs before the program's.
    // A window closed by a signal while a box was open asks nothing more.
    QTimer::singleShot(0, &window, [&window, &zelSim, &demoError, file = cl.graphFile] {
        zelSim.SayStartProblems();
        if (!window.isVisible()) return;
        if (!demoError.empty())
            QMessageBox::warning(
                &window, "Demo Not Started",
                QString::fromStdString("The simulated devices did not start:\n" + demoError));
        if (!window.isVisible()) return;
        if (!file.empty()) window.ShowGraphFile(file);
    });
    return app.exec();
}

}  // namespace zelsim

int main(int argc, char** argv) {
    return zelsim::RunZelSim(argc, argv);
}
