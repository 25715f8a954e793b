// The text console: 80 x 25 cells of a code page 437 byte and a colour attribute,
// a cursor, a current attribute and an active window. Every dialogue writes here;
// a backend shows the screen and supplies keys, time and sound.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace zorvat {

inline constexpr int SCREEN_COLS = 80;
inline constexpr int SCREEN_ROWS = 25;

struct Cell {
    std::uint8_t ch = ' ';
    std::uint8_t attr = 7;
    bool operator==(const Cell&) const = default;
};

enum class CursorShape : std::uint8_t { Normal, Block };

// What a backend shows: the cells, and the cursor (0-based, whole screen).
struct Screen {
    std::array<Cell, SCREEN_COLS * SCREEN_ROWS> cells{};
    int cursor_x = 0;
    int cursor_y = 0;
    CursorShape cursor_shape = CursorShape::Normal;
    bool operator==(const Screen&) const = default;

    Cell& at(int x, int y) { return cells[static_cast<std::size_t>(y * SCREEN_COLS + x)]; }
    const Cell& at(int x, int y) const {
        return cells[static_cast<std::size_t>(y * SCREEN_COLS + x)];
    }
};

// A key byte from a backend: 0..255, where 0 is followed by a scan code; or one of these.
inline constexpr int KEY_INPUT_ENDED = -1;  // no more input (end of file, end of script)
inline constexpr int KEY_TERMINATED = -2;   // the program was asked to end (hang-up, SIGTERM)

// Keys, time, sound and showing the screen. The terminal and the script implement it.
struct ConsoleBackend {
    virtual ~ConsoleBackend() = default;
    // Next key byte; waits for one. KEY_INPUT_ENDED or KEY_TERMINATED when none will come.
    virtual int read_key_byte() = 0;
    virtual bool key_waiting() = 0;
    virtual std::int64_t now_ms() = 0;
    virtual void delay(int ms) = 0;
    virtual void sound(int hz) = 0;
    virtual void nosound() = 0;
    // Shows the screen; called before every wait for input or time.
    virtual void present(const Screen& screen) = 0;
};

// Called when READKEY gets no key any more; it must not return (it ends the program,
// or in a test it unwinds to the test).
using InputEndedHandler = void (*)(int reason);

// The console's state.
struct ConsoleState {
    Screen screen{};
    std::uint8_t text_attr = 7;
    int win_x1 = 1, win_y1 = 1, win_x2 = SCREEN_COLS, win_y2 = SCREEN_ROWS;  // 1-based
    ConsoleBackend* backend = nullptr;
    InputEndedHandler on_input_ended = nullptr;
};

extern ConsoleState CONSOLE;

// Blank screen, attribute 7, whole-screen window; the backend and the handler stay.
void reset_console();
void set_console_backend(ConsoleBackend* backend);
void set_input_ended_handler(InputEndedHandler handler);

// Writing at the cursor in the current attribute. 8 moves left without erasing,
// 13 goes to column 1, 10 goes down a line (scrolling the window at its bottom),
// 7 sounds the bell; a write past the window's right edge wraps.
void write_text(std::string_view cp437);
void write_char(char c);
void write_line(std::string_view cp437 = {});  // the text, then CR LF
void write_int(long long value);

void TEXTCOLOR(int color);
void TEXTBACKGROUND(int color);
std::uint8_t TEXTATTR();
void SET_TEXTATTR(std::uint8_t attr);
void GOTOXY(int x, int y);
int WHEREX();
int WHEREY();
void CLRSCR();
void CLREOL();
void WINDOW(int x1, int y1, int x2, int y2);
void INSLINE();
void DELLINE();
char READKEY();
bool KEYPRESSED();
void CURSORON();
void CURSORBIG();
void SOUND(int hz);
void DELAY(int ms);
void NOSOUND();

// Shows the screen now (before a long computation, say).
void present_screen();

}  // namespace zorvat
