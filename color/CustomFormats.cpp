#include "CustomFormats.h"

#include "FormatHint.h"

namespace chromint {

namespace {

constexpr bool ContinuesSequence(char ch) {
    return (static_cast<unsigned char>(ch) & 0xC0) == 0x80;
}

// The text cut after maxLength characters, never inside a UTF-8 sequence.
std::string_view CutToLength(std::string_view text, std::size_t maxLength) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (ContinuesSequence(text[i]))
            continue;
        if (count == maxLength)
            return text.substr(0, i);
        ++count;
    }
    return text;
}

} // namespace

std::size_t Utf8Length(std::string_view text) {
    std::size_t count = 0;
    for (char ch : text)
        if (!ContinuesSequence(ch))
            ++count;
    return count;
}

std::string EncodeCustomFormat(const CustomFormat& format) {
    std::string out;
    out.reserve(format.name.size() + format.pattern.size() + 8);
    for (char ch : format.name) {
        if (ch == '\\' || ch == '=')
            out += '\\';
        out += ch;
    }
    out += '=';
    out += format.pattern;
    return out;
}

std::optional<CustomFormat> DecodeCustomFormat(std::string_view entry) {
    CustomFormat format;
    std::size_t i = 0;
    for (; i < entry.size() && entry[i] != '='; ++i) {
        if (entry[i] == '\\' && i + 1 < entry.size() &&
            (entry[i + 1] == '\\' || entry[i + 1] == '='))
            ++i;
        format.name += entry[i];
    }
    if (i == entry.size() || format.name.empty())
        return std::nullopt;
    format.name = std::string(CutToLength(format.name, kMaxCustomFormatNameLength));
    format.pattern = std::string(CutToLength(entry.substr(i + 1), kMaxCustomFormatPatternLength));
    return format;
}

std::vector<std::string> EncodeCustomFormats(std::span<const CustomFormat> formats) {
    std::vector<std::string> entries;
    entries.reserve(formats.size());
    for (const CustomFormat& format : formats)
        entries.push_back(EncodeCustomFormat(format));
    return entries;
}

std::vector<CustomFormat> DecodeCustomFormats(std::span<const std::string> entries) {
    std::vector<CustomFormat> formats;
    for (const std::string& entry : entries) {
        if (formats.size() == kMaxCustomFormats)
            break;
        if (std::optional<CustomFormat> format = DecodeCustomFormat(entry))
            formats.push_back(std::move(*format));
    }
    return formats;
}

std::string ExpandCustomFormat(const CustomFormat& format, TColor color) {
    return FormatHint(format.pattern, color);
}

} // namespace chromint
