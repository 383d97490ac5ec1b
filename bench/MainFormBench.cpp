// The main window with everything alive, offscreen: one GetAll (a colour pushed to every
// editor, swatch and the code box) and one full repaint of the window.
// Run: build/bench/main_form_bench

#include "MainFrm.h"
#include "SettingsStore.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPixmap>
#include <QTabWidget>
#include <QTest>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

using namespace chromint;

// Settings held in memory only: a path in a folder that does not exist never gets written,
// and the benchmark leaves the user's settings alone.
std::unique_ptr<SettingsStore> ScratchStore() {
    return OpenSettingsFile("/nonexistent-chromint-bench/Chromint.conf");
}

void BM_GetAll(benchmark::State& state) {
    TMainForm form(ScratchStore());
    form.show();
    QApplication::processEvents();
    TColor color = 0x123456;
    for (auto _ : state) {
        color = (color * 2654435761u + 12345u) & 0xFFFFFF;
        form.GetAll(color, false);
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_FullRepaint(benchmark::State& state) {
    TMainForm form(ScratchStore());
    form.show();
    QApplication::processEvents();
    QPixmap target(form.size());
    TColor color = 0x654321;
    for (auto _ : state) {
        // A new colour each time, so every swatch picture is rebuilt as after a real change.
        color = (color * 2654435761u + 12345u) & 0xFFFFFF;
        state.PauseTiming();
        form.GetAll(color, false);
        state.ResumeTiming();
        form.render(&target);
    }
    state.SetItemsProcessed(state.iterations());
}

// One step of a drag on a picker page: a mouse move with the left button held, which pushes
// the colour through GetAll to every view, then the repaint of the window.
void BM_DragStep(benchmark::State& state) {
    static const char* const pickers[] = {"HSLPicker", "SLPicker", "HSVPicker"};
    TMainForm form(ScratchStore());
    form.show();
    auto* pages = form.findChild<QTabWidget*>(QStringLiteral("PageControl"));
    pages->setCurrentIndex(static_cast<int>(state.range(0)));
    QWidget* picker = form.findChild<QWidget*>(QString::fromLatin1(pickers[state.range(0)]));
    // The composite forwards to its hue-saturation field, the child under the pointer.
    if (QWidget* child = picker->childAt(100, 100))
        picker = child;
    QApplication::processEvents();
    QPixmap target(form.size());
    QTest::mousePress(picker, Qt::LeftButton, Qt::NoModifier, QPoint(100, 100));
    int step = 0;
    for (auto _ : state) {
        const QPoint at(40 + (step * 7) % 180, 40 + (step * 13) % 180);
        ++step;
        QMouseEvent move(QEvent::MouseMove, at, picker->mapToGlobal(at), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(picker, &move);
        form.render(&target);
    }
    QTest::mouseRelease(picker, Qt::LeftButton, Qt::NoModifier, QPoint(100, 100));
    state.SetItemsProcessed(state.iterations());
    state.SetLabel(pickers[state.range(0)]);
}

} // namespace

BENCHMARK(BM_DragStep)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GetAll)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FullRepaint)->Unit(benchmark::kMicrosecond);
