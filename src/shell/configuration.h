// The configuration file "zorvat.cfg" in the current directory: the display mode, the last
// table name and the history lists, 42 lines.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zorvat {

inline constexpr const char* CONFIGURATION_FILE = "zorvat.cfg";
inline constexpr int CONFIGURATION_LINES = 42;

// Fills the globals from the file; a missing or unreadable file gives the defaults.
void READ_CONFIGURATION();
// Writes the globals to the file; returns the I/O result code (0 = success). On failure the
// old file is kept as it was.
std::uint16_t SAVE_CONFIGURATION();

// The file's text for the current globals (CR LF after every line).
std::string configuration_text();
// Fills the globals from a file's text (lines ended by LF, CR LF or CR).
void apply_configuration_text(std::string_view text);
// The defaults: degrees, and every name and history entry empty.
void default_configuration();

}  // namespace zorvat
