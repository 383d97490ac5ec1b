#pragma once

#include "ColorTypes.h"

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace chromint {

// A copy format the user defined: the name the Copy menu shows and a FormatHint template.
struct CustomFormat {
    std::string name;
    std::string pattern;
    friend bool operator==(const CustomFormat&, const CustomFormat&) = default;
};

// What loading keeps: lengths count characters (UTF-8 sequences), not bytes.
inline constexpr std::size_t kMaxCustomFormats = 50;
inline constexpr std::size_t kMaxCustomFormatNameLength = 200;
inline constexpr std::size_t kMaxCustomFormatPatternLength = 2000;

// The characters of UTF-8 text: every byte that does not continue a sequence counts once.
std::size_t Utf8Length(std::string_view text);

// The settings form of a format: "name=pattern", where the name has each '\' and '=' escaped
// with a '\', and the pattern follows the first unescaped '=' unchanged. Any bytes survive,
// and a format a person types by hand ("Hex=%hex") reads as expected.
std::string EncodeCustomFormat(const CustomFormat& format);
// Nothing for an entry without an unescaped '=' or with an empty name. A '\' before any other
// character, or at the end of the name, stands for itself. Name and pattern are cut to their
// maximum lengths.
std::optional<CustomFormat> DecodeCustomFormat(std::string_view entry);

std::vector<std::string> EncodeCustomFormats(std::span<const CustomFormat> formats);
// The entries that decode, in order, at most kMaxCustomFormats of them; the rest are skipped.
std::vector<CustomFormat> DecodeCustomFormats(std::span<const std::string> entries);

// The text the format puts on the clipboard for a colour.
std::string ExpandCustomFormat(const CustomFormat& format, TColor color);

} // namespace chromint
