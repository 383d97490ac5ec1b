#include "Session.h"

#include <QGuiApplication>

#include <cstdlib>
#include <cstring>

namespace chromint {

namespace {

bool EnvSet(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && value[0] != '\0';
}

} // namespace

bool IsWaylandSession() {
    if (EnvSet("WAYLAND_DISPLAY"))
        return true;
    const char* type = std::getenv("XDG_SESSION_TYPE");
    return type != nullptr && std::strcmp(type, "wayland") == 0;
}

bool IsX11Session() {
#ifdef CHROMINT_HAVE_X11
    return qGuiApp != nullptr && QGuiApplication::platformName() == QLatin1String("xcb") &&
           !IsWaylandSession();
#else
    return false;
#endif
}

void PreferNativeWayland() {
    if (IsWaylandSession() && EnvSet("WAYLAND_DISPLAY") && !EnvSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "wayland;xcb");
}

} // namespace chromint
