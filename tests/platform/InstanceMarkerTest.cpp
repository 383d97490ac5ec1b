#include "InstanceMarker.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include <stdlib.h>

namespace chromint {
namespace {

class InstanceMarkerTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "runtime-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
        if (const char* old = std::getenv("XDG_RUNTIME_DIR"))
            previous_ = old;
        ::setenv("XDG_RUNTIME_DIR", folder_.c_str(), 1);
    }
    void TearDown() override {
        if (previous_.empty())
            ::unsetenv("XDG_RUNTIME_DIR");
        else
            ::setenv("XDG_RUNTIME_DIR", previous_.c_str(), 1);
        std::filesystem::remove_all(folder_);
    }
    std::string folder_;
    std::string previous_;
};

TEST_F(InstanceMarkerTest, ASecondInstanceRunsAlongside) {
    const InstanceMarker first("Qelvo.Chromint");
    const InstanceMarker second("Qelvo.Chromint");
    EXPECT_TRUE(first.Held());
    EXPECT_TRUE(second.Held()) << "a running instance never stops another";
    EXPECT_EQ(first.Path(), folder_ + "/Qelvo.Chromint.lock");
    EXPECT_TRUE(std::filesystem::exists(first.Path()));
}

TEST_F(InstanceMarkerTest, AnUnwritableFolderIsNoFailure) {
    ::setenv("XDG_RUNTIME_DIR", "/nonexistent-chromint-folder", 1);
    const InstanceMarker marker("Qelvo.Chromint");
    EXPECT_FALSE(marker.Held());
}

} // namespace
} // namespace chromint
