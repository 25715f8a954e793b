#include "data/sxg.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "data/data_state.h"
#include "data/sxg_values.h"

namespace zorvat {
namespace {

using testing::sxg;

constexpr std::uint64_t SEED = 20240503;

// Exact value in units of place 10, for checking order and rounding without floating point.
__int128 units(const SXG& v) {
    __int128 u = v.DEGREES;
    for (std::size_t i = 1; i <= 10; ++i)
        u = u * 60 + v.DIGITS[i];
    return u;
}

__int128 unit_of_place(int n) {
    __int128 u = 1;
    for (int i = n; i < 10; ++i)
        u *= 60;
    return u;
}

bool normal_form(const SXG& v) {
    if (v.DEGREES < 0) return false;
    for (std::size_t i = 1; i <= 10; ++i)
        if (v.DIGITS[i] < 0 || v.DIGITS[i] > 59) return false;
    return true;
}

struct Random {
    std::mt19937_64 gen{SEED};
    std::int64_t in(std::int64_t lo, std::int64_t hi) {
        return std::uniform_int_distribution<std::int64_t>(lo, hi)(gen);
    }
    // A value in normal form with an integer part in 0..max_degrees.
    SXG normal(std::int32_t max_degrees) {
        SXG v{};
        v.DEGREES = static_cast<std::int32_t>(in(0, max_degrees));
        for (std::size_t i = 1; i <= 10; ++i)
            v.DIGITS[i] = static_cast<std::int8_t>(in(0, 59));
        return v;
    }
};

TEST(Sxg, ExtendedFormatHasA64BitMantissa) {
    EXPECT_EQ(std::numeric_limits<long double>::digits, 64);
    EXPECT_EQ(sizeof(SXG::DIGITS), 11u);
}

struct BinaryCase {
    const char* a;
    const char* b;
    const char* expected;
};

TEST(Sxg, Add) {
    const BinaryCase cases[] = {
        {"359;59,59", "0;0,1", "360;0,0"},  // no reduction modulo 360
        {"0;0,0,0,0,0,0,0,0,0,59", "0;0,0,0,0,0,0,0,0,0,1", "0;0,0,0,0,0,0,0,0,1"},
        {"2147483647;0", "1;0", "2147483647;0"},
        {"2147483647;30", "0;30", "2147483647;0"},  // saturated, the places as computed
        {"2000000000;0", "2000000000;0", "2147483647;0"},
        {"1;-30", "0;10", "1;-20"},     // a negative place is kept, with no borrow
        {"-2147483000", "-1000", "*"},  // below the 32-bit range there is no value
        {"*", "1;0", "*"},
        {"1;0", "*", "*"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.a) + " + " + c.b);
        SXG r;
        ADD(sxg(c.a), sxg(c.b), r);
        EXPECT_EQ(r, sxg(c.expected));
    }
}

TEST(Sxg, Subtract) {
    const BinaryCase cases[] = {
        {"10;0", "20;0", "350;0"},
        {"20;0", "10;0", "10;0"},
        {"10;0", "400;0", "-30;0"},
        {"0;0,1", "0;0,2", "359;59,59"},
        {"5;30", "5;30", "0;0"},
        {"1;0", "0;0,0,0,0,0,0,0,0,0,1", "0;59,59,59,59,59,59,59,59,59,59"},
        {"-2000000000", "2000000000", "*"},
        {"2000000000", "-2000000000", "2147483647"},
        {"*", "1;0", "*"},
        {"1;0", "*", "*"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.a) + " - " + c.b);
        SXG r;
        SUBTRACT(sxg(c.a), sxg(c.b), r);
        EXPECT_EQ(r, sxg(c.expected));
    }
}

