#include "shell/menus.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "dialogue/cp437.h"
#include "support/scripted_console.h"

namespace zorvat {
namespace {

using testing::ScriptedConsole;

const std::vector<std::string> OVERVIEW_ROWS_4_TO_23 = {
    " ╔═══════════════GENERAL════════════════╦════════════INTERNAL ZIJ═════════════╗",
    " ║CS  Clear the Screen                  ║CP  CoPy a table                     ║",
    " ║FR  Free bytes in memory and on disk  ║DA  Delete All tables                ║",
    " ║H/F1/? Help: this list of all commands║DT  Delete Tables                    ║",
    " ║Q   Quit                              ║LT  List Tables                      ║",
    " ╠════════════EXTERNAL ZIJES════════════╣MV  MoVe one or more tables          ║",
    " ║CD  Change the current Directory      ║RN  ReNumber the internal zij        ║",
    " ║DZ  Delete an external Zij            ╠═════════════CALCULATION═════════════╣",
    " ║GT  Get a Table from an external zij  ║CA  Compare All tables               ║",
    " ║GZ  Get a complete external Zij       ║CM  CoMpare two tables               ║",
    " ║LZ/LB List Zijes in directory/Branch  ║DF  compute tabular DiFferences      ║",
    " ║RZ  Rename a Zij                      ║RC  ReCompute a table                ║",
    " ║ST  Save a Table in an external zij   ║MO  MOdify a mean motion table       ║",
    " ║SZ  Save all tables in an external Zij║SE  Scribal Errors in a table        ║",
    " ╠════════════INPUT / OUTPUT════════════╣SF  Special Functions                ║",
    " ║IT  Input a mean motion Table         ╠═════════════ESTIMATION══════════════╣",
    " ║PR  Print 1, 2 or 3 tables            ║LNE Least Number of Errors criterion ║",
    " ║VW  VieW a single table               ║LS  Least Squares estimation         ║",
    " ║WR  WRite a table to an ASCII file    ║SQ  SQueeze parameters               ║",
    " ╚══════════════════════════════════════╩═════════════════════════════════════╝",
};

TEST(MainMenu, OverviewFillsLinesOneToTwentyThree) {
    ScriptedConsole con;
    write_text("old text");
    MAINMENU();
    const std::string title = overview_title_line();
    ASSERT_EQ(title.size(), 79u);
    const auto first = title.find_first_not_of(' ');
    const auto last = title.find_last_not_of(' ');
    EXPECT_LE(std::abs(static_cast<int>(first) - static_cast<int>(78 - last)), 1);  // centred
    EXPECT_NE(title.find("ZORVAT"), std::string::npos);
    EXPECT_EQ(con.row(1), title.substr(0, last + 1));
    EXPECT_EQ(con.row(2), "     Version 2 beta for i386/win32");
    EXPECT_EQ(con.row(3), "");
    EXPECT_EQ(con.rows(4, 23), OVERVIEW_ROWS_4_TO_23);
    EXPECT_EQ(con.row(24), "");
    EXPECT_EQ(con.cursor_x(), 1);
    EXPECT_EQ(con.cursor_y(), 24);
}

TEST(MainMenu, BoxLinesAre79CodePage437Bytes) {
    ScriptedConsole con;
    MAINMENU();
    const std::string box_bytes = "\xC9\xCD\xCB\xBB\xBA\xCC\xB9\xC8\xCA\xBC";
    for (int y = 4; y <= 23; ++y) {
        int last = 0;
        for (int x = 1; x <= 80; ++x)
            if (con.ch(x, y) != ' ') last = x;
        EXPECT_EQ(last, 79) << "row " << y;
        EXPECT_EQ(con.ch(80, y), ' ');
        for (int x = 1; x <= 79; ++x) {
            const unsigned char c = con.ch(x, y);
            EXPECT_TRUE(c < 0x80 || box_bytes.find(static_cast<char>(c)) != std::string::npos)
                << "row " << y << " column " << x << " byte " << int(c);
        }
    }
    EXPECT_EQ(con.ch(2, 4), 0xC9);
    EXPECT_EQ(con.ch(79, 23), 0xBC);
}

TEST(TypeMenu, WritesEighteenLinesAtTheCursorWithoutClearing) {
    ScriptedConsole con;
    write_line("above");
    TYPEMENU();
    EXPECT_EQ(con.row(1), "above");
    EXPECT_EQ(con.row(2), "");
    EXPECT_EQ(con.row(3), "Types of mean motion tables:");
    EXPECT_EQ(con.row(4), "1   Solar mean motion  (wasat al-shams, ± 0;59,8 °/d)");
    EXPECT_EQ(con.row(7), "4   Lunar double elongation (al-muda``af, ± 24;22,53 °/d)");
    EXPECT_EQ(con.row(16), "13  Mercury anomaly (khâsa al-`utârid, ± 3;6,25 °/d)");
    EXPECT_EQ(con.row(17), "14  Motion of apogee / fixed stars (wasat al-awj, ± 0;0,0,9 °/d)");
    EXPECT_EQ(con.row(18), "15     other");
    EXPECT_EQ(con.row(19), "");
    EXPECT_EQ(con.cursor_y(), 20);
    EXPECT_EQ(con.ch(41, 4), 0xF1);  // ±
    EXPECT_EQ(con.ch(50, 4), 0xF8);  // °
}

TEST(ModifyTableMenu, WritesFifteenLines) {
    ScriptedConsole con;
    MODIFYTABLEMENU();
    EXPECT_EQ(con.row(1), "Edit menu");
    EXPECT_EQ(con.row(2), "");
    EXPECT_EQ(con.row(3), "F          Fractions of hours (kusûr al-sa`ât)");
    EXPECT_EQ(con.row(12), "C          Collected years (al-sinûn al-majmû`a)");
    EXPECT_EQ(con.row(13), "<RETURN>   Specification of the table (name, calendar, etc.)");
    EXPECT_EQ(con.row(14), "<ESC>      Quit");
    EXPECT_EQ(con.row(15), "");
    EXPECT_EQ(con.cursor_y(), 16);
    EXPECT_EQ(con.ch(35, 3), 0x96);  // û
    EXPECT_EQ(con.ch(43, 3), 0x60);
}

TEST(Menus, ScrollLikeAnyOtherOutput) {
    ScriptedConsole con;
    GOTOXY(1, 20);
    TYPEMENU();
    EXPECT_EQ(con.row(24), "");
    EXPECT_EQ(con.row(23), "15     other");
    EXPECT_EQ(con.cursor_y(), 25);
}

}  // namespace
}  // namespace zorvat
