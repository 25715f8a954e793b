// The program's start-up: state, configuration, colours, the overview, the zij named on
// the command line, then the command loop.
#pragma once

#include <optional>
#include <string>

namespace zorvat {

// Runs the program on the installed console backend; never returns (Q ends it).
[[noreturn]] void RUN_PROGRAM(const std::optional<std::string>& zij_argument);

// Puts a zij name given at start at the front of DEFZIJ: the first of positions 1..3
// holding it, or 4, is the position it moves up from.
void move_start_zij_to_front(const std::string& full_name);

}  // namespace zorvat
