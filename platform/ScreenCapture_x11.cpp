// Still frames of the desktop on X11: the root window, read in one request.

#include "PlatformBackends.h"

namespace chromint::backend {

namespace {

// A still frame of the X server's root window, read in one request.
class ScreenCaptureX11 final : public ScreenCapture {
public:
    bool Available() override { return screen_->Available(); }
    bool CanPickColor() override { return false; }

    Picture Capture() override {
        Picture picture;
        picture.layout = Layout::Native;
        if (!screen_->Available())
            return picture;
        picture.image = screen_->Grab(screen_->DesktopRect());
        picture.status = picture.image.isNull() ? Status::Failed : Status::Done;
        if (picture.image.isNull())
            picture.message = QStringLiteral("the X server gave no picture of the screen");
        return picture;
    }

    PickedColor PickColor() override { return {}; }

private:
    std::unique_ptr<ScreenAccess> screen_ = CreateScreenAccessX11();
};

} // namespace

std::unique_ptr<ScreenCapture> CreateScreenCaptureX11() {
    return std::make_unique<ScreenCaptureX11>();
}

} // namespace chromint::backend