TEST(Sxg, ResultMayBeAnOperand) {
    SXG a = sxg("10;30"), b = sxg("20;45");
    ADD(a, a, a);
    EXPECT_EQ(a, sxg("21;0"));
    SUBTRACT(a, b, b);
    EXPECT_EQ(b, sxg("0;15"));
    MULTIPLYINTEGER(b, 4, b);
    EXPECT_EQ(b, sxg("1;0"));
    DIVIDEINTEGER(b, 8, b, false);
    EXPECT_EQ(b, sxg("0;7,30"));
}

struct IntegerCase {
    const char* a;
    std::int32_t k;
    const char* expected;
};

TEST(Sxg, MultiplyInteger) {
    const IntegerCase cases[] = {
        {"0;30", 3, "1;30"},
        {"1;0", 35791393, "35791393;0"},
        {"1;0", 35791394, "*"},
        {"1;0", -35791394, "*"},
        {"1;0", std::numeric_limits<std::int32_t>::min(), "*"},
        {"0;59,59,59,59,59,59,59,59,59,59", 35791393, "35791392;59,59,59,59,59,57,14,17,56,47"},
        {"0;30", -3, "-1;-30"},  // the sign in every field
        {"1;30", -1, "-1;-30"},
        {"100000000;0", 30, "2147483647;0"},
        {"100000000;30", 30, "2147483647;0"},
        {"-100000000;0", 30, "*"},  // below the 32-bit range
        {"12;34", 0, "0;0"},
        {"*", 2, "*"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.a) + " * " + std::to_string(c.k));
        SXG r;
        MULTIPLYINTEGER(sxg(c.a), c.k, r);
        EXPECT_EQ(r, sxg(c.expected));
    }
}

struct DivideCase {
    const char* a;
    std::int32_t divider;
    bool roundup;
    const char* expected;
};

TEST(Sxg, DivideInteger) {
    const DivideCase cases[] = {
        {"1;0", 7, false, "0;8,34,17,8,34,17,8,34,17,8"},
        {"1;0", 7, true, "0;8,34,17,8,34,17,8,34,17,9"},
        {"1;0", 3, false, "0;20"},
        {"1;0", 3, true, "0;20"},  // nothing remains, nothing is added
        // The remainder itself is compared with 30, whatever the divider.
        {"0;0,0,0,0,0,0,0,0,0,40", 100, false, "0;0,0,0,0,0,0,0,0,0,1"},
        {"0;0,0,0,0,0,0,0,0,0,29", 30, false, "0;0"},
        {"0;0,0,0,0,0,0,0,0,0,29", 30, true, "0;0,0,0,0,0,0,0,0,0,1"},
        {"0;59,59,59,59,59,59,59,59,59,59", 1000, false, "0;0,3,36"},
        {"359;59,59,59,59,59,59,59,59,59,59", 60, true, "6;0"},  // the carry runs upward
        {"-1;-30", 3, false, "0;-30"},
        {"-1;-30", 7, true, "0;-12,-51,-25,-42,-51,-25,-42,-51,-25,-42"},  // no round-up
        {"3;0", -2, false, "-1;-30"},
        {"1;0", 35791393, false, "0;0,0,0,0,21,43,33,13,2,28"},
        {"1;0", 35791394, false, "*"},
        {"1;0", -35791394, false, "*"},
        {"1;0", 0, false, "*"},  // no value, and no crash
        {"-2147483648;0", -1, false, "2147483647;0"},
        {"*", 2, false, "*"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.a) + " / " + std::to_string(c.divider) +
                     (c.roundup ? " rounding up" : ""));
        SXG r;
        DIVIDEINTEGER(sxg(c.a), c.divider, r, c.roundup);
        EXPECT_EQ(r, sxg(c.expected));
    }
}

struct FactorCase {
    bool divide;
    long double factor;
    bool roundup;
    const char* a;
    const char* expected;
};

