#include "CopyMenu.h"

#include "CIE.h"
#include "ColorNotations.h"
#include "ColorUtils.h"
#include "ColorUtilsWeb.h"
#include "CssColor.h"
#include "Rounding.h"
#include "TextUtils.h"

namespace chromint {

namespace {
int EditorValue(double v, int lo, int hi) {
    return static_cast<int>(Clamp<std::int64_t>(RoundHalfEven(v), lo, hi));
}

int RoundPercentOf255(int channel) {
    return static_cast<int>(RoundHalfEven(100.0 * channel / 255));
}

std::string Function(std::string_view name, std::initializer_list<int> values,
                     std::initializer_list<std::string_view> units) {
    std::string out(name);
    out += '(';
    auto unit = units.begin();
    bool first = true;
    for (int v : values) {
        if (!first)
            out += ", ";
        first = false;
        AppendInt(out, v);
        out += *unit++;
    }
    out += ')';
    return out;
}

CopyMenuItem Item(std::string name, std::string_view label, std::string_view text,
                  bool visible = true) {
    std::string caption(label);
    caption += '\t';
    caption += EscapeAmpersands(text);
    return {std::move(name), std::move(caption), visible};
}
} // namespace

EditorValues EditorValuesOf(TColor color) {
    const RGBTriple c = SplitRGB(color);
    EditorValues e;
    e.r = c.r;
    e.g = c.g;
    e.b = c.b;
    const HSLInt hsl = RGBToHSL(c.r, c.g, c.b);
    e.h = Clamp(hsl.h, 0, 359);
    e.s = Clamp(hsl.s, 0, 100);
    e.l = Clamp(hsl.l, 0, 100);
    const CMYKFloat cmyk = RGBToCMYK(c.r, c.g, c.b);
    e.c = EditorValue(100 * cmyk.c, 0, 100);
    e.m = EditorValue(100 * cmyk.m, 0, 100);
    e.y = EditorValue(100 * cmyk.y, 0, 100);
    e.k = EditorValue(100 * cmyk.k, 0, 100);
    const Lab lab = RGBToLab(color);
    e.cieL = EditorValue(lab.l, 0, 100);
    e.cieA = EditorValue(lab.a, -128, 127);
    e.cieB = EditorValue(lab.b, -128, 127);
    return e;
}

std::vector<CopyMenuItem> CopyMenuItems(TColor current, const EditorValues& e) {
    const std::string name = ColorToHTMLName(current, false);
    const std::uint8_t r = ClampByte(e.r), g = ClampByte(e.g), b = ClampByte(e.b);
    const HSVInt hsv = RGBToHSV(r, g, b);
    const CMYFloat cmy = RGBToCMY(r, g, b);

    std::string rgbFloat = "RGB(";
    AppendFixed(rgbFloat, r / 255.0, 5);
    rgbFloat += ", ";
    AppendFixed(rgbFloat, g / 255.0, 5);
    rgbFloat += ", ";
    AppendFixed(rgbFloat, b / 255.0, 5);
    rgbFloat += ')';

    std::string cmyText = "CMY(";
    AppendFixed(cmyText, 100 * cmy.c, 0);
    cmyText += "%, ";
    AppendFixed(cmyText, 100 * cmy.m, 0);
    cmyText += "%, ";
    AppendFixed(cmyText, 100 * cmy.y, 0);
    cmyText += "%)";

    std::vector<CopyMenuItem> items;
    items.reserve(15);
    items.push_back(Item("miHTMLCode", name.empty() ? "HTML" : "HTML code",
                         ColorToText(current, NotationHTML)));
    items.push_back(Item("miHTMLName", "HTML name", name, !name.empty()));
    items.push_back(Item("miCpp", "C++", ColorToText(current, NotationCpp)));
    items.push_back(Item("miJava", "Java", ColorToText(current, NotationJava)));
    items.push_back(Item("miDelphi", "Delphi", ColorToText(current, NotationDelphi)));
    items.push_back(Item("miBasic", "Basic", ColorToText(current, NotationBasic)));
    items.push_back(Item("miRGBInt", "RGB", Function("RGB", {e.r, e.g, e.b}, {"", "", ""})));
    items.push_back(Item("miBGR", "BGR", Function("BGR", {e.b, e.g, e.r}, {"", "", ""})));
    items.push_back(Item("miRGBFloat", "RGB float", rgbFloat));
    items.push_back(
        Item("miRGBPercent", "RGB percent",
             Function("RGB", {RoundPercentOf255(r), RoundPercentOf255(g), RoundPercentOf255(b)},
                      {"%", "%", "%"})));
    items.push_back(Item("miHSL", "HSL", Function("HSL", {e.h, e.s, e.l}, {"°", "%", "%"})));
    items.push_back(
        Item("miHSB", "HSB",
             Function("HSB", {hsv.h, RoundPercentOf255(hsv.s), RoundPercentOf255(hsv.v)},
                      {"°", "%", "%"})));
    items.push_back(Item("miCMY", "CMY", cmyText));
    items.push_back(
        Item("miCMYK", "CMYK", Function("CMYK", {e.c, e.m, e.y, e.k}, {"%", "%", "%", "%"})));
    items.push_back(
        Item("miLab", "CIE Lab", Function("Lab", {e.cieL, e.cieA, e.cieB}, {"", "", ""})));
    return items;
}

std::vector<CopyMenuItem> CssCopyMenuItems(TColor current) {
    static constexpr struct {
        const char* name;
        std::string_view label;
        CssNotation notation;
    } kCss[] = {
        {"miCssRgb", "CSS rgb()", CssNotation::Rgb},
        {"miCssHsl", "CSS hsl()", CssNotation::Hsl},
        {"miCssHwb", "CSS hwb()", CssNotation::Hwb},
        {"miCssLab", "CSS lab()", CssNotation::Lab},
        {"miCssLch", "CSS lch()", CssNotation::Lch},
        {"miCssOklab", "CSS oklab()", CssNotation::Oklab},
        {"miCssOklch", "CSS oklch()", CssNotation::Oklch},
        {"miCssDisplayP3", "CSS display-p3", CssNotation::DisplayP3},
    };
    std::vector<CopyMenuItem> items;
    items.reserve(std::size(kCss));
    for (const auto& entry : kCss)
        items.push_back(Item(entry.name, entry.label, FormatCssColor(current, entry.notation)));
    return items;
}

CopyMenuItem CustomCopyMenuItem(std::string name, std::string_view label, std::string_view text) {
    // A tab in the label would end it early, and a line break would break the menu's row.
    const auto oneLine = [](std::string_view in) {
        std::string out(in);
        for (char& ch : out) {
            if (ch == '\t' || ch == '\n' || ch == '\r')
                ch = ' ';
        }
        return out;
    };
    return Item(std::move(name), EscapeAmpersands(oneLine(label)), oneLine(text));
}

std::string CopyTextOfCaption(std::string_view caption) {
    const std::size_t tab = caption.find('\t');
    if (tab == std::string_view::npos)
        return {};
    return UnescapeAmpersands(caption.substr(tab + 1));
}

} // namespace chromint
