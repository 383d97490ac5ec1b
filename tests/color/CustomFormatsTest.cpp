#include "CustomFormats.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace chromint {
namespace {

using namespace std::string_literals;

TEST(CustomFormats, RoundTripKeepsEveryByte) {
    struct Row {
        const char* name;
        CustomFormat format;
    };
    const Row rows[] = {
        {"plain", {"Hex", "%hex"}},
        {"separator in both", {"a=b", "c=d=e"}},
        {"backslashes", {"\\", "\\=\\\\"}},
        {"backslash before the separator", {"x\\", "=\\"}},
        {"tabs and line breaks", {"\t\n\r", "line 1\nline 2\r\n\t"}},
        {"NUL and the unit separator", {"a\0b\x1F"s, "\0\x1F"s}},
        {"UTF-8 and a stray byte", {"Farbe \xC3\xA4", "\xFF %r"}},
        {"empty template", {"n", ""}},
    };
    for (const Row& row : rows) {
        const std::string entry = EncodeCustomFormat(row.format);
        EXPECT_EQ(DecodeCustomFormat(entry), row.format) << row.name << ": " << entry;
    }
}

TEST(CustomFormats, HandWrittenEntries) {
    struct Row {
        const char* name;
        std::string entry;
        std::optional<CustomFormat> expected;
    };
    const Row rows[] = {
        {"as a person writes it", "CSS=color: %hex;", CustomFormat{"CSS", "color: %hex;"}},
        {"first separator splits", "a=b=c", CustomFormat{"a", "b=c"}},
        {"lone backslash stands for itself", "C:\\x=%r", CustomFormat{"C:\\x", "%r"}},
        {"no separator", "just text", std::nullopt},
        {"escaped separator only", "a\\=b", std::nullopt},
        {"empty name", "=%hex", std::nullopt},
        {"empty entry", "", std::nullopt},
    };
    for (const Row& row : rows)
        EXPECT_EQ(DecodeCustomFormat(row.entry), row.expected) << row.name;
}

TEST(CustomFormats, LoadSkipsJunkAndCaps) {
    const std::vector<std::string> entries = {"junk", "A=%r", "=x", "B=%g"};
    EXPECT_EQ(DecodeCustomFormats(entries), (std::vector<CustomFormat>{{"A", "%r"}, {"B", "%g"}}));

    std::vector<std::string> many(kMaxCustomFormats + 5, "n=p");
    EXPECT_EQ(DecodeCustomFormats(many).size(), kMaxCustomFormats);

    // Two-byte characters, so a cut by bytes would split one.
    std::string longName;
    for (std::size_t i = 0; i < kMaxCustomFormatNameLength + 3; ++i)
        longName += "\xC3\xA4";
    const std::string longPattern(kMaxCustomFormatPatternLength + 1, 'x');
    const std::optional<CustomFormat> cut =
        DecodeCustomFormat(EncodeCustomFormat({longName, longPattern}));
    ASSERT_TRUE(cut);
    EXPECT_EQ(cut->name.size(), 2 * kMaxCustomFormatNameLength);
    EXPECT_EQ(Utf8Length(cut->name), kMaxCustomFormatNameLength);
    EXPECT_EQ(cut->pattern, longPattern.substr(0, kMaxCustomFormatPatternLength));
}

TEST(CustomFormats, ListRoundTripAndExpansion) {
    const std::vector<CustomFormat> formats = {{"CSS", "rgb(%r %g %b)"}, {"x=y", "%okL%"}};
    EXPECT_EQ(DecodeCustomFormats(EncodeCustomFormats(formats)), formats);
    EXPECT_EQ(ExpandCustomFormat(formats[0], ColorFromHex(0x336699)), "rgb(51 102 153)");
    EXPECT_EQ(ExpandCustomFormat(formats[1], ColorFromHex(0xFF0000)), "62.8%");
}

} // namespace
} // namespace chromint
