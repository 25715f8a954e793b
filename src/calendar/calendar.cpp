#include "calendar/calendar.h"

#include <cassert>
#include <string>

#include "dialogue/cp437.h"
#include "dialogue/toolkit.h"

namespace zorvat {

const MONTHNAMETABLE ARABICMONTHNAMES = {
    "",
    "Muharram   "_cp,
    "Safar      "_cp,
    "Rabî` I    "_cp,
    "Rabî` II   "_cp,
    "Jumâdâ I   "_cp,
    "Jumâdâ II  "_cp,
    "Rajab      "_cp,
    "Sha`bân    "_cp,
    "Ramadân    "_cp,
    "Shawwâl    "_cp,
    "Dhu'l-qa`da"_cp,
    "Dhu'l-hijja"_cp,
    "leap year  "_cp,
};

const MONTHNAMETABLE BAHADURMONTHNAMES = {
    "",
    "Muharram   "_cp,
    "Safar      "_cp,
    "Rabî` I    "_cp,
    "Rabî` II   "_cp,
    "Jumâdâ I   "_cp,
    "Jumâdâ II  "_cp,
    "Rajab      "_cp,
    "Sha`bân    "_cp,
    "Ramadân    "_cp,
    "Shawwâl    "_cp,
    "Dhu'l-qa`da"_cp,
    "Dhu'l-hijja"_cp,
    "Ord. year  "_cp,
    "Leap year  "_cp,
};

const MONTHNAMETABLE JAISINGHMONTHNAMES = {
    "",
    "Rabî` II   "_cp,
    "Jumâdâ I   "_cp,
    "Jumâdâ II  "_cp,
    "Rajab      "_cp,
    "Sha`bân    "_cp,
    "Ramadân    "_cp,
    "Shawwâl    "_cp,
    "Dhu'l-qa`da"_cp,
    "Dhu'l-hijja"_cp,
    "Muharram   "_cp,
    "Safar      "_cp,
    "Rabî` I    "_cp,
    "Rabî` II   "_cp,
    "leap year  "_cp,
};

const MONTHNAMETABLE BYZANTINEMONTHNAMES = {
    "",
    "Adhar     "_cp,
    "Nisan     "_cp,
    "Iyar      "_cp,
    "Haziran   "_cp,
    "Tammuz    "_cp,
    "Ab        "_cp,
    "Ilul      "_cp,
    "Tishrin I "_cp,
    "Tishrin II"_cp,
    "Kanun I   "_cp,
    "Kanun II  "_cp,
    "Shubat    "_cp,
    "leap year "_cp,
};

const MONTHNAMETABLE JULIANMONTHNAMES = {
    "",
    "March    "_cp,
    "April    "_cp,
    "May      "_cp,
    "June     "_cp,
    "July     "_cp,
    "August   "_cp,
    "September"_cp,
    "October  "_cp,
    "November "_cp,
    "December "_cp,
    "January  "_cp,
    "February "_cp,
    "leap year"_cp,
};

const MONTHNAMETABLE EGYPTIANMONTHNAMES = {
    "",
    "Thoth     "_cp,
    "Phaophi   "_cp,
    "Athyr     "_cp,
    "Choiak    "_cp,
    "Tybi      "_cp,
    "Mechir    "_cp,
    "Phamenoth "_cp,
    "Pharmouthi"_cp,
    "Pachon    "_cp,
    "Payni     "_cp,
    "Epiphi    "_cp,
    "Mesore    "_cp,
    "epagomenae"_cp,
};

const MONTHNAMETABLE PERSIANMONTHNAMES = {
    "",
    "Farwardin   "_cp,
    "Urdibihist  "_cp,
    "Khurdadh    "_cp,
    "Tir         "_cp,
    "Murdadh     "_cp,
    "Shahriwar   "_cp,
    "Mihr        "_cp,
    "Aban        "_cp,
    "Adhar       "_cp,
    "Dai         "_cp,
    "Bahman      "_cp,
    "Isfandarmadh"_cp,
    "Andarjah    "_cp,
};

const MONTHNAMETABLE JALALIMONTHNAMES = {
    "",
    "Farwardin   "_cp,
    "Urdibihist  "_cp,
    "Khurdadh    "_cp,
    "Tir         "_cp,
    "Murdadh     "_cp,
    "Shahriwar   "_cp,
    "Mihr        "_cp,
    "Aban        "_cp,
    "Adhar       "_cp,
    "Dai         "_cp,
    "Bahman      "_cp,
    "Isfandarmadh"_cp,
};

namespace {

// Entry i of a name table; the empty text for a place the table does not have.
STRING60 entry(const MONTHNAMETABLE& names, int i) {
    if (i < 1 || i >= static_cast<int>(names.size())) return {};
    return STRING60(names[static_cast<std::size_t>(i)]);
}

STRING60 without_end_blanks(std::string_view s) {
    while (!s.empty() && s.back() == ' ')
        s.remove_suffix(1);
    return STRING60(s);
}

const MONTHNAMETABLE& months_of_byzantine_or_julian(char era) {
    return era == BY ? BYZANTINEMONTHNAMES : JULIANMONTHNAMES;
}

// Days of the Byzantine or Julian month at a place of the name table (1 = Adhar, March).
int days_at_place(int place, bool leap) {
    static constexpr std::array<int, 11> DAYS = {31, 30, 31, 30, 31, 31, 30, 31, 30, 31, 31};
    if (place == 12) return leap ? 29 : 28;  // Shubat, February
    return DAYS[static_cast<std::size_t>(place - 1)];
}

}  // namespace

bool in_set(const SET30& set, int n) {
    return n >= 0 && n < static_cast<int>(set.size()) && set.test(static_cast<std::size_t>(n));
}

STRING60 right_aligned(long long value, int width) {
    STRING60 text = std::to_string(value);
    if (static_cast<int>(text.size()) < width)
        text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
    return text;
}

int first_month_position(const SET30& intercalation) {
    for (int p = 5; p <= 16; ++p)
        if (in_set(intercalation, p)) return p;
    return 0;
}

STRING60 CALENDARNAME(char ERA) {
    switch (ERA) {
        case AR:
            return "Arabic";
        case BY:
            return "Byzantine/Syrian";
        case EG:
            return "Egyptian";
        case JU:
            return "Julian";
        case BK:
            return "Arabic (Bahadur)";
        case LF:
            return "Linear Function";
        case ML:
            return "Maliki";
        case PE:
            return "Persian";
        case JS:
            return "Arabic (Jai Singh)";
        default:
            return {};
    }
}

STRING60 EPOCHNAME(char ERA, const SET30& INTERCALATION) {
    switch (ERA) {
        case AR:
            return "Hijra";
        case BY:
            return "Alexander";
        case EG:
            return in_set(INTERCALATION, 1) ? "Nabonassar" : "Philippus";
        case JU:
            return "A.D.";
        case BK:
            return "Bahadur Khani";
        case ML:
            return STRING60("Malikshâh"_cp);
        case PE:
            return "Yazdigird";
        case JS:
            return "Muhammad Shahi";
        default:
            return {};  // L has no epoch name
    }
}

STRING60 CALENDARSPECIFICATION(char ERA, const SET30& INTERCALATION) {
    STRING60 text = CALENDARNAME(ERA);
    switch (ERA) {
        case BY:
        case JU: {
            const int p = first_month_position(INTERCALATION);
            if (p != 0)
                text += " (first month: " +
                        without_end_blanks(months_of_byzantine_or_julian(
                            ERA)[static_cast<std::size_t>((p - 1) % 12 + 1)]) +
                        ")";
            break;
        }
        case EG:
            text += " (" + EPOCHNAME(ERA, INTERCALATION) + " epoch)";
            break;
        case ML:
            if (in_set(INTERCALATION, 1)) text += " (Wâbiknawî)"_cp;
            break;
        default:
            break;
    }
    return text;
}

STRING60 LEAPYEARS(char ERA, const SET30& INTERCALATION) {
    switch (ERA) {
        case AR:
        case BK:
        case JS: {
            // Only whole positions go into the 60 characters: a cut number would name a
            // leap year that is not in the set.
            STRING60 text = "leap years ";
            bool any = false;
            for (int i = 1; i <= 30; ++i) {
                if (!in_set(INTERCALATION, i)) continue;
                const STRING60 number = std::to_string(i);
                if (text.size() + number.size() > MAXL_STRING60) break;
                text += number + ", ";
                any = true;
            }
            if (any) text.resize(text.size() - 2);
            return text;
        }
        case BY:
        case JU: {
            int leap = 0;
            for (int i = 1; i <= 4; ++i)
                if (in_set(INTERCALATION, i)) leap = i;
            if (leap == 0) return {};
            STRING60 text = "leap years ";
            for (int k = 0; k <= 16; k += 4)
                text += std::to_string(leap + k) + ", ";
            return text + "...";
        }
        case EG:
            return "no leap years";
        case ML:
            return "4 ordinary years before the years 20, 59, 88, 107, ...";
        case PE:
            return in_set(INTERCALATION, 9) ? "epagomenal days (Andarjah) after the month Aban"
                                            : "epagomenal days (Andarjah) at the end of the year";
        default:
            return {};
    }
}

void DEFAULTINTERCALATION(char ERA, SET30& IC) {
    IC.reset();
    auto put = [&IC](std::initializer_list<int> positions) {
        for (const int p : positions)
            IC.set(static_cast<std::size_t>(p));
    };
    switch (ERA) {
        case AR:
            put({2, 5, 7, 10, 13, 16, 18, 21, 24, 26, 29});
            break;
        case BK:
        case JS:
            put({1, 4, 6, 9, 12, 15, 17, 20, 23, 25, 28});
            break;
        case BY:
            put({3, 13});
            break;
        case JU:
            put({4, 11});
            break;
        case EG:
        case ML:
            put({1});
            break;
        case PE:
            put({9});
            break;
        default:
            break;  // L and unknown codes: the empty set
    }
}

std::int16_t NUMMONTHS(char ERA) {
    switch (ERA) {
        case AR:
        case BY:
        case JU:
        case BK:
        case JS:
            return 12;
        case EG:
        case ML:
        case PE:
            return 13;
        case LF:
            return 99;
        default:
            return 0;
    }
}

std::int16_t TOTALNUMMONTHS(const TABLE* TP) {
    assert(TP != nullptr);
    switch (TP->ERA) {
        case BY:
        case JU:
            return in_set(TP->INTERCALATION, 13) ? 13 : 12;
        case AR:
        case EG:
        case BK:
        case ML:
        case PE:
        case JS:
            return 13;
        case LF:
            return 99;
        default:
            return 0;
    }
}

STRING60 MONTHNAME(char ERA, const SET30& INTERCALATION, std::int16_t N, bool ALLOWLEAP) {
    int n = N;
    switch (ERA) {
        case AR:
            return ALLOWLEAP ? entry(ARABICMONTHNAMES, (n + 12) % 13 + 1)
                             : entry(ARABICMONTHNAMES, (n + 11) % 12 + 1);
        case BK:
            return entry(BAHADURMONTHNAMES, (n + 13) % 14 + 1);
        case JS:
            return entry(JAISINGHMONTHNAMES, (n + 13) % 14 + 1);
        case BY:
        case JU: {
            const MONTHNAMETABLE& names = months_of_byzantine_or_julian(ERA);
            const int p = first_month_position(INTERCALATION);
            if (p != 0) n += (p - 1) % 12;
            if (ALLOWLEAP && in_set(INTERCALATION, 13)) return entry(names, (n + 12) % 13 + 1);
            return entry(names, (n + 11) % 12 + 1);
        }
        case EG:
            return entry(EGYPTIANMONTHNAMES, (n + 12) % 13 + 1);
        case ML:
            return entry(PERSIANMONTHNAMES, (n + 12) % 13 + 1);
        case PE:
            // With {9} the Andarjah is month 9 and the months after Aban move one on.
            if (in_set(INTERCALATION, 9) && (n + 12) % 13 >= 8)
                return entry(PERSIANMONTHNAMES, ((n % 5) + 8) % 13 + 1);
            return entry(PERSIANMONTHNAMES, (n + 12) % 13 + 1);
        case LF:
            return right_aligned(n, 2);
        default:
            return "unknown";
    }
}

std::int16_t MONTHLENGTH(char ERA, const SET30& INTERCALATION, bool IC, std::int16_t MONTH) {
    const int m = MONTH;
    const bool odd = m % 2 != 0;
    switch (ERA) {
        case AR:
            if (m == 13) return 0;
            if (odd) return 30;
            return m == 12 && IC ? 30 : 29;
        case BK:
            if (m == 13) return 1;
            if (m == 14) {
                BEEP();  // an entry with no days
                return 0;
            }
            return odd ? 30 : 29;
        case JS:
            if (m == 14) return 0;
            return odd ? 29 : 30;
        case BY:
        case JU: {
            const int p = first_month_position(INTERCALATION);
            const int offset = p != 0 ? p - 1 : (ERA == BY ? 12 : 10);
            int place = (m + offset - 1) % 12 + 1;
            if (place < 1) place += 12;  // a month far before the first: same place a year on
            return static_cast<std::int16_t>(days_at_place(place, IC));
        }
        case EG:
            return m == 13 ? 5 : 30;
        case ML:
            if (m >= 13) return IC ? 6 : 5;
            return 30;
        case PE:
            return in_set(INTERCALATION, m) ? 5 : 30;
        case LF:
            return 1;
        default:
            return 0;
    }
}

bool intercalary_year(char era, const SET30& intercalation, std::int16_t year) {
    if (year < 0) return false;
    const int y = year;
    switch (era) {
        case AR:
        case BK:
        case JS:
            return in_set(intercalation, (y + 29) % 30 + 1);
        case BY:
        case JU:
            return in_set(intercalation, (y + 3) % 4 + 1);
        case ML:
            return (y + 28) * 29 % 120 < 29;  // 29 leap years in 120
        default:
            return false;
    }
}

bool INTERCALARYYEAR(const TABLE* TP, std::int16_t YEAR) {
    assert(TP != nullptr);
    return intercalary_year(TP->ERA, TP->INTERCALATION, YEAR);
}

bool LEGALDATE(const TABLE* TP, std::int16_t& DAY, std::int16_t& MONTH, std::int16_t& YEAR) {
    assert(TP != nullptr);
    const char era = TP->ERA;
    const SET30& ic = TP->INTERCALATION;
    const int nummonths = NUMMONTHS(era);
    // Wider than 16 bits, so that a step from the edge of the range cannot wrap.
    int newday = DAY;
    int newmonth = MONTH;
    int newyear = YEAR;
    // A year or month stepped out of the 16-bit range is never legal; it has no leap
    // year and no days.
    auto leap_of = [&](int year) {
        return year >= 0 && year <= MAXINT &&
               intercalary_year(era, ic, static_cast<std::int16_t>(year));
    };
    auto length_of = [&](int month, bool leap) {
        if (month < -MAXINT - 1 || month > MAXINT) return 0;
        return static_cast<int>(MONTHLENGTH(era, ic, leap, static_cast<std::int16_t>(month)));
    };

    bool leap = leap_of(newyear);
    if (newday <= 0) {
        --newmonth;
    } else {
        const int length = length_of(newmonth, leap);
        if (newday > length) {
            newday -= length;
            ++newmonth;
        }
    }
    if (newmonth == 0) {
        --newyear;
        leap = leap_of(newyear);
    } else if (newmonth > nummonths) {
        newmonth = 1;
        ++newyear;
        leap = leap_of(newyear);
    }
    if (newyear < 1 || newyear > 9999) return false;
    if (newmonth == 0) newmonth = nummonths;
    if (newday <= 0) newday += length_of(newmonth, leap);

    const bool legal = newmonth >= 1 && newmonth <= nummonths && newday >= 1 &&
                       newday <= length_of(newmonth, leap);
    if (legal) {
        DAY = static_cast<std::int16_t>(newday);
        MONTH = static_cast<std::int16_t>(newmonth);
        YEAR = static_cast<std::int16_t>(newyear);
    }
    return legal;
}

}  // namespace zorvat
