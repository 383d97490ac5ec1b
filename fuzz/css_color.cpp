// CSS colour text: the reader, and for what it accepts, the texts the program writes for the
// colour in every notation, which must read back as the same colour.

#include "CssColor.h"
#include "FuzzSupport.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace chromint;
    const std::optional<CssColor> css = ParseCssColor(fuzz::Text(data, size));
    if (!css)
        return 0;
    if (!(css->alpha >= 0 && css->alpha <= 1))
        fuzz::Broken("alpha outside 0..1");
    if (!std::isfinite(css->srgb.r) || !std::isfinite(css->srgb.g) || !std::isfinite(css->srgb.b))
        fuzz::Broken("a colour with a channel that is no number");
    const TColor color = ColorOfCss(*css);
    if ((color & ~TColor(0xFFFFFF)) != 0)
        fuzz::Broken("a colour with bits above 24");
    for (const CssNotation notation :
         {CssNotation::Hex, CssNotation::Rgb, CssNotation::Hsl, CssNotation::Hwb, CssNotation::Lab,
          CssNotation::Lch, CssNotation::Oklab, CssNotation::Oklch, CssNotation::DisplayP3}) {
        const std::optional<CssColor> again = ParseCssColor(FormatCssColor(color, notation));
        if (!again || ColorOfCss(*again) != color)
            fuzz::Broken("the written colour text did not read back");
    }
    return 0;
}
