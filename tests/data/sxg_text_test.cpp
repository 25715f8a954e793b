#include "data/sxg_text.h"

#include <gtest/gtest.h>

#include <string>

#include "data/data_state.h"
#include "data/sxg_values.h"

namespace zorvat {
namespace {

using testing::sxg;

struct TextCase {
    const char* value;
    std::int16_t n;
    // The fixed-width and the compressed form in the modes DEGREES, SIGNS, DAYSHOURS.
    std::array<const char*, 3> fixed;
    std::array<const char*, 3> compressed;
};

const TextCase TEXT_CASES[] = {
    {"13;10,35",
     2,
     {" 13;10,35", " 0s13;10,35", "0d13;10,35"},
     {"13;10,35", "0s13;10,35", "0d13;10,35"}},
    {"0;59,8", 2, {"  0;59, 8", " 0s 0;59, 8", "0d 0;59, 8"}, {"0;59,8", "0s0;59,8", "0d0;59,8"}},
    {"5;0,0", 2, {"  5; 0, 0", " 0s 5; 0, 0", "0d 5; 0, 0"}, {"5;0", "0s5;0", "0d5;0"}},
    {"13;10,35,0",
     3,
     {" 13;10,35, 0", " 0s13;10,35, 0", "0d13;10,35, 0"},
     {"13;10,35", "0s13;10,35", "0d13;10,35"}},
    {"*", 2, {"        *", "          *", "          *"}, {"*", "*", "*"}},
    {"135;30", 1, {"135;30", " 4s15;30", "5d15;30"}, {"135;30", "4s15;30", "5d15;30"}},
    {"0;59,59,30", 2, {"  1; 0, 0", " 0s 1; 0, 0", "0d 1; 0, 0"}, {"1;0", "0s1;0", "0d1;0"}},
    {"360;0", 0, {"360", "12s 0", "1d 0"}, {"360", "12s0", "1d0"}},
    {"1234;0", 0, {"1234", "41s 4", "2d10"}, {"1234", "41s4", "2d10"}},
    {"29;0", 0, {" 29", " 0s29", "1d 5"}, {"29", "0s29", "1d5"}},
    {"30;0", 0, {" 30", " 1s 0", "1d 6"}, {"30", "1s0", "1d6"}},
    {"168;0", 0, {"168", " 5s18", "0d 0"}, {"168", "5s18", "0d0"}},
    {"0;0",
     5,
     {"  0; 0, 0, 0, 0, 0", " 0s 0; 0, 0, 0, 0, 0", "0d 0; 0, 0, 0, 0, 0"},
     {"0;0", "0s0;0", "0d0;0"}},
    // Places beyond 10 are not shown; a negative count shows the integer part, unrounded.
    {"1;2,3,4,5,6,7,8,9,10,11",
     12,
     {"  1; 2, 3, 4, 5, 6, 7, 8, 9,10,11", " 0s 1; 2, 3, 4, 5, 6, 7, 8, 9,10,11",
      "0d 1; 2, 3, 4, 5, 6, 7, 8, 9,10,11"},
     {"1;2,3,4,5,6,7,8,9,10,11", "0s1;2,3,4,5,6,7,8,9,10,11", "0d1;2,3,4,5,6,7,8,9,10,11"}},
    {"*",
     12,
     {"                                *", "                                  *",
      "                                  *"},
     {"*", "*", "*"}},
    {"0;59,59", -1, {"  0", " 0s 0", "0d 0"}, {"0", "0s0", "0d0"}},
    {"*", -1, {"*", "  *", "  *"}, {"*", "*", "*"}},
    // Trailing zero places go, inner ones stay.
    {"1;0,5,0,0",
     4,
     {"  1; 0, 5, 0, 0", " 0s 1; 0, 5, 0, 0", "0d 1; 0, 5, 0, 0"},
     {"1;0,5", "0s1;0,5", "0d1;0,5"}},
    // A value with the sign in every field.
    {"-1;-30", 1, {" -1;-30", " 0s-1;-30", "0d-1;-30"}, {"-1;-30", "0s-1;-30", "0d-1;-30"}},
    {"-2147483648",
     0,
     {"-2147483648", "-71582788s-8", "-5d-8"},
     {"-2147483648", "-71582788s-8", "-5d-8"}},
};

class SxgTextTable : public ::testing::TestWithParam<TextCase> {
  protected:
    void SetUp() override { reset_data_state(); }
    void TearDown() override { reset_data_state(); }
};

TEST_P(SxgTextTable, FixedAndCompressedFormsInEveryMode) {
    const TextCase& c = GetParam();
    const std::uint8_t modes[] = {DEGREES, SIGNS, DAYSHOURS};
    for (std::size_t m = 0; m < 3; ++m) {
        SCOPED_TRACE("mode " + std::to_string(modes[m]));
        EXPECT_EQ(SXGTOSTR(sxg(c.value), c.n, modes[m]).view(), c.fixed[m]);
        EXPECT_EQ(SXGTOSTRCOMPR(sxg(c.value), c.n, modes[m]).view(), c.compressed[m]);
        // The forms without a mode follow DISPLAYMODE.
        DISPLAYMODE = modes[m];
        EXPECT_EQ(SXGTOSTR(sxg(c.value), c.n).view(), c.fixed[m]);
        EXPECT_EQ(SXGTOSTRCOMPR(sxg(c.value), c.n).view(), c.compressed[m]);
    }
}

INSTANTIATE_TEST_SUITE_P(Values, SxgTextTable, ::testing::ValuesIn(TEXT_CASES));

TEST(SxgTextForms, RoundHalfUpWhateverTheRoundingType) {
    reset_data_state();
    ROUNDING = TRUNCATION;
    EXPECT_EQ(SXGTOSTR(sxg("0;59,59,30"), 2, DEGREES).view(), "  1; 0, 0");
    EXPECT_EQ(SXGTOSTR(sxg("359;59,30"), 1, DEGREES).view(), "360; 0");
    reset_data_state();
}

TEST(SxgTextForms, UndefinedStarStandsInTheLastColumn) {
    for (std::int16_t n = 0; n <= 10; ++n) {
        const SxgText value = SXGTOSTR(sxg("359;59,59,59,59,59,59,59,59,59,29"), n, DEGREES);
        const SxgText star = SXGTOSTR(sxg("*"), n, DEGREES);
        EXPECT_EQ(star.length, value.length) << n;
        EXPECT_EQ(star.view().back(), '*');
    }
}

TEST(SxgTextForms, ConvertsToStrings) {
    const SxgText t = SXGTOSTR(sxg("13;10,35"), 2, DEGREES);
    EXPECT_TRUE(t == " 13;10,35");
    const std::string_view v = t;
    EXPECT_EQ(v, " 13;10,35");
    std::string s = "x";
    s += t;
    EXPECT_EQ(s, "x 13;10,35");
    EXPECT_EQ(t.str(), " 13;10,35");
}

}  // namespace
}  // namespace zorvat
