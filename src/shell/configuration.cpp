#include "shell/configuration.h"

#include <vector>

#include "data/data_state.h"
#include "dialogue/toolkit.h"
#include "platform/files.h"

namespace zorvat {

namespace {

std::vector<std::string_view> split_lines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\n' && text[i] != '\r') continue;
        lines.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

// Line n (1-based) cut to its global's length; a missing line is empty.
std::string line_value(const std::vector<std::string_view>& lines, int n) {
    const std::size_t limit = (n >= 3 && n <= 17) ? MAXL_PATH : MAXL_STRING60;
    if (n > static_cast<int>(lines.size())) return {};
    return std::string(lines[static_cast<std::size_t>(n - 1)].substr(0, limit));
}

}  // namespace

void default_configuration() {
    DISPLAYMODE = DEGREES;
    DEFNAME.clear();
    DEFZIJ = {};
    DEFDIR = {};
    DEFFILE = {};
    DEFPAR = {};
}

void apply_configuration_text(std::string_view text) {
    const auto lines = split_lines(text);
    const std::string mode = line_value(lines, 1);
    DISPLAYMODE = mode == "1" ? SIGNS : mode == "2" ? DAYSHOURS : DEGREES;
    DEFNAME = line_value(lines, 2);
    for (int i = 1; i <= 5; ++i) {
        const auto k = static_cast<std::size_t>(i);
        DEFZIJ[k] = line_value(lines, 2 + i);
        DEFDIR[k] = line_value(lines, 7 + i);
        DEFFILE[k] = line_value(lines, 12 + i);
    }
    for (int i = 1; i <= NUMDEFPAR; ++i)
        DEFPAR[static_cast<std::size_t>(i)] = line_value(lines, 17 + i);
}

std::string configuration_text() {
    std::string text;
    auto line = [&](std::string_view s) {
        text += s;
        text += "\r\n";
    };
    line(std::to_string(DISPLAYMODE));
    line(DEFNAME);
    for (int i = 1; i <= 5; ++i)
        line(DEFZIJ[static_cast<std::size_t>(i)]);
    for (int i = 1; i <= 5; ++i)
        line(DEFDIR[static_cast<std::size_t>(i)]);
    for (int i = 1; i <= 5; ++i)
        line(DEFFILE[static_cast<std::size_t>(i)]);
    for (int i = 1; i <= NUMDEFPAR; ++i)
        line(DEFPAR[static_cast<std::size_t>(i)]);
    return text;
}

void READ_CONFIGURATION() {
    std::string text;
    if (read_whole_file(CONFIGURATION_FILE, text) != IO_OK) {
        default_configuration();
        return;
    }
    apply_configuration_text(text);
}

std::uint16_t SAVE_CONFIGURATION() {
    return static_cast<std::uint16_t>(replace_file(CONFIGURATION_FILE, configuration_text()));
}

}  // namespace zorvat
