#include "dialogue/keys.h"

#include <gtest/gtest.h>

namespace zorvat {
namespace {

using Bytes = std::vector<unsigned char>;

struct NotationCase {
    const char* text;
    Bytes bytes;
};

class KeyNotation : public ::testing::TestWithParam<NotationCase> {};

TEST_P(KeyNotation, ParsesAndFormatsBack) {
    const auto& c = GetParam();
    EXPECT_EQ(key_bytes(c.text), c.bytes);
    EXPECT_EQ(format_keys(c.bytes), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, KeyNotation,
    ::testing::Values(
        NotationCase{"ab Z", {'a', 'b', ' ', 'Z'}},
        NotationCase{"<ret><esc><bs><c-bs><tab><c-c><c-t>", {13, 27, 8, 127, 9, 3, 20}},
        NotationCase{"<lt>x>", {'<', 'x', '>'}},
        NotationCase{"<s-tab><home><up><pgup><left><right><end><down><pgdn><ins><del>",
                     {0, 15, 0, 71, 0, 72, 0, 73, 0, 75, 0, 77, 0, 79, 0, 80, 0, 81, 0, 82, 0, 83}},
        NotationCase{"<c-left><c-right><c-end><c-pgdn><c-home><c-pgup>",
                     {0, 115, 0, 116, 0, 117, 0, 118, 0, 119, 0, 132}},
        NotationCase{"<f1><f10><f11><f12>", {0, 59, 0, 68, 0, 133, 0, 134}},
        NotationCase{"<a-d><a-i><a-c><a-m><a-q><a-1><a-9><a-0>",
                     {0, 32, 0, 23, 0, 46, 0, 50, 0, 16, 0, 120, 0, 128, 0, 129}},
        NotationCase{"<c-a><c-z><x-99>", {1, 26, 0, 99}}, NotationCase{"±°µ", {0xF1, 0xF8, 0xE6}}));

TEST(KeyNotation, LineEndsAreIgnoredAndDumpsKept) {
    const KeyParse p = parse_keys("a\r\nb<dump>\nc");
    ASSERT_TRUE(p.error.empty());
    ASSERT_EQ(p.items.size(), 4u);
    EXPECT_EQ(p.items[0], (ScriptItem{false, 'a'}));
    EXPECT_EQ(p.items[1], (ScriptItem{false, 'b'}));
    EXPECT_TRUE(p.items[2].dump);
    EXPECT_EQ(p.items[3], (ScriptItem{false, 'c'}));
}

TEST(KeyNotation, UnknownNamesAndOpenBracketsAreErrors) {
    EXPECT_NE(parse_keys("<nosuchkey>").error, "");
    EXPECT_NE(parse_keys("abc<ret").error, "");
    EXPECT_EQ(parse_keys("<RET>").error, "");
}

}  // namespace
}  // namespace zorvat
