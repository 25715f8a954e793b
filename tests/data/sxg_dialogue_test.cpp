#include "data/sxg_dialogue.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "data/data_state.h"
#include "data/sxg_values.h"
#include "dialogue/console.h"
#include "dialogue/toolkit.h"
#include "support/scripted_console.h"

namespace zorvat {
namespace {

using testing::ScriptedConsole;
using testing::sxg;

TEST(PrintSxg, WritesTheTextFormsAtTheCursorInTheDisplayMode) {
    ScriptedConsole con;
    ASSERT_TRUE(con.run([] {
        GOTOXY(5, 3);
        PRINTSXG(sxg("135;30"), 2);
        write_text("|");
        PRINTSXGCOMPRESSED(sxg("135;30"), 2);
        DISPLAYMODE = SIGNS;
        GOTOXY(1, 4);
        PRINTSXG(sxg("135;30"), 1);
        write_text("|");
        PRINTSXGCOMPRESSED(sxg("*"), 1);
    }));
    EXPECT_EQ(con.row(3), "    135;30, 0|135;30");
    EXPECT_EQ(con.row(4), " 4s15;30|*");
    EXPECT_EQ(con.cursor_y(), 4);  // no line break
}

struct ReadCase {
    const char* keys;
    const char* value;  // nullptr when the outcome is not Enter
    int exitcode;
    const char* shown;
    int cursor_x;
    std::uint8_t mode;  // DISPLAYMODE afterwards
    const char* def = "";
    bool allow_up_down = false;
};

void PrintTo(const ReadCase& c, std::ostream* os) {
    *os << '"' << c.def << "\" then " << c.keys;
}

class ReadSxg : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadSxg, AcceptsOnlyWellFormedValues) {
    const ReadCase& c = GetParam();
    ScriptedConsole con(c.keys);
    SXG s = sxg("99;9");
    ASSERT_TRUE(con.run([&] { READSXG(c.def, s, c.allow_up_down, false); }));
    EXPECT_EQ(EXITCODE, c.exitcode);
    if (c.value) {
        EXPECT_EQ(s, sxg(c.value));
    }
    EXPECT_EQ(con.row(1), c.shown);
    EXPECT_EQ(con.cursor_x(), c.cursor_x);
    EXPECT_EQ(DISPLAYMODE, c.mode);
    EXPECT_EQ(con.beeps(), 0);  // a refused key is simply not echoed
}

INSTANTIATE_TEST_SUITE_P(
    Keys, ReadSxg,
    ::testing::Values(
        ReadCase{"13;10,35<ret>", "13;10,35", 0, "13;10,35", 9, DEGREES},
        ReadCase{"360<ret>", "36", 0, "36", 3, DEGREES},        // 360 is refused
        ReadCase{"12;60<ret>", "12;6", 0, "12;6", 5, DEGREES},  // so is a place of 60
        ReadCase{"359;59<ret>", "359;59", 0, "359;59", 7, DEGREES},
        ReadCase{"12;34;<ret>", "12;34", 0, "12;34", 6, DEGREES},  // a second ";" is ignored
        ReadCase{"12;34,<bs><ret>", "12;34", 0, "12;34", 6, DEGREES},
        ReadCase{"12;34,<bs>5<bs>6<ret>", "12;36", 0, "12;36", 6, DEGREES},
        ReadCase{"12;34,5<bs><bs><bs>7<ret>", "12;37", 0, "12;37", 6, DEGREES},
        ReadCase{"12;3<bs><bs>4<ret>", "124", 0, "124", 4, DEGREES},
        ReadCase{"1;2,3<bs><bs><bs><bs><ret>", "1", 0, "1", 2, DEGREES},  // the places go too
        ReadCase{"4s<bs>;0<ret>", "4;0", 0, "4;0", 4, DEGREES},           // the s reopens 4
        ReadCase{"4s15;<bs>6<bs><bs><bs>;1<ret>", "4;1", 0, "4;1", 4, DEGREES},
        ReadCase{"12s;0<ret>", "12;0", 0, "12;0", 5, DEGREES},  // 12 signs are refused
        ReadCase{"4s15;30<ret>", "135;30", 0, "4s15;30", 8, SIGNS},
        ReadCase{"4S15<ret>", "135", 0, "4s15", 5, SIGNS},
        ReadCase{"2s45<ret>", "105", 0, "2s45", 5, SIGNS},
        ReadCase{"11s59;59<ret>", "389;59", 0, "11s59;59", 9, SIGNS},
        ReadCase{"2s6<bs><bs>5<ret>", "25", 0, "25", 3, DEGREES},  // no s left: no signs
        ReadCase{"4s1s;2<ret>", "121;2", 0, "4s1;2", 6, SIGNS},    // one sign count only
        ReadCase{"0;0,0,9<ret>", "0;0,0,9", 0, "0;0,0,9", 8, DEGREES},
        ReadCase{"07;05<ret>", "7;5", 0, "07;05", 6, DEGREES},
        ReadCase{"1;1,2,3,4,5,6,7,8,9,10,<ret>", "1;1,2,3,4,5,6,7,8,9,10", 0,
                 "1;1,2,3,4,5,6,7,8,9,10", 23, DEGREES},                   // no eleventh place
        ReadCase{"000000000005<ret>", "0", 0, "0000000000", 11, DEGREES},  // ten at most
        ReadCase{"12;<ret>3<ret>", "12;3", 0, "12;3", 5, DEGREES},         // Enter wants a digit
        ReadCase{"<ret>5<ret>", "5", 0, "5", 2, DEGREES},
        ReadCase{",;s<bs><ret>8<ret>", "8", 0, "8", 2, DEGREES},  // nothing to complete
        ReadCase{"12;34<c-bs>7<ret>", "7", 0, "7", 2, DEGREES},
        ReadCase{"4s1<c-bs>1;2<ret>", "1;2", 0, "1;2", 4, DEGREES},  // the signs are gone
        ReadCase{"-5a<left><del><tab>x;3<ret>", "5;3", 0, "5;3", 4, DEGREES},
        ReadCase{"5<up><down><ret>", "5", 0, "5", 2, DEGREES},  // arrows not allowed
        ReadCase{"5<up>", nullptr, -1, "5", 2, DEGREES, "", true},
        ReadCase{"5<down>", nullptr, 1, "5", 2, DEGREES, "", true},
        ReadCase{"1s2<esc>", nullptr, 5, "1s2", 4, DEGREES},  // no signs mode without Enter
        ReadCase{"<esc>", nullptr, 5, "", 1, DEGREES},
        // The default is typed before the first key.
        ReadCase{"4<ret>", "12;34", 0, "12;34", 6, DEGREES, "12;3"},
        ReadCase{"<ret>", "120", 0, "4s0", 4, SIGNS, "4s0"},
        ReadCase{"", "7", 0, "7", 2, DEGREES, "7\r"},
        ReadCase{"", nullptr, 5, "1", 2, DEGREES, "1\x1b"},
        // Ctrl+Backspace in the default ends it: the rest is not typed.
        ReadCase{"5<ret>", "5", 0, "5", 2, DEGREES,
                 "12\x7f"
                 "9"}));

TEST(ReadSxgScreen, ClearsTheLineFromTheCursorOnceAndWorksInPlace) {
    ScriptedConsole con("3;4<ret>");
    SXG s;
    ASSERT_TRUE(con.run([&] {
        GOTOXY(1, 7);
        write_text("Value: xxxxxxxxxxxxxxxxx");
        GOTOXY(8, 7);
        READSXG("", s, false, false);
    }));
    EXPECT_EQ(con.row(7), "Value: 3;4");
    EXPECT_EQ(con.cursor_x(), 11);
    EXPECT_EQ(s, sxg("3;4"));
}

TEST(ReadSxgScreen, CtrlBackspaceClearsBackToTheStart) {
    ScriptedConsole con("12;34,56<c-bs><esc>");
    SXG s;
    ASSERT_TRUE(con.run([&] {
        GOTOXY(1, 2);
        write_text("At: ");
        READSXG("", s, false, false);
    }));
    EXPECT_EQ(con.row(2), "At:");
    EXPECT_EQ(con.cursor_x(), 5);
}

// The value a text on the screen stands for, read independently of READSXG.
SXG value_of_text(const std::string& text) {
    SXG v{};
    std::size_t pos = 0;
    const auto number = [&] {
        std::int64_t n = 0;
        while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9')
            n = n * 10 + (text[pos++] - '0');
        return n;
    };
    std::int64_t degrees = number();
    if (pos < text.size() && text[pos] == 's') {
        ++pos;
        degrees = degrees * 30 + number();
    }
    v.DEGREES = static_cast<std::int32_t>(degrees);
    for (std::size_t i = 1; pos < text.size() && (text[pos] == ';' || text[pos] == ','); ++i) {
        ++pos;
        v.DIGITS[i] = static_cast<std::int8_t>(number());
    }
    EXPECT_EQ(pos, text.size()) << "unexpected text on the screen: " << text;
    return v;
}

TEST(ReadSxgProperty, WhateverIsTypedAnAcceptedValueIsWellFormedAndShownAsIs) {
    std::mt19937_64 gen(20240503);
    const char* const keys[] = {"0",      "1", "2", "3",    "5",      "6",    "9",
                                "0",      "3", "5", ";",    ";",      ",",    ",",
                                ",",      "s", "S", "<bs>", "<bs>",   "<bs>", "<bs>",
                                "<c-bs>", "-", "a", "<up>", "<left>", "<ret>"};
    std::uniform_int_distribution<std::size_t> pick(0, std::size(keys) - 1);
    std::uniform_int_distribution<int> length(1, 60);
    for (int k = 0; k < 1000; ++k) {
        std::string script;
        const int n = length(gen);
        for (int i = 0; i < n; ++i)
            script += keys[pick(gen)];
        script += "<ret>0<ret>";  // Enter waits for a digit when the field is empty
        ScriptedConsole con(script);
        SXG s;
        ASSERT_TRUE(con.run([&] { READSXG("", s, false, false); })) << script;
        ASSERT_EQ(EXITCODE, 0) << script;
        const std::string shown = con.row(1);
        const bool signs = shown.find('s') != std::string::npos;
        ASSERT_GE(s.DEGREES, 0) << script;
        // Below 360, or below 12 signs of 30 and 60 degrees when typed with signs.
        ASSERT_LT(s.DEGREES, signs ? 390 : 360) << script;
        for (std::size_t i = 1; i <= 10; ++i) {
            ASSERT_GE(s.DIGITS[i], 0) << script;
            ASSERT_LE(s.DIGITS[i], 59) << script;
        }
        ASSERT_EQ(s, value_of_text(shown)) << script << " shows " << shown;
        ASSERT_EQ(con.cursor_x(), static_cast<int>(shown.size()) + 1) << script;
        ASSERT_EQ(DISPLAYMODE, signs ? SIGNS : DEGREES) << script;
    }
}

}  // namespace
}  // namespace zorvat
