#include "platform/terminal_decoder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zorvat {
namespace {

using Keys = std::vector<unsigned char>;

Keys ext(int scan) {
    return {0, static_cast<unsigned char>(scan)};
}

struct DecodeCase {
    const char* name;
    std::string bytes;
    Keys keys;
};

void PrintTo(const DecodeCase& c, std::ostream* os) {
    *os << c.name;
}

class DecodeWhole : public testing::TestWithParam<DecodeCase> {};

// Every case is one complete key (or nothing): the decoder is idle afterwards.
TEST_P(DecodeWhole, GivesTheKeysAtOnce) {
    KeyDecoder d;
    EXPECT_EQ(decoder_feed(d, GetParam().bytes, 1000), GetParam().keys);
    EXPECT_FALSE(decoder_deadline(d).has_value());
}

// The same bytes one at a time, as a slow connection delivers them.
TEST_P(DecodeWhole, GivesTheSameKeysByteByByte) {
    KeyDecoder d;
    Keys got;
    for (const char c : GetParam().bytes) {
        const Keys k = decoder_feed(d, std::string(1, c), 1000);
        got.insert(got.end(), k.begin(), k.end());
    }
    EXPECT_EQ(got, GetParam().keys);
}

std::string case_name(const testing::TestParamInfo<DecodeCase>& case_info) {
    return case_info.param.name;
}

const DecodeCase XTERM_FAMILY[] = {
    // xterm, VTE, Konsole and Windows Terminal, in normal and application cursor mode
    {"up_csi", "\x1b[A", ext(72)},
    {"down_csi", "\x1b[B", ext(80)},
    {"right_csi", "\x1b[C", ext(77)},
    {"left_csi", "\x1b[D", ext(75)},
    {"up_ss3", "\x1bOA", ext(72)},
    {"left_ss3", "\x1bOD", ext(75)},
    {"home_csi", "\x1b[H", ext(71)},
    {"end_csi", "\x1b[F", ext(79)},
    {"home_ss3", "\x1bOH", ext(71)},
    {"end_ss3", "\x1bOF", ext(79)},
    {"ins", "\x1b[2~", ext(82)},
    {"del", "\x1b[3~", ext(83)},
    {"pgup", "\x1b[5~", ext(73)},
    {"pgdn", "\x1b[6~", ext(81)},
    {"f1_ss3", "\x1bOP", ext(59)},
    {"f2_ss3", "\x1bOQ", ext(60)},
    {"f3_ss3", "\x1bOR", ext(61)},
    {"f4_ss3", "\x1bOS", ext(62)},
    {"f5", "\x1b[15~", ext(63)},
    {"f6", "\x1b[17~", ext(64)},
    {"f7", "\x1b[18~", ext(65)},
    {"f8", "\x1b[19~", ext(66)},
    {"f9", "\x1b[20~", ext(67)},
    {"f10", "\x1b[21~", ext(68)},
    {"f11", "\x1b[23~", ext(133)},
    {"f12", "\x1b[24~", ext(134)},
    {"ctrl_home", "\x1b[1;5H", ext(119)},
    {"ctrl_end", "\x1b[1;5F", ext(117)},
    {"ctrl_pgup", "\x1b[5;5~", ext(132)},
    {"ctrl_pgdn", "\x1b[6;5~", ext(118)},
    {"ctrl_left", "\x1b[1;5D", ext(115)},
    {"ctrl_right", "\x1b[1;5C", ext(116)},
    {"ctrl_shift_home", "\x1b[1;6H", ext(119)},
    {"shift_home_is_home", "\x1b[1;2H", ext(71)},
    {"shift_tab", "\x1b[Z", ext(15)},
    {"alt_up", "\x1b[1;3A", ext(152)},
    {"ctrl_f1", "\x1b[1;5P", ext(94)},
    {"shift_f1", "\x1b[1;2P", ext(84)},
    {"keypad_enter_application_mode", "\x1bOM", {13}},
    {"keypad_7_application_mode", "\x1bOw", {'7'}},
};
INSTANTIATE_TEST_SUITE_P(Xterm, DecodeWhole, testing::ValuesIn(XTERM_FAMILY), case_name);

const DecodeCase TMUX_AND_LINUX_CONSOLE[] = {
    {"home_1", "\x1b[1~", ext(71)},         {"end_4", "\x1b[4~", ext(79)},
    {"f1_linux", "\x1b[[A", ext(59)},       {"f2_linux", "\x1b[[B", ext(60)},
    {"f5_linux", "\x1b[[E", ext(63)},       {"f1_vt", "\x1b[11~", ext(59)},
    {"ctrl_home_1", "\x1b[1;5~", ext(119)}, {"ctrl_end_4", "\x1b[4;5~", ext(117)},
};
INSTANTIATE_TEST_SUITE_P(TmuxLinux, DecodeWhole, testing::ValuesIn(TMUX_AND_LINUX_CONSOLE),
                         case_name);

const DecodeCase RXVT[] = {
    {"home_7", "\x1b[7~", ext(71)},     {"end_8", "\x1b[8~", ext(79)},
    {"f1_11", "\x1b[11~", ext(59)},     {"ctrl_home", "\x1b[7^", ext(119)},
    {"ctrl_end", "\x1b[8^", ext(117)},  {"ctrl_pgup", "\x1b[5^", ext(132)},
    {"ctrl_pgdn", "\x1b[6^", ext(118)}, {"ctrl_left", "\x1bOd", ext(115)},
    {"ctrl_right", "\x1bOc", ext(116)}, {"shift_up", "\x1b[a", ext(72)},
    {"shift_del", "\x1b[3$", ext(83)},  {"ctrl_shift_home", "\x1b[7@", ext(119)},
};
INSTANTIATE_TEST_SUITE_P(Rxvt, DecodeWhole, testing::ValuesIn(RXVT), case_name);

const DecodeCase PLAIN_BYTES[] = {
    {"backspace_7f", "\x7f", {8}},
    {"ctrl_backspace_08", "\x08", {127}},
    {"line_feed_is_enter", "\n", {13}},
    {"enter", "\r", {13}},
    {"tab", "\t", {9}},
    {"ctrl_c", "\x03", {3}},
    {"ctrl_t", "\x14", {20}},
    {"letters", "aZ", {'a', 'Z'}},
    {"nul_dropped", std::string(1, '\0'), {}},
    {"keys_around_a_sequence", "ab\x1b[Ac", {'a', 'b', 0, 72, 'c'}},
    {"e_acute", "\xC3\xA9", {0x82}},
    {"u_umlaut_and_plus_minus", "ü±", {0x81, 0xF1}},
    {"sharp_s", "ß", {0xE1}},
    {"euro_not_in_cp437", "€x", {'x'}},
    {"arrow_glyph_is_not_escape", "←♪⌂x", {'x'}},
    {"cut_short_utf8", "\xC3(", {'('}},
    {"stray_continuation", "\x80\xBFk", {'k'}},
    {"invalid_lead", "\xFF\xC0k", {'k'}},
    {"overlong", "\xC1\x81\xE0\x81\x81k", {'k'}},
};
INSTANTIATE_TEST_SUITE_P(Plain, DecodeWhole, testing::ValuesIn(PLAIN_BYTES), case_name);

const DecodeCase ALT_AND_DROPPED[] = {
    {"alt_d",
     "\x1b"
     "d",
     ext(32)},
    {"alt_shift_d",
     "\x1b"
     "D",
     ext(32)},
    {"alt_1",
     "\x1b"
     "1",
     ext(120)},
    {"alt_9",
     "\x1b"
     "9",
     ext(128)},
    {"alt_0",
     "\x1b"
     "0",
     ext(129)},
    {"alt_without_pc_code", "\x1b,\x1b\rx", {'x'}},
    {"alt_accented_letter", "\x1b\xC3\xA9x", {'x'}},
    {"unknown_tilde_key", "\x1b[99~x", {'x'}},
    {"unknown_final", "\x1b[5Jx", {'x'}},
    {"device_attributes_reply", "\x1b[?1;2cq", {'q'}},
    {"sgr_mouse", "\x1b[<0;10;5Mk\x1b[<0;10;5mk", {'k', 'k'}},
    {"x10_mouse", "\x1b[M !!a", {'a'}},
    {"focus_in_and_out", "\x1b[I\x1b[Oz", {'z'}},
    {"sub_parameters", "\x1b[1:5Ax", {'x'}},
    {"kitty_key", "\x1b[97;5ux", {'x'}},
    {"bracketed_paste_marks", "\x1b[200~hi\x1b[201~", {'h', 'i'}},
    {"escape_inside_csi_restarts", "\x1b[1\x1b[B", ext(80)},
    {"control_inside_csi_is_a_key", "\x1b[1\rx", {13, 'x'}},
    {"endless_csi", "\x1b[" + std::string(500, '1') + "~z", {'z'}},
    {"linux_unknown", "\x1b[[Zy", {'y'}},
    {"ss3_unknown", "\x1bO~w", {'w'}},
};
INSTANTIATE_TEST_SUITE_P(AltAndDropped, DecodeWhole, testing::ValuesIn(ALT_AND_DROPPED), case_name);

// Alt+letter gives the PC scan code of the letter key, in either case.
TEST(Decoder, AltLettersGiveTheirScanCodes) {
    const std::pair<const char*, int> rows[] = {
        {"QWERTYUIOP", 16}, {"ASDFGHJKL", 30}, {"ZXCVBNM", 44}};
    for (const auto& [letters, first] : rows) {
        for (int i = 0; letters[i] != 0; ++i) {
            for (const char c : {letters[i], static_cast<char>(letters[i] - 'A' + 'a')}) {
                KeyDecoder d;
                Keys got = decoder_feed(d, std::string("\x1b") + c, 0);
                const Keys late = decoder_tick(d, ESC_TIMEOUT_MS);  // Esc O waits: it may be SS3
                got.insert(got.end(), late.begin(), late.end());
                EXPECT_EQ(got, ext(first + i)) << "Alt+" << c;
            }
        }
    }
}

TEST(Decoder, LoneEscapeOnlyAfterTheTimeout) {
    KeyDecoder d;
    EXPECT_EQ(decoder_feed(d, "\x1b", 100), Keys{});
    EXPECT_EQ(decoder_deadline(d), 100 + ESC_TIMEOUT_MS);
    EXPECT_EQ(decoder_tick(d, 124), Keys{});
    EXPECT_EQ(decoder_tick(d, 125), Keys{27});
    EXPECT_FALSE(decoder_deadline(d).has_value());
    EXPECT_EQ(decoder_tick(d, 1000), Keys{});
}

TEST(Decoder, EscapeThenAKeyAfterTheTimeoutAreTwoKeys) {
    KeyDecoder d;
    EXPECT_EQ(decoder_feed(d, "\x1b", 0), Keys{});
    EXPECT_EQ(decoder_feed(d, "d", 40), (Keys{27, 'd'}));
    EXPECT_EQ(decoder_feed(d, "\x1b", 50), Keys{});
    EXPECT_EQ(decoder_feed(d, "d", 60), ext(32));  // within the time: Alt+D
}

TEST(Decoder, EscapeEscapeIsTwoEscapes) {
    KeyDecoder d;
    EXPECT_EQ(decoder_feed(d, "\x1b\x1b", 0), Keys{27});
    EXPECT_EQ(decoder_tick(d, 24), Keys{});
    EXPECT_EQ(decoder_tick(d, 25), Keys{27});
}

TEST(Decoder, TheTimeoutCountsFromTheLatestByte) {
    KeyDecoder d;
    EXPECT_EQ(decoder_feed(d, "\x1b", 0), Keys{});
    EXPECT_EQ(decoder_feed(d, "[", 20), Keys{});
    EXPECT_EQ(decoder_deadline(d), 20 + ESC_TIMEOUT_MS);
    EXPECT_EQ(decoder_feed(d, "5;5", 40), Keys{});
    EXPECT_EQ(decoder_feed(d, "~", 60), ext(132));
}

TEST(Decoder, SequencesAndCharactersSplitAcrossFeeds) {
    KeyDecoder d;
    EXPECT_EQ(decoder_feed(d, "\x1b[1;", 0), Keys{});
    EXPECT_EQ(decoder_feed(d, "5H\xC3", 1), ext(119));
    EXPECT_EQ(decoder_feed(d, "\xA9", 2), Keys{0x82});
}

TEST(Decoder, AnUnfinishedSequenceIsDroppedAtTheTimeoutWithoutTheNextKey) {
    KeyDecoder d;
    EXPECT_EQ(decoder_feed(d, "\x1b[1;", 0), Keys{});
    EXPECT_EQ(decoder_tick(d, 25), Keys{});
    EXPECT_EQ(decoder_feed(d, "b", 30), Keys{'b'});
}

TEST(Decoder, EscOAloneIsAltO) {
    KeyDecoder d;
    EXPECT_EQ(decoder_feed(d, "\x1bO", 0), Keys{});
    EXPECT_EQ(decoder_tick(d, 25), ext(24));
    EXPECT_EQ(decoder_feed(d, "\x1bO\x1b[A", 100), (Keys{0, 24, 0, 72}));
}

TEST(Decoder, AFeedEndsAnExpiredEscapeBeforeItsOwnBytes) {
    KeyDecoder d;
    EXPECT_EQ(decoder_feed(d, "\x1b", 0), Keys{});
    EXPECT_EQ(decoder_feed(d, "\x1b[A", 500), (Keys{27, 0, 72}));
}

}  // namespace
}  // namespace zorvat
