#pragma once

#include "SettingsTree.h"

#include <string>
#include <string_view>

namespace chromint {

// The text form of the settings tree, close to a registry export so that a person can read
// and mend it:
//
//     [Software\Qelvo\Chromint]
//     "WindowLeft"=dword:000002b6
//     "LastOpenImageDir"="/home/ann/Pictures"
//
// Names and strings are quoted; backslash, quote, line breaks, tabs, other control bytes and
// bytes that are not UTF-8 are escaped (\\ \" \n \r \t \xHH), so every byte sequence comes
// back unchanged. A DWORD has exactly eight hexadecimal digits. The last line is a marker,
// so that a file cut short at a line boundary is still recognised as incomplete.

inline constexpr std::string_view kSettingsEndMarker = "; end of settings";

struct ParsedSettings {
    SettingsKey root;
    // Something in the text was not understood or the text was incomplete. What could be
    // read is in root all the same.
    bool damaged = false;
};

// Never fails: lines it cannot read are skipped and reported through damaged.
ParsedSettings ParseSettingsText(std::string_view text);

std::string FormatSettingsText(const SettingsKey& root);

// The quoted form of a name or string, quotes included.
std::string QuoteSettingsText(std::string_view text);

} // namespace chromint
