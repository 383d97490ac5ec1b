#pragma once

#include <cstdint>
#include <optional>

namespace chromint {

// The colour of the desktop behind all windows (the X root window's background).
// Colours are 0x00RRGGBB.
bool SetDesktopBackgroundColor(std::uint32_t rgb);
// The colour last set by any Chromint, else the colour seen at the desktop's top-left pixel;
// nothing when the session has no desktop to read.
std::optional<std::uint32_t> GetDesktopBackgroundColor();

} // namespace chromint
