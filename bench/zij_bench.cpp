// GZ of a zij of 10,000 tables (about 7 MB) against cat reading the same file to /dev/null,
// in the same run. The counter "x_cat" is GZ's time over cat's (a whole process, as a user
// would run it); it must stay below 3: reading is buffered, not one system call per block.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "commands/commands.h"
#include "data/data_state.h"
#include "data/zij_block.h"
#include "dialogue/console.h"
#include "dialogue/script_backend.h"
#include "shell/shell_state.h"

namespace {

using namespace zorvat;

constexpr int TABLES = 10000;

// A table of three subtables, 33 values and two corrections: three blocks.
std::string one_table(int n) {
    TABLE t;
    t.NAME = "Table " + std::to_string(n);
    t.ERA = 'A';
    t.MPD = SXG{0, {0, 59, 8, 20}};
    int index = 0;
    for (const auto& [p, count] : {std::pair{DAY, 10}, std::pair{MON, 12}, std::pair{COL, 11}}) {
        t.INFOLIST[p] = INFORECORD{
            static_cast<std::int16_t>(index), static_cast<std::int16_t>(count), 2, 0, 1, false};
        for (int i = 1; i <= count; ++i) {
            ++index;
            t.MS[static_cast<std::size_t>(index)] =
                SXG{(index * 37 + n) % 360, {0, static_cast<std::int8_t>(index % 60), 8}};
        }
    }
    t.TOTNUMVAL = static_cast<std::int16_t>(index);
    t.CR = t.MS;
    t.CR[5].DIGITS[2] = 9;
    t.CR[17].DIGITS[2] = 9;
    return encode_table_blocks(t);
}

struct Zij {
    std::string dir;
    std::string name;  // without .ZVT
    std::string file;
    Zij() {
        char pattern[] = "/tmp/zorvat-bench-XXXXXX";
        if (::mkdtemp(pattern) == nullptr) std::abort();
        dir = pattern;
        name = dir + "/BIG";
        file = name + ".ZVT";
        std::ofstream out(file, std::ios::binary);
        for (int n = 1; n <= TABLES; ++n)
            out << one_table(n);
    }
    ~Zij() {
        std::remove(file.c_str());
        ::rmdir(dir.c_str());
    }
};

const Zij& big_zij() {
    static const Zij zij;
    return zij;
}

// cat of the file to /dev/null as a process, in seconds. posix_spawn, not fork: a fork
// would make the benchmark's own pages copy-on-write and slow down what it measures next.
double cat_seconds(const std::string& file) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    std::string path = file;
    char cat[] = "cat";
    char* argv[] = {cat, path.data(), nullptr};
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawnp(&pid, "cat", &actions, nullptr, argv, environ) != 0) std::abort();
    int status = 0;
    ::waitpid(pid, &status, 0);
    const auto end = std::chrono::steady_clock::now();
    posix_spawn_file_actions_destroy(&actions);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) std::abort();
    return std::chrono::duration<double>(end - start).count();
}

void BM_CatToDevNull(benchmark::State& state) {
    const Zij& zij = big_zij();
    for (auto _ : state) {
        state.SetIterationTime(cat_seconds(zij.file));
    }
    state.SetBytesProcessed(state.iterations() * TABLES * 3 * BLOCKSIZE);
}
BENCHMARK(BM_CatToDevNull)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_GetZijOf10000Tables(benchmark::State& state) {
    const Zij& zij = big_zij();
    static ScriptBackend backend;
    set_console_backend(&backend);
    // cat runs between the reads, so that both meet the same load of the machine; the
    // fastest of each is compared.
    double fastest = 1e9, cat = 1e9;
    for (auto _ : state) {
        state.PauseTiming();
        cat = std::min(cat, cat_seconds(zij.file));
        reset_program_state();
        PARAM = zij.name;
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        GETZIJ();
        const double took =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(took);
        fastest = std::min(fastest, took);
        if (NUMTABLES != TABLES) state.SkipWithError("not every table was read");
    }
    reset_program_state();
    state.SetBytesProcessed(state.iterations() * TABLES * 3 * BLOCKSIZE);
    state.counters["x_cat"] = fastest / cat;
    state.counters["gz_ms"] = fastest * 1e3;
    state.counters["cat_ms"] = cat * 1e3;
    set_console_backend(nullptr);
}
BENCHMARK(BM_GetZijOf10000Tables)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
