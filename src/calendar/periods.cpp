#include "calendar/periods.h"

#include <array>

#include "calendar/calendar.h"
#include "dialogue/cp437.h"

namespace zorvat {

namespace {

bool arabic_like(char era) {
    return era == AR || era == BK || era == JS;
}
bool byzantine_or_julian(char era) {
    return era == BY || era == JU;
}
bool known_calendar(char era) {
    return !CALENDARNAME(era).empty();
}

// Sum of f(1) + .. + f(count) for an f that repeats after `period` entries: whole periods
// are multiplied out, so that no count, however large, makes a long loop.
template <class F>
long double periodic_sum(long long count, int period, F f) {
    if (count <= 0) return 0;
    long double whole = 0;
    for (int i = 1; i <= period; ++i)
        whole += f(i);
    long double part = 0;
    const int rest = static_cast<int>(count % period);
    for (int i = 1; i <= rest; ++i)
        part += f(i);
    return static_cast<long double>(count / period) * whole + part;
}

// Days from the beginning of the year to the end of month entry n (n counted from 0
// for a subtable with an epoch).
long double month_days(char era, const SET30& ic, long long n, bool epoch_given) {
    auto length = [&](int month) {
        return static_cast<long double>(
            MONTHLENGTH(era, ic, false, static_cast<std::int16_t>(month)));
    };
    // The pseudo-months of K and S: M = 13 is the end of the leap year.
    auto two_month_rule = [&](int first_month_days) -> long double {
        const long long m = (n - 1) % 14 + 1;
        if (m == 13) return 355;
        if (m % 2 == 0) return static_cast<long double>(m / 2 * 59);
        return static_cast<long double>((m - 1) / 2 * 59 + first_month_days);
    };
    switch (era) {
        case AR:
            if (epoch_given)
                return periodic_sum(n, 12, [&](int i) { return length((i - 1) % 12 + 1); });
            // Entry 13 ("leap year") adds the leap day; later entries go on from 354.
            return periodic_sum(n, 13, [&](int i) { return length((i + 12) % 13 + 1); }) +
                   (n == 13 ? 1 : 0);
        case BK:
            return two_month_rule(30);
        case JS:
            return two_month_rule(29);
        case BY:
        case JU:
            if (in_set(ic, 13) && !epoch_given)
                return periodic_sum(
                           n, 13,
                           [&](int i) { return i % 13 == 0 ? 0 : length((i + 12) % 13 + 1); }) +
                       (n == 13 ? 1 : 0);
            return periodic_sum(n, 12, [&](int i) { return length(i); });
        case EG:
            return static_cast<long double>(n * 30 - (n >= 13 ? 25 : 0));
        case ML:
            return n < 13 ? static_cast<long double>(n * 30) : 365;
        case PE: {
            const bool less = n >= 13 || (in_set(ic, 9) && n >= 9);
            return static_cast<long double>(n * 30 - (less ? 25 : 0));
        }
        default:
            return 0;
    }
}

// Single and collected years: entry n stands for n x step years. Where the step is a
// whole number of cycles the base holds the cycle and the entry counts n.
long double year_entry(char era, const SET30& ic, long long step, long long n) {
    if (arabic_like(era))
        return step % 30 == 0 ? static_cast<long double>(n) : days_of_years(era, ic, n * step);
    if (byzantine_or_julian(era))
        return step % 4 == 0 ? static_cast<long double>(n) : days_of_years(era, ic, n * step);
    if (era == ML) return days_of_years(era, ic, n * step);
    if (era == EG || era == PE) return static_cast<long double>(n);
    return 0;
}

constexpr std::array<int, 13> ZODIAC_DAYS = {0,   31,  62,  93,  125, 156, 187,
                                             217, 247, 276, 305, 335, 365};

}  // namespace

long double days_of_years(char era, const SET30& ic, long long years) {
    int period = 0;
    long double ordinary = 365;
    if (arabic_like(era)) {
        period = 30;
        ordinary = 354;
    } else if (byzantine_or_julian(era)) {
        period = 4;
    } else if (era == ML) {
        period = 120;
    } else {
        return 0;
    }
    return periodic_sum(years, period, [&](int i) {
        return ordinary + (intercalary_year(era, ic, static_cast<std::int16_t>(i)) ? 1 : 0);
    });
}

STRING60 PERIODNAME(PERIOD P) {
    switch (P) {
        case FRA:
            return "FRACTIONS";
        case PAR:
            return "PARTS OF HOURS";
        case HOU:
            return "HOURS";
        case DAY:
            return "DAYS";
        case MON:
            return "MONTHS";
        case ZOD:
            return "ZODIACAL SIGNS";
        case EXT:
            return "EXTENDED YEARS";
        case SI1:
        case SI2:
            return "SINGLE YEARS";
        case COL:
            return "COLLECTED YEARS";
        default:
            return {};
    }
}

STRING60 INCRSTR(std::int16_t STEP, PERIOD P) {
    const char* unit = nullptr;
    switch (P) {
        case PAR:
        case ZOD:
            unit = "";
            break;
        case HOU:
            unit = " hour";
            break;
        case DAY:
            unit = " day";
            break;
        case EXT:
        case SI1:
        case SI2:
        case COL:
            unit = " year";
            break;
        default:
            return {};  // FRA and MON have no step to describe
    }
    STRING60 text = "increment: " + right_aligned(STEP, 2) + unit;
    if (STEP != 1) text += "s";
    return text;
}

STRING60 ARG(char ERA, const SET30& IC, PERIOD P, std::int16_t EPOCH, std::int16_t STEP,
             std::int16_t N, bool EPOCH_GIVEN) {
    const long long argument = static_cast<long long>(N) * STEP + EPOCH;
    if (ERA == LF) return right_aligned(argument, 4);
    switch (P) {
        case FRA:
            // The first entry is 1/1½ = 2/3 of an hour.
            if (N == 1) return STRING60(" 1½"_cp);
            return right_aligned(N, 2) + " ";
        case MON:
            return MONTHNAME(ERA, IC, N, !EPOCH_GIVEN);
        case ZOD: {
            const int i = (N + 11) % 12 + 1;
            if (i < 1) return {};
            return STRING60(JALALIMONTHNAMES[static_cast<std::size_t>(i)]);
        }
        default:
            return right_aligned(argument, 4);
    }
}

long double DAYS_IN_BASE(char ERA, PERIOD P, std::int32_t STEP) {
    const long double step = STEP;
    switch (P) {
        case FRA:
            return 1.0L / 24;
        case PAR:
            return step / 1440;
        case HOU:
            return step / 24;
        case DAY:
            return step;
        case MON:
        case ZOD:
            return 1;
        case EXT:
            if (ERA == EG || ERA == PE) return 365;
            return known_calendar(ERA) ? 1 : 0;
        case SI1:
        case SI2:
        case COL:
            if (arabic_like(ERA))
                return STEP % 30 == 0 ? static_cast<long double>(STEP / 30) * 10631 : 1;
            if (byzantine_or_julian(ERA)) return STEP % 4 == 0 ? step * 365.25L : 1;
            if (ERA == EG || ERA == PE) return step * 365;
            return known_calendar(ERA) ? 1 : 0;
        default:
            return 0;
    }
}

long double MULT(char ERA, const SET30& IC, PERIOD P, std::int32_t STEP, std::int32_t N,
                 bool EPOCH_GIVEN) {
    const long long n = N;
    if (ERA == LF) return static_cast<long double>(EPOCH_GIVEN && P != COL ? n - 1 : n);
    if (!known_calendar(ERA)) return 0;
    const long long n1 = EPOCH_GIVEN ? n - 1 : n;  // entries after the epoch
    switch (P) {
        case FRA:
            if (n <= 0) return 0;
            if (n == 1) return 2.0L / 3;
            return 1.0L / static_cast<long double>(n);
        case PAR:
        case HOU:
            return static_cast<long double>(n);
        case DAY:
            return static_cast<long double>(n1);
        case ZOD:
            if (n1 < 0 || n1 > 12) return 0;
            return ZODIAC_DAYS[static_cast<std::size_t>(n1)];
        case MON:
            return month_days(ERA, IC, n1, EPOCH_GIVEN);
        case EXT:
            if (ERA == EG || ERA == PE) return static_cast<long double>(n);
            return days_of_years(ERA, IC, n);
        case SI1:
        case SI2:
        case COL:
            return year_entry(ERA, IC, STEP, n);
        default:
            return 0;
    }
}

}  // namespace zorvat
