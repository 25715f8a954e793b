// Sexagesimal numbers: an integer part in degrees and ten base-60 places.
#pragma once

#include <array>
#include <cstdint>

#include "dialogue/types.h"

namespace zorvat {

struct SXG {
    std::int32_t DEGREES = 0;
    std::array<std::int8_t, 11> DIGITS{};  // [1..10]; DIGITS[0] is unused and stays 0
    bool operator==(const SXG&) const = default;
};

inline constexpr SXG ZERO{};
inline constexpr SXG CIRKEL{360, {}};

}  // namespace zorvat
