// Sexagesimal numbers: an integer part in degrees and ten base-60 places.
//
// Operands are taken by value and the result written through a reference, so a result may be
// the same variable as an operand. Nothing here allocates.
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

// A factor or divider of this magnitude or more gives the undefined value: it is the least
// integer above 2147483647 / 60, so that a place times the factor fits 32 bits.
inline constexpr std::int32_t SXG_FACTOR_LIMIT = 35791394;

// C := A + B, with carries; the integer part saturates at MAXLONGINT.
void ADD(SXG A, SXG B, SXG& C);
// C := A - B, taken modulo 360 (once) when B > A.
void SUBTRACT(SXG A, SXG B, SXG& C);
// C := A * MULT.
void MULTIPLYINTEGER(SXG A, std::int32_t MULT, SXG& C);
// C := A / DIVIDER by long division down to place 10; the last place is rounded up when
// ROUNDUP is set and anything remains, or when the remainder is at least 30.
void DIVIDEINTEGER(SXG A, std::int32_t DIVIDER, SXG& C, bool ROUNDUP);
// C := A * MULT through the nearest integer factor, or the nearest integer reciprocal; the
// factor 2/3 is exact.
void MULTIPLY(SXG A, long double MULT, SXG& C);
// C := A / MULT, the same way.
void DIVIDE(SXG A, long double MULT, SXG& C, bool ROUNDUP);
// A := R, truncated in every place; a negative R gives every field <= 0.
void REALTOSXG(long double R, SXG& A);
long double SXGTOREAL(SXG A);
// Rounds (ROUNDING = MODERN) or truncates C to N places.
void ROUNDSXG(SXG& C, std::int16_t N);
// Rounds C half up to N places; only place N+1 decides.
void MODERNROUNDINGSXG(SXG& C, std::int16_t N);
void TRUNCSXG(SXG& C, std::int16_t N);
bool SXGEQUAL(SXG A, SXG B);
// A > B in the order of the fields; false when either is undefined.
bool SXGLARGER(SXG A, SXG B);
void SXGMOD360(SXG& A);
std::int32_t MYMOD360(std::int32_t L);
long double EXTMOD360(long double R);
// R rounded to the nearest integer, ties to even; UNDEF when |R| >= MAXLONGINT.
std::int32_t MYROUND(long double R);
bool UNDEFINED(SXG S);
void SETUNDEFINED(SXG& A);
// One unit in place N (N <= 0: one degree; N is limited to 10).
void MAKENUNIT(SXG& NUNIT, std::int16_t N);

}  // namespace zorvat
