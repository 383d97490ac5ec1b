// CSS custom properties (".css") as palettes, read and written back.

#include "PaletteExchangeFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return chromint::fuzz::ReadExchangePalette(chromint::ExchangeFormat::Css, data, size);
}
