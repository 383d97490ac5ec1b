#pragma once

#include <cctype>
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
