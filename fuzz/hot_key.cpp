// Hot-key text, with English and local modifier names; a key it reads is written and read
// back unchanged.

#include "FuzzSupport.h"
#include "HotKeyManager.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace chromint;
    const QString text = fuzz::Utf8(data, size);
    for (const bool localNames : {false, true}) {
        const THotKey hotKey = ParseHotKeyText(text, localNames);
        if (hotKey == 0)
            continue;
        if (ParseHotKeyText(FormatHotKeyText(hotKey, localNames), localNames) != hotKey)
            fuzz::Broken("the written hot key did not read back");
    }
    return 0;
}
