#include "CodeBox.h"
#include "CopyMenu.h"

#include <gtest/gtest.h>

#include <string>

namespace chromint {
namespace {

// Whatever notation the box shows, the text reads back as the same colour, and typed text is
// read in any notation whichever one is chosen.
TEST(CodeBoxTest, EveryNotationReadsBack) {
    const TColor colours[] = {clBlack,
                              clWhite,
                              ColorFromHex(0x118957),
                              ColorFromHex(0xFF0000),
                              ColorFromHex(0x0000FF),
                              ColorFromHex(0x808080)};
    for (int notation = 0; notation < CodeBoxNotationCount; ++notation) {
        const std::string name(CodeBoxNotationName(notation));
        for (const TColor colour : colours) {
            const std::string text = CodeBoxText(colour, notation);
            if (notation > 0) {
                EXPECT_EQ(text.substr(0, name.size() - 1), name.substr(0, name.size() - 1));
            }
            EXPECT_EQ(CodeBoxInputToColor(text), colour) << text;
        }
    }
    EXPECT_EQ(CodeBoxText(ColorFromHex(0x118957), 0), "#118957");
    EXPECT_EQ(CodeBoxNotationName(CodeBoxNotationCount), "HTML");
}

TEST(CodeBoxTest, InputInAnyNotation) {
    const struct {
        const char* text;
        TColor expected;
    } rows[] = {
        {"f00", ColorFromHex(0xFF0000)},
        {"steelblue", ColorFromHex(0x4682B4)},
        {"oklch(70% 0.1 200)", ColorFromHex(0x40B1B7)},
        {"rgb(255 0 0 / 50%)", ColorFromHex(0xFF0000)},
        {"hsl(120deg 100% 25%)", ColorFromHex(0x008000)},
        {"oklch(70% 0.1", clNone},
        {"#12345", clNone},
        {"", clNone},
    };
    for (const auto& row : rows)
        EXPECT_EQ(CodeBoxInputToColor(row.text), row.expected) << row.text;
    // Outside sRGB: mapped into it rather than refused.
    EXPECT_NE(CodeBoxInputToColor("oklch(70% 0.4 30)"), clNone);
}

TEST(CodeBoxTest, CssAndCustomCopyItems) {
    const std::vector<CopyMenuItem> items = CssCopyMenuItems(ColorFromHex(0xFF0000));
    ASSERT_EQ(items.size(), 8u);
    EXPECT_EQ(items[0].name, "miCssRgb");
    EXPECT_EQ(items[0].caption, "CSS rgb()\trgb(255 0 0)");
    EXPECT_EQ(CopyTextOfCaption(items[7].caption).substr(0, 17), "color(display-p3 ");
    const CopyMenuItem custom = CustomCopyMenuItem("miCustomFormat1", "R&D\tteam", "a\nb&c");
    EXPECT_EQ(custom.caption, "R&&D team\ta b&&c");
}

} // namespace
} // namespace chromint
