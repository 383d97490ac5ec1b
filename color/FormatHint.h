#pragma once

#include "ColorTypes.h"

#include <string>
#include <string_view>

namespace chromint {

// Expands a tool-tip template: "%hex", "%r", "%hslH", "%cieL", ... (letter case ignored) are
// replaced by the colour's numbers. Picker HSL uses the picker scale in force.
std::string FormatHint(std::string_view hintTemplate, TColor color);

// The pickers' default seven-line template.
extern const std::string_view DefaultPickerHintFormat;

} // namespace chromint
