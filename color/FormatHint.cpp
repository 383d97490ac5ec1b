#include "FormatHint.h"

#include "CIE.h"
#include "CssColor.h"
#include "PickerConversions.h"
#include "Rounding.h"
#include "TextUtils.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace chromint {

const std::string_view DefaultPickerHintFormat =
    "Hex #%hex\n\rRGB[%r, %g, %b]\n\rHSL[%hslH, %hslS, %hslL]\n\rHSV[%hsvH, %hsvS, %hsvV]\n\r"
    "CMYK[%c, %m, %y, %k]\n\rL*a*b*[%cieL, %cieA, %cieB]\n\rXYZ[%cieX, %cieY, %cieZ]";

namespace {

enum class Field {
    Hex,
    CieL,
    CieA,
    CieB,
    CieX,
    CieY,
    CieZ,
    CieC,
    CieH,
    HslH,
    HslS,
    HslL,
    HsvH,
    HsvS,
    HsvV,
    R,
    G,
    B,
    C,
    M,
    Y,
    K,
    OkL,
    OkA,
    OkB,
    OklchL,
    OklchC,
    OklchH,
    HwbH,
    HwbW,
    HwbB,
    LabL,
    LabA,
    LabB,
    LchL,
    LchC,
    LchH,
    Alpha,
};

struct Placeholder {
    PlaceholderInfo info;
    Field field;
};

// In the order the help lists them; matching takes the longest name, not the first.
constexpr std::array<Placeholder, 42> kPlaceholders{{
    {{"%hex", "hex code with its '#': #RRGGBB"}, Field::Hex},
    {{"%r", "red, 0..255"}, Field::R},
    {{"%g", "green, 0..255"}, Field::G},
    {{"%b", "blue, 0..255"}, Field::B},
    {{"%hslH", "HSL hue on the picker scale"}, Field::HslH},
    {{"%hslS", "HSL saturation on the picker scale"}, Field::HslS},
    {{"%hslL", "HSL lightness on the picker scale"}, Field::HslL},
    {{"%h", "the same as %hslH"}, Field::HslH},
    {{"%s", "the same as %hslS"}, Field::HslS},
    {{"%l", "the same as %hslL"}, Field::HslL},
    {{"%hsvH", "HSV hue, 0..359"}, Field::HsvH},
    {{"%hsvS", "HSV saturation, 0..255"}, Field::HsvS},
    {{"%hsvV", "HSV value, 0..255"}, Field::HsvV},
    {{"%v", "the same as %hsvV"}, Field::HsvV},
    {{"%c", "cyan, 0..255"}, Field::C},
    {{"%m", "magenta, 0..255"}, Field::M},
    {{"%y", "yellow, 0..255"}, Field::Y},
    {{"%k", "black, 0..255"}, Field::K},
    {{"%cieL", "L*a*b* lightness, whole number"}, Field::CieL},
    {{"%cieA", "L*a*b* a*, whole number"}, Field::CieA},
    {{"%cieB", "L*a*b* b*, whole number"}, Field::CieB},
    {{"%cieC", "L*a*b* chroma, whole number"}, Field::CieC},
    {{"%cieH", "L*a*b* hue, whole degrees"}, Field::CieH},
    {{"%cieX", "CIE X, whole number"}, Field::CieX},
    {{"%cieY", "CIE Y, whole number"}, Field::CieY},
    {{"%cieZ", "CIE Z, whole number"}, Field::CieZ},
    {{"%okL", "OKLab lightness, percent 0..100"}, Field::OkL},
    {{"%okA", "OKLab a, 4 decimals"}, Field::OkA},
    {{"%okB", "OKLab b, 4 decimals"}, Field::OkB},
    {{"%oklchL", "OKLCh lightness, percent 0..100"}, Field::OklchL},
    {{"%oklchC", "OKLCh chroma, 4 decimals"}, Field::OklchC},
    {{"%oklchH", "OKLCh hue, degrees"}, Field::OklchH},
    {{"%hwbH", "HWB hue, degrees"}, Field::HwbH},
    {{"%hwbW", "HWB whiteness, percent"}, Field::HwbW},
    {{"%hwbB", "HWB blackness, percent"}, Field::HwbB},
    {{"%labL", "CSS lab() lightness (D50), 0..100"}, Field::LabL},
    {{"%labA", "CSS lab() a (D50)"}, Field::LabA},
    {{"%labB", "CSS lab() b (D50)"}, Field::LabB},
    {{"%lchL", "CSS lch() lightness (D50), 0..100"}, Field::LchL},
    {{"%lchC", "CSS lch() chroma (D50)"}, Field::LchC},
    {{"%lchH", "CSS lch() hue (D50), degrees"}, Field::LchH},
    {{"%alpha", "alpha, always 1: the colour is opaque"}, Field::Alpha},
}};

constexpr char AsciiLowerChar(char ch) {
    return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch;
}

constexpr bool IsAsciiLetter(char ch) {
    return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z');
}

// word is a placeholder's name without its '%'.
bool MatchesAt(std::string_view text, std::size_t pos, std::string_view word) {
    if (text.size() - pos < word.size())
        return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (AsciiLowerChar(text[pos + i]) != AsciiLowerChar(word[i]))
            return false;
    }
    return true;
}

