// Sexagesimal values written as text in tests ("13;10,35", "-1;-30", "*"), and their printing
// in failure messages.
#pragma once

#include <cstdlib>
#include <ostream>
#include <string>
#include <string_view>

#include "data/sxg.h"

namespace zorvat {

inline void PrintTo(const SXG& v, std::ostream* os) {
    if (v.DEGREES == UNDEF) *os << "undefined ";
    *os << v.DEGREES;
    for (std::size_t i = 1; i <= 10; ++i)
        *os << (i == 1 ? ';' : ',') << int{v.DIGITS[i]};
}

namespace testing {

// The integer part, then ';' and up to ten places separated by ','; "*" is undefined.
inline SXG sxg(std::string_view text) {
    SXG v{};
    if (text == "*") {
        SETUNDEFINED(v);
        return v;
    }
    const std::string s(text);
    const char* p = s.c_str();
    char* end = nullptr;
    v.DEGREES = static_cast<std::int32_t>(std::strtoll(p, &end, 10));
    std::size_t i = 1;
    while (*end == ';' || *end == ',') {
        p = end + 1;
        v.DIGITS[i++] = static_cast<std::int8_t>(std::strtol(p, &end, 10));
    }
    return v;
}

}  // namespace testing
}  // namespace zorvat
