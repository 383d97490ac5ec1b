// Kills a process with SIGKILL at random moments while it saves, for every kind of file the
// program saves, and checks that the file left behind is the old one or the new one, byte for
// byte, that it reads back, and that the next run saves over whatever the kill left.
//
// CHROMINT_KILL_ROUNDS sets the kills per kind (default 200); CHROMINT_KILL_SEED repeats a
// run's delays.

#include "SaveKinds.h"
#include "SettingsFiles.h"
#include "TestRows.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

extern char** environ;

namespace chromint::test {

CHROMINT_PRINT_ROW(SaveKind, row, "file " << row.fileName)

namespace {

using chromint::testing::ReadBytes;
using Clock = std::chrono::steady_clock;

constexpr int kDefaultRounds = 200;
// The first kill comes this long after the worker is ready, to time one save.
constexpr auto kTimingRun = std::chrono::milliseconds(200);

int Rounds() {
    const char* text = std::getenv("CHROMINT_KILL_ROUNDS");
    const int rounds = text != nullptr ? std::atoi(text) : 0;
    return rounds > 0 ? rounds : kDefaultRounds;
}

std::uint64_t Seed() {
    if (const char* text = std::getenv("CHROMINT_KILL_SEED"))
        return std::strtoull(text, nullptr, 10);
    return std::random_device()();
}

std::string StatusText(int status) {
    if (WIFSIGNALED(status))
        return "killed by signal " + std::to_string(WTERMSIG(status));
    if (WIFEXITED(status))
        return "exited with " + std::to_string(WEXITSTATUS(status));
    return "status " + std::to_string(status);
}

const std::string kKilled = StatusText(SIGKILL); // as a kill by signal 9 reads

// A chromint_save_worker run, its stdin and stdout connected to the test; killed and reaped if
// still running at the end of the scope.
class Worker {
public:
    explicit Worker(std::vector<std::string> args) {
        args.insert(args.begin(), CHROMINT_SAVE_WORKER);
        std::vector<char*> argv;
        for (std::string& arg : args)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        int in[2];
        int out[2];
        if (::pipe2(in, O_CLOEXEC) != 0)
            return;
        if (::pipe2(out, O_CLOEXEC) != 0) {
            ::close(in[0]);
            ::close(in[1]);
            return;
        }
        toWorker_ = in[1];
        fromWorker_ = out[0];
        posix_spawn_file_actions_t actions;
        ::posix_spawn_file_actions_init(&actions);
        ::posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
        ::posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        if (::posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0)
            pid_ = -1;
        ::posix_spawn_file_actions_destroy(&actions);
        ::close(in[0]);
        ::close(out[1]);
    }
    Worker(const Worker&) = delete;
    Worker& operator=(const Worker&) = delete;
    ~Worker() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            Finish();
        }
        CloseInput();
        if (fromWorker_ >= 0)
            ::close(fromWorker_);
    }

    bool Send(char byte) { return ::write(toWorker_, &byte, 1) == 1; }
    // False when the worker ended first.
    bool Receive(void* data, std::size_t size) {
        auto* at = static_cast<char*>(data);
        while (size > 0) {
            const ssize_t got = ::read(fromWorker_, at, size);
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                return false;
            at += got;
            size -= static_cast<std::size_t>(got);
        }
        return true;
    }
    // Closes its stdin, which ends a serving worker, and waits for it.
    std::string Finish() {
        CloseInput();
        if (pid_ <= 0)
            return "not running";
        int status = 0;
        while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
        }
        pid_ = -1;
        return StatusText(status);
    }

private:
    void CloseInput() {
        if (toWorker_ >= 0)
            ::close(std::exchange(toWorker_, -1));
    }

    pid_t pid_ = -1;
    int toWorker_ = -1;
    int fromWorker_ = -1;
};

std::string SaveOnce(const SaveKind& kind, const std::string& file, int version) {
    Worker worker({kind.row, file, "once", std::to_string(version)});
    return worker.Finish();
}

using Progress = std::array<std::uint64_t, 2>; // saves begun, saves ended

struct Kill {
    std::string status;
    Progress progress{};
};

// Has the serving worker fork a child that saves the versions in turn from the first one,
// kills the child after the delay and reads how far it got.
Kill KillWhileSaving(Worker& server, const std::filesystem::path& progressFile, int first,
                     Clock::duration delay) {
    Progress progress{};
    std::fstream(progressFile, std::ios::in | std::ios::out | std::ios::binary)
        .write(reinterpret_cast<const char*>(progress.data()), sizeof progress);
    pid_t child = 0;
    if (!server.Send(first == 1 ? '1' : '0') || !server.Receive(&child, sizeof child))
        return {"the worker ended: " + server.Finish()};
    std::this_thread::sleep_for(delay);
    ::kill(child, SIGKILL);
    int status = 0;
    if (!server.Receive(&status, sizeof status))
        return {"the worker ended: " + server.Finish()};
    std::ifstream(progressFile, std::ios::binary)
        .read(reinterpret_cast<char*>(progress.data()), sizeof progress);
    return {StatusText(status), progress};
}

