// The main window with everything alive, offscreen: one GetAll (a colour pushed to every
// editor, swatch and the code box) and one full repaint of the window.
// Run: build/bench/main_form_bench

#include "MainFrm.h"
#include "SettingsStore.h"

#include <QApplication>
#include <QPixmap>

#include <benchmark/benchmark.h>

#include <cstdlib>
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

} // namespace

BENCHMARK(BM_GetAll)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FullRepaint)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
