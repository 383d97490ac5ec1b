#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>

#include <cstdint>
#include <memory>
#include <optional>

namespace chromint {

// The screen's pixels and the mouse pointer, in the coordinates of the whole desktop in
// physical pixels (on a scaled screen, the pixel really under the pointer).
class ScreenAccess {
public:
    virtual ~ScreenAccess() = default;

    virtual bool Available() const = 0;
    // The pixel as 0x00RRGGBB; nothing for a point outside every screen.
    virtual std::optional<std::uint32_t> PixelAt(QPoint point) = 0;
    // The rectangle's pixels, one image pixel per screen pixel; the parts outside the
    // desktop are black. A null image when nothing can be read.
    virtual QImage Grab(const QRect& rect) = 0;
    // The desktop's bounds.
    virtual QRect DesktopRect() = 0;

    virtual std::optional<QPoint> PointerPos() = 0;
    virtual bool SetPointerPos(QPoint point) = 0;
    // Keeps the pointer inside rect (right and bottom inclusive) until Release.
    virtual bool Confine(const QRect& rect) = 0;
    virtual void Release() = 0;
};

std::unique_ptr<ScreenAccess> CreateScreenAccess();
// One shared instance for the session, created on first use (user-interface thread only).
ScreenAccess& Screen();

} // namespace chromint
