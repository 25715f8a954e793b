// libFuzzer target: any bytes as a zij file, read the ways the commands read one. A crash,
// a sanitizer report, a table that breaks the invariants, skipping and reading that
// disagree, or a wait for a key all end the run with the input saved.
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "dialogue/console.h"
#include "dialogue/script_backend.h"
#include "shell/shell_state.h"
#include "support/zij_check.h"

namespace {

[[noreturn]] void waited_for_a_key(int) {
    std::fputs("the zij reader waited for a key\n", stderr);
    std::abort();
}

[[noreturn]] void program_ended(int code) {
    std::fprintf(stderr, "the program ended with code %d\n", code);
    std::abort();
}

zorvat::ScriptBackend backend;
// The zij, without its extension, in a directory of its own (the current directory is
// libFuzzer's, which reads and writes its corpus there).
std::string zij;
std::string zij_dir;

void clean_up() {
    std::remove((zij + ".ZVT").c_str());
    ::rmdir(zij_dir.c_str());
}

bool set_up() {
    char dir[] = "/tmp/zorvat-fuzz-XXXXXX";
    if (::mkdtemp(dir) == nullptr) std::abort();
    zij_dir = dir;
    zij = zij_dir + "/F";
    std::atexit(clean_up);
    zorvat::set_console_backend(&backend);
    zorvat::set_input_ended_handler(waited_for_a_key);
    zorvat::set_program_end_handler(program_ended);
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool ready = set_up();
    (void)ready;
    {
        std::ofstream out(zij + ".ZVT", std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    zorvat::reset_program_state();
    backend.items.clear();
    backend.position = 0;
    const std::string fault = zorvat::testing::check_zij_reading(zij);
    if (!fault.empty()) {
        std::fprintf(stderr, "%s\n", fault.c_str());
        std::abort();
    }
    return 0;
}
