#include "TextUtils.h"

#include <charconv>

namespace chromint {

std::string AsciiLower(std::string_view text) {
    std::string out(text);
    for (char& ch : out)
        if (ch >= 'A' && ch <= 'Z')
            ch = static_cast<char>(ch - 'A' + 'a');
    return out;
}

std::string AsciiUpper(std::string_view text) {
    std::string out(text);
    for (char& ch : out)
        if (ch >= 'a' && ch <= 'z')
            ch = static_cast<char>(ch - 'a' + 'A');
    return out;
}

void AppendHexByte(std::string& out, unsigned value) {
    static constexpr char digits[] = "0123456789ABCDEF";
    out += digits[(value >> 4) & 0xF];
    out += digits[value & 0xF];
}

void AppendInt(std::string& out, long long value) {
    char buf[24];
    const auto result = std::to_chars(buf, buf + sizeof buf, value);
    out.append(buf, result.ptr);
}

void AppendFixed(std::string& out, double value, int decimals) {
    char buf[400];
    const auto result =
        std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    if (result.ec != std::errc()) {
        out += value != value ? "nan" : (value < 0 ? "-inf" : "inf");
        return;
    }
    std::string_view text(buf, static_cast<std::size_t>(result.ptr - buf));
    // "-0" and "-0.00" are what a tiny negative rounding error prints; a reader sees zero.
    if (!text.empty() && text.front() == '-' &&
        text.find_first_not_of("0.", 1) == std::string_view::npos)
        text.remove_prefix(1);
    out += text;
}

void AppendFixedTrimmed(std::string& out, double value, int decimals) {
    const std::size_t start = out.size();
    AppendFixed(out, value, decimals);
    if (out.find('.', start) == std::string::npos)
        return;
    while (out.back() == '0')
        out.pop_back();
    if (out.back() == '.')
        out.pop_back();
}

std::string IntToString(long long value) {
    std::string out;
    AppendInt(out, value);
    return out;
}

std::string FixedToString(double value, int decimals) {
    std::string out;
    AppendFixed(out, value, decimals);
    return out;
}

std::string EscapeAmpersands(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char ch : text) {
        out += ch;
        if (ch == '&')
            out += '&';
    }
    return out;
}

std::string UnescapeAmpersands(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        out += text[i];
        if (text[i] == '&' && i + 1 < text.size() && text[i + 1] == '&')
            ++i;
    }
    return out;
}

} // namespace chromint
