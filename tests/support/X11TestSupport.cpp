#include "X11TestSupport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QProcess>
#include <QThread>

// Xlib last: its macros collide with Qt.
#include <X11/Xlib.h>

namespace chromint::test {

namespace {

bool grabFailed = false;

int RecordError(Display*, XErrorEvent*) {
    grabFailed = true;
    return 0;
}

} // namespace

bool OnX11() {
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

bool RunTool(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(10000))
        return false;
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

bool WaitUntil(const std::function<bool()>& done, int milliseconds) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < milliseconds) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return done();
}

OtherClientGrab::OtherClientGrab(unsigned long keysym, unsigned modifiers) : modifiers_(modifiers) {
    Display* display = XOpenDisplay(nullptr);
    display_ = display;
    if (display == nullptr)
        return;
    keycode_ = XKeysymToKeycode(display, keysym);
    grabFailed = false;
    auto previous = XSetErrorHandler(RecordError);
    XGrabKey(display, int(keycode_), modifiers_, DefaultRootWindow(display), True, GrabModeAsync,
             GrabModeAsync);
    XSync(display, False);
    XSetErrorHandler(previous);
    holds_ = !grabFailed;
}

OtherClientGrab::~OtherClientGrab() {
    if (auto* display = static_cast<Display*>(display_)) {
        XCloseDisplay(display);
    }
}

} // namespace chromint::test
