// Backends for sessions without X11 or portals (offscreen, bare Wayland): they change nothing and
// report every service as unavailable.

#include "PlatformBackends.h"

namespace chromint::backend {

namespace {

class GlobalHotKeysNone final : public GlobalHotKeys {
public:
    bool Available() const override { return false; }
    GrabResult Grab(unsigned, int) override { return GrabResult::Unavailable; }
    bool Ungrab(unsigned, int) override { return false; }
    bool Holds(unsigned, int) const override { return false; }
};

class ScreenAccessNone final : public ScreenAccess {
public:
    bool Available() const override { return false; }
    std::optional<std::uint32_t> PixelAt(QPoint) override { return std::nullopt; }
    QImage Grab(const QRect&) override { return {}; }
    QRect DesktopRect() override { return {}; }
    std::optional<QPoint> PointerPos() override { return std::nullopt; }
    bool SetPointerPos(QPoint) override { return false; }
    bool Confine(const QRect&) override { return false; }
    void Release() override {}
};

class ScreenCaptureNone final : public ScreenCapture {
public:
    bool Available() override { return false; }
    Picture Capture() override { return {}; }
    bool CanPickColor() override { return false; }
    PickedColor PickColor() override { return {}; }
};

class FrameColorNone final : public FrameColorBackend {
public:
    bool IsCompositionEnabled() override { return false; }
    bool CanReadParameters() override { return false; }
    bool CanWriteParameters() override { return false; }
    bool ReadParameters(Parameters&) override { return false; }
    bool WriteParameters(const Parameters&) override { return false; }
    bool ReadColorization(std::uint32_t&) override { return false; }
};

} // namespace

std::unique_ptr<GlobalHotKeys> CreateGlobalHotKeysNone() {
    return std::make_unique<GlobalHotKeysNone>();
}
std::unique_ptr<ScreenAccess> CreateScreenAccessNone() {
    return std::make_unique<ScreenAccessNone>();
}
std::unique_ptr<ScreenCapture> CreateScreenCaptureNone() {
    return std::make_unique<ScreenCaptureNone>();
}
std::unique_ptr<FrameColorBackend> CreateFrameColorNone() {
    return std::make_unique<FrameColorNone>();
}

} // namespace chromint::backend
