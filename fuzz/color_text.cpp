// Colour text in every notation: the reader, its validity test and, for what they accept, the
// text the program writes back.

#include "ColorNotations.h"
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace chromint;
    const std::string_view text = fuzz::Text(data, size);
    // A few numbers outside 0..17 too: they must be refused, not read out of a table.
    for (int notation = -1; notation <= 19; ++notation) {
        const bool valid = IsValidColorText(text, notation);
        const TColor color = TextToColor(text, notation);
        if (notation < NotationHTML || notation > NotationBasic) {
            if (valid)
                fuzz::Broken("a notation outside 0..4 accepted text");
            continue;
        }
        if (!valid)
            continue;
        if (color == clNone)
            fuzz::Broken("valid colour text read as no colour");
        // What the program writes for the colour reads back as the same colour.
        if (TextToColor(ColorToText(color, notation), notation) != color)
            fuzz::Broken("the written colour text did not read back");
    }
    return 0;
}
