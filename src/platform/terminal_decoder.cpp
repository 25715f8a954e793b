#include "platform/terminal_decoder.h"

#include <array>
#include <cstddef>

#include "dialogue/cp437.h"

namespace zorvat {

namespace {

using Keys = std::vector<unsigned char>;

// Extended keys that terminals send as sequences, with their PC scan codes alone and
// with Shift, Ctrl and Alt. Shift leaves the grey keys as they are, as on a PC keyboard.
// clang-format off
enum class Nav : std::uint8_t {
    Home, Up, PgUp, Left, Right, End, Down, PgDn, Ins, Del,
    F1, F2, F3, F4, F5, F6, F7, F8, F9, F10, F11, F12
};
// clang-format on

struct ScanCodes {
    unsigned char plain, shift, ctrl, alt;
};

constexpr std::array<ScanCodes, 22> NAV_CODES = {{
    {71, 71, 119, 151},    // Home
    {72, 72, 141, 152},    // Up
    {73, 73, 132, 153},    // PgUp
    {75, 75, 115, 155},    // Left
    {77, 77, 116, 157},    // Right
    {79, 79, 117, 159},    // End
    {80, 80, 145, 160},    // Down
    {81, 81, 118, 161},    // PgDn
    {82, 82, 146, 162},    // Ins
    {83, 83, 147, 163},    // Del
    {59, 84, 94, 104},     // F1
    {60, 85, 95, 105},     // F2
    {61, 86, 96, 106},     // F3
    {62, 87, 97, 107},     // F4
    {63, 88, 98, 108},     // F5
    {64, 89, 99, 109},     // F6
    {65, 90, 100, 110},    // F7
    {66, 91, 101, 111},    // F8
    {67, 92, 102, 112},    // F9
    {68, 93, 103, 113},    // F10
    {133, 135, 137, 139},  // F11
    {134, 136, 138, 140},  // F12
}};

// Modifier bits as xterm counts them in "CSI 1;m X": m - 1 = shift 1 | alt 2 | ctrl 4.
constexpr int MOD_SHIFT = 1;
constexpr int MOD_ALT = 2;
constexpr int MOD_CTRL = 4;

void emit_nav(Keys& out, Nav key, int mods) {
    const ScanCodes& c = NAV_CODES[static_cast<std::size_t>(key)];
    unsigned char scan = c.plain;
    if (mods & MOD_CTRL)
        scan = c.ctrl;
    else if (mods & MOD_ALT)
        scan = c.alt;
    else if (mods & MOD_SHIFT)
        scan = c.shift;
    out.push_back(0);
    out.push_back(scan);
}

void emit_extended(Keys& out, unsigned char scan) {
    out.push_back(0);
    out.push_back(scan);
}

// PC scan codes of the letter keys A..Z, for Alt+letter.
constexpr std::array<unsigned char, 26> LETTER_SCAN = {30, 48, 46, 32, 18, 33, 34, 35, 23,
                                                       36, 37, 38, 50, 49, 24, 25, 16, 19,
                                                       31, 20, 22, 47, 17, 45, 21, 44};

constexpr unsigned char ALT_O_SCAN = 24;
constexpr unsigned char SHIFT_TAB_SCAN = 15;

// Alt+key as Esc followed by the key. Keys without an Alt code on a PC are dropped.
void emit_alt(Keys& out, unsigned char b) {
    if (b >= 'a' && b <= 'z') {
        emit_extended(out, LETTER_SCAN[static_cast<std::size_t>(b - 'a')]);
    } else if (b >= 'A' && b <= 'Z') {
        emit_extended(out, LETTER_SCAN[static_cast<std::size_t>(b - 'A')]);
    } else if (b >= '1' && b <= '9') {
        emit_extended(out, static_cast<unsigned char>(120 + (b - '1')));
    } else if (b == '0') {
        emit_extended(out, 129);
    }
}

// An ordinary byte outside any sequence.
void emit_plain(Keys& out, unsigned char b) {
    switch (b) {
        case 0x00:  // Ctrl+Space: a 0 would make the next key a scan code
            return;
        case 0x7F:  // Backspace
            out.push_back(8);
            return;
        case 0x08:  // Ctrl+Backspace
            out.push_back(127);
            return;
        case 0x0A:  // Ctrl+Enter, or Enter of a terminal that sends LF
            out.push_back(13);
            return;
        default:
            out.push_back(b);
    }
}

// Parameters "1;5" as numbers; an empty parameter is 0. False for anything that is not
// plain digits and semicolons (private markers, sub-parameters, intermediates).
bool parse_params(const std::string& text, std::vector<int>& values) {
    values.clear();
    int current = 0;
    bool any = false;
    for (const char c : text) {
        if (c >= '0' && c <= '9') {
            if (current < 100000) current = current * 10 + (c - '0');
            any = true;
        } else if (c == ';') {
            values.push_back(current);
            current = 0;
            any = true;
        } else {
            return false;
        }
    }
    if (any) values.push_back(current);
    return true;
}

// The modifier bits of an xterm modifier parameter (1 or 0 for none).
int modifier_bits(int param) {
    return param > 1 ? param - 1 : 0;
}

// The keys of "CSI n ~" (and of rxvt's "CSI n ^", "CSI n $", "CSI n @").
struct TildeKey {
    int number;
    Nav key;
};
constexpr std::array<TildeKey, 20> TILDE_KEYS = {{
    {1, Nav::Home}, {2, Nav::Ins},  {3, Nav::Del},  {4, Nav::End},  {5, Nav::PgUp},
    {6, Nav::PgDn}, {7, Nav::Home}, {8, Nav::End},  {11, Nav::F1},  {12, Nav::F2},
    {13, Nav::F3},  {14, Nav::F4},  {15, Nav::F5},  {17, Nav::F6},  {18, Nav::F7},
    {19, Nav::F8},  {20, Nav::F9},  {21, Nav::F10}, {23, Nav::F11}, {24, Nav::F12},
}};

std::optional<Nav> nav_of_tilde(int n) {
    for (const TildeKey& t : TILDE_KEYS)
        if (t.number == n) return t.key;
    return std::nullopt;
}

// The keys of a final letter shared by CSI and SS3: arrows, Home, End, F1..F4.
std::optional<Nav> nav_of_letter(unsigned char final) {
    constexpr std::string_view LETTERS = "ABCDHFPQRS";
    constexpr std::array<Nav, 10> KEYS = {Nav::Up,  Nav::Down, Nav::Right, Nav::Left, Nav::Home,
                                          Nav::End, Nav::F1,   Nav::F2,    Nav::F3,   Nav::F4};
    const auto i = LETTERS.find(static_cast<char>(final));
    if (i == std::string_view::npos) return std::nullopt;
    return KEYS[i];
}

// rxvt's arrows with a lower-case final: Shift in CSI a..d, Ctrl in SS3 a..d.
std::optional<Nav> rxvt_arrow(unsigned char final) {
    constexpr std::string_view LETTERS = "abcd";
    constexpr std::array<Nav, 4> KEYS = {Nav::Up, Nav::Down, Nav::Right, Nav::Left};
    const auto i = LETTERS.find(static_cast<char>(final));
    if (i == std::string_view::npos) return std::nullopt;
    return KEYS[i];
}

void decode_csi(const KeyDecoder& d, unsigned char final, Keys& out) {
    if (d.overflow) return;
    std::vector<int> p;
    if (!parse_params(d.params, p)) return;  // private replies, mouse and focus reports
    const int first = p.empty() ? 0 : p[0];
    const int mods = modifier_bits(p.size() >= 2 ? p[1] : 1);
    std::optional<Nav> key;
    if (final == '~' || final == '^' || final == '$' || final == '@') {
        if (p.empty() || p.size() > (final == '~' ? 2u : 1u)) return;
        key = nav_of_tilde(first);
        if (!key) return;
        // rxvt marks Ctrl, Shift and both by the final byte.
        const int rxvt = final == '^'   ? MOD_CTRL
                         : final == '$' ? MOD_SHIFT
                         : final == '@' ? MOD_CTRL | MOD_SHIFT
                                        : 0;
        emit_nav(out, *key, mods | rxvt);
    } else if (final == 'Z') {
        if (p.size() <= 2) emit_extended(out, SHIFT_TAB_SCAN);
    } else if ((key = rxvt_arrow(final))) {
        if (p.empty()) emit_nav(out, *key, MOD_SHIFT);
    } else if ((key = nav_of_letter(final))) {
        if (p.size() <= 2 && first <= 1) emit_nav(out, *key, mods);
    }
}

// The characters of the numeric keypad in application mode: ESC O j .. ESC O y.
constexpr std::string_view KEYPAD_CHARS = "*+,-./0123456789";

void decode_ss3(const KeyDecoder& d, unsigned char final, Keys& out) {
    if (d.overflow) return;
    std::vector<int> p;
    if (!parse_params(d.params, p) || p.size() > 2) return;
    // Older terminals put the modifier alone after SS3 (ESC O 5 H), newer ones as 1;m.
    const int mods = p.empty() ? 0 : modifier_bits(p.back());
    std::optional<Nav> key;
    if ((key = nav_of_letter(final)))
        emit_nav(out, *key, mods);
    else if ((key = rxvt_arrow(final)))
        emit_nav(out, *key, MOD_CTRL);
    else if (final == 'M')  // keypad Enter
        out.push_back(13);
    else if (final == 'X')  // keypad =
        out.push_back('=');
    else if (final >= 'j' && final <= 'y')
        out.push_back(static_cast<unsigned char>(KEYPAD_CHARS[final - 'j']));
}

void start_utf8(KeyDecoder& d, unsigned char lead, bool after_esc) {
    int length = 0;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF)
        length = 3;
    else if (lead >= 0xF0 && lead <= 0xF4)
        length = 4;
    if (length == 0) {  // a continuation byte or an invalid lead: dropped
        d.state = DecoderState::Ground;
        return;
    }
    d.state = DecoderState::Utf8;
    d.utf8_length = length;
    d.remaining = length - 1;
    d.after_esc = after_esc;
    d.code = static_cast<char32_t>(lead & (0x7F >> length));
}

void finish_utf8(const KeyDecoder& d, Keys& out) {
    constexpr std::array<char32_t, 5> SMALLEST = {0, 0, 0x80, 0x800, 0x10000};
    if (d.after_esc) return;  // Alt+character has no PC code
    if (d.code < SMALLEST[static_cast<std::size_t>(d.utf8_length)]) return;  // overlong
    const auto byte = unicode_to_cp437(d.code);
    // A glyph of the control range would act as a control key (← as Esc, ♪ as Enter).
    if (!byte || *byte < 0x20 || *byte == 0x7F) return;
    out.push_back(*byte);
}

bool is_param_byte(unsigned char b) {
    return b >= 0x20 && b <= 0x3F;
}
bool is_final_byte(unsigned char b) {
    return b >= 0x40 && b <= 0x7E;
}

void add_param(KeyDecoder& d, unsigned char b) {
    if (d.params.size() < MAX_SEQUENCE_LENGTH)
        d.params.push_back(static_cast<char>(b));
    else
        d.overflow = true;
}

void begin_sequence(KeyDecoder& d, DecoderState state) {
    d.state = state;
    d.params.clear();
    d.overflow = false;
}

// Handles one byte; false when the byte ended a malformed sequence and must be read
// again from the ground state.
bool step(KeyDecoder& d, unsigned char b, Keys& out) {
    switch (d.state) {
        case DecoderState::Ground:
            if (b == 0x1B)
                d.state = DecoderState::Escape;
            else if (b >= 0x80)
                start_utf8(d, b, false);
            else
                emit_plain(out, b);
            return true;

        case DecoderState::Escape:
            if (b == '[') {
                begin_sequence(d, DecoderState::Csi);
            } else if (b == 'O') {
                begin_sequence(d, DecoderState::Ss3);
            } else if (b == 0x1B) {
                out.push_back(0x1B);  // Esc Esc: the first is a key now, the second waits
            } else if (b >= 0x80) {
                start_utf8(d, b, true);
            } else {
                emit_alt(out, b);
                d.state = DecoderState::Ground;
            }
            return true;

        case DecoderState::Csi:
            if (b == '[' && d.params.empty()) {
                d.state = DecoderState::CsiLinux;
                return true;
            }
            // rxvt ends Shift+key with '$', which is otherwise an intermediate byte.
            if (b == '$' && (d.params.empty() || (d.params[0] >= '0' && d.params[0] <= ';'))) {
                decode_csi(d, b, out);
                d.state = DecoderState::Ground;
                return true;
            }
            if (is_param_byte(b)) {
                add_param(d, b);
                return true;
            }
            if (is_final_byte(b)) {
                if (b == 'M' && d.params.empty()) {  // mouse report: three raw bytes follow
                    d.state = DecoderState::Mouse;
                    d.remaining = 3;
                    return true;
                }
                decode_csi(d, b, out);
                d.state = DecoderState::Ground;
                return true;
            }
            d.state = DecoderState::Ground;
            return false;

        case DecoderState::CsiLinux:
            d.state = DecoderState::Ground;
            if (b >= 'A' && b <= 'E') {
                emit_nav(out, static_cast<Nav>(static_cast<int>(Nav::F1) + (b - 'A')), 0);
                return true;
            }
            return is_final_byte(b);

        case DecoderState::Ss3:
            if (b >= '0' && b <= ';') {
                add_param(d, b);
                return true;
            }
            if (is_final_byte(b)) {
                decode_ss3(d, b, out);
                d.state = DecoderState::Ground;
                return true;
            }
            // Esc O and then something else: that was Alt+O.
            if (d.params.empty()) emit_extended(out, ALT_O_SCAN);
            d.state = DecoderState::Ground;
            return false;

        case DecoderState::Utf8:
            if ((b & 0xC0) != 0x80) {  // cut short: the partial character is dropped
                d.state = DecoderState::Ground;
                return false;
            }
            d.code = (d.code << 6) | static_cast<char32_t>(b & 0x3F);
            if (--d.remaining == 0) {
                finish_utf8(d, out);
                d.state = DecoderState::Ground;
            }
            return true;

        case DecoderState::Mouse:
            if (--d.remaining == 0) d.state = DecoderState::Ground;
            return true;
    }
    return true;
}

}  // namespace

std::vector<unsigned char> decoder_tick(KeyDecoder& decoder, std::int64_t now_ms) {
    Keys out;
    const auto deadline = decoder_deadline(decoder);
    if (!deadline || now_ms < *deadline) return out;
    if (decoder.state == DecoderState::Escape)
        out.push_back(0x1B);
    else if (decoder.state == DecoderState::Ss3 && decoder.params.empty())
        emit_extended(out, ALT_O_SCAN);
    decoder.state = DecoderState::Ground;  // any other unfinished sequence is dropped
    return out;
}

std::vector<unsigned char> decoder_feed(KeyDecoder& decoder, std::string_view bytes,
                                        std::int64_t now_ms) {
    Keys out = decoder_tick(decoder, now_ms);
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (!step(decoder, b, out)) step(decoder, b, out);
    }
    if (!bytes.empty()) decoder.last_byte_ms = now_ms;
    return out;
}

std::optional<std::int64_t> decoder_deadline(const KeyDecoder& decoder) {
    if (decoder.state == DecoderState::Ground) return std::nullopt;
    return decoder.last_byte_ms + ESC_TIMEOUT_MS;
}

}  // namespace zorvat
