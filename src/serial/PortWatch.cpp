#include "serial/PortWatch.h"

#include "serial/Connection.h"
#include "serial/PortMap.h"
#include "serial/QtSerialDevice.h"

namespace zelsim {

namespace {
constexpr const char* kDeviceFolder = "/dev";
}  // namespace

PortWatch::PortWatch(Connection& connection, QObject* parent)
    : QObject(parent), connection_(connection) {
    settle_.setSingleShot(true);
    settle_.setInterval(kSettleMs);
    connect(&settle_, &QTimer::timeout, this, &PortWatch::Rescan);
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, &settle_,
            qOverload<>(&QTimer::start));
    Watch();
}

void PortWatch::Watch() {
    // The by-id folder comes and goes with the first and the last adapter.
    for (const char* folder : {kDeviceFolder, QtSerialDevice::kByIdFolder})
        if (!watcher_.directories().contains(folder)) watcher_.addPath(folder);
}

void PortWatch::Rescan() {
    connection_.PortsFound(QtSerialDevice::AvailablePorts(),
                           PortMap::LabelsFromLinks(QtSerialDevice::kByIdFolder));
    Watch();
    emit rescanned();
}

}  // namespace zelsim
