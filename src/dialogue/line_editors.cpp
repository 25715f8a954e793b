#include "dialogue/line_editors.h"

#include <algorithm>

#include "dialogue/console.h"
#include "dialogue/keys.h"
#include "dialogue/toolkit.h"
#include "platform/files.h"

namespace zorvat {

namespace {

// Sign and digits of an integer text, or false.
bool integer_value(std::string_view s, std::int64_t& value) {
    bool negative = false;
    if (!s.empty() && s[0] == '-') {
        negative = true;
        s.remove_prefix(1);
    }
    if (s.empty() || s.size() > 18) return false;
    std::int64_t v = 0;
    for (const char c : s) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
    }
    value = negative ? -v : v;
    return true;
}

}  // namespace

bool edit_line_key(char scan, std::string& text, std::size_t& p) {
    switch (scan) {
        case DEL:
            if (p < text.size()) text.erase(p, 1);
            return true;
        case HOME:
            p = 0;
            return true;
        case REND:
            p = text.size();
            return true;
        case LEFT:
            if (p > 0) --p;
            return true;
        case RIGH:
            if (p < text.size()) ++p;
            return true;
        default:
            return false;
    }
}

namespace {

// The outcome code of a key that leaves a form field (PgUp, PgDn, Ctrl-PgDn), or
// PROCESSCODE when the key does not leave it.
std::int16_t form_exit_code(char scan, bool option) {
    if (!option) return PROCESSCODE;
    switch (scan) {
        case PGUP:
            return PGUPCODE;
        case PGDN:
            return PGDNCODE;
        case CTRLPGDN:
            return CTRLPGDNCODE;
        default:
            return PROCESSCODE;
    }
}

}  // namespace

bool INTOK(std::string_view ST, std::int32_t MIN, std::int32_t MAX) {
    if (ST.empty()) return true;
    if (ST == "-") return MIN < 0;
    if (ST.find("-0") != std::string_view::npos) return false;
    if (ST.size() >= 2 && ST[0] == '0' && ST[1] >= '0' && ST[1] <= '9') return false;
    std::int64_t v = 0;
    if (!integer_value(ST, v)) return false;
    if (v >= MIN && v <= MAX) return true;
    if (v == 0) return false;
    if (v > 0 && MIN > 0) {
        for (std::int64_t p = 10; v * p <= MAX; p *= 10)
            if ((v + 1) * p - 1 >= MIN) return true;
        return false;
    }
    if (v < 0 && MAX < 0) {
        for (std::int64_t p = 10; v * p >= MIN; p *= 10)
            if ((v - 1) * p + 1 <= MAX) return true;
        return false;
    }
    return false;
}

bool CORRECTINT(std::string_view ST, std::int16_t MIN, std::int16_t MAX, std::int16_t& N) {
    std::int64_t v = 0;
    if (!integer_value(ST, v)) return false;
    if (v < -32768 || v > 32767) return false;
    N = static_cast<std::int16_t>(v);
    return v >= MIN && v <= MAX;
}

std::int32_t ENTERINTEGER(std::int32_t MIN, std::int32_t MAX, std::int32_t DEF, bool OPTION) {
    const int x = WHEREX(), y = WHEREY();
    EXITCODE = PROCESSCODE;
    const bool has_default = DEF != INTESC;
    std::string text;
    std::size_t p = 0;
    bool editing = !has_default;
    if (OPTION || has_default) TEXTBACKGROUND(4);
    if (has_default) {
        text = std::to_string(DEF);
        write_text(text);
        p = text.size();
    }
    if (!OPTION) TEXTBACKGROUND(1);
    std::size_t widest = text.size();  // the most columns the field has shown

    auto blank_default = [&] {
        GOTOXY(x, y);
        TEXTBACKGROUND(1);
        write_text(std::string(text.size(), ' '));
        if (OPTION) TEXTBACKGROUND(4);
    };

    while (EXITCODE == PROCESSCODE) {
        char c = 0, d = 0;
        MYREADKEY(c, d);
        if (!editing && (c == BACKSP || c == RETURN ||
                         (c == 0 && (d == HOME || d == LEFT || d == RIGH || d == REND))))
            editing = true;
        if (c >= '0' && c <= '9') {
            if (editing) {
                std::string t = text;
                t.insert(p, 1, c);
                if (text.size() < 7 && INTOK(t, MIN, MAX)) {
                    text = t;
                    ++p;
                }
            } else if (INTOK(std::string(1, c), MIN, MAX)) {
                blank_default();
                text = std::string(1, c);
                p = 1;
                editing = true;
            }
        } else if (c == '-') {
            if (MIN < 0) {
                if (!editing) {
                    blank_default();
                    text.assign(1, '-');
                    p = 1;
                    editing = true;
                } else if (p == 0 && text.size() < 7 && INTOK("-" + text, MIN, MAX)) {
                    text.insert(0, 1, '-');
                    p = 1;
                }
            }
        } else if (c == BACKSP) {
            if (p > 0) text.erase(--p, 1);
        } else if (c == RETURN) {
            std::int16_t n = 0;
            if (!OPTION &&
                CORRECTINT(text, static_cast<std::int16_t>(MIN), static_cast<std::int16_t>(MAX), n))
                EXITCODE = RETURNCODE;
        } else if (c == ESC) {
            EXITCODE = ESCCODE;
        } else if (c == CTRL_C) {
            if (OPTION) EXITCODE = CTRLCCODE;
        } else if (c == 0 && !edit_line_key(d, text, p)) {
            if (d == UP && OPTION) EXITCODE = UPCODE;
            if (d == DOWN && OPTION) EXITCODE = DOWNCODE;
            if (EXITCODE == PROCESSCODE) EXITCODE = form_exit_code(d, OPTION);
        }
        if (editing && EXITCODE != ESCCODE && EXITCODE != CTRLCCODE) {
            GOTOXY(x, y);
            write_text(text);
            TEXTBACKGROUND(1);
            write_char(' ');
            GOTOXY(x + static_cast<int>(p), y);
            if (OPTION) TEXTBACKGROUND(4);
            widest = std::max(widest, text.size());
        }
    }
    std::int32_t result = DEF;
    std::int16_t n = 0;
    if (EXITCODE != ESCCODE && EXITCODE != CTRLCCODE &&
        CORRECTINT(text, static_cast<std::int16_t>(MIN), static_cast<std::int16_t>(MAX), n))
        result = n;
    ORDINARY_TEXT();
    GOTOXY(x, y);
    const std::string shown = result == INTESC ? std::string() : std::to_string(result);
    write_text(shown);
    // Blanks over whatever the field showed beyond the result; the cursor stays after it.
    if (widest > shown.size()) {
        write_text(std::string(widest - shown.size(), ' '));
        GOTOXY(x + static_cast<int>(shown.size()), y);
    }
    return result;
}

