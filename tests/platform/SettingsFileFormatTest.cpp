// The text form of the settings: what a damaged or hand-edited file yields, and that every
// name and string survives being written and read back.

#include "SettingsFileFormat.h"

#include "TestRows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace chromint {
namespace {

// One line per value, "Key\Path|name=d:<decimal>" or "Key\Path|name=s:<text>", walking the
// tree in order: a whole tree in one comparable list.
void Dump(const SettingsKey& key, std::vector<std::string>& path, std::vector<std::string>& out) {
    for (const SettingsValue& value : key.Values()) {
        std::string line = JoinKeyPath(path) + "|" + value.name + "=";
        line +=
            value.type == ValueType::DWord ? "d:" + std::to_string(value.dword) : "s:" + value.text;
        out.push_back(line);
    }
    for (const SettingsKey& child : key.Children()) {
        path.push_back(child.Name());
        Dump(child, path, out);
        path.pop_back();
    }
}

std::vector<std::string> Dump(const SettingsKey& root) {
    std::vector<std::string> path;
    std::vector<std::string> out;
    Dump(root, path, out);
    return out;
}

const std::string kEnd = std::string(kSettingsEndMarker) + "\n";

struct ParseCase {
    const char* name;
    std::string text;
    std::vector<std::string> values;
    bool damaged;
};
CHROMINT_PRINT_ROW(ParseCase, name)

class ParseTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseTest, KeepsWhatParsesAndReportsDamage) {
    const ParseCase& c = GetParam();
    const ParsedSettings parsed = ParseSettingsText(c.text);
    EXPECT_EQ(Dump(parsed.root), c.values);
    EXPECT_EQ(parsed.damaged, c.damaged);
}

