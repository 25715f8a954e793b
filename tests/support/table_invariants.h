// The invariants every table of the internal zij keeps, whatever file it came from.
#pragma once

#include <string>

#include "data/table.h"

namespace zorvat::testing {

// The first invariant the table breaks, or empty when it keeps them all: 0..200 values,
// subtables tiling 1..TOTNUMVAL with 0..10 places, a name of at most 60 characters,
// corrections only at indices 0..TOTNUMVAL and counted in NUMCR, CR = MS where there is no
// correction, places within -59..59 and unused indices ZERO.
std::string broken_invariant(const TABLE& t);

}  // namespace zorvat::testing
