// The still-frame picker: from the command to the picker on the screen (the screenshot's
// round trip included), and one redraw of its magnifier at 8x. The first needs a session that
// takes screenshots (an X server, or a Wayland session with its portal: run it there with
// QT_QPA_PLATFORM=wayland or xcb); offscreen it reports an error instead.

#include "FrozenFramePicker.h"
#include "JvZoom.h"
#include "ScreenColorDlg.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTimer>
#include <QWindow>

#include <benchmark/benchmark.h>

namespace chromint {
namespace {

void BM_StillFramePickerShown(benchmark::State& state) {
    if (!DesktopCapture().Available()) {
        state.SkipWithError("this session takes no screenshots");
        return;
    }
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        double shownSeconds = 0;
        // Watches for the picker's first window on the screen, notes the time, and cancels.
        QTimer watch;
        watch.setInterval(1);
        QObject::connect(&watch, &QTimer::timeout, [&] {
            for (QWidget* top : QApplication::topLevelWidgets()) {
                if (top->objectName() != QLatin1String("FrozenScreenWindow") ||
                    top->windowHandle() == nullptr || !top->windowHandle()->isExposed())
                    continue;
                shownSeconds = double(clock.nsecsElapsed()) / 1e9;
                watch.stop();
                QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
                QApplication::sendEvent(top, &escape);
                return;
            }
        });
        watch.start();
        const ScreenCapture::Picture picture = DesktopCapture().Capture();
        if (picture.status != ScreenCapture::Status::Done) {
            state.SkipWithError("the screenshot failed");
            return;
        }
        RunFrozenFramePicker(picture, 8.0);
        state.SetIterationTime(shownSeconds);
    }
}
BENCHMARK(BM_StillFramePickerShown)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_MagnifierRedraw8x(benchmark::State& state) {
    QImage picture(1920, 1080, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, qRgb(x & 255, y & 255, (x + y) & 255));
    FrozenDesktop desktop(picture);
    TScreenColorPanel panel(8.0, desktop);
    panel.Zoom()->SetPolling(false);
    panel.show();
    int step = 0;
    for (auto _ : state) {
        desktop.SetPointerPos(QPoint(500 + (step & 1), 500));
        ++step;
        panel.Zoom()->Tick(); // capture, enlarge, draw and read out
    }
}
BENCHMARK(BM_MagnifierRedraw8x)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace chromint
