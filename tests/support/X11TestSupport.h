#pragma once

// Helpers for tests that run under a real X server: a second X client and the xdotool and
// xsetroot programs. Xlib stays inside the .cpp.

#include <QString>
#include <QStringList>

#include <functional>

namespace chromint::test {

// True when the program runs on Qt's xcb platform (a real X server).
bool OnX11();

// Runs a program to its end; false when it could not run or failed.
bool RunTool(const QString& program, const QStringList& arguments);

// Processes Qt events until done() or the time runs out; answers done().
bool WaitUntil(const std::function<bool()>& done, int milliseconds = 2000);

// Another X client holding a key combination, as a second program on the desktop would.
class OtherClientGrab {
public:
    // keysym with X modifier mask (Mod1 = 8 for Alt).
    OtherClientGrab(unsigned long keysym, unsigned modifiers);
    ~OtherClientGrab();
    OtherClientGrab(const OtherClientGrab&) = delete;
    OtherClientGrab& operator=(const OtherClientGrab&) = delete;
    bool Holds() const { return holds_; }

private:
    void* display_ = nullptr;
    unsigned keycode_ = 0;
    unsigned modifiers_ = 0;
    bool holds_ = false;
};

} // namespace chromint::test
