// A limit on the size of the files this process writes, standing in for a full disk in tests.
#pragma once

#include <sys/resource.h>

#include <csignal>

namespace testsupport {

// While it lives, a write that would take a file past `bytes` fails with EFBIG (the limit
// binds root too; SIGXFSZ is ignored so the write fails rather than ending the process).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        set_ = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit() { Lift(); }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;
    bool Set() const { return set_; }
    // Ends the limit before the object does.
    void Lift() {
        if (lifted_) return;
        lifted_ = true;
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, oldHandler_);
    }

private:
    rlimit saved_{};
    void (*oldHandler_)(int) = nullptr;
    bool set_ = false;
    bool lifted_ = false;
};

}  // namespace testsupport
