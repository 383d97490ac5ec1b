// Nanoseconds per colour for the engine's conversion chains and notations, over one fixed set
// of a million colours. Run: build/bench/color_bench

#include "CIE.h"
#include "ColorNotations.h"
#include "ColorOperations.h"
#include "ColorUtils.h"
#include "Contrast.h"
#include "CssColor.h"
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

// CSS Color 4 spaces and notations.

void BM_ColorToOKLab(benchmark::State& s) {
    PerColor(s, [](TColor c) { return ColorToOKLab(c); });
}

void BM_OKLabToOKLCh(benchmark::State& s) {
    const auto lab = Precompute(+[](TColor c) { return ColorToOKLab(c); });
    for (auto _ : s)
        for (const OKLab& v : lab)
            benchmark::DoNotOptimize(OKLabToOKLCh(v));
    ReportPerColor(s);
}

// In-gamut colours: the mapping only has to confirm that.
void BM_OKLChToColor(benchmark::State& s) {
    const auto lch = Precompute(+[](TColor c) { return OKLabToOKLCh(ColorToOKLab(c)); });
    for (auto _ : s)
        for (const OKLCh& v : lch)
            benchmark::DoNotOptimize(ColorOfOKLCh(v));
    ReportPerColor(s);
}

// Colours far outside sRGB: the whole chroma search runs.
void BM_GamutMapOutOfGamut(benchmark::State& s) {
    const auto lch = Precompute(+[](TColor c) {
        OKLCh v = OKLabToOKLCh(ColorToOKLab(c));
        v.C += 0.2;
        return v;
    });
    for (auto _ : s)
        for (const OKLCh& v : lch)
            benchmark::DoNotOptimize(ColorOfOKLCh(v));
    ReportPerColor(s);
}

void BM_ColorToCssLab(benchmark::State& s) {
    PerColor(s, [](TColor c) { return ColorToCssLab(c); });
}

void BM_ColorToHWB(benchmark::State& s) {
    PerColor(s, [](TColor c) { return SrgbToHWB(SrgbOf(c)); });
}

void BM_ColorToDisplayP3(benchmark::State& s) {
    PerColor(s, [](TColor c) { return ColorToDisplayP3(c); });
}

void BM_FormatCssColor(benchmark::State& s) {
    const auto notation = static_cast<CssNotation>(s.range(0));
    PerColor(s, [notation](TColor c) { return FormatCssColor(c, notation); });
}

void BM_ParseCssColor(benchmark::State& s) {
    const auto notation = static_cast<CssNotation>(s.range(0));
    std::vector<std::string> texts;
    texts.reserve(kColorCount);
    for (TColor c : Colors())
        texts.push_back(FormatCssColor(c, notation));
    for (auto _ : s)
        for (const std::string& t : texts)
            benchmark::DoNotOptimize(ParseCssColor(t));
    ReportPerColor(s);
}

// The forms the writer never produces: legacy commas, angles, percentages, names.
void BM_ParseCssColorOtherForms(benchmark::State& s) {
    const std::string texts[] = {
        "rgba(255, 128, 0, 0.5)",
        "hsl(0.5turn 100% 50% / 50%)",
        "lab(54.29% 64.64% 55.912%)",
        "color(srgb 1 0.502 0)",
        "lightgoldenrodyellow",
        "#ff800080",
        "oklch(0.628 64.425% 0.0812turn)",
        "hsla(200grad, 100%, 50%, 0.25)",
    };
    std::size_t i = 0;
    for (auto _ : s)
        benchmark::DoNotOptimize(ParseCssColor(texts[i++ % std::size(texts)]));
    s.counters["ns_per_color"] =
        benchmark::Counter(static_cast<double>(s.iterations()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
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
BENCHMARK(BM_ColorToOKLab)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OKLabToOKLCh)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OKLChToColor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GamutMapOutOfGamut)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ColorToCssLab)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ColorToHWB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ColorToDisplayP3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FormatCssColor)->DenseRange(0, 8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseCssColor)->DenseRange(0, 8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseCssColorOtherForms);

// The contrast checker's whole update for one pair: the ratio with its criteria, the lightness
// contrast and the nearest colour that passes, over pairs, levels and roles that vary.
namespace {

void BM_ContrastFullUpdate(benchmark::State& s) {
    const auto& colors = Colors();
    const auto targets = ContrastTargets();
    std::size_t i = 0;
    for (auto _ : s) {
        const TColor current = colors[(2 * i) % kColorCount];
        const TColor other = colors[(2 * i + 1) % kColorCount];
        const ContrastRole role = i % 2 == 0 ? ContrastRole::Text : ContrastRole::Background;
        const TColor text = role == ContrastRole::Text ? current : other;
        const TColor background = role == ContrastRole::Text ? other : current;
        benchmark::DoNotOptimize(CheckContrast(text, background));
        benchmark::DoNotOptimize(
            NearestPassingColor(current, other, role, targets[i % targets.size()]));
        ++i;
    }
}

} // namespace

BENCHMARK(BM_ContrastFullUpdate)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
