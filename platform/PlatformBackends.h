#pragma once

// Backend constructors, chosen at run time by PlatformFactory.cpp.

#include "FrameColor.h"
#include "GlobalHotKeys.h"
#include "ScreenAccess.h"

#include <cstdint>
#include <memory>
#include <optional>

namespace chromint::backend {

bool IsX11Session();

std::unique_ptr<GlobalHotKeys> CreateGlobalHotKeysNone();
std::unique_ptr<ScreenAccess> CreateScreenAccessNone();
std::unique_ptr<FrameColorBackend> CreateFrameColorNone();

#ifdef CHROMINT_HAVE_X11
std::unique_ptr<GlobalHotKeys> CreateGlobalHotKeysX11();
std::unique_ptr<ScreenAccess> CreateScreenAccessX11();
std::optional<std::uint32_t> IdleMillisecondsX11();
bool SetDesktopBackgroundX11(std::uint32_t rgb);
std::optional<std::uint32_t> GetDesktopBackgroundX11();
#endif

} // namespace chromint::backend
