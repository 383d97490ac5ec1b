// What the code box makes of typed or pasted text, in any notation.

#include "CodeBox.h"
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace chromint;
    const TColor color = CodeBoxInputToColor(fuzz::Text(data, size));
    // Either no colour or a plain 24-bit one.
    if (color != clNone && (color & ~TColor(0xFFFFFF)) != 0)
        fuzz::Broken("the code box gave a colour with bits above 24");
    return 0;
}
