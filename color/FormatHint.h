#pragma once

#include "ColorTypes.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace chromint {

// Expands a tool-tip or copy template: "%hex", "%r", "%hslH", "%cieL", "%okL", ... (letter
// case ignored) are replaced by the colour's numbers. Picker HSL uses the picker scale in
// force. At each '%' the longest placeholder that matches wins, so "%oklchL" is never read as
// "%okL" and "ch", nor "%hwbH" as "%h" and "wbH". A '%' that starts no placeholder is copied
// as it is; "%%" is no escape, just two such signs in a row.
//
// The CSS-space placeholders give decimals with trailing zeros dropped, locale-independent:
// lightness and HWB/Lab/LCh values with 2 decimals, OKLab a/b and OKLCh chroma with 4. A hue
// reads 0 when its chroma shows as 0 and never reads 360.
std::string FormatHint(std::string_view hintTemplate, TColor color);

// The pickers' default seven-line template.
extern const std::string_view DefaultPickerHintFormat;

// One placeholder for the template editors' help: "%oklchH" and what it stands for.
struct PlaceholderInfo {
    std::string_view name; // with the '%', in the letter case the help shows
    std::string_view description;
};

// Every placeholder FormatHint knows, in the order the help lists them.
std::span<const PlaceholderInfo> KnownPlaceholders();

// The '%' words of a template that FormatHint would copy as they are although they look like
// placeholders: a '%' followed by an ASCII letter where no placeholder starts. Each word is
// the '%' with the letters and digits after it ("%foo", "%okX"), listed once, in the order
// they first occur. A '%' followed by anything else (a space, a digit, another '%', the end)
// is a plain percent sign and is not listed.
std::vector<std::string> UnknownPlaceholders(std::string_view format);

} // namespace chromint
