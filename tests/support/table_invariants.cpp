#include "support/table_invariants.h"

#include <bitset>

namespace zorvat::testing {

namespace {

bool places_ok(const SXG& v) {
    for (std::size_t k = 1; k <= 10; ++k)
        if (v.DIGITS[k] < -59 || v.DIGITS[k] > 59) return false;
    return v.DIGITS[0] == 0;
}

}  // namespace

std::string broken_invariant(const TABLE& t) {
    if (t.TOTNUMVAL < 0 || t.TOTNUMVAL > MAXNUMVAL) return "TOTNUMVAL out of range";
    if (t.NAME.size() > 60) return "name too long";
    if (!places_ok(t.MPD)) return "MPD place out of range";
    std::bitset<MAXNUMVAL + 1> covered;
    int total = 0;
    for (std::size_t p = FRA; p <= COL; ++p) {
        const INFORECORD& r = t.INFOLIST[p];
        if (r.NUMVAL < 0) return "negative NUMVAL";
        if (r.NUMVAL == 0) continue;
        if (r.OFFSET < 0 || r.OFFSET + r.NUMVAL > t.TOTNUMVAL) return "subtable outside";
        if (r.NUMSEX < 0 || r.NUMSEX > 10) return "NUMSEX out of range";
        for (int i = r.OFFSET + 1; i <= r.OFFSET + r.NUMVAL; ++i) {
            if (covered.test(static_cast<std::size_t>(i))) return "subtables overlap";
            covered.set(static_cast<std::size_t>(i));
        }
        total += r.NUMVAL;
    }
    if (total != t.TOTNUMVAL) return "NUMVAL do not add up to TOTNUMVAL";
    int numcr = 0;
    for (int i = 0; i <= MAXNUMVAL; ++i) {
        const auto k = static_cast<std::size_t>(i);
        const bool used = t.TOTNUMVAL > 0 && i <= t.TOTNUMVAL;
        if (t.CRSET.test(k)) {
            if (!used) return "correction beyond the values";
            ++numcr;
        } else if (!(t.MS[k] == t.CR[k])) {
            return "CR differs from MS without a correction";
        }
        if (!places_ok(t.MS[k]) || !places_ok(t.CR[k])) return "value place out of range";
        if (!used && !(t.MS[k] == SXG{} && t.CR[k] == SXG{})) return "unused index not zero";
    }
    if (numcr != t.NUMCR) return "NUMCR does not count CRSET";
    return {};
}

}  // namespace zorvat::testing
