#include "FormatHint.h"
#include "ColorTestSupport.h"
#include "TextUtils.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <vector>

namespace chromint {
namespace {

class FormatHintTest : public ::testing::Test {
protected:
    void SetUp() override { test::UseStartupScales(); }
    test::EngineStateGuard guard_;
};

TEST_F(FormatHintTest, Templates) {
    const TColor red = ColorFromHex(0xFF0000);
    struct Row {
        const char* name;
        const char* hintTemplate;
        TColor color;
        const char* expected;
    };
    const Row rows[] = {
        {"palette template", "RGB(%r, %g, %b)\rHex: %hex", red, "RGB(255, 0, 0)\rHex: #FF0000"},
        {"placeholder brings its own #", "Hex #%hex", red, "Hex ##FF0000"},
        {"letter case ignored", "%HEX %R %Hsvh %CIEl", red, "#FF0000 255 0 53"},
        {"%h is the same as %hslH; s is 127.49999 in double", "%h %hslH %s %hslS %l %hslL",
         ColorFromHex(0x336699), "210 210 127 127 102 102"},
        {"%v is the same as %hsvV", "%v %hsvV %hsvS %hsvH", ColorFromHex(0x336699),
         "153 153 170 210"},
        {"cmyk on 0..255", "%c %m %y %k", ColorFromHex(0x336699), "102 51 0 102"},
        {"cie of white", "%cieL %cieA %cieB|%cieX %cieY %cieZ|%cieC %cieH", 0xFFFFFF,
         "100 -2 -19|95 100 109|20 263"},
        {"every occurrence", "%r%r%r", red, "255255255"},
        {"unknown placeholders stay", "%q %% %", red, "%q %% %"},
        {"a double percent before a placeholder", "%%r", red, "%255"},
        {"hsl prefix with another letter falls back to %h", "%hslX", red, "0slX"},
        {"top byte ignored", "%hex", 0xFF0000FF, "#FF0000"},
        {"empty", "", red, ""},
        // The CSS spaces.
        {"red oklab, lightness in percent", "%okL %okA %okB", red, "62.8 0.2249 0.1258"},
        {"red oklch", "%oklchL %oklchC %oklchH", red, "62.8 0.2577 29.23"},
        {"red hwb", "%hwbH %hwbW %hwbB", red, "0 0 0"},
        {"red lab and lch on D50", "%labL %labA %labB|%lchL %lchC %lchH", red,
         "54.29 80.8 69.89|54.29 106.84 40.86"},
        {"white", "%okL %okA %okB %oklchC %oklchH|%hwbH %hwbW %hwbB|%labL %labA %labB %lchC %lchH",
         0xFFFFFF, "100 0 0 0 0|0 100 0|100 0 0 0 0"},
        {"black", "%okL %okA %okB %oklchC %oklchH|%hwbH %hwbW %hwbB|%labL %labA %labB %lchC %lchH",
         0x000000, "0 0 0 0 0|0 0 100|0 0 0 0 0"},
        {"grey has hue 0", "%okL %oklchC %oklchH|%hwbH %hwbW %hwbB|%labL %lchC %lchH",
         ColorFromHex(0x808080), "59.99 0 0|0 50.2 49.8|53.59 0 0"},
        {"negative components, trailing zeros dropped",
         "%okL %okA %okB|%oklchC %oklchH|%hwbH %hwbW %hwbB|%lchC %lchH", ColorFromHex(0x336699),
         "49.93 -0.033 -0.093|0.0987 250.43|210 20 40|33.8 262.23"},
        {"hue 359.999 reads 0", "%oklchH", ColorFromHex(0x300115), "0"},
        {"alpha of an opaque colour", "%alpha %ALPHA", red, "1 1"},
        {"longest name wins", "%oklchL|%okL|%OKLCHC", red, "62.8|62.8|0.2577"},
        {"oklch without its letter is %okL", "%okLchX", red, "62.8chX"},
        {"hwb without its letter falls back to %h", "%hwbX", red, "0wbX"},
        {"lab without its letter falls back to %l", "%labX", red, "128abX"},
        {"ok without its letter stays", "%okX", red, "%okX"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(FormatHint(row.hintTemplate, row.color), row.expected) << row.name;
}

TEST_F(FormatHintTest, DefaultPickerTemplate) {
    EXPECT_EQ(FormatHint(DefaultPickerHintFormat, ColorFromHex(0xFF0000)),
              "Hex ##FF0000\n\rRGB[255, 0, 0]\n\rHSL[0, 255, 128]\n\rHSV[0, 255, 255]\n\r"
              "CMYK[0, 255, 255, 0]\n\rL*a*b*[53, 78, 62]\n\rXYZ[41, 21, 2]");
}

TEST_F(FormatHintTest, HSLFollowsThePickerScale) {
    SetPickerHSLScale(360, 240, 255);
    EXPECT_EQ(FormatHint("H: %h S: %hslS", ColorFromHex(0xFF0000)), "H: 0 S: 240");
}

TEST_F(FormatHintTest, UnknownPlaceholders) {
    using Words = std::vector<std::string>;
    struct Row {
        const char* name;
        const char* format;
        Words expected;
    };
    const Row rows[] = {
        {"only placeholders", "%hex %r %oklchH %alpha", {}},
        {"plain percent signs", "50 % 100% %% %1 %", {}},
        {"unknown words", "%foo and %qux", {"%foo", "%qux"}},
        {"listed once, as typed", "%foo %foo %FOO", {"%foo", "%FOO"}},
        {"digits belong to the word", "%q1x", {"%q1x"}},
        {"prefixes of long names", "%ok %okX", {"%ok", "%okX"}},
        {"%oklch is %okL and ch", "%oklch", {}},
        {"a short placeholder takes the word", "%hello %kitten", {}},
        {"percent before a word", "%%foo", {"%foo"}},
        {"word ends at a non-letter", "%foo-bar", {"%foo"}},
        {"non-ASCII after percent", "%\xC3\xA9", {}},
        {"right after a placeholder", "%hex%zz", {"%zz"}},
        {"empty", "", {}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(UnknownPlaceholders(row.format), row.expected) << row.name;
}

TEST_F(FormatHintTest, EveryKnownPlaceholderIsReplacedWhole) {
    std::set<std::string> seen;
    for (const PlaceholderInfo& info : KnownPlaceholders()) {
        const std::string name(info.name);
        EXPECT_TRUE(seen.insert(AsciiLower(name)).second) << name << " listed twice";
        EXPECT_FALSE(info.description.empty()) << name;
        EXPECT_TRUE(UnknownPlaceholders(name).empty()) << name;
        const std::string text = FormatHint(name + "|", ColorFromHex(0x336699));
        EXPECT_EQ(text.find_first_of("%abcdefghijklmnopqrstuvwxyz"), std::string::npos) << name;
        EXPECT_EQ(text.back(), '|') << name;
    }
    EXPECT_EQ(seen.size(), 42u);
}

// Replacing each placeholder in turn over the whole text, case-insensitively, every name before
// the shorter names it starts with: the plain way to read the template rules, against which the
// one-pass expansion is checked.
std::string ReplaceInTurn(std::string text, TColor color) {
    static const char* const order[] = {
        "%oklchL", "%oklchC", "%oklchH", "%alpha", "%hex",  "%cieL", "%cieA", "%cieB", "%cieX",
        "%cieY",   "%cieZ",   "%cieC",   "%cieH",  "%hslH", "%hslS", "%hslL", "%hsvH", "%hsvS",
        "%hsvV",   "%hwbH",   "%hwbW",   "%hwbB",  "%labL", "%labA", "%labB", "%lchL", "%lchC",
        "%lchH",   "%okL",    "%okA",    "%okB",   "%r",    "%g",    "%b",    "%c",    "%m",
        "%y",      "%k",      "%h",      "%s",     "%l",    "%v"};
    for (const char* placeholder : order) {
        const std::string value = FormatHint(placeholder, color);
        const std::string lowerPlaceholder = AsciiLower(placeholder);
        std::string out;
        std::size_t pos = 0;
        const std::string lowerText = AsciiLower(text);
        while (true) {
            const std::size_t hit = lowerText.find(lowerPlaceholder, pos);
            if (hit == std::string::npos)
                break;
            out.append(text, pos, hit - pos);
            out += value;
            pos = hit + lowerPlaceholder.size();
        }
        out.append(text, pos);
        text = out;
    }
    return text;
}

TEST_F(FormatHintTest, OnePassMatchesReplacingInTurn) {
    static const char* const pieces[] = {"%",   "h",  "ex", "sl", "sv", "H",   "S",   "L",  "V",
                                         "cie", "X",  "c",  "r",  "g",  "b",   "k",   " ",  "#",
                                         "1",   "%%", "ok", "w",  "a",  "lch", "alp", "ha", "lab"};
    std::mt19937 random(12345);
    std::uniform_int_distribution<int> piece(0, std::size(pieces) - 1);
    std::uniform_int_distribution<int> length(1, 14);
    for (int i = 0; i < 20000; ++i) {
        std::string hintTemplate;
        for (int n = length(random); n > 0; --n)
            hintTemplate += pieces[piece(random)];
        const TColor color = random() & 0xFFFFFF;
        ASSERT_EQ(FormatHint(hintTemplate, color), ReplaceInTurn(hintTemplate, color))
            << "template \"" << hintTemplate << "\"";
    }
}

} // namespace
} // namespace chromint
