#include "serial/SerialPort.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <utility>

namespace zelsim {

namespace {
struct RateRow {
    uint32_t rate;
    uint32_t microsPerByte;  // ten bit times, rounded up
};

// The three fastest serve today's receivers, which stream several
// constellations at many fixes a second.
constexpr RateRow kRates[SerialPort::kRateCount] = {
    {300, 33334}, {600, 16667}, {1200, 8334}, {2400, 4167}, {4800, 2084},
    {9600, 1042}, {19200, 521}, {38400, 261}, {57600, 174}, {115200, 87},
    {230400, 44}, {460800, 22}, {921600, 11},
};

const char* StepFormat(SerialDevice::ConfigStep step) {
    switch (step) {
        case SerialDevice::ConfigStep::GetState:
            return "GetCommState failed. Errno=%d\r\n";
        case SerialDevice::ConfigStep::SetState:
            return "SetCommState failed. Errno=%d\r\n";
        case SerialDevice::ConfigStep::GetTimeouts:
            return "GetCommTimeouts failed. Errno=%d\r\n";
        case SerialDevice::ConfigStep::SetTimeouts:
            return "SetCommTimeouts failed. Errno=%d\r\n";
        case SerialDevice::ConfigStep::None:
            break;
    }
    return "";
}
}  // namespace

SerialPort::SerialPort(std::unique_ptr<SerialDevice> device, const PortMap& portMap)
    : device_(std::move(device)), portMap_(portMap), rate_(kRates[kDefaultBaudIndex].rate) {}

uint32_t SerialPort::RateAt(int index) {
    return (index >= 0 && index < kRateCount) ? kRates[index].rate : 0;
}

int SerialPort::IndexOfRate(uint32_t rate) {
    for (int i = 0; i < kRateCount; ++i)
        if (kRates[i].rate == rate) return i;
    return -1;
}

uint32_t SerialPort::MicrosPerByte(int index) {
    return (index >= 0 && index < kRateCount) ? kRates[index].microsPerByte : 0;
}

uint8_t SerialPort::NextPortNumber(uint8_t menuIndex) {
    const int port = menuIndex + 1;
    return (port >= 1 && port <= PortMap::kMaxPort) ? static_cast<uint8_t>(port) : kRefusedPort;
}

bool SerialPort::Open(uint8_t portNumber, uint32_t rate) {
    if (portNumber == 0 || portNumber > PortMap::kMaxPort) {
        if (IndexOfRate(rate) >= 0) Close();
        return false;
    }
    return OpenPath(portNumber, portMap_.PathOf(portNumber), rate);
}

bool SerialPort::Reopen(uint32_t rate) {
    return OpenPath(portNumber_, devicePath_, rate);
}

bool SerialPort::OpenPath(uint8_t portNumber, const std::string& path, uint32_t rate) {
    const int index = IndexOfRate(rate);
    if (index < 0) return false;
    Close();
    rate_ = rate;
    baudIndex_ = static_cast<uint8_t>(index);
    portNumber_ = portNumber;
    devicePath_ = path;
    deviceLost_ = false;
    openError_ = {};
    if (devicePath_.empty()) {
        openError_ = {SerialDevice::OpenError::Kind::NoSuchDevice, ""};
        return false;
    }
    if (!device_->Open(devicePath_)) {
        openError_ = device_->LastOpenError();
        return false;
    }
    // A failed configuration leaves the device open (IsOpen says so) but the
    // port is not what was asked for.
    return Configure();
}

bool SerialPort::IsOpen() const {
    return device_->IsOpen();
}

bool SerialPort::WakeOnArrival(std::function<void()> wake) {
    return device_->WakeOnArrival(std::move(wake));
}

void SerialPort::Close() {
    if (device_->IsOpen()) device_->Close();
    output_.clear();
}

bool SerialPort::SetRate(uint32_t rate) {
    const int index = IndexOfRate(rate);
    if (index < 0) return false;
    if (rate == rate_) return true;
    rate_ = rate;
    baudIndex_ = static_cast<uint8_t>(index);
    return Configure();
}

bool SerialPort::Configure() {
    if (!device_->IsOpen()) return false;
    const SerialDevice::ConfigResult result = device_->Configure(rate_);
    if (result.ok()) return true;
    lastError_ = result.errorCode;
    char text[88];
    std::snprintf(text, sizeof text, StepFormat(result.failedAt), result.errorCode);
    errorText_ = text;
    return false;
}

std::string SerialPort::DeviceName() const {
    return IsOpen() ? devicePath_ : std::string();
}

size_t SerialPort::Read(uint8_t* buffer, size_t size) {
    if (size < 2 || !device_->IsOpen()) return 0;
    const long n = device_->Read(buffer, size - 1);
    CheckDeviceFailed();
    if (n <= 0) return 0;
    bytesReceived_ += static_cast<uint64_t>(n);
    return static_cast<size_t>(n);
}

size_t SerialPort::WriteToDevice(const uint8_t* bytes, size_t count) {
    if (count == 0 || !device_->IsOpen()) return 0;
    const long n = device_->Write(bytes, count);
    CheckDeviceFailed();
    return n > 0 ? std::min(static_cast<size_t>(n), count) : 0;
}

void SerialPort::AddTransmitTime(size_t bytes) {
    // Saturate: a wrapped estimate would put the transmit arrow out while
    // the line is still busy for over an hour.
    const uint64_t busy = transmitBusy_ + static_cast<uint64_t>(MicrosPerByte(baudIndex_)) *
                                              static_cast<uint64_t>(bytes);
    transmitBusy_ = static_cast<uint32_t>(std::min<uint64_t>(busy, UINT32_MAX));
}

size_t SerialPort::Write(const uint8_t* bytes, size_t count) {
    if (!device_->IsOpen()) return 0;
    // Behind bytes that wait, nothing may overtake them.
    const size_t direct = output_.empty() ? WriteToDevice(bytes, count) : 0;
    if (!device_->IsOpen()) return 0;
    const size_t room = kOutputLimit > output_.size() ? kOutputLimit - output_.size() : 0;
    const size_t queued = std::min(count - direct, room);
    output_.append(reinterpret_cast<const char*>(bytes) + direct, queued);
    AddTransmitTime(direct + queued);
    return direct + queued;
}

bool SerialPort::WriteWhole(std::string_view line) {
    if (!device_->IsOpen()) return false;
    if (output_.size() + line.size() > kOutputLimit) {
        droppedBytes_ += line.size();
        return false;
    }
    return Write(reinterpret_cast<const uint8_t*>(line.data()), line.size()) == line.size();
}

void SerialPort::Drain() {
    if (output_.empty()) return;
    const size_t n =
        WriteToDevice(reinterpret_cast<const uint8_t*>(output_.data()), output_.size());
    output_.erase(0, n);
}

uint64_t SerialPort::TakeDroppedBytes() {
    return std::exchange(droppedBytes_, 0);
}

uint32_t SerialPort::DecayTransmitBusy(uint32_t previousTick, uint32_t currentTick) {
    const uint32_t elapsed = currentTick - previousTick;
    if (elapsed > kDecayResetMs) {
        transmitBusy_ = 0;
    } else {
        const uint32_t decay = elapsed * 1000u;
        transmitBusy_ = transmitBusy_ > decay ? transmitBusy_ - decay : 0;
    }
    return transmitBusy_;
}

void SerialPort::Purge() {
    if (!device_->IsOpen()) return;
    device_->Purge();
    output_.clear();
}

void SerialPort::ClearErrors() {
    if (device_->IsOpen()) device_->ClearErrors();
}

bool SerialPort::SetRts() {
    return device_->IsOpen() && device_->SetRts(true);
}

bool SerialPort::ClearRts() {
    return device_->IsOpen() && device_->SetRts(false);
}

void SerialPort::CheckDeviceFailed() {
    // Reading on from a handle whose device is gone would report "connected"
    // forever; a fatal device error is a close.
    if (device_->IsOpen() && device_->HasFailed()) {
        device_->Close();
        output_.clear();
        deviceLost_ = true;
    }
}

bool SerialPort::TakeDeviceLost() {
    const bool lost = deviceLost_;
    deviceLost_ = false;
    return lost;
}

}  // namespace zelsim
