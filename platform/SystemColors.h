#pragma once

#include <QPalette>

#include <cstdint>

namespace chromint {

// The desktop's interface colours, numbered as the program's system colours (the low byte of
// a colour whose top byte is 0xFF): 0 scroll bar, 1 desktop, 2 active caption, ... 30 menu
// bar. They are read from Qt's application palette, which the platform theme fills from the
// running desktop (GNOME, KDE, a Qt style), so this works in every session, X11 or not.

inline constexpr int SystemColorCount = 31;

// The colour of entry index as 0x00BBGGRR (a TColor); black for an index no entry has.
std::uint32_t DesktopInterfaceColor(std::uint8_t index);

// The same from a given palette, so the mapping can be checked against a known palette.
std::uint32_t InterfaceColorFromPalette(const QPalette& palette, std::uint8_t index);

// Makes every system colour of the program resolve through DesktopInterfaceColor. Called once
// at start-up, after the application object exists.
void InstallSystemColorResolver();

} // namespace chromint
