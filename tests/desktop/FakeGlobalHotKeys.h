#pragma once

#include "GlobalHotKeys.h"

#include <set>
#include <utility>

namespace chromint::test {

// Global hot keys without a window system: records grabs, refuses a combination it holds or
// one marked as held by another program, and presses on request.
class FakeGlobalHotKeys final : public GlobalHotKeys {
public:
    std::set<std::pair<unsigned, int>> held;
    std::set<std::pair<unsigned, int>> heldElsewhere;
    int grabCalls = 0;
    int ungrabCalls = 0;

    bool Available() const override { return true; }
    GrabResult Grab(unsigned modifiers, int key) override {
        ++grabCalls;
        if (held.count({modifiers, key}) != 0 || heldElsewhere.count({modifiers, key}) != 0)
            return GrabResult::Taken;
        held.insert({modifiers, key});
        return GrabResult::Grabbed;
    }
    bool Ungrab(unsigned modifiers, int key) override {
        ++ungrabCalls;
        return held.erase({modifiers, key}) != 0;
    }
    bool Holds(unsigned modifiers, int key) const override {
        return held.count({modifiers, key}) != 0;
    }
    void Press(unsigned modifiers, int key) {
        if (OnPressed && held.count({modifiers, key}) != 0)
            OnPressed(modifiers, key);
    }
};

} // namespace chromint::test
