#pragma once

#include <cstdint>
#include <string_view>

namespace chromint {

// The hot-key code keeps the virtual-key numbers of the original keyboard layout (0..255), so
// stored codes and texts stay the same on every desktop. This table ties each number to the X
// keysym that produces it and to the English name a US keyboard gives the key.

// 0 when the virtual key has no keysym here.
std::uint32_t VirtualKeyToKeysym(int virtualKey);
// 0 when no virtual key produces the keysym; letters match in either case.
int KeysymToVirtualKey(std::uint32_t keysym);
// The English key name, empty for a number without a key.
std::string_view EnglishKeyName(int virtualKey);

} // namespace chromint
