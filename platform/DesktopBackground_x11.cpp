// The desktop colour on X11: the root window's background.

#include "PlatformBackends.h"

#include <QGuiApplication>

// Xlib last: its macros collide with Qt.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace chromint::backend {

namespace {

Display* X11Display() {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 != nullptr ? x11->display() : nullptr;
}

// X cannot report a window's background, so the colour set is also kept in a root property
// for the next reader, whichever Chromint that is.
Atom ColorAtom(Display* display) {
    return XInternAtom(display, "_CHROMINT_DESKTOP_COLOR", False);
}

} // namespace

bool SetDesktopBackgroundX11(std::uint32_t rgb) {
    Display* display = X11Display();
    if (display == nullptr)
        return false;
    const int screen = DefaultScreen(display);
    XColor color{};
    color.red = std::uint16_t(((rgb >> 16) & 0xff) * 257);
    color.green = std::uint16_t(((rgb >> 8) & 0xff) * 257);
    color.blue = std::uint16_t((rgb & 0xff) * 257);
    color.flags = DoRed | DoGreen | DoBlue;
    if (!XAllocColor(display, DefaultColormap(display, screen), &color))
        return false;
    const Window root = RootWindow(display, screen);
    XSetWindowBackground(display, root, color.pixel);
    XClearWindow(display, root);
    const long value = long(rgb & 0xffffff);
    XChangeProperty(display, root, ColorAtom(display), XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&value), 1);
    XSync(display, False);
    return true;
}

std::optional<std::uint32_t> GetDesktopBackgroundX11() {
    Display* display = X11Display();
    if (display == nullptr)
        return std::nullopt;
    const Window root = DefaultRootWindow(display);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    std::optional<std::uint32_t> result;
    if (XGetWindowProperty(display, root, ColorAtom(display), 0, 1, False, XA_CARDINAL, &type,
                           &format, &count, &after, &data) == Success &&
        type == XA_CARDINAL && format == 32 && count == 1 && data != nullptr) {
        result = std::uint32_t(*reinterpret_cast<const long*>(data)) & 0xffffff;
    }
    if (data != nullptr)
        XFree(data);
    if (result)
        return result;
    XImage* image = XGetImage(display, root, 0, 0, 1, 1, AllPlanes, ZPixmap);
    if (image == nullptr)
        return std::nullopt;
    XColor color{};
    color.pixel = XGetPixel(image, 0, 0);
    XDestroyImage(image);
    XQueryColor(display, DefaultColormap(display, DefaultScreen(display)), &color);
    return (std::uint32_t(color.red >> 8) << 16) | (std::uint32_t(color.green >> 8) << 8) |
           std::uint32_t(color.blue >> 8);
}

} // namespace chromint::backend
