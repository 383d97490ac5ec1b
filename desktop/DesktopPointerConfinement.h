#pragma once

#include "PointerConfinement.h"

#include <QRect>

namespace chromint {

// Qt's rectangle in a screen's physical pixels. Qt's screen geometry keeps the screen's
// physical top-left and divides only its size by the device pixel ratio, so a point's
// physical place is that top-left plus its distance from it times the ratio.
QRect NativeScreenRect(const QRect& logical, const QRect& screenGeometry, double pixelRatio);

// The pickers' pointer confinement on the session's screen service, which works in physical
// pixels. Install once at start: SetPointerConfinement(&DesktopPointerConfinement::Instance()).
class DesktopPointerConfinement final : public PointerConfinement {
public:
    static DesktopPointerConfinement& Instance();
    // globalRect in Qt's coordinates, mapped through the screen that holds its centre.
    void Confine(const QRect& globalRect) override;
    void Release() override;
};

} // namespace chromint
