#pragma once
#include <signal.h>
#include <sys/resource.h>

namespace zelsim {

// A full disk, for root as for anyone: while it lives, a write past `bytes`
// fails with EFBIG instead of killing the process with SIGXFSZ.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &old_);
        rlimit small = old_;
        small.rlim_cur = bytes;
        oldHandler_ = ::signal(SIGXFSZ, SIG_IGN);
        applied_ = ::setrlimit(RLIMIT_FSIZE, &small) == 0;
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &old_);
        ::signal(SIGXFSZ, oldHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    bool Applied() const { return applied_; }

  private:
    rlimit old_{};
    void (*oldHandler_)(int) = SIG_DFL;
    bool applied_ = false;
};

}  // namespace zelsim