std::set<std::string> Leftovers(const std::filesystem::path& folder, const std::string& file) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().filename() != file)
            names.insert(entry.path().filename().string());
    }
    return names;
}

// The picture workers start Qt, which wants a private runtime folder; one is made when the
// environment has none.
class RuntimeFolder {
public:
    explicit RuntimeFolder(const std::filesystem::path& folder) {
        const char* set = std::getenv("XDG_RUNTIME_DIR");
        if ((set != nullptr && set[0] != '\0') || ::mkdir(folder.c_str(), 0700) != 0)
            return;
        ::setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
        made_ = true;
    }
    RuntimeFolder(const RuntimeFolder&) = delete;
    RuntimeFolder& operator=(const RuntimeFolder&) = delete;
    ~RuntimeFolder() {
        if (made_)
            ::unsetenv("XDG_RUNTIME_DIR");
    }

private:
    bool made_ = false;
};

class CrashSafeSave : public ::testing::TestWithParam<SaveKind> {};

TEST_P(CrashSafeSave, LeavesTheOldFileOrTheNewOneWhole) {
    const SaveKind& kind = GetParam();
    const QTemporaryDir temporary;
    ASSERT_TRUE(temporary.isValid());
    const std::filesystem::path root = temporary.path().toStdString();
    const std::filesystem::path folder = root / "files";
    std::filesystem::create_directory(folder);
    const std::string file = (folder / kind.fileName).string();
    const std::filesystem::path progress = root / "progress";
    std::ofstream(progress, std::ios::binary) << std::string(sizeof(Progress), '\0');
    const RuntimeFolder runtime(root / "runtime");

    // The two versions as the program writes them.
    std::array<std::string, 2> versions;
    for (const int version : {0, 1}) {
        ASSERT_EQ(SaveOnce(kind, file, version), "exited with 0");
        versions[version] = ReadBytes(file);
        ASSERT_EQ(kind.check(file, version), "") << "version " << version;
    }
    ASSERT_NE(versions[0], versions[1]);
    int onDisk = 1;

    const std::uint64_t seed = Seed();
    std::mt19937_64 random(seed);
    const int rounds = Rounds();
    Worker server({kind.row, file, "serve", progress.string()});
    Clock::duration spread{};
    int insideSave = 0;
    int leavingATemporary = 0;
    std::set<std::string> leftovers;
    // Round 0 times the saves; the others kill at random within two of them, so that each
    // moment of a save, in either direction, is as likely as any other.
    for (int round = 0; round <= rounds; ++round) {
        SCOPED_TRACE(::testing::Message() << "seed " << seed << ", round " << round);
        const Clock::duration delay =
            round == 0 ? Clock::duration(kTimingRun)
                       : Clock::duration(
                             std::uniform_int_distribution<Clock::rep>(0, spread.count())(random));
        const int first = 1 - onDisk;
        const Kill kill = KillWhileSaving(server, progress, first, delay);
        const auto [begun, ended] = kill.progress;
        // Anything but the kill means a save failed, perhaps over what an earlier kill left.
        ASSERT_EQ(kill.status, kKilled);
        if (round == 0) {
            ASSERT_GT(ended, 0u) << "not one save in " << kTimingRun.count() << " ms";
            spread = 2 * Clock::duration(kTimingRun) / ended;
        }

        auto versionOfSave = [&](std::uint64_t save) { return int((first + save - 1) % 2); };
        std::set<int> allowed{ended == 0 ? onDisk : versionOfSave(ended)};
        if (begun != ended) {
            allowed.insert(versionOfSave(begun));
            insideSave += round == 0 ? 0 : 1;
        }
        const std::string bytes = ReadBytes(file);
        const int found = bytes == versions[0] ? 0 : bytes == versions[1] ? 1 : -1;
        ASSERT_TRUE(allowed.contains(found))
            << "the file holds " << (found < 0 ? "neither version" : "the other version") << " ("
            << bytes.size() << " bytes) after " << ended << " of " << begun << " saves";
        ASSERT_EQ(kind.check(file, found), "") << "version " << found;
        onDisk = found;

        const std::set<std::string> now = Leftovers(folder, kind.fileName);
        if (round > 0 && now.size() > leftovers.size())
            ++leavingATemporary;
        leftovers = now;
    }

    ASSERT_EQ(server.Finish(), "exited with 0");
    // A save and a start after everything the kills left behind.
    ASSERT_EQ(SaveOnce(kind, file, 1 - onDisk), "exited with 0");
    EXPECT_EQ(ReadBytes(file), versions[1 - onDisk]);
    EXPECT_EQ(kind.check(file, 1 - onDisk), "");

    std::cout << "kill points (" << kind.row << "): " << rounds << " kills, " << insideSave
              << " inside a save, " << leavingATemporary << " left a temporary file ("
              << leftovers.size() << " in the folder at the end); one save takes "
              << std::chrono::duration_cast<std::chrono::microseconds>(spread / 2).count()
              << " us; seed " << seed << "\n";
}

INSTANTIATE_TEST_SUITE_P(EveryWriter, CrashSafeSave, ::testing::ValuesIn(SaveKinds()),
                         [](const auto& info) { return RowName(info); });

} // namespace
} // namespace chromint::test
