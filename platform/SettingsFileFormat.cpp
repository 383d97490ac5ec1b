#include "SettingsFileFormat.h"

#include <cstddef>
#include <optional>

namespace chromint {

namespace {

constexpr std::string_view kHeader = "; Chromint settings, written when Chromint closes.\n"
                                     "; Edit only while Chromint is not running.\n";

bool IsControl(unsigned char byte) {
    return byte < 0x20 || byte == 0x7F;
}

int HexValue(char ch) {
    if (ch >= '0' && ch <= '9')
        return ch - '0';
    if (ch >= 'a' && ch <= 'f')
        return ch - 'a' + 10;
    if (ch >= 'A' && ch <= 'F')
        return ch - 'A' + 10;
    return -1;
}

void AppendHex(std::string& out, std::uint32_t value, int digits) {
    static constexpr char kDigits[] = "0123456789abcdef";
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4)
        out += kDigits[(value >> shift) & 0xF];
}

// Length of the well-formed UTF-8 sequence starting at text[pos], or 0.
std::size_t Utf8SequenceLength(std::string_view text, std::size_t pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0; // overlong
        if (lead == 0xED)
            high = 0x9F; // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90; // overlong
        if (lead == 0xF4)
            high = 0x8F; // above U+10FFFF
    } else {
        return 0;
    }
    if (pos + length > text.size())
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(text[pos + i]);
        if (byte < low || byte > high)
            return 0;
        low = 0x80;
        high = 0xBF;
    }
    return length;
}

// Reads a quoted text starting at line[pos] == '"'; leaves pos after the closing quote.
std::optional<std::string> ReadQuoted(std::string_view line, std::size_t& pos) {
    if (pos >= line.size() || line[pos] != '"')
        return std::nullopt;
    ++pos;
    std::string out;
    while (pos < line.size()) {
        const char ch = line[pos++];
        if (ch == '"')
            return out;
        if (ch != '\\') {
            out += ch;
            continue;
        }
        if (pos >= line.size())
            return std::nullopt;
        switch (line[pos++]) {
        case '\\':
            out += '\\';
            break;
        case '"':
            out += '"';
            break;
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        case 't':
            out += '\t';
            break;
        case 'x': {
            if (pos + 2 > line.size())
                return std::nullopt;
            const int hi = HexValue(line[pos]);
            const int lo = HexValue(line[pos + 1]);
            if (hi < 0 || lo < 0)
                return std::nullopt;
            out += static_cast<char>(hi * 16 + lo);
            pos += 2;
            break;
        }
        default:
            return std::nullopt;
        }
    }
    return std::nullopt; // no closing quote
}

std::optional<std::uint32_t> ReadDWordDigits(std::string_view digits) {
    if (digits.size() != 8)
        return std::nullopt;
    std::uint32_t value = 0;
    for (const char ch : digits) {
        const int digit = HexValue(ch);
        if (digit < 0)
            return std::nullopt;
        value = value * 16 + static_cast<std::uint32_t>(digit);
    }
    return value;
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

// A value line: "name"=dword:XXXXXXXX or "name"="text". False when it is not one.
bool ReadValueLine(std::string_view line, SettingsKey& key, bool& duplicate) {
    std::size_t pos = 0;
    const std::optional<std::string> name = ReadQuoted(line, pos);
    if (!name || pos >= line.size() || line[pos] != '=')
        return false;
    const std::string_view rest = line.substr(pos + 1);
    constexpr std::string_view kDWordPrefix = "dword:";
    if (rest.starts_with(kDWordPrefix)) {
        const std::optional<std::uint32_t> value =
            ReadDWordDigits(rest.substr(kDWordPrefix.size()));
        if (!value)
            return false;
        duplicate = key.Value(*name) != nullptr;
        key.SetDWord(*name, *value);
        return true;
    }
    std::size_t textPos = 0;
    const std::optional<std::string> text = ReadQuoted(rest, textPos);
    if (!text || textPos != rest.size())
        return false;
    duplicate = key.Value(*name) != nullptr;
    key.SetString(*name, *text);
    return true;
}

bool HasControlBytes(std::string_view line) {
    for (const char ch : line) {
        const auto byte = static_cast<unsigned char>(ch);
        if (IsControl(byte) && ch != '\t')
            return true;
    }
    return false;
}

void FormatKey(const SettingsKey& key, std::vector<std::string>& path, std::string& out) {
    if (!path.empty() && (!key.Values().empty() || key.Children().empty())) {
        out += "\n[";
        out += JoinKeyPath(path);
        out += "]\n";
        for (const SettingsValue& value : key.Values()) {
            out += QuoteSettingsText(value.name);
            if (value.type == ValueType::DWord) {
                out += "=dword:";
                AppendHex(out, value.dword, 8);
            } else {
                out += '=';
                out += QuoteSettingsText(value.text);
            }
            out += '\n';
        }
    }
    for (const SettingsKey& child : key.Children()) {
        path.push_back(child.Name());
        FormatKey(child, path, out);
        path.pop_back();
    }
}

} // namespace

std::string QuoteSettingsText(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 2);
    out += '"';
    for (std::size_t pos = 0; pos < text.size();) {
        const char ch = text[pos];
        const auto byte = static_cast<unsigned char>(ch);
        if (byte >= 0x80) {
            if (const std::size_t length = Utf8SequenceLength(text, pos)) {
                out.append(text.substr(pos, length));
                pos += length;
                continue;
            }
        }
        ++pos;
        switch (ch) {
        case '\\':
            out += "\\\\";
            break;
        case '"':
            out += "\\\"";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (IsControl(byte) || byte >= 0x80) {
                out += "\\x";
                AppendHex(out, byte, 2);
            } else {
                out += ch;
            }
        }
    }
    out += '"';
    return out;
}

ParsedSettings ParseSettingsText(std::string_view text) {
    ParsedSettings parsed;
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);

    SettingsKey* section = nullptr;
    bool sawEnd = false;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        if (end == std::string_view::npos) {
            // A last line without its line break was cut short.
            parsed.damaged = true;
            break;
        }
        const std::string_view line = Trim(text.substr(0, end));
        text.remove_prefix(end + 1);

        if (line.empty())
            continue;
        if (HasControlBytes(line)) {
            parsed.damaged = true;
            continue;
        }
        if (line.front() == ';' || line.front() == '#') {
            if (line == kSettingsEndMarker)
                sawEnd = true;
            continue;
        }
        if (line.front() == '[') {
            section = nullptr;
            if (line.back() == ']') {
                if (auto segments = SplitKeyPath(line.substr(1, line.size() - 2)))
                    section = &parsed.root.Create(*segments);
            }
            if (section == nullptr)
                parsed.damaged = true;
            continue;
        }
        bool duplicate = false;
        if (section == nullptr || !ReadValueLine(line, *section, duplicate) || duplicate)
            parsed.damaged = true;
    }
    if (!sawEnd)
        parsed.damaged = true;
    return parsed;
}

std::string FormatSettingsText(const SettingsKey& root) {
    std::string out(kHeader);
    std::vector<std::string> path;
    FormatKey(root, path, out);
    out += '\n';
    out += kSettingsEndMarker;
    out += '\n';
    return out;
}

} // namespace chromint
