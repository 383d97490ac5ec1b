#pragma once

#include <QRect>

namespace chromint {

// Keeps the mouse pointer inside a screen rectangle while a picker is dragged, so a drag that
// overshoots the control still reads the nearest edge. The desktop backend installs the real
// one; until then the do-nothing default leaves the pointer free.
class PointerConfinement {
public:
    virtual ~PointerConfinement() = default;
    // globalRect in screen coordinates, right and bottom inclusive.
    virtual void Confine(const QRect& globalRect) { (void)globalRect; }
    virtual void Release() {}
};

// The confinement every picker uses. Passing nullptr restores the do-nothing default; the
// caller keeps ownership and must outlive the pickers' use of it.
void SetPointerConfinement(PointerConfinement* confinement);
PointerConfinement& GetPointerConfinement();

} // namespace chromint
