#include "dialogue/console.h"

#include <gtest/gtest.h>

#include "support/scripted_console.h"

namespace zorvat {
namespace {

using testing::ScriptedConsole;

TEST(Console, WritingWrapsAndScrollsTheWindow) {
    ScriptedConsole con;
    GOTOXY(79, 25);
    write_text("ab");  // b lands in column 80, the cursor wraps and the screen scrolls
    EXPECT_EQ(con.row(24), std::string(78, ' ') + "ab");
    EXPECT_EQ(con.cursor_x(), 1);
    EXPECT_EQ(con.cursor_y(), 25);
    write_text("x\b");
    EXPECT_EQ(con.cursor_x(), 1);
    EXPECT_EQ(con.row(25), "x");
}

TEST(Console, LineBreakGoesToColumnOneOfTheNextLine) {
    ScriptedConsole con;
    write_text("abc");
    write_line("def");
    write_text("g");
    EXPECT_EQ(con.rows(1, 2), (std::vector<std::string>{"abcdef", "g"}));
}

TEST(Console, WindowsClipPositioningClearingAndScrolling) {
    ScriptedConsole con;
    for (int y = 1; y <= 5; ++y) {
        GOTOXY(1, y);
        write_text("0123456789");
    }
    WINDOW(3, 2, 6, 4);
    EXPECT_EQ(WHEREX(), 1);
    EXPECT_EQ(WHEREY(), 1);
    GOTOXY(9, 1);  // outside: ignored
    EXPECT_EQ(WHEREX(), 1);
    GOTOXY(2, 3);
    CLREOL();
    EXPECT_EQ(con.row(4), "012   6789");
    GOTOXY(1, 3);
    write_line("ab");  // scrolls the window only
    EXPECT_EQ(con.rows(1, 5), (std::vector<std::string>{"0123456789", "0123456789", "01ab  6789",
                                                        "01    6789", "0123456789"}));
    GOTOXY(1, 1);
    INSLINE();
    EXPECT_EQ(con.row(2), "01    6789");
    EXPECT_EQ(con.row(3), "0123456789");
    DELLINE();
    EXPECT_EQ(con.rows(2, 4), (std::vector<std::string>{"0123456789", "01ab  6789", "01    6789"}));
    CLRSCR();
    EXPECT_EQ(con.rows(2, 4), (std::vector<std::string>{"01    6789", "01    6789", "01    6789"}));
    EXPECT_EQ(con.cursor_x(), 3);
    EXPECT_EQ(con.cursor_y(), 2);
    WINDOW(1, 1, 80, 25);
    WINDOW(5, 5, 4, 4);  // invalid: ignored
    EXPECT_EQ(CONSOLE.win_x2, 80);
}

TEST(Console, ColoursSetForegroundAndBackgroundApart) {
    ScriptedConsole con;
    TEXTCOLOR(14);
    TEXTBACKGROUND(1);
    EXPECT_EQ(TEXTATTR(), 0x1E);
    TEXTBACKGROUND(4);
    EXPECT_EQ(TEXTATTR(), 0x4E);
    TEXTCOLOR(10);
    EXPECT_EQ(TEXTATTR(), 0x4A);
    write_text("x");
    EXPECT_EQ(con.attr(1, 1), 0x4A);
    CLRSCR();
    EXPECT_EQ(con.attr(80, 25), 0x4A);
}

}  // namespace
}  // namespace zorvat
