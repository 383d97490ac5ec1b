#pragma once

#include "ColorTypes.h"

#include <string>
#include <string_view>

namespace chromint {

// Text notations of a colour: the code notations of the "Copy" submenu and the code box,
// and the Delphi-style "$00BBGGRR" form the program stores colours in.
enum Notation : int {
    NotationHTML = 0,          // #RRGGBB
    NotationCpp = 1,           // 0x00BBGGRR
    NotationJava = 2,          // 0xRRGGBB
    NotationDelphi = 3,        // $00BBGGRR
    NotationBasic = 4,         // &H00BBGGRR&
    NotationWebSafeShort = 5,  // #RGB after web-safe snapping
    NotationWebSmartShort = 6, // #RGB after web-smart snapping
    NotationRGBPlain = 7,      // R G B
    NotationRGBFunction = 8,   // RGB(R, G, B)
    NotationRGBShares = 9,     // RGB(r% g% b%) with two decimals
    NotationHSVPlain = 10,
    NotationHSVFunction = 11,
    NotationHSVPlain2 = 12,
    NotationHSBFunction = 13,
    NotationCMYKPlain = 14,
    NotationCMYKFunction = 15,
    NotationSharesWhole = 16,
    NotationSharesDecimals = 17,
};

// Any notation number outside 0..17 gives the one-digit-per-channel short form, unsnapped.
std::string ColorToText(TColor color, int notation);
// Understands notations 0..4; everything else, and every malformed text, is invalid.
bool IsValidColorText(std::string_view text, int notation);
// The colour the text names in that notation, or clNone.
TColor TextToColor(std::string_view text, int notation);

// What the HTML code box makes of typed text: a bare "f00" or "ff0000" gets its "#", text
// without "#" may be a colour name, and anything else must be HTML notation. clNone when the
// text names no colour (the box then leaves the current colour alone).
TColor CodeBoxTextToColor(std::string_view text);

} // namespace chromint