// The longest placeholder whose name, '%' left out, starts at pos.
const Placeholder* PlaceholderAt(std::string_view text, std::size_t pos) {
    const Placeholder* match = nullptr;
    for (const Placeholder& p : kPlaceholders) {
        const std::string_view word = p.info.name.substr(1);
        if ((match == nullptr || word.size() > match->info.name.size() - 1) &&
            MatchesAt(text, pos, word))
            match = &p;
    }
    return match;
}

// A hue as the text shows it: 0 for a colour whose chroma shows as 0 at chromaDecimals, and 0
// instead of a 360 that rounding would print.
void AppendHue(std::string& out, double hue, double chroma, int chromaDecimals) {
    constexpr int kHueDecimals = 2;
    if (std::abs(chroma) < 0.5 * std::pow(10.0, -chromaDecimals))
        hue = 0;
    hue = std::fmod(hue, 360.0);
    if (hue < 0)
        hue += 360;
    if (hue >= 360 - 0.5 * std::pow(10.0, -kHueDecimals))
        hue = 0;
    AppendFixedTrimmed(out, hue, kHueDecimals);
}

// Every number a template can ask for. The legacy spaces are cheap next to building the text;
// the CSS spaces are worked out on first use, as most templates ask for none of them.
class HintValues {
public:
    explicit HintValues(TColor color)
        : color_(color & 0xFFFFFF), xyz_(RGBToXYZ(color_)), lab_(XYZToLab(xyz_.x, xyz_.y, xyz_.z)),
          lch_(LabToLCh(lab_.l, lab_.a, lab_.b)), hsl_(PickerRGBToHSL(color_)),
          hsv_(PickerRGBToHSV(GetRValue(color_), GetGValue(color_), GetBValue(color_))),
          cmyk_(PickerRGBToCMYK(color_)) {}

    void Append(std::string& out, Field field) {
        const RGBTriple c = SplitRGB(color_);
        switch (field) {
        case Field::Hex:
            out += '#';
            AppendHexByte(out, c.r);
            AppendHexByte(out, c.g);
            AppendHexByte(out, c.b);
            return;
        case Field::CieL:
            return AppendRounded(out, lab_.l);
        case Field::CieA:
            return AppendRounded(out, lab_.a);
        case Field::CieB:
            return AppendRounded(out, lab_.b);
        case Field::CieX:
            return AppendRounded(out, xyz_.x);
        case Field::CieY:
            return AppendRounded(out, xyz_.y);
        case Field::CieZ:
            return AppendRounded(out, xyz_.z);
        case Field::CieC:
            return AppendRounded(out, lch_.c);
        case Field::CieH:
            return AppendRounded(out, lch_.h);
        case Field::HslH:
            return AppendInt(out, hsl_.h);
        case Field::HslS:
            return AppendInt(out, hsl_.s);
        case Field::HslL:
            return AppendInt(out, hsl_.l);
        case Field::HsvH:
            return AppendInt(out, hsv_.h);
        case Field::HsvS:
            return AppendInt(out, hsv_.s);
        case Field::HsvV:
            return AppendInt(out, hsv_.v);
        case Field::R:
            return AppendInt(out, c.r);
        case Field::G:
            return AppendInt(out, c.g);
        case Field::B:
            return AppendInt(out, c.b);
        case Field::C:
            return AppendInt(out, cmyk_.c);
        case Field::M:
            return AppendInt(out, cmyk_.m);
        case Field::Y:
            return AppendInt(out, cmyk_.y);
        case Field::K:
            return AppendInt(out, cmyk_.k);
        case Field::OkL:
            return AppendFixedTrimmed(out, 100 * Ok().L, 2);
        case Field::OkA:
            return AppendFixedTrimmed(out, Ok().a, 4);
        case Field::OkB:
            return AppendFixedTrimmed(out, Ok().b, 4);
        case Field::OklchL:
            return AppendFixedTrimmed(out, 100 * Oklch().L, 2);
        case Field::OklchC:
            return AppendFixedTrimmed(out, Oklch().C, 4);
        case Field::OklchH:
            return AppendHue(out, Oklch().h, Oklch().C, 4);
        case Field::HwbH:
            // The hue of a grey (whiteness and blackness filling 100) means nothing.
            return AppendHue(out, Hwb().h, 100 - Hwb().w - Hwb().b, 2);
        case Field::HwbW:
            return AppendFixedTrimmed(out, Hwb().w, 2);
        case Field::HwbB:
            return AppendFixedTrimmed(out, Hwb().b, 2);
        case Field::LabL:
            return AppendFixedTrimmed(out, CssLabValue().L, 2);
        case Field::LabA:
            return AppendFixedTrimmed(out, CssLabValue().a, 2);
        case Field::LabB:
            return AppendFixedTrimmed(out, CssLabValue().b, 2);
        case Field::LchL:
            return AppendFixedTrimmed(out, CssLchValue().L, 2);
        case Field::LchC:
            return AppendFixedTrimmed(out, CssLchValue().C, 2);
        case Field::LchH:
            return AppendHue(out, CssLchValue().h, CssLchValue().C, 2);
        case Field::Alpha:
            out += '1';
            return;
        }
    }

private:
    static void AppendRounded(std::string& out, double v) { AppendInt(out, RoundHalfEven(v)); }

