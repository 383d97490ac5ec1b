#pragma once

#include <string>
#include <string_view>

namespace chromint {

// Locale-independent text helpers: the notations must read and write the same text whatever
// locale the desktop runs in, so nothing here goes through printf or iostreams.

std::string AsciiLower(std::string_view text);
std::string AsciiUpper(std::string_view text);

// 0..15 for 0-9, A-F and a-f; -1 for anything else.
constexpr int HexDigitValue(char ch) {
    if (ch >= '0' && ch <= '9')
        return ch - '0';
    if (ch >= 'A' && ch <= 'F')
        return ch - 'A' + 10;
    if (ch >= 'a' && ch <= 'f')
        return ch - 'a' + 10;
    return -1;
}

// Appends a byte as two upper-case hexadecimal digits.
void AppendHexByte(std::string& out, unsigned value);
void AppendInt(std::string& out, long long value);
// Fixed notation with the given decimals, rounded as printf rounds the value held. A value
// that rounds to zero is written without a minus sign.
void AppendFixed(std::string& out, double value, int decimals);
// The same with the trailing zeros (and a bare point) dropped: "62.8", "0", "-0.0139".
void AppendFixedTrimmed(std::string& out, double value, int decimals);

std::string IntToString(long long value);
std::string FixedToString(double value, int decimals);

// "&" is the menu's mnemonic marker: captions carry "&&" for a literal ampersand.
std::string EscapeAmpersands(std::string_view text);
std::string UnescapeAmpersands(std::string_view text);

} // namespace chromint
