// Tables for tests in one expression, without typing them in:
//   add_table({.name = "Sun", .subtables = {{.period = COL, .values = {"1;2,3", "2;4,6"}}},
//              .corrections = {{2, "2;4,7"}}});
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "data/table.h"

namespace zorvat::testing {

struct SubtableSpec {
    PERIOD period = DAY;
    std::vector<std::string> values;  // manuscript values, entries 1..N
    std::int16_t numsex = 2;
    std::int16_t epoch = 0;
    std::int16_t step = 1;
    bool epoch_given = false;
};

struct TableSpec {
    std::string name = "Table";
    char era = 'A';
    std::string mpd = "0;59,8,20";
    std::vector<SubtableSpec> subtables;     // laid out in this order from index 1
    std::string epoch_value;                 // index 0; empty: zero
    std::map<int, std::string> corrections;  // index -> corrected value
    bool saved = true;
    std::string filename;
};

// "13;10,35" or "-0;30" as an SXG; a negative value carries its sign in every field.
SXG sxg(const std::string& text);

std::unique_ptr<TABLE> make_table(const TableSpec& spec);
// Makes the table and inserts it into the internal zij.
TABLE* add_table(const TableSpec& spec);
// n saved tables named "T1".."Tn".
void add_tables(int n);
// The numbers of the internal zij in list order.
std::vector<int> table_numbers();

}  // namespace zorvat::testing