// A string literal with the NUL bytes inside it.
template <std::size_t N>
std::string Bytes(const char (&literal)[N]) {
    return std::string(literal, N - 1);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ParseTest,
    ::testing::Values(
        ParseCase{"complete_file",
                  "[A\\B]\n\"n\"=dword:000001f4\n\"s\"=\"text\"\n" + kEnd,
                  {"A\\B|n=d:500", "A\\B|s=s:text"},
                  false},
        ParseCase{
            "upper_case_digits", "[A]\n\"n\"=dword:FFFFFFFF\n" + kEnd, {"A|n=d:4294967295"}, false},
        ParseCase{"empty_key_is_kept", "[A\\Empty]\n" + kEnd, {}, false},
        ParseCase{"crlf_line_ends_and_blanks",
                  "\xEF\xBB\xBF; note\r\n\r\n  [A]  \r\n\t\"n\"=dword:00000001\r\n" + kEnd,
                  {"A|n=d:1"},
                  false},
        ParseCase{"no_end_marker_is_cut_short", "[A]\n\"n\"=dword:00000001\n", {"A|n=d:1"}, true},
        ParseCase{"empty_file", "", {}, true},
        ParseCase{
            "cut_inside_dword", "[A]\n\"n\"=dword:00000001\n\"m\"=dword:0000", {"A|n=d:1"}, true},
        ParseCase{"cut_inside_string", "[A]\n\"s\"=\"/home/ann/Pic", {}, true},
        ParseCase{"seven_digit_dword", "[A]\n\"n\"=dword:0000001\n" + kEnd, {}, true},
        ParseCase{"nine_digit_dword", "[A]\n\"n\"=dword:100000000\n" + kEnd, {}, true},
        ParseCase{"signed_dword", "[A]\n\"n\"=dword:-0000001\n" + kEnd, {}, true},
        ParseCase{"unknown_value_type",
                  "[A]\n\"n\"=hex:01,02\n\"m\"=dword:00000002\n" + kEnd,
                  {"A|m=d:2"},
                  true},
        ParseCase{"value_before_any_key", "\"n\"=dword:00000001\n[A]\n" + kEnd, {}, true},
        ParseCase{"value_under_broken_key",
                  "[A\\\\B]\n\"n\"=dword:00000001\n[C]\n\"m\"=dword:00000002\n" + kEnd,
                  {"C|m=d:2"},
                  true},
        ParseCase{"key_without_closing_bracket", "[A\n\"n\"=dword:00000001\n" + kEnd, {}, true},
        ParseCase{"nul_byte_in_a_line",
                  Bytes("[A]\n\"n\"=dword:0000\0"
                        "001\n\"m\"=dword:00000002\n") +
                      kEnd,
                  {"A|m=d:2"},
                  true},
        ParseCase{"raw_control_byte_in_string",
                  "[A]\n\"s\"=\"a\x01"
                  "b\"\n" +
                      kEnd,
                  {},
                  true},
        ParseCase{"escapes",
                  "[A]\n\"s\"=\"q\\\"b\\\\n\\nr\\rt\\tz\\x00\\x7f\\xFF\"\n" + kEnd,
                  {Bytes("A|s=s:q\"b\\n\nr\rt\tz\0\x7f\xff")},
                  false},
        ParseCase{"unknown_escape", "[A]\n\"s\"=\"\\q\"\n" + kEnd, {}, true},
        ParseCase{"short_hex_escape", "[A]\n\"s\"=\"\\x4\"\n" + kEnd, {}, true},
        ParseCase{"escape_at_line_end", "[A]\n\"s\"=\"abc\\\n" + kEnd, {}, true},
        ParseCase{
            "junk_after_value", "[A]\n\"s\"=\"x\" y\n\"n\"=dword:00000001 2\n" + kEnd, {}, true},
        ParseCase{"duplicate_value_last_wins",
                  "[A]\n\"n\"=dword:00000001\n\"N\"=dword:00000002\n" + kEnd,
                  {"A|n=d:2"},
                  true},
        ParseCase{"repeated_key_merges",
                  "[A]\n\"n\"=dword:00000001\n[B]\n[a]\n\"m\"=dword:00000002\n" + kEnd,
                  {"A|n=d:1", "A|m=d:2"},
                  false},
        ParseCase{"raw_utf8_and_latin1_bytes_kept",
                  "[A]\n\"s\"=\"caf\xC3\xA9 \xE9\"\n" + kEnd,
                  {"A|s=s:caf\xC3\xA9 \xE9"},
                  false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SettingsFileFormat, KeyPathLimits) {
    struct Row {
        const char* name;
        std::string path;
        bool valid;
    };
    const std::string deep = [] {
        std::string p = "k";
        for (std::size_t i = 1; i < kMaxKeyDepth; ++i)
            p += "\\k";
        return p;
    }();
    const Row rows[] = {
        {"plain", "Software\\Qelvo\\Chromint", true},
        {"leading_separator", "\\Software", true},
        {"empty", "", false},
        {"empty_segment", "Software\\\\Qelvo", false},
        {"trailing_separator", "Software\\", false},
        {"control_byte", "Soft\nware", false},
        {"longest_name", std::string(kMaxKeyNameLength, 'k'), true},
        {"overlong_name", std::string(kMaxKeyNameLength + 1, 'k'), false},
        {"deepest", deep, true},
        {"too_deep", deep + "\\k", false},
    };
    for (const Row& row : rows)
        EXPECT_EQ(SplitKeyPath(row.path).has_value(), row.valid) << row.name;
}

// Every byte value in names and strings, alone and next to others, comes back unchanged and
// the file holds only printable lines.
TEST(SettingsFileFormat, EveryByteSurvivesTheRoundTrip) {
    SettingsKey root;
    SettingsKey& key = root.Create({"Software", "Qelvo", "Chromint"});
    std::string all;
    for (int byte = 0; byte < 256; ++byte) {
        const std::string one(1, static_cast<char>(byte));
        key.SetString("name" + one + std::to_string(byte), one);
        all += one;
    }
    key.SetString(all, all);
    key.SetString("", "");
    key.SetString("truncated utf8", "\xE2\x82");
    key.SetString("surrogate", "\xED\xA0\x80");
    key.SetString("overlong", "\xC0\xAF");
    key.SetDWord("max", 0xFFFFFFFF);
    key.SetDWord("zero", 0);
    root.Create({"Software", "Other", "Empty"});

    const std::string text = FormatSettingsText(root);
    for (const char ch : text) {
        const auto byte = static_cast<unsigned char>(ch);
        ASSERT_TRUE(ch == '\n' || (byte >= 0x20 && byte != 0x7F)) << "raw byte " << int(byte);
    }
    const ParsedSettings parsed = ParseSettingsText(text);
    EXPECT_FALSE(parsed.damaged);
    EXPECT_EQ(Dump(parsed.root), Dump(root));
    EXPECT_NE(parsed.root.Find({"Software", "Other", "Empty"}), nullptr);
    EXPECT_EQ(FormatSettingsText(parsed.root), text);
}

TEST(SettingsFileFormat, NonAsciiTextStaysReadable) {
    EXPECT_EQ(QuoteSettingsText("Bilder/\xC3\xA9t\xC3\xA9 \xF0\x9F\x8E\xA8"),
              "\"Bilder/\xC3\xA9t\xC3\xA9 \xF0\x9F\x8E\xA8\"");
    EXPECT_EQ(QuoteSettingsText("a\\b\"c\nd\x01"), "\"a\\\\b\\\"c\\nd\\x01\"");
}

// A file cut at any byte never yields a value it did not hold: every value read from a
// prefix is the complete value of the whole file, and the cut is always noticed.
TEST(SettingsFileFormat, EveryPrefixIsDamagedAndHoldsOnlyTrueValues) {
    SettingsKey root;
    SettingsKey& key = root.Create({"Software", "Qelvo", "Chromint"});
    key.SetDWord("WindowLeft", 0x12345678);
    key.SetString("Dir", "/home/ann/My \"Pictures\"\\2024");
    SettingsKey& favourites = root.Create({"Software", "Qelvo", "Chromint", "Favourites"});
    for (int i = 1; i <= 5; ++i)
        favourites.SetDWord("Color" + std::to_string(i), 0x00FFFFFFu / static_cast<unsigned>(i));
    const std::string text = FormatSettingsText(root);
    const std::vector<std::string> whole = Dump(root);

    for (std::size_t length = 0; length < text.size(); ++length) {
        const ParsedSettings parsed = ParseSettingsText(std::string_view(text).substr(0, length));
        ASSERT_TRUE(parsed.damaged) << "cut at " << length;
        for (const std::string& value : Dump(parsed.root)) {
            ASSERT_NE(std::find(whole.begin(), whole.end(), value), whole.end())
                << "cut at " << length << " read " << value;
        }
    }
}

TEST(SettingsFileFormat, RandomBytesNeverCrash) {
    std::mt19937 random(20240601);
    std::uniform_int_distribution<int> byte(0, 255);
    const std::string alphabet = "[]\"\\=:dwordx0123456789abcdef\n\r\t ;#";
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    for (int round = 0; round < 2000; ++round) {
        std::string text;
        const int length = round % 300;
        for (int i = 0; i < length; ++i)
            text += round % 2 ? static_cast<char>(byte(random)) : alphabet[pick(random)];
        const ParsedSettings parsed = ParseSettingsText(text);
        // Whatever was read is written out again and reads back the same.
        const ParsedSettings again = ParseSettingsText(FormatSettingsText(parsed.root));
        ASSERT_FALSE(again.damaged) << "round " << round;
        ASSERT_EQ(Dump(again.root), Dump(parsed.root)) << "round " << round;
    }
}

} // namespace
} // namespace chromint
