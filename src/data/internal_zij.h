// The internal zij: the numbered list of tables in memory, and the dialogues that pick
// tables from it.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "data/table.h"
#include "dialogue/types.h"

namespace zorvat {

// The approximate daily motion of each kind of table of the type menu, [1..14].
extern const std::array<long double, 15> MOTION_PER_DAY;

// A new table with every field at its start value; on failure "Insufficient heap memory."
// is written and false returned.
bool ALLOCATETABLE(std::unique_ptr<TABLE>& TP);
// Appends the table to the internal zij, which takes it over, and numbers it.
TABLEPOINTER INSERTTABLE(std::unique_ptr<TABLE> NEW);
TABLEPOINTER FINDTABLE(std::int16_t TN);
bool PRESENT(std::int16_t TN);
PERIOD FINDP(char C);
bool INFOEQUAL(const INFORECORD& A, const INFORECORD& B);
void SETMS(TABLE& TP, std::int16_t I, const SXG& value);
void SETCR(TABLE& TP, std::int16_t I, const SXG& value);
// Brings CRSET and NUMCR up to date and gives the table's size in a zij file in bytes.
std::int32_t LENGTHTABLE(TABLE& TP);
std::int32_t LENGTHZIJ();

// Lets the user pick one table; MC on entry asks for the manuscript or corrected version
// and holds the answer on return (true = manuscript). nullptr when none was picked.
TABLEPOINTER SELECTTABLE(std::string_view TEXT, bool& MC);
// Lets the user pick a range of table numbers; EXITCODE 0 when one was picked.
void SELECTTABLERANGE(std::string_view TEXT, std::int16_t& FI, std::int16_t& LA);
// Reads the number of an existing table; nullptr on Escape.
TABLEPOINTER ENTERTABLE();
// Reads a range such as 3-7, -4, 12- or 5 (1..250).
void ENTERRANGE(std::int16_t& FST, std::int16_t& LST);

// Table numbers are 16-bit: whether `count` more can be given out. When not, a message says
// so (and how to make room) and the caller changes nothing.
bool table_numbers_available(int count);

// The table before `table` in the list (nullptr for the first or an absent table).
TABLEPOINTER table_before(const TABLE* table);

}  // namespace zorvat
