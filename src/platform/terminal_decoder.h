// Turns the bytes a terminal sends into the keys the system reads: a character, or 0
// followed by the PC scan code of an extended key. Pure: no I/O and no clock; the caller
// passes the time of every feed and calls decoder_tick when decoder_deadline has passed.
//
// Understood: the CSI and SS3 forms of xterm, VTE, Konsole, tmux and Windows Terminal
// (with xterm modifiers, CSI 1;5H, CSI 5;5~), rxvt-unicode (CSI n^, CSI n$, ESC O a..d),
// the Linux console (ESC [ [ A..E), Alt as an Esc prefix, and UTF-8 text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zorvat {

// A lone Esc is a key only once this long has passed without a following byte.
inline constexpr std::int64_t ESC_TIMEOUT_MS = 25;

// Longest CSI or SS3 parameter text that is kept; a longer sequence is dropped at its end.
inline constexpr std::size_t MAX_SEQUENCE_LENGTH = 32;

enum class DecoderState : std::uint8_t {
    Ground,    // between keys
    Escape,    // after Esc
    Csi,       // after Esc [
    CsiLinux,  // after Esc [ [ (function keys of the Linux console)
    Ss3,       // after Esc O
    Utf8,      // inside a UTF-8 character
    Mouse,     // the three raw bytes of an old-style mouse report
};

struct KeyDecoder {
    DecoderState state = DecoderState::Ground;
    std::string params;             // parameter and intermediate bytes of a CSI or SS3 sequence
    bool overflow = false;          // params grew past MAX_SEQUENCE_LENGTH
    char32_t code = 0;              // UTF-8 character being assembled
    int utf8_length = 0;            // its length in bytes
    int remaining = 0;              // UTF-8 continuation bytes or mouse bytes still to come
    bool after_esc = false;         // the UTF-8 character came as Alt+character
    std::int64_t last_byte_ms = 0;  // time of the latest byte of an unfinished key
};

// Decodes `bytes` received at `now_ms`; a pending sequence whose time is up is ended first.
std::vector<unsigned char> decoder_feed(KeyDecoder& decoder, std::string_view bytes,
                                        std::int64_t now_ms);

// Ends a pending sequence whose time is up (a lone Esc becomes the Esc key).
std::vector<unsigned char> decoder_tick(KeyDecoder& decoder, std::int64_t now_ms);

// When decoder_tick must be called next, or nothing when no key is unfinished.
std::optional<std::int64_t> decoder_deadline(const KeyDecoder& decoder);

}  // namespace zorvat
