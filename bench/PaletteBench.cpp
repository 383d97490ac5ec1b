// The swatch grid: loading a large named swatch file into the palette page's grid, and
// repainting the favourites strip after its selection moved.
// Run: build/bench/palette_bench

#include "Favourites.h"
#include "mbColorPalette.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

using namespace chromint;

void AppendWord(QByteArray& out, quint16 w) {
    out.append(static_cast<char>(w >> 8));
    out.append(static_cast<char>(w & 0xFF));
}

// A version-2 swatch file of 4096 named colours, every fourth one in Lab, as design tools
// write their large swatch books.
QByteArray LargeAco() {
    QByteArray out;
    AppendWord(out, 2);
    AppendWord(out, 4096);
    for (int i = 0; i < 4096; ++i) {
        if (i % 4 == 3) {
            AppendWord(out, 7);
            AppendWord(out, static_cast<quint16>(i % 10000));
            AppendWord(out, static_cast<quint16>(i * 3));
            AppendWord(out, static_cast<quint16>(-i));
        } else {
            AppendWord(out, 0);
            AppendWord(out, static_cast<quint16>(i * 16));
            AppendWord(out, static_cast<quint16>(i * 7919));
            AppendWord(out, static_cast<quint16>(i * 104729));
        }
        AppendWord(out, 0);
        const QString name = QStringLiteral("Swatch number %1").arg(i);
        AppendWord(out, 0);
        AppendWord(out, static_cast<quint16>(name.size() + 1));
        for (const QChar ch : name)
            AppendWord(out, ch.unicode());
        AppendWord(out, 0);
    }
    return out;
}

void BM_LoadAco4096Named(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("book.aco"));
    {
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(LargeAco());
    }
    TmbColorPalette grid;
    grid.SetCellSize(16);
    grid.SetAutoHeight(true);
    grid.resize(288, 16);
    for (auto _ : state) {
        grid.SetPalette(path);
        benchmark::DoNotOptimize(grid.Colors().size());
    }
    state.SetItemsProcessed(state.iterations() * 4096);
}

void BM_RepaintFavouritesStrip(benchmark::State& state) {
    TmbColorPalette grid;
    SetupFavouritesGrid(grid);
    grid.show();
    QApplication::processEvents();
    QImage target(grid.size(), QImage::Format_RGB32);
    int cell = 0;
    for (auto _ : state) {
        // A new selection each time, so the cached picture is rebuilt as after a click.
        grid.SetSelectedCell(cell);
        cell = (cell + 7) % FavouritesCount;
        grid.render(&target);
    }
    state.SetItemsProcessed(state.iterations());
}

} // namespace

BENCHMARK(BM_LoadAco4096Named)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepaintFavouritesStrip)->Unit(benchmark::kMicrosecond);
