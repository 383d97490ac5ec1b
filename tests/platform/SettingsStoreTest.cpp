// The per-user settings file: what reaches the disk, what survives a failed save, and what
// a damaged file leaves behind.

#include "SettingsStore.h"
#include "SettingsFileFormat.h"

#include "../support/SettingsFiles.h"
#include "ResourceLimits.h"
#include "TestRows.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace chromint {
namespace {

using chromint::testing::Junk;
using chromint::testing::ReadBytes;
using chromint::testing::TempConfigHome;

constexpr std::string_view kKey = "Software\\Qelvo\\Chromint";

// Sets an environment variable for one test and puts the old value back.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name))
            old_ = old;
        had_ = std::getenv(name) != nullptr;
        if (value != nullptr)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    ~ScopedEnv() {
        if (had_)
            ::setenv(name_, old_.c_str(), 1);
        else
            ::unsetenv(name_);
    }

private:
    const char* name_;
    std::string old_;
    bool had_ = false;
};

TEST(SettingsStore, FilePathFollowsTheBaseDirectoryRules) {
    struct Row {
        const char* name;
        const char* config;
        const char* home;
        std::string expected;
    };
    const Row rows[] = {
        {"config_home_set", "/x/conf", "/home/ann", "/x/conf/Qelvo/Chromint.conf"},
        {"trailing_slashes", "/x/conf//", "/home/ann", "/x/conf/Qelvo/Chromint.conf"},
        {"config_home_is_root", "/", "/home/ann", "/Qelvo/Chromint.conf"},
        {"config_home_unset", nullptr, "/home/ann", "/home/ann/.config/Qelvo/Chromint.conf"},
        {"config_home_empty", "", "/home/ann", "/home/ann/.config/Qelvo/Chromint.conf"},
        {"config_home_relative", "conf", "/home/ann", "/home/ann/.config/Qelvo/Chromint.conf"},
    };
    for (const Row& row : rows) {
        ScopedEnv config("XDG_CONFIG_HOME", row.config);
        ScopedEnv home("HOME", row.home);
        EXPECT_EQ(UserSettingsFilePath(), row.expected) << row.name;
    }
}

