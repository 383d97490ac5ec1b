// The settings object against a real settings file in a private folder: first run, the load
// rules (clamping, re-centring, the numbered sequences), the save order, and what a damaged
// file leaves of the settings.

#include "AppConfig.h"

#include "ColorOperations.h"
#include "SettingsFileFormat.h"

#include "../support/SettingsFiles.h"
#include "TestRows.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <ostream>
#include <random>
#include <string>
#include <variant>
#include <vector>

namespace chromint {
namespace {

using chromint::testing::Junk;
using chromint::testing::ReadBytes;
using chromint::testing::TempConfigHome;

constexpr TWorkArea kWorkArea{1920, 1040};
constexpr std::uint32_t kSeed = 4711;
const std::string kEnd = std::string(kSettingsEndMarker) + "\n";

struct Stored {
    std::string name;
    std::variant<std::uint32_t, std::string> value;
};

// Puts values into the settings file as an earlier run or a hand edit would have.
void Put(std::string_view key, const std::vector<Stored>& values) {
    auto store = OpenUserSettingsStore();
    ASSERT_TRUE(store->OpenKey(key, true));
    for (const Stored& v : values) {
        if (const auto* number = std::get_if<std::uint32_t>(&v.value))
            store->WriteDWord(v.name, *number);
        else
            store->WriteString(v.name, std::get<std::string>(v.value));
    }
    ASSERT_TRUE(store->Flush()) << store->LastError();
}

std::unique_ptr<TSettings> Make(TWorkArea area = kWorkArea) {
    GlobalRandom().Seed(kSeed); // the random default colour is the same every time
    return std::make_unique<TSettings>(area);
}

std::unique_ptr<TSettings> Loaded(TWorkArea area = kWorkArea) {
    auto settings = Make(area);
    settings->Load();
    return settings;
}

std::string Colour(std::uint32_t bgr) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text = "$00";
    for (int shift = 20; shift >= 0; shift -= 4)
        text += kDigits[(bgr >> shift) & 0xF];
    return text;
}

QStringList Strings(std::initializer_list<std::string> items, int padTo = 0,
                    const std::string& pad = {}) {
    QStringList list;
    for (const std::string& item : items)
        list.append(QString::fromStdString(item));
    while (list.size() < padTo)
        list.append(QString::fromStdString(pad));
    return list;
}

// Every field of the settings, to compare whole states.
struct Snapshot {
    int left, top;
    TColor color, blendColor;
    int blendValue, blendPath, sepiaDepth, sepiaIntensity, taskMode, preferedMode;
    QString openDir, saveDir;
    QStringList recent, favourites;
    int codeNotation;
    QStringList copyFormats;
    QString paletteDir;
    bool operator==(const Snapshot&) const = default;
};

Snapshot Take(const TSettings& s) {
    return {s.WindowLeft(),   s.WindowTop(),        s.Color(),
            s.BlendColor(),   s.BlendValue(),       s.BlendPath(),
            s.SepiaDepth(),   s.SepiaIntensity(),   s.TaskMode(),
            s.PreferedMode(), s.LastOpenImageDir(), s.LastSaveColorDir(),
            s.RecentFiles(),  s.Favourites(),       s.CodeNotation(),
            s.CopyFormats(),  s.LastPaletteDir()};
}

void PrintTo(const Snapshot& s, std::ostream* os) {
    *os << "{left " << s.left << ", top " << s.top << ", color " << s.color << ", blend "
        << s.blendColor << "/" << s.blendValue << "/" << s.blendPath << ", sepia " << s.sepiaDepth
        << "/" << s.sepiaIntensity << ", modes " << s.taskMode << "/" << s.preferedMode
        << ", dirs '" << s.openDir.toStdString() << "' '" << s.saveDir.toStdString() << "', recent "
        << s.recent.join('|').toStdString() << ", favourites " << s.favourites.size() << ": "
        << s.favourites.join(' ').toStdString() << ", code " << s.codeNotation << ", formats "
        << s.copyFormats.join('|').toStdString() << ", palettes '" << s.paletteDir.toStdString()
        << "'}";
}

TEST(Settings, FirstRunUsesTheDefaults) {
    TempConfigHome home;
    const auto settings = Loaded();
    const Snapshot expected{694,      299, RandomSource(kSeed).Next(0x1000000),
                            0xFFFFFF, 50,  0,
                            30,       20,  1,
                            1,        {},  {},
                            {},       {},  0,
                            {},       {}};
    EXPECT_EQ(Take(*settings), expected);
    EXPECT_EQ(settings->RecentCount(), 15);
    EXPECT_FALSE(std::filesystem::exists(home.file())) << "loading writes nothing";
}

TEST(Settings, DefaultColourIsRandom) {
    TempConfigHome home;
    GlobalRandom().Seed(1);
    const TSettings first(kWorkArea);
    GlobalRandom().Seed(2);
    const TSettings second(kWorkArea);
    EXPECT_NE(first.Color(), second.Color());
    EXPECT_LE(first.Color(), 0xFFFFFFu);
    EXPECT_LE(second.Color(), 0xFFFFFFu);
}

TEST(Settings, FirstSaveCreatesEveryKeyInOrder) {
    TempConfigHome home;
    ASSERT_TRUE(Loaded()->Save());
    auto store = OpenUserSettingsStore();
    for (const auto key : {kSettingsKey, kVisitedDirsKey, kRecentKey, kFavouritesKey})
        EXPECT_TRUE(store->KeyExists(key)) << key;
    ASSERT_TRUE(store->OpenKey(kSettingsKey, false));
    EXPECT_EQ(store->GetValueNames(),
              (std::vector<std::string>{"WindowLeft", "WindowTop", "Color", "BlendColor",
                                        "BlendValue", "BlendPath", "SepiaDepth", "SepiaIntensity",
                                        "TaskMode", "PreferedMode"}));
    ASSERT_TRUE(store->OpenKey(kVisitedDirsKey, false));
    EXPECT_EQ(store->GetValueNames(),
              (std::vector<std::string>{"LastOpenImageDir", "LastSaveColorDir"}));
    EXPECT_EQ(store->ReadString("LastOpenImageDir"), "");
    // An empty strip saved and loaded again stays empty, so the strip keeps its own colours.
    EXPECT_TRUE(Loaded()->Favourites().isEmpty());
}

TEST(Settings, EveryFieldSurvivesSaveAndLoad) {
    TempConfigHome home;
    auto settings = Make();
    settings->SetWindowLeft(-300);
    settings->SetWindowTop(17);
    settings->SetColor(0x00ABCDEF);
    settings->SetBlendColor(0);
    settings->SetBlendValue(0);
    settings->SetBlendPath(1);
    settings->SetSepiaDepth(100);
    settings->SetSepiaIntensity(1);
    settings->SetTaskMode(0);
    settings->SetLastOpenImageDir(QString::fromUtf8("/home/ann/Bilder/\xC3\xA9t\xC3\xA9 \"2024\""));
    settings->SetLastSaveColorDir(QStringLiteral("C:\\odd\\but\\kept\nwith a line break"));
    settings->RecentFiles() = Strings({"/a/one.png", "/b/two words.jpg", ""});
    settings->Favourites() = Strings({Colour(0x0000FF), Colour(0xFFFFFF)}, 36, Colour(0x808080));
    settings->SetCodeNotation(7);
    settings->CopyFormats() = Strings({"Sass\x1f$brand: %hex;", "two\tlines\n%r"});
    settings->SetLastPaletteDir(QStringLiteral("/home/ann/Paletten"));
    ASSERT_TRUE(settings->Save()) << settings->Registry().LastError();

    Snapshot expected = Take(*settings);
    expected.preferedMode = 0; // saved as the page in use
    EXPECT_EQ(Take(*Loaded()), expected);
}

// The code box's notation and the Copy formats came later: a file from before keeps HTML and
// no formats, and a notation beyond the list is the last one.
TEST(Settings, LaterKeysDefaultAndClamp) {
    TempConfigHome home;
    Put(kSettingsKey, {{"TaskMode", 2u}});
    EXPECT_EQ(Loaded()->CodeNotation(), 0);
    EXPECT_TRUE(Loaded()->CopyFormats().isEmpty());
    Put(kCodeBoxKey, {{"Notation", 99u}});
    Put(kCopyFormatsKey, {{"Format1", std::string("a")}, {"Format3", std::string("skipped")}});
    EXPECT_EQ(Loaded()->CodeNotation(), 7);
    EXPECT_EQ(Loaded()->CopyFormats(), Strings({"a"}));
}

TEST(Settings, OutOfRangeNumbersAreClamped) {
    struct Row {
        const char* name;
        std::uint32_t stored;
        int (*field)(const TSettings&);
        int expected;
    };
    const auto blendValue = [](const TSettings& s) -> int { return s.BlendValue(); };
    const auto blendPath = [](const TSettings& s) -> int { return s.BlendPath(); };
    const auto sepiaDepth = [](const TSettings& s) -> int { return s.SepiaDepth(); };
    const auto sepiaIntensity = [](const TSettings& s) -> int { return s.SepiaIntensity(); };
    const auto taskMode = [](const TSettings& s) -> int { return s.TaskMode(); };
    const auto preferedMode = [](const TSettings& s) -> int { return s.PreferedMode(); };
    const Row rows[] = {
        {"BlendValue", 250, blendValue, 100},
        {"BlendValue", 100, blendValue, 100},
        {"BlendValue", 0xFFFFFFFF, blendValue, 0}, // -1
        {"BlendValue", 356, blendValue, 100},      // 100 + 256 must not wrap to a byte
        {"BlendPath", 2, blendPath, 1},
        {"BlendPath", 0x80000000, blendPath, 0},
        {"SepiaDepth", 101, sepiaDepth, 100},
        {"SepiaDepth", 0, sepiaDepth, 0},
        {"SepiaIntensity", 0x7FFFFFFF, sepiaIntensity, 100},
        {"TaskMode", 3, taskMode, 2},
        {"TaskMode", 0, taskMode, 0},
        {"TaskMode", 258, taskMode, 2},
        {"PreferedMode", 9, preferedMode, 2},
        {"PreferedMode", 0xFFFFFFFE, preferedMode, 0},
    };
    for (const Row& row : rows) {
        TempConfigHome home;
        Put(kSettingsKey, {{row.name, row.stored}});
        EXPECT_EQ(row.field(*Loaded()), row.expected) << row.name << " stored as " << row.stored;
    }
}

TEST(Settings, PositionBeyondTheWorkAreaIsRecentred) {
    struct Row {
        const char* name;
        std::uint32_t left, top;
        int expectedLeft, expectedTop;
    };
    const Row rows[] = {
        {"inside", 100, 50, 100, 50},
        {"left_edge_at_work_area_width", 1920, 50, 694, 50},
        {"last_column_inside", 1919, 1039, 1919, 1039},
        {"top_edge_at_work_area_height", 100, 1040, 100, 299},
        {"both_beyond", 5000, 5000, 694, 299},
        {"left_of_the_work_area_stays", static_cast<std::uint32_t>(-300),
         static_cast<std::uint32_t>(-20), -300, -20},
        {"largest_dword", 0x7FFFFFFF, 0x7FFFFFFF, 694, 299},
        {"lowest_screen_coordinate_stays", static_cast<std::uint32_t>(-32768),
         static_cast<std::uint32_t>(-32768), -32768, -32768},
        {"beyond_any_screen_coordinate", 0x80000000, static_cast<std::uint32_t>(-32769), 694, 299},
    };
    for (const Row& row : rows) {
        TempConfigHome home;
        Put(kSettingsKey, {{"WindowLeft", row.left}, {"WindowTop", row.top}});
        const auto settings = Loaded();
        EXPECT_EQ(settings->WindowLeft(), row.expectedLeft) << row.name;
        EXPECT_EQ(settings->WindowTop(), row.expectedTop) << row.name;
    }
}

TEST(Settings, CentringUsesTheWorkAreaGiven) {
    TempConfigHome home;
    const auto settings = Loaded({1280, 1024});
    EXPECT_EQ(settings->WindowLeft(), 640 - 266);
    EXPECT_EQ(settings->WindowTop(), 512 - 221);
    Put(kSettingsKey, {{"WindowLeft", 1300u}});
    EXPECT_EQ(Loaded({1280, 1024})->WindowLeft(), 374);
    EXPECT_EQ(Loaded({1600, 900})->WindowLeft(), 1300) << "fits the wider work area";
}

TEST(Settings, ColoursOtherThanRGBKeepTheDefault) {
    struct Row {
        const char* name;
        std::uint32_t color, blendColor;
        TColor expectedColor, expectedBlend;
    };
    const TColor random = RandomSource(kSeed).Next(0x1000000);
    const Row rows[] = {
        {"rgb", 0x00123456, 0x00000000, 0x00123456, 0x00000000},
        {"white", 0x00FFFFFF, 0x00FFFFFF, 0x00FFFFFF, 0x00FFFFFF},
        {"no_colour_marker", 0x1FFFFFFF, 0x1FFFFFFF, random, 0xFFFFFF},
        {"system_colour", 0xFF00000F, 0xFF000005, random, 0xFFFFFF},
        {"all_bits", 0xFFFFFFFF, 0x01000000, random, 0xFFFFFF},
    };
    for (const Row& row : rows) {
        TempConfigHome home;
        Put(kSettingsKey, {{"Color", row.color}, {"BlendColor", row.blendColor}});
        const auto settings = Loaded();
        EXPECT_EQ(settings->Color(), row.expectedColor) << row.name;
        EXPECT_EQ(settings->BlendColor(), row.expectedBlend) << row.name;
    }
}

TEST(Settings, ValuesOfAnotherTypeKeepTheDefault) {
    TempConfigHome home;
    Put(kSettingsKey, {{"WindowLeft", "100"}, {"BlendValue", "77"}, {"TaskMode", "2"}});
    Put(kVisitedDirsKey, {{"LastOpenImageDir", 5u}, {"LastSaveColorDir", "/kept"}});
    const auto settings = Loaded();
    EXPECT_EQ(settings->WindowLeft(), 694);
    EXPECT_EQ(settings->BlendValue(), 50);
    EXPECT_EQ(settings->TaskMode(), 1);
    EXPECT_EQ(settings->LastOpenImageDir(), QString());
    EXPECT_EQ(settings->LastSaveColorDir(), QStringLiteral("/kept"));
}

struct SequenceCase {
    const char* name;
    std::vector<Stored> stored;
    QStringList expected;
};

std::vector<Stored> Numbered(const char* prefix, int from, int to) {
    std::vector<Stored> values;
    for (int i = from; i <= to; ++i) {
        const std::string number = std::to_string(i);
        if (prefix == std::string("File"))
            values.push_back({prefix + number, "/pictures/" + number + ".png"});
        else
            values.push_back({prefix + number, static_cast<std::uint32_t>(i * 0x010101)});
    }
    return values;
}

QStringList Files(std::initializer_list<int> numbers) {
    QStringList list;
    for (const int i : numbers)
        list.append(QStringLiteral("/pictures/%1.png").arg(i));
    return list;
}

QStringList Greys(int count, std::initializer_list<int> levels = {}) {
    QStringList list;
    for (const int i : levels)
        list.append(QString::fromStdString(i < 0 ? Colour(0) : Colour(i * 0x010101u)));
    for (int i = 1; list.size() < count && levels.size() == 0; ++i)
        list.append(QString::fromStdString(Colour(i * 0x010101u)));
    while (list.size() < count)
        list.append(QString::fromStdString(Colour(0)));
    return list;
}

std::vector<Stored> Concat(std::vector<Stored> a, const std::vector<Stored>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(Settings, RecentFilesKeepTheUnbrokenSequence) {
    const SequenceCase rows[] = {
        {"one_to_twenty_keeps_fifteen", Numbered("File", 1, 20),
         Files({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15})},
        {"exactly_fifteen", Numbered("File", 1, 15),
         Files({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15})},
        {"gap", Concat(Numbered("File", 1, 2), Numbered("File", 4, 5)), Files({1, 2})},
        {"enumerated_out_of_order",
         {{"File1", "/pictures/1.png"}, {"File3", "/pictures/3.png"}, {"File2", "/pictures/2.png"}},
         Files({1})},
        {"first_missing", Numbered("File", 2, 4), {}},
        {"other_spelling", {{"file1", "/pictures/1.png"}, {"File01", "/x"}}, {}},
        {"other_name_first", Concat({{"Last", "/x"}}, Numbered("File", 1, 3)), {}},
        {"number_as_file_name_dropped",
         {{"File1", "/pictures/1.png"}, {"File2", 7u}, {"File3", "/pictures/3.png"}},
         Files({1, 3})},
        {"empty_key", {}, {}},
    };
    for (const SequenceCase& row : rows) {
        TempConfigHome home;
        Put(kRecentKey, row.stored);
        EXPECT_EQ(Loaded()->RecentFiles(), row.expected) << row.name;
    }
}

TEST(Settings, RecentCountLimitsTheFilesLoaded) {
    TempConfigHome home;
    Put(kRecentKey, Numbered("File", 1, 6));
    auto settings = Make();
    settings->SetRecentCount(3);
    settings->Load();
    EXPECT_EQ(settings->RecentFiles(), Files({1, 2, 3}));
}

TEST(Settings, FavouritesKeepTheUnbrokenSequencePaddedWithBlack) {
    const SequenceCase rows[] = {
        {"one_two_and_four", Concat(Numbered("Color", 1, 2), Numbered("Color", 4, 4)),
         Greys(36, {1, 2})},
        {"all_thirty_six", Numbered("Color", 1, 36), Greys(36)},
        {"forty_keeps_thirty_six", Numbered("Color", 1, 40), Greys(36)},
        {"one", Numbered("Color", 1, 1), Greys(36, {1})},
        {"enumerated_out_of_order", {{"Color2", 2u}, {"Color1", 1u}}, {}},
        {"lower_case_name", {{"color1", 0x010101u}}, {}},
        {"text_in_the_middle_is_black",
         {{"Color1", 0x010101u}, {"Color2", "$00FF0000"}, {"Color3", 0x030303u}},
         Greys(36, {1, -1, 3})},
        {"empty_key_keeps_the_strip", {}, {}},
    };
    for (const SequenceCase& row : rows) {
        TempConfigHome home;
        Put(kFavouritesKey, row.stored);
        EXPECT_EQ(Loaded()->Favourites(), row.expected) << row.name;
    }
}

TEST(Settings, FavouritesReadAsBlueGreenRed) {
    TempConfigHome home;
    Put(kFavouritesKey, {{"Color1", 0x00FF8040u}, {"Color2", 0x1FFFFFFFu}});
    const QStringList favourites = Loaded()->Favourites();
    ASSERT_EQ(favourites.size(), 36);
    EXPECT_EQ(favourites[0], QStringLiteral("$00FF8040"));
    EXPECT_EQ(favourites[1], QStringLiteral("$00FFFFFF")) << "only the colour bytes are kept";
}

TEST(Settings, FavouriteTextsAreSavedAsColours) {
    struct Row {
        const char* text;
        std::uint32_t expected;
    };
    const Row rows[] = {
        {"$00FF8040", 0x00FF8040},
        {" $00 FF 80 40 ", 0x00FF8040},
        {"$ff", 0xFF},
        {"clNone", 0x1FFFFFFF},
        {"CLAQUA", 0x00FFFF00},
        {"clCream", 0x00F0FBFF},
        {"clMedGray", 0x00A4A0A0},
        {"clCustom", 0x2FFFFFFF},
        {"cltransparent", 0x3FFFFFFF},
        {"12345", 12345},
        {"-1", 0xFFFFFFFF},
        {"0x10", 16},
        {"2147483647", 0x7FFFFFFF},
        {"", 0},
        {"not a colour", 0},
        {"$123456789", 0},
        {"2147483648", 0},
        {"$", 0},
        {"$00GG0000", 0},
        {"$00FF8040", 0x00FF8040}, // the cells after unreadable ones are still saved
    };
    TempConfigHome home;
    auto settings = Make();
    for (const Row& row : rows)
        settings->Favourites().append(QString::fromUtf8(row.text));
    ASSERT_TRUE(settings->Save());
    auto store = OpenUserSettingsStore();
    ASSERT_TRUE(store->OpenKey(kFavouritesKey, false));
    EXPECT_EQ(store->GetValueNames().size(), std::size(rows));
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        EXPECT_EQ(store->ReadDWord("Color" + std::to_string(i + 1)),
                  static_cast<std::int32_t>(rows[i].expected))
            << '"' << rows[i].text << '"';
    }
}

TEST(Settings, SavingReplacesTheOldSequences) {
    TempConfigHome home;
    Put(kRecentKey, Concat(Numbered("File", 1, 5), {{"Stray", "/x"}}));
    Put(kFavouritesKey, Numbered("Color", 1, 36));
    auto settings = Loaded();
    settings->RecentFiles() = Files({9, 8});
    settings->Favourites() = Greys(2, {7, 6});
    ASSERT_TRUE(settings->Save());
    auto store = OpenUserSettingsStore();
    ASSERT_TRUE(store->OpenKey(kRecentKey, false));
    EXPECT_EQ(store->GetValueNames(), (std::vector<std::string>{"File1", "File2"}));
    EXPECT_EQ(store->ReadString("File1"), "/pictures/9.png");
    ASSERT_TRUE(store->OpenKey(kFavouritesKey, false));
    EXPECT_EQ(store->GetValueNames(), (std::vector<std::string>{"Color1", "Color2"}));
    EXPECT_EQ(store->ReadDWord("Color2"), 0x060606);
}

TEST(Settings, SavedPreferedModeIsAlwaysTheTaskMode) {
    for (int taskMode = 0; taskMode <= 2; ++taskMode) {
        for (int preferedMode = 0; preferedMode <= 2; ++preferedMode) {
            TempConfigHome home;
            auto settings = Make();
            settings->SetTaskMode(taskMode);
            settings->SetPreferedMode(preferedMode);
            ASSERT_TRUE(settings->Save());
            auto store = OpenUserSettingsStore();
            ASSERT_TRUE(store->OpenKey(kSettingsKey, false));
            EXPECT_EQ(store->ReadDWord("TaskMode"), taskMode);
            EXPECT_EQ(store->ReadDWord("PreferedMode"), taskMode) << "prefered " << preferedMode;
        }
    }
    // Loaded as stored, even when it disagrees.
    TempConfigHome home;
    Put(kSettingsKey, {{"TaskMode", 2u}, {"PreferedMode", 0u}});
    const auto settings = Loaded();
    EXPECT_EQ(settings->TaskMode(), 2);
    EXPECT_EQ(settings->PreferedMode(), 0);
}

TEST(Settings, PropertiesKeepTheirRanges) {
    TempConfigHome home;
    auto settings = Make();
    settings->SetBlendValue(300);
    settings->SetSepiaDepth(-5);
    settings->SetSepiaIntensity(101);
    settings->SetBlendPath(9);
    settings->SetTaskMode(-1);
    settings->SetPreferedMode(3);
    EXPECT_EQ(settings->BlendValue(), 100);
    EXPECT_EQ(settings->SepiaDepth(), 0);
    EXPECT_EQ(settings->SepiaIntensity(), 100);
    EXPECT_EQ(settings->BlendPath(), 1);
    EXPECT_EQ(settings->TaskMode(), 0);
    EXPECT_EQ(settings->PreferedMode(), 2);
}

// ---- damaged files ---------------------------------------------------------------------

// The settings of an earlier run, every field away from its default.
void SaveBaseline() {
    auto settings = Make();
    settings->SetWindowLeft(100);
    settings->SetWindowTop(200);
    settings->SetColor(0x123456);
    settings->SetBlendColor(0x654321);
    settings->SetBlendValue(77);
    settings->SetBlendPath(1);
    settings->SetSepiaDepth(11);
    settings->SetSepiaIntensity(22);
    settings->SetTaskMode(2);
    settings->SetLastOpenImageDir(QStringLiteral("/open"));
    settings->SetLastSaveColorDir(QStringLiteral("/save"));
    settings->RecentFiles() = Files({1, 2});
    settings->Favourites() = Greys(36);
    ASSERT_TRUE(settings->Save());
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos)
        text.replace(at, from.size(), to);
    return text;
}