    // A value worked out on first use.
    template <class T>
    struct Lazy {
        T value{};
        bool known = false;
        template <class Make>
        const T& Get(Make make) {
            if (!known) {
                value = make();
                known = true;
            }
            return value;
        }
    };
    const OKLab& Ok() {
        return ok_.Get([&] { return ColorToOKLab(color_); });
    }
    const OKLCh& Oklch() {
        return oklch_.Get([&] { return OKLabToOKLCh(Ok()); });
    }
    const HWB& Hwb() {
        return hwb_.Get([&] { return SrgbToHWB(SrgbOf(color_)); });
    }
    const CssLab& CssLabValue() {
        return cssLab_.Get([&] { return ColorToCssLab(color_); });
    }
    const CssLCh& CssLchValue() {
        return cssLch_.Get([&] { return CssLabToCssLCh(CssLabValue()); });
    }

    TColor color_;
    XYZ xyz_;
    Lab lab_;
    LCh lch_;
    HSLInt hsl_;
    HSVInt hsv_;
    CMYKInt cmyk_;
    Lazy<OKLab> ok_;
    Lazy<OKLCh> oklch_;
    Lazy<HWB> hwb_;
    Lazy<CssLab> cssLab_;
    Lazy<CssLCh> cssLch_;
};

} // namespace

std::span<const PlaceholderInfo> KnownPlaceholders() {
    static const std::array<PlaceholderInfo, kPlaceholders.size()> infos = [] {
        std::array<PlaceholderInfo, kPlaceholders.size()> out;
        for (std::size_t i = 0; i < out.size(); ++i)
            out[i] = kPlaceholders[i].info;
        return out;
    }();
    return infos;
}

// Replacement texts never contain '%' and never start with a letter, so one pass that takes,
// at each '%', the longest placeholder gives the same text as replacing the placeholders in
// turn, longest first, over the whole template.
std::string FormatHint(std::string_view hintTemplate, TColor color) {
    HintValues values(color);
    std::string out;
    out.reserve(hintTemplate.size() + 64);
    std::size_t pos = 0;
    while (pos < hintTemplate.size()) {
        const std::size_t percent = hintTemplate.find('%', pos);
        if (percent == std::string_view::npos) {
            out.append(hintTemplate.substr(pos));
            break;
        }
        out.append(hintTemplate.substr(pos, percent - pos));
        pos = percent + 1;
        const Placeholder* match = PlaceholderAt(hintTemplate, pos);
        if (match == nullptr) {
            out += '%';
            continue;
        }
        values.Append(out, match->field);
        pos += match->info.name.size() - 1;
    }
    return out;
}

// The same walk as FormatHint, so a word is listed exactly when FormatHint copies it as it is.
std::vector<std::string> UnknownPlaceholders(std::string_view format) {
    std::vector<std::string> words;
    std::size_t pos = 0;
    while ((pos = format.find('%', pos)) != std::string_view::npos) {
        ++pos;
        if (const Placeholder* match = PlaceholderAt(format, pos)) {
            pos += match->info.name.size() - 1;
            continue;
        }
        if (pos == format.size() || !IsAsciiLetter(format[pos]))
            continue;
        std::size_t end = pos;
        while (end < format.size() &&
               (IsAsciiLetter(format[end]) || (format[end] >= '0' && format[end] <= '9')))
            ++end;
        std::string word(format.substr(pos - 1, end - pos + 1));
        if (std::find(words.begin(), words.end(), word) == words.end())
            words.push_back(std::move(word));
        pos = end;
    }
    return words;
}

} // namespace chromint