TEST(Sxg, MultiplyAndDivideByFactors) {
    const long double two_thirds = 2.0L / 3.0L;
    const long double nan = std::numeric_limits<long double>::quiet_NaN();
    const FactorCase cases[] = {
        {false, 0.5L, false, "1;0", "0;30"},
        {false, two_thirds, false, "1;0", "0;40"},
        {false, 0.3L, false, "1;0", "0;20"},  // through the nearest reciprocal, 3
        {false, 2.5L, false, "1;0", "2;0"},   // ties to even
        {false, 3.5L, false, "1;0", "4;0"},
        {false, 0.0L, false, "1;0", "0;0"},
        {false, 7.0L, false, "0;8,34", "0;59,58"},
        {false, 0.66L, false, "1;0", "0;30"},  // 0.66 is not 2/3: 1/0.66 rounds to 2
        {false, 1e10L, false, "1;0", "*"},
        {false, nan, false, "1;0", "*"},
        {true, 0.5L, false, "1;0", "2;0"},
        {true, two_thirds, false, "1;0", "1;30"},
        {true, two_thirds, true, "0;0,0,0,0,0,0,0,0,0,1", "0;0"},  // round-up is not used
        {true, 0.3L, false, "1;0", "3;0"},
        {true, 2.5L, false, "1;0", "0;30"},
        {true, 7.0L, true, "1;0", "0;8,34,17,8,34,17,8,34,17,9"},
        {true, 1e-12L, false, "1;0", "*"},
        {true, 1e12L, false, "1;0", "*"},
        {true, 0.0L, false, "1;0", "*"},
        {true, nan, false, "1;0", "*"},
        {false, 2.0L, false, "*", "*"},
        {true, 2.0L, false, "*", "*"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.a) + (c.divide ? " / " : " * ") +
                     std::to_string(static_cast<double>(c.factor)));
        SXG r;
        if (c.divide) {
            DIVIDE(sxg(c.a), c.factor, r, c.roundup);
        } else {
            MULTIPLY(sxg(c.a), c.factor, r);
        }
        EXPECT_EQ(r, sxg(c.expected));
    }
}

TEST(Sxg, RealToSxgTruncatesEveryPlace) {
    const struct {
        long double r;
        const char* expected;
    } cases[] = {
        {13.065L, "13;3,53,59,59,59,59,59,59,59,59"},
        {-1.5L, "-1;-30"},
        {0.5L, "0;30"},
        {359.75L, "359;45"},
        {2147483647.5L, "2147483647;30"},
        {-2147483648.0L, "-2147483648"},
        {2147483648.0L, "*"},
        {-2147483649.0L, "*"},
        {std::numeric_limits<long double>::quiet_NaN(), "*"},
        {std::numeric_limits<long double>::infinity(), "*"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<double>(c.r));
        SXG a;
        REALTOSXG(c.r, a);
        EXPECT_EQ(a, sxg(c.expected));
    }
}

TEST(Sxg, SxgToReal) {
    EXPECT_EQ(SXGTOREAL(sxg("0;30")), 0.5L);
    EXPECT_EQ(SXGTOREAL(sxg("-1;-30")), -1.5L);
    EXPECT_EQ(SXGTOREAL(sxg("0;0,0,0,0,0,0,0,0,0,1")), 1.0L / 604661760000000000.0L);
    EXPECT_NEAR(static_cast<double>(SXGTOREAL(sxg("*"))), -2147483600.0, 1e-6);
}

struct RoundCase {
    const char* a;
    std::int16_t n;
    const char* rounded;
    const char* truncated;
};

