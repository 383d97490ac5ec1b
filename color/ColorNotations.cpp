#include "ColorNotations.h"

#include "ColorUtils.h"
#include "ColorUtilsWeb.h"
#include "TextUtils.h"

namespace chromint {

namespace {

std::string ShortHex(TColor color) {
    const RGBTriple c = SplitRGB(color);
    std::string out = "#";
    for (std::uint8_t v : {c.r, c.g, c.b}) {
        std::string pair;
        AppendHexByte(pair, v);
        out += pair[0];
    }
    return out;
}

void AppendBGR(std::string& out, TColor color) {
    const RGBTriple c = SplitRGB(color);
    AppendHexByte(out, c.b);
    AppendHexByte(out, c.g);
    AppendHexByte(out, c.r);
}

void AppendRGB(std::string& out, TColor color) {
    const RGBTriple c = SplitRGB(color);
    AppendHexByte(out, c.r);
    AppendHexByte(out, c.g);
    AppendHexByte(out, c.b);
}

// "a<sep>b<sep>c" with an optional suffix after each number, inside prefix ... suffix.
template <typename Number, typename Append>
std::string Joined(std::string_view prefix, std::initializer_list<Number> values,
                   std::string_view unit, std::string_view separator, std::string_view close,
                   Append append) {
    std::string out(prefix);
    bool first = true;
    for (Number v : values) {
        if (!first)
            out += separator;
        first = false;
        append(out, v);
        out += unit;
    }
    out += close;
    return out;
}

std::string Ints(std::string_view prefix, std::initializer_list<int> values,
                 std::string_view separator, std::string_view close) {
    return Joined(prefix, values, "", separator, close,
                  [](std::string& out, int v) { AppendInt(out, v); });
}

std::string Percents(std::string_view prefix, std::initializer_list<double> values, int decimals,
                     std::string_view separator, std::string_view close) {
    return Joined(prefix, values, "%", separator, close,
                  [decimals](std::string& out, double v) { AppendFixed(out, v, decimals); });
}

bool AllHex(std::string_view text) {
    for (char ch : text)
        if (HexDigitValue(ch) < 0)
            return false;
    return true;
}

// Prefixes are given in upper case; the text may be in either.
bool StartsWith(std::string_view text, std::string_view upperPrefix) {
    if (text.size() < upperPrefix.size())
        return false;
    for (std::size_t i = 0; i < upperPrefix.size(); ++i) {
        char ch = text[i];
        if (ch >= 'a' && ch <= 'z')
            ch = static_cast<char>(ch - 'a' + 'A');
        if (ch != upperPrefix[i])
            return false;
    }
    return true;
}

// Six hex digits in the order BB GG RR.
TColor FromBGRDigits(std::string_view digits) {
    TColor value = 0;
    for (char ch : digits)
        value = (value << 4) | static_cast<TColor>(HexDigitValue(ch));
    return value;
}

// Six hex digits in the order RR GG BB.
TColor FromRGBDigits(std::string_view d) {
    const std::string bgr{d[4], d[5], d[2], d[3], d[0], d[1]};
    return FromBGRDigits(bgr);
}

} // namespace

std::string ColorToText(TColor color, int notation) {
    const RGBTriple c = SplitRGB(color);
    std::string out;
    switch (notation) {
    case NotationHTML:
        out = "#";
        AppendRGB(out, color);
        return out;
    case NotationCpp:
        out = "0x00";
        AppendBGR(out, color);
        return out;
    case NotationJava:
        out = "0x";
        AppendRGB(out, color);
        return out;
    case NotationDelphi:
        out = "$00";
        AppendBGR(out, color);
        return out;
    case NotationBasic:
        out = "&H00";
        AppendBGR(out, color);
        out += '&';
        return out;
    case NotationWebSafeShort:
        return ShortHex(SnapColor(color, WebSafeStep));
    case NotationWebSmartShort:
        return ShortHex(SnapColor(color, WebSmartStep));
    case NotationRGBPlain:
        return Ints("", {c.r, c.g, c.b}, " ", "");
    case NotationRGBFunction:
        return Ints("RGB(", {c.r, c.g, c.b}, ", ", ")");
    case NotationRGBShares: {
        const RGBSharesF s = RGBShares(color);
        return Percents("RGB(", {s.r, s.g, s.b}, 2, " ", ")");
    }
    case NotationHSVPlain:
    case NotationHSVPlain2:
    case NotationHSVFunction:
    case NotationHSBFunction: {
        const HSVInt hsv = RGBToHSV(c.r, c.g, c.b);
        if (notation == NotationHSVFunction)
            return Ints("HSV(", {hsv.h, hsv.s, hsv.v}, ", ", ")");
        if (notation == NotationHSBFunction)
            return Ints("HSB(", {hsv.h, hsv.s, hsv.v}, ", ", ")");
        return Ints("", {hsv.h, hsv.s, hsv.v}, " ", "");
    }
    case NotationCMYKPlain:
    case NotationCMYKFunction: {
        const CMYKFloat k = RGBToCMYK(c.r, c.g, c.b);
        const std::initializer_list<double> values{100 * k.c, 100 * k.m, 100 * k.y, 100 * k.k};
        if (notation == NotationCMYKFunction)
            return Percents("CMYK(", values, 0, ", ", ")");
        return Percents("", values, 0, " ", "");
    }
    case NotationSharesWhole:
    case NotationSharesDecimals: {
        const RGBSharesF s = RGBShares(color);
        const int decimals = notation == NotationSharesWhole ? 0 : 2;
        out = "R: ";
        AppendFixed(out, s.r, decimals);
        out += "% G: ";
        AppendFixed(out, s.g, decimals);
        out += "% B: ";
        AppendFixed(out, s.b, decimals);
        out += '%';
        return out;
    }
    default:
        return ShortHex(color);
    }
}

bool IsValidColorText(std::string_view t, int notation) {
    const std::size_t n = t.size();
    switch (notation) {
    case NotationHTML:
        return (n == 4 || n == 7) && t[0] == '#' && AllHex(t.substr(1));
    case NotationCpp:
        return n == 10 && StartsWith(t, "0X00") && AllHex(t.substr(4));
    case NotationJava:
        return n == 8 && StartsWith(t, "0X") && AllHex(t.substr(2));
    case NotationDelphi:
        if (n == 9)
            return StartsWith(t, "$00") && AllHex(t.substr(3));
        if (n == 7)
            return StartsWith(t, "$") && AllHex(t.substr(1));
        return false;
    case NotationBasic:
        if (n == 10 || n == 11)
            return StartsWith(t, "&H00") && (n == 10 || t[10] == '&') && AllHex(t.substr(4, 6));
        if (n == 8)
            return StartsWith(t, "&H") && AllHex(t.substr(2));
        return false;
    default:
        return false;
    }
}

TColor TextToColor(std::string_view t, int notation) {
    if (!IsValidColorText(t, notation))
        return clNone;
    switch (notation) {
    case NotationHTML:
        if (t.size() == 4) {
            const std::string digits{t[3], t[3], t[2], t[2], t[1], t[1]};
            return FromBGRDigits(digits);
        }
        return FromRGBDigits(t.substr(1));
    case NotationCpp:
        return FromBGRDigits(t.substr(4));
    case NotationJava:
        return FromRGBDigits(t.substr(2));
    case NotationDelphi:
        return FromBGRDigits(t.substr(t.size() == 9 ? 3 : 1));
    case NotationBasic:
        return FromBGRDigits(t.substr(t.size() == 8 ? 2 : 4, 6));
    default:
        return clNone;
    }
}

TColor CodeBoxTextToColor(std::string_view text) {
    if (IsHexColorBody(text))
        return TextToColor("#" + std::string(text), NotationHTML);
    if (text.find('#') == std::string_view::npos) {
        const TColor named = HTMLNameToColor(text);
        if (named != clNone)
            return TextToColor(ColorToText(named, NotationHTML), NotationHTML);
    }
    return TextToColor(text, NotationHTML);
}

} // namespace chromint
