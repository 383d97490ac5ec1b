#include "DesktopUtils.h"

#include "ColorOperations.h"
#include "DesktopBackground.h"

#include <QThread>

#include <algorithm>

namespace chromint {

bool SetDesktopColor(TColor color) {
    if (color == clNone || (color & SystemColorFlag) != 0)
        return false;
    return SetDesktopBackgroundColor((std::uint32_t(GetRValue(color)) << 16) |
                                     (std::uint32_t(GetGValue(color)) << 8) | GetBValue(color));
}

TColor GetDesktopColor() {
    const auto rgb = GetDesktopBackgroundColor();
    if (!rgb)
        return clNone;
    return MakeRGB(std::uint8_t(*rgb >> 16), std::uint8_t(*rgb >> 8), std::uint8_t(*rgb));
}

void GetWallpaper(TWallpaper& wallpaper) {
    wallpaper.Path.clear();
    wallpaper.Style = TWallpaperStyle::wsCenter;
    wallpaper.Background = GetDesktopColor();
}

bool HasWallpaper() {
    return false;
}

void SetDesktopColorCommand(TColor currentColor) {
    SetDesktopColor(currentColor);
}

namespace Aero {

namespace {

std::unique_ptr<FrameColorBackend>& Backend() {
    static std::unique_ptr<FrameColorBackend> backend;
    if (!backend)
        backend = CreateFrameColorBackend();
    return backend;
}

std::function<void(int)>& Sleeper() {
    static std::function<void(int)> sleeper;
    return sleeper;
}

TColor FromArgb(std::uint32_t argb) {
    return MakeRGB(std::uint8_t(argb >> 16), std::uint8_t(argb >> 8), std::uint8_t(argb));
}

} // namespace

void SetBackend(std::unique_ptr<FrameColorBackend> backend) {
    Backend() = backend ? std::move(backend) : CreateFrameColorBackend();
}

void SetSleeper(std::function<void(int)> sleeper) {
    Sleeper() = std::move(sleeper);
}

bool IsCompositionEnabled() {
    return Backend()->IsCompositionEnabled();
}

bool CanSetAeroColor() {
    return Backend()->CanWriteParameters();
}

TColor GetAeroColor() {
    FrameColorBackend& backend = *Backend();
    if (!backend.IsCompositionEnabled() || !backend.CanReadParameters())
        return clNone;
    FrameColorBackend::Parameters parameters{};
    if (!backend.ReadParameters(parameters))
        return clNone;
    return FromArgb(parameters[0]);
}

TColor GetAeroVisibleColor() {
    FrameColorBackend& backend = *Backend();
    std::uint32_t argb = 0;
    if (!backend.IsCompositionEnabled() || !backend.ReadColorization(argb))
        return clNone;
    // The frame is seen lighter the more transparent it is.
    const int alpha = int(argb >> 24);
    const auto visible = [alpha](int channel) {
        return std::uint8_t(std::clamp(channel + 215 - alpha, 0, 255));
    };
    return MakeRGB(visible(int((argb >> 16) & 0xff)), visible(int((argb >> 8) & 0xff)),
                   visible(int(argb & 0xff)));
}

void SetAeroColor(TColor color) {
    FrameColorBackend& backend = *Backend();
    if (color == clNone || !backend.IsCompositionEnabled() || !backend.CanReadParameters() ||
        !backend.CanWriteParameters())
        return;
    FrameColorBackend::Parameters parameters{};
    backend.ReadParameters(parameters);
    parameters[2] = 70;
    parameters[0] = (std::uint32_t(GetRValue(color)) << 16) |
                    (std::uint32_t(GetGValue(color)) << 8) | GetBValue(color);
    backend.WriteParameters(parameters);
}

void AnimateAeroColor(TColor color, std::uint8_t steps, std::uint8_t delay) {
    const int n = std::clamp(int(steps), 3, 255);
    const TColor start = GetAeroColor();
    if (start == clNone)
        return; // no frame colour to move from: every step would do nothing
    const TColorArray entries = Gradient(start, color, std::uint16_t(n));
    for (std::size_t i = 1; i < entries.size(); ++i) {
        SetAeroColor(entries[i]);
        if (Sleeper())
            Sleeper()(delay);
        else
            QThread::msleep(delay);
    }
}

} // namespace Aero

} // namespace chromint
