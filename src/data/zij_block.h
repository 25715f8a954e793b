// The 229-byte BLOCK of a zij file in its two variants, and the encoding of a table as a
// first block followed by value blocks. Pure: bytes in, bytes out, no I/O.
//
// Every number is little-endian and written byte by byte; booleans are one byte (1 or 0).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "data/table.h"
#include "dialogue/types.h"

namespace zorvat {

inline constexpr int BLOCKSIZE = 229;
inline constexpr int BLOCKNUMSXG = 16;
inline constexpr int FIVEBLOCKSIZE = 203;  // block size of the old format, refused on open
// The check word of both variants, the same number as UNDEF (bytes 30 00 00 80).
inline constexpr std::int32_t CHECKWORD = -2147483600;

using BLOCKBYTES = std::array<std::uint8_t, BLOCKSIZE>;

// A block decoded. A first block uses the fields from NAME to CHECKT, a value block VALUE
// and CHECKF.
struct BLOCK {
    bool FIRSTBLOCK = false;
    // First block.
    std::uint8_t NAMELENGTH = 0;  // as stored: a damaged block may claim more than 60
    STRING60 NAME;                // the stored characters, at most 60
    SXG MPD;
    char ERA = 0;
    SET30 INTERCALATION;
    std::array<INFORECORD, COL + 1> INFOLIST{};  // [FRA..COL]
    std::array<SET32, 7> SETS{};                 // SET1..SET6 at [1..6]
    std::uint16_t SETWORD = 0;
    std::int16_t TOTNUMVAL = 0;
    std::int16_t NUMBLOCKS = 0;
    std::int32_t CHECKT = 0;
    // Value block.
    std::array<SXG, BLOCKNUMSXG + 1> VALUE{};  // [1..16]
    std::int32_t CHECKF = 0;
};

// The bytes of a block; the fields of the other variant are not written (they are 0).
void encode_block(const BLOCK& BL, BLOCKBYTES& bytes);
// Decodes the variant that byte 0 names; false when byte 0 is neither 0 nor 1.
bool decode_block(const BLOCKBYTES& bytes, BLOCK& BL);

SET200 EXTRACTCRSET(const BLOCK& BL);
void DECOMPOSECRSET(const SET200& CRSET, BLOCK& BL);

// The corrected indices of a table and their count, from MS and CR as LENGTHTABLE finds
// them, without changing the table.
SET200 corrections_of(const TABLE& TP);

// The blocks a table with this many values and corrections takes in a file, its first
// block included: the first block alone for a table without values.
std::int16_t blocks_for(std::int16_t TOTNUMVAL, std::int16_t NUMCR);

// The first block of a table whose corrected indices are CRSET.
void fill_first_block(const TABLE& TP, const SET200& CRSET, BLOCK& BL);

// The bytes of a table as a zij file stores it, with the corrections given in CRSET
// (indices above TOTNUMVAL are left out).
std::string encode_table(const TABLE& TP, const SET200& CRSET);

// The bytes of a table as a zij file stores it, its corrections found from MS and CR as
// LENGTHTABLE finds them (the table's own CRSET and NUMCR are not used or changed).
std::string encode_table_blocks(const TABLE& TP);

// Why a first block cannot start a table.
enum class HeaderFault : std::uint8_t {
    None,
    NotFirstBlock,  // a value block or a wrong check word
    TooManyValues,  // TOTNUMVAL above MAXNUMVAL
    Damaged,        // an inconsistent header
};

// Checks a first block: the check word, the count of values, the subtables tiling 1..
// TOTNUMVAL, their places, the name's length, the digits of MPD and, for a table with
// values, that NUMBLOCKS is the count its values need.
HeaderFault check_first_block(const BLOCK& BL);

// The blocks a table takes in the file according to its first block, its first block
// included, so that skipping a table and reading it always agree: 1 for a table without
// values whatever NUMBLOCKS says, the block count of its values otherwise; for a table of
// more than MAXNUMVAL values (of the large variant) its NUMBLOCKS. 0 when the block gives
// no usable count.
std::int32_t table_extent(const BLOCK& BL);

// Takes the description of a table from a checked first block: TOTNUMVAL, NAME, MPD
// (rounded to 3 places), ERA, INTERCALATION, INFOLIST and CRSET (indices up to TOTNUMVAL);
// NUMCR := 0, FILENAME empty, NO 0.
void table_from_first_block(const BLOCK& BL, TABLE& TP);

// Where the reading of a table's value stream stands.
struct VALUESTREAM {
    std::int16_t I = 0;      // index of the next value
    bool CORRECTED = false;  // the next value is CR[I] (else MS[I])
};

// Whether the stream has reached the end of the table.
inline bool stream_done(const TABLE& TP, const VALUESTREAM& S) {
    return S.I > TP.TOTNUMVAL;
}

// Takes the values of one value block, given as its bytes, into the table (the slots after
// the last value are not looked at). False when the bytes are not a value block with the
// check word, or a place of a value lies outside -59..59.
bool take_value_block(const BLOCKBYTES& bytes, TABLE& TP, VALUESTREAM& S);

// Whether every place of the value lies within -59..59.
bool digits_in_range(const SXG& value);

}  // namespace zorvat
