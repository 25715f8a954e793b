// The table record and its parts.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "data/sxg.h"
#include "dialogue/types.h"

namespace zorvat {

// Kinds of subtables.
enum PERIOD : std::uint8_t { NP1 = 0, FRA, PAR, HOU, DAY, MON, ZOD, EXT, SI1, SI2, COL, NP2 };

struct INFORECORD {
    std::int16_t OFFSET = 0;
    std::int16_t NUMVAL = 0;
    std::int16_t NUMSEX = 0;
    std::int16_t EPOCH = 0;
    std::int16_t STEP = 0;
    bool EPOCH_GIVEN = false;
    bool operator==(const INFORECORD&) const = default;
};

inline constexpr INFORECORD NULINFO{};
inline constexpr int MAXNUMVAL = 200;

using SXGARRAY = std::array<SXG, MAXNUMVAL + 1>;  // [0..200]

struct TABLE {
    std::string FILENAME;
    std::int16_t NO = 0;
    STRING60 NAME;
    SXG MPD;
    char ERA = AR;
    SET30 INTERCALATION;
    std::array<INFORECORD, COL + 1> INFOLIST{};  // [FRA..COL]; index NP1 unused
    SET200 CRSET;
    std::int16_t TOTNUMVAL = 0;
    std::int16_t NUMCR = 0;
    SXGARRAY MS{};
    SXGARRAY CR{};
    bool SAVED = false;
    std::unique_ptr<TABLE> NEXT;
};

using TABLEPOINTER = TABLE*;

}  // namespace zorvat
