#include "data/zij_block.h"

#include <bit>
#include <cstddef>

#include "data/sxg.h"

namespace zorvat {

namespace {

// Byte positions of the first block.
constexpr std::size_t AT_NAME = 1;
constexpr std::size_t AT_MPD = 62;
constexpr std::size_t AT_ERA = 76;
constexpr std::size_t AT_INTERCALATION = 77;
constexpr std::size_t AT_INFOLIST = 81;
constexpr std::size_t INFOSIZE = 11;
constexpr std::size_t AT_SET1 = 191;
constexpr std::size_t AT_SETWORD = 215;
constexpr std::size_t AT_TOTNUMVAL = 217;
constexpr std::size_t AT_NUMBLOCKS = 219;
constexpr std::size_t AT_CHECKT = 221;
// Of the value block.
constexpr std::size_t AT_VALUE = 1;
constexpr std::size_t SXGSIZE = 14;
constexpr std::size_t AT_CHECKF = 225;

void put_u8(BLOCKBYTES& b, std::size_t at, std::uint8_t v) {
    b[at] = v;
}
void put_u16(BLOCKBYTES& b, std::size_t at, std::uint16_t v) {
    b[at] = static_cast<std::uint8_t>(v & 0xFF);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
void put_i16(BLOCKBYTES& b, std::size_t at, std::int16_t v) {
    put_u16(b, at, static_cast<std::uint16_t>(v));
}
void put_u32(BLOCKBYTES& b, std::size_t at, std::uint32_t v) {
    for (std::size_t k = 0; k < 4; ++k)
        b[at + k] = static_cast<std::uint8_t>((v >> (8 * k)) & 0xFF);
}
void put_i32(BLOCKBYTES& b, std::size_t at, std::int32_t v) {
    put_u32(b, at, static_cast<std::uint32_t>(v));
}

std::uint16_t get_u16(const BLOCKBYTES& b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}
std::int16_t get_i16(const BLOCKBYTES& b, std::size_t at) {
    return static_cast<std::int16_t>(get_u16(b, at));
}
std::uint32_t get_u32(const BLOCKBYTES& b, std::size_t at) {
    std::uint32_t v = 0;
    for (std::size_t k = 0; k < 4; ++k)
        v |= static_cast<std::uint32_t>(b[at + k]) << (8 * k);
    return v;
}
std::int32_t get_i32(const BLOCKBYTES& b, std::size_t at) {
    return static_cast<std::int32_t>(get_u32(b, at));
}

void put_sxg(BLOCKBYTES& b, std::size_t at, const SXG& s) {
    put_i32(b, at, s.DEGREES);
    for (std::size_t k = 1; k <= 10; ++k)
        b[at + 3 + k] = static_cast<std::uint8_t>(s.DIGITS[k]);
}
// Decodes in place: building a value on the stack and copying it costs more than the
// decoding itself when a zij of thousands of tables is read.
void get_sxg(const BLOCKBYTES& b, std::size_t at, SXG& s) {
    s.DEGREES = get_i32(b, at);
    s.DIGITS[0] = 0;
    for (std::size_t k = 1; k <= 10; ++k)
        s.DIGITS[k] = static_cast<std::int8_t>(b[at + 3 + k]);
}

// A set of 32 elements: element n is bit n mod 8 of byte n div 8.
template <std::size_t N>
void put_set(BLOCKBYTES& b, std::size_t at, const std::bitset<N>& set) {
    for (std::size_t k = 0; k < 4; ++k)
        b[at + k] = 0;
    for (std::size_t n = 0; n < N && n < 32; ++n)
        if (set.test(n)) b[at + n / 8] = static_cast<std::uint8_t>(b[at + n / 8] | (1u << (n % 8)));
}
template <std::size_t N>
std::bitset<N> get_set(const BLOCKBYTES& b, std::size_t at) {
    std::bitset<N> set;
    for (std::size_t n = 0; n < N && n < 32; ++n)
        if ((b[at + n / 8] >> (n % 8)) & 1u) set.set(n);
    return set;
}

std::size_t info_at(std::size_t p) {
    return AT_INFOLIST + INFOSIZE * (p - 1);
}

// The members of the block's set of corrections from 0 to `last`.
int corrections_up_to(const BLOCK& BL, int last) {
    int n = 0;
    for (std::size_t k = 1; k <= 6; ++k) {
        const int first = 32 * static_cast<int>(k - 1);
        if (first > last) break;
        auto w = static_cast<std::uint32_t>(BL.SETS[k].to_ulong());
        if (last - first < 31) w &= (2u << (last - first)) - 1u;
        n += std::popcount(w);
    }
    if (last >= 192) {
        unsigned w = BL.SETWORD & 0x1FFu;
        if (last - 192 < 8) w &= (2u << (last - 192)) - 1u;
        n += std::popcount(w);
    }
    return n;
}

}  // namespace

void encode_block(const BLOCK& BL, BLOCKBYTES& b) {
    b.fill(0);
    if (BL.FIRSTBLOCK) {
        put_u8(b, 0, 1);
        const std::size_t length = BL.NAME.size() < 60 ? BL.NAME.size() : 60;
        put_u8(b, AT_NAME, static_cast<std::uint8_t>(length));
        for (std::size_t k = 0; k < length; ++k)
            b[AT_NAME + 1 + k] = static_cast<std::uint8_t>(BL.NAME[k]);
        put_sxg(b, AT_MPD, BL.MPD);
        put_u8(b, AT_ERA, static_cast<std::uint8_t>(BL.ERA));
        put_set(b, AT_INTERCALATION, BL.INTERCALATION);
        for (std::size_t p = FRA; p <= COL; ++p) {
            const INFORECORD& r = BL.INFOLIST[p];
            const std::size_t at = info_at(p);
            put_i16(b, at, r.OFFSET);
            put_i16(b, at + 2, r.NUMVAL);
            put_i16(b, at + 4, r.NUMSEX);
            put_i16(b, at + 6, r.EPOCH);
            put_i16(b, at + 8, r.STEP);
            put_u8(b, at + 10, r.EPOCH_GIVEN ? 1 : 0);
        }
        for (std::size_t k = 1; k <= 6; ++k)
            put_set(b, AT_SET1 + 4 * (k - 1), BL.SETS[k]);
        put_u16(b, AT_SETWORD, BL.SETWORD);
        put_i16(b, AT_TOTNUMVAL, BL.TOTNUMVAL);
        put_i16(b, AT_NUMBLOCKS, BL.NUMBLOCKS);
        put_i32(b, AT_CHECKT, BL.CHECKT);
    } else {
        put_u8(b, 0, 0);
        for (std::size_t k = 1; k <= BLOCKNUMSXG; ++k)
            put_sxg(b, AT_VALUE + SXGSIZE * (k - 1), BL.VALUE[k]);
        put_i32(b, AT_CHECKF, BL.CHECKF);
    }
}

bool decode_block(const BLOCKBYTES& b, BLOCK& BL) {
    if (b[0] > 1) return false;
    BL.FIRSTBLOCK = b[0] == 1;
    if (BL.FIRSTBLOCK) {
        BL.NAMELENGTH = b[AT_NAME];
        const std::size_t length = BL.NAMELENGTH < 60 ? BL.NAMELENGTH : 60;
        BL.NAME.assign(length, ' ');
        for (std::size_t k = 0; k < length; ++k)
            BL.NAME[k] = static_cast<char>(b[AT_NAME + 1 + k]);
        get_sxg(b, AT_MPD, BL.MPD);
        BL.ERA = static_cast<char>(b[AT_ERA]);
        BL.INTERCALATION = get_set<31>(b, AT_INTERCALATION);
        BL.INFOLIST[NP1] = NULINFO;
        for (std::size_t p = FRA; p <= COL; ++p) {
            INFORECORD& r = BL.INFOLIST[p];
            const std::size_t at = info_at(p);
            r.OFFSET = get_i16(b, at);
            r.NUMVAL = get_i16(b, at + 2);
            r.NUMSEX = get_i16(b, at + 4);
            r.EPOCH = get_i16(b, at + 6);
            r.STEP = get_i16(b, at + 8);
            r.EPOCH_GIVEN = b[at + 10] != 0;
        }
        BL.SETS[0].reset();
        for (std::size_t k = 1; k <= 6; ++k)
            BL.SETS[k] = get_set<32>(b, AT_SET1 + 4 * (k - 1));
        BL.SETWORD = get_u16(b, AT_SETWORD);
        BL.TOTNUMVAL = get_i16(b, AT_TOTNUMVAL);
        BL.NUMBLOCKS = get_i16(b, AT_NUMBLOCKS);
        BL.CHECKT = get_i32(b, AT_CHECKT);
    } else {
        BL.VALUE[0] = ZERO;
        for (std::size_t k = 1; k <= BLOCKNUMSXG; ++k)
            get_sxg(b, AT_VALUE + SXGSIZE * (k - 1), BL.VALUE[k]);
        BL.CHECKF = get_i32(b, AT_CHECKF);
    }
    return true;
}

SET200 EXTRACTCRSET(const BLOCK& BL) {
    SET200 set;
    for (std::size_t k = 1; k <= 6; ++k) {
        // Only the members are visited: a set of corrections is mostly empty.
        for (auto w = static_cast<std::uint32_t>(BL.SETS[k].to_ulong()); w != 0; w &= w - 1)
            set.set(32 * (k - 1) + static_cast<std::size_t>(std::countr_zero(w)));
    }
    for (unsigned w = BL.SETWORD & 0x1FFu; w != 0; w &= w - 1)
        set.set(192 + static_cast<std::size_t>(std::countr_zero(w)));
    return set;
}

void DECOMPOSECRSET(const SET200& CRSET, BLOCK& BL) {
    for (auto& s : BL.SETS)
        s.reset();
    BL.SETWORD = 0;
    for (std::size_t k = 1; k <= 6; ++k)
        for (std::size_t b = 0; b < 32; ++b)
            if (CRSET.test(32 * (k - 1) + b)) BL.SETS[k].set(b);
    for (std::size_t b = 0; b <= 8; ++b)
        if (CRSET.test(192 + b)) BL.SETWORD = static_cast<std::uint16_t>(BL.SETWORD | (1u << b));
}

SET200 corrections_of(const TABLE& TP) {
    SET200 set;
    for (int i = 0; i <= TP.TOTNUMVAL && i <= MAXNUMVAL; ++i) {
        const auto k = static_cast<std::size_t>(i);
        if (!SXGEQUAL(TP.MS[k], TP.CR[k])) set.set(k);
    }
    return set;
}

std::int16_t blocks_for(std::int16_t TOTNUMVAL, std::int16_t NUMCR) {
    if (TOTNUMVAL <= 0) return 1;
    return static_cast<std::int16_t>((TOTNUMVAL + NUMCR + 32) / 16);
}

namespace {

// CRSET without the indices above the last value (none at all for a table without values).
SET200 stored_corrections(const TABLE& TP, const SET200& CRSET) {
    SET200 set;
    for (int i = 0; i <= TP.TOTNUMVAL && i <= MAXNUMVAL && TP.TOTNUMVAL > 0; ++i)
        if (CRSET.test(static_cast<std::size_t>(i))) set.set(static_cast<std::size_t>(i));
    return set;
}

}  // namespace

void fill_first_block(const TABLE& TP, const SET200& CRSET, BLOCK& BL) {
    const SET200 stored = stored_corrections(TP, CRSET);
    BL = BLOCK{};
    BL.FIRSTBLOCK = true;
    BL.CHECKT = CHECKWORD;
    BL.TOTNUMVAL = TP.TOTNUMVAL;
    BL.NAME = TP.NAME.substr(0, MAXL_STRING60);
    BL.NAMELENGTH = static_cast<std::uint8_t>(BL.NAME.size());
    BL.ERA = TP.ERA;
    BL.MPD = TP.MPD;
    BL.INTERCALATION = TP.INTERCALATION;
    BL.INFOLIST = TP.INFOLIST;
    BL.INFOLIST[NP1] = NULINFO;
    DECOMPOSECRSET(stored, BL);
    BL.NUMBLOCKS = blocks_for(TP.TOTNUMVAL, static_cast<std::int16_t>(stored.count()));
}

std::string encode_table(const TABLE& TP, const SET200& CRSET) {
    BLOCK BL;
    fill_first_block(TP, CRSET, BL);
    const SET200 stored = EXTRACTCRSET(BL);
    std::string out;
    out.reserve(static_cast<std::size_t>(BL.NUMBLOCKS) * BLOCKSIZE);
    BLOCKBYTES bytes;
    auto emit = [&] {
        encode_block(BL, bytes);
        out.append(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    };
    emit();
    if (TP.TOTNUMVAL <= 0) return out;  // a table without values is its first block alone
    BL = BLOCK{};
    BL.FIRSTBLOCK = false;
    BL.CHECKF = CHECKWORD;
    std::size_t j = 1;
    auto put = [&](const SXG& v) {
        BL.VALUE[j] = v;
        if (++j > BLOCKNUMSXG) {
            emit();
            j = 1;
        }
    };
    const int last = TP.TOTNUMVAL > MAXNUMVAL ? MAXNUMVAL : TP.TOTNUMVAL;
    for (int i = 0; i <= last; ++i) {
        const auto k = static_cast<std::size_t>(i);
        put(TP.MS[k]);
        if (stored.test(k)) put(TP.CR[k]);
    }
    if (j > 1) {
        for (; j <= BLOCKNUMSXG; ++j)
            BL.VALUE[j] = ZERO;
        emit();
    }
    return out;
}

std::string encode_table_blocks(const TABLE& TP) {
    return encode_table(TP, corrections_of(TP));
}

bool digits_in_range(const SXG& value) {
    for (std::size_t k = 1; k <= 10; ++k)
        if (value.DIGITS[k] < -59 || value.DIGITS[k] > 59) return false;
    return true;
}

HeaderFault check_first_block(const BLOCK& BL) {
    if (!BL.FIRSTBLOCK || BL.CHECKT != CHECKWORD) return HeaderFault::NotFirstBlock;
    if (BL.TOTNUMVAL > MAXNUMVAL) return HeaderFault::TooManyValues;
    if (BL.TOTNUMVAL < 0 || BL.NAMELENGTH > MAXL_STRING60 || !digits_in_range(BL.MPD))
        return HeaderFault::Damaged;
    // The subtables with values must tile 1..TOTNUMVAL exactly: each within it, none
    // overlapping another, and together as many values as TOTNUMVAL.
    int total = 0;
    for (std::size_t p = FRA; p <= COL; ++p) {
        const INFORECORD& r = BL.INFOLIST[p];
        if (r.NUMVAL < 0) return HeaderFault::Damaged;
        if (r.NUMVAL == 0) continue;
        if (r.OFFSET < 0 || r.OFFSET + r.NUMVAL > BL.TOTNUMVAL) return HeaderFault::Damaged;
        if (r.NUMSEX < 0 || r.NUMSEX > 10) return HeaderFault::Damaged;
        for (std::size_t q = FRA; q < p; ++q) {
            const INFORECORD& o = BL.INFOLIST[q];
            if (o.NUMVAL > 0 && r.OFFSET < o.OFFSET + o.NUMVAL && o.OFFSET < r.OFFSET + r.NUMVAL)
                return HeaderFault::Damaged;
        }
        total += r.NUMVAL;
    }
    if (total != BL.TOTNUMVAL) return HeaderFault::Damaged;
    if (BL.TOTNUMVAL > 0 && table_extent(BL) == 0) return HeaderFault::Damaged;
    return HeaderFault::None;
}

std::int32_t table_extent(const BLOCK& BL) {
    if (!BL.FIRSTBLOCK || BL.CHECKT != CHECKWORD || BL.TOTNUMVAL < 0) return 0;
    if (BL.TOTNUMVAL == 0) return 1;
    if (BL.TOTNUMVAL > MAXNUMVAL) return BL.NUMBLOCKS >= 1 ? BL.NUMBLOCKS : 0;
    const int numcr = corrections_up_to(BL, BL.TOTNUMVAL);
    const std::int16_t need = blocks_for(BL.TOTNUMVAL, static_cast<std::int16_t>(numcr));
    return BL.NUMBLOCKS == need ? need : 0;
}

void table_from_first_block(const BLOCK& BL, TABLE& TP) {
    TP.FILENAME.clear();
    TP.NO = 0;
    TP.TOTNUMVAL = BL.TOTNUMVAL;
    TP.NAME = BL.NAME;
    TP.MPD = BL.MPD;
    MODERNROUNDINGSXG(TP.MPD, 3);
    TP.ERA = BL.ERA;
    TP.INTERCALATION = BL.INTERCALATION;
    TP.INFOLIST = BL.INFOLIST;
    TP.INFOLIST[NP1] = NULINFO;
    TP.CRSET.reset();
    if (TP.TOTNUMVAL > 0) {
        const SET200 all = EXTRACTCRSET(BL);
        for (int i = 0; i <= TP.TOTNUMVAL && i <= MAXNUMVAL; ++i)
            if (all.test(static_cast<std::size_t>(i))) TP.CRSET.set(static_cast<std::size_t>(i));
    }
    TP.NUMCR = 0;
}

bool take_value_block(const BLOCKBYTES& bytes, TABLE& TP, VALUESTREAM& S) {
    if (bytes[0] != 0 || get_i32(bytes, AT_CHECKF) != CHECKWORD) return false;
    // The stream is kept in locals: the places are stored as signed chars, which may alias
    // anything, so fields read through references would be read again after every store.
    const int last = TP.TOTNUMVAL;
    int i = S.I;
    bool corrected = S.CORRECTED;
    int numcr = TP.NUMCR;
    const SET200 crset = TP.CRSET;
    bool sound = true;
    for (std::size_t j = 0; j < BLOCKNUMSXG && i <= last; ++j) {
        const std::size_t at = AT_VALUE + SXGSIZE * j;
        // The places are checked on the bytes, in one pass without branches.
        unsigned out_of_range = 0;
        for (std::size_t k = 4; k < SXGSIZE; ++k)
            out_of_range |= static_cast<std::uint8_t>(bytes[at + k] + 59u) > 118u ? 1u : 0u;
        if (out_of_range != 0) {
            sound = false;
            break;
        }
        const auto k = static_cast<std::size_t>(i);
        if (corrected) {
            get_sxg(bytes, at, TP.CR[k]);
            ++numcr;
            ++i;
            corrected = false;
        } else {
            get_sxg(bytes, at, TP.MS[k]);
            if (crset.test(k)) {
                corrected = true;
            } else {
                TP.CR[k] = TP.MS[k];
                ++i;
            }
        }
    }
    S.I = static_cast<std::int16_t>(i);
    S.CORRECTED = corrected;
    TP.NUMCR = static_cast<std::int16_t>(numcr);
    return sound;
}

}  // namespace zorvat
