#pragma once

#include <cstdint>
#include <optional>

namespace chromint {

// The colour of the desktop behind all windows: the X root window's background, or in a
// Wayland session the background colour of the desktop's own settings where the desktop is
// one whose settings are known. Colours are 0x00RRGGBB.
bool CanSetDesktopBackgroundColor();
bool SetDesktopBackgroundColor(std::uint32_t rgb);
// The colour last set by any Chromint, else the colour seen at the desktop's top-left pixel;
// nothing when the session has no desktop to read.
std::optional<std::uint32_t> GetDesktopBackgroundColor();

} // namespace chromint
