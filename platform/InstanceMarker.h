#pragma once

#include <string>
#include <string_view>

namespace chromint {

// Marks that an instance of the program runs, for as long as the object lives: a lock file
// named after the instance in the user's runtime folder, held with a shared lock. Nothing
// tests it and a second instance takes it too; other tools can look for it.
class InstanceMarker {
public:
    explicit InstanceMarker(std::string_view name);
    ~InstanceMarker();
    InstanceMarker(const InstanceMarker&) = delete;
    InstanceMarker& operator=(const InstanceMarker&) = delete;

    bool Held() const { return fd_ >= 0; }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
    int fd_ = -1;
};

} // namespace chromint
