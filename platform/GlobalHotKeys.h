#pragma once

#include <cstdint>
#include <functional>
#include <memory>

namespace chromint {

// Key combinations that reach the program while any other program has the focus.
// Modifiers use the flags below; the key is a virtual-key number of KeyNames.h.
class GlobalHotKeys {
public:
    static constexpr unsigned ModAlt = 1;
    static constexpr unsigned ModCtrl = 2;
    static constexpr unsigned ModShift = 4;
    static constexpr unsigned ModWin = 8;

    enum class GrabResult {
        Grabbed,
        Taken,      // another program, or this one, already holds the combination
        NoSuchKey,  // the keyboard has no key for this virtual key
        Unavailable // the session offers no global hot keys
    };

    virtual ~GlobalHotKeys() = default;

    virtual bool Available() const = 0;
    virtual GrabResult Grab(unsigned modifiers, int virtualKey) = 0;
    // False when the combination was not held by this object.
    virtual bool Ungrab(unsigned modifiers, int virtualKey) = 0;
    virtual bool Holds(unsigned modifiers, int virtualKey) const = 0;

    // Called on the user-interface thread for each press of a held combination.
    std::function<void(unsigned modifiers, int virtualKey)> OnPressed;
};

// The backend of the running session: X11 under xcb, else one that grabs nothing.
std::unique_ptr<GlobalHotKeys> CreateGlobalHotKeys();

} // namespace chromint
