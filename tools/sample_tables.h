// The demonstration tables of samples/: mean motion tables computed exactly from daily
// mean motions published for historical zijes, with a few scribal confusions entered as
// manuscript readings beside the computed (corrected) values.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "data/table.h"

namespace zorvat {

struct SampleZij {
    std::string file_name;  // in samples/
    std::vector<std::unique_ptr<TABLE>> tables;
};

std::vector<SampleZij> sample_zijes();

}  // namespace zorvat
