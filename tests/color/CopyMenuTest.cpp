#include "CopyMenu.h"
#include "ColorTestSupport.h"
#include "ColorUtilsWeb.h"

#include <gtest/gtest.h>

namespace chromint {
namespace {

class CopyMenuTest : public ::testing::Test {
protected:
    void SetUp() override { test::UseStartupScales(); }
    test::EngineStateGuard guard_;
};

std::vector<std::string> Captions(TColor current, const EditorValues& editors) {
    std::vector<std::string> out;
    for (const CopyMenuItem& item : CopyMenuItems(current, editors))
        out.push_back(item.caption);
    return out;
}

TEST_F(CopyMenuTest, RedCaptions) {
    const TColor red = ColorFromHex(0xFF0000);
    const std::vector<std::string> expected = {
        "HTML code\t#FF0000",
        "HTML name\tred",
        "C++\t0x000000FF",
        "Java\t0xFF0000",
        "Delphi\t$000000FF",
        "Basic\t&&H000000FF&&",
        "RGB\tRGB(255, 0, 0)",
        "BGR\tBGR(0, 0, 255)",
        "RGB float\tRGB(1.00000, 0.00000, 0.00000)",
        "RGB percent\tRGB(100%, 0%, 0%)",
        "HSL\tHSL(0°, 100%, 50%)",
        "HSB\tHSB(0°, 100%, 100%)",
        "CMY\tCMY(0%, 100%, 100%)",
        "CMYK\tCMYK(0%, 100%, 100%, 0%)",
        "CIE Lab\tLab(53, 78, 62)",
    };
    EXPECT_EQ(Captions(red, EditorValuesOf(red)), expected);
}

TEST_F(CopyMenuTest, ClipboardTextOfAnItem) {
    const TColor red = ColorFromHex(0xFF0000);
    const auto items = CopyMenuItems(red, EditorValuesOf(red));
    EXPECT_EQ(items[5].name, "miBasic");
    EXPECT_EQ(CopyTextOfCaption(items[5].caption), "&H000000FF&");
    EXPECT_EQ(CopyTextOfCaption("no tab here"), "");
    EXPECT_EQ(CopyTextOfCaption("a\tb\tc"), "b\tc") << "text after the first tab";
}

TEST_F(CopyMenuTest, UnnamedColourHidesTheNameItem) {
    const TColor c = ColorFromHex(0x123456);
    const auto items = CopyMenuItems(c, EditorValuesOf(c));
    EXPECT_EQ(items[0].caption, "HTML\t#123456");
    EXPECT_EQ(items[1].name, "miHTMLName");
    EXPECT_FALSE(items[1].visible);
    EXPECT_EQ(items[8].caption, "RGB float\tRGB(0.07059, 0.20392, 0.33725)");
}

TEST_F(CopyMenuTest, HueJustBelow360) {
    const TColor c = MakeRGB(255, 0, 1);
    const EditorValues editors = EditorValuesOf(c);
    EXPECT_EQ(editors.h, 359) << "the H editor's maximum";
    const auto items = CopyMenuItems(c, editors);
    EXPECT_EQ(items[10].caption, "HSL\tHSL(359°, 100%, 50%)");
    EXPECT_EQ(items[11].caption, "HSB\tHSB(360°, 100%, 100%)");
}

TEST_F(CopyMenuTest, RGBItemsFollowTheEditorsAndCodesFollowTheColour) {
    // In web-only mode the R editor keeps a typed 100 while the colour is snapped.
    EditorValues editors = EditorValuesOf(ColorFromHex(0x640000));
    const TColor current = SnapColor(ColorFromHex(0x640000), 51);
    const auto items = CopyMenuItems(current, editors);
    EXPECT_EQ(items[0].caption, "HTML\t#330000");
    EXPECT_EQ(items[6].caption, "RGB\tRGB(100, 0, 0)");
    EXPECT_EQ(items[7].caption, "BGR\tBGR(0, 0, 100)");
}

TEST_F(CopyMenuTest, EditorValues) {
    struct Row {
        const char* name;
        TColor color;
        EditorValues expected;
    };
    const Row rows[] = {
        {"white", 0xFFFFFF, {255, 255, 255, 0, 0, 100, 0, 0, 0, 0, 100, -2, -19}},
        {"black", 0x000000, {0, 0, 0, 0, 0, 0, 0, 0, 0, 100, 0, 0, 0}},
        {"red", ColorFromHex(0xFF0000), {255, 0, 0, 0, 100, 50, 0, 100, 100, 0, 53, 78, 62}},
        {"grey 128", 0x808080, {128, 128, 128, 0, 0, 50, 0, 0, 0, 50, 54, -1, -12}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(EditorValuesOf(row.color), row.expected) << row.name;
}

} // namespace
} // namespace chromint
