// Gtest entry point for tests that need a QApplication.

#include <QApplication>
#include <QByteArray>
#include <QtGlobal>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#define CHROMINT_HAS_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define CHROMINT_HAS_ASAN 1
#endif
#endif

#ifdef CHROMINT_HAS_ASAN
// Leaks inside system libraries that Qt loads, not in Chromint: LeakSanitizer
// reads this list at exit, however the test program is started.
extern "C" __attribute__((used, visibility("default"))) const char* __lsan_default_suppressions() {
    return "leak:libdbus-1.so\n";
}
#endif

namespace {

// gtest_discover_tests runs the program with --gtest_list_tests at build time;
// listing needs no QApplication, so it works in any environment.
bool onlyListingTests(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--gtest_list_tests") == 0) {
            return true;
        }
    }
    return false;
}

bool envEmpty(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr || value[0] == '\0';
}

// Without a display, Qt's default platform plugin cannot start: fall back to
// the offscreen one.
void chooseQtPlatform() {
    if (envEmpty("DISPLAY") && envEmpty("WAYLAND_DISPLAY") && envEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
}

// Qt warns when XDG_RUNTIME_DIR is missing; give it a private 0700 folder.
// Returns the folder it created, or an empty path.
std::filesystem::path makeRuntimeDir() {
    if (!envEmpty("XDG_RUNTIME_DIR")) {
        return {};
    }
    std::error_code error;
    std::filesystem::path base = std::filesystem::temp_directory_path(error);
    if (error) {
        base = "/tmp";
    }
    std::string pattern = (base / "chromint-test-XXXXXX").string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (mkdtemp(buffer.data()) == nullptr) { // mkdtemp creates the folder 0700
        return {};
    }
    std::filesystem::path dir(buffer.data());
    qputenv("XDG_RUNTIME_DIR", QByteArray(buffer.data()));
    return dir;
}

} // namespace

int main(int argc, char** argv) {
    if (onlyListingTests(argc, argv)) {
        ::testing::InitGoogleTest(&argc, argv);
        return RUN_ALL_TESTS();
    }

    chooseQtPlatform();
    const std::filesystem::path runtimeDir = makeRuntimeDir();

    int result = 0;
    {
        ::testing::InitGoogleTest(&argc, argv);
        QApplication app(argc, argv);
        result = RUN_ALL_TESTS();
    }

    if (!runtimeDir.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(runtimeDir, ignored);
    }
    return result;
}
