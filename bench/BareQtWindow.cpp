// A bare Qt 6 window of the main window's size: the yardstick the start-up figures of
// Chromint are measured beside.

#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(526, 415);
    window.show();
    return QApplication::exec();
}
