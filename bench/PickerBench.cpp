// Picture rebuilds of the picker controls, and one drag step of each, offscreen.
#include "HSColorPicker.h"
#include "HSLColorPicker.h"
#include "HSVColorPicker.h"
#include "PickerConversions.h"
#include "SLColorPicker.h"
#include "mbTrackBarPicker.h"

#include <QApplication>
#include <QMouseEvent>

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace chromint {
namespace {

// A change of value rebuilds the wheel from its cached geometry.
void BM_WheelPicture(benchmark::State& state) {
    const std::vector<std::int32_t> geometry = WheelGeometry(256);
    int value = 0;
    for (auto _ : state) {
        QImage img = WheelPicture(geometry, 256, value, false, clSilver);
        benchmark::DoNotOptimize(img.constBits());
        value = (value + 1) & 0xFF;
    }
}
BENCHMARK(BM_WheelPicture)->Unit(benchmark::kMicrosecond);

// A resize also recomputes the geometry.
void BM_WheelGeometry(benchmark::State& state) {
    for (auto _ : state) {
        auto g = WheelGeometry(256);
        benchmark::DoNotOptimize(g.data());
    }
}
BENCHMARK(BM_WheelGeometry)->Unit(benchmark::kMicrosecond);

void BM_SquarePicture(benchmark::State& state) {
    SetPickerHSLScale(360, 255, 255);
    int hue = 0;
    for (auto _ : state) {
        QImage img = SquarePicture(hue, false);
        benchmark::DoNotOptimize(img.constBits());
        hue = (hue + 7) % 361;
    }
}
BENCHMARK(BM_SquarePicture)->Unit(benchmark::kMicrosecond);

void BM_HSFieldPicture(benchmark::State& state) {
    SetPickerHSLScale(360, 255, 255);
    for (auto _ : state) {
        QImage img = HSFieldPicture(false);
        benchmark::DoNotOptimize(img.constBits());
    }
}
BENCHMARK(BM_HSFieldPicture)->Unit(benchmark::kMicrosecond);

// The longest bar gradient: the hue bar's 360 entries, rebuilt after a saturation change.
void BM_HueBarGradient(benchmark::State& state) {
    THColorPicker bar;
    bar.SetLayout(TTrackBarLayout::lyVertical);
    int sat = 0;
    for (auto _ : state) {
        bar.SetSaturation(sat);
        benchmark::DoNotOptimize(bar.Gradient().constBits());
        sat = (sat + 1) & 0xFF;
    }
}
BENCHMARK(BM_HueBarGradient)->Unit(benchmark::kMicrosecond);

void BM_ValueBarGradient(benchmark::State& state) {
    TVColorPicker bar;
    int hue = 0;
    for (auto _ : state) {
        bar.SetHue(hue);
        benchmark::DoNotOptimize(bar.Gradient().constBits());
        hue = (hue + 1) % 361;
    }
}
BENCHMARK(BM_ValueBarGradient)->Unit(benchmark::kMicrosecond);

// One mouse-move step of a drag with the left button, and the repaint that follows.
template <typename Picker>
void DragStep(benchmark::State& state, Picker& picker, int w, int h) {
    picker.setFixedSize(w, h);
    picker.show();
    QApplication::processEvents();
    int i = 0;
    for (auto _ : state) {
        const QPointF p(20 + (i % 200), 20 + (i * 7) % 200);
        QMouseEvent move(QEvent::MouseMove, p, picker.mapToGlobal(p), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(&picker, &move);
        picker.repaint();
        ++i;
    }
    picker.hide();
}

void BM_DragStepWheel(benchmark::State& state) {
    THSVColorPicker wheel;
    DragStep(state, wheel, 256, 256);
}
BENCHMARK(BM_DragStepWheel)->Unit(benchmark::kMicrosecond);

void BM_DragStepSquare(benchmark::State& state) {
    TSLColorPicker square;
    DragStep(state, square, 256, 256);
}
BENCHMARK(BM_DragStepSquare)->Unit(benchmark::kMicrosecond);

void BM_DragStepComposite(benchmark::State& state) {
    THSLColorPicker hsl;
    hsl.setFixedSize(309, 268);
    hsl.show();
    QApplication::processEvents();
    THSColorPicker& field = *hsl.HSPicker();
    int i = 0;
    for (auto _ : state) {
        const QPointF p(20 + (i % 200), 20 + (i * 7) % 200);
        QMouseEvent move(QEvent::MouseMove, p, field.mapToGlobal(p), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(&field, &move);
        hsl.repaint();
        ++i;
    }
}
BENCHMARK(BM_DragStepComposite)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace chromint

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
