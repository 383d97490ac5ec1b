#include "FormatHint.h"

#include "CIE.h"
#include "PickerConversions.h"
#include "Rounding.h"
#include "TextUtils.h"

#include <array>

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
};

struct Placeholder {
    std::string_view text; // without the leading '%', lower case
    Field field;
};

// Longer placeholders come first, so "%h" never takes the start of "%hex" or "%hslH".
constexpr std::array<Placeholder, 26> kPlaceholders{{
    {"hex", Field::Hex},   {"ciel", Field::CieL}, {"ciea", Field::CieA}, {"cieb", Field::CieB},
    {"ciex", Field::CieX}, {"ciey", Field::CieY}, {"ciez", Field::CieZ}, {"ciec", Field::CieC},
    {"cieh", Field::CieH}, {"hslh", Field::HslH}, {"hsls", Field::HslS}, {"hsll", Field::HslL},
    {"hsvh", Field::HsvH}, {"hsvs", Field::HsvS}, {"hsvv", Field::HsvV}, {"r", Field::R},
    {"g", Field::G},       {"b", Field::B},       {"c", Field::C},       {"m", Field::M},
    {"y", Field::Y},       {"k", Field::K},       {"h", Field::HslH},    {"s", Field::HslS},
    {"l", Field::HslL},    {"v", Field::HsvV},
}};

bool MatchesAt(std::string_view text, std::size_t pos, std::string_view lowerWord) {
    if (text.size() - pos < lowerWord.size())
        return false;
    for (std::size_t i = 0; i < lowerWord.size(); ++i) {
        char ch = text[pos + i];
        if (ch >= 'A' && ch <= 'Z')
            ch = static_cast<char>(ch - 'A' + 'a');
        if (ch != lowerWord[i])
            return false;
    }
    return true;
}

// Every number a template can ask for; cheap next to building the text.
class HintValues {
public:
    explicit HintValues(TColor color)
        : color_(color & 0xFFFFFF), xyz_(RGBToXYZ(color_)), lab_(XYZToLab(xyz_.x, xyz_.y, xyz_.z)),
          lch_(LabToLCh(lab_.l, lab_.a, lab_.b)), hsl_(PickerRGBToHSL(color_)),
          hsv_(PickerRGBToHSV(GetRValue(color_), GetGValue(color_), GetBValue(color_))),
          cmyk_(PickerRGBToCMYK(color_)) {}

    void Append(std::string& out, Field field) const {
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
        }
    }

private:
    static void AppendRounded(std::string& out, double v) { AppendInt(out, RoundHalfEven(v)); }

    TColor color_;
    XYZ xyz_;
    Lab lab_;
    LCh lch_;
    HSLInt hsl_;
    HSVInt hsv_;
    CMYKInt cmyk_;
};

} // namespace

// Replacement texts never contain '%' and never start with a letter, so one pass that picks,
// at each '%', the first placeholder of the ordered list gives the same text as replacing
// each placeholder in turn over the whole template.
std::string FormatHint(std::string_view hintTemplate, TColor color) {
    const HintValues values(color);
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
        const Placeholder* match = nullptr;
        for (const Placeholder& p : kPlaceholders) {
            if (MatchesAt(hintTemplate, pos, p.text)) {
                match = &p;
                break;
            }
        }
        if (match == nullptr) {
            out += '%';
            continue;
        }
        values.Append(out, match->field);
        pos += match->text.size();
    }
    return out;
}

} // namespace chromint