TEST(Sxg, RoundingAndTruncation) {
    const RoundCase cases[] = {
        {"0;59,30", 1, "1;0", "0;59"},
        {"0;59,29,59", 1, "0;59", "0;59"},
        {"0;29,59,59", 1, "0;30", "0;29"},  // only place N+1 decides
        {"0;29,59,59", 0, "0", "0"},
        {"0;30", 0, "1", "0"},
        {"359;59,59,30", 2, "360;0,0", "359;59,59"},
        {"1;2,3,4,5,6,7,8,9,10,40", 9, "1;2,3,4,5,6,7,8,9,11", "1;2,3,4,5,6,7,8,9,10"},
        {"1;2,3,4,5,6,7,8,9,10,40", 10, "1;2,3,4,5,6,7,8,9,10,40", "1;2,3,4,5,6,7,8,9,10,40"},
        {"1;2,3,4,5,6,7,8,9,10,40", -1, "1;2,3,4,5,6,7,8,9,10,40", "1;2,3,4,5,6,7,8,9,10,40"},
        {"-1;-30", 0, "-1", "-1"},                            // a negative place never rounds up
        {"2147483647;30", 0, "2147483647;30", "2147483647"},  // saturated: places left as they are
        {"*", 1, "*", "*"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.a) + " to " + std::to_string(c.n) + " places");
        SXG r = sxg(c.a);
        MODERNROUNDINGSXG(r, c.n);
        EXPECT_EQ(r, sxg(c.rounded));
        SXG t = sxg(c.a);
        TRUNCSXG(t, c.n);
        EXPECT_EQ(t, sxg(c.truncated));

        reset_data_state();
        SXG by_setting = sxg(c.a);
        ROUNDSXG(by_setting, c.n);
        EXPECT_EQ(by_setting, r);
        ROUNDING = TRUNCATION;
        by_setting = sxg(c.a);
        ROUNDSXG(by_setting, c.n);
        EXPECT_EQ(by_setting, t);
        ROUNDING = 7;  // any value but MODERN truncates
        by_setting = sxg(c.a);
        ROUNDSXG(by_setting, c.n);
        EXPECT_EQ(by_setting, t);
        reset_data_state();
    }
}

TEST(Sxg, Comparison) {
    const struct {
        const char* a;
        const char* b;
        bool equal, larger;
    } cases[] = {
        {"*", "*", true, false},
        {"*", "0;0", false, false},
        {"0;0", "*", false, false},
        {"1;0,0,0,0,0,0,0,0,0,1", "1;0", false, true},
        {"1;0", "1;0,0,0,0,0,0,0,0,0,1", false, false},
        {"2;0", "1;59,59", false, true},
        {"12;34", "12;34", true, false},
        {"-1;0", "0;-30", false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.a) + " vs " + c.b);
        EXPECT_EQ(SXGEQUAL(sxg(c.a), sxg(c.b)), c.equal);
        EXPECT_EQ(SXGLARGER(sxg(c.a), sxg(c.b)), c.larger);
    }
    SXG undefined_with_places = sxg("*");
    undefined_with_places.DIGITS[3] = 7;
    EXPECT_TRUE(SXGEQUAL(undefined_with_places, sxg("*")));
    EXPECT_TRUE(UNDEFINED(undefined_with_places));
    EXPECT_FALSE(UNDEFINED(ZERO));
}

TEST(Sxg, Modulo360) {
    const std::pair<std::int32_t, std::int32_t> integers[] = {
        {-10, 350},
        {725, 5},
        {360, 0},
        {-360, 0},
        {0, 0},
        {359, 359},
        {UNDEF, UNDEF},
        {MAXLONGINT, 127},
        {std::numeric_limits<std::int32_t>::min(), 232},
    };
    for (const auto& [l, expected] : integers)
        EXPECT_EQ(MYMOD360(l), expected) << l;

    SXG a = sxg("-10;30,15");
    SXGMOD360(a);
    EXPECT_EQ(a, sxg("350;30,15"));
    a = sxg("*");
    SXGMOD360(a);
    EXPECT_TRUE(UNDEFINED(a));

    const std::pair<long double, long double> reals[] = {
        {-10.0L, 350.0L},
        {725.5L, 5.5L},
        {360.0L, 0.0L},
        {-720.0L, 0.0L},
        {0.0L, 0.0L},
        {359.5L, 359.5L},
        {1e30L, std::fmod(1e30L, 360.0L)},
    };
    for (const auto& [r, expected] : reals)
        EXPECT_EQ(EXTMOD360(r), expected) << double(r);
    EXPECT_FALSE(std::signbit(EXTMOD360(-720.0L)));
    EXPECT_TRUE(std::isnan(EXTMOD360(std::numeric_limits<long double>::infinity())));
}

