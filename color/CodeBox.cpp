#include "CodeBox.h"

#include "ColorNotations.h"
#include "CssColor.h"

#include <array>

namespace chromint {

namespace {
struct Entry {
    std::string_view name;
    CssNotation notation;
};

// HTML's entry carries Hex only to fill the slot: it goes through the HTML notation.
constexpr std::array<Entry, CodeBoxNotationCount> kEntries{{
    {"HTML", CssNotation::Hex},
    {"rgb", CssNotation::Rgb},
    {"hsl", CssNotation::Hsl},
    {"hwb", CssNotation::Hwb},
    {"lab", CssNotation::Lab},
    {"lch", CssNotation::Lch},
    {"oklab", CssNotation::Oklab},
    {"oklch", CssNotation::Oklch},
}};

bool IsCss(int notation) {
    return notation > 0 && notation < CodeBoxNotationCount;
}
} // namespace

std::string_view CodeBoxNotationName(int notation) {
    return IsCss(notation) ? kEntries[static_cast<std::size_t>(notation)].name : kEntries[0].name;
}

std::string CodeBoxText(TColor color, int notation) {
    if (!IsCss(notation))
        return ColorToText(color, NotationHTML);
    return FormatCssColor(color, kEntries[static_cast<std::size_t>(notation)].notation);
}

TColor CodeBoxInputToColor(std::string_view text) {
    const TColor color = CodeBoxTextToColor(text);
    if (color != clNone)
        return color;
    if (const std::optional<CssColor> css = ParseCssColor(text))
        return ColorOfCss(*css);
    return clNone;
}

} // namespace chromint
