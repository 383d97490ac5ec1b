// Rendering the exported colour picture and encoding it in each file format, offscreen.

#include "ColorWriter.h"

#include <QApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

using namespace chromint;

void BM_Render(benchmark::State& state) {
    const TColorWriter writer(MakeRGB(255, 128, 0));
    QImage image;
    for (auto _ : state) {
        writer.Render(image);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_Render)->Unit(benchmark::kMicrosecond);

// Render and write one file, as "Export..." does once the name is chosen.
void BM_Save(benchmark::State& state) {
    QTemporaryDir dir;
    const int format = static_cast<int>(state.range(0));
    const QString name = ExportFileName(dir.filePath(QStringLiteral("colour")), format);
    for (auto _ : state)
        SaveColorPicture(MakeRGB(255, 128, 0), name, format);
}
BENCHMARK(BM_Save)
    ->ArgName("format")
    ->Arg(ExportBMP)
    ->Arg(ExportPNG)
    ->Arg(ExportGIF)
    ->Arg(ExportJPEG)
    ->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    if (std::getenv("DISPLAY") == nullptr && std::getenv("QT_QPA_PLATFORM") == nullptr)
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
