#pragma once

#include <array>
#include <cstdint>
#include <memory>

namespace chromint {

// The colour of translucent window frames kept by a compositing manager. X11 window managers
// offer no such setting, so the session backend answers "composition disabled"; a backend
// that has a frame colour plugs in here.
class FrameColorBackend {
public:
    // Seven fields exchanged with the compositor; field 0 is the colour as 0xAARRGGBB, field 2
    // the colour balance. The others are passed back as read.
    using Parameters = std::array<std::uint32_t, 7>;

    virtual ~FrameColorBackend() = default;
    virtual bool IsCompositionEnabled() = 0;
    virtual bool CanReadParameters() = 0;
    virtual bool CanWriteParameters() = 0;
    virtual bool ReadParameters(Parameters& parameters) = 0;
    virtual bool WriteParameters(const Parameters& parameters) = 0;
    // The colour as shown, 0xAARRGGBB; false when unknown.
    virtual bool ReadColorization(std::uint32_t& argb) = 0;
};

std::unique_ptr<FrameColorBackend> CreateFrameColorBackend();

} // namespace chromint
