// The picture window's heavy steps on a 6000 × 4000 photograph-like JPEG, offscreen: loading
// it (side by side with libjpeg-turbo decoding the same file alone), pixelating it, choosing
// 256 colours and one pointer-move read-out.
// Run: build/bench/image_bench

#include "ImageImportDlg.h"
#include "ImageLoaders.h"
#include "PictureMosaic.h"
#include "PictureView.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QScrollBar>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>
// jpeglib.h needs FILE and size_t declared before it.
#include <jpeglib.h>

namespace {

using namespace chromint;

constexpr int kWidth = 6000;
constexpr int kHeight = 4000;

// Smooth shading with fine grain, so the file compresses like a photograph.
QImage PhotoLike() {
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    std::uint32_t noise = 1;
    for (int y = 0; y < kHeight; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < kWidth; ++x) {
            noise = noise * 1664525u + 1013904223u;
            const int grain = int(noise >> 28) - 8;
            const double wave = std::sin(x * 0.003) * std::cos(y * 0.004);
            row[x] = qRgb(std::clamp(int(128 + 100 * wave) + grain, 0, 255),
                          std::clamp(x * 255 / kWidth + grain, 0, 255),
                          std::clamp(y * 255 / kHeight + grain, 0, 255));
        }
    }
    return image;
}

const QString& JpegFile() {
    static QTemporaryDir dir;
    static const QString path = [] {
        const QString file = dir.filePath(QStringLiteral("photo.jpg"));
        if (!PhotoLike().save(file, "JPEG", 90))
            std::abort();
        return file;
    }();
    return path;
}

// libjpeg-turbo on its own: the same file into a plain buffer of 32-bit pixels.
void BM_LoadJpeg_LibjpegAlone(benchmark::State& state) {
    const QByteArray path = QFile::encodeName(JpegFile());
    for (auto _ : state) {
        std::FILE* file = std::fopen(path.constData(), "rb");
        jpeg_decompress_struct cinfo{};
        jpeg_error_mgr error{};
        cinfo.err = jpeg_std_error(&error);
        jpeg_create_decompress(&cinfo);
        jpeg_stdio_src(&cinfo, file);
        jpeg_read_header(&cinfo, TRUE);
        cinfo.out_color_space = JCS_EXT_BGRA;
        jpeg_start_decompress(&cinfo);
        const std::size_t stride = std::size_t(cinfo.output_width) * 4;
        // A new picture each time, as any load into a fresh picture needs.
        std::unique_ptr<unsigned char[]> pixels(new unsigned char[stride * cinfo.output_height]);
        while (cinfo.output_scanline < cinfo.output_height) {
            JSAMPROW row = pixels.get() + stride * cinfo.output_scanline;
            jpeg_read_scanlines(&cinfo, &row, 1);
        }
        jpeg_finish_decompress(&cinfo);
        jpeg_destroy_decompress(&cinfo);
        std::fclose(file);
        benchmark::DoNotOptimize(pixels.get());
    }
}

void BM_LoadJpeg_LoadPicture(benchmark::State& state) {
    const QString path = JpegFile();
    for (auto _ : state) {
        LoadedPicture picture = LoadPicture(path);
        benchmark::DoNotOptimize(picture.image.constBits());
    }
}

// The whole load in the window: decode, show, and the recent list and limits updated.
void BM_LoadJpeg_Window(benchmark::State& state) {
    TImageImportDialog dialog;
    const QString path = JpegFile();
    for (auto _ : state)
        dialog.LoadImage(path);
}

// Pixelating as the window does it, the opaque variant for pictures with transparency.
void BM_Mosaic(benchmark::State& state) {
    const QImage picture = LoadPicture(JpegFile()).image;
    const int block = MosaicBlockSize(picture.width(), picture.height());
    for (auto _ : state) {
        QImage blocks = MosaicBlocks(picture, block, state.range(0) != 0);
        benchmark::DoNotOptimize(blocks.constBits());
    }
}

// The filter over a full copy of the picture, for comparison.
void BM_MosaicInPlace(benchmark::State& state) {
    const QImage picture = LoadPicture(JpegFile()).image;
    const int block = MosaicBlockSize(picture.width(), picture.height());
    for (auto _ : state) {
        QImage copy = picture.copy();
        Mosaic(copy, block);
        benchmark::DoNotOptimize(copy.constBits());
    }
}

// The window with the photograph shown.
struct LoadedWindow {
    TImageImportDialog dialog;
    LoadedWindow() {
        // Within the offscreen screen (800 × 600), as a window is within a real one.
        dialog.resize(780, 580);
        dialog.show();
        QApplication::processEvents();
        dialog.LoadImage(JpegFile());
        QApplication::processEvents();
    }
};

// Turning "Mosaic" on in the window with the picture shown, repaint included.
void BM_MosaicToggle(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto window = std::make_unique<LoadedWindow>();
        state.ResumeTiming();
        window->dialog.btnMosaic->trigger();
        window->dialog.Image->viewport()->repaint();
        state.PauseTiming();
        window.reset();
        state.ResumeTiming();
    }
}

// Resizing the window with a fitted photograph: the picture is shown anew at another size.
void BM_FitResizeRepaint(benchmark::State& state) {
    LoadedWindow window;
    int step = 0;
    for (auto _ : state) {
        step ^= 1;
        window.dialog.resize(780 - 40 * step, 580 - 30 * step);
        QApplication::processEvents();
        window.dialog.Image->viewport()->repaint();
    }
}

// Scrolling through the photograph at its own size.
void BM_ScrollRepaint(benchmark::State& state) {
    LoadedWindow window;
    window.dialog.btnFitImage->trigger();
    QScrollBar* bar = window.dialog.Image->horizontalScrollBar();
    int step = 0;
    for (auto _ : state) {
        step = (step + 1) % 50;
        bar->setValue(step * 40);
        window.dialog.Image->viewport()->repaint();
    }
}

void BM_ChooseColors(benchmark::State& state) {
    LoadedWindow window;
    const auto count = static_cast<std::uint16_t>(state.range(0));
    for (auto _ : state)
        window.dialog.ChooseColors(count);
}

void BM_PointerReadout(benchmark::State& state) {
    LoadedWindow window;
    const QRect shown = window.dialog.Image->PictureRect();
    int step = 0;
    for (auto _ : state) {
        step = (step + 37) % (shown.width() * shown.height());
        window.dialog.TrackPointer(
            {shown.left() + step % shown.width(), shown.top() + step / shown.width()});
    }
}

} // namespace

BENCHMARK(BM_LoadJpeg_LibjpegAlone)->Unit(benchmark::kMillisecond)->MinTime(3);
BENCHMARK(BM_LoadJpeg_LoadPicture)->Unit(benchmark::kMillisecond)->MinTime(3);
BENCHMARK(BM_LoadJpeg_Window)->Unit(benchmark::kMillisecond)->MinTime(3);
BENCHMARK(BM_Mosaic)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MosaicInPlace)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MosaicToggle)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FitResizeRepaint)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScrollRepaint)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChooseColors)->Arg(10)->Arg(256)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PointerReadout)->Unit(benchmark::kMicrosecond);
