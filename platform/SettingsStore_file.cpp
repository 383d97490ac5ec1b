// The settings store kept in one text file per user.

#include "SettingsFileFormat.h"
#include "SettingsStore.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>
#include <utility>

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace chromint {

namespace {

std::string ErrnoText(int error) {
    return std::strerror(error);
}

class FileDescriptor {
public:
    explicit FileDescriptor(int fd = -1) : fd_(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    int get() const { return fd_; }
    // Closing reports the last write errors of some file systems, so it is checked.
    bool Close() {
        const int fd = std::exchange(fd_, -1);
        return fd < 0 || ::close(fd) == 0;
    }

private:
    int fd_;
};

// Removes a temporary file unless it was renamed into place.
std::string ParentFolder(const std::string& path);

// The file a save is written to before it replaces the settings file. Where the file system
// allows, it has no name until just before the rename, so a save killed half-way leaves
// nothing behind in the user's folder; elsewhere it is "<base>.XXXXXX" from the start.
class TemporaryFile {
public:
    TemporaryFile() = default;
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
        if (!path_.empty())
            ::unlink(path_.c_str());
    }
    // Readable by the user only. Returns the open descriptor or -1.
    int Create(const std::string& base) {
        if (::access("/proc/self/fd", X_OK) == 0) {
            const int fd =
                ::open(ParentFolder(base).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
            if (fd >= 0)
                return fd;
        }
        std::string pattern = base + ".XXXXXX";
        const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
        if (fd >= 0)
            path_ = std::move(pattern);
        return fd;
    }
    // Gives a file made without a name the name "<base>.XXXXXX"; false with errno set when
    // that failed.
    bool Name(int fd, const std::string& base) {
        if (!path_.empty())
            return true;
        const std::string source = "/proc/self/fd/" + std::to_string(fd);
        static constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
        unsigned seed = static_cast<unsigned>(::getpid()) ^ static_cast<unsigned>(fd);
        for (int attempt = 0; attempt < 100; ++attempt) {
            std::string name = base + '.';
            for (int i = 0; i < 6; ++i) {
                seed = seed * 1103515245u + 12345u + static_cast<unsigned>(attempt);
                name += kLetters[(seed >> 16) % (sizeof kLetters - 1)];
            }
            if (::linkat(AT_FDCWD, source.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) ==
                0) {
                path_ = std::move(name);
                return true;
            }
            if (errno != EEXIST)
                return false;
        }
        return false;
    }
    // The name, or "a file beside <base>" before it has one.
    std::string Describe(const std::string& base) const {
        return path_.empty() ? "a file beside " + base : path_;
    }
    const std::string& path() const { return path_; }
    void Release() { path_.clear(); }

private:
    std::string path_;
};

bool WriteAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t written = ::write(fd, data.data(), data.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (written == 0) {
            errno = ENOSPC;
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

std::string ParentFolder(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

// Creates the folder and any missing parents, each readable by the user only, as the base
// directory conventions ask for.
bool MakeFolders(const std::string& folder, std::string& error) {
    std::size_t pos = 0;
    while (pos != std::string::npos) {
        pos = folder.find('/', pos + 1);
        const std::string part = folder.substr(0, pos);
        if (part.empty())
            continue;
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
            error = "cannot create the folder " + part + ": " + ErrnoText(errno);
            return false;
        }
    }
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        error = folder + " is not a folder";
        return false;
    }
    return true;
}

// A settings file reached through a symbolic link (as dotfile managers set them up) is
// replaced where the link points, so the link survives the save.
// A link to a file not yet written is followed one step.
std::string ResolveTarget(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
        return path;
    if (char* resolved = ::realpath(path.c_str(), nullptr)) {
        std::string target(resolved);
        std::free(resolved);
        return target;
    }
    std::string target(PATH_MAX, '\0');
    const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= target.size())
        return path;
    target.resize(static_cast<std::size_t>(length));
    return target.front() == '/' ? target : ParentFolder(path) + "/" + target;
}

// Writes data to a new file beside target and renames it over target: a crash or a full
// disk leaves either the old file or the new one, never a mixture.
bool ReplaceFile(const std::string& target, std::string_view data, std::string& error) {
    TemporaryFile temporary;
    FileDescriptor fd(temporary.Create(target));
    if (fd.get() < 0) {
        error = "cannot create a file beside " + target + ": " + ErrnoText(errno);
        return false;
    }
    if (!WriteAll(fd.get(), data) || ::fsync(fd.get()) != 0 || !temporary.Name(fd.get(), target) ||
        !fd.Close()) {
        error = "cannot write " + temporary.Describe(target) + ": " + ErrnoText(errno);
        return false;
    }
    if (::rename(temporary.path().c_str(), target.c_str()) != 0) {
        error = "cannot replace " + target + ": " + ErrnoText(errno);
        return false;
    }
    temporary.Release();
    // The rename itself reaches the disk with the folder; a failure here leaves a complete
    // file either way, so it is not reported.
    FileDescriptor folder(::open(ParentFolder(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() >= 0)
        ::fsync(folder.get());
    return true;
}

// Copies source to target through ReplaceFile, in pieces: a damaged file may be large.
bool CopyFile(const std::string& source, const std::string& target, std::string& error) {
    FileDescriptor in(::open(source.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (in.get() < 0) {
        error = "cannot read " + source + ": " + ErrnoText(errno);
        return false;
    }
    TemporaryFile temporary;
    FileDescriptor out(temporary.Create(target));
    if (out.get() < 0) {
        error = "cannot create a file beside " + target + ": " + ErrnoText(errno);
        return false;
    }
    char buffer[64 * 1024];
    while (true) {
        const ssize_t got = ::read(in.get(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            error = "cannot read " + source + ": " + ErrnoText(errno);
            return false;
        }
        if (got == 0)
            break;
        if (!WriteAll(out.get(), std::string_view(buffer, static_cast<std::size_t>(got)))) {
            error = "cannot write " + temporary.Describe(target) + ": " + ErrnoText(errno);
            return false;
        }
    }
    if (::fsync(out.get()) != 0 || !temporary.Name(out.get(), target) || !out.Close() ||
        ::rename(temporary.path().c_str(), target.c_str()) != 0) {
        error = "cannot write " + target + ": " + ErrnoText(errno);
        return false;
    }
    temporary.Release();
    return true;
}

// Keeps the damaged file as it is under the name target, before the save replaces it. A
// hard link costs nothing whatever the size; a copy serves file systems without links; a
// file that can be neither linked nor read is moved aside, which needs only the folder.
bool KeepDamagedFile(const std::string& file, const std::string& target, std::string& error) {
    if (::unlink(target.c_str()) != 0 && errno != ENOENT) {
        error = "cannot replace " + target + ": " + ErrnoText(errno);
        return false;
    }
    if (::link(file.c_str(), target.c_str()) == 0 || errno == ENOENT)
        return true;
    if (CopyFile(file, target, error))
        return true;
    if (::rename(file.c_str(), target.c_str()) == 0) {
        error.clear();
        return true;
    }
    return false;
}

struct FileContents {
    std::string text;
    bool exists = false;
    bool damaged = false;
};

FileContents ReadSettingsFile(const std::string& path) {
    FileContents contents;
    if (path.empty())
        return contents;
    // O_NONBLOCK: a pipe or device put in the file's place must not stall start-up.
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (fd.get() < 0) {
        contents.exists = errno != ENOENT && errno != ENOTDIR;
        contents.damaged = contents.exists;
        return contents;
    }
    contents.exists = true;
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        contents.damaged = true;
        return contents;
    }
    // One byte more than allowed tells an oversized file from one of exactly the limit.
    contents.text.resize(kMaxSettingsFileSize + 1);
    std::size_t size = 0;
    while (size < contents.text.size()) {
        const ssize_t got =
            ::read(fd.get(), contents.text.data() + size, contents.text.size() - size);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            contents.damaged = true;
            break;
        }
        if (got == 0)
            break;
        size += static_cast<std::size_t>(got);
    }
    if (size > kMaxSettingsFileSize) {
        contents.damaged = true;
        size = kMaxSettingsFileSize;
    }
    contents.text.resize(size);
    return contents;
}

class FileSettingsStore final : public SettingsStore {
public:
    explicit FileSettingsStore(std::string path) : path_(std::move(path)) {
        try {
            FileContents contents = ReadSettingsFile(path_);
            damaged_ = contents.damaged;
            if (contents.exists) {
                ParsedSettings parsed = ParseSettingsText(contents.text);
                root_ = std::move(parsed.root);
                damaged_ = damaged_ || parsed.damaged;
            }
        } catch (const std::exception&) {
            // Out of memory while reading: start empty and keep the file aside on saving.
            root_ = SettingsKey();
            damaged_ = true;
        }
    }

    bool OpenKey(std::string_view path, bool canCreate) override {
        open_ = false;
        std::optional<std::vector<std::string>> segments = SplitKeyPath(path);
        if (!segments)
            return false;
        if (root_.Find(*segments) == nullptr) {
            if (!canCreate)
                return false;
            root_.Create(*segments);
        }
        currentPath_ = std::move(*segments);
        open_ = true;
        return true;
    }

    void CloseKey() override { open_ = false; }

    bool KeyExists(std::string_view path) const override {
        const std::optional<std::vector<std::string>> segments = SplitKeyPath(path);
        return segments && root_.Find(*segments) != nullptr;
    }

    bool ValueExists(std::string_view name) const override { return Value(name) != nullptr; }

    ValueType GetValueType(std::string_view name) const override {
        const SettingsValue* value = Value(name);
        return value == nullptr ? ValueType::None : value->type;
    }

    std::optional<std::int32_t> ReadDWord(std::string_view name) const override {
        const SettingsValue* value = Value(name);
        if (value == nullptr || value->type != ValueType::DWord)
            return std::nullopt;
        return static_cast<std::int32_t>(value->dword);
    }

    std::optional<std::string> ReadString(std::string_view name) const override {
        const SettingsValue* value = Value(name);
        if (value == nullptr || value->type != ValueType::String)
            return std::nullopt;
        return value->text;
    }

    bool WriteDWord(std::string_view name, std::uint32_t value) override {
        SettingsKey* key = Current();
        if (key == nullptr)
            return false;
        key->SetDWord(name, value);
        return true;
    }

    bool WriteString(std::string_view name, std::string_view text) override {
        SettingsKey* key = Current();
        if (key == nullptr)
            return false;
        key->SetString(name, text);
        return true;
    }

    bool DeleteValue(std::string_view name) override {
        SettingsKey* key = Current();
        return key != nullptr && key->RemoveValue(name);
    }

    std::vector<std::string> GetValueNames() const override {
        std::vector<std::string> names;
        if (const SettingsKey* key = Current()) {
            for (const SettingsValue& value : key->Values())
                names.push_back(value.name);
        }
        return names;
    }

    std::vector<std::string> GetKeyNames() const override {
        std::vector<std::string> names;
        if (const SettingsKey* key = Current()) {
            for (const SettingsKey& child : key->Children())
                names.push_back(child.Name());
        }
        return names;
    }

    bool DeleteKey(std::string_view path) override {
        std::optional<std::vector<std::string>> segments = SplitKeyPath(path);
        if (!segments)
            return false;
        const std::string last = segments->back();
        segments->pop_back();
        SettingsKey* parent = root_.Find(*segments);
        return parent != nullptr && parent->RemoveChild(last);
    }

    bool Flush() override {
        try {
            return Save();
        } catch (const std::exception& exception) {
            lastError_ = exception.what();
            return false;
        }
    }

    const std::string& LastError() const override { return lastError_; }
    bool WasDamaged() const override { return damaged_; }

private:
    bool Save() {
        lastError_.clear();
        if (path_.empty()) {
            lastError_ = "no folder for the settings is known (neither XDG_CONFIG_HOME nor HOME "
                         "is set)";
            return false;
        }
        const std::string text = FormatSettingsText(root_);
        const std::string target = ResolveTarget(path_);
        if (!MakeFolders(ParentFolder(target), lastError_))
            return false;
        if (damaged_ && !KeepDamagedFile(target, target + std::string(kDamagedSuffix), lastError_))
            return false;
        if (!ReplaceFile(target, text, lastError_))
            return false;
        damaged_ = false;
        return true;
    }

    // The open key; nullptr when none is open or it was deleted while open.
    SettingsKey* Current() { return open_ ? root_.Find(currentPath_) : nullptr; }
    const SettingsKey* Current() const { return open_ ? root_.Find(currentPath_) : nullptr; }

    const SettingsValue* Value(std::string_view name) const {
        const SettingsKey* key = Current();
        return key == nullptr ? nullptr : key->Value(name);
    }

    std::string path_;
    SettingsKey root_;
    std::vector<std::string> currentPath_;
    bool open_ = false;
    bool damaged_ = false;
    std::string lastError_;
};

std::string HomeFolder() {
    if (const char* home = std::getenv("HOME"); home != nullptr && home[0] == '/')
        return home;
    long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::string buffer(size > 0 ? static_cast<std::size_t>(size) : 16384, '\0');
    passwd entry{};
    passwd* result = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &result) == 0 &&
        result != nullptr && result->pw_dir != nullptr && result->pw_dir[0] == '/')
        return result->pw_dir;
    return {};
}

} // namespace

std::string UserSettingsFilePath() {
    std::string base;
    // A relative XDG_CONFIG_HOME is invalid and is ignored, as the base directory rules say.
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config != nullptr && config[0] == '/')
        base = config;
    else if (std::string home = HomeFolder(); !home.empty())
        base = home + "/.config";
    else
        return {};
    while (base.size() > 1 && base.back() == '/')
        base.pop_back();
    if (base == "/")
        base.clear();
    return base + "/Qelvo/Chromint.conf";
}

std::unique_ptr<SettingsStore> OpenSettingsFile(std::string path) {
    return std::make_unique<FileSettingsStore>(std::move(path));
}

std::unique_ptr<SettingsStore> OpenUserSettingsStore() {
    return OpenSettingsFile(UserSettingsFilePath());
}

} // namespace chromint
