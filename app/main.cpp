// Chromint: entry point.

#include "Cmdln.h"
#include "CommandLineOptions.h"
#include "FrozenFramePicker.h"
#include "InstanceMarker.h"
#include "InstanceService.h"
#include "MainFrm.h"
#include "Session.h"
#include "SplashFrm.h"
#include "StartupDialogs.h"
#include "SystemColors.h"
#include "mbColorPreview.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QEventLoop>
#include <QIcon>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
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

QStringList ArgumentList(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

// "#RRGGBB" of a picked colour.
QString HexText(chromint::TColor color) {
    return QStringLiteral("#%1%2%3")
        .arg(chromint::GetRValue(color), 2, 16, QLatin1Char('0'))
        .arg(chromint::GetGValue(color), 2, 16, QLatin1Char('0'))
        .arg(chromint::GetBValue(color), 2, 16, QLatin1Char('0'))
        .toUpper();
}

} // namespace

int main(int argc, char** argv) {
    const chromint::TStartOptions options = chromint::ParseStartOptions(ArgumentList(argc, argv));
    if (!options.error.isEmpty()) {
        std::fprintf(stderr, "chromint: %s\nTry 'chromint --help' for more information.\n",
                     qPrintable(options.error));
        return 2;
    }
    if (options.help) {
        std::fputs(qPrintable(chromint::StartOptionsHelp()), stdout);
        return 0;
    }
    if (options.version) {
        std::printf("%s\n", qPrintable(chromint::VersionText()));
        return 0;
    }
    if (const char* reason = missingDisplayReason()) {
        if (options.pick)
            std::fprintf(stderr, "chromint: cannot pick a colour: no graphical display (%s)\n",
                         reason);
        else
            std::fprintf(stderr, "chromint: no graphical display available (%s)\n", reason);
        return 1;
    }
    chromint::PreferNativeWayland();
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
    QApplication::setDesktopFileName(QString::fromLatin1(chromint::ApplicationId));

    // Pictures named on the command line go to the running instance where there is one.
    QStringList pictures;
    for (const QString& file : options.files)
        pictures << QFileInfo(file).absoluteFilePath();
    if (!options.pick && !pictures.isEmpty() &&
        chromint::RequestOpenFilesInRunningInstance(pictures))
        return 0;

    // A pick hands itself to the running instance, or picks here before anything is shown.
    std::optional<chromint::TColor> picked;
    if (options.pick) {
        if (!options.print && chromint::RequestPickFromRunningInstance())
            return 0;
        QApplication::setQuitOnLastWindowClosed(false);
        const chromint::ScreenPick pick = chromint::PickScreenColor();
        if (pick.status != chromint::ScreenCapture::Status::Done) {
            std::fprintf(stderr, "chromint: no colour picked: %s\n",
                         qPrintable(pick.status == chromint::ScreenCapture::Status::Cancelled
                                        ? QStringLiteral("cancelled")
                                        : pick.message));
            return 1;
        }
        if (options.print) {
            std::printf("%s\n", qPrintable(HexText(pick.color)));
            return 0;
        }
        picked = pick.color;
        QApplication::setQuitOnLastWindowClosed(true);
    }
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
    if (picked)
        mainForm.GetAll(*picked, false);
    // Later "chromint --pick" commands come to this window.
    chromint::TInstanceService service;
    if (service.Register()) {
        QObject::connect(&service, &chromint::TInstanceService::PickRequested, &mainForm,
                         &chromint::TMainForm::PickFromScreen);
        QObject::connect(&service, &chromint::TInstanceService::FilesRequested, &mainForm,
                         &chromint::TMainForm::OpenPictures);
    }
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
    if (!pictures.isEmpty())
        QTimer::singleShot(0, &mainForm, [&mainForm, pictures] { mainForm.OpenPictures(pictures); });
    return QApplication::exec();
}
