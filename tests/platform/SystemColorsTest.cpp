#include "SystemColors.h"
#include "ColorTypes.h"

#include <QColor>
#include <QPalette>

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <vector>

namespace chromint {
namespace {

// A palette whose every role has its own colour, so a row names the role it was read from.
QPalette DistinctPalette() {
    QPalette pal;
    for (int role = 0; role < QPalette::NColorRoles; ++role) {
        const auto r = static_cast<QPalette::ColorRole>(role);
        if (r == QPalette::NoRole)
            continue;
        pal.setColor(QPalette::Active, r, QColor(role * 10, 100, 200));
        pal.setColor(QPalette::Disabled, r, QColor(role * 10, 50, 0));
    }
    return pal;
}

std::uint32_t ActiveRole(QPalette::ColorRole role) {
    return MakeRGB(static_cast<std::uint8_t>(role * 10), 100, 200);
}

struct MapRow {
    const char* name;
    std::uint8_t index;
    std::uint32_t expected;
};

TEST(SystemColorsTest, PaletteMapping) {
    const QPalette pal = DistinctPalette();
    const QColor lighterHighlight = pal.color(QPalette::Active, QPalette::Highlight).lighter(130);
    const std::vector<MapRow> rows = {
        {"Scroll Bar", 0, ActiveRole(QPalette::Button)},
        {"Background is the fixed desktop blue", 1, ColorFromHex(0x3A6EA5)},
        {"Active Caption", 2, ActiveRole(QPalette::Highlight)},
        {"Window Background", 5, ActiveRole(QPalette::Base)},
        {"Window Text", 8, ActiveRole(QPalette::Text)},
        {"Highlight Background", 13, ActiveRole(QPalette::Highlight)},
        {"Button Face", 15, ActiveRole(QPalette::Button)},
        {"Button Shadow", 16, ActiveRole(QPalette::Dark)},
        {"Gray Text from the disabled group", 17,
         MakeRGB(static_cast<std::uint8_t>(QPalette::Text * 10), 50, 0)},
        {"Info Background", 24, ActiveRole(QPalette::ToolTipBase)},
        {"unused index 25", 25, clBlack},
        {"Hot Light", 26, ActiveRole(QPalette::Link)},
        {"Gradient Active Caption", 27,
         MakeRGB(static_cast<std::uint8_t>(lighterHighlight.red()),
                 static_cast<std::uint8_t>(lighterHighlight.green()),
                 static_cast<std::uint8_t>(lighterHighlight.blue()))},
        {"Menu Bar", 30, ActiveRole(QPalette::Window)},
        {"past the table", 31, clBlack},
        {"far past the table", 255, clBlack},
    };
    for (const MapRow& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(InterfaceColorFromPalette(pal, row.index), row.expected);
    }
}

struct DesktopRow {
    const char* name;
    std::optional<std::uint32_t> desktopRgb;
    std::uint32_t expected;
};

TEST(SystemColorsTest, DesktopEntryIsTheDesktopsColourWhereKnown) {
    const std::vector<DesktopRow> rows = {
        {"black desktop", 0x000000, clBlack},
        {"red comes first in the platform's number", 0x102030, MakeRGB(0x10, 0x20, 0x30)},
        {"a top byte is not part of the colour", 0xFF0A0B0C, MakeRGB(0x0A, 0x0B, 0x0C)},
        {"unknown desktop falls back to the fixed blue", std::nullopt, ColorFromHex(0x3A6EA5)},
    };
    for (const DesktopRow& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(DesktopEntryColor(row.desktopRgb), row.expected);
    }
}

TEST(SystemColorsTest, ResolverInstalled) {
    const SystemColorResolver previous = GetSystemColorResolver();
    InstallSystemColorResolver();
    for (int i = 0; i < SystemColorCount; ++i) {
        SCOPED_TRACE(i);
        const TColor resolved = ResolveSystemColor(SystemColorFlag | static_cast<TColor>(i));
        EXPECT_EQ(resolved, DesktopInterfaceColor(static_cast<std::uint8_t>(i)));
        EXPECT_FALSE(IsSystemColor(resolved));
    }
    SetSystemColorResolver(previous);
}

} // namespace
} // namespace chromint
