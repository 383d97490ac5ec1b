// Nanoseconds per colour for the engine's conversion chains and notations, over one fixed set
// of a million colours. Run: build/bench/color_bench

#include "CIE.h"
#include "ColorNotations.h"
#include "ColorOperations.h"
#include "ColorUtils.h"
#include "FormatHint.h"
#include "PickerConversions.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

using namespace chromint;

constexpr std::size_t kColorCount = 1'000'000;

const std::vector<TColor>& Colors() {
    static const std::vector<TColor> colors = [] {
        std::vector<TColor> out(kColorCount);
        RandomSource random(20261208);
        for (TColor& c : out)
            c = random.Next(0x1000000);
        return out;
    }();
    return colors;
}

template <typename Out>
std::vector<Out> Precompute(Out (*f)(TColor)) {
    std::vector<Out> out;
    out.reserve(kColorCount);
    for (TColor c : Colors())
        out.push_back(f(c));
    return out;
}

void ReportPerColor(benchmark::State& state) {
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kColorCount));
    state.counters["ns_per_color"] =
        benchmark::Counter(static_cast<double>(state.iterations() * kColorCount),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

template <typename F>
void PerColor(benchmark::State& state, F f) {
    const auto& colors = Colors();
    for (auto _ : state)
        for (TColor c : colors)
            benchmark::DoNotOptimize(f(c));
    ReportPerColor(state);
}

void BM_RGBToHSL(benchmark::State& s) {
    SetHSLRange(360, 100, 100);
    PerColor(s, [](TColor c) { return RGBToHSL(GetRValue(c), GetGValue(c), GetBValue(c)); });
}

void BM_HSLToRGB(benchmark::State& s) {
    SetHSLRange(360, 100, 100);
    const auto hsl =
        Precompute(+[](TColor c) { return RGBToHSL(GetRValue(c), GetGValue(c), GetBValue(c)); });
    for (auto _ : s)
        for (const HSLInt& v : hsl)
            benchmark::DoNotOptimize(HSLToRGB(v.h, v.s, v.l));
    ReportPerColor(s);
}

void BM_RGBToHSV(benchmark::State& s) {
    PerColor(s, [](TColor c) { return RGBToHSV(GetRValue(c), GetGValue(c), GetBValue(c)); });
}

void BM_RGBToCMYK(benchmark::State& s) {
    PerColor(s, [](TColor c) { return RGBToCMYK(GetRValue(c), GetGValue(c), GetBValue(c)); });
}

void BM_CMYKToRGB(benchmark::State& s) {
    const auto cmyk =
        Precompute(+[](TColor c) { return RGBToCMYK(GetRValue(c), GetGValue(c), GetBValue(c)); });
    for (auto _ : s)
        for (const CMYKFloat& v : cmyk)
            benchmark::DoNotOptimize(CMYKToRGB(v.c, v.m, v.y, v.k));
    ReportPerColor(s);
}

void BM_PickerHSVToRGB(benchmark::State& s) {
    const auto hsv = Precompute(
        +[](TColor c) { return PickerRGBToHSV(GetRValue(c), GetGValue(c), GetBValue(c)); });
    for (auto _ : s)
        for (const HSVInt& v : hsv)
            benchmark::DoNotOptimize(PickerHSVToRGB(v.h, v.s, v.v));
    ReportPerColor(s);
}

void BM_PickerHSLToRGB(benchmark::State& s) {
    SetPickerHSLScale(360, 255, 255);
    const auto hsl = Precompute(+[](TColor c) { return PickerRGBToHSL(c); });
    for (auto _ : s)
        for (const HSLInt& v : hsl)
            benchmark::DoNotOptimize(PickerHSLToRGB(v.h, v.s, v.l));
    ReportPerColor(s);
}

void BM_RGBToLab(benchmark::State& s) {
    PerColor(s, [](TColor c) { return RGBToLab(c); });
}

void BM_LabToRGB(benchmark::State& s) {
    const auto lab = Precompute(+[](TColor c) { return RGBToLab(c); });
    for (auto _ : s)
        for (const Lab& v : lab)
            benchmark::DoNotOptimize(LabToRGB(v.l, v.a, v.b));
    ReportPerColor(s);
}

void BM_ColorToText(benchmark::State& s) {
    const int notation = static_cast<int>(s.range(0));
    PerColor(s, [notation](TColor c) { return ColorToText(c, notation); });
}

void BM_TextToColor(benchmark::State& s) {
    const int notation = static_cast<int>(s.range(0));
    std::vector<std::string> texts;
    texts.reserve(kColorCount);
    for (TColor c : Colors())
        texts.push_back(ColorToText(c, notation));
    for (auto _ : s)
        for (const std::string& t : texts)
            benchmark::DoNotOptimize(TextToColor(t, notation));
    ReportPerColor(s);
}

void BM_FormatHintDefault(benchmark::State& s) {
    SetPickerHSLScale(360, 255, 255);
    PerColor(s, [](TColor c) { return FormatHint(DefaultPickerHintFormat, c); });
}

} // namespace

BENCHMARK(BM_RGBToHSL)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HSLToRGB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RGBToHSV)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RGBToCMYK)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CMYKToRGB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PickerHSVToRGB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PickerHSLToRGB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RGBToLab)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LabToRGB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ColorToText)->DenseRange(0, 4)->Arg(9)->Arg(15)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextToColor)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FormatHintDefault)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
