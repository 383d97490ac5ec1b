// Idle time from the MIT-SCREEN-SAVER extension.

#include "PlatformBackends.h"

#include <QGuiApplication>

// Xlib last: its macros collide with Qt.
#include <X11/Xlib.h>
#include <X11/extensions/scrnsaver.h>

namespace chromint::backend {

std::optional<std::uint32_t> IdleMillisecondsX11() {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    Display* display = x11 != nullptr ? x11->display() : nullptr;
    if (display == nullptr)
        return std::nullopt;
    int eventBase = 0;
    int errorBase = 0;
    if (!XScreenSaverQueryExtension(display, &eventBase, &errorBase))
        return std::nullopt;
    XScreenSaverInfo* info = XScreenSaverAllocInfo();
    if (info == nullptr)
        return std::nullopt;
    std::optional<std::uint32_t> idle;
    if (XScreenSaverQueryInfo(display, DefaultRootWindow(display), info))
        idle = std::uint32_t(info->idle);
    XFree(info);
    return idle;
}

} // namespace chromint::backend
