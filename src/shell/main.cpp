// zorvat: the mean motion tables of medieval astronomical handbooks, in a text console.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dialogue/console.h"
#include "dialogue/keys.h"
#include "dialogue/script_backend.h"
#include "platform/files.h"
#include "platform/process.h"
#include "platform/terminal.h"
#include "shell/program.h"
#include "shell/recovery.h"
#include "shell/shell_state.h"

namespace {

using namespace zorvat;

constexpr std::string_view HELP =
    "Usage: zorvat [ZIJ]\n"
    "       zorvat --keys FILE [ZIJ]\n"
    "\n"
    "zorvat holds, edits, recomputes and analyses the mean motion tables of medieval\n"
    "astronomical handbooks (zijes). It runs in a terminal of at least 80 x 25\n"
    "characters and is driven by the commands shown at its prompt ZORVAT> (H lists\n"
    "them, Q quits).\n"
    "\n"
    "  ZIJ          a zij file to read at start (NAME opens NAME.ZVT)\n"
    "  --keys FILE  run on a virtual screen, without a terminal, with the keys written\n"
    "               in FILE: characters as themselves, <ret> for Enter, <esc>, <bs>,\n"
    "               <up>, <f1>, <a-d>, <lt> for '<' and so on; line ends are ignored.\n"
    "               <dump> writes the screen to standard output; when the keys run out\n"
    "               the screen is written once more and the program ends.\n"
    "  --help       this text\n"
    "  --version    the version\n"
    "\n"
    "The display mode and the lists of recent names are kept in zorvat.cfg in the\n"
    "current directory.\n";

void write_stdout(std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

ScriptBackend* script = nullptr;

[[noreturn]] void script_keys_ran_out(int) {
    write_stdout(dump_screen(script->shown, script->beeps));
    std::exit(0);
}

[[noreturn]] void script_program_ended(int code) {
    std::exit(code);
}

int run_script(const std::string& key_file, const std::optional<std::string>& zij) {
    std::string text;
    if (const int err = read_whole_file(key_file, text); err != IO_OK) {
        std::fprintf(stderr, "zorvat: cannot read the key file %s (I/O error %d)\n",
                     key_file.c_str(), err);
        return 2;
    }
    KeyParse parsed = parse_keys(text);
    if (!parsed.error.empty()) {
        std::fprintf(stderr, "zorvat: %s: %s\n", key_file.c_str(), parsed.error.c_str());
        return 2;
    }
    static ScriptBackend backend;
    backend.items = std::move(parsed.items);
    backend.on_dump = [](const Screen& s) { write_stdout(dump_screen(s, script->beeps)); };
    script = &backend;
    set_console_backend(&backend);
    set_input_ended_handler(script_keys_ran_out);
    set_program_end_handler(script_program_ended);
    RUN_PROGRAM(zij);
}

[[noreturn]] void terminal_input_ended(int reason) {
    restore_terminal();
    // Neither a hang-up, SIGTERM nor a terminal that stops giving input is a quit: tables not
    // saved go to a recovery zij. A closed terminal can show as the end of input before the
    // hang-up signal arrives.
    std::exit(finish_terminal_session(reason));
}

[[noreturn]] void terminal_program_ended(int code) {
    restore_terminal();
    std::exit(code);
}

int run_terminal(const std::optional<std::string>& zij) {
    std::string error;
    static std::unique_ptr<ConsoleBackend> backend;
    backend = open_terminal(error);
    if (!backend) {
        std::fprintf(stderr, "%s%s\n",
                     error.starts_with("zorvat") ? "" : "zorvat: ", error.c_str());
        std::fprintf(stderr, "Start zorvat in a terminal, or give it keys with --keys FILE.\n");
        return 1;
    }
    set_console_backend(backend.get());
    set_input_ended_handler(terminal_input_ended);
    set_program_end_handler(terminal_program_ended);
    RUN_PROGRAM(zij);
}

}  // namespace

int main(int argc, char** argv) {
    prepare_process();
    std::vector<std::string> args(argv + 1, argv + argc);
    std::optional<std::string> key_file;
    std::optional<std::string> zij;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            write_stdout(HELP);
            return 0;
        }
        if (a == "--version") {
            write_stdout("zorvat " ZORVAT_VERSION "\n");
            return 0;
        }
        if (a == "--keys") {
            if (i + 1 >= args.size()) {
                std::fprintf(stderr, "zorvat: --keys needs a file of keys\n");
                return 2;
            }
            key_file = args[++i];
            continue;
        }
        if (a.size() > 1 && a[0] == '-' && a != "--") {
            std::fprintf(stderr, "zorvat: unknown option %s (zorvat --help tells more)\n",
                         a.c_str());
            return 2;
        }
        if (a == "--" && i + 1 < args.size()) {
            if (!zij) zij = args[i + 1];
            break;
        }
        if (!zij) zij = a;  // only the first name is used
    }
    if (key_file) return run_script(*key_file, zij);
    return run_terminal(zij);
}
