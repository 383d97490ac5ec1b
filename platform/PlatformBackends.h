#pragma once

// Backend constructors, chosen at run time by PlatformFactory.cpp.

#include "FrameColor.h"
#include "GlobalHotKeys.h"
#include "ScreenAccess.h"
#include "ScreenCapture.h"

#include <cstdint>
#include <memory>
#include <optional>

namespace chromint::backend {

std::unique_ptr<GlobalHotKeys> CreateGlobalHotKeysNone();
std::unique_ptr<ScreenAccess> CreateScreenAccessNone();
std::unique_ptr<ScreenCapture> CreateScreenCaptureNone();
std::unique_ptr<FrameColorBackend> CreateFrameColorNone();

std::unique_ptr<ScreenCapture> CreateScreenCapturePortal();
std::unique_ptr<GlobalHotKeys> CreateGlobalHotKeysPortal();

// The desktop's own background settings (GNOME, Cinnamon, MATE, KDE Plasma).
bool DesktopSettingsKnown();
bool SetDesktopBackgroundSettings(std::uint32_t rgb);
std::optional<std::uint32_t> GetDesktopBackgroundSettings();

#ifdef CHROMINT_HAVE_X11
std::unique_ptr<GlobalHotKeys> CreateGlobalHotKeysX11();
std::unique_ptr<ScreenAccess> CreateScreenAccessX11();
std::unique_ptr<ScreenCapture> CreateScreenCaptureX11();
std::optional<std::uint32_t> IdleMillisecondsX11();
bool SetDesktopBackgroundX11(std::uint32_t rgb);
std::optional<std::uint32_t> GetDesktopBackgroundX11();
#endif

} // namespace chromint::backend
