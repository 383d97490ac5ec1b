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

// The CSS Color 4 items that follow the designed ones, after a separator: "CSS rgb()" and
// the other functions, ending with color(display-p3 ...). They follow the current colour.
std::vector<CopyMenuItem> CssCopyMenuItems(TColor current);

// An item for a format of the user's own: its name ("&" doubled) and the expanded text, both
// on one line (tabs and line breaks made spaces). The caption is for showing only: the
// menu copies the full expansion.
CopyMenuItem CustomCopyMenuItem(std::string name, std::string_view label, std::string_view text);

// The text an item puts on the clipboard: what follows the first tab of its caption, with the
// menu's doubled ampersands made single; empty when the caption has no tab.
std::string CopyTextOfCaption(std::string_view caption);

} // namespace chromint
