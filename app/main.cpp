// Chromint: entry point.

#include "Cmdln.h"
#include "InstanceMarker.h"
#include "MainFrm.h"
#include "SplashFrm.h"
#include "StartupDialogs.h"
#include "SystemColors.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QIcon>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string_view>

namespace {

// How long the splash window stays up.
constexpr int kSplashMilliseconds = 500;

bool envEmpty(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr || value[0] == '\0';
}

// Qt aborts with a long message when its platform plugin finds no display.
// Spot that case first so the user gets one line and a non-zero exit instead.
// Returns the reason, or nullptr when a display may be available.
const char* missingDisplayReason() {
    const char* platformEnv = std::getenv("QT_QPA_PLATFORM");
    std::string_view platform = platformEnv != nullptr ? platformEnv : "";
    // "xcb:option=value" names the xcb plugin with options.
    platform = platform.substr(0, platform.find(':'));

    if (!envEmpty("DISPLAY")) {
        return nullptr;
    }
    if (platform == "xcb") {
        return "DISPLAY is not set";
    }
    if (platform.empty() && envEmpty("WAYLAND_DISPLAY")) {
        return "DISPLAY is not set";
    }
    return nullptr;
}

QtMessageHandler g_defaultMessageHandler = nullptr;

// While the platform plugin starts: a display that is set but cannot be reached ends in a Qt
// fatal error and an abort. Say it in one line and leave with a plain failure instead.
void startupMessageHandler(QtMsgType type, const QMessageLogContext& context,
                           const QString& message) {
    // The platform plugin's own complaints lead up to the fatal error below.
    if (type != QtFatalMsg && context.category != nullptr &&
        std::string_view(context.category).starts_with("qt.qpa"))
        return;
    if (type == QtFatalMsg) {
        const char* display = std::getenv("DISPLAY");
        std::fprintf(stderr, "chromint: cannot open the graphical display %s\n",
                     display != nullptr ? display : "");
        std::_Exit(1);
    }
    g_defaultMessageHandler(type, context, message);
}

} // namespace

int main(int argc, char** argv) {
    if (const char* reason = missingDisplayReason()) {
        std::fprintf(stderr, "chromint: no graphical display available (%s)\n", reason);
        return 1;
    }
    // Where the program lives, taken while /proc still names it: an executable replaced by a
    // rebuild during the run would show up there as deleted.
    chromint::CommandLine();

    g_defaultMessageHandler = qInstallMessageHandler(startupMessageHandler);
    QApplication app(argc, argv);
    qInstallMessageHandler(g_defaultMessageHandler);
    // System colours (top byte 0xFF) resolve to the desktop's interface colours.
    chromint::InstallSystemColorResolver();
    QApplication::setApplicationName(QStringLiteral("Chromint"));
    QApplication::setOrganizationName(QStringLiteral("Qelvo"));
    QApplication::setDesktopFileName(QStringLiteral("chromint"));
    QApplication::processEvents();

    auto splash = std::make_unique<chromint::TSplashForm>();
    splash->show();
    // Put the splash on the screen before the main window is built behind it.
    QApplication::processEvents();
    QElapsedTimer splashShown;
    splashShown.start();

    // Marks that an instance runs; a second one starts all the same.
    const chromint::InstanceMarker instance("Qelvo.Chromint");
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/chromint/chromint.svg")));

    chromint::TMainForm mainForm;
    // Four dialogs live, hidden, for the whole run.
    chromint::CreateStartupDialogs(&mainForm);

    // The splash stays up for its half second; building the main window behind it counts
    // towards that time rather than adding to it.
    QEventLoop pause;
    const auto remaining = std::max<qint64>(0, kSplashMilliseconds - splashShown.elapsed());
    // A precise timer: a coarse one may fire up to 5 % late.
    QTimer::singleShot(static_cast<int>(remaining), Qt::PreciseTimer, &pause, &QEventLoop::quit);
    pause.exec();
    splash.reset();

    mainForm.show();
    return QApplication::exec();
}
