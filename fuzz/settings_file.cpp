// The settings file: whatever it holds, what was read is written in a form that reads back to
// the same settings.

#include "FuzzSupport.h"
#include "SettingsFileFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace chromint;
    const ParsedSettings parsed = ParseSettingsText(fuzz::Text(data, size));
    const std::string written = FormatSettingsText(parsed.root);
    const ParsedSettings again = ParseSettingsText(written);
    if (again.damaged)
        fuzz::Broken("the written settings read as damaged");
    if (FormatSettingsText(again.root) != written)
        fuzz::Broken("the written settings did not read back the same");
    return 0;
}
