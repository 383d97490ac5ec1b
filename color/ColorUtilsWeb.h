#pragma once

#include "ColorTypes.h"

#include <span>
#include <string>
#include <string_view>

namespace chromint {

// Web-safe (levels 0, 51, ..., 255) and web-smart (multiples of 17) colours, and the HTML
// colour names.

inline constexpr int WebSafeStep = 51;
inline constexpr int WebSmartStep = 17;

// Each channel truncated down to a multiple of step; the top byte becomes 0.
TColor SnapColor(TColor color, int step);
bool IsWebSafe(TColor color);
bool IsWebSmart(TColor color);

struct NamedColor {
    std::string_view name;
    TColor color;
};
// The 147 extended colour keywords, alphabetical, each "grey" spelling right after its "gray".
std::span<const NamedColor> HTMLColorNames();

// The first name whose value equals the colour (all 32 bits), so "aqua" wins over "cyan";
// otherwise empty, or the "#RRGGBB" notation when fallback is set.
std::string ColorToHTMLName(TColor color, bool fallback = false);
// Case-insensitive exact match (no trimming); clNone when unknown.
TColor HTMLNameToColor(std::string_view text);
// Exactly 3 or 6 characters, each a hexadecimal digit.
bool IsHexColorBody(std::string_view text);

} // namespace chromint
