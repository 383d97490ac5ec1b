#pragma once

#include <cstdint>
#include <optional>

namespace chromint {

// Milliseconds since the last keyboard or mouse input anywhere on the desktop; nothing when
// the session cannot tell.
std::optional<std::uint32_t> DesktopIdleMilliseconds();

} // namespace chromint
