// Writes the demonstration zijes into the folder given as the argument (samples/).
#include <cstdio>
#include <string>

#include "data/zij_block.h"
#include "platform/files.h"
#include "tools/sample_tables.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: zorvat_make_samples FOLDER\n");
        return 2;
    }
    for (const auto& zij : zorvat::sample_zijes()) {
        std::string bytes;
        for (const auto& t : zij.tables)
            bytes += zorvat::encode_table_blocks(*t);
        const std::string path = std::string(argv[1]) + "/" + zij.file_name;
        if (const int err = zorvat::replace_file(path, bytes); err != 0) {
            std::fprintf(stderr, "zorvat_make_samples: cannot write %s (I/O error %d)\n",
                         path.c_str(), err);
            return 1;
        }
        std::printf("%s: %zu tables, %zu bytes\n", path.c_str(), zij.tables.size(), bytes.size());
    }
    return 0;
}
