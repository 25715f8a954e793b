#include "support/table_fixture.h"

#include <cstdlib>

#include "data/data_state.h"
#include "data/internal_zij.h"

namespace zorvat::testing {

SXG sxg(const std::string& text) {
    SXG a{};
    std::string s = text;
    const bool negative = !s.empty() && s[0] == '-';
    if (negative) s.erase(0, 1);
    const auto semi = s.find(';');
    a.DEGREES = std::atoi(s.substr(0, semi).c_str());
    if (semi != std::string::npos) {
        std::size_t pos = semi + 1, i = 1;
        while (pos <= s.size() && i <= 10) {
            const auto comma = s.find(',', pos);
            a.DIGITS[i++] = static_cast<std::int8_t>(std::atoi(s.substr(pos, comma - pos).c_str()));
            if (comma == std::string::npos) break;
            pos = comma + 1;
        }
    }
    if (negative) {
        a.DEGREES = -a.DEGREES;
        for (auto& d : a.DIGITS)
            d = static_cast<std::int8_t>(-d);
    }
    return a;
}

std::unique_ptr<TABLE> make_table(const TableSpec& spec) {
    auto t = std::make_unique<TABLE>();
    t->NAME = spec.name;
    t->ERA = spec.era;
    t->MPD = sxg(spec.mpd);
    t->FILENAME = spec.filename;
    int index = 0;
    for (const auto& sub : spec.subtables) {
        INFORECORD& info = t->INFOLIST[sub.period];
        info.OFFSET = static_cast<std::int16_t>(index);
        info.NUMVAL = static_cast<std::int16_t>(sub.values.size());
        info.NUMSEX = sub.numsex;
        info.EPOCH = sub.epoch;
        info.STEP = sub.step;
        info.EPOCH_GIVEN = sub.epoch_given;
        for (const auto& v : sub.values) {
            ++index;
            t->MS[static_cast<std::size_t>(index)] = sxg(v);
        }
    }
    t->TOTNUMVAL = static_cast<std::int16_t>(index);
    if (!spec.epoch_value.empty()) t->MS[0] = sxg(spec.epoch_value);
    t->CR = t->MS;
    for (const auto& [i, v] : spec.corrections)
        t->CR[static_cast<std::size_t>(i)] = sxg(v);
    t->SAVED = spec.saved;
    return t;
}

TABLE* add_table(const TableSpec& spec) {
    return INSERTTABLE(make_table(spec));
}

void add_tables(int n) {
    for (int i = 1; i <= n; ++i)
        add_table({.name = "T" + std::to_string(i)});
}

std::vector<int> table_numbers() {
    std::vector<int> out;
    for (const TABLE* t = FIRSTTABLE.get(); t != nullptr; t = t->NEXT.get())
        out.push_back(t->NO);
    return out;
}

}  // namespace zorvat::testing
