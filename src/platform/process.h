// What the process needs before anything else runs.
#pragma once

namespace zorvat {

// Opens /dev/null on standard input, output and error where they are closed, so that no
// file the program opens takes their place; ignores SIGPIPE, so that a write to a closed
// pipe is an error code and not the end of the program.
void prepare_process();

}  // namespace zorvat