TEST(Sxg, ExtMod360IsStepwiseReduction) {
    Random rnd;
    for (int k = 0; k < 2000; ++k) {
        const long double r =
            static_cast<long double>(rnd.in(-4000000000LL, 4000000000LL)) / 1024.0L +
            static_cast<long double>(rnd.in(0, 1LL << 40)) / static_cast<long double>(1LL << 50);
        long double stepwise = r;
        while (stepwise >= 360.0L)
            stepwise -= 360.0L;
        while (stepwise < 0.0L)
            stepwise += 360.0L;
        ASSERT_EQ(EXTMOD360(r), stepwise) << static_cast<double>(r);
    }
}

TEST(Sxg, MyRoundTiesToEven) {
    const std::pair<long double, std::int32_t> cases[] = {
        {2.5L, 2},
        {3.5L, 4},
        {-2.5L, -2},
        {-3.5L, -4},
        {2.4999L, 2},
        {-0.5L, 0},
        {0.5000001L, 1},
        {3.0e9L, UNDEF},
        {-3.0e9L, UNDEF},
        {2147483647.0L, UNDEF},
        {2147483646.5L, 2147483646},
        {std::numeric_limits<long double>::quiet_NaN(), UNDEF},
    };
    for (const auto& [r, expected] : cases)
        EXPECT_EQ(MYROUND(r), expected) << double(r);
}

TEST(Sxg, UnitsAndUndefined) {
    const std::pair<std::int16_t, const char*> cases[] = {
        {-5, "1"},
        {0, "1"},
        {1, "0;1"},
        {3, "0;0,0,1"},
        {10, "0;0,0,0,0,0,0,0,0,0,1"},
        {12, "0;0,0,0,0,0,0,0,0,0,1"},
    };
    for (const auto& [n, expected] : cases) {
        SXG u = sxg("7;7,7");
        MAKENUNIT(u, n);
        EXPECT_EQ(u, sxg(expected)) << n;
    }
    SXG a = sxg("1;2,3");
    SETUNDEFINED(a);
    EXPECT_EQ(a.DEGREES, -2147483600);
    EXPECT_EQ(a, sxg("*"));
}

// Properties over random values.

TEST(SxgProperty, SubtractUndoesAdd) {
    Random rnd;
    for (int k = 0; k < 20000; ++k) {
        const SXG a = rnd.normal(359), b = rnd.normal(359);
        SXG sum, back, diff, again;
        ADD(a, b, sum);
        ASSERT_TRUE(normal_form(sum));
        SUBTRACT(sum, b, back);
        ASSERT_EQ(back, a);
        // The difference is taken modulo 360 and lies in 0..360.
        SUBTRACT(a, b, diff);
        ASSERT_TRUE(normal_form(diff));
        ASSERT_LT(diff.DEGREES, 360);
        ADD(diff, b, again);
        SXGMOD360(again);
        ASSERT_EQ(again, a);
    }
}

TEST(SxgProperty, DivideIntegerUndoesMultiplyInteger) {
    Random rnd;
    const __int128 degree = unit_of_place(0);
    for (int k = 0; k < 20000; ++k) {
        const SXG a = rnd.normal(k % 2 ? 359 : 1000000);
        const auto factor =
            static_cast<std::int32_t>(k % 3 ? rnd.in(1, 1000) : rnd.in(1, 35791393));
        const std::int32_t m = k % 5 == 0 ? -factor : factor;
        SXG product, back;
        MULTIPLYINTEGER(a, m, product);
        const __int128 exact = units(a) * m;
        if (exact / degree > MAXLONGINT) {
            ASSERT_EQ(product.DEGREES, MAXLONGINT);
        } else if (exact / degree < std::numeric_limits<std::int32_t>::min()) {
            ASSERT_TRUE(UNDEFINED(product));
        } else {
            ASSERT_EQ(units(product), exact);
            DIVIDEINTEGER(product, m, back, true);  // nothing remains to round up
            ASSERT_EQ(back, a) << "factor " << m;
        }
    }
}

