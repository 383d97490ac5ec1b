// A top-level window filled with one colour, for end-to-end tests on Wayland:
//
//     chromint_solid_window '#RRGGBB' NAME
//
// NAME is the window title and, on Wayland, the app_id (through the desktop file name), so
// the compositor can find and place the window. Prints "ready" on stdout once the window
// is exposed and painted.

#include <QApplication>
#include <QColor>
#include <QEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <cstdio>

namespace {

class SolidWindow : public QWidget {
public:
    explicit SolidWindow(const QColor& colour) : m_colour(colour) {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setAutoFillBackground(false);
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter painter(this);
        painter.fillRect(event->rect(), m_colour);
        if (!m_announced && windowHandle() && windowHandle()->isExposed()) {
            m_announced = true;
            // After this paint has been handed to the compositor.
            QTimer::singleShot(0, this, [] {
                std::fputs("ready\n", stdout);
                std::fflush(stdout);
            });
        }
    }

private:
    QColor m_colour;
    bool m_announced = false;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fputs("usage: chromint_solid_window '#RRGGBB' NAME\n", stderr);
        return 2;
    }
    const QColor colour(QString::fromLocal8Bit(argv[1]));
    if (!colour.isValid()) {
        std::fprintf(stderr, "chromint_solid_window: not a colour: %s\n", argv[1]);
        return 2;
    }
    const QString name = QString::fromLocal8Bit(argv[2]);
    QGuiApplication::setDesktopFileName(name);

    SolidWindow window(colour);
    window.setWindowTitle(name);
    window.resize(300, 200);
    window.show();
    return QApplication::exec();
}
