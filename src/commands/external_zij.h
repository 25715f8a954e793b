// The helpers of the external zij commands (CD, LZ, LB, GT, GZ, ST, SZ, RZ, DZ, declared
// in commands.h): the listing of a zij's tables, the adjustment of a table read, and the
// listing of the zij files of a directory or a branch.
#pragma once

#include <cstdint>
#include <string>

#include "data/table.h"

namespace zorvat {

// Lines written by a branch listing, for its pauses across directories.
extern std::uint16_t TOTALLINES;

// Lists the tables of the opened zij F from its start and counts them; false on a read
// error or a block that cannot start a table.
bool DISPLAYCONTENTS(const std::string& PATH, std::int32_t& NUMTAB);

// Brings a table read by GT to the present conventions of its calendar and puts the
// single-years subtable with the smaller step first.
void ADJUSTSETTINGS(TABLE& TP);

// Lists the zij files of DIR; with BRANCH also those of its subdirectories.
void LISTZIJESINDIR(std::string DIR, bool BRANCH);

// A listing holds at most this many entries of one directory.
inline constexpr std::size_t MAXLISTED = 128;

}  // namespace zorvat
