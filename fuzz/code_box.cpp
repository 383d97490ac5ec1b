// What the HTML code box makes of typed text.

#include "ColorNotations.h"
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace chromint;
    const TColor color = CodeBoxTextToColor(fuzz::Text(data, size));
    // Either no colour or a plain 24-bit one.
    if (color != clNone && (color & ~TColor(0xFFFFFF)) != 0)
        fuzz::Broken("the code box gave a colour with bits above 24");
    return 0;
}
