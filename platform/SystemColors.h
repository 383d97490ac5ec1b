#pragma once

#include <QPalette>

#include <cstdint>
#include <optional>

namespace chromint {

// The desktop's interface colours, numbered as the program's system colours (the low byte of
// a colour whose top byte is 0xFF): 0 scroll bar, 1 desktop, 2 active caption, ... 30 menu
// bar. They are read from Qt's application palette, which the platform theme fills from the
// running desktop (GNOME, KDE, a Qt style), so this works in every session, X11 or not.

inline constexpr int SystemColorCount = 31;

// The colour of entry index as 0x00BBGGRR (a TColor); black for an index no entry has.
std::uint32_t DesktopInterfaceColor(std::uint8_t index);

// The same from a given palette, so the mapping can be checked against a known palette.
// Entry 1 (the desktop) is the fixed fallback colour here: a palette does not hold it.
std::uint32_t InterfaceColorFromPalette(const QPalette& palette, std::uint8_t index);

// Entry 1 from the desktop's background colour as the platform reports it (0x00RRGGBB), or
// the fixed fallback #3A6EA5 where the platform cannot tell.
std::uint32_t DesktopEntryColor(std::optional<std::uint32_t> desktopRgb);

// Reads the desktop's background colour again for entry 1. The colour is read once, at the
// first use, and kept (reading it may start a settings tool); a view that must show the
// desktop as it is now, such as the system colours dialog, calls this when it opens.
void RefreshDesktopEntry();

// Makes every system colour of the program resolve through DesktopInterfaceColor. Called once
// at start-up, after the application object exists.
void InstallSystemColorResolver();

} // namespace chromint
