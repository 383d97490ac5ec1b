#include "DesktopBackground.h"
#include "IdleTime.h"
#include "PlatformBackends.h"
#include "Session.h"

namespace chromint {

std::unique_ptr<GlobalHotKeys> CreateGlobalHotKeys() {
#ifdef CHROMINT_HAVE_X11
    if (IsX11Session())
        return backend::CreateGlobalHotKeysX11();
#endif
    if (IsWaylandSession())
        return backend::CreateGlobalHotKeysPortal();
    return backend::CreateGlobalHotKeysNone();
}

std::unique_ptr<ScreenAccess> CreateScreenAccess() {
#ifdef CHROMINT_HAVE_X11
    if (IsX11Session())
        return backend::CreateScreenAccessX11();
#endif
    return backend::CreateScreenAccessNone();
}

ScreenAccess& Screen() {
    static std::unique_ptr<ScreenAccess> screen = CreateScreenAccess();
    return *screen;
}

ScreenCapture& DesktopCapture() {
    static std::unique_ptr<ScreenCapture> capture = [] {
#ifdef CHROMINT_HAVE_X11
        if (IsX11Session())
            return backend::CreateScreenCaptureX11();
#endif
        if (IsWaylandSession())
            return backend::CreateScreenCapturePortal();
        return backend::CreateScreenCaptureNone();
    }();
    return *capture;
}

QString ScreenCaptureMessage(ScreenCapture::Status status, const QString& detail) {
    QString text;
    switch (status) {
    case ScreenCapture::Status::Done:
        return {};
    case ScreenCapture::Status::Cancelled:
        return QStringLiteral("Cancelled.");
    case ScreenCapture::Status::NoPortal:
        text = QStringLiteral("The screen cannot be read: this session has no desktop portal "
                              "(xdg-desktop-portal) on its session bus.");
        break;
    case ScreenCapture::Status::NoInterface:
        text = QStringLiteral("The screen cannot be read: the desktop portal of this session "
                              "offers no screenshots.");
        break;
    case ScreenCapture::Status::Failed:
        text = QStringLiteral("The screen could not be read.");
        break;
    case ScreenCapture::Status::Unavailable:
        text = QStringLiteral("The screen cannot be read in this session.");
        break;
    }
    if (!detail.isEmpty() && status == ScreenCapture::Status::Failed)
        text += QStringLiteral(" (%1)").arg(detail);
    return text;
}

std::unique_ptr<FrameColorBackend> CreateFrameColorBackend() {
    return backend::CreateFrameColorNone();
}

std::optional<std::uint32_t> DesktopIdleMilliseconds() {
#ifdef CHROMINT_HAVE_X11
    if (IsX11Session())
        return backend::IdleMillisecondsX11();
#endif
    return std::nullopt;
}

bool CanSetDesktopBackgroundColor() {
    if (IsX11Session())
        return true;
    return IsWaylandSession() && backend::DesktopSettingsKnown();
}

bool SetDesktopBackgroundColor(std::uint32_t rgb) {
#ifdef CHROMINT_HAVE_X11
    if (IsX11Session())
        return backend::SetDesktopBackgroundX11(rgb);
#endif
    if (IsWaylandSession())
        return backend::SetDesktopBackgroundSettings(rgb);
    return false;
}

std::optional<std::uint32_t> GetDesktopBackgroundColor() {
#ifdef CHROMINT_HAVE_X11
    if (IsX11Session())
        return backend::GetDesktopBackgroundX11();
#endif
    if (IsWaylandSession() && backend::DesktopSettingsKnown())
        return backend::GetDesktopBackgroundSettings();
    return std::nullopt;
}

} // namespace chromint
