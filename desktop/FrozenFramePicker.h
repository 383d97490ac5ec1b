#pragma once

#include "ColorTypes.h"
#include "ScreenAccess.h"
#include "ScreenCapture.h"

#include <QImage>
#include <QPointF>
#include <QRect>
#include <QString>

#include <optional>
#include <vector>

namespace chromint {

// One screen as Qt reports it: its geometry in Qt's (logical) coordinates and its scale.
struct ScreenGeometry {
    QRect logical;
    double devicePixelRatio = 1.0;
};

// Where each screen shows in a picture of the whole desktop, in picture pixels.
std::vector<QRect> PictureRectsForScreens(const std::vector<ScreenGeometry>& screens, QSize picture,
                                          ScreenCapture::Layout layout);

// The picture pixel under a point (Qt's coordinates) of the screen with these rectangles: the
// physical pixel, also on fractionally scaled screens.
QPoint PicturePixelAt(const QRect& logical, const QRect& picture, QPointF point);

// Where an arrow key moves the picked pixel: 1 pixel, 10 with Shift, kept inside bounds;
// nothing for any other key.
std::optional<QPoint> ArrowKeyMove(QPoint pixel, int key, bool shift, const QRect& bounds);

// A still picture of the desktop, read as if it were the screen: its pixels and a pointer
// that the picker moves. Its coordinates are the picture's pixels.
class FrozenDesktop final : public ScreenAccess {
public:
    explicit FrozenDesktop(QImage picture);

    const QImage& Picture() const { return picture_; }

    bool Available() const override { return !picture_.isNull(); }
    std::optional<std::uint32_t> PixelAt(QPoint point) override;
    QImage Grab(const QRect& rect) override;
    QRect DesktopRect() override { return picture_.rect(); }
    std::optional<QPoint> PointerPos() override { return pointer_; }
    bool SetPointerPos(QPoint point) override;
    // Nothing to hold: the picker's windows cover every screen.
    bool Confine(const QRect&) override { return true; }
    void Release() override {}

private:
    QImage picture_;
    QPoint pointer_;
};

// The still-frame picker: each screen is covered by a window showing the picture of it,
// with the magnifier and the read-out beside the pointer. The pointer or the arrow keys
// (Shift: 10 pixels) move; a click, Enter or Ctrl+Shift+X takes the colour, Esc cancels.
// startPoint (Qt's coordinates) is where the pick begins; nothing starts at the pointer.
std::optional<TColor> RunFrozenFramePicker(const ScreenCapture::Picture& picture, double zoom,
                                           std::optional<QPoint> startPoint = std::nullopt);

// The outcome of one pick from the screen.
struct ScreenPick {
    ScreenCapture::Status status = ScreenCapture::Status::Unavailable;
    TColor color = clNone;
    QString message; // for the user, when no colour came
};

// One colour from the screen, whichever way the session allows: the desktop's own picker
// where the portal offers one, else a still frame of the desktop with the picker above.
ScreenPick PickScreenColor(double zoom = 8.0);

} // namespace chromint
