#include "dialogue/cp437.h"

#include <gtest/gtest.h>

namespace zorvat {
namespace {

TEST(Cp437, LiteralsBecomeSingleBytes) {
    constexpr std::string_view s = "╔═╗ ±° µ û â î"_cp;
    EXPECT_EQ(s, std::string_view("\xC9\xCD\xBB \xF1\xF8 \xE6 \x96 \x83 \x8C"));
    EXPECT_EQ("plain\r\n\b"_cp, std::string_view("plain\r\n\b"));
}

TEST(Cp437, EveryByteRoundTripsThroughUtf8) {
    for (int b = 1; b < 256; ++b) {
        const std::string one(1, static_cast<char>(b));
        const std::string utf8 = cp437_to_utf8(one);
        if (b >= 0x20) {
            EXPECT_EQ(utf8_to_cp437(utf8), one) << "byte " << b;
        }
    }
    EXPECT_EQ(cp437_to_utf8("\xC9\xCD"), "╔═");
    EXPECT_EQ(cp437_to_utf8(std::string(1, '\0')), " ");
    EXPECT_EQ(cp437_to_utf8("\x01\x7F"), "☺⌂");
}

}  // namespace
}  // namespace zorvat
