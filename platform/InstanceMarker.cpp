#include "InstanceMarker.h"

#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace chromint {

namespace {
std::string RuntimeFolder() {
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime != nullptr && *runtime)
        return runtime;
    return "/tmp";
}
} // namespace

InstanceMarker::InstanceMarker(std::string_view name)
    : path_(RuntimeFolder() + "/" + std::string(name) + ".lock") {
    fd_ = ::open(path_.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ >= 0 && ::flock(fd_, LOCK_SH | LOCK_NB) != 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

InstanceMarker::~InstanceMarker() {
    if (fd_ >= 0)
        ::close(fd_);
}

} // namespace chromint
