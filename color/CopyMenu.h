#pragma once

#include "ColorTypes.h"

#include <string>
#include <string_view>
#include <vector>

namespace chromint {

// The whole numbers the main window's editors show for a colour: each value clamped to its
// editor's range and rounded to a whole number.
struct EditorValues {
    int r = 0, g = 0, b = 0;          // 0..255
    int h = 0, s = 0, l = 0;          // 0..359, 0..100, 0..100
    int c = 0, m = 0, y = 0, k = 0;   // 0..100
    int cieL = 0, cieA = 0, cieB = 0; // 0..100, -128..127, -128..127
    friend constexpr bool operator==(const EditorValues&, const EditorValues&) = default;
};

// What the editors show after the window pushes the colour to all of them; HSL uses the
// engine HSL range in force.
EditorValues EditorValuesOf(TColor color);

struct CopyMenuItem {
    std::string name;    // "miHTMLCode", "miCpp", ...
    std::string caption; // label, a tab, and the text with each "&" doubled for the menu
    bool visible = true;
};

// The items of the "Copy" submenu, in menu order. The five code notations (and the HTML name)
// follow the current colour; the rest follow the numbers the editors show.
std::vector<CopyMenuItem> CopyMenuItems(TColor current, const EditorValues& editors);

// The text an item puts on the clipboard: what follows the first tab of its caption, with the
// menu's doubled ampersands made single; empty when the caption has no tab.
std::string CopyTextOfCaption(std::string_view caption);

} // namespace chromint
