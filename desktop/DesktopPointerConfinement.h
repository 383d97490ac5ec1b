#pragma once

#include "PointerConfinement.h"

namespace chromint {

// The pickers' pointer confinement on the session's screen service. Install once at start:
// SetPointerConfinement(&DesktopPointerConfinement::Instance()).
class DesktopPointerConfinement final : public PointerConfinement {
public:
    static DesktopPointerConfinement& Instance();
    void Confine(const QRect& globalRect) override;
    void Release() override;
};

} // namespace chromint
