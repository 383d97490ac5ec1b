// Saves one kind of file through the program's own code, for CrashSafeSaveTest:
//
//   chromint_save_worker <kind> <file> once <version>
//       saves the version once and exits;
//   chromint_save_worker <kind> <file> serve <progress file>
//       for each byte '0' or '1' read from stdin, forks a child that saves the versions in
//       turn, from that one, until it is killed; writes the child's pid to stdout, and its
//       wait status when it has ended. The progress file's first two 64-bit words count the
//       child's saves begun and ended, to tell where the kill landed. Forking from one
//       started process keeps a round short, also in a sanitizer build.

#include "SaveKinds.h"

#include <QGuiApplication>
#include <QtGlobal>

#include <fcntl.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <memory>
#include <string>

namespace {

using chromint::test::SaveKind;

int Usage() {
    std::fprintf(stderr, "usage: chromint_save_worker <kind> <file> once <version>\n"
                         "       chromint_save_worker <kind> <file> serve <progress file>\n");
    return 2;
}

std::uint64_t* MapProgress(const char* path) {
    const int fd = ::open(path, O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    void* words =
        ::mmap(nullptr, 2 * sizeof(std::uint64_t), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    ::close(fd);
    return words == MAP_FAILED ? nullptr : static_cast<std::uint64_t*>(words);
}

bool WriteAll(const void* data, std::size_t size) {
    return ::write(STDOUT_FILENO, data, size) == static_cast<ssize_t>(size);
}

[[noreturn]] void SaveUntilKilled(const SaveKind& kind, const std::string& file, int first,
                                  std::uint64_t* progress, pid_t server) {
    // Never outlive the server, whatever happens to the test.
    if (::prctl(PR_SET_PDEATHSIG, SIGKILL) != 0 || ::getppid() != server)
        std::_Exit(1);
    std::atomic_ref<std::uint64_t> begun(progress[0]);
    std::atomic_ref<std::uint64_t> ended(progress[1]);
    try {
        for (int version = first;; version ^= 1) {
            begun.fetch_add(1);
            kind.save(file, version);
            ended.fetch_add(1);
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "chromint_save_worker: %s: %s\n", kind.row, error.what());
    }
    std::_Exit(1);
}

int Serve(const SaveKind& kind, const std::string& file, const char* progressPath) {
    std::uint64_t* progress = MapProgress(progressPath);
    if (progress == nullptr) {
        std::perror(progressPath);
        return 1;
    }
    bool warm = false;
    char command = 0;
    while (::read(STDIN_FILENO, &command, 1) == 1) {
        const int first = command == '1' ? 1 : 0;
        // The file holds the other version: saving it once more loads the fonts and
        // libraries here, so that the kills land in saves.
        if (!warm) {
            kind.save(file, first ^ 1);
            warm = true;
        }
        const pid_t server = ::getpid();
        const pid_t child = ::fork();
        if (child < 0)
            return 1;
        if (child == 0)
            SaveUntilKilled(kind, file, first, progress, server);
        if (!WriteAll(&child, sizeof child))
            return 1;
        int status = 0;
        while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
        if (!WriteAll(&status, sizeof status))
            return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 5)
        return Usage();
    const SaveKind* kind = chromint::test::FindSaveKind(argv[1]);
    const std::string file = argv[2];
    const std::string mode = argv[3];
    if (kind == nullptr || (mode != "once" && mode != "serve"))
        return Usage();

    // The same fonts and no display whatever session the test runs in.
    std::unique_ptr<QGuiApplication> app;
    if (kind->needsGui) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    }

    try {
        if (mode == "serve")
            return Serve(*kind, file, argv[4]);
        kind->save(file, std::strcmp(argv[4], "1") == 0 ? 1 : 0);
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "chromint_save_worker: %s: %s\n", kind->row, error.what());
        return 1;
    }
}
