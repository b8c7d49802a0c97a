#include "serial/MemorySerialDevice.h"

#include <algorithm>
#include <utility>

namespace zelsim {

namespace {
// What the port owns: every call goes on to the shared line.
class PluggedLine final : public SerialDevice {
  public:
    explicit PluggedLine(std::shared_ptr<MemorySerialDevice> line) : line_(std::move(line)) {}
    bool Open(const std::string& path) override { return line_->Open(path); }
    void Close() override { line_->Close(); }
    bool IsOpen() const override { return line_->IsOpen(); }
    ConfigResult Configure(uint32_t rate) override { return line_->Configure(rate); }
    long Read(uint8_t* buffer, size_t size) override { return line_->Read(buffer, size); }
    long Write(const uint8_t* bytes, size_t count) override { return line_->Write(bytes, count); }
    void Purge() override { line_->Purge(); }
    void ClearErrors() override { line_->ClearErrors(); }
    bool SetRts(bool raised) override { return line_->SetRts(raised); }
    bool HasFailed() const override { return line_->HasFailed(); }
    OpenError LastOpenError() const override { return line_->LastOpenError(); }

  private:
    std::shared_ptr<MemorySerialDevice> line_;
};
}  // namespace

std::unique_ptr<SerialDevice> MemorySerialDevice::Plug(std::shared_ptr<MemorySerialDevice> line) {
    return std::make_unique<PluggedLine>(std::move(line));
}

bool MemorySerialDevice::Open(const std::string& path) {
    if (open_ || refuseOpen_ || unplugged_) return false;
    open_ = true;
    openedPath_ = path;
    ++openCount_;
    return true;
}

void MemorySerialDevice::Close() {
    if (!open_) return;
    open_ = false;
    ++closeCount_;
}

SerialDevice::ConfigResult MemorySerialDevice::Configure(uint32_t rate) {
    ++configureCount_;
    if (!open_) return {ConfigStep::GetState, kClosedErrorCode};
    if (failStep_ == ConfigStep::GetState || failStep_ == ConfigStep::SetState)
        return {failStep_, failCode_};
    // The line settings are written before the time-outs, so a time-out
    // failure leaves the new rate in place.
    configuredRate_ = rate;
    rts_ = true;
    if (failStep_ != ConfigStep::None) return {failStep_, failCode_};
    return {};
}

long MemorySerialDevice::Read(uint8_t* buffer, size_t size) {
    if (!open_ || unplugged_) return -1;
    const size_t n = std::min(size, incoming_.size());
    std::copy_n(incoming_.data(), n, buffer);
    incoming_.erase(0, n);
    return static_cast<long>(n);
}

long MemorySerialDevice::Write(const uint8_t* bytes, size_t count) {
    if (!open_ || unplugged_) return -1;
    ++writeCount_;
    const size_t room = written_.size() < unreadLimit_ ? unreadLimit_ - written_.size() : 0;
    const size_t taken = std::min(count, room);
    written_.append(reinterpret_cast<const char*>(bytes), taken);
    return static_cast<long>(taken);
}

void MemorySerialDevice::Purge() {
    ++purgeCount_;
    incoming_.clear();
}

void MemorySerialDevice::ClearErrors() {
    ++clearErrorsCount_;
}

bool MemorySerialDevice::SetRts(bool raised) {
    ++rtsCallCount_;
    if (!open_ || unplugged_) return false;
    rts_ = raised;
    return true;
}

void MemorySerialDevice::Inject(std::string_view bytes) {
    incoming_.append(bytes);
}

std::string MemorySerialDevice::TakeWritten() {
    return std::exchange(written_, std::string());
}

void MemorySerialDevice::FailConfiguration(ConfigStep step, int errorCode) {
    failStep_ = step;
    failCode_ = step == ConfigStep::None ? 0 : errorCode;
}

}  // namespace zelsim
