#pragma once

// Resource limits that make writes fail for this process, also for root, whom a read-only
// folder does not stop.

#include <sys/resource.h>
#include <unistd.h>

#include <csignal>

namespace chromint::test {

// Fills the disk: writes beyond a few bytes fail as on a full disk.
class ScopedFileSizeLimit {
public:
    explicit ScopedFileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &old_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~ScopedFileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }

private:
    rlimit old_{};
    void (*oldHandler_)(int) = nullptr;
};

// No file can be created or opened: every descriptor the process may have is taken.
class ScopedNoFreeFileDescriptor {
public:
    ScopedNoFreeFileDescriptor() {
        ::getrlimit(RLIMIT_NOFILE, &old_);
        const int lowestFree = ::dup(0);
        if (lowestFree >= 0)
            ::close(lowestFree);
        rlimit limit = old_;
        limit.rlim_cur = rlim_t(lowestFree < 0 ? 0 : lowestFree);
        ::setrlimit(RLIMIT_NOFILE, &limit);
    }
    ~ScopedNoFreeFileDescriptor() { ::setrlimit(RLIMIT_NOFILE, &old_); }

private:
    rlimit old_{};
};

} // namespace chromint::test
