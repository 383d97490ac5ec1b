#pragma once

// Helpers for tests of the settings file: a private configuration folder and file contents.

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <string>
#include <system_error>
#include <vector>

namespace chromint::testing {

// A private XDG_CONFIG_HOME for one test: created empty, set in the environment, and removed
// with everything in it at the end, the previous value restored.
class TempConfigHome {
public:
    TempConfigHome() {
        std::error_code error;
        std::filesystem::path base = std::filesystem::temp_directory_path(error);
        if (error)
            base = "/tmp";
        std::string pattern = (base / "chromint-config-XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr)
            dir_ = pattern;
        if (const char* old = std::getenv("XDG_CONFIG_HOME"))
            previous_ = old;
        ::setenv("XDG_CONFIG_HOME", dir_.c_str(), 1);
    }
    TempConfigHome(const TempConfigHome&) = delete;
    TempConfigHome& operator=(const TempConfigHome&) = delete;
    ~TempConfigHome() {
        if (previous_)
            ::setenv("XDG_CONFIG_HOME", previous_->c_str(), 1);
        else
            ::unsetenv("XDG_CONFIG_HOME");
        if (dir_.empty())
            return;
        std::error_code ignored;
        // A test may have left a folder read-only.
        for (const auto& entry : std::filesystem::recursive_directory_iterator(dir_, ignored)) {
            if (entry.is_directory(ignored) && !entry.is_symlink(ignored))
                std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                             std::filesystem::perm_options::add, ignored);
        }
        std::filesystem::remove_all(dir_, ignored);
    }

    const std::filesystem::path& dir() const { return dir_; }
    std::filesystem::path folder() const { return dir_ / "Qelvo"; }
    std::filesystem::path file() const { return folder() / "Chromint.conf"; }
    std::filesystem::path damagedFile() const { return folder() / "Chromint.conf.damaged"; }

    // Writes the settings file as given, creating its folder.
    void WriteSettingsFile(const std::string& bytes) const {
        std::filesystem::create_directories(folder());
        std::ofstream(file(), std::ios::binary | std::ios::trunc) << bytes;
    }

    // Names in the settings folder, to spot temporary files left behind.
    std::vector<std::string> FolderEntries() const {
        std::vector<std::string> names;
        std::error_code ignored;
        for (const auto& entry : std::filesystem::directory_iterator(folder(), ignored))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    std::filesystem::path dir_;
    std::optional<std::string> previous_;
};

inline std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Bytes no settings file holds, the same for the same seed.
inline std::string Junk(std::size_t size, unsigned seed) {
    std::mt19937 random(seed);
    std::string junk(size, '\0');
    for (char& ch : junk)
        ch = static_cast<char>(random());
    return junk;
}

} // namespace chromint::testing
