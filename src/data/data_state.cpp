#include "data/data_state.h"

#include "data/zij_file.h"

namespace zorvat {

std::unique_ptr<TABLE> FIRSTTABLE;
TABLEPOINTER LASTTABLE = nullptr;
std::int16_t NUMTABLES = 0;
std::int16_t TABLENO = 0;
std::uint8_t DISPLAYMODE = DEGREES;
std::uint8_t ROUNDING = MODERN;
std::string PARAM;
PATHSTRARRAY DEFZIJ;
PATHSTRARRAY DEFDIR;
PATHSTRARRAY DEFFILE;
std::array<STRING60, NUMDEFPAR + 1> DEFPAR;

void reset_data_state() {
    reset_zij_file_state();
    // Unlink iteratively so that a long zij does not recurse through the destructors.
    while (FIRSTTABLE)
        FIRSTTABLE = std::move(FIRSTTABLE->NEXT);
    LASTTABLE = nullptr;
    NUMTABLES = 0;
    TABLENO = 0;
    DISPLAYMODE = DEGREES;
    ROUNDING = MODERN;
    PARAM.clear();
    DEFZIJ = {};
    DEFDIR = {};
    DEFFILE = {};
    DEFPAR = {};
}

}  // namespace zorvat
