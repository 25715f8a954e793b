#include "data/sxg.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "data/data_state.h"

namespace zorvat {

namespace {

static_assert(std::numeric_limits<long double>::digits == 64,
              "sexagesimal arithmetic relies on the 80-bit extended format");

constexpr std::int64_t INT32_LOW = std::numeric_limits<std::int32_t>::min();

constexpr std::array<std::int64_t, 11> POWERS_OF_60 = [] {
    std::array<std::int64_t, 11> p{};
    p[0] = 1;
    for (std::size_t i = 1; i < p.size(); ++i)
        p[i] = p[i - 1] * 60;
    return p;
}();

std::int8_t place(std::int64_t v) {
    return static_cast<std::int8_t>(v);
}

std::int64_t magnitude(std::int32_t v) {
    return v < 0 ? -std::int64_t{v} : std::int64_t{v};
}

// The integer part of a result: saturated upward; below the 32-bit range nothing sensible
// can be stored, so the whole result becomes undefined.
void store_degrees(std::int64_t v, SXG& C) {
    if (v > MAXLONGINT) {
        C.DEGREES = MAXLONGINT;
    } else if (v < INT32_LOW) {
        SETUNDEFINED(C);
    } else {
        C.DEGREES = static_cast<std::int32_t>(v);
    }
}

// Nearest integer, halves to the even one; independent of the floating point rounding mode.
long double round_half_even(long double r) {
    // Adding and taking away 2^63 rounds to an integer in the extended format's own
    // rounding, which is to the nearest with halves to even.
    constexpr long double SHIFT = 9223372036854775808.0L;
    if (!(std::fabs(r) < SHIFT)) return r;  // already an integer, infinite or not a number
    return r < 0 ? (r - SHIFT) + SHIFT : (r + SHIFT) - SHIFT;
}

// A factor rounded to a 32-bit integer; false when it does not fit (or is not a number).
bool round_factor(long double r, std::int32_t& out) {
    const long double n = round_half_even(r);
    if (!(n >= static_cast<long double>(INT32_LOW) && n <= static_cast<long double>(MAXLONGINT)))
        return false;
    out = static_cast<std::int32_t>(n);
    return true;
}

constexpr long double TWO_THIRDS = 2.0L / 3.0L;

}  // namespace

void ADD(SXG A, SXG B, SXG& C) {
    if (UNDEFINED(A) || UNDEFINED(B)) {
        SETUNDEFINED(C);
        return;
    }
    // A and B are copies, so C can be written place by place.
    C.DIGITS[0] = 0;
    int carry = 0;
    for (std::size_t i = 10; i >= 1; --i) {
        // Without branches: the places are random enough to defeat prediction. A negative
        // place stays as it is, with no borrow.
        int d = A.DIGITS[i] + B.DIGITS[i] + carry;
        carry = d >= 60;
        d -= 60 * carry;
        C.DIGITS[i] = place(d);
    }
    store_degrees(std::int64_t{A.DEGREES} + B.DEGREES + carry, C);
}

void SUBTRACT(SXG A, SXG B, SXG& C) {
    if (UNDEFINED(A) || UNDEFINED(B)) {
        SETUNDEFINED(C);
        return;
    }
    // A + CIRKEL: the places of CIRKEL are zero and cannot carry, so only the degrees change.
    std::int64_t degrees = A.DEGREES;
    if (SXGLARGER(B, A)) degrees = std::min<std::int64_t>(degrees + 360, MAXLONGINT);
    C.DIGITS[0] = 0;
    int borrow = 0;
    for (std::size_t i = 10; i >= 1; --i) {
        int d = A.DIGITS[i] - B.DIGITS[i] - borrow;
        borrow = d < 0;
        d += 60 * borrow;
        C.DIGITS[i] = place(d);
    }
    store_degrees(degrees - B.DEGREES - borrow, C);
}

void MULTIPLYINTEGER(SXG A, std::int32_t MULT, SXG& C) {
    if (UNDEFINED(A) || magnitude(MULT) >= SXG_FACTOR_LIMIT) {
        SETUNDEFINED(C);
        return;
    }
    C.DIGITS[0] = 0;
    std::int64_t carry = 0;
    for (std::size_t i = 10; i >= 1; --i) {
        const std::int64_t p = std::int64_t{A.DIGITS[i]} * MULT + carry;
        C.DIGITS[i] = place(p % 60);  // truncating: the remainder has the sign of p
        carry = p / 60;
    }
    store_degrees(std::int64_t{A.DEGREES} * MULT + carry, C);
}

void DIVIDEINTEGER(SXG A, std::int32_t DIVIDER, SXG& C, bool ROUNDUP) {
    // A zero divider cannot give a value; it is no reason to stop the program.
    if (UNDEFINED(A) || DIVIDER == 0 || magnitude(DIVIDER) >= SXG_FACTOR_LIMIT) {
        SETUNDEFINED(C);
        return;
    }
    // The quotient's integer part can only saturate (-2147483648 / -1), never fall below.
    C.DIGITS[0] = 0;
    store_degrees(std::int64_t{A.DEGREES} / DIVIDER, C);
    // 32 bits suffice from here on: a remainder is below the divider in magnitude, and
    // 60 * (SXG_FACTOR_LIMIT - 2) + 127 is still within range.
    std::int32_t r =
        static_cast<std::int32_t>(std::int64_t{A.DEGREES} % DIVIDER) * 60 + A.DIGITS[1];
    for (std::size_t i = 1; i <= 9; ++i) {
        C.DIGITS[i] = place(r / DIVIDER);
        r = (r % DIVIDER) * 60 + A.DIGITS[i + 1];
    }
    C.DIGITS[10] = place(r / DIVIDER);
    r %= DIVIDER;
    // The remainder itself is compared with 30, whatever the divider.
    if (r > 0 && (ROUNDUP || r >= 30)) {
        SXG unit;
        MAKENUNIT(unit, 10);
        ADD(C, unit, C);
    }
}

void MULTIPLY(SXG A, long double MULT, SXG& C) {
    std::int32_t n = 0;
    if (MULT == 0.0L || MULT >= 1.0L) {
        if (!round_factor(MULT, n)) {
            SETUNDEFINED(C);
            return;
        }
        MULTIPLYINTEGER(A, n, C);
    } else if (MULT == TWO_THIRDS) {
        MULTIPLYINTEGER(A, 2, C);
        DIVIDEINTEGER(C, 3, C, false);
    } else {
        if (!round_factor(1.0L / MULT, n)) {
            SETUNDEFINED(C);
            return;
        }
        DIVIDEINTEGER(A, n, C, false);
    }
}

void DIVIDE(SXG A, long double MULT, SXG& C, bool ROUNDUP) {
    if (MULT >= 1.0L) {
        std::int32_t n = 0;
        if (!round_factor(MULT, n)) {
            SETUNDEFINED(C);
            return;
        }
        DIVIDEINTEGER(A, n, C, ROUNDUP);
    } else if (MULT == TWO_THIRDS) {
        DIVIDEINTEGER(A, 2, C, false);
        MULTIPLYINTEGER(C, 3, C);
    } else {
        MULTIPLY(A, round_half_even(1.0L / MULT), C);
    }
}

void REALTOSXG(long double R, SXG& A) {
    const long double whole = std::trunc(R);
    // Not a number, or an integer part beyond 32 bits: there is no value to give.
    if (!(whole >= static_cast<long double>(INT32_LOW) &&
          whole <= static_cast<long double>(MAXLONGINT))) {
        SETUNDEFINED(A);
        return;
    }
    A.DEGREES = static_cast<std::int32_t>(whole);
    A.DIGITS[0] = 0;
    // Each step is rounded to the extended format, as the places are defined; that is what
    // turns the extended 13.065 into 13;3,53,59,...
    for (std::size_t i = 1; i <= 10; ++i) {
        R = (R - std::trunc(R)) * 60.0L;
        A.DIGITS[i] = static_cast<std::int8_t>(std::trunc(R));
    }
}

long double SXGTOREAL(SXG A) {
    long double r = A.DEGREES;
    for (std::size_t i = 1; i <= 10; ++i)
        r += static_cast<long double>(A.DIGITS[i]) / static_cast<long double>(POWERS_OF_60[i]);
    return r;
}

void ROUNDSXG(SXG& C, std::int16_t N) {
    if (ROUNDING == MODERN) {
        MODERNROUNDINGSXG(C, N);
    } else {
        TRUNCSXG(C, N);
    }
}

void MODERNROUNDINGSXG(SXG& C, std::int16_t N) {
    if (N < 0 || N >= 10) return;
    const auto next = static_cast<std::size_t>(N + 1);
    if (C.DIGITS[next] >= 30) {
        SXG unit;
        MAKENUNIT(unit, N);
        ADD(C, unit, C);
    }
    if (C.DEGREES == MAXLONGINT) return;
    for (std::size_t i = next; i <= 10; ++i)
        C.DIGITS[i] = 0;
}

void TRUNCSXG(SXG& C, std::int16_t N) {
    if (N < 0) return;
    for (std::size_t i = static_cast<std::size_t>(N) + 1; i <= 10; ++i)
        C.DIGITS[i] = 0;
}

bool SXGEQUAL(SXG A, SXG B) {
    if (UNDEFINED(A) && UNDEFINED(B)) return true;
    if (A.DEGREES != B.DEGREES) return false;
    for (std::size_t i = 1; i <= 10; ++i)
        if (A.DIGITS[i] != B.DIGITS[i]) return false;
    return true;
}

bool SXGLARGER(SXG A, SXG B) {
    if (UNDEFINED(A) || UNDEFINED(B)) return false;
    if (A.DEGREES != B.DEGREES) return A.DEGREES > B.DEGREES;
    for (std::size_t i = 1; i <= 10; ++i)
        if (A.DIGITS[i] != B.DIGITS[i]) return A.DIGITS[i] > B.DIGITS[i];
    return false;
}

void SXGMOD360(SXG& A) {
    A.DEGREES = MYMOD360(A.DEGREES);
}

std::int32_t MYMOD360(std::int32_t L) {
    if (L == UNDEF) return L;
    const std::int32_t r = L % 360;
    return r < 0 ? r + 360 : r;
}

long double EXTMOD360(long double R) {
    // The remainder of fmod is exact, so this is what subtracting or adding 360 one step at
    // a time gives, without the steps: a large R would take ages, an infinite one forever.
    if (std::isinf(R)) return std::numeric_limits<long double>::quiet_NaN();
    if (R >= 360.0L) return std::fmod(R, 360.0L);
    if (R < 0.0L) {
        R = std::fmod(R, 360.0L);
        return R < 0.0L ? R + 360.0L : 0.0L;
    }
    return R;
}

std::int32_t MYROUND(long double R) {
    if (!(std::fabs(R) < static_cast<long double>(MAXLONGINT))) return UNDEF;
    return static_cast<std::int32_t>(round_half_even(R));
}

bool UNDEFINED(SXG S) {
    return S.DEGREES == UNDEF;
}

void SETUNDEFINED(SXG& A) {
    A = ZERO;
    A.DEGREES = UNDEF;
}

void MAKENUNIT(SXG& NUNIT, std::int16_t N) {
    NUNIT = ZERO;
    if (N > 10) N = 10;
    if (N <= 0) {
        NUNIT.DEGREES = 1;
    } else {
        NUNIT.DIGITS[static_cast<std::size_t>(N)] = 1;
    }
}

}  // namespace zorvat
