#include "support/zij_check.h"

#include <memory>
#include <vector>

#include "commands/commands.h"
#include "commands/external_zij.h"
#include "data/data_state.h"
#include "data/zij_file.h"
#include "support/table_invariants.h"

namespace zorvat::testing {

std::string check_zij_reading(const std::string& name) {
    reset_data_state();
    const std::string file = name + ".ZVT";
    PARAM = name;
    GETZIJ();
    if (is_open(F)) return "GZ left the zij open";
    std::vector<std::string> read;
    for (const TABLE* t = FIRSTTABLE.get(); t != nullptr; t = t->NEXT.get()) {
        const std::string broken = broken_invariant(*t);
        if (!broken.empty()) return "table " + std::to_string(t->NO) + ": " + broken;
        read.push_back(encode_table_blocks(*t));
    }
    if (open_zij(file) != 0) return "the zij cannot be opened again";
    std::int32_t listed = 0;
    const bool listed_ok = DISPLAYCONTENTS(name, listed);
    close_zij();
    if (!listed_ok) return {};
    if (listed < static_cast<std::int32_t>(read.size())) return "the listing lost tables";
    for (std::size_t k = 0; k < read.size(); ++k) {
        if (open_zij(file) != 0) return "the zij cannot be opened again";
        for (std::size_t j = 0; j < k; ++j) {
            if (read_block(BL) != 0 || table_extent(BL) <= 0) {
                close_zij();
                return "table " + std::to_string(j + 1) + " cannot be skipped";
            }
            seek_record(F, record_position(F) + table_extent(BL) - 1);
        }
        const std::unique_ptr<TABLE> t = PERFORM_GET();
        close_zij();
        if (!t) return "table " + std::to_string(k + 1) + " is not read after skipping";
        if (encode_table_blocks(*t) != read[k])
            return "table " + std::to_string(k + 1) + " reads otherwise after skipping";
    }
    return {};
}

}  // namespace zorvat::testing
