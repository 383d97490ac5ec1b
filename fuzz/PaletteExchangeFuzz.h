#pragma once

// What the targets of the exchanged palette formats share.

#include "FuzzSupport.h"
#include "PaletteExchange.h"

namespace chromint::fuzz {

// A reader of an exchanged format on the bytes: refusing them is always allowed; colours it
// gives are fewer than the bytes, and written in the same format they read back the same.
inline int ReadExchangePalette(ExchangeFormat format, const std::uint8_t* data, std::size_t size) {
    std::vector<NamedColor> colors;
    try {
        colors = ParseExchangePalette(format, Bytes(data, size));
    } catch (const EPaletteError&) {
        return 0;
    }
    if (colors.empty() || colors.size() > size)
        Broken("the reader gave a number of colours it promises never to give");
    const std::vector<NamedColor> again =
        ParseExchangePalette(format, FormatExchangePalette(format, colors, QStringLiteral("x")));
    if (again.size() != colors.size())
        Broken("the written palette read back with another number of colours");
    for (std::size_t i = 0; i < colors.size(); ++i) {
        if (again[i].color != colors[i].color)
            Broken("the written palette read back with other colours");
    }
    return 0;
}

} // namespace chromint::fuzz
