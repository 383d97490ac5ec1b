// Chromint: entry point.

#include <QApplication>
#include <QLabel>
#include <QMainWindow>

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

constexpr int kClientWidth = 526;
constexpr int kClientHeight = 415;

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

} // namespace

int main(int argc, char** argv) {
    if (const char* reason = missingDisplayReason()) {
        std::fprintf(stderr, "chromint: no graphical display available (%s)\n", reason);
        return 1;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Chromint"));
    QApplication::setOrganizationName(QStringLiteral("Qelvo"));

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Chromint"));
    auto* placeholder = new QLabel(QStringLiteral("Chromint"), &window);
    placeholder->setAlignment(Qt::AlignCenter);
    window.setCentralWidget(placeholder);
    window.setFixedSize(kClientWidth, kClientHeight);
    window.show();

    return QApplication::exec();
}
