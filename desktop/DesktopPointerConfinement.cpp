#include "DesktopPointerConfinement.h"

#include "ScreenAccess.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>

namespace chromint {

QRect NativeScreenRect(const QRect& logical, const QRect& screenGeometry, double pixelRatio) {
    const QPoint origin = screenGeometry.topLeft();
    const auto scaled = [pixelRatio](int length) { return int(std::lround(length * pixelRatio)); };
    const QPoint topLeft =
        origin + QPoint(scaled(logical.x() - origin.x()), scaled(logical.y() - origin.y()));
    // The far edges are scaled too, so neighbouring rectangles still meet without a gap.
    const QPoint end = origin + QPoint(scaled(logical.x() + logical.width() - origin.x()),
                                       scaled(logical.y() + logical.height() - origin.y()));
    return QRect(topLeft, QSize(end.x() - topLeft.x(), end.y() - topLeft.y()));
}

DesktopPointerConfinement& DesktopPointerConfinement::Instance() {
    static DesktopPointerConfinement instance;
    return instance;
}

void DesktopPointerConfinement::Confine(const QRect& globalRect) {
    const QScreen* screen = QGuiApplication::screenAt(globalRect.center());
    if (screen == nullptr)
        screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        Screen().Confine(globalRect);
        return;
    }
    Screen().Confine(NativeScreenRect(globalRect, screen->geometry(), screen->devicePixelRatio()));
}

void DesktopPointerConfinement::Release() {
    Screen().Release();
}

} // namespace chromint
