// Palette files of JASC ".pal" text.

#include "FuzzSupport.h"
#include "PalUtils.h"
#include "PaletteModel.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace chromint;
    // The reader's own refusals are the expected ends; anything else escaping is a finding.
    try {
        ParseJASCPalette(fuzz::Bytes(data, size));
    } catch (const EPaletteError&) {
    } catch (const EConvertError&) {
    }
    return 0;
}