bool is_word_char(char c) {
    const auto u = static_cast<unsigned char>(c);
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
           (u >= 128 && u <= 167);
}

bool allowed_in_field(char c, int purpose) {
    const auto u = static_cast<unsigned char>(c);
    switch (purpose) {
        case PURP_PATH:
            // Linux file names: every printable character, '/' as the separator.
            return (u >= 32 && u <= 126) || u >= 128;
        case PURP_TEXT:
        case PURP_TABLE_NAME:
            return u >= 32 || c == TAB;
        default: {
            const bool base = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') ||
                              std::string_view("&'()-_~").find(c) != std::string_view::npos;
            return base || (purpose == PURP_WITH_DOT && c == '.');
        }
    }
}

namespace {

// A string field on the screen: the text, the cursor in it, and which part of a long path
// is in view.
struct StringField {
    int x = 1, y = 1;
    std::size_t width = 0;     // columns of the field
    std::size_t capacity = 0;  // characters it holds
    std::string text;
    std::size_t p = 0;
    std::size_t view = 0;  // first character shown

    void keep_cursor_in_view() {
        if (text.size() <= width) {
            view = 0;
            return;
        }
        view = std::min(view, text.size() - width);
        if (p < view) view = p;
        if (p > view + width) view = p - width;
    }

    // The text in view and dots for the rest of the field; the cursor at its place.
    void draw() {
        keep_cursor_in_view();
        GOTOXY(x, y);
        const std::string shown = text.substr(view, width);
        write_text(shown);
        write_text(std::string(width - shown.size(), '.'));
        GOTOXY(x + static_cast<int>(p - view), y);
    }

    // Shows the text as a default: on red, the rest dots.
    void draw_default(bool option) {
        p = text.size();
        keep_cursor_in_view();
        GOTOXY(x, y);
        write_text(std::string(width, '.'));
        GOTOXY(x, y);
        TEXTBACKGROUND(4);
        write_text(text.substr(view, width));
        if (!option) TEXTBACKGROUND(1);
        GOTOXY(x + static_cast<int>(p - view), y);
    }
};

}  // namespace

