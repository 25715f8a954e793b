#include "dialogue/console.h"

#include <cstdlib>
#include <string>

namespace zorvat {

ConsoleState CONSOLE;

void reset_console() {
    ConsoleBackend* backend = CONSOLE.backend;
    InputEndedHandler handler = CONSOLE.on_input_ended;
    CONSOLE = ConsoleState{};
    CONSOLE.backend = backend;
    CONSOLE.on_input_ended = handler;
}

void set_console_backend(ConsoleBackend* backend) {
    CONSOLE.backend = backend;
}
void set_input_ended_handler(InputEndedHandler handler) {
    CONSOLE.on_input_ended = handler;
}

namespace {

Screen& screen() {
    return CONSOLE.screen;
}

void blank_row_span(int y, int x1, int x2) {
    for (int x = x1; x <= x2; ++x)
        screen().at(x, y) = Cell{' ', CONSOLE.text_attr};
}

// Moves rows top+1..bottom of the window up by one; the bottom row becomes blank.
void scroll_up(int top, int bottom) {
    const int x1 = CONSOLE.win_x1 - 1, x2 = CONSOLE.win_x2 - 1;
    for (int y = top; y < bottom; ++y)
        for (int x = x1; x <= x2; ++x)
            screen().at(x, y) = screen().at(x, y + 1);
    blank_row_span(bottom, x1, x2);
}

// Moves rows top..bottom-1 down by one; the top row becomes blank.
void scroll_down(int top, int bottom) {
    const int x1 = CONSOLE.win_x1 - 1, x2 = CONSOLE.win_x2 - 1;
    for (int y = bottom; y > top; --y)
        for (int x = x1; x <= x2; ++x)
            screen().at(x, y) = screen().at(x, y - 1);
    blank_row_span(top, x1, x2);
}

void line_feed() {
    Screen& s = screen();
    if (s.cursor_y >= CONSOLE.win_y2 - 1) {
        s.cursor_y = CONSOLE.win_y2 - 1;
        scroll_up(CONSOLE.win_y1 - 1, CONSOLE.win_y2 - 1);
    } else {
        ++s.cursor_y;
    }
}

void put_byte(unsigned char c) {
    Screen& s = screen();
    switch (c) {
        case 7:
            if (CONSOLE.backend) {
                CONSOLE.backend->sound(800);
                CONSOLE.backend->nosound();
            }
            return;
        case 8:
            if (s.cursor_x > CONSOLE.win_x1 - 1) --s.cursor_x;
            return;
        case 10:
            line_feed();
            return;
        case 13:
            s.cursor_x = CONSOLE.win_x1 - 1;
            return;
        default:
            break;
    }
    s.at(s.cursor_x, s.cursor_y) = Cell{c, CONSOLE.text_attr};
    if (++s.cursor_x > CONSOLE.win_x2 - 1) {
        s.cursor_x = CONSOLE.win_x1 - 1;
        line_feed();
    }
}

}  // namespace

void write_text(std::string_view cp437) {
    for (const char c : cp437)
        put_byte(static_cast<unsigned char>(c));
}

void write_char(char c) {
    put_byte(static_cast<unsigned char>(c));
}

void write_line(std::string_view cp437) {
    write_text(cp437);
    write_text("\r\n");
}

void write_int(long long value) {
    write_text(std::to_string(value));
}

void TEXTCOLOR(int color) {
    CONSOLE.text_attr = static_cast<std::uint8_t>((CONSOLE.text_attr & 0x70) | (color & 0x8F));
}

void TEXTBACKGROUND(int color) {
    CONSOLE.text_attr =
        static_cast<std::uint8_t>((CONSOLE.text_attr & 0x8F) | ((color & 0x07) << 4));
}

std::uint8_t TEXTATTR() {
    return CONSOLE.text_attr;
}
void SET_TEXTATTR(std::uint8_t attr) {
    CONSOLE.text_attr = attr;
}

void GOTOXY(int x, int y) {
    const int w = CONSOLE.win_x2 - CONSOLE.win_x1 + 1;
    const int h = CONSOLE.win_y2 - CONSOLE.win_y1 + 1;
    if (x < 1 || x > w || y < 1 || y > h) return;
    screen().cursor_x = CONSOLE.win_x1 - 1 + x - 1;
    screen().cursor_y = CONSOLE.win_y1 - 1 + y - 1;
}

int WHEREX() {
    return screen().cursor_x - (CONSOLE.win_x1 - 1) + 1;
}
int WHEREY() {
    return screen().cursor_y - (CONSOLE.win_y1 - 1) + 1;
}

void CLRSCR() {
    for (int y = CONSOLE.win_y1 - 1; y <= CONSOLE.win_y2 - 1; ++y)
        blank_row_span(y, CONSOLE.win_x1 - 1, CONSOLE.win_x2 - 1);
    screen().cursor_x = CONSOLE.win_x1 - 1;
    screen().cursor_y = CONSOLE.win_y1 - 1;
}

void CLREOL() {
    blank_row_span(screen().cursor_y, screen().cursor_x, CONSOLE.win_x2 - 1);
}

void WINDOW(int x1, int y1, int x2, int y2) {
    if (x1 < 1 || y1 < 1 || x2 > SCREEN_COLS || y2 > SCREEN_ROWS || x1 > x2 || y1 > y2) return;
    CONSOLE.win_x1 = x1;
    CONSOLE.win_y1 = y1;
    CONSOLE.win_x2 = x2;
    CONSOLE.win_y2 = y2;
    GOTOXY(1, 1);
}

void INSLINE() {
    scroll_down(screen().cursor_y, CONSOLE.win_y2 - 1);
}
void DELLINE() {
    scroll_up(screen().cursor_y, CONSOLE.win_y2 - 1);
}

void present_screen() {
    if (CONSOLE.backend) CONSOLE.backend->present(CONSOLE.screen);
}

char READKEY() {
    int b = KEY_INPUT_ENDED;
    if (CONSOLE.backend) {
        present_screen();
        b = CONSOLE.backend->read_key_byte();
    }
    if (b < 0) {
        if (CONSOLE.on_input_ended) CONSOLE.on_input_ended(b);
        std::abort();  // the handler ends the program; reaching here is a bug
    }
    return static_cast<char>(b);
}

bool KEYPRESSED() {
    return CONSOLE.backend && CONSOLE.backend->key_waiting();
}

void CURSORON() {
    screen().cursor_shape = CursorShape::Normal;
}
void CURSORBIG() {
    screen().cursor_shape = CursorShape::Block;
}

void SOUND(int hz) {
    if (CONSOLE.backend) CONSOLE.backend->sound(hz);
}

void DELAY(int ms) {
    if (!CONSOLE.backend) return;
    present_screen();
    CONSOLE.backend->delay(ms);
}

void NOSOUND() {
    if (CONSOLE.backend) CONSOLE.backend->nosound();
}

}  // namespace zorvat
