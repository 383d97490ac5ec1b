#include "DesktopBackground.h"
#include "IdleTime.h"
#include "PlatformBackends.h"

#include <QGuiApplication>

namespace chromint {

namespace backend {

bool IsX11Session() {
#ifdef CHROMINT_HAVE_X11
    return qGuiApp != nullptr && QGuiApplication::platformName() == QLatin1String("xcb");
#else
    return false;
#endif
}

} // namespace backend

std::unique_ptr<GlobalHotKeys> CreateGlobalHotKeys() {
#ifdef CHROMINT_HAVE_X11
    if (backend::IsX11Session())
        return backend::CreateGlobalHotKeysX11();
#endif
    return backend::CreateGlobalHotKeysNone();
}

std::unique_ptr<ScreenAccess> CreateScreenAccess() {
#ifdef CHROMINT_HAVE_X11
    if (backend::IsX11Session())
        return backend::CreateScreenAccessX11();
#endif
    return backend::CreateScreenAccessNone();
}

ScreenAccess& Screen() {
    static std::unique_ptr<ScreenAccess> screen = CreateScreenAccess();
    return *screen;
}

std::unique_ptr<FrameColorBackend> CreateFrameColorBackend() {
    return backend::CreateFrameColorNone();
}

std::optional<std::uint32_t> DesktopIdleMilliseconds() {
#ifdef CHROMINT_HAVE_X11
    if (backend::IsX11Session())
        return backend::IdleMillisecondsX11();
#endif
    return std::nullopt;
}

bool SetDesktopBackgroundColor(std::uint32_t rgb) {
#ifdef CHROMINT_HAVE_X11
    if (backend::IsX11Session())
        return backend::SetDesktopBackgroundX11(rgb);
#endif
    (void)rgb;
    return false;
}

std::optional<std::uint32_t> GetDesktopBackgroundColor() {
#ifdef CHROMINT_HAVE_X11
    if (backend::IsX11Session())
        return backend::GetDesktopBackgroundX11();
#endif
    return std::nullopt;
}

} // namespace chromint
