// The text forms of a sexagesimal value: the fixed-width form of tables and the compressed
// form of messages. The display mode decides how the integer part is written.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "data/data_state.h"  // the display modes
#include "data/sxg.h"

namespace zorvat {

// At most 60 characters, held in place: showing a value never touches the heap.
struct SxgText {
    static constexpr std::size_t CAPACITY = 60;
    std::array<char, CAPACITY> chars{};
    std::size_t length = 0;

    std::string_view view() const { return {chars.data(), length}; }
    operator std::string_view() const { return view(); }
    std::string str() const { return std::string(view()); }
    bool operator==(std::string_view other) const { return view() == other; }
};

// The fixed-width form of A rounded half up to N places (N at most 10), in the display mode
// given or in DISPLAYMODE; an undefined value is a "*" in the last column.
SxgText SXGTOSTR(SXG A, std::int16_t N, std::uint8_t mode);
SxgText SXGTOSTR(SXG A, std::int16_t N);

// SXGTOSTR without its blanks and without trailing zero places; the first place stays.
SxgText SXGTOSTRCOMPR(SXG A, std::int16_t N, std::uint8_t mode);
SxgText SXGTOSTRCOMPR(SXG A, std::int16_t N);

}  // namespace zorvat