TEST(SxgProperty, RealRoundTripIsWithinTheFormat) {
    Random rnd;
    const long double place10 = 1.0L / 604661760000000000.0L;
    for (int k = 0; k < 20000; ++k) {
        const long double scale = std::ldexp(1.0L, static_cast<int>(rnd.in(-20, 30)));
        const long double r = static_cast<long double>(rnd.in(-(1LL << 62), 1LL << 62)) /
                              static_cast<long double>(1LL << 62) * scale;
        SXG a;
        REALTOSXG(r, a);
        ASSERT_FALSE(UNDEFINED(a));
        // Every field carries the sign of r.
        for (std::size_t i = 1; i <= 10; ++i)
            ASSERT_TRUE(r >= 0 ? a.DIGITS[i] >= 0 && a.DIGITS[i] <= 59
                               : a.DIGITS[i] <= 0 && a.DIGITS[i] >= -59);
        // What the extended format can hold for r (a few units of its last bit), plus the
        // truncation below place 10.
        const long double tolerance = std::fabs(r) * std::ldexp(1.0L, -60) + place10;
        ASSERT_LE(std::fabs(SXGTOREAL(a) - r), tolerance) << static_cast<double>(r);
    }
}

TEST(SxgProperty, LargerIsTheNumericOrder) {
    Random rnd;
    for (int k = 0; k < 20000; ++k) {
        const SXG a = rnd.normal(359);
        SXG b = a;
        // Share a prefix so that late places decide too.
        const auto from = static_cast<std::size_t>(rnd.in(0, 10));
        if (from == 0) b.DEGREES = static_cast<std::int32_t>(rnd.in(0, 359));
        for (std::size_t i = from == 0 ? 1 : from; i <= 10; ++i)
            b.DIGITS[i] = static_cast<std::int8_t>(rnd.in(0, 59));
        ASSERT_EQ(SXGLARGER(a, b), units(a) > units(b));
        ASSERT_EQ(SXGEQUAL(a, b), units(a) == units(b));
        if (SXGTOREAL(a) > SXGTOREAL(b)) {
            ASSERT_TRUE(SXGLARGER(a, b));
        }
        if (SXGTOREAL(b) > SXGTOREAL(a)) {
            ASSERT_TRUE(SXGLARGER(b, a));
        }
    }
}

TEST(SxgProperty, RoundingKeepsNormalForm) {
    Random rnd;
    for (int k = 0; k < 20000; ++k) {
        SXG a = rnd.normal(k % 4 ? 359 : MAXLONGINT);
        if (k % 7 == 0)
            for (std::size_t i = 1; i <= 10; ++i)
                a.DIGITS[i] = 59;  // carries all the way
        const auto n = static_cast<std::int16_t>(rnd.in(-2, 12));
        SXG r = a, t = a;
        MODERNROUNDINGSXG(r, n);
        TRUNCSXG(t, n);
        ASSERT_TRUE(normal_form(r)) << n;
        ASSERT_TRUE(normal_form(t)) << n;
        if (n < 0 || n >= 10) {
            ASSERT_EQ(r, a);
        } else if (r.DEGREES != MAXLONGINT) {
            const __int128 unit = unit_of_place(n);
            ASSERT_EQ(units(r) % unit, 0);
            ASSERT_LE(2 * (units(r) - units(a)), unit);
            ASSERT_GT(2 * (units(r) - units(a)), -unit);
        }
        if (n >= 0 && n < 10) {
            ASSERT_EQ(units(t) % unit_of_place(n), 0);
            ASSERT_LE(units(t), units(a));
            ASSERT_LT(units(a) - units(t), unit_of_place(n));
        } else {
            ASSERT_EQ(t, a);
        }
    }
}

}  // namespace
}  // namespace zorvat
