#include "tools/sample_tables.h"

#include <cmath>
#include <string_view>

#include "calendar/calendar.h"
#include "calendar/periods.h"
#include "data/internal_zij.h"

namespace zorvat {

namespace {

using Int = __int128;  // values are kept as exact integers of 1/(60^7 * 24) degree

constexpr int PLACES = 7;

Int power60(int k) {
    Int p = 1;
    for (int i = 0; i < k; ++i)
        p *= 60;
    return p;
}

// A daily motion or an epoch value written as degrees and up to seven places.
struct Sexagesimal {
    long long degrees;
    std::vector<int> places;

    Int units() const {
        Int u = degrees;
        for (int i = 0; i < PLACES; ++i)
            u = u * 60 +
                (i < static_cast<int>(places.size()) ? places[static_cast<std::size_t>(i)] : 0);
        return u;  // in 1/60^7 degree
    }
};

// A value of 1/(60^7 * 24) degree, rounded half up to `numsex` places, reduced mod 360.
SXG rounded_value(Int v, int numsex) {
    const Int divisor = power60(PLACES - numsex) * 24;
    Int r = (v + divisor / 2) / divisor;  // v is never negative here
    const Int per_degree = power60(numsex);
    SXG a{};
    a.DEGREES = static_cast<std::int32_t>((r / per_degree) % 360);
    Int frac = r % per_degree;
    for (int i = numsex; i >= 1; --i) {
        a.DIGITS[static_cast<std::size_t>(i)] = static_cast<std::int8_t>(frac % 60);
        frac /= 60;
    }
    return a;
}

struct SubtableRecipe {
    PERIOD period;
    std::int16_t numval;
    std::int16_t numsex;
    std::int16_t epoch = 0;
    std::int16_t step = 1;
    bool epoch_given = false;
};

// Confusions of a copyist, applied to the computed value to give the manuscript's reading.
enum class Confusion {
    ExchangedDigits,  // the two digits of a place written the other way round (25 for 52)
    CopiedFromAbove,  // the value of the line above written again
    TenForTwenty,     // ten units too few in a place (a 10 where a 20 belongs)
};

struct Misreading {
    PERIOD period;
    int entry;  // 1 for the first entry of the subtable
    int place;  // 0 for the degrees
    Confusion confusion;
};

struct TableRecipe {
    std::string_view name;
    char era;
    Sexagesimal motion;       // degrees per day
    Sexagesimal epoch_value;  // of the collected years
    std::vector<SubtableRecipe> subtables;
    std::vector<Misreading> misreadings;
};

std::unique_ptr<TABLE> compute_table(const TableRecipe& r) {
    auto t = std::make_unique<TABLE>();
    t->NAME = std::string(r.name);
    t->ERA = r.era;
    DEFAULTINTERCALATION(r.era, t->INTERCALATION);
    // The table's own parameter, as a zij file keeps it: three places.
    t->MPD = rounded_value(r.motion.units() * 24, 3);
    const Int motion = r.motion.units();
    const Int epoch = r.epoch_value.units() * 24;
    int index = 0;
    for (const auto& s : r.subtables) {
        INFORECORD& info = t->INFOLIST[s.period];
        info = INFORECORD{
            static_cast<std::int16_t>(index), s.numval, s.numsex, s.epoch, s.step, s.epoch_given};
        if (s.period == COL) t->MS[0] = rounded_value(epoch, s.numsex);
        for (int n = 1; n <= s.numval; ++n) {
            const long double days =
                MULT(r.era, t->INTERCALATION, s.period, s.step, n, s.epoch_given) *
                DAYS_IN_BASE(r.era, s.period, s.step);
            const Int hours = static_cast<Int>(std::llround(days * 24.0L));
            const Int v = motion * hours + (s.period == COL ? epoch : 0);
            t->MS[static_cast<std::size_t>(++index)] = rounded_value(v, s.numsex);
        }
    }
    t->TOTNUMVAL = static_cast<std::int16_t>(index);
    t->CR = t->MS;
    for (const auto& m : r.misreadings) {
        const auto i = static_cast<std::size_t>(t->INFOLIST[m.period].OFFSET + m.entry);
        SXG& v = t->MS[i];
        const auto place = static_cast<std::size_t>(m.place);
        const int d = m.place == 0 ? v.DEGREES : v.DIGITS[place];
        int reading = d;
        switch (m.confusion) {
            case Confusion::ExchangedDigits:
                reading = (d % 10) * 10 + d / 10;
                break;
            case Confusion::CopiedFromAbove:
                v = t->CR[i - 1];
                continue;
            case Confusion::TenForTwenty:
                reading = d >= 10 ? d - 10 : d + 10;
                break;
        }
        if (m.place != 0 && (reading > 59 || reading == d)) reading = (d + 1) % 60;
        if (m.place == 0) {
            v.DEGREES = reading;
        } else {
            v.DIGITS[place] = static_cast<std::int8_t>(reading);
        }
    }
    LENGTHTABLE(*t);
    t->SAVED = true;
    return t;
}

// Daily mean motions (degrees per day) published for historical zijes.
const Sexagesimal ALFONSINE_SUN{0, {59, 8, 19, 37, 19, 13, 56}};
const Sexagesimal ALFONSINE_MOON{13, {10, 35, 1, 15, 11, 4, 35}};
const Sexagesimal ALMAGEST_SUN{0, {59, 8, 17, 13, 12, 31}};

std::vector<TableRecipe> recipes() {
    return {
        {"Solar mean motion, Alfonsine parameter (Julian years)",
         JU,
         ALFONSINE_SUN,
         {278, {2, 15}},
         {{COL, 10, 3, 1200, 20, true}, {SI1, 20, 3}, {MON, 12, 3}, {DAY, 31, 3}, {HOU, 24, 3}},
         {{DAY, 17, 2, Confusion::ExchangedDigits},
          {SI1, 9, 1, Confusion::TenForTwenty},
          {COL, 4, 0, Confusion::CopiedFromAbove}}},
        {"Lunar mean motion, Alfonsine parameter (Arabic years)",
         AR,
         ALFONSINE_MOON,
         {115, {40, 24}},
         {{COL, 12, 2, 600, 30, true}, {EXT, 30, 2}, {MON, 12, 2}, {DAY, 30, 2}, {HOU, 24, 2}},
         {{EXT, 12, 1, Confusion::TenForTwenty},
          {DAY, 5, 2, Confusion::ExchangedDigits},
          {HOU, 20, 0, Confusion::CopiedFromAbove}}},
        {"Solar mean motion, Almagest parameter (Arabic years)",
         AR,
         ALMAGEST_SUN,
         {280, {33, 5}},
         {{COL, 10, 2, 630, 30, true}, {EXT, 30, 2}, {MON, 12, 2}, {DAY, 30, 2}},
         {{EXT, 7, 2, Confusion::ExchangedDigits}}},
    };
}

}  // namespace

std::vector<SampleZij> sample_zijes() {
    std::vector<SampleZij> out(1);
    out[0].file_name = "DEMO.ZVT";
    for (const auto& r : recipes())
        out[0].tables.push_back(compute_table(r));
    return out;
}

}  // namespace zorvat
