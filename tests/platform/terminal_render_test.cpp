#include "platform/terminal_render.h"

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <string>
#include <vector>

namespace zorvat {
namespace {

// Code page 437 as a terminal should show it, byte 0 as a blank and 0xFF as no-break space.
const char* const CP437_ROWS[16] = {
    " ☺☻♥♦♣♠•◘○◙♂♀♪♫☼", "►◄↕‼¶§▬↨↑↓→←∟↔▲▼",  " !\"#$%&'()*+,-./", "0123456789:;<=>?",
    "@ABCDEFGHIJKLMNO", "PQRSTUVWXYZ[\\]^_", "`abcdefghijklmno",  "pqrstuvwxyz{|}~⌂",
    "ÇüéâäàåçêëèïîìÄÅ", "ÉæÆôöòûùÿÖÜ¢£¥₧ƒ",  "áíóúñÑªº¿⌐¬½¼¡«»",  "░▒▓│┤╡╢╖╕╣║╗╝╜╛┐",
    "└┴┬├─┼╞╟╚╔╩╦╠═╬╧", "╨╤╥╙╘╒╓╫╪┘┌█▄▌▐▀",  "αßΓπΣσµτΦΘΩδ∞φε∩",  "≡±≥≤⌠⌡÷≈°∙·√ⁿ²■\u00A0",
};

// The UTF-8 text of every byte, split from the rows above.
std::vector<std::string> expected_glyphs() {
    std::vector<std::string> glyphs;
    for (const char* row : CP437_ROWS) {
        const std::string s = row;
        for (std::size_t i = 0; i < s.size(); ++i) {
            if ((static_cast<unsigned char>(s[i]) & 0xC0) == 0x80)
                glyphs.back() += s[i];
            else
                glyphs.emplace_back(1, s[i]);
        }
    }
    return glyphs;
}

const std::string BEGIN = "\x1b[?2026h\x1b[?25l";
const std::string END = "\x1b[?25h\x1b[?2026l";

Screen blank_screen() {
    return Screen{};
}

TEST(Render, AnUnchangedScreenWritesNothing) {
    Screen s = blank_screen();
    s.at(3, 4) = Cell{'x', 0x1E};
    s.cursor_x = 10;
    s.cursor_shape = CursorShape::Block;
    EXPECT_EQ(render_screen(s, s, false), "");
}

TEST(Render, OneChangedCellWritesOneShortRun) {
    const Screen shown = blank_screen();
    Screen wanted = shown;
    wanted.at(5, 3) = Cell{'A', 0x1E};
    EXPECT_EQ(render_screen(shown, wanted, false),
              BEGIN + "\x1b[4;6H\x1b[0;93;44mA\x1b[0m\x1b[1;1H" + END);
}

TEST(Render, OnlyTheCursorMoved) {
    const Screen shown = blank_screen();
    Screen wanted = shown;
    wanted.cursor_x = 79;
    wanted.cursor_y = 24;
    EXPECT_EQ(render_screen(shown, wanted, false), BEGIN + "\x1b[25;80H" + END);
}

TEST(Render, TheCursorShapeIsSentOnlyWhenItChanges) {
    const Screen shown = blank_screen();
    Screen wanted = shown;
    wanted.cursor_shape = CursorShape::Block;
    EXPECT_EQ(render_screen(shown, wanted, false), BEGIN + "\x1b[1;1H\x1b[2 q" + END);
    EXPECT_EQ(render_screen(wanted, shown, false), BEGIN + "\x1b[1;1H\x1b[4 q" + END);
    wanted.at(0, 0).ch = 'z';
    Screen block = shown;
    block.cursor_shape = CursorShape::Block;
    EXPECT_EQ(render_screen(block, wanted, false).find(" q"), std::string::npos);
}

TEST(Render, NearChangesShareARunAndFarOnesDoNot) {
    const Screen shown = blank_screen();
    Screen wanted = shown;
    wanted.at(10, 0).ch = 'a';
    wanted.at(14, 0).ch = 'b';  // three unchanged cells between: repainted
    wanted.at(30, 0).ch = 'c';
    EXPECT_EQ(render_screen(shown, wanted, false),
              BEGIN + "\x1b[1;11H\x1b[0;37;40ma   b\x1b[1;31Hc\x1b[0m\x1b[1;1H" + END);
}

struct ColourCase {
    std::uint8_t attr;
    const char* sgr;
};

class RenderColours : public testing::TestWithParam<ColourCase> {};

TEST_P(RenderColours, MapThePcColoursToAnsi) {
    EXPECT_EQ(sgr_colours(GetParam().attr), GetParam().sgr);
    const Screen shown = blank_screen();
    Screen wanted = shown;
    wanted.at(0, 0) = Cell{'x', GetParam().attr};
    EXPECT_NE(
        render_screen(shown, wanted, false).find(std::string("\x1b[0;") + GetParam().sgr + "mx"),
        std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Schemes, RenderColours,
                         testing::Values(ColourCase{0x1E, "93;44"},    // yellow on blue
                                         ColourCase{0x1F, "97;44"},    // white on blue
                                         ColourCase{0x4E, "93;41"},    // yellow on red
                                         ColourCase{0x1A, "92;44"},    // light green on blue
                                         ColourCase{0x07, "37;40"},    // light grey on black
                                         ColourCase{0x9E, "93;44"},    // blink is not shown
                                         ColourCase{0x08, "90;40"},    // dark grey
                                         ColourCase{0x63, "36;43"},    // cyan on brown
                                         ColourCase{0x70, "30;47"},    // black on light grey
                                         ColourCase{0x5C, "91;45"},    // light red on magenta
                                         ColourCase{0x29, "94;42"},    // light blue on green
                                         ColourCase{0x3D, "95;46"},    // light magenta on cyan
                                         ColourCase{0x0B, "96;40"}));  // light cyan

TEST(Render, EveryCodePage437ByteBecomesItsUtf8) {
    const std::vector<std::string> glyphs = expected_glyphs();
    ASSERT_EQ(glyphs.size(), 256u);
    Screen shown = blank_screen();
    shown.at(0, 0).ch = '?';
    for (int b = 0; b < 256; ++b) {
        Screen wanted = shown;
        wanted.at(0, 0).ch = static_cast<std::uint8_t>(b);
        if (b == '?') continue;
        EXPECT_EQ(render_screen(shown, wanted, false), BEGIN + "\x1b[1;1H\x1b[0;37;40m" +
                                                           glyphs[static_cast<std::size_t>(b)] +
                                                           "\x1b[0m\x1b[1;1H" + END)
            << "byte " << b;
    }
}

// A small terminal: enough of one to replay what the renderer writes.
struct Terminal {
    struct Glyph {
        std::string text = " ";
        std::string sgr = "";
        bool operator==(const Glyph&) const = default;
    };
    std::array<Glyph, SCREEN_COLS * SCREEN_ROWS> cells{};
    int x = 0, y = 0;
    std::string sgr;
    bool cursor_visible = true;
    std::string cursor_style;
    int sync_depth = 0;
    std::string error;

    Glyph& at(int cx, int cy) { return cells[static_cast<std::size_t>(cy * SCREEN_COLS + cx)]; }

    void apply(const std::string& s) {
        std::size_t i = 0;
        while (i < s.size() && error.empty()) {
            if (s[i] != '\x1b') {
                std::size_t n = 1;
                while (i + n < s.size() && (static_cast<unsigned char>(s[i + n]) & 0xC0) == 0x80)
                    ++n;
                if (x >= SCREEN_COLS || y >= SCREEN_ROWS) error = "text outside the screen";
                if (!error.empty()) return;
                at(x, y) = Glyph{s.substr(i, n), sgr};
                ++x;
                i += n;
                continue;
            }
            if (i + 1 >= s.size() || s[i + 1] != '[') {
                error = "not a CSI";
                return;
            }
            std::size_t j = i + 2;
            while (j < s.size() && static_cast<unsigned char>(s[j]) < 0x40)
                ++j;
            if (j >= s.size()) {
                error = "unfinished CSI";
                return;
            }
            const std::string params = s.substr(i + 2, j - i - 2);
            const char final = s[j];
            i = j + 1;
            if (final == 'H') {
                const auto semi = params.find(';');
                y = params.empty() ? 0 : std::stoi(params.substr(0, semi)) - 1;
                x = semi == std::string::npos ? 0 : std::stoi(params.substr(semi + 1)) - 1;
            } else if (final == 'm') {
                sgr = params == "0" ? "" : params.substr(2);
            } else if (final == 'J' && params == "2") {
                for (Glyph& g : cells)
                    g = Glyph{" ", sgr};
            } else if (final == 'h' || final == 'l') {
                if (params == "?25")
                    cursor_visible = final == 'h';
                else if (params == "?2026")
                    sync_depth += final == 'h' ? 1 : -1;
                else
                    error = "unknown mode " + params;
            } else if (final == 'q') {
                cursor_style = params;
            } else {
                error = std::string("unknown final ") + final;
            }
        }
    }
};

// The glyphs a terminal shows for a screen, taken from the tables above.
Terminal::Glyph expected_glyph(const Cell& c) {
    static const std::vector<std::string> glyphs = expected_glyphs();
    return Terminal::Glyph{glyphs[c.ch], sgr_colours(c.attr)};
}

Screen random_change(std::mt19937& rng, const Screen& base, int changes) {
    Screen s = base;
    std::uniform_int_distribution<int> pos(0, SCREEN_COLS * SCREEN_ROWS - 1), byte(0, 255);
    for (int k = 0; k < changes; ++k) {
        Cell& c = s.cells[static_cast<std::size_t>(pos(rng))];
        c.ch = static_cast<std::uint8_t>(byte(rng));
        if (k % 3 == 0) c.attr = static_cast<std::uint8_t>(byte(rng));
    }
    s.cursor_x = pos(rng) % SCREEN_COLS;
    s.cursor_y = pos(rng) % SCREEN_ROWS;
    s.cursor_shape = byte(rng) % 2 ? CursorShape::Block : CursorShape::Normal;
    return s;
}

// Whatever the changes, replaying the updates leaves the terminal showing the screen.
TEST(Render, ReplayedUpdatesShowTheWantedScreen) {
    std::mt19937 rng(437);
    Terminal term;
    Screen shown;
    Screen wanted = random_change(rng, Screen{}, 500);
    term.apply(render_screen(shown, wanted, true));
    for (int step = 0; step < 60; ++step) {
        ASSERT_EQ(term.error, "") << "step " << step;
        for (int y = 0; y < SCREEN_ROWS; ++y)
            for (int x = 0; x < SCREEN_COLS; ++x)
                ASSERT_EQ(term.at(x, y), expected_glyph(wanted.at(x, y)))
                    << "step " << step << " cell " << x << "," << y;
        EXPECT_EQ(term.x, wanted.cursor_x);
        EXPECT_EQ(term.y, wanted.cursor_y);
        EXPECT_EQ(term.cursor_style, wanted.cursor_shape == CursorShape::Block ? "2 " : "4 ");
        EXPECT_TRUE(term.cursor_visible);
        EXPECT_EQ(term.sync_depth, 0);
        EXPECT_EQ(term.sgr, "");
        shown = wanted;
        wanted = random_change(rng, shown, step % 7 == 0 ? 0 : step * 5);
        term.apply(render_screen(shown, wanted, false));
    }
}

TEST(Render, AFullRedrawClearsAndPaintsEveryRow) {
    const Screen s = blank_screen();
    const std::string out = render_screen(s, s, true);
    EXPECT_EQ(out.rfind(BEGIN + "\x1b[0m\x1b[H\x1b[2J\x1b[1;1H\x1b[0;37;40m", 0), 0u);
    for (int row = 2; row <= SCREEN_ROWS; ++row)  // row 1 begins with the colours
        EXPECT_NE(out.find("\x1b[" + std::to_string(row) + ";1H" + std::string(80, ' ')),
                  std::string::npos)
            << "row " << row;
    EXPECT_NE(out.find("\x1b[4 q"), std::string::npos);
}

}  // namespace
}  // namespace zorvat