std::string ENTERSTR(std::string_view DEF, std::int16_t MAXL, std::int16_t PURP, bool OPTION) {
    StringField f;
    f.x = WHEREX();
    f.y = WHEREY();
    // A field ends at column 79 at the latest, so that the cursor after a full field
    // stands in column 80 and never wraps to the next row.
    const int room = CONSOLE.win_x2 - CONSOLE.win_x1 + 1 - f.x;
    f.width = static_cast<std::size_t>(std::clamp<int>(MAXL, 0, std::max(room, 0)));
    f.capacity = PURP == PURP_PATH ? std::max<std::size_t>(PATH_FIELD_CAPACITY, f.width) : f.width;
    EXITCODE = PROCESSCODE;
    DEFAULT_CURSOR();
    bool insert = true;
    if (OPTION && DEF.empty()) TEXTBACKGROUND(4);
    WRITEDOTS(static_cast<int>(f.width));
    f.text = std::string(DEF.substr(0, f.capacity));
    bool editing = f.text.empty();
    if (!f.text.empty()) f.draw_default(OPTION);
    const bool upper = PURP == PURP_NAME_CODE || PURP == PURP_WITH_DOT ||
                       (PURP != PURP_PATH && PURP != PURP_TEXT && PURP != PURP_TABLE_NAME);
    const bool navigable = OPTION || !DEF.empty();

    while (EXITCODE == PROCESSCODE) {
        char c = 0, d = 0;
        MYREADKEY(c, d);
        if (upper) c = upcase(c);
        if (!editing &&
            (c == BACKSP || c == TAB || c == RETURN || c == SPACE ||
             (c == 0 && (d == HOME || d == LEFT || d == RIGH || d == REND || d == CTRL_LEFT))))
            editing = true;
        std::string& t = f.text;
        std::size_t& p = f.p;
        if (c == RETURN) {
            EXITCODE = RETURNCODE;
        } else if (c == ESC) {
            EXITCODE = ESCCODE;
        } else if (c == CTRL_C) {
            if (OPTION) EXITCODE = CTRLCCODE;
        } else if (c == BACKSP) {
            if (p > 0) t.erase(--p, 1);
        } else if (c == TAB) {
            if (editing && p < f.capacity) {
                const std::size_t n = std::min<std::size_t>(5, f.capacity - t.size());
                t.insert(p, n, ' ');
                p += n;
            }
        } else if (c == CTRL_T) {
            if (p < t.size()) {
                char deleted = t[p];
                t.erase(p, 1);
                while (p < t.size() &&
                       (t[p] == ' ' || (is_word_char(deleted) && is_word_char(t[p])))) {
                    deleted = t[p];
                    t.erase(p, 1);
                }
            }
        } else if (c != 0 && allowed_in_field(c, PURP)) {
            if (!editing) {
                t = std::string(1, c);
                p = 1;
                editing = true;
                GOTOXY(f.x, f.y);
                write_text(std::string(f.width, '.'));
            } else if (p < f.capacity) {
                if (insert || p >= t.size()) {
                    t.insert(p, 1, c);
                    if (t.size() > f.capacity) t.resize(f.capacity);
                } else {
                    t[p] = c;
                }
                ++p;
            }
        } else if (c == 0 && !edit_line_key(d, t, p)) {
            switch (d) {
                case INS:
                    insert = !insert;
                    if (insert) {
                        DEFAULT_CURSOR();
                    } else {
                        INSERT_CURSOR();
                    }
                    break;
                case CTRL_LEFT:
                    if (p > 0) --p;
                    while (p > 0 && p <= t.size() &&
                           !(p < t.size() && is_word_char(t[p]) && !is_word_char(t[p - 1])))
                        --p;
                    break;
                case CTRL_RIGHT:
                    if (p < t.size()) ++p;
                    while (p < t.size() && !(is_word_char(t[p]) && !is_word_char(t[p - 1])))
                        ++p;
                    break;
                case UP:
                    if (PURP == PURP_TABLE_NAME) {
                        t = DEFNAME.substr(0, f.capacity);
                        editing = false;
                        f.draw_default(OPTION);
                    } else if (navigable) {
                        EXITCODE = UPCODE;
                    }
                    break;
                case DOWN:
                    if (navigable) EXITCODE = DOWNCODE;
                    break;
                default:
                    EXITCODE = form_exit_code(d, OPTION);
                    break;
            }
        }
        if (editing && EXITCODE != ESCCODE && EXITCODE != CTRLCCODE) f.draw();
    }
    std::string result = f.text;
    if (EXITCODE == ESCCODE || EXITCODE == CTRLCCODE) {
        result = OPTION ? std::string(DEF) : std::string();
        f.view = 0;
    }
    DEFAULT_CURSOR();
    TEXTBACKGROUND(1);
    GOTOXY(f.x, f.y);
    CLREOL();
    // What the field showed last; a long path stays within its row.
    f.text = result;
    f.p = std::min(f.p, result.size());
    f.keep_cursor_in_view();
    write_text(result.substr(f.view, f.width));
    return result;
}

std::string SELECTSTRING(PATHSTRARRAYPOINTER ADDRESS, bool ISDIR) {
    PATHSTRARRAY& list = *ADDRESS;
    const int x = WHEREX(), y = WHEREY();
    std::size_t i = 1;
    std::string s;
    for (;;) {
        s = ENTERSTR(list[i], static_cast<std::int16_t>(80 - x), PURP_PATH, false);
        GOTOXY(x, y);
        if (EXITCODE == UPCODE) {
            ++i;
            if (i > 5 || list[i].empty()) i = 1;
        } else if (EXITCODE == DOWNCODE) {
            if (i == 1) {
                std::size_t j = 1;
                while (j < 5 && !list[j + 1].empty())
                    ++j;
                i = j;
            } else {
                --i;
            }
        } else if (EXITCODE == ESCCODE) {
            return {};
        } else {
            break;
        }
    }
    s = expand_path(s);
    if (ISDIR && s.size() > 1 && s.back() == '/') s.pop_back();
    std::size_t j = 5;
    for (std::size_t k = 1; k <= 4; ++k) {
        if (list[k] == s) {
            j = k;
            break;
        }
    }
    for (std::size_t k = j; k >= 2; --k)
        list[k] = list[k - 1];
    list[1] = s;
    return s;
}

}  // namespace zorvat
