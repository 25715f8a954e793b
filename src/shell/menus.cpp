#include "shell/menus.h"

#include <array>
#include <string>
#include <string_view>

#include "dialogue/console.h"
#include "dialogue/cp437.h"

namespace zorvat {

namespace {

constexpr std::string_view TITLE =
    "ZORVAT  -  the mean motion tables of medieval astronomical handbooks";

constexpr std::array<std::string_view, 20> OVERVIEW_BOX = {
    " ╔═══════════════GENERAL════════════════╦════════════INTERNAL ZIJ═════════════╗"_cp,
    " ║CS  Clear the Screen                  ║CP  CoPy a table                     ║"_cp,
    " ║FR  Free bytes in memory and on disk  ║DA  Delete All tables                ║"_cp,
    " ║H/F1/? Help: this list of all commands║DT  Delete Tables                    ║"_cp,
    " ║Q   Quit                              ║LT  List Tables                      ║"_cp,
    " ╠════════════EXTERNAL ZIJES════════════╣MV  MoVe one or more tables          ║"_cp,
    " ║CD  Change the current Directory      ║RN  ReNumber the internal zij        ║"_cp,
    " ║DZ  Delete an external Zij            ╠═════════════CALCULATION═════════════╣"_cp,
    " ║GT  Get a Table from an external zij  ║CA  Compare All tables               ║"_cp,
    " ║GZ  Get a complete external Zij       ║CM  CoMpare two tables               ║"_cp,
    " ║LZ/LB List Zijes in directory/Branch  ║DF  compute tabular DiFferences      ║"_cp,
    " ║RZ  Rename a Zij                      ║RC  ReCompute a table                ║"_cp,
    " ║ST  Save a Table in an external zij   ║MO  MOdify a mean motion table       ║"_cp,
    " ║SZ  Save all tables in an external Zij║SE  Scribal Errors in a table        ║"_cp,
    " ╠════════════INPUT / OUTPUT════════════╣SF  Special Functions                ║"_cp,
    " ║IT  Input a mean motion Table         ╠═════════════ESTIMATION══════════════╣"_cp,
    " ║PR  Print 1, 2 or 3 tables            ║LNE Least Number of Errors criterion ║"_cp,
    " ║VW  VieW a single table               ║LS  Least Squares estimation         ║"_cp,
    " ║WR  WRite a table to an ASCII file    ║SQ  SQueeze parameters               ║"_cp,
    " ╚══════════════════════════════════════╩═════════════════════════════════════╝"_cp,
};

constexpr std::array<std::string_view, 15> TABLE_KINDS = {
    "1   Solar mean motion  (wasat al-shams, ± 0;59,8 °/d)"_cp,
    "2   Lunar mean motion  (wasat al-qamar, ± 13;10,35 °/d)"_cp,
    "3   Lunar anomaly (khasa al-qamar, ± 13;3,54 °/d)"_cp,
    "4   Lunar double elongation (al-muda``af, ± 24;22,53 °/d)"_cp,
    "5   Lunar nodes (wasat al-jawzahar, ± 0;3,11 °/d)"_cp,
    "6   Saturn mean motion (wasat al-zuhal, ± 0;2,1 °/d)"_cp,
    "7   Saturn anomaly (khâsa al-zuhal, ± 0;57,8 °/d)"_cp,
    "8   Jupiter mean motion (wasat al-mushtarî, ± 0;4,59 °/d)"_cp,
    "9   Jupiter anomaly (khâsa al-mushtarî, ± 0;54,9 °/d)"_cp,
    "10  Mars mean motion (wasat al-mirrîkh, ± 0;31,27 °/d)"_cp,
    "11  Mars anomaly (khâsa al-mirrîkh, ± 0;27,42 °/d)"_cp,
    "12  Venus anomaly (khâsa al-zuhara, ± 0;36,59 °/d)"_cp,
    "13  Mercury anomaly (khâsa al-`utârid, ± 3;6,25 °/d)"_cp,
    "14  Motion of apogee / fixed stars (wasat al-awj, ± 0;0,0,9 °/d)"_cp,
    "15     other"_cp,
};

constexpr std::array<std::string_view, 12> EDIT_MENU = {
    "F          Fractions of hours (kusûr al-sa`ât)"_cp,
    "P          Parts of hours (minutes; kusûr al-sa`ât)"_cp,
    "H          Hours (al-sa`ât)"_cp,
    "D          Days (al-ayyâm)"_cp,
    "M          Months (al-shuhûr)"_cp,
    "Z          Zodiacal Signs (al-burûj)"_cp,
    "E          Extended years (al-sinûn al-mabsûta)"_cp,
    "S          Single years (al-sinûn al-mufrada)"_cp,
    "T          Single years (al-sinûn al-mufrada, second table)"_cp,
    "C          Collected years (al-sinûn al-majmû`a)"_cp,
    "<RETURN>   Specification of the table (name, calendar, etc.)"_cp,
    "<ESC>      Quit"_cp,
};

}  // namespace

std::string overview_title_line() {
    const std::size_t left = (79 - TITLE.size()) / 2;
    std::string line(left, ' ');
    line += TITLE;
    line.resize(79, ' ');
    return line;
}

void MAINMENU() {
    CLRSCR();
    write_line(overview_title_line());
    write_line("     Version 2 beta for i386/win32");
    write_line();
    for (const auto line : OVERVIEW_BOX)
        write_line(line);
}

void TYPEMENU() {
    write_line();
    write_line("Types of mean motion tables:");
    for (const auto line : TABLE_KINDS)
        write_line(line);
    write_line();
}

void MODIFYTABLEMENU() {
    write_line("Edit menu");
    write_line();
    for (const auto line : EDIT_MENU)
        write_line(line);
    write_line();
}

}  // namespace zorvat