TEST(SettingsStore, RoundTripThroughTheFile) {
    TempConfigHome home;
    {
        auto store = OpenUserSettingsStore();
        EXPECT_FALSE(store->WasDamaged()) << "a missing file is a first run, not damage";
        ASSERT_TRUE(store->OpenKey(kKey, true));
        EXPECT_TRUE(store->WriteDWord("WindowLeft", static_cast<std::uint32_t>(-300)));
        EXPECT_TRUE(store->WriteDWord("Color", 0xFFFFFFFF));
        EXPECT_TRUE(store->WriteDWord("Big", 0x80000000));
        EXPECT_TRUE(store->WriteString("Dir", "/home/ann/\"my\" pictures\\\n\t\x01\xC3\xA9"));
        EXPECT_TRUE(store->WriteString("Empty", ""));
        store->CloseKey();
        ASSERT_TRUE(store->OpenKey(std::string(kKey) + "\\Recent", true));
        store->CloseKey();
        ASSERT_TRUE(store->Flush()) << store->LastError();
    }
    struct stat info {};
    ASSERT_EQ(::stat(home.folder().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u) << "the settings folder is private";
    EXPECT_EQ(home.FolderEntries(), std::vector<std::string>{"Chromint.conf"});

    auto store = OpenUserSettingsStore();
    EXPECT_FALSE(store->WasDamaged());
    EXPECT_TRUE(store->KeyExists(std::string(kKey) + "\\Recent"));
    ASSERT_TRUE(store->OpenKey(kKey, false));
    EXPECT_EQ(store->ReadDWord("WindowLeft"), -300);
    EXPECT_EQ(store->ReadDWord("Color"), -1);
    EXPECT_EQ(store->ReadDWord("Big"), INT32_MIN);
    EXPECT_EQ(store->ReadString("Dir"), "/home/ann/\"my\" pictures\\\n\t\x01\xC3\xA9");
    EXPECT_EQ(store->ReadString("Empty"), "");
    EXPECT_EQ(store->GetValueNames(),
              (std::vector<std::string>{"WindowLeft", "Color", "Big", "Dir", "Empty"}));
    EXPECT_EQ(store->GetKeyNames(), std::vector<std::string>{"Recent"});
}

TEST(SettingsStore, BehavesLikeARegistryKey) {
    TempConfigHome home;
    auto store = OpenUserSettingsStore();
    EXPECT_FALSE(store->OpenKey(kKey, false)) << "opening does not create unless asked";
    EXPECT_FALSE(store->WriteDWord("x", 1)) << "no key is open";
    EXPECT_FALSE(store->ValueExists("x"));
    ASSERT_TRUE(store->OpenKey(kKey, true));

    store->WriteDWord("First", 1);
    store->WriteString("Second", "two");
    store->WriteDWord("Third", 3);
    store->WriteDWord("FIRST", 10); // same value: keeps its place and spelling
    EXPECT_EQ(store->GetValueNames(), (std::vector<std::string>{"First", "Second", "Third"}));
    EXPECT_EQ(store->ReadDWord("first"), 10);

    EXPECT_EQ(store->GetValueType("Second"), ValueType::String);
    EXPECT_EQ(store->GetValueType("Third"), ValueType::DWord);
    EXPECT_EQ(store->GetValueType("Fourth"), ValueType::None);
    EXPECT_EQ(store->ReadDWord("Second"), std::nullopt) << "a string is no DWORD";
    EXPECT_EQ(store->ReadString("Third"), std::nullopt) << "a DWORD is no string";
    store->WriteString("Third", "now text"); // a value may change its type
    EXPECT_EQ(store->GetValueType("Third"), ValueType::String);

    EXPECT_TRUE(store->DeleteValue("second"));
    EXPECT_FALSE(store->DeleteValue("Second"));
    store->WriteDWord("Second", 2); // written again: goes to the end
    EXPECT_EQ(store->GetValueNames(), (std::vector<std::string>{"First", "Third", "Second"}));

    ASSERT_TRUE(store->OpenKey(std::string(kKey) + "\\Sub\\Deeper", true));
    store->WriteDWord("x", 1);
    EXPECT_TRUE(store->DeleteKey(std::string(kKey) + "\\Sub"));
    EXPECT_FALSE(store->KeyExists(std::string(kKey) + "\\Sub\\Deeper"));
    EXPECT_FALSE(store->ValueExists("x")) << "the open key was deleted";
    EXPECT_FALSE(store->WriteDWord("x", 1)) << "the open key was deleted";
    EXPECT_TRUE(store->KeyExists(kKey));
    EXPECT_FALSE(store->DeleteKey(std::string(kKey) + "\\Sub"));

    for (const char* bad : {"", "Software\\\\Qelvo", "Software\\", "Soft\x01ware"})
        EXPECT_FALSE(store->OpenKey(bad, true)) << "path " << bad;
}

using test::ScopedFileSizeLimit;

// Writes a first file and opens a store on it with a new value waiting to be flushed.
std::unique_ptr<SettingsStore> StoreWithPendingChange(const TempConfigHome& home,
                                                      std::string& before) {
    {
        auto store = OpenUserSettingsStore();
        store->OpenKey(kKey, true);
        store->WriteDWord("Kept", 1);
        EXPECT_TRUE(store->Flush());
    }
    before = ReadBytes(home.file());
    auto store = OpenUserSettingsStore();
    store->OpenKey(kKey, true);
    store->WriteString("Lost", std::string(4096, 'x'));
    return store;
}

TEST(SettingsStore, FullDiskKeepsTheOldFile) {
    TempConfigHome home;
    std::string before;
    auto store = StoreWithPendingChange(home, before);
    bool saved = true;
    {
        ScopedFileSizeLimit full(16);
        saved = store->Flush();
    }
    EXPECT_FALSE(saved);
    EXPECT_FALSE(store->LastError().empty());
    EXPECT_EQ(ReadBytes(home.file()), before);
    EXPECT_EQ(home.FolderEntries(), std::vector<std::string>{"Chromint.conf"})
        << "no temporary file is left behind";
    EXPECT_TRUE(store->Flush()) << "a later save works once there is room";
}

TEST(SettingsStore, FileThatCannotBeCreatedKeepsTheOldFile) {
    TempConfigHome home;
    std::string before;
    auto store = StoreWithPendingChange(home, before);
    bool saved = true;
    {
        test::ScopedNoFreeFileDescriptor noFile;
        saved = store->Flush();
    }
    EXPECT_FALSE(saved);
    EXPECT_NE(store->LastError().find("cannot create"), std::string::npos) << store->LastError();
    EXPECT_EQ(ReadBytes(home.file()), before);
}

TEST(SettingsStore, FolderThatCannotBeCreatedIsReported) {
    TempConfigHome home;
    std::filesystem::create_directories(home.dir());
    const auto blocker = home.dir() / "file";
    { std::ofstream(blocker) << "not a folder"; }
    ScopedEnv config("XDG_CONFIG_HOME", blocker.c_str());
    auto store = OpenUserSettingsStore();
    EXPECT_FALSE(store->WasDamaged());
    store->OpenKey(kKey, true);
    store->WriteDWord("x", 1);
    EXPECT_FALSE(store->Flush());
    EXPECT_FALSE(store->LastError().empty());
    EXPECT_EQ(ReadBytes(blocker), "not a folder");
}

TEST(SettingsStore, UnknownKeysAndValuesSurviveASave) {
    TempConfigHome home;
    home.WriteSettingsFile("[Software\\Qelvo\\Other]\n\"Mine\"=\"keep me\"\n"
                           "[Software\\Qelvo\\Chromint]\n\"Extra\"=dword:00000007\n" +
                           std::string(kSettingsEndMarker) + "\n");
    {
        auto store = OpenUserSettingsStore();
        store->OpenKey(kKey, true);
        store->WriteDWord("New", 1);
        ASSERT_TRUE(store->Flush());
    }
    auto store = OpenUserSettingsStore();
    ASSERT_TRUE(store->OpenKey("Software\\Qelvo\\Other", false));
    EXPECT_EQ(store->ReadString("Mine"), "keep me");
    ASSERT_TRUE(store->OpenKey(kKey, false));
    EXPECT_EQ(store->GetValueNames(), (std::vector<std::string>{"Extra", "New"}));
    EXPECT_FALSE(std::filesystem::exists(home.damagedFile()));
}

TEST(SettingsStore, SymbolicLinkToTheFileIsKept) {
    TempConfigHome home;
    const auto real = home.dir() / "dotfiles" / "chromint.conf";
    std::filesystem::create_directories(real.parent_path());
    std::filesystem::create_directories(home.folder());
    std::filesystem::create_symlink(real, home.file());
    auto store = OpenUserSettingsStore();
    store->OpenKey(kKey, true);
    store->WriteDWord("x", 5);
    ASSERT_TRUE(store->Flush()) << store->LastError(); // the link points nowhere yet
    store->WriteDWord("y", 6);
    ASSERT_TRUE(store->Flush()) << store->LastError(); // now it points to the file
    EXPECT_TRUE(std::filesystem::is_symlink(home.file()));
    EXPECT_NE(ReadBytes(real).find("\"y\"=dword:00000006"), std::string::npos);
    EXPECT_FALSE(OpenUserSettingsStore()->WasDamaged());
}

TEST(SettingsStore, PipeInPlaceOfTheFileDoesNotStall) {
    TempConfigHome home;
    std::filesystem::create_directories(home.folder());
    ASSERT_EQ(::mkfifo(home.file().c_str(), 0600), 0);
    auto store = OpenUserSettingsStore(); // would block for ever reading a pipe
    EXPECT_TRUE(store->WasDamaged());
    store->OpenKey(kKey, true);
    store->WriteDWord("x", 5);
    ASSERT_TRUE(store->Flush()) << store->LastError();
    EXPECT_TRUE(std::filesystem::is_regular_file(home.file()));
}

struct DamageCase {
    const char* name;
    std::string file;
    // What must still be read from it.
    std::vector<std::pair<std::string, std::int32_t>> kept;
};
CHROMINT_PRINT_ROW(DamageCase, name)

class DamagedFileTest : public ::testing::TestWithParam<DamageCase> {};

// Whatever parses is kept, the damaged original is kept aside byte for byte, and the saved
// file reads back clean.
TEST_P(DamagedFileTest, KeepsWhatParsesAndSetsTheOriginalAside) {
    const DamageCase& c = GetParam();
    TempConfigHome home;
    home.WriteSettingsFile(c.file);
    auto store = OpenUserSettingsStore();
    EXPECT_TRUE(store->WasDamaged());
    store->OpenKey(kKey, true);
    for (const auto& [name, value] : c.kept)
        EXPECT_EQ(store->ReadDWord(name), value) << name;
    store->WriteDWord("AfterRepair", 1);
    ASSERT_TRUE(store->Flush()) << store->LastError();
    EXPECT_FALSE(store->WasDamaged());

    EXPECT_TRUE(ReadBytes(home.damagedFile()) == c.file) << "the damaged original is kept";
    auto reopened = OpenUserSettingsStore();
    EXPECT_FALSE(reopened->WasDamaged());
    reopened->OpenKey(kKey, false);
    for (const auto& [name, value] : c.kept)
        EXPECT_EQ(reopened->ReadDWord(name), value) << name;
    EXPECT_EQ(reopened->ReadDWord("AfterRepair"), 1);
    EXPECT_EQ(home.FolderEntries(),
              (std::vector<std::string>{"Chromint.conf", "Chromint.conf.damaged"}));
}

const std::string kGood = "[Software\\Qelvo\\Chromint]\n\"A\"=dword:00000001\n";

INSTANTIATE_TEST_SUITE_P(
    Rows, DamagedFileTest,
    ::testing::Values(
        DamageCase{"truncated", kGood + "\"B\"=dword:000", {{"A", 1}}},
        DamageCase{"garbage", Junk(4096, 1), {}},
        DamageCase{
            "nul_bytes", kGood + std::string("\"B\"=dword:0\0\0\0\0\0\0\0\n", 19), {{"A", 1}}},
        DamageCase{"unknown_type", kGood + "\"B\"=qword:0000000000000001\n", {{"A", 1}}},
        DamageCase{"absurd_number", kGood + "\"B\"=dword:123456789abcdef\n", {{"A", 1}}},
        DamageCase{"ten_megabytes_of_junk", kGood + Junk(10 * 1024 * 1024, 2), {{"A", 1}}},
        DamageCase{"one_line_beyond_the_size_limit",
                   kGood + "\"S\"=\"" + std::string(kMaxSettingsFileSize, 'x') + "\"\n" +
                       std::string(kSettingsEndMarker) + "\n",
                   {{"A", 1}}},
        DamageCase{"hostile_escapes",
                   kGood + "\"B\\\"=dword:00000002\n\"C\"=\"\\x\n\"D\"=\"\\\n\"\\q\"=\"x\"\n",
                   {{"A", 1}}},
        DamageCase{"empty_file", "", {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SettingsStore, OnlyTheLatestDamagedFileIsKept) {
    TempConfigHome home;
    home.WriteSettingsFile("first damage");
    ASSERT_TRUE(OpenUserSettingsStore()->Flush());
    home.WriteSettingsFile("second damage");
    ASSERT_TRUE(OpenUserSettingsStore()->Flush());
    EXPECT_EQ(ReadBytes(home.damagedFile()), "second damage");
    // A clean file leaves the kept copy alone.
    ASSERT_TRUE(OpenUserSettingsStore()->Flush());
    EXPECT_EQ(ReadBytes(home.damagedFile()), "second damage");
}

} // namespace
} // namespace chromint