struct DamageCase {
    const char* name;
    std::string (*damage)(const std::string& baseline);
    // The expected settings, from those of the baseline and the defaults.
    Snapshot (*expected)(Snapshot baseline, const Snapshot& defaults);
    bool damaged; // a wrong type or range is no damage to the file
};
CHROMINT_PRINT_ROW(DamageCase, name)

class DamagedSettingsTest : public ::testing::TestWithParam<DamageCase> {};

TEST_P(DamagedSettingsTest, DefaultsForWhatCannotBeRead) {
    const DamageCase& c = GetParam();
    TempConfigHome home;
    const Snapshot defaults = Take(*Make());
    SaveBaseline();
    const Snapshot baseline = Take(*Loaded());
    const std::string file = c.damage(ReadBytes(home.file()));
    home.WriteSettingsFile(file);

    auto settings = Loaded();
    const Snapshot expected = c.expected(baseline, defaults);
    EXPECT_EQ(Take(*settings), expected);
    EXPECT_EQ(settings->Registry().WasDamaged(), c.damaged);
    ASSERT_TRUE(settings->Save()) << settings->Registry().LastError();

    EXPECT_EQ(std::filesystem::exists(home.damagedFile()), c.damaged);
    if (c.damaged) {
        EXPECT_TRUE(ReadBytes(home.damagedFile()) == file) << "the original is kept as it was";
    }
    auto again = Loaded();
    EXPECT_FALSE(again->Registry().WasDamaged()) << "the saved file is clean";
    EXPECT_EQ(Take(*again), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DamagedSettingsTest,
    ::testing::Values(
        DamageCase{"truncated",
                   [](const std::string& f) { return f.substr(0, f.find("\"SepiaDepth\"") + 5); },
                   [](Snapshot s, const Snapshot& d) {
                       s.sepiaDepth = d.sepiaDepth;
                       s.sepiaIntensity = d.sepiaIntensity;
                       s.taskMode = d.taskMode;
                       s.preferedMode = d.preferedMode;
                       s.openDir = d.openDir;
                       s.saveDir = d.saveDir;
                       s.recent = d.recent;
                       s.favourites = d.favourites;
                       return s;
                   },
                   true},
        DamageCase{"garbage", [](const std::string&) { return Junk(3000, 7); },
                   [](Snapshot, const Snapshot& d) { return d; }, true},
        DamageCase{"nul_bytes",
                   [](const std::string& f) {
                       return Replace(
                           f, "\"BlendValue\"=dword:", std::string("\"Blend\0Value\"=dword:", 20));
                   },
                   [](Snapshot s, const Snapshot& d) {
                       s.blendValue = d.blendValue;
                       return s;
                   },
                   true},
        DamageCase{"wrong_type",
                   [](const std::string& f) {
                       return Replace(
                           Replace(f, "\"BlendValue\"=dword:0000004d", "\"BlendValue\"=\"77\""),
                           "\"File1\"=\"/pictures/1.png\"", "\"File1\"=dword:00000001");
                   },
                   [](Snapshot s, const Snapshot& d) {
                       s.blendValue = d.blendValue;
                       s.recent = Files({2}); // the number is no file; the one after it stays
                       return s;
                   },
                   false},
        DamageCase{"absurd_values",
                   [](const std::string& f) {
                       return Replace(
                           Replace(f, "\"TaskMode\"=dword:00000002", "\"TaskMode\"=dword:7fffffff"),
                           "\"BlendValue\"=dword:0000004d", "\"BlendValue\"=dword:ffffffff");
                   },
                   [](Snapshot s, const Snapshot&) {
                       s.blendValue = 0;
                       return s;
                   },
                   false},
        DamageCase{"absurd_number",
                   [](const std::string& f) {
                       return Replace(f, "\"SepiaDepth\"=dword:0000000b",
                                      "\"SepiaDepth\"=dword:1234567890abcdef");
                   },
                   [](Snapshot s, const Snapshot& d) {
                       s.sepiaDepth = d.sepiaDepth;
                       return s;
                   },
                   true},
        DamageCase{"ten_megabytes_of_junk",
                   [](const std::string& f) { return f + Junk(10 * 1024 * 1024, 9); },
                   [](Snapshot s, const Snapshot&) { return s; }, true},
        DamageCase{"hostile_escapes",
                   [](const std::string& f) {
                       return Replace(Replace(f, "\"LastOpenImageDir\"=\"/open\"",
                                              "\"LastOpenImageDir\"=\"/op\\x4\""),
                                      "\"LastSaveColorDir\"=\"/save\"",
                                      "\"LastSaveColorDir\"=\"/sa\\nve\\x00\\\"\"");
                   },
                   [](Snapshot s, const Snapshot& d) {
                       s.openDir = d.openDir;
                       s.saveDir = QString::fromUtf8("/sa\nve\0\"", 8);
                       return s;
                   },
                   true}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace chromint
