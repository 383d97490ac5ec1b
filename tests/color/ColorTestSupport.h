#pragma once

#include "ColorUtils.h"
#include "PickerConversions.h"

#include <cstdio>
#include <string>

namespace chromint::test {

inline std::string Hex(TColor c) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "$%08X", c);
    return buf;
}

// Restores the process-wide scales and the system colour resolver after each test, so a test
// that changes them cannot leak into the next.
class EngineStateGuard {
public:
    EngineStateGuard()
        : range_(GetHSLRange()), scale_(GetPickerHSLScale()), resolver_(GetSystemColorResolver()) {}
    ~EngineStateGuard() {
        SetHSLRange(range_.hue, range_.saturation, range_.lightness);
        SetPickerHSLScale(scale_.maxHue, scale_.maxSat, scale_.maxLum);
        SetSystemColorResolver(resolver_);
    }
    EngineStateGuard(const EngineStateGuard&) = delete;
    EngineStateGuard& operator=(const EngineStateGuard&) = delete;

private:
    HSLRange range_;
    PickerHSLScale scale_;
    SystemColorResolver resolver_;
};

// The range and scale the running program works in.
inline void UseStartupScales() {
    SetHSLRange(360, 100, 100);
    SetPickerHSLScale(360, 255, 255);
}

} // namespace chromint::test
