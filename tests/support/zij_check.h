// Reads a zij in every way the commands read one, for the damaged-file tests and the fuzz
// target: GZ reads it through, GT's listing runs over it, and each table GZ read is read
// again after skipping the tables before it as GT skips them.
#pragma once

#include <string>

namespace zorvat::testing {

// The zij is `name`.ZVT (a path, relative to the current directory or full); a console must
// be installed and no key is read. Empties the internal zij first and leaves in it the tables GZ
// read. The first fault found (a broken table, skipping and reading that disagree, F left open), or
// empty.
std::string check_zij_reading(const std::string& name);

}  // namespace zorvat::testing
