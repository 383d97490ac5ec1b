#pragma once

#include <cctype>
#include <ostream>
#include <string>

namespace chromint::test {

// A gtest parameter name from a row's readable name.
template <typename Info>
std::string RowName(const Info& info) {
    std::string name = info.param.row;
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return name;
}

} // namespace chromint::test

// Defines PrintTo for a table row type, so that test listings and failure messages name the
// row instead of dumping its bytes. Use it in the row type's own namespace: gtest finds
// PrintTo by argument-dependent lookup. The optional inputs are a stream expression that may
// use `row`, for the few values that tell rows apart at a glance, e.g.
//   CHROMINT_PRINT_ROW(ParseRow, row, "text " << row.text)
// prints `Alt X (text Alt+X)`.
#define CHROMINT_PRINT_ROW(Row, nameField, ...)                                                    \
    [[maybe_unused]] void PrintTo(const Row& row, std::ostream* os) {                              \
        *os << row.nameField __VA_OPT__(<< " (" << __VA_ARGS__ << ")");                            \
    }
