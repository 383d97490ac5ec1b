#pragma once

#include "ColorTypes.h"

#include <string>
#include <string_view>

namespace chromint {

// The notations the code box offers: HTML, its first and default one, then the CSS
// functions. The choice only decides how the box shows the current colour; what is typed or
// pasted is read in any notation.
inline constexpr int CodeBoxNotationCount = 8;

// The list's entries: "HTML", "rgb", "hsl", "hwb", "lab", "lch", "oklab", "oklch" (the box
// beside the code box is as narrow as "HTML"); HTML for an index outside the list.
std::string_view CodeBoxNotationName(int notation);

// The current colour as the box shows it in a notation.
std::string CodeBoxText(TColor color, int notation);

// The colour typed or pasted text names: the HTML box's own rules first (a bare "f00", a
// colour name), then every CSS colour notation, gamut-mapped into sRGB. clNone when the text
// names no colour, so the box leaves the current colour alone while the user is typing.
TColor CodeBoxInputToColor(std::string_view text);

} // namespace chromint
