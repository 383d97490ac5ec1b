#include "DesktopPointerConfinement.h"

#include "ScreenAccess.h"

namespace chromint {

DesktopPointerConfinement& DesktopPointerConfinement::Instance() {
    static DesktopPointerConfinement instance;
    return instance;
}

void DesktopPointerConfinement::Confine(const QRect& globalRect) {
    Screen().Confine(globalRect);
}

void DesktopPointerConfinement::Release() {
    Screen().Release();
}

} // namespace chromint
