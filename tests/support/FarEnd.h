#pragma once
#include <fcntl.h>
#include <gtest/gtest.h>
#include <pty.h>
#include <unistd.h>

#include <QTest>
#include <string>
#include <string_view>
#include <utility>

namespace zelsim {

// Generous for a loaded machine; every wait ends as soon as its condition holds.
inline constexpr int kFarEndDeadlineMs = 15000;

// Reads `fd` until a line holding `wanted` has ended, keeping the event loop
// running; returns everything read, whether or not it came.
inline std::string ReadThroughLine(int fd, std::string_view wanted) {
    std::string got;
    static_cast<void>(QTest::qWaitFor(
        [&] {
            char chunk[4096];
            const ssize_t n = ::read(fd, chunk, sizeof chunk);
            if (n > 0) got.append(chunk, static_cast<size_t>(n));
            const size_t at = got.find(wanted);
            return at != std::string::npos && got.find("\r\n", at) != std::string::npos;
        },
        kFarEndDeadlineMs));
    return got;
}

// The line's far end on a pseudo-terminal the test holds; the code under test
// opens Path().
class FarEnd {
  public:
    // With a `link`, the line is reached through it, as through the fixed
    // name a USB adapter gets: plugging in again makes a new device under
    // the same name.
    explicit FarEnd(std::string link = "") : link_(std::move(link)) { PlugIn(); }
    ~FarEnd() { Close(); }
    FarEnd(const FarEnd&) = delete;
    FarEnd& operator=(const FarEnd&) = delete;

    void PlugIn() {
        int slave = -1;
        char name[128] = {};
        if (::openpty(&master_, &slave, name, nullptr, nullptr) != 0) return;
        ::close(slave);
        ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
        ::fcntl(master_, F_SETFD, FD_CLOEXEC);  // a child process must not keep the line up
        path_ = name;
        if (link_.empty()) return;
        const std::string fresh = link_ + ".new";
        ::unlink(fresh.c_str());
        if (::symlink(name, fresh.c_str()) == 0) ::rename(fresh.c_str(), link_.c_str());
        path_ = link_;
    }

    bool IsOpen() const { return master_ >= 0; }
    int Fd() const { return master_; }
    const std::string& Path() const { return path_; }

    // A burst larger than the pseudo-terminal holds goes out as the other
    // side takes it off the line.
    void Send(std::string_view bytes) {
        size_t sent = 0;
        const bool all = QTest::qWaitFor(
            [&] {
                const ssize_t n = ::write(master_, bytes.data() + sent, bytes.size() - sent);
                if (n > 0) sent += static_cast<size_t>(n);
                return sent == bytes.size();
            },
            kFarEndDeadlineMs);
        ASSERT_TRUE(all) << sent << " of " << bytes.size() << " bytes written";
    }

    // Whatever came by the deadline; the caller compares it.
    std::string Receive(size_t count) {
        std::string got;
        static_cast<void>(QTest::qWaitFor(
            [&] {
                got += TakeAvailable();
                return got.size() >= count;
            },
            kFarEndDeadlineMs));
        return got;
    }

    // What has arrived, without waiting.
    std::string TakeAvailable() {
        std::string got;
        char chunk[4096];
        ssize_t n = 0;
        while ((n = ::read(master_, chunk, sizeof chunk)) > 0)
            got.append(chunk, static_cast<size_t>(n));
        return got;
    }

    void Close() {
        if (master_ >= 0) ::close(master_);
        master_ = -1;
    }

  private:
    std::string link_;
    int master_ = -1;
    std::string path_;
};

}  // namespace zelsim
