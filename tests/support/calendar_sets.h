// Intercalation sets for calendar tests.
#pragma once

#include <initializer_list>

#include "calendar/calendar.h"
#include "dialogue/types.h"

namespace zorvat::testing {

inline SET30 set_of(std::initializer_list<int> positions) {
    SET30 s;
    for (const int p : positions)
        s.set(static_cast<std::size_t>(p));
    return s;
}

inline SET30 default_set(char era) {
    SET30 s;
    DEFAULTINTERCALATION(era, s);
    return s;
}

}  // namespace zorvat::testing
