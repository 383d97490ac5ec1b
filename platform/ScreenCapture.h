#pragma once

#include <QImage>
#include <QString>

#include <cstdint>
#include <memory>

namespace chromint {

// One picture of the whole desktop, and one colour picked by the desktop itself: what a
// session offers where the screen cannot be read pixel by pixel (Wayland), and a still frame
// to pick from anywhere.
class ScreenCapture {
public:
    enum class Status {
        Done,
        Cancelled,   // the user cancelled
        NoPortal,    // no session bus, or no desktop portal on it
        NoInterface, // the desktop portal offers no screenshots
        Failed,      // anything else; the message says what
        Unavailable, // this session has no way to take the picture
    };

    // How the picture maps to the screens' geometry as Qt reports it.
    enum class Layout {
        // Pixels of the X server's root window: each screen at its own position, its size
        // multiplied by its device pixel ratio.
        Native,
        // The bounding box of all screens, scaled evenly to the picture's size.
        ScaledBounds,
    };

    struct Picture {
        Status status = Status::Unavailable;
        QImage image; // RGB32, one pixel per physical screen pixel
        Layout layout = Layout::Native;
        QString message; // why, when not Done
    };

    struct PickedColor {
        Status status = Status::Unavailable;
        std::uint32_t rgb = 0; // 0x00RRGGBB
        QString message;
    };

    virtual ~ScreenCapture() = default;

    // Whether Capture can be tried (a portal or an X server is there).
    virtual bool Available() = 0;
    virtual Picture Capture() = 0;
    // Whether the desktop picks colours itself (the Screenshot portal from version 2).
    virtual bool CanPickColor() = 0;
    virtual PickedColor PickColor() = 0;
};

// The session's backend, created on first use (user-interface thread only).
ScreenCapture& DesktopCapture();

// The user-facing sentence for a status, with the backend's detail where there is one.
QString ScreenCaptureMessage(ScreenCapture::Status status, const QString& detail);

} // namespace chromint
